// The rows of the program's settings page: each shows one setting as a
// one-line label with a help text behind its side button, and changes the
// setting when tapped (written at once; some take effect at once).
#pragma once

#include <string>

#include "core/settings.h"
#include "ui/adv_list_box_items.h"

// A row of the settings page: the label comes from the setting, a tap
// (outside the help button) changes it.
class CmivoAdvSettingsItem : public CmivoAdvListBoxTextWithHelp {
 public:
  CmivoAdvSettingsItem(mivoCore* core, int helpId);

  // The label for the setting's stored value.
  virtual std::u16string Label() = 0;
  // Changes the setting (what a tap does).
  virtual void Change() = 0;
  // Reads the setting again into the label.
  void Refresh() { SetTitle(Label()); }

  // The base first (the help button); otherwise the change and the new label.
  bool OnTap(UINT flags, int x, int y) override;

 protected:
  static std::u16string OnOff(bool on);
};

// An on/off setting of the store: a tap writes the opposite of what is stored.
class CmivoAdvSettingsToggleItem : public CmivoAdvSettingsItem {
 public:
  using Getter = bool (mivoSettingsStore::*)();
  using Setter = HRESULT (mivoSettingsStore::*)(bool);

  CmivoAdvSettingsToggleItem(mivoCore* core, int labelId, int helpId, Getter get, Setter set);

  std::u16string Label() override;
  void Change() override;

 protected:
  // Runs after the new value was written (the effects that come at once).
  virtual void Applied(bool on) {}

 private:
  int m_labelId;  // "...: %s"
  Getter m_get;
  Setter m_set;
};

// 1: "Language", which opens the languages page.
class CmivoAdvSettingsLanguageItem : public CmivoAdvSettingsItem {
 public:
  explicit CmivoAdvSettingsLanguageItem(mivoCore* core);
  std::u16string Label() override;
  void Change() override;
};

// 2: "Auto show" (the store registers or removes the wake-up start as it writes).
class CmivoAdvSettingsAutoShowItem : public CmivoAdvSettingsToggleItem {
 public:
  explicit CmivoAdvSettingsAutoShowItem(mivoCore* core);
};

// 3: "Internal image viewer".
class CmivoAdvSettingsInternalImageViewerItem : public CmivoAdvSettingsToggleItem {
 public:
  explicit CmivoAdvSettingsInternalImageViewerItem(mivoCore* core);
};

// 4: "Full screen", which lays the main frame out anew at once.
class CmivoAdvSettingsFullScreenItem : public CmivoAdvSettingsToggleItem {
 public:
  explicit CmivoAdvSettingsFullScreenItem(mivoCore* core);

 protected:
  void Applied(bool on) override;
};

// 5: "Animations" (the next page switch follows it).
class CmivoAdvSettingsAnimationsItem : public CmivoAdvSettingsToggleItem {
 public:
  explicit CmivoAdvSettingsAnimationsItem(mivoCore* core);
};

// 6: "Tap on contact": 1 smart call, 2 show contact info; a tap alternates
// them and leaves any other stored number alone.
class CmivoAdvSettingsTapOnContactItem : public CmivoAdvSettingsItem {
 public:
  explicit CmivoAdvSettingsTapOnContactItem(mivoCore* core);
  std::u16string Label() override;
  void Change() override;
};

// 7: "Desktops count": counts up, 32 wraps to 1. A stored number outside
// 1-32 counts as the 4 desktops the desktop shows for it.
class CmivoAdvSettingsNumberOfDesktopsItem : public CmivoAdvSettingsItem {
 public:
  explicit CmivoAdvSettingsNumberOfDesktopsItem(mivoCore* core);
  std::u16string Label() override;
  void Change() override;
  // The number of desktops a stored value means.
  static DWORD Effective(DWORD stored);
};

// 8 to 11: the confirmation questions.
class CmivoAdvSettingsAskBeforeExitItem : public CmivoAdvSettingsToggleItem {
 public:
  explicit CmivoAdvSettingsAskBeforeExitItem(mivoCore* core);
};
class CmivoAdvSettingsAskBeforeMakeCallItem : public CmivoAdvSettingsToggleItem {
 public:
  explicit CmivoAdvSettingsAskBeforeMakeCallItem(mivoCore* core);
};
class CmivoAdvSettingsAskBeforeExecuteFileItem : public CmivoAdvSettingsToggleItem {
 public:
  explicit CmivoAdvSettingsAskBeforeExecuteFileItem(mivoCore* core);
};
class CmivoAdvSettingsAskBeforeControlPanelItem : public CmivoAdvSettingsToggleItem {
 public:
  explicit CmivoAdvSettingsAskBeforeControlPanelItem(mivoCore* core);
};

// 12: "Skin settings", which opens the skins settings page (colour themes,
// skin images, wallpaper themes).
class CmivoAdvSettingsSkinsItem : public CmivoAdvSettingsItem {
 public:
  explicit CmivoAdvSettingsSkinsItem(mivoCore* core);
  std::u16string Label() override;
  void Change() override;
};
