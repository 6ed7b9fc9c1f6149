/* Every required export but mivoGadgetAPIDll_DeleteGadget: offers nothing, once called. */
#include "mivo/gadget_plugin.h"
#include "tests/plugins/libs/probe.h"

static const mivoGadgetInfo kInfo = {u"Undeletable"};

MIVO_PLUGIN_EXPORT void mivoGadgetAPIDll_SetMivoHandle(MIVOHANDLE host) {
  (void)host;
  ProbeCount(u"no_delete", u"SetMivoHandle");
}
MIVO_PLUGIN_EXPORT void mivoGadgetAPIDll_SetMivoAPI_1(const mivoAPI_1* api) {
  (void)api;
  ProbeCount(u"no_delete", u"SetMivoAPI_1");
}
MIVO_PLUGIN_EXPORT int mivoGadgetAPIDll_GadgetsCount(void) {
  ProbeCount(u"no_delete", u"GadgetsCount");
  return 1;
}
MIVO_PLUGIN_EXPORT const mivoGadgetInfo* mivoGadgetAPIDll_GetGadgetInfo(int index) {
  return index == 0 ? &kInfo : NULL;
}
MIVO_PLUGIN_EXPORT MIVOGADGET mivoGadgetAPIDll_CreateGadget(MIVOOWNER owner, int index) {
  (void)owner;
  (void)index;
  ProbeCount(u"no_delete", u"CreateGadget");
  return (MIVOGADGET)1;
}
