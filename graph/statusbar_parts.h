#pragma once
// The right edges of a status bar's parts, computed from the parent's width.

constexpr int kMaxStatusParts = 64;

// Writes the right edge of each of n parts (at most kMaxStatusParts) into edges
// and returns how many were written. widths null: n equal parts. Otherwise a
// non-negative entry is that many average character widths, and the negative
// entries share what is left equally; a negative last entry reaches the right
// border (edge -1). textWidths is null or the pixels each part's text needs:
// a part is never narrower than that, and a shared part that needs more than
// its share takes what it needs while the others divide what is left.
int ComputeStatusPartEdges(int parentWidth, int averageCharWidth, int n, const int* widths,
                           const int* textWidths, int* edges);

// A value as the statistics bar shows it: base 10, four fraction digits, digit
// grouping, exponent notation past the formatter's thresholds. The text is the
// formatter's shared buffer, which the next value overwrites.
const char* FormatStatisticValue(double value);

// The readout of one point: its index, its x when it has one, and its value,
// each number as the statistics bar shows it ("Point:12  x:1.2  Value:1.44").
void ComposePointText(char* text, int size, int index, bool hasX, double x, double value);
