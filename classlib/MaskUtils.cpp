// Edit masks: parsing a mask and converting between Text and EditText.
#include "classlib/MaskUtils.h"

#include <cwctype>

TEditMask::TEditMask(const std::wstring& mask) {
    // The last two ";" fields are the save flag and the blank, when present (a pattern may contain "\;").
    std::wstring pattern = mask;
    std::vector<size_t> semis;
    for (size_t i = 0; i < mask.size(); ++i) {
        if (mask[i] == L'\\') {
            ++i;
            continue;
        }
        if (mask[i] == L';')
            semis.push_back(i);
    }
    if (!semis.empty()) {
        const size_t first = semis.size() >= 2 ? semis[semis.size() - 2] : semis.back();
        pattern = mask.substr(0, first);
        std::wstring save, blank;
        if (semis.size() >= 2) {
            save = mask.substr(first + 1, semis.back() - first - 1);
            blank = mask.substr(semis.back() + 1);
        } else {
            save = mask.substr(first + 1);
        }
        saveLiterals_ = save != L"0";
        if (!blank.empty())
            blank_ = blank[0];
    }
    Case caseMode = kKeep;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const wchar_t c = pattern[i];
        switch (c) {
            case L'!':
                rightAlign_ = true;
                continue;
            case L'>':
                caseMode = kUpper;
                continue;
            case L'<':
                if (i + 1 < pattern.size() && pattern[i + 1] == L'>') {
                    ++i;
                    caseMode = kKeep;
                } else {
                    caseMode = kLower;
                }
                continue;
            case L'\\':
                if (i + 1 < pattern.size())
                    positions_.push_back({kLiteral, pattern[++i], kKeep});
                continue;
            case L'0':
                positions_.push_back({kDigit, 0, caseMode});
                continue;
            case L'9':
                positions_.push_back({kDigitOpt, 0, caseMode});
                continue;
            case L'#':
                positions_.push_back({kDigitSign, 0, caseMode});
                continue;
            case L'L':
                positions_.push_back({kLetter, 0, caseMode});
                continue;
            case L'l':
                positions_.push_back({kLetterOpt, 0, caseMode});
                continue;
            case L'A':
                positions_.push_back({kAlnum, 0, caseMode});
                continue;
            case L'a':
                positions_.push_back({kAlnumOpt, 0, caseMode});
                continue;
            case L'C':
                positions_.push_back({kAny, 0, caseMode});
                continue;
            case L'c':
                positions_.push_back({kAnyOpt, 0, caseMode});
                continue;
            case L'_':
                positions_.push_back({kLiteral, L' ', kKeep});
                continue;
            default:
                positions_.push_back({kLiteral, c, kKeep});
        }
    }
}

bool TEditMask::IsLiteral(int pos) const {
    return pos >= 0 && pos < Length() && positions_[static_cast<size_t>(pos)].kind == kLiteral;
}

wchar_t TEditMask::Literal(int pos) const {
    return IsLiteral(pos) ? positions_[static_cast<size_t>(pos)].literal : 0;
}

wchar_t TEditMask::Accept(int pos, wchar_t ch) const {
    if (pos < 0 || pos >= Length() || ch < 32)
        return 0;
    const Position& p = positions_[static_cast<size_t>(pos)];
    const bool digit = ch >= L'0' && ch <= L'9';
    const bool letter = std::iswalpha(static_cast<wint_t>(ch)) != 0;
    bool ok = false;
    switch (p.kind) {
        case kLiteral:
            return 0;
        case kDigit:
        case kDigitOpt:
            ok = digit;
            break;
        case kDigitSign:
            ok = digit || ch == L'+' || ch == L'-';
            break;
        case kLetter:
        case kLetterOpt:
            ok = letter;
            break;
        case kAlnum:
        case kAlnumOpt:
            ok = letter || digit;
            break;
        case kAny:
        case kAnyOpt:
            ok = true;
            break;
    }
    if (!ok)
        return 0;
    if (p.caseMode == kUpper)
        return static_cast<wchar_t>(std::towupper(static_cast<wint_t>(ch)));
    if (p.caseMode == kLower)
        return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(ch)));
    return ch;
}

int TEditMask::NextEditable(int pos) const {
    if (pos < 0)
        pos = 0;
    while (pos < Length() && IsLiteral(pos))
        ++pos;
    return pos;
}

int TEditMask::PrevEditable(int pos) const {
    --pos;
    while (pos >= 0 && IsLiteral(pos))
        --pos;
    return pos;
}

std::wstring TEditMask::BlankEditText() const {
    std::wstring s;
    for (const Position& p : positions_)
        s += p.kind == kLiteral ? p.literal : blank_;
    return s;
}

std::wstring TEditMask::EditTextFromText(const std::wstring& text) const {
    std::wstring out = BlankEditText();
    // The characters meant for editable positions (with the literals when Text keeps them).
    std::wstring chars;
    int skip = 0;
    if (saveLiterals_) {
        // With "!" a shorter text lines up with the end of the mask.
        const std::wstring aligned = rightAlign_ && static_cast<int>(text.size()) < Length()
                                         ? std::wstring(static_cast<size_t>(Length()) - text.size(), L' ') + text
                                         : text;
        const std::wstring& text = aligned;
        size_t t = 0;
        for (int i = 0; i < Length() && t < text.size(); ++i) {
            if (IsLiteral(i)) {
                if (text[t] == Literal(i))
                    ++t;
                continue;
            }
            chars += text[t++];
        }
    } else {
        chars = text;
    }
    int editable = 0;
    for (int i = 0; i < Length(); ++i)
        editable += IsLiteral(i) ? 0 : 1;
    if (static_cast<int>(chars.size()) > editable)
        chars.resize(static_cast<size_t>(editable));
    // A shorter text fills the last positions with "!", the first without.
    if (!saveLiterals_ && rightAlign_)
        skip = editable - static_cast<int>(chars.size());
    size_t c = 0;
    for (int i = 0; i < Length() && c < chars.size(); ++i) {
        if (IsLiteral(i))
            continue;
        if (skip > 0) {
            --skip;
            continue;
        }
        const wchar_t ch = chars[c++];
        if (ch == L' ' || ch == blank_)
            continue;
        if (wchar_t accepted = Accept(i, ch))
            out[static_cast<size_t>(i)] = accepted;
    }
    return out;
}

std::wstring TEditMask::TextFromEditText(const std::wstring& editText) const {
    std::wstring out;
    for (int i = 0; i < Length(); ++i) {
        const wchar_t c = static_cast<size_t>(i) < editText.size() ? editText[static_cast<size_t>(i)] : blank_;
        if (IsLiteral(i)) {
            if (saveLiterals_)
                out += Literal(i);
            continue;
        }
        out += c == blank_ ? L' ' : c;
    }
    return out;
}

int TEditMask::FirstMissing(const std::wstring& editText) const {
    for (int i = 0; i < Length(); ++i) {
        const Position& p = positions_[static_cast<size_t>(i)];
        if (p.kind == kLiteral || Optional(p.kind))
            continue;
        const wchar_t c = static_cast<size_t>(i) < editText.size() ? editText[static_cast<size_t>(i)] : blank_;
        if (c == blank_ || c == L' ')
            return i;
    }
    return -1;
}
