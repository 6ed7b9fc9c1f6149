// CmivoDateGadget (type 8): today's date as text, in the locale's long date
// format or in a date picture the user typed in the design mode ("Date
// format": "dd.MM.yyyy" shows 05.12.2026; an empty picture is the long date
// again). The text is made at every paint; the gadget follows HKLM
// "System\State\DateTime" "Time" as the clock does, so a new day shows by
// itself, and repaints its own rectangle only when the text changed.
//
// Stored after the text style (whose last word is the gadget's sub-version,
// always written as 2): the picture as an archive string, read only from a
// record of sub-version 2 or more.
#pragma once

#include <string>

#include "desktop/status_gadget.h"

class CmivoDateGadget : public CmivoStatusGadget {
 public:
  CmivoDateGadget(mivoCore* core, CmivoDesktopPage* page);

  // The date now, as the picture (or the long date) writes it.
  std::u16string GetText() override;
  void OnActivate() override;
  // The time moved on: a repaint when the date's text changed.
  void OnStateChanged(WPARAM wParam, LPARAM lParam) override;
  // The text options, then "Date format".
  void AddContextMenuItems() override;
  void OnContextMenuCommand(const mivoContextMenuEntry& entry) override;
  std::u16string GetContextMenuItemText(const mivoContextMenuEntry& entry) override;
  void LoadProperties(mivoArchiveReader& in) override;
  void SaveProperties(mivoArchiveWriter& out) override;
  void ExchangeProperties(mivoGadgetProperties& properties) override;
  std::u16string GetDumpImage() override { return {}; }
  const char* GadgetClassName() const override { return "CmivoDateGadget"; }

  const std::u16string& Pattern() const { return m_pattern; }
  void SetPattern(std::u16string pattern);

 protected:
  mivoSkinImage* CurrentImage() override { return nullptr; }

 private:
  std::u16string m_pattern;  // stored; a date picture, empty for the long date
};
