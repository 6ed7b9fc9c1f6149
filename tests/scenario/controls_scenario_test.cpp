// The standard controls and the phone shell in the real program, as a user acts on them.
#include <gtest/gtest.h>

#include <unistd.h>

#include "platform/display/png.h"
#include "tests/support/mivo_runner.h"
#include "tests/tools/run_tool.h"

using testing_support::FreshDir;
using testing_support::Json;
using testing_support::MivoSession;
using testing_support::RunMivo;

namespace {

struct Box {
  int l = 0, t = 0, r = 0, b = 0;
  int cx() const { return (l + r) / 2; }
  int cy() const { return (t + b) / 2; }
  std::string Tap() const { return "tap " + std::to_string(cx()) + " " + std::to_string(cy()); }
};

Box ToBox(const Json& rect) { return Box{int(rect[0].AsInt()), int(rect[1].AsInt()), int(rect[2].AsInt()), int(rect[3].AsInt())}; }

// The windows of a class, in the dump's order.
std::vector<const Json*> Windows(const Json& dump, const std::string& cls) {
  std::vector<const Json*> out;
  for (const Json& w : dump["windows"].Items()) {
    if (w["class"].AsString() == cls) out.push_back(&w);
  }
  return out;
}

// The name field is the lower of the two edit controls.
const Json* NameField(const Json& dump) {
  const auto edits = Windows(dump, "EDIT");
  const Json* best = nullptr;
  for (const Json* e : edits) {
    const Box b = ToBox((*e)["rect"]);
    if (!best || b.b - b.t < ToBox((*best)["rect"]).b - ToBox((*best)["rect"]).t) best = e;
  }
  return best;
}
const Json* NotesField(const Json& dump) {
  for (const Json* e : Windows(dump, "EDIT")) {
    if (e != NameField(dump)) return e;
  }
  return nullptr;
}

Box MenuBar(const Json& dump) {
  const auto bars = Windows(dump, "menu_worker");
  return bars.empty() ? Box{} : ToBox((*bars[0])["rect"]);
}

std::uint32_t Rgb(const display::Image& img, int x, int y) { return img.At(x, y) & 0xFFFFFFu; }

// The UTF-8 characters of a text, one string each.
std::vector<std::string> Utf8Chars(const std::string& s) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    const std::size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    out.push_back(s.substr(i, n));
    i += n;
  }
  return out;
}

// Taps the input panel's key with this text (or name); false when the
// current layer has none. With `tap` false it only looks.
bool TapKey(MivoSession& s, const std::string& key, bool tap = true) {
  const Json d = s.Dump();
  for (const Json& k : d["inputpanel"]["keys"].Items()) {
    if (k["text"].AsString() == key) {
      if (tap) s.Send(ToBox(k["rect"]).Tap());
      return true;
    }
  }
  return false;
}

// Types one character with the input panel as a user would: look for it on
// this layer, else on the others; capitals through shift.
bool TypeOnPanel(MivoSession& s, const std::string& ch, const std::string& lower) {
  for (const char* layer : {"", "abc", "123", "áé", "more"}) {
    if (*layer) TapKey(s, layer);
    if (TapKey(s, ch)) return true;
    if (lower != ch && TapKey(s, lower, false)) return TapKey(s, "shift") && TapKey(s, ch);
  }
  return false;
}

}  // namespace

