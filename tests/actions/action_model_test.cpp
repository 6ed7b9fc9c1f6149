// The action model without a program.
#include <gtest/gtest.h>

#include "actions/action_kinds.h"
#include "actions/actions.h"
#include "look/archive.h"

namespace {

std::vector<std::uint8_t> RecordOf(const mivoAction& action) {
  mivoArchiveWriter out;
  action.SaveRecord(out);
  return out.Take();
}

std::unique_ptr<mivoAction> ReadBack(mivoActions& store, const std::vector<std::uint8_t>& bytes) {
  mivoArchiveReader in(bytes);
  DWORD id = 0;
  bool failed = false;
  auto action = store.ReadActionRecord(in, &id, &failed);
  EXPECT_FALSE(failed);
  EXPECT_TRUE(in.AtEnd());
  return action;
}

// One action of every kind with fields that are not the defaults.
std::vector<std::unique_ptr<mivoAction>> OneOfEach() {
  std::vector<std::unique_ptr<mivoAction>> all;
  all.push_back(std::make_unique<mivoActionMakeCall>(nullptr, u"+420 123-456"));
  all.push_back(std::make_unique<mivoActionControlPanel>(nullptr, 20, 3));
  all.push_back(std::make_unique<mivoActionExecuteFile>(nullptr, u"\\My Documents\\Report.doc"));
  all.push_back(std::make_unique<mivoActionWriteSMS>(nullptr, u"777 000 111"));
  all.push_back(std::make_unique<mivoActionOffice>(nullptr, kOfficeCalendar, 3));
  all.push_back(std::make_unique<mivoActionWriteEmail>(nullptr, u"ann@example.org"));
  all.push_back(std::make_unique<mivoActionShowPage>(nullptr, 8, static_cast<int>(0x81060102u), 7));
  all.push_back(std::make_unique<mivoActionContact>(nullptr, 0xDEADBEEFu));
  all.push_back(std::make_unique<mivoActionSubMenu>(nullptr, u"Office"));
  all.push_back(std::make_unique<mivoActionHelpTutorial>(nullptr));
  return all;
}

TEST(ActionRecords, EveryKindReadsBackAsTheSameActionWithItsFlagByte) {
  mivoActions store(nullptr);
  for (auto& action : OneOfEach()) {
    action->SetFlag(0x5A);
    auto back = ReadBack(store, RecordOf(*action));
    ASSERT_TRUE(back) << action->TypeId();
    EXPECT_EQ(back->TypeId(), action->TypeId());
    EXPECT_TRUE(back->IsSame(*action)) << action->TypeId();
    EXPECT_EQ(back->Flag(), 0x5A) << "the reserved byte is carried as read";
    EXPECT_EQ(RecordOf(*back), RecordOf(*action)) << action->TypeId();
  }
}

TEST(ActionRecords, HaveTheFixedLayoutOfTheirKind) {
  // Type id, flag byte, then an empty archive string FF FE FF 00.
  EXPECT_EQ(RecordOf(mivoActionWriteSMS(nullptr)),
            (std::vector<std::uint8_t>{3, 0, 0, 0, 0, 0xFF, 0xFE, 0xFF, 0x00}));
  // Type id 6, flag, three little-endian i32.
  EXPECT_EQ(RecordOf(mivoActionShowPage(nullptr, 24, -1, 2)),
            (std::vector<std::uint8_t>{6, 0, 0, 0, 0, 24, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 2, 0, 0, 0}));
  // The help tutorial stores nothing of its own.
  EXPECT_EQ(RecordOf(mivoActionHelpTutorial(nullptr)), (std::vector<std::uint8_t>{9, 0, 0, 0, 0}));
  // A 300-character number has its length written as FF 2C 01.
  auto record = RecordOf(mivoActionMakeCall(nullptr, std::u16string(300, u'5')));
  ASSERT_GE(record.size(), 11u);
  EXPECT_EQ((std::vector<std::uint8_t>(record.begin() + 5, record.begin() + 11)),
            (std::vector<std::uint8_t>{0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01}));
}

TEST(ActionRecords, AStreamThatEndsInsideARecordIsAReadFailure) {
  mivoActions store(nullptr);
  for (auto& action : OneOfEach()) {
    const auto bytes = RecordOf(*action);
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
      std::vector<std::uint8_t> part(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
      mivoArchiveReader in(part);
      DWORD id = 0;
      bool failed = false;
      EXPECT_FALSE(store.ReadActionRecord(in, &id, &failed));
      EXPECT_TRUE(failed) << "kind " << action->TypeId() << " cut at " << cut;
    }
  }
}

TEST(ActionFactory, MakesTheDefaultsOfEachKindAndNothingAboveNine) {
  mivoActions store(nullptr);
  for (DWORD id = 0; id < kActionTypeCount; ++id) {
    auto action = store.CreateAction(id);
    ASSERT_TRUE(action);
    EXPECT_EQ(action->TypeId(), id);
    EXPECT_EQ(action->Flag(), 0);
  }
  for (DWORD id : {10u, 0xFFu, 0xFFFFFFFFu}) EXPECT_FALSE(store.CreateAction(id)) << id;
  auto panel = store.CreateAction(kActionControlPanel);
  EXPECT_EQ(static_cast<mivoActionControlPanel&>(*panel).AppletIndex(), -1);
  EXPECT_EQ(static_cast<mivoActionControlPanel&>(*panel).SecondNumber(), -1);
}

TEST(ActionEquality, PhoneNumbersCompareByTheirDigitsOnly) {
  mivoActionMakeCall a(nullptr, u"+420 123-456"), b(nullptr, u"420 123 456"), c(nullptr, u"(420) 123456");
  EXPECT_TRUE(a.IsSame(b));
  EXPECT_TRUE(b.IsSame(c));
  EXPECT_FALSE(mivoActionMakeCall(nullptr, u"123").IsSame(mivoActionMakeCall(nullptr, u"1234")));
  EXPECT_FALSE(mivoActionMakeCall(nullptr, u"1234").IsSame(mivoActionMakeCall(nullptr, u"123")));
  EXPECT_FALSE(mivoActionMakeCall(nullptr, u"0420 123 456").IsSame(a)) << "a leading zero is a digit";
}

TEST(ActionEquality, TextsCompareExactlyAndNumbersAllOfThem) {
  EXPECT_FALSE(mivoActionExecuteFile(nullptr, u"\\a.doc").IsSame(mivoActionExecuteFile(nullptr, u"\\A.doc")));
  EXPECT_FALSE(mivoActionWriteSMS(nullptr, u"+1 2").IsSame(mivoActionWriteSMS(nullptr, u"12")))
      << "an SMS recipient is compared as written";
  EXPECT_TRUE(mivoActionSubMenu(nullptr, u"SMS").IsSame(mivoActionSubMenu(nullptr, u"SMS")));
  EXPECT_FALSE(mivoActionOffice(nullptr, 0, 1).IsSame(mivoActionOffice(nullptr, 0, 2)));
  EXPECT_FALSE(mivoActionShowPage(nullptr, 8, 1, 0).IsSame(mivoActionShowPage(nullptr, 8, 1, 1)));
  EXPECT_FALSE(mivoActionControlPanel(nullptr, 4, 1).IsSame(mivoActionControlPanel(nullptr, 4, 2)));
  EXPECT_TRUE(mivoActionHelpTutorial(nullptr).IsSame(mivoActionHelpTutorial(nullptr)));
  // Different kinds are never the same, whatever their fields.
  EXPECT_FALSE(mivoActionMakeCall(nullptr, u"123").IsSame(mivoActionWriteSMS(nullptr, u"123")));
}

TEST(ActionTitles, FallBackToTheTextsOfAMissingThing) {
  EXPECT_EQ(mivoActionMakeCall(nullptr, u"").GetTitle(), u"(no number)");
  EXPECT_EQ(mivoActionMakeCall(nullptr, u"+1 555").GetTitle(), u"+1 555");
  EXPECT_EQ(mivoActionWriteSMS(nullptr, u"").GetTitle(), u"New SMS");
  EXPECT_EQ(mivoActionWriteSMS(nullptr, u"555").GetTitle(), u"555");
  EXPECT_EQ(mivoActionContact(nullptr, 0).GetTitle(), u"Invalid contact");
  EXPECT_EQ(mivoActionContact(nullptr, 42).GetTitle(), u"Invalid contact");
  EXPECT_EQ(mivoActionControlPanel(nullptr, 3, 0).GetTitle(), u"Unknown control panel");
  EXPECT_EQ(mivoActionShowPage(nullptr, 2, 0, 0).GetTitle(), u"Error");
  EXPECT_EQ(mivoActionShowPage(nullptr, -1, 0, 0).GetTitle(), u"Error");
  EXPECT_EQ(mivoActionHelpTutorial(nullptr).GetTitle(), u"Help tutorial");
  EXPECT_EQ(mivoActionWriteEmail(nullptr, u"a@b.c").GetTitle(), u"a@b.c");
  EXPECT_EQ(mivoActionSubMenu(nullptr, u"Help").GetTitle(), u"Help");
  // A file is called by its name even when it is gone.
  EXPECT_EQ(mivoActionExecuteFile(nullptr, u"\\Nowhere\\Budget.xls").GetTitle(), u"Budget.xls");
}

TEST(ActionTitles, OfficeKindsHaveTheirTitlesAndTheNextTextAsHelp) {
  const std::pair<std::pair<int, int>, std::u16string> expected[] = {
      {{0, 0}, u"New appointment"}, {{0, 1}, u"Today"}, {{0, 2}, u"Tommorow"}, {{0, 3}, u"This week"},
      {{0, 4}, u"This month"},      {{1, 0}, u"Run Pocket Word"}, {{2, 0}, u"Run Pocket Excel"},
      {{3, 0}, u"Run Tasks"},       {{4, 0}, u"Messaging"},       {{5, 0}, u"Run Notes"},
      {{6, 0}, u"Tasks"},           {{7, 0}, u"Notes"},           {{8, 0}, u"Pocket Word"},
      {{9, 0}, u"Pocket Excel"}};
  for (const auto& [kv, title] : expected) {
    mivoActionOffice office(nullptr, kv.first, kv.second);
    EXPECT_EQ(office.GetTitle(), title);
    EXPECT_FALSE(office.GetHelpText().empty()) << kv.first << "/" << kv.second;
  }
  EXPECT_EQ(mivoActionOffice(nullptr, 1, 0).GetHelpText(), u"Executes MS Pocket Word.");
  EXPECT_EQ(mivoActionOffice(nullptr, 4, 0).GetHelpText(), u"Executes MS Messaging application.");
  EXPECT_EQ(mivoActionOffice(nullptr, 0, 5).GetTitle(), u"");
  EXPECT_EQ(mivoActionOffice(nullptr, 10, 0).GetHelpText(), u"");
  EXPECT_EQ(mivoActionOffice(nullptr, -1, 0).GetTitle(), u"");
}

TEST(ActionClones, CopyTheFieldsAndChildrenButNotTheHolders) {
  mivoHeldAction holder(std::make_unique<mivoActionMakeCall>(nullptr, u"123"));
  holder->SetFlag(7);
  auto call = holder->Clone();
  EXPECT_TRUE(call->IsSame(*holder));
  EXPECT_EQ(call->Flag(), 7);
  EXPECT_EQ(call->OwnerCount(), 0u);
  EXPECT_EQ(call->HoldCount(), 0);
  EXPECT_EQ(holder->OwnerCount(), 1u);

  // A sub-menu's clone carries clones of its children in order.
  mivoActionSubMenu menu(nullptr, u"Calls");
  menu.SetHelpText(u"help");
  menu.AddChild(std::make_unique<mivoActionMakeCall>(nullptr, u"1"));
  menu.AddChild(std::make_unique<mivoActionMakeCall>(nullptr, u"2"));
  auto clone = menu.Clone();
  auto& copy = static_cast<mivoActionSubMenu&>(*clone);
  ASSERT_EQ(copy.Children().size(), 2u);
  EXPECT_NE(copy.Children()[0].get(), menu.Children()[0].get());
  EXPECT_EQ(copy.Children()[1]->IdentityKey(), u"2");
  EXPECT_EQ(copy.GetHelpText(), u"help");
  // A record keeps only the title.
  mivoActions store(nullptr);
  auto back = ReadBack(store, RecordOf(menu));
  EXPECT_EQ(static_cast<mivoActionSubMenu&>(*back).Children().size(), 0u);
}

TEST(ActionHolders, TheLastHolderToLetGoDeletesTheActionAndEachIsListedOnce) {
  // A MakeCall whose destruction is observed through a sub-menu child.
  auto* menu = new mivoActionSubMenu(nullptr, u"m");
  {
    mivoHeldAction first;
    first.Reset(menu);
    EXPECT_EQ(menu->HoldCount(), 1);
    {
      mivoHeldAction second;
      second.Reset(menu);
      EXPECT_EQ(menu->OwnerCount(), 2u);
      EXPECT_EQ(menu->LastOwner(), &second);
    }
    EXPECT_EQ(menu->OwnerCount(), 1u);
    EXPECT_EQ(menu->LastOwner(), &first);
    // Moving the holding keeps the action alive.
    mivoHeldAction moved(std::move(first));
    EXPECT_EQ(moved.get(), menu);
    EXPECT_FALSE(first);
    EXPECT_EQ(menu->OwnerCount(), 1u);
  }
  // Deleted with the last holder (a leak or a double delete shows under the sanitizers).

  // A holder registering twice is listed once.
  mivoActionHelpTutorial tutorial(nullptr);
  int token = 0;
  tutorial.AddOwner(&token);
  tutorial.AddOwner(&token);
  EXPECT_EQ(tutorial.OwnerCount(), 1u);
  EXPECT_EQ(tutorial.HoldCount(), 2);
  // A second holder, then the first lets go: the action lives on.
  int other = 0;
  tutorial.AddOwner(&other);
  EXPECT_FALSE(tutorial.ReleaseOwner(&token));
  EXPECT_EQ(tutorial.LastOwner(), &other);
}

}  // namespace
