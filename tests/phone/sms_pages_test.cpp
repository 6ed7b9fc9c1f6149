// The SMS list and reading pages: cards newest first with their summary,
// staying current with the folder they show, the bubble, stepping through
// a folder and read marks (calling and answering the sender is in the
// user's day of the real program).
#include <gtest/gtest.h>

#include "pim/read_sms_page.h"
#include "pim/sms_items_page.h"
#include "pim/sms_store.h"
#include "platform/device/sms_network.h"
#include "platform/registry/change_watcher.h"
#include "platform/registry/registry.h"
#include "platform/win32/clock.h"
#include "tests/phone/phone_fixture.h"

namespace {

using namespace phonetest;
using uitest::UiHarness;

constexpr int kInbox = static_cast<int>(0x81060102u);
constexpr int kSent = static_cast<int>(0x35E40102u);

class SMSPages : public ::testing::Test {
 protected:
  // A message delivered `minutesAgo` before the virtual start (09:05).
  static void Deliver(const char16_t* from, const char16_t* text, int minutesAgo) {
    std::string error;
    ASSERT_NE(device::DeliverSMS(from, text, sysclock::UnixMs() - minutesAgo * 60000LL, &error), 0) << error;
  }
  // What the store heard reaches it as the UI thread's work.
  static void Settle(UiHarness& h) {
    ASSERT_TRUE(devdb::SyncChangeWatcher());
    h.Pump();
    if (mivoSMSStore* store = h.Core().GetSMSStore()) store->DeliverPendingNotifications();
    h.Pump();
  }
  static CmivoSMSItemsPage* OpenFolder(UiHarness& h, int tag) { return Show<CmivoSMSItemsPage>(h, 8, tag); }
  static DWORD UnreadState() {
    DWORD n = 0;
    reg::GetDword(HKEY_CURRENT_USER, u"System\\State\\Messages\\SMS\\Unread", u"Count", &n);
    return n;
  }
  static std::vector<std::string> Cells() { return uitest::Texts("cells"); }
};

TEST_F(SMSPages, AFolderShowsItsCardsNewestFirstAndATapReadsThemOneAfterAnother) {
  UiHarness h("sms_folder");
  ASSERT_TRUE(h.Start());
  Deliver(u"Anna <+420 603 111 222>", u"Oldest", 180);
  Deliver(u"+420 777 000 111", u"Middle", 120);
  Deliver(u"Petr <+420 602 000 333>", u"Newest", 60);
  CmivoSMSItemsPage* page = OpenFolder(h, kInbox);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(Dump()["top"]["title"].AsString(), "Inbox");
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{"Petr", "+420 777 000 111", "Anna", "Total messages: 3"}));
  EXPECT_EQ(Row("Petr")["sub"].AsString(), "Newest");
  EXPECT_EQ(UnreadState(), 3u);

  // The newest first: no previous button; reading it marks it read.
  uitest::TapText(h, "rows", "Petr");
  auto* reader = dynamic_cast<CmivoReadSMSPage*>(h.Core().TopPage());
  ASSERT_NE(reader, nullptr);
  EXPECT_EQ(Cells(), (std::vector<std::string>{"call", "reply", "next"}));
  EXPECT_EQ(Dump()["top"]["texts"][0].AsString(), "Petr");
  EXPECT_EQ(Dump()["top"]["texts"][1].AsString(), "3/15/2010 8:05:00 AM");
  EXPECT_EQ(UnreadState(), 2u);

  // Next steps to older messages, each once, in the folder's order; the
  // oldest has no next, and Right then does nothing.
  std::vector<std::string> read{"Newest"};
  for (int i = 0; i < 4; ++i) {
    h.Key(VK_RIGHT);
    const std::string body = Rows()[0]["text"].AsString();
    if (body != read.back()) read.push_back(body);
  }
  EXPECT_EQ(read, (std::vector<std::string>{"Newest", "Middle", "Oldest"}));
  EXPECT_EQ(Cells(), (std::vector<std::string>{"previous", "call", "reply"}));
  EXPECT_EQ(UnreadState(), 0u);
  h.Key(VK_LEFT);
  EXPECT_EQ(Rows()[0]["text"].AsString(), "Middle");

  // Back in the list (its unread marks gone: the user's day checks them).
  h.Key(VK_F1);
  EXPECT_EQ(h.Core().TopPage(), page);
}

