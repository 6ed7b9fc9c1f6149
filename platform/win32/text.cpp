#include "platform/win32/text.h"

#include <locale.h>
#include <wctype.h>

#include <climits>
#include <cmath>
#include <cstdio>

namespace text {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

void AppendUtf16(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out += static_cast<char16_t>(cp);
  } else {
    cp -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (cp >> 10));
    out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
  }
}

// Case mapping through the C library's Unicode tables, independent of the
// process locale (which the host may leave as "C").
locale_t CaseLocale() {
  static locale_t loc = [] {
    locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    if (!l) l = newlocale(LC_CTYPE_MASK, "C.utf8", static_cast<locale_t>(nullptr));
    return l;
  }();
  return loc;
}

}  // namespace

std::string ToUtf8(std::u16string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    char32_t c = s[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = kReplacement;
    }
    AppendUtf8(out, c);
  }
  return out;
}

std::u16string FromUtf8(std::string_view s) {
  std::u16string out;
  out.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    const unsigned char b = static_cast<unsigned char>(s[i]);
    int extra = 0;
    char32_t cp = 0;
    if (b < 0x80) {
      cp = b;
    } else if ((b & 0xE0) == 0xC0) {
      cp = b & 0x1F;
      extra = 1;
    } else if ((b & 0xF0) == 0xE0) {
      cp = b & 0x0F;
      extra = 2;
    } else if ((b & 0xF8) == 0xF0) {
      cp = b & 0x07;
      extra = 3;
    } else {
      out += kReplacement;
      ++i;
      continue;
    }
    bool ok = i + static_cast<std::size_t>(extra) < s.size();
    for (int k = 1; ok && k <= extra; ++k) {
      const unsigned char c = static_cast<unsigned char>(s[i + k]);
      if ((c & 0xC0) != 0x80) ok = false;
      else cp = (cp << 6) | (c & 0x3F);
    }
    const bool overlong = (extra == 1 && cp < 0x80) || (extra == 2 && cp < 0x800) || (extra == 3 && cp < 0x10000);
    if (!ok || overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      out += kReplacement;
      ++i;
      continue;
    }
    AppendUtf16(out, cp);
    i += static_cast<std::size_t>(extra) + 1;
  }
  return out;
}

std::u16string FromCp1252(std::string_view s) {
  // 0x80..0x9F differ from Latin-1; the rest maps one to one.
  static const char16_t kHigh[32] = {0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
                                     0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};
  std::u16string out;
  out.reserve(s.size());
  for (char ch : s) {
    const unsigned char b = static_cast<unsigned char>(ch);
    out += (b >= 0x80 && b < 0xA0) ? kHigh[b - 0x80] : static_cast<char16_t>(b);
  }
  return out;
}

std::size_t Length(const char16_t* s) {
  if (!s) return 0;
  std::size_t n = 0;
  while (s[n]) ++n;
  return n;
}

std::size_t CopyTo(char16_t* dst, std::size_t capacity, std::u16string_view src) {
  if (!dst || capacity == 0) return 0;
  const std::size_t n = src.size() < capacity - 1 ? src.size() : capacity - 1;
  for (std::size_t i = 0; i < n; ++i) dst[i] = src[i];
  dst[n] = 0;
  return n;
}

char16_t ToLower(char16_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? static_cast<char16_t>(c + 32) : c;
  if (c >= 0xD800 && c <= 0xDFFF) return c;
  locale_t loc = CaseLocale();
  if (!loc) return c;
  const wint_t r = towlower_l(static_cast<wint_t>(c), loc);
  return r < 0x10000 ? static_cast<char16_t>(r) : c;
}

char16_t ToUpper(char16_t c) {
  if (c < 0x80) return (c >= 'a' && c <= 'z') ? static_cast<char16_t>(c - 32) : c;
  if (c >= 0xD800 && c <= 0xDFFF) return c;
  locale_t loc = CaseLocale();
  if (!loc) return c;
  const wint_t r = towupper_l(static_cast<wint_t>(c), loc);
  return r < 0x10000 ? static_cast<char16_t>(r) : c;
}

std::u16string ToLower(std::u16string_view s) {
  std::u16string out(s);
  for (auto& c : out) c = ToLower(c);
  return out;
}

std::u16string ToUpper(std::u16string_view s) {
  std::u16string out(s);
  for (auto& c : out) c = ToUpper(c);
  return out;
}

