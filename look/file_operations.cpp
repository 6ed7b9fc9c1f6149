#include "look/file_operations.h"

#include <vector>

#include "look/device_files.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "platform/fs/device_path.h"
#include "platform/fs/files.h"
#include "platform/fs/find.h"
#include "platform/win32/errors.h"
#include "platform/win32/text.h"

namespace {

std::u16string WithoutTrailingSlash(std::u16string_view path) {
  while (path.size() > 1 && path.back() == u'\\') path.remove_suffix(1);
  return std::u16string(path);
}

std::u16string Join(std::u16string_view folder, std::u16string_view name) {
  return WithoutTrailingSlash(folder) + u"\\" + std::u16string(name);
}

// The last path element, a trailing backslash ignored.
std::u16string LastElement(std::u16string_view path) {
  const std::u16string trimmed = WithoutTrailingSlash(path);
  const std::size_t slash = trimmed.rfind(u'\\');
  return slash == std::u16string::npos ? trimmed : trimmed.substr(slash + 1);
}

// True when `inner` is `outer` or lies below it (compared without case).
bool IsSameOrInside(std::u16string_view inner, std::u16string_view outer) {
  std::u16string a, b;
  if (!fs::NormalizeDevicePath(inner, &a) || !fs::NormalizeDevicePath(outer, &b)) return false;
  if (text::EqualsNoCase(a, b)) return true;
  if (b != u"\\") b += u'\\';
  return text::StartsWithNoCase(a, b);
}

enum class EntryKind { kFile, kFolder, kLink };

struct Entry {
  std::u16string name;
  EntryKind kind;
};

// The entries of a folder as they are now: what is made in it afterwards
// (a copy's own target, when the folder is copied into itself through a
// link) is not among them. Links are entries of their own, whatever they
// point at, and even when they point nowhere.
bool ListEntries(std::u16string_view folder, std::vector<Entry>* entries) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(Join(folder, u"*.*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) {
    // An empty folder has nothing to list.
    return GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_NO_MORE_FILES;
  }
  do {
    const DWORD a = data.dwFileAttributes;
    const EntryKind kind = (a & FILE_ATTRIBUTE_REPARSE_POINT) ? EntryKind::kLink
                           : (a & FILE_ATTRIBUTE_DIRECTORY)   ? EntryKind::kFolder
                                                              : EntryKind::kFile;
    entries->push_back({data.cFileName, kind});
  } while (FindNextFileW(find, &data));
  FindClose(find);
  SetLastError(ERROR_SUCCESS);
  return true;
}

}  // namespace

mivoFileClipboard& FileClipboard() {
  static mivoFileClipboard clipboard;
  return clipboard;
}

void CopyToClipboard(std::u16string_view path, bool isFolder) {
  FileClipboard() = {mivoClipboardMode::kCopy, isFolder, std::u16string(path)};
}

void CutToClipboard(std::u16string_view path, bool isFolder) {
  FileClipboard() = {mivoClipboardMode::kCut, isFolder, std::u16string(path)};
}

namespace {

// Copies source to target; `made` is the folder the whole copy goes to,
// which is never copied again should it lie inside the source.
bool CopyTree(std::u16string_view source, std::u16string_view target, std::u16string_view made) {
  if (fs::IsLink(source)) return fs::CopyLink(source, target);
  // Listed before the target is made, so that a target inside the source
  // is not among what is copied.
  std::vector<Entry> entries;
  if (!ListEntries(source, &entries)) return false;
  if (!CreateDirectoryW(std::u16string(target).c_str(), nullptr)) return false;
  for (const Entry& e : entries) {
    const std::u16string from = Join(source, e.name), to = Join(target, e.name);
    if (e.kind == EntryKind::kFolder && fs::IsSameOrInsideFolder(from, made)) continue;
    const bool ok = e.kind == EntryKind::kLink     ? fs::CopyLink(from, to)
                    : e.kind == EntryKind::kFolder ? CopyTree(from, to, made)
                                                   : CopyFileW(from.c_str(), to.c_str(), FALSE) != FALSE;
    if (!ok) return false;
  }
  return true;
}

}  // namespace

bool CopyFolderTree(std::u16string_view source, std::u16string_view target) {
  return CopyTree(source, target, target);
}

