// Window-free rules of the spin edit's value: the range check, the text a value shows, which texts count as numbers,
// what a typed text does to the value and whether it is rewritten at once, and the integer step. No windows.h here.
// Index: SpinCheckValue, FormatSpinValue, IsSpinNumText, TbsSpinTyped, SpinTextToValue, SpinIntegerIncrement.
#pragma once

#include <string>

// Equal bounds mean no range; otherwise V limited to Min..Max.
double SpinCheckValue(double V, double Min, double Max);

// A float value in fixed notation with Decimal places and Sep as the point; an integer value rounded to the nearest
// integer, halves to even.
std::wstring FormatSpinValue(double V, bool Float, int Decimal, wchar_t Sep);

// The character test of a typed text: not empty or "-", digits and a leading '-' only, and for floats at most one
// separator, not in front.
bool IsSpinNumText(const std::wstring& Text, bool Float, wchar_t Sep);

struct TbsSpinTyped {
    bool Number = false;   // the text is a number (passes the test and converts)
    double Value = 0;      // the number limited to the range
    bool Rewrite = false;  // no further typing can bring the text into the range: show Value at once
};

// What a typed text means: a text that passes the character test but does not convert ("-,", an integer beyond
// 32 bits) is no number.
TbsSpinTyped SpinTextToValue(const std::wstring& Text, bool Float, wchar_t Sep, double Min, double Max);

// The step of an integer spin: Increment rounded (halves to even), 1 instead of 0.
double SpinIntegerIncrement(double Increment);
