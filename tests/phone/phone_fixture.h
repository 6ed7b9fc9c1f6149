// What the phone pages' tests share: the whole program in this process on a
// device that holds only the contacts, messages and calls a test puts there,
// and the look of the dump's rows.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/device/pim_db.h"
#include "tests/support/json.h"
#include "tests/ui/ui_harness.h"

namespace phonetest {

using testing_support::Json;

// A contact with a first and last name and the given numbers by kind (1-8).
inline device::ContactRecord Person(const char16_t* first, const char16_t* last,
                                    std::initializer_list<std::pair<int, const char16_t*>> numbers = {}) {
  device::ContactRecord c;
  c.firstName = first;
  c.lastName = last;
  for (const auto& [kind, number] : numbers) *c.Phone(kind) = number;
  return c;
}

inline Json Dump() { return Json::Parse(uitest::UiHarness::Dump()); }

// The dumped rows of the top page.
inline std::vector<Json> Rows() { return Dump()["top"]["rows"].Items(); }

inline std::vector<std::string> RowTexts() { return uitest::Texts("rows"); }

// The row with this text; a Null value (and a failure) when there is none.
inline Json Row(const std::string& text) {
  for (const Json& r : Rows())
    if (r["text"].AsString() == text) return r;
  ADD_FAILURE() << "no row " << text;
  return Json();
}

// The page of that index with the parameter, brought to the top.
template <typename Page>
Page* Show(uitest::UiHarness& h, int index, int param = 0) {
  auto* page = dynamic_cast<Page*>(h.Core().GetPage(index));
  EXPECT_NE(page, nullptr) << index;
  if (!page) return nullptr;
  page->SetPageParam(param, 0);
  if (h.Core().TopPage() != page) h.Core().ShowPage(page);
  h.Pump();
  return page;
}

inline POINT Centre(const Json& rect) {
  return POINT{static_cast<int>((rect[0].AsInt() + rect[2].AsInt()) / 2),
               static_cast<int>((rect[1].AsInt() + rect[3].AsInt()) / 2)};
}

}  // namespace phonetest
