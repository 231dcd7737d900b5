// The real window system and GDI canvas under a real user32/gdi32: windows made through the
// interface carry their texts, native notifications reach the sinks, exceptions stop at the
// window procedure, timers fire from the loop, and painting is double-buffered and leak-free.
#include "platform/win32/win32_windows.h"

#include <commctrl.h>
#include <winternl.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "../support/process_counters.h"
#include "build_files.h"
#include "res/resource_names.h"

namespace vsi {
namespace {

HWND H(WindowHandle w) { return reinterpret_cast<HWND>(w); }

std::wstring TextOf(HWND hwnd) {
  wchar_t buffer[512] = {};
  GetWindowTextW(hwnd, buffer, 512);
  return buffer;
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  std::wstring s = name;
  for (auto& c : s) c = static_cast<wchar_t>(towlower(c));
  return s;
}

std::wstring W(const WideString& s) { return std::wstring(s.begin(), s.end()); }

// Records what the window system tells it; painting is a scripted list of canvas calls.
struct TestSink : IWindowEvents {
  int paints = 0, clicks = 0, selChanges = 0, destroys = 0, shows = 0, closes = 0;
  int downs = 0, ups = 0, drawItems = 0;
  TPoint lastDown{-1, -1};
  TSize lastSize{-1, -1};
  uint16_t lastKey = 0;
  bool eatKeys = false;
  bool allowClose = true;
  bool throwOnClick = false;
  std::string tooltip;  // answered to tooltip requests when set
  std::function<void(ICanvas&)> paint;
  std::function<bool()> cursor;

  void WmPaint(ICanvas& canvas) override {
    ++paints;
    if (paint) paint(canvas);
  }
  void WmMouseDown(MouseButton, uint8_t, int x, int y) override {
    ++downs;
    lastDown = {x, y};
  }
  void WmMouseUp(MouseButton, uint8_t, int, int) override { ++ups; }
  bool WmKeyDown(uint16_t key, uint8_t) override {
    lastKey = key;
    return eatKeys;
  }
  void WmClick() override {
    ++clicks;
    if (throwOnClick) throw std::runtime_error("click failed");
  }
  void WmSelChange() override { ++selChanges; }
  void WmShow() override { ++shows; }
  void WmSize(int w, int h) override { lastSize = {w, h}; }
  bool WmClose() override {
    ++closes;
    return allowClose;
  }
  void WmDestroy() override { ++destroys; }
  void WmDrawItem(ICanvas& canvas, int, const TRect& r, const DrawItemState&) override {
    ++drawItems;
    canvas.SetBrush(clWhite);
    canvas.FillRect(r);
  }
  bool WmSetCursor() override { return cursor ? cursor() : false; }
  bool WmTooltip(std::string& text, TPoint& pos) override {
    if (tooltip.empty()) return false;
    text = tooltip;
    pos = {3, 4};
    return true;
  }
};

// Pumps messages until `done` or about five seconds of waiting for input.
template <class Done>
void PumpUntil(Win32WindowSystem& ws, Done done) {
  for (int i = 0; i < 500 && !done(); ++i) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    ws.ProcessMessages();
  }
}

class WindowSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ws_.SetExceptionHandler([this](const std::exception& e) { errors_.push_back(e.what()); });
  }

  WindowHandle MakeForm(const TRect& bounds = {40, 50, 340, 250}) {
    WindowParams p;
    p.kind = WindowKind::Form;
    p.bounds = bounds;
    p.text = u"Form \u00e9\u4e2d";
    p.toolWindow = true;
    p.maximizeBox = false;
    p.color = Rgb(128, 128, 255);
    p.visible = false;
    WindowHandle form = ws_.CreateWindow(p, &formSink_);
    ws_.SetVisible(form, true);
    return form;
  }

  WindowHandle MakeChild(WindowHandle parent, WindowKind kind, const TRect& bounds, const WideString& text,
                         IWindowEvents* sink) {
    WindowParams p;
    p.kind = kind;
    p.parent = parent;
    p.bounds = bounds;
    p.text = text;
    p.tabStop = kind != WindowKind::Custom;
    p.vScroll = true;
    p.itemHeight = 14;
    return ws_.CreateWindow(p, sink);
  }

  Win32WindowSystem ws_;
  TestSink formSink_;
  std::vector<std::string> errors_;
};

