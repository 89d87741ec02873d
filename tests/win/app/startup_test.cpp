#include <windows.h>

#include "app/version.h"
#include "app_fixture.h"

namespace kelmar::test {

TEST(SubstituteVersion, ReplacesEveryPlaceholderInAnyCase) {
  EXPECT_EQ(SubstituteVersion(L"Kelmar", L"3.0"), L"Kelmar");
  EXPECT_EQ(SubstituteVersion(L"Kelmar V$V$(文件图标提取器)", L"3.0"), L"Kelmar V3.0(文件图标提取器)");
  EXPECT_EQ(SubstituteVersion(L"$V$ and $v$ and $V$", L"3.0"), L"3.0 and 3.0 and 3.0");
  EXPECT_EQ(SubstituteVersion(L"$V $V$$", L"3.0"), L"$V 3.0$");
  EXPECT_EQ(SubstituteVersion(L"", L"3.0"), L"");
}

TEST_F(FormTest, StartsWithLargeIconsIconTypeAndAnEmptyList) {
  EXPECT_TRUE(form->RB32->Checked());
  EXPECT_FALSE(form->RB16->Checked());
  EXPECT_FALSE(form->SmallIcons);
  EXPECT_EQ(form->CombPicType->ItemIndex(), 0);
  EXPECT_EQ(form->CombPicType->Text(), L"图标");
  EXPECT_EQ(form->ListView1->Count(), 0);
  EXPECT_EQ(form->LargeImage->Count(), 0);
  EXPECT_EQ(form->SmallImage->Count(), 0);
  EXPECT_EQ(form->ListView1->ViewStyle(), TViewStyle::vsIcon);
  EXPECT_EQ(form->IconCounter, 0);
  EXPECT_FALSE(form->SaveAll);
  EXPECT_TRUE(form->SaveFolder.empty());

  // The designed 667 x 363 client area, widened to what the skinned frame
  // allows: the window is at least the frame picture's 704 pixels wide.
  RECT client;
  GetClientRect(form->Handle(), &client);
  EXPECT_EQ(client.right, 704 - 8 - 8);
  EXPECT_EQ(client.bottom, 363);
  wchar_t caption[64] = {};
  GetWindowTextW(form->Handle(), caption, 64);
  EXPECT_STREQ(caption, L"Kelmar V3.0(文件图标提取器)");
  EXPECT_TRUE(GetWindowLongPtrW(form->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  ASSERT_EQ(services.Of("DragAccept").size(), 1u);
}

// Where the aligned controls end up: worked out from the 688 x 363 client
// area, the tool panel's 41 pixels and the skin's status bar piece.
TEST_F(FormTest, AlignedControlsShareTheClientArea) {
  struct Expected {
    TControl* control;
    int left, top, width, height;
  } expected[] = {
      // The skin's status bar stretches across only: its height is the
      // piece's 19, and its panel fills the piece's client part.
      {form->ksSkinPanel1, 0, 0, 688, 41}, {form->AppStatusBar, 0, 344, 688, 19},
      {form->ksSkinStatusPanel1, 3, 2, 682, 16}, {form->ListView1, 0, 41, 688, 303},
  };
  for (const auto& e : expected) {
    SCOPED_TRACE(e.control->Name());
    EXPECT_EQ(e.control->Left(), e.left);
    EXPECT_EQ(e.control->Top(), e.top);
    EXPECT_EQ(e.control->Width(), e.width);
    EXPECT_EQ(e.control->Height(), e.height);
  }
  // The skinned combo box takes the height of its skin (19).
  EXPECT_EQ(form->CombPicType->Height(), 19);
  RECT combo;
  GetWindowRect(form->CombPicType->Handle(), &combo);
  MapWindowPoints(nullptr, form->ksSkinPanel1->Handle(), reinterpret_cast<POINT*>(&combo), 2);
  EXPECT_EQ(form->CombPicType->BoundsRect(), FromRECT(combo));
}

TEST(FormLifetime, ClosingWithdrawsTheDropRegistrationBeforeTheFormIsFreed) {
  RecordingServices services;
  auto* form = Application().CreateForm<TFormKelmar>(nullptr, &services);
  form->Show();
  bool freed = false;
  form->OnDestroy = [&] {
    freed = true;
    services.calls.push_back({"Freed", L"", L"", 0});
  };
  SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return freed; }, 500));
  ASSERT_GE(services.calls.size(), 3u);
  EXPECT_EQ(services.calls[services.calls.size() - 2].what, "DragWithdraw");
  EXPECT_EQ(services.calls.back().what, "Freed");
  EXPECT_EQ(FormKelmar, nullptr);
}

// The real program: its window is found by its exact title and it closes.
TEST(Program, StartsWithItsTitleAndCloses) {
  RunningProgram program;
  ASSERT_NE(program.window, nullptr);
  DWORD pid = 0;
  GetWindowThreadProcessId(program.window, &pid);
  EXPECT_EQ(pid, program.process.dwProcessId);
  EXPECT_TRUE(program.Close());
}

}  // namespace kelmar::test
