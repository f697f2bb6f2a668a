#include "graph/dataset.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "expr/evaluate.h"
#include "expr/random.h"
#include "expr/tick_count.h"
#include "graph/graph_scale.h"
#include "graph/graph_test_support.h"
#include "numtext/display_state.h"

namespace {

const double kNaN = std::nan("");

class PlotEquationTest : public testing::Test {
  protected:
    void SetUp() override {
        InstallDataSet(nullptr, 0);
        graphScale = GraphScale{};
        numberBase = 10;
    }
    void TearDown() override {
        InstallDataSet(nullptr, 0);
        graphScale = GraphScale{};
        numberBase = 10;
    }
};

// Equal element by element, NaN matching NaN.
void ExpectValues(const std::vector<double>& actual, const std::vector<double>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) {
        if (std::isnan(expected[i]))
            EXPECT_TRUE(std::isnan(actual[i])) << "point " << i << ": " << actual[i];
        else
            EXPECT_EQ(actual[i], expected[i]) << "point " << i;
    }
}

} // namespace

TEST_F(PlotEquationTest, RangesGiveThePointsOfX) {
    const struct {
        const char* name;
        double start, end, step;
        int count;
        std::vector<double> expected;
    } cases[] = {
        {"{0,10,1}: end not included", 0, 10, 1, 0, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {"{0,10,0,5}: step from count", 0, 10, 0, 5, {0, 2, 4, 6, 8}},
        {"{10,0,0,5}: derived step is positive", 10, 0, 0, 5, {10, 12, 14, 16, 18}},
        {"negative step downward", 10, 0, -2, 0, {10, 8, 6, 4, 2}},
        {"given count and step", 1, 1000, 0.5, 3, {1, 1.5, 2}},
        {"start equals end with a count", 5, 5, 0, 3, {5, 5, 5}},
        {"quotient truncated", 0, 2.9, 1, 0, {0, 1}},
        {"x accumulated by addition",
         0,
         1,
         0.1,
         0,
         {0, 0.1, 0.2, 0.30000000000000004, 0.4, 0.5, 0.6, 0.7, 0.7999999999999999,
          0.8999999999999999}},
        {"NaN step with a count", 0, 10, kNaN, 3, {0, kNaN, kNaN}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PlotEquation("x", c.start, c.end, c.step, c.count), 1);
        ExpectValues(InstalledValues(), c.expected);
        EXPECT_EQ(dataSet.count, static_cast<int>(c.expected.size()));
        // The plot of x keeps each point's x, which is its value.
        EXPECT_TRUE(DataSetHasX());
        std::vector<double> xs;
        for (int i = 0; i < dataSet.count; ++i) xs.push_back(DataSetX(i));
        ExpectValues(xs, c.expected);
    }
}

TEST_F(PlotEquationTest, EveryPointKeepsItsAccumulatedXUntilTheValuesMove) {
    ASSERT_EQ(PlotEquation("x*x", 0, 100, 0.1, 0), 1);
    ASSERT_EQ(dataSet.count, 1000);
    double x = 0;
    int accumulatedDiffers = 0;
    for (int i = 0; i < dataSet.count; ++i) {
        EXPECT_EQ(DataSetX(i), x) << i;
        if (x != i * 0.1) ++accumulatedDiffers;
        x += 0.1;
    }
    EXPECT_GT(accumulatedDiffers, 0); // start plus i steps would not be the plot's x
    EXPECT_TRUE(std::isnan(DataSetX(-1)));
    EXPECT_TRUE(std::isnan(DataSetX(1000)));
    for (void (*reorder)() : {SortData, ReverseData}) {
        ASSERT_EQ(PlotEquation("x", 0, 10, 1, 0), 1);
        reorder();
        EXPECT_FALSE(DataSetHasX());
        EXPECT_TRUE(std::isnan(DataSetX(0)));
    }
    ASSERT_EQ(PlotEquation("x", 0, 10, 1, 0), 1);
    InstallValues({1, 2});
    EXPECT_FALSE(DataSetHasX());
}

TEST_F(PlotEquationTest, DefaultRangeGivesAboutOnePointPerPixelColumn) {
    for (int width : {1, 7, 100, 299, 300, 640, 1234, 1920}) {
        SCOPED_TRACE(width);
        ASSERT_EQ(PlotEquation("x^2", -10, 10, 20.0 / width, 0), 1);
        EXPECT_GE(dataSet.count, width - 1);
        EXPECT_LE(dataSet.count, width);
        EXPECT_EQ(dataSet.values[0], 100); // x starts at -10
        if (dataSet.count > 1) {
            EXPECT_LT(dataSet.values[1], 100);
        }
    }
}

TEST_F(PlotEquationTest, RangesWithoutPointsLeaveEverythingAsItWas) {
    const struct {
        const char* name;
        double start, end, step;
        int count;
    } cases[] = {
        {"{10,0,1}: positive step, end below start", 10, 0, 1, 0},
        {"{5,5}: no step and no count", 5, 5, 0, 0},
        {"count 0 with step 0", 0, 10, 0, 0},
        {"negative count", 0, 10, 0, -4},
        {"NaN step", 0, 10, kNaN, 0},
        {"NaN start", kNaN, 10, 1, 0},
        {"infinite quotient", 0, 1e300, 1e-300, 0},
        {"infinite end", 0, std::numeric_limits<double>::infinity(), 1, 0},
        {"quotient below one", 0, 0.5, 1, 0},
    };
    ASSERT_EQ(PlotEquation("x * 3", 1, 4, 1, 0), 1);
    const double* values = dataSet.values;
    const GraphScale scale = graphScale;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PlotEquation("x", c.start, c.end, c.step, c.count), 0);
        EXPECT_EQ(dataSet.values, values);
        ExpectValues(InstalledValues(), {3, 6, 9});
        EXPECT_EQ(graphScale.step, scale.step);
        EXPECT_EQ(graphScale.axisMin, scale.axisMin);
        EXPECT_EQ(graphScale.axisMax, scale.axisMax);
        EXPECT_EQ(graphScale.mean, scale.mean);
    }
}

