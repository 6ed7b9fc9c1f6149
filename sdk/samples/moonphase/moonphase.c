/*
 * Moon phase: a gadget plug-in for mivo.
 *
 * Shows the moon as it is tonight: its lit part drawn to scale, the phase's
 * name, how much of it is lit and when the next full moon comes. Its settings,
 * stored with the desktop, are the hemisphere (from the south the moon is seen
 * the other way round) and whether the two lines of details show. They are set
 * in the gadget's menu in mivo's design mode; a tap on the gadget shows or
 * hides the details too.
 *
 * A starting point for your own plug-in: the six exports every library needs,
 * a gadget that paints itself, stored settings, entries in the design-mode
 * menu, texts in the device's language. See the SDK's README for building
 * and installing it.
 */
#include <math.h>
#include <stdlib.h>

#include "mivo/gadget_plugin.h"

#define PI 3.14159265358979323846
/* The mean length of a lunation in days, and a new moon to count from (2000-01-06 18:14 UTC) as a Julian day. */
#define SYNODIC_MONTH 29.530588853
#define NEW_MOON_EPOCH 2451550.1
/* The version of the stored settings below. */
#define SETTINGS_VERSION 1
/* The gadget's size at scale 1 (twice that on a VGA screen). */
#define GADGET_WIDTH 196
#define GADGET_HEIGHT 56
/* Steps along each edge of the lit part. */
#define EDGE_STEPS 48

/* ---- What mivo hands the library ------------------------------------------------------------------ */

static MIVOHANDLE g_host;
static const mivoAPI_1* g_api;
/* The gadget's name in the menu, in the device's language (ChooseLanguage). */
static mivoGadgetInfo g_info = {u"Moon phase"};

/* ---- Texts, in English and German (the device's language is mivo's setting "Language") -------------- */

enum {
  T_NAME,
  T_NEW,
  T_WAXING_CRESCENT,
  T_FIRST_QUARTER,
  T_WAXING_GIBBOUS,
  T_FULL,
  T_WANING_GIBBOUS,
  T_LAST_QUARTER,
  T_WANING_CRESCENT,
  T_LIT,
  T_FULL_TODAY,
  T_FULL_TOMORROW,
  T_FULL_IN,
  T_DAYS,
  T_SOUTHERN,
  T_NORTHERN,
  T_SHOW_DETAILS,
  T_HIDE_DETAILS,
  T_COUNT
};

static const WCHAR* const kEnglish[T_COUNT] = {
    [T_NAME] = u"Moon phase",
    [T_NEW] = u"New moon",
    [T_WAXING_CRESCENT] = u"Waxing crescent",
    [T_FIRST_QUARTER] = u"First quarter",
    [T_WAXING_GIBBOUS] = u"Waxing gibbous",
    [T_FULL] = u"Full moon",
    [T_WANING_GIBBOUS] = u"Waning gibbous",
    [T_LAST_QUARTER] = u"Last quarter",
    [T_WANING_CRESCENT] = u"Waning crescent",
    [T_LIT] = u"% lit",
    [T_FULL_TODAY] = u"Full moon today",
    [T_FULL_TOMORROW] = u"Full moon tomorrow",
    [T_FULL_IN] = u"Full moon in ",
    [T_DAYS] = u" days",
    [T_SOUTHERN] = u"Southern hemisphere",
    [T_NORTHERN] = u"Northern hemisphere",
    [T_SHOW_DETAILS] = u"Show details",
    [T_HIDE_DETAILS] = u"Hide details",
};

static const WCHAR* const kGerman[T_COUNT] = {
    [T_NAME] = u"Mondphase",
    [T_NEW] = u"Neumond",
    [T_WAXING_CRESCENT] = u"Zunehmende Sichel",
    [T_FIRST_QUARTER] = u"Erstes Viertel",
    [T_WAXING_GIBBOUS] = u"Zunehmender Mond",
    [T_FULL] = u"Vollmond",
    [T_WANING_GIBBOUS] = u"Abnehmender Mond",
    [T_LAST_QUARTER] = u"Letztes Viertel",
    [T_WANING_CRESCENT] = u"Abnehmende Sichel",
    [T_LIT] = u" % beleuchtet",
    [T_FULL_TODAY] = u"Vollmond heute",
    [T_FULL_TOMORROW] = u"Vollmond morgen",
    [T_FULL_IN] = u"Vollmond in ",
    [T_DAYS] = u" Tagen",
    [T_SOUTHERN] = u"S\u00fcdhalbkugel",
    [T_NORTHERN] = u"Nordhalbkugel",
    [T_SHOW_DETAILS] = u"Details zeigen",
    [T_HIDE_DETAILS] = u"Details verbergen",
};

