// The images menu's cells as data: image cells in rows of ColumnsCount, full-width header and button rows, rows one
// pixel apart. No windows.h here.
#pragma once

#include <vector>

#include "classlib/Types.h"

enum TbsImagesMenuItemKind { bsimCell, bsimHeader, bsimButton };

struct TbsImagesMenuLayout {
    std::vector<TRect> ItemRects;
    int ContentWidth = 0, ContentHeight = 0;
};

// Cells ImageW + 10 by ImageH + 10 from Start; a header is HeaderH high (0: a cell's height).
TbsImagesMenuLayout LayoutImagesMenu(const std::vector<TbsImagesMenuItemKind>& Items,
                                     int ImageW,
                                     int ImageH,
                                     int Columns,
                                     TPoint Start,
                                     int HeaderH);
