// The Pocket Outlook object model on device.db: the application object,
// the default folders (9 calendar, 10 contacts, 13 tasks), item collections
// with Find, Restrict and Sort, and contact, task and appointment items
// reached by their object identifier (OID).
//
// Made with CoCreateInstance(CLSID_Application, ..., IID_IPOutlookApp2) after
// CoInitializeEx. Logon(hwnd) names the window that hears of changes: a
// folder whose item property PIMPR_FOLDERNOTIFICATIONS is set posts, for each
// item created, deleted or changed by another process, PIM_ITEM_CREATED_REMOTE
// (0x8105), PIM_ITEM_DELETED_REMOTE (0x8106) or PIM_ITEM_CHANGED_REMOTE
// (0x8107) with wParam the item's OID and lParam the folder; the local kinds
// 0x8100-0x8102 are posted for changes of this process when asked for.
//
// Items read their record when made and again when it has changed since
// (the change log is followed while the application is logged on). Texts
// are BSTRs the caller frees with SysFreeString; a date the item lacks is
// 949998.0 (tasks) as the object model reports it.
#pragma once

#include "platform/device/com.h"

constexpr int olFolderCalendar = 9;
constexpr int olFolderContacts = 10;
constexpr int olFolderTasks = 13;

constexpr int olAppointmentItem = 1;
constexpr int olContactItem = 2;
constexpr int olTaskItem = 3;

// Item notifications posted to the logged-on window (wParam OID, lParam folder).
constexpr UINT PIM_ITEM_CREATED_LOCAL = 0x8100;
constexpr UINT PIM_ITEM_DELETED_LOCAL = 0x8101;
constexpr UINT PIM_ITEM_CHANGED_LOCAL = 0x8102;
constexpr UINT PIM_ITEM_CREATED_REMOTE = 0x8105;
constexpr UINT PIM_ITEM_DELETED_REMOTE = 0x8106;
constexpr UINT PIM_ITEM_CHANGED_REMOTE = 0x8107;

// The value the object model gives for "no date".
constexpr double kPoomNoDate = 949998.0;

// Item properties of the property interface (a folder's).
using CEPROPID = DWORD;  // the property's id in the high word, its type in the low word
constexpr WORD CEVT_I2 = 2;
constexpr WORD CEVT_I4 = 3;
constexpr WORD CEVT_UI2 = 18;
constexpr WORD CEVT_UI4 = 19;
constexpr WORD CEVT_LPWSTR = 31;
constexpr WORD CEVT_FILETIME = 64;
constexpr CEPROPID PIMPR_FOLDERNOTIFICATIONS = 0x10010013;  // id 0x1001, CEVT_UI4
constexpr DWORD PIMFOLDERNOTIFICATION_REMOTE = 0x1;         // changes made by other processes
constexpr DWORD PIMFOLDERNOTIFICATION_LOCAL = 0x2;          // changes made by this process
constexpr HRESULT E_PROP_NOT_SUPPORTED = static_cast<HRESULT>(0x8007001Fu);

union CEVALUNION {
  short iVal;
  USHORT uiVal;
  LONG lVal;
  ULONG ulVal;
  FILETIME filetime;
  LPWSTR lpwstr;
};

struct CEPROPVAL {
  CEPROPID propid;
  WORD wLenData;
  WORD wFlags;
  CEVALUNION val;
};

extern const CLSID CLSID_Application;
extern const IID IID_IPOutlookApp2;
extern const IID IID_IFolder;
extern const IID IID_IItem;
extern const IID IID_IPOutlookItemCollection;
extern const IID IID_IContact;
extern const IID IID_ITask;
extern const IID IID_IAppointment;

struct IPOutlookItemCollection;

