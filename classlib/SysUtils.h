// Base object, exception hierarchy, string and number conversions, locale format settings and date/time maths.
// Index: TObject, Exception (+ EConvertError, EListError, EStreamError family, EOutOfMemory, EOSError, ...),
// TFormatSettings / FormatSettings, TDateTime routines.
// Pure code: no windows.h here. The Win32 part (reading the user's locale, Now) lives in SysUtils.cpp.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "base/Utf.h"

// Polymorphic root of every class-library object.
class TObject {
  public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;
};

// ---- Exceptions ---------------------------------------------------------------------------------------------
// Every class-library error is an Exception carrying a UTF-16 message (what() gives a UTF-8 copy).
class Exception : public std::exception {
  public:
    explicit Exception(std::wstring message);
    const std::wstring& Message() const { return message_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

  private:
    std::wstring message_;
    std::string utf8_;
};

#define TRELM_DECLARE_EXCEPTION(Name, Base) \
    class Name : public Base {              \
      public:                               \
        using Base::Base;                   \
    }

TRELM_DECLARE_EXCEPTION(EConvertError, Exception);
TRELM_DECLARE_EXCEPTION(EListError, Exception);
TRELM_DECLARE_EXCEPTION(EStringListError, EListError);
TRELM_DECLARE_EXCEPTION(EStreamError, Exception);
TRELM_DECLARE_EXCEPTION(EFCreateError, EStreamError);
TRELM_DECLARE_EXCEPTION(EFOpenError, EStreamError);
TRELM_DECLARE_EXCEPTION(EReadError, EStreamError);
TRELM_DECLARE_EXCEPTION(EWriteError, EStreamError);
TRELM_DECLARE_EXCEPTION(EOutOfMemory, Exception);
TRELM_DECLARE_EXCEPTION(EInvalidOperation, Exception);
TRELM_DECLARE_EXCEPTION(EInvalidGraphic, Exception);
TRELM_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception);
TRELM_DECLARE_EXCEPTION(EOutOfResources, Exception);
TRELM_DECLARE_EXCEPTION(EIniFileException, Exception);
TRELM_DECLARE_EXCEPTION(ERegistryException, Exception);
TRELM_DECLARE_EXCEPTION(EInvalidArgument, Exception);

// A failed system call: Message is the system's text for the error code.
class EOSError : public Exception {
  public:
    EOSError(std::wstring message, std::uint32_t errorCode) : Exception(std::move(message)), ErrorCode(errorCode) {}
    std::uint32_t ErrorCode;
};

// The system's text for an error code (GetLastError, or an HRESULT), "System error N" when it has none.
std::wstring SysErrorMessage(std::uint32_t code);
// A failed change of the current folder or another file operation: ErrorCode is the system's error code.
class EInOutError : public Exception {
  public:
    EInOutError(std::wstring message, std::uint32_t errorCode) : Exception(std::move(message)), ErrorCode(errorCode) {}
    std::uint32_t ErrorCode;
};

// ---- Strings --------------------------------------------------------------------------------------------------
// Typed formatting, Format(fmt, {args}), with the directives the skins and language files use:
//   "%" ["-"] [width | "*"] ["." precision | ".*"] type, types: d u x (integers), s (text), f e g n m (numbers,
//   n with thousand groups, m as f), p (pointer), %% a percent sign; an "index:" prefix picks the argument.
// A type that does not fit its argument, or a missing argument, fails with EConvertError
// "Format '%s' invalid or incompatible with argument". Numbers use FormatSettings.DecimalSeparator.
class TFormatArg {
  public:
    enum class Kind { Int, UInt, Float, Text, Pointer };
    TFormatArg(int v) : kind(Kind::Int), i(v) {}
    TFormatArg(long v) : kind(Kind::Int), i(v) {}
    TFormatArg(long long v) : kind(Kind::Int), i(v) {}
    TFormatArg(unsigned v) : kind(Kind::UInt), u(v) {}
    TFormatArg(unsigned long v) : kind(Kind::UInt), u(v) {}
    TFormatArg(unsigned long long v) : kind(Kind::UInt), u(v) {}
    TFormatArg(double v) : kind(Kind::Float), f(v) {}
    TFormatArg(const wchar_t* v) : kind(Kind::Text), text(v ? v : L"") {}
    TFormatArg(std::wstring v) : kind(Kind::Text), text(std::move(v)) {}
    TFormatArg(std::wstring_view v) : kind(Kind::Text), text(v) {}
    TFormatArg(wchar_t c) : kind(Kind::Text), text(1, c) {}
    TFormatArg(const void* p) : kind(Kind::Pointer), ptr(p) {}
    Kind kind;
    long long i = 0;
    unsigned long long u = 0;
    double f = 0;
    std::wstring text;
    const void* ptr = nullptr;
};
std::wstring FormatArgs(std::wstring_view format, const TFormatArg* args, size_t count);
template <typename... A>
std::wstring Format(std::wstring_view format, const A&... args) {
    if constexpr (sizeof...(A) == 0) {
        return FormatArgs(format, nullptr, 0);
    } else {
        const TFormatArg list[] = {TFormatArg(args)...};
        return FormatArgs(format, list, sizeof...(A));
    }
}

