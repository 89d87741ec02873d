#pragma once
// The command line of a run without the window: what to do (list the icons
// of files and folders, or save them into a folder), the choices of the save
// and the paths, or the usage fault that stops the run. Arguments that are
// no option at all are files handed over by the shell (dropped on the
// program's icon, "Open with"): the window opens with them.
#include <string>
#include <vector>

namespace kelmar {

enum class BatchCommand { kWindow, kHelp, kList, kSave, kUsageError };
enum class BatchOutputType { kIcon, kBitmap, kOriginal, kPng };

struct BatchOptions {
  BatchCommand command = BatchCommand::kWindow;
  std::u16string outDir;  // --save
  BatchOutputType type = BatchOutputType::kIcon;
  // --size: 0 the largest image, -1 every size, else the width in pixels.
  int size = 0;
  bool recursive = false;
  bool overwrite = false;
  // Files and folders, in the order given.
  std::vector<std::u16string> paths;
  // For kUsageError: one line naming the argument at fault.
  std::u16string fault;
};

// The arguments after the program's own name.
BatchOptions ParseBatchOptions(const std::vector<std::u16string>& args);

// The usage text, lines ending in "\n".
std::u16string BatchUsage();

// Exit statuses of a run without the window.
constexpr int kExitDone = 0;
constexpr int kExitSomeFailed = 1;
constexpr int kExitUsage = 2;

}  // namespace kelmar
