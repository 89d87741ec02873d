#include "skin/data/skin_geometry.h"

namespace kelmar {

SkinGeometry ScaleSkinGeometry(const SkinGeometry& piece, int source_width, int source_height,
                               int target_width, int target_height) {
  const int dw = target_width - source_width;
  const int dh = target_height - source_height;
  SkinGeometry t;
  t.client = {piece.client.left, piece.client.top, piece.client.right + dw, piece.client.bottom + dh};
  t.lt = piece.lt;
  t.rt = {piece.rt.x + dw, piece.rt.y};
  t.lb = {piece.lb.x, piece.lb.y + dh};
  t.rb = {piece.rb.x + dw, piece.rb.y + dh};
  return t;
}

}  // namespace kelmar
