#include "skin/core/SkinUtils.h"

#include <algorithm>
#include <cmath>

namespace {

// Default rounding mode: to nearest, ties to even.
std::uint8_t Channel(double v) {
    return static_cast<std::uint8_t>(std::clamp(std::nearbyint(v), 0.0, 255.0));
}

int RoundInt(double v) {
    return static_cast<int>(std::nearbyint(v));
}

TColor ShiftValue(TColor Color, int Percent, int Sign) {
    const TColor c = ColorToRGB(Color);
    int h = 0, s = 0, v = 0;
    RGBToHSL(GetRValue(c), GetGValue(c), GetBValue(c), h, s, v);
    v = std::clamp(v + Sign * ::MulDiv(v, Percent, 100), 0, 100);
    std::uint8_t r = 0, g = 0, b = 0;
    HSLToRGB(r, g, b, h, s, v);
    return RGBColor(r, g, b);
}

}  // namespace

void HSLToRGB(std::uint8_t& R, std::uint8_t& G, std::uint8_t& B, double H, double S, double L) {
    const double v = L * 255.0 / 100.0;
    const double s = S / 100.0;
    if (s == 0) {
        R = G = B = Channel(v);
        return;
    }
    const double h = H / 60.0;
    const int i = static_cast<int>(std::floor(h));
    const double f = h - i;
    const double p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
    double r, g, b;
    switch (i) {
        case 0:
            r = v, g = t, b = p;
            break;
        case 1:
            r = q, g = v, b = p;
            break;
        case 2:
            r = p, g = v, b = t;
            break;
        case 3:
            r = p, g = q, b = v;
            break;
        case 4:
            r = t, g = p, b = v;
            break;
        default:
            r = v, g = p, b = q;
            break;
    }
    R = Channel(r);
    G = Channel(g);
    B = Channel(b);
}

void RGBToHSL(std::uint8_t R, std::uint8_t G, std::uint8_t B, int& H, int& S, int& L) {
    const int mx = std::max({R, G, B}), mn = std::min({R, G, B});
    if (mx == mn) {
        H = 0;
        S = 0;
        L = RoundInt(R * 100.0 / 255.0);
        return;
    }
    S = RoundInt(double(mx - mn) / mx * 100.0);
    L = RoundInt(mx / 255.0 * 100.0);
    const double r = R / 255.0, g = G / 255.0, b = B / 255.0, d = (mx - mn) / 255.0;
    double h;
    if (mx == R)
        h = (g - b) / d;
    else if (mx == G)
        h = (b - r) / d + 2;
    else
        h = (r - g) / d + 4;
    h /= 6;
    if (h < 0)
        h += 1;
    H = RoundInt(h * 359);
}

TColor Lighter(TColor Color, int Percent) {
    return ShiftValue(Color, Percent, +1);
}

TColor Darker(TColor Color, int Percent) {
    return ShiftValue(Color, Percent, -1);
}

TColor GetAlternateColor(TColor Color) {
    const TColor c = ColorToRGB(Color);
    int h = 0, s = 0, v = 0;
    RGBToHSL(GetRValue(c), GetGValue(c), GetBValue(c), h, s, v);
    return v >= 50 ? Darker(c, 10) : Lighter(c, 25);
}

TColor MiddleColor(TColor Color1, TColor Color2) {
    const TColor a = ColorToRGB(Color1), b = ColorToRGB(Color2);
    return RGBColor((GetRValue(a) + GetRValue(b)) >> 1, (GetGValue(a) + GetGValue(b)) >> 1,
                    (GetBValue(a) + GetBValue(b)) >> 1);
}

// ---- Rectangles -----------------------------------------------------------------------------------------------------

bool RectInRect(const TRect& R1, const TRect& R2) {
    return R2.Contains(R1.TopLeft()) && R2.Contains(R1.BottomRight());
}

bool RectToRect(const TRect& R1, const TRect& R2) {
    return R2.Contains({R2.Left + 1, R1.Top}) || R2.Contains({R2.Right - 1, R1.Bottom});
}

TRect CenterRect(TRect& R, const TRect& Bounds) {
    const int w = RectWidth(R), h = RectHeight(R);
    R.Left = Bounds.Left + (RectWidth(Bounds) - w) / 2;
    R.Top = Bounds.Top + (RectHeight(Bounds) - h) / 2;
    R.Right = R.Left + w;
    R.Bottom = R.Top + h;
    return R;
}

