/*
 * A well-behaved library with two gadgets, built twice (pair_a.so and
 * pair_b.so, PAIR_B set for the second). Each gadget fills its rectangle
 * with its library's colour, stores a number and a text, and says both in
 * MIVO_GM_GETTEXT; it counts its calls in the probe.
 */
#include <stdlib.h>

#include "mivo/gadget_plugin.h"
#include "tests/plugins/libs/probe.h"

#ifdef PAIR_B
#define LIBRARY u"pair_b"
#define COLOR RGB(0, 0, 255)
static const mivoGadgetInfo kInfo[2] = {{u"B one"}, {u"B two"}};
#else
#define LIBRARY u"pair_a"
#define COLOR RGB(255, 0, 0)
static const mivoGadgetInfo kInfo[2] = {{u"A one"}, {u"A two"}};
#endif

static const mivoAPI_1* g_api;

typedef struct PairGadget {
  MIVOOWNER owner;
  int index;
  int number;
  WCHAR text[17];
} PairGadget;

MIVO_PLUGIN_EXPORT void mivoGadgetAPIDll_SetMivoHandle(MIVOHANDLE host) {
  (void)host;
  ProbeCount(LIBRARY, u"SetMivoHandle");
}
MIVO_PLUGIN_EXPORT void mivoGadgetAPIDll_SetMivoAPI_1(const mivoAPI_1* api) {
  g_api = api;
  ProbeCount(LIBRARY, u"SetMivoAPI_1");
}
MIVO_PLUGIN_EXPORT int mivoGadgetAPIDll_GadgetsCount(void) { return 2; }
MIVO_PLUGIN_EXPORT const mivoGadgetInfo* mivoGadgetAPIDll_GetGadgetInfo(int index) {
  return index >= 0 && index < 2 ? &kInfo[index] : NULL;
}
MIVO_PLUGIN_EXPORT MIVOGADGET mivoGadgetAPIDll_CreateGadget(MIVOOWNER owner, int index) {
  PairGadget* g = (PairGadget*)calloc(1, sizeof *g);
  g->owner = owner;
  g->index = index;
  g->number = 7;
  ProbeCount(LIBRARY, u"CreateGadget");
  return g;
}
MIVO_PLUGIN_EXPORT void mivoGadgetAPIDll_DeleteGadget(MIVOGADGET gadget) {
  ProbeCount(LIBRARY, u"DeleteGadget");
  free(gadget);
}
MIVO_PLUGIN_EXPORT void mivoGadgetAPI_OnPaint(MIVOGADGET gadget, HDC dc) {
  PairGadget* g = (PairGadget*)gadget;
  RECT r;
  HBRUSH brush = CreateSolidBrush(COLOR);
  g_api->GetGadgetRect(&r, g->owner);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
  /* Left selected on purpose: the host must restore its device context. */
  SelectObject(dc, GetStockObject(WHITE_PEN));
  ProbeCount(LIBRARY, u"OnPaint");
}
MIVO_PLUGIN_EXPORT void mivoGadgetAPI_Save(MIVOGADGET gadget, MIVOARCHIVE archive) {
  PairGadget* g = (PairGadget*)gadget;
  g_api->WriteInt(archive, g->number);
  g_api->WriteString(archive, g->text);
}
MIVO_PLUGIN_EXPORT void mivoGadgetAPI_Load(MIVOGADGET gadget, MIVOARCHIVE archive) {
  PairGadget* g = (PairGadget*)gadget;
  int i;
  ProbeCount(LIBRARY, u"Load");
  g->number = g_api->ReadInt(archive);
  for (i = 0; i < 17; ++i) g->text[i] = 0;
  g_api->ReadString(archive, g->text, 16);
}
MIVO_PLUGIN_EXPORT void mivoGadgetAPI_Initialize(MIVOGADGET gadget) {
  (void)gadget;
  ProbeCount(LIBRARY, u"Initialize");
}
MIVO_PLUGIN_EXPORT void mivoGadgetAPI_Uninitialize(MIVOGADGET gadget) {
  (void)gadget;
  ProbeCount(LIBRARY, u"Uninitialize");
}
MIVO_PLUGIN_EXPORT void mivoGadgetAPI_OnLButtonUp(MIVOGADGET gadget, int x, int y) {
  PairGadget* g = (PairGadget*)gadget;
  ProbeSet(LIBRARY, u"TapX", (DWORD)x);
  ProbeSet(LIBRARY, u"TapY", (DWORD)y);
  ++g->number;
}
MIVO_PLUGIN_EXPORT LRESULT mivoGadgetAPI_OnMessage(MIVOGADGET gadget, UINT message, WPARAM wParam, LPARAM lParam) {
  PairGadget* g = (PairGadget*)gadget;
  if (message == MIVO_GM_GETMENUITEM && wParam == 0) {
    mivoMenuItem* item = (mivoMenuItem*)lParam;
    const WCHAR* label = u"Set text";
    int i;
    item->id = 5;
    item->flags = MIVO_MENU_ASKTEXT;
    for (i = 0; label[i]; ++i) item->text[i] = label[i];
    /* No terminating zero in the prompt: the host must not read past it. */
    for (i = 0; i < 64; ++i) item->prompt[i] = u'p';
    return TRUE;
  }
  if (message == MIVO_GM_MENUCOMMAND && wParam == 5 && lParam) {
    const WCHAR* text = (const WCHAR*)lParam;
    int i;
    for (i = 0; i < 16 && text[i]; ++i) g->text[i] = text[i];
    g->text[i] = 0;
    return TRUE;
  }
  if (message == MIVO_GM_GETTEXT) {
    WCHAR* out = (WCHAR*)lParam;
    int n = 0, i;
    const WCHAR* name = kInfo[g->index].name;
    while (*name && n < (int)wParam - 8) out[n++] = *name++;
    out[n++] = u' ';
    out[n++] = (WCHAR)(u'0' + g->number % 10);
    out[n++] = u' ';
    for (i = 0; g->text[i] && n < (int)wParam - 1; ++i) out[n++] = g->text[i];
    out[n] = 0;
    return TRUE;
  }
  return 0;
}
