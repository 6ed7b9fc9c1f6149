#include "platform/device/poom_restriction.h"

#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/device/com.h"
#include "platform/win32/text.h"

namespace poom {

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

// ---- Dates ---------------------------------------------------------------------------------

// Reads the digits at pos; false when there are none.
bool Digits(std::u16string_view s, std::size_t* pos, int* value, int* count) {
  *value = 0;
  *count = 0;
  while (*pos < s.size() && IsDigit(s[*pos]) && *count < 9) {
    *value = *value * 10 + (s[*pos] - u'0');
    ++*pos;
    ++*count;
  }
  return *count > 0;
}

void SkipSpaces(std::u16string_view s, std::size_t* pos) {
  while (*pos < s.size() && IsSpace(s[*pos])) ++*pos;
}

// ---- Expressions -----------------------------------------------------------------------------

enum class Op { kEq, kNe, kLt, kGt, kLe, kGe };

class Comparison : public Restriction {
 public:
  Comparison(std::u16string field, Op op, FieldValue value)
      : m_field(std::move(field)), m_op(op), m_value(std::move(value)) {}
  bool Matches(const FieldLookup& item) const override {
    FieldValue have;
    if (!item(m_field, &have)) return false;
    int c = 0;
    switch (have.kind) {
      case FieldValue::Kind::kText: c = text::ToLower(have.text).compare(text::ToLower(m_value.text)); break;
      case FieldValue::Kind::kDate:
      case FieldValue::Kind::kNumber:
      case FieldValue::Kind::kBool: {
        double want = 0;
        if (!Number(have.kind, &want)) return false;
        double x = have.number;
        c = x < want ? -1 : x > want ? 1 : 0;
        break;
      }
    }
    switch (m_op) {
      case Op::kEq: return c == 0;
      case Op::kNe: return c != 0;
      case Op::kLt: return c < 0;
      case Op::kGt: return c > 0;
      case Op::kLe: return c <= 0;
      case Op::kGe: return c >= 0;
    }
    return false;
  }

 private:
  // The literal as a number of the field's kind.
  bool Number(FieldValue::Kind kind, double* out) const {
    if (m_value.kind != FieldValue::Kind::kText) {
      *out = m_value.number;
      return true;
    }
    if (kind == FieldValue::Kind::kDate) return ParseDateText(m_value.text, out);
    std::string utf8 = text::ToUtf8(m_value.text);
    char* end = nullptr;
    *out = std::strtod(utf8.c_str(), &end);
    return end && *end == 0 && !utf8.empty();
  }

  std::u16string m_field;  // the property name, lower case
  Op m_op;
  FieldValue m_value;  // the literal
};

class Junction : public Restriction {
 public:
  Junction(bool all, std::unique_ptr<Restriction> a, std::unique_ptr<Restriction> b)
      : m_all(all), m_a(std::move(a)), m_b(std::move(b)) {}
  bool Matches(const FieldLookup& item) const override {
    return m_all ? m_a->Matches(item) && m_b->Matches(item) : m_a->Matches(item) || m_b->Matches(item);
  }

 private:
  bool m_all;  // AND, else OR
  std::unique_ptr<Restriction> m_a, m_b;
};

class Negation : public Restriction {
 public:
  explicit Negation(std::unique_ptr<Restriction> inner) : m_inner(std::move(inner)) {}
  bool Matches(const FieldLookup& item) const override { return !m_inner->Matches(item); }

 private:
  std::unique_ptr<Restriction> m_inner;
};

class Parser {
 public:
  explicit Parser(std::u16string_view s) : m_s(s) {}

  std::unique_ptr<Restriction> Parse(std::string* error) {
    auto r = Or();
    SkipSpaces(m_s, &m_pos);
    if (r && m_pos != m_s.size()) Fail("unexpected text at position " + std::to_string(m_pos + 1));
    if (!m_error.empty()) {
      if (error) *error = m_error;
      return nullptr;
    }
    return r;
  }

 private:
  void Fail(const std::string& message) {
    if (m_error.empty()) m_error = message;
  }

