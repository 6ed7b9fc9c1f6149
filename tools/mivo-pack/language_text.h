// The plain text form of a language file that translators edit: UTF-8, one
// record a line as id, English text and translation separated by tabs, with
// "\n", "\t" and "\\" written as escapes. Lines starting with "#" are
// comments; "@display", "@version" and "@info1" to "@info4" lines (a tab,
// then the value) give the file's header.
#pragma once

#include <string>
#include <vector>

#include "look/language.h"

namespace pack {

struct LanguageText {
  DWORD fileVersion = 1;
  std::u16string displayName;
  std::u16string descriptions[4];
  std::vector<mivoLanguageRecord> records;
};

// False with "line N: ..." in error for a line that cannot be read.
bool ParseLanguageText(const std::string& text, LanguageText* out, std::string* error);
std::string FormatLanguageText(const LanguageText& language);

}  // namespace pack
