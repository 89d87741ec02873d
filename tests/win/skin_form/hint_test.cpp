// The skinned hints of the real main window: the window the application
// shows for each control's hint, drawn from the skin's hint picture at the
// size its text needs, shaped by the hint mask, in the plain look without a
// skin; the serving component, transparency, and the frame objects' hints.
#include <windows.h>

#include <algorithm>
#include <map>
#include <string>

#include "base/bmp.h"
#include "framework/hints.h"
#include "framework/wide.h"
#include "skin/data/skin_platform_win32.h"
#include "skin/form/skin_hint_win32.h"
#include "win/app/app_fixture.h"
#include "win/pump.h"

namespace kelmar::test {
namespace {

constexpr Pixel kRgb = 0xFFFFFF;

// Text extent and line height in a font, measured here.
struct Measured {
  SIZE text;
  int line;
};
Measured Measure(const TFont& font, const std::wstring& text) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font.Handle());
  Measured m{};
  GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &m.text);
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  m.line = tm.tmHeight;
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return m;
}

Rect WindowRect(HWND hwnd) {
  RECT rc{};
  GetWindowRect(hwnd, &rc);
  return FromRECT(rc);
}

Image PrintClient(HWND hwnd) {
  const Rect r = WindowRect(hwnd);
  TBitmap bitmap(r.Width(), r.Height());
  SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(bitmap.Dc()), PRF_CLIENT);
  const ImageView p = bitmap.Pixels();
  Image image(p.Width(), p.Height());
  for (int y = 0; y < p.Height(); ++y)
    for (int x = 0; x < p.Width(); ++x) image.At(x, y) = p.At(x, y) & kRgb;
  return image;
}

class SkinHintTest : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    SetForegroundWindow(form->Handle());
    Application().ProcessMessages();
    // The look and place of hints are tested here, not the pause before
    // them (the framework's tests do that): no need to wait it out.
    Hints().HintPause = 50;
  }
  THintHandler& Hints() { return Application().Hints(); }
  TksSkinHintWindow* Window() { return dynamic_cast<TksSkinHintWindow*>(Hints().HintWindow()); }
  const TksSkinData& Skin() { return form->ksSkinData1->Skin(); }
  // Rests the real cursor on a control and waits for its hint.
  bool HoverShows(TControl* control, const std::wstring& text) {
    return HoverShows(control, {control->Width() / 2, control->Height() / 2}, text);
  }
  bool HoverShows(TControl* control, Point at, const std::wstring& text) {
    POINT p{at.x, at.y};
    HWND parent = control->IsWindowed() ? static_cast<TWinControl*>(control)->Handle() : control->Parent()->Handle();
    if (!control->IsWindowed()) p = {p.x + control->Left(), p.y + control->Top()};
    ClientToScreen(parent, &p);
    SetCursorPos(p.x, p.y);
    HWND under = WindowFromPoint(p);
    ScreenToClient(under, &p);
    PostMessageW(under, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
    return PumpUntil([&] { return Window() && Window()->Showing() && Window()->Text() == text; }, 4000);
  }
  Measured InSkinFont(const std::wstring& text) {
    const auto& f = Skin().HintWindow.font;
    return Measure(TFont(L"Arial", f.height), text);
  }
};

TEST_F(SkinHintTest, TheMainWindowServesTheApplicationsHintsFromItsSkin) {
  EXPECT_TRUE(form->ksSkinHint1->Active());
  EXPECT_TRUE(form->ksSkinHint1->UseSkinFont);
  EXPECT_EQ(form->ksSkinHint1->SkinData(), form->ksSkinData1);
  EXPECT_EQ(form->ksSkinForm1->SkinHint(), form->ksSkinHint1);
  // The caption buttons' hints show in the same window.
  EXPECT_TRUE(form->ksSkinForm1->ShowObjectHint);
  EXPECT_EQ(TksSkinHint::Serving(), form->ksSkinHint1);
  EXPECT_EQ(Hints().HintShortPause, 100u);
  ASSERT_NE(Window(), nullptr) << "the application's hint window is a skinned one";
}

