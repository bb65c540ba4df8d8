#include "engine/core/timedkinds.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

// Traces and test messages tell the kinds apart by name.
TEST(TimedMsgKinds, EveryKindHasItsOwnName) {
  std::set<std::string> names;
  for (int32_t kind = kTickMsg; kind <= kShowObjectMsg; ++kind) {
    if (kind == 1) continue;  // posted by nobody
    const std::string name = TimedMsgKindName(kind);
    EXPECT_EQ(name.find("kind "), std::string::npos) << kind << ": " << name;
    EXPECT_TRUE(names.insert(name).second) << kind << ": " << name;
  }
  EXPECT_STREQ(TimedMsgKindName(kRunActionMsg), "run action");
}

TEST(TimedMsgKinds, OtherKindsAreNamedByNumber) {
  EXPECT_STREQ(TimedMsgKindName(1), "kind 1");
  EXPECT_STREQ(TimedMsgKindName(16), "kind 16");
  EXPECT_STREQ(TimedMsgKindName(-1), "kind -1");
}

}  // namespace
