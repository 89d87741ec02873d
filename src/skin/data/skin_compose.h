#pragma once
// Building target-sized images out of skin pieces: fixed corners, edges and
// centre tiled (or stretched, nearest pixel), all by copying row runs.
//
// Every function takes the piece as a view of its own pixels (the piece
// rectangle already cut out of the skin picture), so W0 × H0 is the view's
// size and all source coordinates are relative to the piece.
#include "base/image.h"
#include "skin/data/skin_geometry.h"

namespace kelmar {

// Copies source rectangle `from` of `src` to rectangle `to` of `dst`, scaling
// to nearest pixels (rows and columns repeated or dropped, no smoothing) when
// the sizes differ. Parts outside either image are skipped.
void CopyImageRect(const ImageView& dst, const Rect& to, const ImageView& src, const Rect& from);

// Fills `to` with copies of `from` laid from its top-left corner; the copies
// in the last column and row are cut at the right and bottom, showing the
// start of the source. A source of zero size (or one outside `src`) tiles
// nothing.
void TileImageRect(const ImageView& dst, const Rect& to, const ImageView& src, const Rect& from);

struct StretchEdges {
  bool left = false;
  bool right = false;
  bool top = false;
  bool bottom = false;
};

// Sets `target` to w × h and composes the piece into it: tiled edges (stretched
// where `stretch` says), the eight corner pieces, and the tiled centre when
// `fill_centre`. `piece_geometry` is SC/LT/RT/LB/RB, `target_geometry` the
// same at the target size (ScaleSkinGeometry). An empty piece, or RB equal to
// LT in x or y, draws nothing.
void ComposeNinePartStretched(const ImageView& piece, const SkinGeometry& piece_geometry,
                              const SkinGeometry& target_geometry, int w, int h, bool fill_centre,
                              StretchEdges stretch, Image& target);
inline void ComposeNinePart(const ImageView& piece, const SkinGeometry& piece_geometry,
                            const SkinGeometry& target_geometry, int w, int h, bool fill_centre,
                            Image& target) {
  ComposeNinePartStretched(piece, piece_geometry, target_geometry, w, h, fill_centre, {}, target);
}

// The four border images of a window frame of w × h (the client area is the
// window's own). An image whose band is empty keeps its old content.
void ComposeFrameBorders(const ImageView& piece, const SkinGeometry& piece_geometry,
                         const SkinGeometry& target_geometry, int w, int h, StretchEdges stretch,
                         Image& top, Image& bottom, Image& left, Image& right);

// Fixed left and right columns, the middle tiled: target w × H0.
void ComposeHorizontal(const ImageView& piece, int fixed_left, int fixed_right, int w, Image& target);
// Fixed top and bottom rows, the middle tiled: target W0 × h.
void ComposeVertical(const ImageView& piece, int fixed_top, int fixed_bottom, int h, Image& target);

// The four border pieces of a mask picture at the target geometry (the
// window's client area has no mask). Pieces of no size keep their content.
void ComposeMaskBorders(const ImageView& mask, const SkinGeometry& mask_geometry,
                        const SkinGeometry& target_geometry, Image& top, Image& bottom, Image& left,
                        Image& right);

// Draws cell n (from 1) of a strip of k equal cells at x, y, leaving out the
// pixels of the cell's bottom-left colour (transparent). Cells outside 1 … k
// and empty strips draw nothing.
void DrawGlyphCell(const ImageView& target, int x, int y, int n, int k, const ImageView& strip);

}  // namespace kelmar
