#include "ui/adv_list_box_items.h"

#include <algorithm>

#include "look/appearance.h"
#include "look/fitted_text.h"
#include "look/toolkit.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"
#include "ui/adv_list_box.h"
#include "ui/adv_list_box_card.h"

namespace {

// Selects a font for the lifetime of the guard.
class FontScope {
 public:
  FontScope(HDC dc, HFONT font) : m_dc(dc), m_old(font ? SelectObject(dc, font) : nullptr) {}
  ~FontScope() {
    if (m_old) SelectObject(m_dc, m_old);
  }
  FontScope(const FontScope&) = delete;
  FontScope& operator=(const FontScope&) = delete;

 private:
  HDC m_dc;
  HGDIOBJ m_old;
};

int TextHeight(HDC dc, const std::u16string& text, int left, int top, int right, UINT flags) {
  if (text.empty() || right <= left) return 0;
  RECT r{left, top, right, top + 1};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, flags | DT_CALCRECT);
  return r.bottom - r.top;
}

// The three fonts of the name-value card, made once per scale and shared.
struct NameValueFonts {
  int scale = 0;
  HFONT title = nullptr;  // Arial 24·S bold
  HFONT name = nullptr;   // Arial 18·S bold
  HFONT value = nullptr;  // Arial 18·S normal
};

HFONT MakeArial(int height, int weight) {
  return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, 0, 0, 0, 5, 0x20, u"Arial");
}

const NameValueFonts& NameValueFontSet() {
  static NameValueFonts fonts;
  if (fonts.scale != DisplayScale) {
    for (HFONT f : {fonts.title, fonts.name, fonts.value}) {
      if (f) DeleteObject(f);
    }
    fonts.scale = DisplayScale;
    fonts.title = MakeArial(24 * DisplayScale, 700);
    fonts.name = MakeArial(18 * DisplayScale, 700);
    fonts.value = MakeArial(18 * DisplayScale, 400);
  }
  return fonts;
}

// Room enough for any number of lines.
constexpr int kUnbounded = 1 << 20;

}  // namespace

// ---- CmivoAdvListBoxItemWithHelp ------------------------------------------------------------------

CmivoAdvListBoxItemWithHelp::CmivoAdvListBoxItemWithHelp(mivoCore* core) : CmivoAdvListBoxSideButtonItem(core) {
  m_hasHelp = true;
}

void CmivoAdvListBoxItemWithHelp::SetHelpText(const std::u16string& text) {
  m_helpText = text;
  if (text.empty()) {
    m_extraHeight = 0;
    if (m_expanded) {
      SetExpanded(false);
    } else {
      m_sideButtonKind = kSideButtonNone;
    }
  } else {
    m_extraHeight = 20 * DisplayScale;
    if (m_expanded) {
      SetExpanded(true);  // the first guess, measured again by the next paint
    } else {
      m_sideButtonKind = kSideButtonHelp;
    }
  }
  RepaintListBox();
}

void CmivoAdvListBoxItemWithHelp::DrawExpanded(CmivoAdvListBox* listBox, HDC dc, const RECT& rect) {
  mivoAppearance* look = Look();
  if (!look) return;
  const int s = DisplayScale;
  FontScope font(dc, look->SmallFont);
  RECT measure{rect.left, rect.top, rect.right, rect.bottom + 1000 * s};
  DrawTextW(dc, m_helpText.c_str(), static_cast<int>(m_helpText.size()), &measure,
            DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
  const int needed = (measure.bottom - measure.top) + 5 * s * s;
  if (needed == m_extraHeight) {
    // The theme's text colour on its card (white on the dark default).
    const COLORREF oldColor = SetTextColor(dc, look->TextColor);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    RECT r = rect;
    DrawTextW(dc, m_helpText.c_str(), static_cast<int>(m_helpText.size()), &r, DT_CENTER | DT_WORDBREAK);
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldColor);
    return;
  }
  // The card grows (or shrinks) to the text; it is drawn on the next paint.
  m_extraHeight = needed;
  if (needed == 0) {
    m_sideButtonKind = kSideButtonNone;
  } else {
    m_sideButtonKind = m_expanded ? kSideButtonCollapse : kSideButtonExpand;
  }
  CmivoAdvListBoxItem::SetHeight(m_baseHeight + needed);
  RepaintListBox();
}

