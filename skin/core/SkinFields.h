// The field tables of the skin records. Every record kind lists its fields once, in declaration order, as calls on
// a TbsFieldSink (name, kind, key, default); reading, writing, resetting to defaults, comparing and printing a record
// all walk that one list, so a field added to a list is read, written and tested alike.
//
// Keys follow one rule unless the list names another key: the field name in lower case. Defaults follow one rule
// unless the list names another default: -1 for names ending in "PictureIndex", "Tahoma" for names ending in
// "FontName", 13 for names ending in "FontHeight", otherwise 0, false, empty, centred, bsstFull, mkDefault, cmDefault,
// ieBrightness. No windows.h here.
#pragma once

#include <functional>
#include <string>

#include "classlib/IniFiles.h"
#include "classlib/Types.h"
#include "skin/core/SkinTypes.h"

enum class TbsFieldKind : std::uint8_t {
    Integer,
    Color,
    Boolean,
    Rect,
    Point,
    String,
    FontStyles,
    Alignment,
    StretchType,
    MorphKind,
    Command,
    InActiveEffect,
};

// One field of a record as its list states it. Ptr points to the field in the record being walked (its type follows
// Kind: int for Integer and Color, bool, TRect, TPoint, std::wstring, TbsFontStyles and the enumerations).
struct TbsField {
    const wchar_t* Name;  // the field's name ("FontHeight")
    std::wstring Key;     // the ini key ("fontheight")
    TbsFieldKind Kind;
    int IntDefault;  // for the integer, colour, boolean and enumerated kinds
    const wchar_t* StrDefault;
    void* Ptr;
};

// Receives the fields of a list. The typed helpers build the TbsField (applying the key and default rules) and pass
// it to Visit.
class TbsFieldSink {
  public:
    virtual ~TbsFieldSink() = default;
    virtual void Visit(const TbsField& field) = 0;

    // A key of nullptr means the rule's key; the *Def variants give a default other than the rule's. Names are
    // string literals: the rule's key is kept by the name's address.
    void Int(const wchar_t* name, int& f, const wchar_t* key = nullptr);
    void IntDef(const wchar_t* name, int& f, int def, const wchar_t* key = nullptr);
    void Color(const wchar_t* name, int& f, const wchar_t* key = nullptr);
    void ColorDef(const wchar_t* name, int& f, int def, const wchar_t* key = nullptr);
    void Bool(const wchar_t* name, bool& f, const wchar_t* key = nullptr);
    void Rect(const wchar_t* name, TRect& f, const wchar_t* key = nullptr);
    void Point(const wchar_t* name, TPoint& f, const wchar_t* key = nullptr);
    // The four corner points of a nine-part picture, under their usual keys ("lefttoppoint", ...).
    void Corners(TPoint& LT, TPoint& RT, TPoint& LB, TPoint& RB);
    void Str(const wchar_t* name, std::wstring& f, const wchar_t* key = nullptr);
    void StrDef(const wchar_t* name, std::wstring& f, const wchar_t* def, const wchar_t* key = nullptr);
    void Styles(const wchar_t* name, TbsFontStyles& f, const wchar_t* key = nullptr);
    void Align(const wchar_t* name, TAlignment& f, const wchar_t* key = nullptr);
    void Stretch(const wchar_t* name, TbsStretchType& f, const wchar_t* key = nullptr);
    void Morph(const wchar_t* name, TbsMorphKind& f, const wchar_t* key = nullptr);
    void Command(const wchar_t* name, TbsStdCommand& f, const wchar_t* key = nullptr);
    void InActive(const wchar_t* name, TbsInActiveEffect& f, const wchar_t* key = nullptr);

  private:
    void Emit(const wchar_t* name, const wchar_t* key, TbsFieldKind kind, int intDef, const wchar_t* strDef, void* p);
};

// Adapts a callable to a sink.
class TbsFieldLambda : public TbsFieldSink {
  public:
    explicit TbsFieldLambda(std::function<void(const TbsField&)> fn) : fn_(std::move(fn)) {}
    void Visit(const TbsField& field) override { fn_(field); }

  private:
    std::function<void(const TbsField&)> fn_;
};

// A field list: a callable that walks the fields of one record into a sink.
using TbsFieldList = std::function<void(TbsFieldSink&)>;

// Each walks list over the sink it needs.
void ReadFieldList(const TbsFieldList& list, TCustomIniFile* ini, const std::wstring& section);
void WriteFieldList(const TbsFieldList& list, TCustomIniFile* ini, const std::wstring& section);
void ResetFieldList(const TbsFieldList& list);
// The field's value in the ini syntax (as the writer writes it).
std::wstring FieldValueText(const TbsField& field);
