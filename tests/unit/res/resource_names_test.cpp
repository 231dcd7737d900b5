#include "res/resource_names.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace {

struct FlagCase {
  const char* language;
  const char* resource;  // nullptr: no flag
};

TEST(ResourceNames, FlagForEachLanguageName) {
  const FlagCase cases[] = {
      {"English", "FLAG_ENGLISH"},       {"French", "FLAG_FRENCH"},   {"German", "FLAG_GERMAN"},
      {"Italian", "FLAG_ITALIAN"},       {"Spanish", "FLAG_SPANISH"}, {"Swedish", "FLAG_SWEDISH"},
      {"Portuguese", "FLAG_PORTUGUESE"}, {"Dutch", "FLAG_DUTCH"},
      // Names are matched exactly, as the stored language state is.
      {"english", nullptr},              {"English ", nullptr},       {"Engl", nullptr},
      {"", nullptr},                     {"Danish", nullptr},
  };
  for (const FlagCase& c : cases) {
    SCOPED_TRACE(c.language);
    const char* got = vsi::res::FlagFor(c.language);
    if (!c.resource) {
      EXPECT_EQ(got, nullptr);
    } else {
      ASSERT_NE(got, nullptr);
      EXPECT_STREQ(got, c.resource);
    }
  }
}

TEST(ResourceNames, NamesAreDistinctUpperCaseIdentifiers) {
  // The resource compiler upper-cases unquoted names; a lower-case letter here would
  // name a resource that does not exist.
  const char* names[] = {vsi::res::kMainIcon,     vsi::res::kFlagEnglish,  vsi::res::kFlagFrench,
                         vsi::res::kFlagGerman,   vsi::res::kFlagItalian,  vsi::res::kFlagSpanish,
                         vsi::res::kFlagSwedish,  vsi::res::kFlagPortuguese, vsi::res::kFlagDutch,
                         vsi::res::kUpgradeGlyph, vsi::res::kOkGlyph,      vsi::res::kDriveFloppy,
                         vsi::res::kDriveFixed,   vsi::res::kDriveNetwork, vsi::res::kDriveCdrom,
                         vsi::res::kDriveRam,     vsi::res::kHandCursor};
  std::set<std::string> seen;
  for (const char* name : names) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(seen.insert(name).second) << "duplicate";
    for (const char* p = name; *p; ++p)
      EXPECT_TRUE((*p >= 'A' && *p <= 'Z') || (*p >= '0' && *p <= '9') || *p == '_') << *p;
  }
}

}  // namespace
