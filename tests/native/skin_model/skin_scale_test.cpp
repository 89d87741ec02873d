// The skin at other DPIs: scaled numbers worked out by hand (round(n × dpi /
// 96), halves up), pictures of solid pieces whose scaled places are known.
#include "skin/data/skin_scale.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "base/bmp.h"
#include "skin/data/compressed_stored_skin.h"
#include "skin/data/skin_data.h"

namespace kelmar {
namespace {

void PutWord(std::vector<uint8_t>& b, int32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(uint8_t(uint32_t(v) >> (8 * i)));
}

// A version-3 package of 24-bit pictures: frame picture and mask (none where
// empty), the active pictures, the description.
struct PackageParts {
  Image picture, mask;
  std::vector<Image> active;
  std::string description;

  TksCompressedStoredSkin Build() const {
    std::vector<uint8_t> p;
    PutWord(p, 3);
    for (const Image* slot : {&picture, static_cast<const Image*>(nullptr), &mask}) {
      p.push_back(slot && !slot->IsEmpty() ? 0 : 1);
      if (slot && !slot->IsEmpty()) {
        const std::vector<uint8_t> bmp = EncodeBmp(slot->View(), 24);
        p.insert(p.end(), bmp.begin(), bmp.end());
      }
    }
    PutWord(p, int32_t(active.size()));
    for (const Image& a : active) {
      const std::vector<uint8_t> bmp = EncodeBmp(a.View(), 24);
      p.insert(p.end(), bmp.begin(), bmp.end());
    }
    p.insert(p.end(), description.begin(), description.end());
    TksCompressedStoredSkin skin;
    skin.DeflatePackage(p);
    return skin;
  }
};

constexpr Pixel kRed = MakePixel(255, 0, 0), kBlue = MakePixel(0, 0, 255), kGreen = MakePixel(0, 255, 0),
                kYellow = MakePixel(255, 255, 0), kBlack = MakePixel(0, 0, 0), kWhite = MakePixel(255, 255, 255),
                kMagenta = MakePixel(255, 0, 255);

void FillRect(Image& image, const Rect& r, Pixel p) { image.View().Sub(r).Fill(p); }

// Every pixel of r in image is p.
::testing::AssertionResult Solid(const Image& image, const Rect& r, Pixel p) {
  if (r.right > image.Width() || r.bottom > image.Height()) return ::testing::AssertionFailure() << "outside";
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (image.At(x, y) != p)
        return ::testing::AssertionFailure() << "pixel " << x << "," << y << " is " << std::hex << image.At(x, y);
  return ::testing::AssertionSuccess();
}

// ------------------------------------------------------------------ steps

TEST(SkinScale, AxisStepsPutPieceEdgesAtTheirScaledPlaces) {
  const std::vector<GridLine> edges{{30, 0}, {60, 0}, {90, 0}};
  EXPECT_EQ(GridAxisSteps(edges, 120, 96, 144),
            (std::vector<AxisStep>{{0, 0}, {30, 45}, {60, 90}, {90, 135}, {120, 180}}));
  // 37.5 and 112.5 go up.
  EXPECT_EQ(GridAxisSteps(edges, 120, 96, 120),
            (std::vector<AxisStep>{{0, 0}, {30, 38}, {60, 75}, {90, 113}, {120, 150}}));
  // From a drawing at 192 (every place doubled) down to 144.
  EXPECT_EQ(GridAxisSteps(edges, 120, 192, 144),
            (std::vector<AxisStep>{{0, 0}, {60, 45}, {120, 90}, {180, 135}, {240, 180}}));
}

TEST(SkinScale, AxisStepsPlacePointsInsidePiecesAsTheScaledRecordsDo) {
  // A corner 3 into the piece at 30: 38 + 4 at 120, where 33 alone gives 41.
  const std::vector<GridLine> lines{{30, 0}, {60, 0}, {30, 3}, {60, -3}};
  EXPECT_EQ(GridAxisSteps(lines, 60, 96, 120),
            (std::vector<AxisStep>{{0, 0}, {30, 38}, {33, 42}, {57, 71}, {60, 75}}));
  // A point on a piece's edge is the edge.
  EXPECT_EQ(GridAxisSteps(std::vector<GridLine>{{10, 0}, {7, 3}}, 20, 96, 120),
            (std::vector<AxisStep>{{0, 0}, {10, 13}, {20, 25}}));
}

TEST(SkinScale, AxisOfAPictureTooSmallForItsPiecesIsOneCell) {
  EXPECT_EQ(GridAxisSteps(std::vector<GridLine>{{10, 0}, {50, 0}}, 40, 96, 144),
            (std::vector<AxisStep>{{0, 0}, {40, 60}}));
  EXPECT_EQ(GridAxisSteps(std::vector<GridLine>{{10, 0}, {30, 20}}, 40, 96, 144),
            (std::vector<AxisStep>{{0, 0}, {40, 60}}));
  EXPECT_EQ(GridAxisSteps(std::vector<GridLine>{{10, -11}}, 40, 96, 144), (std::vector<AxisStep>{{0, 0}, {40, 60}}));
}

TEST(SkinScale, ChoosesTheSmallestDrawingAtOrAboveTheDpiElseTheLargest) {
  const std::vector<int> dpis{96, 144, 192};
  EXPECT_EQ(ChooseDrawing(dpis, 96), 0);
  EXPECT_EQ(ChooseDrawing(dpis, 72), 0);
  EXPECT_EQ(ChooseDrawing(dpis, 120), 1);
  EXPECT_EQ(ChooseDrawing(dpis, 144), 1);
  EXPECT_EQ(ChooseDrawing(dpis, 168), 2);
  EXPECT_EQ(ChooseDrawing(dpis, 288), 2);
  EXPECT_EQ(ChooseDrawing(std::vector<int>{192, 96, 144}, 120), 2);
  EXPECT_EQ(ChooseDrawing(std::vector<int>{96, -1}, 240), 0);
  EXPECT_EQ(ChooseDrawing(std::vector<int>{96, 144, 144}, 144), 1);
  EXPECT_EQ(ChooseDrawing(std::vector<int>{}, 144), -1);
}

// --------------------------------------------------------------- pictures

TEST(SkinScale, PiecesKeepTheirOwnPixels) {
  // Red 0..3 and blue 3..5 across, green over yellow (rows 0..1, 1..2) down.
  Image source(5, 2);
  FillRect(source, {0, 0, 3, 1}, kRed);
  FillRect(source, {3, 0, 5, 1}, kBlue);
  FillRect(source, {0, 1, 5, 2}, kGreen);
  PictureGrid grid;
  grid.AddRect({0, 0, 3, 1});
  grid.AddRect({3, 0, 5, 1});
  grid.AddRect({0, 1, 5, 2});
  const Image out = ScaleSkinPicture(source, 96, {5, 2}, grid, 144, false);
  ASSERT_EQ(out.Width(), 8);   // 7.5
  ASSERT_EQ(out.Height(), 3);  // 1.5 + 1.5, each row its own 1.5 → 2 and 3
  EXPECT_TRUE(Solid(out, {0, 0, 5, 2}, kRed));
  EXPECT_TRUE(Solid(out, {5, 0, 8, 2}, kBlue));
  EXPECT_TRUE(Solid(out, {0, 2, 8, 3}, kGreen));

  // Without the grid the same picture blends where the colours meet.
  const Image whole = ScaleSkinPicture(source, 96, {5, 2}, PictureGrid{}, 144, false);
  EXPECT_FALSE(Solid(whole, {0, 0, 5, 2}, kRed));
}

TEST(SkinScale, InsideACellPixelsAreAreaAverages) {
  // Black and white halves to three pixels: the middle one covers both.
  Image source(2, 1);
  source.At(0, 0) = kBlack;
  source.At(1, 0) = kWhite;
  const Image out = ScaleSkinPicture(source, 96, {2, 1}, PictureGrid{}, 144, false);
  ASSERT_EQ(out.Width(), 3);
  EXPECT_EQ(out.At(0, 0), kBlack);
  EXPECT_NEAR(PixelR(out.At(1, 0)), 127.5, 1);
  EXPECT_EQ(out.At(2, 0), kWhite);
  // Doubling repeats each pixel.
  const Image twice = ScaleSkinPicture(source, 96, {2, 1}, PictureGrid{}, 192, false);
  EXPECT_TRUE(Solid(twice, {0, 0, 2, 2}, kBlack));
  EXPECT_TRUE(Solid(twice, {2, 0, 4, 2}, kWhite));
  // Halving a 2 × 2 checker gives its mean grey.
  Image checker(2, 2, kBlack);
  checker.At(1, 0) = checker.At(0, 1) = kWhite;
  const Image half = ScaleSkinPicture(checker, 96, {2, 2}, PictureGrid{}, 48, false);
  ASSERT_EQ(half.Width(), 1);
  EXPECT_NEAR(PixelG(half.At(0, 0)), 127.5, 1);
}

TEST(SkinScale, MasksStayTwoColouredWithTheirPiecesInPlace) {
  // Black 0..3, magenta (cut away) 3..5; each at 120 and 144.
  Image mask(5, 3, kMagenta);
  FillRect(mask, {0, 0, 3, 3}, kBlack);
  mask.At(1, 1) = kWhite;  // a one-pixel hole
  PictureGrid grid;
  grid.AddRect({0, 0, 3, 3});
  for (int dpi : {120, 144, 168}) {
    const Image out = ScaleSkinPicture(mask, 96, {5, 3}, grid, dpi, true);
    std::set<Pixel> colours;
    for (int y = 0; y < out.Height(); ++y)
      for (int x = 0; x < out.Width(); ++x) colours.insert(out.At(x, y));
    EXPECT_EQ(colours, (std::set<Pixel>{kBlack, kWhite})) << dpi;
    const int edge = ScaleLength(3, dpi);
    EXPECT_TRUE(Solid(out, {0, 0, edge, 1}, kBlack)) << dpi;
    EXPECT_TRUE(Solid(out, {edge, 0, out.Width(), out.Height()}, kWhite)) << dpi;
  }
  // Doubled, the hole is two by two.
  const Image twice = ScaleSkinPicture(mask, 96, {5, 3}, grid, 192, true);
  EXPECT_TRUE(Solid(twice, {2, 2, 4, 4}, kWhite));
  EXPECT_TRUE(Solid(twice, {0, 0, 6, 2}, kBlack));
  EXPECT_TRUE(Solid(twice, {0, 4, 6, 6}, kBlack));
}

std::set<Pixel> Colours(const Image& image, const Rect& r) {
  std::set<Pixel> colours;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) colours.insert(image.At(x, y));
  return colours;
}

TEST(SkinScale, KeyedPiecesMixNoKeyIntoTheirColours) {
  // Two check marks keyed on their bottom-left pixel (magenta) and a thumb
  // keyed on the record's colour (green); each a 2 × 2 dark square on its key.
  const char* description =
      "[PICTURES]\r\nactivepicturescount=1\r\n0=c.bmp\r\n"
      "[SKINCONTROLS]\r\ncount=2\r\n0=checkbox:checkradio\r\n1=vscrollbar:scrollbar\r\n"
      "[checkbox]\r\npictureindex=0\r\nskinrect=0,6,18,7\r\ncheckimagerect=0,0,6,6\r\n"
      "uncheckimagerect=6,0,12,6\r\n"
      "[vscrollbar]\r\npictureindex=0\r\nskinrect=0,6,18,7\r\nthumbrect=12,0,18,6\r\n"
      "thumbtransparent=1\r\nthumbtransparentcolor=65280\r\n";
  const Pixel dark = MakePixel(40, 20, 10);
  Image picture(18, 7, kWhite);
  FillRect(picture, {0, 0, 12, 6}, kMagenta);
  FillRect(picture, {12, 0, 18, 6}, kGreen);
  for (int x : {1, 7, 13}) FillRect(picture, {x, 3, x + 3, 5}, dark);
  PackageParts parts;
  parts.active = {picture};
  parts.description = description;
  TksSkinData skin;
  skin.Dpi = 144;
  skin.LoadCompressedSkin(parts.Build());
  const Image& out = skin.ActivePictures[0];
  ASSERT_EQ(out.Width(), 27);
  const auto* box = FindControlRecord<TksDataSkinCheckRadioControl>(skin, "checkbox");
  const auto* bar = FindControlRecord<TksDataSkinScrollBarControl>(skin, "vscrollbar");
  ASSERT_TRUE(box && bar);
  EXPECT_EQ(Colours(out, box->checkimagerect), (std::set<Pixel>{kMagenta, dark}));
  EXPECT_EQ(Colours(out, box->uncheckimagerect), (std::set<Pixel>{kMagenta, dark}));
  EXPECT_EQ(Colours(out, bar->thumbrect), (std::set<Pixel>{kGreen, dark}));
  EXPECT_EQ(out.At(box->uncheckimagerect.left, box->uncheckimagerect.bottom - 1), kMagenta);
  // 1.5 × the 3-pixel squares: the middle 2 of their 4.5 pixels are wholly dark.
  EXPECT_TRUE(Solid(out, {ScaleLength(7, 144) + 1, 5, ScaleLength(10, 144) - 1, 7}, dark));
}

TEST(SkinScale, APictureTooSmallForItsPiecesIsScaledWhole) {
  const Image source(4, 4, kGreen);
  PictureGrid grid;
  grid.AddRect({1, 1, 10, 10});  // reaches past the picture
  grid.AddPoint({1, 1}, {2, 2});
  for (int dpi : {120, 144, 192}) {
    const Image out = ScaleSkinPicture(source.View(), 96, {4, 4}, grid, dpi, false);
    EXPECT_EQ(out.Width(), ScaleLength(4, dpi));
    EXPECT_TRUE(Solid(out, out.Bounds(), kGreen)) << dpi;  // no gap
  }
  // A drawing not of the size its DPI gives: scaled whole as well.
  const Image wrong(7, 7, kBlue);
  const Image out = ScaleSkinPicture(wrong.View(), 192, {4, 4}, grid, 144, false);
  EXPECT_EQ(out.Width(), 6);
  EXPECT_TRUE(Solid(out, out.Bounds(), kBlue));
}

// ------------------------------------------------------------- the skin

// A frame 40 × 30 (8 around, 20 on top; the mask cuts the top corners), a
// button of four 30 × 10 state pieces side by side with a corner 3 into
// each, its mask, and a popup window with a menu item.
const char* kScaledDescription =
    "[VERSION]\r\nskinname=scaled\r\n"
    "[PICTURES]\r\npicture=f.bmp\r\nmask=m.bmp\r\nactivepicturescount=3\r\n0=b.bmp\r\n1=bm.bmp\r\n2=p.bmp\r\n"
    "[FORMINFO]\r\nlefttoppoint=8,20\r\nrighttoppoint=32,20\r\nleftbottompoint=8,22\r\n"
    "rightbottompoint=32,22\r\nclientrect=8,20,32,22\r\ncaptionrect=1,1,39,19\r\nborderwidth=3\r\n"
    "buttonsoffset=5\r\ncursorindex=2\r\nbgpictureindex=1\r\n"
    "[POPUPWINDOW]\r\nwindowpictureindex=2\r\nlefttoppoint=3,3\r\nrighttoppoint=17,3\r\n"
    "leftbottompoint=3,7\r\nrightbottompoint=17,7\r\nitemsrect=2,2,18,8\r\nscrollmarkercolor=12345\r\n"
    "[SKINAREAS]\r\ncount=1\r\n0=area:1,2,3,5\r\n"
    "[SKINOBJECTS]\r\ncount=2\r\n0=menuitem:menuitem\r\n1=caption:caption\r\n"
    "[menuitem]\r\nactivepictureindex=2\r\nskinrect=0,10,20,13\r\nitemleftoffset=5\r\nitemrightoffset=3\r\n"
    "fontheight=13\r\n"
    "[caption]\r\nskinrect=1,1,39,19\r\ntextrect=2,1,30,17\r\nframeleftoffset=3\r\nfontheight=14\r\n"
    "[SKINCONTROLS]\r\ncount=2\r\n0=button:button\r\n1=bar:scrollbar\r\n"
    "[button]\r\npictureindex=0\r\nmaskpictureindex=1\r\nskinrect=0,0,30,10\r\nactiveskinrect=30,0,60,10\r\n"
    "downskinrect=60,0,90,10\r\ndisabledskinrect=90,0,120,10\r\nlefttoppoint=3,3\r\nrighttoppoint=27,3\r\n"
    "leftbottompoint=3,7\r\nrightbottompoint=27,7\r\nclientrect=3,3,27,7\r\nfontheight=13\r\nfontcolor=4210752\r\n"
    "[bar]\r\npictureindex=0\r\nskinrect=0,0,30,10\r\nthumboffset1=5\r\nthumbtransparentcolor=16711935\r\n";

// The button's picture: each state piece in its own colour with a black
// left corner column block 0..3 (the corner point at 3).
Image ButtonPicture() {
  Image b(120, 10);
  const Pixel colours[] = {kRed, kBlue, kGreen, kYellow};
  for (int i = 0; i < 4; ++i) {
    FillRect(b, {30 * i, 0, 30 * i + 30, 10}, colours[i]);
    FillRect(b, {30 * i, 0, 30 * i + 3, 10}, kBlack);
  }
  return b;
}

PackageParts ScaledParts() {
  PackageParts parts;
  parts.picture = Image(40, 30, kBlue);
  FillRect(parts.picture, {8, 20, 32, 22}, kWhite);
  parts.mask = Image(40, 30, kBlack);
  parts.mask.At(0, 0) = parts.mask.At(39, 0) = kWhite;
  parts.active = {ButtonPicture(), Image(120, 10, kBlack), Image(20, 13, kGreen)};
  parts.description = kScaledDescription;
  return parts;
}

TEST(SkinScale, LoadedAtADpiEveryLengthIsScaledAndNothingElse) {
  const TksCompressedStoredSkin stored = ScaledParts().Build();
  TksSkinData skin;
  skin.Dpi = 120;
  skin.LoadCompressedSkin(stored);
  ASSERT_FALSE(skin.Empty);
  EXPECT_EQ(skin.lefttoppoint, (Point{10, 25}));
  EXPECT_EQ(skin.rightbottompoint, (Point{40, 28}));  // 27.5 up
  EXPECT_EQ(skin.clientrect, (Rect{10, 25, 40, 28}));
  EXPECT_EQ(skin.captionrect, (Rect{1, 1, 49, 24}));  // 1.25, 48.75, 23.75
  EXPECT_EQ(skin.borderwidth, 4);
  EXPECT_EQ(skin.buttonsoffset, 6);
  EXPECT_EQ(skin.cursorindex, 2);
  EXPECT_EQ(skin.bgpictureindex, 1);
  EXPECT_EQ(skin.PopupWindow.itemsrect, (Rect{3, 3, 23, 10}));
  EXPECT_EQ(skin.PopupWindow.righttoppoint, (Point{21, 4}));
  EXPECT_EQ(skin.PopupWindow.scrollmarkercolor, 12345u);
  EXPECT_EQ(skin.PopupWindow.windowpictureindex, 2);
  ASSERT_EQ(skin.SkinAreas.size(), 1u);
  EXPECT_EQ(skin.SkinAreas[0].AreaRect, (Rect{1, 3, 4, 6}));

  const auto* item = FindObjectRecord<TksDataSkinMenuItem>(skin, "menuitem");
  ASSERT_TRUE(item);
  EXPECT_EQ(item->skinrect, (Rect{0, 13, 25, 16}));
  EXPECT_EQ(item->itemleftoffset, 6);
  EXPECT_EQ(item->itemrightoffset, 4);
  EXPECT_EQ(item->activepictureindex, 2);
  EXPECT_EQ(item->font.height, 13);  // fonts are the controls' business
  const auto* caption = FindObjectRecord<TksDataSkinCaption>(skin, "caption");
  ASSERT_TRUE(caption);
  EXPECT_EQ(caption->frameleftoffset, 4);
  EXPECT_EQ(caption->textrect, (Rect{3, 1, 38, 21}));
  EXPECT_EQ(caption->font.height, 14);

  const auto* button = FindControlRecord<TksDataSkinButtonControl>(skin, "button");
  ASSERT_TRUE(button);
  EXPECT_EQ(button->skinrect, (Rect{0, 0, 38, 13}));
  EXPECT_EQ(button->activeskinrect, (Rect{38, 0, 75, 13}));
  EXPECT_EQ(button->lefttoppoint, (Point{4, 4}));
  EXPECT_EQ(button->rightbottompoint, (Point{34, 9}));
  EXPECT_EQ(button->pictureindex, 0);
  EXPECT_EQ(button->maskpictureindex, 1);
  EXPECT_EQ(button->font.height, 13);
  EXPECT_EQ(button->font.color, 4210752u);
  const auto* bar = FindControlRecord<TksDataSkinScrollBarControl>(skin, "bar");
  ASSERT_TRUE(bar);
  EXPECT_EQ(bar->thumboffset1, 6);
  EXPECT_EQ(bar->thumbtransparentcolor, 16711935u);
}

TEST(SkinScale, LoadedAtADpiEveryPieceLandsOnItsScaledRectangle) {
  const TksCompressedStoredSkin stored = ScaledParts().Build();
  TksSkinData skin;
  skin.Dpi = 120;
  skin.LoadCompressedSkin(stored);
  // The frame: 50 × 38, its client area white at the scaled client rectangle.
  ASSERT_EQ(skin.Picture.Width(), 50);
  ASSERT_EQ(skin.Picture.Height(), 38);
  EXPECT_TRUE(Solid(skin.Picture, skin.clientrect, kWhite));
  EXPECT_TRUE(Solid(skin.Picture, {0, 0, 50, 25}, kBlue));
  EXPECT_TRUE(Solid(skin.Picture, {0, 28, 50, 38}, kBlue));
  EXPECT_EQ(skin.Mask.At(0, 0), kWhite);
  EXPECT_EQ(skin.Mask.At(49, 0), kWhite);
  EXPECT_EQ(skin.Mask.At(2, 2), kBlack);
  // Each state piece in its colour, its corner block exactly as wide as the
  // scaled corner point, where the piece's own place puts it.
  const auto* button = FindControlRecord<TksDataSkinButtonControl>(skin, "button");
  ASSERT_TRUE(button);
  const Image& b = skin.ActivePictures[0];
  ASSERT_EQ(b.Width(), 150);
  const Pixel colours[] = {kRed, kBlue, kGreen, kYellow};
  const Rect states[] = {button->skinrect, button->activeskinrect, button->downskinrect, button->disabledskinrect};
  for (int i = 0; i < 4; ++i) {
    const Rect& r = states[i];
    const int corner = r.left + button->lefttoppoint.x;
    EXPECT_TRUE(Solid(b, {r.left, 0, corner, 13}, kBlack)) << i;
    EXPECT_TRUE(Solid(b, {corner, 0, r.right, 13}, colours[i])) << i;
  }
  EXPECT_EQ(states[3].right, 150);
}

TEST(SkinScale, SetDpiReloadsWithTheSkinMessagesAndBackAt96IsAsLoaded) {
  struct Log : SkinMessageSink {
    std::vector<uint32_t> messages;
    std::vector<int> dpis;
    void Send(uint32_t message, TksSkinData* sender, intptr_t) override {
      messages.push_back(message);
      dpis.push_back(sender->Dpi);
    }
  } log;
  const TksCompressedStoredSkin stored = ScaledParts().Build();
  TksSkinData fresh;
  fresh.LoadCompressedSkin(stored);
  EXPECT_EQ(fresh.Dpi, 96);
  EXPECT_EQ(fresh.ActivePictures[0], ButtonPicture());  // 96: the pictures as stored

  TksSkinData skin(&log);
  skin.SetDpi(144);  // nothing loaded yet: nothing to send
  EXPECT_TRUE(log.messages.empty());
  EXPECT_EQ(skin.Dpi, 144);
  skin.LoadCompressedSkin(stored);
  EXPECT_EQ(skin.Picture.Width(), 60);
  log.messages.clear();
  skin.SetDpi(144);
  EXPECT_TRUE(log.messages.empty());
  skin.SetDpi(96);
  EXPECT_EQ(log.messages, (std::vector<uint32_t>{SKIN_MSG_BEFORE_CHANGE, SKIN_MSG_CHANGE, SKIN_MSG_AFTER_CHANGE}));
  EXPECT_EQ(log.dpis.back(), 96);
  EXPECT_EQ(skin.Picture, fresh.Picture);
  EXPECT_EQ(skin.Mask, fresh.Mask);
  EXPECT_EQ(skin.ActivePictures, fresh.ActivePictures);
  EXPECT_EQ(skin.clientrect, fresh.clientrect);
  EXPECT_EQ(FindControlRecord<TksDataSkinButtonControl>(skin, "button")->activeskinrect, (Rect{30, 0, 60, 10}));
  // A failed DPI query (0) keeps the skin usable at 96.
  skin.SetDpi(192);
  skin.SetDpi(0);
  EXPECT_EQ(skin.Dpi, 96);
  EXPECT_EQ(skin.Picture, fresh.Picture);
}

// A drawing for `dpi` of the scaled skin: its pictures at ScaleLength of the
// 96 ones' sizes, the button picture's state pieces all `colour`.
TksCompressedStoredSkin Drawing(int dpi, Pixel colour, int buttonWidth = -1) {
  PackageParts parts;
  const int w = buttonWidth >= 0 ? buttonWidth : ScaleLength(120, dpi);
  parts.active = {Image(w, ScaleLength(10, dpi), colour), Image(ScaleLength(120, dpi), ScaleLength(10, dpi), kBlack),
                  Image(ScaleLength(20, dpi), ScaleLength(13, dpi), kMagenta)};
  parts.description = std::string(kScaledDescription) + "[VERSION]\r\ndpi=" + std::to_string(dpi) + "\r\n";
  return parts.Build();
}

TEST(SkinScale, DrawingsServeTheirDpiAsTheyAreAndOthersScaled) {
  const TksCompressedStoredSkin stored = ScaledParts().Build();
  const TksCompressedStoredSkin at144 = Drawing(144, kGreen), at192 = Drawing(192, kMagenta);
  TksCompressedStoredSkin broken;
  broken.CompressedData() = {1, 2, 3};
  TksSkinData skin;
  skin.SetDrawings({&at192, &broken, &at144});
  skin.LoadCompressedSkin(stored);
  EXPECT_EQ(skin.ActivePictures[0], ButtonPicture());  // 96: own pictures

  skin.SetDpi(144);
  EXPECT_EQ(skin.ActivePictures[0], Image(180, 15, kGreen));
  EXPECT_EQ(skin.ActivePictures[2], Image(30, 20, kMagenta));
  EXPECT_EQ(skin.Picture.Width(), 60);  // the drawing has no frame: own one scaled
  EXPECT_TRUE(Solid(skin.Picture, skin.clientrect, kWhite));

  skin.SetDpi(120);  // from the 144 drawing
  EXPECT_EQ(skin.ActivePictures[0], Image(150, 13, kGreen));
  skin.SetDpi(240);  // from the largest
  EXPECT_EQ(skin.ActivePictures[0], Image(300, 25, kMagenta));
  skin.SetDpi(192);
  EXPECT_EQ(skin.ActivePictures[0], Image(240, 20, kMagenta));
  // The same drawings with their DPIs given (0 for one that has none).
  skin.SetDrawings({&at192, &broken, &at144}, {192, 0, 144});
  skin.SetDpi(144);
  EXPECT_EQ(skin.ActivePictures[0], Image(180, 15, kGreen));

  // A drawing's picture of the wrong size gives way to the own one.
  const TksCompressedStoredSkin wrong = Drawing(144, kGreen, 100);
  skin.SetDrawings({&wrong});
  for (int dpi : {192, 144}) {
    skin.SetDpi(dpi);
    const auto* button = FindControlRecord<TksDataSkinButtonControl>(skin, "button");
    ASSERT_TRUE(button);
    const Rect& active = button->activeskinrect;
    EXPECT_TRUE(Solid(skin.ActivePictures[0], {active.left + button->lefttoppoint.x, 0, active.right, active.bottom},
                      kBlue))
        << dpi;
  }
  EXPECT_EQ(skin.ActivePictures[2], Image(30, 20, kMagenta));  // its other pictures serve
}

TEST(SkinScale, ReadingWithoutPicturesKeepsTheDescription) {
  const TksCompressedStoredSkin stored = Drawing(144, kGreen);
  const SkinPackageContent content = stored.ReadPackage(PackagePictures::Skipped);
  ASSERT_TRUE(content.loaded);
  ASSERT_EQ(content.activePictures.size(), 3u);
  EXPECT_TRUE(content.activePictures[0].image.IsEmpty());
  EXPECT_EQ(content.activePictures[0].size, EncodeBmp(Image(180, 15).View(), 24).size());
  // Its size as the header declares it: what a drawing's picture must match.
  EXPECT_EQ(content.activePictures[0].width, 180);
  EXPECT_EQ(content.activePictures[0].height, 15);
  EXPECT_EQ(IniTable::FromLines(content.descriptionLines).ReadInteger("VERSION", "dpi", 0), 144);
}

}  // namespace
}  // namespace kelmar
