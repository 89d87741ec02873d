#include "skin/controls/skin_panel_win32.h"

#include "framework/handles.h"
#include "skin/data/skin_compose.h"
#include "skin/data/skin_draw_win32.h"

namespace kelmar {

namespace {

// One line of text at its aligned place in r, clipped to r.
void DrawAlignedText(HDC dc, const TFont& font, const std::wstring& text, const Rect& r, Alignment alignment) {
  if (text.empty()) return;
  TCanvas canvas(dc);
  const SIZE extent = canvas.TextExtent(font, text);
  const Point at = AlignedTextOrigin(r, alignment, extent.cx, extent.cy);
  ScopedDcState state(dc);
  IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
  canvas.TextOut(font, at.x, at.y, text);
}

}  // namespace

// --------------------------------------------------------------- TksSkinPanel

TksSkinPanel::TksSkinPanel(TComponent* owner, std::string name) : TksSkinCustomControl(owner, std::move(name)) {
  SetSkinDataName("panel");
  SetBounds(0, 0, 150, 150);
}

void TksSkinPanel::SetBorderStyle(TksSkinBorderStyle style) {
  borderStyle_ = style;
  if (SectionIndex() >= 0) return;
  Invalidate();
  AlignControls();
}

void TksSkinPanel::SetCaptionMode(bool on) {
  captionMode_ = on;
  Invalidate();
  AlignControls();
}

void TksSkinPanel::SetDefaultCaptionHeight(int height) {
  defaultCaptionHeight_ = height;
  if (SectionIndex() >= 0 || !captionMode_) return;
  Invalidate();
  AlignControls();
}

void TksSkinPanel::SetDefaultAlignment(Alignment alignment) {
  defaultAlignment_ = alignment;
  if (SectionIndex() < 0 && captionMode_) Invalidate();
}

void TksSkinPanel::SetGlyph(Image glyph) {
  glyph_ = std::move(glyph);
  Invalidate();
}

void TksSkinPanel::SetNumGlyphs(int n) {
  numGlyphs_ = n == 2 ? 2 : 1;
  Invalidate();
}

void TksSkinPanel::SetSpacing(int spacing) {
  spacing_ = spacing;
  Invalidate();
}

void TksSkinPanel::SetCheckedMode(bool on) {
  checkedMode_ = on;
  Invalidate();
}

void TksSkinPanel::SetChecked(bool checked) {
  checked_ = checked;
  if (checkedMode_) {
    Invalidate();
    if (AutoEnabledControls)
      for (TControl* c : Controls()) c->SetEnabled(checked);
  }
  if (OnChecked) OnChecked();
}

void TksSkinPanel::SetRollUpMode(bool on) {
  rollUpMode_ = on;
  if (SectionIndex() < 0 && captionMode_) Invalidate();
}

void TksSkinPanel::SetRollUpState(bool collapsed) {
  if (collapsed == rollUpState_) return;
  if (!rollUpMode_) {
    rollUpState_ = false;
    return;
  }
  rollUpState_ = collapsed;
  if (collapsed)
    Collapse();
  else
    Expand();
  if (OnChangeRollUpState) OnChangeRollUpState();
}

void TksSkinPanel::ShowChildren(bool show) {
  for (TControl* c : Controls()) c->SetVisible(show);
}

void TksSkinPanel::Collapse() {
  if (realHeight_ != -1) return;
  realHeight_ = Height();
  ShowChildren(false);
  ReadSkinSection();
  const int height = SectionIndex() < 0 ? CaptionBandHeight() + 1
                                        : Height() - (scaled_.clientrect.bottom - scaled_.clientrect.top);
  SetBounds(Left(), Top(), Width(), height);
}

void TksSkinPanel::Expand() {
  if (realHeight_ == -1) return;
  SetBounds(Left(), Top(), Width(), realHeight_);
  realHeight_ = -1;
  ShowChildren(true);
  AlignControls();
}

void TksSkinPanel::ReadSkinSection() {
  bgpictureindex_ = -1;
  TksSkinCustomControl::ReadSkinSection();
  if (const auto* record = dynamic_cast<const TksDataSkinPanelControl*>(SectionRecord())) {
    bgpictureindex_ = record->bgpictureindex;
    captionrect_ = record->captionrect;
    checkimagerect_ = record->checkimagerect;
    uncheckimagerect_ = record->uncheckimagerect;
    alignment_ = record->alignment;
    font_ = record->font;
  }
}

const Image* TksSkinPanel::BackgroundPicture() const {
  const TksSkinData* skin = Skin();
  if (!skin || SectionIndex() < 0 || bgpictureindex_ < 0 || size_t(bgpictureindex_) >= skin->ActivePictures.size())
    return nullptr;
  return &skin->ActivePictures[size_t(bgpictureindex_)];
}

bool TksSkinPanel::TilesClient() const {
  return borderStyle_ == TksSkinBorderStyle::bvNone && stretch_ == TksStretchKind::skBoth && !captionMode_;
}

Rect TksSkinPanel::AlignArea() const {
  return PanelClientArea(SectionIndex() >= 0, bgpictureindex_ != -1, borderStyle_, captionMode_,
                         CaptionBandHeight(), stretch_, scaled_.clientrect, Width(), Height());
}

Rect TksSkinPanel::ScaledCaptionRect() const {
  const bool scales = stretch_ != TksStretchKind::skFixed && stretch_ != TksStretchKind::skNone;
  return scales ? MapSkinRect(captionrect_) : captionrect_;
}

void TksSkinPanel::SetBounds(int left, int top, int width, int height) {
  TksSkinCustomControl::SetBounds(left, top, width, height);
  if (SectionIndex() < 0) Invalidate();
}

void TksSkinPanel::ApplySkinChange() {
  TksSkinCustomControl::ApplySkinChange();
  if (realHeight_ == -1) {
    AlignControls();
    return;
  }
  // Collapsed: the caption's height of the new skin, the same expanded one.
  const int expanded = realHeight_;
  realHeight_ = -1;
  Collapse();
  realHeight_ = expanded;
}

void TksSkinPanel::PaintWindow(TCanvas& canvas) {
  ReadSkinSection();
  if (const Image* background = BackgroundPicture()) {
    // A background picture replaces every other drawing of the panel.
    TBitmap tiles(Width(), Height());
    if (tiles.IsEmpty()) return;
    TileImageRect(tiles.Pixels(), ClientRect(), background->View(), background->Bounds());
    BitBlt(canvas.Handle(), 0, 0, Width(), Height(), tiles.Dc(), 0, 0, SRCCOPY);
    return;
  }
  TksSkinCustomControl::PaintWindow(canvas);
}

int TksSkinPanel::CaptionBlockWidth(HDC dc, const TFont& font) const {
  const int text = Caption().empty() ? 0 : int(TCanvas(dc).TextExtent(font, Caption()).cx);
  return glyph_.IsEmpty() ? text : text + glyph_.Width() / numGlyphs_ + Scaled(spacing_);
}

void TksSkinPanel::DrawCaptionBlock(HDC dc, const Rect& r, int x, int y, const TFont& font) {
  int text_x = x;
  const int cell = !Enabled() && numGlyphs_ == 2 ? 2 : 1;
  if (!glyph_.IsEmpty()) text_x += glyph_.Width() / numGlyphs_ + Scaled(spacing_);
  {
    ScopedDcState state(dc);
    IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
    TCanvas(dc).TextOut(font, text_x, y, Caption());
  }
  if (!glyph_.IsEmpty())
    DrawGlyphCell(dc, x, r.top + r.Height() / 2 - glyph_.Height() / 2, cell, numGlyphs_, glyph_.View());
}

void TksSkinPanel::DrawSkinImage(TBitmap& bitmap) {
  if (TilesClient()) {
    if (picture_)
      TileImageRect(bitmap.Pixels(), ClientRect(), picture_->View(),
                    geometry_.clientrect.Offset(geometry_.skinrect.left, geometry_.skinrect.top));
    return;
  }
  ComposeSkinImage(bitmap, geometry_.skinrect);
  if (!Caption().empty() && !RectIsEmpty(captionrect_)) DrawSkinCaption(bitmap.Dc());
}

void TksSkinPanel::DrawSkinCaption(HDC dc) {
  Rect r = ScaledCaptionRect();
  if (rollUpMode_) r.right -= 12;
  if (checkedMode_) {
    const Rect& mark = checked_ ? checkimagerect_ : uncheckimagerect_;
    DrawSkinPiece(dc, r.left, r.top + r.Height() / 2 - RectHeight(mark) / 2, mark);
    r.left += RectWidth(mark) + 2;
  }
  const TFont font = SectionFont(font_, font_.color);
  const int th = int(TCanvas(dc).TextExtent(font, Caption()).cy);
  const Point at = AlignedTextOrigin(r, alignment_, CaptionBlockWidth(dc, font), th);
  if (rollUpMode_) DrawArrow(dc, {r.right, r.top, r.right + 10, r.bottom}, font_.color, rollUpState_ ? 4 : 3);
  DrawCaptionBlock(dc, r, at.x, at.y, font);
}

void TksSkinPanel::DrawDefaultImage(TBitmap& bitmap) {
  TksSkinCustomControl::DrawDefaultImage(bitmap);
  Rect r = ClientRect();
  DrawSkinBorder(bitmap.Dc(), r, borderStyle_);
  if (captionMode_) DrawDefaultCaption(bitmap.Dc());
}

void TksSkinPanel::DrawDefaultCaption(HDC dc) {
  Rect r;
  if (borderStyle_ != TksSkinBorderStyle::bvFrame) {
    r = {1, 1, Width() - 1, CaptionBandHeight()};
    DrawSkinBorder(dc, r, TksSkinBorderStyle::bvLowered);
    DrawSkinBorder(dc, r, TksSkinBorderStyle::bvRaised);
  } else {
    r = {0, 0, Width(), CaptionBandHeight()};
    DrawSkinBorder(dc, r, TksSkinBorderStyle::bvFrame);
    DrawEdgeFrame(dc, r, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNFACE));
  }
  if (checkedMode_) r.left += Scaled(20);
  if (rollUpMode_) r.right -= Scaled(10);
  const TColor text = GetSysColor(COLOR_BTNTEXT);
  const TFont font = PlainFont(DefaultFont().Color());
  const int bw = CaptionBlockWidth(dc, font);
  const int th = int(TCanvas(dc).TextExtent(font, Caption()).cy);
  const int y = r.top + r.Height() / 2 - th / 2;
  const int x = defaultAlignment_ == Alignment::taRightJustify ? r.right - bw
                : defaultAlignment_ == Alignment::taCenter     ? r.left + Scaled(2) + r.Width() / 2 - bw / 2
                                                               : r.left + Scaled(2);
  if (checkedMode_) {
    const int top = r.top + r.Height() / 2 - Scaled(7);
    TCanvas(dc).FrameRect({Scaled(5), top, Scaled(19), top + Scaled(14)}, GetSysColor(COLOR_BTNSHADOW));
    if (checked_) {
      // Drawn at its 96-DPI size and scaled about its place.
      const int mx = Scaled(8), my = top + Scaled(2);
      const ScopedGlyphScale scale(dc, mx, my, Dpi());
      DrawCheckMark(dc, mx, my, text);
    }
  }
  DrawCaptionBlock(dc, r, x, y, font);
  if (rollUpMode_) {
    const Rect arrow{r.right, r.top, r.right + Scaled(10), r.bottom};
    const ScopedGlyphScale scale(dc, arrow.left + arrow.Width() / 2, arrow.top + arrow.Height() / 2, Dpi());
    DrawArrow(dc, arrow, text, rollUpState_ ? 4 : 3);
  }
}

