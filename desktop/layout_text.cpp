#include "desktop/layout_text.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <vector>

#include "actions/action_kinds.h"
#include "desktop/gadget.h"
#include "desktop/gadget_catalogue.h"
#include "desktop/gadget_container.h"
#include "desktop/gadget_properties.h"
#include "platform/win32/text.h"

namespace layout_text {

namespace {

// ---- Words and values -----------------------------------------------------------------------

// One token of a line: a bare word or key=value.
struct Token {
  std::string key;    // empty for a bare word
  std::string value;  // the word itself, or the value
};

// Splits a line into tokens; false (with *error) for an unclosed quote.
bool Tokenize(std::string_view line, std::vector<Token>* tokens, std::string* error) {
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    if (i >= line.size()) break;
    Token token;
    std::string current;
    bool haveKey = false;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
      const char c = line[i];
      if (c == '=' && !haveKey) {
        token.key = current;
        current.clear();
        haveKey = true;
        ++i;
        continue;
      }
      if (c == '"') {
        ++i;
        for (;;) {
          if (i >= line.size()) {
            *error = "a quote is not closed";
            return false;
          }
          if (line[i] == '"') {
            if (i + 1 < line.size() && line[i + 1] == '"') {
              current += '"';
              i += 2;
              continue;
            }
            ++i;
            break;
          }
          current += line[i++];
        }
        continue;
      }
      current += c;
      ++i;
    }
    token.value = current;
    tokens->push_back(std::move(token));
  }
  return true;
}

// A value as it is written: quoted when it has blanks, quotes or nothing.
std::string Quote(std::string_view value) {
  const bool plain = !value.empty() && value.find_first_of(" \t\"=#") == std::string_view::npos;
  if (plain) return std::string(value);
  std::string out = "\"";
  for (char c : value) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

bool ParseInt(const std::string& s, std::int64_t* value) {
  if (s.empty()) return false;
  char* end = nullptr;
  const bool hex = s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X');
  *value = hex ? static_cast<std::int64_t>(std::strtoull(s.c_str() + 2, &end, 16)) : std::strtoll(s.c_str(), &end, 10);
  return end && *end == '\0';
}

bool ParseFlag(const std::string& s, bool* value) {
  if (s == "yes" || s == "on" || s == "true" || s == "1") {
    *value = true;
    return true;
  }
  if (s == "no" || s == "off" || s == "false" || s == "0") {
    *value = false;
    return true;
  }
  return false;
}

bool ParseColorValue(const std::string& s, COLORREF* color) {
  if (s == "theme") {
    *color = 0xFFFFFFFF;
    return true;
  }
  if (s.size() == 7 && s[0] == '#') {
    char* end = nullptr;
    const unsigned long rgb = std::strtoul(s.c_str() + 1, &end, 16);
    if (!end || *end) return false;
    *color = RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    return true;
  }
  std::int64_t raw = 0;
  if (!ParseInt(s, &raw)) return false;
  *color = static_cast<COLORREF>(raw);
  return true;
}

std::string ColorValue(COLORREF color) {
  if (color == 0xFFFFFFFF) return "theme";
  char hex[16];
  // A value with bits above the colour is kept as it is.
  if (color & 0xFF000000) {
    std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(color));
  } else {
    std::snprintf(hex, sizeof hex, "#%02X%02X%02X", GetRValue(color), GetGValue(color), GetBValue(color));
  }
  return hex;
}

// ---- Actions ----------------------------------------------------------------------------------

