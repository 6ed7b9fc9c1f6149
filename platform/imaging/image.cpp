// The imaging factory, its images and streams, and the shell's loaders.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <mutex>

#include "platform/fs/device_path.h"
#include "platform/gdi/blend.h"
#include "platform/gdi/gdi.h"
#include "platform/imaging/decoders.h"
#include "platform/imaging/imaging.h"
#include "platform/win32/errors.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Pictures larger than this are not read into memory at all.
constexpr std::size_t kMaxFileBytes = 256u * 1024 * 1024;

template <typename Base>
class RefCounted : public Base {
 public:
  ULONG AddRef() override { return ++m_refs; }
  ULONG Release() override {
    const ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
  }

 private:
  std::atomic<ULONG> m_refs{1};
};

bool ReadHostFile(const std::string& path, Bytes* out) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return false;
  const std::streamoff size = in.tellg();
  if (size < 0 || static_cast<unsigned long long>(size) > kMaxFileBytes) return false;
  in.seekg(0);
  out->resize(static_cast<std::size_t>(size));
  return size == 0 || static_cast<bool>(in.read(reinterpret_cast<char*>(out->data()), size));
}

bool ReadDeviceFile(LPCWSTR devicePath, Bytes* out) {
  if (!devicePath) return false;
  std::string host;
  if (!fs::ToHostPath(devicePath, &host)) return false;
  if (!ReadHostFile(host, out)) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return false;
  }
  return true;
}

// ---- Streams ---------------------------------------------------------------------------------

class MemoryStream : public RefCounted<IStream> {
 public:
  explicit MemoryStream(Bytes data) : m_data(std::move(data)) {}
  HRESULT Read(void* buffer, ULONG size, ULONG* read) override {
    if (!buffer && size) return E_POINTER;
    const std::size_t n = m_pos >= m_data.size() ? 0 : std::min<std::size_t>(size, m_data.size() - m_pos);
    if (n) std::memcpy(buffer, m_data.data() + m_pos, n);
    m_pos += n;
    if (read) *read = static_cast<ULONG>(n);
    return n == size ? S_OK : S_FALSE;
  }
  HRESULT Write(const void* buffer, ULONG size, ULONG* written) override {
    if (!buffer && size) return E_POINTER;
    if (m_pos + size > kMaxFileBytes) return E_OUTOFMEMORY;
    if (m_pos + size > m_data.size()) m_data.resize(m_pos + size);
    if (size) std::memcpy(m_data.data() + m_pos, buffer, size);
    m_pos += size;
    if (written) *written = size;
    return S_OK;
  }
  HRESULT Seek(LONGLONG offset, DWORD origin, ULONGLONG* position) override {
    long long base = origin == STREAM_SEEK_SET ? 0 : origin == STREAM_SEEK_CUR ? static_cast<long long>(m_pos)
                                                  : origin == STREAM_SEEK_END ? static_cast<long long>(m_data.size())
                                                                              : -1;
    if (base < 0 || base + offset < 0) return E_INVALIDARG;
    m_pos = static_cast<std::size_t>(base + offset);
    if (position) *position = m_pos;
    return S_OK;
  }
  HRESULT GetSize(ULONGLONG* size) override {
    if (!size) return E_POINTER;
    *size = m_data.size();
    return S_OK;
  }

 private:
  Bytes m_data;
  std::size_t m_pos = 0;
};

class FileStream : public RefCounted<IStream> {
 public:
  explicit FileStream(std::FILE* f) : m_file(f) {}
  ~FileStream() override { std::fclose(m_file); }
  HRESULT Read(void* buffer, ULONG size, ULONG* read) override {
    if (!buffer && size) return E_POINTER;
    const std::size_t n = std::fread(buffer, 1, size, m_file);
    if (read) *read = static_cast<ULONG>(n);
    if (n < size && std::ferror(m_file)) return E_FAIL;
    return n == size ? S_OK : S_FALSE;
  }
  HRESULT Write(const void* buffer, ULONG size, ULONG* written) override {
    if (!buffer && size) return E_POINTER;
    const std::size_t n = std::fwrite(buffer, 1, size, m_file);
    if (written) *written = static_cast<ULONG>(n);
    return n == size ? S_OK : E_FAIL;
  }
  HRESULT Seek(LONGLONG offset, DWORD origin, ULONGLONG* position) override {
    const int whence = origin == STREAM_SEEK_SET ? SEEK_SET : origin == STREAM_SEEK_CUR ? SEEK_CUR : SEEK_END;
    if (origin > STREAM_SEEK_END || fseeko(m_file, static_cast<off_t>(offset), whence) != 0) return E_INVALIDARG;
    if (position) *position = static_cast<ULONGLONG>(ftello(m_file));
    return S_OK;
  }
  HRESULT GetSize(ULONGLONG* size) override {
    if (!size) return E_POINTER;
    const off_t here = ftello(m_file);
    fseeko(m_file, 0, SEEK_END);
    *size = static_cast<ULONGLONG>(ftello(m_file));
    fseeko(m_file, here, SEEK_SET);
    return S_OK;
  }