void TksSkinPanel::MouseButtonUp(TMouseButton button, TShiftState shift, Point p) {
  if (button != TMouseButton::mbLeft || !captionMode_ || (!rollUpMode_ && !checkedMode_)) return;
  const Rect caption = SectionIndex() >= 0 ? ScaledCaptionRect() : Rect{1, 1, Width() - 1, CaptionBandHeight()};
  if (!PointInRectInclusive(caption, p)) return;
  if (checkedMode_) SetChecked(!checked_);
  if (rollUpMode_) SetRollUpState(!rollUpState_);
}

// ----------------------------------------------------------- TksSkinStatusBar

TksSkinStatusBar::TksSkinStatusBar(TComponent* owner, std::string name) : TksSkinPanel(owner, std::move(name)) {
  SetSkinDataName("statusbar");
  SetAlign(TAlign::alBottom);
  SetDefaultHeight(21);
  SetBorderStyle(TksSkinBorderStyle::bvNone);
}

void TksSkinStatusBar::SetSkinData(TksSkinDataComponent* data) {
  TksSkinPanel::SetSkinData(data);
  for (TControl* c : Controls())
    if (auto* skinned = dynamic_cast<TksSkinControl*>(c)) skinned->SetSkinData(data);
}

std::wstring TksSkinStatusBar::AccName(int child) const {
  std::wstring name = TksSkinPanel::AccName(child);
  if (child != 0 || !name.empty()) return name;
  for (TControl* c : Controls()) {
    auto* skinned = dynamic_cast<TksSkinControl*>(c);
    if (!skinned || !skinned->Visible()) continue;
    const std::wstring part = skinned->AccName(0);
    if (part.empty()) continue;
    if (!name.empty()) name += L" ";
    name += part;
  }
  return name;
}

