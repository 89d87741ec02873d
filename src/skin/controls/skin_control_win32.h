#pragma once
// The base of the skinned controls: a window of the framework's own class
// that paints itself whole, off screen, from the section its SkinDataName
// names in the bound skin (looked up anew on every paint, bounds change and
// skin change), or in a default look of its own when the skin has no such
// section. TksSkinCustomControl adds the fitting of the section's piece to
// any control size, the window region from a mask picture and the default
// font and size.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/accessible.h"
#include "framework/controls.h"
#include "framework/graphics.h"
#include "framework/timer.h"
#include "skin/controls/skin_control_geometry.h"
#include "skin/data/effect_bmp.h"
#include "skin/form/skin_data_components_win32.h"
#include "skin/form/skin_form_win32.h"

namespace kelmar {

class TksSkinControl : public TWinControl, public TksSkinChangeTarget, public TAccessibleSource {
 public:
  TksSkinControl(TComponent* owner, std::string name);

  // What screen readers are told the control is: its name (empty: the
  // caption, else the hint, without the "&" marks) and role (0: the
  // class's own).
  std::wstring AccessibleName;
  long AccessibleRole = 0;

  TksSkinDataComponent* SkinData() const { return skinData_.Get(); }
  // Applies the skin at once when it is loaded.
  virtual void SetSkinData(TksSkinDataComponent* data);
  const std::string& SkinDataName() const { return skinDataName_; }
  // Takes effect at the next paint, bounds change or skin change.
  void SetSkinDataName(std::string name) { skinDataName_ = std::move(name); }
  bool DrawDefault = true;
  std::string AreaName;
  bool AlphaBlend() const { return alphaBlend_; }
  void SetAlphaBlend(bool on);
  uint8_t AlphaBlendValue() const { return alphaBlendValue_; }
  void SetAlphaBlendValue(uint8_t value);
  bool UseSkinCursor = false;
  std::function<void()> OnMouseEnter, OnMouseLeave;

  // The frame's calls around a skin change.
  TksSkinData* SkinDataForChange() const override;
  void PrepareSkinChange() override;
  void ApplySkinChange() override;

  // The section's position in the skin's control records, -1 for none.
  int SectionIndex() const { return sectionIndex_; }

  // Screen readers: the control itself, its visible child windows as its
  // children (the controls of one group as the group's object).
  HWND AccWindow() const override { return Handle(); }
  int AccChildCount() const override;
  IDispatch* AccChildObject(int child) const override;
  std::wstring AccName(int child) const override;
  // The hint, where it says more than the name.
  std::wstring AccDescription(int child) const override;
  long AccRole(int child) const override;
  long AccState(int child) const override;
  Rect AccLocation(int child) const override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& m) override;
  void CaptionChanged() override;
  // The role of controls of the class.
  virtual long AccClassRole() const { return ROLE_SYSTEM_CLIENT; }
  // Whether the control takes the focus.
  virtual bool AccFocusable() const { return TabStop(); }
  // The group the control belongs to for screen readers (its parent object
  // then is the group's), null for none.
  virtual const void* AccGroup() const { return nullptr; }
  // The tie of the control's accessible objects (for objects of its parts).
  const std::shared_ptr<TAccessibleLink>& AccessibleLink() const { return accessible_.Link(); }
  void MouseEnter() override;
  void MouseLeave() override;

  // The skin when it is set and loaded, else null.
  const TksSkinData* Skin() const;
  const TksDataSkinControl* SectionRecord() const;
  virtual void ReadSkinSection();
  // The look without a section and the skinned look, painted into a bitmap
  // of the control's size.
  virtual void DrawDefaultImage(TBitmap& bitmap) {}
  virtual void DrawSkinImage(TBitmap& bitmap) {}
  // Whether the image is mixed with what lies under the control.
  virtual bool Blends() const { return alphaBlend_; }
  void PaintWindow(TCanvas& canvas) override;
  void ApplySkinCursor();

  int cursorIndex_ = -1;

 private:
  TComponentRef<TksSkinDataComponent> skinData_;
  std::string skinDataName_;
  int sectionIndex_ = -1;
  bool alphaBlend_ = false;
  uint8_t alphaBlendValue_ = 200;
  // Kept from paint to paint: a new bitmap is fresh memory, and under Wine
  // every fresh page of it costs a fault when first drawn into.
  TBitmap image_;
  bool imageInUse_ = false;
  // A child for screen readers: a window, or a group through one member.
  struct AccChild {
    HWND hwnd;
    TksSkinControl* groupMember;
  };
  std::vector<AccChild> AccChildren() const;

