// Skin ini value syntax (see SkinIniValues.h).
#include "skin/core/SkinIniValues.h"

#include <iterator>

#include "classlib/SysUtils.h"

namespace {

// Word tables: the index is the enumeration value.
const wchar_t* const kAlignmentWords[] = {L"taleftjustify", L"tarightjustify", L"tacenter"};
const wchar_t* const kStretchWords[] = {L"stfull", L"sthorz", L"stvert"};
const wchar_t* const kMorphWords[] = {L"mkdefault",   L"mkgradient",   L"mkleftgradient", L"mkrightgradient",
                                      L"mkleftslide", L"mkrightslide", L"mkpush"};
const wchar_t* const kInActiveWords[] = {L"iebrightness", L"iedarkness",  L"iegrayscale",
                                         L"ienoise",      L"iesplitblur", L"ieinvert"};
const wchar_t* const kCommandWords[] = {L"cmclose",   L"cmmaximize", L"cmminimize",      L"cmsysmenu",
                                        L"cmdefault", L"cmrollup",   L"cmminimizetotray"};

// Position of text among the first count words, exact comparison; -1 when absent.
template <size_t N>
int FindWord(const wchar_t* const (&words)[N], const std::wstring& text, size_t count = N) {
    for (size_t i = 0; i < count && i < N; ++i)
        if (text == words[i])
            return static_cast<int>(i);
    return -1;
}

template <size_t N>
const wchar_t* WordAt(const wchar_t* const (&words)[N], unsigned index, const wchar_t* fallback) {
    return index < N ? words[index] : fallback;
}

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

// One rectangle or point field: its digits only, converted as StrToInt would (which raises for an empty field).
int FieldValue(const std::wstring& field) {
    std::wstring digits;
    for (wchar_t c : field)
        if (c >= L'0' && c <= L'9')
            digits += c;
    return StrToInt(digits);
}

// The first count comma-separated fields of text; a missing field reads as empty (and so raises).
void ParseFields(const std::wstring& text, int* out, int count) {
    size_t pos = 0;
    for (int i = 0; i < count; ++i) {
        if (pos > text.size()) {
            out[i] = FieldValue(L"");
            continue;
        }
        size_t comma = text.find(L',', pos);
        size_t end = comma == std::wstring::npos ? text.size() : comma;
        out[i] = FieldValue(text.substr(pos, end - pos));
        pos = comma == std::wstring::npos ? text.size() + 1 : comma + 1;
    }
}

}  // namespace

bool TryParseSkinInteger(const std::wstring& text, int& value) {
    if (text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
        unsigned long long v = 0;
        for (size_t i = 2; i < text.size(); ++i) {
            int d = HexDigit(text[i]);
            if (d < 0)
                return false;
            v = v * 16 + static_cast<unsigned>(d);
            if (v > 0xFFFFFFFFull)
                return false;
        }
        value = static_cast<int>(static_cast<std::uint32_t>(v));
        return true;
    }
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+'))
        negative = text[i++] == L'-';
    if (i == text.size())
        return false;
    long long v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < L'0' || text[i] > L'9')
            return false;
        v = v * 10 + (text[i] - L'0');
        if (v > 2147483648LL)
            return false;
    }
    if (negative)
        v = -v;
    if (v > 2147483647LL)
        return false;
    value = static_cast<int>(v);
    return true;
}

TRect GetRect(const std::wstring& text) {
    int f[4];
    ParseFields(text, f, 4);
    return {f[0], f[1], f[2], f[3]};
}

TPoint GetPoint(const std::wstring& text) {
    int f[2];
    ParseFields(text, f, 2);
    return {f[0], f[1]};
}

std::wstring RectToText(const TRect& r) {
    return IntToStr(r.Left) + L"," + IntToStr(r.Top) + L"," + IntToStr(r.Right) + L"," + IntToStr(r.Bottom);
}

std::wstring PointToText(const TPoint& p) {
    return IntToStr(p.X) + L"," + IntToStr(p.Y);
}