// --------------------------------------------------------------- TksSkinLabel

TksSkinLabel::TksSkinLabel(TComponent* owner, std::string name) : TksSkinCustomControl(owner, std::move(name)) {
  SetSkinDataName("label");
  SetBounds(0, 0, 75, 21);
}

void TksSkinLabel::SetUseSkinSize(bool use) {
  useSkinSize_ = use;
  Invalidate();
}

void TksSkinLabel::SetBorderStyle(TksSkinBorderStyle style) {
  borderStyle_ = style;
  if (SectionIndex() < 0) Invalidate();
}

void TksSkinLabel::SetAlignment(Alignment alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  Invalidate();
}

void TksSkinLabel::SetAutoSize(bool on) {
  autoSize_ = on;
  if (on) FitWidth();
}

void TksSkinLabel::CaptionChanged() {
  if (autoSize_) FitWidth();
  TksSkinCustomControl::CaptionChanged();
}

void TksSkinLabel::FitWidth() {
  if (Align() == TAlign::alTop || Align() == TAlign::alBottom || Align() == TAlign::alClient) return;
  ReadSkinSection();
  int w = Width(), h = Height();
  FitToSkin(w, h);
  if (const int overflow = TextOverflow(); overflow != 0) SetBounds(Left(), Top(), Width() + overflow, Height());
}

