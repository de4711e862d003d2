#include "skin/views/ViewGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

int ItemStepOf(int Item0Height) {
    const int half = Item0Height / 2;
    return half > 0 ? half : 1;
}

TbsBarPlan PlanIconBar(const TbsNativeScroll& S, int Size, int Item0Height, bool ViewVisible) {
    TbsBarPlan p;
    p.Visible = ViewVisible && Size < S.Max;
    if (p.Visible) {
        p.Min = S.Min;
        p.Max = S.Max;
        p.Page = Size;
        p.Pos = S.Pos;
        p.SetSteps = true;
        p.SmallChange = p.LargeChange = ItemStepOf(Item0Height);
    }
    return p;
}

TbsBarPlan PlanReportVBar(const TbsNativeScroll& S, int CountPerPage, bool ViewVisible) {
    TbsBarPlan p;
    p.Visible = ViewVisible && CountPerPage < S.Max + 1;
    if (p.Visible) {
        p.Min = S.Min;
        p.Max = S.Max;
        p.Page = CountPerPage;
        p.Pos = S.Pos;
        p.SetSteps = true;
        p.SmallChange = 1;
        p.LargeChange = CountPerPage > 0 ? CountPerPage : 1;
    }
    return p;
}

TbsBarPlan PlanWidthBar(const TbsNativeScroll& S, int Width, bool ViewVisible) {
    TbsBarPlan p;
    p.Visible = ViewVisible && Width < S.Max;
    if (p.Visible) {
        p.Min = S.Min;
        p.Max = S.Max;
        p.Page = Width;
        p.Pos = S.Pos;
    }
    return p;
}

TbsBarPlan PlanListHBar(const TbsNativeScroll& S, int Width, int Item0Width, int CountPerPage, int ItemCount,
                        bool ViewVisible) {
    const int column = Item0Width > 0 ? Item0Width : 1;
    TbsBarPlan p;
    p.Visible = ViewVisible && CountPerPage < ItemCount;
    if (p.Visible) {
        p.Min = S.Min;
        p.Max = S.Max;
        p.Page = Width / column;
        p.Pos = S.Pos;
        p.SetSteps = true;
        p.SmallChange = p.LargeChange = 1;
    }
    return p;
}

TbsBarPlan PlanTreeVBar(const TbsNativeScroll& S, int VisibleCount, int NodeCount, bool ViewVisible) {
    TbsBarPlan p;
    p.Visible = ViewVisible && S.Max > 0 && VisibleCount <= S.Max && S.Max < NodeCount;
    if (p.Visible) {
        p.Min = S.Min;
        p.Max = S.Max;
        p.Page = VisibleCount;
        p.Pos = S.Pos;
    }
    return p;
}

int ListLabelRight(int LabelLeft, int CaptionWidth) {
    return LabelLeft + CaptionWidth + 2;
}

TRect ItemSelectionRect(TbsViewKind Kind, const TRect& NativeLabel, const TRect& Label, const TRect& SelectBounds,
                        bool EmptyCaption) {
    TRect sel;
    switch (Kind) {
        case TbsViewKind::Icon:
            sel = NativeLabel;
            break;
        case TbsViewKind::List:
            sel = Label;
            sel.Right += EmptyCaption ? 20 : 4;
            break;
        default:
            sel = SelectBounds;
            sel.Left = Label.Left;
            break;
    }
    sel.Bottom -= 1;
    return sel;
}

TRect HeaderContentBox(const TRect& Section) {
    return {Section.Left + 5, Section.Top, Section.Right - 5, Section.Bottom};
}

int HeaderTextRoom(const TRect& B, bool HasImage, int ImageWidth) {
    return HasImage ? B.Width() - 10 - ImageWidth : B.Width();
}

