#include "skin/controls/ControlMorph.h"

#include <algorithm>

#include "skin/controls/ControlSeam.h"
#include "skin/core/EffectBitmap.h"

void BlendMorph(TBitmap* Normal, TBitmap* Hot, TbsMorphKind Kind, double Kf, HDC DC) {
    auto a = TbsEffectBmp::CreateFromhWnd(Normal->Handle());
    auto b = TbsEffectBmp::CreateFromhWnd(Hot->Handle());
    if (!a || !b || a->Width() != b->Width() || a->Height() != b->Height())
        return;
    switch (Kind) {
        case mkGradient:
            a->MorphGrad(b.get(), Kf);
            break;
        case mkLeftGradient:
            a->MorphLeftGrad(b.get(), Kf);
            break;
        case mkRightGradient:
            a->MorphRightGrad(b.get(), Kf);
            break;
        case mkLeftSlide:
            a->MorphLeftSlide(b.get(), Kf);
            break;
        case mkRightSlide:
            a->MorphRightSlide(b.get(), Kf);
            break;
        case mkPush:
            a->MorphPush(b.get(), Kf);
            break;
        default:
            a->Morph(b.get(), Kf);
            break;
    }
    a->Draw(DC, 0, 0);
}

TbsMorphFade::TbsMorphFade() = default;
TbsMorphFade::~TbsMorphFade() = default;

void TbsMorphFade::Start(std::function<void()> OnTick) {
    if (FTimer)
        return;
    FTimer = ControlSeam().NewTimer();
    FTimer->OnTick = std::move(OnTick);
    FTimer->Start(20);
}

void TbsMorphFade::Stop() {
    FTimer.reset();
}

void TbsMorphFade::Settle(bool Lit) {
    Kf = Lit ? 1 : 0;
    Stop();
}

bool TbsMorphFade::Step(bool Lit) {
    if (Lit && Kf < 1)
        Kf = std::min(1.0, Kf + 0.2);
    else if (!Lit && Kf > 0)
        Kf = std::max(0.0, Kf - 0.2);
    else
        Settle(Lit);
    return true;
}

bool TbsMorphFade::Tick(bool Fading, bool Lit) {
    if (Fading)
        return Step(Lit);
    Settle(Lit);
    return false;
}

void TbsMorphFade::Redraw(bool Fading, std::function<void()> OnTick, const std::function<void()>& Repaint) {
    if (Fading)
        Start(std::move(OnTick));
    else
        Repaint();
}
