// CmivoAdvListBoxFileItem: a row of the file explorer: a run-file action for
// one full path. Pictures (".jpg", ".bmp", ".jpeg", ".png", ".gif") are tall
// rows that show a thumbnail; other files and folders show their icon. The
// help button opens the file's details (name, size, times).
#pragma once

#include <memory>
#include <string>

#include "actions/action_list_item.h"
#include "ui/adv_list_box_items.h"

class mivoActionExecuteFile;
class mivoThumbnailCache;

class CmivoAdvListBoxFileItem : public CmivoAdvListBoxActionItem {
 public:
  // A row for an entry of a folder as the folder's listing gave it (its
  // kind counts as it was then, whatever happens to the path later). The
  // thumbnails come from the page's cache (not owned; null: no thumbnails).
  CmivoAdvListBoxFileItem(mivoCore* core, const std::u16string& path, bool isFolder, mivoThumbnailCache* thumbnails);

  mivoActionExecuteFile* FileAction() const;
  const std::u16string& Path() const { return m_path; }
  bool IsFolder() const { return m_folder; }
  // The row's name as the shell shows it (the run-file action's title).
  const std::u16string& DisplayName() const { return m_displayName; }
  bool IsPicture() const { return m_picture; }
  static bool IsPicturePath(std::u16string_view path);

  void DrawContent(CmivoAdvListBox* listBox, HDC dc, const RECT& rect) override;
  // The details are read when they are first opened.
  bool OnSideButton(UINT flags, int x, int y) override;

 private:
  // "Filename: ...", then the size and the times once the file was read.
  std::u16string Details(bool withFileData) const;

  std::u16string m_path;                       // the row's full device path
  bool m_folder;                               // a folder row (else a file row)
  std::u16string m_displayName;                // the shell's name of the entry
  bool m_picture;                              // IsPicturePath of the path
  mivoThumbnailCache* m_pThumbnails;           // the page's; not owned
  bool m_detailsRead = false;                  // the help text holds size and times
};

// The summary row of the file explorer ("Total folders: 2; total files: 7"):
// always last; holding it opens the page's own menu, as holding the empty
// area under the rows does.
class CmivoAdvListBoxFolderSummaryItem : public CmivoAdvListBoxSimpleTextItem {
 public:
  using CmivoAdvListBoxSimpleTextItem::CmivoAdvListBoxSimpleTextItem;
  bool OnTapAndHold(int x, int y) override;
};
