// Language files: the loading rules, the fallbacks, and damaged files.
#include <gtest/gtest.h>

#include "look/language.h"
#include "look/string_table.h"
#include "test_util.h"

namespace {

using looktest::Bytes;

std::u16string Translated(int id) { return u"[" + std::u16string(BuiltInString(id)) + u"]"; }

// A file translating every id 2-567 that has a text, with the current originals.
std::vector<mivoLanguageRecord> CompleteRecords() {
  std::vector<mivoLanguageRecord> records;
  for (int id = 2; id <= 567; ++id)
    if (!BuiltInString(id).empty()) records.push_back({static_cast<DWORD>(id), std::u16string(BuiltInString(id)), Translated(id)});
  return records;
}

Bytes FileOf(const std::vector<mivoLanguageRecord>& records) {
  const std::u16string desc[4] = {u"1.0", u"Translator", u"", u""};
  return SaveLanguageFile(7, u"Bracketed", desc, records);
}

// Version 3, "Deutsch", no descriptions and the record 2 "Error" = "Fehler".
Bytes HandMadeStart() {
  Bytes b;
  looktest::U32(b, 3);
  looktest::Str(b, u"Deutsch");
  for (int i = 0; i < 4; ++i) looktest::Str(b, u"");
  looktest::U32(b, 2);
  looktest::Str(b, u"Error");
  looktest::Str(b, u"Fehler");
  return b;
}

TEST(LanguageFile, MatchesAHandMadeLayout) {
  Bytes b = HandMadeStart();
  b.push_back(1);
  looktest::U32(b, 374);
  looktest::Str8(b, "Back");  // the 8-bit form is read as well
  looktest::Str8(b, "Zur\xFC" "ck");
  b.push_back(0);
  b.push_back(0xEE);  // after the last record nothing is read

  mivoLanguage lang;
  mivoLanguageReport report;
  EXPECT_FALSE(lang.LoadFromBytes(u"Deutsch", b, &report)) << "two records do not cover the table";
  EXPECT_EQ(lang.FileVersion, 3u);
  EXPECT_EQ(lang.DisplayName, u"Deutsch");
  EXPECT_EQ(lang.GetString(2), u"Fehler");
  EXPECT_EQ(lang.GetString(374), u"Zur\u00FCck");
  EXPECT_EQ(lang.GetString(375), u"Hide");
  EXPECT_EQ(lang.Translations.size(), 568u);
  EXPECT_TRUE(report.ReadToEnd);
  EXPECT_EQ(report.Accepted, 2);

  const std::u16string desc[4];
  const Bytes written = SaveLanguageFile(3, u"Deutsch", desc, {{2, u"Error", u"Fehler"}});
  Bytes expected = HandMadeStart();
  expected.push_back(0);
  EXPECT_EQ(written, expected);
}

TEST(LanguageFile, ACompleteFileWithCurrentOriginalsLoadsTrue) {
  mivoLanguage lang;
  ASSERT_TRUE(lang.LoadFromBytes(u"Bracketed", FileOf(CompleteRecords())));
  EXPECT_EQ(lang.GetString(3), u"[Contacts]");
  EXPECT_EQ(lang.GetString(567), Translated(567));
  EXPECT_EQ(lang.GetString(12), u"") << "an id without a text stays empty";
  EXPECT_EQ(lang.GetString(600), u"");
  EXPECT_EQ(lang.Name, u"Bracketed");
}

TEST(LanguageFile, ARecordDifferingByOneCharacterFallsBackAndTheLoadIsFalse) {
  auto records = CompleteRecords();
  for (auto& r : records)
    if (r.Id == 5) r.SourceText = u"Call Log";
  mivoLanguage lang;
  mivoLanguageReport report;
  EXPECT_FALSE(lang.LoadFromBytes(u"x", FileOf(records), &report));
  EXPECT_EQ(lang.GetString(5), u"Call log");
  EXPECT_EQ(lang.GetString(6), u"[Programs]");
  EXPECT_EQ(report.Mismatched, std::vector<DWORD>{5});
}

TEST(LanguageFile, AFileStoppingAfterId100TranslatesOnlyWhatItHas) {
  auto records = CompleteRecords();
  std::erase_if(records, [](const mivoLanguageRecord& r) { return r.Id > 100; });
  mivoLanguage lang;
  EXPECT_FALSE(lang.LoadFromBytes(u"x", FileOf(records)));
  EXPECT_EQ(lang.GetString(100), Translated(100));
  EXPECT_EQ(lang.GetString(101), BuiltInString(101));
  EXPECT_EQ(lang.GetString(567), BuiltInString(567));
  EXPECT_EQ(lang.Translations.size(), 568u);
}

TEST(LanguageFile, AnEmptyTranslationAndARepeatedIdAreHandled) {
  auto records = CompleteRecords();
  for (auto& r : records)
    if (r.Id == 8) r.Translation.clear();
  records.insert(records.end() - 1, {9, u"System info", u"second"});
  mivoLanguage lang;
  EXPECT_TRUE(lang.LoadFromBytes(u"x", FileOf(records)));
  EXPECT_EQ(lang.GetString(8), u"Settings");
  EXPECT_EQ(lang.GetString(9), u"second") << "a later record overwrites an earlier one";
}

TEST(LanguageFile, IdsBeyondTheTableAreSkippedSoADamagedFileCannotExhaustMemory) {
  auto records = CompleteRecords();
  records.insert(records.begin(), {0xFFFFFFF0u, u"", u"huge"});
  records.insert(records.begin(), {568, u"", u"just past"});
  mivoLanguage lang;
  mivoLanguageReport report;
  EXPECT_FALSE(lang.LoadFromBytes(u"x", FileOf(records), &report));
  EXPECT_EQ(lang.Translations.size(), 568u);
  EXPECT_EQ(lang.GetString(568), u"");
  EXPECT_EQ(lang.GetString(2), u"[Error]") << "records after the skipped ones still count";
  EXPECT_EQ(report.OutOfRange.size(), 2u);
}

TEST(LanguageFile, ATruncatedFileKeepsWhatWasReadAtEveryCut) {
  auto records = CompleteRecords();
  records.resize(6);  // ids 2..7
  const Bytes full = FileOf(records);
  for (std::size_t cut = 0; cut < full.size(); ++cut) {
    mivoLanguage lang;
    EXPECT_FALSE(lang.LoadFromBytes(u"x", std::span(full.data(), cut))) << cut;
    ASSERT_EQ(lang.Translations.size(), 568u);
    // A record is stored once its More byte is there.
    for (int id = 2; id <= 7; ++id) {
      const std::u16string s = lang.GetString(id);
      EXPECT_TRUE(s == BuiltInString(id) || s == Translated(id)) << cut << " " << id;
    }
  }
  mivoLanguage lang;
  lang.LoadFromBytes(u"x", std::span(full.data(), full.size() - 1));
  EXPECT_EQ(lang.GetString(6), Translated(6)) << "the record before the cut one stays";
  EXPECT_EQ(lang.GetString(7), BuiltInString(7));
}

TEST(LanguageFile, LoadsFromTheLanguagesFolderAndServesGetString) {
  looktest::ScratchDevice device;
  device.Put("Program Files/mivo/Languages/Bracketed.mlg", FileOf(CompleteRecords()));
  EXPECT_TRUE(LoadCurrentLanguage(looktest::kProgramFolder, u"Bracketed"));
  EXPECT_EQ(GetString(374), u"[Back]");
  EXPECT_FALSE(LoadCurrentLanguage(looktest::kProgramFolder, u"Missing"));
  EXPECT_EQ(GetString(374), u"Back");
  EXPECT_EQ(CurrentLanguage().Name, u"Missing");
}

}  // namespace
