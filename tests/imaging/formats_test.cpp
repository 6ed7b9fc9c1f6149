// Each format's decoder on small pictures made for the purpose, pixel by pixel.
#include <gtest/gtest.h>

#include "platform/imaging/decoders.h"
#include "platform/imaging/imaging.h"
#include "tests/imaging/encoders.h"

using namespace imaging_test;

namespace {

imaging::Picture Decode(const Bytes& b) {
  imaging::Picture p;
  EXPECT_TRUE(imaging::DecodePicture(b.data(), b.size(), &p));
  return p;
}

}  // namespace

TEST(PngDecoder, ReadsEveryColourTypeAndPremultipliesAlpha) {
  // RGBA 8-bit: opaque red, half-transparent green, transparent, opaque white.
  const std::uint8_t rgba[] = {255, 0, 0, 255, 0, 255, 0, 128, 10, 20, 30, 0, 255, 255, 255, 255};
  imaging::Picture p = Decode(EncodePng(2, 2, PNG_FORMAT_RGBA, rgba));
  ASSERT_EQ(p.width, 2);
  ASSERT_EQ(p.height, 2);
  EXPECT_TRUE(p.hasAlpha);
  EXPECT_EQ(p.pixels[0], 0xFFFF0000u);
  EXPECT_EQ(p.pixels[1], 0x80008000u);
  EXPECT_EQ(p.pixels[2], 0x00000000u);
  EXPECT_EQ(p.pixels[3], 0xFFFFFFFFu);
  // Grey, grey with alpha, RGB.
  const std::uint8_t grey[] = {0, 255};
  p = Decode(EncodePng(2, 1, PNG_FORMAT_GRAY, grey));
  EXPECT_EQ(p.pixels[0], 0xFF000000u);
  EXPECT_EQ(p.pixels[1], 0xFFFFFFFFu);
  EXPECT_FALSE(p.hasAlpha);
  const std::uint8_t ga[] = {255, 0};
  p = Decode(EncodePng(1, 1, PNG_FORMAT_GA, ga));
  EXPECT_EQ(p.pixels[0], 0u);
  const std::uint8_t rgb[] = {1, 2, 3};
  p = Decode(EncodePng(1, 1, PNG_FORMAT_RGB, rgb));
  EXPECT_EQ(p.pixels[0], 0xFF010203u);
  // 16 bits per sample.
  const std::uint16_t rgb16[] = {65535, 0, 0};
  p = Decode(EncodePng(1, 1, PNG_FORMAT_LINEAR_RGB, rgb16));
  EXPECT_EQ(p.pixels[0], 0xFFFF0000u);
  // A palette with a transparent entry.
  const std::uint8_t map[] = {0, 0, 255, 255, 0, 0, 0, 0};
  const std::uint8_t idx[] = {0, 1};
  p = Decode(EncodePng(2, 1, PNG_FORMAT_RGBA_COLORMAP, idx, map, 2));
  EXPECT_EQ(p.pixels[0], 0xFF0000FFu);
  EXPECT_EQ(p.pixels[1], 0u);
}

TEST(GifDecoder, ReadsTheFirstFrameWithTransparencyAndInterlace) {
  const std::vector<std::uint32_t> palette = {0xFF0000, 0x00FF00, 0x0000FF, 0x000000};
  std::vector<std::uint8_t> idx(4 * 9);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 4; ++x) idx[static_cast<std::size_t>(y * 4 + x)] = static_cast<std::uint8_t>((x + y) % 4);
  for (bool interlace : {false, true}) {
    imaging::Picture p = Decode(EncodeGif(4, 9, palette, idx, 3, interlace));
    ASSERT_EQ(p.width, 4);
    ASSERT_EQ(p.height, 9);
    for (int y = 0; y < 9; ++y)
      for (int x = 0; x < 4; ++x) {
        const int i = (x + y) % 4;
        const std::uint32_t want = i == 3 ? 0u : (0xFF000000u | palette[static_cast<std::size_t>(i)]);
        EXPECT_EQ(p.pixels[static_cast<std::size_t>(y * 4 + x)], want) << x << "," << y << " " << interlace;
      }
  }
}

