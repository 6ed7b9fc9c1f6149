// The default skins: every image name the program asks for has a picture
// in both skins, at the size chosen for where it is drawn, and the build
// makes the same packages every time.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <utility>

#include "look/skin.h"
#include "platform/imaging/imaging.h"
#include "ships_util.h"

namespace {

using namespace ships;

// Every name the program asks the skin for, as the image name list gives
// them, plus the desktop icon of a desktop whose icon was never chosen.
// (Once the pages and gadgets exist, a run that visits them all adds the
// names they ask for; a name missing here then fails the test below.)
const std::vector<std::string>& AskedNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> n = {
        "message_box_yes", "message_box_no",
        "listbox_item_expand", "listbox_item_collapse", "listbox_item_help", "listbox_end",
        "listbox_end_horizontal", "listbox_scroll_bar_ball", "listbox_small_contact_list_end_horizontal",
        "about_page", "actions_history_page", "battery_info_page", "calendar_page", "call_log_page",
        "call_log_all_page", "call_log_incoming_page", "call_log_missed_page", "call_log_outgoing_page",
        "contacts_page", "explore_root_page", "faq_page", "favorites_page", "help_page", "memory_info_page",
        "office_page", "programs_page", "running_apps_page", "settings_page", "settings_connections_page",
        "settings_personal_page", "settings_system_page", "settings_mivo_page", "sms_page", "system_info_page",
        "exit",
        "calendar_new_appointment", "calendar_this_month", "calendar_this_week", "calendar_today",
        "calendar_tommorow", "help_tutorial", "make_a_call", "small_phone", "view_contact_details", "write_email",
        "new_sms", "office_excel", "office_messaging", "office_notes", "office_tasks", "office_word",
        "copy_to_clipboard", "desktop_add", "favorites_add", "favorites_remove", "view_contact_outlook_details",
        "write_sms", "file_copy", "file_create_folder", "file_cut", "file_delete", "file_paste", "file_rename",
        "custom_color",
        "call_assistant", "call_business", "call_car", "call_home", "call_mobile", "call_radio", "go_to_url",
        "contact_list_no_photo",
        "call_log_incoming", "call_log_missed", "call_log_outgoing",
        "sms_background", "sms_call_button", "sms_next_button", "sms_prev_button", "sms_reply_button",
        "sms_deleted", "sms_drafts", "sms_incoming", "sms_outbox", "sms_sent",
        "office_task", "office_task_complete", "office_task_complete_high_priority", "office_task_high_priority",
        "keypad_button_back", "keypad_button_clear",
        "volume_mute", "volume_phone", "volume_system", "volume_vibrate",
        "gadget_alarm", "gadget_alarm_big", "gadget_alarm_big_disabled", "gadget_alarm_disabled", "gadget_battery",
        "gadget_battery_ac", "gadget_bluetooth", "gadget_bluetooth_discoverable", "gadget_bluetooth_off",
        "gadget_bluetooth_on", "gadget_clock_am", "gadget_clock_pm", "gadget_clock_divider",
        "gadget_desktop_switcher_bk_active", "gadget_desktop_switcher_bk_inactive",
        "gadget_desktop_switcher_bk_none", "gadget_favorites", "gadget_last_incoming_call", "gadget_memory",
        "gadget_memory_small", "gadget_missed_calls", "gadget_phone_off", "gadget_phone_on",
        "gadget_signal_strength", "gadget_sms_detail_panel", "gadget_tasks", "gadget_unread_emails",
        "gadget_unread_mms", "gadget_unread_sms", "gadget_volume", "gadget_wifi_off", "gadget_wifi_on",
        "gadget_desktop_default_wallpaper", "start_emblem"};
    for (int d = 0; d <= 9; ++d) {
      n.push_back("keypad_button_" + std::to_string(d));
      n.push_back("gadget_clock_" + std::to_string(d));
    }
    return n;
  }();
  return names;
}

