#include "imageio/pe_icons.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "base/bmp.h"
#include "base/error.h"
#include "imageio/icon_best_match.h"

namespace kelmar {
namespace {

constexpr uint32_t kRtIcon = 3;
constexpr uint32_t kRtGroupIcon = 14;
constexpr uint32_t kHighBit = 0x80000000u;

// Thrown wherever the file's structure points outside its bytes.
struct Unreadable {};

// Bounds-checked little-endian reads.
class Bytes {
 public:
  explicit Bytes(std::span<const uint8_t> b) : b_(b) {}
  size_t Size() const { return b_.size(); }
  void Need(uint64_t offset, uint64_t length) const {
    if (offset > b_.size() || length > b_.size() - offset) throw Unreadable{};
  }
  uint16_t U16(uint64_t at) const {
    Need(at, 2);
    return uint16_t(b_[at] | b_[at + 1] << 8);
  }
  uint32_t U32(uint64_t at) const { return uint32_t(U16(at)) | uint32_t(U16(at + 2)) << 16; }
  std::span<const uint8_t> Span(uint64_t at, uint64_t length) const {
    Need(at, length);
    return b_.subspan(size_t(at), size_t(length));
  }

 private:
  std::span<const uint8_t> b_;
};

struct Section {
  uint32_t virtualAddress, rawSize, rawOffset;
};

// The headers: where the resource table is and the sections. The section
// table itself must lie within the bytes; the sections' data need not.
struct PeHeaders {
  uint32_t resourceRva = 0, resourceSize = 0;
  uint64_t tableEnd = 0;  // the end of the section table
  std::vector<Section> sections;

  explicit PeHeaders(const Bytes& f) {
    if (f.U16(0) != 0x5A4D) throw Unreadable{};  // "MZ"
    const uint64_t pe = f.U32(0x3C);
    if (f.U32(pe) != 0x00004550) throw Unreadable{};  // "PE\0\0"
    const uint64_t coff = pe + 4;
    const unsigned sectionCount = f.U16(coff + 2);
    const uint64_t optionalSize = f.U16(coff + 16);
    const uint64_t optional = coff + 20;
    f.Need(optional, optionalSize);
    const uint16_t magic = f.U16(optional);
    uint64_t directories;
    if (magic == 0x10B)
      directories = 96;  // PE32
    else if (magic == 0x20B)
      directories = 112;  // PE32+
    else
      throw Unreadable{};
    if (optionalSize < directories) throw Unreadable{};
    const uint32_t directoryCount = f.U32(optional + directories - 4);
    // The resource table is data directory 2.
    if (directoryCount > 2 && directories + 3 * 8 <= optionalSize) {
      resourceRva = f.U32(optional + directories + 16);
      resourceSize = f.U32(optional + directories + 20);
    }
    const uint64_t table = optional + optionalSize;
    tableEnd = table + uint64_t(sectionCount) * 40;
    f.Need(table, tableEnd - table);
    for (unsigned i = 0; i < sectionCount; ++i) {
      const uint64_t s = table + uint64_t(i) * 40;
      sections.push_back({f.U32(s + 12), f.U32(s + 16), f.U32(s + 20)});
    }
  }
};

class PeFile {
 public:
  explicit PeFile(std::span<const uint8_t> file) : f_(file) {
    PeHeaders headers(f_);
    // A section whose data lies past the end: the file was cut.
    for (const Section& section : headers.sections)
      if (section.rawSize) f_.Need(section.rawOffset, section.rawSize);
    resourceRva_ = headers.resourceRva;
    resourceSize_ = headers.resourceSize;
    sections_ = std::move(headers.sections);
  }

  bool HasResources() const { return resourceRva_ != 0 && resourceSize_ != 0; }
  uint32_t ResourceRva() const { return resourceRva_; }
  const Bytes& File() const { return f_; }

  // The section holding the address, as the file offset range of its data.
  std::pair<uint64_t, uint64_t> Locate(uint32_t rva) const {
    for (const Section& s : sections_)
      if (rva >= s.virtualAddress && rva - s.virtualAddress < s.rawSize)
        return {uint64_t(s.rawOffset) + (rva - s.virtualAddress), uint64_t(s.rawOffset) + s.rawSize};
    throw Unreadable{};
  }
  // Bytes at an address, all within one section's data.
  std::span<const uint8_t> At(uint32_t rva, uint32_t size) const {
    auto [offset, end] = Locate(rva);
    if (size > end - offset) throw Unreadable{};
    return f_.Span(offset, size);
  }

