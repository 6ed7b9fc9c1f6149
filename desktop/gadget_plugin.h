// CmivoGadgetPlugin (type 26, "Mivo plug-in"): a desktop gadget that stands
// for one gadget of a plug-in library of the "GadgetPlugins" folder. It
// remembers the library's path and the gadget's index, asks the library to
// create that gadget when it starts, lets it paint itself and store its own
// settings, and deletes it again when it stops. In the design mode its menu
// lists the gadgets every library offers ("Installed plugins", commands 2140
// and up); choosing one puts it in place of the current one. A live gadget
// may add entries of its own to that menu (commands 2100..2119).
//
// Stored fields (after the common record), property version 1:
//   archive string  the library's path
//   i32             the gadget's index in the library
//   u32 n, n bytes  the plug-in's own settings, as its Save wrote them
// Property version 0 (older layouts) has no length before the settings: only
// a live plug-in can read them, and without one nothing is read after the
// index. Settings of a plug-in that cannot start (its library is missing, or
// gone from the folder) are kept and written back unchanged.
//
// A gadget that is not live shows as a black square of its rectangle (50 x
// 50 while it names no library).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "desktop/gadget.h"
#include "desktop/plugin_interface.h"

class mivoPluginLibrary;
class mivoPluginRegistry;
class mivoPluginArchive;

// The plug-in gadget's commands.
enum : DWORD {
  kPluginOwnItemFirst = 2100,    // + k: the live gadget's own menu entry k
  kPluginAvailableFirst = 2140,  // + i: the i-th gadget of the installed libraries
};

class CmivoGadgetPlugin : public CmivoGadget {
 public:
  static constexpr DWORD kTypeId = 26;
  // The record's property version whose settings carry their length.
  static constexpr DWORD kPropertyVersionWithLength = 1;
  // Live gadgets hear OnTimer once a minute.
  static constexpr UINT kTimerPeriodMs = 60000;

  CmivoGadgetPlugin(mivoCore* core, CmivoDesktopPage* page);
  // Stops the gadget when it is still live.
  ~CmivoGadgetPlugin() override;

  // The live plug-in gadget that an owner value names, or null.
  static CmivoGadgetPlugin* FromOwner(MIVOOWNER owner);
  // A registry goes: every gadget live with one of its libraries stops first.
  static void StopGadgetsOf(const mivoPluginRegistry* registry);

  // ---- The gadget's operations ----
  // Live: the plug-in paints (and, in design mode, the frame over it). Not
  // live: a black square.
  void Paint(HDC dc) override;
  // Outside design mode a live gadget hears the tap (OnLButtonUp); nothing else happens.
  void OnTap(UINT flags, POINT point) override;
  void AddContextMenuItems() override;
  void OnContextMenuCommand(const mivoContextMenuEntry& entry) override;
  std::u16string GetContextMenuItemText(const mivoContextMenuEntry& entry) override;
  void LoadProperties(mivoArchiveReader& in) override;
  void SaveProperties(mivoArchiveWriter& out) override;
  DWORD StoredPropertyVersion() const override { return kPropertyVersionWithLength; }
  void ExchangeProperties(mivoGadgetProperties& properties) override;
  void OnTimer(bool first) override;
  // Starts the gadget (and its timer); OnDeactivate stops it.
  void OnActivate() override;
  void OnDeactivate() override;
  const char* GadgetClassName() const override { return "CmivoGadgetPlugin"; }
  // The plug-in's own words for what it shows (or its name); empty when not live.
  std::u16string GetDumpText() override;

  // ---- State ----
  const std::u16string& LibraryPath() const { return m_libraryPath; }
  std::int32_t GadgetIndex() const { return m_index; }
  bool IsLive() const { return m_instance != nullptr; }
  // The plug-in's settings kept while it is not live (written back as they are).
  const std::vector<std::uint8_t>& KeptSettings() const { return m_keptSettings; }
  // Puts the library's gadget in place of the current one and starts it (the menu's choice).
  void Choose(const std::u16string& path, std::int32_t index);
  // One of the installed gadgets the menu offers.
  struct Available {
    std::u16string path;   // the library's path
    std::size_t position;  // the library's place in the registry
    int index;             // the gadget's index in the library
    std::u16string name;   // its name, from its information record
  };
  // The menu's list as last built.
  const std::vector<Available>& AvailableGadgets() const { return m_available; }
  // Builds the menu's list anew: every library loaded, every gadget it offers.
  void RebuildAvailable();

 private:
  // The live gadget: the library's handle and the entry points looked up for it.
  struct Instance {
    mivoPluginLibrary* library = nullptr;       // the registry's record; never owned
    MIVOGADGET handle = nullptr;                // what CreateGadget returned; the library's
    const mivoGadgetInfo* info = nullptr;       // GetGadgetInfo's record, checked
    mivoOnPaintFn onPaint = nullptr;            // the per-gadget exports, each null when missing: every paint
    mivoInitializeFn initialize = nullptr;      // once live
    mivoUninitializeFn uninitialize = nullptr;  // before DeleteGadget
    mivoOnMessageFn onMessage = nullptr;        // the menu's entries and commands, the dump's text
    mivoOnTimerFn onTimer = nullptr;            // once a minute
    mivoOnLButtonUpFn onLButtonUp = nullptr;    // a tap outside the design mode
    mivoLoadFn load = nullptr;                  // the stored settings, read
    mivoSaveFn save = nullptr;                  // the settings, written
    bool initialized = false;                   // Initialize was called (Uninitialize is owed)
  };

  // Creates the instance when the path names a library that offers the index
  // (nothing when one is there already for the same library).
  void Start();
  // Uninitializes and deletes the instance, if any.
  void Stop();
  // Initialize, once per instance; the timer when the gadget is active.
  void BecomeLive();
  // Hands stored settings to the live plug-in's Load; false when it read past them.
  bool LoadSettings(mivoArchiveReader& in);
  // The live plug-in's settings as its Save writes them (empty without Save).
  std::vector<std::uint8_t> SaveSettings();
  // The live plug-in's own menu entries.
  void CollectOwnItems();
  // Asks a text for an own entry that wants one; false when it was not given.
  bool AskText(const mivoMenuItem& item, std::u16string* text);

  std::u16string m_libraryPath;              // empty until chosen
  std::int32_t m_index = 0;                  // the gadget's index in the library
  std::unique_ptr<Instance> m_instance;      // null unless live
  std::vector<std::uint8_t> m_keptSettings;  // stored settings not (yet) read by a live plug-in
  std::vector<Available> m_available;        // the menu's installed gadgets
  std::vector<mivoMenuItem> m_ownItems;      // the live gadget's own menu entries
  bool m_timerRegistered = false;            // the desktop's timer runs for it
};
