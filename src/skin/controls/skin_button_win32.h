#pragma once
// The skinned push button: normal, active (hot), down and disabled images
// from a section of the button class, a glyph strip and a caption on them,
// clicks from the mouse and the keyboard, repeated clicks while held, sticky
// buttons in a group, and the cross-fade between normal and active.
#include <windows.h>

#include <string>

#include "base/image.h"
#include "skin/controls/skin_control_win32.h"

namespace kelmar {

class TksSkinButton : public TksSkinCustomControl {
 public:
  TksSkinButton(TComponent* owner, std::string name);

  // The strip of NumGlyphs cells: 1 normal, 2 disabled, 3 down, 4 active.
  const Image& Glyph() const { return glyph_; }
  void SetGlyph(Image glyph);
  // The pixels as they are: the transparent colour is the bottom-left one.
  void SetGlyph(HBITMAP bitmap);
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int n);
  TksButtonLayout Layout() const { return layout_; }
  void SetLayout(TksButtonLayout layout);
  int Margin() const { return margin_; }
  void SetMargin(int margin);
  int Spacing() const { return spacing_; }
  void SetSpacing(int spacing);
  bool RepeatMode = false;
  UINT RepeatInterval = 100;
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int group);
  bool Down() const { return down_; }
  void SetDown(bool down);
  bool AllowAllUp = false;
  bool CanFocused() const { return canFocused_; }
  void SetCanFocused(bool can);
  // Enter clicks the default button while no other button has the focus;
  // Esc clicks the cancel button.
  bool Default() const { return default_; }
  void SetDefault(bool on);
  bool Cancel = false;
  // Given to the form on each click of a button that can take the focus.
  int ModalResult = 0;

  bool DialogKey(WORD key, TShiftState shift) override;
  bool DialogChar(wchar_t ch) override;
  void FormFocusChanged(TWinControl* focused) override;

  // The click: fires OnClick.
  virtual void ButtonClick();
  // Pointer over the button as the button sees it.
  bool MouseIn() const { return mouseIn_; }
  bool Pressed() const { return pressed_; }
  // The button that Enter clicks now.
  bool ActiveDefault() const { return activeDefault_; }

  long AccState(int child) const override;
  std::wstring AccDefaultAction(int child) const override;
  // A click as the mouse makes it (a sticky button goes down, or up when
  // it may).
  void AccRunDefaultAction(int child) override;

 protected:
  void HandleCreated() override;
  void ReadSkinSection() override;
  void DrawSkinImage(TBitmap& bitmap) override;
  void DrawDefaultImage(TBitmap& bitmap) override;
  void ApplySkinChange() override;
  void EnabledChanged() override;
  long AccClassRole() const override { return ROLE_SYSTEM_PUSHBUTTON; }
  bool AccFocusable() const override { return canFocused_; }
  void MouseEnter() override;
  void MouseLeave() override;
  void MouseButtonDown(TMouseButton button, TShiftState shift, Point p) override;
  void MouseButtonUp(TMouseButton button, TShiftState shift, Point p) override;
  void CaptureLost() override;
  void FocusChanged(bool focused) override;
  void KeyDown(WORD key, TShiftState shift) override;
  void KeyUp(WORD key, TShiftState shift) override;
  // One state image with glyph and caption.
  virtual void DrawStateImage(TBitmap& bitmap, const Rect& state, bool down, bool active);

 private:
  TksButtonState State() const;
  bool Active() const;
  bool FocusedLook() const { return canFocused_ && Focused(); }
  void DrawFocusMark(HDC dc) const;
  bool NeedsRefreshOnHover() const;
  void StartRepeat();
  void StopRepeat();
  void DrawGlyphAndText(HDC dc, const Rect& r, bool pressed, int cell, const TFont& font);

  Image glyph_;
  int numGlyphs_ = 1;
  TksButtonLayout layout_ = TksButtonLayout::blGlyphLeft;
  int margin_ = -1;
  int spacing_ = 1;
  int groupIndex_ = 0;
  bool down_ = false;
  bool canFocused_ = true;
  bool default_ = false;
  bool activeDefault_ = false;
  bool mouseIn_ = false;
  bool pressed_ = false;
  bool releaseOnClick_ = false;
  TTimer* repeatTimer_;
  TksMorphFader fader_;

  // From the section.
  TksButtonRects rects_;
  SkinFont font_;
  uint32_t activefontcolor_ = 0, disabledfontcolor_ = 0, downfontcolor_ = 0;
  bool morphing_ = false;
  MorphKind morphkind_ = MorphKind::mkDefault;
};

}  // namespace kelmar
