#pragma once
// UTF-8 (portable code) <-> UTF-16 (wide Win32 calls).
#include <string>
#include <string_view>

namespace kelmar {

std::wstring Wide(std::string_view utf8);
// Portable UTF-16 text (std::u16string) as the wide text of Win32 calls.
std::wstring Wide(std::u16string_view utf16);
std::string Narrow(std::wstring_view utf16);
// Wide text as the portable UTF-16 text of portable code.
std::u16string Portable(std::wstring_view utf16);
// Code page 936 bytes (skin description text) as UTF-16.
std::wstring WideFromCp936(std::string_view bytes);

}  // namespace kelmar
