// The file explorer's file operations: a one-entry file clipboard with copy
// and cut, pasting files and folder trees, creating folders and deleting
// folder trees, all on device paths.
#pragma once

#include <string>
#include <string_view>

#include "platform/win32/types.h"

enum class mivoClipboardMode { kEmpty = 0, kCopy = 1, kCut = 2 };

// The process-wide file clipboard; it starts empty.
struct mivoFileClipboard {
  mivoClipboardMode Mode = mivoClipboardMode::kEmpty;
  bool IsFolder = false;
  std::u16string Source;
};
mivoFileClipboard& FileClipboard();

// What the operations need from the user interface; the core provides it.
class mivoFileOperationsUI {
 public:
  virtual ~mivoFileOperationsUI() = default;
  // The core's system-error message: the text of the string id followed by
  // the system's description of the last error.
  virtual void ShowSystemError(int stringId) = 0;
  // The text entry window: false when cancelled.
  virtual bool EnterText(std::u16string_view text, std::u16string_view caption, std::u16string* value) = 0;
};

void CopyToClipboard(std::u16string_view path, bool isFolder);
void CutToClipboard(std::u16string_view path, bool isFolder);

// Pastes the clipboard's entry into the target folder, under the source's
// own name. A copy stays on the clipboard; a cut empties it once done.
// Failures show message 359 (a file) or 360 (a folder) and leave the
// clipboard as it was. A folder is never pasted into itself or one of its
// own sub-folders. An empty clipboard pastes nothing (false).
bool Paste(std::u16string_view targetFolder, mivoFileOperationsUI& ui);

// Asks for a name (messages 362, 363, initial name 361) and creates the
// folder in the parent; failures show message 364.
bool CreateFolder(std::u16string_view parentFolder, mivoFileOperationsUI& ui);

// Recursive folder work; the first failure stops with false and the last
// error set. Links (to files, to folders, or to nothing) are entries of
// their own: copied, moved or deleted as links, never followed.
bool CopyFolderTree(std::u16string_view source, std::u16string_view target);
bool MoveFolderTree(std::u16string_view source, std::u16string_view target);
bool DeleteFolderTree(std::u16string_view path);
