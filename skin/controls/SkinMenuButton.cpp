#include "skin/controls/SkinMenuButton.h"

#include "classlib/Menus.h"
#include "skin/controls/ControlSkinning.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinImages.h"
#include "skin/form/SkinForm.h"
#include "skin/form/SkinMenu.h"
#include "skin/form/SkinPopupMenu.h"

namespace {
constexpr int kStrip = 15;

bool IsOneOf(const std::wstring& Name, std::initializer_list<const wchar_t*> Names) {
    for (const wchar_t* n : Names)
        if (Name == n)
            return true;
    return false;
}
}  // namespace

TbsSkinMenuButton::TbsSkinMenuButton(TComponent* AOwner) : TbsSkinButton(AOwner) {
    FSkinDataName = L"toolmenubutton";
    FSpaceSupport = false;
}

TbsSkinMenuButton::~TbsSkinMenuButton() = default;

void TbsSkinMenuButton::SetSkinPopupMenu(TbsSkinPopupMenu* Value) {
    SetBorrowed(this, FSkinPopupMenu, Value);
}

void TbsSkinMenuButton::SetTrackButtonMode(bool Value) {
    FTrackButtonMode = Value;
    if (FIndex == -1)
        Invalidate();
}

void TbsSkinMenuButton::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinButton::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FSkinPopupMenu)
        FSkinPopupMenu = nullptr;
}

void TbsSkinMenuButton::GetSkinData() {
    TbsSkinButton::GetSkinData();
    if (auto* e = dynamic_cast<TbsDataSkinMenuButtonControl*>(Entry()))
        TrackButtonRect = e->TrackButtonRect;
    else if (FIndex == -1)
        TrackButtonRect = {};
}

bool TbsSkinMenuButton::ResizeLook() const {
    return IsOneOf(FSkinDataName, {L"resizebutton", L"resizetoolbutton", L"toolbutton", L"bigtoolbutton"});
}

TRect TbsSkinMenuButton::GetNewTrackButtonRect() {
    TRect r = TrackButtonRect;
    if (G.ResizeMode == rmWidth)
        r.Offset(Width() - G.SkinRect.Width(), 0);
    else if (G.ResizeMode == rmHeight)
        r.Offset(0, Height() - G.SkinRect.Height());
    return r;
}

bool TbsSkinMenuButton::CanMenuTrack(int X, int Y) {
    if (!FSkinPopupMenu && !SkinImagesMenu())
        return false;
    if (!FTrackButtonMode)
        return true;
    GetSkinData();
    TRect r;
    if (SkinLookAvailable() && !ResizeLook())
        r = GetNewTrackButtonRect();
    else
        r = {Width() - kStrip, 0, Width(), Height()};
    return X >= r.Left && X <= r.Right && Y >= r.Top && Y <= r.Bottom;
}

void TbsSkinMenuButton::TrackMenu() {
    const TPoint p = ClientToScreen({0, 0});
    const TRect r{p.X, p.Y, p.X + Width(), p.Y + Height()};
    if (FSkinPopupMenu) {
        if (OnShowTrackMenu)
            OnShowTrackMenu(this);
        FSkinPopupMenu->PopupFromRect2(this, r, false);
    } else if (IbsImagesMenu* m = SkinImagesMenu()) {
        if (OnShowTrackMenu)
            OnShowTrackMenu(this);
        m->PopupFromRect(r, [this] { MenuClosed(false); });
    }
}

void TbsSkinMenuButton::PressAndTrack() {
    FMenuTracked = true;
    if (!FDown)
        SetDown(true);
    TrackMenu();
}

void TbsSkinMenuButton::DropDown() {
    if (Animating())
        StopAnimate();
    PressAndTrack();
}

void TbsSkinMenuButton::MenuClosed(bool ByMessage) {
    FMenuTracked = false;
    SetDown(false);
    FMouseIn = HandleAllocated() && ControlSeam().WindowUnderCursor() == Handle();
    if (OnHideTrackMenu)
        OnHideTrackMenu(this);
    if (!FMouseIn && GlowLayer() && GlowLayer()->IsVisible())
        HideLayer();
    if (ByMessage)
        Invalidate();
    else
        ReDrawControl();
}

void TbsSkinMenuButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) {
        FMenuTracked = CanMenuTrack(X, Y);
        FMouseIn = true;
        if (Animating())
            StopAnimate();
        if (FMenuTracked) {
            if (!FDown)
                SetDown(true);
            TrackMenu();
            return;
        }
    }
    TbsSkinButton::MouseDown(Button, Shift, X, Y);
}

void TbsSkinMenuButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (!FMenuTracked)
        TbsSkinButton::MouseUp(Button, Shift, X, Y);
}

void TbsSkinMenuButton::DoMouseEnter() {
    if (FMenuTracked) {
        FMouseIn = true;
        return;
    }
    TbsSkinButton::DoMouseEnter();
}

void TbsSkinMenuButton::DoMouseLeave() {
    if (FMenuTracked) {
        FMouseIn = false;
        return;
    }
    TbsSkinButton::DoMouseLeave();
}

void TbsSkinMenuButton::WndProc(TMessage& Message) {
    if (Message.Msg == WM_CLOSESKINMENU) {
        MenuClosed(true);
        return;
    }
    if (Message.Msg == CM_CANCELMODE && FMenuTracked) {
        if (FSkinPopupMenu)
            if (TbsSkinForm* f = FindSKFComponent(GetParentForm(this)))
                if (f->SkinMenu())
                    f->SkinMenu()->Hide();
        if (FMenuTracked)
            MenuClosed(true);
    }
    // Space released clicks without the push button's modal result, with or without a menu.
    if (CanFocused() && Message.Msg == WM_KEYUP && Message.WParam == VK_SPACE) {
        if (!FMenuTracked) {
            SetDown(false);
            if (OnClick)
                OnClick(this);
        }
        return;
    }
    if (CanFocused() && FSkinPopupMenu && Message.Msg == WM_KEYUP && Message.WParam == VK_RETURN && !FMenuTracked &&
        OnClick)
        OnClick(this);
    if (CanFocused() && FSkinPopupMenu) {
        switch (Message.Msg) {
            case WM_KEYDOWN:
                if (Message.WParam == VK_SPACE && !FTrackButtonMode && CanMenuTrack(0, 0)) {
                    PressAndTrack();
                    return;
                }
                break;
            case CM_DIALOGCHAR:
                if (!FTrackButtonMode && CanMenuTrack(0, 0) && IsAccel(static_cast<WORD>(Message.WParam), Caption()) &&
                    CanFocus()) {
                    SetFocus();
                    PressAndTrack();
                    Message.Result = 1;
                    return;
                }
                break;
            default:
                break;
        }
    }
    TbsSkinButton::WndProc(Message);
}

// ---- Drawing --------------------------------------------------------------------------------------------------------
void TbsSkinMenuButton::DrawMarker(TCanvas* C, bool ADown, bool AMouseIn, TColor TextColour) {
    const TRect strip{Width() - kStrip, 0, Width(), Height()};
    if (!MenuMarkerRect.IsEmpty()) {
        DrawMenuMarker(C, strip, AMouseIn, (AMouseIn && ADown) || FMenuTracked);
        return;
    }
    DrawTrackArrowImage(C, strip, FMenuTracked ? DownFontColor : TextColour);
}

