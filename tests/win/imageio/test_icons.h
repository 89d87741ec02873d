#pragma once
// Icons and files for the writer tests: icons built from known pixels, and
// the bytes of written files read back.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kelmar::test {

struct Rgb {
  uint8_t r, g, b;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// An icon whose colour image (32 bits per pixel) and mask are given pixel by
// pixel; the caller destroys it. Without an alpha function the fourth byte
// is 0 everywhere (an icon without alpha); with one, the colours are the
// straight (not premultiplied) ones.
HICON MakeIcon(int size, const std::function<Rgb(int x, int y)>& color,
               const std::function<bool(int x, int y)>& transparent,
               const std::function<uint8_t(int x, int y)>& alpha = nullptr);

std::vector<uint8_t> ReadFileBytes(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes);
bool FileExists(const std::wstring& path);

// The folder the readers check afterwards (emptied by the first call), and a
// scratch folder per test (emptied on each call).
std::wstring FilesFolder();
std::wstring ScratchFolder(const std::wstring& name);
std::vector<std::wstring> FilesIn(const std::wstring& folder);

// One-image 4-bit icon file: colour index and mask bit of pixel (x, y), y from the top.
int IcoIndex(const std::vector<uint8_t>& ico, int x, int y);
bool IcoTransparent(const std::vector<uint8_t>& ico, int x, int y);
// The fourth byte of each pixel of an icon's colour bitmap, rows top-down.
std::vector<uint8_t> IconAlpha(HICON icon, int size);
// 32-bit bitmap file: colour of pixel (x, y), y from the top.
Rgb BmpPixel(const std::vector<uint8_t>& bmp, int x, int y);

}  // namespace kelmar::test