TEST(ControlsScenario, TypedTextTakesBackspacesAndATapAndHoldOffersSelectAllCopyAndPaste) {
  const std::string dir = FreshDir("controls_edit_menu");
  MivoSession s(dir);
  Json d = s.Dump();
  ASSERT_NE(NameField(d), nullptr);
  const Box name = ToBox((*NameField(d))["rect"]);
  const Box notes = ToBox((*NotesField(d))["rect"]);
  s.Send(name.Tap());
  s.Send("char Žluťoučký kůň");
  for (int i = 0; i < 3; ++i) s.Send("key BACK");
  EXPECT_EQ((*NameField(s.Dump()))["text"].AsString(), "Žluťoučký ");
  s.Send("char hello world");
  const auto choose = [&](const Box& field, const std::string& entry) {
    s.Send("hold " + std::to_string(field.cx()) + " " + std::to_string(field.cy()));
    const Json menu = s.Dump();
    if (menu["overlay"]["kind"].AsString() != "menu") return false;
    const std::string lines = menu["overlay"]["text"].AsString() + "\n";
    std::size_t row = 0;
    for (std::size_t at = 0, next; (next = lines.find('\n', at)) != std::string::npos; at = next + 1, ++row) {
      if (lines.substr(at, next - at) == entry) {
        s.Send(ToBox(menu["overlay"]["buttons"][row]).Tap());
        return true;
      }
    }
    return false;
  };

  // Nothing is selected yet: Copy is shown but cannot be chosen, and a tap
  // beside the menu closes it and reaches nothing under it.
  ASSERT_TRUE(choose(name, "Copy"));
  ASSERT_EQ(s.Dump()["overlay"]["kind"].AsString(), "menu");
  s.Send("tap " + std::to_string(notes.l + 10) + " " + std::to_string(notes.cy()));  // left of the menu
  d = s.Dump();
  EXPECT_TRUE(d["overlay"].IsNull());
  EXPECT_EQ((*NameField(d))["text"].AsString(), "Žluťoučký hello world");

  ASSERT_TRUE(choose(name, "Select all"));
  ASSERT_TRUE(choose(name, "Copy"));
  ASSERT_TRUE(choose(notes, "Paste"));
  d = s.Dump();
  EXPECT_TRUE(d["overlay"].IsNull());
  EXPECT_EQ((*NotesField(d))["text"].AsString(), "Žluťoučký hello world");
  EXPECT_EQ(s.Finish(), 0);
}

TEST(ControlsScenario, TheSameTextTypedWithTapsOnTheInputPanelGivesTheSameResult) {
  const std::string dir = FreshDir("controls_panel_typing");
  MivoSession s(dir);
  Json d = s.Dump();
  ASSERT_NE(NameField(d), nullptr);
  EXPECT_TRUE(d["inputpanel"].IsNull());
  s.Send(ToBox((*NameField(d))["rect"]).Tap());
  s.Send(MenuBar(d).Tap());  // the input panel's button in the middle of the menu bar
  d = s.Dump();
  ASSERT_FALSE(d["inputpanel"].IsNull());
  // The work area ends where the panel begins.
  EXPECT_EQ(d["screen"]["workarea"][3].AsInt(), d["inputpanel"]["rect"][1].AsInt());
  const std::string text = "Žluťoučký kůň";
  const std::string lower = "žluťoučký kůň";
  const auto chars = Utf8Chars(text), lowers = Utf8Chars(lower);
  for (std::size_t i = 0; i < chars.size(); ++i) {
    const std::string key = chars[i] == " " ? "space" : chars[i];
    ASSERT_TRUE(TypeOnPanel(s, key, lowers[i] == " " ? "space" : lowers[i])) << "no key for " << chars[i];
  }
  d = s.Dump();
  EXPECT_EQ((*NameField(d))["text"].AsString(), text);
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(TapKey(s, "backspace"));
  d = s.Dump();
  EXPECT_EQ((*NameField(d))["text"].AsString(), "Žluťoučký ");
  // Shift twice locks capitals until shift again.
  TapKey(s, "abc");
  ASSERT_TRUE(TapKey(s, "shift"));
  ASSERT_TRUE(TapKey(s, "shift"));
  EXPECT_TRUE(s.Dump()["inputpanel"]["capslock"].AsBool());
  ASSERT_TRUE(TapKey(s, "A"));
  ASSERT_TRUE(TapKey(s, "B"));
  ASSERT_TRUE(TapKey(s, "shift"));
  ASSERT_TRUE(TapKey(s, "c"));
  d = s.Dump();
  EXPECT_EQ((*NameField(d))["text"].AsString(), "Žluťoučký ABc");
  EXPECT_FALSE(d["inputpanel"]["capslock"].AsBool());
  // The button hides the panel again.
  s.Send(MenuBar(d).Tap());
  d = s.Dump();
  EXPECT_TRUE(d["inputpanel"].IsNull());
  EXPECT_EQ(d["screen"]["workarea"][3].AsInt(), 320);
  EXPECT_EQ(s.Finish(), 0);
}

