// Where tests keep the devices they make. The suite makes devices all the
// time, and a device's files are synced to the disk as they are written; in
// memory (/dev/shm, when the machine has it) those syncs cost nothing. Each
// build tree has a folder of its own there, so the suites of several
// checkouts never meet; without /dev/shm the folder is under the build tree.
#pragma once

#include <filesystem>
#include <string>

namespace testing_support {

// The folder every test device of this build tree goes in.
std::filesystem::path ScratchRoot();

// A fresh, empty folder under ScratchRoot for one test's device (or device
// root); it is removed when the test process ends. Names must differ
// between tests that can run at the same time.
std::filesystem::path FreshScratchFolder(const std::string& name);

}  // namespace testing_support
