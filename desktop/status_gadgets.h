// The status gadgets that follow one value of the device each and show it
// as a short text with a picture: the battery, the operator's name, the
// signal, the missed calls, the unread SMS, MMS and e-mail, the active tasks
// and the joined Bluetooth devices. They are driven by the value's change
// notifications; only the battery also polls (its percentage, every minute).
//
//   type  class                      value                                         text      taps (icon / text)
//   2     CmivoBatteryInfo           HKLM System\State\Battery Main + power status  87%, ??%  main menu
//   3     CmivoGSMNetwork            HKLM System\State\Phone Current Operator Name  the name  main menu
//   7     CmivoSignalStrengthGadget  HKLM System\State\Phone Signal Strength Raw    80%       main menu
//   4     CmivoMissedCallsEvent      HKCU System\State\Phone Missed Call Count      3         phone / call log
//   5     CmivoUnreadSMSEvent        HKCU ...\Messages\SMS\Unread Count             1         composer / message
//   13    CmivoUnreadMMSEvent        HKCU ...\Messages\MMS\Unread Count             0         nothing
//   16    CmivoUnreadEmailEvent      HKCU ...\Messages\TotalEmail\Unread Count      0         messaging
//   22    CmivoTasksGadget           HKCU System\State\Tasks Active                 2         tasks list
//   17    CmivoBluetoothGadget       HKLM System\State\Connections\Bluetooth Count  0         main menu
#pragma once

#include <cstdint>

#include "desktop/status_gadget.h"

class CmivoBatteryInfo : public CmivoStatusGadget {
 public:
  CmivoBatteryInfo(mivoCore* core, CmivoDesktopPage* page);

  // Follows "Main" (the charging image at once), polls the percentage every minute.
  void OnActivate() override;
  // The battery flags from "Main"; the percentage is read again too, so a
  // new level shows with the notification that announced it.
  void OnStateChanged(WPARAM wParam, LPARAM lParam) override;
  // The percentage of the power status: "87%", "??%" when undetermined.
  void OnTimer(bool first) override;
  const char* GadgetClassName() const override { return "CmivoBatteryInfo"; }

  // The low word of "Main" as last read.
  DWORD BatteryFlags() const { return m_batteryFlags; }

 protected:
  // "gadget_battery_ac" while charging (flag 2), else "gadget_battery".
  mivoSkinImage* CurrentImage() override;

 private:
  DWORD m_batteryFlags = 0;  // the low 16 bits of the last read battery state word
};

class CmivoGSMNetwork : public CmivoStatusGadget {
 public:
  CmivoGSMNetwork(mivoCore* core, CmivoDesktopPage* page);

  void OnActivate() override;
  // The operator's name, "(no operator)" when there is none.
  void OnStateChanged(WPARAM wParam, LPARAM lParam) override;
  const char* GadgetClassName() const override { return "CmivoGSMNetwork"; }

 protected:
  mivoSkinImage* CurrentImage() override { return nullptr; }
};

class CmivoSignalStrengthGadget : public CmivoNotifiedCountGadget {
 public:
  CmivoSignalStrengthGadget(mivoCore* core, CmivoDesktopPage* page);
  const char* GadgetClassName() const override { return "CmivoSignalStrengthGadget"; }
};

class CmivoMissedCallsEvent : public CmivoNotifiedCountGadget {
 public:
  CmivoMissedCallsEvent(mivoCore* core, CmivoDesktopPage* page);
  // The phone page.
  void OnIconTap(POINT point) override;
  // The call log: the missed calls, or all calls when none was missed.
  void OnTextTap(POINT point) override;
  const char* GadgetClassName() const override { return "CmivoMissedCallsEvent"; }
};

class CmivoUnreadSMSEvent : public CmivoNotifiedCountGadget {
 public:
  CmivoUnreadSMSEvent(mivoCore* core, CmivoDesktopPage* page);
  // A new SMS in the composer.
  void OnIconTap(POINT point) override;
  // One unread SMS opens it; any other count, or an unread count the Inbox
  // does not bear out, opens the Inbox.
  void OnTextTap(POINT point) override;
  const char* GadgetClassName() const override { return "CmivoUnreadSMSEvent"; }

 private:
  void ShowInbox();
  // Opens the Inbox's first unread message; false when it has none.
  bool ShowFirstUnread();
};

class CmivoUnreadMMSEvent : public CmivoNotifiedCountGadget {
 public:
  CmivoUnreadMMSEvent(mivoCore* core, CmivoDesktopPage* page);
  // This device shows no MMS: both taps do nothing.
  void OnIconTap(POINT) override {}
  void OnTextTap(POINT) override {}
  const char* GadgetClassName() const override { return "CmivoUnreadMMSEvent"; }
};

class CmivoUnreadEmailEvent : public CmivoNotifiedCountGadget {
 public:
  CmivoUnreadEmailEvent(mivoCore* core, CmivoDesktopPage* page);
  // Both: the messaging program.
  void OnIconTap(POINT point) override;
  void OnTextTap(POINT point) override { OnIconTap(point); }
  const char* GadgetClassName() const override { return "CmivoUnreadEmailEvent"; }
};

class CmivoTasksGadget : public CmivoNotifiedCountGadget {
 public:
  CmivoTasksGadget(mivoCore* core, CmivoDesktopPage* page);
  // Both: the tasks list.
  void OnIconTap(POINT point) override;
  void OnTextTap(POINT point) override { OnIconTap(point); }
  // A word the gadget does not read, written back as read.
  void LoadProperties(mivoArchiveReader& in) override;
  void SaveProperties(mivoArchiveWriter& out) override;
  void ExchangeProperties(mivoGadgetProperties& properties) override;
  const char* GadgetClassName() const override { return "CmivoTasksGadget"; }

 private:
  std::uint32_t m_unused = 0;  // stored, not otherwise used; 0 for a gadget never loaded
};

class CmivoBluetoothGadget : public CmivoNotifiedCountGadget {
 public:
  CmivoBluetoothGadget(mivoCore* core, CmivoDesktopPage* page);
  const char* GadgetClassName() const override { return "CmivoBluetoothGadget"; }
};
