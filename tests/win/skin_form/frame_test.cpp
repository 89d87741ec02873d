// The skinned frame of the real main window and of test forms: what the
// window looks like (its frame painted into a bitmap through WM_PRINT,
// compared with the skin's pictures), its shape, its client area, and how it
// follows activation, captions and skin changes.
#include <windows.h>

#include <string>
#include <vector>

#include "framework/graphics.h"
#include "skin/form/skin_form_win32.h"
#include "win/app/app_fixture.h"

namespace kelmar::test {
namespace {

constexpr Pixel kRgb = 0xFFFFFF;

// The window's frame as the window paints it, at the window's size.
Image PrintFrame(HWND hwnd) {
  RECT rc;
  GetWindowRect(hwnd, &rc);
  TBitmap bitmap(rc.right - rc.left, rc.bottom - rc.top);
  bitmap.Pixels().Fill(0);
  SendMessageW(hwnd, WM_PRINT, reinterpret_cast<WPARAM>(bitmap.Dc()), PRF_NONCLIENT);
  const ImageView p = bitmap.Pixels();
  Image image(p.Width(), p.Height());
  for (int y = 0; y < p.Height(); ++y)
    for (int x = 0; x < p.Width(); ++x) image.At(x, y) = p.At(x, y) & kRgb;
  return image;
}

Rect Insets(HWND hwnd) {
  RECT window, client;
  GetWindowRect(hwnd, &window);
  GetClientRect(hwnd, &client);
  MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
  return {client.left - window.left, client.top - window.top, window.right - client.right,
          window.bottom - client.bottom};
}

// Another window of this thread takes the activation.
class OtherWindow {
 public:
  OtherWindow()
      : hwnd_(CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr)) {
    SetActiveWindow(hwnd_);
  }
  ~OtherWindow() { DestroyWindow(hwnd_); }

 private:
  HWND hwnd_;
};

class FrameTest : public FormTest {
 protected:
  HWND Window() const { return form->Handle(); }
  TksSkinData& Skin() const { return form->ksSkinData1->Skin(); }
  void Resize(int w, int h) {
    SetWindowPos(Window(), nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Application().ProcessMessages();
  }
  void Activate() {
    SetActiveWindow(Window());
    Application().ProcessMessages();
  }
  // Whether (x, y) lies in one of the frame objects' rectangles.
  bool OnObject(int x, int y) const {
    for (const auto& o : form->ksSkinForm1->FrameObjects())
      if (o->IsVisible && o->ObjectRect.Contains({x, y})) return true;
    return false;
  }
  const TksActiveSkinObject* Object(const char* name) const {
    for (const auto& o : form->ksSkinForm1->FrameObjects())
      if (o->IDName == name) return o.get();
    return nullptr;
  }
};

TEST_F(FrameTest, TheMainWindowHasTheSkinnedFrameAndNoSystemCaption) {
  EXPECT_TRUE(form->ksSkinForm1->SkinApplied());
  EXPECT_EQ(form->ksSkinForm1->SkinData(), form->ksSkinData1);
  EXPECT_EQ(Insets(Window()), (Rect{8, 28, 8, 8}));
  const LONG_PTR style = GetWindowLongPtrW(Window(), GWL_STYLE);
  EXPECT_EQ(style & WS_CAPTION, 0);
  EXPECT_EQ(style & WS_SYSMENU, 0);
  EXPECT_NE(style & WS_THICKFRAME, 0);
  RECT rc;
  GetWindowRect(Window(), &rc);
  EXPECT_GE(rc.right - rc.left, 704);
  EXPECT_GE(form->ClientWidth(), 688);
  // The system keeps the frame's limits: no narrower than the picture.
  Resize(300, 200);
  GetWindowRect(Window(), &rc);
  EXPECT_EQ(rc.right - rc.left, 704);
  EXPECT_EQ(rc.bottom - rc.top, 200);
  // Five objects: the caption and four buttons (the menu item record makes none).
  std::vector<std::string> names;
  for (const auto& o : form->ksSkinForm1->FrameObjects()) names.push_back(o->IDName);
  EXPECT_EQ(names, (std::vector<std::string>{"caption", "closebutton", "minimizebutton", "maximizebutton",
                                             "sysmenubutton"}));
  EXPECT_TRUE(exceptions.empty());
}

TEST_F(FrameTest, TheShapeComesFromTheMask) {
  Resize(800, 500);
  RegionHandle region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(Window(), region), ERROR);
  const Image& mask = Skin().Mask;
  ASSERT_EQ(mask.Width(), 704);
  // The rounded top corners: each pixel of the mask's corner pieces says
  // whether the window has that pixel (black: inside), the right one moved
  // by the extra width.
  int outside = 0;
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const bool leftIn = (mask.At(x, y) & kRgb) == 0;
      const bool rightIn = (mask.At(703 - x, y) & kRgb) == 0;
      EXPECT_EQ(PtInRegion(region, x, y) != 0, leftIn) << x << "," << y;
      EXPECT_EQ(PtInRegion(region, 799 - x, y) != 0, rightIn) << x << "," << y;
      outside += !leftIn;
    }
  }
  EXPECT_GT(outside, 0);  // the corner is rounded at all
  EXPECT_TRUE(PtInRegion(region, 400, 100));
  EXPECT_TRUE(PtInRegion(region, 400, 10));
  EXPECT_EQ(PtInRegion(region, 799, 499) != 0, (mask.At(703, 291) & kRgb) == 0);
}

