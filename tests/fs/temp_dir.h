// A scratch folder for one test, removed at the end; the device tests make
// their devices in it (under ScratchRoot: in memory where the machine can).
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/support/scratch.h"

namespace testing_support {

class TempDir {
 public:
  TempDir() {
    std::error_code ec;
    std::filesystem::create_directories(ScratchRoot(), ec);
    std::string templ = (ScratchRoot() / "tmp-XXXXXX").string();
    char* made = mkdtemp(templ.data());
    m_path = made ? made : "";
  }
  ~TempDir() {
    std::error_code ec;
    // Make everything writable again first: a test may have taken rights away.
    for (auto it = std::filesystem::recursive_directory_iterator(m_path, ec);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
      std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ec);
    }
    std::filesystem::remove_all(m_path, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return m_path; }
  std::string operator/(const std::string& rel) const { return m_path + "/" + rel; }

 private:
  std::string m_path;
};

inline void WriteText(const std::string& path, const std::string& content) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << content;
}

inline std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace testing_support
