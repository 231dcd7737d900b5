#pragma once
// UTF-8 and UTF-16, one codec for the whole program: window descriptions, the dictionary, the
// report and the in-memory platform all convert here, so bad input means the same everywhere.
//
// Bad UTF-8 is what MultiByteToWideChar with MB_ERR_INVALID_CHARS rejects: a continuation byte
// without a lead, a byte that leads nothing (C0, C1, F5 to FF), an overlong form, a surrogate
// (D800 to DFFF) written in UTF-8, a code point above U+10FFFF, a sequence cut short. Bad
// UTF-16 is half a surrogate pair. The caller chooses what happens to it:
//   Replace  each byte of a bad UTF-8 sequence becomes one U+FFFD (decoding goes on at the
//            next byte); half a pair becomes U+FFFD. For texts that are shown.
//   Reject   conversion stops at the first bad sequence. For data whose damage is reported.
#include <cstddef>
#include <string>
#include <string_view>

namespace vsi {

enum class BadText { Replace, Reject };

// Returns npos when the whole text was good, else the offset (byte, or UTF-16 unit) of the
// first bad sequence; `out` then holds, with Replace, the whole text with replacements, with
// Reject, the text before it.
size_t DecodeUtf8(std::string_view utf8, BadText policy, std::u16string& out);
size_t EncodeUtf8(std::u16string_view utf16, BadText policy, std::string& out);

// The replacing conversions, for what is shown.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

}  // namespace vsi
