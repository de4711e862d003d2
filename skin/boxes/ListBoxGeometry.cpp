#include "skin/boxes/ListBoxGeometry.h"

#include <algorithm>
#include <climits>

TbsListLayout CalcListLayout(const TbsListLayoutInput& In) {
    TbsListLayout L;
    const int W = In.Width, H = In.Height;
    const int T = In.HasEntry ? 0 : (In.CaptionMode ? In.DefaultCaptionHeight : 1);
    const TRect& C = In.NewClRect;
    int HB = 0;
    if (In.Columns == 0 && In.HBar) {
        if (In.HasEntry) {
            L.HBar = TRect{C.Left, C.Bottom - In.HBarHeight, C.Right, C.Bottom};
            HB = In.HBarHeight;
        } else {
            L.HBar = TRect{1, H - 20, W - 1, H - 1};
            HB = L.HBar.Height() - 1;
        }
    }
    if (In.VBar) {
        if (!In.HasEntry) {
            if (In.Columns <= 0) {
                L.VBar = TRect{W - 20, T, W - 1, T + (H - T - HB - 1)};
                L.ListRect = TRect{2, T + 1, L.VBar.Left, H - HB - 2};
            } else {
                L.VBar = TRect{1, H - 20, W - 1, H - 1};
                L.ListRect = TRect{2, T + 1, W - 2, L.VBar.Top};
            }
        } else if (In.Columns <= 0) {
            L.VBar = TRect{C.Right - In.VBarWidth, C.Top, C.Right, C.Top + C.Height() - HB};
            L.ListRect = TRect{C.Left, C.Top, C.Right - In.VBarWidth, C.Bottom - HB};
        } else {
            L.VBar = TRect{C.Left, C.Bottom - In.VBarHeight, C.Right, C.Bottom};
            L.ListRect = TRect{C.Left, C.Top, C.Right, C.Bottom - In.VBarHeight};
        }
    } else if (!In.HasEntry) {
        L.ListRect = TRect{2, T + 1, W - 2, H - 2 - HB};
    } else {
        L.ListRect = TRect{C.Left, C.Top, C.Right, C.Bottom - HB};
    }
    return L;
}

int ListFrameHeight(int Rows, int ItemHeight, bool HasEntry, int SkinHeight, int ClientHeight, bool CaptionMode,
                    int DefaultCaptionHeight, int HBarHeight) {
    int h = HasEntry ? SkinHeight - ClientHeight + Rows * ItemHeight
                     : Rows * ItemHeight + 4 + (CaptionMode ? DefaultCaptionHeight : 0);
    return h + HBarHeight;
}

int LastVisibleItem(int Top, int Height, int ItemHeight, int Count, int Columns) {
    if (ItemHeight <= 0 || Count <= 0 || Top < 0)
        return -1;
    const long long rows = Height / ItemHeight;
    const long long span = Columns > 0 ? rows * Columns : rows;
    return static_cast<int>(std::min<long long>(Top + span, Count - 1));
}

int TabStopOf(const std::wstring& Entry) {
    if (Entry.empty() || Entry.size() > 9)
        return 0;
    int v = 0;
    for (wchar_t c : Entry) {
        if (c < L'0' || c > L'9')
            return 0;
        v = v * 10 + (c - L'0');
    }
    return v;
}
