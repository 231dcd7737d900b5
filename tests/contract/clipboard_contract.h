#pragma once
// What every IClipboard must answer as OpenClipboard, EmptyClipboard, SetClipboardData and
// CloseClipboard do: written once, run against the in-memory clipboard in the unit tests and
// against the system's under Wine.
//
// A subject gives `IClipboard& Clipboard()`, two windows of ours `WindowHandle Window(int)`,
// `void HoldByOther()` / `void ReleaseOther()` (another program opens the clipboard and keeps
// it, then closes it), and what any program then sees: `std::optional<WideString> Text()`
// (CF_UNICODETEXT, read while nobody has it open) and `WindowHandle Owner()`.
#include <gtest/gtest.h>

#include <optional>

#include "platform/clipboard.h"

namespace vsi::contract {

template <class Subject>
class ClipboardContract : public ::testing::Test {
 protected:
  // A whole copy as the program makes it.
  bool Copy(WindowHandle owner, const WideString& text) {
    if (!board.Open(owner)) return false;
    bool put = board.Empty() && board.SetUnicodeText(text);
    board.Close();
    return put;
  }

  Subject subject;
  IClipboard& board = subject.Clipboard();
};

TYPED_TEST_SUITE_P(ClipboardContract);

TYPED_TEST_P(ClipboardContract, TextReadsBackAsPutAndTheEmptierOwnsIt) {
  const WideString text = u"Velmora \u00e9\u00e8 \u20ac\r\nsecond line";
  ASSERT_TRUE(this->Copy(this->subject.Window(0), text));
  EXPECT_EQ(this->subject.Text(), std::optional<WideString>(text));
  EXPECT_EQ(this->subject.Owner(), this->subject.Window(0));
  ASSERT_TRUE(this->Copy(this->subject.Window(1), u"again"));
  EXPECT_EQ(this->subject.Text(), std::optional<WideString>(u"again")) << "replaced, not added to";
  EXPECT_EQ(this->subject.Owner(), this->subject.Window(1));
}

TYPED_TEST_P(ClipboardContract, NothingCanBeEmptiedOrPutUnlessWeHaveItOpen) {
  ASSERT_TRUE(this->Copy(this->subject.Window(0), u"kept"));
  EXPECT_FALSE(this->board.Empty()) << "never opened";
  EXPECT_FALSE(this->board.SetUnicodeText(u"lost"));
  ASSERT_TRUE(this->board.Open(this->subject.Window(0)));
  this->board.Close();
  EXPECT_FALSE(this->board.Empty()) << "closed again";
  EXPECT_FALSE(this->board.SetUnicodeText(u"lost"));
  EXPECT_EQ(this->subject.Text(), std::optional<WideString>(u"kept"));
}

TYPED_TEST_P(ClipboardContract, HeldByAnotherProgramItCannotBeOpenedUntilLetGo) {
  ASSERT_TRUE(this->Copy(this->subject.Window(0), u"before"));
  this->subject.HoldByOther();
  EXPECT_FALSE(this->board.Open(this->subject.Window(0)));
  EXPECT_FALSE(this->board.Open(this->subject.Window(1))) << "for no window of ours";
  EXPECT_FALSE(this->board.Empty()) << "a refused open gives no right to empty it";
  this->subject.ReleaseOther();
  EXPECT_EQ(this->subject.Text(), std::optional<WideString>(u"before")) << "nothing was put meanwhile";
  EXPECT_TRUE(this->Copy(this->subject.Window(0), u"after"));
  EXPECT_EQ(this->subject.Text(), std::optional<WideString>(u"after"));
}

REGISTER_TYPED_TEST_SUITE_P(ClipboardContract, TextReadsBackAsPutAndTheEmptierOwnsIt,
                            NothingCanBeEmptiedOrPutUnlessWeHaveItOpen, HeldByAnotherProgramItCannotBeOpenedUntilLetGo);

}  // namespace vsi::contract
