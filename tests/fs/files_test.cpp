#include "platform/fs/files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <vector>

#include "platform/fs/device_path.h"
#include "platform/fs/find.h"
#include "platform/win32/errors.h"
#include "platform/win32/format_message.h"
#include "platform/win32/local_memory.h"
#include "platform/win32/text.h"
#include "tests/fs/last_error.h"
#include "tests/fs/temp_dir.h"

using testing_support::FailsWith;
using testing_support::ReadText;
using testing_support::TempDir;
using testing_support::WriteText;

namespace {

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root = dir / "fs";
    std::filesystem::create_directories(root);
    fs::SetDeviceRoot(root);
  }
  // Every name a search yields, in order; their attributes are kept in `attributes`.
  std::vector<std::string> Find(const std::u16string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW(pattern.c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
      names.push_back(text::ToUtf8(fd.cFileName));
      attributes[names.back()] = fd.dwFileAttributes;
    } while (FindNextFileW(h, &fd));
    EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
    EXPECT_TRUE(FindClose(h));
    return names;
  }
  TempDir dir;
  std::string root;
  std::map<std::string, DWORD> attributes;
};

TEST_F(FilesTest, SearchesNeverYieldDotEntriesAndMatchPatternsWithoutCase) {
  WriteText(root + "/Docs/b.TXT", "1");
  WriteText(root + "/Docs/a.txt", "22");
  WriteText(root + "/Docs/README", "333");
  WriteText(root + "/Docs/.hidden", "");
  std::filesystem::create_directories(root + "/Docs/Sub");
  EXPECT_EQ(Find(u"\\docs\\*.*"), (std::vector<std::string>{".hidden", "a.txt", "b.TXT", "README", "Sub"}));
  EXPECT_EQ(Find(u"\\DOCS\\*.txt"), (std::vector<std::string>{"a.txt", "b.TXT"}));
  EXPECT_EQ(Find(u"\\Docs\\?.txt"), (std::vector<std::string>{"a.txt", "b.TXT"}));
  EXPECT_EQ(Find(u"\\Docs\\readme"), (std::vector<std::string>{"README"}));
  EXPECT_EQ(Find(u"\\Docs\\readme.*"), (std::vector<std::string>{"README"}));
  EXPECT_EQ(Find(u"\\*.*"), (std::vector<std::string>{"Docs"}));

  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW(u"\\Docs\\*.*", &fd);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(fd.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_HIDDEN);
  ASSERT_TRUE(FindNextFileW(h, &fd));  // a.txt
  EXPECT_EQ(fd.nFileSizeLow, 2u);
  EXPECT_EQ(fd.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN), 0u);
  EXPECT_GT(fd.ftLastWriteTime.dwHighDateTime, 0x01D00000u);  // after 2014
  while (FindNextFileW(h, &fd)) {}
  EXPECT_STREQ(text::ToUtf8(fd.cFileName).c_str(), "Sub");
  EXPECT_TRUE(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  FindClose(h);
  EXPECT_TRUE(FailsWith(FindClose(h), ERROR_INVALID_HANDLE));
  EXPECT_FALSE(FindNextFileW(h, &fd));

  EXPECT_TRUE(FailsWith(FindFirstFileW(u"\\Docs\\*.doc", &fd) != INVALID_HANDLE_VALUE, ERROR_FILE_NOT_FOUND));
  EXPECT_TRUE(FailsWith(FindFirstFileW(u"\\Nowhere\\*.*", &fd) != INVALID_HANDLE_VALUE, ERROR_PATH_NOT_FOUND));
  EXPECT_TRUE(FailsWith(FindFirstFileW(u"\\..\\*.*", &fd) != INVALID_HANDLE_VALUE, ERROR_ACCESS_DENIED));
  EXPECT_EQ(FindFirstFileW(nullptr, &fd), INVALID_HANDLE_VALUE);
}

