// The MAPI objects behind mapi.h (internal to platform/device).
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/device/com_object.h"
#include "platform/device/mapi.h"
#include "platform/device/message_db.h"

namespace mapi_impl {

using comimpl::ComBase;

// Builds a property array in MAPI memory from values; a value with tag type
// PT_ERROR carries its error in `i`.
HRESULT MakePropArray(const std::vector<msgdb::PropData>& values, ULONG* count, LPSPropValue* props);
// The value of one requested tag, in the type asked for (PT_STRING8 turns a
// text into UTF-8, PT_UNSPECIFIED takes the stored type); false leaves the
// error value MAPI_E_NOT_FOUND.
msgdb::PropData Answer(ULONG requested, const msgdb::PropData* stored);

// One row of a table: answers the columns it has.
class TableRow {
 public:
  virtual ~TableRow() = default;
  virtual bool Prop(ULONG tag, msgdb::PropData* out) const = 0;
};

// A table over rows loaded at the first read: columns, sorting and a cursor.
class CTable : public ComBase<IMAPITable> {
 public:
  using Loader = std::function<std::vector<std::shared_ptr<const TableRow>>()>;
  CTable(std::vector<ULONG> columns, Loader loader) : m_columns(std::move(columns)), m_loader(std::move(loader)) {}

  HRESULT SetColumns(LPSPropTagArray lpPropTagArray, ULONG ulFlags) override;
  HRESULT SortTable(LPSSortOrderSet lpSortCriteria, ULONG ulFlags) override;
  HRESULT QueryRows(LONG lRowCount, ULONG ulFlags, LPSRowSet* lppRows) override;
  HRESULT GetRowCount(ULONG ulFlags, ULONG* lpulCount) override;

 protected:
  bool Answers(REFIID iid) const override { return iid == IID_IMAPITable; }

 private:
  void Load();

  std::vector<ULONG> m_columns;                         // the columns QueryRows returns
  std::vector<SSortOrder> m_sort;                       // the sort order asked for
  Loader m_loader;                                      // reads the rows
  bool m_loaded = false;                                // the rows have been read
  std::vector<std::shared_ptr<const TableRow>> m_rows;  // in the table's order
  std::size_t m_cursor = 0;                             // the next row QueryRows returns
};

// ---- Message snapshots ----------------------------------------------------------------
// A contents table's rows serve the OpenEntry calls that follow it without a
// query each, while the database has not changed since.

// Whether what was read may have changed since: while advise sinks are
// registered the change log is followed and each message keeps its own
// count of changes; otherwise any commit to the database counts.
struct Stamp {
  bool tracked = false;
  std::int64_t value = 0;
  bool operator==(const Stamp&) const = default;
};
Stamp MessageStamp(std::int64_t id);
// Any message of any folder.
Stamp MessagesStamp();
// A stamp that changes whenever the database may have changed.
std::int64_t FreshnessStamp();
void RememberRows(const std::vector<std::shared_ptr<msgdb::MessageRow>>& rows);
std::shared_ptr<msgdb::MessageRow> RememberedRow(std::int64_t id);
void ForgetRows();

// ---- Objects ------------------------------------------------------------------------------

HRESULT OpenStore(std::int64_t id, LPMDB* store);
HRESULT OpenFolder(std::int64_t id, LPMAPIFOLDER* folder);
HRESULT OpenMessage(std::int64_t id, bool writable, LPMESSAGE* message);
// Opens what an entry identifier names; store = 0 for any store.
HRESULT OpenAnyEntry(ULONG cb, LPENTRYID entry, std::int64_t store, ULONG flags, ULONG* type, LPUNKNOWN* object);
HRESULT NewMessage(std::int64_t folder, LPMESSAGE* message);
std::int64_t StoreOfFolder(std::int64_t folder);
// The database's connection of this process; null when no device is open.
sqlite3* Db();

// ---- Advise -------------------------------------------------------------------------------

HRESULT Advise(std::int64_t store, ULONG cbEntryID, LPENTRYID entry, ULONG mask, LPMAPIADVISESINK sink,
               ULONG* connection);
HRESULT Unadvise(ULONG connection);

// The transport's answer to a submission (mapi_message.cpp).
HRESULT Transmit(std::int64_t message);

}  // namespace mapi_impl
