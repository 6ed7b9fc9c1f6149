// device_test_helper DEVICE_DB COMMAND ARGS...
//   write-values PREFIX COUNT      sets HKCU\Test\Bulk PREFIX<n> = n for n < COUNT
//   set-dword KEY NAME VALUE       one value
//   churn-file HOSTFILE            rewrites HOSTFILE atomically without end (until killed)
//   churn-registry                 writes HKCU\Test\Churn values without end (until killed)
//   windows OUTFILE                records three top-level windows (captioned "Notes" and shown,
//                                  uncaptioned, hidden) and appends "front HWND" to OUTFILE for
//                                  each request to come forward; runs until killed
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/fs/device_path.h"
#include "platform/fs/file_io.h"
#include "platform/shell/kernel.h"
#include "platform/shell/process_windows.h"
#include "platform/registry/database.h"
#include "platform/registry/registry.h"
#include "platform/win32/text.h"

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  std::string error;
  if (!devdb::OpenDeviceDatabase(argv[1], devdb::OpenMode::kCreateIfMissing, &error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  std::string cmd = argv[2];
  if (cmd == "write-values" && argc == 5) {
    int count = std::atoi(argv[4]);
    for (int i = 0; i < count; ++i) {
      std::u16string name = text::FromUtf8(std::string(argv[3]) + std::to_string(i));
      if (!reg::SetDword(HKEY_CURRENT_USER, u"Test\\Bulk", name, static_cast<DWORD>(i))) return 1;
    }
    return 0;
  }
  if (cmd == "set-dword" && argc == 6) {
    return reg::SetDword(HKEY_CURRENT_USER, text::FromUtf8(argv[3]), text::FromUtf8(argv[4]),
                         static_cast<DWORD>(std::strtoul(argv[5], nullptr, 10)))
               ? 0
               : 1;
  }
  if (cmd == "churn-file" && argc == 4) {
    // Each version is one byte value repeated: a mix of two versions shows.
    for (unsigned n = 0;; ++n) {
      std::vector<char> bytes(200000 + (n % 7) * 1000, static_cast<char>('a' + n % 26));
      if (!fs::WriteHostFileAtomic(argv[3], bytes.data(), bytes.size())) return 1;
      if (n == 0) {
        std::printf("ready\n");
        std::fflush(stdout);
      }
    }
  }
  if (cmd == "windows" && argc == 4) {
    std::string dir = argv[1];
    dir = dir.substr(0, dir.rfind('/'));
    fs::SetDeviceRoot(dir + "/fs");
    shell::SetRunFolder(dir + "/run");
    static std::string out;
    out = argv[3];
    shell::StartForegroundListener([](std::uintptr_t hwnd) {
      if (FILE* f = std::fopen(out.c_str(), "a")) {
        std::fprintf(f, "front %lu\n", static_cast<unsigned long>(hwnd));
        std::fclose(f);
      }
    });
    shell::RecordWindow(0x30, u"NotesWnd", u"Notes", true);
    shell::RecordWindow(0x34, u"ToolWnd", u"", true);
    shell::RecordWindow(0x38, u"HiddenWnd", u"Hidden", false);
    for (;;) pause();
  }
  if (cmd == "churn-registry" && argc == 3) {
    for (DWORD n = 0;; ++n) {
      if (!reg::SetDword(HKEY_CURRENT_USER, u"Test\\Churn", u"A", n)) return 1;
      if (!reg::SetDword(HKEY_CURRENT_USER, u"Test\\Churn", u"B", n)) return 1;
      if (n == 0) {
        std::printf("ready\n");
        std::fflush(stdout);
      }
    }
  }
  return 2;
}
