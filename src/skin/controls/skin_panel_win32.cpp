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

void TksSkinPanel::ReadSkinSection() {
  bgpictureindex_ = -1;
  TksSkinCustomControl::ReadSkinSection();
  if (const auto* record = dynamic_cast<const TksDataSkinPanelControl*>(SectionRecord())) {
    bgpictureindex_ = record->bgpictureindex;
    captionrect_ = record->captionrect;
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
  return borderStyle_ == TksSkinBorderStyle::bvNone && stretch_ == TksStretchKind::skBoth;
}

Rect TksSkinPanel::AlignArea() const {
  return PanelClientArea(SectionIndex() >= 0, bgpictureindex_ != -1, borderStyle_, false, 22, stretch_,
                         scaled_.clientrect, Width(), Height());
}

void TksSkinPanel::SetBounds(int left, int top, int width, int height) {
  TksSkinCustomControl::SetBounds(left, top, width, height);
  if (SectionIndex() < 0) Invalidate();
}

void TksSkinPanel::ApplySkinChange() {
  TksSkinCustomControl::ApplySkinChange();
  AlignControls();
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

void TksSkinPanel::DrawSkinImage(TBitmap& bitmap) {
  if (TilesClient()) {
    if (picture_)
      TileImageRect(bitmap.Pixels(), ClientRect(), picture_->View(),
                    geometry_.clientrect.Offset(geometry_.skinrect.left, geometry_.skinrect.top));
    return;
  }
  ComposeSkinImage(bitmap, geometry_.skinrect);
  if (Caption().empty() || RectIsEmpty(captionrect_)) return;
  const bool scales = stretch_ != TksStretchKind::skFixed && stretch_ != TksStretchKind::skNone;
  const Rect caption = scales ? MapSkinRect(captionrect_) : captionrect_;
  DrawAlignedText(bitmap.Dc(), SectionFont(font_, font_.color), Caption(), caption, alignment_);
}

void TksSkinPanel::DrawDefaultImage(TBitmap& bitmap) {
  TksSkinCustomControl::DrawDefaultImage(bitmap);
  Rect r = ClientRect();
  DrawSkinBorder(bitmap.Dc(), r, borderStyle_);
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

void TksSkinLabel::ReadSkinSection() {
  TksSkinCustomControl::ReadSkinSection();
  if (const auto* record = dynamic_cast<const TksDataSkinLabelControl*>(SectionRecord())) font_ = record->font;
}

void TksSkinLabel::FitToSkin(int& width, int& height) {
  if (SectionIndex() < 0) return;
  if (SkinSized()) {
    TksSkinCustomControl::FitToSkin(width, height);
    return;
  }
  // Width and height free: only the right-hand side follows the width.
  const int dw = width - RectWidth(geometry_.skinrect);
  scaled_ = {geometry_.lefttoppoint, {geometry_.righttoppoint.x + dw, geometry_.righttoppoint.y},
             geometry_.leftbottompoint, geometry_.rightbottompoint, geometry_.clientrect};
  scaled_.clientrect.right += dw;
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

void TksSkinLabel::DrawLabelText(HDC dc, const Rect& r) {
  const TFont font = SectionIndex() >= 0 ? SectionFont(font_, font_.color) : PlainFont(DefaultFont().Color());
  DrawAlignedText(dc, font, Caption(), r, alignment_);
}

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

void TksSkinStatusPanel::SetGlyph(Image glyph) {
  glyph_ = std::move(glyph);
  Invalidate();
}

void TksSkinStatusPanel::SetNumGlyphs(int n) {
  numGlyphs_ = n == 2 ? 2 : 1;
  Invalidate();
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
  Rect r{3, 3, Width() - 3, Height() - 3};
  DrawGlyph(bitmap.Dc(), r, 0, Height());
  DrawLabelText(bitmap.Dc(), r);
}

}  // namespace kelmar
