// State notifications: a window hears of every change of one registry value,
// whoever made it (this process, mivo-device, another program), as a posted
// message. Delivery comes from device.db's change log (change_watcher.h), so
// it is the same for changes of this process and of others, once per change,
// and a value set to what it already was is no change.
#pragma once

#include <functional>

#include "platform/win32/registry_defs.h"
#include "platform/win32/types.h"

// Posts msg to window on each change of the value (also its creation and
// deletion), with wParam the new DWORD value (0 for other types or a deleted
// value) and lParam the user data. With a condition, only changes whose new
// value meets it are posted. The key need not exist yet.
HRESULT RegistryNotifyWindow(HKEY root, LPCWSTR subKey, LPCWSTR valueName, HWND window, UINT msg, DWORD userData,
                             NOTIFICATIONCONDITION* condition, HREGNOTIFY* notify);
// A callback instead of a message; it runs on the watcher's thread.
using REGISTRYNOTIFYCALLBACK = void (*)(HREGNOTIFY notify, DWORD userData, const BYTE* data, UINT size);
HRESULT RegistryNotifyCallback(HKEY root, LPCWSTR subKey, LPCWSTR valueName, REGISTRYNOTIFYCALLBACK callback,
                               DWORD userData, NOTIFICATIONCONDITION* condition, HREGNOTIFY* notify);
// Stops a notification; after it returns no message of it is posted any more.
HRESULT RegistryCloseNotification(HREGNOTIFY notify);

namespace reg {

// How notifications reach windows: PostMessageW of the window system. Tests
// may put a recorder in its place; null restores the default.
using MessagePoster = std::function<void(HWND, UINT, WPARAM, LPARAM)>;
void SetMessagePoster(MessagePoster poster);

}  // namespace reg
