#include "skin/controls/SkinMenuSpeedButton.h"

#include <algorithm>

#include "skin/controls/ControlSkinning.h"
#include "skin/core/GlyphPainters.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinUtils.h"
#include "skin/form/SkinForm.h"
#include "skin/form/SkinPopupMenu.h"

namespace {
constexpr int kTrack = 15;
constexpr TColor kFrameHot = 0xB76B3B, kFillHot = 0xF3D4C1, kFillDown = 0xE4BCA2;

// State rectangle R of a button entry composed in nine parts for W x H into Out (nothing when R lies outside the
// entry's picture).
void ComposeNine(TbsSkinData* SD, TbsDataSkinButtonControl* E, const TRect& R, int W, int H, TBitmap* Out) {
    TBitmap* pic = SkinPictureAt(SD, E->PictureIndex);
    Out->SetSize(W, H);
    if (W < 1 || H < 1 || !RectInPicture(R, pic))
        return;
    TbsControlGeometry g;
    g.CopyFrom(*E);
    g.SkinRect = R;
    int w = W, h = H;
    g.CalcSize(true, w, h);
    CreateSkinImage(g.LTPt, g.RTPt, g.LBPt, g.RBPt, g.ClRect, g.NewLTPoint, g.NewRTPoint, g.NewLBPoint, g.NewRBPoint,
                    g.NewClRect, Out, pic, R, W, H, true, g.LeftStretch, g.TopStretch, g.RightStretch, g.BottomStretch,
                    g.StretchEffect, g.StretchType);
}

TbsDataSkinButtonControl* ButtonEntryNamed(TbsSkinData* SD, const wchar_t* Name) {
    return dynamic_cast<TbsDataSkinButtonControl*>(SkinEntryAt(SD, LookupSkinEntry(SD, Name)));
}

// The normal, hot or pressed rectangle of an entry (empty hot and pressed ones fall back).
TRect StateRect(TbsDataSkinButtonControl* E, bool Hot, bool Down) {
    const TRect hot = E->ActiveSkinRect.IsEmpty() ? E->SkinRect : E->ActiveSkinRect;
    if (Down)
        return E->DownSkinRect.IsEmpty() ? hot : E->DownSkinRect;
    return Hot ? hot : E->SkinRect;
}
}  // namespace

TbsSkinMenuSpeedButton::TbsSkinMenuSpeedButton(TComponent* AOwner) : TbsSkinSpeedButton(AOwner) {
    FSkinDataName = L"toolmenubutton";
}

TbsSkinMenuSpeedButton::~TbsSkinMenuSpeedButton() {
    if (FSkinImagesMenu)
        FSkinImagesMenu->OnChange = nullptr;
}

void TbsSkinMenuSpeedButton::SetSkinPopupMenu(TbsSkinPopupMenu* Value) {
    SetBorrowed(this, FSkinPopupMenu, Value);
}

void TbsSkinMenuSpeedButton::SetSkinImagesMenu(IbsImagesMenu* Value) {
    if (FSkinImagesMenu)
        FSkinImagesMenu->OnChange = nullptr;
    FSkinImagesMenu = Value;
    if (Value)
        Value->OnChange = [this] { Invalidate(); };
    Invalidate();
}

void TbsSkinMenuSpeedButton::SetUseImagesMenuImage(bool Value) {
    FUseImagesMenuImage = Value;
    Invalidate();
}

void TbsSkinMenuSpeedButton::SetUseImagesMenuCaption(bool Value) {
    FUseImagesMenuCaption = Value;
    Invalidate();
}

void TbsSkinMenuSpeedButton::SetTrackButtonMode(bool Value) {
    FTrackButtonMode = Value;
    if (FIndex == -1)
        Invalidate();
}

void TbsSkinMenuSpeedButton::SetTrackPosition(TbsTrackPosition Value) {
    FTrackPosition = Value;
    Invalidate();
}

