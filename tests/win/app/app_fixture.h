#pragma once
// The real main form in the test process, with recorded shell and dialog
// services: the dialogs are answered by the test, everything else is real.
#include <windows.h>
#include <shlobj.h>

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/form_kelmar.h"
#include "framework/application.h"
#include "win/pump.h"
#include "win/real_program.h"
#include "framework/platform.h"
#include "win/real_program.h"
#include "win/shell_files.h"

namespace kelmar::test {

struct RecordedCall {
  std::string what;
  std::wstring text;
  std::wstring extra;
  UINT flags = 0;
};

class RecordingServices : public TPlatformServices {
 public:
  std::vector<RecordedCall> calls;
  // Answers, taken in order; when none is queued the dialog is "cancelled".
  std::deque<std::optional<std::vector<std::wstring>>> open_answers;
  std::deque<int> message_box_answers;
  std::function<BOOL(SHELLEXECUTEINFOW&)> shell_open_ex = [](SHELLEXECUTEINFOW&) { return TRUE; };

  std::optional<std::vector<std::wstring>> OpenFiles(HWND, const std::wstring& title,
                                                     const std::vector<TFileFilter>&, DWORD flags) override {
    calls.push_back({"OpenFiles", title, L"", flags});
    if (open_answers.empty()) return std::nullopt;
    auto a = open_answers.front();
    open_answers.pop_front();
    return a;
  }
  // Folder chooser answers: a path chooses it, an empty text cancels; none
  // queued cancels. The system's picker answers them, or, where it is
  // made unavailable, the older browser.
  std::deque<std::wstring> folder_answers;
  bool folder_picker_available = true;
  TFolderPick PickFolder(HWND, const std::wstring& title, const std::wstring& start) override {
    if (!folder_picker_available) return {};
    calls.push_back({"ChooseFolder", title, start, 0});
    if (folder_answers.empty()) return {TFolderPick::TResult::kCancelled, {}};
    std::wstring answer = folder_answers.front();
    folder_answers.pop_front();
    if (answer.empty()) return {TFolderPick::TResult::kCancelled, {}};
    return {TFolderPick::TResult::kChosen, answer};
  }
  // The user's settings, kept here instead of the registry.
  std::map<std::wstring, std::wstring> settings;
  std::wstring ReadSetting(const std::wstring& name) override {
    auto found = settings.find(name);
    return found == settings.end() ? std::wstring() : found->second;
  }
  void WriteSetting(const std::wstring& name, const std::wstring& value) override { settings[name] = value; }
  PIDLIST_ABSOLUTE BrowseForFolder(BROWSEINFOW& info) override {
    calls.push_back({"BrowseForFolder", info.lpszTitle ? info.lpszTitle : L"",
                     info.lParam ? reinterpret_cast<const wchar_t*>(info.lParam) : L"", info.ulFlags});
    if (folder_answers.empty()) return nullptr;
    std::wstring answer = folder_answers.front();
    folder_answers.pop_front();
    return answer.empty() ? nullptr : ILCreateFromPathW(answer.c_str());
  }
  // Called as each message box shows (the test looks at the folder then).
  std::function<void()> on_message_box;
  int ShowMessageBox(HWND, const std::wstring& text, const std::wstring& caption, UINT type) override {
    calls.push_back({"MessageBox", text, caption, type});
    if (on_message_box) on_message_box();
    // None queued: the first button (OK, Yes).
    if (message_box_answers.empty()) return (type & MB_TYPEMASK) == MB_YESNOCANCEL ? IDYES : IDOK;
    int a = message_box_answers.front();
    message_box_answers.pop_front();
    return a;
  }
  INT_PTR shell_open_result = 33;
  HINSTANCE ShellOpen(HWND, const wchar_t* verb, const std::wstring& file, int show) override {
    calls.push_back({"ShellOpen", file, verb ? verb : L"(null)", UINT(show)});
    return reinterpret_cast<HINSTANCE>(shell_open_result);
  }
  BOOL ShellOpenEx(SHELLEXECUTEINFOW& info) override {
    calls.push_back({"ShellOpenEx", info.lpFile ? info.lpFile : L"", info.lpVerb ? info.lpVerb : L"", UINT(info.fMask)});
    const BOOL ok = shell_open_ex(info);
    // The shell's result code: above 32 for success.
    if (!info.hInstApp) info.hInstApp = reinterpret_cast<HINSTANCE>(ok ? 33 : SE_ERR_NOASSOC);
    return ok;
  }
  UINT WinExec(const char* command_line, UINT show) override {
    std::string c(command_line);
    calls.push_back({"WinExec", std::wstring(c.begin(), c.end()), L"", show});
    return 33;
  }
  // The applications' look the user asks for, kept here instead of the
  // registry: light unless a test says dark.
  bool dark = false;
  bool AppsUseDarkTheme() override { return dark; }
  // The display's DPI as the form is told it; the system's where none is set.
  std::optional<UINT> dpi;
  UINT WindowDpi(HWND hwnd) override { return dpi ? *dpi : TPlatformServices::WindowDpi(hwnd); }
  void AcceptDroppedFiles(HWND hwnd, bool accept) override {
    calls.push_back({accept ? "DragAccept" : "DragWithdraw", L"", L"", 0});
    TPlatformServices::AcceptDroppedFiles(hwnd, accept);
  }

  std::vector<RecordedCall> Of(const std::string& what) const {
    std::vector<RecordedCall> r;
    for (const auto& c : calls)
      if (c.what == what) r.push_back(c);
    return r;
  }
};

class FormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Application().SetTitle(L"Kelmar");
    Application().OnException = [this](const std::exception& e) { exceptions.push_back(e.what()); };
    form = Application().CreateForm<TFormKelmar>(nullptr, &services);
    form->Show();
    Application().ProcessMessages();
  }
  void TearDown() override {
    delete form;
    Application().ProcessMessages();
    Application().OnException = nullptr;
  }

  RecordingServices services;
  TFormKelmar* form = nullptr;
  std::vector<std::string> exceptions;
};

// A Linux path (a build product, test data) as Wine sees it.
std::wstring WinePath(const std::string& unix_path);
// The Windows-side path of a file in the test data folder.
std::wstring DataPath(const std::string& relative);
// A fresh empty folder under the system's temporary folder.
std::wstring MakeTempFolder(const std::wstring& name);
// Draws image `index` of an image list on white and returns its pixels
// (0x00RRGGBB, rows top-down).
std::vector<uint32_t> ImageListPixels(HIMAGELIST list, int index, int size);
// The pixels of an icon drawn on white at its own size.
std::vector<uint32_t> IconPixels(HICON icon, int size);
// An icon as a 32 x 32 list shows it: put into such a list and drawn on white.
std::vector<uint32_t> ListedIconPixels(HICON icon);
// The test icons' known pictures at image `index` of a 32 x 32 list: the
// quadrants (red, green, blue, yellow, a clear 4 x 4 corner) and all navy.
void ExpectQuadrants(HIMAGELIST list, int index);
void ExpectNavy(HIMAGELIST list, int index);
// Icons first .. first+count-1 of a file as the system's own extraction gives
// them (PrivateExtractIconsW at the large icon size); null where it gives none.
std::vector<IconHandle> SystemIcons(const std::wstring& path, int first, int count);
// Writes a small file.
void WriteTextFile(const std::wstring& path, const std::string& text);

}  // namespace kelmar::test
