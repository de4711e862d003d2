// Nine-part skin images and window regions. A rectangle R of a skin picture is cut into corners, edges and a client
// area; the routines here compose an image of any size from it (corners copied, edges and client stretched or tiled,
// the last tile cut at the end of its span), strips of three parts or only the middle, the four frame borders on their
// own, and the same geometry on a black-and-white mask turned into a window region (one rectangle per horizontal run of
// black pixels).
//
// Every routine is split into a plan and its execution: the Plan* functions are pure geometry and return the list of
// slice copies (source in R's coordinates -> target), which tests read as data; ExecutePlan carries a plan out. A copy
// whose source and target sizes differ stretches by nearest neighbour (positions truncated) when both bitmaps are
// 32-bit, else by GDI's StretchBlt in COLORONCOLOR mode (also nearest neighbour, no blending of shrunk rows), so
// shrunk pixels are whichever source pixel the sampling picks.
//
// Choices the geometry leaves open: a slice of length 0 skips its band (there is nothing to repeat), a span that ends
// before it starts draws nothing, and tiles of length 0 are left out of the plan. GUI thread only (the bitmaps).
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "classlib/GdiHandles.h"
#include "classlib/Graphics.h"
#include "classlib/Types.h"
#include "skin/core/PixelView.h"
#include "skin/core/SkinTypes.h"

// One copy: Src (relative to the source rectangle R) into Dst (in the target bitmap); scaled when the sizes differ.
struct TSliceCopy {
    TRect Src;
    TRect Dst;
    friend bool operator==(const TSliceCopy&, const TSliceCopy&) = default;
};
using TCopyPlan = std::vector<TSliceCopy>;

// The geometry of a nine-part picture: four corner points and the client rectangle.
struct TNinePart {
    TPoint LTPt, RTPt, LBPt, RBPt;
    TRect ClRect;
};

struct TNinePartFlags {
    bool DrawClient = true;
    bool LeftStretch = false;
    bool TopStretch = false;
    bool RightStretch = false;
    bool BottomStretch = false;
    bool StretchEffect = false;
    TbsStretchType StretchType = bsstFull;
};

// A bitmap to be made: its size and its copies (Made false: the bitmap is left untouched).
struct TBandPlan {
    bool Made = false;
    int Width = 0;
    int Height = 0;
    TCopyPlan Copies;
};

// ---- Plans (pure) ---------------------------------------------------------------------------------------------------
// Tiles of slice across x = A .. E (the band's rows Top .. Bottom), or down y = A .. E (columns Left .. Right).
void PlanHTile(TCopyPlan& Plan, const TRect& Slice, int A, int E, int Top, int Bottom);
void PlanVTile(TCopyPlan& Plan, const TRect& Slice, int A, int E, int Left, int Right);

// Empty when RBPt shares its x or its y with LTPt (the image is only sized). Rw, Rh: size of R; W, H: target size.
TCopyPlan
PlanSkinImage(const TNinePart& Src, const TNinePart& New, int Rw, int Rh, int W, int H, const TNinePartFlags& Flags);
// Without the right edge and right corners: the top, bottom and client areas run to the right side W.
TCopyPlan
PlanSkinImage2(const TNinePart& Src, const TNinePart& New, int Rw, int Rh, int W, int H, const TNinePartFlags& Flags);
// The target geometry CreateStretchImage uses: corners anchored to the nearest edges of a W x H image.
TNinePart StretchImageGeometry(const TRect& ClRect, int Rw, int Rh, int W, int H);
TCopyPlan PlanHSkinImage(int LO, int RO, int Rw, int Rh, int W, bool Stretch);
TCopyPlan PlanHSkinImage2(int LO, int RO, int Rw, int Rh, int W, bool Stretch);
TCopyPlan PlanHSkinMiddleImage(int LO, int RO, int Rw, int Rh, int W, bool Stretch);
TCopyPlan PlanVSkinImage(int TO, int BO, int Rw, int Rh, int H, bool Stretch);
// Bands in the order Left, Top, Right, Bottom. OldTopHeight, OldBottomHeight: the heights the top and bottom bitmaps
// have before the call (they count when those bands are not made).
struct TBorderPlans {
    TBandPlan Left, Top, Right, Bottom;
};
TBorderPlans PlanSkinBorderImages(const TNinePart& Src,
                                  const TNinePart& New,
                                  int Rw,
                                  int Rh,
                                  int W,
                                  int H,
                                  bool LeftStretch,
                                  bool TopStretch,
                                  bool RightStretch,
                                  bool BottomStretch,
                                  int OldTopHeight,
                                  int OldBottomHeight);