TFont TksSkinLabel::LabelFont() const {
  return SectionIndex() >= 0 ? SectionFont(font_, font_.color) : PlainFont(DefaultFont().Color());
}

int TksSkinLabel::CaptionWidth() {
  WindowDc screen(nullptr);
  return Caption().empty() ? 0 : int(TCanvas(screen).TextExtent(LabelFont(), Caption()).cx);
}

int TksSkinLabel::TextOverflow() {
  if (SectionIndex() < 0) return CaptionWidth() + 4 - Width();
  if (stretch_ == TksStretchKind::skFixed) return 0;
  return CaptionWidth() - scaled_.clientrect.Width();
}

void TksSkinLabel::ReadSkinSection() {
  TksSkinCustomControl::ReadSkinSection();
  if (const auto* record = dynamic_cast<const TksDataSkinLabelControl*>(SectionRecord())) font_ = record->font;
  if (SectionIndex() >= 0 && stretch_ == TksStretchKind::skFixed) autoSize_ = false;
}

void TksSkinLabel::FitToSkin(int& width, int& height) {
  if (SectionIndex() < 0) return;
  const auto fit = [&] {
    if (SkinSized()) {
      TksSkinCustomControl::FitToSkin(width, height);
      return;
    }
    // Width and height free: only the right-hand side follows the width.
    const int dw = width - RectWidth(geometry_.skinrect);
    scaled_ = {geometry_.lefttoppoint, {geometry_.righttoppoint.x + dw, geometry_.righttoppoint.y},
               geometry_.leftbottompoint, geometry_.rightbottompoint, geometry_.clientrect};
    scaled_.clientrect.right += dw;
  };
  fit();
  if (!autoSize_) return;
  if (const int overflow = TextOverflow(); overflow > 0) {
    width += overflow;
    fit();
  }
}

