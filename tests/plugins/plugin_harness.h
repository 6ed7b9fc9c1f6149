// The whole program in this process with its desktop page on top (the
// desktop's harness), and the test libraries installed into the device's
// plug-in folders before anything looks there.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>

#include "desktop/gadget_plugin.h"
#include "desktop/today_plugin_gadget.h"
#include "platform/device/device.h"
#include "platform/registry/registry.h"
#include "tests/desktop/desktop_harness.h"

namespace plugintest {

namespace stdfs = std::filesystem;

// The device's program folder on the host.
inline stdfs::path ProgramFolder() { return stdfs::path(device::DeviceFolder()) / "fs" / "Program Files" / "mivo"; }

// Copies test libraries (by name, without ".so") into the device's folder `sub` of the program folder.
inline void Install(std::initializer_list<const char*> libraries, const char* sub = "GadgetPlugins") {
  const stdfs::path folder = ProgramFolder() / sub;
  stdfs::create_directories(folder);
  for (const char* name : libraries) {
    const std::string file = std::string(name) + ".so";
    stdfs::copy_file(stdfs::path(MIVO_TEST_PLUGIN_DIR) / file, folder / file, stdfs::copy_options::overwrite_existing);
  }
}

// A counter or value a test library left in the probe (0 when none).
inline DWORD Probe(const char16_t* library, const char16_t* name) {
  DWORD value = 0;
  reg::GetDword(HKEY_CURRENT_USER, std::u16string(u"Software\\PluginTest\\") + library, name, &value);
  return value;
}

inline void SetProbe(const char16_t* library, const char16_t* name, DWORD value) {
  reg::SetDword(HKEY_CURRENT_USER, std::u16string(u"Software\\PluginTest\\") + library, name, value);
}

class PluginHarness : public desktoptest::DesktopHarness {
 public:
  PluginHarness(const std::string& name, std::initializer_list<const char*> libraries, int width = 240,
                int height = 320)
      : DesktopHarness("plugins_" + name, 0, width, height) {
    Install(libraries);
  }

  // A plug-in gadget showing the library's gadget (path under the program
  // folder's GadgetPlugins), at the rectangle.
  CmivoGadgetPlugin* AddPlugin(const char16_t* file, int index, RECT rect) {
    CmivoGadgetPlugin* g = Add<CmivoGadgetPlugin>(rect);
    g->Choose(std::u16string(u"\\Program Files\\mivo\\GadgetPlugins\\") + file, index);
    g->SetRect(rect, true);
    Pump();
    return g;
  }

  // The rows of the design-mode menu of the gadget under the point.
  std::vector<std::string> MenuOf(POINT client) {
    Page().SetDesignMode(true);
    HoldAt(client.x, client.y);
    return uitest::Texts("rows");
  }
};

// The centre of a gadget, in the page's client coordinates.
inline POINT CentreOf(const CmivoGadget& g) {
  const RECT& r = g.GetRect();
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace plugintest
