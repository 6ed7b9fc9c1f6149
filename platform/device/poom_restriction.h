// The restriction texts of the Outlook object model's Find and Restrict:
//   [Property] op value  { AND | OR  [Property] op value }, with NOT and brackets,
// op one of = <> < > <= >=, value a quoted text ("Anna", a date and time as
// the locale writes it: "3/15/2010 12:00 AM", "15.3.2010 0:00",
// "2010-03-15 00:00"), a number, or TRUE / FALSE. Property names are
// matched without case; texts compare without case.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace poom {

// One property of an item as the restriction sees it.
struct FieldValue {
  enum class Kind { kText, kNumber, kDate, kBool };
  Kind kind = Kind::kText;
  std::u16string text;
  double number = 0;  // kNumber, kDate (a DATE), kBool (0 or 1)
};
// Answers a property by name; false when the item has no such property.
using FieldLookup = std::function<bool(std::u16string_view name, FieldValue* out)>;

class Restriction {
 public:
  virtual ~Restriction() = default;
  // Null, with a message, for a text that is not a restriction.
  static std::unique_ptr<Restriction> Parse(std::u16string_view text, std::string* error);
  virtual bool Matches(const FieldLookup& item) const = 0;
};

// A date and time written as a user or the locale writes it, as a DATE;
// false when the text is not one.
bool ParseDateText(std::u16string_view text, double* date);

}  // namespace poom
