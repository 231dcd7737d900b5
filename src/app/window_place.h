#pragma once
// Where the main window opens: the place it was closed at, kept per monitor layout beside the
// language, and always fully on a screen.
#include <optional>
#include <string>
#include <vector>

#include "platform/windowing.h"

namespace vsi {

// The settings value that holds the places, as "layout=left,top" entries joined by ";", the
// layout being each monitor's "WxH+X+Y" joined by ",", primary first.
inline constexpr char kPlaceValue[] = "Position1";
// How many layouts are remembered: the oldest gives way.
inline constexpr size_t kMaxLayouts = 8;

std::string MonitorLayout(const std::vector<MonitorArea>& monitors);
// The place stored for this layout; none when there is none or the text is damaged.
std::optional<TPoint> StoredPlace(const std::string& value, const std::string& layout);
// The value with this layout's place set (the layout's entry moves to the end).
std::string WithPlace(const std::string& value, const std::string& layout, TPoint place);
// Where a window of this size at `wanted` goes: there, when it lies wholly in one monitor's
// work area; else moved wholly into the work area it overlaps most, or into the primary
// monitor's when it overlaps none.
TPoint PlaceOnScreen(TPoint wanted, TSize size, const std::vector<MonitorArea>& monitors);

}  // namespace vsi
