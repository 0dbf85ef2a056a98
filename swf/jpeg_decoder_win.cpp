#include "swf/jpeg_decoder_win.h"

#include "swf/bitmap.h"
#include "swf/jpeg_decoder.h"

#include <windows.h>
#include <wincodec.h>

namespace swf {

namespace {

template <typename T>
struct Released {
    T* p = nullptr;
    ~Released() {
        if (p) p->Release();
    }
};

bool DecodeWithWic(const uint8_t* data, size_t size, Bitmap& bitmap) {
    if (size > 0x7FFFFFFF) return false;
    HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    bool ok = false;
    {
        Released<IWICImagingFactory> factory;
        Released<IWICStream> stream;
        Released<IWICBitmapDecoder> decoder;
        Released<IWICBitmapFrameDecode> frame;
        Released<IWICBitmapSource> converted;
        UINT width = 0, height = 0;
        if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory.p))) &&
            SUCCEEDED(factory.p->CreateStream(&stream.p)) &&
            SUCCEEDED(stream.p->InitializeFromMemory(const_cast<BYTE*>(data), static_cast<DWORD>(size))) &&
            SUCCEEDED(factory.p->CreateDecoderFromStream(stream.p, nullptr, WICDecodeMetadataCacheOnDemand, &decoder.p)) &&
            SUCCEEDED(decoder.p->GetFrame(0, &frame.p)) &&
            SUCCEEDED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame.p, &converted.p)) &&
            SUCCEEDED(converted.p->GetSize(&width, &height)) &&
            BitmapSizeAllowed(static_cast<int>(width), static_cast<int>(height))) {
            bitmap.width = static_cast<int>(width);
            bitmap.height = static_cast<int>(height);
            bitmap.pixels.assign(static_cast<size_t>(width) * height, 0);
            ok = SUCCEEDED(converted.p->CopyPixels(nullptr, width * 4, width * height * 4,
                                                    reinterpret_cast<BYTE*>(bitmap.pixels.data())));
            for (uint32_t& p : bitmap.pixels) p |= 0xFF000000u;  // JPEG pixels are opaque
        }
    }
    if (SUCCEEDED(init)) CoUninitialize();
    return ok;
}

}  // namespace

void InstallWicJpegDecoder() { SetJpegDecoder(DecodeWithWic); }

}  // namespace swf