TEST_F(WindowSystemTest, WindowsCarryTheirTextsAndClasses) {
  WindowHandle form = MakeForm();
  TestSink custom, button, memo, combo;
  WindowHandle c = MakeChild(form, WindowKind::Custom, {5, 5, 105, 25}, u"Label \u00fc", &custom);
  WindowHandle b = MakeChild(form, WindowKind::Button, {5, 30, 80, 55}, u"Press", &button);
  WindowHandle m = MakeChild(form, WindowKind::Memo, {5, 60, 205, 120}, u"line 1\r\nline \u00e5", &memo);
  WindowHandle x = MakeChild(form, WindowKind::ComboBox, {5, 125, 125, 144}, u"", &combo);
  ASSERT_NE(form, 0u);
  ASSERT_NE(c, 0u);
  ASSERT_NE(b, 0u);
  ASSERT_NE(m, 0u);
  ASSERT_NE(x, 0u);
  ws_.ComboSetItems(x, {u"C:", u"D: \u00e4", u"E:"});
  ws_.ComboSetIndex(x, 1);

  struct Row {
    const char* name;
    WindowHandle w;
    const wchar_t* cls;
    std::wstring text;
  } rows[] = {
      {"form", form, L"vsiform", L"Form \u00e9\u4e2d"},
      {"custom", c, L"vsicontrol", L"Label \u00fc"},
      {"button", b, L"button", L"Press"},
      {"memo", m, L"edit", L"line 1\r\nline \u00e5"},
      {"combo shows its selected item", x, L"combobox", L"D: \u00e4"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(ClassOf(H(row.w)), row.cls);
    EXPECT_EQ(TextOf(H(row.w)), row.text);
    EXPECT_EQ(W(ws_.GetText(row.w)), row.text);
  }

  // A reader selecting by text, as the end-to-end driver does.
  SendMessageW(H(x), CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"E:"));
  EXPECT_EQ(ws_.ComboGetIndex(x), 2);
  EXPECT_EQ(TextOf(H(x)), L"E:");

  ws_.SetText(c, u"changed");
  EXPECT_EQ(TextOf(H(c)), L"changed");

  // A long command output fits in the memo, past the edit control's default 32K limit.
  WideString longText;
  for (int i = 0; i < 1000; ++i) longText += u"   Physical Address. . . . : 00-11-22\r\n";
  TestSink big;
  WindowHandle m2 = MakeChild(form, WindowKind::Memo, {5, 150, 205, 200}, longText, &big);
  ASSERT_GT(longText.size(), 32768u);
  EXPECT_EQ(GetWindowTextLengthW(H(m2)), static_cast<int>(longText.size()));
  ws_.SetText(m2, longText + u"y");
  EXPECT_EQ(GetWindowTextLengthW(H(m2)), static_cast<int>(longText.size()) + 1);
  ws_.DestroyWindow(form);
}

TEST_F(WindowSystemTest, FormBoundsAreScreenPositionAndClientSize) {
  WindowHandle form = MakeForm({40, 50, 925, 240});
  RECT client{};
  GetClientRect(H(form), &client);
  EXPECT_EQ(client.right, 885);
  EXPECT_EQ(client.bottom, 190);
  RECT frame{};
  GetWindowRect(H(form), &frame);
  EXPECT_EQ(frame.left, 40);
  EXPECT_EQ(frame.top, 50);
  EXPECT_TRUE(GetWindowLongW(H(form), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(GetWindowLongW(H(form), GWL_STYLE) & WS_MINIMIZEBOX);
  EXPECT_FALSE(GetWindowLongW(H(form), GWL_STYLE) & WS_MAXIMIZEBOX);

  ws_.SetBounds(form, {60, 70, 460, 370});
  GetClientRect(H(form), &client);
  GetWindowRect(H(form), &frame);
  EXPECT_EQ(client.right, 400);
  EXPECT_EQ(client.bottom, 300);
  EXPECT_EQ(frame.left, 60);
  EXPECT_EQ(frame.top, 70);
  EXPECT_EQ(formSink_.shows, 1);
  ws_.DestroyWindow(form);
}

TEST_F(WindowSystemTest, NativeNotificationsReachTheSinks) {
  WindowHandle form = MakeForm();
  TestSink button, combo;
  WindowHandle b = MakeChild(form, WindowKind::Button, {5, 5, 80, 30}, u"OK", &button);
  WindowHandle x = MakeChild(form, WindowKind::ComboBox, {5, 40, 125, 59}, u"", &combo);
  ws_.ComboSetItems(x, {u"A", u"B", u"C"});

  SendMessageW(H(b), BM_CLICK, 0, 0);
  EXPECT_EQ(button.clicks, 1);

  // What the end-to-end driver does: select, then tell the parent as the user's choice would.
  SendMessageW(H(x), CB_SETCURSEL, 2, 0);
  SendMessageW(H(form), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(H(x)), CBN_SELCHANGE), reinterpret_cast<LPARAM>(H(x)));
  EXPECT_EQ(combo.selChanges, 1);
  EXPECT_EQ(ws_.ComboGetIndex(x), 2);
  EXPECT_EQ(button.selChanges, 0);
  EXPECT_EQ(combo.clicks, 0);

  // The owner-drawn field is painted through the sink.
  RedrawWindow(H(x), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_GT(combo.drawItems, 0);

  // A combo box of 19 pixels is 19 pixels tall, whatever the system's frame.
  RECT r{};
  GetWindowRect(H(x), &r);
  EXPECT_EQ(r.bottom - r.top, 19);
  ws_.DestroyWindow(form);
}

TEST_F(WindowSystemTest, ExceptionFromAHandlerStopsAtTheWindowProcedure) {
  WindowHandle form = MakeForm();
  TestSink button;
  button.throwOnClick = true;
  WindowHandle b = MakeChild(form, WindowKind::Button, {5, 5, 80, 30}, u"OK", &button);
  SendMessageW(H(b), BM_CLICK, 0, 0);
  EXPECT_EQ(button.clicks, 1);
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0], "click failed");

  // Without a handler the exception is dropped, still inside the procedure.
  ws_.SetExceptionHandler(nullptr);
  SendMessageW(H(b), BM_CLICK, 0, 0);
  EXPECT_EQ(button.clicks, 2);
  EXPECT_EQ(errors_.size(), 1u);
  ws_.DestroyWindow(form);
}

