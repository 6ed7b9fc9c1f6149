// The page and overlay operations the actions use, in one place.
#pragma once

#include <string>
#include <vector>

#include "app/core.h"
#include "app/page_wnd.h"

class mivoSkinImage;

namespace actions_ui {

inline std::u16string PageTitle(CmivoPageWnd* page, int param, int extra) { return page ? page->GetTitle() : u""; }
inline std::u16string PageHelpText(CmivoPageWnd* page, int param, int extra) { return {}; }
inline mivoSkinImage* PageIcon(CmivoPageWnd* page, int param, int extra) { return nullptr; }
inline void PageCollectImages(CmivoPageWnd* page, std::vector<mivoSkinImage*>& images) {}
inline void SetPageParam(CmivoPageWnd* page, int param, int extra) {}

// 1 for OK or yes, 2 for no, 0 when a quit message ended the box.
inline int RunMessageBox(mivoCore* core, const std::u16string& title, const std::u16string& text, bool okOnly) {
  if (!core) return 0;
  if (okOnly) {
    core->ShowMessage(text, title);
    return 1;
  }
  return core->AskYesNo(text, title) ? 1 : 2;
}

}  // namespace actions_ui
