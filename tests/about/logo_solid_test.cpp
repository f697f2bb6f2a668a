#include "about/logo_solid.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Text(const std::vector<LogoPoint>& points) {
    std::string text;
    for (const LogoPoint& p : points) text += std::to_string(p.x) + "," + std::to_string(p.y) + " ";
    return text;
}

TEST(BuildSolid, SixSidesGiveThirteenFaces) {
    const LogoSolid solid = BuildSolid(6, 0.67, 0.1675, 10000);
    ASSERT_EQ(solid.size(), 13u);
    for (int i = 0; i < 6; ++i) {
        ASSERT_EQ(solid[2 * i].points.size(), 3u) << i;
        ASSERT_EQ(solid[2 * i + 1].points.size(), 4u) << i;
        const Point3D& apex = solid[2 * i].points[2];
        EXPECT_EQ(apex.x, 0);
        EXPECT_EQ(apex.y, 1000);
        EXPECT_EQ(apex.z, 0);
        // The triangle and the band share their rim edge; the band's lower edge
        // is the rim pulled in by the band fraction.
        const Face3D& band = solid[2 * i + 1];
        EXPECT_EQ(band.points[0].x, solid[2 * i].points[0].x);
        EXPECT_EQ(band.points[1].z, solid[2 * i].points[1].z);
        EXPECT_EQ(band.points[0].y, 0);
        EXPECT_EQ(band.points[3].y, -1000 * 0.1675);
        EXPECT_EQ(band.points[3].x, (1 - 0.1675) * band.points[0].x);
        EXPECT_EQ(band.points[2].z, (1 - 0.1675) * band.points[1].z);
        // Corner i of the bottom is the band's lower corner below P0.
        EXPECT_EQ(solid[12].points[i].x, band.points[3].x);
        EXPECT_EQ(solid[12].points[i].z, band.points[3].z);
    }
    EXPECT_EQ(solid[12].points.size(), 6u);
    // Angle 0 lies on +z at the radius 670.
    EXPECT_EQ(solid[0].points[0].z, 670);
    EXPECT_EQ(solid[0].points[0].x, 0);
    EXPECT_TRUE(BuildSolid(0, 0.67, 0.1675, 10000).empty());
}

TEST(ProjectFace, PerspectiveDividesByDistanceFromTheEye) {
    // s = 7000 / (z + 2000): 7 at z = -1000, 1 at the picture plane z = 5000.
    const Face3D face{{{100, 200, -1000}, {-1, 3, 5000}, {-3, 1, 5000}, {3, -2, 5000}}};
    std::vector<LogoPoint> out = {{9, 9}};
    EXPECT_EQ(ProjectFace(face, 0.5, 10, 20, out), 4);
    // x * s * scale + 0.5 truncated toward zero: -1.5 -> -1, 1.5 -> 2, -1 -> 0.
    EXPECT_EQ(Text(out), "9,9 360,720 10,22 9,21 12,20 ");
}

TEST(RotateFace, TurnsAboutEachAxisAndUpdatesDepth) {
    const struct {
        double ax, ay, az;
        // (0, 0, 1000) and (1000, 0, 0) turned, then projected: -1000 + 0.5
        // truncates toward zero to -999.
        const char* projected;
    } cases[] = {
        {0, 0, 0, "0,0 1000,0 "},
        {0, 90, 0, "-999,0 0,0 "}, // (0,0,1000) -> (-1000,0,0);
                                   // (1000,0,0) -> (0,0,1000)
        {90, 0, 0, "0,-999 1000,0 "},
        {0, 0, 90, "0,0 0,1000 "},
        {0, 180, 0, "0,0 -999,0 "},
    };
    for (const auto& c : cases) {
        Face3D face{{{0, 0, 1000}, {1000, 0, 0}}};
        RotateFace(face, c.ax, c.ay, c.az);
        std::vector<LogoPoint> out;
        // Scale 1 at z = 0 gives s = 3.5: project with 2/7 to read plain coordinates.
        ProjectFace(face, 2.0 / 7.0, 0, 0, out);
        EXPECT_EQ(Text(out), c.projected) << c.ax << " " << c.ay << " " << c.az;
    }
}

