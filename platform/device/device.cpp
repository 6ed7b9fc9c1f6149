#include "platform/device/device.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <map>

#include <jpeglib.h>

#include "platform/device/control_panel.h"
#include "platform/device/power.h"
#include "platform/device/sample_people.h"
#include "platform/fs/device_path.h"
#include "platform/fs/file_io.h"
#include "platform/fs/files.h"
#include "platform/registry/database.h"
#include "platform/registry/registry.h"
#include "platform/shell/kernel.h"
#include "platform/shell/shortcut.h"
#include "platform/shell/special_folders.h"
#include "platform/win32/errors.h"
#include "platform/win32/file_defs.h"
#include "platform/win32/format_message.h"
#include "platform/win32/text.h"

namespace device {

namespace {

std::string g_folder;

constexpr char16_t kDeviceKey[] = u"Software\\mivo\\Device";
constexpr char16_t kHostPrograms[] = u"Device\\Host Programs";
constexpr char16_t kHostIcons[] = u"Device\\Host Icons";

// Makes one of the device's folders (and the folders above it); false with a
// message that says what stands in the way.
bool MakeDeviceFolder(const std::string& path, const std::string& what, std::string* error) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return true;
  if (std::filesystem::exists(std::filesystem::symlink_status(path, ec))) {
    if (error) *error = what + " " + path + " is a file, not a folder";
    return false;
  }
  std::filesystem::create_directories(path, ec);
  if (std::filesystem::is_directory(path)) return true;
  if (error) *error = "cannot create " + what + " " + path + (ec ? ": " + ec.message() : std::string());
  return false;
}

// The device is written at every start: a folder (or a database) that
// cannot be written is said so, not left to fail later under another name.
bool CheckWritable(const std::string& path, const std::string& what, std::string* error) {
  if (faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0 || errno == ENOENT) return true;
  if (error) *error = what + " " + path + " cannot be written (" + std::strerror(errno) + ")";
  return false;
}

// A small deterministic generator, so a seed gives the same pictures anywhere.
struct Random {
  std::uint32_t state;
  std::uint32_t Next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
  }
  int Range(int lo, int hi) { return lo + static_cast<int>(Next() % static_cast<std::uint32_t>(hi - lo + 1)); }
};

// A sample photo: a sky gradient, a sun and hills, colours from the seed.
// What depends on the row alone (the sky) or the column alone (the hills'
// outline) is worked out once per row or column, not once per pixel.
// Into rgb, which the pictures of a device share: a fresh picture's worth of memory each time was
// more of the drawing's time than the drawing.
void MakePicture(Random& rnd, int w, int h, std::vector<std::uint8_t>& rgb) {
  rgb.resize(static_cast<std::size_t>(w) * h * 3);
  int skyR = rnd.Range(20, 120), skyG = rnd.Range(60, 160), skyB = rnd.Range(150, 255);
  int sunX = rnd.Range(w / 5, 4 * w / 5), sunY = rnd.Range(h / 8, h / 3), sunR = rnd.Range(h / 12, h / 6);
  int hillR = rnd.Range(30, 120), hillG = rnd.Range(100, 200), hillB = rnd.Range(20, 90);
  double phase = rnd.Range(0, 628) / 100.0, amp = rnd.Range(h / 20, h / 8);
  std::vector<double> hills(static_cast<std::size_t>(w));
  for (int x = 0; x < w; ++x)
    hills[x] = h * 0.65 + amp * std::sin(phase + x * 6.28 / w) + amp * 0.5 * std::sin(phase * 2 + x * 15.0 / w);
  auto byte = [](int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); };
  for (int y = 0; y < h; ++y) {
    const double t = static_cast<double>(y) / h;
    const int skyRowR = static_cast<int>(skyR + (255 - skyR) * t * 0.6);
    const int skyRowG = static_cast<int>(skyG + (255 - skyG) * t * 0.5);
    const int dy = y - sunY;
    std::uint8_t* p = &rgb[static_cast<std::size_t>(y) * w * 3];
    for (int x = 0; x < w; ++x, p += 3) {
      int r = skyRowR, g = skyRowG, b = skyB;
      const int dx = x - sunX;
      if (dx * dx + dy * dy < sunR * sunR) r = 255, g = 230, b = 120;
      const double hill = hills[x];
      if (y > hill) {
        double shade = 1.0 - (y - hill) / (h - hill + 1) * 0.5;
        r = static_cast<int>(hillR * shade), g = static_cast<int>(hillG * shade), b = static_cast<int>(hillB * shade);
      }
      p[0] = byte(r);
      p[1] = byte(g);
      p[2] = byte(b);
    }
  }
}

