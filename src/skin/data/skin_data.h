#pragma once
// The in-memory skin: the pictures of the loaded package, the frame geometry
// of [FORMINFO], the popup and hint window data, the skin areas and the object
// and control data records. Forms learn of a skin change through skin
// messages, sent synchronously through SkinMessageSink.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/display_scale.h"
#include "base/geometry.h"
#include "base/image.h"
#include "skin/data/compressed_stored_skin.h"
#include "skin/data/skin_control_data.h"
#include "skin/data/skin_object_data.h"

namespace kelmar {

class TksResourceStrData;
class TksSkinData;

// Skin messages: first parameter the sending TksSkinData, second always
// kSkinMessageParam.
constexpr uint32_t SKIN_MSG_BEFORE_CHANGE = 1225;   // a load starts; nothing cleared yet
constexpr uint32_t SKIN_MSG_CHANGE = 1226;          // a load completed, Empty cleared
constexpr uint32_t SKIN_MSG_AFTER_CHANGE = 1227;    // right after SKIN_MSG_CHANGE
constexpr uint32_t SKIN_MSG_STRINGS_CHANGE = 1274;  // ResourceStrData was set
constexpr intptr_t kSkinMessageParam = 1000;

// One form's window as a receiver of skin messages. The Windows side sends a
// real window message (SendMessageW) and returns when the form has handled it.
class SkinMessageSink {
 public:
  virtual void Send(uint32_t message, TksSkinData* sender, intptr_t param) = 0;

 protected:
  ~SkinMessageSink() = default;
};

// The application's forms, in creation order.
class SkinFormList {
 public:
  virtual std::vector<SkinMessageSink*> SkinForms() const = 0;

 protected:
  ~SkinFormList() = default;
};

// A named rectangle of [SKINAREAS].
struct TksDataSkinArea {
  std::string IDName;
  Rect AreaRect;
};

// [CLIENTCOLORS]: the colours of the window's parts the skin draws no picture
// for, colours 0x00BBGGRR: the icon list's background, text and edge, and
// the texts of the tool bar's labels and links. A skin without the section
// leaves those parts their own colours (Present false); without
// "listedgecolor" the list keeps the system's edge (kNoColor).
class TksDataSkinClientColors : public TksDataSkinRecord {
 public:
  TksDataSkinClientColors() : TksDataSkinRecord("CLIENTCOLORS") {}
  void ReadSection(const IniTable& ini) override;
  void VisitFields(SkinFieldVisitor& v) override;

  bool Present = false;
  static constexpr uint32_t kNoColor = 0xFFFFFFFF;
  uint32_t listcolor = 0xFFFFFF, listfontcolor = 0, listedgecolor = kNoColor, labelfontcolor = 0;
  uint32_t linkfontcolor = 0, visitedlinkfontcolor = 0;
};

class TksSkinData {
 public:
  // ownerForm: the form that owns this skin data, or null when the owner is
  // not a form; forms: the application's forms (null: none).
  explicit TksSkinData(SkinMessageSink* ownerForm = nullptr, const SkinFormList* forms = nullptr);
  ~TksSkinData();
  TksSkinData(const TksSkinData&) = delete;
  TksSkinData& operator=(const TksSkinData&) = delete;

  void SetMessageTargets(SkinMessageSink* ownerForm, const SkinFormList* forms);

  // Replaces the whole skin by the package, at Dpi. An empty package changes
  // nothing and sends nothing. Errors (inflating, a bitmap, a rectangle's
  // conversion) travel to the caller with Empty still set and the records read
  // so far kept.
  void LoadCompressedSkin(const TksCompressedStoredSkin& skin);

  // The DPI the geometry and pictures are for. The description's numbers are
  // 96-DPI numbers: at another DPI every length is scaled (ScaleLength) and
  // every picture is taken from the drawing for that DPI or scaled piece by
  // piece (skin/data/skin_scale.h). Fonts are not scaled here: the controls
  // and the frame make theirs for their DPI.
  int Dpi = kDesignDpi;
  // Loads the last loaded package again for dpi, with the usual skin
  // messages; without a loaded package only Dpi changes. The same DPI with
  // the same drawings changes nothing. A DPI below 1 (what a failed query
  // answers) is taken as 96.
  void SetDpi(int dpi);
  // Other packages of the same skin whose pictures are drawn for a higher DPI
  // (their description's [VERSION] has "dpi", 96 where it has none; their
  // pictures are those of this skin at ScaleLength of its sizes). For a DPI
  // the drawing of the smallest DPI at or above it serves, else the one of
  // the largest; this skin's own pictures count as the drawing for 96. A
  // drawing that cannot be read, or a picture of it of another size, is
  // passed over for the own picture. Taken at the next load or SetDpi; the
  // caller keeps the packages alive as long as this skin data uses them.
  // dpis, where the caller knows them, are the drawings' DPIs in the same
  // order; without them each description is read for its DPI, which
  // inflates every package whole.
  void SetDrawings(std::vector<const TksCompressedStoredSkin*> drawings, std::vector<int> dpis = {});
  // Frees every record and active picture, empties every list, sets the popup
  // and hint window data's windowpictureindex to -1, clears the five pictures
  // and the picture names, sets Empty.
  void ClearSkin();

