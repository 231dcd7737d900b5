#include "framework/text_encoding.h"

#include <cstdint>

namespace vsi {

namespace {

// The length of the sequence a lead byte starts and the range its second byte must lie in:
// the narrowed ranges after E0, ED, F0 and F4 are what keeps out overlong forms, surrogates
// and code points past U+10FFFF. Length 0: the byte leads nothing.
struct Lead {
  int length;
  unsigned char low, high;
};

Lead LeadOf(unsigned char b) {
  if (b >= 0xC2 && b <= 0xDF) return {2, 0x80, 0xBF};
  if (b == 0xE0) return {3, 0xA0, 0xBF};
  if (b == 0xED) return {3, 0x80, 0x9F};
  if (b >= 0xE1 && b <= 0xEF) return {3, 0x80, 0xBF};
  if (b == 0xF0) return {4, 0x90, 0xBF};
  if (b >= 0xF1 && b <= 0xF3) return {4, 0x80, 0xBF};
  if (b == 0xF4) return {4, 0x80, 0x8F};
  return {0, 0, 0};
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c < 0xDC00; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c < 0xE000; }

void AppendUtf8(uint32_t cp, std::string& out) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

}  // namespace

size_t DecodeUtf8(std::string_view utf8, BadText policy, std::u16string& out) {
  out.clear();
  out.reserve(utf8.size());
  size_t firstBad = std::string_view::npos;
  const size_t n = utf8.size();
  for (size_t i = 0; i < n;) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    if (b < 0x80) {
      out.push_back(b);
      ++i;
      continue;
    }
    const Lead lead = LeadOf(b);
    bool good = lead.length > 0 && n - i >= static_cast<size_t>(lead.length);
    if (good) {
      const auto second = static_cast<unsigned char>(utf8[i + 1]);
      good = second >= lead.low && second <= lead.high;
      for (int k = 2; good && k < lead.length; ++k) good = (static_cast<unsigned char>(utf8[i + k]) & 0xC0) == 0x80;
    }
    if (!good) {
      if (firstBad == std::string_view::npos) firstBad = i;
      if (policy == BadText::Reject) return firstBad;
      out.push_back(u'\uFFFD');
      ++i;
      continue;
    }
    uint32_t cp = b & (0x7F >> lead.length);
    for (int k = 1; k < lead.length; ++k) cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i += lead.length;
  }
  return firstBad;
}

size_t EncodeUtf8(std::u16string_view utf16, BadText policy, std::string& out) {
  out.clear();
  out.reserve(utf16.size());
  size_t firstBad = std::u16string_view::npos;
  for (size_t i = 0; i < utf16.size(); ++i) {
    uint32_t cp = utf16[i];
    if (IsHighSurrogate(utf16[i]) && i + 1 < utf16.size() && IsLowSurrogate(utf16[i + 1])) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
      ++i;
    } else if (IsHighSurrogate(utf16[i]) || IsLowSurrogate(utf16[i])) {
      if (firstBad == std::u16string_view::npos) firstBad = i;
      if (policy == BadText::Reject) return firstBad;
      cp = 0xFFFD;
    }
    AppendUtf8(cp, out);
  }
  return firstBad;
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  DecodeUtf8(utf8, BadText::Replace, out);
  return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  EncodeUtf8(utf16, BadText::Replace, out);
  return out;
}

}  // namespace vsi