  bool Keyword(std::u16string_view word) {
    SkipSpaces(m_s, &m_pos);
    if (m_s.size() - m_pos < word.size()) return false;
    if (text::ToLower(m_s.substr(m_pos, word.size())) != word) return false;
    std::size_t after = m_pos + word.size();
    if (after < m_s.size() && !IsSpace(m_s[after]) && m_s[after] != u'(' && m_s[after] != u'[') return false;
    m_pos = after;
    return true;
  }

  std::unique_ptr<Restriction> Or() {
    auto left = And();
    while (left && Keyword(u"or")) {
      auto right = And();
      if (!right) return nullptr;
      left = std::make_unique<Junction>(false, std::move(left), std::move(right));
    }
    return left;
  }

  std::unique_ptr<Restriction> And() {
    auto left = Factor();
    while (left && Keyword(u"and")) {
      auto right = Factor();
      if (!right) return nullptr;
      left = std::make_unique<Junction>(true, std::move(left), std::move(right));
    }
    return left;
  }

  std::unique_ptr<Restriction> Factor() {
    if (Keyword(u"not")) {
      auto inner = Factor();
      return inner ? std::make_unique<Negation>(std::move(inner)) : nullptr;
    }
    SkipSpaces(m_s, &m_pos);
    if (m_pos < m_s.size() && m_s[m_pos] == u'(') {
      ++m_pos;
      auto inner = Or();
      SkipSpaces(m_s, &m_pos);
      if (!inner || m_pos >= m_s.size() || m_s[m_pos] != u')') {
        Fail("a bracket is not closed");
        return nullptr;
      }
      ++m_pos;
      return inner;
    }
    return Compare();
  }

  std::unique_ptr<Restriction> Compare() {
    SkipSpaces(m_s, &m_pos);
    if (m_pos >= m_s.size() || m_s[m_pos] != u'[') {
      Fail("a property in [brackets] was expected at position " + std::to_string(m_pos + 1));
      return nullptr;
    }
    std::size_t close = m_s.find(u']', m_pos);
    if (close == std::u16string_view::npos || close == m_pos + 1) {
      Fail("a property name is not closed with ]");
      return nullptr;
    }
    std::u16string field = text::ToLower(m_s.substr(m_pos + 1, close - m_pos - 1));
    m_pos = close + 1;
    SkipSpaces(m_s, &m_pos);
    Op op;
    auto at = [&](std::u16string_view t) { return m_s.substr(m_pos, t.size()) == t; };
    if (at(u"<>"))
      op = Op::kNe, m_pos += 2;
    else if (at(u"<="))
      op = Op::kLe, m_pos += 2;
    else if (at(u">="))
      op = Op::kGe, m_pos += 2;
    else if (at(u"="))
      op = Op::kEq, m_pos += 1;
    else if (at(u"<"))
      op = Op::kLt, m_pos += 1;
    else if (at(u">"))
      op = Op::kGt, m_pos += 1;
    else {
      Fail("a comparison (= <> < > <= >=) was expected after [" + text::ToUtf8(field) + "]");
      return nullptr;
    }
    FieldValue value;
    if (!Literal(&value)) return nullptr;
    return std::make_unique<Comparison>(std::move(field), op, std::move(value));
  }

