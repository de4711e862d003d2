#include "skin/form/SkinFormPanels.h"

#include "classlib/GdiHandles.h"
#include "skin/core/EffectBitmap.h"

TbsClientInActivePanel::TbsClientInActivePanel(TComponent* AOwner) : TCustomControl(AOwner) {
    SetVisible(false);
}

TbsClientInActivePanel::~TbsClientInActivePanel() = default;

void TbsClientInActivePanel::ShowPanel(TCustomForm* AForm, TbsClientInActiveEffect AEffect) {
    if (!AForm->HandleAllocated() || !IsWindowVisible(AForm->Handle()))
        return;
    RECT cr{};
    GetClientRect(AForm->Handle(), &cr);
    const int w = cr.right, h = cr.bottom;
    if (w <= 0 || h <= 0)
        return;
    SetParent(AForm);
    SetBounds(0, 0, w, h);
    FBuffer = std::make_unique<TbsBitmap>();
    FBuffer->SetSize(w, h);
    BitBlt(FBuffer->DC(), 0, 0, w, h, TClientDC(AForm->Handle()), 0, 0, SRCCOPY);
    GdiFlush();
    if (AEffect == bsieBlur) {
        Blur(FBuffer.get(), 3);
    } else {
        // The form's background at alpha 170 over the picture.
        TbsBitmap bg;
        bg.SetSize(w, h);
        SendMessageW(AForm->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(bg.DC()), 0);
        GdiFlush();
        std::uint32_t* d = FBuffer->Bits();
        const std::uint32_t* s = bg.Bits();
        for (int i = 0; i < w * h; ++i) {
            std::uint32_t out = 0xFF000000u;
            for (int shift = 0; shift < 24; shift += 8) {
                const std::uint32_t a = (s[i] >> shift) & 0xFF, b = (d[i] >> shift) & 0xFF;
                out |= ((a * 170 + b * 85 + 127) / 255) << shift;
            }
            d[i] = out;
        }
    }
    SetVisible(true);
    BringToFront();
    if (HandleAllocated())
        RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void TbsClientInActivePanel::HidePanel() {
    SetVisible(false);
    FBuffer.reset();
}

void TbsClientInActivePanel::Paint() {
    if (FBuffer)
        BitBlt(Canvas()->Handle(), 0, 0, FBuffer->Width(), FBuffer->Height(), FBuffer->DC(), 0, 0, SRCCOPY);
}

void TbsClientInActivePanel::WndProc(TMessage& Message) {
    // The picture covers every pixel: nothing is erased first.
    if (Message.Msg == WM_ERASEBKGND) {
        Message.Result = 1;
        return;
    }
    TCustomControl::WndProc(Message);
}
