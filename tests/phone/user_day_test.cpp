// A user's day with the real program while mivo-device plays the phone
// network: three messages come in, the home desktop counts them, its unread
// count opens the Inbox, the user reads them, answers one, calls the sender
// of another, finds a contact by typing 5-2-6 on the keypad, calls her
// mobile and sees the call in the call log. Screenshots are taken along the
// way at both screen sizes.
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <string>
#include <vector>

#include "tests/desktop/scenario.h"
#include "tests/support/mivo_runner.h"
#include "tests/support/navigate.h"
#include "tests/tools/run_tool.h"

namespace {

using testing_support::FreshDir;
using testing_support::Json;
using testing_support::MivoSession;

constexpr auto& Device = testing_support::RunDeviceIn;

// The index of the top page's row with this text, or -1.
int RowIndex(const Json& d, const std::string& text) {
  int i = 0;
  for (const Json& row : d["top"]["rows"].Items()) {
    if (row["text"].AsString() == text) return i;
    ++i;
  }
  return -1;
}

// The unread-SMS gadget of the shown desktop (null when there is none).
Json UnreadSms(const Json& d) {
  for (const Json& g : d["desktop"]["gadgets"].Items())
    if (g["type"].AsInt() == 5 && g["visible"].AsBool()) return g;
  return Json();
}

class Day : public desktoptest::LiveWalk {
 public:
  Day(MivoSession& s, std::string size) : LiveWalk(s), m_size(std::move(size)) {}

  void Shot(const std::string& name) { m_live.Send("shot " + m_size + "_" + name + ".png"); }

  // Taps the centre of the top page's row or cell with this text (a little
  // left of it for rows: clear of a side button).
  Json Tap(const char* key, const std::string& text) {
    const Json d = m_live.Dump();
    for (const Json& e : d["top"][key].Items()) {
      if (e["text"].AsString() != text) continue;
      const Json& r = e["rect"];
      const long long x =
          std::string(key) == "rows" ? (r[0].AsInt() * 2 + r[2].AsInt()) / 3 : (r[0].AsInt() + r[2].AsInt()) / 2;
      return Step("tap " + std::to_string(x) + " " + std::to_string((r[1].AsInt() + r[3].AsInt()) / 2));
    }
    ADD_FAILURE() << "no " << key << " " << text << " in " << d["top"].Has("rows");
    return d;
  }
  // Answers the open box with its first button (OK, yes).
  Json Confirm(const std::string& expectedTitle) {
    const Json d = m_live.Dump();
    EXPECT_EQ(d["overlay"]["title"].AsString(), expectedTitle) << d["overlay"]["text"].AsString();
    return Step("tap " + CentreOf(d["overlay"]["buttons"][0]));
  }