TEST_F(WindowSystemTest, MouseAndKeysReachCustomControls) {
  WindowHandle form = MakeForm();
  TestSink custom;
  WindowHandle c = MakeChild(form, WindowKind::Custom, {10, 10, 110, 40}, u"x", &custom);
  SendMessageW(H(c), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(7, 9));
  SendMessageW(H(c), WM_LBUTTONUP, 0, MAKELPARAM(7, 9));
  EXPECT_EQ(custom.downs, 1);
  EXPECT_EQ(custom.ups, 1);
  EXPECT_EQ(custom.lastDown, (TPoint{7, 9}));

  // Negative client coordinates (a drag past the left edge) keep their sign.
  SendMessageW(H(c), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-3, 2));
  EXPECT_EQ(custom.lastDown, (TPoint{-3, 2}));

  SendMessageW(H(c), WM_KEYDOWN, VK_LEFT, 0);
  EXPECT_EQ(custom.lastKey, VK_LEFT);

  // The control chooses its cursor; without the program's hand cursor the system's is used.
  custom.cursor = [&] {
    ws_.SetCursor(CursorKind::Hand);
    return true;
  };
  EXPECT_EQ(SendMessageW(H(c), WM_SETCURSOR, reinterpret_cast<WPARAM>(H(c)), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
            TRUE);
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_HAND));
  ws_.DestroyWindow(form);
}

TEST_F(WindowSystemTest, CloseAsksTheSinkAndDestroyReachesEveryChild) {
  WindowHandle form = MakeForm();
  TestSink custom, button, memo;
  MakeChild(form, WindowKind::Custom, {5, 5, 50, 20}, u"a", &custom);
  MakeChild(form, WindowKind::Button, {5, 25, 50, 45}, u"b", &button);
  MakeChild(form, WindowKind::Memo, {5, 50, 50, 90}, u"c", &memo);

  formSink_.allowClose = false;
  SendMessageW(H(form), WM_CLOSE, 0, 0);
  EXPECT_EQ(formSink_.closes, 1);
  EXPECT_TRUE(IsWindow(H(form)));

  formSink_.allowClose = true;
  SendMessageW(H(form), WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(H(form)));
  EXPECT_EQ(formSink_.destroys, 1);
  EXPECT_EQ(custom.destroys, 1);
  EXPECT_EQ(button.destroys, 1);
  EXPECT_EQ(memo.destroys, 1);
}

TEST_F(WindowSystemTest, TimerFiresFromTheLoopAndItsExceptionReachesTheHandler) {
  int ticks = 0;
  uintptr_t timer = 0;
  timer = ws_.SetTimer(10, [&] {
    ++ticks;
    ws_.KillTimer(timer);  // a callback may stop its own timer
    throw std::runtime_error("sample failed");
  });
  ASSERT_NE(timer, 0u);
  PumpUntil(ws_, [&] { return !errors_.empty(); });
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0], "sample failed");
  EXPECT_EQ(ticks, 1);

  // A quit posted from a timer ends RunMessageLoop with its code.
  uintptr_t quitter = ws_.SetTimer(10, [&] { ws_.PostQuit(7); });
  ASSERT_NE(quitter, 0u);
  EXPECT_EQ(ws_.RunMessageLoop(), 7);
  ws_.KillTimer(quitter);
  EXPECT_EQ(ticks, 1);
}

TEST_F(WindowSystemTest, ProcessMessagesLeavesTheQuitForTheMainLoop) {
  ws_.PostQuit(3);
  ws_.ProcessMessages();
  MSG msg{};
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(WindowSystemTest, MemoColoursComeFromItsFontAndColour) {
  WindowHandle form = MakeForm();
  TestSink memo;
  WindowHandle m = MakeChild(form, WindowKind::Memo, {5, 5, 200, 100}, u"text", &memo);
  FontSpec f;
  f.color = clWhite;
  ws_.SetFont(m, f);
  ws_.SetColor(m, Rgb(128, 128, 255));
  HDC dc = CreateCompatibleDC(nullptr);
  auto brush = reinterpret_cast<HBRUSH>(
      SendMessageW(H(form), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(H(m))));
  EXPECT_EQ(GetTextColor(dc), RGB(255, 255, 255));
  EXPECT_EQ(GetBkColor(dc), RGB(128, 128, 255));
  LOGBRUSH lb{};
  ASSERT_NE(brush, nullptr);
  GetObjectW(brush, sizeof lb, &lb);
  EXPECT_EQ(lb.lbColor, RGB(128, 128, 255));
  DeleteDC(dc);

  // And the edit control paints with them.
  UpdateWindow(H(m));
  RECT client{};
  GetClientRect(H(m), &client);
  HDC wdc = GetDC(H(m));
  EXPECT_EQ(GetPixel(wdc, client.right - 3, client.bottom - 3), RGB(128, 128, 255));
  ReleaseDC(H(m), wdc);
  ws_.DestroyWindow(form);
}

NMTTDISPINFOW AskTip(HWND form, HWND tooltip, HWND child) {
  NMTTDISPINFOW di{};
  di.hdr.hwndFrom = tooltip;
  di.hdr.idFrom = reinterpret_cast<UINT_PTR>(child);
  di.hdr.code = TTN_GETDISPINFOW;
  di.uFlags = TTF_IDISHWND;
  SendMessageW(form, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&di));
  return di;
}

