#pragma once
// RAII owners for GDI, USER and kernel handles. Each converts to its raw
// handle so it passes straight into API calls; none can be copied.
#include <windows.h>
#include <commctrl.h>

#include <utility>

namespace kelmar {

// The value that owns nothing: the deleter's Null() where it has one (file
// and find handles use INVALID_HANDLE_VALUE), else zero.
template <typename H, typename Deleter>
H NullHandle() {
  if constexpr (requires { Deleter::Null(); })
    return Deleter::Null();
  else
    return H{};
}

template <typename H, typename Deleter>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(H h) : h_(h) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, Null())) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) Reset(std::exchange(o.h_, Null()));
    return *this;
  }
  ~UniqueHandle() { Reset(); }

  void Reset(H h = Null()) {
    if (h_ != Null()) Deleter{}(h_);
    h_ = h;
  }
  H Release() { return std::exchange(h_, Null()); }
  H Get() const { return h_; }
  operator H() const { return h_; }
  explicit operator bool() const { return h_ != Null(); }

 private:
  static H Null() { return NullHandle<H, Deleter>(); }
  H h_ = Null();
};

struct GdiObjectDeleter {
  void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct IconDeleter {
  void operator()(HICON h) const { DestroyIcon(h); }
};
struct DcDeleter {
  void operator()(HDC h) const { DeleteDC(h); }
};
struct ImageListDeleter {
  void operator()(HIMAGELIST h) const;  // ImageList_Destroy (comctl32)
};
struct MenuDeleter {
  void operator()(HMENU h) const { DestroyMenu(h); }
};

// Kernel objects: files and find searches have INVALID_HANDLE_VALUE for
// "none", processes and threads zero.
struct FileDeleter {
  static HANDLE Null() { return INVALID_HANDLE_VALUE; }
  void operator()(HANDLE h) const { CloseHandle(h); }
};
struct FindDeleter {
  static HANDLE Null() { return INVALID_HANDLE_VALUE; }
  void operator()(HANDLE h) const { FindClose(h); }
};
struct KernelObjectDeleter {
  void operator()(HANDLE h) const { CloseHandle(h); }
};

using BitmapHandle = UniqueHandle<HBITMAP, GdiObjectDeleter>;
using FontHandle = UniqueHandle<HFONT, GdiObjectDeleter>;
using BrushHandle = UniqueHandle<HBRUSH, GdiObjectDeleter>;
using PenHandle = UniqueHandle<HPEN, GdiObjectDeleter>;
using RegionHandle = UniqueHandle<HRGN, GdiObjectDeleter>;
using IconHandle = UniqueHandle<HICON, IconDeleter>;
using MemoryDcHandle = UniqueHandle<HDC, DcDeleter>;
using ImageListHandle = UniqueHandle<HIMAGELIST, ImageListDeleter>;
using MenuHandle = UniqueHandle<HMENU, MenuDeleter>;
using FileHandle = UniqueHandle<HANDLE, FileDeleter>;
using FindHandle = UniqueHandle<HANDLE, FindDeleter>;
using KernelHandle = UniqueHandle<HANDLE, KernelObjectDeleter>;

// A window's device context for the lifetime of the scope: the client area
// (GetDC) or the whole window, frame included (GetWindowDC).
template <HDC(WINAPI* Acquire)(HWND)>
class ScopedWindowDc {
 public:
  explicit ScopedWindowDc(HWND hwnd) : hwnd_(hwnd), dc_(Acquire(hwnd)) {}
  ~ScopedWindowDc() { ReleaseDC(hwnd_, dc_); }
  ScopedWindowDc(const ScopedWindowDc&) = delete;
  ScopedWindowDc& operator=(const ScopedWindowDc&) = delete;
  operator HDC() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};
using WindowDc = ScopedWindowDc<GetDC>;
using WindowNcDc = ScopedWindowDc<GetWindowDC>;

// Gives the region to the window: once set, the system owns and deletes it
// (also the one it replaces), so the handle is let go; a refused region is
// deleted here. A null region makes the window rectangular again.
inline bool SetWindowShape(HWND hwnd, RegionHandle region, bool redraw) {
  if (!SetWindowRgn(hwnd, region.Get(), redraw)) return false;
  region.Release();
  return true;
}

// Gives the window its new shape and invalidates what the new shape adds to
// the old one, frame and children included. A size change invalidates only
// what lay inside the old shape, so without this the area a larger window
// gains is never painted; a full redraw would paint every child twice.
bool ReshapeWindow(HWND hwnd, RegionHandle region);

// BeginPaint/EndPaint.
class PaintDc {
 public:
  explicit PaintDc(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
  ~PaintDc() { EndPaint(hwnd_, &ps_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  operator HDC() const { return dc_; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// SelectObject that puts the previous object back at the end of the scope.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
  ~ScopedSelect() { SelectObject(dc_, old_); }
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A flag that is set while the scope lasts (a paint in progress, a picture
// in use).
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = false; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
};

// SaveDC/RestoreDC.
class ScopedDcState {
 public:
  explicit ScopedDcState(HDC dc) : dc_(dc), id_(SaveDC(dc)) {}
  ~ScopedDcState() { RestoreDC(dc_, id_); }
  ScopedDcState(const ScopedDcState&) = delete;
  ScopedDcState& operator=(const ScopedDcState&) = delete;

 private:
  HDC dc_;
  int id_;
};

}  // namespace kelmar
