// The program run from the command line without its window: options, files
// and folders (a drop's extension rule, subfolders, Unicode names and paths
// beyond 260 characters), the listing of each file's icons, output to files
// and pipes as UTF-8, and the exit status. The images listed are those the
// test icons were made with (see tests/data/testicons/make_*.sh; icotool
// lists the same sizes and depths).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "app/icon_source.h"
#include "app_fixture.h"
#include "base/file.h"
#include "base/text.h"
#include "native/imageio/ne_file.h"
#include "win/real_program.h"

namespace kelmar::test {
namespace {

struct RunResult {
  DWORD status = 0;
  std::vector<std::wstring> out, err;  // lines
};

std::vector<std::wstring> Lines(const std::string& utf8) {
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

std::string ReadPipe(HANDLE pipe) {
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(pipe, buffer, sizeof(buffer), &got, nullptr) && got > 0) bytes.append(buffer, got);
  return bytes;
}

// kelmar.exe with these arguments, its standard output and error each a
// pipe read to the end; waits for the program to end.
RunResult RunKelmar(const std::wstring& args) {
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

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

std::wstring TestIconsDll() { return WinePath(KELMAR_TESTICONS_DLL); }
std::wstring TestKindsDll() { return WinePath(KELMAR_TESTKINDS_DLL); }

void WriteBytes(const std::wstring& path, const std::vector<uint8_t>& bytes) {
  WriteTextFile(path, std::string(bytes.begin(), bytes.end()));
}

std::vector<uint8_t> TestIcon(const char* name) {
  return ReadWholeFile(Utf8FromPath(DataPath(std::string("testicons/") + name)));
}

// The listing's lines for the two groups of the test library at `path`.
std::vector<std::wstring> TestIconsLines(const std::wstring& path) {
  return {path + L"\t0\t#1\t32×32 32位", path + L"\t1\t#2\t32×32 32位"};
}

std::wstring Summary(int icons, int files) {
  return L"共 " + std::to_wstring(icons) + L" 个图标，来自 " + std::to_wstring(files) + L" 个文件";
}

bool Mentions(const std::vector<std::wstring>& lines, const std::wstring& text) {
  for (const std::wstring& line : lines)
    if (line.find(text) != std::wstring::npos) return true;
  return false;
}

}  // namespace

// Every kind of group and image: named before numbered, sizes largest first,
// the depth of each image, PNG images as such.
TEST(BatchProgram, ListsEachGroupWithItsImages) {
  const std::wstring kinds = TestKindsDll();
  const RunResult run = RunKelmar(L"--list " + Quoted(kinds));
  EXPECT_EQ(run.status, 0u);
  EXPECT_TRUE(run.err.empty());
  const std::vector<std::wstring> expected{
      kinds + L"\t0\tKINDS\t32×32 4位 · 16×16 4位",
      kinds + L"\t1\t#1\t32×32 8位",
      kinds + L"\t2\t#2\t32×32 32位 · 16×16 32位",
      kinds + L"\t3\t#3\t256×256 PNG · 32×32 PNG",
      kinds + L"\t4\t#4\t48×48 32位",
      kinds + L"\t5\t#5\t48×48 32位 · 32×32 32位 · 32×32 8位 · 32×32 4位 · 16×16 32位",
      Summary(6, 1)};
  EXPECT_EQ(run.out, expected);
}

// A 16-bit library, a library whose icons moved to its .mun file, an icon
// file, and a damaged library (the shell's icon stands in, as in the list).
TEST(BatchProgram, ListsNeFilesMunRedirectionsIconFilesAndDamagedFiles) {
  const std::wstring folder = MakeTempFolder(L"batch-sources");
  std::vector<NeResourceSpec> all;
  for (auto part : {IconFileAsResources(TestIcon("navy.ico"), "NAVY", 0, 1),
                    IconFileAsResources(TestIcon("quadrants.ico"), "", 9, 5)})
    all.insert(all.end(), part.begin(), part.end());
  const std::wstring ne = folder + L"\\moricons.dll";
  WriteBytes(ne, WriteNe(all, 4));

  wchar_t windows[MAX_PATH];
  GetSystemWindowsDirectoryW(windows, MAX_PATH);
  const std::wstring resources = std::wstring(windows) + L"\\SystemResources";
  CreateDirectoryW(resources.c_str(), nullptr);
  const std::wstring stub = folder + L"\\kelmarbatchstub.dll", mun = resources + L"\\kelmarbatchstub.dll.mun";
  ASSERT_TRUE(CopyFileW(WinePath(KELMAR_STUB_DLL).c_str(), stub.c_str(), FALSE));
  ASSERT_TRUE(CopyFileW(TestIconsDll().c_str(), mun.c_str(), FALSE));

  const std::wstring ico = folder + L"\\alpha.ico";
  WriteBytes(ico, TestIcon("alpha.ico"));
  std::vector<uint8_t> damaged = ReadWholeFile(Utf8FromPath(TestIconsDll()));
  damaged.resize(200);
  const std::wstring bad = folder + L"\\cut.dll";
  WriteBytes(bad, damaged);

  const RunResult run = RunKelmar(L"--list " + Quoted(ne) + L" " + Quoted(stub) + L" " + Quoted(ico) + L" " + Quoted(bad));
  DeleteFileW(mun.c_str());
  EXPECT_EQ(run.status, 0u);
  std::vector<std::wstring> expected{ne + L"\t0\tNAVY\t32×32 32位", ne + L"\t1\t#9\t32×32 32位"};
  for (const std::wstring& line : TestIconsLines(stub)) expected.push_back(line);
  expected.push_back(ico + L"\t0\t-\t32×32 32位 · 16×16 32位");
  expected.push_back(bad + L"\t0\t-\t外壳图标");
  expected.push_back(Summary(6, 4));
  EXPECT_EQ(run.out, expected);
}

// Folders give their icon source files by name; subfolders only when asked.
// Unicode names and a path beyond 260 characters come through whole.
TEST(BatchProgram, FoldersGiveTheirIconSourcesAndSubfoldersWhenAsked) {
  std::wstring folder = MakeTempFolder(L"batch-文件夹");
  ASSERT_TRUE(CopyFileW(TestIconsDll().c_str(), (folder + L"\\b图标.dll").c_str(), FALSE));
  WriteBytes(folder + L"\\a.ico", TestIcon("navy.ico"));
  WriteTextFile(folder + L"\\notes.txt", "not an icon source");
  std::wstring deep = folder;
  while (deep.size() < 300) {
    deep += L"\\很长的文件夹名称_0123456789";
    ASSERT_TRUE(CreateDirectoryW(LongPath(deep).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  }
  ASSERT_TRUE(CopyFileW(TestIconsDll().c_str(), LongPath(deep + L"\\深.dll").c_str(), FALSE));

  const RunResult flat = RunKelmar(L"--list " + Quoted(folder));
  EXPECT_EQ(flat.status, 0u);
  std::vector<std::wstring> expected{folder + L"\\a.ico\t0\t-\t32×32 32位"};
  for (const std::wstring& line : TestIconsLines(folder + L"\\b图标.dll")) expected.push_back(line);
  expected.push_back(Summary(3, 2));
  EXPECT_EQ(flat.out, expected);

  const RunResult deeper = RunKelmar(L"--list --recursive " + Quoted(folder));
  EXPECT_EQ(deeper.status, 0u);
  expected.pop_back();
  for (const std::wstring& line : TestIconsLines(deep + L"\\深.dll")) expected.push_back(line);
  expected.push_back(Summary(5, 3));
  EXPECT_EQ(deeper.out, expected);
  EXPECT_TRUE(deeper.err.empty());
}

// A missing path and a file that cannot be opened are named on standard
// error and make the status 1; the rest is still listed.
TEST(BatchProgram, MissingAndUnreadableFilesAreNamed) {
  const std::wstring folder = MakeTempFolder(L"batch-faults");
  const std::wstring missing = folder + L"\\不存在.dll", locked = folder + L"\\locked.dll";
  ASSERT_TRUE(CopyFileW(TestIconsDll().c_str(), locked.c_str(), FALSE));
  // Held open without sharing: nobody else may read it.
  FileHandle hold(CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(hold);
  const RunResult run = RunKelmar(L"--list " + Quoted(missing) + L" " + Quoted(locked) + L" " + Quoted(TestIconsDll()));
  EXPECT_EQ(run.status, 1u);
  std::vector<std::wstring> expected = TestIconsLines(TestIconsDll());
  expected.push_back(Summary(2, 1));
  EXPECT_EQ(run.out, expected);
  ASSERT_EQ(run.err.size(), 2u);
  EXPECT_NE(run.err[0].find(missing), std::wstring::npos);
  EXPECT_NE(run.err[1].find(locked), std::wstring::npos);
}

// Usage faults: status 2, the argument named, the usage on standard error,
// nothing on standard output; --help prints the usage and succeeds.
TEST(BatchProgram, UsageFaultsAndHelp) {
  for (const wchar_t* wrong : {L"--colour", L"--type"}) {
    const RunResult run = RunKelmar(L"--list " + std::wstring(wrong) + L" x.dll");
    EXPECT_EQ(run.status, 2u);
    EXPECT_TRUE(run.out.empty());
    ASSERT_FALSE(run.err.empty());
    EXPECT_NE(run.err[0].find(wrong), std::wstring::npos) << run.err[0];
    EXPECT_TRUE(Mentions(run.err, L"--save 目标文件夹"));
  }
  const RunResult help = RunKelmar(L"--help");
  EXPECT_EQ(help.status, 0u);
  EXPECT_TRUE(help.err.empty());
  EXPECT_TRUE(Mentions(help.out, L"--list"));
  EXPECT_TRUE(Mentions(help.out, L"--overwrite"));
}

}  // namespace kelmar::test
