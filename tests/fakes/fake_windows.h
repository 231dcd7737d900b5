#pragma once
// An in-memory window system and a canvas that records every drawing call, for tests.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/windowing.h"

namespace vsi::fake {

struct CanvasOp {
  enum class Kind { FillRect, FrameRect, Rectangle, MoveTo, LineTo, Polygon, TextOut, TextOutW, TextRect, DrawText,
                    DrawTextW, FocusRect, Image, ThemedBorder, Ellipse, ClipRect, StretchImage };
  Kind kind;
  TRect rect;
  std::vector<TPoint> points;
  std::string text;   // 8-bit texts, and image resource names
  WideString wtext;
  int x = 0, y = 0;
  uint32_t flags = 0;
  TColor brush = 0;
  BrushStyle brushStyle = BrushStyle::Solid;
  TColor pen = 0;
  int penWidth = 1;
  FontSpec font;
  int dpi = 96;  // an image's scale
};

// Text metrics are deterministic: each character is (height * 6 + 5) / 11 pixels wide, and a
// line is the font height plus 2.
class RecordingCanvas : public ICanvas {
 public:
  void SetBrush(TColor color, BrushStyle style) override;
  void SetPen(TColor color, int width, PenStyle style) override;
  void SetFont(const FontSpec& font) override;
  void FillRect(const TRect& r) override;
  void FrameRect(const TRect& r) override;
  void Rectangle(const TRect& r) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void Polygon(const std::vector<TPoint>& points) override;
  void Ellipse(const TRect& r) override;
  // Recorded as ClipRect ops; flags 0 when the limit is removed.
  void SetClipRect(const TRect* r) override;
  void TextOut(int x, int y, const AnsiString& text) override;
  void TextOutW(int x, int y, const WideString& text) override;
  void TextRect(const TRect& clip, int x, int y, const AnsiString& text) override;
  int DrawText(const AnsiString& text, TRect& r, uint32_t flags) override;
  int DrawTextW(const WideString& text, TRect& r, uint32_t flags) override;
  TSize TextExtent(const AnsiString& text) override;
  TSize TextExtentW(const WideString& text) override;
  void DrawFocusRect(const TRect& r) override;
  void DrawImage(const std::string& resource, int x, int y, bool transparent, int dpi = 96) override;
  void StretchImage(const std::string& resource, const TRect& r) override;
  bool DrawThemedBorder(const TRect& r) override;
  TColor ResolveColor(TColor c) override;

  static TSize Measure(const FontSpec& font, size_t chars);
  bool themes = false;  // whether DrawThemedBorder succeeds
  std::vector<CanvasOp> ops;
  // All texts drawn, in order (8-bit and UTF-16 texts as UTF-8).
  std::vector<std::string> Texts() const;
  void Clear() { ops.clear(); }

  TColor brush = clWhite;
  BrushStyle brushStyle = BrushStyle::Solid;
  TColor pen = clBlack;
  int penWidth = 1;
  PenStyle penStyle = PenStyle::Solid;
  FontSpec font;
  TPoint penPos;

