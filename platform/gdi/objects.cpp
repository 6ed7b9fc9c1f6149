#include "platform/gdi/objects.h"

#include <array>
#include <cstring>

#include "platform/gdi/dc.h"
#include "platform/win32/errors.h"

namespace gdi::detail {

namespace {

// A handle is (generation << 32) | (slot << 4) | kind; slot 0 is never used,
// so no handle is null, and a reused slot gets a new generation.
struct Slot {
  std::unique_ptr<Object> object;
  std::uint32_t generation = 1;
};

struct Table {
  std::mutex mutex;
  std::vector<Slot> slots{1};
  std::vector<std::uint32_t> freeSlots;
  int live = 0;
  int stockCount = 0;
};

Table& TheTable() {
  static Table* table = new Table;  // never destroyed: handles may be used during exit
  return *table;
}

std::uintptr_t Encode(std::uint32_t slot, std::uint32_t generation, Kind kind) {
  return (static_cast<std::uintptr_t>(generation) << 32) | (static_cast<std::uintptr_t>(slot) << 4) |
         static_cast<std::uintptr_t>(kind);
}

// The slot of a live handle, or null. The table lock must be held.
Slot* Decode(Table& t, const void* handle) {
  const auto v = reinterpret_cast<std::uintptr_t>(handle);
  const std::uint32_t slot = static_cast<std::uint32_t>((v >> 4) & 0x0FFFFFFFu);
  const std::uint32_t generation = static_cast<std::uint32_t>(v >> 32);
  const Kind kind = static_cast<Kind>(v & 0xF);
  if (slot == 0 || slot >= t.slots.size()) return nullptr;
  Slot& s = t.slots[slot];
  if (!s.object || s.generation != generation || s.object->kind != kind) return nullptr;
  return &s;
}

}  // namespace

void* Register(std::unique_ptr<Object> object) {
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  std::uint32_t slot;
  if (!t.freeSlots.empty()) {
    slot = t.freeSlots.back();
    t.freeSlots.pop_back();
  } else {
    slot = static_cast<std::uint32_t>(t.slots.size());
    t.slots.emplace_back();
  }
  Slot& s = t.slots[slot];
  const Kind kind = object->kind;
  if (object->stock) ++t.stockCount;
  s.object = std::move(object);
  ++t.live;
  return reinterpret_cast<void*>(Encode(slot, s.generation, kind));
}

Object* Lookup(const void* handle) {
  if (!handle) return nullptr;
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  Slot* s = Decode(t, handle);
  if (!s) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return s->object.get();
}

DcObj* LookupDc(const void* h) { return LookupAs<DcObj>(h, Kind::Dc); }

Kind KindOf(const void* handle) {
  if (!handle) return Kind::None;
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  Slot* s = Decode(t, handle);
  return s ? s->object->kind : Kind::None;
}

bool Unregister(const void* handle) {
  std::unique_ptr<Object> doomed;  // destroyed outside the lock
  {
    Table& t = TheTable();
    std::lock_guard lock(t.mutex);
    Slot* s = Decode(t, handle);
    if (!s) return false;
    doomed = std::move(s->object);
    if (++s->generation == 0) s->generation = 1;
    t.freeSlots.push_back(static_cast<std::uint32_t>(s - t.slots.data()));
    --t.live;
  }
  return true;
}

int LiveCount() {
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  return t.live - t.stockCount;
}

namespace {

void* MakeStockBrush(COLORREF c, UINT style, bool dcBrush = false) {
  auto b = std::make_unique<BrushObj>();
  b->stock = true;
  b->style = style;
  b->color = c;
  b->dcBrush = dcBrush;
  return Register(std::move(b));
}

void* MakeStockPen(COLORREF c, int style, bool dcPen = false) {
  auto p = std::make_unique<PenObj>();
  p->stock = true;
  p->style = style;
  p->color = c;
  p->dcPen = dcPen;
  return Register(std::move(p));
}

void* MakeStockFont(const char16_t* face, int weight, BYTE pitch) {
  auto f = std::make_unique<FontObj>();
  f->stock = true;
  f->logfont.lfWeight = weight;
  f->logfont.lfPitchAndFamily = pitch;
  for (int i = 0; face[i] && i < LF_FACESIZE - 1; ++i) f->logfont.lfFaceName[i] = face[i];
  return Register(std::move(f));
}

void* MakeStockBitmap() {
  // The 1x1 monochrome bitmap every new memory DC starts with.
  auto b = std::make_unique<BitmapObj>();
  b->stock = true;
  b->width = 1;
  b->height = 1;
  b->bitsPixel = 1;
  b->pixels = gdi::AllocatePixels(1);
  b->pixels[0] = 0xFF000000u;
  return Register(std::move(b));
}

}  // namespace

void* Stock(int id) {
  // Made once, in a thread-safe static initialiser.
  static const std::array<void*, 21> stock = [] {
    std::array<void*, 21> s{};
    s[WHITE_BRUSH] = MakeStockBrush(RGB(255, 255, 255), BS_SOLID);
    s[LTGRAY_BRUSH] = MakeStockBrush(RGB(192, 192, 192), BS_SOLID);
    s[GRAY_BRUSH] = MakeStockBrush(RGB(128, 128, 128), BS_SOLID);
    s[DKGRAY_BRUSH] = MakeStockBrush(RGB(64, 64, 64), BS_SOLID);
    s[BLACK_BRUSH] = MakeStockBrush(RGB(0, 0, 0), BS_SOLID);
    s[NULL_BRUSH] = MakeStockBrush(0, BS_NULL);
    s[WHITE_PEN] = MakeStockPen(RGB(255, 255, 255), PS_SOLID);
    s[BLACK_PEN] = MakeStockPen(RGB(0, 0, 0), PS_SOLID);
    s[NULL_PEN] = MakeStockPen(0, PS_NULL);
    s[OEM_FIXED_FONT] = MakeStockFont(u"Courier New", FW_NORMAL, FIXED_PITCH | FF_MODERN);
    s[ANSI_FIXED_FONT] = s[OEM_FIXED_FONT];
    s[SYSTEM_FIXED_FONT] = s[OEM_FIXED_FONT];
    s[ANSI_VAR_FONT] = MakeStockFont(u"Tahoma", FW_NORMAL, VARIABLE_PITCH | FF_SWISS);
    s[SYSTEM_FONT] = s[ANSI_VAR_FONT];
    s[DEVICE_DEFAULT_FONT] = s[ANSI_VAR_FONT];
    s[DEFAULT_GUI_FONT] = s[ANSI_VAR_FONT];
    s[DC_BRUSH] = MakeStockBrush(RGB(255, 255, 255), BS_SOLID, true);
    s[DC_PEN] = MakeStockPen(RGB(0, 0, 0), PS_SOLID, true);
    s[20] = MakeStockBitmap();
    return s;
  }();
  if (id < 0 || id >= static_cast<int>(stock.size())) return nullptr;
  return stock[static_cast<std::size_t>(id)];
}

}  // namespace gdi::detail
