#include "look/color_theme.h"

#include "look/archive.h"
#include "look/device_files.h"

std::u16string mivoColorTheme::FilePath(std::u16string_view programFolder, std::u16string_view name) {
  std::u16string path(programFolder);
  path += u"ColorThemes\\";
  path += name;
  path += u".mct";
  return path;
}

bool mivoColorTheme::LoadColorTheme(std::u16string_view programFolder, std::u16string_view name) {
  Name = std::u16string(name);
  std::vector<std::uint8_t> bytes;
  if (!look::ReadDeviceFile(FilePath(programFolder, name), &bytes)) return false;
  return ReadFrom(bytes);
}

bool mivoColorTheme::ReadFrom(std::span<const std::uint8_t> bytes) {
  mivoArchiveReader in(bytes);
  DWORD version = 0;
  if (!in.ReadU32(&version)) return false;
  FileVersion = version;
  if (version != 1) return false;
  // Each value is stored as it is read, so a short file keeps what came first.
  for (std::u16string* s : {&Description, &Version, &Author, &WWW, &Generator, &GeneratorWWW}) {
    std::u16string value;
    if (!in.ReadString(&value)) return false;
    *s = std::move(value);
  }
  for (COLORREF& c : Colors) {
    DWORD value = 0;
    if (!in.ReadU32(&value)) return false;
    c = value;
  }
  return true;
}

std::vector<std::uint8_t> mivoColorTheme::Serialize() const {
  mivoArchiveWriter out;
  out.WriteU32(1);
  for (const std::u16string* s : {&Description, &Version, &Author, &WWW, &Generator, &GeneratorWWW})
    out.WriteString(*s);
  for (COLORREF c : Colors) out.WriteU32(c);
  return out.Take();
}
