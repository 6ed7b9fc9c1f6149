// UTF-16 text helpers: conversion at the platform edge, case-insensitive
// comparison as the platform does it, and printf-style formatting with the
// patterns the system's texts use ("%s %d", "%d%%", "%02d:%02d").
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/win32/types.h"

namespace text {

// Invalid sequences become U+FFFD; nothing throws.
std::string ToUtf8(std::u16string_view s);
std::u16string FromUtf8(std::string_view s);
// Windows-1252, the system code page of the 8-bit forms of the data files.
std::u16string FromCp1252(std::string_view s);

// Length of a terminated UTF-16 text; 0 for null.
std::size_t Length(const char16_t* s);
// Copies at most capacity-1 units and terminates; returns the units copied.
std::size_t CopyTo(char16_t* dst, std::size_t capacity, std::u16string_view src);

char16_t ToLower(char16_t c);
char16_t ToUpper(char16_t c);
std::u16string ToLower(std::u16string_view s);
std::u16string ToUpper(std::u16string_view s);
// <0, 0, >0 like the platform's _wcsicmp.
int CompareNoCase(std::u16string_view a, std::u16string_view b);
bool EqualsNoCase(std::u16string_view a, std::u16string_view b);
bool EndsWithNoCase(std::u16string_view s, std::u16string_view suffix);
bool StartsWithNoCase(std::u16string_view s, std::u16string_view prefix);

std::u16string Trim(std::u16string_view s);
std::u16string FromInt(long long v);
// Digits of a decimal number with optional sign; false when there are none
// or the value overflows.
bool ParseInt(std::u16string_view s, long long* out);

// One argument of Format: numbers, one character, or a text.
using FormatArg = std::variant<long long, unsigned long long, double, char16_t, std::u16string_view>;

// printf-style: flags "-0+ #", width, precision, "*" not supported,
// conversions d i u x X o c s S f g e p %, length modifiers ignored.
// A missing argument formats as empty; a wrong type is converted sensibly.
std::u16string FormatV(std::u16string_view pattern, const std::vector<FormatArg>& args);

namespace detail {
inline FormatArg ToArg(int v) { return static_cast<long long>(v); }
inline FormatArg ToArg(long v) { return static_cast<long long>(v); }
inline FormatArg ToArg(long long v) { return v; }
inline FormatArg ToArg(unsigned v) { return static_cast<unsigned long long>(v); }
inline FormatArg ToArg(unsigned long v) { return static_cast<unsigned long long>(v); }
inline FormatArg ToArg(unsigned long long v) { return v; }
inline FormatArg ToArg(unsigned short v) { return static_cast<unsigned long long>(v); }
inline FormatArg ToArg(short v) { return static_cast<long long>(v); }
inline FormatArg ToArg(double v) { return v; }
inline FormatArg ToArg(char16_t v) { return v; }
inline FormatArg ToArg(const char16_t* v) { return std::u16string_view(v ? v : u""); }
inline FormatArg ToArg(const std::u16string& v) { return std::u16string_view(v); }
inline FormatArg ToArg(std::u16string_view v) { return v; }
}  // namespace detail

template <typename... Args>
std::u16string Format(std::u16string_view pattern, const Args&... args) {
  return FormatV(pattern, std::vector<FormatArg>{detail::ToArg(args)...});
}

}  // namespace text
