// Field tables of the skin records (see SkinFields.h).
#include "skin/core/SkinFields.h"

#include <cwctype>
#include <unordered_map>

#include "classlib/SysUtils.h"
#include "skin/core/SkinIniValues.h"

namespace {

bool EndsWith(const wchar_t* name, const wchar_t* suffix) {
    std::wstring_view n(name), s(suffix);
    return n.size() >= s.size() && n.substr(n.size() - s.size()) == s;
}

// Names are the field lists' literals: each is lowered once per thread, not at every walk of a list.
const std::wstring& LowerKey(const wchar_t* name) {
    thread_local std::unordered_map<const wchar_t*, std::wstring> lowered;
    auto [it, added] = lowered.try_emplace(name, name);
    if (added)
        for (wchar_t& c : it->second)
            c = static_cast<wchar_t>(std::towlower(c));
    return it->second;
}

int RuleIntDefault(const wchar_t* name) {
    if (EndsWith(name, L"PictureIndex"))
        return -1;
    if (EndsWith(name, L"FontHeight"))
        return 13;
    return 0;
}

}  // namespace

void TbsFieldSink::Emit(const wchar_t* name,
                        const wchar_t* key,
                        TbsFieldKind kind,
                        int intDef,
                        const wchar_t* strDef,
                        void* p) {
    Visit(TbsField{name, key ? std::wstring(key) : LowerKey(name), kind, intDef, strDef, p});
}

void TbsFieldSink::Int(const wchar_t* name, int& f, const wchar_t* key) {
    Emit(name, key, TbsFieldKind::Integer, RuleIntDefault(name), L"", &f);
}
void TbsFieldSink::IntDef(const wchar_t* name, int& f, int def, const wchar_t* key) {
    Emit(name, key, TbsFieldKind::Integer, def, L"", &f);
}
void TbsFieldSink::Color(const wchar_t* name, int& f, const wchar_t* key) {
    Emit(name, key, TbsFieldKind::Color, 0, L"", &f);
}
void TbsFieldSink::ColorDef(const wchar_t* name, int& f, int def, const wchar_t* key) {
    Emit(name, key, TbsFieldKind::Color, def, L"", &f);
}
void TbsFieldSink::Bool(const wchar_t* name, bool& f, const wchar_t* key) {
    Emit(name, key, TbsFieldKind::Boolean, 0, L"", &f);
}
void TbsFieldSink::Rect(const wchar_t* name, TRect& f, const wchar_t* key) {
    Emit(name, key, TbsFieldKind::Rect, 0, L"", &f);
}
void TbsFieldSink::Point(const wchar_t* name, TPoint& f, const wchar_t* key) {
    Emit(name, key, TbsFieldKind::Point, 0, L"", &f);
}
void TbsFieldSink::Corners(TPoint& LT, TPoint& RT, TPoint& LB, TPoint& RB) {
    Point(L"LTPoint", LT, L"lefttoppoint");
    Point(L"RTPoint", RT, L"righttoppoint");
    Point(L"LBPoint", LB, L"leftbottompoint");
    Point(L"RBPoint", RB, L"rightbottompoint");
}
void TbsFieldSink::Str(const wchar_t* name, std::wstring& f, const wchar_t* key) {
    Emit(name, key, TbsFieldKind::String, 0, EndsWith(name, L"FontName") ? L"Tahoma" : L"", &f);
}
void TbsFieldSink::StrDef(const wchar_t* name, std::wstring& f, const wchar_t* def, const wchar_t* key) {
    Emit(name, key, TbsFieldKind::String, 0, def, &f);
}
void TbsFieldSink::Styles(const wchar_t* name, TbsFontStyles& f, const wchar_t* key) {
    Emit(name, key, TbsFieldKind::FontStyles, 0, L"", &f);
}
void TbsFieldSink::Align(const wchar_t* name, TAlignment& f, const wchar_t* key) {
    Emit(name, key, TbsFieldKind::Alignment, taCenter, L"", &f);
}
void TbsFieldSink::Stretch(const wchar_t* name, TbsStretchType& f, const wchar_t* key) {
    Emit(name, key, TbsFieldKind::StretchType, bsstFull, L"", &f);
}
void TbsFieldSink::Morph(const wchar_t* name, TbsMorphKind& f, const wchar_t* key) {
    Emit(name, key, TbsFieldKind::MorphKind, mkDefault, L"", &f);
}
void TbsFieldSink::Command(const wchar_t* name, TbsStdCommand& f, const wchar_t* key) {
    Emit(name, key, TbsFieldKind::Command, cmDefault, L"", &f);
}
void TbsFieldSink::InActive(const wchar_t* name, TbsInActiveEffect& f, const wchar_t* key) {
    Emit(name, key, TbsFieldKind::InActiveEffect, ieBrightness, L"", &f);
}

