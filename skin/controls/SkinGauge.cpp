#include "skin/controls/SkinGauge.h"

#include <algorithm>

#include "classlib/GdiHandles.h"
#include "skin/controls/ControlSkinning.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinText.h"
#include "skin/core/SkinUtils.h"

namespace {
// The built-in bar's colour (0x00BBGGRR).
constexpr TColor kBuiltInBar = 0x13B200;
}  // namespace

// ---- Arithmetic -----------------------------------------------------------------------------------------------------
TRect GaugeProgressRect(const TRect& Area, int Value, int Min, int Max, bool Vertical) {
    const double f = Max == Min ? 0.0 : static_cast<double>(Value - Min) / (Max - Min);
    TRect r = Area;
    if (Vertical)
        r.Top = Area.Bottom - static_cast<int>(Area.Height() * f);
    else
        r.Right = Area.Left + static_cast<int>(Area.Width() * f);
    return r;
}

int GaugePercent(int Value, int Min, int Max) {
    if (Max == Min)
        return 0;
    return static_cast<int>(static_cast<double>(Value - Min) / (Max - Min) * 100.0);
}

std::wstring GaugeText(bool ShowProgressText, const std::wstring& ProgressText, bool ShowPercent, int Percent) {
    std::wstring text;
    if (ShowProgressText)
        text = ProgressText;
    if (ShowPercent)
        text += std::to_wstring(Percent) + L"%";
    return text;
}

std::vector<TbsGaugeTile> GaugeTiles(int Length, int TileLength, bool Vertical) {
    std::vector<TbsGaugeTile> tiles;
    if (TileLength <= 0 || Length <= 0)
        return tiles;
    for (int done = 0; done < Length; done += TileLength) {
        const int part = std::min(TileLength, Length - done);
        // Vertical tiles grow from the bottom: the last one is cut at its top.
        if (Vertical)
            tiles.push_back({Length - done - part, part, TileLength - part});
        else
            tiles.push_back({done, part, 0});
    }
    return tiles;
}

// ---- TbsSkinGauge ---------------------------------------------------------------------------------------------------
TbsSkinGauge::TbsSkinGauge(TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
    FSkinDataName = L"gauge";
    FDefaultWidth = 100;
    FDefaultHeight = 20;
    SetBounds(0, 0, 100, 20);
}

TbsSkinGauge::~TbsSkinGauge() = default;

void TbsSkinGauge::SetMinValue(int Value) {
    FMinValue = Value;
    if (FValue < FMinValue)
        FValue = FMinValue;
    Invalidate();
}

void TbsSkinGauge::SetMaxValue(int Value) {
    FMaxValue = Value;
    if (FValue > FMaxValue)
        FValue = FMaxValue;
    Invalidate();
}

void TbsSkinGauge::SetValue(int Value) {
    const int v = std::max(FMinValue, std::min(Value, FMaxValue));
    if (v == FValue)
        return;
    FValue = v;
    Invalidate();
}

void TbsSkinGauge::SetShowPercent(bool Value) {
    FShowPercent = Value;
    Invalidate();
}

void TbsSkinGauge::SetShowProgressText(bool Value) {
    FShowProgressText = Value;
    Invalidate();
}

void TbsSkinGauge::SetProgressText(const std::wstring& Value) {
    FProgressText = Value;
    Invalidate();
}

void TbsSkinGauge::SetVertical(bool Value) {
    if (FVertical == Value)
        return;
    FVertical = Value;
    // Built in code, the gauge turns with its entry: the long side follows the direction.
    if (!(ComponentState().Contains(csLoading))) {
        FSkinDataName = Value ? L"vgauge" : L"gauge";
        std::swap(FDefaultWidth, FDefaultHeight);
        SetBounds(Left(), Top(), Height(), Width());
    }
    Invalidate();
}

void TbsSkinGauge::SetUseSkinSize(bool Value) {
    FUseSkinSize = Value;
    SetControlRegion();
    Invalidate();
}

void TbsSkinGauge::SetProgressAnimationPause(int Value) {
    if (Value >= 0)
        FProgressAnimationPause = Value;
}

