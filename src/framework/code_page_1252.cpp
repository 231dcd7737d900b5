// Windows-1252 and the single-byte conversions, apart from the other code pages' tables: the
// program converts the dictionary's 8-bit texts with this table and links none of the others.
#include "framework/code_page_1252.h"
#include "framework/code_pages.h"

namespace vsi {

const char16_t kWindows1252[128] = {
    0x20AC, 0x0000, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x0000, 0x017D, 0x0000,
    0x0000, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x0000, 0x017E, 0x0178,
    0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x00AA, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF,
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x00B9, 0x00BA, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF,
    0x00C0, 0x00C1, 0x00C2, 0x00C3, 0x00C4, 0x00C5, 0x00C6, 0x00C7,
    0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x00CC, 0x00CD, 0x00CE, 0x00CF,
    0x00D0, 0x00D1, 0x00D2, 0x00D3, 0x00D4, 0x00D5, 0x00D6, 0x00D7,
    0x00D8, 0x00D9, 0x00DA, 0x00DB, 0x00DC, 0x00DD, 0x00DE, 0x00DF,
    0x00E0, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5, 0x00E6, 0x00E7,
    0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x00EC, 0x00ED, 0x00EE, 0x00EF,
    0x00F0, 0x00F1, 0x00F2, 0x00F3, 0x00F4, 0x00F5, 0x00F6, 0x00F7,
    0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x00FD, 0x00FE, 0x00FF};

namespace {
// A byte the code page leaves undefined stands for the code point of the same value.
char16_t CharOf(const char16_t* high, unsigned char b) {
  if (b < 0x80) return b;
  if (!high) return u'\uFFFD';
  return high[b - 0x80] ? high[b - 0x80] : static_cast<char16_t>(b);
}
}  // namespace

std::u16string SingleByteToUtf16(const char16_t* high, std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char c : text) out.push_back(CharOf(high, static_cast<unsigned char>(c)));
  return out;
}

std::string Utf16ToSingleByte(const char16_t* high, std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      continue;
    }
    int b = high ? 0x80 : 0x100;
    while (b < 0x100 && CharOf(high, static_cast<unsigned char>(b)) != c) ++b;
    if (b < 0x100) {
      out.push_back(static_cast<char>(b));
      continue;
    }
    // A surrogate pair is one character: one '?'.
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) ++i;
    out.push_back('?');
  }
  return out;
}

std::u16string Cp1252ToUtf16(std::string_view text) { return SingleByteToUtf16(kWindows1252, text); }
std::string Utf16ToCp1252(std::u16string_view text) { return Utf16ToSingleByte(kWindows1252, text); }

}  // namespace vsi
