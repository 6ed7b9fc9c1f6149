// The ten kinds of action, with their stored fields:
//   0 MakeCall       phone number                    5 WriteEmail    e-mail address
//   1 ControlPanel   applet index, second number     6 ShowPage      page index, two parameters
//   2 ExecuteFile    path of a file or folder        7 Contact       contact OID
//   3 WriteSMS       recipient number (may be empty) 8 SubMenu       title
//   4 Office         office kind, calendar view      9 HelpTutorial  nothing
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "actions/action.h"
#include "platform/win32/file_defs.h"

class CmivoFileListPage;
class CmivoPageWnd;
class mivoSubMenuPage;

// Digits of a phone number, in order: two numbers are equal when these are.
std::u16string PhoneNumberDigits(std::u16string_view number);

class mivoActionMakeCall : public mivoAction {
 public:
  explicit mivoActionMakeCall(mivoCore* core, std::u16string number = {});
  const std::u16string& Number() const { return m_number; }

  bool Load(mivoArchiveReader& in) override;
  void Save(mivoArchiveWriter& out) const override;
  bool IsEqual(const mivoAction& other) const override;
  void CopyFrom(const mivoAction& other) override;
  void Execute() override;
  void OnHistoryEntryCreated(mivoHistoryEntry* entry) override;
  std::u16string GetTitle() override;
  void Draw(HDC dc, const RECT& rect, int style, int imageMode, std::u16string_view subtitle = {}) override;
  void AddContextMenuHandlers(CmivoContextMenu* menu) override;
  std::unique_ptr<mivoAction> Clone() const override;
  void CollectImages(std::vector<mivoSkinImage*>& images) override;
  std::u16string IdentityKey() const override { return PhoneNumberDigits(m_number); }

 private:
  std::u16string m_number;  // as the user or the contact wrote it
};

class mivoActionControlPanel : public mivoAction {
 public:
  mivoActionControlPanel(mivoCore* core, int appletIndex = -1, int second = -1);
  int AppletIndex() const { return m_appletIndex; }
  int SecondNumber() const { return m_second; }

  bool Load(mivoArchiveReader& in) override;
  void Save(mivoArchiveWriter& out) const override;
  bool IsEqual(const mivoAction& other) const override;
  void CopyFrom(const mivoAction& other) override;
  void Execute() override;
  std::u16string GetTitle() override;
  void Draw(HDC dc, const RECT& rect, int style, int imageMode, std::u16string_view subtitle = {}) override;
  std::unique_ptr<mivoAction> Clone() const override;
  std::u16string IdentityKey() const override;

 private:
  // The catalogue's name and icon for the applet; false when the inquiry fails.
  bool Inquire(std::u16string* name, HICON* icon) const;

  int m_appletIndex;  // position in the control-panel library
  int m_second;       // the applet's data word, or a tab index
};

class mivoActionExecuteFile : public mivoAction {
 public:
  explicit mivoActionExecuteFile(mivoCore* core, std::u16string path = {});
  ~mivoActionExecuteFile() override;
  const std::u16string& Path() const { return m_path; }
  void SetPath(std::u16string path);
  // What the shell says of the path, asked for on first need.
  const std::u16string& DisplayName();
  DWORD Attributes();
  bool IsFolder() { return (Attributes() & SFGAO_FOLDER) != 0; }
  HICON Icon();
  const WIN32_FILE_ATTRIBUTE_DATA& FileData();

  bool Load(mivoArchiveReader& in) override;
  void Save(mivoArchiveWriter& out) const override;
  bool IsEqual(const mivoAction& other) const override;
  void CopyFrom(const mivoAction& other) override;
  void Execute() override;
  std::u16string GetTitle() override { return DisplayName(); }
  void Draw(HDC dc, const RECT& rect, int style, int imageMode, std::u16string_view subtitle = {}) override;
  void AddContextMenuHandlers(CmivoContextMenu* menu) override;
  std::unique_ptr<mivoAction> Clone() const override;
  std::u16string IdentityKey() const override { return m_path; }

 private:
  void EnsureShellInfo();     // the display name and the attributes
  void EnsureIconAndData();   // the icon and the file's times and size
  void DropShellInfo();

