#pragma once
// Window and system helpers of the skinned parts: painting what lies under a
// control, whole-window alpha, screen copies, monitor areas and the optional
// window features of the running system.
#include <windows.h>

#include <cstdint>

#include "base/geometry.h"
#include "base/image.h"
#include "skin/data/system_version.h"

namespace kelmar {

// Paints into `dc` (in the control's coordinates) what lies under `control`:
// its parent's background and client (a top-level parent only erases, as a
// form does), then the visible siblings below the control in the z-order that
// overlap it, each with its children.
void CaptureParentImage(HWND control, HDC dc);
// For check and radio boxes: the parent's erased background and its own
// painting; no siblings.
void CaptureParentSurface(HWND control, HDC dc);

// Whole-window alpha through SetLayeredWindowAttributes, looked up at each
// call; nothing where the system has no layered windows.
void SetWindowAlpha(HWND window, uint8_t alpha);

// Fills `bitmap` (keeping its size) with the screen's pixels from x, y.
void CopyScreenArea(int x, int y, Image& bitmap);

// The work area (or the whole area) of the monitor nearest to `window`. With
// one monitor, the desktop's work area or the screen. `area` is left as it
// was when a monitor query fails.
void GetMonitorWorkArea(HWND window, bool work_area, Rect& area);

SystemVersion GetSystemVersion();
inline bool LayeredWindowsAvailable() { return LayeredWindowsAvailable(GetSystemVersion()); }
// True from version 5.1 on: the drop shadow of popup windows is available.
inline bool IsSystemVersion51() { return IsSystemVersion51(GetSystemVersion()); }

}  // namespace kelmar
