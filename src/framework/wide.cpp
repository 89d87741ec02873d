#include "framework/wide.h"

#include <windows.h>

#include "base/text.h"

namespace kelmar {

std::wstring Wide(std::string_view utf8) { return Wide(Utf8ToUtf16(utf8)); }

std::wstring Wide(std::u16string_view utf16) { return std::wstring(utf16.begin(), utf16.end()); }

std::string Narrow(std::wstring_view utf16) { return Utf16ToUtf8(Portable(utf16)); }

std::u16string Portable(std::wstring_view utf16) { return std::u16string(utf16.begin(), utf16.end()); }

std::wstring WideFromCp936(std::string_view bytes) {
  if (bytes.empty()) return {};
  int n = MultiByteToWideChar(936, 0, bytes.data(), int(bytes.size()), nullptr, 0);
  std::wstring out(size_t(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(936, 0, bytes.data(), int(bytes.size()), out.data(), n);
  return out;
}

}  // namespace kelmar
