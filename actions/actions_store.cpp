// The factory, running and recording, the two files, listeners and services.
#include <algorithm>

#include "actions/action_kinds.h"
#include "actions/actions.h"
#include "core/core.h"
#include "look/appearance.h"
#include "look/archive.h"
#include "platform/fs/file_io.h"
#include "platform/fs/files.h"
#include "platform/win32/errors.h"

namespace {

constexpr std::uint32_t kEndMarker = 0xFFFFFFFFu;
constexpr std::uint32_t kEmptyPosition = 0x000000FFu;

}  // namespace

mivoActions::mivoActions(mivoCore* core) : m_pCore(core) {}

mivoActions::~mivoActions() {
  // The favourites and the history let go of their actions; sub-menus and
  // folders take their pages with them.
  m_favorites.Clear();
  m_history.Clear();
  // Their pages go now, not at a next turn of the loop that will not come.
  if (m_pCore) m_pCore->RunDeferredDeletes();
}

// ---- Factory ----------------------------------------------------------------

std::unique_ptr<mivoAction> mivoActions::CreateAction(DWORD typeId) {
  switch (typeId) {
    case kActionMakeCall: return std::make_unique<mivoActionMakeCall>(m_pCore);
    case kActionControlPanel: return std::make_unique<mivoActionControlPanel>(m_pCore);
    case kActionExecuteFile: return std::make_unique<mivoActionExecuteFile>(m_pCore);
    case kActionWriteSMS: return std::make_unique<mivoActionWriteSMS>(m_pCore);
    case kActionOffice: return std::make_unique<mivoActionOffice>(m_pCore);
    case kActionWriteEmail: return std::make_unique<mivoActionWriteEmail>(m_pCore);
    case kActionShowPage: return std::make_unique<mivoActionShowPage>(m_pCore);
    case kActionContact: return std::make_unique<mivoActionContact>(m_pCore);
    case kActionSubMenu: return std::make_unique<mivoActionSubMenu>(m_pCore);
    case kActionHelpTutorial: return std::make_unique<mivoActionHelpTutorial>(m_pCore);
    default: return nullptr;
  }
}

std::unique_ptr<mivoAction> mivoActions::ReadActionRecord(mivoArchiveReader& in, DWORD* typeId, bool* failed) {
  *failed = false;
  std::uint32_t id = 0;
  if (!in.ReadU32(&id)) {
    *failed = true;
    return nullptr;
  }
  if (typeId) *typeId = id;
  std::unique_ptr<mivoAction> action = CreateAction(id);
  if (!action) return nullptr;
  if (!action->LoadRecord(in)) {
    *failed = true;
    return nullptr;
  }
  return action;
}

// ---- Running and recording ----------------------------------------------------

void mivoActions::RunAction(mivoAction* action) {
  if (!action) return;
  // The action may be let go while it runs (its page is refilled, a
  // favourite replaced): it is recorded from a copy made first.
  std::unique_ptr<mivoAction> copy = action->Clone();
  action->Execute();
  RecordAction(*copy);
}

void mivoActions::RecordAction(const mivoAction& action) {
  bool created = false;
  mivoHistoryEntry* entry = m_history.Record(action, &created);
  if (created) entry->Action()->OnHistoryEntryCreated(entry);
  NotifyHistoryChanged();
}

// ---- Favourites -----------------------------------------------------------------

bool mivoActions::SetFavorite(std::size_t index, std::unique_ptr<mivoAction> action) {
  if (!m_favorites.Set(index, std::move(action))) return false;
  SaveFavorites();
  NotifyFavoritesChanged();
  return true;
}

void mivoActions::RemoveFavorite(const mivoAction& action) {
  if (m_favorites.Remove(action) == 0) return;
  SaveFavorites();
  NotifyFavoritesChanged();
}

// ---- Files ------------------------------------------------------------------------

std::u16string mivoActions::DataFolder() const {
  if (!m_dataFolder.empty()) return m_dataFolder;
  return m_pCore ? m_pCore->GetProgramFolder() : std::u16string(u"\\Program Files\\mivo\\");
}

namespace {

// Both files are a run of action records (a type id, then the action's
// record) closed by the end marker. Each action goes to `take` in order; a
// type id this program does not know (or the empty marker) goes as null, and
// the next four bytes are taken as the next type id. The first record that
// cannot be read ends the reading: the file is damaged, what came before it
// stays read.
template <typename Take>
mivoFileReadState ReadActionRecords(std::span<const std::uint8_t> bytes, mivoActions& actions, Take take) {
  mivoArchiveReader in(bytes);
  for (;;) {
    std::uint32_t id = 0;
    if (!in.ReadU32(&id)) return mivoFileReadState::kDamaged;
    if (id == kEndMarker) return mivoFileReadState::kComplete;
    std::unique_ptr<mivoAction> action = actions.CreateAction(id);
    if (action && !action->LoadRecord(in)) return mivoFileReadState::kDamaged;
    take(std::move(action));
  }
}

}  // namespace

mivoFileReadState mivoActions::ReadHistory(std::span<const std::uint8_t> bytes) {
  m_history.BeginReplay();
  const mivoFileReadState state = ReadActionRecords(bytes, *this, [this](std::unique_ptr<mivoAction> action) {
    if (!action) return;
    bool created = false;
    mivoHistoryEntry* entry = m_history.Record(std::move(action), &created);
    if (created) entry->Action()->OnHistoryEntryCreated(entry);
  });
  m_history.EndReplay();
  return state;
}

mivoFileReadState mivoActions::ReadFavorites(std::span<const std::uint8_t> bytes) {
  // A null stands for an empty position (or a kind this program does not know).
  const mivoFileReadState state = ReadActionRecords(
      bytes, *this, [this](std::unique_ptr<mivoAction> action) { m_favorites.Append(std::move(action)); });
  m_favorites.PadTo(mivoFavorites::kMinimumPositions);
  return state;
}

