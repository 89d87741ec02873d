#pragma once
// The platform services of a benchmark that saves from the real form.
#include <windows.h>

#include <string>

#include "framework/platform.h"

namespace kelmar::bench {

// Answers the folder chooser with one folder, the question whether to
// replace files of the same names with Yes, and every other box with OK.
class BenchServices : public TPlatformServices {
 public:
  std::wstring folder;
  int replace_questions = 0;
  TFolderPick PickFolder(HWND, const std::wstring&, const std::wstring&) override {
    return {TFolderPick::TResult::kChosen, folder};
  }
  std::wstring ReadSetting(const std::wstring&) override { return {}; }
  void WriteSetting(const std::wstring&, const std::wstring&) override {}
  int ShowMessageBox(HWND, const std::wstring&, const std::wstring&, UINT type) override {
    if ((type & MB_TYPEMASK) != MB_YESNOCANCEL) return IDOK;
    ++replace_questions;
    return IDYES;
  }
};

}  // namespace kelmar::bench
