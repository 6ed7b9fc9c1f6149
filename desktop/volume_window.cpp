#include "desktop/volume_window.h"

#include <algorithm>

#include "core/core.h"
#include "look/appearance.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "platform/device/system.h"
#include "platform/gdi/gdi.h"
#include "platform/registry/registry.h"
#include "platform/win32/rect.h"
#include "platform/win32/text.h"
#include "platform/window/message.h"
#include "platform/window/window.h"
#include "ui/overlay_frame.h"

namespace {

constexpr char16_t kRingKey[] = u"ControlPanel\\SoundCategories\\Ring";
constexpr char16_t kRingValue[] = u"InitVol";
constexpr int kLevels = 6;

// The layout, times DisplayScale, from the client area's top left.
constexpr int kBarsLeft = 50;         // the rows' bars start here ...
constexpr int kBarsRightMargin = 20;  // ... and end this far before the right edge
constexpr int kSystemRowTop = 30, kSystemRowBottom = 50;
constexpr int kRingRowTop = 75, kRingRowBottom = 95;
constexpr int kIconLeft = 10;
constexpr int kSystemIconTop = 25, kRingIconTop = 70;
constexpr int kSwitchBandBottom = 150, kSwitchBandHeight = 40;  // mute and vibrate
constexpr int kCloseBandBottom = 230, kCloseBandHeight = 70;
constexpr int kHeight = 240;
// A low screen: the three buttons share one band, and the window is lower.
constexpr int kCompactBandTop = 106, kCompactBandBottom = 156;
constexpr int kCompactHeight = 165;
constexpr int kHighlight = 4;  // the highlight's margin around the button in force
constexpr int kHighlightRadius = 10;
constexpr int kBarGap = 2;  // between two bars

RECT ImageAt(mivoAppearance& look, mivoSkinImage* image, int x, int y) {
  const SIZE size = look.GetSkinImageSize(image);
  return MakeRect(x, y, x + size.cx, y + size.cy);
}

// A picture's rectangle centred in a box (scaled down, its shape kept, when
// the box is smaller).
RECT CentredIn(mivoAppearance& look, mivoSkinImage* image, const RECT& box) {
  SIZE size = look.GetSkinImageSize(image);
  if (size.cx <= 0 || size.cy <= 0) return RECT{};
  const int roomW = RectWidth(box), roomH = RectHeight(box);
  if (size.cx > roomW || size.cy > roomH) {
    const double k = std::min(static_cast<double>(roomW) / size.cx, static_cast<double>(roomH) / size.cy);
    size.cx = std::max(1, static_cast<int>(size.cx * k));
    size.cy = std::max(1, static_cast<int>(size.cy * k));
  }
  const int x = box.left + (roomW - size.cx) / 2, y = box.top + (roomH - size.cy) / 2;
  return MakeRect(x, y, x + size.cx, y + size.cy);
}

void DrawImageIn(mivoAppearance& look, HDC dc, mivoSkinImage* image, const RECT& r) {
  if (IsRectEmpty(&r)) return;
  look.DrawSkinImage(image, dc, r, 0, kSkinDrawDirect, RectWidth(r), RectHeight(r));
}

}  // namespace

CmivoVolumeWnd::~CmivoVolumeWnd() {
  ui::UnregisterOverlay(this);
  if (m_hWnd) DestroyWindow();
}

// ---- The device's sound ----------------------------------------------------------------------

int CmivoVolumeWnd::SystemLevel() {
  DWORD volume = 0;
  if (waveOutGetVolume(nullptr, &volume) != MMSYSERR_NOERROR) return 0;
  return std::min<int>(kLevels, static_cast<int>((volume & 0xFFFF) / kVolumeStep));
}

int CmivoVolumeWnd::RingLevel() {
  DWORD level = 0;
  if (RegistryGetDWORD(HKEY_CURRENT_USER, kRingKey, kRingValue, &level) != S_OK) level = 0;
  return static_cast<int>(std::min<DWORD>(level, kLevels));
}

SND_SOUNDTYPE CmivoVolumeWnd::SoundType() {
  SNDFILEINFO info;
  return SndGetSound(SND_EVENT_ALL, &info) == S_OK ? info.sstType : SND_SOUNDTYPE_ON;
}

void CmivoVolumeWnd::SetSoundType(SND_SOUNDTYPE type) {
  SNDFILEINFO info;
  SndGetSound(SND_EVENT_ALL, &info);
  // The type is the only field that changes.
  info.sstType = type;
  SndSetSound(SND_EVENT_ALL, &info, TRUE);
}

void CmivoVolumeWnd::SetSystemVolume(DWORD volume) {
  SetSoundType(SND_SOUNDTYPE_ON);
  waveOutSetVolume(nullptr, volume);
  Invalidate(FALSE);
}

