#pragma once
// Where icons come from: the icon count rule, extraction of a file's icons and
// the shell's icon for any file.
#include <windows.h>

#include <string>
#include <vector>

#include "framework/handles.h"

namespace kelmar {

// The file's extension (from the last "." after the last "\", "/" or ":",
// dot included), upper-cased; empty when there is none.
std::wstring UpperExtension(const std::wstring& path);
// ".EXE", ".OCX" and ".DLL" files hold icons of their own.
bool IsExecutableType(const std::wstring& path);
// How many list entries a file gives: its icons for executable types, else 1,
// and never 0 (the shell icon stands in).
int IconCount(const std::wstring& path);
// The icon the shell shows for the file, 16 x 16 or 32 x 32; null if none.
IconHandle GetShellIcon(const std::wstring& path, bool small);
// Icons first .. first+count-1 of an executable at the system's large icon
// size, read with one opening of the file. An entry is null where the file
// gives no icon.
std::vector<IconHandle> ExtractIcons(const std::wstring& path, int first, int count);

}  // namespace kelmar
