// The built-in texts: the exact wording, misspellings included (language
// files are matched against these texts character by character, so a
// corrected spelling would drop every translation of it), and the ids that
// have no text.
#include <gtest/gtest.h>

#include "look/string_table.h"

namespace {

TEST(BuiltInStringTable, HoldsTheExactTextsAcrossTheRange) {
  EXPECT_EQ(BuiltInString(2), u"Error");
  EXPECT_EQ(BuiltInString(64), u"Tommorow");
  EXPECT_EQ(BuiltInString(186), u"SMSto business 2");
  EXPECT_EQ(BuiltInString(195), u"Call radion");
  EXPECT_EQ(BuiltInString(236), u"Size: %d bytes");
  EXPECT_EQ(BuiltInString(241), u"{Root}");
  EXPECT_EQ(BuiltInString(391), u"(unred)");
  EXPECT_EQ(BuiltInString(493), u"%d point(s)");
  EXPECT_EQ(BuiltInString(359), u"Cannot copy file. System responded following error:\n");
  for (int id : {4, 377, 393}) EXPECT_EQ(BuiltInString(id), u"SMS") << id;
  for (int id : {28, 230, 270}) EXPECT_EQ(BuiltInString(id), u"Personal") << id;
  EXPECT_EQ(BuiltInString(18),
            u"By clicking on this item, you will get access to the list of all incoming, outging and missed calls. "
            u"This list is taken from the main phone log of your device.\n\nDon't forget you can 'tap and hold' on "
            u"any item in the list of the calls to access more features.");
  EXPECT_EQ(BuiltInString(567),
            u"The gadget cannot be deleted because it is used as a shared Today plugin gadget and there are one or "
            u"more Today plugin gadgets linked to this gadget.");
}

TEST(BuiltInStringTable, WritesLineFeedsAndTheBulletAsSingleCharacters) {
  const std::u16string_view t = BuiltInString(106);
  EXPECT_NE(t.find(u"options: \n\n  \u25CF  Show contact info"), std::u16string_view::npos);
  EXPECT_NE(t.find(u"simply shown\n  \u25CF  Smart call"), std::u16string_view::npos);
  EXPECT_EQ(t.find(u"\\n"), std::u16string_view::npos);
  EXPECT_FALSE(BuiltInString(137).empty());
}

TEST(BuiltInStringTable, IdsWithoutTextAndOutsideTheRangeAreEmpty) {
  for (int id : {12, 138, 139, 273, 378, 379, 380, 381, 382, 383, 384, 477}) EXPECT_TRUE(BuiltInString(id).empty()) << id;
  for (int id : {-1, 0, 1, 568, 600, 100000}) EXPECT_TRUE(BuiltInString(id).empty()) << id;
  int withText = 0;
  for (int id = 2; id <= 567; ++id) withText += !BuiltInString(id).empty();
  EXPECT_EQ(withText, 566 - 12);
}

}  // namespace
