// Pictures: the imaging factory and images of the phone platform, streams
// over memory and files, and the shell's SHLoadImageFile.
//
// Formats: PNG (every colour type, alpha, 16-bit), JPEG (scaled by the
// decoder itself for thumbnails), GIF (first frame, transparency) and BMP
// (1, 4, 8, 16, 24 and 32 bits, RLE). Pixels are kept premultiplied and drawn
// with their alpha. Files are device paths ("\My Documents\a.jpg").
//
// The interfaces count references: every object handed out starts with one
// reference that the receiver gives back with Release.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/gdi_defs.h"
#include "platform/win32/types.h"

// ---- Streams --------------------------------------------------------------------------

constexpr DWORD STREAM_SEEK_SET = 0;
constexpr DWORD STREAM_SEEK_CUR = 1;
constexpr DWORD STREAM_SEEK_END = 2;

constexpr DWORD STGM_READ = 0x00000000;
constexpr DWORD STGM_WRITE = 0x00000001;
constexpr DWORD STGM_READWRITE = 0x00000002;
constexpr DWORD STGM_CREATE = 0x00001000;

struct IStream {
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;
  // Reads up to `size` bytes; *read gets the count (fewer at the end: S_FALSE).
  virtual HRESULT Read(void* buffer, ULONG size, ULONG* read) = 0;
  virtual HRESULT Write(const void* buffer, ULONG size, ULONG* written) = 0;
  virtual HRESULT Seek(LONGLONG offset, DWORD origin, ULONGLONG* position) = 0;
  // Total size in bytes.
  virtual HRESULT GetSize(ULONGLONG* size) = 0;

 protected:
  virtual ~IStream() = default;
};

// A stream over a copy of the given bytes (read and write, grows as written).
HRESULT CreateStreamOnBuffer(const void* data, std::size_t size, IStream** stream);
// A stream over a file named by a device path. STGM_READ opens an existing
// file; STGM_WRITE | STGM_CREATE creates or truncates it.
HRESULT SHCreateStreamOnFile(LPCWSTR devicePath, DWORD mode, IStream** stream);

// ---- Images ------------------------------------------------------------------------------

enum class ImageFormat { Unknown = 0, Png, Jpeg, Gif, Bmp, Memory };

// Pixel formats an image reports (what the file holds).
constexpr DWORD PixelFormat24bppRGB = 0x00021808;
constexpr DWORD PixelFormat32bppARGB = 0x0026200A;
constexpr DWORD PixelFormat32bppPARGB = 0x000E200B;

constexpr DWORD ImageFlagsHasAlpha = 0x0002;

struct ImageInfo {
  ImageFormat RawDataFormat = ImageFormat::Unknown;
  DWORD PixelFormat = PixelFormat24bppRGB;
  UINT Width = 0;
  UINT Height = 0;
  UINT TileWidth = 0;
  UINT TileHeight = 0;
  double Xdpi = 96;
  double Ydpi = 96;
  UINT Flags = 0;  // ImageFlagsHasAlpha when the picture has transparent parts
};

struct IImage {
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;
  virtual HRESULT GetImageInfo(ImageInfo* info) = 0;
  // Draws the picture (or the part srcRect, in the picture's pixels; null for
  // all of it) scaled into dstRect of the DC, blended with its alpha. The
  // picture is decoded on the first draw and kept.
  virtual HRESULT Draw(HDC dc, const RECT* dstRect, const RECT* srcRect) = 0;
  // A new image of exactly width x height holding the whole picture scaled.
  virtual HRESULT GetThumbnail(UINT width, UINT height, IImage** thumbnail) = 0;

 protected:
  virtual ~IImage() = default;
};

enum BufferDisposalFlag { BufferDisposalFlagNone = 0, BufferDisposalFlagGlobalFree, BufferDisposalFlagLocalFree };

struct IImagingFactory {
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;
  // Reads the stream from its current position to its end.
  virtual HRESULT CreateImageFromStream(IStream* stream, IImage** image) = 0;
  virtual HRESULT CreateImageFromFile(LPCWSTR devicePath, IImage** image) = 0;
  // The bytes are copied; the disposal flag is accepted and has nothing to do.
  virtual HRESULT CreateImageFromBuffer(const void* buffer, UINT size, BufferDisposalFlag disposal,
                                        IImage** image) = 0;

 protected:
  virtual ~IImagingFactory() = default;
};

// The platform creates the factory through COM (CLSID_ImagingFactory); here
// one call makes it. Errors: E_POINTER for a null out pointer.
HRESULT CreateImagingFactory(IImagingFactory** factory);

// The shell's picture loader: the whole picture of a device path as a 32-bit
// bitmap (premultiplied alpha; opaque pictures have alpha 255), or null.
HBITMAP SHLoadImageFile(LPCWSTR devicePath);

namespace imaging {

// Decoded pixels: premultiplied 0xAARRGGBB, rows top-down.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
  ImageFormat format = ImageFormat::Unknown;
  bool hasAlpha = false;
};

// Decodes a picture held in memory. maxWidth/maxHeight > 0 allow a decoder
// that can scale while decoding (JPEG) to deliver a smaller picture that is
// still at least that large. False (and an empty picture) for anything it
// cannot read: unknown format, damaged or truncated data, absurd sizes.
bool DecodePicture(const std::uint8_t* data, std::size_t size, Picture* out, int minWidth = 0, int minHeight = 0);
// Reads width, height and format from the header alone.
bool ProbePicture(const std::uint8_t* data, std::size_t size, ImageInfo* info);
// A host file, decoded (tests, tools).
bool DecodeHostFile(const std::string& hostPath, Picture* out);
// Scales a picture to exactly width x height (averaging when shrinking).
Picture ScalePicture(const Picture& in, int width, int height);

// A bitmap (DIB section) holding the picture's pixels.
HBITMAP PictureToBitmap(const Picture& picture);
// The picture scaled to cover width x height, centred, what stands over cut off (a wallpaper made
// for another screen, a photo chosen as one); null for an empty picture or size.
HBITMAP PictureToCoveringBitmap(const Picture& picture, int width, int height);
// A picture held in memory as a 32-bit DIB section at its own size (an upright JPEG straight into the
// bitmap); null for what DecodePicture cannot read.
HBITMAP DecodePictureToBitmap(const std::uint8_t* data, std::size_t size);
// An icon from a picture file (device path), scaled to size x size when size
// > 0 (keeping the aspect ratio, centred); null when it cannot be read.
HICON LoadIconFile(LPCWSTR devicePath, int size);

}  // namespace imaging
