#include "app/icon_source.h"

#include <shellapi.h>

#include <algorithm>

#include "base/error.h"

namespace kelmar {

std::wstring UpperExtension(const std::wstring& path) {
  // UTF-16 has no trail bytes that look like separators, so a plain search
  // from the end finds the real "." "\" and ":".
  size_t pos = path.find_last_of(L".\\/:");
  if (pos == std::wstring::npos || path[pos] != L'.') return {};
  std::wstring ext = path.substr(pos);
  for (auto& c : ext)
    if (c >= L'a' && c <= L'z') c = wchar_t(c - L'a' + L'A');
  return ext;
}

bool IsExecutableType(const std::wstring& path) {
  std::wstring ext = UpperExtension(path);
  return ext == L".EXE" || ext == L".OCX" || ext == L".DLL";
}

std::wstring LongPath(const std::wstring& path) {
  if (path.rfind(L"\\\\?\\", 0) == 0 || path.empty()) return path;
  DWORD length = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (length == 0) return path;
  std::wstring full(length, L'\0');
  full.resize(GetFullPathNameW(path.c_str(), length, full.data(), nullptr));
  if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

namespace {

// The part of an executable that its icons can lie in: headers and section
// data, without what follows them (an installer's payload can be gigabytes).
// Nothing when the file cannot be read, is no PE, or was cut.
std::optional<std::vector<uint8_t>> ReadExecutableBytes(const std::wstring& path) {
  FileHandle file(CreateFileW(LongPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return std::nullopt;
  auto read = [&](std::vector<uint8_t>& bytes, size_t from) {
    DWORD got = 0;
    return ReadFile(file, bytes.data() + from, DWORD(bytes.size() - from), &got, nullptr) &&
           got == bytes.size() - from;
  };
  std::optional<std::vector<uint8_t>> result;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file, &size)) {
    // The headers and the section table lie within the first 64 KB.
    std::vector<uint8_t> bytes(size_t(std::min<LONGLONG>(size.QuadPart, 65536)));
    if (!bytes.empty() && read(bytes, 0)) {
      const uint64_t needed = PeDataSize(bytes);
      if (needed != 0 && needed <= uint64_t(size.QuadPart) && needed <= UINT32_MAX) {
        const size_t have = bytes.size();
        bytes.resize(size_t(std::max<uint64_t>(needed, have)));
        if (read(bytes, have)) result = std::move(bytes);
      }
    }
  }
  return result;
}

}  // namespace

int DisplayBits() {
  HDC screen = GetDC(nullptr);
  int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
  ReleaseDC(nullptr, screen);
  return bits;
}

FileIcons FileIcons::Read(const std::wstring& path) {
  FileIcons icons;
  if (!IsExecutableType(path)) return icons;
  std::optional<std::vector<uint8_t>> bytes = ReadExecutableBytes(path);
  if (!bytes) return icons;
  std::optional<std::vector<IconGroup>> groups = ReadPeIcons(*bytes);
  if (!groups) return icons;
  icons.groups_.reserve(groups->size());
  for (auto& group : *groups) icons.groups_.push_back(std::make_shared<const IconGroup>(std::move(group)));
  return icons;
}

int IconCount(const std::wstring& path) { return FileIcons::Read(path).Count(); }

ExtractedIcon ExtractGroupIcon(const IconGroup& group, int size, int displayBits) {
  ExtractedIcon icon;
  const int cx = size ? size : GetSystemMetrics(SM_CXICON), cy = size ? size : GetSystemMetrics(SM_CYICON);
  int best = BestIconEntry(group, cx, cy, displayBits ? displayBits : DisplayBits());
  if (best < 0) return icon;
  std::span<const uint8_t> image = group.entries[size_t(best)].Image();
  if (image.empty()) return icon;
  if (!group.entries[size_t(best)].IsPng()) {
    try {
      DecodedIcon decoded = DecodeIconImage(image);
      if (decoded.image.Width() == cx && decoded.image.Height() == cy && decoded.bitsPerPixel > 1) {
        icon.pixels = std::move(decoded);
        return icon;
      }
    } catch (const Error&) {
      return icon;  // cut or malformed: the system is not asked to read it
    }
  }
  // The bytes are all there (checked above for a DIB; a PNG stream is read
  // within its given size).
  icon.handle.Reset(CreateIconFromResourceEx(const_cast<BYTE*>(image.data()), DWORD(image.size()), TRUE, 0x00030000,
                                             cx, cy, LR_DEFAULTCOLOR));
  return icon;
}

ExtractedIcon OwnGroupIcon(const IconGroup& group, int size, int displayBits) {
  if (!displayBits) displayBits = DisplayBits();
  const int best = BestIconEntry(group, size, size, displayBits);
  if (best < 0) return {};
  const IconEntry& entry = group.entries[size_t(best)];
  // A stored 0 is 256.
  if ((entry.width ? entry.width : 256) != size || (entry.height ? entry.height : 256) != size) return {};
  return ExtractGroupIcon(group, size, displayBits);
}

IconHandle GetShellIcon(const std::wstring& path, bool small) {
  SHFILEINFOW info{};
  UINT flags = SHGFI_ICON | (small ? SHGFI_SMALLICON : 0);
  if (SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), flags) && info.hIcon) return IconHandle(info.hIcon);
  // The icon of the file's type, from its extension alone.
  std::wstring type = L"file" + UpperExtension(path);
  if (SHGetFileInfoW(type.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof(info), flags | SHGFI_USEFILEATTRIBUTES) &&
      info.hIcon)
    return IconHandle(info.hIcon);
  int size = small ? 16 : 32;
  return IconHandle(static_cast<HICON>(
      CopyImage(LoadIconW(nullptr, IDI_APPLICATION), IMAGE_ICON, size, size, 0)));
}

}  // namespace kelmar
