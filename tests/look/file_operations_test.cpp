// The file clipboard and folder operations on a scratch device.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "look/file_operations.h"
#include "platform/win32/errors.h"
#include "test_util.h"

namespace {

namespace stdfs = std::filesystem;

class RecordingUI : public mivoFileOperationsUI {
 public:
  void ShowSystemError(int stringId) override { errors.push_back({stringId, GetLastError()}); }
  bool EnterText(std::u16string_view, std::u16string_view, std::u16string* value) override {
    if (!answer) return false;
    *value = *answer;
    return true;
  }
  std::vector<std::pair<int, DWORD>> errors;
  std::optional<std::u16string> answer;
};

class FileOperations : public ::testing::Test {
 protected:
  void SetUp() override {
    FileClipboard() = {};
    device.Put("Docs/a.txt", {'a'});
    device.Put("Docs/Tree/b.txt", {'b'});
    device.Put("Docs/Tree/Sub/c.txt", {'c'});
    stdfs::create_directories(device.Host("Other"));
  }
  looktest::ScratchDevice device;
  RecordingUI ui;
};

TEST_F(FileOperations, CopyingAFileKeepsTheClipboardAndRefusesAnExistingTarget) {
  CopyToClipboard(u"\\Docs\\a.txt", false);
  ASSERT_TRUE(Paste(u"\\Other\\", ui));
  EXPECT_EQ(device.Get("Other/a.txt"), looktest::Bytes{'a'});
  EXPECT_EQ(FileClipboard().Mode, mivoClipboardMode::kCopy) << "the same source can be pasted again";
  EXPECT_FALSE(Paste(u"\\Other", ui));
  ASSERT_EQ(ui.errors.size(), 1u);
  EXPECT_EQ(ui.errors[0], std::make_pair(359, ERROR_FILE_EXISTS));
  EXPECT_EQ(FileClipboard().Mode, mivoClipboardMode::kCopy);
}

TEST_F(FileOperations, CuttingAFileMovesItAndEmptiesTheClipboard) {
  CutToClipboard(u"\\Docs\\a.txt", false);
  ASSERT_TRUE(Paste(u"\\Other", ui));
  EXPECT_TRUE(device.Exists("Other/a.txt"));
  EXPECT_FALSE(device.Exists("Docs/a.txt"));
  EXPECT_EQ(FileClipboard().Mode, mivoClipboardMode::kEmpty);
  EXPECT_FALSE(Paste(u"\\Other", ui)) << "an empty clipboard pastes nothing";
  EXPECT_TRUE(ui.errors.empty());
}

TEST_F(FileOperations, CopyingAFolderCopiesTheTreeAndFailsOntoAnExistingFolder) {
  CopyToClipboard(u"\\Docs\\Tree\\", true);
  ASSERT_TRUE(Paste(u"\\Other", ui));
  EXPECT_EQ(device.Get("Other/Tree/Sub/c.txt"), looktest::Bytes{'c'});
  EXPECT_TRUE(device.Exists("Docs/Tree/Sub/c.txt"));
  EXPECT_FALSE(Paste(u"\\Other", ui));
  ASSERT_EQ(ui.errors.size(), 1u);
  EXPECT_EQ(ui.errors[0].first, 360);
  EXPECT_EQ(ui.errors[0].second, ERROR_ALREADY_EXISTS);
}

TEST_F(FileOperations, CuttingAFolderMovesItsContentButNeverOntoAnExistingFolder) {
  CutToClipboard(u"\\Docs\\Tree", true);
  ASSERT_TRUE(Paste(u"\\Other", ui));
  EXPECT_EQ(device.Get("Other/Tree/b.txt"), looktest::Bytes{'b'});
  EXPECT_EQ(device.Get("Other/Tree/Sub/c.txt"), looktest::Bytes{'c'});
  EXPECT_FALSE(device.Exists("Docs/Tree"));
  EXPECT_EQ(FileClipboard().Mode, mivoClipboardMode::kEmpty);
  stdfs::create_directories(device.Host("Docs/Tree"));
  EXPECT_FALSE(MoveFolderTree(u"\\Other\\Tree", u"\\Docs\\Tree")) << "onto an existing folder";
  EXPECT_TRUE(device.Exists("Other/Tree/Sub/c.txt")) << "nothing moved";
}

TEST_F(FileOperations, AFolderIsNeverPastedIntoItselfOrItsOwnSubFolders) {
  for (const char16_t* target : {u"\\Docs\\Tree", u"\\docs\\tree\\Sub", u"\\Docs\\Tree\\Sub\\"}) {
    ui.errors.clear();
    CopyToClipboard(u"\\Docs\\Tree", true);
    EXPECT_FALSE(Paste(target, ui));
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0].first, 360);
    CutToClipboard(u"\\Docs\\Tree", true);
    EXPECT_FALSE(Paste(target, ui));
    EXPECT_EQ(FileClipboard().Mode, mivoClipboardMode::kCut) << "left as it was";
  }
  EXPECT_FALSE(device.Exists("Docs/Tree/Tree"));
  EXPECT_FALSE(device.Exists("Docs/Tree/Sub/Tree"));
  EXPECT_TRUE(device.Exists("Docs/Tree/Sub/c.txt"));
  // A sibling whose name merely starts the same is fine.
  stdfs::create_directories(device.Host("Docs/TreeHouse"));
  CopyToClipboard(u"\\Docs\\Tree", true);
  EXPECT_TRUE(Paste(u"\\Docs\\TreeHouse", ui));
}

