// Scenario scripts: one command per line, run at the idle point of the message
// loop (queue empty, paints done, frame presented), so each command sees the
// program settled after the one before.
//
//   tap X Y            press and release at a screen point
//   hold X Y           press, hold still for 800 ms (a tap-and-hold), release
//   down X Y | move X Y | up X Y
//   drag X1 Y1 X2 Y2 MS   press, move in steps of 16 ms, release
//   key NAME           a key press and release (LEFT, RETURN, BACK, F1, A, 5, ...)
//   char TEXT          the rest of the line typed as WM_CHAR ("\n", "\t", "\\" escapes)
//   wait MS            time passes (virtual time: timers due on the way fire in order)
//   rotate             the screen turns (width and height swap)
//   time YYYY-MM-DDTHH:MM[:SS]   sets the local time
//   shot FILE.png      writes the framebuffer
//   dump               prints the state line (window/describe.h), flushed at once
//   exit               ends the program the orderly way (as the user closing it)
// Blank lines and lines starting with '#' are skipped. The end of the script
// exits as `exit` does.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32/types.h"

namespace display {

// What the script needs from the program around it.
struct ScriptHost {
  std::function<void()> rotate;
  // Writes the current framebuffer; false with a message.
  std::function<bool(const std::string& path, std::string* error)> shot;
  // Ends the program the orderly way; called again at later idle points
  // while the program still runs (`attempt` counts from 0) so it can insist.
  std::function<void(int attempt)> requestExit;
  // Prints one dump line.
  std::function<void(const std::string& line)> print;
  // A script error (line number and message), also for the exit code.
  std::function<void(int line, const std::string& message)> fail;
};

class ScriptRunner {
 public:
  // `virtualTime`: `wait` advances the virtual clock; else it waits for real.
  ScriptRunner(ScriptHost host, bool virtualTime);

  // Checks and queues lines; an unknown command or bad argument fails with
  // its line number (host.fail) and queues nothing of that line. Returns false then.
  bool AddLine(const std::string& line);
  // No more lines will come (end of file or of standard input).
  void AddEnd();
  // Drops what is still queued and ends the program (after a script error).
  void Abort();
  // Checks a whole script before anything runs; false with the first error.
  static bool Check(const std::vector<std::string>& lines, int* badLine, std::string* message);

  // The idle point: runs one step. Returns false when there is nothing to do
  // until a new line arrives or (real time) until WaitDeadline().
  // `timerDue` is the next timer's due time (sysclock::NowMs), UINT64_MAX for none.
  bool AtIdle(std::uint64_t timerDue);
  // Real time: sysclock::NowMs() when a running `wait` ends, UINT64_MAX when none.
  std::uint64_t WaitDeadline() const;
  bool Finished() const { return m_ended && m_steps.empty() && !m_waiting; }

 private:
  enum class Kind { Down, Move, Up, Key, Char, Wait, Rotate, Time, Shot, Dump, Exit };
  struct Step {
    Kind kind;
    int line = 0;
    int x = 0;
    int y = 0;
    std::uint64_t ms = 0;
    UINT vk = 0;
    std::u16string text;
    std::string path;
    SYSTEMTIME time;
  };
  struct Parser;  // one line's parse, a handler for each command (script.cpp)
  // Parses one line into steps; false with a message.
  static bool Parse(const std::string& line, int lineNumber, std::vector<Step>* steps, std::string* message);
  void Run(const Step& step);

  ScriptHost m_host;
  bool m_virtual;
  std::deque<Step> m_steps;
  int m_lineNumber = 0;
  bool m_ended = false;        // AddEnd or `exit` seen
  bool m_waiting = false;      // a `wait` is running
  std::uint64_t m_waitEnd = 0; // sysclock::NowMs() when it ends
  bool m_exiting = false;      // exit requested
  int m_exitAttempts = 0;
};

// The platform's virtual-key code for a key name ("LEFT", "RETURN", "F1",
// "A", "5"), 0 for an unknown name.
UINT VirtualKeyFromName(const std::string& name);

}  // namespace display