  std::u16string m_path;               // device path of the file or folder
  bool m_shellInfoRead = false;        // the display name and the attributes are current
  bool m_iconRead = false;             // the icon and the file data are current
  std::u16string m_displayName;        // the shell's name, else the last path component
  DWORD m_attributes = 0;              // SFGAO_* bits
  HICON m_icon = nullptr;              // owned
  WIN32_FILE_ATTRIBUTE_DATA m_fileData{};  // times and size
  CmivoPageWnd* m_folderPage = nullptr;  // made on the first opening of a folder; owned
};

class mivoActionWriteSMS : public mivoAction {
 public:
  explicit mivoActionWriteSMS(mivoCore* core, std::u16string number = {});
  const std::u16string& Number() const { return m_number; }

  bool Load(mivoArchiveReader& in) override;
  void Save(mivoArchiveWriter& out) const override;
  bool IsEqual(const mivoAction& other) const override;
  void CopyFrom(const mivoAction& other) override;
  void Execute() override;
  std::u16string GetTitle() override;
  void Draw(HDC dc, const RECT& rect, int style, int imageMode, std::u16string_view subtitle = {}) override;
  void AddContextMenuHandlers(CmivoContextMenu* menu) override;
  std::unique_ptr<mivoAction> Clone() const override;
  void CollectImages(std::vector<mivoSkinImage*>& images) override;
  std::u16string IdentityKey() const override { return m_number; }

 private:
  std::u16string m_number;
};

// Office kinds.
enum : int {
  kOfficeCalendar = 0,
  kOfficeRunWord = 1,
  kOfficeRunExcel = 2,
  kOfficeRunTasks = 3,
  kOfficeMessaging = 4,
  kOfficeRunNotes = 5,
  kOfficeTasksList = 6,
  kOfficeNotesList = 7,
  kOfficeWordList = 8,
  kOfficeExcelList = 9,
};

class mivoActionOffice : public mivoAction {
 public:
  mivoActionOffice(mivoCore* core, int kind = 0, int calendarView = 0);
  int Kind() const { return m_kind; }
  int CalendarView() const { return m_view; }

  bool Load(mivoArchiveReader& in) override;
  void Save(mivoArchiveWriter& out) const override;
  bool IsEqual(const mivoAction& other) const override;
  void CopyFrom(const mivoAction& other) override;
  void Execute() override;
  std::u16string GetTitle() override;
  void Draw(HDC dc, const RECT& rect, int style, int imageMode, std::u16string_view subtitle = {}) override;
  std::unique_ptr<mivoAction> Clone() const override;
  void CollectImages(std::vector<mivoSkinImage*>& images) override;
  std::u16string GetHelpText() override;
  std::u16string IdentityKey() const override;

  // The string table ids of the title and the help text; 0 for an unknown
  // kind or view.
  int TitleId() const;
  int HelpId() const;

 private:
  // Starts an office program; shows the error box when it cannot start.
  void StartProgram(const char16_t* program, const char16_t* parameters);
  void ShowDocumentList();

  int m_kind;  // kOffice*
  int m_view;  // calendar view 0-4 (kind 0 only)
};

class mivoActionWriteEmail : public mivoAction {
 public:
  explicit mivoActionWriteEmail(mivoCore* core, std::u16string address = {});
  const std::u16string& Address() const { return m_address; }

  bool Load(mivoArchiveReader& in) override;
  void Save(mivoArchiveWriter& out) const override;
  bool IsEqual(const mivoAction& other) const override;
  void CopyFrom(const mivoAction& other) override;
  void Execute() override;
  std::u16string GetTitle() override { return m_address; }
  void Draw(HDC dc, const RECT& rect, int style, int imageMode, std::u16string_view subtitle = {}) override;
  std::unique_ptr<mivoAction> Clone() const override;
  void CollectImages(std::vector<mivoSkinImage*>& images) override;
  std::u16string IdentityKey() const override { return m_address; }

 private:
  std::u16string m_address;
};

class mivoActionShowPage : public mivoAction {
 public:
  mivoActionShowPage(mivoCore* core, int pageIndex = 0, int param = 0, int extra = 0);
  int PageIndex() const { return m_page; }
  int PageParam() const { return m_param; }
  int PageExtra() const { return m_extra; }

  bool Load(mivoArchiveReader& in) override;
  void Save(mivoArchiveWriter& out) const override;
  bool IsEqual(const mivoAction& other) const override;
  void CopyFrom(const mivoAction& other) override;
  void Execute() override;
  std::u16string GetTitle() override;
  void Draw(HDC dc, const RECT& rect, int style, int imageMode, std::u16string_view subtitle = {}) override;
  std::unique_ptr<mivoAction> Clone() const override;
  void CollectImages(std::vector<mivoSkinImage*>& images) override;
  std::u16string GetHelpText() override;
  std::u16string IdentityKey() const override;