// ---- Version --------------------------------------------------------------------------------------------------------

void GetWindowsVersion(int& Major, int& Minor) {
    const DWORD v = ::GetVersion();
    Major = LOBYTE(LOWORD(v));
    Minor = HIBYTE(LOWORD(v));
}

bool IsW7(int Major, int Minor) {
    return Major == 6 && Minor == 1;
}
bool IsW8(int Major, int Minor) {
    return (Major == 6 && Minor == 2) || Major > 6;
}
bool IsVistaOS(int Major, int) {
    return Major > 5;
}
bool IsWXP(int Major, int Minor) {
    return Major == 5 && Minor == 1;
}
bool CheckWXP(int Major, int Minor) {
    return Major > 5 || (Major == 5 && Minor == 1);
}
bool CheckW2KWXP(int Major, int Minor) {
    return Major > 5 || (Major == 5 && Minor >= 0 && Minor <= 2);
}

#define TRELM_VERSION_PREDICATE(name)    \
    bool name() {                        \
        int major = 0, minor = 0;        \
        GetWindowsVersion(major, minor); \
        return name(major, minor);       \
    }
TRELM_VERSION_PREDICATE(IsW7)
TRELM_VERSION_PREDICATE(IsW8)
TRELM_VERSION_PREDICATE(IsVistaOS)
TRELM_VERSION_PREDICATE(IsWXP)
TRELM_VERSION_PREDICATE(CheckWXP)
TRELM_VERSION_PREDICATE(CheckW2KWXP)
#undef TRELM_VERSION_PREDICATE

// ---- Bindings -------------------------------------------------------------------------------------------------------

namespace {

template <typename F>
void Bind(F& slot, HMODULE module, const char* name) {
    slot = module ? reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(module, name))) : nullptr;
}

HMODULE DwmModule() {
    // Loaded once and kept for the program's life: the bound entries point into it.
    static HMODULE module = ::LoadLibraryW(L"dwmapi.dll");
    return module;
}

}  // namespace

TSystemBindings BindSystemFunctions() {
    TSystemBindings b;
    HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    Bind(b.MonitorFromWindow, user32, "MonitorFromWindow");
    Bind(b.MonitorFromPoint, user32, "MonitorFromPoint");
    Bind(b.GetMonitorInfoA, user32, "GetMonitorInfoA");
    Bind(b.GetScrollBarInfo, user32, "GetScrollBarInfo");
    Bind(b.SetLayeredWindowAttributes, user32, "SetLayeredWindowAttributes");
    Bind(b.UpdateLayeredWindow, user32, "UpdateLayeredWindow");
    b.IsNT = (::GetVersion() & 0x80000000u) == 0;
    HMODULE dwm = DwmModule();
    Bind(b.DwmIsCompositionEnabled, dwm, "DwmIsCompositionEnabled");
    Bind(b.DwmSetWindowAttribute, dwm, "DwmSetWindowAttribute");
    Bind(b.DwmEnableBlurBehindWindow, dwm, "DwmEnableBlurBehindWindow");
    return b;
}

TSystemBindings& SystemBindings() {
    static TSystemBindings bindings = BindSystemFunctions();
    return bindings;
}

void SetupDWM() {
    TSystemBindings& b = SystemBindings();
    HMODULE dwm = DwmModule();
    Bind(b.DwmIsCompositionEnabled, dwm, "DwmIsCompositionEnabled");
    Bind(b.DwmSetWindowAttribute, dwm, "DwmSetWindowAttribute");
    Bind(b.DwmEnableBlurBehindWindow, dwm, "DwmEnableBlurBehindWindow");
}

TSystemBindingsOverride::TSystemBindingsOverride(const TSystemBindings& Bindings) : saved_(SystemBindings()) {
    SystemBindings() = Bindings;
}

TSystemBindingsOverride::~TSystemBindingsOverride() {
    SystemBindings() = saved_;
}

void SetAlphaBlendTransparent(HWND Wnd, std::uint8_t Value) {
    if (auto f = SystemBindings().SetLayeredWindowAttributes)
        f(Wnd, 0, Value, LWA_ALPHA);
}

