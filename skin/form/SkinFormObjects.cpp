// The caption buttons, animated buttons and user areas of the skinned frame (the caption text is in
// SkinCaptionText.cpp): their looks, mask hit test, cross-fade, glow windows, frame strips and window commands.
#include "skin/form/SkinFormObjects.h"

#include <algorithm>

#include "classlib/Menus.h"
#include "skin/core/EffectBitmap.h"
#include "skin/core/GlyphPainters.h"
#include "skin/core/LayerWindow.h"
#include "skin/core/SkinBitmap.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinUtils.h"
#include "skin/form/LayerBorder.h"
#include "skin/form/SkinForm.h"
#include "skin/form/SkinMenu.h"

void ApplyInActiveEffect(TbsEffectBmp* Bmp, TbsInActiveEffect Effect) {
    if (!Bmp)
        return;
    switch (Effect) {
        case ieBrightness:
            Bmp->ChangeBrightness(0.5);
            break;
        case ieDarkness:
            Bmp->ChangeDarkness(0.3);
            break;
        case ieGrayScale:
            Bmp->GrayScale();
            break;
        case ieNoise:
            Bmp->AddMonoNoise(50);
            break;
        case ieSplitBlur:
            Bmp->SplitBlur(1);
            break;
        case ieInvert:
            Bmp->Invert();
            break;
    }
}

namespace {

TBitmap* ActivePictureOf(TbsSkinData* SD, int Index) {
    if (!SD || Index < 0 || Index >= SD->ActivePictureCount())
        return nullptr;
    TBitmap* b = SD->GetActivePicture(Index);
    return (b && !b->Empty()) ? b : nullptr;
}

bool Has(const TRect& R) {
    return !IsNullRect(R);
}

}  // namespace

// ---- TbsActiveSkinObject ------------------------------------------------------------------------------------------

TbsActiveSkinObject::TbsActiveSkinObject(TbsSkinForm* AParent, TbsDataSkinObject* AData)
    : Parent(AParent), Picture(nullptr), ActivePicture(nullptr), ActiveMaskPicture(nullptr), SD(AParent->FSD),
      FData(AData) {
    if (AData) {
        IDName = AData->IDName;
        Hint = AData->Hint;
        SkinRectInAPicture = AData->SkinRectInAPicture;
        SkinRect = AData->SkinRect;
        ActiveSkinRect = AData->ActiveSkinRect;
        InActiveSkinRect = AData->InActiveSkinRect;
        Morphing = AData->Morphing;
        MorphKind = AData->MorphKind;
        ActivePicture = ActivePictureOf(SD, AData->ActivePictureIndex);
        if (!ActivePicture) {
            ActiveSkinRect = TRect{};
            AData->ActiveSkinRect = TRect{};
        }
        ActiveMaskPicture = ActivePictureOf(SD, AData->ActiveMaskPictureIndex);
        GlowLayerPictureIndex = AData->GlowLayerPictureIndex;
        GlowLayerMaskPictureIndex = AData->GlowLayerMaskPictureIndex;
        GlowLayerOffsetX = AData->GlowLayerOffsetX;
        GlowLayerOffsetY = AData->GlowLayerOffsetY;
        GlowLayerAlphaBlendValue = AData->GlowLayerAlphaBlendValue;
        if (Morphing && !Has(ActiveSkinRect))
            Morphing = false;
    }
    ObjectRect = SkinRect;
    if (SD && SD->FPicture && !SD->FPicture->Empty())
        Picture = SD->FPicture.get();
}

TbsActiveSkinObject::TLook TbsActiveSkinObject::SaveLook() const {
    const auto* b = dynamic_cast<const TbsSkinButtonObject*>(this);
    return TLook{ObjectRect, Active, FMouseIn, b ? b->Down() : false};
}

void TbsActiveSkinObject::LendLook(bool AHot, bool APressed) {
    if (dynamic_cast<TbsSkinCaptionObject*>(this))
        return;  // the caption follows the form's activation
    Active = FMouseIn = AHot;
    if (auto* b = dynamic_cast<TbsSkinButtonObject*>(this))
        b->FDown = APressed;
}

void TbsActiveSkinObject::RestoreLook(const TLook& ALook) {
    ObjectRect = ALook.ObjectRect;
    if (dynamic_cast<TbsSkinCaptionObject*>(this))
        return;
    Active = ALook.Active;
    FMouseIn = ALook.MouseIn;
    if (auto* b = dynamic_cast<TbsSkinButtonObject*>(this))
        b->FDown = ALook.Down;
}

