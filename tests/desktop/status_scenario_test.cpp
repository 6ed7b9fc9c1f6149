// The status gadgets in the real program while mivo-device plays the phone:
// a new battery level on the charger, an incoming SMS, a missed call, a
// weaker signal and another operator show on the desktop within a second
// of the program's time.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "tests/desktop/scenario.h"
#include "tests/support/mivo_runner.h"
#include "tests/tools/run_tool.h"

namespace {

using namespace testing_support;

// The gadgets' texts and pictures by class.
std::map<std::string, std::pair<std::string, std::string>> Shown(const Json& d) {
  std::map<std::string, std::pair<std::string, std::string>> shown;
  for (const Json& g : d["desktop"]["gadgets"].Items()) {
    shown[g["class"].AsString()] = {g["text"].AsString(), g["image"].IsNull() ? "" : g["image"].AsString()};
  }
  return shown;
}

void Device(const std::string& dir, const std::vector<std::string>& args) {
  const ToolResult r = RunDeviceIn(dir, args);
  EXPECT_EQ(r.code, 0) << r.err;
}

// Lets the program's time go on in steps of 50 ms until `done` holds for a
// dump (the device's changes reach it on the host's clock); the program
// time it took, or -1 when a second was not enough.
int WaitFor(MivoSession& s, const std::function<bool(const Json&)>& done, Json* last) {
  for (int ms = 0; ms <= 1000; ms += 50) {
    *last = s.Dump();
    if (done(*last)) return ms;
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    s.Send("wait 50");
  }
  return -1;
}

TEST(StatusScenario, WhatTheDeviceAnnouncesShowsWithinASecond) {
  const std::string dir = desktoptest::DeviceWithLayout(
      "status_values",
      "battery      rect=0,0,120,36     desktops=1 portrait\n"
      "signal       rect=120,0,240,36   desktops=1 portrait\n"
      "operator     rect=0,36,240,66    desktops=1 portrait\n"
      "unread-sms   rect=0,66,120,196   desktops=1 portrait\n"
      "missed-calls rect=120,66,240,196 desktops=1 portrait\n"
      "clock        rect=0,196,240,236  desktops=1 portrait graphical=no size=20\n"
      "date         rect=0,236,240,268  desktops=1 portrait\n");
  Device(dir, {"set", "battery", "60"});
  MivoSession s(dir);
  ASSERT_TRUE(s.Running());
  s.Send("time 2010-03-15T09:05");
  Json d = s.Dump();
  auto shown = Shown(d);
  ASSERT_EQ(shown.size(), 7u);
  EXPECT_EQ(shown["CmivoBatteryInfo"], (std::pair<std::string, std::string>{"60%", "gadget_battery"}));
  EXPECT_EQ(shown["CmivoClock"].first, "09:05");
  // The sample messages and calls of a new device count already.
  const int unread = std::stoi(shown["CmivoUnreadSMSEvent"].first);
  const int missed = std::stoi(shown["CmivoMissedCallsEvent"].first);

  Device(dir, {"set", "battery", "15", "--ac"});
  Device(dir, {"sms", "receive", "Eva <+420 601 000 001>", "Přijdu v sedm"});
  Device(dir, {"call", "missed", "+420 602 000 002"});
  Device(dir, {"set", "signal", "42"});
  Device(dir, {"set", "operator", "Vodafone CZ"});
  const int took = WaitFor(
      s,
      [&](const Json& dump) {
        auto now = Shown(dump);
        return now["CmivoBatteryInfo"] == std::pair<std::string, std::string>{"15%", "gadget_battery_ac"} &&
               now["CmivoUnreadSMSEvent"].first == std::to_string(unread + 1) &&
               now["CmivoMissedCallsEvent"].first == std::to_string(missed + 1) &&
               now["CmivoSignalStrengthGadget"].first == "42%" && now["CmivoGSMNetwork"].first == "Vodafone CZ";
      },
      &d);
  EXPECT_GE(took, 0) << "battery " << Shown(d)["CmivoBatteryInfo"].first << ", SMS "
                     << Shown(d)["CmivoUnreadSMSEvent"].first << ", calls " << Shown(d)["CmivoMissedCallsEvent"].first
                     << ", signal " << Shown(d)["CmivoSignalStrengthGadget"].first << ", operator "
                     << Shown(d)["CmivoGSMNetwork"].first;
  std::printf("the device's changes showed after %d ms of the program's time\n", took);

  // The text clock follows the minute, the date the day.
  s.Send("time 2010-03-16T00:01");
  s.Send("wait 1000");
  d = s.Dump();
  EXPECT_EQ(Shown(d)["CmivoClock"].first, "00:01");
  EXPECT_NE(Shown(d)["CmivoDateGadget"].first.find("16"), std::string::npos) << Shown(d)["CmivoDateGadget"].first;

  // The unread SMS's text opens the Inbox (more than one is unread).
  for (const Json& g : d["desktop"]["gadgets"].Items()) {
    if (g["class"].AsString() != "CmivoUnreadSMSEvent") continue;
    const Json& r = g["rect"];
    s.Send("tap " + std::to_string((r[0].AsInt() + r[2].AsInt()) / 2) + " " + std::to_string(r[3].AsInt() - 10));
  }
  s.Send("wait 1000");
  d = s.Dump();
  EXPECT_EQ(d["top"]["class"].AsString(), "CmivoSMSItemsPage");
  EXPECT_EQ(s.Finish(), 0);
}

}  // namespace
