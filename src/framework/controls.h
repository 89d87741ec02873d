#pragma once
// Controls: TControl is any visible part of a form; TWinControl owns a window
// (one C++ object per window, messages dispatched to virtual handlers);
// TGraphicControl has no window and is painted and fed mouse input by its parent.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "base/geometry.h"
#include "framework/component.h"
#include "framework/filters.h"
#include "framework/graphics.h"

namespace kelmar {

struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

// Watching a window's messages ahead of its own handling (TWinControl::AddFilter).
using TWindowFilters = TFilterChain<TMessage>;
using TWindowFilter = TWindowFilters::Filter;
using TWindowNext = TWindowFilters::Next;

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

// Cursor numbers: 0 is the class default; others are looked up in the
// application's cursor table (TApplication::SetCursor).
using TCursor = int;
constexpr TCursor crDefault = 0;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

// The modifier keys and mouse buttons held when an input message arrived;
// dbl marks the second press of a double click.
struct TShiftState {
  bool shift = false, ctrl = false, alt = false;
  bool left = false, right = false, middle = false;
  bool dbl = false;
};
// From a mouse message's key flags (Alt from the keyboard state).
TShiftState ShiftFromMouse(WPARAM flags);
// From the keyboard state of the message being handled.
TShiftState ShiftFromKeyboard();

class TWinControl;

class TControl : public TComponent {
 public:
  TControl(TComponent* owner, std::string name);
  ~TControl() override;

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);
  virtual bool IsWindowed() const { return false; }

  int Left() const { return bounds_.left; }
  int Top() const { return bounds_.top; }
  int Width() const { return bounds_.Width(); }
  int Height() const { return bounds_.Height(); }
  Rect BoundsRect() const { return bounds_; }
  Rect ClientRect() const { return {0, 0, Width(), Height()}; }
  // The DPI the control is laid out for (TWinControl::ScaleChildren): what
  // it draws from 96-DPI measures, such as a skin's fonts, is made for it.
  int Dpi() const { return dpi_; }
  // A length of the 96-DPI design at the control's DPI.
  int Scaled(int length) const;
  // Every change of place or size comes here; a control that keeps its size
  // within limits overrides it. Windowed controls move their window, and their
  // bounds then follow what the system reports (WM_WINDOWPOSCHANGED).
  virtual void SetBounds(int left, int top, int width, int height);
  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);

  const std::wstring& Caption() const { return caption_; }
  void SetCaption(const std::wstring& caption);
  const std::wstring& Hint() const { return hint_; }
  void SetHint(const std::wstring& hint) { hint_ = hint; }
  // The hint for the pointer at p (the control's own coordinates): Hint,
  // unless a part of the control has its own (a list's items).
  virtual std::wstring HintAt(Point p) const { return hint_; }
  TFont& Font() { return font_; }
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor cursor) { cursor_ = cursor; }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool t) { transparent_ = t; Invalidate(); }
  // A disabled control takes no input and shows its disabled look.
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  std::function<void()> OnClick;
  virtual void Click();

  virtual void Invalidate();

  // Graphic controls: painting and mouse input routed by the parent; the
  // canvas origin and the points are the control's own.
  virtual void Paint(TCanvas& canvas) {}
  virtual void MouseDown(Point p) {}
  virtual void MouseUp(Point p);
  virtual void MouseEnter() {}
  virtual void MouseLeave() {}

 protected:
  virtual void BoundsChanged() {}
  virtual void CaptionChanged() { Invalidate(); }
  virtual void VisibleChanged();
  virtual void EnabledChanged() { Invalidate(); }
  void FontChanged();

 private:
  void ScaleAsItJoins(int dpi);
  TWinControl* parent_ = nullptr;
  Rect bounds_;
  int dpi_ = 96;
  // The bounds and font height laid out for 96 DPI, taken when the control
  // was first made for another DPI: every later scale starts from them.
  Rect design_bounds_;
  int design_font_height_ = 0;
  TAlign align_ = TAlign::alNone;
  bool visible_ = true;
  bool transparent_ = false;
  bool enabled_ = true;
  std::wstring caption_;
  std::wstring hint_;
  TFont font_;
  TColor color_ = GetSysColor(COLOR_BTNFACE);
  TCursor cursor_ = crDefault;
  bool pressed_ = false;
  friend class TWinControl;
};

struct TCreateParams {
  std::wstring ClassName;  // empty: the framework's own window class
  DWORD Style = WS_CHILD | WS_CLIPSIBLINGS;
  DWORD ExStyle = 0;
  // Own-class windows: class styles beyond the framework's (CS_SAVEBITS,
  // CS_DROPSHADOW for pop-ups).
  UINT ClassStyle = 0;
  // A window without a parent control: its owner window.
  HWND WndParent = nullptr;
};

class TWinControl : public TControl {
 public:
  TWinControl(TComponent* owner, std::string name);
  ~TWinControl() override;

  bool IsWindowed() const override { return true; }
  void SetParent(TWinControl* parent) override;
  HWND Handle() const { return handle_; }
  bool HandleAllocated() const { return handle_ != nullptr; }
  // The window is of the framework's own class (not a system control's).
  bool OwnClass() const { return own_class_; }
  static TWinControl* FromHandle(HWND hwnd);