 private:
  CanvasOp& Record(CanvasOp::Kind kind);
};

struct FakeWindow {
  WindowParams params;
  IWindowEvents* sink = nullptr;
  WideString text;
  TRect bounds;
  bool visible = false;
  bool enabled = true;
  bool minimized = false;
  bool maximized = false;
  int minimizeCalls = 0;
  bool destroyed = false;
  std::string image;  // a button's picture
  FontSpec font;
  TColor color = 0;
  std::string hint;
  std::vector<WideString> comboItems;
  int comboIndex = -1;
  bool selection = false;  // an edit: some of its text is selected
  int invalidations = 0;
  // Every repaint request: the rectangle (none for the whole window) and the erase flag.
  struct Invalidation {
    bool whole = true;
    TRect rect;
    bool erase = false;
    bool now = false;  // PaintNow: drawn at once
  };
  std::vector<Invalidation> invalidationLog;
  // The window menu, made on first use as GetSystemMenu makes its copy.
  struct MenuItem {
    uint32_t command;
    bool separator;
    AnsiString text;
  };
  std::vector<MenuItem> windowMenu;
  bool windowMenuMade = false;
};

struct MessageBoxCall {
  WindowHandle owner;
  std::string text, caption;
  uint32_t type;
};

class FakeWindowSystem : public IWindowSystem {
 public:
  WindowHandle CreateWindow(const WindowParams& params, IWindowEvents* sink) override;
  void DestroyWindow(WindowHandle w) override;
  void SetText(WindowHandle w, const WideString& text) override;
  WideString GetText(WindowHandle w) override;
  void SetBounds(WindowHandle w, const TRect& r) override;
  void SetVisible(WindowHandle w, bool visible) override;
  void SetEnabled(WindowHandle w, bool enabled) override;
  void SetFont(WindowHandle w, const FontSpec& font) override;
  void SetColor(WindowHandle w, TColor color) override;
  void SetHint(WindowHandle w, const std::string& hint) override;
  void Invalidate(WindowHandle w, const TRect* r, bool erase) override;
  void PaintNow(WindowHandle w) override;
  void Minimize(WindowHandle w) override;
  void Maximize(WindowHandle w) override;
  void Restore(WindowHandle w) override;
  bool IsMinimized(WindowHandle w) override;
  bool IsMaximized(WindowHandle w) override;
  TSize ClientSize(WindowHandle w) override;
  void ArrangeTabOrder(const std::vector<WindowHandle>& sequence) override;
  void SetButtonImage(WindowHandle w, const std::string& resource) override;
  void BringToFront(WindowHandle w) override;
  void SetFocus(WindowHandle w) override;
  WindowHandle GetFocus() override { return focus; }
  void SetCapture(WindowHandle w) override { capture = w; }
  void ReleaseCapture() override { capture = 0; }
  void SetCursor(CursorKind cursor) override { this->cursor = cursor; }
  TPoint ClientToScreen(WindowHandle w, TPoint p) override;
  void ComboSetItems(WindowHandle w, const std::vector<WideString>& items) override;
  void ComboSetIndex(WindowHandle w, int index) override;
  int ComboGetIndex(WindowHandle w) override;
  bool HasSelection(WindowHandle w) override { return Window(w).selection; }
  uint32_t TrackPopupMenu(WindowHandle owner, const std::vector<MenuItemSpec>& items, TPoint screen) override;
  int WindowMenuCount(WindowHandle w) override;
  bool WindowMenuItem(WindowHandle w, int position, uint32_t& command, bool& separator) override;
  AnsiString WindowMenuText(WindowHandle w, int position) override;
  void SetWindowMenuText(WindowHandle w, int position, uint32_t command, const AnsiString& text) override;
  void CancelTooltip(WindowHandle w) override { ++tooltipCancels; }
  void SetExceptionHandler(std::function<void(const std::exception&)> handler) override {
    exceptionHandler = std::move(handler);
  }
  uintptr_t SetTimer(uint32_t intervalMs, std::function<void()> callback) override;
  void KillTimer(uintptr_t timer) override;
  int MessageBox(WindowHandle owner, const std::string& text, const std::string& caption, uint32_t type) override;
  int RunMessageLoop() override;
  void ProcessMessages() override;
  void PostQuit(int code) override;
  TSize MeasureText(const FontSpec& font, const AnsiString& text) override;
  int DpiAt(TPoint screen) override;
  bool HighContrast() override { return highContrast; }
  std::vector<MonitorArea> Monitors() override { return monitors; }
  // A form's frame is the classic metrics' of ClientSize, at every scale.
  TRect WindowRect(WindowHandle w) override;
  void SetWindowRect(WindowHandle w, const TRect& outer) override;
  bool WatchAddressChanges(WindowHandle w) override;
  void AccessibleNameChanged(WindowHandle w, int index) override;