TEST_F(FileOperations, DeleteFolderTreeRemovesEverythingAndReportsAMissingFolder) {
  EXPECT_TRUE(DeleteFolderTree(u"\\Docs\\Tree"));
  EXPECT_FALSE(device.Exists("Docs/Tree"));
  EXPECT_TRUE(device.Exists("Docs/a.txt"));
  EXPECT_FALSE(DeleteFolderTree(u"\\Docs\\Tree"));
  stdfs::create_directories(device.Host("Docs/Empty"));
  EXPECT_TRUE(DeleteFolderTree(u"\\Docs\\Empty\\"));
}

TEST_F(FileOperations, RecursiveCopyAndDeleteNeverFollowALinkIntoAnotherFolder) {
  device.Put("Keep/precious.txt", {'p'});
  stdfs::create_directory_symlink(device.Host("Keep"), device.Host("Docs/Tree/Sub/link"));
  ASSERT_TRUE(CopyFolderTree(u"\\Docs\\Tree", u"\\Other\\Copy"));
  EXPECT_TRUE(stdfs::is_symlink(device.Host("Other/Copy/Sub/link"))) << "the link is copied as a link";
  ASSERT_TRUE(DeleteFolderTree(u"\\Docs\\Tree"));
  ASSERT_TRUE(DeleteFolderTree(u"\\Other\\Copy"));
  EXPECT_EQ(device.Get("Keep/precious.txt"), looktest::Bytes{'p'}) << "what the link pointed at stays";
  EXPECT_FALSE(device.Exists("Docs/Tree"));
}

TEST_F(FileOperations, AFolderIsNeverPastedIntoItselfThroughALink) {
  // \Other\alias is \Docs\Tree\Sub under another name.
  stdfs::create_directory_symlink("../Docs/Tree/Sub", device.Host("Other/alias"));
  CopyToClipboard(u"\\Docs\\Tree", true);
  EXPECT_FALSE(Paste(u"\\Other\\alias", ui));
  ASSERT_EQ(ui.errors.size(), 1u);
  EXPECT_EQ(ui.errors[0].first, 360);
  CutToClipboard(u"\\Docs\\Tree", true);
  EXPECT_FALSE(Paste(u"\\Other\\alias\\", ui));
  EXPECT_FALSE(device.Exists("Docs/Tree/Sub/Tree"));
  EXPECT_TRUE(device.Exists("Docs/Tree/Sub/c.txt"));
  // Even asked to, a copy takes the source as it was before the target was made.
  ASSERT_TRUE(CopyFolderTree(u"\\Docs\\Tree", u"\\Other\\alias\\Copy"));
  EXPECT_EQ(device.Get("Docs/Tree/Sub/Copy/Sub/c.txt"), looktest::Bytes{'c'});
  EXPECT_FALSE(device.Exists("Docs/Tree/Sub/Copy/Sub/Copy"));
}

TEST_F(FileOperations, LinksToFilesAreCopiedAndMovedAsLinks) {
  stdfs::create_symlink("b.txt", device.Host("Docs/Tree/alias.txt"));
  ASSERT_TRUE(CopyFolderTree(u"\\Docs\\Tree", u"\\Other\\Copy"));
  ASSERT_TRUE(stdfs::is_symlink(device.Host("Other/Copy/alias.txt")));
  EXPECT_EQ(stdfs::read_symlink(device.Host("Other/Copy/alias.txt")), "b.txt");
  ASSERT_TRUE(MoveFolderTree(u"\\Other\\Copy", u"\\Other\\Moved"));
  EXPECT_TRUE(stdfs::is_symlink(device.Host("Other/Moved/alias.txt")));
}

TEST_F(FileOperations, AFolderWithLinksThatLeadNowhereOrOutOfTheDeviceIsDeletedWithoutTouchingWhatTheyLeadTo) {
  const stdfs::path outside = device.Host("").parent_path().string() + "-outside";
  stdfs::create_directories(outside);
  looktest::Bytes secret{'s'};
  std::ofstream(outside / "secret.txt") << 's';
  stdfs::create_symlink("nowhere.txt", device.Host("Docs/Tree/dangling.txt"));
  stdfs::create_directory_symlink(outside, device.Host("Docs/Tree/Sub/out"));
  stdfs::create_symlink(outside / "secret.txt", device.Host("Docs/Tree/Sub/secret.txt"));
  const bool deleted = DeleteFolderTree(u"\\Docs\\Tree");
  const DWORD error = GetLastError();
  EXPECT_TRUE(deleted) << "error " << error;
  EXPECT_FALSE(stdfs::exists(stdfs::symlink_status(device.Host("Docs/Tree"))));
  EXPECT_TRUE(stdfs::exists(outside / "secret.txt"));
  std::error_code ec;
  stdfs::remove_all(outside, ec);
}

// The question's texts and a cancelled question are FileOperationsUI's, through the real overlays.
TEST_F(FileOperations, CreateFolderReportsAnExistingFolderAndRefusesNamesThatAreNoPlainName) {
  ui.answer = u"Photos";
  ASSERT_TRUE(CreateFolder(u"\\Docs\\", ui));
  EXPECT_TRUE(stdfs::is_directory(device.Host("Docs/Photos")));
  EXPECT_FALSE(CreateFolder(u"\\Docs", ui));
  ASSERT_EQ(ui.errors.size(), 1u);
  EXPECT_EQ(ui.errors[0], std::make_pair(364, ERROR_ALREADY_EXISTS));

  for (const char16_t* bad : {u"", u"..", u"a\\b", u"..\\Other\\x"}) {
    ui.answer = bad;
    EXPECT_FALSE(CreateFolder(u"\\Docs", ui));
    EXPECT_EQ(ui.errors.back(), std::make_pair(364, ERROR_INVALID_NAME));
  }
  EXPECT_FALSE(device.Exists("Other/x"));
}

}  // namespace
