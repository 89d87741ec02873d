#include "skin/data/skin_control_data.h"

namespace kelmar {

namespace {

// The up and down button pictures of list boxes, scroll bars, spin edits and
// up-down controls, in key order.
void VisitUpDownButtons(SkinFieldVisitor& v, Rect& up, Rect& activeUp, Rect& downUp, Rect& down, Rect& activeDown,
                        Rect& downDown) {
  v.RectKey("upbuttonrect", up);
  v.RectKey("activeupbuttonrect", activeUp);
  v.RectKey("downupbuttonrect", downUp);
  v.RectKey("downbuttonrect", down);
  v.RectKey("activedownbuttonrect", activeDown);
  v.RectKey("downdownbuttonrect", downDown);
}

}  // namespace

void TksDataSkinControl::VisitFields(SkinFieldVisitor& v) {
  v.Integer("pictureindex", pictureindex, -1);
  v.Integer("maskpictureindex", maskpictureindex, -1);
  v.Integer("cursorindex", cursorindex, -1);
  v.RectKey("skinrect", skinrect);
}

void TksDataSkinCustomControl::VisitFields(SkinFieldVisitor& v) {
  TksDataSkinControl::VisitFields(v);
  v.PointKey("lefttoppoint", lefttoppoint);
  v.PointKey("righttoppoint", righttoppoint);
  v.PointKey("leftbottompoint", leftbottompoint);
  v.PointKey("rightbottompoint", rightbottompoint);
  v.RectKey("clientrect", clientrect);
}

void TksDataSkinButtonControl::VisitFields(SkinFieldVisitor& v) {
  TksDataSkinCustomControl::VisitFields(v);
  v.Font("font", font);
  v.Color("activefontcolor", activefontcolor, 0);
  v.Color("disabledfontcolor", disabledfontcolor, 0);
  v.Color("downfontcolor", downfontcolor, 0);
  v.Flag("morphing", morphing);
  v.Enum("morphkind", morphkind, kMorphKindNames);
  v.RectKey("activeskinrect", activeskinrect);
  v.RectKey("downskinrect", downskinrect);
  v.RectKey("disabledskinrect", disabledskinrect);
}

void TksDataSkinMenuButtonControl::VisitFields(SkinFieldVisitor& v) {
  TksDataSkinButtonControl::VisitFields(v);
  v.RectKey("trackbuttonrect", trackbuttonrect);
}

void TksDataSkinCheckRadioControl::VisitFields(SkinFieldVisitor& v) {
  TksDataSkinCustomControl::VisitFields(v);
  v.Font("font", font);
  v.Color("activefontcolor", activefontcolor, 0);
  v.Color("unenabledfontcolor", unenabledfontcolor, 0);
  v.Color("framefontcolor", framefontcolor, 0);
  v.Flag("morphing", morphing);
  v.Enum("morphkind", morphkind, kMorphKindNames);
  v.RectKey("activeskinrect", activeskinrect);
  v.RectKey("checkimagearea", checkimagearea);
  v.RectKey("textarea", textarea);
  v.RectKey("checkimagerect", checkimagerect);
  v.RectKey("uncheckimagerect", uncheckimagerect);
  v.RectKey("activecheckimagerect", activecheckimagerect);
  v.RectKey("activeuncheckimagerect", activeuncheckimagerect);
  v.RectKey("unenabledcheckimagerect", unenabledcheckimagerect);
  v.RectKey("unenableduncheckimagerect", unenableduncheckimagerect);
}

void TksDataSkinPanelControl::VisitFields(SkinFieldVisitor& v) {
  TksDataSkinCustomControl::VisitFields(v);
  v.Integer("bgpictureindex", bgpictureindex, -1);
  v.RectKey("captionrect", captionrect);
  v.Enum("alignment", alignment, kAlignmentNames);
  v.Font("font", font);
  v.RectKey("checkimagerect", checkimagerect);
  v.RectKey("uncheckimagerect", uncheckimagerect);
}

void TksDataSkinExPanelControl::VisitFields(SkinFieldVisitor& v) {
  TksDataSkinCustomControl::VisitFields(v);
  v.RectKey("rollhskinrect", rollhskinrect);
  v.RectKey("rollvskinrect", rollvskinrect);
  v.Length("rollleftoffset", rollleftoffset, 0);
  v.Length("rollrightoffset", rollrightoffset, 0);
  v.Length("rolltopoffset", rolltopoffset, 0);
  v.Length("rollbottomoffset", rollbottomoffset, 0);
  v.RectKey("rollvcaptionrect", rollvcaptionrect);
  v.RectKey("rollhcaptionrect", rollhcaptionrect);
  v.RectKey("closebuttonrect", closebuttonrect);
  v.RectKey("closebuttonactiverect", closebuttonactiverect);
  v.RectKey("closebuttondownrect", closebuttondownrect);
  v.RectKey("hrollbuttonrect", hrollbuttonrect);
  v.RectKey("hrollbuttonactiverect", hrollbuttonactiverect);
  v.RectKey("hrollbuttondownrect", hrollbuttondownrect);
  v.RectKey("hrestorebuttonrect", hrestorebuttonrect);
  v.RectKey("hrestorebuttonactiverect", hrestorebuttonactiverect);
  v.RectKey("hrestorebuttondownrect", hrestorebuttondownrect);
  v.RectKey("vrollbuttonrect", vrollbuttonrect);
  v.RectKey("vrollbuttonactiverect", vrollbuttonactiverect);
  v.RectKey("vrollbuttondownrect", vrollbuttondownrect);
  v.RectKey("vrestorebuttonrect", vrestorebuttonrect);
  v.RectKey("vrestorebuttonactiverect", vrestorebuttonactiverect);
  v.RectKey("vrestorebuttondownrect", vrestorebuttondownrect);
  v.RectKey("captionrect", captionrect);
  v.Font("font", font);
}

void TksDataSkinLabelControl::VisitFields(SkinFieldVisitor& v) {
  TksDataSkinCustomControl::VisitFields(v);
  v.Font("font", font);
}

void TksDataSkinStdLabelControl::VisitFields(SkinFieldVisitor& v) {
  TksDataSkinControl::VisitFields(v);
  v.Font("font", font);
  v.Color("activefontcolor", activefontcolor, 0xFF0000);
}

void TksDataSkinBitLabelControl::VisitFields(SkinFieldVisitor& v) {
  TksDataSkinCustomControl::VisitFields(v);
  v.RectKey("skintextrect", skintextrect);
  v.Length("symbolwidth", symbolwidth, 0);
  v.Length("symbolheight", symbolheight, 0);
  v.NumberedLines("symbols", symbols);
}

void TksDataSkinComboBox::VisitFields(SkinFieldVisitor& v) {
  TksDataSkinCustomControl::VisitFields(v);
  v.RectKey("itemrect", itemrect);
  v.RectKey("focusitemrect", focusitemrect);
  v.Length("itemleftoffset", itemleftoffset, 0);
  v.Length("itemrightoffset", itemrightoffset, 0);
  v.RectKey("itemtextrect", itemtextrect);
  v.Font("font", font);
  v.Color("focusfontcolor", focusfontcolor, 0);
  v.String("listboxname", listboxname, "");
  v.RectKey("buttonrect", buttonrect);
  v.RectKey("activebuttonrect", activebuttonrect);
  v.RectKey("downbuttonrect", downbuttonrect);
  v.RectKey("unenabledbuttonrect", unenabledbuttonrect);
}

void TksDataSkinListBox::VisitFields(SkinFieldVisitor& v) {
  TksDataSkinCustomControl::VisitFields(v);
  v.RectKey("itemrect", itemrect);
  v.RectKey("activeitemrect", activeitemrect);
  v.RectKey("focusitemrect", focusitemrect);
  v.Length("itemleftoffset", itemleftoffset, 0);
  v.Length("itemrightoffset", itemrightoffset, 0);
  v.RectKey("itemtextrect", itemtextrect);
  v.Font("font", font);
  v.Color("activefontcolor", activefontcolor, 0);
  v.Color("focusfontcolor", focusfontcolor, 0);
  v.RectKey("captionrect", captionrect);
  v.Font("captionfont", captionfont);
  VisitUpDownButtons(v, upbuttonrect, activeupbuttonrect, downupbuttonrect, downbuttonrect, activedownbuttonrect,
                     downdownbuttonrect);
  v.RectKey("checkbuttonrect", checkbuttonrect);
  v.RectKey("activecheckbuttonrect", activecheckbuttonrect);
  v.RectKey("downcheckbuttonrect", downcheckbuttonrect);
  v.String("vscrollbarname", vscrollbarname, "vscrollbar");
  v.String("hscrollbarname", hscrollbarname, "hscrollbar");
  v.String("bothhscrollbarname", bothhscrollbarname, "bothhscrollbar");
}

void TksDataSkinCheckListBox::VisitFields(SkinFieldVisitor& v) {
  TksDataSkinListBox::VisitFields(v);
  v.RectKey("checkimagerect", checkimagerect);
  v.RectKey("itemcheckrect", itemcheckrect);
  v.RectKey("uncheckimagerect", uncheckimagerect);
}

void TksDataSkinScrollBarControl::VisitFields(SkinFieldVisitor& v) {
  TksDataSkinCustomControl::VisitFields(v);
  v.RectKey("trackarea", trackarea);
  VisitUpDownButtons(v, upbuttonrect, activeupbuttonrect, downupbuttonrect, downbuttonrect, activedownbuttonrect,
                     downdownbuttonrect);
  v.RectKey("thumbrect", thumbrect);
  v.RectKey("activethumbrect", activethumbrect);
  v.RectKey("downthumbrect", downthumbrect);
  v.Length("thumboffset1", thumboffset1, 0);
  v.Length("thumboffset2", thumboffset2, 0);
  v.Flag("thumbtransparent", thumbtransparent);
  v.Color("thumbtransparentcolor", thumbtransparentcolor, 0);
  v.RectKey("glyphrect", glyphrect);
  v.RectKey("activeglyphrect", activeglyphrect);
  v.RectKey("downglyphrect", downglyphrect);
}

void TksDataSkinEditControl::VisitFields(SkinFieldVisitor& v) {
  TksDataSkinCustomControl::VisitFields(v);
  v.RectKey("activeskinrect", activeskinrect);
  v.Font("font", font);
  v.Color("disabledfontcolor", disabledfontcolor, 0);
  v.Color("activefontcolor", activefontcolor, 0);
  v.RectKey("buttonrect", buttonrect);
  v.RectKey("activebuttonrect", activebuttonrect);
  v.RectKey("downbuttonrect", downbuttonrect);
  v.RectKey("unenabledbuttonrect", unenabledbuttonrect);
}

void TksDataSkinMemoControl::VisitFields(SkinFieldVisitor& v) {
  TksDataSkinEditControl::VisitFields(v);
  v.Color("bgcolor", bgcolor, 0);
  v.Color("activebgcolor", activebgcolor, 0);
}

void TksDataSkinSpinEditControl::VisitFields(SkinFieldVisitor& v) {
  TksDataSkinCustomControl::VisitFields(v);
  v.RectKey("activeskinrect", activeskinrect);
  v.Font("font", font);
  v.Color("activefontcolor", activefontcolor, 0);
  v.Color("disabledfontcolor", disabledfontcolor, 0);
  VisitUpDownButtons(v, upbuttonrect, activeupbuttonrect, downupbuttonrect, downbuttonrect, activedownbuttonrect,
                     downdownbuttonrect);
}

void TksDataSkinUpDownControl::VisitFields(SkinFieldVisitor& v) {
  TksDataSkinCustomControl::VisitFields(v);
  VisitUpDownButtons(v, upbuttonrect, activeupbuttonrect, downupbuttonrect, downbuttonrect, activedownbuttonrect,
                     downdownbuttonrect);
}

void TksDataSkinUpDownControl::ReadSection(const IniTable& ini) {
  TksDataSkinCustomControl::ReadSection(ini);
  lefttoppoint = righttoppoint = leftbottompoint = rightbottompoint = Point{};
  clientrect = Rect{};
}

void TksDataSkinGaugeControl::VisitFields(SkinFieldVisitor& v) {
  TksDataSkinCustomControl::VisitFields(v);
  v.RectKey("progressarea", progressarea);
  v.RectKey("progressrect", progressrect);
  v.Length("beginoffset", beginoffset, 0);
  v.Length("endoffset", endoffset, 0);
  v.Flag("vertical", vertical);
  v.Font("font", font);
  v.Flag("progresstransparent", progresstransparent);
  v.Color("progresstransparentcolor", progresstransparentcolor, 0);
}

void TksDataSkinTrackBarControl::VisitFields(SkinFieldVisitor& v) {
  TksDataSkinCustomControl::VisitFields(v);
  v.RectKey("trackarea", trackarea);
  v.RectKey("buttonrect", buttonrect);
  v.RectKey("activebuttonrect", activebuttonrect);
  v.Flag("vertical", vertical);
  v.Flag("buttontransparent", buttontransparent);
  v.Color("buttontransparentcolor", buttontransparentcolor, 0);
}

void TksDataSkinScrollBoxControl::VisitFields(SkinFieldVisitor& v) {
  TksDataSkinCustomControl::VisitFields(v);
  v.Integer("bgpictureindex", bgpictureindex, -1);
}

void TksDataSkinControlBar::VisitFields(SkinFieldVisitor& v) {
  TksDataSkinCustomControl::VisitFields(v);
  v.RectKey("itemrect", itemrect);
  v.Integer("bgpictureindex", bgpictureindex, -1);
}

void TksDataSkinMainMenuBar::VisitFields(SkinFieldVisitor& v) {
  TksDataSkinControl::VisitFields(v);
  v.RectKey("itemsrect", itemsrect);
  v.String("menubaritem", menubaritem, "");
  v.String("closebutton", closebutton, "");
  v.String("minbutton", minbutton, "");
  v.String("maxbutton", maxbutton, "");
  v.String("sysmenubutton", sysmenubutton, "");
  v.Color("trackmarkcolor", trackmarkcolor, 0);
  v.Color("trackmarkactivecolor", trackmarkactivecolor, 0);
}

void TksDataSkinTabControl::VisitFields(SkinFieldVisitor& v) {
  TksDataSkinControl::VisitFields(v);
  v.RectKey("tabrect", tabrect);
  v.RectKey("activetabrect", activetabrect);
  v.RectKey("focustabrect", focustabrect);
  v.RectKey("mouseintabrect", mouseintabrect);
  v.RectKey("clientrect", clientrect);
  v.Integer("bgpictureindex", bgpictureindex, -1);
  v.PointKey("lefttoppoint", lefttoppoint);
  v.PointKey("righttoppoint", righttoppoint);
  v.PointKey("leftbottompoint", leftbottompoint);
  v.PointKey("rightbottompoint", rightbottompoint);
  v.Length("tableftoffset", tableftoffset, 0);
  v.Length("tabrightoffset", tabrightoffset, 0);
  v.RectKey("tabsbgrect", tabsbgrect);
  v.Font("font", font);
  v.Color("activefontcolor", activefontcolor, 0);
  v.Color("focusfontcolor", focusfontcolor, 0);
  v.Color("mouseinfontcolor", mouseinfontcolor, 0);
  v.String("updown", updown, "");
}

void TksDataSkinGridControl::VisitFields(SkinFieldVisitor& v) {
  TksDataSkinControl::VisitFields(v);
  v.RectKey("fixedcellrect", fixedcellrect);
  v.RectKey("selectcellrect", selectcellrect);
  v.RectKey("focuscellrect", focuscellrect);
  v.Length("fixedcellleftoffset", fixedcellleftoffset, 0);
  v.Length("fixedcellrightoffset", fixedcellrightoffset, 0);
  v.RectKey("fixedcelltextrect", fixedcelltextrect);
  v.Length("cellleftoffset", cellleftoffset, 0);
  v.Length("cellrightoffset", cellrightoffset, 0);
  v.RectKey("celltextrect", celltextrect);
  v.Color("linescolor", linescolor, 0);
  v.Color("bgcolor", bgcolor, 0);
  v.Integer("bgpictureindex", bgpictureindex, -1);
  v.Font("font", font);
  v.Color("selectfontcolor", selectfontcolor, 0);
  v.Color("focusfontcolor", focusfontcolor, 0);
  v.Font("fixedfont", fixedfont);
}

void TksDataSkinFontBgControl::VisitFields(SkinFieldVisitor& v) {
  TksDataSkinControl::VisitFields(v);
  v.Font("font", font);
  v.Color("bgcolor", bgcolor, 0);
}

void TksDataSkinSlider::VisitFields(SkinFieldVisitor& v) {
  TksDataSkinControl::VisitFields(v);
  v.Color("bgcolor", bgcolor, 0);
  v.RectKey("hrulerrect", hrulerrect);
  v.RectKey("hthumbrect", hthumbrect);
  v.RectKey("vrulerrect", vrulerrect);
  v.RectKey("vthumbrect", vthumbrect);
  v.Length("edgesize", edgesize, 0);
  v.Color("pointscolor", pointscolor, 0);
}

void TksDataSkinBevel::VisitFields(SkinFieldVisitor& v) {
  TksDataSkinControl::VisitFields(v);
  v.Color("lightcolor", lightcolor, 0);
  v.Color("darkcolor", darkcolor, 0);
}

void TksDataSkinFrameControl::VisitFields(SkinFieldVisitor& v) {
  TksDataSkinControl::VisitFields(v);
  v.Integer("framescount", framescount, 1);
  v.Enum("framesplacement", framesplacement, kFramesPlacementNames);
}

void TksDataSkinFrameControl::ReadSection(const IniTable& ini) {
  TksDataSkinControl::ReadSection(ini);
  if (framescount < 1) framescount = 1;
}

void TksDataSkinFrameRegulator::VisitFields(SkinFieldVisitor& v) {
  TksDataSkinFrameControl::VisitFields(v);
  v.Enum("kind", kind, kRegulatorKindNames);
}

namespace {

template <class T>
std::unique_ptr<TksDataSkinControl> Make(std::string idName) {
  return std::make_unique<T>(std::move(idName));
}

struct ControlType {
  std::string_view name;
  std::unique_ptr<TksDataSkinControl> (*create)(std::string);
};

constexpr ControlType kControlTypes[] = {
    {"button", Make<TksDataSkinButtonControl>},
    {"menubutton", Make<TksDataSkinMenuButtonControl>},
    {"checkradio", Make<TksDataSkinCheckRadioControl>},
    {"panel", Make<TksDataSkinPanelControl>},
    {"expanel", Make<TksDataSkinExPanelControl>},
    {"label", Make<TksDataSkinLabelControl>},
    {"stdlabel", Make<TksDataSkinStdLabelControl>},
    {"bitlabel", Make<TksDataSkinBitLabelControl>},
    {"combobox", Make<TksDataSkinComboBox>},
    {"listbox", Make<TksDataSkinListBox>},
    {"checklistbox", Make<TksDataSkinCheckListBox>},
    {"scrollbar", Make<TksDataSkinScrollBarControl>},
    {"edit", Make<TksDataSkinEditControl>},
    {"memo", Make<TksDataSkinMemoControl>},
    {"spinedit", Make<TksDataSkinSpinEditControl>},
    {"updown", Make<TksDataSkinUpDownControl>},
    {"gauge", Make<TksDataSkinGaugeControl>},
    {"trackbar", Make<TksDataSkinTrackBarControl>},
    {"splitter", Make<TksDataSkinSplitterControl>},
    {"scrollbox", Make<TksDataSkinScrollBoxControl>},
    {"controlbar", Make<TksDataSkinControlBar>},
    {"mainmenubar", Make<TksDataSkinMainMenuBar>},
    {"tab", Make<TksDataSkinTabControl>},
    {"grid", Make<TksDataSkinGridControl>},
    {"treeview", Make<TksDataSkinTreeView>},
    {"listview", Make<TksDataSkinListView>},
    {"richedit", Make<TksDataSkinRichEdit>},
    {"slider", Make<TksDataSkinSlider>},
    {"bevel", Make<TksDataSkinBevel>},
    {"framegauge", Make<TksDataSkinFrameGauge>},
    {"frameregulator", Make<TksDataSkinFrameRegulator>},
    {"animate", Make<TksDataSkinAnimateControl>},
    {"switch", Make<TksDataSkinSwitchControl>},
};

}  // namespace

std::unique_ptr<TksDataSkinControl> CreateSkinControlData(std::string_view typeName, std::string idName) {
  for (const ControlType& t : kControlTypes)
    if (t.name == typeName) return t.create(std::move(idName));
  return nullptr;
}

}  // namespace kelmar
