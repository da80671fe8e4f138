#include <gtest/gtest.h>

#include "core/errors.h"
#include "tools/efficiency_tools.h"

namespace {

TEST(EfficiencyTools, AnUnknownCommandNameRaisesError438) {
    plorin::EfficiencyTools tools;
    try {
        tools.callByName("noSuchCommand");
        FAIL();
    } catch (const platform::NumberedError& e) {
        EXPECT_EQ(e.number(), plorin::errNoSuchMember);
    }
    EXPECT_FALSE(plorin::EfficiencyTools::hasMethod("noSuchCommand"));
}

}  // namespace
