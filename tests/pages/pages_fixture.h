// The content pages with the whole program in this process: the harness of
// the list tests, the device's host folder, and waiting for what other
// threads (folder change notifications) deliver.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/fs/device_path.h"
#include "tests/lists/list_fixture.h"

namespace pagestest {

using testing_support::Json;

inline std::vector<std::string> RowTexts(const Json& d) {
  std::vector<std::string> out;
  for (const Json& r : d["top"]["rows"].Items()) out.push_back(r["text"].AsString());
  return out;
}

class PagesTest : public ::testing::Test {
 protected:
  void SetUp() override { StartAt(240, 320); }

  void StartAt(int width, int height) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    m_ui.reset();
    m_ui = std::make_unique<liststest::ListHarness>(std::string("pages_") + info->name(), width, height);
  }

  mivoAppCore& Core() { return m_ui->Core(); }
  Json Dump() { return m_ui->Dump(); }
  // Shows catalogue page `id`, or goes back from the top page, and lets the slide end.
  Json Show(int id) {
    Core().ShowPageById(id);
    m_ui->Wait(600);
    return Dump();
  }
  void Back() {
    Core().PopPage();
    m_ui->Wait(600);
  }
  std::string TopClass() { return Core().TopPage() ? Core().TopPage()->PageClassName() : ""; }

  // The host folder of a device path.
  static std::filesystem::path Host(std::u16string_view devicePath) {
    std::string host;
    fs::ToHostPath(devicePath, &host);
    return host;
  }
  static void WriteHostFile(const std::filesystem::path& path, const std::string& bytes = "x") {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
  }

  // Pumps (with a little real time for the notification thread) until the
  // condition holds; false after two seconds.
  bool WaitFor(const std::function<bool()>& condition) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (std::chrono::steady_clock::now() < end) {
      m_ui->Pump();
      if (condition()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    m_ui->Pump();
    return condition();
  }

  // Pumps for a while of real time (notifications on their way arrive).
  void Settle(int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
      m_ui->Pump();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }

  // Taps the dumped row with this text (left of its centre, clear of its side button).
  void TapRow(const std::string& text) { uitest::TapText(*m_ui, "rows", text); }
  // Selects the row with this text with the pad and presses Enter (it may be out of view).
  void ActivateRow(const std::string& text) {
    for (int guard = 0; guard < 60; ++guard) {
      const Json d = Dump();
      int selected = -1, wanted = -1;
      for (std::size_t i = 0; i < d["top"]["rows"].size(); ++i) {
        if (d["top"]["rows"][i]["selected"].AsBool()) selected = static_cast<int>(i);
        if (wanted < 0 && d["top"]["rows"][i]["text"].AsString() == text) wanted = static_cast<int>(i);
      }
      if (wanted < 0) break;
      if (wanted == selected) {
        m_ui->Key(VK_RETURN);
        m_ui->Wait(600);
        return;
      }
      m_ui->Key(selected < wanted ? VK_DOWN : VK_UP);
    }
    ADD_FAILURE() << "no row " << text;
  }
  // Holds the dumped row with this text.
  void HoldRow(const std::string& text) {
    const Json d = Dump();
    for (const Json& r : d["top"]["rows"].Items()) {
      if (r["text"].AsString() != text) continue;
      m_ui->Hold((r["rect"][0].AsInt() + r["rect"][2].AsInt()) / 3, (r["rect"][1].AsInt() + r["rect"][3].AsInt()) / 2);
      m_ui->Wait(600);
      return;
    }
    ADD_FAILURE() << "no row " << text;
  }

  std::unique_ptr<liststest::ListHarness> m_ui;
};

}  // namespace pagestest
