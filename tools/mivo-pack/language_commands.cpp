// Language files: create from text, write a template, check against the
// built-in table.
#include <cstdio>
#include <filesystem>
#include <set>

#include "look/language.h"
#include "look/string_table.h"
#include "tools/mivo-pack/commands.h"
#include "tools/mivo-pack/language_text.h"
#include "tools/mivo-pack/pack_util.h"

namespace pack {

namespace {

std::string IdList(const std::vector<DWORD>& ids) {
  std::string s;
  for (std::size_t i = 0; i < ids.size() && i < 40; ++i) s += (i ? " " : "") + std::to_string(ids[i]);
  if (ids.size() > 40) s += " ...";
  return s;
}

int CreateLanguage(const Args& args) {
  if (args.positional.size() != 2) return Usage("language create takes IN.txt OUT.mlg");
  std::vector<std::uint8_t> bytes;
  std::string error;
  if (!ReadFile(args.positional[0], &bytes, &error)) return Fail(error);
  LanguageText language;
  if (!ParseLanguageText(std::string(bytes.begin(), bytes.end()), &language, &error))
    return Fail(args.positional[0] + ": " + error);
  if (language.displayName.empty())
    language.displayName = U16(std::filesystem::path(args.positional[1]).stem().string());
  std::set<DWORD> seen;
  int differing = 0;
  for (const auto& r : language.records) {
    if (r.Id > static_cast<DWORD>(kLastStringId)) {
      std::fprintf(stderr, "mivo-pack: warning: id %u is beyond the table (%d) and will be skipped\n", r.Id,
                   kLastStringId);
    } else if (r.SourceText != BuiltInString(static_cast<int>(r.Id))) {
      ++differing;
      std::fprintf(stderr, "mivo-pack: warning: the English text of id %u differs from this version's; "
                   "it will show in English\n", r.Id);
    }
    if (!seen.insert(r.Id).second)
      std::fprintf(stderr, "mivo-pack: warning: id %u appears twice; the last one counts\n", r.Id);
  }
  if (language.records.empty()) return Fail(args.positional[0] + ": holds no records");
  const auto file =
      SaveLanguageFile(language.fileVersion, language.displayName, language.descriptions, language.records);
  if (!WriteFile(args.positional[1], file, &error)) return Fail(error);
  std::printf("%s: %zu records, %d with another English text\n", args.positional[1].c_str(), language.records.size(),
              differing);
  return kDone;
}

// Every id with its English text and the translation the file has (or an
// empty one), ready for a translator.
int WriteTemplate(const Args& args) {
  if (args.positional.empty() || args.positional.size() > 2)
    return Usage("language template takes OUT.txt [FROM.mlg]");
  LanguageText language;
  language.displayName = u"English";
  mivoLanguage from;
  bool haveFrom = false;
  if (args.positional.size() == 2) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!ReadFile(args.positional[1], &bytes, &error)) return Fail(error);
    from.LoadFromBytes(U16(std::filesystem::path(args.positional[1]).stem().string()), bytes);
    language.displayName = from.DisplayName;
    language.fileVersion = from.FileVersion;
    for (int i = 0; i < 4; ++i) language.descriptions[i] = from.Descriptions[i];
    haveFrom = true;
  }
  for (int id = kFirstStringId; id <= kLastStringId; ++id) {
    const std::u16string_view english = BuiltInString(id);
    if (english.empty()) continue;
    std::u16string translation;
    if (haveFrom && from.Translations[id] != english) translation = from.Translations[id];
    language.records.push_back({static_cast<DWORD>(id), std::u16string(english), translation});
  }
  const std::string text = FormatLanguageText(language);
  std::string error;
  if (!WriteFile(args.positional[0], std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
                 &error))
    return Fail(error);
  return kDone;
}

}  // namespace

// strict: the exit code says whether the program would take the file
// without its start-up warning; otherwise only whether it is well formed.
int CheckLanguage(const std::string& path, bool strict) {
  std::vector<std::uint8_t> bytes;
  std::string error;
  if (!ReadFile(path, &bytes, &error)) return Fail(error);
  mivoLanguage language;
  mivoLanguageReport report;
  const bool matches = language.LoadFromBytes(U16(std::filesystem::path(path).stem().string()), bytes, &report);
  std::printf("%s: language \"%s\", version %u, %d records\n", path.c_str(), U8(language.DisplayName).c_str(),
              language.FileVersion, report.Records);
  std::printf("%d ids match this version's English texts\n", report.Accepted);
  if (!report.Mismatched.empty())
    std::printf("%zu differ (shown in English): %s\n", report.Mismatched.size(), IdList(report.Mismatched).c_str());
  if (!report.OutOfRange.empty())
    std::printf("%zu ids beyond the table (skipped): %s\n", report.OutOfRange.size(),
                IdList(report.OutOfRange).c_str());
  if (!report.Missing.empty()) {
    std::vector<DWORD> missing(report.Missing.begin(), report.Missing.end());
    std::printf("%zu ids not in the file (shown in English): %s\n", missing.size(), IdList(missing).c_str());
  }
  if (!report.ReadToEnd) return Fail("damaged language file " + path + ": it ends before its last record");
  if (matches) {
    std::printf("%s: matches this version completely\n", path.c_str());
    return kDone;
  }
  if (strict) return Fail(path + " does not match this version completely; mivo will warn at start");
  std::printf("%s: well formed; mivo will warn at start that some texts are not translated\n", path.c_str());
  return kDone;
}

int LanguageCommand(const Argv& argv) {
  if (argv.empty()) return Usage("language takes create, template or check");
  const Args args = ParseArgs(Argv(argv.begin() + 1, argv.end()), {});
  if (!args.error.empty()) return Usage(args.error);
  if (argv[0] == "create") return CreateLanguage(args);
  if (argv[0] == "template") return WriteTemplate(args);
  if (argv[0] == "check") {
    if (args.positional.size() != 1) return Usage("language check takes FILE.mlg");
    return CheckLanguage(args.positional[0], true);
  }
  return Usage("unknown language command '" + argv[0] + "' (create, template or check)");
}

}  // namespace pack
