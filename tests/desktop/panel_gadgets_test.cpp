// The action panels, the most-used grids, the desktop switcher, the divider
// and the calendar in the whole program in this process: what they show,
// where their taps lead, and the edges their geometry must keep.
#include <gtest/gtest.h>

#include <fstream>

#include "actions/action_kinds.h"
#include "actions/actions.h"
#include "core/core.h"
#include "core/settings.h"
#include "desktop/action_gadget.h"
#include "desktop/action_panel_gadgets.h"
#include "desktop/appointment_panel_gadget.h"
#include "desktop/calendar_gadget.h"
#include "desktop/desktop_switcher_gadget.h"
#include "desktop/gadget_catalogue.h"
#include "desktop/line_gadget.h"
#include "desktop/most_used_gadgets.h"
#include "look/appearance.h"
#include "look/archive.h"
#include "look/date_time_format.h"
#include "pim/calendar_page.h"
#include "pim/local_days.h"
#include "pim/po_items.h"
#include "platform/device/pim_db.h"
#include "platform/fs/device_path.h"
#include "platform/fs/files.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"
#include "tests/desktop/desktop_harness.h"
#include "ui/desktop_icon_chooser.h"

namespace {

using desktoptest::DesktopHarness;

// A gadget of a catalogue kind on the current desktop, made by the factory.
template <typename Gadget = CmivoGadget>
Gadget* AddKind(DesktopHarness& h, DWORD type, RECT rect) {
  std::unique_ptr<CmivoGadget> made = gadget_catalogue::CreateGadget(&h.Core(), type, &h.Page());
  EXPECT_NE(made, nullptr) << type;
  if (!made) return nullptr;
  auto* gadget = dynamic_cast<Gadget*>(h.Place(std::move(made), rect));
  EXPECT_NE(gadget, nullptr) << type;
  return gadget;
}

std::string Utf8(const std::u16string& s) { return text::ToUtf8(s); }

// ---- The factory -----------------------------------------------------------------------------

TEST(PanelKinds, EachIsMadeByTheFactoryAsItsClassAndComesBackFromTheLayoutFile) {
  DesktopHarness h("panel_kinds");
  const DWORD types[] = {9, 11, 12, 18, 23, 24, 27, 30, 31, 32, 33, 34, 35};
  for (DWORD type : types) {
    CmivoGadget* g = AddKind(h, type, RECT{0, 0, 200, 200});
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->TypeId(), type);
    EXPECT_STREQ(g->GadgetClassName(), gadget_catalogue::FindKind(type)->className);
  }
  const std::vector<std::uint8_t> bytes = h.Page().Container().SerializeLayout();
  mivoGadgetContainer again(&h.Core());
  ASSERT_TRUE(again.ReadLayout(bytes, nullptr).complete);
  ASSERT_EQ(again.Count(), std::size(types));
  for (std::size_t i = 0; i < std::size(types); ++i) EXPECT_EQ(again.Gadgets()[i]->TypeId(), types[i]);
}

// ---- The most-used grids ----------------------------------------------------------------------

TEST(MostUsedGrid, EachKindShowsItsAcceptedActionsInTheTilesThatFit) {
  DesktopHarness h("most_used");
  mivoActions& actions = *h.Core().GetActions();
  // Three calls, one SMS, two applets, five pages.
  for (const char16_t* number : {u"+420 1", u"+420 2", u"+420 3"})
    actions.RecordAction(mivoActionMakeCall(&h.Core(), number));
  actions.RecordAction(mivoActionWriteSMS(&h.Core(), u"+420 4"));
  for (int applet : {1, 2}) actions.RecordAction(mivoActionControlPanel(&h.Core(), applet, 0));
  for (int page : {33, 34, 9, 25, 26}) actions.RecordAction(mivoActionShowPage(&h.Core(), page, 0, 0));
  const int S = DisplayScale;
  // All (2 x 2 at most), the applets, the three calls, the SMS: tiles in a 160 x 180 grid.
  for (const auto& [type, tiles] : {std::pair{31u, 4u}, std::pair{32u, 2u}, std::pair{34u, 3u}, std::pair{35u, 1u}}) {
    auto* grid = AddKind<CmivoActionsHistoryGadget>(h, type, RECT{0, 0, 160 * S, 180 * S});
    ASSERT_NE(grid, nullptr);
    grid->LayoutTiles();
    EXPECT_EQ(grid->Tiles().size(), tiles) << type;
    for (const auto& tile : grid->Tiles()) EXPECT_TRUE(grid->AcceptsAction(*tile.action)) << type;
    h.Page().Container().RemoveGadget(grid);
  }
}

