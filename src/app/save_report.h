#pragma once
// What one save did to each entry, and the summary the user is shown.
#include <exception>
#include <string>
#include <vector>

namespace kelmar {

class TSaveReport {
 public:
  // An entry that could not be written: its file name and why, in words
  // for the user.
  struct TFailure {
    std::wstring name, reason;
  };

  void Written() { ++written_; }
  // An existing file the user chose to keep.
  void Kept() { ++kept_; }
  // An original whose source file is no longer what it was at the intake.
  void SourceChanged() { ++changed_; }
  // Images of an icon that could not be decoded, so no picture was made of them.
  void Undecodable(int count) { undecodable_ += count; }
  // The entry failed with this exception (a file the system would not let
  // be written, an image that could not be made).
  void Failed(const std::wstring& name, const std::exception& e);

  int WrittenCount() const { return written_; }
  // Nothing failed, changed or was undecodable: every entry is in the folder
  // or was kept there by choice.
  bool Faultless() const { return failures_.empty() && changed_ == 0 && undecodable_ == 0; }
  const std::vector<TFailure>& Failures() const { return failures_; }

  // The message texts of the summary's first three lines.
  struct TTexts {
    std::wstring files_saved, save_path, name_format;
  };
  // The summary: how many files were written (and how many existing ones
  // were kept), the folder, the names' pattern, then what was not written:
  // originals whose source changed, images that could not be decoded, and
  // files that failed, the first `named` by name and reason. Lines are ended
  // by a carriage return alone.
  std::wstring Summary(const TTexts& texts, const std::wstring& folder, const std::wstring& extension,
                       size_t named = 3) const;

 private:
  int written_ = 0, kept_ = 0, changed_ = 0, undecodable_ = 0;
  std::vector<TFailure> failures_;
};

// Why a file could not be written or read, in Chinese, from the system's
// error code (0 where there is none).
std::wstring FileFailureReason(unsigned long code);

}  // namespace kelmar