  TAccessibleHost accessible_{*this};
};

class TksSkinCustomControl : public TksSkinControl {
 public:
  TksSkinCustomControl(TComponent* owner, std::string name);

  TFont& DefaultFont() { return defaultFont_; }
  const TFont& DefaultFont() const { return defaultFont_; }
  void SetDefaultFont(const TFont& font) { defaultFont_ = font; }
  bool UseSkinFont = true;
  int DefaultWidth() const { return defaultWidth_; }
  void SetDefaultWidth(int width);
  int DefaultHeight() const { return defaultHeight_; }
  void SetDefaultHeight(int height);

  void SetBounds(int left, int top, int width, int height) override;
  void ApplySkinChange() override;

 protected:
  void ReadSkinSection() override;
  void DrawDefaultImage(TBitmap& bitmap) override;
  void DrawSkinImage(TBitmap& bitmap) override;
  void PaintWindow(TCanvas& canvas) override;
  void BoundsChanged() override;
  virtual void DefaultFontChanged() {}
  // Adjusts a requested size to the section and computes the scaled geometry.
  virtual void FitToSkin(int& width, int& height);
  virtual void UpdateSkinRegion();

  // The piece at state rectangle `state` composed at the control's size.
  void ComposeSkinImage(TBitmap& bitmap, const Rect& state);
  Rect MapSkinRect(const Rect& r) const;
  // A part of the skin picture drawn transparently (key: its bottom-left
  // pixel), as check marks are.
  void DrawSkinPiece(HDC dc, int x, int y, const Rect& piece) const;
  // Character set of the texts: the skin's strings', else the default font's.
  BYTE Charset() const;
  // The section's font with UseSkinFont, else the default font; in colour.
  TFont SectionFont(const SkinFont& font, COLORREF colour) const;
  // The default font with the text character set, in colour.
  TFont PlainFont(COLORREF colour) const;

  const Image* picture_ = nullptr;
  const Image* mask_ = nullptr;
  TksSectionGeometry geometry_;
  TksStretchKind stretch_ = TksStretchKind::skNone;
  TksScaledGeometry scaled_;

 private:
  TFont defaultFont_;
  int defaultWidth_ = 0;
  int defaultHeight_ = 0;
  bool hasRegion_ = false;
  Image composed_;  // kept, as the bitmap it is copied into
};

// The cross-fade between a control's normal and active images: a factor
// 0 … 1 stepped every 20 ms towards the active or the normal end.
class TksMorphFader {
 public:
  // active: whether the control counts as active now; usable: a section
  // with morphing is in force (otherwise a tick jumps to the end and stops,
  // without a repaint); step: after each step (a repaint).
  TksMorphFader(TComponent* owner, std::function<bool()> active, std::function<bool()> usable,
                std::function<void()> step);
  double Factor() const { return factor_; }
  void SetFactor(double factor) { factor_ = factor; }
  bool Running() const;
  void Start();
  void Stop();
  // After a look change: the fade starts when it is in force, otherwise
  // a plain repaint (the step).
  void Refresh();
  // Neither exactly 0 nor exactly 1.
  bool Between() const { return factor_ != 0 && factor_ != 1; }

 private:
  void Tick();

  TTimer* timer_;
  double factor_ = 0;
  std::function<bool()> active_;
  std::function<bool()> usable_;
  std::function<void()> step_;
};

// The normal image (draw with active false) cross-faded towards the active
// one at factor by the skin's morph kind, into bitmap.
void DrawMorphed(TBitmap& bitmap, MorphKind kind, double factor,
                 const std::function<void(TBitmap&, bool active)>& draw);
// The bitmap's pixels as an effect bitmap (a copy).
TksEffectBmp EffectBmpOf(TBitmap& bitmap);

// The default look's one-pixel borders; each shrinks r by 1.
void DrawSkinBorder(HDC dc, Rect& r, TksSkinBorderStyle style);
void DrawEdgeFrame(HDC dc, Rect& r, TColor top_left, TColor bottom_right);
// The default look's one-pixel framed box of a button or scroll bar part:
// pressed and hot framed in navy on their blue-grey fills, otherwise a
// shadow frame on button face.
void DrawDefaultStateBox(HDC dc, const Rect& r, bool pressed, bool hot);
// The measured size of a caption (one line unless multi_line).
SIZE CaptionExtent(HDC dc, const TFont& font, const std::wstring& text, bool multi_line);

}  // namespace kelmar
