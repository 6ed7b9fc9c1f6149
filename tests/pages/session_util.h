// Driving the real program over `--script -` for the content pages'
// scenarios: steps that wait for the slide, rows found by their text,
// overlays answered by their buttons, and polling for what other programs
// change on the device.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/mivo_runner.h"
#include "tests/support/navigate.h"
#include "tests/tools/run_tool.h"

namespace pagestest {

using testing_support::Json;

inline std::string Center(const Json& rect) { return testing_support::CentreOf(rect); }

// A point in the left third of a row, clear of its side button.
inline std::string LeftOf(const Json& rect) {
  return std::to_string((rect[0].AsInt() * 2 + rect[2].AsInt()) / 3) + " " +
         std::to_string((rect[1].AsInt() + rect[3].AsInt()) / 2);
}

inline std::vector<std::string> Rows(const Json& d) {
  std::vector<std::string> out;
  for (const Json& r : d["top"]["rows"].Items()) out.push_back(r["text"].AsString());
  return out;
}

inline constexpr auto& Device = testing_support::RunDeviceIn;

// A registry value of the device as mivo-device prints it; "(missing)" when it has none.
inline std::string RegGet(const std::string& dir, const std::string& key, const std::string& name) {
  auto r = Device(dir, {"reg", "get", key, name});
  while (!r.out.empty() && (r.out.back() == '\n' || r.out.back() == '\r')) r.out.pop_back();
  return r.code == 0 ? r.out : "(missing)";
}

// Writes a value of the given type ("dword", "sz", "binary") with mivo-device.
inline void RegSet(const std::string& dir, const std::string& key, const std::string& name, const std::string& type,
                   const std::string& value) {
  const auto r = Device(dir, {"reg", "set", key, name, type, value});
  ASSERT_EQ(r.code, 0) << r.err;
}

inline const std::string kSettingsPath = "HKCU\\Software\\mivo\\mivo";

class Session {
 public:
  explicit Session(testing_support::MivoSession& s) : m_s(s) {}

  // A command, then time for the slide and the paint.
  Json Step(const std::string& command, int waitMs = 600) {
    m_s.Send(command);
    m_s.Send("wait " + std::to_string(waitMs));
    return m_s.Dump();
  }
  Json Dump() { return m_s.Dump(); }

  // Selects the row with the pad and presses Enter (it may be out of view).
  Json ActivateRow(const std::string& text) {
    for (int guard = 0; guard < 60; ++guard) {
      const Json d = m_s.Dump();
      const Json& rows = d["top"]["rows"];
      int selected = -1, wanted = -1;
      for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i]["selected"].AsBool()) selected = static_cast<int>(i);
        if (wanted < 0 && rows[i]["text"].AsString() == text) wanted = static_cast<int>(i);
      }
      if (wanted < 0) break;
      if (selected == wanted) return Step("key RETURN");
      m_s.Send(selected < wanted ? "key DOWN" : "key UP");
    }
    ADD_FAILURE() << "no row " << text;
    return m_s.Dump();
  }

  // Brings the row into view by dragging the list, then holds it.
  Json HoldRow(const std::string& text) {
    for (int guard = 0; guard < 60; ++guard) {
      const Json d = m_s.Dump();
      const Json& rows = d["top"]["rows"];
      const Json& area = d["top"]["rect"];
      int wanted = -1;
      for (std::size_t i = 0; i < rows.size(); ++i) {
        if (wanted < 0 && rows[i]["text"].AsString() == text) wanted = static_cast<int>(i);
      }
      if (wanted < 0) {
        ADD_FAILURE() << "no row " << text << " in " << testing::PrintToString(Rows(d));
        return d;
      }
      const Json& r = rows[static_cast<std::size_t>(wanted)]["rect"];
      const int middle = (r[1].AsInt() + r[3].AsInt()) / 2;
      const int top = area[1].AsInt() + 45, bottom = area[3].AsInt() - 3;
      if (middle > top && middle < bottom) return Step("hold " + LeftOf(r));
      // A third of the list's height at a time, up or down.
      const int x = (area[0].AsInt() + area[2].AsInt()) / 2, span = (bottom - top) / 3;
      const int from = (top + bottom) / 2, to = middle >= bottom ? from - span : from + span;
      Step("drag " + std::to_string(x) + " " + std::to_string(from) + " " + std::to_string(x) + " " +
               std::to_string(to) + " 400",
           300);
    }
    ADD_FAILURE() << "no row " << text;
    return m_s.Dump();
  }

  // Replaces the open text entry's value (the caret stands at its end).
  void Retype(const std::string& text) {
    const std::size_t old = m_s.Dump()["overlay"]["value"].AsString().size();
    for (std::size_t i = 0; i < old; ++i) m_s.Send("key BACK");
    m_s.Send("char " + text);
    EXPECT_EQ(m_s.Dump()["overlay"]["value"].AsString(), text);
  }

  // Taps button `index` of the open overlay.
  Json Answer(const Json& d, std::size_t index) {
    EXPECT_FALSE(d["overlay"].IsNull());
    if (d["overlay"].IsNull()) return d;
    return Step("tap " + Center(d["overlay"]["buttons"][index]));
  }

  // Dumps (letting a little real and virtual time pass) until the
  // condition holds; the last dump, and a failure after three seconds.
  Json Until(const std::function<bool(const Json&)>& condition, const std::string& what) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    Json d = m_s.Dump();
    while (!condition(d) && std::chrono::steady_clock::now() < end) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      m_s.Send("wait 20");
      d = m_s.Dump();
    }
    EXPECT_TRUE(condition(d)) << what;
    return d;
  }

 private:
  testing_support::MivoSession& m_s;
};

}  // namespace pagestest