 private:
  Bytes f_;
  uint32_t resourceRva_ = 0, resourceSize_ = 0;
  std::vector<Section> sections_;
};

// The resource tree: directories at offsets from its root, all inside the
// section that holds the root.
class ResourceTree {
 public:
  explicit ResourceTree(const PeFile& pe) : pe_(pe) {
    auto [root, end] = pe.Locate(pe.ResourceRva());
    tree_ = Bytes(pe.File().Span(root, end - root));
  }

  struct Entry {
    uint32_t name;   // an ID, or (high bit set) the offset of a name
    uint32_t child;  // a subdirectory (high bit set) or a data entry
  };
  // The entries of the directory at `offset`: named ones, then numbered ones.
  std::vector<Entry> Directory(uint32_t offset) const {
    const unsigned named = tree_.U16(uint64_t(offset) + 12), numbered = tree_.U16(uint64_t(offset) + 14);
    std::vector<Entry> entries;
    entries.reserve(named + numbered);
    for (unsigned i = 0; i < named + numbered; ++i) {
      const uint64_t e = uint64_t(offset) + 16 + uint64_t(i) * 8;
      entries.push_back({tree_.U32(e), tree_.U32(e + 4)});
    }
    return entries;
  }
  static bool IsNamed(const Entry& e) { return e.name & kHighBit; }
  std::u16string Name(const Entry& e) const {
    const uint64_t at = e.name & ~kHighBit;
    const unsigned length = tree_.U16(at);
    std::span<const uint8_t> chars = tree_.Span(at + 2, uint64_t(length) * 2);
    std::u16string name(length, u'\0');
    for (unsigned i = 0; i < length; ++i) name[i] = char16_t(chars[2 * i] | chars[2 * i + 1] << 8);
    return name;
  }
  static uint32_t Subdirectory(const Entry& e) {
    if (!(e.child & kHighBit)) throw Unreadable{};
    return e.child & ~kHighBit;
  }
  // The bytes of the first language of a named resource (entry of level 2);
  // empty when it has none.
  std::span<const uint8_t> FirstLanguage(const Entry& e) const {
    std::vector<Entry> languages = Directory(Subdirectory(e));
    if (languages.empty()) return {};
    const uint32_t data = languages.front().child;
    if (data & kHighBit) throw Unreadable{};
    return pe_.At(tree_.U32(data), tree_.U32(uint64_t(data) + 4));
  }

