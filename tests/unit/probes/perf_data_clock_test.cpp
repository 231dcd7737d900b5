// The performance data's clock: 100-ns units since 1601, counting days with the framework's
// dates, and refusing a date or time that does not exist.
#include "probes/perf_data.h"

#include <gtest/gtest.h>

namespace vsi::perf {
namespace {

TEST(PerfDataClock, CountsFrom1601) {
  int64_t ft = -1;
  ASSERT_TRUE(SystemTimeToFileTime(SystemTime{1601, 1, 1, 1, 0, 0, 0, 0}, ft));
  EXPECT_EQ(ft, 0);
  ASSERT_TRUE(SystemTimeToFileTime(SystemTime{2004, 3, 0, 21, 14, 30, 5, 0}, ft));
  EXPECT_EQ(ft, 127243530050000000);
  EXPECT_FALSE(SystemTimeToFileTime(SystemTime{2005, 2, 0, 29, 0, 0, 0, 0}, ft));
  EXPECT_FALSE(SystemTimeToFileTime(SystemTime{2004, 13, 0, 1, 0, 0, 0, 0}, ft));
}

}  // namespace
}  // namespace vsi::perf
