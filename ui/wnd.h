// CmivoWnd: the window base of every page. It draws and hit-tests windowless
// children (CmivoChildWnd), and paints without flicker: the update area is
// filled with the background colour and drawn in one pass, through an
// off-screen bitmap when asked (always, or for the next paint only).
#pragma once

#include <vector>

#include "core/mivo_class.h"
#include "platform/window/framework.h"
#include "ui/back_buffer.h"

class CmivoChildWnd;
class mivoSkinImage;

class CmivoWnd : public CWnd, public mivoClass {
 public:
  explicit CmivoWnd(mivoCore* core) : mivoClass(core) {}
  ~CmivoWnd() override;

  // ---- The window base's operations ----
  // Paint always through an off-screen bitmap.
  virtual bool IsDoubleBuffered() { return m_doubleBuffered; }
  virtual void SetDoubleBuffered(bool on) { m_doubleBuffered = on; }
  // Paint once through an off-screen bitmap (after a slide, a desktop switch).
  virtual void RequestBufferedPaint() { m_bufferNextPaint = true; }
  // Asks every child to add the skin images it draws with.
  virtual void CollectImages(std::vector<mivoSkinImage*>& images);
  // Draws what lies under the children; nothing in the base.
  virtual void DrawBackground(HDC dc, bool erase, int left, int top, int right, int bottom) {}
  // Draws the rectangle: the background, then every visible child that
  // meets it, in list order. Also used to paint the page off screen.
  virtual void DrawArea(HDC dc, bool erase, int left, int top, int right, int bottom);

  // ---- Children (not owned) ----
  // The last visible child whose rectangle holds the point, or null.
  CmivoChildWnd* ChildAt(int x, int y) const;
  // Appends when not yet present.
  void AddChild(CmivoChildWnd* child);
  // Removes the first occurrence.
  void RemoveChild(CmivoChildWnd* child);
  const std::vector<CmivoChildWnd*>& Children() const { return m_children; }

  // After a press, release or move: true when no child was hit.
  bool MouseUnclaimed() const { return m_mouseUnclaimed; }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 protected:
  // WM_PAINT as described above.
  void OnPaint();
  // The press, release and move of the stylus: the hit child's operation,
  // then the framework's default handling.
  LRESULT OnStylus(UINT message, WPARAM wParam, LPARAM lParam);
  // Drops the off-screen bitmap (its size no longer fits).
  void DropBuffer() { m_buffer.Drop(); }

  std::vector<CmivoChildWnd*> m_children;  // windowless children, in drawing order
  bool m_mouseUnclaimed = true;            // no child took the last press, release or move
  bool m_doubleBuffered = false;           // paint always through the off-screen bitmap
  bool m_bufferNextPaint = false;          // paint once through it; cleared by each paint

 private:
  mivoBackBuffer m_buffer;  // the off-screen bitmap, kept while its size fits
};