TEST_F(SMSPages, AnEmptyFolderShowsTheCountZeroAndANewMessageGetsACardUnderTheSummary) {
  UiHarness h("sms_live");
  ASSERT_TRUE(h.Start());
  Deliver(u"Anna <+420 603 111 222>", u"First", 30);
  CmivoSMSItemsPage* page = OpenFolder(h, kSent);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{"Total messages: 0"}));
  EXPECT_EQ(Dump()["top"]["texts"][0].AsString(), "There are no SMS messages in the Sent folder.");

  page = OpenFolder(h, kInbox);
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{"Anna", "Total messages: 1"}));
  Deliver(u"Eva <+420 601 000 001>", u"Second", 5);
  Settle(h);
  // At the end, under the summary, whose count waits for the next filling.
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{"Anna", "Total messages: 1", "Eva"}));

  // Shown the Sent folder, the page no longer hears the Inbox.
  mivoSMSFolder* inbox = h.Core().GetSMSStore()->GetFolder(PR_CE_IPM_INBOX_ENTRYID);
  page = OpenFolder(h, kSent);
  EXPECT_FALSE(inbox->HasListener(page));
  EXPECT_TRUE(page->Folder()->HasListener(page));
  Deliver(u"Eva <+420 601 000 001>", u"Third", 1);
  Settle(h);
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{"Total messages: 0"}));
  // Titles and pictures answer for any folder, an unknown tag being an error.
  EXPECT_EQ(page->GetTitle(kInbox, 0), u"Inbox");
  EXPECT_EQ(page->GetTitle(12345, 0), u"Error");
  EXPECT_EQ(page->GetHelpText(12345, 0), u"");
}

TEST_F(SMSPages, TheBubbleFillsTheListALongTextMakesItScrollAndTheButtonsAreLowerOnAWideScreen) {
  // The buttons 48·S high on the bottom band; on a wide screen lower, right of the picture.
  const struct {
    int width, height, buttonHeight, buttonLeft;  // -1: not probed
  } screens[] = {{240, 320, 48, -1}, {320, 240, 38, 68}};
  std::u16string longText;
  for (int i = 0; i < 40; ++i) longText += u"A long message goes on and on. ";
  for (const auto& screen : screens) {
    SCOPED_TRACE(screen.width);
    UiHarness h("sms_bubble_" + std::to_string(screen.width), screen.width, screen.height);
    ASSERT_TRUE(h.Start());
    Deliver(u"Anna <+420 603 111 222>", longText.c_str(), 10);
    Deliver(u"Petr <+420 602 000 333>", u"Short", 5);
    OpenFolder(h, kInbox);
    uitest::TapText(h, "rows", "Petr");
    auto* reader = dynamic_cast<CmivoReadSMSPage*>(h.Core().TopPage());
    ASSERT_NE(reader, nullptr);
    RECT list{}, call{}, page{};
    reader->List().GetClientRect(&list);
    EXPECT_EQ(reader->List().GetTotalHeight(), RectHeight(list));
    reader->Button(CmivoReadSMSPage::kCall).GetWindowRect(&call);
    reader->GetWindowRect(&page);
    EXPECT_EQ(RectHeight(call), screen.buttonHeight);
    if (screen.buttonLeft >= 0) {
      EXPECT_EQ(call.left - page.left, screen.buttonLeft);
    }
    h.Key(VK_RIGHT);
    h.Pump();
    EXPECT_GT(reader->List().GetTotalHeight(), 3 * RectHeight(list));
  }
}

}  // namespace
