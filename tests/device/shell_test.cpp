#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/device/device.h"
#include "platform/registry/registry.h"
#include "platform/shell/kernel.h"
#include "platform/shell/launch.h"
#include "platform/shell/process_windows.h"
#include "platform/shell/shortcut.h"
#include "platform/shell/special_folders.h"
#include "platform/win32/errors.h"
#include "platform/win32/text.h"
#include "tests/device/device_fixture.h"
#include "tests/fs/temp_dir.h"
#include "tests/tools/run_tool.h"

using testing_support::ReadText;
using testing_support::TempDir;
using testing_support::WriteText;

namespace {

using ShellTest = devicetest::DeviceTest;

TEST(Shortcuts, ReadTheirLengthPrefixedFormWithoutTrustingTheLength) {
  shell::Shortcut s;
  ASSERT_TRUE(shell::ParseShortcut("35#\"\\Program Files\\Notes\\notes.exe\" -n\r\n", &s));
  EXPECT_EQ(s.target, u"\\Program Files\\Notes\\notes.exe");
  EXPECT_EQ(s.arguments, u"-n");
  ASSERT_TRUE(shell::ParseShortcut("99#\\Windows\\calc.exe", &s));  // wrong count: ignored
  EXPECT_EQ(s.target, u"\\Windows\\calc.exe");
  EXPECT_TRUE(s.arguments.empty());
  ASSERT_TRUE(shell::ParseShortcut("5#\\Caf\xE9.exe", &s));  // Windows-1252
  EXPECT_EQ(s.target, u"\\Caf\u00E9.exe");
  EXPECT_FALSE(shell::ParseShortcut("no hash here", &s));
  EXPECT_FALSE(shell::ParseShortcut("1x#\\a.exe", &s));
  EXPECT_FALSE(shell::ParseShortcut("3#", &s));
  EXPECT_EQ(shell::FormatShortcut({u"\\Windows\\pword.exe", u"-new"}), "25#\"\\Windows\\pword.exe\" -new");
}

TEST_F(ShellTest, SpecialFoldersAndShortcutHelpersUseDevicePaths) {
  char16_t path[MAX_PATH];
  ASSERT_TRUE(SHGetSpecialFolderPath(nullptr, path, CSIDL_PROGRAMS, FALSE));
  EXPECT_EQ(std::u16string(path), u"\\Windows\\Start Menu\\Programs");
  ASSERT_TRUE(SHGetSpecialFolderPath(nullptr, path, CSIDL_MYMUSIC, TRUE));
  EXPECT_FALSE(SHGetSpecialFolderPath(nullptr, path, 0x7777, FALSE));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

  ASSERT_TRUE(SHCreateShortcut(u"\\Windows\\Start Menu\\Programs\\Word.lnk", u"\"\\Windows\\pword.exe\" -new"));
  char16_t target[64];
  ASSERT_TRUE(SHGetShortcutTarget(u"\\windows\\start menu\\programs\\word.lnk", target, 64));
  EXPECT_EQ(std::u16string(target), u"\\Windows\\pword.exe -new");
  EXPECT_FALSE(SHGetShortcutTarget(u"\\windows\\start menu\\programs\\word.lnk", target, 5));
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
}

TEST_F(ShellTest, LaunchesResolveThroughHostProgramsAndAreRecorded) {
  std::string marker = dir / "started.txt";
  // A host "program" that leaves its arguments in a file.
  WriteText(dir / "prog.sh", "#!/bin/sh\necho \"$@\" > '" + marker + "'\n");
  std::filesystem::permissions(dir / "prog.sh", std::filesystem::perms::owner_all);
  ASSERT_TRUE(reg::SetString(HKEY_LOCAL_MACHINE, u"Device\\Host Programs", u"pword.exe", text::FromUtf8(dir / "prog.sh") + u" --writer"));
  ASSERT_TRUE(reg::SetString(HKEY_LOCAL_MACHINE, u"Device\\Host Programs", u".txt", text::FromUtf8(dir / "prog.sh") + u" open %1"));

  SHELLEXECUTEINFO info;
  info.lpVerb = u"Open";
  info.lpFile = u"\\Windows\\Start Menu\\Programs\\Pocket Word.lnk";
  info.lpParameters = u"\"my file.doc\"";
  info.fMask = SEE_MASK_NOCLOSEPROCESS;
  ASSERT_TRUE(ShellExecuteEx(&info)) << GetLastError();
  ASSERT_NE(info.hProcess, nullptr);
  EXPECT_EQ(WaitForSingleObject(info.hProcess, 5000), WAIT_OBJECT_0);
  CloseHandle(info.hProcess);
  EXPECT_EQ(ReadText(marker), "--writer my file.doc\n");

  PROCESS_INFORMATION pi;
  char16_t cmd[] = u"\"\\My Documents\\Welcome.txt\"";
  ASSERT_TRUE(CreateProcessW(nullptr, cmd, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &pi));
  EXPECT_EQ(WaitForSingleObject(pi.hProcess, 5000), WAIT_OBJECT_0);
  CloseHandle(pi.hProcess);
  EXPECT_EQ(ReadText(marker), "open " + (dir / "dev") + "/fs/My Documents/Welcome.txt\n");

  // What maps to nothing fails with the platform's errors.
  info = SHELLEXECUTEINFO{};
  info.lpFile = u"nosuch.exe";
  EXPECT_FALSE(ShellExecuteEx(&info));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  info.lpFile = u"\\My Documents\\Business\\Budget.xls";
  ASSERT_TRUE(reg::Delete(HKEY_LOCAL_MACHINE, u"Device\\Host Programs", u".xls"));
  EXPECT_FALSE(ShellExecuteEx(&info));
  EXPECT_EQ(GetLastError(), ERROR_NO_ASSOCIATION);
  info.lpFile = u"\\My Documents\\missing.txt";
  EXPECT_FALSE(ShellExecuteEx(&info));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  ASSERT_TRUE(reg::SetString(HKEY_LOCAL_MACHINE, u"Device\\Host Programs", u"calc.exe", u"/no/such/program"));
  info.lpFile = u"calc.exe";
  EXPECT_FALSE(ShellExecuteEx(&info));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);

