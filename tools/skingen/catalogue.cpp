#include "tools/skingen/catalogue.h"

namespace skingen {

namespace {

using namespace palette;

constexpr int kIcon = 48;   // page, action, menu and large gadget icons
constexpr int kSmall = 32;  // status icons of the small gadgets

SkinPicture Icon(const char* name, const char* icon, int size = kIcon) {
  SkinPicture p;
  p.name = name;
  p.width = p.height = size;
  p.icon = icon;
  return p;
}

SkinPicture Badged(const char* name, const char* icon, Glyph glyph, const char* color, int size = kIcon,
                   std::string text = {}) {
  SkinPicture p = Icon(name, icon, size);
  p.badge = {true, glyph, color, std::move(text)};
  return p;
}

// The call pictures: a drawn green disc with a handset, badged.
SkinPicture Phone(const char* name, int size = kIcon) {
  SkinPicture p;
  p.name = name;
  p.width = p.height = size;
  p.draw = [size](const std::string& id) { return PhoneDisc(id, size); };
  return p;
}

SkinPicture PhoneBadged(const char* name, Glyph glyph, const char* color) {
  SkinPicture p = Phone(name);
  p.badge = {true, glyph, color, {}};
  return p;
}

SkinPicture Greyed(SkinPicture p) {
  p.greyed = true;
  return p;
}

SkinPicture Drawn(std::string name, int width, int height, std::function<std::string(const std::string&)> draw) {
  SkinPicture p;
  p.name = std::move(name);
  p.width = width;
  p.height = height;
  p.draw = std::move(draw);
  return p;
}

// The icons behind several families of pictures.
constexpr const char* kChat = "internet-chat";
constexpr const char* kCalendar = "office-calendar";
constexpr const char* kTodo = "gnome-todo";
constexpr const char* kStar = "starred";
constexpr const char* kDocument = "text-x-generic";

std::vector<SkinPicture> Build() {
  std::vector<SkinPicture> all;
  auto add = [&all](SkinPicture p) { all.push_back(std::move(p)); };

  // Message box and text entry.
  add(Drawn("message_box_yes", 96, 48, [](const std::string& id) { return MessageBoxButton(id, true); }));
  add(Drawn("message_box_no", 96, 48, [](const std::string& id) { return MessageBoxButton(id, false); }));

  // List box and lists.
  add(Drawn("listbox_item_expand", 25, 25,
            [](const std::string& id) { return ListSideButton(id, SideButton::kExpand); }));
  add(Drawn("listbox_item_collapse", 25, 25,
            [](const std::string& id) { return ListSideButton(id, SideButton::kCollapse); }));
  add(Drawn("listbox_item_help", 25, 25, [](const std::string& id) { return ListSideButton(id, SideButton::kHelp); }));
  add(Drawn("listbox_end", 16, 16, [](const std::string& id) { return ListEnd(id, 16, 16); }));
  add(Drawn("listbox_end_horizontal", 180, 10, [](const std::string& id) { return ListEnd(id, 180, 10); }));
  add(Drawn("listbox_scroll_bar_ball", 12, 12, ScrollBall));
  add(Drawn("listbox_small_contact_list_end_horizontal", 120, 8,
            [](const std::string& id) { return ListEnd(id, 120, 8); }));

  // Page icons.
  add(Icon("about_page", "dialog-information"));
  add(Icon("actions_history_page", "preferences-system-time"));
  add(Icon("battery_info_page", "battery"));
  add(Icon("calendar_page", kCalendar));
  add(PhoneBadged("call_log_page", Glyph::kClock, kSlate));
  add(PhoneBadged("call_log_all_page", Glyph::kList, kSlate));
  add(PhoneBadged("call_log_incoming_page", Glyph::kArrowIn, kGreen));
  add(PhoneBadged("call_log_missed_page", Glyph::kCross, kRed));
  add(PhoneBadged("call_log_outgoing_page", Glyph::kArrowOut, kBlue));
  add(Icon("contacts_page", "addressbook"));
  add(Icon("explore_root_page", "system-file-manager"));
  add(Icon("faq_page", "dialog-question"));
  add(Icon("favorites_page", kStar));
  add(Icon("help_page", "help-browser"));
  add(Icon("memory_info_page", "gnome-dev-memory"));
  add(Icon("office_page", "applications-office"));
  add(Icon("programs_page", "applications-all"));
  add(Icon("running_apps_page", "utilities-system-monitor"));
  add(Icon("settings_page", "preferences-system"));
  add(Icon("settings_connections_page", "gnome-network-properties"));
  add(Icon("settings_personal_page", "preferences-desktop-personal"));
  add(Icon("settings_system_page", "cpu"));
  add(Icon("settings_mivo_page", "preferences-desktop"));
  add(Icon("sms_page", kChat));
  add(Icon("system_info_page", "hwinfo"));
  add(Icon("exit", "system-shutdown"));

  // Actions.
  add(Badged("calendar_new_appointment", kCalendar, Glyph::kPlus, kGreen));
  add(Badged("calendar_this_month", kCalendar, Glyph::kText, kSlate, kIcon, "31"));
  add(Badged("calendar_this_week", kCalendar, Glyph::kText, kSlate, kIcon, "7"));
  add(Badged("calendar_today", kCalendar, Glyph::kDot, kBlue));
  add(Badged("calendar_tommorow", kCalendar, Glyph::kArrowRight, kBlue));
  add(Icon("help_tutorial", "khelpcenter"));
  add(Phone("make_a_call"));
  add(Drawn("small_phone", 24, 24, SmallPhone));
  add(Icon("view_contact_details", "user-info"));
  add(Badged("write_email", "internet-mail", Glyph::kPencil, kBlue));
  add(Badged("new_sms", kChat, Glyph::kPlus, kGreen));
  add(Icon("office_excel", "x-office-spreadsheet"));
  add(Icon("office_messaging", "mail-client"));
  add(Icon("office_notes", "org.gnome.Notes"));
  add(Icon("office_tasks", kTodo));
  add(Icon("office_word", "x-office-document"));

  // Context menus ("make_a_call" and "view_contact_details" are above).
  add(Icon("copy_to_clipboard", "xpad"));
  add(Badged("desktop_add", "user-desktop", Glyph::kPlus, kGreen));
  add(Badged("favorites_add", kStar, Glyph::kPlus, kGreen));
  add(Badged("favorites_remove", kStar, Glyph::kMinus, kRed));
  add(Icon("view_contact_outlook_details", "contact-editor"));
  add(Badged("write_sms", kChat, Glyph::kPencil, kBlue));
  add(Badged("file_copy", kDocument, Glyph::kCopy, kBlue));
  add(Badged("file_create_folder", "folder", Glyph::kPlus, kGreen));
  add(Badged("file_cut", kDocument, Glyph::kScissors, kOrange));
  add(Icon("file_delete", "user-trash"));
  add(Badged("file_paste", "xpad", Glyph::kArrowIn, kBlue));
  add(Badged("file_rename", kDocument, Glyph::kPencil, kBlue));

  // Colour chooser.
  add(Drawn("custom_color", 48, 48, CustomColor));

  // Contacts: the kind of number, with a call badge.
  add(Badged("call_assistant", "avatar-default", Glyph::kPhone, kGreen));
  add(Badged("call_business", "applications-office", Glyph::kPhone, kGreen));
  add(Badged("call_car", "taxi", Glyph::kPhone, kGreen));
  add(Badged("call_home", "home", Glyph::kPhone, kGreen));
  add(Badged("call_mobile", "pda", Glyph::kPhone, kGreen));
  add(Badged("call_radio", "gnomeradio", Glyph::kPhone, kGreen));
  add(Icon("go_to_url", "internet-web-browser"));
  add(Drawn("contact_list_no_photo", 48, 48, NoPhoto));

  // Call log.
  add(PhoneBadged("call_log_incoming", Glyph::kArrowIn, kGreen));
  add(PhoneBadged("call_log_missed", Glyph::kCross, kRed));
  add(PhoneBadged("call_log_outgoing", Glyph::kArrowOut, kBlue));

  // SMS pages.
  add(Drawn("sms_background", 160, 120, SmsBackground));
  add(Drawn("sms_call_button", 53, 42, [](const std::string& id) { return SmsButtonPicture(id, SmsButton::kCall); }));
  add(Drawn("sms_next_button", 53, 42, [](const std::string& id) { return SmsButtonPicture(id, SmsButton::kNext); }));
  add(Drawn("sms_prev_button", 53, 42,
            [](const std::string& id) { return SmsButtonPicture(id, SmsButton::kPrevious); }));
  add(Drawn("sms_reply_button", 53, 42, [](const std::string& id) { return SmsButtonPicture(id, SmsButton::kReply); }));
  add(Badged("sms_deleted", kChat, Glyph::kCross, kRed));
  add(Badged("sms_drafts", kChat, Glyph::kPencil, kOrange));
  add(Badged("sms_incoming", kChat, Glyph::kArrowIn, kGreen));
  add(Badged("sms_outbox", kChat, Glyph::kArrowOut, kOrange));
  add(Badged("sms_sent", kChat, Glyph::kCheck, kBlue));

  // Tasks list.
  add(Icon("office_task", kTodo));
  add(Badged("office_task_complete", kTodo, Glyph::kCheck, kGreen));
  add(Badged("office_task_complete_high_priority", kTodo, Glyph::kCheck, kRed));
  add(Badged("office_task_high_priority", kTodo, Glyph::kExclaim, kRed));

  // Phone keypad.
  static const char* const kLetters[10] = {"+", "", "ABC", "DEF", "GHI", "JKL", "MNO", "PQRS", "TUV", "WXYZ"};
  for (int d = 0; d < 10; ++d)
    add(Drawn("keypad_button_" + std::to_string(d), 58, 37,
              [d](const std::string& id) { return KeypadKey(id, std::to_string(d), kLetters[d]); }));
  add(Drawn("keypad_button_back", 58, 37, KeypadBack));
  add(Drawn("keypad_button_clear", 58, 37, KeypadClear));

  // Volume window: the row icons sit left of 20-high bar rows, the mute and
  // vibrate buttons in a 40-high band with a 4-wide highlight around them.
  add(Drawn("volume_mute", 32, 32, [](const std::string& id) { return VolumePicture(id, VolumeImage::kMute, 32); }));
  add(Drawn("volume_phone", 30, 30, [](const std::string& id) { return VolumePicture(id, VolumeImage::kPhone, 30); }));
  add(Drawn("volume_system", 30, 30,
            [](const std::string& id) { return VolumePicture(id, VolumeImage::kSystem, 30); }));
  add(Drawn("volume_vibrate", 32, 32,
            [](const std::string& id) { return VolumePicture(id, VolumeImage::kVibrate, 32); }));

  // Gadgets.
  add(Icon("gadget_alarm", "alarm-clock", kSmall));
  add(Icon("gadget_alarm_big", "alarm-clock"));
  add(Greyed(Icon("gadget_alarm_big_disabled", "alarm-clock")));
  add(Greyed(Icon("gadget_alarm_disabled", "alarm-clock", kSmall)));
  add(Icon("gadget_battery", "battery-good", kSmall));
  add(Icon("gadget_battery_ac", "battery-good-charging", kSmall));
  add(Icon("gadget_bluetooth", "bluetooth-active", kSmall));
  add(Badged("gadget_bluetooth_discoverable", "bluetooth-active", Glyph::kWaves, kBlue, kSmall));
  add(Icon("gadget_bluetooth_off", "bluetooth-disabled", kSmall));
  add(Icon("gadget_bluetooth_on", "bluetooth-active", kSmall));
  for (int d = 0; d < 10; ++d)
    add(Drawn("gadget_clock_" + std::to_string(d), 48, 72, [d](const std::string& id) { return ClockDigit(id, d); }));
  add(Drawn("gadget_clock_am", 40, 24, [](const std::string& id) { return ClockMeridiem(id, false); }));
  add(Drawn("gadget_clock_pm", 40, 24, [](const std::string& id) { return ClockMeridiem(id, true); }));
  add(Drawn("gadget_clock_divider", 16, 72, ClockDivider));
  add(Drawn("gadget_desktop_switcher_bk_active", 48, 60,
            [](const std::string& id) { return SwitcherCellPicture(id, SwitcherCell::kActive); }));
  add(Drawn("gadget_desktop_switcher_bk_inactive", 48, 60,
            [](const std::string& id) { return SwitcherCellPicture(id, SwitcherCell::kInactive); }));
  add(Drawn("gadget_desktop_switcher_bk_none", 48, 60,
            [](const std::string& id) { return SwitcherCellPicture(id, SwitcherCell::kNone); }));
  add(Icon("gadget_favorites", kStar));
  add(PhoneBadged("gadget_last_incoming_call", Glyph::kArrowIn, kGreen));
  add(Icon("gadget_memory", "gnome-dev-memory"));
  add(Icon("gadget_memory_small", "gnome-dev-memory", kSmall));
  add(PhoneBadged("gadget_missed_calls", Glyph::kCross, kRed));
  add(Greyed(Phone("gadget_phone_off", kSmall)));
  add(Phone("gadget_phone_on", kSmall));
  add(Drawn("gadget_signal_strength", 32, 32, SignalStrength));
  add(Icon("gadget_sms_detail_panel", kChat));
  add(Icon("gadget_tasks", kTodo));
  add(Icon("gadget_unread_emails", "internet-mail"));
  add(Badged("gadget_unread_mms", "image-x-generic", Glyph::kPlus, kBlue));
  add(Icon("gadget_unread_sms", kChat));
  add(Icon("gadget_volume", "multimedia-volume-control"));
  add(Greyed(Icon("gadget_wifi_off", "network-wireless", kSmall)));
  add(Icon("gadget_wifi_on", "network-wireless-hotspot", kSmall));

  // The desktop icon of a desktop whose icon was never chosen.
  add(Drawn("gadget_desktop_default_wallpaper", 48, 48, DefaultWallpaperIcon));

  // mivo's start emblem, shown on the start button of the shell's task bar.
  add(Drawn("start_emblem", 20, 20, StartEmblem));
  return all;
}

}  // namespace

const std::vector<SkinPicture>& Catalogue() {
  static const std::vector<SkinPicture> all = Build();
  return all;
}

}  // namespace skingen
