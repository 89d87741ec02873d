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
  explicit TempFile(const std::wstring& target) {
    static std::atomic<unsigned> counter{0};
    // A short name in the target's folder: the move then stays within one
    // volume, and a long target name does not make the temporary one too long.
    const size_t slash = target.find_last_of(L"\\/:");
    const std::wstring folder = slash == std::wstring::npos ? std::wstring() : target.substr(0, slash + 1);
    const std::wstring base = folder + L"~kelmar" + std::to_wstring(GetCurrentProcessId()) + L"-";
    for (int attempt = 0; attempt < 100; ++attempt) {
      path_ = base + std::to_wstring(counter++) + L".tmp";
      handle_ = CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
      if (handle_ != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) break;
    }
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

void WriteFileWhole(const std::wstring& path, std::span<const uint8_t> bytes) {
  // A read-only file cannot be opened for writing, so it is not replaced
  // either (not every file system refuses the move by itself).
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
    ThrowCannotCreate(path, ERROR_ACCESS_DENIED);
  TempFile temp(path);
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD chunk = DWORD(std::min<size_t>(bytes.size() - done, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(temp.Handle(), bytes.data() + done, chunk, &written, nullptr) || written == 0)
      ThrowCannotCreate(path, GetLastError());
    done += written;
  }
  // The bytes reach the disk before the name does, so that a crash cannot
  // leave a short file under the target's name.
  if (!FlushFileBuffers(temp.Handle()) || !temp.Close()) ThrowCannotCreate(path, GetLastError());
  if (!MoveFileExW(temp.Path().c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    ThrowCannotCreate(path, GetLastError());
  temp.Keep();
}

}  // namespace kelmar
