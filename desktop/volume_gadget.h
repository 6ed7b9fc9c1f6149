// CmivoVolumeGadget (type 29): a loudspeaker picture that opens the volume
// window (CmivoVolumeWnd) when tapped; it shows no text and follows nothing.
// Beside the picture a tap is the desktop's general one (the main menu).
#pragma once

#include "desktop/status_gadget.h"

class CmivoVolumeGadget : public CmivoStatusGadget {
 public:
  // The picture is looked up now.
  CmivoVolumeGadget(mivoCore* core, CmivoDesktopPage* page);

  // The volume window, until it is closed.
  void OnIconTap(POINT point) override;
  const char* GadgetClassName() const override { return "CmivoVolumeGadget"; }
};
