#pragma once
// The skinned check box and radio box (one class): a mark from the skin
// (checked or not, each normal, active and disabled) and the caption, drawn
// flat on the parent's background or on a framed skin image. Boxes of one
// parent with the same non-zero GroupIndex uncheck each other.
#include <string>
#include <vector>

#include "framework/component.h"
#include "framework/list_view.h"
#include "skin/controls/skin_control_win32.h"

namespace kelmar {

class TksSkinCheckRadioBox : public TksSkinCustomControl {
 public:
  TksSkinCheckRadioBox(TComponent* owner, std::string name);

  bool Radio() const { return radio_; }
  void SetRadio(bool radio);
  bool Checked() const { return checked_; }
  // Unchecks the group's other boxes when checking, then fires OnClick for a
  // checked radio box or any check box (also when nothing changed).
  void SetChecked(bool checked);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int group) { groupIndex_ = group; }
  bool Flat() const { return flat_; }
  void SetFlat(bool flat);
  bool CanFocused() const { return canFocused_; }
  void SetCanFocused(bool can);
  // An image between the mark and the caption (flat boxes), when ImageIndex
  // is within the list.
  TImageList* Images() const { return images_.Get(); }
  void SetImages(TImageList* images);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int index);
  // What a click, Space or an arrow key does: a check box flips, a radio box
  // becomes checked.
  void Toggle();
  bool MouseIn() const { return mouseIn_; }

  bool DialogKey(WORD key, TShiftState shift) override;
  bool DialogChar(wchar_t ch) override;

  // The name screen readers give the radio boxes of the group (the first
  // box of the group that has one names it).
  std::wstring GroupName;
  // The boxes of the group (GroupIndex, same parent) in their parent's
  // order, this one included; just this one outside a group.
  std::vector<const TksSkinCheckRadioBox*> Group() const;

  long AccState(int child) const override;
  std::wstring AccDefaultAction(int child) const override;
  void AccRunDefaultAction(int child) override;
  // A radio box of a group is a child of the group's object.
  IDispatch* AccParent() const override;
  const void* AccGroup() const override;

 protected:
  void ReadSkinSection() override;
  void FitToSkin(int& width, int& height) override;
  void DrawSkinImage(TBitmap& bitmap) override;
  void DrawDefaultImage(TBitmap& bitmap) override;
  bool Blends() const override { return AlphaBlend() && !flat_; }
  void ApplySkinChange() override;
  void EnabledChanged() override;
  void WndProc(TMessage& m) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void MouseButtonDown(TMouseButton button, TShiftState shift, Point p) override;
  void MouseButtonUp(TMouseButton button, TShiftState shift, Point p) override;
  void FocusChanged(bool focused) override;
  void KeyUp(WORD key, TShiftState shift) override;
  long AccClassRole() const override { return radio_ ? ROLE_SYSTEM_RADIOBUTTON : ROLE_SYSTEM_CHECKBUTTON; }
  bool AccFocusable() const override { return canFocused_; }

 private:
  bool Active() const { return mouseIn_ || FocusedLook(); }
  bool FocusedLook() const { return canFocused_ && Focused(); }
  void DrawFlat(TBitmap& bitmap, bool skinned);
  void DrawFrameImage(TBitmap& bitmap, const Rect& state, bool active);
  // The plain square with its mark, for the looks without a section.
  void DrawPlainMark(HDC dc);
  void DrawFocusMark(HDC dc, Rect text, const Rect& image) const;

  bool radio_ = false;
  bool checked_ = false;
  int groupIndex_ = 0;
  bool flat_ = true;
  bool canFocused_ = true;
  bool mouseIn_ = false;
  bool pressed_ = false;
  TComponentRef<TImageList> images_;
  int imageIndex_ = 0;
  TksMorphFader fader_;

  // From the section.
  TksCheckRadioRects rects_;
  TksCheckRadioPlaces places_;
  SkinFont font_;
  uint32_t activefontcolor_ = 0, unenabledfontcolor_ = 0, framefontcolor_ = 0;
  bool morphing_ = false;
  MorphKind morphkind_ = MorphKind::mkDefault;
};

}  // namespace kelmar