// The size chosen for each picture at display scale 1.
SIZE ChosenSize(const std::string& name) {
  static const std::map<std::string, SIZE> exact = {
      {"message_box_yes", {96, 48}}, {"message_box_no", {96, 48}},
      {"listbox_item_expand", {25, 25}}, {"listbox_item_collapse", {25, 25}}, {"listbox_item_help", {25, 25}},
      {"listbox_end", {16, 16}}, {"listbox_end_horizontal", {180, 10}}, {"listbox_scroll_bar_ball", {12, 12}},
      {"listbox_small_contact_list_end_horizontal", {120, 8}},
      {"small_phone", {24, 24}}, {"sms_background", {160, 120}}, {"start_emblem", {20, 20}},
      {"sms_call_button", {53, 42}}, {"sms_next_button", {53, 42}}, {"sms_prev_button", {53, 42}},
      {"sms_reply_button", {53, 42}},
      {"volume_mute", {32, 32}}, {"volume_vibrate", {32, 32}}, {"volume_phone", {30, 30}}, {"volume_system", {30, 30}},
      {"gadget_clock_am", {40, 24}}, {"gadget_clock_pm", {40, 24}}, {"gadget_clock_divider", {16, 72}},
      {"gadget_desktop_switcher_bk_active", {48, 60}}, {"gadget_desktop_switcher_bk_inactive", {48, 60}},
      {"gadget_desktop_switcher_bk_none", {48, 60}},
      // The small status icons beside their 20-point text.
      {"gadget_alarm", {32, 32}}, {"gadget_alarm_disabled", {32, 32}}, {"gadget_battery", {32, 32}},
      {"gadget_battery_ac", {32, 32}}, {"gadget_bluetooth", {32, 32}}, {"gadget_bluetooth_discoverable", {32, 32}},
      {"gadget_bluetooth_off", {32, 32}}, {"gadget_bluetooth_on", {32, 32}}, {"gadget_memory_small", {32, 32}},
      {"gadget_phone_off", {32, 32}}, {"gadget_phone_on", {32, 32}}, {"gadget_signal_strength", {32, 32}},
      {"gadget_wifi_off", {32, 32}}, {"gadget_wifi_on", {32, 32}}};
  if (auto it = exact.find(name); it != exact.end()) return it->second;
  if (name.rfind("keypad_button_", 0) == 0) return {58, 37};
  if (name.rfind("gadget_clock_", 0) == 0) return {48, 72};
  // Page, action, context-menu, row and large gadget icons: 48 square, which
  // is what the desktop icon chooser offers.
  return {48, 48};
}

struct LoadedSkin {
  mivoPackageHeader header;
  PackageFiles files;
  mivoSkin skin;
};

const LoadedSkin& Skin(int scale) {
  static LoadedSkin skins[2];
  static bool loaded[2] = {false, false};
  LoadedSkin& s = skins[scale - 1];
  if (!std::exchange(loaded[scale - 1], true)) {
    EXPECT_EQ(ReadPackage(ReadHost(SkinPackage(scale)), &s.header, &s.files), mivoPackageStatus::kOk);
    const auto msk = s.files.files.find(SkinName(scale) + ".msk");
    if (msk != s.files.files.end()) {
      EXPECT_TRUE(s.skin.ReadFrom(msk->second)) << "the skin file reads to its end";
    }
  }
  return s;
}

imaging::Picture Picture(int scale, const std::string& name) {
  imaging::Picture picture;
  const LoadedSkin& s = Skin(scale);
  const mivoSkinImage* image = s.skin.FindImage(text::FromUtf8(name));
  if (!image) return picture;
  const auto file = s.files.files.find(text::ToUtf8(image->File));
  if (file != s.files.files.end()) imaging::DecodePicture(file->second.data(), file->second.size(), &picture);
  return picture;
}

class EachSkin : public ::testing::TestWithParam<int> {};

