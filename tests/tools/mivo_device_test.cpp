#include <gtest/gtest.h>

#include <filesystem>

#include "tests/fs/temp_dir.h"
#include "tests/tools/run_tool.h"

using testing_support::ReadText;
using testing_support::RunMivoDevice;
using testing_support::TempDir;
using testing_support::WriteText;

namespace {

class MivoDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(Run({"init"}).code, 0); }
  // mivo-device on this test's device, or on another one.
  testing_support::ToolResult Run(std::vector<std::string> args, const std::string& device = "") {
    args.insert(args.begin(), {"--device", device.empty() ? dev() : device});
    return RunMivoDevice(args);
  }
  // Every one of these is a wrong usage: exit code 2, the usage on standard error, nothing on standard output.
  void ExpectUsageErrors(const std::vector<std::vector<std::string>>& wrong) {
    for (const auto& args : wrong) {
      const auto r = Run(args);
      EXPECT_EQ(r.code, 2) << testing::PrintToString(args);
      EXPECT_NE(r.err.find("usage:"), std::string::npos) << r.err;
      EXPECT_TRUE(r.out.empty()) << r.out;
    }
  }
  // Each command's --help: exit code 0 and its usage on standard output.
  void ExpectHelp(const std::vector<std::string>& commands) {
    for (const auto& cmd : commands) {
      const auto r = Run({cmd, "--help"});
      EXPECT_EQ(r.code, 0) << cmd;
      EXPECT_NE(r.out.find("usage:"), std::string::npos) << cmd;
    }
  }
  std::string dev() const { return dir / "dev"; }
  TempDir dir;
};

TEST_F(MivoDeviceTest, WrongUsageGivesTheUsageAndExitCodeTwo) {
  ExpectUsageErrors({{"frobnicate"}, {}, {"set", "battery", "101"}, {"set", "signal", "x"},
                     {"reg", "get", "HKXX\\a", "b"}, {"reg", "set", "HKCU\\a", "b", "qword", "1"},
                     {"reg", "set", "HKCU\\a", "b", "binary", "abc"}, {"launches", "zero"}, {"--bogus", "state"}});
  ExpectHelp({"state", "set", "reg", "wake", "launches", "init", "import-apps"});
}

TEST_F(MivoDeviceTest, RegistryValuesAreSetReadListedAndDeleted) {
  EXPECT_EQ(Run({"reg", "set", "HKCU\\Software\\mivo\\mivo", "DesktopsCount", "dword", "6"}).code, 0);
  EXPECT_EQ(Run({"reg", "set", "HKEY_CURRENT_USER\\Software\\mivo\\mivo", "SkinName", "sz", "Clear Horizon"}).code, 0);
  EXPECT_EQ(Run({"reg", "set", "HKCU\\Software\\mivo\\mivo", "Blob", "binary", "00ff10"}).code, 0);
  EXPECT_EQ(Run({"reg", "get", "hkcu\\software\\MIVO\\mivo", "desktopscount"}).out, "6\n");
  EXPECT_EQ(Run({"reg", "get", "HKCU\\Software\\mivo\\mivo", "SkinName"}).out, "Clear Horizon\n");
  auto list = Run({"reg", "list", "HKCU\\Software\\mivo\\mivo"});
  EXPECT_EQ(list.code, 0);
  EXPECT_NE(list.out.find("Blob (binary) = 00ff10"), std::string::npos) << list.out;
  EXPECT_NE(list.out.find("DesktopsCount (dword) = 6"), std::string::npos) << list.out;

  auto missing = Run({"reg", "get", "HKCU\\Software\\mivo\\mivo", "Nothing"});
  EXPECT_EQ(missing.code, 1);
  EXPECT_NE(missing.err.find("no value Nothing"), std::string::npos);
  EXPECT_EQ(Run({"reg", "delete", "HKCU\\Software\\mivo\\mivo", "SkinName"}).code, 0);
  EXPECT_EQ(Run({"reg", "get", "HKCU\\Software\\mivo\\mivo", "SkinName"}).code, 1);
  EXPECT_EQ(Run({"reg", "delete", "HKCU\\Software\\mivo"}).code, 0);
  EXPECT_EQ(Run({"reg", "get", "HKCU\\Software\\mivo\\mivo", "DesktopsCount"}).code, 1);
}