 private:
  const PeFile& pe_;
  Bytes tree_{{}};
};

uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t Le32(const uint8_t* p) { return uint32_t(Le16(p)) | uint32_t(Le16(p + 2)) << 16; }

// The numbered entries by ascending ID after the named ones in their order.
std::vector<ResourceTree::Entry> InSystemOrder(std::vector<ResourceTree::Entry> entries) {
  auto numbered = std::stable_partition(entries.begin(), entries.end(), ResourceTree::IsNamed);
  std::stable_sort(numbered, entries.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
  return entries;
}

std::vector<IconGroup> ReadGroups(const PeFile& pe) {
  std::vector<IconGroup> groups;
  if (!pe.HasResources()) return groups;
  ResourceTree tree(pe);
  uint32_t groupDir = 0, iconDir = 0;
  bool hasGroups = false, hasIcons = false;
  for (const auto& type : tree.Directory(0)) {
    if (ResourceTree::IsNamed(type)) continue;
    if (type.name == kRtGroupIcon && !hasGroups) groupDir = ResourceTree::Subdirectory(type), hasGroups = true;
    if (type.name == kRtIcon && !hasIcons) iconDir = ResourceTree::Subdirectory(type), hasIcons = true;
  }
  if (!hasGroups) return groups;

  std::unordered_map<uint32_t, std::span<const uint8_t>> icons;
  if (hasIcons)
    for (const auto& icon : tree.Directory(iconDir))
      if (!ResourceTree::IsNamed(icon)) icons.emplace(icon.name, tree.FirstLanguage(icon));
  // Each RT_ICON is copied once, when the first entry names it.
  std::unordered_map<uint32_t, std::shared_ptr<const std::vector<uint8_t>>> copies;

  for (const auto& named : InSystemOrder(tree.Directory(groupDir))) {
    std::span<const uint8_t> data = tree.FirstLanguage(named);
    if (data.empty()) continue;
    IconGroup group;
    if (ResourceTree::IsNamed(named))
      group.name = tree.Name(named);
    else
      group.id = uint16_t(named.name);
    if (data.size() < 6) throw Unreadable{};
    const size_t count = Le16(data.data() + 4);
    if (6 + count * 14 > data.size()) throw Unreadable{};
    for (size_t i = 0; i < count; ++i) {
      const uint8_t* e = data.data() + 6 + i * 14;
      IconEntry entry;
      entry.width = e[0];
      entry.height = e[1];
      entry.colorCount = e[2];
      entry.planes = Le16(e + 4);
      entry.bitCount = Le16(e + 6);
      entry.bytesInRes = Le32(e + 8);
      entry.id = Le16(e + 12);
      if (auto it = icons.find(entry.id); it != icons.end()) {
        auto& copy = copies[entry.id];
        if (!copy) copy = std::make_shared<const std::vector<uint8_t>>(it->second.begin(), it->second.end());
        entry.bytes = copy;
      }
      group.entries.push_back(std::move(entry));
    }
    groups.push_back(std::move(group));
  }
  return groups;
}

}  // namespace

bool IconEntry::IsPng() const {
  static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::span<const uint8_t> image = Image();
  return image.size() >= 8 && std::memcmp(image.data(), kSignature, 8) == 0;
}

std::optional<std::vector<IconGroup>> ReadPeIcons(std::span<const uint8_t> file) {
  try {
    PeFile pe(file);
    return ReadGroups(pe);
  } catch (const Unreadable&) {
    return std::nullopt;
  }
}

uint64_t PeDataSize(std::span<const uint8_t> start) {
  try {
    PeHeaders headers{Bytes(start)};
    uint64_t end = headers.tableEnd;
    for (const Section& section : headers.sections)
      if (section.rawSize) end = std::max(end, uint64_t(section.rawOffset) + section.rawSize);
    return end;
  } catch (const Unreadable&) {
    return 0;
  }
}

int BestIconEntry(const IconGroup& group, int cx, int cy, int displayBits) {
  std::vector<IconCandidate> images;
  images.reserve(group.entries.size());
  for (const IconEntry& e : group.entries) images.push_back(IconCandidate::Stored(e.width, e.height, e.bitCount));
  return BestIconMatch(images, cx, cy, displayBits);
}

DecodedIcon DecodeIconImage(std::span<const uint8_t> image) {
  DecodedBmp colors = DecodeIconDib(image);
  DecodedIcon icon;
  const int w = colors.image.Width(), h = colors.image.Height();
  const size_t stride = (size_t(w) + 31) / 32 * 4;
  if (colors.size > image.size() || stride * size_t(h) > image.size() - colors.size)
    throw Error(kBitmapNotValid);
  icon.mask.resize(size_t(w) * size_t(h));
  const uint8_t* bits = image.data() + colors.size;
  for (int y = 0; y < h; ++y) {
    const uint8_t* row = bits + size_t(h - 1 - y) * stride;  // bottom-up, as the colours
    for (int x = 0; x < w; ++x) icon.mask[size_t(y) * size_t(w) + size_t(x)] = (row[x >> 3] >> (7 - (x & 7))) & 1;
  }
  icon.bitsPerPixel = colors.bitsPerPixel;
  icon.image = std::move(colors.image);
  if (icon.bitsPerPixel == 32) {
    Pixel* p = icon.image.Data();
    const size_t n = size_t(w) * size_t(h);
    icon.hasAlpha = std::any_of(p, p + n, [](Pixel px) { return PixelA(px) != 0; });
    if (!icon.hasAlpha)
      for (size_t i = 0; i < n; ++i) p[i] |= 0xFF000000u;
  }
  return icon;
}

}  // namespace kelmar
