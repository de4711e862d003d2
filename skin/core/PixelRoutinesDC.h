// The device-context entries of the pixel routine table: drawing a skin bitmap onto a GDI device context, finding the
// DIB selected into a DC, and the msimg32 binding (looked up by name at start, so that the program also runs where
// msimg32 is missing). Filled once at start (SetupMsImg, SetupFunctions), read-only afterwards; GUI thread. The pure
// routines of the table are in PixelRoutines.h.
#pragma once

#include <windows.h>

#include "skin/core/PixelRoutines.h"

class TbsBitmap;

// Src's area (SrcX, SrcY, SrcW, SrcH) drawn into (DstX, DstY, DstW, DstH) of DC.
using TStretchToDCFunc =
    void (*)(HDC DC, int DstX, int DstY, int DstW, int DstH, TbsBitmap* Src, int SrcX, int SrcY, int SrcW, int SrcH);
// The pixel memory of the DIB section selected into DC, with its width, signed height (positive: bottom-up rows) and
// bits per pixel; nullptr and zeros when DC holds no DIB section.
using TGetBitsFromDCFunc = void* (*)(HDC DC, int& Width, int& Height, int& BitCount);
using TTransparentBltProc = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);
using TAlphaBlendProc = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);

extern TStretchToDCFunc StretchToDCOpaqueFunc;
extern TStretchToDCFunc StretchToDCAlphaBlendFunc;
extern TStretchToDCFunc StretchToDCTransparentFunc;
extern TGetBitsFromDCFunc GetBitsFromDCFunc;
// Entry points of msimg32.dll; nullptr while it is not loaded. Only TransparentBltFunc is called.
extern TTransparentBltProc TransparentBltFunc;
extern TAlphaBlendProc AlphaBlendFunc;

// Stretch mode COLORONCOLOR, then a stretched SRCCOPY from Src's device context.
void Plain_StretchToDCOpaque(HDC DC,
                             int DstX,
                             int DstY,
                             int DstW,
                             int DstH,
                             TbsBitmap* Src,
                             int SrcX,
                             int SrcY,
                             int SrcW,
                             int SrcH);
// The destination area is copied into a temporary bitmap, Src is drawn into it by its own flags, and the result is
// copied back: blending and key skipping happen in the pixel routines, not in GDI.
void Plain_StretchToDCAlphaBlend(HDC DC,
                                 int DstX,
                                 int DstY,
                                 int DstW,
                                 int DstH,
                                 TbsBitmap* Src,
                                 int SrcX,
                                 int SrcY,
                                 int SrcW,
                                 int SrcH);
void Plain_StretchToDCTransparent(HDC DC,
                                  int DstX,
                                  int DstY,
                                  int DstW,
                                  int DstH,
                                  TbsBitmap* Src,
                                  int SrcX,
                                  int SrcY,
                                  int SrcW,
                                  int SrcH);
// msimg32's TransparentBlt with the transparent key's colour.
void MsImg_StretchToDCTransparent(HDC DC,
                                  int DstX,
                                  int DstY,
                                  int DstW,
                                  int DstH,
                                  TbsBitmap* Src,
                                  int SrcX,
                                  int SrcY,
                                  int SrcW,
                                  int SrcH);
void* Plain_GetBitsFromDC(HDC DC, int& Width, int& Height, int& BitCount);

// Windows 2000 or later: loads msimg32.dll and binds its entry points.
void SetupMsImg();
// msimg32.dll has been loaded.
bool IsMsImg();
// Bits per pixel times planes of the screen; IsTrueColor: above 23.
int GetCurrentColorDepth();
bool IsTrueColor();
// Fills the device-context entries (TransparentBlt when msimg32 is loaded and the screen is true colour).
void SetupFunctions();
