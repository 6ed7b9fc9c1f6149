// Folder change notifications: a window registers for a folder (device path)
// and receives WM_FILECHANGEINFO (0x8101) with lParam a FILECHANGENOTIFY for
// every change inside it, which the window frees with SHChangeNotifyFree.
// Watched with the host's inotify, so changes by any program count:
//   a file created: SHCNE_CREATE, a folder: SHCNE_MKDIR;
//   deleted: SHCNE_DELETE / SHCNE_RMDIR; written: SHCNE_UPDATEITEM;
//   renamed inside the watched folder: SHCNE_RENAMEITEM / SHCNE_RENAMEFOLDER
//   (dwItem1 the old path, dwItem2 the new one); moved in or out: a create or
//   a delete. A file replaced the system's way (a temporary renamed over it)
//   is one SHCNE_UPDATEITEM of the file; the temporary itself is not told.
#pragma once

#include "platform/win32/file_defs.h"
#include "platform/win32/types.h"

// FALSE when the folder cannot be watched (missing: ERROR_PATH_NOT_FOUND).
// A window may hold several registrations.
BOOL SHChangeNotifyRegister(HWND window, SHCHANGENOTIFYENTRY* entry);
// Ends every registration of the window.
BOOL SHChangeNotifyDeregister(HWND window);
void SHChangeNotifyFree(FILECHANGENOTIFY* notify);
