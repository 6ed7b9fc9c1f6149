#include "platform/device/state_service.h"

#include "platform/device/power.h"
#include "platform/device/system.h"
#include "platform/registry/change_watcher.h"
#include "platform/win32/clock.h"
#include "platform/win32/locale.h"
#include "platform/window/message.h"
#include "platform/window/timer.h"

namespace device {

namespace {

UINT_PTR g_timer = 0;
int g_subscription = 0;
int g_ticks = 0;

void WriteTime() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  UpdateTimeState(now);
}

void OnTick(HWND, UINT, UINT_PTR, DWORD) {
  WriteTime();
  if (++g_ticks % 60 == 0) UpdateBatteryState();
}

void ApplyTimeZone() {
  sysclock::SetTimeZone(TimeZone());
  WriteTime();
}

void ApplyLocale() { syslocale::SetUserLocale(Locale()); }

}  // namespace

void StartStateService() {
  if (g_timer) return;
  ApplyTimeZone();
  ApplyLocale();
  UpdateBatteryState();
  g_timer = SetTimer(nullptr, 0, 1000, OnTick);
  // The time zone and the locale live in device_state; a change there comes
  // from another process (mivo-device) through the change log.
  g_subscription = devdb::SubscribeChanges("device", [](const devdb::Change& c) {
    if (c.ref == "timezone") RunOnUiThread(ApplyTimeZone);
    if (c.ref == "locale") RunOnUiThread(ApplyLocale);
  });
}

void StopStateService() {
  if (g_timer) KillTimer(nullptr, g_timer);
  g_timer = 0;
  if (g_subscription) devdb::UnsubscribeChanges(g_subscription);
  g_subscription = 0;
}

}  // namespace device
