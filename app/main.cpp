// mivo: the launcher. Opens the device, makes sure it is the only instance
// on it, starts the screen and the phone shell around the program, and runs
// the application object until the program ends in order.
#include <cstdio>
#include <string>
#include <thread>

#include "app/mivo_app.h"
#include "app/single_instance.h"
#include "app/trace.h"
#include "platform/device/device.h"
#include "platform/device/state_service.h"
#include "platform/display/host.h"
#include "platform/gdi/gdi.h"
#include "platform/shell/clipboard.h"
#include "platform/shell/process_windows.h"
#include "platform/shell/taskbar.h"
#include "platform/win32/clock.h"
#include "platform/win32/errors.h"
#include "platform/win32/format_message.h"
#include "platform/win32/text.h"
#include "platform/window/framework.h"
#include "platform/window/metrics.h"
#include "platform/window/window.h"

int main(int argc, char** argv) {
  lifecycle::TraceFromEnvironment();
  display::Options options;
  int code = 0;
  if (!display::ParseOptions(argc, argv, &options, &code)) return code;

  // A headless run lives on the virtual clock from the start: a device made
  // now gets its sample messages and calls around the virtual day.
  if (options.headless) sysclock::UseVirtualTime();

  // The font configuration is read while the device opens (a new one is provisioned): the first
  // text on screen then finds it ready.
  std::jthread fonts(gdi::PrepareFonts);

  std::string error;
  device::DeviceOptions deviceOptions;
  deviceOptions.screenHeight = options.height;  // a new device gets the wallpapers of its screen size
  if (!device::OpenDevice(options.device, &error, deviceOptions)) {
    std::fprintf(stderr, "mivo: %s\n", error.c_str());
    return 1;
  }
  // A second start brings the first to the front and ends before it shows
  // anything of its own.
  lifecycle::Trace("app: single instance");
  switch (lifecycle::CheckSingleInstance()) {
    case lifecycle::InstanceCheck::kRun: break;
    case lifecycle::InstanceCheck::kEnd:
      lifecycle::Trace("app: another instance runs");
      device::CloseDevice();
      return 0;
    case lifecycle::InstanceCheck::kFailed: {
      const std::string why = text::ToUtf8(SystemErrorText(GetLastError()));
      std::fprintf(stderr, "mivo: cannot make sure mivo runs only once on the device: %s/run cannot be written (%s)\n",
                   device::DeviceFolder().c_str(), why.c_str());
      device::CloseDevice();
      return 1;
    }
  }

  display::Host host;
  if (!host.Start(options)) {
    device::CloseDevice();
    return host.ExitCode(1);
  }
  gdi::SetLogPixels(window::ShellScale() == 2 ? 192 : 96);
  shell::StartPhoneShell();
  if (display::Screen* screen = host.GetScreen(); screen && screen->HasHostClipboard()) {
    // A number copied in mivo can be pasted on the host, and the other way round.
    shell::SetHostClipboard({[screen](std::u16string* text) { return screen->GetHostClipboardText(text); },
                             [screen](const std::u16string& text) { screen->SetHostClipboardText(text); }});
  }
  device::StartStateService();
  lifecycle::StartForegroundRequests();

  int result = 0;
  {
    CmivoApp app;
    result = AfxWinMain(app);
  }

  lifecycle::StopForegroundRequests();
  device::StopStateService();
  shell::StopPhoneShell();
  shell::SetHostClipboard({});
  window::ResetWindowSystem();
  shell::ForgetAllWindows();
  device::CloseDevice();
  return host.ExitCode(result);
}
