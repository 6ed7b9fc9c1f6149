// Real pictures shipped by Debian packages, through the factory and the shell
// loader, with device paths.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/fs/device_path.h"
#include "platform/gdi/gdi.h"
#include "platform/imaging/imaging.h"
#include "platform/win32/rect.h"
#include "tests/fs/temp_dir.h"
#include "tests/imaging/encoders.h"

namespace stdfs = std::filesystem;
using namespace imaging_test;

namespace {

constexpr const char* kJpeg = "/usr/share/matplotlib/mpl-data/sample_data/grace_hopper.jpg";

// A device for the test whose "My Documents" holds its pictures.
struct Device {
  Device() {
    stdfs::create_directories(dir / "My Documents");
    fs::SetDeviceRoot(dir.path());
  }
  void Write(const std::string& name, const Bytes& b) {
    std::ofstream(dir / ("My Documents/" + name), std::ios::binary)
        .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
  }
  testing_support::TempDir dir;
};

std::vector<std::string> IconPngs(std::size_t limit) {
  std::vector<std::string> out;
  std::error_code ec;
  for (auto it = stdfs::recursive_directory_iterator("/usr/share/icons", ec); it != stdfs::recursive_directory_iterator();
       it.increment(ec)) {
    if (ec) break;
    if (it->is_regular_file() && it->path().extension() == ".png") out.push_back(it->path().string());
  }
  std::sort(out.begin(), out.end());
  // A spread across the whole list: several themes and sizes.
  std::vector<std::string> pick;
  for (std::size_t i = 0; i < out.size() && pick.size() < limit; i += std::max<std::size_t>(1, out.size() / limit))
    pick.push_back(out[i]);
  return pick;
}

}  // namespace

TEST(RealPictures, IconThemePngsDecodeToTheSizeTheirHeaderGives) {
  const auto files = IconPngs(40);
  ASSERT_GE(files.size(), 10u) << "the icon themes in /usr/share/icons are missing";
  for (const std::string& f : files) {
    const Bytes data = ReadAll(f);
    ImageInfo info;
    ASSERT_TRUE(imaging::ProbePicture(data.data(), data.size(), &info)) << f;
    imaging::Picture p;
    ASSERT_TRUE(imaging::DecodePicture(data.data(), data.size(), &p)) << f;
    EXPECT_EQ(static_cast<UINT>(p.width), info.Width) << f;
    EXPECT_EQ(p.pixels.size(), static_cast<std::size_t>(p.width) * p.height);
    // Premultiplied: no channel exceeds its alpha.
    for (std::uint32_t px : p.pixels) {
      const std::uint32_t a = px >> 24;
      ASSERT_LE((px >> 16) & 0xFF, a) << f;
      ASSERT_LE(px & 0xFF, a) << f;
    }
  }
}

TEST(RealPictures, PackagedJpegDecodesDrawsAndMakesDctScaledThumbnails) {
  ASSERT_TRUE(stdfs::exists(kJpeg)) << "install python-matplotlib-data (scripts/setup.sh does)";
  Device device;
  device.Write("Grace.JPG", ReadAll(kJpeg));
  IImagingFactory* factory = nullptr;
  ASSERT_EQ(CreateImagingFactory(&factory), S_OK);
  IImage* image = nullptr;
  // Device paths are matched without case.
  ASSERT_EQ(factory->CreateImageFromFile(u"\\my documents\\grace.jpg", &image), S_OK);
  ImageInfo info;
  image->GetImageInfo(&info);
  EXPECT_EQ(info.RawDataFormat, ImageFormat::Jpeg);
  EXPECT_EQ(info.Width, 512u);
  EXPECT_EQ(info.Height, 600u);

  // A thumbnail of exactly the size asked for, drawn into a bitmap.
  IImage* thumb = nullptr;
  ASSERT_EQ(image->GetThumbnail(64, 75, &thumb), S_OK);
  thumb->GetImageInfo(&info);
  EXPECT_EQ(info.Width, 64u);
  EXPECT_EQ(info.Height, 75u);
  Surface s(100, 100);
  const HDC dc = s.dc;
  RECT all = MakeRect(0, 0, 100, 100);
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  RECT dst = MakeRect(10, 10, 74, 85);
  EXPECT_EQ(thumb->Draw(dc, &dst, nullptr), S_OK);
  EXPECT_EQ(GetPixel(dc, 5, 5), RGB(255, 255, 255));  // outside: untouched
  int coloured = 0;
  for (int y = 10; y < 85; y += 5)
    for (int x = 10; x < 74; x += 5) coloured += GetPixel(dc, x, y) != RGB(255, 255, 255);
  EXPECT_GT(coloured, 150);
  // The full picture scaled down into the same place gives about the same picture.
  Surface ref(100, 100, dc);
  EXPECT_EQ(image->Draw(ref.dc, &dst, nullptr), S_OK);
  long diff = 0;
  for (int y = 20; y < 75; y += 3)
    for (int x = 20; x < 64; x += 3) {
      const COLORREF a = GetPixel(dc, x, y), b = GetPixel(ref.dc, x, y);
      diff += std::abs(GetGValue(a) - GetGValue(b));
    }
  EXPECT_LT(diff / (19 * 15), 12);
  thumb->Release();
  image->Release();

  // The decoder's own scaling: a thumbnail decode of an eighth is small.
  const Bytes data = ReadAll(kJpeg);
  imaging::Picture small;
  ASSERT_TRUE(imaging::DecodePicture(data.data(), data.size(), &small, 60, 60));
  EXPECT_EQ(small.width, 64);
  EXPECT_EQ(small.height, 75);

  // The shell's loader gives a bitmap of the picture's size.
  HBITMAP shell = SHLoadImageFile(u"\\My Documents\\Grace.jpg");
  ASSERT_TRUE(shell);
  BITMAP bm;
  GetObjectW(shell, sizeof(bm), &bm);
  EXPECT_EQ(bm.bmWidth, 512);
  EXPECT_EQ(bm.bmHeight, 600);
  DeleteObject(shell);
  factory->Release();
}

