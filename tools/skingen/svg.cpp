#include "tools/skingen/svg.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <regex>

namespace skingen {

std::string Fmt(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string out(n > 0 ? static_cast<std::size_t>(n) : 0, '\0');
  if (n > 0) std::vsnprintf(out.data(), out.size() + 1, format, args);
  va_end(args);
  return out;
}

std::string Base64(std::string_view bytes) {
  static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const std::uint32_t v = (static_cast<std::uint8_t>(bytes[i]) << 16) |
                            (static_cast<std::uint8_t>(bytes[i + 1]) << 8) | static_cast<std::uint8_t>(bytes[i + 2]);
    out += kAlphabet[(v >> 18) & 63];
    out += kAlphabet[(v >> 12) & 63];
    out += kAlphabet[(v >> 6) & 63];
    out += kAlphabet[v & 63];
  }
  if (i < bytes.size()) {
    std::uint32_t v = static_cast<std::uint8_t>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) v |= static_cast<std::uint8_t>(bytes[i + 1]) << 8;
    out += kAlphabet[(v >> 18) & 63];
    out += kAlphabet[(v >> 12) & 63];
    out += i + 1 < bytes.size() ? kAlphabet[(v >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

std::string XmlEscape(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

namespace {

// The value of one attribute of a tag, or empty.
std::string Attribute(const std::string& tag, const char* name) {
  const std::regex re(std::string("\\s") + name + "\\s*=\\s*([\"'])([^\"']*)\\1");
  std::smatch m;
  return std::regex_search(tag, m, re) ? m[2].str() : std::string();
}

std::string RemoveAttribute(const std::string& tag, const char* name) {
  const std::regex re(std::string("\\s") + name + "\\s*=\\s*([\"'])[^\"']*\\1");
  return std::regex_replace(tag, re, "");
}

}  // namespace

bool SizeSvgDocument(std::string* document, int width, int height) {
  const std::size_t start = document->find("<svg");
  if (start == std::string::npos) return false;
  const std::size_t end = document->find('>', start);
  if (end == std::string::npos) return false;
  std::string tag = document->substr(start, end - start);  // without '>'
  const bool selfClosing = !tag.empty() && tag.back() == '/';
  if (selfClosing) tag.pop_back();
  std::string viewBox = Attribute(tag, "viewBox");
  if (viewBox.empty()) {
    const double w = std::atof(Attribute(tag, "width").c_str());
    const double h = std::atof(Attribute(tag, "height").c_str());
    if (w <= 0 || h <= 0) return false;
    viewBox = Fmt("0 0 %g %g", w, h);
  }
  tag = RemoveAttribute(tag, "width");
  tag = RemoveAttribute(tag, "height");
  tag = RemoveAttribute(tag, "viewBox");
  tag += Fmt(" width=\"%d\" height=\"%d\" viewBox=\"%s\"", width, height, viewBox.c_str());
  if (selfClosing) tag += '/';
  document->replace(start, end - start, tag);
  return true;
}

}  // namespace skingen
