// CmivoPendingPage: what a catalogue slot shows until its own page is
// built: the page's title and icon for its modes, and a line saying that
// the page is not there yet. Walking the menu never ends on nothing.
#pragma once

#include <string>

#include "app/page_wnd.h"

class CmivoPendingPage : public CmivoPageWnd {
 public:
  CmivoPendingPage(mivoCore* core, int index);

  int Index() const { return m_index; }
  int Param() const { return m_param; }

  std::u16string GetTitle() override;
  const char* PageClassName() const override { return "CmivoPendingPage"; }

  static constexpr const char16_t* kNotBuiltText = u"This page is not available yet.";

 private:
  int m_index;      // the catalogue slot
  int m_param = 0;  // the mode last set
};
