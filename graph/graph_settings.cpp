#include "graph/graph_settings.h"

#include <climits>

GraphSettings graphSettings;

namespace {

int SaturateToInt(long long value) {
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

} // namespace

int GraphSettings::PixelsPerPoint() const {
    // The dialog accepts any int, so the sum is formed without overflow.
    if (graphType == 'L') return SaturateToInt(static_cast<long long>(lineSpacing) + 1);
    return SaturateToInt(static_cast<long long>(barWidth) + barSpacing);
}
