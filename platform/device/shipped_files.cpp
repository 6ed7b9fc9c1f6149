// The list of what the program installs into a new device's program folder.
// To ship something more, add a line: the source under the data folder
// (build/data, data/, or share/mivo when installed) and the device path it
// goes to. A folder source copies its whole tree. Sources that are not there
// (not built yet) are skipped with a note.
#include "platform/device/device.h"

namespace device {

const std::vector<ShippedItem>& ShippedItems() {
  static const std::vector<ShippedItem> items = {
      {"skins/Clear Horizon.minst", u"\\Program Files\\mivo\\Skins\\Clear Horizon.minst"},
      {"skins/Clear Horizon VGA.minst", u"\\Program Files\\mivo\\Skins\\Clear Horizon VGA.minst"},
      {"colorthemes", u"\\Program Files\\mivo\\ColorThemes"},
      {"wallpapers", u"\\Program Files\\mivo\\Wallpapers", ShippedScreens::kBelowVga},
      {"wallpapers-vga", u"\\Program Files\\mivo\\Wallpapers", ShippedScreens::kVga},
      {"languages", u"\\Program Files\\mivo\\Languages"},
      {"layouts/mivo_desktop.dat", u"\\Program Files\\mivo\\mivo_desktop.dat"},
      {"layouts/mivo_desktop_vga.dat", u"\\Program Files\\mivo\\mivo_desktop_vga.dat"},
      {"plugins", u"\\Program Files\\mivo\\GadgetPlugins"},
      {"today", u"\\Program Files\\mivo\\TodayPlugins"},
  };
  return items;
}

const std::vector<ProgramEntry>& DefaultPrograms() {
  static const std::vector<ProgramEntry> programs = {
      {u"Calendar", u"\\Windows\\calendar.exe", u"", "gnome-calendar"},
      {u"Contacts", u"\\Windows\\poutlook.exe", u"contacts", "gnome-contacts"},
      {u"Pocket Word", u"\\Windows\\pword.exe", u"", "libreoffice --writer"},
      {u"Pocket Excel", u"\\Windows\\pxl.exe", u"", "libreoffice --calc"},
      {u"Tasks", u"\\Windows\\tasks.exe", u"", "gnome-todo"},
      {u"Notes", u"\\Windows\\notes.exe", u"", "gnome-text-editor"},
      {u"Messaging", u"\\Windows\\tmail.exe", u"", "xdg-email"},
      {u"Internet Explorer", u"\\Windows\\iexplore.exe", u"", "x-www-browser"},
      {u"Calculator", u"\\Windows\\calc.exe", u"", "gnome-calculator"},
      {u"Pictures & Videos", u"\\Windows\\pimg.exe", u"", "eog"},
      {u"Games\\Solitaire", u"\\Windows\\solitare.exe", u"", "sol"},
      {u"Games\\Bubble Breaker", u"\\Windows\\bubblebreaker.exe", u"", "gnome-mines"},
  };
  return programs;
}

}  // namespace device
