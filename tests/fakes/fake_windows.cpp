#include "fakes/fake_windows.h"

#include <algorithm>
#include <stdexcept>

#include "framework/text_encoding.h"

namespace vsi::fake {

// ---- RecordingCanvas

CanvasOp& RecordingCanvas::Record(CanvasOp::Kind kind) {
  CanvasOp op;
  op.kind = kind;
  op.brush = brush;
  op.brushStyle = brushStyle;
  op.pen = pen;
  op.penWidth = penWidth;
  op.font = font;
  ops.push_back(std::move(op));
  return ops.back();
}

void RecordingCanvas::SetBrush(TColor color, BrushStyle style) {
  brush = color;
  brushStyle = style;
}
void RecordingCanvas::SetPen(TColor color, int width, PenStyle style) {
  pen = color;
  penWidth = width;
  penStyle = style;
}
void RecordingCanvas::SetFont(const FontSpec& f) { font = f; }
void RecordingCanvas::FillRect(const TRect& r) { Record(CanvasOp::Kind::FillRect).rect = r; }
void RecordingCanvas::FrameRect(const TRect& r) { Record(CanvasOp::Kind::FrameRect).rect = r; }
void RecordingCanvas::Rectangle(const TRect& r) { Record(CanvasOp::Kind::Rectangle).rect = r; }
void RecordingCanvas::MoveTo(int x, int y) {
  penPos = {x, y};
  auto& op = Record(CanvasOp::Kind::MoveTo);
  op.x = x;
  op.y = y;
}
void RecordingCanvas::LineTo(int x, int y) {
  auto& op = Record(CanvasOp::Kind::LineTo);
  op.points = {penPos, {x, y}};
  op.x = x;
  op.y = y;
  penPos = {x, y};
}
void RecordingCanvas::Polygon(const std::vector<TPoint>& points) { Record(CanvasOp::Kind::Polygon).points = points; }
void RecordingCanvas::Ellipse(const TRect& r) { Record(CanvasOp::Kind::Ellipse).rect = r; }
void RecordingCanvas::SetClipRect(const TRect* r) {
  auto& op = Record(CanvasOp::Kind::ClipRect);
  if (r) {
    op.rect = *r;
    op.flags = 1;
  }
}
void RecordingCanvas::StretchImage(const std::string& resource, const TRect& r) {
  auto& op = Record(CanvasOp::Kind::StretchImage);
  op.text = resource;
  op.rect = r;
}
void RecordingCanvas::TextOut(int x, int y, const AnsiString& text) {
  auto& op = Record(CanvasOp::Kind::TextOut);
  op.x = x;
  op.y = y;
  op.text = text;
}
void RecordingCanvas::TextOutW(int x, int y, const WideString& text) {
  auto& op = Record(CanvasOp::Kind::TextOutW);
  op.x = x;
  op.y = y;
  op.wtext = text;
}
void RecordingCanvas::TextRect(const TRect& clip, int x, int y, const AnsiString& text) {
  auto& op = Record(CanvasOp::Kind::TextRect);
  op.rect = clip;
  op.x = x;
  op.y = y;
  op.text = text;
}

TSize RecordingCanvas::Measure(const FontSpec& f, size_t chars) {
  return {static_cast<int>(chars) * ((f.height * 6 + 5) / 11), f.height + 2};
}

int RecordingCanvas::DrawText(const AnsiString& text, TRect& r, uint32_t flags) {
  TSize size = Measure(font, text.size());
  if (flags & DT_CALCRECT_) {
    r.right = r.left + size.cx;
    r.bottom = r.top + size.cy;
    return size.cy;
  }
  auto& op = Record(CanvasOp::Kind::DrawText);
  op.rect = r;
  op.text = text;
  op.flags = flags;
  return size.cy;
}

int RecordingCanvas::DrawTextW(const WideString& text, TRect& r, uint32_t flags) {
  TSize size = Measure(font, text.size());
  if (flags & DT_CALCRECT_) {
    r.right = r.left + size.cx;
    r.bottom = r.top + size.cy;
    return size.cy;
  }
  auto& op = Record(CanvasOp::Kind::DrawTextW);
  op.rect = r;
  op.wtext = text;
  op.flags = flags;
  return size.cy;
}

TSize RecordingCanvas::TextExtent(const AnsiString& text) { return Measure(font, text.size()); }
TSize RecordingCanvas::TextExtentW(const WideString& text) { return Measure(font, text.size()); }
void RecordingCanvas::DrawFocusRect(const TRect& r) { Record(CanvasOp::Kind::FocusRect).rect = r; }
void RecordingCanvas::DrawImage(const std::string& resource, int x, int y, bool transparent, int dpi) {
  auto& op = Record(CanvasOp::Kind::Image);
  op.text = resource;
  op.x = x;
  op.y = y;
  op.flags = transparent ? 1 : 0;
  op.dpi = dpi;
}
bool RecordingCanvas::DrawThemedBorder(const TRect& r) {
  if (!themes) return false;
  Record(CanvasOp::Kind::ThemedBorder).rect = r;
  return true;
}

TColor RecordingCanvas::ResolveColor(TColor c) {
  if (!IsSystemColor(c)) return c;
  switch (c & 0xFF) {
    case 5: return clWhite;                   // window
    case 8: return clBlack;                   // window text
    case 13: return Rgb(0, 120, 215);         // highlight
    case 14: return clWhite;                  // highlight text
    case 15: return Rgb(240, 240, 240);       // button face
    case 16: return Rgb(160, 160, 160);       // button shadow
    case 17: return Rgb(109, 109, 109);       // grey text
    case 20: return clWhite;                  // button highlight
    default: return Rgb(128, 128, 128);
  }
}

std::vector<std::string> RecordingCanvas::Texts() const {
  std::vector<std::string> out;
  for (const CanvasOp& op : ops) {
    switch (op.kind) {
      case CanvasOp::Kind::TextOut:
      case CanvasOp::Kind::TextRect:
      case CanvasOp::Kind::DrawText: out.push_back(op.text); break;
      case CanvasOp::Kind::TextOutW:
      case CanvasOp::Kind::DrawTextW: out.push_back(Utf16ToUtf8(op.wtext)); break;
      default: break;
    }
  }
  return out;
}

// ---- FakeWindowSystem

FakeWindow& FakeWindowSystem::Window(WindowHandle w) {
  auto it = windows.find(w);
  if (it == windows.end()) throw std::out_of_range("no such fake window");
  return it->second;
}

WindowHandle FakeWindowSystem::CreateWindow(const WindowParams& params, IWindowEvents* sink) {
  if (failWindows) return 0;
  WindowHandle h = next_++;
  FakeWindow w;
  w.params = params;
  w.sink = sink;
  w.text = params.text;
  w.bounds = params.bounds;
  w.visible = params.visible;
  w.enabled = params.enabled;
  w.font = params.font;
  w.color = params.color;
  w.image = params.image;
  windows.emplace(h, std::move(w));
  // A new child goes below its siblings; one that overlaps an earlier sibling and takes no
  // focus is put on top, as the real window system does.
  auto& siblings = zorder_[params.parent];
  if (params.overlapsEarlier && !params.tabStop && params.kind == WindowKind::Custom)
    siblings.insert(siblings.begin(), h);
  else
    siblings.push_back(h);
  return h;
}

void FakeWindowSystem::DestroyWindow(WindowHandle w) {
  auto it = windows.find(w);
  if (it == windows.end() || it->second.destroyed) return;
  // Children first, as the system does.
  for (auto& [h, child] : windows)
    if (child.params.parent == w && !child.destroyed) DestroyWindow(h);
  it->second.destroyed = true;
  it->second.visible = false;
  auto& siblings = zorder_[it->second.params.parent];
  siblings.erase(std::remove(siblings.begin(), siblings.end(), w), siblings.end());
  if (it->second.sink) it->second.sink->WmDestroy();
}

void FakeWindowSystem::SetText(WindowHandle w, const WideString& text) { Window(w).text = text; }
WideString FakeWindowSystem::GetText(WindowHandle w) { return Window(w).text; }
void FakeWindowSystem::SetBounds(WindowHandle w, const TRect& r) { Window(w).bounds = r; }
void FakeWindowSystem::SetVisible(WindowHandle w, bool visible) { Window(w).visible = visible; }
void FakeWindowSystem::SetEnabled(WindowHandle w, bool enabled) { Window(w).enabled = enabled; }
void FakeWindowSystem::SetFont(WindowHandle w, const FontSpec& font) { Window(w).font = font; }
void FakeWindowSystem::SetColor(WindowHandle w, TColor color) { Window(w).color = color; }
void FakeWindowSystem::SetHint(WindowHandle w, const std::string& hint) { Window(w).hint = hint; }
void FakeWindowSystem::Invalidate(WindowHandle w, const TRect* r, bool erase) {
  FakeWindow& fw = Window(w);
  ++fw.invalidations;
  fw.invalidationLog.push_back(FakeWindow::Invalidation{r == nullptr, r ? *r : TRect{}, erase});
}
void FakeWindowSystem::PaintNow(WindowHandle w) {
  FakeWindow& fw = Window(w);
  ++fw.invalidations;
  fw.invalidationLog.push_back(FakeWindow::Invalidation{true, TRect{}, false, true});
}
void FakeWindowSystem::Minimize(WindowHandle w) {
  FakeWindow& fw = Window(w);
  fw.minimized = true;
  ++fw.minimizeCalls;
}
void FakeWindowSystem::Maximize(WindowHandle w) {
  FakeWindow& fw = Window(w);
  fw.minimized = false;
  fw.maximized = true;
}
// As SW_RESTORE: a minimised window comes back as it was, a maximised one to its size.
void FakeWindowSystem::Restore(WindowHandle w) {
  FakeWindow& fw = Window(w);
  if (fw.minimized)
    fw.minimized = false;
  else
    fw.maximized = false;
}
bool FakeWindowSystem::IsMinimized(WindowHandle w) { return Window(w).minimized; }
bool FakeWindowSystem::IsMaximized(WindowHandle w) { return Window(w).maximized; }

TSize FakeWindowSystem::ClientSize(WindowHandle w) {
  FakeWindow& fw = Window(w);
  TSize size{fw.bounds.Width(), fw.bounds.Height()};
  if (!fw.params.outerBounds) return size;
  // What AdjustWindowRectEx takes off with the classic metrics: a 4-pixel sizeable border
  // (3 fixed), a 19-pixel caption (16 for a tool window).
  const int border = fw.params.sizeable ? 4 : 3;
  const int caption = fw.params.toolWindow ? 16 : 19;
  return {size.cx - 2 * border, size.cy - 2 * border - caption};
}

void FakeWindowSystem::ArrangeTabOrder(const std::vector<WindowHandle>& sequence) {
  if (sequence.empty()) return;
  auto& siblings = zorder_[Window(sequence.front()).params.parent];
  // The places the sequence's windows hold, top first, get them in the sequence's order.
  size_t next = 0;
  for (WindowHandle& h : siblings)
    if (std::find(sequence.begin(), sequence.end(), h) != sequence.end()) h = sequence[next++];
}

void FakeWindowSystem::SetButtonImage(WindowHandle w, const std::string& resource) { Window(w).image = resource; }

bool FakeWindowSystem::Showing(WindowHandle w) {
  for (WindowHandle h = w; h; h = Window(h).params.parent)
    if (!Window(h).visible || !Window(h).enabled) return false;
  return true;
}

void FakeWindowSystem::TabStops(WindowHandle parent, std::vector<WindowHandle>& out) {
  for (WindowHandle h : zorder_[parent]) {
    const FakeWindow& fw = Window(h);
    if (fw.params.tabStop) {
      if (Showing(h)) out.push_back(h);
    } else if (fw.params.kind == WindowKind::Custom) {
      TabStops(h, out);
    }
  }
}

WindowHandle FakeWindowSystem::NextTabStop(WindowHandle form, WindowHandle from, bool previous) {
  std::vector<WindowHandle> stops;
  TabStops(form, stops);
  if (stops.empty()) return 0;
  auto it = std::find(stops.begin(), stops.end(), from);
  if (it == stops.end()) return previous ? stops.back() : stops.front();
  const size_t i = static_cast<size_t>(it - stops.begin()), n = stops.size();
  return stops[previous ? (i + n - 1) % n : (i + 1) % n];
}

// ---- window menu: the items GetSystemMenu gives a window with a caption and a window menu

int FakeWindowSystem::WindowMenuCount(WindowHandle w) {
  FakeWindow& fw = Window(w);
  if (fw.params.kind != WindowKind::Form || !fw.params.systemMenu || fw.params.appWindow) return -1;
  if (!fw.windowMenuMade) {
    fw.windowMenuMade = true;
    fw.windowMenu = {{0xF120, false, "&Restore"},  {0xF010, false, "&Move"},      {0xF000, false, "&Size"},
                     {0xF020, false, "Mi&nimize"}, {0xF030, false, "Ma&ximize"}, {0, true, ""},
                     {0xF060, false, "&Close\tAlt+F4"}};
  }
  return static_cast<int>(fw.windowMenu.size());
}

bool FakeWindowSystem::WindowMenuItem(WindowHandle w, int position, uint32_t& command, bool& separator) {
  if (position < 0 || position >= WindowMenuCount(w)) return false;
  const FakeWindow::MenuItem& item = Window(w).windowMenu[position];
  command = item.command;
  separator = item.separator;
  return true;
}

AnsiString FakeWindowSystem::WindowMenuText(WindowHandle w, int position) {
  if (position < 0 || position >= WindowMenuCount(w)) return {};
  return Window(w).windowMenu[position].text.substr(0, 255);
}

void FakeWindowSystem::SetWindowMenuText(WindowHandle w, int position, uint32_t command, const AnsiString& text) {
  if (position < 0 || position >= WindowMenuCount(w)) return;
  FakeWindow::MenuItem& item = Window(w).windowMenu[position];
  item.command = command;
  item.text = text;
}
void FakeWindowSystem::BringToFront(WindowHandle w) { Window(w); }
void FakeWindowSystem::SetFocus(WindowHandle w) { focus = w; }

TPoint FakeWindowSystem::ClientToScreen(WindowHandle w, TPoint p) {
  // Walk up the parents, adding each window's position.
  for (WindowHandle h = w; h;) {
    FakeWindow& fw = Window(h);
    p.x += fw.bounds.left;
    p.y += fw.bounds.top;
    h = fw.params.parent;
  }
  return p;
}

void FakeWindowSystem::ComboSetItems(WindowHandle w, const std::vector<WideString>& items) {
  Window(w).comboItems = items;
}
void FakeWindowSystem::ComboSetIndex(WindowHandle w, int index) { Window(w).comboIndex = index; }
int FakeWindowSystem::ComboGetIndex(WindowHandle w) { return Window(w).comboIndex; }

uint32_t FakeWindowSystem::TrackPopupMenu(WindowHandle, const std::vector<MenuItemSpec>& items, TPoint) {
  menus.push_back(items);
  return nextMenuCommand;
}

uintptr_t FakeWindowSystem::SetTimer(uint32_t intervalMs, std::function<void()> callback) {
  if (failTimers) return 0;
  uintptr_t id = nextTimer_++;
  timers.emplace(id, Timer{intervalMs, std::move(callback)});
  return id;
}

void FakeWindowSystem::KillTimer(uintptr_t timer) { timers.erase(timer); }

int FakeWindowSystem::MessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                                 uint32_t type) {
  messageBoxes.push_back({owner, text, caption, type});
  ++openMessageBoxes;
  if (openMessageBoxes > mostOpenMessageBoxes) mostOpenMessageBoxes = openMessageBoxes;
  struct Closed {
    int& open;
    ~Closed() { --open; }
  } closed{openMessageBoxes};
  if (whileMessageBoxOpen) whileMessageBoxOpen();
  return 1;  // IDOK
}

