// The main form made for a display scale other than 100 %: its window, its
// pieces, fonts and icons at round(scale x their size at 96 DPI), and saved
// files that are the same bytes at every scale.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "app_fixture.h"
#include "win/mouse_input.h"

namespace kelmar::test {
namespace {

namespace fs = std::filesystem;

class DisplayScale : public ::testing::Test {
 protected:
  void Make(UINT dpi) {
    Free();
    services.dpi = dpi;
    Application().SetTitle(L"Kelmar");
    form = Application().CreateForm<TFormKelmar>(nullptr, &services);
    form->Show();
    Application().ProcessMessages();
  }
  void Free() {
    delete form;
    form = nullptr;
    Application().ProcessMessages();
  }
  void TearDown() override { Free(); }

  SIZE WindowSize(HWND hwnd) const {
    RECT r;
    GetWindowRect(hwnd, &r);
    return {r.right - r.left, r.bottom - r.top};
  }

  // Every file of the folder by name, with its bytes.
  static std::map<std::wstring, std::string> Files(const std::wstring& folder) {
    std::map<std::wstring, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
      std::ifstream in(entry.path(), std::ios::binary);
      files[entry.path().filename().wstring()] = {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    return files;
  }

  RecordingServices services;
  TFormKelmar* form = nullptr;
};

TEST_F(DisplayScale, WindowPiecesFontsAndIconsFollowTheScale) {
  struct Case {
    UINT dpi;
    SIZE window, button, radio, panel;
    int font, large, small;
  };
  // round(s x 96-DPI size): window 704 x 399, tool button 41 x 25, radio
  // box 65 x 25, tool bar 41 high, list font 11 px, icons 32 and 16.
  const Case cases[] = {
      {96, {704, 399}, {41, 25}, {65, 25}, {0, 41}, 11, 32, 16},
      {120, {880, 499}, {51, 31}, {81, 31}, {0, 51}, 14, 40, 20},
      {144, {1056, 599}, {62, 38}, {98, 38}, {0, 62}, 17, 48, 24},
      {192, {1408, 798}, {82, 50}, {130, 50}, {0, 82}, 22, 64, 32},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dpi);
    Make(c.dpi);
    // A window wider than the screen (1408 on the tests' 1280 pixels) is
    // held to it.
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const SIZE window = WindowSize(form->Handle());
    EXPECT_EQ(window.cx, std::min<LONG>(c.window.cx, work.right - work.left));
    EXPECT_EQ(window.cy, std::min<LONG>(c.window.cy, work.bottom - work.top));
    const SIZE button = WindowSize(form->BTNSelFile->Handle());
    EXPECT_NEAR(button.cx, c.button.cx, 1);
    EXPECT_NEAR(button.cy, c.button.cy, 1);
    const SIZE radio = WindowSize(form->RB16->Handle());
    EXPECT_NEAR(radio.cx, c.radio.cx, 1);
    EXPECT_NEAR(radio.cy, c.radio.cy, 1);
    EXPECT_NEAR(WindowSize(form->ksSkinPanel1->Handle()).cy, c.panel.cy, 1);

    // The list view draws with the font it holds.
    const HWND list = form->ListView1->Handle();
    LOGFONTW font{};
    ASSERT_TRUE(GetObjectW(reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)), sizeof(font), &font));
    EXPECT_EQ(font.lfHeight, -c.font);
    int w = 0, h = 0;
    ASSERT_TRUE(ImageList_GetIconSize(ListView_GetImageList(list, LVSIL_NORMAL), &w, &h));
    EXPECT_EQ(w, c.large);
    EXPECT_EQ(h, c.large);
    ASSERT_TRUE(ImageList_GetIconSize(ListView_GetImageList(list, LVSIL_SMALL), &w, &h));
    EXPECT_EQ(w, c.small);
    EXPECT_EQ(h, c.small);
  }
}

TEST_F(DisplayScale, SavedFilesAreTheSameBytesAtEveryScale) {
  const std::wstring text = MakeTempFolder(L"scale-in") + L"\\readme.txt";
  WriteTextFile(text, "x");
  // Icons and pictures, of the large and the small view: four folders per
  // scale, compared with those written at 96 DPI.
  std::map<std::wstring, std::string> at96[4];
  for (UINT dpi : {96u, 144u, 192u}) {
    SCOPED_TRACE(dpi);
    Make(dpi);
    // comdlg32's 10 icons, user32's 7, one shell icon.
    DropFiles(form->Handle(), {SystemFile(L"comdlg32.dll"), SystemFile(L"user32.dll"), text});
    ASSERT_EQ(form->ListView1->Count(), 18);
    for (int i = 0; i < 4; ++i) {
      SCOPED_TRACE(i);
      if (i == 2) Click(form->RB16);
      form->CombPicType->SetItemIndex(i % 2);
      const std::wstring out = MakeTempFolder(L"scale-out-" + std::to_wstring(dpi) + L"-" + std::to_wstring(i));
      services.folder_answers.push_back(out);
      Click(form->BTNSaveAll);
      const auto files = Files(out);
      ASSERT_EQ(files.size(), 18u);
      if (dpi == 96)
        at96[i] = files;
      else
        EXPECT_TRUE(files == at96[i]);
    }
  }
  // What was compared is what the views save: 32 and 16 pixels square.
  EXPECT_EQ(uint8_t(at96[0].at(L"1_comdlg32.ico")[6]), 32);
  EXPECT_EQ(uint8_t(at96[2].at(L"1_comdlg32.ico")[6]), 16);
}

}  // namespace
}  // namespace kelmar::test
