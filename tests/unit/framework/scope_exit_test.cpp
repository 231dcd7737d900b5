#include "framework/scope_exit.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace vsi {
namespace {

TEST(ScopeExitTest, RestoresOnReturnAndOnThrowUnlessDismissed) {
  struct Case {
    const char* name;
    bool fail;
    bool dismiss;
    int expectedRestores;
  };
  const Case cases[] = {
      {"normal exit restores", false, false, 1},
      {"exception restores", true, false, 1},
      {"dismissed, normal exit keeps", false, true, 0},
      {"dismissed after the failure point, exception restores", true, true, 1},
  };
  for (const Case& c : cases) {
    int restores = 0;
    try {
      ScopeExit guard{[&] { ++restores; }};
      if (c.fail) throw std::runtime_error("in the middle");
      if (c.dismiss) guard.Dismiss();
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(restores, c.expectedRestores) << c.name;
  }
}

TEST(ScopeExitTest, AFailingRestoreReportsItselfOnlyWhenNothingElseIsFailing) {
  auto failingRestore = [](bool failFirst) {
    ScopeExit guard{[] { throw std::logic_error("restore"); }};
    if (failFirst) throw std::runtime_error("first");
  };
  try {
    failingRestore(false);
    ADD_FAILURE() << "the restore's failure is lost";
  } catch (const std::logic_error& e) {
    EXPECT_EQ(std::string(e.what()), "restore");
  }
  try {
    failingRestore(true);
    ADD_FAILURE() << "nothing thrown";
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()), "first") << "the first failure reaches the caller";
  }
}

}  // namespace
}  // namespace vsi
