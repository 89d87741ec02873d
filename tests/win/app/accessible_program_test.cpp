// The real program as a screen reader meets it: from this process, through
// the system's accessibility interface, every visible control of the
// program's own window class answers with a Chinese name (links: their
// address), its role and its state; the default actions work like clicks
// and the changes they make are announced.
#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app_fixture.h"
#include "base/geometry.h"
#include "win/accessible_client.h"
#include "win/pump.h"
#include "win/real_program.h"

namespace kelmar::test {
namespace {

bool HasChinese(const std::wstring& text) {
  return std::any_of(text.begin(), text.end(), [](wchar_t c) { return c >= 0x4E00 && c <= 0x9FFF; });
}

// What one control of the program says about itself.
struct Answer {
  HWND hwnd = nullptr;
  AccPtr object;
  std::wstring name, value;
  long role = -1, state = -1;
};

// Every visible window of the program's own class inside the main window.
std::vector<Answer> AskEveryControl(HWND main) {
  std::vector<HWND> windows;
  EnumChildWindows(
      main,
      [](HWND hwnd, LPARAM lp) -> BOOL {
        wchar_t cls[64] = {};
        GetClassNameW(hwnd, cls, 64);
        if (IsWindowVisible(hwnd) && std::wstring(cls).rfind(L"KelmarWindow", 0) == 0)
          reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  std::vector<Answer> answers;
  for (HWND hwnd : windows) {
    Answer a;
    a.hwnd = hwnd;
    a.object = ClientObject(hwnd);
    if (a.object) {
      a.name = Name(a.object.get());
      a.value = Value(a.object.get());
      a.role = Role(a.object.get());
      a.state = State(a.object.get());
    }
    answers.push_back(std::move(a));
  }
  return answers;
}

const Answer* Named(const std::vector<Answer>& answers, const std::wstring& part) {
  for (const Answer& a : answers)
    if (a.name.find(part) != std::wstring::npos) return &a;
  return nullptr;
}

class ProgramAccessibility : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(program.window, nullptr);
    WaitForInputIdle(program.process.hProcess, 5000);
  }
  DWORD Pid() const { return program.process.dwProcessId; }
  HWND List() const { return FindWindowExW(program.window, nullptr, L"SysListView32", nullptr); }

  RunningProgram program;
};

TEST_F(ProgramAccessibility, EveryVisibleControlHasAChineseNameItsRoleAndState) {
  const std::vector<Answer> answers = AskEveryControl(program.window);
  // The tool bar with five buttons, two radio boxes and the two combo boxes
  // (type, PNG size); the status bar and its panel; the two links.
  ASSERT_EQ(answers.size(), 14u);
  std::map<long, int> roles;
  for (const Answer& a : answers) {
    ASSERT_TRUE(a.object) << "no object for a window";
    ++roles[a.role];
    // Only the PNG size box is unavailable: the type is icon files.
    EXPECT_EQ((a.state & STATE_SYSTEM_UNAVAILABLE) != 0, a.name == L"PNG图片尺寸") << a.role;
    EXPECT_EQ(a.state & STATE_SYSTEM_INVISIBLE, 0) << a.role;
    if (a.role == ROLE_SYSTEM_LINK) {
      // A link is named by its caption, an address, which its window
      // carries as text.
      EXPECT_EQ(a.name, TextOf(a.hwnd));
      EXPECT_FALSE(a.name.empty());
      EXPECT_TRUE(a.state & STATE_SYSTEM_LINKED);
      EXPECT_TRUE(Location(a.object.get()).Width() > 0);
      EXPECT_FALSE(Action(a.object.get()).empty());
      continue;
    }
    EXPECT_TRUE(HasChinese(a.name)) << "role " << a.role << " named \"" << std::string(a.name.begin(), a.name.end()) << "\"";
    EXPECT_EQ(Location(a.object.get()), WindowRectOf(a.hwnd)) << a.role;
  }
  EXPECT_EQ(roles[ROLE_SYSTEM_PUSHBUTTON], 5);
  EXPECT_EQ(roles[ROLE_SYSTEM_RADIOBUTTON], 2);
  EXPECT_EQ(roles[ROLE_SYSTEM_COMBOBOX], 2);
  EXPECT_EQ(roles[ROLE_SYSTEM_TOOLBAR], 1);
  EXPECT_EQ(roles[ROLE_SYSTEM_STATUSBAR], 2);
  EXPECT_EQ(roles[ROLE_SYSTEM_LINK], 2);

  // The tool buttons by their hints, focusable, with a default action.
  for (const wchar_t* hint : {L"选择要提取的文件", L"保存当前选中图标", L"保存全部图标", L"帮助", L"升级"}) {
    const Answer* button = Named(answers, hint);
    ASSERT_NE(button, nullptr) << "a tool button is missing";
    EXPECT_EQ(button->role, ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_TRUE(button->state & STATE_SYSTEM_FOCUSABLE);
    EXPECT_FALSE(Action(button->object.get()).empty());
  }
  // The view: 32 × 32 at the start.
  const Answer* small = Named(answers, L"16×16");
  const Answer* large = Named(answers, L"32×32");
  ASSERT_TRUE(small && large);
  EXPECT_EQ(small->role, ROLE_SYSTEM_RADIOBUTTON);
  EXPECT_FALSE(small->state & STATE_SYSTEM_CHECKED);
  EXPECT_TRUE(large->state & STATE_SYSTEM_CHECKED);
  // The two are one group.
  AccPtr group = ParentOf(small->object.get());
  ASSERT_TRUE(group);
  EXPECT_EQ(Role(group.get()), ROLE_SYSTEM_GROUPING);
  EXPECT_TRUE(HasChinese(Name(group.get())));
  EXPECT_EQ(ChildCount(group.get()), 2);
  // In the tool bar the group stands for its boxes.
  const Answer* bar = nullptr;
  for (const Answer& a : answers)
    if (a.role == ROLE_SYSTEM_TOOLBAR) bar = &a;
  ASSERT_NE(bar, nullptr);
  const long on_bar = long(std::count_if(answers.begin(), answers.end(), [&](const Answer& a) { return GetParent(a.hwnd) == bar->hwnd; }));
  ASSERT_EQ(ChildCount(bar->object.get()), on_bar - 1);
  int groups = 0;
  for (long i = 1; i < on_bar; ++i) {
    AccPtr child = ChildObject(bar->object.get(), i);
    ASSERT_TRUE(child);
    if (Role(child.get()) != ROLE_SYSTEM_GROUPING) continue;
    ++groups;
    EXPECT_EQ(Name(child.get()), Name(group.get()));
    EXPECT_EQ(ChildCount(child.get()), 2);
  }
  EXPECT_EQ(groups, 1);
  // The output type: its value is the chosen item, the first.
  const Answer* combo = Named(answers, L"保存文件类型");
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->role, ROLE_SYSTEM_COMBOBOX);
  EXPECT_EQ(combo->value, L"图标");
  EXPECT_TRUE(combo->state & STATE_SYSTEM_COLLAPSED);
  const Answer* png_size = Named(answers, L"PNG图片尺寸");
  ASSERT_NE(png_size, nullptr);
  EXPECT_EQ(png_size->role, ROLE_SYSTEM_COMBOBOX);
  EXPECT_EQ(png_size->value, L"最大");
  // The status bar and its panel say what the panel shows (the panel's
  // window carries its text).
  std::vector<const Answer*> bars;
  for (const Answer& a : answers)
    if (a.role == ROLE_SYSTEM_STATUSBAR) bars.push_back(&a);
  ASSERT_EQ(bars.size(), 2u);
  const std::wstring shown = TextOf(bars[0]->hwnd).empty() ? TextOf(bars[1]->hwnd) : TextOf(bars[0]->hwnd);
  for (const Answer* bar : bars) {
    EXPECT_EQ(bar->name, shown);
    EXPECT_FALSE(bar->state & STATE_SYSTEM_FOCUSABLE);
  }

  // Tab moves the focus into the tool bar: the window that has it is the
  // one control that says so.
  Keys({VK_TAB});
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  const DWORD thread = GetWindowThreadProcessId(program.window, nullptr);
  ASSERT_TRUE(WaitFor([&] { return GetGUIThreadInfo(thread, &info) && info.hwndFocus && info.hwndFocus != program.window; }, 5000));
  int focused = 0;
  for (const Answer& a : AskEveryControl(program.window)) {
    if (!(a.state & STATE_SYSTEM_FOCUSED)) continue;
    ++focused;
    EXPECT_EQ(a.hwnd, info.hwndFocus);
  }
  EXPECT_EQ(focused, info.hwndFocus == List() ? 0 : 1);
}

TEST_F(ProgramAccessibility, TheRadioBoxesDefaultActionSwitchesTheViewAndIsAnnounced) {
  Listener listener(Pid(), EVENT_OBJECT_STATECHANGE, EVENT_OBJECT_STATECHANGE);
  ASSERT_TRUE(listener.Active());
  const std::vector<Answer> answers = AskEveryControl(program.window);
  const Answer* small = Named(answers, L"16×16");
  const Answer* large = Named(answers, L"32×32");
  ASSERT_TRUE(small && large);
  ASSERT_EQ(SendMessageW(List(), LVM_GETVIEW, 0, 0), LV_VIEW_ICON);

  EXPECT_FALSE(Action(small->object.get()).empty());
  ASSERT_EQ(small->object->accDoDefaultAction(Child(CHILDID_SELF)), S_OK);
  const bool switched = PumpUntil(
      [&] {
        return (State(small->object.get()) & STATE_SYSTEM_CHECKED) && !(State(large->object.get()) & STATE_SYSTEM_CHECKED) &&
               listener.HeardFrom(EVENT_OBJECT_STATECHANGE, small->hwnd) &&
               listener.HeardFrom(EVENT_OBJECT_STATECHANGE, large->hwnd);
      },
      5000);
  EXPECT_TRUE(switched) << listener.heard.size() << " events";
  // The list view shows small icons now, as after a click.
  EXPECT_EQ(SendMessageW(List(), LVM_GETVIEW, 0, 0), LV_VIEW_SMALLICON);

  // And back.
  ASSERT_EQ(large->object->accDoDefaultAction(Child(CHILDID_SELF)), S_OK);
  EXPECT_TRUE(PumpUntil([&] { return SendMessageW(List(), LVM_GETVIEW, 0, 0) == LV_VIEW_ICON; }, 5000));
  EXPECT_TRUE(State(large->object.get()) & STATE_SYSTEM_CHECKED);
}

TEST_F(ProgramAccessibility, DefaultActionsOpenTheDialogsAndTheDropDownAsClicksDo) {
  const std::vector<Answer> answers = AskEveryControl(program.window);
  const Answer* open = Named(answers, L"选择要提取的文件");
  const Answer* save_all = Named(answers, L"保存全部图标");
  const Answer* combo = Named(answers, L"保存文件类型");
  ASSERT_TRUE(open && save_all && combo);

  const Answer* status = nullptr;
  for (const Answer& a : answers)
    if (a.role == ROLE_SYSTEM_STATUSBAR && !TextOf(a.hwnd).empty()) status = &a;
  ASSERT_NE(status, nullptr);
  const std::wstring status_before = status->name;
  Listener names(Pid(), EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE);

  // The open dialog comes, while the call itself has returned at once.
  ASSERT_EQ(open->object->accDoDefaultAction(Child(CHILDID_SELF)), S_OK);
  HWND dialog = WaitForDialogOf(Pid(), L"选择要提取图标的文件");
  ASSERT_NE(dialog, nullptr);
  Type(WinePath(KELMAR_TESTICONS_DLL));
  Keys({VK_RETURN});
  ASSERT_TRUE(WaitUntilClosed(dialog));
  ASSERT_TRUE(WaitFor([&] { return SendMessageW(List(), LVM_GETITEMCOUNT, 0, 0) > 0; }, 10000));
  // The status text now counts the icons, and the change was told.
  EXPECT_TRUE(PumpUntil([&] { return names.HeardFrom(EVENT_OBJECT_NAMECHANGE, status->hwnd); }, 5000));
  const std::wstring status_after = Name(status->object.get());
  EXPECT_NE(status_after, status_before);
  EXPECT_EQ(status_after, TextOf(status->hwnd));

  // Save all asks for the folder.
  ASSERT_EQ(save_all->object->accDoDefaultAction(Child(CHILDID_SELF)), S_OK);
  HWND chooser = WaitForDialogOf(Pid(), L"");
  ASSERT_NE(chooser, nullptr);
  Keys({VK_ESCAPE});
  ASSERT_TRUE(WaitUntilClosed(chooser));

  // The combo box opens its drop-down: a list of the four types, the
  // chosen one selected.
  Listener listener(Pid(), EVENT_OBJECT_STATECHANGE, EVENT_OBJECT_STATECHANGE);
  ASSERT_EQ(combo->object->accDoDefaultAction(Child(CHILDID_SELF)), S_OK);
  ASSERT_TRUE(PumpUntil([&] { return (State(combo->object.get()) & STATE_SYSTEM_EXPANDED) != 0; }, 5000));
  EXPECT_TRUE(PumpUntil([&] { return listener.HeardFrom(EVENT_OBJECT_STATECHANGE, combo->hwnd); }, 5000));
  AccPtr list = ChildObject(combo->object.get(), 1);
  ASSERT_TRUE(list);
  EXPECT_EQ(Role(list.get()), ROLE_SYSTEM_LIST);
  ASSERT_EQ(ChildCount(list.get()), 4);
  const wchar_t* const kTypes[] = {L"图标", L"图片", L"原图", L"PNG图片"};
  for (long i = 1; i <= 4; ++i) {
    EXPECT_EQ(Name(list.get(), i), kTypes[i - 1]);
    EXPECT_EQ(Role(list.get(), i), ROLE_SYSTEM_LISTITEM);
    EXPECT_EQ((State(list.get(), i) & STATE_SYSTEM_SELECTED) != 0, i == 1) << i;
    // Each item lies in the list, one under the other.
    const Rect item = Location(list.get(), i), all = Location(list.get());
    EXPECT_TRUE(all.Contains({item.left, item.top}) && all.Contains({item.right - 1, item.bottom - 1})) << i;
    if (i > 1) {
      EXPECT_GE(item.top, Location(list.get(), i - 1).bottom);
    }
  }
  ASSERT_EQ(combo->object->accDoDefaultAction(Child(CHILDID_SELF)), S_OK);
  EXPECT_TRUE(PumpUntil([&] { return (State(combo->object.get()) & STATE_SYSTEM_COLLAPSED) != 0; }, 5000));
  EXPECT_EQ(Value(combo->object.get()), L"图标");
}

TEST_F(ProgramAccessibility, TheWindowIsNamedByItsCaptionAndHasItsCaptionButtonsAsChildren) {
  AccPtr window = ClientObject(program.window);
  ASSERT_TRUE(window);
  EXPECT_EQ(Name(window.get()), TextOf(program.window));
  long count = 0;
  ASSERT_EQ(window->get_accChildCount(&count), S_OK);
  const Rect frame = WindowRectOf(program.window);
  std::set<std::wstring> buttons;
  int windows = 0;
  for (long i = 1; i <= count; ++i) {
    IDispatch* child = nullptr;
    const HRESULT hr = window->get_accChild(Child(i), &child);
    if (hr == S_OK) {
      // A child window's own object.
      AccPtr object = FromDispatch(child);
      EXPECT_TRUE(object);
      ++windows;
      continue;
    }
    // A caption button: a part of the frame, in the caption band (the
    // skin's client area starts 28 pixels down).
    EXPECT_EQ(hr, S_FALSE);
    const long role = Role(window.get(), i);
    EXPECT_TRUE(role == ROLE_SYSTEM_PUSHBUTTON || role == ROLE_SYSTEM_BUTTONMENU) << role;
    const Rect r = Location(window.get(), i);
    EXPECT_FALSE(r.IsEmpty());
    EXPECT_GE(r.top, frame.top);
    EXPECT_LE(r.bottom, frame.top + 28);
    EXPECT_GE(r.left, frame.left);
    EXPECT_LE(r.right, frame.right);
    buttons.insert(Name(window.get(), i));
  }
  // The panel, the status bar and the list view.
  EXPECT_EQ(windows, 3);
  EXPECT_TRUE(buttons.count(L"关闭"));
  EXPECT_TRUE(buttons.count(L"最小化"));
  EXPECT_TRUE(buttons.count(L"最大化"));
}

TEST_F(ProgramAccessibility, TheMaximizeButtonsDefaultActionFillsTheWorkAreaAndItIsThenCalledRestore) {
  AccPtr window = ClientObject(program.window);
  ASSERT_TRUE(window);
  long count = 0;
  ASSERT_EQ(window->get_accChildCount(&count), S_OK);
  long maximize = 0;
  for (long i = 1; i <= count && !maximize; ++i)
    if (Name(window.get(), i) == L"最大化") maximize = i;
  ASSERT_NE(maximize, 0);
  EXPECT_FALSE(Action(window.get(), maximize).empty());
  // The skin's maximize button: 25 wide, left of the 43-wide close button
  // at the caption's right end, 9 pixels down the caption.
  const Rect frame = WindowRectOf(program.window);
  EXPECT_TRUE(Location(window.get(), maximize).Contains({frame.right - 704 + 641, frame.top + 9}));
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  ASSERT_EQ(window->accDoDefaultAction(Child(maximize)), S_OK);
  // The skinned frame maximizes to the work area itself.
  EXPECT_TRUE(WaitFor(
      [&] {
        const Rect r = WindowRectOf(program.window);
        return r.Width() >= work.right - work.left - 2 && r.Height() >= work.bottom - work.top - 2;
      },
      5000));
  EXPECT_TRUE(WaitFor([&] { return Name(window.get(), maximize) == L"还原"; }, 5000));
}

}  // namespace
}  // namespace kelmar::test
