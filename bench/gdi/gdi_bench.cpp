// The drawing layer's hot paths on a VGA frame (480x640), each printed with
// its ratio to a memcpy of the frame measured in the same run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <jpeglib.h>
#include <map>
#include <string>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/imaging/imaging.h"
#include "platform/win32/rect.h"

namespace {

constexpr int kW = 480;
constexpr int kH = 640;

struct Frame {
  Frame() {
    dc = CreateCompatibleDC(nullptr);
    bmp = CreateCompatibleBitmap(dc, kW, kH);
    old = SelectObject(dc, bmp);
  }
  ~Frame() {
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
  }
  HDC dc;
  HBITMAP bmp;
  HGDIOBJ old;
};

void BM_Baseline_MemcpyVgaFrame(benchmark::State& state) {
  std::vector<std::uint32_t> a(static_cast<std::size_t>(kW) * kH, 0xFF102030u), b(a.size());
  for (auto _ : state) {
    std::memcpy(b.data(), a.data(), a.size() * 4);
    benchmark::DoNotOptimize(b.data());
    benchmark::ClobberMemory();
  }
}

void BM_FillRectFullFrame(benchmark::State& state) {
  Frame f;
  HBRUSH brush = CreateSolidBrush(RGB(10, 20, 30));
  RECT all = MakeRect(0, 0, kW, kH);
  for (auto _ : state) {
    FillRect(f.dc, &all, brush);
    benchmark::ClobberMemory();
  }
  DeleteObject(brush);
}

void BM_BitBltFullFrame(benchmark::State& state) {
  Frame a, b;
  for (auto _ : state) {
    BitBlt(b.dc, 0, 0, kW, kH, a.dc, 0, 0, SRCCOPY);
    benchmark::ClobberMemory();
  }
}

void BM_AlphaBlendIcon48x100(benchmark::State& state) {
  Frame f;
  BITMAPINFO bi{};
  bi.bmiHeader.biWidth = 48;
  bi.bmiHeader.biHeight = -48;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP icon = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  auto* px = static_cast<std::uint32_t*>(bits);
  for (int i = 0; i < 48 * 48; ++i) {
    const std::uint32_t a = static_cast<std::uint32_t>(i % 256);
    px[i] = (a << 24) | ((a / 2) << 16) | (a / 3);  // premultiplied, every alpha level
  }
  HDC src = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(src, icon);
  BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  for (auto _ : state) {
    for (int i = 0; i < 100; ++i)
      AlphaBlend(f.dc, (i % 9) * 50, (i / 9) * 50, 48, 48, src, 0, 0, 48, 48, bf);
    benchmark::ClobberMemory();
  }
  SelectObject(src, old);
  DeleteDC(src);
  DeleteObject(icon);
}

void BM_DrawText20pxLine100(benchmark::State& state) {
  Frame f;
  HFONT font = CreateFontW(20, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, CLEARTYPE_QUALITY, FF_SWISS, u"Arial");
  HGDIOBJ old = SelectObject(f.dc, font);
  SetBkMode(f.dc, TRANSPARENT);
  SetTextColor(f.dc, RGB(255, 255, 255));
  for (auto _ : state) {
    for (int i = 0; i < 100; ++i) {
      RECT r = MakeRect(5, (i % 30) * 21, 475, (i % 30) * 21 + 20);
      DrawTextW(f.dc, u"Contacts, messages and calls", -1, &r, DT_END_ELLIPSIS | DT_NOPREFIX | DT_VCENTER);
    }
    benchmark::ClobberMemory();
  }
  SelectObject(f.dc, old);
  DeleteObject(font);
}

// A 480x640 photo-like JPEG, encoded once.
const std::vector<std::uint8_t>& VgaJpeg() {
  static const std::vector<std::uint8_t> data = [] {
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(kW) * kH * 3);
    std::uint32_t seed = 1;
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        seed = seed * 1103515245u + 12345u;
        const int n = static_cast<int>((seed >> 16) & 15);
        std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * kW + x) * 3];
        p[0] = static_cast<std::uint8_t>((x * 255 / kW + n) & 255);
        p[1] = static_cast<std::uint8_t>((y * 255 / kH + n) & 255);
        p[2] = static_cast<std::uint8_t>(((x + y) / 5 + n) & 255);
      }
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = kW;
    c.image_height = kH;
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 85, TRUE);
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
      JSAMPROW row = &rgb[static_cast<std::size_t>(c.next_scanline) * kW * 3];
      jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    std::vector<std::uint8_t> v(out, out + size);
    jpeg_destroy_compress(&c);
    std::free(out);
    return v;
  }();
  return data;
}

void BM_DecodeJpegVga(benchmark::State& state) {
  const auto& data = VgaJpeg();
  for (auto _ : state) {
    imaging::Picture p;
    imaging::DecodePicture(data.data(), data.size(), &p);
    benchmark::DoNotOptimize(p.pixels.data());
  }
}

void BM_DecodeJpegQuarterThumbnail(benchmark::State& state) {
  const auto& data = VgaJpeg();
  for (auto _ : state) {
    imaging::Picture p;
    imaging::DecodePicture(data.data(), data.size(), &p, kW / 4, kH / 4);  // 120x160
    benchmark::DoNotOptimize(p.pixels.data());
  }
}

}  // namespace

BENCHMARK(BM_Baseline_MemcpyVgaFrame);
BENCHMARK(BM_FillRectFullFrame);
BENCHMARK(BM_BitBltFullFrame);
BENCHMARK(BM_AlphaBlendIcon48x100);
BENCHMARK(BM_DrawText20pxLine100);
BENCHMARK(BM_DecodeJpegVga);
BENCHMARK(BM_DecodeJpegQuarterThumbnail);

// Prints each figure beside the memcpy baseline of the same run.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    static const std::map<std::string, const char*> kLabels = {
        {"BM_FillRectFullFrame", "full-frame FillRect"},
        {"BM_BitBltFullFrame", "full-frame BitBlt"},
        {"BM_AlphaBlendIcon48x100", "100 AlphaBlends of a 48x48 icon"},
        {"BM_DrawText20pxLine100", "100 DrawTextW of a 20-pixel line"},
        {"BM_DecodeJpegVga", "decoding a 480x640 JPEG"},
        {"BM_DecodeJpegQuarterThumbnail", "decoding its quarter-size thumbnail"}};
    for (const Run& r : runs) {
      const double ns = r.GetAdjustedRealTime();
      const std::string name = r.benchmark_name();
      if (name == "BM_Baseline_MemcpyVgaFrame") m_base = ns;
      auto it = kLabels.find(name);
      if (it != kLabels.end() && m_base > 0)
        std::printf("  %s: %.1f us; %.2fx a memcpy of the VGA frame\n", it->second, ns / 1000, ns / m_base);
    }
  }

 private:
  double m_base = 0;
};

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
