#include "skin/pages/PageGeometry.h"

#include <algorithm>

TRect PageAreaOf(const TRect& Native, const TbsPageAreaState& S, int CW, int CH) {
    if (S.BorderHidden && S.TabsHidden)
        return {0, -2, CW, CH};
    TRect r = Native;
    if (S.BorderHidden) {
        r.Inflate(4, 4);
        return r;
    }
    const TbsPageSkinOffsets& o = S.Offsets;
    const int hid = S.TabsHidden ? 1 : 0;
    switch (S.Position) {
        case tpTop:
            if (S.Skinned)
                r = {o.L, r.Top + o.T - 6 - hid, CW - o.R, CH - o.B};
            else
                r = {1, r.Top - 5 - hid, CW - 1, CH - 1};
            break;
        case tpBottom:
            if (S.Skinned)
                r = {o.L, r.Top + o.T - 4, CW - o.R, r.Bottom + 4 - o.B + hid};
            else
                r = {1, 1, CW - 1, r.Bottom + 3};
            break;
        case tpLeft:
            if (S.Skinned)
                r = {r.Left + o.L - 4 - hid, r.Top + o.T - 4, CW - o.R, CH - o.B};
            else
                r = {r.Left - 3 - hid, r.Top - 5, CW - 1, CH - 1};
            break;
        case tpRight:
            if (S.Skinned)
                r = {o.L, r.Top + o.T - 4, r.Right + 4 - o.R + hid, CH - o.B};
            else
                r = {r.Left - 3, r.Top - 5, r.Right + 3 + hid, CH - 1};
            break;
    }
    return r;
}

TRect CorrectTabRect(const TRect& Native, TTabPosition Position, TTabStyle Style, bool MultiLine, int RowOffset) {
    TRect r = Native;
    if (Style != tsTabs)
        return r;
    const int oneLine = MultiLine ? 0 : 2;
    switch (Position) {
        case tpTop: r.Offset(-oneLine + RowOffset, -2); break;
        case tpBottom: r.Offset(-oneLine, 2); break;
        case tpLeft: r.Offset(-2, 0); break;
        case tpRight: r.Offset(2, 0); break;
    }
    return r;
}

int TabRowOffset(int TabsOffset, int TabWidth, int ControlWidth, int VisibleTabs) {
    if (TabsOffset > 0)
        return TabsOffset;
    if (TabWidth == 0)
        return 0;
    return std::max(0, ControlWidth / 2 - TabWidth * VisibleTabs / 2);
}

int HiddenTabCount(const std::vector<TRect>& ItemRects, int Limit) {
    return static_cast<int>(
        std::count_if(ItemRects.begin(), ItemRects.end(), [Limit](const TRect& r) { return r.Right > Limit || r.Right <= 0; }));
}

int TabsScrolledOff(const std::vector<TRect>& ItemRects) {
    return static_cast<int>(std::count_if(ItemRects.begin(), ItemRects.end(), [](const TRect& r) { return r.Right <= 0; }));
}

int ScrollerTop(TTabPosition Position, bool Skinned, const TRect& PageArea, const TRect& SkinRect,
                const TRect& ClRect, int ControlHeight, int ScrollerHeight) {
    if (Position == tpTop) {
        if (!Skinned)
            return 0;
        return std::max(0, PageArea.Top - ScrollerHeight - ClRect.Top);
    }
    if (!Skinned)
        return ControlHeight - ScrollerHeight;
    return std::min(ControlHeight - ScrollerHeight, SkinRect.Height() + PageArea.Bottom - ClRect.Bottom);
}

int WheelTarget(const std::vector<bool>& Visible, int Active, bool Down) {
    const int n = static_cast<int>(Visible.size());
    if (Active < 0 || Active >= n)
        return -1;
    if (Down) {
        for (int i = Active + 1; i < n; ++i)
            if (Visible[static_cast<size_t>(i)])
                return i;
    } else {
        for (int i = Active - 1; i >= 0; --i)
            if (Visible[static_cast<size_t>(i)])
                return i;
    }
    return -1;
}
