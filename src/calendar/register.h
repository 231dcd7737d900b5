#pragma once

namespace vsi {

// Makes TMonthCalendar and TMonthCalendarGroup known to window descriptions.
void RegisterCalendarClasses();

}  // namespace vsi
