#include "app/icon_source.h"

#include <shellapi.h>

#include <algorithm>
#include <utility>

#include "base/error.h"
#include "framework/system_library.h"

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
  return ext == L".EXE" || ext == L".OCX" || ext == L".DLL" || ext == L".MUN" || ext == L".ICL";
}

bool IsIconSourceType(const std::wstring& path) {
  if (IsExecutableType(path)) return true;
  const std::wstring ext = UpperExtension(path);
  return ext == L".CPL" || ext == L".SCR" || ext == L".ICO" || ext == L".CUR";
}

std::wstring FullPath(const std::wstring& path) {
  DWORD length = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (length == 0) return path;
  std::wstring full(length, L'\0');
  full.resize(GetFullPathNameW(path.c_str(), length, full.data(), nullptr));
  return full.empty() ? path : full;
}

std::wstring InFolder(const std::wstring& folder, const std::wstring& name) {
  return folder.empty() || folder.back() == L'\\' ? folder + name : folder + L"\\" + name;
}

std::wstring LongPath(const std::wstring& path) {
  if (path.rfind(L"\\\\?\\", 0) == 0 || path.empty()) return path;
  const std::wstring full = FullPath(path);
  if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

namespace {

// The buffer the files read within a FileIcons::ReadScope share.
struct SpareBytes {
  int scopes = 0;
  std::vector<uint8_t> bytes;
};

SpareBytes& Spare() {
  thread_local SpareBytes spare;
  return spare;
}

// A file's bytes, once read, are kept for the next file while a scope lives.
void GiveBack(std::vector<uint8_t>&& bytes) {
  if (Spare().scopes > 0 && bytes.capacity() > Spare().bytes.capacity()) Spare().bytes = std::move(bytes);
}

// The part of a file that its icons can lie in: an executable's headers and
// section or resource data, an icon file's directory and images, without
// what follows them (an installer's payload can be gigabytes), and no more
// than the file holds (a cut file is read as far as it goes). Nothing when
// the file cannot be read or is neither kind: `dataSize` says how much of
// it is needed from its first 64 KB (0 for another kind of file). `origin`
// tells the file as it was opened.
std::optional<std::vector<uint8_t>> ReadIconBytes(const std::wstring& path,
                                                  uint64_t (*dataSize)(std::span<const uint8_t>), FileOrigin& origin) {
  FileHandle file(CreateFileW(LongPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  origin = {path, std::nullopt, std::nullopt};
  if (!file) return std::nullopt;
  if (BY_HANDLE_FILE_INFORMATION info{}; GetFileInformationByHandle(file, &info)) {
    origin.size = uint64_t(info.nFileSizeHigh) << 32 | info.nFileSizeLow;
    origin.written = uint64_t(info.ftLastWriteTime.dwHighDateTime) << 32 | info.ftLastWriteTime.dwLowDateTime;
  }
  auto read = [&](std::vector<uint8_t>& bytes, size_t from) {
    DWORD got = 0;
    return ReadFile(file, bytes.data() + from, DWORD(bytes.size() - from), &got, nullptr) &&
           got == bytes.size() - from;
  };
  std::optional<std::vector<uint8_t>> result;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file, &size)) {
    // Most files show what they are in their first bytes; an executable's
    // headers and tables, or a long icon directory, lie within 64 KB.
    std::vector<uint8_t> bytes = std::exchange(Spare().bytes, {});
    bytes.resize(size_t(std::min<LONGLONG>(size.QuadPart, 4096)));
    bool ok = !bytes.empty() && read(bytes, 0);
    uint64_t needed = ok ? dataSize(bytes) : 0;
    if (ok && needed == 0 && bytes.size() >= 2 && size.QuadPart > LONGLONG(bytes.size()) &&
        ((bytes[0] == 'M' && bytes[1] == 'Z') || (bytes[0] == 0 && bytes[1] == 0))) {
      const size_t have = bytes.size();
      bytes.resize(size_t(std::min<LONGLONG>(size.QuadPart, 65536)));
      ok = read(bytes, have);
      needed = ok ? dataSize(bytes) : 0;
    }
    if (ok) {
      needed = std::min<uint64_t>(needed, uint64_t(size.QuadPart));
      if (needed != 0 && needed <= UINT32_MAX) {
        const size_t have = bytes.size();
        bytes.resize(size_t(std::max<uint64_t>(needed, have)));
        if (read(bytes, have)) result = std::move(bytes);
      }
    }
  }
  return result;
}

// Every group with all its images.
bool Complete(const std::vector<IconGroup>& groups) {
  return std::all_of(groups.begin(), groups.end(), [](const IconGroup& group) {
    return !group.entries.empty() &&
           std::all_of(group.entries.begin(), group.entries.end(), [](const IconEntry& e) { return bool(e.bytes); });
  });
}

std::optional<std::vector<IconGroup>> ReadExecutableGroups(const std::wstring& path, FileOrigin& origin) {
  // The resources' section and what precedes it first; the rest of the
  // sections only where something is missing without them (an image kept
  // in another section, or a damaged file).
  std::optional<std::vector<IconGroup>> groups;
  for (auto dataSize : {PeResourceDataSize, PeDataSize}) {
    std::optional<std::vector<uint8_t>> bytes = ReadIconBytes(path, dataSize, origin);
    if (!bytes) return std::nullopt;
    groups = ReadPeIcons(*bytes);
    const bool whole = bytes->size() >= PeDataSize(*bytes);
    GiveBack(std::move(*bytes));
    if (whole || (groups && Complete(*groups))) break;
  }
  return groups;
}

// The resource file beside the Windows folder that holds the icons of a
// system library since Windows 10 1903: SystemResources\<file name>.mun.
std::wstring MunPath(const std::wstring& path) {
  const size_t separator = path.find_last_of(L"\\/:");
  const std::wstring name = separator == std::wstring::npos ? path : path.substr(separator + 1);
  UINT length = GetSystemWindowsDirectoryW(nullptr, 0);
  if (length == 0 || name.empty()) return {};
  std::wstring windows(length, L'\0');
  windows.resize(GetSystemWindowsDirectoryW(windows.data(), length));
  if (!windows.empty() && windows.back() == L'\\') windows.pop_back();
  return windows + L"\\SystemResources\\" + name + L".mun";
}

// An executable's icon groups: its own, or, where a readable one has none,
// those of its resource file under the Windows folder (the system's loader
// follows the same redirection).
std::optional<std::vector<IconGroup>> ReadOwnOrRedirectedGroups(const std::wstring& path, FileOrigin& origin) {
  std::optional<std::vector<IconGroup>> groups = ReadExecutableGroups(path, origin);
  if (groups && groups->empty() && UpperExtension(path) != L".MUN") {
    const std::wstring mun = MunPath(path);
    FileOrigin mun_origin;
    if (!mun.empty())
      if (std::optional<std::vector<IconGroup>> moved = ReadExecutableGroups(mun, mun_origin); moved && !moved->empty()) {
        origin = std::move(mun_origin);
        return moved;
      }
  }
  return groups;
}

}  // namespace

int DisplayBits() {
  HDC screen = GetDC(nullptr);
  int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
  ReleaseDC(nullptr, screen);
  return bits;
}

FileIcons::ReadScope::ReadScope() { ++Spare().scopes; }

FileIcons::ReadScope::~ReadScope() {
  if (--Spare().scopes == 0) std::vector<uint8_t>().swap(Spare().bytes);
}

FileIcons FileIcons::Read(const std::wstring& path) {
  FileIcons icons;
  if (IsExecutableType(path)) {
    std::optional<std::vector<IconGroup>> groups = ReadOwnOrRedirectedGroups(path, icons.origin_);
    if (!groups) {
      icons.damaged_ = icons.origin_.size.has_value();
      return icons;
    }
    icons.groups_.reserve(groups->size());
    for (auto& group : *groups) icons.groups_.push_back(std::make_shared<const IconGroup>(std::move(group)));
    return icons;
  }
  // One item: an icon or cursor file's own images, an executable's (by its
  // content, whatever its name) first group.
  const std::wstring ext = UpperExtension(path);
  std::optional<IconGroup> picture;
  if (ext == L".ICO" || ext == L".CUR") {
    if (std::optional<std::vector<uint8_t>> bytes = ReadIconBytes(path, IconFileDataSize, icons.origin_)) {
      picture = ReadIconFile(*bytes);
      GiveBack(std::move(*bytes));
    }
  } else if (std::optional<std::vector<IconGroup>> groups = ReadOwnOrRedirectedGroups(path, icons.origin_);
             groups && !groups->empty()) {
    picture = std::move(groups->front());
  }
  if (picture && !picture->entries.empty())
    icons.picture_ = std::make_shared<const IconGroup>(std::move(*picture));
  else if (ext == L".ICO" || ext == L".CUR")
    icons.damaged_ = icons.origin_.size.has_value();
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
  if (late::SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), flags) && info.hIcon) return IconHandle(info.hIcon);
  // The icon of the file's type, from its extension alone.
  std::wstring type = L"file" + UpperExtension(path);
  if (late::SHGetFileInfoW(type.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof(info), flags | SHGFI_USEFILEATTRIBUTES) &&
      info.hIcon)
    return IconHandle(info.hIcon);
  int size = small ? 16 : 32;
  return IconHandle(static_cast<HICON>(
      CopyImage(LoadIconW(nullptr, IDI_APPLICATION), IMAGE_ICON, size, size, 0)));
}

}  // namespace kelmar