std::vector<std::uint8_t> EncodeJpeg(const std::vector<std::uint8_t>& rgb, int w, int h) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &out, &size);
  cinfo.image_width = static_cast<JDIMENSION>(w);
  cinfo.image_height = static_cast<JDIMENSION>(h);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 85, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(&rgb[static_cast<std::size_t>(cinfo.next_scanline) * w * 3]);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  std::vector<std::uint8_t> bytes(out, out + size);
  jpeg_destroy_compress(&cinfo);
  std::free(out);
  return bytes;
}

bool Exists(std::u16string_view devicePath) { return GetFileAttributesW(std::u16string(devicePath).c_str()) != INVALID_FILE_ATTRIBUTES; }

bool WriteIfMissing(std::u16string_view devicePath, const std::string& content) {
  if (Exists(devicePath)) return true;
  return fs::WriteFileAtomic(devicePath, std::vector<std::uint8_t>(content.begin(), content.end()));
}

// Copies a host file or tree into the device, leaving what is there. The folder the target goes
// into is made first unless the caller has just made it (a tree's files).
bool CopyIn(const std::string& source, std::u16string_view target, bool folderMade = false) {
  std::error_code ec;
  if (std::filesystem::is_directory(source, ec)) {
    if (!fs::CreateDirectories(target)) return false;
    std::vector<std::string> names;
    for (auto& e : std::filesystem::directory_iterator(source, ec)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    for (const auto& name : names)
      if (!CopyIn(source + "/" + name, fs::JoinPath(target, text::FromUtf8(name)), true)) return false;
    return true;
  }
  if (!folderMade && !fs::CreateDirectories(fs::ParentPath(target))) return false;
  if (Exists(target)) return true;
  std::vector<std::uint8_t> bytes;
  return fs::ReadHostFile(source, &bytes) && fs::WriteFileAtomic(target, bytes);
}

// A new device's database starts as a copy of the empty one the build made: its fifty tables,
// triggers and indexes take longer to make than the rest of the database's first opening. Without
// one of this program's schema nothing is copied and the schema is made as the database opens.
void StartDatabaseFromTemplate(const std::string& databasePath, const DeviceOptions& options) {
  struct stat st;
  if (::lstat(databasePath.c_str(), &st) == 0 || errno != ENOENT) return;
  for (const std::string& folder : ShippedDataFolders(options)) {
    std::vector<std::uint8_t> bytes;
    if (!fs::ReadHostFile(folder + "/empty-device.db", &bytes)) continue;
    if (devdb::IsEmptyDatabaseOfThisSchema(bytes)) fs::WriteHostFileAtomic(databasePath, bytes.data(), bytes.size());
    return;
  }
}

void SetDwordIfMissing(HKEY root, const char16_t* key, const char16_t* name, DWORD value) {
  reg::Value v;
  if (!reg::Get(root, key, name, &v)) reg::SetDword(root, key, name, value);
}

void SetStringIfMissing(HKEY root, const char16_t* key, const char16_t* name, std::u16string_view value) {
  reg::Value v;
  if (!reg::Get(root, key, name, &v)) reg::SetString(root, key, name, value);
}

}  // namespace

std::string DefaultDeviceFolder() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg && *xdg) return std::string(xdg) + "/mivo/device";
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : ".") + "/.local/share/mivo/device";
}

const std::string& DeviceFolder() { return g_folder; }

std::vector<std::string> ShippedDataFolders(const DeviceOptions& options) {
  std::vector<std::string> folders;
  if (!options.dataFolder.empty()) folders.push_back(options.dataFolder);
  if (const char* env = std::getenv("MIVO_DATA_DIR"); env && *env) folders.push_back(env);
#ifdef MIVO_BUILD_DATA_DIR
  folders.push_back(MIVO_BUILD_DATA_DIR);
#endif
#ifdef MIVO_SOURCE_DATA_DIR
  folders.push_back(MIVO_SOURCE_DATA_DIR);
#endif
  char exe[4096];
  ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  if (n > 0) {
    exe[n] = 0;
    std::filesystem::path p(exe);
    folders.push_back((p.parent_path().parent_path() / "share" / "mivo").string());
  }
  return folders;
}