TEST_F(WindowSystemTest, TooltipsAskTheControlFirstThenTheHint) {
  WindowHandle form = MakeForm();
  TestSink button, calendar;
  WindowHandle b = MakeChild(form, WindowKind::Button, {5, 5, 80, 30}, u"b", &button);
  WindowHandle c = MakeChild(form, WindowKind::Custom, {5, 40, 80, 90}, u"c", &calendar);
  ws_.SetHint(b, "English");
  ws_.SetHint(c, "Next Month");
  HWND tip = ws_.TooltipOf(form);
  ASSERT_NE(tip, nullptr);
  EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 2);

  NMTTDISPINFOW di = AskTip(H(form), tip, H(b));
  ASSERT_NE(di.lpszText, nullptr);
  EXPECT_STREQ(di.lpszText, L"English");

  calendar.tooltip = "21 June";
  di = AskTip(H(form), tip, H(c));
  EXPECT_STREQ(di.lpszText, L"21 June");
  // The control's tip goes where the control said (client 3, 4).
  NMHDR show{tip, reinterpret_cast<UINT_PTR>(H(c)), TTN_SHOW};
  EXPECT_EQ(SendMessageW(H(form), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&show)), TRUE);
  POINT at{3, 4};
  ClientToScreen(H(c), &at);
  RECT tipRect{};
  GetWindowRect(tip, &tipRect);
  EXPECT_EQ(tipRect.left, at.x);
  EXPECT_EQ(tipRect.top, at.y);
  calendar.tooltip.clear();
  di = AskTip(H(form), tip, H(c));
  EXPECT_STREQ(di.lpszText, L"Next Month");

  // A destroyed child takes its tool with it.
  ws_.DestroyWindow(b);
  EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
  ws_.DestroyWindow(form);
}

TEST_F(WindowSystemTest, OnlyHintedControlsAndThoseWithTipsOfTheirOwnGetATool) {
  WindowHandle form = MakeForm();
  TestSink label, calendar;
  MakeChild(form, WindowKind::Custom, {5, 5, 80, 20}, u"plain label", &label);
  WindowParams p;
  p.parent = form;
  p.bounds = {5, 40, 80, 90};
  p.ownTooltips = true;
  WindowHandle c = ws_.CreateWindow(p, &calendar);
  HWND tip = ws_.TooltipOf(form);
  ASSERT_NE(tip, nullptr);
  EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
  calendar.tooltip = "21 June";
  EXPECT_STREQ(AskTip(H(form), tip, H(c)).lpszText, L"21 June");
  ws_.DestroyWindow(form);
}

