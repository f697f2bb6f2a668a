#include "graph/graph_scale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::nan("");

// Every field of a scale, compared as a whole so that a failure shows them all.
struct ScaleFields {
    double step, axisMin, axisMax, dataMin, dataMax, mean;
    int labelChars;
};

// Exact equality in which a NaN field matches an expected NaN.
bool Same(double a, double b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

void ExpectFields(const GraphScale& s, const ScaleFields& e) {
    EXPECT_TRUE(Same(s.step, e.step)) << s.step << " step " << e.step;
    EXPECT_TRUE(Same(s.axisMin, e.axisMin)) << s.axisMin << " axisMin " << e.axisMin;
    EXPECT_TRUE(Same(s.axisMax, e.axisMax)) << s.axisMax << " axisMax " << e.axisMax;
    EXPECT_TRUE(Same(s.dataMin, e.dataMin)) << s.dataMin << " dataMin " << e.dataMin;
    EXPECT_TRUE(Same(s.dataMax, e.dataMax)) << s.dataMax << " dataMax " << e.dataMax;
    EXPECT_TRUE(Same(s.mean, e.mean)) << s.mean << " mean " << e.mean;
    EXPECT_EQ(s.labelChars, e.labelChars);
}

std::vector<double> Range(int first, int last) {
    std::vector<double> v;
    for (int i = first; i <= last; ++i) v.push_back(i);
    return v;
}

} // namespace

TEST(NiceStep, SmallestOfTheSeriesNotBelowRaw) {
    const struct {
        double raw, expected;
    } cases[] = {
        {10, 10},      {0.07, 0.1}, {300, 500},     {700, 1000}, {12.5, 20},   {0.25, 0.25},
        {10.5 / 8, 2}, {1, 1},      {1.5, 2},       {2, 2},      {2.1, 2.5},   {2.5, 2.5},
        {2.6, 5},      {5, 5},      {5.1, 10},      {9.99, 10},  {10.01, 20},  {20, 20},
        {21, 25},      {25, 25},    {26, 50},       {50, 50},    {51, 100},    {100, 100},
        {0.1, 0.1},    {0.15, 0.2}, {0.001, 0.001}, {1e6, 1e6},  {1.1e6, 2e6},
    };
    for (const auto& c : cases) EXPECT_EQ(NiceStep(c.raw), c.expected) << "raw " << c.raw;
}

TEST(NiceStep, FactorsComeFromRepeatedDivisionAndMultiplication) {
    // Ten divided by ten seven times is a little above 1e-6, and 25 multiplied
    // by ten 23 times a little below 2.5e24; a power of ten would give the
    // literals.
    const struct {
        double raw, expected;
    } cases[] = {
        {1e-6, 1.0000000000000002e-06},
        {1.5e-7, 2.0000000000000004e-07},
        {2.4e24, 2.4999999999999997e+24},
    };
    for (const auto& c : cases) EXPECT_EQ(NiceStep(c.raw), c.expected) << "raw " << c.raw;
}

TEST(NiceStep, RawWithoutAUsableStepGivesZero) {
    const double cases[] = {0, -1, -1e-300, kNaN, kInf, -kInf};
    for (double raw : cases) EXPECT_EQ(NiceStep(raw), 0) << raw;
}

TEST(NiceStep, SubnormalRawStillEnds) {
    EXPECT_EQ(NiceStep(4e-320), 5e-320);
}

TEST(SetData, AxisStepAndLabelsFromTheData) {
    const struct {
        const char* name;
        std::vector<double> values;
        ScaleFields expected;
    } cases[] = {
        {"0..100", Range(0, 100), {20, 0, 100, 0, 100, 50, 5}},
        {"single 5", {5}, {0.25, 4, 6, 5, 5, 5, 6}},
        {"equal values", {5, 5, 5}, {0.25, 4, 6, 5, 5, 5, 6}},
        {"-3.3 and 7.2", {-3.3, 7.2}, {2, -4, 8, -3.3, 7.2, (-3.3 + 7.2) / 2, 4}},
        {"1 and +inf", {1, kInf}, {0.25, 0, 2, 1, kInf, kInf, 6}},
        {"-inf, 3, NaN, 5", {-kInf, 3, kNaN, 5}, {0.25, 3, 5, -kInf, 5, kNaN, 6}},
        {"negative range", {-7.5, -0.5}, {1, -8, 0, -7.5, -0.5, -4, 4}},
        {"1..9 snapped", {1.3, 8.6}, {1, 1, 9, 1.3, 8.6, (1.3 + 8.6) / 2, 3}},
        {"large labels", {0, 123456}, {20000, 0, 140000, 0, 123456, 61728, 9}},
        {"fraction labels", {0.5, 1.5}, {0.2, 0.4, 1.6, 0.5, 1.5, 1, 5}},
        {"snap rounding", {0, 0.7}, {0.1, 0, 0.7000000000000001, 0, 0.7, 0.35, 5}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GraphScale scale;
        scale.SetData(c.values.data(), static_cast<int>(c.values.size()), 8);
        ExpectFields(scale, c.expected);
    }
}

TEST(SetData, ResetsWhenThereIsNoUsableScale) {
    // Each case starts from the scale of {0, 100}; a reset keeps labelChars
    // unless the grid step was already being worked out.
    const struct {
        const char* name;
        std::vector<double> values;
        int count; // -1: the size of values
        bool nullValues;
        int divisions;
        ScaleFields expected;
    } cases[] = {
        {"all NaN", {kNaN, kNaN}, -1, false, 8, {0, kInf, -kInf, kInf, -kInf, kNaN, 5}},
        {"only infinities", {kInf, -kInf}, -1, false, 8, {0, -kInf, kInf, -kInf, kInf, kNaN, 5}},
        {"count 0, values given", {7, 8}, 0, false, 8, {0, 0, 100, 0, 100, 50, 5}},
        {"count 0, no values", {}, 0, true, 8, {0, 0, 100, 0, 100, 50, 5}},
        {"no divisions", {1, 2}, -1, false, 0, {0, 1, 2, 1, 2, 1.5, 5}},
        {"negative divisions", {1, 2}, -1, false, -8, {0, 1, 2, 1, 2, 1.5, 5}},
        {"step below the spacing of doubles",
         {1e16, 1e16 + 2},
         -1,
         false,
         8,
         {0, 1e16, 1e16 + 2, 1e16, 1e16 + 2, 1e16, 0}},
        {"single huge value", {1e300}, -1, false, 8, {0, 1e300, 1e300, 1e300, 1e300, 1e300, 0}},
    };
    const std::vector<double> before = Range(0, 100);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GraphScale scale;
        scale.SetData(before.data(), static_cast<int>(before.size()), 8);
        const int count = c.count < 0 ? static_cast<int>(c.values.size()) : c.count;
        scale.SetData(c.nullValues ? nullptr : c.values.data(), count, c.divisions);
        ExpectFields(scale, c.expected);
    }
}

