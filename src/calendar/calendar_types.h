#pragma once
// Enumerations and event types shared by the month calendar and the calendar group.
#include <cstdint>
#include <functional>
#include <string>

#include "framework/format_settings.h"
#include "framework/reflection.h"
#include "platform/windowing.h"

namespace vsi {

class TObject;
class TSelDateItem;
using TEventProp = TSelDateItem;

enum TEventShape : uint8_t { evsRectangle, evsCircle, evsSquare, evsTriangle, evsNone };
enum TTodayStyle : uint8_t { tsSunken, tsRaised, tsFlat };
enum TMonthCalendarLook : uint8_t { lookFlat, look3D };
enum TGradientDirection : uint8_t { gdHorizontal, gdVertical };
enum TBackGroundPosition : uint8_t {
  bpTopLeft,
  bpTopRight,
  bpBottomLeft,
  bpBottomRight,
  bpTiled,
  bpStretched,
  bpCenter
};

const EnumInfo& EventShapeNames();
const EnumInfo& TodayStyleNames();
const EnumInfo& CalendarLookNames();
const EnumInfo& GradientDirectionNames();
const EnumInfo& BackgroundPositionNames();

using TDaySelectEvent = std::function<void(TObject* sender, TDateTime selDate)>;
using TDateChangeEvent = std::function<void(TObject* sender, TDateTime origDate, TDateTime newDate)>;
using TCancelledChangeEvent = std::function<void(TObject* sender, TDateTime cancelledDate)>;
using TGetDateEvent = std::function<void(TObject* sender, TDateTime dt, bool& isEvent)>;
using TGetDateEventHint = std::function<void(TObject* sender, TDateTime dt, bool& isEvent, std::string& eventHint)>;
using TEventPropEvent = std::function<void(TObject* sender, TDateTime dt, TEventProp*& event)>;
// Keyboard and mouse events of the calendars (the sender first).
using TKeyEvent = std::function<void(TObject* sender, uint16_t& key, uint8_t shift)>;
using TKeyPressEvent = std::function<void(TObject* sender, char& key)>;
using TMouseEvent = std::function<void(TObject* sender, MouseButton button, uint8_t shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, uint8_t shift, int x, int y)>;

// Virtual keys the calendar answers.
constexpr uint16_t VK_RETURN_ = 0x0D;
constexpr uint16_t VK_ESCAPE_ = 0x1B;
constexpr uint16_t VK_SPACE_ = 0x20;
constexpr uint16_t VK_PRIOR_ = 0x21;
constexpr uint16_t VK_NEXT_ = 0x22;
constexpr uint16_t VK_LEFT_ = 0x25;
constexpr uint16_t VK_UP_ = 0x26;
constexpr uint16_t VK_RIGHT_ = 0x27;
constexpr uint16_t VK_DOWN_ = 0x28;

}  // namespace vsi