TEST(Face3D, DepthIsTheMiddleOfTheZRange) {
    Face3D face{{{0, 0, -10}, {5, 5, 30}, {1, 1, 4}}};
    face.UpdateDepth();
    EXPECT_EQ(face.depth, 10);
    RotateFace(face, 0, 0, 45); // about z: z values stay
    EXPECT_EQ(face.depth, 10);
}

TEST(SortFacesByDepth, DeepestFirstAndTiesKeepTheirOrder) {
    LogoSolid solid;
    const double depths[] = {1, 3, 2, 3, -5};
    for (int i = 0; i < 5; ++i) {
        Face3D face{{{static_cast<double>(i), 0, depths[i]}}};
        face.UpdateDepth();
        solid.push_back(face);
    }
    SortFacesByDepth(solid);
    std::string order;
    for (const Face3D& f : solid) order += std::to_string(static_cast<int>(f.points[0].x));
    EXPECT_EQ(order, "13204");
}

TEST(Glow, ShadeLayersAndPens) {
    const struct {
        int shade, expected;
    } shades[] = {{0, 255}, {9, 9}, {10, 9}, {5, 4}, {4, 255}, {300, 255}, {256, 255}, {255, 255}};
    for (const auto& c : shades) EXPECT_EQ(GlowShade(c.shade), c.expected) << c.shade;
    EXPECT_EQ(GlowLayerCount(60, 255), 16); // ((30 | 1) + 1) / 2
    EXPECT_EQ(GlowLayerCount(272, 255), 69);
    EXPECT_EQ(GlowLayerCount(60, 9), 5); // 2 * 9 / 3 - 1
    const struct {
        int i;
        int width, red, green, blue;
    } layers[] = {
        {1, 29, 185, 157, 241}, // 31 - 1.9375 + 0.5 = 29.5625
        {8, 17, 218, 203, 248}, // 16 | 1
        {16, 1, 255, 255, 255},
    };
    for (const auto& c : layers) {
        const GlowLayer layer = GlowLayerAt(c.i, 16, 60);
        EXPECT_EQ(layer.penWidth, c.width) << c.i;
        EXPECT_EQ(layer.red, c.red) << c.i;
        EXPECT_EQ(layer.green, c.green) << c.i;
        EXPECT_EQ(layer.blue, c.blue) << c.i;
    }
    EXPECT_EQ(Text(DistinctPoints({{1, 2}, {3, 4}, {1, 2}, {1, 3}, {3, 4}})), "1,2 3,4 1,3 ");
}

TEST(Tiles, ShadesSpansAndOrigins) {
    const TileShade light = TileShadeFor(40 * 7, 40), dark = TileShadeFor(39, 40);
    EXPECT_EQ(light.red + 0, 215);
    EXPECT_EQ(light.green + 0, 255);
    EXPECT_EQ(dark.red + 0, 176);
    EXPECT_EQ(dark.green + 0, 216);
    EXPECT_EQ(dark.blue + 0, 255);
    EXPECT_EQ(TileShadeFor(3, 4).red + 0, 185); // k = 3 * 10
    EXPECT_EQ(TileShadeFor(5, 1).red + 0, 215);

    std::string spans;
    for (const TileSpan& s : DiamondSpans(6))
        spans +=
            std::to_string(s.dy) + ":" + std::to_string(s.dx) + "+" + std::to_string(s.width) + " ";
    // Upper half 1, 3, 5 centred on x + 3; lower half 6, 4, 2 from y + 3.
    EXPECT_EQ(spans, "0:3+1 1:2+3 2:1+5 3:0+6 4:1+4 5:2+2 ");

    EXPECT_EQ(Text(TileOrigins(10, 20, 22, 26, 6)),
              "7,17 13,17 19,17 10,20 16,20 7,23 13,23 19,23 ");
    EXPECT_TRUE(TileOrigins(0, 0, 10, 10, 1).empty());
}

} // namespace
