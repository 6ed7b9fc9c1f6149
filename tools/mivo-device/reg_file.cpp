#include "tools/mivo-device/reg_file.h"

#include <cstdio>
#include <vector>

#include "platform/registry/registry.h"
#include "platform/win32/errors.h"
#include "platform/win32/text.h"

namespace regfile {

namespace {

std::string Quote(const std::u16string& s) {
  std::string out = "\"";
  for (char c : text::ToUtf8(s)) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

std::string Hex(const std::string& bytes) {
  std::string out;
  char buf[4];
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(buf, sizeof buf, "%02x", static_cast<unsigned char>(bytes[i]));
    if (i) out += ',';
    out += buf;
  }
  return out;
}

bool ExportKey(HKEY root, const std::u16string& subKey, std::string* out) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  *out += "\n[" + text::ToUtf8(reg::RootName(root)) + (subKey.empty() ? "" : "\\" + text::ToUtf8(subKey)) + "]\n";
  for (DWORD i = 0;; ++i) {
    char16_t name[16384];
    DWORD len = 16384, type = 0, size = 0;
    if (RegEnumValueW(key, i, name, &len, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
    reg::Value v;
    if (!reg::Get(root, subKey, name, &v)) continue;
    std::string line = len == 0 ? "@" : Quote(name);
    DWORD dw;
    if (v.type == REG_SZ) {
      line += "=" + Quote(reg::AsString(v));
    } else if (v.type == REG_DWORD && reg::AsDword(v, &dw)) {
      char buf[16];
      std::snprintf(buf, sizeof buf, "%08x", dw);
      line += std::string("=dword:") + buf;
    } else if (v.type == REG_BINARY) {
      line += "=hex:" + Hex(v.data);
    } else {
      line += "=hex(" + std::to_string(v.type) + "):" + Hex(v.data);
    }
    *out += line + "\n";
  }
  std::vector<std::u16string> children;
  for (DWORD i = 0;; ++i) {
    char16_t name[512];
    DWORD len = 512;
    if (RegEnumKeyExW(key, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    children.push_back(name);
  }
  RegCloseKey(key);
  for (const auto& c : children) ExportKey(root, subKey.empty() ? c : subKey + u"\\" + c, out);
  return true;
}

std::u16string Decode(const std::string& bytes) {
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE) {
    std::u16string s;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
      s +=
          static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
    return s;
  }
  std::string_view v(bytes);
  if (v.substr(0, 3) == "\xEF\xBB\xBF") v.remove_prefix(3);
  return text::FromUtf8(v);
}

// Reads a quoted string at pos; pos ends after the closing quote.
bool ReadQuoted(const std::u16string& line, std::size_t* pos, std::u16string* out) {
  if (*pos >= line.size() || line[*pos] != u'"') return false;
  out->clear();
  for (std::size_t i = *pos + 1; i < line.size(); ++i) {
    if (line[i] == u'\\' && i + 1 < line.size()) {
      *out += line[++i];
    } else if (line[i] == u'"') {
      *pos = i + 1;
      return true;
    } else {
      *out += line[i];
    }
  }
  return false;
}

bool ParseHex(std::u16string_view s, std::string* out) {
  out->clear();
  std::string digits;
  for (char16_t c : s) {
    if (c == u',' || c == u' ' || c == u'\\' || c == u'\t') continue;
    if (!std::isxdigit(c < 128 ? static_cast<int>(c) : 0)) return false;
    digits += static_cast<char>(c);
  }
  if (digits.size() % 2) return false;
  for (std::size_t i = 0; i < digits.size(); i += 2)
    out->push_back(static_cast<char>(std::stoi(digits.substr(i, 2), nullptr, 16)));
  return true;
}

}  // namespace

bool Export(HKEY root, const std::u16string& subKey, std::string* textOut, std::string* error) {
  std::string out = "Windows Registry Editor Version 5.00\n";
  if (!ExportKey(root, subKey, &out)) {
    *error = "no such key: " + text::ToUtf8(reg::RootName(root)) + "\\" + text::ToUtf8(subKey);
    return false;
  }
  *textOut = out;
  return true;
}

bool Import(const std::string& bytes, int* changes, std::string* error) {
  std::u16string all = Decode(bytes);
  // Lines ending in "\" continue on the next line (long hex values).
  std::vector<std::pair<int, std::u16string>> lines;
  int number = 0;
  std::u16string pending;
  int pendingLine = 0;
  std::size_t start = 0;
  while (start <= all.size()) {
    std::size_t end = all.find(u'\n', start);
    if (end == std::u16string::npos) end = all.size();
    std::u16string line = all.substr(start, end - start);
    ++number;
    if (!line.empty() && line.back() == u'\r') line.pop_back();
    if (pending.empty()) pendingLine = number;
    std::u16string trimmed = text::Trim(line);
    bool continues = !trimmed.empty() && trimmed.back() == u'\\' &&
                     (!pending.empty() || trimmed.find(u"=hex") != std::u16string::npos);
    if (continues) {
      pending += trimmed.substr(0, trimmed.size() - 1);
    } else {
      lines.emplace_back(pendingLine, pending + trimmed);
      pending.clear();
    }
    start = end + 1;
  }
  auto fault = [&](int line, const std::string& what) {
    *error = "line " + std::to_string(line) + ": " + what;
    return false;
  };
  if (lines.empty() || (lines[0].second != u"Windows Registry Editor Version 5.00" && lines[0].second != u"REGEDIT4"))
    return fault(1, "not a registry file (it must start with \"Windows Registry Editor Version 5.00\")");
  HKEY root = nullptr;
  std::u16string key;
  bool haveKey = false;
  *changes = 0;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    auto& [n, line] = lines[i];
    if (line.empty() || line[0] == u';') continue;
    if (line[0] == u'[') {
      if (line.back() != u']') return fault(n, "a key line must end with \"]\"");
      bool remove = line.size() > 1 && line[1] == u'-';
      std::u16string path = line.substr(remove ? 2 : 1, line.size() - (remove ? 3 : 2));
      if (!reg::ParseKeyPath(path, &root, &key)) return fault(n, "unknown root in " + text::ToUtf8(path));
      if (remove) {
        LONG r = RegDeleteKeyW(root, key.c_str());
        if (r != ERROR_SUCCESS && r != ERROR_FILE_NOT_FOUND) return fault(n, "cannot delete the key");
        haveKey = false;
        ++*changes;
      } else {
        HKEY h = nullptr;
        if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr) != ERROR_SUCCESS)
          return fault(n, "cannot create the key");
        RegCloseKey(h);
        haveKey = true;
      }
      continue;
    }
    if (!haveKey) return fault(n, "a value before any key");
    std::u16string name;
    std::size_t pos = 0;
    if (line[0] == u'@') {
      pos = 1;
    } else if (!ReadQuoted(line, &pos, &name)) {
      return fault(n, "a value name must be quoted");
    }
    if (pos >= line.size() || line[pos] != u'=') return fault(n, "\"=\" expected after the value name");
    std::u16string data = line.substr(pos + 1);
    reg::Value v;
    if (data == u"-") {
      reg::Delete(root, key, name);
      ++*changes;
      continue;
    }
    if (!data.empty() && data[0] == u'"') {
      std::size_t p = 0;
      std::u16string s;
      if (!ReadQuoted(data, &p, &s) || p != data.size()) return fault(n, "a text value must be one quoted string");
      v = reg::StringValue(s);
    } else if (text::StartsWithNoCase(data, u"dword:")) {
      std::u16string digits = data.substr(6);
      if (digits.empty() || digits.size() > 8) return fault(n, "a dword needs 1 to 8 hex digits");
      for (char16_t c : digits)
        if (c > 127 || !std::isxdigit(static_cast<int>(c))) return fault(n, "a dword needs 1 to 8 hex digits");
      v = reg::DwordValue(static_cast<DWORD>(std::stoul(text::ToUtf8(digits), nullptr, 16)));
    } else if (text::StartsWithNoCase(data, u"hex:")) {
      std::string bytes;
      if (!ParseHex(data.substr(4), &bytes)) return fault(n, "bad hex bytes");
      v = reg::BinaryValue(bytes);
    } else if (text::StartsWithNoCase(data, u"hex(")) {
      auto close = data.find(u"):");
      if (close == std::u16string::npos) return fault(n, "hex(N): expected");
      std::string bytes;
      long type = std::strtol(text::ToUtf8(data.substr(4, close - 4)).c_str(), nullptr, 16);
      if (!ParseHex(data.substr(close + 2), &bytes)) return fault(n, "bad hex bytes");
      v = reg::Value{static_cast<DWORD>(type), bytes};
    } else {
      return fault(n, "unknown value form: " + text::ToUtf8(data));
    }
    if (!reg::Set(root, key, name, v)) return fault(n, "cannot write the value");
    ++*changes;
  }
  return true;
}

}  // namespace regfile
