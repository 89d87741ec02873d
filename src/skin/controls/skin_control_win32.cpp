#include "skin/controls/skin_control_win32.h"

#include <algorithm>
#include <optional>

#include "base/display_scale.h"
#include "framework/handles.h"
#include "skin/data/effect_bmp.h"
#include "skin/data/mask_region_win32.h"
#include "skin/data/resource_str_data.h"
#include "skin/data/skin_compose.h"
#include "skin/data/skin_draw_win32.h"
#include "skin/data/skin_platform_win32.h"

namespace kelmar {

namespace {

const Image* PictureAt(const TksSkinData& skin, int32_t index) {
  return index >= 0 && size_t(index) < skin.ActivePictures.size() ? &skin.ActivePictures[size_t(index)] : nullptr;
}

}  // namespace

// ------------------------------------------------------------ TksSkinControl

TksSkinControl::TksSkinControl(TComponent* owner, std::string name)
    : TWinControl(owner, std::move(name)) {}

void TksSkinControl::CreateParams(TCreateParams& params) { params.Style |= WS_CLIPCHILDREN; }

void TksSkinControl::SetSkinData(TksSkinDataComponent* data) {
  skinData_ = data;
  if (data && !data->Skin().Empty) ApplySkinChange();
}

void TksSkinControl::SetAlphaBlend(bool on) {
  alphaBlend_ = on;
  Invalidate();
}

void TksSkinControl::SetAlphaBlendValue(uint8_t value) {
  alphaBlendValue_ = value;
  Invalidate();
}

TksSkinData* TksSkinControl::SkinDataForChange() const { return skinData_ ? &skinData_->Skin() : nullptr; }

void TksSkinControl::PrepareSkinChange() { sectionIndex_ = -1; }

void TksSkinControl::ApplySkinChange() {
  ReadSkinSection();
  ApplySkinCursor();
  Invalidate();
}

const TksSkinData* TksSkinControl::Skin() const {
  return skinData_ && !skinData_->Skin().Empty ? &skinData_->Skin() : nullptr;
}

const TksDataSkinControl* TksSkinControl::SectionRecord() const {
  const TksSkinData* skin = Skin();
  return skin && sectionIndex_ >= 0 ? skin->ControlData[size_t(sectionIndex_)].get() : nullptr;
}

void TksSkinControl::ReadSkinSection() {
  const TksSkinData* skin = Skin();
  sectionIndex_ = skin ? skin->FindControlData(skinDataName_) : -1;
}

void TksSkinControl::ApplySkinCursor() {
  if (!UseSkinCursor) return;
  const TksSkinData* skin = Skin();
  const int number = skin ? skin->CursorNumber(cursorIndex_) : -1;
  SetCursor(number < 0 ? crDefault : number);
}

void TksSkinControl::PaintWindow(TCanvas& canvas) {
  const int w = Width(), h = Height();
  if (w <= 0 || h <= 0) return;
  ReadSkinSection();
  // A paint inside a paint of the same control (a capture of what lies
  // under it) draws into a bitmap of its own.
  TBitmap nested;
  TBitmap& image = imageInUse_ ? nested : image_;
  std::optional<FlagScope> using_kept;
  if (&image == &image_) using_kept.emplace(imageInUse_);
  image.Fit(w, h);
  if (image.IsEmpty()) return;
  // The looks draw onto a clear bitmap, as onto a new one.
  const ImageView pixels = image.Pixels();
  for (int y = 0; y < h; ++y) std::fill_n(pixels.Row(y), w, Pixel(0));
  if (sectionIndex_ >= 0)
    DrawSkinImage(image);
  else if (DrawDefault)
    DrawDefaultImage(image);
  if (Blends()) {
    TBitmap under(w, h);
    CaptureParentImage(Handle(), under.Dc());
    TksEffectBmp mixed = EffectBmpOf(image);
    mixed.BlendWith(EffectBmpOf(under), 1.0 - alphaBlendValue_ / 255.0);
    image.CopyFrom(mixed.GetImage().View());
  }
  BitBlt(canvas.Handle(), 0, 0, w, h, image.Dc(), 0, 0, SRCCOPY);
}

void TksSkinControl::WndProc(TMessage& m) {
  if (accessible_.Handle(m)) return;
  TWinControl::WndProc(m);
  // What lies underneath has changed.
  if (m.Msg == WM_MOVE && alphaBlend_) Invalidate();
}

void TksSkinControl::CaptionChanged() {
  TWinControl::CaptionChanged();
  if (AccessibleName.empty()) AccNotify(EVENT_OBJECT_NAMECHANGE, Handle());
}

std::vector<TksSkinControl::AccChild> TksSkinControl::AccChildren() const {
  std::vector<AccChild> children;
  std::vector<const void*> groups;
  for (HWND hwnd : VisibleChildWindows(Handle())) {
    auto* control = dynamic_cast<TksSkinControl*>(TWinControl::FromHandle(hwnd));
    const void* group = control ? control->AccGroup() : nullptr;
    if (group && std::find(groups.begin(), groups.end(), group) != groups.end()) continue;
    if (group) groups.push_back(group);
    children.push_back({hwnd, group ? control : nullptr});
  }
  return children;
}

int TksSkinControl::AccChildCount() const { return int(AccChildren().size()); }

IDispatch* TksSkinControl::AccChildObject(int child) const {
  const std::vector<AccChild> children = AccChildren();
  if (child < 1 || size_t(child) > children.size()) return nullptr;
  const AccChild& c = children[size_t(child - 1)];
  return c.groupMember ? c.groupMember->AccParent() : ClientObjectOf(c.hwnd);
}

std::wstring TksSkinControl::AccName(int child) const {
  if (child != 0) return {};
  if (!AccessibleName.empty()) return AccessibleName;
  return AccessibleText(Caption().empty() ? Hint() : Caption());
}

std::wstring TksSkinControl::AccDescription(int child) const {
  const std::wstring hint = AccessibleText(Hint());
  return child == 0 && hint != AccName(0) ? hint : L"";
}

long TksSkinControl::AccRole(int child) const {
  if (child != 0) return ROLE_SYSTEM_CLIENT;
  return AccessibleRole != 0 ? AccessibleRole : AccClassRole();
}

long TksSkinControl::AccState(int child) const { return child == 0 ? ControlAccState(*this, AccFocusable()) : 0; }

Rect TksSkinControl::AccLocation(int child) const { return child == 0 ? ScreenRectOf(Handle()) : Rect{}; }

void TksSkinControl::MouseEnter() {
  if (OnMouseEnter) OnMouseEnter();
}

void TksSkinControl::MouseLeave() {
  if (OnMouseLeave) OnMouseLeave();
}

// ------------------------------------------------------ TksSkinCustomControl

TksSkinCustomControl::TksSkinCustomControl(TComponent* owner, std::string name)
    : TksSkinControl(owner, std::move(name)), defaultFont_(L"宋体", 14) {
  defaultFont_.OnChange = [this] {
    DefaultFontChanged();
    if (SectionIndex() < 0) Invalidate();
  };
}

void TksSkinCustomControl::SetDefaultWidth(int width) {
  defaultWidth_ = width;
  if (SectionIndex() < 0 && width > 0) SetBounds(Left(), Top(), Scaled(width), Height());
}

void TksSkinCustomControl::SetDefaultHeight(int height) {
  defaultHeight_ = height;
  if (SectionIndex() < 0 && height > 0) SetBounds(Left(), Top(), Width(), Scaled(height));
}

void TksSkinCustomControl::ReadSkinSection() {
  TksSkinControl::ReadSkinSection();
  const TksSkinData* skin = Skin();
  if (SectionIndex() < 0 || !skin) return;
  const auto* record = dynamic_cast<const TksDataSkinCustomControl*>(SectionRecord());
  if (!record) {
    stretch_ = TksStretchKind::skFixed;
    picture_ = mask_ = nullptr;
    return;
  }
  geometry_ = SectionGeometryOf(*record);
  cursorIndex_ = record->cursorindex;
  picture_ = PictureAt(*skin, record->pictureindex);
  mask_ = PictureAt(*skin, record->maskpictureindex);
  stretch_ = StretchKindOf(geometry_);
}

void TksSkinCustomControl::FitToSkin(int& width, int& height) {
  if (SectionIndex() < 0) return;
  scaled_ = kelmar::FitToSkin(geometry_, stretch_, width, height);
}

void TksSkinCustomControl::PaintWindow(TCanvas& canvas) {
  // The scaled geometry always belongs to the size being painted.
  ReadSkinSection();
  int w = Width(), h = Height();
  FitToSkin(w, h);
  TksSkinControl::PaintWindow(canvas);
}

void TksSkinCustomControl::SetBounds(int left, int top, int width, int height) {
  ReadSkinSection();
  const bool fitted = SectionIndex() >= 0 && (width != Width() || height != Height());
  if (fitted) FitToSkin(width, height);
  TksSkinControl::SetBounds(left, top, width, height);
  if (fitted) {
    UpdateSkinRegion();
    Invalidate();
  }
}

// The scaled geometry follows the size the window has now, before WM_SIZE
// lays out the children from it: a paint that came while the system was
// still moving the window refits it to the old size.
void TksSkinCustomControl::BoundsChanged() {
  TksSkinControl::BoundsChanged();
  if (SectionIndex() < 0) return;
  int w = Width(), h = Height();
  FitToSkin(w, h);
}

void TksSkinCustomControl::ApplySkinChange() {
  ReadSkinSection();
  ApplySkinCursor();
  bool resized = false;
  if (SectionIndex() < 0) {
    if (defaultWidth_ > 0 || defaultHeight_ > 0)
      TksSkinControl::SetBounds(Left(), Top(), defaultWidth_ > 0 ? Scaled(defaultWidth_) : Width(),
                                defaultHeight_ > 0 ? Scaled(defaultHeight_) : Height());
  } else {
    int w = Width(), h = Height();
    FitToSkin(w, h);
    if (w != Width() || h != Height()) {
      SetBounds(Left(), Top(), w, h);
      resized = true;
    }
  }
  // An aligned control that changed its size moves its neighbours.
  if (Align() != TAlign::alNone && Parent()) Parent()->AlignControls();
  if (!resized) {
    UpdateSkinRegion();
    Invalidate();
  }
}

void TksSkinCustomControl::UpdateSkinRegion() {
  if (!HandleAllocated()) return;
  const bool shaped = mask_ && SectionIndex() >= 0;
  if (!shaped) {
    if (hasRegion_) SetWindowShape(Handle(), RegionHandle(), true);
    hasRegion_ = false;
    return;
  }
  const ImageView piece = mask_->View().Sub(geometry_.skinrect);
  RegionHandle region = stretch_ == TksStretchKind::skFixed
                            ? RegionFromMask(piece)
                            : ComposeMaskRegion(piece, MaskPieceGeometry(geometry_),
                                                MaskTargetGeometry(geometry_, stretch_, scaled_, Width(), Height()));
  const bool has_region = bool(region);
  SetWindowShape(Handle(), std::move(region), true);
  hasRegion_ = has_region;
}

void TksSkinCustomControl::DrawDefaultImage(TBitmap& bitmap) {
  TCanvas(bitmap.Dc()).FillRect(ClientRect(), GetSysColor(COLOR_BTNFACE));
}

void TksSkinCustomControl::DrawSkinImage(TBitmap& bitmap) { ComposeSkinImage(bitmap, geometry_.skinrect); }

void TksSkinCustomControl::ComposeSkinImage(TBitmap& bitmap, const Rect& state) {
  if (!picture_ || stretch_ == TksStretchKind::skNone) return;
  kelmar::ComposeSkinImage(picture_->View(), state, geometry_, stretch_, scaled_, bitmap.Width(), bitmap.Height(),
                           composed_);
  CopyImageRect(bitmap.Pixels(), composed_.Bounds(), composed_.View(), composed_.Bounds());
}

Rect TksSkinCustomControl::MapSkinRect(const Rect& r) const {
  return kelmar::MapSkinRect(geometry_, stretch_, r, Width(), Height());
}

void TksSkinCustomControl::DrawSkinPiece(HDC dc, int x, int y, const Rect& piece) const {
  if (!picture_ || RectIsEmpty(piece)) return;
  DrawGlyphCell(dc, x, y, 1, 1, picture_->View().Sub(piece));
}

BYTE TksSkinCustomControl::Charset() const {
  const TksSkinData* skin = Skin();
  if (skin && skin->ResourceStrData()) return BYTE(skin->ResourceStrData()->CharSet);
  return defaultFont_.Charset();
}

TFont TksSkinCustomControl::SectionFont(const SkinFont& font, COLORREF colour) const {
  if (!UseSkinFont) return PlainFont(colour);
  return SkinFontToFont(font, colour, Charset(), Dpi());
}

TFont TksSkinCustomControl::PlainFont(COLORREF colour) const {
  TFont f = defaultFont_;
  f.SetColor(colour);
  f.SetCharset(Charset());
  f.SetHeight(Scaled(f.Height()));
  return f;
}

// -------------------------------------------------------------- TksMorphFader

TksMorphFader::TksMorphFader(TComponent* owner, std::function<bool()> active, std::function<bool()> usable,
                             std::function<void()> step)
    : timer_(new TTimer(owner, "MorphTimer", 20)),
      active_(std::move(active)),
      usable_(std::move(usable)),
      step_(std::move(step)) {
  timer_->OnTimer = [this] { Tick(); };
}

bool TksMorphFader::Running() const { return timer_->Enabled(); }
void TksMorphFader::Start() { timer_->SetEnabled(true); }
void TksMorphFader::Stop() { timer_->SetEnabled(false); }

void TksMorphFader::Refresh() {
  if (!usable_())
    step_();
  else if (!Running())
    Start();
}

void TksMorphFader::Tick() {
  const bool active = active_();
  if (!usable_()) {
    factor_ = active ? 1 : 0;
    Stop();
    return;
  }
  bool finished = false;
  factor_ = StepMorphFactor(factor_, active, finished);
  if (finished) Stop();
  step_();
}

// ------------------------------------------------------------------- helpers

TksEffectBmp EffectBmpOf(TBitmap& bitmap) {
  TksEffectBmp e(Image(bitmap.Width(), bitmap.Height()));
  CopyImageRect(e.GetImage().View(), e.GetImage().Bounds(), bitmap.Pixels(), e.GetImage().Bounds());
  return e;
}

void DrawMorphed(TBitmap& bitmap, MorphKind kind, double factor,
                 const std::function<void(TBitmap&, bool active)>& draw) {
  TBitmap active(bitmap.Width(), bitmap.Height());
  draw(bitmap, false);
  draw(active, true);
  TksEffectBmp mixed = EffectBmpOf(bitmap);
  mixed.Morph(int(kind), EffectBmpOf(active), factor);
  bitmap.CopyFrom(mixed.GetImage().View());
}

void DrawEdgeFrame(HDC dc, Rect& r, TColor top_left, TColor bottom_right) {
  TCanvas canvas(dc);
  canvas.FillRect({r.left, r.top, r.right, r.top + 1}, top_left);
  canvas.FillRect({r.left, r.top, r.left + 1, r.bottom}, top_left);
  canvas.FillRect({r.left, r.bottom - 1, r.right, r.bottom}, bottom_right);
  canvas.FillRect({r.right - 1, r.top, r.right, r.bottom}, bottom_right);
  r = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
}

void DrawDefaultStateBox(HDC dc, const Rect& r, bool pressed, bool hot) {
  TCanvas canvas(dc);
  const Rect inside{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  const bool navy = pressed || hot;
  canvas.FrameRect(r, navy ? RGB(0, 0, 128) : GetSysColor(COLOR_BTNSHADOW));
  canvas.FillRect(inside, pressed ? RGB(133, 147, 181) : hot ? RGB(182, 189, 210) : GetSysColor(COLOR_BTNFACE));
}

void DrawSkinBorder(HDC dc, Rect& r, TksSkinBorderStyle style) {
  const TColor shadow = GetSysColor(COLOR_BTNSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT);
  switch (style) {
    case TksSkinBorderStyle::bvFrame:
      DrawEdgeFrame(dc, r, shadow, shadow);
      break;
    case TksSkinBorderStyle::bvRaised:
      DrawEdgeFrame(dc, r, light, shadow);
      break;
    case TksSkinBorderStyle::bvLowered:
      DrawEdgeFrame(dc, r, shadow, light);
      break;
    case TksSkinBorderStyle::bvNone:
      break;
  }
}

SIZE CaptionExtent(HDC dc, const TFont& font, const std::wstring& text, bool multi_line) {
  if (text.empty()) return {0, 0};
  ScopedSelect select(dc, font.Handle());
  RECT r{0, 0, 0, 0};
  DrawTextW(dc, text.c_str(), int(text.size()), &r, DT_CALCRECT | (multi_line ? 0 : DT_SINGLELINE));
  return {r.right - r.left, r.bottom - r.top};
}

}  // namespace kelmar
