#include "tests/support/navigate.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace testing_support {

namespace {

// Where the frame shows pages, from the dump: the main frame's window.
void FrameArea(const Json& dump, int* top, int* bottom, int* width) {
  *width = static_cast<int>(dump["screen"]["w"].AsInt());
  *top = 0;
  *bottom = static_cast<int>(dump["screen"]["h"].AsInt());
  for (const Json& w : dump["windows"].Items()) {
    if (w["class"].AsString() != "CMainFrame") continue;
    *top = static_cast<int>(w["rect"][1].AsInt());
    *bottom = static_cast<int>(w["rect"][3].AsInt());
    return;
  }
}

}  // namespace

const Json* WindowOf(const Json& dump, const std::string& cls) {
  for (const Json& w : dump["windows"].Items()) {
    if (w["class"].AsString() == cls) return &w;
  }
  return nullptr;
}

std::string CentreOf(const Json& rect) {
  return std::to_string((rect[0].AsInt() + rect[2].AsInt()) / 2) + " " +
         std::to_string((rect[1].AsInt() + rect[3].AsInt()) / 2);
}

bool FindText(const Json& dump, const std::string& text, int rect[4]) {
  for (const char* key : {"rows", "cells"}) {
    for (const Json& e : dump["top"][key].Items()) {
      if (e["text"].AsString() != text) continue;
      for (int i = 0; i < 4; ++i) rect[i] = static_cast<int>(e["rect"][static_cast<std::size_t>(i)].AsInt());
      return true;
    }
  }
  return false;
}

bool ActOnText(MivoSession& s, const std::string& text, const std::string& how, int settleMs) {
  for (int attempt = 0; attempt < 8; ++attempt) {
    const Json d = s.Dump();
    int r[4];
    if (!FindText(d, text, r)) return false;
    int top = 0, bottom = 0, width = 0;
    FrameArea(d, &top, &bottom, &width);
    const int cy = (r[1] + r[3]) / 2;
    // Well inside: clear of the page header above and the frame's edge below.
    const int margin = (bottom - top) / 6;
    if (cy > top + margin && cy < bottom - margin / 2) {
      // A little left of the centre, clear of a row's side button.
      s.Send(how + " " + std::to_string((r[0] * 2 + r[2]) / 3) + " " + std::to_string(cy));
      s.Send("wait " + std::to_string(settleMs));
      return true;
    }
    // Half a screen at a time towards it, then let the list settle.
    const int x = width / 2, from = top + (bottom - top) * 3 / 4, to = top + (bottom - top) / 4;
    if (cy >= bottom - margin / 2) {
      s.Send("drag " + std::to_string(x) + " " + std::to_string(from) + " " + std::to_string(x) + " " +
             std::to_string(to) + " 400");
    } else {
      s.Send("drag " + std::to_string(x) + " " + std::to_string(to) + " " + std::to_string(x) + " " +
             std::to_string(from) + " 400");
    }
    s.Send("wait 1500");
  }
  return false;
}

Json Walk::Step(const std::string& command) {
  m_session.Send(command);
  return m_session.Dump();
}

Json Walk::TapRow(Json d, const std::string& text) {
  for (int tries = 0; tries < 40; ++tries) {
    const long long bottom = d["top"]["rect"][3].AsInt();
    for (const Json& row : d["top"]["rows"].Items()) {
      if (row["text"].AsString() != text) continue;
      const Json& r = row["rect"];
      if (r[1].AsInt() + 10 >= bottom) break;
      const long long y = (r[1].AsInt() + std::min(r[3].AsInt(), bottom)) / 2;
      return Step("tap " + std::to_string((r[0].AsInt() * 2 + r[2].AsInt()) / 3) + " " + std::to_string(y));
    }
    d = Step("key DOWN");
  }
  ADD_FAILURE() << "no row " << text;
  return d;
}

Json Walk::HoldAndChoose(const std::string& point, const std::string& row) {
  return TapRow(Step("hold " + point), row);
}

}  // namespace testing_support