bool TbsActiveSkinObject::SkinEmpty() const {
    return !SD || SD->Empty || !Picture;
}

bool TbsActiveSkinObject::InActiveMask(int X, int Y) {
    if (SkinEmpty() || !ActiveMaskPicture)
        return true;
    COLORREF c = 0xFFFFFF;
    if (X >= 0 && Y >= 0 && X < ActiveMaskPicture->Width() && Y < ActiveMaskPicture->Height())
        c = GetPixel(ActiveMaskPicture->Canvas()->Handle(), X, Y) & 0xFFFFFF;
    return c == 0;
}

TRect TbsActiveSkinObject::ScreenRect() {
    return ToScreen(ObjectRect);
}

TRect TbsActiveSkinObject::ToScreen(const TRect& R) {
    int dx = 0, dy = 0;
    TbsFormLayerBorder* border = Parent->FBorderLayer;
    TbsFormLayerWindow* top = border ? border->Window(bsflTop) : nullptr;
    if (Parent->CanShowBorderLayer() && border->Visible() && border->FullBorder() && top && top->HandleAllocated()) {
        RECT w{};
        GetWindowRect(top->Handle(), &w);
        dx = w.left;
        dy = w.top;
    } else if (Parent->FForm->HandleAllocated()) {
        RECT w{};
        GetWindowRect(Parent->FForm->Handle(), &w);
        dx = w.left;
        dy = w.top;
    }
    return TRect{R.Left + dx, R.Top + dy, R.Right + dx, R.Bottom + dy};
}

void TbsActiveSkinObject::ShowGlow(bool AMenu) {
    if (SkinEmpty() || GlowLayerPictureIndex == -1 || !CheckW2KWXP() || !SD->ShowCaptionButtonGlowFrames)
        return;
    TBitmap* image = ActivePictureOf(SD, GlowLayerPictureIndex);
    TBitmap* mask = ActivePictureOf(SD, GlowLayerMaskPictureIndex);
    TbsLayerManager* manager = AMenu ? Parent->FMenuLayerManager : Parent->FLayerManager;
    if (!image || !mask || !manager)
        return;
    const TRect r = ScreenRect();
    manager->Show(r.Left - GlowLayerOffsetX, r.Top - GlowLayerOffsetY, image, mask, GlowLayerAlphaBlendValue);
}

void TbsActiveSkinObject::HideGlow(bool AMenu) {
    if (SkinEmpty() || GlowLayerPictureIndex == -1 || !CheckW2KWXP() || !SD->ShowCaptionButtonGlowFrames)
        return;
    TbsLayerManager* manager = AMenu ? Parent->FMenuLayerManager : Parent->FLayerManager;
    if (manager && manager->IsVisible)
        manager->Hide();
}

void TbsActiveSkinObject::ShowLayer() {
    ShowGlow(false);
}

void TbsActiveSkinObject::HideLayer() {
    HideGlow(false);
}

bool TbsActiveSkinObject::EnableMorphing() {
    return Morphing && SD && !SD->Empty && SD->EnableSkinEffects &&
           !(Parent->CanShowBorderLayer() && SD->LayerFrame.FullBorder);
}

bool TbsActiveSkinObject::CanMorphing() {
    return (Active && FMorphKf < 1) || (!Active && FMorphKf > 0);
}

void TbsActiveSkinObject::Redraw() {
    if (EnableMorphing())
        Parent->MorphTimer->SetEnabled(true);
    else
        Parent->DrawSkinObject(this);
}

void TbsActiveSkinObject::SetMorphKf(double Value) {
    // Five steps of 0.2 reach either end exactly, whatever the rounding of the sums.
    if (Value < 1e-6)
        Value = 0;
    if (Value > 1 - 1e-6)
        Value = 1;
    FMorphKf = Value;
}

void TbsActiveSkinObject::DoMorphing() {
    SetMorphKf(Active ? FMorphKf + 0.2 : FMorphKf - 0.2);
    Parent->DrawSkinObject(this);
}

