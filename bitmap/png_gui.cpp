#include "bitmap/png_gui.h"

#include <windows.h>
#include <objbase.h>
#include <wincodec.h>

#include <vector>

#include "bitmap/bitmap_bytes.h"
#include "bitmap/pixel_rows.h"
#include "datafiles/file_handle.h"
#include "datafiles/safe_save.h"

namespace {

// COM for the length of one save; only a successful initialisation is undone.
class ComScope {
  public:
    ComScope() : result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(result)) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    // A thread already in another apartment kind can still use the codecs.
    bool Usable() const { return SUCCEEDED(result) || result == RPC_E_CHANGED_MODE; }

  private:
    HRESULT result;
};

// Holds one reference to a COM object and releases it.
template <class T>
class ComObject {
  public:
    ComObject() = default;
    ~ComObject() {
        if (object) object->Release();
    }
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;
    T** Out() { return &object; }
    T* operator->() const { return object; }
    T* Get() const { return object; }

  private:
    T* object = nullptr;
};

struct PixelLayout {
    const GUID* format;
    int depth;
};

const PixelLayout kLayouts[] = {
    {&GUID_WICPixelFormat1bppIndexed, 1}, {&GUID_WICPixelFormat2bppIndexed, 2},
    {&GUID_WICPixelFormat4bppIndexed, 4}, {&GUID_WICPixelFormat8bppIndexed, 8},
    {&GUID_WICPixelFormat24bppBGR, 24},
};

// The depth PackRow gives for format, or 0 for a layout it has none of.
int DepthOf(const GUID& format) {
    for (const PixelLayout& layout : kLayouts)
        if (IsEqualGUID(format, *layout.format)) return layout.depth;
    return 0;
}

const GUID& FormatOf(int depth) {
    for (const PixelLayout& layout : kLayouts)
        if (layout.depth == depth) return *layout.format;
    return GUID_WICPixelFormat24bppBGR;
}

// The picture's colour table as the codecs take it: opaque 0xAARRGGBB, which
// a table entry (blue, green, red, 0) already is but for the alpha byte.
bool SetColourTable(IWICImagingFactory* factory, IWICBitmapFrameEncode* frame,
                    const TBitmap& picture) {
    int tableBytes = 0;
    picture.GetInfo(nullptr, nullptr, nullptr, nullptr, &tableBytes);
    std::vector<WICColor> colours(size_t(tableBytes / kQuadBytes));
    for (size_t i = 0; i < colours.size(); ++i) {
        const uint8_t* quad = picture.info + kInfoHeaderBytes + kQuadBytes * i;
        colours[i] = 0xFF000000u | uint32_t(quad[2]) << 16 | uint32_t(quad[1]) << 8 | quad[0];
    }
    ComObject<IWICPalette> palette;
    return SUCCEEDED(factory->CreatePalette(palette.Out())) &&
           SUCCEEDED(palette->InitializeCustom(colours.data(), UINT(colours.size()))) &&
           SUCCEEDED(frame->SetPalette(palette.Get()));
}

// Writes every row, top first, in the layout the encoder settled on.
bool WriteRows(IWICBitmapFrameEncode* frame, const TBitmap& picture, int depth) {
    int width = 0, height = 0;
    picture.GetInfo(&width, &height);
    const int64_t rowBytes = PackedRowBytes(width, depth);
    if (rowBytes <= 0 || rowBytes > INT32_MAX) return false;
    std::vector<uint8_t> row(static_cast<size_t>(rowBytes));
    for (int y = 0; y < height; ++y)
        if (!PackRow(picture, y, depth, row.data()) ||
            FAILED(frame->WritePixels(1, UINT(rowBytes), UINT(rowBytes), row.data())))
            return false;
    return true;
}

// The PNG file of picture, encoded into stream.
bool Encode(const TBitmap& picture, IStream* stream) {
    int width = 0, height = 0, depth = 0;
    if (picture.IsCompressed() || !picture.GetInfo(&width, &height, &depth)) return false;
    ComObject<IWICImagingFactory> factory;
    ComObject<IWICBitmapEncoder> encoder;
    ComObject<IWICBitmapFrameEncode> frame;
    ComObject<IPropertyBag2> options;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void**>(factory.Out()))) ||
        FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Out())) ||
        FAILED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(frame.Out(), options.Out())) ||
        FAILED(frame->Initialize(options.Get())) ||
        FAILED(frame->SetSize(UINT(width), UINT(height))))
        return false;
    // The encoder answers with the layout nearest to the one asked for that it
    // takes; PackRow gives any of the indexed ones at or above the picture's
    // own depth and 24-bit colour.
    WICPixelFormatGUID format = FormatOf(depth);
    if (FAILED(frame->SetPixelFormat(&format))) return false;
    const int written = DepthOf(format);
    if (written == 0) return false;
    if (written != 24 && !SetColourTable(factory.Get(), frame.Get(), picture)) return false;
    return WriteRows(frame.Get(), picture, written) && SUCCEEDED(frame->Commit()) &&
           SUCCEEDED(encoder->Commit());
}

// The bytes written to stream.
bool StreamBytes(IStream* stream, std::vector<uint8_t>& bytes) {
    STATSTG status = {};
    HGLOBAL memory = nullptr;
    if (FAILED(stream->Stat(&status, STATFLAG_NONAME)) || status.cbSize.QuadPart > INT32_MAX ||
        FAILED(GetHGlobalFromStream(stream, &memory)))
        return false;
    const void* data = GlobalLock(memory);
    if (!data) return false;
    const uint8_t* start = static_cast<const uint8_t*>(data);
    bytes.assign(start, start + status.cbSize.QuadPart);
    GlobalUnlock(memory);
    return true;
}

} // namespace

uint32_t SavePngFile(const TBitmap& picture, const char* path) {
    // Encoded before the file is touched, so that a failing encoder leaves an
    // existing file as it was.
    if (!path || !picture.info) return 0;
    std::vector<uint8_t> bytes;
    {
        ComScope com;
        ComObject<IStream> stream;
        if (!com.Usable() || FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.Out())) ||
            !Encode(picture, stream.Get()) || !StreamBytes(stream.Get(), bytes))
            return 0;
    }
    if (bytes.empty()) return 0;
    const uint32_t size = uint32_t(bytes.size());
    const int saved = SaveFileSafely(
        path, [&](FileHandle& file) { return file.Write(bytes.data(), size) == size; });
    return saved ? size : 0;
}
