// CmivoButton: a child window showing one skin image that tells its parent
// when it is tapped (WM_COMMAND with its id, posted when the stylus is
// lifted over it). The phone keypad and the SMS reading page are built of
// them.
#pragma once

#include <string>

#include "core/mivo_class.h"
#include "platform/window/framework.h"

class mivoSkinImage;

class CmivoButton : public CWnd, public mivoClass {
 public:
  explicit CmivoButton(mivoCore* core) : mivoClass(core) {}

  // A visible child of `parent` at `rect` showing `image` (may be null).
  BOOL CreateButton(const RECT& rect, mivoSkinImage* image, CWnd* parent, UINT id);
  void SetImage(mivoSkinImage* image);
  mivoSkinImage* GetImage() const { return m_pImage; }
  UINT Id() const { return m_id; }
  // What the state dump says of the button ("5", "clear", ...).
  void SetLabel(std::u16string label) { m_label = std::move(label); }
  const std::u16string& Label() const { return m_label; }

  // Paints the button into `dc` with its client rectangle moved to (x, y):
  // the window's own painting, and the page drawn off screen (the slide).
  void DrawAt(HDC dc, int x, int y);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void OnPaint();
  void OnLButtonDown();
  void OnMouseMove(int x, int y);
  void OnLButtonUp(int x, int y);
  // The pressed look changes: paint now, so the finger sees it at once.
  void SetPressed(bool pressed);

  mivoSkinImage* m_pImage = nullptr;  // the skin's; not owned
  UINT m_id = 0;                      // the command id it posts
  std::u16string m_label;             // for the state dump
  bool m_tracking = false;            // the stylus went down on it and is not lifted yet
  bool m_pressed = false;             // drawn pressed: tracking and over it
};
