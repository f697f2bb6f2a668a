#include "graph/statusbar_parts.h"

int ComputeStatusPartEdges(int parentWidth, int averageCharWidth, int n, const int* widths,
                           int* edges) {
    if (n <= 0) return 0;
    if (n > kMaxStatusParts) n = kMaxStatusParts;
    if (!widths) {
        for (int i = 0; i < n; ++i) edges[i] = (i + 1) * (parentWidth / n);
        return n;
    }
    long long fixedChars = 0;
    int shared = 0;
    for (int i = 0; i < n; ++i) {
        if (widths[i] >= 0)
            fixedChars += widths[i];
        else
            ++shared;
    }
    const long long sharedWidth =
        shared > 0 ? (parentWidth - averageCharWidth * fixedChars) / shared : 0;
    long long edge = 0;
    for (int i = 0; i < n; ++i) {
        edge += widths[i] >= 0 ? static_cast<long long>(widths[i]) * averageCharWidth : sharedWidth;
        edges[i] = static_cast<int>(edge);
    }
    if (widths[n - 1] < 0) edges[n - 1] = -1;
    return n;
}
