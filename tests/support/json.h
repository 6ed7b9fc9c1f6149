// A small JSON reader for the tests: enough to read the `dump` line.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace testing_support {

class Json {
 public:
  enum class Type { Null, Bool, Number, String, Array, Object };

  // Parses a whole text; a Null value with Error() set on bad input.
  static Json Parse(const std::string& text);

  Type type() const { return m_type; }
  bool IsNull() const { return m_type == Type::Null; }
  bool AsBool() const { return m_bool; }
  long long AsInt() const { return static_cast<long long>(m_number); }
  double AsNumber() const { return m_number; }
  const std::string& AsString() const { return m_string; }
  const std::vector<Json>& Items() const { return m_items; }
  std::size_t size() const { return m_type == Type::Array ? m_items.size() : m_members.size(); }
  bool Has(const std::string& key) const { return m_members.count(key) != 0; }
  // A missing key or index gives a Null value.
  const Json& operator[](const std::string& key) const;
  const Json& operator[](std::size_t index) const;
  const std::string& Error() const { return m_error; }

 private:
  Type m_type = Type::Null;
  bool m_bool = false;
  double m_number = 0;
  std::string m_string;
  std::vector<Json> m_items;
  std::map<std::string, Json> m_members;
  std::string m_error;
  friend class JsonParser;
};

}  // namespace testing_support