TbsFontStyles FontStylesFromText(const std::wstring& text) {
    TbsFontStyles s;
    if (text.find(L"fsbold") != std::wstring::npos)
        s.Include(bsfsBold);
    if (text.find(L"fsitalic") != std::wstring::npos)
        s.Include(bsfsItalic);
    if (text.find(L"fsunderline") != std::wstring::npos)
        s.Include(bsfsUnderline);
    if (text.find(L"fsstrikeout") != std::wstring::npos)
        s.Include(bsfsStrikeOut);
    return s;
}

std::wstring FontStylesToText(TbsFontStyles styles) {
    static const struct {
        TbsFontStyle style;
        const wchar_t* word;
    } kWords[] = {{bsfsBold, L"fsbold"},
                  {bsfsItalic, L"fsitalic"},
                  {bsfsUnderline, L"fsunderline"},
                  {bsfsStrikeOut, L"fsstrikeout"}};
    std::wstring out;
    for (const auto& w : kWords) {
        if (!styles.Contains(w.style))
            continue;
        if (!out.empty())
            out += L",";
        out += w.word;
    }
    return out;
}

TAlignment AlignmentFromText(const std::wstring& text) {
    if (text == L"tacenter")
        return taCenter;
    if (text == L"taleftjustify")
        return taLeftJustify;
    return taRightJustify;
}

const wchar_t* AlignmentToText(TAlignment value) {
    return WordAt(kAlignmentWords, value, L"tacenter");
}

TbsStretchType StretchTypeFromText(const std::wstring& text) {
    if (text == L"stfull")
        return bsstFull;
    if (text == L"stvert")
        return bsstVert;
    return bsstHorz;
}

const wchar_t* StretchTypeToText(TbsStretchType value) {
    return WordAt(kStretchWords, value, L"stfull");
}

TbsMorphKind MorphKindFromText(const std::wstring& text) {
    int i = FindWord(kMorphWords, text);
    return i < 0 ? mkDefault : static_cast<TbsMorphKind>(i);
}

const wchar_t* MorphKindToText(TbsMorphKind value) {
    return WordAt(kMorphWords, value, L"mkdefault");
}

TbsInActiveEffect InActiveEffectFromText(const std::wstring& text) {
    int i = FindWord(kInActiveWords, text);
    return i < 0 ? ieGrayScale : static_cast<TbsInActiveEffect>(i);
}

const wchar_t* InActiveEffectToText(TbsInActiveEffect value) {
    return WordAt(kInActiveWords, value, L"iebrightness");
}

TbsStdCommand StdCommandFromText(const std::wstring& text) {
    // "cmminimizetotray" is written but not among the words read: every other text means it anyway.
    int i = FindWord(kCommandWords, text, 6);
    return i < 0 ? cmMinimizeToTray : static_cast<TbsStdCommand>(i);
}

const wchar_t* StdCommandToText(TbsStdCommand value) {
    return WordAt(kCommandWords, value, L"cmdefault");
}

// ---- Readers ------------------------------------------------------------------------------------------------------
int ReadSkinInteger(TCustomIniFile* ini, const std::wstring& section, const std::wstring& key, int defaultValue) {
    int v;
    return TryParseSkinInteger(Trim(ini->ReadString(section, key, L"")), v) ? v : defaultValue;
}

bool ReadBoolean(TCustomIniFile* ini, const std::wstring& section, const std::wstring& key) {
    return ReadSkinInteger(ini, section, key, 0) == 1;
}

TRect ReadRect(TCustomIniFile* ini, const std::wstring& section, const std::wstring& key) {
    return GetRect(ini->ReadString(section, key, L"0,0,0,0"));
}

TPoint ReadPoint(TCustomIniFile* ini, const std::wstring& section, const std::wstring& key) {
    return GetPoint(ini->ReadString(section, key, L"0,0"));
}

TbsFontStyles ReadFontStyles(TCustomIniFile* ini, const std::wstring& section, const std::wstring& key) {
    return FontStylesFromText(ini->ReadString(section, key, L""));
}

TAlignment ReadAlignment(TCustomIniFile* ini, const std::wstring& section, const std::wstring& key) {
    return AlignmentFromText(ini->ReadString(section, key, L"tacenter"));
}

