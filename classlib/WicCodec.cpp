// WIC glue: COM scope, decode and encode.
#include <windows.h>

#include <initguid.h>
#include <objbase.h>
#include <wincodec.h>

#include <cstring>
#include <new>

#include "base/ComPtr.h"
#include "classlib/SysUtils.h"
#include "classlib/WicCodec.h"

namespace {

constexpr int kMaxSide = 16384;
constexpr unsigned long long kMaxPixels = 64ull * 1024 * 1024;  // 256 MB at 32 bits: more is an attack

class TComScope {
  public:
    TComScope() : hr_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~TComScope() {
        if (SUCCEEDED(hr_))
            ::CoUninitialize();
    }
    TComScope(const TComScope&) = delete;
    TComScope& operator=(const TComScope&) = delete;

  private:
    HRESULT hr_;  // RPC_E_CHANGED_MODE: COM is already up in another mode, which is fine for WIC
};

[[noreturn]] void BadImage() {
    throw EInvalidGraphic(L"Unsupported image format or damaged image data");
}

void Check(HRESULT hr) {
    if (hr == E_OUTOFMEMORY)
        throw EOutOfMemory(L"Out of memory");
    if (FAILED(hr))
        BadImage();
}

void CreateFactory(TComPtr<IWICImagingFactory>& factory) {
    Check(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                             reinterpret_cast<void**>(factory.Put())));
}

bool FormatHasAlpha(IWICImagingFactory* factory, const WICPixelFormatGUID& format) {
    TComPtr<IWICComponentInfo> info;
    if (FAILED(factory->CreateComponentInfo(format, info.Put())))
        return false;
    TComPtr<IWICPixelFormatInfo2> pf;
    if (FAILED(info->QueryInterface(IID_IWICPixelFormatInfo2, reinterpret_cast<void**>(pf.Put()))))
        return false;
    BOOL alpha = FALSE;
    if (FAILED(pf->SupportsTransparency(&alpha)))
        return false;
    return alpha != FALSE;
}

}  // namespace

TDecodedImage DecodeImage(const void* data, size_t size) {
    if (!data || size == 0 || size > 0x7FFFFFFF)
        BadImage();
    TComScope com;
    TComPtr<IWICImagingFactory> factory;
    CreateFactory(factory);
    TComPtr<IWICStream> stream;
    Check(factory->CreateStream(stream.Put()));
    Check(stream->InitializeFromMemory(static_cast<BYTE*>(const_cast<void*>(data)), static_cast<DWORD>(size)));
    TComPtr<IWICBitmapDecoder> decoder;
    Check(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.Put()));
    TComPtr<IWICBitmapFrameDecode> frame;
    Check(decoder->GetFrame(0, frame.Put()));
    UINT w = 0, h = 0;
    Check(frame->GetSize(&w, &h));
    if (w == 0 || h == 0)
        BadImage();
    if (w > kMaxSide || h > kMaxSide || static_cast<unsigned long long>(w) * h > kMaxPixels)
        throw EOutOfMemory(L"Out of memory");
    WICPixelFormatGUID native{};
    Check(frame->GetPixelFormat(&native));

    TDecodedImage img;
    img.Width = static_cast<int>(w);
    img.Height = static_cast<int>(h);
    IWICBitmapSource* source = frame.Get();
    TComPtr<IWICFormatConverter> converter;
    bool packTo24 = false;
    if (IsEqualGUID(native, GUID_WICPixelFormat24bppBGR)) {
        img.BitsPerPixel = 24;
    } else if (IsEqualGUID(native, GUID_WICPixelFormat32bppBGR)) {
        img.BitsPerPixel = 32;  // copied as stored: the fourth byte is kept
    } else if (IsEqualGUID(native, GUID_WICPixelFormat32bppBGRA)) {
        img.BitsPerPixel = 32;
        img.HasAlpha = true;
    } else {
        // Everything else goes through 32-bit BGRA, the one target every WIC converter supports (Wine's cannot
        // turn grey or palette images into 24-bit BGR); without alpha the result is packed to 24 bits below.
        img.HasAlpha = FormatHasAlpha(factory.Get(), native);
        img.BitsPerPixel = 32;
        Check(factory->CreateFormatConverter(converter.Put()));
        Check(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                    WICBitmapPaletteTypeCustom));
        source = converter.Get();
        packTo24 = true;
    }
    img.Stride = ((img.Width * img.BitsPerPixel + 31) / 32) * 4;
    try {
        img.Pixels.resize(static_cast<size_t>(img.Stride) * static_cast<size_t>(img.Height));
    } catch (const std::bad_alloc&) {
        throw EOutOfMemory(L"Out of memory");
    }
    Check(source->CopyPixels(nullptr, static_cast<UINT>(img.Stride), static_cast<UINT>(img.Pixels.size()),
                             img.Pixels.data()));
    if (packTo24) {
        // Palette transparency is not always announced by the format: look at the pixels.
        for (size_t i = 3; i < img.Pixels.size() && !img.HasAlpha; i += 4)
            img.HasAlpha = img.Pixels[i] != 255;
        if (!img.HasAlpha) {
            const int stride24 = ((img.Width * 24 + 31) / 32) * 4;
            std::vector<std::uint8_t> packed(static_cast<size_t>(stride24) * img.Height);
            for (int y = 0; y < img.Height; ++y) {
                const std::uint8_t* src = img.Pixels.data() + static_cast<size_t>(y) * img.Stride;
                std::uint8_t* dst = packed.data() + static_cast<size_t>(y) * stride24;
                for (int x = 0; x < img.Width; ++x, src += 4, dst += 3) {
                    dst[0] = src[0];
                    dst[1] = src[1];
                    dst[2] = src[2];
                }
            }
            img.Pixels.swap(packed);
            img.Stride = stride24;
            img.BitsPerPixel = 24;
        }
    }
    return img;
}

std::string EncodePng(const std::uint32_t* pixels, int width, int height) {
    if (!pixels || width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide)
        BadImage();
    TComScope com;
    TComPtr<IWICImagingFactory> factory;
    CreateFactory(factory);
    TComPtr<IStream> memory;
    Check(::CreateStreamOnHGlobal(nullptr, TRUE, memory.Put()));
    TComPtr<IWICBitmapEncoder> encoder;
    Check(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Put()));
    Check(encoder->Initialize(memory.Get(), WICBitmapEncoderNoCache));
    TComPtr<IWICBitmapFrameEncode> frame;
    Check(encoder->CreateNewFrame(frame.Put(), nullptr));
    Check(frame->Initialize(nullptr));
    Check(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height)));
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    Check(frame->SetPixelFormat(&format));
    if (!IsEqualGUID(format, GUID_WICPixelFormat32bppBGRA))
        BadImage();
    UINT stride = static_cast<UINT>(width) * 4;
    Check(frame->WritePixels(static_cast<UINT>(height), stride, stride * static_cast<UINT>(height),
                             reinterpret_cast<BYTE*>(const_cast<std::uint32_t*>(pixels))));
    Check(frame->Commit());
    Check(encoder->Commit());
    STATSTG stat{};
    Check(memory->Stat(&stat, STATFLAG_NONAME));
    std::string out(static_cast<size_t>(stat.cbSize.QuadPart), '\0');
    LARGE_INTEGER zero{};
    Check(memory->Seek(zero, STREAM_SEEK_SET, nullptr));
    ULONG read = 0;
    Check(memory->Read(out.data(), static_cast<ULONG>(out.size()), &read));
    out.resize(read);
    return out;
}