// Sized while hidden, the window takes the shape of its last size when it
// is shown again.
TEST_F(FrameTest, AWindowSizedWhileHiddenIsShownInTheShapeOfItsLastSize) {
  ShowWindow(Window(), SW_HIDE);
  Resize(900, 600);
  Resize(760, 480);
  ShowWindow(Window(), SW_SHOWNOACTIVATE);
  Application().ProcessMessages();
  RegionHandle region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(Window(), region), ERROR);
  RECT box{};
  GetRgnBox(region, &box);
  EXPECT_EQ(box.right, 760);
  EXPECT_EQ(box.bottom, 480);
  const Image& mask = Skin().Mask;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      EXPECT_EQ(PtInRegion(region, 759 - x, y) != 0, (mask.At(703 - x, y) & kRgb) == 0) << x << "," << y;
}

// At the picture's own size nothing stretches: the frame is the picture,
// but for the objects drawn on it.
TEST_F(FrameTest, AtThePicturesSizeTheFrameIsThePicture) {
  Activate();
  ASSERT_TRUE(form->ksSkinForm1->IsActive());
  Resize(704, 292);
  const Image frame = PrintFrame(Window());
  const Image& picture = Skin().Picture;
  const Rect client = Skin().clientrect;
  int compared = 0, differing = 0;
  for (int y = 0; y < 292; ++y) {
    for (int x = 0; x < 704; ++x) {
      if (client.Contains({x, y}) || OnObject(x, y)) continue;
      ++compared;
      differing += frame.At(x, y) != (picture.At(x, y) & kRgb);
    }
  }
  EXPECT_GT(compared, 10000);
  EXPECT_EQ(differing, 0);

  // Wider and higher: the four corners are still the picture's corners.
  Resize(1000, 600);
  const Image large = PrintFrame(Window());
  differing = 0;
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      differing += large.At(x, 592 + y) != (picture.At(x, 284 + y) & kRgb);
      differing += large.At(992 + x, 592 + y) != (picture.At(696 + x, 284 + y) & kRgb);
      differing += large.At(992 + x, 20 + y) != (picture.At(696 + x, 20 + y) & kRgb);
    }
  }
  EXPECT_EQ(differing, 0);
}

TEST_F(FrameTest, CaptionButtonsShowTheirStateImages) {
  Activate();
  Resize(704, 400);
  const Image& buttons = Skin().ActivePictures.at(0);
  auto* close = const_cast<TksActiveSkinObject*>(Object("closebutton"));
  ASSERT_NE(close, nullptr);
  EXPECT_EQ(close->ObjectRect, (Rect{654, 1, 697, 18}));
  // The close button's rows in its picture: normal 0, hot 17, pressed 34.
  auto matches = [&](int row) {
    const Image frame = PrintFrame(Window());
    for (int y = 0; y < 17; ++y)
      for (int x = 0; x < 43; ++x)
        if (frame.At(654 + x, 1 + y) != (buttons.At(x, row + y) & kRgb)) return false;
    return true;
  };
  EXPECT_TRUE(matches(0));
  close->Highlighted = close->MouseOver = true;
  close->MorphFactor = 1;  // the fade has ended
  EXPECT_TRUE(matches(17));
  static_cast<TksSkinButtonObject*>(close)->Pressed = true;
  EXPECT_TRUE(matches(34));
  static_cast<TksSkinButtonObject*>(close)->Pressed = false;
  close->Highlighted = close->MouseOver = false;
  close->MorphFactor = 0;
  EXPECT_TRUE(matches(0));
  // Inactive: the inactive row (51) for every button.
  OtherWindow other;
  Application().ProcessMessages();
  EXPECT_FALSE(form->ksSkinForm1->IsActive());
  EXPECT_TRUE(matches(51));
}