TbsDataSkinGaugeControl* TbsSkinGauge::GaugeEntry() const {
    return dynamic_cast<TbsDataSkinGaugeControl*>(Entry());
}

bool TbsSkinGauge::SkinLookAvailable() const {
    return TbsSkinCustomControl::SkinLookAvailable() && GaugeEntry() != nullptr;
}

void TbsSkinGauge::GetSkinData() {
    TbsSkinCustomControl::GetSkinData();
    auto* e = GaugeEntry();
    if (!e)
        return;
    FProgressArea = e->ProgressArea;
    FProgressRect = e->ProgressRect;
    FBeginOffset = e->BeginOffset;
    FEndOffset = e->EndOffset;
    FVertical = e->Vertical;
    FontName = e->FontName;
    FontHeight = e->FontHeight;
    FontStyle = ToFontStyles(e->FontStyle);
    FontColor = static_cast<TColor>(e->FontColor);
    FProgressTransparent = e->ProgressTransparent;
    FProgressTransparentColor = static_cast<TColor>(e->ProgressTransparentColor);
    FProgressStretch = e->ProgressStretch;
    FAnimationRect = e->ProgressAnimationSkinRect;
    FAnimationCount = e->ProgressAnimationCountFrames;
    FAnimationInterval = e->ProgressAnimationTimerInterval;
}

void TbsSkinGauge::CalcSize(int& W, int& H) {
    const int askedW = W, askedH = H;
    TbsSkinCustomControl::CalcSize(W, H);
    // Stretched to its own size, the gauge keeps the size it was given.
    if (SkinLookAvailable() && !FUseSkinSize) {
        W = askedW;
        H = askedH;
    }
}

TRect TbsSkinGauge::ProgressAreaFor(int W, int H) const {
    TRect area = FProgressArea;
    // A resizable trough lengthens its progress area with it.
    if (G.ResizeMode != rmFixed) {
        if (FVertical)
            area.Bottom += H - G.SkinRect.Height();
        else
            area.Right += W - G.SkinRect.Width();
    }
    return area;
}

void TbsSkinGauge::SetControlRegion() {
    // A gauge stretched to its own size has no region from the mask.
    if (!FUseSkinSize) {
        TBitmap* saved = MaskPicture;
        MaskPicture = nullptr;
        TbsSkinCustomControl::SetControlRegion();
        MaskPicture = saved;
        return;
    }
    TbsSkinCustomControl::SetControlRegion();
}

void TbsSkinGauge::CreateControlDefaultImage(TBitmap* B) {
    const int w = B->Width(), h = B->Height();
    TCanvas* c = B->Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Darker(ColorToRGB(clBtnFace), 5));
    c->FillRect({0, 0, w, h});
    c->Brush()->SetColor(clBtnShadow);
    c->FrameRect({0, 0, w, h});
    const TRect area{1, 1, w - 1, h - 1};
    const TRect p = GaugeProgressRect(area, GetPaintValue(), FMinValue, FMaxValue, FVertical);
    if (OnGaugePaint) {
        OnGaugePaint(c, area, p);
        return;
    }
    if (p.Width() > 0 && p.Height() > 0) {
        c->Brush()->SetColor(kBuiltInBar);
        c->FillRect(p);
    }
    DrawProgressText(c, w, h);
}

void TbsSkinGauge::CreateControlSkinImage(TBitmap* B) {
    TbsSkinCustomControl::CreateControlSkinImage(B);
    if (B->Empty())
        return;
    const TRect area = ProgressAreaFor(B->Width(), B->Height());
    const TRect p = GaugeProgressRect(area, GetPaintValue(), FMinValue, FMaxValue, FVertical);
    if (OnGaugePaint) {
        OnGaugePaint(B->Canvas(), area, p);
        return;
    }
    // A tile of no length draws neither the bar nor the text.
    if ((FVertical ? FProgressRect.Height() : FProgressRect.Width()) - FBeginOffset - FEndOffset <= 0)
        return;
    if (p.Width() > 0 && p.Height() > 0)
        DrawSkinBar(B->Canvas(), p);
    if (FUseSkinSize)
        DrawProgressText(B->Canvas(), B->Width(), B->Height());
}

