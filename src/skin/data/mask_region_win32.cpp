#include "skin/data/mask_region_win32.h"

#include <cstddef>
#include <cstring>
#include <vector>

namespace kelmar {

static_assert(sizeof(RECT) == sizeof(Rect) && offsetof(RECT, bottom) == offsetof(Rect, bottom),
              "region rectangles are copied as they are");

skin_gdi::Region RegionFromData(const RegionData& data) {
  const size_t rects_bytes = data.rects.size() * sizeof(RECT);
  // DWORD elements keep the block aligned for the header.
  std::vector<DWORD> block((sizeof(RGNDATAHEADER) + rects_bytes + sizeof(DWORD) - 1) / sizeof(DWORD));
  auto* region = reinterpret_cast<RGNDATA*>(block.data());
  region->rdh.dwSize = sizeof(RGNDATAHEADER);
  region->rdh.iType = RDH_RECTANGLES;
  region->rdh.nCount = DWORD(data.rects.size());
  region->rdh.nRgnSize = 0;
  region->rdh.rcBound = skin_gdi::ToRECT(data.bounds);
  if (rects_bytes) std::memcpy(region->Buffer, data.rects.data(), rects_bytes);
  return skin_gdi::Region(
      ExtCreateRegion(nullptr, DWORD(sizeof(RGNDATAHEADER) + rects_bytes), region));
}

skin_gdi::Region MaskToRegion(const ImageView& mask, int dx, int dy) {
  const auto data = MaskToRegionData(mask, dx, dy);
  if (!data) return {};
  return RegionFromData(*data);
}

skin_gdi::Region ComposeMaskRegion(const ImageView& mask, const SkinGeometry& mask_geometry,
                                   const SkinGeometry& target_geometry) {
  const auto data = ComposeMaskRegionData(mask, mask_geometry, target_geometry);
  if (!data) return {};
  return RegionFromData(*data);
}

}  // namespace kelmar
