#include "platform/shell/input_panel.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/shell/taskbar.h"
#include "platform/win32/rect.h"
#include "platform/win32/text.h"
#include "platform/window/command_bar.h"
#include "platform/window/describe.h"
#include "platform/window/framework.h"
#include "platform/window/input.h"
#include "platform/window/metrics.h"
#include "platform/window/paint.h"
#include "platform/window/painted_wnd.h"
#include "platform/window/shell_look.h"
#include "platform/window/window.h"

namespace shell {

namespace {

enum class KeyKind { Char, Shift, Backspace, Enter, Space, Layer };
enum LayerId { kLetters = 0, kSymbols = 1, kAccents = 2, kMore = 3 };

struct Key {
  KeyKind kind = KeyKind::Char;
  std::u16string text;  // what it types (Char) or its name (the others)
  int units = 2;        // width in half-key units (a letter key is 2)
  int target = 0;       // the layer a Layer key opens
};
using Row = std::vector<Key>;

struct Layer {
  const char* name;
  std::vector<Row> rows;
  bool oneShot;  // after one character the letters come back
};

Row Chars(std::u16string_view chars) {
  Row row;
  for (char16_t c : chars) row.push_back(Key{KeyKind::Char, std::u16string(1, c), 2, 0});
  return row;
}
Row Join(Row a, const Row& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
Key Fn(KeyKind kind, const char16_t* name, int units, int target = 0) { return Key{kind, name, units, target}; }

const std::vector<Layer>& Layers() {
  static const std::vector<Layer> layers = [] {
    const Key shift = Fn(KeyKind::Shift, u"shift", 3);
    const Key back = Fn(KeyKind::Backspace, u"backspace", 3);
    const Key enter = Fn(KeyKind::Enter, u"enter", 4);
    const Key space = Fn(KeyKind::Space, u"space", 6);
    const Key to123 = Fn(KeyKind::Layer, u"123", 3, kSymbols);
    const Key toAbc = Fn(KeyKind::Layer, u"abc", 3, kLetters);
    const Key toAccents = Fn(KeyKind::Layer, u"áé", 3, kAccents);
    const Key toMore = Fn(KeyKind::Layer, u"more", 3, kMore);
    std::vector<Layer> l;
    l.push_back({"abc",
                 {Chars(u"1234567890"), Chars(u"qwertyuiop"), Chars(u"asdfghjkl'"),
                  Join(Join({shift}, Chars(u"zxcvbnm")), {back}),
                  Join(Join(Join({to123, toAccents}, Chars(u",")), Join({space}, Chars(u"."))), {enter})},
                 false});
    l.push_back({"123",
                 {Chars(u"1234567890"), Chars(u"!@#$%&*()-"), Chars(u"_=+;:'\"/?\\"),
                  Join(Join({Key{KeyKind::Char, u"~", 3, 0}}, Chars(u"<>[]{}|")), {back}),
                  Join(Join(Join({toAbc, toAccents}, Chars(u",")), Join({space}, Chars(u"."))), {enter})},
                 false});
    l.push_back({"áé",
                 {Chars(u"áàâäãåæąçč"), Chars(u"ćďéèêëěęíì"), Chars(u"îïľĺłñńňóò"),
                  Join(Join({shift}, Chars(u"ôöõøőœŕ")), {back}), Join({toAbc, toMore}, Chars(u"řšśßťúù"))},
                 true});
    l.push_back({"more",
                 {Chars(u"ûüůűýÿžźżţ"), Chars(u"şğı¿¡€£¥°§"), Chars(u"«»„“”‘’–…·"),
                  Join(Join({shift}, Chars(u"½×÷±²³©")), {back}), Join({toAbc, toAccents}, Chars(u"µ¢®™¤¬¦"))},
                 true});
    return l;
  }();
  return layers;
}

constexpr int kRowUnits = 20;  // half-key units across a row

class InputPanel : public CPaintedWnd {
 public:
  bool Make() {
    if (!CreateEx(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, u"SipWndClass", u"Input Panel", WS_POPUP,
                  MakeRect(0, 0, 10, 10), nullptr, 0)) {
      return false;
    }
    window::SetShellWindow(m_hWnd);
    Layout();
    return true;
  }

  // Panel height for this screen.
  static int Height() { return 5 * RowHeight() + 2 * window::ShellScale(); }
  static int RowHeight() { return 20 * window::ShellScale(); }

  void Layout() {
    const SIZE s = window::GetScreenSize();
    int bottom = s.cy;
    if (CCommandBar* bar = CCommandBar::ActiveBar()) {
      RECT r;
      bar->GetWindowRect(&r);
      if (r.top > Height()) bottom = r.top;
    }
    MoveWindow(0, bottom - Height(), s.cx, Height(), TRUE);
  }

  // Every key of the current layer with its client rectangle.
  std::vector<std::pair<const Key*, RECT>> Keys() const {
    std::vector<std::pair<const Key*, RECT>> out;
    RECT c;
    GetClientRect(&c);
    const int s = window::ShellScale();
    const Layer& layer = Layers()[static_cast<std::size_t>(m_layer)];
    for (std::size_t r = 0; r < layer.rows.size(); ++r) {
      const int top = s + static_cast<int>(r) * RowHeight();
      int units = 0;
      for (const Key& k : layer.rows[r]) {
        const int l = c.right * units / kRowUnits;
        units += k.units;
        const int rgt = c.right * units / kRowUnits;
        out.emplace_back(&k, MakeRect(l, top, rgt, top + RowHeight()));
      }
    }
    return out;
  }

  const char* LayerName() const { return Layers()[static_cast<std::size_t>(m_layer)].name; }
  bool Shift() const { return m_shift; }
  bool CapsLock() const { return m_capsLock; }
  // The text a character key types now.
  std::u16string Typed(const Key& k) const { return m_shift ? text::ToUpper(k.text) : k.text; }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_LBUTTONDOWN:
        m_pressed = KeyAt(lParam);
        SetCapture();
        Invalidate(FALSE);
        return 0;
      case WM_MOUSEMOVE:
        // A finger that slides onto the neighbour key means that one.
        if (m_pressed) {
          const Key* k = KeyAt(lParam);
          if (k && k != m_pressed) {
            m_pressed = k;
            Invalidate(FALSE);
          }
        }
        return 0;
      case WM_LBUTTONUP: {
        const Key* k = KeyAt(lParam);
        const Key* pressed = m_pressed;
        m_pressed = nullptr;
        if (::GetCapture() == m_hWnd) ::ReleaseCapture();
        Invalidate(FALSE);
        if (k && k == pressed) Press(*k);
        return 0;
      }
      case WM_CONTEXTMENU:
        // A slow tap is still a tap on a keyboard.
        if (const Key* k = m_held) Press(*k);
        m_held = nullptr;
        return 0;
      case WM_CAPTURECHANGED:
        // The hold takes the capture away before its WM_CONTEXTMENU arrives.
        m_held = m_pressed;
        m_pressed = nullptr;
        Invalidate(FALSE);
        return 0;
      default:
        return CPaintedWnd::WindowProc(message, wParam, lParam);
    }
  }