TEST_F(SkinHintTest, SaveShowsItsHintDrawnFromTheSkinAndSaveAllFollows) {
  ASSERT_TRUE(HoverShows(form->BTNSave, L"保存当前选中图标 (Ctrl+S)"));
  HWND hwnd = Window()->Handle();
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  EXPECT_STREQ(cls, L"KelmarSkinHint");
  EXPECT_TRUE(Window()->Skinned());
  // Our skin: the text plus 4 each way, at least the 40 x 20 picture.
  const Measured m = InSkinFont(L"保存当前选中图标 (Ctrl+S)");
  const Rect r = WindowRect(hwnd);
  EXPECT_EQ(r.Width(), std::max<int>(m.text.cx + 4, 40));
  EXPECT_EQ(r.Height(), std::max(m.line + 4, 20));

  // The corners are the picture's own pixels; the text is in the font colour's
  // dark grey somewhere inside.
  const Image shot = PrintClient(hwnd);
  const Image& picture = Skin().ActivePictures[size_t(Skin().HintWindow.windowpictureindex)];
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) {
      EXPECT_EQ(shot.At(x, y), picture.At(x, y) & kRgb) << x << "," << y;
      EXPECT_EQ(shot.At(r.Width() - 1 - x, r.Height() - 1 - y), picture.At(39 - x, 19 - y) & kRgb) << x << "," << y;
    }
  int dark = 0;
  for (int y = 2; y < r.Height() - 2; ++y)
    for (int x = 2; x < r.Width() - 2; ++x) dark += (shot.At(x, y) & 0xFF) < 0x80;
  EXPECT_GT(dark, 20);

  // Shaped by the hint mask: each corner pixel is in the window where the
  // mask is black.
  RegionHandle region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(hwnd, region), ERROR);
  const Image& mask = Skin().ActivePictures[size_t(Skin().HintWindow.maskpictureindex)];
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) {
      EXPECT_EQ(PtInRegion(region, x, y) != 0, (mask.At(x, y) & kRgb) == 0) << x << "," << y;
      EXPECT_EQ(PtInRegion(region, r.Width() - 1 - x, y) != 0, (mask.At(39 - x, y) & kRgb) == 0);
    }
  EXPECT_TRUE(PtInRegion(region, r.Width() / 2, r.Height() / 2));

  ASSERT_TRUE(HoverShows(form->BTNSaveAll, L"保存全部图标 (Ctrl+Shift+S)"));
  // Off the tool bar's controls: the hint goes.
  POINT blank{450, 35};
  ClientToScreen(form->ksSkinPanel1->Handle(), &blank);
  SetCursorPos(blank.x, blank.y);
  EXPECT_TRUE(PumpUntil([&] { return !Window()->Showing(); }, 1500));
  EXPECT_TRUE(exceptions.empty());
}

TEST_F(SkinHintTest, EveryControlWithAHintHasItsHintShown) {
  // The PNG size box is enabled, and so takes the mouse, only for PNG pictures.
  form->CombPicType->SetItemIndex(3);
  struct Case {
    TControl* control;
    std::wstring text;
  };
  for (const Case& c : {Case{form->BTNSelFile, L"选择要提取的文件 (Ctrl+O)"}, Case{form->RB16, L"小图标"},
                        Case{form->RB32, L"大图标"}, Case{form->CombPicType, L"保存文件类型(图标ico/图片bmp/原图ico/PNG图片png)"},
                        Case{form->CombPngSize, L"PNG图片的尺寸(最大/固定尺寸/全部尺寸各存一个文件)"},
                        Case{form->BTNHelp, L"帮助 (F1)"}, Case{form->BtnUpdate, L"升级"},
                        Case{form->URLLabel4, form->URLLabel4->Hint()},
                        Case{form->ksSkinStatusPanel1, L"支持文件拖放，您可以把文件拖入本程序进行图标提取！"}}) {
    EXPECT_TRUE(HoverShows(c.control, c.text)) << c.control->Name();
  }
}

