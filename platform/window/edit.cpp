#include "platform/window/edit.h"

#include <algorithm>
#include <cstdlib>

#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"
#include "platform/win32/text.h"
#include "platform/window/message.h"
#include "platform/window/metrics.h"
#include "platform/window/paint.h"
#include "platform/window/popup_menu.h"
#include "platform/window/shell_look.h"
#include "platform/window/window.h"
#include "platform/window/window_impl.h"

namespace {

bool IsHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// A measuring DC with a font selected, released on every path.
class Measure {
 public:
  explicit Measure(HFONT font) : m_dc(CreateCompatibleDC(nullptr)) {
    if (m_dc) m_old = SelectObject(m_dc, font);
  }
  ~Measure() {
    if (m_dc) {
      SelectObject(m_dc, m_old);
      DeleteDC(m_dc);
    }
  }
  // Widths of the first 1..n characters of s.
  std::vector<int> Extents(const char16_t* s, int n) const {
    std::vector<int> ext(static_cast<std::size_t>(std::max(n, 0)), 0);
    if (n <= 0 || !m_dc) return ext;
    int fit = 0;
    SIZE size;
    GetTextExtentExPointW(m_dc, s, n, 1 << 30, &fit, ext.data(), &size);
    return ext;
  }
  int Width(const char16_t* s, int n) const {
    if (n <= 0 || !m_dc) return 0;
    SIZE size{};
    GetTextExtentPoint32W(m_dc, s, n, &size);
    return size.cx;
  }
  int Height() const {
    TEXTMETRICW tm{};
    if (!m_dc || !GetTextMetricsW(m_dc, &tm)) return 16;
    return tm.tmHeight;
  }

 private:
  HDC m_dc;
  HGDIOBJ m_old = nullptr;
};

// CreateWindowExW(u"EDIT"): the control makes its own object and deletes it
// when the window goes.
class AutoEdit : public CEdit {
 public:
  void PostNcDestroy() override { delete this; }
};

LRESULT EditClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    window::detail::Wnd* w = window::detail::LookupQuiet(hwnd);
    if (!w) return FALSE;
    auto* edit = new AutoEdit;
    w->object = edit;
    edit->AttachHandle(hwnd);
    return edit->WindowProc(message, wParam, lParam);
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

void CEdit::RegisterClass() {
  WNDCLASSW existing;
  if (GetClassInfoW(nullptr, u"EDIT", &existing)) return;
  WNDCLASSW wc;
  wc.lpfnWndProc = EditClassProc;
  wc.lpszClassName = u"EDIT";
  RegisterClassW(&wc);
}

BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  RegisterClass();
  return CreateEx(0, u"EDIT", u"", style | WS_CHILD, rect, parent, id);
}

bool CEdit::IsMultiLine() const { return (GetStyle() & ES_MULTILINE) != 0; }
int CEdit::Scale() const { return window::ShellScale(); }
HFONT CEdit::CurrentFont() const { return m_font ? m_font : shell_look::Font(13 * Scale(), false); }

bool CEdit::HasFrame() const { return (GetStyle() & WS_BORDER) || (GetExStyle() & WS_EX_CLIENTEDGE); }

