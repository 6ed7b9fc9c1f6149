// The state dump: one JSON line that describes what the screen shows, the
// program's accessibility view (the scenario command `dump` prints it).
//
//   {"screen": {...}, "softkeys": [...], "pages": [...], "top": {...},
//    "overlay": {...} | null, "desktop": {...} | null, "windows": [...]}
//
// Every key is always present. The window system fills "screen" and
// "windows"; the other keys come from section providers that the layers
// above register, e.g. the page stack:
//
//   window::AddDumpSection("pages", [](window::JsonWriter& j) {
//     j.BeginArray();
//     for (auto* page : stack) { j.BeginObject(); j.Key("class"); j.String(...); ... j.EndObject(); }
//     j.EndArray();
//     return true;
//   });
//
// A provider writes exactly one JSON value and returns true, or writes
// nothing and returns false when it has nothing to say now. Several providers
// may serve one key: the most recently added that answers wins (a skinned
// overlay of the system is asked before the platform's plain message box).
// Keys without an answer are null, or an empty list for "softkeys", "pages"
// and "windows". Keys beyond the standard ones follow "windows" in the order
// they were first registered (the input panel adds "inputpanel").
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace window {

// A small streaming JSON writer: commas and escaping are its business.
class JsonWriter {
 public:
  void BeginObject();
  void EndObject();
  void BeginArray();
  void EndArray();
  void Key(std::string_view key);
  void String(std::u16string_view value);
  void String(std::string_view utf8);
  void Int(long long value);
  void Bool(bool value);
  void Null();
  // [l, t, r, b]
  void Rect(int left, int top, int right, int bottom);
  // A value that is already JSON text.
  void Raw(std::string_view json);

  const std::string& Text() const { return m_out; }

 private:
  void Separate();
  void Escaped(std::string_view utf8);
  std::string m_out;
  bool m_needComma = false;  // a value was written at this level
};

using DumpSection = std::function<bool(JsonWriter&)>;
using DumpSectionId = std::uint64_t;
DumpSectionId AddDumpSection(const std::string& key, DumpSection provider);
void RemoveDumpSection(DumpSectionId id);

// "screen": {"w", "h", "mode", "portrait", "workarea": [l, t, r, b],
// "shows": "program" | "shell"}: "shell" when no program's window is in front
// (minimised), so the shell's own background and task bar are what shows.
//
// The screen mode (0 standard, 1 full screen, 2 full screen with menu bar)
// that "screen" reports; set by the main frame when it changes modes.
void SetDumpScreenMode(int mode);

// The whole line, without a line break.
std::string DumpState();

}  // namespace window
