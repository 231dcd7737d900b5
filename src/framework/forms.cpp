#include "framework/forms.h"

#include "framework/context.h"
#include "framework/description.h"

namespace vsi {

const EnumInfo kWindowStateNames{{"wsNormal", "wsMinimized", "wsMaximized"}};
const EnumInfo kBorderIconNames{{"biSystemMenu", "biMinimize", "biMaximize", "biHelp"}};

const ClassInfo& TForm::StaticClass() {
  static const ClassInfo info =
      ClassBuilder<TForm>("TForm", &TWinControl::StaticClass())
          .Int("Width", &TForm::OuterWidth, &TForm::SetOuterWidth)
          .Int("Height", &TForm::OuterHeight, &TForm::SetOuterHeight)
          .Int("ClientWidth", &TForm::ClientWidth, &TForm::SetFormClientWidth)
          .Int("ClientHeight", &TForm::ClientHeight, &TForm::SetFormClientHeight)
          .Bool("AutoScroll", &TForm::AutoScroll, &TForm::SetAutoScroll)
          .Set("BorderIcons", kBorderIconNames, &TForm::BorderIcons, &TForm::SetBorderIcons)
          .Enum("BorderStyle", kBorderStyleNames, &TForm::BorderStyle, &TForm::SetBorderStyle)
          .Text("Icon", &TForm::Icon, &TForm::SetIcon)
          .Int("PixelsPerInch", &TForm::PixelsPerInch, &TForm::SetPixelsPerInch)
          .Bool("Scaled", &TForm::Scaled, &TForm::SetScaled)
          .Enum("WindowState", kWindowStateNames, &TForm::WindowState, &TForm::SetWindowState)
          .Event("OnClose", &TForm::OnClose)
          .Event("OnCreate", &TForm::OnCreate)
          .Event("OnDestroy", &TForm::OnDestroy)
          .Event("OnShow", &TForm::OnShow)
          .Build();
  return info;
}

TForm::TForm(TComponent* owner) : TWinControl(owner) {
  visible_ = false;
  parentFont_ = false;
  width_ = 320;
  height_ = 240;
}

TForm::~TForm() { Fire(OnDestroy, this); }

void TForm::RegisterMethod(const std::string& name, TNotifyEvent handler) { methods_[name] = std::move(handler); }

TNotifyEvent TForm::FindMethod(std::string_view name) const {
  for (const auto& [key, handler] : methods_)
    if (SameText(key, name)) return handler;
  return nullptr;
}

void TForm::LoadDescription(const std::string& text) {
  ApplyDescription(*this, ParseDescription(text));
  Fire(OnCreate, this);
}

void TForm::CreateParams(WindowParams& params) const {
  TWinControl::CreateParams(params);
  params.kind = WindowKind::Form;
  params.parent = 0;
  params.visible = false;
  // The main form belongs to the taskbar window. Any other form stands alone with a taskbar
  // button of its own: window managers minimise an owned window together with its owner.
  if (TApplication* app = ApplicationOf(*this); app && app->MainForm() == this) params.owner = app->Handle();
  params.toolWindow = borderStyle_ == bsToolWindow || borderStyle_ == bsSizeToolWin;
  params.sizeable = borderStyle_ == bsSizeable || borderStyle_ == bsSizeToolWin;
  if (outerWidth_ > 0 && outerHeight_ > 0) {
    params.outerBounds = true;
    params.bounds = {left_, top_, left_ + outerWidth_, top_ + outerHeight_};
  }
  params.systemMenu = (borderIcons_ & biSystemMenu) != 0;
  params.minimizeBox = (borderIcons_ & biMinimize) != 0;
  params.maximizeBox = (borderIcons_ & biMaximize) != 0;
  params.iconResource = icon_;
}

void TForm::CreateWnd() {
  // The monitor the window opens on gives its scale.
  view_.dpi = Windows().DpiAt({left_, top_});
  if (view_.dpi <= 0) view_.dpi = kDesignDpi;
  view_.highContrast = Windows().HighContrast();
  TWinControl::CreateWnd();
}

void TForm::WmDpiChanged(int dpi, const TRect& suggested) {
  if (dpi <= 0 || dpi == view_.dpi) return;
  view_.dpi = dpi;
  // The system's rectangle first: the client size it gives back is the stored one at the
  // new scale, so nothing realigns; then every child takes its bounds and font again.
  if (HandleAllocated()) Windows().SetWindowRect(Handle(), suggested);
  left_ = suggested.left;
  top_ = suggested.top;
  for (TControl* c : controls_) c->ApplyView();
  Invalidate();
}

bool TForm::WatchAddressChanges() { return HandleAllocated() && Windows().WatchAddressChanges(Handle()); }

TRect TForm::WindowRect() const {
  if (HandleAllocated()) return Windows().WindowRect(Handle());
  return {left_, top_, left_, top_};
}

void TForm::MoveTo(TPoint screen) {
  if (!HandleAllocated()) {
    left_ = screen.x;
    top_ = screen.y;
    return;
  }
  TRect r = Windows().WindowRect(Handle());
  Windows().SetWindowRect(Handle(), {screen.x, screen.y, screen.x + r.Width(), screen.y + r.Height()});
  left_ = screen.x;
  top_ = screen.y;
}

void TForm::CreateWindowHandle() {
  TWinControl::CreateWindowHandle();
  // The frame is the system's: only now is the inside of a window made at its outer size known.
  TSize client = Windows().ClientSize(Handle());
  client = {view_.Unscale(client.cx), view_.Unscale(client.cy)};
  if (outerWidth_ > 0 && outerHeight_ > 0) {
    frame_ = {outerWidth_ - client.cx, outerHeight_ - client.cy};
  } else {
    frame_ = {0, 0};
  }
  WmSize(client.cx, client.cy);
  const TRect outer = Windows().WindowRect(Handle());
  designedOuter_ = {view_.Unscale(outer.Width()), view_.Unscale(outer.Height())};
}

TSize TForm::WmMinSize() {
  if (borderStyle_ != bsSizeable && borderStyle_ != bsSizeToolWin) return {};
  return {view_.Scale(designedOuter_.cx), view_.Scale(designedOuter_.cy)};
}

int TForm::OuterWidth() const {
  if (HandleAllocated()) return width_ + frame_.cx;
  return outerWidth_ > 0 ? outerWidth_ : width_;
}

int TForm::OuterHeight() const {
  if (HandleAllocated()) return height_ + frame_.cy;
  return outerHeight_ > 0 ? outerHeight_ : height_;
}

void TForm::SetOuterWidth(int v) {
  if (HandleAllocated()) {
    SetWidth(v - frame_.cx);
    return;
  }
  outerWidth_ = v;
}

void TForm::SetOuterHeight(int v) {
  if (HandleAllocated()) {
    SetHeight(v - frame_.cy);
    return;
  }
  outerHeight_ = v;
}

void TForm::SetFormClientWidth(int v) {
  outerWidth_ = 0;
  SetWidth(v);
}

void TForm::SetFormClientHeight(int v) {
  outerHeight_ = 0;
  SetHeight(v);
}

void TForm::WmSize(int clientWidth, int clientHeight) {
  // The window is already that size: only the children follow.
  if (clientWidth == width_ && clientHeight == height_) return;
  width_ = clientWidth;
  height_ = clientHeight;
  RealignChildren();
}

void TForm::Show() {
  HandleNeeded();
  visible_ = true;
  Windows().SetVisible(Handle(), true);
  showing_ = true;
  if (!shownOnce_) {
    shownOnce_ = true;
    DoShow();
  }
}

void TForm::Hide() {
  visible_ = false;
  showing_ = false;
  if (HandleAllocated()) Windows().SetVisible(Handle(), false);
}

void TForm::BringToFront() {
  if (!HandleAllocated()) return;
  // A minimised window comes back first.
  if (Windows().IsMinimized(Handle())) Windows().Restore(Handle());
  Windows().BringToFront(Handle());
}

void TForm::DoShow() {
  // A failure in the show handler is reported; the window stays shown.
  try {
    Fire(OnShow, this);
  } catch (const std::exception& e) {
    if (TApplication* app = ApplicationOf(*this))
      app->HandleException(e);
    else
      throw;
  }
}

void TForm::Close() {
  if (WmClose() && HandleAllocated()) DestroyHandle();
}

void TForm::WmShow() {}

bool TForm::WmClose() {
  // A failing close handler is reported and the window closes all the same: the user must
  // always be able to quit.
  try {
    Fire(OnClose, this);
  } catch (const std::exception& e) {
    TApplication* app = ApplicationOf(*this);
    if (!app) throw;
    app->HandleException(e);
  }
  // Only the main window's close ends the program; any other window just hides.
  TApplication* app = ApplicationOf(*this);
  if (app && app->MainForm() != this) {
    Hide();
    return false;
  }
  return true;
}

void TForm::WmDestroy() {
  TWinControl::WmDestroy();
  showing_ = false;
  TApplication* app = ApplicationOf(*this);
  if (app && app->MainForm() == this) app->Terminate();
}

bool TForm::WmAccessibleItems(std::vector<AccessibleItem>& items) {
  items.clear();
  WalkAccessible([&](TControl& c, const TRect& bounds, bool shown) {
    const AccessibleRole role = c.AccRole();
    items.push_back({role, c.AccName(), bounds, shown, c.Enabled(), role == AccessibleRole::Window ? c.Handle() : 0});
    return false;
  });
  return true;
}

void TForm::WmAccessibleAction(int index) {
  // Only what the reader was shown can be pressed: a hidden or disabled control does nothing,
  // as a click on it would not.
  WalkAccessible([&](TControl& c, const TRect&, bool shown) {
    if (index-- != 0) return false;
    if (shown && c.Enabled() && c.AccRole() != AccessibleRole::Window) c.AccDoDefaultAction();
    return true;
  });
}

WindowHandle TForm::MinimizedWindow() const {
  TApplication* app = ApplicationOf(*this);
  return app && app->MainForm() == this && app->Handle() ? app->Handle() : Handle();
}

TWindowState TForm::WindowState() const {
  if (!HandleAllocated()) return windowState_;
  if (Windows().IsMinimized(MinimizedWindow())) return wsMinimized;
  return Windows().IsMaximized(Handle()) ? wsMaximized : wsNormal;
}

void TForm::SetWindowState(TWindowState state) {
  // Compared with the state the window has now, not with the last one set here: the user
  // restores the window from the taskbar without telling us.
  if (state == WindowState()) return;
  windowState_ = state;
  if (!HandleAllocated()) return;
  const WindowHandle minimized = MinimizedWindow();
  switch (state) {
    case wsMinimized:
      Windows().Minimize(minimized);
      break;
    case wsMaximized:
      if (Windows().IsMinimized(minimized)) Windows().Restore(minimized);
      Windows().Maximize(Handle());
      break;
    case wsNormal:
      if (Windows().IsMinimized(minimized)) Windows().Restore(minimized);
      if (Windows().IsMaximized(Handle())) Windows().Restore(Handle());
      break;
  }
}

// ---- TApplication

const ClassInfo& TApplication::StaticClass() {
  static const ClassInfo info = ClassBuilder<TApplication>("TApplication", &TComponent::StaticClass())
                                    .Text("Title", &TApplication::Title, &TApplication::SetTitle)
                                    .Build();
  return info;
}

TApplication::TApplication(AppContext& context) : TComponent(context) {
  Plat().windows.SetExceptionHandler([this](const std::exception& e) { HandleException(e); });
}

TApplication::~TApplication() {
  Plat().windows.SetExceptionHandler(nullptr);
  // Forms go before the application window.
  while (ComponentCount() > 0) delete Components(ComponentCount() - 1);
  if (handle_) Plat().windows.DestroyWindow(handle_);
}

void TApplication::SetTitle(const std::string& title) {
  title_ = title;
  if (handle_) Plat().windows.SetText(handle_, Plat().locale.MultiByteToWide(CP_ACP_, title_));
}

void TApplication::CreateHandle() {
  if (handle_) return;
  WindowParams p;
  p.kind = WindowKind::Form;
  p.appWindow = true;
  p.text = Plat().locale.MultiByteToWide(CP_ACP_, title_);
  p.visible = true;
  handle_ = Plat().windows.CreateWindow(p, &events_);
}

bool TApplication::WindowEvents::WmClose() {
  app.Terminate();
  return false;  // the window goes with the application
}

int TApplication::Run() {
  // Asked to end before the window was ever shown: nothing to show.
  if (!mainForm_ || terminated_) return 0;
  mainForm_->Show();
  return Plat().windows.RunMessageLoop();
}

void TApplication::Terminate() {
  terminated_ = true;
  Plat().windows.PostQuit(0);
}

void TApplication::ProcessMessages() { Plat().windows.ProcessMessages(); }

void TApplication::Minimize() {
  if (handle_) Plat().windows.Minimize(handle_);
}

void TApplication::Restore() {
  if (handle_) Plat().windows.Restore(handle_);
}

void TApplication::HandleException(const std::exception& e) {
  // The box's own message loop goes on dispatching: a failure that repeats on every timer
  // tick would open a box inside the box each second. While one is open, others are dropped.
  if (errorBoxOpen_) return;
  errorBoxOpen_ = true;
  struct Closed {
    bool& open;
    ~Closed() { open = false; }
  } closed{errorBoxOpen_};
  if (OnException)
    OnException(this, e);
  else
    ShowException(e);
}

WindowHandle TApplication::ErrorBoxOwner() const {
  return mainForm_ && mainForm_->HandleAllocated() ? mainForm_->Handle() : handle_;
}

void TApplication::ShowException(const std::exception& e) {
  Plat().windows.MessageBox(ErrorBoxOwner(), WithFullStop(e.what()), title_, MB_OK_ | MB_ICONERROR_);
}

std::string WithFullStop(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
  return message;
}

TApplication* ApplicationOf(const TComponent& component) {
  const TComponent* c = &component;
  while (c->Owner()) c = c->Owner();
  return const_cast<TApplication*>(dynamic_cast<const TApplication*>(c));
}

}  // namespace vsi
