#include <gtest/gtest.h>

#include "base/text.h"

namespace kelmar {

TEST(Text, Utf8RoundTripsThroughUtf16) {
  // "文件" is U+6587 U+4EF6; U+1F600 needs a surrogate pair.
  std::string s = "Kelmar \xE6\x96\x87\xE4\xBB\xB6 \xF0\x9F\x98\x80";
  std::u16string w = Utf8ToUtf16(s);
  ASSERT_EQ(w.size(), 12u);
  EXPECT_EQ(w[7], u'\u6587');
  EXPECT_EQ(w[8], u'\u4EF6');
  EXPECT_EQ(w[10], 0xD83D);
  EXPECT_EQ(w[11], 0xDE00);
  EXPECT_EQ(Utf16ToUtf8(w), s);
}

TEST(Text, MalformedUtf8BecomesReplacementCharacters) {
  std::u16string w = Utf8ToUtf16("a\xFF" "b\xE6\x96");
  EXPECT_EQ(w, u"a\uFFFDb\uFFFD");
}

TEST(Text, CaseAndTrim) {
  EXPECT_EQ(AsciiUpper("x.Dll"), "X.DLL");
  EXPECT_TRUE(EqualsIgnoreAsciiCase("PICTURES", "pictures"));
  EXPECT_FALSE(EqualsIgnoreAsciiCase("button", "buttons"));
  EXPECT_EQ(Trim(" \t a b \r\n"), "a b");
  EXPECT_EQ(Trim("   "), "");
}

TEST(Text, APathLosesTheEndOfItsFoldersUntilItFits) {
  const std::u16string caption = u"12:C:\\windows\\system32\\shell32.dll";  // 34 characters
  auto within = [](size_t n) { return [n](std::u16string_view s) { return s.size() <= n; }; };
  EXPECT_EQ(ElidePathMiddle(caption, within(34)), caption);
  // "12:C:\" (6), kept folder characters, "…" (1), "\shell32.dll" (12).
  EXPECT_EQ(ElidePathMiddle(caption, within(33)), u"12:C:\\windows\\system\u2026\\shell32.dll");
  EXPECT_EQ(ElidePathMiddle(caption, within(26)), u"12:C:\\windows\u2026\\shell32.dll");
  EXPECT_EQ(ElidePathMiddle(caption, within(19)), u"12:C:\\\u2026\\shell32.dll");
  // Nothing fits: the shortest form, the name whole.
  EXPECT_EQ(ElidePathMiddle(caption, within(5)), u"12:C:\\\u2026\\shell32.dll");
  // No folders between the first and the last backslash: as it is.
  EXPECT_EQ(ElidePathMiddle(u"3:C:\\app.exe", within(4)), u"3:C:\\app.exe");
  EXPECT_EQ(ElidePathMiddle(u"3:readme", within(4)), u"3:readme");
  // A cut never parts a surrogate pair (U+1F600 in a folder name).
  const std::u16string emoji = u"1:C:\\a\U0001F600bc\\x.ico";  // 16 characters
  EXPECT_EQ(ElidePathMiddle(emoji, within(13)), u"1:C:\\a\u2026\\x.ico");
  EXPECT_EQ(ElidePathMiddle(emoji, within(14)), u"1:C:\\a\u2026\\x.ico");
  EXPECT_EQ(ElidePathMiddle(emoji, within(15)), u"1:C:\\a\U0001F600\u2026\\x.ico");
}

}  // namespace kelmar
