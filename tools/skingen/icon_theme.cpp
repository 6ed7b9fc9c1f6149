#include "tools/skingen/icon_theme.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tools/skingen/svg.h"

namespace skingen {

namespace {

// Design sizes of the theme, small to large, and the folders an icon of any
// kind can be in.
constexpr int kDesignSizes[] = {16, 22, 24, 32, 48, 64, 96, 128};
constexpr const char* kContexts[] = {"apps", "places", "devices", "mimetypes", "status", "categories", "actions",
                                     "emblems"};

}  // namespace

std::string IconTheme::Find(const std::string& name, int pixels) const {
  std::string largest;
  for (int size : kDesignSizes) {
    for (const char* context : kContexts) {
      const std::filesystem::path p = std::filesystem::path(m_root) /
                                      (std::to_string(size) + "x" + std::to_string(size)) / context / (name + ".svg");
      std::error_code ec;
      if (!std::filesystem::is_regular_file(p, ec)) continue;
      if (size >= pixels) return p.string();
      largest = p.string();
      break;
    }
  }
  return largest;
}

std::string IconTheme::SizedDocument(const std::string& name, int width, int height, std::string* error) {
  const std::string path = Find(name, std::max(width, height));
  if (path.empty()) {
    *error = "the icon theme " + m_root + " has no icon \"" + name + "\"";
    return {};
  }
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  std::string document = text.str();
  if (!in || document.empty() || !SizeSvgDocument(&document, width, height)) {
    *error = "cannot read the icon " + path;
    return {};
  }
  std::error_code ec;
  m_read.insert(std::filesystem::canonical(path, ec).string());
  m_read.insert(path);
  return document;
}

}  // namespace skingen
