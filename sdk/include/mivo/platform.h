/*
 * mivo/platform.h: the part of the phone platform a plug-in may call.
 *
 * mivo runs its plug-ins in its own process and hands them the platform it is
 * written against: device contexts, pens, brushes, fonts and text, bitmaps and
 * pictures, windows, messages and timers, the registry and the clock, with the
 * platform's names, types and values. The mivo program exports exactly the
 * functions declared below with MIVOAPI; a plug-in links against nothing else
 * of mivo (the names are resolved when mivo loads the library).
 *
 * Types are those of the platform, with the sizes of this host: a handle is a
 * pointer, LONG and DWORD are 32 bits, WPARAM, LPARAM and LRESULT are as wide
 * as a pointer. Text is UTF-16: WCHAR is char16_t (in C, the uint_least16_t of
 * <uchar.h>), so u"text" (or TEXT("text")) is a WCHAR string.
 *
 * Every function checks its handles: a stale or wrong one fails the call.
 * Call them on the thread mivo calls the plug-in on, never from a thread of
 * your own (PostMessageW is the one exception).
 */
#ifndef MIVO_PLATFORM_H
#define MIVO_PLATFORM_H

#include <stddef.h>
#include <stdint.h>
#ifndef __cplusplus
#include <uchar.h>
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Marks the functions mivo exports to its plug-ins. */
#define MIVOAPI extern

/* ---- Scalar types ---------------------------------------------------------------------- */

typedef int BOOL;
typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef unsigned int UINT;
typedef int INT;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef int16_t SHORT;
typedef uint16_t USHORT;
typedef uintptr_t UINT_PTR;
typedef intptr_t INT_PTR;
typedef intptr_t LONG_PTR;
typedef uintptr_t ULONG_PTR;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef int32_t HRESULT;
typedef uint32_t COLORREF; /* 0x00BBGGRR */
typedef WORD ATOM;
typedef DWORD REGSAM;

typedef char16_t WCHAR;
typedef WCHAR* LPWSTR;
typedef const WCHAR* LPCWSTR;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef BYTE* LPBYTE;
typedef DWORD* LPDWORD;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
#ifndef MAX_PATH
#define MAX_PATH 260
#endif

/* A UTF-16 literal: TEXT("Moon") is u"Moon". */
#define TEXT(s) u##s

/* ---- Handles ----------------------------------------------------------------------------- */

#define MIVO_DECLARE_HANDLE(name) \
  struct name##__;                \
  typedef struct name##__* name

MIVO_DECLARE_HANDLE(HWND);
MIVO_DECLARE_HANDLE(HINSTANCE);
MIVO_DECLARE_HANDLE(HMENU);
MIVO_DECLARE_HANDLE(HDC);
MIVO_DECLARE_HANDLE(HBITMAP);
MIVO_DECLARE_HANDLE(HPEN);
MIVO_DECLARE_HANDLE(HBRUSH);
MIVO_DECLARE_HANDLE(HFONT);
MIVO_DECLARE_HANDLE(HRGN);
MIVO_DECLARE_HANDLE(HICON);
MIVO_DECLARE_HANDLE(HKEY);
typedef HICON HCURSOR;
typedef HINSTANCE HMODULE;
typedef void* HGDIOBJ;
typedef void* HANDLE;
typedef HKEY* PHKEY;

/* ---- Structures -------------------------------------------------------------------------- */

typedef struct tagPOINT {
  LONG x;
  LONG y;
} POINT;

typedef struct tagSIZE {
  LONG cx;
  LONG cy;
} SIZE;

typedef struct tagRECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
} RECT;

typedef struct tagMSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
} MSG;

typedef struct _SYSTEMTIME {
  WORD wYear;
  WORD wMonth;     /* 1..12 */
  WORD wDayOfWeek; /* 0 = Sunday */
  WORD wDay;       /* 1..31 */
  WORD wHour;
  WORD wMinute;
  WORD wSecond;
  WORD wMilliseconds;
} SYSTEMTIME;