void ReadFieldList(const TbsFieldList& list, TCustomIniFile* ini, const std::wstring& section) {
    TbsFieldLambda sink([&](const TbsField& f) {
        switch (f.Kind) {
            case TbsFieldKind::Integer:
            case TbsFieldKind::Color:
                *static_cast<int*>(f.Ptr) = ReadSkinInteger(ini, section, f.Key, f.IntDefault);
                break;
            case TbsFieldKind::Boolean:
                *static_cast<bool*>(f.Ptr) = ReadBoolean(ini, section, f.Key);
                break;
            case TbsFieldKind::Rect:
                *static_cast<TRect*>(f.Ptr) = ReadRect(ini, section, f.Key);
                break;
            case TbsFieldKind::Point:
                *static_cast<TPoint*>(f.Ptr) = ReadPoint(ini, section, f.Key);
                break;
            case TbsFieldKind::String:
                *static_cast<std::wstring*>(f.Ptr) = ini->ReadString(section, f.Key, f.StrDefault);
                break;
            case TbsFieldKind::FontStyles:
                *static_cast<TbsFontStyles*>(f.Ptr) = ReadFontStyles(ini, section, f.Key);
                break;
            case TbsFieldKind::Alignment:
                *static_cast<TAlignment*>(f.Ptr) = ReadAlignment(ini, section, f.Key);
                break;
            case TbsFieldKind::StretchType:
                *static_cast<TbsStretchType*>(f.Ptr) = ReadStretchType(ini, section, f.Key);
                break;
            case TbsFieldKind::MorphKind:
                *static_cast<TbsMorphKind*>(f.Ptr) = ReadMorphKind(ini, section, f.Key);
                break;
            case TbsFieldKind::Command:
                *static_cast<TbsStdCommand*>(f.Ptr) = ReadStdCommand(ini, section, f.Key);
                break;
            case TbsFieldKind::InActiveEffect:
                *static_cast<TbsInActiveEffect*>(f.Ptr) = ReadInActiveEffect(ini, section, f.Key);
                break;
        }
    });
    list(sink);
}

std::wstring FieldValueText(const TbsField& f) {
    switch (f.Kind) {
        case TbsFieldKind::Integer:
        case TbsFieldKind::Color:
            return IntToStr(*static_cast<const int*>(f.Ptr));
        case TbsFieldKind::Boolean:
            return *static_cast<const bool*>(f.Ptr) ? L"1" : L"0";
        case TbsFieldKind::Rect:
            return RectToText(*static_cast<const TRect*>(f.Ptr));
        case TbsFieldKind::Point:
            return PointToText(*static_cast<const TPoint*>(f.Ptr));
        case TbsFieldKind::String:
            return *static_cast<const std::wstring*>(f.Ptr);
        case TbsFieldKind::FontStyles:
            return FontStylesToText(*static_cast<const TbsFontStyles*>(f.Ptr));
        case TbsFieldKind::Alignment:
            return AlignmentToText(*static_cast<const TAlignment*>(f.Ptr));
        case TbsFieldKind::StretchType:
            return StretchTypeToText(*static_cast<const TbsStretchType*>(f.Ptr));
        case TbsFieldKind::MorphKind:
            return MorphKindToText(*static_cast<const TbsMorphKind*>(f.Ptr));
        case TbsFieldKind::Command:
            return StdCommandToText(*static_cast<const TbsStdCommand*>(f.Ptr));
        case TbsFieldKind::InActiveEffect:
            return InActiveEffectToText(*static_cast<const TbsInActiveEffect*>(f.Ptr));
    }
    return L"";
}

void WriteFieldList(const TbsFieldList& list, TCustomIniFile* ini, const std::wstring& section) {
    TbsFieldLambda sink([&](const TbsField& f) { ini->WriteString(section, f.Key, FieldValueText(f)); });
    list(sink);
}

void ResetFieldList(const TbsFieldList& list) {
    TbsFieldLambda sink([](const TbsField& f) {
        switch (f.Kind) {
            case TbsFieldKind::Integer:
            case TbsFieldKind::Color:
                *static_cast<int*>(f.Ptr) = f.IntDefault;
                break;
            case TbsFieldKind::Boolean:
                *static_cast<bool*>(f.Ptr) = f.IntDefault != 0;
                break;
            case TbsFieldKind::Rect:
                *static_cast<TRect*>(f.Ptr) = TRect{};
                break;
            case TbsFieldKind::Point:
                *static_cast<TPoint*>(f.Ptr) = TPoint{};
                break;
            case TbsFieldKind::String:
                *static_cast<std::wstring*>(f.Ptr) = f.StrDefault;
                break;
            case TbsFieldKind::FontStyles:
                *static_cast<TbsFontStyles*>(f.Ptr) = TbsFontStyles{};
                break;
            case TbsFieldKind::Alignment:
                *static_cast<TAlignment*>(f.Ptr) = static_cast<TAlignment>(f.IntDefault);
                break;
            case TbsFieldKind::StretchType:
                *static_cast<TbsStretchType*>(f.Ptr) = static_cast<TbsStretchType>(f.IntDefault);
                break;
            case TbsFieldKind::MorphKind:
                *static_cast<TbsMorphKind*>(f.Ptr) = static_cast<TbsMorphKind>(f.IntDefault);
                break;
            case TbsFieldKind::Command:
                *static_cast<TbsStdCommand*>(f.Ptr) = static_cast<TbsStdCommand>(f.IntDefault);
                break;
            case TbsFieldKind::InActiveEffect:
                *static_cast<TbsInActiveEffect*>(f.Ptr) = static_cast<TbsInActiveEffect>(f.IntDefault);
                break;
        }
    });
    list(sink);
}
