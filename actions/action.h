// mivoAction: the unit of anything the user can start. Every tappable menu
// entry, favourite, history entry and action gadget holds one. An action
// stores itself as a record (type id, a reserved flag byte, the kind's
// fields), compares itself with another action of its kind, executes itself
// with the confirmations the settings ask for, and draws itself as a list
// row, a tile or an icon.
//
// Ownership: a holder (a favourites position, a history entry, a page row, a
// gadget) registers with AddOwner and lets go with ReleaseOwner; the action
// deletes itself when its last holder lets go. An action nobody holds yet
// (just created or cloned) belongs to whoever made it, usually in a
// std::unique_ptr; mivoHeldAction below does the bookkeeping for a holder.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/types.h"

class CmivoContextMenu;
class mivoArchiveReader;
class mivoArchiveWriter;
class mivoCore;
class mivoHistoryEntry;
class mivoSkinImage;

// Type ids of the stored record.
enum : DWORD {
  kActionMakeCall = 0,
  kActionControlPanel = 1,
  kActionExecuteFile = 2,
  kActionWriteSMS = 3,
  kActionOffice = 4,
  kActionWriteEmail = 5,
  kActionShowPage = 6,
  kActionContact = 7,
  kActionSubMenu = 8,
  kActionHelpTutorial = 9,
  kActionTypeCount = 10,
};

// Drawing styles of Draw.
constexpr int kActionStyleRow = 0;   // icon, title and subtitle in a row
constexpr int kActionStyleTile = 1;  // large icon with the title under it
constexpr int kActionStyleIcon = 2;  // the icon alone

class mivoAction {
 public:
  mivoAction(mivoCore* core, DWORD typeId) : m_pCore(core), m_typeId(typeId) {}
  virtual ~mivoAction() = default;
  mivoAction(const mivoAction&) = delete;
  mivoAction& operator=(const mivoAction&) = delete;

  // ---- The kind's operations, in the family's order ----
  // Reads the kind's stored fields; false when the stream failed.
  virtual bool Load(mivoArchiveReader& in) = 0;
  virtual void Save(mivoArchiveWriter& out) const = 0;
  // Whether `other` (of the same type id: callers compare ids first)
  // denotes the same thing.
  virtual bool IsEqual(const mivoAction& other) const = 0;
  // Copies core, flag and the kind's fields (never the owners).
  virtual void CopyFrom(const mivoAction& other);
  virtual void Execute() = 0;
  // Called once, when the action becomes a new entry of the actions history.
  virtual void OnHistoryEntryCreated(mivoHistoryEntry* entry) {}
  virtual std::u16string GetTitle() = 0;
  // Draws the action in a style (kActionStyle*) into the rectangle; imageMode
  // is the skin drawing mode for the background it sits on (2 plain, 3
  // selected). A row shows `subtitle` under the title when one is given (the
  // history's "Used 3x"), in place of the action's own.
  virtual void Draw(HDC dc, const RECT& rect, int style, int imageMode, std::u16string_view subtitle = {}) = 0;
  // Adds the handlers of the action's own tap-and-hold entries.
  virtual void AddContextMenuHandlers(CmivoContextMenu* menu) {}
  // A new action of the same kind with the same fields, held by nobody.
  virtual std::unique_ptr<mivoAction> Clone() const = 0;
  // Appends the skin images the action's drawing uses.
  virtual void CollectImages(std::vector<mivoSkinImage*>& images) {}
  virtual std::u16string GetHelpText() { return {}; }

  // A text that is equal for two actions exactly when IsEqual says they are
  // the same (the type id is not part of it). The history finds an action's
  // entry by it, so recording stays fast however long the history grows.
  virtual std::u16string IdentityKey() const = 0;

  // ---- The stored record ----
  // Type id, flag byte, then the kind's fields.
  void SaveRecord(mivoArchiveWriter& out) const;
  // The flag byte and the kind's fields; the caller has read the type id.
  bool LoadRecord(mivoArchiveReader& in);
  // True when `other` is the same action: same type id and IsEqual.
  bool IsSame(const mivoAction& other) const;

  // ---- Holders ----
  // Registers a holder: it becomes the last owner and is listed once,
  // however often it registers; every registration counts in HoldCount.
  void AddOwner(const void* holder);
  // The holder lets go of the action: its entry leaves the owners (the last
  // entry when the holder is not listed). When no holder is left the action
  // deletes itself and the caller must not touch it again; returns true then.
  bool ReleaseOwner(const void* holder);
  std::size_t OwnerCount() const { return m_owners.size(); }
  const void* LastOwner() const { return m_lastOwner; }
  int HoldCount() const { return m_holdCount; }

  DWORD TypeId() const { return m_typeId; }
  std::uint8_t Flag() const { return m_flag; }
  void SetFlag(std::uint8_t flag) { m_flag = flag; }

 protected:
  mivoCore* m_pCore;             // never owned
  std::uint8_t m_flag = 0;       // the record's reserved byte, carried as read

 private:
  const DWORD m_typeId;                 // set at construction, never changed
  std::vector<const void*> m_owners;    // the holders, each once, in order of registration
  const void* m_lastOwner = nullptr;    // the most recent holder
  int m_holdCount = 0;                  // how often the action was handed to a holder
};

// A holder's reference to an action: registers itself as the action's owner
// and lets go when reset or destroyed (deleting the action when it was the
// last holder).
class mivoHeldAction {
 public:
  mivoHeldAction() = default;
  // Takes an action nobody holds yet.
  explicit mivoHeldAction(std::unique_ptr<mivoAction> action) { Reset(action.release()); }
  ~mivoHeldAction() { Reset(nullptr); }
  mivoHeldAction(const mivoHeldAction&) = delete;
  mivoHeldAction& operator=(const mivoHeldAction&) = delete;
  mivoHeldAction(mivoHeldAction&& other) noexcept { TakeFrom(other); }
  mivoHeldAction& operator=(mivoHeldAction&& other) noexcept {
    if (this != &other) {
      Reset(nullptr);
      TakeFrom(other);
    }
    return *this;
  }

  // Lets go of the current action and holds `action` (which may already be
  // held by others: the holding is then shared).
  void Reset(mivoAction* action) {
    if (action) action->AddOwner(this);
    mivoAction* old = m_action;
    m_action = action;
    if (old) old->ReleaseOwner(this);
  }
  void Reset(std::unique_ptr<mivoAction> action) { Reset(action.release()); }

  mivoAction* get() const { return m_action; }
  mivoAction* operator->() const { return m_action; }
  mivoAction& operator*() const { return *m_action; }
  explicit operator bool() const { return m_action != nullptr; }

 private:
  // The holding passes from `other` to this (empty) holder.
  void TakeFrom(mivoHeldAction& other) {
    mivoAction* a = other.m_action;
    if (!a) return;
    a->AddOwner(this);
    other.m_action = nullptr;
    a->ReleaseOwner(&other);
    m_action = a;
  }

  mivoAction* m_action = nullptr;
};