bool IsProvisioned() {
  DWORD v = 0;
  return reg::GetDword(HKEY_LOCAL_MACHINE, kDeviceKey, u"Provisioned", &v) && v == 1;
}

bool ProvisionDevice(const DeviceOptions& options, std::vector<std::string>* notes, std::string* error) {
  auto fail = [&](const std::string& what) {
    if (error) *error = "cannot provision the device: " + what;
    return false;
  };
  // Every file is written whole and renamed into place, so a kill leaves no
  // half-written file, and the lot is synced once at the end, before the
  // marker that says the device is complete: a kill or a power loss before
  // the marker means the next start provisions again, completing what is missing.
  fs::DurableBatch batch;
  // A new device is some three hundred files in a few dozen folders, each folder listed once.
  fs::ListingScope listings;

  // Folders.
  static const char16_t* const kFolders[] = {
      u"\\Windows", u"\\Windows\\Start Menu\\Programs\\Games", u"\\Windows\\Desktop", u"\\Windows\\Favorites",
      u"\\Windows\\StartUp", u"\\Windows\\Fonts", u"\\Windows\\Recent", u"\\My Documents\\My Pictures",
      u"\\My Documents\\My Music", u"\\My Documents\\My Videos", u"\\My Documents\\Templates",
      u"\\My Documents\\Personal", u"\\My Documents\\Business", u"\\Application Data\\Contact Pictures", u"\\Temp",
      u"\\Program Files\\mivo\\Skins", u"\\Program Files\\mivo\\ColorThemes", u"\\Program Files\\mivo\\Wallpapers",
      u"\\Program Files\\mivo\\Languages", u"\\Program Files\\mivo\\UserWallpaper",
      u"\\Program Files\\mivo\\GadgetPlugins"};
  for (const char16_t* f : kFolders)
    if (!fs::CreateDirectories(f)) return fail("folder " + text::ToUtf8(f));

  // The sample pictures and the contacts' portraits follow from the seed alone: they are drawn,
  // compressed and written on a thread of their own while this one writes the registry and the
  // rows, and made durable on their own before the thread ends. Only what is missing is drawn.
  std::future<std::string> picturing = std::async(std::launch::async | std::launch::deferred, [seed = options.seed] {
    fs::DurableBatch written;
    fs::ListingScope listings;
    Random rnd{seed * 2654435761u + 12345u};
    if (rnd.state == 0) rnd.state = 1;
    static const char16_t* const kPictures[] = {u"Sunrise.jpg", u"Meadow.jpg", u"Hills.jpg", u"Evening.jpg"};
    std::vector<std::uint8_t> rgb;
    for (const char16_t* name : kPictures) {
      // Drawn even when it is there: each picture continues the one sequence.
      MakePicture(rnd, 640, 480, rgb);
      const std::u16string path = fs::JoinPath(u"\\My Documents\\My Pictures", name);
      if (!Exists(path) && !fs::WriteFileAtomic(path, EncodeJpeg(rgb, 640, 480))) return std::string("sample picture");
    }
    constexpr int kPortrait = 96;
    for (int i = 0, count = SampleContactCount(); i < count; ++i) {
      const std::u16string path = SampleContactPicturePath(i);
      if (path.empty() || Exists(path)) continue;
      // Each portrait follows from the seed and its contact alone, so a provisioning completed after a
      // kill writes the very pictures an uninterrupted one would.
      const std::uint32_t look = seed * 2654435761u + 977u * static_cast<std::uint32_t>(i + 1);
      if (!fs::WriteFileAtomic(path, EncodeJpeg(MakePortrait(look, kPortrait), kPortrait, kPortrait)))
        return std::string("sample contact picture");
    }
    if (!written.Sync())
      return "the files cannot be written to the disk: " + text::ToUtf8(SystemErrorText(GetLastError()));
    return std::string();
  });

  // What the program ships, copied on another thread while this one writes the registry and the
  // samples: a new device is mostly the making of files and rows, which two cores do side by side.
  // The copies are made durable on their own before the thread ends.
  struct Shipped {
    std::string error;               // empty: all copied
    std::vector<std::string> notes;  // what the build has not made
  };
  std::future<Shipped> shipping = std::async(std::launch::async | std::launch::deferred, [&options] {
    Shipped result;
    fs::DurableBatch copies;
    fs::ListingScope listings;
    const std::vector<std::string> dataFolders = ShippedDataFolders(options);
    const bool vga = options.screenHeight >= 480;
    for (const ShippedItem& item : ShippedItems()) {
      if ((item.screens == ShippedScreens::kVga && !vga) || (item.screens == ShippedScreens::kBelowVga && vga))
        continue;
      std::string found;
      for (const auto& dir : dataFolders) {
        std::error_code ec;
        if (std::filesystem::exists(dir + "/" + item.source, ec)) {
          found = dir + "/" + item.source;
          break;
        }
      }
      if (found.empty()) {
        result.notes.push_back(std::string("not shipped yet: ") + item.source);
        continue;
      }
      if (!CopyIn(found, item.target)) {
        result.error = "installing " + std::string(item.source);
        return result;
      }
    }
    if (!copies.Sync())
      result.error = "the files cannot be written to the disk: " + text::ToUtf8(SystemErrorText(GetLastError()));
    return result;
  });

  // The programs, the control panel, the state values and the Today item are a few hundred registry
  // values: written in one transaction, not a commit each (most of their time otherwise).
  std::string failedStep;
  auto failed = [&failedStep](const char* what) {
    failedStep = what;
    return false;
  };
  devdb::Database* db = devdb::DeviceDatabase();
  if (!db) return fail("no device is open");
  const bool registryWritten = db->Transaction([&] {
    // Programs: shortcuts and their host commands.
    for (const ProgramEntry& p : DefaultPrograms()) {
      std::u16string lnk = u"\\Windows\\Start Menu\\Programs\\" + std::u16string(p.shortcut) + u".lnk";
      if (!Exists(lnk) && !shell::WriteShortcut(lnk, shell::Shortcut{p.program, p.arguments}))
        return failed("shortcut");
      SetStringIfMissing(HKEY_LOCAL_MACHINE, kHostPrograms, fs::FileNamePart(p.program).c_str(),
                         text::FromUtf8(p.hostCommand));
    }
    // The control panel's applets: their groups and the host's settings for them.
    if (!WriteControlPanelRegistry() || !reg::SetDword(HKEY_LOCAL_MACHINE, kDeviceKey, u"ControlPanel", 1))
      return failed("the control panel's registry");
    // The host's own applications, so that the programs list has them from the start.
    if (options.importHostApps) ImportHostApplications({}, nullptr);
    for (const char16_t* ext : {u".txt", u".doc", u".xls", u".pdf", u".jpg", u".jpeg", u".png", u".gif", u".bmp",
                                u".htm", u".html", u".mp3", u".wav", u".wma", u".pwi"})
      SetStringIfMissing(HKEY_LOCAL_MACHINE, kHostPrograms, ext, u"xdg-open %1");

    // State values with their usual starting readings.
    SetDwordIfMissing(HKEY_LOCAL_MACHINE, u"System\\State\\Phone", u"Signal Strength Raw", 80);
    SetStringIfMissing(HKEY_LOCAL_MACHINE, u"System\\State\\Phone", u"Current Operator Name", u"mivo mobile");
    SetDwordIfMissing(HKEY_CURRENT_USER, u"System\\State\\Phone", u"Missed Call Count", 0);
    SetDwordIfMissing(HKEY_CURRENT_USER, u"System\\State\\Messages\\SMS\\Unread", u"Count", 0);
    SetDwordIfMissing(HKEY_CURRENT_USER, u"System\\State\\Messages\\MMS\\Unread", u"Count", 0);
    SetDwordIfMissing(HKEY_CURRENT_USER, u"System\\State\\Messages\\TotalEmail\\Unread", u"Count", 0);
    SetDwordIfMissing(HKEY_CURRENT_USER, u"System\\State\\Tasks", u"Active", 0);
    SetDwordIfMissing(HKEY_LOCAL_MACHINE, u"System\\State\\Connections\\Bluetooth", u"Count", 0);
    SetDwordIfMissing(HKEY_CURRENT_USER, u"ControlPanel\\SoundCategories\\Ring", u"InitVol", 4);
    // A full battery to start with; the launcher reads the real source at start
    // (the host's battery may differ from run to run, a new device must not).
    SetDwordIfMissing(HKEY_LOCAL_MACHINE, u"System\\State\\Battery", u"Main", 81u << 16);

    // The Today plug-in that ships, registered as the platform registers its
    // items (the key's name in double quotes), and the owner it shows.
    constexpr char16_t kOwnerInfoItem[] = u"Software\\Microsoft\\Today\\Items\\\"Owner Info\"";
    SetStringIfMissing(HKEY_LOCAL_MACHINE, kOwnerInfoItem, u"DLL",
                       u"\\Program Files\\mivo\\TodayPlugins\\ownerinfo.so");
    SetDwordIfMissing(HKEY_LOCAL_MACHINE, kOwnerInfoItem, u"Type", 4);
    SetDwordIfMissing(HKEY_LOCAL_MACHINE, kOwnerInfoItem, u"Enabled", 1);
    SetDwordIfMissing(HKEY_LOCAL_MACHINE, kOwnerInfoItem, u"Order", 0);
    SetStringIfMissing(HKEY_CURRENT_USER, u"ControlPanel\\Owner", u"Name", u"Alex Sample");
    SetStringIfMissing(HKEY_CURRENT_USER, u"ControlPanel\\Owner", u"Company", u"Sample & Co.");
    SetStringIfMissing(HKEY_CURRENT_USER, u"ControlPanel\\Owner", u"Telephone", u"+49 30 1234567");
    SetStringIfMissing(HKEY_CURRENT_USER, u"ControlPanel\\Owner", u"E-mail", u"alex@example.com");
    return true;
  });
  if (!registryWritten) return fail(failedStep.empty() ? "the registry cannot be written" : failedStep);

  // Sample documents.
  if (!WriteIfMissing(u"\\My Documents\\Welcome.txt",
                      "Welcome to your mivo device.\n\nThis folder is the device's \"My Documents\". Files you put in "
                      "the device folder's fs/ directory on the host appear here.\n") ||
      !WriteIfMissing(u"\\My Documents\\Personal\\Shopping list.txt", "Milk\nBread\nApples\n") ||
      !WriteIfMissing(u"\\My Documents\\Business\\Report.doc", "Quarterly report (sample document)\n") ||
      !WriteIfMissing(u"\\My Documents\\Business\\Budget.xls", "Item,Amount\nRent,1200\nPower,90\n") ||
      !WriteIfMissing(u"\\My Documents\\Templates\\Memo.doc", "Memo template (sample document)\n")) {
    return fail("sample documents");
  }

  // Contacts, messages, calls, tasks and appointments.
  if (!ProvisionSampleData(error)) return false;

  if (const std::string failedPictures = picturing.get(); !failedPictures.empty()) return fail(failedPictures);
  Shipped shipped = shipping.get();
  if (notes) notes->insert(notes->end(), shipped.notes.begin(), shipped.notes.end());
  if (!shipped.error.empty()) return fail(shipped.error);
  if (!batch.Sync())
    return fail("the files cannot be written to the disk: " + text::ToUtf8(SystemErrorText(GetLastError())));
  if (!reg::SetDword(HKEY_LOCAL_MACHINE, kDeviceKey, u"Seed", options.seed) ||
      !reg::SetDword(HKEY_LOCAL_MACHINE, kDeviceKey, u"Provisioned", 1)) {
    return fail("the registry cannot be written");
  }
  return true;
}

