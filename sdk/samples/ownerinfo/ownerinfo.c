/*
 * Owner information: a Today plug-in for mivo.
 *
 * Shows who the device belongs to, as the device's registry holds it under
 * HKEY_CURRENT_USER "ControlPanel\Owner" (the string values "Name",
 * "Company", "Telephone" and "E-mail"): the name in bold, the rest on the line
 * under it. A change of those values shows within two seconds, e.g.
 *
 *   mivo-device --device DIR reg set 'HKCU\ControlPanel\Owner' Name sz 'Alex Example'
 *
 * It is registered as a Today item, so that mivo's "Today plug-in" gadget
 * offers it:
 *
 *   HKEY_LOCAL_MACHINE\Software\Microsoft\Today\Items\"Owner Info"   DLL = <its device path>
 *
 * A Today plug-in in its simplest useful form: one export
 * (InitializeCustomItem) that makes a child window of the desktop, a window
 * procedure that paints over the desktop's own background and answers mivo's
 * refresh question. The window class stays registered while the library is
 * loaded; when mivo frees the library it removes the library's classes (and
 * any window still left) itself.
 */
#include <stdlib.h>

#include "mivo/today.h"

#define CLASS_NAME u"mivoOwnerInfo"
#define OWNER_KEY u"ControlPanel\\Owner"
/* Room for each value, in characters. */
#define FIELD_CHARS 64

/* The owner as last read, with the fonts the window draws with. */
typedef struct OwnerInfo {
  TODAYLISTITEM* item; /* mivo's record: the window's height goes into item->cyp */
  WCHAR name[FIELD_CHARS];
  WCHAR company[FIELD_CHARS];
  WCHAR phone[FIELD_CHARS];
  WCHAR mail[FIELD_CHARS];
  BOOL split;        /* the telephone number and the e-mail address do not fit on one line: a line each */
  BOOL roomForSplit; /* the window is high enough to show them so */
  int scale;         /* 1, or 2 on a VGA screen */
  HFONT bold;
  HFONT normal;
} OwnerInfo;

static int TextLength(const WCHAR* s) {
  int n = 0;
  while (s[n]) ++n;
  return n;
}

static void Append(WCHAR* buffer, int capacity, const WCHAR* s) {
  int n = TextLength(buffer);
  while (*s && n < capacity - 1) buffer[n++] = *s++;
  buffer[n] = 0;
}

static BOOL SameText(const WCHAR* a, const WCHAR* b) {
  while (*a && *a == *b) ++a, ++b;
  return *a == *b;
}

static void ReadValue(const WCHAR* name, WCHAR* value) {
  value[0] = 0;
  if (FAILED(RegistryGetString(HKEY_CURRENT_USER, OWNER_KEY, name, value, FIELD_CHARS))) value[0] = 0;
  value[FIELD_CHARS - 1] = 0;
}

/* Reads the owner anew; TRUE when what the window shows changed. */
static BOOL ReadOwner(OwnerInfo* info) {
  WCHAR name[FIELD_CHARS], company[FIELD_CHARS], phone[FIELD_CHARS], mail[FIELD_CHARS];
  BOOL changed;
  ReadValue(u"Name", name);
  ReadValue(u"Company", company);
  ReadValue(u"Telephone", phone);
  ReadValue(u"E-mail", mail);
  if (!name[0]) Append(name, FIELD_CHARS, u"No owner information");
  changed = !SameText(name, info->name) || !SameText(company, info->company) || !SameText(phone, info->phone) ||
            !SameText(mail, info->mail);
  info->name[0] = info->company[0] = info->phone[0] = info->mail[0] = 0;
  Append(info->name, FIELD_CHARS, name);
  Append(info->company, FIELD_CHARS, company);
  Append(info->phone, FIELD_CHARS, phone);
  Append(info->mail, FIELD_CHARS, mail);
  return changed;
}

