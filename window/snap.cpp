#include "window/snap.h"

namespace {

// The vertical extent of a window snapped to the left or right half: the upper
// or lower quarter when it also sticks out over the top or bottom edge.
void SnapHeight(const SnapRect& r, const SnapRect& area, SnapRect& result) {
    const int halfHeight = (area.bottom - area.top) / 2;
    if (r.top < area.top) {
        result.top = area.top;
        result.bottom = area.top + halfHeight;
    } else if (r.bottom > area.bottom) {
        result.bottom = area.bottom;
        result.top = area.bottom - halfHeight;
    } else {
        result.top = area.top;
        result.bottom = area.bottom;
    }
}

int PercentOf(int whole, int percent, int own) {
    if (percent < 1 || percent > 100) return own;
    return static_cast<int>(static_cast<long long>(whole) * percent / 100);
}

} // namespace

SnapRect SnapRectToWorkArea(const SnapRect& r, const SnapRect& area, const int* sizePercent) {
    if (r.right < area.left || r.left > area.right || r.bottom < area.top || r.top > area.bottom)
        return r;
    const int areaWidth = area.right - area.left;
    const int areaHeight = area.bottom - area.top;
    SnapRect result = r;
    if (r.left < area.left) {
        result.left = area.left;
        result.right = area.left + areaWidth / 2;
        SnapHeight(r, area, result);
    } else if (r.right > area.right) {
        result.right = area.right;
        result.left = area.right - areaWidth / 2;
        SnapHeight(r, area, result);
    } else if (r.top < area.top) {
        result = {area.left, area.top, area.right, area.top + areaHeight / 2};
    } else if (r.bottom > area.bottom) {
        result = {area.left, area.bottom - areaHeight / 2, area.right, area.bottom};
    } else if (sizePercent) {
        const int width = PercentOf(areaWidth, sizePercent[0], r.right - r.left);
        const int height = PercentOf(areaHeight, sizePercent[1], r.bottom - r.top);
        result.left = area.left + (areaWidth - width) / 2;
        result.top = area.top + (areaHeight - height) / 2;
        result.right = result.left + width;
        result.bottom = result.top + height;
    }
    return result;
}

namespace {

// The start of a length that is moved as little as possible to lie within the
// span from low to high, which it fits.
int ClampStart(int start, int length, int low, int high) {
    if (start > high - length) start = high - length;
    return start < low ? low : start;
}

} // namespace

SnapRect MoveOntoWorkArea(const SnapRect& r, const SnapRect& area) {
    if (r.left < area.right && r.right > area.left && r.top < area.bottom && r.bottom > area.top)
        return r;
    const int areaWidth = area.right - area.left;
    const int areaHeight = area.bottom - area.top;
    const int width = r.right - r.left < areaWidth ? r.right - r.left : areaWidth;
    const int height = r.bottom - r.top < areaHeight ? r.bottom - r.top : areaHeight;
    const int left = ClampStart(r.left, width, area.left, area.right);
    const int top = ClampStart(r.top, height, area.top, area.bottom);
    return {left, top, left + width, top + height};
}

SnapRect FitIntoWorkArea(const SnapRect& r, const SnapRect& area) {
    SnapRect result = r;
    if (r.right - r.left > area.right - area.left) {
        result.left = area.left;
        result.right = area.right;
    }
    if (r.bottom - r.top > area.bottom - area.top) {
        result.top = area.top;
        result.bottom = area.bottom;
    }
    return result;
}
