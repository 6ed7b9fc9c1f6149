#include "pim/sms_folder.h"

#include <algorithm>

#include "pim/sms_store.h"

mivoSMSFolder::mivoSMSFolder(mivoSMSStore* store, LPMAPIFOLDER folder, ULONG tag)
    : m_pStore(store), m_pFolder(folder), m_tag(tag) {
  if (!m_pFolder) return;
  SizedSPropTagArrayT<1> tags{1, {PR_ENTRYID}};
  ULONG count = 0;
  LPSPropValue props = nullptr;
  if (SUCCEEDED(m_pFolder->GetProps(tags.get(), 0, &count, &props)) && count == 1 && props[0].ulPropTag == PR_ENTRYID)
    m_entryId.assign(reinterpret_cast<const char*>(props[0].Value.bin.lpb), props[0].Value.bin.cb);
  MAPIFreeBuffer(props);
}

mivoSMSFolder::~mivoSMSFolder() {
  m_messages.clear();
  m_removed.clear();
  if (m_pFolder) m_pFolder->Release();
}

mivoSMSMessage* mivoSMSFolder::GetAt(std::size_t index) const {
  return index < m_messages.size() ? m_messages[index].get() : nullptr;
}

mivoSMSMessage* mivoSMSFolder::FindMessage(const std::string& entryId) const {
  if (!m_ids.count(entryId)) return nullptr;
  for (const auto& m : m_messages)
    if (m->EntryId() == entryId) return m.get();
  return nullptr;
}

int mivoSMSFolder::GetUnreadCount() const {
  int unread = 0;
  for (const auto& m : m_messages) unread += m->IsRead() ? 0 : 1;
  return unread;
}

// The identifiers are compared as the session compares them (byte for
// byte), through a set, so a large folder loads in one pass.
bool mivoSMSFolder::Keep(std::unique_ptr<mivoSMSMessage> message, bool atFront) {
  if (!message->IsUsable() || m_ids.count(message->EntryId())) return false;
  m_ids.insert(message->EntryId());
  if (atFront)
    m_messages.insert(m_messages.begin(), std::move(message));
  else
    m_messages.push_back(std::move(message));
  return true;
}

void mivoSMSFolder::LoadMessages() {
  if (!m_pFolder) return;
  LPMAPISESSION session = m_pStore ? m_pStore->Session() : nullptr;
  if (!session) return;
  m_loading = true;
  LPMAPITABLE table = nullptr;
  SSortOrderSet sort{1, 0, 0, {{PR_MESSAGE_DELIVERY_TIME, TABLE_SORT_DESCEND}}};
  SizedSPropTagArrayT<2> columns{2, {PR_ENTRYID, PR_MESSAGE_CLASS}};
  if (SUCCEEDED(m_pFolder->GetContentsTable(0, &table)) && SUCCEEDED(table->SortTable(&sort, 0)) &&
      SUCCEEDED(table->SetColumns(columns.get(), 0))) {
    for (;;) {
      LPSRowSet rows = nullptr;
      if (FAILED(table->QueryRows(1, 0, &rows)) || !rows || rows->cRows == 0) {
        FreeProws(rows);
        break;
      }
      const SRow& row = rows->aRow[0];
      bool sms = row.cValues == 2 && row.lpProps[1].ulPropTag == PR_MESSAGE_CLASS &&
                 std::u16string_view(row.lpProps[1].Value.lpszW) == u"IPM.SMStext" &&
                 row.lpProps[0].ulPropTag == PR_ENTRYID;
      if (sms) {
        const SBinary& id = row.lpProps[0].Value.bin;
        ULONG type = 0;
        LPUNKNOWN object = nullptr;
        if (SUCCEEDED(session->OpenEntry(id.cb, reinterpret_cast<LPENTRYID>(id.lpb), nullptr, MAPI_BEST_ACCESS, &type,
                                         &object)) &&
            object) {
          if (type == MAPI_MESSAGE)
            Keep(std::make_unique<mivoSMSMessage>(m_pStore, this, static_cast<LPMESSAGE>(object)), false);
          else
            object->Release();
        }
      }
      FreeProws(rows);
    }
  }
  if (table) table->Release();
  m_loading = false;
}

void mivoSMSFolder::AddMessageById(const std::string& entryId) {
  LPMAPISESSION session = m_pStore ? m_pStore->Session() : nullptr;
  if (!session || entryId.empty()) return;
  ULONG type = 0;
  LPUNKNOWN object = nullptr;
  std::string id = entryId;
  if (FAILED(session->OpenEntry(static_cast<ULONG>(id.size()), reinterpret_cast<LPENTRYID>(id.data()), nullptr,
                                MAPI_BEST_ACCESS, &type, &object)) ||
      !object)
    return;
  if (type != MAPI_MESSAGE) {
    object->Release();
    return;
  }
  // A message the folder already shows (announced twice) is not added again.
  if (!Keep(std::make_unique<mivoSMSMessage>(m_pStore, this, static_cast<LPMESSAGE>(object)), true)) return;
  OnOutlookItemAdded(kOutlookSourceSMS, m_messages.front().get());
}

void mivoSMSFolder::RemoveMessage(mivoSMSMessage* message) {
  auto it = std::find_if(m_messages.begin(), m_messages.end(), [&](const auto& m) { return m.get() == message; });
  if (it == m_messages.end()) return;
  // Out of the list first, so listeners that fill again from the folder no
  // longer see it; the object itself stays valid for them.
  std::unique_ptr<mivoSMSMessage> gone = std::move(*it);
  m_messages.erase(it);
  m_ids.erase(gone->EntryId());
  gone->DetachFromFolder();
  m_removed.push_back(std::move(gone));
  message->OnOutlookListChanged(kOutlookSourceSMS, message);
  OnOutlookListChanged(kOutlookSourceSMS, message);
}
