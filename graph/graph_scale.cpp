#include "graph/graph_scale.h"

#include <cfloat>
#include <cmath>
#include <cstdio>

GraphScale graphScale;

namespace {

// " %.4g " of any double fits easily ("-1.234e+308" is 11 characters).
constexpr int kLabelBufferSize = 32;
// More labels than any axis can show; bounds the measuring loop.
constexpr int kMaxLabels = 4096;

// Length of the label of one tick value.
int LabelLength(double value) {
    char buffer[kLabelBufferSize];
    const int length = std::snprintf(buffer, sizeof buffer, " %.4g ", value);
    if (length < 0) return 0;
    return length < kLabelBufferSize ? length : kLabelBufferSize - 1;
}

// The data range per division. A range wider than the largest double is
// worked out on the halved ends, which cannot overflow.
double RawStep(double lo, double hi, int divisions) {
    const double range = hi - lo;
    if (std::isfinite(range)) return range / divisions;
    return (hi / 2 - lo / 2) / divisions * 2;
}

// An axis end snapped past the largest double ends at the largest double: no
// multiple of a step beyond it can be represented.
double HoldWithinDoubles(double v) {
    return std::isinf(v) ? std::copysign(DBL_MAX, v) : v;
}

} // namespace

double NiceStep(double raw) {
    // A zero, negative or NaN raw step has no candidate above it that the
    // scaling loops below could reach; an infinite one would only overflow.
    if (!(raw > 0) || !std::isfinite(raw)) return 0;
    double a = 10, b = 20, c = 25, d = 50;
    if (10 > raw) {
        do {
            a /= 10;
            b /= 10;
            c /= 10;
            d /= 10;
        } while (a > raw);
    }
    while (raw > d) {
        a *= 10;
        b *= 10;
        c *= 10;
        d *= 10;
    }
    if (a >= raw) return a;
    if (b >= raw) return b;
    if (c >= raw) return c;
    return d;
}

void GraphScale::SetData(const double* values, int count, int divisions) {
    // The finite range is gathered straight into the axis fields.
    double& lo = axisMin;
    double& hi = axisMax;
    const auto reset = [this] {
        step = 0;
        axisMin = dataMin;
        axisMax = dataMax;
    };

    if (values) {
        if (count == 0) return reset();
        dataMin = INFINITY;
        dataMax = -INFINITY;
        double sum = 0;
        lo = INFINITY;
        hi = -INFINITY;
        for (int i = 0; i < count; ++i) {
            const double v = values[i];
            sum += v;
            if (dataMin > v) dataMin = v;
            if (v > dataMax) dataMax = v;
            if (std::isfinite(v)) {
                if (lo > v) lo = v;
                if (v > hi) hi = v;
            }
        }
        mean = sum / count;
        if (lo == hi) {
            lo = lo - 1.0;
            hi = hi + 1.0;
        }
    }
    // A negative number of divisions would give a negative raw step.
    if (count == 0 || divisions <= 0) return reset();
    if (!std::isfinite(lo) || !std::isfinite(hi)) return reset();

    labelChars = 0;
    step = NiceStep(RawStep(lo, hi, divisions));
    if (!(step > 0)) return reset();

    const double bottom = std::fmod(lo, step);
    if (bottom != 0) lo = lo > 0 ? lo - bottom : lo - (step - std::fmod(-lo, step));
    const double top = std::fmod(hi, step);
    if (top != 0) hi = hi > 0 ? hi + (step - top) : hi + std::fmod(-hi, step);
    lo = HoldWithinDoubles(lo);
    hi = HoldWithinDoubles(hi);

    // Far from zero a step can be smaller than the spacing of doubles (values
    // such as 1e16 and 1e16 + 2): no grid line could then be told from the next.
    if (!(lo < hi) || !(lo + step > lo) || !(hi - step < hi)) return reset();

    // With the step resolvable at both ends every addition moves on by at least
    // two thirds of a step, so the loop ends after about divisions + 3 labels;
    // the cap only matters for divisions far beyond the 8 that callers pass.
    int labels = 0;
    for (double v = lo; v <= hi && labels < kMaxLabels; ++labels) {
        const int length = LabelLength(v);
        if (length > labelChars) labelChars = length;
        const double next = v + step;
        if (!(next > v)) break;
        v = next;
    }
}
