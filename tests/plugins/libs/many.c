/* A library that claims a hundred thousand gadgets: the host takes only so many. */
#include "mivo/gadget_plugin.h"

static const mivoGadgetInfo kInfo = {u"Many"};

MIVO_PLUGIN_EXPORT void mivoGadgetAPIDll_SetMivoHandle(MIVOHANDLE host) { (void)host; }
MIVO_PLUGIN_EXPORT void mivoGadgetAPIDll_SetMivoAPI_1(const mivoAPI_1* api) { (void)api; }
MIVO_PLUGIN_EXPORT int mivoGadgetAPIDll_GadgetsCount(void) { return 100000; }
MIVO_PLUGIN_EXPORT const mivoGadgetInfo* mivoGadgetAPIDll_GetGadgetInfo(int index) {
  (void)index;
  return &kInfo;
}
MIVO_PLUGIN_EXPORT MIVOGADGET mivoGadgetAPIDll_CreateGadget(MIVOOWNER owner, int index) {
  (void)owner;
  (void)index;
  return (MIVOGADGET)&kInfo;
}
MIVO_PLUGIN_EXPORT void mivoGadgetAPIDll_DeleteGadget(MIVOGADGET gadget) { (void)gadget; }
