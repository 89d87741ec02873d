#include "skin/form/skin_hint_win32.h"

#include <cstring>

#include "framework/application.h"
#include "framework/forms.h"
#include "skin/data/effect_bmp.h"
#include "skin/data/mask_region_win32.h"
#include "skin/data/resource_str_data.h"
#include "skin/data/skin_compose.h"
#include "skin/data/skin_draw_win32.h"
#include "skin/data/skin_platform_win32.h"

namespace kelmar {

namespace {

// The one TksSkinHint whose OnShowHint the application's event calls.
TksSkinHint* showHintOwner = nullptr;

const Image* PictureAt(const TksSkinData& skin, int32_t index) {
  if (index < 0 || size_t(index) >= skin.ActivePictures.size() || skin.ActivePictures[index].IsEmpty())
    return nullptr;
  return &skin.ActivePictures[index];
}

HintExtent SizeOf(const Image& image) { return {image.Width(), image.Height()}; }

}  // namespace

// ------------------------------------------------------------ TksSkinHint

TksSkinHint::TksSkinHint(TComponent* owner, std::string name)
    : TComponent(owner, std::move(name)),
      alphaBlendSupport_(LayeredWindowsAvailable()),
      objectHintTimer_(new TTimer(this, "ObjectHintTimer")),
      window_(std::make_unique<TksSkinHintWindow>()) {
  objectHintTimer_->OnTimer = [this] { ObjectHintTick(); };
  // The application makes its hint window anew, of our class.
  THintHandler& hints = Application().Hints();
  hints.SetHintWindowClass([] { return std::make_unique<TksSkinHintWindow>(); });
  hints.SetShowHint(false);
  hints.SetShowHint(true);
  hints.HintShortPause = 100;
  TakeOverShowHint();
}

TksSkinHint::~TksSkinHint() {
  HideObjectHint();
  if (showHintOwner == this) {
    showHintOwner = nullptr;
    Application().Hints().OnShowHint = nullptr;
  }
}

void TksSkinHint::TakeOverShowHint() {
  showHintOwner = this;
  Application().Hints().OnShowHint = [this](THintInfo& info) {
    if (OnShowHint) OnShowHint(info);
  };
}

void TksSkinHint::SetActive(bool active) {
  if (active) {
    if (TForm* main = Application().MainForm())
      for (TComponent* c : main->Components())
        if (auto* other = dynamic_cast<TksSkinHint*>(c); other && other != this) other->active_ = false;
    TakeOverShowHint();
  }
  active_ = active;
}

void TksSkinHint::SetAlphaBlendSupport(bool support) { alphaBlendSupport_ = support && LayeredWindowsAvailable(); }

TksSkinHint* TksSkinHint::Serving() {
  TForm* main = Application().MainForm();
  if (!main) return nullptr;
  for (TComponent* c : main->Components())
    if (auto* hint = dynamic_cast<TksSkinHint*>(c); hint && hint->Active()) return hint;
  return nullptr;
}

THintWindow& TksSkinHint::ObjectHintWindow() { return *window_; }

void TksSkinHint::ShowObjectHint(const std::wstring& text, int dpi) {
  objectHintTimer_->SetEnabled(false);
  objectHintText_ = text;
  objectHintDpi_ = dpi;
  objectHintShown_ = false;
  objectHintTimer_->SetInterval(Application().Hints().HintPause);
  objectHintTimer_->SetEnabled(true);
}

void TksSkinHint::HideObjectHint() {
  objectHintTimer_->SetEnabled(false);
  objectHintShown_ = false;
  window_->ReleaseHint();
}

void TksSkinHint::ObjectHintTick() {
  if (objectHintShown_) {
    HideObjectHint();
    return;
  }
  const Point at = HintPositionBelowCursor();
  window_->ScaleChildren(objectHintDpi_);
  window_->ActivateHint(RectOfSize(at.x, at.y, 0, 0), objectHintText_);
  objectHintShown_ = true;
  objectHintTimer_->SetEnabled(false);
  objectHintTimer_->SetInterval(Application().Hints().HintHidePause);
  objectHintTimer_->SetEnabled(true);
}

// ------------------------------------------------------ TksSkinHintWindow

TksSkinHintWindow::TksSkinHintWindow() = default;
TksSkinHintWindow::~TksSkinHintWindow() = default;

UINT TksSkinHintWindow::HintClassStyle() const {
  return THintWindow::HintClassStyle() | (IsSystemVersion51() ? CS_DROPSHADOW : 0);
}

void TksSkinHintWindow::ActivateHint(const Rect& rect, const std::wstring& text) {
  TksSkinHint* serving = TksSkinHint::Serving();
  if (!serving) {
    ReleaseHint();
    return;
  }
  skinData_ = serving->SkinData();
  const TksSkinData* skin = Skin();
  skinned_ = skin != nullptr;
  const TksResourceStrData* strings = skinData_ ? skinData_->Skin().ResourceStrData() : nullptr;
  const BYTE charset = strings ? BYTE(strings->CharSet) : serving->DefaultFont().Charset();
  if (skin && serving->UseSkinFont) {
    font_ = SkinFontToFont(skin->HintWindow.font, skin->HintWindow.font.color, charset, Dpi());
  } else {
    font_ = serving->DefaultFont();
    font_.SetCharset(charset);
    font_.SetHeight(Scaled(font_.Height()));
  }
  alphaBlend_ = serving->AlphaBlend;
  alphaBlendSupport_ = serving->AlphaBlendSupport();
  alphaBlendValue_ = serving->AlphaBlendValue;
  THintWindow::ActivateHint(rect, text);
}

const TksSkinData* TksSkinHintWindow::Skin() const {
  const TksSkinData* skin = skinData_ ? &skinData_->Skin() : nullptr;
  return skin && !skin->Empty && PictureAt(*skin, skin->HintWindow.windowpictureindex) ? skin : nullptr;
}

SkinGeometry TksSkinHintWindow::PieceGeometry() const {
  const TksDataSkinHintWindow& h = Skin()->HintWindow;
  return {h.clientrect, h.lefttoppoint, h.righttoppoint, h.leftbottompoint, h.rightbottompoint};
}

SkinGeometry TksSkinHintWindow::SizedGeometry(int width, int height) const {
  const HintExtent picture = SizeOf(*PictureAt(*Skin(), Skin()->HintWindow.windowpictureindex));
  return ScaleSkinGeometry(PieceGeometry(), picture.width, picture.height, width, height);
}

HintExtent TksSkinHintWindow::HintSize(HintExtent text) {
  const TksSkinData* skin = Skin();
  if (!skin) return THintWindow::HintSize(text);
  return SkinnedHintSize(text, SizeOf(*PictureAt(*skin, skin->HintWindow.windowpictureindex)),
                         skin->HintWindow.clientrect);
}

void TksSkinHintWindow::BeforeShow(const Rect& bounds) {
  ApplyTransparency(bounds);
  ApplyRegion(bounds.Width(), bounds.Height());
}

void TksSkinHintWindow::ApplyTransparency(const Rect& bounds) {
  const bool layered = alphaBlend_ && alphaBlendSupport_;
  if (layered != layered_) {
    const LONG_PTR ex = GetWindowLongPtrW(Handle(), GWL_EXSTYLE);
    SetWindowLongPtrW(Handle(), GWL_EXSTYLE, layered ? ex | WS_EX_LAYERED : ex & ~LONG_PTR(WS_EX_LAYERED));
    if (layered) SetWindowAlpha(Handle(), alphaBlendValue_);
    layered_ = layered;
    layeredValue_ = alphaBlendValue_;
  } else if (layered && alphaBlendValue_ != layeredValue_) {
    SetWindowAlpha(Handle(), alphaBlendValue_);
    layeredValue_ = alphaBlendValue_;
  }
  // Without layered windows the transparency is drawn over a copy of the
  // screen taken while the hint is not on it.
  screen_ = Image();
  if (alphaBlend_ && !alphaBlendSupport_) {
    screen_ = Image(bounds.Width(), bounds.Height());
    CopyScreenArea(bounds.left, bounds.top, screen_);
  }
}

void TksSkinHintWindow::ApplyRegion(int width, int height) {
  RegionHandle region;
  if (const TksSkinData* skin = Skin())
    if (const Image* mask = PictureAt(*skin, skin->HintWindow.maskpictureindex))
      region = ComposeMaskRegion(mask->View(), PieceGeometry(), SizedGeometry(width, height));
  // Null takes any earlier shape away.
  SetWindowShape(Handle(), std::move(region), false);
}

void TksSkinHintWindow::PaintHint(HDC dc, int width, int height) {
  TBitmap buffer(width, height);
  if (buffer.IsEmpty()) return;
  if (const TksSkinData* skin = Skin()) {
    const TksDataSkinHintWindow& h = skin->HintWindow;
    const SkinGeometry sized = SizedGeometry(width, height);
    Image image;
    ComposeNinePartStretched(PictureAt(*skin, h.windowpictureindex)->View(), PieceGeometry(), sized, width, height,
                             true, {h.leftstretch, h.rightstretch, h.topstretch, h.bottomstretch}, image);
    buffer.CopyFrom(image);
    const Point at = CentredTextOrigin(sized.client, TextBlock().size);
    DrawTextBlock(buffer.Dc(), at.x, at.y, h.font.color);
  } else {
    THintWindow::PaintHint(buffer.Dc(), width, height);
  }
  if (alphaBlend_ && !alphaBlendSupport_ && screen_.Width() == width && screen_.Height() == height) {
    const ImageView pixels = buffer.Pixels();
    TksEffectBmp hint(width, height);
    for (int y = 0; y < height; ++y) std::memcpy(hint.Row(y), pixels.Row(y), size_t(width) * sizeof(Pixel));
    hint.BlendWith(TksEffectBmp(screen_), 1.0 - alphaBlendValue_ / 255.0);
    for (int y = 0; y < height; ++y) std::memcpy(pixels.Row(y), hint.Row(y), size_t(width) * sizeof(Pixel));
  }
  BitBlt(dc, 0, 0, width, height, buffer.Dc(), 0, 0, SRCCOPY);
}

}  // namespace kelmar
