// A library written in C++ whose Load reads far more than its Save wrote: the
// host must neither crash nor let it run on what it half read.
#include <cstdlib>

#include "mivo/gadget_plugin.h"
#include "tests/plugins/libs/probe.h"

namespace {

const mivoAPI_1* g_api = nullptr;
const mivoGadgetInfo kInfo = {u"Greedy"};

struct Greedy {
  int numbers[3] = {0, 0, 0};
  char16_t text[9] = {};
};

}  // namespace

extern "C" {

MIVO_PLUGIN_EXPORT void mivoGadgetAPIDll_SetMivoHandle(MIVOHANDLE) {}
MIVO_PLUGIN_EXPORT void mivoGadgetAPIDll_SetMivoAPI_1(const mivoAPI_1* api) { g_api = api; }
MIVO_PLUGIN_EXPORT int mivoGadgetAPIDll_GadgetsCount(void) { return 1; }
MIVO_PLUGIN_EXPORT const mivoGadgetInfo* mivoGadgetAPIDll_GetGadgetInfo(int index) {
  return index == 0 ? &kInfo : nullptr;
}
MIVO_PLUGIN_EXPORT MIVOGADGET mivoGadgetAPIDll_CreateGadget(MIVOOWNER, int) {
  ProbeCount(u"greedy", u"CreateGadget");
  return new Greedy;
}
MIVO_PLUGIN_EXPORT void mivoGadgetAPIDll_DeleteGadget(MIVOGADGET gadget) {
  ProbeCount(u"greedy", u"DeleteGadget");
  delete static_cast<Greedy*>(gadget);
}
MIVO_PLUGIN_EXPORT void mivoGadgetAPI_Save(MIVOGADGET, MIVOARCHIVE archive) { g_api->WriteInt(archive, 42); }
MIVO_PLUGIN_EXPORT void mivoGadgetAPI_Load(MIVOGADGET gadget, MIVOARCHIVE archive) {
  auto* g = static_cast<Greedy*>(gadget);
  for (int& n : g->numbers) n = g_api->ReadInt(archive);
  g_api->ReadString(archive, g->text, 8);
  ProbeSet(u"greedy", u"LastRead", static_cast<DWORD>(g->numbers[2]) + (g_api->ReadBool(archive) ? 100u : 0u));
}

}  // extern "C"
