#include "platform/display/script.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <initializer_list>
#include <limits>
#include <sstream>

#include "platform/win32/clock.h"
#include "platform/win32/messages.h"
#include "platform/win32/text.h"
#include "platform/window/describe.h"
#include "platform/window/input.h"
#include "platform/window/message.h"

namespace display {

namespace {

constexpr std::uint64_t kHoldPressMs = 800;  // well past the 500 ms of a tap-and-hold
constexpr std::uint64_t kDragStepMs = 16;     // one frame at 60 Hz

struct KeyName {
  const char* name;
  UINT vk;
};

constexpr KeyName kKeys[] = {
    {"LEFT", VK_LEFT},     {"RIGHT", VK_RIGHT},   {"UP", VK_UP},         {"DOWN", VK_DOWN},
    {"RETURN", VK_RETURN}, {"ENTER", VK_RETURN},  {"BACK", VK_BACK},     {"ESCAPE", VK_ESCAPE},
    {"TAB", VK_TAB},       {"SPACE", VK_SPACE},   {"DELETE", VK_DELETE}, {"HOME", VK_HOME},
    {"END", VK_END},       {"PRIOR", VK_PRIOR},   {"NEXT", VK_NEXT},     {"INSERT", VK_INSERT},
    {"SHIFT", VK_SHIFT},   {"CONTROL", VK_CONTROL}, {"MENU", VK_MENU},   {"APPS", VK_APPS},
    {"LWIN", VK_LWIN},     {"VOLUME_UP", VK_VOLUME_UP}, {"VOLUME_DOWN", VK_VOLUME_DOWN},
    {"TSOFT1", VK_TSOFT1}, {"TSOFT2", VK_TSOFT2}, {"TTALK", VK_TTALK},   {"TEND", VK_TEND},
};

bool ParseInt(const std::string& s, long long lo, long long hi, long long* out) {
  if (s.empty()) return false;
  std::size_t i = 0;
  bool neg = false;
  if (s[0] == '-' || s[0] == '+') {
    neg = s[0] == '-';
    i = 1;
  }
  if (i >= s.size()) return false;
  long long v = 0;
  for (; i < s.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(s[i]))) return false;
    v = v * 10 + (s[i] - '0');
    if (v > 1000000000000LL) return false;
  }
  if (neg) v = -v;
  if (v < lo || v > hi) return false;
  *out = v;
  return true;
}

std::vector<std::string> Words(const std::string& s) {
  std::istringstream in(s);
  std::vector<std::string> out;
  std::string w;
  while (in >> w) out.push_back(w);
  return out;
}

std::string Unescape(const std::string& s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size()) {
      const char n = s[++i];
      out += n == 'n' ? '\n' : n == 't' ? '\t' : n == 'r' ? '\r' : n;
    } else {
      out += s[i];
    }
  }
  return out;
}

bool ParseTime(const std::string& s, SYSTEMTIME* st) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, sec = 0;
  char tail = 0;
  const int n = std::sscanf(s.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%c", &y, &mo, &d, &h, &mi, &sec, &tail);
  if (n != 5 && n != 6) return false;
  if (n == 5 && s.size() != 16) return false;
  *st = SYSTEMTIME{};
  st->wYear = static_cast<WORD>(y);
  st->wMonth = static_cast<WORD>(mo);
  st->wDay = static_cast<WORD>(d);
  st->wHour = static_cast<WORD>(h);
  st->wMinute = static_cast<WORD>(mi);
  st->wSecond = static_cast<WORD>(sec);
  return sysclock::IsValidSystemTime(*st);
}

}  // namespace

UINT VirtualKeyFromName(const std::string& rawName) {
  std::string name = rawName;
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (name.rfind("VK_", 0) == 0) name = name.substr(3);
  for (const KeyName& k : kKeys) {
    if (name == k.name) return k.vk;
  }
  if (name.size() == 1 && (std::isalpha(static_cast<unsigned char>(name[0])) ||
                           std::isdigit(static_cast<unsigned char>(name[0])))) {
    return static_cast<UINT>(name[0]);
  }
  if (name.size() >= 2 && name[0] == 'F') {
    long long n = 0;
    if (ParseInt(name.substr(1), 1, 24, &n)) return VK_F1 + static_cast<UINT>(n - 1);
  }
  return 0;
}

ScriptRunner::ScriptRunner(ScriptHost host, bool virtualTime) : m_host(std::move(host)), m_virtual(virtualTime) {}

// One line on its way to steps: a parser for each command, picked by name
// from kCommands as the screen backends are picked from theirs.
struct ScriptRunner::Parser {
  const std::string& line;           // as written, without its line break
  const std::vector<std::string>& w;  // its words; w[0] is the command
  Step step;                         // the line number set; each command fills in the rest
  std::vector<Step>* steps;          // where the line's steps go
  std::string* message;              // why the line is wrong

  using Parse = bool (Parser::*)();
  struct Command {
    const char* name;
    Parse parse;
  };
  static const Command kCommands[];

