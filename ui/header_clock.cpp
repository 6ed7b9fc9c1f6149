#include "ui/header_clock.h"

#include "platform/win32/clock.h"
#include "platform/win32/text.h"

namespace ui {

std::u16string HeaderClockText() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return text::Format(u"%02d:%02d", static_cast<int>(now.wHour), static_cast<int>(now.wMinute));
}

}  // namespace ui
