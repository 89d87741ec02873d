// Description text from a skin package: any bytes must read without a crash,
// every typed reader either answers or raises the conversion error, and the
// table written out reads back to the same table.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "base/error.h"
#include "skin/data/skin_description.h"

using namespace kelmar;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  IniTable ini = IniTable::FromText(text);
  HasSkinSections(ini);
  for (const std::string& section : ini.SectionNames()) {
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
  std::string written = ini.ToText();
  if (IniTable::FromText(written).ToText() != written) std::abort();
  return 0;
}
