// The SMS, last-call and appointment panels in the real program: what the
// phone network and the owner's other devices do (mivo-device) shows on the
// running desktop without a restart, and each panel's taps open the page of
// what it shows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/desktop/scenario.h"
#include "tests/support/mivo_runner.h"
#include "tests/support/navigate.h"
#include "tests/tools/run_tool.h"

namespace {

using namespace testing_support;

constexpr auto& Device = testing_support::RunDeviceIn;

// The dumped gadget of a type.
Json GadgetOf(const Json& d, long long type) {
  for (const Json& g : d["desktop"]["gadgets"].Items())
    if (g["type"].AsInt() == type) return g;
  ADD_FAILURE() << "no gadget of type " << type;
  return Json();
}

std::string At(long long x, long long y) { return std::to_string(x) + " " + std::to_string(y); }

class Panels : public desktoptest::LiveWalk {
 public:
  using LiveWalk::LiveWalk;
  std::string TextOf(const Json& d, long long type) { return GadgetOf(d, type)["text"].AsString(); }
  // Back to the desktop.
  Json Home() {
    Json d = m_live.Dump();
    for (int i = 0; i < 5 && d["pages"].size() > 1; ++i) d = Step("key F1");
    EXPECT_EQ(d["pages"].size(), 1u);
    return d;
  }
};

TEST(PanelsScenario, ShowWhatArrivesWhileTheProgramRunsAndOpenItsPages) {
  // The device, with its sample data.
  const std::string dir = desktoptest::DeviceWithLayout("panels_live",
                                                        "sms-panel         rect=0,0,240,50    desktops=1 portrait\n"
                                                        "last-call-panel   rect=0,56,240,106  desktops=1 portrait\n"
                                                        "appointment-panel rect=0,112,240,268 desktops=1 portrait\n");
  MivoSession s(dir);
  ASSERT_TRUE(s.Running());
  Panels w(s);
  Json d = w.Step("wait 100");
  const long long top = d["top"]["rect"][1].AsInt();
  EXPECT_FALSE(w.TextOf(d, 18).empty());
  EXPECT_NE(w.TextOf(d, 23).find("Dentist"), std::string::npos) << "this afternoon's sample appointment";

  ASSERT_EQ(Device(dir, {"sms", "receive", "Eva Nová <+420 777 123 456>", "Hello from the panel"}).code, 0);
  d = w.Until([&](const Json& j) { return w.TextOf(j, 18) == "Eva Nová: Hello from the panel"; });
  ASSERT_EQ(Device(dir, {"call", "incoming", "+420 608 555 666"}).code, 0);
  d = w.Until([&](const Json& j) { return w.TextOf(j, 24) == "+420 608 555 666"; });
  ASSERT_EQ(Device(dir, {"appointments", "add", "Vet", "2010-03-15 11:00", "--minutes", "30"}).code, 0);
  d = w.Until([&](const Json& j) { return w.TextOf(j, 23).find("Vet") != std::string::npos; });
  EXPECT_LT(w.TextOf(d, 23).find("Vet"), w.TextOf(d, 23).find("Dentist")) << w.TextOf(d, 23);
  s.Send("shot " + dir + "/panels.png");

  // The SMS: its details open the message, its icon the Inbox.
  d = w.Step("tap " + At(150, top + 25));
  ASSERT_EQ(d["top"]["class"].AsString(), "CmivoReadSMSPage");
  EXPECT_EQ(d["top"]["rows"][0]["text"].AsString(), "Hello from the panel");
  d = w.Home();
  d = w.Step("tap " + At(25, top + 25));
  ASSERT_EQ(d["top"]["class"].AsString(), "CmivoSMSItemsPage");
  EXPECT_EQ(d["top"]["title"].AsString(), "Inbox");
  EXPECT_EQ(d["top"]["rows"][0]["sub"].AsString(), "Hello from the panel");
  d = w.Home();

  // The call: its details call back (after the question), its icon opens all calls.
  d = w.Step("tap " + At(150, top + 81));
  ASSERT_EQ(d["overlay"]["title"].AsString(), "Make a call");
  d = w.Step("tap " + CentreOf(d["overlay"]["buttons"][0]));
  EXPECT_NE(Device(dir, {"dials", "1"}).out.find("+420 608 555 666"), std::string::npos);
  d = w.Home();
  d = w.Step("tap " + At(25, top + 81));
  ASSERT_EQ(d["top"]["class"].AsString(), "CmivoAdvCallLogPage");
  EXPECT_EQ(d["top"]["title"].AsString(), "All calls");
  d = w.Home();

  // The appointments: a tap opens the calendar on the day tapped.
  d = w.Step("tap " + At(120, top + 125));
  ASSERT_EQ(d["top"]["class"].AsString(), "CmivoCalendarPage");
  bool listed = false;
  for (const Json& row : d["top"]["rows"].Items()) listed = listed || row["text"].AsString() == "Vet";
  EXPECT_TRUE(listed) << "today's appointments";
  d = w.Home();
  EXPECT_EQ(s.Finish(), 0);
}

}  // namespace
