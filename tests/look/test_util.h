// Helpers shared by the look tests: a scratch device folder and hand-made
// archive bytes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "look/archive.h"
#include "platform/fs/device_path.h"
#include "platform/win32/text.h"
#include "tests/support/scratch.h"

namespace looktest {

using Bytes = std::vector<std::uint8_t>;

inline Bytes ReadHostFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

// A fresh device file system in the scratch folder, made the device root for
// the test's lifetime.
class ScratchDevice {
 public:
  ScratchDevice() {
    static int counter = 0;
    m_root = testing_support::ScratchRoot() / ("look-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(m_root);
    std::filesystem::create_directories(m_root / "Program Files" / "mivo");
    fs::SetDeviceRoot(m_root.string());
  }
  ~ScratchDevice() {
    std::error_code ec;
    std::filesystem::remove_all(m_root, ec);
  }
  // Host path of a device path written with "/" ("Program Files/mivo/x").
  std::filesystem::path Host(const std::string& relative) const { return m_root / relative; }
  void Put(const std::string& relative, const Bytes& bytes) const {
    std::filesystem::create_directories(Host(relative).parent_path());
    std::ofstream(Host(relative), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }
  Bytes Get(const std::string& relative) const { return ReadHostFile(Host(relative)); }
  bool Exists(const std::string& relative) const { return std::filesystem::exists(Host(relative)); }

 private:
  std::filesystem::path m_root;
};

inline constexpr char16_t kProgramFolder[] = u"\\Program Files\\mivo\\";

// Little builders for hand-made files.
inline void U32(Bytes& b, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
// A UTF-16 archive string with a one-byte length (below 255 units).
inline void Str(Bytes& b, std::u16string_view s) {
  b.insert(b.end(), {0xFF, 0xFE, 0xFF, static_cast<std::uint8_t>(s.size())});
  for (char16_t c : s) {
    b.push_back(static_cast<std::uint8_t>(c));
    b.push_back(static_cast<std::uint8_t>(c >> 8));
  }
}
// The 8-bit form with a one-byte length.
inline void Str8(Bytes& b, std::string_view s) {
  b.push_back(static_cast<std::uint8_t>(s.size()));
  b.insert(b.end(), s.begin(), s.end());
}

}  // namespace looktest
