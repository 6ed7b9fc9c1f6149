#include "look/language.h"

#include "look/archive.h"
#include "look/device_files.h"
#include "look/string_table.h"

bool mivoLanguage::LoadLanguage(std::u16string_view programFolder, std::u16string_view name) {
  std::vector<std::uint8_t> bytes;
  if (!look::ReadDeviceFile(FilePath(programFolder, name), &bytes)) {
    LoadFromBytes(name, {});
    return false;
  }
  return LoadFromBytes(name, bytes);
}

bool mivoLanguage::LoadFromBytes(std::u16string_view name, std::span<const std::uint8_t> bytes,
                                 mivoLanguageReport* report) {
  bool result = true;
  Name = std::u16string(name);
  Translations.clear();
  FileVersion = 0;
  DisplayName.clear();
  for (auto& d : Descriptions) d.clear();

  mivoArchiveReader in(bytes);
  bool readToEnd = false;
  std::vector<bool> covered(kStringTableSize, false);
  if (in.ReadU32(&FileVersion) && in.ReadString(&DisplayName)) {
    for (auto& d : Descriptions) in.ReadString(&d);
    mivoLanguageRecord record;
    while (!in.Failed()) {
      std::uint8_t more = 0;
      if (!in.ReadU32(&record.Id) || !in.ReadString(&record.SourceText) || !in.ReadString(&record.Translation) ||
          !in.ReadU8(&more))
        break;
      if (report) ++report->Records;
      // An id beyond the table would make the table grow without bound on a
      // damaged file: it is skipped like a record that does not match.
      if (record.Id > static_cast<DWORD>(kLastStringId)) {
        result = false;
        if (report) report->OutOfRange.push_back(record.Id);
      } else {
        const int id = static_cast<int>(record.Id);
        const std::u16string_view builtIn = BuiltInString(id);
        if (record.SourceText != builtIn) {
          record.Translation = std::u16string(builtIn);
          result = false;
          if (report) report->Mismatched.push_back(record.Id);
        } else if (report) {
          ++report->Accepted;
        }
        if (Translations.size() <= static_cast<std::size_t>(id)) Translations.resize(id + 1);
        Translations[id] = std::move(record.Translation);
        covered[id] = true;
      }
      if (more != 1) {
        readToEnd = true;
        break;
      }
    }
  }
  if (!readToEnd) result = false;
  if (Translations.size() != static_cast<std::size_t>(kStringTableSize)) {
    for (std::size_t id = Translations.size(); id < static_cast<std::size_t>(kStringTableSize); ++id)
      Translations.emplace_back(BuiltInString(static_cast<int>(id)));
    result = false;
  }
  if (report) {
    report->ReadToEnd = readToEnd;
    for (int id = kFirstStringId; id <= kLastStringId; ++id)
      if (!covered[id] && !BuiltInString(id).empty()) report->Missing.push_back(id);
  }
  return result;
}

std::u16string mivoLanguage::GetString(int id) const {
  if (id >= 0 && static_cast<std::size_t>(id) < Translations.size() && !Translations[id].empty())
    return Translations[id];
  return std::u16string(BuiltInString(id));
}

std::u16string mivoLanguage::FilePath(std::u16string_view programFolder, std::u16string_view name) {
  std::u16string path(programFolder);
  path += u"Languages\\";
  path += name;
  path += u".mlg";
  return path;
}

std::vector<std::uint8_t> SaveLanguageFile(DWORD fileVersion, std::u16string_view displayName,
                                           const std::u16string (&descriptions)[4],
                                           const std::vector<mivoLanguageRecord>& records) {
  mivoArchiveWriter out;
  out.WriteU32(fileVersion);
  out.WriteString(displayName);
  for (const auto& d : descriptions) out.WriteString(d);
  if (records.empty()) {
    out.WriteU32(0);
    out.WriteString(u"");
    out.WriteString(u"");
    out.WriteU8(0);
  }
  for (std::size_t i = 0; i < records.size(); ++i) {
    out.WriteU32(records[i].Id);
    out.WriteString(records[i].SourceText);
    out.WriteString(records[i].Translation);
    out.WriteU8(i + 1 < records.size() ? 1 : 0);
  }
  return out.Take();
}

mivoLanguage& CurrentLanguage() {
  static mivoLanguage language;
  return language;
}

bool LoadCurrentLanguage(std::u16string_view programFolder, std::u16string_view name) {
  return CurrentLanguage().LoadLanguage(programFolder, name);
}

std::u16string GetString(int id) { return CurrentLanguage().GetString(id); }
