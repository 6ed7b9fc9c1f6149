// mivoActions: the action factory, the actions history and the favourites,
// owned by the core. The core has it read its two files while it is built
// and write them when the program ends; the favourites are also written at
// every change, so a crash loses nothing the user arranged.
//
// The history: one entry per distinct action (the clone made at its first
// start) with the number of starts, most used first; among equal counts the
// entry that reached its count first stays ahead. The file "mivo_ah.dat"
// holds the entries in that order, most used first, each entry's record
// written `count` times in a row; reading it counts each record as one
// start again, which replays into exactly the same ranking and counts.
//
// The favourites: positions (at least nine), each an action or empty; the
// file "mivo_fav.dat" lists them in order.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "actions/action.h"

class CmivoPageWnd;
class mivoAppletInquiry;
class mivoContactDirectory;
class mivoSMSSender;

// One entry of the actions history.
class mivoHistoryEntry {
 public:
  mivoAction* Action() const { return m_action.get(); }
  int Count() const { return m_count; }

 private:
  friend class mivoActionsHistory;
  mivoHeldAction m_action;    // the clone made at the first start
  int m_count = 1;            // starts so far, at least 1
  std::uint64_t m_stamp = 0;  // when the count last changed: orders equal counts
  std::size_t m_position = 0; // index in the ranking
};

class mivoActionsHistory {
 public:
  std::size_t Count() const { return m_entries.size(); }
  // Null past the end.
  mivoHistoryEntry* Entry(std::size_t index) const {
    return index < m_entries.size() ? m_entries[index].get() : nullptr;
  }
  // The entry of the same action, or null.
  mivoHistoryEntry* Find(const mivoAction& action) const;
  // Counts one start of `action`: a new entry (holding a clone) at the end
  // of the ranking, or one more start of its entry, moved up past the
  // entries with fewer starts. *created tells which.
  mivoHistoryEntry* Record(const mivoAction& action, bool* created);
  // The same, taking an action nobody holds (the loader's freshly read one).
  mivoHistoryEntry* Record(std::unique_ptr<mivoAction> action, bool* created);
  // The number of starts over all entries (the log's length).
  std::uint64_t TotalStarts() const { return m_totalStarts; }

  // While a file is replayed the ranking is not kept up at every start: it
  // is sorted once at the end, giving the order the single starts would.
  void BeginReplay() { m_replaying = true; }
  void EndReplay();

  void Clear();

 private:
  static std::u16string KeyOf(const mivoAction& action);
  mivoHistoryEntry* Count(mivoHistoryEntry* entry);
  mivoHistoryEntry* Append(std::unique_ptr<mivoAction> action, std::u16string key);

  std::vector<std::unique_ptr<mivoHistoryEntry>> m_entries;         // the ranking
  std::unordered_map<std::u16string, mivoHistoryEntry*> m_index;    // type id + identity key -> entry
  std::uint64_t m_nextStamp = 1;                                    // stamps in order of starts
  std::uint64_t m_totalStarts = 0;                                  // the log's length
  bool m_replaying = false;                                         // inside BeginReplay/EndReplay
};

class mivoFavorites {
 public:
  static constexpr std::size_t kMinimumPositions = 9;

  std::size_t Count() const { return m_positions.size(); }
  // Null for an empty position or an index past the end.
  mivoAction* At(std::size_t index) const {
    return index < m_positions.size() ? m_positions[index].get() : nullptr;
  }
  // Inside the list: the held action (if any) is let go and `action` (null
  // empties the position) is stored. False for an index past the end.
  bool Set(std::size_t index, std::unique_ptr<mivoAction> action);
  bool Contains(const mivoAction& action) const;
  // Empties every position holding the same action; how many were emptied.
  int Remove(const mivoAction& action);
  void Append(std::unique_ptr<mivoAction> action) { m_positions.emplace_back(std::move(action)); }
  void PadTo(std::size_t count) {
    while (m_positions.size() < count) m_positions.emplace_back();
  }
  void Clear() { m_positions.clear(); }

 private:
  std::vector<mivoHeldAction> m_positions;  // empty holder = empty position
};

// Told of changes, so pages and gadgets that show the lists can follow.
class mivoActionsListener {
 public:
  virtual ~mivoActionsListener() = default;
  virtual void OnHistoryChanged() {}
  virtual void OnFavoritesChanged() {}
};

// How a file was read.
enum class mivoFileReadState {
  kMissing,    // no file: nothing to keep
  kComplete,   // read to its end marker
  kDamaged,    // there, but not read to its end marker: kept as ".bad" before it is replaced
};

class mivoActions {
 public:
  explicit mivoActions(mivoCore* core);
  ~mivoActions();
  mivoActions(const mivoActions&) = delete;
  mivoActions& operator=(const mivoActions&) = delete;

