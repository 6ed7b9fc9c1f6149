#include "look/gdi_bridge.h"

namespace look {

// Bitmaps come from the drawing layer once it exists; until then no model
// holds one.
void DeleteBitmap(HBITMAP) {}

}  // namespace look
