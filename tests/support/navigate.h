// Moving through the real program's pages by what they show: a row or cell
// of the top page is found by its text in the `dump` and tapped or held,
// the list dragged first until it is well inside the screen.
#pragma once

#include <string>

#include "tests/support/json.h"
#include "tests/support/mivo_runner.h"

namespace testing_support {

// The top page's row or cell with this text, [l, t, r, b] in `rect`; false
// when the page shows none.
bool FindText(const Json& dump, const std::string& text, int rect[4]);

// Taps (`how` "tap") or holds ("hold") the row or cell with this text, then
// waits `settleMs` of virtual time. False (and nothing done) when the top
// page has no such entry.
bool ActOnText(MivoSession& s, const std::string& text, const std::string& how = "tap", int settleMs = 800);

}  // namespace testing_support
