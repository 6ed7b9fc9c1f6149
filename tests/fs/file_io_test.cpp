#include "platform/fs/file_io.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/fs/device_path.h"
#include "platform/win32/errors.h"
#include "tests/fs/last_error.h"
#include "tests/fs/temp_dir.h"
#include "tests/registry/child_process.h"

using testing_support::FailsWith;
using testing_support::ReadText;
using testing_support::TempDir;
using testing_support::WriteText;

namespace {

std::vector<std::uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

int CountEntries(const std::string& dir) {
  const std::filesystem::directory_iterator it(dir);
  return static_cast<int>(std::distance(begin(it), end(it)));
}

class FileIoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root = dir / "fs";
    std::filesystem::create_directories(root + "/Program Files/mivo");
    fs::SetDeviceRoot(root);
  }
  TempDir dir;
  std::string root;
};

TEST_F(FileIoTest, WrittenFilesReadBackThroughCaseInsensitivePaths) {
  ASSERT_TRUE(fs::WriteFileAtomic(u"\\Program Files\\mivo\\mivo_fav.dat", Bytes("first")));
  EXPECT_EQ(ReadText(root + "/Program Files/mivo/mivo_fav.dat"), "first");
  std::vector<std::uint8_t> got;
  ASSERT_TRUE(fs::ReadFile(u"\\PROGRAM FILES\\MIVO\\MIVO_FAV.DAT", &got));
  EXPECT_EQ(got, Bytes("first"));

  // Replacing keeps one file and no temporary left behind, and keeps its rights.
  chmod((root + "/Program Files/mivo/mivo_fav.dat").c_str(), 0600);
  ASSERT_TRUE(fs::WriteFileAtomic(u"\\program files\\mivo\\MIVO_FAV.DAT", Bytes("second")));
  EXPECT_EQ(ReadText(root + "/Program Files/mivo/mivo_fav.dat"), "second");
  EXPECT_EQ(CountEntries(root + "/Program Files/mivo"), 1);
  struct stat st;
  ASSERT_EQ(stat((root + "/Program Files/mivo/mivo_fav.dat").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);

  // Empty and large files.
  ASSERT_TRUE(fs::WriteFileAtomic(u"\\empty", {}));
  ASSERT_TRUE(fs::ReadFile(u"\\empty", &got));
  EXPECT_TRUE(got.empty());
  std::vector<std::uint8_t> big(300000);
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<std::uint8_t>(i * 7);
  ASSERT_TRUE(fs::WriteFileAtomic(u"\\big.bin", big));
  ASSERT_TRUE(fs::ReadFile(u"\\big.bin", &got));
  EXPECT_EQ(got, big);
}

TEST_F(FileIoTest, FailuresSetThePlatformsErrorCodes) {
  std::vector<std::uint8_t> got;
  EXPECT_TRUE(FailsWith(fs::ReadFile(u"\\missing.dat", &got), ERROR_FILE_NOT_FOUND));
  EXPECT_TRUE(FailsWith(fs::WriteFileAtomic(u"\\no\\such\\folder\\f.dat", Bytes("x")), ERROR_PATH_NOT_FOUND));
  EXPECT_TRUE(FailsWith(fs::ReadFile(u"\\..\\outside", &got), ERROR_ACCESS_DENIED));
  EXPECT_TRUE(FailsWith(fs::WriteFileAtomic(u"\\Program Files", Bytes("x")), ERROR_ACCESS_DENIED));
  EXPECT_TRUE(FailsWith(fs::ReadFile(u"\\Program Files", &got), ERROR_ACCESS_DENIED));
}

TEST_F(FileIoTest, AFullDiskLeavesTheOldFileAndNoTemporary) {
  ASSERT_TRUE(fs::WriteFileAtomic(u"\\layout.dat", Bytes("old contents")));
  // A child process with a small file-size limit stands in for a full disk.
  pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit lim = {4096, 4096};
    setrlimit(RLIMIT_FSIZE, &lim);
    bool ok = fs::WriteFileAtomic(u"\\layout.dat", std::vector<std::uint8_t>(200000, 'n'));
    _exit(!ok && GetLastError() == ERROR_DISK_FULL ? 0 : 1);
  }
  ASSERT_EQ(testing_support::WaitProcess(pid), 0);
  EXPECT_EQ(ReadText(root + "/layout.dat"), "old contents");
  EXPECT_EQ(CountEntries(root), 2);  // "Program Files" and layout.dat
}

