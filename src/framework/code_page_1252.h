#pragma once
// Bytes 0x80 to 0xFF of Windows-1252 as UTF-16 (0 where it has no character); see code_pages.h.
namespace vsi {
extern const char16_t kWindows1252[128];
}  // namespace vsi