RECT CEdit::TextArea() const {
  RECT c;
  GetClientRect(&c);
  // Without a border the text uses the whole control but a small side margin,
  // so a box sized to whole lines shows all of them.
  const int frame = HasFrame() ? 1 : 0;
  const int pad = HasFrame() ? 2 * Scale() : Scale();
  const int vpad = HasFrame() && IsMultiLine() ? pad : 0;
  RECT r = MakeRect(c.left + frame + pad, c.top + frame + vpad, c.right - frame - pad, c.bottom - frame - vpad);
  if (IsMultiLine() && (GetStyle() & WS_VSCROLL)) r.right = c.right - frame - GetSystemMetrics(SM_CXVSCROLL) - pad;
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

int CEdit::LineHeight() const { return std::max(1, Measure(CurrentFont()).Height()); }

int CEdit::VisibleLines() const {
  const RECT a = TextArea();
  return std::max(1, RectHeight(a) / LineHeight());
}

void CEdit::Relayout() {
  // What is drawn and measured: the text, or one '*' per unit for ES_PASSWORD.
  m_shown = (GetStyle() & ES_PASSWORD) ? std::u16string(m_text.size(), u'*') : m_text;
  m_lines.clear();
  const int len = static_cast<int>(m_text.size());
  if (!IsMultiLine()) {
    m_lines.push_back({0, len});
    return;
  }
  const bool wrap = !(GetStyle() & ES_AUTOHSCROLL);
  const int width = std::max(1, RectWidth(TextArea()));
  Measure m(CurrentFont());
  int p = 0;
  for (;;) {
    int e = p;
    while (e < len && m_text[static_cast<std::size_t>(e)] != u'\n') ++e;
    if (p == e || !wrap) {
      m_lines.push_back({p, e});
    } else {
      int i = p;
      while (i < e) {
        const std::vector<int> ext = m.Extents(m_shown.data() + i, e - i);
        int k = static_cast<int>(std::upper_bound(ext.begin(), ext.end(), width) - ext.begin());
        if (k >= e - i) {
          m_lines.push_back({i, e});
          break;
        }
        if (k == 0) k = 1;  // a character wider than the line still takes a line
        if (IsLow(m_text[static_cast<std::size_t>(i + k)]) && k > 0) k = k > 1 ? k - 1 : k + 1;
        // Break after the last space that fits; a word longer than the line breaks anywhere.
        int b = i + k;
        for (int j = i + k; j > i; --j) {
          if (m_text[static_cast<std::size_t>(j - 1)] == u' ') {
            b = j;
            break;
          }
        }
        // Spaces right after the break stay on this line (they would start the next one).
        while (b < e && m_text[static_cast<std::size_t>(b)] == u' ' && b - i >= k) ++b;
        m_lines.push_back({i, b});
        i = b;
      }
    }
    if (e >= len) break;
    p = e + 1;
  }
  if (m_lines.empty()) m_lines.push_back({0, 0});
}

int CEdit::LineOf(int index) const {
  int line = 0;
  for (int i = 0; i < static_cast<int>(m_lines.size()); ++i) {
    if (m_lines[static_cast<std::size_t>(i)].start <= index) line = i;
  }
  return line;
}

int CEdit::XOf(int index) const {
  const Line& l = m_lines[static_cast<std::size_t>(LineOf(index))];
  return Measure(CurrentFont()).Width(m_shown.data() + l.start, std::max(0, index - l.start));
}

int CEdit::IndexAt(POINT pt) const {
  const RECT a = TextArea();
  int line = 0;
  if (IsMultiLine()) {
    line = m_firstLine + (pt.y - a.top) / LineHeight();
    if (pt.y < a.top) line = m_firstLine - 1;
    line = std::clamp(line, 0, static_cast<int>(m_lines.size()) - 1);
  }
  const Line& l = m_lines[static_cast<std::size_t>(line)];
  const int x = pt.x - a.left + m_scrollX;
  const std::vector<int> ext = Measure(CurrentFont()).Extents(m_shown.data() + l.start, l.end - l.start);
  int best = 0, bestDist = std::abs(x);
  for (int k = 1; k <= static_cast<int>(ext.size()); ++k) {
    if (k < static_cast<int>(ext.size()) + 0 && k < l.end - l.start &&
        IsLow(m_text[static_cast<std::size_t>(l.start + k)])) {
      continue;  // inside a surrogate pair
    }
    const int d = std::abs(x - ext[static_cast<std::size_t>(k - 1)]);
    if (d < bestDist) {
      best = k;
      bestDist = d;
    }
  }
  int index = l.start + best;
  // The end of a wrapped line is the start of the next: stay before its space.
  const bool wrapped = line + 1 < static_cast<int>(m_lines.size()) &&
                       m_lines[static_cast<std::size_t>(line + 1)].start == l.end;
  if (wrapped && index == l.end && index > l.start) index = PrevIndex(index);
  return index;
}

void CEdit::ScrollToCaret() {
  const RECT a = TextArea();
  if (IsMultiLine()) {
    const int visible = VisibleLines();
    const int line = LineOf(m_caret);
    if (line < m_firstLine) m_firstLine = line;
    if (line >= m_firstLine + visible) m_firstLine = line - visible + 1;
    m_firstLine = std::clamp(m_firstLine, 0, std::max(0, static_cast<int>(m_lines.size()) - visible));
    m_scrollX = 0;
    return;
  }
  const int w = std::max(1, RectWidth(a));
  const int x = XOf(m_caret);
  const int total = Measure(CurrentFont()).Width(m_shown.data(), static_cast<int>(m_shown.size()));
  if (x - m_scrollX > w - 1) m_scrollX = std::min(x - w + 1 + w / 3, std::max(0, total - w + 1));
  if (x < m_scrollX) m_scrollX = std::max(0, x - w / 3);
  if (total - m_scrollX < w - 1) m_scrollX = std::max(0, total - w + 1);  // no blank run after the end
}

int CEdit::PrevIndex(int index) const {
  if (index <= 0) return 0;
  --index;
  if (index > 0 && IsLow(m_text[static_cast<std::size_t>(index)]) &&
      IsHigh(m_text[static_cast<std::size_t>(index - 1)])) {
    --index;
  }
  return index;
}

int CEdit::NextIndex(int index) const {
  const int len = static_cast<int>(m_text.size());
  if (index >= len) return len;
  ++index;
  if (index < len && IsLow(m_text[static_cast<std::size_t>(index)]) &&
      IsHigh(m_text[static_cast<std::size_t>(index - 1)])) {
    ++index;
  }
  return index;
}

void CEdit::SetCaret(int index, bool extendSelection) {
  m_caret = std::clamp(index, 0, static_cast<int>(m_text.size()));
  if (!extendSelection) m_anchor = m_caret;
  ScrollToCaret();
  Invalidate(FALSE);
}

void CEdit::DeleteSelection() {
  const int a = std::min(m_anchor, m_caret), b = std::max(m_anchor, m_caret);
  m_text.erase(static_cast<std::size_t>(a), static_cast<std::size_t>(b - a));
  m_caret = m_anchor = a;
}

void CEdit::InsertText(const std::u16string& s) {
  std::u16string in;
  for (char16_t c : s) {
    if (c == u'\r') continue;
    // Pasted lines run on with a space on a single line; tabs become spaces
    // and other control characters are dropped, as typing would.
    if (c == u'\t' || (c == u'\n' && !IsMultiLine())) c = u' ';
    if (c < 0x20 && c != u'\n') continue;
    in += c;
  }
  if (HasSelection()) DeleteSelection();
  const std::size_t room = m_limit > m_text.size() ? m_limit - m_text.size() : 0;
  if (in.size() > room) {
    in.resize(room);
    if (!in.empty() && IsHigh(in.back())) in.pop_back();
    Notify(EN_MAXTEXT);
  }
  m_text.insert(static_cast<std::size_t>(m_caret), in);
  m_caret += static_cast<int>(in.size());
  m_anchor = m_caret;
}

void CEdit::Notify(WORD code) {
  const HWND parent = GetParentHwnd();
  if (parent) {
    ::SendMessageW(parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID()), code),
                   reinterpret_cast<LPARAM>(m_hWnd));
  }
}