static const WCHAR* const* g_texts = kEnglish;

/* Whether two texts are equal, ignoring the case of ASCII letters. */
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

/* ---- Small text helpers (plain C has no UTF-16 printf) ---------------------------------------------- */

static int TextLength(const WCHAR* s) {
  int n = 0;
  while (s[n]) ++n;
  return n;
}

/* Appends `s` to the zero-terminated text in `buffer` of `capacity` characters; cuts what does not fit. */
static void Append(WCHAR* buffer, int capacity, const WCHAR* s) {
  int n = TextLength(buffer);
  while (*s && n < capacity - 1) buffer[n++] = *s++;
  buffer[n] = 0;
}

static void AppendNumber(WCHAR* buffer, int capacity, int value) {
  WCHAR digits[12];
  int i = 11;
  unsigned int v = value < 0 ? (unsigned int)(-(long long)value) : (unsigned int)value;
  digits[i] = 0;
  do {
    digits[--i] = (WCHAR)(u'0' + v % 10);
    v /= 10;
  } while (v);
  if (value < 0) digits[--i] = u'-';
  Append(buffer, capacity, digits + i);
}

/* ---- The moon ------------------------------------------------------------------------------------------ */

typedef struct MoonState {
  double phase; /* 0 new moon, 0.25 first quarter, 0.5 full, 0.75 last quarter */
  int litPercent;
  int daysToFull; /* whole days until the next full moon, 0 when it is today */
  int name;       /* T_NEW .. T_WANING_CRESCENT */
} MoonState;

/* The Julian day of a UTC time (Fliegel and van Flandern's day number). */
static double JulianDay(const SYSTEMTIME* t) {
  long a = (14 - t->wMonth) / 12;
  long y = t->wYear + 4800 - a;
  long m = t->wMonth + 12 * a - 3;
  long day = t->wDay + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 - 32045;
  return (double)day - 0.5 + (t->wHour + (t->wMinute + t->wSecond / 60.0) / 60.0) / 24.0;
}

static MoonState MoonNow(void) {
  SYSTEMTIME now;
  MoonState moon;
  double age, toFull;
  GetSystemTime(&now);
  age = fmod(JulianDay(&now) - NEW_MOON_EPOCH, SYNODIC_MONTH);
  if (age < 0) age += SYNODIC_MONTH;
  moon.phase = age / SYNODIC_MONTH;
  moon.litPercent = (int)floor((1.0 - cos(2.0 * PI * moon.phase)) * 50.0 + 0.5);
  /* Eight phases, each centred on its moment (the new moon from 1/16 before to 1/16 after). */
  moon.name = T_NEW + ((int)floor(moon.phase * 8.0 + 0.5) % 8);
  toFull = (0.5 - moon.phase) * SYNODIC_MONTH;
  if (toFull < -0.5) toFull += SYNODIC_MONTH;
  moon.daysToFull = toFull < 0.5 ? 0 : (int)floor(toFull + 0.5);
  return moon;
}

/* The disc, dark, and its lit part between the limb and the terminator (an ellipse's half). */
static void DrawMoon(HDC dc, int cx, int cy, int r, double phase, BOOL southern, int scale) {
  POINT edge[2 * (EDGE_STEPS + 1)];
  double c = cos(2.0 * PI * phase);
  BOOL waxing = phase < 0.5;
  HBRUSH dark = CreateSolidBrush(RGB(52, 56, 70));
  HBRUSH light = CreateSolidBrush(RGB(240, 234, 206));
  HPEN rim = CreatePen(PS_SOLID, scale, RGB(110, 114, 128));
  int i;
  SelectObject(dc, rim);
  SelectObject(dc, dark);
  Ellipse(dc, cx - r, cy - r, cx + r + 1, cy + r + 1);
  for (i = 0; i <= EDGE_STEPS; ++i) {
    double y = -r + 2.0 * r * i / EDGE_STEPS;
    double w = sqrt(r * (double)r - y * y);
    /* Waxing, the right side is lit (from the north); waning, the left. */
    double limb = waxing ? w : -w;
    double terminator = waxing ? w * c : -w * c;
    if (southern) {
      limb = -limb;
      terminator = -terminator;
    }
    edge[i].x = cx + (LONG)floor(limb + 0.5);
    edge[i].y = cy + (LONG)floor(y + 0.5);
    edge[2 * EDGE_STEPS + 1 - i].x = cx + (LONG)floor(terminator + 0.5);
    edge[2 * EDGE_STEPS + 1 - i].y = edge[i].y;
  }
  if (c < 0.999) {
    SelectObject(dc, GetStockObject(NULL_PEN));
    SelectObject(dc, light);
    Polygon(dc, edge, 2 * (EDGE_STEPS + 1));
  }
  SelectObject(dc, GetStockObject(NULL_PEN));
  DeleteObject(dark);
  DeleteObject(light);
  DeleteObject(rim);
}