TEST_F(FrameTest, AnInactiveWindowShowsTheInactivePicture) {
  Activate();
  Resize(704, 292);
  const Image& active = Skin().Picture;
  const Image& inactive = Skin().InactivePicture;
  ASSERT_FALSE(inactive.IsEmpty());
  // Frame pixels (no object on them) where the two pictures differ.
  std::vector<Point> probes;
  for (int y = 0; y < 292 && probes.size() < 200; y += 3)
    for (int x = 0; x < 704 && probes.size() < 200; x += 5)
      if (!Skin().clientrect.Contains({x, y}) && !OnObject(x, y) &&
          (active.At(x, y) & kRgb) != (inactive.At(x, y) & kRgb))
        probes.push_back({x, y});
  ASSERT_GT(probes.size(), 20u);
  auto shows = [&](const Image& picture) {
    const Image frame = PrintFrame(Window());
    for (Point p : probes)
      if (frame.At(p.x, p.y) != (picture.At(p.x, p.y) & kRgb)) return false;
    return true;
  };
  EXPECT_TRUE(shows(active));
  {
    OtherWindow other;
    Application().ProcessMessages();
    EXPECT_TRUE(shows(inactive));
    Activate();
    EXPECT_TRUE(shows(active));
  }
}

TEST_F(FrameTest, ANewCaptionRepaintsTheFrame) {
  Activate();
  Resize(704, 400);
  int ncPaints = 0;
  TWindowFilter counter = form->AddFilter([&](TMessage& m, const TWindowNext& next) {
    if (m.Msg == WM_NCPAINT) ++ncPaints;
    next(m);
  });
  const Image before = PrintFrame(Window());
  form->SetCaption(L"新的标题");
  EXPECT_GE(ncPaints, 1);
  counter.Reset();
  const Image after = PrintFrame(Window());
  // The caption's band changed, nothing else of the frame did.
  int inCaption = 0, elsewhere = 0;
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 704; ++x)
      if (before.At(x, y) != after.At(x, y)) (Rect{23, 1, 604, 25}.Contains({x, y}) ? inCaption : elsewhere)++;
  EXPECT_GT(inCaption, 50);
  EXPECT_EQ(elsewhere, 0);
  const auto* caption = static_cast<const TksSkinCaptionObject*>(Object("caption"));
  EXPECT_EQ(caption->CaptionText, L"新的标题");
}

TEST_F(FrameTest, SkinMessagesForOtherSkinDataLeaveTheFrame) {
  std::vector<const TksActiveSkinObject*> before;
  for (const auto& o : form->ksSkinForm1->FrameObjects()) before.push_back(o.get());
  TksSkinData other;
  SendMessageW(Window(), SKIN_MSG_BEFORE_CHANGE, reinterpret_cast<WPARAM>(&other), 1000);
  SendMessageW(Window(), SKIN_MSG_CHANGE, reinterpret_cast<WPARAM>(&other), 1000);
  std::vector<const TksActiveSkinObject*> after;
  for (const auto& o : form->ksSkinForm1->FrameObjects()) after.push_back(o.get());
  EXPECT_EQ(after, before);
  EXPECT_TRUE(form->ksSkinForm1->SkinApplied());

  // Its own: the objects go before the change and come back after it.
  const auto own = reinterpret_cast<WPARAM>(&Skin());
  SendMessageW(Window(), SKIN_MSG_BEFORE_CHANGE, own, 1000);
  EXPECT_FALSE(form->ksSkinForm1->SkinApplied());
  EXPECT_TRUE(form->ksSkinForm1->FrameObjects().empty());
  SendMessageW(Window(), SKIN_MSG_CHANGE, own, 1000);
  EXPECT_TRUE(form->ksSkinForm1->SkinApplied());
  EXPECT_EQ(form->ksSkinForm1->FrameObjects().size(), 5u);
}

// A control that takes part in skin changes, recording what it is told.
class ChangeRecorder : public TWinControl, public TksSkinChangeTarget {
 public:
  ChangeRecorder(TComponent* owner, std::string name, TksSkinData* data, std::vector<std::string>& log)
      : TWinControl(owner, std::move(name)), data_(data), log_(log) {}
  TksSkinData* SkinDataForChange() const override { return data_; }
  void PrepareSkinChange() override { log_.push_back("prepare " + Name()); }
  void ApplySkinChange() override { log_.push_back("apply " + Name()); }

 private:
  TksSkinData* data_;
  std::vector<std::string>& log_;
};

