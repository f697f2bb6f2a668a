#include "about/logo_solid.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "text/convert.h"

namespace {

const double kQuarterTurn = std::acos(0.0);
const double kDegreesPerRadian = 90.0 / kQuarterTurn;
constexpr double kEyeZ = -2000.0;
constexpr double kPlaneZ = 5000.0;

void TurnPair(double& a, double& b, double angle) {
    Polar polar = ToPolar(a, b);
    FromPolar(polar.angle + angle, polar.radius, a, b);
}

int RoundHalfUp(double value) {
    return TruncateToInt32(value + 0.5);
}

} // namespace

void Face3D::UpdateDepth() {
    if (points.empty()) {
        depth = 0;
        return;
    }
    double lowest = points[0].z, highest = points[0].z;
    for (const Point3D& p : points) {
        lowest = std::min(lowest, p.z);
        highest = std::max(highest, p.z);
    }
    depth = (lowest + highest) / 2;
}

Polar ToPolar(double a, double b) {
    return {-std::atan2(a, b) * kDegreesPerRadian, std::sqrt(a * a + b * b)};
}

void FromPolar(double angle, double radius, double& a, double& b) {
    a = -std::sin(angle / kDegreesPerRadian) * radius;
    b = std::cos(angle / kDegreesPerRadian) * radius;
}

void RotateFace(Face3D& face, double ax, double ay, double az) {
    for (Point3D& p : face.points) {
        if (ax != 0) TurnPair(p.y, p.z, ax);
        if (ay != 0) TurnPair(p.x, p.z, ay);
        if (az != 0) TurnPair(p.x, p.y, az);
    }
    face.UpdateDepth();
}

LogoSolid BuildSolid(int sides, double radiusFactor, double bandFraction, double scale) {
    LogoSolid solid;
    if (sides <= 0) return solid;
    const double radius = radiusFactor * scale / 10;
    const double height = scale / 10;
    const double inner = 1 - bandFraction;
    const auto rimPoint = [radius](int i, int sides) {
        Point3D p;
        FromPolar((i * 360) / sides, radius, p.x, p.z);
        return p;
    };
    const auto bandPoint = [height, inner, bandFraction](const Point3D& p) {
        return Point3D{inner * p.x, -height * bandFraction, inner * p.z};
    };
    Face3D bottom;
    for (int i = 0; i < sides; ++i) {
        const Point3D p0 = rimPoint(i, sides), p1 = rimPoint(i + 1, sides);
        const Point3D apex{0, height, 0};
        solid.push_back(Face3D{{p0, p1, apex}});
        solid.push_back(Face3D{{p0, p1, bandPoint(p1), bandPoint(p0)}});
        bottom.points.push_back(bandPoint(p0));
    }
    solid.push_back(std::move(bottom));
    for (Face3D& face : solid) face.UpdateDepth();
    return solid;
}

void SortFacesByDepth(LogoSolid& solid) {
    for (size_t i = 0; i < solid.size(); ++i) {
        size_t deepest = i;
        for (size_t j = i + 1; j < solid.size(); ++j)
            if (solid[j].depth > solid[deepest].depth) deepest = j;
        if (deepest != i) std::swap(solid[i], solid[deepest]);
    }
}

int ProjectFace(const Face3D& face, double scale, int offsetX, int offsetY,
                std::vector<LogoPoint>& out) {
    for (const Point3D& p : face.points) {
        const double s = (kPlaneZ - kEyeZ) / (p.z - kEyeZ);
        out.push_back({TruncateToInt32(p.x * s * scale + 0.5) + offsetX,
                       TruncateToInt32(p.y * s * scale + 0.5) + offsetY});
    }
    return static_cast<int>(face.points.size());
}

int GlowShade(int shade) {
    if (shade % 3 != 0) --shade;
    return shade < 4 || shade > 255 ? 255 : shade;
}

int GlowLayerCount(int height, int shade) {
    return std::min((((height / 2) | 1) + 1) / 2, 2 * shade / 3 - 1);
}

GlowLayer GlowLayerAt(int i, int count, int height) {
    const int widest = (height / 2) | 1;
    const double share = static_cast<double>(i) / count;
    const auto channel = [share](int from, int span) {
        return static_cast<uint8_t>(std::min(255, RoundHalfUp(from + span * share)));
    };
    return {RoundHalfUp(widest - widest * share) | 1, channel(180, 75), channel(150, 105),
            channel(240, 15)};
}

std::vector<LogoPoint> DistinctPoints(const std::vector<LogoPoint>& points) {
    std::vector<LogoPoint> distinct;
    for (const LogoPoint& p : points) {
        const bool seen = std::any_of(distinct.begin(), distinct.end(), [&p](const LogoPoint& q) {
            return q.x == p.x && q.y == p.y;
        });
        if (!seen) distinct.push_back(p);
    }
    return distinct;
}

TileShade TileShadeFor(int draw, int shades) {
    shades = std::max(shades, 1);
    const int k = (draw % shades) * std::max(1, 40 / shades);
    return {static_cast<uint8_t>(std::max(0, 215 - k)), static_cast<uint8_t>((255 - k) & 0xFF),
            255};
}

std::vector<TileSpan> DiamondSpans(int tileSize) {
    std::vector<TileSpan> spans;
    const int half = tileSize / 2;
    for (int row = 0; row < half; ++row) spans.push_back({row, half - row, 2 * row + 1});
    for (int row = 0, width = tileSize; width > 0; ++row, width -= 2)
        spans.push_back({half + row, half - width / 2, width});
    return spans;
}

std::vector<LogoPoint> TileOrigins(int left, int top, int right, int bottom, int tileSize) {
    std::vector<LogoPoint> origins;
    const int half = tileSize / 2;
    if (tileSize <= 1) return origins;
    bool shifted = true; // every other row, starting with the first
    for (int y = top - half; y < bottom; y += half, shifted = !shifted)
        for (int x = shifted ? left - half : left; x < right; x += tileSize)
            origins.push_back({x, y});
    return origins;
}