TEST_F(MivoDeviceTest, AnExportedBranchImportsBackIntoAnotherDevice) {
  ASSERT_EQ(Run({"reg", "set", "HKCU\\Software\\mivo\\mivo", "ThemeName", "sz", "Say \"hi\" \\ bye"}).code, 0);
  ASSERT_EQ(Run({"reg", "set", "HKCU\\Software\\mivo\\mivo\\DesktopIcons", "DesktopIcon1", "sz", "x"}).code, 0);
  ASSERT_EQ(Run({"reg", "set", "HKCU\\Software\\mivo\\mivo", "List", "multi", "a", "b"}).code, 0);
  ASSERT_EQ(Run({"reg", "set", "HKCU\\Software\\mivo\\mivo", "N", "dword", "4294967295"}).code, 0);
  std::string file = dir / "branch.reg";
  ASSERT_EQ(Run({"reg", "export", "HKCU\\Software\\mivo", file}).code, 0);
  std::string text = ReadText(file);
  EXPECT_EQ(text.rfind("Windows Registry Editor Version 5.00\n", 0), 0u);
  EXPECT_NE(text.find("\"N\"=dword:ffffffff"), std::string::npos) << text;
  EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\mivo\\mivo\\DesktopIcons]"), std::string::npos) << text;

  std::string other = dir / "other";
  ASSERT_EQ(Run({"init"}, other).code, 0);
  auto imported = Run({"reg", "import", file}, other);
  ASSERT_EQ(imported.code, 0) << imported.err;
  EXPECT_EQ(Run({"reg", "get", "HKCU\\Software\\mivo\\mivo", "ThemeName"}, other).out, "Say \"hi\" \\ bye\n");
  EXPECT_EQ(Run({"reg", "get", "HKCU\\Software\\mivo\\mivo", "List"}, other).out, "a\nb\n");
  EXPECT_EQ(Run({"reg", "get", "HKCU\\Software\\mivo\\mivo\\DesktopIcons", "DesktopIcon1"}, other).out, "x\n");

  WriteText(dir / "bad.reg", "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\X]\n\"a\"=dword:zz\n");
  auto bad = Run({"reg", "import", dir / "bad.reg"});
  EXPECT_EQ(bad.code, 1);
  EXPECT_NE(bad.err.find("line 4"), std::string::npos) << bad.err;
  WriteText(dir / "notreg.reg", "hello\n");
  EXPECT_EQ(Run({"reg", "import", dir / "notreg.reg"}).code, 1);
}

TEST_F(MivoDeviceTest, StateSettersWriteTheValuesTheSystemReads) {
  ASSERT_EQ(Run({"set", "battery", "87", "--ac"}).code, 0);
  // Flags 2 (on AC) in the low word; 87 - 19 in the high word.
  EXPECT_EQ(Run({"reg", "get", "HKLM\\System\\State\\Battery", "Main"}).out, std::to_string((68 << 16) | 2) + "\n");
  ASSERT_EQ(Run({"set", "battery", "3", "--no-ac"}).code, 0);
  EXPECT_EQ(Run({"reg", "get", "HKLM\\System\\State\\Battery", "Main"}).out, std::to_string(4 | 8) + "\n");
  ASSERT_EQ(Run({"set", "signal", "55"}).code, 0);
  ASSERT_EQ(Run({"set", "operator", "Vodafone CZ"}).code, 0);
  auto state = Run({"state"});
  ASSERT_EQ(state.code, 0);
  EXPECT_NE(state.out.find("\"Signal Strength Raw\" = 55"), std::string::npos) << state.out;
  EXPECT_NE(state.out.find("\"Current Operator Name\" = Vodafone CZ"), std::string::npos) << state.out;
  EXPECT_NE(state.out.find("simulated, 3%, AC offline"), std::string::npos) << state.out;
}

TEST_F(MivoDeviceTest, ADamagedDatabaseIsReportedAndNotOverwritten) {
  std::string db = dev() + "/device.db";
  std::filesystem::remove(db + "-wal");
  std::filesystem::remove(db + "-shm");
  std::string garbage(4096, '\x13');
  WriteText(db, garbage);
  for (auto args : std::vector<std::vector<std::string>>{{"state"}, {"reg", "get", "HKLM\\a", "b"}, {"init"}}) {
    auto r = Run(args);
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("damaged"), std::string::npos) << r.err;
  }
  EXPECT_EQ(ReadText(db), garbage);
  auto none = Run({"state"}, dir / "nowhere");
  EXPECT_EQ(none.code, 1);
  EXPECT_NE(none.err.find("no device"), std::string::npos);
}

