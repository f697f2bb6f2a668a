#include "about/about_box_gui.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <cstdio>
#include <vector>

#include "about/about_layout.h"
#include "about/logo_solid.h"
#include "expr/random.h"
#include "expr/tick_count.h"
#include "gdi/scopes_gui.h"
#include "text/convert.h"

const char kMakerName[] = "Tamsolo Tools";
const char kMakerAddress[] = "https://tamsolo-tools.example/";
int logoAngle = 0;

using tamsolo::GdiObjectScope;
using tamsolo::MemorySurface;
using tamsolo::WindowDC;

namespace {

constexpr int kTextAreaSize = 4088;
constexpr size_t kProgramNameSize = 256; // leaves the rest of the text area to the information
constexpr UINT_PTR kLogoTimer = 1;
constexpr UINT kLogoPeriodMs = 100;
constexpr COLORREF kLogoBackground = RGB(180, 150, 240);

// What the dialog receives as its creation parameter.
struct AboutCreationBlock {
    HICON icon = nullptr;
    LPARAM value = 0;
    char text[kTextAreaSize] = {}; // program name, NUL, information text, NUL
    // The class icon to restore on close. Restored even when it was null, so
    // that the dialog class does not keep this box's icon.
    HICON previousIcon = nullptr;
    bool iconInstalled = false;
};

const char* InformationText(const AboutCreationBlock& block) {
    return block.text + strlen(block.text) + 1;
}

const char* AddressWithoutScheme() {
    const char* rest = strstr(kMakerAddress, "://");
    return rest ? rest + 3 : kMakerAddress;
}

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

void PaintBackground(HDC dc, int width, int height) {
    GdiObjectScope brush(dc, CreateSolidBrush(kLogoBackground));
    HGDIOBJ pen = SelectObject(dc, GetStockObject(NULL_PEN));
    Rectangle(dc, 0, 0, width + 1, height + 1);
    SelectObject(dc, pen);
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
        SelectObject(dc, pen);
        BeginPath(dc);
        Polyline(dc, horizon, 3);
        for (const LogoPoint& p : distinct)
            for (const POINT& source : sources) {
                MoveToEx(dc, source.x, source.y, nullptr);
                LineTo(dc, p.x, p.y);
            }
        EndPath(dc);
        StrokePath(dc);
        SelectObject(dc, GetStockObject(WHITE_PEN));
        DeleteObject(pen);
    }
}

void PaintName(HDC dc, int width, int height) {
    const int fontHeight = 9 * height / 10;
    GdiObjectScope font(dc, CreateFontA(fontHeight, 0, 0, 0, FW_BOLD, TRUE, FALSE, FALSE,
                                        DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                        DEFAULT_QUALITY, VARIABLE_PITCH, "times new roman"));
    const int previousMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF previousColor = SetTextColor(dc, RGB(255, 255, 255));
    RECT box = {3 * fontHeight / 2, 0, width, fontHeight};
    DrawTextA(dc, kMakerName, -1, &box, DT_LEFT | DT_NOPREFIX | DT_SINGLELINE);
    const int shift = std::clamp(height / 40, 1, 2);
    OffsetRect(&box, shift, -shift);
    SetTextColor(dc, RGB(0, 0, 0));
    DrawTextA(dc, kMakerName, -1, &box, DT_LEFT | DT_NOPREFIX | DT_SINGLELINE);
    SetTextColor(dc, previousColor);
    SetBkMode(dc, previousMode);
}

void PaintFaces(HDC dc, int height, int shade, const ProjectedSolid& solid) {
    SeedRandom(3);
    HGDIOBJ pen = SelectObject(dc, GetStockObject(WHITE_PEN));
    HGDIOBJ brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    size_t first = 0;
    for (int count : solid.counts) {
        const std::vector<POINT> face = ToPoints(&solid.points[first], count);
        first += count;
        FillFaceTiles(dc, face.data(), count, std::min(shade / 3, 40), height / 6);
        SelectObject(dc, GetStockObject(WHITE_PEN));
        SelectObject(dc, GetStockObject(NULL_BRUSH));
        Polygon(dc, face.data(), count);
    }
    SelectObject(dc, brush);
    SelectObject(dc, pen);
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

void OnAboutInit(HWND dialog, AboutCreationBlock* block) {
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(block));
    if (!block) return;
    if (block->icon) {
        block->previousIcon = reinterpret_cast<HICON>(
            SetClassLongPtrA(dialog, GCLP_HICON, reinterpret_cast<LONG_PTR>(block->icon)));
        block->iconInstalled = true;
    }
    SetWindowTextA(dialog, block->text);
    SetDlgItemTextA(dialog, kAboutCloseId, "Close");
    SetDlgItemTextA(dialog, kAboutLinkId, AddressWithoutScheme());
    SetDlgItemTextA(dialog, kAboutTextId, InformationText(*block));
}

