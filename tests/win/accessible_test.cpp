// The shipped main window as a screen reader reads it (MSAA), on the real window system: its
// client object lists every value slot and caption by its text and every flag as a push button
// named after its language, each where it is drawn (at two scales), found again by a hit test
// at its centre; a flag's default action switches the language from the message loop; and
// once the window is gone the object answers "disconnected" and nothing holds it any more.
#include "shipped_program.h"  // first: <windows.h>

#include <oleacc.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/languages.h"
#include "app/system_facts.h"
#include "controls/ui_labels.h"
#include "framework/view_scale.h"

namespace vsi {
namespace {

VARIANT Id(LONG id) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

std::wstring Taken(BSTR text) {
  std::wstring out = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
  SysFreeString(text);
  return out;
}

std::wstring Wide(const WideString& s) { return std::wstring(s.begin(), s.end()); }

std::wstring FromAnsi(const std::string& s) {
  std::wstring out(s.size(), L'\0');
  out.resize(MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), out.data(),
                                 static_cast<int>(out.size())));
  return out;
}

// What a reader learns of one child of the client object.
struct Child {
  LONG id = 0;            // 0: a child with an object of its own
  IDispatch* object = nullptr;
  std::wstring name;
  LONG role = 0;
  RECT place{};           // screen pixels
};

class AccessibleTest : public ShippedProgramTest {
 protected:
  void SetUp() override {
    ShippedProgramTest::SetUp();
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    // The English window, whatever language an earlier test stored.
    main_->Get<TControl>(kLanguages[0].button).Click();
    app_.ProcessMessages();
  }
  void TearDown() override {
    for (Child& c : children_)
      if (c.object) c.object->Release();
    if (client_) client_->Release();
    CoUninitialize();
    ShippedProgramTest::TearDown();
  }
  HWND Main() const { return reinterpret_cast<HWND>(main_->Handle()); }

  // The client object as a reader gets it, and its children through AccessibleChildren.
  void Read() {
    if (!client_) {
      ASSERT_EQ(AccessibleObjectFromWindow(Main(), static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                           reinterpret_cast<void**>(&client_)),
                S_OK);
    }
    for (Child& c : children_)
      if (c.object) c.object->Release();
    children_.clear();
    LONG count = 0;
    ASSERT_EQ(client_->get_accChildCount(&count), S_OK);
    ASSERT_GT(count, 0);
    std::vector<VARIANT> got(static_cast<size_t>(count));
    LONG obtained = 0;
    ASSERT_EQ(AccessibleChildren(client_, 0, count, got.data(), &obtained), S_OK);
    ASSERT_EQ(obtained, count);
    for (LONG i = 0; i < obtained; ++i) {
      Child c;
      if (got[i].vt == VT_DISPATCH) {
        c.object = got[i].pdispVal;
        children_.push_back(c);
        continue;
      }
      ASSERT_EQ(got[i].vt, VT_I4);
      c.id = got[i].lVal;
      EXPECT_EQ(c.id, i + 1) << "simple elements are numbered from 1";
      BSTR name = nullptr;
      EXPECT_EQ(client_->get_accName(Id(c.id), &name), S_OK);
      c.name = Taken(name);
      VARIANT role;
      VariantInit(&role);
      EXPECT_EQ(client_->get_accRole(Id(c.id), &role), S_OK);
      c.role = role.lVal;
      LONG x = 0, y = 0, w = 0, h = 0;
      EXPECT_EQ(client_->accLocation(&x, &y, &w, &h, Id(c.id)), S_OK);
      c.place = {x, y, x + w, y + h};
      children_.push_back(c);
    }
  }

  const Child* Named(const std::wstring& name) const {
    for (const Child& c : children_)
      if (c.id && c.name == name) return &c;
    return nullptr;
  }

  // Where the control is drawn, in screen pixels: its stored bounds at the window's scale,
  // each level's origin scaled on its own.
  RECT PlaceOf(const TControl& control) const {
    const ViewScale view = main_->View();
    POINT origin{0, 0};
    ClientToScreen(Main(), &origin);
    TRect own = view.Scale(control.BoundsRect());
    RECT r{origin.x + own.left, origin.y + own.top, origin.x + own.right, origin.y + own.bottom};
    for (const TControl* p = control.Parent(); p && p != main_; p = p->Parent()) {
      const TRect at = view.Scale(p->BoundsRect());
      OffsetRect(&r, at.left, at.top);
    }
    return r;
  }

