#pragma once
// The two file formats "Save Graph as Bitmap..." writes, and how the save
// dialog's answer picks one.

enum class ImageFormat { kBmp, kPng };

// The filters of the save dialog: BMP first (index 1 as the dialog counts),
// then PNG, then all files.
constexpr char kImageFileFilter[] =
    "Bitmap Files (*.bmp)\0*.bmp\0PNG Image (*.png)\0*.png\0All Files (*.*)\0*.*\0";
constexpr int kPngFilterIndex = 2;

// The format of the chosen name: a name ending in ".png" is PNG and one ending
// in ".bmp" is BMP (in any case), whichever filter was chosen; any other name
// takes the chosen filter's format, BMP for every filter but PNG.
ImageFormat ChooseImageFormat(const char* path, int filterIndex);