bool CmivoAdvListBoxItemWithHelp::OnSideButton(UINT flags, int x, int y) {
  SetExpandedByUser(!m_expanded);
  return true;
}

void CmivoAdvListBoxItemWithHelp::Describe(mivoRowText* out) const { out->help = m_helpText; }

// ---- CmivoAdvListBoxTextWithHelp -------------------------------------------------------------------

CmivoAdvListBoxTextWithHelp::CmivoAdvListBoxTextWithHelp(mivoCore* core, const std::u16string& title,
                                                         const std::u16string& helpText)
    : CmivoAdvListBoxItemWithHelp(core), m_title(title) {
  if (!helpText.empty()) SetHelpText(helpText);
}

void CmivoAdvListBoxTextWithHelp::SetTitle(const std::u16string& title) {
  if (title == m_title) return;
  m_title = title;
  m_needsLayout = true;
  RepaintListBox();
}

bool CmivoAdvListBoxTextWithHelp::LayoutTitle(HDC dc, const RECT& rect) {
  if (!m_needsLayout) return false;
  mivoAppearance* look = Look();
  if (!look) return false;
  m_needsLayout = false;
  const int s = DisplayScale;
  const int titleHeight = DrawRowTitle(*look, dc, m_title, rect, true);
  const int base = std::max(63 * s, titleHeight + 23 * s);
  if (base == m_baseHeight && !m_expanded && base == m_height) return false;
  m_baseHeight = base;
  SetExpanded(false);
  return true;
}

void CmivoAdvListBoxTextWithHelp::DrawContent(CmivoAdvListBox* listBox, HDC dc, const RECT& rect) {
  if (LayoutTitle(dc, rect)) return;
  if (mivoAppearance* look = Look()) DrawRowTitle(*look, dc, m_title, rect, false);
}

void CmivoAdvListBoxTextWithHelp::Describe(mivoRowText* out) const {
  CmivoAdvListBoxItemWithHelp::Describe(out);
  out->text = m_title;
}

// ---- CmivoAdvListBoxSimpleTextItem ------------------------------------------------------------------

CmivoAdvListBoxSimpleTextItem::CmivoAdvListBoxSimpleTextItem(mivoCore* core, const std::u16string& text)
    : CmivoAdvListBoxItem(core), m_text(text) {
  m_height = 20 * DisplayScale;
  m_selectable = false;
}

void CmivoAdvListBoxSimpleTextItem::SetText(const std::u16string& text) {
  m_text = text;
  RepaintListBox();
}

int CmivoAdvListBoxSimpleTextItem::Draw(CmivoAdvListBox* listBox, HDC dc, RECT* rect) {
  mivoAppearance* look = Look();
  if (!look) return m_height;
  FillRect(dc, rect, look->BackgroundBrush);
  FontScope font(dc, look->SmallFont);
  const COLORREF oldColor = SetTextColor(dc, look->TextColor);
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  RECT r = *rect;
  // Without DT_SINGLELINE the vertical centring does nothing: the line sits at the top.
  DrawTextW(dc, m_text.c_str(), static_cast<int>(m_text.size()), &r, DT_CENTER | DT_VCENTER);
  SetBkMode(dc, oldMode);
  SetTextColor(dc, oldColor);
  return m_height;
}

// ---- CmivoAdvListBoxNameValueListItem ----------------------------------------------------------------

CmivoAdvListBoxNameValueListItem::CmivoAdvListBoxNameValueListItem(mivoCore* core, const std::u16string& title)
    : CmivoAdvListBoxItem(core), m_title(title) {}

void CmivoAdvListBoxNameValueListItem::SetTitle(const std::u16string& title) {
  m_title = title;
  RepaintListBox();
}

