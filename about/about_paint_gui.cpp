#include "about/about_paint_gui.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "about/logo_solid.h"
#include "expr/random.h"
#include "expr/tick_count.h"
#include "gdi/scopes_gui.h"

const char kMakerName[] = "Tamsolo Tools";

using tamsolo::GdiObjectScope;
using tamsolo::MemorySurface;
using tamsolo::TextScope;
using tamsolo::WindowDC;

namespace {

constexpr COLORREF kLogoBackground = RGB(180, 150, 240);

struct ProjectedSolid {
    std::vector<LogoPoint> points; // of all faces, one after the other
    std::vector<int> counts;       // per face, in drawing order
};

ProjectedSolid ProjectLogo(int angle, int width, int height) {
    LogoSolid solid = BuildSolid(6, 0.67, 0.1675, 10000);
    for (Face3D& face : solid) RotateFace(face, 0, angle, 0);
    for (Face3D& face : solid) {
        RotateFace(face, 0, 0, 40);
        RotateFace(face, 0, -40, 0);
    }
    SortFacesByDepth(solid);
    ProjectedSolid projected;
    const double scale = 2.0 * height / 10000;
    for (const Face3D& face : solid)
        projected.counts.push_back(ProjectFace(face, scale, width / 200 + height / 2,
                                               height / 2 - width / 100, projected.points));
    return projected;
}

std::vector<POINT> ToPoints(const LogoPoint* points, int count) {
    std::vector<POINT> out(count);
    for (int i = 0; i < count; ++i) out[i] = {points[i].x, points[i].y};
    return out;
}

// A stock object selected for the scope's length.
class StockObjectScope : public GdiObjectScope {
  public:
    StockObjectScope(HDC dc, int stockObject)
        : GdiObjectScope(dc, nullptr, GetStockObject(stockObject)) {}
};

void PaintBackground(HDC dc, int width, int height) {
    GdiObjectScope brush(dc, CreateSolidBrush(kLogoBackground));
    StockObjectScope noOutline(dc, NULL_PEN);
    Rectangle(dc, 0, 0, width + 1, height + 1);
}

void PaintGlow(HDC dc, int width, int height, int shade, const std::vector<LogoPoint>& points) {
    const std::vector<LogoPoint> distinct = DistinctPoints(points);
    const POINT sources[] = {{height / 2, 3 * height / 4},
                             {height / 2, height / 4},
                             {height / 4, height / 2},
                             {3 * height / 4, height / 2}};
    const POINT horizon[] = {{0, height}, {height / 2, 3 * height / 4}, {width, 3 * height / 4}};
    const int layers = GlowLayerCount(height, shade);
    for (int i = 1; i <= layers; ++i) {
        const GlowLayer layer = GlowLayerAt(i, layers, height);
        LOGBRUSH brush = {BS_SOLID, RGB(layer.red, layer.green, layer.blue), 0};
        HPEN pen = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_SQUARE | PS_JOIN_BEVEL,
                                layer.penWidth, &brush, 0, nullptr);
        if (!pen) continue;
        GdiObjectScope layerPen(dc, pen);
        BeginPath(dc);
        Polyline(dc, horizon, 3);
        for (const LogoPoint& p : distinct)
            for (const POINT& source : sources) {
                MoveToEx(dc, source.x, source.y, nullptr);
                LineTo(dc, p.x, p.y);
            }
        EndPath(dc);
        StrokePath(dc);
    }
}

void PaintName(HDC dc, int width, int height) {
    const int fontHeight = 9 * height / 10;
    TextScope text(dc, RGB(255, 255, 255),
                   CreateFontA(fontHeight, 0, 0, 0, FW_BOLD, TRUE, FALSE, FALSE, DEFAULT_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                               VARIABLE_PITCH, "times new roman"),
                   TRANSPARENT);
    RECT box = {3 * fontHeight / 2, 0, width, fontHeight};
    DrawTextA(dc, kMakerName, -1, &box, DT_LEFT | DT_NOPREFIX | DT_SINGLELINE);
    const int shift = std::clamp(height / 40, 1, 2);
    OffsetRect(&box, shift, -shift);
    SetTextColor(dc, RGB(0, 0, 0));
    DrawTextA(dc, kMakerName, -1, &box, DT_LEFT | DT_NOPREFIX | DT_SINGLELINE);
}

