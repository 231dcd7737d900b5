#pragma once
// Forms (top-level windows built from a window description) and the application object.
#include <exception>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "framework/controls.h"
#include "framework/stdctrls.h"

namespace vsi {

class TApplication;

enum TWindowState : uint8_t { wsNormal, wsMinimized, wsMaximized };
extern const EnumInfo kWindowStateNames;
enum TBorderIcon : uint8_t { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
extern const EnumInfo kBorderIconNames;

class TForm : public TWinControl {
  VSI_CLASS(TForm)
  explicit TForm(TComponent* owner);
  ~TForm() override;

  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle v) { borderStyle_ = v; }
  uint8_t BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(uint8_t v) { borderIcons_ = v; }
  const std::string& Icon() const { return icon_; }
  void SetIcon(const std::string& resource) { icon_ = resource; }
  bool Scaled() const { return scaled_; }
  void SetScaled(bool v) { scaled_ = v; }
  bool AutoScroll() const { return autoScroll_; }
  void SetAutoScroll(bool v) { autoScroll_ = v; }
  int PixelsPerInch() const { return 96; }
  void SetPixelsPerInch(int) {}
  // The scale and contrast of the monitor the window is on, taken when its window is made and
  // again whenever it moves to a monitor of another scale.
  ViewScale View() const override { return view_; }
  // The whole window's rectangle on the screen, in screen pixels (0 size without a window).
  TRect WindowRect() const;
  // Places the whole window at this screen point (before or after its window is made).
  void MoveTo(TPoint screen);
  // The state the window has now: the user may restore or maximise it without a word to us.
  TWindowState WindowState() const;
  void SetWindowState(TWindowState state);
  // The whole window's size, frame included; ClientWidth and ClientHeight are the inside's.
  // A description gives one or the other; the last one given is kept when the window is made.
  int OuterWidth() const;
  int OuterHeight() const;
  void SetOuterWidth(int v);
  void SetOuterHeight(int v);
  void SetFormClientWidth(int v);
  void SetFormClientHeight(int v);

  // The handlers a description may bind by name.
  void RegisterMethod(const std::string& name, TNotifyEvent handler);
  TNotifyEvent FindMethod(std::string_view name) const;
  // Applies a window description to this form (see description.h) and sends "loaded".
  void LoadDescription(const std::string& text);

  // Shows the window: creates it and its children, makes it visible, then runs OnShow once.
  void Show();
  void Hide();
  void BringToFront();
  // Asks to close, as the close box does.
  void Close();
  bool Showing() const { return showing_; }

  TNotifyEvent OnShow;
  TNotifyEvent OnClose;
  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  // Keys pressed anywhere in the window, before its controls: true when taken.
  std::function<bool(uint16_t key, uint8_t shift)> OnShortcut;
  // What changes under a window that stays open: the display's mode, the volumes (bit 0 of
  // `drives` is A:) and, once WatchAddressChanges is asked, the machine's network addresses.
  TNotifyEvent OnDisplayChange;
  std::function<void(bool arrived, uint32_t drives)> OnVolumesChange;
  TNotifyEvent OnAddressChange;
  // Asks the system for OnAddressChange (once the window exists); false when it gives none.
  bool WatchAddressChanges();

  // Window events.
  void WmShow() override;
  void WmSize(int clientWidth, int clientHeight) override;
  bool WmClose() override;
  bool WmShortcut(uint16_t key, uint8_t shift) override { return OnShortcut && OnShortcut(key, shift); }
  void WmDestroy() override;
  void WmDpiChanged(int dpi, const TRect& suggested) override;
  // A sizeable form cannot be made smaller than it was designed: its parts would be cut.
  TSize WmMinSize() override;
  void WmDisplayChange() override { Fire(OnDisplayChange, this); }
  void WmVolumesChange(bool arrived, uint32_t drives) override {
    if (OnVolumesChange) OnVolumesChange(arrived, drives);
  }
  void WmAddressChange() override { Fire(OnAddressChange, this); }
  WideString WindowText() const override { return ToWide(caption_); }
  // What a screen reader finds in the window: its controls as items (see WalkAccessible).
  bool WmAccessibleItems(std::vector<AccessibleItem>& items) override;
  void WmAccessibleAction(int index) override;

 protected:
  void CreateParams(WindowParams& params) const override;
  // A form's place is the screen's, in its pixels; only its size scales.
  TRect NativeRect(const TRect& r) const override {
    return {r.left, r.top, r.left + view_.Scale(r.Width()), r.top + view_.Scale(r.Height())};
  }
  void CreateWnd() override;
  void CreateWindowHandle() override;
  void DoShow();
  // The window that minimising hides: the application's for the main form, else its own.
  WindowHandle MinimizedWindow() const;

  TBorderStyle borderStyle_ = bsSizeable;
  uint8_t borderIcons_ = biSystemMenu | biMinimize | biMaximize;
  std::string icon_;
  bool scaled_ = true;
  bool autoScroll_ = false;
  TWindowState windowState_ = wsNormal;
  int outerWidth_ = 0, outerHeight_ = 0;  // 0: the client size was given
  TSize frame_;  // outer less client size, once the window exists
  TSize designedOuter_;  // the whole window's size when made, at the design scale
  ViewScale view_;
  bool showing_ = false;
  bool shownOnce_ = false;
  std::map<std::string, TNotifyEvent, std::less<>> methods_;
};

// The application: title, the forms it owns, the main form, the error box and the loop.
class TApplication : public TComponent {
  VSI_CLASS(TApplication)
  explicit TApplication(AppContext& context);
  ~TApplication() override;

  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title);
  TForm* MainForm() const { return mainForm_; }
  // The taskbar window that owns the forms (0 without peers).
  WindowHandle Handle() const { return handle_; }
  void CreateHandle();

  // Creates a form owned by the application; the first becomes the main form.
  template <class F>
  F* CreateForm() {
    F* form = new F(this);
    if (!mainForm_) mainForm_ = form;
    return form;
  }

  // Shows the main form and runs the message loop until it closes.
  int Run();
  // Ends the message loop; Terminated() from then on, also inside handlers that still run.
  void Terminate();
  bool Terminated() const { return terminated_; }
  void ProcessMessages();
  void Minimize();
  void Restore();

  // An exception that left an event handler: to OnException when set, else ShowException.
  // One error box at a time: a failure while a box is open is dropped.
  void HandleException(const std::exception& e);
  bool ErrorBoxOpen() const { return errorBoxOpen_; }
  // The window an error box belongs to: the main form once it has a window, else ours.
  WindowHandle ErrorBoxOwner() const;
  // The standard error box: title, error icon, message with the full-stop rule.
  void ShowException(const std::exception& e);
  std::function<void(TObject* sender, const std::exception& e)> OnException;

 private:
  // The application window's own events: closed from the taskbar before the main form exists
  // (while a box of the start-up is open), the program ends instead of showing it.
  struct WindowEvents : IWindowEvents {
    explicit WindowEvents(TApplication& app) : app(app) {}
    bool WmClose() override;
    TApplication& app;
  };
  WindowEvents events_{*this};
  std::string title_;
  TForm* mainForm_ = nullptr;
  WindowHandle handle_ = 0;
  bool errorBoxOpen_ = false;
  bool terminated_ = false;
};

// The message with a full stop added unless it ends in "." or a character that sorts before it.
std::string WithFullStop(const std::string& message);

// The application of a component's context (the owner chain's root), or null.
TApplication* ApplicationOf(const TComponent& component);

}  // namespace vsi
