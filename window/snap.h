#pragma once
// Where a window goes when it is snapped to the desktop's work area: halves and
// quarters when it sticks out over an edge, centred when it lies inside.

struct SnapRect {
    int left;
    int top;
    int right;
    int bottom;
};

inline bool operator==(const SnapRect& a, const SnapRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The rectangle that window rectangle r takes in work area area. sizePercent is
// null or {width percent, height percent}: a window inside the area is then
// centred, sized by each percent from 1 to 100 or kept at its own size
// otherwise; with null it stays where it is. A window that does not touch the
// area is left alone.
SnapRect SnapRectToWorkArea(const SnapRect& r, const SnapRect& area, const int* sizePercent);

// Where a saved window rectangle r goes at start: it stays while any of it lies
// on the work area; otherwise it is moved to the nearest place inside the area,
// keeping its size where that fits and taking the area's width or height where
// it does not.
SnapRect MoveOntoWorkArea(const SnapRect& r, const SnapRect& area);

// Where a window rectangle r goes at start when it may be larger than the work
// area (as on a dense display): a width or height beyond the area's becomes
// the area's, and the window then spans the area in that direction; a window
// that fits stays where it is.
SnapRect FitIntoWorkArea(const SnapRect& r, const SnapRect& area);
