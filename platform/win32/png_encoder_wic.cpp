// PNG pictures encoded into memory by the platform's imaging component (WIC):
// the Windows edition's PNG encoder.
#include <objbase.h>
#include <wincodec.h>

#include "../headless/png_encoder.h"

namespace morlu::platform {
namespace {

// Releases a COM interface when it goes out of scope.
template <typename T>
struct ComPtr {
    T* p = nullptr;
    ~ComPtr() {
        if (p) p->Release();
    }
    T** out() {
        return &p;
    }
    T* operator->() const {
        return p;
    }
};

// Rows of 8-bit blue, green, red: the imaging component's 24bppBGR.
std::vector<BYTE> bgr_pixels(const PixelRows& s) {
    const auto w = static_cast<size_t>(s.width);
    std::vector<BYTE> out(w * 3 * static_cast<size_t>(s.height));
    BYTE* at = out.data();
    for (int32_t y = 0; y < s.height; ++y) {
        const uint32_t* px = s.row(y);
        for (size_t x = 0; x < w; ++x) {
            *at++ = static_cast<BYTE>(px[x]);
            *at++ = static_cast<BYTE>(px[x] >> 8);
            *at++ = static_cast<BYTE>(px[x] >> 16);
        }
    }
    return out;
}

bool encode_frame(IWICBitmapEncoder* encoder, const PixelRows& s) {
    ComPtr<IWICBitmapFrameEncode> frame;
    if (FAILED(encoder->CreateNewFrame(frame.out(), nullptr)) || FAILED(frame->Initialize(nullptr)))
        return false;
    const auto w = static_cast<UINT>(s.width);
    const auto h = static_cast<UINT>(s.height);
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(frame->SetSize(w, h)) || FAILED(frame->SetPixelFormat(&format))) return false;
    if (!IsEqualGUID(format, GUID_WICPixelFormat24bppBGR)) return false;
    std::vector<BYTE> pixels = bgr_pixels(s);
    if (FAILED(frame->WritePixels(h, w * 3, static_cast<UINT>(pixels.size()), pixels.data()))) return false;
    return SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

}  // namespace

// Nothing when the component is missing or refuses.
std::vector<uint8_t> encode_png(const PixelRows& s) {
    const HRESULT init = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (FAILED(init) && init != RPC_E_CHANGED_MODE) return {};
    std::vector<uint8_t> bytes;
    {
        ComPtr<IWICImagingFactory> factory;
        ComPtr<IStream> stream;
        ComPtr<IWICBitmapEncoder> encoder;
        if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_IWICImagingFactory, reinterpret_cast<void**>(factory.out()))) &&
            SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, stream.out())) &&
            SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.out())) &&
            SUCCEEDED(encoder->Initialize(stream.p, WICBitmapEncoderNoCache)) && encode_frame(encoder.p, s)) {
            STATSTG stat{};
            HGLOBAL memory = nullptr;
            if (SUCCEEDED(stream->Stat(&stat, STATFLAG_NONAME)) &&
                SUCCEEDED(GetHGlobalFromStream(stream.p, &memory))) {
                const auto* data = static_cast<const uint8_t*>(GlobalLock(memory));
                if (data) bytes.assign(data, data + stat.cbSize.QuadPart);
                GlobalUnlock(memory);
            }
        }
    }
    if (SUCCEEDED(init)) CoUninitialize();
    return bytes;
}

}  // namespace morlu::platform
