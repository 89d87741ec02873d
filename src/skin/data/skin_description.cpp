#include "skin/data/skin_description.h"

#include <array>
#include <limits>

#include "base/error.h"
#include "base/text.h"
#include "skin/data/skin_package.h"

namespace kelmar {

// ---------------------------------------------------------------- IniTable

IniTable IniTable::FromText(std::string_view text) { return FromLines(SplitLines(text)); }

IniTable IniTable::FromLines(std::span<const std::string> lines) {
  IniTable t;
  size_t current = SIZE_MAX;
  for (const std::string& line : lines) t.AddLine(line, current);
  return t;
}

void IniTable::AddLine(std::string_view raw, size_t& current) {
  std::string_view line = Trim(raw);
  if (line.empty() || line.front() == ';') return;
  if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
    std::string_view name = Trim(line.substr(1, line.size() - 2));
    FindOrAdd(name);
    current = index_.at(AsciiUpper(name));
    return;
  }
  if (current == SIZE_MAX) return;  // lines before the first section
  Section& s = sections_[current];
  size_t eq = line.find('=');
  if (eq == std::string_view::npos) {
    s.entries.push_back({{}, std::string(line), false});
    return;
  }
  std::string key(Trim(line.substr(0, eq)));
  std::string upper = AsciiUpper(key);
  if (s.index.contains(upper)) return;  // the first of a repeated key counts
  s.index.emplace(std::move(upper), s.entries.size());
  s.entries.push_back({std::move(key), std::string(Trim(line.substr(eq + 1))), true});
}

const IniTable::Section* IniTable::Find(std::string_view section) const {
  auto it = index_.find(AsciiUpper(section));
  return it == index_.end() ? nullptr : &sections_[it->second];
}

IniTable::Section& IniTable::FindOrAdd(std::string_view section) {
  std::string upper = AsciiUpper(section);
  auto it = index_.find(upper);
  if (it != index_.end()) return sections_[it->second];
  index_.emplace(std::move(upper), sections_.size());
  sections_.push_back({std::string(section), {}, {}});
  return sections_.back();
}

const IniTable::Entry* IniTable::FindEntry(const Section& s, std::string_view key) {
  auto it = s.index.find(AsciiUpper(key));
  return it == s.index.end() ? nullptr : &s.entries[it->second];
}

bool IniTable::SectionExists(std::string_view section) const { return Find(section) != nullptr; }

bool IniTable::ValueExists(std::string_view section, std::string_view key) const {
  const Section* s = Find(section);
  return s && FindEntry(*s, key);
}

std::string IniTable::ReadString(std::string_view section, std::string_view key, std::string_view def) const {
  const Section* s = Find(section);
  const Entry* e = s ? FindEntry(*s, key) : nullptr;
  return e ? e->value : std::string(def);
}

int32_t IniTable::ReadInteger(std::string_view section, std::string_view key, int32_t def) const {
  const Section* s = Find(section);
  const Entry* e = s ? FindEntry(*s, key) : nullptr;
  int32_t v;
  return e && TryParseInteger(e->value, v) ? v : def;
}

std::vector<std::string> IniTable::ReadSectionKeys(std::string_view section) const {
  std::vector<std::string> keys;
  if (const Section* s = Find(section))
    for (const Entry& e : s->entries)
      if (e.has_key) keys.push_back(e.key);
  return keys;
}

std::vector<std::string> IniTable::SectionNames() const {
  std::vector<std::string> names;
  for (const Section& s : sections_) names.push_back(s.name);
  return names;
}

void IniTable::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  Section& s = FindOrAdd(section);
  std::string upper = AsciiUpper(key);
  auto it = s.index.find(upper);
  if (it != s.index.end()) {
    s.entries[it->second].value = std::string(value);
    return;
  }
  s.index.emplace(std::move(upper), s.entries.size());
  s.entries.push_back({std::string(key), std::string(value), true});
}

void IniTable::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
  WriteString(section, key, std::to_string(value));
}

void IniTable::EraseSection(std::string_view section) {
  auto it = index_.find(AsciiUpper(section));
  if (it == index_.end()) return;
  size_t pos = it->second;
  sections_.erase(sections_.begin() + ptrdiff_t(pos));
  index_.erase(it);
  for (auto& [name, i] : index_)
    if (i > pos) --i;
}

std::string IniTable::ToText() const {
  std::string out;
  for (const Section& s : sections_) {
    out += '[';
    out += s.name;
    out += "]\r\n";
    for (const Entry& e : s.entries) {
      if (e.has_key) {
        out += e.key;
        out += '=';
      }
      out += e.value;
      out += "\r\n";
    }
    out += "\r\n";
  }
  return out;
}

