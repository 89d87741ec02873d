// The control and object record families: every class reads exactly its
// keys, in order, with their defaults, and writes back what it read. The key
// lists below are the families' tables, typed in independently of the code.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <typeindex>

#include "skin/data/skin_control_data.h"
#include "skin/data/skin_object_data.h"

namespace kelmar {
namespace {

// One key of a record: its kind, a non-default text to write in (for named
// values), and the text a missing key yields when it is not the kind's usual.
struct K {
  char kind;  // R rect, P point, I integer, C colour, F flag, S string, N font group, E named, L lines
  std::string key;
  std::string text = {};
  std::string dflt = {};
};
using Keys = std::vector<K>;

K R(std::string k) { return {'R', std::move(k)}; }
K P(std::string k) { return {'P', std::move(k)}; }
K I(std::string k, std::string d = "0") { return {'I', std::move(k), {}, std::move(d)}; }
K C(std::string k, std::string d = "0") { return {'C', std::move(k), {}, std::move(d)}; }
K F(std::string k) { return {'F', std::move(k)}; }
K S(std::string k, std::string d = "") { return {'S', std::move(k), {}, std::move(d)}; }
K N(std::string prefix) { return {'N', std::move(prefix)}; }
K E(std::string k, std::string text, std::string d) { return {'E', std::move(k), std::move(text), std::move(d)}; }
K L(std::string k) { return {'L', std::move(k)}; }

Keys operator+(Keys a, const Keys& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

Keys Rects(std::initializer_list<const char*> names) {
  Keys k;
  for (const char* n : names) k.push_back(R(n));
  return k;
}

const Keys kUpDownRects = Rects({"upbuttonrect", "activeupbuttonrect", "downupbuttonrect", "downbuttonrect",
                                 "activedownbuttonrect", "downdownbuttonrect"});
const Keys kCorners = {P("lefttoppoint"), P("righttoppoint"), P("leftbottompoint"), P("rightbottompoint")};
const Keys kStretch = {F("leftstretch"), F("rightstretch"), F("topstretch"), F("bottomstretch")};

const Keys kControl = {I("pictureindex", "-1"), I("maskpictureindex", "-1"), I("cursorindex", "-1"), R("skinrect")};
const Keys kCustom = kControl + kCorners + Keys{R("clientrect")};
const Keys kButtonControl =
    kCustom + Keys{N("font"), C("activefontcolor"), C("disabledfontcolor"), C("downfontcolor"), F("morphing"),
                   E("morphkind", "mkpush", "mkdefault")} +
    Rects({"activeskinrect", "downskinrect", "disabledskinrect"});
const Keys kListBox = kCustom + Rects({"itemrect", "activeitemrect", "focusitemrect"}) +
                      Keys{I("itemleftoffset"), I("itemrightoffset"), R("itemtextrect"), N("font"),
                           C("activefontcolor"), C("focusfontcolor"), R("captionrect"), N("captionfont")} +
                      kUpDownRects + Rects({"checkbuttonrect", "activecheckbuttonrect", "downcheckbuttonrect"}) +
                      Keys{S("vscrollbarname", "vscrollbar"), S("hscrollbarname", "hscrollbar"),
                           S("bothhscrollbarname", "bothhscrollbar")};
const Keys kEdit = kCustom + Keys{R("activeskinrect"), N("font"), C("disabledfontcolor"), C("activefontcolor")} +
                   Rects({"buttonrect", "activebuttonrect", "downbuttonrect", "unenabledbuttonrect"});
const Keys kFontBg = kControl + Keys{N("font"), C("bgcolor")};
const Keys kFrame = kControl + Keys{I("framescount", "1"), E("framesplacement", "fpvertical", "fphorizontal")};

const Keys kObject = {S("hint"),      F("rollup"),         I("activepictureindex", "-1"),
                      F("skinrectinapicture"), I("cursorindex", "-1"), R("skinrect"),
                      R("activeskinrect"),     R("inactiveskinrect"),  F("morphing"),
                      E("morphkind", "mkleftgradient", "mkdefault")};
const Keys kObjectButton = kObject + Keys{R("downrect"), R("disableskinrsect"), I("groupindex", "-1")};
const Keys kStdButton = kObjectButton + Keys{E("command", "cmrollup", "cmdefault"), R("restorerect"),
                                             R("restoreactiverect"), R("restoredownrect")};
const Keys kMainMenuItem = kObject + Keys{I("itemleftoffset"), I("itemrightoffset"), R("downrect"), R("textrect"),
                                          N("font"), C("activefontcolor"), C("downfontcolor"),
                                          C("unenabledfontcolor")};
const Keys kFrameObject = kObject + Keys{I("minvalue"), I("maxvalue"), I("countframes"),
                                         E("framesplacement", "fpvertical", "fphorizontal")};

enum class Family { Control, Object, Popup, Hint };

struct RecordCase {
  Family family;
  std::string type;
  std::type_index cls;
  Keys keys;
  // Keys whose value the class fixes whatever the section says.
  std::map<std::string, std::string> fixed = {};
};

std::vector<RecordCase> AllRecords() {
  const std::map<std::string, std::string> noMorph = {{"morphing", "0"}};
  return {
      {Family::Control, "button", typeid(TksDataSkinButtonControl), kButtonControl},
      {Family::Control, "menubutton", typeid(TksDataSkinMenuButtonControl), kButtonControl + Keys{R("trackbuttonrect")}},
      {Family::Control, "checkradio", typeid(TksDataSkinCheckRadioControl),
       kCustom + Keys{N("font"), C("activefontcolor"), C("unenabledfontcolor"), C("framefontcolor"), F("morphing"),
                      E("morphkind", "mkrightslide", "mkdefault")} +
           Rects({"activeskinrect", "checkimagearea", "textarea", "checkimagerect", "uncheckimagerect",
                  "activecheckimagerect", "activeuncheckimagerect", "unenabledcheckimagerect",
                  "unenableduncheckimagerect"})},
      {Family::Control, "panel", typeid(TksDataSkinPanelControl),
       kCustom + Keys{I("bgpictureindex", "-1"), R("captionrect"), E("alignment", "taleftjustify", "tacenter"),
                      N("font"), R("checkimagerect"), R("uncheckimagerect")}},
      {Family::Control, "expanel", typeid(TksDataSkinExPanelControl),
       kCustom + Rects({"rollhskinrect", "rollvskinrect"}) +
           Keys{I("rollleftoffset"), I("rollrightoffset"), I("rolltopoffset"), I("rollbottomoffset")} +
           Rects({"rollvcaptionrect", "rollhcaptionrect", "closebuttonrect", "closebuttonactiverect",
                  "closebuttondownrect", "hrollbuttonrect", "hrollbuttonactiverect", "hrollbuttondownrect",
                  "hrestorebuttonrect", "hrestorebuttonactiverect", "hrestorebuttondownrect", "vrollbuttonrect",
                  "vrollbuttonactiverect", "vrollbuttondownrect", "vrestorebuttonrect", "vrestorebuttonactiverect",
                  "vrestorebuttondownrect", "captionrect"}) +
           Keys{N("font")}},
      {Family::Control, "label", typeid(TksDataSkinLabelControl), kCustom + Keys{N("font")}},
      {Family::Control, "stdlabel", typeid(TksDataSkinStdLabelControl),
       kControl + Keys{N("font"), C("activefontcolor", "16711680")}},
      {Family::Control, "bitlabel", typeid(TksDataSkinBitLabelControl),
       kCustom + Keys{R("skintextrect"), I("symbolwidth"), I("symbolheight"), L("symbols")}},
      {Family::Control, "combobox", typeid(TksDataSkinComboBox),
       kCustom + Keys{R("itemrect"), R("focusitemrect"), I("itemleftoffset"), I("itemrightoffset"),
                      R("itemtextrect"), N("font"), C("focusfontcolor"), S("listboxname")} +
           Rects({"buttonrect", "activebuttonrect", "downbuttonrect", "unenabledbuttonrect"})},
      {Family::Control, "listbox", typeid(TksDataSkinListBox), kListBox},
      {Family::Control, "checklistbox", typeid(TksDataSkinCheckListBox),
       kListBox + Rects({"checkimagerect", "itemcheckrect", "uncheckimagerect"})},
      {Family::Control, "scrollbar", typeid(TksDataSkinScrollBarControl),
       kCustom + Keys{R("trackarea")} + kUpDownRects + Rects({"thumbrect", "activethumbrect", "downthumbrect"}) +
           Keys{I("thumboffset1"), I("thumboffset2"), F("thumbtransparent"), C("thumbtransparentcolor")} +
           Rects({"glyphrect", "activeglyphrect", "downglyphrect"})},
      {Family::Control, "edit", typeid(TksDataSkinEditControl), kEdit},
      {Family::Control, "memo", typeid(TksDataSkinMemoControl), kEdit + Keys{C("bgcolor"), C("activebgcolor")}},
      {Family::Control, "spinedit", typeid(TksDataSkinSpinEditControl),
       kCustom + Keys{R("activeskinrect"), N("font"), C("activefontcolor"), C("disabledfontcolor")} + kUpDownRects},
      {Family::Control, "updown", typeid(TksDataSkinUpDownControl), kCustom + kUpDownRects,
       {{"lefttoppoint", "0,0"}, {"righttoppoint", "0,0"}, {"leftbottompoint", "0,0"}, {"rightbottompoint", "0,0"},
        {"clientrect", "0,0,0,0"}}},
      {Family::Control, "gauge", typeid(TksDataSkinGaugeControl),
       kCustom + Keys{R("progressarea"), R("progressrect"), I("beginoffset"), I("endoffset"), F("vertical"), N("font"),
                      F("progresstransparent"), C("progresstransparentcolor")}},
      {Family::Control, "trackbar", typeid(TksDataSkinTrackBarControl),
       kCustom + Keys{R("trackarea"), R("buttonrect"), R("activebuttonrect"), F("vertical"), F("buttontransparent"),
                      C("buttontransparentcolor")}},
      {Family::Control, "splitter", typeid(TksDataSkinSplitterControl), kCustom},
      {Family::Control, "scrollbox", typeid(TksDataSkinScrollBoxControl), kCustom + Keys{I("bgpictureindex", "-1")}},
      {Family::Control, "controlbar", typeid(TksDataSkinControlBar),
       kCustom + Keys{R("itemrect"), I("bgpictureindex", "-1")}},
      {Family::Control, "mainmenubar", typeid(TksDataSkinMainMenuBar),
       kControl + Keys{R("itemsrect"), S("menubaritem"), S("closebutton"), S("minbutton"), S("maxbutton"),
                       S("sysmenubutton"), C("trackmarkcolor"), C("trackmarkactivecolor")}},
      {Family::Control, "tab", typeid(TksDataSkinTabControl),
       kControl + Rects({"tabrect", "activetabrect", "focustabrect", "mouseintabrect", "clientrect"}) +
           Keys{I("bgpictureindex", "-1")} + kCorners +
           Keys{I("tableftoffset"), I("tabrightoffset"), R("tabsbgrect"), N("font"), C("activefontcolor"),
                C("focusfontcolor"), C("mouseinfontcolor"), S("updown")}},
      {Family::Control, "grid", typeid(TksDataSkinGridControl),
       kControl + Rects({"fixedcellrect", "selectcellrect", "focuscellrect"}) +
           Keys{I("fixedcellleftoffset"), I("fixedcellrightoffset"), R("fixedcelltextrect"), I("cellleftoffset"),
                I("cellrightoffset"), R("celltextrect"), C("linescolor"), C("bgcolor"), I("bgpictureindex", "-1"),
                N("font"), C("selectfontcolor"), C("focusfontcolor"), N("fixedfont")}},
      {Family::Control, "treeview", typeid(TksDataSkinTreeView), kFontBg},
      {Family::Control, "listview", typeid(TksDataSkinListView), kFontBg},
      {Family::Control, "richedit", typeid(TksDataSkinRichEdit), kFontBg},
      {Family::Control, "slider", typeid(TksDataSkinSlider),
       kControl + Keys{C("bgcolor")} + Rects({"hrulerrect", "hthumbrect", "vrulerrect", "vthumbrect"}) +
           Keys{I("edgesize"), C("pointscolor")}},
      {Family::Control, "bevel", typeid(TksDataSkinBevel), kControl + Keys{C("lightcolor"), C("darkcolor")}},
      {Family::Control, "framegauge", typeid(TksDataSkinFrameGauge), kFrame},
      {Family::Control, "frameregulator", typeid(TksDataSkinFrameRegulator),
       kFrame + Keys{E("kind", "rkhorizontal", "rkround")}},
      {Family::Control, "animate", typeid(TksDataSkinAnimateControl), kFrame},
      {Family::Control, "switch", typeid(TksDataSkinSwitchControl), kFrame},

      {Family::Object, "caption", typeid(TksDataSkinCaption),
       kObject + Keys{F("defaultcaption"), R("textrect"), N("font"), C("activefontcolor"),
                      E("alignment", "tarightjustify", "tacenter"), F("shadow"), C("shadowcolor"),
                      C("activeshadowcolor"), R("framerect"), R("activeframerect"), R("frametextrect"),
                      I("frameleftoffset"), I("framerightoffset")}},
      {Family::Object, "button", typeid(TksDataSkinButton), kObjectButton},
      {Family::Object, "stdbutton", typeid(TksDataSkinStdButton), kStdButton},
      {Family::Object, "mainmenubarbutton", typeid(TksDataSkinMainMenuBarButton), kStdButton},
      {Family::Object, "menuitem", typeid(TksDataSkinMenuItem),
       kObject + Keys{I("itemleftoffset"), I("itemrightoffset"), R("dividerrect"), I("dividerleftoffset"),
                      I("dividerrightoffset"), R("textrect"), N("font"), C("activefontcolor"),
                      C("unenabledfontcolor")}},
      {Family::Object, "mainmenuitem", typeid(TksDataSkinMainMenuItem), kMainMenuItem},
      {Family::Object, "mainmenubaritem", typeid(TksDataSkinMainMenuBarItem), kMainMenuItem},
      {Family::Object, "label", typeid(TksDataSkinLabel),
       kObject + Keys{N("font"), C("activefontcolor"), E("alignment", "taleftjustify", "tacenter"), S("textvalue")}},
      {Family::Object, "bitlabel", typeid(TksDataSkinBitLabel),
       kObject + Keys{S("textvalue"), I("symbolwidth"), I("symbolheight"), L("symbols"), F("transparent"),
                      C("transparentcolor", "16711935")},
       noMorph},
      {Family::Object, "trackbar", typeid(TksDataSkinTrackBar),
       kObject + Keys{R("buttonrect"), R("activebuttonrect"), P("beginpoint"), P("endpoint"), I("minvalue"),
                      I("maxvalue"), F("mousedownchangevalue"), F("buttontransparent"), C("buttontransparentcolor")},
       noMorph},
      {Family::Object, "gauge", typeid(TksDataSkinGauge),
       kObject + Keys{I("minvalue"), I("maxvalue"), E("kind", "gkvertical", "gkhorizontal")}},
      {Family::Object, "framegauge", typeid(TksDataSkinFrameGaugeObject), kFrameObject},
      {Family::Object, "frameregulator", typeid(TksDataSkinFrameRegulatorObject),
       kFrameObject + Keys{E("kind", "rkvertical", "rkround")}},
      {Family::Object, "animate", typeid(TksDataSkinAnimate),
       kObject + Keys{I("countframes", "1"), F("cycle"), F("buttonstyle"), I("timerinterval", "50"),
                      E("command", "cmmaximize", "cmdefault")},
       noMorph},
      {Family::Object, "switch", typeid(TksDataSkinSwitch), kObject},
      {Family::Object, "userobject", typeid(TksDataUserObject),
       Keys{F("rollup"), R("skinrect"), I("cursorindex", "-1")}},

      {Family::Popup, "POPUPWINDOW", typeid(TksDataSkinPopupWindow),
       Keys{I("windowpictureindex", "-1"), I("maskpictureindex", "-1")} + kCorners +
           Keys{I("cursorindex", "-1"), R("itemsrect"), C("scrollmarkercolor"), C("scrollmarkeractivecolor")} +
           kStretch},
      {Family::Hint, "HINTWINDOW", typeid(TksDataSkinHintWindow),
       Keys{I("windowpictureindex", "-1"), I("maskpictureindex", "-1")} + kCorners +
           Keys{R("clientrect"), N("font")} + kStretch},
  };
}

std::unique_ptr<TksDataSkinRecord> Create(const RecordCase& c, const std::string& section) {
  switch (c.family) {
    case Family::Control: return CreateSkinControlData(c.type, section);
    case Family::Object: return CreateSkinObjectData(c.type, section);
    case Family::Popup: return std::make_unique<TksDataSkinPopupWindow>();
    case Family::Hint: return std::make_unique<TksDataSkinHintWindow>();
  }
  return nullptr;
}

// (key, text) pairs of a section: written-in values (distinct per key, never a
// default) or the defaults a missing key yields.
using Pairs = std::vector<std::pair<std::string, std::string>>;

Pairs Expand(const Keys& keys, bool defaults) {
  Pairs out;
  int n = 10;
  for (const K& k : keys) {
    n += 10;
    std::string s = std::to_string(n);
    switch (k.kind) {
      case 'R':
        out.emplace_back(k.key, defaults ? "0,0,0,0"
                                         : s + "," + std::to_string(n + 1) + "," + std::to_string(n + 2) + "," +
                                               std::to_string(n + 3));
        break;
      case 'P': out.emplace_back(k.key, defaults ? "0,0" : s + "," + std::to_string(n + 5)); break;
      case 'I': out.emplace_back(k.key, defaults ? k.dflt : (n % 20 ? "-" + s : s)); break;
      case 'C': out.emplace_back(k.key, defaults ? k.dflt : std::to_string(n * 1000 + 7)); break;
      case 'F': out.emplace_back(k.key, defaults ? "0" : (n % 20 ? "0" : "1")); break;
      case 'S': out.emplace_back(k.key, defaults ? k.dflt : "s" + s); break;
      case 'E': out.emplace_back(k.key, defaults ? k.dflt : k.text); break;
      case 'N':
        out.emplace_back(k.key + "name", defaults ? "\xCB\xCE\xCC\xE5" : "face" + s);
        out.emplace_back(k.key + "height", defaults ? "14" : s);
        out.emplace_back(k.key + "style", defaults ? "" : "fsbold,fsunderline");
        out.emplace_back(k.key + "color", defaults ? "0" : std::to_string(n * 1000 + 3));
        break;
      case 'L':
        if (defaults) {
          out.emplace_back(k.key + "linecount", "0");
        } else {
          out.emplace_back(k.key + "linecount", "2");
          out.emplace_back(k.key + "line0", "a" + s);
          out.emplace_back(k.key + "line1", "b" + s);
        }
        break;
    }
  }
  return out;
}

Pairs SectionPairs(const IniTable& ini, const std::string& section) {
  Pairs out;
  for (const std::string& key : ini.ReadSectionKeys(section)) out.emplace_back(key, ini.ReadString(section, key, "?"));
  return out;
}

TEST(SkinRecords, EveryClassReadsAndWritesItsKeysInOrder) {
  for (const RecordCase& c : AllRecords()) {
    SCOPED_TRACE(c.type);
    const std::string section = c.family == Family::Popup || c.family == Family::Hint ? c.type : "sect_" + c.type;

    // Written in: distinct non-default values; read, then written out.
    IniTable in;
    Pairs input = Expand(c.keys, false);
    for (const auto& [key, text] : input) in.WriteString(section, key, text);
    std::unique_ptr<TksDataSkinRecord> record = Create(c, section);
    ASSERT_TRUE(record);
    EXPECT_TRUE(std::type_index(typeid(*record)) == c.cls);
    EXPECT_EQ(record->IDName, section);
    record->ReadSection(in);

    IniTable out;
    out.WriteString(section, "stale", "1");  // erased by the write
    out.WriteString("other", "k", "v");
    record->WriteSection(out);
    Pairs expected = input;
    for (auto& [key, text] : expected)
      if (auto f = c.fixed.find(key); f != c.fixed.end()) text = f->second;
    EXPECT_EQ(SectionPairs(out, section), expected);
    EXPECT_EQ(out.ReadString("other", "k", ""), "v");

    // Read again from what was written: the same record.
    std::unique_ptr<TksDataSkinRecord> again = Create(c, section);
    again->ReadSection(out);
    IniTable out2;
    again->WriteSection(out2);
    EXPECT_EQ(SectionPairs(out2, section), expected);

    // A missing section: every key's default.
    std::unique_ptr<TksDataSkinRecord> fresh = Create(c, section);
    fresh->ReadSection(IniTable());
    IniTable defaults;
    fresh->WriteSection(defaults);
    EXPECT_EQ(SectionPairs(defaults, section), Expand(c.keys, true));
  }
}

TEST(SkinRecords, TypeNamesAreExact) {
  EXPECT_EQ(CreateSkinControlData("Button", "b"), nullptr);
  EXPECT_EQ(CreateSkinControlData("framecontrol", "b"), nullptr);
  EXPECT_EQ(CreateSkinControlData("", "b"), nullptr);
  EXPECT_EQ(CreateSkinObjectData("STDBUTTON", "b"), nullptr);
  EXPECT_EQ(CreateSkinObjectData("checkradio", "b"), nullptr);
}

TEST(SkinRecords, CaptionButtonCommands) {
  IniTable t = IniTable::FromText(
      "[tray]\ncommand=cmminimizetotray\n[upper]\ncommand=CMCLOSE\n[close]\ncommand=cmclose\n"
      "[sys]\ncommand=cmsysmenu\n[none]\n");
  auto read = [&](const char* section) {
    TksDataSkinStdButton b(section);
    b.ReadSection(t);
    return int(b.command);
  };
  EXPECT_EQ(read("tray"), 6);
  EXPECT_EQ(read("upper"), 6);
  EXPECT_EQ(read("close"), 0);
  EXPECT_EQ(read("sys"), 3);
  EXPECT_EQ(read("none"), 4);

  TksDataSkinStdButton b("w");
  b.command = SkinCommand::cmMinimizeToTray;
  IniTable w;
  b.WriteSection(w);
  EXPECT_EQ(w.ReadString("w", "command", ""), "cmminimizetotray");
}

TEST(SkinRecords, FixedValues) {
  IniTable t = IniTable::FromText(
      "[zero]\nframescount=0\n[neg]\nframescount=-4\n[three]\nframescount=3\n"
      "[ud]\nlefttoppoint=3,4\nrighttoppoint=5,6\nleftbottompoint=7,8\nrightbottompoint=9,10\n"
      "clientrect=1,2,30,40\nupbuttonrect=1,2,3,4\n"
      "[morph]\nmorphing=1\nmorphkind=mkpush\n");
  auto frames = [&](const char* section) {
    TksDataSkinFrameGauge g(section);
    g.ReadSection(t);
    return g.framescount;
  };
  EXPECT_EQ(frames("zero"), 1);
  EXPECT_EQ(frames("neg"), 1);
  EXPECT_EQ(frames("three"), 3);
  EXPECT_EQ(frames("missing"), 1);

  TksDataSkinUpDownControl ud("ud");
  ud.ReadSection(t);
  EXPECT_EQ(ud.lefttoppoint, (Point{0, 0}));
  EXPECT_EQ(ud.righttoppoint, (Point{0, 0}));
  EXPECT_EQ(ud.leftbottompoint, (Point{0, 0}));
  EXPECT_EQ(ud.rightbottompoint, (Point{0, 0}));
  EXPECT_TRUE(ud.clientrect.IsEmpty());
  EXPECT_EQ(ud.upbuttonrect, (Rect{1, 2, 3, 4}));

  TksDataSkinButton plain("morph");
  plain.ReadSection(t);
  EXPECT_TRUE(plain.morphing);
  EXPECT_EQ(plain.morphkind, MorphKind::mkPush);
  TksDataSkinBitLabel bits("morph");
  bits.ReadSection(t);
  EXPECT_FALSE(bits.morphing);
  EXPECT_EQ(bits.morphkind, MorphKind::mkPush);
  TksDataSkinAnimate anim("morph");
  anim.ReadSection(t);
  EXPECT_FALSE(anim.morphing);
}

TEST(SkinRecords, FieldsOfTheMainWindowRecords) {
  IniTable t = IniTable::FromText(
      "[statusbar]\npictureindex=2\nskinrect=6,242,74,261\nfontstyle=fsitalic,fsbold\n"
      "[combobox]\nlistboxname=listbox\nbuttonrect=60,2,77,19\n"
      "[user]\nhint=tip\nrollup=1\nskinrect=1,2,3,4\ncursorindex=2\n");
  TksDataSkinPanelControl panel("statusbar");
  panel.ReadSection(t);
  EXPECT_EQ(panel.pictureindex, 2);
  EXPECT_EQ(panel.skinrect, (Rect{6, 242, 74, 261}));
  EXPECT_EQ(panel.bgpictureindex, -1);
  EXPECT_EQ(panel.alignment, Alignment::taCenter);
  EXPECT_EQ(panel.font.style, fsBold | fsItalic);

  TksDataSkinComboBox combo("combobox");
  combo.ReadSection(t);
  EXPECT_EQ(combo.listboxname, "listbox");
  EXPECT_EQ(combo.buttonrect, (Rect{60, 2, 77, 19}));
  TksDataSkinListBox list("listbox");
  list.ReadSection(t);
  EXPECT_EQ(list.vscrollbarname, "vscrollbar");
  EXPECT_EQ(list.pictureindex, -1);

  TksDataUserObject user("user");
  user.ReadSection(t);
  EXPECT_EQ(user.hint, "");  // the base keys are not read
  EXPECT_TRUE(user.rollup);
  EXPECT_EQ(user.skinrect, (Rect{1, 2, 3, 4}));
  EXPECT_EQ(user.cursorindex, 2);
  EXPECT_EQ(user.activepictureindex, -1);
}

}  // namespace
}  // namespace kelmar
