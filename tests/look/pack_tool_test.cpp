// mivo-pack driven as authors use it: build files, check them, and install
// what it packs with the program's own installer.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>

#include "look/color_theme.h"
#include "look/language.h"
#include "look/package.h"
#include "look/skin.h"
#include "look/string_table.h"
#include "test_util.h"

namespace {

namespace stdfs = std::filesystem;

struct Outcome {
  int code = -1;
  std::string out;
  std::string err;
};

class PackTool : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = stdfs::path(MIVO_BINARY_DIR) / "tests" / "look" / "scratch" /
          ("pack-" + std::to_string(::getpid()) + "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    stdfs::remove_all(dir);
    stdfs::create_directories(dir);
  }
  void TearDown() override { stdfs::remove_all(dir); }

  Outcome Pack(const std::string& arguments) {
    const std::string err = (dir / "stderr.txt").string();
    const std::string command = std::string("cd '") + dir.string() + "' && '" + MIVO_PACK_PATH + "' " + arguments +
                                " 2>'" + err + "'";
    Outcome run;
    FILE* pipe = ::popen(command.c_str(), "r");
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
    const int status = ::pclose(pipe);
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream in(err);
    run.err.assign(std::istreambuf_iterator<char>(in), {});
    return run;
  }
  void Write(const std::string& name, const std::string& content) {
    stdfs::create_directories((dir / name).parent_path());
    std::ofstream(dir / name, std::ios::binary) << content;
  }
  looktest::Bytes Read(const std::string& name) { return looktest::ReadHostFile(dir / name); }

  stdfs::path dir;
};

TEST_F(PackTool, BuildsASkinPackageThatTheInstallerInstalls) {
  Write("src/pics/exit.png", "PNGDATA");
  ASSERT_EQ(Pack("skin set 'src/Night.msk' exit --file 'pics\\exit.png' --transparent '#FF00FF' --author Ann").code, 0);
  ASSERT_EQ(Pack("skin set 'src/Night.msk' sms_page --file sms.png").code, 0);
  Outcome print = Pack("skin print src/Night.msk");
  EXPECT_EQ(print.code, 0);
  EXPECT_NE(print.out.find("#FF00FF"), std::string::npos);
  EXPECT_NE(print.out.find("Ann"), std::string::npos);

  Outcome create = Pack("create skin Night src Night.minst --info1 'for tests'");
  ASSERT_EQ(create.code, 0) << create.err;
  Outcome list = Pack("list Night.minst");
  EXPECT_EQ(list.code, 0);
  EXPECT_NE(list.out.find("pics\\exit.png"), std::string::npos) << list.out;
  EXPECT_EQ(Pack("check Night.minst").code, 0);

  looktest::ScratchDevice device;
  device.Put("Program Files/mivo/Skins/Night.minst", Read("Night.minst"));
  ASSERT_EQ(InstallPackage(u"\\Program Files\\mivo\\Skins\\Night.minst", looktest::kProgramFolder),
            mivoPackageStatus::kOk);
  EXPECT_EQ(device.Get("Program Files/mivo/Skins/Night/pics/exit.png"), looktest::Bytes({'P', 'N', 'G', 'D', 'A', 'T', 'A'}));
  mivoSkin skin(looktest::kProgramFolder);
  skin.LoadSkin(u"Night");
  ASSERT_EQ(skin.Images.size(), 2u);
  EXPECT_EQ(skin.Images[0]->File, u"pics\\exit.png");
  EXPECT_EQ(skin.Images[0]->TransparentColor, RGB(255, 0, 255));
  EXPECT_EQ(skin.Author, u"Ann");
}

TEST_F(PackTool, RejectsDamagedFilesWithAClearMessageAndChangesOrExtractsNothing) {
  Write("src/a.mct", "0123456789");
  ASSERT_EQ(Pack("create colors '' src themes.minst").code, 0);
  looktest::Bytes bytes = Read("themes.minst");
  bytes.resize(bytes.size() - 3);
  Write("cut.minst", std::string(bytes.begin(), bytes.end()));

  for (const char* command : {"check cut.minst", "list cut.minst", "extract cut.minst out"}) {
    Outcome run = Pack(command);
    EXPECT_EQ(run.code, 1) << command;
    EXPECT_NE(run.err.find("damaged package cut.minst"), std::string::npos) << run.err;
  }
  EXPECT_FALSE(stdfs::exists(dir / "out" / "a.mct"));
  EXPECT_EQ(Pack("extract themes.minst out").code, 0);
  EXPECT_EQ(Read("out/a.mct").size(), 10u);
  Outcome missing = Pack("check nothing.minst");
  EXPECT_EQ(missing.code, 1);
  EXPECT_NE(missing.err.find("file not found"), std::string::npos);

  // A damaged skin file is left as it is.
  Write("s.msk", std::string("\x02\x00\x00\x00\xFF\xFE\xFF\x05", 8));
  Outcome skin = Pack("skin set s.msk exit --file e.png");
  EXPECT_EQ(skin.code, 1);
  EXPECT_NE(skin.err.find("damaged skin file"), std::string::npos);
  EXPECT_EQ(Read("s.msk").size(), 8u);
}

