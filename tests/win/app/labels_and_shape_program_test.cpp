// The real program's smaller details as a careful user meets them: each
// icon's label shows its number and the file's name, the middle of a long
// path left out, in both views; and a window rolled up to its caption keeps
// its see-through corners after maximize and restore.
#include <windows.h>
#include <commctrl.h>

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "app_fixture.h"
#include "framework/wide.h"
#include "program_driver.h"

namespace kelmar::test {
namespace {

namespace fs = std::filesystem;

TEST(ProgramDetails, EachLabelShowsItsNumberAndTheFileNameInBothViews) {
  const std::wstring folder = MakeTempFolder(L"labels") + L"\\a folder with a long name\\and one more";
  fs::create_directories(folder);
  const std::wstring copy = folder + L"\\user32 copy.dll", shell32 = SystemFile(L"shell32.dll");
  ASSERT_TRUE(CopyFileW(SystemFile(L"user32.dll").c_str(), copy.c_str(), FALSE));

  DrivenProgram p;
  ASSERT_NE(p.program.window, nullptr);
  WaitForInputIdle(p.program.process.hProcess, 5000);
  ASSERT_TRUE(p.Drop({copy, shell32}));
  ASSERT_EQ(p.ItemCount(), 7 + 184);
  RemoteList list(p.program.process.hProcess, p.List());
  auto caption = [&](int i) { return std::to_wstring(i + 1) + L":" + (i < 7 ? copy : shell32); };
  auto name = [&](int i) { return i < 7 ? std::wstring(L"\\user32 copy.dll") : std::wstring(L"\\shell32.dll"); };
  const int items[] = {0, 6, 7, 99, 190};

  // 32 x 32: two lines a column step wide under each icon, where the
  // whole caption would need more.
  for (int i : items) {
    SCOPED_TRACE(i);
    const std::wstring label = list.ItemText(i);
    const RECT bounds = list.ItemRect(i);
    const int room = 2 * (bounds.right - bounds.left);
    ASSERT_GT(list.StringWidth(caption(i)), room);
    EXPECT_EQ(label.rfind(std::to_wstring(i + 1) + L":", 0), 0u) << Narrow(label);
    EXPECT_TRUE(label.ends_with(name(i))) << Narrow(label);
    EXPECT_NE(label.find(L'\u2026'), std::wstring::npos) << Narrow(label);
    EXPECT_LE(list.StringWidth(label), room) << Narrow(label);
  }

  // 16 x 16: one line, whole in the room the list gives the label.
  p.ClickClient(56 + 20, 8 + 12);
  ASSERT_TRUE(WaitFor([&] { return SendMessageW(p.List(), LVM_GETVIEW, 0, 0) == LV_VIEW_SMALLICON; }, 5000));
  for (int i : items) {
    SCOPED_TRACE(i);
    const std::wstring label = list.ItemText(i);
    const RECT room = list.ItemRect(i, LVIR_LABEL);
    EXPECT_EQ(label.rfind(std::to_wstring(i + 1) + L":", 0), 0u) << Narrow(label);
    EXPECT_TRUE(label.ends_with(name(i))) << Narrow(label);
    EXPECT_LE(list.StringWidth(label), room.right - room.left) << Narrow(label);
  }

  EXPECT_TRUE(p.program.Close());
}

// The window's shape: present, of the window's size, its top corners cut
// and the caption between them kept.
std::string ShapeFault(HWND window) {
  const Rect b = WindowBounds(window);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  std::string fault;
  RECT box{};
  if (GetWindowRgn(window, region) == ERROR) {
    fault = "no shape";
  } else if (GetRgnBox(region, &box), box.right != b.Width() || box.bottom != b.Height()) {
    fault = "a shape of " + std::to_string(box.right) + " x " + std::to_string(box.bottom) + " on a window of " +
            std::to_string(b.Width()) + " x " + std::to_string(b.Height());
  } else if (PtInRegion(region, 0, 0) || PtInRegion(region, b.Width() - 1, 0) || !PtInRegion(region, b.Width() / 2, 0)) {
    fault = "top corners not cut";
  }
  DeleteObject(region);
  return fault;
}

TEST(ProgramDetails, ARolledUpWindowKeepsSeeThroughCornersAfterMaximizeAndRestore) {
  DrivenProgram p;
  HWND window = p.program.window;
  ASSERT_NE(window, nullptr);
  WaitForInputIdle(p.program.process.hProcess, 5000);
  // 卷起 from the system menu.
  SendKey(VK_MENU, true);
  Keys({VK_SPACE});
  SendKey(VK_MENU, false);
  ASSERT_TRUE(WaitFor([&] { return VisibleWindowOf(p.program.process.dwProcessId, L"KelmarSkinPopup") != nullptr; }, 5000));
  Keys({'L'});
  ASSERT_TRUE(WaitFor([&] { return WindowBounds(window).Height() < 100; }, 5000));
  const Rect rolled = WindowBounds(window);
  std::string fault;
  EXPECT_TRUE(WaitFor([&] { return (fault = ShapeFault(window)).empty(); }, 5000)) << "rolled up: " << fault;

  // The maximize button (25 wide, left of the 43-wide close button), then
  // the same button to restore.
  auto maximize_button = [&] {
    const Rect b = WindowBounds(window);
    return Point{b.right - 7 - 43 - 13, b.top + 9};
  };
  Click(maximize_button());
  ASSERT_TRUE(WaitFor([&] { return WindowBounds(window).Width() > rolled.Width(); }, 5000));
  Click(maximize_button());
  ASSERT_TRUE(WaitFor([&] { return WindowBounds(window) == rolled; }, 5000));
  EXPECT_TRUE(WaitFor([&] { return (fault = ShapeFault(window)).empty(); }, 5000)) << "restored: " << fault;
  // On the screen the top right corner shows what lies beside the window.
  HDC screen = GetDC(nullptr);
  EXPECT_TRUE(WaitFor(
      [&] { return GetPixel(screen, rolled.right - 1, rolled.top) == GetPixel(screen, rolled.right + 2, rolled.top); },
      5000));
  ReleaseDC(nullptr, screen);
  EXPECT_TRUE(p.program.Close());
}

}  // namespace
}  // namespace kelmar::test