void CEdit::Changed() {
  Relayout();
  m_goalX = -1;
  ScrollToCaret();
  Invalidate(FALSE);
  Notify(EN_CHANGE);
}

std::u16string CEdit::ExternalText() const {
  if (!IsMultiLine()) return m_text;
  std::u16string out;
  out.reserve(m_text.size() + 8);
  for (char16_t c : m_text) {
    if (c == u'\n') out += u'\r';
    out += c;
  }
  return out;
}

void CEdit::SetExternalText(const char16_t* t) {
  m_text.clear();
  if (t) {
    for (; *t; ++t) {
      if (*t == u'\r') continue;
      m_text += (*t == u'\n' && !IsMultiLine()) ? u' ' : *t;
    }
  }
  if (m_text.size() > m_limit) m_text.resize(m_limit);
  m_caret = m_anchor = static_cast<int>(m_text.size());
  m_firstLine = 0;
  m_scrollX = 0;
}

namespace {
window::EditClipboard& Clipboard() {
  static window::EditClipboard clipboard;
  return clipboard;
}
}  // namespace

void window::SetEditClipboard(EditClipboard clipboard) { Clipboard() = std::move(clipboard); }

std::u16string CEdit::SelectedText() const {
  const int a = std::min(m_anchor, m_caret), b = std::max(m_anchor, m_caret);
  std::u16string out;
  for (int i = a; i < b; ++i) {
    const char16_t c = m_text[static_cast<std::size_t>(i)];
    if (c == u'\n') out += u'\r';
    out += c;
  }
  return out;
}