void TbsActiveSkinObject::DrawRect(TCanvas* Cnvs, TBitmap* Pic, const TRect& Src) {
    if (!Pic || Pic->Empty() || Src.Width() <= 0 || Src.Height() <= 0 || ObjectRect.Width() <= 0 ||
        ObjectRect.Height() <= 0)
        return;
    HDC dc = Cnvs->Handle();
    const int mode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, ObjectRect.Left, ObjectRect.Top, ObjectRect.Width(), ObjectRect.Height(), Pic->Canvas()->Handle(),
               Src.Left, Src.Top, Src.Width(), Src.Height(), SRCCOPY);
    SetStretchBltMode(dc, mode);
}

namespace {
// Both pictures are made at the object's size, so the blend always works on two equal bitmaps.
void BlendLooks(TbsEffectBmp* A, TbsEffectBmp* B, double Kf, TbsMorphKind Kind) {
    if (!A || !B || A->Width() != B->Width() || A->Height() != B->Height())
        return;
    switch (Kind) {
        case mkDefault:
            A->Morph(B, Kf);
            break;
        case mkGradient:
            A->MorphGrad(B, Kf);
            break;
        case mkLeftGradient:
            A->MorphLeftGrad(B, Kf);
            break;
        case mkRightGradient:
            A->MorphRightGrad(B, Kf);
            break;
        case mkLeftSlide:
            A->MorphLeftSlide(B, Kf);
            break;
        case mkRightSlide:
            A->MorphRightSlide(B, Kf);
            break;
        case mkPush:
            A->MorphPush(B, Kf);
            break;
    }
}

void StretchInto(TBitmap* Dst, TBitmap* Pic, const TRect& Src) {
    if (!Pic || Pic->Empty() || Src.Width() <= 0 || Src.Height() <= 0)
        return;
    HDC dc = Dst->Canvas()->Handle();
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, 0, 0, Dst->Width(), Dst->Height(), Pic->Canvas()->Handle(), Src.Left, Src.Top, Src.Width(),
               Src.Height(), SRCCOPY);
}
}  // namespace

void TbsActiveSkinObject::DrawMorph(TCanvas* Cnvs, TBitmap* NormalPic, const TRect& NormalSrc, const TRect& HotSrc) {
    const int w = ObjectRect.Width(), h = ObjectRect.Height();
    if (w <= 0 || h <= 0)
        return;
    TBitmap normal(w, h), hot(w, h);
    StretchInto(&normal, NormalPic, NormalSrc);
    StretchInto(&hot, ActivePicture, HotSrc);
    auto a = TbsEffectBmp::CreateFromhWnd(normal.Handle());
    auto b = TbsEffectBmp::CreateFromhWnd(hot.Handle());
    if (!a || !b)
        return;
    BlendLooks(a.get(), b.get(), FMorphKf, MorphKind);
    a->Draw(Cnvs->Handle(), ObjectRect.Left, ObjectRect.Top);
}

void TbsActiveSkinObject::Draw(TCanvas* Cnvs, bool UpDate) {
    if (SkinEmpty())
        return;
    if (Enabled && !Parent->GetFormActive() && Has(InActiveSkinRect)) {
        DrawRect(Cnvs, ActivePicture, InActiveSkinRect);
        return;
    }
    if (EnableMorphing() && !(Active && FMorphKf == 1) && !(!Active && FMorphKf == 0)) {
        DrawMorph(Cnvs, SkinRectInAPicture ? ActivePicture : Picture, SkinRect, ActiveSkinRect);
        return;
    }
    if (Active && Has(ActiveSkinRect)) {
        DrawRect(Cnvs, ActivePicture, ActiveSkinRect);
        return;
    }
    if (!UpDate && !SkinRectInAPicture)
        return;
    DrawRect(Cnvs, SkinRectInAPicture ? ActivePicture : Picture, SkinRect);
}

void TbsActiveSkinObject::DrawAlpha(TCanvas*, TbsBitmap*) {}

void TbsActiveSkinObject::DblClick() {}

void TbsActiveSkinObject::MouseDown(int X, int Y, TMouseButton Button) {
    Parent->MouseDownEvent(IDName, X, Y, ObjectRect, Button);
}

void TbsActiveSkinObject::MouseUp(int X, int Y, TMouseButton Button) {
    if (FMouseIn)
        Parent->MouseUpEvent(IDName, X, Y, ObjectRect, Button);
}

void TbsActiveSkinObject::MouseMove(int X, int Y) {
    Parent->MouseMoveEvent(IDName, X, Y, ObjectRect);
}

void TbsActiveSkinObject::MouseEnter() {
    FMouseIn = true;
    Active = true;
    if (Has(ActiveSkinRect))
        Redraw();
    Parent->MouseEnterEvent(IDName);
    ShowLayer();
}

