/*
 * Countdown: a gadget plug-in for mivo.
 *
 * Counts the days to a date of the user's choosing (a holiday, a birthday, a
 * deadline): a large number, "days until" and the event's title; "Today!" on
 * the day itself, and the days since once it has passed. The date and the
 * title are its settings, entered from the gadget's menu in mivo's design
 * mode ("Set date", "Set title") and stored with the desktop. Until then it
 * counts to the next New Year's Day.
 *
 * Shows how a plug-in asks the user for text (MIVO_MENU_ASKTEXT), checks it,
 * stores a string setting, and repaints itself when the day changes.
 */
#include <stdlib.h>

#include "mivo/gadget_plugin.h"

/* The version of the stored settings below. */
#define SETTINGS_VERSION 1
/* The longest title, in characters. */
#define TITLE_CHARS 40
/* The gadget's size at scale 1 (twice that on a VGA screen). */
#define GADGET_WIDTH 150
#define GADGET_HEIGHT 64

static MIVOHANDLE g_host;
static const mivoAPI_1* g_api;
/* The gadget's name in the menu, in the device's language (ChooseLanguage). */
static mivoGadgetInfo g_info = {u"Countdown"};

/* ---- Texts, in English and German ------------------------------------------------------------------------ */

enum {
  T_NAME,
  T_DEFAULT_TITLE,
  T_DAY,
  T_DAYS,
  T_UNTIL,
  T_AGO,
  T_TODAY,
  T_SET_DATE,
  T_DATE_PROMPT,
  T_SET_TITLE,
  T_TITLE_PROMPT,
  T_BAD_DATE,
  T_COUNT
};

static const WCHAR* const kEnglish[T_COUNT] = {
    [T_NAME] = u"Countdown",
    [T_DEFAULT_TITLE] = u"New Year",
    [T_DAY] = u"day",
    [T_DAYS] = u"days",
    [T_UNTIL] = u"until",
    [T_AGO] = u"ago",
    [T_TODAY] = u"Today!",
    [T_SET_DATE] = u"Set date",
    [T_DATE_PROMPT] = u"Date (YYYY-MM-DD)",
    [T_SET_TITLE] = u"Set title",
    [T_TITLE_PROMPT] = u"Title",
    [T_BAD_DATE] = u"Please enter the date as year-month-day, for example 2030-12-24.",
};

static const WCHAR* const kGerman[T_COUNT] = {
    [T_NAME] = u"Countdown",
    [T_DEFAULT_TITLE] = u"Neujahr",
    [T_DAY] = u"Tag",
    [T_DAYS] = u"Tage",
    [T_UNTIL] = u"bis",
    [T_AGO] = u"her",
    [T_TODAY] = u"Heute!",
    [T_SET_DATE] = u"Datum festlegen",
    [T_DATE_PROMPT] = u"Datum (JJJJ-MM-TT)",
    [T_SET_TITLE] = u"Titel festlegen",
    [T_TITLE_PROMPT] = u"Titel",
    [T_BAD_DATE] = u"Bitte das Datum als Jahr-Monat-Tag eingeben, zum Beispiel 2030-12-24.",
};

static const WCHAR* const* g_texts = kEnglish;

static BOOL SameText(const WCHAR* a, const WCHAR* b) {
  for (;; ++a, ++b) {
    WCHAR x = *a >= u'A' && *a <= u'Z' ? (WCHAR)(*a + 32) : *a;
    WCHAR y = *b >= u'A' && *b <= u'Z' ? (WCHAR)(*b + 32) : *b;
    if (x != y) return FALSE;
    if (!x) return TRUE;
  }
}

static void ChooseLanguage(void) {
  WCHAR language[32] = {0};
  g_texts = kEnglish;
  if (SUCCEEDED(RegistryGetString(HKEY_CURRENT_USER, u"Software\\mivo\\mivo", u"Language", language, 32)) &&
      (SameText(language, u"German") || SameText(language, u"Deutsch"))) {
    g_texts = kGerman;
  }
  g_info.name = g_texts[T_NAME];
}

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

