#pragma once
// A run without the window, from the command line: the files and folders
// named, read as a drop reads them, listed or saved, with what happens told
// on the console the program was started from.
#include <windows.h>

#include <string>
#include <vector>

#include "base/batch_options.h"

namespace kelmar {

// The arguments after the program's name, split as the system splits them
// (quotes, backslashes).
std::vector<std::u16string> CommandArguments(const wchar_t* commandLine);

// Standard output and standard error of the program: the handles it was
// given (a file or a pipe), else the console of the process that started it.
// Text goes to a console as it is and to anything else as UTF-8.
class TConsoleOutput {
 public:
  TConsoleOutput();
  ~TConsoleOutput();
  TConsoleOutput(const TConsoleOutput&) = delete;
  TConsoleOutput& operator=(const TConsoleOutput&) = delete;
  void Out(const std::wstring& text) { Write(out_, text); }
  void Err(const std::wstring& text) { Write(err_, text); }

 private:
  static void Write(HANDLE to, const std::wstring& text);
  HANDLE out_ = nullptr, err_ = nullptr;
  // Handles opened here on the console (closed at the end).
  std::vector<HANDLE> opened_;
};

// The files a run works on, in order: each file named as it is, each folder's
// files that icons come from (by extension, as the open dialog offers them;
// sorted by name; with `recursive` then each subfolder's the same way). Full
// paths in the ordinary form. A name that does not exist is told on standard
// error; `allFound` is false then.
std::vector<std::wstring> ExpandPaths(const std::vector<std::u16string>& paths, bool recursive, TConsoleOutput& console,
                                      bool& allFound);

// Runs a command other than kWindow; the exit status.
int RunBatch(const BatchOptions& options);

}  // namespace kelmar