void TbsActiveSkinObject::MouseLeave() {
    FMouseIn = false;
    Active = false;
    if (Has(ActiveSkinRect))
        Redraw();
    Parent->MouseLeaveEvent(IDName);
    HideLayer();
}

// ---- TbsUserObject ------------------------------------------------------------------------------------------------

void TbsUserObject::Draw(TCanvas* Cnvs, bool) {
    Parent->PaintEvent(IDName, Cnvs, ObjectRect);
}

// ---- TbsSkinButtonObject ------------------------------------------------------------------------------------------

TbsSkinButtonObject::TbsSkinButtonObject(TbsSkinForm* AParent, TbsDataSkinButton* AData)
    : TbsActiveSkinObject(AParent, AData) {
    if (AData) {
        DownRect = AData->DownRect;
        DisableSkinRect = AData->DisableSkinRect;
    }
}

void TbsSkinButtonObject::ShowLayer() {
    ShowGlow(MenuItem != nullptr);
}

void TbsSkinButtonObject::HideLayer() {
    HideGlow(MenuItem != nullptr);
}

bool TbsSkinButtonObject::CanMorphing() {
    return !(MenuItem && FDown) && TbsActiveSkinObject::CanMorphing();
}

void TbsSkinButtonObject::DrawButton(TCanvas* Cnvs, bool UpDate) {
    if (!Enabled && Has(DisableSkinRect))
        DrawRect(Cnvs, ActivePicture, DisableSkinRect);
    else if (FDown && Has(DownRect) && FMouseIn)
        DrawRect(Cnvs, ActivePicture, DownRect);
    else
        TbsActiveSkinObject::Draw(Cnvs, UpDate);
}

void TbsSkinButtonObject::Draw(TCanvas* Cnvs, bool UpDate) {
    if (!SkinEmpty())
        DrawButton(Cnvs, UpDate);
}

void TbsSkinButtonObject::SetDown(bool Value) {
    FDown = Value;
    if (EnableMorphing() && Active)
        FMorphKf = 1;
    Parent->DrawSkinObject(this);
    if (EnableMorphing() && !FDown)
        Redraw();
}

void TbsSkinButtonObject::MouseEnter() {
    FMouseIn = true;
    Active = true;
    if (!Has(DownRect) || !FDown) {
        if (Has(ActiveSkinRect))
            Redraw();
        if (MenuItem)
            ShowLayer();
    } else {
        if (EnableMorphing())
            FMorphKf = 1;
        Parent->DrawSkinObject(this);
    }
    Parent->MouseEnterEvent(IDName);
    if (!MenuItem)
        ShowLayer();
}

void TbsSkinButtonObject::MouseLeave() {
    FMouseIn = false;
    Active = false;
    if (!MenuItem || !FDown) {
        if (MenuItem)
            HideLayer();
        Redraw();
    }
    Parent->MouseLeaveEvent(IDName);
    if (!MenuItem)
        HideLayer();
}

void TbsSkinButtonObject::MouseDown(int X, int Y, TMouseButton Button) {
    if (!Enabled)
        return;
    if (Button == mbLeft && !FDown) {
        SetDown(true);
        TrackMenu();
    }
    TbsActiveSkinObject::MouseDown(X, Y, Button);
}

void TbsSkinButtonObject::MouseUp(int X, int Y, TMouseButton Button) {
    if (!Enabled)
        return;
    if (Button == mbLeft && !MenuItem && FDown)
        SetDown(false);
    TbsActiveSkinObject::MouseUp(X, Y, Button);
}

void TbsSkinButtonObject::TrackMenu() {
    if (!MenuItem || MenuItem->Count() == 0)
        return;
    for (TbsLayerManager* m : {Parent->FLayerManager, Parent->FMenuLayerManager})
        if (m && m->IsVisible)
            m->Hide();
    if (FMouseIn)
        ShowLayer();
    const TRect r = ScreenRect();
    Parent->SkinMenuOpen();
    Parent->FSkinMenu->Popup(nullptr, Parent->FMSD ? Parent->FMSD : Parent->FSD, 0, r, MenuItem, FPopupUp);
    if (!Parent->FSkinMenu->Visible())
        Parent->SkinMenuClose();
}

// ---- TbsSkinStdButtonObject ---------------------------------------------------------------------------------------

