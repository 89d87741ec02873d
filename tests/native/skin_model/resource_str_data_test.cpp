#include "skin/data/resource_str_data.h"

#include <gtest/gtest.h>

namespace kelmar {
namespace {

TEST(ResourceStrData, DefaultLinesInOrder) {
  std::vector<std::string> names = {
      "MI_MINCAPTION", "MI_MAXCAPTION", "MI_CLOSECAPTION", "MI_RESTORECAPTION", "MI_MINTOTRAYCAPTION",
      "MI_ROLLUPCAPTION", "MINBUTTON_HINT", "MAXBUTTON_HINT", "CLOSEBUTTON_HINT", "TRAYBUTTON_HINT",
      "ROLLUPBUTTON_HINT", "MENUBUTTON_HINT", "EDIT_UNDO", "EDIT_COPY", "EDIT_CUT", "EDIT_PASTE", "EDIT_DELETE",
      "EDIT_SELECTALL", "MSG_BTN_YES", "MSG_BTN_NO", "MSG_BTN_OK", "MSG_BTN_CANCEL", "MSG_BTN_ABORT",
      "MSG_BTN_RETRY", "MSG_BTN_IGNORE", "MSG_BTN_ALL", "MSG_BTN_NOTOALL", "MSG_BTN_YESTOALL", "MSG_BTN_HELP",
      "MSG_BTN_OPEN", "MSG_BTN_SAVE", "MSG_BTN_CLOSE", "MSG_BTN_BACK_HINT", "MSG_BTN_UP_HINT",
      "MSG_BTN_NEWFOLDER_HINT", "MSG_BTN_VIEWMENU_HINT", "MSG_BTN_STRETCH_HINT", "MSG_FILENAME", "MSG_FILETYPE",
      "MSG_NEWFOLDER", "MSG_LV_DETAILS", "MSG_LV_ICON", "MSG_LV_SMALLICON", "MSG_LV_LIST", "MSG_PREVIEWSKIN",
      "MSG_PREVIEWBUTTON", "MSG_CAP_WARNING", "MSG_CAP_ERROR", "MSG_CAP_INFORMATION", "MSG_CAP_CONFIRM",
      "CALC_CAP", "ERROR", "COLORGRID_CAP", "CUSTOMCOLORGRID_CAP", "ADDCUSTOMCOLORBUTTON_CAP", "FONTDLG_COLOR",
      "FONTDLG_NAME", "FONTDLG_SIZE", "FONTDLG_HEIGHT", "FONTDLG_EXAMPLE", "FONTDLG_STYLE", "FONTDLG_SCRIPT",
      "DB_DELETE_QUESTION", "DB_MULTIPLEDELETE_QUESTION", "NODISKINDRIVE", "NOVALIDDRIVEID", "FLV_NAME",
      "FLV_SIZE", "FLV_TYPE", "FLV_LOOKIN", "FLV_MODIFIED", "FLV_ATTRIBUTES", "FLV_DISKSIZE", "FLV_FREESPACE"};
  for (const char* p : {"NAME", "PRINTER", "PROPERTIES", "TYPE", "STATUS", "WHERE", "COMMENT", "PRINTRANGE",
                        "COPIES", "NUMCOPIES", "COLLATE", "ALL", "PAGES", "SELECTION", "PRINTTOFILE", "FROM", "TO",
                        "ORIENTATION", "PAPER", "PORTRAIT", "LANDSCAPE", "SOURCE", "SIZE", "MARGINS",
                        "MARGINS_INCHES", "LEFT", "RIGHT", "TOP", "BOTTOM", "WARNING"})
    names.push_back(std::string("PRNDLG_") + p);
  for (const char* f : {"FIND_NEXT", "FIND_WHAT", "FIND_DIRECTION", "FIND_DIRECTIONUP", "FIND_DIRECTIONDOWN",
                        "FIND_MATCH_CASE", "FIND_MATCH_WHOLE_WORD_ONLY", "FIND_REPLACE_WITH", "FIND_REPLACE",
                        "FIND_REPLACE_All", "FIND_REPLACE_CLOSE"})
    names.push_back(f);
  ASSERT_EQ(names.size(), 115u);

  TksResourceStrData strings;
  EXPECT_EQ(strings.CharSet, 1);
  ASSERT_EQ(strings.ResStrings().size(), 115u);
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string& line = strings.ResStrings()[i];
    EXPECT_EQ(line.substr(0, line.find('=')), names[i]) << "line " << i;
    EXPECT_GT(line.size(), names[i].size() + 1) << "line " << i << " has no text";
  }

  // The texts that the skinned parts look up.
  const std::pair<const char*, const char*> used[] = {
      {"MI_MINCAPTION", "Mi&nimize"},      {"MI_MAXCAPTION", "Ma&ximize"},
      {"MI_CLOSECAPTION", "&Close"},       {"MI_RESTORECAPTION", "&Restore"},
      {"MI_MINTOTRAYCAPTION", "Minimize to &Tray"}, {"MI_ROLLUPCAPTION", "Ro&llUp"},
      {"MINBUTTON_HINT", "Minimize"},      {"MAXBUTTON_HINT", "Maximize"},
      {"CLOSEBUTTON_HINT", "Close"},       {"TRAYBUTTON_HINT", "Minimize to Tray"},
      {"ROLLUPBUTTON_HINT", "Roll Up"},    {"MENUBUTTON_HINT", "System menu"},
      {"EDIT_UNDO", "Undo"},               {"EDIT_COPY", "Copy"},
      {"EDIT_CUT", "Cut"},                 {"EDIT_PASTE", "Paste"},
      {"EDIT_DELETE", "Delete"},           {"EDIT_SELECTALL", "Select All"}};
  for (const auto& [name, text] : used) EXPECT_EQ(strings.GetResString(name), text) << name;
}

TEST(ResourceStrData, Lookup) {
  TksResourceStrData strings;
  strings.SetResStrings({"no equals sign", "Greeting=a=b", "GREETING=second", "=nameless", "Empty="});
  EXPECT_EQ(strings.GetResString("greeting"), "a=b");
  EXPECT_EQ(strings.GetResString("empty"), "");
  EXPECT_EQ(strings.GetResString("no equals sign"), "");
  EXPECT_EQ(strings.GetResString("missing"), "");
  EXPECT_EQ(strings.GetResString("MI_MINCAPTION"), "");  // the defaults were replaced
}

}  // namespace
}  // namespace kelmar