  // Test helpers.
  FakeWindow& Window(WindowHandle w);
  // Runs `call` on the window's sink as a message would, routing exceptions to the handler.
  void Deliver(WindowHandle w, const std::function<void(IWindowEvents&)>& call);
  // Paints the window into a fresh recording canvas.
  RecordingCanvas Paint(WindowHandle w);
  // Runs every armed timer once (a tick), in arming order.
  void TickTimers();
  size_t ArmedTimers() const { return timers.size(); }
  // Finds a live window by its text (UTF-8 compared), 0 when none.
  WindowHandle FindByText(const std::string& utf8) const;
  // The children of a window (0: the top-level windows) in window order, first on top.
  const std::vector<WindowHandle>& Children(WindowHandle parent) { return zorder_[parent]; }
  // The control Tab (or Shift+Tab) moves the focus to in a form, as GetNextDlgTabItem
  // finds it: window order, into containers (our custom windows without a tab stop, which
  // the real system makes control parents), visible and enabled tab stops only; wraps
  // around. `from` 0 starts before the first.
  WindowHandle NextTabStop(WindowHandle form, WindowHandle from, bool previous);
  // What the system sends every live top-level window when the display's mode changes
  // (WM_DISPLAYCHANGE) and when volumes arrive or go (WM_DEVICECHANGE; `drives` as
  // dbcv_unitmask, bit 0 for A:).
  void ChangeDisplay();
  void ChangeVolumes(bool arrived, uint32_t drives);
  // The machine's addresses changed: each live window that watches them gets the notice on
  // its thread, as the watcher's posted message brings it there.
  void ChangeAddresses();

  std::map<WindowHandle, FakeWindow> windows;
  struct Timer {
    uint32_t interval;
    std::function<void()> callback;
  };
  std::map<uintptr_t, Timer> timers;
  bool failTimers = false;
  bool failWindows = false;
  std::vector<MessageBoxCall> messageBoxes;
  // A message box is modal: its own loop dispatches the thread's messages (timer ticks
  // among them) until it is closed. This runs once inside every box, before it returns.
  std::function<void()> whileMessageBoxOpen;
  int openMessageBoxes = 0;
  int mostOpenMessageBoxes = 0;  // the most boxes open at one time
  std::vector<std::vector<MenuItemSpec>> menus;
  uint32_t nextMenuCommand = 0;  // what TrackPopupMenu answers
  std::function<void()> onProcessMessages;
  int processMessagesCalls = 0;
  bool quitPosted = false;
  int quitCode = 0;
  WindowHandle focus = 0;
  WindowHandle capture = 0;
  CursorKind cursor = CursorKind::Arrow;
  int tooltipCancels = 0;
  std::function<void(const std::exception&)> exceptionHandler;
  bool highContrast = false;
  // One 1280 x 1024 screen at 96 dpi with a 30-pixel task bar at the bottom.
  std::vector<MonitorArea> monitors{{{0, 0, 1280, 1024}, {0, 0, 1280, 994}, true, 96}};
  // Name changes told to readers, per window and item index: counted, so that telling one
  // costs no allocation once the item was seen (as the system's event costs none).
  std::map<std::pair<WindowHandle, int>, int> nameChanges;
  // The windows that watch the addresses, in the order they asked; a system without the
  // notice refuses every watch.
  std::vector<WindowHandle> addressWatchers;
  bool addressWatchRefused = false;

 private:
  bool Showing(WindowHandle w);
  void TabStops(WindowHandle parent, std::vector<WindowHandle>& out);
  std::map<WindowHandle, std::vector<WindowHandle>> zorder_;
  WindowHandle next_ = 0x100;
  uintptr_t nextTimer_ = 1;
};

}  // namespace vsi::fake