TbsHeaderContent LayoutHeaderContent(const TRect& B, TAlignment Alignment, int TextWidth, int TextHeight,
                                     int FontHeight, bool HasImage, int ImageWidth, int ImageHeight, bool Shortened) {
    TbsHeaderContent c;
    if (HasImage) {
        int x = B.Left;
        if (!Shortened) {
            if (Alignment == taRightJustify)
                x = B.Right - TextWidth - ImageWidth - 10;
            else if (Alignment == taCenter)
                x = B.Left + B.Width() / 2 - (TextWidth + ImageWidth + 10) / 2;
        }
        c.ImageX = x;
        c.ImageY = B.Top + B.Height() / 2 - ImageHeight / 2;
        c.TextX = x + ImageWidth + 10;
    } else {
        c.TextX = B.Left;
        if (Alignment == taRightJustify)
            c.TextX = B.Right - TextWidth;
        else if (Alignment == taCenter)
            c.TextX = B.Left + B.Width() / 2 - TextWidth / 2;
    }
    c.TextY = B.Top + B.Height() / 2 - TextHeight / 2;
    if (std::abs(FontHeight) % 2 == 1)
        c.TextY -= 1;
    return c;
}

std::uint32_t BlendHalf(std::uint32_t A, std::uint32_t B) {
    std::uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8)
        out |= ((((A >> shift) & 0xFF) + ((B >> shift) & 0xFF)) >> 1) << shift;
    return out;
}

std::uint32_t ListGridColorOf(std::uint32_t Font, std::uint32_t Back) {
    return BlendHalf(BlendHalf(BlendHalf(Font, Back), Back), Back);
}

std::uint32_t TreeLineColorOf(std::uint32_t Font, std::uint32_t Back) {
    return BlendHalf(BlendHalf(Font, Back), Back);
}

std::uint32_t TreeButtonColorOf(std::uint32_t Font, std::uint32_t Back) {
    return BlendHalf(Font, Back);
}

TbsTreeDrawing PlanTreeNode(const TbsTreeNodeFacts& F) {
    TbsTreeDrawing d;
    const TRect& row = F.Row;
    const int mid = row.Top + row.Height() / 2;
    const int x0 = row.Left + F.Indent / 2;
    const int size = F.ButtonSize;
    d.Mid = mid;
    d.X0 = x0;
    if (F.ShowLines) {
        if (F.HasChildren)
            d.Lines.push_back({x0 + size - 1, mid - 1, row.Left + F.Indent + size - 5, mid - 1, true});
        else
            d.Lines.push_back({x0 - 1, mid - 1, row.Left + F.Indent, mid - 1, true});
        if (!F.FirstOfTree)
            d.Lines.push_back({x0 - 1, mid - 1, x0 - 1, row.Top, false});
        if (F.LineDown)
            d.Lines.push_back({x0 - 1, mid, x0 - 1, row.Bottom, false});
        int x = x0;
        for (bool hasNext : F.AncestorHasNext) {
            x -= F.Indent;
            if (hasNext)
                d.Lines.push_back({x - 1, row.Top, x - 1, row.Bottom, false});
        }
    }
    if (F.HasChildren && F.ShowButtons) {
        d.Box = true;
        d.BoxRect = {x0 - size, mid - size, x0 + size - 1, mid + size - 1};
        d.Minus = true;
        d.MinusSeg = {x0 - size + 2, mid - 1, x0 + size - 3, mid - 1, false};
        d.Plus = !F.Expanded;
        d.PlusSeg = {x0 - 1, mid - size + 2, x0 - 1, mid + size - 3, false};
    }
    return d;
}

std::vector<std::uint8_t> FadeAlphas(int Length) {
    const int n = std::abs(Length);
    std::vector<std::uint8_t> a(static_cast<size_t>(n), 255);
    const int half = n / 2;
    if (half < 1)  // a ramp of no pixels: the line stays opaque
        return a;
    const int step = static_cast<int>(std::nearbyint(255.0 / half));  // the default rounding is to even
    for (int i = half; i < n; ++i)
        a[static_cast<size_t>(i)] = static_cast<std::uint8_t>(std::max(0, 255 - step * (i - half)));
    return a;
}
