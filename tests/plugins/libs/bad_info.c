/*
 * Four gadget indices, two of them unusable: index 1 has no information and
 * index 2 information without a name. The host must never create those, nor
 * any index past the count: CreateGadget aborts the process if it does.
 */
#include <stdlib.h>

#include "mivo/gadget_plugin.h"
#include "tests/plugins/libs/probe.h"

static const mivoGadgetInfo kGood = {u"Good"};
static const mivoGadgetInfo kNameless = {NULL};
static const mivoGadgetInfo kAlsoGood = {u"Also good"};

MIVO_PLUGIN_EXPORT void mivoGadgetAPIDll_SetMivoHandle(MIVOHANDLE host) { (void)host; }
MIVO_PLUGIN_EXPORT void mivoGadgetAPIDll_SetMivoAPI_1(const mivoAPI_1* api) { (void)api; }
MIVO_PLUGIN_EXPORT int mivoGadgetAPIDll_GadgetsCount(void) { return 4; }
MIVO_PLUGIN_EXPORT const mivoGadgetInfo* mivoGadgetAPIDll_GetGadgetInfo(int index) {
  switch (index) {
    case 0: return &kGood;
    case 2: return &kNameless;
    case 3: return &kAlsoGood;
    default: return NULL;
  }
}
MIVO_PLUGIN_EXPORT MIVOGADGET mivoGadgetAPIDll_CreateGadget(MIVOOWNER owner, int index) {
  (void)owner;
  if (index != 0 && index != 3) abort();
  ProbeCount(u"bad_info", u"CreateGadget");
  return malloc(1);
}
MIVO_PLUGIN_EXPORT void mivoGadgetAPIDll_DeleteGadget(MIVOGADGET gadget) { free(gadget); }
