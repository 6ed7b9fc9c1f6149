// The file operations' questions and errors through the program's own overlays.
#include <gtest/gtest.h>

#include "look/file_operations.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "platform/fs/files.h"
#include "tests/ui/ui_harness.h"
#include "ui/overlay.h"

using uitest::TapOverlayButton;
using uitest::UiHarness;

TEST(FileOperationsUI, AFolderNameIsAskedWithTheTextEntryAndAFailureShowsTheSystemsReason) {
  UiHarness h("file_ops_ui");
  ASSERT_TRUE(h.Start());
  CreateDirectoryW(u"\\My Documents", nullptr);
  ui::OverlayDescription asked, error;
  h.AtIdle([&] {
    asked = uitest::OpenOverlay();
    TapOverlayButton(0);
  });
  EXPECT_TRUE(CreateFolder(u"\\My Documents", h.Core().FileOperationsUI()));
  EXPECT_STREQ(asked.kind, "text");
  EXPECT_EQ(asked.title, u"Create folder");
  EXPECT_EQ(asked.text, u"Please enter the name of the folder.");
  EXPECT_EQ(asked.value, u"New folder");
  EXPECT_TRUE(fs::IsDirectory(u"\\My Documents\\New folder"));

  // The same name again: the folder exists.
  h.AtIdle([&] { TapOverlayButton(0); });
  h.AtIdle([&] {
    error = uitest::OpenOverlay();
    TapOverlayButton(0);
  });
  EXPECT_FALSE(CreateFolder(u"\\My Documents", h.Core().FileOperationsUI()));
  EXPECT_EQ(error.title, u"Error");
  const std::u16string prefix = GetString(IDS_CANNOT_CREATE_FOLDER);
  ASSERT_GT(error.text.size(), prefix.size());
  EXPECT_EQ(error.text.substr(0, prefix.size()), prefix);
  EXPECT_EQ(ui::TopOverlay(), nullptr);

  // Cancelled: nothing is made and nothing is said.
  h.AtIdle([&] { TapOverlayButton(1); });
  EXPECT_FALSE(CreateFolder(u"\\My Documents", h.Core().FileOperationsUI()));
  EXPECT_EQ(ui::TopOverlay(), nullptr);
}
