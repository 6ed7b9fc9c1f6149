// Tables, property arrays and the snapshot of a contents table's rows.
#include <algorithm>
#include <cstring>
#include <mutex>
#include <unordered_map>

#include "platform/device/mapi_objects.h"
#include "platform/registry/change_watcher.h"
#include "platform/registry/database.h"
#include "platform/win32/text.h"

namespace mapi_impl {

namespace {

// Copies a text into MAPI memory tied to `parent`.
template <typename Char>
Char* CopyText(const std::basic_string<Char>& s, LPVOID parent) {
  LPVOID block = nullptr;
  if (MAPIAllocateMore(static_cast<ULONG>((s.size() + 1) * sizeof(Char)), parent, &block) != S_OK) return nullptr;
  auto* out = static_cast<Char*>(block);
  std::memcpy(out, s.data(), s.size() * sizeof(Char));
  out[s.size()] = 0;
  return out;
}

// Fills one SPropValue; texts and bytes go into memory tied to `parent`.
bool Fill(const msgdb::PropData& p, LPVOID parent, SPropValue* v) {
  v->ulPropTag = p.tag;
  v->dwAlignPad = 0;
  switch (PROP_TYPE(p.tag)) {
    case PT_I2: v->Value.i = static_cast<short>(p.i); return true;
    case PT_LONG: v->Value.l = static_cast<LONG>(p.i); return true;
    case PT_ERROR: v->Value.err = static_cast<SCODE>(p.i); return true;
    case PT_BOOLEAN: v->Value.b = p.i ? 1 : 0; return true;
    case PT_I8: v->Value.li = p.i; return true;
    case PT_SYSTIME:
      v->Value.ft.dwLowDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(p.i) & 0xFFFFFFFFu);
      v->Value.ft.dwHighDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(p.i) >> 32);
      return true;
    case PT_UNICODE: return (v->Value.lpszW = CopyText(p.s, parent)) != nullptr;
    case PT_STRING8: return (v->Value.lpszA = CopyText(text::ToUtf8(p.s), parent)) != nullptr;
    case PT_BINARY: {
      v->Value.bin.cb = static_cast<ULONG>(p.bin.size());
      LPVOID block = nullptr;
      if (MAPIAllocateMore(static_cast<ULONG>(p.bin.size()), parent, &block) != S_OK) return false;
      std::memcpy(block, p.bin.data(), p.bin.size());
      v->Value.bin.lpb = static_cast<LPBYTE>(block);
      return true;
    }
    default:
      v->ulPropTag = CHANGE_PROP_TYPE(p.tag, PT_ERROR);
      v->Value.err = MAPI_E_NOT_FOUND;
      return true;
  }
}

// Compares two values of a sort key's type.
int Compare(const msgdb::PropData& x, const msgdb::PropData& y, ULONG type) {
  if (type == PT_UNICODE || type == PT_STRING8) return x.s.compare(y.s);
  if (type == PT_BINARY) return x.bin.compare(y.bin);
  return x.i < y.i ? -1 : x.i > y.i ? 1 : 0;
}

}  // namespace

HRESULT MakePropArray(const std::vector<msgdb::PropData>& values, ULONG* count, LPSPropValue* props) {
  if (!count || !props) return MAPI_E_INVALID_PARAMETER;
  LPVOID block = nullptr;
  if (MAPIAllocateBuffer(static_cast<ULONG>(std::max<std::size_t>(values.size(), 1) * sizeof(SPropValue)), &block) !=
      S_OK)
    return MAPI_E_NOT_ENOUGH_MEMORY;
  auto* out = static_cast<LPSPropValue>(block);
  bool errors = false;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (!Fill(values[i], block, out + i)) {
      MAPIFreeBuffer(block);
      return MAPI_E_NOT_ENOUGH_MEMORY;
    }
    errors = errors || PROP_TYPE(values[i].tag) == PT_ERROR;
  }
  *count = static_cast<ULONG>(values.size());
  *props = out;
  return errors ? MAPI_W_ERRORS_RETURNED : S_OK;
}

msgdb::PropData Answer(ULONG requested, const msgdb::PropData* stored) {
  msgdb::PropData out;
  ULONG want = PROP_TYPE(requested);
  if (stored) {
    ULONG have = PROP_TYPE(stored->tag);
    bool textToText = (want == PT_STRING8 || want == PT_UNICODE) && (have == PT_STRING8 || have == PT_UNICODE);
    if (want == have || want == PT_UNSPECIFIED || textToText) {
      out = *stored;
      out.tag = want == PT_UNSPECIFIED ? stored->tag : requested;
      return out;
    }
  }
  out.tag = CHANGE_PROP_TYPE(requested, PT_ERROR);
  out.i = MAPI_E_NOT_FOUND;
  return out;
}

// ---- CTable ---------------------------------------------------------------------------------

HRESULT CTable::SetColumns(LPSPropTagArray lpPropTagArray, ULONG) {
  if (!lpPropTagArray) return MAPI_E_INVALID_PARAMETER;
  m_columns.assign(lpPropTagArray->aulPropTag, lpPropTagArray->aulPropTag + lpPropTagArray->cValues);
  return S_OK;
}