std::vector<std::uint8_t> mivoActions::SerializeHistory() const {
  mivoArchiveWriter out;
  for (std::size_t i = 0; i < m_history.Count(); ++i) {
    const mivoHistoryEntry* entry = m_history.Entry(i);
    mivoArchiveWriter record;
    entry->Action()->SaveRecord(record);
    for (int n = 0; n < entry->Count(); ++n) out.WriteBytes(record.Bytes());
  }
  out.WriteU32(kEndMarker);
  return out.Take();
}

std::vector<std::uint8_t> mivoActions::SerializeFavorites() const {
  mivoArchiveWriter out;
  for (std::size_t i = 0; i < m_favorites.Count(); ++i) {
    if (const mivoAction* action = m_favorites.At(i)) {
      action->SaveRecord(out);
    } else {
      out.WriteU32(kEmptyPosition);
    }
  }
  out.WriteU32(kEndMarker);
  return out.Take();
}

namespace {

// Reads a whole file: kMissing when it is not there, kDamaged when it is but
// cannot be read.
mivoFileReadState ReadWhole(const std::u16string& path, std::vector<std::uint8_t>* bytes) {
  if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES && GetLastError() == ERROR_FILE_NOT_FOUND) {
    return mivoFileReadState::kMissing;
  }
  return fs::ReadFile(path, bytes) ? mivoFileReadState::kComplete : mivoFileReadState::kDamaged;
}

}  // namespace

void mivoActions::LoadHistoryAndFavorites() {
  const std::u16string folder = DataFolder();
  // Each file on its own: a damaged history must not cost the favourites.
  std::vector<std::uint8_t> bytes;
  m_historyState = ReadWhole(folder + kHistoryFile, &bytes);
  if (m_historyState == mivoFileReadState::kComplete) m_historyState = ReadHistory(bytes);

  bytes.clear();
  m_favoritesState = ReadWhole(folder + kFavoritesFile, &bytes);
  if (m_favoritesState == mivoFileReadState::kComplete) {
    m_favoritesState = ReadFavorites(bytes);
  } else {
    m_favorites.PadTo(mivoFavorites::kMinimumPositions);
  }
  NotifyHistoryChanged();
  NotifyFavoritesChanged();
}

bool mivoActions::KeepDamagedFile(const std::u16string& path, mivoFileReadState* state) {
  if (*state != mivoFileReadState::kDamaged) return true;
  const std::u16string bad = path + u".bad";
  DeleteFileW(bad.c_str());
  if (!MoveFileW(path.c_str(), bad.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) return false;
  *state = mivoFileReadState::kComplete;
  return true;
}

bool mivoActions::SaveHistory() {
  const std::u16string path = DataFolder() + kHistoryFile;
  // What could not be read is kept aside before it is replaced; when even
  // that fails the file stays as it is.
  if (!KeepDamagedFile(path, &m_historyState)) return false;
  return fs::WriteFileIfChanged(path, SerializeHistory());
}

bool mivoActions::SaveFavorites() {
  const std::u16string path = DataFolder() + kFavoritesFile;
  if (!KeepDamagedFile(path, &m_favoritesState)) return false;
  return fs::WriteFileIfChanged(path, SerializeFavorites());
}

void mivoActions::SaveHistoryAndFavorites() {
  SaveHistory();
  SaveFavorites();
}

// ---- Listeners --------------------------------------------------------------------

void mivoActions::AddListener(mivoActionsListener* listener) {
  if (listener && std::find(m_listeners.begin(), m_listeners.end(), listener) == m_listeners.end()) {
    m_listeners.push_back(listener);
  }
}

void mivoActions::RemoveListener(mivoActionsListener* listener) { std::erase(m_listeners, listener); }

void mivoActions::NotifyHistoryChanged() {
  // A copy: a listener may remove itself while it is told.
  const std::vector<mivoActionsListener*> listeners = m_listeners;
  for (mivoActionsListener* l : listeners)
    if (std::find(m_listeners.begin(), m_listeners.end(), l) != m_listeners.end()) l->OnHistoryChanged();
}

void mivoActions::NotifyFavoritesChanged() {
  const std::vector<mivoActionsListener*> listeners = m_listeners;
  for (mivoActionsListener* l : listeners)
    if (std::find(m_listeners.begin(), m_listeners.end(), l) != m_listeners.end()) l->OnFavoritesChanged();
}

// ---- Services and images -------------------------------------------------------------

mivoContactDirectory* mivoActions::Contacts() {
  if (!m_contacts && m_pCore) m_pCore->GetOutlookStore();
  return m_contacts;
}

mivoSMSSender* mivoActions::SMSSender() {
  if (!m_smsSender && m_pCore) m_pCore->GetSMSStore();
  return m_smsSender;
}

mivoAppletInquiry* mivoActions::Applets() {
  if (!m_applets && m_pCore) m_pCore->GetControlPanelCatalogue();
  return m_applets;
}

mivoSkinImage* mivoActions::SkinImage(std::u16string_view name) {
  mivoAppearance* look = m_pCore ? m_pCore->GetAppearance() : nullptr;
  if (!look) return nullptr;
  mivoSkin* skin = look->GetSkin();
  // Pointers into a skin stay valid for the life of that skin.
  if (skin != m_imageSkin) {
    m_images.clear();
    m_imageSkin = skin;
  }
  if (auto it = m_images.find(name); it != m_images.end()) return it->second;
  mivoSkinImage* image = look->GetSkinImage(name);
  m_images.emplace(std::u16string(name), image);
  return image;
}
