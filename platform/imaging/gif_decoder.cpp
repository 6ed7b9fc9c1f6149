// GIF through giflib: the first frame, placed on the logical screen, with its
// transparent colour (animated pictures show their first frame).
#include <gif_lib.h>

#include <algorithm>
#include <cstring>

#include "platform/imaging/decoders.h"

namespace imaging::detail {

namespace {

struct Reader {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t pos;
};

int ReadFromMemory(GifFileType* gif, GifByteType* buf, int len) {
  auto* r = static_cast<Reader*>(gif->UserData);
  if (len <= 0) return 0;
  const std::size_t n = std::min(static_cast<std::size_t>(len), r->size - r->pos);
  std::memcpy(buf, r->data + r->pos, n);
  r->pos += n;
  return static_cast<int>(n);
}

bool IsGif(const std::uint8_t* d, std::size_t n) { return n >= 6 && std::memcmp(d, "GIF8", 4) == 0; }

struct GifCloser {
  void operator()(GifFileType* g) const {
    int err = 0;
    DGifCloseFile(g, &err);
  }
};

}  // namespace

bool ProbeGif(const std::uint8_t* d, std::size_t n, ImageInfo* info) {
  if (!IsGif(d, n) || n < 10) return false;
  const int w = d[6] | (d[7] << 8), h = d[8] | (d[9] << 8);
  if (!SizeAllowed(w, h)) return false;
  info->RawDataFormat = ImageFormat::Gif;
  info->Width = static_cast<UINT>(w);
  info->Height = static_cast<UINT>(h);
  info->PixelFormat = PixelFormat32bppARGB;
  info->Flags = ImageFlagsHasAlpha;
  return true;
}

bool DecodeGif(const std::uint8_t* d, std::size_t n, Picture* out) {
  if (!IsGif(d, n)) return false;
  Reader reader{d, n, 0};
  int error = 0;
  std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&reader, ReadFromMemory, &error));
  if (!gif) return false;
  int transparent = NO_TRANSPARENT_COLOR;
  for (;;) {
    GifRecordType type;
    if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR) return false;
    if (type == TERMINATE_RECORD_TYPE) return false;  // no picture in it
    if (type == EXTENSION_RECORD_TYPE) {
      int code = 0;
      GifByteType* ext = nullptr;
      if (DGifGetExtension(gif.get(), &code, &ext) == GIF_ERROR) return false;
      if (code == GRAPHICS_EXT_FUNC_CODE && ext && ext[0] >= 4) {
        GraphicsControlBlock gcb;
        if (DGifExtensionToGCB(ext[0], ext + 1, &gcb) == GIF_OK) transparent = gcb.TransparentColor;
      }
      while (ext) {
        if (DGifGetExtensionNext(gif.get(), &ext) == GIF_ERROR) return false;
      }
      continue;
    }
    if (type != IMAGE_DESC_RECORD_TYPE) continue;
    if (DGifGetImageDesc(gif.get()) == GIF_ERROR) return false;
    const GifImageDesc& desc = gif->Image;
    const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
    if (!map || desc.Width <= 0 || desc.Height <= 0 || desc.Left < 0 || desc.Top < 0) return false;
    // The logical screen holds the frame; a frame reaching past it widens it.
    const long long sw = std::max<long long>(gif->SWidth, static_cast<long long>(desc.Left) + desc.Width);
    const long long sh = std::max<long long>(gif->SHeight, static_cast<long long>(desc.Top) + desc.Height);
    if (!SizeAllowed(sw, sh)) return false;
    out->width = static_cast<int>(sw);
    out->height = static_cast<int>(sh);
    out->pixels.assign(static_cast<std::size_t>(sw) * static_cast<std::size_t>(sh), 0);
    std::vector<GifPixelType> line(static_cast<std::size_t>(desc.Width));
    auto put = [&](int row) -> bool {
      if (DGifGetLine(gif.get(), line.data(), desc.Width) == GIF_ERROR) return false;
      std::uint32_t* dst = out->pixels.data() +
                           static_cast<std::size_t>(desc.Top + row) * static_cast<std::size_t>(sw) +
                           static_cast<std::size_t>(desc.Left);
      for (int x = 0; x < desc.Width; ++x) {
        const int idx = line[static_cast<std::size_t>(x)];
        if (idx == transparent || idx >= map->ColorCount) continue;
        const GifColorType& c = map->Colors[idx];
        dst[x] = 0xFF000000u | (std::uint32_t(c.Red) << 16) | (std::uint32_t(c.Green) << 8) | c.Blue;
      }
      return true;
    };
    bool complete = true;
    if (desc.Interlace) {
      static const int kStart[] = {0, 4, 2, 1}, kStep[] = {8, 8, 4, 2};
      for (int pass = 0; pass < 4 && complete; ++pass)
        for (int y = kStart[pass]; y < desc.Height && complete; y += kStep[pass]) complete = put(y);
    } else {
      for (int y = 0; y < desc.Height && complete; ++y) complete = put(y);
    }
    // A picture cut short keeps the rows that arrived, if any did.
    out->format = ImageFormat::Gif;
    out->hasAlpha = true;
    return true;
  }
}

}  // namespace imaging::detail
