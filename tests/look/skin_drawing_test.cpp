// Skin images drawn from real picture files: placement, the composite path,
// caches, thumbnails, and wallpapers.
#include <gtest/gtest.h>

#include "look/toolkit.h"
#include "look_canvas.h"
#include "platform/win32/rect.h"
#include "platform/window/window.h"

namespace {

using looktest::LookCanvas;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// Writes a PNG of one colour; `hole` makes the left column transparent.
void PutPng(looktest::ScratchDevice& device, const std::string& path, int w, int h, COLORREF color,
            bool hole = false) {
  HBITMAP bmp = looktest::SolidBitmap(w, h, color, hole);
  std::filesystem::create_directories(device.Host(path).parent_path());
  ASSERT_TRUE(imaging::SaveBitmapPng(bmp, device.Host(path).string(), false));
  DeleteObject(bmp);
}

class SkinDrawing : public ::testing::Test {
 protected:
  SkinDrawing() : c(1, 40, 40) {
    PutPng(c.device, "Program Files/mivo/skins/Night/red.png", 10, 6, kRed, true);
    c.settings.skinName = u"Night";
    image = c.appearance->GetSkinImage(u"exit");
    image->File = u"red.png";
  }
  LookCanvas c;
  mivoSkinImage* image = nullptr;
};

TEST_F(SkinDrawing, TheDirectPathAlignsAndReturnsAnInclusiveRectangle) {
  const RECT all{0, 0, 40, 40};
  EXPECT_EQ(c.appearance->DrawSkinImage(image, c.dc, all, 1 | 4), MakeRect(15, 17, 24, 22));
  EXPECT_EQ(c.At(16, 17), kRed);
  EXPECT_EQ(c.At(15, 17), looktest::kCanvas) << "the transparent column shows what was below";
  EXPECT_EQ(c.At(25, 17), looktest::kCanvas);
  c.Shot("skin_image_centred");
  EXPECT_EQ(c.appearance->DrawSkinImage(image, c.dc, all, 2 | 8), MakeRect(30, 34, 39, 39));
  EXPECT_EQ(c.At(39, 39), kRed);
  EXPECT_EQ(c.appearance->DrawSkinImage(image, c.dc, all, 0, 0, 20, 12), MakeRect(0, 0, 19, 11)) << "scaled";
  EXPECT_EQ(c.appearance->DrawSkinImage(image, c.dc, all, 0, 0, 20, 0), MakeRect(0, 0, 9, 5))
      << "one missing dimension keeps the natural size";
  const SIZE size = c.appearance->GetSkinImageSize(image);
  EXPECT_EQ(size.cx, 10);
  EXPECT_EQ(size.cy, 6);
}

TEST_F(SkinDrawing, AFullPathIsOpenedUnchangedAndAMissingPictureIsTriedAgain) {
  mivoSkinImage* other = c.appearance->GetSkinImage(u"sms_page");
  other->File = u"\\My Documents\\blue.png";
  EXPECT_EQ(c.appearance->DrawSkinImage(other, c.dc, RECT{0, 0, 40, 40}, 0), RECT{});
  PutPng(c.device, "My Documents/blue.png", 4, 4, kBlue);
  EXPECT_EQ(c.appearance->DrawSkinImage(other, c.dc, RECT{0, 0, 40, 40}, 0), MakeRect(0, 0, 3, 3));
  EXPECT_EQ(c.At(0, 0), kBlue);
}

TEST_F(SkinDrawing, TheCompositePathDrawsOverColour5Or7AndFollowsTheTheme) {
  const RECT all{0, 0, 40, 40};
  EXPECT_EQ(c.appearance->DrawSkinImage(image, c.dc, all, 0, kSkinDrawOverColor5), MakeRect(0, 0, 10, 6));
  EXPECT_EQ(c.At(0, 0), looktest::kColor5) << "the transparent column is colour 5, drawn opaquely";
  EXPECT_EQ(c.At(1, 0), kRed);
  c.appearance->DrawSkinImage(image, c.dc, all, 8, kSkinDrawOverColor7);
  EXPECT_EQ(c.At(0, 39), looktest::kColor7);
  c.Shot("skin_image_composites");

  looktest::PutTestTheme(c.device, "Green", RGB(1, 1, 1));
  mivoColorTheme green;
  ASSERT_TRUE(green.ReadFrom(c.device.Get("Program Files/mivo/ColorThemes/Green.mct")));
  green.SetColor(5, RGB(0, 200, 200));
  c.device.Put("Program Files/mivo/ColorThemes/Green.mct", green.Serialize());
  c.appearance->SetColorTheme(u"Green");
  c.appearance->DrawSkinImage(image, c.dc, all, 0, kSkinDrawOverColor5);
  EXPECT_EQ(c.At(0, 0), RGB(0, 200, 200)) << "the kept composite is rebuilt for the new theme";
}

TEST_F(SkinDrawing, SetFileKeepsDrawingTheDecodedPictureButThumbnailsShowTheNewFile) {
  PutPng(c.device, "Program Files/mivo/skins/Night/wide.png", 100, 50, kBlue);
  c.appearance->DrawSkinImage(image, c.dc, RECT{0, 0, 40, 40}, 0);
  HBITMAP thumb = c.appearance->GetSkinImageThumbnail(image, c.dc, SIZE{40, 40});
  ASSERT_NE(thumb, nullptr);
  BITMAP bm;
  GetObjectW(thumb, sizeof bm, &bm);
  EXPECT_EQ(std::make_pair(bm.bmWidth, bm.bmHeight), std::make_pair(40, 24));
  EXPECT_EQ(c.appearance->GetSkinImageThumbnail(image, c.dc, SIZE{40, 40}), thumb) << "kept";

  image->SetFile(u"wide.png");
  thumb = c.appearance->GetSkinImageThumbnail(image, c.dc, SIZE{40, 40});
  GetObjectW(thumb, sizeof bm, &bm);
  EXPECT_EQ(std::make_pair(bm.bmWidth, bm.bmHeight), std::make_pair(40, 20)) << "the thumbnail is the new file";
  EXPECT_EQ(c.appearance->DrawSkinImage(image, c.dc, RECT{0, 0, 40, 40}, 0), MakeRect(0, 0, 9, 5))
      << "drawing keeps the picture decoded before";
}

TEST_F(SkinDrawing, ItemPrimitivesPlaceTheTextAfterThePicture) {
  LookCanvas row(2, 300, 60);
  PutPng(row.device, "Program Files/mivo/skins/Night/icon.png", 32, 32, kBlue);
  row.settings.skinName = u"Night";
  mivoSkinImage* icon = row.appearance->GetSkinImage(u"contacts_page");
  icon->File = u"icon.png";
  DrawRowImageTitleSubtitle(*row.appearance, row.dc, icon, u"Anna", u"Home 555", RECT{0, 0, 300, 60}, 0);
  row.Shot("row_image_title_subtitle_S2");
  const looktest::Box blue = row.Find(kBlue), text = row.Find(looktest::kText);
  EXPECT_EQ(blue.left, 10);
  EXPECT_EQ(blue.top, 14);
  EXPECT_GE(text.left, 7 * 2 + blue.right);
  EXPECT_LT(text.left, 7 * 2 + blue.right + 6);

  row.Clear(looktest::kCanvas);
  DrawGridCellImage(*row.appearance, row.dc, icon, u"Contacts", RECT{0, 0, 160, 60}, kSkinDrawOverColor5);
  row.Shot("grid_cell_image_S2");
  EXPECT_EQ(row.Find(looktest::kColor5).Empty(), true) << "an opaque picture leaves no background";
  EXPECT_EQ(row.Find(kBlue).left, 64);
  EXPECT_EQ(row.Find(kBlue).top, 0);

  row.Clear(looktest::kCanvas);
  mivoSkinImage* missing = row.appearance->GetSkinImage(u"nothing");
  missing->File = u"nothing.png";
  DrawRowImageTitleSubtitle(*row.appearance, row.dc, missing, u"Anna", u"", RECT{20, 0, 300, 60}, 0);
  EXPECT_GE(row.Find(looktest::kText).left, 20 + 14) << "a picture that cannot be drawn leaves the text in place";
  EXPECT_LT(row.Find(looktest::kText).left, 20 + 14 + 6);
}

TEST_F(SkinDrawing, WallpapersComeFromTheThemeOrTheUserAndFollowTheOrientation) {
  PutPng(c.device, "Program Files/mivo/Wallpapers/Default/desktop3.jpg", 40, 40, kRed);
  PutPng(c.device, "Program Files/mivo/Wallpapers/Default/desktop3_horz.jpg", 40, 40, kBlue);
  PutPng(c.device, "My Documents/mine.png", 40, 40, RGB(0, 255, 0));
  mivoAppearance& a = *c.appearance;
  DrawWallpaper(a, c.dc, 0, 0, RECT{0, 0, 10, 10}, 3, false);
  EXPECT_EQ(c.At(5, 5), kRed);
  DrawWallpaper(a, c.dc, 0, 0, RECT{0, 0, 10, 10}, 3, true);
  EXPECT_EQ(c.At(5, 5), kBlue) << "landscape uses desktop3_horz";
  DrawWallpaper(a, c.dc, 0, 0, RECT{0, 0, 10, 10}, 4, false);
  EXPECT_EQ(c.At(5, 5), looktest::kBackground) << "no picture: the background colour";
  ASSERT_TRUE(a.SetUserWallpaper(3, false, u"\\My Documents\\mine.png"));
  DrawWallpaper(a, c.dc, 0, 0, RECT{0, 0, 10, 10}, 3, false);
  EXPECT_EQ(c.At(5, 5), RGB(0, 255, 0));
  a.ResetDesktopWallpaper(3, false);
  DrawWallpaper(a, c.dc, 0, 0, RECT{0, 0, 10, 10}, 3, false);
  EXPECT_EQ(c.At(5, 5), kRed) << "back on the theme picture";
}

TEST_F(SkinDrawing, AWallpaperOfAnotherSizeFillsTheScreenInItsOrientation) {
  // A picture far smaller than the screen (a theme made for a smaller one); a photo the user picks
  // is as likely far larger.
  PutPng(c.device, "Program Files/mivo/Wallpapers/Default/desktop2.jpg", 40, 30, kRed);
  mivoAppearance& a = *c.appearance;
  const SIZE screen = window::GetScreenSize();
  const int shortSide = std::min(screen.cx, screen.cy), longSide = std::max(screen.cx, screen.cy);
  BITMAP bm{};
  ASSERT_TRUE(GetObjectW(a.GetDesktopWallpaper(2, false), sizeof bm, &bm));
  EXPECT_EQ(std::make_pair(static_cast<int>(bm.bmWidth), static_cast<int>(bm.bmHeight)),
            std::make_pair(shortSide, longSide));
  DrawWallpaper(a, c.dc, shortSide - 10, longSide - 10, RECT{0, 0, 10, 10}, 2, false);
  EXPECT_EQ(c.At(5, 5), kRed) << "the screen's far corner shows the picture, not the background";
}

TEST(ImageRendering, StreamsBecomeFittedThumbnailsOnWhite) {
  looktest::ScratchDevice device;
  PutPng(device, "p.png", 100, 50, kRed, true);
  const looktest::Bytes bytes = device.Get("p.png");
  IStream* stream = nullptr;
  ASSERT_EQ(CreateStreamOnBuffer(bytes.data(), bytes.size(), &stream), S_OK);
  int w = 40, h = 40;
  HBITMAP bmp = nullptr;
  ASSERT_EQ(LoadImageStreamThumbnail(stream, &w, &h, &bmp), S_OK);
  stream->Release();
  EXPECT_EQ(std::make_pair(w, h), std::make_pair(40, 20));
  gdi::PixelBuffer pb = gdi::BitmapPixels(bmp);
  EXPECT_EQ(pb.width, 40);
  EXPECT_EQ(gdi::PixelToColor(pb.pixels[pb.stride * 10 + 20]), kRed);
  DeleteObject(bmp);

  IStream* junk = nullptr;
  const std::uint8_t garbage[] = {1, 2, 3, 4, 5};
  CreateStreamOnBuffer(garbage, sizeof garbage, &junk);
  w = h = 40;
  EXPECT_EQ(LoadImageStreamThumbnail(junk, &w, &h, &bmp), E_FAIL);
  EXPECT_EQ(bmp, nullptr);
  EXPECT_EQ(w, 40);
  junk->Release();
  EXPECT_EQ(LoadImageStreamThumbnail(nullptr, &w, &h, &bmp), E_FAIL);
  EXPECT_EQ(RenderImageToBitmap(nullptr, 0), nullptr);
}

}  // namespace