// The four border bands of a mask of MaskW x MaskH (all tiled); coordinates relative to the mask.
TBorderPlans PlanSkinMask(const TNinePart& Src, const TNinePart& New, int MaskW, int MaskH, int W);

// ---- Execution ------------------------------------------------------------------------------------------------------
// Carries out Plan from rectangle R of SB into B (which keeps its size).
void ExecutePlan(TBitmap* B, TBitmap* SB, const TRect& R, const TCopyPlan& Plan);

// ---- The routines -------------------------------------------------------------------------------------------------
void CreateSkinImage(const TPoint& LTPt,
                     const TPoint& RTPt,
                     const TPoint& LBPt,
                     const TPoint& RBPt,
                     const TRect& ClRect,
                     const TPoint& NewLTPoint,
                     const TPoint& NewRTPoint,
                     const TPoint& NewLBPoint,
                     const TPoint& NewRBPoint,
                     const TRect& NewClRect,
                     TBitmap* B,
                     TBitmap* SB,
                     const TRect& R,
                     int W,
                     int H,
                     bool DrawClient,
                     bool LeftStretch,
                     bool TopStretch,
                     bool RightStretch,
                     bool BottomStretch,
                     bool StretchEffect,
                     TbsStretchType StretchType);
// The popup menu windows' entry: the same.
void CreateSkinImageBS(const TPoint& LTPt,
                       const TPoint& RTPt,
                       const TPoint& LBPt,
                       const TPoint& RBPt,
                       const TRect& ClRect,
                       const TPoint& NewLTPoint,
                       const TPoint& NewRTPoint,
                       const TPoint& NewLBPoint,
                       const TPoint& NewRBPoint,
                       const TRect& NewClRect,
                       TBitmap* B,
                       TBitmap* SB,
                       const TRect& R,
                       int W,
                       int H,
                       bool DrawClient,
                       bool LeftStretch,
                       bool TopStretch,
                       bool RightStretch,
                       bool BottomStretch,
                       bool StretchEffect,
                       TbsStretchType StretchType);
void CreateSkinImage2(const TPoint& LTPt,
                      const TPoint& RTPt,
                      const TPoint& LBPt,
                      const TPoint& RBPt,
                      const TRect& ClRect,
                      const TPoint& NewLTPoint,
                      const TPoint& NewRTPoint,
                      const TPoint& NewLBPoint,
                      const TPoint& NewRBPoint,
                      const TRect& NewClRect,
                      TBitmap* B,
                      TBitmap* SB,
                      const TRect& R,
                      int W,
                      int H,
                      bool DrawClient,
                      bool LeftStretch,
                      bool TopStretch,
                      bool RightStretch,
                      bool BottomStretch,
                      bool StretchEffect,
                      TbsStretchType StretchType);
void CreateStretchImage(TBitmap* B, TBitmap* SB, const TRect& R, const TRect& ClRect, bool DrawClient);
void CreateHSkinImage(int LO, int RO, TBitmap* B, TBitmap* SB, const TRect& R, int W, int H, bool Stretch);
void CreateHSkinImage2(int LO, int RO, TBitmap* B, TBitmap* SB, const TRect& R, int W, int H, bool Stretch);
void CreateHSkinMiddleImage(int LO, int RO, TBitmap* B, TBitmap* SB, const TRect& R, int W, int H, bool Stretch);
void CreateVSkinImage(int TO, int BO, TBitmap* B, TBitmap* SB, const TRect& R, int W, int H, bool Stretch);
void CreateSkinBorderImages(const TPoint& LTPt,
                            const TPoint& RTPt,
                            const TPoint& LBPt,
                            const TPoint& RBPt,
                            const TRect& ClRect,
                            const TPoint& NewLTPoint,
                            const TPoint& NewRTPoint,
                            const TPoint& NewLBPoint,
                            const TPoint& NewRBPoint,
                            const TRect& NewClRect,
                            TBitmap* LeftB,
                            TBitmap* TopB,
                            TBitmap* RightB,
                            TBitmap* BottomB,
                            TBitmap* SB,
                            const TRect& R,
                            int W,
                            int H,
                            bool LeftStretch,
                            bool TopStretch,
                            bool RightStretch,
                            bool BottomStretch);