void TbsSkinMenuSpeedButton::SetNewStyle(bool Value) {
    FNewStyle = Value;
    if (Value)
        FSkinDataName = L"resizetoolbutton";
    Invalidate();
}

void TbsSkinMenuSpeedButton::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinSpeedButton::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FSkinPopupMenu)
        FSkinPopupMenu = nullptr;
}

void TbsSkinMenuSpeedButton::GetSkinData() {
    TbsSkinSpeedButton::GetSkinData();
    if (auto* e = dynamic_cast<TbsDataSkinMenuButtonControl*>(Entry()))
        TrackButtonRect = e->TrackButtonRect;
    else
        TrackButtonRect = {};
}

bool TbsSkinMenuSpeedButton::NamedResize() const {
    return FSkinDataName == L"resizebutton" || FSkinDataName == L"resizetoolbutton";
}

bool TbsSkinMenuSpeedButton::NamedTool() const {
    return FSkinDataName == L"toolbutton" || FSkinDataName == L"bigtoolbutton";
}

TRect TbsSkinMenuSpeedButton::GetNewTrackButtonRect() {
    TRect r = TrackButtonRect;
    if (G.ResizeMode == rmWidth)
        r.Offset(Width() - G.SkinRect.Width(), 0);
    else if (G.ResizeMode == rmHeight)
        r.Offset(0, Height() - G.SkinRect.Height());
    else if (G.ResizeMode == rmBoth && r.Right > G.ClRect.Right) {
        // A nine-part button grows in its middle: the track part stays at the right edge and spans the height.
        r.Offset(Width() - G.SkinRect.Width(), 0);
        if (r.Bottom >= G.SkinRect.Height())
            r.Bottom += Height() - G.SkinRect.Height();
    }
    return r;
}

TRect TbsSkinMenuSpeedButton::TrackPartRect() {
    GetSkinData();
    return MarkerRect();
}

bool TbsSkinMenuSpeedButton::CanMenuTrack(int X, int Y) {
    if (!FSkinPopupMenu && !FSkinImagesMenu)
        return false;
    if (!FTrackButtonMode)
        return true;
    const TRect r = TrackPartRect();
    return X >= r.Left && X < r.Right && Y >= r.Top && Y < r.Bottom;
}

void TbsSkinMenuSpeedButton::TrackMenu() {
    auto screenRect = [this] {
        const TPoint p = ClientToScreen({0, 0});
        return TRect{p.X, p.Y, p.X + Width(), p.Y + Height()};
    };
    if (FSkinPopupMenu) {
        if (Flat() && !Transparent())
            SetTempTransparent(true);
        if (OnShowTrackMenu)
            OnShowTrackMenu(this);
        FSkinPopupMenu->PopupFromRect2(this, screenRect(), false);
    }
    if (FSkinImagesMenu) {
        if (Flat() && !Transparent())
            SetTempTransparent(true);
        if (OnShowTrackMenu)
            OnShowTrackMenu(this);
        FSkinImagesMenu->PopupFromRect(screenRect(), [this] { MenuClosed(); });
    }
}

void TbsSkinMenuSpeedButton::MenuClosed() {
    FMenuTracked = false;
    SetDown(false);
    FMouseIn = false;
    if (OnHideTrackMenu)
        OnHideTrackMenu(this);
    Invalidate();
}

void TbsSkinMenuSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) {
        FMenuTracked = CanMenuTrack(X, Y);
        FMouseIn = true;
        if (FMenuTracked) {
            if (Animating())
                StopAnimate();
            if (!FDown)
                SetDown(true);
            TrackMenu();
            return;
        }
    }
    TbsSkinSpeedButton::MouseDown(Button, Shift, X, Y);
}

void TbsSkinMenuSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (!FMenuTracked)
        TbsSkinSpeedButton::MouseUp(Button, Shift, X, Y);
}

