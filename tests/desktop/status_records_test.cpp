// The stored fields of the status, clock and date gadgets on bytes: what each
// appends after the text style, that it reads back, the clock's and the date
// gadget's sub-versions, and their names in the layout's text form.
#include <gtest/gtest.h>

#include <vector>

#include "desktop/alarm_gadget.h"
#include "desktop/clock_gadget.h"
#include "desktop/connection_manager_gadget.h"
#include "desktop/date_gadget.h"
#include "desktop/gadget_catalogue.h"
#include "desktop/gadget_container.h"
#include "desktop/layout_text.h"
#include "desktop/memory_gadget.h"
#include "desktop/status_gadgets.h"
#include "desktop/switch_desktop_gadget.h"
#include "look/archive.h"
#include "tools/mivo-pack/layout_core.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// The text style every icon-text gadget writes first.
constexpr std::size_t kStyleBytes = 23;

class StatusRecords : public ::testing::Test {
 protected:
  std::unique_ptr<CmivoGadget> Make(DWORD typeId) { return gadget_catalogue::CreateGadget(&core, typeId, nullptr); }
  // The kind's own fields as written after the text style.
  Bytes Appended(CmivoGadget& g) {
    mivoArchiveWriter out;
    g.SaveProperties(out);
    const Bytes& all = out.Bytes();
    EXPECT_GE(all.size(), kStyleBytes);
    return Bytes(all.begin() + static_cast<long>(std::min(all.size(), kStyleBytes)), all.end());
  }
  // A gadget of the type read from the text style (of `subVersion`) and `own` bytes.
  std::unique_ptr<CmivoGadget> Read(DWORD typeId, const Bytes& own, DWORD recordVersion = 6,
                                    std::uint32_t subVersion = 2) {
    mivoArchiveWriter style;
    style.WriteU32(4);  // alignment
    style.WriteU32(1);  // text position
    style.WriteU8(1);
    style.WriteU8(0);
    style.WriteU8(0);
    style.WriteU32(0x00FFFFFF);
    style.WriteU32(20);
    style.WriteU32(subVersion);
    Bytes bytes = style.Bytes();
    bytes.insert(bytes.end(), own.begin(), own.end());
    auto g = Make(typeId);
    g->SetRecordVersion(recordVersion);
    g->SetPropertyVersion(3);
    mivoArchiveReader in(bytes);
    g->LoadProperties(in);
    EXPECT_FALSE(in.Failed()) << typeId;
    EXPECT_EQ(in.Remaining(), 0u) << typeId;
    return g;
  }

  pack::LayoutCore core;
};

TEST_F(StatusRecords, EachKindAppendsItsOwnFieldsAfterTheTextStyle) {
  const struct {
    DWORD type;
    Bytes appended;
  } cases[] = {
      {22, {0, 0, 0, 0}},             // the tasks gadget's unread word
      {14, {0}},                      // large alarm icon
      {19, {0}},                      // small memory icon
      {28, {1, 0, 0, 0}},             // the phone
      {15, {0xFF}},                   // no target desktop
      {1, {0, 1, 1, 1, 1}},           // graphical, with marks, numerals and circle
      {8, {0xFF, 0xFE, 0xFF, 0x00}},  // the empty picture
  };
  for (const auto& c : cases) {
    auto g = Make(c.type);
    ASSERT_NE(g, nullptr) << c.type;
    EXPECT_EQ(Appended(*g), c.appended) << c.type;
  }
  for (DWORD type : {2u, 3u, 4u, 5u, 7u, 13u, 16u, 17u, 29u}) {  // nothing of their own
    auto g = Make(type);
    ASSERT_NE(g, nullptr) << type;
    EXPECT_TRUE(Appended(*g).empty()) << type;
  }
}

TEST_F(StatusRecords, OwnFieldsReadBackAndAnyNonZeroFlagIsSet) {
  auto tasks = Read(22, {0x78, 0x56, 0x34, 0x12});
  EXPECT_EQ(Appended(*tasks), (Bytes{0x78, 0x56, 0x34, 0x12})) << "written back as read";
  auto alarm = Read(14, {0x7F});
  EXPECT_TRUE(dynamic_cast<CmivoAlarmGadget&>(*alarm).SmallIcon());
  EXPECT_EQ(Appended(*alarm), Bytes{1});
  auto memory = Read(19, {2});
  EXPECT_TRUE(dynamic_cast<CmivoMemoryGadget&>(*memory).LargeIcon());
  auto radio = Read(28, {3, 0, 0, 0});
  EXPECT_EQ(dynamic_cast<CmivoConnectionManagerGadget&>(*radio).DeviceKind(), 3);
  auto foreign = Read(28, {9, 0, 0, 0});
  EXPECT_EQ(dynamic_cast<CmivoConnectionManagerGadget&>(*foreign).DeviceKind(), 1) << "an unknown kind is the phone";
  auto target = Read(15, {2});
  EXPECT_EQ(dynamic_cast<CmivoSwitchDesktopGadget&>(*target).TargetDesktop(), 2);
  auto none = Read(15, {0xFF});
  EXPECT_EQ(dynamic_cast<CmivoSwitchDesktopGadget&>(*none).TargetDesktop(), -1);
}

