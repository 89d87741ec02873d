#pragma once
// Real mouse input for the Windows tests: the pointer is put over a control
// and the window under it gets the mouse messages the system would send for
// a click there. Window-less controls get them through their parent.
#include <windows.h>

#include "framework/controls.h"

namespace kelmar::test {

// A point of the control (its own coordinates) as the window that receives
// the mouse there sees it.
struct MouseTarget {
  HWND window;
  POINT at;
};

inline MouseTarget MouseTargetOf(TControl* control, Point p) {
  if (control->IsWindowed()) return {static_cast<TWinControl*>(control)->Handle(), {p.x, p.y}};
  return {control->Parent()->Handle(), {control->Left() + p.x, control->Top() + p.y}};
}

inline LPARAM MousePoint(POINT at) { return MAKELPARAM(at.x, at.y); }

// Moves the pointer to p of the control and tells the window it is there.
inline void MoveMouse(TControl* control, Point p) {
  const MouseTarget t = MouseTargetOf(control, p);
  POINT screen = t.at;
  ClientToScreen(t.window, &screen);
  SetCursorPos(screen.x, screen.y);
  SendMessageW(t.window, WM_MOUSEMOVE, 0, MousePoint(t.at));
}

inline void PressMouse(TControl* control, Point p) {
  MoveMouse(control, p);
  const MouseTarget t = MouseTargetOf(control, p);
  SendMessageW(t.window, WM_LBUTTONDOWN, MK_LBUTTON, MousePoint(t.at));
}

// The release goes to the window that holds the mouse, if any.
inline void ReleaseMouse(TControl* control, Point p) {
  const MouseTarget t = MouseTargetOf(control, p);
  HWND holder = GetCapture();
  POINT at = t.at;
  if (holder && holder != t.window) MapWindowPoints(t.window, holder, &at, 1);
  SendMessageW(holder ? holder : t.window, WM_LBUTTONUP, 0, MousePoint(at));
}

// A left click in the middle of the control.
inline void Click(TControl* control) {
  const Point middle{control->Width() / 2, control->Height() / 2};
  PressMouse(control, middle);
  ReleaseMouse(control, middle);
}

}  // namespace kelmar::test
