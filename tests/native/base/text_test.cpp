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

}  // namespace kelmar
