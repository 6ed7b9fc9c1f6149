// The SDK as an author gets it: installed from the build into a prefix of its
// own, a sample copied out of it and built there with CMake alone
// (find_package(mivo-sdk), mivo_add_plugin), and the library that comes out
// loaded by mivo and painting on its desktop.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/plugins/plugin_harness.h"
#include "tests/support/mivo_runner.h"
#include "tests/tools/run_tool.h"

namespace {

using namespace plugintest;
using testing_support::RunTool;
using testing_support::ToolResult;

TEST(SdkPackage, APluginBuiltOutsideTheTreeAgainstTheInstalledSdkLoadsAndPaints) {
  const stdfs::path dir = testing_support::FreshDir("sdk_package");
  const stdfs::path prefix = dir / "prefix";
  const std::string cmake = MIVO_CMAKE_COMMAND;
  ToolResult run = RunTool(cmake, {"--install", MIVO_BINARY_DIR, "--component", "sdk", "--prefix", prefix.string()});
  ASSERT_EQ(run.code, 0) << run.out << run.err;
  for (const char* file : {"include/mivo/platform.h", "include/mivo/gadget_plugin.h", "include/mivo/today.h",
                           "lib/cmake/mivo-sdk/mivo-sdkConfig.cmake", "lib/cmake/mivo-sdk/mivo-sdkConfigVersion.cmake",
                           "share/mivo-sdk/README.md", "share/mivo-sdk/samples/ownerinfo/ownerinfo.c"}) {
    EXPECT_TRUE(stdfs::exists(prefix / file)) << file;
  }
  // Only the SDK: nothing of the program itself.
  EXPECT_FALSE(stdfs::exists(prefix / "bin"));

  const stdfs::path source = dir / "countdown";
  stdfs::copy(prefix / "share/mivo-sdk/samples/countdown", source, stdfs::copy_options::recursive);
  run = RunTool(cmake, {"-S", source.string(), "-B", (source / "build").string(), "-DCMAKE_BUILD_TYPE=Release",
                       "-DCMAKE_PREFIX_PATH=" + prefix.string(), std::string("-DCMAKE_C_COMPILER=") + MIVO_C_COMPILER});
  ASSERT_EQ(run.code, 0) << run.out << run.err;
  run = RunTool(cmake, {"--build", (source / "build").string()});
  ASSERT_EQ(run.code, 0) << run.out << run.err;
  const stdfs::path library = source / "build" / "countdown.so";
  ASSERT_TRUE(stdfs::exists(library));

  // Loaded by mivo from its plug-in folder, it counts down on the desktop.
  PluginHarness h("sdk_package", {});
  stdfs::copy_file(library, ProgramFolder() / "GadgetPlugins" / "countdown.so");
  CmivoGadgetPlugin* g = h.Add<CmivoGadgetPlugin>(RECT{20, 40, 200, 120});
  const uitest::Capture before = uitest::UiHarness::Screen();
  g->Choose(u"\\Program Files\\mivo\\GadgetPlugins\\countdown.so", 0);
  ASSERT_TRUE(g->IsLive());
  EXPECT_NE(g->GetDumpText().find(u"days until New Year"), std::u16string::npos);
  h.Pump();
  const uitest::Capture after = uitest::UiHarness::Screen();
  const RECT r = g->GetRect();
  int changed = 0;
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) {
      const POINT p = h.OnScreen(x, y);
      changed += before.At(p.x, p.y) != after.At(p.x, p.y);
    }
  }
  EXPECT_GT(changed, 200) << "the plug-in painted its number and words";
}

}  // namespace
