// The value syntax of skin ini texts: readers and writers of integers, booleans, rectangles, points, font styles,
// alignments, the skin enumerations and string lists, over any class-library ini (the private-profile file or the
// in-memory text of a compressed skin). Kept quirks that stored skins rely on: "0x" means hexadecimal only in values
// longer than two characters; a boolean is true only when it reads as the integer 1; rectangle and point fields lose
// every character that is not a digit (so a minus sign vanishes); the enumerated words compare exactly and unknown
// words fall back per kind; font styles are found by case-sensitive substring.
//
// Also TbsSkinMemIni: the in-memory ini of compressed skins, which strips one pair of surrounding quotes from a value
// as the system's private-profile reader does, so a skin reads the same from a file and from a compressed block.
// No windows.h here.
#pragma once

#include <string>

#include "classlib/Classes.h"
#include "classlib/IniFiles.h"
#include "classlib/Types.h"
#include "skin/core/SkinTypes.h"

// ---- Text forms ---------------------------------------------------------------------------------------------------
// The integer syntax of skins: optional sign and decimal digits, or "0x"/"0X" and hex digits when the text is longer
// than two characters. False for anything else (also for values outside the 32-bit range).
bool TryParseSkinInteger(const std::wstring& text, int& value);
// "l,t,r,b" and "x,y": every field stripped of non-digits; an empty field (or a missing one) raises EConvertError
// "'<field>' is not a valid integer value"; fields after the needed ones are ignored.
TRect GetRect(const std::wstring& text);
TPoint GetPoint(const std::wstring& text);
std::wstring RectToText(const TRect& r);
std::wstring PointToText(const TPoint& p);

TbsFontStyles FontStylesFromText(const std::wstring& text);
std::wstring FontStylesToText(TbsFontStyles styles);
TAlignment AlignmentFromText(const std::wstring& text);
const wchar_t* AlignmentToText(TAlignment value);
TbsStretchType StretchTypeFromText(const std::wstring& text);
const wchar_t* StretchTypeToText(TbsStretchType value);
TbsMorphKind MorphKindFromText(const std::wstring& text);
const wchar_t* MorphKindToText(TbsMorphKind value);
TbsInActiveEffect InActiveEffectFromText(const std::wstring& text);
const wchar_t* InActiveEffectToText(TbsInActiveEffect value);
TbsStdCommand StdCommandFromText(const std::wstring& text);
const wchar_t* StdCommandToText(TbsStdCommand value);

// ---- Readers (a missing key gives the kind's default) -------------------------------------------------------------
int ReadSkinInteger(TCustomIniFile* ini, const std::wstring& section, const std::wstring& key, int defaultValue);
bool ReadBoolean(TCustomIniFile* ini, const std::wstring& section, const std::wstring& key);
TRect ReadRect(TCustomIniFile* ini, const std::wstring& section, const std::wstring& key);
TPoint ReadPoint(TCustomIniFile* ini, const std::wstring& section, const std::wstring& key);
TbsFontStyles ReadFontStyles(TCustomIniFile* ini, const std::wstring& section, const std::wstring& key);
TAlignment ReadAlignment(TCustomIniFile* ini, const std::wstring& section, const std::wstring& key);
TbsStretchType ReadStretchType(TCustomIniFile* ini, const std::wstring& section, const std::wstring& key);
TbsMorphKind ReadMorphKind(TCustomIniFile* ini, const std::wstring& section, const std::wstring& key);
TbsInActiveEffect ReadInActiveEffect(TCustomIniFile* ini, const std::wstring& section, const std::wstring& key);
TbsStdCommand ReadStdCommand(TCustomIniFile* ini, const std::wstring& section, const std::wstring& key);
// The list "<name>count" followed by the keys 0 .. count-1 (strings is cleared first).
void ReadStrings1(TCustomIniFile* ini, const std::wstring& section, const std::wstring& name, TStrings* strings);

// ---- Writers ------------------------------------------------------------------------------------------------------
void WriteSkinInteger(TCustomIniFile* ini, const std::wstring& section, const std::wstring& key, int value);
void WriteBoolean(TCustomIniFile* ini, const std::wstring& section, const std::wstring& key, bool value);
void WriteRect(TCustomIniFile* ini, const std::wstring& section, const std::wstring& key, const TRect& value);
void WritePoint(TCustomIniFile* ini, const std::wstring& section, const std::wstring& key, const TPoint& value);
void WriteFontStyles(TCustomIniFile* ini, const std::wstring& section, const std::wstring& key, TbsFontStyles value);
void WriteAlignment(TCustomIniFile* ini, const std::wstring& section, const std::wstring& key, TAlignment value);
void WriteStretchType(TCustomIniFile* ini, const std::wstring& section, const std::wstring& key, TbsStretchType value);
void WriteMorphKind(TCustomIniFile* ini, const std::wstring& section, const std::wstring& key, TbsMorphKind value);
void WriteInActiveEffect(TCustomIniFile* ini,
                         const std::wstring& section,
                         const std::wstring& key,
                         TbsInActiveEffect value);
void WriteStdCommand(TCustomIniFile* ini, const std::wstring& section, const std::wstring& key, TbsStdCommand value);
void WriteStrings1(TCustomIniFile* ini, const std::wstring& section, const std::wstring& name, const TStrings* strings);

// The in-memory ini of skins (see the file comment).
class TbsSkinMemIni : public TMemIniFile {
  public:
    using TMemIniFile::TMemIniFile;
    std::wstring ReadString(const std::wstring& section,
                            const std::wstring& ident,
                            const std::wstring& defaultValue) override;
};

// A value as the private-profile reader delivers it: one pair of matching surrounding quotes (" or ') removed.
std::wstring StripProfileQuotes(const std::wstring& value);
