#include "app/version.h"

#include <cwctype>
#include <exception>

namespace kelmar {

namespace {

bool MatchesAt(const std::wstring& text, size_t pos, const std::wstring& pattern) {
  if (pos + pattern.size() > text.size()) return false;
  for (size_t i = 0; i < pattern.size(); ++i)
    if (std::towupper(text[pos + i]) != std::towupper(pattern[i])) return false;
  return true;
}

}  // namespace

std::wstring SubstituteVersion(const std::wstring& text, const std::wstring& version) {
  static const std::wstring kPlaceholder = L"$V$";
  std::wstring result = text;
  try {
    std::wstring replaced;
    size_t i = 0;
    while (i < text.size()) {
      if (MatchesAt(text, i, kPlaceholder)) {
        replaced += version;
        i += kPlaceholder.size();
      } else {
        replaced += text[i++];
      }
    }
    result = std::move(replaced);
  } catch (const std::exception&) {
    // The unchanged text stands.
  }
  return result;
}

}  // namespace kelmar
