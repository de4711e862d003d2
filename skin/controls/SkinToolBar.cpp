#include "skin/controls/SkinToolBar.h"

#include "skin/controls/GraphicSkinControl.h"
#include "skin/controls/SkinBevel.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinImages.h"

namespace {
bool IsSkinnedControl(TControl* C) {
    return dynamic_cast<TbsSkinControl*>(C) || dynamic_cast<TbsGraphicSkinControl*>(C) ||
           dynamic_cast<TbsSkinBevel*>(C);
}
}  // namespace

TbsSkinToolBar::TbsSkinToolBar(TComponent* AOwner) : TbsSkinPanel(AOwner), FScroller(this) {
    FSkinDataName = L"toolpanel";
    FDefaultHeight = 0;
    FForceBackground = false;
    SetBorderStyle(TbsPanelBorderStyle::bvNone);
    SetHeight(25);
    FScroller.ContentEnd = [this] { return ChildrenEnd(this, false); };
    FScroller.ScrollContent = [this](int Distance) {
        ScrollChildren(this, Distance, false);
        Invalidate();
    };
    // The arrows are skinned only when the bar has an entry.
    FScroller.ArrowSkin = [this] { return FIndex != -1 ? FSD : nullptr; };
}

TbsSkinToolBar::~TbsSkinToolBar() = default;

template <typename F>
void TbsSkinToolBar::ForEachSpeedButton(F Fn) {
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* b = dynamic_cast<TbsSkinSpeedButton*>(Controls(i)))
            Fn(b);
}

TRect TbsSkinToolBar::SkinClientRect() const {
    return const_cast<TbsSkinToolBar*>(this)->GetSkinClientRect();
}

// ---- Properties -----------------------------------------------------------------------------------------------------
void TbsSkinToolBar::SetAdjustControls(bool Value) {
    FAdjustControls = Value;
    if (Value)
        Realign();
}

void TbsSkinToolBar::SetCanScroll(bool Value) {
    if (FCanScroll == Value)
        return;
    FCanScroll = Value;
    if (Value) {
        FScroller.GetRange();
    } else {
        FScroller.StopTimers();
        FScroller.UpdateNC();
    }
}

void TbsSkinToolBar::SetFlat(bool Value) {
    FFlat = Value;
    ForEachSpeedButton([Value](TbsSkinSpeedButton* b) { b->SetFlat(Value); });
}

void TbsSkinToolBar::SetImages(TCustomImageList* Value) {
    SetBorrowed(this, FImages, Value);
    ForEachSpeedButton([](TbsSkinSpeedButton* b) { b->Invalidate(); });
}

void TbsSkinToolBar::SetHotImages(TCustomImageList* Value) {
    SetBorrowed(this, FHotImages, Value);
}

void TbsSkinToolBar::SetDisabledImages(TCustomImageList* Value) {
    SetBorrowed(this, FDisabledImages, Value);
}

void TbsSkinToolBar::SetShowCaptions(bool Value) {
    if (FShowCaptions == Value)
        return;
    FShowCaptions = Value;
    if (FAutoShowHideCaptions)
        ForEachSpeedButton([Value](TbsSkinSpeedButton* b) { b->SetShowCaption(Value); });
    if (FWidthWithCaptions != 0 && FWidthWithoutCaptions != 0)
        SetWidth(Value ? FWidthWithCaptions : FWidthWithoutCaptions);
}

void TbsSkinToolBar::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinPanel::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FImages)
        SetImages(nullptr);
    if (AComponent == FHotImages)
        SetHotImages(nullptr);
    if (AComponent == FDisabledImages)
        SetDisabledImages(nullptr);
}

void TbsSkinToolBar::SetSkinData(TbsSkinData* Value) {
    TbsSkinPanel::SetSkinData(Value);
    for (int i = 0; i < ControlCount(); ++i) {
        if (auto* b = dynamic_cast<TbsSkinSpeedButton*>(Controls(i)))
            b->SetSkinData(Value);
        else if (auto* v = dynamic_cast<TbsSkinBevel*>(Controls(i)))
            v->SetSkinData(Value);
    }
}

