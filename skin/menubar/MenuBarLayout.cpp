// The main menu bar's arithmetic.
#include "skin/menubar/MenuBarLayout.h"

#include <algorithm>

std::vector<TbsMenuBarEntryPlace> LayoutMenuBarEntries(const TRect& Area,
                                                       const std::vector<TbsMenuBarEntryInput>& Entries,
                                                       bool ScrollMenu,
                                                       bool& Scroll) {
    Scroll = false;
    std::vector<TbsMenuBarEntryPlace> out;
    out.reserve(Entries.size());
    const int limit = ScrollMenu ? Area.Right - 5 : Area.Right;
    int x = Area.Left;
    for (const TbsMenuBarEntryInput& e : Entries) {
        TbsMenuBarEntryPlace p;
        const int bottom = e.Height > 0 ? Area.Top + e.Height : Area.Bottom;
        p.Rect = TRect{x, Area.Top, x + e.Width, bottom};
        // Once one entry is hidden, every later one is too: the scroll menu lists them from the first hidden on.
        p.Shown = !Scroll && p.Rect.Right <= limit;
        if (!p.Shown)
            Scroll = true;
        else
            x = p.Rect.Right;
        out.push_back(p);
    }
    return out;
}

TbsMenuBarButtonsLayout LayoutMDIButtons(const TRect& Area, const int Widths[4], const int Heights[4]) {
    TbsMenuBarButtonsLayout out;
    out.Area = Area;
    const int h = Area.Height();
    auto place = [&](int i, int Left) {
        const int w = Widths[i] > 0 ? Widths[i] : h;
        const int bh = Heights[i] > 0 ? Heights[i] : h;
        const int top = Area.Top + h / 2 - bh / 2;
        out.Rects[i] = TRect{Left, top, Left + w, top + bh};
        return w;
    };
    out.Area.Left += place(0, Area.Left) + 2;
    for (int i = 1; i < 4; ++i) {
        const int w = Widths[i] > 0 ? Widths[i] : h;
        place(i, out.Area.Right - w);
        out.Area.Right -= w + 2;
    }
    return out;
}

std::vector<TbsMergedItem> MergeByGroupIndex(const std::vector<int>& Parent, const std::vector<int>& Child) {
    std::vector<TbsMergedItem> out;
    for (int i = 0; i < static_cast<int>(Parent.size()); ++i)
        if (std::find(Child.begin(), Child.end(), Parent[static_cast<std::size_t>(i)]) == Child.end())
            out.push_back({false, i});
    for (int i = 0; i < static_cast<int>(Child.size()); ++i)
        out.push_back({true, i});
    auto group = [&](const TbsMergedItem& m) {
        return m.FromChild ? Child[static_cast<std::size_t>(m.Index)] : Parent[static_cast<std::size_t>(m.Index)];
    };
    std::stable_sort(out.begin(), out.end(),
                     [&](const TbsMergedItem& a, const TbsMergedItem& b) { return group(a) < group(b); });
    return out;
}
