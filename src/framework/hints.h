#pragma once
// Hints: the application's hint window and the handling that decides when it
// shows. A control's Hint shows when the mouse rests on the control (or on a
// child without a hint of its own) for HintPause, just below the cursor; the
// next control's hint follows after HintShortPause; a hint hides after
// HintHidePause, and at once when the mouse leaves its control, on a click,
// on a key press and when the application loses the activation. Only forms
// with ShowHint set show hints. The hint window's class can be replaced
// (SetHintWindowClass): a skin draws its own.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "base/hint_layout.h"
#include "framework/controls.h"
#include "framework/timer.h"

namespace kelmar {

// A borderless top-most popup of its own window class that never takes the
// activation and lets the mouse through to the windows below it.
class THintWindow : public TWinControl {
 public:
  THintWindow();

  // Shows `text` with its top-left at the rectangle's top-left, sized to the
  // text and moved where needed to stay wholly on that monitor; its font
  // and lengths are made for the DPI the window has (ScaleChildren: that of
  // the control the hint is for).
  virtual void ActivateHint(const Rect& rect, const std::wstring& text);
  void ReleaseHint();
  bool Showing() const;
  const std::wstring& Text() const { return text_; }
  // Lines that would be wider break (the monitor's width limits it too),
  // at 96 DPI.
  int MaxTextWidth = 400;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& m) override;
  // The window class: its name and class style.
  virtual const wchar_t* HintClassName() const { return L"KelmarHint"; }
  virtual UINT HintClassStyle() const { return CS_SAVEBITS; }
  // The font the text is measured and drawn in: Font at the window's DPI.
  virtual const TFont& HintFont() { return scaledFont_; }
  // The window's size for the measured text.
  virtual HintExtent HintSize(HintExtent text) { return PlainHintSize(text, Scaled(2)); }
  // Last step before the window shows at `bounds` (screen coordinates).
  virtual void BeforeShow(const Rect& bounds) {}
  // The whole window, into an off-screen bitmap's context. The plain look:
  // the info colours, a ring in the button shadow colour.
  virtual void PaintHint(HDC dc, int width, int height);

  const HintTextBlock& TextBlock() const { return block_; }
  // The measured lines, left-aligned, the block's top-left at x, y.
  void DrawTextBlock(HDC dc, int x, int y, TColor color);

 private:
  void PaintBuffered(HDC dc);
  std::wstring text_;
  HintTextBlock block_;
  TFont scaledFont_;
};

// The work area of the monitor that holds (or is nearest to) p.
Rect MonitorWorkAreaAt(Point p);
// The cursor position moved down by the height of the current cursor below
// its hot spot: where a hint goes so that the cursor does not cover it.
Point HintPositionBelowCursor();

struct THintInfo {
  TControl* HintControl = nullptr;
  std::wstring HintStr;
  Point HintPos;           // screen: the hint's top-left
  UINT HideTimeout = 0;    // how long it shows; 0: until the mouse leaves
  bool CanShow = true;
};

class THintHandler {
 public:
  THintHandler();
  ~THintHandler();

  bool ShowHint() const { return showHint_; }
  // Off destroys the hint window; on makes it anew from the window class.
  void SetShowHint(bool show);
  using THintWindowClass = std::function<std::unique_ptr<THintWindow>()>;
  // Takes effect when ShowHint is next switched on.
  void SetHintWindowClass(THintWindowClass windowClass) { windowClass_ = std::move(windowClass); }
  THintWindow* HintWindow() const { return window_.get(); }

  UINT HintPause = 500;
  UINT HintShortPause = 50;
  UINT HintHidePause = 5000;
  // Before a hint shows: may change the text, place and timeout, or cancel.
  std::function<void(THintInfo&)> OnShowHint;

  // Hides the hint; the control's hint comes back only after the mouse has
  // left it.
  void CancelHint();
  // The control whose hint belongs to screen point p, or null.
  static TControl* HintControlAt(Point p);
  // The text of that control's hint at screen point p.
  static std::wstring HintTextAt(TControl* control, Point p);

  // Every message the application's loop takes comes here first.
  void MessageTaken(const MSG& msg);
  // The mouse is at screen point p (moves and the polling come here).
  void MouseAt(Point p);

 private:
  void ShowHintNow();
  void HideWindow();
  THintWindow* Window();

  bool showHint_ = true;
  THintWindowClass windowClass_;
  std::unique_ptr<THintWindow> window_;
  TComponentRef<TControl> control_;
  std::wstring text_;       // what the control's hint says where the mouse is
  bool shown_ = false;      // the control's hint is on screen
  bool done_ = false;       // the control's hint showed or was cancelled
  DWORD lastHidden_ = 0;    // when a hint last went because the mouse moved on
  TTimer showTimer_, hideTimer_, pollTimer_;
};

}  // namespace kelmar
