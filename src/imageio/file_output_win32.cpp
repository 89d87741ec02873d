#include "imageio/file_output_win32.h"

#include <windows.h>

#include <algorithm>
#include <atomic>

#include "base/error.h"
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
  throw FileError("Cannot create file \"" + Narrow(path) + "\". " + Narrow(SystemReason(code)));
}

// Owns an open file handle and, until Keep(), the file itself.
class TempFile {
 public:
  TempFile(const std::wstring& path, const std::wstring& target) : path_(path) {
    handle_ = CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE) ThrowCannotCreate(target, GetLastError());
  }
  ~TempFile() {
    Close();
    if (!kept_) DeleteFileW(path_.c_str());
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  HANDLE Handle() const { return handle_; }
  const std::wstring& Path() const { return path_; }
  bool Close() {
    bool ok = true;
    if (handle_ != INVALID_HANDLE_VALUE) ok = CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return ok;
  }
  void Keep() { kept_ = true; }

 private:
  std::wstring path_;
  HANDLE handle_ = INVALID_HANDLE_VALUE;
  bool kept_ = false;
};

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
  if (!temp.Close()) ThrowCannotCreate(path, GetLastError());
  if (!MoveFileExW(temp.Path().c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) ThrowCannotCreate(path, GetLastError());
  temp.Keep();
}

void WriteFileWhole(const std::wstring& path, std::span<const uint8_t> bytes) {
  WholeFileWriter writer;
  writer.Write(path, bytes);
}

}  // namespace kelmar
