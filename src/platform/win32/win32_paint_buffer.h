#pragma once
// The off-screen bitmap every paint of a control draws into before one copy to the window.
#include <memory>

#include "platform/win32/win32_canvas.h"

namespace vsi::win32 {

// Kept and grown for the small windows that repaint on every tick (making one for each paint
// costs more than the paint of a label itself); a larger paint (a whole panel, at start or
// after a language switch) gets a bitmap of its own that goes after the copy, so the process
// does not keep a window-sized bitmap for the rare full repaint. The bitmap, its DC and the
// selection are owned by wrappers, so they go in the right order (deselect, delete the bitmap,
// delete the DC) on every path.
class PaintBuffer {
 public:
  PaintBuffer() = default;
  PaintBuffer(const PaintBuffer&) = delete;
  PaintBuffer& operator=(const PaintBuffer&) = delete;

  // The most pixels the kept bitmap grows to: a few labels' worth.
  static constexpr long kKeptPixels = 64 * 1024;

  // A DC with a bitmap compatible with `screen` of at least width x height selected; null
  // when the system cannot make one. Valid until EndPaint.
  HDC Get(HDC screen, int width, int height);
  // Lets a large paint's own bitmap go.
  void EndPaint() { large_.reset(); }
  void Release() {
    large_.reset();
    surface_.reset();
  }

 private:
  struct Surface {
    Surface(HDC screen, int width, int height);
    ScopedCreatedDC dc;
    ScopedGdiObject<HBITMAP> bitmap;
    SelectGuard select;  // declared last: put back before the bitmap is deleted
    int width, height;
  };
  std::unique_ptr<Surface> surface_;
  std::unique_ptr<Surface> large_;
};

}  // namespace vsi::win32
