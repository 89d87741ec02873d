// Skin packages from outside. The first byte chooses the form: even, the rest
// is an inflated package; odd, the rest is the stored zlib stream, inflated
// first as the skin model does.
#include <cstdint>
#include <cstdlib>

#include "base/error.h"
#include "skin/data/compressed_stored_skin.h"
#include "skin/data/skin_package.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  try {
    std::vector<uint8_t> package(data + 1, data + size);
    if (data[0] & 1) {
      kelmar::TksCompressedStoredSkin skin;
      skin.CompressedData() = std::move(package);
      package = skin.InflatePackage();
    }
    kelmar::SkinPackageContent content = kelmar::ReadSkinPackage(package);
    for (const kelmar::PackagePicture& p : content.activePictures)
      if (p.offset + p.size > package.size()) std::abort();
  } catch (const kelmar::Error&) {
  }
  return 0;
}