std::wstring IntToStr(long long value);
std::wstring IntToHex(unsigned long long value, int digits);
// Decimal, or hexadecimal with a leading '$' or "0x"; optional sign; surrounding blanks allowed.
// StrToInt throws EConvertError "'%s' is not a valid integer value".
int StrToInt(const std::wstring& s);
int StrToIntDef(const std::wstring& s, int defaultValue);
bool TryStrToInt(const std::wstring& s, int& value);
long long StrToInt64(const std::wstring& s);
long long StrToInt64Def(const std::wstring& s, long long defaultValue);
bool TryStrToInt64(const std::wstring& s, long long& value);

std::wstring Trim(const std::wstring& s);  // removes characters <= ' ' at both ends
std::wstring TrimLeft(const std::wstring& s);
std::wstring TrimRight(const std::wstring& s);
// Case mapping: the ASCII routines change only 'a'..'z'; the Ansi ones use full Unicode simple case mapping.
std::wstring UpperCase(const std::wstring& s);
std::wstring LowerCase(const std::wstring& s);
std::wstring AnsiUpperCase(const std::wstring& s);
std::wstring AnsiLowerCase(const std::wstring& s);
int CompareStr(const std::wstring& a, const std::wstring& b);       // ordinal, <0 / 0 / >0
int CompareText(const std::wstring& a, const std::wstring& b);      // ordinal after ASCII upper-casing
bool SameText(const std::wstring& a, const std::wstring& b);        // CompareText == 0
int AnsiCompareStr(const std::wstring& a, const std::wstring& b);   // linguistic, case-sensitive
int AnsiCompareText(const std::wstring& a, const std::wstring& b);  // linguistic, case-insensitive
bool AnsiSameText(const std::wstring& a, const std::wstring& b);
std::wstring StringReplaceAll(const std::wstring& s,
                              const std::wstring& from,
                              const std::wstring& to,
                              bool ignoreCase = false);
std::wstring QuotedStr(const std::wstring& s, wchar_t quote = L'\'');
// Removes one level of quoting starting at s[pos] (doubled quotes inside become one); pos moves past the close.
std::wstring ExtractQuotedStr(const std::wstring& s, size_t& pos, wchar_t quote);

// UTF-16 <-> UTF-8 and the system ANSI code page (codePage 0).
std::wstring AnsiToWide(std::string_view s, unsigned codePage = 0);
std::string WideToAnsi(std::wstring_view s, unsigned codePage = 0);

// File names (pure string work; both '\' and '/' separate folders, ':' ends a drive).
std::wstring ExtractFilePath(const std::wstring& fileName);  // with trailing separator
std::wstring ExtractFileDir(const std::wstring& fileName);   // without
std::wstring ExtractFileName(const std::wstring& fileName);
std::wstring ExtractFileExt(const std::wstring& fileName);  // with the dot, "" when none
std::wstring ChangeFileExt(const std::wstring& fileName, const std::wstring& ext);
std::wstring IncludeTrailingPathDelimiter(const std::wstring& path);
std::wstring ExcludeTrailingPathDelimiter(const std::wstring& path);
bool FileExists(const std::wstring& fileName);
bool DirectoryExists(const std::wstring& dir);
// The full path of a name (GetFullPathNameW: the current folder, "." and ".." resolved); the name itself on failure.
std::wstring ExpandFileName(const std::wstring& fileName);

// ---- Format settings ------------------------------------------------------------------------------------------
struct TFormatSettings {
    wchar_t DecimalSeparator = L'.';
    wchar_t ThousandSeparator = L',';
    wchar_t DateSeparator = L'/';
    wchar_t TimeSeparator = L':';
    std::wstring ShortDateFormat = L"M/d/yyyy";
    std::wstring LongDateFormat = L"dddd, MMMM d, yyyy";
    std::wstring ShortTimeFormat = L"h:mm AMPM";
    std::wstring LongTimeFormat = L"h:mm:ss AMPM";
    std::wstring TimeAMString = L"AM";
    std::wstring TimePMString = L"PM";
    std::wstring ShortMonthNames[12];
    std::wstring LongMonthNames[12];
    std::wstring ShortDayNames[7];  // [0] is Sunday
    std::wstring LongDayNames[7];

    // Fixed invariant settings (English names, '.', '/', ':', M/d/yyyy, h:mm:ss AMPM): what tests pin.
    static TFormatSettings Invariant();
    // Settings read from the user's locale (GetLocaleInfoW); falls back to Invariant() values one by one.
    static TFormatSettings FromUserLocale();
};