// The faces' tiles, each face outlined in white over them.
void PaintFaces(HDC dc, int height, int shade, const ProjectedSolid& solid) {
    SeedRandom(3);
    StockObjectScope outline(dc, WHITE_PEN);
    StockObjectScope hollow(dc, NULL_BRUSH);
    size_t first = 0;
    for (int count : solid.counts) {
        const std::vector<POINT> face = ToPoints(&solid.points[first], count);
        first += count;
        FillFaceTiles(dc, face.data(), count, std::min(shade / 3, 40), height / 6);
        Polygon(dc, face.data(), count);
    }
}

void PaintTile(HDC dc, HRGN region, LogoPoint origin, const std::vector<TileSpan>& spans,
               COLORREF color) {
    for (const TileSpan& span : spans) {
        const int y = origin.y + span.dy;
        for (int x = origin.x + span.dx; x < origin.x + span.dx + span.width; ++x)
            if (PtInRegion(region, x, y)) SetPixel(dc, x, y, color);
    }
}

COLORREF DrawTileColor(int shades) {
    const TileShade shade = TileShadeFor(DrawRandom(), shades);
    return RGB(shade.red, shade.green, shade.blue);
}

} // namespace

void FillFaceTiles(HDC dc, const POINT* points, int count, int shades, int tileSize) {
    if (count < 3) return;
    if (tileSize <= 1) {
        GdiObjectScope brush(dc, CreateSolidBrush(DrawTileColor(shades)));
        StockObjectScope noOutline(dc, NULL_PEN);
        Polygon(dc, points, count);
        return;
    }
    HRGN region = CreatePolygonRgn(points, count, ALTERNATE);
    if (!region) return;
    RECT box = {points[0].x, points[0].y, points[0].x, points[0].y};
    for (int i = 1; i < count; ++i) {
        box.left = std::min(box.left, points[i].x);
        box.top = std::min(box.top, points[i].y);
        box.right = std::max(box.right, points[i].x);
        box.bottom = std::max(box.bottom, points[i].y);
    }
    const std::vector<TileSpan> spans = DiamondSpans(tileSize);
    const std::vector<LogoPoint> origins =
        TileOrigins(box.left, box.top, box.right, box.bottom, tileSize);
    SeedRandom(0); // the pattern that stays
    for (const LogoPoint& origin : origins)
        PaintTile(dc, region, origin, spans, DrawTileColor(shades));
    SeedRandom(TickCount()); // the sparkle that changes from frame to frame
    for (const LogoPoint& origin : origins)
        if (DrawRandom() % 36 == 0) PaintTile(dc, region, origin, spans, DrawTileColor(shades));
    DeleteObject(region);
}

void PaintLogo(HWND logo, HDC dc, int angle, int shade, const RECT* rect) {
    std::unique_ptr<WindowDC> own;
    if (!dc) {
        own = std::make_unique<WindowDC>(logo);
        dc = own->dc;
        if (!dc) return;
    }
    RECT area = {};
    if (rect)
        area = *rect;
    else
        GetClientRect(logo, &area);
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return;
    MemorySurface surface(dc, width, height);
    if (!surface.Ready()) return;
    const ProjectedSolid solid = ProjectLogo(angle, width, height);
    const int glowShade = GlowShade(shade);
    PaintBackground(surface.dc, width, height);
    PaintGlow(surface.dc, width, height, glowShade, solid.points);
    PaintName(surface.dc, width, height);
    PaintFaces(surface.dc, height, glowShade, solid);
    BitBlt(dc, area.left, area.top, width, height, surface.dc, 0, 0, SRCCOPY);
}
