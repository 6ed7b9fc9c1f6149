// Messaging on device.db: the SMS store and its folders, contents tables,
// message properties, submission and advise sinks (also for changes that
// mivo-device makes as another process).
#include <gtest/gtest.h>

#include "platform/device/device.h"
#include "platform/device/message_db.h"
#include "platform/device/pim_db.h"
#include "platform/device/sms_network.h"
#include "platform/registry/change_watcher.h"
#include "platform/registry/database.h"
#include "platform/registry/registry.h"
#include "tests/device/device_fixture.h"
#include "tests/device/mapi_support.h"
#include "tests/tools/run_tool.h"

using mapitest::Binary;
using mapitest::Long;
using mapitest::Text;

namespace {

constexpr std::int64_t kStart = 1268643900000;  // 2010-03-15 09:05 UTC

class MessagingTest : public devicetest::DeviceTest {
 protected:
  MessagingTest() : DeviceTest(Unprovisioned()) {}
  void SetUp() override {
    DeviceTest::SetUp();
    ASSERT_EQ(MAPIInitialize(nullptr), S_OK);
    ASSERT_EQ(MAPILogonEx(0, nullptr, nullptr, 0, &session), S_OK);
  }
  void TearDown() override {
    if (store) store->Release();
    if (session) session->Release();
    MAPIUninitialize();
    DeviceTest::TearDown();
  }

  // The store named "SMS", found as the SMS store looks for it.
  LPMDB OpenSmsStore() {
    LPMAPITABLE table = nullptr;
    EXPECT_EQ(session->GetMsgStoresTable(0, &table), S_OK);
    SizedSPropTagArrayT<2> columns{2, {PR_DISPLAY_NAME, PR_ENTRYID}};
    EXPECT_EQ(table->SetColumns(columns.get(), 0), S_OK);
    for (;;) {
      LPSRowSet rows = nullptr;
      if (FAILED(table->QueryRows(1, 0, &rows)) || rows->cRows == 0) {
        FreeProws(rows);
        break;
      }
      names.push_back(rows->aRow[0].lpProps[0].Value.lpszW);
      if (names.back() == u"SMS") {
        SBinary& id = rows->aRow[0].lpProps[1].Value.bin;
        EXPECT_EQ(session->OpenMsgStore(0, id.cb, reinterpret_cast<LPENTRYID>(id.lpb), nullptr, 0, &store), S_OK);
      }
      FreeProws(rows);
    }
    table->Release();
    return store;
  }

  LPMAPIFOLDER OpenFolder(ULONG tag) {
    std::string id = Binary(store, tag);
    ULONG type = 0;
    LPUNKNOWN object = nullptr;
    if (id.empty() ||
        store->OpenEntry(static_cast<ULONG>(id.size()), reinterpret_cast<LPENTRYID>(id.data()), nullptr, 0, &type,
                         &object) != S_OK ||
        type != MAPI_FOLDER)
      return nullptr;
    return static_cast<LPMAPIFOLDER>(object);
  }

  LPMESSAGE OpenMessage(const std::string& id, ULONG flags = MAPI_BEST_ACCESS) {
    ULONG type = 0;
    LPUNKNOWN object = nullptr;
    HRESULT hr =
        session->OpenEntry(static_cast<ULONG>(id.size()), reinterpret_cast<LPENTRYID>(const_cast<char*>(id.data())),
                           nullptr, flags, &type, &object);
    return hr == S_OK && type == MAPI_MESSAGE ? static_cast<LPMESSAGE>(object) : nullptr;
  }

  std::int64_t Deliver(const char16_t* from, const char16_t* text, std::int64_t at) {
    std::string error;
    std::int64_t id = device::DeliverSMS(from, text, at, &error);
    EXPECT_NE(id, 0) << error;
    return id;
  }

  DWORD Unread() {
    DWORD n = 0;
    reg::GetDword(HKEY_CURRENT_USER, u"System\\State\\Messages\\SMS\\Unread", u"Count", &n);
    return n;
  }

