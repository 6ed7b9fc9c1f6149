// CmivoConnectionManagerGadget (type 28): the radio switch of one wireless
// device (the phone, Wi-Fi or Bluetooth): its state as a word ("On", "Off",
// "Dis" for a discoverable Bluetooth, "n/a" when it cannot be read) beside a
// picture of the device on or off. A tap anywhere on it switches the radio
// on from off and off from on (Bluetooth: off, on, discoverable, off); the
// new state shows at the next reading. It reads the state every two seconds,
// and only while the desktop is the page in front. The design mode chooses
// the device; the kind is stored as a 32-bit word after the text style
// (1 phone, 2 Wi-Fi, 3 Bluetooth).
#pragma once

#include "desktop/status_gadget.h"

class CmivoConnectionManagerGadget : public CmivoStatusGadget {
 public:
  // The gadget's kinds of device.
  static constexpr std::int32_t kPhone = 1;
  static constexpr std::int32_t kWiFi = 2;
  static constexpr std::int32_t kBluetooth = 3;

  CmivoConnectionManagerGadget(mivoCore* core, CmivoDesktopPage* page);

  // Polls every two seconds, and reads at once.
  void OnActivate() override;
  // Reads the radio's state and shows it, unless the desktop is covered or
  // the gadget hidden.
  void OnTimer(bool first) override;
  // Anywhere on the gadget (outside the design mode): the next state of the
  // state read last; nothing while that state is unknown.
  void OnTap(UINT flags, POINT point) override;
  // The text options, then "Devices" with the two other kinds.
  void AddContextMenuItems() override;
  void OnContextMenuCommand(const mivoContextMenuEntry& entry) override;
  std::u16string GetContextMenuItemText(const mivoContextMenuEntry& entry) override;
  void LoadProperties(mivoArchiveReader& in) override;
  void SaveProperties(mivoArchiveWriter& out) override;
  void ExchangeProperties(mivoGadgetProperties& properties) override;
  const char* GadgetClassName() const override { return "CmivoConnectionManagerGadget"; }

  std::int32_t DeviceKind() const { return m_deviceKind; }
  void SetDeviceKind(std::int32_t kind);
  // The state read last: 0 off, 1 on, 2 discoverable; -1 before the first
  // reading and after one that gave no state of the kind (the list could not
  // be read, has no such radio, or gave a state the kind lacks).
  int LastState() const { return m_lastState; }

 protected:
  // The picture chosen at the last reading; none before it.
  mivoSkinImage* CurrentImage() override { return m_pImage; }

 private:
  std::int32_t m_deviceKind = kPhone;  // stored: kPhone, kWiFi or kBluetooth
  int m_lastState = -1;                // as read last
  mivoSkinImage* m_pImage = nullptr;   // chosen for the last state; the class's shared image
};
