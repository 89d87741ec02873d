// The dark skin in the real main form: chosen from what the user asks of
// applications, taken while running when Windows tells of a change, with the
// list, its selection and scroll position and the combo box's choice kept,
// the list in the skin's colours, and saved files that do not depend on it.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "app_fixture.h"
#include "win/mouse_input.h"

namespace kelmar::test {
namespace {

namespace fs = std::filesystem;

void TellColourChange(HWND window) {
  SendMessageW(window, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"));
  PumpUntilQuiet();
}

// Every file of a folder by name with its bytes.
std::map<std::wstring, std::vector<char>> FolderBytes(const std::wstring& folder) {
  std::map<std::wstring, std::vector<char>> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    std::ifstream in(entry.path(), std::ios::binary);
    files[entry.path().filename().wstring()] = {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  return files;
}

class DarkSkinForm : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    ASSERT_EQ(form->ksSkinData1->Skin().SkinName, "Kelmar Light");
    // shell32's 184 icons: enough for the list to scroll.
    DropFiles(form->Handle(), {SystemFile(L"shell32.dll")});
    ASSERT_EQ(form->ListView1->Count(), 184);
  }
  HWND List() const { return form->ListView1->Handle(); }
  int TopIndex() const { return int(SendMessageW(List(), LVM_GETTOPINDEX, 0, 0)); }
  void Switch(bool dark) {
    services.dark = dark;
    TellColourChange(form->Handle());
  }
};

TEST_F(DarkSkinForm, ASwitchKeepsTheListItsSelectionAndScrollPositionAndTheChoice) {
  form->ListView1->SetSelected(3, true);
  form->ListView1->SetSelected(150, true);
  SendMessageW(List(), LVM_ENSUREVISIBLE, 150, FALSE);
  PumpUntilQuiet();
  const int top = TopIndex();
  ASSERT_GT(top, 0);
  form->CombPicType->SetItemIndex(2);

  Switch(true);
  EXPECT_EQ(form->OwnSkin(), TOwnSkin::Dark);
  EXPECT_EQ(form->ksSkinData1->Skin().SkinName, "Kelmar Dark");
  EXPECT_EQ(form->ListView1->Count(), 184);
  EXPECT_EQ(form->ListView1->SelectedCount(), 2);
  EXPECT_TRUE(form->ListView1->Selected(3));
  EXPECT_TRUE(form->ListView1->Selected(150));
  EXPECT_EQ(TopIndex(), top);
  EXPECT_EQ(form->CombPicType->ItemIndex(), 2);
  // The list in the dark skin's colours ([CLIENTCOLORS] of skins/dark/skin.ini).
  EXPECT_EQ(ListView_GetBkColor(List()), RGB(0x1E, 0x20, 0x23));
  EXPECT_EQ(ListView_GetTextColor(List()), RGB(0xE6, 0xE8, 0xEB));
  EXPECT_EQ(form->URLLabel4->Font().Color(), RGB(0x8C, 0xC8, 0xFF));

  // Another setting changed: nothing happens. The same look asked again:
  // nothing is loaded again.
  SendMessageW(form->Handle(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"intl"));
  services.dark = false;
  PumpUntilQuiet();
  EXPECT_EQ(form->OwnSkin(), TOwnSkin::Dark);
  services.dark = true;
  TellColourChange(form->Handle());
  EXPECT_EQ(form->ksSkinData1->Skin().SkinName, "Kelmar Dark");

  Switch(false);
  EXPECT_EQ(form->ksSkinData1->Skin().SkinName, "Kelmar Light");
  EXPECT_EQ(TopIndex(), top);
  EXPECT_EQ(form->ListView1->SelectedCount(), 2);
  EXPECT_EQ(form->CombPicType->ItemIndex(), 2);
  EXPECT_EQ(ListView_GetBkColor(List()), RGB(255, 255, 255));
  EXPECT_EQ(ListView_GetTextColor(List()), RGB(0, 0, 0));
  EXPECT_EQ(form->URLLabel4->Font().Color(), RGB(60, 60, 120));
}

// Every output type writes the same bytes whichever skin is shown.
TEST_F(DarkSkinForm, SaveAllWritesTheSameBytesInEitherSkin) {
  for (int type = 0; type < 4; ++type) {
    SCOPED_TRACE(type);
    form->CombPicType->SetItemIndex(type);
    std::map<std::wstring, std::vector<char>> saved[2];
    for (bool dark : {false, true}) {
      Switch(dark);
      ASSERT_EQ(form->OwnSkin(), dark ? TOwnSkin::Dark : TOwnSkin::Light);
      const std::wstring out = MakeTempFolder(dark ? L"dark-save" : L"light-save");
      services.folder_answers.push_back(out);
      Click(form->BTNSaveAll);
      saved[dark] = FolderBytes(out);
    }
    EXPECT_GE(saved[0].size(), 184u);
    EXPECT_TRUE(saved[0] == saved[1]);
  }
}

// Started while the user asks for dark applications, the form shows the
// dark skin from the first paint.
TEST(DarkSkinStart, TheFormStartsDarkWhenAsked) {
  RecordingServices services;
  services.dark = true;
  auto* form = Application().CreateForm<TFormKelmar>(nullptr, &services);
  EXPECT_EQ(form->OwnSkin(), TOwnSkin::Dark);
  EXPECT_EQ(form->ksSkinData1->Skin().SkinName, "Kelmar Dark");
  EXPECT_EQ(ListView_GetBkColor(form->ListView1->Handle()), RGB(0x1E, 0x20, 0x23));
  delete form;
  Application().ProcessMessages();
}

}  // namespace
}  // namespace kelmar::test
