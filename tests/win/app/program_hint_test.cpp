// The real program's hints: the cursor rests on its tool buttons and a
// skinned hint window of the program shows the button's hint.
#include <windows.h>

#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace kelmar::test {
namespace {

struct Search {
  DWORD pid;
  const wchar_t* cls;
  HWND found = nullptr;
};

// The program's visible window of a class, or null.
HWND VisibleWindowOf(DWORD pid, const wchar_t* cls) {
  Search search{pid, cls};
  EnumWindows(
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        wchar_t name[64] = {};
        GetClassNameW(hwnd, name, 64);
        if (owner != s->pid || !IsWindowVisible(hwnd) || wcscmp(name, s->cls) != 0) return TRUE;
        s->found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring TextOf(HWND hwnd) {
  wchar_t text[256] = {};
  GetWindowTextW(hwnd, text, 256);
  return text;
}

// Waits for the program's skinned hint window to show `text` (empty: to hide).
HWND WaitForHint(DWORD pid, const std::wstring& text) {
  for (int i = 0; i < 80; ++i) {
    HWND hint = VisibleWindowOf(pid, L"KelmarSkinHint");
    if (text.empty() ? !hint : hint && TextOf(hint) == text) return text.empty() ? HWND(1) : hint;
    Sleep(50);
  }
  return nullptr;
}

TEST(Program, RestingOnSaveShowsItsSkinnedHintAndSaveAllFollows) {
  std::wstring exe = L"Z:" + std::wstring(KELMAR_EXE, KELMAR_EXE + strlen(KELMAR_EXE));
  for (auto& c : exe)
    if (c == L'/') c = L'\\';
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessW(exe.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  HWND window = nullptr;
  for (int i = 0; i < 200 && !window; ++i) {
    Sleep(50);
    window = FindWindowW(nullptr, L"Kelmar V3.0(文件图标提取器)");
  }
  ASSERT_NE(window, nullptr);
  Sleep(300);
  RECT wr;
  GetWindowRect(window, &wr);
  // The client area starts 8 right and 28 below the window's corner; Save
  // is at (192, 8), 29 x 25, Save all at (224, 8).
  const int x0 = wr.left + 8, y0 = wr.top + 28;
  SetCursorPos(x0 + 450, y0 + 20);
  Sleep(200);
  SetCursorPos(x0 + 206, y0 + 20);
  HWND hint = WaitForHint(pi.dwProcessId, L"保存当前选中图标");
  ASSERT_NE(hint, nullptr);
  RECT hr;
  GetWindowRect(hint, &hr);
  EXPECT_GE(hr.right - hr.left, 40);
  EXPECT_GE(hr.bottom - hr.top, 20);
  EXPECT_GT(hr.top, y0 + 20) << "below the cursor";
  EXPECT_EQ(VisibleWindowOf(pi.dwProcessId, L"tooltips_class32"), nullptr);

  SetCursorPos(x0 + 238, y0 + 20);
  EXPECT_NE(WaitForHint(pi.dwProcessId, L"保存全部图标"), nullptr);
  // Off the tool bar's controls: no hint.
  SetCursorPos(x0 + 450, y0 + 20);
  EXPECT_NE(WaitForHint(pi.dwProcessId, L""), nullptr);

  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(pi.hProcess, 10000), WAIT_OBJECT_0);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
}

}  // namespace
}  // namespace kelmar::test