// Item properties: the folder's notification switch.
struct IItem : IDispatch {
  virtual HRESULT SetProps(ULONG ulFlags, WORD cProps, CEPROPVAL* rgVals) = 0;
  // Reads the properties into *prgVals (a LocalAlloc block the caller
  // frees with LocalFree when it passes null); *pcbBuffer its size.
  virtual HRESULT GetProps(const CEPROPID* rgPropID, ULONG ulFlags, WORD cProps, CEPROPVAL** prgVals, ULONG* pcbBuffer,
                           HANDLE hHeap) = 0;
};

struct IFolder : IDispatch {
  virtual HRESULT get_Items(IPOutlookItemCollection** ppItems) = 0;
  virtual HRESULT get_DefaultItemType(int* pnType) = 0;
};

struct IPOutlookApp2 : IDispatch {
  virtual HRESULT Logon(HWND hWnd) = 0;
  virtual HRESULT Logoff() = 0;
  virtual HRESULT GetDefaultFolder(int olFolder, IFolder** ppIFolder) = 0;
  // The contact, task or appointment with the OID; E_INVALIDARG when none.
  virtual HRESULT GetItemFromOid(LONG oid, IDispatch** ppItem) = 0;
};

struct IPOutlookItemCollection : IDispatch {
  virtual HRESULT get_Count(int* pnCount) = 0;
  // Positions count from 1.
  virtual HRESULT Item(int iIndex, IDispatch** ppItem) = 0;
  // The first item meeting the restriction ("[LastName] = \"Novak\"",
  // "[End] > \"3/15/2010 12:00 AM\""), null when none; FindNext goes on.
  virtual HRESULT Find(BSTR pwszRestriction, IDispatch** ppItem) = 0;
  virtual HRESULT FindNext(IDispatch** ppItem) = 0;
  // A new collection of the items meeting the restriction.
  virtual HRESULT Restrict(BSTR pwszRestriction, IPOutlookItemCollection** ppItems) = 0;
  // Orders by a property ("[LastName]", "[Start]").
  virtual HRESULT Sort(BSTR pwszProperty, VARIANT_BOOL fDescending) = 0;
  // A new item of the folder's kind, written at its Save.
  virtual HRESULT Add(IDispatch** ppItem) = 0;
};

