#pragma once
// The window system (user32): native windows for the framework's controls, timers, the
// message loop, message boxes, pop-up menus and tooltips. Windows send what happens to them
// back to an IWindowEvents sink, which the framework's control implements.
#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/types.h"

// <windows.h>, when a Win32 file included it first, maps these names to its -A/-W functions;
// here they are interface methods.
#undef CreateWindow
#undef MessageBox

namespace vsi {

using WindowHandle = uintptr_t;  // HWND; 0 = none

enum class WindowKind : uint8_t {
  Form,      // a top-level window
  Custom,    // a child the framework paints itself (labels, panels, picture buttons, ...)
  Button,    // a native push button
  ComboBox,  // a native drop-down list, owner-drawn by the framework
  Memo,      // a native multi-line edit
};

enum MouseButton : uint8_t { mbLeft, mbRight, mbMiddle };
// Shift state bits.
enum ShiftState : uint8_t { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32 };

enum class CursorKind : uint8_t { Arrow, Hand, SizeWE, SizeNS };

struct WindowParams {
  WindowKind kind = WindowKind::Custom;
  WindowHandle parent = 0;
  TRect bounds;          // child: in the parent's client area; form: position and client size
  WideString text;       // the window text: what the control shows, for readers and tests
  TColor color = clBtnFace;
  FontSpec font;
  bool visible = true;
  bool enabled = true;
  bool tabStop = false;
  bool ownTooltips = false;  // a custom control that answers tooltip requests, hint or not
  bool overlapsEarlier = false;  // overlaps a sibling made before it, and so must lie above it
  bool paintsAtOnce = false;  // changes every second: see IWindowSystem::PaintNow
  // Form
  WindowHandle owner = 0;   // the owning top-level window (the application window); 0: a taskbar button of its own
  bool appWindow = false;   // the application's own window: a taskbar button with the title
  bool toolWindow = false;
  bool sizeable = false;    // a resizable border
  bool outerBounds = false; // the bounds are the whole window's, frame included
  bool minimizeBox = true;
  bool maximizeBox = true;
  bool systemMenu = true;
  std::string iconResource;
  // Memo
  bool vScroll = false;
  bool readOnly = false;
  bool wantTabs = false;  // Tab types a tab instead of moving on
  // Button: a picture resource shown beside the caption.
  std::string image;
  // ComboBox
  int itemHeight = 16;
  // The scale the bounds and font are at (a form's frame is measured for it).
  int dpi = 96;
};

// What a screen reader is told an item of a window is.
enum class AccessibleRole : uint8_t {
  None,        // nothing of its own (a control that only holds others)
  StaticText,  // a label or value: its name is what it shows
  Link,        // opens a page or a mail: default action "Jump"
  PushButton,  // default action "Press", doing what a click does
  Window,      // a child window the system describes itself (edit, list, button, ...)
};

// One item of a window's accessible client object: a control without a window of its own
// (child id index + 1, a simple element), or a child window that stands as its own object.
struct AccessibleItem {
  AccessibleRole role = AccessibleRole::StaticText;
  WideString name;
  TRect bounds;             // in the window's client area, in its pixels
  bool visible = true;
  bool enabled = true;
  WindowHandle window = 0;  // role Window: the child window whose own object this item is
};

// Item state of an owner-drawn list item.
struct DrawItemState {
  bool selected = false;
  bool focused = false;
  bool inEditField = false;  // drawn in the combo box's edit part
};

class IWindowEvents {
 public:
  virtual ~IWindowEvents() = default;
  virtual void WmPaint(ICanvas& canvas) {}
  virtual void WmMouseDown(MouseButton button, uint8_t shift, int x, int y) {}
  virtual void WmMouseUp(MouseButton button, uint8_t shift, int x, int y) {}
  virtual void WmMouseMove(uint8_t shift, int x, int y) {}
  virtual void WmMouseLeave() {}
  // Returns true when the key was handled and must not be processed further.
  virtual bool WmKeyDown(uint16_t key, uint8_t shift) { return false; }
  // A top-level window: a key pressed in it or in any of its children, before the one with
  // the focus sees it. Returns true when the key was taken as a shortcut.
  virtual bool WmShortcut(uint16_t key, uint8_t shift) { return false; }
  virtual void WmKeyUp(uint16_t key, uint8_t shift) {}
  // WM_GETDLGCODE: true when the control wants this key itself (so dialog navigation
  // does not take it).
  virtual bool WmWantsKey(uint16_t key) { return false; }
  virtual void WmChar(char ch) {}
  virtual void WmFocus(bool gained) {}
  // A native button was pressed, a combo box selection changed (by the user), ...
  virtual void WmClick() {}
  virtual void WmSelChange() {}
  // The window became visible for the first time.
  virtual void WmShow() {}
  // A form's client area took this size (the user resized or maximised it).
  virtual void WmSize(int clientWidth, int clientHeight) {}
  // Close request; return false to refuse.
  virtual bool WmClose() { return true; }
  // The user's session is ending (log-off, shutdown): the process may be ended without a
  // close, so what must outlive it is kept now.
  virtual void WmEndSession() {}
  virtual void WmDestroy() {}
  virtual void WmDrawItem(ICanvas& canvas, int index, const TRect& r, const DrawItemState& state) {}
  // Tooltip request: fill the text and client position; false leaves the standard tooltip.
  virtual bool WmTooltip(std::string& text, TPoint& clientPos) { return false; }
  virtual bool WmSetCursor() { return false; }
  // A top-level window moved to a monitor of another scale (WM_DPICHANGED): its new dots per
  // inch and the whole-window rectangle the system suggests for it, in screen pixels.
  virtual void WmDpiChanged(int dpi, const TRect& suggested) {}
  // A sizeable top-level window: the smallest whole-window size, in screen pixels, the user
  // may drag it to (WM_GETMINMAXINFO); 0 for any.
  virtual TSize WmMinSize() { return {}; }
  // A top-level window: the display's mode changed (WM_DISPLAYCHANGE), its resolution or its
  // monitors.
  virtual void WmDisplayChange() {}
  // A top-level window: volumes arrived or went away (WM_DEVICECHANGE, DBT_DEVICEARRIVAL or
  // DBT_DEVICEREMOVECOMPLETE of DBT_DEVTYP_VOLUME); `drives` has bit 0 for A:, as
  // dbcv_unitmask.
  virtual void WmVolumesChange(bool arrived, uint32_t drives) {}
  // A window that asked WatchAddressChanges: the machine's network addresses changed.
  virtual void WmAddressChange() {}
  // A top-level window's accessible client object (WM_GETOBJECT, OBJID_CLIENT): fills the
  // items of its client area, in the order a reader goes through them, and returns true;
  // false leaves the system's standard object.
  virtual bool WmAccessibleItems(std::vector<AccessibleItem>& items) { return false; }
  // A reader asked for the default action of item `index` (a press, a jump); it comes from
  // the message loop, not from inside the reader's call.
  virtual void WmAccessibleAction(int index) {}
};

// A monitor: its whole area and the part not taken by task bars, in screen pixels.
struct MonitorArea {
  TRect bounds;
  TRect work;
  bool primary = false;
  int dpi = 96;
  bool operator==(const MonitorArea&) const = default;
};

struct MenuItemSpec {
  std::string text;  // in the ANSI code page; "-" is a separator
  uint32_t command = 0;
  bool grayed = false;
  bool checked = false;
  WideString wideText{};  // shown instead of `text` when not empty: words of any script
};

class IWindowSystem {
 public:
  virtual ~IWindowSystem() = default;
  // Creates the native window; 0 on failure. The sink must outlive the window.
  virtual WindowHandle CreateWindow(const WindowParams& params, IWindowEvents* sink) = 0;
  virtual void DestroyWindow(WindowHandle w) = 0;
  virtual void SetText(WindowHandle w, const WideString& text) = 0;
  virtual WideString GetText(WindowHandle w) = 0;
  virtual void SetBounds(WindowHandle w, const TRect& r) = 0;
  virtual void SetVisible(WindowHandle w, bool visible) = 0;
  virtual void SetEnabled(WindowHandle w, bool enabled) = 0;
  virtual void SetFont(WindowHandle w, const FontSpec& font) = 0;
  virtual void SetColor(WindowHandle w, TColor color) = 0;
  // The tool tip shown over the window; empty text removes it.
  virtual void SetHint(WindowHandle w, const std::string& hint) = 0;
  virtual void Invalidate(WindowHandle w, const TRect* r, bool erase) = 0;
  // Draws the whole window now, not when the message queue comes to it: for what a timer
  // changes every second, where the paint message's own traffic costs more than the paint.
  // A window the system draws, or one not on screen, is invalidated instead.
  virtual void PaintNow(WindowHandle w) = 0;
  virtual void Minimize(WindowHandle w) = 0;
  virtual void Maximize(WindowHandle w) = 0;
  virtual void Restore(WindowHandle w) = 0;
  virtual bool IsMinimized(WindowHandle w) = 0;
  virtual bool IsMaximized(WindowHandle w) = 0;
  // The size of the client area as the window has it now.
  virtual TSize ClientSize(WindowHandle w) = 0;
  // Puts these children of one parent in this order among themselves, the others keeping
  // their places: the keyboard (Tab, Shift+Tab) follows the window order.
  virtual void ArrangeTabOrder(const std::vector<WindowHandle>& sequence) = 0;
  // A button's picture (a bitmap resource whose bottom-left colour is transparent); empty
  // text removes it.
  virtual void SetButtonImage(WindowHandle w, const std::string& resource) = 0;
  virtual void BringToFront(WindowHandle w) = 0;
  virtual void SetFocus(WindowHandle w) = 0;
  virtual WindowHandle GetFocus() = 0;
  virtual void SetCapture(WindowHandle w) = 0;
  virtual void ReleaseCapture() = 0;
  virtual void SetCursor(CursorKind cursor) = 0;
  virtual TPoint ClientToScreen(WindowHandle w, TPoint p) = 0;
  // Combo box items.
  virtual void ComboSetItems(WindowHandle w, const std::vector<WideString>& items) = 0;
  virtual void ComboSetIndex(WindowHandle w, int index) = 0;
  virtual int ComboGetIndex(WindowHandle w) = 0;
  // An edit control: true when some of its text is selected.
  virtual bool HasSelection(WindowHandle w) = 0;
  // Pop-up menu at a screen point; the chosen command or 0.
  virtual uint32_t TrackPopupMenu(WindowHandle owner, const std::vector<MenuItemSpec>& items, TPoint screen) = 0;
  // The window (system) menu of a top-level window, by position: the number of items (-1
  // without one), an item's command and kind, its text (at most 255 characters, in the
  // ANSI code page) and a new text for it.
  virtual int WindowMenuCount(WindowHandle w) = 0;
  virtual bool WindowMenuItem(WindowHandle w, int position, uint32_t& command, bool& separator) = 0;
  virtual AnsiString WindowMenuText(WindowHandle w, int position) = 0;
  virtual void SetWindowMenuText(WindowHandle w, int position, uint32_t command, const AnsiString& text) = 0;
  // Tooltips of a window: drop the one showing (a new request follows when the pointer moves).
  virtual void CancelTooltip(WindowHandle w) = 0;
  // Where an exception that leaves an event handler or a timer callback goes (the
  // application's error box); without one it is swallowed after the handler returns.
  virtual void SetExceptionHandler(std::function<void(const std::exception&)> handler) = 0;
  // Timers: the callback runs from the message loop. 0 when the system refuses a timer.
  virtual uintptr_t SetTimer(uint32_t intervalMs, std::function<void()> callback) = 0;
  virtual void KillTimer(uintptr_t timer) = 0;
  // Modal message box; `type` is the MB_* set. Returns the button id.
  virtual int MessageBox(WindowHandle owner, const std::string& text, const std::string& caption, uint32_t type) = 0;
  // Runs until the main window is destroyed (PostQuit); returns the exit code.
  virtual int RunMessageLoop() = 0;
  virtual void ProcessMessages() = 0;
  virtual void PostQuit(int code) = 0;
  // Text size in the given font without a window (layout before windows exist).
  virtual TSize MeasureText(const FontSpec& font, const AnsiString& text) = 0;
  // Dots per inch of the monitor that holds this screen point (the nearest one when none).
  virtual int DpiAt(TPoint screen) = 0;
  // Whether the user has the system's high-contrast mode on (SPI_GETHIGHCONTRAST).
  virtual bool HighContrast() = 0;
  // The monitors, the primary one first.
  virtual std::vector<MonitorArea> Monitors() = 0;
  // A top-level window's whole rectangle (frame included) on the screen, and a new one.
  virtual TRect WindowRect(WindowHandle w) = 0;
  virtual void SetWindowRect(WindowHandle w, const TRect& outer) = 0;
  // Tells the window whenever an address of the machine's network interfaces changes
  // (NotifyAddrChange): a watcher off the window's thread posts it, and the window's sink
  // gets WmAddressChange on its own thread. The watch ends with the window. False when the
  // system gives no such notice; a system may also accept the watch and never report.
  virtual bool WatchAddressChanges(WindowHandle w) = 0;
  // Tells readers that the name of item `index` of the window's accessible client object
  // changed (EVENT_OBJECT_NAMECHANGE).
  virtual void AccessibleNameChanged(WindowHandle w, int index) = 0;
};

constexpr uint32_t MB_OK_ = 0x0;
constexpr uint32_t MB_ICONERROR_ = 0x10;
constexpr uint32_t MB_ICONWARNING_ = 0x30;
constexpr uint32_t MB_ICONINFORMATION_ = 0x40;

}  // namespace vsi
