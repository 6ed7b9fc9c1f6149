#include "tests/support/json.h"

#include <cstdlib>

namespace testing_support {

class JsonParser {
 public:
  explicit JsonParser(const std::string& s) : m_s(s) {}

  bool Value(Json* out) {
    Space();
    if (m_pos >= m_s.size()) return Fail("unexpected end");
    const char c = m_s[m_pos];
    if (c == '{') return Object(out);
    if (c == '[') return Array(out);
    if (c == '"') {
      out->m_type = Json::Type::String;
      return String(&out->m_string);
    }
    if (Literal("true")) {
      out->m_type = Json::Type::Bool;
      out->m_bool = true;
      return true;
    }
    if (Literal("false")) {
      out->m_type = Json::Type::Bool;
      return true;
    }
    if (Literal("null")) return true;
    char* end = nullptr;
    const double v = std::strtod(m_s.c_str() + m_pos, &end);
    if (end == m_s.c_str() + m_pos) return Fail("bad value");
    m_pos = static_cast<std::size_t>(end - m_s.c_str());
    out->m_type = Json::Type::Number;
    out->m_number = v;
    return true;
  }

  bool AtEnd() {
    Space();
    return m_pos == m_s.size();
  }
  std::string error;

 private:
  bool Fail(const std::string& what) {
    error = what + " at " + std::to_string(m_pos);
    return false;
  }
  void Space() {
    while (m_pos < m_s.size() && (m_s[m_pos] == ' ' || m_s[m_pos] == '\n' || m_s[m_pos] == '\t' ||
                                  m_s[m_pos] == '\r')) {
      ++m_pos;
    }
  }
  bool Literal(const char* word) {
    const std::string w = word;
    if (m_s.compare(m_pos, w.size(), w) != 0) return false;
    m_pos += w.size();
    return true;
  }
  bool Expect(char c) {
    Space();
    if (m_pos < m_s.size() && m_s[m_pos] == c) {
      ++m_pos;
      return true;
    }
    return Fail(std::string("expected '") + c + "'");
  }
  void Utf8(unsigned cp, std::string* out) {
    if (cp < 0x80) {
      *out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      *out += static_cast<char>(0xC0 | (cp >> 6));
      *out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      *out += static_cast<char>(0xE0 | (cp >> 12));
      *out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      *out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  bool String(std::string* out) {
    if (!Expect('"')) return false;
    while (m_pos < m_s.size()) {
      const char c = m_s[m_pos++];
      if (c == '"') return true;
      if (c != '\\') {
        *out += c;
        continue;
      }
      if (m_pos >= m_s.size()) break;
      const char e = m_s[m_pos++];
      switch (e) {
        case 'n': *out += '\n'; break;
        case 't': *out += '\t'; break;
        case 'r': *out += '\r'; break;
        case 'b': *out += '\b'; break;
        case 'f': *out += '\f'; break;
        case 'u': {
          if (m_pos + 4 > m_s.size()) return Fail("bad escape");
          Utf8(static_cast<unsigned>(std::strtoul(m_s.substr(m_pos, 4).c_str(), nullptr, 16)), out);
          m_pos += 4;
          break;
        }
        default: *out += e;
      }
    }
    return Fail("unterminated string");
  }
  bool Array(Json* out) {
    out->m_type = Json::Type::Array;
    ++m_pos;
    Space();
    if (m_pos < m_s.size() && m_s[m_pos] == ']') {
      ++m_pos;
      return true;
    }
    for (;;) {
      Json item;
      if (!Value(&item)) return false;
      out->m_items.push_back(std::move(item));
      Space();
      if (m_pos < m_s.size() && m_s[m_pos] == ',') {
        ++m_pos;
        continue;
      }
      return Expect(']');
    }
  }
  bool Object(Json* out) {
    out->m_type = Json::Type::Object;
    ++m_pos;
    Space();
    if (m_pos < m_s.size() && m_s[m_pos] == '}') {
      ++m_pos;
      return true;
    }
    for (;;) {
      Space();
      std::string key;
      if (!String(&key) || !Expect(':')) return false;
      Json value;
      if (!Value(&value)) return false;
      out->m_members[key] = std::move(value);
      Space();
      if (m_pos < m_s.size() && m_s[m_pos] == ',') {
        ++m_pos;
        continue;
      }
      return Expect('}');
    }
  }

  const std::string& m_s;
  std::size_t m_pos = 0;
};

Json Json::Parse(const std::string& text) {
  JsonParser p(text);
  Json out;
  if (!p.Value(&out) || !p.AtEnd()) {
    Json bad;
    bad.m_error = p.error.empty() ? "trailing text" : p.error;
    return bad;
  }
  return out;
}

const Json& Json::operator[](const std::string& key) const {
  static const Json kNull;
  auto it = m_members.find(key);
  return it == m_members.end() ? kNull : it->second;
}

const Json& Json::operator[](std::size_t index) const {
  static const Json kNull;
  return index < m_items.size() ? m_items[index] : kNull;
}

}  // namespace testing_support
