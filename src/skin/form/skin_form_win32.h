#pragma once
// The skinned frame: a component on a form that takes over the form's window
// messages, draws the frame (border, caption, caption buttons) from the skin
// in the window's non-client area, or a plain frame of its own without a
// skin, and passes skin changes on to the form's skinned controls.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/application.h"
#include "framework/forms.h"
#include "framework/graphics.h"
#include "framework/menus.h"
#include "framework/timer.h"
#include "skin/data/skin_platform_win32.h"
#include "skin/form/frame_geometry.h"
#include "skin/form/frame_hit_test.h"
#include "skin/form/frame_objects_win32.h"
#include "skin/form/skin_data_components_win32.h"
#include "skin/form/skin_hint_win32.h"
#include "skin/form/skin_menu_win32.h"
#include "skin/form/system_menu.h"

namespace kelmar {

enum class TWindowState { wsNormal, wsMinimized, wsMaximized };

// A skinned control as the frame sees it: told before a skin change frees the
// records it reads, and after the new ones exist.
class TksSkinChangeTarget {
 public:
  virtual TksSkinData* SkinDataForChange() const = 0;
  virtual void PrepareSkinChange() = 0;
  virtual void ApplySkinChange() = 0;

 protected:
  ~TksSkinChangeTarget() = default;
};

class TksFrameAccessible;

// A caption button's built-in hint (code page 936), empty for none.
std::string DefaultObjectHint(SkinCommand command);

class TksSkinForm : public TComponent {
 public:
  // The owner must be a form; anything else fails with the framework's
  // invalid-cast error.
  TksSkinForm(TComponent* owner, std::string name);
  ~TksSkinForm() override;

  // Settings.
  TksSkinDataComponent* SkinData() const { return skinData_; }
  void SetSkinData(TksSkinDataComponent* data);
  TksSkinDataComponent* MenusSkinData() const { return menusSkinData_ ? menusSkinData_.Get() : skinData_.Get(); }
  void SetMenusSkinData(TksSkinDataComponent* data) { menusSkinData_ = data; }
  bool Sizeable = true;
  TksBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TksBorderIcons icons);
  bool HideCaptionButtons = false;
  bool ShowIcon() const { return showIcon_; }
  void SetShowIcon(bool show);
  int MinWidth = 0, MinHeight = 0, MaxWidth = 0, MaxHeight = 0;
  int ClientWidth = 0, ClientHeight = 0;
  bool Magnetic = false;
  uint8_t MagneticSize = 10;
  bool MaximizeOnFullScreen = false;
  bool AlphaBlend = false;
  uint8_t AlphaBlendValue = 200;
  bool AlphaBlendAnimation = false;
  // Run-time changes of the transparency (the fields above are the settings
  // the window starts with).
  void SetAlphaBlend(bool value);
  void SetAlphaBlendValue(uint8_t value);
  // The system offers layered windows (only the versions that draw them
  // well); tests on other systems switch it on.
  bool LayeredWindows = LayeredWindowsAvailable();
  bool UseDefaultSysMenu = true;
  TksSkinHint* SkinHint() const { return skinHint_; }
  void SetSkinHint(TksSkinHint* hint) { skinHint_ = hint; }
  bool ShowObjectHint = false;
  bool UseDefaultObjectHint = true;
  bool UseFormCursorInNCArea = false;
  TFont& DefCaptionFont() { return defCaptionFont_; }
  TFont& DefInActiveCaptionFont() { return defInactiveCaptionFont_; }
  TBitmap& LogoBitMap() { return logo_; }
  bool LogoBitMapTransparent = false;

  // Events.
  std::function<void()> OnChangeSkinData;
  std::function<void(const Rect&)> OnChangeClientRect;
  std::function<void()> OnActivate, OnDeActivate;
  std::function<void()> OnChangeRollUpState;
  std::function<void(const std::string&, bool&)> OnActivateCustomObject;
  std::function<void(const std::string&)> OnMouseEnterEvent, OnMouseLeaveEvent;
  std::function<void(const std::string&, int, int, const Rect&, TMouseButton)> OnMouseDownEvent, OnMouseUpEvent;
  std::function<void(const std::string&, int, int, const Rect&)> OnMouseMoveEvent;
  std::function<void(const std::string&, HDC, const Rect&)> OnPaintEvent;
  std::function<void()> OnSkinMenuOpen, OnSkinMenuClose, OnMainMenuEnter, OnMainMenuExit;

