#include "platform/win32/win32_paint_buffer.h"
#include "platform/win32/win32_window_data.h"

#include <algorithm>

namespace vsi {

void Win32WindowSystem::Paint(WindowData& d, HWND hwnd) {
  win32::ScopedPaint paint(hwnd);
  if (paint.Get()) PaintInto(d, hwnd, paint.Get(), paint.Area());
}

void Win32WindowSystem::PaintInto(WindowData& d, HWND hwnd, HDC dc, const RECT& area) {
  RECT client{};
  ::GetClientRect(hwnd, &client);
  int w = client.right, h = client.bottom;
  if (w <= 0 || h <= 0) return;
  // Controls draw into a bitmap, copied once: no flicker from the layers of their paint. A
  // form only fills what its controls leave uncovered and draws straight, so that the kept
  // buffer need not be as large as a whole window.
  const bool buffered = d.kind != WindowKind::Form;
  win32::PaintBuffer& buffer = d.ownBuffer ? *d.ownBuffer : paintBuffer_;
  HDC target = buffered ? buffer.Get(dc, w, h) : dc;
  if (!target) return;
  {
    GdiCanvas canvas(target, resources_, hwnd, {w, h},
                     buffered ? GdiCanvas::DcState::Keep : GdiCanvas::DcState::Restore);
    canvas.SetBrush(d.color);
    canvas.FillRect({0, 0, w, h});
    // Guard keeps exceptions in: painting_ is always put back.
    painting_ = true;
    if (IWindowEvents* sink = d.sink) Guard([&] { sink->WmPaint(canvas); });
    painting_ = false;
  }
  if (!buffered) return;
  ::BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, target, area.left,
           area.top, SRCCOPY);
  buffer.EndPaint();
}

namespace win32 {

PaintBuffer::Surface::Surface(HDC screen, int w, int h)
    : dc(::CreateCompatibleDC(screen)),
      bitmap(dc ? ::CreateCompatibleBitmap(screen, w, h) : nullptr),
      select(dc.Get(), bitmap.Get()),
      width(w),
      height(h) {}

HDC PaintBuffer::Get(HDC screen, int width, int height) {
  if (surface_ && width <= surface_->width && height <= surface_->height) return surface_->dc.Get();
  const int w = std::max(width, surface_ ? surface_->width : 0), h = std::max(height, surface_ ? surface_->height : 0);
  if (static_cast<long>(w) * h > kKeptPixels) {
    large_ = std::make_unique<Surface>(screen, width, height);
    if (!large_->dc || !large_->bitmap) {
      large_.reset();
      return nullptr;
    }
    return large_->dc.Get();
  }
  surface_.reset();
  auto made = std::make_unique<Surface>(screen, w, h);
  if (!made->dc || !made->bitmap) return nullptr;
  surface_ = std::move(made);
  return surface_->dc.Get();
}

}  // namespace win32

}  // namespace vsi
