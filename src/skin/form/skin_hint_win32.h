#pragma once
// Skinned hints: TksSkinHint makes every hint of the application a skinned
// one by giving the application TksSkinHintWindow as its hint window class;
// the window draws the hint from the skin's [HINTWINDOW] picture and data, or
// a plain look without a skin. The component also shows the frame objects'
// hints when the skinned frame asks for them.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "base/display_scale.h"
#include "framework/hints.h"
#include "framework/timer.h"
#include "skin/data/skin_geometry.h"
#include "skin/form/skin_data_components_win32.h"

namespace kelmar {

class TksSkinHintWindow;

class TksSkinHint : public TComponent {
 public:
  TksSkinHint(TComponent* owner, std::string name);
  ~TksSkinHint() override;

  bool Active() const { return active_; }
  // Switching one on switches the other active ones of the main form off.
  void SetActive(bool active);
  TksSkinDataComponent* SkinData() const { return skinData_; }
  void SetSkinData(TksSkinDataComponent* data) { skinData_ = data; }
  bool UseSkinFont = true;
  TFont& DefaultFont() { return defaultFont_; }
  bool AlphaBlend = false;
  uint8_t AlphaBlendValue = 200;
  bool AlphaBlendSupport() const { return alphaBlendSupport_; }
  // Stays false where the system has no layered windows (and starts so there).
  void SetAlphaBlendSupport(bool support);
  // The application's show-hint event, passed on while this one is active.
  std::function<void(THintInfo&)> OnShowHint;

  // The frame objects' hints: shown after the application's hint pause just
  // below the cursor, hidden after its hide pause or when asked; made for
  // the DPI of the frame they belong to.
  void ShowObjectHint(const std::wstring& text, int dpi = kDesignDpi);
  void HideObjectHint();
  // The component's own hint window, which shows the object hints.
  THintWindow& ObjectHintWindow();

  // The first active TksSkinHint among the components of the application's
  // main form: the one every skinned hint window follows.
  static TksSkinHint* Serving();

 private:
  void TakeOverShowHint();
  void ObjectHintTick();

  bool active_ = true;
  TComponentRef<TksSkinDataComponent> skinData_;
  TFont defaultFont_;
  bool alphaBlendSupport_ = true;
  std::wstring objectHintText_;
  int objectHintDpi_ = kDesignDpi;
  bool objectHintShown_ = false;
  TTimer* objectHintTimer_;
  std::unique_ptr<TksSkinHintWindow> window_;
};

class TksSkinHintWindow : public THintWindow {
 public:
  TksSkinHintWindow();
  ~TksSkinHintWindow() override;

  // Shows nothing without a serving TksSkinHint; otherwise takes its skin,
  // font and transparency for this showing.
  void ActivateHint(const Rect& rect, const std::wstring& text) override;
  // Whether the last showing drew from the skin.
  bool Skinned() const { return skinned_; }

 protected:
  const wchar_t* HintClassName() const override { return L"KelmarSkinHint"; }
  UINT HintClassStyle() const override;
  const TFont& HintFont() override { return font_; }
  HintExtent HintSize(HintExtent text) override;
  void BeforeShow(const Rect& bounds) override;
  void PaintHint(HDC dc, int width, int height) override;

 private:
  // The skin when it still has a hint picture, else null.
  const TksSkinData* Skin() const;
  SkinGeometry PieceGeometry() const;
  SkinGeometry SizedGeometry(int width, int height) const;
  void ApplyTransparency(const Rect& bounds);
  void ApplyRegion(int width, int height);

  TComponentRef<TksSkinDataComponent> skinData_;
  bool skinned_ = false;
  TFont font_;
  bool alphaBlend_ = false, alphaBlendSupport_ = true;
  uint8_t alphaBlendValue_ = 200;
  bool layered_ = false;   // the transparency last applied
  uint8_t layeredValue_ = 0;
  Image screen_;           // what lies under the hint, for simulated transparency
};

}  // namespace kelmar
