// The launcher's keeper of the device's state values.
#pragma once

namespace device {

// Call once on the UI thread after OpenDevice, when the message queue runs:
// applies the device's time zone to the clock; keeps HKLM
// "System\State\DateTime" "Time" current (written at each minute change of
// the clock, virtual or real, and when mivo-device changes the time zone);
// re-reads the host's battery every 60 s into "System\State\Battery" "Main".
void StartStateService();
void StopStateService();

}  // namespace device
