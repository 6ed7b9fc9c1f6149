// The contacts page: the keypad's search (a digit for its letters, accents
// included), the hints, the call rows of a contact's card, the keypad's
// two shapes and the soft key that hides it.
#include <gtest/gtest.h>

#include "pim/contact_search.h"
#include "pim/phone_page.h"
#include "platform/window/message.h"
#include "tests/phone/phone_fixture.h"

namespace {

using namespace phonetest;
using uitest::UiHarness;

TEST(KeypadSearch, ADigitMatchesTheLettersOfItsKeyWithTheirAccentsAndOtherCharactersMatchThemselves) {
  const mivoKeypadSearch two(u"2");
  EXPECT_TRUE(two.Matches(u"Čeněk"));  // č (269) is on key 2
  EXPECT_TRUE(two.Matches(u"ÁDA"));    // á (225) lowered
  EXPECT_TRUE(two.Matches(u"+420"));
  EXPECT_FALSE(two.Matches(u"Ödön Fekete"));
  EXPECT_TRUE(mivoKeypadSearch(u"9").Matches(u"ý"));
  EXPECT_TRUE(mivoKeypadSearch(u"9").Matches(u"Ž"));
  EXPECT_FALSE(mivoKeypadSearch(u"1").Matches(u"a"));  // keys 0 and 1 hold only themselves
  EXPECT_TRUE(mivoKeypadSearch(u"526").Matches(u"Jan"));
  EXPECT_TRUE(mivoKeypadSearch(u"526").Matches(u"+420 603 526 111"));
  EXPECT_FALSE(mivoKeypadSearch(u"5266").Matches(u"Jan"));  // longer than the text
  EXPECT_TRUE(mivoKeypadSearch(u"jAN").Matches(u"Janek"));  // letters: either case
  EXPECT_FALSE(mivoKeypadSearch(u"a").Matches(u"á"));       // ... but only themselves
  EXPECT_TRUE(mivoKeypadSearch(u"").Matches(u""));
  EXPECT_EQ(mivoKeypadSearch::KeyOf(u'Ř'), 7);
  EXPECT_EQ(mivoKeypadSearch::KeyOf(u'#'), -1);
  EXPECT_EQ(mivoKeypadSearch::KeyOf(u'0'), 0);
}

class ContactsPage : public ::testing::Test {
 protected:
  // The device exists once the harness does: the contacts come before the start.
  static void AddContacts() {
    for (auto c :
         {Person(u"Čeněk", u"Hrdý", {{1, u"+49 301 145 678"}}), Person(u"Ödön", u"Fekete", {{6, u"+49 301 145 679"}}),
          Person(u"Bob", u"Uhl", {{3, u"+49 301 999 000"}}), Person(u"Ivo", u"Kříž", {{1, u"+49 301 222 000"}}),
          Person(u"Jan", u"Novák", {{1, u"+49 301 526 111"}, {6, u"+49 301 144 000"}})}) {
      ASSERT_NE(device::AddContact(&c), 0);
    }
  }

  CmivoPhonePageWnd* Open(UiHarness& h) {
    AddContacts();
    EXPECT_TRUE(h.Start());
    return Show<CmivoPhonePageWnd>(h, 19);
  }

  static void Type(UiHarness& h, const std::string& keys) {
    for (char k : keys) uitest::TapText(h, "cells", std::string(1, k));
  }
};

TEST_F(ContactsPage, TypingTwoListsEveryContactWithALetterOfTheKeyOrTheDigitWithHints) {
  UiHarness h("contacts_two");
  CmivoPhonePageWnd* page = Open(h);
  ASSERT_NE(page, nullptr);
  // Everyone at first, ordered by last name, and the count.
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{"Ödön Fekete", "Čeněk Hrdý", "Ivo Kříž", "Jan Novák", "Bob Uhl",
                                                  "Contacts found: 5"}));
  Type(h, "2");
  EXPECT_EQ(Dump()["top"]["title"].AsString(), "2");
  EXPECT_EQ(RowTexts(),
            (std::vector<std::string>{"Čeněk Hrdý", "Ivo Kříž", "Jan Novák", "Bob Uhl", "Contacts found: 4"}));
  EXPECT_EQ(Row("Ivo Kříž")["sub"].AsString(), "Mobile phone: +49 301 222 000");  // only his number has a 2
  EXPECT_EQ(Row("Čeněk Hrdý")["sub"].AsString(), "Mobile phone");  // matched by name: no hint, his default number

  // A number field alone: the hint names it.
  uitest::TapText(h, "cells", "clear");
  Type(h, "999");
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{"Bob Uhl", "Contacts found: 1"}));
  EXPECT_EQ(Row("Bob Uhl")["sub"].AsString(), "Business phone: +49 301 999 000");

  // Back deletes one digit; "#" from a keyboard changes nothing, letters search as letters.
  uitest::TapText(h, "cells", "back");
  EXPECT_EQ(page->SearchText(), u"99");
  PostMessageW(page->m_hWnd, WM_CHAR, u'#', 1);
  h.Pump();
  EXPECT_EQ(page->SearchText(), u"99");
  uitest::TapText(h, "cells", "clear");
  for (char16_t c : std::u16string(u"kŘ")) PostMessageW(page->m_hWnd, WM_CHAR, c, 1);
  h.Pump();
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{"Ivo Kříž", "Contacts found: 1"}));
  PostMessageW(page->m_hWnd, WM_CHAR, 8, 1);
  h.Pump();
  EXPECT_EQ(page->SearchText(), u"k");

  // Opening the page again empties the search.
  page->SetPageParam(0, 0);
  EXPECT_EQ(page->SearchText(), u"");
  EXPECT_EQ(RowTexts().size(), 6u);
}

