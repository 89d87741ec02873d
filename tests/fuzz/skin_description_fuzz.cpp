// Description text from a skin package: any bytes must read without a crash,
// every typed reader and every data record either answers or raises the
// conversion error, and the table written out reads back to the same table.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "base/error.h"
#include "skin/data/skin_control_data.h"
#include "skin/data/skin_description.h"
#include "skin/data/skin_object_data.h"

using namespace kelmar;

namespace {

constexpr std::string_view kControlTypes[] = {
    "button",   "menubutton", "checkradio", "panel",      "expanel",    "label",        "stdlabel",
    "bitlabel", "combobox",   "listbox",    "checklistbox", "scrollbar", "edit",        "memo",
    "spinedit", "updown",     "gauge",      "trackbar",   "splitter",   "scrollbox",    "controlbar",
    "mainmenubar", "tab",     "grid",       "treeview",   "listview",   "richedit",     "slider",
    "bevel",    "framegauge", "frameregulator", "animate", "switch"};
constexpr std::string_view kObjectTypes[] = {
    "caption", "button", "stdbutton", "mainmenubarbutton", "menuitem", "mainmenuitem", "mainmenubaritem", "label",
    "bitlabel", "trackbar", "gauge", "framegauge", "frameregulator", "animate", "switch", "userobject"};

// Reads the record from the table, writes it and reads it back: the second
// reading must write the same section.
void RoundTrip(TksDataSkinRecord& record, TksDataSkinRecord& again, const IniTable& ini) {
  try {
    record.ReadSection(ini);
  } catch (const ConvertError&) {
    return;
  }
  IniTable written, rewritten;
  record.WriteSection(written);
  again.ReadSection(written);
  again.WriteSection(rewritten);
  if (written.ToText() != rewritten.ToText()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  IniTable ini = IniTable::FromText(text);
  HasSkinSections(ini);
  const std::vector<std::string> sections = ini.SectionNames();
  for (const std::string& section : sections) {
    for (const std::string& key : ini.ReadSectionKeys(section)) {
      try {
        ReadRectKey(ini, section, key);
      } catch (const ConvertError&) {
      }
      try {
        ReadPointKey(ini, section, key);
      } catch (const ConvertError&) {
      }
      ReadFlagKey(ini, section, key);
      ReadFontKeys(ini, section, key);
      ReadAlignmentKey(ini, section, key);
      ReadMorphKindKey(ini, section, key);
      ReadInactiveEffectKey(ini, section, key);
      ParseTypedEntry(ini.ReadString(section, key, {}));
      std::vector<std::string> list;
      ReadIndexedList(ini, section, key, list);
      ReadNumberedLines(ini, section, key, list);
    }
  }
  // Every record class over the first few sections.
  for (size_t s = 0; s < sections.size() && s < 4; ++s) {
    for (std::string_view type : kControlTypes)
      RoundTrip(*CreateSkinControlData(type, sections[s]), *CreateSkinControlData(type, sections[s]), ini);
    for (std::string_view type : kObjectTypes)
      RoundTrip(*CreateSkinObjectData(type, sections[s]), *CreateSkinObjectData(type, sections[s]), ini);
  }
  TksDataSkinPopupWindow popup, popup2;
  RoundTrip(popup, popup2, ini);
  TksDataSkinHintWindow hint, hint2;
  RoundTrip(hint, hint2, ini);

  std::string written = ini.ToText();
  if (IniTable::FromText(written).ToText() != written) std::abort();
  return 0;
}
