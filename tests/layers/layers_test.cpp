// Includes only go down the layers; a file that reaches up fails the suite
// with its name and line.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/fs/temp_dir.h"
#include "tests/layers/include_check.h"

namespace {

void Write(const std::string& path, const std::string& text) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path) << text;
}

TEST(Layers, NoFileOfTheSourceTreeIncludesALayerAboveItsOwn) {
  const std::vector<layers::Violation> violations = layers::CheckIncludes(MIVO_SOURCE_DIR);
  for (const layers::Violation& v : violations) ADD_FAILURE() << layers::Describe(v);
  EXPECT_TRUE(violations.empty());
}

TEST(Layers, EachRuleNamesTheOffendingFileAndLine) {
  testing_support::TempDir root;
  ASSERT_FALSE(root.path().empty());
  // Allowed: down the layers, peers of one rank, tests and tools anywhere, system headers.
  Write(root / "ui/list.cpp", "#include <vector>\n#include \"core/core.h\"\n#include \"look/skin.h\"\n");
  Write(root / "pages/page.cpp", "#include \"desktop/desktop.h\"\n#include \"pim/sms.h\"\n#include \"ui/wnd.h\"\n");
  Write(root / "app/main.cpp", "#include \"app/core.h\"\n#include \"pages/page.h\"\n");
  Write(root / "tests/ui/t.cpp", "#include \"app/app_core.h\"\n");
  Write(root / "tools/t/main.cpp", "#include \"app/main_frame.h\"\n");
  // Refused: each layer reaching up.
  Write(root / "platform/gdi/gdi.cpp", "#include \"platform/win32/types.h\"\n#include \"look/skin.h\"\n");
  Write(root / "look/skin.h", "#pragma once\n\n#include \"core/core.h\"\n");
  Write(root / "core/core.cpp", "# include \"ui/page_wnd.h\"\n");
  Write(root / "ui/wnd.cpp", "#include \"actions/action.h\"\n#include \"pages/page.h\"\n");
  Write(root / "desktop/desk.cpp", "#include \"app/main_frame.h\"\n");
  Write(root / "sdk/plugin.h", "#include \"app/app_core.h\"\n#include \"platform/win32/types.h\"\n");
  // Build output is not the source.
  Write(root / "build/app/gen.cpp", "#include \"app/app_core.h\"\n");
  Write(root / "platform/build-x/gen.cpp", "#include \"app/app_core.h\"\n");

  std::vector<std::string> found;
  for (const layers::Violation& v : layers::CheckIncludes(root.path())) found.push_back(layers::Describe(v));
  EXPECT_EQ(found, (std::vector<std::string>{
                       "core/core.cpp:1: includes ui/page_wnd.h",
                       "desktop/desk.cpp:1: includes app/main_frame.h",
                       "look/skin.h:3: includes core/core.h",
                       "platform/gdi/gdi.cpp:2: includes look/skin.h",
                       "sdk/plugin.h:1: includes app/app_core.h",
                       "ui/wnd.cpp:1: includes actions/action.h",
                       "ui/wnd.cpp:2: includes pages/page.h",
                   }));
}

}  // namespace
