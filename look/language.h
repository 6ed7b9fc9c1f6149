// Languages: a language file (".mlg" in the program folder's Languages
// folder) replaces built-in texts by translations. A translation counts only
// for an id whose English text is still the one the translator saw, so a
// file made for another version degrades to English text by text.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/types.h"

// One translation record of a language file.
struct mivoLanguageRecord {
  DWORD Id = 0;                  // string table id
  std::u16string SourceText;     // the English text that was translated
  std::u16string Translation;    // empty: the built-in text is shown
};

// What a load found, for tools and diagnostics.
struct mivoLanguageReport {
  int Records = 0;                 // records read
  int Accepted = 0;                // records whose source text matched
  std::vector<DWORD> Mismatched;   // ids whose source text differs from the built-in text
  std::vector<DWORD> OutOfRange;   // ids above the table, skipped
  std::vector<int> Missing;        // ids 2-567 with a built-in text that the file does not cover
  bool ReadToEnd = false;          // the last record (More not 1) was reached
};

class mivoLanguage {
 public:
  // Loads program folder + "Languages\" + name + ".mlg". True only when the
  // file matched this program completely; otherwise every id whose
  // translation was not accepted shows its built-in text.
  bool LoadLanguage(std::u16string_view programFolder, std::u16string_view name);
  // The same rules on the file's bytes (used by LoadLanguage and the tools).
  bool LoadFromBytes(std::u16string_view name, std::span<const std::uint8_t> bytes,
                     mivoLanguageReport* report = nullptr);

  // The translation of an id when one was accepted, else the built-in text.
  std::u16string GetString(int id) const;

  static std::u16string FilePath(std::u16string_view programFolder, std::u16string_view name);

  DWORD FileVersion = 0;                 // first u32 of the file; kept, not compared
  std::u16string DisplayName;            // shown in the languages list
  std::u16string Descriptions[4];        // the four further descriptive strings; kept
  std::u16string Name;                   // file name without folder and extension
  std::vector<std::u16string> Translations;  // by id; empty entry: built-in text
};

// Writes a language file: header, then the records, the last one ending the
// list. An empty record list still writes one record (id 0, empty texts) so
// the file stays well formed.
std::vector<std::uint8_t> SaveLanguageFile(DWORD fileVersion, std::u16string_view displayName,
                                           const std::u16string (&descriptions)[4],
                                           const std::vector<mivoLanguageRecord>& records);

// The process-wide current language, filled once at start-up.
mivoLanguage& CurrentLanguage();
// Loads the current language; false means the start-up warning is due.
bool LoadCurrentLanguage(std::u16string_view programFolder, std::u16string_view name);
// Every text the program shows is fetched here.
std::u16string GetString(int id);

// The start-up warning shown (OK button only) when the language did not load.
inline constexpr std::u16string_view kLanguageLoadWarning =
    u"The language either was not able to load or does not belongs to this mivo version. "
    u"Some of the translation may not be seen.";
// The fixed English texts of the language page's confirmation.
inline constexpr std::u16string_view kChangeLanguageTitle = u"Change language";
inline constexpr std::u16string_view kChangeLanguageQuestion =
    u"Do you want to change the language? Confirming this dialog, mivo will be exited and you have to run it "
    u"again.";