  // Position of the first record (area) whose IDName equals name exactly,
  // case-sensitively; -1 when none.
  int FindControlData(std::string_view name) const;
  int FindObjectData(std::string_view name) const;
  int FindAreaData(std::string_view name) const;

  // To the owner form first, then every other form in creation order.
  void BroadcastSkinMessage(uint32_t message);

  TksCompressedStoredSkin* CompressedStoredSkin() const { return compressedStoredSkin_; }
  // Stores the reference and, when it is not null, loads its package at once.
  void SetCompressedStoredSkin(TksCompressedStoredSkin* skin);
  TksResourceStrData* ResourceStrData() const { return resourceStrData_; }
  // Stores the reference and broadcasts SKIN_MSG_STRINGS_CHANGE (also for null).
  void SetResourceStrData(TksResourceStrData* strings);

  // Removal notices: the component is being freed. A matching reference
  // becomes null; the loaded skin stays.
  void NotifyRemoved(const TksCompressedStoredSkin* skin);
  void NotifyRemoved(const TksResourceStrData* strings);

  // The application cursor number for a record's "cursorindex": CursorBase + c
  // for c >= 0, -1 (the default cursor) otherwise.
  int32_t CursorNumber(int32_t cursorindex) const { return cursorindex >= 0 ? CursorBase + cursorindex : -1; }

  // Everything below is read by the skinned parts; only the loader writes it.
  bool Empty = true;

  Image Picture, InactivePicture, Mask, RollUpPicture, RollUpMask;
  std::vector<Image> ActivePictures;
  std::vector<std::string> ActivePictureNames;
  std::string PictureName, MaskName, RollUpPictureName, RollUpMaskName;
  std::string SkinName, SkinAuthor, AuthorEMail, AuthorURL, SkinComments;

  // [FORMINFO], after its corrections.
  Point lefttoppoint, righttoppoint, leftbottompoint, rightbottompoint;
  Rect clientrect;
  int32_t bgpictureindex = -1;
  int32_t mdibgpictureindex = -1;
  bool leftstretch = false, rightstretch = false, topstretch = false, bottomstretch = false;
  Rect buttonsrect, captionrect;
  int32_t buttonsoffset = 0;
  bool buttonsinleft = false;
  Rect maskrectarea;
  Point hittestlefttoppoint, hittestrighttoppoint, hittestleftbottompoint, hittestrightbottompoint;
  Point rollupleftpoint, rolluprightpoint;
  Rect mainmenurect, iconrect;
  bool mainmenupopupup = false;
  int32_t borderwidth = 0;
  int32_t cursorindex = -1;
  bool autorenderinginactiveimage = false;
  InactiveEffect inactiveeffect = InactiveEffect::ieBrightness;

  TksDataSkinPopupWindow PopupWindow;
  TksDataSkinHintWindow HintWindow;
  TksDataSkinClientColors ClientColors;
  std::vector<TksDataSkinArea> SkinAreas;
  std::vector<std::unique_ptr<TksDataSkinObject>> ObjectData;
  std::vector<std::unique_ptr<TksDataSkinControl>> ControlData;

  int32_t CursorBase = 1;

  // The keys of [FORMINFO] to a visitor, in key order.
  void VisitFormInfo(SkinFieldVisitor& v);

 private:
  void ReadFormInfo(const IniTable& ini);
  // The loaded 96-DPI skin at Dpi: pictures, then geometry. `own` is the
  // skin's package as read: its pictures' places and sizes (their images
  // already taken, or never decoded where a drawing serves).
  void ScaleToDpi(SkinPackageContent& own);
  // The drawing that serves Dpi (an index into the drawings), or -1 for the
  // skin's own pictures.
  int ChosenDrawing();
  // The DPI of each drawing, read once for each list.
  const std::vector<int>& DrawingDpis();
  void CorrectFormInfo();
  void ReadSkinAreas(const IniTable& ini);
  void ReadSkinObjects(const IniTable& ini);
  void ReadSkinControls(const IniTable& ini);

  SkinMessageSink* ownerForm_ = nullptr;
  const SkinFormList* forms_ = nullptr;
  TksCompressedStoredSkin* compressedStoredSkin_ = nullptr;
  TksResourceStrData* resourceStrData_ = nullptr;
  TksCompressedStoredSkin loaded_;  // a copy of the package last loaded
  std::vector<const TksCompressedStoredSkin*> drawings_;
  std::vector<int> drawingDpis_;  // empty until needed
  bool drawingsChanged_ = false;
};

// The record of a section as the class the caller expects; null when there is
// no such section or its record is of another class.
template <typename T>
const T* FindControlRecord(const TksSkinData& skin, std::string_view name) {
  const int i = skin.FindControlData(name);
  return i < 0 ? nullptr : dynamic_cast<const T*>(skin.ControlData[size_t(i)].get());
}
template <typename T>
const T* FindObjectRecord(const TksSkinData& skin, std::string_view name) {
  const int i = skin.FindObjectData(name);
  return i < 0 ? nullptr : dynamic_cast<const T*>(skin.ObjectData[size_t(i)].get());
}

}  // namespace kelmar
