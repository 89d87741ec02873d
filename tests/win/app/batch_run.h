#pragma once
// kelmar.exe run from a test as from a script: its arguments, its standard
// output and error read through pipes (UTF-8, split into lines), its exit
// status; and the test files the runs work on.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "app_fixture.h"
#include "base/file.h"
#include "base/text.h"
#include "native/imageio/ne_file.h"
#include "win/real_program.h"

namespace kelmar::test {

struct RunResult {
  DWORD status = 0;
  std::vector<std::wstring> out, err;  // lines
};

inline std::vector<std::wstring> Lines(const std::string& utf8) {
  const std::u16string text = Utf8ToUtf16(utf8);
  std::vector<std::wstring> lines;
  size_t from = 0;
  for (size_t end; (end = text.find(u"\n", from)) != std::u16string::npos; from = end + 1) {
    std::wstring line(text.begin() + long(from), text.begin() + long(end));
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    lines.push_back(std::move(line));
  }
  EXPECT_EQ(from, text.size()) << "the output ends with a whole line";
  return lines;
}

inline std::string ReadPipe(HANDLE pipe) {
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(pipe, buffer, sizeof(buffer), &got, nullptr) && got > 0) bytes.append(buffer, got);
  return bytes;
}

// kelmar.exe with these arguments, its standard output and error each a
// pipe read to the end; waits for the program to end.
inline RunResult RunKelmar(const std::wstring& args) {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE out_read = nullptr, out_write = nullptr, err_read = nullptr, err_write = nullptr;
  EXPECT_TRUE(CreatePipe(&out_read, &out_write, &inherit, 0));
  EXPECT_TRUE(CreatePipe(&err_read, &err_write, &inherit, 0));
  SetHandleInformation(out_read, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(err_read, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = out_write;
  startup.hStdError = err_write;
  std::wstring command = L"\"" + ProgramPath(KELMAR_EXE) + L"\" " + args;
  PROCESS_INFORMATION process{};
  RunResult result;
  const bool started =
      CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
  CloseHandle(out_write);
  CloseHandle(err_write);
  EXPECT_TRUE(started) << GetLastError();
  if (started) {
    std::string err;
    std::thread err_reader([&] { err = ReadPipe(err_read); });
    const std::string out = ReadPipe(out_read);
    err_reader.join();
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
    GetExitCodeProcess(process.hProcess, &result.status);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    result.out = Lines(out);
    result.err = Lines(err);
  }
  CloseHandle(out_read);
  CloseHandle(err_read);
  return result;
}

inline std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

inline std::wstring TestIconsDll() { return WinePath(KELMAR_TESTICONS_DLL); }
inline std::wstring TestKindsDll() { return WinePath(KELMAR_TESTKINDS_DLL); }

inline void WriteBytes(const std::wstring& path, const std::vector<uint8_t>& bytes) {
  WriteTextFile(path, std::string(bytes.begin(), bytes.end()));
}

inline std::vector<uint8_t> TestIcon(const char* name) {
  return ReadWholeFile(Utf8FromPath(DataPath(std::string("testicons/") + name)));
}

inline bool Mentions(const std::vector<std::wstring>& lines, const std::wstring& text) {
  for (const std::wstring& line : lines)
    if (line.find(text) != std::wstring::npos) return true;
  return false;
}

// Files of every kind a run reads, in a fresh folder: a 16-bit library
// (moricons.dll: the navy icon named NAVY, the quadrants numbered 9), a
// library without icons whose icons moved to its .mun file under the
// Windows folder (the test library's two), an icon file (alpha.ico) and a
// damaged library (cut.dll: the test library's first 200 bytes). The .mun
// file goes with the object.
struct SourceFiles {
  explicit SourceFiles(const std::wstring& name) : folder(MakeTempFolder(name)) {
    std::vector<NeResourceSpec> all;
    for (auto part : {IconFileAsResources(TestIcon("navy.ico"), "NAVY", 0, 1),
                      IconFileAsResources(TestIcon("quadrants.ico"), "", 9, 5)})
      all.insert(all.end(), part.begin(), part.end());
    WriteBytes(ne, WriteNe(all, 4));
    wchar_t windows[MAX_PATH];
    GetSystemWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring resources = std::wstring(windows) + L"\\SystemResources";
    CreateDirectoryW(resources.c_str(), nullptr);
    mun = resources + L"\\kelmarbatchstub.dll.mun";
    EXPECT_TRUE(CopyFileW(WinePath(KELMAR_STUB_DLL).c_str(), stub.c_str(), FALSE));
    EXPECT_TRUE(CopyFileW(TestIconsDll().c_str(), mun.c_str(), FALSE));
    WriteBytes(ico, TestIcon("alpha.ico"));
    std::vector<uint8_t> damaged = ReadWholeFile(Utf8FromPath(TestIconsDll()));
    damaged.resize(200);
    WriteBytes(cut, damaged);
  }
  ~SourceFiles() { DeleteFileW(mun.c_str()); }
  SourceFiles(const SourceFiles&) = delete;
  SourceFiles& operator=(const SourceFiles&) = delete;

  std::wstring folder;
  std::wstring ne = folder + L"\\moricons.dll", stub = folder + L"\\kelmarbatchstub.dll", ico = folder + L"\\alpha.ico",
               cut = folder + L"\\cut.dll", mun;
};

}  // namespace kelmar::test
