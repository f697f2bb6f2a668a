#pragma once
// The turning solid of the About box's logo: a small 3D pipeline (build,
// rotate, sort by depth, project) and the arithmetic of the glow and the
// tiled faces, all without drawing, so that each step can be checked alone.
#include <cstdint>
#include <vector>

struct Point3D {
    double x = 0, y = 0, z = 0;
};

struct Face3D {
    std::vector<Point3D> points;
    double depth = 0; // (smallest z + largest z) / 2, kept current by RotateFace

    void UpdateDepth();
};

using LogoSolid = std::vector<Face3D>;

struct Polar {
    double angle = 0; // degrees
    double radius = 0;
};
// (a, b) as radius and angle, the angle measured so that FromPolar undoes it.
Polar ToPolar(double a, double b);
// a = -sin(angle) * radius, b = cos(angle) * radius (angle in degrees).
void FromPolar(double angle, double radius, double& a, double& b);

// Turns every point by ax about the x axis, then ay about y, then az about z
// (degrees; zero angles are skipped), then recomputes depth.
void RotateFace(Face3D& face, double ax, double ay, double az);

// A pyramid of sides triangles on a band of sides quadrilaterals closed by a
// flat polygon: 2 * sides + 1 faces. 0 sides gives an empty solid.
LogoSolid BuildSolid(int sides, double radiusFactor, double bandFraction, double scale);

// Deepest face first; among equal depths the earlier face stays first.
void SortFacesByDepth(LogoSolid& solid);

struct LogoPoint {
    int32_t x = 0, y = 0;
};
// Perspective projection with the eye at z = -2000 and the picture plane at
// z = 5000; appends the face's points to out and returns their count.
int ProjectFace(const Face3D& face, double scale, int offsetX, int offsetY,
                std::vector<LogoPoint>& out);

// The shade parameter as the glow uses it: less 1 when it is not a multiple
// of 3, and 255 when that is below 4 or above 255.
int GlowShade(int shade);
// Number of glow layers for a logo height and a GlowShade value.
int GlowLayerCount(int height, int shade);
struct GlowLayer {
    int penWidth; // always odd
    uint8_t red, green, blue;
};
// Layer i of count (1-based): from the background colour toward white, wide
// to narrow; widest is (height / 2) | 1.
GlowLayer GlowLayerAt(int i, int count, int height);
// Points that differ from every earlier one, in order.
std::vector<LogoPoint> DistinctPoints(const std::vector<LogoPoint>& points);

// The colour of one tile for a draw of the random generator (0..32767) and n
// shades, as red, green, blue.
struct TileShade {
    uint8_t red, green, blue;
};
TileShade TileShadeFor(int draw, int shades);

// One run of a tile's diamond: row dy below the tile's top, from dx (relative
// to the tile's left x) for width pixels.
struct TileSpan {
    int dy, dx, width;
};
std::vector<TileSpan> DiamondSpans(int tileSize);
// The top-left corners of the tiles covering a box, row by row.
std::vector<LogoPoint> TileOrigins(int left, int top, int right, int bottom, int tileSize);