 private:
  std::FILE* m_file;
};

// ---- Images ---------------------------------------------------------------------------------------

class Image : public RefCounted<IImage> {
 public:
  // From encoded bytes: the header has been probed, decoding waits for Draw.
  Image(Bytes data, const ImageInfo& info) : m_data(std::move(data)), m_info(info) {}
  // From decoded pixels (thumbnails).
  explicit Image(imaging::Picture picture) : m_decoded(true) {
    m_picture = std::move(picture);
    m_info.RawDataFormat = ImageFormat::Memory;
    m_info.Width = static_cast<UINT>(m_picture.width);
    m_info.Height = static_cast<UINT>(m_picture.height);
    m_info.PixelFormat = PixelFormat32bppPARGB;
    m_info.Flags = m_picture.hasAlpha ? ImageFlagsHasAlpha : 0;
  }

  HRESULT GetImageInfo(ImageInfo* info) override {
    if (!info) return E_POINTER;
    *info = m_info;
    return S_OK;
  }

  HRESULT Draw(HDC dc, const RECT* dst, const RECT* src) override {
    if (!dst) return E_INVALIDARG;
    if (!Decode()) return E_FAIL;
    RECT s = src ? *src : RECT{0, 0, m_picture.width, m_picture.height};
    s.left = std::clamp<LONG>(s.left, 0, m_picture.width);
    s.right = std::clamp<LONG>(s.right, 0, m_picture.width);
    s.top = std::clamp<LONG>(s.top, 0, m_picture.height);
    s.bottom = std::clamp<LONG>(s.bottom, 0, m_picture.height);
    const int w = dst->right - dst->left, h = dst->bottom - dst->top;
    if (s.right <= s.left || s.bottom <= s.top || w <= 0 || h <= 0) return S_OK;
    const gdi::PixelView view{m_picture.pixels.data(), m_picture.width, m_picture.height, m_picture.width};
    return gdi::BlendPixels(dc, dst->left, dst->top, w, h, view, s.left, s.top, s.right - s.left, s.bottom - s.top)
               ? S_OK
               : E_FAIL;
  }

  HRESULT GetThumbnail(UINT width, UINT height, IImage** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (width == 0 || height == 0 || !imaging::detail::SizeAllowed(width, height)) return E_INVALIDARG;
    imaging::Picture small;
    if (m_decoded) {
      small = imaging::ScalePicture(m_picture, static_cast<int>(width), static_cast<int>(height));
    } else {
      // Let the decoder scale (JPEG), then finish to the exact size.
      imaging::Picture p;
      if (!imaging::DecodePicture(m_data.data(), m_data.size(), &p, static_cast<int>(width), static_cast<int>(height)))
        return E_FAIL;
      small = imaging::ScalePicture(p, static_cast<int>(width), static_cast<int>(height));
    }
    if (small.pixels.empty()) return E_FAIL;
    *out = new Image(std::move(small));
    return S_OK;
  }

 private:
  bool Decode() {
    std::lock_guard lock(m_mutex);
    if (m_decoded) return !m_picture.pixels.empty();
    m_decoded = true;
    const bool ok = imaging::DecodePicture(m_data.data(), m_data.size(), &m_picture);
    Bytes().swap(m_data);  // the encoded bytes are not needed any more
    return ok;
  }

  std::mutex m_mutex;
  Bytes m_data;
  ImageInfo m_info;
  bool m_decoded = false;
  imaging::Picture m_picture;
};

HRESULT MakeImage(Bytes data, IImage** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  ImageInfo info;
  if (!imaging::ProbePicture(data.data(), data.size(), &info)) return E_FAIL;
  *out = new Image(std::move(data), info);
  return S_OK;
}

