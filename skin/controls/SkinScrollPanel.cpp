#include "skin/controls/SkinScrollPanel.h"

#include <windowsx.h>

#include <algorithm>

#include "skin/controls/ControlGeometry.h"
#include "skin/controls/ControlSkinning.h"
#include "skin/core/SkinData.h"

TbsSkinScrollPanel::TbsSkinScrollPanel(TComponent* AOwner) : TbsSkinControl(AOwner), FScroller(this) {
    SetControlStyle(ControlStyle() + csAcceptsControls);
    FSkinDataName = L"panel";
    FIndex = -1;
    FScroller.ContentEnd = [this] { return ChildrenEnd(this, Vertical()); };
    FScroller.ScrollContent = [this](int Distance) {
        ScrollChildren(this, Distance, Vertical());
        // A stretched background moves with nothing: it is drawn again for the new client area.
        if (auto* e = dynamic_cast<TbsDataSkinPanelControl*>(Entry()); e && e->StretchEffect)
            Invalidate();
    };
    FScroller.ArrowSkin = [this] { return FIndex != -1 ? FSD : nullptr; };
    SetBounds(Left(), Top(), 150, 30);
}

TbsSkinScrollPanel::~TbsSkinScrollPanel() = default;

void TbsSkinScrollPanel::SetScrollType(TbsScrollType Value) {
    if (FScrollType == Value)
        return;
    FScrollType = Value;
    FScroller.Vertical = Value == stVertical;
    FScroller.Reset();
}

void TbsSkinScrollPanel::SetCanFocused(bool Value) {
    FCanFocused = Value;
    SetTabStop(Value);
}

void TbsSkinScrollPanel::SetAutoSize(bool Value) {
    FAutoSize = Value;
    if (Value)
        UpDateSize();
}

void TbsSkinScrollPanel::UpDateSize() {
    SetBounds(Left(), Top(), Width(), Height());
}

void TbsSkinScrollPanel::SetPosition(int Value) {
    if (FScroller.S.SPosition == Value)
        return;
    FScroller.S.SPosition = Value;
    FScroller.GetRange();
}

void TbsSkinScrollPanel::Loaded() {
    TbsSkinControl::Loaded();
    if (FAutoSize)
        UpDateSize();
}

void TbsSkinScrollPanel::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TbsUpdateGuard guard(FScroller.Updating);
    if (FAutoSize) {
        // The cross size follows the children.
        const int end = ChildrenEnd(this, !Vertical());
        if (end > 0)
            (Vertical() ? AWidth : AHeight) = end;
    }
    const int old = Vertical() ? Height() : Width();
    TbsSkinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    const int now = Vertical() ? Height() : Width();
    FScroller.S.SizeOffset = now > old && old != 0 ? now - old : 0;
    FScroller.GetRange();
}

void TbsSkinScrollPanel::AlignControls(TControl* AControl, TRect& Rect) {
    TbsSkinControl::AlignControls(AControl, Rect);
    if (!FScroller.Updating)
        FScroller.GetRange();
}

void TbsSkinScrollPanel::AdjustClientRect(TRect& Rect) {
    TbsSkinControl::AdjustClientRect(Rect);
    const int w = Rect.Width(), h = Rect.Height(), p = FScroller.S.SPosition, m = FScroller.S.SMax;
    if (Vertical())
        Rect = {0, -p, w, -p + std::max(m, h)};
    else
        Rect = {-p, 0, -p + std::max(m, w), h};
}

// ---- Painting -------------------------------------------------------------------------------------------------------
void TbsSkinScrollPanel::CreateControlDefaultImage(TBitmap* B) {
    B->Canvas()->Brush()->SetStyle(bsSolid);
    B->Canvas()->Brush()->SetColor(clBtnFace);
    B->Canvas()->FillRect({0, 0, B->Width(), B->Height()});
}

void TbsSkinScrollPanel::CreateControlSkinImage(TBitmap* B) {
    CreateControlDefaultImage(B);
}

void TbsSkinScrollPanel::Paint() {
    GetSkinData();
    auto* e = dynamic_cast<TbsDataSkinPanelControl*>(Entry());
    TBitmap* pic = e ? SkinPictureAt(FSD, e->PictureIndex) : nullptr;
    if (!e || !pic) {
        TbsSkinControl::Paint();
        return;
    }
    // The client part of the entry's picture, straight on the canvas.
    TRect part = e->ClRect;
    part.Offset(e->SkinRect.Left, e->SkinRect.Top);
    if (part.IsEmpty() || !RectInPicture(part, pic))
        return;
    const TRect client{0, 0, ClientWidth(), ClientHeight()};
    const HDC dc = Canvas()->Handle();
    SetStretchBltMode(dc, COLORONCOLOR);
    for (const TbsTile& t : ForcedBackgroundTiles(client, part.Width(), part.Height(), e->StretchEffect,
                                                  e->StretchType))
        StretchBlt(dc, t.Dst.Left, t.Dst.Top, t.Dst.Width(), t.Dst.Height(), pic->Canvas()->Handle(), part.Left,
                   part.Top, part.Width(), part.Height(), SRCCOPY);
}

// ---- Keys and messages ----------------------------------------------------------------------------------------------
void TbsSkinScrollPanel::KeyDown(WORD& Key, TShiftState Shift) {
    TbsSkinControl::KeyDown(Key, Shift);
    if (!FCanFocused)
        return;
    if (Key == VK_LEFT || Key == VK_UP)
        FScroller.ButtonClick(0);
    else if (Key == VK_RIGHT || Key == VK_DOWN)
        FScroller.ButtonClick(1);
}

void TbsSkinScrollPanel::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case WM_SIZE: {
            TbsSkinControl::WndProc(Message);
            TbsUpdateGuard guard(FScroller.Updating);
            FScroller.PlaceButtons();
            return;
        }
        case CM_WANTSPECIALKEY:
            if (FCanFocused && (Message.WParam == VK_LEFT || Message.WParam == VK_RIGHT ||
                                Message.WParam == VK_UP || Message.WParam == VK_DOWN)) {
                Message.Result = 1;
                return;
            }
            break;
        case WM_MOUSEWHEEL:
            if (FCanFocused && Focused()) {
                FScroller.ButtonClick(GET_WHEEL_DELTA_WPARAM(Message.WParam) <= 0 ? 1 : 0);
                Message.Result = 0;
                return;
            }
            break;
        case WM_SETCURSOR: {
            // An arrow's hit code reads as the client's; the message goes on with it.
            const LPARAM saved = Message.LParam;
            FScroller.HandleMessage(Message);
            TbsSkinControl::WndProc(Message);
            Message.LParam = saved;
            return;
        }
        default:
            if (FScroller.HandleMessage(Message))
                return;
            break;
    }
    TbsSkinControl::WndProc(Message);
}
