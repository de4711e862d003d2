#include "skin/ribbon/RibbonLayout.h"

#include <algorithm>

std::vector<int> RibbonTabWidths(const std::vector<int>& Natural, int Available, bool& Divider) {
    long long sum = 0;
    for (int w : Natural)
        sum += w;
    Divider = sum > Available;
    if (!Divider)
        return Natural;
    std::vector<int> out;
    out.reserve(Natural.size());
    for (int w : Natural) {
        const double share = static_cast<double>(Available) * (static_cast<double>(w) / static_cast<double>(sum));
        // Trunc toward zero, as a negative available width would give.
        out.push_back(std::max(kRibbonMinTabWidth, static_cast<int>(share)));
    }
    return out;
}

std::vector<TRect> RibbonButtonRects(const std::vector<TbsRibbonButtonInfo>& Buttons,
                                     int ImageWidth,
                                     int RowHeight,
                                     int Width,
                                     int& RightOffset) {
    std::vector<TRect> out(Buttons.size());
    const int base = ImageWidth + 6;
    const int h = RowHeight - 2;
    int x = Width - 2;
    for (size_t k = Buttons.size(); k-- > 0;) {
        const TbsRibbonButtonInfo& b = Buttons[k];
        if (!b.Visible)
            continue;
        int w = base;
        if (b.HasPopup)
            w += 8;
        if (b.CaptionWidth > 0)
            w += b.CaptionWidth + 6;
        w = std::max(w, h);
        out[k] = {x - w, 1, x, h + 1};
        x -= w;
    }
    RightOffset = Width - x + 2;
    return out;
}

TRect RibbonPageBounds(int Width, int Height, int RowHeight, bool Skinned, const TRect& SkinRect, const TRect& ClRect) {
    if (!Skinned)
        return {1, RowHeight + 2, Width - 2, Height - RowHeight - 5};
    return {ClRect.Left, RowHeight + ClRect.Top, Width + ClRect.Width() - SkinRect.Width(),
            Height + ClRect.Height() - SkinRect.Height() - RowHeight};
}

std::vector<TRect> AppMenuItemRects(const std::vector<TbsAppMenuItemInfo>& Items,
                                    const TbsAppMenuLook& Look,
                                    int ItemWidth,
                                    int ScrollOffset) {
    std::vector<TRect> out(Items.size());
    int y = Look.TopReserve + 7 - ScrollOffset;
    bool first = true, prevPage = false;
    for (size_t i = 0; i < Items.size(); ++i) {
        const TbsAppMenuItemInfo& it = Items[i];
        if (!it.Visible)
            continue;
        if (first && it.HasPage && !Look.Uniform)
            y = 30 - ScrollOffset;
        else if (!first && it.HasPage && !prevPage && !Look.Uniform)
            y += 8;
        if (it.HasPage) {
            out[i] = {0, y, ItemWidth, y + Look.PageItemHeight};
            y += Look.PageItemHeight + (Look.Uniform ? 0 : 8);
        } else {
            out[i] = Look.Uniform ? TRect{0, y, ItemWidth, y + Look.ItemHeight}
                                  : TRect{8, y, ItemWidth - 8, y + Look.ItemHeight};
            y += Look.ItemHeight;
        }
        first = false;
        prevPage = it.HasPage;
    }
    return out;
}

int AppMenuContentHeight(const std::vector<TbsAppMenuItemInfo>& Items,
                         const TbsAppMenuLook& Look,
                         int BackButtonHeight) {
    int t = (BackButtonHeight > 0 ? BackButtonHeight + 5 : 0) + 7;
    bool first = true, prevPage = false;
    for (const TbsAppMenuItemInfo& it : Items) {
        if (!it.Visible)
            continue;
        if (first && it.HasPage && !Look.Uniform)
            t = 30;
        else if (!first && it.HasPage && !prevPage && !Look.Uniform)
            t += 8;
        t += it.HasPage && !Look.Uniform ? Look.PageItemHeight + 8 : Look.ItemHeight;
        first = false;
        prevPage = it.HasPage;
    }
    if (!Items.empty() && Items.back().HasPage)
        t += 25;
    return t;
}

int AppMenuPageWidth(int Requested, int Area, int DefaultWidth) {
    int w = Area;
    if (DefaultWidth > 0 && Requested <= Area && DefaultWidth <= Area)
        w = DefaultWidth;
    return std::max(w, 100);
}