  const std::vector<TControl*>& Controls() const { return controls_; }
  void Invalidate() override;
  void SetFocus();
  bool Focused() const;
  // The window exists and it and every parent up to the form are visible and
  // enabled.
  bool CanFocus() const;
  // Tab and Shift+Tab stop at the control (WS_TABSTOP).
  bool TabStop() const { return tab_stop_; }
  void SetTabStop(bool tab_stop);
  void SetBounds(int left, int top, int width, int height) override;
  // The children laid out for 96 DPI, made for `dpi`: their bounds and fonts,
  // and their children's in turn (ScaleLength), always from the 96-DPI
  // layout, so a change of DPI gives what a start at the new one gives.
  // The control itself takes the DPI as well.
  void ScaleChildren(int dpi);
  // Places the aligned children in AlignArea().
  void AlignControls();
  // Where aligned children go: the client area, unless a control keeps a
  // border of its own.
  virtual Rect AlignArea() const;
  // A dialog key (Tab, Enter, Esc, an arrow) pressed while this control has
  // the focus, offered before the form moves the focus; true when used.
  virtual bool DialogKey(WORD key, TShiftState shift) { return false; }
  // An accelerator character (Alt and a letter) offered to every control of
  // the form; true when used.
  virtual bool DialogChar(wchar_t ch) { return false; }
  // The focus moved to `focused` somewhere on the form.
  virtual void FormFocusChanged(TWinControl* focused) {}
  // The form's window moved on the screen.
  virtual void FormMoved() {}
  // The pointer is over the window (own-class windows; see MouseEnter).
  bool MouseInside() const { return mouse_inside_; }

  // Every message of the window: its filters, then WndProc.
  void WindowProc(TMessage& m);
  // Another object that watches this window's messages (the skinned frame its
  // form) sees each of them ahead of all the control's own handling, derived
  // classes included, for as long as it keeps the returned filter. The
  // control's own messages belong in its WndProc override.
  [[nodiscard]] TWindowFilter AddFilter(TWindowFilters::Handler handler) { return filters_.Add(std::move(handler)); }

  // The control's own handling: dispatches to the handlers below and then to
  // the window's original procedure.
  virtual void WndProc(TMessage& m);
  void DefaultHandler(TMessage& m);
  LRESULT Perform(UINT msg, WPARAM w = 0, LPARAM l = 0);

 protected:
  virtual void CreateParams(TCreateParams& params) {}
  void CreateHandle();
  void DestroyHandle();
  virtual void HandleCreated() {}
  // Own-class windows paint their whole client area here, off screen.
  virtual void PaintWindow(TCanvas& canvas);
  void PaintGraphicControls(TCanvas& canvas);
  // The whole client area, painted off screen, then copied to dc.
  void PaintTo(HDC dc);
  // Notifications that the parent reflects back to the child that sent them.
  virtual void CommandNotify(WORD code) {}
  virtual void NotifyReflected(TMessage& m) {}
  virtual HBRUSH CtlColor(HDC dc) { return nullptr; }

  // Input of own-class windows, already decoded. Points are client
  // coordinates. MouseEnter and MouseLeave (TControl) frame the time the
  // pointer is over the window; while the window holds the mouse (capture)
  // it is left as soon as the pointer is outside the client area.
  virtual void MouseButtonDown(TMouseButton button, TShiftState shift, Point p) {}
  virtual void MouseButtonUp(TMouseButton button, TShiftState shift, Point p) {}
  virtual void MouseMoved(TShiftState shift, Point p) {}
  // Someone else took the mouse while a press was held here.
  virtual void CaptureLost() {}
  virtual void FocusChanged(bool focused) {}
  virtual void KeyDown(WORD key, TShiftState shift) {}
  virtual void KeyUp(WORD key, TShiftState shift) {}
  virtual void KeyPress(wchar_t ch) {}
  // Set by controls that hold the mouse from a left press to its release,
  // as push buttons do.
  bool CaptureMouseOnPress = false;

  void BoundsChanged() override;
  void EnabledChanged() override;
  void CaptionChanged() override;
  void VisibleChanged() override;

 private:
  friend class TControl;
  friend LRESULT CALLBACK KelmarWndProc(HWND, UINT, WPARAM, LPARAM);
  void InsertControl(TControl* c);
  void RemoveControl(TControl* c);
  TControl* GraphicControlAt(Point p) const;
  void RouteMouse(TMessage& m);
  bool HandleInput(TMessage& m);
  void TrackMouseInside(Point p);
  void UpdateBoundsFromWindow();
  bool PaintShowingWindow();
  bool PaintInOnePass();

  TWindowFilters filters_;
  HWND handle_ = nullptr;
  WNDPROC default_proc_ = nullptr;
  bool own_class_ = true;
  bool tab_stop_ = false;
  bool mouse_inside_ = false;
  bool releasing_capture_ = false;
  bool in_paint_ = false;
  bool showing_ = false;  // a top-level window between its show and its first erase
  std::vector<TControl*> controls_;
  TControl* mouse_control_ = nullptr;   // graphic child under the mouse
  TControl* capture_control_ = nullptr; // graphic child that got the press
};

LRESULT CALLBACK KelmarWndProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);

// Whether ch is the caption's accelerator: the character after a single "&",
// compared without regard to case ("&&" is a plain ampersand).
bool IsAccelerator(wchar_t ch, const std::wstring& caption);

}  // namespace kelmar