#define LF_FACESIZE 32

typedef struct _FILETIME {
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
} FILETIME;

/* Passed as null: the platform has no security attributes. */
typedef struct SECURITY_ATTRIBUTES SECURITY_ATTRIBUTES;

typedef struct tagLOGFONTW {
  LONG lfHeight; /* < 0: the character (em) height in pixels; > 0: the cell height */
  LONG lfWidth;
  LONG lfEscapement;
  LONG lfOrientation;
  LONG lfWeight; /* FW_NORMAL, FW_BOLD */
  BYTE lfItalic;
  BYTE lfUnderline;
  BYTE lfStrikeOut;
  BYTE lfCharSet;
  BYTE lfOutPrecision;
  BYTE lfClipPrecision;
  BYTE lfQuality;
  BYTE lfPitchAndFamily;
  WCHAR lfFaceName[LF_FACESIZE];
} LOGFONTW;

typedef struct tagTEXTMETRICW {
  LONG tmHeight;
  LONG tmAscent;
  LONG tmDescent;
  LONG tmInternalLeading;
  LONG tmExternalLeading;
  LONG tmAveCharWidth;
  LONG tmMaxCharWidth;
  LONG tmWeight;
  LONG tmOverhang;
  LONG tmDigitizedAspectX;
  LONG tmDigitizedAspectY;
  WCHAR tmFirstChar;
  WCHAR tmLastChar;
  WCHAR tmDefaultChar;
  WCHAR tmBreakChar;
  BYTE tmItalic;
  BYTE tmUnderlined;
  BYTE tmStruckOut;
  BYTE tmPitchAndFamily;
  BYTE tmCharSet;
} TEXTMETRICW;

typedef struct tagBITMAP {
  LONG bmType;
  LONG bmWidth;
  LONG bmHeight;
  LONG bmWidthBytes;
  WORD bmPlanes;
  WORD bmBitsPixel;
  LPVOID bmBits;
} BITMAP;

typedef struct tagBITMAPINFOHEADER {
  DWORD biSize; /* 40 */
  LONG biWidth;
  LONG biHeight; /* > 0: rows bottom-up; < 0: top-down */
  WORD biPlanes;
  WORD biBitCount;
  DWORD biCompression;
  DWORD biSizeImage;
  LONG biXPelsPerMeter;
  LONG biYPelsPerMeter;
  DWORD biClrUsed;
  DWORD biClrImportant;
} BITMAPINFOHEADER;

typedef struct tagRGBQUAD {
  BYTE rgbBlue;
  BYTE rgbGreen;
  BYTE rgbRed;
  BYTE rgbReserved;
} RGBQUAD;

typedef struct tagBITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[1];
} BITMAPINFO;

typedef struct _BLENDFUNCTION {
  BYTE BlendOp;
  BYTE BlendFlags;
  BYTE SourceConstantAlpha;
  BYTE AlphaFormat; /* AC_SRC_ALPHA: premultiplied alpha per pixel */
} BLENDFUNCTION;

typedef LRESULT (*WNDPROC)(HWND, UINT, WPARAM, LPARAM);
typedef void (*TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);

typedef struct tagWNDCLASSW {
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCWSTR lpszMenuName;
  LPCWSTR lpszClassName;
} WNDCLASSW;

typedef struct tagCREATESTRUCTW {
  LPVOID lpCreateParams;
  HINSTANCE hInstance;
  HMENU hMenu;
  HWND hwndParent;
  int cy;
  int cx;
  int y;
  int x;
  LONG style;
  LPCWSTR lpszName;
  LPCWSTR lpszClass;
  DWORD dwExStyle;
} CREATESTRUCTW;

typedef struct tagPAINTSTRUCT {
  HDC hdc;
  BOOL fErase;
  RECT rcPaint;
  BOOL fRestore;
  BOOL fIncUpdate;
  BYTE rgbReserved[32];
} PAINTSTRUCT;

