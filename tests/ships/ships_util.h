// What the tests of the shipped files share: where the build put them, a
// scratch device, package contents and contrast ratios.
#pragma once

#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "look/package.h"
#include "platform/fs/device_path.h"
#include "platform/win32/text.h"
#include "platform/win32/types.h"
#include "tests/support/scratch.h"
#include "tests/tools/run_tool.h"

namespace ships {

namespace stdfs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

inline constexpr char16_t kProgramFolder[] = u"\\Program Files\\mivo\\";

// The build's data folder: what a new device is provisioned from.
inline stdfs::path DataDir() { return stdfs::path(MIVO_BINARY_DIR) / "data"; }

inline std::string SkinName(int scale) { return scale == 2 ? "Clear Horizon VGA" : "Clear Horizon"; }
inline stdfs::path SkinPackage(int scale) { return DataDir() / "skins" / (SkinName(scale) + ".minst"); }

inline Bytes ReadHost(const stdfs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

// A fresh folder in the scratch folder for one test; with `device` it is
// also the device's file system root for the test's lifetime.
class Scratch {
 public:
  explicit Scratch(const std::string& name, bool device = true) {
    static int counter = 0;
    m_root = testing_support::ScratchRoot() /
             ("ships-" + name + "-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    stdfs::remove_all(m_root);
    stdfs::create_directories(m_root / "Program Files" / "mivo");
    if (device) fs::SetDeviceRoot(m_root.string());
  }
  ~Scratch() {
    std::error_code ec;
    stdfs::remove_all(m_root, ec);
  }
  const stdfs::path& Root() const { return m_root; }
  stdfs::path Host(const std::string& relative) const { return m_root / relative; }
  void Put(const std::string& relative, const Bytes& bytes) const {
    stdfs::create_directories(Host(relative).parent_path());
    std::ofstream(Host(relative), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }

 private:
  stdfs::path m_root;
};

// Every file of a package by its path inside it ("\" separated).
class PackageFiles : public mivoPackageVisitor {
 public:
  bool OnFolder(std::u16string_view) override { return true; }
  bool OnFile(std::u16string_view path, std::span<const std::uint8_t> content) override {
    files[text::ToUtf8(path)] = Bytes(content.begin(), content.end());
    return true;
  }
  std::map<std::string, Bytes> files;
};

// ---- Contrast as in WCAG 2: relative luminance of sRGB colours ----------------------------

inline double Channel(int c) {
  const double v = c / 255.0;
  return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}
inline double Luminance(int r, int g, int b) { return 0.2126 * Channel(r) + 0.7152 * Channel(g) + 0.0722 * Channel(b); }
inline double Luminance(COLORREF c) { return Luminance(GetRValue(c), GetGValue(c), GetBValue(c)); }
inline double Contrast(COLORREF a, COLORREF b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace ships
