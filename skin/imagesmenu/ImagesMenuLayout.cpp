// The images menu's cells.
#include "skin/imagesmenu/ImagesMenuLayout.h"

TbsImagesMenuLayout LayoutImagesMenu(const std::vector<TbsImagesMenuItemKind>& Items,
                                     int ImageW,
                                     int ImageH,
                                     int Columns,
                                     TPoint Start,
                                     int HeaderH) {
    TbsImagesMenuLayout out;
    const int cw = ImageW + 10, ch = ImageH + 10, rw = Columns * cw;
    const int x0 = Start.X;
    int x = x0, y = Start.Y;
    bool rowOpen = false;
    auto closeRow = [&] {
        if (rowOpen) {
            x = x0;
            y += ch + 1;
            rowOpen = false;
        }
    };
    for (TbsImagesMenuItemKind k : Items) {
        if (k == bsimCell) {
            if (rowOpen && x + cw > x0 + rw)
                closeRow();
            out.ItemRects.push_back(TRect{x, y, x + cw, y + ch});
            x += cw;
            rowOpen = true;
            continue;
        }
        closeRow();
        const int h = k == bsimHeader ? (HeaderH > 0 ? HeaderH : ch) : ch;
        out.ItemRects.push_back(TRect{x0, y, x0 + rw, y + h});
        y += h + 1;
    }
    out.ContentWidth = rw;
    if (!out.ItemRects.empty())
        out.ContentHeight = out.ItemRects.back().Bottom - out.ItemRects.front().Top;
    return out;
}
