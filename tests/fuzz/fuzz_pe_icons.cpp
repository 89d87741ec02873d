// Executables from outside (PE and NE): any bytes either read as icon groups or are
// reported unreadable, never read past their end; every entry of every group
// either decodes or raises Error, and the chosen entry lies in its group.
#include <cstdint>
#include <cstdlib>

#include "base/error.h"
#include "imageio/pe_icons.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto groups = kelmar::ReadPeIcons({data, size});
  if (!groups) return 0;
  for (const auto& group : *groups) {
    int best = kelmar::BestIconEntry(group, 32, 32, 32);
    if (best >= int(group.entries.size()) || (best < 0) != group.entries.empty()) std::abort();
    for (const auto& entry : group.entries) {
      if (!entry.bytes || entry.Image().size() > size) std::abort();  // every listed image is there
      if (entry.IsPng()) continue;
      try {
        kelmar::DecodedIcon icon = kelmar::DecodeIconImage(entry.Image());
        if (icon.mask.size() != size_t(icon.image.Width()) * size_t(icon.image.Height())) std::abort();
      } catch (const kelmar::Error&) {
      }
    }
  }
  return 0;
}
