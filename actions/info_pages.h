// The Help menu's pages: About (catalogue page 34), the program's name,
// version and what it is dressed in, and the FAQ (page 33), questions whose
// answers open under them, both from the string table's texts.
#pragma once

#include "ui/adv_list_box_page.h"

class CmivoAboutPage : public CmivoAdvListBoxPage {
 public:
  explicit CmivoAboutPage(mivoCore* core);
  ~CmivoAboutPage() override;

  std::u16string GetTitle(int param, int extra) override;
  mivoSkinImage* GetPageIcon(int param, int extra) override;
  // The skin, theme and language may have changed since the last showing.
  void OnPageShown() override;
  const char* PageClassName() const override { return "CmivoAboutPage"; }

  static constexpr const char16_t* kTitle = u"About";
};

class CmivoFAQPage : public CmivoAdvListBoxPage {
 public:
  explicit CmivoFAQPage(mivoCore* core);
  ~CmivoFAQPage() override;

  std::u16string GetTitle(int param, int extra) override;
  mivoSkinImage* GetPageIcon(int param, int extra) override;
  // Filled once, with the texts of the language in use.
  void OnPageShown() override;
  const char* PageClassName() const override { return "CmivoFAQPage"; }

 private:
  bool m_filled = false;
};