TEST(ImagingFactory, ImagesFromStreamsAndBuffersDrawWithTheirAlpha) {
  // A 2x1 PNG: opaque blue, half-transparent white.
  const std::uint8_t rgba[] = {0, 0, 255, 255, 255, 255, 255, 128};
  const Bytes png = EncodePng(2, 1, PNG_FORMAT_RGBA, rgba);
  IImagingFactory* factory = nullptr;
  CreateImagingFactory(&factory);
  IStream* stream = nullptr;
  ASSERT_EQ(CreateStreamOnBuffer(png.data(), png.size(), &stream), S_OK);
  IImage* image = nullptr;
  ASSERT_EQ(factory->CreateImageFromStream(stream, &image), S_OK);
  stream->Release();
  Surface s(4, 2);
  const HDC dc = s.dc;
  RECT all = MakeRect(0, 0, 4, 2);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  FillRect(dc, &all, red);
  RECT dst = MakeRect(0, 0, 4, 2);  // scaled twice as large
  ASSERT_EQ(image->Draw(dc, &dst, nullptr), S_OK);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(dc, 3, 1), RGB(255, 128, 128));
  // Only the right half of the picture, at its own size.
  FillRect(dc, &all, red);
  RECT part = MakeRect(1, 0, 2, 1), one = MakeRect(0, 0, 1, 1);
  ASSERT_EQ(image->Draw(dc, &one, &part), S_OK);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 128, 128));
  EXPECT_EQ(image->Draw(dc, nullptr, nullptr), E_INVALIDARG);
  image->Release();

  ASSERT_EQ(factory->CreateImageFromBuffer(png.data(), static_cast<UINT>(png.size()), BufferDisposalFlagNone, &image),
            S_OK);
  ImageInfo info;
  image->GetImageInfo(&info);
  EXPECT_EQ(info.Flags & ImageFlagsHasAlpha, ImageFlagsHasAlpha);
  image->Release();
  // Bad input fails and leaves the out pointer null.
  const std::uint8_t junk[] = {1, 2, 3, 4, 5};
  image = reinterpret_cast<IImage*>(1);
  EXPECT_TRUE(FAILED(factory->CreateImageFromBuffer(junk, sizeof junk, BufferDisposalFlagNone, &image)));
  EXPECT_EQ(image, nullptr);
  EXPECT_TRUE(FAILED(factory->CreateImageFromBuffer(nullptr, 0, BufferDisposalFlagNone, &image)));
  EXPECT_TRUE(FAILED(factory->CreateImageFromStream(nullptr, &image)));
  Device device;
  EXPECT_TRUE(FAILED(factory->CreateImageFromFile(u"\\My Documents\\missing.png", &image)));
  EXPECT_EQ(SHLoadImageFile(u"\\My Documents\\missing.png"), nullptr);
  EXPECT_EQ(SHLoadImageFile(nullptr), nullptr);
  factory->Release();
  DeleteObject(red);
}

TEST(ImagingFactory, StreamsOverFilesReadWriteAndSeek) {
  Device device;
  IStream* s = nullptr;
  ASSERT_EQ(SHCreateStreamOnFile(u"\\My Documents\\data.bin", STGM_WRITE | STGM_CREATE, &s), S_OK);
  ULONG n = 0;
  EXPECT_EQ(s->Write("hello", 5, &n), S_OK);
  s->Release();
  ASSERT_EQ(SHCreateStreamOnFile(u"\\my documents\\DATA.bin", STGM_READ, &s), S_OK);
  ULONGLONG size = 0;
  s->GetSize(&size);
  EXPECT_EQ(size, 5u);
  char buf[8] = {};
  s->Seek(1, STREAM_SEEK_SET, nullptr);
  EXPECT_EQ(s->Read(buf, 8, &n), S_FALSE);  // fewer bytes than asked
  EXPECT_EQ(n, 4u);
  EXPECT_STREQ(buf, "ello");
  s->Release();
  EXPECT_TRUE(FAILED(SHCreateStreamOnFile(u"\\nothing\\here", STGM_READ, &s)));
  EXPECT_TRUE(FAILED(SHCreateStreamOnFile(u"\\..\\..\\etc\\passwd", STGM_READ, &s)));
}

TEST(ImagingFactory, IconsFromPictureFilesFitTheirSquare) {
  Device device;
  const std::uint8_t rgba[4 * 4 * 2] = {};
  device.Write("wide.png", EncodePng(4, 2, PNG_FORMAT_RGBA, rgba));
  HICON icon = imaging::LoadIconFile(u"\\My Documents\\wide.png", 8);
  ASSERT_TRUE(icon);
  int w = 0, h = 0;
  gdi::GetIconSize(icon, &w, &h);
  EXPECT_EQ(w, 8);
  EXPECT_EQ(h, 8);
  DestroyIcon(icon);
  EXPECT_EQ(imaging::LoadIconFile(u"\\My Documents\\none.png", 8), nullptr);
}
