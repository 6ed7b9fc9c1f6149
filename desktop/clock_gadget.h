// CmivoClock (type 1): the time, in one of three faces. The analog face is
// drawn over the whole gadget (analog_clock.h); the graphical face is the
// skin's digit pictures ("gadget_clock_0" ... "_9" and "gadget_clock_divider",
// hours 00-23); the text face is "%H:%M" in the gadget's text style (75
// points, bold, by default). The analog flag wins over the graphical one; a
// clock with both clear shows text.
//
// It follows HKLM "System\State\DateTime" "Time", which the device moves
// each minute, and repaints its own rectangle then; there is no timer. The
// design mode switches the face and, for the analog face, the circle, the
// hour marks and the numerals.
//
// Stored after the text style (whose last word is the clock's sub-version,
// always written as 2): five bytes, the analog, marks, numerals, circle and
// graphical flags. Records of a gadget record version below 4 have none of
// them (the defaults stay); a record of sub-version below 2 has the first
// four only, and such a clock is not graphical.
#pragma once

#include <string>
#include <vector>

#include "desktop/status_gadget.h"

class CmivoClock : public CmivoStatusGadget {
 public:
  CmivoClock(mivoCore* core, CmivoDesktopPage* page);
  // The pens go with it.
  ~CmivoClock() override;

  void OnActivate() override;
  // The text face's "%H:%M", empty for the others; then a repaint.
  void OnStateChanged(WPARAM wParam, LPARAM lParam) override;
  // Analog: the whole gadget; graphical: four digits and the divider; text: none.
  SIZE GetImageSize() override;
  RECT DrawImage(HDC dc, const RECT& rect, UINT alignment) override;
  // The text options, then "Clock settings" with the face's own entries.
  void AddContextMenuItems() override;
  void OnContextMenuCommand(const mivoContextMenuEntry& entry) override;
  std::u16string GetContextMenuItemText(const mivoContextMenuEntry& entry) override;
  void LoadProperties(mivoArchiveReader& in) override;
  void SaveProperties(mivoArchiveWriter& out) override;
  void ExchangeProperties(mivoGadgetProperties& properties) override;
  // The time the clock shows, whatever its face ("09:05").
  std::u16string GetDumpText() override;
  std::u16string GetDumpImage() override { return {}; }
  const char* GadgetClassName() const override { return "CmivoClock"; }

  bool IsAnalog() const { return m_analog; }
  bool IsGraphical() const { return !m_analog && m_graphical; }
  // The stored graphical flag itself (an analog clock keeps it for later).
  bool GraphicalFlag() const { return m_graphical; }
  bool ShowsTicks() const { return m_showTicks; }
  bool ShowsMinuteNumbers() const { return m_showNumbers; }
  bool ShowsCircle() const { return m_showCircle; }

  // The pictures of the graphical face for a time: two hour digits, the
  // divider, two minute digits ("gadget_clock_2", ..., "gadget_clock_divider", ...).
  static std::vector<std::u16string> GraphicalImageNames(int hour, int minute);

 protected:
  mivoSkinImage* CurrentImage() override { return nullptr; }

 private:
  // The local hour and minute now; -1 each when the time cannot be read.
  static void Now(int* hour, int* minute);
  RECT DrawGraphical(HDC dc, const RECT& rect, UINT alignment);

  bool m_analog = false;      // stored; the analog face
  bool m_showTicks = true;    // stored; the analog face's hour marks
  bool m_showNumbers = true;  // stored; the analog face's numerals
  bool m_showCircle = true;   // stored; the analog face's circle
  bool m_graphical = true;    // stored; the digit pictures (when not analog)
  HPEN m_pen1 = nullptr;      // solid, 1 pixel, the text colour at construction; owned
  HPEN m_pen2 = nullptr;      // 2 pixels
  HPEN m_pen4 = nullptr;      // 4 pixels
};