bool MyGetScrollBarInfo(HWND Wnd, LONG ObjectId, SCROLLBARINFO& Info) {
    if (auto f = SystemBindings().GetScrollBarInfo)
        return f(Wnd, ObjectId, &Info) != FALSE;
    Info.rgstate[0] = STATE_SYSTEM_INVISIBLE;
    return false;
}

bool CheckMultiMonitors() {
    return ::GetSystemMetrics(SM_CMONITORS) > 1 && SystemBindings().GetMonitorInfoA != nullptr;
}

TRect GetPrimaryMonitorWorkArea(bool WorkArea) {
    if (WorkArea) {
        RECT r{};
        if (::SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0))
            return TRect{r.left, r.top, r.right, r.bottom};
    }
    return TRect{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

namespace {

TRect MonitorArea(HMONITOR monitor, bool WorkArea) {
    TRect result{};
    MONITORINFO info{};
    info.cbSize = sizeof info;  // the 40-byte record
    if (monitor && SystemBindings().GetMonitorInfoA(monitor, &info)) {
        const RECT& r = WorkArea ? info.rcWork : info.rcMonitor;
        result = TRect{r.left, r.top, r.right, r.bottom};
    }
    return result;
}

}  // namespace

TRect GetMonitorWorkAreaFromPoint(TPoint P, bool WorkArea) {
    if (!CheckMultiMonitors() || !SystemBindings().MonitorFromPoint)
        return GetPrimaryMonitorWorkArea(WorkArea);
    return MonitorArea(SystemBindings().MonitorFromPoint(POINT{P.X, P.Y}, MONITOR_DEFAULTTONEAREST), WorkArea);
}

TRect GetMonitorWorkArea(HWND Wnd, bool WorkArea) {
    if (!CheckMultiMonitors() || !SystemBindings().MonitorFromWindow)
        return GetPrimaryMonitorWorkArea(WorkArea);
    return MonitorArea(SystemBindings().MonitorFromWindow(Wnd, MONITOR_DEFAULTTONEAREST), WorkArea);
}

bool IsWindowsAero() {
    BOOL enabled = FALSE;
    auto f = SystemBindings().DwmIsCompositionEnabled;
    return f && SUCCEEDED(f(&enabled)) && enabled;
}

void SetDWMAnimation(HWND Wnd, bool Enable) {
    if (auto f = SystemBindings().DwmSetWindowAttribute) {
        const BOOL disable = Enable ? 0 : -1;
        f(Wnd, 3 /* DWMWA_TRANSITIONS_FORCEDISABLED */, &disable, sizeof disable);
    }
}

void SetBlurBehindWindow(HWND Wnd, bool Enable, HRGN Rgn) {
    struct BlurBehind {  // DWM_BLURBEHIND
        DWORD dwFlags;
        BOOL fEnable;
        HRGN hRgnBlur;
        BOOL fTransitionOnMaximized;
    } bb{};
    bb.dwFlags = 1 | (Rgn ? 2 : 0);
    bb.fEnable = Enable ? -1 : 0;
    bb.hRgnBlur = Rgn;
    bb.fTransitionOnMaximized = FALSE;
    if (auto f = SystemBindings().DwmEnableBlurBehindWindow)
        f(Wnd, &bb);
}

// ---- Dates ----------------------------------------------------------------------------------------------------------

namespace {
void Decode(TDateTime D, int& y, int& m, int& d) {
    y = m = d = 0;
    DecodeDate(D, y, m, d);
}
}  // namespace

int DayOfDate(TDateTime D) {
    int y, m, d;
    Decode(D, y, m, d);
    return d;
}
int MonthOfDate(TDateTime D) {
    int y, m, d;
    Decode(D, y, m, d);
    return m;
}
int YearOfDate(TDateTime D) {
    int y, m, d;
    Decode(D, y, m, d);
    return y;
}

bool IsLeap(int Year) {
    return (Year % 4 == 0 && Year % 100 != 0) || Year % 400 == 0;
}

int MonthDayCount(int Year, int Month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (Month < 1 || Month > 12)
        return 0;
    return kDays[Month - 1] + (Month == 2 && IsLeap(Year) ? 1 : 0);
}
