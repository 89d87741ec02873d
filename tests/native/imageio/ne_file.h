#pragma once
// A small writer of 16-bit Windows executables (NE) holding icon resources,
// from the public format: an MZ stub, the NE header, the resource table
// (alignment shift, one block per type with the high-bit type ID, each
// resource's offset and length in alignment units, its integer ID with the
// high bit or the offset of its name) and the resident names table.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "base/little_endian.h"

namespace kelmar::test {

struct NeResourceSpec {
  uint16_t type;     // RT_ICON 3, RT_GROUP_ICON 14
  std::string name;  // empty: the integer ID
  uint16_t id = 0;
  std::vector<uint8_t> data;
};

inline void Put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  b[at] = uint8_t(v);
  b[at + 1] = uint8_t(v >> 8);
}

inline std::vector<uint8_t> WriteNe(const std::vector<NeResourceSpec>& resources, unsigned shift) {
  std::vector<uint8_t> f(0x80, 0);
  f[0] = 'M', f[1] = 'Z';
  f[0x3C] = 0x40;
  const size_t ne = 0x40;
  f[ne] = 'N', f[ne + 1] = 'E';
  f[ne + 2] = 5;
  Put16(f, ne + 0x0C, 0x8000);  // a library
  Put16(f, ne + 0x22, 0x40);    // no segments: the table is empty
  Put16(f, ne + 0x24, 0x40);    // the resource table right after the header
  Put16(f, ne + 0x32, shift);
  f[ne + 0x36] = 2;  // Windows
  Put16(f, ne + 0x3E, 0x030A);

  // Types in the order they first appear.
  std::vector<uint16_t> types;
  for (const auto& r : resources)
    if (std::find(types.begin(), types.end(), r.type) == types.end()) types.push_back(r.type);
  size_t tableSize = 2 + 2;
  for (uint16_t t : types) {
    tableSize += 8;
    for (const auto& r : resources) tableSize += r.type == t ? 12 : 0;
  }
  std::vector<uint8_t> table(tableSize, 0), names;
  Put16(table, 0, shift);
  std::map<const NeResourceSpec*, size_t> entryAt;
  size_t at = 2;
  for (uint16_t t : types) {
    Put16(table, at, 0x8000 | t);
    size_t count = 0;
    for (const auto& r : resources)
      if (r.type == t) {
        entryAt[&r] = at + 8 + count * 12;
        ++count;
      }
    Put16(table, at + 2, uint32_t(count));
    at += 8 + count * 12;
  }
  for (const auto& r : resources) {
    const size_t e = entryAt[&r];
    Put16(table, e + 4, 0x0C30);  // movable, pure, preloaded
    if (r.name.empty()) {
      Put16(table, e + 6, 0x8000 | r.id);
    } else {
      Put16(table, e + 6, uint32_t(tableSize + names.size()));
      names.push_back(uint8_t(r.name.size()));
      names.insert(names.end(), r.name.begin(), r.name.end());
    }
  }
  names.push_back(0);
  table.insert(table.end(), names.begin(), names.end());
  f.insert(f.end(), table.begin(), table.end());
  // Resident names: the module's name and ordinal 0; then empty module
  // reference, imported names and entry tables.
  const size_t restab = f.size() - ne;
  Put16(f, ne + 0x26, uint32_t(restab));
  const std::string module = "KELMARNE";
  f.push_back(uint8_t(module.size()));
  f.insert(f.end(), module.begin(), module.end());
  f.insert(f.end(), {0, 0, 0});
  Put16(f, ne + 0x28, uint32_t(f.size() - ne));
  Put16(f, ne + 0x2A, uint32_t(f.size() - ne));
  f.push_back(0);
  Put16(f, ne + 0x04, uint32_t(f.size() - ne));
  Put16(f, ne + 0x06, 2);
  f.insert(f.end(), {0, 0});
  // The data, each resource at a multiple of the alignment.
  const size_t unit = size_t(1) << shift;
  for (const auto& r : resources) {
    f.resize((f.size() + unit - 1) / unit * unit, 0);
    const size_t e = 0x40 + 0x40 + entryAt[&r];
    Put16(f, e, uint32_t(f.size() / unit));
    Put16(f, e + 2, uint32_t((r.data.size() + unit - 1) / unit));
    f.insert(f.end(), r.data.begin(), r.data.end());
  }
  f.resize((f.size() + unit - 1) / unit * unit, 0);
  return f;
}

// An icon file's images as the resources of one group: the group's
// directory (14-byte entries naming the images by ID, from `firstId`) and
// one RT_ICON per image.
inline std::vector<NeResourceSpec> IconFileAsResources(const std::vector<uint8_t>& ico, std::string name, uint16_t id,
                                                       uint16_t firstId) {
  const unsigned count = Le16(ico, 4);
  std::vector<NeResourceSpec> out;
  NeResourceSpec group{14, name, id, {0, 0, 1, 0, uint8_t(count), uint8_t(count >> 8)}};
  for (unsigned i = 0; i < count; ++i) {
    const size_t e = 6 + 16 * i;
    const uint32_t size = Le32(ico, e + 8), offset = Le32(ico, e + 12);
    group.data.insert(group.data.end(), ico.begin() + long(e), ico.begin() + long(e + 12));
    group.data.push_back(uint8_t(firstId + i));
    group.data.push_back(uint8_t((firstId + i) >> 8));
    out.push_back({3, "", uint16_t(firstId + i), std::vector<uint8_t>(ico.begin() + long(offset), ico.begin() + long(offset + size))});
  }
  out.insert(out.begin(), group);
  return out;
}

}  // namespace kelmar::test
