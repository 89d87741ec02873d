#include "skin/data/skin_scale.h"

#include <algorithm>

#include "base/display_scale.h"
#include "imageio/stb_codecs.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_geometry.h"

namespace kelmar {

void SkinGeometryScaler::Length(std::string_view, int32_t& value, int32_t) { value = ScaleLength(value, dpi_); }

void SkinGeometryScaler::RectKey(std::string_view, Rect& value) {
  value = {ScaleLength(value.left, dpi_), ScaleLength(value.top, dpi_), ScaleLength(value.right, dpi_),
           ScaleLength(value.bottom, dpi_)};
}

void SkinGeometryScaler::PointKey(std::string_view, Point& value) {
  value = {ScaleLength(value.x, dpi_), ScaleLength(value.y, dpi_)};
}

namespace {

// A control's client rectangle and corner points are scaled apart from its
// piece's edges, so one can end a pixel past the scaled piece: kept in it.
void KeepInPiece(TksDataSkinCustomControl& c) {
  const int32_t w = RectWidth(c.skinrect), h = RectHeight(c.skinrect);
  if (w < 1 || h < 1) return;
  auto in = [](int32_t& v, int32_t most) { v = std::clamp(v, int32_t(0), most); };
  in(c.clientrect.left, w);
  in(c.clientrect.right, w);
  in(c.clientrect.top, h);
  in(c.clientrect.bottom, h);
  for (Point* p : {&c.lefttoppoint, &c.righttoppoint, &c.leftbottompoint, &c.rightbottompoint}) {
    in(p->x, w);
    in(p->y, h);
  }
}

}  // namespace

void ScaleSkinGeometry(TksSkinData& skin, int dpi) {
  SkinGeometryScaler scaler(dpi);
  skin.VisitFormInfo(scaler);
  skin.PopupWindow.VisitFields(scaler);
  skin.HintWindow.VisitFields(scaler);
  for (TksDataSkinArea& area : skin.SkinAreas) scaler.RectKey({}, area.AreaRect);
  for (auto& record : skin.ObjectData) record->VisitFields(scaler);
  for (auto& record : skin.ControlData) {
    record->VisitFields(scaler);
    if (auto* control = dynamic_cast<TksDataSkinCustomControl*>(record.get())) KeepInPiece(*control);
  }
}

// ------------------------------------------------------------------ grids

void PictureGrid::AddRect(const Rect& r) {
  xs.push_back({r.left, 0});
  xs.push_back({r.right, 0});
  ys.push_back({r.top, 0});
  ys.push_back({r.bottom, 0});
}

void PictureGrid::AddPoint(Point piece, Point p) {
  xs.push_back({piece.x, p.x});
  ys.push_back({piece.y, p.y});
}

namespace {

// The rectangles and points of a record, as its fields list them.
class GeometryCollector final : public SkinGeometryVisitor {
 public:
  void RectKey(std::string_view, Rect& value) override { rects.push_back(value); }
  void PointKey(std::string_view, Point& value) override { points.push_back(value); }

