// The file explorer in the real program: files made, copied, renamed and
// deleted through its menus while another program adds files to the same
// folder; the list shows what is on disk at every step.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/win32/text.h"
#include "tests/pages/session_util.h"

namespace {

using pagestest::Json;
using pagestest::Rows;
using testing_support::FreshDir;
using testing_support::MivoSession;

// What the list must show for a host folder: folders, then files, each by
// name without case; hidden entries left out; then the counts.
std::vector<std::string> Expected(const std::filesystem::path& dir) {
  std::vector<std::string> folders, files;
  for (const auto& e : std::filesystem::directory_iterator(dir)) {
    const std::string name = e.path().filename().string();
    if (name[0] == '.') continue;
    (e.is_directory() ? folders : files).push_back(name);
  }
  auto byName = [](const std::string& a, const std::string& b) {
    return text::CompareNoCase(text::FromUtf8(a), text::FromUtf8(b)) < 0;
  };
  std::sort(folders.begin(), folders.end(), byName);
  std::sort(files.begin(), files.end(), byName);
  std::vector<std::string> rows = folders;
  rows.insert(rows.end(), files.begin(), files.end());
  rows.push_back("Total folders: " + std::to_string(folders.size()) + "; total files: " +
                 std::to_string(files.size()));
  return rows;
}

TEST(ExplorerScenario, FilesMadeCopiedRenamedAndDeletedShowAsOnDiskWhileAnotherProgramAddsFiles) {
  const std::string dir = FreshDir("explorer_scenario");
  ASSERT_EQ(pagestest::Device(dir, {"init"}).code, 0);
  const std::filesystem::path fsRoot = std::filesystem::path(dir) / "device" / "fs";
  const std::filesystem::path trip = fsRoot / "Trip";
  MivoSession s(dir);
  ASSERT_TRUE(s.Running());
  pagestest::Session walk(s);
  auto matches = [](const std::filesystem::path& folder) {
    return [folder](const Json& d) { return std::filesystem::is_directory(folder) && Rows(d) == Expected(folder); };
  };

  // Explore root, and a new folder from the page's own menu.
  walk.Step("key RETURN");  // the desktop's Enter opens the main menu
  Json d = walk.Step("tap 111 190");
  ASSERT_EQ(d["top"]["class"].AsString(), "CmivoAdvProgramsPage");
  ASSERT_EQ(Rows(d), Expected(fsRoot));
  d = walk.HoldRow(Rows(d).back());
  ASSERT_EQ(d["top"]["class"].AsString(), "CmivoRightClickPage");
  d = walk.ActivateRow("Create folder");
  ASSERT_EQ(d["overlay"]["kind"].AsString(), "text");
  EXPECT_EQ(d["overlay"]["value"].AsString(), "New folder");
  walk.Retype("Trip");
  d = walk.Answer(d, 0);
  d = walk.Until(matches(fsRoot), "the new folder in the root's list");
  EXPECT_TRUE(std::filesystem::is_directory(trip));

  // Inside it, files another program writes show at once (its hidden folder never).
  d = walk.ActivateRow("Trip");
  EXPECT_EQ(d["top"]["title"].AsString(), "Trip");
  std::ofstream(trip / "from the host.txt") << "one";
  std::ofstream(trip / "photo.jpg") << "not read for its row";
  std::filesystem::create_directories(trip / ".cache");
  d = walk.Until(matches(trip), "the host's file");

  // A document copied from My Documents and pasted here.
  walk.Step("key F1");
  d = walk.ActivateRow("My Documents");
  d = walk.HoldRow("Welcome.txt");
  d = walk.ActivateRow("Copy file");
  walk.Step("key F1");
  d = walk.ActivateRow("Trip");
  d = walk.HoldRow(Rows(d).back());
  d = walk.ActivateRow("Paste");
  std::ofstream(trip / "again from the host.txt") << "two";
  d = walk.Until(matches(trip), "the pasted file and the host's second one");
  EXPECT_NE(std::find(Rows(d).begin(), Rows(d).end(), "Welcome.txt"), Rows(d).end());

  // Renamed, while the host takes its first file away.
  d = walk.HoldRow("Welcome.txt");
  d = walk.ActivateRow("Rename file");
  ASSERT_EQ(d["overlay"]["kind"].AsString(), "text");
  walk.Retype("Hello.txt");
  std::filesystem::remove(trip / "from the host.txt");
  d = walk.Answer(d, 0);
  d = walk.Until(matches(trip), "the renamed file");
  EXPECT_TRUE(std::filesystem::exists(trip / "Hello.txt"));
  EXPECT_FALSE(std::filesystem::exists(trip / "Welcome.txt"));

  // Deleted after the question, while the host adds folders, renames its file,
  // makes a hidden one and one it takes away before its notice can be handled.
  d = walk.HoldRow("Hello.txt");
  d = walk.ActivateRow("Delete file");
  ASSERT_EQ(d["overlay"]["kind"].AsString(), "question");
  std::filesystem::create_directories(trip / "Sub");
  std::filesystem::create_directories(trip / "alps");
  std::filesystem::rename(trip / "again from the host.txt", trip / "Renamed by the host.txt");
  std::ofstream(trip / ".hidden") << "x";
  std::ofstream(trip / "brief.txt") << "x";
  std::filesystem::remove(trip / "brief.txt");
  d = walk.Answer(d, 0);
  d = walk.Until(matches(trip), "the deleted file gone, the host's changes there");
  EXPECT_FALSE(std::filesystem::exists(trip / "Hello.txt"));
  EXPECT_EQ(Rows(d), (std::vector<std::string>{"alps", "Sub", "photo.jpg", "Renamed by the host.txt",
                                               "Total folders: 2; total files: 2"}));
  // A picture's row is a tall one, a folder's and another file's shorter.
  for (const Json& r : d["top"]["rows"].Items()) {
    const std::string text = r["text"].AsString();
    if (text == "photo.jpg" || text == "Sub" || text == "Renamed by the host.txt") {
      EXPECT_EQ(r["rect"][3].AsInt() - r["rect"][1].AsInt(), text == "photo.jpg" ? 155 : 85) << text;
    }
  }
  EXPECT_EQ(s.Finish(), 0);
}

}  // namespace
