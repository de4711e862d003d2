// Plain geometry and set types shared by the whole class library: TPoint, TSize, TRect, TSet<E> and TAlignment.
// Free of windows.h; TRect and TPoint have the layout of RECT and POINT so the Win32 glue can pass them
// straight through (see AsRECT/AsPOINT in GdiHandles.h).
#pragma once

#include <cstdint>
#include <initializer_list>

// Horizontal alignment of a text in its rectangle (labels, panels, list columns, skin captions).
enum TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    TPoint TopLeft() const { return {Left, Top}; }
    TPoint BottomRight() const { return {Right, Bottom}; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    // Half-open, as PtInRect: the right and bottom edges are outside.
    bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
    void Offset(int dx, int dy) {
        Left += dx;
        Right += dx;
        Top += dy;
        Bottom += dy;
    }
    void Inflate(int dx, int dy) {
        Left -= dx;
        Right += dx;
        Top -= dy;
        Bottom += dy;
    }
    friend bool operator==(const TRect&, const TRect&) = default;
};

inline TPoint Point(int x, int y) {
    return {x, y};
}
inline TRect Rect(int left, int top, int right, int bottom) {
    return {left, top, right, bottom};
}
inline TRect Bounds(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
}
// Intersection of a and b; an empty result is the null rectangle, as IntersectRect gives.
inline TRect IntersectionOf(const TRect& a, const TRect& b) {
    TRect r{a.Left > b.Left ? a.Left : b.Left, a.Top > b.Top ? a.Top : b.Top, a.Right < b.Right ? a.Right : b.Right,
            a.Bottom < b.Bottom ? a.Bottom : b.Bottom};
    return r.IsEmpty() ? TRect{} : r;
}

// A Pascal-style set over an enumeration whose values lie in 0..63: `TSet<TFontStyle>{fsBold, fsItalic}`.
template <typename E>
class TSet {
  public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> items) {
        for (E e : items)
            bits_ |= Bit(e);
    }
    constexpr bool Contains(E e) const { return (bits_ & Bit(e)) != 0; }
    constexpr TSet& Include(E e) {
        bits_ |= Bit(e);
        return *this;
    }
    constexpr TSet& Exclude(E e) {
        bits_ &= ~Bit(e);
        return *this;
    }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr std::uint64_t Bits() const { return bits_; }
    static constexpr TSet FromBits(std::uint64_t bits) {
        TSet s;
        s.bits_ = bits;
        return s;
    }
    constexpr TSet operator+(TSet o) const { return FromBits(bits_ | o.bits_); }
    constexpr TSet operator-(TSet o) const { return FromBits(bits_ & ~o.bits_); }
    constexpr TSet operator*(TSet o) const { return FromBits(bits_ & o.bits_); }
    constexpr TSet operator+(E e) const { return FromBits(bits_ | Bit(e)); }
    constexpr TSet operator-(E e) const { return FromBits(bits_ & ~Bit(e)); }
    friend constexpr bool operator==(TSet, TSet) = default;

  private:
    static constexpr std::uint64_t Bit(E e) { return std::uint64_t{1} << static_cast<unsigned>(e); }
    std::uint64_t bits_ = 0;
};
