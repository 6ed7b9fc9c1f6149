// The listener list of folders, messages and the contacts: listeners that
// leave, join and rejoin while they are being told.
#include "pim/outlook_events.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

std::vector<std::string> g_told;

class EventListener : public mivoOutlookEventHandler {
 public:
  explicit EventListener(std::string name) : name(std::move(name)) {}
  void OnOutlookItemAdded(int, mivoOutlookObject*) override { Told("added"); }
  void OnOutlookListChanged(int, mivoOutlookObject*) override { Told("changed"); }
  void OnOutlookItemChanged(int, mivoOutlookObject*) override { Told("item"); }
  void Told(const std::string& what) {
    g_told.push_back(name + " " + what);
    if (then) then();
  }
  std::string name;
  std::function<void()> then;  // what it does when told
};

class ListenerWalk : public ::testing::Test {
 protected:
  void SetUp() override { g_told.clear(); }
};

TEST_F(ListenerWalk, AListenerThatRejoinsWhileToldKeepsTheWalkWhole) {
  mivoOutlookEventsContainer folder;
  EventListener page("page"), gadget("gadget"), panel("panel");
  folder.AddListener(&page);
  folder.AddListener(&gadget);
  folder.AddListener(&panel);
  folder.AddListener(&page);  // once only
  EXPECT_EQ(folder.ListenerCount(), 3u);
  // The list page fills again: it leaves and joins while it is told.
  page.then = [&] {
    folder.RemoveListener(&page);
    folder.AddListener(&page);
  };
  folder.OnOutlookListChanged(kOutlookSourceSMS, nullptr);
  EXPECT_EQ(g_told, (std::vector<std::string>{"page changed", "gadget changed", "panel changed"}));
  // The page now stands last and is told once more next time.
  g_told.clear();
  page.then = nullptr;
  folder.OnOutlookItemAdded(kOutlookSourceSMS, nullptr);
  EXPECT_EQ(g_told, (std::vector<std::string>{"gadget added", "panel added", "page added"}));
}

TEST_F(ListenerWalk, ListenersRemovedOrAddedDuringTheWalkAreNotTold) {
  mivoOutlookEventsContainer folder;
  EventListener first("first"), second("second"), third("third"), late("late");
  folder.AddListener(&first);
  folder.AddListener(&second);
  folder.AddListener(&third);
  first.then = [&] {
    folder.RemoveListener(&second);  // goes before its turn (its page is being deleted)
    folder.AddListener(&late);       // comes after the walk began
  };
  folder.OnOutlookItemChanged(kOutlookSourceSMS, nullptr);
  EXPECT_EQ(g_told, (std::vector<std::string>{"first item", "third item"}));
  EXPECT_TRUE(folder.HasListener(&late));
  EXPECT_FALSE(folder.HasListener(&second));
}

TEST_F(ListenerWalk, TheWalkEndsWhenAListenerDeletesTheContainer) {
  auto* folder = new mivoOutlookEventsContainer;
  EventListener killer("killer"), after("after");
  folder->AddListener(&killer);
  folder->AddListener(&after);
  killer.then = [&] {
    delete folder;
    folder = nullptr;
  };
  folder->OnOutlookListChanged(kOutlookSourceSMS, nullptr);
  EXPECT_EQ(g_told, (std::vector<std::string>{"killer changed"}));
  EXPECT_EQ(folder, nullptr);
}

TEST_F(ListenerWalk, AnEventToldFromInsideAnotherIsToldWhole) {
  mivoOutlookEventsContainer folder;
  EventListener outer("outer"), inner("inner");
  folder.AddListener(&outer);
  folder.AddListener(&inner);
  bool nested = false;
  outer.then = [&] {
    if (nested) return;
    nested = true;
    folder.OnOutlookItemChanged(kOutlookSourceSMS, nullptr);
  };
  folder.OnOutlookItemAdded(kOutlookSourceSMS, nullptr);
  EXPECT_EQ(g_told, (std::vector<std::string>{"outer added", "outer item", "inner item", "inner added"}));
}

}  // namespace
