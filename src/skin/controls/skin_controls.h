#pragma once
// The skinned controls of the main window. Until they draw from the skin they
// are the framework's plain controls under their own names, with the skin
// section each will read.
#include <string>

#include "framework/std_controls.h"

namespace kelmar {

class TksSkinButton : public TButton {
 public:
  using TButton::TButton;
  std::string SkinDataName = "button";
};

class TksSkinCheckRadioBox : public TCheckRadioBox {
 public:
  TksSkinCheckRadioBox(TComponent* owner, std::string name) : TCheckRadioBox(owner, std::move(name)) {}
  std::string SkinDataName = "checkbox";
};

class TksSkinComboBox : public TComboBox {
 public:
  using TComboBox::TComboBox;
  std::string SkinDataName = "combobox";
};

class TksSkinPanel : public TPanel {
 public:
  using TPanel::TPanel;
  std::string SkinDataName = "panel";
};

class TksSkinStatusBar : public TPanel {
 public:
  using TPanel::TPanel;
  std::string SkinDataName = "statusbar";
};

class TksSkinStatusPanel : public TPanel {
 public:
  using TPanel::TPanel;
  std::string SkinDataName = "statuspanel";
};

}  // namespace kelmar