  bool Fail(std::string why) {
    *message = std::move(why);
    return false;
  }
  // Exactly n arguments, else the usage.
  bool Need(std::size_t n, const std::string& usage) {
    if (w.size() == n + 1) return true;
    return Fail("usage: " + usage);
  }
  // A screen point from the words at i and i + 1.
  bool Point(std::size_t i, int* x, int* y) const {
    const long long kMaxCoord = 100000;
    long long a = 0, b = 0;
    if (!ParseInt(w[i], -kMaxCoord, kMaxCoord, &a) || !ParseInt(w[i + 1], -kMaxCoord, kMaxCoord, &b)) return false;
    *x = static_cast<int>(a);
    *y = static_cast<int>(b);
    return true;
  }
  void Add(Kind kind) {
    Step s = step;
    s.kind = kind;
    steps->push_back(std::move(s));
  }

  // tap, hold, down, move, up: a point and what the stylus does there, in
  // order (a Wait among the kinds is a hold's 800 ms).
  bool Stylus(std::initializer_list<Kind> kinds) {
    if (!Need(2, w[0] + " X Y")) return false;
    if (!Point(1, &step.x, &step.y)) return Fail("bad point in '" + line + "'");
    for (Kind kind : kinds) {
      if (kind == Kind::Wait) {
        step.ms = kHoldPressMs;
        Add(Kind::Wait);
        step.ms = 0;
      } else {
        Add(kind);
      }
    }
    return true;
  }
  bool Tap() { return Stylus({Kind::Down, Kind::Up}); }
  bool Hold() { return Stylus({Kind::Down, Kind::Wait, Kind::Up}); }
  bool Down() { return Stylus({Kind::Down}); }
  bool Move() { return Stylus({Kind::Move}); }
  bool Up() { return Stylus({Kind::Up}); }

  bool Drag() {
    if (!Need(5, "drag X1 Y1 X2 Y2 MS")) return false;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    long long ms = 0;
    if (!Point(1, &x1, &y1) || !Point(3, &x2, &y2) || !ParseInt(w[5], 0, 600000, &ms)) {
      return Fail("bad argument in '" + line + "'");
    }
    step.x = x1;
    step.y = y1;
    Add(Kind::Down);
    const long long n = std::max<long long>(1, ms / static_cast<long long>(kDragStepMs));
    for (long long i = 1; i <= n; ++i) {
      Step wait = step;
      wait.kind = Kind::Wait;
      wait.ms = static_cast<std::uint64_t>(ms) / static_cast<std::uint64_t>(n);
      if (wait.ms) steps->push_back(wait);
      Step move = step;
      move.kind = Kind::Move;
      move.x = static_cast<int>(x1 + (x2 - x1) * i / n);
      move.y = static_cast<int>(y1 + (y2 - y1) * i / n);
      steps->push_back(move);
    }
    step.x = x2;
    step.y = y2;
    Add(Kind::Up);
    return true;
  }

  bool Key() {
    if (!Need(1, "key NAME")) return false;
    step.vk = VirtualKeyFromName(w[1]);
    if (!step.vk) return Fail("unknown key '" + w[1] + "'");
    Add(Kind::Key);
    return true;
  }

  // The rest of the line after one blank, spaces and all.
  bool Char() {
    const std::size_t at = line.find("char");
    std::string rest = line.substr(at + 4);
    if (!rest.empty() && (rest[0] == ' ' || rest[0] == '\t')) rest.erase(0, 1);
    if (rest.empty()) return Fail("usage: char TEXT");
    step.text = text::FromUtf8(Unescape(rest));
    Add(Kind::Char);
    return true;
  }

  bool Wait() {
    long long ms = 0;
    if (!Need(1, "wait MS")) return false;
    if (!ParseInt(w[1], 0, 24LL * 3600 * 1000 * 366, &ms)) return Fail("bad time '" + w[1] + "'");
    step.ms = static_cast<std::uint64_t>(ms);
    Add(Kind::Wait);
    return true;
  }

  // rotate, dump, exit: the word alone.
  bool Alone(Kind kind) {
    if (!Need(0, w[0])) return false;
    Add(kind);
    return true;
  }
  bool Rotate() { return Alone(Kind::Rotate); }
  bool Dump() { return Alone(Kind::Dump); }
  bool Exit() { return Alone(Kind::Exit); }

  bool Time() {
    if (!Need(1, "time YYYY-MM-DDTHH:MM[:SS]")) return false;
    if (!ParseTime(w[1], &step.time)) return Fail("bad date-time '" + w[1] + "' (YYYY-MM-DDTHH:MM[:SS])");
    Add(Kind::Time);
    return true;
  }

  bool Shot() {
    if (!Need(1, "shot FILE.png")) return false;
    step.path = w[1];
    Add(Kind::Shot);
    return true;
  }
};