TEST_P(EachSkin, HoldsExactlyTheAskedNamesEachWithADecodablePictureOfItsChosenSize) {
  const int scale = GetParam();
  const LoadedSkin& s = Skin(scale);
  EXPECT_EQ(s.header.PackageType, kPackageSkin);
  EXPECT_EQ(text::ToUtf8(s.header.PackageName), SkinName(scale));
  std::set<std::u16string> names;
  for (const auto& image : s.skin.Images) {
    EXPECT_TRUE(names.insert(image->Name).second) << text::ToUtf8(image->Name) << " twice";
    EXPECT_TRUE(s.files.files.count(text::ToUtf8(image->File))) << text::ToUtf8(image->File) << " is not in the package";
  }
  EXPECT_EQ(names.size(), AskedNames().size()) << "the skin holds exactly the asked names";
  for (const std::string& name : AskedNames()) {
    SCOPED_TRACE(name);
    const mivoSkinImage* image = s.skin.FindImage(text::FromUtf8(name));
    ASSERT_NE(image, nullptr) << "the skin file lists the name";
    EXPECT_FALSE(image->File.empty());
    EXPECT_FALSE(image->File.starts_with(u"\\")) << "pictures are inside the skin folder";
    EXPECT_EQ(image->TransparentColor, 0u);
    const imaging::Picture picture = Picture(scale, name);
    ASSERT_GT(picture.width, 0) << "decodable";
    const SIZE want = ChosenSize(name);
    EXPECT_EQ(picture.width, want.cx * scale);
    EXPECT_EQ(picture.height, want.cy * scale);
    const bool anyInk = std::any_of(picture.pixels.begin(), picture.pixels.end(), [](std::uint32_t p) {
      return (p >> 24) != 0;
    });
    EXPECT_TRUE(anyInk) << "not an empty picture";
  }
}

TEST_P(EachSkin, NamesItselfTheGeneratorAndTheIconsLicence) {
  const LoadedSkin& s = Skin(GetParam());
  EXPECT_EQ(s.skin.FileVersion, 2u);
  EXPECT_NE(s.skin.Description.find(u"Papirus"), std::u16string::npos);
  EXPECT_NE(s.skin.Generator.find(u"mivo-skingen"), std::u16string::npos);
  EXPECT_FALSE(s.skin.Version.empty());
  EXPECT_FALSE(s.skin.Author.empty());
  const auto licence = s.files.files.find("COPYING-icons.txt");
  ASSERT_NE(licence, s.files.files.end());
  const std::string text(licence->second.begin(), licence->second.end());
  EXPECT_NE(text.find("Papirus"), std::string::npos);
  EXPECT_NE(text.find("GNU General Public License"), std::string::npos);
}

TEST_P(EachSkin, PicturesFitWhereTheyAreDrawn) {
  const int scale = GetParam();
  // Four clock digits and the divider fit the narrowest screen, 240 wide (every digit is as wide, so the
  // time does not jump: the exact sizes above).
  EXPECT_LE(4 * Picture(scale, "gadget_clock_0").width + Picture(scale, "gadget_clock_divider").width, 240 * scale);
  // The SMS buttons are 53 wide and 48 high in portrait but 38 in
  // landscape; the button's picture is drawn at its top left, so nothing
  // may be drawn below row 38.
  for (const char* name : {"sms_call_button", "sms_next_button", "sms_prev_button", "sms_reply_button"}) {
    const imaging::Picture p = Picture(scale, name);
    ASSERT_GT(p.width, 0);
    EXPECT_LE(p.width, 53 * scale);
    EXPECT_LE(p.height, 48 * scale);
    for (int y = 38 * scale; y < p.height; ++y)
      for (int x = 0; x < p.width; ++x) EXPECT_EQ(p.pixels[y * p.width + x] >> 24, 0u) << name << " " << x << "," << y;
  }
  // The mute and vibrate buttons with their 4-wide highlight fill the 40-high band.
  EXPECT_LE(Picture(scale, "volume_mute").height + 8 * scale, 40 * scale);
  // The side buttons of list rows are 25 square.
  for (const char* name : {"listbox_item_expand", "listbox_item_collapse", "listbox_item_help"})
    EXPECT_LE(Picture(scale, name).width, 25 * scale);
  // The scroll ball's box is 12 wide and 14 high.
  EXPECT_LE(Picture(scale, "listbox_scroll_bar_ball").width, 12 * scale);
  EXPECT_LE(Picture(scale, "listbox_scroll_bar_ball").height, 14 * scale);
}

