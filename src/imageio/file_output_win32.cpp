#include "imageio/file_output_win32.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <vector>

#include "base/error.h"
#include "framework/handles.h"
#include "framework/wide.h"

namespace kelmar {
namespace {

std::wstring SystemReason(DWORD code) {
  wchar_t* text = nullptr;
  DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring reason = n ? std::wstring(text, n) : L"System error " + std::to_wstring(code) + L".";
  if (text) LocalFree(text);
  while (!reason.empty() && (reason.back() == L'\r' || reason.back() == L'\n' || reason.back() == L' '))
    reason.pop_back();
  return reason;
}

[[noreturn]] void ThrowCannotCreate(const std::wstring& path, DWORD code) {
  throw FileError("Cannot create file \"" + Narrow(path) + "\". " + Narrow(SystemReason(code)), code);
}

// Owns an open file and, until Keep(), the file itself.
class TempFile {
 public:
  TempFile(const std::wstring& path, const std::wstring& target)
      : path_(path),
        // DELETE access: the open file is renamed over its target.
        handle_(CreateFileW(path_.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                            nullptr)) {
    if (!handle_) ThrowCannotCreate(target, GetLastError());
  }
  ~TempFile() {
    Close();
    if (!kept_) DeleteFileW(path_.c_str());
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  HANDLE Handle() const { return handle_; }
  bool Close() { return !handle_ || CloseHandle(handle_.Release()) != 0; }
  void Keep() { kept_ = true; }

 private:
  std::wstring path_;
  FileHandle handle_;
  bool kept_ = false;
};

// Renames an open file over target. Through the handle rather than by name:
// a move by name opens the file once more, and under Wine that round trip
// costs as much as the write.
bool RenameOver(HANDLE file, const std::wstring& target) {
  // The rename takes the system's own form of the path.
  DWORD length = GetFullPathNameW(target.c_str(), 0, nullptr, nullptr);
  std::wstring full(length, L'\0');
  full.resize(GetFullPathNameW(target.c_str(), length, full.data(), nullptr));
  if (full.empty()) return false;
  std::wstring nt;
  if (full.starts_with(L"\\\\?\\"))
    nt = L"\\??\\" + full.substr(4);
  else if (full.starts_with(L"\\\\"))
    nt = L"\\??\\UNC\\" + full.substr(2);
  else
    nt = L"\\??\\" + full;
  const size_t name_bytes = nt.size() * sizeof(wchar_t);
  std::vector<BYTE> buffer(sizeof(FILE_RENAME_INFO) + name_bytes);
  auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  info->ReplaceIfExists = TRUE;
  info->RootDirectory = nullptr;
  info->FileNameLength = DWORD(name_bytes);
  std::copy(nt.begin(), nt.end(), info->FileName);  // the buffer holds one more for the end
  return SetFileInformationByHandle(file, FileRenameInfo, info, DWORD(buffer.size())) != 0;
}

}  // namespace

WholeFileWriter::~WholeFileWriter() {
  // Every temporary file is gone by now (moved or deleted), so the folders
  // are empty.
  for (const TempFolder& f : folders_) RemoveDirectoryW(f.path.c_str());
}

const WholeFileWriter::TempFolder& WholeFileWriter::TempFolderFor(const std::wstring& path,
                                                                  const std::wstring& target_folder) {
  for (const TempFolder& f : folders_)
    if (f.target_folder == target_folder) return f;
  // A folder of its own rather than temporary names beside the targets: the
  // system looks a new name up against every name in its folder (names are
  // compared without case), which in a folder of a thousand saved files
  // costs more than the write. In the target's folder, so that the move
  // stays within one volume.
  static std::atomic<unsigned> counter{0};
  const std::wstring base = target_folder + L"~kelmar" + std::to_wstring(GetCurrentProcessId()) + L"-";
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::wstring folder = base + std::to_wstring(counter++);
    if (CreateDirectoryW(folder.c_str(), nullptr)) {
      folders_.push_back({target_folder, folder + L"\\"});
      return folders_.back();
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  ThrowCannotCreate(path, GetLastError());
}

void WholeFileWriter::Write(const std::wstring& path, std::span<const uint8_t> bytes) {
  // A read-only file cannot be opened for writing, so it is not replaced
  // either (not every file system refuses the move by itself).
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
    ThrowCannotCreate(path, ERROR_ACCESS_DENIED);
  const size_t slash = path.find_last_of(L"\\/:");
  const std::wstring target_folder = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
  TempFile temp(TempFolderFor(path, target_folder).path + std::to_wstring(next_file_++), path);
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD chunk = DWORD(std::min<size_t>(bytes.size() - done, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(temp.Handle(), bytes.data() + done, chunk, &written, nullptr) || written == 0)
      ThrowCannotCreate(path, GetLastError());
    done += written;
  }
  if (!RenameOver(temp.Handle(), path)) ThrowCannotCreate(path, GetLastError());
  temp.Keep();
  if (!temp.Close()) ThrowCannotCreate(path, GetLastError());
}

void WriteFileWhole(const std::wstring& path, std::span<const uint8_t> bytes) {
  WholeFileWriter writer;
  writer.Write(path, bytes);
}

}  // namespace kelmar
