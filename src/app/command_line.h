#pragma once
// What the program is given on its command line: the files the shell hands
// over (dropped on the program's icon, "Open with"), taken in at start as a
// drop. Options would be told apart here.
#include <string>
#include <vector>

namespace kelmar {

struct TCommandLine {
  // Full paths, in the order given.
  std::vector<std::wstring> files;
};

// The arguments after the program's own name, split as the system splits
// them (quotes, backslashes); relative names are made full from the current
// folder.
TCommandLine ParseCommandLine(const wchar_t* command_line);

}  // namespace kelmar
