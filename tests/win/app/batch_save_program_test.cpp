// The program saving icons from the command line, run as a script runs it:
// the files it writes against what the window's Save all writes for the same
// files taken in together (every output type, both sizes), the names numbered
// on across the run, progress and summary, existing files, and bad input.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "app/icon_source.h"
#include "app_fixture.h"
#include "base/file.h"
#include "batch_run.h"
#include "win/mouse_input.h"
#include "win/shell_files.h"

namespace kelmar::test {
namespace {

// What a folder holds (the system's own calls: paths of any length).
std::vector<WIN32_FIND_DATAW> FolderEntries(const std::wstring& folder) {
  std::vector<WIN32_FIND_DATAW> entries;
  WIN32_FIND_DATAW found{};
  FindHandle find(FindFirstFileW(InFolder(LongPath(folder), L"*").c_str(), &found));
  if (!find) return entries;
  do {
    if (std::wstring(found.cFileName) != L"." && std::wstring(found.cFileName) != L"..") entries.push_back(found);
  } while (FindNextFileW(find, &found));
  return entries;
}

// A folder's files by name, with their bytes.
std::map<std::wstring, std::vector<uint8_t>> FolderFiles(const std::wstring& folder) {
  std::map<std::wstring, std::vector<uint8_t>> files;
  for (const WIN32_FIND_DATAW& found : FolderEntries(folder)) {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    FileHandle file(CreateFileW(InFolder(LongPath(folder), found.cFileName).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                nullptr, OPEN_EXISTING, 0, nullptr));
    std::vector<uint8_t> bytes(found.nFileSizeLow);
    DWORD got = 0;
    EXPECT_TRUE(file && ReadFile(file, bytes.data(), DWORD(bytes.size()), &got, nullptr) && got == bytes.size())
        << found.cFileName;
    files[found.cFileName] = std::move(bytes);
  }
  return files;
}

std::vector<std::wstring> Names(const std::map<std::wstring, std::vector<uint8_t>>& files) {
  std::vector<std::wstring> names;
  for (const auto& [name, bytes] : files) names.push_back(name);
  return names;
}

// A folder and all it holds.
void RemoveTree(const std::wstring& folder) {
  for (const WIN32_FIND_DATAW& found : FolderEntries(folder)) {
    const std::wstring path = InFolder(folder, found.cFileName);
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      RemoveTree(path);
    else
      DeleteFileW(LongPath(path).c_str());
  }
  RemoveDirectoryW(LongPath(folder).c_str());
}

// Every entry of a folder, files and folders (a temporary one left behind
// would show here).
size_t EntriesIn(const std::wstring& folder) { return FolderEntries(folder).size(); }

std::vector<std::wstring> Sorted(std::vector<std::wstring> names) {
  std::sort(names.begin(), names.end());
  return names;
}

// One choice of the window and its words on the command line.
struct Output {
  const wchar_t* args;
  int type;      // CombPicType: 0 图标, 1 图片, 2 原图, 3 PNG图片
  int png_size;  // CombPngSize: 0 最大, 1..6 256..16, 7 全部尺寸
  bool small;    // the 16 x 16 view
};

class BatchSaveTest : public FormTest {
 protected:
  // What the window's Save all writes for these files dropped together, in
  // this output.
  std::map<std::wstring, std::vector<uint8_t>> WindowSaveAll(const std::vector<std::wstring>& files,
                                                              const Output& output, const std::wstring& folder) {
    if (output.small != form->SmallIcons) Click(output.small ? form->RB16 : form->RB32);
    EXPECT_EQ(form->SmallIcons, output.small);
    DropFiles(form->Handle(), files);
    form->CombPicType->SetItemIndex(output.type);
    form->CombPngSize->SetItemIndex(output.png_size);
    services.folder_answers.push_back(folder);
    form->BTNSaveAllClick();
    return FolderFiles(folder);
  }
};

std::wstring Args(const std::vector<std::wstring>& files) {
  std::wstring args;
  for (const std::wstring& file : files) args += L" " + Quoted(file);
  return args;
}

}  // namespace

// The same names and bytes as the window's Save all, for a test library, one
// of every kind of image, a 16-bit library, a .mun redirection, an icon file,
// a text file (the shell's icon) and a damaged library (the shell's icon,
// named on standard error, status 1), in every output type.
TEST_F(BatchSaveTest, WritesWhatSaveAllWritesForTheSameFiles) {
  const SourceFiles sources(L"batch-save-sources");
  const std::wstring text = sources.folder + L"\\readme.txt";
  WriteTextFile(text, "x");
  const std::vector<std::wstring> files{TestIconsDll(), TestKindsDll(), sources.ne, sources.stub,
                                        sources.ico,    text,           sources.cut};
  const Output outputs[] = {
      {L"--type ico", 0, 0, false},           {L"--type ico --size 16", 0, 0, true},
      {L"--type bmp", 1, 0, false},           {L"--type bmp --size 16", 1, 0, true},
      {L"--type original", 2, 0, false},      {L"--type png", 3, 0, false},
      {L"--type png --size 16", 3, 6, false}, {L"--type png --size all", 3, 7, false},
  };
  for (const Output& output : outputs) {
    SCOPED_TRACE(output.args);
    const std::wstring batch = MakeTempFolder(L"batch-save-cli"), window = MakeTempFolder(L"batch-save-window");
    const RunResult run = RunKelmar(L"--save " + Quoted(batch) + L" " + output.args + Args(files));
    const auto written = FolderFiles(batch);
    const auto expected = WindowSaveAll(files, output, window);
    ASSERT_EQ(expected.size(), std::wstring(output.args).find(L"all") != std::wstring::npos ? written.size() : 15u);
    EXPECT_EQ(Names(written), Names(expected));
    for (const auto& [name, bytes] : expected) EXPECT_TRUE(written.count(name) && written.at(name) == bytes) << name;
    EXPECT_EQ(run.status, 1u);
    ASSERT_EQ(run.err.size(), 1u);
    EXPECT_NE(run.err[0].find(sources.cut), std::wstring::npos) << run.err[0];
    EXPECT_EQ(run.out.back(), L"共 15 个图标，来自 7 个文件");
  }
  // Numbered on across the files, each name its file's base name.
  const std::wstring out = MakeTempFolder(L"batch-save-names");
  RunKelmar(L"--save " + Quoted(out) + Args(files));
  EXPECT_EQ(Names(FolderFiles(out)),
            Sorted({L"1_kelmar_testicons.ico", L"2_kelmar_testicons.ico", L"3_kelmar_testkinds.ico", L"4_kelmar_testkinds.ico",
                    L"5_kelmar_testkinds.ico", L"6_kelmar_testkinds.ico", L"7_kelmar_testkinds.ico", L"8_kelmar_testkinds.ico",
                    L"9_moricons.ico", L"10_moricons.ico", L"11_kelmarbatchstub.ico", L"12_kelmarbatchstub.ico",
                    L"13_alpha.ico", L"14_readme.ico", L"15_cut.ico"}));
}

// The icon files themselves, read here as the format lays them out: one
// image of 32 x 32 (766 bytes) or 16 x 16 (318 bytes) at 4 bits per pixel;
// the bitmaps 32 bits per pixel on this display.
TEST(BatchSave, IconFilesAndBitmapsHaveTheSizeAsked) {
  const struct {
    const wchar_t* args;
    size_t bytes;
    int width_at;  // where the width byte lies
    int size;
  } cases[] = {{L"", 766, 6, 32}, {L"--size 16", 318, 6, 16}, {L"--type bmp", 4150, 18, 32},
               {L"--type bmp --size 16", 1078, 18, 16}};
  for (const auto& c : cases) {
    const std::wstring out = MakeTempFolder(L"batch-save-sizes");
    const RunResult run = RunKelmar(L"--save " + Quoted(out) + L" " + c.args + L" " + Quoted(TestIconsDll()));
    EXPECT_EQ(run.status, 0u) << c.args;
    const auto files = FolderFiles(out);
    ASSERT_EQ(files.size(), 2u) << c.args;
    for (const auto& [name, bytes] : files) {
      ASSERT_EQ(bytes.size(), c.bytes) << name;
      EXPECT_EQ(bytes[size_t(c.width_at)], c.size) << name;
    }
  }
}

// Past the window's 1000 icons of a batch the numbers go on (no second
// "1_shell32.ico" to replace the first); progress every 100 icons, then the
// summary.
TEST(BatchSave, NumbersRunOnAcrossTheRunAndProgressIsTold) {
  const std::wstring out = MakeTempFolder(L"batch-save-many");
  const std::wstring shell32 = SystemFile(L"shell32.dll");  // 184 icons
  std::wstring args = L"--save " + Quoted(out);
  for (int i = 0; i < 6; ++i) args += L" " + Quoted(shell32);
  const RunResult run = RunKelmar(args);
  EXPECT_EQ(run.status, 0u);
  EXPECT_TRUE(run.err.empty());
  const auto files = FolderFiles(out);
  EXPECT_EQ(files.size(), 1104u);
  for (const wchar_t* name : {L"1_shell32.ico", L"1000_shell32.ico", L"1001_shell32.ico", L"1104_shell32.ico"})
    EXPECT_TRUE(files.count(name)) << name;
  std::vector<std::wstring> progress;
  for (int n = 100; n <= 1100; n += 100) progress.push_back(L"已处理 " + std::to_wstring(n) + L" 个图标");
  progress.push_back(L"已处理 1104 个图标");
  ASSERT_GE(run.out.size(), progress.size());
  EXPECT_EQ(std::vector<std::wstring>(run.out.begin(), run.out.begin() + long(progress.size())), progress);
  EXPECT_TRUE(Mentions(run.out, L"1104个文件被保存"));
  EXPECT_TRUE(Mentions(run.out, L"保存路径: " + out + L"\\"));
  EXPECT_EQ(run.out.back(), L"共 1104 个图标，来自 6 个文件");
}

// Files already there are kept and counted unless --overwrite; with it they
// are replaced. A file that cannot be replaced (read-only) is named and the
// others are written; nothing is left half-written or temporary.
TEST(BatchSave, ExistingFilesAreKeptUnlessOverwriteAndFailuresAreNamed) {
  const std::wstring out = MakeTempFolder(L"batch-save-existing");
  const std::wstring args = L"--save " + Quoted(out) + L" " + Quoted(TestIconsDll());
  ASSERT_EQ(RunKelmar(args).status, 0u);
  const auto first = FolderFiles(out);
  const std::wstring one = out + L"\\1_kelmar_testicons.ico", two = out + L"\\2_kelmar_testicons.ico";
  WriteTextFile(one, "mine");

  const RunResult kept = RunKelmar(args);
  EXPECT_EQ(kept.status, 0u);
  EXPECT_TRUE(Mentions(kept.out, L"0个文件被保存，2个已存在未替换"));
  EXPECT_EQ(ReadWholeFile(Utf8FromPath(one)), std::vector<uint8_t>({'m', 'i', 'n', 'e'}));

  const RunResult replaced = RunKelmar(args + L" --overwrite");
  EXPECT_EQ(replaced.status, 0u);
  EXPECT_EQ(FolderFiles(out), first);

  WriteTextFile(two, "read-only");
  ASSERT_TRUE(SetFileAttributesW(two.c_str(), FILE_ATTRIBUTE_READONLY));
  DeleteFileW(one.c_str());
  const RunResult refused = RunKelmar(args + L" --overwrite");
  SetFileAttributesW(two.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(refused.status, 1u);
  ASSERT_EQ(refused.err.size(), 1u);
  EXPECT_NE(refused.err[0].find(two), std::wstring::npos) << refused.err[0];
  EXPECT_TRUE(Mentions(refused.out, L"1个文件未能保存"));
  EXPECT_EQ(ReadWholeFile(Utf8FromPath(one)), first.at(L"1_kelmar_testicons.ico"));
  EXPECT_EQ(ReadWholeFile(Utf8FromPath(two)), std::vector<uint8_t>({'r', 'e', 'a', 'd', '-', 'o', 'n', 'l', 'y'}));
  EXPECT_EQ(EntriesIn(out), 2u);
}

// A drive's root as the folder ("K:\\" keeps its backslash once), filled
// in the middle of the run: each file that did not fit is named and the
// status is 1; every file on the drive is whole, and no temporary one is left.
TEST(BatchSave, AFullDriveRootInTheMiddle) {
  // Drive K: is a 128 KB file system mounted for the app tests (small_drive.sh).
  ULARGE_INTEGER total{};
  if (!GetDiskFreeSpaceExW(L"K:\\", nullptr, &total, nullptr) || total.QuadPart > 1024 * 1024)
    GTEST_SKIP() << "no small drive K: (mounting one needs root)";
  // Emptied (the root itself stays).
  for (const WIN32_FIND_DATAW& found : FolderEntries(L"K:\\"))
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      RemoveTree(InFolder(L"K:\\", found.cFileName));
    else
      DeleteFileW(InFolder(L"K:\\", found.cFileName).c_str());
  ASSERT_EQ(EntriesIn(L"K:\\"), 0u);
  // shell32.dll's 184 icons are 140,944 bytes as icon files.
  const RunResult run = RunKelmar(L"--save K:\\ " + Quoted(SystemFile(L"shell32.dll")));
  EXPECT_EQ(run.status, 1u);
  const auto files = FolderFiles(L"K:\\");
  EXPECT_GT(files.size(), 0u);
  EXPECT_EQ(files.size() + run.err.size(), 184u);
  for (const auto& [name, bytes] : files) EXPECT_EQ(bytes.size(), 766u) << name;
  for (const std::wstring& line : run.err) {
    EXPECT_EQ(line.rfind(L"无法写入文件: K:\\", 0), 0u) << line;
    EXPECT_NE(line.find(L"磁盘空间不足"), std::wstring::npos) << line;
  }
  EXPECT_TRUE(Mentions(run.out, L"保存路径: K:\\"));
  EXPECT_EQ(EntriesIn(L"K:\\"), files.size());
  for (const auto& [name, bytes] : files) DeleteFileW(InFolder(L"K:\\", name).c_str());
}

// An output folder that is a file or cannot be made: named, status 1,
// nothing read or written. A missing path or a file that cannot be read:
// named, status 1, the rest saved. A path beyond 260 characters with
// Chinese names is made and written. An unknown option: status 2, no folder.
TEST(BatchSave, BadInputIsNamedWithTheRightStatus) {
  const std::wstring folder = MakeTempFolder(L"batch-save-faults");
  const std::wstring file = folder + L"\\file.txt";
  WriteTextFile(file, "a file");
  for (const std::wstring& out : {file, file + L"\\sub"}) {
    const RunResult run = RunKelmar(L"--save " + Quoted(out) + L" " + Quoted(TestIconsDll()));
    EXPECT_EQ(run.status, 1u) << out;
    ASSERT_EQ(run.err.size(), 1u);
    EXPECT_NE(run.err[0].find(out), std::wstring::npos) << run.err[0];
    EXPECT_TRUE(run.out.empty());
  }
  EXPECT_EQ(EntriesIn(folder), 1u);

  const std::wstring missing = folder + L"\\不存在.dll", locked = folder + L"\\locked.dll";
  ASSERT_TRUE(CopyFileW(TestIconsDll().c_str(), locked.c_str(), FALSE));
  std::wstring out = folder + L"\\输出";
  while (out.size() < 300) out += L"\\很长的文件夹名称_0123456789";
  {
    // Held open without sharing: nobody else may read it.
    FileHandle hold(CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(hold);
    const RunResult run = RunKelmar(L"--save " + Quoted(out) + L" " + Quoted(missing) + L" " + Quoted(locked) + L" " +
                                    Quoted(TestIconsDll()));
    EXPECT_EQ(run.status, 1u);
    ASSERT_EQ(run.err.size(), 2u);
    EXPECT_NE(run.err[0].find(missing), std::wstring::npos) << run.err[0];
    EXPECT_NE(run.err[1].find(locked), std::wstring::npos) << run.err[1];
  }
  EXPECT_EQ(Names(FolderFiles(out)), Sorted({L"1_kelmar_testicons.ico", L"2_kelmar_testicons.ico"}));
  // Gone again (the next run's fresh folder could not remove a path this long).
  RemoveTree(folder + L"\\输出");
  EXPECT_EQ(GetFileAttributesW((folder + L"\\输出").c_str()), INVALID_FILE_ATTRIBUTES);

  const std::wstring never = folder + L"\\never";
  const RunResult usage = RunKelmar(L"--save " + Quoted(never) + L" --colour " + Quoted(TestIconsDll()));
  EXPECT_EQ(usage.status, 2u);
  ASSERT_FALSE(usage.err.empty());
  EXPECT_NE(usage.err[0].find(L"--colour"), std::wstring::npos);
  EXPECT_EQ(GetFileAttributesW(never.c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace kelmar::test