// The words of an action's text: the kind, then its arguments; a text
// argument is the rest of the value.
std::unique_ptr<mivoAction> ParseAction(mivoCore* core, const std::string& value, std::string* error) {
  const std::size_t blank = value.find(' ');
  const std::string kind = value.substr(0, blank);
  const std::string rest = blank == std::string::npos ? std::string() : value.substr(blank + 1);
  const std::u16string text = text::FromUtf8(rest);
  std::vector<std::int64_t> numbers;
  if (kind == "page" || kind == "controlpanel" || kind == "office" || kind == "contact") {
    std::size_t at = 0;
    while (at < rest.size()) {
      const std::size_t end = rest.find(' ', at);
      const std::string word = rest.substr(at, end == std::string::npos ? std::string::npos : end - at);
      if (!word.empty()) {
        std::int64_t n = 0;
        if (!ParseInt(word, &n)) {
          *error = "'" + word + "' is no number in the action \"" + value + "\"";
          return nullptr;
        }
        numbers.push_back(n);
      }
      if (end == std::string::npos) break;
      at = end + 1;
    }
  }
  auto number = [&](std::size_t i, int fallback) {
    return i < numbers.size() ? static_cast<int>(numbers[i]) : fallback;
  };
  if (kind == "call" && !text.empty()) return std::make_unique<mivoActionMakeCall>(core, text);
  if (kind == "sms") return std::make_unique<mivoActionWriteSMS>(core, text);
  if (kind == "email" && !text.empty()) return std::make_unique<mivoActionWriteEmail>(core, text);
  if (kind == "file" && !text.empty()) return std::make_unique<mivoActionExecuteFile>(core, text);
  if (kind == "submenu" && !text.empty()) return std::make_unique<mivoActionSubMenu>(core, text);
  if (kind == "tutorial" && rest.empty()) return std::make_unique<mivoActionHelpTutorial>(core);
  if (kind == "page" && !numbers.empty()) {
    return std::make_unique<mivoActionShowPage>(core, number(0, 0), number(1, 0), number(2, 0));
  }
  if (kind == "controlpanel" && !numbers.empty()) {
    return std::make_unique<mivoActionControlPanel>(core, number(0, -1), number(1, -1));
  }
  if (kind == "office" && !numbers.empty()) return std::make_unique<mivoActionOffice>(core, number(0, 0), number(1, 0));
  if (kind == "contact" && numbers.size() == 1) {
    return std::make_unique<mivoActionContact>(core, static_cast<std::uint32_t>(numbers[0]));
  }
  *error = "\"" + value +
           "\" is no action (call, sms, email, file, page, controlpanel, office, contact, submenu, "
           "tutorial)";
  return nullptr;
}

std::string ActionValue(mivoAction& action) {
  auto words = [](std::initializer_list<long long> numbers) {
    std::string s;
    for (long long n : numbers) s += " " + std::to_string(n);
    return s;
  };
  switch (action.TypeId()) {
    case kActionMakeCall: return "call " + text::ToUtf8(static_cast<mivoActionMakeCall&>(action).Number());
    case kActionControlPanel: {
      auto& a = static_cast<mivoActionControlPanel&>(action);
      return "controlpanel" + words({a.AppletIndex(), a.SecondNumber()});
    }
    case kActionExecuteFile: return "file " + text::ToUtf8(static_cast<mivoActionExecuteFile&>(action).Path());
    case kActionWriteSMS: {
      const std::u16string& number = static_cast<mivoActionWriteSMS&>(action).Number();
      return number.empty() ? std::string("sms") : "sms " + text::ToUtf8(number);
    }
    case kActionOffice: {
      auto& a = static_cast<mivoActionOffice&>(action);
      return "office" + words({a.Kind(), a.CalendarView()});
    }
    case kActionWriteEmail: return "email " + text::ToUtf8(static_cast<mivoActionWriteEmail&>(action).Address());
    case kActionShowPage: {
      auto& a = static_cast<mivoActionShowPage&>(action);
      return "page" + words({a.PageIndex(), a.PageParam(), a.PageExtra()});
    }
    case kActionContact:
      return "contact" + words({static_cast<long long>(static_cast<mivoActionContact&>(action).Oid())});
    case kActionSubMenu: return "submenu " + text::ToUtf8(static_cast<mivoActionSubMenu&>(action).Title());
    default: return "tutorial";
  }
}

// ---- The two visitors -------------------------------------------------------------------------------

// Writes each field as key=value.
class Writer : public mivoGadgetProperties {
 public:
  void Int(const char* name, std::int32_t& value) override { Add(name, std::to_string(value)); }
  void Flag(const char* name, bool& value) override { Add(name, value ? "yes" : "no"); }
  void Color(const char* name, COLORREF& value) override { Add(name, ColorValue(value)); }
  void Text(const char* name, std::u16string& value) override { Add(name, text::ToUtf8(value)); }
  void Choice(const char* name, std::int32_t& value, std::initializer_list<const char*> names) override {
    if (value >= 0 && static_cast<std::size_t>(value) < names.size()) {
      Add(name, names.begin()[value]);
    } else {
      Add(name, std::to_string(value));
    }
  }
  void Action(const char* name, mivoHeldAction& action) override {
    if (action) Add(name, ActionValue(*action));
  }
  const std::string& Line() const { return m_line; }

 private:
  void Add(const char* name, const std::string& value) { m_line += std::string(" ") + name + "=" + Quote(value); }
  std::string m_line;
};

