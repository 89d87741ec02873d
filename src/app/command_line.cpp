#include "app/command_line.h"

#include <windows.h>
#include <shellapi.h>

namespace kelmar {

TCommandLine ParseCommandLine(const wchar_t* command_line) {
  TCommandLine result;
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(command_line, &count);
  if (!args) return result;
  for (int i = 1; i < count; ++i) {
    const wchar_t* arg = args[i];
    DWORD length = GetFullPathNameW(arg, 0, nullptr, nullptr);
    std::wstring full(length, L'\0');
    if (length) full.resize(GetFullPathNameW(arg, length, full.data(), nullptr));
    result.files.push_back(length && !full.empty() ? full : std::wstring(arg));
  }
  LocalFree(args);
  return result;
}

}  // namespace kelmar
