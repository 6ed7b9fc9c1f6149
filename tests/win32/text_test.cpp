#include <gtest/gtest.h>

#include "platform/win32/rect.h"
#include "platform/win32/text.h"

TEST(Text, Utf8RoundTripKeepsAccentsAndSurrogatePairs) {
  const std::u16string s = u"Žluťoučký kůň \U0001F600";
  EXPECT_EQ(text::FromUtf8(text::ToUtf8(s)), s);
  EXPECT_EQ(text::ToUtf8(u"\xD800x"), "\xEF\xBF\xBDx");  // a lone surrogate is replaced
  EXPECT_EQ(text::FromUtf8("\xC0\x80" "a\xE2\x82"), u"\xFFFD\xFFFD" u"a\xFFFD\xFFFD");
}

TEST(Text, Cp1252MapsTheHighRange) {
  EXPECT_EQ(text::FromCp1252("\x80\x9A\xE9"), u"\u20AC\u0161\u00E9");
}

TEST(Text, CaseInsensitiveComparisonCoversAccentedLetters) {
  EXPECT_TRUE(text::EqualsNoCase(u"Program Files\\MIVO", u"program files\\mivo"));
  EXPECT_TRUE(text::EqualsNoCase(u"ŽLUŤOUČKÝ", u"žluťoučký"));
  EXPECT_LT(text::CompareNoCase(u"abc", u"ABD"), 0);
  EXPECT_TRUE(text::EndsWithNoCase(u"photo.JPG", u".jpg"));
}

TEST(Text, FormatFollowsPrintfPatterns) {
  EXPECT_EQ(text::Format(u"%s %d", u"Used", 3), u"Used 3");
  EXPECT_EQ(text::Format(u"%d%%", 75), u"75%");
  EXPECT_EQ(text::Format(u"%02d:%02d", 9, 5), u"09:05");
  EXPECT_EQ(text::Format(u"%-4s|%4s|", u"ab", u"cd"), u"ab  |  cd|");
  EXPECT_EQ(text::Format(u"%x %X %#x %u", 255, 255u, 16, 7u), u"ff FF 0x10 7");
  EXPECT_EQ(text::Format(u"%.2f", 2.5), u"2.50");
  EXPECT_EQ(text::Format(u"%05d", -42), u"-0042");
  EXPECT_EQ(text::Format(u"%s and %s", u"one"), u"one and ");  // a missing argument is empty
  EXPECT_EQ(text::Format(u"100%"), u"100%");
}

TEST(Text, ParseIntRefusesJunkAndOverflow) {
  long long v = 0;
  EXPECT_TRUE(text::ParseInt(u"-123", &v));
  EXPECT_EQ(v, -123);
  EXPECT_FALSE(text::ParseInt(u"12a", &v));
  EXPECT_FALSE(text::ParseInt(u"", &v));
  EXPECT_FALSE(text::ParseInt(u"99999999999999999999", &v));
}

TEST(Rect, IntersectionAndUnionFollowThePlatform) {
  RECT a = MakeRect(0, 0, 10, 10), b = MakeRect(5, 5, 20, 20), r;
  EXPECT_TRUE(IntersectRect(&r, &a, &b));
  EXPECT_EQ(r, MakeRect(5, 5, 10, 10));
  RECT c = MakeRect(10, 0, 20, 10);
  EXPECT_FALSE(IntersectRect(&r, &a, &c));  // touching edges do not overlap
  EXPECT_TRUE(IsRectEmpty(&r));
  EXPECT_TRUE(UnionRect(&r, &a, &c));
  EXPECT_EQ(r, MakeRect(0, 0, 20, 10));
  EXPECT_FALSE(PtInRect(&a, MakePoint(10, 5)));
  EXPECT_TRUE(PtInRect(&a, MakePoint(0, 9)));
}