// ---------------------------------------------------------------- values

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool ParseHex(std::string_view digits, int32_t& value) {
  if (digits.empty()) return false;
  uint64_t v = 0;
  for (char c : digits) {
    int d = HexDigit(c);
    if (d < 0) return false;
    v = v * 16 + uint64_t(d);
    if (v > 0xFFFFFFFFu) return false;
  }
  value = int32_t(uint32_t(v));
  return true;
}

// Unsigned decimal digits only, within the 32-bit signed range (with the
// extra one for a negative sign).
bool ParseDecimal(std::string_view digits, bool negative, int32_t& value) {
  if (digits.empty()) return false;
  const uint64_t limit = negative ? uint64_t(1) << 31 : (uint64_t(1) << 31) - 1;
  uint64_t v = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + uint64_t(c - '0');
    if (v > limit) return false;
  }
  value = negative ? int32_t(-int64_t(v)) : int32_t(v);
  return true;
}

std::string NotAnInteger(std::string_view text) {
  std::string message = "'";
  message.append(text);
  message.append("' is not a valid integer value");
  return message;
}

// The scanner shared by rectangles and points.
template <size_t N>
std::array<int32_t, N> ParseFields(std::string_view text) {
  std::array<std::string, N> fields;
  std::string acc;
  size_t field = 0;
  for (char c : text) {
    if (c == ',') {
      if (field < N) fields[field] = acc;
      acc.clear();
      ++field;
    } else if (c >= '0' && c <= '9') {
      acc += c;
    }
  }
  if (field < N) fields[field] = acc;
  std::array<int32_t, N> values{};
  for (size_t i = 0; i < N; ++i)
    if (!ParseDecimal(fields[i], false, values[i])) throw ConvertError(NotAnInteger(fields[i]));
  return values;
}

constexpr std::string_view kStyleNames[] = {"fsbold", "fsitalic", "fsunderline", "fsstrikeout"};

constexpr std::string_view kAlignmentTexts[] = {"taleftjustify", "tarightjustify", "tacenter"};
constexpr std::string_view kMorphKindTexts[] = {"mkdefault",       "mkgradient",   "mkleftgradient",
                                                "mkrightgradient", "mkleftslide",  "mkrightslide",
                                                "mkpush"};
constexpr std::string_view kInactiveEffectTexts[] = {"iebrightness", "iedarkness",  "iegrayscale",
                                                     "ienoise",      "iesplitblur", "ieinvert"};

}  // namespace

bool TryParseInteger(std::string_view text, int32_t& value) {
  if (text.empty()) return false;
  if (text[0] == '$') return ParseHex(text.substr(1), value);
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) return ParseHex(text.substr(2), value);
  bool negative = text[0] == '-';
  if (negative || text[0] == '+') text.remove_prefix(1);
  return ParseDecimal(text, negative, value);
}

Rect ParseRectText(std::string_view text) {
  auto v = ParseFields<4>(text);
  return {v[0], v[1], v[2], v[3]};
}

Point ParsePointText(std::string_view text) {
  auto v = ParseFields<2>(text);
  return {v[0], v[1]};
}

const NamedValues kAlignmentNames{kAlignmentTexts, int32_t(Alignment::taCenter), int32_t(Alignment::taRightJustify)};
const NamedValues kMorphKindNames{kMorphKindTexts, 0, 0};
const NamedValues kInactiveEffectNames{kInactiveEffectTexts, int32_t(InactiveEffect::ieBrightness),
                                       int32_t(InactiveEffect::ieGrayscale)};

int32_t ReadNamedValueKey(const IniTable& ini, std::string_view section, std::string_view key,
                          const NamedValues& names) {
  if (!ini.ValueExists(section, key)) return names.missing_value;
  std::string text = ini.ReadString(section, key, {});
  for (size_t i = 0; i < names.names.size(); ++i)
    if (names.names[i] == text) return int32_t(i);
  return names.other_value;
}

void WriteNamedValueKey(IniTable& ini, std::string_view section, std::string_view key, const NamedValues& names,
                        int32_t value) {
  size_t i = value >= 0 && size_t(value) < names.names.size() ? size_t(value) : size_t(names.other_value);
  ini.WriteString(section, key, names.names[i]);
}

Rect ReadRectKey(const IniTable& ini, std::string_view section, std::string_view key) {
  return ParseRectText(ini.ReadString(section, key, "0,0,0,0"));
}

Point ReadPointKey(const IniTable& ini, std::string_view section, std::string_view key) {
  return ParsePointText(ini.ReadString(section, key, "0,0"));
}

bool ReadFlagKey(const IniTable& ini, std::string_view section, std::string_view key) {
  return ini.ReadInteger(section, key, 0) == 1;
}

FontStyles ReadFontStyleKey(const IniTable& ini, std::string_view section, std::string_view key) {
  std::string text = ini.ReadString(section, key, {});
  FontStyles style = 0;
  for (size_t i = 0; i < std::size(kStyleNames); ++i)
    if (text.find(kStyleNames[i]) != std::string::npos) style |= FontStyles(1u << i);
  return style;
}