/* Appends a number of at least `width` digits (leading zeros). */
static void AppendNumber(WCHAR* buffer, int capacity, long value, int width) {
  WCHAR digits[24];
  int i = 23;
  unsigned long v = value < 0 ? (unsigned long)(-value) : (unsigned long)value;
  digits[i] = 0;
  do {
    digits[--i] = (WCHAR)(u'0' + v % 10);
    v /= 10;
    --width;
  } while (v || width > 0);
  if (value < 0) digits[--i] = u'-';
  Append(buffer, capacity, digits + i);
}

/* ---- Dates ----------------------------------------------------------------------------------------------------- */

static BOOL IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

static int DaysInMonth(int y, int m) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

static BOOL ValidDate(int y, int m, int d) {
  return y >= 1601 && y <= 9999 && m >= 1 && m <= 12 && d >= 1 && d <= DaysInMonth(y, m);
}

/* Days since 1970-01-01 of a civil date (Howard Hinnant's algorithm). */
static long DayNumber(int y, int m, int d) {
  long era, yoe, doy, doe;
  y -= m <= 2;
  era = (y >= 0 ? y : y - 399) / 400;
  yoe = y - era * 400;
  doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

static long Today(void) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return DayNumber(now.wYear, now.wMonth, now.wDay);
}

/* Reads "YYYY-MM-DD" (or "DD.MM.YYYY"), blanks around it allowed. */
static BOOL ParseDate(const WCHAR* s, int* year, int* month, int* day) {
  long parts[3] = {0, 0, 0};
  int digits[3] = {0, 0, 0};
  int n = 0;
  WCHAR separator = 0;
  while (*s == u' ') ++s;
  for (; *s && *s != u' '; ++s) {
    if (*s >= u'0' && *s <= u'9') {
      if (digits[n] >= 4) return FALSE;
      parts[n] = parts[n] * 10 + (*s - u'0');
      ++digits[n];
    } else if ((*s == u'-' || *s == u'.' || *s == u'/') && n < 2 && digits[n] > 0 && (!separator || separator == *s)) {
      separator = *s;
      ++n;
    } else {
      return FALSE;
    }
  }
  while (*s == u' ') ++s;
  if (*s || n != 2 || !digits[2]) return FALSE;
  if (separator == u'-' && digits[0] == 4) {
    *year = (int)parts[0], *month = (int)parts[1], *day = (int)parts[2];
  } else if (separator == u'.' && digits[2] == 4) {
    *day = (int)parts[0], *month = (int)parts[1], *year = (int)parts[2];
  } else {
    return FALSE;
  }
  return ValidDate(*year, *month, *day);
}

/* ---- The gadget ---------------------------------------------------------------------------------------------- */

typedef struct CountdownGadget {
  MIVOOWNER owner;              /* mivo's gadget that hosts this one */
  int year, month, day;         /* the date counted to */
  WCHAR title[TITLE_CHARS + 1]; /* what happens then; may be empty */
  long paintedDay;              /* the day painted last: OnTimer asks for a repaint when it changed */
} CountdownGadget;

static void SetDefaults(CountdownGadget* g) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  g->year = now.wYear + 1;
  g->month = 1;
  g->day = 1;
  g->title[0] = 0;
  Append(g->title, TITLE_CHARS + 1, g_texts[T_DEFAULT_TITLE]);
}

static void DateText(const CountdownGadget* g, WCHAR* buffer, int capacity) {
  buffer[0] = 0;
  AppendNumber(buffer, capacity, g->year, 4);
  Append(buffer, capacity, u"-");
  AppendNumber(buffer, capacity, g->month, 2);
  Append(buffer, capacity, u"-");
  AppendNumber(buffer, capacity, g->day, 2);
}

/* The large line ("123", or "Today!") and the small one ("days until New Year"). */
static void Describe(const CountdownGadget* g, WCHAR* big, WCHAR* small, int capacity) {
  long days = DayNumber(g->year, g->month, g->day) - Today();
  long count = days < 0 ? -days : days;
  big[0] = small[0] = 0;
  if (days == 0) {
    Append(big, capacity, g_texts[T_TODAY]);
    Append(small, capacity, g->title);
    return;
  }
  AppendNumber(big, capacity, count, 1);
  Append(small, capacity, g_texts[count == 1 ? T_DAY : T_DAYS]);
  if (days > 0) {
    Append(small, capacity, u" ");
    Append(small, capacity, g_texts[T_UNTIL]);
    if (g->title[0]) Append(small, capacity, u" ");
    Append(small, capacity, g->title);
  } else {
    Append(small, capacity, u" ");
    Append(small, capacity, g_texts[T_AGO]);
    if (g->title[0]) {
      Append(small, capacity, u": ");
      Append(small, capacity, g->title);
    }
  }
}