// Sets the fields the line names.
class Reader : public mivoGadgetProperties {
 public:
  Reader(mivoCore* core, std::map<std::string, std::string> values) : m_pCore(core), m_values(std::move(values)) {}

  void Int(const char* name, std::int32_t& value) override {
    const std::string* s = Take(name);
    std::int64_t n = 0;
    if (!s) return;
    if (!ParseInt(*s, &n)) return Fail(name, "a number");
    value = static_cast<std::int32_t>(n);
  }
  void Flag(const char* name, bool& value) override {
    const std::string* s = Take(name);
    if (s && !ParseFlag(*s, &value)) Fail(name, "yes or no");
  }
  void Color(const char* name, COLORREF& value) override {
    const std::string* s = Take(name);
    if (s && !ParseColorValue(*s, &value)) Fail(name, "#RRGGBB or theme");
  }
  void Text(const char* name, std::u16string& value) override {
    if (const std::string* s = Take(name)) value = text::FromUtf8(*s);
  }
  void Choice(const char* name, std::int32_t& value, std::initializer_list<const char*> names) override {
    const std::string* s = Take(name);
    if (!s) return;
    std::int32_t i = 0;
    std::string list;
    for (const char* n : names) {
      if (*s == n) {
        value = i;
        return;
      }
      list += (i ? ", " : "") + std::string(n);
      ++i;
    }
    std::int64_t number = 0;
    if (ParseInt(*s, &number)) {
      value = static_cast<std::int32_t>(number);
      return;
    }
    Fail(name, list);
  }
  void Action(const char* name, mivoHeldAction& action) override {
    const std::string* s = Take(name);
    if (!s) return;
    std::string error;
    std::unique_ptr<mivoAction> parsed = ParseAction(m_pCore, *s, &error);
    if (!parsed) {
      if (m_error.empty()) m_error = error;
      return;
    }
    action.Reset(std::move(parsed));
  }

  // Keys no field took.
  std::string Unused() const {
    std::string names;
    for (const auto& [key, value] : m_values) names += (names.empty() ? "" : ", ") + key;
    return names;
  }
  const std::string& Error() const { return m_error; }

 private:
  const std::string* Take(const char* name) {
    auto it = m_values.find(name);
    if (it == m_values.end()) return nullptr;
    m_taken = it->second;
    m_values.erase(it);
    return &m_taken;
  }
  void Fail(const char* name, const std::string& expected) {
    if (m_error.empty()) m_error = std::string(name) + "=" + m_taken + ": expected " + expected;
  }

  mivoCore* m_pCore;
  std::map<std::string, std::string> m_values;  // what the line gives, by key; taken ones leave
  std::string m_taken;                          // the value taken last
  std::string m_error;                          // the first fault
};

// ---- One line ---------------------------------------------------------------------------------------

bool ParseRect(const std::string& s, RECT* rect) {
  std::int64_t v[4] = {};
  std::size_t at = 0;
  for (int i = 0; i < 4; ++i) {
    const std::size_t comma = s.find(',', at);
    if ((i < 3) == (comma == std::string::npos)) return false;
    if (!ParseInt(s.substr(at, comma == std::string::npos ? std::string::npos : comma - at), &v[i])) return false;
    at = comma + 1;
  }
  *rect = RECT{static_cast<LONG>(v[0]), static_cast<LONG>(v[1]), static_cast<LONG>(v[2]), static_cast<LONG>(v[3])};
  return true;
}

bool ParseDesktops(const std::string& s, DWORD* mask) {
  if (s == "none") {
    *mask = 0;
    return true;
  }
  DWORD m = 0;
  std::size_t at = 0;
  for (;;) {
    const std::size_t comma = s.find(',', at);
    std::int64_t n = 0;
    if (!ParseInt(s.substr(at, comma == std::string::npos ? std::string::npos : comma - at), &n) || n < 1 || n > 32) {
      return false;
    }
    m |= 1u << (n - 1);
    if (comma == std::string::npos) break;
    at = comma + 1;
  }
  *mask = m;
  return true;
}

std::string DesktopsValue(DWORD mask) {
  if (!mask) return "none";
  std::string s;
  for (int n = 0; n < 32; ++n) {
    if (mask & (1u << n)) s += (s.empty() ? "" : ",") + std::to_string(n + 1);
  }
  return s;
}

