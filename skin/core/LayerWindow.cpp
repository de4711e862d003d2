#include "skin/core/LayerWindow.h"

#include <algorithm>

#include "skin/core/EffectBitmap.h"
#include "skin/core/SkinBitmap.h"
#include "skin/core/SkinUtils.h"

// ---- TbsLayerWindow -------------------------------------------------------------------------------------------------

TbsLayerWindow::TbsLayerWindow(TComponent* AOwner) : TCustomControl(AOwner) {
    SetVisible(false);
}

void TbsLayerWindow::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP;
    Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT;
    Params.WindowClass.style |= CS_SAVEBITS;
    Params.WndParent = nullptr;
}

void TbsLayerWindow::WndProc(TMessage& Message) {
    if (Message.Msg == WM_MOUSEACTIVATE) {
        Message.Result = MA_NOACTIVATE;  // a click never activates the glow
        return;
    }
    TCustomControl::WndProc(Message);
}

// ---- TbsLayerManager ------------------------------------------------------------------------------------------------

TbsLayerManager::TbsLayerManager(TComponent* AOwner)
    : TComponent(AOwner), LayeringAvailable([] { return CheckW2KWXP(); }), FTimer(std::make_unique<TTimer>(nullptr)) {
    FTimer->SetEnabled(false);
    FTimer->SetInterval(25);
    FTimer->OnTimer = [this](TObject*) { ExecTimer(); };
}

TbsLayerManager::~TbsLayerManager() {
    FreeWindow();
}

void TbsLayerManager::FreeWindow() {
    delete FLayerWindow;
    FLayerWindow = nullptr;
}

void TbsLayerManager::Show(int X, int Y, TBitmap* AImage, TBitmap* AImageMask, int AAlphaBlendValue) {
    if (!LayeringAvailable() || !AImage)
        return;
    if (FLayerWindow)
        Hide();
    IsVisible = true;
    FLayerWindow = new TbsLayerWindow(nullptr);
    FLayerWindow->SetBounds(X, Y, AImage->Width(), AImage->Height());
    HWND wnd = FLayerWindow->Handle();
    ::SetWindowLongPtrW(wnd, GWL_EXSTYLE, ::GetWindowLongPtrW(wnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    FBmp = std::make_unique<TbsBitmap>();
    CreateAlphaLayer(AImage, AImageMask, FBmp.get());
    CreateAlphaLayered2(FBmp.get(), 0, FLayerWindow);
    ::SetWindowPos(wnd, TopMostMode ? HWND_TOPMOST : HWND_NOTOPMOST, X, Y, 0, 0,
                   SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
    EndAlphaBlendValue = AAlphaBlendValue;
    // At least 1, so that a target below 10 still fades in and the timer stops.
    StepAlphaBlendValue = std::max(1, AAlphaBlendValue / 10);
    StartTimer();
}

void TbsLayerManager::Hide() {
    if (!LayeringAvailable())
        return;
    StopTimer();
    FBmp.reset();
    IsVisible = false;
    if (FLayerWindow) {
        if (FLayerWindow->HandleAllocated())
            ::SetWindowPos(FLayerWindow->Handle(), nullptr, 0, 0, 0, 0,
                           SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
        FreeWindow();
    }
}

void TbsLayerManager::Update() {
    if (!IsVisible || !FLayerWindow)
        return;
    ::SetWindowPos(FLayerWindow->Handle(), TopMostMode ? HWND_TOPMOST : HWND_NOTOPMOST, FLayerWindow->Left(),
                   FLayerWindow->Top(), 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
}

void TbsLayerManager::StartTimer() {
    BeginAlphaBlendValue = 0;
    FTimer->SetEnabled(true);
}

void TbsLayerManager::StopTimer() {
    FTimer->SetEnabled(false);
}

void TbsLayerManager::ExecTimer() {
    if (!FBmp || !FLayerWindow)
        return;
    BeginAlphaBlendValue = std::min(BeginAlphaBlendValue + StepAlphaBlendValue, EndAlphaBlendValue);
    CreateAlphaLayered2(FBmp.get(), BeginAlphaBlendValue, FLayerWindow);
    if (BeginAlphaBlendValue == EndAlphaBlendValue)
        StopTimer();
}

// ---- Routines -------------------------------------------------------------------------------------------------------

void CreateAlphaLayer(TBitmap* B, TBitmap* MaskB, TbsBitmap* AlphaB) {
    AlphaB->Assign(B);
    if (MaskB && !MaskB->Empty()) {
        TbsBitmap mask;
        mask.Assign(MaskB);
        if (mask.Width() >= AlphaB->Width() && mask.Height() >= AlphaB->Height())
            CreateAlphaByMask(AlphaB, &mask);
    }
    AlphaB->CheckRGBA();
}

void CreateAlphaLayered2(TbsBitmap* Bmp, int AlphaValue, TWinControl* Control) {
    auto update = SystemBindings().UpdateLayeredWindow;
    if (!Control || !Bmp || !update)
        return;
    POINT dst{Control->Left(), Control->Top()};
    SIZE size{Bmp->Width(), Bmp->Height()};
    POINT src{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(AlphaValue), AC_SRC_ALPHA};
    update(Control->Handle(), nullptr, &dst, &size, Bmp->DC(), &src, 0, &blend, ULW_ALPHA);
}
