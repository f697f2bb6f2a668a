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
