#pragma once
// Menus: a tree of items (caption, short-cut, check mark, image, sub-items,
// click handler) and the popup menu component that holds one. A plain popup
// menu shows as a system menu; a skinned form shows its menus itself.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/geometry.h"
#include "framework/component.h"
#include "framework/graphics.h"
#include "framework/list_view.h"

namespace kelmar {

class TMenu;

// A key with modifiers: the virtual key in the low byte, plus the bits below.
using TShortCut = uint16_t;
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000;
constexpr TShortCut MakeShortCut(WORD key, TShortCut modifiers) { return TShortCut((key & 0xFF) | modifiers); }
// The text form of a short-cut ("Alt+F4", "Ctrl+Shift+S"); empty for none.
std::wstring ShortCutToText(TShortCut shortCut);
// The accelerator of a caption: the character after a single "&", upper
// case; 0 when there is none ("&&" is a plain "&").
wchar_t AcceleratorChar(const std::wstring& caption);

// A menu entry. An item owns its sub-items; it is a component (owned by no
// one) only so that references to it can clear themselves when it is freed.
class TMenuItem : public TComponent {
 public:
  explicit TMenuItem(std::string name = {}, std::wstring caption = {});
  ~TMenuItem() override;

  std::wstring Caption;
  TShortCut ShortCut = 0;
  bool Checked = false;
  bool Enabled = true;
  bool Visible = true;
  bool RadioItem = false;
  int ImageIndex = -1;
  std::function<void()> OnClick;
  // Owner drawing: the item, the canvas, whether it is hot, the text area.
  std::function<void(TMenuItem&, TCanvas&, bool, const Rect&)> OnDrawItem;

  // A separator's caption is "-".
  bool IsLine() const { return Caption == L"-"; }
  int Count() const { return int(items_.size()); }
  TMenuItem* Items(int index) const { return items_[size_t(index)].get(); }
  TMenuItem* Parent() const { return parent_; }
  int IndexOf(const TMenuItem* item) const;
  // The item takes ownership of what is added or inserted.
  TMenuItem* Add(TMenuItem* item) { return Insert(Count(), item); }
  TMenuItem* Insert(int index, TMenuItem* item);
  // Removes and frees.
  void Delete(int index);
  void Clear();
  // The menu whose tree holds the item; null when it is in none.
  TMenu* GetParentMenu() const;
  virtual void Click();

 private:
  friend class TMenu;
  TMenuItem* parent_ = nullptr;
  TMenu* menu_ = nullptr;  // set on a menu's root item
  std::vector<std::unique_ptr<TMenuItem>> items_;
};

class TMenu : public TComponent {
 public:
  TMenu(TComponent* owner, std::string name);
  ~TMenu() override;

  TMenuItem* Items() const { return items_.get(); }
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* images) { images_ = images; }
  // Runs the item's command (its click handler).
  void DispatchItem(TMenuItem* item);

 private:
  std::unique_ptr<TMenuItem> items_;
  TComponentRef<TImageList> images_;
};

class TPopupMenu : public TMenu {
 public:
  using TMenu::TMenu;
  std::function<void()> OnPopup;
  // Shows the menu at the screen point and runs the chosen item.
  virtual void Popup(int x, int y);
};

}  // namespace kelmar