bool MoveFolderTree(std::u16string_view source, std::u16string_view target) {
  // On one file system a folder moves as a whole: one rename, nothing half
  // moved. Entry by entry only where that cannot work.
  const std::u16string from(source), to(target);
  if (fs::IsLink(source)) return MoveFileW(from.c_str(), to.c_str()) != FALSE;
  if (MoveFileW(from.c_str(), to.c_str())) return true;
  const DWORD error = GetLastError();
  if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS || error == ERROR_PATH_NOT_FOUND ||
      error == ERROR_FILE_NOT_FOUND || error == ERROR_ACCESS_DENIED || error == ERROR_INVALID_PARAMETER)
    return false;
  std::vector<Entry> entries;
  if (!ListEntries(source, &entries)) return false;
  if (!CreateDirectoryW(to.c_str(), nullptr)) return false;
  for (const Entry& e : entries) {
    const std::u16string a = Join(source, e.name), b = Join(target, e.name);
    // A link moves itself; MoveFileW never follows it.
    const bool ok = e.kind == EntryKind::kFolder ? MoveFolderTree(a, b) : MoveFileW(a.c_str(), b.c_str()) != FALSE;
    if (!ok) return false;
  }
  return RemoveDirectoryW(from.c_str());
}

bool DeleteFolderTree(std::u16string_view path) {
  if (fs::IsLink(path)) return fs::DeleteLink(path);
  std::vector<Entry> entries;
  if (!ListEntries(path, &entries)) return false;
  for (const Entry& e : entries) {
    const std::u16string entry = Join(path, e.name);
    // A link goes itself, never what it points at (which may be outside the
    // device, or nowhere).
    const bool ok = e.kind == EntryKind::kLink     ? fs::DeleteLink(entry)
                    : e.kind == EntryKind::kFolder ? DeleteFolderTree(entry)
                                                   : DeleteFileW(entry.c_str()) != FALSE;
    if (!ok) return false;
  }
  return RemoveDirectoryW(WithoutTrailingSlash(path).c_str());
}

bool Paste(std::u16string_view targetFolder, mivoFileOperationsUI& ui) {
  const mivoFileClipboard clip = FileClipboard();
  if (clip.Mode == mivoClipboardMode::kEmpty) return false;
  const std::u16string newPath = Join(targetFolder, LastElement(clip.Source));
  bool ok = false;
  if (!clip.IsFolder) {
    ok = clip.Mode == mivoClipboardMode::kCopy ? CopyFileW(clip.Source.c_str(), newPath.c_str(), TRUE) != FALSE
                                               : MoveFileW(clip.Source.c_str(), newPath.c_str()) != FALSE;
  } else if (!fs::IsLink(clip.Source) &&
             (IsSameOrInside(targetFolder, clip.Source) || fs::IsSameOrInsideFolder(targetFolder, clip.Source))) {
    // Copying a folder into itself would never end; moving it there cannot be
    // done. The target may reach the source through a link: the folders
    // themselves are compared, not only their names.
    SetLastError(ERROR_BAD_PATHNAME);
  } else {
    ok = clip.Mode == mivoClipboardMode::kCopy ? CopyFolderTree(clip.Source, newPath)
                                               : MoveFolderTree(clip.Source, newPath);
  }
  if (!ok) {
    ui.ShowSystemError(clip.IsFolder ? IDS_ERROR_DURING_COPYING : IDS_CANNOT_COPY_FILE);
    return false;
  }
  if (clip.Mode == mivoClipboardMode::kCut) FileClipboard() = {};
  return true;
}

bool CreateFolder(std::u16string_view parentFolder, mivoFileOperationsUI& ui) {
  std::u16string name = GetString(IDS_NEW_FOLDER);
  if (!ui.EnterText(GetString(IDS_ENTER_FOLDER_NAME), GetString(IDS_CREATE_FOLDER), &name)) return false;
  // A name that is a path would create the folder somewhere else.
  const bool plain = !name.empty() && name != u"." && name != u".." &&
                     name.find_first_of(u"\\/:*?\"<>|") == std::u16string::npos;
  if (!plain) {
    SetLastError(ERROR_INVALID_NAME);
  } else if (CreateDirectoryW(Join(parentFolder, name).c_str(), nullptr)) {
    return true;
  }
  ui.ShowSystemError(IDS_CANNOT_CREATE_FOLDER);
  return false;
}