void CEdit::Copy() {
  if (!HasSelection() || (GetStyle() & ES_PASSWORD) || !Clipboard().set) return;
  Clipboard().set(SelectedText());
}

void CEdit::Cut() {
  if (m_readOnly || !HasSelection() || (GetStyle() & ES_PASSWORD) || !Clipboard().set) return;
  Clipboard().set(SelectedText());
  DeleteSelection();
  Changed();
}

void CEdit::Paste() {
  std::u16string pasted;
  if (m_readOnly || !Clipboard().get || !Clipboard().get(&pasted)) return;
  if (GetStyle() & ES_NUMBER) {
    // Digits only, as typing would allow; anything else refuses the whole paste.
    for (char16_t c : pasted) {
      if (c < u'0' || c > u'9') return;
    }
  }
  for (char16_t& c : pasted) {
    if (GetStyle() & ES_UPPERCASE) c = text::ToUpper(c);
    if (GetStyle() & ES_LOWERCASE) c = text::ToLower(c);
  }
  InsertText(pasted);
  Changed();
}

void CEdit::OnContextMenu(POINT screenPoint) {
  // The tap-and-hold menu: what the keys do, for fingers without a keyboard.
  enum { kCut = 1, kCopy, kPaste, kSelectAll };
  const bool secret = (GetStyle() & ES_PASSWORD) != 0;
  std::u16string probe;
  const bool canPaste = !m_readOnly && Clipboard().get && Clipboard().get(&probe) && !probe.empty();
  const std::vector<window::PopupMenuItem> items = {
      {kCut, u"Cut", HasSelection() && !m_readOnly && !secret && Clipboard().set != nullptr},
      {kCopy, u"Copy", HasSelection() && !secret && Clipboard().set != nullptr},
      {kPaste, u"Paste", canPaste},
      {kSelectAll, u"Select all", !m_text.empty()},
  };
  ::SetFocus(m_hWnd);
  const HWND self = m_hWnd;
  const int chosen = window::TrackPopupMenu(m_hWnd, screenPoint, items);
  if (!::IsWindow(self)) return;  // the field went while the menu was open
  switch (chosen) {
    case kCut: Cut(); break;
    case kCopy: Copy(); break;
    case kPaste: Paste(); break;
    case kSelectAll:
      m_anchor = 0;
      SetCaret(static_cast<int>(m_text.size()), true);
      break;
    default: break;
  }
}

void CEdit::Clear() {
  if (m_readOnly || !HasSelection()) return;
  DeleteSelection();
  Changed();
}

void CEdit::OnChar(char16_t c) {
  // The control keys of editing arrive as characters, as the platform sends them.
  switch (c) {
    case 0x01:  // Ctrl+A
      m_anchor = 0;
      SetCaret(static_cast<int>(m_text.size()), true);
      return;
    case 0x03: Copy(); return;
    case 0x16: Paste(); return;
    case 0x18: Cut(); return;
    default: break;
  }
  if (m_readOnly) return;
  const DWORD style = GetStyle();
  if (c == 8) {
    if (HasSelection()) {
      DeleteSelection();
    } else if (m_caret > 0) {
      const int from = PrevIndex(m_caret);
      m_text.erase(static_cast<std::size_t>(from), static_cast<std::size_t>(m_caret - from));
      m_caret = m_anchor = from;
    } else {
      return;
    }
    Changed();
    return;
  }
  if (c == u'\r' || c == u'\n') {
    if (!IsMultiLine()) return;  // a single line has no second line to go to
    InsertText(u"\n");
    Changed();
    return;
  }
  if (c < 0x20 || c == 0x7F) return;  // other control characters type nothing
  if ((style & ES_NUMBER) && (c < u'0' || c > u'9')) return;
  if (style & ES_UPPERCASE) c = text::ToUpper(c);
  if (style & ES_LOWERCASE) c = text::ToLower(c);
  InsertText(std::u16string(1, c));
  Changed();
}

