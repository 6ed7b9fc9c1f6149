// The general rows of the advanced list box: a row with a help text behind
// its side button, a titled row that sizes itself to its title, a one-line
// summary, and a card of name-value pairs. Rows of particular pages derive
// from these.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "ui/adv_list_box_item.h"

class CmivoAdvListBoxItemWithHelp : public CmivoAdvListBoxSideButtonItem {
 public:
  explicit CmivoAdvListBoxItemWithHelp(mivoCore* core);

  // Empty: no side button and nothing to expand. Otherwise the help button,
  // and a first guess of 20·S for the text's height, corrected by the first
  // paint of the expanded card.
  void SetHelpText(const std::u16string& text);
  const std::u16string& GetHelpText() const { return m_helpText; }

  // Measures the help text; draws it when the card already has its height,
  // else takes the measured height and repaints.
  void DrawExpanded(CmivoAdvListBox* listBox, HDC dc, const RECT& rect) override;
  // The side button expands and collapses the card.
  bool OnSideButton(UINT flags, int x, int y) override;
  void Describe(mivoRowText* out) const override;

 protected:
  std::u16string m_helpText;  // shown when expanded
};

// A row with a title drawn by the toolkit's row title; its height follows the
// title (at least 63·S).
class CmivoAdvListBoxTextWithHelp : public CmivoAdvListBoxItemWithHelp {
 public:
  CmivoAdvListBoxTextWithHelp(mivoCore* core, const std::u16string& title = u"",
                              const std::u16string& helpText = u"");

  // The next paint measures the new title and sizes the row.
  void SetTitle(const std::u16string& title);
  const std::u16string& GetTitle() const { return m_title; }

  void DrawContent(CmivoAdvListBox* listBox, HDC dc, const RECT& rect) override;
  void Describe(mivoRowText* out) const override;
  void OnListWidthChanged() override { m_needsLayout = true; }

 protected:
  // Measures the title when it changed; true when the row's height changed
  // (the list repaints, so there is no point drawing now).
  bool LayoutTitle(HDC dc, const RECT& rect);

  std::u16string m_title;      // drawn with DrawRowTitle
  bool m_needsLayout = true;   // the title changed since it was last measured
};

// A summary line ("Total skins: 3"): 20·S high, no card, not selectable.
class CmivoAdvListBoxSimpleTextItem : public CmivoAdvListBoxItem {
 public:
  CmivoAdvListBoxSimpleTextItem(mivoCore* core, const std::u16string& text);

  void SetText(const std::u16string& text);

  int Draw(CmivoAdvListBox* listBox, HDC dc, RECT* rect) override;
  bool OnTap(UINT flags, int x, int y) override { return true; }
  void Describe(mivoRowText* out) const override { out->text = m_text; }

 private:
  std::u16string m_text;  // one line, SmallFont, centred
};

// A card with a centred title and a table of name-value pairs, each side
// word-wrapped; it measures its own height whenever it is drawn.
class CmivoAdvListBoxNameValueListItem : public CmivoAdvListBoxItem {
 public:
  CmivoAdvListBoxNameValueListItem(mivoCore* core, const std::u16string& title);

  void SetTitle(const std::u16string& title);
  void AddPair(const std::u16string& name, const std::u16string& value);
  // Removes every pair (a card that is filled again, such as the battery's).
  void ClearPairs();

  int Draw(CmivoAdvListBox* listBox, HDC dc, RECT* rect) override;
  bool OnTap(UINT flags, int x, int y) override { return false; }
  void Describe(mivoRowText* out) const override;

 private:
  // Measures (draw = false) or draws the title and the pairs inside the
  // card; returns the height they need.
  int Layout(HDC dc, const RECT& item, bool draw);

  std::u16string m_title;                                       // 24·S bold, centred
  std::vector<std::pair<std::u16string, std::u16string>> m_pairs;  // in the order added
};
