#include "core/settings.h"

#include "platform/registry/registry.h"
#include "platform/shell/kernel.h"
#include "platform/win32/file_defs.h"
#include "platform/win32/registry_defs.h"
#include "platform/win32/text.h"

namespace {

// Buffer lengths of the texts, in characters with the terminator.
constexpr UINT kNameChars = 50;
constexpr UINT kIconChars = 260;

bool ReadDword(LPCWSTR key, LPCWSTR name, DWORD* value) {
  DWORD v = 0;
  if (RegistryGetDWORD(HKEY_CURRENT_USER, key, name, &v) != S_OK) return false;
  *value = v;
  return true;
}

// Off unless a non-zero DWORD is stored.
bool ReadBoolDefaultOff(LPCWSTR key, LPCWSTR name) {
  DWORD v = 0;
  ReadDword(key, name, &v);
  return v != 0;
}

// On unless a zero DWORD is stored.
bool ReadBoolDefaultOn(LPCWSTR key, LPCWSTR name) {
  DWORD v = 0;
  if (!ReadDword(key, name, &v)) return true;
  return v != 0;
}

DWORD ReadNumber(LPCWSTR key, LPCWSTR name, DWORD fallback) {
  DWORD v = 0;
  return ReadDword(key, name, &v) ? v : fallback;
}

std::u16string ReadText(LPCWSTR key, LPCWSTR name, UINT chars, std::u16string_view fallback) {
  std::u16string buffer(chars, u'\0');
  if (RegistryGetString(HKEY_CURRENT_USER, key, name, buffer.data(), chars) != S_OK) {
    return std::u16string(fallback);
  }
  buffer.resize(std::char_traits<char16_t>::length(buffer.c_str()));
  return buffer;
}

// The look's names (a skin, a colour theme, a wallpaper theme, a language)
// become names of files and folders in the program folder: one with a
// separator, ".." or ":" would lead out of its folder (a SkinName of "..\X"
// had the exit write "\Program Files\mivo\X.msk"), so it counts as missing.
std::u16string ReadLookName(LPCWSTR name, std::u16string_view fallback) {
  const std::u16string value = ReadText(kSettingsKey, name, kNameChars, fallback);
  bool plain = value.find_first_of(u"\\/:") == std::u16string::npos && value.find(u"..") == std::u16string::npos;
  for (char16_t c : value) plain = plain && c >= 0x20;
  return plain ? value : std::u16string(fallback);
}

HRESULT WriteBool(LPCWSTR key, LPCWSTR name, bool on) {
  return RegistrySetDWORD(HKEY_CURRENT_USER, key, name, on ? 1 : 0);
}

HRESULT WriteText(LPCWSTR key, LPCWSTR name, std::u16string_view text) {
  const std::u16string copy(text);
  return RegistrySetString(HKEY_CURRENT_USER, key, name, copy.c_str());
}

}  // namespace

mivoSettingsStore::mivoSettingsStore() : m_runAtEvent(&::CeRunAppAtEvent) {}

void mivoSettingsStore::SetRunAtEventFunction(RunAtEventFn fn) { m_runAtEvent = fn ? fn : &::CeRunAppAtEvent; }

void mivoSettingsStore::RegisterWakeUp(bool on) {
  m_runAtEvent(kActivationEventApplication, on ? NOTIFICATION_EVENT_WAKEUP : NOTIFICATION_EVENT_NONE);
}

std::u16string mivoSettingsStore::DesktopValueName(std::u16string_view prefix, int desktop, bool landscape) {
  std::u16string name(prefix);
  name += text::Format(u"%d%s", desktop, landscape ? u"_horz" : u"");
  return name;
}

// ---- On/off values ----

bool mivoSettingsStore::GetAutoShow() { return ReadBoolDefaultOff(kRegistrationKey, u"AutoShow"); }
HRESULT mivoSettingsStore::SetAutoShow(bool on) {
  // The registration goes first: switching off must never leave a wake-up
  // start behind a value that already says off.
  RegisterWakeUp(on);
  return WriteBool(kRegistrationKey, u"AutoShow", on);
}

bool mivoSettingsStore::GetUseInternalImageViewer() {
  return ReadBoolDefaultOff(kSettingsKey, u"UseInternalImageViewer");
}
HRESULT mivoSettingsStore::SetUseInternalImageViewer(bool on) {
  return WriteBool(kSettingsKey, u"UseInternalImageViewer", on);
}

bool mivoSettingsStore::GetUseFullScreen() { return ReadBoolDefaultOff(kSettingsKey, u"UseFullScreen"); }
HRESULT mivoSettingsStore::SetUseFullScreen(bool on) { return WriteBool(kSettingsKey, u"UseFullScreen", on); }

bool mivoSettingsStore::GetAnimationsEnabled() { return ReadBoolDefaultOn(kSettingsKey, u"AnimationsEnabled"); }
HRESULT mivoSettingsStore::SetAnimationsEnabled(bool on) {
  return WriteBool(kSettingsKey, u"AnimationsEnabled", on);
}

