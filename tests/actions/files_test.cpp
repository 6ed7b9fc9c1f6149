// The favourites and history files, whole, damaged and missing.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>

#include "look/archive.h"
#include "tests/actions/store_fixture.h"

using actiontest::kFavoritesPath;
using actiontest::kHistoryPath;
using actiontest::Ranking;
using actiontest::StoreTest;

namespace {

std::vector<std::uint8_t> Favourites(const std::vector<const mivoAction*>& positions) {
  mivoArchiveWriter out;
  for (const mivoAction* a : positions) {
    if (a) {
      a->SaveRecord(out);
    } else {
      out.WriteU32(0xFF);
    }
  }
  out.WriteU32(0xFFFFFFFFu);
  return out.Take();
}

std::vector<std::uint8_t> Log(const std::vector<const mivoAction*>& starts, bool endMarker = true) {
  mivoArchiveWriter out;
  for (const mivoAction* a : starts) a->SaveRecord(out);
  if (endMarker) out.WriteU32(0xFFFFFFFFu);
  return out.Take();
}

std::vector<std::u16string> Positions(mivoActions& store) {
  std::vector<std::u16string> out;
  for (std::size_t i = 0; i < store.Favorites().Count(); ++i) {
    const mivoAction* a = store.Favorites().At(i);
    out.push_back(a ? a->IdentityKey() : u"-");
  }
  return out;
}

const mivoActionExecuteFile kA(nullptr, u"A"), kB(nullptr, u"B"), kC(nullptr, u"C");

using Favorites = StoreTest;

TEST_F(Favorites, AreOnlyPaddedToNineAndSavedAsNineButALongerFileKeepsEveryPosition) {
  WriteDeviceFile(kFavoritesPath, Favourites({&kA, nullptr, &kB}));
  auto store = NewStore();
  store->LoadHistoryAndFavorites();
  EXPECT_EQ(Positions(*store), (std::vector<std::u16string>{u"A", u"-", u"B", u"-", u"-", u"-", u"-", u"-", u"-"}));
  store->SaveHistoryAndFavorites();
  EXPECT_EQ(ReadDeviceFile(kFavoritesPath),
            Favourites({&kA, nullptr, &kB, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}));

  std::vector<const mivoAction*> twelve(12, nullptr);
  twelve[11] = &kC;
  WriteDeviceFile(kFavoritesPath, Favourites(twelve));
  auto longer = NewStore();
  longer->LoadHistoryAndFavorites();
  ASSERT_EQ(longer->Favorites().Count(), 12u);
  EXPECT_TRUE(longer->Favorites().At(11)->IsSame(kC));
}

TEST_F(Favorites, RemovingEmptiesEveryPositionHoldingTheAction) {
  WriteDeviceFile(kFavoritesPath, Favourites({&kA, &kB, &kA, nullptr, &kA}));
  auto store = NewStore();
  store->LoadHistoryAndFavorites();
  // Removing through the held action itself works as well as through a copy.
  store->RemoveFavorite(*store->Favorites().At(2));
  EXPECT_EQ(Positions(*store), (std::vector<std::u16string>{u"-", u"B", u"-", u"-", u"-", u"-", u"-", u"-", u"-"}));
  EXPECT_FALSE(store->ContainsFavorite(kA));
  EXPECT_TRUE(store->ContainsFavorite(mivoActionExecuteFile(nullptr, u"B")));
  // Saved at once: a crash now loses nothing.
  EXPECT_EQ(ReadDeviceFile(kFavoritesPath),
            Favourites({nullptr, &kB, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}));
}

TEST_F(Favorites, SettingAPositionReplacesWhatWasThereAndIsSavedAtOnce) {
  WriteDeviceFile(kFavoritesPath, Favourites({&kA}));
  auto store = NewStore();
  store->LoadHistoryAndFavorites();
  EXPECT_TRUE(store->SetFavorite(0, kC.Clone()));
  EXPECT_TRUE(store->SetFavorite(8, kB.Clone()));
  EXPECT_FALSE(store->SetFavorite(9, kB.Clone())) << "past the end";
  EXPECT_EQ(Positions(*store), (std::vector<std::u16string>{u"C", u"-", u"-", u"-", u"-", u"-", u"-", u"-", u"B"}));
  auto again = NewStore();
  again->LoadHistoryAndFavorites();
  EXPECT_EQ(Positions(*again), Positions(*store));
}

using DamagedFiles = StoreTest;

// The favourites are read on their own: a history that cannot be read does
// not cost them, and the next save keeps the damaged history aside.
TEST_F(DamagedFiles, AHistoryWithoutItsEndMarkerKeepsTheFavourites) {
  WriteDeviceFile(kHistoryPath, Log({&kA, &kB, &kB}, false));
  WriteDeviceFile(kFavoritesPath, Favourites({&kC}));
  auto store = NewStore();
  store->LoadHistoryAndFavorites();
  EXPECT_EQ(store->HistoryReadState(), mivoFileReadState::kDamaged);
  EXPECT_EQ(Ranking(*store), (std::vector<std::string>{"B:2", "A:1"})) << "what was read stays";
  EXPECT_EQ(Positions(*store)[0], u"C");
  store->SaveHistoryAndFavorites();
  EXPECT_EQ(ReadDeviceFile(u"\\Program Files\\mivo\\mivo_ah.dat.bad"), Log({&kA, &kB, &kB}, false));
  EXPECT_EQ(ReadDeviceFile(kHistoryPath), Log({&kB, &kB, &kA}));
  auto again = NewStore();
  again->LoadHistoryAndFavorites();
  EXPECT_EQ(Positions(*again)[0], u"C");
}

TEST_F(DamagedFiles, AMissingHistoryIsNoDamage) {
  WriteDeviceFile(kFavoritesPath, Favourites({&kA}));
  auto store = NewStore();
  store->LoadHistoryAndFavorites();
  EXPECT_EQ(store->HistoryReadState(), mivoFileReadState::kMissing);
  EXPECT_EQ(Positions(*store)[0], u"A");
  store->SaveHistoryAndFavorites();
  EXPECT_FALSE(DeviceFileExists(u"\\Program Files\\mivo\\mivo_ah.dat.bad"));
  EXPECT_EQ(ReadDeviceFile(kHistoryPath), Log({}));
}

TEST_F(DamagedFiles, AFavouritesFileCutShortIsKeptAsideBeforeItIsReplaced) {
  auto full = Favourites({&kA, &kB, &kC});
  std::vector<std::uint8_t> cut(full.begin(), full.end() - 6);
  WriteDeviceFile(kFavoritesPath, cut);
  auto store = NewStore();
  store->LoadHistoryAndFavorites();
  EXPECT_EQ(store->FavoritesReadState(), mivoFileReadState::kDamaged);
  EXPECT_EQ(Positions(*store), (std::vector<std::u16string>{u"A", u"B", u"-", u"-", u"-", u"-", u"-", u"-", u"-"}));
  store->SetFavorite(4, kC.Clone());
  EXPECT_EQ(ReadDeviceFile(u"\\Program Files\\mivo\\mivo_fav.dat.bad"), cut);
  // Kept once: the next save does not replace the copy with the new file.
  store->SetFavorite(5, kC.Clone());
  EXPECT_EQ(ReadDeviceFile(u"\\Program Files\\mivo\\mivo_fav.dat.bad"), cut);
}

// Every prefix of both files: never a crash, and what was read before the
// cut stays.
TEST_F(DamagedFiles, FilesCutAtEveryByteKeepWhatCameBeforeTheCut) {
  const mivoActionMakeCall call(nullptr, u"+1 555 0100");
  const mivoActionShowPage page(nullptr, 24, 0, 0);
  const mivoActionSubMenu menu(nullptr, u"SMS");
  const auto history = Log({&call, &page, &page, &menu, &kA});
  const auto favourites = Favourites({&call, nullptr, &menu, &page, &kB});
  for (std::size_t cut = 0; cut < history.size(); ++cut) {
    auto store = NewStore();
    const auto state = store->ReadHistory(std::span(history.data(), cut));
    EXPECT_EQ(state, mivoFileReadState::kDamaged) << cut;
    EXPECT_LE(store->History().TotalStarts(), 5u);
  }
  for (std::size_t cut = 0; cut < favourites.size(); ++cut) {
    auto store = NewStore();
    EXPECT_EQ(store->ReadFavorites(std::span(favourites.data(), cut)), mivoFileReadState::kDamaged) << cut;
    EXPECT_EQ(store->Favorites().Count(), 9u) << cut;
    // Every position read is one of the file's, in its place.
    const auto got = Positions(*store);
    const std::vector<std::u16string> all{call.IdentityKey(), u"-", menu.IdentityKey(), page.IdentityKey(), u"B"};
    for (std::size_t i = 0; i < all.size(); ++i) {
      if (got[i] != u"-") {
        EXPECT_EQ(got[i], all[i]) << "cut " << cut << " position " << i;
      }
    }
  }
}

TEST_F(DamagedFiles, UnknownKindsAndGarbageNeverCrashTheReaders) {
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> byte(0, 255);
  const auto valid = Log({&kA, &kB});
  for (int round = 0; round < 300; ++round) {
    auto bytes = valid;
    // A few bytes changed, some runs of type ids a reader does not know.
    for (int k = 0; k < 4; ++k) bytes[static_cast<std::size_t>(byte(rng)) % bytes.size()] = static_cast<std::uint8_t>(byte(rng));
    if (round % 3 == 0) bytes.insert(bytes.begin(), {0x0B, 0, 0, 0, 0x0C, 0, 0, 0});
    auto store = NewStore();
    store->ReadHistory(bytes);
    store->ReadFavorites(bytes);
    EXPECT_GE(store->Favorites().Count(), 9u);
  }
}

// A record of an unknown kind is skipped by its type id alone: in the
// favourites it is an empty position, in the history it is passed over; in
// both the next u32 is read as a type id.
TEST_F(DamagedFiles, AnUnknownKindIsSkippedByItsTypeIdAlone) {
  mivoArchiveWriter favourites;
  kA.SaveRecord(favourites);
  favourites.WriteU32(10);
  kB.SaveRecord(favourites);
  favourites.WriteU32(0xFFFFFFFFu);
  WriteDeviceFile(kFavoritesPath, favourites.Bytes());
  auto store = NewStore();
  store->LoadHistoryAndFavorites();
  EXPECT_EQ(Positions(*store), (std::vector<std::u16string>{u"A", u"-", u"B", u"-", u"-", u"-", u"-", u"-", u"-"}));
  EXPECT_EQ(store->FavoritesReadState(), mivoFileReadState::kComplete);

  mivoArchiveWriter history;
  history.WriteU32(12);
  kA.SaveRecord(history);
  history.WriteU32(0xFFFFFFFFu);
  auto other = NewStore();
  EXPECT_EQ(other->ReadHistory(history.Bytes()), mivoFileReadState::kComplete);
  EXPECT_EQ(Ranking(*other), (std::vector<std::string>{"A:1"}));
}

// A writer killed at any moment leaves the previous file or the new one,
// each read to its end marker.
TEST_F(DamagedFiles, KillingTheProcessWhileItSavesLeavesAWholeFile) {
  // The old file: 2,000 starts of one file.
  {
    auto store = NewStore();
    for (int i = 0; i < 2000; ++i) store->RecordAction(kA);
    ASSERT_TRUE(store->SaveHistory());
  }
  const auto old = ReadDeviceFile(kHistoryPath);
  std::mt19937 rng(3);
  std::uniform_int_distribution<int> delay(0, 250000);
  int sawNew = 0;
  for (int round = 0; round < 12; ++round) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      auto store = NewStore();
      for (int i = 0; i < 60000; ++i) {
        store->RecordAction(mivoActionExecuteFile(nullptr, u"\\Long\\Path\\" + text::FromInt(i % 900)));
      }
      (void)!write(ready[1], "r", 1);
      for (;;) store->SaveHistory();
    }
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    close(ready[0]);
    close(ready[1]);
    // Somewhere inside one of the saves.
    usleep(static_cast<useconds_t>(delay(rng)));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    const auto now = ReadDeviceFile(kHistoryPath);
    auto store = NewStore();
    EXPECT_EQ(store->ReadHistory(now), mivoFileReadState::kComplete) << "round " << round;
    if (now != old) {
      ++sawNew;
      EXPECT_EQ(store->History().TotalStarts(), 60000u) << "round " << round;
    }
  }
  EXPECT_GT(sawNew, 0) << "no save ever completed: the test did not test";
}

}  // namespace
