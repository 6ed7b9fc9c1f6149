#include "desktop/gadget_container.h"

#include <algorithm>

#include "core/core.h"
#include "desktop/desktop_page.h"
#include "desktop/gadget.h"
#include "look/appearance.h"
#include "platform/fs/file_io.h"
#include "platform/fs/files.h"
#include "platform/win32/errors.h"

mivoGadgetContainer::mivoGadgetContainer(mivoCore* core) : m_pCore(core) {}

mivoGadgetContainer::~mivoGadgetContainer() { Clear(); }

// ---- Files ---------------------------------------------------------------------------

std::u16string mivoGadgetContainer::DataFolder() const {
  return m_dataFolder.empty() ? m_pCore->GetProgramFolder() : m_dataFolder;
}

std::u16string mivoGadgetContainer::LayoutFileToRead() const {
  const std::u16string folder = DataFolder();
  const std::u16string user = folder + kUserFile;
  if (GetFileAttributesW(user.c_str()) != INVALID_FILE_ATTRIBUTES) return user;
  return folder + (DisplayScale == 1 ? kFactoryFile : kFactoryFileVga);
}

mivoLayoutReadResult mivoGadgetContainer::LoadLayout(CmivoDesktopPage* page) {
  const std::u16string path = LayoutFileToRead();
  std::vector<std::uint8_t> bytes;
  if (!fs::ReadFile(path, &bytes)) {
    m_lastRead = mivoLayoutReadResult{};
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
      // No layout at all (a device without the factory files): empty desktops.
      m_lastRead.missing = true;
    } else {
      m_lastRead.complete = false;
      m_lastRead.problem = "the file cannot be read";
    }
  } else {
    m_lastRead = ReadLayout(bytes, page);
  }
  // Only the user's own file is ever replaced: a damaged one is kept first.
  m_lastReadUser = path == DataFolder() + kUserFile;
  m_userFileDamaged = m_lastReadUser && !m_lastRead.missing && !m_lastRead.complete;
  return m_lastRead;
}

mivoLayoutReadResult mivoGadgetContainer::ReadLayout(std::span<const std::uint8_t> bytes, CmivoDesktopPage* page,
                                                     const mivoLayoutReadOptions& options) {
  return layout_file::Read(
      bytes, [&](DWORD typeId) { return CreateGadget(typeId, page); },
      [&](std::unique_ptr<CmivoGadget> gadget) { AddGadget(std::move(gadget), options.activate); }, options);
}

std::vector<std::uint8_t> mivoGadgetContainer::SerializeLayout() const {
  std::vector<CmivoGadget*> gadgets;
  gadgets.reserve(m_gadgets.size());
  for (const auto& gadget : m_gadgets) gadgets.push_back(gadget.get());
  return layout_file::Write(gadgets);
}

bool mivoGadgetContainer::KeepDamagedFile() {
  if (!m_userFileDamaged) return true;
  const std::u16string path = DataFolder() + kUserFile;
  const std::u16string bad = path + u".bad";
  DeleteFileW(bad.c_str());
  if (!MoveFileW(path.c_str(), bad.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) return false;
  m_userFileDamaged = false;
  return true;
}

bool mivoGadgetContainer::SaveLayout() {
  // What could not be read is kept aside before it is replaced; when even
  // that fails the file stays as it is.
  if (!KeepDamagedFile()) return false;
  return fs::WriteFileIfChanged(DataFolder() + kUserFile, SerializeLayout());
}

void mivoGadgetContainer::SaveAndClear() {
  SaveLayout();
  Clear();
}

// ---- The gadgets -----------------------------------------------------------------------

bool mivoGadgetContainer::Contains(const CmivoGadget* gadget) const {
  return gadget &&
         std::any_of(m_gadgets.begin(), m_gadgets.end(), [gadget](const auto& g) { return g.get() == gadget; });
}

void mivoGadgetContainer::AddGadget(std::unique_ptr<CmivoGadget> gadget, bool activate) {
  if (!gadget || Contains(gadget.get())) return;
  CmivoGadget* g = gadget.get();
  m_gadgets.push_back(std::move(gadget));
  if (CmivoWnd* parent = g->GetParentWnd()) parent->AddChild(g);
  if (activate) g->Activate();
}

void mivoGadgetContainer::RemoveGadget(CmivoGadget* gadget) {
  auto it = std::find_if(m_gadgets.begin(), m_gadgets.end(), [gadget](const auto& g) { return g.get() == gadget; });
  if (it == m_gadgets.end()) return;
  std::unique_ptr<CmivoGadget> owned = std::move(*it);
  m_gadgets.erase(it);
  if (CmivoWnd* parent = owned->GetParentWnd()) parent->RemoveChild(owned.get());
  owned->Deactivate();
}

void mivoGadgetContainer::Clear() {
  // Last first, each out of the list before it goes, so a gadget that looks
  // at the container while it deactivates finds only the living ones.
  while (!m_gadgets.empty()) {
    std::unique_ptr<CmivoGadget> owned = std::move(m_gadgets.back());
    m_gadgets.pop_back();
    if (CmivoWnd* parent = owned->GetParentWnd()) parent->RemoveChild(owned.get());
    owned->Deactivate();
  }
}

// ---- The factory and the catalogue --------------------------------------------------------

std::unique_ptr<CmivoGadget> mivoGadgetContainer::CreateGadget(DWORD typeId, CmivoDesktopPage* page) {
  return gadget_catalogue::CreateGadget(m_pCore, typeId, page);
}

bool mivoGadgetContainer::GetCatalogueEntry(std::size_t index, mivoCatalogueEntry* entry) const {
  const auto entries = gadget_catalogue::Entries();
  if (index >= entries.size()) return false;
  if (entry) *entry = entries[index];
  return true;
}

std::size_t mivoGadgetContainer::CatalogueSize() const { return gadget_catalogue::Entries().size(); }
