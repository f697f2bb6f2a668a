// ExportGraphBitmap end to end: the file's bytes against the graph drawn by
// RenderGraph into a memory device context and read back with GetPixel.
#include "bitmap/export_gui.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bitmap/tbitmap.h"
#include "datafiles/request_gate.h"
#include "graph/dataset.h"
#include "graph/graph_scale.h"
#include "graph/graph_settings.h"
#include "graph/render_gui.h"
#include "resources/resource_ids.h"

namespace {

// A main window stand-in whose graph area (control 1001) has the given height.
class MainWindowWithGraphArea {
  public:
    explicit MainWindowWithGraphArea(int height) {
        window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 300, height + 10, nullptr,
                                 nullptr, nullptr, nullptr);
        CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 200, height, window,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_GRAPH_AREA)), nullptr,
                        nullptr);
    }
    ~MainWindowWithGraphArea() { DestroyWindow(window); }
    MainWindowWithGraphArea(const MainWindowWithGraphArea&) = delete;
    MainWindowWithGraphArea& operator=(const MainWindowWithGraphArea&) = delete;
    HWND window;
};

void InstallValues(const std::vector<double>& values) {
    double* storage = values.empty() ? nullptr : AllocateDataValues(values.size());
    for (size_t i = 0; i < values.size(); ++i) storage[i] = values[i];
    InstallDataSet(storage, static_cast<int>(values.size()));
    graphScale.SetData(dataSet.values, dataSet.count, 8);
}

std::string TempPath(const char* name) {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// The graph as the screen would show it: RenderGraph into a memory context
// cleared with the back colour, read back pixel by pixel.
std::vector<COLORREF> DrawnPixels(int width, int height) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    const RECT all = {0, 0, width, height};
    HBRUSH back = CreateSolidBrush(graphSettings.backColor);
    FillRect(dc, &all, back);
    DeleteObject(back);
    RenderGraph(&all, dc, nullptr);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels.push_back(GetPixel(dc, x, y));
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return pixels;
}