const ScriptRunner::Parser::Command ScriptRunner::Parser::kCommands[] = {
    {"tap", &Parser::Tap},   {"hold", &Parser::Hold},     {"down", &Parser::Down}, {"move", &Parser::Move},
    {"up", &Parser::Up},     {"drag", &Parser::Drag},     {"key", &Parser::Key},   {"char", &Parser::Char},
    {"wait", &Parser::Wait}, {"rotate", &Parser::Rotate}, {"dump", &Parser::Dump}, {"exit", &Parser::Exit},
    {"time", &Parser::Time}, {"shot", &Parser::Shot},
};

bool ScriptRunner::Parse(const std::string& rawLine, int lineNumber, std::vector<Step>* steps,
                         std::string* message) {
  std::string line = rawLine;
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
  const std::vector<std::string> w = Words(line);
  if (w.empty() || w[0][0] == '#') return true;
  Step first{};
  first.line = lineNumber;
  Parser parser{line, w, first, steps, message};
  for (const Parser::Command& c : Parser::kCommands) {
    if (w[0] == c.name) return (parser.*c.parse)();
  }
  *message = "unknown command '" + w[0] + "'";
  return false;
}

bool ScriptRunner::Check(const std::vector<std::string>& lines, int* badLine, std::string* message) {
  std::vector<Step> steps;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!Parse(lines[i], static_cast<int>(i + 1), &steps, message)) {
      *badLine = static_cast<int>(i + 1);
      return false;
    }
  }
  return true;
}

bool ScriptRunner::AddLine(const std::string& line) {
  ++m_lineNumber;
  std::vector<Step> steps;
  std::string message;
  if (!Parse(line, m_lineNumber, &steps, &message)) {
    if (m_host.fail) m_host.fail(m_lineNumber, message);
    // What came before the bad line still runs; nothing after it does.
    AddEnd();
    return false;
  }
  if (m_ended) return true;  // after `exit` nothing more runs
  for (Step& s : steps) {
    m_steps.push_back(std::move(s));
    if (m_steps.back().kind == Kind::Exit) {
      m_ended = true;
      break;
    }
  }
  return true;
}

void ScriptRunner::AddEnd() {
  if (m_ended) return;
  m_ended = true;
  Step s{};
  s.kind = Kind::Exit;
  s.line = m_lineNumber + 1;
  m_steps.push_back(s);
}

void ScriptRunner::Abort() {
  m_steps.clear();
  m_waiting = false;
  if (m_exiting) return;
  m_ended = true;
  Step s{};
  s.kind = Kind::Exit;
  s.line = m_lineNumber;
  m_steps.push_back(s);
}

std::uint64_t ScriptRunner::WaitDeadline() const {
  return m_waiting ? m_waitEnd : std::numeric_limits<std::uint64_t>::max();
}

bool ScriptRunner::AtIdle(std::uint64_t timerDue) {
  if (m_exiting) {
    // The program did not end yet: ask again, more firmly each time.
    m_host.requestExit(++m_exitAttempts);
    return true;
  }
  const std::uint64_t now = sysclock::NowMs();
  if (m_waiting) {
    if (m_virtual) {
      // Step to the next timer within the wait, so each one fires on time.
      if (timerDue > now && timerDue < m_waitEnd) {
        sysclock::Advance(timerDue - now);
        return true;
      }
      if (m_waitEnd > now) sysclock::Advance(m_waitEnd - now);
      m_waiting = false;
      return true;
    }
    if (now < m_waitEnd) return false;
    m_waiting = false;
    return true;
  }
  if (m_steps.empty()) return false;
  const Step step = m_steps.front();
  m_steps.pop_front();
  Run(step);
  return true;
}

void ScriptRunner::Run(const Step& s) {
  switch (s.kind) {
    case Kind::Down:
      window::input::StylusDown(s.x, s.y);
      break;
    case Kind::Move:
      window::input::StylusMove(s.x, s.y);
      break;
    case Kind::Up:
      window::input::StylusUp(s.x, s.y);
      break;
    case Kind::Key:
      window::input::KeyDown(s.vk);
      window::input::KeyUp(s.vk);
      break;
    case Kind::Char:
      window::input::Text(s.text);
      break;
    case Kind::Wait:
      m_waiting = true;
      m_waitEnd = sysclock::NowMs() + s.ms;
      break;
    case Kind::Rotate:
      if (m_host.rotate) m_host.rotate();
      break;
    case Kind::Time:
      // As on the platform, every top-level window hears the clock was set.
      if (SetLocalTime(&s.time)) PostMessageW(HWND_BROADCAST, WM_TIMECHANGE, 0, 0);
      break;
    case Kind::Shot: {
      std::string error;
      if (m_host.shot && !m_host.shot(s.path, &error)) {
        if (m_host.fail) m_host.fail(s.line, error);
        Abort();
      }
      break;
    }
    case Kind::Dump:
      if (m_host.print) m_host.print(window::DumpState());
      break;
    case Kind::Exit:
      m_exiting = true;
      m_steps.clear();
      m_host.requestExit(0);
      break;
  }
}

}  // namespace display