TEST_F(FileIoTest, AnAbandonedWriterLeavesTheTargetUntouched) {
  WriteText(root + "/h.dat", "history");
  {
    fs::AtomicFileWriter w;
    ASSERT_TRUE(w.Open(u"\\H.DAT"));
    ASSERT_TRUE(w.Write("half", 4));
  }
  EXPECT_EQ(ReadText(root + "/h.dat"), "history");
  EXPECT_EQ(CountEntries(root), 2);
}

TEST_F(FileIoTest, TheReaderGivesWhatIsThereAndReportsTheShortfall) {
  WriteText(root + "/short.bin", "abcdef");
  fs::FileReader r;
  ASSERT_TRUE(r.Open(u"\\short.bin"));
  EXPECT_EQ(r.Size(), 6u);
  char buf[4];
  EXPECT_TRUE(r.ReadExact(buf, 4));
  EXPECT_EQ(std::string(buf, 4), "abcd");
  EXPECT_FALSE(r.ReadExact(buf, 4));
  EXPECT_EQ(r.Position(), 6u);
  EXPECT_EQ(GetLastError(), ERROR_HANDLE_EOF);
  EXPECT_EQ(r.Read(buf, 4), 0u);
}

// Temporary files of writers that were killed go; those of live writers stay.
TEST_F(FileIoTest, OnlyTheTemporaryFilesOfDeadWritersAreRemoved) {
  std::filesystem::create_directories(root + "/My Documents/deep");
  // A child is killed in the middle of writing two files.
  pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    fs::AtomicFileWriter a, b;
    if (!a.Open(u"\\Program Files\\mivo\\mivo_ah.dat") || !a.Write("half", 4) ||
        !b.Open(u"\\My Documents\\deep\\notes.txt") || !b.Write("half", 4))
      _exit(1);
    kill(getpid(), SIGKILL);
  }
  ASSERT_EQ(testing_support::WaitProcess(pid), -1) << "killed";
  // This process is writing one meanwhile; names that only look alike stay.
  fs::AtomicFileWriter live;
  ASSERT_TRUE(live.Open(u"\\Program Files\\mivo\\mivo_fav.dat"));
  ASSERT_TRUE(live.Write("favourites", 10));
  WriteText(root + "/My Documents/plain.~abcdef", "a file of the user's");
  WriteText(root + "/My Documents/.hidden", "a file of the user's");
  std::filesystem::create_directories(root + "/My Documents/.folder.~abcdef");
  EXPECT_EQ(CountEntries(root + "/Program Files/mivo"), 2);
  EXPECT_EQ(CountEntries(root + "/My Documents/deep"), 1);

  EXPECT_EQ(fs::RemoveStaleTemporaryFiles(root), 2);
  EXPECT_EQ(CountEntries(root + "/Program Files/mivo"), 1) << "the live writer's file";
  EXPECT_EQ(CountEntries(root + "/My Documents/deep"), 0);
  EXPECT_EQ(CountEntries(root + "/My Documents"), 4);
  ASSERT_TRUE(live.Commit());
  EXPECT_EQ(ReadText(root + "/Program Files/mivo/mivo_fav.dat"), "favourites");
  EXPECT_EQ(CountEntries(root + "/Program Files/mivo"), 1);
  EXPECT_EQ(fs::RemoveStaleTemporaryFiles(root), 0);
}

TEST(TemporaryFileNames, AreTheWritersOwnAndNothingElse) {
  EXPECT_TRUE(fs::IsTemporaryFileName(".mivo_ah.dat.~Ab3dE9"));
  EXPECT_TRUE(fs::IsTemporaryFileName(".x.~000000"));
  EXPECT_FALSE(fs::IsTemporaryFileName("mivo_ah.dat.~Ab3dE9"));
  EXPECT_FALSE(fs::IsTemporaryFileName("..~Ab3dE9"));
  EXPECT_FALSE(fs::IsTemporaryFileName(".x.~Ab3d"));
  EXPECT_FALSE(fs::IsTemporaryFileName(".x.~Ab3-E9"));
  EXPECT_FALSE(fs::IsTemporaryFileName(".x.Ab3dE9"));
}

}  // namespace
