// The platform's GDI: device contexts, bitmaps, pens, brushes, fonts, regions,
// icons, shapes, blits and text, with the platform's names and signatures.
//
// Everything draws into 32-bit pixels 0xAARRGGBB (see surface.h). Handles are
// ids checked on every use: a stale or wrong handle fails the call (FALSE,
// null, 0 or GDI_ERROR as the platform answers) and never crashes.
//
// Conventions kept from the platform, which the system's code relies on:
// - Rectangles include their left and top edges and exclude their right and
//   bottom edges: FillRect(0,0,10,10) fills pixels 0..9.
// - Rectangle, RoundRect and Ellipse draw the outline with the selected pen
//   inside the given box (pixels left..right-1) and fill the inside with the
//   selected brush; with the null pen the filled area is one pixel smaller on
//   the right and bottom. LineTo leaves out the last pixel of a 1-pixel line.
// - A selected object is not deleted (DeleteObject fails); a bitmap is
//   selected into one memory DC at a time.
// - DrawTextW's DT_VCENTER and DT_BOTTOM act only together with DT_SINGLELINE.
//
// Where this differs from the phone platform (on purpose, each a mend):
// - CreateCompatibleBitmap always makes a colour bitmap, also for a memory DC
//   that still holds its initial 1x1 bitmap (the platform would make a
//   monochrome one there, a classic source of black pictures).
// - DIB sections of 1 to 24 bits are kept as 32-bit pixels: the bits pointer
//   always points at 32-bit 0xAARRGGBB pixels, rows top-down, whatever the
//   requested depth and the sign of biHeight. GetDeviceCaps(BITSPIXEL) answers
//   32, so DIBs made at the screen's depth are exactly what their caller asked.
// - StretchBlt that shrinks averages the source pixels (smooth thumbnails)
//   unless SetStretchBltMode(COLORONCOLOR) asks for dropped pixels; enlarging
//   repeats pixels.
// - DrawTextW with DT_WORDBREAK breaks a word that is wider than the rectangle
//   between characters instead of letting it run out of the rectangle; with
//   DT_END_ELLIPSIS the last line that fits in the rectangle ends with "..."
//   when more text follows.
#pragma once

#include <cstdint>

#include "platform/gdi/surface.h"
#include "platform/win32/gdi_defs.h"
#include "platform/win32/types.h"

// ---- Device contexts ---------------------------------------------------------------

HDC CreateCompatibleDC(HDC dc);  // dc may be null (the screen)
BOOL DeleteDC(HDC dc);
int SaveDC(HDC dc);                // the new depth, 0 on failure
BOOL RestoreDC(HDC dc, int saved);  // saved > 0: that level; < 0: relative (-1 the last)
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);  // the previous object; null (regions: ERROR) on failure
HGDIOBJ GetCurrentObject(HDC dc, UINT type);
HGDIOBJ GetStockObject(int id);
BOOL DeleteObject(HGDIOBJ object);
DWORD GetObjectType(HGDIOBJ object);
// BITMAP (or DIBSECTION), LOGPEN, LOGBRUSH, LOGFONTW; 0 on failure. With a null
// buffer the size needed is returned.
int GetObjectW(HGDIOBJ object, int size, LPVOID buffer);
int GetDeviceCaps(HDC dc, int index);

COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);
int SetROP2(HDC dc, int mode);
int GetROP2(HDC dc);
UINT SetTextAlign(HDC dc, UINT align);
UINT GetTextAlign(HDC dc);
int SetStretchBltMode(HDC dc, int mode);
int GetStretchBltMode(HDC dc);
int SetPolyFillMode(HDC dc, int mode);
BOOL SetBrushOrgEx(HDC dc, int x, int y, POINT* previous);
COLORREF SetDCBrushColor(HDC dc, COLORREF color);
COLORREF SetDCPenColor(HDC dc, COLORREF color);
BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT* previous);
BOOL GetViewportOrgEx(HDC dc, POINT* origin);
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, POINT* previous);

// ---- Bitmaps --------------------------------------------------------------------------

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
// bits: rows of `bitsPerPixel` (1, 4, 8, 16, 24 or 32), each padded to 16 bits,
// top-down; may be null (cleared). 1-bit: a set bit is white.
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
// See the note above on the bits pointer. usage is DIB_RGB_COLORS.
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD offset);

// ---- Pens and brushes ---------------------------------------------------------------------

HPEN CreatePen(int style, int width, COLORREF color);
HPEN CreatePenIndirect(const LOGPEN* pen);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateBrushIndirect(const LOGBRUSH* brush);
HBRUSH CreatePatternBrush(HBITMAP bitmap);

// ---- Regions and clipping ---------------------------------------------------------------------

HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const RECT* rect);
int CombineRgn(HRGN dst, HRGN a, HRGN b, int mode);  // region kind or ERROR
BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom);
int OffsetRgn(HRGN region, int dx, int dy);
int GetRgnBox(HRGN region, RECT* box);
BOOL PtInRegion(HRGN region, int x, int y);
BOOL RectInRegion(HRGN region, const RECT* rect);
BOOL EqualRgn(HRGN a, HRGN b);
BOOL FillRgn(HDC dc, HRGN region, HBRUSH brush);
// The clip region is in device units of the DC (its window's client area).
int SelectClipRgn(HDC dc, HRGN region);  // null region: no clip beyond the DC's own area
int ExtSelectClipRgn(HDC dc, HRGN region, int mode);
int GetClipRgn(HDC dc, HRGN region);     // 1 with a clip region, 0 without, -1 on error
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
int GetClipBox(HDC dc, RECT* box);
BOOL RectVisible(HDC dc, const RECT* rect);
BOOL PtVisible(HDC dc, int x, int y);

// ---- Shapes and pixels ---------------------------------------------------------------------------

int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
int FrameRect(HDC dc, const RECT* rect, HBRUSH brush);
BOOL InvertRect(HDC dc, const RECT* rect);
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
BOOL Ellipse(HDC dc, int left, int top, int right, int bottom);
BOOL Polygon(HDC dc, const POINT* points, int count);
BOOL Polyline(HDC dc, const POINT* points, int count);
BOOL MoveToEx(HDC dc, int x, int y, POINT* previous);
BOOL LineTo(HDC dc, int x, int y);
BOOL GetCurrentPositionEx(HDC dc, POINT* position);
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);  // CLR_INVALID outside the clip
COLORREF GetPixel(HDC dc, int x, int y);                  // CLR_INVALID outside the bitmap
BOOL DrawFocusRect(HDC dc, const RECT* rect);

// ---- Blits ----------------------------------------------------------------------------------------

BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop);
BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop);
BOOL StretchBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                int srcHeight, DWORD rop);
// Copies all but the pixels of the key colour, scaling as StretchBlt. The
// source may be a DC or a bitmap handle (HBITMAP passed as HANDLE), as on the
// phone platform.
BOOL TransparentImage(HDC dst, int x, int y, int width, int height, HANDLE src, int srcX, int srcY,
                      int srcWidth, int srcHeight, COLORREF transparent);
BOOL TransparentBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                    int srcHeight, UINT transparent);
// AC_SRC_ALPHA: source pixels are premultiplied with their alpha.
BOOL AlphaBlend(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                int srcHeight, BLENDFUNCTION blend);

// ---- Fonts and text -----------------------------------------------------------------------------------

HFONT CreateFontIndirectW(const LOGFONTW* font);
HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, LPCWSTR face);
BOOL GetTextMetricsW(HDC dc, TEXTMETRICW* metrics);
int GetTextFaceW(HDC dc, int count, LPWSTR face);
// count -1 (DrawTextW, ExtTextOutW never) means a terminated text.
BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, SIZE* size);
BOOL GetTextExtentExPointW(HDC dc, LPCWSTR text, int count, int maxExtent, int* fit, int* extents,
                           SIZE* size);
BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count,
                 const int* dx);
BOOL TextOutW(HDC dc, int x, int y, LPCWSTR text, int count);
int DrawTextW(HDC dc, LPCWSTR text, int count, RECT* rect, UINT format);

// ---- Icons ------------------------------------------------------------------------------------------------

HICON CreateIconIndirect(const ICONINFO* info);
BOOL GetIconInfo(HICON icon, ICONINFO* info);  // the bitmaps are new copies the caller deletes
BOOL DestroyIcon(HICON icon);
HICON CopyIcon(HICON icon);
BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int width, int height, UINT step, HBRUSH flickerFree,
                UINT flags);
BOOL DrawIcon(HDC dc, int x, int y, HICON icon);

namespace gdi {

// The logical resolution GetDeviceCaps(LOGPIXELSX/Y) reports, and that the
// default font follows: 96 on a QVGA screen, 192 on VGA. Set at start-up.
void SetLogPixels(int dpi);
int LogPixels();

// Reads the system's font configuration and the metrics of the faces most texts use, so that
// the first text drawn does not wait for them. Any thread; a start runs it beside other work.
void PrepareFonts();

// An icon from 32-bit pixels 0xAARRGGBB (straight alpha unless premultiplied).
HICON CreateIconFromPixels(int width, int height, const std::uint32_t* pixels, int stride, bool premultiplied);
// Width and height of an icon; false for a bad handle.
bool GetIconSize(HICON icon, int* width, int* height);

// Live GDI objects (all kinds, stock objects excluded): leak checks in tests.
int LiveObjectCount();

}  // namespace gdi
