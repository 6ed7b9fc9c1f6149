// mivoGadgetContainer: every gadget of every desktop, portrait and landscape,
// in one ordered list owned by the desktop page. The order is the drawing
// order (later gadgets over earlier ones) and the order of the layout file.
//
// The layout is read once when the desktop page is made: the user's file
// "mivo_userdesktop.dat" when it exists, else the factory layout for the
// screen ("mivo_desktop.dat" at DisplayScale 1, "mivo_desktop_vga.dat"
// otherwise). It is written to the user's file when the design mode is left
// and when the desktop page goes. A user file that could not be read to its
// end is kept as "mivo_userdesktop.dat.bad" before the next save replaces it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "desktop/gadget_catalogue.h"
#include "desktop/layout_file.h"

class CmivoDesktopPage;
class CmivoGadget;
class mivoCore;

class mivoGadgetContainer {
 public:
  static constexpr char16_t kUserFile[] = u"mivo_userdesktop.dat";
  static constexpr char16_t kFactoryFile[] = u"mivo_desktop.dat";
  static constexpr char16_t kFactoryFileVga[] = u"mivo_desktop_vga.dat";

  // The catalogue is the fixed table of gadget_catalogue.h.
  explicit mivoGadgetContainer(mivoCore* core);
  // Deactivates and destroys what is left (without saving).
  ~mivoGadgetContainer();
  mivoGadgetContainer(const mivoGadgetContainer&) = delete;
  mivoGadgetContainer& operator=(const mivoGadgetContainer&) = delete;

  // ---- Files ----
  // Reads the layout file the rules above choose, creating every gadget for
  // the page (as its child) and activating it. What a damaged file held up
  // to the fault stays. A missing file gives empty desktops.
  mivoLayoutReadResult LoadLayout(CmivoDesktopPage* page);
  // Writes the user's file from the gadgets, through a temporary file; false
  // when it could not be written (the old file then stays as it was).
  bool SaveLayout();
  // SaveLayout, then deactivates and destroys every gadget.
  void SaveAndClear();
  // Reads a layout from bytes (LoadLayout's reading, without the file).
  mivoLayoutReadResult ReadLayout(std::span<const std::uint8_t> bytes, CmivoDesktopPage* page,
                                  const mivoLayoutReadOptions& options = {});
  // The layout file's bytes for the current gadgets.
  std::vector<std::uint8_t> SerializeLayout() const;

  // The folder of the three files, ending with a backslash: the program folder unless set.
  std::u16string DataFolder() const;
  void SetDataFolder(std::u16string folder) { m_dataFolder = std::move(folder); }
  // The file LoadLayout reads (or would read) now.
  std::u16string LayoutFileToRead() const;
  // How the last LoadLayout went.
  const mivoLayoutReadResult& LastRead() const { return m_lastRead; }
  // Whether the last LoadLayout read the user's own file (else a factory one).
  bool LastReadUserFile() const { return m_lastReadUser; }

  // ---- The gadgets ----
  // Appends the gadget (as the last child of its page) and activates it.
  void AddGadget(std::unique_ptr<CmivoGadget> gadget, bool activate = true);
  // Takes the gadget out of the list and its page, deactivates and destroys
  // it; nothing when it is not in the list.
  void RemoveGadget(CmivoGadget* gadget);
  // Deactivates and destroys every gadget.
  void Clear();
  const std::vector<std::unique_ptr<CmivoGadget>>& Gadgets() const { return m_gadgets; }
  std::size_t Count() const { return m_gadgets.size(); }
  bool Contains(const CmivoGadget* gadget) const;

  // ---- The factory and the catalogue ----
  // A new gadget of the type for the page, or null for a type id no class is
  // built for (yet).
  std::unique_ptr<CmivoGadget> CreateGadget(DWORD typeId, CmivoDesktopPage* page);
  // The catalogue entry at an index; false past the end.
  bool GetCatalogueEntry(std::size_t index, mivoCatalogueEntry* entry) const;
  std::size_t CatalogueSize() const;

 private:
  // Keeps a user file that was not read to its end as ".bad" (once) before
  // it is replaced; false when it could not be kept.
  bool KeepDamagedFile();

  mivoCore* m_pCore;                                    // never owned
  std::vector<std::unique_ptr<CmivoGadget>> m_gadgets;  // in drawing and file order
  std::u16string m_dataFolder;                          // empty: the program folder
  mivoLayoutReadResult m_lastRead;                      // of the last LoadLayout
  bool m_lastReadUser = false;                          // the last LoadLayout read the user's file
  bool m_userFileDamaged = false;                       // the user file read last stopped early; not yet kept
};
