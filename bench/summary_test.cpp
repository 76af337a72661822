#include "summary.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(Summary, OrdersTheMeasurementsWhateverOrderTheyCameIn)
{
    const Summary s({5, 1, 4, 2, 3});
    EXPECT_EQ(s.min(), 1);
    EXPECT_EQ(s.max(), 5);
    EXPECT_EQ(s.median(), 3);
}

TEST(Summary, InterpolatesBetweenTheTwoNearestMeasurements)
{
    // An even count has no middle measurement: the median lies halfway.
    EXPECT_EQ(Summary({1, 2, 3, 10}).median(), 2.5);
    // The 99th percentile of 1..101 is 100; of 1..200 it lies just short of 199.
    std::vector<double> hundredAndOne, twoHundred;
    for (int i = 1; i <= 200; ++i) {
        if (i <= 101)
            hundredAndOne.push_back(i);
        twoHundred.push_back(i);
    }
    EXPECT_DOUBLE_EQ(Summary(hundredAndOne).quantile(0.99), 100);
    EXPECT_DOUBLE_EQ(Summary(twoHundred).quantile(0.99), 198.01);
    EXPECT_EQ(Summary(twoHundred).quantile(1.0), 200);
}

TEST(Summary, OfOneMeasurementIsThatMeasurement)
{
    const Summary s({7});
    EXPECT_EQ(s.quantile(0.0), 7);
    EXPECT_EQ(s.quantile(0.99), 7);
}

TEST(Summary, RefusesToSummariseNothing) { EXPECT_THROW(Summary({}), std::invalid_argument); }