TEST(ControlsScenario, TheSoftKeyLabelsShowOnTheMenuBarAndTheLeftOneSendsItsCommand) {
  const std::string dir = FreshDir("controls_softkeys");
  // The script ends with the question box open: the program still ends cleanly.
  const auto r = RunMivo(dir, "dump\nshot bar.png\ntap 20 310\ndump\nkey RETURN\ndump\nkey F2\ndump\n");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  ASSERT_EQ(r.dumps.size(), 4u);
  const Json& before = r.dumps[0];
  ASSERT_EQ(before["softkeys"].size(), 2u);
  EXPECT_EQ(before["softkeys"][0].AsString(), "Message");
  EXPECT_EQ(before["softkeys"][1].AsString(), "Question");
  // The labels are drawn: white text on the bar's dark blue, left and right.
  display::Image img;
  std::string error;
  ASSERT_TRUE(display::ReadPng(dir + "/bar.png", &img, &error)) << error;
  const Box bar = MenuBar(before);
  EXPECT_EQ(bar.t, 320 - 26);
  auto white = [&](int l, int r_) {
    int n = 0;
    for (int y = bar.t; y < bar.b; ++y) {
      for (int x = l; x < r_; ++x) n += Rgb(img, x, y) == 0xFFFFFFu;
    }
    return n;
  };
  EXPECT_GT(white(0, 100), 20);
  EXPECT_GT(white(140, 240), 20);
  const std::uint32_t corner = Rgb(img, 1, bar.t + 1);
  EXPECT_LT(corner & 0xFF, 0xB0u);  // a dark bar, not white
  EXPECT_GT(corner & 0xFF, (corner >> 16) & 0xFF);  // blue above red
  // The left soft key's command (32771) reached the frame: it opened its box.
  const Json& open = r.dumps[1];
  ASSERT_FALSE(open["overlay"].IsNull());
  EXPECT_EQ(open["overlay"]["kind"].AsString(), "message");
  EXPECT_EQ(open["overlay"]["title"].AsString(), "Message");
  EXPECT_EQ(open["overlay"]["text"].AsString(), "Hello from mivo.");
  EXPECT_EQ(open["overlay"]["buttons"].size(), 1u);
  EXPECT_TRUE(r.dumps[2]["overlay"].IsNull());  // Enter answered it
  EXPECT_EQ(r.dumps[3]["overlay"]["kind"].AsString(), "question");
}

TEST(ControlsScenario, TheNotesFieldScrollsToKeepTheCaretInView) {
  const std::string dir = FreshDir("controls_notes");
  MivoSession s(dir);
  Json d = s.Dump();
  const Box notes = ToBox((*NotesField(d))["rect"]);
  s.Send(notes.Tap());
  s.Send("char one\\ntwo\\nthree\\nfour\\nfive\\nsix\\nseven\\neight");
  s.Send("shot notes.png");
  d = s.Dump();
  EXPECT_EQ((*NotesField(d))["text"].AsString(), "one\r\ntwo\r\nthree\r\nfour\r\nfive\r\nsix\r\nseven\r\neight");
  display::Image img;
  std::string error;
  ASSERT_TRUE(display::ReadPng(dir + "/notes.png", &img, &error)) << error;
  // The scroll bar's thumb sits at the bottom of its track: the last line is shown.
  const int x = notes.r - 8;
  EXPECT_EQ(Rgb(img, x, notes.b - 4), 0x9A9A9Au);
  EXPECT_EQ(Rgb(img, x, notes.t + 3), 0xE6E6E6u);
  // Going to the top brings the thumb up.
  for (int i = 0; i < 10; ++i) s.Send("key UP");
  s.Send("shot top.png");
  s.Dump();
  ASSERT_TRUE(display::ReadPng(dir + "/top.png", &img, &error)) << error;
  EXPECT_EQ(Rgb(img, x, notes.t + 3), 0x9A9A9Au);
  EXPECT_EQ(s.Finish(), 0);
}

