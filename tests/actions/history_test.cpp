// The actions history: ranking, counting, and the file that replays it.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <random>

#include "look/archive.h"
#include "tests/actions/store_fixture.h"

using actiontest::Ranking;
using actiontest::StoreTest;

namespace {

mivoActionExecuteFile File(const char16_t* name) { return mivoActionExecuteFile(nullptr, name); }

using HistoryRanking = StoreTest;

TEST_F(HistoryRanking, EqualCountsKeepTheOrderInWhichTheyWereReached) {
  auto store = NewStore();
  store->RecordAction(File(u"A"));
  store->RecordAction(File(u"B"));
  store->RecordAction(File(u"B"));
  EXPECT_EQ(Ranking(*store), (std::vector<std::string>{"B:2", "A:1"}));
  store->RecordAction(File(u"A"));
  EXPECT_EQ(Ranking(*store), (std::vector<std::string>{"B:2", "A:2"}));
  store->RecordAction(File(u"C"));
  EXPECT_EQ(Ranking(*store), (std::vector<std::string>{"B:2", "A:2", "C:1"})) << "a new entry goes last";
  store->RecordAction(File(u"C"));
  store->RecordAction(File(u"C"));
  EXPECT_EQ(Ranking(*store), (std::vector<std::string>{"C:3", "B:2", "A:2"}));
}

TEST_F(HistoryRanking, CallsToTheSameDigitsAreOneEntryKeptAsAClone) {
  auto store = NewStore();
  store->RecordAction(mivoActionMakeCall(nullptr, u"+420 123 456"));
  store->RecordAction(mivoActionMakeCall(nullptr, u"420123456"));
  store->RecordAction(mivoActionMakeCall(nullptr, u"420-123-456"));
  ASSERT_EQ(store->History().Count(), 1u);
  EXPECT_EQ(store->History().Entry(0)->Count(), 3);
  // The entry keeps the number as it was first written.
  EXPECT_EQ(static_cast<mivoActionMakeCall*>(store->History().Entry(0)->Action())->Number(), u"+420 123 456");
  EXPECT_EQ(store->History().Entry(1), nullptr);
  // The entry is a clone that outlives the caller's action.
  {
    mivoActionWriteEmail mail(nullptr, u"a@b.c");
    store->RecordAction(mail);
  }
  ASSERT_EQ(store->History().Count(), 2u);
  EXPECT_EQ(store->History().Entry(1)->Action()->GetTitle(), u"a@b.c");
}

// A file is replaced (a new inode, by rename) only when what it holds changes.
TEST_F(HistoryRanking, SavingWithoutAChangeLeavesBothFilesAlone) {
  auto inode = [&](const char* name) {
    struct stat st;
    return ::stat((m_root / "Program Files" / "mivo" / name).c_str(), &st) == 0 ? st.st_ino : ino_t{0};
  };
  auto store = NewStore();
  store->LoadHistoryAndFavorites();
  store->RecordAction(File(u"\\Windows\\calc.exe"));
  store->SaveHistoryAndFavorites();
  const ino_t history = inode("mivo_ah.dat"), favorites = inode("mivo_fav.dat");
  ASSERT_NE(history, ino_t{0});
  ASSERT_NE(favorites, ino_t{0});
  auto again = NewStore();
  again->LoadHistoryAndFavorites();
  again->SaveHistoryAndFavorites();
  EXPECT_EQ(inode("mivo_ah.dat"), history);
  EXPECT_EQ(inode("mivo_fav.dat"), favorites);
  again->RecordAction(File(u"\\Windows\\calc.exe"));
  again->SaveHistoryAndFavorites();
  EXPECT_NE(inode("mivo_ah.dat"), history) << "a second start of calc.exe is written";
  EXPECT_EQ(inode("mivo_fav.dat"), favorites);
  EXPECT_EQ(Ranking(*again), (std::vector<std::string>{"\\Windows\\calc.exe:2"}));
}

// Any sequence of starts, saved and read back, gives the ranking it had.
TEST_F(HistoryRanking, ASavedHistoryReplaysIntoTheSameRanking) {
  for (unsigned seed : {1u, 2u, 3u, 17u, 99u}) {
    std::mt19937 rng(seed);
    auto store = NewStore();
    std::uniform_int_distribution<int> pick(0, 30);
    for (int i = 0; i < 600; ++i) {
      // Skewed: low numbers are used far more often.
      const int n = std::min(pick(rng), pick(rng));
      store->RecordAction(mivoActionShowPage(nullptr, n, 0, 0));
    }
    auto bytes = store->SerializeHistory();
    auto again = NewStore();
    EXPECT_EQ(again->ReadHistory(bytes), mivoFileReadState::kComplete);
    EXPECT_EQ(Ranking(*again), Ranking(*store)) << "seed " << seed;
    EXPECT_EQ(again->History().TotalStarts(), 600u);
  }
}

// A log written start by start (as older programs wrote it) ranks exactly as
// the starts did when they happened.
TEST_F(HistoryRanking, AnInterleavedLogRanksAsTheLiveStartsDid) {
  std::mt19937 rng(5);
  std::uniform_int_distribution<int> pick(0, 200);
  auto live = NewStore();
  mivoArchiveWriter log;
  for (int i = 0; i < 5000; ++i) {
    mivoActionControlPanel panel(nullptr, std::min(pick(rng), pick(rng)), 0);
    live->RecordAction(panel);
    panel.SaveRecord(log);
  }
  log.WriteU32(0xFFFFFFFFu);
  auto replayed = NewStore();
  EXPECT_EQ(replayed->ReadHistory(log.Bytes()), mivoFileReadState::kComplete);
  EXPECT_EQ(Ranking(*replayed), Ranking(*live));
}

}  // namespace