HRESULT CTable::SortTable(LPSSortOrderSet lpSortCriteria, ULONG) {
  if (!lpSortCriteria) return MAPI_E_INVALID_PARAMETER;
  m_sort.assign(lpSortCriteria->aSort, lpSortCriteria->aSort + lpSortCriteria->cSorts);
  if (m_loaded) {
    // A table that was read is sorted again and starts over.
    m_loaded = false;
    m_rows.clear();
  }
  m_cursor = 0;
  return S_OK;
}

void CTable::Load() {
  if (m_loaded) return;
  m_loaded = true;
  m_rows = m_loader();
  if (m_sort.empty()) return;
  auto less = [&](const std::shared_ptr<const TableRow>& a, const std::shared_ptr<const TableRow>& b) {
    for (const SSortOrder& key : m_sort) {
      msgdb::PropData x, y;
      bool hx = a->Prop(key.ulPropTag, &x), hy = b->Prop(key.ulPropTag, &y);
      // Rows without the property come last whichever way the table is sorted.
      if (hx != hy) return hx;
      if (!hx) continue;
      int c = Compare(x, y, PROP_TYPE(key.ulPropTag));
      if (c != 0) return key.ulOrder == TABLE_SORT_DESCEND ? c > 0 : c < 0;
    }
    return false;
  };
  // The loaders read in the order tables are usually asked for: then there
  // is nothing to sort.
  if (!std::is_sorted(m_rows.begin(), m_rows.end(), less)) std::stable_sort(m_rows.begin(), m_rows.end(), less);
}

HRESULT CTable::QueryRows(LONG lRowCount, ULONG, LPSRowSet* lppRows) {
  if (!lppRows || lRowCount < 0) return MAPI_E_INVALID_PARAMETER;
  *lppRows = nullptr;
  if (!Db()) return MAPI_E_CALL_FAILED;
  Load();
  std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(lRowCount), m_rows.size() - m_cursor);
  LPVOID block = nullptr;
  std::size_t bytes = offsetof(SRowSet, aRow) + std::max<std::size_t>(n, 1) * sizeof(SRow);
  if (MAPIAllocateBuffer(static_cast<ULONG>(bytes), &block) != S_OK) return MAPI_E_NOT_ENOUGH_MEMORY;
  auto* set = static_cast<LPSRowSet>(block);
  set->cRows = 0;
  std::vector<msgdb::PropData> values(m_columns.size());
  for (std::size_t r = 0; r < n; ++r) {
    const TableRow& row = *m_rows[m_cursor + r];
    for (std::size_t c = 0; c < m_columns.size(); ++c) {
      msgdb::PropData stored;
      values[c] =
          Answer(m_columns[c], row.Prop(CHANGE_PROP_TYPE(m_columns[c], PT_UNSPECIFIED), &stored) ? &stored : nullptr);
    }
    SRow* out = set->aRow + r;
    out->ulAdrEntryPad = 0;
    HRESULT hr = MakePropArray(values, &out->cValues, &out->lpProps);
    if (FAILED(hr)) {
      FreeProws(set);
      return hr;
    }
    set->cRows = static_cast<ULONG>(r + 1);
  }
  m_cursor += n;
  *lppRows = set;
  return S_OK;
}

HRESULT CTable::GetRowCount(ULONG, ULONG* lpulCount) {
  if (!lpulCount) return MAPI_E_INVALID_PARAMETER;
  Load();
  *lpulCount = static_cast<ULONG>(m_rows.size());
  return S_OK;
}

// ---- Snapshots ------------------------------------------------------------------------------------

namespace {

std::mutex g_snapshotMutex;
std::unordered_map<std::int64_t, std::shared_ptr<msgdb::MessageRow>> g_snapshot;  // by message id
Stamp g_snapshotStamp;                                                            // MessagesStamp() when it was taken
std::uint64_t g_snapshotDatabase = 0;                                             // the device database it came from

}  // namespace

std::int64_t FreshnessStamp() {
  if (devdb::ChangeWatcherActive()) return -static_cast<std::int64_t>(devdb::ChangeGeneration());
  devdb::Database* db = devdb::DeviceDatabase();
  return db ? db->DataVersion() : 0;
}

void RememberRows(const std::vector<std::shared_ptr<msgdb::MessageRow>>& rows) {
  std::lock_guard<std::mutex> lock(g_snapshotMutex);
  g_snapshot.clear();
  g_snapshot.reserve(rows.size());
  for (const auto& row : rows) g_snapshot.emplace(row->id, row);
  g_snapshotStamp = MessagesStamp();
  g_snapshotDatabase = devdb::DeviceDatabaseGeneration();
}

std::shared_ptr<msgdb::MessageRow> RememberedRow(std::int64_t id) {
  std::lock_guard<std::mutex> lock(g_snapshotMutex);
  if (g_snapshot.empty()) return nullptr;
  if (g_snapshotDatabase != devdb::DeviceDatabaseGeneration() || !(g_snapshotStamp == MessagesStamp())) {
    g_snapshot.clear();
    return nullptr;
  }
  auto it = g_snapshot.find(id);
  return it == g_snapshot.end() ? nullptr : it->second;
}

void ForgetRows() {
  std::lock_guard<std::mutex> lock(g_snapshotMutex);
  g_snapshot.clear();
}

}  // namespace mapi_impl
