// The skin editor's "Apply" on a device: the copy into the skin folder and its refusals and failures.
#include <gtest/gtest.h>

#include "look/skin.h"
#include "platform/fs/file_io.h"
#include "platform/fs/files.h"
#include "platform/win32/errors.h"
#include "platform/win32/text.h"
#include "tests/app/test_device.h"
#include "ui/look_pages/skin_image_apply.h"

namespace {

bool WriteText(const char16_t* path, const std::string& text) {
  return fs::WriteFileAtomic(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

std::string ReadText(const char16_t* path) {
  std::vector<std::uint8_t> bytes;
  if (!fs::ReadFile(path, &bytes)) return "(missing)";
  return std::string(bytes.begin(), bytes.end());
}

struct SkinFixture {
  apptest::TestDevice device{"ui_skin_apply"};
  mivoSkin skin{u"\\Program Files\\mivo\\"};
  SkinFixture() {
    for (const char16_t* f : {u"\\Program Files", u"\\Program Files\\mivo", u"\\Program Files\\mivo\\Skins",
                              u"\\Program Files\\mivo\\Skins\\Test", u"\\My Documents"})
      CreateDirectoryW(f, nullptr);
    skin.Name = u"Test";
  }
};

}  // namespace

TEST(SkinImageApply, APictureIsCopiedUnderTheImagesNameAndItsExtensionWithThePickedColour) {
  SkinFixture f;
  ASSERT_TRUE(WriteText(u"\\My Documents\\Sun.PNG", "sun"));
  mivoSkinImage* image = f.skin.FindOrAddImage(u"gadget_clock_0");
  EXPECT_EQ(ApplySkinImageFile(f.skin, *image, u"\\My Documents\\Sun.PNG", RGB(255, 0, 255)), mivoApplyResult::kCopied);
  EXPECT_EQ(image->File, u"gadget_clock_0.PNG");
  EXPECT_EQ(image->TransparentColor, RGB(255, 0, 255));
  EXPECT_EQ(ReadText(u"\\Program Files\\mivo\\Skins\\Test\\gadget_clock_0.PNG"), "sun");
  EXPECT_EQ(ReadText(u"\\My Documents\\Sun.PNG"), "sun");

  // A newer picture replaces the copy.
  ASSERT_TRUE(WriteText(u"\\My Documents\\Moon.PNG", "moon"));
  EXPECT_EQ(ApplySkinImageFile(f.skin, *image, u"\\My Documents\\Moon.PNG", RGB(0, 0, 0)), mivoApplyResult::kCopied);
  EXPECT_EQ(ReadText(u"\\Program Files\\mivo\\Skins\\Test\\gadget_clock_0.PNG"), "moon");
}

TEST(SkinImageApply, ChoosingTheImagesOwnFileChangesOnlyTheColourAndKeepsTheFile) {
  SkinFixture f;
  ASSERT_TRUE(WriteText(u"\\Program Files\\mivo\\Skins\\Test\\exit.png", "door"));
  mivoSkinImage* image = f.skin.FindOrAddImage(u"exit");
  image->File = u"exit.png";
  EXPECT_EQ(ApplySkinImageFile(f.skin, *image, u"\\program files\\MIVO\\skins\\test\\EXIT.png", RGB(1, 2, 3)),
            mivoApplyResult::kColorOnly);
  EXPECT_EQ(image->TransparentColor, RGB(1, 2, 3));
  EXPECT_EQ(image->File, u"exit.png");
  EXPECT_EQ(ReadText(u"\\Program Files\\mivo\\Skins\\Test\\exit.png"), "door");
}

TEST(SkinImageApply, NamesThatLeadOutOfTheSkinFolderAndPicturesWithoutExtensionAreRefused) {
  SkinFixture f;
  ASSERT_TRUE(WriteText(u"\\My Documents\\pic.png", "pic"));
  for (const char16_t* name : {u"..\\..\\Windows\\evil", u"a/b", u"..", u"x..y", u"c:thing", u""}) {
    mivoSkinImage* image = f.skin.FindOrAddImage(name);
    image->TransparentColor = RGB(9, 9, 9);
    EXPECT_EQ(ApplySkinImageFile(f.skin, *image, u"\\My Documents\\pic.png", RGB(1, 1, 1)), mivoApplyResult::kBadName)
        << text::ToUtf8(name);
    EXPECT_EQ(image->TransparentColor, RGB(9, 9, 9));
    EXPECT_TRUE(image->File.empty());
  }
  EXPECT_EQ(GetFileAttributesW(u"\\Windows\\evil.png"), INVALID_FILE_ATTRIBUTES);
  mivoSkinImage* plain = f.skin.FindOrAddImage(u"plain");
  EXPECT_EQ(ApplySkinImageFile(f.skin, *plain, u"\\My Documents\\README", RGB(1, 1, 1)), mivoApplyResult::kNoExtension);
  EXPECT_EQ(ApplySkinImageFile(f.skin, *plain, u"\\My Documents\\trailing.", RGB(1, 1, 1)), mivoApplyResult::kNoExtension);
  EXPECT_EQ(ApplySkinImageFile(f.skin, *plain, u"\\My.Folder\\README", RGB(1, 1, 1)), mivoApplyResult::kNoExtension);
  EXPECT_EQ(FileExtension(u"\\a\\b.tar.gz"), u".gz");
}

TEST(SkinImageApply, AFailedCopyKeepsTheEarlierPictureAndStillSetsTheColour) {
  SkinFixture f;
  ASSERT_TRUE(WriteText(u"\\Program Files\\mivo\\Skins\\Test\\sms.png", "old"));
  mivoSkinImage* image = f.skin.FindOrAddImage(u"sms");
  image->File = u"sms.png";
  EXPECT_EQ(ApplySkinImageFile(f.skin, *image, u"\\My Documents\\gone.png", RGB(4, 5, 6)), mivoApplyResult::kCopyFailed);
  EXPECT_NE(GetLastError(), 0u);
  EXPECT_EQ(image->File, u"sms.png");
  EXPECT_EQ(image->TransparentColor, RGB(4, 5, 6));
  EXPECT_EQ(ReadText(u"\\Program Files\\mivo\\Skins\\Test\\sms.png"), "old");
}