/* The telephone number and the e-mail address as one line. */
static void ContactLine(const OwnerInfo* info, WCHAR* line, int capacity) {
  line[0] = 0;
  Append(line, capacity, info->phone);
  if (info->phone[0] && info->mail[0]) Append(line, capacity, u" \u00b7 ");
  Append(line, capacity, info->mail);
}

/* The left edge of the texts: right of the figure. */
static int TextLeft(const OwnerInfo* info) { return 34 * info->scale; }

/* Decides whether the contact line fits the window's width; TRUE when that changed. */
static BOOL Measure(HWND hwnd, OwnerInfo* info) {
  WCHAR line[2 * FIELD_CHARS + 8];
  RECT client;
  SIZE extent = {0, 0};
  HDC dc;
  BOOL split;
  ContactLine(info, line, 2 * FIELD_CHARS + 8);
  GetClientRect(hwnd, &client);
  dc = GetDC(hwnd);
  SelectObject(dc, info->normal);
  GetTextExtentPoint32W(dc, line, TextLength(line), &extent);
  ReleaseDC(hwnd, dc);
  split = info->phone[0] && info->mail[0] && extent.cx > client.right - TextLeft(info) - 4 * info->scale;
  /* A line more only where the window has grown to hold it (mivo asks every 2 seconds; see WantedHeight). */
  info->roomForSplit = client.bottom >= (LONG)((26 + 15 * ((info->company[0] ? 1 : 0) + 2)) * info->scale);
  if (split == info->split) return FALSE;
  info->split = split;
  return TRUE;
}

/* The lines under the name. */
static int DetailLines(const OwnerInfo* info) {
  int contact = info->split ? 2 : (info->phone[0] || info->mail[0] ? 1 : 0);
  return (info->company[0] ? 1 : 0) + contact;
}

/* The strip's height: the name's line, one line for each detail, and a margin. */
static DWORD WantedHeight(const OwnerInfo* info) { return (DWORD)((26 + 15 * DetailLines(info)) * info->scale); }

static HFONT MakeFont(int height, int weight) {
  LOGFONTW lf = {0};
  lf.lfHeight = -height;
  lf.lfWeight = weight;
  lf.lfQuality = CLEARTYPE_QUALITY;
  lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
  Append(lf.lfFaceName, LF_FACESIZE, u"Arial");
  return CreateFontIndirectW(&lf);
}

/* A small figure of a person, in the text's colour. */
static void DrawPerson(HDC dc, int x, int y, int size, COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
  int head = size * 2 / 5;
  Ellipse(dc, x + (size - head) / 2, y, x + (size + head) / 2, y + head);
  RoundRect(dc, x + size / 8, y + head + size / 12, x + size - size / 8, y + size, size / 2, size / 2);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(brush);
}