  // Menus. SystemMenu null: the built-in system menu.
  TPopupMenu* SystemMenu() const { return systemMenu_; }
  void SetSystemMenu(TPopupMenu* menu) { systemMenu_ = menu; }
  // Shows every popup of the form; holds the menu settings.
  TksSkinMenu& SkinMenu() const { return *skinMenu_; }
  TksSkinPopupMenu* TrayMenu() const { return trayMenu_; }
  void SetMaxMenuItemsInWindow(int count) {
    if (count >= 0) skinMenu_->MaxMenuItemsInWindow = count;
  }
  void SetDefMenuItemHeight(int height) {
    if (height >= 1) skinMenu_->DefMenuItemHeight = height;
  }
  bool SkinMenuActive = false;
  bool MainMenuMode = false;
  // The entries the system menu shows now: SystemMenu's (with the built-in
  // ones merged in when UseDefaultSysMenu), or the built-in menu when it
  // has no visible entry.
  TMenuItem* SystemMenuItems();
  // A skin menu of the form opens or has closed.
  void SkinMenuOpened();
  void SkinMenuClosed();
  // The system menu under the anchor (screen; an empty rectangle at the
  // cursor for a right click on the caption).
  void PopupSystemMenu(const Rect& anchor);
  // A frame button's DropMenu under the button.
  void DropObjectMenu(const TksSkinButtonObject& button);

  // State the frame objects and the frame behaviour read.
  TForm* OwnerForm() const { return ownerForm_; }
  bool SkinApplied() const { return skinApplied_; }
  TWindowState FrameState = TWindowState::wsNormal;
  bool RollUpState = false;
  bool RolledUpWhileMaximized = false;
  Rect RestoreBounds;
  int FrameWidth = 0, FrameHeight = 0;
  const FrameGeometry& Geometry() const { return geometry_; }
  Rect PlainCaptionRect;
  int HotObjectIndex = -1, PrevHotObjectIndex = -1, CapturedObjectIndex = -1;
  bool InSizeMove = false, FullWindowDrag = false;
  const std::vector<std::unique_ptr<TksActiveSkinObject>>& FrameObjects() const { return objects_; }

  // The skin model when it can draw (set and not empty), else null.
  const TksSkinData* Skin() const;
  // The form is active and the system's active window.
  bool IsActive() const;
  // The DPI the form is made for: the frame's fonts, glyphs and the lengths
  // it draws without the skin follow it.
  int Dpi() const { return ownerForm_->Dpi(); }
  // The form's small icon, made on first use.
  HICON SmallIcon();
  Point SmallIconSize() const;
  // Paints one object now (repaints the frame where it lies).
  void PaintObject(const TksActiveSkinObject& object);
  // Lets the fade timer step the morphing objects.
  void StartFading();
  // Paints the whole frame into dc (window coordinates): the window's own
  // non-client paint, WM_PRINT and tests share it.
  void PaintFrame(HDC dc);
  void SetWindowState(TWindowState state);
  void RollUp(bool value);
  void MinimizeToTray() {}  // the tray icon comes with the tray menu
  // Minimum window size the frame allows.
  Point MinTrackSize() const;
  // The frame's hit-test code for a point in window coordinates.
  int HitTest(Point p);
  // Makes the frame objects anew from the skin (or the plain buttons).
  void ApplySkin();
  // The form was made for another DPI: the skin data for that DPI, the
  // small icon, the objects, the shape and the frame anew.
  void ScaleChanged();
  // What a frame object is called in its hint and to screen readers: its
  // hint (a standard button's built-in one when it has none), and "还原"
  // for the button that gives the window its size back.
  std::wstring ObjectName(const TksActiveSkinObject& object) const;
  // Object hints, for the hover tracking: an object that became hot shows
  // its hint (when the form is active), one that is no longer hot hides it.
  void ObjectHintEnter(const TksActiveSkinObject& object);
  void ObjectHintLeave(const TksActiveSkinObject& object);

 private:
  void HandleMessage(TMessage& m, const TWindowNext& next);
  void ClosingCheck(UINT msg);
  bool HasBorder() const;
  bool ToolWindow() const;
  bool FrameUsable() const;

  void OnNcCalcSize(TMessage& m);
  void OnSize(TMessage& m, const TWindowNext& next);
  void OnActivateMessage();
  void OnSetText();
  void OnEraseBackground(TMessage& m);
  void OnShowWindow(bool show);
  void MakeShape(bool sizeChanged);
  void OnSetCursor(TMessage& m);
  void OnGetMinMaxInfo(TMessage& m);
  void OnNcActivate(TMessage& m);
  void OnSkinMessage(TMessage& m);

