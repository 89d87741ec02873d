#pragma once
// The framework's plain controls.
#include <windows.h>

#include <string>
#include <vector>

#include "framework/controls.h"

namespace kelmar {

// A push button.
class TButton : public TWinControl {
 public:
  using TWinControl::TWinControl;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CommandNotify(WORD code) override;
};

// A check box or radio button. Radio buttons with the same GroupIndex and
// parent uncheck each other.
class TCheckRadioBox : public TWinControl {
 public:
  using TWinControl::TWinControl;
  bool Radio() const { return radio_; }
  void SetRadio(bool radio) { radio_ = radio; }
  int GroupIndex() const { return group_; }
  void SetGroupIndex(int group) { group_ = group; }
  bool Checked() const { return checked_; }
  void SetChecked(bool checked);

 protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void CommandNotify(WORD code) override;
  HBRUSH CtlColor(HDC dc) override;

 private:
  bool radio_ = false;
  int group_ = 0;
  bool checked_ = false;
  BrushHandle background_;
};

enum class TBevel { bvNone, bvLowered, bvRaised };

// A plain container that paints its colour, an optional edge and caption.
class TPanel : public TWinControl {
 public:
  using TWinControl::TWinControl;

 protected:
  void CreateParams(TCreateParams& params) override;
  void PaintWindow(TCanvas& canvas) override;

 private:
  TBevel bevel_ = TBevel::bvNone;
  TAlignment caption_alignment_ = TAlignment::taCenter;
};

// A text without a window. Right-justified labels keep their right edge when
// the text width changes (auto size).
class TLabel : public TControl {
 public:
  using TControl::TControl;
  void SetAlignment(TAlignment a) { alignment_ = a; Invalidate(); }
  TAlignment Alignment() const { return alignment_; }
  // Sizes the label to its text, keeping the right edge when right-justified.
  void AdjustSize();

  void Paint(TCanvas& canvas) override;

 protected:
  void CaptionChanged() override;

 private:
  TAlignment alignment_ = TAlignment::taLeftJustify;
};

// A picture without a window; it owns the bitmap it holds.
class TImage : public TControl {
 public:
  using TControl::TControl;
  void SetPicture(BitmapHandle picture);
  HBITMAP PictureHandle() const { return picture_; }
  void Paint(TCanvas& canvas) override;

 private:
  BitmapHandle picture_;
};

}  // namespace kelmar
