// The skinned controls through the accessibility interface, as a screen
// reader in the same process sees them: names, roles, states and places
// against what the windows themselves say, default actions that click, the
// events of changes, and objects that outlive their controls.
#include <windows.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include "framework/accessible.h"
#include "skin_controls_fixture.h"
#include "win/accessible_client.h"

namespace kelmar::test {
namespace {

using SkinAccessible = SkinControls;

TEST(AccessibleText, AmpersandMarksAreDroppedAndDoubledOnesKept) {
  EXPECT_EQ(AccessibleText(L"&Open"), L"Open");
  EXPECT_EQ(AccessibleText(L"保存(&S)"), L"保存(S)");
  EXPECT_EQ(AccessibleText(L"A && B"), L"A & B");
  EXPECT_EQ(AccessibleText(L"End&"), L"End");
  EXPECT_EQ(AccessibleText(L""), L"");
}

TEST_F(SkinAccessible, AButtonIsNamedByItsHintAndClicksByItsDefaultAction) {
  auto* button = Add(new TksSkinButton(form, "B"), 10, 10, 60, 25);
  button->SetHint(L"打开文件(&O)");
  int clicks = 0;
  button->OnClick = [&] { ++clicks; };
  AccPtr object = ClientObject(button->Handle());
  ASSERT_TRUE(object);
  EXPECT_EQ(Name(object.get()), L"打开文件(O)");
  EXPECT_EQ(Role(object.get()), ROLE_SYSTEM_PUSHBUTTON);
  EXPECT_EQ(Location(object.get()), WindowRectOf(button->Handle()));
  EXPECT_EQ(State(object.get()) & (STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_UNAVAILABLE), STATE_SYSTEM_FOCUSABLE);

  // A caption wins over the hint; a name set for screen readers over both.
  button->SetCaption(L"&Go");
  EXPECT_EQ(Name(object.get()), L"Go");
  button->AccessibleName = L"前往";
  EXPECT_EQ(Name(object.get()), L"前往");

  // The click comes from the window's own message, once.
  ASSERT_EQ(object->accDoDefaultAction(Child(CHILDID_SELF)), S_OK);
  EXPECT_TRUE(PumpUntil([&] { return clicks == 1; }, 2000));
  EXPECT_TRUE(PumpUntilQuiet());
  EXPECT_EQ(clicks, 1);

  // Disabled: unavailable, not focusable, and no click.
  button->SetEnabled(false);
  EXPECT_EQ(State(object.get()) & (STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_UNAVAILABLE), STATE_SYSTEM_UNAVAILABLE);
  EXPECT_EQ(object->accDoDefaultAction(Child(CHILDID_SELF)), DISP_E_MEMBERNOTFOUND);
  EXPECT_TRUE(PumpUntilQuiet());
  EXPECT_EQ(clicks, 1);
  // A child that is not there.
  EXPECT_EQ(object->accDoDefaultAction(Child(1)), E_INVALIDARG);
}

TEST_F(SkinAccessible, TheFocusIsToldOnceAndShownInTheState) {
  auto* first = Add(new TksSkinButton(form, "First"), 10, 10, 60, 25);
  auto* second = Add(new TksSkinButton(form, "Second"), 80, 10, 60, 25);
  first->SetFocus();
  EXPECT_TRUE(PumpUntilQuiet());
  Listener listener(GetCurrentProcessId(), EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS);
  ASSERT_TRUE(listener.Active());
  second->SetFocus();
  EXPECT_TRUE(PumpUntil([&] { return listener.HeardFrom(EVENT_OBJECT_FOCUS, second->Handle()); }, 2000));
  EXPECT_TRUE(PumpUntilQuiet());
  EXPECT_EQ(listener.Count(EVENT_OBJECT_FOCUS, second->Handle()), 1);
  AccPtr a = ClientObject(first->Handle()), b = ClientObject(second->Handle());
  EXPECT_FALSE(State(a.get()) & STATE_SYSTEM_FOCUSED);
  EXPECT_TRUE(State(b.get()) & STATE_SYSTEM_FOCUSED);
}

TEST_F(SkinAccessible, CheckAndRadioBoxesShowTheirStateAndAnnounceItsChanges) {
  auto* check = Add(new TksSkinCheckRadioBox(form, "Check"), 10, 10, 100, 25);
  check->SetCaption(L"显示网格");
  auto* panel = Add(new TksSkinPanel(form, "Panel"), 150, 10, 200, 100);
  auto* one = Add(new TksSkinCheckRadioBox(form, "One"), 10, 10, 100, 25, panel);
  auto* two = Add(new TksSkinCheckRadioBox(form, "Two"), 10, 40, 100, 25, panel);
  Add(new TksSkinButton(form, "Beside"), 120, 10, 60, 25, panel);
  for (auto* box : {one, two}) {
    box->SetRadio(true);
    box->SetGroupIndex(1);
    box->GroupName = L"大小";
  }
  one->SetCaption(L"小");
  two->SetCaption(L"大");
  two->SetChecked(true);
  Listener listener(GetCurrentProcessId(), EVENT_OBJECT_STATECHANGE, EVENT_OBJECT_STATECHANGE);
  ASSERT_TRUE(listener.Active());

  AccPtr c = ClientObject(check->Handle());
  EXPECT_EQ(Role(c.get()), ROLE_SYSTEM_CHECKBUTTON);
  EXPECT_EQ(Name(c.get()), L"显示网格");
  EXPECT_FALSE(State(c.get()) & STATE_SYSTEM_CHECKED);
  const std::wstring check_action = Action(c.get());
  ASSERT_EQ(c->accDoDefaultAction(Child(CHILDID_SELF)), S_OK);
  EXPECT_TRUE(PumpUntil([&] { return listener.HeardFrom(EVENT_OBJECT_STATECHANGE, check->Handle()); }, 2000));
  EXPECT_TRUE(check->Checked());
  EXPECT_TRUE(State(c.get()) & STATE_SYSTEM_CHECKED);
  // Checked, the action is the other one.
  EXPECT_NE(Action(c.get()), check_action);

  AccPtr a = ClientObject(one->Handle()), b = ClientObject(two->Handle());
  EXPECT_EQ(Role(a.get()), ROLE_SYSTEM_RADIOBUTTON);
  EXPECT_TRUE(State(b.get()) & STATE_SYSTEM_CHECKED);
  ASSERT_EQ(a->accDoDefaultAction(Child(CHILDID_SELF)), S_OK);
  EXPECT_TRUE(PumpUntil(
      [&] {
        return listener.HeardFrom(EVENT_OBJECT_STATECHANGE, one->Handle()) &&
               listener.HeardFrom(EVENT_OBJECT_STATECHANGE, two->Handle());
      },
      2000));
  EXPECT_TRUE(one->Checked());
  EXPECT_FALSE(two->Checked());
  EXPECT_TRUE(State(a.get()) & STATE_SYSTEM_CHECKED);
  EXPECT_FALSE(State(b.get()) & STATE_SYSTEM_CHECKED);

  // The two are the children of one group object, the check box is not.
  AccPtr group = ParentOf(b.get());
  ASSERT_TRUE(group);
  EXPECT_EQ(Role(group.get()), ROLE_SYSTEM_GROUPING);
  EXPECT_EQ(Name(group.get()), L"大小");
  ASSERT_EQ(ChildCount(group.get()), 2);
  AccPtr member = ChildObject(group.get(), 1);
  ASSERT_TRUE(member);
  EXPECT_EQ(Name(member.get()), L"小");
  // The group covers both boxes.
  const Rect all = Location(group.get()), r1 = WindowRectOf(one->Handle()), r2 = WindowRectOf(two->Handle());
  EXPECT_EQ(all, (Rect{r1.left, r1.top, r2.right, r2.bottom}));
  VARIANT selected;
  VariantInit(&selected);
  ASSERT_EQ(group->get_accSelection(&selected), S_OK);
  EXPECT_EQ(selected.vt, VT_DISPATCH);
  VariantClear(&selected);

  // The panel holds the group and the button.
  AccPtr holder = ClientObject(panel->Handle());
  ASSERT_EQ(ChildCount(holder.get()), 2);
  int grouping = 0;
  for (long i = 1; i <= 2; ++i) {
    AccPtr child = ChildObject(holder.get(), i);
    ASSERT_TRUE(child);
    if (Role(child.get()) == ROLE_SYSTEM_GROUPING) {
      ++grouping;
      EXPECT_EQ(ChildCount(child.get()), 2);
    }
  }
  EXPECT_EQ(grouping, 1);

  // The group outlives its boxes harmlessly.
  delete one;
  delete two;
  long count = 0;
  EXPECT_EQ(group->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
  BSTR name = nullptr;
  EXPECT_EQ(group->get_accName(Child(CHILDID_SELF), &name), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(name, nullptr);
}

TEST_F(SkinAccessible, TheComboBoxValueAndItsDropDownListItems) {
  auto* combo = Add(new TksSkinComboBox(form, "Combo"), 10, 10, 100, 20);
  combo->SetItems({L"红", L"绿", L"蓝"});
  combo->SetItemIndex(0);
  combo->SetHint(L"颜色");
  Listener listener(GetCurrentProcessId(), EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE);
  ASSERT_TRUE(listener.Active());
  AccPtr object = ClientObject(combo->Handle());
  EXPECT_EQ(Role(object.get()), ROLE_SYSTEM_COMBOBOX);
  EXPECT_EQ(Name(object.get()), L"颜色");
  EXPECT_EQ(Value(object.get()), L"红");
  combo->SetItemIndex(2);
  EXPECT_EQ(Value(object.get()), L"蓝");
  EXPECT_TRUE(PumpUntil([&] { return listener.HeardFrom(EVENT_OBJECT_VALUECHANGE, combo->Handle()); }, 2000));

  // Open by the default action: the list is the combo box's child.
  ASSERT_EQ(object->accDoDefaultAction(Child(CHILDID_SELF)), S_OK);
  ASSERT_TRUE(PumpUntil([&] { return combo->DroppedDown(); }, 2000));
  EXPECT_TRUE(State(object.get()) & STATE_SYSTEM_EXPANDED);
  AccPtr list = ChildObject(object.get(), 1);
  ASSERT_TRUE(list);
  EXPECT_EQ(Role(list.get()), ROLE_SYSTEM_LIST);
  EXPECT_EQ(Name(list.get()), L"颜色");
  ASSERT_EQ(ChildCount(list.get()), 3);
  EXPECT_EQ(Name(list.get(), 2), L"绿");
  EXPECT_EQ(Role(list.get(), 2), ROLE_SYSTEM_LISTITEM);
  EXPECT_FALSE(State(list.get(), 2) & STATE_SYSTEM_SELECTED);
  EXPECT_TRUE(State(list.get(), 3) & STATE_SYSTEM_SELECTED);
  // The rows are 1 … 3 from the top of the list's window.
  const Rect row2 = Location(list.get(), 2), row3 = Location(list.get(), 3);
  EXPECT_EQ(row2.Height(), row3.Height());
  EXPECT_EQ(row3.top, row2.bottom);
  // A point on the second row is the second item.
  VARIANT hit;
  VariantInit(&hit);
  ASSERT_EQ(list->accHitTest(row2.left + 2, row2.top + 2, &hit), S_OK);
  EXPECT_EQ(hit.vt, VT_I4);
  EXPECT_EQ(hit.lVal, 2);
  ASSERT_EQ(object->accDoDefaultAction(Child(CHILDID_SELF)), S_OK);
  EXPECT_TRUE(PumpUntil([&] { return !combo->DroppedDown(); }, 2000));
  EXPECT_EQ(Value(object.get()), L"蓝");
}

TEST_F(SkinAccessible, TheStatusBarIsNamedByWhatItsPanelShows) {
  auto* bar = Add(new TksSkinStatusBar(form, "Bar"), 0, 150, 400, 21);
  auto* panel = new TksSkinStatusPanel(form, "Panel");
  panel->SetAlign(TAlign::alClient);
  panel->SetParent(bar);
  panel->SetCaption(L"就绪");
  Listener listener(GetCurrentProcessId(), EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE);
  ASSERT_TRUE(listener.Active());
  AccPtr b = ClientObject(bar->Handle()), p = ClientObject(panel->Handle());
  EXPECT_EQ(Role(b.get()), ROLE_SYSTEM_STATUSBAR);
  EXPECT_EQ(Role(p.get()), ROLE_SYSTEM_STATUSBAR);
  EXPECT_EQ(Name(p.get()), L"就绪");
  EXPECT_EQ(Name(b.get()), L"就绪");
  panel->SetCaption(L"共 3 个图标");
  EXPECT_EQ(Name(p.get()), L"共 3 个图标");
  EXPECT_EQ(Name(b.get()), L"共 3 个图标");
  EXPECT_TRUE(PumpUntil(
      [&] {
        return listener.HeardFrom(EVENT_OBJECT_NAMECHANGE, panel->Handle()) &&
               listener.HeardFrom(EVENT_OBJECT_NAMECHANGE, bar->Handle());
      },
      2000));
  // The panel is the bar's one child, not focusable.
  EXPECT_EQ(ChildCount(b.get()), 1);
  EXPECT_FALSE(State(b.get()) & STATE_SYSTEM_FOCUSABLE);
}

TEST_F(SkinAccessible, AnObjectAskedAfterItsControlIsGoneAnswersNotConnected) {
  auto* button = Add(new TksSkinButton(form, "Gone"), 10, 10, 60, 25);
  button->SetHint(L"消失");
  AccPtr object = ClientObject(button->Handle());
  ASSERT_TRUE(object);
  ASSERT_EQ(Name(object.get()), L"消失");
  delete button;
  BSTR name = nullptr;
  EXPECT_EQ(object->get_accName(Child(CHILDID_SELF), &name), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(name, nullptr);
  VARIANT v;
  VariantInit(&v);
  EXPECT_EQ(object->get_accRole(Child(CHILDID_SELF), &v), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(object->get_accState(Child(CHILDID_SELF), &v), CO_E_OBJNOTCONNECTED);
  long x = 1, y = 1, w = 1, h = 1;
  EXPECT_EQ(object->accLocation(&x, &y, &w, &h, Child(CHILDID_SELF)), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(w, 0);
  EXPECT_EQ(object->accDoDefaultAction(Child(CHILDID_SELF)), CO_E_OBJNOTCONNECTED);
  IDispatch* parent = nullptr;
  EXPECT_EQ(object->get_accParent(&parent), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(object->accHitTest(15, 15, &v), CO_E_OBJNOTCONNECTED);
  EXPECT_TRUE(PumpUntilQuiet());
}

}  // namespace
}  // namespace kelmar::test
