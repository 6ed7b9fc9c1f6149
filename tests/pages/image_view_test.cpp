// The internal image viewer with the whole program in this process.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "actions/action_kinds.h"
#include "core/settings.h"
#include "pages/image_view_page.h"
#include "platform/imaging/imaging.h"
#include "tests/pages/large_jpeg.h"
#include "tests/pages/pages_fixture.h"

namespace {

using pagestest::Json;

class ImageViewer : public pagestest::PagesTest {
 protected:
  static void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
  }
  // Opens a picture as a run-file action does with the viewer on.
  CmivoImageViewPage* Open(const std::u16string& path) {
    Core().Settings().SetUseInternalImageViewer(true);
    Core().Settings().SetAskBeforeExecuteFile(false);
    m_action = std::make_unique<mivoActionExecuteFile>(&Core(), path);
    Core().RunAction(m_action.get());
    m_ui->Wait(600);
    return dynamic_cast<CmivoImageViewPage*>(Core().TopPage());
  }
  std::string Title() { return Dump()["top"]["title"].AsString(); }
  // A tap on the right or left half of the page.
  void TapRight() {
    m_ui->Tap(200, 180);
    m_ui->Wait(100);
  }
  void TapLeft() {
    m_ui->Tap(40, 180);
    m_ui->Wait(100);
  }

  std::unique_ptr<mivoActionExecuteFile> m_action;
};

TEST_F(ImageViewer, OnlyVisibleJpgFilesAreListedAndTapsWrapAroundAtBothEnds) {
  const auto dir = Host(u"\\Trip");
  const auto jpeg = pagestest::MakeJpeg(64, 48);
  for (const char* name : {"a.JPG", "b.jpeg", "c.jpg", "d.png", ".e.jpg"}) WriteBytes(dir / name, jpeg);
  std::filesystem::create_directories(dir / "f.jpg");
  CmivoImageViewPage* viewer = Open(u"\\Trip\\c.jpg");
  ASSERT_NE(viewer, nullptr);
  // The first and the third: ".jpeg", the PNG, the hidden file and the folder are not.
  EXPECT_EQ(viewer->Pictures(), (std::vector<std::u16string>{u"\\Trip\\a.JPG", u"\\Trip\\c.jpg"}));
  EXPECT_EQ(Title(), "c.jpg (2/2)");
  TapRight();
  EXPECT_EQ(Title(), "a.JPG (1/2)");
  for (const char* title : {"c.jpg (2/2)", "a.JPG (1/2)", "c.jpg (2/2)"}) {
    TapLeft();
    EXPECT_EQ(Title(), title);
  }
  // The pad steps too.
  m_ui->Key(VK_RIGHT);
  EXPECT_EQ(Title(), "a.JPG (1/2)");
  // A path compared exactly: another spelling shows the first picture.
  viewer->SetPicture(u"\\Trip\\C.JPG");
  EXPECT_EQ(viewer->Index(), 0);
  viewer->ShowPicture(-5);
  EXPECT_EQ(viewer->Index(), 1);
  viewer->ShowPicture(7);
  EXPECT_EQ(viewer->Index(), 0);
}

TEST_F(ImageViewer, APictureIsFittedAndCentredAndOneThatCannotBeReadLeavesTheCaption) {
  const auto dir = Host(u"\\Trip");
  WriteBytes(dir / "wide.jpg", pagestest::MakeJpeg(400, 100));
  WriteBytes(dir / "xbroken.jpg", {0xFF, 0xD8, 0xFF, 0x00, 1, 2, 3});
  CmivoImageViewPage* viewer = Open(u"\\Trip\\wide.jpg");
  ASSERT_NE(viewer, nullptr);
  const RECT area = viewer->ContentRect();
  // 400 x 100 into the 240-wide page: 240 x 60, centred.
  EXPECT_EQ(viewer->DecodedSize().cx, area.right - area.left);
  EXPECT_EQ(viewer->DecodedSize().cy, (area.right - area.left) / 4);
  const RECT frame = m_ui->FrameClientOnScreen();
  const int middle = frame.top + (area.top + area.bottom) / 2;
  const COLORREF background = m_ui->Pixel(120, frame.top + area.top + 5);
  EXPECT_NE(m_ui->Pixel(120, middle), background);
  TapRight();
  EXPECT_EQ(Title(), "xbroken.jpg (2/2)");
  EXPECT_EQ(viewer->DecodedSize().cx, 0);
  EXPECT_EQ(m_ui->Pixel(120, middle), background);
}

TEST_F(ImageViewer, AFolderWithoutPicturesOrGoneShowsWhyAndTapsDoNothing) {
  const auto dir = Host(u"\\Docs");
  WriteBytes(dir / "a.txt", {'x'});
  auto* viewer = dynamic_cast<CmivoImageViewPage*>(Core().GetPage(14));
  ASSERT_NE(viewer, nullptr);
  viewer->SetPicture(u"\\Docs\\gone.jpg");
  Core().ShowPage(viewer);
  m_ui->Wait(600);
  Json d = Dump();
  EXPECT_EQ(d["top"]["title"].AsString(), "Image viewer");
  ASSERT_EQ(d["top"]["texts"].size(), 1u);
  EXPECT_EQ(d["top"]["texts"][0].AsString().rfind("gone.jpg\n", 0), 0u) << d["top"]["texts"][0].AsString();
  TapRight();
  TapLeft();
  EXPECT_EQ(viewer->Index(), -1);
  EXPECT_TRUE(viewer->Pictures().empty());
  viewer->SetPicture(u"\\Nowhere\\at all.jpg");
  EXPECT_TRUE(viewer->Pictures().empty());
  EXPECT_EQ(Dump()["top"]["texts"].size(), 1u);
}

TEST_F(ImageViewer, AHugePictureIsDecodedAtTheSizeItIsShown) {
  // 8200 x 8200 is more pixels than any picture may have at full size.
  const auto huge = pagestest::MakeJpeg(8200, 8200, false, 30);
  imaging::Picture full;
  EXPECT_FALSE(imaging::DecodePicture(huge.data(), huge.size(), &full));
  WriteBytes(Host(u"\\Big\\huge.jpg"), huge);
  CmivoImageViewPage* viewer = Open(u"\\Big\\huge.jpg");
  ASSERT_NE(viewer, nullptr);
  const RECT area = viewer->ContentRect();
  const int side = std::min(area.right - area.left, area.bottom - area.top);
  EXPECT_EQ(viewer->DecodedSize().cx, side);
  EXPECT_EQ(viewer->DecodedSize().cy, side);
}

}  // namespace
