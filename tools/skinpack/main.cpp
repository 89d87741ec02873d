// skinpack: builds, reads, lists and unpacks skin packages for skin authors.
//
//   skinpack build DESC.ini OUT.pkg   package from a description and its pictures
//   skinpack load FILE.skn OUT.pkg    the package held by a compressed skin file
//   skinpack list PKG                 version, pictures and description size
//   skinpack unpack PKG DIR           pictures (.bmp) and description (skin.ini)
//   skinpack recolour DESC.ini CHANGES.ini OUT.ini
//                                     DESC with the values CHANGES gives: the
//                                     same skin in other colours
//
// PKG files hold the deflated package: the bytes of CompressedData.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/error.h"
#include "base/file.h"
#include "base/text.h"
#include "skin/data/compressed_stored_skin.h"
#include "skin/data/skin_description.h"
#include "skin/data/skin_package.h"

namespace kelmar {
namespace {

constexpr const char* kUsage =
    "usage: skinpack build DESC.ini OUT.pkg\n"
    "       skinpack load FILE.skn OUT.pkg\n"
    "       skinpack list PKG\n"
    "       skinpack unpack PKG DIR\n"
    "       skinpack recolour DESC.ini CHANGES.ini OUT.ini\n";
constexpr const char* kDescriptionFile = "skin.ini";

SkinPackageContent ReadPackageFile(const std::string& path, std::vector<uint8_t>& inflated) {
  TksCompressedStoredSkin skin;
  skin.CompressedData() = ReadWholeFile(path);
  if (skin.IsEmpty()) throw Error(path + ": empty package");
  inflated = skin.InflatePackage();
  return ReadSkinPackage(inflated);
}

std::string Describe(const PackagePicture& p) {
  if (p.image.IsEmpty()) return "empty";
  return std::to_string(p.image.Width()) + "x" + std::to_string(p.image.Height()) + ", " +
         std::to_string(p.bitsPerPixel) + " bpp, " + std::to_string(p.size) + " bytes";
}

int List(const std::string& path) {
  std::vector<uint8_t> inflated;
  const SkinPackageContent c = ReadPackageFile(path, inflated);
  std::printf("package      %zu bytes inflated\nversion      %d\n", inflated.size(), int(c.version));
  if (!c.loaded) {
    std::printf("(a version above %d: nothing more is read)\n", int(kMaxPackageVersion));
    return 0;
  }
  for (PackageSlot slot : PackageSlotsOfVersion(c.version))
    std::printf("%-16s %s\n", std::string(PackageSlotKey(slot)).c_str(), Describe(c.Slot(slot)).c_str());
  std::printf("active pictures %zu\n", c.activePictures.size());
  for (size_t i = 0; i < c.activePictures.size(); ++i)
    std::printf("  %-3zu %s\n", i, Describe(c.activePictures[i]).c_str());
  size_t bytes = 0;
  for (const std::string& line : c.descriptionLines) bytes += line.size();
  std::printf("description  %zu lines, %zu bytes without line ends\n", c.descriptionLines.size(), bytes);
  return 0;
}

// A name that can be written as a file in the output folder on any system and
// read back by the builder: printable ASCII, no folder parts.
bool IsPlainFileName(std::string_view name) {
  if (name.empty() || name.size() > 100 || name == "." || name == "..") return false;
  if (name.back() == '.' || name.back() == ' ') return false;
  for (char ch : name) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c >= 0x7F || std::string_view("/\\:*?\"<>|").find(ch) != std::string_view::npos)
      return false;
  }
  return true;
}

