// The program's own settings: the values under HKEY_CURRENT_USER
// "Software\mivo\mivo", read from the registry at every use and never cached,
// so a change takes effect at the next use.
//
// mivoSettingsStore holds no state at all: reading an absent value yields the
// default of the table below and writes nothing back. mivoSettings adds the one
// piece of state the accessor has, the wake-up registration made at
// construction when AutoShow is on and removed at destruction.
//
//   value                     key                type      default
//   AutoShow                  ...\Registration   bool      off
//   UseInternalImageViewer    main               bool      off
//   UseFullScreen             main               bool      off
//   AnimationsEnabled         main               bool      on
//   AskBeforeExit             main               bool      on
//   AskBeforeMakeCall         main               bool      on
//   AskBeforeExecuteFile      main               bool      on
//   AskBeforeControlPanel     main               bool      on
//   TapOnContact              main               number    1
//   DesktopsCount             main               number    4
//   FinishInstallation        main               bool      on
//   ThemeName                 main               text(50)  "Black"
//   SkinName                  main               text(50)  ""
//   WallpaperTheme            main               text(50)  "Default"
//   Language                  main               text(50)  "English"
//   UserDesktopWallpaperN     main               bool      off     (N from 1; "_horz" in landscape)
//   DesktopIconN              ...\DesktopIcons   text(260) ""      (N from 1; "_horz" in landscape)
//
// A value of the wrong type, or a text longer than its buffer, reads as missing.
#pragma once

#include <string>
#include <string_view>

#include "look/look_settings.h"
#include "platform/win32/types.h"

// Where the settings live.
inline constexpr char16_t kSettingsKey[] = u"Software\\mivo\\mivo";
inline constexpr char16_t kRegistrationKey[] = u"Software\\mivo\\mivo\\Registration";
inline constexpr char16_t kDesktopIconsKey[] = u"Software\\mivo\\mivo\\DesktopIcons";

// The application name under which the wake-up start is registered: the
// platform signals this named event when the device wakes up.
inline constexpr char16_t kActivationEventName[] = u"Vastelo_mivo_onActivateApplication";
inline constexpr char16_t kActivationEventApplication[] =
    u"\\\\.\\Notifications\\NamedEvents\\Vastelo_mivo_onActivateApplication";

class mivoSettingsStore {
 public:
  // The platform call that registers (event 11) or removes (event 0) the
  // wake-up start; tests put a recorder in its place.
  using RunAtEventFn = BOOL (*)(LPCWSTR application, LONG event);

  mivoSettingsStore();
  virtual ~mivoSettingsStore() = default;
  mivoSettingsStore(const mivoSettingsStore&) = delete;
  mivoSettingsStore& operator=(const mivoSettingsStore&) = delete;

  // ---- On/off values ----
  bool GetAutoShow();
  // Registers (on) or removes (off) the wake-up start first, then writes.
  HRESULT SetAutoShow(bool on);
  bool GetUseInternalImageViewer();
  HRESULT SetUseInternalImageViewer(bool on);
  bool GetUseFullScreen();
  HRESULT SetUseFullScreen(bool on);
  bool GetAnimationsEnabled();
  HRESULT SetAnimationsEnabled(bool on);
  bool GetAskBeforeExit();
  HRESULT SetAskBeforeExit(bool on);
  bool GetAskBeforeMakeCall();
  HRESULT SetAskBeforeMakeCall(bool on);
  bool GetAskBeforeExecuteFile();
  HRESULT SetAskBeforeExecuteFile(bool on);
  bool GetAskBeforeControlPanel();
  HRESULT SetAskBeforeControlPanel(bool on);
  bool GetFinishInstallation();
  HRESULT SetFinishInstallation(bool on);

  // ---- Numbers, returned exactly as stored ----
  DWORD GetTapOnContact();
  HRESULT SetTapOnContact(DWORD value);
  DWORD GetDesktopsCount();
  HRESULT SetDesktopsCount(DWORD value);

  // ---- Texts, written unchanged ----
  std::u16string GetThemeName();
  HRESULT SetThemeName(std::u16string_view name);
  std::u16string GetSkinName();
  HRESULT SetSkinName(std::u16string_view name);
  std::u16string GetWallpaperTheme();
  HRESULT SetWallpaperTheme(std::u16string_view name);
  std::u16string GetLanguage();
  HRESULT SetLanguage(std::u16string_view name);

  // ---- Per desktop (counted from 1) and orientation ----
  bool GetUserDesktopWallpaper(int desktop, bool landscape);
  HRESULT SetUserDesktopWallpaper(int desktop, bool landscape, bool on);
  std::u16string GetDesktopIcon(int desktop, bool landscape);
  HRESULT SetDesktopIcon(int desktop, bool landscape, std::u16string_view icon);

  // The value name of a desktop's setting: the pattern's "%d" is the desktop
  // and "%s" is "_horz" in landscape, "" in portrait.
  static std::u16string DesktopValueName(std::u16string_view prefix, int desktop, bool landscape);

  // The look reads and writes its part of the settings through this view.
  mivoLookSettings& LookSettings() { return m_lookView; }

  void SetRunAtEventFunction(RunAtEventFn fn);

 protected:
  // Registers the wake-up start (on) or removes it (off).
  void RegisterWakeUp(bool on);

 private:
  // The look's view of the store; its setters drop the registry's result.
  class LookView : public mivoLookSettings {
   public:
    explicit LookView(mivoSettingsStore& store) : m_store(store) {}
    std::u16string GetThemeName() override { return m_store.GetThemeName(); }
    void SetThemeName(std::u16string_view name) override { m_store.SetThemeName(name); }
    std::u16string GetWallpaperTheme() override { return m_store.GetWallpaperTheme(); }
    void SetWallpaperTheme(std::u16string_view name) override { m_store.SetWallpaperTheme(name); }
    std::u16string GetSkinName() override { return m_store.GetSkinName(); }
    void SetSkinName(std::u16string_view name) override { m_store.SetSkinName(name); }
    bool GetFinishInstallation() override { return m_store.GetFinishInstallation(); }
    void SetFinishInstallation(bool on) override { m_store.SetFinishInstallation(on); }
    bool GetUserDesktopWallpaper(int desktop, bool landscape) override {
      return m_store.GetUserDesktopWallpaper(desktop, landscape);
    }
    void SetUserDesktopWallpaper(int desktop, bool landscape, bool on) override {
      m_store.SetUserDesktopWallpaper(desktop, landscape, on);
    }

   private:
    mivoSettingsStore& m_store;
  };

  RunAtEventFn m_runAtEvent;  // CeRunAppAtEvent unless a test replaced it
  LookView m_lookView{*this};
};

// The core's settings accessor: the store plus the wake-up registration,
// renewed at construction when AutoShow is on (so it exists for every run)
// and removed at destruction.
class mivoSettings : public mivoSettingsStore {
 public:
  explicit mivoSettings(RunAtEventFn runAtEvent = nullptr);
  ~mivoSettings() override;
};