static int ScaleOf(HDC dc) {
  int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
  return dpi >= 192 ? 2 : 1;
}

static HFONT MakeFont(int height, int weight) {
  LOGFONTW lf = {0};
  lf.lfHeight = -height;
  lf.lfWeight = weight;
  lf.lfQuality = CLEARTYPE_QUALITY;
  lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
  Append(lf.lfFaceName, LF_FACESIZE, u"Arial");
  return CreateFontIndirectW(&lf);
}

/* Centred text with a shadow in the theme's background colour. */
static void DrawCentred(HDC dc, const WCHAR* text, RECT box, int scale, UINT format) {
  RECT shadow = box;
  shadow.left += scale;
  shadow.right += scale;
  shadow.top += scale;
  shadow.bottom += scale;
  SetTextColor(dc, g_api->GetThemeBackgroundColor(g_host));
  DrawTextW(dc, text, -1, &shadow, DT_CENTER | DT_NOPREFIX | format);
  SetTextColor(dc, g_api->GetThemeTextColor(g_host));
  DrawTextW(dc, text, -1, &box, DT_CENTER | DT_NOPREFIX | format);
}

MIVO_PLUGIN_EXPORT void mivoGadgetAPI_OnPaint(MIVOGADGET gadget, HDC dc) {
  CountdownGadget* g = (CountdownGadget*)gadget;
  WCHAR big[32], small[96];
  RECT r, top, bottom;
  int scale, split;
  HFONT large, normal;
  if (!g || !dc) return;
  g->paintedDay = Today();
  g_api->GetGadgetRect(&r, g->owner);
  scale = ScaleOf(dc);
  Describe(g, big, small, 96);
  SetBkMode(dc, TRANSPARENT);
  /* The number takes the upper part, the words under it (up to two lines). */
  split = r.top + (r.bottom - r.top) * 5 / 9;
  top = r;
  top.bottom = split;
  bottom = r;
  bottom.top = split;
  bottom.left += 2 * scale;
  bottom.right -= 2 * scale;
  large = MakeFont(30 * scale, FW_BOLD);
  normal = MakeFont(12 * scale, FW_NORMAL);
  SelectObject(dc, large);
  DrawCentred(dc, big, top, scale, DT_SINGLELINE | DT_BOTTOM);
  SelectObject(dc, normal);
  DrawCentred(dc, small, bottom, scale, DT_WORDBREAK | DT_END_ELLIPSIS);
  SelectObject(dc, GetStockObject(SYSTEM_FONT));
  DeleteObject(large);
  DeleteObject(normal);
}

MIVO_PLUGIN_EXPORT void mivoGadgetAPI_Save(MIVOGADGET gadget, MIVOARCHIVE archive) {
  CountdownGadget* g = (CountdownGadget*)gadget;
  g_api->WriteInt(archive, SETTINGS_VERSION);
  g_api->WriteInt(archive, g->year);
  g_api->WriteInt(archive, g->month);
  g_api->WriteInt(archive, g->day);
  g_api->WriteString(archive, g->title);
}

MIVO_PLUGIN_EXPORT void mivoGadgetAPI_Load(MIVOGADGET gadget, MIVOARCHIVE archive) {
  CountdownGadget* g = (CountdownGadget*)gadget;
  WCHAR title[TITLE_CHARS + 1] = {0};
  int year, month, day;
  if (g_api->ReadInt(archive) < 1) return;
  year = g_api->ReadInt(archive);
  month = g_api->ReadInt(archive);
  day = g_api->ReadInt(archive);
  /* ReadString writes no terminating zero: the buffer is one longer than the capacity, and zeroed. */
  g_api->ReadString(archive, title, TITLE_CHARS);
  if (!ValidDate(year, month, day)) return;
  g->year = year;
  g->month = month;
  g->day = day;
  g->title[0] = 0;
  Append(g->title, TITLE_CHARS + 1, title);
}

enum { MENU_DATE = 1, MENU_TITLE = 2 };

