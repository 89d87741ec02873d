#include "skin/data/skin_object_data.h"

namespace kelmar {

namespace {

constexpr std::string_view kSkinCommandTexts[] = {"cmclose",   "cmmaximize", "cmminimize",      "cmsysmenu",
                                                  "cmdefault", "cmrollup",   "cmminimizetotray"};
constexpr std::string_view kGaugeKindTexts[] = {"gkhorizontal", "gkvertical"};

void VisitFont(SkinFieldVisitor& v, SkinFont& font) { v.Font("font", font); }

void VisitCornerPoints(SkinFieldVisitor& v, Point& lt, Point& rt, Point& lb, Point& rb) {
  v.PointKey("lefttoppoint", lt);
  v.PointKey("righttoppoint", rt);
  v.PointKey("leftbottompoint", lb);
  v.PointKey("rightbottompoint", rb);
}

void VisitStretchFlags(SkinFieldVisitor& v, bool& left, bool& right, bool& top, bool& bottom) {
  v.Flag("leftstretch", left);
  v.Flag("rightstretch", right);
  v.Flag("topstretch", top);
  v.Flag("bottomstretch", bottom);
}

}  // namespace

const NamedValues kSkinCommandNames{kSkinCommandTexts, int32_t(SkinCommand::cmDefault),
                                    int32_t(SkinCommand::cmMinimizeToTray)};
const NamedValues kGaugeKindNames{kGaugeKindTexts, 0, 1};

void TksDataSkinObject::VisitFields(SkinFieldVisitor& v) {
  v.String("hint", hint, "");
  v.Flag("rollup", rollup);
  v.Integer("activepictureindex", activepictureindex, -1);
  v.Flag("skinrectinapicture", skinrectinapicture);
  v.Integer("cursorindex", cursorindex, -1);
  v.RectKey("skinrect", skinrect);
  v.RectKey("activeskinrect", activeskinrect);
  v.RectKey("inactiveskinrect", inactiveskinrect);
  v.Flag("morphing", morphing);
  v.Enum("morphkind", morphkind, kMorphKindNames);
}

void TksDataSkinCaption::VisitFields(SkinFieldVisitor& v) {
  TksDataSkinObject::VisitFields(v);
  v.Flag("defaultcaption", defaultcaption);
  v.RectKey("textrect", textrect);
  VisitFont(v, font);
  v.Color("activefontcolor", activefontcolor, 0);
  v.Enum("alignment", alignment, kAlignmentNames);
  v.Flag("shadow", shadow);
  v.Color("shadowcolor", shadowcolor, 0);
  v.Color("activeshadowcolor", activeshadowcolor, 0);
  v.RectKey("framerect", framerect);
  v.RectKey("activeframerect", activeframerect);
  v.RectKey("frametextrect", frametextrect);
  v.Length("frameleftoffset", frameleftoffset, 0);
  v.Length("framerightoffset", framerightoffset, 0);
}

void TksDataSkinButton::VisitFields(SkinFieldVisitor& v) {
  TksDataSkinObject::VisitFields(v);
  v.RectKey("downrect", downrect);
  v.RectKey("disableskinrsect", disableskinrsect);
  v.Integer("groupindex", groupindex, -1);
}

void TksDataSkinStdButton::VisitFields(SkinFieldVisitor& v) {
  TksDataSkinButton::VisitFields(v);
  v.Enum("command", command, kSkinCommandNames);
  v.RectKey("restorerect", restorerect);
  v.RectKey("restoreactiverect", restoreactiverect);
  v.RectKey("restoredownrect", restoredownrect);
}

void TksDataSkinMenuItem::VisitFields(SkinFieldVisitor& v) {
  TksDataSkinObject::VisitFields(v);
  v.Length("itemleftoffset", itemleftoffset, 0);
  v.Length("itemrightoffset", itemrightoffset, 0);
  v.RectKey("dividerrect", dividerrect);
  v.Length("dividerleftoffset", dividerleftoffset, 0);
  v.Length("dividerrightoffset", dividerrightoffset, 0);
  v.RectKey("textrect", textrect);
  VisitFont(v, font);
  v.Color("activefontcolor", activefontcolor, 0);
  v.Color("unenabledfontcolor", unenabledfontcolor, 0);
}

void TksDataSkinMainMenuItem::VisitFields(SkinFieldVisitor& v) {
  TksDataSkinObject::VisitFields(v);
  v.Length("itemleftoffset", itemleftoffset, 0);
  v.Length("itemrightoffset", itemrightoffset, 0);
  v.RectKey("downrect", downrect);
  v.RectKey("textrect", textrect);
  VisitFont(v, font);
  v.Color("activefontcolor", activefontcolor, 0);
  v.Color("downfontcolor", downfontcolor, 0);
  v.Color("unenabledfontcolor", unenabledfontcolor, 0);
}

void TksDataSkinLabel::VisitFields(SkinFieldVisitor& v) {
  TksDataSkinObject::VisitFields(v);
  VisitFont(v, font);
  v.Color("activefontcolor", activefontcolor, 0);
  v.Enum("alignment", alignment, kAlignmentNames);
  v.String("textvalue", textvalue, "");
}

void TksDataSkinBitLabel::VisitFields(SkinFieldVisitor& v) {
  TksDataSkinObject::VisitFields(v);
  v.String("textvalue", textvalue, "");
  v.Length("symbolwidth", symbolwidth, 0);
  v.Length("symbolheight", symbolheight, 0);
  v.NumberedLines("symbols", symbols);
  v.Flag("transparent", transparent);
  v.Color("transparentcolor", transparentcolor, 0xFF00FF);
}

void TksDataSkinBitLabel::ReadSection(const IniTable& ini) {
  TksDataSkinObject::ReadSection(ini);
  morphing = false;
}

void TksDataSkinTrackBar::VisitFields(SkinFieldVisitor& v) {
  TksDataSkinObject::VisitFields(v);
  v.RectKey("buttonrect", buttonrect);
  v.RectKey("activebuttonrect", activebuttonrect);
  v.PointKey("beginpoint", beginpoint);
  v.PointKey("endpoint", endpoint);
  v.Integer("minvalue", minvalue, 0);
  v.Integer("maxvalue", maxvalue, 0);
  v.Flag("mousedownchangevalue", mousedownchangevalue);
  v.Flag("buttontransparent", buttontransparent);
  v.Color("buttontransparentcolor", buttontransparentcolor, 0);
}

void TksDataSkinTrackBar::ReadSection(const IniTable& ini) {
  TksDataSkinObject::ReadSection(ini);
  morphing = false;
}

void TksDataSkinGauge::VisitFields(SkinFieldVisitor& v) {
  TksDataSkinObject::VisitFields(v);
  v.Integer("minvalue", minvalue, 0);
  v.Integer("maxvalue", maxvalue, 0);
  v.Enum("kind", kind, kGaugeKindNames);
}

void TksDataSkinFrameObject::VisitFields(SkinFieldVisitor& v) {
  TksDataSkinObject::VisitFields(v);
  v.Integer("minvalue", minvalue, 0);
  v.Integer("maxvalue", maxvalue, 0);
  v.Integer("countframes", countframes, 0);
  v.Enum("framesplacement", framesplacement, kFramesPlacementNames);
}

void TksDataSkinFrameRegulatorObject::VisitFields(SkinFieldVisitor& v) {
  TksDataSkinFrameObject::VisitFields(v);
  v.Enum("kind", kind, kRegulatorKindNames);
}

void TksDataSkinAnimate::VisitFields(SkinFieldVisitor& v) {
  TksDataSkinObject::VisitFields(v);
  v.Integer("countframes", countframes, 1);
  v.Flag("cycle", cycle);
  v.Flag("buttonstyle", buttonstyle);
  v.Integer("timerinterval", timerinterval, 50);
  v.Enum("command", command, kSkinCommandNames);
}

void TksDataSkinAnimate::ReadSection(const IniTable& ini) {
  TksDataSkinObject::ReadSection(ini);
  morphing = false;
}

void TksDataUserObject::VisitFields(SkinFieldVisitor& v) {
  v.Flag("rollup", rollup);
  v.RectKey("skinrect", skinrect);
  v.Integer("cursorindex", cursorindex, -1);
}

void TksDataSkinPopupWindow::VisitFields(SkinFieldVisitor& v) {
  v.Integer("windowpictureindex", windowpictureindex, -1);
  v.Integer("maskpictureindex", maskpictureindex, -1);
  VisitCornerPoints(v, lefttoppoint, righttoppoint, leftbottompoint, rightbottompoint);
  v.Integer("cursorindex", cursorindex, -1);
  v.RectKey("itemsrect", itemsrect);
  v.Color("scrollmarkercolor", scrollmarkercolor, 0);
  v.Color("scrollmarkeractivecolor", scrollmarkeractivecolor, 0);
  VisitStretchFlags(v, leftstretch, rightstretch, topstretch, bottomstretch);
}

void TksDataSkinHintWindow::VisitFields(SkinFieldVisitor& v) {
  v.Integer("windowpictureindex", windowpictureindex, -1);
  v.Integer("maskpictureindex", maskpictureindex, -1);
  VisitCornerPoints(v, lefttoppoint, righttoppoint, leftbottompoint, rightbottompoint);
  v.RectKey("clientrect", clientrect);
  VisitFont(v, font);
  VisitStretchFlags(v, leftstretch, rightstretch, topstretch, bottomstretch);
}

namespace {

template <class T>
std::unique_ptr<TksDataSkinObject> Make(std::string idName) {
  return std::make_unique<T>(std::move(idName));
}

struct ObjectType {
  std::string_view name;
  std::unique_ptr<TksDataSkinObject> (*create)(std::string);
};

constexpr ObjectType kObjectTypes[] = {
    {"caption", Make<TksDataSkinCaption>},
    {"button", Make<TksDataSkinButton>},
    {"stdbutton", Make<TksDataSkinStdButton>},
    {"mainmenubarbutton", Make<TksDataSkinMainMenuBarButton>},
    {"menuitem", Make<TksDataSkinMenuItem>},
    {"mainmenuitem", Make<TksDataSkinMainMenuItem>},
    {"mainmenubaritem", Make<TksDataSkinMainMenuBarItem>},
    {"label", Make<TksDataSkinLabel>},
    {"bitlabel", Make<TksDataSkinBitLabel>},
    {"trackbar", Make<TksDataSkinTrackBar>},
    {"gauge", Make<TksDataSkinGauge>},
    {"framegauge", Make<TksDataSkinFrameGaugeObject>},
    {"frameregulator", Make<TksDataSkinFrameRegulatorObject>},
    {"animate", Make<TksDataSkinAnimate>},
    {"switch", Make<TksDataSkinSwitch>},
    {"userobject", Make<TksDataUserObject>},
};

}  // namespace

std::unique_ptr<TksDataSkinObject> CreateSkinObjectData(std::string_view typeName, std::string idName) {
  for (const ObjectType& t : kObjectTypes)
    if (t.name == typeName) return t.create(std::move(idName));
  return nullptr;
}

}  // namespace kelmar
