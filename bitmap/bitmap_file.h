#pragma once
// Opening a file for writing a bitmap: the small platform seam behind
// TBitmap::SaveToFile (bitmap_file_win32.cpp, bitmap_file_posix.cpp).
#include <cstdint>

// An open file: a Windows file handle or a POSIX descriptor.
using BitmapFileHandle = intptr_t;
constexpr BitmapFileHandle kNoBitmapFile = -1;

// Creates path for writing, replacing an existing file, not shared while open;
// kNoBitmapFile when it cannot be created.
BitmapFileHandle CreateBitmapFile(const char* path);
// Writes bytes from data; the number of bytes written, short when a write fails.
uint32_t WriteBitmapFile(BitmapFileHandle file, const void* data, uint32_t bytes);
void CloseBitmapFile(BitmapFileHandle file);
