#pragma once
// The real program driven with the system's own mouse and keys: its tool
// buttons, the open dialog, the folder chooser and the questions of a save.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <initializer_list>
#include <string>

#include <gtest/gtest.h>

#include "win/frame_mouse/frame_input.h"
#include "win/real_program.h"
#include "win/shell_files.h"

namespace kelmar::test {

// Keys held down while one more is pressed.
inline void Chord(std::initializer_list<WORD> held, WORD key) {
  for (WORD k : held) SendKey(k, true);
  Keys({key});
  for (WORD k : held) SendKey(k, false);
}

// Another process's list view, asked what comes back only through memory:
// an item's rectangle and text are written into a block of that process.
class RemoteList {
 public:
  RemoteList(HANDLE process, HWND list) : process_(process), list_(list) {
    block_ = VirtualAllocEx(process, nullptr, kBlock, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
  ~RemoteList() {
    if (block_) VirtualFreeEx(process_, block_, 0, MEM_RELEASE);
  }
  RemoteList(const RemoteList&) = delete;
  RemoteList& operator=(const RemoteList&) = delete;

  int Count() const { return int(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0)); }
  // Item i's rectangle in the list's client area (part: LVIR_BOUNDS,
  // LVIR_ICON, LVIR_LABEL).
  RECT ItemRect(int i, int part = LVIR_BOUNDS) const {
    RECT r{part, 0, 0, 0};
    WriteProcessMemory(process_, block_, &r, sizeof(r), nullptr);
    SendMessageW(list_, LVM_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(block_));
    ReadProcessMemory(process_, block_, &r, sizeof(r), nullptr);
    return r;
  }
  // Item i's text as the list holds it.
  std::wstring ItemText(int i) const {
    LVITEMW item{};
    auto* text = static_cast<BYTE*>(block_) + sizeof(item);
    item.pszText = reinterpret_cast<wchar_t*>(text);
    item.cchTextMax = int((kBlock - sizeof(item)) / sizeof(wchar_t));
    WriteProcessMemory(process_, block_, &item, sizeof(item), nullptr);
    const int n = int(SendMessageW(list_, LVM_GETITEMTEXTW, WPARAM(i), reinterpret_cast<LPARAM>(block_)));
    std::wstring result(size_t(std::max(n, 0)), L'\0');
    ReadProcessMemory(process_, text, result.data(), result.size() * sizeof(wchar_t), nullptr);
    return result;
  }
  // How wide the list draws a text in its font.
  int StringWidth(const std::wstring& text) const {
    WriteProcessMemory(process_, block_, text.c_str(), (text.size() + 1) * sizeof(wchar_t), nullptr);
    return int(SendMessageW(list_, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(block_)));
  }

 private:
  static constexpr size_t kBlock = 4096;
  HANDLE process_;
  HWND list_;
  void* block_ = nullptr;
};

class DrivenProgram {
 public:
  RunningProgram program;

  // The program's visible dialog with this title (a message box, the open
  // dialog), or the folder chooser for "".
  HWND WaitForDialog(const std::wstring& title) const { return WaitForDialogOf(program.process.dwProcessId, title); }

  HWND List() const { return FindWindowExW(program.window, nullptr, L"SysListView32", nullptr); }
  int ItemCount() const { return int(SendMessageW(List(), LVM_GETITEMCOUNT, 0, 0)); }
  bool Drop(const std::vector<std::wstring>& paths) const {
    return DropFilesOn(program.process.hProcess, program.window, paths);
  }

  // A point of the main window's client area (the skinned frame's client
  // area starts 8 right and 28 down).
  Point Client(int x, int y) const { return OnScreen(program.window, {8 + x, 28 + y}); }
  void ClickClient(int x, int y, bool ctrl = false) const {
    if (ctrl) SendKey(VK_CONTROL, true);
    Click(Client(x, y));
    if (ctrl) SendKey(VK_CONTROL, false);
  }
  // The tool buttons, in the middle of each: open, Save, Save all.
  void OpenFiles() const { ClickClient(8 + 20, 8 + 12); }
  void Save() const { ClickClient(192 + 14, 8 + 12); }
  void SaveAll() const { ClickClient(224 + 14, 8 + 12); }

  // The open dialog: into the folder by its path, then the names.
  bool TakeIn(const std::wstring& folder, const std::wstring& names) const {
    OpenFiles();
    HWND open = WaitForDialog(L"选择要提取图标的文件");
    if (!open) return false;
    Type(folder + L"\\");
    Keys({VK_RETURN});
    Type(names);
    Keys({VK_RETURN});
    return WaitUntilClosed(open);
  }
  // After a save command: OK in the chooser (it opens on the remembered
  // folder), the key that answers the question about existing files, and
  // the summary's text once it shows (then closed).
  std::wstring ConfirmSave(WORD answer, const std::wstring& question) const {
    HWND chooser = WaitForDialog(L"");
    if (!chooser) return L"no chooser";
    Keys({VK_RETURN});
    HWND box = WaitForDialog(L"消息框");
    if (!box) return L"no question";
    EXPECT_EQ(BoxText(box), question);
    Keys({answer});
    return TakeSummary();
  }
  // The summary's text once it shows (then closed).
  std::wstring TakeSummary() const {
    HWND summary = WaitForDialog(L"Kelmar");
    if (!summary) return L"no summary";
    std::wstring text = BoxText(summary);
    Keys({VK_RETURN});
    WaitUntilClosed(summary);
    return text;
  }
  // The folder chooser's path box (its visible edit field), or null.
  static HWND PathBox(HWND chooser) {
    return ChildWindowOf(chooser, [](HWND hwnd, const std::wstring& cls) {
      return _wcsicmp(cls.c_str(), L"Edit") == 0 && IsWindowVisible(hwnd);
    });
  }
  // In the folder chooser: a folder by its path, typed over what the path
  // box holds, then OK (Enter).
  static void ChooseFolder(HWND chooser, const std::wstring& path) {
    HWND box = PathBox(chooser);
    ASSERT_NE(box, nullptr) << "no path box";
    RECT r;
    GetWindowRect(box, &r);
    Click({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    Keys({VK_END});
    Chord({VK_SHIFT}, VK_HOME);
    Type(path);
    Keys({VK_RETURN});
  }
};

}  // namespace kelmar::test
