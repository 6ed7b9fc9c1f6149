// CmivoVolumeWnd: the volume window the volume gadget opens over the
// desktop. A rounded panel titled "Volume" holds two rows of six bars, the
// system volume (the wave output's) and the ring volume (HKCU
// "ControlPanel\SoundCategories\Ring" "InitVol", 0-6), each with its picture
// before it; under them a mute and a vibrate button (the one in force
// highlighted) and the close button. A tap on a bar sets that volume (and
// the sound on), a tap on a row's picture sets it to 0; mute and vibrate
// switch the sound type of all events.
//
// It is modal: RunModal returns when the close button is tapped or the
// program ends (the quit is passed on, so the program still ends), and the
// window is gone then. Taps and keys meant for other windows while it is
// open are dropped, so nothing behind it acts on them afterwards. Where the
// screen is too low for the panel (a landscape QVGA or VGA screen), the close
// button moves up beside mute and vibrate.
//
// The state dump shows it as the overlay of kind "volume": its text is
// "system N, ring N, SOUND" (SOUND: on, mute, vibrate or file) and its
// buttons are, in order: close, mute, vibrate, the system picture, the ring
// picture, the six system bars and the six ring bars.
#pragma once

#include <array>

#include "core/mivo_class.h"
#include "platform/win32/file_defs.h"
#include "platform/window/framework.h"
#include "ui/overlay.h"

class mivoAppearance;

class CmivoVolumeWnd : public CWnd, public mivoClass, public ui::OverlaySource {
 public:
  // One step of the six: the wave volume's low word is the level times this.
  static constexpr DWORD kVolumeStep = 10922;

  explicit CmivoVolumeWnd(mivoCore* core) : mivoClass(core) {}
  ~CmivoVolumeWnd() override;

  // Shows the window at the top of the page `over` (screen pixels of the
  // frame's client area are used) and waits until it is closed; false when
  // the program is ending or it could not be shown.
  bool RunModal(CWnd* over);

  // ---- What it shows and sets ----
  // (low word of the wave volume) / kVolumeStep: 0..6.
  static int SystemLevel();
  // "InitVol", 0 when missing, at most 6.
  static int RingLevel();
  // The sound type of all events.
  static SND_SOUNDTYPE SoundType();
  static void SetSoundType(SND_SOUNDTYPE type);

  ui::OverlayDescription DescribeOverlay() const override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // Lays out and draws the window; returns the height it takes.
  int Draw(HDC dc, mivoAppearance& look, const RECT& client);
  // A released tap at a client point.
  void OnTap(POINT point);
  // The sound on, then a volume of the system row or the ring row.
  void SetSystemVolume(DWORD volume);
  void SetRingVolume(DWORD level);

  bool m_compact = false;              // the close button beside mute and vibrate (a low screen)
  std::array<RECT, 6> m_systemBars{};  // client coordinates, as last drawn
  std::array<RECT, 6> m_ringBars{};
  RECT m_systemIcon{};  // where "volume_system" was drawn
  RECT m_ringIcon{};    // where "volume_phone" was drawn
  RECT m_mute{};        // the mute button's place
  RECT m_vibrate{};     // the vibrate button's place
  RECT m_close{};       // the close button's place
};
