#include "ui/look_pages/look_page_util.h"

#include "look/language.h"
#include "platform/fs/find.h"

namespace look_pages {

std::vector<FoundEntry> FindEntries(const std::u16string& pattern) {
  std::vector<FoundEntry> found;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(pattern.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return found;
  do {
    found.push_back(
        FoundEntry{std::u16string(data.cFileName), (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return found;
}

std::u16string DescriptiveHelp(const std::array<int, 6>& labelIds, const std::array<std::u16string, 6>& values) {
  std::u16string help;
  for (std::size_t i = 0; i < labelIds.size(); ++i) {
    if (i > 0) help += u"\n\n";
    help += GetString(labelIds[i]) + u":\n" + values[i];
  }
  return help;
}

std::u16string WithoutExtension(const std::u16string& name) {
  const std::size_t dot = name.rfind(u'.');
  return dot == std::u16string::npos ? name : name.substr(0, dot);
}

}  // namespace look_pages
