// The languages page (catalogue page 35): the language files of the program
// folder, each shown by its display name. Tapping one asks whether to change
// to it; the change needs a restart, so mivo ends after storing the choice.
#pragma once

#include <string>

#include "ui/adv_list_box_items.h"
#include "ui/adv_list_box_page.h"

class CmivoAdvLanguagesPage : public CmivoAdvListBoxPage {
 public:
  explicit CmivoAdvLanguagesPage(mivoCore* core);

  std::u16string GetTitle(int param, int extra) override;  // "Language"
  // The first showing lists Languages\*.mlg, then "Total languages: %d".
  void OnPageShown() override;
  const char* PageClassName() const override { return "CmivoAdvLanguagesPage"; }

 private:
  bool m_filled = false;
};

class CmivoAdvListBoxLanguageItem : public CmivoAdvListBoxTextWithHelp {
 public:
  // Reads the file's display name (the file's name when it has none).
  CmivoAdvListBoxLanguageItem(mivoCore* core, const std::u16string& name);

  const std::u16string& Name() const { return m_name; }
  // Outside the help button: the restart question, then the choice is
  // stored and mivo ends.
  bool OnTap(UINT flags, int x, int y) override;

 private:
  std::u16string m_name;  // the file's name without extension, the setting's value
};
