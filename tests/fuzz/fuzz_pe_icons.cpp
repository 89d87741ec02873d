// Executables from outside (PE and NE): any bytes either read as icon groups
// or are reported unreadable, never read past their end; every listed image
// is there, decodes or raises Error, and the chosen entry lies in its group.
#include <cstdint>

#include "icon_group_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto groups = kelmar::ReadPeIcons({data, size});
  if (!groups) return 0;
  for (const auto& group : *groups) CheckIconGroup(group, size);
  return 0;
}