void TbsSkinMenuSpeedButton::DoMouseEnter() {
    if (FMenuTracked) {
        FMouseIn = true;
        return;
    }
    TbsSkinSpeedButton::DoMouseEnter();
}

void TbsSkinMenuSpeedButton::DoMouseLeave() {
    if (FMenuTracked) {
        FMouseIn = false;
        return;
    }
    TbsSkinSpeedButton::DoMouseLeave();
}

void TbsSkinMenuSpeedButton::WndProc(TMessage& Message) {
    if (Message.Msg == WM_CLOSESKINMENU) {
        if (FMenuTracked)
            MenuClosed();
        return;
    }
    TbsSkinSpeedButton::WndProc(Message);
}

// ---- Drawing --------------------------------------------------------------------------------------------------------
TRect TbsSkinMenuSpeedButton::MarkerRect() {
    // An entry without a track rectangle keeps the 15-pixel part at the right.
    if (SkinLookAvailable() && !NamedResize() && !NamedTool() && !TrackButtonRect.IsEmpty())
        return GetNewTrackButtonRect();
    if (FNewStyle && FTrackPosition == bstpBottom)
        return {0, Height() - kTrack, Width(), Height()};
    return {Width() - kTrack, 0, Width(), Height()};
}

TRect TbsSkinMenuSpeedButton::ContentRect() {
    TRect r = SkinLookAvailable() ? G.NewClRect : ClientRect();
    const TRect m = MarkerRect();
    if (FNewStyle && FTrackPosition == bstpBottom)
        r.Bottom = std::min(r.Bottom, m.Top);
    else if (!m.IsEmpty())
        r.Right = std::min(r.Right, m.Left);
    return r;
}

void TbsSkinMenuSpeedButton::DrawMarkerPicture(TCanvas* C, const TRect& R, const TRect& Src) {
    if (!RectInPicture(Src, Picture))
        return;
    TBitmap m(Src.Width(), Src.Height());
    m.Canvas()->CopyRect({0, 0, Src.Width(), Src.Height()}, Picture->Canvas(), Src);
    m.SetTransparentColor(MenuMarkerTransparentColor);
    m.SetTransparent(true);
    C->Draw(R.Left + (R.Width() - Src.Width()) / 2, R.Top + (R.Height() - Src.Height()) / 2, &m);
}

void TbsSkinMenuSpeedButton::DrawMarker(TCanvas* C, const TRect& R, bool ADown, bool AMouseIn, TColor TextColour) {
    if (FDrawStandardArrow) {
        DrawArrowImage(C, R, TextColour, FArrowType);
        return;
    }
    if (SkinLookAvailable() && !MenuMarkerRect.IsEmpty()) {
        const TRect src = (AMouseIn && ADown) || FMenuTracked ? MenuMarkerDownRect
                          : AMouseIn                          ? MenuMarkerActiveRect
                                                              : MenuMarkerRect;
        DrawMarkerPicture(C, R, src);
        return;
    }
    DrawTrackArrowImage(C, R, FMenuTracked && SkinLookAvailable() ? DownFontColor : TextColour);
}

