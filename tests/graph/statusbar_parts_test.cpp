#include "graph/statusbar_parts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

std::vector<int> Edges(int width, int charWidth, std::vector<int> widths,
                       std::vector<int> textWidths = {}) {
    int edges[kMaxStatusParts + 1] = {};
    const int n =
        ComputeStatusPartEdges(width, charWidth, static_cast<int>(widths.size()), widths.data(),
                               textWidths.empty() ? nullptr : textWidths.data(), edges);
    return std::vector<int>(edges, edges + n);
}

TEST(ComputeStatusPartEdges, StatisticsBarParts) {
    EXPECT_EQ(Edges(615, 7, {15, -1, -1, -1}), (std::vector<int>{105, 275, 445, -1}));
    // The shared width is divided toward zero; the first part keeps 15 characters.
    EXPECT_EQ(Edges(616, 7, {15, -1, -1, -1}), (std::vector<int>{105, 275, 445, -1}));
    EXPECT_EQ(Edges(400, 6, {15, -1, -1, -1}), (std::vector<int>{90, 193, 296, -1}));
    // A parent narrower than the fixed part leaves negative shares.
    EXPECT_EQ(Edges(60, 7, {15, -1, -1, -1}), (std::vector<int>{105, 90, 75, -1}));
}

TEST(ComputeStatusPartEdges, EachPartIsAtLeastAsWideAsItsText) {
    const struct {
        const char* what;
        int width;
        std::vector<int> textWidths;
        std::vector<int> expected;
    } cases[] = {
        {"texts that fit", 615, {100, 150, 150, 150}, {105, 275, 445, -1}},
        {"a text exactly as wide", 615, {105, 170, 170, 170}, {105, 275, 445, -1}},
        {"a long count widens the first part", 615, {130, 60, 60, 60}, {130, 291, 452, -1}},
        {"a long minimum takes its width", 615, {100, 300, 60, 60}, {105, 405, 510, -1}},
        {"two long texts", 615, {100, 250, 250, 60}, {105, 355, 605, -1}},
        {"the widened shares leave the last part less",
         615,
         {100, 200, 180, 80},
         {105, 305, 485, -1}},
        {"a parent too narrow for every text", 200, {120, 90, 90, 90}, {120, 210, 300, -1}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Edges(c.width, 7, {15, -1, -1, -1}, c.textWidths), c.expected) << c.what;
}

TEST(ComputeStatusPartEdges, FixedAndSharedWidthsInAnyOrder) {
    EXPECT_EQ(Edges(300, 10, {-1, 5, -1}), (std::vector<int>{125, 175, -1}));
    EXPECT_EQ(Edges(300, 10, {-1, 5}), (std::vector<int>{250, 300}));
    EXPECT_EQ(Edges(300, 10, {4, 6}), (std::vector<int>{40, 100})); // a fixed last part ends there
    EXPECT_EQ(Edges(300, 10, {}), (std::vector<int>{}));
}

TEST(ComputeStatusPartEdges, NullWidthsGiveEqualParts) {
    int edges[4] = {};
    ASSERT_EQ(ComputeStatusPartEdges(615, 7, 4, nullptr, nullptr, edges), 4);
    EXPECT_EQ(std::vector<int>(edges, edges + 4), (std::vector<int>{153, 306, 459, 612}));
    const int textWidths[4] = {10, 200, 10, 10};
    ASSERT_EQ(ComputeStatusPartEdges(615, 7, 4, nullptr, textWidths, edges), 4);
    EXPECT_EQ(std::vector<int>(edges, edges + 4), (std::vector<int>{138, 338, 476, 614}));
}

TEST(ComputeStatusPartEdges, AtMost64Parts) {
    std::vector<int> widths(70, 1);
    EXPECT_EQ(Edges(1000, 2, widths).size(), 64u);
    EXPECT_EQ(Edges(1000, 2, widths).back(), 128);
}

} // namespace

TEST(ComposePointText, IndexXAndValueAsTheStatisticsBarShowsThem) {
    const struct {
        int index;
        bool hasX;
        double x, value;
        const char* expected;
    } cases[] = {
        {12, true, 1.2, 1.44, "Point:12  x:1.2  Value:1.44"},
        {0, true, -10, 100, "Point:0  x:-10  Value:100"},
        {7, false, 0, 12345.5, "Point:7  Value:12,345.5"},
        {8, false, 0, 1234567.5, "Point:8  Value:1.2346e+6"},
        {3, true, 0.30000000000000004, 2e-7, "Point:3  x:0.3  Value:2e-7"},
        {999999, false, 0, std::nan(""), "Point:999999  Value:INVALID"},
    };
    for (const auto& c : cases) {
        char text[160];
        ComposePointText(text, sizeof text, c.index, c.hasX, c.x, c.value);
        EXPECT_STREQ(text, c.expected);
    }
}