SkinFont ReadFontKeys(const IniTable& ini, std::string_view section, std::string_view prefix) {
  std::string p(prefix);
  SkinFont f;
  f.name = ini.ReadString(section, p + "name", kDefaultFontName);
  f.height = ini.ReadInteger(section, p + "height", 14);
  f.style = ReadFontStyleKey(ini, section, p + "style");
  f.color = uint32_t(ini.ReadInteger(section, p + "color", 0));
  return f;
}

Alignment ReadAlignmentKey(const IniTable& ini, std::string_view section, std::string_view key) {
  return Alignment(ReadNamedValueKey(ini, section, key, kAlignmentNames));
}

MorphKind ReadMorphKindKey(const IniTable& ini, std::string_view section, std::string_view key) {
  return MorphKind(ReadNamedValueKey(ini, section, key, kMorphKindNames));
}

InactiveEffect ReadInactiveEffectKey(const IniTable& ini, std::string_view section, std::string_view key) {
  return InactiveEffect(ReadNamedValueKey(ini, section, key, kInactiveEffectNames));
}

int32_t ReadListCount(const IniTable& ini, std::string_view section, std::string_view key) {
  int32_t n = ini.ReadInteger(section, key, 0);
  return n < 0 ? 0 : n > kMaxListCount ? kMaxListCount : n;
}

void ReadIndexedList(const IniTable& ini, std::string_view section, std::string_view key,
                     std::vector<std::string>& target) {
  int32_t n = ReadListCount(ini, section, std::string(key) + "count");
  for (int32_t i = 0; i < n; ++i) target.push_back(ini.ReadString(section, std::to_string(i), {}));
}

void ReadNumberedLines(const IniTable& ini, std::string_view section, std::string_view key,
                       std::vector<std::string>& target) {
  std::string k(key);
  int32_t n = ReadListCount(ini, section, k + "linecount");
  for (int32_t i = 0; i < n; ++i) target.push_back(ini.ReadString(section, k + "line" + std::to_string(i), {}));
}

TypedEntry ParseTypedEntry(std::string_view value) {
  size_t colon = value.find(':');
  if (colon == std::string_view::npos) return {};
  return {std::string(value.substr(0, colon)), std::string(value.substr(colon + 1))};
}

bool HasSkinSections(const IniTable& ini) {
  for (std::string_view s : {"VERSION", "PICTURES", "FORMINFO", "SKINOBJECTS", "SKINCONTROLS"})
    if (!ini.SectionExists(s)) return false;
  return true;
}

void WriteRectKey(IniTable& ini, std::string_view section, std::string_view key, const Rect& r) {
  ini.WriteString(section, key,
                  std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
                      std::to_string(r.bottom));
}

void WritePointKey(IniTable& ini, std::string_view section, std::string_view key, const Point& p) {
  ini.WriteString(section, key, std::to_string(p.x) + "," + std::to_string(p.y));
}

void WriteFlagKey(IniTable& ini, std::string_view section, std::string_view key, bool value) {
  ini.WriteInteger(section, key, value ? 1 : 0);
}

void WriteFontStyleKey(IniTable& ini, std::string_view section, std::string_view key, FontStyles style) {
  std::string text;
  for (size_t i = 0; i < std::size(kStyleNames); ++i) {
    if (!(style & (1u << i))) continue;
    if (!text.empty()) text += ',';
    text += kStyleNames[i];
  }
  ini.WriteString(section, key, text);
}

void WriteFontKeys(IniTable& ini, std::string_view section, std::string_view prefix, const SkinFont& font) {
  std::string p(prefix);
  ini.WriteString(section, p + "name", font.name);
  ini.WriteInteger(section, p + "height", font.height);
  WriteFontStyleKey(ini, section, p + "style", font.style);
  ini.WriteInteger(section, p + "color", int32_t(font.color));
}

void WriteAlignmentKey(IniTable& ini, std::string_view section, std::string_view key, Alignment value) {
  WriteNamedValueKey(ini, section, key, kAlignmentNames, int32_t(value));
}

void WriteMorphKindKey(IniTable& ini, std::string_view section, std::string_view key, MorphKind value) {
  WriteNamedValueKey(ini, section, key, kMorphKindNames, int32_t(value));
}

void WriteInactiveEffectKey(IniTable& ini, std::string_view section, std::string_view key, InactiveEffect value) {
  WriteNamedValueKey(ini, section, key, kInactiveEffectNames, int32_t(value));
}

void WriteNumberedLines(IniTable& ini, std::string_view section, std::string_view key,
                        std::span<const std::string> lines) {
  std::string k(key);
  ini.WriteInteger(section, k + "linecount", int32_t(lines.size()));
  for (size_t i = 0; i < lines.size(); ++i) ini.WriteString(section, k + "line" + std::to_string(i), lines[i]);
}

}  // namespace kelmar
