// What the mivo-pack commands share: arguments, host files, colours, messages.
#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "platform/win32/types.h"

namespace pack {

// Exit codes of every command.
constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

// Positional arguments and "--name value" options of one command.
struct Args {
  std::vector<std::string> positional;
  std::map<std::string, std::string> options;
  std::string error;  // set when an option lacks its value or is unknown
};

// Splits argv; `known` lists the options the command takes (all take a value).
Args ParseArgs(const std::vector<std::string>& argv, const std::vector<std::string>& known);

// A command that takes only files: exactly `count` of them and no options.
// kDone with them in *files; else the usage is printed and its code returned.
int FilesOnly(const std::vector<std::string>& argv, std::size_t count, const std::string& usage,
              std::vector<std::string>* files);

// Prints "mivo-pack: message" on standard error and returns the code.
int Fail(const std::string& message, int code = kFailed);
int Usage(const std::string& message);

// The last platform error in words ("file not found").
std::string LastErrorText();

bool ReadFile(const std::string& path, std::vector<std::uint8_t>* bytes, std::string* error);
bool WriteFile(const std::string& path, std::span<const std::uint8_t> bytes, std::string* error);

// "#RRGGBB", "R,G,B" or "0x00BBGGRR" (a raw COLORREF).
bool ParseColor(const std::string& s, COLORREF* color);
// "#RRGGBB" of a COLORREF.
std::string ColorText(COLORREF color);
bool ParseNumber(const std::string& s, std::uint32_t* value);

std::string U8(std::u16string_view s);
std::u16string U16(const std::string& s);

// The host file's extension, lower case, with the dot (".msk").
std::string Extension(const std::string& path);

}  // namespace pack
