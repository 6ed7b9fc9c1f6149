// The program and mivo-device together: what the phone network and the
// owner's other devices do reaches the running program's stores, their
// listeners and the state values the gadgets show.
#include <gtest/gtest.h>

#include "actions/actions.h"
#include "actions/services.h"
#include "pim/call_log.h"
#include "pim/outlook_app.h"
#include "pim/sms_folder.h"
#include "pim/sms_message.h"
#include "pim/sms_store.h"
#include "platform/registry/change_watcher.h"
#include "platform/registry/registry.h"
#include "platform/win32/text.h"
#include "tests/app/app_harness.h"
#include "tests/fs/temp_dir.h"
#include "tests/tools/run_tool.h"

namespace {

class Heard : public mivoOutlookEventHandler {
 public:
  void OnOutlookItemAdded(int source, mivoOutlookObject* item) override {
    if (auto* m = dynamic_cast<mivoSMSMessage*>(item)) texts.push_back(text::ToUtf8(m->GetBody()));
    if (auto* c = dynamic_cast<POContact*>(item)) texts.push_back(text::ToUtf8(c->GetDisplayName()));
  }
  void OnOutlookListChanged(int, mivoOutlookObject*) override {}
  void OnOutlookItemChanged(int, mivoOutlookObject*) override {}
  std::vector<std::string> texts;
};

DWORD UnreadState() {
  DWORD n = 0;
  reg::GetDword(HKEY_CURRENT_USER, u"System\\State\\Messages\\SMS\\Unread", u"Count", &n);
  return n;
}

class PimScenario : public ::testing::Test {
 protected:
  void Network(std::vector<std::string> args) {
    args.insert(args.begin(), {"--device", app.DeviceDir().string()});
    auto r = testing_support::RunMivoDevice(args);
    ASSERT_EQ(r.code, 0) << r.err;
    // The program hears of it through the change log, then handles it in its loop.
    ASSERT_TRUE(devdb::SyncChangeWatcher());
    app.Pump();
  }
  apptest::AppHarness app{"pim"};
};

TEST_F(PimScenario, AnSmsDeliveredByMivoDeviceReachesTheRunningProgram) {
  ASSERT_TRUE(app.Start());
  mivoSMSStore* store = app.Core().GetSMSStore();
  ASSERT_NE(store, nullptr);
  EXPECT_EQ(app.Core().GetSMSStore(), store);  // one store
  mivoSMSFolder* inbox = store->GetFolder(PR_CE_IPM_INBOX_ENTRYID);
  ASSERT_NE(inbox, nullptr);
  EXPECT_EQ(inbox->GetCount(), 0u);
  Heard page;
  inbox->AddListener(&page);

  Network({"sms", "receive", "Anna <+420 603 111 222>", "Jsem na nádraží"});
  EXPECT_EQ(page.texts, std::vector<std::string>{"Jsem na nádraží"});
  ASSERT_EQ(inbox->GetCount(), 1u);
  EXPECT_EQ(inbox->GetUnreadCount(), 1);
  EXPECT_EQ(UnreadState(), 1u);
  EXPECT_EQ(inbox->GetAt(0)->GetSenderName(), u"Anna");

  // Read in the program: the state value the unread-SMS gadget follows drops.
  inbox->GetAt(0)->MarkRead();
  EXPECT_EQ(UnreadState(), 0u);

  // The write-SMS action sends through the store; a failing network is told.
  mivoSMSSender* sender = app.Core().GetActions()->SMSSender();
  ASSERT_NE(sender, nullptr);
  EXPECT_TRUE(sender->SendSMS(u"+420 603 111 222", u"Přijdu hned"));
  Network({"sms", "fail-next"});
  EXPECT_FALSE(sender->SendSMS(u"+420 603 111 222", u"Ztracená"));
  auto sent = testing_support::RunMivoDevice({"--device", app.DeviceDir().string(), "sms", "list", "sent"});
  EXPECT_NE(sent.out.find("Přijdu hned"), std::string::npos) << sent.out;
  EXPECT_EQ(sent.out.find("Ztracená"), std::string::npos) << sent.out;
  // In the store: the sent one read and addressed, the one the network
  // refused waiting in the Outbox; an empty text is sent as well.
  EXPECT_TRUE(sender->SendSMS(u"+420 603 111 222", u""));
  ASSERT_TRUE(devdb::SyncChangeWatcher());
  app.Pump();
  mivoSMSFolder* sentFolder = store->GetFolder(PR_IPM_SENTMAIL_ENTRYID);
  mivoSMSFolder* outbox = store->GetFolder(PR_IPM_OUTBOX_ENTRYID);
  ASSERT_TRUE(sentFolder && outbox);
  ASSERT_EQ(sentFolder->GetCount(), 2u);
  const bool emptyFirst = sentFolder->GetAt(0)->GetBody().empty();
  mivoSMSMessage* text = sentFolder->GetAt(emptyFirst ? 1 : 0);
  EXPECT_TRUE(sentFolder->GetAt(emptyFirst ? 0 : 1)->GetBody().empty());
  EXPECT_EQ(text->GetBody(), u"Přijdu hned");
  EXPECT_EQ(text->GetSenderNumber(), u"+420 603 111 222");
  EXPECT_TRUE(text->IsRead());
  ASSERT_EQ(outbox->GetCount(), 1u);
  EXPECT_EQ(outbox->GetAt(0)->GetBody(), u"Ztracená");
  inbox->RemoveListener(&page);
  app.Exit();
}

TEST_F(PimScenario, ContactsAndCallsOfMivoDeviceReachTheOutlookStoreAndThePhoneObject) {
  ASSERT_TRUE(app.Start());
  POApplication* outlook = app.Core().GetOutlookStore();
  ASSERT_TRUE(outlook && outlook->IsOpen());
  POContactsCollection* contacts = outlook->GetContacts();
  Heard page;
  contacts->AddListener(&page);
  testing_support::TempDir files;
  testing_support::WriteText(files / "eva.vcf",
                             "BEGIN:VCARD\nVERSION:3.0\nN:Nová;Eva\nTEL;TYPE=HOME:+420 235 000 111\nEND:VCARD\n");
  Network({"contacts", "import", files / "eva.vcf"});
  EXPECT_EQ(page.texts, std::vector<std::string>{"Eva Nová"});
  // The actions find her by her number, and a tap on her would call her home.
  int kind = 0;
  mivoContactInfo* eva = app.Core().GetActions()->Contacts()->FindContactByNumber(u"420235000111", &kind);
  ASSERT_NE(eva, nullptr);
  EXPECT_EQ(kind, 6);
  EXPECT_EQ(eva->PreferredKind(), 6);
  EXPECT_EQ(eva->DisplayName(), u"Eva Nová");

  Network({"call", "missed", "+420 235 000 111"});
  mivoCallLog* phone = app.Core().GetCallLog();
  ASSERT_NE(phone, nullptr);
  phone->ReadCallLog();
  ASSERT_EQ(phone->GetEntries().size(), 1u);
  EXPECT_EQ(phone->GetEntries()[0].iom, IOM_MISSED);
  EXPECT_EQ(std::u16string(phone->GetEntries()[0].pszName), u"Eva Nová");
  contacts->RemoveListener(&page);
  app.Exit();
}

}  // namespace
