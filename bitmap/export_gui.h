#pragma once
// "Save Graph as Bitmap...": the whole graph, every point at its full width,
// drawn off screen and saved as a 1- or 4-bit bitmap file, or as a PNG file
// of the same pixels and colour table.
#include <windows.h>

#include <cstdint>

#include "bitmap/image_format.h"

// Exports the data set as drawn by RenderGraph into a picture of
// max(pixelsPerPoint, 1) x count pixels by the client height of the graph area
// (control 1001 of mainWindow). Shows the wait cursor meanwhile. Returns the
// size of the file written, or 0 when nothing was written (empty data set,
// graph area of height 0, no memory for the picture, an unwritable path, or
// for PNG a failed encoding).
uint32_t ExportGraphBitmap(const char* path, HWND mainWindow,
                           ImageFormat format = ImageFormat::kBmp);

// The same with the off-screen surface limited to stripWidth pixels: wider
// graphs are drawn and captured strip by strip (the same pixels).
uint32_t ExportGraphBitmapInStrips(const char* path, HWND mainWindow, int stripWidth,
                                   ImageFormat format = ImageFormat::kBmp);
