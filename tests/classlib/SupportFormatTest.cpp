// Numbers, Format, and date/time maths, formatting and parsing under pinned format settings.
#include <gtest/gtest.h>

#include <cmath>

#include "classlib/SysUtils.h"

namespace {

// Pins FormatSettings for one test and puts the process-wide value back afterwards.
class PinnedSettings {
  public:
    explicit PinnedSettings(const TFormatSettings& fs) : saved_(FormatSettings) { FormatSettings = fs; }
    ~PinnedSettings() { FormatSettings = saved_; }

  private:
    TFormatSettings saved_;
};

TFormatSettings German() {
    TFormatSettings fs = TFormatSettings::Invariant();
    fs.DecimalSeparator = L',';
    fs.ThousandSeparator = L'.';
    fs.DateSeparator = L'.';
    fs.ShortDateFormat = L"dd/mm/yyyy";  // '/' stands for DateSeparator
    fs.LongTimeFormat = L"hh:nn:ss";
    fs.ShortTimeFormat = L"hh:nn";
    return fs;
}

TEST(SupportFormat, StrToIntTable) {
    struct Case {
        const wchar_t* text;
        bool ok;
        int value;
    };
    const Case cases[] = {
        {L"12", true, 12},
        {L"  12", true, 12},
        {L"-0", true, 0},
        {L"+7", true, 7},
        {L"$1F", true, 31},
        {L"0x1f", true, 31},
        {L"-$10", true, -16},
        {L"$FFFFFFFF", true, -1},
        {L"2147483647", true, 2147483647},
        {L"-2147483648", true, INT32_MIN},
        {L"2147483648", false, 0},
        {L"$100000000", false, 0},
        {L"12 ", false, 0},
        {L"", false, 0},
        {L"-", false, 0},
        {L"1.5", false, 0},
        {L"abc", false, 0},
        {L"$", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        int v = -99;
        EXPECT_EQ(TryStrToInt(c.text, v), c.ok);
        if (c.ok) {
            EXPECT_EQ(v, c.value);
            EXPECT_EQ(StrToInt(c.text), c.value);
        } else {
            EXPECT_EQ(StrToIntDef(c.text, -5), -5);
            try {
                StrToInt(c.text);
                ADD_FAILURE();
            } catch (const EConvertError& e) {
                EXPECT_EQ(e.Message(), L"'" + std::wstring(c.text) + L"' is not a valid integer value");
            }
        }
    }
    EXPECT_EQ(StrToInt64(L"-9223372036854775808"), INT64_MIN);
    EXPECT_EQ(StrToInt64Def(L"9223372036854775808", 3), 3);
    EXPECT_EQ(IntToStr(-42), L"-42");
    EXPECT_EQ(IntToHex(255, 4), L"00FF");
}

TEST(SupportFormat, FormatTable) {
    PinnedSettings pin(German());
    struct Case {
        std::wstring result;
        std::wstring expected;
    };
    const Case cases[] = {
        {Format(L"%d items", 3), L"3 items"},
        {Format(L"[%5d|%-5d|%.3d]", 42, 42, 7), L"[   42|42   |007]"},
        {Format(L"%s and %s", L"a", std::wstring(L"b")), L"a and b"},
        {Format(L"%1:s %0:s %s", L"x", L"y"), L"y x y"},
        {Format(L"%x %.4X", 255, 10u), L"FF 000A"},
        {Format(L"%d", -2147483647 - 1), L"-2147483648"},
        {Format(L"%u", -1), L"4294967295"},
        {Format(L"%.2f", 3.14159), L"3,14"},
        {Format(L"%f", 2.0), L"2,00"},
        {Format(L"%n", 1234567.891), L"1.234.567,89"},
        {Format(L"%e", 1234.5), L"1,23450000000000E+003"},
        {Format(L"%g", 0.5), L"0,5"},
        {Format(L"100%%"), L"100%"},
        {Format(L"%*d", 4, 5), L"   5"},
        {Format(L"%.2s", L"abcdef"), L"ab"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.result, c.expected);
}

TEST(SupportFormat, FormatRejectsMismatches) {
    for (auto call :
         {+[] { return Format(L"%d", L"text"); }, +[] { return Format(L"%s", 1); }, +[] { return Format(L"%d %d", 1); },
          +[] { return Format(L"%f", 1); }, +[] { return Format(L"%q", 1); }, +[] { return Format(L"50%"); }}) {
        try {
            call();
            ADD_FAILURE();
        } catch (const EConvertError& e) {
            EXPECT_NE(e.Message().find(L"invalid or incompatible with argument"), std::wstring::npos);
        }
    }
}

TEST(SupportFormat, FloatToStrTable) {
    TFormatSettings fs = TFormatSettings::Invariant();
    struct Case {
        double value;
        const wchar_t* text;
    };
    const Case cases[] = {
        {0, L"0"},
        {1.5, L"1.5"},
        {-2.25, L"-2.25"},
        {100, L"100"},
        {0.0001, L"0.0001"},
        {0.00001, L"1E-5"},
        {1e15, L"1E15"},
        {123456789012345.0, L"123456789012345"},
        {1.0 / 3, L"0.333333333333333"},
        {2.5e-10, L"2.5E-10"},
        {1e100, L"1E100"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FloatToStr(c.value, fs), c.text);
        double back = 0;
        EXPECT_TRUE(TryStrToFloat(c.text, back, fs));
        EXPECT_NEAR(back, c.value, std::fabs(c.value) * 1e-14);  // 15 digits are kept
    }
    EXPECT_EQ(FloatToStr(1.5, German()), L"1,5");
    EXPECT_EQ(FloatToStrF(-1234.5, 2, true, German()), L"-1.234,50");
}

TEST(SupportFormat, StrToFloatHonoursTheDecimalSeparator) {
    PinnedSettings pin(German());
    EXPECT_DOUBLE_EQ(StrToFloat(L" 1,25 "), 1.25);
    EXPECT_DOUBLE_EQ(StrToFloat(L"-3E2"), -300);
    double v;
    for (const wchar_t* bad : {L"1.25", L"", L"1,2,3", L"e5", L"1E", L"--1", L"1e999"})
        EXPECT_FALSE(TryStrToFloat(bad, v)) << bad;
    try {
        StrToFloat(L"1.25");
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), L"'1.25' is not a valid floating point value");
    }
}

TEST(SupportFormat, DateMathsAgreeWithDayByDayCounting) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526);
    EXPECT_EQ(EncodeDate(1, 1, 1), -693593);
    // Walk day by day across leap years and century rules and check both directions.
    int y = 1895, m = 1, d = 1;
    for (double serial = EncodeDate(1895, 1, 1); serial < EncodeDate(2105, 1, 1); serial += 1) {
        int yy, mm, dd;
        DecodeDate(serial, yy, mm, dd);
        ASSERT_EQ(yy * 10000 + mm * 100 + dd, y * 10000 + m * 100 + d) << serial;
        ASSERT_EQ(EncodeDate(y, m, d), serial);
        if (++d > DaysInAMonth(y, m)) {
            d = 1;
            if (++m > 12) {
                m = 1;
                ++y;
            }
        }
    }
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 1, 1)), 2);  // a Monday
    EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 30)), 7);
    EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 24)), 1);
}

