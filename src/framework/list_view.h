#pragma once
// The list view and its image lists (comctl32).
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "base/decoded_icon.h"
#include "base/image.h"
#include "framework/controls.h"

namespace kelmar {

// One image for TImageList::AddIcons: an icon handle, or the pixels of an
// icon resource decoded at the size the system would have made its icon.
// With neither, a blank image.
struct TIconImage {
  HICON handle = nullptr;
  const DecodedIcon* pixels = nullptr;
};

// Images of one size with a transparency mask, in the display's colour
// format. The list owns copies of the icons added to it.
class TImageList : public TComponent {
 public:
  TImageList(TComponent* owner, std::string name, int width, int height);
  HIMAGELIST Handle() const { return handle_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  int Count() const;
  // Adds a copy of the icon, scaled to the list's size; -1 if refused.
  int AddIcon(HICON icon);
  // Adds an empty (fully transparent) image; keeps positions in step when a
  // list refuses an icon.
  int AddBlank();
  // Adds copies of many icons at once, in order; a null icon adds a blank
  // image. The same pixels as AddIcon one by one, with one drawing surface
  // for all of them instead of one per icon. Decoded pixels give the image
  // that an icon handle made of them would give, without making one.
  void AddIcons(const std::vector<TIconImage>& icons);
  void AddIcons(const std::vector<HICON>& icons);
  void Clear();
  // A new icon made from image i; the caller owns it.
  IconHandle GetIcon(int index) const;
  // Image i as AddIcons drew it onto black, 32 bits per pixel with the
  // icon's alpha (colours premultiplied). The list itself cannot give it
  // back: adding an image clears its colour wherever the mask is set, soft
  // edges included. Empty for images added one by one.
  const Image& DrawnImage(int index) const;

 private:
  // Keeps the n cells of a drawn strip (32-bit pixels, rows top-down) as
  // the images about to be added.
  void KeepDrawnImages(const Pixel* strip, int n);

  int width_;
  int height_;
  ImageListHandle handle_;
  std::vector<Image> drawn_;
};

enum class TViewStyle { vsIcon = 0, vsSmallIcon = 1, vsList = 2, vsReport = 3 };

class TListView : public TWinControl {
 public:
  using TWinControl::TWinControl;

  void SetLargeImages(TImageList* images);
  void SetSmallImages(TImageList* images);
  void SetStateImages(TImageList* images);
  void SetMultiSelect(bool multi) { multi_select_ = multi; }
  void SetHideSelection(bool hide) { hide_selection_ = hide; }
  // The background (Color), the items' text and the sunken edge around the
  // list, repainted at once. kSystemEdge: the system's own edge; a colour:
  // a flat line of it with a line of the background inside.
  static constexpr TColor kSystemEdge = 0xFFFFFFFF;
  void SetColors(TColor background, TColor text, TColor edge = kSystemEdge);
  // Each label shows its caption with the middle of the path in it left
  // out ("…") where the whole does not fit the label's room: two lines
  // under a large icon, one line two icon steps wide beside a small one.
  // The file name stays whole; ItemCaption stays the whole caption.
  void SetPathLabels(bool on) { path_labels_ = on; }
  TViewStyle ViewStyle() const { return view_style_; }
  void SetViewStyle(TViewStyle style);

  int Count() const;
  void Clear();
  // Appends an item; returns its position.
  int AddItem(const std::wstring& caption, int image_index);
  // The caption the item was added with (its label may be shorter).
  std::wstring ItemCaption(int index) const;
  // What the item's label shows.
  std::wstring ItemLabel(int index) const;
  int ItemImageIndex(int index) const;
  int SelectedCount() const;
  bool Selected(int index) const;
  void SetSelected(int index, bool selected);
  void SelectAll();
  int FocusedIndex() const;  // -1 when no item carries the focus mark
  void SetFocused(int index);
  // The items placed anew in rows for the list's size, as a list that took
  // them in now places them; their selection and focus stay.
  void Arrange();
  // The first item shown in the client area (in part or whole), -1 for none;
  // and the list scrolled so that item `index` shows at the top.
  int FirstShownItem() const;
  void ScrollToTop(int index);
  // Many items at once: no repaint until the matching EndUpdate.
  void BeginUpdate();
  void EndUpdate();
  // Paints the list as it is now, also between BeginUpdate and EndUpdate.
  void RepaintNow();
  class UpdateScope {
   public:
    explicit UpdateScope(TListView& list) : list_(list) { list_.BeginUpdate(); }
    ~UpdateScope() { list_.EndUpdate(); }
    UpdateScope(const UpdateScope&) = delete;
    UpdateScope& operator=(const UpdateScope&) = delete;

   private:
    TListView& list_;
  };

  void Notification(TComponent* component, TOperation operation) override;

  // An item was selected or let go of (once for each item that changed).
  std::function<void()> OnSelectItem;
  // A double click on an item, and a right click on one (with the point on
  // the screen, for a menu there).
  std::function<void(int item)> OnItemDblClick;
  std::function<void(int item, Point screen)> OnItemContextMenu;
  // The hint of item i; the list's own hint shows away from the items.
  std::function<std::wstring(int item)> OnItemHint;
  std::wstring HintAt(Point p) const override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void NotifyReflected(TMessage& m) override;
  void WndProc(TMessage& m) override;

 private:
  int ClientWidthNow() const;
  // Labels are made again for another view or font.
  void ForgetLabels();
  std::wstring MakeLabel(const std::wstring& caption) const;
  // Arranges the icons for the width the list has now and has the list fit
  // its scroll bars to them, again while that changes the width.
  void RefitIcons();

  TImageList* large_ = nullptr;
  TImageList* small_ = nullptr;
  TImageList* state_ = nullptr;
  bool multi_select_ = true;
  void ApplyColors();
  void PaintEdge();

  bool hide_selection_ = true;
  TColor text_color_ = RGB(0, 0, 0);
  TColor edge_color_ = kSystemEdge;
  bool path_labels_ = false;
  // Each item's caption, and its label once the list asked for it (empty
  // until then), in list order.
  std::vector<std::wstring> captions_;
  mutable std::vector<std::wstring> labels_;
  TViewStyle view_style_ = TViewStyle::vsIcon;
  int update_count_ = 0;
  // Set while a size change and its refit are handled.
  bool refitting_ = false;
};

}  // namespace kelmar
