// Icon files from outside made into PNG pictures at every choice of size:
// whatever the images' bytes and size fields say, each picture made is a PNG
// stream of a size no larger than an image of the group, and what cannot be
// decoded is counted, not thrown.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "imageio/pe_icons.h"
#include "imageio/png_icon.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto group = kelmar::ReadIconFile({data, size});
  if (!group) return 0;
  (void)kelmar::GroupImageSummary(*group);
  const size_t images = group->entries.size();
  for (kelmar::PngSizeChoice choice : {kelmar::PngSizeChoice{kelmar::PngSizeChoice::kLargest},
                                       kelmar::PngSizeChoice{kelmar::PngSizeChoice::kFixed, 32},
                                       kelmar::PngSizeChoice{kelmar::PngSizeChoice::kEvery}}) {
    const kelmar::GroupPictures made = kelmar::GroupPngPictures(*group, choice);
    if (made.failed < 0 || size_t(made.failed) > images) std::abort();
    for (const kelmar::PngPicture& p : made.pictures)
      if (p.width < 1 || p.height < 1 || p.width > 1024 || p.height > 1024 || p.bytes.size() < 8 ||
          std::memcmp(p.bytes.data(), "\x89PNG", 4) != 0)
        std::abort();
  }
  return 0;
}
