#pragma once
// The right edges of a status bar's parts, computed from the parent's width.

constexpr int kMaxStatusParts = 64;

// Writes the right edge of each of n parts (at most kMaxStatusParts) into edges
// and returns how many were written. widths null: n equal parts. Otherwise a
// non-negative entry is that many average character widths, and the negative
// entries share what is left equally; a negative last entry reaches the right
// border (edge -1).
int ComputeStatusPartEdges(int parentWidth, int averageCharWidth, int n, const int* widths,
                           int* edges);
