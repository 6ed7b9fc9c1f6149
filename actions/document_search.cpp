#include "actions/document_search.h"

#include "platform/fs/files.h"
#include "platform/fs/find.h"
#include "platform/win32/file_defs.h"

namespace {

std::vector<std::u16string> SplitPatterns(std::u16string_view patterns) {
  std::vector<std::u16string> out;
  std::size_t start = 0;
  while (start <= patterns.size()) {
    std::size_t bar = patterns.find(u'|', start);
    if (bar == std::u16string_view::npos) bar = patterns.size();
    if (bar > start) out.emplace_back(patterns.substr(start, bar - start));
    start = bar + 1;
  }
  return out;
}

struct Walk {
  std::vector<std::u16string> patterns;
  mivoDocumentSearchLimits limits;
  std::vector<std::u16string> found;
  std::size_t folders = 0;

  bool Full() const { return found.size() >= limits.maxFiles || folders >= limits.maxFolders; }

  bool Matches(std::u16string_view name) const {
    for (const auto& p : patterns)
      if (fs::MatchPattern(p, name)) return true;
    return false;
  }

  void Visit(const std::u16string& folder, int depth) {
    if (Full()) return;
    ++folders;
    const std::u16string prefix = folder.empty() || folder.back() != u'\\' ? folder + u"\\" : folder;
    const std::u16string query = prefix + u"*.*";
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(query.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    std::vector<std::u16string> subfolders;
    do {
      const std::u16string path = prefix + data.cFileName;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (depth < limits.maxDepth && !fs::IsLink(path)) subfolders.push_back(path);
      } else if (Matches(data.cFileName) && !fs::IsLink(path)) {
        found.push_back(path);
        if (Full()) break;
      }
    } while (FindNextFileW(find, &data));
    FindClose(find);
    for (const auto& sub : subfolders) {
      if (Full()) return;
      Visit(sub, depth + 1);
    }
  }
};

}  // namespace

bool MatchesAnyPattern(std::u16string_view patterns, std::u16string_view name) {
  const auto list = SplitPatterns(patterns);
  if (list.empty()) return true;
  for (const auto& p : list)
    if (fs::MatchPattern(p, name)) return true;
  return false;
}

std::vector<std::u16string> FindDocuments(std::u16string_view root, std::u16string_view patterns,
                                          const mivoDocumentSearchLimits& limits) {
  Walk walk;
  walk.patterns = SplitPatterns(patterns);
  walk.limits = limits;
  if (walk.patterns.empty()) return {};
  walk.Visit(std::u16string(root), 0);
  return std::move(walk.found);
}
