#include "skin/core/BitmapLinks.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "classlib/SysUtils.h"
#include "skin/core/PixelRoutines.h"
#include "skin/core/SkinBitmap.h"

namespace {

std::int32_t ReadInt(TStream* Stream) {
    std::int32_t v = 0;
    Stream->ReadBuffer(&v, 4);
    return v;
}

void WriteInt(TStream* Stream, std::int32_t v) {
    Stream->WriteBuffer(&v, 4);
}

std::int64_t Remaining(TStream* Stream) {
    return Stream->Size() - Stream->Position();
}

}  // namespace

// ---- Text helpers ---------------------------------------------------------------------------------------------------

std::wstring ReadString(TStream* Stream) {
    const std::int32_t n = ReadInt(Stream);
    if (n < 0 || std::int64_t(n) * 2 > Remaining(Stream))
        throw EReadError(L"Stream read error");
    std::vector<std::uint16_t> chars(static_cast<std::size_t>(n));
    if (n > 0)
        Stream->ReadBuffer(chars.data(), n * 2);
    return std::wstring(chars.begin(), chars.end());
}

void WriteString(TStream* Stream, const std::wstring& S) {
    WriteInt(Stream, static_cast<std::int32_t>(S.size()));
    std::vector<std::uint16_t> chars(S.begin(), S.end());
    if (!chars.empty())
        Stream->WriteBuffer(chars.data(), static_cast<std::int32_t>(chars.size() * 2));
}

std::wstring GetToken(std::wstring& S) {
    static const std::wstring kDelimiters = L" (),:;=";
    const std::size_t at = S.find_first_of(kDelimiters);
    std::wstring token = at == std::wstring::npos ? S : S.substr(0, at);
    S = at == std::wstring::npos ? std::wstring() : S.substr(at + 1);
    S = Trim(S);
    return Trim(token);
}

TRect StringToRect(const std::wstring& S) {
    std::wstring rest = Trim(S);
    int v[4];
    for (int& x : v)
        if (!TryStrToInt(GetToken(rest), x))
            return TRect{};
    return TRect{v[0], v[1], v[2], v[3]};
}

// ---- TbsBitmap: stream, PCX, resource -------------------------------------------------------------------------------

void TbsBitmap::SaveToStream(TStream* Stream) {
    WriteString(Stream, Name);
    WriteInt(Stream, FWidth);
    WriteInt(Stream, FHeight);
    if (!Empty())
        Stream->WriteBuffer(FBits, FWidth * FHeight * 4);
}

void TbsBitmap::LoadFromStream(TStream* Stream) {
    const std::wstring name = ReadString(Stream);
    const std::int32_t w = ReadInt(Stream);
    const std::int32_t storedHeight = ReadInt(Stream);
    const std::int64_t h = storedHeight <= 0 ? -std::int64_t(storedHeight) : storedHeight;
    // The stored size must fit the stream before anything changes.
    if (w < 0 || std::int64_t(w) * h * 4 > Remaining(Stream))
        throw EReadError(L"Stream read error");
    Name = name;
    if (w == 0 || h == 0)
        return;
    SetSize(w, static_cast<int>(h));
    if (FWidth != w || FHeight != h)
        throw EReadError(L"Stream read error");
    Stream->ReadBuffer(FBits, static_cast<std::int32_t>(std::int64_t(w) * h * 4));
    if (storedHeight <= 0)
        FlipVert();
}

namespace {

// The 16 colours of the system palette, for PCX files of version 3.
constexpr std::uint32_t kSystemPalette16[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                                0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                                0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};  // 0xRRGGBB

std::uint16_t Le16(const std::uint8_t* p) {
    return std::uint16_t(p[0] | (p[1] << 8));
}

}  // namespace