int FakeWindowSystem::RunMessageLoop() { return quitCode; }

void FakeWindowSystem::ProcessMessages() {
  ++processMessagesCalls;
  if (onProcessMessages) onProcessMessages();
}

void FakeWindowSystem::PostQuit(int code) {
  quitPosted = true;
  quitCode = code;
}

TSize FakeWindowSystem::MeasureText(const FontSpec& font, const AnsiString& text) {
  return RecordingCanvas::Measure(font, text.size());
}

int FakeWindowSystem::DpiAt(TPoint screen) {
  // MonitorFromPoint with MONITOR_DEFAULTTONEAREST: the one holding the point, else the
  // nearest by distance to its area.
  const MonitorArea* best = nullptr;
  long long bestDistance = 0;
  for (const MonitorArea& m : monitors) {
    const long long dx = screen.x < m.bounds.left ? m.bounds.left - screen.x
                         : screen.x >= m.bounds.right ? screen.x - m.bounds.right + 1 : 0;
    const long long dy = screen.y < m.bounds.top ? m.bounds.top - screen.y
                         : screen.y >= m.bounds.bottom ? screen.y - m.bounds.bottom + 1 : 0;
    const long long d = dx * dx + dy * dy;
    if (!best || d < bestDistance) {
      best = &m;
      bestDistance = d;
    }
  }
  return best ? best->dpi : 96;
}

