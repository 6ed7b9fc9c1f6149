// Opening a device: the folder that holds a phone's file system, registry
// and data (DEVICE/fs, DEVICE/device.db, DEVICE/run for named objects).
//
// mivo calls OpenDevice(dir) once at start, before anything uses files or the
// registry: a device that does not exist yet is created and provisioned.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace device {

struct DeviceOptions {
  std::uint32_t seed = 1;    // provisioning: the same seed gives the same device
  std::string dataFolder;    // where the shipped files are; empty: found (ShippedDataFolders)
  bool provision = true;     // provision a new or unfinished device
  int screenHeight = 0;      // the screen's height at first start; picks the files made for VGA
                             // (480 or more) or smaller screens; 0 counts as 320
  bool importHostApps = true;  // provisioning makes shortcuts of the host's applications (XDG .desktop entries)
};

// Creates dir when missing, sets the device root (fs::SetDeviceRoot to
// dir/fs), opens dir/device.db and provisions the device when it has not
// been yet. False with a message for the user in *error (a damaged
// device.db is reported, never replaced).
bool OpenDevice(const std::string& dir, std::string* error, const DeviceOptions& options = {});
void CloseDevice();
const std::string& DeviceFolder();
// $XDG_DATA_HOME/mivo/device, else ~/.local/share/mivo/device.
std::string DefaultDeviceFolder();

// True once provisioning has completed on the open device.
bool IsProvisioned();
// Provisions the open device: folders, shipped files, sample files and
// personal data, shortcuts, registry defaults. Only what is missing is made, so running it
// again completes an interrupted provisioning. Messages about skipped
// shipped files go to *notes.
bool ProvisionDevice(const DeviceOptions& options, std::vector<std::string>* notes, std::string* error);
// The personal data of a new device (contacts, messages, calls, tasks,
// appointments, dated from the device's clock), in one transaction; each
// kind only when the device has none of it. ProvisionDevice calls it.
bool ProvisionSampleData(std::string* error);

// What the program ships into the device. source is relative to a data
// folder (a file, or a folder whose whole tree is copied); target is a device
// path. Later parts of the program add their lines in shipped_files.cpp.
// Some files are made for one kind of screen (the wallpapers are painted at
// the screen's size): those are installed only on a device of that kind.
enum class ShippedScreens { kAll, kBelowVga, kVga };
struct ShippedItem {
  const char* source;
  const char16_t* target;
  ShippedScreens screens = ShippedScreens::kAll;
};
const std::vector<ShippedItem>& ShippedItems();
// The data folders searched in order: options.dataFolder, $MIVO_DATA_DIR,
// the build's data folder, the source tree's data folder, and the installed
// share/mivo beside the program.
std::vector<std::string> ShippedDataFolders(const DeviceOptions& options);

// A program shortcut of a new device and the host command behind it.
struct ProgramEntry {
  const char16_t* shortcut;   // under "\Windows\Start Menu\Programs\", without ".lnk"
  const char16_t* program;    // device program path
  const char16_t* arguments;  // shortcut arguments
  const char* hostCommand;    // HKLM "Device\Host Programs" value for the program
};
const std::vector<ProgramEntry>& DefaultPrograms();

// Imports the host's applications (.desktop entries under the XDG data
// folders, or the given folders) as program shortcuts, each with its host
// command; returns how many were added.
int ImportHostApplications(const std::vector<std::string>& folders, std::vector<std::string>* added);

}  // namespace device
