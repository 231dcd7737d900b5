#include "framework/text_encoding.h"

#include <gtest/gtest.h>

#include "framework/code_pages.h"

namespace vsi {
namespace {

constexpr size_t kGood = std::string_view::npos;

// Each text stands between '<' and '>' (offsets count the '<'): what follows a bad sequence
// must come out too.
TEST(TextEncoding, Utf8UnderBothPolicies) {
  struct Case {
    const char* name;
    std::string utf8;
    std::u16string replaced;  // with the replacing policy
    size_t bad;               // where the first bad sequence starts
  };
  const std::u16string R = u"\uFFFD";
  const Case cases[] = {
      {"ASCII", "a", u"a", kGood},
      {"two bytes, lowest", "\xC2\x80", u"\u0080", kGood},
      {"two bytes, highest", "\xDF\xBF", u"\u07FF", kGood},
      {"three bytes, lowest", "\xE0\xA0\x80", u"\u0800", kGood},
      {"three bytes, below the surrogates", "\xED\x9F\xBF", u"\uD7FF", kGood},
      {"three bytes, above the surrogates", "\xEE\x80\x80", u"\uE000", kGood},
      {"three bytes, highest", "\xEF\xBF\xBF", u"\uFFFF", kGood},
      {"four bytes, lowest", "\xF0\x90\x80\x80", u"\U00010000", kGood},
      {"four bytes, highest", "\xF4\x8F\xBF\xBF", u"\U0010FFFF", kGood},
      {"overlong NUL", "\xC0\x80", R + R, 0},
      {"overlong two bytes (C1)", "\xC1\xBF", R + R, 0},
      {"overlong three bytes", "\xE0\x80\xAF", R + R + R, 0},
      {"overlong three bytes, highest", "\xE0\x9F\xBF", R + R + R, 0},
      {"overlong four bytes", "\xF0\x8F\xBF\xBF", R + R + R + R, 0},
      {"high surrogate", "\xED\xA0\x80", R + R + R, 0},
      {"low surrogate", "\xED\xBF\xBF", R + R + R, 0},
      {"past U+10FFFF", "\xF4\x90\x80\x80", R + R + R + R, 0},
      {"lead F5", "\xF5\x80\x80\x80", R + R + R + R, 0},
      {"lead FF", "\xFF", R, 0},
      {"truncated two bytes", "\xC3", R, 0},
      {"truncated three bytes", "\xE2\x82", R + R, 0},
      {"truncated four bytes", "\xF0\x9F\x98", R + R + R, 0},
      {"truncated before ASCII", "\xE2\x82x", R + R + u"x", 0},
      {"stray continuation", "\x80", R, 0},
      {"stray continuation after a character", "\xC3\xA9\xA9", u"\u00E9" + R, 2},
  };
  for (const Case& c : cases) {
    const std::string text = "<" + c.utf8 + ">";
    std::u16string out;
    const bool good = c.bad == kGood;
    EXPECT_EQ(DecodeUtf8(text, BadText::Replace, out), good ? kGood : c.bad + 1) << c.name;
    EXPECT_EQ(out, u"<" + c.replaced + u">") << c.name;
    EXPECT_EQ(Utf8ToUtf16(text), out) << c.name;

    EXPECT_EQ(DecodeUtf8(text, BadText::Reject, out), good ? kGood : c.bad + 1) << c.name;
    EXPECT_EQ(out, good ? u"<" + c.replaced + u">" : Utf8ToUtf16(text.substr(0, c.bad + 1))) << c.name;
    // What decodes cleanly comes back byte for byte.
    if (good) {
      EXPECT_EQ(Utf16ToUtf8(out), text) << c.name;
    }
  }
}

TEST(TextEncoding, Utf16UnderBothPolicies) {
  struct Case {
    const char* name;
    std::u16string utf16;
    std::string replaced;
    bool good;
  };
  const std::string R = "\xEF\xBF\xBD";
  const char16_t high = 0xD83D, low = 0xDE00;
  const Case cases[] = {
      {"one to three bytes", u"a\u00E9\u20AC", "a\xC3\xA9\xE2\x82\xAC", true},
      {"a pair", std::u16string{high, low}, "\xF0\x9F\x98\x80", true},
      {"high half alone", std::u16string{high, u'b'}, R + "b", false},
      {"low half alone", std::u16string{low, u'b'}, R + "b", false},
      {"halves reversed", std::u16string{low, high}, R + R, false},
      {"a high half, then a pair", std::u16string{high, high, low}, R + "\xF0\x9F\x98\x80", false},
  };
  for (const Case& c : cases) {
    const std::u16string text = u"<" + c.utf16 + u">";
    std::string out;
    EXPECT_EQ(EncodeUtf8(text, BadText::Replace, out), c.good ? kGood : 1) << c.name;
    EXPECT_EQ(out, "<" + c.replaced + ">") << c.name;
    EXPECT_EQ(Utf16ToUtf8(text), out) << c.name;
    EXPECT_EQ(EncodeUtf8(text, BadText::Reject, out), c.good ? kGood : 1) << c.name;
    EXPECT_EQ(out, c.good ? "<" + c.replaced + ">" : "<") << c.name;
  }
}

TEST(CodePages, Windows1252BothWays) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  const std::u16string wide = Cp1252ToUtf16(all);
  EXPECT_EQ(wide[0x80 - 1], u'\u20AC');
  EXPECT_EQ(wide[0x9F - 1], u'\u0178');
  EXPECT_EQ(wide[0xE9 - 1], u'\u00E9');
  EXPECT_EQ(wide[0x81 - 1], u'\u0081');  // undefined bytes keep their value
  EXPECT_EQ(Utf16ToCp1252(wide), all);
  // What the code page lacks is one '?' a character, a surrogate pair included.
  EXPECT_EQ(Utf16ToCp1252(u"a\u4E2D\U0001F600\u0080"), "a???");
  // Without a table only ASCII converts.
  EXPECT_EQ(SingleByteToUtf16(nullptr, "a\x93"), u"a\uFFFD");
  EXPECT_EQ(Utf16ToSingleByte(nullptr, u"a\u00E9"), "a?");
}

}  // namespace
}  // namespace vsi
