// The shipped plug-ins in the real program, as a user meets them on a new
// device: in the design mode a moon phase, a countdown and the owner
// information Today plug-in are added from the menus and set up, the Today
// plug-in is shared and shown again on the second desktop; after a restart
// every gadget is back, live, with its settings. At both screen sizes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/mivo_runner.h"
#include "tests/support/navigate.h"

namespace {

using namespace testing_support;

// A gadget as the dump lists it, its text included.
struct Gadget {
  long long type;
  std::vector<long long> rect;
  long long desktops;
  std::string text;
  bool operator==(const Gadget&) const = default;
};

void PrintTo(const Gadget& g, std::ostream* os) {
  *os << "{" << g.type << " [" << g.rect[0] << "," << g.rect[1] << "," << g.rect[2] << "," << g.rect[3] << "] "
      << g.desktops << " \"" << g.text << "\"}";
}

std::vector<Gadget> GadgetsOf(const Json& d) {
  std::vector<Gadget> out;
  for (const Json& g : d["desktop"]["gadgets"].Items()) {
    std::vector<long long> r;
    for (const Json& v : g["rect"].Items()) r.push_back(v.AsInt());
    out.push_back(Gadget{g["type"].AsInt(), r, g["desktops"].AsInt(), g["text"].AsString()});
  }
  return out;
}

// The plug-in window of the owner information, as the dump lists the windows.
Json OwnerWindow(const Json& d) {
  const Json* w = WindowOf(d, "mivoOwnerInfo");
  return w ? *w : Json();
}

class Session : public testing_support::Walk {
 public:
  Session(MivoSession& s, int scale) : Walk(s), m_scale(scale) {
    m_session.Send("time 2010-03-22T20:00");
    m_top = m_session.Dump()["top"]["rect"][1].AsInt();
  }
  // A point of the page at scale 1, on the screen.
  std::string At(int x, int y) const { return std::to_string(x * m_scale) + " " + std::to_string(y * m_scale + m_top); }
  // Replaces the text entry's text and confirms it.
  Json Enter(const std::string& text) {
    for (int i = 0; i < 16; ++i) m_session.Send("key BACK");
    const Json d = Step("char " + text);
    EXPECT_EQ(d["overlay"]["kind"].AsString(), "text");
    return Step("tap " + CentreOf(d["overlay"]["buttons"][0]));
  }
  // Adds a gadget of the catalogue's kind where the hold is, then picks `choice` from its own menu.
  Json AddGadget(int x, int y, const std::string& kind, const std::string& choice) {
    const Json d = TapRow(HoldAndChoose(At(x, y), "Add gadget"), kind);
    const Json added = d["desktop"]["gadgets"][d["desktop"]["gadgets"].size() - 1];
    return HoldAndChoose(CentreOf(added["rect"]), choice);
  }

