// Small shared routines of the skin drawing code: the hue-saturation-value colour model and the shades built on it
// (alternate row colours, lighter and darker, the middle of two colours), rectangle and point tests, the Windows
// version predicates, the optional system functions bound by name at start (layered windows, monitors, scroll-bar
// information, desktop composition) behind a replaceable table, and the date helpers of the calendar controls.
// Colours are class-library colours (0x00BBGGRR or system colours, resolved first where a routine says so).
// GUI thread only (the binding table is written at start or by tests).
#pragma once

#include <windows.h>

#include <cstdint>

#include "classlib/Graphics.h"
#include "classlib/SysUtils.h"
#include "classlib/Types.h"

// ---- Colour model ---------------------------------------------------------------------------------------------------
// The colour of hue H (0..360), saturation S (0..100) and value L (0..100); channels rounded half to even.
void HSLToRGB(std::uint8_t& R, std::uint8_t& G, std::uint8_t& B, double H, double S, double L);
// Hue 0..359, saturation 0..100, value 0..100. A grey has no hue: H is 0 for it.
void RGBToHSL(std::uint8_t R, std::uint8_t G, std::uint8_t B, int& H, int& S, int& L);
// Value raised (lowered) by Percent % of itself, at most 100; system colours resolved first.
TColor Lighter(TColor Color, int Percent);
TColor Darker(TColor Color, int Percent);
// Striping of list and tree rows: Darker(Color, 10) for a value of 50 or more, else Lighter(Color, 25).
TColor GetAlternateColor(TColor Color);
// Each channel (c1 + c2) shr 1 of the resolved colours.
TColor MiddleColor(TColor Color1, TColor Color2);

// ---- Rectangles and points ------------------------------------------------------------------------------------------
inline int RectWidth(const TRect& R) {
    return R.Right - R.Left;
}
inline int RectHeight(const TRect& R) {
    return R.Bottom - R.Top;
}
inline TRect NullRect() {
    return TRect{};
}
// Empty: width or height not positive. Skin records say "no picture" this way.
inline bool IsNullRect(const TRect& R) {
    return RectWidth(R) <= 0 || RectHeight(R) <= 0;
}
inline bool IsNullPoint(const TPoint& P) {
    return P.X == 0 || P.Y == 0;
}
// Right and bottom edges included.
inline bool PointInRect(const TRect& R, const TPoint& P) {
    return P.X >= R.Left && P.X <= R.Right && P.Y >= R.Top && P.Y <= R.Bottom;
}
inline bool EqRects(const TRect& R1, const TRect& R2) {
    return R1 == R2;
}
// Both corners of R1 inside R2 by the half-open point test.
bool RectInRect(const TRect& R1, const TRect& R2);
// R1's top or bottom side lies within R2's rows.
bool RectToRect(const TRect& R1, const TRect& R2);
// R moved so that it is centred in Bounds (odd remainders to the left and top); returns the moved R.
TRect CenterRect(TRect& R, const TRect& Bounds);
inline int Max(int A, int B) {
    return A > B ? A : B;
}
inline int Min(int A, int B) {
    return A < B ? A : B;
}

// ---- Windows version ------------------------------------------------------------------------------------------------
void GetWindowsVersion(int& Major, int& Minor);
// The predicates for a given version (for tables of cases) and for the running system.
bool IsW7(int Major, int Minor);
bool IsW8(int Major, int Minor);
bool IsVistaOS(int Major, int Minor);
bool IsWXP(int Major, int Minor);
bool CheckWXP(int Major, int Minor);
bool CheckW2KWXP(int Major, int Minor);
bool IsW7();
bool IsW8();
bool IsVistaOS();
bool IsWXP();
bool CheckWXP();
bool CheckW2KWXP();

// ---- Optional system functions --------------------------------------------------------------------------------------
// Entry points looked up by name at start; each is nullptr when the system lacks it. Tests replace the table to record
// or to simulate an older system.
struct TSystemBindings {
    HMONITOR(WINAPI* MonitorFromWindow)(HWND, DWORD) = nullptr;
    HMONITOR(WINAPI* MonitorFromPoint)(POINT, DWORD) = nullptr;
    BOOL(WINAPI* GetMonitorInfoA)(HMONITOR, LPMONITORINFO) = nullptr;
    BOOL(WINAPI* GetScrollBarInfo)(HWND, LONG, PSCROLLBARINFO) = nullptr;
    BOOL(WINAPI* SetLayeredWindowAttributes)(HWND, COLORREF, BYTE, DWORD) = nullptr;
    BOOL(WINAPI* UpdateLayeredWindow)
    (HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*, DWORD) = nullptr;
    HRESULT(WINAPI* DwmIsCompositionEnabled)(BOOL*) = nullptr;
    HRESULT(WINAPI* DwmSetWindowAttribute)(HWND, DWORD, LPCVOID, DWORD) = nullptr;
    HRESULT(WINAPI* DwmEnableBlurBehindWindow)(HWND, const void*) = nullptr;
    bool IsNT = true;
};
// The table in use (bound from user32 and dwmapi.dll on first use).
TSystemBindings& SystemBindings();
// Binds the user32 functions from the already loaded module and calls SetupDWM.
TSystemBindings BindSystemFunctions();
// Loads "dwmapi.dll" (kept until the end of the program) and binds its three functions into the table in use.
void SetupDWM();
// Replaces the table for the life of the guard (tests), putting the previous one back afterwards.
class TSystemBindingsOverride {
  public:
    explicit TSystemBindingsOverride(const TSystemBindings& Bindings);
    ~TSystemBindingsOverride();
    TSystemBindingsOverride(const TSystemBindingsOverride&) = delete;
    TSystemBindingsOverride& operator=(const TSystemBindingsOverride&) = delete;

  private:
    TSystemBindings saved_;
};

// SetLayeredWindowAttributes(Wnd, 0, Value, LWA_ALPHA) when bound.
void SetAlphaBlendTransparent(HWND Wnd, std::uint8_t Value);
// GetScrollBarInfo when bound; otherwise the first state entry becomes STATE_SYSTEM_INVISIBLE and false.
bool MyGetScrollBarInfo(HWND Wnd, LONG ObjectId, SCROLLBARINFO& Info);
// More than one monitor and GetMonitorInfoA bound.
bool CheckMultiMonitors();
TRect GetPrimaryMonitorWorkArea(bool WorkArea);
TRect GetMonitorWorkAreaFromPoint(TPoint P, bool WorkArea);
TRect GetMonitorWorkArea(HWND Wnd, bool WorkArea);
bool IsWindowsAero();
void SetDWMAnimation(HWND Wnd, bool Enable);
void SetBlurBehindWindow(HWND Wnd, bool Enable, HRGN Rgn);

// ---- Dates (day counts since 30 December 1899) ----------------------------------------------------------------------
int DayOfDate(TDateTime D);
int MonthOfDate(TDateTime D);
int YearOfDate(TDateTime D);
bool IsLeap(int Year);
// 0 for a month outside 1..12.
int MonthDayCount(int Year, int Month);