void TbsBitmap::LoadFromPcxStream(TStream* Stream) {
    const std::int64_t start = Stream->Position();
    std::uint8_t header[128];
    if (Remaining(Stream) < 128)
        return;
    Stream->ReadBuffer(header, 128);
    if (header[0] != 10 && header[0] != 205) {
        Stream->Seek(start, soBeginning);
        return;
    }
    const int version = header[1], encoding = header[2], planes = header[65];
    const int width = Le16(header + 8) - Le16(header + 4) + 1;
    const int height = Le16(header + 10) - Le16(header + 6) + 1;
    const int bytesPerLine = Le16(header + 66);
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384 || std::int64_t(width) * height > (64 << 20))
        throw EInvalidGraphic(L"Unsupported image format or damaged image data");
    std::uint32_t palette[256] = {};
    const std::int64_t dataStart = Stream->Position();
    if (version != 3) {
        if (Stream->Size() - 768 >= dataStart) {
            std::uint8_t rgb[768];
            Stream->Seek(Stream->Size() - 768, soBeginning);
            Stream->ReadBuffer(rgb, 768);
            for (int i = 0; i < 256; ++i)
                palette[i] = (std::uint32_t(rgb[3 * i]) << 16) | (std::uint32_t(rgb[3 * i + 1]) << 8) | rgb[3 * i + 2];
        }
    } else {
        std::copy(std::begin(kSystemPalette16), std::end(kSystemPalette16), palette);
    }
    Stream->Seek(dataStart, soBeginning);
    std::vector<std::uint8_t> input(static_cast<std::size_t>(std::max<std::int64_t>(0, Remaining(Stream))));
    if (!input.empty())
        Stream->ReadBuffer(input.data(), static_cast<std::int32_t>(input.size()));
    const std::size_t line = std::size_t(planes) * bytesPerLine;
    std::vector<std::uint8_t> decoded(line * height, 0);
    if (encoding == 1) {
        std::size_t in = 0, out = 0;
        while (out < decoded.size() && in < input.size()) {
            const std::uint8_t b = input[in++];
            if (b < 192) {
                decoded[out++] = b;
                continue;
            }
            if (in >= input.size())
                break;
            const std::uint8_t value = input[in++];
            const std::size_t count = std::min<std::size_t>(b & 0x3F, decoded.size() - out);
            std::fill_n(decoded.begin() + std::ptrdiff_t(out), count, value);
            out += count;
        }
    } else {
        std::copy_n(input.begin(), std::min(input.size(), decoded.size()), decoded.begin());
    }
    SetSize(width, height);
    if (FWidth != width || FHeight != height)
        return;
    for (int y = 0; y < height; ++y) {
        std::uint32_t* row = GetScanLine(y);
        const std::uint8_t* src = decoded.data() + std::size_t(y) * line;
        for (int x = 0; x < width; ++x)
            row[x] = 0xFF000000u | palette[std::size_t(x) < line ? src[x] : 0];
    }
}

