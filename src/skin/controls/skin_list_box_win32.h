#pragma once
// The skinned list box: its frame from a section of the list box class (or a
// plain one), an inner system list box that keeps the items, the selection
// and the scrolling and whose rows are drawn here from the section, and a
// skinned vertical scroll bar, made on first need, shown while the rows do
// not all fit. TksPopupListBox is the same list in a borderless pop-up
// window that never takes the activation: the combo box's drop-down.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/list_view.h"
#include "skin/controls/skin_control_win32.h"
#include "skin/controls/skin_scroll_bar_win32.h"

namespace kelmar {

struct TksItemState {
  bool selected = false;
  bool focused = false;
};
// Owner drawing of an item: the canvas of its picture, the item number, its
// state and the rectangle for its text.
using TksDrawSkinItemEvent = std::function<void(TCanvas& canvas, int index, TksItemState state, const Rect& rect)>;

// An item's image (number image_index, or the item's own number when that is
// negative) at the left of its text rectangle, centred across, when the
// list has it; the text then starts after the image's width and 2 pixels.
void DrawItemImage(HDC dc, const TImageList* images, int image_index, int item, Rect& text);

// The inner list: owner-drawn rows of one height, its own scroll bars hidden.
class TksListBox : public TWinControl {
 public:
  using TWinControl::TWinControl;

 protected:
  void CreateParams(TCreateParams& params) override;
};

class TksSkinCustomListBox : public TksSkinCustomControl {
 public:
  TksSkinCustomListBox(TComponent* owner, std::string name);

  int Count() const { return int(items_.size()); }
  const std::vector<std::wstring>& Items() const { return items_; }
  void SetItems(std::vector<std::wstring> items);
  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);
  // The selection (-1 none); an index outside the items clears it.
  int ItemIndex() const;
  void SetItemIndex(int index);
  int TopIndex() const;
  void SetTopIndex(int index);
  // The first item from after `start` (-1: from the first) whose text begins
  // with `text`, ignoring case and wrapping around; -1 when none does.
  int FindPrefix(const std::wstring& text, int start) const;
  // Selects the row at y of the inner list (hot tracking); nothing outside
  // the rows.
  void HotTrack(int y);

  bool UseSkinItemHeight() const { return useSkinItemHeight_; }
  void SetUseSkinItemHeight(bool on);
  int DefaultItemHeight() const { return defaultItemHeight_; }
  void SetDefaultItemHeight(int height);
  // The row height in force.
  int ItemHeight() const { return itemHeight_; }
  TImageList* Images() const { return images_.Get(); }
  void SetImages(TImageList* images);
  // −1: image number = item number.
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int index);
  TksDrawSkinItemEvent OnDrawItem;

  TksListBox* InnerList() const { return list_; }
  // Null until the rows first do not fit.
  TksSkinScrollBar* ScrollBar() const { return scrollBar_; }
  // The frame's height around `rows` rows.
  int HeightForRows(int rows) const;

  void PrepareSkinChange() override;
  void ApplySkinChange() override;

  // Screen readers: the items are the list's children.
  int AccChildCount() const override { return Count(); }
  IDispatch* AccChildObject(int child) const override { return nullptr; }
  std::wstring AccName(int child) const override;
  long AccRole(int child) const override;
  long AccState(int child) const override;
  Rect AccLocation(int child) const override;
  int AccSelection() const override;

 protected:
  void HandleCreated() override;
  void DrawDefaultImage(TBitmap& bitmap) override;
  long AccClassRole() const override { return ROLE_SYSTEM_LIST; }
  void BoundsChanged() override;
  void WndProc(TMessage& m) override;
  const TksDataSkinListBox* ListSection() const;

 private:
  void ListMessage(TMessage& m, const TWindowNext& next);
  void LayOut();
  void UpdateItemHeight();
  void SyncScrollBar();
  void FillInnerList();
  void DrawItem(const DRAWITEMSTRUCT& d);

  TksListBox* list_;
  TWindowFilter listFilter_;
  TksSkinScrollBar* scrollBar_ = nullptr;
  std::vector<std::wstring> items_;
  int itemIndex_ = -1;  // while the inner list has no window
  bool sorted_ = false;
  bool useSkinItemHeight_ = true;
  int defaultItemHeight_ = 20;
  int itemHeight_ = 20;
  TComponentRef<TImageList> images_;
  int imageIndex_ = -1;
};

class TksSkinListBox : public TksSkinCustomListBox {
 public:
  using TksSkinCustomListBox::TksSkinCustomListBox;
};

class TksPopupListBox : public TksSkinListBox {
 public:
  TksPopupListBox(TComponent* owner, std::string name);

  // The window the pop-up stays above (the combo box's form).
  void SetOwnerWindow(HWND owner);
  // Makes the pop-up's window, above owner, when it has none yet.
  void MakeWindow(HWND owner);
  // Translucency: the window's layered style and its opacity, as set last.
  bool Layered() const { return layered_; }
  void SetLayered(bool on);
  uint8_t Opacity() const { return opacity_; }
  void SetOpacity(uint8_t alpha);

 protected:
  void CreateParams(TCreateParams& params) override;
  // Shown and hidden without taking the activation.
  void VisibleChanged() override;
  void WndProc(TMessage& m) override;

 private:
  bool layered_ = false;
  uint8_t opacity_ = 255;
};

}  // namespace kelmar