  void Reset() {
    m_layer = kLetters;
    m_shift = m_capsLock = false;
    m_pressed = nullptr;
  }

 private:
  const Key* KeyAt(LPARAM lParam) const {
    const POINT pt = MakePoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    for (const auto& [k, r] : Keys()) {
      if (PtInRect(&r, pt)) return k;
    }
    return nullptr;
  }

  void Press(const Key& k) {
    switch (k.kind) {
      case KeyKind::Char:
        window::input::Text(Typed(k));
        if (!m_capsLock) m_shift = false;
        if (Layers()[static_cast<std::size_t>(m_layer)].oneShot) m_layer = kLetters;
        break;
      case KeyKind::Shift:
        // Once: the next letter; twice: every letter (caps lock); a third time: off.
        if (m_capsLock) {
          m_capsLock = m_shift = false;
        } else if (m_shift) {
          m_capsLock = true;
        } else {
          m_shift = true;
        }
        break;
      case KeyKind::Backspace:
        window::input::KeyDown(VK_BACK);
        window::input::KeyUp(VK_BACK);
        break;
      case KeyKind::Enter:
        window::input::KeyDown(VK_RETURN);
        window::input::KeyUp(VK_RETURN);
        break;
      case KeyKind::Space:
        window::input::Char(u' ');
        break;
      case KeyKind::Layer:
        m_layer = k.target;
        if (!m_capsLock) m_shift = false;
        break;
    }
    Invalidate(FALSE);
  }