void TbsBitmap::LoadFromResource(const std::wstring& ResFileName, const std::wstring& ResName) {
    HMODULE module = ::LoadLibraryExW(ResFileName.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return;
    struct TModuleGuard {
        HMODULE m;
        ~TModuleGuard() { ::FreeLibrary(m); }
    } guard{module};
    HRSRC res = ::FindResourceW(module, ResName.c_str(), MAKEINTRESOURCEW(2) /* RT_BITMAP */);
    if (!res)
        return;
    HGLOBAL data = ::LoadResource(module, res);
    const auto* info = data ? static_cast<const BITMAPINFOHEADER*>(::LockResource(data)) : nullptr;
    if (!info || ::SizeofResource(module, res) < sizeof(BITMAPINFOHEADER))
        return;
    TBitmap bitmap;
    if (info->biBitCount == 32) {
        bitmap.LoadFromResourceName(module, ResName);
    } else if (HBITMAP h = static_cast<HBITMAP>(
                   ::LoadImageW(module, ResName.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))) {
        bitmap.SetHandle(h);
    } else {
        bitmap.LoadFromResourceName(module, ResName);
    }
    Assign(&bitmap);
}

// ---- TbsBitmapLink --------------------------------------------------------------------------------------------------

void TbsBitmapLink::Assign(TPersistent* Source) {
    if (auto* other = dynamic_cast<TbsBitmapLink*>(Source)) {
        FImage = other->FImage;
        FRect = other->FRect;
        FName = other->FName;
        FMasked = other->FMasked;
        FMaskedBorder = other->FMaskedBorder;
        FMaskedAngles = other->FMaskedAngles;
        return;
    }
    TPersistent::Assign(Source);
}

bool TbsBitmapLink::Assigned() const {
    return FImage && !FImage->Empty() && FRect.Width() > 0 && FRect.Height() > 0;
}

void TbsBitmapLink::Draw(TbsBitmap* Bitmap, int X, int Y) {
    if (Assigned())
        FImage->Draw(Bitmap, X, Y, FRect);
}

void TbsBitmapLink::Draw(TCanvas* Canvas, int X, int Y) {
    if (Assigned())
        FImage->Draw(Canvas, X, Y, FRect);
}

namespace {

bool IsMaskedPixel(std::uint32_t v) {
    return v != 0x33333333u && ((v & 0xFFFFFF) == kTransparentKeyRGB || (v >> 24) < 255);
}

bool In(const TRect& r, int x, int y) {
    return r.Contains({x, y});
}

}  // namespace

void TbsBitmapLink::CheckingMasked() {
    CheckingMasked(TRect{});
}

void TbsBitmapLink::CheckingMasked(const TRect& Margin) {
    FMasked = FMaskedBorder = FMaskedAngles = false;
    if (!FImage)
        return;
    const bool noMargins = Margin == TRect{};
    // Placed relative to the rectangle's top-left, so the part rectangles use its width and height.
    const int W = FRect.Width(), H = FRect.Height();
    const int L = Margin.Left, T = Margin.Top, R = Margin.Right, B = Margin.Bottom;
    const TRect corners[4] = {{0, 0, L, T}, {W - R, 0, W, T}, {W - R, H - B, W, H}, {0, H - B, L, H}};
    const TRect edges[4] = {{L, 0, W - R, T}, {L, H - B, W - R, H}, {0, T, L, H - B}, {W - R, T, W, H - B}};
    const TRect inner{L, T, W - R, H - B};
    for (int x = FRect.Left; x < FRect.Right; ++x)
        for (int y = FRect.Top; y < FRect.Bottom; ++y) {
            if (!IsMaskedPixel(FImage->GetPixel(x, y)))
                continue;
            if (noMargins) {
                FMasked = true;
                break;
            }
            const int px = x - FRect.Left, py = y - FRect.Top;
            for (const TRect& c : corners)
                FMaskedAngles = FMaskedAngles || In(c, px, py);
            for (const TRect& e : edges)
                FMaskedBorder = FMaskedBorder || In(e, px, py);
            FMasked = FMasked || In(inner, px, py);
        }
}

void TbsBitmapLink::LoadFromStream(TStream* Stream) {
    FName = ReadString(Stream);
    TRect r;
    r.Left = ReadInt(Stream);
    r.Top = ReadInt(Stream);
    r.Right = ReadInt(Stream);
    r.Bottom = ReadInt(Stream);
    FRect = r;
}

void TbsBitmapLink::SaveToStream(TStream* Stream) {
    WriteString(Stream, FName);
    WriteInt(Stream, FRect.Left);
    WriteInt(Stream, FRect.Top);
    WriteInt(Stream, FRect.Right);
    WriteInt(Stream, FRect.Bottom);
}

std::unique_ptr<TbsBitmapLink> GetBitmapLink(TbsBitmap* Bitmap, const TRect& Rect) {
    auto link = std::make_unique<TbsBitmapLink>();
    link->SetImage(Bitmap);
    link->SetRect(Rect);
    if (Bitmap)
        link->SetName(Bitmap->Name);
    return link;
}

std::unique_ptr<TbsBitmapLink> GetBitmapLink(TbsBitmap* Bitmap, const std::wstring& RectText) {
    return GetBitmapLink(Bitmap, StringToRect(RectText));
}