TbsSkinStdButtonObject::TbsSkinStdButtonObject(TbsSkinForm* AParent,
                                               TbsDataSkinStdButton* AData,
                                               const std::wstring& AIDName,
                                               TbsStdCommand ACommand)
    : TbsSkinButtonObject(AParent, AData), Command(ACommand), FSkinSupport(AData != nullptr) {
    if (AData) {
        Command = AData->Command;
        RestoreHint = AData->RestoreHint;
        FTempHint = AData->Hint;
        ResetRects();
    } else {
        IDName = AIDName;
        SkinRectInAPicture = true;
        SkinRect = ObjectRect = TRect{0, 0, 1, 1};
    }
}

TbsDataSkinStdButton* TbsSkinStdButtonObject::StdData() const {
    return static_cast<TbsDataSkinStdButton*>(FData);
}

void TbsSkinStdButtonObject::ResetRects() {
    TbsDataSkinStdButton* d = StdData();
    if (!d)
        return;
    SkinRect = d->SkinRect;
    ActiveSkinRect = ActivePicture ? d->ActiveSkinRect : TRect{};
    InActiveSkinRect = d->InActiveSkinRect;
    DownRect = d->DownRect;
    RestoreRect = d->RestoreRect;
    RestoreActiveRect = d->RestoreActiveRect;
    RestoreInActiveRect = d->RestoreInActiveRect;
    RestoreDownRect = d->RestoreDownRect;
}

bool TbsSkinStdButtonObject::RestoreState(bool AMainFormRule) {
    // A minimised main form is gone from the screen: its minimise button keeps the normal look.
    if (Command == cmMinimize && AMainFormRule && Application && Application->MainForm() == Parent->FForm)
        return false;
    return Parent->CommandStateInForce(Command);
}

bool TbsSkinStdButtonObject::IconCase(bool ASkinRule) const {
    return Command == cmSysMenu && Parent->ShowIcon && SkinRectInAPicture && (!ASkinRule || FSkinSupport);
}

bool TbsSkinStdButtonObject::InActiveMask(int X, int Y) {
    if (IconCase(true))
        return true;
    return TbsActiveSkinObject::InActiveMask(X, Y);
}

void TbsSkinStdButtonObject::ShowLayer() {
    if (!IconCase(true))
        TbsSkinButtonObject::ShowLayer();
}

void TbsSkinStdButtonObject::HideLayer() {
    if (!IconCase(true))
        TbsSkinButtonObject::HideLayer();
}

bool TbsSkinStdButtonObject::CanMorphing() {
    return !IconCase(true) && TbsSkinButtonObject::CanMorphing();
}

void TbsSkinStdButtonObject::Draw(TCanvas* Cnvs, bool UpDate) {
    ResetRects();
    if (!FSkinSupport) {
        DefaultDraw(Cnvs);
        return;
    }
    if (SkinEmpty())
        return;
    if (IconCase(false)) {
        Parent->DrawFormIcon(Cnvs, ObjectRect.Left, ObjectRect.Top);
        FMorphKf = 0;
        return;
    }
    const bool restore = RestoreState();
    if (!Enabled || (!Parent->GetFormActive() && Has(InActiveSkinRect) && !restore)) {
        DrawButton(Cnvs, UpDate);
        return;
    }
    if (!restore || !Has(RestoreRect)) {
        if (Command == cmSysMenu && FDown && Has(DownRect))
            DrawRect(Cnvs, ActivePicture, DownRect);
        else
            DrawButton(Cnvs, UpDate);
        return;
    }
    TBitmap* pic = ActivePicture ? ActivePicture : Picture;
    if (!Parent->FFormActive && Has(RestoreInActiveRect))
        DrawRect(Cnvs, pic, RestoreInActiveRect);
    else if (FDown && FMouseIn && Has(RestoreDownRect))
        DrawRect(Cnvs, pic, RestoreDownRect);
    else if (EnableMorphing() && Has(RestoreActiveRect) && !(Active && FMorphKf == 1) && !(!Active && FMorphKf == 0))
        DrawMorph(Cnvs, pic, RestoreRect, RestoreActiveRect);
    else if (Active && Has(RestoreActiveRect))
        DrawRect(Cnvs, pic, RestoreActiveRect);
    else
        DrawRect(Cnvs, pic, RestoreRect);
}