bool CEdit::OnKeyDown(UINT vk) {
  const bool multi = IsMultiLine();
  switch (vk) {
    case VK_LEFT:
      SetCaret(HasSelection() ? std::min(m_anchor, m_caret) : PrevIndex(m_caret), false);
      m_goalX = -1;
      return true;
    case VK_RIGHT:
      SetCaret(HasSelection() ? std::max(m_anchor, m_caret) : NextIndex(m_caret), false);
      m_goalX = -1;
      return true;
    case VK_HOME:
      SetCaret(m_lines[static_cast<std::size_t>(LineOf(m_caret))].start, false);
      m_goalX = -1;
      return true;
    case VK_END: {
      const int line = LineOf(m_caret);
      int end = m_lines[static_cast<std::size_t>(line)].end;
      // On a wrapped line the end is before the space that carries on.
      if (line + 1 < static_cast<int>(m_lines.size()) && m_lines[static_cast<std::size_t>(line + 1)].start == end &&
          end > m_lines[static_cast<std::size_t>(line)].start) {
        end = PrevIndex(end);
      }
      SetCaret(end, false);
      m_goalX = -1;
      return true;
    }
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT: {
      if (!multi) return false;
      const int step = (vk == VK_UP || vk == VK_DOWN) ? 1 : std::max(1, VisibleLines() - 1);
      const int dir = (vk == VK_UP || vk == VK_PRIOR) ? -1 : 1;
      const int line = LineOf(m_caret);
      const int target = std::clamp(line + dir * step, 0, static_cast<int>(m_lines.size()) - 1);
      if (m_goalX < 0) m_goalX = XOf(m_caret);
      if (target == line) {
        SetCaret(dir < 0 ? 0 : static_cast<int>(m_text.size()), false);
        return true;
      }
      const RECT a = TextArea();
      const int keep = m_goalX;
      int y = a.top + (target - m_firstLine) * LineHeight() + LineHeight() / 2;
      // Measure against the target line directly, whatever is scrolled now.
      const int saveFirst = m_firstLine;
      if (target < m_firstLine || target >= m_firstLine + VisibleLines()) {
        m_firstLine = target;
        y = a.top + LineHeight() / 2;
      }
      const int index = IndexAt(MakePoint(a.left + keep - m_scrollX, y));
      m_firstLine = saveFirst;
      SetCaret(index, false);
      m_goalX = keep;
      return true;
    }
    case VK_DELETE:
      if (m_readOnly) return true;
      if (HasSelection()) {
        DeleteSelection();
      } else if (m_caret < static_cast<int>(m_text.size())) {
        const int to = NextIndex(m_caret);
        m_text.erase(static_cast<std::size_t>(m_caret), static_cast<std::size_t>(to - m_caret));
      } else {
        return true;
      }
      Changed();
      return true;
    default:
      return false;
  }
}

