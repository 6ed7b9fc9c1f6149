// Reference screenshots of the real program: each scene is driven by its
// texts through `dump`, drawn at 240x320 and 480x640 on a device made with
// a fixed seed, in virtual time, and compared with the picture kept in
// tests/reference/. A difference leaves the actual picture and a difference
// image under build/tests/reference/failed/ and names them; a missing
// reference fails with the command that makes it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "tests/reference/image_compare.h"
#include "tests/support/mivo_runner.h"
#include "tests/support/navigate.h"
#include "tests/tools/run_tool.h"

namespace {

namespace stdfs = std::filesystem;
using testing_support::ActOnText;
using testing_support::FindText;
using testing_support::MivoSession;

struct Size {
  int w, h;
};

std::string SizeName(const Size& s) { return std::to_string(s.w) + "x" + std::to_string(s.h); }

// Opens the help of the row with this text with its side button, a square
// of 25·S at the row's right (5 pixels in) in the middle of its 63·S.
void OpenHelp(MivoSession& s, const std::string& text, int S) {
  int r[4];
  ASSERT_TRUE(FindText(s.Dump(), text, r)) << text;
  s.Send("tap " + std::to_string(r[2] - 5 - 12 * S) + " " + std::to_string(r[1] + 32 * S));
  s.Send("wait 500");
}

void OpenMainMenu(MivoSession& s, const Size& size) {
  s.Send("key RETURN");  // the desktop's Enter opens the main menu
  s.Send("wait 800");
}

struct Scene {
  std::string name;
  std::string theme;  // empty: the default
  std::function<void(MivoSession&, const Size&, int S)> steps;
};

void ContextMenuWithHelp(MivoSession& s, const Size& size, int S) {
  OpenMainMenu(s, size);
  ASSERT_TRUE(ActOnText(s, "Contacts", "hold"));
  OpenHelp(s, "Add to favorites", S);
}

std::vector<Scene> Scenes() {
  std::vector<Scene> scenes = {
      {"main_menu", "", [](MivoSession& s, const Size& size, int) { OpenMainMenu(s, size); }},
      {"context_menu", "",
       [](MivoSession& s, const Size& size, int) {
         OpenMainMenu(s, size);
         ASSERT_TRUE(ActOnText(s, "Contacts", "hold"));
       }},
      {"list_help", "",
       [](MivoSession& s, const Size& size, int S) {
         OpenMainMenu(s, size);
         ASSERT_TRUE(ActOnText(s, "Help"));
         ASSERT_TRUE(ActOnText(s, "FAQ"));
         OpenHelp(s, "Desktop", S);
       }},
      {"message_box", "",
       [](MivoSession& s, const Size& size, int) {
         OpenMainMenu(s, size);
         ASSERT_TRUE(ActOnText(s, "Help"));
         ASSERT_TRUE(ActOnText(s, "Help tutorial", "tap", 300));
       }},
      {"text_entry", "",
       [](MivoSession& s, const Size& size, int) {
         OpenMainMenu(s, size);
         ASSERT_TRUE(ActOnText(s, "Office"));
         ASSERT_TRUE(ActOnText(s, "Pocket Word"));
         ASSERT_TRUE(ActOnText(s, "Report.doc", "hold"));
         ASSERT_TRUE(ActOnText(s, "Rename file", "tap", 300));
       }},
  };
  for (const char* theme : {"Black", "Forest", "Graphite", "Ocean", "Paper", "Sand"})
    scenes.push_back({std::string("theme_") + theme, theme, ContextMenuWithHelp});
  return scenes;
}

bool Updating() {
  const char* v = std::getenv("MIVO_UPDATE_REFERENCES");
  return v && *v && std::string(v) != "0";
}

// Scenes are named by their name in test output.
void PrintTo(const Scene& scene, std::ostream* out) { *out << scene.name; }
void PrintTo(const Size& size, std::ostream* out) { *out << SizeName(size); }

class EachScene : public ::testing::TestWithParam<std::tuple<Scene, Size>> {};

}  // namespace

TEST_P(EachScene, LooksAsItsReference) {
  const auto& [scene, size] = GetParam();
  const int S = size.h >= 480 ? 2 : 1;
  const std::string name = scene.name + "_" + SizeName(size);
  const std::string dir = testing_support::FreshDir("reference_" + name);
  // A device made with a fixed seed; its first start installs the skin of its scale.
  const auto init = testing_support::RunMivoDevice({"--device", dir + "/device", "init", "--seed", "1"});
  ASSERT_EQ(init.code, 0) << init.err;
  if (!scene.theme.empty()) {
    const auto set = testing_support::RunMivoDevice(
        {"--device", dir + "/device", "reg", "set", "HKCU\\Software\\mivo\\mivo", "ThemeName", "sz", scene.theme});
    ASSERT_EQ(set.code, 0) << set.err;
  }
  const std::string actualPath = dir + "/" + name + ".png";
  {
    MivoSession s(dir, {"--screen", SizeName(size)});
    ASSERT_TRUE(s.Running());
    scene.steps(s, size, S);
    s.Send("shot " + actualPath);
    EXPECT_EQ(s.Finish(), 0);
  }
  display::Image actual;
  std::string error;
  ASSERT_TRUE(display::ReadPng(actualPath, &actual, &error)) << error;

  const std::string referencePath = std::string(MIVO_REFERENCE_DIR) + "/" + name + ".png";
  if (Updating()) {
    ASSERT_TRUE(reference::WriteImage(referencePath, actual, &error)) << error;
    std::printf("wrote %s\n", referencePath.c_str());
    return;
  }
  display::Image expected;
  if (!stdfs::exists(referencePath)) {
    FAIL() << "no reference " << referencePath << "; look at " << actualPath
           << " and, when it is right, make it with:\n  MIVO_UPDATE_REFERENCES=1 " << MIVO_BINARY_DIR
           << "/tests/reference/test_reference --gtest_filter='*" << name << "*'";
  }
  ASSERT_TRUE(display::ReadPng(referencePath, &expected, &error)) << error;
  const reference::Comparison c = reference::Compare(actual, expected);
  const stdfs::path failed = stdfs::path(MIVO_BINARY_DIR) / "tests" / "reference" / "failed";
  const std::string actualCopy = (failed / (name + ".actual.png")).string();
  const std::string diffPath = (failed / (name + ".diff.png")).string();
  std::error_code ec;
  if (c.Matches()) {
    // What an earlier failure left is no longer true.
    stdfs::remove(actualCopy, ec);
    stdfs::remove(diffPath, ec);
    return;
  }
  stdfs::create_directories(failed, ec);
  EXPECT_TRUE(reference::WriteImage(actualCopy, actual, &error)) << error;
  EXPECT_TRUE(reference::WriteImage(diffPath, reference::DifferenceImage(actual, expected), &error)) << error;
  ADD_FAILURE() << name << ": " << (c.sameSize ? "" : "another size, ") << c.differing << " pixels differ (at most "
                << c.allowed << " may)\n  reference: " << referencePath << "\n  actual:    " << actualCopy
                << "\n  difference: " << diffPath << "\nWhen the change is meant, make the references anew with "
                << "scripts/update-references.sh";
}

INSTANTIATE_TEST_SUITE_P(Screens, EachScene,
                         ::testing::Combine(::testing::ValuesIn(Scenes()),
                                            ::testing::Values(Size{240, 320}, Size{480, 640})),
                         [](const ::testing::TestParamInfo<std::tuple<Scene, Size>>& i) {
                           return std::get<0>(i.param).name + "_" + SizeName(std::get<1>(i.param));
                         });
