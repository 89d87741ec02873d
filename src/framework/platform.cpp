#include "framework/platform.h"

#include <cderr.h>
#include <commdlg.h>
#include <shobjidl.h>

#include "framework/handles.h"
#include "framework/system_library.h"

namespace kelmar {

std::wstring CannotOpenText(const std::wstring& target) { return L"无法打开 " + target; }

namespace {

// The common dialogs' library is loaded when a dialog is first shown.
template <typename Function>
Function CommonDialogFunction(const char* name) {
  return SystemFunction<Function>(L"comdlg32.dll", name);
}

}  // namespace

TPlatformServices& DefaultPlatformServices() {
  static TPlatformServices services;
  return services;
}

std::optional<std::vector<std::wstring>> TPlatformServices::OpenFiles(HWND owner, const std::wstring& title,
                                                                       const std::vector<TFileFilter>& filter,
                                                                       DWORD flags) {
  // Name and patterns, each ended by a zero, and one more zero at the end.
  std::wstring filter_text;
  for (const TFileFilter& f : filter) {
    filter_text += f.name;
    filter_text += L'\0';
    filter_text += f.patterns;
    filter_text += L'\0';
  }
  filter_text += L'\0';
  const auto get_open_file_name = CommonDialogFunction<decltype(&GetOpenFileNameW)>("GetOpenFileNameW");
  const auto extended_error = CommonDialogFunction<decltype(&CommDlgExtendedError)>("CommDlgExtendedError");
  if (!get_open_file_name || !extended_error) return std::nullopt;
  // Room for many long names; the dialog reports when it needs more.
  std::vector<wchar_t> buffer(64 * 1024, L'\0');
  for (;;) {
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = DWORD(buffer.size());
    ofn.lpstrTitle = title.c_str();
    if (!filter.empty()) {
      ofn.lpstrFilter = filter_text.c_str();
      ofn.nFilterIndex = 1;
    }
    ofn.Flags = flags;
    if (get_open_file_name(&ofn)) break;
    if (extended_error() == FNERR_BUFFERTOOSMALL && buffer.size() < 16u * 1024 * 1024) {
      buffer.assign(buffer.size() * 4, L'\0');
      continue;
    }
    return std::nullopt;
  }
  // One name, or a folder followed by names, each ended by a zero.
  std::vector<std::wstring> parts;
  for (const wchar_t* p = buffer.data(); *p; p += wcslen(p) + 1) parts.emplace_back(p);
  if (parts.size() <= 1) return parts;
  std::wstring folder = parts[0];
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  std::vector<std::wstring> files;
  for (size_t i = 1; i < parts.size(); ++i) files.push_back(folder + parts[i]);
  return files;
}

int TPlatformServices::ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
  return MessageBoxW(owner, text.c_str(), caption.c_str(), type);
}

namespace {

// Releases a COM interface pointer when it goes.
template <typename T>
struct ComOwner {
  T* p = nullptr;
  ~ComOwner() {
    if (p) p->Release();
  }
  T* operator->() const { return p; }
};

const wchar_t kSettingsKey[] = L"Software\\Kelmar";

}  // namespace

TPlatformServices::TFolderPick TPlatformServices::PickFolder(HWND owner, const std::wstring& title,
                                                             const std::wstring& start) {
  using TResult = TFolderPick::TResult;
  ComOwner<IFileOpenDialog> dialog;
  if (FAILED(late::CoCreateInstance(__uuidof(FileOpenDialog), nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&dialog.p))))
    return {};
  FILEOPENDIALOGOPTIONS options = 0;
  if (FAILED(dialog->GetOptions(&options)) ||
      FAILED(dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST)))
    return {};
  dialog->SetTitle(title.c_str());
  if (!start.empty()) {
    ComOwner<IShellItem> folder;
    if (SUCCEEDED(late::SHCreateItemFromParsingName(start.c_str(), nullptr, IID_PPV_ARGS(&folder.p)))) {
      dialog->SetFolder(folder.p);
      // In the path box too: Enter chooses it at once (Wine's picker takes
      // nothing from an empty box).
      dialog->SetFileName(start.c_str());
    }
  }
  const HRESULT shown = dialog->Show(owner);
  if (shown == HRESULT_FROM_WIN32(ERROR_CANCELLED)) return {TResult::kCancelled, {}};
  if (FAILED(shown)) return {};
  ComOwner<IShellItem> chosen;
  PWSTR path = nullptr;
  if (FAILED(dialog->GetResult(&chosen.p)) || FAILED(chosen->GetDisplayName(SIGDN_FILESYSPATH, &path)) || !path)
    return {TResult::kCancelled, {}};
  TFolderPick pick{TResult::kChosen, path};
  late::CoTaskMemFree(path);
  return pick;
}

