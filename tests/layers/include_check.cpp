#include "tests/layers/include_check.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>

namespace layers {

namespace {

namespace fs = std::filesystem;

// The rank of each folder of the system; a file may include ranks up to its own.
const std::map<std::string, int>& Ranks() {
  static const std::map<std::string, int> ranks = {
      {"platform", 0}, {"look", 1},    {"core", 2},  {"ui", 3},  {"actions", 4},
      {"desktop", 4},  {"pim", 4},     {"pages", 4}, {"app", 5},
  };
  return ranks;
}

// Folders that drive the whole program and may include any layer.
bool IncludesAnything(const std::string& folder) {
  return folder == "tests" || folder == "tools" || folder == "bench";
}

// Whether a file of `from` (a top-level folder) may include a file of `to`.
bool Allowed(const std::string& from, const std::string& to) {
  if (IncludesAnything(from)) return true;
  const auto target = Ranks().find(to);
  if (target == Ranks().end()) return true;  // not a layer: a system header, a library
  const auto source = Ranks().find(from);
  // Any other folder (the plug-in SDK, the shipped data) stays off the application.
  if (source == Ranks().end()) return to != "app";
  return target->second <= source->second;
}

bool IsSource(const fs::path& p) {
  const std::string ext = p.extension().string();
  return ext == ".h" || ext == ".hpp" || ext == ".c" || ext == ".cpp" || ext == ".inc";
}

std::string TopFolder(const std::string& relative) {
  const std::size_t slash = relative.find('/');
  return slash == std::string::npos ? std::string() : relative.substr(0, slash);
}

void CheckFile(const fs::path& root, const fs::path& file, std::vector<Violation>* out) {
  const std::string relative = fs::relative(file, root).generic_string();
  const std::string from = TopFolder(relative);
  std::ifstream in(file);
  static const std::regex include(R"(^\s*#\s*include\s*[<"]([^">]+)[">])");
  std::string text;
  int line = 0;
  while (std::getline(in, text)) {
    ++line;
    std::smatch m;
    if (!std::regex_search(text, m, include)) continue;
    const std::string included = m[1].str();
    if (!Allowed(from, TopFolder(included))) out->push_back(Violation{relative, line, included});
  }
}

}  // namespace

std::vector<Violation> CheckIncludes(const std::string& root) {
  std::vector<fs::path> files;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(root, ec); it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    const std::string name = it->path().filename().string();
    // Build folders and hidden folders (version control) are not the source.
    if (it->is_directory(ec) && (name.starts_with(".") || name.starts_with("build"))) {
      it.disable_recursion_pending();
      continue;
    }
    if (it->is_regular_file(ec) && IsSource(it->path())) files.push_back(it->path());
  }
  std::sort(files.begin(), files.end());
  std::vector<Violation> violations;
  for (const fs::path& file : files) CheckFile(root, file, &violations);
  return violations;
}

std::string Describe(const Violation& v) {
  return v.file + ":" + std::to_string(v.line) + ": includes " + v.included;
}

}  // namespace layers
