#include "skin/data/mask_region_win32.h"

#include <cstddef>
#include <cstring>
#include <vector>

#include "framework/graphics.h"

namespace kelmar {

static_assert(sizeof(RECT) == sizeof(Rect) && offsetof(RECT, bottom) == offsetof(Rect, bottom),
              "region rectangles are copied as they are");

RegionHandle RegionFromData(const RegionData& data) {
  const size_t rects_bytes = data.rects.size() * sizeof(RECT);
  // DWORD elements keep the block aligned for the header.
  std::vector<DWORD> block((sizeof(RGNDATAHEADER) + rects_bytes + sizeof(DWORD) - 1) / sizeof(DWORD));
  auto* region = reinterpret_cast<RGNDATA*>(block.data());
  region->rdh.dwSize = sizeof(RGNDATAHEADER);
  region->rdh.iType = RDH_RECTANGLES;
  region->rdh.nCount = DWORD(data.rects.size());
  region->rdh.nRgnSize = 0;
  region->rdh.rcBound = ToRECT(data.bounds);
  if (rects_bytes) std::memcpy(region->Buffer, data.rects.data(), rects_bytes);
  return RegionHandle(
      ExtCreateRegion(nullptr, DWORD(sizeof(RGNDATAHEADER) + rects_bytes), region));
}

RegionHandle MaskToRegion(const ImageView& mask, int dx, int dy) {
  const auto data = MaskToRegionData(mask, dx, dy);
  if (!data) return {};
  return RegionFromData(*data);
}

RegionHandle ComposeMaskRegion(const ImageView& mask, const SkinGeometry& mask_geometry,
                                   const SkinGeometry& target_geometry) {
  const auto data = ComposeMaskRegionData(mask, mask_geometry, target_geometry);
  if (!data) return {};
  return RegionFromData(*data);
}

}  // namespace kelmar