TEST_F(PackTool, WrongUsageExitsWith2AndHelpWith0) {
  for (const char* usage : {"", "frobnicate", "create bogus N src o.minst", "create skin '../x' src o.minst",
                            "create skin N src", "colors create t.mct #000000",
                            "colors create t.mct 1 2 3 4 5 6 7 8 9" /* not colours */, "skin set x.msk --file a.png",
                            "check readme.txt", "list --what x"}) {
    EXPECT_EQ(Pack(usage).code, 2) << usage;
  }
  Outcome help = Pack("--help");
  EXPECT_EQ(help.code, 0);
  EXPECT_NE(help.out.find("language check FILE.mlg"), std::string::npos);
  EXPECT_EQ(Pack("create skin Empty nowhere o.minst").code, 1);
}

TEST_F(PackTool, CreatesColourAndWallpaperThemesTheProgramReads) {
  ASSERT_EQ(Pack("colors create Blue.mct '#000000' '#FFFFFF' 160,160,160 '#464646' '#1C1C1C' '#78A0DC' "
                 "'#284068' '#3C3C3C' 0x00969696 --description 'Deep blue'")
                .code,
            0);
  mivoColorTheme theme;
  ASSERT_TRUE(theme.ReadFrom(Read("Blue.mct")));
  EXPECT_EQ(theme.GetColor(2), RGB(255, 255, 255));
  EXPECT_EQ(theme.GetColor(3), RGB(160, 160, 160));
  EXPECT_EQ(theme.GetColor(6), RGB(0x78, 0xA0, 0xDC));
  EXPECT_EQ(theme.GetColor(9), 0x00969696u);
  EXPECT_EQ(theme.Description, u"Deep blue");
  EXPECT_EQ(Pack("check Blue.mct").code, 0);

  ASSERT_EQ(Pack("wallpaper create Sea.mwt --generator mine --reserved 7").code, 0);
  Outcome check = Pack("check Sea.mwt");
  EXPECT_EQ(check.code, 0);
  EXPECT_NE(check.out.find("mine"), std::string::npos);
  looktest::Bytes cut = Read("Sea.mwt");
  cut.pop_back();
  Write("Cut.mwt", std::string(cut.begin(), cut.end()));
  EXPECT_EQ(Pack("check Cut.mwt").code, 1);
}

TEST_F(PackTool, MakesALanguageFromTextAndChecksItAgainstTheTable) {
  ASSERT_EQ(Pack("language template en.txt").code, 0);
  std::ifstream in(dir / "en.txt");
  std::string text((std::istreambuf_iterator<char>(in)), {});
  // Translate two lines, one of them with a line feed, and spoil the source of a third.
  auto replace = [&](const std::string& from, const std::string& to) {
    const auto at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
  };
  replace("\n374\tBack\t\n", "\n374\tBack\tZur\xC3\xBC" "ck\n");
  replace("\n359\tCannot copy file. System responded following error:\\n\t\n",
          "\n359\tCannot copy file. System responded following error:\\n\tKopieren fehlgeschlagen:\\n\n");
  replace("@display\tEnglish", "@display\tDeutsch");
  Write("de.txt", text);
  ASSERT_EQ(Pack("language create de.txt Deutsch.mlg").code, 0);
  Outcome good = Pack("language check Deutsch.mlg");
  EXPECT_EQ(good.code, 0) << good.out << good.err;
  EXPECT_NE(good.out.find("554 ids match"), std::string::npos) << good.out;

  mivoLanguage lang;
  ASSERT_TRUE(lang.LoadFromBytes(u"Deutsch", Read("Deutsch.mlg")));
  EXPECT_EQ(lang.DisplayName, u"Deutsch");
  EXPECT_EQ(lang.GetString(374), u"Zur\u00FCck");
  EXPECT_EQ(lang.GetString(359), u"Kopieren fehlgeschlagen:\n");
  EXPECT_EQ(lang.GetString(375), u"Hide");

  replace("\n5\tCall log\t", "\n5\tCall Log\t");
  Write("old.txt", text);
  Outcome warned = Pack("language create old.txt Old.mlg");
  EXPECT_EQ(warned.code, 0);
  EXPECT_NE(warned.err.find("id 5"), std::string::npos);
  Outcome bad = Pack("language check Old.mlg");
  EXPECT_EQ(bad.code, 1);
  EXPECT_NE(bad.out.find("1 differ (shown in English): 5"), std::string::npos) << bad.out;
  EXPECT_EQ(Pack("check Old.mlg").code, 0) << "well formed, if not matching";

  Write("broken.txt", "2\tError\n");
  Outcome broken = Pack("language create broken.txt b.mlg");
  EXPECT_EQ(broken.code, 1);
  EXPECT_NE(broken.err.find("line 1"), std::string::npos);
}

}  // namespace