TEST_F(StatusRecords, TheClocksFlagsFollowTheRecordAndSubVersions) {
  struct Flags {
    bool analog, ticks, numbers, circle, graphical;
    bool operator==(const Flags&) const = default;
  };
  auto flags = [](CmivoGadget& g) {
    auto& c = dynamic_cast<CmivoClock&>(g);
    return Flags{c.IsAnalog(), c.ShowsTicks(), c.ShowsMinuteNumbers(), c.ShowsCircle(), c.GraphicalFlag()};
  };
  // Below record version 4 nothing of the clock's own is stored: the five defaults stay.
  EXPECT_EQ(flags(*Read(1, {}, 3, 1)), (Flags{false, true, true, true, true}));
  EXPECT_EQ(flags(*Read(1, {}, 3, 2)), (Flags{false, true, true, true, true}));
  // Sub-version 1: four flags, and no graphical face yet.
  EXPECT_EQ(flags(*Read(1, {1, 0, 1, 0}, 4, 1)), (Flags{true, false, true, false, false}));
  EXPECT_EQ(flags(*Read(1, {0, 1, 1, 1}, 6, 1)), (Flags{false, true, true, true, false}));
  EXPECT_EQ(flags(*Read(1, {0, 0, 0, 0, 5}, 6, 2)), (Flags{false, false, false, false, true}));
  // Whatever was read, the clock writes sub-version 2 and all five bytes.
  auto old = Read(1, {0, 1, 1, 1}, 6, 1);
  mivoArchiveWriter out;
  old->SaveProperties(out);
  ASSERT_EQ(out.Bytes().size(), kStyleBytes + 5);
  EXPECT_EQ(out.Bytes()[19], 2) << "the sub-version word";
  EXPECT_EQ(Appended(*old), (Bytes{0, 1, 1, 1, 0}));
}

TEST_F(StatusRecords, TheDatePatternIsReadFromSubVersionTwoOnly) {
  mivoArchiveWriter pattern;
  pattern.WriteString(u"dd.MM.yyyy");
  auto date = Read(8, pattern.Bytes(), 6, 2);
  EXPECT_EQ(dynamic_cast<CmivoDateGadget&>(*date).Pattern(), u"dd.MM.yyyy");
  auto old = Read(8, {}, 6, 1);
  EXPECT_EQ(dynamic_cast<CmivoDateGadget&>(*old).Pattern(), u"");
  mivoArchiveWriter out;
  old->SaveProperties(out);
  EXPECT_EQ(out.Bytes()[19], 2);
}

TEST_F(StatusRecords, TheTextFormNamesTheirFields) {
  mivoGadgetContainer container(&core);
  std::string error;
  const char* text =
      "clock rect=0,0,120,60 desktops=1 portrait analog=yes circle=no\n"
      "date rect=0,60,240,90 desktops=1 portrait pattern=\"dd.MM.yyyy\"\n"
      "connection-manager rect=0,90,120,130 desktops=2 portrait device=bluetooth\n"
      "alarm rect=120,90,240,160 desktops=2 portrait small-icon=yes\n"
      "memory rect=0,160,120,200 desktops=2 portrait large-icon=yes\n"
      "switch-desktop rect=0,200,60,260 desktops=3 portrait target=2\n"
      "tasks rect=120,200,240,260 desktops=3 portrait unused=7\n";
  ASSERT_TRUE(layout_text::Parse(text, &core, container, &error)) << error;
  ASSERT_EQ(container.Count(), 7u);
  auto& clock = dynamic_cast<CmivoClock&>(*container.Gadgets()[0]);
  EXPECT_TRUE(clock.IsAnalog());
  EXPECT_FALSE(clock.ShowsCircle());
  EXPECT_EQ(dynamic_cast<CmivoDateGadget&>(*container.Gadgets()[1]).Pattern(), u"dd.MM.yyyy");
  EXPECT_EQ(dynamic_cast<CmivoConnectionManagerGadget&>(*container.Gadgets()[2]).DeviceKind(), 3);
  EXPECT_TRUE(dynamic_cast<CmivoAlarmGadget&>(*container.Gadgets()[3]).SmallIcon());
  EXPECT_TRUE(dynamic_cast<CmivoMemoryGadget&>(*container.Gadgets()[4]).LargeIcon());
  EXPECT_EQ(dynamic_cast<CmivoSwitchDesktopGadget&>(*container.Gadgets()[5]).TargetDesktop(), 1);
  // The text form of the same gadgets reads back to the same bytes.
  const Bytes bytes = container.SerializeLayout();
  mivoGadgetContainer again(&core);
  ASSERT_TRUE(layout_text::Parse(layout_text::Format(&core, container), &core, again, &error)) << error;
  EXPECT_EQ(again.SerializeLayout(), bytes);
}

}  // namespace
