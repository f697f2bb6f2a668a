#include "bitmap/export_gui.h"

#include <algorithm>

#include "bitmap/capture_gui.h"
#include "bitmap/png_gui.h"
#include "bitmap/tbitmap.h"
#include "gdi/scopes_gui.h"
#include "graph/dataset.h"
#include "graph/graph_settings.h"
#include "graph/render_gui.h"
#include "resources/resource_ids.h"

using tamsolo::MemorySurface;

namespace {

// The off-screen surface stays within about 16 MiB, so that a wide graph
// needs little more memory than its 24-bit capture.
constexpr int64_t kSurfaceBytes = 16 << 20;
constexpr int kSurfacePixelBytes = 4;

class WaitCursor {
  public:
    WaitCursor() : previous(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(previous); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

  private:
    HCURSOR previous;
};

int GraphAreaHeight(HWND mainWindow) {
    RECT client = {};
    HWND area = GetDlgItem(mainWindow, IDC_GRAPH_AREA);
    if (!area || !GetClientRect(area, &client)) return 0;
    return client.bottom - client.top;
}

// Draws the columns [left, left + width) of the whole graph into the surface,
// whose origin is moved so that RenderGraph sees the full picture.
void DrawStrip(HDC dc, const RECT& picture, int left, int width) {
    HBRUSH back = CreateSolidBrush(graphSettings.backColor);
    const RECT strip = {0, 0, width, picture.bottom};
    if (back) {
        FillRect(dc, &strip, back);
        DeleteObject(back);
    }
    POINT origin;
    SetViewportOrgEx(dc, -left, 0, &origin);
    RenderGraph(&picture, dc, nullptr);
    SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
}

} // namespace

uint32_t ExportGraphBitmapInStrips(const char* path, HWND mainWindow, int stripWidth,
                                   ImageFormat format) {
    const int64_t wide =
        int64_t{std::max(graphSettings.PixelsPerPoint(), 1)} * std::max(dataSet.count, 0);
    const int height = GraphAreaHeight(mainWindow);
    if (!path || wide <= 0 || wide > INT32_MAX || height <= 0) return 0;
    const int width = static_cast<int>(wide);
    const int surfaceWidth = std::clamp(stripWidth, 1, width);

    WaitCursor wait;
    TBitmap picture(width, height, 24);
    if (!picture.info) return 0;
    MemorySurface surface(mainWindow, surfaceWidth, height);
    if (!surface.Ready()) return 0;
    const RECT whole = {0, 0, width, height};
    for (int left = 0; left < width; left += surfaceWidth) {
        const int columns = std::min(surfaceWidth, width - left);
        DrawStrip(surface.dc, whole, left, columns);
        const RECT strip = {0, 0, columns, height};
        if (!CaptureRegion(picture, surface.dc, strip, left, 0)) return 0;
    }
    // Three colours to keep need 4 bits; back and one more need 1.
    const bool threeColors = graphSettings.gridColor != graphSettings.backColor &&
                             graphSettings.gridColor != graphSettings.graphColor;
    // Should the reduced copy not fit in memory, the 24-bit capture is saved.
    picture.ConvertTo(threeColors ? 4 : 1);
    return format == ImageFormat::kPng ? SavePngFile(picture, path) : picture.SaveToFile(path);
}

uint32_t ExportGraphBitmap(const char* path, HWND mainWindow, ImageFormat format) {
    const int height = std::max(GraphAreaHeight(mainWindow), 1);
    const int64_t strip = kSurfaceBytes / (int64_t{height} * kSurfacePixelBytes);
    return ExportGraphBitmapInStrips(path, mainWindow,
                                     static_cast<int>(std::max<int64_t>(strip, 1)), format);
}
