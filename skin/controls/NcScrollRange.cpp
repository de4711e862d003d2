#include "skin/controls/NcScrollRange.h"

#include <algorithm>

int NcRangeOverflow(TbsNcScrollRange& S, int E, int C) {
    const int p = S.SPosition;
    const int newMax = p + E - 1;
    int move = 0;
    if (p > 0 && E < C && S.SizeOffset > 0) {
        // The container grew while scrolled and empty space opened after the content.
        S.SizeOffset = std::min(S.SizeOffset, p);
        S.SMax = newMax;
        S.SPosition -= S.SizeOffset;
        S.SPage = C;
        move = S.SizeOffset;
    } else if (S.SizeOffset == 0 && newMax < S.SMax && p > 0 && E < C) {
        // The content shrank while scrolled.
        S.SMax = newMax;
        S.SPosition = p + E - C;
        S.SPage = C;
        move = C - E;
    } else {
        S.SMax = newMax;
        S.SPage = C;
    }
    S.SizeOffset = 0;
    S.SOldPosition = S.SPosition;
    return move;
}

int NcRangeFits(TbsNcScrollRange& S) {
    const int move = std::max(0, S.SPosition);
    S = TbsNcScrollRange{};
    return move;
}

int NcStepSize(int ScrollOffset, int ClientExtent) {
    return ScrollOffset > 0 ? ScrollOffset : ClientExtent;
}

int NcPageStep(TbsNcScrollRange& S, bool Forward, int Step) {
    if (Forward)
        S.SPosition = std::min(S.SPosition + Step, S.SMax - S.SPage + 1);
    else
        S.SPosition = std::max(S.SPosition - Step, 0);
    // A range that shrank below the page would push the position below 0.
    S.SPosition = std::max(S.SPosition, 0);
    return S.SPosition - S.SOldPosition;
}
