// The SMS store: finding the store, loading folders, the messages' fields
// and neighbours, and staying current while mivo-device plays the network
// (sending is in the device's messaging tests and the PIM scenarios).
#include "pim/sms_store.h"

#include <gtest/gtest.h>

#include "platform/device/device.h"
#include "platform/device/message_db.h"
#include "platform/device/sms_network.h"
#include "platform/registry/change_watcher.h"
#include "platform/registry/database.h"
#include "platform/registry/registry.h"
#include "platform/win32/text.h"
#include "platform/window/message.h"
#include "platform/window/window.h"
#include "tests/fs/temp_dir.h"
#include "tests/tools/run_tool.h"

namespace {

constexpr std::int64_t kStart = 1268643900000;  // 2010-03-15 09:05 UTC

class Recorder : public mivoOutlookEventHandler {
 public:
  void OnOutlookItemAdded(int source, mivoOutlookObject* item) override { Note("added", source, item); }
  void OnOutlookListChanged(int source, mivoOutlookObject* list) override { Note("changed", source, list); }
  void OnOutlookItemChanged(int source, mivoOutlookObject* item) override { Note("item", source, item); }
  void Note(const char* what, int source, mivoOutlookObject* o) {
    auto* m = dynamic_cast<mivoSMSMessage*>(o);
    heard.push_back(std::string(what) + " " + std::to_string(source) + " " +
                    (m ? text::ToUtf8(m->GetBody()) : std::string("?")));
  }
  std::vector<std::string> heard;
};

class SMSStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    device::DeviceOptions options;
    options.provision = false;
    std::string error;
    ASSERT_TRUE(device::OpenDevice(dir / "dev", &error, options)) << error;
  }
  void TearDown() override {
    window::ResetWindowSystem();
    device::CloseDevice();
  }
  std::int64_t Deliver(const char16_t* from, const char16_t* body, std::int64_t at) {
    std::string error;
    std::int64_t id = device::DeliverSMS(from, body, at, &error);
    EXPECT_NE(id, 0) << error;
    return id;
  }
  // Another process plays the network.
  void Network(std::vector<std::string> args) {
    args.insert(args.begin(), {"--device", dir / "dev"});
    auto r = testing_support::RunMivoDevice(args);
    ASSERT_EQ(r.code, 0) << r.err;
  }
  // What the store heard reaches it as the UI thread's work.
  void Settle() {
    ASSERT_TRUE(devdb::SyncChangeWatcher());
    window::PumpPending();
  }
  // SQL on this process's own connection to the device.
  void Exec(const char* sql) {
    devdb::Database* db = devdb::DeviceDatabase();
    std::lock_guard<std::recursive_mutex> lock(db->mutex());
    ASSERT_TRUE(db->Exec(sql));
  }
  // SQL from another program's connection.
  void ExecElsewhere(const char* sql) {
    std::string error;
    auto other = devdb::Database::Open(dir / "dev/device.db", devdb::OpenMode::kOpenExisting, &error);
    ASSERT_TRUE(other && other->Exec(sql)) << error;
  }
  std::vector<std::u16string> Bodies(mivoSMSFolder* f) {
    std::vector<std::u16string> out;
    for (std::size_t i = 0; i < f->GetCount(); ++i) out.push_back(f->GetAt(i)->GetBody());
    return out;
  }

  testing_support::TempDir dir;
};

TEST_F(SMSStoreTest, TheFirstStoreNamedSmsOrTextMessagesIsUsed) {
  Deliver(u"+420 1", u"in SMS", kStart);
  // "Text Messages" comes before "SMS" in the stores table.
  Exec(
      "UPDATE msg_stores SET name = 'Text Messages' WHERE id = 1;"
      "DELETE FROM msg_folders WHERE store = 1 AND role = 'sent';"
      "INSERT INTO messages(folder, subject, delivery_time) VALUES (1, 'in Text Messages', 0)");
  {
    mivoSMSStore store;
    ASSERT_TRUE(store.IsOpen());
    mivoSMSFolder* inbox = store.GetFolder(PR_CE_IPM_INBOX_ENTRYID);
    ASSERT_NE(inbox, nullptr);
    EXPECT_EQ(Bodies(inbox), std::vector<std::u16string>{u"in Text Messages"});
    EXPECT_EQ(store.GetFolder(PR_IPM_SENTMAIL_ENTRYID), nullptr);  // that store has no Sent folder
    EXPECT_EQ(store.GetFolder(PR_CE_IPM_INBOX_ENTRYID), inbox);    // opened once
  }
  Exec("UPDATE msg_stores SET name = 'Other ' || name");
  mivoSMSStore none;
  EXPECT_FALSE(none.IsOpen());
  EXPECT_EQ(none.GetFolder(PR_CE_IPM_INBOX_ENTRYID), nullptr);
  EXPECT_FALSE(none.SendSMS(u"+420 1", u"x"));
}