TEST_F(WindowSystemTest, ApplicationWindowHidesAndShowsItsFormsAndPassesOnClose) {
  WindowParams a;
  a.kind = WindowKind::Form;
  a.appWindow = true;
  a.text = u"Velmora System Info 1.0";
  a.visible = true;
  WindowHandle app = ws_.CreateWindow(a, nullptr);
  ASSERT_NE(app, 0u);
  EXPECT_TRUE(IsWindowVisible(H(app)));
  EXPECT_EQ(TextOf(H(app)), L"Velmora System Info 1.0");

  WindowParams p;
  p.kind = WindowKind::Form;
  p.owner = app;
  p.bounds = {36, 61, 236, 161};
  p.text = u"  Velmora System Info 1.0";
  p.toolWindow = true;
  p.visible = false;
  WindowHandle form = ws_.CreateWindow(p, &formSink_);
  ws_.SetVisible(form, true);
  EXPECT_EQ(GetWindow(H(form), GW_OWNER), H(app));

  ws_.Minimize(app);
  EXPECT_TRUE(ws_.IsMinimized(app));
  EXPECT_FALSE(IsWindowVisible(H(form)));
  ws_.Restore(app);
  EXPECT_FALSE(ws_.IsMinimized(app));
  EXPECT_TRUE(IsWindowVisible(H(form)));

  // The form's own minimise box minimises the application window instead.
  SendMessageW(H(form), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(ws_.IsMinimized(app));
  EXPECT_FALSE(ws_.IsMinimized(form));
  EXPECT_FALSE(IsWindowVisible(H(form)));

  // Closing the taskbar button, even while minimised, closes the main form.
  SendMessageW(H(app), WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(H(app)));
  PumpUntil(ws_, [&] { return formSink_.destroys > 0; });
  EXPECT_EQ(formSink_.closes, 1);
  EXPECT_FALSE(IsWindow(H(form)));
  ws_.DestroyWindow(app);
}

TEST_F(WindowSystemTest, MinimisingAnotherFormLeavesTheMainFormAsItIs) {
  WindowParams a;
  a.kind = WindowKind::Form;
  a.appWindow = true;
  a.visible = true;
  WindowHandle app = ws_.CreateWindow(a, nullptr);
  WindowParams p;
  p.kind = WindowKind::Form;
  p.owner = app;
  p.bounds = {36, 61, 236, 161};
  p.toolWindow = true;
  p.visible = true;
  WindowHandle main = ws_.CreateWindow(p, &formSink_);  // the first form it owns
  TestSink upgradeSink;
  p.bounds = {224, 113, 524, 413};
  p.toolWindow = false;
  p.sizeable = true;
  WindowHandle upgrade = ws_.CreateWindow(p, &upgradeSink);

  SendMessageW(H(upgrade), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(IsIconic(H(upgrade))) << "it minimises itself";
  EXPECT_FALSE(ws_.IsMinimized(app));
  EXPECT_TRUE(IsWindowVisible(H(main)));
  ws_.Restore(upgrade);
  EXPECT_FALSE(IsIconic(H(upgrade)));
  ws_.DestroyWindow(app);
}

TEST_F(WindowSystemTest, ASizeableFormMadeAtItsOuterSizeTellsItsSinkEveryNewSize) {
  WindowParams p;
  p.kind = WindowKind::Form;
  p.bounds = {224, 113, 224 + 598, 113 + 472};
  p.outerBounds = true;
  p.sizeable = true;
  p.visible = true;
  WindowHandle form = ws_.CreateWindow(p, &formSink_);
  ASSERT_NE(form, 0u);
  RECT r{};
  GetWindowRect(H(form), &r);
  EXPECT_EQ(r.right - r.left, 598);
  EXPECT_EQ(r.bottom - r.top, 472);
  const LONG style = GetWindowLongW(H(form), GWL_STYLE);
  for (LONG bit : {WS_THICKFRAME, WS_CAPTION, WS_SYSMENU, WS_MINIMIZEBOX, WS_MAXIMIZEBOX})
    EXPECT_EQ(style & bit, bit) << std::hex << bit;
  EXPECT_EQ(GetWindowLongW(H(form), GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
  RECT c{};
  GetClientRect(H(form), &c);
  EXPECT_EQ(ws_.ClientSize(form), (TSize{c.right, c.bottom}));
  EXPECT_LT(c.right, 598) << "the frame is inside the outer size";

  ws_.Maximize(form);
  EXPECT_TRUE(ws_.IsMaximized(form));
  GetClientRect(H(form), &c);
  EXPECT_GT(c.right, 598);
  EXPECT_EQ(formSink_.lastSize, (TSize{c.right, c.bottom}));
  ws_.Restore(form);
  EXPECT_FALSE(ws_.IsMaximized(form));
  EXPECT_EQ(formSink_.lastSize, ws_.ClientSize(form));
  ws_.DestroyWindow(form);
}

TEST_F(WindowSystemTest, TabLeavesAMemoUnlessItWantsTabsAndSelectsNothingComingIn) {
  WindowHandle form = MakeForm();
  TestSink a, memoSink, b;
  WindowHandle first = MakeChild(form, WindowKind::Button, {5, 5, 80, 30}, u"one", &a);
  WindowHandle memo = MakeChild(form, WindowKind::Memo, {90, 5, 250, 95}, u"Host Name . . : velmora", &memoSink);
  WindowHandle last = MakeChild(form, WindowKind::Button, {5, 100, 80, 125}, u"two", &b);
  SetForegroundWindow(H(form));
  auto tab = [&](WindowHandle from, bool shift) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    PostMessageW(H(from), WM_KEYDOWN, VK_TAB, 0);
    ws_.ProcessMessages();
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    return ws_.GetFocus();
  };
  ws_.SetFocus(first);
  EXPECT_EQ(tab(first, false), memo);
  DWORD start = 1, end = 1;
  SendMessageW(H(memo), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, end) << "nothing selected: one key cannot wipe the text";
  EXPECT_EQ(tab(memo, false), last) << "Tab passes the memo on";
  EXPECT_EQ(tab(last, true), memo);
  EXPECT_EQ(tab(memo, true), first) << "so does Shift+Tab";
  EXPECT_EQ(W(ws_.GetText(memo)), L"Host Name . . : velmora") << "no tab typed";
  // Enter still makes a new line in it.
  MSG enter{H(memo), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
  EXPECT_TRUE(SendMessageW(H(memo), WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)) & DLGC_WANTALLKEYS);

  WindowParams p;
  p.kind = WindowKind::Memo;
  p.parent = form;
  p.bounds = {90, 100, 250, 150};
  p.tabStop = true;
  p.wantTabs = true;
  TestSink typing;
  WindowHandle tabs = ws_.CreateWindow(p, &typing);
  MSG tabKey{H(tabs), WM_KEYDOWN, VK_TAB, 0, 0, {}};
  EXPECT_TRUE(SendMessageW(H(tabs), WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(&tabKey)) & DLGC_WANTALLKEYS)
      << "a memo that wants tabs keeps them";
  ws_.DestroyWindow(form);
}

TEST_F(WindowSystemTest, TheTabSequenceFollowsTheOrderGivenNotTheOrderOfCreation) {
  WindowHandle form = MakeForm();
  TestSink s1, s2, s3;
  WindowHandle a = MakeChild(form, WindowKind::Button, {5, 5, 80, 30}, u"a", &s1);
  WindowHandle b = MakeChild(form, WindowKind::Button, {5, 35, 80, 60}, u"b", &s2);
  WindowHandle c = MakeChild(form, WindowKind::Button, {5, 65, 80, 90}, u"c", &s3);
  ws_.ArrangeTabOrder({c, a});
  std::vector<HWND> order;
  for (HWND h = GetWindow(H(form), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) order.push_back(h);
  EXPECT_EQ(order, (std::vector<HWND>{H(c), H(b), H(a)})) << "b keeps its place";
  EXPECT_EQ(GetNextDlgTabItem(H(form), H(c), FALSE), H(b));
  EXPECT_EQ(GetNextDlgTabItem(H(form), H(b), FALSE), H(a));
  ws_.DestroyWindow(form);
}

TEST_F(WindowSystemTest, TheWindowMenuIsReadAndWrittenByPosition) {
  WindowParams p;
  p.kind = WindowKind::Form;
  p.bounds = {40, 50, 340, 250};
  p.toolWindow = true;
  p.maximizeBox = false;
  WindowHandle form = ws_.CreateWindow(p, &formSink_);
  const int count = ws_.WindowMenuCount(form);
  ASSERT_GT(count, 0);
  int close = -1;
  for (int i = 0; i < count; ++i) {
    uint32_t command = 0;
    bool separator = false;
    ASSERT_TRUE(ws_.WindowMenuItem(form, i, command, separator));
    if (command == SC_CLOSE) close = i;
  }
  ASSERT_GE(close, 0);
  EXPECT_EQ(ws_.WindowMenuText(form, close), "&Close\tAlt+F4");
  ws_.SetWindowMenuText(form, close, SC_CLOSE, "&Fermer\tAlt+F4");
  EXPECT_EQ(ws_.WindowMenuText(form, close), "&Fermer\tAlt+F4");
  char text[64] = {};
  GetMenuStringA(GetSystemMenu(H(form), FALSE), SC_CLOSE, text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "&Fermer\tAlt+F4") << "the item keeps its command";
  EXPECT_EQ(ws_.WindowMenuCount(0), -1);
  ws_.DestroyWindow(form);
}

TEST_F(WindowSystemTest, AltF4ClosesTheFormWhateverControlHasTheFocus) {
  WindowHandle form = MakeForm();
  TestSink comboSink;
  WindowHandle combo = MakeChild(form, WindowKind::ComboBox, {5, 5, 120, 24}, u"", &comboSink);
  ws_.ComboSetItems(combo, {u"C:", u"Z:"});
  ws_.ComboSetIndex(combo, 1);
  SetForegroundWindow(H(form));
  ws_.SetFocus(combo);
  formSink_.allowClose = false;  // the close request is what counts
  PostMessageW(H(combo), WM_SYSKEYDOWN, VK_F4, 1 << 29);
  PumpUntil(ws_, [&] { return formSink_.closes > 0; });
  EXPECT_EQ(formSink_.closes, 1);
  ws_.DestroyWindow(form);
}

TEST_F(WindowSystemTest, DialogKeysMoveTheFocusAndArrowsReachControlsThatWantThem) {
  WindowHandle form = MakeForm();
  TestSink first, second, calendar;
  WindowHandle b1 = MakeChild(form, WindowKind::Button, {5, 5, 80, 30}, u"one", &first);
  WindowHandle b2 = MakeChild(form, WindowKind::Button, {5, 35, 80, 60}, u"two", &second);
  WindowParams p;
  p.kind = WindowKind::Custom;
  p.parent = form;
  p.bounds = {90, 5, 190, 95};
  p.tabStop = true;
  WindowHandle cal = ws_.CreateWindow(p, &calendar);
  SetForegroundWindow(H(form));
  ws_.SetFocus(b1);
  ASSERT_EQ(ws_.GetFocus(), b1);

  PostMessageW(H(b1), WM_KEYDOWN, VK_TAB, 0);
  ws_.ProcessMessages();
  EXPECT_EQ(ws_.GetFocus(), b2);
  PostMessageW(H(b2), WM_KEYDOWN, VK_TAB, 0);
  ws_.ProcessMessages();
  EXPECT_EQ(ws_.GetFocus(), cal);

  // The control asked for arrows: they reach it and the focus stays.
  PostMessageW(H(cal), WM_KEYDOWN, VK_RIGHT, 0);
  ws_.ProcessMessages();
  EXPECT_EQ(calendar.lastKey, VK_RIGHT);
  EXPECT_EQ(ws_.GetFocus(), cal);
  ws_.DestroyWindow(form);
}

// ---- painting

long GdiObjectCount() { return counters::GdiObjects(GetCurrentProcess()); }

// Everything a control's paint may do, so each path is in the leak check.
void PaintEverything(ICanvas& c) {
  c.SetBrush(clBtnFace);
  c.FillRect({0, 0, 100, 50});
  c.SetBrush(Rgb(1, 2, 3));
  c.FrameRect({1, 1, 20, 20});
  c.SetPen(clRed, 2, PenStyle::Dot);
  c.SetBrush(clYellow);
  c.Rectangle({2, 2, 30, 30});
  c.Ellipse({3, 3, 40, 20});
  c.Polygon({{0, 0}, {10, 0}, {5, 8}});
  c.MoveTo(0, 0);
  c.LineTo(50, 40);
  TRect clip{0, 0, 60, 30};
  c.SetClipRect(&clip);
  FontSpec f;
  f.style = fsBold | fsUnderline;
  c.SetFont(f);
  c.SetBrush(clWhite, BrushStyle::Clear);
  c.TextOut(1, 1, "text");
  c.TextOutW(1, 12, u"\u00e9t\u00e9");
  c.SetBrush(clAqua);
  c.TextRect({0, 0, 30, 10}, 0, 0, "clipped text");
  TRect r{0, 0, 80, 40};
  c.DrawText("draw", r, DT_CENTER_ | DT_SINGLELINE_);
  c.DrawTextW(u"wide", r, DT_CALCRECT_);
  c.TextExtent("x");
  c.SetClipRect(nullptr);
  c.DrawFocusRect({5, 5, 25, 25});
  c.DrawImage("NO_SUCH_PICTURE", -1, -1, true);
  c.DrawThemedBorder({0, 0, 100, 50});
}

TEST_F(WindowSystemTest, PaintingAThousandTimesLeavesTheGdiObjectCountFlat) {
  // The counter itself must see objects come and go, or a flat count proves nothing.
  long base = GdiObjectCount();
  ASSERT_GE(base, 0);
  HBRUSH probes[5];
  for (HBRUSH& b : probes) b = CreateSolidBrush(RGB(9, 9, 9));
  EXPECT_EQ(GdiObjectCount(), base + 5);
  for (HBRUSH b : probes) DeleteObject(b);
  ASSERT_EQ(GdiObjectCount(), base);

  WindowHandle form = MakeForm();
  TestSink custom;
  custom.paint = PaintEverything;
  WindowHandle c = MakeChild(form, WindowKind::Custom, {0, 0, 100, 50}, u"p", &custom);
  UpdateWindow(H(c));
  // Fonts are made once and kept: warm the cache before counting.
  InvalidateRect(H(c), nullptr, FALSE);
  UpdateWindow(H(c));
  long before = GdiObjectCount();
  int paintsBefore = custom.paints;
  for (int i = 0; i < 1000; ++i) {
    InvalidateRect(H(c), nullptr, FALSE);
    UpdateWindow(H(c));
  }
  EXPECT_EQ(custom.paints - paintsBefore, 1000);
  EXPECT_EQ(GdiObjectCount(), before);
  ws_.DestroyWindow(form);
}

TEST_F(WindowSystemTest, FormsComeAndGoWithoutLeavingGdiObjects) {
  auto lifetime = [this] {
    WindowHandle form = MakeForm();
    TestSink custom, memo, combo;
    custom.paint = PaintEverything;
    WindowHandle c = MakeChild(form, WindowKind::Custom, {0, 0, 100, 50}, u"p", &custom);
    WindowHandle m = MakeChild(form, WindowKind::Memo, {0, 60, 100, 110}, u"m", &memo);
    WindowHandle x = MakeChild(form, WindowKind::ComboBox, {0, 120, 100, 139}, u"", &combo);
    ws_.ComboSetItems(x, {u"A"});
    ws_.ComboSetIndex(x, 0);
    ws_.SetHint(c, "hint");
    ws_.SetColor(m, clYellow);
    RedrawWindow(H(form), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    ws_.DestroyWindow(form);
  };
  lifetime();  // fonts are made once and kept
  long before = GdiObjectCount();
  ASSERT_GE(before, 0);
  for (int i = 0; i < 20; ++i) lifetime();
  EXPECT_EQ(GdiObjectCount(), before);
}

TEST_F(WindowSystemTest, PaintReachesTheScreenThroughTheMemoryDc) {
  WindowHandle form = MakeForm();
  TestSink custom;
  custom.paint = [](ICanvas& c) {
    c.SetBrush(clRed);
    c.FillRect({2, 2, 10, 10});
  };
  WindowParams p;
  p.kind = WindowKind::Custom;
  p.parent = form;
  p.bounds = {10, 10, 60, 40};
  p.color = clBlue;
  WindowHandle c = ws_.CreateWindow(p, &custom);
  UpdateWindow(H(c));
  HDC dc = GetDC(H(c));
  EXPECT_EQ(GetPixel(dc, 5, 5), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 20, 20), RGB(0, 0, 255));  // the window colour under the rest
  ReleaseDC(H(c), dc);

  // A new colour is painted on the next update.
  ws_.SetColor(c, clLime);
  UpdateWindow(H(c));
  dc = GetDC(H(c));
  EXPECT_EQ(GetPixel(dc, 20, 20), RGB(0, 255, 0));
  ReleaseDC(H(c), dc);
  ws_.DestroyWindow(form);
}

// ---- the canvas on its own

class CanvasTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, kW, kH);
    ReleaseDC(nullptr, screen);
    old_ = SelectObject(dc_, bitmap_);
  }
  void TearDown() override {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  static constexpr int kW = 80, kH = 60;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

TEST_F(CanvasTest, ClearBrushDrawsNothingAndTextIsTransparent) {
  win32::GdiResources res(nullptr);
  GdiCanvas c(dc_, res, nullptr, {kW, kH});
  c.SetBrush(clWhite);
  c.FillRect({0, 0, kW, kH});
  c.SetBrush(clRed, BrushStyle::Clear);
  c.FillRect({0, 0, kW, kH});
  EXPECT_EQ(GetPixel(dc_, 5, 5), RGB(255, 255, 255));
  FontSpec f;
  f.height = 20;
  f.color = clBlack;
  c.SetFont(f);
  c.TextOut(0, 0, "MW");
  // Around the glyphs the white stays: no opaque text background.
  TSize size = c.TextExtent("MW");
  EXPECT_GT(size.cx, 0);
  int white = 0, black = 0;
  for (int y = 0; y < size.cy; ++y)
    for (int x = 0; x < size.cx; ++x) {
      COLORREF px = GetPixel(dc_, x, y);
      white += px == RGB(255, 255, 255);
      black += px == RGB(0, 0, 0);
    }
  EXPECT_GT(white, 0);
  EXPECT_GT(black, 0);
}

TEST_F(CanvasTest, SystemColoursAreResolvedAndOthersPassThrough) {
  win32::GdiResources res(nullptr);
  GdiCanvas c(dc_, res, nullptr, {kW, kH});
  EXPECT_EQ(c.ResolveColor(clBtnFace), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(c.ResolveColor(clWindowText), GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(c.ResolveColor(Rgb(128, 128, 255)), Rgb(128, 128, 255));
  c.SetBrush(clHighlight);
  c.FillRect({0, 0, 4, 4});
  EXPECT_EQ(GetPixel(dc_, 1, 1), GetSysColor(COLOR_HIGHLIGHT));
}

TEST_F(CanvasTest, FontsAreMadeOncePerSpecAndMeasureLikeTheWindowSystem) {
  Win32WindowSystem ws;
  win32::GdiResources& res = ws.Resources();
  GdiCanvas c(dc_, res, nullptr, {kW, kH});
  FontSpec f;
  f.height = 11;
  c.SetFont(f);
  TSize a = c.TextExtent("Velmora System Info");
  size_t fonts = res.FontCount();
  f.color = clRed;  // colour is not part of the font
  c.SetFont(f);
  TSize b = c.TextExtent("Velmora System Info");
  EXPECT_EQ(res.FontCount(), fonts);
  EXPECT_EQ(a, b);
  EXPECT_EQ(ws.MeasureText(f, "Velmora System Info"), a);
  f.style = fsBold;
  c.SetFont(f);
  c.TextExtent("x");
  EXPECT_EQ(res.FontCount(), fonts + 1);

  TRect r{0, 0, 1000, 0};
  int h = c.DrawText("two\r\nlines", r, DT_CALCRECT_);
  EXPECT_GT(h, a.cy);
  EXPECT_EQ(r.bottom, h);
}

TEST_F(CanvasTest, ClipRectLimitsDrawingUntilRemoved) {
  win32::GdiResources res(nullptr);
  GdiCanvas c(dc_, res, nullptr, {kW, kH});
  c.SetBrush(clWhite);
  c.FillRect({0, 0, kW, kH});
  TRect clip{0, 0, 10, 10};
  c.SetClipRect(&clip);
  c.SetBrush(clBlue);
  c.FillRect({0, 0, kW, kH});
  EXPECT_EQ(GetPixel(dc_, 5, 5), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(dc_, 20, 20), RGB(255, 255, 255));
  c.SetClipRect(nullptr);
  c.FillRect({0, 0, kW, kH});
  EXPECT_EQ(GetPixel(dc_, 20, 20), RGB(0, 0, 255));
}

TEST_F(CanvasTest, CanvasPutsTheDcBackAsItFoundIt) {
  HGDIOBJ font = GetCurrentObject(dc_, OBJ_FONT);
  HGDIOBJ pen = GetCurrentObject(dc_, OBJ_PEN);
  HGDIOBJ brush = GetCurrentObject(dc_, OBJ_BRUSH);
  COLORREF text = GetTextColor(dc_);
  {
    win32::GdiResources res(nullptr);
    {
      GdiCanvas c(dc_, res, nullptr, {kW, kH});
      PaintEverything(c);
      TRect clip{0, 0, 5, 5};
      c.SetClipRect(&clip);  // left in place on purpose
    }
    EXPECT_EQ(GetCurrentObject(dc_, OBJ_FONT), font);
    EXPECT_EQ(GetCurrentObject(dc_, OBJ_PEN), pen);
    EXPECT_EQ(GetCurrentObject(dc_, OBJ_BRUSH), brush);
    EXPECT_EQ(GetTextColor(dc_), text);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(dc_, region), 0);  // no clipping left behind
    DeleteObject(region);
  }
}

class ImageTest : public CanvasTest {
 protected:
  void SetUp() override {
    CanvasTest::SetUp();
    std::wstring exe = ToolbarExe();
    ASSERT_FALSE(exe.empty()) << "toolbar1.exe not found above the test exe";
    module_ = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module_, nullptr);
  }
  void TearDown() override {
    if (module_) FreeLibrary(module_);
    CanvasTest::TearDown();
  }
  // The picture's own pixel, read from the resource directly.
  COLORREF PicturePixel(const char* name, int x, int y) {
    HBITMAP bmp = static_cast<HBITMAP>(LoadImageA(module_, name, IMAGE_BITMAP, 0, 0, 0));
    HDC dc = CreateCompatibleDC(dc_);
    HGDIOBJ old = SelectObject(dc, bmp);
    COLORREF px = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bmp);
    return px;
  }
  HMODULE module_ = nullptr;
};

TEST_F(ImageTest, CentredTransparentImageKeepsTheBackgroundUnderItsKeyColour) {
  using res::kFlagHeight;
  using res::kFlagWidth;
  win32::GdiResources resources(module_);
  GdiCanvas c(dc_, resources, nullptr, {kW, kH});
  c.SetBrush(Rgb(10, 200, 30));
  c.FillRect({0, 0, kW, kH});
  c.DrawImage(res::kFlagEnglish, -1, -1, true);
  int left = (kW - kFlagWidth) / 2, top = (kH - kFlagHeight) / 2;
  // The bottom-left pixel's colour is the transparent one: the background shows.
  EXPECT_EQ(GetPixel(dc_, left, top + kFlagHeight - 1), RGB(10, 200, 30));
  // The middle of the picture is the picture.
  COLORREF middle = PicturePixel(res::kFlagEnglish, kFlagWidth / 2, kFlagHeight / 2);
  ASSERT_NE(middle, PicturePixel(res::kFlagEnglish, 0, kFlagHeight - 1));
  EXPECT_EQ(GetPixel(dc_, left + kFlagWidth / 2, top + kFlagHeight / 2), middle);
  // Outside it, nothing changed.
  EXPECT_EQ(GetPixel(dc_, left - 1, top), RGB(10, 200, 30));

  // -1 - n moves the picture n pixels right and down (a pressed button).
  c.FillRect({0, 0, kW, kH});
  c.DrawImage(res::kFlagEnglish, -2, -2, false);
  EXPECT_EQ(GetPixel(dc_, left + 1 + kFlagWidth / 2, top + 1 + kFlagHeight / 2), middle);
  EXPECT_EQ(GetPixel(dc_, left, top), RGB(10, 200, 30));
  // Opaque: the key colour is drawn too.
  EXPECT_EQ(GetPixel(dc_, left + 1, top + kFlagHeight), PicturePixel(res::kFlagEnglish, 0, kFlagHeight - 1));
}

TEST_F(ImageTest, StretchImageCoversTheRectangle) {
  win32::GdiResources resources(module_);
  GdiCanvas c(dc_, resources, nullptr, {kW, kH});
  c.SetBrush(clWhite);
  c.FillRect({0, 0, kW, kH});
  c.StretchImage(res::kFlagEnglish, {0, 0, kW, kH});
  COLORREF middle = PicturePixel(res::kFlagEnglish, res::kFlagWidth / 2, res::kFlagHeight / 2);
  EXPECT_EQ(GetPixel(dc_, kW / 2, kH / 2), middle);
}

}  // namespace
}  // namespace vsi