TEST_F(MivoDeviceTest, TheSameSeedGivesTheSameDevice) {
  std::string a = dir / "a", b = dir / "b", c = dir / "c";
  ASSERT_EQ(Run({"init", "--seed", "7"}, a).code, 0);
  ASSERT_EQ(RunMivoDevice({"init", b, "--seed", "7"}).code, 0);
  ASSERT_EQ(RunMivoDevice({"init", c, "--seed", "8"}).code, 0);
  std::string pic = "/fs/My Documents/My Pictures/Meadow.jpg";
  EXPECT_EQ(ReadText(a + pic), ReadText(b + pic));
  EXPECT_NE(ReadText(a + pic), ReadText(c + pic));
  EXPECT_EQ(ReadText(a + pic).substr(0, 3), "\xFF\xD8\xFF");
  EXPECT_EQ(Run({"reg", "export", "HKLM", dir / "a.reg"}, a).code, 0);
  EXPECT_EQ(Run({"reg", "export", "HKLM", dir / "b.reg"}, b).code, 0);
  EXPECT_EQ(ReadText(dir / "a.reg"), ReadText(dir / "b.reg"));
  std::string lnk = ReadText(a + "/fs/Windows/Start Menu/Programs/Pocket Word.lnk");
  EXPECT_EQ(lnk, "20#\"\\Windows\\pword.exe\"");
  auto again = Run({"init"}, a);
  EXPECT_EQ(again.code, 0);
  EXPECT_NE(again.out.find("already a device"), std::string::npos);
}