/* ---- Packing macros ---------------------------------------------------------------------- */

#define LOWORD(v) ((WORD)(((uintptr_t)(v)) & 0xFFFF))
#define HIWORD(v) ((WORD)((((uintptr_t)(v)) >> 16) & 0xFFFF))
#define MAKELONG(lo, hi) ((DWORD)(((WORD)(lo)) | (((DWORD)((WORD)(hi))) << 16)))
#define MAKELPARAM(lo, hi) ((LPARAM)MAKELONG(lo, hi))
#define GET_X_LPARAM(lp) ((int)(SHORT)LOWORD(lp))
#define GET_Y_LPARAM(lp) ((int)(SHORT)HIWORD(lp))
#define RGB(r, g, b) ((COLORREF)(((BYTE)(r)) | (((DWORD)(BYTE)(g)) << 8) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(c) ((BYTE)((c)&0xFF))
#define GetGValue(c) ((BYTE)(((c) >> 8) & 0xFF))
#define GetBValue(c) ((BYTE)(((c) >> 16) & 0xFF))

/* ---- Messages ------------------------------------------------------------------------------ */

#define WM_NULL 0x0000
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_MOVE 0x0003
#define WM_SIZE 0x0005
#define WM_ACTIVATE 0x0006
#define WM_SETFOCUS 0x0007
#define WM_KILLFOCUS 0x0008
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_ERASEBKGND 0x0014
#define WM_SHOWWINDOW 0x0018
#define WM_SETTINGCHANGE 0x001A
#define WM_TIMECHANGE 0x001E
#define WM_NCCREATE 0x0081
#define WM_NCDESTROY 0x0082
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_CHAR 0x0102
#define WM_COMMAND 0x0111
#define WM_TIMER 0x0113
#define WM_MOUSEMOVE 0x0200
#define WM_LBUTTONDOWN 0x0201
#define WM_LBUTTONUP 0x0202
#define WM_CAPTURECHANGED 0x0215
#define WM_SETFONT 0x0030
#define WM_GETFONT 0x0031
#define WM_USER 0x0400
#define WM_APP 0x8000

#define MK_LBUTTON 0x0001

/* Window styles. */
#define WS_OVERLAPPED 0x00000000u
#define WS_POPUP 0x80000000u
#define WS_CHILD 0x40000000u
#define WS_VISIBLE 0x10000000u
#define WS_DISABLED 0x08000000u
#define WS_CLIPSIBLINGS 0x04000000u
#define WS_CLIPCHILDREN 0x02000000u
#define WS_BORDER 0x00800000u
#define WS_EX_TOPMOST 0x00000008u
#define WS_EX_NOACTIVATE 0x08000000u

/* Class styles and window longs. */
#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002
#define CS_DBLCLKS 0x0008
#define GWL_WNDPROC (-4)
#define GWL_HINSTANCE (-6)
#define GWL_STYLE (-16)
#define GWL_EXSTYLE (-20)
#define GWL_USERDATA (-21)
#define GWL_ID (-12)

/* Show commands. */
#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_SHOWNOACTIVATE 4
#define SW_SHOW 5
#define SW_SHOWNA 8

/* Message boxes. */
#define MB_OK 0x00000000u
#define MB_OKCANCEL 0x00000001u
#define MB_YESNO 0x00000004u
#define MB_ICONERROR 0x00000010u
#define MB_ICONQUESTION 0x00000020u
#define MB_ICONWARNING 0x00000030u
#define MB_ICONINFORMATION 0x00000040u
#define IDOK 1
#define IDCANCEL 2
#define IDYES 6
#define IDNO 7

/* System metrics. */
#define SM_CXSCREEN 0
#define SM_CYSCREEN 1
#define SM_CYCAPTION 4
#define SM_CXICON 11
#define SM_CYICON 12
#define SM_CYMENU 15

/* Virtual keys. */
#define VK_BACK 0x08
#define VK_RETURN 0x0D
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_F1 0x70
#define VK_F2 0x71

