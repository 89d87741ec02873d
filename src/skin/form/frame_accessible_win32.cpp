#include "skin/form/frame_accessible_win32.h"

#include "framework/controls.h"
#include "framework/forms.h"
#include "framework/wide.h"
#include "skin/form/skin_form_win32.h"

namespace kelmar {

HWND TksFrameAccessible::AccWindow() const { return frame_.OwnerForm()->Handle(); }

std::vector<TksSkinStdButtonObject*> TksFrameAccessible::Buttons() const {
  std::vector<TksSkinStdButtonObject*> buttons;
  for (const auto& o : frame_.FrameObjects())
    if (auto* b = dynamic_cast<TksSkinStdButtonObject*>(o.get());
        b && b->IsVisible && !b->ObjectRect.IsEmpty() && b->ButtonCommand != SkinCommand::cmDefault)
      buttons.push_back(b);
  return buttons;
}

TksSkinStdButtonObject* TksFrameAccessible::ButtonAt(int child) const {
  const auto buttons = Buttons();
  return child >= 1 && size_t(child) <= buttons.size() ? buttons[size_t(child - 1)] : nullptr;
}

int TksFrameAccessible::AccChildCount() const {
  return int(Buttons().size() + VisibleChildWindows(AccWindow()).size());
}

IDispatch* TksFrameAccessible::AccChildObject(int child) const {
  const int window = child - 1 - int(Buttons().size());
  const auto windows = VisibleChildWindows(AccWindow());
  return window >= 0 && size_t(window) < windows.size() ? ClientObjectOf(windows[size_t(window)]) : nullptr;
}

std::wstring TksFrameAccessible::AccName(int child) const {
  if (child == 0) return frame_.OwnerForm()->Caption();
  const TksSkinStdButtonObject* b = ButtonAt(child);
  return b ? frame_.ObjectName(*b) : std::wstring();
}

long TksFrameAccessible::AccRole(int child) const {
  if (child == 0) return ROLE_SYSTEM_CLIENT;
  const TksSkinStdButtonObject* b = ButtonAt(child);
  return b && b->ButtonCommand == SkinCommand::cmSysMenu ? ROLE_SYSTEM_BUTTONMENU : ROLE_SYSTEM_PUSHBUTTON;
}

long TksFrameAccessible::AccState(int child) const {
  const long form = ControlAccState(*frame_.OwnerForm(), true);
  if (child == 0) return form;
  const TksSkinStdButtonObject* b = ButtonAt(child);
  if (!b) return 0;
  long state = form & (STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_INVISIBLE);
  if (!b->IsEnabled) state |= STATE_SYSTEM_UNAVAILABLE;
  if (b->Pressed) state |= STATE_SYSTEM_PRESSED;
  if (b->MouseOver) state |= STATE_SYSTEM_HOTTRACKED;
  if (b->ButtonCommand == SkinCommand::cmSysMenu) state |= STATE_SYSTEM_HASPOPUP;
  return state;
}

std::wstring TksFrameAccessible::AccDefaultAction(int child) const {
  const TksSkinStdButtonObject* b = ButtonAt(child);
  if (!b) return {};
  return b->ButtonCommand == SkinCommand::cmSysMenu ? L"打开" : L"按下";
}

void TksFrameAccessible::AccRunDefaultAction(int child) {
  TksSkinStdButtonObject* b = ButtonAt(child);
  if (!b || !b->IsEnabled) return;
  if (b->ButtonCommand == SkinCommand::cmSysMenu)
    frame_.PopupSystemMenu(AccLocation(child));
  else
    b->Execute();
}

Rect TksFrameAccessible::AccLocation(int child) const {
  const Rect window = ScreenRectOf(AccWindow());
  if (child == 0) return window;
  const TksSkinStdButtonObject* b = ButtonAt(child);
  return b ? b->ObjectRect.Offset(window.left, window.top) : Rect{};
}

int TksFrameAccessible::AccFocus() const {
  HWND hwnd = AccWindow();
  HWND focus = GetFocus();
  if (!hwnd || !focus) return -1;
  if (focus == hwnd) return 0;
  const auto windows = VisibleChildWindows(hwnd);
  for (size_t i = 0; i < windows.size(); ++i)
    if (windows[i] == focus || IsChild(windows[i], focus)) return int(Buttons().size() + i + 1);
  return -1;
}

}  // namespace kelmar
