#include "look/skin.h"

#include <atomic>

#include "look/archive.h"
#include "look/device_files.h"
#include "look/skin_image_cache.h"
#include "platform/win32/errors.h"
#include "platform/win32/text.h"

namespace {

constexpr DWORD kRecordMarker = 1;
constexpr DWORD kEndMarker = 0;
// "MVC1" after the end marker: the colours a version-1 file carried.
constexpr DWORD kLegacyColorsTag = 0x3143564D;

}  // namespace

mivoSkinImage::mivoSkinImage() = default;
mivoSkinImage::~mivoSkinImage() = default;

mivoSkinImageCache& mivoSkinImage::EnsureCache() {
  if (!m_cache) m_cache = std::make_unique<mivoSkinImageCache>();
  return *m_cache;
}

void mivoSkinImage::DropBitmapCaches() {
  if (m_cache) m_cache->DropBitmaps();
}

void mivoSkinImage::SetFile(std::u16string_view file) {
  DropBitmapCaches();
  File = std::u16string(file);
}

void mivoSkinImage::SetTransparentColor(COLORREF color) {
  DropBitmapCaches();
  TransparentColor = color;
}

namespace {
std::atomic<std::uint64_t> g_skinSerial{0};  // the last serial given
}  // namespace

mivoSkin::mivoSkin(std::u16string programFolder)
    : m_programFolder(std::move(programFolder)), m_serial(++g_skinSerial) {}
mivoSkin::~mivoSkin() = default;

std::u16string mivoSkin::SkinFolder() const { return m_programFolder + u"skins\\" + Name + u"\\"; }

std::u16string mivoSkin::SkinFilePath() const { return SkinFolder() + Name + u".msk"; }

void mivoSkin::LoadSkin(std::u16string_view name) {
  Name = std::u16string(name);
  Images.clear();
  m_loadedBytes.clear();
  m_canSave = true;
  std::vector<std::uint8_t> bytes;
  if (!look::ReadDeviceFile(SkinFilePath(), &bytes)) {
    const DWORD error = GetLastError();
    // A skin without a file gets one at exit; a file that is there but
    // cannot be read is left alone.
    m_canSave = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    FileVersion = 2;
    Description = Version = Author = WWW = Generator = GeneratorWWW = u"";
    SkinReserved = 0;
    LegacyColors.reset();
    return;
  }
  m_canSave = ReadFrom(bytes);
  m_loadedBytes = std::move(bytes);
}

bool mivoSkin::ReadFrom(std::span<const std::uint8_t> bytes) {
  Images.clear();
  FileVersion = 0;
  Description = Version = Author = WWW = Generator = GeneratorWWW = u"";
  SkinReserved = 0;
  LegacyColors.reset();

  mivoArchiveReader in(bytes);
  if (!in.ReadU32(&FileVersion)) return false;
  if (FileVersion == 2) {
    for (std::u16string* s : {&Description, &Version, &Author, &WWW, &Generator, &GeneratorWWW})
      if (!in.ReadString(s)) return false;
    if (!in.ReadU32(&SkinReserved)) return false;
  } else if (FileVersion == 1) {
    std::array<COLORREF, 5> colors{};
    for (COLORREF& c : colors)
      if (!in.ReadU32(&c)) return false;
    LegacyColors = colors;
  }
  for (;;) {
    DWORD marker = 0;
    if (!in.ReadU32(&marker)) return false;
    if (marker == kEndMarker) break;
    if (marker != kRecordMarker) continue;  // unknown markers are skipped
    auto image = std::make_unique<mivoSkinImage>();
    if (!in.ReadU32(&image->RecordVersion) || !in.ReadString(&image->Name) || !in.ReadString(&image->File) ||
        !in.ReadU32(&image->TransparentColor))
      return false;
    Images.push_back(std::move(image));
  }
  DWORD tag = 0;
  if (!LegacyColors && in.Remaining() >= 24 && in.ReadU32(&tag) && tag == kLegacyColorsTag) {
    std::array<COLORREF, 5> colors{};
    bool ok = true;
    for (COLORREF& c : colors) ok = ok && in.ReadU32(&c);
    if (ok) LegacyColors = colors;
  }
  return true;
}

std::vector<std::uint8_t> mivoSkin::Serialize() const {
  mivoArchiveWriter out;
  out.WriteU32(2);
  for (const std::u16string* s : {&Description, &Version, &Author, &WWW, &Generator, &GeneratorWWW})
    out.WriteString(*s);
  out.WriteU32(SkinReserved);
  for (const auto& image : Images) {
    out.WriteU32(kRecordMarker);
    out.WriteU32(image->RecordVersion);
    out.WriteString(image->Name);
    out.WriteString(image->File);
    out.WriteU32(image->TransparentColor);
  }
  out.WriteU32(kEndMarker);
  if (LegacyColors) {
    out.WriteU32(kLegacyColorsTag);
    for (COLORREF c : *LegacyColors) out.WriteU32(c);
  }
  return out.Take();
}

bool mivoSkin::SaveSkin() {
  if (!m_canSave || Name.empty()) return false;
  std::vector<std::uint8_t> bytes = Serialize();
  if (bytes == m_loadedBytes) return true;  // unchanged: spare the flash a write
  if (!look::WriteDeviceFile(SkinFilePath(), bytes)) return false;
  m_loadedBytes = std::move(bytes);
  return true;
}

mivoSkinImage* mivoSkin::FindImage(std::u16string_view name) const {
  for (const auto& image : Images)
    if (image->Name == name) return image.get();
  return nullptr;
}

mivoSkinImage* mivoSkin::FindOrAddImage(std::u16string_view name) {
  if (mivoSkinImage* found = FindImage(name)) return found;
  auto image = std::make_unique<mivoSkinImage>();
  image->Name = std::u16string(name);
  Images.push_back(std::move(image));
  return Images.back().get();
}

std::u16string SkinImageDisplayName(std::u16string_view name) {
  std::u16string shown(name);
  for (char16_t& c : shown)
    if (c == u'_') c = u' ';
  bool upper = true;
  for (char16_t& c : shown) {
    if (upper) c = text::ToUpper(c);
    upper = c == u' ';
  }
  return shown;
}
