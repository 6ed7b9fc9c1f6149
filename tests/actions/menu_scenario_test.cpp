// The real program through the main menu, its favourites and its screenshots.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "platform/display/png.h"
#include "tests/support/mivo_runner.h"
#include "tests/pages/session_util.h"

using testing_support::FreshDir;
using testing_support::Json;
using testing_support::MivoSession;
using testing_support::RunMivo;

namespace {

using pagestest::Center;
using pagestest::Device;

std::vector<std::string> Texts(const Json& list) {
  std::vector<std::string> out;
  for (const Json& item : list.Items()) out.push_back(item["text"].AsString());
  return out;
}

// A tap on the top of a main menu tile, which is on screen for the first nine.
std::string TileTap(const Json& cell) {
  return "tap " + std::to_string((cell["rect"][0].AsInt() + cell["rect"][2].AsInt()) / 2) + " " +
         std::to_string(cell["rect"][1].AsInt() + 20);
}

const std::vector<std::string> kTiles = {"Contacts", "SMS",         "Call log", "Programs", "Explore root",
                                         "Settings", "System info", "Office",   "Help",     "Exit"};

TEST(MainMenuScenario, TheHelpTutorialShowsItsTenBoxesInOrderAndCancelEndsIt) {
  const std::string dir = FreshDir("menu_tutorial");
  ASSERT_EQ(Device(dir, {"init"}).code, 0);
  MivoSession s(dir);
  pagestest::Session walk(s);
  Json d = walk.Step("key RETURN");
  const std::string tutorial = pagestest::Rows(walk.Step(TileTap(d["top"]["cells"][8]))).at(2);
  // Through every box with the first button.
  std::vector<std::string> titles;
  for (d = walk.ActivateRow(tutorial); !d["overlay"].IsNull() && titles.size() < 12;) {
    titles.push_back(d["overlay"]["title"].AsString());
    d = walk.Step("tap " + Center(d["overlay"]["buttons"][0]));
  }
  EXPECT_EQ(titles, (std::vector<std::string>{"Welcome", "Desktop", "Desktop 2", "Context menu", "Design mode",
                                              "Design mode 2", "Add contact on desktop", "Add any item on desktop",
                                              "Gestures", "Thank you"}));
  // Again, and the second button in the third box ends it there.
  d = walk.ActivateRow(tutorial);
  for (int i = 0; i < 2; ++i) d = walk.Step("tap " + Center(d["overlay"]["buttons"][0]));
  ASSERT_FALSE(d["overlay"].IsNull());
  EXPECT_EQ(d["overlay"]["title"].AsString(), "Desktop 2");
  d = walk.Step("tap " + Center(d["overlay"]["buttons"][1]));
  EXPECT_TRUE(d["overlay"].IsNull());
  EXPECT_EQ(d["top"]["title"].AsString(), "Help");
  EXPECT_EQ(s.Finish(), 0);
}

TEST(MainMenuScenario, ExitEndsAtOnceWithoutTheQuestionAndStaysWhenTheAnswerIsNo) {
  const std::string dir = FreshDir("menu_exit");
  ASSERT_EQ(Device(dir, {"init"}).code, 0);
  {
    pagestest::RegSet(dir, pagestest::kSettingsPath, "AskBeforeExit", "dword", "1");
    MivoSession s(dir);
    pagestest::Session walk(s);
    walk.Step("key RETURN");
    for (int i = 0; i < 4; ++i) s.Send("key DOWN");  // the cursor onto Exit, the tenth tile
    Json d = walk.Step("key RETURN");
    ASSERT_FALSE(d["overlay"].IsNull());
    EXPECT_EQ(d["overlay"]["title"].AsString(), "Exit");
    EXPECT_EQ(d["overlay"]["text"].AsString(), "Would you like to exit mivo?");
    ASSERT_EQ(d["overlay"]["buttons"].size(), 2u);
    d = walk.Step("tap " + Center(d["overlay"]["buttons"][1]));
    EXPECT_TRUE(d["overlay"].IsNull());
    EXPECT_EQ(d["top"]["class"].AsString(), "CmivoMainMenuPage");
    EXPECT_EQ(s.Finish(), 0);
  }
  pagestest::RegSet(dir, pagestest::kSettingsPath, "AskBeforeExit", "dword", "0");
  // Nothing after the Enter on Exit runs: the program has ended by then.
  const auto r = RunMivo(dir, "key RETURN\nwait 600\nkey DOWN\nkey DOWN\nkey DOWN\nkey DOWN\nkey RETURN\nwait 600\ndump\n");
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(r.dumps.empty());
}

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The favourites file with the Contacts page action at the given positions of nine.
std::vector<std::uint8_t> FavoritesWithContactsAt(std::set<int> positions) {
  const std::vector<std::uint8_t> empty = {0xFF, 0, 0, 0};
  const std::vector<std::uint8_t> contacts = {6, 0, 0, 0, 0, 19, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  std::vector<std::uint8_t> bytes;
  for (int i = 0; i < 9; ++i) {
    const auto& part = positions.count(i) ? contacts : empty;
    bytes.insert(bytes.end(), part.begin(), part.end());
  }
  bytes.insert(bytes.end(), {0xFF, 0xFF, 0xFF, 0xFF});
  return bytes;
}

std::size_t IndexOf(const std::vector<std::string>& texts, const std::string& text) {
  return std::find(texts.begin(), texts.end(), text) - texts.begin();
}

TEST(MainMenuScenario, AFavouriteChosenThroughTapAndHoldIsSavedAtOnceAndRemovedFromEveryPosition) {
  const std::string dir = FreshDir("menu_favorites");
  ASSERT_EQ(Device(dir, {"init"}).code, 0);
  const std::string file = dir + "/device/fs/Program Files/mivo/mivo_fav.dat";
  {
    MivoSession s(dir);
    pagestest::Session walk(s);
    walk.Step("key RETURN");
    Json d = walk.Step("hold 37 100");  // the Contacts tile
    ASSERT_EQ(d["top"]["class"].AsString(), "CmivoRightClickPage");
    std::vector<std::string> entries = Texts(d["top"]["rows"]);
    EXPECT_EQ(IndexOf(entries, "Remove from favorites"), entries.size());
    // The tile's picture is the skin's and can be changed from here.
    EXPECT_LT(IndexOf(entries, "Change icon"), entries.size());
    const std::size_t add = IndexOf(entries, "Add to favorites");
    ASSERT_LT(add, entries.size());
    d = walk.Step("tap " + Center(d["top"]["rows"][add]["rect"]));
    ASSERT_EQ(d["top"]["class"].AsString(), "CmivoFavoritesPage");
    EXPECT_EQ(d["top"]["header"].AsString(), "Choose position");
    ASSERT_EQ(d["top"]["cells"].size(), 9u);
    d = walk.Step("tap " + Center(d["top"]["cells"][4]["rect"]));
    EXPECT_EQ(d["top"]["class"].AsString(), "CmivoMainMenuPage");
    // Written at once, not only at exit.
    EXPECT_EQ(ReadBytes(file), FavoritesWithContactsAt({4}));

    d = walk.Step("hold 37 100");
    entries = Texts(d["top"]["rows"]);
    EXPECT_LT(IndexOf(entries, "Remove from favorites"), entries.size());
    EXPECT_EQ(IndexOf(entries, "Add to favorites"), entries.size());
    EXPECT_EQ(s.Finish(), 0);
  }

  // The same action in two positions: one removal empties both.
  const auto bytes = FavoritesWithContactsAt({0, 2});
  ASSERT_TRUE(std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  MivoSession s(dir);
  pagestest::Session walk(s);
  walk.Step("key RETURN");
  Json d = walk.Step("hold 37 100");
  const std::vector<std::string> entries = Texts(d["top"]["rows"]);
  const std::size_t remove = IndexOf(entries, "Remove from favorites");
  ASSERT_LT(remove, entries.size());
  d = walk.Step("tap " + Center(d["top"]["rows"][remove]["rect"]));
  EXPECT_EQ(d["top"]["class"].AsString(), "CmivoMainMenuPage");
  EXPECT_EQ(ReadBytes(file), FavoritesWithContactsAt({}));
  EXPECT_EQ(s.Finish(), 0);
}

TEST(MainMenuScenario, TheDesktopShowsTheWallpaperAndATapOnFreeSpaceOpensTheMenu) {
  const std::string dir = FreshDir("menu_root");
  ASSERT_EQ(Device(dir, {"init"}).code, 0);
  const std::string shot = dir + "/root.png";
  const auto first = RunMivo(dir, "dump\nshot " + shot + "\n");
  ASSERT_EQ(first.exitCode, 0) << first.err;
  ASSERT_EQ(first.dumps.size(), 1u);
  const Json& page = first.dumps[0]["top"]["rect"];
  // A spot no gadget of the first desktop covers.
  int freeX = -1, freeY = -1;
  for (int y = page[1].AsInt() + 2; y < page[3].AsInt() && freeX < 0; y += 4) {
    for (int x = page[0].AsInt() + 2; x < page[2].AsInt() && freeX < 0; x += 4) {
      bool covered = false;
      for (const Json& g : first.dumps[0]["desktop"]["gadgets"].Items()) {
        if (!g["visible"].AsBool()) continue;
        const Json& r = g["rect"];
        covered = covered || (x >= r[0].AsInt() && x < r[2].AsInt() && y >= r[1].AsInt() && y < r[3].AsInt());
      }
      if (!covered) freeX = x, freeY = y;
    }
  }
  ASSERT_GE(freeX, 0) << "the first desktop has free space";
  const auto r = RunMivo(dir, "tap " + std::to_string(freeX) + " " + std::to_string(freeY) + "\nwait 600\ndump\n");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  ASSERT_EQ(r.dumps.size(), 1u);
  EXPECT_EQ(r.dumps[0]["top"]["class"].AsString(), "CmivoMainMenuPage");
  display::Image img;
  std::string error;
  ASSERT_TRUE(display::ReadPng(shot, &img, &error)) << error;
  // A picture, not the plain page colour.
  std::set<std::uint32_t> colours;
  for (int y = page[1].AsInt(); y < page[3].AsInt(); y += 3)
    for (int x = page[0].AsInt(); x < page[2].AsInt(); x += 3) colours.insert(img.At(x, y) & 0xFFFFFFu);
  EXPECT_GT(colours.size(), 20u);
}

// The main menu at both sizes: nine tiles with their pictures on screen, the
// header's title above them.
class MainMenuShots : public ::testing::TestWithParam<int> {};

TEST_P(MainMenuShots, ShowNineTilesWithTheirPicturesUnderTheHeader) {
  const int s = GetParam();
  const std::string size = s == 1 ? "240x320" : "480x640";
  const std::string dir = FreshDir("menu_shot_" + size);
  ASSERT_EQ(Device(dir, {"init"}).code, 0);
  const std::string shot = dir + "/main_menu_" + size + ".png";
  const auto r = RunMivo(dir, "key RETURN\nwait 600\ndump\nshot " + shot + "\n", {"--screen", size});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  ASSERT_EQ(r.dumps.size(), 1u);
  const Json& cells = r.dumps[0]["top"]["cells"];
  ASSERT_EQ(Texts(cells), kTiles);

  display::Image img;
  std::string error;
  ASSERT_TRUE(display::ReadPng(shot, &img, &error)) << error;
  auto rgb = [&](int x, int y) { return img.pixels[static_cast<std::size_t>(y) * img.width + x] & 0xFFFFFFu; };
  const int header = cells[0]["rect"][1].AsInt();
  const int visibleBottom = static_cast<int>(r.dumps[0]["top"]["rect"][3].AsInt());
  for (std::size_t i = 0; i < 9; ++i) {
    const Json& rect = cells[i]["rect"];
    const int l = rect[0].AsInt(), t = rect[1].AsInt(), rr = rect[2].AsInt();
    const int b = std::min<int>(rect[3].AsInt(), visibleBottom);
    // A picture has many colours; an empty tile has one or two.
    std::set<std::uint32_t> colours;
    for (int y = t; y < b; y += 2)
      for (int x = l; x < rr; x += 2) colours.insert(rgb(x, y));
    EXPECT_GT(colours.size(), 20u) << kTiles[i];
  }
  // Tiles start under the header, three to a row, equal and side by side.
  EXPECT_GT(header, 26 * s);
  EXPECT_EQ(cells[1]["rect"][0].AsInt(), cells[0]["rect"][2].AsInt());
  EXPECT_EQ(cells[3]["rect"][1].AsInt(), cells[0]["rect"][3].AsInt());
  EXPECT_EQ(cells[3]["rect"][0].AsInt(), cells[0]["rect"][0].AsInt());
}

INSTANTIATE_TEST_SUITE_P(Sizes, MainMenuShots, ::testing::Values(1, 2),
                         [](const auto& info) { return info.param == 1 ? "Qvga" : "Vga"; });

}  // namespace
