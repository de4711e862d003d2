// Colour packing and the HSL model (see ColorRoutines.h). Intermediate results are formed in double and stored in
// single precision, as the model keeps its values.
#include "skin/core/ColorRoutines.h"

#include <algorithm>
#include <cmath>

namespace {

inline int RoundEven(double v) {
    return int(std::lrint(v));  // default rounding mode: nearest, ties to even
}

inline int RedOf(std::uint32_t c) {
    return int((c >> 16) & 0xFF);
}
inline int GreenOf(std::uint32_t c) {
    return int((c >> 8) & 0xFF);
}
inline int BlueOf(std::uint32_t c) {
    return int(c & 0xFF);
}

// Round(v * 255) of a colour-model value that may lie far outside 0..1 after a large delta.
inline int Scale255(double v) {
    return RoundEven(std::clamp(v * 255.0, -1.0e6, 1.0e6));
}

}  // namespace

std::uint32_t FromRGB(std::uint32_t Color) {
    const std::uint32_t r = Color & 0xFF, g = (Color >> 8) & 0xFF, b = (Color >> 16) & 0xFF;
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}

std::uint32_t bsColor(int R, int G, int B, std::uint8_t A) {
    const auto c = [](int v) { return std::uint32_t(std::clamp(v, 0, 255)); };
    return (std::uint32_t(A) << 24) | (c(R) << 16) | (c(G) << 8) | c(B);
}

void RGBtoHSL(std::uint32_t Color, float& H, float& S, float& L) {
    const float r = float(RedOf(Color) / 255.0);
    const float g = float(GreenOf(Color) / 255.0);
    const float b = float(BlueOf(Color) / 255.0);
    const float mx = std::max({r, g, b});
    const float mn = std::min({r, g, b});
    L = float((double(mx) + mn) / 2);
    if (mx == mn) {
        H = 0;
        S = 0;
        return;
    }
    const float d = float(double(mx) - mn);
    if (L < 0.5f)
        S = float(d / (double(mx) + mn));
    else
        S = float(d / (2.0 - mx - mn));
    if (mx == r)
        H = float((double(g) - b) / d);
    else if (mx == g)
        H = float((double(b) - r) / d + 2);
    else
        H = float((double(r) - g) / d + 4);
    H = float(H / 6.0);
    if (H < 0)
        H = float(H + 1.0);
}

int HueToColor(float m1, float m2, float h) {
    double hh = double(h) - std::floor(double(h));
    double v;
    if (6 * hh < 1)
        v = m1 + (double(m2) - m1) * 6 * hh;
    else if (2 * hh < 1)
        v = m2;
    else if (3 * hh < 2)
        v = m1 + (double(m2) - m1) * (2.0 / 3.0 - hh) * 6;
    else
        v = m1;
    return Scale255(v);
}

std::uint32_t HSLtoRGB(float H, float S, float L) {
    int r, g, b;
    if (S != 0) {
        const float m2 = L > 0.5f ? float(double(L) + S - double(L) * S) : float(double(L) * (double(S) + 1));
        const float m1 = float(2.0 * L - m2);
        r = HueToColor(m1, m2, float(H + 1.0 / 3.0));
        g = HueToColor(m1, m2, H);
        b = HueToColor(m1, m2, float(H - 1.0 / 3.0));
    } else {
        r = g = b = Scale255(L);
    }
    return bsColor(r, g, b, 255);
}

std::uint32_t SetHue(std::uint32_t Color, int Hue) {
    float h, s, l;
    RGBtoHSL(Color, h, s, l);
    h = float(std::clamp(Hue, 0, 255) / 255.0);
    return HSLtoRGB(h, s, l);
}

namespace {

// v - 255 from 256 up, v + 255 below 0: the value wraps around the ends of the scale.
inline int WrapDelta(float value, int Delta) {
    long long v = (long long)Scale255(value) + Delta;
    if (v >= 256)
        v -= 255;
    else if (v < 0)
        v += 255;
    return int(std::clamp(v, -1000000LL, 1000000LL));
}

}  // namespace

std::uint32_t ChangeSat(std::uint32_t Color, int Delta) {
    float h, s, l;
    RGBtoHSL(Color, h, s, l);
    s = float(WrapDelta(s, Delta) / 255.0);
    return HSLtoRGB(h, s, l);
}

std::uint32_t ChangeHue(std::uint32_t Color, int Delta) {
    float h, s, l;
    RGBtoHSL(Color, h, s, l);
    h = float(WrapDelta(h, Delta) / 255.0);
    return HSLtoRGB(h, s, l);
}

std::uint32_t ChangeBrightness(std::uint32_t Color, int Delta) {
    const auto add = [Delta](int c) { return int(std::clamp((long long)c + Delta, -1LL, 256LL)); };
    return bsColor(add(RedOf(Color)), add(GreenOf(Color)), add(BlueOf(Color)), 255);
}