void CreateSkinMask(const TPoint& LTPt,
                    const TPoint& RTPt,
                    const TPoint& LBPt,
                    const TPoint& RBPt,
                    const TRect& ClRect,
                    const TPoint& NewLTPoint,
                    const TPoint& NewRTPoint,
                    const TPoint& NewLBPoint,
                    const TPoint& NewRBPoint,
                    const TRect& NewClRect,
                    TBitmap* Mask,
                    TBitmap* TopMask,
                    TBitmap* LeftMask,
                    TBitmap* RightMask,
                    TBitmap* BottomMask,
                    int W,
                    int H);
// Rgn: empty when there is no region.
void CreateSkinRegion(TGdiRegion& Rgn,
                      const TPoint& LTPt,
                      const TPoint& RTPt,
                      const TPoint& LBPt,
                      const TPoint& RBPt,
                      const TRect& ClRect,
                      const TPoint& NewLTPoint,
                      const TPoint& NewRTPoint,
                      const TPoint& NewLBPoint,
                      const TPoint& NewRBPoint,
                      const TRect& NewClRect,
                      TBitmap* Mask,
                      int W,
                      int H);
void CreateSkinSimplyRegion(TGdiRegion& Rgn, TBitmap* Mask);

// ---- Masks to regions -----------------------------------------------------------------------------------------------
// The runs of black pixels (blue, green and red all 0), row by row from the top, each as a one-row rectangle.
std::vector<TRect> ScanMaskRuns(const TEffectView& Mask);
std::vector<TRect> ScanMaskRuns(const TPixelView& Mask);
// The rectangle-list region data (32-byte header, then 16 bytes per rectangle) of Runs moved by (XO, YO); the bounding
// rectangle is (XO, YO, XO + Width, YO + Height).
std::vector<std::uint8_t> BuildRegionData(const std::vector<TRect>& Runs, int XO, int YO, int Width, int Height);
// RgnData receives the region data of B's black pixels at (XO, YO); returns its size (0 and nothing for an empty B).
// The list of rectangles grows as the mask needs.
std::size_t CreateRgnFromBmp(TBitmap* B, int XO, int YO, std::vector<std::uint8_t>& RgnData);
// The region of B's black pixels placed at (XO, YO); empty for a missing or empty B.
TGdiRegion RegionFromMask(TBitmap* B, int XO, int YO);

// A 24-bit top-down copy of a bitmap with its row table, for reading pixels without a system call per pixel.
class TbsFBitmap {
  public:
    // SourceDC: a DC HBmp is already selected into (a bitmap can be selected into one DC only), else nullptr.
    explicit TbsFBitmap(HBITMAP HBmp, HDC SourceDC = nullptr);
    ~TbsFBitmap();
    TbsFBitmap(const TbsFBitmap&) = delete;
    TbsFBitmap& operator=(const TbsFBitmap&) = delete;

    std::uint8_t* Bits = nullptr;
    std::vector<std::uint8_t*> Pixels;  // Height row pointers, top row first
    int Gap = 0;                        // fill bytes at the end of a row
    int RowInc = 0;                     // bytes per row
    std::size_t Size = 0;
    int Width = 0;
    int Height = 0;
    HBITMAP Handle = nullptr;  // borrowed from bitmap_
    HDC hDC = nullptr;         // borrowed from dc_, with Handle selected
    BITMAPINFO bmInfo{};
    TEffectView View() const { return TEffectView{Bits, Width, Height, RowInc}; }

  private:
    void Initialize();
    // The bitmap outlives the DC it is selected into.
    TGdiBitmap bitmap_;
    TMemoryDC dc_;
};
