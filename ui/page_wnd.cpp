#include "ui/page_wnd.h"

#include <algorithm>
#include <cstdlib>

#include "core/core.h"
#include "core/messages.h"
#include "look/appearance.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/clock.h"
#include "platform/win32/rect.h"
#include "platform/win32/text.h"
#include "platform/window/describe.h"
#include "platform/window/message.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"
#include "ui/child_wnd.h"
#include "ui/header_clock.h"

namespace {

// Room for a translated label; a longer one is cut.
constexpr std::size_t kLabelChars = 64;

// The labels live in static buffers: a posted WM_MIVO_SOFTKEYS carries pointers to
// them, which must stay valid until the frame has handled it.
char16_t g_backLabel[kLabelChars];
char16_t g_hideLabel[kLabelChars];

void RefreshLabel(char16_t (&buffer)[kLabelChars], int id) {
  const std::u16string text = GetString(id);
  if (std::u16string_view(buffer) != std::u16string_view(text).substr(0, kLabelChars - 1)) {
    text::CopyTo(buffer, kLabelChars, text);
  }
}

// The header clock's font, one per scale, kept for the program's run.
HFONT ClockFont(int scale) {
  static HFONT fonts[3] = {};
  const int s = std::clamp(scale, 1, 2);
  if (!fonts[s]) {
    LOGFONTW lf{};
    lf.lfHeight = 15 * s;
    lf.lfWeight = FW_NORMAL;
    lf.lfQuality = CLEARTYPE_QUALITY;
    text::CopyTo(lf.lfFaceName, LF_FACESIZE, u"Arial");
    fonts[s] = CreateFontIndirectW(&lf);
  }
  return fonts[s];
}

void FillColor(HDC dc, const RECT& r, COLORREF color) {
  if (IsRectEmpty(&r)) return;
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

}  // namespace

// ---- Life ------------------------------------------------------------------------

CmivoPageWnd::~CmivoPageWnd() {
  m_pCore->ForgetPage(this);
}

BOOL CmivoPageWnd::CreatePage(CWnd* frame) {
  RECT client{};
  if (frame) frame->GetClientRect(&client);
  return Create(nullptr, u"", WS_CHILD | WS_VISIBLE, client, frame, static_cast<UINT>(-1));
}

void CmivoPageWnd::GoBack() {
  m_pCore->PopPage();
}

void CmivoPageWnd::HideApplication() {
  m_pCore->MinimizeApplication();
}

void CmivoPageWnd::UpdateSoftKeys() {
  RefreshLabel(g_backLabel, IDS_BACK);
  RefreshLabel(g_hideLabel, IDS_HIDE);
  m_pCore->PostSoftKeys(g_backLabel, g_hideLabel);
}

std::u16string CmivoPageWnd::GetTitle(int, int) { return GetString(IDS_UNKNOWN_PAGE_NAME); }

void CmivoPageWnd::DumpRows(window::JsonWriter& j) {
  j.BeginArray();
  j.EndArray();
}
void CmivoPageWnd::DumpCells(window::JsonWriter& j) {
  j.BeginArray();
  j.EndArray();
}
void CmivoPageWnd::DumpTexts(window::JsonWriter& j) {
  j.BeginArray();
  j.EndArray();
}

void CmivoPageWnd::CollectImages(std::vector<mivoSkinImage*>& images) {
  if (m_pPageIcon) images.push_back(m_pPageIcon);
  CmivoWnd::CollectImages(images);
}

// ---- Layout ------------------------------------------------------------------------

void CmivoPageWnd::SetTitle(const std::u16string& title) {
  if (title == m_title) return;
  const bool hadHeader = !m_title.empty();
  m_title = title;
  if (!m_hWnd) return;
  if (hadHeader != !m_title.empty()) {
    ComputeLayout();
    LayoutPage();
    Invalidate(FALSE);
  } else {
    InvalidateRect(&m_headerRect, FALSE);
  }
}

void CmivoPageWnd::FitToFrame() {
  CFrameWnd* frame = m_pCore->GetMainFrame();
  if (!frame || !frame->m_hWnd || !m_hWnd) return;
  RECT client{};
  frame->GetClientRect(&client);
  RECT mine{};
  GetWindowRect(&mine);
  frame->ScreenToClient(&mine);
  if (!EqualRect(&mine, &client)) MoveWindow(client);
}

void CmivoPageWnd::ComputeLayout() {
  RECT client{};
  if (m_hWnd) GetClientRect(&client);
  const int S = DisplayScale;
  if (m_title.empty()) {
    m_headerRect = RECT{};
    m_contentRect = client;
  } else {
    m_headerRect = MakeRect(client.left, client.top, client.right, kHeaderHeight * S);
    // The content reaches 2·S past the bottom: lists end flush with the
    // screen's edge without a seam of background under their last card.
    m_contentRect = MakeRect(client.left, kHeaderHeight * S, client.right, client.bottom + 2 * S);
  }
}

// ---- The header ------------------------------------------------------------------------

void CmivoPageWnd::DrawBackground(HDC dc, bool erase, int left, int top, int right, int bottom) {
  if (m_title.empty()) return;
  const RECT area = MakeRect(left, top, right, bottom);
  RECT meet{};
  ComputeLayout();
  if (!IntersectRect(&meet, &area, &m_headerRect)) return;
  DrawHeader(dc);
}

void CmivoPageWnd::DrawHeader(HDC dc) {
  mivoAppearance* look = m_pCore->GetAppearance();
  if (!look) return;
  const int S = DisplayScale;
  const RECT& h = m_headerRect;
  const int l = h.left, t = h.top, r = h.right;
  const int bandTop = t + kHeaderTopBand * S;
  const int bandMiddle = (kHeaderTopBand * S + kHeaderHeight * S + t) / 2;
  mivoColorTheme& theme = look->ColorTheme();

  // Three bands: the status strip in the text colour, a band in the card
  // colour, then the page's background.
  FillColor(dc, MakeRect(l, t, r, bandTop), theme.GetColor(2));
  FillColor(dc, MakeRect(l, bandTop, r, bandMiddle), theme.GetColor(5));
  FillColor(dc, MakeRect(l, bandMiddle, r, kHeaderHeight * S), look->BackgroundColor);

  const int saved = SaveDC(dc);
  SetBkMode(dc, TRANSPARENT);

  // The title sits on the header's bottom edge, one line, cut with "...".
  SelectObject(dc, look->LargeTitleFont);
  SetTextColor(dc, look->TextColor);
  RECT titleRect = h;
  DrawTextW(dc, m_title.c_str(), static_cast<int>(m_title.size()), &titleRect,
            DT_CENTER | DT_BOTTOM | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);

  // The clock, centred at the top, in the background colour on the strip.
  SelectObject(dc, ClockFont(S));
  SetTextColor(dc, look->BackgroundColor);
  const std::u16string clock = ui::HeaderClockText();
  RECT measure = MakeRect(0, 0, 0, 0);
  DrawTextW(dc, clock.c_str(), static_cast<int>(clock.size()), &measure, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  const int cw = RectWidth(measure);
  const int x = l + (r - l - cw) / 2;
  m_clockRect = MakeRect(x, t, x + cw, t + RectHeight(measure));
  RECT clockRect = m_clockRect;
  DrawTextW(dc, clock.c_str(), static_cast<int>(clock.size()), &clockRect, DT_SINGLELINE | DT_NOPREFIX);

  // Signal: one bar per 20 of strength, 5 bars at 100.
  const int v = static_cast<int>(std::min<DWORD>(m_pCore->GetSignalStrength(), 1000));
  HPEN signalPen = CreatePen(PS_SOLID, 2 * S, look->BackgroundColor);
  SelectObject(dc, signalPen);
  for (int bar = 1; bar <= 5; ++bar) {
    if (v < bar * 20) break;
    const int bx = l + 3 * bar * S;
    MoveToEx(dc, bx, t + 12 * S, nullptr);
    LineTo(dc, bx, t + (12 - 2 * bar) * S);
  }
  m_signalRect = MakeRect(0, 0, 16 * S, 14 * S);

  // Battery: the body's outline, the tip and the level bar.
  HPEN batteryPen = CreatePen(PS_SOLID, S, look->BackgroundColor);
  SelectObject(dc, batteryPen);
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, r - 30 * S, t + 3 * S, r - 10 * S, t + 12 * S);
  FillColor(dc, MakeRect(r - 10 * S, t + 5 * S, r - 7 * S, t + 10 * S), look->BackgroundColor);
  const double level = static_cast<double>(m_pCore->GetBatteryLevel());
  const double barRight = static_cast<double>(r - 30 * S) + level * 0.01 * 18.0 * S;
  const int levelRight = static_cast<int>(std::min(barRight, 1e6));
  FillColor(dc, MakeRect(r - 28 * S, t + 5 * S, levelRight, t + 10 * S), look->BackgroundColor);
  m_batteryRect = MakeRect(r - 30 * S, 0, r, t + 12 * S);

  RestoreDC(dc, saved);
  DeleteObject(signalPen);
  DeleteObject(batteryPen);
}

// ---- Swipes ------------------------------------------------------------------------------

void CmivoPageWnd::ResetSwipeState() {
  m_tracking = false;
  m_swipeDx = 0;
  m_swipeDy = 0;
  m_swipeText.clear();
  m_swipeRecognised = false;
}

BOOL CmivoPageWnd::PreTranslateMessage(MSG* msg) {
  const UINT message = msg->message;
  if (message != WM_LBUTTONDOWN && message != WM_MOUSEMOVE && message != WM_LBUTTONUP) {
    return CmivoWnd::PreTranslateMessage(msg);
  }
  POINT pt{GET_X_LPARAM(msg->lParam), GET_Y_LPARAM(msg->lParam)};
  ::ClientToScreen(msg->hwnd, &pt);

  // A child that keeps the stylus to itself (a switcher that follows the
  // finger) is left alone.
  if (HWND under = WindowFromPoint(pt)) {
    if (auto* wnd = dynamic_cast<CmivoWnd*>(CWnd::FromHandle(under))) {
      POINT local = pt;
      wnd->ScreenToClient(&local);
      CmivoChildWnd* child = wnd->ChildAt(local.x, local.y);
      if (child && !child->AllowsPageSwipe()) return FALSE;
    }
  }

  switch (message) {
    case WM_LBUTTONDOWN:
      // A press starts following a possible swipe.
      m_pressPoint = pt;
      m_swipeDx = 0;
      m_swipeDy = 0;
      m_swipeText.clear();
      m_tracking = true;
      m_pressPending = true;
      m_swipeRecognised = false;
      return FALSE;
    case WM_MOUSEMOVE: {
      // A move widens the gesture; sideways enough and straight enough, it is a swipe.
      if (!m_tracking || !(msg->wParam & MK_LBUTTON)) return FALSE;
      m_swipeDx = std::max(m_swipeDx, std::abs(pt.x - m_pressPoint.x));
      m_swipeDy = std::max(m_swipeDy, std::abs(pt.y - m_pressPoint.y));
      const int width = RectWidth(m_contentRect);
      if (m_swipeDy < kSwipeMaxDrift && m_swipeDx > width / 8) {
        if (m_pressPoint.x > pt.x) m_swipeText = u"l";
        else if (m_pressPoint.x < pt.x) m_swipeText = u"r";
        // A recognised swipe owns its release: it is no tap any more.
        if (!m_swipeText.empty()) {
          m_pressPending = false;
          m_swipeRecognised = true;
        }
      } else if (m_swipeDy >= kSwipeMaxDrift) {
        // A finger that wandered this far up or down was no sideways swipe,
        // even when it looked like one at first.
        m_swipeText.clear();
      }
      return FALSE;
    }
    default: {
      // The release: a tap goes on as a tap; a swipe goes Back or to the window under the press.
      if (m_pressPending || m_swipeText.empty()) {
        const bool wasSwipe = m_swipeRecognised && !m_pressPending;
        m_pressPending = false;
        m_swipeRecognised = false;
        // A gesture that was once a swipe never ends as a tap, even when the
        // finger wandered off its line before it lifted: its release is
        // nobody's (a gadget under it would take it for a tap).
        if (wasSwipe) {
          m_tracking = false;
          if (HWND capture = GetCapture(); capture && (capture == m_hWnd || ::IsChild(m_hWnd, capture))) {
            ReleaseCapture();
          }
          return TRUE;
        }
        return FALSE;
      }
      m_swipeRecognised = false;
      m_pressPending = false;
      // The gesture is over for whichever window followed it.
      if (HWND capture = GetCapture(); capture && (capture == m_hWnd || ::IsChild(m_hWnd, capture))) {
        ReleaseCapture();
      }
      if (m_tracking) {
        m_tracking = false;
        if (m_swipeText == u"l" && m_swipeBackEnabled) {
          m_swipeText.clear();
          m_pCore->PopPage();
        } else {
          if (HWND target = WindowFromPoint(m_pressPoint)) {
            POINT local = m_pressPoint;
            ::ScreenToClient(target, &local);
            SendMessageW(target, WM_MIVO_SWIPE, static_cast<WPARAM>(local.x), static_cast<LPARAM>(local.y));
          }
          m_swipeText.clear();
        }
      }
      return TRUE;
    }
  }
}

// ---- Messages --------------------------------------------------------------------------------

LRESULT CmivoPageWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      const LRESULT result = CmivoWnd::WindowProc(message, wParam, lParam);
      if (result == -1) return -1;
      ComputeLayout();
      LayoutPage();
      return result;
    }
    case WM_SIZE: {
      const LRESULT result = CmivoWnd::WindowProc(message, wParam, lParam);
      ComputeLayout();
      return result;
    }
    case WM_MIVO_RELAYOUT:
      FitToFrame();
      ComputeLayout();
      LayoutPage();
      return 0;
    case WM_MIVO_QUERY_FLAG:
      return QueryFlag() ? 1 : 0;
    case WM_ERASEBKGND:
      // Pages have no class brush: nothing is erased, painting covers all.
      return CWnd::WindowProc(message, wParam, lParam);
    default:
      return CmivoWnd::WindowProc(message, wParam, lParam);
  }
}