  // Function keys are drawn as small pictures, so no font needs the arrows.
  void DrawSymbol(HDC dc, const Key& k, const RECT& r, COLORREF ink) {
    const int s = window::ShellScale();
    const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    HBRUSH brush = CreateSolidBrush(ink);
    HPEN pen = CreatePen(PS_SOLID, 1, ink);
    HGDIOBJ ob = SelectObject(dc, brush);
    HGDIOBJ op = SelectObject(dc, pen);
    if (k.kind == KeyKind::Shift) {
      const POINT p[] = {{cx, cy - 6 * s}, {cx + 6 * s, cy}, {cx + 3 * s, cy}, {cx + 3 * s, cy + 5 * s},
                         {cx - 3 * s, cy + 5 * s}, {cx - 3 * s, cy}, {cx - 6 * s, cy}};
      Polygon(dc, p, 7);
    } else if (k.kind == KeyKind::Backspace) {
      const POINT p[] = {{cx - 8 * s, cy}, {cx - 3 * s, cy - 5 * s}, {cx + 7 * s, cy - 5 * s},
                         {cx + 7 * s, cy + 5 * s}, {cx - 3 * s, cy + 5 * s}};
      Polygon(dc, p, 5);
    } else if (k.kind == KeyKind::Enter) {
      const POINT p[] = {{cx - 8 * s, cy + 2 * s}, {cx - 3 * s, cy - 3 * s}, {cx - 3 * s, cy},
                         {cx + 4 * s, cy},        {cx + 4 * s, cy - 6 * s}, {cx + 7 * s, cy - 6 * s},
                         {cx + 7 * s, cy + 3 * s}, {cx - 3 * s, cy + 3 * s}, {cx - 3 * s, cy + 6 * s}};
      Polygon(dc, p, 9);
    } else if (k.kind == KeyKind::Space) {
      const RECT bar = MakeRect(r.left + 8 * s, cy + 3 * s, r.right - 8 * s, cy + 4 * s);
      FillRect(dc, &bar, brush);
    }
    SelectObject(dc, op);
    SelectObject(dc, ob);
    DeleteObject(pen);
    DeleteObject(brush);
  }

