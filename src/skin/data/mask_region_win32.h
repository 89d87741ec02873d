#pragma once
// Window regions from mask pictures: one region-data block, one
// ExtCreateRegion call (combining rectangle by rectangle is far slower).
#include "framework/handles.h"
#include "skin/data/mask_region.h"

namespace kelmar {

// The region of a rectangle list; null when the system refuses it.
RegionHandle RegionFromData(const RegionData& data);
// The black pixels of the mask, moved by dx, dy; null for an empty mask.
RegionHandle MaskToRegion(const ImageView& mask, int dx, int dy);
inline RegionHandle RegionFromMask(const ImageView& mask) { return MaskToRegion(mask, 0, 0); }
// The shape of a window at its target geometry (ComposeMaskRegionData), or
// null: the window is then left unshaped.
RegionHandle ComposeMaskRegion(const ImageView& mask, const SkinGeometry& mask_geometry,
                                   const SkinGeometry& target_geometry);

}  // namespace kelmar
