#include "window/copy_graph_gui.h"

#include "bitmap/tbitmap.h"
#include "datafiles/data_file.h"
#include "graph/dataset.h"
#include "gdi/scopes_gui.h"
#include "window/main_window_gui.h"
#include "resources/resource_ids.h"

#include <cstring>
#include <string>

namespace {

// Moveable global memory holding a copy of size bytes, as the clipboard takes
// it; null when there is none.
HGLOBAL GlobalCopy(const void* bytes, size_t size) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory) return nullptr;
    void* target = GlobalLock(memory);
    if (!target) {
        GlobalFree(memory);
        return nullptr;
    }
    std::memcpy(target, bytes, size);
    GlobalUnlock(memory);
    return memory;
}

// The clipboard owns memory once it takes it; memory it refuses is freed.
void PutOnClipboard(UINT format, HGLOBAL memory) {
    if (memory && !SetClipboardData(format, memory)) GlobalFree(memory);
}

// The graph area drawn off screen exactly as the window draws it, captured
// into picture (a bottom-up 24-bit block, the layout CF_DIB wants). The
// picture stays empty when the area has no room, no surface can be had or the
// capture fails, so that no blank picture passes for the graph.
void CaptureGraphArea(HWND mainWindow, TBitmap& picture) {
    HWND area = GetDlgItem(mainWindow, IDC_GRAPH_AREA);
    RECT client = {};
    if (!area || !GetClientRect(area, &client) || client.right <= 0 || client.bottom <= 0) return;
    tamsolo::MemorySurface surface(area, client.right, client.bottom);
    if (!surface.Ready()) return;
    DrawGraphArea(area, surface.dc, client);
    if (!picture.CaptureFromDC(surface.dc, &client)) picture.Release();
}

} // namespace

void CopyGraph(HWND mainWindow) {
    if (dataSet.count == 0) return;
    TBitmap picture;
    CaptureGraphArea(mainWindow, picture);
    uint32_t pictureBytes = 0;
    picture.GetInfo(nullptr, nullptr, nullptr, nullptr, nullptr, &pictureBytes);
    const std::string text = DataValuesAsText(dataSet.values, dataSet.count);
    if (!OpenClipboard(mainWindow)) return;
    EmptyClipboard();
    if (pictureBytes > 0) PutOnClipboard(CF_DIB, GlobalCopy(picture.info, pictureBytes));
    PutOnClipboard(CF_TEXT, GlobalCopy(text.c_str(), text.size() + 1));
    CloseClipboard();
}