// Process-wide settings used by the conversion routines without an explicit settings argument.
// Initialised from the user's locale at start; tests may assign it.
extern TFormatSettings FormatSettings;

// ---- Numbers with format settings --------------------------------------------------------------------------
// Shortest general representation with 15 significant digits, DecimalSeparator as the point ("1.5", "1E20").
std::wstring FloatToStr(double value);
std::wstring FloatToStr(double value, const TFormatSettings& fs);
// Fixed notation with `digits` decimals; FormatFloatThousands adds ThousandSeparator groups.
std::wstring FloatToStrF(double value, int digits, bool thousands = false);
std::wstring FloatToStrF(double value, int digits, bool thousands, const TFormatSettings& fs);
// Accepts DecimalSeparator as the point, optional sign, exponent; blanks around. EConvertError
// "'%s' is not a valid floating point value".
double StrToFloat(const std::wstring& s);
double StrToFloat(const std::wstring& s, const TFormatSettings& fs);
double StrToFloatDef(const std::wstring& s, double defaultValue);
bool TryStrToFloat(const std::wstring& s, double& value);
bool TryStrToFloat(const std::wstring& s, double& value, const TFormatSettings& fs);

// ---- Date and time --------------------------------------------------------------------------------------------
// Whole days since 1899-12-30 plus the fraction of the day. Before the epoch the fraction still counts forward
// from midnight (as OLE dates): -1.25 is 1899-12-29 06:00.
using TDateTime = double;

constexpr double MSecsPerDay = 86400000.0;
constexpr int MinYear = 1;
constexpr int MaxYear = 9999;

bool IsLeapYear(int year);
int DaysInAMonth(int year, int month);
bool TryEncodeDate(int year, int month, int day, TDateTime& date);
bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& time);
// EConvertError "Invalid argument to date encode" / "Invalid argument to time encode".
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int min, int sec, int msec);
void DecodeDate(TDateTime date, int& year, int& month, int& day);
void DecodeTime(TDateTime time, int& hour, int& min, int& sec, int& msec);
void DecodeDateTime(TDateTime dt, int& year, int& month, int& day, int& hour, int& min, int& sec, int& msec);
TDateTime EncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec);
// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(TDateTime date);
TDateTime DateOf(TDateTime dt);  // the date part (midnight)
TDateTime TimeOf(TDateTime dt);  // the time part (positive fraction)
// Local clock.
TDateTime Now();
TDateTime Date();
TDateTime Time();

// Format specifiers (letters in any case): d dd ddd dddd ddddd (short date) dddddd (long date), m mm mmm mmmm
// (minutes when right after an hour specifier), yy yyyy, h hh (24-hour unless an am/pm specifier follows),
// n nn, s ss, z zzz, t (ShortTimeFormat), tt (LongTimeFormat), c (short date and long time, the time left out at
// midnight), am/pm a/p ampm, / and : (DateSeparator, TimeSeparator), "..." and '...' literal text.
// An empty format means "c".
std::wstring FormatDateTime(const std::wstring& format, TDateTime dt);
std::wstring FormatDateTime(const std::wstring& format, TDateTime dt, const TFormatSettings& fs);
std::wstring DateToStr(TDateTime date);
std::wstring DateToStr(TDateTime date, const TFormatSettings& fs);
std::wstring TimeToStr(TDateTime time);
std::wstring TimeToStr(TDateTime time, const TFormatSettings& fs);
std::wstring DateTimeToStr(TDateTime dt);
std::wstring DateTimeToStr(TDateTime dt, const TFormatSettings& fs);
// Parse by the order of d, M and y in ShortDateFormat, with DateSeparator (a two-digit year is placed within
// 50 years of the current one); EConvertError "'%s' is not a valid date".
TDateTime StrToDate(const std::wstring& s);
TDateTime StrToDate(const std::wstring& s, const TFormatSettings& fs);
bool TryStrToDate(const std::wstring& s, TDateTime& value);
bool TryStrToDate(const std::wstring& s, TDateTime& value, const TFormatSettings& fs);
// h[:m[:s[.zzz]]] with TimeSeparator and an optional AM/PM marker; EConvertError "'%s' is not a valid time".
TDateTime StrToTime(const std::wstring& s);
TDateTime StrToTime(const std::wstring& s, const TFormatSettings& fs);
bool TryStrToTime(const std::wstring& s, TDateTime& value);
bool TryStrToTime(const std::wstring& s, TDateTime& value, const TFormatSettings& fs);
// A date, a time, or a date followed by a time; EConvertError "'%s' is not a valid date and time".
TDateTime StrToDateTime(const std::wstring& s);
TDateTime StrToDateTime(const std::wstring& s, const TFormatSettings& fs);
bool TryStrToDateTime(const std::wstring& s, TDateTime& value, const TFormatSettings& fs);