bool IsSectionHeader(std::string_view line) {
  return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

// The [PICTURES] section of the description lines: where it starts and ends,
// and its keys' values, so unpacking can name the picture files as the
// description does and rewrite only the entries that must change.
class PicturesSection {
 public:
  explicit PicturesSection(std::vector<std::string>& lines) : lines_(lines) {
    for (size_t i = 0; i < lines_.size(); ++i) {
      const std::string_view t = Trim(lines_[i]);
      if (IsSectionHeader(t) && EqualsIgnoreAsciiCase(Trim(t.substr(1, t.size() - 2)), "PICTURES")) {
        begin_ = i + 1;
        end_ = begin_;
        while (end_ < lines_.size() && !IsSectionHeader(Trim(lines_[end_]))) ++end_;
        return;
      }
    }
    lines_.push_back("[PICTURES]");
    begin_ = end_ = lines_.size();
  }

  // The line of the key's first entry, or end.
  size_t Find(std::string_view key) const {
    for (size_t i = begin_; i < end_; ++i) {
      const std::string_view t = Trim(lines_[i]);
      const size_t eq = t.find('=');
      if (!t.empty() && t[0] != ';' && eq != std::string_view::npos && EqualsIgnoreAsciiCase(Trim(t.substr(0, eq)), key))
        return i;
    }
    return end_;
  }
  std::string Value(std::string_view key) const {
    const size_t i = Find(key);
    if (i == end_) return {};
    const std::string_view t = Trim(lines_[i]);
    return std::string(Trim(t.substr(t.find('=') + 1)));
  }
  // Sets the key's value: an existing line that already says it stays as it is.
  void Set(std::string_view key, const std::string& value) {
    const size_t i = Find(key);
    if (i != end_) {
      if (Value(key) != value) lines_[i] = lines_[i].substr(0, lines_[i].find('=') + 1) + value;
      return;
    }
    if (value.empty()) return;  // a missing key reads as empty
    size_t at = end_;
    while (at > begin_ && Trim(lines_[at - 1]).empty()) --at;  // before the blank lines closing the section
    lines_.insert(lines_.begin() + ptrdiff_t(at), std::string(key) + "=" + value);
    ++end_;
  }

 private:
  std::vector<std::string>& lines_;
  size_t begin_ = 0, end_ = 0;
};

int Unpack(const std::string& packagePath, const std::string& dir) {
  std::vector<uint8_t> inflated;
  SkinPackageContent c = ReadPackageFile(packagePath, inflated);
  if (!c.loaded) throw Error("package version " + std::to_string(c.version) + " holds nothing to unpack");
  std::filesystem::create_directories(PathFromUtf8(dir));

  // Each picture and the [PICTURES] key that names it.
  struct Item {
    std::string key;
    const PackagePicture* picture;
    std::string fallback;
    std::string name;
  };
  std::vector<Item> items;
  for (PackageSlot slot : PackageSlotsOfVersion(2)) {
    const std::string key(PackageSlotKey(slot));
    items.push_back({key, &c.Slot(slot), key + ".bmp", {}});
  }
  for (size_t i = 0; i < c.activePictures.size(); ++i)
    items.push_back({std::to_string(i), &c.activePictures[i], "active" + std::to_string(i) + ".bmp", {}});

  std::vector<std::string> lines = c.descriptionLines;
  PicturesSection pictures(lines);
  std::set<std::string> used = {AsciiUpper(kDescriptionFile)};  // compared as a Windows folder would
  for (Item& item : items) {  // the description's own names first
    if (item.picture->image.IsEmpty()) continue;
    const std::string name = pictures.Value(item.key);
    if (IsPlainFileName(name) && used.insert(AsciiUpper(name)).second) item.name = name;
  }
  for (Item& item : items) {
    if (item.picture->image.IsEmpty() || !item.name.empty()) continue;
    std::string name = item.fallback;
    for (int n = 2; !used.insert(AsciiUpper(name)).second; ++n)
      name = item.fallback.substr(0, item.fallback.size() - 4) + "_" + std::to_string(n) + ".bmp";
    item.name = name;
  }

  const std::filesystem::path folder = PathFromUtf8(dir);
  for (const Item& item : items) {
    pictures.Set(item.key, item.name);
    if (item.name.empty()) continue;
    const PackagePicture& p = *item.picture;
    WriteWholeFile(Utf8FromPath(folder / item.name),
                   std::span<const uint8_t>(inflated).subspan(p.offset, p.size));
  }
  pictures.Set("activepicturescount", std::to_string(c.activePictures.size()));

  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  WriteWholeFile(Utf8FromPath(folder / kDescriptionFile), std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
  std::printf("%s: %zu pictures and %s\n", dir.c_str(), size_t(std::count_if(items.begin(), items.end(),
              [](const Item& i) { return !i.name.empty(); })), kDescriptionFile);
  return 0;
}

std::string ReadText(const std::string& path) {
  const std::vector<uint8_t> bytes = ReadWholeFile(path);
  return std::string(bytes.begin(), bytes.end());
}

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = char(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

// A recoloured skin keeps every place and size: only the skin's name and
// comment and the keys that are colours ("...color") may change.
bool MayRecolour(std::string_view section, std::string_view key) {
  const std::string k = Upper(key);
  if (Upper(section) == "VERSION") return k == "SKINNAME" || k == "SKINCOMMENTS";
  return k.size() >= 5 && k.compare(k.size() - 5, 5, "COLOR") == 0;
}

// The description's text line by line, comments and order kept, with each
// value the changes give put in place. Every change must name a key the
// description has and may recolour.
int Recolour(const std::string& base, const std::string& changesPath, const std::string& out) {
  const std::string text = ReadText(base);
  const IniTable changes = IniTable::FromText(ReadText(changesPath));
  const IniTable described = IniTable::FromText(text);
  for (const std::string& section : changes.SectionNames())
    for (const std::string& key : changes.ReadSectionKeys(section)) {
      if (!MayRecolour(section, key))
        throw Error(changesPath + ": [" + section + "] " + key + " is not a colour, a name or a comment");
      if (!described.ValueExists(section, key)) throw Error(changesPath + ": [" + section + "] " + key + " is not in " + base);
    }
  std::string result, section;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    end = end == std::string::npos ? text.size() : end + 1;
    std::string line = text.substr(start, end - start);
    start = end;
    const std::string_view trimmed = Trim(line);
    if (!trimmed.empty() && trimmed.front() == '[' && trimmed.back() == ']') {
      section = std::string(trimmed.substr(1, trimmed.size() - 2));
    } else if (const size_t equals = trimmed.find('='); !trimmed.empty() && trimmed.front() != ';' && equals != trimmed.npos) {
      const std::string key(Trim(trimmed.substr(0, equals)));
      if (changes.ValueExists(section, key)) {
        const bool crlf = line.size() >= 2 && line[line.size() - 2] == '\r';
        line = key + "=" + changes.ReadString(section, key, "") + (crlf ? "\r\n" : "\n");
      }
    }
    result += line;
  }
  WriteWholeFile(out, std::span(reinterpret_cast<const uint8_t*>(result.data()), result.size()));
  return 0;
}

int Run(const std::vector<std::string>& args) {
  const std::string command = args.empty() ? "" : args[0];
  if (command == "build" && args.size() == 3) {
    TksCompressedStoredSkin skin;
    if (!skin.BuildFromDescriptionFile(args[1]))
      throw Error(args[1] + ": the description lacks one of the sections [VERSION], [PICTURES], [FORMINFO], "
                  "[SKINOBJECTS], [SKINCONTROLS]");
    WriteWholeFile(args[2], skin.CompressedData());
    std::printf("%s: %zu bytes\n", args[2].c_str(), skin.CompressedData().size());
    return 0;
  }
  if (command == "load" && args.size() == 3) {
    TksCompressedStoredSkin skin;
    skin.LoadFromCompressedFile(args[1]);
    if (skin.IsEmpty()) throw Error(args[1] + ": no package (version word above 3, or no bytes)");
    WriteWholeFile(args[2], skin.CompressedData());
    std::printf("%s: %zu bytes\n", args[2].c_str(), skin.CompressedData().size());
    return 0;
  }
  if (command == "list" && args.size() == 2) return List(args[1]);
  if (command == "unpack" && args.size() == 3) return Unpack(args[1], args[2]);
  if (command == "recolour" && args.size() == 4) return Recolour(args[1], args[2], args[3]);
  std::fputs(kUsage, stderr);
  return 2;
}

int Main(std::vector<std::string> args) {
  try {
    return Run(args);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skinpack: %s\n", e.what());
    return 1;
  }
}

}  // namespace
}  // namespace kelmar

#ifdef _WIN32
// The Windows build links with -municode: arguments arrive as UTF-16.
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    const std::wstring_view w(argv[i]);
    args.push_back(kelmar::Utf16ToUtf8(std::u16string(w.begin(), w.end())));
  }
  return kelmar::Main(std::move(args));
}
#else
int main(int argc, char** argv) { return kelmar::Main(std::vector<std::string>(argv + 1, argv + argc)); }
#endif