bool mivoSettingsStore::GetAskBeforeExit() { return ReadBoolDefaultOn(kSettingsKey, u"AskBeforeExit"); }
HRESULT mivoSettingsStore::SetAskBeforeExit(bool on) { return WriteBool(kSettingsKey, u"AskBeforeExit", on); }

bool mivoSettingsStore::GetAskBeforeMakeCall() { return ReadBoolDefaultOn(kSettingsKey, u"AskBeforeMakeCall"); }
HRESULT mivoSettingsStore::SetAskBeforeMakeCall(bool on) {
  return WriteBool(kSettingsKey, u"AskBeforeMakeCall", on);
}

bool mivoSettingsStore::GetAskBeforeExecuteFile() {
  return ReadBoolDefaultOn(kSettingsKey, u"AskBeforeExecuteFile");
}
HRESULT mivoSettingsStore::SetAskBeforeExecuteFile(bool on) {
  return WriteBool(kSettingsKey, u"AskBeforeExecuteFile", on);
}

bool mivoSettingsStore::GetAskBeforeControlPanel() {
  return ReadBoolDefaultOn(kSettingsKey, u"AskBeforeControlPanel");
}
HRESULT mivoSettingsStore::SetAskBeforeControlPanel(bool on) {
  return WriteBool(kSettingsKey, u"AskBeforeControlPanel", on);
}

bool mivoSettingsStore::GetFinishInstallation() { return ReadBoolDefaultOn(kSettingsKey, u"FinishInstallation"); }
HRESULT mivoSettingsStore::SetFinishInstallation(bool on) {
  return WriteBool(kSettingsKey, u"FinishInstallation", on);
}

// ---- Numbers ----

DWORD mivoSettingsStore::GetTapOnContact() { return ReadNumber(kSettingsKey, u"TapOnContact", 1); }
HRESULT mivoSettingsStore::SetTapOnContact(DWORD value) {
  return RegistrySetDWORD(HKEY_CURRENT_USER, kSettingsKey, u"TapOnContact", value);
}

DWORD mivoSettingsStore::GetDesktopsCount() { return ReadNumber(kSettingsKey, u"DesktopsCount", 4); }
HRESULT mivoSettingsStore::SetDesktopsCount(DWORD value) {
  return RegistrySetDWORD(HKEY_CURRENT_USER, kSettingsKey, u"DesktopsCount", value);
}

// ---- Texts ----

std::u16string mivoSettingsStore::GetThemeName() { return ReadLookName(u"ThemeName", u"Black"); }
HRESULT mivoSettingsStore::SetThemeName(std::u16string_view name) {
  return WriteText(kSettingsKey, u"ThemeName", name);
}

std::u16string mivoSettingsStore::GetSkinName() { return ReadLookName(u"SkinName", u""); }
HRESULT mivoSettingsStore::SetSkinName(std::u16string_view name) { return WriteText(kSettingsKey, u"SkinName", name); }

std::u16string mivoSettingsStore::GetWallpaperTheme() {
  return ReadLookName(u"WallpaperTheme", u"Default");
}
HRESULT mivoSettingsStore::SetWallpaperTheme(std::u16string_view name) {
  return WriteText(kSettingsKey, u"WallpaperTheme", name);
}

std::u16string mivoSettingsStore::GetLanguage() { return ReadLookName(u"Language", u"English"); }
HRESULT mivoSettingsStore::SetLanguage(std::u16string_view name) { return WriteText(kSettingsKey, u"Language", name); }

// ---- Per desktop ----

bool mivoSettingsStore::GetUserDesktopWallpaper(int desktop, bool landscape) {
  const std::u16string name = DesktopValueName(u"UserDesktopWallpaper", desktop, landscape);
  return ReadBoolDefaultOff(kSettingsKey, name.c_str());
}
HRESULT mivoSettingsStore::SetUserDesktopWallpaper(int desktop, bool landscape, bool on) {
  const std::u16string name = DesktopValueName(u"UserDesktopWallpaper", desktop, landscape);
  return WriteBool(kSettingsKey, name.c_str(), on);
}

std::u16string mivoSettingsStore::GetDesktopIcon(int desktop, bool landscape) {
  const std::u16string name = DesktopValueName(u"DesktopIcon", desktop, landscape);
  return ReadText(kDesktopIconsKey, name.c_str(), kIconChars, u"");
}
HRESULT mivoSettingsStore::SetDesktopIcon(int desktop, bool landscape, std::u16string_view icon) {
  const std::u16string name = DesktopValueName(u"DesktopIcon", desktop, landscape);
  return WriteText(kDesktopIconsKey, name.c_str(), icon);
}

// ---- The accessor ----

mivoSettings::mivoSettings(RunAtEventFn runAtEvent) {
  SetRunAtEventFunction(runAtEvent);
  if (GetAutoShow()) RegisterWakeUp(true);
}

mivoSettings::~mivoSettings() { RegisterWakeUp(false); }
