// The spin edit's value rules as tables: range, display, the character test and what a typed text does.
#include <gtest/gtest.h>

#include <string>

#include "skin/boxes/SpinValue.h"

namespace {

TEST(SpinValue, RangeAndDisplay) {
    EXPECT_EQ(SpinCheckValue(-5, 0, 0), -5) << "equal bounds: no range";
    EXPECT_EQ(SpinCheckValue(0, 1, 10), 1);
    EXPECT_EQ(SpinCheckValue(12, 1, 10), 10);
    EXPECT_EQ(SpinCheckValue(7, 1, 10), 7);
    struct Case {
        double v;
        bool flt;
        int dec;
        wchar_t sep;
        const wchar_t* text;
    } cases[] = {
        {2.5, false, 2, L'.', L"2"},    {3.5, false, 2, L'.', L"4"},     {-2.5, false, 0, L'.', L"-2"},
        {-0.4, false, 0, L'.', L"0"},   {993, false, 2, L'.', L"993"},   {1.5, true, 2, L',', L"1,50"},
        {1.5, true, 2, L'.', L"1.50"},  {-0.25, true, 1, L'.', L"-0.2"}, {7, true, 0, L',', L"7"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatSpinValue(c.v, c.flt, c.dec, c.sep), c.text) << c.v;
}

TEST(SpinValue, CharacterTest) {
    struct Case {
        const wchar_t* text;
        bool flt;
        bool ok;
    } cases[] = {
        {L"", false, false},      {L"-", false, false},    {L"12", false, true},    {L"-12", false, true},
        {L"1-2", false, false},   {L"--1", false, false},  {L"1,5", false, false},  {L"1,5", true, true},
        {L",5", true, false},     {L"1,5,", true, false},  {L"-,", true, true},     {L"1.5", true, false},
        {L"12a", false, false},   {L" 1", false, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsSpinNumText(c.text, c.flt, L','), c.ok) << std::wstring(c.text);
}

TEST(SpinValue, TypedTextStoresTheLimitedNumberAndRewritesOnlyWhatTypingCannotMend) {
    struct Case {
        const wchar_t* text;
        bool flt;
        double min, max;
        bool number;
        double value;
        bool rewrite;
    } cases[] = {
        {L"0", false, 1, 10, true, 1, false},     // more digits may still bring it in
        {L"12", false, 1, 10, true, 10, true},    // more digits only make it larger
        {L"5", false, 1, 10, true, 5, false},
        {L"-5", false, 0, 0, true, -5, false},    // no range
        {L"-3", false, 1, 10, true, 1, true},     // a negative text under a positive minimum
        {L"-20", false, -10, -1, true, -10, true},
        {L"-1", false, -10, -5, true, -5, false},  // more digits may still bring it in
        {L"3", false, -10, -1, true, -1, true},   // a positive text over a negative maximum
        {L"1,25", true, 0, 2, true, 1.25, false},
        {L"-,", true, 0, 10, false, 0, false},     // passes the character test, no number
        {L"99999999999", false, 0, 0, false, 0, false},  // beyond 32 bits
        {L"2147483647", false, 0, 0, true, 2147483647.0, false},
        {L"abc", false, 0, 0, false, 0, false},
    };
    for (const Case& c : cases) {
        const TbsSpinTyped r = SpinTextToValue(c.text, c.flt, L',', c.min, c.max);
        EXPECT_EQ(r.Number, c.number) << std::wstring(c.text);
        if (r.Number) {
            EXPECT_EQ(r.Value, c.value) << std::wstring(c.text);
            EXPECT_EQ(r.Rewrite, c.rewrite) << std::wstring(c.text);
        }
    }
}

TEST(SpinValue, IntegerIncrementRoundsHalvesToEvenAndNeverZero) {
    EXPECT_EQ(SpinIntegerIncrement(0.4), 1);
    EXPECT_EQ(SpinIntegerIncrement(0.6), 1);
    EXPECT_EQ(SpinIntegerIncrement(2.5), 2);
    EXPECT_EQ(SpinIntegerIncrement(3.5), 4);
    EXPECT_EQ(SpinIntegerIncrement(-0.4), 1);
    EXPECT_EQ(SpinIntegerIncrement(5), 5);
}

}  // namespace
