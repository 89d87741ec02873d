#include "skin/form/frame_objects_win32.h"

#include "framework/handles.h"
#include "framework/wide.h"
#include "skin/data/effect_bmp.h"
#include "skin/data/skin_compose.h"
#include "skin/data/skin_draw_win32.h"
#include "skin/form/skin_form_win32.h"

namespace kelmar {

namespace {

// The scaled copy of `from` at w × h.
TksEffectBmp ScaledPiece(const Image* picture, const Rect& from, int w, int h) {
  TksEffectBmp bmp(w, h);
  if (picture) CopyImageRect(bmp.GetImage().View(), {0, 0, w, h}, picture->View(), from);
  return bmp;
}

COLORREF ToColor(uint32_t c) { return COLORREF(c & 0xFFFFFF); }

}  // namespace

// --------------------------------------------------------- TksActiveSkinObject

TksActiveSkinObject::TksActiveSkinObject(TksSkinForm* form, const TksDataSkinObject* record) : OwnerSkinForm(form) {
  if (!record) return;
  const TksSkinData* skin = form->Skin();
  IDName = record->IDName;
  HintText = record->hint;
  rollup = record->rollup;
  skinrectinapicture = record->skinrectinapicture;
  cursorindex = record->cursorindex;
  skinrect = record->skinrect;
  ObjectRect = skinrect;
  activeskinrect = record->activeskinrect;
  inactiveskinrect = record->inactiveskinrect;
  morphing = record->morphing;
  morphkind = record->morphkind;
  if (skin) {
    BasePicture = rollup ? &skin->RollUpPicture : &skin->Picture;
    const int i = record->activepictureindex;
    if (i >= 0 && size_t(i) < skin->ActivePictures.size()) ObjectPicture = &skin->ActivePictures[size_t(i)];
  }
  // Without an active picture there is no active image to show.
  if (!ObjectPicture) activeskinrect = {};
}

bool TksActiveSkinObject::FormActive() const { return OwnerSkinForm->IsActive(); }

void TksActiveSkinObject::CopyToObject(FrameCanvas& canvas, const Image* picture, const Rect& from) const {
  if (!picture || RectIsEmpty(from)) return;
  CopyImageRect(canvas.pixels, canvas.Local(ObjectRect), picture->View(), from);
}

void TksActiveSkinObject::DrawMorph(FrameCanvas& canvas, const Image* normalPicture, const Rect& normal,
                                    const Rect& active) const {
  const int w = RectWidth(ObjectRect), h = RectHeight(ObjectRect);
  if (w <= 0 || h <= 0) return;
  TksEffectBmp image = ScaledPiece(normalPicture, normal, w, h);
  image.Morph(int(morphkind), ScaledPiece(ObjectPicture, active, w, h), MorphFactor);
  const Rect to = canvas.Local(ObjectRect);
  CopyImageRect(canvas.pixels, to, image.GetImage().View(), {0, 0, w, h});
}

void TksActiveSkinObject::DrawBase(FrameCanvas& canvas, bool update) {
  if (IsEnabled && !FormActive() && !RectIsEmpty(inactiveskinrect)) {
    CopyToObject(canvas, ObjectPicture, inactiveskinrect);
    return;
  }
  const Image* normalPicture = skinrectinapicture ? ObjectPicture : BasePicture;
  if (morphing && FadeUnderWay()) {
    DrawMorph(canvas, normalPicture, skinrect, activeskinrect);
    return;
  }
  if (Highlighted && !RectIsEmpty(activeskinrect)) {
    CopyToObject(canvas, ObjectPicture, activeskinrect);
    return;
  }
  // The frame picture already shows an image that lies in it.
  if (!update && !skinrectinapicture) return;
  CopyToObject(canvas, normalPicture, skinrect);
}

void TksActiveSkinObject::Draw(FrameCanvas& canvas, bool update) { DrawBase(canvas, update); }

void TksActiveSkinObject::MouseDown(int x, int y, TMouseButton button) {
  if (OwnerSkinForm->OnMouseDownEvent) OwnerSkinForm->OnMouseDownEvent(IDName, x, y, ObjectRect, button);
}

void TksActiveSkinObject::MouseUp(int x, int y, TMouseButton button) {
  if (MouseOver && OwnerSkinForm->OnMouseUpEvent) OwnerSkinForm->OnMouseUpEvent(IDName, x, y, ObjectRect, button);
}

void TksActiveSkinObject::MouseMove(int x, int y) {
  if (OwnerSkinForm->OnMouseMoveEvent) OwnerSkinForm->OnMouseMoveEvent(IDName, x, y, ObjectRect);
}

void TksActiveSkinObject::MouseEnter() {
  MouseOver = true;
  Highlighted = true;
  if (!RectIsEmpty(activeskinrect)) Redraw();
  if (OwnerSkinForm->OnMouseEnterEvent) OwnerSkinForm->OnMouseEnterEvent(IDName);
}

void TksActiveSkinObject::MouseLeave() {
  MouseOver = false;
  Highlighted = false;
  if (!RectIsEmpty(activeskinrect)) Redraw();
  if (OwnerSkinForm->OnMouseLeaveEvent) OwnerSkinForm->OnMouseLeaveEvent(IDName);
}

bool TksActiveSkinObject::NeedsMorphStep() const {
  return (Highlighted && MorphFactor < 1) || (!Highlighted && MorphFactor > 0);
}

void TksActiveSkinObject::Redraw() {
  if (morphing)
    OwnerSkinForm->StartFading();
  else
    OwnerSkinForm->PaintObject(*this);
}

void TksActiveSkinObject::StepMorph() {
  MorphFactor += Highlighted ? 0.2 : -0.2;
  if (MorphFactor > 1) MorphFactor = 1;
  if (MorphFactor < 0) MorphFactor = 0;
  // Five steps of 0.2 must land on the ends exactly.
  if (MorphFactor > 0.999) MorphFactor = 1;
  if (MorphFactor < 0.001) MorphFactor = 0;
  OwnerSkinForm->PaintObject(*this);
}

void TksActiveSkinObject::ResetState() {
  Highlighted = false;
  MouseOver = false;
  MorphFactor = 0;
}

// --------------------------------------------------------- TksSkinButtonObject

TksSkinButtonObject::TksSkinButtonObject(TksSkinForm* form, const TksDataSkinButton* record)
    : TksActiveSkinObject(form, record) {
  if (!record) return;
  downrect = record->downrect;
  disableskinrsect = record->disableskinrsect;
  groupindex = record->groupindex;
}

void TksSkinButtonObject::DrawButton(FrameCanvas& canvas, bool update) {
  if (!IsEnabled && !RectIsEmpty(disableskinrsect)) {
    CopyToObject(canvas, ObjectPicture, disableskinrsect);
  } else if (Pressed && !RectIsEmpty(downrect) && (groupindex != -1 || MouseOver)) {
    CopyToObject(canvas, ObjectPicture, downrect);
  } else {
    DrawBase(canvas, update);
  }
}

void TksSkinButtonObject::Draw(FrameCanvas& canvas, bool update) { DrawButton(canvas, update); }

void TksSkinButtonObject::SetPressed(bool value) {
  Pressed = value;
  if (!value) {
    if (RectIsEmpty(downrect)) return;
    if (groupindex != -1 || DropMenu) Highlighted = false;
    if (morphing) OwnerSkinForm->PaintObject(*this);
    Redraw();
    return;
  }
  if (morphing) {
    MorphFactor = 1;
    if (!RectIsEmpty(downrect)) OwnerSkinForm->PaintObject(*this);
  }
  if (groupindex == -1) return;
  for (const auto& o : OwnerSkinForm->FrameObjects()) {
    auto* other = dynamic_cast<TksSkinButtonObject*>(o.get());
    if (other && other != this && other->groupindex == groupindex && other->IDName != IDName && other->Pressed) {
      other->SetPressed(false);
      break;
    }
  }
}

void TksSkinButtonObject::MouseDown(int x, int y, TMouseButton button) {
  if (!IsEnabled) return;
  if (button == TMouseButton::mbLeft && !Pressed) {
    SetPressed(true);
    OwnerSkinForm->DropObjectMenu(*this);
  }
  TksActiveSkinObject::MouseDown(x, y, button);
}

void TksSkinButtonObject::MouseUp(int x, int y, TMouseButton button) {
  if (!IsEnabled) return;
  if (button == TMouseButton::mbLeft && !DropMenu && Pressed && groupindex == -1) SetPressed(false);
  TksActiveSkinObject::MouseUp(x, y, button);
}

void TksSkinButtonObject::MouseEnter() {
  MouseOver = true;
  Highlighted = true;
  if (Pressed && !RectIsEmpty(downrect)) {
    if (groupindex == -1) OwnerSkinForm->PaintObject(*this);
  } else if (!RectIsEmpty(activeskinrect)) {
    Redraw();
  }
  if (OwnerSkinForm->OnMouseEnterEvent) OwnerSkinForm->OnMouseEnterEvent(IDName);
}

void TksSkinButtonObject::MouseLeave() {
  MouseOver = false;
  const bool heldDown = Pressed && !RectIsEmpty(downrect) && (DropMenu || groupindex != -1);
  if (!heldDown) {
    Highlighted = false;
    if (Pressed && morphing) MorphFactor = 1;
    if (!RectIsEmpty(activeskinrect) || (!RectIsEmpty(downrect) && groupindex == -1)) Redraw();
  }
  if (OwnerSkinForm->OnMouseLeaveEvent) OwnerSkinForm->OnMouseLeaveEvent(IDName);
}

// ------------------------------------------------------ TksSkinStdButtonObject

TksSkinStdButtonObject::TksSkinStdButtonObject(TksSkinForm* form, const TksDataSkinStdButton* record)
    : TksSkinButtonObject(form, record) {
  HasSkinData = true;
  ButtonCommand = record->command;
  Command = ButtonCommand;
  Kind = FrameObjectKind::StdButton;
  restorerect = record->restorerect;
  restoreactiverect = record->restoreactiverect;
  restoredownrect = record->restoredownrect;
}

TksSkinStdButtonObject::TksSkinStdButtonObject(TksSkinForm* form, SkinCommand command, std::string idName)
    : TksSkinButtonObject(form, nullptr) {
  ButtonCommand = command;
  Command = command;
  Kind = FrameObjectKind::StdButton;
  IDName = std::move(idName);
  skinrectinapicture = true;
  skinrect = ObjectRect = {0, 0, 1, 1};
}

bool TksSkinStdButtonObject::ShowsIcon() const {
  return ButtonCommand == SkinCommand::cmSysMenu && OwnerSkinForm->ShowIcon();
}

bool TksSkinStdButtonObject::InRestoreSituation() const {
  switch (ButtonCommand) {
    case SkinCommand::cmMaximize: return OwnerSkinForm->FrameState == TWindowState::wsMaximized;
    case SkinCommand::cmMinimize: return OwnerSkinForm->FrameState == TWindowState::wsMinimized;
    case SkinCommand::cmRollUp: return OwnerSkinForm->RollUpState;
    default: return false;
  }
}

bool TksSkinStdButtonObject::NeedsMorphStep() const {
  if (ShowsIcon()) return false;
  return TksSkinButtonObject::NeedsMorphStep();
}

void TksSkinStdButtonObject::Draw(FrameCanvas& canvas, bool update) {
  if (!HasSkinData) {
    DrawPlain(canvas);
    return;
  }
  // The program's icon stays itself in the inactive caption too.
  if (IsEnabled && ShowsIcon() && skinrectinapicture) {
    const Rect r = canvas.Local(ObjectRect);
    DrawIconEx(canvas.dc, r.left, r.top, OwnerSkinForm->SmallIcon(), 0, 0, 0, nullptr, DI_NORMAL);
    MorphFactor = 0;
    return;
  }
  if (IsEnabled && (FormActive() || RectIsEmpty(inactiveskinrect))) {
    if (InRestoreSituation() && !RectIsEmpty(restorerect)) {
      if (Pressed && MouseOver && !RectIsEmpty(restoredownrect))
        CopyToObject(canvas, ObjectPicture, restoredownrect);
      else if (morphing && FadeUnderWay())
        DrawMorph(canvas, ObjectPicture, restorerect, restoreactiverect);
      else if (Highlighted && !RectIsEmpty(restoreactiverect))
        CopyToObject(canvas, ObjectPicture, restoreactiverect);
      else
        CopyToObject(canvas, ObjectPicture, restorerect);
      return;
    }
  }
  DrawButton(canvas, update);
}

void TksSkinStdButtonObject::DrawPlain(FrameCanvas& canvas) {
  const Rect r = canvas.Local(ObjectRect);
  const int w = RectWidth(r), h = RectHeight(r);
  if (w <= 0 || h <= 0) return;
  if (ShowsIcon()) {
    DrawIconEx(canvas.dc, r.left, r.top, OwnerSkinForm->SmallIcon(), 0, 0, 0, nullptr, DI_NORMAL);
    return;
  }
  TCanvas c(canvas.dc);
  constexpr COLORREF kNavy = 0x800000;
  if (Pressed && MouseOver) {
    c.FillRect(r, 0xB59385);
    c.FrameRect(r, kNavy);
  } else if (MouseOver) {
    c.FillRect(r, 0xD2BDB6);
    c.FrameRect(r, kNavy);
  } else {
    c.FillRect(r, GetSysColor(COLOR_BTNFACE));
  }
  // The glyphs' 96-DPI offsets from the button's middle, at the frame's scale.
  const int dpi = OwnerSkinForm->Dpi();
  int x = w / 2 - ScaleLength(5, dpi), y = h / 2 - ScaleLength(4, dpi);
  if (Pressed) {
    const int k = MouseOver ? 0 : 1;
    x = w / 2 - ScaleLength(4 + k, dpi);
    y = h / 2 - ScaleLength(3 + k, dpi);
  }
  x += r.left;
  y += r.top;
  const ScopedGlyphScale scale(canvas.dc, x, y, dpi);
  const COLORREF colour = GetSysColor(IsEnabled ? COLOR_BTNTEXT : COLOR_BTNSHADOW);
  const bool maximized = OwnerSkinForm->FrameState == TWindowState::wsMaximized;
  const bool minimized = OwnerSkinForm->FrameState == TWindowState::wsMinimized;
  switch (ButtonCommand) {
    case SkinCommand::cmClose: DrawCloseGlyph(canvas.dc, x, y, colour); break;
    case SkinCommand::cmMaximize:
      (maximized ? DrawRestoreGlyph : DrawMaximizeGlyph)(canvas.dc, x, y, colour);
      break;
    case SkinCommand::cmMinimize:
      (minimized ? DrawRestoreGlyph : DrawMinimizeGlyph)(canvas.dc, x, y, colour);
      break;
    case SkinCommand::cmSysMenu: DrawBarGlyph(canvas.dc, x, y, colour); break;
    case SkinCommand::cmRollUp:
      (OwnerSkinForm->RollUpState ? DrawDownTriangleGlyph : DrawUpTriangleGlyph)(canvas.dc, x, y, colour);
      break;
    case SkinCommand::cmMinimizeToTray: DrawSmallSquareGlyph(canvas.dc, x, y, colour); break;
    default: break;
  }
}

void TksSkinStdButtonObject::MouseDown(int x, int y, TMouseButton button) {
  if (!IsEnabled || button != TMouseButton::mbLeft || Pressed) return;
  SetPressed(true);
  if (ButtonCommand == SkinCommand::cmSysMenu) {
    DropMenu = OwnerSkinForm->SystemMenuItems();
    OwnerSkinForm->DropObjectMenu(*this);
  }
}

void TksSkinStdButtonObject::MouseUp(int x, int y, TMouseButton button) {
  const bool run = IsEnabled && Highlighted && button == TMouseButton::mbLeft;
  if (ButtonCommand == SkinCommand::cmClose) {
    TksSkinButtonObject::MouseUp(x, y, button);
    if (run) Execute();
  } else {
    if (run) Execute();
    TksSkinButtonObject::MouseUp(x, y, button);
  }
}

void TksSkinStdButtonObject::DblClick() {
  if (ButtonCommand == SkinCommand::cmSysMenu) OwnerSkinForm->OwnerForm()->Close();
}

void TksSkinStdButtonObject::Execute() {
  TksSkinForm& f = *OwnerSkinForm;
  switch (ButtonCommand) {
    case SkinCommand::cmClose:
      f.OwnerForm()->Close();
      break;
    case SkinCommand::cmMaximize:
      f.SetWindowState(f.FrameState == TWindowState::wsMaximized ? TWindowState::wsNormal : TWindowState::wsMaximized);
      break;
    case SkinCommand::cmMinimize:
      f.SetWindowState(f.FrameState == TWindowState::wsMinimized ? TWindowState::wsNormal : TWindowState::wsMinimized);
      break;
    case SkinCommand::cmRollUp:
      f.RollUp(!f.RollUpState);
      break;
    case SkinCommand::cmMinimizeToTray:
      f.MinimizeToTray();
      break;
    default:
      break;
  }
}

// -------------------------------------------------------- TksSkinCaptionObject

TksSkinCaptionObject::TksSkinCaptionObject(TksSkinForm* form, const TksDataSkinCaption* record)
    : TksActiveSkinObject(form, record) {
  Kind = FrameObjectKind::Caption;
  defaultcaption = record->defaultcaption;
  textrect = record->textrect;
  font = record->font;
  activefontcolor = record->activefontcolor;
  alignment = record->alignment;
  shadow = record->shadow;
  shadowcolor = record->shadowcolor;
  activeshadowcolor = record->activeshadowcolor;
  framerect = record->framerect;
  activeframerect = record->activeframerect;
  frametextrect = record->frametextrect;
  frameleftoffset = record->frameleftoffset;
  framerightoffset = record->framerightoffset;
}

void TksSkinCaptionObject::MouseEnter() {
  MouseOver = true;
  if (OwnerSkinForm->OnMouseEnterEvent) OwnerSkinForm->OnMouseEnterEvent(IDName);
}

void TksSkinCaptionObject::MouseLeave() {
  MouseOver = false;
  if (OwnerSkinForm->OnMouseLeaveEvent) OwnerSkinForm->OnMouseLeaveEvent(IDName);
}

void TksSkinCaptionObject::Draw(FrameCanvas& canvas, bool update) {
  Highlighted = FormActive();
  // A caption with an image of its own draws it under the text.
  if (!RectIsEmpty(activeskinrect)) DrawBase(canvas, true);
  DrawText(canvas, canvas.Local(ObjectRect));
}

void TksSkinCaptionObject::DrawText(FrameCanvas& canvas, const Rect& target) {
  if (RectIsEmpty(textrect)) return;
  std::wstring text = OwnerSkinForm->OwnerForm()->Caption();
  if (text.empty()) return;
  Rect tr = textrect;
  tr.right = textrect.right + (RectWidth(ObjectRect) - RectWidth(skinrect));
  if (!RectIsEmpty(framerect)) {
    tr.left += frametextrect.left;
    tr.top += frametextrect.top;
    tr.right += frametextrect.right - RectWidth(framerect);
  }
  tr = tr.Offset(target.left, target.top);
  const bool active = Highlighted;
  TFont f = SkinFontToFont(font, ToColor(active ? activefontcolor : font.color),
                           OwnerSkinForm->DefCaptionFont().Charset(), OwnerSkinForm->Dpi());
  HDC dc = canvas.dc;
  ScopedDcState state(dc);
  SelectObject(dc, f.Handle());
  IntersectClipRect(dc, target.left, target.top, target.right, target.bottom);
  FitTextWithEllipsis(dc, text, RectWidth(tr));
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
  const int y = tr.top + RectHeight(tr) / 2 - size.cy / 2;
  int x = tr.left;
  if (alignment == Alignment::taRightJustify) x = tr.right - size.cx;
  if (alignment == Alignment::taCenter) x = tr.left + RectWidth(tr) / 2 - size.cx / 2;
  if (!RectIsEmpty(framerect) && ObjectPicture) {
    const Rect plate = active && !RectIsEmpty(activeframerect) ? activeframerect : framerect;
    Image piece(RectWidth(plate), RectHeight(plate));
    CopyImageRect(piece.View(), piece.Bounds(), ObjectPicture->View(), plate);
    Image wide;
    ComposeHorizontal(piece.View(), frameleftoffset, framerightoffset,
                      RectWidth(framerect) + size.cx - RectWidth(frametextrect), wide);
    const int px = x - frametextrect.left, py = y - frametextrect.top;
    CopyImageRect(canvas.pixels, RectOfSize(px, py, wide.Width(), wide.Height()), wide.View(), wide.Bounds());
  }
  SetBkMode(dc, TRANSPARENT);
  if (shadow) {
    SetTextColor(dc, ToColor(active ? activeshadowcolor : shadowcolor));
    const int offset = ScaleLength(1, OwnerSkinForm->Dpi());
    TextOutW(dc, x + offset, y + offset, text.c_str(), int(text.size()));
  }
  SetTextColor(dc, f.Color());
  TextOutW(dc, x, y, text.c_str(), int(text.size()));
}

// ------------------------------------------------------------ the other kinds

TksSkinLabelObject::TksSkinLabelObject(TksSkinForm* form, const TksDataSkinLabel* record)
    : TksActiveSkinObject(form, record) {
  TextValue = WideFromCp936(record->textvalue);
  font = record->font;
  activefontcolor = record->activefontcolor;
  alignment = record->alignment;
}

void TksSkinLabelObject::Draw(FrameCanvas& canvas, bool update) {
  DrawBase(canvas, update);
  if (TextValue.empty()) return;
  TFont f = SkinFontToFont(font, ToColor(FormActive() ? activefontcolor : font.color), DEFAULT_CHARSET,
                           OwnerSkinForm->Dpi());
  const UINT align = alignment == Alignment::taCenter ? DT_CENTER
                     : alignment == Alignment::taRightJustify ? DT_RIGHT : DT_LEFT;
  TCanvas(canvas.dc).DrawText(f, canvas.Local(ObjectRect), TextValue, align | DT_VCENTER | DT_SINGLELINE);
}

void TksUserObject::Draw(FrameCanvas& canvas, bool update) {
  if (OwnerSkinForm->OnPaintEvent) OwnerSkinForm->OnPaintEvent(IDName, canvas.dc, canvas.Local(ObjectRect));
}

TksSkinAnimateObject::TksSkinAnimateObject(TksSkinForm* form, const TksDataSkinAnimate* record)
    : TksActiveSkinObject(form, record) {
  Kind = FrameObjectKind::Animate;
  ButtonCommand = record->command;
  Command = ButtonCommand;
  // The first of the strip's frames.
  if (record->countframes > 1) skinrect.right = skinrect.left + RectWidth(skinrect) / record->countframes;
  ObjectRect = skinrect;
}

std::unique_ptr<TksActiveSkinObject> CreateFrameObject(TksSkinForm* form, const TksDataSkinObject& record) {
  const TksDataSkinObject* r = &record;
  // Menu records draw menus, not frame objects.
  if (dynamic_cast<const TksDataSkinMainMenuItem*>(r) || dynamic_cast<const TksDataSkinMenuItem*>(r) ||
      dynamic_cast<const TksDataSkinMainMenuBarButton*>(r))
    return nullptr;
  if (dynamic_cast<const TksDataSkinGauge*>(r)) return std::make_unique<TksSkinGaugeObject>(form, r);
  if (auto* b = dynamic_cast<const TksDataSkinStdButton*>(r)) return std::make_unique<TksSkinStdButtonObject>(form, b);
  if (auto* b = dynamic_cast<const TksDataSkinButton*>(r)) return std::make_unique<TksSkinButtonObject>(form, b);
  if (auto* c = dynamic_cast<const TksDataSkinCaption*>(r)) return std::make_unique<TksSkinCaptionObject>(form, c);
  if (dynamic_cast<const TksDataUserObject*>(r)) return std::make_unique<TksUserObject>(form, r);
  if (dynamic_cast<const TksDataSkinSwitch*>(r)) return std::make_unique<TksSkinSwitchObject>(form, r);
  if (dynamic_cast<const TksDataSkinTrackBar*>(r)) return std::make_unique<TksSkinTrackBarObject>(form, r);
  if (auto* l = dynamic_cast<const TksDataSkinLabel*>(r)) return std::make_unique<TksSkinLabelObject>(form, l);
  if (auto* a = dynamic_cast<const TksDataSkinAnimate*>(r)) return std::make_unique<TksSkinAnimateObject>(form, a);
  if (dynamic_cast<const TksDataSkinBitLabel*>(r)) return std::make_unique<TksSkinBitLabelObject>(form, r);
  if (dynamic_cast<const TksDataSkinFrameRegulatorObject*>(r))
    return std::make_unique<TksSkinFrameRegulatorObject>(form, r);
  if (dynamic_cast<const TksDataSkinFrameGaugeObject*>(r)) return std::make_unique<TksSkinFrameGaugeObject>(form, r);
  return nullptr;
}

std::vector<std::unique_ptr<TksActiveSkinObject>> CreatePlainButtons(TksSkinForm* form) {
  std::vector<std::unique_ptr<TksActiveSkinObject>> buttons;
  const std::pair<SkinCommand, const char*> plain[] = {
      {SkinCommand::cmClose, "closebutton"},     {SkinCommand::cmMaximize, "maxbutton"},
      {SkinCommand::cmMinimize, "minbutton"},    {SkinCommand::cmRollUp, "rollupbutton"},
      {SkinCommand::cmSysMenu, "sysmenubutton"}, {SkinCommand::cmMinimizeToTray, "traybutton"}};
  for (const auto& [command, name] : plain)
    buttons.push_back(std::make_unique<TksSkinStdButtonObject>(form, command, name));
  return buttons;
}

}  // namespace kelmar