TEST_F(FrameTest, SkinChangesReachTheControlsOfThatSkinDepthFirst) {
  std::vector<std::string> log;
  TksSkinData other;
  // Outer holds inner; outer and late use this form's skin, stranger another.
  auto* outer = new ChangeRecorder(form, "outer", &Skin(), log);
  outer->SetParent(form->ksSkinPanel1);
  auto* inner = new ChangeRecorder(form, "inner", &Skin(), log);
  inner->SetParent(outer);
  auto* stranger = new ChangeRecorder(form, "stranger", &other, log);
  stranger->SetParent(form);
  auto* late = new ChangeRecorder(form, "late", &Skin(), log);
  late->SetParent(form);
  const auto own = reinterpret_cast<WPARAM>(&Skin());
  SendMessageW(Window(), SKIN_MSG_BEFORE_CHANGE, own, 1000);
  SendMessageW(Window(), SKIN_MSG_CHANGE, own, 1000);
  EXPECT_EQ(log, (std::vector<std::string>{"prepare outer", "prepare inner", "prepare late", "apply outer",
                                           "apply inner", "apply late"}));
  // Another skin's change reaches its own controls only; a null one all.
  log.clear();
  SendMessageW(Window(), SKIN_MSG_CHANGE, reinterpret_cast<WPARAM>(&other), 1000);
  EXPECT_EQ(log, (std::vector<std::string>{"apply stranger"}));
  log.clear();
  SendMessageW(Window(), SKIN_MSG_CHANGE, 0, 1000);
  EXPECT_EQ(log.size(), 4u);
  delete late;
  delete stranger;
  delete inner;
  delete outer;
}

class BareForm : public TForm {
 public:
  explicit BareForm(bool tool = false) : TForm(nullptr, "Bare"), tool_(tool) {
    SetCaption(L"Plain");
    SetBounds(50, 50, 300, 200);
    CreateHandle();
  }

 protected:
  void CreateParams(TCreateParams& params) override {
    TForm::CreateParams(params);
    if (tool_) params.ExStyle |= WS_EX_TOOLWINDOW;
  }

 private:
  bool tool_;
};

TEST(PlainFrame, WithoutSkinDataTheFrameIsThreePixelsAndACaption) {
  for (bool tool : {false, true}) {
    SCOPED_TRACE(tool);
    BareForm form(tool);
    ShowWindow(form.Handle(), SW_SHOW);
    auto* frame = new TksSkinForm(&form, "frame");
    EXPECT_FALSE(frame->SkinApplied());
    EXPECT_EQ(Insets(form.Handle()), (Rect{3, tool ? 18 : 22, 3, 3}));
    EXPECT_EQ(GetWindowLongPtrW(form.Handle(), GWL_STYLE) & WS_CAPTION, 0);
    const Image image = PrintFrame(form.Handle());
    // The rings: light outside, then highlight, then face; dark at the far sides.
    auto sys = [](int index) {
      const COLORREF c = GetSysColor(index);
      return MakePixel(GetRValue(c), GetGValue(c), GetBValue(c)) & kRgb;
    };
    EXPECT_EQ(image.At(0, 100), sys(COLOR_3DLIGHT));
    EXPECT_EQ(image.At(1, 100), sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(image.At(2, 100), sys(COLOR_BTNFACE));
    EXPECT_EQ(image.At(299, 100), sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(image.At(298, 100), sys(COLOR_BTNSHADOW));
    // Six plain buttons; the tray button is switched off by the border icons.
    ASSERT_EQ(frame->FrameObjects().size(), 6u);
    const int size = tool ? 13 : 17;
    EXPECT_EQ(frame->FrameObjects()[0]->ObjectRect, (Rect{297 - size, 4, 297, 4 + size}));
    EXPECT_FALSE(frame->FrameObjects()[5]->IsVisible);
    delete frame;
  }
}

TEST(Attachment, TheWindowAndWhatItHoldsSurvive) {
  BareForm form;
  DragAcceptFiles(form.Handle(), TRUE);
  HWND before = form.Handle();
  auto* child = new TWinControl(&form, "child");
  child->SetBounds(0, 0, 40, 40);
  child->SetParent(&form);
  auto* frame = new TksSkinForm(&form, "frame");
  EXPECT_EQ(form.Handle(), before);
  EXPECT_TRUE(IsWindow(child->Handle()));
  EXPECT_EQ(GetParent(child->Handle()), before);
  EXPECT_NE(GetWindowLongPtrW(before, GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
  delete frame;
}

TEST(Attachment, AnOwnerThatIsNoFormIsRefused) {
  TComponent owner(nullptr, "owner");
  try {
    TksSkinForm frame(&owner, "frame");
    FAIL() << "made on a component that is no form";
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "Invalid type cast");
  }
}

}  // namespace
}  // namespace kelmar::test