void TbsSkinStdButtonObject::DrawAlpha(TCanvas* Cnvs, TbsBitmap*) {
    if (Command == cmSysMenu && Parent->ShowIcon) {
        Parent->DrawFormIconAlpha(Cnvs, ObjectRect.Left, ObjectRect.Top);
        return;
    }
    TbsDataSkinStdButton* d = StdData();
    if (!d)
        return;
    const bool restore = RestoreState();
    auto pick = [restore](const TbsBitmapPtr& plain, const TbsBitmapPtr& restored) -> TbsBitmap* {
        if (restore && restored)
            return restored.get();
        return plain.get();
    };
    TbsBitmap* image = nullptr;
    if (Parent->FFormActive || !Has(InActiveSkinRect)) {
        if (FDown && Has(DownRect) && (Command == cmSysMenu || FMouseIn))
            image = pick(d->FAlphaDownImage, d->FAlphaRestoreDownImage);
        else if (FMouseIn && Has(ActiveSkinRect))
            image = pick(d->FAlphaActiveImage, d->FAlphaRestoreActiveImage);
        else
            image = pick(d->FAlphaNormalImage, d->FAlphaRestoreNormalImage);
    } else {
        image = pick(d->FAlphaInActiveImage, d->FAlphaInActiveRestoreImage);
    }
    if (image && !image->Empty() && ObjectRect.Width() > 0 && ObjectRect.Height() > 0)
        image->Draw(Cnvs->Handle(), ObjectRect);
}

void TbsSkinStdButtonObject::DefaultDraw(TCanvas* Cnvs) {
    if (Command == cmSysMenu && Parent->ShowIcon) {
        Parent->DrawFormIcon(Cnvs, ObjectRect.Left, ObjectRect.Top);
        return;
    }
    const int w = ObjectRect.Width(), h = ObjectRect.Height();
    if (w <= 0 || h <= 0)
        return;
    TBitmap b(w, h);
    TCanvas* c = b.Canvas();
    HDC dc = c->Handle();
    RECT all{0, 0, w, h};
    const bool hot = Active || FMouseIn;
    if (hot) {
        TGdiBrush frame(CreateSolidBrush(0xB76B3B));
        TGdiBrush fill(CreateSolidBrush(FDown ? 0xE4BCA2 : 0xF3D4C1));
        FillRect(dc, &all, fill.Get());
        FrameRect(dc, &all, frame.Get());
    } else {
        FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    }
    const TColor color = Enabled ? clBtnText : clBtnShadow;
    const int x = w / 2 - 5, y = h / 2 - 4;
    switch (Command) {
        case cmClose:
            DrawCloseImage(c, x, y, color);
            break;
        case cmMaximize:
            if (Parent->FormMaximized())
                DrawRestoreImage(c, x, y, color);
            else
                DrawMaximizeImage(c, x, y, color);
            break;
        case cmMinimize:
            if (Parent->FormMinimized())
                DrawRestoreImage(c, x, y, color);
            else
                DrawMinimizeImage(c, x, y, color);
            break;
        case cmSysMenu:
            DrawSysMenuImage(c, x, y, color);
            break;
        case cmRollUp:
            if (Parent->RolledUp())
                DrawRestoreRollUpImage(c, x, y, color);
            else
                DrawRollUpImage(c, x, y, color);
            break;
        case cmMinimizeToTray:
            DrawMTImage(c, x, y, color);
            break;
        default:
            break;
    }
    BitBlt(Cnvs->Handle(), ObjectRect.Left, ObjectRect.Top, w, h, dc, 0, 0, SRCCOPY);
}

void TbsSkinStdButtonObject::MouseEnter() {
    if (Command != cmDefault)
        Hint = (!RestoreHint.empty() && RestoreState(false)) ? RestoreHint : FTempHint;
    if (!IconCase(true))
        TbsSkinButtonObject::MouseEnter();
    else
        FMouseIn = true;
}

void TbsSkinStdButtonObject::MouseLeave() {
    if (!IconCase(true))
        TbsSkinButtonObject::MouseLeave();
    else
        FMouseIn = false;
}

void TbsSkinStdButtonObject::MouseDown(int, int, TMouseButton Button) {
    if (!Enabled || Button != mbLeft || FDown)
        return;
    if (!IconCase(true))
        SetDown(true);
    if (Command == cmSysMenu) {
        MenuItem = Parent->GetSystemMenu();
        TrackMenu();
    }
}

