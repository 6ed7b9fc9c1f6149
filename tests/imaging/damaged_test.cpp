// Damaged pictures: every kept malformed file, and truncated, bit-flipped and
// empty copies of good pictures of each format, fail cleanly or decode to a
// picture consistent with its size. Run under the sanitizers too.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/gdi/gdi.h"
#include "platform/imaging/decoders.h"
#include "platform/imaging/imaging.h"
#include "platform/win32/rect.h"
#include "tests/imaging/encoders.h"

namespace stdfs = std::filesystem;
using namespace imaging_test;

namespace {

// Everything a caller may do with a picture, none of which may crash.
void Exercise(const Bytes& data, const std::string& what) {
  imaging::Picture p;
  if (imaging::DecodePicture(data.data(), data.size(), &p)) {
    ASSERT_GT(p.width, 0) << what;
    ASSERT_GT(p.height, 0) << what;
    ASSERT_EQ(p.pixels.size(), static_cast<std::size_t>(p.width) * p.height) << what;
  } else {
    EXPECT_TRUE(p.pixels.empty()) << what;
  }
  // The shell loader's way for a JPEG: the very same pixels straight into a bitmap, or none.
  if (HBITMAP direct = imaging::detail::DecodeJpegToBitmap(data.data(), data.size())) {
    const gdi::PixelBuffer b = gdi::BitmapPixels(direct);
    EXPECT_EQ(b.width, p.width) << what;
    EXPECT_EQ(b.height, p.height) << what;
    if (b.width == p.width && b.height == p.height) {
      EXPECT_TRUE(std::equal(p.pixels.begin(), p.pixels.end(), b.pixels)) << what;
    }
    DeleteObject(direct);
  }
  imaging::Picture small;
  imaging::DecodePicture(data.data(), data.size(), &small, 8, 8);
  IImagingFactory* factory = nullptr;
  CreateImagingFactory(&factory);
  IImage* image = nullptr;
  if (SUCCEEDED(factory->CreateImageFromBuffer(data.data(), static_cast<UINT>(data.size()), BufferDisposalFlagNone,
                                               &image))) {
    Surface s(16, 16);
    RECT r = MakeRect(0, 0, 16, 16);
    image->Draw(s.dc, &r, nullptr);
    IImage* thumb = nullptr;
    if (SUCCEEDED(image->GetThumbnail(5, 7, &thumb))) thumb->Release();
    image->Release();
  }
  factory->Release();
}

// Good pictures of each format to damage.
std::vector<std::pair<std::string, Bytes>> Samples() {
  std::vector<std::pair<std::string, Bytes>> out;
  std::vector<std::uint8_t> rgba(16 * 12 * 4);
  for (std::size_t i = 0; i < rgba.size(); ++i) rgba[i] = static_cast<std::uint8_t>(i * 37);
  out.emplace_back("png", EncodePng(16, 12, PNG_FORMAT_RGBA, rgba.data()));
  std::vector<std::uint8_t> idx(16 * 12);
  for (std::size_t i = 0; i < idx.size(); ++i) idx[i] = static_cast<std::uint8_t>(i % 4);
  out.emplace_back("gif", EncodeGif(16, 12, {0xFF0000, 0x00FF00, 0x0000FF, 0}, idx, 3, true));
  Bytes rows(static_cast<std::size_t>(16) * 12 * 3);
  for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<std::uint8_t>(i);
  out.emplace_back("bmp24", EncodeBmp(16, 12, 24, 0, {}, rows));
  out.emplace_back("bmp-rle8", EncodeBmp(16, 2, 8, 1, {0, 0xFFFFFF}, {5, 1, 0, 2, 3, 0, 0, 0, 4, 1, 0, 1}));
  const char* jpeg = "/usr/share/matplotlib/mpl-data/sample_data/grace_hopper.jpg";
  if (stdfs::exists(jpeg)) out.emplace_back("jpeg", ReadAll(jpeg));
  return out;
}

}  // namespace

TEST(DamagedPictures, KeptMalformedFilesFailCleanly) {
  const stdfs::path dir = stdfs::path(MIVO_SOURCE_DIR) / "tests/imaging/malformed";
  int files = 0;
  for (const char* format : {"png", "jpeg", "gif", "bmp"}) {
    int inFormat = 0;
    for (const auto& entry : stdfs::directory_iterator(dir / format)) {
      Exercise(ReadAll(entry.path().string()), entry.path().string());
      ++inFormat;
    }
    EXPECT_GT(inFormat, 0) << format;
    files += inFormat;
  }
  EXPECT_GE(files, 20);
  // The sizes the crafted headers claim are refused before any allocation.
  const Bytes huge = ReadAll((dir / "png/huge_dimensions.png").string());
  imaging::Picture p;
  EXPECT_FALSE(imaging::DecodePicture(huge.data(), huge.size(), &p));
  const Bytes beyond = ReadAll((dir / "bmp/offbits_beyond.bmp").string());
  EXPECT_FALSE(imaging::DecodePicture(beyond.data(), beyond.size(), &p));
}

TEST(DamagedPictures, TruncatedBitFlippedAndEmptyCopiesFailCleanly) {
  const auto samples = Samples();
  ASSERT_GE(samples.size(), 4u);
  std::uint32_t seed = 12345;
  auto next = [&] {
    seed = seed * 1664525u + 1013904223u;
    return seed >> 8;
  };
  for (const auto& [name, good] : samples) {
    Exercise(good, name + " intact");
    Exercise(Bytes(), name + " empty");
    // Cut at many lengths, from the header into the data.
    const std::size_t steps = 24;
    for (std::size_t k = 1; k < steps; ++k) {
      const std::size_t len = good.size() * k / steps;
      Exercise(Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(len)), name + " cut " + std::to_string(len));
    }
    for (std::size_t len : {1u, 2u, 4u, 8u, 16u, 30u})
      if (len < good.size()) Exercise(Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(len)), name);
    // Flip a few random bits, many times over (headers most of all).
    for (int copy = 0; copy < 60; ++copy) {
      Bytes bad = good;
      const std::size_t span = copy % 2 ? bad.size() : std::min<std::size_t>(bad.size(), 64);
      for (int f = 0; f < 1 + copy % 4; ++f) bad[next() % span] ^= static_cast<std::uint8_t>(1u << (next() % 8));
      Exercise(bad, name + " flipped " + std::to_string(copy));
    }
  }
}
