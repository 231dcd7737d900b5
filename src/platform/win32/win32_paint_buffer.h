#pragma once
// The off-screen bitmap every paint of a control draws into before one copy to the window.
#include <memory>

#include "platform/win32/win32_canvas.h"

namespace vsi::win32 {

// Kept and grown to the largest window asked for: making one for each paint costs more than
// the paint of a label itself. The bitmap, its DC and the selection are owned by wrappers, so
// they go in the right order (deselect, delete the bitmap, delete the DC) on every path.
class PaintBuffer {
 public:
  PaintBuffer() = default;
  PaintBuffer(const PaintBuffer&) = delete;
  PaintBuffer& operator=(const PaintBuffer&) = delete;

  // A DC with a bitmap compatible with `screen` of at least width x height selected; null
  // when the system cannot make one.
  HDC Get(HDC screen, int width, int height);
  void Release() { surface_.reset(); }

 private:
  struct Surface {
    Surface(HDC screen, int width, int height);
    ScopedCreatedDC dc;
    ScopedGdiObject<HBITMAP> bitmap;
    SelectGuard select;  // declared last: put back before the bitmap is deleted
    int width, height;
  };
  std::unique_ptr<Surface> surface_;
};

}  // namespace vsi::win32
