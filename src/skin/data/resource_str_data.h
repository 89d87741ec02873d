#pragma once
// Replacement interface texts for the skinned parts: lines "NAME=text".
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kelmar {

class TksResourceStrData {
 public:
  // Filled with the 115 default lines.
  TksResourceStrData();

  const std::vector<std::string>& ResStrings() const { return resStrings_; }
  void SetResStrings(std::vector<std::string> lines) { resStrings_ = std::move(lines); }

  // The text after the first "=" of the first line whose name (the part
  // before "=") equals name without regard to ASCII case; empty when none.
  std::string GetResString(std::string_view name) const;

  // Character set of the texts; 1 is the platform's default character set.
  int32_t CharSet = 1;

 private:
  std::vector<std::string> resStrings_;
};

}  // namespace kelmar