TEST(MostUsedApplications, LeavesFoldersOutAndAnEmptyGridSaysSo) {
  DesktopHarness h("most_used_apps");
  ASSERT_TRUE(fs::CreateDirectories(u"\\Apps"));
  std::string host;
  ASSERT_TRUE(fs::ToHostPath(u"\\Apps\\notes.txt", &host));
  std::ofstream(host) << "notes";
  auto* grid = AddKind<CmivoActionsHistoryGadget>(h, 33, RECT{0, 0, 240, 200});
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(Utf8(grid->GetDumpText()), "Most used applications: None");
  mivoActions& actions = *h.Core().GetActions();
  actions.RecordAction(mivoActionExecuteFile(&h.Core(), u"\\Apps"));
  actions.RecordAction(mivoActionExecuteFile(&h.Core(), u"\\Apps\\notes.txt"));
  grid->LayoutTiles();
  ASSERT_EQ(grid->Tiles().size(), 1u);
  EXPECT_EQ(static_cast<mivoActionExecuteFile*>(grid->Tiles()[0].action)->Path(), u"\\Apps\\notes.txt");
}

// ---- The action gadget -------------------------------------------------------------------------

TEST(ActionGadget, EachStyleTakesTheRectangleItDraws) {
  DesktopHarness h("action_styles");
  auto* g = AddKind<CmivoActionGadget>(h, 20, RECT{30, 40, 35, 45});
  ASSERT_NE(g, nullptr);
  const int S = DisplayScale;
  EXPECT_EQ(g->GetRect(), (RECT{30, 40, 30 + 80 * S, 40 + 80 * S}));
  g->SetDisplayStyle(kActionGadgetIcon);
  h.Pump();
  EXPECT_EQ(g->GetRect(), (RECT{30, 40, 30 + 35 * S, 40 + 35 * S}));
  g->SetDisplayStyle(kActionGadgetDetails);
  h.Pump();
  EXPECT_EQ(g->GetRect(), (RECT{0, 40, 240, 40 + 48 * S}));
}

// ---- The favourites and actions history panels ----------------------------------------------

TEST(FavoritesPanel, ShowsTheFirstFavouriteThereIsAndRunsIt) {
  DesktopHarness h("favorites_panel");
  auto* panel = AddKind<CmivoFavoritesDetailsGadget>(h, 11, RECT{0, 100, 240, 150});
  ASSERT_NE(panel, nullptr);
  // Nothing yet: the details say so, and lead to where favourites are made.
  EXPECT_EQ(Utf8(panel->GetDumpText()), "There are no favorites added.");
  h.TapAt(150, 125);
  EXPECT_EQ(h.Core().TopPage(), h.Core().GetPage(15));
  h.Core().PopPage();
  h.Pump();

  mivoActions& actions = *h.Core().GetActions();
  ASSERT_TRUE(actions.SetFavorite(2, std::make_unique<mivoActionShowPage>(&h.Core(), 33, 0, 0)));
  h.Pump();
  EXPECT_EQ(panel->FirstFavorite(), actions.Favorites().At(2)) << "positions 0 and 1 are empty";
  EXPECT_EQ(panel->GetDumpText(), actions.Favorites().At(2)->GetTitle());
  h.TapAt(150, 125);
  EXPECT_EQ(h.Core().TopPage(), h.Core().GetPage(33));
  ASSERT_EQ(actions.History().Count(), 1u) << "the start was counted";
  h.Core().PopPage();
  h.Pump();
  h.TapAt(20, 125);
  EXPECT_EQ(h.Core().TopPage(), h.Core().GetPage(15)) << "the icon opens the favourites";
}

