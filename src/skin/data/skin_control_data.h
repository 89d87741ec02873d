#pragma once
// The control data records of [SKINCONTROLS]: one record per entry, of the
// class that the entry's type name selects, reading its section's keys.
// Fields bear the names of their keys; a font group of keys ("fontname",
// "fontheight", "fontstyle", "fontcolor") is one SkinFont field named after
// the keys' prefix ("font", "captionfont", "fixedfont").
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "skin/data/skin_record.h"

namespace kelmar {

class TksDataSkinControl : public TksDataSkinRecord {
 public:
  using TksDataSkinRecord::TksDataSkinRecord;
  void VisitFields(SkinFieldVisitor& v) override;

  int32_t pictureindex = -1;
  int32_t maskpictureindex = -1;
  int32_t cursorindex = -1;
  Rect skinrect;
};

class TksDataSkinCustomControl : public TksDataSkinControl {
 public:
  using TksDataSkinControl::TksDataSkinControl;
  void VisitFields(SkinFieldVisitor& v) override;

  Point lefttoppoint, righttoppoint, leftbottompoint, rightbottompoint;
  Rect clientrect;
};

class TksDataSkinButtonControl : public TksDataSkinCustomControl {
 public:
  using TksDataSkinCustomControl::TksDataSkinCustomControl;
  void VisitFields(SkinFieldVisitor& v) override;

  SkinFont font;
  uint32_t activefontcolor = 0, disabledfontcolor = 0, downfontcolor = 0;
  bool morphing = false;
  MorphKind morphkind = MorphKind::mkDefault;
  Rect activeskinrect, downskinrect, disabledskinrect;
};

class TksDataSkinMenuButtonControl : public TksDataSkinButtonControl {
 public:
  using TksDataSkinButtonControl::TksDataSkinButtonControl;
  void VisitFields(SkinFieldVisitor& v) override;

  Rect trackbuttonrect;
};

class TksDataSkinCheckRadioControl : public TksDataSkinCustomControl {
 public:
  using TksDataSkinCustomControl::TksDataSkinCustomControl;
  void VisitFields(SkinFieldVisitor& v) override;

  SkinFont font;
  uint32_t activefontcolor = 0, unenabledfontcolor = 0, framefontcolor = 0;
  bool morphing = false;
  MorphKind morphkind = MorphKind::mkDefault;
  Rect activeskinrect, checkimagearea, textarea, checkimagerect, uncheckimagerect, activecheckimagerect,
      activeuncheckimagerect, unenabledcheckimagerect, unenableduncheckimagerect;
};

class TksDataSkinPanelControl : public TksDataSkinCustomControl {
 public:
  using TksDataSkinCustomControl::TksDataSkinCustomControl;
  void VisitFields(SkinFieldVisitor& v) override;

  int32_t bgpictureindex = -1;
  Rect captionrect;
  Alignment alignment = Alignment::taCenter;
  SkinFont font;
  Rect checkimagerect, uncheckimagerect;
};

class TksDataSkinExPanelControl : public TksDataSkinCustomControl {
 public:
  using TksDataSkinCustomControl::TksDataSkinCustomControl;
  void VisitFields(SkinFieldVisitor& v) override;

  Rect rollhskinrect, rollvskinrect;
  int32_t rollleftoffset = 0, rollrightoffset = 0, rolltopoffset = 0, rollbottomoffset = 0;
  Rect rollvcaptionrect, rollhcaptionrect;
  Rect closebuttonrect, closebuttonactiverect, closebuttondownrect;
  Rect hrollbuttonrect, hrollbuttonactiverect, hrollbuttondownrect;
  Rect hrestorebuttonrect, hrestorebuttonactiverect, hrestorebuttondownrect;
  Rect vrollbuttonrect, vrollbuttonactiverect, vrollbuttondownrect;
  Rect vrestorebuttonrect, vrestorebuttonactiverect, vrestorebuttondownrect;
  Rect captionrect;
  SkinFont font;
};

class TksDataSkinLabelControl : public TksDataSkinCustomControl {
 public:
  using TksDataSkinCustomControl::TksDataSkinCustomControl;
  void VisitFields(SkinFieldVisitor& v) override;

  SkinFont font;
};

class TksDataSkinStdLabelControl : public TksDataSkinControl {
 public:
  using TksDataSkinControl::TksDataSkinControl;
  void VisitFields(SkinFieldVisitor& v) override;

  SkinFont font;
  uint32_t activefontcolor = 0xFF0000;
};

class TksDataSkinBitLabelControl : public TksDataSkinCustomControl {
 public:
  using TksDataSkinCustomControl::TksDataSkinCustomControl;
  void VisitFields(SkinFieldVisitor& v) override;

  Rect skintextrect;
  int32_t symbolwidth = 0, symbolheight = 0;
  std::vector<std::string> symbols;
};

class TksDataSkinComboBox : public TksDataSkinCustomControl {
 public:
  using TksDataSkinCustomControl::TksDataSkinCustomControl;
  void VisitFields(SkinFieldVisitor& v) override;

