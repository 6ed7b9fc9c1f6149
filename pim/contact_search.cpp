#include "pim/contact_search.h"

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>

#include "pim/po_items.h"
#include "platform/win32/text.h"

namespace {

// The letters of each key beyond a-z, as code points of lowered characters.
struct KeyLetters {
  int digit;
  const char* ascii;
  std::initializer_list<int> others;
};
const KeyLetters kKeys[] = {
    {2, "abc", {224, 225, 226, 227, 228, 229, 231, 263, 265, 267, 269}},
    {3, "def", {232, 233, 234, 235, 271, 273, 275, 277, 279, 281, 283}},
    {4, "ghi", {236, 237, 238, 239}},
    {5, "jkl", {314, 318, 322}},
    {6, "mno", {242, 243, 244, 245, 246, 324, 328}},
    {7, "pqrs", {341, 345, 347, 349, 351, 353}},
    {8, "tuv", {355, 357, 361, 363, 365, 367, 369, 371}},
    {9, "wxyz", {253, 255, 375, 378, 380, 382}},
};

// Per UTF-16 unit: its upper case, and the key its lower case belongs to.
// Made once: matching 10,000 contacts per key press cannot afford the C
// library's case mapping per character.
}  // namespace

struct mivoKeypadTables {
  std::array<char16_t, 0x10000> upper;
  std::array<std::int8_t, 0x10000> key;
};

namespace {

const mivoKeypadTables& CharTables() {
  static std::unique_ptr<mivoKeypadTables> tables;
  static std::once_flag once;
  std::call_once(once, [] {
    tables = std::make_unique<mivoKeypadTables>();
    std::array<std::int8_t, 0x10000> byLowered;
    byLowered.fill(-1);
    for (int d = 0; d <= 9; ++d) byLowered[u'0' + d] = static_cast<std::int8_t>(d);
    for (const KeyLetters& k : kKeys) {
      for (const char* c = k.ascii; *c; ++c)
        byLowered[static_cast<unsigned char>(*c)] = static_cast<std::int8_t>(k.digit);
      for (int cp : k.others) byLowered[static_cast<std::size_t>(cp)] = static_cast<std::int8_t>(k.digit);
    }
    for (std::size_t c = 0; c < 0x10000; ++c) {
      const auto unit = static_cast<char16_t>(c);
      tables->upper[c] = text::ToUpper(unit);
      tables->key[c] = byLowered[text::ToLower(unit)];
    }
  });
  return *tables;
}

}  // namespace

mivoKeypadSearch::mivoKeypadSearch(std::u16string_view text) : m_tables(&CharTables()) {
  const mivoKeypadTables& t = *m_tables;
  m_upper.reserve(text.size());
  m_keys.reserve(text.size());
  for (char16_t c : text) {
    m_upper += t.upper[c];
    m_keys += c >= u'0' && c <= u'9' ? c : u'\0';
  }
}

int mivoKeypadSearch::KeyOf(char16_t c) { return CharTables().key[c]; }

bool mivoKeypadSearch::MatchesAt(std::u16string_view field, std::size_t at) const {
  const mivoKeypadTables& t = *m_tables;
  for (std::size_t j = 0; j < m_upper.size(); ++j) {
    const char16_t c = field[at + j];
    if (m_keys[j]) {
      if (t.key[c] != m_keys[j] - u'0') return false;
    } else if (t.upper[c] != m_upper[j]) {
      return false;
    }
  }
  return true;
}

bool mivoKeypadSearch::Matches(std::u16string_view field) const {
  if (m_upper.empty()) return true;
  if (field.size() < m_upper.size()) return false;
  for (std::size_t i = 0; i + m_upper.size() <= field.size(); ++i)
    if (MatchesAt(field, i)) return true;
  return false;
}

bool mivoMatchContact(POContact& contact, const mivoKeypadSearch& search, std::u16string* hint) {
  hint->clear();
  if (search.Matches(contact.GetFirstName()) || search.Matches(contact.GetLastName())) return true;
  struct Number {
    int kind;
    const char16_t* label;
  };
  static const Number kNumbers[] = {
      {kPhoneKindAssistant, u"Assistant phone: "}, {kPhoneKindBusiness2, u"Business2 phone: "},
      {kPhoneKindBusiness, u"Business phone: "},   {kPhoneKindCar, u"Car phone: "},
      {kPhoneKindHome2, u"Home2 phone: "},         {kPhoneKindHome, u"Home phone: "},
      {kPhoneKindMobile, u"Mobile phone: "},       {kPhoneKindRadio, u"Radio phone: "},
  };
  for (const Number& n : kNumbers) {
    const std::u16string& value = contact.GetNumber(n.kind);
    if (!value.empty() && search.Matches(value)) {
      *hint = n.label + value;
      return true;
    }
  }
  struct Field {
    int field;
    const char16_t* label;
  };
  static const Field kFields[] = {
      {POContact::kFieldSuffix, u"Suffix: "},
      {POContact::kFieldMiddleName, u"Middle name: "},
      {POContact::kFieldTitle, u"Title: "},
      {POContact::kFieldCompany, u"Company: "},
      {POContact::kFieldDepartment, u"Department: "},
      {POContact::kFieldEmail1, u"Email1 address: "},
      {POContact::kFieldEmail2, u"Email2 address: "},
      {POContact::kFieldEmail3, u"Email3 address: "},
      {POContact::kFieldOfficeLocation, u"Office location: "},
      {POContact::kFieldJobTitle, u"Job title: "},
      {POContact::kFieldAssistantName, u"Assistant name: "},
      {POContact::kFieldHomeStreet, u"Home address: "},
      {POContact::kFieldHomeCity, u"Home address: "},
      {POContact::kFieldHomeState, u"Home address: "},
      {POContact::kFieldHomePostalCode, u"Home address: "},
      {POContact::kFieldHomeCountry, u"Home address: "},
      {POContact::kFieldOtherStreet, u"Other address: "},
      {POContact::kFieldOtherCity, u"Other address: "},
      {POContact::kFieldOtherState, u"Other address: "},
      {POContact::kFieldOtherPostalCode, u"Other address: "},
      {POContact::kFieldOtherCountry, u"Other address: "},
      {POContact::kFieldBusinessStreet, u"Business address: "},
      {POContact::kFieldBusinessCity, u"Business address: "},
      {POContact::kFieldBusinessState, u"Business address: "},
      {POContact::kFieldBusinessPostalCode, u"Business address: "},
      {POContact::kFieldBusinessCountry, u"Business address: "},
  };
  for (const Field& f : kFields) {
    const std::u16string& value = contact.GetField(f.field);
    if (!value.empty() && search.Matches(value)) {
      *hint = f.label + value;
      return true;
    }
  }
  return false;
}
