#pragma once
// The shell and dialog calls the program makes, behind one seam. The methods
// of this class make the real Windows calls; tests derive from it and answer
// the dialogs themselves while the rest of the program runs for real.
#include <windows.h>
#include <shlobj.h>
#include <shellapi.h>

#include <optional>
#include <string>
#include <vector>

namespace kelmar {

// A system metric for windows drawn at `dpi` (GetSystemMetricsForDpi where
// the system has it, Windows 10 1607 and later; else the system's own metric
// at the screen's DPI, scaled).
int SystemMetricForDpi(int index, int dpi);
// The DPI the system's own metrics are given for (the primary screen's at
// sign-in); a window on another monitor may be drawn for another.
int SystemDpi();

class TPlatformServices {
 public:
  virtual ~TPlatformServices() = default;

  // One entry of the open dialog's file types: its name and its patterns
  // ("*.exe;*.dll").
  struct TFileFilter {
    std::wstring name, patterns;
  };
  // The file-open dialog: the chosen paths in order, or nothing if cancelled.
  // The first file type is the one chosen at first.
  virtual std::optional<std::vector<std::wstring>> OpenFiles(HWND owner, const std::wstring& title,
                                                             const std::vector<TFileFilter>& filter, DWORD flags);
  // MessageBoxW: the button pressed (IDOK, IDCANCEL, ...).
  virtual int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type);
  // The system's folder picker (the file dialog in folder mode: a path box,
  // a new-folder button, sizeable), titled `title`, opening at `start` where
  // that is not empty: the chosen folder's path, or why there is none.
  struct TFolderPick {
    enum class TResult { kChosen, kCancelled, kUnavailable } result = TResult::kUnavailable;
    std::wstring path;
  };
  virtual TFolderPick PickFolder(HWND owner, const std::wstring& title, const std::wstring& start);
  // SHBrowseForFolderW, the older chooser: an item list owned by the caller,
  // or null when cancelled.
  virtual PIDLIST_ABSOLUTE BrowseForFolder(BROWSEINFOW& info);
  // The user's settings of the program (HKCU\Software\Kelmar): a text
  // value, empty where there is none.
  virtual std::wstring ReadSetting(const std::wstring& name);
  virtual void WriteSetting(const std::wstring& name, const std::wstring& value);
  // Whether the user asks applications for their dark look (Windows 10 1809
  // and later: AppsUseLightTheme 0 under HKCU\...\Themes\Personalize);
  // false where the value is missing.
  virtual bool AppsUseDarkTheme();
  virtual HINSTANCE ShellOpen(HWND owner, const wchar_t* verb, const std::wstring& file, int show);
  virtual BOOL ShellOpenEx(SHELLEXECUTEINFOW& info);
  virtual UINT WinExec(const char* command_line, UINT show);
  virtual void AcceptDroppedFiles(HWND hwnd, bool accept);
  // The DPI the window is drawn for (GetDpiForWindow where the system has
  // it, Windows 10 1607 and later; else the screen's).
  virtual UINT WindowDpi(HWND hwnd);
  // DragQueryFileW: index 0xFFFFFFFF asks for the count.
  virtual UINT QueryDroppedFile(HDROP drop, UINT index, wchar_t* buffer, UINT size);
};

// What the user is told when the shell could not open a file or address.
std::wstring CannotOpenText(const std::wstring& target);

// The real services, used where no others are given.
TPlatformServices& DefaultPlatformServices();

}  // namespace kelmar