bool OpenDevice(const std::string& dirIn, std::string* error, const DeviceOptions& options) {
  std::string dir = dirIn;
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  if (!MakeDeviceFolder(dir, "the device folder", error) ||
      !MakeDeviceFolder(dir + "/fs", "the device's file system folder", error) ||
      !MakeDeviceFolder(dir + "/run", "the device's folder of named events and locks", error) ||
      !CheckWritable(dir, "the device folder", error) || !CheckWritable(dir + "/fs", "the device folder", error) ||
      !CheckWritable(dir + "/run", "the device folder", error) ||
      !CheckWritable(dir + "/device.db", "the device database", error)) {
    return false;
  }
  char real[4096];
  if (realpath(dir.c_str(), real)) dir = real;
  CloseDevice();
  fs::SetDeviceRoot(dir + "/fs");
  // What writers killed on the way left behind (their temporary files) goes
  // before anything reads the device.
  fs::RemoveStaleTemporaryFiles(dir + "/fs");
  shell::SetRunFolder(dir + "/run");
  StartDatabaseFromTemplate(dir + "/device.db", options);
  if (!devdb::OpenDeviceDatabase(dir + "/device.db", devdb::OpenMode::kCreateIfMissing, error)) return false;
  g_folder = dir;
  RegisterControlPanel();
  if (options.provision && !IsProvisioned()) {
    std::vector<std::string> notes;
    if (!ProvisionDevice(options, &notes, error)) return false;
  }
  // A device made before its control panel came gets the applets' registry
  // once (later, a value the user removed stays removed).
  DWORD written = 0;
  if (IsProvisioned() && !reg::GetDword(HKEY_LOCAL_MACHINE, kDeviceKey, u"ControlPanel", &written)) {
    if (WriteControlPanelRegistry()) reg::SetDword(HKEY_LOCAL_MACHINE, kDeviceKey, u"ControlPanel", 1);
  }
  return true;
}