static void Paint(HWND hwnd, OwnerInfo* info) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  HWND desktop = GetParent(hwnd);
  TODAYDRAWWATERMARKINFO watermark;
  RECT client, line;
  COLORREF color;
  WCHAR contact[2 * FIELD_CHARS + 8];
  const WCHAR* details[3];
  int i, s = info->scale, icon = 24 * info->scale;
  GetClientRect(hwnd, &client);
  /* The desktop's own background behind the strip, so it blends in. */
  watermark.hdc = dc;
  watermark.rc = client;
  watermark.hwnd = hwnd;
  SendMessageW(desktop, TODAYM_DRAWWATERMARK, 0, (LPARAM)&watermark);
  color = (COLORREF)SendMessageW(desktop, TODAYM_GETCOLOR, TODAYCOLOR_TEXT, 0);
  DrawPerson(dc, client.left + 4 * s, client.top + ((client.bottom - client.top) - icon) / 2, icon, color);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, color);
  line = client;
  line.left += TextLeft(info);
  line.right -= 4 * s;
  line.top += 4 * s;
  line.bottom = line.top + 18 * s;
  SelectObject(dc, info->bold);
  DrawTextW(dc, info->name, -1, &line, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
  SelectObject(dc, info->normal);
  ContactLine(info, contact, 2 * FIELD_CHARS + 8);
  details[0] = info->company;
  details[1] = info->split && info->roomForSplit ? info->phone : contact;
  details[2] = info->split && info->roomForSplit ? info->mail : u"";
  for (i = 0; i < 3; ++i) {
    if (!details[i][0]) continue;
    line.top = line.bottom;
    line.bottom = line.top + 15 * s;
    DrawTextW(dc, details[i], -1, &line, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
  }
  EndPaint(hwnd, &ps);
}

static LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  OwnerInfo* info = (OwnerInfo*)GetWindowLongPtrW(hwnd, GWL_USERDATA);
  switch (message) {
    case WM_CREATE: {
      const CREATESTRUCTW* create = (const CREATESTRUCTW*)lParam;
      HDC dc = GetDC(hwnd);
      info = (OwnerInfo*)calloc(1, sizeof *info);
      if (!info) return -1;
      info->item = (TODAYLISTITEM*)create->lpCreateParams;
      info->scale = dc && GetDeviceCaps(dc, LOGPIXELSY) >= 192 ? 2 : 1;
      ReleaseDC(hwnd, dc);
      info->bold = MakeFont(14 * info->scale, FW_BOLD);
      info->normal = MakeFont(12 * info->scale, FW_NORMAL);
      ReadOwner(info);
      SetWindowLongPtrW(hwnd, GWL_USERDATA, (LONG_PTR)info);
      return 0;
    }
    case WM_SIZE:
      /* mivo gives the window its gadget's width: the contact line may fit now, or no longer. */
      if (info) Measure(hwnd, info);
      return 0;
    case WM_PAINT:
      if (!info) break;
      Paint(hwnd, info);
      return 0;
    case WM_ERASEBKGND:
      /* WM_PAINT draws the whole strip. */
      return 1;
    case WM_TODAYCUSTOM_QUERYREFRESHCACHE: {
      /* Every 2 seconds: TRUE when something (the text or the height) must be redrawn. */
      TODAYLISTITEM* item = (TODAYLISTITEM*)lParam;
      BOOL changed;
      if (!info || !item) return FALSE;
      changed = ReadOwner(info);
      changed = Measure(hwnd, info) || changed;
      if (item->cyp != WantedHeight(info)) {
        item->cyp = WantedHeight(info);
        changed = TRUE;
      }
      return changed;
    }
    case WM_TODAYCUSTOM_CLEARCACHE:
    case WM_TODAYCUSTOM_LOSTSELECTION: return 0;
    case WM_DESTROY:
      if (info) {
        DeleteObject(info->bold);
        DeleteObject(info->normal);
        free(info);
        SetWindowLongPtrW(hwnd, GWL_USERDATA, 0);
      }
      return 0;
    default: break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

MIVO_PLUGIN_EXPORT HWND InitializeCustomItem(TODAYLISTITEM* item, HWND parent) {
  WNDCLASSW wc = {0};
  RECT area;
  HWND hwnd;
  if (!item || !parent) return NULL;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = item->hinstDLL;
  wc.lpszClassName = CLASS_NAME;
  /* Registered for the first window; later ones find it there (RegisterClassW then fails, harmlessly). */
  RegisterClassW(&wc);
  GetClientRect(parent, &area);
  hwnd = CreateWindowExW(0, CLASS_NAME, u"Owner information", WS_CHILD, 0, 0, area.right - area.left, 26, parent, NULL,
                         item->hinstDLL, item);
  if (!hwnd) return NULL;
  {
    OwnerInfo* info = (OwnerInfo*)GetWindowLongPtrW(hwnd, GWL_USERDATA);
    item->cyp = info ? WantedHeight(info) : 26;
  }
  return hwnd;
}