  std::vector<Rect> rects;
  std::vector<Point> points;
};

// Every rectangle's edges; the points inside each piece of the size of
// `base` (a record's state pictures share its corner points), or inside the
// whole picture when there is no base.
void AddGeometry(PictureGrid& grid, const GeometryCollector& g, const Rect* base) {
  for (const Rect& r : g.rects) grid.AddRect(r);
  for (const Point& p : g.points) {
    if (!base) {
      grid.AddPoint({0, 0}, p);
      continue;
    }
    if (RectIsEmpty(*base)) continue;
    for (const Rect& r : g.rects)
      if (r.Width() == base->Width() && r.Height() == base->Height()) grid.AddPoint({r.left, r.top}, p);
  }
}

// A menu item's fixed left and right parts, in its item and divider pieces.
void AddMenuItemOffsets(PictureGrid& grid, const TksDataSkinMenuItem& item) {
  for (const Rect* r : {&item.skinrect, &item.activeskinrect}) {
    if (RectIsEmpty(*r)) continue;
    grid.xs.push_back({r->left, item.itemleftoffset});
    grid.xs.push_back({r->right, -item.itemrightoffset});
  }
  if (!RectIsEmpty(item.dividerrect)) {
    grid.xs.push_back({item.dividerrect.left, item.dividerleftoffset});
    grid.xs.push_back({item.dividerrect.right, -item.dividerrightoffset});
  }
}

// The pieces of a control drawn with a colour left out.
void AddKeyedPieces(PictureGrid& grid, const TksDataSkinControl& record) {
  auto add = [&](std::initializer_list<Rect> rects, bool corner, uint32_t key) {
    for (const Rect& r : rects)
      if (!RectIsEmpty(r)) grid.keyed.push_back({r, corner, key});
  };
  if (auto* c = dynamic_cast<const TksDataSkinCheckRadioControl*>(&record))
    add({c->checkimagerect, c->uncheckimagerect, c->activecheckimagerect, c->activeuncheckimagerect,
         c->unenabledcheckimagerect, c->unenableduncheckimagerect},
        true, 0);
  if (auto* b = dynamic_cast<const TksDataSkinScrollBarControl*>(&record); b && b->thumbtransparent)
    add({b->thumbrect, b->activethumbrect, b->downthumbrect}, false, b->thumbtransparentcolor);
  if (auto* t = dynamic_cast<const TksDataSkinTrackBarControl*>(&record); t && t->buttontransparent)
    add({t->buttonrect, t->activebuttonrect}, false, t->buttontransparentcolor);
  if (auto* g = dynamic_cast<const TksDataSkinGaugeControl*>(&record); g && g->progresstransparent)
    add({g->progressrect}, false, g->progresstransparentcolor);
}

}  // namespace

SkinPictureGrids CollectPictureGrids(TksSkinData& skin) {
  SkinPictureGrids grids;
  grids.active.resize(skin.ActivePictures.size());
  grids.activeIsMask.resize(skin.ActivePictures.size());
  auto active = [&](int32_t index, bool mask) -> PictureGrid* {
    if (index < 0 || size_t(index) >= grids.active.size()) return nullptr;
    if (mask) grids.activeIsMask[size_t(index)] = true;
    return &grids.active[size_t(index)];
  };
  auto collect = [](TksDataSkinRecord& record) {
    GeometryCollector g;
    record.VisitFields(g);
    return g;
  };

  GeometryCollector form;
  skin.VisitFormInfo(form);
  AddGeometry(grids.frame, form, nullptr);
  for (const Point& p : {skin.rollupleftpoint, skin.rolluprightpoint}) grids.rollUp.AddPoint({0, 0}, p);

  // The popup and hint windows' pictures and masks are each one piece.
  auto addWindow = [&](TksDataSkinRecord& window, int32_t picture, int32_t mask) {
    const GeometryCollector g = collect(window);
    for (PictureGrid* grid : {active(picture, false), active(mask, true)})
      if (grid) AddGeometry(*grid, g, nullptr);
  };
  addWindow(skin.PopupWindow, skin.PopupWindow.windowpictureindex, skin.PopupWindow.maskpictureindex);
  addWindow(skin.HintWindow, skin.HintWindow.windowpictureindex, skin.HintWindow.maskpictureindex);

  for (auto& record : skin.ObjectData) {
    PictureGrid* grid = record->skinrectinapicture ? active(record->activepictureindex, false) : &grids.frame;
    if (!grid) continue;
    AddGeometry(*grid, collect(*record), &record->skinrect);
    if (auto* item = dynamic_cast<const TksDataSkinMenuItem*>(record.get())) AddMenuItemOffsets(*grid, *item);
    if (auto* t = dynamic_cast<const TksDataSkinTrackBar*>(record.get()); t && t->buttontransparent)
      for (const Rect& r : {t->buttonrect, t->activebuttonrect})
        if (!RectIsEmpty(r)) grid->keyed.push_back({r, false, t->buttontransparentcolor});
  }
  for (auto& record : skin.ControlData) {
    const GeometryCollector g = collect(*record);
    for (PictureGrid* grid : {active(record->pictureindex, false), active(record->maskpictureindex, true)})
      if (grid) AddGeometry(*grid, g, &record->skinrect);
    if (PictureGrid* grid = active(record->pictureindex, false)) AddKeyedPieces(*grid, *record);
  }
  return grids;
}

// ---------------------------------------------------------------- scaling

std::vector<AxisStep> GridAxisSteps(std::span<const GridLine> lines, int32_t size96, int sourceDpi, int dpi) {
  std::vector<AxisStep> steps{{0, 0}, {ScaleLength(size96, sourceDpi), ScaleLength(size96, dpi)}};
  auto inside = [size96](int32_t v) { return v >= 0 && v <= size96; };
  for (const GridLine& l : lines)
    if (!inside(l.origin) || !inside(l.origin + l.offset)) return steps;

  auto step = [&](const GridLine& l) {
    return AxisStep{ScaleLength(l.origin, sourceDpi) + ScaleLength(l.offset, sourceDpi),
                    ScaleLength(l.origin, dpi) + ScaleLength(l.offset, dpi)};
  };
  auto bySource = [](const AxisStep& a, const AxisStep& b) { return a.source < b.source; };
  // The pieces' edges first: ScaleLength keeps their order at any DPI.
  for (const GridLine& l : lines)
    if (l.offset == 0) steps.push_back(step(l));
  std::stable_sort(steps.begin(), steps.end(), bySource);
  steps.erase(std::unique(steps.begin(), steps.end(),
                          [](const AxisStep& a, const AxisStep& b) { return a.source == b.source; }),
              steps.end());
  // Points inside pieces are rounded apart from the edges: one that would
  // cross a neighbouring step, or falls on one, is left out.
  for (const GridLine& l : lines) {
    if (l.offset == 0) continue;
    const AxisStep s = step(l);
    auto next = std::lower_bound(steps.begin(), steps.end(), s, bySource);
    if (next == steps.end() || next == steps.begin() || next->source == s.source) continue;
    if (s.target < std::prev(next)->target || s.target > next->target) continue;
    steps.insert(next, s);
  }
  return steps;
}

namespace {

constexpr Pixel kMaskIn = MakePixel(0, 0, 0);
constexpr Pixel kMaskOut = MakePixel(255, 255, 255);

// A mask as the share of the window's part: white where it is black.
Image MaskCoverage(const ImageView& mask) {
  Image out(mask.Width(), mask.Height());
  for (int y = 0; y < mask.Height(); ++y)
    for (int x = 0; x < mask.Width(); ++x) {
      const Pixel p = mask.At(x, y);
      out.At(x, y) = PixelR(p) + PixelG(p) + PixelB(p) == 0 ? kMaskOut : kMaskIn;
    }
  return out;
}

}  // namespace

namespace {

Rect ScaleRect(const Rect& r, int dpi) {
  return {ScaleLength(r.left, dpi), ScaleLength(r.top, dpi), ScaleLength(r.right, dpi), ScaleLength(r.bottom, dpi)};
}

bool SameColour(Pixel a, Pixel b) { return ((a ^ b) & 0xFFFFFFu) == 0; }

// Each keyed piece's key made transparent, so that the area averages leave
// it out; the keys, in the order of the pieces.
std::vector<Pixel> ClearKeys(const ImageView& image, std::span<const KeyedPiece> pieces, int dpi) {
  std::vector<Pixel> keys;
  for (const KeyedPiece& piece : pieces) {
    const ImageView area = image.Sub(ScaleRect(piece.rect, dpi));
    if (area.IsEmpty()) {
      keys.push_back(0);
      continue;
    }
    const Pixel key = piece.keyAtBottomLeft ? area.At(0, area.Height() - 1) : PixelFromColor(piece.key);
    keys.push_back(key);
    for (int y = 0; y < area.Height(); ++y)
      for (Pixel& p : std::span(area.Row(y), size_t(area.Width())))
        if (SameColour(p, key)) p &= 0xFFFFFFu;
  }
  return keys;
}

// The scaled keyed pieces two-state again: the key where less than half of a
// pixel's area is the piece's own colours, opaque colours elsewhere.
void RestoreKeys(const ImageView& image, std::span<const KeyedPiece> pieces, std::span<const Pixel> keys, int dpi) {
  for (size_t i = 0; i < pieces.size(); ++i) {
    const ImageView area = image.Sub(ScaleRect(pieces[i].rect, dpi));
    for (int y = 0; y < area.Height(); ++y)
      for (Pixel& p : std::span(area.Row(y), size_t(area.Width())))
        p = PixelA(p) < 128 ? (keys[i] | 0xFF000000u) : (p | 0xFF000000u);
  }
}

}  // namespace

Image ScaleSkinPicture(const ImageView& source, int sourceDpi, Point size96, const PictureGrid& grid, int dpi,
                       bool mask) {
  std::vector<AxisStep> xs = GridAxisSteps(grid.xs, size96.x, sourceDpi, dpi);
  std::vector<AxisStep> ys = GridAxisSteps(grid.ys, size96.y, sourceDpi, dpi);
  // A source not of the size its DPI gives is scaled as a whole.
  const bool whole = xs.back().source != source.Width() || ys.back().source != source.Height();
  if (whole) {
    xs = {{0, 0}, {source.Width(), xs.back().target}};
    ys = {{0, 0}, {source.Height(), ys.back().target}};
  }
  Image out(xs.back().target, ys.back().target);
  if (out.IsEmpty() || source.IsEmpty()) return out;
  // Masks and keyed pieces are scaled from a copy of their own.
  Image copy;
  std::vector<Pixel> keys;
  const std::span<const KeyedPiece> keyed =
      mask || whole ? std::span<const KeyedPiece>() : std::span<const KeyedPiece>(grid.keyed);
  if (mask) {
    copy = MaskCoverage(source);
  } else if (!keyed.empty()) {
    copy = Image(source.Width(), source.Height());
    for (int y = 0; y < source.Height(); ++y) std::copy_n(source.Row(y), source.Width(), copy.Row(y));
    keys = ClearKeys(copy, keyed, sourceDpi);
  }
  const ImageView from = copy.IsEmpty() ? source : copy.View();
  for (size_t j = 0; j + 1 < ys.size(); ++j)
    for (size_t i = 0; i + 1 < xs.size(); ++i) {
      const Rect target{xs[i].target, ys[j].target, xs[i + 1].target, ys[j + 1].target};
      if (target.IsEmpty()) continue;
      ResizeArea(from.Sub({xs[i].source, ys[j].source, xs[i + 1].source, ys[j + 1].source}), out.View().Sub(target));
    }
  if (mask)
    for (int y = 0; y < out.Height(); ++y)
      for (Pixel& p : std::span(out.Row(y), size_t(out.Width()))) p = PixelR(p) >= 128 ? kMaskIn : kMaskOut;
  RestoreKeys(out, keyed, keys, dpi);
  return out;
}

int ChooseDrawing(std::span<const int> drawingDpis, int dpi) {
  int best = -1;
  for (size_t i = 0; i < drawingDpis.size(); ++i) {
    const int d = drawingDpis[i];
    if (best < 0) {
      best = int(i);
      continue;
    }
    const int b = drawingDpis[size_t(best)];
    // At or above beats below; among those at or above the smaller, below them the larger.
    const bool better = d >= dpi ? (b < dpi || d < b) : (b < dpi && d > b);
    if (better) best = int(i);
  }
  return best;
}

}  // namespace kelmar
