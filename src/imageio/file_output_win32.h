#pragma once
// Writing finished files in one piece.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kelmar {

// Writes files whole: each one goes to a temporary file in a private folder
// beside its target and is then moved over the target's name, so that the
// target ends up either with all of the bytes or as it was before (a write
// error or a full disk leaves no short file, and an earlier file of that
// name stays until its replacement is complete). Nothing waits for the disk:
// the move is ordered after the writes by the file system, not by a flush per
// file. The temporary folders go with the writer.
class WholeFileWriter {
 public:
  WholeFileWriter() = default;
  ~WholeFileWriter();
  WholeFileWriter(const WholeFileWriter&) = delete;
  WholeFileWriter& operator=(const WholeFileWriter&) = delete;

  // An existing file is replaced; a read-only one is not.
  // Throws FileError("Cannot create file \"<path>\". <system's reason>").
  void Write(const std::wstring& path, std::span<const uint8_t> bytes);

 private:
  struct TempFolder {
    std::wstring target_folder;  // with its trailing separator
    std::wstring path;
  };
  const TempFolder& TempFolderFor(const std::wstring& path, const std::wstring& target_folder);

  std::vector<TempFolder> folders_;
  unsigned next_file_ = 0;
};

// One file written whole (WholeFileWriter).
void WriteFileWhole(const std::wstring& path, std::span<const uint8_t> bytes);

}  // namespace kelmar