void CmivoVolumeWnd::SetRingVolume(DWORD level) {
  SetSoundType(SND_SOUNDTYPE_ON);
  RegistrySetDWORD(HKEY_CURRENT_USER, kRingKey, kRingValue, level);
  Invalidate(FALSE);
}

// ---- The modal run ------------------------------------------------------------------------------

bool CmivoVolumeWnd::RunModal(CWnd* over) {
  CFrameWnd* frame = m_pCore->GetMainFrame();
  if (!frame || !frame->m_hWnd || !m_pCore->GetAppearance() || m_hWnd) return false;
  const int S = DisplayScale;
  RECT client{};
  frame->GetClientRect(&client);
  int top = client.top;
  if (over && over->m_hWnd) {
    RECT page{};
    over->GetWindowRect(&page);
    frame->ScreenToClient(&page);
    top = std::clamp<int>(page.top, client.top, client.bottom);
  }
  m_compact = client.bottom - top < kHeight * S;
  const int height = (m_compact ? kCompactHeight : kHeight) * S;
  if (!CreateEx(0, nullptr, u"", WS_CHILD | WS_VISIBLE, MakeRect(client.left, top, client.right, top + height), frame,
                static_cast<UINT>(-1))) {
    return false;
  }
  bool closed = false;
  {
    ui::ModalOverlay modal(*this, this);
    closed = modal.Run() == 1;
  }
  // The program is ending: the quit stays queued for the program's own loop.
  if (!closed) return false;
  // What was tapped or typed beside the window while it was open is no
  // command for what lies behind it. (A quit that arrives meanwhile is passed on.)
  const UINT ranges[][2] = {{WM_MOUSEFIRST, WM_MOUSELAST}, {WM_KEYFIRST, WM_KEYLAST}, {WM_CONTEXTMENU, WM_CONTEXTMENU}};
  for (const auto& range : ranges) {
    MSG dropped;
    while (PeekMessageW(&dropped, nullptr, range[0], range[1], PM_REMOVE)) {
      if (dropped.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(dropped.wParam));
        return true;
      }
    }
  }
  return true;
}

// ---- Painting --------------------------------------------------------------------------------

int CmivoVolumeWnd::Draw(HDC dc, mivoAppearance& look, const RECT& client) {
  const int S = DisplayScale;
  const int L = client.left, T = client.top, R = client.right;
  ui::DrawOverlayFrame(look, dc, client, u" " + GetString(IDS_VOLUME_TITLE) + u" ",
                       DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);

  // The two rows of six bars: lit up to the level.
  HBRUSH lit = CreateSolidBrush(look.ColorTheme().GetColor(6));
  SelectObject(dc, look.ThemePen4);
  SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
  auto row = [&](std::array<RECT, 6>& bars, int top, int bottom, int level) {
    const int left = L + kBarsLeft * S, width = R - kBarsRightMargin * S - left;
    for (int i = 0; i < kLevels; ++i) {
      bars[i] = MakeRect(left + width * i / kLevels, T + top * S, left + width * (i + 1) / kLevels, T + bottom * S);
      RECT bar = bars[i];
      bar.left += kBarGap * S / 2;
      bar.right -= kBarGap * S - kBarGap * S / 2;
      if (i < level) {
        FillRect(dc, &bar, lit);
      } else {
        Rectangle(dc, bar.left, bar.top, bar.right, bar.bottom);
      }
    }
  };
  row(m_systemBars, kSystemRowTop, kSystemRowBottom, SystemLevel());
  row(m_ringBars, kRingRowTop, kRingRowBottom, RingLevel());

  mivoSkinImage* systemImage = look.GetSkinImage(u"volume_system");
  mivoSkinImage* ringImage = look.GetSkinImage(u"volume_phone");
  m_systemIcon = ImageAt(look, systemImage, L + kIconLeft * S, T + kSystemIconTop * S);
  m_ringIcon = ImageAt(look, ringImage, L + kIconLeft * S, T + kRingIconTop * S);
  DrawImageIn(look, dc, systemImage, m_systemIcon);
  DrawImageIn(look, dc, ringImage, m_ringIcon);

  // Mute and vibrate, the one in force highlighted; then the close button.
  mivoSkinImage* muteImage = look.GetSkinImage(u"volume_mute");
  mivoSkinImage* vibrateImage = look.GetSkinImage(u"volume_vibrate");
  mivoSkinImage* closeImage = look.GetSkinImage(u"message_box_yes");
  RECT muteBox{}, vibrateBox{}, closeBox{};
  int height = kHeight * S;
  if (!m_compact) {
    const int top = T + (kSwitchBandBottom - kSwitchBandHeight) * S, bottom = T + kSwitchBandBottom * S;
    const int middle = (L + R) / 2;
    muteBox = MakeRect(L, top, middle, bottom);
    vibrateBox = MakeRect(middle, top, R, bottom);
    closeBox = MakeRect(L, T + (kCloseBandBottom - kCloseBandHeight) * S, R, T + kCloseBandBottom * S);
  } else {
    const int top = T + kCompactBandTop * S, bottom = T + kCompactBandBottom * S;
    const int third = (R - L) / 3;
    muteBox = MakeRect(L, top, L + third, bottom);
    vibrateBox = MakeRect(L + third, top, L + 2 * third, bottom);
    closeBox = MakeRect(L + 2 * third, top, R, bottom);
    height = kCompactHeight * S;
  }
  m_mute = CentredIn(look, muteImage, muteBox);
  m_vibrate = CentredIn(look, vibrateImage, vibrateBox);
  m_close = CentredIn(look, closeImage, closeBox);
  const SND_SOUNDTYPE sound = SoundType();
  const RECT* active = sound == SND_SOUNDTYPE_NONE ? &m_mute : sound == SND_SOUNDTYPE_VIBRATE ? &m_vibrate : nullptr;
  if (active && !IsRectEmpty(active)) {
    HBRUSH fill = CreateSolidBrush(look.ColorTheme().GetColor(7));
    SelectObject(dc, look.ThemePen6);
    SelectObject(dc, fill);
    const int m = kHighlight * S;
    RoundRect(dc, active->left - m, active->top - m, active->right + m, active->bottom + m, kHighlightRadius * S,
              kHighlightRadius * S);
    SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
    DeleteObject(fill);
  }
  DrawImageIn(look, dc, muteImage, m_mute);
  DrawImageIn(look, dc, vibrateImage, m_vibrate);
  DrawImageIn(look, dc, closeImage, m_close);
  SelectObject(dc, GetStockObject(NULL_PEN));
  DeleteObject(lit);
  return height;
}