TEST_F(MivoDeviceTest, HostApplicationsBecomeShortcuts) {
  WriteText(dir / "apps/org.example.Editor.desktop",
            "[Desktop Entry]\nType=Application\nName=Example Editor\nExec=example-editor --new %U\n");
  WriteText(dir / "apps/hidden.desktop", "[Desktop Entry]\nType=Application\nName=Hidden\nExec=h\nNoDisplay=true\n");
  auto r = Run({"import-apps", dir / "apps"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("1 programs imported"), std::string::npos) << r.out;
  EXPECT_EQ(ReadText(dev() + "/fs/Windows/Start Menu/Programs/Example Editor.lnk"),
            "44#\"\\Program Files\\Host\\org.example.Editor.exe\"");
  EXPECT_EQ(Run({"reg", "get", "HKLM\\Device\\Host Programs", "\\Program Files\\Host\\org.example.Editor.exe"}).out,
            "example-editor --new\n");
}

TEST_F(MivoDeviceTest, MessagesAndCallsArePlayedAsTheNetworkWould) {
  auto before = Run({"sms", "list"});
  ASSERT_EQ(before.code, 0) << before.err;
  auto r = Run({"sms", "receive", "Eva <+420 601 000 001>", "Přijdu v sedm", "--at", "2010-03-15 10:00"});
  ASSERT_EQ(r.code, 0) << r.err;
  auto sent = Run({"sms", "list", "Sent Items"});
  EXPECT_EQ(sent.code, 0);
  EXPECT_FALSE(sent.out.empty());
  auto inbox = Run({"sms", "list", "inbox"});
  EXPECT_NE(inbox.out.find("2010-03-15 10:00  unread  Eva <+420 601 000 001>: Přijdu v sedm"), std::string::npos)
      << inbox.out;
  EXPECT_EQ(Run({"reg", "get", "HKCU\\System\\State\\Messages\\SMS\\Unread", "Count"}).out, "4\n");
  EXPECT_EQ(Run({"sms", "fail-next"}).code, 0);
  EXPECT_EQ(Run({"sms", "receive", "+420 601 000 002", "the first name of receive"}).code, 0);

  EXPECT_EQ(Run({"call", "missed", "+420 603 111 222"}).code, 0);
  EXPECT_EQ(Run({"call", "incoming", "+420 601 000 001", "--name", "Eva", "--seconds", "75"}).code, 0);
  EXPECT_EQ(Run({"call", "outgoing", "+420 601 000 001", "--at", "2010-03-15 09:00", "--seconds", "5"}).code, 0);
  EXPECT_EQ(Run({"call", "missed", "private"}).code, 0);
  auto log = Run({"call", "log", "3"});
  EXPECT_NE(log.out.find("missed    Anna Nováková <+420 603 111 222>"), std::string::npos) << log.out;
  EXPECT_NE(log.out.find("incoming  Eva <+420 601 000 001>  1:15"), std::string::npos) << log.out;
  EXPECT_NE(log.out.find("missed    (private number)"), std::string::npos) << log.out;
  EXPECT_NE(Run({"call", "log", "1000"}).out.find("2010-03-15 09:00  outgoing  +420 601 000 001  0:05"),
            std::string::npos);
  EXPECT_EQ(Run({"reg", "get", "HKCU\\System\\State\\Phone", "Missed Call Count"}).out, "5\n");
  // An outgoing call is not the last caller.
  EXPECT_EQ(Run({"reg", "get", "HKLM\\System\\State\\Phone", "Last Incoming Caller Number"}).out, "\n");
  // The commands' old names stay: users' scripts still call them.
  for (const std::vector<std::string>& args : {std::vector<std::string>{"sms", "fail-next-send"},
                                              {"sms", "deliver", "+420 601 000 003", "old name"},
                                              {"call", "ring", "+420 601 000 004"},
                                              {"call", "miss", "+420 601 000 005"}}) {
    EXPECT_EQ(Run(args).code, 0) << args[1];
  }
  EXPECT_NE(Run({"sms", "list", "inbox"}).out.find("+420 601 000 003: old name"), std::string::npos);
  log = Run({"call", "log", "2"});
  EXPECT_NE(log.out.find("incoming  +420 601 000 004"), std::string::npos) << log.out;
  EXPECT_NE(log.out.find("missed    +420 601 000 005"), std::string::npos) << log.out;

  EXPECT_EQ(Run({"tasks", "add", "Water the plants", "--due", "tomorrow", "--high"}).code, 0);
  EXPECT_NE(Run({"tasks", "list"}).out.find("[ ] Water the plants"), std::string::npos);
  EXPECT_EQ(
      Run({"appointments", "add", "Cinema", "2010-03-20 20:15", "--minutes", "130", "--location", "Lucerna"}).code, 0);
  EXPECT_NE(Run({"appointments", "list"}).out.find("2010-03-20 20:15 - 22:25  Cinema (Lucerna)"), std::string::npos);

  ExpectUsageErrors({{"sms"}, {"sms", "send"}, {"sms", "receive", "+420 1"}, {"sms", "list", "Spam"},
                     {"sms", "receive", "+420 1", "x", "--at", "noon"}, {"call", "incoming"}, {"call", "incoming", ""},
                     {"call", "outgoing", "private"}, {"call", "missed", "nobody"},
                     {"call", "missed", "1", "--seconds", "4"}, {"call", "incoming", "1", "--at", "yesterdayish"},
                     {"call", "incoming", "1", "--seconds", "-4"}, {"call", "log", "x"}, {"contacts", "import"},
                     {"contacts", "export"}, {"tasks", "add", "x", "--due", "someday"},
                     {"tasks", "add", "x", "--high", "--low"},
                     {"appointments", "add", "x", "2010-03-20 20:00", "--end", "2010-03-20 19:00"},
                     {"appointments", "add", "x", "2010-03-20", "--all-day", "--minutes", "5"}});
  ExpectHelp({"sms", "call", "contacts", "tasks", "appointments"});
  EXPECT_EQ(Run({"sms", "receive", "", "x"}).code, 1);  // nobody sent it
}

TEST_F(MivoDeviceTest, ContactsAreImportedFromVCardsAndBadCardsAreNamed) {
  WriteText(dir / "people.vcf",
            "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Nová;Eva\r\nTEL;TYPE=CELL:+420 601 000 001\r\nEND:VCARD\r\n"
            "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Half Card\r\n");
  auto r = Run({"contacts", "import", dir / "people.vcf"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "1 contacts imported, 1 cards skipped\n");
  EXPECT_NE(r.err.find("line 6: card 2 (Half Card) has no END:VCARD; skipped"), std::string::npos) << r.err;
  auto list = Run({"contacts", "list"});
  EXPECT_NE(list.out.find("Eva Nová\n      mobile     +420 601 000 001"), std::string::npos) << list.out;
  auto missing = Run({"contacts", "import", dir / "nothing.vcf"});
  EXPECT_EQ(missing.code, 1);
  EXPECT_NE(missing.err.find("cannot read"), std::string::npos);

  // Every contact exported, pictures included, comes back whole on another device.
  auto exported = Run({"contacts", "export", dir / "all.vcf"});
  ASSERT_EQ(exported.code, 0) << exported.err;
  const auto other = dir / "other";
  ASSERT_EQ(Run({"init", "--seed", "3"}, other).code, 0);
  auto imported = Run({"contacts", "import", dir / "all.vcf"}, other);
  ASSERT_EQ(imported.code, 0) << imported.err;
  EXPECT_EQ(imported.err, "");
  EXPECT_NE(imported.out.find("1 contacts imported"), std::string::npos) << imported.out;  // only Eva is new there
  EXPECT_EQ(Run({"contacts", "list"}, other).out, Run({"contacts", "list"}).out);
  EXPECT_EQ(Run({"contacts", "export", dir / "no/such/folder/all.vcf"}).code, 1);
}

TEST_F(MivoDeviceTest, RadiosAreListedAndSwitched) {
  EXPECT_EQ(Run({"radio", "list"}).out,
            "wifi       off           Wi-Fi\n"
            "phone      on            Phone\n"
            "bluetooth  off           Bluetooth\n");
  EXPECT_EQ(Run({"radio", "bluetooth", "discoverable"}).code, 0);
  EXPECT_EQ(Run({"radio", "wifi", "on"}).code, 0);
  EXPECT_EQ(Run({"radio", "phone", "off"}).code, 0);
  EXPECT_EQ(Run({"radio", "list"}).out,
            "wifi       on            Wi-Fi\n"
            "phone      off           Phone\n"
            "bluetooth  discoverable  Bluetooth\n");
  // The phone's network went with its radio.
  EXPECT_EQ(Run({"reg", "get", "HKLM\\System\\State\\Phone", "Signal Strength Raw"}).out, "0\n");
}

TEST_F(MivoDeviceTest, VolumesAndTheSoundTypeAreSetAndPrinted) {
  auto r = Run({"volume", "system", "3", "ring", "5", "vibrate"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "system 3 (0x00007FFE)\nring 5\nsound vibrate\n");
  EXPECT_EQ(Run({"volume", "mute"}).out, "system 3 (0x00007FFE)\nring 5\nsound mute\n");
  EXPECT_EQ(Run({"volume"}).out, "system 3 (0x00007FFE)\nring 5\nsound mute\n");
  EXPECT_EQ(Run({"reg", "get", "HKCU\\ControlPanel\\SoundCategories\\Ring", "InitVol"}).out, "5\n");
}

TEST_F(MivoDeviceTest, WrongRadioAndVolumeUsageChangesNothing) {
  const std::string before = Run({"radio", "list"}).out + Run({"volume"}).out;
  ExpectUsageErrors({{"radio"}, {"radio", "wifi"}, {"radio", "modem", "on"}, {"radio", "phone", "standby"},
                     {"radio", "phone", "discoverable"}, {"radio", "wifi", "discoverable"}, {"volume", "system"},
                     {"volume", "system", "7"}, {"volume", "ring", "-1"}, {"volume", "ring", "2", "loud"},
                     {"volume", "system", "2", "ring"}});
  EXPECT_EQ(Run({"radio", "list"}).out + Run({"volume"}).out, before);
  ExpectHelp({"radio", "volume"});
}

TEST(MivoDeviceProvisioning, ANewDeviceImportsTheHostsApplicationsWithTheirIcons) {
  TempDir dir;
  WriteText(dir / "share/applications/org.example.Viewer.desktop",
            "[Desktop Entry]\nType=Application\nName=Example Viewer\nExec=example-viewer %f\n"
            "Icon=/usr/share/pixmaps/example-viewer.png\n");
  WriteText(dir / "share/applications/org.example.Shell.desktop",
            "[Desktop Entry]\nType=Application\nName=Shell\nExec=sh\nTerminal=true\n");
  // The host's XDG folders, for this provisioning only.
  const std::string saved = std::getenv("XDG_DATA_DIRS") ? std::getenv("XDG_DATA_DIRS") : "";
  setenv("XDG_DATA_DIRS", (dir / "share").c_str(), 1);
  const auto r = RunMivoDevice({"--device", dir / "dev", "init"});
  setenv("XDG_DATA_DIRS", saved.c_str(), 1);
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(ReadText(dir / "dev/fs/Windows/Start Menu/Programs/Example Viewer.lnk"),
            "44#\"\\Program Files\\Host\\org.example.Viewer.exe\"");
  EXPECT_FALSE(std::filesystem::exists(dir / "dev/fs/Windows/Start Menu/Programs/Shell.lnk"));
  const auto icon = RunMivoDevice({"--device", dir / "dev", "reg", "get", "HKLM\\Device\\Host Icons",
                                   "\\Program Files\\Host\\org.example.Viewer.exe"});
  EXPECT_EQ(icon.out, "/usr/share/pixmaps/example-viewer.png\n");
  // The control panel's applets are placed in their groups.
  EXPECT_EQ(RunMivoDevice({"--device", dir / "dev", "reg", "get", "HKLM\\ControlPanel\\Bluetooth", "Group"}).out,
            "2\n");
}

}  // namespace