namespace {
TSize FrameOf(const WindowParams& p) {
  if (p.kind != WindowKind::Form || p.outerBounds) return {0, 0};
  const int border = p.sizeable ? 4 : 3;
  const int caption = p.toolWindow ? 16 : 19;
  return {2 * border, 2 * border + caption};
}
}  // namespace

TRect FakeWindowSystem::WindowRect(WindowHandle w) {
  FakeWindow& fw = Window(w);
  const TSize frame = FrameOf(fw.params);
  return {fw.bounds.left, fw.bounds.top, fw.bounds.right + frame.cx, fw.bounds.bottom + frame.cy};
}

void FakeWindowSystem::SetWindowRect(WindowHandle w, const TRect& outer) {
  FakeWindow& fw = Window(w);
  const TSize frame = FrameOf(fw.params);
  fw.bounds = {outer.left, outer.top, outer.right - frame.cx, outer.bottom - frame.cy};
}

void FakeWindowSystem::Deliver(WindowHandle w, const std::function<void(IWindowEvents&)>& call) {
  FakeWindow& fw = Window(w);
  if (!fw.sink) return;
  try {
    call(*fw.sink);
  } catch (const std::exception& e) {
    if (!exceptionHandler) throw;
    exceptionHandler(e);
  }
}

RecordingCanvas FakeWindowSystem::Paint(WindowHandle w) {
  RecordingCanvas canvas;
  Deliver(w, [&](IWindowEvents& sink) { sink.WmPaint(canvas); });
  return canvas;
}

