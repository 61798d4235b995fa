// The game's pictures at the size the window draws them. At their own size
// they are the bitmap resources, loaded as the reference loads them. Larger
// ones come from the painter's twins, twice the size, which the program
// carries as PNG (RCDATA under the bitmap's identifier) and decodes with
// the Windows Imaging Component; a size that is neither is made from the
// twin (above one to one) or the bitmap (below) with StretchBlt's HALFTONE
// filter, which keeps a shrunk picture smooth. WIC's own scaler is not
// used: under Wine it takes the nearest pixel whatever mode is asked for.
#include <wincodec.h>

#include "game/model/bitmaps.h"
#include "game/shell/win32/win32_shell.h"

namespace {

// A COM object held for one picture.
template <typename T>
struct Held {
    T* p = nullptr;
    Held() = default;
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    ~Held() {
        if (p) p->Release();
    }
    T** out() { return &p; }
    T* operator->() const { return p; }
};

HBITMAP bitmap_resource(int id) {
    return static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

// Top-down, three bytes a pixel, rows padded to four bytes: what WIC's
// 24-bit BGR is when copied with that stride.
HBITMAP dib_section(int width, int height, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

UINT stride_of(UINT width) { return (width * 3 + 3) & ~3u; }

// Made on the first twin and kept for the life of the process, like the
// fonts.
IWICImagingFactory* imaging_factory() {
    static IWICImagingFactory* factory = nullptr;
    if (!factory) {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory));
    }
    return factory;
}

// The twin of a bitmap, decoded from the PNG file the program carries.
HBITMAP twin_resource(int id) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10));  // RT_RCDATA
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    auto* file = loaded ? static_cast<BYTE*>(LockResource(loaded)) : nullptr;
    IWICImagingFactory* factory = imaging_factory();
    if (!file || !factory) return nullptr;

    Held<IWICStream> stream;
    Held<IWICBitmapDecoder> decoder;
    Held<IWICBitmapFrameDecode> frame;
    Held<IWICFormatConverter> converter;
    UINT width = 0, height = 0;
    if (FAILED(factory->CreateStream(stream.out())) ||
        FAILED(stream->InitializeFromMemory(file, SizeofResource(module, found))) ||
        FAILED(factory->CreateDecoderFromStream(stream.p, nullptr, WICDecodeMetadataCacheOnDemand, decoder.out())) ||
        FAILED(decoder->GetFrame(0, frame.out())) || FAILED(factory->CreateFormatConverter(converter.out())) ||
        FAILED(converter->Initialize(frame.p, GUID_WICPixelFormat24bppBGR, WICBitmapDitherTypeNone, nullptr, 0,
                                     WICBitmapPaletteTypeCustom)) ||
        FAILED(converter->GetSize(&width, &height)))
        return nullptr;
    void* bits = nullptr;
    HBITMAP twin = dib_section(static_cast<int>(width), static_cast<int>(height), &bits);
    if (!twin) return nullptr;
    if (FAILED(converter->CopyPixels(nullptr, stride_of(width), stride_of(width) * height, static_cast<BYTE*>(bits)))) {
        DeleteObject(twin);
        return nullptr;
    }
    return twin;
}

// The picture drawn again at width x height; the source is deleted.
HBITMAP resized(HBITMAP source, int width, int height) {
    BITMAP size{};
    GetObjectA(source, sizeof size, &size);
    void* bits = nullptr;
    HBITMAP result = dib_section(width, height, &bits);
    if (result) {
        HDC from = CreateCompatibleDC(nullptr), to = CreateCompatibleDC(nullptr);
        HGDIOBJ kept_from = SelectObject(from, source), kept_to = SelectObject(to, result);
        SetStretchBltMode(to, HALFTONE);
        SetBrushOrgEx(to, 0, 0, nullptr);  // as HALFTONE asks after it is set
        StretchBlt(to, 0, 0, width, height, from, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
        SelectObject(from, kept_from);
        SelectObject(to, kept_to);
        DeleteDC(from);
        DeleteDC(to);
    }
    DeleteObject(source);
    return result;
}

}  // namespace

HBITMAP load_picture(int bitmap_id, int width, int height) {
    const BitmapInfo* b = find_bitmap(bitmap_id);
    if (!b) return nullptr;
    if (width == b->width && height == b->height) return bitmap_resource(bitmap_id);
    HBITMAP source = width > b->width ? twin_resource(bitmap_id) : nullptr;
    if (!source) source = bitmap_resource(bitmap_id);
    if (!source) return nullptr;
    BITMAP size{};
    GetObjectA(source, sizeof size, &size);
    if (size.bmWidth == width && size.bmHeight == height) return source;
    return resized(source, width, height);
}

HBRUSH make_scene_brush() {
    const BitmapInfo& scene = *find_bitmap(SCENE_PICTURE);
    HBITMAP picture = load_picture(SCENE_PICTURE, to_device(scene.width), to_device(scene.height));
    HBRUSH brush = CreatePatternBrush(picture);
    DeleteObject(picture);  // the brush keeps its own copy
    return brush;
}