  auto launches = shell::RecentLaunches(10);
  ASSERT_EQ(launches.size(), 6u);
  EXPECT_EQ(launches[5].file, u"\\Windows\\Start Menu\\Programs\\Pocket Word.lnk");
  EXPECT_EQ(launches[5].error, 0u);
  EXPECT_GT(launches[5].pid, 0);
  EXPECT_EQ(launches[0].file, u"calc.exe");
  EXPECT_EQ(launches[0].error, ERROR_FILE_NOT_FOUND);
  auto listed = testing_support::RunMivoDevice({"--device", dir / "dev", "launches"});
  EXPECT_EQ(listed.code, 0);
  EXPECT_NE(listed.out.find("calc.exe  failed: The system cannot find the file specified."), std::string::npos) << listed.out;
}

TEST_F(ShellTest, StartedProgramsAppearAsWindowsOfOtherProcessesWhileTheyRun) {
  ASSERT_TRUE(reg::SetString(HKEY_LOCAL_MACHINE, u"Device\\Host Programs", u"calc.exe", u"sleep 30"));
  PROCESS_INFORMATION pi;
  ASSERT_TRUE(CreateProcessW(u"\\Windows\\calc.exe", nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &pi));
  shell::RecordWindow(0x10, u"CMainFrame", u"mivo 2.3 beta 4", true);  // our own: not listed
  auto windows = shell::ListOtherWindows();
  ASSERT_EQ(windows.size(), 1u);
  EXPECT_EQ(windows[0].caption, u"calc");
  EXPECT_EQ(windows[0].pid, static_cast<int>(pi.dwProcessId));
  EXPECT_TRUE(windows[0].hostProgram);
  DWORD code = 0;
  ASSERT_TRUE(GetExitCodeProcess(pi.hProcess, &code));
  EXPECT_EQ(code, STILL_ACTIVE);
  EXPECT_EQ(WaitForSingleObject(pi.hProcess, 0), WAIT_TIMEOUT);
  kill(static_cast<pid_t>(pi.dwProcessId), SIGKILL);
  EXPECT_EQ(WaitForSingleObject(pi.hProcess, 5000), WAIT_OBJECT_0);
  EXPECT_TRUE(shell::ListOtherWindows().empty());
  CloseHandle(pi.hProcess);
  EXPECT_FALSE(CloseHandle(pi.hProcess));
}

TEST(HostCommands, SplitLikeAShellWithoutRunningOne) {
  EXPECT_EQ(shell::SplitHostCommand("a 'b c' \"d \\\" e\" f\\ g ''"),
            (std::vector<std::string>{"a", "b c", "d \" e", "f g", ""}));
  EXPECT_EQ(shell::SplitHostCommand("  x;rm -rf /  "), (std::vector<std::string>{"x;rm", "-rf", "/"}));
}

}  // namespace
