// Moving through the real program's pages by what they show: a row or cell
// of the top page is found by its text in the `dump` and tapped or held,
// the list dragged first until it is well inside the screen.
#pragma once

#include <string>

#include "tests/support/json.h"
#include "tests/support/mivo_runner.h"

namespace testing_support {

// "X Y" of the middle of a dumped rectangle, for a tap or hold command.
std::string CentreOf(const Json& rect);

// The top page's row or cell with this text, [l, t, r, b] in `rect`; false
// when the page shows none.
bool FindText(const Json& dump, const std::string& text, int rect[4]);

// Taps (`how` "tap") or holds ("hold") the row or cell with this text, then
// waits `settleMs` of virtual time. False (and nothing done) when the top
// page has no such entry.
bool ActOnText(MivoSession& s, const std::string& text, const std::string& how = "tap", int settleMs = 800);

// The first window of this class in a dump; null when there is none.
const Json* WindowOf(const Json& dump, const std::string& cls);

// Steps of an interactive session, each command followed by the dump it leads to.
class Walk {
 public:
  explicit Walk(MivoSession& s) : m_session(s) {}
  Json Step(const std::string& command);
  // Taps the row of that text on the top page, in its part above the soft
  // keys; a row below them is first brought up with the Down key. The test
  // fails when the page has no such row.
  Json TapRow(Json first, const std::string& text);
  // A tap-and-hold at a point ("X Y"), then the row of the menu it opened.
  Json HoldAndChoose(const std::string& point, const std::string& row);

 protected:
  MivoSession& m_session;  // the program walked through
};

}  // namespace testing_support