PIDLIST_ABSOLUTE TPlatformServices::BrowseForFolder(BROWSEINFOW& info) { return late::SHBrowseForFolderW(&info); }

std::wstring TPlatformServices::ReadSetting(const std::wstring& name) {
  DWORD bytes = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &bytes) !=
          ERROR_SUCCESS ||
      bytes < sizeof(wchar_t))
    return {};
  std::wstring value(bytes / sizeof(wchar_t), L'\0');
  if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name.c_str(), RRF_RT_REG_SZ, nullptr, value.data(), &bytes) !=
      ERROR_SUCCESS)
    return {};
  value.resize(wcsnlen(value.c_str(), value.size()));
  return value;
}

void TPlatformServices::WriteSetting(const std::wstring& name, const std::wstring& value) {
  RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, name.c_str(), REG_SZ, value.c_str(),
                  DWORD((value.size() + 1) * sizeof(wchar_t)));
}

bool TPlatformServices::AppsUseDarkTheme() {
  DWORD light = 1, bytes = sizeof(light);
  const LSTATUS status = RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
                                      L"AppsUseLightTheme", RRF_RT_REG_DWORD, nullptr, &light, &bytes);
  return status == ERROR_SUCCESS && light == 0;
}

HINSTANCE TPlatformServices::ShellOpen(HWND owner, const wchar_t* verb, const std::wstring& file, int show) {
  return late::ShellExecuteW(owner, verb, file.c_str(), nullptr, nullptr, show);
}

BOOL TPlatformServices::ShellOpenEx(SHELLEXECUTEINFOW& info) { return late::ShellExecuteExW(&info); }

UINT TPlatformServices::WinExec(const char* command_line, UINT show) { return ::WinExec(command_line, show); }

// What the shell's DragAcceptFiles does, without loading the shell for it.
void TPlatformServices::AcceptDroppedFiles(HWND hwnd, bool accept) {
  const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
  SetWindowLongPtrW(hwnd, GWL_EXSTYLE, accept ? style | WS_EX_ACCEPTFILES : style & ~LONG_PTR(WS_EX_ACCEPTFILES));
}

int SystemMetricForDpi(int index, int dpi) {
  using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
  static const auto for_dpi = reinterpret_cast<GetSystemMetricsForDpiFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
  if (for_dpi) return for_dpi(index, UINT(dpi));
  const int screen = SystemDpi();
  const int metric = GetSystemMetrics(index);
  return screen != dpi ? MulDiv(metric, dpi, screen) : metric;
}

int SystemDpi() {
  const int dpi = GetDeviceCaps(WindowDc(nullptr), LOGPIXELSX);
  return dpi > 0 ? dpi : 96;
}

UINT TPlatformServices::WindowDpi(HWND hwnd) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto get_dpi = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (get_dpi)
    if (const UINT dpi = get_dpi(hwnd)) return dpi;
  return UINT(SystemDpi());
}

UINT TPlatformServices::QueryDroppedFile(HDROP drop, UINT index, wchar_t* buffer, UINT size) {
  return late::DragQueryFileW(drop, index, buffer, size);
}

}  // namespace kelmar
