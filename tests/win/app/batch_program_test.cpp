// The program run from the command line without its window: options, files
// and folders (a drop's extension rule, subfolders, Unicode names and paths
// beyond 260 characters), the listing of each file's icons, output to files
// and pipes as UTF-8, and the exit status. The images listed are those the
// test icons were made with (see tests/data/testicons/make_*.sh; icotool
// lists the same sizes and depths).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/icon_source.h"
#include "app_fixture.h"
#include "batch_run.h"
#include "base/file.h"
#include "base/text.h"
#include "win/real_program.h"

namespace kelmar::test {
namespace {

// The listing's lines for the two groups of the test library at `path`.
std::vector<std::wstring> TestIconsLines(const std::wstring& path) {
  return {path + L"\t0\t#1\t32×32 32位", path + L"\t1\t#2\t32×32 32位"};
}

std::wstring Summary(int icons, int files) {
  return L"共 " + std::to_wstring(icons) + L" 个图标，来自 " + std::to_wstring(files) + L" 个文件";
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
  const SourceFiles files(L"batch-sources");
  const std::wstring &ne = files.ne, &stub = files.stub, &ico = files.ico, &bad = files.cut;
  const RunResult run = RunKelmar(L"--list " + Quoted(ne) + L" " + Quoted(stub) + L" " + Quoted(ico) + L" " + Quoted(bad));
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
