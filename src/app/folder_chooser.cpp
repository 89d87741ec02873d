#include "app/folder_chooser.h"
#include "framework/system_library.h"

#include <shlobj.h>

#include <vector>

namespace kelmar {

namespace {

bool DirectoryExists(const std::wstring& path) {
  if (path.empty()) return false;
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int CALLBACK SelectionCallback(HWND dialog, UINT message, LPARAM, LPARAM data) {
  if (message == BFFM_INITIALIZED && data) SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, data);
  return 0;
}

// The browser is modal over every window of the application, and browsing an
// empty drive raises no system error box; both undone on every way out.
class ModalScope {
 public:
  ModalScope() {
    EnumThreadWindows(GetCurrentThreadId(), &ModalScope::Disable, reinterpret_cast<LPARAM>(this));
    old_mode_ = SetErrorMode(SEM_FAILCRITICALERRORS);
  }
  ~ModalScope() {
    SetErrorMode(old_mode_);
    for (HWND w : disabled_) EnableWindow(w, TRUE);
  }
  ModalScope(const ModalScope&) = delete;
  ModalScope& operator=(const ModalScope&) = delete;

 private:
  static BOOL CALLBACK Disable(HWND w, LPARAM self) {
    if (IsWindowVisible(w) && IsWindowEnabled(w)) {
      EnableWindow(w, FALSE);
      reinterpret_cast<ModalScope*>(self)->disabled_.push_back(w);
    }
    return TRUE;
  }
  std::vector<HWND> disabled_;
  UINT old_mode_ = 0;
};

struct MallocRelease {
  IMalloc* malloc;
  void* block;
  ~MallocRelease() {
    if (block) malloc->Free(block);
    malloc->Release();
  }
};

// A chosen path as the folder is remembered: without a trailing backslash
// unless it is a drive root.
std::wstring RememberedForm(std::wstring path) {
  bool drive_root = path.size() == 3 && path[1] == L':' && path[2] == L'\\';
  if (!drive_root && path.size() > 1 && path.back() == L'\\') path.pop_back();
  return path;
}

// The older chooser: a tree of folders, only where the modern one is missing.
bool BrowseForSaveFolder(TPlatformServices& services, HWND owner, const std::wstring& title, const std::wstring& root,
                         std::wstring& folder) {
  BROWSEINFOW info{};
  IMalloc* malloc = nullptr;
  if (FAILED(late::SHGetMalloc(&malloc)) || !malloc) return false;
  auto* buffer = static_cast<wchar_t*>(malloc->Alloc(MAX_PATH * sizeof(wchar_t)));
  MallocRelease release{malloc, buffer};
  if (!buffer) return false;
  buffer[0] = L'\0';

  PIDLIST_ABSOLUTE root_list = nullptr;
  if (!root.empty()) {
    IShellFolder* desktop = nullptr;
    if (SUCCEEDED(late::SHGetDesktopFolder(&desktop)) && desktop) {
      std::wstring name = root;
      desktop->ParseDisplayName(owner, nullptr, name.data(), nullptr,
                                reinterpret_cast<PIDLIST_RELATIVE*>(&root_list), nullptr);
      desktop->Release();
    }
  }
  info.hwndOwner = owner;
  info.pidlRoot = root_list;
  info.pszDisplayName = buffer;
  info.lpszTitle = title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  if (!folder.empty()) {
    info.lpfn = SelectionCallback;
    info.lParam = reinterpret_cast<LPARAM>(folder.c_str());
  }

  PIDLIST_ABSOLUTE chosen = nullptr;
  {
    ModalScope modal;
    chosen = services.BrowseForFolder(info);
  }
  if (root_list) malloc->Free(root_list);
  if (!chosen) return false;

  bool has_path = late::SHGetPathFromIDListW(chosen, buffer);
  malloc->Free(chosen);
  if (!has_path) return false;
  folder = RememberedForm(buffer);
  return true;
}

}  // namespace

bool SelectSaveFolder(TPlatformServices& services, HWND owner, const std::wstring& title, const std::wstring& root,
                      std::wstring& folder) {
  if (!DirectoryExists(folder)) folder.clear();
  TPlatformServices::TFolderPick pick;
  {
    ModalScope modal;
    // A remembered drive root has lost its backslash ("D:" is the drive's current folder).
    pick = services.PickFolder(owner, title, folder.size() == 2 && folder[1] == L':' ? folder + L"\\" : folder);
  }
  switch (pick.result) {
    case TPlatformServices::TFolderPick::TResult::kChosen:
      folder = RememberedForm(pick.path);
      return true;
    case TPlatformServices::TFolderPick::TResult::kCancelled:
      return false;
    case TPlatformServices::TFolderPick::TResult::kUnavailable:
      break;
  }
  return BrowseForSaveFolder(services, owner, title, root, folder);
}

}  // namespace kelmar
