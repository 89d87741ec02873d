#pragma once
// The skinned popup menus. A skinned form's skin menu (TksSkinMenu) shows
// every popup of the form as a chain of popup windows, one per open level;
// each window draws its items from the skin's popup window and "menuitem"
// data, or a plain look without them, and follows the mouse. Keys reach the
// menu through the form's loop filter; the windows never
// take the activation.
#include <windows.h>

#include <memory>
#include <vector>

#include "base/image.h"
#include "framework/application.h"
#include "framework/controls.h"
#include "framework/forms.h"
#include "framework/menus.h"
#include "framework/timer.h"
#include "skin/data/skin_data.h"
#include "skin/form/menu_layout.h"
#include "skin/form/skin_data_components_win32.h"

namespace kelmar {

class TksSkinForm;
class TksSkinMenu;

// Told to the control that opened a menu (and, for the first, to the form):
// the menu closed; an item was chosen.
constexpr UINT SKIN_MSG_MENU_CLOSED = 1228;
constexpr UINT SKIN_MSG_MENU_ITEM_CHOSEN = 1229;

struct TksSkinMenuItem {
  TMenuItem* MenuItem = nullptr;
  Rect ItemRect;  // in the window
  const Image* Picture = nullptr;
  Rect skinrect, activeskinrect;  // empty without a picture
  bool Hot = false;
  bool KeyboardSelected = false;
  bool SubMenuOpen = false;
  bool Visible = true;
  double FadeFactor = 0;

  bool IsLine() const { return MenuItem->IsLine(); }
  bool HasChildren() const { return MenuItem->Count() > 0; }
  bool Selectable() const { return MenuItem->Enabled && !IsLine(); }
  bool ShowsHot() const { return Hot || SubMenuOpen; }
};

class TksSkinPopupWindow : public TWinControl {
 public:
  // skin: the skin of the menu, or null for the plain look.
  TksSkinPopupWindow(TksSkinMenu* menu, const TksSkinData* skin);
  ~TksSkinPopupWindow() override;

  // Makes the items of `item`'s visible children from `first` on, sizes,
  // places and shows the window.
  void Open(const Rect& anchor, TMenuItem* item, bool upward, bool subMenu, int first);

  bool Plain() const { return popupData_ == nullptr; }
  // The window's place among the open levels (0 for the top level).
  int Level() const;
  // The scroll mark's band at the menu's DPI.
  int ScrollBand() const { return Scaled(kMenuScrollBand); }

  // The mouse at a point in the window, a left button release there, a key.
  void Track(Point p);
  void Click(Point p);
  void KeyDown(WORD key);
  void ItemEntered(int index, bool byKeyboard);
  void ItemLeft(int index);
  void ItemActivated(int index);
  // An item's rectangle on the screen.
  Rect ScreenRect(int index) const;
  void Redraw();

  std::vector<TksSkinMenuItem> Items;
  int HighlightIndex = -1, PrevHighlightIndex = -1;
  Rect ItemsArea;
  int FirstShownIndex = 0, ShownItemCount = 0;
  bool Scrolling = false;
  int ScrollDirection = 0;  // 0 none, 1 up, 2 down
  int IconColumnWidth = 16;

  void WndProc(TMessage& m) override;

 protected:
  void CreateParams(TCreateParams& params) override;

 private:
  void LayOut();
  void Show(int x, int y);
  void HighlightFirst();
  void PollMouse();
  void ScrollStep();
  void StepMorph();
  bool CanScrollUp() const { return FirstShownIndex > 0; }
  bool CanScrollDown() const { return FirstShownIndex + ShownItemCount < int(Items.size()); }
  int ItemAt(Point p) const;
  std::vector<int> ItemHeights() const;
  int ItemHeight(const TksSkinMenuItem& item) const;
  TImageList* Images() const;
  void Paint(HDC dc);
  void PaintBackground(TBitmap& buffer);
  void PaintItem(TBitmap& buffer, TksSkinMenuItem& item);
  void PaintItemContent(HDC dc, TksSkinMenuItem& item, const Rect& textRect, COLORREF colour, int captionLeft,
                        int rightInset);

