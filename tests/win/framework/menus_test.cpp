// The framework's menu model: the item tree, references to items that are
// freed, the menu an item belongs to, short-cut texts and accelerators.
#include <windows.h>

#include <gtest/gtest.h>

#include "framework/menus.h"

namespace kelmar {
namespace {

std::wstring Captions(const TMenuItem& item) {
  std::wstring s;
  for (int i = 0; i < item.Count(); ++i) s += item.Items(i)->Caption + L";";
  return s;
}

TEST(MenuItemTest, AddInsertDeleteAndClearKeepTheOrder) {
  TPopupMenu menu(nullptr, "Menu");
  TMenuItem* root = menu.Items();
  TMenuItem* b = root->Add(new TMenuItem("b", L"B"));
  root->Insert(0, new TMenuItem("a", L"A"));
  root->Add(new TMenuItem("d", L"D"));
  root->Insert(2, new TMenuItem("c", L"C"));
  root->Insert(99, new TMenuItem("e", L"E"));  // past the end: appended
  EXPECT_EQ(Captions(*root), L"A;B;C;D;E;");
  EXPECT_EQ(root->IndexOf(b), 1);
  EXPECT_EQ(b->Parent(), root);
  root->Delete(0);
  root->Delete(7);  // out of range: nothing
  EXPECT_EQ(Captions(*root), L"B;C;D;E;");
  root->Clear();
  EXPECT_EQ(root->Count(), 0);
}

TEST(MenuItemTest, ItemsKnowTheirMenuAndReferencesClearWhenTheyAreFreed) {
  TPopupMenu menu(nullptr, "Menu");
  TMenuItem* sub = menu.Items()->Add(new TMenuItem("sub", L"Sub"));
  TMenuItem* leaf = sub->Add(new TMenuItem("leaf", L"Leaf"));
  EXPECT_EQ(leaf->GetParentMenu(), &menu);
  TMenuItem loose("loose");
  EXPECT_EQ(loose.GetParentMenu(), nullptr);
  TComponentRef<TMenuItem> ref;
  ref = leaf;
  menu.Items()->Delete(0);  // frees the sub-menu with its items
  EXPECT_EQ(ref.Get(), nullptr);
}

TEST(MenuItemTest, TheMenuDispatchesToTheClickHandler) {
  TPopupMenu menu(nullptr, "Menu");
  int clicks = 0;
  TMenuItem* item = menu.Items()->Add(new TMenuItem("x", L"X"));
  item->OnClick = [&] { ++clicks; };
  menu.DispatchItem(item);
  menu.DispatchItem(nullptr);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE((TMenuItem("line", L"-").IsLine()));
  EXPECT_FALSE((TMenuItem("x", L"--").IsLine()));
}

TEST(ShortCutTest, TextForms) {
  EXPECT_EQ(ShortCutToText(MakeShortCut(VK_F4, scAlt)), L"Alt+F4");
  EXPECT_EQ(ShortCutToText(MakeShortCut(VK_F4, scCtrl)), L"Ctrl+F4");
  EXPECT_EQ(ShortCutToText(MakeShortCut('S', scCtrl | scShift)), L"Shift+Ctrl+S");
  EXPECT_EQ(ShortCutToText(MakeShortCut(VK_F12, 0)), L"F12");
  EXPECT_EQ(ShortCutToText(MakeShortCut(VK_DELETE, 0)), L"Del");
  EXPECT_EQ(ShortCutToText(MakeShortCut('7', scAlt)), L"Alt+7");
  EXPECT_EQ(ShortCutToText(0), L"");
}

TEST(ShortCutTest, Accelerators) {
  EXPECT_EQ(AcceleratorChar(L"最小化(&N)"), L'N');
  EXPECT_EQ(AcceleratorChar(L"&close"), L'C');
  EXPECT_EQ(AcceleratorChar(L"Save && &quit"), L'Q');
  EXPECT_EQ(AcceleratorChar(L"A && B"), 0);
  EXPECT_EQ(AcceleratorChar(L"ends with &"), 0);
  EXPECT_EQ(AcceleratorChar(L""), 0);
}

}  // namespace
}  // namespace kelmar
