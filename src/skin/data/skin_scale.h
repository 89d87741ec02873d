#pragma once
// The skin at a display's DPI. A description's numbers are 96-DPI numbers;
// at another DPI every length of the records grows with ScaleLength (both
// edges of a rectangle, so pieces side by side stay side by side), and each
// picture is scaled cell by cell on a grid made of the edges of the pieces
// the records place in it and the corner points inside them: every piece
// lands exactly on its scaled rectangle and no piece takes pixels of its
// neighbour.
#include <cstdint>
#include <span>
#include <vector>

#include "base/geometry.h"
#include "base/image.h"
#include "skin/data/skin_record.h"

namespace kelmar {

class TksSkinData;

// A visitor of a record's geometry alone: every other kind of field passes.
class SkinGeometryVisitor : public SkinFieldVisitor {
 public:
  void Integer(std::string_view, int32_t&, int32_t) override {}
  void Color(std::string_view, uint32_t&, uint32_t) override {}
  void Flag(std::string_view, bool&) override {}
  void String(std::string_view, std::string&, std::string_view) override {}
  void Font(std::string_view, SkinFont&) override {}
  void Named(std::string_view, int32_t&, const NamedValues&) override {}
  void NumberedLines(std::string_view, std::vector<std::string>&) override {}
};

// Scales the lengths a record lists from 96 DPI to `dpi`: rectangles edge by
// edge, points, and the integers that are lengths. Indices, counts, values,
// colours, flags, texts and fonts stay as they are.
class SkinGeometryScaler final : public SkinGeometryVisitor {
 public:
  explicit SkinGeometryScaler(int dpi) : dpi_(dpi) {}
  void Length(std::string_view key, int32_t& value, int32_t def) override;
  void RectKey(std::string_view key, Rect& value) override;
  void PointKey(std::string_view key, Point& value) override;

 private:
  int dpi_;
};

// Every length of the loaded skin's records, [FORMINFO], popup and hint
// window data and skin areas from 96 DPI to `dpi`. The pictures are left.
void ScaleSkinGeometry(TksSkinData& skin, int dpi);

// A place along one axis of a picture, in 96-DPI numbers: an edge of a piece
// (offset 0) or a point inside a piece at `offset` from its edge `origin`.
// Scaled it lies at ScaleLength(origin) + ScaleLength(offset), as the scaled
// records put it.
struct GridLine {
  int32_t origin = 0;
  int32_t offset = 0;
  friend bool operator==(const GridLine&, const GridLine&) = default;
};

// A piece drawn with one colour left out (a check mark keyed on its
// bottom-left pixel, a thumb on the record's colour 0x00BBGGRR): scaled
// without mixing that colour into the others, and kept two-state, each pixel
// either the key or a colour of the piece.
struct KeyedPiece {
  Rect rect;
  bool keyAtBottomLeft = false;
  uint32_t key = 0;
};

struct PictureGrid {
  std::vector<GridLine> xs, ys;
  std::vector<KeyedPiece> keyed;
  // Both edges of r, on both axes.
  void AddRect(const Rect& r);
  // A point inside a piece whose top-left corner is `piece`.
  void AddPoint(Point piece, Point p);
};

// The grids of the loaded skin's pictures, from its records while their
// numbers are still 96-DPI numbers.
struct SkinPictureGrids {
  PictureGrid frame;   // Picture, InactivePicture and Mask
  PictureGrid rollUp;  // RollUpPicture and RollUpMask
  std::vector<PictureGrid> active;
  // An active picture that a record names as its mask.
  std::vector<bool> activeIsMask;
};
SkinPictureGrids CollectPictureGrids(TksSkinData& skin);

// Where the cells of one axis lie: in the source picture and in the scaled
// one, from 0 to the picture's end, both in increasing order.
struct AxisStep {
  int32_t source = 0;
  int32_t target = 0;
  friend bool operator==(const AxisStep&, const AxisStep&) = default;
};
// The steps of an axis of 96-DPI length size96 for a picture drawn at
// sourceDpi (ScaleLength(size96, sourceDpi) long) scaled to dpi. The edges of
// pieces always land on their scaled places; a point inside a piece is a step
// where it keeps the order of the steps around it. A line past the picture's
// end (a picture too small for its pieces) leaves the axis one cell: the
// picture is scaled as a whole.
std::vector<AxisStep> GridAxisSteps(std::span<const GridLine> lines, int32_t size96, int sourceDpi, int dpi);

// `source` (drawn at sourceDpi, ScaleLength of its 96-DPI size `size96` on
// each axis) at dpi: each grid cell resampled onto its scaled cell by area
// averaging. A mask stays two-coloured: the window's part black, the rest
// white, each pixel by the greater share of the area it covers; so does the
// key of a keyed piece against the rest of it.
Image ScaleSkinPicture(const ImageView& source, int sourceDpi, Point size96, const PictureGrid& grid, int dpi,
                       bool mask);

// Which of the drawings of a skin (their DPIs) serves `dpi`: the one of the
// smallest DPI at or above it, else the one of the largest; the first of
// equals. None for an empty list.
int ChooseDrawing(std::span<const int> drawingDpis, int dpi);

}  // namespace kelmar