  bool Literal(FieldValue* out) {
    SkipSpaces(m_s, &m_pos);
    if (m_pos < m_s.size() && (m_s[m_pos] == u'"' || m_s[m_pos] == u'\'')) {
      char16_t quote = m_s[m_pos++];
      std::u16string value;
      for (;;) {
        if (m_pos >= m_s.size()) {
          Fail("a quoted value is not closed");
          return false;
        }
        char16_t c = m_s[m_pos++];
        if (c == quote) {
          // A doubled quote stands for itself.
          if (m_pos < m_s.size() && m_s[m_pos] == quote) {
            value += quote;
            ++m_pos;
            continue;
          }
          break;
        }
        value += c;
      }
      out->kind = FieldValue::Kind::kText;
      out->text = std::move(value);
      return true;
    }
    if (Keyword(u"true")) {
      out->kind = FieldValue::Kind::kBool;
      out->number = 1;
      return true;
    }
    if (Keyword(u"false")) {
      out->kind = FieldValue::Kind::kBool;
      out->number = 0;
      return true;
    }
    std::size_t start = m_pos;
    while (m_pos < m_s.size() &&
           (IsDigit(m_s[m_pos]) || m_s[m_pos] == u'-' || m_s[m_pos] == u'.' || m_s[m_pos] == u'+'))
      ++m_pos;
    std::string number = text::ToUtf8(m_s.substr(start, m_pos - start));
    char* end = nullptr;
    double v = number.empty() ? 0 : std::strtod(number.c_str(), &end);
    if (number.empty() || !end || *end) {
      Fail("a value (a quoted text, a number, TRUE or FALSE) was expected at position " + std::to_string(start + 1));
      return false;
    }
    out->kind = FieldValue::Kind::kNumber;
    out->number = v;
    return true;
  }

  std::u16string_view m_s;  // the restriction text
  std::size_t m_pos = 0;    // where reading goes on
  std::string m_error;      // the first fault found
};

}  // namespace

std::unique_ptr<Restriction> Restriction::Parse(std::u16string_view text, std::string* error) {
  return Parser(text).Parse(error);
}

bool ParseDateText(std::u16string_view s, double* date) {
  std::size_t pos = 0;
  SkipSpaces(s, &pos);
  int parts[3] = {};
  int widths[3] = {};
  char16_t separator = 0;
  for (int i = 0; i < 3; ++i) {
    if (!Digits(s, &pos, &parts[i], &widths[i])) return false;
    if (i < 2) {
      if (pos >= s.size()) return false;
      char16_t sep = s[pos];
      if (sep != u'/' && sep != u'.' && sep != u'-') return false;
      if (separator && sep != separator) return false;
      separator = sep;
      ++pos;
    }
  }
  // "15.3.2010." as some locales write it.
  if (separator == u'.' && pos < s.size() && s[pos] == u'.') ++pos;
  int year, month, day;
  if (widths[0] == 4) {
    year = parts[0], month = parts[1], day = parts[2];
  } else if (separator == u'/' && parts[0] <= 12) {
    month = parts[0], day = parts[1], year = parts[2];
  } else {
    day = parts[0], month = parts[1], year = parts[2];
  }
  if (widths[0] != 4 && widths[2] <= 2) year += year < 50 ? 2000 : 1900;

  int hour = 0, minute = 0, second = 0;
  SkipSpaces(s, &pos);
  if (pos < s.size() && s[pos] == u'T') ++pos;
  if (pos < s.size()) {
    int w;
    if (!Digits(s, &pos, &hour, &w) || pos >= s.size() || s[pos] != u':') return false;
    ++pos;
    if (!Digits(s, &pos, &minute, &w)) return false;
    if (pos < s.size() && s[pos] == u':') {
      ++pos;
      if (!Digits(s, &pos, &second, &w)) return false;
    }
    SkipSpaces(s, &pos);
    std::u16string rest = text::ToLower(s.substr(pos));
    if (rest == u"am" || rest == u"a.m." || rest == u"pm" || rest == u"p.m.") {
      if (hour < 1 || hour > 12) return false;
      bool pm = rest[0] == u'p';
      hour = hour % 12 + (pm ? 12 : 0);
    } else if (!rest.empty()) {
      return false;
    }
  }
  SYSTEMTIME st;
  st.wYear = static_cast<WORD>(year);
  st.wMonth = static_cast<WORD>(month);
  st.wDay = static_cast<WORD>(day);
  st.wHour = static_cast<WORD>(hour);
  st.wMinute = static_cast<WORD>(minute);
  st.wSecond = static_cast<WORD>(second);
  if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 ||
      second > 59)
    return false;
  return SystemTimeToVariantTime(&st, date) != FALSE;
}

}  // namespace poom
