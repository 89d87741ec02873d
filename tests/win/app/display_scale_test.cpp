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
#include "win/pump.h"

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

  // What the screen shows of the whole window, every child painted first.
  static std::vector<Pixel> Shot(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpUntilQuiet();
    RECT r;
    GetWindowRect(window, &r);
    TBitmap shot(r.right - r.left, r.bottom - r.top);
    HDC screen = GetDC(nullptr);
    BitBlt(shot.Dc(), 0, 0, shot.Width(), shot.Height(), screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    const ImageView pixels = shot.Pixels();
    std::vector<Pixel> all;
    for (int y = 0; y < pixels.Height(); ++y)
      for (int x = 0; x < pixels.Width(); ++x) all.push_back(pixels.At(x, y) & 0xFFFFFF);
    return all;
  }

  // Every control of the form in order: its window's place in the form's
  // window and its font's height.
  struct Piece {
    std::string name;
    RECT place;
    int font;
    bool operator==(const Piece&) const = default;
  };
  static void Pieces(TWinControl* parent, HWND form, std::vector<Piece>& out) {
    for (TControl* c : parent->Controls()) {
      RECT r{};
      if (c->IsWindowed()) {
        GetWindowRect(static_cast<TWinControl*>(c)->Handle(), &r);
        MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&r), 2);
      } else {
        r = ToRECT(c->BoundsRect());
      }
      out.push_back({c->Name(), r, c->Font().Height()});
      if (c->IsWindowed()) Pieces(static_cast<TWinControl*>(c), form, out);
    }
  }

  // The form with comdlg32's and user32's icons, the fifth selected.
  void MakeWithIcons(UINT dpi) {
    Make(dpi);
    DropFiles(form->Handle(), {SystemFile(L"comdlg32.dll"), SystemFile(L"user32.dll")});
    ASSERT_EQ(form->ListView1->Count(), 17);
    form->ListView1->SetSelected(4, true);
    Application().ProcessMessages();
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
    // Its least size is the frame picture's at the scale: 1408 at 192 DPI
    // even on the tests' 1280 pixels.
    const SIZE window = WindowSize(form->Handle());
    EXPECT_EQ(window.cx, c.window.cx);
    EXPECT_EQ(window.cy, c.window.cy);
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
    // The icons' spacing: the system's, given for 96 DPI here, at the scale.
    const DWORD spacing = ListView_GetItemSpacing(list, FALSE);
    EXPECT_EQ(LOWORD(spacing), MulDiv(GetSystemMetrics(SM_CXICONSPACING), int(c.dpi), 96));
    EXPECT_EQ(HIWORD(spacing), MulDiv(GetSystemMetrics(SM_CYICONSPACING), int(c.dpi), 96));
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

TEST_F(DisplayScale, ANewDpiFromTheSystemLooksAsAStartAtThatDpi) {
  // Away from the window: no hover look in either picture.
  SetCursorPos(0, 0);
  // 96 to 144, 144 to 120 and back to 96, each compared with a start at the
  // new DPI in the window's place.
  const UINT steps[][2] = {{96, 144}, {144, 120}, {120, 96}};
  for (const auto& [from, to] : steps) {
    SCOPED_TRACE(std::to_string(from) + " to " + std::to_string(to));
    MakeWithIcons(to);
    const RECT fresh = [&] {
      RECT r;
      GetWindowRect(form->Handle(), &r);
      return r;
    }();
    std::vector<Piece> expected;
    Pieces(form, form->Handle(), expected);
    const std::vector<Pixel> expected_shot = Shot(form->Handle());
    const int large = form->LargeImage->Width(), small = form->SmallImage->Width();
    EXPECT_EQ(large, ScaleLength(32, int(to)));
    const std::vector<uint32_t> icon = ImageListPixels(form->LargeImage->Handle(), 9, large);

    MakeWithIcons(from);
    SetWindowPos(form->Handle(), nullptr, 0, 0, 300, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(form->Handle(), WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&fresh));
    Application().ProcessMessages();
    RECT now;
    GetWindowRect(form->Handle(), &now);
    EXPECT_TRUE(EqualRect(&now, &fresh));
    std::vector<Piece> pieces;
    Pieces(form, form->Handle(), pieces);
    ASSERT_EQ(pieces.size(), expected.size());
    for (size_t i = 0; i < std::min(pieces.size(), expected.size()); ++i) {
      const RECT &a = pieces[i].place, &b = expected[i].place;
      EXPECT_TRUE(EqualRect(&a, &b)) << pieces[i].name << " " << a.left << "," << a.top << "," << a.right << ","
                                     << a.bottom << " for " << b.left << "," << b.top << "," << b.right << ","
                                     << b.bottom;
      EXPECT_EQ(pieces[i].font, expected[i].font) << pieces[i].name;
    }
    // The items, their selection and their pictures made anew at the size.
    EXPECT_EQ(form->ListView1->Count(), 17);
    EXPECT_EQ(form->ListView1->SelectedCount(), 1);
    EXPECT_TRUE(form->ListView1->Selected(4));
    EXPECT_EQ(form->LargeImage->Width(), large);
    EXPECT_EQ(form->SmallImage->Width(), small);
    EXPECT_EQ(form->LargeImage->Count(), 17);
    EXPECT_TRUE(ImageListPixels(form->LargeImage->Handle(), 9, large) == icon);
    // What the screen shows, pixel for pixel.
    const std::vector<Pixel> shot = Shot(form->Handle());
    ASSERT_EQ(shot.size(), expected_shot.size());
    const auto [differs, at] = std::mismatch(shot.begin(), shot.end(), expected_shot.begin());
    const long first = long(differs - shot.begin()), width = fresh.right - fresh.left;
    EXPECT_TRUE(differs == shot.end()) << std::count_if(shot.begin(), shot.end(), [&](const Pixel& p) {
      return p != expected_shot[size_t(&p - shot.data())];
    }) << " pixels differ, the first at " << first % width << "," << first / width;
  }
}

TEST_F(DisplayScale, ANewDpiKeepsTheListWhereItWasAndTheSavedFilesAsTheyWere) {
  Make(96);
  DropFiles(form->Handle(), {SystemFile(L"shell32.dll")});
  const int count = form->ListView1->Count();
  ASSERT_GT(count, 100);
  // Scrolled down to an item far in.
  ListView_EnsureVisible(form->ListView1->Handle(), count - 1, FALSE);
  Application().ProcessMessages();
  const int first = form->ListView1->FirstShownItem();
  ASSERT_GT(first, 0);
  RECT r;
  GetWindowRect(form->Handle(), &r);
  SendMessageW(form->Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&r));
  Application().ProcessMessages();
  // The same item still shows.
  RECT item{}, client{};
  ASSERT_TRUE(ListView_GetItemRect(form->ListView1->Handle(), first, &item, LVIR_BOUNDS));
  GetClientRect(form->ListView1->Handle(), &client);
  EXPECT_GT(item.bottom, client.top);
  EXPECT_LT(item.top, client.bottom);
  EXPECT_EQ(form->ListView1->Count(), count);
  // What is saved still comes from lists of 32 and 16.
  const std::wstring out = MakeTempFolder(L"scale-changed-out");
  services.folder_answers.push_back(out);
  form->ListView1->SetSelected(0, true);
  Click(form->BTNSave);
  const auto files = Files(out);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(uint8_t(files.begin()->second[6]), 32);
}

}  // namespace
}  // namespace kelmar::test
