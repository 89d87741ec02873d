// Icon and cursor files from outside: any bytes either read as one group or
// are reported unreadable, never read past their end; every listed image is
// there, decodes or raises Error, and the best match lies in the group.
#include <cstdint>

#include "icon_group_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const uint64_t needed = kelmar::IconFileDataSize({data, size});
  auto group = kelmar::ReadIconFile({data, size});
  if (!group) return 0;
  if (needed == 0) std::abort();  // a readable file has a size
  CheckIconGroup(*group, size);
  return 0;
}
