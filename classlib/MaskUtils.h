// Edit masks: the pure logic of the masked edit, free of windows.
// Index: TEditMask.
//
// A mask is "pattern;save;blank": the pattern, then "1" (Text keeps the literals, the default) or "0", then the
// character shown for an empty position (default "_"). Pattern characters: 0 digit, 9 optional digit, # optional
// digit or sign, L letter, l optional letter, A letter or digit, a optional one, C any character, c optional one;
// > upper-cases and < lower-cases what follows (<> ends that); \ makes the next character a literal; a leading !
// puts the optional positions of a shorter text first (right-aligned); every other character is a literal.
// EditText is what the edit shows: one character per position, literals in place, empty positions as the blank.
// Text is EditText with empty positions as spaces, without the literals when the save flag is "0".
#pragma once

#include <string>
#include <vector>

class TEditMask {
  public:
    TEditMask() = default;
    explicit TEditMask(const std::wstring& mask);

    bool Empty() const { return positions_.empty(); }
    int Length() const { return static_cast<int>(positions_.size()); }
    wchar_t Blank() const { return blank_; }
    bool SaveLiterals() const { return saveLiterals_; }
    bool IsLiteral(int pos) const;
    // The literal character of a literal position, 0 otherwise.
    wchar_t Literal(int pos) const;
    // ch as it is stored at an editable position (case conversion applied), or 0 when refused.
    wchar_t Accept(int pos, wchar_t ch) const;
    // The first editable position at or after pos, Length() when none.
    int NextEditable(int pos) const;
    // The last editable position before pos, -1 when none.
    int PrevEditable(int pos) const;

    // The EditText of an empty edit.
    std::wstring BlankEditText() const;
    // Text -> EditText: characters that do not fit their position are dropped (the position stays blank).
    std::wstring EditTextFromText(const std::wstring& text) const;
    // EditText -> Text.
    std::wstring TextFromEditText(const std::wstring& editText) const;
    // Every required position holds a character.
    bool IsComplete(const std::wstring& editText) const { return FirstMissing(editText) < 0; }
    // The first required position still blank, -1 when none.
    int FirstMissing(const std::wstring& editText) const;

  private:
    enum Kind { kLiteral, kDigit, kDigitOpt, kDigitSign, kLetter, kLetterOpt, kAlnum, kAlnumOpt, kAny, kAnyOpt };
    enum Case { kKeep, kUpper, kLower };
    struct Position {
        Kind kind;
        wchar_t literal;
        Case caseMode;
    };
    static bool Optional(Kind k) {
        return k == kDigitOpt || k == kDigitSign || k == kLetterOpt || k == kAlnumOpt || k == kAnyOpt;
    }
    std::vector<Position> positions_;
    bool saveLiterals_ = true;
    bool rightAlign_ = false;  // the leading "!"
    wchar_t blank_ = L'_';
};
