#pragma once
// Text helpers. Portable code holds text as UTF-8 std::string; the Win32
// side converts to UTF-16 at the call.
#include <functional>
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

// A text that holds a path ("12:C:\\Tools\\app.exe") shortened until `fits`
// takes it: the folders lose characters from their end and a "…" stands
// for them, while what comes up to the first backslash (number, drive) and
// the file name from the last backslash on stay whole. The text itself when
// it fits or has no folders between those two; the shortest form when
// nothing fits. `fits` is taken to accept every shorter form of one it
// accepts.
std::u16string ElidePathMiddle(std::u16string_view text, const std::function<bool(std::u16string_view)>& fits);

}  // namespace kelmar
