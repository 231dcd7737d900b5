#pragma once
// The single-byte ANSI code pages of Windows (874 and 1250 to 1258), for what runs without the
// system's conversions: the dictionary tool on the build machine, and the in-memory platform.
#include <cstdint>

namespace vsi {

// Bytes 0x80 to 0xFF of the code page as UTF-16 code units (0 where the code page has no
// character; bytes below 0x80 are ASCII), or null for any other code page.
const char16_t* SingleByteCodePage(uint32_t codePage);

}  // namespace vsi
