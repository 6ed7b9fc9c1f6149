#include "pim/phone_keyboard.h"

#include "actions/actions.h"
#include "core/core.h"
#include "look/appearance.h"
#include "look/toolkit.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"
#include "platform/window/describe.h"
#include "platform/window/message.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"

namespace {

// Key codes in reading order, for the two shapes.
constexpr int kTallOrder[12] = {2, 3, 4, kKeypadClear, 5, 6, 7, kKeypadBack, 8, 9, 10, 1};
constexpr int kWideOrder[12] = {2, 3, 4, 5, 6, 7, 8, 9, 10, 1, kKeypadBack, kKeypadClear};
// Column and row origins, times DisplayScale.
constexpr int kColumnX[4] = {1, 60, 119, 178};
constexpr int kRowY[4] = {2, 40, 78, 116};

const char16_t* ImageName(int keyCode) {
  static const char16_t* const kNames[12] = {u"keypad_button_0", u"keypad_button_1",     u"keypad_button_2",
                                             u"keypad_button_3", u"keypad_button_4",     u"keypad_button_5",
                                             u"keypad_button_6", u"keypad_button_7",     u"keypad_button_8",
                                             u"keypad_button_9", u"keypad_button_clear", u"keypad_button_back"};
  return keyCode >= 1 && keyCode <= 12 ? kNames[keyCode - 1] : nullptr;
}

std::u16string Label(int keyCode) {
  if (keyCode == kKeypadClear) return u"clear";
  if (keyCode == kKeypadBack) return u"back";
  return std::u16string(1, KeypadDigit(keyCode));
}

}  // namespace

char16_t KeypadDigit(int keyCode) {
  return keyCode >= 1 && keyCode <= 10 ? static_cast<char16_t>(u'0' + keyCode - 1) : u'\0';
}

CmivoPhoneKeyboard::CmivoPhoneKeyboard(mivoCore* core, UINT notifyMessage, bool clearDisabled)
    : mivoClass(core), m_notifyMessage(notifyMessage), m_clearDisabled(clearDisabled) {}

CmivoPhoneKeyboard::~CmivoPhoneKeyboard() = default;

BOOL CmivoPhoneKeyboard::CreateKeyboard(CWnd* parent, const RECT& rect) {
  if (!Create(nullptr, u"", WS_CHILD | WS_VISIBLE, rect, parent, 0)) return FALSE;
  mivoActions* actions = m_pCore->GetActions();
  for (int code = 1; code <= 12; ++code) {
    auto button = std::make_unique<CmivoButton>(m_pCore);
    button->SetLabel(Label(code));
    // The pictures are the skin's, looked up once per skin and shared.
    mivoSkinImage* image = actions ? actions->SkinImage(ImageName(code)) : nullptr;
    button->CreateButton(RECT{0, 0, 10, 10}, image, this, static_cast<UINT>(code));
    m_buttons[static_cast<std::size_t>(code - 1)] = std::move(button);
  }
  LayoutButtons();
  return TRUE;
}

void CmivoPhoneKeyboard::SetColumns(int columns) {
  const int wanted = columns == 3 ? 3 : 4;
  if (wanted == m_columns) return;
  m_columns = wanted;
  LayoutButtons();
}

void CmivoPhoneKeyboard::MoveKeyboard(const RECT& rect) {
  if (!m_hWnd) return;
  RECT now{};
  GetWindowRect(&now);
  if (CWnd* parent = GetParent()) parent->ScreenToClient(&now);
  if (!EqualRect(&now, &rect)) MoveWindow(rect);
  LayoutButtons();
  Invalidate(FALSE);
}

void CmivoPhoneKeyboard::LayoutButtons() {
  if (!m_hWnd) return;
  const int s = DisplayScale;
  const int* order = m_columns == 4 ? kTallOrder : kWideOrder;
  mivoActions* actions = m_pCore->GetActions();
  for (int i = 0; i < 12; ++i) {
    CmivoButton* button = m_buttons[static_cast<std::size_t>(order[i] - 1)].get();
    if (!button || !button->m_hWnd) continue;
    const int x = kColumnX[i % m_columns] * s;
    const int y = kRowY[i / m_columns] * s;
    button->MoveWindow(RECT{x, y, x + kButtonWidth * s, y + kButtonHeight * s});
    // A new skin brings new pictures.
    if (actions) button->SetImage(actions->SkinImage(ImageName(order[i])));
  }
}

void CmivoPhoneKeyboard::DrawAt(HDC dc, int x, int y) {
  mivoAppearance* look = m_pCore->GetAppearance();
  if (!m_hWnd) return;
  RECT client{};
  GetClientRect(&client);
  OffsetRect(&client, x, y);
  FillBackground(dc, client, look);
  for (const auto& button : m_buttons) {
    if (!button || !button->m_hWnd) continue;
    RECT r{};
    button->GetWindowRect(&r);
    ScreenToClient(&r);
    button->DrawAt(dc, x + r.left, y + r.top);
  }
}

void CmivoPhoneKeyboard::DescribeButtons(window::JsonWriter& j) const {
  for (const auto& button : m_buttons) {
    if (!button || !button->m_hWnd || !IsWindowVisible()) continue;
    RECT r{};
    button->GetWindowRect(&r);
    j.BeginObject();
    j.Key("text");
    j.String(button->Label());
    j.Key("rect");
    j.Rect(r.left, r.top, r.right, r.bottom);
    j.EndObject();
  }
}

void CmivoPhoneKeyboard::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(m_hWnd, &ps);
  if (dc) {
    // Only the gaps between the buttons: they paint themselves.
    RECT client{};
    GetClientRect(&client);
    FillBackground(dc, client, m_pCore->GetAppearance());
  }
  EndPaint(m_hWnd, &ps);
}

void CmivoPhoneKeyboard::OnCommand(UINT id) {
  if (id < 1 || id > 12) return;
  if (id == kKeypadClear && m_clearDisabled) return;
  if (HWND parent = GetParentHwnd()) PostMessageW(parent, m_notifyMessage, id, 0);
}

LRESULT CmivoPhoneKeyboard::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: OnCommand(LOWORD(wParam)); return 0;
    case WM_PAINT: OnPaint(); return 0;
    case WM_ERASEBKGND: return 1;
    default: return CWnd::WindowProc(message, wParam, lParam);
  }
}
