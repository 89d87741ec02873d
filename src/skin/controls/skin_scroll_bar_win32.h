#pragma once
// The skinned scroll bar: a track, two arrow buttons and a thumb from a
// section of the scroll bar class, or a flat look of its own without one.
// Arrow presses step at once and repeat after 500 ms every 50 ms; a press in
// the track pages towards the pointer until the thumb reaches it; the thumb
// can be dragged.
#include <windows.h>

#include <functional>
#include <string>

#include "skin/controls/scroll_bar_geometry.h"
#include "skin/controls/skin_control_win32.h"

namespace kelmar {

class TksSkinScrollBar : public TksSkinCustomControl {
 public:
  TksSkinScrollBar(TComponent* owner, std::string name);

  TScrollBarKind Kind() const { return kind_; }
  void SetKind(TScrollBarKind kind);
  int Min() const { return min_; }
  void SetMin(int value);
  int Max() const { return max_; }
  void SetMax(int value);
  int Position() const { return position_; }
  // Limited to Min … Max − PageSize + 1 (with a page) or Min … Max; a change
  // repaints and fires OnChange.
  void SetPosition(int value);
  int PageSize() const { return pageSize_; }
  void SetPageSize(int value);
  // The whole state at once, as a list mirrors its own scrolling: no OnChange.
  void SetRange(int min, int max, int pageSize, int position);
  int SmallChange() const { return smallChange_; }
  void SetSmallChange(int value);
  int LargeChange() const { return largeChange_; }
  void SetLargeChange(int value);
  bool CanFocused() const { return canFocused_; }
  void SetCanFocused(bool can);
  bool Both() const { return both_; }
  void SetBoth(bool on);
  std::string BothSkinDataName = "bothhscrollbar";
  int BothMarkerWidth() const { return bothMarkerWidth_; }
  void SetBothMarkerWidth(int width);

  std::function<void()> OnChange;       // Position changed through SetPosition
  std::function<void()> OnLastChange;   // a thumb drag ended
  std::function<void()> OnUpButtonClick, OnDownButtonClick;  // replace the arrows' own step
  std::function<void()> OnPageUp, OnPageDown;

  // The parts as they are laid out for the current size and state, in
  // control coordinates.
  const TksScrollBarLayout& Layout();

  std::wstring AccValue(int child) const override { return child == 0 ? std::to_wstring(position_) : L""; }

 protected:
  long AccClassRole() const override { return ROLE_SYSTEM_SCROLLBAR; }
  void ReadSkinSection() override;
  void DrawSkinImage(TBitmap& bitmap) override;
  void DrawDefaultImage(TBitmap& bitmap) override;
  void MouseButtonDown(TMouseButton button, TShiftState shift, Point p) override;
  void MouseButtonUp(TMouseButton button, TShiftState shift, Point p) override;
  void MouseMoved(TShiftState shift, Point p) override;
  void MouseLeave() override;
  void CaptureLost() override;
  void FocusChanged(bool focused) override;
  void KeyDown(WORD key, TShiftState shift) override;
  void WndProc(TMessage& m) override;

 private:
  TScrollBarKind kind_ = TScrollBarKind::sbHorizontal;
  int min_ = 0, max_ = 100, position_ = 0, pageSize_ = 0;
  int smallChange_ = 1, largeChange_ = 1;
  bool canFocused_ = false;
  bool both_ = false;
  int bothMarkerWidth_ = 0;
  TksScrollBarLayout layout_;

  // Repeat modes of the timer.
  enum class TRepeat { rpNone, rpDecrease, rpIncrease, rpPageBack, rpPageForward };
  struct TPartState {
    bool hot = false, down = false;
  };

  TksScrollRange Range() const { return {min_, max_, pageSize_, position_}; }
  TPartState& Part(TksScrollBarPart part) { return parts_[int(part)]; }
  bool IsArrow(TksScrollBarPart part) const {
    return part == TksScrollBarPart::spUpButton || part == TksScrollBarPart::spDownButton;
  }
  bool FocusedLook() const { return canFocused_ && Focused(); }
  bool ThumbPressedLook() const { return dragging_ || FocusedLook(); }
  void ArrowStep(TksScrollBarPart part);
  void PageStep(bool forward);
  void StartRepeat(TRepeat mode);
  void RunRepeatTimer(UINT interval);
  void StopRepeat();
  void RepeatTick();
  void UpdateHotPart(Point p);
  void EndPress(Point p);
  void DrawSkinButton(TBitmap& bitmap, TksScrollBarPart part, const Rect& active, const Rect& down);

  TPartState parts_[3];  // thumb, increase, decrease
  TksScrollBarPart hot_ = TksScrollBarPart::spNone;
  TksScrollBarPart captured_ = TksScrollBarPart::spNone;
  bool dragging_ = false;
  bool pressed_ = false;
  Point lastPointer_;
  // At the start of a drag: pointer along the axis, thumb offset.
  int dragAlong_ = 0, dragOffset_ = 0;
  TRepeat repeat_ = TRepeat::rpNone;
  bool firstDelay_ = false;
  TTimer* repeatTimer_;
  std::string unbothSkinDataName_;
  // From a section of the scroll bar class.
  TksScrollBarRects rects_;
};

}  // namespace kelmar
