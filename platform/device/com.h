// The few pieces of COM the phone's object models are reached through:
// interface identifiers, IUnknown, CoCreateInstance of the classes this
// platform provides, BSTR texts and OLE Automation dates.
//
// Every object handed out starts with one reference that the receiver gives
// back with Release.
#pragma once

#include <cstdint>

#include "platform/win32/types.h"

struct GUID {
  std::uint32_t Data1 = 0;
  std::uint16_t Data2 = 0;
  std::uint16_t Data3 = 0;
  std::uint8_t Data4[8] = {};
};
using IID = GUID;
using CLSID = GUID;
using REFIID = const IID&;
using REFCLSID = const CLSID&;
using LPCIID = const IID*;

bool operator==(const GUID& a, const GUID& b);
inline bool IsEqualGUID(const GUID& a, const GUID& b) { return a == b; }

extern const IID IID_IUnknown;
extern const IID IID_IDispatch;

struct IUnknown {
  // S_OK and a new reference in *object, or E_NOINTERFACE and null.
  virtual HRESULT QueryInterface(REFIID iid, void** object) = 0;
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;

 protected:
  virtual ~IUnknown() = default;
};
using LPUNKNOWN = IUnknown*;

// The automation base of the Outlook object model; its late-bound calls are
// not offered (callers use the interfaces' own operations).
struct IDispatch : IUnknown {};

constexpr DWORD COINIT_MULTITHREADED = 0x0;
constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154u);
constexpr HRESULT CO_E_NOTINITIALIZED = static_cast<HRESULT>(0x800401F0u);
constexpr HRESULT CLASS_E_NOAGGREGATION = static_cast<HRESULT>(0x80040110u);

// Counted per thread as on the platform: each successful call needs its CoUninitialize.
HRESULT CoInitializeEx(LPVOID reserved, DWORD flags);
void CoUninitialize();
// Makes an object of a class this platform provides (the Outlook application,
// platform/device/poom.h). REGDB_E_CLASSNOTREG for any other class,
// CO_E_NOTINITIALIZED before CoInitializeEx on this thread.
HRESULT CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* object);

// A class a platform component offers to CoCreateInstance.
using ClassFactoryFn = HRESULT (*)(REFIID iid, LPVOID* object);
void RegisterComClass(const CLSID& clsid, ClassFactoryFn create);

// ---- Automation types ----------------------------------------------------------

// A length-prefixed UTF-16 text; null is the empty text.
using BSTR = char16_t*;
BSTR SysAllocString(const char16_t* text);
BSTR SysAllocStringLen(const char16_t* text, UINT length);
void SysFreeString(BSTR text);
UINT SysStringLen(BSTR text);

using VARIANT_BOOL = short;
constexpr VARIANT_BOOL VARIANT_TRUE = -1;
constexpr VARIANT_BOOL VARIANT_FALSE = 0;

// Days since 1899-12-30 00:00; the fraction is the time of day.
using DATE = double;
// TRUE on success; FALSE for a value outside the years 100 to 9999.
INT VariantTimeToSystemTime(DATE time, LPSYSTEMTIME st);
INT SystemTimeToVariantTime(const SYSTEMTIME* st, DATE* time);