TEST(SupportFormat, TimesAndNegativeSerials) {
    TDateTime t = EncodeTime(23, 59, 59, 999);
    int h, n, s, ms;
    DecodeTime(t, h, n, s, ms);
    EXPECT_EQ(h * 10000000 + n * 100000 + s * 1000 + ms, 235959999);
    // Before 1899-12-30 the fraction still counts forward from midnight.
    int y, mo, d;
    DecodeDateTime(-1.25, y, mo, d, h, n, s, ms);
    EXPECT_EQ(y * 10000 + mo * 100 + d, 18991229);
    EXPECT_EQ(h, 6);
    EXPECT_EQ(EncodeDateTime(1899, 12, 29, 6, 0, 0, 0), -1.25);
    for (auto call :
         {+[] { EncodeDate(2023, 2, 29); }, +[] { EncodeDate(10000, 1, 1); }, +[] { EncodeDate(2023, 0, 1); }}) {
        try {
            call();
            ADD_FAILURE();
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), L"Invalid argument to date encode");
        }
    }
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(1, 60, 0, 0), EConvertError);
}

TEST(SupportFormat, FormatDateTimeTable) {
    const TDateTime evening = EncodeDateTime(2024, 3, 5, 19, 8, 9, 10);
    const TDateTime morning = EncodeDateTime(2024, 3, 5, 7, 8, 9, 10);
    const TFormatSettings fs = German();
    struct Case {
        const wchar_t* format;
        TDateTime value;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"yyyy-mm-dd hh:nn:ss.zzz", evening, L"2024-03-05 19:08:09.010"},
        {L"d/m/yy", evening, L"5.3.24"},
        {L"h:mm am/pm", morning, L"7:08 am"},
        {L"h:mm AM/PM", evening, L"7:08 PM"},
        {L"hh:mm a/p", evening, L"07:08 p"},
        {L"h:mm ampm", evening, L"7:08 PM"},
        {L"HH:MM", evening, L"19:08"},
        {L"dddd, mmmm d", evening, L"Tuesday, March 5"},
        {L"ddd mmm", evening, L"Tue Mar"},
        {L"'at' h \"o'clock\"", evening, L"at 19 o'clock"},
        {L"c", evening, L"05.03.2024 19:08:09"},
        {L"c", EncodeDate(2024, 3, 5), L"05.03.2024"},
        {L"ddddd", evening, L"05.03.2024"},
        {L"t|tt", evening, L"19:08|19:08:09"},
        {L"", evening, L"05.03.2024 19:08:09"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        EXPECT_EQ(FormatDateTime(c.format, c.value, fs), c.expected);
    }
    PinnedSettings pin(fs);
    EXPECT_EQ(DateToStr(evening), L"05.03.2024");
    EXPECT_EQ(TimeToStr(evening), L"19:08:09");
    EXPECT_EQ(DateTimeToStr(evening), L"05.03.2024 19:08:09");
}