/* ---- Drawing constants ------------------------------------------------------------------------ */

#define SRCCOPY 0x00CC0020u
#define SRCPAINT 0x00EE0086u
#define SRCAND 0x008800C6u
#define SRCINVERT 0x00660046u
#define PATCOPY 0x00F00021u
#define PATINVERT 0x005A0049u
#define DSTINVERT 0x00550009u
#define BLACKNESS 0x00000042u
#define WHITENESS 0x00FF0062u

#define R2_COPYPEN 13
#define R2_XORPEN 7
#define R2_NOT 6

#define TRANSPARENT 1
#define OPAQUE 2

#define PS_SOLID 0
#define PS_DASH 1
#define PS_DOT 2
#define PS_NULL 5

#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define SYSTEM_FONT 13

#define LOGPIXELSX 88
#define LOGPIXELSY 90

#define FW_NORMAL 400
#define FW_BOLD 700
#define DEFAULT_CHARSET 1
#define CLEARTYPE_QUALITY 5
#define ANTIALIASED_QUALITY 4
#define FF_SWISS 0x20
#define VARIABLE_PITCH 2

#define ETO_OPAQUE 0x0002
#define ETO_CLIPPED 0x0004
#define TA_LEFT 0
#define TA_RIGHT 2
#define TA_CENTER 6
#define TA_TOP 0
#define TA_BOTTOM 8
#define TA_BASELINE 24

#define DT_TOP 0x00000000u
#define DT_LEFT 0x00000000u
#define DT_CENTER 0x00000001u
#define DT_RIGHT 0x00000002u
#define DT_VCENTER 0x00000004u
#define DT_BOTTOM 0x00000008u
#define DT_WORDBREAK 0x00000010u
#define DT_SINGLELINE 0x00000020u
#define DT_NOCLIP 0x00000100u
#define DT_CALCRECT 0x00000400u
#define DT_NOPREFIX 0x00000800u
#define DT_END_ELLIPSIS 0x00008000u

#define BI_RGB 0
#define DIB_RGB_COLORS 0
#define AC_SRC_OVER 0x00
#define AC_SRC_ALPHA 0x01

/* ---- Registry ------------------------------------------------------------------------------- */

#define HKEY_CLASSES_ROOT ((HKEY)(uintptr_t)0x80000000u)
#define HKEY_CURRENT_USER ((HKEY)(uintptr_t)0x80000001u)
#define HKEY_LOCAL_MACHINE ((HKEY)(uintptr_t)0x80000002u)

#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4
#define REG_MULTI_SZ 7

#define KEY_QUERY_VALUE 0x0001
#define KEY_SET_VALUE 0x0002
#define KEY_READ 0x20019
#define KEY_WRITE 0x20006
#define KEY_ALL_ACCESS 0xF003F

#define ERROR_SUCCESS 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_MORE_DATA 234L
#define ERROR_NO_MORE_ITEMS 259L

#define S_OK ((HRESULT)0)
#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)

/* a * b / c with a 64-bit intermediate, rounded half away from zero; -1 when c is 0 or the result does not
 * fit. A font height from points: -MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72). */
static inline int MulDiv(int a, int b, int c) {
  long long p;
  unsigned long long n, d, q;
  int negative;
  if (c == 0) return -1;
  p = (long long)a * b;
  negative = (p < 0) != (c < 0);
  n = (unsigned long long)(p < 0 ? -p : p);
  d = (unsigned long long)(c < 0 ? -(long long)c : c);
  q = (n + d / 2) / d;
  if (q > 0x7FFFFFFFull) return -1;
  return negative ? -(int)q : (int)q;
}

/* ---- Device contexts ---------------------------------------------------------------------------- */