  Rect itemrect, focusitemrect;
  int32_t itemleftoffset = 0, itemrightoffset = 0;
  Rect itemtextrect;
  SkinFont font;
  uint32_t focusfontcolor = 0;
  std::string listboxname;
  Rect buttonrect, activebuttonrect, downbuttonrect, unenabledbuttonrect;
};

class TksDataSkinListBox : public TksDataSkinCustomControl {
 public:
  using TksDataSkinCustomControl::TksDataSkinCustomControl;
  void VisitFields(SkinFieldVisitor& v) override;

  Rect itemrect, activeitemrect, focusitemrect;
  int32_t itemleftoffset = 0, itemrightoffset = 0;
  Rect itemtextrect;
  SkinFont font;
  uint32_t activefontcolor = 0, focusfontcolor = 0;
  Rect captionrect;
  SkinFont captionfont;
  Rect upbuttonrect, activeupbuttonrect, downupbuttonrect, downbuttonrect, activedownbuttonrect,
      downdownbuttonrect;
  Rect checkbuttonrect, activecheckbuttonrect, downcheckbuttonrect;
  std::string vscrollbarname = "vscrollbar";
  std::string hscrollbarname = "hscrollbar";
  std::string bothhscrollbarname = "bothhscrollbar";
};

class TksDataSkinCheckListBox : public TksDataSkinListBox {
 public:
  using TksDataSkinListBox::TksDataSkinListBox;
  void VisitFields(SkinFieldVisitor& v) override;

  Rect checkimagerect, itemcheckrect, uncheckimagerect;
};

class TksDataSkinScrollBarControl : public TksDataSkinCustomControl {
 public:
  using TksDataSkinCustomControl::TksDataSkinCustomControl;
  void VisitFields(SkinFieldVisitor& v) override;

  Rect trackarea;
  Rect upbuttonrect, activeupbuttonrect, downupbuttonrect, downbuttonrect, activedownbuttonrect,
      downdownbuttonrect;
  Rect thumbrect, activethumbrect, downthumbrect;
  int32_t thumboffset1 = 0, thumboffset2 = 0;
  bool thumbtransparent = false;
  uint32_t thumbtransparentcolor = 0;
  Rect glyphrect, activeglyphrect, downglyphrect;
};

class TksDataSkinEditControl : public TksDataSkinCustomControl {
 public:
  using TksDataSkinCustomControl::TksDataSkinCustomControl;
  void VisitFields(SkinFieldVisitor& v) override;

  Rect activeskinrect;
  SkinFont font;
  uint32_t disabledfontcolor = 0, activefontcolor = 0;
  Rect buttonrect, activebuttonrect, downbuttonrect, unenabledbuttonrect;
};

class TksDataSkinMemoControl : public TksDataSkinEditControl {
 public:
  using TksDataSkinEditControl::TksDataSkinEditControl;
  void VisitFields(SkinFieldVisitor& v) override;

  uint32_t bgcolor = 0, activebgcolor = 0;
};

class TksDataSkinSpinEditControl : public TksDataSkinCustomControl {
 public:
  using TksDataSkinCustomControl::TksDataSkinCustomControl;
  void VisitFields(SkinFieldVisitor& v) override;

  Rect activeskinrect;
  SkinFont font;
  uint32_t activefontcolor = 0, disabledfontcolor = 0;
  Rect upbuttonrect, activeupbuttonrect, downupbuttonrect, downbuttonrect, activedownbuttonrect,
      downdownbuttonrect;
};

// Its corner points and client rectangle are always zero: the up-down pieces
// are drawn whole.
class TksDataSkinUpDownControl : public TksDataSkinCustomControl {
 public:
  using TksDataSkinCustomControl::TksDataSkinCustomControl;
  void ReadSection(const IniTable& ini) override;
  void VisitFields(SkinFieldVisitor& v) override;

  Rect upbuttonrect, activeupbuttonrect, downupbuttonrect, downbuttonrect, activedownbuttonrect,
      downdownbuttonrect;
};

class TksDataSkinGaugeControl : public TksDataSkinCustomControl {
 public:
  using TksDataSkinCustomControl::TksDataSkinCustomControl;
  void VisitFields(SkinFieldVisitor& v) override;

  Rect progressarea, progressrect;
  int32_t beginoffset = 0, endoffset = 0;
  bool vertical = false;
  SkinFont font;
  bool progresstransparent = false;
  uint32_t progresstransparentcolor = 0;
};

class TksDataSkinTrackBarControl : public TksDataSkinCustomControl {
 public:
  using TksDataSkinCustomControl::TksDataSkinCustomControl;
  void VisitFields(SkinFieldVisitor& v) override;

  Rect trackarea, buttonrect, activebuttonrect;
  bool vertical = false, buttontransparent = false;
  uint32_t buttontransparentcolor = 0;
};

class TksDataSkinSplitterControl : public TksDataSkinCustomControl {
 public:
  using TksDataSkinCustomControl::TksDataSkinCustomControl;
};

class TksDataSkinScrollBoxControl : public TksDataSkinCustomControl {
 public:
  using TksDataSkinCustomControl::TksDataSkinCustomControl;
  void VisitFields(SkinFieldVisitor& v) override;

