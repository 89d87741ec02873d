#include "skin/data/skin_data.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "skin/data/compressed_stored_skin.h"
#include "skin/data/resource_str_data.h"

namespace kelmar {
namespace {

void Put32(std::vector<uint8_t>& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
}

// A 24-bit bottom-up BMP file image of one row of pixels (0x00RRGGBB each).
std::vector<uint8_t> Bmp24Row(std::initializer_list<uint32_t> pixels) {
  const uint32_t width = uint32_t(pixels.size());
  const uint32_t stride = (width * 3 + 3) & ~3u;
  std::vector<uint8_t> b = {'B', 'M'};
  Put32(b, 54 + stride);
  Put32(b, 0);
  Put32(b, 54);
  Put32(b, 40);
  Put32(b, width);
  Put32(b, 1);
  b.insert(b.end(), {1, 0, 24, 0});
  for (int i = 0; i < 6; ++i) Put32(b, 0);
  for (uint32_t p : pixels) b.insert(b.end(), {uint8_t(p), uint8_t(p >> 8), uint8_t(p >> 16)});
  b.resize(54 + stride, 0);
  return b;
}

// A version-3 package: empty slots (picture optionally set), the active
// pictures, then the description.
TksCompressedStoredSkin Package(const std::string& description, std::vector<std::vector<uint8_t>> active = {},
                                int32_t version = 3, const std::vector<uint8_t>& picture = {}) {
  std::vector<uint8_t> p;
  Put32(p, uint32_t(version));
  if (picture.empty()) {
    p.push_back(1);
  } else {
    p.push_back(0);
    p.insert(p.end(), picture.begin(), picture.end());
  }
  p.push_back(1);  // inactive picture
  p.push_back(1);  // mask
  Put32(p, uint32_t(active.size()));
  for (const auto& a : active) p.insert(p.end(), a.begin(), a.end());
  p.insert(p.end(), description.begin(), description.end());
  TksCompressedStoredSkin skin;
  skin.DeflatePackage(p);
  return skin;
}

struct Received {
  uint32_t message;
  int form;
  bool empty;
  size_t controls;
  intptr_t param;
  friend bool operator==(const Received&, const Received&) = default;
};

// Forms that note every skin message and what the skin data held then.
struct Recorder {
  struct Form : SkinMessageSink {
    Recorder* owner;
    int id;
    Form(Recorder* o, int i) : owner(o), id(i) {}
    void Send(uint32_t message, TksSkinData* sender, intptr_t param) override {
      EXPECT_EQ(sender, owner->data);
      owner->log.push_back({message, id, sender->Empty, sender->ControlData.size(), param});
    }
  };
  struct Forms : SkinFormList {
    std::vector<SkinMessageSink*> list;
    std::vector<SkinMessageSink*> SkinForms() const override { return list; }
  };
  TksSkinData* data = nullptr;
  std::vector<Received> log;
  Form f1{this, 1}, f2{this, 2}, f3{this, 3};
  Forms forms;
};

const char* kDescription =
    "[VERSION]\r\nskinname=test skin\r\nskinauthor=me\r\n"
    "[pictures]\r\npicture=frame.bmp\r\nmask=mask.bmp\r\nactivepicturescount=2\r\n0=a.bmp\r\n1=b.bmp\r\n"
    "[FORMINFO]\r\nlefttoppoint=8,28\r\nrighttoppoint=695,28\r\nleftbottompoint=8,283\r\n"
    "rightbottompoint=695,283\r\nclientrect=8,28,696,284\r\nmaskrectarea=7,3,697,284\r\ninactiveeffect=IEGRAYSCALE\r\n"
    "[HINTWINDOW]\r\nwindowpictureindex=3\r\nmaskpictureindex=6\r\nclientrect=2,2,38,18\r\n"
    "[POPUPWINDOW]\r\nwindowpictureindex=1\r\n"
    "[SKINAREAS]\r\ncount=3\r\n0=top:1,2,3,4\r\n1=no rectangle\r\n2=bottom:5,6,7,8\r\n"
    "[SKINOBJECTS]\r\ncount=3\r\n0=caption:caption\r\n1=closebutton:stdbutton\r\n2=minimizebutton:stdbutton\r\n"
    "[SKINCONTROLS]\r\ncount=6\r\n0=button:button\r\n1=odd:nosuchtype\r\n2=statusbar:panel\r\n"
    "3=button:checkradio\r\n4=statuspanel:label\r\n5=nocolon\r\n"
    "[button]\r\nskinrect=1,1,10,10\r\n[statusbar]\r\nskinrect=6,242,74,261\r\n"
    "[closebutton]\r\ncommand=cmclose\r\n[minimizebutton]\r\ncommand=cmminimize\r\n";

TEST(SkinData, CreatedState) {
  TksSkinData data;
  EXPECT_TRUE(data.Empty);
  EXPECT_EQ(data.CursorBase, 1);
  EXPECT_EQ(data.bgpictureindex, -1);
  EXPECT_EQ(data.mdibgpictureindex, -1);
  EXPECT_EQ(data.cursorindex, -1);
  EXPECT_FALSE(data.mainmenupopupup);
  EXPECT_EQ(data.HintWindow.font.height, 12);
  EXPECT_EQ(data.HintWindow.font.name, "\xCB\xCE\xCC\xE5");
  EXPECT_TRUE(data.HintWindow.clientrect.IsEmpty());
  EXPECT_EQ(data.PopupWindow.lefttoppoint, (Point{0, 0}));
  EXPECT_FALSE(data.PopupWindow.leftstretch);
  EXPECT_EQ(data.CursorNumber(0), 1);
  EXPECT_EQ(data.CursorNumber(4), 5);
  EXPECT_EQ(data.CursorNumber(-1), -1);
}

TEST(SkinData, LoadsPicturesAndRecordsInDescriptionOrder) {
  TksSkinData data;
  TksCompressedStoredSkin skin =
      Package(kDescription, {Bmp24Row({0x102030, 0xA0B0C0}), Bmp24Row({0xFF0000})}, 3, Bmp24Row({0x0000FF}));
  data.SetCompressedStoredSkin(&skin);
  EXPECT_EQ(data.CompressedStoredSkin(), &skin);
  EXPECT_FALSE(data.Empty);

  ASSERT_EQ(data.ActivePictures.size(), 2u);
  EXPECT_EQ(data.ActivePictures[0].Width(), 2);
  EXPECT_EQ(data.ActivePictures[0].At(0, 0), MakePixel(0x10, 0x20, 0x30));
  EXPECT_EQ(data.ActivePictures[0].At(1, 0), MakePixel(0xA0, 0xB0, 0xC0));
  EXPECT_EQ(data.ActivePictures[1].At(0, 0), MakePixel(0xFF, 0, 0));
  EXPECT_EQ(data.Picture.At(0, 0), MakePixel(0, 0, 0xFF));
  EXPECT_TRUE(data.InactivePicture.IsEmpty());
  EXPECT_TRUE(data.Mask.IsEmpty());

  EXPECT_EQ(data.SkinName, "test skin");
  EXPECT_EQ(data.SkinAuthor, "me");
  EXPECT_EQ(data.PictureName, "frame.bmp");
  EXPECT_EQ(data.MaskName, "mask.bmp");
  EXPECT_EQ(data.ActivePictureNames, (std::vector<std::string>{"a.bmp", "b.bmp"}));
  EXPECT_EQ(data.inactiveeffect, InactiveEffect::ieGrayscale);

  // The frame geometry of a frame whose points lie inside its client area:
  // unchanged, and the mask area already covers the client area.
  EXPECT_EQ(data.lefttoppoint, (Point{8, 28}));
  EXPECT_EQ(data.rightbottompoint, (Point{695, 283}));
  EXPECT_EQ(data.clientrect, (Rect{8, 28, 696, 284}));
  EXPECT_EQ(data.maskrectarea, (Rect{7, 3, 697, 284}));
  EXPECT_EQ(data.hittestlefttoppoint, (Point{8, 28}));
  EXPECT_EQ(data.hittestrightbottompoint, (Point{695, 283}));

  EXPECT_EQ(data.HintWindow.windowpictureindex, 3);
  EXPECT_EQ(data.HintWindow.maskpictureindex, 6);
  EXPECT_EQ(data.HintWindow.clientrect, (Rect{2, 2, 38, 18}));
  EXPECT_EQ(data.HintWindow.font.height, 14);
  EXPECT_EQ(data.PopupWindow.windowpictureindex, 1);

  ASSERT_EQ(data.SkinAreas.size(), 2u);
  EXPECT_EQ(data.SkinAreas[1].IDName, "bottom");
  EXPECT_EQ(data.SkinAreas[1].AreaRect, (Rect{5, 6, 7, 8}));
  EXPECT_EQ(data.FindAreaData("top"), 0);
  EXPECT_EQ(data.FindAreaData("bottom"), 1);
  EXPECT_EQ(data.FindAreaData("Top"), -1);

  ASSERT_EQ(data.ObjectData.size(), 3u);
  EXPECT_NE(dynamic_cast<TksDataSkinCaption*>(data.ObjectData[0].get()), nullptr);
  auto* minimize = dynamic_cast<TksDataSkinStdButton*>(data.ObjectData[2].get());
  ASSERT_NE(minimize, nullptr);
  EXPECT_EQ(minimize->command, SkinCommand::cmMinimize);
  EXPECT_EQ(data.FindObjectData("closebutton"), 1);

  // The unknown type and the entry without ":" are skipped.
  ASSERT_EQ(data.ControlData.size(), 4u);
  EXPECT_EQ(data.ControlData[0]->IDName, "button");
  EXPECT_EQ(typeid(*data.ControlData[0]), typeid(TksDataSkinButtonControl));
  EXPECT_EQ(typeid(*data.ControlData[1]), typeid(TksDataSkinPanelControl));
  EXPECT_EQ(typeid(*data.ControlData[2]), typeid(TksDataSkinCheckRadioControl));
  EXPECT_EQ(typeid(*data.ControlData[3]), typeid(TksDataSkinLabelControl));
  EXPECT_EQ(data.ControlData[1]->skinrect, (Rect{6, 242, 74, 261}));
  EXPECT_EQ(data.FindControlData("button"), 0);  // the first of the repeated name
  EXPECT_EQ(data.FindControlData("Button"), -1);
  EXPECT_EQ(data.FindControlData("statuspanel"), 3);
  EXPECT_EQ(data.FindControlData("odd"), -1);

  // Clearing keeps the window data except their window pictures.
  data.ClearSkin();
  EXPECT_TRUE(data.Empty);
  EXPECT_TRUE(data.ControlData.empty() && data.ObjectData.empty() && data.SkinAreas.empty());
  EXPECT_TRUE(data.ActivePictures.empty() && data.ActivePictureNames.empty());
  EXPECT_TRUE(data.Picture.IsEmpty());
  EXPECT_EQ(data.PictureName, "");
  EXPECT_EQ(data.HintWindow.windowpictureindex, -1);
  EXPECT_EQ(data.HintWindow.maskpictureindex, 6);
  EXPECT_EQ(data.PopupWindow.windowpictureindex, -1);
}

TEST(SkinData, MessagesOfALoadInOrder) {
  Recorder r;
  TksSkinData data(&r.f2, &r.forms);
  r.data = &data;
  r.forms.list = {&r.f1, &r.f2, &r.f3};
  TksCompressedStoredSkin skin = Package(kDescription);
  data.SetCompressedStoredSkin(&skin);
  std::vector<Received> first = {
      {SKIN_MSG_BEFORE_CHANGE, 2, true, 0, 1000}, {SKIN_MSG_BEFORE_CHANGE, 1, true, 0, 1000},
      {SKIN_MSG_BEFORE_CHANGE, 3, true, 0, 1000}, {SKIN_MSG_CHANGE, 2, false, 4, 1000},
      {SKIN_MSG_CHANGE, 1, false, 4, 1000},       {SKIN_MSG_CHANGE, 3, false, 4, 1000},
      {SKIN_MSG_AFTER_CHANGE, 2, false, 4, 1000}, {SKIN_MSG_AFTER_CHANGE, 1, false, 4, 1000},
      {SKIN_MSG_AFTER_CHANGE, 3, false, 4, 1000}};
  EXPECT_EQ(r.log, first);

  // A second load: the old records still exist when 1225 arrives.
  r.log.clear();
  TksCompressedStoredSkin other = Package("[SKINCONTROLS]\ncount=1\n0=panel:panel\n");
  data.LoadCompressedSkin(other);
  ASSERT_EQ(r.log.size(), 9u);
  EXPECT_EQ(r.log[0], (Received{SKIN_MSG_BEFORE_CHANGE, 2, true, 4, 1000}));
  EXPECT_EQ(r.log[3], (Received{SKIN_MSG_CHANGE, 2, false, 1, 1000}));
  EXPECT_EQ(r.log[8], (Received{SKIN_MSG_AFTER_CHANGE, 3, false, 1, 1000}));

  // An empty package changes nothing and sends nothing.
  r.log.clear();
  TksCompressedStoredSkin empty;
  data.SetCompressedStoredSkin(&empty);
  EXPECT_TRUE(r.log.empty());
  EXPECT_FALSE(data.Empty);
  EXPECT_EQ(data.ControlData.size(), 1u);
  EXPECT_EQ(data.CompressedStoredSkin(), &empty);

  // Setting the strings announces them, even when set to none.
  TksResourceStrData strings;
  data.SetResourceStrData(&strings);
  data.SetResourceStrData(nullptr);
  ASSERT_EQ(r.log.size(), 6u);
  for (const Received& m : r.log) EXPECT_EQ(m.message, SKIN_MSG_STRINGS_CHANGE);
  EXPECT_EQ(r.log[0].form, 2);
  EXPECT_EQ(r.log[1].form, 1);
}

TEST(SkinData, OwnerThatIsNoFormAndNoForms) {
  Recorder r;
  TksSkinData data(nullptr, &r.forms);
  r.data = &data;
  r.forms.list = {&r.f3, &r.f1};
  data.BroadcastSkinMessage(SKIN_MSG_STRINGS_CHANGE);
  ASSERT_EQ(r.log.size(), 2u);
  EXPECT_EQ(r.log[0].form, 3);
  EXPECT_EQ(r.log[1].form, 1);

  TksSkinData alone;
  TksCompressedStoredSkin skin = Package(kDescription);
  alone.LoadCompressedSkin(skin);  // nobody to tell; loads all the same
  EXPECT_FALSE(alone.Empty);
}

TEST(SkinData, PackageOfANewerVersionLeavesTheModelCleared) {
  Recorder r;
  TksSkinData data(&r.f1, nullptr);
  r.data = &data;
  TksCompressedStoredSkin skin = Package(kDescription);
  data.LoadCompressedSkin(skin);
  r.log.clear();
  TksCompressedStoredSkin newer = Package(kDescription, {}, 4);
  data.LoadCompressedSkin(newer);
  EXPECT_EQ(r.log, (std::vector<Received>{{SKIN_MSG_BEFORE_CHANGE, 1, true, 4, 1000}}));
  EXPECT_TRUE(data.Empty);
  EXPECT_TRUE(data.ControlData.empty());
  EXPECT_TRUE(data.ObjectData.empty());
}

TEST(SkinData, MalformedRectangleStopsTheLoad) {
  Recorder r;
  TksSkinData data(&r.f1, nullptr);
  r.data = &data;
  TksCompressedStoredSkin skin = Package(
      "[SKINOBJECTS]\ncount=1\n0=caption:caption\n"
      "[SKINCONTROLS]\ncount=3\n0=good:button\n1=bad:panel\n2=later:label\n"
      "[good]\nskinrect=1,2,3,4\n[bad]\ncaptionrect=3,,5,7\n");
  try {
    data.SetCompressedStoredSkin(&skin);
    FAIL() << "no conversion error";
  } catch (const ConvertError& e) {
    EXPECT_STREQ(e.what(), "'' is not a valid integer value");
  }
  EXPECT_TRUE(data.Empty);
  EXPECT_EQ(data.ObjectData.size(), 1u);
  ASSERT_EQ(data.ControlData.size(), 2u);  // the failing record was appended before it read
  EXPECT_EQ(data.ControlData[0]->skinrect, (Rect{1, 2, 3, 4}));
  EXPECT_EQ(data.FindControlData("later"), -1);
  ASSERT_EQ(r.log.size(), 1u);
  EXPECT_EQ(r.log[0].message, SKIN_MSG_BEFORE_CHANGE);
}

TEST(SkinData, CorruptStreamTravelsToTheCaller) {
  TksSkinData data;
  TksCompressedStoredSkin skin = Package(kDescription);
  skin.CompressedData().resize(skin.CompressedData().size() / 2);
  EXPECT_THROW(data.SetCompressedStoredSkin(&skin), Error);
  EXPECT_TRUE(data.Empty);
}

TEST(SkinData, RemovalNotices) {
  TksSkinData data;
  TksCompressedStoredSkin skin = Package(kDescription);
  TksCompressedStoredSkin otherSkin;
  TksResourceStrData strings, otherStrings;
  data.SetCompressedStoredSkin(&skin);
  data.SetResourceStrData(&strings);
  data.NotifyRemoved(&otherSkin);
  data.NotifyRemoved(&otherStrings);
  EXPECT_EQ(data.CompressedStoredSkin(), &skin);
  EXPECT_EQ(data.ResourceStrData(), &strings);
  data.NotifyRemoved(&skin);
  data.NotifyRemoved(&strings);
  EXPECT_EQ(data.CompressedStoredSkin(), nullptr);
  EXPECT_EQ(data.ResourceStrData(), nullptr);
  EXPECT_FALSE(data.Empty);  // the loaded skin stays
  EXPECT_EQ(data.ControlData.size(), 4u);
}

// [FORMINFO] alone, with or without a mask file name.
void LoadFormInfo(TksSkinData& data, const std::string& formInfo, bool withMask) {
  std::string text = std::string("[PICTURES]\n") + (withMask ? "mask=mask.bmp\n" : "") + "[FORMINFO]\n" + formInfo;
  data.LoadCompressedSkin(Package(text));
}

TEST(SkinData, FormInfoCorrections) {
  {
    SCOPED_TRACE("hit-test point with a zero coordinate takes the corner point");
    TksSkinData d;
    LoadFormInfo(d, 
        "lefttoppoint=8,28\nrightbottompoint=90,90\nclientrect=8,28,100,100\nhittestlefttoppoint=0,5\n"
        "hittestrighttoppoint=50,6\n",
        true);
    EXPECT_EQ(d.hittestlefttoppoint, (Point{8, 28}));
    EXPECT_EQ(d.hittestrighttoppoint, (Point{50, 6}));
    EXPECT_EQ(d.hittestrightbottompoint, (Point{90, 90}));
    EXPECT_EQ(d.maskrectarea, (Rect{8, 28, 100, 100}));  // empty: the client area
  }
  {
    SCOPED_TRACE("a mask area is extended over the client area");
    TksSkinData d;
    LoadFormInfo(d, "clientrect=5,5,100,100\nmaskrectarea=10,2,50,120\n", true);
    EXPECT_EQ(d.maskrectarea, (Rect{5, 2, 100, 120}));
  }
  {
    SCOPED_TRACE("without a mask file name");
    TksSkinData d;
    LoadFormInfo(d, "lefttoppoint=8,28\nrightbottompoint=90,90\nclientrect=8,28,100,100\n", false);
    EXPECT_TRUE(d.maskrectarea.IsEmpty());
    EXPECT_EQ(d.hittestlefttoppoint, (Point{0, 0}));
    EXPECT_EQ(d.hittestrightbottompoint, (Point{0, 0}));
  }
  {
    SCOPED_TRACE("corner points clamped into the client area");
    TksSkinData d;
    LoadFormInfo(d, 
        "lefttoppoint=2,2\nrighttoppoint=120,1\nleftbottompoint=1,130\nrightbottompoint=90,90\n"
        "clientrect=5,5,100,100\n",
        false);
    EXPECT_EQ(d.lefttoppoint, (Point{5, 5}));
    EXPECT_EQ(d.righttoppoint, (Point{100, 5}));
    EXPECT_EQ(d.leftbottompoint, (Point{5, 100}));
    EXPECT_EQ(d.rightbottompoint, (Point{90, 90}));
  }
  {
    SCOPED_TRACE("coinciding corner points are left as read");
    TksSkinData d;
    LoadFormInfo(d, "lefttoppoint=2,2\nrightbottompoint=2,90\nclientrect=5,5,100,100\n", false);
    EXPECT_EQ(d.lefttoppoint, (Point{2, 2}));
    EXPECT_EQ(d.rightbottompoint, (Point{2, 90}));
  }
}

}  // namespace
}  // namespace kelmar