bool ParseLine(const std::vector<Token>& tokens, mivoCore* core, mivoGadgetContainer& container, std::string* error) {
  const std::string& kindName = tokens[0].value;
  DWORD typeId = 0;
  std::int64_t number = 0;
  if (!tokens[0].key.empty()) {
    *error = "a line starts with the gadget's kind";
    return false;
  }
  if (const mivoGadgetKind* kind = gadget_catalogue::FindKindByName(kindName)) {
    typeId = kind->typeId;
  } else if (ParseInt(kindName, &number) && number > 0 && number < 0xFFFFFFFFll) {
    typeId = static_cast<DWORD>(number);
  } else {
    *error = "'" + kindName + "' is no kind of gadget";
    return false;
  }
  std::unique_ptr<CmivoGadget> gadget = container.CreateGadget(typeId, nullptr);
  if (!gadget) {
    *error = "no gadget of kind '" + kindName + "' (type " + std::to_string(typeId) + ") is built";
    return false;
  }
  std::map<std::string, std::string> fields;
  bool haveRect = false;
  for (std::size_t i = 1; i < tokens.size(); ++i) {
    const Token& t = tokens[i];
    if (t.key.empty()) {
      if (t.value == "portrait" || t.value == "landscape") {
        gadget->SetPortrait(t.value == "portrait");
        continue;
      }
      *error = "'" + t.value + "' means nothing here (portrait, landscape or key=value)";
      return false;
    }
    if (t.key == "rect") {
      RECT r{};
      if (!ParseRect(t.value, &r)) {
        *error = "rect=" + t.value + ": expected left,top,right,bottom";
        return false;
      }
      gadget->SetRectUnclamped(r);
      haveRect = true;
    } else if (t.key == "desktops") {
      DWORD mask = 0;
      if (!ParseDesktops(t.value, &mask)) {
        *error = "desktops=" + t.value + ": expected numbers 1 to 32 with commas, or none";
        return false;
      }
      gadget->SetDesktops(mask);
    } else if (t.key == "properties") {
      std::int64_t v = 0;
      if (!ParseInt(t.value, &v)) {
        *error = "properties=" + t.value + ": expected a number";
        return false;
      }
      gadget->SetPropertyVersion(static_cast<DWORD>(v));
    } else if (!fields.emplace(t.key, t.value).second) {
      *error = t.key + " is given twice";
      return false;
    }
  }
  if (!haveRect) {
    *error = "a gadget needs its rect=left,top,right,bottom";
    return false;
  }
  Reader reader(core, std::move(fields));
  gadget->ExchangeProperties(reader);
  if (!reader.Error().empty()) {
    *error = reader.Error();
    return false;
  }
  if (const std::string unused = reader.Unused(); !unused.empty()) {
    *error = "a " + kindName + " has no " + unused;
    return false;
  }
  container.AddGadget(std::move(gadget), false);
  return true;
}

}  // namespace

bool Parse(std::string_view text, mivoCore* core, mivoGadgetContainer& container, std::string* error) {
  std::size_t at = 0;
  int lineNumber = 0;
  while (at <= text.size()) {
    const std::size_t end = text.find('\n', at);
    const std::string_view line = text.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
    ++lineNumber;
    at = end == std::string_view::npos ? text.size() + 1 : end + 1;
    const std::size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string_view::npos || line[first] == '#') continue;
    std::vector<Token> tokens;
    std::string problem;
    if (!Tokenize(line, &tokens, &problem) || !ParseLine(tokens, core, container, &problem)) {
      *error = "line " + std::to_string(lineNumber) + ": " + problem;
      return false;
    }
  }
  return true;
}

std::string Format(mivoCore* core, const mivoGadgetContainer& container) {
  std::string out;
  for (const auto& gadget : container.Gadgets()) {
    const mivoGadgetKind* kind = gadget_catalogue::FindKind(gadget->TypeId());
    std::string line = kind ? kind->key : std::to_string(gadget->TypeId());
    const RECT& r = gadget->GetRect();
    line += " rect=" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
            std::to_string(r.bottom);
    line += " desktops=" + DesktopsValue(gadget->Desktops());
    line += gadget->IsPortrait() ? " portrait" : " landscape";
    // The property version only when it is not the one the kind writes anyway.
    const std::unique_ptr<CmivoGadget> fresh = gadget_catalogue::CreateGadget(core, gadget->TypeId(), nullptr);
    if (!fresh || fresh->StoredPropertyVersion() != gadget->StoredPropertyVersion()) {
      line += " properties=" + std::to_string(gadget->StoredPropertyVersion());
    }
    Writer writer;
    gadget->ExchangeProperties(writer);
    out += line + writer.Line() + "\n";
  }
  return out;
}

}  // namespace layout_text
