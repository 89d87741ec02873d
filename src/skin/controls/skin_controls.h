#pragma once
// The skinned controls of the main window. The combo box is still the
// framework's plain one under its own name, with the skin section it will
// read.
#include <string>

#include "framework/std_controls.h"
#include "skin/controls/skin_button_win32.h"
#include "skin/controls/skin_check_radio_win32.h"
#include "skin/controls/skin_panel_win32.h"

namespace kelmar {

class TksSkinComboBox : public TComboBox {
 public:
  using TComboBox::TComboBox;
  std::string SkinDataName = "combobox";
};

}  // namespace kelmar
