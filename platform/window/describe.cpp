#include "platform/window/describe.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "platform/win32/text.h"
#include "platform/window/metrics.h"
#include "platform/window/window.h"
#include "platform/window/window_impl.h"

namespace window {

void JsonWriter::Separate() {
  if (m_needComma) m_out += ", ";
  m_needComma = true;
}

void JsonWriter::BeginObject() {
  Separate();
  m_out += '{';
  m_needComma = false;
}

void JsonWriter::EndObject() {
  m_out += '}';
  m_needComma = true;
}

void JsonWriter::BeginArray() {
  Separate();
  m_out += '[';
  m_needComma = false;
}

void JsonWriter::EndArray() {
  m_out += ']';
  m_needComma = true;
}

void JsonWriter::Key(std::string_view key) {
  Separate();
  Escaped(key);
  m_out += ": ";
  m_needComma = false;
}

void JsonWriter::String(std::u16string_view value) { String(text::ToUtf8(value)); }

void JsonWriter::String(std::string_view utf8) {
  Separate();
  Escaped(utf8);
}

void JsonWriter::Escaped(std::string_view utf8) {
  m_out += '"';
  for (unsigned char c : utf8) {
    switch (c) {
      case '"':
        m_out += "\\\"";
        break;
      case '\\':
        m_out += "\\\\";
        break;
      case '\n':
        m_out += "\\n";
        break;
      case '\r':
        m_out += "\\r";
        break;
      case '\t':
        m_out += "\\t";
        break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          m_out += buf;
        } else {
          m_out += static_cast<char>(c);
        }
    }
  }
  m_out += '"';
}

void JsonWriter::Int(long long value) {
  Separate();
  m_out += std::to_string(value);
}

void JsonWriter::Bool(bool value) {
  Separate();
  m_out += value ? "true" : "false";
}

void JsonWriter::Null() {
  Separate();
  m_out += "null";
}

void JsonWriter::Raw(std::string_view json) {
  Separate();
  m_out += json;
}

void JsonWriter::Rect(int left, int top, int right, int bottom) {
  BeginArray();
  Int(left);
  Int(top);
  Int(right);
  Int(bottom);
  EndArray();
}

namespace {

struct Provider {
  DumpSectionId id;
  std::string key;
  DumpSection fn;
};

struct DumpState_ {
  std::vector<Provider> providers;
  DumpSectionId nextId = 1;
  int screenMode = 0;
};

DumpState_& D() {
  static DumpState_ d;
  return d;
}

// Asks the providers of a key, newest first; true when one answered.
bool Ask(const std::string& key, JsonWriter& j) {
  auto& list = D().providers;
  for (auto it = list.rbegin(); it != list.rend(); ++it) {
    if (it->key != key || !it->fn) continue;
    JsonWriter probe;
    if (it->fn(probe)) {
      j.Raw(probe.Text());
      return true;
    }
  }
  return false;
}

void DefaultScreen(JsonWriter& j) {
  const SIZE s = GetScreenSize();
  j.BeginObject();
  j.Key("w");
  j.Int(s.cx);
  j.Key("h");
  j.Int(s.cy);
  j.Key("mode");
  j.Int(D().screenMode);
  j.Key("portrait");
  j.Bool(s.cy >= s.cx);
  const RECT work = GetWorkArea();
  j.Key("workarea");
  j.Rect(work.left, work.top, work.right, work.bottom);
  // A program's window, or only the shell's own (a program minimised).
  j.Key("shows");
  j.String(ProgramWindowVisible() ? "program" : "shell");
  j.EndObject();
}

void DefaultWindows(JsonWriter& j) {
  j.BeginArray();
  ForEachWindow([&](HWND h, int) {
    detail::Wnd* w = detail::LookupQuiet(h);
    if (!w) return;
    const RECT r = detail::ScreenRect(w);
    j.BeginObject();
    j.Key("class");
    j.String(w->cls ? w->cls->name : u"");
    j.Key("rect");
    j.Rect(r.left, r.top, r.right, r.bottom);
    j.Key("visible");
    j.Bool(detail::IsVisibleChain(w));
    j.Key("text");
    // Asked of the window: controls keep their text themselves.
    const int length = GetWindowTextLengthW(h);
    std::u16string t(static_cast<std::size_t>(std::max(length, 0)) + 1, u'\0');
    const int got = GetWindowTextW(h, t.data(), length + 1);
    t.resize(static_cast<std::size_t>(std::max(got, 0)));
    j.String(t);
    j.EndObject();
  });
  j.EndArray();
}

}  // namespace

DumpSectionId AddDumpSection(const std::string& key, DumpSection provider) {
  const DumpSectionId id = D().nextId++;
  D().providers.push_back(Provider{id, key, std::move(provider)});
  return id;
}

void RemoveDumpSection(DumpSectionId id) {
  auto& list = D().providers;
  for (auto it = list.begin(); it != list.end(); ++it) {
    if (it->id == id) {
      list.erase(it);
      return;
    }
  }
}

void SetDumpScreenMode(int mode) { D().screenMode = mode; }

std::string DumpState() {
  JsonWriter j;
  j.BeginObject();
  j.Key("screen");
  if (!Ask("screen", j)) DefaultScreen(j);
  for (const char* key : {"softkeys", "pages"}) {
    j.Key(key);
    if (!Ask(key, j)) {
      j.BeginArray();
      j.EndArray();
    }
  }
  for (const char* key : {"top", "overlay", "desktop"}) {
    j.Key(key);
    if (!Ask(key, j)) j.Null();
  }
  j.Key("windows");
  if (!Ask("windows", j)) DefaultWindows(j);
  // Keys of the layers above beyond the standard ones (e.g. "inputpanel"),
  // in the order they were first registered; null while they have nothing.
  std::vector<std::string> extra;
  for (const Provider& p : D().providers) {
    static const char* const kStandard[] = {"screen", "softkeys", "pages", "top", "overlay", "desktop", "windows"};
    bool standard = false;
    for (const char* k : kStandard) standard = standard || p.key == k;
    if (!standard && std::find(extra.begin(), extra.end(), p.key) == extra.end()) extra.push_back(p.key);
  }
  for (const std::string& key : extra) {
    j.Key(key);
    if (!Ask(key, j)) j.Null();
  }
  j.EndObject();
  return j.Text();
}

}  // namespace window
