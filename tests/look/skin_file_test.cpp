// Skin files: versions 1 and 2, markers, lookup rules, damaged files and safe saving.
#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

#include "look/skin.h"
#include "test_util.h"

namespace {

using looktest::Bytes;
using looktest::Str;
using looktest::U32;

void Record(Bytes& b, std::u16string_view name, std::u16string_view file, std::uint32_t color) {
  U32(b, 1);
  U32(b, 1);
  Str(b, name);
  Str(b, file);
  U32(b, color);
}

// A version 2 header with empty texts and reserved value.
Bytes EmptyVersion2Header() {
  Bytes b;
  U32(b, 2);
  for (int i = 0; i < 6; ++i) Str(b, u"");
  U32(b, 0);
  return b;
}

Bytes Version2File() {
  Bytes b;
  U32(b, 2);
  for (auto s : {u"Desc", u"1.0", u"Me", u"www.example.org", u"Gen", u"gen.example.org"}) Str(b, s);
  U32(b, 0xCAFE);
  Record(b, u"exit", u"exit.png", 0x00FF00FF);
  Record(b, u"sms_page", u"\\Pictures\\sms.png", 0);
  U32(b, 0);
  return b;
}

TEST(SkinFile, ReadsAVersion2FileAndWritesTheSameBytesBack) {
  mivoSkin skin;
  ASSERT_TRUE(skin.ReadFrom(Version2File()));
  EXPECT_EQ(skin.FileVersion, 2u);
  EXPECT_EQ(skin.Description, u"Desc");
  EXPECT_EQ(skin.GeneratorWWW, u"gen.example.org");
  EXPECT_EQ(skin.SkinReserved, 0xCAFEu);
  ASSERT_EQ(skin.Images.size(), 2u);
  EXPECT_EQ(skin.Images[0]->Name, u"exit");
  EXPECT_EQ(skin.Images[0]->File, u"exit.png");
  EXPECT_EQ(skin.Images[0]->TransparentColor, 0x00FF00FFu);
  EXPECT_EQ(skin.Images[1]->File, u"\\Pictures\\sms.png");
  EXPECT_EQ(skin.Serialize(), Version2File());
}

TEST(SkinFile, AVersion1FileKeepsItsColoursAndIsSavedAsVersion2WithTheSameRecords) {
  Bytes v1;
  U32(v1, 1);
  for (std::uint32_t c : {0x000000u, 0xFFFFFFu, 0x808080u, 0x112233u, 0x445566u}) U32(v1, c);
  Record(v1, u"exit", u"exit.png", 7);
  U32(v1, 0);

  mivoSkin skin;
  ASSERT_TRUE(skin.ReadFrom(v1));
  ASSERT_TRUE(skin.LegacyColors.has_value());
  EXPECT_EQ((*skin.LegacyColors)[0], 0x000000u);
  EXPECT_EQ((*skin.LegacyColors)[1], 0xFFFFFFu);
  EXPECT_EQ((*skin.LegacyColors)[4], 0x445566u);

  Bytes expected = EmptyVersion2Header();
  Record(expected, u"exit", u"exit.png", 7);
  U32(expected, 0);
  const Bytes written = skin.Serialize();
  ASSERT_GE(written.size(), expected.size());
  EXPECT_EQ(Bytes(written.begin(), written.begin() + expected.size()), expected);

  // The colours ride behind the end marker and come back on the next load.
  mivoSkin again;
  ASSERT_TRUE(again.ReadFrom(written));
  EXPECT_EQ(again.FileVersion, 2u);
  EXPECT_EQ(again.LegacyColors, skin.LegacyColors);
  ASSERT_EQ(again.Images.size(), 1u);
  EXPECT_EQ(again.Images[0]->TransparentColor, 7u);
  EXPECT_EQ(again.Serialize(), written);
}

TEST(SkinFile, AMarkerOtherThan0And1IsSkippedAndNotWrittenBack) {
  Bytes b = EmptyVersion2Header();
  Record(b, u"a", u"a.png", 0);
  U32(b, 5);
  U32(b, 0xFFFFFFFF);
  Record(b, u"b", u"b.png", 0);
  U32(b, 0);

  mivoSkin skin;
  ASSERT_TRUE(skin.ReadFrom(b));
  ASSERT_EQ(skin.Images.size(), 2u);
  EXPECT_EQ(skin.Images[1]->Name, u"b");
  Bytes expected = EmptyVersion2Header();
  Record(expected, u"a", u"a.png", 0);
  Record(expected, u"b", u"b.png", 0);
  U32(expected, 0);
  EXPECT_EQ(skin.Serialize(), expected);
}

TEST(SkinFile, AnUnknownVersionGoesStraightToTheImageList) {
  Bytes b;
  U32(b, 9);
  Record(b, u"a", u"a.png", 0);
  U32(b, 0);
  mivoSkin skin;
  ASSERT_TRUE(skin.ReadFrom(b));
  EXPECT_EQ(skin.FileVersion, 9u);
  ASSERT_EQ(skin.Images.size(), 1u);
  EXPECT_EQ(skin.Serialize()[0], 2) << "always written as version 2";
}

TEST(SkinLookup, AskingTwiceForAMissingNameAddsOneEntryAndCaseMatters) {
  mivoSkin skin;
  ASSERT_TRUE(skin.ReadFrom(Version2File()));
  mivoSkinImage* first = skin.FindOrAddImage(u"gadget_clock_0");
  mivoSkinImage* second = skin.FindOrAddImage(u"gadget_clock_0");
  EXPECT_EQ(first, second);
  EXPECT_EQ(skin.Images.size(), 3u);
  EXPECT_TRUE(first->File.empty());
  EXPECT_EQ(first->RecordVersion, 1u);
  EXPECT_EQ(skin.FindOrAddImage(u"exit"), skin.Images[0].get());
  mivoSkinImage* upper = skin.FindOrAddImage(u"EXIT");
  EXPECT_NE(upper, skin.Images[0].get());
  EXPECT_EQ(skin.Images.size(), 4u);

  mivoSkin again;
  ASSERT_TRUE(again.ReadFrom(skin.Serialize()));
  ASSERT_EQ(again.Images.size(), 4u);
  EXPECT_EQ(again.Images[2]->Name, u"gadget_clock_0");
  EXPECT_EQ(again.Images[2]->File, u"");
  EXPECT_EQ(again.Images[3]->Name, u"EXIT");
}

TEST(SkinLookup, DisplayNamesReplaceUnderscoresAndCapitaliseWords) {
  const std::pair<std::u16string_view, std::u16string_view> cases[] = {
      {u"gadget_clock_0", u"Gadget Clock 0"}, {u"gadget_clock_am", u"Gadget Clock Am"}, {u"exit", u"Exit"},
      {u"", u""}, {u"a__b", u"A  B"}, {u"_x", u" X"}};
  for (auto [name, shown] : cases) EXPECT_EQ(SkinImageDisplayName(name), shown) << text::ToUtf8(name);
}

TEST(SkinFile, ATruncatedFileKeepsTheRecordsBeforeTheCutAtEveryByte) {
  const Bytes full = Version2File();
  for (std::size_t cut = 0; cut < full.size(); ++cut) {
    mivoSkin skin;
    EXPECT_FALSE(skin.ReadFrom(std::span(full.data(), cut))) << cut;
    for (const auto& image : skin.Images) EXPECT_FALSE(image->Name.empty());
    EXPECT_LE(skin.Images.size(), 2u);
  }
  mivoSkin skin;
  skin.ReadFrom(std::span(full.data(), full.size() - 4));
  EXPECT_EQ(skin.Images.size(), 2u) << "only the end marker is missing";
}

TEST(SkinFile, RandomBytesAndHugeLengthsNeverCrash) {
  std::mt19937 rng(99);
  for (int round = 0; round < 300; ++round) {
    Bytes b;
    U32(b, rng() % 3);
    for (int i = 0, n = rng() % 120; i < n; ++i) b.push_back(static_cast<std::uint8_t>(rng() % 4 ? rng() : 0xFF));
    mivoSkin skin;
    skin.ReadFrom(b);
  }
  Bytes huge;
  U32(huge, 2);
  huge.insert(huge.end(), {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F});
  mivoSkin skin;
  EXPECT_FALSE(skin.ReadFrom(huge));
}

class SkinOnDevice : public ::testing::Test {
 protected:
  looktest::ScratchDevice device;
  const std::string file = "Program Files/mivo/Skins/Clear Horizon/Clear Horizon.msk";
};

TEST_F(SkinOnDevice, LoadsFromTheSkinFolderAndSavesEveryNameAskedFor) {
  device.Put(file, Version2File());
  mivoSkin skin(looktest::kProgramFolder);
  skin.LoadSkin(u"Clear Horizon");
  EXPECT_EQ(skin.SkinFolder(), u"\\Program Files\\mivo\\skins\\Clear Horizon\\");
  ASSERT_EQ(skin.Images.size(), 2u);
  skin.FindOrAddImage(u"listbox_end");
  ASSERT_TRUE(skin.SaveSkin());
  mivoSkin again(looktest::kProgramFolder);
  again.LoadSkin(u"Clear Horizon");
  ASSERT_EQ(again.Images.size(), 3u);
  EXPECT_EQ(again.Images[2]->Name, u"listbox_end");

  // A skin folder without a file: empty, and the file is made at save.
  std::filesystem::create_directories(device.Host("Program Files/mivo/Skins/New"));
  mivoSkin fresh(looktest::kProgramFolder);
  fresh.LoadSkin(u"New");
  EXPECT_TRUE(fresh.Images.empty());
  fresh.FindOrAddImage(u"exit");
  EXPECT_TRUE(fresh.SaveSkin());
  EXPECT_TRUE(device.Exists("Program Files/mivo/Skins/New/New.msk"));
}

TEST_F(SkinOnDevice, AFileKilledWhileBeingWrittenIsEitherTheOldOrTheNewFile) {
  std::filesystem::create_directories(device.Host(file).parent_path());
  mivoSkin old(looktest::kProgramFolder);
  old.LoadSkin(u"Clear Horizon");
  for (int i = 0; i < 300; ++i) old.FindOrAddImage(u"old_image_" + text::FromInt(i));
  ASSERT_TRUE(old.SaveSkin());
  const Bytes oldBytes = device.Get(file);

  for (int round = 0; round < 12; ++round) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      // Keep rewriting a bigger skin until killed.
      mivoSkin skin(looktest::kProgramFolder);
      skin.LoadSkin(u"Clear Horizon");
      for (int n = 0;; ++n) {
        skin.FindOrAddImage(u"new_image_" + text::FromInt(n % 3000));
        skin.SaveSkin();
      }
    }
    usleep(2000 + round * 1500);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    const Bytes now = device.Get(file);
    mivoSkin check(looktest::kProgramFolder);
    EXPECT_TRUE(check.ReadFrom(now)) << "round " << round << ": a half-written file";
    EXPECT_GE(check.Images.size(), 300u);
    // Put the old file back for the next round.
    device.Put(file, oldBytes);
  }
}

}  // namespace