MIVOAPI HDC GetDC(HWND hwnd);
MIVOAPI int ReleaseDC(HWND hwnd, HDC dc);
MIVOAPI HDC CreateCompatibleDC(HDC dc);
MIVOAPI BOOL DeleteDC(HDC dc);
MIVOAPI int SaveDC(HDC dc);
MIVOAPI BOOL RestoreDC(HDC dc, int saved);
MIVOAPI HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
MIVOAPI BOOL DeleteObject(HGDIOBJ object);
MIVOAPI HGDIOBJ GetStockObject(int id);
MIVOAPI int GetObjectW(HGDIOBJ object, int size, LPVOID buffer);
MIVOAPI int GetDeviceCaps(HDC dc, int index);
MIVOAPI COLORREF SetTextColor(HDC dc, COLORREF color);
MIVOAPI COLORREF GetTextColor(HDC dc);
MIVOAPI COLORREF SetBkColor(HDC dc, COLORREF color);
MIVOAPI int SetBkMode(HDC dc, int mode);
MIVOAPI int SetROP2(HDC dc, int mode);
MIVOAPI UINT SetTextAlign(HDC dc, UINT align);
MIVOAPI int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
MIVOAPI int GetClipBox(HDC dc, RECT* box);

/* ---- Pens and brushes ------------------------------------------------------------------------------ */

MIVOAPI HPEN CreatePen(int style, int width, COLORREF color);
MIVOAPI HBRUSH CreateSolidBrush(COLORREF color);

/* ---- Shapes (aliased, in the current pen and brush) ------------------------------------------------- */

MIVOAPI int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
MIVOAPI int FrameRect(HDC dc, const RECT* rect, HBRUSH brush);
MIVOAPI BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
MIVOAPI BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
MIVOAPI BOOL Ellipse(HDC dc, int left, int top, int right, int bottom);
MIVOAPI BOOL Polygon(HDC dc, const POINT* points, int count);
MIVOAPI BOOL Polyline(HDC dc, const POINT* points, int count);
MIVOAPI BOOL MoveToEx(HDC dc, int x, int y, POINT* previous);
MIVOAPI BOOL LineTo(HDC dc, int x, int y);
MIVOAPI COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
MIVOAPI COLORREF GetPixel(HDC dc, int x, int y);
MIVOAPI BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop);

/* ---- Bitmaps and pictures -------------------------------------------------------------------------- */

MIVOAPI HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
/* A 32-bit section's bits are 0x00RRGGBB words, or premultiplied 0xAARRGGBB for AlphaBlend. */
MIVOAPI HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD offset);
MIVOAPI BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop);
MIVOAPI BOOL StretchBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                        int srcHeight, DWORD rop);
/* Copies the source without the pixels of the transparent colour. */
MIVOAPI BOOL TransparentBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                            int srcHeight, UINT transparent);
MIVOAPI BOOL AlphaBlend(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                        int srcHeight, BLENDFUNCTION blend);
/* A picture file (PNG, JPEG, GIF, BMP) at a device path as a bitmap with its alpha; null when it cannot be read. */
MIVOAPI HBITMAP SHLoadImageFile(LPCWSTR devicePath);

/* ---- Fonts and text ---------------------------------------------------------------------------------- */

MIVOAPI HFONT CreateFontIndirectW(const LOGFONTW* font);
MIVOAPI BOOL GetTextMetricsW(HDC dc, TEXTMETRICW* metrics);
MIVOAPI BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, SIZE* size);
MIVOAPI BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count, const int* dx);
/* count -1: the text up to its terminating zero. */
MIVOAPI int DrawTextW(HDC dc, LPCWSTR text, int count, RECT* rect, UINT format);

/* ---- Windows ------------------------------------------------------------------------------------------ */