class Factory : public RefCounted<IImagingFactory> {
 public:
  HRESULT CreateImageFromStream(IStream* stream, IImage** image) override {
    if (!image) return E_POINTER;
    *image = nullptr;
    if (!stream) return E_POINTER;
    Bytes data;
    std::uint8_t buf[64 * 1024];
    for (;;) {
      ULONG got = 0;
      const HRESULT hr = stream->Read(buf, sizeof buf, &got);
      if (FAILED(hr)) return hr;
      if (data.size() + got > kMaxFileBytes) return E_OUTOFMEMORY;
      data.insert(data.end(), buf, buf + got);
      if (got < sizeof buf) break;
    }
    return MakeImage(std::move(data), image);
  }
  HRESULT CreateImageFromFile(LPCWSTR path, IImage** image) override {
    if (!image) return E_POINTER;
    *image = nullptr;
    Bytes data;
    if (!ReadDeviceFile(path, &data)) return HRESULT_FROM_WIN32(GetLastError() ? GetLastError() : ERROR_FILE_NOT_FOUND);
    return MakeImage(std::move(data), image);
  }
  HRESULT CreateImageFromBuffer(const void* buffer, UINT size, BufferDisposalFlag, IImage** image) override {
    if (!image) return E_POINTER;
    *image = nullptr;
    if (!buffer || size == 0) return E_INVALIDARG;
    const auto* p = static_cast<const std::uint8_t*>(buffer);
    return MakeImage(Bytes(p, p + size), image);
  }
};

}  // namespace

HRESULT CreateStreamOnBuffer(const void* data, std::size_t size, IStream** stream) {
  if (!stream) return E_POINTER;
  *stream = nullptr;
  if (!data && size) return E_POINTER;
  if (size > kMaxFileBytes) return E_OUTOFMEMORY;
  const auto* p = static_cast<const std::uint8_t*>(data);
  *stream = new MemoryStream(Bytes(p, p + size));
  return S_OK;
}

HRESULT SHCreateStreamOnFile(LPCWSTR devicePath, DWORD mode, IStream** stream) {
  if (!stream) return E_POINTER;
  *stream = nullptr;
  std::string host;
  if (!devicePath || !fs::ToHostPath(devicePath, &host)) return E_INVALIDARG;
  const bool write = (mode & (STGM_WRITE | STGM_READWRITE)) != 0;
  const char* how = write ? ((mode & STGM_CREATE) ? "w+b" : "r+b") : "rb";
  std::FILE* f = std::fopen(host.c_str(), how);
  if (!f) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
  *stream = new FileStream(f);
  return S_OK;
}

HRESULT CreateImagingFactory(IImagingFactory** factory) {
  if (!factory) return E_POINTER;
  *factory = new Factory;
  return S_OK;
}

HBITMAP SHLoadImageFile(LPCWSTR devicePath) {
  Bytes data;
  if (!ReadDeviceFile(devicePath, &data)) return nullptr;
  HBITMAP bitmap = imaging::DecodePictureToBitmap(data.data(), data.size());
  if (!bitmap) SetLastError(ERROR_BAD_FORMAT);
  return bitmap;
}

namespace imaging {

HBITMAP DecodePictureToBitmap(const std::uint8_t* data, std::size_t size) {
  // A JPEG (a wallpaper, a photo) goes straight into the bitmap: a whole screen of pixels less to
  // fill and copy.
  if (HBITMAP direct = detail::DecodeJpegToBitmap(data, size)) return direct;
  Picture p;
  if (!DecodePicture(data, size, &p)) return nullptr;
  return PictureToBitmap(p);
}

HICON LoadIconFile(LPCWSTR devicePath, int size) {
  Bytes data;
  if (!ReadDeviceFile(devicePath, &data)) return nullptr;
  Picture p;
  if (!DecodePicture(data.data(), data.size(), &p, size, size)) return nullptr;
  if (size > 0 && (p.width != size || p.height != size)) {
    // Fit into a size x size square, centred, keeping the proportions.
    int w = size, h = size;
    if (p.width > p.height)
      h = std::max(1, static_cast<int>(static_cast<long long>(p.height) * size / p.width));
    else
      w = std::max(1, static_cast<int>(static_cast<long long>(p.width) * size / p.height));
    Picture scaled = ScalePicture(p, w, h);
    Picture square;
    square.width = square.height = size;
    square.pixels.assign(static_cast<std::size_t>(size) * size, 0);
    const int ox = (size - w) / 2, oy = (size - h) / 2;
    for (int y = 0; y < h; ++y)
      std::copy_n(scaled.pixels.data() + static_cast<std::size_t>(y) * w, w,
                  square.pixels.data() + static_cast<std::size_t>(y + oy) * size + ox);
    p = std::move(square);
  }
  return gdi::CreateIconFromPixels(p.width, p.height, p.pixels.data(), p.width, true);
}

}  // namespace imaging
