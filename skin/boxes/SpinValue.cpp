#include "skin/boxes/SpinValue.h"

#include <cmath>

#include "classlib/SysUtils.h"

namespace {

TFormatSettings WithSeparator(wchar_t Sep) {
    TFormatSettings fs = TFormatSettings::Invariant();
    fs.DecimalSeparator = Sep;
    return fs;
}

}  // namespace

double SpinCheckValue(double V, double Min, double Max) {
    if (Min == Max)
        return V;
    if (V < Min)
        return Min;
    if (V > Max)
        return Max;
    return V;
}

std::wstring FormatSpinValue(double V, bool Float, int Decimal, wchar_t Sep) {
    if (Float)
        return FloatToStrF(V, Decimal, false, WithSeparator(Sep));
    // nearbyint rounds halves to even in the default rounding mode.
    return FloatToStrF(std::nearbyint(V) + 0.0, 0, false, WithSeparator(Sep));  // + 0.0: no "-0"
}

bool IsSpinNumText(const std::wstring& Text, bool Float, wchar_t Sep) {
    if (Text.empty() || Text == L"-")
        return false;
    int seps = 0;
    for (size_t i = 0; i < Text.size(); ++i) {
        const wchar_t c = Text[i];
        if (c >= L'0' && c <= L'9')
            continue;
        if (c == L'-' && i == 0)
            continue;
        if (Float && c == Sep && i > 0 && ++seps == 1)
            continue;
        return false;
    }
    return true;
}

TbsSpinTyped SpinTextToValue(const std::wstring& Text, bool Float, wchar_t Sep, double Min, double Max) {
    TbsSpinTyped r;
    if (!IsSpinNumText(Text, Float, Sep))
        return r;
    double v = 0;
    if (Float) {
        if (!TryStrToFloat(Text, v, WithSeparator(Sep)))
            return r;
    } else {
        int i = 0;
        if (!TryStrToInt(Text, i))
            return r;
        v = i;
    }
    r.Number = true;
    r.Value = SpinCheckValue(v, Min, Max);
    const double c = r.Value;
    if (c < 0 && v < 0)
        r.Rewrite = c > v;
    else
        r.Rewrite = c < v;
    if ((Min > 0 && v < 0) || (Max < 0 && v > 0))
        r.Rewrite = true;
    return r;
}

double SpinIntegerIncrement(double Increment) {
    const double r = std::nearbyint(Increment);
    return r == 0 ? 1 : r;
}