struct IContact : IDispatch {
  virtual HRESULT get_Oid(LONG* oid) = 0;
  virtual HRESULT get_FirstName(BSTR* value) = 0;
  virtual HRESULT get_LastName(BSTR* value) = 0;
  virtual HRESULT get_MiddleName(BSTR* value) = 0;
  virtual HRESULT get_FileAs(BSTR* value) = 0;
  virtual HRESULT get_CompanyName(BSTR* value) = 0;
  virtual HRESULT get_JobTitle(BSTR* value) = 0;
  virtual HRESULT get_Email1Address(BSTR* value) = 0;
  virtual HRESULT get_Email2Address(BSTR* value) = 0;
  virtual HRESULT get_Email3Address(BSTR* value) = 0;
  virtual HRESULT get_MobileTelephoneNumber(BSTR* value) = 0;
  virtual HRESULT get_AssistantTelephoneNumber(BSTR* value) = 0;
  virtual HRESULT get_BusinessTelephoneNumber(BSTR* value) = 0;
  virtual HRESULT get_Business2TelephoneNumber(BSTR* value) = 0;
  virtual HRESULT get_CarTelephoneNumber(BSTR* value) = 0;
  virtual HRESULT get_HomeTelephoneNumber(BSTR* value) = 0;
  virtual HRESULT get_Home2TelephoneNumber(BSTR* value) = 0;
  virtual HRESULT get_RadioTelephoneNumber(BSTR* value) = 0;
  virtual HRESULT get_PagerNumber(BSTR* value) = 0;
  virtual HRESULT get_HomeAddressStreet(BSTR* value) = 0;
  virtual HRESULT get_HomeAddressCity(BSTR* value) = 0;
  virtual HRESULT get_BusinessAddressStreet(BSTR* value) = 0;
  virtual HRESULT get_BusinessAddressCity(BSTR* value) = 0;
  virtual HRESULT get_Title(BSTR* value) = 0;
  virtual HRESULT get_Suffix(BSTR* value) = 0;
  virtual HRESULT get_Department(BSTR* value) = 0;
  virtual HRESULT get_OfficeLocation(BSTR* value) = 0;
  virtual HRESULT get_AssistantName(BSTR* value) = 0;
  virtual HRESULT get_HomeAddressState(BSTR* value) = 0;
  virtual HRESULT get_HomeAddressPostalCode(BSTR* value) = 0;
  virtual HRESULT get_HomeAddressCountry(BSTR* value) = 0;
  virtual HRESULT get_BusinessAddressState(BSTR* value) = 0;
  virtual HRESULT get_BusinessAddressPostalCode(BSTR* value) = 0;
  virtual HRESULT get_BusinessAddressCountry(BSTR* value) = 0;
  virtual HRESULT get_OtherAddressStreet(BSTR* value) = 0;
  virtual HRESULT get_OtherAddressCity(BSTR* value) = 0;
  virtual HRESULT get_OtherAddressState(BSTR* value) = 0;
  virtual HRESULT get_OtherAddressPostalCode(BSTR* value) = 0;
  virtual HRESULT get_OtherAddressCountry(BSTR* value) = 0;
  virtual HRESULT get_Birthday(DATE* value) = 0;
  virtual HRESULT get_Body(BSTR* value) = 0;
  // The device path of the contact's picture; empty when it has none.
  virtual HRESULT get_Picture(BSTR* value) = 0;
  virtual HRESULT put_FirstName(BSTR value) = 0;
  virtual HRESULT put_LastName(BSTR value) = 0;
  virtual HRESULT put_MobileTelephoneNumber(BSTR value) = 0;
  virtual HRESULT put_HomeTelephoneNumber(BSTR value) = 0;
  virtual HRESULT put_BusinessTelephoneNumber(BSTR value) = 0;
  virtual HRESULT Save() = 0;
  virtual HRESULT Delete() = 0;
};

struct ITask : IDispatch {
  virtual HRESULT get_Oid(LONG* oid) = 0;
  virtual HRESULT get_Subject(BSTR* value) = 0;
  virtual HRESULT get_StartDate(DATE* value) = 0;
  virtual HRESULT get_DueDate(DATE* value) = 0;
  virtual HRESULT get_DateCompleted(DATE* value) = 0;
  virtual HRESULT get_Complete(VARIANT_BOOL* value) = 0;
  virtual HRESULT get_Importance(LONG* value) = 0;
  virtual HRESULT get_Categories(BSTR* value) = 0;
  virtual HRESULT get_Body(BSTR* value) = 0;
  virtual HRESULT put_Subject(BSTR value) = 0;
  virtual HRESULT put_DueDate(DATE value) = 0;
  virtual HRESULT put_Complete(VARIANT_BOOL value) = 0;
  virtual HRESULT Save() = 0;
  virtual HRESULT Delete() = 0;
};

struct IAppointment : IDispatch {
  virtual HRESULT get_Oid(LONG* oid) = 0;
  virtual HRESULT get_Subject(BSTR* value) = 0;
  virtual HRESULT get_Location(BSTR* value) = 0;
  virtual HRESULT get_Start(DATE* value) = 0;
  virtual HRESULT get_End(DATE* value) = 0;
  virtual HRESULT get_AllDayEvent(VARIANT_BOOL* value) = 0;
  virtual HRESULT get_Duration(LONG* minutes) = 0;
  virtual HRESULT get_ReminderMinutesBeforeStart(LONG* minutes) = 0;
  virtual HRESULT get_Categories(BSTR* value) = 0;
  virtual HRESULT get_Body(BSTR* value) = 0;
  virtual HRESULT put_Subject(BSTR value) = 0;
  virtual HRESULT put_Start(DATE value) = 0;
  virtual HRESULT put_End(DATE value) = 0;
  virtual HRESULT Save() = 0;
  virtual HRESULT Delete() = 0;
};
