#include "res/resource_names.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

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