// The file the export must write for pixels that hold no more colours than
// the depth's table: colours in the order a top-left, row by row scan meets
// them, the rest of the table black, rows bottom-up.
std::vector<uint8_t> ExpectedFile(const std::vector<COLORREF>& pixels, int width, int height,
                                  int depth) {
    std::vector<COLORREF> table;
    for (COLORREF c : pixels)
        if (std::find(table.begin(), table.end(), c) == table.end()) table.push_back(c);
    const int entries = 1 << depth;
    EXPECT_LE(static_cast<int>(table.size()), entries);
    const int rowBytes = ((depth * width + 7) / 8 + 3) / 4 * 4;
    const uint32_t offBits = 54 + 4 * entries;
    const uint32_t size = offBits + static_cast<uint32_t>(rowBytes) * height;
    std::vector<uint8_t> out = {'B', 'M'};
    Put32(out, size);
    Put32(out, 0);
    Put32(out, offBits);
    for (uint32_t v : {40u, static_cast<uint32_t>(width), static_cast<uint32_t>(height)})
        Put32(out, v);
    Put16(out, 1);
    Put16(out, depth);
    for (int i = 0; i < 6; ++i) Put32(out, 0);
    for (int i = 0; i < entries; ++i) {
        const COLORREF c = i < static_cast<int>(table.size()) ? table[i] : 0;
        out.insert(out.end(), {GetBValue(c), GetGValue(c), GetRValue(c), 0});
    }
    for (int y = height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(rowBytes, 0);
        for (int x = 0; x < width; ++x) {
            const int index = static_cast<int>(
                std::find(table.begin(), table.end(), pixels[y * width + x]) - table.begin());
            const int bit = x * depth;
            row[bit / 8] |= static_cast<uint8_t>(index << (8 - depth - bit % 8));
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

uint32_t BigEndian32(const std::vector<uint8_t>& bytes, size_t at) {
    return uint32_t(bytes[at]) << 24 | uint32_t(bytes[at + 1]) << 16 |
           uint32_t(bytes[at + 2]) << 8 | bytes[at + 3];
}

// What a PNG file's header and palette chunks say; bitDepth 0 when the file
// does not begin with the PNG signature and its header chunk.
struct PngHead {
    uint32_t width = 0, height = 0;
    int bitDepth = 0, colourType = -1;
    std::vector<COLORREF> palette;
};
PngHead ReadPngHead(const std::vector<uint8_t>& bytes) {
    static const uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PngHead head;
    if (bytes.size() < 33 || !std::equal(kSignature, kSignature + 8, bytes.begin()) ||
        std::string(bytes.begin() + 12, bytes.begin() + 16) != "IHDR")
        return head;
    head.width = BigEndian32(bytes, 16);
    head.height = BigEndian32(bytes, 20);
    head.bitDepth = bytes[24];
    head.colourType = bytes[25];
    for (size_t at = 8; at + 12 <= bytes.size();) {
        const uint32_t length = BigEndian32(bytes, at);
        if (length > bytes.size() - at - 12) break;
        if (std::string(bytes.begin() + at + 4, bytes.begin() + at + 8) == "PLTE")
            for (uint32_t i = 0; i + 3 <= length; i += 3) {
                const uint8_t* rgb = &bytes[at + 8 + i];
                head.palette.push_back(RGB(rgb[0], rgb[1], rgb[2]));
            }
        at += 12 + length;
    }
    return head;
}

// The colour table of a bitmap file with a 40-byte info header.
std::vector<COLORREF> BmpTable(const std::vector<uint8_t>& bytes) {
    std::vector<COLORREF> table;
    const size_t pixelsAt = bytes.size() < 12 ? 0 : bytes[10] | bytes[11] << 8;
    for (size_t at = 54; at + 4 <= bytes.size() && at < pixelsAt; at += 4)
        table.push_back(RGB(bytes[at + 2], bytes[at + 1], bytes[at]));
    return table;
}

class ExportGraph : public ::testing::Test {
  protected:
    void SetUp() override {
        saved = graphSettings;
        graphSettings = GraphSettings{};
        DeleteFileA(path.c_str());
    }
    void TearDown() override {
        graphSettings = saved;
        InstallValues({});
        DeleteFileA(path.c_str());
    }
    GraphSettings saved;
    const std::string path = TempPath("export_test.bmp");
};

TEST_F(ExportGraph, PngHoldsTheBitmapsSizeDepthAndColourTable) {
    const std::string png = TempPath("export_test.png");
    InstallValues({1, 3, 2, 5, -1, 4});
    graphSettings.lineSpacing = 9;
    MainWindowWithGraphArea main(40);
    // Colours whose red and blue differ, so that a swap of the two shows.
    graphSettings.backColor = RGB(0, 0, 80);
    graphSettings.graphColor = RGB(255, 128, 0);
    for (bool gridLikeBack : {false, true}) {
        graphSettings.gridColor = gridLikeBack ? graphSettings.backColor : RGB(200, 0, 40);
        ASSERT_GT(ExportGraphBitmap(path.c_str(), main.window), 0u);
        const uint32_t size = ExportGraphBitmap(png.c_str(), main.window, ImageFormat::kPng);
        const std::vector<uint8_t> bmp = ReadFileBytes(path), written = ReadFileBytes(png);
        EXPECT_EQ(size, written.size());
        const PngHead head = ReadPngHead(written);
        EXPECT_EQ(head.width, 60u);
        EXPECT_EQ(head.height, 40u);
        EXPECT_EQ(head.bitDepth, bmp[28]) << gridLikeBack; // indexed at the bitmap's depth
        EXPECT_EQ(head.colourType, 3);                     // with a palette
        EXPECT_EQ(head.palette, BmpTable(bmp));            // the whole table, in its order
        EXPECT_EQ(head.palette.size(), gridLikeBack ? 2u : 16u);
    }
    // A save that fails at any step keeps the file that was there.
    const std::vector<uint8_t> before = ReadFileBytes(png);
    for (FileRequest step : {FileRequest::kCreate, FileRequest::kWrite, FileRequest::kReplace}) {
        RequestGate gate(step, 1);
        EXPECT_EQ(ExportGraphBitmap(png.c_str(), main.window, ImageFormat::kPng), 0u);
        EXPECT_TRUE(ReadFileBytes(png) == before);
    }
    DeleteFileA(png.c_str());
}

TEST_F(ExportGraph, DefaultColoursGiveA4BitFileOfTheDrawnGraph) {
    InstallValues({1, 3, 2, 5, -1, 4});
    graphSettings.lineSpacing = 9; // 10 pixels per point: 60 wide
    MainWindowWithGraphArea main(40);
    // The drawn graph holds exactly its three colours (labels are not
    // antialiased), so the 4-bit file keeps every pixel.
    const std::vector<COLORREF> pixels = DrawnPixels(60, 40);
    std::vector<COLORREF> colours;
    for (COLORREF c : pixels)
        if (std::find(colours.begin(), colours.end(), c) == colours.end()) colours.push_back(c);
    std::sort(colours.begin(), colours.end());
    EXPECT_EQ(colours, (std::vector<COLORREF>{RGB(0, 0, 0), RGB(0, 255, 0), RGB(255, 255, 255)}));

    const std::vector<uint8_t> expected = ExpectedFile(pixels, 60, 40, 4);
    EXPECT_EQ(ExportGraphBitmap(path.c_str(), main.window), expected.size());
    const std::vector<uint8_t> written = ReadFileBytes(path);
    EXPECT_TRUE(written == expected);
    ASSERT_EQ(written.size(), 14u + 40 + 64 + 32 * 40);
    EXPECT_EQ(written[28], 4);   // bits per pixel
    EXPECT_EQ(written[10], 118); // pixels after 16 table entries
}

TEST_F(ExportGraph, GridLikeTheBackGivesA1BitFile) {
    InstallValues({2, 8, 4});
    graphSettings.gridColor = graphSettings.backColor;
    graphSettings.lineSpacing = 4;
    MainWindowWithGraphArea main(25);
    const std::vector<uint8_t> expected = ExpectedFile(DrawnPixels(15, 25), 15, 25, 1);
    EXPECT_EQ(ExportGraphBitmap(path.c_str(), main.window), 62u + 4 * 25);
    EXPECT_TRUE(ReadFileBytes(path) == expected);
}

TEST_F(ExportGraph, StripsGiveTheSameFileAsOneSurface) {
    std::vector<double> values;
    for (int i = 0; i < 50; ++i) values.push_back((i * 37) % 23 - 5);
    InstallValues(values);
    graphSettings.lineSpacing = 3;
    MainWindowWithGraphArea main(60);
    const uint32_t whole = ExportGraphBitmap(path.c_str(), main.window);
    const std::vector<uint8_t> once = ReadFileBytes(path);
    ASSERT_GT(whole, 0u);
    EXPECT_EQ(ExportGraphBitmapInStrips(path.c_str(), main.window, 7), whole);
    EXPECT_TRUE(ReadFileBytes(path) == once);
}

TEST_F(ExportGraph, NothingToDrawOrNoMemoryWritesNoFile) {
    MainWindowWithGraphArea main(30), flat(0);
    EXPECT_EQ(ExportGraphBitmap(path.c_str(), main.window), 0u); // empty data set
    InstallValues({1, 2, 3});
    EXPECT_EQ(ExportGraphBitmap(path.c_str(), flat.window), 0u); // graph area of height 0
    EXPECT_FALSE(FileExists(path));

    std::vector<double> many(100000, 1.0);
    InstallValues(many);
    graphSettings.lineSpacing = 30000; // wider than 2^31 pixels
    EXPECT_EQ(ExportGraphBitmap(path.c_str(), main.window), 0u);
    graphSettings.lineSpacing = 19999; // 2e9 pixels: no bitmap of that size
    EXPECT_EQ(ExportGraphBitmap(path.c_str(), main.window), 0u);
    EXPECT_FALSE(FileExists(path));

    // Everything still works afterwards.
    InstallValues({1, 2, 3});
    graphSettings.lineSpacing = 1;
    EXPECT_GT(ExportGraphBitmap(path.c_str(), main.window), 0u);
    EXPECT_TRUE(FileExists(path));
}

TEST_F(ExportGraph, HundredThousandPointsOfThreeHundredRows) {
    std::vector<double> values(100000);
    for (size_t i = 0; i < values.size(); ++i) values[i] = static_cast<double>((i * 7919) % 1000);
    InstallValues(values);
    graphSettings.lineSpacing = 0; // one pixel per point
    MainWindowWithGraphArea main(300);
    const uint32_t size = ExportGraphBitmap(path.c_str(), main.window);
    EXPECT_EQ(size, 14u + 40 + 64 + 50000u * 300);
    const std::vector<uint8_t> written = ReadFileBytes(path);
    ASSERT_EQ(written.size(), size);
    EXPECT_EQ(written[18] | written[19] << 8 | written[20] << 16, 100000);
    EXPECT_EQ(written[22] | written[23] << 8, 300);
    EXPECT_EQ(written[28], 4);
}

} // namespace
