#pragma once
// The frame object records of [SKINOBJECTS] and the popup and hint window
// records. Fields bear the names of their keys (font groups as in
// skin_control_data.h).
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "skin/data/skin_record.h"

namespace kelmar {

// Caption button commands; a "command" text that is no name reads as
// cmMinimizeToTray.
enum class SkinCommand : int32_t {
  cmClose = 0, cmMaximize, cmMinimize, cmSysMenu, cmDefault, cmRollUp, cmMinimizeToTray
};
extern const NamedValues kSkinCommandNames;

enum class GaugeKind : int32_t { gkHorizontal = 0, gkVertical = 1 };
extern const NamedValues kGaugeKindNames;  // "gkhorizontal", "gkvertical"

class TksDataSkinObject : public TksDataSkinRecord {
 public:
  using TksDataSkinRecord::TksDataSkinRecord;
  void VisitFields(SkinFieldVisitor& v) override;

  std::string hint;
  bool rollup = false;
  int32_t activepictureindex = -1;
  bool skinrectinapicture = false;
  int32_t cursorindex = -1;
  Rect skinrect, activeskinrect, inactiveskinrect;
  bool morphing = false;
  MorphKind morphkind = MorphKind::mkDefault;
};

class TksDataSkinCaption : public TksDataSkinObject {
 public:
  using TksDataSkinObject::TksDataSkinObject;
  void VisitFields(SkinFieldVisitor& v) override;

  bool defaultcaption = false;
  Rect textrect;
  SkinFont font;
  uint32_t activefontcolor = 0;
  Alignment alignment = Alignment::taCenter;
  bool shadow = false;
  uint32_t shadowcolor = 0, activeshadowcolor = 0;
  Rect framerect, activeframerect, frametextrect;
  int32_t frameleftoffset = 0, framerightoffset = 0;
};

class TksDataSkinButton : public TksDataSkinObject {
 public:
  using TksDataSkinObject::TksDataSkinObject;
  void VisitFields(SkinFieldVisitor& v) override;

  Rect downrect;
  Rect disableskinrsect;  // the key is spelled so
  int32_t groupindex = -1;
};

class TksDataSkinStdButton : public TksDataSkinButton {
 public:
  using TksDataSkinButton::TksDataSkinButton;
  void VisitFields(SkinFieldVisitor& v) override;

  SkinCommand command = SkinCommand::cmDefault;
  Rect restorerect, restoreactiverect, restoredownrect;
};

class TksDataSkinMainMenuBarButton : public TksDataSkinStdButton {
 public:
  using TksDataSkinStdButton::TksDataSkinStdButton;
};

class TksDataSkinMenuItem : public TksDataSkinObject {
 public:
  using TksDataSkinObject::TksDataSkinObject;
  void VisitFields(SkinFieldVisitor& v) override;

  int32_t itemleftoffset = 0, itemrightoffset = 0;
  Rect dividerrect;
  int32_t dividerleftoffset = 0, dividerrightoffset = 0;
  Rect textrect;
  SkinFont font;
  uint32_t activefontcolor = 0, unenabledfontcolor = 0;
};

class TksDataSkinMainMenuItem : public TksDataSkinObject {
 public:
  using TksDataSkinObject::TksDataSkinObject;
  void VisitFields(SkinFieldVisitor& v) override;

  int32_t itemleftoffset = 0, itemrightoffset = 0;
  Rect downrect;
  Rect textrect;
  SkinFont font;
  uint32_t activefontcolor = 0, downfontcolor = 0, unenabledfontcolor = 0;
};

class TksDataSkinMainMenuBarItem : public TksDataSkinMainMenuItem {
 public:
  using TksDataSkinMainMenuItem::TksDataSkinMainMenuItem;
};

class TksDataSkinLabel : public TksDataSkinObject {
 public:
  using TksDataSkinObject::TksDataSkinObject;
  void VisitFields(SkinFieldVisitor& v) override;

  SkinFont font;
  uint32_t activefontcolor = 0;
  Alignment alignment = Alignment::taCenter;
  std::string textvalue;
};

class TksDataSkinBitLabel : public TksDataSkinObject {
 public:
  using TksDataSkinObject::TksDataSkinObject;
  void ReadSection(const IniTable& ini) override;  // never morphs
  void VisitFields(SkinFieldVisitor& v) override;

