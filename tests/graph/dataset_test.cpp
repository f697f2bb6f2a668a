#include "graph/dataset.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "graph/graph_scale.h"
#include "graph/graph_settings.h"
#include "graph/graph_test_support.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

class DataSetTest : public testing::Test {
  protected:
    void SetUp() override { InstallDataSet(nullptr, 0); }
    void TearDown() override { InstallDataSet(nullptr, 0); }
};

} // namespace

TEST(AllocateDataValues, RefusesEmptyAndOversizedCounts) {
    const size_t refused[] = {0, kMaxDataValues + 1, size_t{INT32_MAX},
                              SIZE_MAX / sizeof(double) + 1, SIZE_MAX};
    for (size_t count : refused) EXPECT_EQ(AllocateDataValues(count), nullptr) << count;
}

TEST(AllocateDataValues, GivesWritableStorage) {
    double* values = AllocateDataValues(3);
    ASSERT_NE(values, nullptr);
    values[0] = 1;
    values[2] = 3;
    EXPECT_EQ(values[0] + values[2], 4);
    FreeDataValues(values);
    FreeDataValues(nullptr); // releasing nothing is harmless
}

TEST_F(DataSetTest, InstallReplacesAndEmpties) {
    InstallValues({1, 2});
    InstallValues({4, 5, 6});
    EXPECT_EQ(InstalledValues(), (std::vector<double>{4, 5, 6}));
    EXPECT_EQ(dataSet.count, 3);
    InstallDataSet(nullptr, 0);
    EXPECT_EQ(dataSet.values, nullptr);
    EXPECT_EQ(dataSet.count, 0);
    // Installing the array already held must not release it.
    InstallValues({7});
    InstallDataSet(dataSet.values, 1);
    EXPECT_EQ(InstalledValues(), (std::vector<double>{7}));
}

TEST(CompareValues, OrdersDoublesAndTreatsNaNAsEqual) {
    const double nan = std::nan("");
    const struct {
        double a, b;
        int expected;
    } cases[] = {
        {2, 1, 1},        {1, 2, -1},  {1, 1, 0},   {-0.0, 0.0, 0}, {-kInf, -1e308, -1},
        {kInf, 1e308, 1}, {nan, 1, 0}, {1, nan, 0}, {nan, nan, 0},  {1e-300, 0, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CompareValues(&c.a, &c.b), c.expected) << c.a << " " << c.b;
}

TEST_F(DataSetTest, SortOrdersAscending) {
    const struct {
        std::vector<double> before, after;
    } cases[] = {
        {{3, 1, 2}, {1, 2, 3}},
        {{5}, {5}},
        {{2, -1, kInf, -kInf, 0, 2}, {-kInf, -1, 0, 2, 2, kInf}},
        {{1e-300, -1e-300, 0}, {-1e-300, 0, 1e-300}},
    };
    for (const auto& c : cases) {
        InstallValues(c.before);
        SortData();
        EXPECT_EQ(InstalledValues(), c.after);
    }
}

TEST_F(DataSetTest, SortWithNaNKeepsEveryValue) {
    // NaN compares equal to everything, so the order is not a total one; the
    // sort must still stay inside the array and lose no value.
    const double nan = std::nan("");
    std::vector<double> values;
    for (int i = 0; i < 2000; ++i) values.push_back(i % 3 == 0 ? nan : (i * 7919) % 1009 - 500.0);
    InstallValues(values);
    SortData();
    const std::vector<double> sorted = InstalledValues();
    ASSERT_EQ(sorted.size(), values.size());
    const auto ordinary = [](std::vector<double> v) {
        std::vector<double> kept;
        for (double x : v)
            if (!std::isnan(x)) kept.push_back(x);
        std::sort(kept.begin(), kept.end());
        return kept;
    };
    EXPECT_EQ(ordinary(sorted), ordinary(values));
    EXPECT_EQ(std::count_if(sorted.begin(), sorted.end(), [](double x) { return std::isnan(x); }),
              667);
}

TEST_F(DataSetTest, ReverseSwapsEnds) {
    const struct {
        std::vector<double> before, after;
    } cases[] = {
        {{1, 2, 3, 4}, {4, 3, 2, 1}},
        {{1, 2, 3}, {3, 2, 1}},
        {{9}, {9}},
        {{1, 2}, {2, 1}},
    };
    for (const auto& c : cases) {
        InstallValues(c.before);
        ReverseData();
        EXPECT_EQ(InstalledValues(), c.after);
    }
}

TEST_F(DataSetTest, SortAndReverseOfNothingDoNothing) {
    SortData();
    ReverseData();
    EXPECT_EQ(dataSet.values, nullptr);
    EXPECT_EQ(dataSet.count, 0);
}

TEST_F(DataSetTest, SortAndReverseLeaveCountAndScaleAlone) {
    InstallValues({3, 1, 2});
    graphScale = GraphScale{};
    graphScale.SetData(dataSet.values, dataSet.count, 8);
    const GraphScale before = graphScale;
    SortData();
    ReverseData();
    EXPECT_EQ(InstalledValues(), (std::vector<double>{3, 2, 1}));
    EXPECT_EQ(graphScale.step, before.step);
    EXPECT_EQ(graphScale.axisMin, before.axisMin);
    EXPECT_EQ(graphScale.axisMax, before.axisMax);
    EXPECT_EQ(graphScale.mean, before.mean);
}

TEST(GraphSettings, PixelsPerPointFollowsTheGraphType) {
    const struct {
        char type;
        int lineSpacing, barWidth, barSpacing, expected;
    } cases[] = {
        {'L', -1, 7, 7, 0},
        {'L', 4, 7, 7, 5},
        {'B', 4, 6, 2, 8},
        {'B', 4, -1, -1, -2},
        {'B', 0, 5, 0, 5},
        {'L', INT32_MAX, 0, 0, INT32_MAX},
        {'B', 0, INT32_MAX, 1, INT32_MAX},
        {'B', 0, INT32_MIN, -1, INT32_MIN},
    };
    for (const auto& c : cases) {
        GraphSettings settings;
        settings.graphType = c.type;
        settings.lineSpacing = c.lineSpacing;
        settings.barWidth = c.barWidth;
        settings.barSpacing = c.barSpacing;
        EXPECT_EQ(settings.PixelsPerPoint(), c.expected) << c.type << " " << c.lineSpacing;
    }
}

TEST(GraphSettings, StartsAsAGreenLineOnBlackWithAWhiteGrid) {
    EXPECT_EQ(graphSettings.graphType, 'L');
    EXPECT_EQ(graphSettings.lineWidth, 1);
    EXPECT_EQ(graphSettings.lineSpacing, -1);
    EXPECT_EQ(graphSettings.barWidth, -1);
    EXPECT_EQ(graphSettings.barSpacing, -1);
    EXPECT_EQ(graphSettings.graphColor, 0x00FF00u);
    EXPECT_EQ(graphSettings.gridColor, 0xFFFFFFu);
    EXPECT_EQ(graphSettings.backColor, 0u);
    EXPECT_EQ(graphSettings.PixelsPerPoint(), 0);
}