TEST(SupportFormat, StrToDateTable) {
    int thisYear, m, d;
    DecodeDate(Date(), thisYear, m, d);
    TFormatSettings mdy = TFormatSettings::Invariant();
    TFormatSettings dmy = German();
    TFormatSettings ymd = TFormatSettings::Invariant();
    ymd.ShortDateFormat = L"yyyy/MM/dd";
    ymd.DateSeparator = L'-';
    struct Case {
        const TFormatSettings* fs;
        const wchar_t* text;
        bool ok;
        int y, m, d;
    };
    const Case cases[] = {
        {&mdy, L"3/5/2024", true, 2024, 3, 5},
        {&mdy, L" 12/31/1999 ", true, 1999, 12, 31},
        {&dmy, L"05.03.2024", true, 2024, 3, 5},
        {&dmy, L"5.3.24", true, 2024, 3, 5},
        {&dmy, L"5.3", true, thisYear, 3, 5},
        {&ymd, L"2024-03-05", true, 2024, 3, 5},
        {&dmy, L"31.02.2024", false, 0, 0, 0},
        {&dmy, L"05/03/2024", false, 0, 0, 0},
        {&mdy, L"3/5/2024 extra", false, 0, 0, 0},
        {&mdy, L"", false, 0, 0, 0},
        {&mdy, L"3", false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TDateTime v = -1;
        ASSERT_EQ(TryStrToDate(c.text, v, *c.fs), c.ok);
        if (c.ok) {
            EXPECT_EQ(v, EncodeDate(c.y, c.m, c.d));
        } else {
            try {
                StrToDate(c.text, *c.fs);
                ADD_FAILURE();
            } catch (const EConvertError& e) {
                EXPECT_EQ(e.Message(), L"'" + std::wstring(c.text) + L"' is not a valid date");
            }
        }
    }
}

TEST(SupportFormat, StrToTimeTable) {
    TFormatSettings fs = TFormatSettings::Invariant();
    struct Case {
        const wchar_t* text;
        bool ok;
        int h, n, s, ms;
    };
    const Case cases[] = {
        {L"7:08", true, 7, 8, 0, 0},      {L"19:08:09", true, 19, 8, 9, 0},  {L"7:08 PM", true, 19, 8, 0, 0},
        {L"12:00 AM", true, 0, 0, 0, 0},  {L"12:30 pm", true, 12, 30, 0, 0}, {L"PM 1:15", true, 13, 15, 0, 0},
        {L"7", true, 7, 0, 0, 0},         {L"1:02:03.5", true, 1, 2, 3, 5},  {L"25:00", false, 0, 0, 0, 0},
        {L"13:00 PM", false, 0, 0, 0, 0}, {L"7:60", false, 0, 0, 0, 0},      {L"7:", false, 0, 0, 0, 0},
        {L"", false, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TDateTime v = -1;
        ASSERT_EQ(TryStrToTime(c.text, v, fs), c.ok);
        if (c.ok) {
            EXPECT_DOUBLE_EQ(v, EncodeTime(c.h, c.n, c.s, c.ms));
        }
    }
    try {
        StrToTime(L"25:00", fs);
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), L"'25:00' is not a valid time");
    }
    EXPECT_DOUBLE_EQ(StrToDateTime(L"3/5/2024 7:08:09 PM", fs), EncodeDateTime(2024, 3, 5, 19, 8, 9, 0));
    EXPECT_THROW(StrToDateTime(L"3/5/2024 7:08 junk", fs), EConvertError);
    // What FormatDateTime writes, the parsers read back.
    TDateTime dt = EncodeDateTime(2031, 11, 30, 23, 5, 6, 0);
    EXPECT_DOUBLE_EQ(StrToDateTime(DateTimeToStr(dt, fs), fs), dt);
}