 private:
  int m_scale;
  long long m_top = 0;
};

class PluginScenario : public ::testing::TestWithParam<int> {};

TEST_P(PluginScenario, TheShippedPlugInsAreAddedSetUpSharedAndComeBackAfterARestart) {
  const int scale = GetParam();
  const std::string size = scale == 1 ? "240x320" : "480x640";
  const std::string dir = FreshDir("plugin_scenario_" + size);
  // A new device, its desktops emptied so the gadgets have room.
  ASSERT_EQ(RunMivo(dir, "exit\n", {"--screen", size}).exitCode, 0);
  const std::string program = ProgramFolder(dir);
  ASSERT_TRUE(std::filesystem::exists(program + "/GadgetPlugins/moonphase.so"));
  ASSERT_TRUE(std::filesystem::exists(program + "/TodayPlugins/ownerinfo.so"));
  std::ofstream(program + "/mivo_userdesktop.dat", std::ios::binary)
      .write("\xFF\x00\x00\x00\x02\x00\x00\x00\xFF\xFF\xFF\xFF", 12);

  std::vector<Gadget> arranged;
  {
    MivoSession s(dir, {"--screen", size});
    ASSERT_TRUE(s.Running());
    Session w(s, scale);
    Json d = w.HoldAndChoose(w.At(120, 150), "Design mode");
    ASSERT_TRUE(d["desktop"]["design"].AsBool());
    // The moon, seen from the south.
    d = w.AddGadget(10, 10, "Mivo plug-in", "      Moon phase");
    const Json moon = d["desktop"]["gadgets"][0];
    EXPECT_EQ(moon["type"].AsInt(), 26);
    d = w.HoldAndChoose(CentreOf(moon["rect"]), "Southern hemisphere");
    EXPECT_EQ(d["desktop"]["gadgets"][0]["text"].AsString(), "First quarter, 50% lit (S)");
    // The countdown to a date and title of the user's.
    d = w.AddGadget(10, 80, "Mivo plug-in", "      Countdown");
    const Json countdown = d["desktop"]["gadgets"][1];
    EXPECT_EQ(countdown["text"].AsString(), "285 days until New Year");
    d = w.HoldAndChoose(CentreOf(countdown["rect"]), "Set date");
    EXPECT_EQ(d["overlay"]["value"].AsString(), "2011-01-01");
    w.Enter("2010-12-24");
    w.HoldAndChoose(CentreOf(countdown["rect"]), "Set title");
    d = w.Enter("Holidays");
    EXPECT_EQ(d["desktop"]["gadgets"][1]["text"].AsString(), "277 days until Holidays");
    // The owner information, shared as "Owner".
    d = w.AddGadget(10, 160, "Today plug-in", "Owner Info");
    const Json today = d["desktop"]["gadgets"][2];
    EXPECT_EQ(today["text"].AsString(), "Plug-in: Owner Info");
    EXPECT_EQ(today["rect"][2].AsInt(), 240 * scale) << "a strip across the page";
    w.HoldAndChoose(CentreOf(today["rect"]), "Share");
    w.Enter("Owner");
    w.Step("shot " + dir + "/design.png");
    d = w.HoldAndChoose(w.At(200, 255), "Exit Design mode");
    ASSERT_FALSE(d["desktop"]["design"].AsBool());
    d = w.Step("wait 2500");
    EXPECT_TRUE(OwnerWindow(d)["visible"].AsBool());
    EXPECT_EQ(OwnerWindow(d)["rect"][1].AsInt(), d["desktop"]["gadgets"][2]["rect"][1].AsInt());
    w.Step("shot " + dir + "/desktop1.png");

    // The second desktop shows the shared owner information.
    w.Step("key RIGHT");
    w.HoldAndChoose(w.At(120, 150), "Design mode");
    d = w.AddGadget(10, 200, "Today plug-in", "Owner");
    const Json viewer = d["desktop"]["gadgets"][3];
    EXPECT_EQ(viewer["desktops"].AsInt(), 2);
    EXPECT_EQ(viewer["text"].AsString(), "Shared gadget :Owner");
    d = w.HoldAndChoose(w.At(200, 100), "Exit Design mode");
    d = w.Step("wait 2500");
    ASSERT_TRUE(OwnerWindow(d)["visible"].AsBool());
    EXPECT_EQ(OwnerWindow(d)["rect"][1].AsInt(), d["desktop"]["gadgets"][3]["rect"][1].AsInt());
    w.Step("shot " + dir + "/desktop2.png");
    arranged = GadgetsOf(d);
    EXPECT_EQ(s.Finish(), 0);
  }
  ASSERT_EQ(arranged.size(), 4u);

  // After a restart everything is back, live and as it was set up.
  MivoSession s(dir, {"--screen", size});
  Session w(s, scale);
  Json d = w.Step("key RIGHT");
  d = w.Step("wait 2500");
  EXPECT_EQ(GadgetsOf(d), arranged);
  EXPECT_TRUE(OwnerWindow(d)["visible"].AsBool());
  EXPECT_EQ(OwnerWindow(d)["rect"][1].AsInt(), arranged[3].rect[1]);
  d = w.Step("key LEFT");
  EXPECT_EQ(OwnerWindow(d)["rect"][1].AsInt(), arranged[2].rect[1]);
  w.Step("shot " + dir + "/restarted.png");
  EXPECT_EQ(s.Finish(), 0);
}

INSTANTIATE_TEST_SUITE_P(Scales, PluginScenario, ::testing::Values(1, 2));

}  // namespace
