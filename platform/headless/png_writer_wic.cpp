// PNG snapshots in the Windows edition: the platform's imaging component (WIC)
// encodes the pixels into memory, and the C library writes the file, so a
// failure is reported with the same words as in the Linux edition.
#include <objbase.h>
#include <wincodec.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "png_writer.h"

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

struct FileCloser {
    void operator()(FILE* f) const {
        std::fclose(f);
    }
};

// Rows of 8-bit blue, green, red: the imaging component's 24bppBGR.
std::vector<BYTE> bgr_pixels(const raster::Surface& s) {
    const auto w = static_cast<size_t>(s.size().w);
    std::vector<BYTE> out(w * 3 * static_cast<size_t>(s.size().h));
    BYTE* at = out.data();
    for (int32_t y = 0; y < s.size().h; ++y) {
        const uint32_t* px = s.row(y);
        for (size_t x = 0; x < w; ++x) {
            *at++ = static_cast<BYTE>(px[x]);
            *at++ = static_cast<BYTE>(px[x] >> 8);
            *at++ = static_cast<BYTE>(px[x] >> 16);
        }
    }
    return out;
}

bool encode_frame(IWICBitmapEncoder* encoder, const raster::Surface& s) {
    ComPtr<IWICBitmapFrameEncode> frame;
    if (FAILED(encoder->CreateNewFrame(frame.out(), nullptr)) || FAILED(frame->Initialize(nullptr)))
        return false;
    const auto w = static_cast<UINT>(s.size().w);
    const auto h = static_cast<UINT>(s.size().h);
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(frame->SetSize(w, h)) || FAILED(frame->SetPixelFormat(&format))) return false;
    if (!IsEqualGUID(format, GUID_WICPixelFormat24bppBGR)) return false;
    std::vector<BYTE> pixels = bgr_pixels(s);
    if (FAILED(frame->WritePixels(h, w * 3, static_cast<UINT>(pixels.size()), pixels.data()))) return false;
    return SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

// The PNG file's bytes, or nothing when the component is missing or refuses.
std::vector<char> encode_png(const raster::Surface& s) {
    const HRESULT init = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (FAILED(init) && init != RPC_E_CHANGED_MODE) return {};
    std::vector<char> bytes;
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
                const auto* data = static_cast<const char*>(GlobalLock(memory));
                if (data) bytes.assign(data, data + stat.cbSize.QuadPart);
                GlobalUnlock(memory);
            }
        }
    }
    if (SUCCEEDED(init)) CoUninitialize();
    return bytes;
}

}  // namespace

bool write_png(const std::string& path, const raster::Surface& pixels, std::string& error) {
    if (pixels.size().w <= 0 || pixels.size().h <= 0) {
        error = "cannot write " + path + ": the window has no pixels";
        return false;
    }
    std::unique_ptr<FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    const std::vector<char> png = encode_png(pixels);
    if (png.empty() || std::fwrite(png.data(), 1, png.size(), file.get()) != png.size() ||
        std::fclose(file.release()) != 0) {
        error = "cannot write " + path + ": the PNG could not be encoded or stored";
        return false;
    }
    return true;
}

}  // namespace morlu::platform
