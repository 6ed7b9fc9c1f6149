#include "platform/shell/file_info.h"

#include <sys/stat.h>

#include <algorithm>
#include <map>
#include <mutex>

#include "platform/fs/device_path.h"
#include "platform/fs/files.h"
#include "platform/gdi/gdi.h"
#include "platform/imaging/imaging.h"
#include "platform/registry/registry.h"
#include "platform/shell/launch.h"
#include "platform/shell/shortcut.h"
#include "platform/win32/errors.h"
#include "platform/win32/text.h"
#include "platform/window/metrics.h"

namespace shell {

namespace {

std::mutex g_iconMutex;
std::vector<std::string> g_themes = {"/usr/share/icons/Adwaita", "/usr/share/icons/hicolor"};
std::map<std::pair<std::string, int>, HICON> g_icons;  // loaded icons by name and size; null when none

bool FileExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

// The PNG of an icon name in the themes, nearest to the size asked.
std::string FindIconFile(const std::string& name, int size) {
  static const int kSizes[] = {32, 48, 24, 64, 22, 16, 96, 256};
  static const char* const kContexts[] = {"mimetypes", "places", "apps", "legacy", "devices"};
  std::vector<int> sizes = {size};
  for (int s : kSizes)
    if (s != size) sizes.push_back(s);
  for (const auto& theme : g_themes)
    for (int s : sizes)
      for (const char* context : kContexts) {
        std::string dim = std::to_string(s) + "x" + std::to_string(s);
        for (const std::string& path : {theme + "/" + dim + "/" + context + "/" + name + ".png",
                                        theme + "/" + context + "/" + dim + "/" + name + ".png"})
          if (FileExists(path)) return path;
      }
  return std::string();
}

HICON LoadThemeIcon(const std::string& name, int size) {
  std::lock_guard<std::mutex> lock(g_iconMutex);
  auto key = std::make_pair(name, size);
  auto it = g_icons.find(key);
  if (it == g_icons.end()) {
    HICON icon = nullptr;
    std::string file = FindIconFile(name, size);
    imaging::Picture picture;
    if (!file.empty() && imaging::DecodeHostFile(file, &picture) && picture.width > 0) {
      if (picture.width != size || picture.height != size) picture = imaging::ScalePicture(picture, size, size);
      icon = gdi::CreateIconFromPixels(picture.width, picture.height, picture.pixels.data(), picture.width, true);
    }
    it = g_icons.emplace(key, icon).first;
  }
  return it->second ? CopyIcon(it->second) : nullptr;
}

// The icon HKLM "Device\Host Icons" gives a device program (an imported
// application's own): a host picture file, or a name of the icon theme.
HICON ProgramOwnIcon(std::u16string_view program, int size) {
  std::u16string icon;
  if (!reg::GetString(HKEY_LOCAL_MACHINE, u"Device\\Host Icons", program, &icon) || icon.empty()) return nullptr;
  const std::string name = text::ToUtf8(icon);
  if (name.front() != '/') return LoadThemeIcon(name, size);
  imaging::Picture picture;
  if (!imaging::DecodeHostFile(name, &picture) || picture.width <= 0) return nullptr;
  if (picture.width != size || picture.height != size) picture = imaging::ScalePicture(picture, size, size);
  return gdi::CreateIconFromPixels(picture.width, picture.height, picture.pixels.data(), picture.width, true);
}

// The host program a device program maps to, as an icon name ("gnome-calculator").
std::string ProgramIconName(std::u16string_view program) {
  ResolvedLaunch resolved;
  DWORD error = 0;
  if (!ResolveLaunch(program, u"", &resolved, &error) || resolved.argv.empty()) return std::string();
  std::string exe = resolved.argv[0];
  auto slash = exe.rfind('/');
  return slash == std::string::npos ? exe : exe.substr(slash + 1);
}

}  // namespace

std::u16string DisplayNameOf(std::u16string_view devicePath, bool folder) {
  std::u16string name = fs::FileNamePart(devicePath);
  if (name.empty()) name.push_back(u'\\');  // the root; push_back sidesteps a false -Wrestrict of GCC 12
  if (!folder && fs::LowerExtension(name) == u".lnk") name.resize(name.size() - 4);
  return name;
}

HICON LoadThemeIconByName(const std::string& name, int size) {
  return name.empty() ? nullptr : LoadThemeIcon(name, size);
}

void SetIconThemeFolders(std::vector<std::string> folders) {
  std::lock_guard<std::mutex> lock(g_iconMutex);
  for (auto& [key, icon] : g_icons)
    if (icon) DestroyIcon(icon);
  g_icons.clear();
  g_themes = std::move(folders);
}

std::string IconNameFor(std::u16string_view devicePath, bool folder) {
  if (folder) return "folder";
  std::u16string ext = fs::LowerExtension(devicePath);
  static const std::map<std::u16string, const char*> kTypes = {
      {u".txt", "text-x-generic"},       {u".log", "text-x-generic"},        {u".ini", "text-x-generic"},
      {u".doc", "x-office-document"},    {u".rtf", "x-office-document"},     {u".psw", "x-office-document"},
      {u".xls", "x-office-spreadsheet"}, {u".pxl", "x-office-spreadsheet"},  {u".csv", "x-office-spreadsheet"},
      {u".ppt", "x-office-presentation"}, {u".jpg", "image-x-generic"},      {u".jpeg", "image-x-generic"},
      {u".png", "image-x-generic"},      {u".gif", "image-x-generic"},       {u".bmp", "image-x-generic"},
      {u".mp3", "audio-x-generic"},      {u".wav", "audio-x-generic"},       {u".wma", "audio-x-generic"},
      {u".pwi", "audio-x-generic"},      {u".mp4", "video-x-generic"},       {u".wmv", "video-x-generic"},
      {u".3gp", "video-x-generic"},      {u".htm", "text-html"},             {u".html", "text-html"},
      {u".exe", "application-x-executable"}, {u".cab", "package-x-generic"}, {u".zip", "package-x-generic"},
      {u".minst", "package-x-generic"},
  };
  auto it = kTypes.find(ext);
  return it != kTypes.end() ? it->second : "application-x-generic";
}

}  // namespace shell

