// CmivoAdvProgramsPage: the file explorer. Lists the entries of a folder as
// rows of run-file actions: "Programs" (catalogue page 21, the device's
// programs folder), "Explore root" (page 22, the root of the file system)
// and every folder opened from them (a run-file action makes a page of its
// own for its folder). Tapping a program starts it, tapping a folder opens
// it as a new page; the summary row counts folders and files.
//
// The folder is read at the first paint after SetFolder; reading again
// keeps the rows of entries that are still there (with their scroll
// position and the pages of their folders) and lists no path twice. Changes
// made by any program show at once through the folder's change
// notifications, registered once per folder. Holding the empty area (or the
// summary row) offers "Create folder" and, after a copy or cut, "Paste".
#pragma once

#include <string>
#include <vector>

#include "actions/services.h"
#include "pages/thumbnail_cache.h"
#include "platform/win32/file_defs.h"
#include "ui/adv_list_box.h"
#include "ui/adv_list_box_page.h"
#include "ui/context_menu.h"

class CmivoAdvListBoxFileItem;
class CmivoAdvListBoxFolderSummaryItem;

// Folders before files, each group in the order of their names without
// regard to case; the summary row after everything.
class CmivoAdvProgramsPageComparer : public CmivoAdvListBoxComparer {
 public:
  int Compare(CmivoAdvListBoxItem* a, CmivoAdvListBoxItem* b) override;
};

class CmivoAdvProgramsPage : public CmivoAdvListBoxPage, public CmivoContextMenu, public mivoFolderViewer {
 public:
  // The page's own menu entries.
  static constexpr DWORD kMenuCreateFolder = 2000;
  static constexpr DWORD kMenuPaste = 2001;

  explicit CmivoAdvProgramsPage(mivoCore* core);
  ~CmivoAdvProgramsPage() override;

  // The folder to list: "" the programs folder, "\" the root, else a
  // folder's full path. An empty title names the page after the folder
  // ("{Root}" for the root). The list is read again at the next paint.
  void SetFolder(const std::u16string& title, const std::u16string& folder) override;
  // File name patterns ("*.jpg|*.png"; "" or "*.*" for all); folders always show.
  void SetFilter(const std::u16string& filter);
  // The folder as set, or, once read, the folder read (ending with "\").
  const std::u16string& Folder() const { return m_folder; }
  bool IsFilled() const { return m_filled; }
  int FileCount() const { return m_fileCount; }
  int FolderCount() const { return m_folderCount; }
  mivoThumbnailCache& Thumbnails() { return m_thumbnails; }
  // How often the page registered for change notifications (once per folder read).
  int WatchRegistrations() const { return m_registrations; }

  // Reads the folder now (what the first paint after SetFolder does).
  void ReadFolder();
  // One change of the folder's entries (a change notification's event and paths).
  void OnFileChange(LONG event, const std::u16string& path, const std::u16string& newPath);

  // ---- Page operations ----
  std::u16string GetTitle(int param, int extra) override;
  mivoSkinImage* GetPageIcon(int param, int extra) override;
  void CollectImages(std::vector<mivoSkinImage*>& images) override;
  void DrawArea(HDC dc, bool erase, int left, int top, int right, int bottom) override;
  const char* PageClassName() const override { return "CmivoAdvProgramsPage"; }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // ---- The page's menu ----
  void OnMenuCommand(const mivoContextMenuEntry& entry) override;

 private:
  // What SetFolder was given, for the page's name and icon.
  enum class FolderKind { kPrograms, kRoot, kOther };

  void OnContextMenu();
  LRESULT OnFileChangeInfo(FILECHANGENOTIFY* notify);
  // Registers for the folder's changes unless already registered for it.
  void Watch(const std::u16string& folder);
  void StopWatching();
  // A row for the path when it is on disk, not hidden, not listed yet and
  // passes the filter; sorted in place.
  void AddPath(const std::u16string& path);
  void RemovePath(const std::u16string& path);
  CmivoAdvListBoxFileItem* FindRow(const std::u16string& path) const;
  void CountRow(CmivoAdvListBoxFileItem* row, int delta);
  // The summary row after everything, with the counts.
  void UpdateSummary();
  // Whether the path is an entry of the listed folder.
  bool InListedFolder(const std::u16string& path) const;

  std::u16string m_folder;                  // as set; once read, the folder read with its trailing "\"
  std::u16string m_filter;                  // file name patterns; "" for all
  FolderKind m_kind = FolderKind::kPrograms;  // what SetFolder was given
  bool m_filled = false;                    // the list was read since the folder was last set
  bool m_reading = false;                   // ReadFolder is running (it may pump messages)
  int m_fileCount = 0;                      // file rows listed
  int m_folderCount = 0;                    // folder rows listed
  std::u16string m_listedFolder;            // the folder whose entries the rows hold
  std::u16string m_watchedFolder;           // the folder registered for change notifications
  bool m_watchFailed = false;               // its registration failed (said once)
  int m_registrations = 0;                  // registrations made so far
  CmivoAdvListBoxFolderSummaryItem* m_pSummary = nullptr;  // the summary row; owned by the list
  CmivoAdvProgramsPageComparer m_comparer;  // the list's order
  mivoThumbnailCache m_thumbnails;          // the picture rows' thumbnails
};
