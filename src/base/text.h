#pragma once
// Text helpers. Portable code holds text as UTF-8 std::string; the Win32
// side converts to UTF-16 at the call.
#include <string>
#include <string_view>

namespace kelmar {

std::u16string Utf8ToUtf16(std::string_view s);
std::string Utf16ToUtf8(std::u16string_view s);

// ASCII-only case folding: the description's keys and the file extensions
// compared by the program are ASCII.
std::string AsciiUpper(std::string_view s);
bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b);

// Leading and trailing blanks and control characters (<= ' ') removed.
std::string_view Trim(std::string_view s);

}  // namespace kelmar