  int32_t bgpictureindex = -1;
};

class TksDataSkinControlBar : public TksDataSkinCustomControl {
 public:
  using TksDataSkinCustomControl::TksDataSkinCustomControl;
  void VisitFields(SkinFieldVisitor& v) override;

  Rect itemrect;
  int32_t bgpictureindex = -1;
};

class TksDataSkinMainMenuBar : public TksDataSkinControl {
 public:
  using TksDataSkinControl::TksDataSkinControl;
  void VisitFields(SkinFieldVisitor& v) override;

  Rect itemsrect;
  std::string menubaritem, closebutton, minbutton, maxbutton, sysmenubutton;
  uint32_t trackmarkcolor = 0, trackmarkactivecolor = 0;
};

class TksDataSkinTabControl : public TksDataSkinControl {
 public:
  using TksDataSkinControl::TksDataSkinControl;
  void VisitFields(SkinFieldVisitor& v) override;

  Rect tabrect, activetabrect, focustabrect, mouseintabrect, clientrect;
  int32_t bgpictureindex = -1;
  Point lefttoppoint, righttoppoint, leftbottompoint, rightbottompoint;
  int32_t tableftoffset = 0, tabrightoffset = 0;
  Rect tabsbgrect;
  SkinFont font;
  uint32_t activefontcolor = 0, focusfontcolor = 0, mouseinfontcolor = 0;
  std::string updown;
};

class TksDataSkinGridControl : public TksDataSkinControl {
 public:
  using TksDataSkinControl::TksDataSkinControl;
  void VisitFields(SkinFieldVisitor& v) override;

  Rect fixedcellrect, selectcellrect, focuscellrect;
  int32_t fixedcellleftoffset = 0, fixedcellrightoffset = 0;
  Rect fixedcelltextrect;
  int32_t cellleftoffset = 0, cellrightoffset = 0;
  Rect celltextrect;
  uint32_t linescolor = 0, bgcolor = 0;
  int32_t bgpictureindex = -1;
  SkinFont font;
  uint32_t selectfontcolor = 0, focusfontcolor = 0;
  SkinFont fixedfont;
};

// The shared keys of the tree view, list view and rich edit records; no type
// name selects this class itself.
class TksDataSkinFontBgControl : public TksDataSkinControl {
 public:
  using TksDataSkinControl::TksDataSkinControl;
  void VisitFields(SkinFieldVisitor& v) override;

  SkinFont font;
  uint32_t bgcolor = 0;
};

class TksDataSkinTreeView : public TksDataSkinFontBgControl {
 public:
  using TksDataSkinFontBgControl::TksDataSkinFontBgControl;
};

class TksDataSkinListView : public TksDataSkinFontBgControl {
 public:
  using TksDataSkinFontBgControl::TksDataSkinFontBgControl;
};

class TksDataSkinRichEdit : public TksDataSkinFontBgControl {
 public:
  using TksDataSkinFontBgControl::TksDataSkinFontBgControl;
};

class TksDataSkinSlider : public TksDataSkinControl {
 public:
  using TksDataSkinControl::TksDataSkinControl;
  void VisitFields(SkinFieldVisitor& v) override;

  uint32_t bgcolor = 0;
  Rect hrulerrect, hthumbrect, vrulerrect, vthumbrect;
  int32_t edgesize = 0;
  uint32_t pointscolor = 0;
};

class TksDataSkinBevel : public TksDataSkinControl {
 public:
  using TksDataSkinControl::TksDataSkinControl;
  void VisitFields(SkinFieldVisitor& v) override;

  uint32_t lightcolor = 0, darkcolor = 0;
};

// Pictures made of equal frames; no type name selects this class itself.
class TksDataSkinFrameControl : public TksDataSkinControl {
 public:
  using TksDataSkinControl::TksDataSkinControl;
  void ReadSection(const IniTable& ini) override;  // framescount at least 1
  void VisitFields(SkinFieldVisitor& v) override;

  int32_t framescount = 1;
  FramesPlacement framesplacement = FramesPlacement::fpHorizontal;
};

class TksDataSkinFrameGauge : public TksDataSkinFrameControl {
 public:
  using TksDataSkinFrameControl::TksDataSkinFrameControl;
};

class TksDataSkinFrameRegulator : public TksDataSkinFrameControl {
 public:
  using TksDataSkinFrameControl::TksDataSkinFrameControl;
  void VisitFields(SkinFieldVisitor& v) override;

  RegulatorKind kind = RegulatorKind::rkRound;
};

class TksDataSkinAnimateControl : public TksDataSkinFrameControl {
 public:
  using TksDataSkinFrameControl::TksDataSkinFrameControl;
};

class TksDataSkinSwitchControl : public TksDataSkinFrameControl {
 public:
  using TksDataSkinFrameControl::TksDataSkinFrameControl;
};

// The record for a [SKINCONTROLS] type name (exact, case-sensitive), with the
// section name as IDName and nothing read yet; null for an unknown type name.
std::unique_ptr<TksDataSkinControl> CreateSkinControlData(std::string_view typeName, std::string idName);

}  // namespace kelmar
