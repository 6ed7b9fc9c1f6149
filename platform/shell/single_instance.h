// One mivo per device. The first process holds the device's named mutex
// (named after the program's path, "/Program Files/mivo/mivo.exe", as the
// phone platform names it) and listens for requests to come to the front;
// a second process finds the first one's main window among the windows of
// other processes and asks for it to be brought forward, then ends.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/win32/types.h"

namespace shell {

// The mutex name the platform's framework uses: the program's path with
// every "\" replaced by "/".
std::u16string InstanceMutexName();

// Creates the instance mutex. kFirst when this is the only instance,
// kAnotherRuns when another process of this device holds it, kFailed when
// the mutex cannot be made at all (the device's run folder cannot be
// written): then nothing is known about other instances, and a failure is
// never taken for another instance running.
enum class InstanceClaim { kFirst, kAnotherRuns, kFailed };
InstanceClaim ClaimSingleInstance();

// A second instance: looks for the running instance's main window up to
// `attempts` times, `intervalMs` apart (the framework does 40 x 250 ms): a
// visible window of another live mivo process whose class is none of
// "shfind", "static", "CursorWindow". When found, asks that process to bring
// it to the front (the handle with its lowest bit set, so its pop-ups come
// along) and returns true.
bool ActivateRunningInstance(int attempts = 40, int intervalMs = 250);

}  // namespace shell
