// The framework's forms and standard controls on the real window system: what a reader or the
// end-to-end driver sees and does (window texts, a button click, a combo box selection, a click
// on a picture button, closing the window) reaches the components and ends the loop.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "framework/context.h"
#include "framework/forms.h"
#include "framework/stdctrls.h"
#include "platform/win32/win32_locale.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_windows.h"

namespace vsi {
namespace {

HWND H(WindowHandle w) { return reinterpret_cast<HWND>(w); }

std::wstring TextOf(HWND hwnd) {
  wchar_t buffer[512] = {};
  GetWindowTextW(hwnd, buffer, 512);
  return buffer;
}

template <class T>
T* Place(TForm* form, int left, int top, int width, int height, const char* caption) {
  auto* c = new T(form);
  c->SetParent(form);
  c->SetBounds(left, top, width, height);
  if (caption) c->SetCaption(caption);
  return c;
}

class FormsOnWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app_.SetTitle("Velmora System Info 1.0");
    app_.OnException = [this](TObject*, const std::exception& e) { errors_.push_back(e.what()); };
    app_.CreateHandle();
    form_ = app_.CreateForm<TForm>();
    form_->SetBorderStyle(bsToolWindow);
    form_->SetBorderIcons(biSystemMenu | biMinimize);
    form_->SetBounds(36, 61, 300, 150);
    form_->SetCaption("  Velmora System Info 1.0");
    form_->SetColor(Rgb(128, 128, 255));
    label_ = Place<TLabel>(form_, 8, 2, 100, 13, "CPU Usage");
    button_ = Place<TButton>(form_, 8, 20, 75, 25, "BitBtn1");
    combo_ = Place<TComboBox>(form_, 100, 20, 120, 19, nullptr);
    combo_->Items()->Add("C:");
    combo_->Items()->Add("D:");
    combo_->SetItemIndex(0);
    memo_ = Place<TMemo>(form_, 8, 50, 180, 60, nullptr);
    memo_->SetText("Host Name . . : velmora\r\nNode Type . . : hybrid");
    flag_ = Place<TSpeedButton>(form_, 200, 100, 40, 25, nullptr);
    flag_->SetHint("English");
    flag_->SetShowHint(true);
    button_->OnClick = [this](TObject*) { ++clicks_; };
    combo_->OnChange = [this](TObject*) { ++changes_; };
    flag_->OnClick = [this](TObject*) { ++flagClicks_; };
    form_->Show();
  }

  Win32WindowSystem ws_;
  Win32Locale locale_;
  Win32Platform plat_{locale_, ws_};
  AppContext ctx_{plat_.platform()};
  TApplication app_{ctx_};
  TForm* form_ = nullptr;
  TLabel* label_ = nullptr;
  TButton* button_ = nullptr;
  TComboBox* combo_ = nullptr;
  TMemo* memo_ = nullptr;
  TSpeedButton* flag_ = nullptr;
  int clicks_ = 0, changes_ = 0, flagClicks_ = 0;
  std::vector<std::string> errors_;
};

TEST_F(FormsOnWindowsTest, EveryControlIsAWindowCarryingWhatItShows) {
  HWND main = H(form_->Handle());
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(IsWindowVisible(main));
  EXPECT_EQ(GetWindow(main, GW_OWNER), H(app_.Handle()));
  EXPECT_EQ(TextOf(H(app_.Handle())), L"Velmora System Info 1.0");
  EXPECT_EQ(TextOf(main), L"  Velmora System Info 1.0");
  RECT client{};
  GetClientRect(main, &client);
  EXPECT_EQ(client.right, 300);
  EXPECT_EQ(client.bottom, 150);

  EXPECT_EQ(TextOf(H(label_->Handle())), L"CPU Usage");
  EXPECT_EQ(TextOf(H(button_->Handle())), L"BitBtn1");
  EXPECT_EQ(TextOf(H(combo_->Handle())), L"C:");
  EXPECT_EQ(TextOf(H(memo_->Handle())), L"Host Name . . : velmora\r\nNode Type . . : hybrid");
  EXPECT_EQ(TextOf(H(flag_->Handle())), L"English");  // a picture button's text is its hint

  label_->SetCaption("12.50%");
  EXPECT_EQ(TextOf(H(label_->Handle())), L"12.50%");
  combo_->SetItemIndex(1);
  EXPECT_EQ(TextOf(H(combo_->Handle())), L"D:");
  EXPECT_EQ(changes_, 0);  // setting the index is not the user's choice
}

TEST_F(FormsOnWindowsTest, TheDriversActionsReachTheComponents) {
  SendMessageW(H(button_->Handle()), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks_, 1);

  HWND combo = H(combo_->Handle());
  SendMessageW(combo, CB_SETCURSEL, 1, 0);
  SendMessageW(H(form_->Handle()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
  EXPECT_EQ(changes_, 1);
  EXPECT_EQ(combo_->ItemIndex(), 1);
  EXPECT_EQ(combo_->Text(), "D:");

  HWND flag = H(flag_->Handle());
  LPARAM centre = MAKELPARAM(20, 12);
  PostMessageW(flag, WM_MOUSEMOVE, 0, centre);
  PostMessageW(flag, WM_LBUTTONDOWN, MK_LBUTTON, centre);
  PostMessageW(flag, WM_LBUTTONUP, 0, centre);
  app_.ProcessMessages();
  EXPECT_EQ(flagClicks_, 1);
  EXPECT_FALSE(flag_->Pressed());
}

TEST_F(FormsOnWindowsTest, AnExceptionInAHandlerGoesToTheApplication) {
  button_->OnClick = [](TObject*) { throw std::runtime_error("Not enough timers available"); };
  SendMessageW(H(button_->Handle()), BM_CLICK, 0, 0);
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0], "Not enough timers available");
  EXPECT_TRUE(IsWindow(H(form_->Handle())));
}

TEST_F(FormsOnWindowsTest, MinimisingTheMainFormMinimisesTheApplication) {
  HWND main = H(form_->Handle());
  form_->SetWindowState(wsMinimized);
  EXPECT_TRUE(IsIconic(H(app_.Handle())));
  EXPECT_FALSE(IsWindowVisible(main));
  app_.Restore();
  EXPECT_TRUE(IsWindowVisible(main));
}

TEST_F(FormsOnWindowsTest, ClosingTheMainFormEndsTheLoop) {
  bool closed = false;
  form_->OnClose = [&](TObject*) { closed = true; };
  PostMessageW(H(form_->Handle()), WM_CLOSE, 0, 0);
  EXPECT_EQ(ws_.RunMessageLoop(), 0);
  EXPECT_TRUE(closed);
  EXPECT_FALSE(form_->HandleAllocated());
  EXPECT_FALSE(label_->HandleAllocated());
  EXPECT_FALSE(button_->HandleAllocated());  // native children hear of it too
  EXPECT_FALSE(combo_->HandleAllocated());
}

}  // namespace
}  // namespace vsi