TEST_F(ContactsPage, TwoKeysInQuickSuccessionEndWithTheWholeSearch) {
  UiHarness h("contacts_quick");
  CmivoPhonePageWnd* page = Open(h);
  ASSERT_NE(page, nullptr);
  // Both keys are queued before either is handled, as two quick taps are.
  PostMessageW(page->m_hWnd, WM_MIVO_PHONE_KEY, 6, 0);  // "5"
  PostMessageW(page->m_hWnd, WM_MIVO_PHONE_KEY, 3, 0);  // "2"
  PostMessageW(page->m_hWnd, WM_MIVO_PHONE_KEY, 7, 0);  // "6"
  h.Pump();
  EXPECT_EQ(page->SearchText(), u"526");
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{"Jan Novák", "Contacts found: 1"}));
}

// (A call row's tap calls: the user's day does it in the real program.)
TEST_F(ContactsPage, ACardOpensToOneCallRowPerFurtherNumberAndACallRowOffersItsNumbersEntries) {
  UiHarness h("contacts_card");
  CmivoPhonePageWnd* page = Open(h);
  ASSERT_NE(page, nullptr);
  // A single number is the card's own: nothing to open.
  EXPECT_FALSE(Row("Čeněk Hrdý").Has("help"));
  // (Two numbers and no history to choose between them, a call row each: the user's day checks it.)
  Type(h, "526");
  h.Key(VK_F2);  // the keypad goes: room for the open card
  const Json card = Row("Jan Novák");
  const int right = static_cast<int>(card["rect"][2].AsInt());
  const int middle = Centre(card["rect"]).y;
  h.Tap(right - 18, middle);  // the side button
  const Json open = Row("Jan Novák");
  EXPECT_TRUE(open["expanded"].AsBool());
  EXPECT_EQ(open["rect"][3].AsInt() - open["rect"][1].AsInt(), 63 + 2 * 60);

  // Holding the second call row (home) offers that number's entries.
  h.Hold(60, static_cast<int>(open["rect"][1].AsInt()) + 63 + 60 + 30);
  const Json menu = Dump();
  EXPECT_EQ(menu["top"]["class"].AsString(), "CmivoRightClickPage");
  bool call = false;
  for (const Json& r : menu["top"]["rows"].Items()) call = call || r["text"].AsString() == "Call +49 301 144 000";
  EXPECT_TRUE(call) << uitest::UiHarness::Dump();
}

TEST_F(ContactsPage, TheRightSoftKeyHidesAndShowsTheKeypadAndAWideScreenPutsItOnTheRight) {
  {
    UiHarness h("contacts_keypad");
    CmivoPhonePageWnd* page = Open(h);
    ASSERT_NE(page, nullptr);
    Json d = Dump();
    EXPECT_EQ(d["softkeys"][1].AsString(), "Hide kbd");
    ASSERT_EQ(d["top"]["cells"].size(), 12u);
    // Four columns, three rows across the bottom: "1" at the left, clear at the right.
    EXPECT_EQ(d["top"]["cells"][1]["text"].AsString(), "1");
    const long long listBottom = Rows().back()["rect"][3].AsInt();
    h.Key(VK_F2);
    d = Dump();
    EXPECT_EQ(d["softkeys"][1].AsString(), "Show kbd");
    EXPECT_EQ(d["top"]["cells"].size(), 0u);
    EXPECT_FALSE(page->Keypad().IsWindowVisible());
    h.Key(VK_F2);
    EXPECT_EQ(Dump()["softkeys"][1].AsString(), "Hide kbd");
    EXPECT_EQ(Rows().back()["rect"][3].AsInt(), listBottom);
  }
  {
    UiHarness h("contacts_wide", 320, 240);
    CmivoPhonePageWnd* page = Open(h);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->Keypad().Columns(), 3);
    const Json d = Dump();
    for (const Json& cell : d["top"]["cells"].Items()) EXPECT_GE(cell["rect"][0].AsInt(), 320 - 177);
    for (const Json& row : Rows()) EXPECT_LE(row["rect"][2].AsInt(), 320 - 177);
  }
}

}  // namespace
