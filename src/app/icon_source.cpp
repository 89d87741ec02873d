#include "app/icon_source.h"

#include <shellapi.h>

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

int IconCount(const std::wstring& path) {
  int count = 1;
  if (IsExecutableType(path))
    count = int(reinterpret_cast<UINT_PTR>(ExtractIconW(GetModuleHandleW(nullptr), path.c_str(), UINT(-1))));
  return count > 0 ? count : 1;
}

IconHandle GetShellIcon(const std::wstring& path, bool small) {
  SHFILEINFOW info{};
  UINT flags = SHGFI_ICON | (small ? SHGFI_SMALLICON : 0);
  if (!SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), flags)) return {};
  return IconHandle(info.hIcon);
}

std::vector<IconHandle> ExtractIcons(const std::wstring& path, int first, int count) {
  // The same icons, at the same size, as one ExtractIconW call per index
  // would give, without reopening the file for each.
  std::vector<HICON> raw(size_t(count > 0 ? count : 0), nullptr);
  std::vector<UINT> ids(raw.size(), 0);
  int cx = GetSystemMetrics(SM_CXICON), cy = GetSystemMetrics(SM_CYICON);
  UINT got = raw.empty() ? 0
                         : PrivateExtractIconsW(path.c_str(), first, cx, cy, raw.data(), ids.data(), UINT(count), 0);
  std::vector<IconHandle> icons;
  icons.reserve(raw.size());
  for (size_t i = 0; i < raw.size(); ++i) {
    bool valid = i < got && raw[i] && raw[i] != INVALID_HANDLE_VALUE;
    icons.emplace_back(valid ? raw[i] : nullptr);
  }
  return icons;
}

}  // namespace kelmar