// Screenshots of every control at both sizes, kept in the build folder to be
// looked at; each is checked for the shell's bars where they belong.
TEST(ControlsScenario, ScreenshotsOfTheControlsAtBothScreenSizes) {
  for (const char* size : {"240x320", "480x640"}) {
    const int k = std::string(size) == "480x640" ? 2 : 1;
    const std::string dir = FreshDir(std::string("controls_shots_") + size);
    auto at = [k](int x, int y) { return std::to_string(x * k) + " " + std::to_string(y * k); };
    const std::string script = "tap " + at(50, 42) + "\nchar Žluťoučký kůň\n" + "tap " + at(50, 80) +
                               "\nchar Notes wrap at the edge of the field and scroll down.\n" +
                               "shot edit-and-bars.png\n" + "tap " + at(120, 307) + "\nshot input-panel.png\n" +
                               "tap " + at(120, 307) + "\nkey F1\nshot message-box.png\nkey RETURN\nkey F2\n" +
                               "shot question-box.png\nkey RETURN\nrotate\nshot landscape.png\n";
    const auto r = RunMivo(dir, script, {"--screen", size});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (const char* shot : {"edit-and-bars", "input-panel", "message-box", "question-box", "landscape"}) {
      display::Image img;
      std::string error;
      ASSERT_TRUE(display::ReadPng(dir + "/" + shot + ".png", &img, &error)) << error;
      // The task bar's gradient starts at the top, dark blue.
      const std::uint32_t top = Rgb(img, img.width / 2, 1);
      EXPECT_GT(top & 0xFF, (top >> 16) & 0xFF) << shot << " " << size;
      if (std::string(shot) == "input-panel") {
        // The panel's keys are light above the menu bar.
        EXPECT_GT(Rgb(img, 4 * k, img.height - 26 * k - 90 * k) & 0xFF, 0xD0u) << size;
      }
    }
  }
}

TEST(ControlsScenario, TheTaskBarsBatteryMarkFollowsTheDevice) {
  const std::string dir = FreshDir("controls_battery");
  MivoSession s(dir);
  s.Dump();  // the device exists now
  auto greenInMark = [&](const std::string& shot) {
    display::Image img;
    std::string error;
    if (!display::ReadPng(dir + "/" + shot, &img, &error)) return -1;
    int n = 0;
    for (int y = 0; y < 26; ++y) {
      for (int x = 200; x < 240; ++x) n += Rgb(img, x, y) == 0x40D040u;
    }
    return n;
  };
  ASSERT_EQ(testing_support::RunDeviceIn(dir, {"set", "battery", "60", "--no-ac"}).code, 0);
  s.Send("wait 3000");
  s.Send("shot before.png");
  s.Dump();
  EXPECT_EQ(greenInMark("before.png"), 0);
  // Plugged in while mivo runs: the mark turns green without a restart.
  ASSERT_EQ(testing_support::RunDeviceIn(dir, {"set", "battery", "80", "--ac"}).code, 0);
  // The change comes from another process on its own time: look a bounded
  // number of times.
  int green = 0;
  for (int attempt = 0; attempt < 100 && green <= 20; ++attempt) {
    usleep(20000);
    s.Send("shot after.png");
    s.Dump();
    green = greenInMark("after.png");
  }
  EXPECT_GT(green, 20);
  EXPECT_EQ(s.Finish(), 0);
}
