// Every damaged file kept under malformed/ goes through its reader.
#include <gtest/gtest.h>

#include <filesystem>

#include "look/color_theme.h"
#include "look/language.h"
#include "look/package.h"
#include "look/skin.h"
#include "look/wallpaper_theme.h"
#include "test_util.h"

namespace {

namespace stdfs = std::filesystem;

const stdfs::path kDir = stdfs::path(MIVO_SOURCE_DIR) / "tests/look/malformed";

std::vector<stdfs::path> Files(const std::string& extension) {
  std::vector<stdfs::path> files;
  for (const auto& e : stdfs::directory_iterator(kDir))
    if (e.path().extension() == extension) files.push_back(e.path());
  std::sort(files.begin(), files.end());
  return files;
}

class CountingTarget : public mivoInstallTarget {
 public:
  bool CreateFolder(std::u16string_view) override { return ++writes, true; }
  bool WriteFile(std::u16string_view, std::span<const std::uint8_t>) override { return ++writes, true; }
  int writes = 0;
};

TEST(MalformedFiles, DamagedSkinFilesLoadWhatPrecedesTheDamageAndAreNeverWrittenBack) {
  const auto files = Files(".msk");
  ASSERT_GE(files.size(), 6u);
  looktest::ScratchDevice device;
  for (const auto& path : files) {
    const looktest::Bytes bytes = looktest::ReadHostFile(path);
    device.Put("Program Files/mivo/Skins/Bad/Bad.msk", bytes);
    mivoSkin skin(looktest::kProgramFolder);
    skin.LoadSkin(u"Bad");
    EXPECT_FALSE(skin.CanSave()) << path.filename();
    skin.FindOrAddImage(u"exit");
    EXPECT_FALSE(skin.SaveSkin()) << path.filename();
    EXPECT_EQ(device.Get("Program Files/mivo/Skins/Bad/Bad.msk"), bytes) << path.filename();
  }
  mivoSkin cut;
  cut.ReadFrom(looktest::ReadHostFile(kDir / "skin_cut_inside_record.msk"));
  ASSERT_EQ(cut.Images.size(), 1u);
  EXPECT_EQ(cut.Images[0]->Name, u"exit");
}

TEST(MalformedFiles, DamagedThemesAreRefused) {
  for (const auto& path : Files(".mct")) {
    mivoColorTheme theme;
    EXPECT_FALSE(theme.ReadFrom(looktest::ReadHostFile(path))) << path.filename();
  }
  for (const auto& path : Files(".mwt")) {
    mivoWallpaperTheme wallpaper;
    EXPECT_FALSE(wallpaper.ReadFrom(looktest::ReadHostFile(path))) << path.filename();
  }
}

TEST(MalformedFiles, DamagedLanguagesFallBackToEnglishWithABoundedTable) {
  for (const auto& path : Files(".mlg")) {
    mivoLanguage language;
    EXPECT_FALSE(language.LoadFromBytes(u"Bad", looktest::ReadHostFile(path))) << path.filename();
    EXPECT_EQ(language.Translations.size(), 568u) << path.filename();
    EXPECT_EQ(language.GetString(5), u"Call log");
  }
}

TEST(MalformedFiles, DamagedPackagesAreRefusedBeforeAnythingIsWritten) {
  const auto files = Files(".minst");
  ASSERT_GE(files.size(), 11u);
  for (const auto& path : files) {
    CountingTarget target;
    std::u16string message;
    EXPECT_EQ(InstallPackageBytes(looktest::ReadHostFile(path), u"\\P\\", target, {}, &message),
              mivoPackageStatus::kDamaged)
        << path.filename();
    EXPECT_EQ(target.writes, 0) << path.filename();
    EXPECT_FALSE(message.empty()) << path.filename();
  }
}

}  // namespace