TEST(ActionsHistoryPanel, ShowsTheMostUsedActionAndFollowsTheHistory) {
  DesktopHarness h("history_panel");
  auto* panel = AddKind<CmivoActionsHistoryDetailsGadget>(h, 12, RECT{0, 100, 240, 150});
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(Utf8(panel->GetDumpText()), "The actions history list is empty.");
  mivoActions& actions = *h.Core().GetActions();
  actions.RecordAction(mivoActionShowPage(&h.Core(), 33, 0, 0));
  for (int i = 0; i < 2; ++i) actions.RecordAction(mivoActionShowPage(&h.Core(), 34, 0, 0));
  EXPECT_EQ(panel->MostUsed(), actions.History().Entry(0)->Action());
  RECT dirty{};
  EXPECT_TRUE(GetUpdateRect(h.Page().m_hWnd, &dirty, FALSE)) << "a change of the history repaints the panel";
  h.TapAt(150, 125);
  EXPECT_EQ(h.Core().TopPage(), h.Core().GetPage(34));
  EXPECT_EQ(actions.History().Entry(0)->Count(), 3);
  h.Core().PopPage();
  h.Pump();
  h.TapAt(20, 125);
  EXPECT_EQ(h.Core().TopPage(), h.Core().GetPage(24));
}

// ---- The desktop switcher ----------------------------------------------------------------------

TEST(DesktopSwitcher, FourDesktopsStandCentredWithEqualMarginsDoNotScrollAndOnlyATapSwitches) {
  DesktopHarness h("switcher4", 4);
  auto* s = AddKind<CmivoDesktopSwitcherGadget>(h, 30, RECT{0, 100, 240, 160});
  ASSERT_NE(s, nullptr);
  EXPECT_FALSE(s->IsScrollable());
  EXPECT_EQ(s->MaxScroll(), 0);
  EXPECT_EQ(s->CellRect(0), (RECT{24, 100, 72, 160}));
  EXPECT_EQ(s->CellRect(3), (RECT{168, 100, 216, 160}));
  EXPECT_EQ(s->CellRect(4), (RECT{-1, -1, -1, -1}));
  EXPECT_EQ(Utf8(s->GetDumpText()), "[1] 2 3 4");
  // Tapping a cell shows its desktop; the strip stays where it was.
  h.TapAt(190, 130);
  EXPECT_EQ(h.Page().CurrentDesktopIndex(), 3);
  EXPECT_EQ(Utf8(s->GetDumpText()), "1 2 3 [4]");
  EXPECT_EQ(s->ScrollOffset(), 0);
  h.Page().ShowDesktop(0);
  h.Pump();
  const int S = DisplayScale;
  // Never a finger that moved: one step of more than 5·S.
  const POINT a = h.OnScreen(100, 130);
  h.Down(a.x, a.y);
  h.Move(a.x + 6 * S, a.y);
  h.Up(a.x + 6 * S, a.y);
  EXPECT_EQ(h.Page().CurrentDesktopIndex(), 0);
  // Small steps that wander far.
  h.Down(a.x, a.y);
  for (int i = 1; i <= 5; ++i) h.Move(a.x + 3 * i, a.y);
  h.Up(a.x + 15, a.y);
  EXPECT_EQ(h.Page().CurrentDesktopIndex(), 0);
  // A tap-and-hold ends the following: the menu opens, nothing switches.
  h.Down(a.x, a.y);
  EXPECT_EQ(GetCapture(), h.Page().m_hWnd);
  h.Wait(700);
  EXPECT_NE(GetCapture(), h.Page().m_hWnd);
  EXPECT_FALSE(s->PressIsTap());
  EXPECT_STREQ(h.Core().TopPage()->PageClassName(), "CmivoRightClickPage");
  h.Up(a.x, a.y);
  EXPECT_EQ(h.Page().CurrentDesktopIndex(), 0);
  // A still finger is a tap.
  h.Core().PopPage();
  h.Pump();
  h.Down(a.x, a.y);
  h.Move(a.x + 2, a.y);
  h.Up(a.x + 2, a.y);
  EXPECT_EQ(h.Page().CurrentDesktopIndex(), 1);
}

