// The shipped languages: English matches the built-in table, so it loads
// without the start-up warning, and German translates every text with the
// same placeholders and line breaks.
#include <gtest/gtest.h>

#include <regex>

#include "look/language.h"
#include "look/string_table.h"
#include "ships_util.h"

namespace {

using namespace ships;

// Loads a shipped language the way the program does at start.
bool LoadShipped(const std::string& name, mivoLanguage* language) {
  Scratch device("language");
  device.Put("Program Files/mivo/Languages/" + name + ".mlg", ReadHost(DataDir() / "languages" / (name + ".mlg")));
  return language->LoadLanguage(kProgramFolder, text::FromUtf8(name));
}

// The printf placeholders of a text, in order ("%s", "%d", "%%", "%.2X").
std::vector<std::string> Placeholders(const std::u16string& text) {
  static const std::regex re("%[-+ #0]*[0-9]*(\\.[0-9]+)?[a-zA-Z%]");
  const std::string s = text::ToUtf8(text);
  std::vector<std::string> found;
  for (auto it = std::sregex_iterator(s.begin(), s.end(), re); it != std::sregex_iterator(); ++it)
    found.push_back(it->str());
  return found;
}

TEST(ShippedLanguages, EnglishLoadsWithoutTheStartUpWarning) {
  mivoLanguage english;
  EXPECT_TRUE(LoadShipped("English", &english));
  EXPECT_EQ(english.DisplayName, u"English");
  for (int id = 0; id < kStringTableSize; ++id) EXPECT_EQ(english.GetString(id), BuiltInString(id)) << id;
}

TEST(ShippedLanguages, GermanLoadsWithoutTheWarningAndTranslatesEveryTextKeepingPlaceholdersAndLineBreaks) {
  mivoLanguage german;
  EXPECT_TRUE(LoadShipped("German", &german));
  EXPECT_EQ(german.DisplayName, u"Deutsch");
  ASSERT_EQ(german.Translations.size(), static_cast<std::size_t>(kStringTableSize));
  int same = 0;
  for (int id = kFirstStringId; id <= kLastStringId; ++id) {
    const std::u16string english(BuiltInString(id));
    const std::u16string translated = german.GetString(id);
    SCOPED_TRACE(id);
    EXPECT_EQ(Placeholders(translated), Placeholders(english));
    EXPECT_EQ(std::count(translated.begin(), translated.end(), u'\n'),
              std::count(english.begin(), english.end(), u'\n'));
    EXPECT_EQ(!translated.empty() && translated.back() == u'\n', !english.empty() && english.back() == u'\n')
        << "a text that ends in a line break (an error text with the system's message after it) keeps it";
    if (english.empty()) continue;
    EXPECT_FALSE(german.Translations[id].empty()) << "no translation for: " << text::ToUtf8(english);
    if (translated == english) ++same;
  }
  // Names and words German keeps ("SMS", "Desktop", "Version", "Bluetooth")
  // are few; most texts must read German.
  EXPECT_LT(same, 40);
  EXPECT_EQ(german.GetString(374), u"Zurück");
  EXPECT_EQ(german.GetString(366), u"Möchten Sie mivo beenden?");
}

}  // namespace