void CmivoAdvListBoxNameValueListItem::AddPair(const std::u16string& name, const std::u16string& value) {
  m_pairs.emplace_back(name, value);
  RepaintListBox();
}

void CmivoAdvListBoxNameValueListItem::ClearPairs() {
  m_pairs.clear();
  RepaintListBox();
}

int CmivoAdvListBoxNameValueListItem::Layout(HDC dc, const RECT& item, bool draw) {
  const NameValueFonts& fonts = NameValueFontSet();
  const int s = DisplayScale;
  const int left = item.left + 10 * s;
  const int right = item.right - 10 * s;
  // The values start after the widest name (at least 80·S in, at most a
  // little past the middle, but never so close that a word of a name has to
  // break), so that names break between words, not within them.
  int widestName = 0, widestWord = 0;
  {
    FontScope font(dc, fonts.name);
    auto width = [dc](std::u16string_view t) {
      RECT r{0, 0, 0, 0};
      DrawTextW(dc, t.data(), static_cast<int>(t.size()), &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
      return static_cast<int>(r.right - r.left);
    };
    for (const auto& pair : m_pairs) {
      widestName = std::max(widestName, width(pair.first));
      std::u16string_view rest(pair.first);
      while (!rest.empty()) {
        const std::size_t space = rest.find(u' ');
        widestWord = std::max(widestWord, width(rest.substr(0, space)));
        rest = space == std::u16string_view::npos ? std::u16string_view() : rest.substr(space + 1);
      }
    }
  }
  const int gap = 10 * s;
  const int nameWidth = std::max(widestWord, std::min(widestName, (right - left) * 11 / 20));
  const int column = std::min(right - 20 * s, left + std::max(80 * s, nameWidth + gap));
  int y = item.top + 10 * s;
  {
    FontScope font(dc, fonts.title);
    const UINT flags = DT_CENTER | DT_WORDBREAK;
    const int h = TextHeight(dc, m_title, left, y, right, flags);
    if (draw && h > 0) {
      RECT r{left, y, right, y + h};
      DrawTextW(dc, m_title.c_str(), static_cast<int>(m_title.size()), &r, flags);
    }
    y += h + 20 * s;
  }
  // Names and values wrap in whole words; a name keeps the gap clear of its
  // value, and a word too wide for its column takes the small font.
  mivoAppearance* look = Look();
  for (const auto& [name, value] : m_pairs) {
    int height = 0;
    if (look) {
      FontScope font(dc, fonts.name);
      const mivoFittedText names = FitText(*look, dc, name, fonts.name, column - gap - left, kUnbounded);
      const mivoFittedText values = FitText(*look, dc, value, fonts.value, right - column, kUnbounded);
      if (draw) {
        DrawFittedText(*look, dc, names, RECT{left, y, column - gap, y + names.Height()}, 0,
                       mivoTextShadow::kWithout);
        DrawFittedText(*look, dc, values, RECT{column, y, right, y + values.Height()}, 0, mivoTextShadow::kWithout);
      }
      height = std::max(name.empty() ? 0 : names.Height(), value.empty() ? 0 : values.Height());
    }
    y += height + 18 * s;
  }
  y += 10 * s;
  return y - item.top;
}

int CmivoAdvListBoxNameValueListItem::Draw(CmivoAdvListBox* listBox, HDC dc, RECT* rect) {
  mivoAppearance* look = Look();
  if (!look) return m_height;
  const int height = Layout(dc, *rect, false);
  if (height != m_height) SetHeight(height);
  rect->bottom = rect->top + m_height;
  DrawAdvListBoxCard(*look, dc, *rect, IsSelected());
  const COLORREF oldColor = SetTextColor(dc, look->TextColor);
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  Layout(dc, *rect, true);
  SetBkMode(dc, oldMode);
  SetTextColor(dc, oldColor);
  return m_height;
}

void CmivoAdvListBoxNameValueListItem::Describe(mivoRowText* out) const {
  out->text = m_title;
  for (const auto& [name, value] : m_pairs) {
    if (!out->sub.empty()) out->sub += u"\n";
    out->sub += name + u": " + value;
  }
}
