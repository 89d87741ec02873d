#pragma once
// The folder chooser: the system's folder picker, starting at the remembered
// folder (the older folder browser where the picker is missing).
#include <windows.h>

#include <string>

#include "framework/platform.h"

namespace kelmar {

// Shows the chooser over the application. `folder` is the remembered folder
// in, the chosen one out (no trailing backslash unless it is a drive root);
// a remembered folder that no longer exists is dropped. Returns true when a
// folder was confirmed.
bool SelectSaveFolder(TPlatformServices& services, HWND owner, const std::wstring& title, const std::wstring& root,
                      std::wstring& folder);

}  // namespace kelmar