// Links are entries of their own: listed even when they lead nowhere, and
// removed or moved themselves, never what they lead to.
TEST_F(FilesTest, LinksAreListedRemovedAndMovedAsThemselves) {
  WriteText(dir / "outside/secret.txt", "s");
  WriteText(root + "/Docs/a.txt", "a");
  ASSERT_EQ(symlink("nowhere.txt", (root + "/Docs/dangling").c_str()), 0);
  ASSERT_EQ(symlink((dir / "outside").c_str(), (root + "/Docs/out").c_str()), 0);
  ASSERT_EQ(symlink("a.txt", (root + "/Docs/alias.txt").c_str()), 0);
  EXPECT_EQ(Find(u"\\Docs\\*.*"), (std::vector<std::string>{"a.txt", "alias.txt", "dangling", "out"}));
  EXPECT_FALSE(attributes["a.txt"] & FILE_ATTRIBUTE_REPARSE_POINT);
  EXPECT_TRUE(attributes["alias.txt"] & FILE_ATTRIBUTE_REPARSE_POINT);
  EXPECT_TRUE(attributes["dangling"] & FILE_ATTRIBUTE_REPARSE_POINT);
  EXPECT_TRUE((attributes["out"] & FILE_ATTRIBUTE_REPARSE_POINT) && (attributes["out"] & FILE_ATTRIBUTE_DIRECTORY));

  EXPECT_TRUE(MoveFileW(u"\\Docs\\dangling", u"\\Docs\\moved"));
  EXPECT_TRUE(DeleteFileW(u"\\Docs\\moved"));
  EXPECT_TRUE(DeleteFileW(u"\\Docs\\alias.txt"));
  EXPECT_TRUE(fs::DeleteLink(u"\\Docs\\out"));
  EXPECT_EQ(Find(u"\\Docs\\*.*"), (std::vector<std::string>{"a.txt"}));
  EXPECT_EQ(ReadText(dir / "outside/secret.txt"), "s");
  EXPECT_FALSE(fs::DeleteLink(u"\\Docs\\a.txt")) << "not a link";
  EXPECT_EQ(ReadText(root + "/Docs/a.txt"), "a");
}

TEST(MatchPattern, FollowsThePlatformsWildcards) {
  EXPECT_TRUE(fs::MatchPattern(u"*.*", u"noext"));
  EXPECT_TRUE(fs::MatchPattern(u"*.pwi", u"Note.PWI"));
  EXPECT_FALSE(fs::MatchPattern(u"*.pwi", u"Note.pwix"));
  EXPECT_TRUE(fs::MatchPattern(u"a*b*c", u"aXXbYYc"));
  EXPECT_FALSE(fs::MatchPattern(u"a*b*c", u"aXXbYY"));
  EXPECT_TRUE(fs::MatchPattern(u"??.txt", u"ab.txt"));
  EXPECT_FALSE(fs::MatchPattern(u"??.txt", u"abc.txt"));
}

TEST_F(FilesTest, FoldersAreCreatedAndRemovedWithThePlatformsErrors) {
  EXPECT_TRUE(CreateDirectoryW(u"\\New folder", nullptr));
  EXPECT_TRUE(FailsWith(CreateDirectoryW(u"\\NEW FOLDER", nullptr), ERROR_ALREADY_EXISTS));
  EXPECT_TRUE(FailsWith(CreateDirectoryW(u"\\a\\b", nullptr), ERROR_PATH_NOT_FOUND));
  EXPECT_TRUE(FailsWith(CreateDirectoryW(u"\\..\\x", nullptr), ERROR_ACCESS_DENIED));
  EXPECT_EQ(GetFileAttributesW(u"\\new folder") & FILE_ATTRIBUTE_DIRECTORY, FILE_ATTRIBUTE_DIRECTORY);

  WriteText(root + "/New folder/f.txt", "x");
  EXPECT_TRUE(FailsWith(RemoveDirectoryW(u"\\New folder"), ERROR_DIR_NOT_EMPTY));
  EXPECT_TRUE(FailsWith(RemoveDirectoryW(u"\\New folder\\f.txt"), ERROR_DIRECTORY));
  EXPECT_TRUE(FailsWith(DeleteFileW(u"\\New folder"), ERROR_ACCESS_DENIED));
  EXPECT_TRUE(DeleteFileW(u"\\new folder\\F.TXT"));
  EXPECT_TRUE(FailsWith(DeleteFileW(u"\\new folder\\F.TXT"), ERROR_FILE_NOT_FOUND));
  EXPECT_TRUE(RemoveDirectoryW(u"\\New folder"));
  EXPECT_TRUE(FailsWith(GetFileAttributesW(u"\\New folder") != INVALID_FILE_ATTRIBUTES, ERROR_FILE_NOT_FOUND));
  EXPECT_TRUE(FailsWith(GetFileAttributesW(u"\\x\\y") != INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND));

  EXPECT_TRUE(fs::CreateDirectories(u"\\My Documents\\My Pictures\\2024"));
  EXPECT_TRUE(fs::IsDirectory(u"\\my documents\\my pictures\\2024"));
}

