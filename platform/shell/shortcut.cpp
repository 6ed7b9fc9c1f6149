#include "platform/shell/shortcut.h"

#include <cstring>
#include <vector>

#include "platform/fs/file_io.h"
#include "platform/win32/errors.h"
#include "platform/win32/text.h"

namespace shell {

namespace {

bool IsValidUtf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    int extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0) return false;
    for (int k = 1; k <= extra; ++k)
      if (i + k >= s.size() || (static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += static_cast<std::size_t>(extra) + 1;
  }
  return true;
}

std::u16string Decode(std::string_view bytes) {
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE) {
    std::u16string out;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
      out +=
          static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
    return out;
  }
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  return IsValidUtf8(bytes) ? text::FromUtf8(bytes) : text::FromCp1252(bytes);
}

}  // namespace

void SplitCommandLine(std::u16string_view line, std::u16string* program, std::u16string* rest) {
  std::size_t i = 0;
  while (i < line.size() && line[i] == u' ') ++i;
  std::u16string prog;
  if (i < line.size() && line[i] == u'"') {
    auto close = line.find(u'"', i + 1);
    if (close == std::u16string_view::npos) close = line.size();
    prog = std::u16string(line.substr(i + 1, close - i - 1));
    i = close + 1;
  } else {
    auto space = line.find(u' ', i);
    if (space == std::u16string_view::npos) space = line.size();
    prog = std::u16string(line.substr(i, space - i));
    i = space;
  }
  while (i < line.size() && line[i] == u' ') ++i;
  std::u16string tail(i < line.size() ? line.substr(i) : std::u16string_view());
  while (!tail.empty() && tail.back() == u' ') tail.pop_back();
  if (program) *program = prog;
  if (rest) *rest = tail;
}

bool ParseShortcut(std::string_view bytes, Shortcut* out) {
  std::u16string all = Decode(bytes);
  auto hash = all.find(u'#');
  if (hash == std::u16string::npos) return false;
  for (std::size_t i = 0; i < hash; ++i)
    if (all[i] < u'0' || all[i] > u'9') return false;
  std::u16string line = all.substr(hash + 1);
  auto eol = line.find_first_of(u"\r\n");
  if (eol != std::u16string::npos) line.resize(eol);
  Shortcut s;
  SplitCommandLine(line, &s.target, &s.arguments);
  if (s.target.empty()) return false;
  if (out) *out = s;
  return true;
}

std::string FormatShortcut(const Shortcut& shortcut) {
  std::u16string line = u"\"" + shortcut.target + u"\"";
  if (!shortcut.arguments.empty()) line += u" " + shortcut.arguments;
  return std::to_string(line.size()) + "#" + text::ToUtf8(line);
}

bool ReadShortcut(std::u16string_view devicePath, Shortcut* out) {
  std::vector<std::uint8_t> bytes;
  if (!fs::ReadFile(devicePath, &bytes)) return false;
  if (!ParseShortcut(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), out)) {
    SetLastError(ERROR_BAD_FORMAT);
    return false;
  }
  return true;
}

bool WriteShortcut(std::u16string_view devicePath, const Shortcut& shortcut) {
  std::string s = FormatShortcut(shortcut);
  return fs::WriteFileAtomic(devicePath, std::vector<std::uint8_t>(s.begin(), s.end()));
}

}  // namespace shell

BOOL SHCreateShortcut(LPCWSTR shortcut, LPCWSTR target) {
  if (!shortcut || !target) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  shell::Shortcut s;
  shell::SplitCommandLine(target, &s.target, &s.arguments);
  if (s.target.empty()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return shell::WriteShortcut(shortcut, s);
}

BOOL SHGetShortcutTarget(LPCWSTR shortcut, LPWSTR target, int chars) {
  if (!shortcut || !target || chars <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  shell::Shortcut s;
  if (!shell::ReadShortcut(shortcut, &s)) return FALSE;
  std::u16string line = s.target.find(u' ') != std::u16string::npos ? u"\"" + s.target + u"\"" : s.target;
  if (!s.arguments.empty()) line += u" " + s.arguments;
  if (line.size() + 1 > static_cast<std::size_t>(chars)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  std::memcpy(target, line.c_str(), (line.size() + 1) * sizeof(char16_t));
  return TRUE;
}