MIVOAPI ATOM RegisterClassW(const WNDCLASSW* wc);
MIVOAPI BOOL UnregisterClassW(LPCWSTR className, HINSTANCE instance);
MIVOAPI HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                             int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param);
MIVOAPI BOOL DestroyWindow(HWND hwnd);
MIVOAPI BOOL IsWindow(HWND hwnd);
MIVOAPI LRESULT DefWindowProcW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
MIVOAPI BOOL ShowWindow(HWND hwnd, int cmdShow);
MIVOAPI BOOL IsWindowVisible(HWND hwnd);
MIVOAPI BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
MIVOAPI BOOL GetClientRect(HWND hwnd, RECT* rect);
MIVOAPI BOOL GetWindowRect(HWND hwnd, RECT* rect);
MIVOAPI BOOL ClientToScreen(HWND hwnd, POINT* pt);
MIVOAPI BOOL ScreenToClient(HWND hwnd, POINT* pt);
MIVOAPI HWND GetParent(HWND hwnd);
MIVOAPI LONG GetWindowLongW(HWND hwnd, int index);
MIVOAPI LONG SetWindowLongW(HWND hwnd, int index, LONG value);
/* Pointer-sized values (a pointer kept in GWL_USERDATA). */
MIVOAPI LONG_PTR GetWindowLongPtrW(HWND hwnd, int index);
MIVOAPI LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value);
MIVOAPI BOOL SetWindowTextW(HWND hwnd, LPCWSTR text);
MIVOAPI int GetWindowTextW(HWND hwnd, LPWSTR buffer, int maxCount);
MIVOAPI HWND SetCapture(HWND hwnd);
MIVOAPI BOOL ReleaseCapture(void);

/* ---- Painting -------------------------------------------------------------------------------------------- */

MIVOAPI HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps);
MIVOAPI BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps);
MIVOAPI BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
MIVOAPI BOOL UpdateWindow(HWND hwnd);

/* ---- Messages, timers, boxes and metrics -------------------------------------------------------------------- */

MIVOAPI LRESULT SendMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
/* The one call a thread of the plug-in's own may make. */
MIVOAPI BOOL PostMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
MIVOAPI UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc);
MIVOAPI BOOL KillTimer(HWND hwnd, UINT_PTR id);
/* The platform's plain message box; returns IDOK, IDYES, IDNO or IDCANCEL. */
MIVOAPI int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
MIVOAPI int GetSystemMetrics(int index);

/* ---- Clock (the device's: virtual and exact when mivo runs a script) ------------------------------------------ */

MIVOAPI void GetLocalTime(SYSTEMTIME* st);
MIVOAPI void GetSystemTime(SYSTEMTIME* st);
MIVOAPI DWORD GetTickCount(void);

/* ---- Registry (the device's) ---------------------------------------------------------------------------------- */

MIVOAPI LONG RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD options, REGSAM access, PHKEY result);
MIVOAPI LONG RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD reserved, LPWSTR keyClass, DWORD options, REGSAM access,
                             SECURITY_ATTRIBUTES* security, PHKEY result, LPDWORD disposition);
MIVOAPI LONG RegQueryValueExW(HKEY key, LPCWSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size);
MIVOAPI LONG RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD reserved, DWORD type, const BYTE* data, DWORD size);
MIVOAPI LONG RegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameLength, LPDWORD reserved, LPWSTR keyClass,
                           LPDWORD classLength, FILETIME* lastWrite);
MIVOAPI LONG RegEnumValueW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameLength, LPDWORD reserved, LPDWORD type,
                           LPBYTE data, LPDWORD dataSize);
MIVOAPI LONG RegDeleteValueW(HKEY key, LPCWSTR valueName);
MIVOAPI LONG RegCloseKey(HKEY key);
MIVOAPI HRESULT RegistryGetDWORD(HKEY root, LPCWSTR subKey, LPCWSTR valueName, DWORD* data);
MIVOAPI HRESULT RegistryGetString(HKEY root, LPCWSTR subKey, LPCWSTR valueName, LPWSTR data, UINT chars);
MIVOAPI HRESULT RegistrySetDWORD(HKEY root, LPCWSTR subKey, LPCWSTR valueName, DWORD data);
MIVOAPI HRESULT RegistrySetString(HKEY root, LPCWSTR subKey, LPCWSTR valueName, LPCWSTR data);

#ifdef __cplusplus
}
#endif

#endif /* MIVO_PLATFORM_H */