void TbsSkinGauge::DrawSkinBar(TCanvas* C, const TRect& P) {
    if (!RectInPicture(FProgressRect, Picture))
        return;
    // The picture the middle comes from: the bar, or the animation's current frame.
    TRect source = FProgressRect;
    if (FAnimationFrame > 0 && FAnimationCount > 0 && RectInPicture(FAnimationRect, Picture)) {
        const bool sideBySide = FAnimationRect.Width() > FProgressRect.Width();
        const int k = FAnimationFrame - 1;
        if (sideBySide) {
            const int fw = FAnimationRect.Width() / FAnimationCount;
            source = {FAnimationRect.Left + k * fw, FAnimationRect.Top, FAnimationRect.Left + (k + 1) * fw,
                      FAnimationRect.Bottom};
        } else {
            const int fh = FAnimationRect.Height() / FAnimationCount;
            source = {FAnimationRect.Left, FAnimationRect.Top + k * fh, FAnimationRect.Right,
                      FAnimationRect.Top + (k + 1) * fh};
        }
    }
    const int w = P.Width(), h = P.Height();
    TBitmap bar(w, h);
    TCanvas* bc = bar.Canvas();
    const int length = FVertical ? h : w;
    const int middle = length - FBeginOffset - FEndOffset;
    TRect mid = source;
    if (FVertical) {
        mid.Top += FEndOffset;
        mid.Bottom -= FBeginOffset;
    } else {
        mid.Left += FBeginOffset;
        mid.Right -= FEndOffset;
    }
    if (middle > 0 && mid.Width() > 0 && mid.Height() > 0) {
        const bool stretch = FProgressStretch || FAnimationFrame > 0;
        if (stretch) {
            const TRect dst = FVertical ? TRect{0, FEndOffset, w, FEndOffset + middle}
                                        : TRect{FBeginOffset, 0, FBeginOffset + middle, h};
            bc->CopyRect(dst, Picture->Canvas(), mid);
        } else {
            const int tile = FVertical ? mid.Height() : mid.Width();
            for (const TbsGaugeTile& t : GaugeTiles(middle, tile, FVertical)) {
                if (FVertical) {
                    const TRect src{mid.Left, mid.Top + t.SourceOffset, mid.Right, mid.Top + t.SourceOffset + t.Length};
                    bc->CopyRect({0, FEndOffset + t.Offset, w, FEndOffset + t.Offset + t.Length}, Picture->Canvas(),
                                 src);
                } else {
                    const TRect src{mid.Left, mid.Top, mid.Left + t.Length, mid.Bottom};
                    bc->CopyRect({FBeginOffset + t.Offset, 0, FBeginOffset + t.Offset + t.Length, h},
                                 Picture->Canvas(), src);
                }
            }
        }
    }
    // The fixed ends of the bar's picture: its start and its end (bottom and top when vertical).
    const int begin = std::min(FBeginOffset, length), end = std::min(FEndOffset, length);
    if (FVertical) {
        if (begin > 0)
            bc->CopyRect({0, h - begin, w, h}, Picture->Canvas(),
                         {FProgressRect.Left, FProgressRect.Bottom - begin, FProgressRect.Right, FProgressRect.Bottom});
        if (end > 0)
            bc->CopyRect({0, 0, w, end}, Picture->Canvas(),
                         {FProgressRect.Left, FProgressRect.Top, FProgressRect.Right, FProgressRect.Top + end});
    } else {
        if (begin > 0)
            bc->CopyRect({0, 0, begin, h}, Picture->Canvas(),
                         {FProgressRect.Left, FProgressRect.Top, FProgressRect.Left + begin, FProgressRect.Bottom});
        if (end > 0)
            bc->CopyRect({w - end, 0, w, h}, Picture->Canvas(),
                         {FProgressRect.Right - end, FProgressRect.Top, FProgressRect.Right, FProgressRect.Bottom});
    }
    if (FProgressTransparent)
        bar.SetTransparentColor(FProgressTransparentColor);
    C->Draw(P.Left, P.Top, &bar);
}