TEST(DesktopSwitcher, EightDesktopsScrollWithTheFingerBetweenZeroAnd144) {
  DesktopHarness h("switcher8", 8);
  auto* s = AddKind<CmivoDesktopSwitcherGadget>(h, 30, RECT{0, 100, 240, 160});
  ASSERT_NE(s, nullptr);
  s->SetDesktops(0xFF);
  EXPECT_TRUE(s->IsScrollable());
  EXPECT_EQ(s->MaxScroll(), 144);
  // A long drag to the left: the strip follows to its end, and neither a
  // desktop switch nor the page's own swipe happens.
  const POINT from = h.OnScreen(220, 130), to = h.OnScreen(10, 130);
  h.Drag(from.x, from.y, to.x, to.y, 20);
  EXPECT_EQ(s->ScrollOffset(), 144);
  EXPECT_EQ(h.Page().CurrentDesktopIndex(), 0);
  EXPECT_EQ(s->CellRect(7).right, 240) << "the last cell shows whole";
  h.Drag(to.x, to.y, from.x, from.y, 20);
  EXPECT_EQ(s->ScrollOffset(), 0);
  EXPECT_EQ(h.Page().CurrentDesktopIndex(), 0);
  // A finger that leaves the strip before it is lifted ends its press there
  // too; a switch by the keys then brings the new desktop's cell into view.
  h.Down(from.x, from.y);
  h.Move(from.x, from.y + 100);
  h.Up(from.x, from.y + 100);
  EXPECT_EQ(h.Page().CurrentDesktopIndex(), 0);
  h.Key(VK_LEFT);
  EXPECT_EQ(h.Page().CurrentDesktopIndex(), 7);
  EXPECT_EQ(s->ScrollOffset(), 144);
}

TEST(DesktopSwitcher, ShowsEachDesktopsChosenIconAndTheDefaultOneWithoutAChoice) {
  DesktopHarness h("switcher_icons", 4);
  auto* s = AddKind<CmivoDesktopSwitcherGadget>(h, 30, RECT{0, 100, 240, 160});
  ASSERT_NE(s, nullptr);
  mivoAppearance* look = h.Core().GetAppearance();
  mivoSkinImage* fallback = look->GetSkinImage(u"gadget_desktop_default_wallpaper");
  for (int n = 1; n <= 4; ++n) EXPECT_EQ(CmivoDesktopSwitcherGadget::DesktopIcon(n), fallback);
  // A name the skin does not have shows the default and is not added to the skin.
  h.Core().Settings().SetDesktopIcon(2, false, u"no_such_picture");
  CmivoDesktopSwitcherGadget::RefreshDesktopIcons(&h.Core());
  EXPECT_EQ(CmivoDesktopSwitcherGadget::DesktopIcon(2), fallback);
  EXPECT_EQ(look->GetSkin()->FindImage(u"no_such_picture"), nullptr);
  // A choice with "Change desktop icon" shows at once.
  mivoSkinImage* picture = look->GetSkinImage(u"favorites_page");
  h.Page().SetDesignMode(true);
  h.HoldAt(120, 220);
  h.TapRow("Change desktop icon");
  auto* chooser = dynamic_cast<CmivoAdvChooseDesktopIcon*>(h.Core().TopPage());
  ASSERT_NE(chooser, nullptr);
  chooser->ChooseIcon(u"favorites_page");
  h.Pump();
  EXPECT_EQ(CmivoDesktopSwitcherGadget::DesktopIcon(1), picture);
}

// ---- The divider ---------------------------------------------------------------------------------

// A divider's record with a length of its own.
std::vector<std::uint8_t> LineRecord(int length) {
  mivoArchiveWriter out;
  out.WriteU8(1);
  out.WriteI32(length);
  out.WriteI32(0);
  out.WriteI32(1);
  out.WriteU32(0x9B9B9B);
  return out.Bytes();
}

