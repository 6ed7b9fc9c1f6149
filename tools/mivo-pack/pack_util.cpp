#include "tools/mivo-pack/pack_util.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <utility>

#include "platform/fs/file_io.h"
#include "platform/win32/errors.h"
#include "platform/win32/text.h"

namespace pack {

Args ParseArgs(const std::vector<std::string>& argv, const std::vector<std::string>& known) {
  Args args;
  for (std::size_t i = 0; i < argv.size(); ++i) {
    const std::string& a = argv[i];
    if (a.size() > 2 && a.rfind("--", 0) == 0) {
      const std::string name = a.substr(2);
      if (std::find(known.begin(), known.end(), name) == known.end()) {
        args.error = "unknown option " + a;
        return args;
      }
      if (i + 1 >= argv.size()) {
        args.error = "option " + a + " needs a value";
        return args;
      }
      args.options[name] = argv[++i];
    } else {
      args.positional.push_back(a);
    }
  }
  return args;
}

int FilesOnly(const std::vector<std::string>& argv, std::size_t count, const std::string& usage,
              std::vector<std::string>* files) {
  Args args = ParseArgs(argv, {});
  if (!args.error.empty()) return Usage(args.error);
  if (args.positional.size() != count) return Usage(usage);
  *files = std::move(args.positional);
  return kDone;
}

int Fail(const std::string& message, int code) {
  std::fprintf(stderr, "mivo-pack: %s\n", message.c_str());
  return code;
}

int Usage(const std::string& message) {
  std::fprintf(stderr, "mivo-pack: %s\nTry 'mivo-pack --help'.\n", message.c_str());
  return kUsage;
}

std::string LastErrorText() {
  switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND: return "file not found";
    case ERROR_PATH_NOT_FOUND: return "folder not found";
    case ERROR_ACCESS_DENIED: return "access denied";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return "the disk is full";
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS: return "it exists already";
    case ERROR_DIRECTORY: return "it is a folder";
    default: return "error " + std::to_string(GetLastError());
  }
}

bool ReadFile(const std::string& path, std::vector<std::uint8_t>* bytes, std::string* error) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    *error = "cannot read " + path + ": it is a folder";
    return false;
  }
  if (fs::ReadHostFile(path, bytes)) return true;
  *error = "cannot read " + path + ": " + LastErrorText();
  return false;
}

bool WriteFile(const std::string& path, std::span<const std::uint8_t> bytes, std::string* error) {
  if (fs::WriteHostFileAtomic(path, bytes.data(), bytes.size())) return true;
  *error = "cannot write " + path + ": " + LastErrorText();
  return false;
}

bool ParseNumber(const std::string& s, std::uint32_t* value) {
  if (s.empty()) return false;
  try {
    std::size_t used = 0;
    const unsigned long long v = std::stoull(s, &used, 0);
    if (used != s.size() || v > 0xFFFFFFFFull || s[0] == '-') return false;
    *value = static_cast<std::uint32_t>(v);
    return true;
  } catch (...) {
    return false;
  }
}

bool ParseColor(const std::string& s, COLORREF* color) {
  if (s.size() == 7 && s[0] == '#') {
    std::uint32_t rgb = 0;
    for (std::size_t i = 1; i < 7; ++i)
      if (!std::isxdigit(static_cast<unsigned char>(s[i]))) return false;
    rgb = static_cast<std::uint32_t>(std::stoul(s.substr(1), nullptr, 16));
    *color = RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    return true;
  }
  if (std::count(s.begin(), s.end(), ',') == 2) {
    std::uint32_t part[3];
    std::size_t start = 0;
    for (int i = 0; i < 3; ++i) {
      const std::size_t end = i < 2 ? s.find(',', start) : s.size();
      if (!ParseNumber(s.substr(start, end - start), &part[i]) || part[i] > 255) return false;
      start = end + 1;
    }
    *color = RGB(part[0], part[1], part[2]);
    return true;
  }
  if (s.rfind("0x", 0) == 0 || s.rfind("0X", 0) == 0) return ParseNumber(s, color);
  return false;
}

std::string ColorText(COLORREF c) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
  std::string text = buffer;
  if (c >> 24) {
    std::snprintf(buffer, sizeof buffer, "0x%08X", c);
    text += std::string(" (") + buffer + ")";
  }
  return text;
}

std::string U8(std::u16string_view s) { return text::ToUtf8(s); }
std::u16string U16(const std::string& s) { return text::FromUtf8(s); }

std::string Extension(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

}  // namespace pack