TEST_F(PlotEquationTest, CountsTheMemoryCannotHoldLeaveEverythingAsItWas) {
    // 2147483647 points would need 16 GiB; the new array is asked for before
    // the old one is released, so a refusal leaves the previous graph intact.
    const struct {
        const char* name;
        double start, end, step;
        int count;
    } cases[] = {
        {"largest count", 0, 1, 0, INT32_MAX},
        {"count just above the limit", 0, 1, 0, static_cast<int>(kMaxDataValues) + 1},
        {"count derived from the range", 0, 2e9, 1, 0},
    };
    ASSERT_EQ(PlotEquation("x", -2, 2, 1, 0), 1);
    const double* values = dataSet.values;
    const GraphScale scale = graphScale;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PlotEquation("x", c.start, c.end, c.step, c.count), 0);
        EXPECT_EQ(dataSet.values, values);
        ExpectValues(InstalledValues(), {-2, -1, 0, 1});
        EXPECT_EQ(graphScale.step, scale.step);
        EXPECT_EQ(graphScale.axisMin, scale.axisMin);
        EXPECT_EQ(graphScale.axisMax, scale.axisMax);
        EXPECT_EQ(graphScale.dataMin, scale.dataMin);
        EXPECT_EQ(graphScale.dataMax, scale.dataMax);
        EXPECT_EQ(graphScale.mean, scale.mean);
        EXPECT_EQ(graphScale.labelChars, scale.labelChars);
    }
}

