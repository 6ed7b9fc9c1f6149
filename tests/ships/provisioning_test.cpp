// Every shipped file passes the authors' own check (what a new device gets
// of them is in first_start_test).
#include <gtest/gtest.h>

#include "ships_util.h"

namespace {

using namespace ships;

TEST(ShippedFiles, EveryOnePassesMivoPackCheck) {
  int checked = 0;
  Scratch extracted("extract", false);
  for (const auto& entry : stdfs::recursive_directory_iterator(DataDir())) {
    const std::string ext = entry.path().extension().string();
    if (ext != ".minst" && ext != ".mct" && ext != ".mwt" && ext != ".mlg" && ext != ".dat") continue;
    const auto o = testing_support::RunMivoPack({"check", entry.path().string()});
    EXPECT_EQ(o.code, 0) << entry.path() << "\n" << o.out << o.err;
    ++checked;
    if (ext == ".minst") {
      // The skin file inside, checked on its own.
      const stdfs::path into = extracted.Root() / entry.path().stem();
      ASSERT_EQ(testing_support::RunMivoPack({"extract", entry.path().string(), into.string()}).code, 0);
      const stdfs::path msk = into / (entry.path().stem().string() + ".msk");
      const auto skin = testing_support::RunMivoPack({"check", msk.string()});
      EXPECT_EQ(skin.code, 0) << msk << "\n" << skin.out << skin.err;
    }
  }
  // Two skins, six colour themes, two wallpaper theme files, two languages,
  // two desktop layouts.
  EXPECT_GE(checked, 14);
}

}  // namespace