void CloseDevice() {
  devdb::CloseDeviceDatabase();
  g_folder.clear();
}

int ImportHostApplications(const std::vector<std::string>& foldersIn, std::vector<std::string>* added) {
  std::vector<std::string> folders = foldersIn;
  if (folders.empty()) {
    const char* home = std::getenv("XDG_DATA_HOME");
    const char* homeDir = std::getenv("HOME");
    folders.push_back(home && *home ? std::string(home) + "/applications"
                                    : std::string(homeDir ? homeDir : ".") + "/.local/share/applications");
    const char* dirs = std::getenv("XDG_DATA_DIRS");
    std::string all = dirs && *dirs ? dirs : "/usr/local/share:/usr/share";
    std::size_t start = 0;
    while (start <= all.size()) {
      std::size_t end = all.find(':', start);
      if (end == std::string::npos) end = all.size();
      if (end > start) folders.push_back(all.substr(start, end - start) + "/applications");
      start = end + 1;
    }
  }
  std::map<std::string, std::string> seen;  // desktop id -> file, first folder wins
  for (const auto& folder : folders) {
    std::error_code ec;
    for (auto& e : std::filesystem::directory_iterator(folder, ec)) {
      std::string id = e.path().filename().string();
      if (e.path().extension() == ".desktop" && !seen.count(id)) seen[id] = e.path().string();
    }
  }
  int count = 0;
  for (const auto& [id, file] : seen) {
    std::ifstream in(file);
    std::string line, name, exec, type, icon;
    bool inEntry = false, hidden = false;
    while (std::getline(in, line)) {
      if (!line.empty() && line[0] == '[') {
        inEntry = line == "[Desktop Entry]";
        continue;
      }
      if (!inEntry) continue;
      auto eq = line.find('=');
      if (eq == std::string::npos) continue;
      std::string k = line.substr(0, eq), v = line.substr(eq + 1);
      if (k == "Name") name = v;
      else if (k == "Exec") exec = v;
      else if (k == "Type") type = v;
      else if (k == "Icon") icon = v;
      else if ((k == "NoDisplay" || k == "Hidden") && v == "true") hidden = true;
      else if (k == "Terminal" && v == "true") hidden = true;
    }
    if (hidden || type != "Application" || name.empty() || exec.empty()) continue;
    // Field codes (%f, %U, ...) have no meaning here; "%%" is a percent sign.
    std::string command;
    for (std::size_t i = 0; i < exec.size(); ++i) {
      if (exec[i] == '%' && i + 1 < exec.size()) {
        if (exec[i + 1] == '%') command += '%';
        ++i;
        continue;
      }
      command += exec[i];
    }
    while (!command.empty() && command.back() == ' ') command.pop_back();
    std::string stem = id.substr(0, id.size() - 8);
    std::u16string program = u"\\Program Files\\Host\\" + text::FromUtf8(stem) + u".exe";
    std::u16string safeName;
    for (char16_t c : text::FromUtf8(name)) safeName += (c == u'\\' || c == u'/' || c == u':' || c == u'*' || c == u'?' || c == u'"' || c == u'<' || c == u'>' || c == u'|') ? u'_' : c;
    std::u16string lnk = u"\\Windows\\Start Menu\\Programs\\" + safeName + u".lnk";
    if (Exists(lnk)) continue;
    if (!shell::WriteShortcut(lnk, shell::Shortcut{program, u""})) continue;
    reg::SetString(HKEY_LOCAL_MACHINE, kHostPrograms, program, text::FromUtf8(command));
    // The entry's icon (a theme name or a host file) is the program's.
    if (!icon.empty()) reg::SetString(HKEY_LOCAL_MACHINE, kHostIcons, program, text::FromUtf8(icon));
    if (added) added->push_back(name);
    ++count;
  }
  return count;
}

}  // namespace device