TbsStretchType ReadStretchType(TCustomIniFile* ini, const std::wstring& section, const std::wstring& key) {
    return StretchTypeFromText(ini->ReadString(section, key, L"stfull"));
}

TbsMorphKind ReadMorphKind(TCustomIniFile* ini, const std::wstring& section, const std::wstring& key) {
    return MorphKindFromText(ini->ReadString(section, key, L"mkdefault"));
}

TbsInActiveEffect ReadInActiveEffect(TCustomIniFile* ini, const std::wstring& section, const std::wstring& key) {
    return InActiveEffectFromText(ini->ReadString(section, key, L"iebrightness"));
}

TbsStdCommand ReadStdCommand(TCustomIniFile* ini, const std::wstring& section, const std::wstring& key) {
    return StdCommandFromText(ini->ReadString(section, key, L"cmdefault"));
}

void ReadStrings1(TCustomIniFile* ini, const std::wstring& section, const std::wstring& name, TStrings* strings) {
    strings->Clear();
    int count = ReadSkinInteger(ini, section, name + L"count", 0);
    for (int i = 0; i < count; ++i)
        strings->Add(ini->ReadString(section, IntToStr(i), L""));
}

// ---- Writers ------------------------------------------------------------------------------------------------------
void WriteSkinInteger(TCustomIniFile* ini, const std::wstring& section, const std::wstring& key, int value) {
    ini->WriteString(section, key, IntToStr(value));
}

void WriteBoolean(TCustomIniFile* ini, const std::wstring& section, const std::wstring& key, bool value) {
    ini->WriteString(section, key, value ? L"1" : L"0");
}

void WriteRect(TCustomIniFile* ini, const std::wstring& section, const std::wstring& key, const TRect& value) {
    ini->WriteString(section, key, RectToText(value));
}

void WritePoint(TCustomIniFile* ini, const std::wstring& section, const std::wstring& key, const TPoint& value) {
    ini->WriteString(section, key, PointToText(value));
}

void WriteFontStyles(TCustomIniFile* ini, const std::wstring& section, const std::wstring& key, TbsFontStyles value) {
    ini->WriteString(section, key, FontStylesToText(value));
}

void WriteAlignment(TCustomIniFile* ini, const std::wstring& section, const std::wstring& key, TAlignment value) {
    ini->WriteString(section, key, AlignmentToText(value));
}

void WriteStretchType(TCustomIniFile* ini, const std::wstring& section, const std::wstring& key, TbsStretchType value) {
    ini->WriteString(section, key, StretchTypeToText(value));
}

void WriteMorphKind(TCustomIniFile* ini, const std::wstring& section, const std::wstring& key, TbsMorphKind value) {
    ini->WriteString(section, key, MorphKindToText(value));
}

void WriteInActiveEffect(TCustomIniFile* ini,
                         const std::wstring& section,
                         const std::wstring& key,
                         TbsInActiveEffect value) {
    ini->WriteString(section, key, InActiveEffectToText(value));
}

void WriteStdCommand(TCustomIniFile* ini, const std::wstring& section, const std::wstring& key, TbsStdCommand value) {
    ini->WriteString(section, key, StdCommandToText(value));
}

void WriteStrings1(TCustomIniFile* ini,
                   const std::wstring& section,
                   const std::wstring& name,
                   const TStrings* strings) {
    WriteSkinInteger(ini, section, name + L"count", strings->Count());
    for (int i = 0; i < strings->Count(); ++i)
        ini->WriteString(section, IntToStr(i), strings->Get(i));
}

// ---- TbsSkinMemIni ------------------------------------------------------------------------------------------------
std::wstring StripProfileQuotes(const std::wstring& value) {
    if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

std::wstring TbsSkinMemIni::ReadString(const std::wstring& section,
                                       const std::wstring& ident,
                                       const std::wstring& defaultValue) {
    const std::wstring* value = FindValue(section, ident);
    return value ? StripProfileQuotes(*value) : defaultValue;
}
