// The program around the system: the command line, the device folder, the
// screen backend, the clock mode and the scenario script. A program's main()
// parses the options, starts the host, runs its CWinApp, and returns the
// host's exit code:
//
//   display::Options options;
//   int code = 0;
//   if (!display::ParseOptions(argc, argv, &options, &code)) return code;
//   display::Host host;
//   if (!host.Start(options)) return host.ExitCode(1);
//   MyApp app;
//   return host.ExitCode(AfxWinMain(app));
#pragma once

#include <memory>
#include <string>
#include <thread>

#include "platform/display/screen.h"
#include "platform/display/script.h"

namespace display {

struct Options {
  std::string device;         // the device folder (default: the user's data folder)
  int width = 240;
  int height = 320;
  bool headless = false;
  bool fullscreen = false;
  int scale = 0;
  std::string script;         // a file, "-" for standard input, "" for none
  std::string framesDir;      // headless: every presented frame as PNG
};

// The default device folder: $XDG_DATA_HOME/mivo/device, else ~/.local/share/mivo/device.
std::string DefaultDeviceFolder();

// False when the program should end now (--help: code 0; a wrong argument:
// a message on standard error and code 2).
bool ParseOptions(int argc, char** argv, Options* options, int* exitCode);
std::string UsageText();

class Host {
 public:
  Host();
  ~Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  // Creates the device folder (and its fs/ root), picks the clock and the
  // screen (headless when asked, or when there is no display: said on
  // standard error), makes the framebuffer and loads the script. False with
  // a message on standard error.
  bool Start(const Options& options);
  // The screen turns: width and height swap (F3, the script's `rotate`).
  void Rotate();
  // Ends the program the orderly way: WM_CLOSE to the main window; later
  // attempts post the quit message and at last end the process.
  void RequestExit(int attempt);
  // The program's exit code: a script error makes it 2.
  int ExitCode(int appCode) const;

  Screen* GetScreen() const { return m_screen.get(); }
  const Options& GetOptions() const { return m_options; }

 private:
  void StartStdinReader();

  Options m_options;
  std::unique_ptr<Screen> m_screen;
  std::unique_ptr<ScriptRunner> m_script;
  std::thread m_stdinReader;   // feeds `--script -` lines to the UI thread
  int m_stopPipe[2] = {-1, -1};  // written by the destructor: the reader ends
  bool m_scriptFailed = false;
};

}  // namespace display