void TbsSkinMenuButton::CreateResizeImage(TBitmap* B, bool ADown, bool AMouseIn, bool NineParts) {
    const int w = Width(), h = Height();
    const TRect hot = ActiveSkinRect, down = DownSkinRect;
    auto compose = [&](TBitmap* Out, const TRect& R, int W) {
        if (!RectInPicture(R, Picture))
            return;
        if (NineParts) {
            TbsControlGeometry g = G;
            g.SkinRect = R;
            int cw = W, ch = h;
            g.CalcSize(true, cw, ch);
            Out->SetSize(W, h);
            CreateSkinImage(g.LTPt, g.RTPt, g.LBPt, g.RBPt, g.ClRect, g.NewLTPoint, g.NewRTPoint, g.NewLBPoint,
                            g.NewRBPoint, g.NewClRect, Out, Picture, R, W, h, true, g.LeftStretch, g.TopStretch,
                            g.RightStretch, g.BottomStretch, g.StretchEffect, g.StretchType);
        } else {
            Out->SetSize(W, h);
            CreateStretchImage(Out, Picture, R, G.ClRect, true);
        }
    };
    const bool pressed = AMouseIn && ADown;
    if (Transparent() && !AMouseIn && !ADown) {
        GetParentImage(this, B->Canvas());
    } else if (!FTrackButtonMode) {
        TBitmap part;
        compose(&part, pressed ? down : !AMouseIn ? G.SkinRect : hot, w);
        B->Canvas()->Draw(0, 0, &part);
    } else {
        TRect mainR, trackR;
        if (FMenuTracked) {
            mainR = hot;
            trackR = down;
        } else if (pressed) {
            mainR = trackR = down;
        } else if (!AMouseIn) {
            mainR = trackR = G.SkinRect;
        } else {
            mainR = trackR = hot;
        }
        TBitmap mainPart, trackPart;
        compose(&mainPart, mainR, w - kStrip);
        compose(&trackPart, trackR, kStrip);
        B->Canvas()->Draw(0, 0, &mainPart);
        B->Canvas()->Draw(w - kStrip, 0, &trackPart);
    }
    const TColor c = PrepareFont(B->Canvas(), ADown, AMouseIn, pressed || FMenuTracked);
    TRect content = ClientRect();
    content.Right -= kStrip;
    DrawContent(B->Canvas(), content, ADown, AMouseIn);
    DrawMarker(B->Canvas(), ADown, AMouseIn, c);
}

void TbsSkinMenuButton::CreateButtonImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) {
    if (IsOneOf(FSkinDataName, {L"resizebutton", L"resizetoolbutton"})) {
        CreateResizeImage(B, ADown, AMouseIn, true);
        return;
    }
    if (IsOneOf(FSkinDataName, {L"toolbutton", L"bigtoolbutton"})) {
        CreateResizeImage(B, ADown, AMouseIn, false);
        return;
    }
    if (FMenuTracked && FTrackButtonMode && !TrackButtonRect.IsEmpty() && !DownSkinRect.IsEmpty()) {
        TbsSkinButton::CreateButtonImage(B, ActiveSkinRect, false, true);
        TRect src = TrackButtonRect;
        src.Offset(DownSkinRect.Left, DownSkinRect.Top);
        if (RectInPicture(src, Picture))
            B->Canvas()->CopyRect(GetNewTrackButtonRect(), Picture->Canvas(), src);
        return;
    }
    TbsSkinButton::CreateButtonImage(B, R, ADown, AMouseIn);
    if (SkinLookAvailable() && Transparent() && !AMouseIn && !ADown && !MenuMarkerFlatRect.IsEmpty()) {
        const TRect nc = Geometry().NewClRect;
        DrawMenuMarker(B->Canvas(), {nc.Right, 0, nc.Right + MenuMarkerFlatRect.Width(), Height()}, false, false);
    }
}

void TbsSkinMenuButton::CreateControlDefaultImage(TBitmap* B) {
    const int w = B->Width(), h = B->Height();
    const bool hot = FMouseIn || IsFocused();
    const bool pressed = FDown && FMouseIn;
    const int kind = pressed ? 2 : hot ? 1 : 0;
    if (FTrackButtonMode) {
        DefaultArea(B->Canvas(), {0, 0, w - kStrip, h}, FMenuTracked ? 1 : kind);
        DefaultArea(B->Canvas(), {w - kStrip, 0, w, h}, FMenuTracked ? 2 : kind);
    } else {
        DefaultArea(B->Canvas(), {0, 0, w, h}, FMenuTracked ? 2 : kind);
    }
    PrepareFont(B->Canvas(), FDown, FMouseIn, false);
    DrawContent(B->Canvas(), {0, 0, w - kStrip, h}, FDown, FMouseIn);
    TRect strip{w - kStrip, 0, w, h};
    if (pressed || FMenuTracked)
        strip.Offset(2, 2);
    DrawTrackArrowImage(B->Canvas(), strip, clBtnText);
}
