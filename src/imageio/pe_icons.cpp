#include "imageio/pe_icons.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <unordered_map>

#include "base/bmp.h"
#include "base/error.h"
#include "base/little_endian.h"
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
    return Le16(b_.data() + at);
  }
  uint32_t U32(uint64_t at) const {
    Need(at, 4);
    return Le32(b_.data() + at);
  }
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
  // A section whose data runs past the end (a cut file) is kept: what lies
  // within the bytes can still be read, and every read checks its bytes.
  explicit PeFile(std::span<const uint8_t> file) : f_(file) {
    PeHeaders headers(f_);
    resourceRva_ = headers.resourceRva;
    resourceSize_ = headers.resourceSize;
    sections_ = std::move(headers.sections);
  }

  bool HasResources() const { return resourceRva_ != 0 && resourceSize_ != 0; }
  uint32_t ResourceRva() const { return resourceRva_; }
  const Bytes& File() const { return f_; }

  // The section holding the address, as the file offset range of its data
  // that lies within the bytes.
  std::pair<uint64_t, uint64_t> Locate(uint32_t rva) const {
    for (const Section& s : sections_)
      if (rva >= s.virtualAddress && rva - s.virtualAddress < s.rawSize) {
        const uint64_t offset = uint64_t(s.rawOffset) + (rva - s.virtualAddress);
        if (offset >= f_.Size()) throw Unreadable{};
        return {offset, std::min<uint64_t>(uint64_t(s.rawOffset) + s.rawSize, f_.Size())};
      }
    throw Unreadable{};
  }
  // Bytes at an address, all within one section's data and the file.
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

