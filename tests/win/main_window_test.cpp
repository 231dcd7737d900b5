// The shipped main window on the real window system, used from the keyboard as a user does:
// Tab and Shift+Tab go round the focusable controls in their stored order, Alt+F4 closes
// the window from any of them, and the window menu speaks the chosen language.
#include "shipped_program.h"  // first: <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/upgrade_window.h"

namespace vsi {
namespace {

class MainWindowKeysTest : public ShippedProgramTest {
 protected:
  // A key press as the keyboard sends it to the control with the focus; the new focus.
  HWND Press(UINT key, bool shift = false) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
    app_.ProcessMessages();
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    return GetFocus();
  }
  // The calendar the calendar group shows: the control that takes the focus.
  HWND Calendar() const {
    HWND group = Hwnd("MonthCalendarGroup1");
    for (HWND h = GetWindow(group, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
      if (GetWindowLongW(h, GWL_STYLE) & WS_TABSTOP) return h;
    return group;
  }
};

TEST_F(MainWindowKeysTest, TabGoesRoundTheControlsInTheirStoredOrder) {
  SetForegroundWindow(reinterpret_cast<HWND>(main_->Handle()));
  // Only what can be seen: BitBtn2 lies below the window's edge.
  const HWND calendar = Calendar(), drives = Hwnd("DriveComboBox1"), network = Hwnd("Memo2");
  SetFocus(calendar);
  ASSERT_EQ(GetFocus(), calendar);
  std::vector<HWND> forward, backward;
  for (int i = 0; i < 3; ++i) forward.push_back(Press(VK_TAB));
  EXPECT_EQ(forward, (std::vector<HWND>{drives, network, calendar}));
  for (int i = 0; i < 3; ++i) backward.push_back(Press(VK_TAB, true));
  EXPECT_EQ(backward, (std::vector<HWND>{network, drives, calendar}));
  // Tabbing into the network box selects nothing, and Tab leaves it untouched.
  const std::wstring before = [&] {
    wchar_t text[4096] = {};
    GetWindowTextW(network, text, 4096);
    return std::wstring(text);
  }();
  SetFocus(drives);
  ASSERT_EQ(Press(VK_TAB), network);
  DWORD start = 1, end = 0;
  SendMessageW(network, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, end) << "nothing selected";
  EXPECT_EQ(Press(VK_TAB), calendar);
  wchar_t after[4096] = {};
  GetWindowTextW(network, after, 4096);
  EXPECT_EQ(std::wstring(after), before);
}

TEST_F(MainWindowKeysTest, AltF4RightAfterADriveIsPickedClosesTheWindow) {
  const HWND main = reinterpret_cast<HWND>(main_->Handle());
  const HWND drives = Hwnd("DriveComboBox1");
  int closes = 0;
  main_->OnClose = [&](TObject*) { ++closes; };  // the stored language is another test's
  SetForegroundWindow(main);
  SetFocus(drives);
  // Picked from the opened list with the keyboard, as a user may: the list closes on Enter.
  SendMessageW(drives, CB_SHOWDROPDOWN, TRUE, 0);
  PostMessageW(drives, WM_KEYDOWN, VK_DOWN, 1);
  PostMessageW(drives, WM_KEYDOWN, VK_RETURN, 1);
  app_.ProcessMessages();
  ASSERT_EQ(GetFocus(), drives);
  PostMessageW(drives, WM_SYSKEYDOWN, VK_F4, 1 | (1 << 29));
  for (int i = 0; i < 100 && IsWindow(main); ++i) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    app_.ProcessMessages();
  }
  EXPECT_EQ(closes, 1);
  EXPECT_FALSE(IsWindow(main)) << "the main window is gone";
  MSG quit{};
  EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "and the program ends";
}

// The texts of the window menu, as the menu holds them.
std::vector<std::string> WindowMenuTexts(HWND window) {
  std::vector<std::string> texts;
  HMENU menu = GetSystemMenu(window, FALSE);
  for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
    char text[256] = {};
    GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
    if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR) continue;
    texts.push_back(text);
  }
  return texts;
}

TEST_F(MainWindowKeysTest, TheWindowMenuSpeaksTheChosenLanguage) {
  const HWND main = reinterpret_cast<HWND>(main_->Handle());
  // The system's own texts, before any language but the first was chosen.
  HMENU fresh = GetSystemMenu(main, TRUE);
  (void)fresh;
  const std::vector<std::string> system = WindowMenuTexts(main);
  ASSERT_FALSE(system.empty());
  main_->Get<TControl>("SpeedButton7").Click();  // French
  const std::vector<std::string> french = WindowMenuTexts(main);
  EXPECT_NE(std::find(french.begin(), french.end(), "&D\xE9placer"), french.end());
  EXPECT_NE(std::find(french.begin(), french.end(), "&Fermer\tAlt+F4"), french.end()) << "the shortcut stays";
  EXPECT_EQ(std::find(french.begin(), french.end(), "&Move"), french.end());
  main_->Get<TControl>("SpeedButton6").Click();  // English
  EXPECT_EQ(WindowMenuTexts(main), system) << "English brings back the original texts";
}

TEST_F(MainWindowKeysTest, TheUpgradeWindowsOkButtonShowsItsPictureAndTabReachesIt) {
  main_->Get<TControl>("SpeedButton9").Click();
  Ttoolabout* upgrade = nullptr;
  for (int i = 0; i < app_.ComponentCount(); ++i)
    if (auto* f = dynamic_cast<Ttoolabout*>(app_.Components(i))) upgrade = f;
  ASSERT_TRUE(upgrade && upgrade->HandleAllocated());
  auto part = [&](const char* name) {
    return reinterpret_cast<HWND>(dynamic_cast<TControl&>(*upgrade->FindComponent(name)).Handle());
  };
  const HWND ok = part("BitBtn1"), text = part("Memo1");
  BUTTON_IMAGELIST list{};
  ASSERT_TRUE(SendMessageW(ok, BCM_GETIMAGELIST, 0, reinterpret_cast<LPARAM>(&list)));
  ASSERT_NE(list.himl, nullptr);
  ASSERT_NE(list.himl, reinterpret_cast<HIMAGELIST>(-1));
  EXPECT_EQ(ImageList_GetImageCount(list.himl), 1);
  int w = 0, h = 0;
  ImageList_GetIconSize(list.himl, &w, &h);
  EXPECT_EQ(w, 16);
  EXPECT_EQ(h, 16);
  wchar_t caption[16] = {};
  GetWindowTextW(ok, caption, 16);
  EXPECT_STREQ(caption, L"OK") << "beside its caption";

  SetForegroundWindow(reinterpret_cast<HWND>(upgrade->Handle()));
  SetFocus(text);
  EXPECT_EQ(Press(VK_TAB), ok) << "Tab passes the text on to OK";
  EXPECT_EQ(Press(VK_TAB), text) << "and comes back past the hidden texts";
  EXPECT_EQ(Press(VK_TAB, true), ok);
}

}  // namespace
}  // namespace vsi
