// mivo-device as the phone network and the owner's other devices: text
// messages, calls, contacts, tasks and appointments. Each returns the exit
// code (0 done, 1 failed, 2 wrong usage) and writes errors to standard error.
#pragma once

#include <string>
#include <vector>

namespace pimtool {

// The lines of the general usage these commands add.
extern const char* const kUsageLines;

int Sms(const std::vector<std::string>& args);
int Call(const std::vector<std::string>& args);
int Contacts(const std::vector<std::string>& args);
int Tasks(const std::vector<std::string>& args);
int Appointments(const std::vector<std::string>& args);

}  // namespace pimtool