  std::string textvalue;
  int32_t symbolwidth = 0, symbolheight = 0;
  std::vector<std::string> symbols;
  bool transparent = false;
  uint32_t transparentcolor = 0xFF00FF;
};

class TksDataSkinTrackBar : public TksDataSkinObject {
 public:
  using TksDataSkinObject::TksDataSkinObject;
  void ReadSection(const IniTable& ini) override;  // never morphs
  void VisitFields(SkinFieldVisitor& v) override;

  Rect buttonrect, activebuttonrect;
  Point beginpoint, endpoint;
  int32_t minvalue = 0, maxvalue = 0;
  bool mousedownchangevalue = false, buttontransparent = false;
  uint32_t buttontransparentcolor = 0;
};

class TksDataSkinGauge : public TksDataSkinObject {
 public:
  using TksDataSkinObject::TksDataSkinObject;
  void VisitFields(SkinFieldVisitor& v) override;

  int32_t minvalue = 0, maxvalue = 0;
  GaugeKind kind = GaugeKind::gkHorizontal;
};

// The shared keys of the frame gauge and frame regulator objects; no type
// name selects this class itself.
class TksDataSkinFrameObject : public TksDataSkinObject {
 public:
  using TksDataSkinObject::TksDataSkinObject;
  void VisitFields(SkinFieldVisitor& v) override;

  int32_t minvalue = 0, maxvalue = 0, countframes = 0;
  FramesPlacement framesplacement = FramesPlacement::fpHorizontal;
};

class TksDataSkinFrameGaugeObject : public TksDataSkinFrameObject {
 public:
  using TksDataSkinFrameObject::TksDataSkinFrameObject;
};

class TksDataSkinFrameRegulatorObject : public TksDataSkinFrameObject {
 public:
  using TksDataSkinFrameObject::TksDataSkinFrameObject;
  void VisitFields(SkinFieldVisitor& v) override;

  RegulatorKind kind = RegulatorKind::rkRound;
};

class TksDataSkinAnimate : public TksDataSkinObject {
 public:
  using TksDataSkinObject::TksDataSkinObject;
  void ReadSection(const IniTable& ini) override;  // never morphs
  void VisitFields(SkinFieldVisitor& v) override;

  int32_t countframes = 1;
  bool cycle = false, buttonstyle = false;
  int32_t timerinterval = 50;
  SkinCommand command = SkinCommand::cmDefault;
};

class TksDataSkinSwitch : public TksDataSkinObject {
 public:
  using TksDataSkinObject::TksDataSkinObject;
};

// Reads only "rollup", "skinrect" and "cursorindex".
class TksDataUserObject : public TksDataSkinObject {
 public:
  using TksDataSkinObject::TksDataSkinObject;
  void VisitFields(SkinFieldVisitor& v) override;
};

// The record for a [SKINOBJECTS] type name (exact, case-sensitive), with the
// section name as IDName and nothing read yet; null for an unknown type name.
std::unique_ptr<TksDataSkinObject> CreateSkinObjectData(std::string_view typeName, std::string idName);

// [POPUPWINDOW]: the frame of the skinned popup menus.
class TksDataSkinPopupWindow : public TksDataSkinRecord {
 public:
  TksDataSkinPopupWindow() : TksDataSkinRecord("POPUPWINDOW") {}
  void VisitFields(SkinFieldVisitor& v) override;

  int32_t windowpictureindex = -1;
  int32_t maskpictureindex = -1;
  Point lefttoppoint, righttoppoint, leftbottompoint, rightbottompoint;
  int32_t cursorindex = -1;
  Rect itemsrect;
  uint32_t scrollmarkercolor = 0, scrollmarkeractivecolor = 0;
  bool leftstretch = false, rightstretch = false, topstretch = false, bottomstretch = false;
};

// [HINTWINDOW]: the frame of the skinned hints.
class TksDataSkinHintWindow : public TksDataSkinRecord {
 public:
  TksDataSkinHintWindow() : TksDataSkinRecord("HINTWINDOW") { font.height = 12; }
  void VisitFields(SkinFieldVisitor& v) override;

  int32_t windowpictureindex = -1;
  int32_t maskpictureindex = -1;
  Point lefttoppoint, righttoppoint, leftbottompoint, rightbottompoint;
  Rect clientrect;
  SkinFont font;
  bool leftstretch = false, rightstretch = false, topstretch = false, bottomstretch = false;
};

}  // namespace kelmar
