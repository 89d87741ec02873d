#include <gtest/gtest.h>

#include "skin/data/system_version.h"
#include "skin/data/text_fit.h"

namespace kelmar {
namespace {

// 10 pixels per character; a lone surrogate would be a fault.
int Width(std::u16string_view s) {
  int n = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    const bool high = s[i] >= 0xD800 && s[i] <= 0xDBFF;
    if (high && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) ++i;
    else if (high || (s[i] >= 0xDC00 && s[i] <= 0xDFFF)) ADD_FAILURE() << "split surrogate pair";
    ++n;
  }
  return n * 10;
}

std::u16string Fit(std::u16string text, int max_width) {
  FitTextWithEllipsis(text, max_width, Width);
  return text;
}

TEST(FitTextWithEllipsis, FittingTextStaysOtherwiseEndsInDots) {
  EXPECT_EQ(Fit(u"abcdef", 60), u"abcdef");
  EXPECT_EQ(Fit(u"abcdef", 59), u"ab...");
  EXPECT_EQ(Fit(u"abcdef", 50), u"ab...");
  EXPECT_EQ(Fit(u"abcdef", 49), u"a...");
  EXPECT_EQ(Fit(u"abcdef", 20), u"...");
  EXPECT_EQ(Fit(u"\u56fe\u6807\U0001F600\U0001F600", 39), u"...");
  EXPECT_EQ(Fit(u"\u56fe\u6807\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600", 60),
            u"\u56fe\u6807\U0001F600...");
  EXPECT_EQ(Fit(u"", 0), u"");
}

TEST(SystemVersion, FeaturesFromTheirFirstVersionOn) {
  EXPECT_FALSE(LayeredWindowsAvailable({4, 90}));
  EXPECT_TRUE(LayeredWindowsAvailable({5, 0}));
  EXPECT_TRUE(LayeredWindowsAvailable({5, 2}));
  EXPECT_TRUE(LayeredWindowsAvailable({6, 2}));
  EXPECT_TRUE(LayeredWindowsAvailable({10, 0}));
  EXPECT_FALSE(IsSystemVersion51({5, 0}));
  EXPECT_TRUE(IsSystemVersion51({5, 1}));
  EXPECT_TRUE(IsSystemVersion51({5, 2}));
  EXPECT_TRUE(IsSystemVersion51({6, 1}));
  EXPECT_TRUE(IsSystemVersion51({10, 0}));
}

}  // namespace
}  // namespace kelmar
