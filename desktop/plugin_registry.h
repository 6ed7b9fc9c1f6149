// The gadget plug-in libraries: mivoPluginRegistry, the catalogue of the
// library files found in the program's "GadgetPlugins" folder, and
// mivoPluginLibrary, one record per file.
//
// The core makes the registry the first time any part asks for it
// (GetPluginRegistry) and deletes it at exit; the folder is searched then,
// once per process, for files ending in ".so" (as Linux authors name their
// shared objects) or ".dll", in the search's (name) order. A library is
// loaded the first time it is needed (the design-mode menu, a gadget that
// starts) and stays loaded until the registry goes: loading it for every
// menu would count a reference per load that is never given back.
//
// Loading a library: LoadLibraryW; "mivoGadgetAPIDll_SetMivoHandle" is called
// with the host handle when found; then CreateGadget, GadgetsCount and
// GetGadgetInfo are looked up, "mivoGadgetAPIDll_SetMivoAPI_1" is called with
// the record's table when found, and DeleteGadget is looked up. The first
// export missing stops the sequence: the library is freed and offers no
// gadgets from then on (it is never called again).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "desktop/plugin_interface.h"
#include "platform/shell/library.h"
#include "platform/win32/types.h"

class mivoCore;

// The most gadgets one library may offer: a library that claims more is
// taken at this many, so a wrong count cannot flood the menu.
constexpr int kMaxGadgetsPerLibrary = 64;

class mivoPluginLibrary {
 public:
  mivoPluginLibrary(MIVOHANDLE host, std::u16string path);
  // Frees the library when it was loaded.
  ~mivoPluginLibrary();
  mivoPluginLibrary(const mivoPluginLibrary&) = delete;
  mivoPluginLibrary& operator=(const mivoPluginLibrary&) = delete;

  // Loads the library the first time; true while it is loaded with all six
  // exports. A library that failed once is not tried again.
  bool Load();
  bool IsLoaded() const { return m_state == State::kLoaded; }
  // Whether Load was tried and failed.
  bool Failed() const { return m_state == State::kFailed; }

  const std::u16string& Path() const { return m_path; }
  HMODULE Module() const { return m_module; }
  MIVOHANDLE Host() const { return m_host; }
  const mivoAPI_1* Api() const { return &m_api; }

  // The library's count, 0..kMaxGadgetsPerLibrary (0 unless loaded).
  int GadgetsCount();
  // The gadget's information when the index is below the count and the
  // library gives a record with a name; else null.
  const mivoGadgetInfo* GetGadgetInfo(int index);
  // The gadget's name from its information (empty when there is none).
  std::u16string GadgetName(int index);
  // A new gadget of the index for the owner (null: refused, or none made).
  MIVOGADGET CreateGadget(MIVOOWNER owner, int index);
  void DeleteGadget(MIVOGADGET gadget);
  // A further export of the library, or null.
  FARPROC Export(const char16_t* name) const;

 private:
  enum class State { kNotTried, kLoaded, kFailed };
  // Gives the library up: frees it and forgets its entry points.
  void Unload();

  MIVOHANDLE m_host;                            // the core's address, handed to the library
  std::u16string m_path;                        // the library file's device path
  HMODULE m_module = nullptr;                   // null until loaded
  State m_state = State::kNotTried;             // whether it was loaded
  mivoCreateGadgetFn m_createGadget = nullptr;  // the required exports; null unless loaded
  mivoGadgetsCountFn m_gadgetsCount = nullptr;
  mivoGetGadgetInfoFn m_getGadgetInfo = nullptr;
  mivoDeleteGadgetFn m_deleteGadget = nullptr;
  mivoAPI_1 m_api{};  // the host functions, for the library's lifetime
};

class mivoPluginRegistry {
 public:
  // Searches the program folder's "GadgetPlugins" folder.
  explicit mivoPluginRegistry(mivoCore* core);
  // Searches `folder` (a device path ending with a backslash) instead.
  mivoPluginRegistry(mivoCore* core, const std::u16string& folder);
  ~mivoPluginRegistry();
  mivoPluginRegistry(const mivoPluginRegistry&) = delete;
  mivoPluginRegistry& operator=(const mivoPluginRegistry&) = delete;

  std::size_t Count() const { return m_libraries.size(); }
  mivoPluginLibrary* At(std::size_t index) const;
  // The record whose path is exactly this one (case and all), or null.
  mivoPluginLibrary* Find(const std::u16string& path) const;
  mivoCore* Core() const { return m_pCore; }

  // The folder searched: the program folder's "GadgetPlugins\".
  static std::u16string FolderOf(const std::u16string& programFolder);
  // Whether a file name is a plug-in library's (".so" or ".dll", any case).
  static bool IsLibraryName(const std::u16string& name);

 private:
  void Scan(const std::u16string& folder);

  mivoCore* m_pCore;                                            // never owned
  std::vector<std::unique_ptr<mivoPluginLibrary>> m_libraries;  // in the search's order
};
