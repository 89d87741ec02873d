#pragma once
// The skin description: an INI-style text (code page 936 bytes, kept raw) read
// into an in-memory table, and the typed readers and writers that the skin
// model and every data record share.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/geometry.h"

namespace kelmar {

// Sections and keys in description order. Section and key names are looked up
// without regard to ASCII case. A repeated section header continues the
// earlier section; of a repeated key the first one counts.
class IniTable {
 public:
  IniTable() = default;
  // Splits at CR LF, lone CR or lone LF.
  static IniTable FromText(std::string_view text);
  static IniTable FromLines(std::span<const std::string> lines);

  bool SectionExists(std::string_view section) const;
  bool ValueExists(std::string_view section, std::string_view key) const;
  // The value as it stands, or def when the section or key is missing.
  std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
  // Integer text ("-12", "$1F", "0x1F"); def when missing or not a valid integer.
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t def) const;
  // Keys of a section in order (lines without "=" are not listed).
  std::vector<std::string> ReadSectionKeys(std::string_view section) const;
  std::vector<std::string> SectionNames() const;

  // Replaces the value of an existing key or appends the key to the section,
  // creating the section at the end when it is missing.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, int32_t value);
  void EraseSection(std::string_view section);

  // The table in description syntax, lines ended by CR LF.
  std::string ToText() const;

 private:
  struct Entry {
    std::string key;  // empty for a line without "="
    std::string value;
    bool has_key = false;
  };
  struct Section {
    std::string name;
    std::vector<Entry> entries;
    std::unordered_map<std::string, size_t> index;  // upper-cased key -> entry
  };
  void AddLine(std::string_view raw, size_t& current);  // current: section index or SIZE_MAX
  const Section* Find(std::string_view section) const;
  Section& FindOrAdd(std::string_view section);
  static const Entry* FindEntry(const Section& s, std::string_view key);

  std::vector<Section> sections_;
  std::unordered_map<std::string, size_t> index_;  // upper-cased section name -> section
};

// Integer text as the description writes it: decimal with optional sign, "$"
// and hex digits, or "0x"/"0X" and hex digits. False when not valid or out of
// the 32-bit range (hex may use all 32 bits: $FFFFFFFF is -1).
bool TryParseInteger(std::string_view text, int32_t& value);

// Rectangle "left,top,right,bottom" and point "x,y". Only digits and commas
// count (a minus sign or blanks are skipped, so values are never negative).
// A field without digits throws ConvertError "'%s' is not a valid integer
// value" with the field's text; fields beyond the fourth (second) are ignored.
Rect ParseRectText(std::string_view text);
Point ParsePointText(std::string_view text);

// Font style bits.
using FontStyles = uint8_t;
constexpr FontStyles fsBold = 1;
constexpr FontStyles fsItalic = 2;
constexpr FontStyles fsUnderline = 4;
constexpr FontStyles fsStrikeout = 8;

// "宋体" in code page 936: the default face of every font key.
inline constexpr std::string_view kDefaultFontName = "\xCB\xCE\xCC\xE5";

// A font group of keys: <prefix>name, <prefix>height, <prefix>style,
// <prefix>color: prefix "font" gives "fontname" ..., "captionfont" gives
// "captionfontname" ...
struct SkinFont {
  std::string name{kDefaultFontName};
  int32_t height = 14;
  FontStyles style = 0;
  uint32_t color = 0;
  friend bool operator==(const SkinFont&, const SkinFont&) = default;
};

enum class Alignment : int32_t { taLeftJustify = 0, taRightJustify = 1, taCenter = 2 };
enum class MorphKind : int32_t {
  mkDefault = 0, mkGradient, mkLeftGradient, mkRightGradient, mkLeftSlide, mkRightSlide, mkPush
};
enum class InactiveEffect : int32_t {
  ieBrightness = 0, ieDarkness, ieGrayscale, ieNoise, ieSplitBlur, ieInvert
};

// A value written as one of a few names: names[i] is the text of value i
// (compared case-sensitively as a whole). A missing key reads as
// missing_value, a text that is no name as other_value. Writing uses
// names[value], or names[other_value] for a value without a name.
struct NamedValues {
  std::span<const std::string_view> names;
  int32_t missing_value;
  int32_t other_value;
};
extern const NamedValues kAlignmentNames;
extern const NamedValues kMorphKindNames;
extern const NamedValues kInactiveEffectNames;

int32_t ReadNamedValueKey(const IniTable& ini, std::string_view section, std::string_view key,
                          const NamedValues& names);
void WriteNamedValueKey(IniTable& ini, std::string_view section, std::string_view key,
                        const NamedValues& names, int32_t value);

// Readers: a missing key yields the kind's default.
Rect ReadRectKey(const IniTable& ini, std::string_view section, std::string_view key);
Point ReadPointKey(const IniTable& ini, std::string_view section, std::string_view key);
bool ReadFlagKey(const IniTable& ini, std::string_view section, std::string_view key);
FontStyles ReadFontStyleKey(const IniTable& ini, std::string_view section, std::string_view key);
SkinFont ReadFontKeys(const IniTable& ini, std::string_view section, std::string_view prefix);
Alignment ReadAlignmentKey(const IniTable& ini, std::string_view section, std::string_view key);
MorphKind ReadMorphKindKey(const IniTable& ini, std::string_view section, std::string_view key);
InactiveEffect ReadInactiveEffectKey(const IniTable& ini, std::string_view section, std::string_view key);

// The count of an indexed list or of numbered lines. A count above this is
// taken as this many: each item costs a lookup even when its key is missing,
// and no description holds lists of this length.
constexpr int32_t kMaxListCount = 65536;
int32_t ReadListCount(const IniTable& ini, std::string_view section, std::string_view key);

// Count under key+"count", items under "0", "1", ... (missing ones empty),
// appended to target.
void ReadIndexedList(const IniTable& ini, std::string_view section, std::string_view key,
                     std::vector<std::string>& target);
// Count under key+"linecount", items under key+"line"+i, appended to target.
void ReadNumberedLines(const IniTable& ini, std::string_view section, std::string_view key,
                       std::vector<std::string>& target);

// "name:type" of [SKINOBJECTS] and [SKINCONTROLS]; both empty without ":".
struct TypedEntry {
  std::string section;
  std::string type;
};
TypedEntry ParseTypedEntry(std::string_view value);

// True when VERSION, PICTURES, FORMINFO, SKINOBJECTS and SKINCONTROLS exist.
bool HasSkinSections(const IniTable& ini);

// Writers: the same syntax the readers accept.
void WriteRectKey(IniTable& ini, std::string_view section, std::string_view key, const Rect& r);
void WritePointKey(IniTable& ini, std::string_view section, std::string_view key, const Point& p);
void WriteFlagKey(IniTable& ini, std::string_view section, std::string_view key, bool value);
void WriteFontStyleKey(IniTable& ini, std::string_view section, std::string_view key, FontStyles style);
void WriteFontKeys(IniTable& ini, std::string_view section, std::string_view prefix, const SkinFont& font);
void WriteAlignmentKey(IniTable& ini, std::string_view section, std::string_view key, Alignment value);
void WriteMorphKindKey(IniTable& ini, std::string_view section, std::string_view key, MorphKind value);
void WriteInactiveEffectKey(IniTable& ini, std::string_view section, std::string_view key, InactiveEffect value);
void WriteNumberedLines(IniTable& ini, std::string_view section, std::string_view key,
                        std::span<const std::string> lines);

}  // namespace kelmar