TEST_P(EachSkin, KeysAndButtonsAreOpaqueWhereTheyAreReadAndTransparentAtTheirCorners) {
  const int scale = GetParam();
  // A keypad key: solid in the middle (its digit reads on its own face,
  // whatever colour the theme puts behind), see-through in the corner.
  for (const char* name : {"keypad_button_5", "keypad_button_back", "message_box_yes", "sms_call_button"}) {
    const imaging::Picture p = Picture(scale, name);
    ASSERT_GT(p.width, 0);
    EXPECT_EQ(p.pixels[(p.height / 2) * p.width + p.width / 4] >> 24, 255u) << name;
    EXPECT_EQ(p.pixels[0] >> 24, 0u) << name;
  }
}

TEST_P(EachSkin, EveryNameTheSystemsCodeAsksForIsInTheSkin) {
  // Skin image names are lower-case words joined by "_" in UTF-16 literals;
  // the system's code uses such literals for nothing else. A name a new page
  // or gadget starts asking for fails here until the generator draws it.
  const LoadedSkin& s = Skin(GetParam());
  const std::regex literal("u\"([a-z0-9]+(_[a-z0-9]+)+)\"");
  std::set<std::string> asked;
  for (const char* folder : {"app", "ui", "actions", "desktop", "pim", "pages"}) {
    const stdfs::path root = stdfs::path(MIVO_SOURCE_DIR) / folder;
    if (!stdfs::exists(root)) continue;
    for (const auto& entry : stdfs::recursive_directory_iterator(root)) {
      const std::string ext = entry.path().extension().string();
      if (ext != ".cpp" && ext != ".h") continue;
      std::ifstream in(entry.path());
      std::stringstream text;
      text << in.rdbuf();
      const std::string code = text.str();
      for (auto it = std::sregex_iterator(code.begin(), code.end(), literal); it != std::sregex_iterator(); ++it)
        asked.insert((*it)[1].str());
    }
  }
  for (const std::string& name : asked) {
    const mivoSkinImage* image = s.skin.FindImage(text::FromUtf8(name));
    EXPECT_TRUE(image && s.files.files.count(text::ToUtf8(image->File))) << name << " is asked for but not in the skin";
  }
}

INSTANTIATE_TEST_SUITE_P(ClearHorizon, EachSkin, ::testing::Values(1, 2),
                         [](const ::testing::TestParamInfo<int>& i) { return i.param == 2 ? "Vga" : "Qvga"; });

TEST(SkinGeneration, TheGeneratorMakesByteIdenticalPackagesAgain) {
  // The same generator with the same inputs as the build, into another
  // folder: the packages must be the same bytes, or the build is not
  // reproducible (an unordered walk, a timestamp, an uninitialised byte).
  Scratch out("skingen", false);
  std::vector<std::string> args = {"skins", "--out", (out.Root() / "skins").string(), "--work",
                                   (out.Root() / "work").string()};
  args.insert(args.end(),
              {"--icon-theme", MIVO_ICON_THEME_DIR, "--rsvg", MIVO_RSVG_CONVERT, "--version", MIVO_VERSION});
  if (std::string(MIVO_SKINS_LICENCE).size()) args.insert(args.end(), {"--licence", MIVO_SKINS_LICENCE});
  const auto o = testing_support::RunTool(MIVO_SKINGEN_PATH, args);
  ASSERT_EQ(o.code, 0) << o.out << o.err;
  for (int scale : {1, 2}) {
    const Bytes again = ReadHost(out.Root() / "skins" / (SkinName(scale) + ".minst"));
    ASSERT_FALSE(again.empty());
    EXPECT_TRUE(again == ReadHost(SkinPackage(scale))) << SkinName(scale) << " differs from the build's";
  }
}

}  // namespace
