#include "skin/data/skin_data.h"

#include <algorithm>

#include "base/error.h"
#include "skin/data/skin_description.h"
#include "skin/data/skin_package.h"
#include "skin/data/skin_scale.h"

namespace kelmar {

namespace {

template <class List>
int FindByName(const List& list, std::string_view name, auto nameOf) {
  for (size_t i = 0; i < list.size(); ++i)
    if (nameOf(list[i]) == name) return int(i);
  return -1;
}

}  // namespace

TksSkinData::TksSkinData(SkinMessageSink* ownerForm, const SkinFormList* forms)
    : ownerForm_(ownerForm), forms_(forms) {}

TksSkinData::~TksSkinData() { Empty = true; }

void TksSkinData::SetMessageTargets(SkinMessageSink* ownerForm, const SkinFormList* forms) {
  ownerForm_ = ownerForm;
  forms_ = forms;
}

void TksSkinData::ClearSkin() {
  ObjectData.clear();
  ControlData.clear();
  SkinAreas.clear();
  ActivePictures.clear();
  ActivePictureNames.clear();
  PopupWindow.windowpictureindex = -1;
  HintWindow.windowpictureindex = -1;
  ClientColors.Present = false;
  Picture = InactivePicture = Mask = RollUpPicture = RollUpMask = Image();
  PictureName.clear();
  MaskName.clear();
  RollUpPictureName.clear();
  RollUpMaskName.clear();
  Empty = true;
}

void TksSkinData::LoadCompressedSkin(const TksCompressedStoredSkin& skin) {
  if (skin.IsEmpty()) return;
  Empty = true;
  BroadcastSkinMessage(SKIN_MSG_BEFORE_CHANGE);
  ClearSkin();
  if (&skin != &loaded_) loaded_.CompressedData() = skin.CompressedData();
  drawingsChanged_ = false;

  // Where a drawing serves this DPI, the skin's own pictures are only
  // measured here, not decoded: the drawing's replace them.
  const bool drawn = Dpi != kDesignDpi && ChosenDrawing() >= 0;
  SkinPackageContent package = skin.ReadPackage(drawn ? PackagePictures::Skipped : PackagePictures::Decoded);
  if (!package.loaded) return;  // a version above 3: the model stays cleared
  Picture = std::move(package.Slot(PackageSlot::Picture).image);
  InactivePicture = std::move(package.Slot(PackageSlot::InactivePicture).image);
  Mask = std::move(package.Slot(PackageSlot::Mask).image);
  RollUpPicture = std::move(package.Slot(PackageSlot::RollUpPicture).image);
  RollUpMask = std::move(package.Slot(PackageSlot::RollUpMask).image);
  for (PackagePicture& p : package.activePictures) ActivePictures.push_back(std::move(p.image));

  const IniTable ini = IniTable::FromLines(package.descriptionLines);
  SkinName = ini.ReadString("VERSION", "skinname", "");
  SkinAuthor = ini.ReadString("VERSION", "skinauthor", "");
  AuthorEMail = ini.ReadString("VERSION", "authoremail", "");
  AuthorURL = ini.ReadString("VERSION", "authorurl", "");
  SkinComments = ini.ReadString("VERSION", "skincomments", "");
  PictureName = ini.ReadString("PICTURES", "picture", "");
  MaskName = ini.ReadString("PICTURES", "mask", "");
  RollUpPictureName = ini.ReadString("PICTURES", "rolluppicture", "");
  RollUpMaskName = ini.ReadString("PICTURES", "rollupmask", "");
  ReadIndexedList(ini, "PICTURES", "activepictures", ActivePictureNames);

  ReadFormInfo(ini);
  PopupWindow.ReadSection(ini);
  HintWindow.ReadSection(ini);
  ClientColors.ReadSection(ini);
  ReadSkinAreas(ini);
  ReadSkinObjects(ini);
  ReadSkinControls(ini);
  if (Dpi != kDesignDpi) ScaleToDpi(package);

  Empty = false;
  BroadcastSkinMessage(SKIN_MSG_CHANGE);
  BroadcastSkinMessage(SKIN_MSG_AFTER_CHANGE);
}

void TksDataSkinClientColors::ReadSection(const IniTable& ini) {
  TksDataSkinRecord::ReadSection(ini);
  Present = ini.SectionExists(IDName);
}

void TksDataSkinClientColors::VisitFields(SkinFieldVisitor& v) {
  v.Color("listcolor", listcolor, 0xFFFFFF);
  v.Color("listfontcolor", listfontcolor, 0);
  v.Color("listedgecolor", listedgecolor, kNoColor);
  v.Color("labelfontcolor", labelfontcolor, 0);
  v.Color("linkfontcolor", linkfontcolor, 0);
  v.Color("visitedlinkfontcolor", visitedlinkfontcolor, 0);
}

void TksSkinData::ReadFormInfo(const IniTable& ini) {
  SkinFieldReader reader(ini, "FORMINFO");
  VisitFormInfo(reader);
  CorrectFormInfo();
}

void TksSkinData::VisitFormInfo(SkinFieldVisitor& v) {
  v.PointKey("lefttoppoint", lefttoppoint);
  v.PointKey("righttoppoint", righttoppoint);
  v.PointKey("leftbottompoint", leftbottompoint);
  v.PointKey("rightbottompoint", rightbottompoint);
  v.RectKey("clientrect", clientrect);
  v.Integer("bgpictureindex", bgpictureindex, -1);
  v.Integer("mdibgpictureindex", mdibgpictureindex, -1);
  v.Flag("leftstretch", leftstretch);
  v.Flag("rightstretch", rightstretch);
  v.Flag("topstretch", topstretch);
  v.Flag("bottomstretch", bottomstretch);
  v.RectKey("buttonsrect", buttonsrect);
  v.RectKey("captionrect", captionrect);
  v.Length("buttonsoffset", buttonsoffset, 0);
  v.Flag("buttonsinleft", buttonsinleft);
  v.RectKey("maskrectarea", maskrectarea);
  v.PointKey("hittestlefttoppoint", hittestlefttoppoint);
  v.PointKey("hittestrighttoppoint", hittestrighttoppoint);
  v.PointKey("hittestleftbottompoint", hittestleftbottompoint);
  v.PointKey("hittestrightbottompoint", hittestrightbottompoint);
  v.PointKey("rollupleftpoint", rollupleftpoint);
  v.PointKey("rolluprightpoint", rolluprightpoint);
  v.RectKey("mainmenurect", mainmenurect);
  v.RectKey("iconrect", iconrect);
  v.Flag("mainmenupopupup", mainmenupopupup);
  v.Length("borderwidth", borderwidth, 0);
  v.Integer("cursorindex", cursorindex, -1);
  v.Flag("autorenderinginactiveimage", autorenderinginactiveimage);
  v.Enum("inactiveeffect", inactiveeffect, kInactiveEffectNames);
}

void TksSkinData::CorrectFormInfo() {
  if (!MaskName.empty()) {
    // The mask shapes at least the client area.
    if (maskrectarea.Width() < 1 || maskrectarea.Height() < 1) {
      maskrectarea = clientrect;
    } else {
      maskrectarea = {std::min(maskrectarea.left, clientrect.left), std::min(maskrectarea.top, clientrect.top),
                      std::max(maskrectarea.right, clientrect.right),
                      std::max(maskrectarea.bottom, clientrect.bottom)};
    }
    auto fill = [](Point& hit, const Point& corner) {
      if (hit.x == 0 || hit.y == 0) hit = corner;
    };
    fill(hittestlefttoppoint, lefttoppoint);
    fill(hittestrighttoppoint, righttoppoint);
    fill(hittestleftbottompoint, leftbottompoint);
    fill(hittestrightbottompoint, rightbottompoint);
  }
  // Corner points that coincide give no frame to clamp.
  if (rightbottompoint.x == lefttoppoint.x || rightbottompoint.y == lefttoppoint.y) return;
  const Rect& c = clientrect;
  lefttoppoint = {std::max(lefttoppoint.x, c.left), std::max(lefttoppoint.y, c.top)};
  righttoppoint = {std::min(righttoppoint.x, c.right), std::max(righttoppoint.y, c.top)};
  leftbottompoint = {std::max(leftbottompoint.x, c.left), std::min(leftbottompoint.y, c.bottom)};
  rightbottompoint = {std::min(rightbottompoint.x, c.right), std::min(rightbottompoint.y, c.bottom)};
}

void TksSkinData::ReadSkinAreas(const IniTable& ini) {
  const int32_t count = ReadListCount(ini, "SKINAREAS", "count");
  for (int32_t i = 0; i < count; ++i) {
    std::string value = ini.ReadString("SKINAREAS", std::to_string(i), "");
    size_t colon = value.find(':');
    if (colon == std::string::npos) continue;  // no "name:rectangle": nothing to add
    SkinAreas.push_back({value.substr(0, colon), ParseRectText(std::string_view(value).substr(colon + 1))});
  }
}

void TksSkinData::ReadSkinObjects(const IniTable& ini) {
  const int32_t count = ReadListCount(ini, "SKINOBJECTS", "count");
  for (int32_t i = 0; i < count; ++i) {
    TypedEntry entry = ParseTypedEntry(ini.ReadString("SKINOBJECTS", std::to_string(i), ""));
    std::unique_ptr<TksDataSkinObject> record = CreateSkinObjectData(entry.type, std::move(entry.section));
    if (!record) continue;
    ObjectData.push_back(std::move(record));
    ObjectData.back()->ReadSection(ini);
  }
}

void TksSkinData::ReadSkinControls(const IniTable& ini) {
  const int32_t count = ReadListCount(ini, "SKINCONTROLS", "count");
  for (int32_t i = 0; i < count; ++i) {
    TypedEntry entry = ParseTypedEntry(ini.ReadString("SKINCONTROLS", std::to_string(i), ""));
    std::unique_ptr<TksDataSkinControl> record = CreateSkinControlData(entry.type, std::move(entry.section));
    if (!record) continue;
    ControlData.push_back(std::move(record));
    ControlData.back()->ReadSection(ini);
  }
}

int TksSkinData::FindControlData(std::string_view name) const {
  return FindByName(ControlData, name, [](const auto& r) -> const std::string& { return r->IDName; });
}

int TksSkinData::FindObjectData(std::string_view name) const {
  return FindByName(ObjectData, name, [](const auto& r) -> const std::string& { return r->IDName; });
}

int TksSkinData::FindAreaData(std::string_view name) const {
  return FindByName(SkinAreas, name, [](const TksDataSkinArea& a) -> const std::string& { return a.IDName; });
}

void TksSkinData::BroadcastSkinMessage(uint32_t message) {
  if (ownerForm_) ownerForm_->Send(message, this, kSkinMessageParam);
  if (!forms_) return;
  // A copy: a form may create or free forms while it handles the message.
  for (SkinMessageSink* form : forms_->SkinForms())
    if (form != ownerForm_) form->Send(message, this, kSkinMessageParam);
}

void TksSkinData::SetCompressedStoredSkin(TksCompressedStoredSkin* skin) {
  compressedStoredSkin_ = skin;
  if (skin) LoadCompressedSkin(*skin);
}

void TksSkinData::SetDpi(int dpi) {
  if (dpi < 1) dpi = kDesignDpi;  // a failed DPI query answers 0
  if (dpi == Dpi && !drawingsChanged_) return;
  Dpi = dpi;
  LoadCompressedSkin(loaded_);
}

void TksSkinData::SetDrawings(std::vector<const TksCompressedStoredSkin*> drawings, std::vector<int> dpis) {
  drawings_ = std::move(drawings);
  drawingDpis_ = dpis.size() == drawings_.size() ? std::move(dpis) : std::vector<int>{};
  drawingsChanged_ = true;
}

const std::vector<int>& TksSkinData::DrawingDpis() {
  if (drawingDpis_.size() == drawings_.size()) return drawingDpis_;
  drawingDpis_.clear();
  for (const TksCompressedStoredSkin* drawing : drawings_) {
    int dpi = 0;  // unreadable: never chosen
    try {
      if (drawing && !drawing->IsEmpty()) {
        const SkinPackageContent content = drawing->ReadPackage(PackagePictures::Skipped);
        if (content.loaded)
          dpi = IniTable::FromLines(content.descriptionLines).ReadInteger("VERSION", "dpi", kDesignDpi);
      }
    } catch (const Error&) {
    }
    drawingDpis_.push_back(dpi);
  }
  return drawingDpis_;
}

int TksSkinData::ChosenDrawing() {
  // This skin's own pictures are the drawing for 96.
  std::vector<int> dpis{kDesignDpi};
  for (int d : DrawingDpis()) dpis.push_back(d > 0 ? d : -1);
  return ChooseDrawing(dpis, Dpi) - 1;
}

void TksSkinData::ScaleToDpi(SkinPackageContent& own) {
  const SkinPictureGrids grids = CollectPictureGrids(*this);

  const int chosen = ChosenDrawing();
  int drawingDpi = kDesignDpi;
  SkinPackageContent drawing;
  if (chosen >= 0) {
    try {
      drawing = drawings_[size_t(chosen)]->ReadPackage();
      drawingDpi = DrawingDpis()[size_t(chosen)];
    } catch (const Error&) {
      drawing = {};
    }
  }
  // The skin's own pictures, decoded only if a drawing lacks one after all.
  SkinPackageContent decoded;
  auto own96 = [&](const PackagePicture& measured, Image& picture) -> Image& {
    if (!picture.IsEmpty()) return picture;
    if (!decoded.loaded) decoded = loaded_.ReadPackage();
    auto take = [&](PackagePicture& p) {
      if (p.size > 0 && p.offset == measured.offset) picture = std::move(p.image);
    };
    for (PackagePicture& p : decoded.slots) take(p);
    for (PackagePicture& p : decoded.activePictures) take(p);
    return picture;
  };

  auto scale = [&](Image& picture, const PackagePicture& measured, PackagePicture* drawn, const PictureGrid& grid,
                   bool mask) {
    if (measured.size == 0) return;  // an empty slot
    const Point size96{measured.width, measured.height};
    const bool fits = drawn && !drawn->image.IsEmpty() && drawn->image.Width() == ScaleLength(size96.x, drawingDpi) &&
                      drawn->image.Height() == ScaleLength(size96.y, drawingDpi);
    // Taken over, not copied: a copy of the larger pictures is megabytes of
    // fresh memory, which a start pays for page by page.
    if (fits && drawingDpi == Dpi) {
      picture = std::move(drawn->image);
      return;
    }
    picture = fits ? ScaleSkinPicture(drawn->image.View(), drawingDpi, size96, grid, Dpi, mask)
                   : ScaleSkinPicture(own96(measured, picture), kDesignDpi, size96, grid, Dpi, mask);
  };
  auto slot = [&](PackageSlot s) { return drawing.loaded ? &drawing.Slot(s) : nullptr; };
  scale(Picture, own.Slot(PackageSlot::Picture), slot(PackageSlot::Picture), grids.frame, false);
  scale(InactivePicture, own.Slot(PackageSlot::InactivePicture), slot(PackageSlot::InactivePicture), grids.frame,
        false);
  scale(Mask, own.Slot(PackageSlot::Mask), slot(PackageSlot::Mask), grids.frame, true);
  scale(RollUpPicture, own.Slot(PackageSlot::RollUpPicture), slot(PackageSlot::RollUpPicture), grids.rollUp, false);
  scale(RollUpMask, own.Slot(PackageSlot::RollUpMask), slot(PackageSlot::RollUpMask), grids.rollUp, true);
  for (size_t i = 0; i < ActivePictures.size(); ++i) {
    PackagePicture* drawn =
        drawing.loaded && i < drawing.activePictures.size() ? &drawing.activePictures[i] : nullptr;
    scale(ActivePictures[i], own.activePictures[i], drawn, grids.active[i], grids.activeIsMask[i]);
  }
  ScaleSkinGeometry(*this, Dpi);
}

void TksSkinData::SetResourceStrData(TksResourceStrData* strings) {
  resourceStrData_ = strings;
  BroadcastSkinMessage(SKIN_MSG_STRINGS_CHANGE);
}

void TksSkinData::NotifyRemoved(const TksCompressedStoredSkin* skin) {
  if (skin && skin == compressedStoredSkin_) compressedStoredSkin_ = nullptr;
}

void TksSkinData::NotifyRemoved(const TksResourceStrData* strings) {
  if (strings && strings == resourceStrData_) resourceStrData_ = nullptr;
}

}  // namespace kelmar
