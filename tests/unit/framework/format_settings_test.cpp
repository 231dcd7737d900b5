#include "framework/format_settings.h"

#include <gtest/gtest.h>

#include "fakes/fake_locale.h"

namespace vsi {
namespace {

TEST(FormatSettingsTest, GroupedIntegersFollowTheThousandsSeparator) {
  TFormatSettings comma;
  TFormatSettings stop;
  stop.thousandSeparator = '.';
  struct Case {
    const char* name;
    long double value;
    const TFormatSettings& fs;
    const char* expected;
  } cases[] = {
      {"ten gigabytes, comma", 10476945408.0L, comma, "10,476,945,408"},
      {"ten gigabytes, full stop", 10476945408.0L, stop, "10.476.945.408"},
      {"free space", 12345678901.0L, comma, "12,345,678,901"},
      {"unreadable", -1.0L, comma, "-1"},
      {"three digits", 999.0L, comma, "999"},
      {"four digits", 1000.0L, comma, "1,000"},
      {"zero", 0.0L, comma, "0"},
      {"sixteen digits", 9999999999999999.0L, comma, "9,999,999,999,999,999"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatGroupedInteger(c.fs, c.value), c.expected) << c.name;
  EXPECT_NE(FormatGroupedInteger(comma, 1e17L).find('E'), std::string::npos) << "beyond 16 digits: scientific";
}

TEST(FormatSettingsTest, FixedPointUsesTheDecimalSeparator) {
  TFormatSettings fs;
  EXPECT_EQ(FormatFixed(fs, 7.5, 5, 2), " 7.50");
  EXPECT_EQ(FormatFixed(fs, 100.0, 5, 2), "100.00");
  fs.decimalSeparator = ',';
  EXPECT_EQ(FormatFixed(fs, -0.25, 5, 2), "-0,25");
}

TEST(FormatSettingsTest, TimesUseTheTimeSeparator) {
  TFormatSettings fs;
  SystemTime t{2024, 6, 1, 14, 9, 5, 3, 0};
  EXPECT_EQ(FormatDateTime(fs, "hh:nn:ss", t), "09:05:03");
  fs.timeSeparator = '.';
  EXPECT_EQ(FormatDateTime(fs, "hh:nn:ss", t), "09.05.03");
  t.hour = 21;
  EXPECT_EQ(FormatDateTime(fs, "hh:nn:ss", t), "21.05.03") << "24-hour clock without an AM/PM marker";
  fs.dateSeparator = '-';
  EXPECT_EQ(FormatDateTime(fs, "yyyy/mm/dd", t), "2024-06-14");
  std::string kept = "a longer text from before";
  FormatDateTime(fs, "hh:nn:ss", t, kept);
  EXPECT_EQ(kept, "21.05.03") << "replaced, not appended to";
}

TEST(FormatSettingsTest, DateValuesRoundTrip) {
  SystemTime t{2004, 1, 0, 21, 12, 0, 0, 0};
  TDateTime v = dates::EncodeDateTime(t);
  EXPECT_DOUBLE_EQ(v, 38007.5);
  SystemTime back = dates::DecodeDateTime(v);
  EXPECT_EQ(back.year, 2004);
  EXPECT_EQ(back.month, 1);
  EXPECT_EQ(back.day, 21);
  EXPECT_EQ(back.hour, 12);
  EXPECT_EQ(back.dayOfWeek, 3) << "21 January 2004 was a Wednesday";
  EXPECT_DOUBLE_EQ(dates::EncodeDateTime({1899, 12, 0, 30, 0, 0, 0, 0}), 0.0);
  SystemTime leap = dates::DecodeDateTime(dates::EncodeDateTime({2000, 2, 0, 29, 0, 0, 0, 0}));
  EXPECT_EQ(leap.month, 2);
  EXPECT_EQ(leap.day, 29);
}

TEST(FormatSettingsTest, ReadFromTheLocale) {
  fake::FakeLocale locale;
  TFormatSettings de = TFormatSettings::FromLocale(locale, 0x0407);
  EXPECT_EQ(de.thousandSeparator, '.');
  EXPECT_EQ(de.decimalSeparator, ',');
  EXPECT_EQ(de.longMonthNames[0], "Januar");
  TFormatSettings en = TFormatSettings::FromLocale(locale, 0x0409);
  EXPECT_EQ(en.thousandSeparator, ',');
  EXPECT_EQ(en.shortDayNames[0], "Sun") << "Sunday first";
}

}  // namespace
}  // namespace vsi