int CompareNoCase(std::u16string_view a, std::u16string_view b) {
  const std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char16_t x = ToLower(a[i]), y = ToLower(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool EqualsNoCase(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() && CompareNoCase(a, b) == 0;
}

bool EndsWithNoCase(std::u16string_view s, std::u16string_view suffix) {
  return s.size() >= suffix.size() && EqualsNoCase(s.substr(s.size() - suffix.size()), suffix);
}

bool StartsWithNoCase(std::u16string_view s, std::u16string_view prefix) {
  return s.size() >= prefix.size() && EqualsNoCase(s.substr(0, prefix.size()), prefix);
}

std::u16string Trim(std::u16string_view s) {
  auto space = [](char16_t c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  std::size_t b = 0, e = s.size();
  while (b < e && space(s[b])) ++b;
  while (e > b && space(s[e - 1])) --e;
  return std::u16string(s.substr(b, e - b));
}

std::u16string FromInt(long long v) {
  const std::string s = std::to_string(v);
  return std::u16string(s.begin(), s.end());
}

bool ParseInt(std::u16string_view s, long long* out) {
  std::size_t i = 0;
  bool neg = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
    neg = s[i] == '-';
    ++i;
  }
  if (i >= s.size()) return false;
  unsigned long long v = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    const unsigned d = s[i] - '0';
    if (v > (static_cast<unsigned long long>(LLONG_MAX) + (neg ? 1 : 0) - d) / 10) return false;
    v = v * 10 + d;
  }
  if (out) *out = neg ? static_cast<long long>(0 - v) : static_cast<long long>(v);
  return true;
}

namespace {

// One conversion of a pattern ("%-5d"): its flags, width and precision.
struct Conversion {
  bool left = false, zero = false, plus = false, space = false, alt = false;
  int width = -1, precision = -1;
};

void Pad(std::u16string& out, const std::u16string& body, const Conversion& field, bool numeric) {
  const int len = static_cast<int>(body.size());
  if (field.width <= len) {
    out += body;
    return;
  }
  const int fill = field.width - len;
  if (field.left) {
    out += body;
    out.append(static_cast<std::size_t>(fill), u' ');
  } else if (field.zero && numeric) {
    // Zeros go after a sign or a 0x prefix.
    std::size_t signLen = 0;
    if (!body.empty() && (body[0] == '-' || body[0] == '+' || body[0] == ' ')) signLen = 1;
    if (body.size() >= signLen + 2 && body[signLen] == '0' && (body[signLen + 1] == 'x' || body[signLen + 1] == 'X'))
      signLen += 2;
    out += body.substr(0, signLen);
    out.append(static_cast<std::size_t>(fill), u'0');
    out += body.substr(signLen);
  } else {
    out.append(static_cast<std::size_t>(fill), u' ');
    out += body;
  }
}

std::u16string Ascii(const std::string& s) { return std::u16string(s.begin(), s.end()); }

long long AsSigned(const FormatArg& a) {
  if (auto p = std::get_if<long long>(&a)) return *p;
  if (auto p = std::get_if<unsigned long long>(&a)) return static_cast<long long>(*p);
  if (auto p = std::get_if<double>(&a)) return static_cast<long long>(*p);
  if (auto p = std::get_if<char16_t>(&a)) return *p;
  long long v = 0;
  ParseInt(std::get<std::u16string_view>(a), &v);
  return v;
}

unsigned long long AsUnsigned(const FormatArg& a) {
  if (auto p = std::get_if<unsigned long long>(&a)) return *p;
  return static_cast<unsigned long long>(AsSigned(a));
}

double AsDouble(const FormatArg& a) {
  if (auto p = std::get_if<double>(&a)) return *p;
  if (auto p = std::get_if<unsigned long long>(&a)) return static_cast<double>(*p);
  return static_cast<double>(AsSigned(a));
}

}  // namespace

std::u16string FormatV(std::u16string_view pattern, const std::vector<FormatArg>& args) {
  std::u16string out;
  out.reserve(pattern.size() + 16);
  std::size_t next = 0;
  std::size_t i = 0;
  while (i < pattern.size()) {
    const char16_t c = pattern[i];
    if (c != '%') {
      out += c;
      ++i;
      continue;
    }
    ++i;
    if (i >= pattern.size()) {
      out += u'%';
      break;
    }
    if (pattern[i] == '%') {
      out += u'%';
      ++i;
      continue;
    }
    Conversion field;
    for (; i < pattern.size(); ++i) {
      const char16_t f = pattern[i];
      if (f == '-') field.left = true;
      else if (f == '0') field.zero = true;
      else if (f == '+') field.plus = true;
      else if (f == ' ') field.space = true;
      else if (f == '#') field.alt = true;
      else break;
    }
    while (i < pattern.size() && pattern[i] >= '0' && pattern[i] <= '9') {
      field.width = (field.width < 0 ? 0 : field.width) * 10 + (pattern[i] - '0');
      if (field.width > 4096) field.width = 4096;
      ++i;
    }
    if (i < pattern.size() && pattern[i] == '.') {
      ++i;
      field.precision = 0;
      while (i < pattern.size() && pattern[i] >= '0' && pattern[i] <= '9') {
        field.precision = field.precision * 10 + (pattern[i] - '0');
        if (field.precision > 4096) field.precision = 4096;
        ++i;
      }
    }
    while (i < pattern.size() && (pattern[i] == 'l' || pattern[i] == 'h' || pattern[i] == 'I' || pattern[i] == 'L' ||
                                  pattern[i] == 'z' || pattern[i] == 'j' || pattern[i] == 't' ||
                                  (pattern[i] >= '0' && pattern[i] <= '9' && pattern[i - 1] == 'I')))
      ++i;
    if (i >= pattern.size()) break;
    const char16_t conv = pattern[i++];
    const FormatArg* arg = next < args.size() ? &args[next] : nullptr;
    if (conv != '%') ++next;
    char buf[128];
    switch (conv) {
      case 'd':
      case 'i': {
        const long long v = arg ? AsSigned(*arg) : 0;
        std::string s =
            std::to_string(v < 0 ? 0 - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v));
        if (field.precision >= 0 && static_cast<int>(s.size()) < field.precision) {
          s.insert(0, field.precision - s.size(), '0');
        }
        if (v < 0) s.insert(0, "-");
        else if (field.plus) s.insert(0, "+");
        else if (field.space) s.insert(0, " ");
        if (field.precision >= 0) field.zero = false;
        Pad(out, Ascii(s), field, true);
        break;
      }
      case 'u':
      case 'x':
      case 'X':
      case 'o': {
        const unsigned long long v = arg ? AsUnsigned(*arg) : 0;
        const char* f = conv == 'u' ? "%llu" : conv == 'x' ? "%llx" : conv == 'X' ? "%llX" : "%llo";
        std::snprintf(buf, sizeof buf, f, v);
        std::string s = buf;
        if (field.precision >= 0 && static_cast<int>(s.size()) < field.precision) {
          s.insert(0, field.precision - s.size(), '0');
        }
        if (field.alt && v != 0 && conv == 'x') s.insert(0, "0x");
        if (field.alt && v != 0 && conv == 'X') s.insert(0, "0X");
        if (field.precision >= 0) field.zero = false;
        Pad(out, Ascii(s), field, true);
        break;
      }
      case 'p': {
        std::snprintf(buf, sizeof buf, "%08llX", arg ? AsUnsigned(*arg) : 0ull);
        Pad(out, Ascii(buf), field, true);
        break;
      }
      case 'f':
      case 'F':
      case 'g':
      case 'G':
      case 'e':
      case 'E': {
        const double v = arg ? AsDouble(*arg) : 0.0;
        char f[16];
        std::snprintf(f, sizeof f, "%%%s%s.%d%c", field.plus ? "+" : "", field.alt ? "#" : "",
                      field.precision >= 0 ? field.precision : 6, static_cast<char>(conv));
        if (std::isfinite(v)) std::snprintf(buf, sizeof buf, f, v);
        else std::snprintf(buf, sizeof buf, "%s", std::isnan(v) ? "nan" : (v < 0 ? "-inf" : "inf"));
        Pad(out, Ascii(buf), field, true);
        break;
      }
      case 'c':
      case 'C': {
        std::u16string s;
        if (arg) {
          if (auto p = std::get_if<char16_t>(arg)) s = *p;
          else if (auto q = std::get_if<std::u16string_view>(arg)) {
            if (!q->empty()) s.assign(1, q->front());
          }
          else s = static_cast<char16_t>(AsSigned(*arg));
        }
        field.zero = false;
        Pad(out, s, field, false);
        break;
      }
      case 's':
      case 'S': {
        std::u16string s;
        if (arg) {
          if (auto p = std::get_if<std::u16string_view>(arg)) s = std::u16string(*p);
          else if (auto q = std::get_if<char16_t>(arg)) s = *q;
          else if (auto d = std::get_if<double>(arg)) {
            std::snprintf(buf, sizeof buf, "%g", *d);
            s = Ascii(buf);
          } else if (auto u = std::get_if<unsigned long long>(arg)) s = Ascii(std::to_string(*u));
          else s = FromInt(AsSigned(*arg));
        }
        if (field.precision >= 0 && static_cast<int>(s.size()) > field.precision) s.resize(field.precision);
        field.zero = false;
        Pad(out, s, field, false);
        break;
      }
      default:
        // An unknown conversion is written back as it stood.
        out += u'%';
        out += conv;
        if (next > 0) --next;
        break;
    }
  }
  return out;
}

}  // namespace text
