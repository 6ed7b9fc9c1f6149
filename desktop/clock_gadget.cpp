#include "desktop/clock_gadget.h"

#include <algorithm>
#include <ctime>

#include "core/core.h"
#include "desktop/analog_clock.h"
#include "desktop/desktop_page.h"
#include "desktop/gadget_properties.h"
#include "desktop/menu_entry.h"
#include "desktop/shared_skin_images.h"
#include "look/appearance.h"
#include "look/archive.h"
#include "look/date_time_format.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"

namespace {

const mivoStateValue kTimeValue{HKEY_LOCAL_MACHINE, u"System\\State\\DateTime", u"Time"};
// The clock's own sub-version of its record (the icon-text record's last word).
constexpr std::int32_t kClockSubVersion = 2;

enum : DWORD {
  kToggleAnalog = 2064,
  kToggleTicks = 2065,
  kToggleNumbers = 2066,
  kToggleCircle = 2067,
  kToggleGraphical = 2068,
};

// The digits 0-9, the divider, then am and pm: looked up so that they belong
// to the skin's images, never drawn (the clock shows 00-23).
enum : std::size_t { kDivider = 10 };

mivoSharedSkinImages& ClockImages() {
  static mivoSharedSkinImages images{u"gadget_clock_0", u"gadget_clock_1", u"gadget_clock_2",       u"gadget_clock_3",
                                     u"gadget_clock_4", u"gadget_clock_5", u"gadget_clock_6",       u"gadget_clock_7",
                                     u"gadget_clock_8", u"gadget_clock_9", u"gadget_clock_divider", u"gadget_clock_am",
                                     u"gadget_clock_pm"};
  return images;
}

HPEN TextPen(mivoCore* core, int width) {
  mivoAppearance* look = core ? core->GetAppearance() : nullptr;
  return CreatePen(PS_SOLID, width, look ? look->TextColor : RGB(255, 255, 255));
}

}  // namespace

CmivoClock::CmivoClock(mivoCore* core, CmivoDesktopPage* page)
    : CmivoStatusGadget(core, page, 1, ClockImages(), mivoStatusStyle{kTextLeftOfImage, 75}),
      m_pen1(TextPen(core, 1)),
      m_pen2(TextPen(core, 2)),
      m_pen4(TextPen(core, 4)) {
  Images();
}

CmivoClock::~CmivoClock() {
  DeleteObject(m_pen1);
  DeleteObject(m_pen2);
  DeleteObject(m_pen4);
}

void CmivoClock::Now(int* hour, int* minute) {
  struct tm local {};
  const bool ok = datetime::ToLocal(datetime::Now(), &local);
  *hour = ok ? local.tm_hour : -1;
  *minute = ok ? local.tm_min : -1;
}

void CmivoClock::OnActivate() {
  WatchState(kTimeValue);
  OnStateChanged(0, 0);
}

void CmivoClock::OnStateChanged(WPARAM, LPARAM) {
  m_text = m_analog || m_graphical ? std::u16string() : datetime::Strftime(datetime::Now(), u"%H:%M");
  // The faces that draw pictures change with the minute even when the text
  // (empty) does not: the clock's own rectangle is painted again.
  Invalidate();
}

std::u16string CmivoClock::GetDumpText() { return datetime::Strftime(datetime::Now(), u"%H:%M"); }

std::vector<std::u16string> CmivoClock::GraphicalImageNames(int hour, int minute) {
  auto digit = [](int d) { return u"gadget_clock_" + std::u16string(1, static_cast<char16_t>(u'0' + d)); };
  return {digit(hour / 10), digit(hour % 10), u"gadget_clock_divider", digit(minute / 10), digit(minute % 10)};
}

// ---- The picture ------------------------------------------------------------------------------

SIZE CmivoClock::GetImageSize() {
  if (m_analog) return SIZE{RectWidth(m_rect), RectHeight(m_rect)};
  if (!m_graphical) return SIZE{0, 0};
  mivoAppearance* look = m_pCore->GetAppearance();
  if (!look) return SIZE{0, 0};
  const SIZE digit = look->GetSkinImageSize(Images().Get(0));
  const SIZE divider = look->GetSkinImageSize(Images().Get(kDivider));
  // Without the digits there is no graphical face.
  if (digit.cx <= 0 || digit.cy <= 0) return SIZE{0, 0};
  return SIZE{4 * digit.cx + divider.cx, digit.cy};
}