void TksSkinLabel::UpdateSkinRegion() {
  if (useSkinSize_) TksSkinCustomControl::UpdateSkinRegion();
}

Rect TksSkinLabel::ComposeLabelImage(TBitmap& bitmap) {
  if (SkinSized()) {
    ComposeSkinImage(bitmap, geometry_.skinrect);
    return scaled_.clientrect;
  }
  // The piece composed across at its own height, then stretched to ours.
  if (picture_) {
    const ImageView piece = picture_->View().Sub(geometry_.skinrect);
    Image across;
    ComposeHorizontal(piece, geometry_.lefttoppoint.x, RectWidth(geometry_.skinrect) - geometry_.righttoppoint.x,
                      Width(), across);
    CopyImageRect(bitmap.Pixels(), ClientRect(), across.View(), across.Bounds());
  }
  Rect text = scaled_.clientrect;
  text.bottom += Height() - RectHeight(geometry_.skinrect);
  return text;
}

void TksSkinLabel::DrawLabelText(HDC dc, const Rect& r) { DrawAlignedText(dc, LabelFont(), Caption(), r, alignment_); }

void TksSkinLabel::DrawSkinImage(TBitmap& bitmap) { DrawLabelText(bitmap.Dc(), ComposeLabelImage(bitmap)); }

void TksSkinLabel::DrawDefaultImage(TBitmap& bitmap) {
  TksSkinCustomControl::DrawDefaultImage(bitmap);
  Rect r = ClientRect();
  DrawSkinBorder(bitmap.Dc(), r, borderStyle_);
  DrawLabelText(bitmap.Dc(), {2, 2, Width() - 2, Height() - 2});
}

// --------------------------------------------------------- TksSkinStatusPanel

TksSkinStatusPanel::TksSkinStatusPanel(TComponent* owner, std::string name) : TksSkinLabel(owner, std::move(name)) {
  SetSkinDataName("statuspanel");
  SetBounds(Left(), Top(), 120, Height());
}

void TksSkinStatusPanel::CaptionChanged() {
  TksSkinLabel::CaptionChanged();
  if (auto* bar = dynamic_cast<TksSkinStatusBar*>(Parent()); bar && bar->AccessibleName.empty() && bar->Caption().empty())
    AccNotify(EVENT_OBJECT_NAMECHANGE, bar->Handle());
}

void TksSkinStatusPanel::SetGlyph(Image glyph) {
  glyph_ = std::move(glyph);
  Invalidate();
}

void TksSkinStatusPanel::SetNumGlyphs(int n) {
  numGlyphs_ = n == 2 ? 2 : 1;
  Invalidate();
}

int TksSkinStatusPanel::CaptionWidth() {
  return TksSkinLabel::CaptionWidth() + (glyph_.IsEmpty() ? 0 : glyph_.Width() / numGlyphs_ + 3);
}

void TksSkinStatusPanel::DrawGlyph(HDC dc, Rect& r, int top, int height) {
  if (glyph_.IsEmpty()) return;
  const int cell = !Enabled() && numGlyphs_ == 2 ? 2 : 1;
  const int w = glyph_.Width() / numGlyphs_;
  DrawGlyphCell(dc, r.left, top + height / 2 - glyph_.Height() / 2, cell, numGlyphs_, glyph_.View());
  r.left += w + 2;
}

void TksSkinStatusPanel::DrawSkinImage(TBitmap& bitmap) {
  Rect r = ComposeLabelImage(bitmap);
  DrawGlyph(bitmap.Dc(), r, r.top, r.Height());
  DrawLabelText(bitmap.Dc(), r);
}

void TksSkinStatusPanel::DrawDefaultImage(TBitmap& bitmap) {
  TksSkinCustomControl::DrawDefaultImage(bitmap);
  Rect border = ClientRect();
  DrawSkinBorder(bitmap.Dc(), border, BorderStyle());
  const int inset = Scaled(3);
  Rect r{inset, inset, Width() - inset, Height() - inset};
  DrawGlyph(bitmap.Dc(), r, 0, Height());
  DrawLabelText(bitmap.Dc(), r);
}

}  // namespace kelmar
