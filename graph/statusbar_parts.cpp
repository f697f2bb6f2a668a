#include "graph/statusbar_parts.h"

#include "numtext/format_number.h"

#include <cstdio>
#include <string>

int ComputeStatusPartEdges(int parentWidth, int averageCharWidth, int n, const int* widths,
                           const int* textWidths, int* edges) {
    if (n <= 0) return 0;
    if (n > kMaxStatusParts) n = kMaxStatusParts;
    const auto need = [textWidths](int i) -> long long { return textWidths ? textWidths[i] : 0; };
    long long width[kMaxStatusParts];
    bool decided[kMaxStatusParts];
    long long rest = parentWidth;
    int open = 0;
    for (int i = 0; i < n; ++i) {
        decided[i] = widths && widths[i] >= 0;
        if (!decided[i]) {
            ++open;
            continue;
        }
        const long long fixed = static_cast<long long>(widths[i]) * averageCharWidth;
        width[i] = fixed < need(i) ? need(i) : fixed;
        rest -= width[i];
    }
    // Each part whose text a share cannot hold takes the text's width out of the
    // rest, which makes the share of the others smaller: repeat until every
    // remaining part fits its share.
    for (bool widened = true; widened && open > 0;) {
        widened = false;
        const long long share = rest / open;
        for (int i = 0; i < n; ++i) {
            if (decided[i] || need(i) <= 0 || need(i) <= share) continue;
            width[i] = need(i);
            decided[i] = true;
            rest -= width[i];
            --open;
            widened = true;
        }
    }
    const long long share = open > 0 ? rest / open : 0;
    long long edge = 0;
    for (int i = 0; i < n; ++i) {
        edge += decided[i] ? width[i] : share;
        edges[i] = static_cast<int>(edge);
    }
    if (widths && widths[n - 1] < 0) edges[n - 1] = -1;
    return n;
}

const char* FormatStatisticValue(double value) {
    const char* number = FormatNumber(value, nullptr, 4, 10, ",E=6 e=6");
    return number ? number : "";
}

void ComposePointText(char* text, int size, int index, bool hasX, double x, double value) {
    if (!text || size <= 0) return;
    // Each number is copied before the next one reuses the formatter's buffer.
    const std::string shownX = hasX ? FormatStatisticValue(x) : "";
    const char* shownValue = FormatStatisticValue(value);
    if (hasX)
        std::snprintf(text, static_cast<size_t>(size), "Point:%d  x:%s  Value:%s", index,
                      shownX.c_str(), shownValue);
    else
        std::snprintf(text, static_cast<size_t>(size), "Point:%d  Value:%s", index, shownValue);
}