  TksSkinMenu* menu_;
  const TksSkinData* skin_;
  const TksDataSkinPopupWindow* popupData_ = nullptr;
  const TksDataSkinMenuItem* itemData_ = nullptr;
  const Image* windowPicture_ = nullptr;
  const Image* maskPicture_ = nullptr;
  TMenuItem* shownItem_ = nullptr;
  TFont font_;
  TTimer* pollTimer_;
  TTimer* morphTimer_;
  TTimer* delayedShowTimer_;
  TTimer* scrollTimer_;
  Point lastCursor_{-100000, -100000};
  Point pendingPos_;
  bool simulatedTransparency_ = false;
  Image screenCopy_;
};

class TksSkinMenu : public TComponent {
 public:
  // ownerForm: the form whose monitor the menus go on and that hears 1228.
  TksSkinMenu(TComponent* owner, TForm* ownerForm);
  ~TksSkinMenu() override;

  bool UseSkinFont = true;
  int DefMenuItemHeight = 20;
  TFont DefMenuItemFont;
  int MaxMenuItemsInWindow = 0;
  bool MenusAlphaBlend = false;
  uint8_t MenusAlphaBlendValue = 200;
  bool MenusAlphaBlendAnimation = false;

  bool MenuOpen = false;
  bool FirstOpen = false;
  Rect MenuWorkArea;

  // Opens `item`'s children from `first` on under (or above) the anchor
  // (screen); skinData null: the plain look.
  void Popup(TWinControl* opener, TksSkinDataComponent* skinData, bool upward, TMenuItem* item, const Rect& anchor,
             int first);
  void CloseFrom(int level);
  void CloseAll();

  const std::vector<std::unique_ptr<TksSkinPopupWindow>>& Windows() const { return windows_; }
  TksSkinPopupWindow* LastWindow() const { return windows_.empty() ? nullptr : windows_.back().get(); }
  int LevelOf(const TksSkinPopupWindow* window) const;
  // A key for the last window; false when no window is open.
  bool KeyDown(WORD key);
  TWinControl* LastOpenerControl() const { return lastOpener_; }
  TMenuItem* PendingItem() const { return pendingItem_; }
  const TksSkinData* MenuSkin() const;
  TForm* OwnerForm() const { return ownerForm_; }

  // Called by the windows.
  void ScheduleSubMenu(TksSkinPopupWindow* window, int index);
  void CancelSubMenu(const TMenuItem* item);
  void OpenSubMenu(TksSkinPopupWindow* window, int index);
  // Closes every level, then runs the item's command and tells the opener.
  void ChooseItem(TMenuItem* item);

 private:
  void OpenLevel(const Rect& anchor, TMenuItem* item, bool upward, bool subMenu, int first);
  void OpenPendingSubMenu();
  bool TakeClick(const MSG& msg);

  TForm* ownerForm_;
  std::vector<std::unique_ptr<TksSkinPopupWindow>> windows_;
  TTimer* subMenuTimer_;
  TComponentRef<TMenuItem> pendingItem_;
  TComponentRef<TksSkinDataComponent> menuSkinData_;
  TComponentRef<TWinControl> opener_;
  TComponentRef<TWinControl> lastOpener_;
  TLoopFilter filter_;
};

// A framework popup menu shown by a skinned form's skin menu.
class TksSkinPopupMenu : public TPopupMenu {
 public:
  using TPopupMenu::TPopupMenu;

  TksSkinDataComponent* SkinData() const { return skinData_; }
  void SetSkinData(TksSkinDataComponent* data) { skinData_ = data; }
  TForm* TargetForm() const { return targetForm_; }
  void SetTargetForm(TForm* form) { targetForm_ = form; }

  void Popup(int x, int y) override;
  // Under (or above) a rectangle on the screen, as frame buttons drop it.
  void PopupFromRect(const Rect& anchor, bool upward);
  // The skinned form of the target form, else of the owner or the owner's
  // owner when that is a form; null when there is none.
  TksSkinForm* FindSkinForm() const;

 private:
  TComponentRef<TksSkinDataComponent> skinData_;
  TComponentRef<TForm> targetForm_;
};

}  // namespace kelmar