RECT CmivoClock::DrawImage(HDC dc, const RECT& rect, UINT alignment) {
  if (m_analog) {
    mivoAppearance* look = m_pCore->GetAppearance();
    mivoAnalogClockStyle style;
    style.circle = m_showCircle;
    style.ticks = m_showTicks;
    style.numbers = m_showNumbers;
    style.pen1 = m_pen1;
    style.pen2 = m_pen2;
    style.pen4 = m_pen4;
    style.textColor = look ? look->TextColor : RGB(255, 255, 255);
    int hour = -1, minute = -1;
    Now(&hour, &minute);
    analog_clock::Draw(dc, rect, hour, minute, style);
    return rect;
  }
  if (m_graphical) return DrawGraphical(dc, rect, alignment);
  return RECT{};
}

RECT CmivoClock::DrawGraphical(HDC dc, const RECT& rect, UINT alignment) {
  mivoAppearance* look = m_pCore->GetAppearance();
  const SIZE size = GetImageSize();
  if (!look || size.cx <= 0 || size.cy <= 0) return RECT{};
  int hour = -1, minute = -1;
  Now(&hour, &minute);
  if (hour < 0 || minute < 0) return RECT{};
  // A gadget smaller than the pictures shows them smaller (their shape
  // kept) rather than cut off.
  const int W = RectWidth(rect), H = RectHeight(rect);
  const double k =
      std::min({1.0, W > 0 ? static_cast<double>(W) / size.cx : 1.0, H > 0 ? static_cast<double>(H) / size.cy : 1.0});
  auto scaled = [k](int v) { return std::max(1, static_cast<int>(v * k)); };
  SIZE block{k < 1.0 ? scaled(size.cx) : size.cx, k < 1.0 ? scaled(size.cy) : size.cy};
  // The digits as one block, placed in the rectangle as the layout asks
  // (the rectangle is the digits' own beside a text, the whole gadget without one).
  int x = rect.left, y = rect.top;
  if (alignment & kAlignCenterX) x += (W - block.cx) / 2;
  if (alignment & kAlignRight) x = rect.right - block.cx;
  if (alignment & kAlignCenterY) y += (H - block.cy) / 2;
  if (alignment & kAlignBottom) y = rect.bottom - block.cy;
  const std::size_t images[5] = {static_cast<std::size_t>(hour / 10), static_cast<std::size_t>(hour % 10), kDivider,
                                 static_cast<std::size_t>(minute / 10), static_cast<std::size_t>(minute % 10)};
  int at = x;
  for (std::size_t image : images) {
    // Digits at the top, the divider centred on their height; each picture
    // starts where the one before ended.
    mivoSkinImage* picture = Images().Get(image);
    const SIZE natural = look->GetSkinImageSize(picture);
    const int w = k < 1.0 ? scaled(natural.cx) : natural.cx, h = k < 1.0 ? scaled(natural.cy) : natural.cy;
    const RECT room = MakeRect(at, y, x + block.cx, y + block.cy);
    if (k < 1.0) {
      look->DrawSkinImage(picture, dc, room, image == kDivider ? kAlignCenterY : 0, kSkinDrawDirect, w, h);
    } else {
      look->DrawSkinImage(picture, dc, room, image == kDivider ? kAlignCenterY : 0);
    }
    at += w;
  }
  return MakeRect(x, y, x + block.cx, y + block.cy);
}

// ---- The design-mode menu ----------------------------------------------------------------------

