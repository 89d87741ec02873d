#include "imageio/icon_best_match.h"

namespace kelmar {
namespace {

// The distance from the wanted length; a shortfall counts twice.
long SideScore(int have, int want) {
  const long d = long(have) - want;
  return d >= 0 ? d : -2 * d;
}

// Orders depths by the colour rule: lower is better.
long DepthRank(int bits, int displayBits) {
  if (bits == displayBits) return 0;
  if (bits < displayBits) return 1 + (long(displayBits) - bits);  // the greatest below first
  return 1 + long(displayBits) + (long(bits) - displayBits);       // then the lowest above
}

}  // namespace

int BestIconMatch(std::span<const IconCandidate> images, int cx, int cy, int displayBits) {
  int sized = -1;
  long bestScore = 0;
  for (size_t i = 0; i < images.size(); ++i) {
    const long score = SideScore(images[i].width, cx) + SideScore(images[i].height, cy);
    if (sized < 0 || score < bestScore) sized = int(i), bestScore = score;
  }
  if (sized < 0) return -1;
  int chosen = -1;
  long bestRank = 0;
  for (size_t i = 0; i < images.size(); ++i) {
    if (images[i].width != images[size_t(sized)].width || images[i].height != images[size_t(sized)].height) continue;
    const long rank = DepthRank(images[i].bitCount, displayBits);
    if (chosen < 0 || rank < bestRank) chosen = int(i), bestRank = rank;
  }
  return chosen;
}

}  // namespace kelmar
