#pragma once
// Resampling of 32-bit pixels (0x00RRGGBB) for pictures drawn at 96 dpi and shown larger or
// smaller: bilinear when enlarging, area averaging when reducing, so edges blend instead of
// repeating pixels in blocks. Pure: the Win32 canvas feeds it the bitmap's bits.
#include <cstdint>
#include <optional>
#include <vector>

namespace vsi {

struct Pixels {
  int width = 0, height = 0;
  std::vector<uint32_t> data;  // rows top to bottom
  uint32_t At(int x, int y) const { return data[static_cast<size_t>(y) * width + x]; }
};

// `key`, when given, is a transparent colour: it never blends into the picture, and a target
// pixel that is mostly key stays exactly key (so the picture's transparency survives).
Pixels ResamplePixels(const Pixels& source, int width, int height, std::optional<uint32_t> key = std::nullopt);

}  // namespace vsi