/* ---- The gadget ------------------------------------------------------------------------------------------ */

typedef struct MoonGadget {
  MIVOOWNER owner; /* mivo's gadget that hosts this one */
  BOOL southern;   /* seen from the southern hemisphere: the lit side mirrored */
  BOOL details;    /* the lines of how much is lit and the next full moon show */
  int lastHour;    /* the hour painted last: OnTimer asks for a repaint when it passed */
} MoonGadget;

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

static void Shift(RECT* r, int dx, int dy) {
  r->left += dx;
  r->right += dx;
  r->top += dy;
  r->bottom += dy;
}

/* One line of text with a shadow in the theme's background colour, so it reads on any wallpaper. */
static void DrawLine(HDC dc, const WCHAR* text, RECT* box, int scale) {
  RECT shadow = *box;
  COLORREF color = g_api->GetThemeTextColor(g_host);
  Shift(&shadow, scale, scale);
  SetTextColor(dc, g_api->GetThemeBackgroundColor(g_host));
  DrawTextW(dc, text, -1, &shadow, DT_LEFT | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  SetTextColor(dc, color);
  DrawTextW(dc, text, -1, box, DT_LEFT | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
}

static void Describe(const MoonGadget* g, const MoonState* moon, WCHAR* lit, WCHAR* full, int capacity) {
  (void)g;
  lit[0] = full[0] = 0;
  AppendNumber(lit, capacity, moon->litPercent);
  Append(lit, capacity, g_texts[T_LIT]);
  if (moon->daysToFull == 0) {
    Append(full, capacity, g_texts[T_FULL_TODAY]);
  } else if (moon->daysToFull == 1) {
    Append(full, capacity, g_texts[T_FULL_TOMORROW]);
  } else {
    Append(full, capacity, g_texts[T_FULL_IN]);
    AppendNumber(full, capacity, moon->daysToFull);
    Append(full, capacity, g_texts[T_DAYS]);
  }
}

MIVO_PLUGIN_EXPORT void mivoGadgetAPI_OnPaint(MIVOGADGET gadget, HDC dc) {
  MoonGadget* g = (MoonGadget*)gadget;
  MoonState moon = MoonNow();
  RECT r, line;
  int scale, pad, diameter, lines, lineHeight, textLeft, top;
  WCHAR lit[64], full[64];
  HFONT small, normal;
  SYSTEMTIME local;
  if (!g || !dc) return;
  GetLocalTime(&local);
  g->lastHour = local.wHour;
  g_api->GetGadgetRect(&r, g->owner);
  scale = ScaleOf(dc);
  pad = 3 * scale;
  diameter = r.bottom - r.top - 2 * pad;
  if (diameter > r.right - r.left - 2 * pad) diameter = r.right - r.left - 2 * pad;
  if (diameter < 4) return;
  DrawMoon(dc, r.left + pad + diameter / 2, (r.top + r.bottom) / 2, diameter / 2, moon.phase, g->southern, scale);

  /* The texts right of the disc, when there is room for them. */
  textLeft = r.left + 2 * pad + diameter + 2 * scale;
  if (r.right - pad - textLeft < 40 * scale) return;
  lines = g->details ? 3 : 1;
  lineHeight = 17 * scale;
  top = (r.top + r.bottom - lines * lineHeight) / 2;
  SetBkMode(dc, TRANSPARENT);
  small = g_api->GetSmallFont(g_host);
  SelectObject(dc, small);
  line.left = textLeft;
  line.right = r.right - pad;
  line.top = top;
  line.bottom = top + lineHeight;
  DrawLine(dc, g_texts[moon.name], &line, scale);
  if (!g->details) return;
  Describe(g, &moon, lit, full, 64);
  normal = MakeFont(12 * scale, FW_NORMAL);
  SelectObject(dc, normal);
  Shift(&line, 0, lineHeight);
  DrawLine(dc, lit, &line, scale);
  Shift(&line, 0, lineHeight);
  DrawLine(dc, full, &line, scale);
  SelectObject(dc, small);
  DeleteObject(normal);
}

/* ---- Settings and the design-mode menu ------------------------------------------------------------------ */

MIVO_PLUGIN_EXPORT void mivoGadgetAPI_Save(MIVOGADGET gadget, MIVOARCHIVE archive) {
  MoonGadget* g = (MoonGadget*)gadget;
  g_api->WriteInt(archive, SETTINGS_VERSION);
  g_api->WriteBool(archive, g->southern);
  g_api->WriteBool(archive, g->details);
}

MIVO_PLUGIN_EXPORT void mivoGadgetAPI_Load(MIVOGADGET gadget, MIVOARCHIVE archive) {
  MoonGadget* g = (MoonGadget*)gadget;
  /* Read back exactly what Save wrote; a later version would read its additions after these. */
  int version = g_api->ReadInt(archive);
  if (version < 1) return;
  g->southern = g_api->ReadBool(archive);
  g->details = g_api->ReadBool(archive);
}

enum { MENU_HEMISPHERE = 1, MENU_DETAILS = 2 };

MIVO_PLUGIN_EXPORT LRESULT mivoGadgetAPI_OnMessage(MIVOGADGET gadget, UINT message, WPARAM wParam, LPARAM lParam) {
  MoonGadget* g = (MoonGadget*)gadget;
  switch (message) {
    case MIVO_GM_GETMENUITEM: {
      mivoMenuItem* item = (mivoMenuItem*)lParam;
      /* Each entry says what choosing it does. */
      if (wParam == 0) {
        item->id = MENU_HEMISPHERE;
        Append(item->text, 64, g_texts[g->southern ? T_NORTHERN : T_SOUTHERN]);
        return TRUE;
      }
      if (wParam == 1) {
        item->id = MENU_DETAILS;
        Append(item->text, 64, g_texts[g->details ? T_HIDE_DETAILS : T_SHOW_DETAILS]);
        return TRUE;
      }
      return FALSE;
    }
    case MIVO_GM_MENUCOMMAND:
      if (wParam == MENU_HEMISPHERE)
        g->southern = !g->southern;
      else if (wParam == MENU_DETAILS)
        g->details = !g->details;
      else
        return FALSE;
      return TRUE;
    case MIVO_GM_GETTEXT: {
      WCHAR* text = (WCHAR*)lParam;
      int capacity = (int)wParam;
      MoonState moon = MoonNow();
      WCHAR lit[64], full[64];
      if (!text || capacity < 1) return FALSE;
      text[0] = 0;
      Describe(g, &moon, lit, full, 64);
      Append(text, capacity, g_texts[moon.name]);
      Append(text, capacity, u", ");
      Append(text, capacity, lit);
      if (g->southern) Append(text, capacity, u" (S)");
      return TRUE;
    }
    default: return 0;
  }
}

/* A tap shows or hides the details; mivo repaints the gadget after a tap. */
MIVO_PLUGIN_EXPORT void mivoGadgetAPI_OnLButtonUp(MIVOGADGET gadget, int x, int y) {
  MoonGadget* g = (MoonGadget*)gadget;
  (void)x;
  (void)y;
  g->details = !g->details;
}

/* Once a minute: a repaint each hour keeps the lit part and the days true. */
MIVO_PLUGIN_EXPORT BOOL mivoGadgetAPI_OnTimer(MIVOGADGET gadget) {
  MoonGadget* g = (MoonGadget*)gadget;
  SYSTEMTIME now;
  GetLocalTime(&now);
  return now.wHour != g->lastHour;
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
  MoonGadget* g;
  RECT r;
  mivoGadgetRect size;
  HDC screen;
  int scale;
  if (index != 0 || !g_api) return NULL;
  g = (MoonGadget*)calloc(1, sizeof *g);
  if (!g) return NULL;
  g->owner = owner;
  g->details = TRUE;
  g->lastHour = -1;
  /* The gadget's own size where it stands (a stored layout puts it back where the user left it). */
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