 private:
  std::string m_size;
};

void LiveADay(const std::string& size) {
  const std::string dir = FreshDir("user_day_" + size);
  // mivo makes the device on its first start, around its virtual day.
  MivoSession s(dir, {"--screen", size});
  ASSERT_TRUE(s.Running());
  Day day(s, size);
  day.Shot("1_desktop");
  ASSERT_EQ(day.Step("wait 100")["pages"].size(), 1u);  // up and running: the device is made
  {
    std::ofstream card(dir + "/jana.vcf");
    card << "BEGIN:VCARD\nVERSION:3.0\nN:Králová;Jana\nTEL;TYPE=CELL:+420 605 222 333\n"
            "TEL;TYPE=HOME:+420 241 000 111\nEND:VCARD\n";
  }
  const auto imported = Device(dir, {"contacts", "import", dir + "/jana.vcf"});
  ASSERT_EQ(imported.code, 0) << imported.err;

  // Three messages come in while mivo runs.
  for (const auto& [from, text, at] :
       {std::array<const char*, 3>{"Petr Veselý <+420 266 031 500>", "Meeting moved to 11:00.", "2010-03-15 08:55"},
        std::array<const char*, 3>{"Anna <+420 603 111 222>", "Lunch today?", "2010-03-15 08:58"},
        std::array<const char*, 3>{"+420 777 000 999", "Your parcel arrives tomorrow.", "2010-03-15 09:01"}}) {
    ASSERT_EQ(Device(dir, {"sms", "receive", from, text, "--at", at}).code, 0) << text;
  }

  // The home desktop counts them (three of the new device's were unread
  // already); a tap on the count opens the Inbox.
  Json d = day.Until([](const Json& j) { return UnreadSms(j)["text"].AsString() == "6"; });
  day.Shot("1b_counted");
  const Json counter = UnreadSms(d)["rect"];
  d = day.Step("tap " + std::to_string(counter[2].AsInt() - 4) + " " +
               std::to_string((counter[1].AsInt() + counter[3].AsInt()) / 2));
  ASSERT_EQ(d["top"]["class"].AsString(), "CmivoSMSItemsPage");
  d = day.Until([](const Json& j) { return j["top"]["rows"][0]["sub"].AsString() == "Your parcel arrives tomorrow."; });
  EXPECT_EQ(d["top"]["rows"][1]["sub"].AsString(), "Lunch today?");
  EXPECT_EQ(d["top"]["rows"][2]["sub"].AsString(), "Meeting moved to 11:00.");
  EXPECT_EQ(d["top"]["rows"][0]["help"].AsString(), "Today 09:01 AM (unred)");
  day.Shot("2_inbox");

  // Read them, newest first, with next and previous.
  d = day.Tap("rows", "+420 777 000 999");
  ASSERT_EQ(d["top"]["class"].AsString(), "CmivoReadSMSPage");
  day.Shot("3_read");
  d = day.Tap("cells", "next");
  EXPECT_EQ(d["top"]["rows"][0]["text"].AsString(), "Lunch today?");
  d = day.Tap("cells", "next");
  EXPECT_EQ(d["top"]["rows"][0]["text"].AsString(), "Meeting moved to 11:00.");
  d = day.Tap("cells", "previous");
  EXPECT_EQ(d["top"]["rows"][0]["text"].AsString(), "Lunch today?");

  // Answer Anna.
  d = day.Tap("cells", "reply");
  ASSERT_EQ(d["overlay"]["kind"].AsString(), "text");
  day.Step("char Yes, at noon!");
  day.Shot("4_reply");
  d = day.Confirm("Write SMS message");
  d = day.Confirm("Send SMS");
  EXPECT_NE(Device(dir, {"sms", "list", "sent"}).out.find("Yes, at noon!"), std::string::npos);

  // Call Petr, the sender of the oldest.
  d = day.Tap("cells", "next");
  EXPECT_EQ(d["top"]["texts"][0].AsString(), "Petr Veselý");
  d = day.Tap("cells", "call");
  d = day.Confirm("Make a call");
  EXPECT_NE(Device(dir, {"dials", "1"}).out.find("+420 266 031 500"), std::string::npos);

  // Back in the Inbox nothing is unread any more.
  d = day.Step("key F1");
  EXPECT_EQ(d["top"]["rows"][0]["help"].AsString(), "Today 09:01 AM");

  // Home again, the count is down to the three unread before.
  d = day.Step("key F1");
  ASSERT_EQ(d["pages"].size(), 1u);
  EXPECT_EQ(UnreadSms(d)["text"].AsString(), "3");

  // The contacts: 5, 2, 6 finds Jana among the names and numbers it fits;
  // her card opens to her home number and calls her mobile (no number of
  // hers is used more than the other).
  d = day.Step("key RETURN");  // the desktop's Enter opens the main menu
  ASSERT_EQ(d["top"]["class"].AsString(), "CmivoMainMenuPage");
  d = day.Tap("cells", "Contacts");
  ASSERT_EQ(d["top"]["class"].AsString(), "CmivoPhonePageWnd");
  for (const char* key : {"5", "2", "6"}) d = day.Tap("cells", key);
  EXPECT_EQ(d["top"]["title"].AsString(), "526");
  const int jana = RowIndex(d, "Jana Králová");
  ASSERT_GE(jana, 0);
  EXPECT_LT(d["top"]["rows"].size(), 20u);  // three keys narrow some 270 contacts to a few
  EXPECT_EQ(d["top"]["rows"][jana]["help"].AsString(), "Call mobile +420 605 222 333\nCall home +420 241 000 111");
  day.Shot("5_contacts");
  d = day.Step("key F2");  // the keypad goes: the open card has room
  for (int i = 0; i <= jana; ++i) d = day.Step("key DOWN");  // her card selected, in view
  const Json card = d["top"]["rows"][jana]["rect"];
  d = day.Step("tap " + std::to_string(card[2].AsInt() - 18) + " " +
               std::to_string((card[1].AsInt() + card[3].AsInt()) / 2));
  ASSERT_TRUE(d["top"]["rows"][jana]["expanded"].AsBool());
  // Opened at the bottom of the list, the card came up whole: its mobile row is tapped below.
  day.Shot("6_card");
  const int scale = size == "240x320" ? 1 : 2;
  const long long mobileRow = d["top"]["rows"][jana]["rect"][1].AsInt() + 63 * scale + 30 * scale;
  d = day.Step("tap " + std::to_string(60 * scale) + " " + std::to_string(mobileRow));
  EXPECT_NE(d["overlay"]["text"].AsString().find("Jana Králová (Mobile phone)"), std::string::npos);
  d = day.Confirm("Make a call");

  // The call log has it on top.
  for (int i = 0; i < 3 && d["top"]["class"].AsString() != "CmivoMainMenuPage"; ++i) d = day.Step("key F1");
  d = day.Tap("cells", "Call log");
  d = day.Tap("rows", "All calls");
  ASSERT_EQ(d["top"]["class"].AsString(), "CmivoAdvCallLogPage");
  EXPECT_EQ(d["top"]["rows"][0]["text"].AsString(), "Jana Králová");
  EXPECT_EQ(d["top"]["rows"][0]["sub"].AsString(), "Today 09:05 AM, Mobile phone");
  EXPECT_EQ(d["top"]["rows"][1]["text"].AsString(), "Petr Veselý");
  day.Shot("7_call_log");
  EXPECT_EQ(s.Finish(), 0);
  EXPECT_NE(Device(dir, {"call", "log", "1"}).out.find("+420 605 222 333"), std::string::npos);
}

TEST(UserDay, ReadAnswerCallFindAndCallAtQvga) { LiveADay("240x320"); }
TEST(UserDay, ReadAnswerCallFindAndCallAtVga) { LiveADay("480x640"); }

}  // namespace