// The numbered entries by ascending ID after the named ones in their order.
std::vector<ResourceTree::Entry> InSystemOrder(std::vector<ResourceTree::Entry> entries) {
  auto numbered = std::stable_partition(entries.begin(), entries.end(), ResourceTree::IsNamed);
  std::stable_sort(numbered, entries.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
  return entries;
}

// Each RT_ICON by ID, the bytes of the first of each ID (empty where they
// lie outside the file), and each copied once, when the first entry names it.
class IconImages {
 public:
  // Where the stored images are padded (NE resources are whole units of the
  // table's alignment), each is taken at the size its first entry gives.
  explicit IconImages(bool padded = false) : padded_(padded) {}
  void Add(uint32_t id, std::function<std::span<const uint8_t>()> read) {
    if (spans_.count(id)) return;
    try {
      spans_.emplace(id, read());
    } catch (const Unreadable&) {
      spans_.emplace(id, std::span<const uint8_t>());
    }
  }
  // The group's entries given in its directory, each with its image's bytes;
  // an entry whose image runs past the end of the file, or is missing, is
  // left out.
  void ReadGroup(std::span<const uint8_t> directory, IconGroup& group) {
    if (directory.size() < 6) return;
    const size_t count = Le16(directory.data() + 4);
    if (6 + count * 14 > directory.size()) return;
    for (size_t i = 0; i < count; ++i) {
      const uint8_t* e = directory.data() + 6 + i * 14;
      IconEntry entry;
      entry.width = e[0];
      entry.height = e[1];
      entry.colorCount = e[2];
      entry.planes = Le16(e + 4);
      entry.bitCount = Le16(e + 6);
      entry.bytesInRes = Le32(e + 8);
      entry.id = Le16(e + 12);
      auto it = spans_.find(entry.id);
      if (it == spans_.end() || it->second.empty()) continue;
      auto& copy = copies_[entry.id];
      if (!copy) {
        std::span<const uint8_t> image = it->second;
        if (padded_ && entry.bytesInRes && entry.bytesInRes < image.size()) image = image.first(entry.bytesInRes);
        copy = std::make_shared<const std::vector<uint8_t>>(image.begin(), image.end());
      }
      entry.bytes = copy;
      group.entries.push_back(std::move(entry));
    }
  }

 private:
  std::unordered_map<uint32_t, std::span<const uint8_t>> spans_;
  std::unordered_map<uint32_t, std::shared_ptr<const std::vector<uint8_t>>> copies_;
  bool padded_;
};

// The groups of a PE file. The headers and the directories down to the list
// of groups must be whole; past that each group and each image is read on
// its own: a group whose data is damaged or cut stays, without images.
std::vector<IconGroup> ReadPeGroups(const PeFile& pe) {
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
  const std::vector<ResourceTree::Entry> named = InSystemOrder(tree.Directory(groupDir));

  IconImages icons;
  try {
    if (hasIcons)
      for (const auto& icon : tree.Directory(iconDir))
        if (!ResourceTree::IsNamed(icon)) icons.Add(icon.name, [&] { return tree.FirstLanguage(icon); });
  } catch (const Unreadable&) {
    // The list of images is cut: those read so far are kept.
  }

  for (const auto& entry : named) {
    IconGroup group;
    // The names belong to the directories.
    if (ResourceTree::IsNamed(entry))
      group.name = tree.Name(entry);
    else
      group.id = uint16_t(entry.name);
    try {
      std::span<const uint8_t> data = tree.FirstLanguage(entry);
      if (data.empty()) continue;  // no language: no resource at all
      icons.ReadGroup(data, group);
    } catch (const Unreadable&) {
      group.entries.clear();
    }
    groups.push_back(std::move(group));
  }
  return groups;
}

// 16-bit Windows executables (NE): a resource table of type blocks, each
// with its resources' file offsets and lengths in units of the table's
// alignment.
constexpr uint16_t kNeIntegerId = 0x8000;

struct NeResource {
  uint16_t id;          // with kNeIntegerId, else the offset of its name
  uint64_t offset, length;
};
struct NeTable {
  uint64_t start = 0;  // of the resource table, where names are counted from
  uint64_t end = 0;    // the end of the type blocks
  std::vector<NeResource> groups, icons;
  uint64_t dataEnd = 0;  // the end of the furthest resource

  // The table's header must be whole; it may lie in `f` while the resources'
  // data does not.
  NeTable(const Bytes& f, uint64_t ne) {
    start = ne + f.U16(ne + 0x24);
    const uint64_t names = ne + f.U16(ne + 0x26);  // the resident names follow the table
    end = start;
    if (names == start) return;  // no resources
    const unsigned shift = f.U16(start);
    if (shift > 24) throw Unreadable{};
    bool seenGroups = false, seenIcons = false;
    for (uint64_t at = start + 2;;) {
      const uint16_t type = f.U16(at);
      if (type == 0) {
        end = at + 2;
        break;
      }
      const unsigned count = f.U16(at + 2);
      std::vector<NeResource>* into = nullptr;
      if (type == (kNeIntegerId | kRtGroupIcon) && !seenGroups) into = &groups, seenGroups = true;
      if (type == (kNeIntegerId | kRtIcon) && !seenIcons) into = &icons, seenIcons = true;
      f.Need(at + 8, uint64_t(count) * 12);
      for (unsigned i = 0; i < count; ++i) {
        const uint64_t r = at + 8 + uint64_t(i) * 12;
        NeResource resource{f.U16(r + 6), uint64_t(f.U16(r)) << shift, uint64_t(f.U16(r + 2)) << shift};
        dataEnd = std::max(dataEnd, resource.offset + resource.length);
        if (into) into->push_back(resource);
      }
      at += 8 + uint64_t(count) * 12;
    }
  }
};

// The offset of an NE file's new header; Unreadable when it is none.
uint64_t NeHeader(const Bytes& f) {
  if (f.U16(0) != 0x5A4D) throw Unreadable{};
  const uint64_t ne = f.U32(0x3C);
  if (f.U16(ne) != 0x454E) throw Unreadable{};  // "NE"
  return ne;
}

bool IsNe(const Bytes& f) {
  try {
    NeHeader(f);
    return true;
  } catch (const Unreadable&) {
    return false;
  }
}

// The groups of an NE file in the table's order, as the system counts them.
std::vector<IconGroup> ReadNeGroups(const Bytes& f) {
  const NeTable table(f, NeHeader(f));
  IconImages icons(true);
  for (const NeResource& icon : table.icons)
    if (icon.id & kNeIntegerId) icons.Add(icon.id & ~kNeIntegerId, [&] { return f.Span(icon.offset, icon.length); });
  std::vector<IconGroup> groups;
  for (const NeResource& resource : table.groups) {
    IconGroup group;
    if (resource.id & kNeIntegerId) {
      group.id = resource.id & ~kNeIntegerId;
    } else {  // a name in the table: its length byte and characters
      const uint64_t at = table.start + resource.id;
      const unsigned length = f.Span(at, 1)[0];
      for (uint8_t c : f.Span(at + 1, length)) group.name.push_back(char16_t(c));
    }
    try {
      icons.ReadGroup(f.Span(resource.offset, resource.length), group);
    } catch (const Unreadable&) {
      group.entries.clear();
    }
    groups.push_back(std::move(group));
  }
  return groups;
}

// An icon or cursor file: its header and whole directory; Unreadable when
// the bytes are none.
struct IconFileDirectory {
  unsigned count = 0;
  bool cursor = false;
  explicit IconFileDirectory(const Bytes& f) {
    const uint16_t type = f.U16(2);
    count = f.U16(4);
    if (f.U16(0) != 0 || (type != 1 && type != 2) || count == 0) throw Unreadable{};
    cursor = type == 2;
    f.Need(6, uint64_t(count) * 16);
  }
  static uint64_t Entry(unsigned i) { return 6 + uint64_t(i) * 16; }
};

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// The bits per pixel an image's own header gives: planes x bit count of a
// DIB, 32 for a PNG stream; 0 when it has no header.
int ImageBits(std::span<const uint8_t> image) {
  if (image.size() >= 8 && std::memcmp(image.data(), kPngSignature, 8) == 0) return 32;
  if (image.size() < 16) return 0;
  return int(std::min<uint32_t>(uint32_t(Le16(image.data() + 12)) * Le16(image.data() + 14), 0xFFFF));
}

}  // namespace

