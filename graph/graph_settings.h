#pragma once
// How the graph looks. Changed only by the Graph Configuration dialog; starts
// with these defaults on every run.
#include "gdi/color.h"

#include <cstdint>

// The colour stored for a pick in the colour chooser: a pick of the reserved
// value would draw nothing, so it becomes the nearest red that draws.
constexpr uint32_t StoredPick(uint32_t picked) {
    return picked == NO_COLOR ? MakeColor(2, 0, 0) : picked;
}

struct GraphSettings {
    char graphType = 'L'; // 'L' line graph, 'B' bar graph
    int lineWidth = 1;    // pen width; 0 or negative fills below the line
    int lineSpacing = -1; // free pixel columns between points; negative: fit
    int barWidth = -1;    // 0 or negative: fit to the window
    int barSpacing = -1;  // negative: fit to the window (0 is a real zero gap)
    uint32_t graphColor = MakeColor(0, 255, 0);
    uint32_t gridColor = MakeColor(255, 255, 255);
    uint32_t backColor = MakeColor(0, 0, 0);

    // Horizontal room of one data point: lineSpacing + 1 for a line graph,
    // barWidth + barSpacing for a bar graph.
    int PixelsPerPoint() const;
};
extern GraphSettings graphSettings;
