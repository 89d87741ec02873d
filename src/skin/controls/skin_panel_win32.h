#pragma once
// The skinned containers and text fields: the panel (a tool bar holding
// other controls), the status bar (a panel at the bottom that hands its skin
// to its children), the label and the status panel (a label with a glyph).
#include <functional>
#include <string>

#include "base/image.h"
#include "skin/controls/skin_control_win32.h"

namespace kelmar {

class TksSkinPanel : public TksSkinCustomControl {
 public:
  TksSkinPanel(TComponent* owner, std::string name);

  TksSkinBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TksSkinBorderStyle style);
  // A caption bar (in the default look) whose clicks check or roll up.
  bool CaptionMode() const { return captionMode_; }
  virtual void SetCaptionMode(bool on);
  int DefaultCaptionHeight() const { return defaultCaptionHeight_; }
  virtual void SetDefaultCaptionHeight(int height);
  Alignment DefaultAlignment() const { return defaultAlignment_; }
  void SetDefaultAlignment(Alignment alignment);
  // The glyph strip before the caption; with 2 cells the second is disabled.
  const Image& Glyph() const { return glyph_; }
  void SetGlyph(Image glyph);
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int n);
  int Spacing() const { return spacing_; }
  void SetSpacing(int spacing);
  // A check box in the caption; Checked switches the children on and off.
  bool CheckedMode() const { return checkedMode_; }
  void SetCheckedMode(bool on);
  bool Checked() const { return checked_; }
  void SetChecked(bool checked);
  bool AutoEnabledControls = true;
  // A roll-up arrow in the caption: collapsed, the panel is its caption.
  bool RollUpMode() const { return rollUpMode_; }
  void SetRollUpMode(bool on);
  bool RollUpState() const { return rollUpState_; }
  void SetRollUpState(bool collapsed);
  // The expanded height while collapsed, -1 otherwise.
  int RealHeight() const { return realHeight_; }
  std::function<void()> OnChecked, OnChangeRollUpState;

  void SetBounds(int left, int top, int width, int height) override;
  void ApplySkinChange() override;
  Rect AlignArea() const override;

 protected:
  long AccClassRole() const override { return ROLE_SYSTEM_PANE; }
  void ReadSkinSection() override;
  void DrawSkinImage(TBitmap& bitmap) override;
  void DrawDefaultImage(TBitmap& bitmap) override;
  void PaintWindow(TCanvas& canvas) override;
  void MouseButtonUp(TMouseButton button, TShiftState shift, Point p) override;

 private:
  const Image* BackgroundPicture() const;
  bool TilesClient() const;
  // The skinned caption area at the current size.
  Rect ScaledCaptionRect() const;
  // The caption band without a skin, DefaultCaptionHeight at the panel's DPI.
  int CaptionBandHeight() const { return Scaled(defaultCaptionHeight_); }
  void DrawSkinCaption(HDC dc);
  void DrawDefaultCaption(HDC dc);
  // Glyph and caption of a block starting at x in r, the text at y.
  void DrawCaptionBlock(HDC dc, const Rect& r, int x, int y, const TFont& font);
  int CaptionBlockWidth(HDC dc, const TFont& font) const;
  void Collapse();
  void Expand();
  void ShowChildren(bool show);

  TksSkinBorderStyle borderStyle_ = TksSkinBorderStyle::bvFrame;
  bool captionMode_ = false;
  int defaultCaptionHeight_ = 22;
  Alignment defaultAlignment_ = Alignment::taLeftJustify;
  Image glyph_;
  int numGlyphs_ = 1;
  int spacing_ = 2;
  bool checkedMode_ = false;
  bool checked_ = false;
  bool rollUpMode_ = false;
  bool rollUpState_ = false;
  int realHeight_ = -1;
  // From the section.
  int32_t bgpictureindex_ = -1;
  Rect captionrect_, checkimagerect_, uncheckimagerect_;
  Alignment alignment_ = Alignment::taCenter;
  SkinFont font_;
};

class TksSkinStatusBar : public TksSkinPanel {
 public:
  TksSkinStatusBar(TComponent* owner, std::string name);
  // The same skin for every skinned child.
  void SetSkinData(TksSkinDataComponent* data) override;
  // Without a name or caption of its own: what its panels show.
  std::wstring AccName(int child) const override;

 protected:
  long AccClassRole() const override { return ROLE_SYSTEM_STATUSBAR; }
};

class TksSkinLabel : public TksSkinCustomControl {
 public:
  TksSkinLabel(TComponent* owner, std::string name);

  // The section forces the size and the region; off, the width is free and
  // the image is stretched to the height.
  bool UseSkinSize() const { return useSkinSize_; }
  void SetUseSkinSize(bool use);
  TksSkinBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TksSkinBorderStyle style);
  Alignment TextAlignment() const { return alignment_; }
  void SetAlignment(Alignment alignment);
  // The width follows the caption (not when aligned top, bottom or client).
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool on);
  // How many pixels the caption is wider than the room for it (negative:
  // narrower).
  virtual int TextOverflow();

 protected:
  long AccClassRole() const override { return ROLE_SYSTEM_STATICTEXT; }
  void CaptionChanged() override;
  void ReadSkinSection() override;
  void FitToSkin(int& width, int& height) override;
  void UpdateSkinRegion() override;
  void DrawSkinImage(TBitmap& bitmap) override;
  void DrawDefaultImage(TBitmap& bitmap) override;
  // The skinned image without the text; the rectangle the text goes in.
  Rect ComposeLabelImage(TBitmap& bitmap);
  void DrawLabelText(HDC dc, const Rect& r);
  bool SkinSized() const { return useSkinSize_ || stretch_ == TksStretchKind::skBoth; }
  TFont LabelFont() const;
  // The caption's width in the label's font, with what stands beside it.
  virtual int CaptionWidth();

 private:
  void FitWidth();

  bool useSkinSize_ = true;
  bool autoSize_ = false;
  TksSkinBorderStyle borderStyle_ = TksSkinBorderStyle::bvFrame;
  Alignment alignment_ = Alignment::taLeftJustify;
  SkinFont font_;
};

class TksSkinStatusPanel : public TksSkinLabel {
 public:
  TksSkinStatusPanel(TComponent* owner, std::string name);

  const Image& Glyph() const { return glyph_; }
  void SetGlyph(Image glyph);
  // 2: the second cell is the disabled glyph.
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int n);

 protected:
  long AccClassRole() const override { return ROLE_SYSTEM_STATUSBAR; }
  // The status bar it stands on is named by its text as well.
  void CaptionChanged() override;
  void DrawSkinImage(TBitmap& bitmap) override;
  void DrawDefaultImage(TBitmap& bitmap) override;
  int CaptionWidth() override;

 private:
  // The glyph cell at r's left, centred in the band top … top + height; r's
  // left moves past it.
  void DrawGlyph(HDC dc, Rect& r, int top, int height);

  Image glyph_;
  int numGlyphs_ = 1;
};

}  // namespace kelmar