TEST(Divider, HalvingElevenGivesFiveAndThenOffersNoShorteningAndTurnsKeepTheLength) {
  DesktopHarness h("divider");
  auto* line = AddKind<CmivoLineGadget>(h, 9, RECT{50, 50, 60, 60});
  ASSERT_NE(line, nullptr);
  const int S = DisplayScale;
  EXPECT_EQ(line->Length(), 30 * S);
  EXPECT_EQ(line->GetRect(), (RECT{50, 50, 70, 80})) << "9 wide, grown to the minimum 20";
  // A record from another source cannot make it huge or invisible.
  for (int length : {-7, 0, 1 << 30}) {
    const std::vector<std::uint8_t> record = LineRecord(length);
    mivoArchiveReader in(record);
    line->LoadProperties(in);
    EXPECT_GE(line->Length(), 1) << length;
    EXPECT_LE(line->Length(), CmivoLineGadget::kMaxLength * DisplayScale) << length;
  }
  const std::vector<std::uint8_t> record = LineRecord(11);
  mivoArchiveReader in(record);
  line->LoadProperties(in);
  h.Page().SetDesignMode(true);
  h.HoldAt(55, 55);
  EXPECT_TRUE(h.HasRow("Shorter line"));
  h.TapRow("Half line size");
  EXPECT_EQ(line->Length(), 5);
  h.HoldAt(55, 55);
  EXPECT_FALSE(h.HasRow("Shorter line"));
  EXPECT_FALSE(h.HasRow("Half line size"));
  h.TapRow("Double line size");
  for (int i = 0; i < 2; ++i) {
    h.HoldAt(55, 55);
    h.TapRow("Double line size");
  }
  ASSERT_EQ(line->Length(), 40);
  // Turned, the length runs along x.
  h.HoldAt(55, 55);
  h.TapRow("Horizontal line");
  EXPECT_FALSE(line->IsVertical());
  EXPECT_EQ(line->GetRect(), (RECT{50, 50, 90, 70}));
  h.HoldAt(60, 55);
  EXPECT_TRUE(h.HasRow("Vertical line"));
  h.TapRow("Pen width");
  h.TapRow("3 point(s)");
  EXPECT_EQ(line->PenWidth(), 3);
  EXPECT_EQ(h.Core().TopPage(), &h.Page());
  // The record keeps what the menus made.
  mivoGadgetContainer again(&h.Core());
  ASSERT_TRUE(again.ReadLayout(h.Page().Container().SerializeLayout(), nullptr).complete);
  auto* read = dynamic_cast<CmivoLineGadget*>(again.Gadgets()[0].get());
  ASSERT_NE(read, nullptr);
  EXPECT_FALSE(read->IsVertical());
  EXPECT_EQ(read->Length(), 40);
  EXPECT_EQ(read->PenWidth(), 3);
}

// ---- The calendar -------------------------------------------------------------------------------

TEST(CalendarGadget, ShowsTheMonthFromTheLocalesFirstWeekdayAndOpensTheDayTapped) {
  DesktopHarness h("calendar");
  auto* cal = AddKind<CmivoCalendarGadget>(h, 27, RECT{0, 20, 240, 220});
  ASSERT_NE(cal, nullptr);
  for (int d = 0; d < 7; ++d) {
    EXPECT_LE(cal->DayName(d).size(), 2u);
    EXPECT_EQ(cal->DayName(d), datetime::DayName(d, true).substr(0, 2));
  }
  const std::int64_t today = localdays::DayOf(datetime::Now());
  EXPECT_EQ(Utf8(cal->GetDumpText()),
            Utf8(datetime::YearMonth(datetime::Now())) + " [" + std::to_string(localdays::DateOf(today).wDay) + "]");
  // Find the cell of the 20th: the grid's columns start at the locale's first day.
  const SYSTEMTIME now = localdays::DateOf(today);
  const std::int64_t twentieth = localdays::DayNumber(now.wYear, now.wMonth, 20);
  POINT cell{-1, -1};
  for (int y = 20; y < 220 && cell.x < 0; y += 4)
    for (int x = 2; x < 240; x += 4)
      if (cal->DayAt(POINT{x, y}) == twentieth) {
        cell = POINT{x + 2, y + 2};
        break;
      }
  ASSERT_GE(cell.x, 0);
  const int column = (localdays::Weekday(twentieth) - cal->FirstColumnWeekday() + 7) % 7;
  EXPECT_EQ(cell.x * 7 / 240, column);
  // Today stands on the theme's highlight colour, and only today.
  const COLORREF highlight = h.Core().GetAppearance()->ColorTheme().GetColor(7);
  const uitest::Capture screen = uitest::UiHarness::Screen();
  int todayPixels = 0, otherPixels = 0;
  for (int y = 20; y < 220; ++y)
    for (int x = 0; x < 240; ++x) {
      const POINT at = h.OnScreen(x, y);
      if (screen.At(at.x, at.y) != uitest::Pixel(highlight)) continue;
      ++(cal->DayAt(POINT{x, y}) == today ? todayPixels : otherPixels);
    }
  EXPECT_GT(todayPixels, 100);
  EXPECT_EQ(otherPixels, 0);
  h.TapAt(cell.x, cell.y);
  auto* page = dynamic_cast<CmivoCalendarPage*>(h.Core().TopPage());
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->SelectedDay(), twentieth);
  // Elsewhere: today.
  h.Core().PopPage();
  h.Pump();
  h.TapAt(120, 25);
  EXPECT_EQ(dynamic_cast<CmivoCalendarPage*>(h.Core().TopPage())->SelectedDay(), today);
}

