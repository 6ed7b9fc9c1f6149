/*
 * A Today plug-in that leaves everything behind: its window ignores WM_CLOSE
 * and runs a timer whose procedure is the library's. Its height and whether
 * it asks for a refresh come from the probe's "Height" and "Refresh".
 */
#include "mivo/today.h"
#include "tests/plugins/libs/probe.h"

static void CALLBACK_Tick(HWND hwnd, UINT message, UINT_PTR id, DWORD time) {
  (void)hwnd, (void)message, (void)id, (void)time;
  ProbeCount(u"today_leaky", u"Tick");
}

static LRESULT LeakyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE: return 0; /* stays */
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd, &ps);
      EndPaint(hwnd, &ps);
      ProbeCount(u"today_leaky", u"Paints");
      return 0;
    }
    case WM_TODAYCUSTOM_QUERYREFRESHCACHE: {
      TODAYLISTITEM* item = (TODAYLISTITEM*)lParam;
      ProbeCount(u"today_leaky", u"Queries");
      if (item) item->cyp = ProbeGet(u"today_leaky", u"Height");
      return ProbeGet(u"today_leaky", u"Refresh") ? 1 : 0;
    }
    case WM_TODAYCUSTOM_LOSTSELECTION: ProbeCount(u"today_leaky", u"LostSelection"); return 0;
    case WM_TODAYCUSTOM_CLEARCACHE: ProbeCount(u"today_leaky", u"ClearCache"); return 0;
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

MIVO_PLUGIN_EXPORT HWND InitializeCustomItem(TODAYLISTITEM* item, HWND parent) {
  WNDCLASSW wc = {0};
  HWND hwnd;
  wc.lpfnWndProc = LeakyProc;
  wc.hInstance = item->hinstDLL;
  wc.lpszClassName = u"LeakyToday";
  RegisterClassW(&wc);
  hwnd = CreateWindowExW(0, u"LeakyToday", u"leaky", WS_CHILD, 0, 0, 10, 10, parent, NULL, item->hinstDLL, NULL);
  item->cyp = ProbeGet(u"today_leaky", u"Height");
  SetTimer(NULL, 0, 100, CALLBACK_Tick);
  ProbeCount(u"today_leaky", u"Initialize");
  return hwnd;
}