TEST_F(PlotEquationTest, YIsThePreviousPointAndStartsAtStart) {
    const struct {
        const char* text;
        double start, step;
        int count;
        std::vector<double> expected;
    } cases[] = {
        {"y", 100, -0.5, 3, {100, 100, 100}},
        {"y + 1", 5, 1, 4, {6, 7, 8, 9}},
        {"y * 2 + x", 1, 1, 4, {3, 8, 19, 42}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        ASSERT_EQ(PlotEquation(c.text, c.start, 0, c.step, c.count), 1);
        ExpectValues(InstalledValues(), c.expected);
    }
}

TEST_F(PlotEquationTest, OtherLettersReadZero) {
    ASSERT_EQ(PlotEquation("a + 10*b + 100*w + 1000*z + x", 1, 4, 1, 0), 1);
    ExpectValues(InstalledValues(), {1, 2, 3});
}

TEST_F(PlotEquationTest, NumbersAreReadInTheCurrentBase) {
    numberBase = 16;
    ASSERT_EQ(PlotEquation("x + 10", 0, 2, 1, 0), 1);
    ExpectValues(InstalledValues(), {16, 17});
}

TEST_F(PlotEquationTest, UnreadablePointsAreStoredAndLeftOutOfTheAxis) {
    ASSERT_EQ(PlotEquation("fact x", 0, 2, 0.5, 0), 1);
    ExpectValues(InstalledValues(), {1, kNaN, 1, kNaN});
    EXPECT_EQ(graphScale.dataMin, 1);
    EXPECT_EQ(graphScale.dataMax, 1);
    EXPECT_TRUE(std::isnan(graphScale.mean));
    EXPECT_EQ(graphScale.step, 0.25);
    EXPECT_EQ(graphScale.axisMin, 0);
    EXPECT_EQ(graphScale.axisMax, 2);
}

TEST_F(PlotEquationTest, NewDataGetsANewScale) {
    ASSERT_EQ(PlotEquation("x", 0, 10, 1, 0), 1);
    EXPECT_EQ(graphScale.dataMin, 0);
    EXPECT_EQ(graphScale.dataMax, 9);
    EXPECT_EQ(graphScale.mean, 4.5);
    EXPECT_EQ(graphScale.step, 2);
    EXPECT_EQ(graphScale.axisMin, 0);
    EXPECT_EQ(graphScale.axisMax, 10);
    EXPECT_EQ(graphScale.labelChars, 4);
}

TEST_F(PlotEquationTest, RandomWalkIsSeededFromTheTickCountOnEveryPlot) {
    // "y * rand(0.99,1.01,0.0001) {100}": x runs down from 100 and every point
    // is the previous one times a random factor. Replaying the evaluations with
    // the generator seeded from the same millisecond must give the same walk;
    // a plot that did not reseed would continue the generator's sequence.
    const char* text = "y * rand(0.99,1.01,0.0001)";
    const int width = 50;
    const double step = (10.0 - 100.0) / width;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const uint32_t before = TickCount();
        SeedRandom(before + 12345);
        DrawRandom();
        ASSERT_EQ(PlotEquation(text, 100, 10, step, 0), 1);
        if (TickCount() != before) continue; // the tick moved on during the plot
        ASSERT_EQ(dataSet.count, width);
        SeedRandom(before);
        double table[26] = {};
        table[23] = 100;
        table[24] = 100;
        std::vector<double> replay;
        for (int i = 0; i < width; ++i) {
            replay.push_back(EvaluateExpression(text, table, 26, 10));
            table[23] += step;
            table[24] = replay.back();
        }
        ExpectValues(InstalledValues(), replay);
        const double first = dataSet.values[0];
        EXPECT_GE(first, 99);
        EXPECT_LE(first, 101);
        for (int i = 1; i < width; ++i) {
            const double ratio = dataSet.values[i] / dataSet.values[i - 1];
            EXPECT_GE(ratio, 0.98);
            EXPECT_LE(ratio, 1.02);
        }
        // A plot at a later millisecond walks another way.
        SpinForMilliseconds(20);
        ASSERT_EQ(PlotEquation(text, 100, 10, step, 0), 1);
        EXPECT_NE(InstalledValues(), replay);
        return;
    }
    FAIL() << "the tick count never stayed put for the length of a 50-point plot";
}