TEST(BmpDecoder, ReadsEveryDepthBottomUpAndTopDown) {
  // 2x2, 24 bits, bottom-up: file rows are bottom first, padded to 4 bytes.
  Bytes rows24 = {0, 0, 255, 0, 255, 0, 0, 0,      // bottom: red, green
                  255, 0, 0, 255, 255, 255, 0, 0};  // top: blue, white
  imaging::Picture p = Decode(EncodeBmp(2, 2, 24, 0, {}, rows24));
  ASSERT_EQ(p.width, 2);
  EXPECT_EQ(p.pixels[0], 0xFF0000FFu);
  EXPECT_EQ(p.pixels[1], 0xFFFFFFFFu);
  EXPECT_EQ(p.pixels[2], 0xFFFF0000u);
  EXPECT_EQ(p.pixels[3], 0xFF00FF00u);
  // Top-down (negative height).
  p = Decode(EncodeBmp(2, -2, 24, 0, {}, rows24));
  EXPECT_EQ(p.pixels[0], 0xFFFF0000u);
  // 1, 4 and 8 bits with palettes.
  p = Decode(EncodeBmp(3, 1, 1, 0, {0x000000, 0xFFFFFF}, {0xA0, 0, 0, 0}));
  EXPECT_EQ(p.pixels[0], 0xFFFFFFFFu);
  EXPECT_EQ(p.pixels[1], 0xFF000000u);
  EXPECT_EQ(p.pixels[2], 0xFFFFFFFFu);
  p = Decode(EncodeBmp(2, 1, 4, 0, {0x112233, 0x445566}, {0x10, 0, 0, 0}));
  EXPECT_EQ(p.pixels[0], 0xFF445566u);
  EXPECT_EQ(p.pixels[1], 0xFF112233u);
  p = Decode(EncodeBmp(1, 1, 8, 0, {0, 0, 0xABCDEF}, {2, 0, 0, 0}));
  EXPECT_EQ(p.pixels[0], 0xFFABCDEFu);
  // 16 bits: 555 by default, 565 with bit fields.
  p = Decode(EncodeBmp(1, 1, 16, 0, {}, {0x00, 0x7C, 0, 0}));
  EXPECT_EQ(p.pixels[0], 0xFFFF0000u);
  p = Decode(EncodeBmp(1, 1, 16, 3, {}, {0xE0, 0x07, 0, 0}, {0xF800, 0x07E0, 0x001F}));
  EXPECT_EQ(p.pixels[0], 0xFF00FF00u);
  // 32 bits: a zero fourth byte means opaque; real alpha is kept (premultiplied).
  p = Decode(EncodeBmp(1, 1, 32, 0, {}, {10, 20, 30, 0}));
  EXPECT_EQ(p.pixels[0], 0xFF1E140Au);
  p = Decode(EncodeBmp(2, 1, 32, 0, {}, {0, 0, 255, 255, 0, 0, 255, 0}));
  EXPECT_EQ(p.pixels[0], 0xFFFF0000u);
  EXPECT_EQ(p.pixels[1], 0u);
  // RLE8: a run of 3 of colour 1, end of line, end of picture.
  p = Decode(EncodeBmp(3, 1, 8, 1, {0, 0x00FF00}, {3, 1, 0, 0, 0, 1}));
  EXPECT_EQ(p.pixels[2], 0xFF00FF00u);
}

TEST(JpegDecoder, TurnsPhotosUprightByTheirExifOrientation) {
  // 16x8: the left half red, the right half blue.
  std::vector<std::uint8_t> rgb(16 * 8 * 3);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 16; ++x) {
      std::uint8_t* p = &rgb[static_cast<std::size_t>(y * 16 + x) * 3];
      p[0] = x < 8 ? 255 : 0;
      p[2] = x < 8 ? 0 : 255;
    }
  auto red = [](std::uint32_t p) { return ((p >> 16) & 0xFF) > 200 && (p & 0xFF) < 60; };
  auto blue = [](std::uint32_t p) { return (p & 0xFF) > 200 && ((p >> 16) & 0xFF) < 60; };
  imaging::Picture p = Decode(EncodeJpeg(16, 8, rgb));
  ASSERT_EQ(p.width, 16);
  EXPECT_TRUE(red(p.pixels[4 * 16 + 2]));
  // Orientation 6: turned a quarter clockwise, so the left half becomes the top.
  const Bytes turned = EncodeJpeg(16, 8, rgb, 6);
  p = Decode(turned);
  ASSERT_EQ(p.width, 8);
  ASSERT_EQ(p.height, 16);
  EXPECT_TRUE(red(p.pixels[2 * 8 + 4]));
  EXPECT_TRUE(blue(p.pixels[13 * 8 + 4]));
  EXPECT_EQ(imaging::detail::DecodeJpegToBitmap(turned.data(), turned.size()), nullptr)
      << "the shell loader's short way is for upright pictures only";
  ImageInfo info;
  ASSERT_TRUE(imaging::ProbePicture(turned.data(), turned.size(), &info));
  EXPECT_EQ(info.Width, 8u);
  EXPECT_EQ(info.Height, 16u);
  // Orientation 3: upside down, so red is on the right.
  p = Decode(EncodeJpeg(16, 8, rgb, 3));
  ASSERT_EQ(p.width, 16);
  EXPECT_TRUE(blue(p.pixels[4 * 16 + 2]));
  EXPECT_TRUE(red(p.pixels[4 * 16 + 13]));
}

TEST(PictureProbe, HeadersGiveSizeWithoutDecoding) {
  const std::uint8_t rgb[3 * 6] = {};
  Bytes png = EncodePng(3, 2, PNG_FORMAT_RGB, rgb);
  ImageInfo info;
  ASSERT_TRUE(imaging::ProbePicture(png.data(), png.size(), &info));
  EXPECT_EQ(info.RawDataFormat, ImageFormat::Png);
  EXPECT_EQ(info.Width, 3u);
  EXPECT_EQ(info.Height, 2u);
  const Bytes junk = {'h', 'e', 'l', 'l', 'o', 0, 0, 0};
  EXPECT_FALSE(imaging::ProbePicture(junk.data(), junk.size(), &info));
  imaging::Picture p;
  EXPECT_FALSE(imaging::DecodePicture(junk.data(), junk.size(), &p));
  EXPECT_FALSE(imaging::DecodePicture(nullptr, 0, &p));
}
