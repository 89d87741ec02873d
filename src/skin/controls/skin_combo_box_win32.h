#pragma once
// The skinned combo box: its box, button and selected item from a section
// of the combo box class (or a plain look), and a drop-down list of its own
// (a pop-up that never takes the activation) that follows the mouse and the
// keys, with type-ahead search. The fixed style picks from the list only;
// the edit style puts an edit field in the item area.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/application.h"
#include "skin/controls/combo_box_geometry.h"
#include "skin/controls/skin_control_win32.h"
#include "skin/controls/skin_list_box_win32.h"

namespace kelmar {

enum class TksSkinCustomComboBoxStyle { kscbFixedStyle, kscbEditStyle };

class TksSkinCustomComboBox;

// The edit field of the edit style: it hands navigation keys to its combo
// box and reports its text changes.
class TksComboEdit : public TWinControl {
 public:
  explicit TksComboEdit(TksSkinCustomComboBox* combo);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CommandNotify(WORD code) override;
  HBRUSH CtlColor(HDC dc) override;
  void WndProc(TMessage& m) override;

 private:
  TksSkinCustomComboBox* combo_;
  BrushHandle background_;
};

class TksSkinCustomComboBox : public TksSkinCustomControl {
 public:
  TksSkinCustomComboBox(TComponent* owner, std::string name);

  TksSkinCustomComboBoxStyle Style() const { return style_; }
  void SetStyle(TksSkinCustomComboBoxStyle style);
  const std::vector<std::wstring>& Items() const { return list_->Items(); }
  void SetItems(std::vector<std::wstring> items);
  int Count() const { return list_->Count(); }
  // The list's selection. Setting it takes the item's text and fires
  // OnClick.
  int ItemIndex() const { return list_->ItemIndex(); }
  void SetItemIndex(int index);
  const std::wstring& Text() const { return text_; }
  void SetText(const std::wstring& text);
  bool Sorted() const { return list_->Sorted(); }
  void SetSorted(bool sorted) { list_->SetSorted(sorted); }
  int DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int count);
  bool AutoComplete = true;
  bool HideSelection = true;
  bool UseSkinSize() const { return useSkinSize_; }
  void SetUseSkinSize(bool on);
  // The drop-down's width; 0: the combo box's.
  int ListBoxWidth = 0;
  bool ListBoxUseSkinItemHeight() const { return list_->UseSkinItemHeight(); }
  void SetListBoxUseSkinItemHeight(bool on) { list_->SetUseSkinItemHeight(on); }
  int ListBoxDefaultItemHeight() const { return list_->DefaultItemHeight(); }
  void SetListBoxDefaultItemHeight(int height) { list_->SetDefaultItemHeight(height); }
  TFont& ListBoxDefaultFont() { return list_->DefaultFont(); }
  bool ListBoxAlphaBlend = false;
  bool ListBoxAlphaBlendAnimation = false;
  uint8_t ListBoxAlphaBlendValue = 200;
  TImageList* Images() const { return list_->Images(); }
  void SetImages(TImageList* images);
  int ImageIndex() const { return list_->ImageIndex(); }
  void SetImageIndex(int index);

  std::function<void()> OnChange;  // the text changed
  std::function<void()> OnClick;   // a selection was made
  std::function<void()> OnDropDown, OnCloseUp;
  TksDrawSkinItemEvent OnComboBoxDrawItem;
  void SetOnListBoxDrawItem(TksDrawSkinItemEvent draw) { list_->OnDrawItem = std::move(draw); }

  bool DroppedDown() const { return list_->Visible(); }
  void OpenDropDown();
  void CloseDropDown(bool accept);
  TksPopupListBox* ListBox() const { return list_; }
  TksComboEdit* Edit() const { return edit_; }
  // The item and button areas for the current size and section.
  TksComboBoxAreas Areas();
  bool ButtonHot() const { return buttonHot_; }
  bool ButtonPressed() const { return buttonPressed_; }

  void PrepareSkinChange() override;
  void ApplySkinChange() override;
  bool DialogKey(WORD key, TShiftState shift) override;
  void FormMoved() override;

  // The edit field's keys and text.
  void ComboKey(WORD key, TShiftState shift);
  void EditTextChanged(const std::wstring& text);

  // Screen readers: the text is the value; the drop-down list is the child.
  int AccChildCount() const override;
  IDispatch* AccChildObject(int child) const override;
  std::wstring AccValue(int child) const override { return child == 0 ? text_ : L""; }
  long AccState(int child) const override;
  std::wstring AccDefaultAction(int child) const override;
  void AccRunDefaultAction(int child) override;

 protected:
  // Run after every selection made through the combo box.
  virtual void SelectionChanged() {}

  void HandleCreated() override;
  void BoundsChanged() override;
  void DrawSkinImage(TBitmap& bitmap) override;
  void DrawDefaultImage(TBitmap& bitmap) override;
  void DefaultFontChanged() override;
  void FitToSkin(int& width, int& height) override;
  void UpdateSkinRegion() override;
  void EnabledChanged() override;
  void MouseButtonDown(TMouseButton button, TShiftState shift, Point p) override;
  void MouseButtonUp(TMouseButton button, TShiftState shift, Point p) override;
  void MouseMoved(TShiftState shift, Point p) override;
  void MouseLeave() override;
  void CaptureLost() override;
  void FocusChanged(bool focused) override;
  void KeyDown(WORD key, TShiftState shift) override;
  void KeyPress(wchar_t ch) override;
  void WndProc(TMessage& m) override;
  long AccClassRole() const override { return ROLE_SYSTEM_COMBOBOX; }
  bool AccFocusable() const override { return true; }

 private:
  const TksDataSkinComboBox* ComboSection() const;
  void ListMessage(TMessage& m, const TWindowNext& next);
  void TrackList(Point p);
  void SetAutoScroll(int mode);
  void AutoScrollTick();
  void ShowList();
  void Selected();
  void Step(int delta);
  void PlaceEdit();
  void DrawItem(TBitmap& bitmap, const TFont& font, const Rect& text);
  void WatchOutsidePresses(bool on);

  TksPopupListBox* list_;
  TWindowFilter listFilter_;
  TksComboEdit* edit_ = nullptr;
  TTimer* autoScrollTimer_;
  TksSkinCustomComboBoxStyle style_ = TksSkinCustomComboBoxStyle::kscbFixedStyle;
  std::wstring text_;
  int dropDownCount_ = 8;
  bool useSkinSize_ = true;
  bool buttonHot_ = false, buttonPressed_ = false;
  int savedIndex_ = -1;
  bool tracking_ = false, enteredList_ = false;
  int autoScroll_ = 0;  // 0 none, 1 up, 2 down
  bool editChanging_ = false;
  TksTypeAhead typeAhead_;
  TLoopFilter pressFilter_;
};

class TksSkinComboBox : public TksSkinCustomComboBox {
 public:
  using TksSkinCustomComboBox::TksSkinCustomComboBox;
};

}  // namespace kelmar