 private:
  CmivoPageWnd* Page() const;  // the catalogue's page, or null

  int m_page;   // catalogue index
  int m_param;  // SetPageParam's first value
  int m_extra;  // and its second
};

class mivoActionContact : public mivoAction {
 public:
  explicit mivoActionContact(mivoCore* core, std::uint32_t oid = 0);
  std::uint32_t Oid() const { return m_oid; }

  bool Load(mivoArchiveReader& in) override;
  void Save(mivoArchiveWriter& out) const override;
  bool IsEqual(const mivoAction& other) const override;
  void CopyFrom(const mivoAction& other) override;
  void Execute() override;
  std::u16string GetTitle() override;
  void Draw(HDC dc, const RECT& rect, int style, int imageMode, std::u16string_view subtitle = {}) override;
  std::unique_ptr<mivoAction> Clone() const override;
  std::u16string IdentityKey() const override;

 private:
  std::uint32_t m_oid;  // the contact store's identifier; 0 = none
};

class mivoActionSubMenu : public mivoAction {
 public:
  explicit mivoActionSubMenu(mivoCore* core, std::u16string title = {});
  ~mivoActionSubMenu() override;
  const std::u16string& Title() const { return m_title; }
  // The string table id the title was taken from (0: a title of its own).
  int TitleId() const { return m_titleId; }
  void SetTitleId(int id) { m_titleId = id; }
  void SetHelpText(std::u16string text) { m_helpText = std::move(text); }
  void SetIcon(mivoSkinImage* icon) { m_icon = icon; }
  mivoSkinImage* Icon();
  // Appends a child (held by this sub-menu from now on).
  void AddChild(std::unique_ptr<mivoAction> child);
  // The children; a sub-menu read back from a file finds them first in the
  // main menu's sub-menu of the same title.
  const std::vector<mivoHeldAction>& Children();
  // The list page of the children, made on first use; owned.
  CmivoPageWnd* GetListPage();

  bool Load(mivoArchiveReader& in) override;
  void Save(mivoArchiveWriter& out) const override;
  bool IsEqual(const mivoAction& other) const override;
  void CopyFrom(const mivoAction& other) override;
  void Execute() override;
  // The main menu's title for it when it was found there under its English
  // title (a record written in English, read in another language).
  std::u16string GetTitle() override;
  void Draw(HDC dc, const RECT& rect, int style, int imageMode, std::u16string_view subtitle = {}) override;
  std::unique_ptr<mivoAction> Clone() const override;
  void CollectImages(std::vector<mivoSkinImage*>& images) override;
  std::u16string GetHelpText() override;
  std::u16string IdentityKey() const override { return m_title; }

 private:
  // Takes help text, icon and children from the main menu's sub-menu of the
  // same title, once, when this one has no children of its own.
  void RegainFromMainMenu();

  std::u16string m_title;                 // the only stored field
  std::u16string m_shownTitle;            // the main menu's title when found by the English one; else empty
  int m_titleId = 0;                      // the title's string table id; 0: none
  std::u16string m_helpText;
  mivoSkinImage* m_icon = nullptr;        // the skin's; not owned
  std::vector<mivoHeldAction> m_children; // in order
  bool m_regainTried = false;             // RegainFromMainMenu ran
  mivoSubMenuPage* m_page = nullptr;      // made on first use; owned
};

// The main menu's sub-menu (at any depth) with this title, or with this as
// the English text of its title, or null.
const mivoActionSubMenu* FindMainMenuSubMenu(mivoCore* core, std::u16string_view title);

class mivoActionHelpTutorial : public mivoAction {
 public:
  explicit mivoActionHelpTutorial(mivoCore* core);

  bool Load(mivoArchiveReader& in) override { return true; }
  void Save(mivoArchiveWriter& out) const override {}
  bool IsEqual(const mivoAction& other) const override { return true; }
  void Execute() override;
  std::u16string GetTitle() override;
  void Draw(HDC dc, const RECT& rect, int style, int imageMode, std::u16string_view subtitle = {}) override;
  std::unique_ptr<mivoAction> Clone() const override;
  void CollectImages(std::vector<mivoSkinImage*>& images) override;
  std::u16string IdentityKey() const override { return {}; }
};
