#pragma once
// The skinned containers and text fields: the panel (a tool bar holding
// other controls), the status bar (a panel at the bottom that hands its skin
// to its children), the label and the status panel (a label with a glyph).
#include <string>

#include "base/image.h"
#include "skin/controls/skin_control_win32.h"

namespace kelmar {

class TksSkinPanel : public TksSkinCustomControl {
 public:
  TksSkinPanel(TComponent* owner, std::string name);

  TksSkinBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TksSkinBorderStyle style);

  void SetBounds(int left, int top, int width, int height) override;
  void ApplySkinChange() override;
  Rect AlignArea() const override;

 protected:
  void ReadSkinSection() override;
  void DrawSkinImage(TBitmap& bitmap) override;
  void DrawDefaultImage(TBitmap& bitmap) override;
  void PaintWindow(TCanvas& canvas) override;

 private:
  const Image* BackgroundPicture() const;
  bool TilesClient() const;

  TksSkinBorderStyle borderStyle_ = TksSkinBorderStyle::bvFrame;
  // From the section.
  int32_t bgpictureindex_ = -1;
  Rect captionrect_;
  Alignment alignment_ = Alignment::taCenter;
  SkinFont font_;
};

class TksSkinStatusBar : public TksSkinPanel {
 public:
  TksSkinStatusBar(TComponent* owner, std::string name);
  // The same skin for every skinned child.
  void SetSkinData(TksSkinDataComponent* data) override;
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

 protected:
  void ReadSkinSection() override;
  void FitToSkin(int& width, int& height) override;
  void UpdateSkinRegion() override;
  void DrawSkinImage(TBitmap& bitmap) override;
  void DrawDefaultImage(TBitmap& bitmap) override;
  // The skinned image without the text; the rectangle the text goes in.
  Rect ComposeLabelImage(TBitmap& bitmap);
  void DrawLabelText(HDC dc, const Rect& r);
  bool SkinSized() const { return useSkinSize_ || stretch_ == TksStretchKind::skBoth; }

 private:
  bool useSkinSize_ = true;
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
  void DrawSkinImage(TBitmap& bitmap) override;
  void DrawDefaultImage(TBitmap& bitmap) override;

 private:
  // The glyph cell at r's left, centred in the band top … top + height; r's
  // left moves past it.
  void DrawGlyph(HDC dc, Rect& r, int top, int height);

  Image glyph_;
  int numGlyphs_ = 1;
};

}  // namespace kelmar