void CEdit::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(m_hWnd, &ps);
  RECT c;
  GetClientRect(&c);
  const int s = Scale();
  const bool enabled = ::IsWindowEnabled(m_hWnd) != FALSE;
  shell_look::FillSolid(dc, c, shell_look::kWindow);
  if (HasFrame()) {
    shell_look::Frame(dc, c, m_focused ? shell_look::kFocusBorder : shell_look::kFieldBorder);
    if (m_focused && s > 1) {
      RECT inner = c;
      InflateRect(&inner, -1, -1);
      shell_look::Frame(dc, inner, shell_look::kFocusBorder);
    }
  }
  const RECT a = TextArea();
  const int lh = LineHeight();
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, a.left, a.top, a.right, a.bottom);
  SelectObject(dc, CurrentFont());
  SetBkMode(dc, TRANSPARENT);
  const int selA = std::min(m_anchor, m_caret), selB = std::max(m_anchor, m_caret);
  Measure m(CurrentFont());
  const int first = IsMultiLine() ? m_firstLine : 0;
  const int last = IsMultiLine() ? std::min(static_cast<int>(m_lines.size()), first + VisibleLines() + 1) : 1;
  for (int i = first; i < last; ++i) {
    const Line& l = m_lines[static_cast<std::size_t>(i)];
    const int y = IsMultiLine() ? a.top + (i - first) * lh : a.top + (RectHeight(a) - lh) / 2;
    const int x = a.left - m_scrollX;
    const char16_t* t = m_shown.data() + l.start;
    const int n = l.end - l.start;
    SetTextColor(dc, enabled ? shell_look::kWindowText : shell_look::kDisabledText);
    ExtTextOutW(dc, x, y, 0, nullptr, t, static_cast<UINT>(n), nullptr);
    const int sa = std::max(selA, l.start), sb = std::min(selB, l.end);
    if (sa < sb) {
      const int x0 = x + m.Width(t, sa - l.start), x1 = x + m.Width(t, sb - l.start);
      shell_look::FillSolid(dc, MakeRect(x0, y, x1, y + lh), shell_look::kSelection);
      SetTextColor(dc, shell_look::kSelectionText);
      ExtTextOutW(dc, x0, y, 0, nullptr, m_shown.data() + sa, static_cast<UINT>(sb - sa), nullptr);
    }
  }
  if (m_focused) {
    const int line = LineOf(m_caret);
    if (!IsMultiLine() || (line >= first && line < first + VisibleLines())) {
      const int y = IsMultiLine() ? a.top + (line - first) * lh : a.top + (RectHeight(a) - lh) / 2;
      const int x = a.left - m_scrollX + XOf(m_caret);
      shell_look::FillSolid(dc, MakeRect(x, y, x + s, y + lh), shell_look::kWindowText);
    }
  }
  RestoreDC(dc, saved);
  if (IsMultiLine() && (GetStyle() & WS_VSCROLL)) {
    const int sbw = GetSystemMetrics(SM_CXVSCROLL);
    const int frame = HasFrame() ? 1 : 0;
    const RECT track = MakeRect(c.right - frame - sbw, c.top + frame, c.right - frame, c.bottom - frame);
    shell_look::FillSolid(dc, track, shell_look::kScrollTrack);
    const int n = static_cast<int>(m_lines.size()), visible = VisibleLines();
    if (n > visible) {
      const int h = RectHeight(track);
      const int th = std::max(8 * s, h * visible / n);
      const int top = track.top + (h - th) * m_firstLine / std::max(1, n - visible);
      shell_look::FillSolid(dc, MakeRect(track.left + 2 * s, top, track.right - 2 * s, top + th),
                            shell_look::kScrollThumb);
    }
  }
  EndPaint(m_hWnd, &ps);
}

