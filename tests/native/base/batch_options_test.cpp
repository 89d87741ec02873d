#include <gtest/gtest.h>

#include "base/batch_options.h"

namespace kelmar {
namespace {

BatchOptions Parse(std::vector<std::u16string> args) { return ParseBatchOptions(args); }

// The fault names the argument at fault.
void ExpectFault(std::vector<std::u16string> args, std::u16string_view named) {
  const BatchOptions options = Parse(args);
  EXPECT_EQ(options.command, BatchCommand::kUsageError);
  EXPECT_NE(options.fault.find(named), std::u16string::npos);
  EXPECT_TRUE(options.paths.empty());
}

TEST(BatchOptions, NoOptionsOpenTheWindowWithTheFilesGiven) {
  EXPECT_EQ(Parse({}).command, BatchCommand::kWindow);
  const BatchOptions files = Parse({u"C:\\a.dll", u"b.exe"});
  EXPECT_EQ(files.command, BatchCommand::kWindow);
  EXPECT_EQ(files.paths, (std::vector<std::u16string>{u"C:\\a.dll", u"b.exe"}));
  // A lone "-" and names after "--" are files.
  EXPECT_EQ(Parse({u"--", u"--list"}).paths, std::vector<std::u16string>{u"--list"});
  EXPECT_EQ(Parse({u"-"}).paths, std::vector<std::u16string>{u"-"});
}

TEST(BatchOptions, SaveTakesItsFolderTypeSizeAndSwitchesInAnyOrder) {
  const BatchOptions o = Parse({u"--recursive", u"D:\\图标", u"--save", u"E:\\输出", u"--type", u"png", u"--size",
                                u"48", u"--overwrite", u"F:\\x.dll"});
  EXPECT_EQ(o.command, BatchCommand::kSave);
  EXPECT_EQ(o.outDir, u"E:\\输出");
  EXPECT_EQ(o.type, BatchOutputType::kPng);
  EXPECT_EQ(o.size, 48);
  EXPECT_TRUE(o.recursive);
  EXPECT_TRUE(o.overwrite);
  EXPECT_EQ(o.paths, (std::vector<std::u16string>{u"D:\\图标", u"F:\\x.dll"}));

  const BatchOptions plain = Parse({u"--save", u"out", u"a.dll"});
  EXPECT_EQ(plain.type, BatchOutputType::kIcon);
  EXPECT_EQ(plain.size, 0);
  EXPECT_FALSE(plain.recursive);
  EXPECT_FALSE(plain.overwrite);

  const std::pair<std::u16string, BatchOutputType> types[] = {{u"ico", BatchOutputType::kIcon},
                                                              {u"bmp", BatchOutputType::kBitmap},
                                                              {u"original", BatchOutputType::kOriginal},
                                                              {u"png", BatchOutputType::kPng}};
  for (const auto& [text, type] : types) EXPECT_EQ(Parse({u"--type", text, u"--save", u"o", u"a"}).type, type);
  const std::pair<std::u16string, int> sizes[] = {{u"largest", 0}, {u"256", 256}, {u"128", 128}, {u"64", 64},
                                                  {u"48", 48},     {u"32", 32},   {u"16", 16},   {u"all", -1}};
  for (const auto& [text, size] : sizes)
    EXPECT_EQ(Parse({u"--save", u"o", u"--type", u"png", u"--size", text, u"a"}).size, size);
  // Icon files and bitmaps come at the window's two sizes; an original has all of its own.
  for (const char16_t* type : {u"ico", u"bmp"}) {
    EXPECT_EQ(Parse({u"--save", u"o", u"--type", type, u"--size", u"16", u"a"}).size, 16);
    EXPECT_EQ(Parse({u"--save", u"o", u"--type", type, u"--size", u"32", u"a"}).size, 32);
    EXPECT_EQ(Parse({u"--save", u"o", u"--type", type, u"--size", u"largest", u"a"}).size, 0);
  }
  EXPECT_EQ(Parse({u"--save", u"o", u"--type", u"original", u"--size", u"all", u"a"}).command, BatchCommand::kSave);
}

TEST(BatchOptions, ListTakesPathsAndRecursion) {
  const BatchOptions o = Parse({u"--list", u"--recursive", u"C:\\Windows", u"x.ico"});
  EXPECT_EQ(o.command, BatchCommand::kList);
  EXPECT_TRUE(o.recursive);
  EXPECT_EQ(o.paths, (std::vector<std::u16string>{u"C:\\Windows", u"x.ico"}));
}

TEST(BatchOptions, HelpWinsOverEverythingElse) {
  EXPECT_EQ(Parse({u"--help"}).command, BatchCommand::kHelp);
  EXPECT_EQ(Parse({u"--save", u"o", u"-h"}).command, BatchCommand::kHelp);
  EXPECT_EQ(Parse({u"/?"}).command, BatchCommand::kHelp);
  const std::u16string usage = BatchUsage();
  for (std::u16string_view option : {u"--list", u"--save", u"--type", u"--size", u"--recursive", u"--overwrite",
                                     u"--help"})
    EXPECT_NE(usage.find(option), std::u16string::npos) << std::string(option.begin(), option.end());
}

TEST(BatchOptions, FaultsNameTheArgument) {
  ExpectFault({u"--lsit", u"a.dll"}, u"--lsit");
  ExpectFault({u"--save", u"o", u"-x", u"a"}, u"-x");
  ExpectFault({u"--save"}, u"--save");
  ExpectFault({u"a", u"--save", u""}, u"--save");
  ExpectFault({u"--save", u"o", u"a", u"--type"}, u"--type");
  ExpectFault({u"--save", u"o", u"--type", u"gif", u"a"}, u"gif");
  ExpectFault({u"--save", u"o", u"--size", u"24", u"a"}, u"24");
  ExpectFault({u"--save", u"o", u"--size", u"48", u"a"}, u"48");
  ExpectFault({u"--save", u"o", u"--type", u"bmp", u"--size", u"all", u"a"}, u"all");
  ExpectFault({u"--save", u"o", u"--type", u"original", u"--size", u"256", u"a"}, u"256");
  ExpectFault({u"--save", u"o", u"--size", u"LARGEST", u"a"}, u"LARGEST");
  ExpectFault({u"--save", u"o", u"--save", u"p", u"a"}, u"--save");
  ExpectFault({u"--list", u"--list", u"a"}, u"--list");
  ExpectFault({u"--list", u"--save", u"o", u"a"}, u"--list");
  // What only a save takes.
  ExpectFault({u"--list", u"--overwrite", u"a"}, u"--overwrite");
  ExpectFault({u"--list", u"--type", u"bmp", u"a"}, u"--type");
  ExpectFault({u"--size", u"16", u"a"}, u"--size");
  ExpectFault({u"--recursive", u"a"}, u"--recursive");
  // A command needs something to work on.
  ExpectFault({u"--save", u"o"}, u"文件");
  ExpectFault({u"--list"}, u"文件");
  ExpectFault({u"--list", u"--"}, u"文件");
}

}  // namespace
}  // namespace kelmar
