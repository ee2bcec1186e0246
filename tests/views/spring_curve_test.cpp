#include "views/spring_curve.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using views::SpringCurve;

namespace {

struct SpringCase {
    double response;
    double damping;
    bool overshoots;
};

class SpringCurveTest : public ::testing::TestWithParam<SpringCase> {};

double peak(const SpringCurve& spring) {
    double highest = 0;
    for (int ms = 0; ms <= 5000; ++ms)
        highest = std::max(highest, spring.valueAt(ms / 1000.0));
    return highest;
}

TEST_P(SpringCurveTest, StartsAtRestMovesOnceAndSettlesWhenItSays) {
    const SpringCurve spring(GetParam().response, GetParam().damping);
    EXPECT_EQ(spring.valueAt(0), 0);
    EXPECT_GT(spring.valueAt(GetParam().response / 4), 0.1) << "moves from the start";
    EXPECT_EQ(peak(spring) > 1.0005, GetParam().overshoots);

    const double settled = spring.settlingTime().count() / 1000.0;
    EXPECT_GT(std::abs(1 - spring.valueAt(settled - 0.002)), 0.001);
    for (double t = settled; t < settled + 2; t += 0.001)
        ASSERT_LE(std::abs(1 - spring.valueAt(t)), 0.001) << "at " << t;
}

INSTANTIATE_TEST_SUITE_P(Springs, SpringCurveTest,
                         ::testing::Values(SpringCase{0.5, 0.85, true}, SpringCase{0.3, 0.5, true},
                                           SpringCase{0.5, 1.0, false},
                                           SpringCase{0.5, 1.6, false}));

TEST(SpringCurve, StifferSpringsSettleSooner) {
    EXPECT_LT(SpringCurve(0.25, 0.85).settlingTime(), SpringCurve(0.5, 0.85).settlingTime());
    EXPECT_LT(SpringCurve(0.5, 0.85).settlingTime(), SpringCurve(0.5, 0.3).settlingTime());
}

} // namespace
