// The fade of a control between its normal and its hot picture: both pictures blended by one of the seven fade kinds
// with the share of the hot one, drawn into a device context. GUI thread only.
#pragma once

#include <windows.h>

#include "classlib/Graphics.h"
#include "skin/core/SkinTypes.h"

// Normal and Hot must have one size; nothing is drawn otherwise. Kf: 0 the normal picture, 1 the hot one.
void BlendMorph(TBitmap* Normal, TBitmap* Hot, TbsMorphKind Kind, double Kf, HDC DC);