// ---- The appointment panel ----------------------------------------------------------------------

// An appointment of the device (DATE values: 40252 is Monday 2010-03-15, the virtual today).
void Appointment(const char16_t* subject, double start, double end, bool allDay = false) {
  device::AppointmentRecord a;
  a.subject = subject;
  a.start = start;
  a.end = end;
  a.allDay = allDay;
  ASSERT_NE(device::AddAppointment(&a), 0);
}

std::string Span(double start, double end) {
  std::int64_t s = 0, e = 0;
  EXPECT_TRUE(mivoLocalDateToTime(start, &s) && mivoLocalDateToTime(end, &e));
  return Utf8(datetime::HourMinute(s) + u" \u2013 " + datetime::HourMinute(e));
}

TEST(AppointmentPanel, ListsWhatIsUnderWayAndToComeUnderDayHeadingsAndOpensTheDayTapped) {
  DesktopHarness h("appointments");
  constexpr double kToday = 40252.0, kHour = 1.0 / 24;
  Appointment(u"Yesterday's yoga", kToday - 1 + 18 * kHour, kToday - 1 + 19 * kHour);
  Appointment(u"Early run", kToday + 7 * kHour, kToday + 8 * kHour);
  Appointment(u"Dentist", kToday + 14 * kHour, kToday + 15 * kHour);
  Appointment(u"Standup", kToday + 8.5 * kHour, kToday + 9.5 * kHour);
  Appointment(u"Conference", kToday - 1 + 20 * kHour, kToday + 1 + 10 * kHour);
  Appointment(u"Birthday", kToday + 1, kToday + 2, true);
  Appointment(u"Review", kToday + 10 + 10 * kHour, kToday + 10 + 11 * kHour);
  auto* panel = AddKind<CmivoAppointmentPanelGadget>(h, 23, RECT{0, 0, 240, 268});
  ASSERT_NE(panel, nullptr);
  const std::int64_t today = localdays::DayOf(datetime::Now());
  EXPECT_EQ(Utf8(CmivoAppointmentPanelGadget::Restriction(today)), "[End] > \"2010-03-15 00:00\"");
  EXPECT_EQ(panel->Appointments().size(), 6u) << "yesterday's is not collected";
  // Under way (the conference since yesterday, the standup) under Today, the
  // finished run left out; tomorrow's all-day one by its date; a day ten days
  // ahead by its long date.
  const std::string expected = "Today: " + Span(kToday - 1 + 20 * kHour, kToday + 1 + 10 * kHour) + " Conference " +
                               Span(kToday + 8.5 * kHour, kToday + 9.5 * kHour) + " Standup " +
                               Span(kToday + 14 * kHour, kToday + 15 * kHour) +
                               " Dentist | Tommorow: " + Utf8(datetime::ShortDate(localdays::NoonOf(today + 1))) +
                               " Birthday | " + Utf8(datetime::RelativeDay(localdays::NoonOf(today + 10))) + ": " +
                               Span(kToday + 10 + 10 * kHour, kToday + 10 + 11 * kHour) + " Review";
  EXPECT_EQ(Utf8(panel->GetDumpText()), expected);
  // A tap on tomorrow's part of the panel: the calendar on tomorrow.
  POINT tomorrow{-1, -1};
  for (int y = 0; y < 268 && tomorrow.y < 0; ++y)
    if (panel->DayAt(POINT{100, y}) == today + 1) tomorrow = POINT{100, y + 2};
  ASSERT_GE(tomorrow.y, 0) << "tomorrow is shown";
  h.TapAt(tomorrow.x, tomorrow.y);
  auto* page = dynamic_cast<CmivoCalendarPage*>(h.Core().TopPage());
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->SelectedDay(), today + 1);
}

TEST(AppointmentPanel, WithNothingToComeSaysNoneUnderToday) {
  DesktopHarness h("appointments_none");
  Appointment(u"Early run", 40252.0 + 7.0 / 24, 40252.0 + 8.0 / 24);
  auto* panel = AddKind<CmivoAppointmentPanelGadget>(h, 23, RECT{0, 0, 240, 100});
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(Utf8(panel->GetDumpText()), "Today: None");
}

}  // namespace