TEST(SupportFormat, UserLocaleSettingsAreComplete) {
    TFormatSettings fs = TFormatSettings::FromUserLocale();
    for (const auto& name : fs.LongMonthNames)
        EXPECT_FALSE(name.empty());
    for (const auto& name : fs.ShortDayNames)
        EXPECT_FALSE(name.empty());
    EXPECT_NE(fs.ShortDateFormat.find_first_of(L"yY"), std::wstring::npos);
    EXPECT_NE(fs.DecimalSeparator, 0);
    // Round trip through the locale's own formats.
    TDateTime dt = EncodeDateTime(2024, 7, 9, 14, 30, 15, 0);
    TDateTime back;
    ASSERT_TRUE(TryStrToDateTime(DateTimeToStr(dt, fs), back, fs)) << DateTimeToStr(dt, fs);
    EXPECT_DOUBLE_EQ(back, dt);
}

TEST(SupportFormat, StringHelpers) {
    EXPECT_EQ(Trim(L" \t x y \r\n"), L"x y");
    EXPECT_EQ(UpperCase(L"abc\u00e9"), L"ABC\u00e9");
    EXPECT_EQ(AnsiUpperCase(L"abc\u00e9"), L"ABC\u00c9");
    EXPECT_TRUE(SameText(L"Hello", L"hELLO"));
    EXPECT_LT(AnsiCompareText(L"apple", L"Banana"), 0);
    EXPECT_EQ(StringReplaceAll(L"a-b-A", L"a", L"x", true), L"x-b-x");
    size_t pos = 0;
    EXPECT_EQ(ExtractQuotedStr(L"'it''s' rest", pos, L'\''), L"it's");
    EXPECT_EQ(pos, 7u);
    EXPECT_EQ(ExtractFileName(L"C:\\dir\\file.ext"), L"file.ext");
    EXPECT_EQ(ExtractFilePath(L"C:\\dir\\file.ext"), L"C:\\dir\\");
    EXPECT_EQ(ExtractFileExt(L"C:\\d.ir\\file"), L"");
    EXPECT_EQ(ChangeFileExt(L"a\\b.txt", L".ini"), L"a\\b.ini");
    EXPECT_EQ(ExpandFileName(L"C:\\a\\..\\b\\.\\c.wav"), L"C:\\b\\c.wav");
    EXPECT_EQ(ExpandFileName(L"C:\\Звуки\\"), L"C:\\Звуки\\");
    EXPECT_EQ(Utf8ToWide(WideToUtf8(L"\U0001F600 \u00e9")), L"\U0001F600 \u00e9");
    EXPECT_EQ(Utf8ToWide("\xC3"), L"\uFFFD");  // truncated sequence
}

}  // namespace
