#include "skin/controls/ControlMorph.h"

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