void TbsSkinGauge::DrawProgressText(TCanvas* C, int W, int H) {
    const std::wstring text = GaugeText(FShowProgressText, FProgressText, FShowPercent,
                                        GaugePercent(GetPaintValue(), FMinValue, FMaxValue));
    if (text.empty())
        return;
    TFont* f = C->Font();
    PrepareSkinTextFont(f, DefaultFont(), SkinLookAvailable(), FUseSkinFont, FontName, FontHeight, FontStyle, FontColor,
                        FSD);
    C->Brush()->SetStyle(bsClear);
    const int height = f->Height();
    if (!FVertical) {
        const TSize ext = C->TextExtent(text);
        int y = H / 2 - ext.cy / 2;
        if (height % 2 != 0)
            --y;
        C->TextOut(W / 2 - ext.cx / 2, y, text);
        return;
    }
    // Turned by 90 degrees: written upwards from the bottom.
    LOGFONTW lf{};
    GetObjectW(f->Handle(), sizeof lf, &lf);
    lf.lfEscapement = 900;
    lf.lfOrientation = 900;
    const TSize ext = C->TextExtent(text);
    HDC dc = C->Handle();
    HFONT turned = CreateFontIndirectW(&lf);
    HGDIOBJ old = SelectObject(dc, turned);
    int y = ext.cx / 2 + H / 2;
    if (height % 2 != 0)
        --y;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(f->Color()));
    TextOutW(dc, W / 2 - ext.cy / 2, y, text.c_str(), static_cast<int>(text.size()));
    SelectObject(dc, old);
    DeleteObject(turned);
}

void TbsSkinGauge::Paint() {
    GetSkinData();
    if (FUseSkinSize || !SkinLookAvailable()) {
        TbsSkinCustomControl::Paint();
        return;
    }
    // Stretched: the skin image at the skin's size (or as the entry allows), drawn over the control's size.
    const int w = Width(), h = Height();
    if (w < 1 || h < 1)
        return;
    int iw = G.ResizeMode == rmFixed ? G.SkinRect.Width() : w;
    int ih = G.ResizeMode == rmFixed ? G.SkinRect.Height() : h;
    TbsSkinCustomControl::CalcSize(iw, ih);
    if (iw < 1 || ih < 1)
        return;
    TBitmap image(iw, ih);
    CreateControlSkinImage(&image);
    TBitmap stretched(w, h);
    stretched.Canvas()->StretchDraw({0, 0, w, h}, &image);
    DrawProgressText(stretched.Canvas(), w, h);
    Canvas()->Draw(0, 0, &stretched);
}

void TbsSkinGauge::ChangeSkinData() {
    const bool animating = FFrameTimer != nullptr;
    StopProgressAnimation();
    TbsSkinCustomControl::ChangeSkinData();
    if (animating)
        StartProgressAnimation();
}

void TbsSkinGauge::StartProgressAnimation() {
    GetSkinData();
    if (!SkinLookAvailable() || FAnimationRect.IsEmpty() || FAnimationCount <= 0)
        return;
    FPauseTimer.reset();
    FFrameTimer.reset();
    FPauseTimer = ControlSeam().NewTimer();
    FPauseTimer->OnTick = [this] { PauseTick(); };
    FPauseTimer->Start(static_cast<unsigned>(std::max(FProgressAnimationPause, 1)));
    FFrameTimer = ControlSeam().NewTimer();
    FFrameTimer->OnTick = [this] { FrameTick(); };
    PauseTick();
}

void TbsSkinGauge::StopProgressAnimation() {
    FAnimationFrame = 0;
    if (!FFrameTimer)
        return;
    FPauseTimer.reset();
    FFrameTimer.reset();
    Invalidate();
}

void TbsSkinGauge::PauseTick() {
    if (!FFrameTimer)
        return;
    FPauseTimer->Stop();
    FAnimationFrame = 0;
    FFrameTimer->Start(static_cast<unsigned>(std::max(FAnimationInterval, 1)));
    Invalidate();
}

void TbsSkinGauge::FrameTick() {
    ++FAnimationFrame;
    if (FAnimationFrame > FAnimationCount) {
        FAnimationFrame = 0;
        FFrameTimer->Stop();
        FPauseTimer->Start(static_cast<unsigned>(std::max(FProgressAnimationPause, 1)));
    }
    Invalidate();
}
