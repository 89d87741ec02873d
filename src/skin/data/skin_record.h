#pragma once
// The common shape of the skin data records: each record lists its fields once,
// in key order, to a field visitor; reading and writing a section are two
// visitors over that one list, so a record always writes exactly the keys it
// reads, in the same order.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/geometry.h"
#include "skin/data/skin_description.h"

namespace kelmar {

// Frame pictures of animations, gauges and regulators, shared by controls
// and frame objects.
enum class FramesPlacement : int32_t { fpHorizontal = 0, fpVertical = 1 };
enum class RegulatorKind : int32_t { rkRound = 0, rkHorizontal = 1, rkVertical = 2 };
extern const NamedValues kFramesPlacementNames;  // "fphorizontal", "fpvertical"
extern const NamedValues kRegulatorKindNames;    // "rkround", "rkhorizontal", "rkvertical"

class SkinFieldVisitor {
 public:
  virtual ~SkinFieldVisitor() = default;
  virtual void Integer(std::string_view key, int32_t& value, int32_t def) = 0;
  // An integer that is a length in picture pixels (an offset, a width, a
  // border): written like any integer, but it grows with the display scale
  // where counts, indices and values do not.
  virtual void Length(std::string_view key, int32_t& value, int32_t def) { Integer(key, value, def); }
  virtual void Color(std::string_view key, uint32_t& value, uint32_t def) = 0;
  virtual void Flag(std::string_view key, bool& value) = 0;
  virtual void RectKey(std::string_view key, Rect& value) = 0;
  virtual void PointKey(std::string_view key, Point& value) = 0;
  virtual void String(std::string_view key, std::string& value, std::string_view def) = 0;
  // The four keys prefix+"name", +"height", +"style", +"color".
  virtual void Font(std::string_view prefix, SkinFont& value) = 0;
  virtual void Named(std::string_view key, int32_t& value, const NamedValues& names) = 0;
  virtual void NumberedLines(std::string_view key, std::vector<std::string>& lines) = 0;

  template <class E>
  void Enum(std::string_view key, E& value, const NamedValues& names) {
    int32_t v = int32_t(value);
    Named(key, v, names);
    value = E(v);
  }
};

// Reads each field from one section of a description (missing keys: defaults).
class SkinFieldReader final : public SkinFieldVisitor {
 public:
  SkinFieldReader(const IniTable& ini, std::string_view section) : ini_(ini), section_(section) {}
  void Integer(std::string_view key, int32_t& value, int32_t def) override;
  void Color(std::string_view key, uint32_t& value, uint32_t def) override;
  void Flag(std::string_view key, bool& value) override;
  void RectKey(std::string_view key, Rect& value) override;
  void PointKey(std::string_view key, Point& value) override;
  void String(std::string_view key, std::string& value, std::string_view def) override;
  void Font(std::string_view prefix, SkinFont& value) override;
  void Named(std::string_view key, int32_t& value, const NamedValues& names) override;
  void NumberedLines(std::string_view key, std::vector<std::string>& lines) override;

 private:
  const IniTable& ini_;
  std::string section_;
};

// Writes each field into one section, in the syntax the reader accepts.
class SkinFieldWriter final : public SkinFieldVisitor {
 public:
  SkinFieldWriter(IniTable& ini, std::string_view section) : ini_(ini), section_(section) {}
  void Integer(std::string_view key, int32_t& value, int32_t def) override;
  void Color(std::string_view key, uint32_t& value, uint32_t def) override;
  void Flag(std::string_view key, bool& value) override;
  void RectKey(std::string_view key, Rect& value) override;
  void PointKey(std::string_view key, Point& value) override;
  void String(std::string_view key, std::string& value, std::string_view def) override;
  void Font(std::string_view prefix, SkinFont& value) override;
  void Named(std::string_view key, int32_t& value, const NamedValues& names) override;
  void NumberedLines(std::string_view key, std::vector<std::string>& lines) override;

 private:
  IniTable& ini_;
  std::string section_;
};

// The root of every data record: a section name and the read and write
// operations over the record's field list.
class TksDataSkinRecord {
 public:
  explicit TksDataSkinRecord(std::string idName) : IDName(std::move(idName)) {}
  virtual ~TksDataSkinRecord() = default;
  TksDataSkinRecord(const TksDataSkinRecord&) = delete;
  TksDataSkinRecord& operator=(const TksDataSkinRecord&) = delete;

  // Reads the record's keys from the section named IDName; a conversion error
  // of a rectangle or point travels to the caller.
  virtual void ReadSection(const IniTable& ini);
  // Erases the section named IDName, then writes the record's keys in order.
  virtual void WriteSection(IniTable& ini) const;

  // Every field to the visitor, in key order: the parent's fields first.
  virtual void VisitFields(SkinFieldVisitor& v) = 0;

  std::string IDName;
};

}  // namespace kelmar