void TbsSkinStdButtonObject::MouseUp(int X, int Y, TMouseButton Button) {
    const bool run = Active && Button == mbLeft;
    if (Command == cmClose) {
        if (!IconCase(true))
            TbsSkinButtonObject::MouseUp(X, Y, Button);
        if (run)
            DoCommand();
        return;
    }
    if (run)
        DoCommand();
    if (!IconCase(true))
        TbsSkinButtonObject::MouseUp(X, Y, Button);
}

void TbsSkinStdButtonObject::DblClick() {
    if (Command == cmSysMenu)
        Parent->FForm->Close();
}

void TbsSkinStdButtonObject::DoCommand() {
    switch (Command) {
        case cmClose:
            Parent->TestActive(-1, -1, false);
            Parent->FForm->Close();
            break;
        case cmMaximize:
        case cmMinimize:
            Parent->TestActive(-1, -1, false);
            HideLayer();
            Parent->RunCommand(Command);
            break;
        case cmMinimizeToTray:
            Parent->TestActive(-1, -1, false);
            Parent->RunCommand(Command);
            break;
        case cmRollUp:
            Parent->RunCommand(Command);
            break;
        default:
            break;
    }
}

// ---- TbsSkinAnimateObject -----------------------------------------------------------------------------------------

TbsSkinAnimateObject::TbsSkinAnimateObject(TbsSkinForm* AParent, TbsDataSkinAnimate* AData)
    : TbsActiveSkinObject(AParent, AData) {
    if (!AData)
        return;
    TimerInterval = std::max(AData->TimerInterval, 25);
    CountFrames = AData->CountFrames;
    Cycle = AData->Cycle;
    ButtonStyle = AData->ButtonStyle;
    Command = AData->Command;
    DownSkinRect = AData->DownSkinRect;
    RestoreRect = AData->RestoreRect;
    RestoreActiveRect = AData->RestoreActiveRect;
    RestoreInActiveRect = AData->RestoreInActiveRect;
    RestoreDownRect = AData->RestoreDownRect;
    RestoreHint = AData->RestoreHint;
    FTempHint = AData->Hint;
}

bool TbsSkinAnimateObject::RestoreState() const {
    return Parent->CommandStateInForce(Command);
}

void TbsSkinAnimateObject::ShowLayer() {
    ShowGlow(MenuItem != nullptr);
}

void TbsSkinAnimateObject::HideLayer() {
    HideGlow(MenuItem != nullptr);
}

TRect TbsSkinAnimateObject::FrameRect(int N) const {
    const bool restore = RestoreState() && Has(RestoreRect);
    const TRect base = restore ? RestoreRect : SkinRect;
    const TRect strip = restore ? RestoreActiveRect : ActiveSkinRect;
    const int w = base.Width(), h = base.Height();
    if (CountFrames <= 0 || w <= 0 || h <= 0 || N < 1)
        return TRect{};
    const int n = std::min(N, CountFrames);
    const int left = strip.Left + w * (n - 1);
    return TRect{left, strip.Top, left + w, strip.Top + h};
}

void TbsSkinAnimateObject::Draw(TCanvas* Cnvs, bool) {
    if (SkinEmpty() || !ActivePicture)
        return;
    const bool restore = RestoreState() && Has(RestoreRect);
    const TRect down = restore ? RestoreDownRect : DownSkinRect;
    const TRect inactive = restore ? RestoreInActiveRect : InActiveSkinRect;
    if (FMenuTracking) {
        if (Has(down)) {
            DrawRect(Cnvs, ActivePicture, down);
            return;
        }
        FFrame = std::max(CountFrames, 1);
    } else if (!Parent->GetFormActive() && Has(inactive)) {
        DrawRect(Cnvs, ActivePicture, inactive);
        return;
    } else if (FDown && FMouseIn && Has(down)) {
        DrawRect(Cnvs, ActivePicture, down);
        return;
    }
    // A strip without frames has nothing to show but the normal image.
    const TRect frame = FrameRect(FFrame);
    DrawRect(Cnvs, ActivePicture, Has(frame) ? frame : (restore ? RestoreRect : SkinRect));
}

void TbsSkinAnimateObject::SetFrame(int Value) {
    if (Increment) {
        if (Value > CountFrames)
            Value = 1;
    } else if (Value <= 0) {
        Value = std::max(CountFrames, 1);
    }
    FFrame = Value;
    Parent->DrawSkinObject(this);
}