  // ---- Factory ----
  // A new action of the kind with its defaults, or null above 9.
  std::unique_ptr<mivoAction> CreateAction(DWORD typeId);
  // Reads one action record: the type id, then the kind's record. Null when
  // the stream failed (*failed set) or the type id is unknown (*typeId tells
  // which; the rest of that record is not skipped).
  std::unique_ptr<mivoAction> ReadActionRecord(mivoArchiveReader& in, DWORD* typeId, bool* failed);

  // ---- Running and recording ----
  // Executes the action (which stays with its caller), then records it.
  // Whatever Execute did (declined, failed) the start is recorded.
  void RunAction(mivoAction* action);
  void RecordAction(const mivoAction& action);

  mivoActionsHistory& History() { return m_history; }
  mivoFavorites& Favorites() { return m_favorites; }

  // ---- Favourites (each change is saved at once) ----
  bool SetFavorite(std::size_t index, std::unique_ptr<mivoAction> action);
  bool ContainsFavorite(const mivoAction& action) const { return m_favorites.Contains(action); }
  void RemoveFavorite(const mivoAction& action);

  // ---- Files ----
  // Reads both files from the data folder (the program folder); once, while
  // the core is built. Each file is read on its own.
  void LoadHistoryAndFavorites();
  // Writes both files. Destroys nothing: pages and gadgets may still show
  // the actions.
  void SaveHistoryAndFavorites();
  bool SaveHistory();
  bool SaveFavorites();
  // The file formats on bytes.
  mivoFileReadState ReadHistory(std::span<const std::uint8_t> bytes);
  mivoFileReadState ReadFavorites(std::span<const std::uint8_t> bytes);
  std::vector<std::uint8_t> SerializeHistory() const;
  std::vector<std::uint8_t> SerializeFavorites() const;
  mivoFileReadState HistoryReadState() const { return m_historyState; }
  mivoFileReadState FavoritesReadState() const { return m_favoritesState; }

  // The folder of the two files, ending with a backslash; the program folder
  // unless set (tools and tests).
  std::u16string DataFolder() const;
  void SetDataFolder(std::u16string folder) { m_dataFolder = std::move(folder); }
  static constexpr char16_t kHistoryFile[] = u"mivo_ah.dat";
  static constexpr char16_t kFavoritesFile[] = u"mivo_fav.dat";

  // ---- Listeners ----
  void AddListener(mivoActionsListener* listener);
  void RemoveListener(mivoActionsListener* listener);

  // ---- Services of other parts (see actions/services.h) ----
  // Each asks the core for its store first (stores are made on first use and
  // register themselves), then returns what was registered, or null.
  mivoContactDirectory* Contacts();
  mivoSMSSender* SMSSender();
  mivoAppletInquiry* Applets();
  // How a store registers itself when the core makes it: the Outlook store,
  // the SMS store and the control-panel catalogue, which later parts bring
  // (nothing calls these until those stores exist).
  void SetContactDirectory(mivoContactDirectory* directory) { m_contacts = directory; }
  void SetSMSSender(mivoSMSSender* sender) { m_smsSender = sender; }
  void SetAppletInquiry(mivoAppletInquiry* inquiry) { m_applets = inquiry; }
  // The registered directory without asking the core to make the store.
  mivoContactDirectory* ContactsIfOpen() const { return m_contacts; }
  // What makes the page a run-file action opens its folder in (a page that
  // implements mivoFolderViewer); without it, a document-list page.
  using FolderPageMaker = CmivoPageWnd* (*)(mivoCore* core);
  void SetFolderPageMaker(FolderPageMaker maker) { m_folderPageMaker = maker; }
  FolderPageMaker GetFolderPageMaker() const { return m_folderPageMaker; }

  // ---- Skin images of the actions, looked up once per skin ----
  mivoSkinImage* SkinImage(std::u16string_view name);

 private:
  // Keeps a file that was not read to its end as "<name>.bad" before it is
  // replaced; false when it could not be kept (the file is then not replaced).
  bool KeepDamagedFile(const std::u16string& path, mivoFileReadState* state);
  void NotifyHistoryChanged();
  void NotifyFavoritesChanged();

  mivoCore* m_pCore;                           // the owner; null in tools and tests
  std::u16string m_dataFolder;                 // empty: the program folder
  mivoActionsHistory m_history;
  mivoFavorites m_favorites;
  mivoFileReadState m_historyState = mivoFileReadState::kMissing;    // as loaded
  mivoFileReadState m_favoritesState = mivoFileReadState::kMissing;  // as loaded
  std::vector<mivoActionsListener*> m_listeners;
  mivoContactDirectory* m_contacts = nullptr;  // registered by the Outlook store
  mivoSMSSender* m_smsSender = nullptr;        // registered by the SMS store
  mivoAppletInquiry* m_applets = nullptr;      // registered by the control-panel catalogue
  FolderPageMaker m_folderPageMaker = nullptr; // the file explorer's page maker, once registered
  const void* m_imageSkin = nullptr;           // the skin the image cache was filled from
  std::map<std::u16string, mivoSkinImage*, std::less<>> m_images;  // by name
};
