// Drawing shared by the kinds: an action is a skin image or a shell icon
// with its title, laid out by the toolkit as a list row, a grid tile or the
// picture alone.
#pragma once

#include <string_view>

#include "platform/win32/types.h"

class mivoAppearance;
class mivoCore;
class mivoSkinImage;

namespace action_draw {

// The look object, or null (no core: nothing can be drawn).
mivoAppearance* Look(mivoCore* core);
// The current skin's image of that name (looked up once per skin), or null.
mivoSkinImage* Image(mivoCore* core, std::u16string_view name);

// A skin image (may be null) with the title, and in a row the subtitle.
void DrawImageAction(mivoCore* core, HDC dc, const RECT& rect, int style, int mode, mivoSkinImage* image,
                     std::u16string_view title, std::u16string_view subtitle = {});
// A shell icon (may be null, not destroyed) with the title, and in a row the subtitle.
void DrawIconAction(mivoCore* core, HDC dc, const RECT& rect, int style, HICON icon, std::u16string_view title,
                    std::u16string_view subtitle = {});
// A picture (a contact's photo, not owned) with the title and subtitle; in
// a tile it is fitted into 65·S square with the small mark over its corner.
void DrawPhotoAction(mivoCore* core, HDC dc, const RECT& rect, int style, int mode, HBITMAP photo,
                     mivoSkinImage* mark, std::u16string_view title, std::u16string_view subtitle);

}  // namespace action_draw
