#include "test_icons.h"

#include <stdexcept>

#include "framework/dib_header.h"
#include "framework/wide.h"
#include "base/little_endian.h"

namespace kelmar::test {

HICON MakeIcon(int size, const std::function<Rgb(int, int)>& color, const std::function<bool(int, int)>& transparent,
               const std::function<uint8_t(int, int)>& alpha) {
  const BITMAPINFO info = TopDownDibInfo(size, size);
  void* bits = nullptr;
  HBITMAP color_bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  auto* px = static_cast<uint32_t*>(bits);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      Rgb c = color(x, y);
      px[y * size + x] = uint32_t(alpha ? alpha(x, y) : 0) << 24 | uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b;
    }
  // CreateBitmap rows are padded to 16 bits.
  const int row = (size + 15) / 16 * 2;
  std::vector<uint8_t> mask_bits(size_t(row) * size);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      if (transparent(x, y)) mask_bits[y * row + x / 8] |= uint8_t(0x80 >> (x % 8));
  HBITMAP mask_bitmap = CreateBitmap(size, size, 1, 1, mask_bits.data());
  ICONINFO ii{TRUE, 0, 0, mask_bitmap, color_bitmap};
  HICON icon = CreateIconIndirect(&ii);
  DeleteObject(color_bitmap);
  DeleteObject(mask_bitmap);
  if (!icon) throw std::runtime_error("CreateIconIndirect failed");
  return icon;
}

std::vector<uint8_t> ReadFileBytes(const std::wstring& path) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return {};
  std::vector<uint8_t> bytes(GetFileSize(h, nullptr));
  DWORD read = 0;
  if (!bytes.empty()) ReadFile(h, bytes.data(), DWORD(bytes.size()), &read, nullptr);
  CloseHandle(h);
  bytes.resize(read);
  return bytes;
}

void WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot write test file");
  DWORD written = 0;
  WriteFile(h, bytes.data(), DWORD(bytes.size()), &written, nullptr);
  CloseHandle(h);
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW fd;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &fd);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(fd.cFileName);
  } while (FindNextFileW(find, &fd));
  FindClose(find);
  return names;
}

namespace {
std::wstring EmptyFolder(const std::wstring& folder) {
  CreateDirectoryW(folder.c_str(), nullptr);
  for (const std::wstring& name : FilesIn(folder)) {
    std::wstring path = folder + L"\\" + name;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
  }
  return folder;
}
}  // namespace

std::wstring FilesFolder() {
  static const std::wstring folder = EmptyFolder(Wide(KELMAR_IMAGEIO_FILES));
  return folder;
}

std::wstring ScratchFolder(const std::wstring& name) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring base = std::wstring(temp) + L"kelmar-imageio";
  CreateDirectoryW(base.c_str(), nullptr);
  return EmptyFolder(base + L"\\" + name);
}

int IcoIndex(const std::vector<uint8_t>& ico, int x, int y) {
  const int w = ico[6], h = ico[7];
  const size_t row = (size_t(w) * 4 + 31) / 32 * 4;
  const uint8_t byte = ico[126 + (h - 1 - y) * row + x / 2];
  return x % 2 ? byte & 15 : byte >> 4;
}

bool IcoTransparent(const std::vector<uint8_t>& ico, int x, int y) {
  const int w = ico[6], h = ico[7];
  const size_t color_size = (size_t(w) * 4 + 31) / 32 * 4 * h;
  const size_t row = (size_t(w) + 31) / 32 * 4;
  return ico[126 + color_size + (h - 1 - y) * row + x / 8] & (0x80 >> (x % 8));
}

std::vector<uint8_t> IconAlpha(HICON icon, int size) {
  ICONINFO ii{};
  std::vector<uint8_t> alpha(size_t(size) * size, 0);
  if (!GetIconInfo(icon, &ii)) return alpha;
  BITMAPINFO info = TopDownDibInfo(size, size);
  std::vector<uint32_t> px(alpha.size());
  HDC dc = CreateCompatibleDC(nullptr);
  if (ii.hbmColor && GetDIBits(dc, ii.hbmColor, 0, UINT(size), px.data(), &info, DIB_RGB_COLORS) == size)
    for (size_t i = 0; i < px.size(); ++i) alpha[i] = uint8_t(px[i] >> 24);
  DeleteDC(dc);
  DeleteObject(ii.hbmColor);
  DeleteObject(ii.hbmMask);
  return alpha;
}

Rgb BmpPixel(const std::vector<uint8_t>& bmp, int x, int y) {
  const int w = int(Le32(bmp, 18)), h = int(Le32(bmp, 22));
  const size_t at = Le32(bmp, 10) + (size_t(h - 1 - y) * w + x) * 4;
  return {bmp[at + 2], bmp[at + 1], bmp[at]};
}

}  // namespace kelmar::test
