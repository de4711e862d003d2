// The device-context entries of the pixel routine table and the msimg32 binding (see PixelRoutinesDC.h).
#include "skin/core/PixelRoutinesDC.h"

#include <cstdlib>
#include <optional>
#include <vector>

#include "classlib/GdiHandles.h"
#include "skin/core/SkinBitmap.h"

TStretchToDCFunc StretchToDCOpaqueFunc = Plain_StretchToDCOpaque;
TStretchToDCFunc StretchToDCAlphaBlendFunc = Plain_StretchToDCAlphaBlend;
TStretchToDCFunc StretchToDCTransparentFunc = Plain_StretchToDCTransparent;
TGetBitsFromDCFunc GetBitsFromDCFunc = Plain_GetBitsFromDC;
TTransparentBltProc TransparentBltFunc = nullptr;
TAlphaBlendProc AlphaBlendFunc = nullptr;

namespace {

// msimg32 stays loaded until program end; the module owner frees it then.
TModuleHandle& MsImgModule() {
    static TModuleHandle module;
    return module;
}

bool gMsImgLoaded = false;

// Major version in the low byte of the system version, minor in the next.
void GetWindowsVersion(int& major, int& minor) {
    const DWORD version = ::GetVersion();
    major = int(version & 0xFF);
    minor = int((version >> 8) & 0xFF);
}

bool CheckW2kWXP() {
    int major = 0, minor = 0;
    GetWindowsVersion(major, minor);
    return major > 5 || (major == 5 && minor >= 0 && minor <= 2);
}

template <typename Proc>
Proc BindProc(HMODULE module, const char* name) {
    return reinterpret_cast<Proc>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

}  // namespace

void SetupMsImg() {
    if (gMsImgLoaded || !CheckW2kWXP())
        return;
    MsImgModule().Reset(::LoadLibraryW(L"msimg32.dll"));
    if (!MsImgModule())
        return;
    TransparentBltFunc = BindProc<TTransparentBltProc>(MsImgModule().Get(), "TransparentBlt");
    AlphaBlendFunc = BindProc<TAlphaBlendProc>(MsImgModule().Get(), "AlphaBlend");
    gMsImgLoaded = true;
}

bool IsMsImg() {
    return gMsImgLoaded;
}

int GetCurrentColorDepth() {
    const TClientDC dc(nullptr);
    if (!dc.Get())
        return 0;
    return ::GetDeviceCaps(dc, BITSPIXEL) * ::GetDeviceCaps(dc, PLANES);
}

bool IsTrueColor() {
    return GetCurrentColorDepth() > 23;
}

void SetupFunctions() {
    StretchToDCOpaqueFunc = Plain_StretchToDCOpaque;
    StretchToDCAlphaBlendFunc = Plain_StretchToDCAlphaBlend;
    StretchToDCTransparentFunc =
        IsMsImg() && TransparentBltFunc && IsTrueColor() ? MsImg_StretchToDCTransparent : Plain_StretchToDCTransparent;
    GetBitsFromDCFunc = Plain_GetBitsFromDC;
}

namespace {

// Bound before main(), before any window exists.
const bool gDCTableReady = (SetupMsImg(), SetupFunctions(), true);

}  // namespace

void Plain_StretchToDCOpaque(HDC DC,
                             int DstX,
                             int DstY,
                             int DstW,
                             int DstH,
                             TbsBitmap* Src,
                             int SrcX,
                             int SrcY,
                             int SrcW,
                             int SrcH) {
    if (!Src || Src->Empty())
        return;
    ::SetStretchBltMode(DC, COLORONCOLOR);
    ::StretchBlt(DC, DstX, DstY, DstW, DstH, Src->DC(), SrcX, SrcY, SrcW, SrcH, SRCCOPY);
}

void Plain_StretchToDCAlphaBlend(HDC DC,
                                 int DstX,
                                 int DstY,
                                 int DstW,
                                 int DstH,
                                 TbsBitmap* Src,
                                 int SrcX,
                                 int SrcY,
                                 int SrcW,
                                 int SrcH) {
    // A mirrored or empty destination has nothing to blend into (the temporary surface cannot be negative).
    if (!Src || Src->Empty() || DstW <= 0 || DstH <= 0)
        return;
    TbsBitmap scratch;
    scratch.SetSize(DstW, DstH);
    ::BitBlt(scratch.DC(), 0, 0, DstW, DstH, DC, DstX, DstY, SRCCOPY);
    ::GdiFlush();
    Src->Draw(&scratch, TRect{0, 0, DstW, DstH}, TRect{SrcX, SrcY, SrcX + SrcW, SrcY + SrcH});
    ::BitBlt(DC, DstX, DstY, DstW, DstH, scratch.DC(), 0, 0, SRCCOPY);
}

void Plain_StretchToDCTransparent(HDC DC,
                                  int DstX,
                                  int DstY,
                                  int DstW,
                                  int DstH,
                                  TbsBitmap* Src,
                                  int SrcX,
                                  int SrcY,
                                  int SrcW,
                                  int SrcH) {
    Plain_StretchToDCAlphaBlend(DC, DstX, DstY, DstW, DstH, Src, SrcX, SrcY, SrcW, SrcH);
}

void MsImg_StretchToDCTransparent(HDC DC,
                                  int DstX,
                                  int DstY,
                                  int DstW,
                                  int DstH,
                                  TbsBitmap* Src,
                                  int SrcX,
                                  int SrcY,
                                  int SrcW,
                                  int SrcH) {
    if (!Src || Src->Empty() || !TransparentBltFunc)
        return;
    TransparentBltFunc(DC, DstX, DstY, DstW, DstH, Src->DC(), SrcX, SrcY, SrcW, SrcH, kTransparentKeyRGB);
}

namespace {

// The system describes every DIB section with a positive height, top-down ones included. Which way the rows of a 32-bit
// section run is found by marking the first pixel in memory and asking the system for the bottom image row: true for
// bottom-up, false for top-down, nullopt when the system does not answer.
std::optional<bool> RowsRunBottomUp(HDC DC, HBITMAP bitmap, std::uint32_t* bits, int width, int height) {
    if (height < 2)
        return true;  // one row reads the same both ways
    ::GdiFlush();
    const std::uint32_t saved = bits[0];
    const std::uint32_t lastRowFirst = bits[std::size_t(height - 1) * std::size_t(width)];
    std::uint32_t marker = saved ^ 0x00FFFFFF;
    if (((marker ^ lastRowFirst) & 0x00FFFFFF) == 0)
        marker = saved ^ 0x00FF00FF;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up request: scan line 0 is the bottom image row
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> line(static_cast<std::size_t>(width));
    bits[0] = marker;
    const int got = ::GetDIBits(DC, bitmap, 0, 1, line.data(), &info, DIB_RGB_COLORS);
    bits[0] = saved;
    if (got != 1)
        return std::nullopt;
    return ((line[0] ^ marker) & 0x00FFFFFF) == 0;
}

}  // namespace

void* Plain_GetBitsFromDC(HDC DC, int& Width, int& Height, int& BitCount) {
    Width = Height = BitCount = 0;
    HGDIOBJ bitmap = DC ? ::GetCurrentObject(DC, OBJ_BITMAP) : nullptr;
    if (!bitmap)
        return nullptr;
    // GetObject reports the size of a DIB section description only for DIB sections; its size depends on the pointer
    // width, so it is compared with the structure, not with a number.
    DIBSECTION section{};
    if (::GetObjectW(bitmap, sizeof(section), &section) != int(sizeof(section)) || !section.dsBm.bmBits)
        return nullptr;
    const int width = section.dsBm.bmWidth;
    int height = std::abs(int(section.dsBmih.biHeight));
    if (section.dsBmih.biBitCount == 32) {
        const std::optional<bool> bottomUp = RowsRunBottomUp(
            DC, static_cast<HBITMAP>(bitmap), static_cast<std::uint32_t*>(section.dsBm.bmBits), width, height);
        if (!bottomUp)
            return nullptr;
        if (!*bottomUp)
            height = -height;
    }
    Width = width;
    Height = height;
    BitCount = section.dsBmih.biBitCount;
    return section.dsBm.bmBits;
}
