// BMP file images from outside: any bytes either decode or raise Error, and a
// decoded image never claims more bytes than it was given.
#include <cstdint>
#include <cstdlib>

#include "base/bmp.h"
#include "base/error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    kelmar::DecodedBmp bmp = kelmar::DecodeBmp({data, size});
    if (bmp.size > size || bmp.image.IsEmpty()) std::abort();
  } catch (const kelmar::Error&) {
  }
  return 0;
}