  // Mouse in the frame.
  void OnNcHitTest(TMessage& m, const TWindowNext& next);
  void OnMouseMessage(TMessage& m, const TWindowNext& next);
  void TrackHover(Point p, bool track);
  void PollCursor();
  void Press(TMouseButton button, Point p);
  void Release(TMouseButton button, Point p);
  void CaptionDoubleClick();
  bool OnCaptionObject(Point p) const;
  TksActiveSkinObject* ObjectAt(int index) const;
  Point CursorInWindow() const;

  // The move/size loop, transparency.
  void OnEnterSizeMove();
  void OnExitSizeMove();
  void OnMoving(TMessage& m, const TWindowNext& next);
  void OnSizing(TMessage& m, const TWindowNext& next);
  void StartFadeIn();
  void StepFadeIn();
  void SetLayered(bool layered);

  void PaintSkinnedFrame(HDC dc);
  void PaintPlainFrame(HDC dc);
  void ComputeGeometry();
  void PlaceObjects();
  void SetRegion(bool sizeChanged);
  void UpdateForNewSize(bool sizeChanged);
  void FrameRefresh();
  void RemoveSkin();
  void NotifyControls(TksSkinData* data, bool apply);
  void CaptionActivationUpdate(bool repaint);
  void ApplyBorderIconsToObjects();
  void AssignDefaultObjectHints();
  bool ObjectHintsOn() const { return ShowObjectHint && skinHint_; }
  void MakePlainButtons();
  void ForgetHotObject();
  void StepFades();
  void SendNcPaint();
  bool FrameShown() const;
  std::vector<FrameObjectLayout*> Layouts() const;

  FrameMenuState MenuState() const;
  TMenuItem* MakeEntry(SysMenuEntry entry);
  void RunEntry(SysMenuEntry entry);
  void MenuKeys(WORD key);
  void OnKeyMenu(TMessage& m);

  TForm* ownerForm_;
  TComponentRef<TksSkinDataComponent> skinData_;
  TComponentRef<TksSkinDataComponent> menusSkinData_;
  TComponentRef<TksSkinHint> skinHint_;
  TksBorderIcons borderIcons_ = kDefaultBorderIcons;
  bool showIcon_ = false;
  bool skinApplied_ = false;
  int appliedDpi_ = 0;  // the form's DPI when the frame was last made
  Point shapedSize_{-1, -1};  // the size the objects and the shape are for
  WPARAM shapedKind_ = SIZE_RESTORED;  // and the last WM_SIZE's kind
  bool ncActiveFlag_ = false;
  FrameGeometry geometry_;
  std::vector<std::unique_ptr<TksActiveSkinObject>> objects_;
  TFont defCaptionFont_, defInactiveCaptionFont_;
  TBitmap logo_;
  // The client area's tile as a brush, and the picture part it was made of.
  BrushHandle tileBrush_;
  const Image* tileBrushSource_ = nullptr;
  Rect tileBrushRect_;
  TTimer* fadeTimer_;
  TTimer* hoverPollTimer_;
  TTimer* frameStepTimer_;
  TTimer* fadeInTimer_;
  IconHandle smallIcon_;
  bool hasRegion_ = false;
  // Set while hidden: the shape to make at the show (whether sized).
  std::optional<bool> pendingShape_;
  int rollUpSavedHeight_ = 0;
  // A move/size loop ran inside the default handling of a button press.
  bool sizeMoveRan_ = false;
  // The cursor's offset from the window's top-left when a move began.
  Point dragOffset_;
  FrameMaskShape maskShape_;
  // Kept between paints: the strips are composed anew each time into memory
  // that stays (large blocks cost a fresh mapping each under Wine).
  Image strips_[4];
  TBitmap stripBitmaps_[4];
  TComponentRef<TPopupMenu> systemMenu_;
  TPopupMenu* builtInMenu_;
  TksSkinPopupMenu* trayMenu_;
  TksSkinMenu* skinMenu_;
  // Keys and the wheel while a skinned menu is open.
  TLoopFilter menuFilter_;
  // What the window and its caption buttons tell screen readers.
  std::unique_ptr<TksFrameAccessible> accessible_;
  // Ahead of all the form's own handling; made last, removed first.
  TWindowFilter formFilter_;
};

}  // namespace kelmar
