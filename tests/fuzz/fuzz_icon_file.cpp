// Icon and cursor files from outside: any bytes either read as one group or
// are reported unreadable, never read past their end; every listed image
// lies within the file and either decodes or raises Error, and the best
// match lies in the group.
#include <cstdint>
#include <cstdlib>

#include "base/error.h"
#include "imageio/pe_icons.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const uint64_t needed = kelmar::IconFileDataSize({data, size});
  auto group = kelmar::ReadIconFile({data, size});
  if (!group) return 0;
  if (needed == 0) std::abort();  // a readable file has a size
  int best = kelmar::BestIconEntry(*group, 16, 16, 32);
  if (best >= int(group->entries.size()) || (best < 0) != group->entries.empty()) std::abort();
  for (const auto& entry : group->entries) {
    if (!entry.bytes || entry.Image().empty() || entry.Image().size() > size) std::abort();
    if (entry.IsPng()) continue;
    try {
      kelmar::DecodedIcon icon = kelmar::DecodeIconImage(entry.Image());
      if (icon.mask.size() != size_t(icon.image.Width()) * size_t(icon.image.Height())) std::abort();
    } catch (const kelmar::Error&) {
    }
  }
  return 0;
}