void CmivoClock::AddContextMenuItems() {
  CmivoStatusGadget::AddContextMenuItems();
  if (!IsDesignMode() || !m_pDesktop) return;
  m_pDesktop->AddMenuSection(GetString(IDS_CLOCK_SETTINGS));
  m_pDesktop->AddMenuEntry(MenuEntry(kToggleAnalog, IDS_CLOCK_VIEW_HELP, true));
  if (!m_analog) {
    m_pDesktop->AddMenuEntry(
        MenuEntry(kToggleGraphical, m_graphical ? IDS_TEXT_CLOCK_HELP : IDS_GRAPHICAL_CLOCK_HELP, true));
    return;
  }
  m_pDesktop->AddMenuEntry(MenuEntry(kToggleCircle, 0, true));
  m_pDesktop->AddMenuEntry(MenuEntry(kToggleTicks, 0, true));
  m_pDesktop->AddMenuEntry(MenuEntry(kToggleNumbers, 0, true));
}

std::u16string CmivoClock::GetContextMenuItemText(const mivoContextMenuEntry& entry) {
  switch (entry.CommandId) {
    case kToggleAnalog: return GetString(m_analog ? IDS_DIGITAL_CLOCK : IDS_ANALOG_CLOCK);
    case kToggleGraphical: return GetString(m_graphical ? IDS_TEXT_CLOCK : IDS_GRAPHICAL_CLOCK);
    case kToggleCircle: return GetString(m_showCircle ? IDS_HIDE_CLOCK_CIRCLE : IDS_SHOW_CLOCK_CIRCLE);
    case kToggleTicks: return GetString(m_showTicks ? IDS_HIDE_TICKS : IDS_SHOW_TICKS);
    case kToggleNumbers: return GetString(m_showNumbers ? IDS_HIDE_MINUTE_NUMBERS : IDS_SHOW_MINUTE_NUMBERS);
    default: return CmivoStatusGadget::GetContextMenuItemText(entry);
  }
}

void CmivoClock::OnContextMenuCommand(const mivoContextMenuEntry& entry) {
  switch (entry.CommandId) {
    case kToggleAnalog:
      m_analog = !m_analog;
      OnStateChanged(0, 0);
      break;
    case kToggleGraphical:
      m_graphical = !m_graphical;
      OnStateChanged(0, 0);
      break;
    case kToggleCircle:
      m_showCircle = !m_showCircle;
      Invalidate();
      break;
    case kToggleTicks:
      m_showTicks = !m_showTicks;
      Invalidate();
      break;
    case kToggleNumbers:
      m_showNumbers = !m_showNumbers;
      Invalidate();
      break;
    default: break;
  }
  CmivoStatusGadget::OnContextMenuCommand(entry);
}

// ---- The stored flags ---------------------------------------------------------------------------

void CmivoClock::LoadProperties(mivoArchiveReader& in) {
  CmivoStatusGadget::LoadProperties(in);
  if (RecordVersion() >= 4) {
    std::uint8_t analog = 0, ticks = 0, numbers = 0, circle = 0;
    in.ReadU8(&analog);
    in.ReadU8(&ticks);
    in.ReadU8(&numbers);
    in.ReadU8(&circle);
    std::uint8_t graphical = 0;
    // An older clock knew no graphical face.
    if (m_value >= kClockSubVersion) in.ReadU8(&graphical);
    if (!in.Failed()) {
      m_analog = analog != 0;
      m_showTicks = ticks != 0;
      m_showNumbers = numbers != 0;
      m_showCircle = circle != 0;
      m_graphical = graphical != 0;
    }
  }
  m_value = kClockSubVersion;
}

void CmivoClock::SaveProperties(mivoArchiveWriter& out) {
  m_value = kClockSubVersion;
  CmivoStatusGadget::SaveProperties(out);
  out.WriteU8(m_analog ? 1 : 0);
  out.WriteU8(m_showTicks ? 1 : 0);
  out.WriteU8(m_showNumbers ? 1 : 0);
  out.WriteU8(m_showCircle ? 1 : 0);
  out.WriteU8(m_graphical ? 1 : 0);
}

void CmivoClock::ExchangeProperties(mivoGadgetProperties& properties) {
  CmivoStatusGadget::ExchangeProperties(properties);
  properties.Flag("analog", m_analog);
  properties.Flag("ticks", m_showTicks);
  properties.Flag("numbers", m_showNumbers);
  properties.Flag("circle", m_showCircle);
  properties.Flag("graphical", m_graphical);
}
