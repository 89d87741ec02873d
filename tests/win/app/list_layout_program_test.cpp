// The real program's icon list laid out for the room it has, in both views,
// after intakes of different counts and after maximize then restore by the
// caption button: no item reaches under the vertical scroll bar, no
// horizontal scroll bar shows (every column fits), and no room for one more
// column stays empty at the right while the icons take more than one row.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "app_fixture.h"
#include "program_driver.h"

namespace kelmar::test {
namespace {

// What is wrong with the list's layout now; empty when nothing is.
std::string LayoutFault(const RemoteList& list, HWND hwnd) {
  std::ostringstream fault;
  RECT client{};
  GetClientRect(hwnd, &client);
  if (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_HSCROLL) fault << "a horizontal scroll bar; ";
  const int n = list.Count();
  int right = 0, columns = 0;
  const RECT first = list.ItemRect(0);
  for (int i = 0; i < n; ++i) {
    const RECT r = list.ItemRect(i);
    right = std::max<int>(right, r.right);
    if (r.top == first.top) ++columns;
  }
  if (right > client.right) fault << "items up to x " << right << " in a client area " << client.right << " wide; ";
  // Columns are a fixed step apart; one more would have fitted.
  if (n > columns && columns > 1) {
    const int step = list.ItemRect(1).left - first.left;
    if (right + step <= client.right)
      fault << columns << " columns up to x " << right << " where one more fits in " << client.right << "; ";
  }
  return fault.str();
}

class ProgramListLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(p.program.window, nullptr);
    WaitForInputIdle(p.program.process.hProcess, 5000);
  }

  // Waits until the layout is right (the list may arrange on its next
  // paint); the fault that stayed when it did not come right.
  void ExpectLaidOut(const std::string& step) {
    RemoteList list(p.program.process.hProcess, p.List());
    std::string fault;
    EXPECT_TRUE(WaitFor([&] { return (fault = LayoutFault(list, p.List())).empty(); }, 5000)) << step << ": " << fault;
  }

  void Take(const std::vector<std::wstring>& files, int count) {
    ASSERT_TRUE(p.Drop(files));
    ASSERT_EQ(p.ItemCount(), count);
  }

  int WindowWidth() const { return WindowBounds(p.program.window).Width(); }
  // The maximize/restore button: 25 wide, left of the 43-wide close button
  // at the caption's right end.
  void ClickMaximizeButton() const { Click(OnScreen(p.program.window, {WindowWidth() - 704 + 641, 9})); }

  void MaximizeAndRestore(const std::string& view) {
    const int width = WindowWidth();
    ClickMaximizeButton();
    ASSERT_TRUE(WaitFor([&] { return WindowWidth() > width; }, 5000));
    ExpectLaidOut(view + ", maximized");
    ClickMaximizeButton();
    ASSERT_TRUE(WaitFor([&] { return WindowWidth() == width; }, 5000));
    ExpectLaidOut(view + ", restored");
  }

  // Batches of different counts, each after one that needed no scroll bar
  // and after one that did: user32's 7, shell32's 184, comdlg32's 10 and
  // user32's 7 together, shell32's and comctl32's 188.
  void Intakes(const std::string& view) {
    const std::wstring user32 = SystemFile(L"user32.dll"), shell32 = SystemFile(L"shell32.dll");
    Take({user32}, 7);
    ExpectLaidOut(view + ", 7 icons");
    Take({shell32}, 184);
    ExpectLaidOut(view + ", 184 icons after 7");
    Take({SystemFile(L"comdlg32.dll"), user32}, 17);
    ExpectLaidOut(view + ", 17 icons after 184");
    Take({shell32, SystemFile(L"comctl32.dll")}, 188);
    ExpectLaidOut(view + ", 188 icons after 17");
  }

  DrivenProgram p;
};

TEST_F(ProgramListLayout, BothViewsFitTheRoomAfterIntakesAndAfterMaximizeThenRestore) {
  Intakes("32x32");
  MaximizeAndRestore("32x32");
  // The 16 x 16 view by its radio box, with the 188 icons listed.
  p.ClickClient(56 + 20, 8 + 12);
  ExpectLaidOut("16x16");
  MaximizeAndRestore("16x16");
  Intakes("16x16");
  // And back to 32 x 32 with a batch that needs the scroll bar.
  p.ClickClient(124 + 20, 8 + 12);
  ExpectLaidOut("32x32 again");
  MaximizeAndRestore("32x32 again");
}

}  // namespace
}  // namespace kelmar::test