void TbsSkinMenuSpeedButton::CreateResizeImage(TBitmap* B, bool ADown, bool AMouseIn, bool NineParts) {
    const int w = Width(), h = Height();
    auto* e = ButtonEntry();
    auto compose = [&](TBitmap* Out, const TRect& R, int W) {
        if (!e)
            return;
        if (NineParts) {
            ComposeNine(FSD, e, R, W, h, Out);
        } else {
            Out->SetSize(W, h);
            if (RectInPicture(R, Picture) && W > 0)
                CreateStretchImage(Out, Picture, R, G.ClRect, true);
        }
    };
    const bool pressed = AMouseIn && ADown;
    const bool idle = !AMouseIn && !ADown && !FMenuTracked;
    if (!(idle && Flat())) {
        if (!FTrackButtonMode) {
            TBitmap part;
            compose(&part, FMenuTracked || pressed ? DownSkinRect : AMouseIn ? ActiveSkinRect : G.SkinRect, w);
            B->Canvas()->Draw(0, 0, &part);
        } else {
            TRect mainR, trackR;
            if (FMenuTracked) {
                mainR = ActiveSkinRect;
                trackR = DownSkinRect;
            } else if (pressed) {
                mainR = trackR = DownSkinRect;
            } else if (AMouseIn) {
                mainR = trackR = ActiveSkinRect;
            } else {
                mainR = trackR = G.SkinRect;
            }
            TBitmap mainPart, trackPart;
            compose(&mainPart, mainR, w - kTrack);
            compose(&trackPart, trackR, kTrack);
            B->Canvas()->Draw(0, 0, &mainPart);
            B->Canvas()->Draw(w - kTrack, 0, &trackPart);
        }
    }
    const TColor c = PrepareFont(B->Canvas(), ADown, AMouseIn, pressed || FMenuTracked);
    DrawContent(B->Canvas(), ContentRect(), ADown, AMouseIn);
    DrawMarker(B->Canvas(), MarkerRect(), ADown, AMouseIn, c);
}

void TbsSkinMenuSpeedButton::CreateNewStyleImage(TBitmap* B, bool ADown, bool AMouseIn) {
    const int w = Width(), h = Height();
    TbsDataSkinButtonControl* e = ButtonEntryNamed(FSD, L"resizetoolbutton");
    if (!e)
        e = ButtonEntryNamed(FSD, L"resizebutton");
    const bool bottom = FTrackPosition == bstpBottom;
    const TRect track = MarkerRect();
    const bool pressed = AMouseIn && ADown;
    if (e) {
        const bool separate = FTrackButtonMode && AMouseIn;
        const TRect mainPart =
            separate ? (bottom ? TRect{0, 0, w, h - kTrack} : TRect{0, 0, w - kTrack, h}) : TRect{0, 0, w, h};
        TBitmap m;
        const bool mainDown = pressed && !(FTrackButtonMode && FMenuTracked);
        ComposeNine(FSD, e, StateRect(e, AMouseIn || FMenuTracked, mainDown || (!FTrackButtonMode && FMenuTracked)),
                    mainPart.Width(), mainPart.Height(), &m);
        B->Canvas()->Draw(0, 0, &m);
        if (separate) {
            TbsDataSkinButtonControl* t = ButtonEntryNamed(FSD, bottom ? L"htracktoolbutton" : L"vtracktoolbutton");
            if (!t)
                t = e;
            TBitmap tp;
            ComposeNine(FSD, t, StateRect(t, true, FMenuTracked), track.Width(), track.Height(), &tp);
            B->Canvas()->Draw(track.Left, track.Top, &tp);
        }
    }
    const TColor c = PrepareFont(B->Canvas(), ADown, AMouseIn, pressed || FMenuTracked);
    DrawContent(B->Canvas(), ContentRect(), ADown, AMouseIn);
    DrawMarker(B->Canvas(), track, ADown, AMouseIn, c);
}

void TbsSkinMenuSpeedButton::CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) {
    if (FNewStyle && FSkinDataName == L"resizetoolbutton") {
        CreateNewStyleImage(B, ADown, AMouseIn);
        return;
    }
    if (NamedTool()) {
        CreateResizeImage(B, ADown, AMouseIn, false);
        return;
    }
    if (NamedResize()) {
        CreateResizeImage(B, ADown, AMouseIn, true);
        return;
    }
    if (FMenuTracked && FTrackButtonMode && !TrackButtonRect.IsEmpty() && !DownSkinRect.IsEmpty()) {
        TbsSkinSpeedButton::CreateButtonImage(B, ActiveSkinRect, false, true);
        TRect src = TrackButtonRect;
        src.Offset(DownSkinRect.Left, DownSkinRect.Top);
        if (RectInPicture(src, Picture))
            B->Canvas()->CopyRect(GetNewTrackButtonRect(), Picture->Canvas(), src);
    } else {
        TbsSkinSpeedButton::CreateButtonImage(B, R, ADown, AMouseIn);
    }
    DrawMarker(B->Canvas(), MarkerRect(), ADown, AMouseIn, B->Canvas()->Font()->Color());
}

