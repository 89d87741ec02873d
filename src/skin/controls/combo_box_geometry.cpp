#include "skin/controls/combo_box_geometry.h"

#include <algorithm>

#include "skin/data/skin_geometry.h"

namespace kelmar {

TksComboBoxAreas DefaultComboBoxAreas(int width, int height) {
  TksComboBoxAreas a;
  a.button = {width - 19, 2, width - 2, height - 2};
  a.item = {2, 2, a.button.left - 1, height - 2};
  return a;
}

TksComboBoxAreas SkinComboBoxAreas(const TksDataSkinComboBox& record, bool use_skin_size, int width, int height) {
  const int dx = width - RectWidth(record.skinrect);
  TksComboBoxAreas a;
  a.button = record.buttonrect;
  // The button follows the right edge when it lies in the right part; the
  // test compares with the right part's width, as skins are made for it.
  if (record.buttonrect.left >= RectWidth(record.skinrect) - record.righttoppoint.x) {
    a.button.left += dx;
    a.button.right += dx;
  }
  a.item = record.clientrect;
  a.item.right += dx;
  if (!use_skin_size) {
    const int dy = height - RectHeight(record.skinrect);
    a.button.bottom += dy;
    a.item.bottom += dy;
  }
  return a;
}

int ComboItemImageHeight(const TksDataSkinComboBox& record, const Rect& item_area) {
  if (RectHeight(record.itemrect) > 0) return RectHeight(record.itemrect);
  if (RectHeight(record.focusitemrect) > 0) return RectHeight(record.focusitemrect);
  return RectHeight(item_area);
}

Rect ComboItemTextRect(const TksDataSkinComboBox& record, int w) {
  Rect r = record.itemtextrect;
  r.right += w - (RectIsEmpty(record.itemrect) ? RectWidth(record.clientrect) : RectWidth(record.itemrect));
  return r;
}

int DropDownHeight(const TksDataSkinListBox* list_section, int rows, int item_height) {
  if (!list_section) return rows * item_height + 4;
  return RectHeight(list_section->skinrect) + rows * item_height - RectHeight(list_section->clientrect);
}

Point DropDownOrigin(const Rect& combo_on_screen, int list_height, const Rect& work_area) {
  if (combo_on_screen.bottom + list_height > work_area.bottom)
    return {combo_on_screen.left, combo_on_screen.top - list_height};
  return {combo_on_screen.left, combo_on_screen.bottom};
}

int PageUpIndex(int selection, int drop_down_count) { return std::max(selection - drop_down_count - 1, 0); }

int PageDownIndex(int selection, int drop_down_count, int count) {
  return std::min(selection + drop_down_count - 1, count - 1);
}

const std::wstring& TksTypeAhead::Add(wchar_t ch, uint32_t now, bool auto_complete) {
  if (!auto_complete) {
    text_.assign(1, ch);
    return text_;
  }
  if (now - last_ > 499) text_.clear();
  last_ = now;
  text_ += ch;
  return text_;
}

TksListScrollState ListScrollState(int count, int top_index, int inner_height, int item_height) {
  TksListScrollState s;
  s.rows = item_height > 0 ? std::max(inner_height, 0) / item_height : 0;
  s.needed = count > s.rows;
  s.max = std::max(count - 1, 0);
  s.page = s.rows;
  s.position = std::clamp(top_index, 0, std::max(count - s.rows, 0));
  return s;
}

}  // namespace kelmar
