#include "window/snap.h"

#include <gtest/gtest.h>

namespace {

// A work area that starts neither at the screen's left nor its top edge.
const SnapRect kArea = {100, 50, 1100, 850}; // 1000 x 800

struct SnapCase {
    const char* what;
    SnapRect window;
    SnapRect expected;
};

TEST(SnapRectToWorkArea, CrossingAnEdgeSnapsToHalvesAndQuarters) {
    const SnapCase cases[] = {
        {"across the left edge", {50, 200, 450, 500}, {100, 50, 600, 850}},
        {"across the left and top edges", {50, 20, 450, 500}, {100, 50, 600, 450}},
        {"across the left and bottom edges", {50, 600, 450, 900}, {100, 450, 600, 850}},
        {"across the right edge", {900, 200, 1200, 500}, {600, 50, 1100, 850}},
        {"across the right and top edges", {900, 0, 1200, 500}, {600, 50, 1100, 450}},
        {"across the right and bottom edges", {900, 700, 1200, 900}, {600, 450, 1100, 850}},
        {"across the top edge", {300, 10, 600, 300}, {100, 50, 1100, 450}},
        {"across the bottom edge", {300, 700, 600, 900}, {100, 450, 1100, 850}},
    };
    for (const auto& c : cases) {
        const int keep[2] = {0, 0};
        EXPECT_EQ(SnapRectToWorkArea(c.window, kArea, nullptr), c.expected) << c.what;
        EXPECT_EQ(SnapRectToWorkArea(c.window, kArea, keep), c.expected) << c.what;
    }
}

TEST(SnapRectToWorkArea, OddAreaSizesHalveTowardZero) {
    const SnapRect area = {0, 0, 1001, 801};
    EXPECT_EQ(SnapRectToWorkArea({-10, 100, 300, 400}, area, nullptr), (SnapRect{0, 0, 500, 801}));
    EXPECT_EQ(SnapRectToWorkArea({900, -5, 1100, 400}, area, nullptr),
              (SnapRect{501, 0, 1001, 400}));
}

TEST(SnapRectToWorkArea, InsideStaysOrIsCentred) {
    const SnapRect inside = {200, 100, 600, 300}; // 400 x 200
    EXPECT_EQ(SnapRectToWorkArea(inside, kArea, nullptr), inside);
    const int keepSize[2] = {0, 0};
    EXPECT_EQ(SnapRectToWorkArea(inside, kArea, keepSize), (SnapRect{400, 350, 800, 550}));
    const int half[2] = {50, 25};
    EXPECT_EQ(SnapRectToWorkArea(inside, kArea, half), (SnapRect{350, 350, 850, 550}));
    const int outOfRange[2] = {101, -1};
    EXPECT_EQ(SnapRectToWorkArea(inside, kArea, outOfRange), (SnapRect{400, 350, 800, 550}));
    const int full[2] = {100, 1};
    EXPECT_EQ(SnapRectToWorkArea(inside, kArea, full), (SnapRect{100, 446, 1100, 454}));
}

TEST(SnapRectToWorkArea, AWindowThatDoesNotTouchTheAreaIsLeftAlone) {
    const SnapRect away[] = {
        {-500, 100, 99, 300}, {1101, 100, 1500, 300}, {200, -300, 400, 49}, {200, 851, 400, 900}};
    const int keep[2] = {0, 0};
    for (const auto& r : away) EXPECT_EQ(SnapRectToWorkArea(r, kArea, keep), r);
    // Touching an edge exactly counts as touching it.
    EXPECT_EQ(SnapRectToWorkArea({-200, 100, 100, 300}, kArea, nullptr),
              (SnapRect{100, 50, 600, 850}));
}

TEST(MoveOntoWorkArea, APlaceOffTheAreaMovesToTheNearestPlaceOnIt) {
    const SnapCase cases[] = {
        {"inside", {200, 100, 600, 300}, {200, 100, 600, 300}},
        {"partly on the area", {-300, 100, 150, 300}, {-300, 100, 150, 300}},
        {"touching the left edge only", {-200, 100, 100, 300}, {100, 100, 400, 300}},
        {"far left", {-5000, 200, -4600, 300}, {100, 200, 500, 300}},
        {"right of and below", {3000, 2000, 3400, 2100}, {700, 750, 1100, 850}},
        {"above", {300, -900, 700, -800}, {300, 50, 700, 150}},
        {"where a minimised window goes", {-32000, -32000, -31840, -31972}, {100, 50, 260, 78}},
        {"wider than the area", {2000, 100, 3500, 300}, {100, 100, 1100, 300}},
        {"taller than the area, below it", {200, 900, 500, 1900}, {200, 50, 500, 850}},
    };
    for (const auto& c : cases) EXPECT_EQ(MoveOntoWorkArea(c.window, kArea), c.expected) << c.what;
}

TEST(FitIntoWorkArea, AWindowLargerThanTheAreaIsMadeToFit) {
    const SnapCase cases[] = {
        {"inside", {200, 100, 600, 300}, {200, 100, 600, 300}},
        {"the area's own size", {100, 50, 1100, 850}, {100, 50, 1100, 850}},
        {"sticking out but fitting", {-300, 100, 150, 300}, {-300, 100, 150, 300}},
        {"centred and one pixel too wide", {99, 400, 1100, 460}, {100, 400, 1100, 460}},
        {"wider, off to the right", {900, 100, 2100, 300}, {100, 100, 1100, 300}},
        {"taller, centred", {300, 0, 700, 900}, {300, 50, 700, 850}},
        {"wider and taller", {-100, -100, 1300, 1000}, {100, 50, 1100, 850}},
    };
    for (const auto& c : cases) EXPECT_EQ(FitIntoWorkArea(c.window, kArea), c.expected) << c.what;
}

} // namespace
