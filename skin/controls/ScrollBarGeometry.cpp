#include "skin/controls/ScrollBarGeometry.h"

#include <algorithm>
#include <cmath>

namespace {

// Nearest integer, halves to the even neighbour.
int RoundEven(double x) {
    return static_cast<int>(std::nearbyint(x));
}

int Along(const TRect& r, bool vertical, bool start) {
    if (!vertical)
        return start ? r.Left : r.Right;
    return start ? r.Top : r.Bottom;
}

}  // namespace

int ScrollUpperBound(int Min, int Max, int PageSize) {
    const long long upper = PageSize != 0 ? static_cast<long long>(Max) - PageSize + 1 : Max;
    return static_cast<int>(std::max<long long>(upper, Min));
}

int ClampScrollPosition(int Value, int Min, int Max, int PageSize) {
    if (Value < Min)
        return Min;
    return std::min(Value, ScrollUpperBound(Min, Max, PageSize));
}

TbsScrollLayout CalcScrollRects(bool Vertical,
                                int W,
                                int H,
                                const TbsScrollValues& V,
                                bool Both,
                                int BothMarkerWidth,
                                const TbsScrollSkinParts* Skin) {
    TbsScrollLayout L;
    const bool horz = !Vertical;
    const double range = static_cast<double>(V.Max) - V.Min;
    const double F = range == 0 ? 0.0 : (static_cast<double>(V.Position) - V.Min) / range;
    int baseLen = 16;
    int breadth = 0;  // the skin thumb's breadth across the bar
    if (!Skin) {
        if (horz) {
            const int w = Both ? W - BothMarkerWidth : W;
            L.Buttons[sbDownButton] = {1, 1, 17, H - 1};
            L.Buttons[sbUpButton] = {w - 17, 1, w - 1, H - 1};
            L.NewTrackArea = {17, 1, w - 17, H - 1};
        } else {
            L.Buttons[sbDownButton] = {1, 1, W - 1, 17};
            L.Buttons[sbUpButton] = {1, H - 17, W - 1, H - 1};
            L.NewTrackArea = {1, 17, W - 1, H - 17};
        }
    } else {
        const int D = horz ? W - Skin->SkinRect.Width() : H - Skin->SkinRect.Height();
        L.NewTrackArea = Skin->TrackArea;
        if (horz)
            L.NewTrackArea.Right += D;
        else
            L.NewTrackArea.Bottom += D;
        auto place = [&](TRect r) {
            // A button from the stretch point on belongs to the far fixed part and follows the far edge.
            if (!r.IsEmpty()) {
                if (horz && r.Left >= Skin->RTPt.X)
                    r.Offset(D, 0);
                else if (!horz && r.Top >= Skin->LBPt.Y)
                    r.Offset(0, D);
            }
            return r;
        };
        L.Buttons[sbUpButton] = place(Skin->UpButtonRect);
        L.Buttons[sbDownButton] = place(Skin->DownButtonRect);
        breadth = horz ? Skin->ThumbRect.Height() : Skin->ThumbRect.Width();
        baseLen =
            Skin->ThumbMinSize != 0 ? Skin->ThumbMinSize : (horz ? Skin->ThumbRect.Width() : Skin->ThumbRect.Height());
    }
    const int trackStart = Along(L.NewTrackArea, Vertical, true);
    const int trackEnd = Along(L.NewTrackArea, Vertical, false);
    int len = baseLen;
    double fraction = F;
    if (V.PageSize == 0) {
        if (Skin && Skin->ThumbMinPageSize != 0)
            len = Skin->ThumbMinPageSize;
    } else {
        const double count = range + 1;
        const double ratio = count == 0 ? 0.0 : static_cast<double>(V.PageSize) / count;
        len = std::max(RoundEven((trackEnd - trackStart) * ratio), baseLen);
        const double denom = static_cast<double>(V.Max) - V.PageSize + 1 - V.Min;
        fraction = denom > 0 ? (static_cast<double>(V.Position) - V.Min) / denom : (horz ? 1.0 : 0.0);
    }
    const int h = len / 2;
    L.ThumbLength = len;
    L.Offset1 = trackStart + h;
    L.Offset2 = trackEnd - h;
    L.BOffset = RoundEven((L.Offset2 - L.Offset1) * fraction);
    const int a = L.Offset1 + L.BOffset - h, b = L.Offset1 + L.BOffset + h;
    TRect t;
    if (!Skin) {
        t = horz ? TRect{a, L.NewTrackArea.Top, b, L.NewTrackArea.Bottom}
                 : TRect{L.NewTrackArea.Left, a, L.NewTrackArea.Right, b};
    } else if (horz) {
        const int top = L.NewTrackArea.Top + L.NewTrackArea.Height() / 2 - breadth / 2;
        t = {a, top, b, top + breadth};
    } else {
        const int left = L.NewTrackArea.Left + L.NewTrackArea.Width() / 2 - breadth / 2;
        t = {left, a, left + breadth, b};
    }
    L.Buttons[sbThumb] = t;
    return L;
}

int CalcScrollValue(const TbsScrollLayout& L, bool Vertical, const TbsScrollValues& V, int P, int OldBOffset) {
    auto fractionOf = [](double p, double span) {
        if (span <= 0)
            return 0.0;
        return std::clamp(p / span, 0.0, 1.0);
    };
    if (V.PageSize == 0) {
        const double f = fractionOf(P, static_cast<double>(L.Offset2) - L.Offset1);
        return static_cast<int>(V.Min + static_cast<long long>(RoundEven((static_cast<double>(V.Max) - V.Min) * f)));
    }
    const int len = L.ThumbLength;
    const int o1 = Along(L.NewTrackArea, Vertical, true) + len / 2;
    const int o2 = Along(L.NewTrackArea, Vertical, false) - len / 2;
    const double f = fractionOf(static_cast<double>(P) + OldBOffset, static_cast<double>(o2) - o1);
    return static_cast<int>(
        V.Min + static_cast<long long>(RoundEven((static_cast<double>(V.Max) - V.Min - V.PageSize + 1) * f)));
}

int ScrollHitTest(const TbsScrollLayout& L, TPoint Pt, int Captured) {
    for (int i = 0; i < 3; ++i) {
        const TRect& r = L.Buttons[i];
        if (r.IsEmpty() || !r.Contains(Pt))
            continue;
        return Captured == -1 || Captured == i ? i : -1;
    }
    return -1;
}