DWORD_PTR SHGetFileInfo(LPCWSTR path, DWORD fileAttributes, SHFILEINFO* info, UINT infoSize, UINT flags) {
  if (!path || !info || infoSize < sizeof(SHFILEINFO)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::u16string devicePath(path);
  DWORD attributes = fileAttributes;
  if (!(flags & SHGFI_USEFILEATTRIBUTES)) {
    attributes = GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return 0;
  }
  bool folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  std::u16string ext = fs::LowerExtension(devicePath);
  bool link = !folder && ext == u".lnk";
  if (flags & SHGFI_DISPLAYNAME) {
    text::CopyTo(info->szDisplayName, MAX_PATH, shell::DisplayNameOf(devicePath, folder));
  }
  if (flags & SHGFI_ATTRIBUTES) {
    DWORD a = SFGAO_FILESYSTEM | SFGAO_CANCOPY | SFGAO_CANMOVE | SFGAO_CANRENAME | SFGAO_CANDELETE;
    if (folder) a |= SFGAO_FOLDER | SFGAO_FILESYSANCESTOR;
    if (link) a |= SFGAO_LINK;
    if (attributes & FILE_ATTRIBUTE_HIDDEN) a |= SFGAO_HIDDEN;
    if (attributes & FILE_ATTRIBUTE_READONLY) a |= SFGAO_READONLY;
    info->dwAttributes = a;
  }
  if (flags & SHGFI_TYPENAME) {
    text::CopyTo(info->szTypeName, 80,
                 folder        ? u"Folder"
                 : link        ? u"Shortcut"
                 : ext.empty() ? u"File"
                               : text::ToUpper(ext.substr(1)) + u" File");
  }
  if (flags & SHGFI_ICON) {
    // The screen's icon sizes: twice as large on a VGA screen, as its fonts are.
    const int metric = GetSystemMetrics((flags & SHGFI_SMALLICON) ? SM_CXSMICON : SM_CXICON);
    const int size = metric > 0 ? metric : ((flags & SHGFI_SMALLICON) ? 16 : 32);
    std::u16string target = devicePath;
    bool targetFolder = folder;
    shell::Shortcut s;
    if (link && shell::ReadShortcut(devicePath, &s)) {
      target = s.target;
      DWORD ta = GetFileAttributesW(target.c_str());
      targetFolder = ta != INVALID_FILE_ATTRIBUTES && (ta & FILE_ATTRIBUTE_DIRECTORY);
    }
    HICON icon = nullptr;
    if (!targetFolder && fs::LowerExtension(target) == u".exe") icon = shell::ProgramOwnIcon(target, size);
    if (!icon && !targetFolder && fs::LowerExtension(target) == u".exe") {
      std::string program = shell::ProgramIconName(target);
      if (!program.empty()) icon = shell::LoadThemeIcon(program, size);
    }
    if (!icon) icon = shell::LoadThemeIcon(shell::IconNameFor(target, targetFolder), size);
    info->hIcon = icon;
    info->iIcon = 0;
  }
  return 1;
}
