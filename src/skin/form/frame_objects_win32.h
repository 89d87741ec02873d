#pragma once
// The objects of the skinned frame: the caption and the caption buttons (and
// the other object kinds a skin can name), each made from its record, placed
// by the frame, drawn in its states and told of the mouse.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "base/image.h"
#include "framework/controls.h"
#include "framework/menus.h"
#include "skin/data/skin_object_data.h"
#include "skin/form/frame_geometry.h"

namespace kelmar {

class TksSkinForm;

// Where an object draws: a bitmap whose pixels and device context are the
// same memory, and the window point that lies at the bitmap's (0, 0).
struct FrameCanvas {
  HDC dc = nullptr;
  ImageView pixels;
  Point origin;
  // A rectangle in window coordinates, in the bitmap's.
  Rect Local(const Rect& r) const { return r.Offset(-origin.x, -origin.y); }
};

class TksActiveSkinObject : public FrameObjectLayout {
 public:
  // record: null for the plain frame's buttons.
  TksActiveSkinObject(TksSkinForm* form, const TksDataSkinObject* record);
  virtual ~TksActiveSkinObject() = default;

  virtual void Draw(FrameCanvas& canvas, bool update);
  virtual void DblClick() {}
  virtual void MouseDown(int x, int y, TMouseButton button);
  virtual void MouseUp(int x, int y, TMouseButton button);
  virtual void MouseMove(int x, int y);
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual bool NeedsMorphStep() const;

  // Fades when the object morphs, else paints it now.
  void Redraw();
  // One fade step of 0.2 toward the active (highlighted) or normal image.
  void StepMorph();
  // Back to the normal look (activation changes); Pressed stays.
  virtual void ResetState();
  bool FadeUnderWay() const {
    return (Highlighted && MorphFactor != 1) || (!Highlighted && MorphFactor != 0);
  }

  TksSkinForm* OwnerSkinForm;
  double MorphFactor = 0;
  bool MouseOver = false;
  bool Highlighted = false;
  const Image* BasePicture = nullptr;
  const Image* ObjectPicture = nullptr;
  std::string IDName;
  std::string HintText;
  Rect activeskinrect, inactiveskinrect;
  bool morphing = false;
  MorphKind morphkind = MorphKind::mkDefault;
  int32_t cursorindex = -1;
  bool rollup = false;

 protected:
  // Copies `from` of `picture` scaled onto the object's rectangle.
  void CopyToObject(FrameCanvas& canvas, const Image* picture, const Rect& from) const;
  // The fade between the normal and the active image, at MorphFactor.
  void DrawMorph(FrameCanvas& canvas, const Image* normalPicture, const Rect& normal, const Rect& active) const;
  // Base paint, given whether the normal image already shows in the frame.
  void DrawBase(FrameCanvas& canvas, bool update);
  // Whether the form shows active.
  bool FormActive() const;
};

class TksSkinButtonObject : public TksActiveSkinObject {
 public:
  TksSkinButtonObject(TksSkinForm* form, const TksDataSkinButton* record);

  void Draw(FrameCanvas& canvas, bool update) override;
  void MouseDown(int x, int y, TMouseButton button) override;
  void MouseUp(int x, int y, TMouseButton button) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void SetPressed(bool value);

  bool Pressed = false;
  bool DropUpward = false;
  Rect downrect, disableskinrsect;
  int32_t groupindex = -1;
  // The menu item whose sub-items the button drops down.
  TMenuItem* DropMenu = nullptr;

 protected:
  void DrawButton(FrameCanvas& canvas, bool update);
};

class TksSkinStdButtonObject : public TksSkinButtonObject {
 public:
  // record null: a plain frame button with this command and name.
  TksSkinStdButtonObject(TksSkinForm* form, const TksDataSkinStdButton* record);
  TksSkinStdButtonObject(TksSkinForm* form, SkinCommand command, std::string idName);

  void Draw(FrameCanvas& canvas, bool update) override;
  void MouseDown(int x, int y, TMouseButton button) override;
  void MouseUp(int x, int y, TMouseButton button) override;
  void DblClick() override;
  bool NeedsMorphStep() const override;
  void Execute();

  SkinCommand ButtonCommand = SkinCommand::cmDefault;
  Rect restorerect, restoreactiverect, restoredownrect;
  bool HasSkinData = false;

 private:
  bool InRestoreSituation() const;
  bool ShowsIcon() const;
  void DrawPlain(FrameCanvas& canvas);
};

class TksSkinCaptionObject : public TksActiveSkinObject {
 public:
  TksSkinCaptionObject(TksSkinForm* form, const TksDataSkinCaption* record);

  void Draw(FrameCanvas& canvas, bool update) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void ResetState() override {}

  std::wstring CaptionText;
  bool defaultcaption = false;
  Rect textrect;
  SkinFont font;
  uint32_t activefontcolor = 0;
  Alignment alignment = Alignment::taCenter;
  bool shadow = false;
  uint32_t shadowcolor = 0, activeshadowcolor = 0;
  Rect framerect, activeframerect, frametextrect;
  int32_t frameleftoffset = 0, framerightoffset = 0;

 private:
  void DrawText(FrameCanvas& canvas, const Rect& target);
};

// A label object: its "textvalue" in the record's font, over its base image.
class TksSkinLabelObject : public TksActiveSkinObject {
 public:
  TksSkinLabelObject(TksSkinForm* form, const TksDataSkinLabel* record);
  void Draw(FrameCanvas& canvas, bool update) override;

  std::wstring TextValue;
  SkinFont font;
  uint32_t activefontcolor = 0;
  Alignment alignment = Alignment::taCenter;
};

// An object the program paints itself (the form's OnPaintEvent).
class TksUserObject : public TksActiveSkinObject {
 public:
  using TksActiveSkinObject::TksActiveSkinObject;
  void Draw(FrameCanvas& canvas, bool update) override;
};

// Object kinds that keep the root's look and mouse calls: the value objects
// show their base image; the animation its first frame and its command.
class TksSkinAnimateObject : public TksActiveSkinObject {
 public:
  TksSkinAnimateObject(TksSkinForm* form, const TksDataSkinAnimate* record);
  SkinCommand ButtonCommand = SkinCommand::cmDefault;
};
class TksSkinGaugeObject : public TksActiveSkinObject {
 public:
  using TksActiveSkinObject::TksActiveSkinObject;
};
class TksSkinBitLabelObject : public TksActiveSkinObject {
 public:
  using TksActiveSkinObject::TksActiveSkinObject;
};
class TksSkinSwitchObject : public TksActiveSkinObject {
 public:
  using TksActiveSkinObject::TksActiveSkinObject;
};
class TksSkinTrackBarObject : public TksActiveSkinObject {
 public:
  using TksActiveSkinObject::TksActiveSkinObject;
};
class TksSkinFrameObject : public TksActiveSkinObject {
 public:
  using TksActiveSkinObject::TksActiveSkinObject;
};
class TksSkinFrameGaugeObject : public TksSkinFrameObject {
 public:
  using TksSkinFrameObject::TksSkinFrameObject;
};
class TksSkinFrameRegulatorObject : public TksSkinFrameObject {
 public:
  using TksSkinFrameObject::TksSkinFrameObject;
};

// The object a record makes (null for menu item records and unknown kinds).
std::unique_ptr<TksActiveSkinObject> CreateFrameObject(TksSkinForm* form, const TksDataSkinObject& record);

// The six buttons of the plain frame, in their order.
std::vector<std::unique_ptr<TksActiveSkinObject>> CreatePlainButtons(TksSkinForm* form);

}  // namespace kelmar