TEST_F(SMSStoreTest, AFolderListsItsSmsNewestFirstWithTheirFieldsAndNeighbours) {
  Deliver(u"Anna <+420 603 111 222>", u"middle", kStart + 60000);
  Deliver(u"+420 776 920 114", u"newest", kStart + 120000);
  Deliver(u"+420 1", u"oldest", kStart);
  // An MMS and a message without sender or times.
  Exec(
      "INSERT INTO messages(folder, class, subject, delivery_time) VALUES (6, 'IPM.MMS', 'mms', 1);"
      "INSERT INTO messages(folder, subject, flags) VALUES (6, 'bare', 0);"
      "UPDATE messages SET sender_address = 'Anna <+420 603 111 222>' WHERE subject = 'middle'");
  mivoSMSStore store;
  mivoSMSFolder* inbox = store.GetFolder(PR_CE_IPM_INBOX_ENTRYID);
  ASSERT_NE(inbox, nullptr);
  EXPECT_EQ(Bodies(inbox), (std::vector<std::u16string>{u"newest", u"middle", u"oldest", u"bare"}));
  EXPECT_EQ(inbox->GetUnreadCount(), 4);

  mivoSMSMessage* middle = inbox->GetAt(1);
  EXPECT_EQ(middle->GetSenderName(), u"Anna");
  EXPECT_EQ(middle->GetSenderNumber(), u"+420 603 111 222");  // the number between the brackets
  EXPECT_EQ(middle->GetSenderNumber(), u"+420 603 111 222");
  std::int64_t t = 0;
  ASSERT_TRUE(middle->GetDeliveryTime(&t));
  EXPECT_EQ(t, kStart / 1000 + 60);
  mivoSMSMessage* bare = inbox->GetAt(3);
  EXPECT_EQ(bare->GetSenderName(), u"(no sender)");
  EXPECT_EQ(bare->GetSenderNumber(), u"(no sender phone number)");
  EXPECT_FALSE(bare->GetDeliveryTime(&t));
  EXPECT_TRUE(bare->GetLastModificationTime(&t) == false || t > 0);

  mivoSMSMessage* prev = reinterpret_cast<mivoSMSMessage*>(1);
  mivoSMSMessage* next = reinterpret_cast<mivoSMSMessage*>(1);
  inbox->GetAt(0)->GetNeighbours(&prev, &next);
  EXPECT_EQ(prev, nullptr);
  EXPECT_EQ(next, middle);
  middle->GetNeighbours(&prev, &next);
  EXPECT_EQ(prev, inbox->GetAt(0));
  EXPECT_EQ(next, inbox->GetAt(2));
  bare->GetNeighbours(&prev, &next);
  EXPECT_EQ(next, nullptr);

  // Read once, and the count of unread messages the device keeps follows.
  middle->MarkRead();
  middle->MarkRead();
  EXPECT_TRUE(middle->IsRead());
  DWORD unread = 0;
  ASSERT_TRUE(reg::GetDword(HKEY_CURRENT_USER, u"System\\State\\Messages\\SMS\\Unread", u"Count", &unread));
  EXPECT_EQ(unread, 3u);
}

TEST_F(SMSStoreTest, MessagesOfMivoDeviceReachTheOpenFolderAndItsListeners) {
  Deliver(u"+420 1", u"first", kStart);
  mivoSMSStore store;
  // Delivered while the folder is not open yet: there when it loads.
  Network({"sms", "receive", "+420 2", "before opening"});
  Settle();
  mivoSMSFolder* inbox = store.GetFolder(PR_CE_IPM_INBOX_ENTRYID);
  ASSERT_NE(inbox, nullptr);
  EXPECT_EQ(Bodies(inbox).front(), u"before opening");
  mivoSMSFolder* deleted = store.GetFolder(PR_IPM_WASTEBASKET_ENTRYID);
  Recorder page, trash;
  inbox->AddListener(&page);
  deleted->AddListener(&trash);

  // Delivered while open: at the front, the listener told once.
  Network({"sms", "receive", "+420 3", "while open"});
  Settle();
  EXPECT_EQ(Bodies(inbox), (std::vector<std::u16string>{u"while open", u"before opening", u"first"}));
  EXPECT_EQ(page.heard, std::vector<std::string>{"added 0 while open"});
  EXPECT_EQ(inbox->GetUnreadCount(), 3);

  // Read elsewhere: the message shows it when asked again; the list is not told.
  mivoSMSMessage* first = inbox->GetAt(2);
  EXPECT_FALSE(first->IsRead());
  ExecElsewhere("UPDATE messages SET flags = 1 WHERE subject = 'first'");
  Settle();
  EXPECT_TRUE(first->IsRead());
  EXPECT_EQ(page.heard.size(), 1u);

  // Moved to Deleted by another program: gone from the Inbox (the list told
  // it changed), at the front of Deleted; the object stays valid.
  ExecElsewhere("UPDATE messages SET folder = 10 WHERE subject = 'first'");
  Settle();
  EXPECT_EQ(Bodies(inbox), (std::vector<std::u16string>{u"while open", u"before opening"}));
  EXPECT_EQ(page.heard.back(), "changed 0 first");
  EXPECT_EQ(first->GetBody(), u"first");
  EXPECT_EQ(first->GetFolder(), nullptr);
  ASSERT_EQ(deleted->GetCount(), 1u);
  EXPECT_EQ(trash.heard, std::vector<std::string>{"added 0 first"});

  // Deleted for good.
  ExecElsewhere("DELETE FROM messages WHERE folder = 10");
  Settle();
  EXPECT_EQ(deleted->GetCount(), 0u);
  EXPECT_EQ(trash.heard.back(), "changed 0 first");
  inbox->RemoveListener(&page);
  deleted->RemoveListener(&trash);
}

}  // namespace
