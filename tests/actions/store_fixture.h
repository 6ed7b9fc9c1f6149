// An action store without a program around it: a device root in a fresh
// scratch folder, the store's files in its program folder.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "actions/action_kinds.h"
#include "actions/actions.h"
#include "platform/fs/device_path.h"
#include "platform/fs/file_io.h"
#include "platform/fs/files.h"
#include "platform/win32/text.h"
#include "tests/support/scratch.h"

namespace actiontest {

inline std::filesystem::path FreshFolder(const std::string& name) {
  auto dir = testing_support::FreshScratchFolder("actions-" + name);
  std::error_code ec;
  std::filesystem::create_directories(dir / "Program Files" / "mivo", ec);
  return dir;
}

class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    m_root = FreshFolder(std::string(info->test_suite_name()) + "." + info->name());
    fs::SetDeviceRoot(m_root.string());
  }

  // A store reading and writing "\Program Files\mivo\".
  static std::unique_ptr<mivoActions> NewStore() {
    auto store = std::make_unique<mivoActions>(nullptr);
    store->SetDataFolder(u"\\Program Files\\mivo\\");
    return store;
  }

  std::vector<std::uint8_t> ReadDeviceFile(std::u16string_view path) {
    std::vector<std::uint8_t> bytes;
    fs::ReadFile(path, &bytes);
    return bytes;
  }
  void WriteDeviceFile(std::u16string_view path, const std::vector<std::uint8_t>& bytes) {
    ASSERT_TRUE(fs::WriteFileAtomic(path, bytes));
  }
  bool DeviceFileExists(std::u16string_view path) {
    return GetFileAttributesW(std::u16string(path).c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  std::filesystem::path m_root;
};

inline constexpr char16_t kHistoryPath[] = u"\\Program Files\\mivo\\mivo_ah.dat";
inline constexpr char16_t kFavoritesPath[] = u"\\Program Files\\mivo\\mivo_fav.dat";

// The ranking as "title:count" texts, most used first.
inline std::vector<std::string> Ranking(mivoActions& store) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < store.History().Count(); ++i) {
    const mivoHistoryEntry* e = store.History().Entry(i);
    out.push_back(text::ToUtf8(e->Action()->IdentityKey()) + ":" + std::to_string(e->Count()));
  }
  return out;
}

}  // namespace actiontest
