#pragma once
#include <string>

namespace kelmar {

// Every "$V$", in any letter case, replaced by the version. Any failure
// leaves the text as it was.
std::wstring SubstituteVersion(const std::wstring& text, const std::wstring& version);

}  // namespace kelmar
