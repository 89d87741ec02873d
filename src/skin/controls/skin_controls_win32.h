#pragma once
// The skinned controls of the main window.
#include "skin/controls/skin_button_win32.h"
#include "skin/controls/skin_check_radio_win32.h"
#include "skin/controls/skin_combo_box_win32.h"
#include "skin/controls/skin_panel_win32.h"
