#include "skin/mdi/MDITabsLayout.h"

#include <algorithm>

namespace {
constexpr int kListButtonWidth = 15;
}

TbsMDITabsLayout LayoutMDITabs(const TbsMDITabsLayoutInput& In) {
    TbsMDITabsLayout L;
    const int H = In.Height;
    if (In.Count <= 0) {
        L.AddButton = TRect{2, H / 2 - 8, 16, H / 2 + 6};
        L.UsableWidth = In.Width - (In.AddButton ? 19 : 0);
        return L;
    }
    const int W = In.Width - (In.AddButton ? 19 : 0);
    L.UsableWidth = W;
    const int tabH = H - In.BottomOffset;
    const int T = std::min((W - kListButtonWidth) / In.Count, In.DefaultTabWidth);
    L.Tabs.assign(static_cast<size_t>(In.Count), TRect{});
    L.Visible.assign(static_cast<size_t>(In.Count), false);
    int X = kListButtonWidth;
    int lastShown = -1;
    const bool hiding = In.MinTabWidth > 0 && T < In.MinTabWidth;
    if (hiding) {
        const int fit = std::max((W - 2 * kListButtonWidth) / In.MinTabWidth, 0);
        for (int i = 0; i < In.Count; ++i) {
            if (i < fit) {
                L.Tabs[static_cast<size_t>(i)] = TRect{X, 0, X + In.MinTabWidth, tabH};
                L.Visible[static_cast<size_t>(i)] = true;
                X += In.MinTabWidth;
                lastShown = i;
            } else {
                ++L.InVisibleCount;
            }
        }
    } else {
        for (int i = 0; i < In.Count; ++i) {
            L.Tabs[static_cast<size_t>(i)] = TRect{X, 0, X + T, tabH};
            L.Visible[static_cast<size_t>(i)] = true;
            X += T;
            lastShown = i;
        }
        if (T < In.DefaultTabWidth)
            L.Tabs.back().Right = W;
    }
    const int after = lastShown >= 0 ? L.Tabs[static_cast<size_t>(lastShown)].Right : kListButtonWidth;
    L.AddButton = TRect{after + 2, H / 2 - 8, after + 16, H / 2 + 6};
    if (In.DragIndex >= 0 && In.DragIndex < In.Count && L.Visible[static_cast<size_t>(In.DragIndex)]) {
        TRect& r = L.Tabs[static_cast<size_t>(In.DragIndex)];
        const int limit = hiding ? W - kListButtonWidth : W;
        const int w = r.Width();
        int left = r.Left + In.TabDX;
        left = std::max(0, std::min(left, limit - w));
        r.Left = left;
        r.Right = left + w;
    }
    return L;
}

int MDITabDropIndex(const TbsMDITabsLayout& L, int DragIndex, int TabDX) {
    const int n = static_cast<int>(L.Tabs.size());
    if (DragIndex < 0 || DragIndex >= n || TabDX == 0)
        return -1;
    const TRect& d = L.Tabs[static_cast<size_t>(DragIndex)];
    auto centre = [&](int i) {
        const TRect& r = L.Tabs[static_cast<size_t>(i)];
        return r.Left + r.Width() / 2;
    };
    int found = -1;
    if (TabDX > 0) {
        for (int i = DragIndex + 1; i < n; ++i)
            if (L.Visible[static_cast<size_t>(i)] && centre(i) < d.Right)
                found = i;
    } else {
        for (int i = 0; i < DragIndex; ++i)
            if (L.Visible[static_cast<size_t>(i)] && centre(i) > d.Left) {
                found = i;
                break;
            }
    }
    return found;
}
