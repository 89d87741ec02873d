#include "skin/data/skin_record.h"

namespace kelmar {

namespace {
constexpr std::string_view kFramesPlacementTexts[] = {"fphorizontal", "fpvertical"};
constexpr std::string_view kRegulatorKindTexts[] = {"rkround", "rkhorizontal", "rkvertical"};
}  // namespace

const NamedValues kFramesPlacementNames{kFramesPlacementTexts, 0, 1};
const NamedValues kRegulatorKindNames{kRegulatorKindTexts, 0, 2};

void SkinFieldReader::Integer(std::string_view key, int32_t& value, int32_t def) {
  value = ini_.ReadInteger(section_, key, def);
}
void SkinFieldReader::Color(std::string_view key, uint32_t& value, uint32_t def) {
  value = uint32_t(ini_.ReadInteger(section_, key, int32_t(def)));
}
void SkinFieldReader::Flag(std::string_view key, bool& value) { value = ReadFlagKey(ini_, section_, key); }
void SkinFieldReader::RectKey(std::string_view key, Rect& value) { value = ReadRectKey(ini_, section_, key); }
void SkinFieldReader::PointKey(std::string_view key, Point& value) { value = ReadPointKey(ini_, section_, key); }
void SkinFieldReader::String(std::string_view key, std::string& value, std::string_view def) {
  value = ini_.ReadString(section_, key, def);
}
void SkinFieldReader::Font(std::string_view prefix, SkinFont& value) {
  value = ReadFontKeys(ini_, section_, prefix);
}
void SkinFieldReader::Named(std::string_view key, int32_t& value, const NamedValues& names) {
  value = ReadNamedValueKey(ini_, section_, key, names);
}
void SkinFieldReader::NumberedLines(std::string_view key, std::vector<std::string>& lines) {
  lines.clear();
  ReadNumberedLines(ini_, section_, key, lines);
}

void SkinFieldWriter::Integer(std::string_view key, int32_t& value, int32_t) {
  ini_.WriteInteger(section_, key, value);
}
void SkinFieldWriter::Color(std::string_view key, uint32_t& value, uint32_t) {
  ini_.WriteInteger(section_, key, int32_t(value));
}
void SkinFieldWriter::Flag(std::string_view key, bool& value) { WriteFlagKey(ini_, section_, key, value); }
void SkinFieldWriter::RectKey(std::string_view key, Rect& value) { WriteRectKey(ini_, section_, key, value); }
void SkinFieldWriter::PointKey(std::string_view key, Point& value) { WritePointKey(ini_, section_, key, value); }
void SkinFieldWriter::String(std::string_view key, std::string& value, std::string_view) {
  ini_.WriteString(section_, key, value);
}
void SkinFieldWriter::Font(std::string_view prefix, SkinFont& value) {
  WriteFontKeys(ini_, section_, prefix, value);
}
void SkinFieldWriter::Named(std::string_view key, int32_t& value, const NamedValues& names) {
  WriteNamedValueKey(ini_, section_, key, names, value);
}
void SkinFieldWriter::NumberedLines(std::string_view key, std::vector<std::string>& lines) {
  WriteNumberedLines(ini_, section_, key, lines);
}

void TksDataSkinRecord::ReadSection(const IniTable& ini) {
  SkinFieldReader reader(ini, IDName);
  VisitFields(reader);
}

void TksDataSkinRecord::WriteSection(IniTable& ini) const {
  ini.EraseSection(IDName);
  SkinFieldWriter writer(ini, IDName);
  // The writer only reads the fields it is handed.
  const_cast<TksDataSkinRecord*>(this)->VisitFields(writer);
}

}  // namespace kelmar
