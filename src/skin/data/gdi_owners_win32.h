#pragma once
// Small RAII owners for the GDI handles of the skin primitives. (Kept private
// to the skin data folder until the framework's handle owners are on main;
// they have the same shape, so switching is a rename.)
#include <windows.h>

#include <utility>

#include "base/geometry.h"
#include "base/image.h"

namespace kelmar::skin_gdi {

// Owns one GDI object (bitmap, pen, brush, region); converts to the raw handle.
template <typename H>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(H h) : h_(h) {}
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  GdiObject(GdiObject&& o) noexcept : h_(std::exchange(o.h_, H{})) {}
  GdiObject& operator=(GdiObject&& o) noexcept {
    if (this != &o) Reset(std::exchange(o.h_, H{}));
    return *this;
  }
  ~GdiObject() { Reset(); }

  void Reset(H h = H{}) {
    if (h_) DeleteObject(h_);
    h_ = h;
  }
  // Hands the handle over (e.g. to SetWindowRgn, which then owns it).
  H Release() { return std::exchange(h_, H{}); }
  H Get() const { return h_; }
  operator H() const { return h_; }
  explicit operator bool() const { return h_ != H{}; }

 private:
  H h_{};
};

using Region = GdiObject<HRGN>;
using Pen = GdiObject<HPEN>;
using Brush = GdiObject<HBRUSH>;
using Bitmap = GdiObject<HBITMAP>;

// A memory DC compatible with `dc` (the screen when null).
class MemoryDc {
 public:
  explicit MemoryDc(HDC dc = nullptr) : dc_(CreateCompatibleDC(dc)) {}
  ~MemoryDc() {
    if (dc_) DeleteDC(dc_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  operator HDC() const { return dc_; }

 private:
  HDC dc_;
};

// GetDC/ReleaseDC of a window (the screen when null).
class WindowDc {
 public:
  explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  operator HDC() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// SelectObject that puts the previous object back.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
  ~Selected() { SelectObject(dc_, old_); }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// SaveDC/RestoreDC.
class SavedState {
 public:
  explicit SavedState(HDC dc) : dc_(dc), id_(SaveDC(dc)) {}
  ~SavedState() { RestoreDC(dc_, id_); }
  SavedState(const SavedState&) = delete;
  SavedState& operator=(const SavedState&) = delete;

 private:
  HDC dc_;
  int id_;
};

// A 32-bit top-down DIB section whose pixels are an ImageView.
class DibSection {
 public:
  DibSection(int width, int height);
  DibSection(const DibSection&) = delete;
  DibSection& operator=(const DibSection&) = delete;
  HBITMAP Handle() const { return bitmap_; }
  ImageView Pixels() const { return {bits_, width_, height_, width_}; }
  explicit operator bool() const { return bits_ != nullptr; }

 private:
  int width_ = 0;
  int height_ = 0;
  Pixel* bits_ = nullptr;
  Bitmap bitmap_;
};

inline RECT ToRECT(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }
inline Rect FromRECT(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// Draws 32-bit pixels at x, y with one DIB call (alpha is not blended).
void DrawImage(HDC dc, int x, int y, const ImageView& image);
// The pixels of a device-dependent or DIB bitmap as a 32-bit image.
Image ImageFromBitmap(HBITMAP bitmap);

}  // namespace kelmar::skin_gdi