void FakeWindowSystem::AccessibleNameChanged(WindowHandle w, int index) {
  if (!windows.count(w)) return;  // the system drops an event of a window that is gone
  ++nameChanges[{w, index}];
}

bool FakeWindowSystem::WatchAddressChanges(WindowHandle w) {
  if (addressWatchRefused || !windows.count(w) || windows[w].destroyed) return false;
  if (std::find(addressWatchers.begin(), addressWatchers.end(), w) == addressWatchers.end())
    addressWatchers.push_back(w);
  return true;
}

void FakeWindowSystem::ChangeDisplay() {
  for (WindowHandle w : std::vector<WindowHandle>(zorder_[0]))
    if (!Window(w).destroyed) Deliver(w, [](IWindowEvents& sink) { sink.WmDisplayChange(); });
}

void FakeWindowSystem::ChangeVolumes(bool arrived, uint32_t drives) {
  for (WindowHandle w : std::vector<WindowHandle>(zorder_[0]))
    if (!Window(w).destroyed) Deliver(w, [&](IWindowEvents& sink) { sink.WmVolumesChange(arrived, drives); });
}

void FakeWindowSystem::ChangeAddresses() {
  // A destroyed window's watch ended with it.
  for (WindowHandle w : std::vector<WindowHandle>(addressWatchers))
    if (!Window(w).destroyed) Deliver(w, [](IWindowEvents& sink) { sink.WmAddressChange(); });
}

void FakeWindowSystem::TickTimers() {
  std::vector<uintptr_t> ids;
  for (auto& [id, t] : timers) ids.push_back(id);
  for (uintptr_t id : ids) {
    auto it = timers.find(id);
    if (it == timers.end()) continue;
    auto callback = it->second.callback;  // the callback may kill its own timer
    try {
      callback();
    } catch (const std::exception& e) {
      if (!exceptionHandler) throw;
      exceptionHandler(e);
    }
  }
}

WindowHandle FakeWindowSystem::FindByText(const std::string& utf8) const {
  for (auto& [h, w] : windows)
    if (!w.destroyed && Utf16ToUtf8(w.text) == utf8) return h;
  return 0;
}

}  // namespace vsi::fake