// ---- Input -------------------------------------------------------------------------------------

void CmivoVolumeWnd::OnTap(POINT p) {
  if (PtInRect(&m_close, p)) {
    PostMessage(WM_USER);
    return;
  }
  if (PtInRect(&m_systemIcon, p)) {
    SetSystemVolume(0);
    return;
  }
  if (PtInRect(&m_ringIcon, p)) {
    SetRingVolume(0);
    return;
  }
  if (PtInRect(&m_mute, p)) {
    SetSoundType(SoundType() == SND_SOUNDTYPE_NONE ? SND_SOUNDTYPE_ON : SND_SOUNDTYPE_NONE);
    Invalidate(FALSE);
    return;
  }
  if (PtInRect(&m_vibrate, p)) {
    // Vibrate only from sound on; from mute or vibrate the sound comes on.
    SetSoundType(SoundType() != SND_SOUNDTYPE_ON ? SND_SOUNDTYPE_ON : SND_SOUNDTYPE_VIBRATE);
    Invalidate(FALSE);
    return;
  }
  for (int i = 0; i < kLevels; ++i) {
    if (PtInRect(&m_systemBars[i], p)) {
      SetSystemVolume(static_cast<DWORD>(i + 1) * kVolumeStep);
      return;
    }
    if (PtInRect(&m_ringBars[i], p)) {
      SetRingVolume(static_cast<DWORD>(i + 1));
      return;
    }
  }
}

LRESULT CmivoVolumeWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      ui::PaintOverlay(*this, m_pCore->GetAppearance(),
                       [this](HDC dc, mivoAppearance& look, const RECT& client) { return Draw(dc, look, client); });
      return 0;
    case WM_ERASEBKGND: return 1;
    case WM_LBUTTONUP: OnTap(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_KEYDOWN:
      // Back, Escape and Enter close it as its button does.
      if (wParam == VK_ESCAPE || wParam == VK_BACK || wParam == VK_RETURN) PostMessage(WM_USER);
      return 0;
    default: return CWnd::WindowProc(message, wParam, lParam);
  }
}

// ---- The state dump ------------------------------------------------------------------------------

ui::OverlayDescription CmivoVolumeWnd::DescribeOverlay() const {
  ui::OverlayDescription d;
  d.kind = "volume";
  d.title = GetString(IDS_VOLUME_TITLE);
  const SND_SOUNDTYPE sound = SoundType();
  const char16_t* soundName = sound == SND_SOUNDTYPE_NONE      ? u"mute"
                              : sound == SND_SOUNDTYPE_VIBRATE ? u"vibrate"
                              : sound == SND_SOUNDTYPE_FILE    ? u"file"
                                                               : u"on";
  d.text = text::Format(u"system %d, ring %d, %s", SystemLevel(), RingLevel(), soundName);
  if (!m_hWnd) return d;
  for (const RECT* r : {&m_close, &m_mute, &m_vibrate, &m_systemIcon, &m_ringIcon}) {
    d.buttons.push_back(ui::ToScreen(m_hWnd, *r));
  }
  for (const RECT& r : m_systemBars) d.buttons.push_back(ui::ToScreen(m_hWnd, r));
  for (const RECT& r : m_ringBars) d.buttons.push_back(ui::ToScreen(m_hWnd, r));
  return d;
}
