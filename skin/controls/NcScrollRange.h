// The arithmetic of a container that scrolls its children in one direction with two arrow buttons in its frame:
// the range (last content pixel, position, page), pulling the content back when the container grows or the content
// shrinks while scrolled, the page step and the arrows' enabled states. Window-free. Index: TbsNcScrollRange,
// NcRangeOverflow, NcRangeFits, NcStepSize, NcPageStep, NcBackEnabled, NcForwardEnabled.
#pragma once

struct TbsNcScrollRange {
    int SMax = 0;          // last pixel of the content, 0 when it fits
    int SPosition = 0;     // current offset
    int SPage = 0;         // client extent
    int SOldPosition = 0;  // the offset the children were last moved to
    int SizeOffset = 0;    // growth of the container at its last resize
};

// The content, ending at E in scrolled coordinates, does not fit the client extent C (E + SPosition > C): the new
// range. Returns how far the children move toward the end (0: they stay).
int NcRangeOverflow(TbsNcScrollRange& S, int E, int C);
// The content fits: the range resets; returns how far the children move back toward the end (the old position).
int NcRangeFits(TbsNcScrollRange& S);
// The page: ScrollOffset, or the client extent when it is 0.
int NcStepSize(int ScrollOffset, int ClientExtent);
// One page back or forward (not below 0, not beyond SMax - SPage + 1). Returns SPosition - SOldPosition: how far
// the content moves (0: nothing to move).
int NcPageStep(TbsNcScrollRange& S, bool Forward, int Step);
inline bool NcBackEnabled(const TbsNcScrollRange& S) {
    return S.SPosition != 0;
}
inline bool NcForwardEnabled(const TbsNcScrollRange& S) {
    return !(S.SPosition != 0 && S.SPosition > S.SMax - S.SPage);
}