void OnAboutClose(HWND dialog) {
    const auto* block =
        reinterpret_cast<const AboutCreationBlock*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (block && block->iconInstalled)
        SetClassLongPtrA(dialog, GCLP_HICON, reinterpret_cast<LONG_PTR>(block->previousIcon));
    KillTimer(dialog, kLogoTimer);
    EndDialog(dialog, 0);
}

// The template block is made once and rewritten on every showing.
void* AboutTemplateBlock() {
    static HGLOBAL block = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, kAboutTemplateSize);
    return block;
}

LogoSize DefaultLogoSizeOnce() {
    static const LogoSize size = [] {
        const LONG units = GetDialogBaseUnits();
        return DefaultLogoSize(LOWORD(units), HIWORD(units));
    }();
    return size;
}

} // namespace

void FillFaceTiles(HDC dc, const POINT* points, int count, int shades, int tileSize) {
    if (count < 3) return;
    if (tileSize <= 1) {
        GdiObjectScope brush(dc, CreateSolidBrush(DrawTileColor(shades)));
        HGDIOBJ pen = SelectObject(dc, GetStockObject(NULL_PEN));
        Polygon(dc, points, count);
        SelectObject(dc, pen);
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
    HGDIOBJ pen = SelectObject(surface.dc, GetStockObject(WHITE_PEN));
    PaintGlow(surface.dc, width, height, glowShade, solid.points);
    PaintName(surface.dc, width, height);
    PaintFaces(surface.dc, height, glowShade, solid);
    SelectObject(surface.dc, pen);
    BitBlt(dc, area.left, area.top, width, height, surface.dc, 0, 0, SRCCOPY);
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnAboutInit(dialog, reinterpret_cast<AboutCreationBlock*>(lParam));
        SetTimer(dialog, kLogoTimer, kLogoPeriodMs, nullptr);
        SetFocus(GetDlgItem(dialog, kAboutLogoId));
        return FALSE;
    case WM_TIMER:
        // 1 for the timer's ticks; 0 when posted after a repaint (no turn).
        logoAngle -= static_cast<int>(wParam);
        // The band's own pending repaint would come after this message and
        // blank the frame: let it happen first.
        UpdateWindow(GetDlgItem(dialog, kAboutLogoId));
        PaintLogo(GetDlgItem(dialog, kAboutLogoId), nullptr, logoAngle, 0, nullptr);
        return TRUE;
    case WM_PAINT: PostMessageA(dialog, WM_TIMER, 0, 0); return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == kAboutCloseId) PostMessageA(dialog, WM_CLOSE, 0, 0);
        if (LOWORD(wParam) == kAboutLinkId)
            ShellExecuteA(nullptr, "open", kMakerAddress, nullptr, nullptr, SW_SHOWNORMAL);
        return TRUE;
    case WM_CLOSE: OnAboutClose(dialog); return TRUE;
    default: return FALSE;
    }
}

INT_PTR ShowAboutBox(HWND owner, const char* programName, int version, HICON icon,
                     const SIZE* logoSize, LPARAM value) {
    void* block = AboutTemplateBlock();
    if (!block || !programName) return -1;
    LogoSize logo = DefaultLogoSizeOnce();
    if (logoSize) logo = {static_cast<int>(logoSize->cx), static_cast<int>(logoSize->cy)};
    const LONG units = GetDialogBaseUnits();
    WriteAboutTemplate(static_cast<uint8_t*>(block),
                       ComputeAboutLayout(logo, LOWORD(units), HIWORD(units)));

    AboutCreationBlock creation;
    creation.icon = icon;
    creation.value = value;
    const size_t nameLength = CopyBounded(creation.text, kProgramNameSize, programName);
    char* info = creation.text + nameLength + 1;
    const size_t room = sizeof creation.text - nameLength - 1;
    if (room > 0)
        snprintf(info, room, "%s\r\nVersion %d, built %s\r\nFreeware", programName, version,
                 __DATE__);
    return DialogBoxIndirectParamA(GetModuleHandleA(nullptr), static_cast<LPCDLGTEMPLATEA>(block),
                                   owner, AboutDialogProc, reinterpret_cast<LPARAM>(&creation));
}
