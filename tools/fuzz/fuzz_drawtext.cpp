// Fuzzes DrawTextW: any UTF-16 text (lone surrogates, prefixes, line feeds,
// tabs), any flags and rectangle, measured and drawn into a small DC.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static HDC dc = [] {
    HDC d = CreateCompatibleDC(nullptr);
    SelectObject(d, CreateCompatibleBitmap(d, 64, 48));
    SelectObject(d, CreateFontW(14, 0, 0, 0, FW_BOLD, 0, 1, 0, 0, 0, 0, 5, FF_SWISS, u"Arial"));
    return d;
  }();
  if (size < 10) return 0;
  std::uint32_t flags;
  std::memcpy(&flags, data, 4);
  const int w = static_cast<std::int8_t>(data[4]), h = static_cast<std::int8_t>(data[5]);
  const int x = static_cast<std::int8_t>(data[6]) / 4, y = static_cast<std::int8_t>(data[7]) / 4;
  std::u16string text((size - 8) / 2, u'\0');
  std::memcpy(text.data(), data + 8, text.size() * 2);
  RECT r = MakeRect(x, y, x + w, y + h);
  RECT calc = r;
  DrawTextW(dc, text.data(), static_cast<int>(text.size()), &calc, (flags | DT_CALCRECT) & ~DT_MODIFYSTRING);
  DrawTextW(dc, text.data(), static_cast<int>(text.size()), &r, flags & ~(DT_CALCRECT | DT_MODIFYSTRING));
  SIZE sz;
  int fit = 0;
  GetTextExtentExPointW(dc, text.data(), static_cast<int>(text.size()), w, &fit, nullptr, &sz);
  return 0;
}
