// CmivoStatusGadget: what the status gadgets (battery, operator, signal,
// the unread and missed counts, tasks, Bluetooth, alarm, memory, radio
// switch, volume) share on top of the icon-text family: a skin image chosen
// from the class's shared images, a state value of the device they follow
// through a state notification, and a repaint of their own rectangle only
// when what they show changed.
//
// CmivoNotifiedCountGadget is the plain member: it follows one DWORD state
// value and shows it as a number (or a percentage) under or beside one image;
// the members differ only in their value, image, defaults and taps.
#pragma once

#include <string>

#include "desktop/icon_text_gadget.h"
#include "platform/win32/registry_defs.h"

class mivoSharedSkinImages;
class mivoSkinImage;

// A state value of the device: root key, key path and value name.
struct mivoStateValue {
  HKEY root;
  const char16_t* key;
  const char16_t* name;
};

// The text style a member starts with (the text colour is the theme's).
struct mivoStatusStyle {
  int textPosition;  // kText*
  int textSize;      // points
};

class CmivoStatusGadget : public CmivoIconTextGadget {
 public:
  // `images` are the class's shared images; `style` its starting text style
  // (bold, neither italic nor underlined, in the theme's text colour).
  CmivoStatusGadget(mivoCore* core, CmivoDesktopPage* page, DWORD typeId, mivoSharedSkinImages& images,
                    const mivoStatusStyle& style);
  // Closes a notification that is still open.
  ~CmivoStatusGadget() override;

  // Paints as the family does, with the text made smaller where the text
  // and the picture would not fit in the gadget at the chosen size.
  void Paint(HDC dc) override;
  // While painting, the style with the fitted text size; else the gadget's own.
  mivoIconTextStyle& GetStyle() override;
  // The current image's natural size, (0, 0) without one.
  SIZE GetImageSize() override;
  RECT DrawImage(HDC dc, const RECT& rect, UINT alignment) override;
  // Every image of the class, in the class's order.
  void CollectImages(std::vector<mivoSkinImage*>& images) override;
  // The current image's name.
  std::u16string GetDumpImage() override;
  // Closes the state notification, unregisters the state message and the timer.
  void OnDeactivate() override;

 protected:
  // The image shown now; the class's first by default, null for none.
  virtual mivoSkinImage* CurrentImage();
  // The shared images, looked up when needed.
  mivoSharedSkinImages& Images();
  // Registers a state message with the desktop page and a notification of
  // every change of the value to it. Call from OnActivate.
  void WatchState(const mivoStateValue& value);
  // A DWORD value, 0 when it is missing or of another type.
  static DWORD ReadDword(const mivoStateValue& value);
  // Takes the text; when it or the current image differs from what shows,
  // the gadget's rectangle is repainted.
  void Show(std::u16string text);
  // Repaints when the current image differs from the one shown last.
  void ShowImageChange() { Show(m_text); }
  // The style to paint with: the gadget's own, its text size lowered step by
  // step (not below kMinFittedPoints) until the block of the picture and the
  // text fits in the gadget's rectangle.
  mivoIconTextStyle FittedStyle(HDC dc);
  static constexpr int kMinFittedPoints = 8;

 private:
  mivoSharedSkinImages& m_images;         // the class's, shared; looked up on first use
  HREGNOTIFY m_notify = nullptr;          // the state notification; null when none is open
  bool m_watching = false;                // a state message is registered
  mivoSkinImage* m_shownImage = nullptr;  // the image when Show last repainted
  mivoIconTextStyle m_paintStyle;         // the fitted style, while Paint runs
  bool m_painting = false;                // Paint runs: GetStyle gives m_paintStyle
};

class CmivoNotifiedCountGadget : public CmivoStatusGadget {
 public:
  // pattern: "%d" or "%d%%", formatted with the value.
  CmivoNotifiedCountGadget(mivoCore* core, CmivoDesktopPage* page, DWORD typeId, mivoSharedSkinImages& images,
                           const mivoStatusStyle& style, const mivoStateValue& value, const char16_t* pattern);

  // Follows the value, and reads it.
  void OnActivate() override;
  // Reads the value and shows it.
  void OnStateChanged(WPARAM wParam, LPARAM lParam) override;

 private:
  mivoStateValue m_value;     // what it follows
  const char16_t* m_pattern;  // how the number is written
};