  LPMAPISESSION session = nullptr;
  LPMDB store = nullptr;
  std::vector<std::u16string> names;
};

TEST_F(MessagingTest, TheSmsStoreIsFoundInTheStoresTableWithItsSpecialFolders) {
  ASSERT_NE(OpenSmsStore(), nullptr);
  EXPECT_EQ(names, (std::vector<std::u16string>{u"ActiveSync", u"SMS"}));
  EXPECT_EQ(Text(store, PR_DISPLAY_NAME), u"SMS");
  std::vector<std::string> ids;
  for (ULONG tag : {PR_CE_IPM_INBOX_ENTRYID, PR_CE_IPM_DRAFTS_ENTRYID, PR_IPM_OUTBOX_ENTRYID, PR_IPM_SENTMAIL_ENTRYID,
                    PR_IPM_WASTEBASKET_ENTRYID}) {
    LPMAPIFOLDER folder = OpenFolder(tag);
    ASSERT_NE(folder, nullptr) << std::hex << tag;
    ids.push_back(Binary(folder, PR_ENTRYID));
    EXPECT_EQ(ids.back(), Binary(store, tag));
    folder->Release();
  }
  EXPECT_EQ(ids[0].size(), 16u);
  EXPECT_NE(ids[0], ids[1]);

  // A property the store lacks comes back as an error value in its place.
  SizedSPropTagArrayT<2> tags{2, {PR_DISPLAY_NAME, PR_SUBJECT}};
  ULONG count = 0;
  LPSPropValue props = nullptr;
  EXPECT_EQ(store->GetProps(tags.get(), 0, &count, &props), MAPI_W_ERRORS_RETURNED);
  ASSERT_EQ(count, 2u);
  EXPECT_EQ(props[1].ulPropTag, CHANGE_PROP_TYPE(PR_SUBJECT, PT_ERROR));
  EXPECT_EQ(props[1].Value.err, MAPI_E_NOT_FOUND);
  MAPIFreeBuffer(props);

  // Identifiers that name nothing, or are not identifiers at all.
  ULONG type = 0;
  LPUNKNOWN object = nullptr;
  std::string gone = msgdb::MakeEntryId(msgdb::EntryKind::kMessage, 999);
  EXPECT_EQ(session->OpenEntry(16, reinterpret_cast<LPENTRYID>(gone.data()), nullptr, 0, &type, &object),
            MAPI_E_NOT_FOUND);
  std::string junk = "not an entry id";
  EXPECT_EQ(session->OpenEntry(static_cast<ULONG>(junk.size()), reinterpret_cast<LPENTRYID>(junk.data()), nullptr, 0,
                               &type, &object),
            MAPI_E_INVALID_ENTRYID);
  ULONG same = 0;
  EXPECT_EQ(session->CompareEntryIDs(16, reinterpret_cast<LPENTRYID>(ids[0].data()), 16,
                                     reinterpret_cast<LPENTRYID>(ids[0].data()), 0, &same),
            S_OK);
  EXPECT_TRUE(same);
}

TEST_F(MessagingTest, AContentsTableGivesTheMessagesNewestFirstWithTheirClass) {
  ASSERT_NE(OpenSmsStore(), nullptr);
  Deliver(u"+420 603 111 222", u"second", kStart + 60000);
  Deliver(u"+420 603 111 222", u"third", kStart + 120000);
  Deliver(u"+420 603 111 222", u"first", kStart);
  {
    // An e-mail that strayed into the SMS Inbox.
    devdb::Database* db = devdb::DeviceDatabase();
    std::lock_guard<std::recursive_mutex> lock(db->mutex());
    ASSERT_TRUE(
        db->Exec("INSERT INTO messages(folder, class, subject, delivery_time) VALUES (6, 'IPM.Note', 'mail', 0)"));
  }
  LPMAPIFOLDER inbox = OpenFolder(PR_CE_IPM_INBOX_ENTRYID);
  ASSERT_NE(inbox, nullptr);
  LPMAPITABLE table = nullptr;
  ASSERT_EQ(inbox->GetContentsTable(0, &table), S_OK);
  SSortOrderSet sort{1, 0, 0, {{PR_MESSAGE_DELIVERY_TIME, TABLE_SORT_DESCEND}}};
  ASSERT_EQ(table->SortTable(&sort, 0), S_OK);
  SizedSPropTagArrayT<2> columns{2, {PR_ENTRYID, PR_MESSAGE_CLASS}};
  ASSERT_EQ(table->SetColumns(columns.get(), 0), S_OK);
  std::vector<std::u16string> bodies, classes;
  for (;;) {
    LPSRowSet rows = nullptr;
    ASSERT_EQ(table->QueryRows(1, 0, &rows), S_OK);
    if (rows->cRows == 0) {
      FreeProws(rows);
      break;
    }
    classes.push_back(rows->aRow[0].lpProps[1].Value.lpszW);
    SBinary& id = rows->aRow[0].lpProps[0].Value.bin;
    LPMESSAGE m = OpenMessage(std::string(reinterpret_cast<char*>(id.lpb), id.cb));
    ASSERT_NE(m, nullptr);
    bodies.push_back(Text(m, PR_SUBJECT));
    m->Release();
    FreeProws(rows);
  }
  EXPECT_EQ(bodies, (std::vector<std::u16string>{u"third", u"second", u"first", u"mail"}));
  EXPECT_EQ(classes[0], u"IPM.SMStext");
  EXPECT_EQ(classes[3], u"IPM.Note");
  table->Release();
  inbox->Release();
}

TEST_F(MessagingTest, MarkingAMessageReadIsSavedAndCountedOnce) {
  ASSERT_NE(OpenSmsStore(), nullptr);
  device::ContactRecord anna;
  anna.firstName = u"Anna";
  anna.lastName = u"Nováková";
  anna.mobile = u"+420 603 111 222";
  ASSERT_NE(device::AddContact(&anna), 0);
  std::int64_t id = Deliver(u"420603111222", u"Ahoj", kStart);
  Deliver(u"+420 776 920 114", u"Ciao", kStart + 1000);
  EXPECT_EQ(Unread(), 2u);

  LPMESSAGE m = OpenMessage(msgdb::MakeEntryId(msgdb::EntryKind::kMessage, id));
  ASSERT_NE(m, nullptr);
  // A sender known to the contacts is named by them.
  EXPECT_EQ(Text(m, PR_SENDER_NAME), u"Anna Nováková");
  EXPECT_EQ(Text(m, PR_SENDER_EMAIL_ADDRESS), u"420603111222");
  EXPECT_EQ(Long(m, PR_MESSAGE_FLAGS) & MSGFLAG_READ, 0);
  auto delivered = mapitest::Prop(m, PR_MESSAGE_DELIVERY_TIME);
  ASSERT_TRUE(delivered);
  EXPECT_EQ(msgdb::TicksToUnixMs((static_cast<std::int64_t>(delivered->Value.ft.dwHighDateTime) << 32) |
                                 delivered->Value.ft.dwLowDateTime),
            kStart);
  for (int i = 0; i < 2; ++i) {
    SPropValue flags{PR_MESSAGE_FLAGS, 0, {}};
    flags.Value.l = Long(m, PR_MESSAGE_FLAGS) | MSGFLAG_READ;
    ASSERT_EQ(m->SetProps(1, &flags, nullptr), S_OK);
    ASSERT_EQ(m->SaveChanges(KEEP_OPEN_READWRITE), S_OK);
    EXPECT_EQ(Unread(), 1u);
  }
  m->Release();
  // Read again from the database by a new object.
  m = OpenMessage(msgdb::MakeEntryId(msgdb::EntryKind::kMessage, id), 0);
  EXPECT_EQ(Long(m, PR_MESSAGE_FLAGS) & MSGFLAG_READ, MSGFLAG_READ);
  // Opened without write access: no changes.
  SPropValue subject{PR_SUBJECT, 0, {}};
  subject.Value.lpszW = const_cast<char16_t*>(u"changed");
  EXPECT_EQ(m->SetProps(1, &subject, nullptr), MAPI_E_NO_ACCESS);
  m->Release();
}

// The SMS store's own way of sending: a message made in the Outbox, sent to
// the Sent folder.
HRESULT Send(LPMDB store, LPMAPIFOLDER outbox, const char16_t* number, const char16_t* body, std::int64_t* id) {
  LPMESSAGE m = nullptr;
  if (outbox->CreateMessage(nullptr, 0, &m) != S_OK) return E_FAIL;
  std::string sent = Binary(store, PR_IPM_SENTMAIL_ENTRYID);
  SPropValue props[6] = {};
  props[0].ulPropTag = PR_MESSAGE_FLAGS;
  props[0].Value.l = MSGFLAG_UNSENT | MSGFLAG_FROMME;
  props[1].ulPropTag = PR_SENTMAIL_ENTRYID;
  props[1].Value.bin = {static_cast<ULONG>(sent.size()), reinterpret_cast<LPBYTE>(sent.data())};
  props[2].ulPropTag = PR_MESSAGE_CLASS;
  props[2].Value.lpszW = const_cast<char16_t*>(u"IPM.SMStext");
  props[3].ulPropTag = PR_ORIGINATOR_DELIVERY_REPORT_REQUESTED;
  props[3].Value.b = 1;
  props[4].ulPropTag = PR_MSG_STATUS;
  props[4].Value.l = MSGSTATUS_RECTYPE_SMS;
  props[5].ulPropTag = PR_SUBJECT;
  props[5].Value.lpszW = const_cast<char16_t*>(body);
  m->SetProps(*body ? 6 : 5, props, nullptr);
  SPropValue to[3] = {};
  to[0].ulPropTag = PR_RECIPIENT_TYPE;
  to[0].Value.l = MAPI_TO;
  to[1].ulPropTag = PR_ADDRTYPE;
  to[1].Value.lpszW = const_cast<char16_t*>(u"SMS");
  to[2].ulPropTag = PR_EMAIL_ADDRESS;
  to[2].Value.lpszW = const_cast<char16_t*>(number);
  ADRLIST list{1, {{0, 3, to}}};
  m->ModifyRecipients(MODRECIP_ADD, &list);
  m->SaveChanges(KEEP_OPEN_READONLY);
  HRESULT hr = m->SubmitMessage(0);
  msgdb::EntryKind kind;
  std::string entry = Binary(m, PR_ENTRYID);
  msgdb::ParseEntryId(entry.data(), static_cast<ULONG>(entry.size()), &kind, id);
  m->Release();
  return hr;
}

TEST_F(MessagingTest, ASubmittedMessageGoesToSentAndAFailedOneStaysInTheOutbox) {
  ASSERT_NE(OpenSmsStore(), nullptr);
  LPMAPIFOLDER outbox = OpenFolder(PR_IPM_OUTBOX_ENTRYID);
  ASSERT_NE(outbox, nullptr);
  std::int64_t id = 0;
  ASSERT_EQ(Send(store, outbox, u"+420 603 111 222", u"See you", &id), S_OK);
  auto sent = device::ListSMS(u"sent");
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].id, id);
  EXPECT_EQ(sent[0].text, u"See you");
  EXPECT_TRUE(sent[0].read && sent[0].fromMe);
  EXPECT_EQ(sent[0].senderNumber, u"+420 603 111 222");  // whom it went to
  EXPECT_TRUE(device::ListSMS(u"outbox").empty());

  // The network refuses the next one only.
  ASSERT_TRUE(device::FailNextSMS());
  EXPECT_EQ(Send(store, outbox, u"+420 603 111 222", u"Lost", &id), MAPI_E_NETWORK_ERROR);
  auto waiting = device::ListSMS(u"outbox");
  ASSERT_EQ(waiting.size(), 1u);
  EXPECT_EQ(waiting[0].text, u"Lost");
  EXPECT_EQ(Send(store, outbox, u"+420 603 111 222", u"", &id), S_OK);
  EXPECT_EQ(device::ListSMS(u"sent").size(), 2u);
  EXPECT_EQ(device::ListSMS(u"sent")[0].text, u"");  // an empty body has no subject at all

  // Nobody to send to.
  EXPECT_EQ(Send(store, outbox, u"", u"x", &id), MAPI_E_NO_RECIPIENTS);
  outbox->Release();
}