static LRESULT Command(CountdownGadget* g, WPARAM id, const WCHAR* text) {
  int year, month, day;
  if (!text) return FALSE;
  if (id == MENU_DATE) {
    if (!ParseDate(text, &year, &month, &day)) {
      MessageBoxW(NULL, g_texts[T_BAD_DATE], g_texts[T_NAME], MB_OK | MB_ICONWARNING);
      return FALSE;
    }
    g->year = year;
    g->month = month;
    g->day = day;
    return TRUE;
  }
  if (id == MENU_TITLE) {
    g->title[0] = 0;
    Append(g->title, TITLE_CHARS + 1, text);
    return TRUE;
  }
  return FALSE;
}

MIVO_PLUGIN_EXPORT LRESULT mivoGadgetAPI_OnMessage(MIVOGADGET gadget, UINT message, WPARAM wParam, LPARAM lParam) {
  CountdownGadget* g = (CountdownGadget*)gadget;
  switch (message) {
    case MIVO_GM_GETMENUITEM: {
      mivoMenuItem* item = (mivoMenuItem*)lParam;
      if (wParam > 1) return FALSE;
      item->flags = MIVO_MENU_ASKTEXT;
      if (wParam == 0) {
        item->id = MENU_DATE;
        Append(item->text, 64, g_texts[T_SET_DATE]);
        Append(item->prompt, 64, g_texts[T_DATE_PROMPT]);
        DateText(g, item->value, 128);
      } else {
        item->id = MENU_TITLE;
        Append(item->text, 64, g_texts[T_SET_TITLE]);
        Append(item->prompt, 64, g_texts[T_TITLE_PROMPT]);
        Append(item->value, 128, g->title);
      }
      return TRUE;
    }
    case MIVO_GM_MENUCOMMAND: return Command(g, wParam, (const WCHAR*)lParam);
    case MIVO_GM_GETTEXT: {
      WCHAR* text = (WCHAR*)lParam;
      WCHAR big[32], small[96];
      if (!text || (int)wParam < 1) return FALSE;
      Describe(g, big, small, 96);
      text[0] = 0;
      Append(text, (int)wParam, big);
      Append(text, (int)wParam, u" ");
      Append(text, (int)wParam, small);
      return TRUE;
    }
    default: return 0;
  }
}

/* Once a minute: a repaint when the day has changed since the last one. */
MIVO_PLUGIN_EXPORT BOOL mivoGadgetAPI_OnTimer(MIVOGADGET gadget) {
  CountdownGadget* g = (CountdownGadget*)gadget;
  return Today() != g->paintedDay;
}

/* ---- The library's exports --------------------------------------------------------------------------------- */

MIVO_PLUGIN_EXPORT void mivoGadgetAPIDll_SetMivoHandle(MIVOHANDLE host) { g_host = host; }

MIVO_PLUGIN_EXPORT void mivoGadgetAPIDll_SetMivoAPI_1(const mivoAPI_1* api) {
  g_api = api;
  ChooseLanguage();
}

MIVO_PLUGIN_EXPORT int mivoGadgetAPIDll_GadgetsCount(void) { return 1; }

MIVO_PLUGIN_EXPORT const mivoGadgetInfo* mivoGadgetAPIDll_GetGadgetInfo(int index) {
  return index == 0 ? &g_info : NULL;
}

MIVO_PLUGIN_EXPORT MIVOGADGET mivoGadgetAPIDll_CreateGadget(MIVOOWNER owner, int index) {
  CountdownGadget* g;
  RECT r;
  mivoGadgetRect size;
  HDC screen;
  int scale;
  if (index != 0 || !g_api) return NULL;
  g = (CountdownGadget*)calloc(1, sizeof *g);
  if (!g) return NULL;
  g->owner = owner;
  g->paintedDay = -1;
  SetDefaults(g);
  screen = GetDC(NULL);
  scale = ScaleOf(screen);
  ReleaseDC(NULL, screen);
  g_api->GetGadgetRect(&r, owner);
  size.left = r.left;
  size.top = r.top;
  size.right = r.left + GADGET_WIDTH * scale;
  size.bottom = r.top + GADGET_HEIGHT * scale;
  size.repaint = 1;
  g_api->SetGadgetRect(owner, &size);
  return g;
}

MIVO_PLUGIN_EXPORT void mivoGadgetAPIDll_DeleteGadget(MIVOGADGET gadget) { free(gadget); }
