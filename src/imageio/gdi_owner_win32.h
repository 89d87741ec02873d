#pragma once
// Small owners for the GDI handles the writers use, so that every exit,
// including an exception, releases them.
// TODO: use the framework's handle owners (framework/handles.h) once they land.
#include <windows.h>

#include <utility>

namespace kelmar {

// A bitmap (or any GDI object) freed with DeleteObject.
template <typename H>
class GdiOwner {
 public:
  GdiOwner() = default;
  explicit GdiOwner(H h) : h_(h) {}
  GdiOwner(GdiOwner&& o) noexcept : h_(std::exchange(o.h_, H{})) {}
  GdiOwner& operator=(GdiOwner&& o) noexcept {
    if (this != &o) {
      if (h_) DeleteObject(h_);
      h_ = std::exchange(o.h_, H{});
    }
    return *this;
  }
  GdiOwner(const GdiOwner&) = delete;
  GdiOwner& operator=(const GdiOwner&) = delete;
  ~GdiOwner() {
    if (h_) DeleteObject(h_);
  }
  H Get() const { return h_; }
  H Release() { return std::exchange(h_, H{}); }
  operator H() const { return h_; }
  explicit operator bool() const { return h_ != H{}; }

 private:
  H h_{};
};

// The screen's device context (GetDC/ReleaseDC).
class ScreenDc {
 public:
  ScreenDc() : dc_(GetDC(nullptr)) {}
  ~ScreenDc() {
    if (dc_) ReleaseDC(nullptr, dc_);
  }
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  operator HDC() const { return dc_; }

 private:
  HDC dc_;
};

// A memory device context compatible with the screen (CreateCompatibleDC/DeleteDC).
class MemoryDc {
 public:
  MemoryDc() : dc_(CreateCompatibleDC(nullptr)) {}
  ~MemoryDc() {
    if (dc_) DeleteDC(dc_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  operator HDC() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HDC dc_;
};

// SelectObject for the lifetime of the scope; the previous object goes back.
class SelectIn {
 public:
  SelectIn(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
  ~SelectIn() {
    if (old_) SelectObject(dc_, old_);
  }
  SelectIn(const SelectIn&) = delete;
  SelectIn& operator=(const SelectIn&) = delete;
  explicit operator bool() const { return old_ != nullptr; }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// The two bitmaps GetIconInfo hands over, owned. No colour bitmap (a
// monochrome icon, or a handle that is not an icon) leaves color empty.
struct IconBitmaps {
  GdiOwner<HBITMAP> color;
  GdiOwner<HBITMAP> mask;
};
inline IconBitmaps GetIconBitmaps(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return {};
  return {GdiOwner<HBITMAP>(info.hbmColor), GdiOwner<HBITMAP>(info.hbmMask)};
}

}  // namespace kelmar
