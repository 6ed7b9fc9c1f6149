// GDI constants and structures of the platform: raster operations, pens,
// brushes, fonts, DrawText flags, bitmaps.
#pragma once

#include "platform/win32/types.h"
