#include "skin/data/skin_platform_win32.h"

#include <cstring>
#include <utility>

#include "framework/controls.h"
#include "framework/graphics.h"
#include "framework/handles.h"

namespace kelmar {
namespace {

RECT WindowRectInParent(HWND window, HWND parent) {
  RECT r{};
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The parent's part: origin moved so that the parent's client origin lands
// at -control.left, -control.top; clipped to the parent's client area.
void PaintParent(HWND parent, const RECT& control, HDC dc, bool erase_only) {
  ScopedDcState state(dc);
  OffsetViewportOrgEx(dc, -control.left, -control.top, nullptr);
  RECT client{};
  GetClientRect(parent, &client);
  IntersectClipRect(dc, 0, 0, client.right, client.bottom);
  SendMessageW(parent, WM_ERASEBKGND, WPARAM(dc), 0);
  // A window of our own class draws its whole picture for the erase request
  // alone; asking it to print as well would compose it twice.
  const bool own = reinterpret_cast<WNDPROC>(GetClassLongPtrW(parent, GCLP_WNDPROC)) == &KelmarWndProc;
  if (!erase_only && !own) SendMessageW(parent, WM_PRINTCLIENT, WPARAM(dc), PRF_CLIENT);
}

void CaptureParent(HWND control, HDC dc, bool with_siblings) {
  const HWND parent = GetParent(control);
  if (!parent || !dc) return;
  const RECT bounds = WindowRectInParent(control, parent);
  const bool top_level = (GetWindowLongPtrW(parent, GWL_STYLE) & WS_CHILD) == 0;
  PaintParent(parent, bounds, dc, with_siblings && top_level);
  if (!with_siblings) return;
  // Siblings lower in the z-order are painted first; stop at the control.
  for (HWND sibling = GetWindow(control, GW_HWNDLAST); sibling && sibling != control;
       sibling = GetWindow(sibling, GW_HWNDPREV)) {
    if (!IsWindowVisible(sibling)) continue;
    const RECT r = WindowRectInParent(sibling, parent);
    RECT overlap{};
    if (!IntersectRect(&overlap, &r, &bounds)) continue;
    ScopedDcState state(dc);
    OffsetViewportOrgEx(dc, r.left - bounds.left, r.top - bounds.top, nullptr);
    IntersectClipRect(dc, 0, 0, r.right - r.left, r.bottom - r.top);
    SendMessageW(sibling, WM_PRINT, WPARAM(dc), PRF_NONCLIENT | PRF_ERASEBKGND | PRF_CLIENT | PRF_CHILDREN);
  }
}

}  // namespace

void CaptureParentImage(HWND control, HDC dc) { CaptureParent(control, dc, true); }
void CaptureParentSurface(HWND control, HDC dc) { CaptureParent(control, dc, false); }

void SetWindowAlpha(HWND window, uint8_t alpha) {
  using SetLayeredFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  if (!user32) return;
  const auto set = reinterpret_cast<SetLayeredFn>(
      reinterpret_cast<void*>(GetProcAddress(user32, "SetLayeredWindowAttributes")));
  if (set) set(window, 0, alpha, LWA_ALPHA);
}

void CopyScreenArea(int x, int y, Image& bitmap) {
  if (bitmap.IsEmpty()) return;
  TBitmap dib(bitmap.Width(), bitmap.Height());
  if (dib.IsEmpty()) return;
  {
    WindowDc screen(nullptr);
    BitBlt(dib.Dc(), 0, 0, bitmap.Width(), bitmap.Height(), screen, x, y, SRCCOPY);
  }
  GdiFlush();
  const ImageView pixels = dib.Pixels();
  for (int row = 0; row < bitmap.Height(); ++row)
    std::memcpy(bitmap.Row(row), pixels.Row(row), size_t(bitmap.Width()) * sizeof(Pixel));
}

void GetMonitorWorkArea(HWND window, bool work_area, Rect& area) {
  using MonitorFromWindowFn = HMONITOR(WINAPI*)(HWND, DWORD);
  using GetMonitorInfoFn = BOOL(WINAPI*)(HMONITOR, LPMONITORINFO);
  // Looked up once: systems before 5.0 have no monitor calls.
  static const auto [monitor_from_window, get_monitor_info] = [] {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    auto find = [user32](const char* name) {
      return user32 ? reinterpret_cast<void*>(GetProcAddress(user32, name)) : nullptr;
    };
    return std::pair{reinterpret_cast<MonitorFromWindowFn>(find("MonitorFromWindow")),
                     reinterpret_cast<GetMonitorInfoFn>(find("GetMonitorInfoW"))};
  }();
  if (GetSystemMetrics(SM_CMONITORS) > 1 && monitor_from_window && get_monitor_info) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (get_monitor_info(monitor_from_window(window, MONITOR_DEFAULTTONEAREST), &info))
      area = FromRECT(work_area ? info.rcWork : info.rcMonitor);
    return;
  }
  if (work_area) {
    RECT r{};
    if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0)) area = FromRECT(r);
  } else {
    area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
}

SystemVersion GetSystemVersion() {
  const DWORD version = GetVersion();
  return {int(LOBYTE(LOWORD(version))), int(HIBYTE(LOWORD(version)))};
}

}  // namespace kelmar
