#pragma once
// The single-byte ANSI code pages of Windows (874 and 1250 to 1258), for what runs without the
// system's conversions: the dictionary tool on the build machine, and the in-memory platform.
#include <cstdint>
#include <string>
#include <string_view>

namespace vsi {

// Bytes 0x80 to 0xFF of the code page as UTF-16 code units (0 where the code page has no
// character; bytes below 0x80 are ASCII), or null for any other code page.
const char16_t* SingleByteCodePage(uint32_t codePage);

// MultiByteToWideChar / WideCharToMultiByte over such a table. A byte the code page leaves
// undefined stands for the code point of the same value, as in the system's tables; a character
// the code page lacks becomes '?' (a surrogate pair is one character). Without a table (null)
// only ASCII converts: other bytes become U+FFFD.
std::u16string SingleByteToUtf16(const char16_t* high, std::string_view text);
std::string Utf16ToSingleByte(const char16_t* high, std::u16string_view text);

// Windows-1252: the dictionary's 8-bit texts, and the system code page of the build machine's
// tools and of the in-memory platform.
std::u16string Cp1252ToUtf16(std::string_view text);
std::string Utf16ToCp1252(std::u16string_view text);

}  // namespace vsi
