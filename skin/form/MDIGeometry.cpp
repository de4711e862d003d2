#include "skin/form/MDIGeometry.h"

#include <algorithm>
#include <cmath>

namespace {
int WholeSqrt(int n) {
    int c = static_cast<int>(std::sqrt(static_cast<double>(n)));
    while (c * c > n)
        --c;
    while ((c + 1) * (c + 1) <= n)
        ++c;
    return std::max(c, 1);
}

int RowsFor(int k, int columns) {
    columns = std::max(columns, 1);
    return std::max(k / columns + (k % columns ? 1 : 0), 1);
}
}  // namespace

std::vector<TRect> TileHBounds(int n, int W, int H) {
    std::vector<TRect> out;
    if (n <= 0)
        return out;
    out.resize(static_cast<size_t>(n));
    int c = WholeSqrt(n);
    int r = n / c;
    if (c * r < n)
        ++r;
    const int w = W / c;
    int h = H / r;
    int x = W, y = H;
    int columns = c;
    // From the last child to the first, bottom up in the right-most column first.
    for (int i = n - 1; i >= 0; --i) {
        out[static_cast<size_t>(i)] =
            TRect{std::max(x - w, 0), std::max(y - h, 0), std::max(x - w, 0) + w, std::max(y - h, 0) + h};
        y -= h;
        if (y - h < 0 && i > 0) {
            x -= w;
            y = H;
            columns = std::max(columns - 1, 1);
            h = std::max(H / RowsFor(i, columns), 1);
        }
    }
    return out;
}

std::vector<TRect> TileVBounds(int n, int W, int H) {
    std::vector<TRect> out;
    if (n <= 0)
        return out;
    const int r = WholeSqrt(n);
    const int c = std::max(n / r, 1);
    const int w = W / c;
    int h = H / r;
    int x = 0, y = 0;
    int columns = c;
    for (int i = 0; i < n; ++i) {
        out.push_back(TRect{x, y, x + w, y + h});
        y += h;
        if (y + h > H && i + 1 < n) {
            x += w;
            y = 0;
            columns = std::max(columns - 1, 1);
            h = H / std::max((n - i - 1) / columns, 1);
        }
    }
    return out;
}

int CascadeStep(bool Skinned, int ClientTop, int DefCaptionHeight) {
    return std::max(Skinned ? ClientTop : DefCaptionHeight + 3, 1);
}

TbsCascadePlan CascadePlan(int n,
                           int W,
                           int H,
                           int S,
                           int MinW,
                           int MinH,
                           const std::vector<bool>& KeepSize,
                           const std::vector<TSize>& Sizes) {
    TbsCascadePlan plan;
    if (n <= 0)
        return plan;
    S = std::max(S, 1);
    const int k = (W - static_cast<int>(std::nearbyint(W * 0.8))) / S;
    const int steps = k > n ? n - 1 : k;
    plan.Width = std::max(W - S * steps, MinW);
    plan.Height = std::max(H - S * steps, MinH);
    plan.Origins.resize(static_cast<size_t>(n));
    int o = 0;
    for (int i = n - 1; i >= 0; --i) {
        const size_t u = static_cast<size_t>(i);
        const bool keep = u < KeepSize.size() && KeepSize[u] && u < Sizes.size();
        const int cw = keep ? Sizes[u].cx : plan.Width;
        const int ch = keep ? Sizes[u].cy : plan.Height;
        if (o + cw > W || o + ch > H)
            o = 0;
        plan.Origins[u] = TPoint{o, o};
        o += S;
    }
    return plan;
}

TbsMDIScrollPlan MDIScrollPlan(const std::vector<TRect>& Children, int W, int H, int Thickness) {
    TbsMDIScrollPlan p;
    int minL = 100000, minT = 100000, maxR = -100000, maxB = -100000;
    for (const TRect& r : Children) {
        minL = std::min(minL, r.Left);
        minT = std::min(minT, r.Top);
        maxR = std::max(maxR, r.Right);
        maxB = std::max(maxB, r.Bottom);
    }
    p.HNeeded = minL < 0 || maxR > W;
    p.VNeeded = minT < 0 || maxB > H;
    // One bar takes room from the other direction: test again against the area it leaves.
    if (p.HNeeded && !p.VNeeded)
        p.VNeeded = minT < 0 || maxB > H - Thickness;
    else if (p.VNeeded && !p.HNeeded)
        p.HNeeded = minL < 0 || maxR > W - Thickness;
    if (p.HNeeded) {
        p.HPosition = minL < 0 ? -minL : 0;
        p.HMax = std::max(maxR, W) + p.HPosition - 1;
        p.HPage = W - (p.VNeeded ? Thickness : 0);
    }
    if (p.VNeeded) {
        p.VPosition = minT < 0 ? -minT : 0;
        p.VMax = std::max(maxB, H) + p.VPosition - 1;
        p.VPage = H - (p.HNeeded ? Thickness : 0);
    }
    return p;
}
