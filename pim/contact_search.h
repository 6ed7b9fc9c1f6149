// How the contacts page matches a contact against what was typed on the
// phone keypad: a digit stands for itself and for the letters of its key
// (accented ones included), any other character for itself in either case.
// Typing 5, 2, 6 finds "Jan" as well as a number holding 526.
#pragma once

#include <string>
#include <string_view>

class POContact;

// A search text made ready for matching: each character's upper case, and
// for digits the key they stand for.
class mivoKeypadSearch {
 public:
  explicit mivoKeypadSearch(std::u16string_view text);

  bool Empty() const { return m_upper.empty(); }
  // Whether the text occurs anywhere in `field` (the empty search matches all).
  bool Matches(std::u16string_view field) const;

  // The key (0-9) a character's lower case belongs to, the digit itself
  // included; -1 for a character of no key.
  static int KeyOf(char16_t c);

 private:
  // Whether the search matches `field` at position `at`.
  bool MatchesAt(std::u16string_view field, std::size_t at) const;

  const struct mivoKeypadTables* m_tables;  // the character tables, made once
  std::u16string m_upper;                   // each character raised (towupper)
  std::u16string m_keys;                    // per character: '0'..'9' for a digit, 0 otherwise
};

// Tests a contact as the contacts page does: first name, then last name (a
// match gives an empty hint), then its numbers and further fields in the
// page's order, each giving the field's label and value as the hint ("Business
// phone: +420 ..."). False when no field matches.
bool mivoMatchContact(POContact& contact, const mivoKeypadSearch& search, std::u16string* hint);