TEST(SetData, WithoutValuesRebuildsTheGridFromTheCurrentAxis) {
    const std::vector<double> values = {0, 100};
    GraphScale scale;
    scale.SetData(values.data(), 2, 0); // statistics only: axis 0..100, no step
    ASSERT_EQ(scale.step, 0);
    scale.SetData(nullptr, 2, 8);
    ExpectFields(scale, {20, 0, 100, 0, 100, 50, 5});
}

TEST(SetData, AxisHoldsEveryFiniteValueOnANiceGrid) {
    // Pseudo-random data sets over many magnitudes and signs.
    uint64_t state = 12345;
    const auto next = [&state] {
        state = state * 6364136223846793005u + 1442695040888963407u;
        return static_cast<double>(state >> 11) / 9007199254740992.0; // [0, 1)
    };
    const double magnitudes[] = {1e-9, 1e-3, 0.1, 1, 7, 100, 12345, 1e9, 1e15};
    for (double magnitude : magnitudes) {
        for (int trial = 0; trial < 50; ++trial) {
            std::vector<double> values(1 + trial % 7);
            const double offset = (next() - 0.5) * 4 * magnitude;
            for (double& v : values) v = offset + (next() - 0.5) * magnitude;
            GraphScale scale;
            scale.SetData(values.data(), static_cast<int>(values.size()), 8);
            SCOPED_TRACE(testing::Message() << "magnitude " << magnitude << " trial " << trial);
            ASSERT_GT(scale.step, 0);
            ASSERT_LT(scale.axisMin, scale.axisMax);
            for (double v : values) {
                EXPECT_LE(scale.axisMin, v);
                EXPECT_GE(scale.axisMax, v);
            }
            const double intervals = (scale.axisMax - scale.axisMin) / scale.step;
            EXPECT_GE(intervals, 0.999);
            EXPECT_LE(intervals, 10.001);
            EXPECT_GE(scale.labelChars, 3);
            EXPECT_LE(scale.labelChars, 12);
        }
    }
}

TEST(SetData, RangesNearTheEndsOfTheDoublesStillGetAnAxis) {
    constexpr double kMax = std::numeric_limits<double>::max();
    const struct {
        const char* name;
        std::vector<double> values;
    } cases[] = {
        {"range overflows", {-1e308, 1e308}},
        {"the whole range of doubles", {-kMax, kMax}},
        {"-1.79e308 to 1.79e308", {-1.79e308, 0, 1.79e308}},
        {"the lowest double to 0", {-kMax, 0}},
        {"next to the largest double", {1.797e308, kMax}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GraphScale scale;
        scale.SetData(c.values.data(), static_cast<int>(c.values.size()), 8);
        ASSERT_GT(scale.step, 0);
        EXPECT_EQ(NiceStep(scale.step), scale.step); // a step of the series
        ASSERT_TRUE(std::isfinite(scale.axisMin) && std::isfinite(scale.axisMax));
        for (double v : c.values) {
            EXPECT_LE(scale.axisMin, v);
            EXPECT_GE(scale.axisMax, v);
        }
        const double intervals = (scale.axisMax / 2 - scale.axisMin / 2) / scale.step * 2;
        EXPECT_GE(intervals, 4);
        EXPECT_LE(intervals, 10.001);
        EXPECT_GE(scale.labelChars, 8); // " -1e+308 "
        EXPECT_LE(scale.labelChars, 13);
    }
}

TEST(SetData, HugeDivisionCountsStillEndQuickly) {
    const std::vector<double> values = {0, 1};
    GraphScale scale;
    scale.SetData(values.data(), 2, INT32_MAX);
    EXPECT_EQ(scale.step, NiceStep(1.0 / INT32_MAX));
    EXPECT_EQ(scale.axisMin, 0);
    EXPECT_GE(scale.axisMax, 1);
    EXPECT_GT(scale.labelChars, 0);
}
