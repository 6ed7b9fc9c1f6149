// What the look pages share: finding the files and folders of a pattern and
// the help text made of a file's descriptive strings.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/win32/types.h"

namespace look_pages {

struct FoundEntry {
  std::u16string name;  // the entry's name, without folder
  bool folder = false;
};

// The entries a folder search finds, in the order the file system returns them.
std::vector<FoundEntry> FindEntries(const std::u16string& pattern);

// "Label:\nvalue" for each of the six descriptive strings, separated by an
// empty line; the labels are string table ids.
std::u16string DescriptiveHelp(const std::array<int, 6>& labelIds, const std::array<std::u16string, 6>& values);

// A file name without its extension ("Blue.mct" gives "Blue").
std::u16string WithoutExtension(const std::u16string& name);

}  // namespace look_pages
