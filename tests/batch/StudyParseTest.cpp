#include "batch_study.h"

#include <gtest/gtest.h>

namespace latcap::batch {
namespace {

    // One more is refused; running 10000 calculations to show it is not worth it.
    TEST(SweepValues, TenThousandRowsAreAllowed)
    {
        Sweep sweep;
        std::string error;
        ASSERT_TRUE(ParseSweep("H=1:10000:1", sweep, error)) << error;
        EXPECT_EQ(sweep.values.size(), 10000u);
        EXPECT_EQ(sweep.values.back(), "10000");
    }

} // namespace
} // namespace latcap::batch