  // The slots and their captions as the form shows them, and the flags named by their hints.
  struct Expected {
    const TControl* control;
    std::wstring name;
    LONG role;
  };
  std::vector<Expected> ExpectedItems() const {
    std::vector<Expected> out;
    for (const FactRow& row : kFactRows) {
      const auto& slot = main_->Get<TWideLabel>(row.slot);
      out.push_back({&slot, Wide(slot.Caption()), ROLE_SYSTEM_STATICTEXT});
      const auto& caption = main_->Get<TControl>(row.captionLabel);
      out.push_back({&caption, FromAnsi(caption.Caption()), ROLE_SYSTEM_STATICTEXT});
    }
    for (const LanguageRow& row : kLanguages) {
      const auto& flag = main_->Get<TControl>(row.button);
      out.push_back({&flag, FromAnsi(flag.Hint()), ROLE_SYSTEM_PUSHBUTTON});
    }
    return out;
  }

  // Every slot, caption and flag is there by its name, with its role, where it is drawn, and
  // a hit test at its centre finds it.
  void ExpectEveryItemInPlace() {
    ASSERT_NO_FATAL_FAILURE(Read());
    for (const Expected& e : ExpectedItems()) {
      SCOPED_TRACE(e.control->Name());
      // A slot's value may repeat another's ("" or " " before it is read): its own place decides.
      const RECT want = PlaceOf(*e.control);
      const Child* found = nullptr;
      for (const Child& c : children_)
        if (c.id && c.name == e.name && EqualRect(&c.place, &want)) found = &c;
      if (!found) {
        const Child* same = Named(e.name);
        ADD_FAILURE() << "no item \"" << std::string(e.name.begin(), e.name.end()) << "\" at " << want.left << ","
                      << want.top << " " << want.right - want.left << "x" << want.bottom - want.top
                      << (same ? " (one with that name at " + std::to_string(same->place.left) + "," +
                                     std::to_string(same->place.top) + ")"
                               : std::string());
        continue;
      }
      EXPECT_EQ(found->role, e.role);
      VARIANT hit;
      VariantInit(&hit);
      ASSERT_EQ(client_->accHitTest((want.left + want.right) / 2, (want.top + want.bottom) / 2, &hit), S_OK);
      ASSERT_EQ(hit.vt, VT_I4);
      EXPECT_EQ(hit.lVal, found->id) << "the hit test at the item's centre";
      if (e.role != ROLE_SYSTEM_PUSHBUTTON) continue;
      BSTR action = nullptr;
      EXPECT_EQ(client_->get_accDefaultAction(Id(found->id), &action), S_OK);
      EXPECT_EQ(Taken(action), L"Press");
    }
  }

  IAccessible* client_ = nullptr;
  std::vector<Child> children_;
};