  void Paint(HDC dc) override {
    RECT c;
    GetClientRect(&c);
    const int s = window::ShellScale();
    shell_look::FillSolid(dc, c, shell_look::kPanelBack);
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = SelectObject(dc, shell_look::Font(12 * s, false));
    for (const auto& [k, rect] : Keys()) {
      RECT r = rect;
      InflateRect(&r, -s, -s);
      const bool function = k->kind != KeyKind::Char && k->kind != KeyKind::Space;
      COLORREF face = function ? shell_look::kKeyFunction : shell_look::kKeyFace;
      if (k == m_pressed || (k->kind == KeyKind::Shift && m_shift)) face = shell_look::kKeyPressed;
      if (k->kind == KeyKind::Shift && m_capsLock) face = shell_look::kFocusBorder;
      HBRUSH brush = CreateSolidBrush(face);
      HPEN pen = CreatePen(PS_SOLID, 1, shell_look::kKeyFunction);
      HGDIOBJ ob = SelectObject(dc, brush);
      HGDIOBJ op = SelectObject(dc, pen);
      RoundRect(dc, r.left, r.top, r.right, r.bottom, 5 * s, 5 * s);
      SelectObject(dc, op);
      SelectObject(dc, ob);
      DeleteObject(pen);
      DeleteObject(brush);
      const COLORREF ink = shell_look::kKeyText;
      if (k->kind == KeyKind::Char) {
        SetTextColor(dc, ink);
        const std::u16string label = Typed(*k);
        DrawTextW(dc, label.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
      } else if (k->kind == KeyKind::Layer) {
        SetTextColor(dc, ink);
        const char16_t* label = k->target == kMore ? u"»" : k->text.c_str();
        DrawTextW(dc, label, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
      } else {
        DrawSymbol(dc, *k, r, ink);
      }
    }
    SelectObject(dc, oldFont);
  }

  int m_layer = kLetters;         // the keys shown
  bool m_shift = false;           // the next letter is a capital
  bool m_capsLock = false;        // every letter is a capital until shift again
  const Key* m_pressed = nullptr; // the key under a press in progress
  const Key* m_held = nullptr;    // the key of a press that became a hold
};

InputPanel* g_panel = nullptr;
bool g_dumpInstalled = false;

void InstallDump() {
  if (g_dumpInstalled) return;
  g_dumpInstalled = true;
  window::AddDumpSection("inputpanel", [](window::JsonWriter& j) {
    if (!IsInputPanelShown()) return false;
    RECT w;
    g_panel->GetWindowRect(&w);
    j.BeginObject();
    j.Key("layer");
    j.String(g_panel->LayerName());
    j.Key("shift");
    j.Bool(g_panel->Shift());
    j.Key("capslock");
    j.Bool(g_panel->CapsLock());
    j.Key("rect");
    j.Rect(w.left, w.top, w.right, w.bottom);
    j.Key("keys");
    j.BeginArray();
    for (const auto& [k, r] : g_panel->Keys()) {
      j.BeginObject();
      j.Key("text");
      j.String(k->kind == KeyKind::Char ? g_panel->Typed(*k) : k->text);
      j.Key("rect");
      j.Rect(r.left + w.left, r.top + w.top, r.right + w.left, r.bottom + w.top);
      j.EndObject();
    }
    j.EndArray();
    j.EndObject();
    return true;
  });
}

}  // namespace

void StartInputPanel() {
  if (g_panel && g_panel->m_hWnd) return;
  delete g_panel;
  g_panel = new InputPanel;
  if (!g_panel->Make()) {
    delete g_panel;
    g_panel = nullptr;
    return;
  }
  InstallDump();
}

void StopInputPanel() {
  delete g_panel;
  g_panel = nullptr;
}

void LayoutInputPanel() {
  if (g_panel && g_panel->m_hWnd) g_panel->Layout();
}

bool IsInputPanelShown() { return g_panel && g_panel->m_hWnd && IsWindowVisible(g_panel->m_hWnd); }

bool InputPanelRect(RECT* rect) {
  if (!IsInputPanelShown()) return false;
  g_panel->GetWindowRect(rect);
  return true;
}

HWND InputPanelWindow() { return g_panel ? g_panel->m_hWnd : nullptr; }

}  // namespace shell

BOOL SipShowIM(DWORD flags) {
  using namespace shell;
  if (!g_panel || !g_panel->m_hWnd) StartInputPanel();
  if (!g_panel) return FALSE;
  const bool show = (flags & SIPF_ON) != 0;
  if (show == IsInputPanelShown()) return TRUE;
  if (show) {
    g_panel->Reset();
    g_panel->Layout();
    g_panel->ShowWindow(SW_SHOWNA);
  } else {
    g_panel->ShowWindow(SW_HIDE);
  }
  UpdateWorkArea();
  return TRUE;
}