void TbsSkinMenuSpeedButton::Paint() {
    GetSkinData();
    const bool idle = !(FMouseIn && FDown) && !FMenuTracked && !FMouseIn;
    if (!idle || !Transparent() || Width() < 1 || Height() < 1) {
        TbsSkinSpeedButton::Paint();
        return;
    }
    // Idle and transparent: the content and the marker straight onto the parent's canvas.
    const bool skin = SkinLookAvailable();
    TCanvas* c = Canvas();
    const TColor colour = PrepareFont(c, false, false, false);
    if (skin && FSD && UseSkinFontColor() && Enabled())
        c->Font()->SetColor(static_cast<TColor>(FSD->SkinColors()->cBtnText));
    FLastRect = {};
    const TRect content = ContentRect();
    DrawContent(c, content, false, false);
    const TRect m = MarkerRect();
    if (FDrawStandardArrow) {
        DrawArrowImage(c, m, c->Font()->Color(), FArrowType);
    } else if (skin && !MenuMarkerFlatRect.IsEmpty()) {
        TRect r = m;
        if (G.ResizeMode != rmBoth)
            r.Offset(-2, 0);
        DrawMarkerPicture(c, r, MenuMarkerFlatRect);
    } else {
        DrawTrackArrowImage(c, m,
                            skin && FSD ? static_cast<TColor>(FSD->SkinColors()->cBtnText)
                            : Enabled() ? TColor(clWindowText)
                                        : colour);
    }
}

void TbsSkinMenuSpeedButton::CreateControlDefaultImage(TBitmap* B) {
    const int w = B->Width(), h = B->Height();
    const bool pressed = FDown && FMouseIn;
    auto area = [&](const TRect& R, int Kind) {
        B->Canvas()->Brush()->SetStyle(bsSolid);
        if (Kind == 0 && Flat()) {
            B->Canvas()->Brush()->SetColor(clBtnFace);
            B->Canvas()->FillRect(R);
            return;
        }
        B->Canvas()->Brush()->SetColor(Kind == 0 ? Darker(clBtnFace, 15) : kFrameHot);
        B->Canvas()->FrameRect(R);
        TRect in = R;
        in.Inflate(-1, -1);
        B->Canvas()->Brush()->SetColor(Kind == 0 ? TColor(clBtnFace) : Kind == 1 ? kFillHot : kFillDown);
        B->Canvas()->FillRect(in);
    };
    const int kind = pressed ? 2 : FMouseIn ? 1 : 0;
    const TRect track = MarkerRect();
    if (FTrackButtonMode) {
        const bool bottom = FNewStyle && FTrackPosition == bstpBottom;
        area(bottom ? TRect{0, 0, w, h - kTrack} : TRect{0, 0, w - kTrack, h}, FMenuTracked ? 1 : kind);
        area(track, FMenuTracked ? 2 : kind);
    } else {
        area({0, 0, w, h}, FMenuTracked ? 2 : kind);
    }
    PrepareFont(B->Canvas(), FDown, FMouseIn, false);
    DrawContent(B->Canvas(), ContentRect(), FDown, FMouseIn);
    TRect m = track;
    if (pressed || FMenuTracked)
        m.Offset(2, 2);
    if (FDrawStandardArrow)
        DrawArrowImage(B->Canvas(), m, clWindowText, FArrowType);
    else
        DrawTrackArrowImage(B->Canvas(), m, clWindowText);
}