std::optional<IconGroup> ReadIconFile(std::span<const uint8_t> file) {
  try {
    const Bytes f(file);
    const IconFileDirectory directory(f);
    IconGroup group;
    for (unsigned i = 0; i < directory.count; ++i) {
      const uint64_t e = IconFileDirectory::Entry(i);
      const uint32_t size = f.U32(e + 8), offset = f.U32(e + 12);
      if (size == 0 || offset > file.size() || size > file.size() - offset) continue;  // cut: left out
      std::span<const uint8_t> image = f.Span(offset, size);
      IconEntry entry;
      entry.width = f.Span(e, 1)[0];
      entry.height = f.Span(e + 1, 1)[0];
      entry.colorCount = f.Span(e + 2, 1)[0];
      // A cursor's entry holds its hot spot where an icon's holds planes
      // and bit count; an old icon file may leave the bit count 0.
      entry.planes = directory.cursor ? 1 : f.U16(e + 4);
      entry.bitCount = directory.cursor ? 0 : f.U16(e + 6);
      if (entry.bitCount == 0) entry.bitCount = uint16_t(ImageBits(image));
      entry.bytesInRes = size;
      entry.id = uint16_t(i + 1);
      entry.bytes = std::make_shared<const std::vector<uint8_t>>(image.begin(), image.end());
      group.entries.push_back(std::move(entry));
    }
    return group;
  } catch (const Unreadable&) {
    return std::nullopt;
  }
}

uint64_t IconFileDataSize(std::span<const uint8_t> start) {
  try {
    const Bytes f(start);
    const IconFileDirectory directory(f);
    uint64_t end = IconFileDirectory::Entry(directory.count);
    for (unsigned i = 0; i < directory.count; ++i) {
      const uint64_t e = IconFileDirectory::Entry(i);
      end = std::max(end, uint64_t(f.U32(e + 12)) + f.U32(e + 8));
    }
    return end;
  } catch (const Unreadable&) {
    return 0;
  }
}

bool IconEntry::IsPng() const {
  std::span<const uint8_t> image = Image();
  return image.size() >= 8 && std::memcmp(image.data(), kPngSignature, 8) == 0;
}

std::optional<std::vector<IconGroup>> ReadPeIcons(std::span<const uint8_t> file) {
  try {
    const Bytes f(file);
    if (IsNe(f)) return ReadNeGroups(f);
    return ReadPeGroups(PeFile(file));
  } catch (const Unreadable&) {
    return std::nullopt;
  }
}

uint64_t PeDataSize(std::span<const uint8_t> start) {
  try {
    const Bytes f(start);
    if (IsNe(f)) {
      const NeTable table(f, NeHeader(f));
      return std::max(table.end, table.dataEnd);
    }
    PeHeaders headers{f};
    uint64_t end = headers.tableEnd;
    for (const Section& section : headers.sections)
      if (section.rawSize) end = std::max(end, uint64_t(section.rawOffset) + section.rawSize);
    return end;
  } catch (const Unreadable&) {
    return 0;
  }
}

uint64_t PeResourceDataSize(std::span<const uint8_t> start) {
  try {
    const Bytes f(start);
    if (!IsNe(f)) {
      PeHeaders headers{f};
      for (const Section& s : headers.sections)
        if (headers.resourceRva >= s.virtualAddress && headers.resourceRva - s.virtualAddress < s.rawSize)
          return std::max(headers.tableEnd, uint64_t(s.rawOffset) + s.rawSize);
    }
  } catch (const Unreadable&) {
    return 0;
  }
  return PeDataSize(start);
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
