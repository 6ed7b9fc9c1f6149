// Finding icons of a freedesktop icon theme installed on the build machine
// (Papirus): the scalable design drawn for the size closest to the one
// needed, so every picture is rasterised from vectors at its exact size.
#pragma once

#include <set>
#include <string>
#include <vector>

namespace skingen {

class IconTheme {
 public:
  explicit IconTheme(std::string root) : m_root(std::move(root)) {}

  // The file of the named icon (no extension) for a picture `pixels` wide:
  // the smallest design size at least that large, else the largest there is;
  // empty when the theme has no such icon.
  std::string Find(const std::string& name, int pixels) const;
  // The icon's SVG sized to width x height pixels, ready to embed; empty
  // (with a message) when it is missing or unreadable.
  std::string SizedDocument(const std::string& name, int width, int height, std::string* error);

  const std::string& Root() const { return m_root; }
  // Every file read, for the build's dependency list.
  const std::set<std::string>& FilesRead() const { return m_read; }

 private:
  std::string m_root;
  std::set<std::string> m_read;
};

}  // namespace skingen
