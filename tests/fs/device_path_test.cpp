#include "platform/fs/device_path.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/fs/file_io.h"
#include "platform/fs/files.h"
#include "platform/win32/errors.h"
#include "tests/fs/temp_dir.h"

using testing_support::TempDir;
using testing_support::WriteText;

namespace {

class DevicePathTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root = dir / "fs";
    std::filesystem::create_directories(root);
    fs::SetDeviceRoot(root);
  }
  std::string Map(std::u16string_view path) {
    std::string host;
    SetLastError(0);
    return fs::ToHostPath(path, &host) ? host : "REFUSED:" + std::to_string(GetLastError());
  }
  TempDir dir;
  std::string root;
};

TEST_F(DevicePathTest, ComponentsAreMatchedWithoutCaseAgainstWhatExists) {
  WriteText(root + "/Program Files/mivo/Skins/x.msk", "skin");
  EXPECT_EQ(Map(u"\\Program Files\\MIVO\\skins\\x.msk"), root + "/Program Files/mivo/Skins/x.msk");
  EXPECT_EQ(Map(u"\\PROGRAM FILES\\mivo\\SKINS\\X.MSK"), root + "/Program Files/mivo/Skins/x.msk");
  // What does not exist keeps the spelling given, so it can be created.
  EXPECT_EQ(Map(u"\\program files\\mivo\\New\\a.txt"), root + "/Program Files/mivo/New/a.txt");
}

TEST_F(DevicePathTest, ExactSpellingWinsAndSeveralMatchesChooseTheSameOneEveryTime) {
  std::filesystem::create_directories(root + "/abc");
  std::filesystem::create_directories(root + "/ABC");
  EXPECT_EQ(Map(u"\\abc"), root + "/abc");
  EXPECT_EQ(Map(u"\\ABC"), root + "/ABC");
  EXPECT_EQ(Map(u"\\Abc"), root + "/ABC");  // "ABC" < "abc" in byte order
}

TEST_F(DevicePathTest, SeparatorsDotsAndRootAreNormalised) {
  EXPECT_EQ(Map(u"\\"), root);
  EXPECT_EQ(Map(u""), root);
  EXPECT_EQ(Map(u"\\a\\\\b\\.\\c\\"), root + "/a/b/c");
  EXPECT_EQ(Map(u"/a/b"), root + "/a/b");
  EXPECT_EQ(Map(u"\\a\\b\\..\\c"), root + "/a/c");
}

TEST_F(DevicePathTest, PathsThatLeaveTheDeviceAreRefused) {
  const std::string denied = "REFUSED:" + std::to_string(ERROR_ACCESS_DENIED);
  EXPECT_EQ(Map(u"\\..\\etc\\passwd"), denied);
  EXPECT_EQ(Map(u"\\a\\..\\..\\etc"), denied);
  EXPECT_EQ(Map(u".."), denied);

  // A link out of the device, to a folder, a file, or nowhere yet.
  std::filesystem::create_directories(dir / "outside");
  WriteText(dir / "outside/secret", "x");
  ASSERT_EQ(symlink((dir / "outside").c_str(), (root + "/out").c_str()), 0);
  ASSERT_EQ(symlink((dir / "outside/secret").c_str(), (root + "/secret").c_str()), 0);
  ASSERT_EQ(symlink((dir / "outside/new-file").c_str(), (root + "/dangling").c_str()), 0);
  EXPECT_EQ(Map(u"\\out\\secret"), denied);
  EXPECT_EQ(Map(u"\\OUT\\new.txt"), denied);
  EXPECT_EQ(Map(u"\\secret"), denied);
  EXPECT_EQ(Map(u"\\dangling"), denied);

  // A link that stays inside the device is fine.
  std::filesystem::create_directories(root + "/real");
  ASSERT_EQ(symlink((root + "/real").c_str(), (root + "/alias").c_str()), 0);
  EXPECT_EQ(Map(u"\\alias\\f.txt"), root + "/alias/f.txt");

  EXPECT_EQ(Map(std::u16string(u"\\a\0b", 4)), "REFUSED:" + std::to_string(ERROR_INVALID_NAME));
}

TEST_F(DevicePathTest, AListingScopeKeepsUpWithItsThreadsWritesAndForgetsWhatIsRemovedOrMoved) {
  fs::ListingScope scope;
  std::filesystem::create_directories(root + "/Skins");
  EXPECT_EQ(Map(u"\\skins\\A.png"), root + "/Skins/A.png");  // "Skins" listed now, without a.png
  ASSERT_TRUE(fs::WriteFileAtomic(u"\\Skins\\a.png", {1}));
  EXPECT_EQ(Map(u"\\SKINS\\A.PNG"), root + "/Skins/a.png") << "the writer added it to the listing kept";
  ASSERT_TRUE(CreateDirectoryW(u"\\Skins\\Sub", nullptr));
  ASSERT_TRUE(fs::WriteFileAtomic(u"\\skins\\SUB\\x", {2}));
  EXPECT_EQ(Map(u"\\skins\\sub\\X"), root + "/Skins/Sub/x");
  ASSERT_TRUE(DeleteFileW(u"\\Skins\\a.png"));
  EXPECT_EQ(Map(u"\\Skins\\A.png"), root + "/Skins/A.png") << "removed: the spelling given";
  ASSERT_TRUE(MoveFileW(u"\\Skins\\Sub", u"\\Skins\\Other"));
  EXPECT_EQ(Map(u"\\skins\\other\\X"), root + "/Skins/Other/x");
  EXPECT_EQ(Map(u"\\skins\\SUB\\x"), root + "/Skins/SUB/x") << "moved away";
}

TEST_F(DevicePathTest, HostPathsUnderTheRootMapBackToDevicePaths) {
  std::u16string device;
  ASSERT_TRUE(fs::ToDevicePath(root + "/My Documents/a.jpg", &device));
  EXPECT_EQ(device, u"\\My Documents\\a.jpg");
  ASSERT_TRUE(fs::ToDevicePath(root, &device));
  EXPECT_EQ(device, u"\\");
  EXPECT_FALSE(fs::ToDevicePath(root + "x/a", &device));
  EXPECT_FALSE(fs::ToDevicePath("/etc/passwd", &device));
}

TEST(DevicePathParts, ParentNameAndJoinSplitAtTheLastBackslash) {
  EXPECT_EQ(fs::ParentPath(u"\\a\\b\\c.txt"), u"\\a\\b");
  EXPECT_EQ(fs::ParentPath(u"\\x"), u"\\");
  EXPECT_EQ(fs::ParentPath(u"\\a\\b\\"), u"\\a");
  EXPECT_EQ(fs::FileNamePart(u"\\a\\b\\c.txt"), u"c.txt");
  EXPECT_EQ(fs::FileNamePart(u"\\a\\b\\"), u"b");
  EXPECT_EQ(fs::JoinPath(u"\\a\\", u"b"), u"\\a\\b");
  EXPECT_EQ(fs::JoinPath(u"\\", u"b"), u"\\b");
  std::u16string n;
  ASSERT_TRUE(fs::NormalizeDevicePath(u"a\\.\\b\\..\\c\\", &n));
  EXPECT_EQ(n, u"\\a\\c");
  EXPECT_FALSE(fs::NormalizeDevicePath(u"\\..", &n));
}

}  // namespace
