#include "platform/win32/win32_window_data.h"

#include <algorithm>

namespace vsi {

namespace {

class PaintScope {
 public:
  explicit PaintScope(HWND hwnd) : hwnd_(hwnd), dc_(::BeginPaint(hwnd, &ps_)) {}
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  ~PaintScope() { ::EndPaint(hwnd_, &ps_); }
  HDC Dc() const { return dc_; }
  const RECT& Area() const { return ps_.rcPaint; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

}  // namespace

void Win32WindowSystem::Paint(WindowData& d, HWND hwnd) {
  PaintScope paint(hwnd);
  if (!paint.Dc()) return;
  RECT client{};
  ::GetClientRect(hwnd, &client);
  int w = client.right, h = client.bottom;
  if (w <= 0 || h <= 0) return;
  // Controls draw into a bitmap, copied once: no flicker from the layers of their paint. A
  // form only fills what its controls leave uncovered and draws straight, so that the kept
  // buffer need not be as large as a whole window.
  const bool buffered = d.kind != WindowKind::Form;
  HDC target = buffered ? PaintBuffer(paint.Dc(), w, h) : paint.Dc();
  if (!target) return;
  {
    GdiCanvas canvas(target, resources_, hwnd, {w, h});
    canvas.SetBrush(d.color);
    canvas.FillRect({0, 0, w, h});
    if (IWindowEvents* sink = d.sink) Guard([&] { sink->WmPaint(canvas); });
  }
  if (!buffered) return;
  const RECT& area = paint.Area();
  ::BitBlt(paint.Dc(), area.left, area.top, area.right - area.left, area.bottom - area.top, target, area.left,
           area.top, SRCCOPY);
}

HDC Win32WindowSystem::PaintBuffer(HDC screen, int width, int height) {
  if (bufferDc_ && width <= bufferWidth_ && height <= bufferHeight_) return bufferDc_;
  const int w = std::max(width, bufferWidth_), h = std::max(height, bufferHeight_);
  ReleasePaintBuffer();
  bufferDc_ = ::CreateCompatibleDC(screen);
  bufferBitmap_ = bufferDc_ ? ::CreateCompatibleBitmap(screen, w, h) : nullptr;
  if (!bufferBitmap_) {
    ReleasePaintBuffer();
    return nullptr;
  }
  bufferOldBitmap_ = ::SelectObject(bufferDc_, bufferBitmap_);
  bufferWidth_ = w;
  bufferHeight_ = h;
  return bufferDc_;
}

void Win32WindowSystem::ReleasePaintBuffer() {
  if (bufferDc_ && bufferOldBitmap_) ::SelectObject(bufferDc_, bufferOldBitmap_);
  if (bufferBitmap_) ::DeleteObject(bufferBitmap_);
  if (bufferDc_) ::DeleteDC(bufferDc_);
  bufferDc_ = nullptr;
  bufferBitmap_ = nullptr;
  bufferOldBitmap_ = nullptr;
  bufferWidth_ = bufferHeight_ = 0;
}

}  // namespace vsi