TEST_F(SkinHintTest, TheListViewsLongHintIsShownWhole) {
  const std::wstring text = L"支持文件拖放，您可以把文件拖入本程序进行图标提取！";
  // Narrow enough that the text needs several lines.
  Hints().HintWindow()->MaxTextWidth = 150;
  ASSERT_TRUE(HoverShows(form->ListView1, text));
  const Measured m = InSkinFont(text);
  const Rect r = WindowRect(Window()->Handle());
  const int lines = (r.Height() - 4) / m.line;
  EXPECT_EQ((r.Height() - 4) % m.line, 0);
  EXPECT_GE(lines, (m.text.cx + 149) / 150);
  EXPECT_LE(r.Width(), 150 + 4);
  // The skinned window grew both ways, never below the picture.
  EXPECT_GE(r.Width(), 40);
  EXPECT_GT(r.Height(), 20);
}

TEST_F(SkinHintTest, NearTheScreensCornerTheHintStaysWhollyOnTheScreen) {
  const Rect monitor = MonitorWorkAreaAt({0, 0});
  const Rect w = WindowRect(form->Handle());
  SetWindowPos(form->Handle(), nullptr, monitor.right - w.Width(), monitor.bottom - w.Height(), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Application().ProcessMessages();
  // The status panel's right end, a few pixels above the screen's bottom.
  TControl* panel = form->ksSkinStatusPanel1;
  const Point at{panel->Width() - 10, panel->Height() / 2};
  ASSERT_TRUE(HoverShows(panel, at, panel->Hint()));
  const Rect r = WindowRect(Window()->Handle());
  EXPECT_GE(r.left, monitor.left);
  EXPECT_LE(r.right, monitor.right);
  EXPECT_LE(r.bottom, monitor.bottom);
  POINT cursor{};
  GetCursorPos(&cursor);
  EXPECT_LT(r.right, cursor.x) << "moved to the left of the cursor";

}

TEST_F(SkinHintTest, WithoutASkinTheHintHasThePlainLook) {
  form->ksSkinHint1->SetSkinData(nullptr);
  ASSERT_TRUE(HoverShows(form->BTNSave, L"保存当前选中图标 (Ctrl+S)"));
  EXPECT_FALSE(Window()->Skinned());
  const Measured m = Measure(form->ksSkinHint1->DefaultFont(), L"保存当前选中图标 (Ctrl+S)");
  const Rect r = WindowRect(Window()->Handle());
  EXPECT_EQ(r.Width(), m.text.cx + 4);
  EXPECT_EQ(r.Height(), m.line + 4);
  RegionHandle region(CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(GetWindowRgn(Window()->Handle(), region), ERROR) << "no shape";
  const Image shot = PrintClient(Window()->Handle());
  const COLORREF info = GetSysColor(COLOR_INFOBK);
  EXPECT_EQ(shot.At(1, 1), Pixel(GetRValue(info) << 16 | GetGValue(info) << 8 | GetBValue(info)));
}

TEST_F(SkinHintTest, ActivatingAnotherHintComponentDeactivatesTheFirst) {
  auto* second = new TksSkinHint(form, "second");
  second->SetActive(true);
  EXPECT_FALSE(form->ksSkinHint1->Active());
  EXPECT_EQ(TksSkinHint::Serving(), second);
  // The second has no skin: the window follows it and looks plain.
  ASSERT_TRUE(HoverShows(form->BTNSave, L"保存当前选中图标 (Ctrl+S)"));
  EXPECT_FALSE(Window()->Skinned());
  delete second;
  // No active one left: nothing shows.
  EXPECT_EQ(TksSkinHint::Serving(), nullptr);
  Window()->ActivateHint(RectOfSize(300, 300, 0, 0), L"x");
  EXPECT_FALSE(Window()->Showing());
  form->ksSkinHint1->SetActive(true);
  Window()->ActivateHint(RectOfSize(300, 300, 0, 0), L"x");
  EXPECT_TRUE(Window()->Showing());
  EXPECT_TRUE(Window()->Skinned());
}

TEST_F(SkinHintTest, TransparencyMakesTheWindowLayeredAndSwitchingItOffRemovesIt) {
  if (!LayeredWindowsAvailable()) GTEST_SKIP() << "no layered windows";
  TksSkinHint* hint = form->ksSkinHint1;
  hint->AlphaBlend = true;
  hint->AlphaBlendValue = 200;
  Window()->ActivateHint(RectOfSize(300, 300, 0, 0), L"半透明");
  HWND hwnd = Window()->Handle();
  EXPECT_TRUE(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED);
  BYTE alpha = 0;
  DWORD flags = 0;
  if (GetLayeredWindowAttributes(hwnd, nullptr, &alpha, &flags)) {
    EXPECT_EQ(alpha, 200);
  }
  hint->AlphaBlend = false;
  Window()->ActivateHint(RectOfSize(300, 300, 0, 0), L"不透明");
  EXPECT_FALSE(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED);
}

TEST_F(SkinHintTest, ObjectHintsShowAfterThePauseAndTheFramesClosingCheckHidesThem) {
  TksSkinHint* hint = form->ksSkinHint1;
  THintWindow& own = hint->ObjectHintWindow();
  hint->ShowObjectHint(L"关闭");
  Application().ProcessMessages();
  EXPECT_FALSE(own.Showing());
  ASSERT_TRUE(PumpUntil([&] { return own.Showing(); }, 3000));
  EXPECT_EQ(own.Text(), L"关闭");
  hint->HideObjectHint();
  EXPECT_FALSE(own.Showing());

  form->ksSkinForm1->ShowObjectHint = true;
  hint->ShowObjectHint(L"关闭");
  ASSERT_TRUE(PumpUntil([&] { return own.Showing(); }, 3000));
  SendMessageW(form->Handle(), WM_CANCELMODE, 0, 0);
  EXPECT_FALSE(own.Showing());
}

TEST_F(SkinHintTest, ACaptionButtonUnderTheCursorShowsItsHintWhenTheFormAsks) {
  TksSkinForm* frame = form->ksSkinForm1;
  frame->ShowObjectHint = true;
  frame->UseDefaultObjectHint = true;
  frame->ApplySkin();
  SetForegroundWindow(form->Handle());
  Application().ProcessMessages();
  const TksActiveSkinObject* close = nullptr;
  for (const auto& o : frame->FrameObjects())
    if (o->IDName == "closebutton") close = o.get();
  ASSERT_NE(close, nullptr);
  const Rect w = WindowRect(form->Handle());
  THintWindow& own = form->ksSkinHint1->ObjectHintWindow();
  SetCursorPos(w.left + (close->ObjectRect.left + close->ObjectRect.right) / 2,
               w.top + (close->ObjectRect.top + close->ObjectRect.bottom) / 2);
  ASSERT_TRUE(PumpUntil([&] { return own.Showing(); }, 3000));
  EXPECT_EQ(own.Text(), L"关闭");
  // Off the button (into the client area): the hint goes.
  SetCursorPos(w.left + 300, w.top + 200);
  EXPECT_TRUE(PumpUntil([&] { return !own.Showing(); }, 1500));
}

TEST_F(SkinHintTest, DefaultObjectHintsComeFromTheBuiltInTexts) {
  form->ksSkinForm1->UseDefaultObjectHint = true;
  form->ksSkinForm1->ApplySkin();
  std::map<std::string, std::wstring> hints;
  for (const auto& o : form->ksSkinForm1->FrameObjects())
    if (o->IsButton()) hints[o->IDName] = WideFromCp936(o->HintText);
  EXPECT_EQ(hints["closebutton"], L"关闭");
  EXPECT_EQ(hints["minimizebutton"], L"最小化");
  EXPECT_EQ(hints["maximizebutton"], L"最大化");
  EXPECT_EQ(hints["sysmenubutton"], L"系统菜单");
}

}  // namespace
}  // namespace kelmar::test
