#include "app/window_place.h"

#include <algorithm>
#include <cstdio>

namespace vsi {

namespace {

struct Entry {
  std::string layout;
  TPoint place;
};

std::vector<std::string> Split(const std::string& s, char sep) {
  std::vector<std::string> out;
  size_t start = 0;
  for (;;) {
    size_t end = s.find(sep, start);
    out.push_back(s.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return out;
    start = end + 1;
  }
}

bool ParseInt(const std::string& s, int& out) {
  if (s.empty() || s.size() > 7) return false;
  size_t i = s[0] == '-' ? 1 : 0;
  if (i == s.size()) return false;
  int v = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    v = v * 10 + (s[i] - '0');
  }
  out = s[0] == '-' ? -v : v;
  return true;
}

// Entries of a value; nothing at all when any part is damaged.
std::vector<Entry> Parse(const std::string& value) {
  std::vector<Entry> out;
  if (value.empty()) return out;
  for (const std::string& item : Split(value, ';')) {
    size_t eq = item.rfind('=');
    if (eq == std::string::npos || eq == 0) return {};
    std::vector<std::string> xy = Split(item.substr(eq + 1), ',');
    Entry e{item.substr(0, eq), {}};
    if (xy.size() != 2 || !ParseInt(xy[0], e.place.x) || !ParseInt(xy[1], e.place.y)) return {};
    out.push_back(std::move(e));
  }
  return out;
}

long long Overlap(const TRect& a, const TRect& b) {
  const long long w = std::min(a.right, b.right) - std::max(a.left, b.left);
  const long long h = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
  return w > 0 && h > 0 ? w * h : 0;
}

bool Inside(const TRect& r, const TRect& area) {
  return r.left >= area.left && r.top >= area.top && r.right <= area.right && r.bottom <= area.bottom;
}

// The left or top edge that puts a span of `size` inside [lo, hi), as near `at` as can be; the
// start of the area when it is smaller than the span (the caption stays reachable).
int Clamp(int at, int size, int lo, int hi) { return std::max(lo, std::min(at, hi - size)); }

}  // namespace

std::string MonitorLayout(const std::vector<MonitorArea>& monitors) {
  std::string out;
  for (const MonitorArea& m : monitors) {
    char part[64];
    std::snprintf(part, sizeof part, "%dx%d%+d%+d", m.bounds.Width(), m.bounds.Height(), m.bounds.left, m.bounds.top);
    if (!out.empty()) out += ',';
    out += part;
  }
  return out;
}

std::optional<TPoint> StoredPlace(const std::string& value, const std::string& layout) {
  for (const Entry& e : Parse(value))
    if (e.layout == layout) return e.place;
  return std::nullopt;
}

std::string WithPlace(const std::string& value, const std::string& layout, TPoint place) {
  std::vector<Entry> entries = Parse(value);
  entries.erase(std::remove_if(entries.begin(), entries.end(), [&](const Entry& e) { return e.layout == layout; }),
                entries.end());
  entries.push_back({layout, place});
  if (entries.size() > kMaxLayouts) entries.erase(entries.begin(), entries.end() - kMaxLayouts);
  std::string out;
  for (const Entry& e : entries) {
    if (!out.empty()) out += ';';
    out += e.layout + "=" + std::to_string(e.place.x) + "," + std::to_string(e.place.y);
  }
  return out;
}

TPoint PlaceOnScreen(TPoint wanted, TSize size, const std::vector<MonitorArea>& monitors) {
  if (monitors.empty()) return wanted;
  const TRect r{wanted.x, wanted.y, wanted.x + size.cx, wanted.y + size.cy};
  const MonitorArea* target = nullptr;
  long long most = 0;
  for (const MonitorArea& m : monitors) {
    if (Inside(r, m.work)) return wanted;
    if (long long o = Overlap(r, m.work); o > most) {
      most = o;
      target = &m;
    }
  }
  if (!target) {
    target = &monitors.front();
    for (const MonitorArea& m : monitors)
      if (m.primary) target = &m;
  }
  const TRect& w = target->work;
  return {Clamp(wanted.x, size.cx, w.left, w.right), Clamp(wanted.y, size.cy, w.top, w.bottom)};
}

}  // namespace vsi
