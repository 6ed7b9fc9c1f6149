// CmivoAlarmGadget (type 14): the time of the next alarm under an alarm
// clock, which is greyed when no alarm is set. It follows HKCU
// "System\State\Shell\Alarms" "Next", an 8-byte local time (FILETIME); a
// missing, short or otherwise unreadable value means no alarm: no text and
// the greyed picture. Both taps open the clock's alarms (control-panel
// applet 16 at its second tab). The design mode chooses the small or the
// large picture; the choice is stored as one byte after the text style.
#pragma once

#include <string>

#include "desktop/status_gadget.h"

class CmivoAlarmGadget : public CmivoStatusGadget {
 public:
  CmivoAlarmGadget(mivoCore* core, CmivoDesktopPage* page);

  void OnActivate() override;
  // "%H:%M" of the next alarm, empty when none is set.
  void OnStateChanged(WPARAM wParam, LPARAM lParam) override;
  void OnIconTap(POINT point) override;
  void OnTextTap(POINT point) override { OnIconTap(point); }
  // "Small alarm icon" or "Large alarm icon" first, then the text options.
  void AddContextMenuItems() override;
  void OnContextMenuCommand(const mivoContextMenuEntry& entry) override;
  std::u16string GetContextMenuItemText(const mivoContextMenuEntry& entry) override;
  void LoadProperties(mivoArchiveReader& in) override;
  void SaveProperties(mivoArchiveWriter& out) override;
  void ExchangeProperties(mivoGadgetProperties& properties) override;
  const char* GadgetClassName() const override { return "CmivoAlarmGadget"; }

  bool SmallIcon() const { return m_smallIcon; }
  // The text of an alarm value as the registry holds it: "%H:%M" of exactly
  // eight bytes of a local FILETIME, empty for anything else.
  static std::u16string AlarmText(const std::string& bytes);

 protected:
  // Set or not (the text), small or large (the flag).
  mivoSkinImage* CurrentImage() override;

 private:
  bool m_smallIcon = false;  // stored; false: the large picture
};
