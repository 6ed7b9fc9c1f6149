// mivoControlPanelCatalogue: the device's control-panel applets, built once
// per run from the control-panel library "cplmain.cpl" and the device's
// registry grouping (HKLM "ControlPanel\<key>" "Group": 0 Personal, 1
// System, 2 Connections; System when missing, left out when another
// number). The core makes it on first use and keeps it; it answers the
// actions' applet inquiries (names and icons) too.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "actions/services.h"
#include "core/mivo_class.h"
#include "platform/device/control_panel.h"
#include "platform/win32/types.h"

class mivoControlPanelCatalogue : public mivoClass, public mivoAppletInquiry {
 public:
  // One applet of a page.
  struct Entry {
    DWORD index = 0;  // position in the library, from 0
    DWORD data = 0;   // the data word of its inquiry record
    DWORD group = 0;  // 0, 1 or 2
  };

  explicit mivoControlPanelCatalogue(mivoCore* core);
  ~mivoControlPanelCatalogue() override;
  mivoControlPanelCatalogue(const mivoControlPanelCatalogue&) = delete;
  mivoControlPanelCatalogue& operator=(const mivoControlPanelCatalogue&) = delete;

  // ---- The catalogue's operations (each loads the catalogue first) ----
  int GetCount();
  // Copies the entry at a position; false when out of range.
  bool GetEntry(int position, Entry* entry);
  // The library's inquiry record of an applet; false when it fails.
  bool Inquire(int appletIndex, NEWCPLINFO* info);
  // Starts the control-panel host at an applet and its second number (its
  // data word or a tab); a failed start is not reported.
  void Launch(int appletIndex, int second);

  // The applet's name and icon (the library's, never destroyed), asked of
  // the library once per applet and kept.
  bool InquireApplet(int appletIndex, std::u16string* name, HICON* icon) override;

  bool IsLoaded() const { return m_loaded; }
  // How often the library's entry point was called (the pages ask it once).
  int LibraryCalls() const { return m_libraryCalls; }

 private:
  // Resolves the entry point, initialises the library and reads every applet.
  void Load();
  LONG Call(UINT message, LPARAM first, LPARAM second);

  // An applet's inquiry as first answered.
  struct Inquiry {
    bool ok = false;         // the library answered
    std::u16string name;     // its name
    HICON icon = nullptr;    // the library's icon
  };

  HMODULE m_library = nullptr;      // "cplmain.cpl", kept loaded for the run
  APPLET_PROC m_entry = nullptr;    // its "CPlApplet", resolved once
  bool m_loaded = false;            // the entries have been read
  std::vector<Entry> m_entries;     // in the library's applet order
  std::map<int, Inquiry> m_inquiries;  // by applet index
  int m_libraryCalls = 0;           // calls of the entry point so far
};
