#include "platform/image_scale.h"

#include <algorithm>
#include <cmath>

namespace vsi {

namespace {

struct Accum {
  double r = 0, g = 0, b = 0, weight = 0, keyWeight = 0;
  void Add(uint32_t p, double w, const std::optional<uint32_t>& key) {
    if (w <= 0) return;
    if (key && p == *key) {
      keyWeight += w;
      return;
    }
    r += w * ((p >> 16) & 0xFF);
    g += w * ((p >> 8) & 0xFF);
    b += w * (p & 0xFF);
    weight += w;
  }
  uint32_t Result(const std::optional<uint32_t>& key) const {
    if (key && keyWeight >= weight) return *key;
    if (weight <= 0) return key ? *key : 0;
    auto c = [&](double v) { return static_cast<uint32_t>(std::clamp(std::lround(v / weight), 0L, 255L)); };
    uint32_t out = c(r) << 16 | c(g) << 8 | c(b);
    // A blended pixel that happens to equal the key would turn transparent: nudge it.
    if (key && out == *key) out ^= 1;
    return out;
  }
};

// Source span [from, to) that target pixel i covers along one axis, in source pixels.
void Span(int i, int target, int source, double& from, double& to) {
  from = static_cast<double>(i) * source / target;
  to = static_cast<double>(i + 1) * source / target;
}

}  // namespace

Pixels ResamplePixels(const Pixels& src, int width, int height, std::optional<uint32_t> key) {
  Pixels out;
  if (width <= 0 || height <= 0 || src.width <= 0 || src.height <= 0) return out;
  out.width = width;
  out.height = height;
  out.data.resize(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      Accum acc;
      const bool reduceX = width <= src.width, reduceY = height <= src.height;
      double x0, x1, y0, y1;
      Span(x, width, src.width, x0, x1);
      Span(y, height, src.height, y0, y1);
      // Each axis on its own: the source pixels under the target pixel with their covered
      // share (reducing), or the two nearest source centres with linear weights (enlarging).
      std::vector<std::pair<int, double>> wx, wy;
      auto weights = [](bool reduce, double a, double b, int n, std::vector<std::pair<int, double>>& w) {
        if (reduce) {
          for (int s = static_cast<int>(std::floor(a)); s < static_cast<int>(std::ceil(b)); ++s) {
            double cover = std::min<double>(b, s + 1) - std::max<double>(a, s);
            if (cover > 0 && s >= 0 && s < n) w.emplace_back(s, cover);
          }
          return;
        }
        double centre = (a + b) / 2 - 0.5;
        int s0 = static_cast<int>(std::floor(centre));
        double f = centre - s0;
        w.emplace_back(std::clamp(s0, 0, n - 1), 1 - f);
        w.emplace_back(std::clamp(s0 + 1, 0, n - 1), f);
      };
      weights(reduceX, x0, x1, src.width, wx);
      weights(reduceY, y0, y1, src.height, wy);
      for (auto [sy, fy] : wy)
        for (auto [sx, fx] : wx) acc.Add(src.At(sx, sy), fx * fy, key);
      out.data[static_cast<size_t>(y) * width + x] = acc.Result(key);
    }
  }
  return out;
}

}  // namespace vsi
