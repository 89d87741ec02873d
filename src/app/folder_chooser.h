#pragma once
// The shell's folder browser, starting at the remembered folder.
#include <windows.h>

#include <string>

#include "framework/platform.h"

namespace kelmar {

// Shows the browser over the application. `folder` is the remembered folder
// in, the chosen one out (no trailing backslash unless it is a drive root);
// a remembered folder that no longer exists is dropped. Returns true when a
// folder was confirmed.
bool SelectSaveFolder(TPlatformServices& services, HWND owner, const std::wstring& title, const std::wstring& root,
                      std::wstring& folder);

}  // namespace kelmar
