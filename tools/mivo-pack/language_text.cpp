#include "tools/mivo-pack/language_text.h"

#include "tools/mivo-pack/pack_util.h"

namespace pack {

namespace {

std::string Escape(std::u16string_view s) {
  std::string out;
  for (char c : U8(s)) {
    if (c == '\n') out += "\\n";
    else if (c == '\t') out += "\\t";
    else if (c == '\r') out += "\\r";
    else if (c == '\\') out += "\\\\";
    else out += c;
  }
  return out;
}

bool Unescape(const std::string& s, std::u16string* out) {
  std::string plain;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\') {
      plain += s[i];
      continue;
    }
    if (++i == s.size()) return false;
    switch (s[i]) {
      case 'n': plain += '\n'; break;
      case 't': plain += '\t'; break;
      case 'r': plain += '\r'; break;
      case '\\': plain += '\\'; break;
      default: return false;
    }
  }
  *out = U16(plain);
  return true;
}

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t tab = line.find('\t', start);
    parts.push_back(line.substr(start, tab - start));
    if (tab == std::string::npos) return parts;
    start = tab + 1;
  }
}

}  // namespace

bool ParseLanguageText(const std::string& text, LanguageText* out, std::string* error) {
  std::size_t start = 0;
  if (text.rfind("\xEF\xBB\xBF", 0) == 0) start = 3;  // a UTF-8 byte order mark
  int lineNumber = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    const auto where = [&](const std::string& what) {
      *error = "line " + std::to_string(lineNumber) + ": " + what;
      return false;
    };
    const std::vector<std::string> parts = SplitTabs(line);
    if (line[0] == '@') {
      if (parts.size() != 2) return where("a header line is @name, a tab and the value");
      std::u16string value;
      if (!Unescape(parts[1], &value)) return where("a bad escape (use \\n, \\t or \\\\)");
      const std::string& key = parts[0];
      if (key == "@display") out->displayName = value;
      else if (key == "@version") {
        if (!ParseNumber(parts[1], &out->fileVersion)) return where("@version takes a number");
      } else if (key.size() == 6 && key.rfind("@info", 0) == 0 && key[5] >= '1' && key[5] <= '4')
        out->descriptions[key[5] - '1'] = value;
      else
        return where("unknown header " + key + " (@display, @version, @info1 to @info4)");
      continue;
    }
    if (parts.size() != 3) return where("a record is id, English text and translation, separated by tabs");
    mivoLanguageRecord record;
    if (!ParseNumber(parts[0], &record.Id)) return where("the id '" + parts[0] + "' is not a number");
    if (!Unescape(parts[1], &record.SourceText) || !Unescape(parts[2], &record.Translation))
      return where("a bad escape (use \\n, \\t or \\\\)");
    out->records.push_back(std::move(record));
  }
  return true;
}

std::string FormatLanguageText(const LanguageText& language) {
  std::string out =
      "# mivo language: one line per text: id, the English text and its translation, separated by tabs.\n"
      "# Write a line feed as \\n, a tab as \\t and a backslash as \\\\. An empty translation shows English.\n";
  out += "@display\t" + Escape(language.displayName) + "\n";
  out += "@version\t" + std::to_string(language.fileVersion) + "\n";
  for (int i = 0; i < 4; ++i) out += "@info" + std::to_string(i + 1) + "\t" + Escape(language.descriptions[i]) + "\n";
  for (const auto& r : language.records)
    out += std::to_string(r.Id) + "\t" + Escape(r.SourceText) + "\t" + Escape(r.Translation) + "\n";
  return out;
}

}  // namespace pack
