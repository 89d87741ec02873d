#pragma once
// What every group read from outside bytes must satisfy, for the fuzz
// targets of the readers: the best match lies in the group, every image is
// there and within the input, and decodes or raises Error.
#include <cstdlib>

#include "base/error.h"
#include "imageio/pe_icons.h"

inline void CheckIconGroup(const kelmar::IconGroup& group, size_t inputSize) {
  const int best = kelmar::BestIconEntry(group, 32, 32, 32);
  if (best >= int(group.entries.size()) || (best < 0) != group.entries.empty()) std::abort();
  for (const auto& entry : group.entries) {
    if (!entry.bytes || entry.Image().empty() || entry.Image().size() > inputSize) std::abort();
    if (entry.IsPng()) continue;
    try {
      kelmar::DecodedIcon icon = kelmar::DecodeIconImage(entry.Image());
      if (icon.mask.size() != size_t(icon.image.Width()) * size_t(icon.image.Height())) std::abort();
    } catch (const kelmar::Error&) {
    }
  }
}
