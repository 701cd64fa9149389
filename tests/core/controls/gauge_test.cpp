#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "controls/TGauge.h"

using twinfold::TGauge;

namespace {

// Counts OnChange notifications of one gauge.
struct ChangeCounter {
    explicit ChangeCounter(TGauge& gauge) {
        watching = gauge.OnChange.Connect([this] { ++count; });
    }
    int count = 0;
    twinfold::Connection watching;
};

void Prepare(TGauge& gauge, int max) {
    ASSERT_TRUE(gauge.SetMaxValue(max).ok());
    ASSERT_TRUE(gauge.SetMinValue(0).ok());
    gauge.SetProgress(0);
}

}  // namespace

TEST(Gauge, StartsEmptyAtZeroToHundred) {
    TGauge gauge;
    EXPECT_EQ(gauge.MinValue(), 0);
    EXPECT_EQ(gauge.MaxValue(), 100);
    EXPECT_EQ(gauge.Progress(), 0);
    EXPECT_EQ(gauge.Percent(), 0);
}

TEST(Gauge, ThreeFilesRunThroughZeroThirtyThreeSixtySixHundred) {
    TGauge gauge;
    Prepare(gauge, 3);
    std::vector<int> seen{gauge.Percent()};
    for (int done = 1; done <= 3; ++done) {
        gauge.SetProgress(done);
        seen.push_back(gauge.Percent());
    }
    EXPECT_EQ(seen, (std::vector<int>{0, 33, 66, 100}));
}

TEST(Gauge, PercentIsTheWholePartOfTheFraction) {
    struct Case {
        const char* name;
        int min, max, progress, percent;
    };
    const Case cases[] = {
        {"empty directory, 0 of 0", 0, 0, 0, 0},
        {"half", 0, 2, 1, 50},
        {"just under one percent", 0, 1000, 9, 0},
        {"just under full", 0, 1000, 999, 99},
        {"offset range", 10, 20, 15, 50},
        {"negative range", -200, -100, -150, 50},
        {"full 32-bit range without overflow", INT_MIN, INT_MAX, INT_MAX - 1, 99},
        {"huge counts", 0, INT_MAX, INT_MAX / 2, 49},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TGauge gauge;
        // Open the range fully first so that neither bound is refused.
        ASSERT_TRUE(gauge.SetMinValue(INT_MIN).ok());
        ASSERT_TRUE(gauge.SetMaxValue(c.max).ok());
        ASSERT_TRUE(gauge.SetMinValue(c.min).ok());
        gauge.SetProgress(c.progress);
        EXPECT_EQ(gauge.Progress(), c.progress);
        EXPECT_EQ(gauge.Percent(), c.percent);
    }
}

TEST(Gauge, RefusesRangesThatWouldCross) {
    TGauge gauge;
    ASSERT_TRUE(gauge.SetMaxValue(50).ok());
    ASSERT_TRUE(gauge.SetMinValue(10).ok());
    gauge.SetProgress(30);

    auto max = gauge.SetMaxValue(9);
    ASSERT_FALSE(max.ok());
    EXPECT_EQ(max.error().message, "Value must be between 10 and 2147483647");

    auto min = gauge.SetMinValue(51);
    ASSERT_FALSE(min.ok());
    EXPECT_EQ(min.error().message, "Value must be between -2147483648 and 50");

    // A refusal changes nothing.
    EXPECT_EQ(gauge.MinValue(), 10);
    EXPECT_EQ(gauge.MaxValue(), 50);
    EXPECT_EQ(gauge.Progress(), 30);

    // The bounds themselves are allowed: an empty range.
    EXPECT_TRUE(gauge.SetMaxValue(10).ok());
    EXPECT_TRUE(gauge.SetMinValue(10).ok());
    EXPECT_EQ(gauge.Percent(), 0);
}

TEST(Gauge, ProgressStaysInsideTheRange) {
    TGauge gauge;
    Prepare(gauge, 10);
    gauge.SetProgress(11);
    EXPECT_EQ(gauge.Progress(), 10);
    gauge.SetProgress(-1);
    EXPECT_EQ(gauge.Progress(), 0);

    gauge.SetProgress(8);
    ASSERT_TRUE(gauge.SetMaxValue(5).ok());
    EXPECT_EQ(gauge.Progress(), 5) << "lowering the maximum lowers the progress";
    EXPECT_EQ(gauge.Percent(), 100);

    gauge.SetProgress(1);
    ASSERT_TRUE(gauge.SetMinValue(3).ok());
    EXPECT_EQ(gauge.Progress(), 3) << "raising the minimum raises the progress";
    EXPECT_EQ(gauge.Percent(), 0);
}

TEST(Gauge, NotifiesOnlyWhenThePercentageChanges) {
    TGauge gauge;
    Prepare(gauge, 1000);
    ChangeCounter changes(gauge);

    for (int done = 1; done <= 9; ++done) gauge.SetProgress(done);
    EXPECT_EQ(changes.count, 0) << "0.1% to 0.9% all show 0%";

    gauge.SetProgress(10);
    EXPECT_EQ(changes.count, 1);
    gauge.SetProgress(10);
    EXPECT_EQ(changes.count, 1) << "the same value again";

    for (int done = 11; done <= 1000; ++done) gauge.SetProgress(done);
    EXPECT_EQ(changes.count, 100) << "one notification per whole percent";
}

TEST(Gauge, RangeChangesNotifyWhenTheyMoveThePercentage) {
    TGauge gauge;
    Prepare(gauge, 3);
    gauge.SetProgress(3);
    ChangeCounter changes(gauge);

    // The next directory: 3 of 5 is 60%, then back to 0.
    ASSERT_TRUE(gauge.SetMaxValue(5).ok());
    EXPECT_EQ(changes.count, 1);
    ASSERT_TRUE(gauge.SetMinValue(0).ok());
    EXPECT_EQ(changes.count, 1);
    gauge.SetProgress(0);
    EXPECT_EQ(changes.count, 2);

    // Doubling an empty range leaves 0% and stays silent.
    ASSERT_TRUE(gauge.SetMaxValue(10).ok());
    EXPECT_EQ(changes.count, 2);
    // A refused value is silent too.
    EXPECT_FALSE(gauge.SetMaxValue(-1).ok());
    EXPECT_EQ(changes.count, 2);
}
