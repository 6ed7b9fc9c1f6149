// The drawing primitives every list row, grid cell and caption is drawn
// with, so they share one look: Arial in four sizes, a text shadow in the
// background colour 2·S right of and below the text, pictures placed by
// alignment flags, every distance times DisplayScale.
//
// Item primitives draw the picture first, then set the text colour, the
// transparent background and the font and draw the text; they leave those
// selected. Only DrawTextWithShadow (text colour) and DrawSmallText (font and
// text colour) restore what they change.
#pragma once

#include <string_view>

#include "look/appearance.h"
#include "platform/imaging/imaging.h"
#include "platform/win32/gdi_defs.h"
#include "platform/win32/types.h"

// ---- Picture primitives ----

// Fills the rectangle with the theme's background (black without a look);
// an empty rectangle is left alone.
void FillBackground(HDC dc, const RECT& r, const mivoAppearance* look);

// Draws the bitmap's own size at the aligned place (TransparentImage with the
// key colour when `transparent`, else an opaque copy); returns (x, y, x + w, y + h).
RECT DrawBitmapAligned(mivoAppearance& appearance, HDC dc, HBITMAP bitmap, int left, int top, int right, int bottom,
                       UINT flags, bool transparent, COLORREF transparentColor);
// Draws an icon at its natural size; only centring (flags 1 and 4) applies.
// A monochrome icon's size is its mask's width and half the mask's height.
RECT DrawIconAligned(mivoAppearance& appearance, HDC dc, HICON icon, int left, int top, int right, int bottom,
                     UINT flags, bool destroy);
// The zero rectangle for a null image, else DrawSkinImage.
RECT DrawSkinImageIfAny(mivoAppearance& appearance, HDC dc, mivoSkinImage* image, const RECT& rect, UINT flags,
                        int mode);
// Fills an empty holder with the bitmap scaled into the box (aspect kept);
// a filled holder is left as it is.
void StretchBitmapToBox(mivoAppearance& appearance, HBITMAP bitmap, HBITMAP* holder, HDC dc, SIZE box);
// Fits (w, h) into (W, H) keeping the aspect: height H when the width then
// fits, else width W. Nothing happens for a missing pointer or an empty size.
void FitSizeInBox(int boxWidth, int boxHeight, int* width, int* height);
// Rows first to end - 1 of a vertical gradient over top..bottom, one
// one-pixel line per row.
void DrawVerticalGradient(HDC dc, COLORREF from, COLORREF to, int left, int top, int right, int bottom,
                          int firstRow, int endRow);

// A bitmap of the image's size filled with the background colour, the image
// drawn over it; null when drawing fails.
HBITMAP RenderImageToBitmap(IImage* image, COLORREF background);
// A thumbnail of a picture stream fitted into (*width, *height), rendered on
// white. On success the size becomes the fitted size; any failure returns
// E_FAIL and no bitmap.
HRESULT LoadImageStreamThumbnail(IStream* stream, int* width, int* height, HBITMAP* bitmap);

// ---- Text primitives ----

// Draws the text twice: in BackgroundColor as the shadow, then in the DC's
// text colour. Without DT_RIGHT and DT_BOTTOM the shadow moves 2·S right and
// down; with either the text moves 2·S left and up, so it stays inside the
// rectangle on the aligned side. Returns the text's height plus 2·S.
int DrawTextWithShadow(mivoAppearance& appearance, HDC dc, std::u16string_view text, const RECT& rect, UINT flags);
// SmallFont in TextColor inside the rectangle inset by S, no shadow.
void DrawSmallText(mivoAppearance& appearance, HDC dc, std::u16string_view text, const RECT& rect, UINT flags);

// ---- Item primitives ----

// A grid cell: the skin image centred at the top, the caption in a band
// 31·S high above the bottom, or lower where the picture reaches into the
// band: a caption never covers the picture. Captions and titles are laid out
// in whole words (look/fitted_text.h): in their own font when they fit, else
// in the small font, else cut with "...".
void DrawGridCellImage(mivoAppearance& appearance, HDC dc, mivoSkinImage* image, std::u16string_view caption,
                       const RECT& rect, int mode);
void DrawGridCellIcon(mivoAppearance& appearance, HDC dc, HICON icon, std::u16string_view caption, const RECT& rect,
                      bool destroy);
// Rows with a title (TitleFont, TextColor, shadow) centred in the row, or,
// with a subtitle, in the row less 10·S at the bottom; a title too wide for
// one line takes the lines there is room for; the subtitle
// (SubtitleFont, SubTextColor) has its bottom 2·S above the row's bottom.
void DrawRowBitmapTitleSubtitle(mivoAppearance& appearance, HDC dc, std::u16string_view title,
                                std::u16string_view subtitle, HBITMAP bitmap, const RECT& rect, bool transparent,
                                COLORREF transparentColor);
void DrawRowImageTitleSubtitle(mivoAppearance& appearance, HDC dc, mivoSkinImage* image, std::u16string_view title,
                               std::u16string_view subtitle, const RECT& rect, int mode);
void DrawRowTitleSubtitle(mivoAppearance& appearance, HDC dc, std::u16string_view title,
                          std::u16string_view subtitle, const RECT& rect);
// Rows with a word-wrapped title centred vertically; they return the height
// DrawTextWithShadow returned.
int DrawRowImageTitle(mivoAppearance& appearance, HDC dc, mivoSkinImage* image, std::u16string_view title,
                      const RECT& rect, int mode);
// With `measure` nothing is drawn: the wrapped title's height is returned
// (without the shadow's 2·S), for rows that size themselves to their title.
int DrawRowTitle(mivoAppearance& appearance, HDC dc, std::u16string_view title, const RECT& rect, bool measure);
int DrawRowIconTitle(mivoAppearance& appearance, HDC dc, HICON icon, std::u16string_view title, const RECT& rect,
                     bool destroy);

// ---- Wallpaper ----

// Copies the desktop's wallpaper from (sourceX, sourceY) into the rectangle,
// or fills it with BackgroundColor when the desktop has none.
void DrawWallpaper(mivoAppearance& appearance, HDC dc, int sourceX, int sourceY, const RECT& rect, int desktop,
                   bool landscape);

// DrawText flags of a row's subtitle (titles and captions are laid out by FitText).
constexpr UINT kRowSubtitleFlags = DT_END_ELLIPSIS | DT_NOPREFIX | DT_BOTTOM;  // 0x8808