void TbsSkinAnimateObject::ChangeFrame() {
    if (CountFrames <= 0) {
        Active = false;  // a strip without frames has nothing to play
        return;
    }
    if (FInc < TimerInterval) {
        FInc += 25;
        return;
    }
    if (Increment) {
        SetFrame(FFrame + 1);
        if (!Cycle && FFrame >= CountFrames)
            Active = false;
    } else {
        SetFrame(FFrame - 1);
        if (FFrame <= 1)
            Active = false;
    }
    FInc = 25;
}

void TbsSkinAnimateObject::Start() {
    FInc = 25;
    FFrame = 1;
    Active = true;
    Parent->AnimateTimer->SetEnabled(true);
}

void TbsSkinAnimateObject::Stop() {
    SetFrame(1);
    Active = false;
    FInc = 25;
}

void TbsSkinAnimateObject::MouseEnter() {
    if (Command != cmDefault)
        Hint = (!RestoreHint.empty() && RestoreState()) ? RestoreHint : FTempHint;
    FMouseIn = true;
    if (FMenuTracking)
        return;
    if (ButtonStyle) {
        Active = true;
        Increment = true;
        if (FDown && Has(DownSkinRect))
            Parent->DrawSkinObject(this);
        else
            Parent->AnimateTimer->SetEnabled(true);
    }
    Parent->MouseEnterEvent(IDName);
    ShowLayer();
}

void TbsSkinAnimateObject::MouseLeave() {
    if (!FMouseIn)
        return;
    FMouseIn = false;
    if (FMenuTracking)
        return;
    if (ButtonStyle) {
        Active = true;
        Increment = false;
        if (FDown && Has(DownSkinRect))
            Parent->DrawSkinObject(this);
        else
            Parent->AnimateTimer->SetEnabled(true);
    }
    Parent->MouseLeaveEvent(IDName);
    HideLayer();
}

void TbsSkinAnimateObject::MouseDown(int X, int Y, TMouseButton Button) {
    TbsActiveSkinObject::MouseDown(X, Y, Button);
    if (Button == mbLeft && Has(DownSkinRect)) {
        FFrame = std::max(CountFrames, 1);
        FDown = true;
        Parent->DrawSkinObject(this);
    }
    if (Command == cmSysMenu && ButtonStyle && FMouseIn && Button == mbLeft)
        DoCommand();
}

void TbsSkinAnimateObject::MouseUp(int X, int Y, TMouseButton Button) {
    TbsActiveSkinObject::MouseUp(X, Y, Button);
    if (FMenuTracking)
        return;
    if (Button == mbLeft && Has(DownSkinRect)) {
        FDown = false;
        Parent->DrawSkinObject(this);
        Parent->AnimateTimer->SetEnabled(true);
    }
    if (Command != cmSysMenu && ButtonStyle && FMouseIn && Button == mbLeft)
        DoCommand();
}

void TbsSkinAnimateObject::DblClick() {
    if (Command == cmSysMenu)
        Parent->FForm->Close();
}

void TbsSkinAnimateObject::TrackMenu() {
    if (!MenuItem || MenuItem->Count() == 0)
        return;
    for (TbsLayerManager* m : {Parent->FLayerManager, Parent->FMenuLayerManager})
        if (m && m->IsVisible)
            m->Hide();
    if (FMouseIn)
        ShowLayer();
    TRect r = ObjectRect;
    if (Parent->FForm->HandleAllocated()) {
        RECT w{};
        GetWindowRect(Parent->FForm->Handle(), &w);
        r = TRect{r.Left + w.left, r.Top + w.top, r.Right + w.left, r.Bottom + w.top};
    }
    FMenuTracking = true;
    Parent->SkinMenuOpen();
    Parent->FSkinMenu->Popup(nullptr, Parent->FMSD ? Parent->FMSD : Parent->FSD, 0, r, MenuItem, FPopupUp);
    if (!Parent->FSkinMenu->Visible())
        Parent->SkinMenuClose();
}

void TbsSkinAnimateObject::DoCommand() {
    switch (Command) {
        case cmClose:
            Parent->TestActive(-1, -1, false);
            Parent->FForm->Close();
            break;
        case cmMaximize:
        case cmMinimize:
        case cmMinimizeToTray:
            Parent->TestActive(-1, -1, false);
            Parent->RunCommand(Command);
            break;
        case cmRollUp:
            Parent->RunCommand(Command);
            break;
        case cmSysMenu:
            MenuItem = Parent->GetSystemMenu();
            TrackMenu();
            break;
        case cmDefault:
            if (MenuItem)
                TrackMenu();
            break;
    }
}
