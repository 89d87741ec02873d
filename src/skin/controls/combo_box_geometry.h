#pragma once
// The combo box's arithmetic, kept apart from the windows: its item and
// button areas for a size, the drop-down list's height and place, the page
// keys' steps, the type-ahead text and the list's scroll state.
#include <cstdint>
#include <string>

#include "base/geometry.h"
#include "skin/data/skin_control_data.h"

namespace kelmar {

struct TksComboBoxAreas {
  Rect item, button;
};
// Without a section: a 17-pixel button inside a 2-pixel border at the right.
TksComboBoxAreas DefaultComboBoxAreas(int width, int height);
// From the section at the control's size; with use_skin_size off the areas
// also grow downwards with the height.
TksComboBoxAreas SkinComboBoxAreas(const TksDataSkinComboBox& record, bool use_skin_size, int width, int height);

// The item picture's height: "itemrect", else "focusitemrect", else the
// item area's.
int ComboItemImageHeight(const TksDataSkinComboBox& record, const Rect& item_area);
// The text rectangle in an item picture of width w.
Rect ComboItemTextRect(const TksDataSkinComboBox& record, int w);

// The drop-down's height for `rows` rows: with a list section the section's
// frame around the rows, else a 2-pixel border.
int DropDownHeight(const TksDataSkinListBox* list_section, int rows, int item_height);
// The drop-down's top-left: under the combo box, or above it when it would
// end below the work area.
Point DropDownOrigin(const Rect& combo_on_screen, int list_height, const Rect& work_area);

// Page Up and Page Down from `selection` among `count` items.
int PageUpIndex(int selection, int drop_down_count);
int PageDownIndex(int selection, int drop_down_count, int count);

// Characters typed within 500 ms of each other make one search text.
class TksTypeAhead {
 public:
  // The text to search for after typing ch at tick `now` (milliseconds).
  const std::wstring& Add(wchar_t ch, uint32_t now, bool auto_complete);

 private:
  std::wstring text_;
  uint32_t last_ = 0;
};

// The list's vertical scrolling as a scroll bar mirrors it.
struct TksListScrollState {
  int rows = 0;       // whole rows that fit
  bool needed = false;
  int min = 0, max = 0, page = 0, position = 0;
};
TksListScrollState ListScrollState(int count, int top_index, int inner_height, int item_height);

}  // namespace kelmar