LRESULT CEdit::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: OnCreate(reinterpret_cast<const CREATESTRUCTW*>(lParam)); return 0;
    case WM_SIZE: OnSize(); return 0;
    case WM_PAINT: OnPaint(); return 0;
    case WM_ERASEBKGND: return 1;  // the paint covers everything
    case WM_SETFOCUS: OnSetFocus(); return 0;
    case WM_KILLFOCUS: OnKillFocus(); return 0;
    case WM_ENABLE: Invalidate(FALSE); return 0;  // the text greys or comes back
    case WM_CHAR: OnChar(static_cast<char16_t>(wParam)); return 0;
    case WM_KEYDOWN:
      if (OnKeyDown(static_cast<UINT>(wParam))) return 0;
      break;
    case WM_LBUTTONDOWN: OnLButtonDown(PointFrom(lParam)); return 0;
    case WM_MOUSEMOVE: OnMouseMove(PointFrom(lParam)); return 0;
    case WM_LBUTTONUP: OnLButtonUp(); return 0;
    case WM_CAPTURECHANGED: OnCaptureChanged(); return 0;
    case WM_SETTEXT: OnSetText(reinterpret_cast<const char16_t*>(lParam)); return TRUE;
    case WM_GETTEXT: return OnGetText(reinterpret_cast<char16_t*>(lParam), static_cast<std::size_t>(wParam));
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(ExternalText().size());
    case WM_SETFONT:
      OnSetFont(reinterpret_cast<HFONT>(wParam), LOWORD(static_cast<std::uintptr_t>(lParam)) != 0);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(m_font);
    case WM_CONTEXTMENU: OnContextMenu(PointFrom(lParam)); return 0;
    case WM_COPY: Copy(); return 0;
    case WM_CUT: Cut(); return 0;
    case WM_PASTE: Paste(); return 0;
    case WM_CLEAR: Clear(); return 0;
    case EM_GETSEL: return OnGetSel(reinterpret_cast<DWORD*>(wParam), reinterpret_cast<DWORD*>(lParam));
    case EM_SETSEL: OnSetSel(static_cast<int>(static_cast<std::intptr_t>(wParam)), static_cast<int>(lParam)); return 0;
    case EM_REPLACESEL: OnReplaceSel(reinterpret_cast<const char16_t*>(lParam)); return 0;
    case EM_LIMITTEXT: m_limit = wParam ? static_cast<UINT>(wParam) : 0x7FFFFFFEu; return 0;  // 0: as much as fits
    case EM_GETLINECOUNT: return static_cast<LRESULT>(m_lines.size());
    case EM_GETFIRSTVISIBLELINE: return m_firstLine;
    case EM_LINEFROMCHAR: return LineOf(static_cast<std::intptr_t>(wParam) < 0 ? m_caret : static_cast<int>(wParam));
    case EM_LINEINDEX: return OnLineIndex(static_cast<std::intptr_t>(wParam));
    case EM_LINELENGTH: return OnLineLength(static_cast<int>(wParam));
    case EM_SCROLLCARET: OnScrollCaret(); return TRUE;
    case EM_SETREADONLY: OnSetReadOnly(wParam != 0); return TRUE;
    default: break;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}

// ---- Message handlers --------------------------------------------------------------

POINT CEdit::PointFrom(LPARAM lParam) { return MakePoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); }

void CEdit::OnCreate(const CREATESTRUCTW* cs) {
  SetExternalText(cs ? cs->lpszName : nullptr);
  m_caret = m_anchor = 0;
  m_readOnly = (GetStyle() & ES_READONLY) != 0;
  Relayout();
}

void CEdit::OnSize() {
  Relayout();
  ScrollToCaret();
  Invalidate(FALSE);
}

void CEdit::OnSetFocus() {
  m_focused = true;
  ScrollToCaret();
  Invalidate(FALSE);
  Notify(EN_SETFOCUS);
}

void CEdit::OnKillFocus() {
  m_focused = false;
  Invalidate(FALSE);
  Notify(EN_KILLFOCUS);
}

void CEdit::OnLButtonDown(POINT pt) {
  ::SetFocus(m_hWnd);
  RECT c;
  GetClientRect(&c);
  if (IsMultiLine() && (GetStyle() & WS_VSCROLL) &&
      pt.x >= c.right - (HasFrame() ? 1 : 0) - GetSystemMetrics(SM_CXVSCROLL)) {
    // The scroll bar: a page up or down.
    const int visible = VisibleLines();
    m_firstLine += pt.y < RectHeight(c) / 2 ? -visible : visible;
    m_firstLine = std::clamp(m_firstLine, 0, std::max(0, static_cast<int>(m_lines.size()) - visible));
    Invalidate(FALSE);
    return;
  }
  const int index = IndexAt(pt);
  m_goalX = -1;
  m_selecting = true;
  ::SetCapture(m_hWnd);
  // A press inside the selection may become a tap-and-hold that offers
  // to copy it: the selection goes only when the press turns out to be a
  // tap or a drag.
  if (HasSelection() && index >= std::min(m_anchor, m_caret) && index <= std::max(m_anchor, m_caret)) {
    m_pressIndex = index;
  } else {
    m_pressIndex = -1;
    SetCaret(index, false);
  }
}

void CEdit::OnMouseMove(POINT pt) {
  if (!m_selecting) return;
  if (m_pressIndex >= 0) SetCaret(m_pressIndex, false);
  m_pressIndex = -1;
  SetCaret(IndexAt(pt), true);
}

void CEdit::OnLButtonUp() {
  if (m_selecting && m_pressIndex >= 0) SetCaret(m_pressIndex, false);
  m_pressIndex = -1;
  m_selecting = false;
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
}