TEST_F(AccessibleTest, EverySlotCaptionAndFlagIsReadWhereItIsDrawnAtEachScale) {
  const int start = main_->View().dpi;
  ExpectEveryItemInPlace();
  const int other = start == 144 ? 96 : 144;
  MoveToScale(other);
  ASSERT_EQ(main_->View().dpi, other);
  ExpectEveryItemInPlace();
  MoveToScale(start);

  // The client itself, and what lies outside it.
  VARIANT role;
  VariantInit(&role);
  EXPECT_EQ(client_->get_accRole(Id(CHILDID_SELF), &role), S_OK);
  EXPECT_EQ(role.lVal, ROLE_SYSTEM_CLIENT);
  RECT client{};
  GetClientRect(Main(), &client);
  MapWindowPoints(Main(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  VARIANT hit;
  VariantInit(&hit);
  EXPECT_EQ(client_->accHitTest(client.right + 5, client.top + 5, &hit), S_FALSE);
  EXPECT_EQ(hit.vt, VT_EMPTY);
  // Child ids that name nothing are refused.
  LONG count = 0;
  ASSERT_EQ(client_->get_accChildCount(&count), S_OK);
  BSTR name = nullptr;
  for (LONG bad : {count + 1, -1L}) EXPECT_EQ(client_->get_accName(Id(bad), &name), E_INVALIDARG) << bad;
  // Going through the items one by one, from either end; nothing lies beyond the first.
  struct Step {
    LONG direction, from;
    HRESULT result;
    LONG to;  // 0: nothing there
  };
  const LONG first = 1, second = 2;
  for (const Step& step : {Step{NAVDIR_FIRSTCHILD, CHILDID_SELF, S_OK, first}, Step{NAVDIR_NEXT, first, S_OK, second},
                           Step{NAVDIR_PREVIOUS, second, S_OK, first}, Step{NAVDIR_PREVIOUS, first, S_FALSE, 0}}) {
    VARIANT to;
    VariantInit(&to);
    EXPECT_EQ(client_->accNavigate(step.direction, Id(step.from), &to), step.result) << step.direction;
    EXPECT_EQ(to.vt, step.to ? VT_I4 : VT_EMPTY) << step.direction;
    if (step.to) EXPECT_EQ(to.lVal, step.to) << step.direction;
  }
  VARIANT last;
  VariantInit(&last);
  ASSERT_EQ(client_->accNavigate(NAVDIR_LASTCHILD, Id(CHILDID_SELF), &last), S_OK);
  if (last.vt == VT_DISPATCH) last.pdispVal->Release();
  else EXPECT_EQ(last.lVal, count);
  // A shown caption reads as read-only text; the hidden language label as invisible.
  VARIANT state;
  VariantInit(&state);
  const Child* caption = Named(FromAnsi(main_->Get<TControl>(kFactRows[0].captionLabel).Caption()));
  ASSERT_NE(caption, nullptr);
  ASSERT_EQ(client_->get_accState(Id(caption->id), &state), S_OK);
  EXPECT_EQ(state.lVal & (STATE_SYSTEM_READONLY | STATE_SYSTEM_INVISIBLE), STATE_SYSTEM_READONLY);
  const auto& language = main_->Get<TControl>("Label1");
  ASSERT_FALSE(language.Visible());
  int hidden = 0;
  for (const Child& c : children_) {
    if (!c.id || c.role != ROLE_SYSTEM_STATICTEXT || c.name != FromAnsi(language.Caption())) continue;
    ASSERT_EQ(client_->get_accState(Id(c.id), &state), S_OK);
    EXPECT_TRUE(state.lVal & STATE_SYSTEM_INVISIBLE);
    ++hidden;
  }
  EXPECT_EQ(hidden, 1);

  // The network box and the drive list are the system's objects, which a reader asks itself.
  // The network box's object gives a reader its text as its value.
  const std::wstring memo = [&] {
    std::wstring text(4096, L'\0');
    text.resize(GetWindowTextW(Hwnd("Memo2"), text.data(), 4096));
    return text;
  }();
  ASSERT_FALSE(memo.empty());
  int windows = 0, memos = 0;
  for (const Child& c : children_) {
    if (!c.object) continue;
    ++windows;
    IAccessible* own = nullptr;
    ASSERT_EQ(c.object->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&own)), S_OK);
    BSTR value = nullptr;
    if (own->get_accValue(Id(CHILDID_SELF), &value) == S_OK && Taken(value) == memo) ++memos;
    own->Release();
  }
  EXPECT_GE(windows, 2);
  EXPECT_EQ(memos, 1);
  // A hit on the network box gives its own object.
  RECT box{};
  GetWindowRect(Hwnd("Memo2"), &box);
  VariantInit(&hit);
  ASSERT_EQ(client_->accHitTest((box.left + box.right) / 2, (box.top + box.bottom) / 2, &hit), S_OK);
  ASSERT_EQ(hit.vt, VT_DISPATCH);
  hit.pdispVal->Release();
}

TEST_F(AccessibleTest, PressingAFlagSwitchesTheLanguageFromTheMessageLoop) {
  ASSERT_NO_FATAL_FAILURE(Read());
  const LanguageRow& french = kLanguages[1];
  const Child* flag = Named(FromAnsi(main_->Get<TControl>(french.button).Hint()));
  const Child* caption = Named(FromAnsi(main_->Get<TControl>(kFactRows[0].captionLabel).Caption()));
  ASSERT_NE(flag, nullptr);
  ASSERT_NE(caption, nullptr);
  ASSERT_EQ(client_->accDoDefaultAction(Id(flag->id)), S_OK);
  EXPECT_EQ(main_->Caption(), kLanguages[0].caption) << "nothing happens inside the reader's call";
  app_.ProcessMessages();
  EXPECT_EQ(main_->Caption(), french.caption);
  // A caption is not pressed.
  EXPECT_EQ(client_->accDoDefaultAction(Id(caption->id)), DISP_E_MEMBERNOTFOUND);
  main_->Get<TControl>(kLanguages[0].button).Click();
  app_.ProcessMessages();
}

TEST_F(AccessibleTest, TheObjectIsDisconnectedAndLetGoWhenTheWindowIsDestroyed) {
  ASSERT_NO_FATAL_FAILURE(Read());
  for (Child& c : children_)
    if (c.object) c.object->Release();
  children_.clear();
  main_->OnClose = [](TObject*) {};  // the stored language is another test's
  DestroyWindow(Main());
  MSG quit{};
  PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  LONG count = -1;
  EXPECT_EQ(client_->get_accChildCount(&count), RPC_E_DISCONNECTED);
  LONG x, y, w, h;
  EXPECT_EQ(client_->accLocation(&x, &y, &w, &h, Id(1)), RPC_E_DISCONNECTED);
  EXPECT_EQ(client_->accDoDefaultAction(Id(1)), RPC_E_DISCONNECTED);
  EXPECT_EQ(client_->Release(), 0u) << "the reader's is the last reference";
  client_ = nullptr;
}

}  // namespace
}  // namespace vsi