// ---- Layout ---------------------------------------------------------------------------------------------------------
void TbsSkinToolBar::CentreOtherControls() {
    const TRect r = GetSkinClientRect();
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (c->Align() != alNone || IsSkinnedControl(c))
            continue;
        const int top = CentredTop(r, c->Height());
        if (top != c->Top())
            c->SetBounds(c->Left(), top, c->Width(), c->Height());
    }
}

void TbsSkinToolBar::AlignControls(TControl* AControl, TRect& Rect) {
    TbsSkinPanel::AlignControls(AControl, Rect);
    if (FScroller.Updating)
        return;
    TbsUpdateGuard guard(FScroller.Updating);
    if (FAdjustControls)
        CentreOtherControls();
    if (FCanScroll && Width() != 0)
        FScroller.GetRange();
}

void TbsSkinToolBar::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TbsUpdateGuard guard(FScroller.Updating);
    const int old = Width();
    TbsSkinPanel::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FAdjustControls)
        for (int i = 0; i < ControlCount(); ++i) {
            // Skinned children centre themselves in their own SetBounds.
            TControl* c = Controls(i);
            c->SetBounds(c->Left(), c->Top(), c->Width(), c->Height());
        }
    if (FCanScroll) {
        FScroller.S.SizeOffset = Width() > old && old != 0 ? Width() - old : 0;
        if (Width() != 0)
            FScroller.GetRange();
        CentreOtherControls();
    } else if (FAdjustControls) {
        CentreOtherControls();
    }
}

void TbsSkinToolBar::AdjustClientRect(TRect& Rect) {
    TbsSkinPanel::AdjustClientRect(Rect);
    if (!FCanScroll || !ArrowsShown())
        return;
    const TRect client = ClientRect();
    const TRect panel = Rect;
    Rect = {-FScroller.S.SPosition, 0, -FScroller.S.SPosition + std::max(FScroller.S.SMax, client.Width()),
            client.Height()};
    if (FIndex == -1) {
        Rect.Top = 1;
        Rect.Bottom = client.Height() - 1;
    } else if (BorderStyle() != TbsPanelBorderStyle::bvNone || G.ResizeMode != rmBoth) {
        Rect.Top = panel.Top;
        Rect.Bottom = panel.Bottom;
    }
}

void TbsSkinToolBar::CreateControlSkinImage(TBitmap* B) {
    if (FCanScroll && ArrowsShown() && G.ResizeMode == rmWidth && RectInPicture(G.SkinRect, Picture)) {
        // Only the middle of the picture: the arrows stand where its ends would be.
        CreateHSkinMiddleImage(G.LTPt.X, G.SkinRect.Width() - G.RTPt.X, B, Picture, G.SkinRect, B->Width(),
                               B->Height(), G.StretchEffect);
        return;
    }
    TbsSkinPanel::CreateControlSkinImage(B);
}

// ---- Messages -------------------------------------------------------------------------------------------------------
void TbsSkinToolBar::WndProc(TMessage& Message) {
    if (!FCanScroll) {
        TbsSkinPanel::WndProc(Message);
        return;
    }
    switch (Message.Msg) {
        case WM_SIZE: {
            TbsSkinPanel::WndProc(Message);
            TbsUpdateGuard guard(FScroller.Updating);
            FScroller.PlaceButtons();
            return;
        }
        case WM_NCCALCSIZE:
            GetSkinData();
            break;
        case WM_SETCURSOR: {
            const LPARAM saved = Message.LParam;
            FScroller.HandleMessage(Message);
            TbsSkinPanel::WndProc(Message);
            Message.LParam = saved;
            return;
        }
        default:
            break;
    }
    if (FScroller.HandleMessage(Message))
        return;
    TbsSkinPanel::WndProc(Message);
}