TEST_F(FilesTest, CopyHonoursFailIfExistsAndMoveNeverReplaces) {
  WriteText(root + "/a.txt", "alpha");
  WriteText(root + "/b.txt", "beta");
  EXPECT_TRUE(FailsWith(CopyFileW(u"\\a.txt", u"\\B.TXT", TRUE), ERROR_FILE_EXISTS));
  EXPECT_EQ(ReadText(root + "/b.txt"), "beta");
  EXPECT_TRUE(CopyFileW(u"\\a.txt", u"\\B.TXT", FALSE));
  EXPECT_EQ(ReadText(root + "/b.txt"), "alpha");
  EXPECT_TRUE(CopyFileW(u"\\a.txt", u"\\c.txt", TRUE));
  EXPECT_EQ(ReadText(root + "/c.txt"), "alpha");
  EXPECT_TRUE(FailsWith(CopyFileW(u"\\missing", u"\\d.txt", TRUE), ERROR_FILE_NOT_FOUND));
  std::filesystem::create_directories(root + "/dir");
  EXPECT_TRUE(FailsWith(CopyFileW(u"\\dir", u"\\dir2", TRUE), ERROR_ACCESS_DENIED));

  EXPECT_TRUE(FailsWith(MoveFileW(u"\\a.txt", u"\\c.txt"), ERROR_ALREADY_EXISTS));
  EXPECT_TRUE(MoveFileW(u"\\a.txt", u"\\dir\\moved.txt"));
  EXPECT_EQ(ReadText(root + "/dir/moved.txt"), "alpha");
  EXPECT_TRUE(MoveFileW(u"\\dir", u"\\Folder"));
  EXPECT_EQ(ReadText(root + "/Folder/moved.txt"), "alpha");
  EXPECT_TRUE(MoveFileW(u"\\folder\\moved.txt", u"\\folder\\MOVED.TXT"));  // case only
  EXPECT_EQ(ReadText(root + "/Folder/MOVED.TXT"), "alpha");
  EXPECT_FALSE(MoveFileW(u"\\Folder", u"\\Folder\\inside"));
  EXPECT_TRUE(FailsWith(MoveFileW(u"\\c.txt", u"\\..\\escaped.txt"), ERROR_ACCESS_DENIED));
}

TEST(FormatMessage, GivesThePlatformsTextsAndFailsForUnknownCodes) {
  LPWSTR text = nullptr;
  DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, ERROR_FILE_NOT_FOUND, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(std::u16string(text), u"The system cannot find the file specified.");
  EXPECT_EQ(n, text::Length(text));
  LocalFree(text);

  char16_t small[8];
  EXPECT_TRUE(FailsWith(FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_ACCESS_DENIED, 0, small, 8, nullptr),
                        ERROR_INSUFFICIENT_BUFFER));
  char16_t buf[128];
  EXPECT_GT(FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_DISK_FULL, 0, buf, 128, nullptr), 0u);
  EXPECT_EQ(std::u16string(buf), u"There is not enough space on the disk.");
  EXPECT_TRUE(FailsWith(FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, 0xDEAD, 0, buf, 128, nullptr),
                        ERROR_MR_MID_NOT_FOUND));
  EXPECT_EQ(SystemErrorText(static_cast<DWORD>(HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED))), u"Access is denied.");
}

}  // namespace
