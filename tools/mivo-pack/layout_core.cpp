#include "tools/mivo-pack/layout_core.h"

#include "actions/actions.h"
#include "core/settings.h"
#include "look/file_operations.h"
#include "ui/page_wnd.h"

namespace pack {

namespace {

// File operations that ask nothing and say nothing.
class SilentFileOperationsUI : public mivoFileOperationsUI {
 public:
  void ShowSystemError(int) override {}
  bool EnterText(std::u16string_view, std::u16string_view, std::u16string*) override { return false; }
};

// No wake-up registration is made for a tool.
BOOL NoRunAtEvent(LPCWSTR, LONG) { return TRUE; }

}  // namespace

LayoutCore::LayoutCore() : m_actions(std::make_unique<mivoActions>(this)) {}

LayoutCore::~LayoutCore() = default;

mivoSettings& LayoutCore::Settings() {
  if (!m_settings) m_settings = std::make_unique<mivoSettings>(&NoRunAtEvent);
  return *m_settings;
}

mivoFileOperationsUI& LayoutCore::FileOperationsUI() {
  if (!m_fileUI) m_fileUI = std::make_unique<SilentFileOperationsUI>();
  return *m_fileUI;
}

void LayoutCore::DestroyPage(CmivoPageWnd* page) { delete page; }

}  // namespace pack