void CEdit::OnCaptureChanged() {
  m_pressIndex = -1;
  m_selecting = false;
}

void CEdit::OnSetText(const char16_t* value) {
  SetExternalText(value);
  Relayout();
  ScrollToCaret();
  Invalidate(FALSE);
  Notify(EN_CHANGE);
}

LRESULT CEdit::OnGetText(char16_t* buffer, std::size_t size) const {
  if (!buffer || size == 0) return 0;
  return static_cast<LRESULT>(text::CopyTo(buffer, size, ExternalText()));
}

void CEdit::OnSetFont(HFONT font, bool redraw) {
  m_font = font;
  Relayout();
  ScrollToCaret();
  if (redraw) Invalidate(FALSE);
}

LRESULT CEdit::OnGetSel(DWORD* start, DWORD* end) const {
  const int a = std::min(m_anchor, m_caret), b = std::max(m_anchor, m_caret);
  if (start) *start = static_cast<DWORD>(a);
  if (end) *end = static_cast<DWORD>(b);
  return MAKELONG(static_cast<WORD>(a), static_cast<WORD>(b));
}

void CEdit::OnSetSel(int start, int end) {
  const int len = static_cast<int>(m_text.size());
  if (start < 0) {  // -1: no selection, caret where it is
    m_anchor = m_caret;
  } else {
    if (end < 0 || end > len) end = len;
    m_anchor = std::min(start, len);
    m_caret = end;
  }
  ScrollToCaret();
  Invalidate(FALSE);
}

void CEdit::OnReplaceSel(const char16_t* value) {
  if (m_readOnly) return;
  InsertText(value ? value : u"");
  Changed();
}

LRESULT CEdit::OnLineIndex(std::intptr_t lineIn) const {
  const int line = lineIn < 0 ? LineOf(m_caret) : static_cast<int>(lineIn);
  if (line < 0 || line >= static_cast<int>(m_lines.size())) return -1;
  // Indexes count "\r\n" as two characters, as in the text the program reads.
  const int start = m_lines[static_cast<std::size_t>(line)].start;
  int idx = start;
  for (int i = 0; i < start; ++i) idx += m_text[static_cast<std::size_t>(i)] == u'\n';
  return IsMultiLine() ? idx : m_lines[0].start;
}

LRESULT CEdit::OnLineLength(int index) const {
  const Line& line = m_lines[static_cast<std::size_t>(LineOf(index))];
  return line.end - line.start;
}

void CEdit::OnScrollCaret() {
  ScrollToCaret();
  Invalidate(FALSE);
}

void CEdit::OnSetReadOnly(bool readOnly) {
  m_readOnly = readOnly;
  ModifyStyle(m_readOnly ? 0 : ES_READONLY, m_readOnly ? ES_READONLY : 0);
  Invalidate(FALSE);
}

void CEdit::SetSel(int start, int end, BOOL noScroll) {
  // EM_SETSEL brings the caret into view; with noScroll the view stays
  // where it was, even when that leaves the caret outside it.
  const int firstLine = m_firstLine;
  const int scrollX = m_scrollX;
  SendMessage(EM_SETSEL, static_cast<WPARAM>(start), end);
  if (noScroll) {
    m_firstLine = firstLine;
    m_scrollX = scrollX;
  }
}
void CEdit::GetSel(int& start, int& end) const {
  DWORD a = 0, b = 0;
  ::SendMessageW(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
  start = static_cast<int>(a);
  end = static_cast<int>(b);
}
void CEdit::ReplaceSel(LPCWSTR textValue, BOOL) {
  SendMessage(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(textValue));
}
void CEdit::SetLimitText(UINT max) { SendMessage(EM_LIMITTEXT, max, 0); }
int CEdit::GetLineCount() const { return static_cast<int>(::SendMessageW(m_hWnd, EM_GETLINECOUNT, 0, 0)); }
int CEdit::GetFirstVisibleLine() const {
  return static_cast<int>(::SendMessageW(m_hWnd, EM_GETFIRSTVISIBLELINE, 0, 0));
}
void CEdit::SetReadOnly(BOOL readOnly) { SendMessage(EM_SETREADONLY, readOnly, 0); }