TEST_F(MessagingTest, AdviseSinksHearOfEveryChangeWhoeverMadeIt) {
  ASSERT_NE(OpenSmsStore(), nullptr);
  mapitest::RecordingSink sink;
  ULONG connection = 0;
  ASSERT_EQ(store->Advise(0, nullptr, 0x7E, &sink, &connection), S_OK);
  std::string inbox = Binary(store, PR_CE_IPM_INBOX_ENTRYID);
  std::string deleted = Binary(store, PR_IPM_WASTEBASKET_ENTRYID);

  // Another process delivers: made and announced in one call.
  auto r = testing_support::RunMivoDevice({"--device", dir / "dev", "sms", "receive", "+420 603 111 222", "Hi there"});
  ASSERT_EQ(r.code, 0) << r.err;
  ASSERT_TRUE(sink.WaitFor(2));
  auto heard = sink.Snapshot();
  EXPECT_EQ(heard[0].event, fnevObjectCreated);
  EXPECT_EQ(heard[1].event, fnevNewMail);
  EXPECT_EQ(heard[0].call, heard[1].call);
  EXPECT_EQ(heard[0].parent, inbox);
  std::string message = heard[0].entry;

  // This process changes, moves and deletes it.
  LPMESSAGE m = OpenMessage(message);
  ASSERT_NE(m, nullptr);
  SPropValue flags{PR_MESSAGE_FLAGS, 0, {}};
  flags.Value.l = MSGFLAG_READ;
  m->SetProps(1, &flags, nullptr);
  ASSERT_EQ(m->SaveChanges(KEEP_OPEN_READWRITE), S_OK);
  m->Release();
  LPMAPIFOLDER from = OpenFolder(PR_CE_IPM_INBOX_ENTRYID), to = OpenFolder(PR_IPM_WASTEBASKET_ENTRYID);
  SBinary bin{static_cast<ULONG>(message.size()), reinterpret_cast<LPBYTE>(message.data())};
  ENTRYLIST list{1, &bin};
  ASSERT_EQ(from->CopyMessages(&list, nullptr, to, 0, nullptr, MESSAGE_MOVE), S_OK);
  EXPECT_EQ(from->DeleteMessages(&list, 0, nullptr, 0), MAPI_E_NOT_FOUND);  // not there any more
  ASSERT_EQ(to->DeleteMessages(&list, 0, nullptr, 0), S_OK);
  ASSERT_TRUE(sink.WaitFor(5));
  heard = sink.Snapshot();
  EXPECT_EQ(heard[2].event, fnevObjectModified);
  EXPECT_EQ(heard[3].event, fnevObjectMoved);
  EXPECT_EQ(heard[3].parent, deleted);
  EXPECT_EQ(heard[3].oldParent, inbox);
  EXPECT_EQ(heard[4].event, fnevObjectDeleted);
  EXPECT_EQ(heard[4].parent, deleted);
  EXPECT_EQ(heard[4].entry, message);
  from->Release();
  to->Release();

  // Unadvised: nothing more, and the sink is let go.
  ASSERT_EQ(store->Unadvise(connection), S_OK);
  EXPECT_EQ(sink.refs, 1u);
  Deliver(u"+420 1", u"unheard", kStart);
  ASSERT_TRUE(devdb::SyncChangeWatcher());
  EXPECT_EQ(sink.Snapshot().size(), 5u);
}

TEST_F(MessagingTest, AMessageChangedByAnotherProcessIsReadAgain) {
  ASSERT_NE(OpenSmsStore(), nullptr);
  mapitest::RecordingSink sink;
  ULONG connection = 0;
  ASSERT_EQ(store->Advise(0, nullptr, fnevObjectModified, &sink, &connection), S_OK);
  std::int64_t id = Deliver(u"+420 603 111 222", u"old text", kStart);
  LPMESSAGE m = OpenMessage(msgdb::MakeEntryId(msgdb::EntryKind::kMessage, id));
  ASSERT_EQ(Text(m, PR_SUBJECT), u"old text");
  {
    std::string error;
    auto other = devdb::Database::Open(dir / "dev/device.db", devdb::OpenMode::kOpenExisting, &error);
    ASSERT_TRUE(other->Exec("UPDATE messages SET subject = 'new text', flags = 1"));
  }
  ASSERT_TRUE(sink.WaitFor(1));
  EXPECT_EQ(Text(m, PR_SUBJECT), u"new text");
  EXPECT_EQ(Long(m, PR_MESSAGE_FLAGS), 1);
  m->Release();
  store->Unadvise(connection);
}

}  // namespace
