// The core the layout commands give the gadgets they read and write: no
// window, no screen, no look; an actions store for the shortcuts' actions.
// Gadgets made with it only store and describe their fields.
#pragma once

#include <memory>
#include <string>

#include "core/core.h"

class mivoSettings;

namespace pack {

class LayoutCore : public mivoCore {
 public:
  LayoutCore();
  ~LayoutCore() override;

  const std::u16string& GetProgramFolder() override { return m_folder; }
  bool IsPortrait() const override { return true; }
  void SetScreenMode(int) override {}
  void RequestExit() override {}
  void PostSoftKeys(const char16_t*, const char16_t*) override {}
  void MinimizeApplication() override {}
  CFrameWnd* GetMainFrame() const override { return nullptr; }

  mivoSettings& Settings() override;
  mivoAppearance* GetAppearance() override { return nullptr; }
  mivoActions* GetActions() override { return m_actions.get(); }
  void RunAction(mivoAction*) override {}

  POApplication* GetOutlookStore() override { return nullptr; }
  mivoSMSStore* GetSMSStore() override { return nullptr; }
  mivoCallLog* GetCallLog() override { return nullptr; }
  mivoControlPanelCatalogue* GetControlPanelCatalogue() override { return nullptr; }
  mivoConnectionManager* GetConnectionManager() override { return nullptr; }
  mivoPluginRegistry* GetPluginRegistry() override { return nullptr; }

  CmivoPageWnd* GetDesktopPage() const override { return nullptr; }
  void ShowPage(CmivoPageWnd*) override {}
  void PopPage() override {}
  CmivoPageWnd* TopPage() const override { return nullptr; }
  CmivoPageWnd* GetPage(int) override { return nullptr; }
  CmivoPageWnd* GetNamedPage(const std::string&, const std::function<CmivoPageWnd*(mivoCore*)>&) override {
    return nullptr;
  }
  void ForgetPage(CmivoPageWnd*) override {}
  void DestroyPage(CmivoPageWnd* page) override;
  // Nothing waits for a later turn of a loop here: the work runs at once.
  void DeleteLater(std::function<void()> deleter) override {
    if (deleter) deleter();
  }
  void RunDeferredDeletes() override {}

  int RunMessageBox(const std::u16string&, const std::u16string&, bool) override { return 0; }
  bool EnterText(const std::u16string&, const std::u16string&, std::u16string*, bool) override { return false; }
  void ShowPleaseWait(const std::u16string&) override {}
  void HidePleaseWait() override {}
  void EndPleaseWait() override {}
  mivoFileOperationsUI& FileOperationsUI() override;

  DWORD GetBatteryFlags() const override { return 0; }
  DWORD GetBatteryLevel() const override { return 0; }
  DWORD GetSignalStrength() const override { return 0; }

 private:
  std::u16string m_folder = u"\\";
  std::unique_ptr<mivoActions> m_actions;
  std::unique_ptr<mivoSettings> m_settings;        // made on first use
  std::unique_ptr<mivoFileOperationsUI> m_fileUI;  // made on first use
};

}  // namespace pack
