#include "skin/boxes/PasswordModel.h"

#include <algorithm>
#include <cwctype>

namespace {

std::wstring InCase(std::wstring s, TbsModelCharCase c) {
    if (c == mcUpper)
        std::transform(s.begin(), s.end(), s.begin(), [](wchar_t ch) { return static_cast<wchar_t>(std::towupper(ch)); });
    else if (c == mcLower)
        std::transform(s.begin(), s.end(), s.begin(), [](wchar_t ch) { return static_cast<wchar_t>(std::towlower(ch)); });
    return s;
}

}  // namespace

void TbsPasswordModel::SetText(const std::wstring& Value) {
    const std::wstring old = FText;
    FText = Value.empty() ? Value : InCase(Value, FCharCase);
    Invalidate();
    if (FText != old) {
        SetCaretPosition(FCaretPosition);
        if (OnChange)
            OnChange();
    }
}

void TbsPasswordModel::AssignText(const std::wstring& Value) {
    FText = Value;
    FSelLength = 0;
    SetCaretPosition(FCaretPosition);
    Invalidate();
}

void TbsPasswordModel::SetCharCase(TbsModelCharCase Value) {
    if (FCharCase == Value)
        return;
    FCharCase = Value;
    if (!FText.empty() && Value != mcNormal)
        SetText(FText);
}

void TbsPasswordModel::SetCaretPosition(int P) {
    FCaretPosition = std::clamp(P, 0, Length());
    ScrollToCaret();
    if (FSelLength == 0)
        FSelStart = FCaretPosition;
    if (OnCaretMoved)
        OnCaretMoved();
}

int TbsPasswordModel::SelStart() const {
    if (FSelLength > 0)
        return FSelStart;
    if (FSelLength < 0)
        return FSelStart + FSelLength;
    return FCaretPosition;
}

int TbsPasswordModel::SelLength() const {
    return FSelLength < 0 ? -FSelLength : FSelLength;
}

std::wstring TbsPasswordModel::SelText() const {
    const int s = std::clamp(SelStart(), 0, Length());
    return FText.substr(static_cast<size_t>(s), static_cast<size_t>(std::min(SelLength(), Length() - s)));
}

void TbsPasswordModel::SetSelStart(int Value) {
    if (Value == FSelStart)
        return;
    FSelLength = 0;
    FSelStart = Value;
    SetCaretPosition(Value);
    Invalidate();
}

void TbsPasswordModel::SetSelLength(int Value) {
    if (Value == FSelLength)
        return;
    FSelLength = Value;
    Invalidate();
}

void TbsPasswordModel::InsertText(const std::wstring& AText) {
    if (ReadOnly)
        return;
    const int start = std::clamp(SelStart(), 0, Length());
    std::wstring result = FText;
    result.erase(static_cast<size_t>(start), static_cast<size_t>(std::min(SelLength(), Length() - start)));
    result.insert(static_cast<size_t>(start), AText);
    if (MaxLength > 0 && static_cast<int>(result.size()) > MaxLength) {
        // Refused: the selected characters stay, only the selection goes.
        FSelLength = 0;
        SetCaretPosition(FCaretPosition);
        Invalidate();
        return;
    }
    FSelLength = 0;
    FCaretPosition = start + static_cast<int>(AText.size());
    SetText(result);
    SetCaretPosition(start + static_cast<int>(AText.size()));
}

void TbsPasswordModel::ClearSelection() {
    if (ReadOnly)
        return;
    const int start = std::clamp(SelStart(), 0, Length());
    std::wstring result = FText;
    result.erase(static_cast<size_t>(start), static_cast<size_t>(std::min(SelLength(), Length() - start)));
    FSelLength = 0;
    FCaretPosition = start;
    SetText(result);
    SetCaretPosition(start);
}

void TbsPasswordModel::SelectAll() {
    SetCaretPosition(Length());
    SetSelStart(0);
    SetSelLength(Length());
    Invalidate();
}

void TbsPasswordModel::InsertAfter(int Position, const std::wstring& S, bool Selected) {
    std::wstring part = S;
    if (MaxLength > 0)
        part.resize(std::min(part.size(), static_cast<size_t>(std::max(0, MaxLength - Length()))));
    const int at = std::clamp(Position, 0, Length());
    std::wstring result = FText;
    result.insert(static_cast<size_t>(at), part);
    SetText(result);
    if (Selected) {
        SetSelStart(at);
        SetSelLength(static_cast<int>(part.size()));
        FCaretPosition = at + static_cast<int>(part.size());
        ScrollToCaret();
        if (OnCaretMoved)
            OnCaretMoved();
    }
}

void TbsPasswordModel::DeleteFrom(int Position, int Length, bool MoveCaret) {
    const int from = std::clamp(Position - 1, 0, this->Length());
    std::wstring result = FText;
    result.erase(static_cast<size_t>(from), static_cast<size_t>(std::clamp(Length, 0, this->Length() - from)));
    SetText(result);
    if (MoveCaret) {
        SetSelLength(0);
        SetSelStart(Position - 1);
    }
}

void TbsPasswordModel::PasteFromClipboard() {
    if (ReadOnly || !ClipboardText)
        return;
    InsertText(ClipboardText());
}

int TbsPasswordModel::GetPrevWordPos(int P) const {
    int i = std::clamp(P, 0, Length());
    while (i > 0 && FText[static_cast<size_t>(i - 1)] == L' ')
        --i;
    while (i > 0 && FText[static_cast<size_t>(i - 1)] != L' ')
        --i;
    return i;
}

int TbsPasswordModel::GetNextWordPos(int P) const {
    int i = std::clamp(P, 0, Length());
    while (i < Length() && FText[static_cast<size_t>(i)] != L' ')
        ++i;
    while (i < Length() && FText[static_cast<size_t>(i)] == L' ')
        ++i;
    return i;
}

void TbsPasswordModel::SelectWord() {
    const int start = GetPrevWordPos(FCaretPosition);
    SetSelStart(start);
    SetSelLength(GetNextWordPos(start) - start);
    FCaretPosition = start + FSelLength;
    ScrollToCaret();
    if (OnCaretMoved)
        OnCaretMoved();
}

void TbsPasswordModel::MoveCaret(int P, bool Extend) {
    P = std::clamp(P, 0, Length());
    if (Extend) {
        FSelLength += FCaretPosition - P;
        FCaretPosition = P;
        FSelStart = P;
        ScrollToCaret();
        if (OnCaretMoved)
            OnCaretMoved();
    } else {
        FSelLength = 0;
        SetCaretPosition(P);
    }
    Invalidate();
}

void TbsPasswordModel::KeyDown(int Key, bool Shift, bool Ctrl) {
    switch (Key) {
        case pwkey::Back:
        case pwkey::Delete: {
            if (ReadOnly)
                break;
            if (SelLength() > 0) {
                ClearSelection();
                break;
            }
            std::wstring result = FText;
            if (Key == pwkey::Delete) {
                if (FCaretPosition < Length())
                    result.erase(static_cast<size_t>(FCaretPosition), 1);
            } else if (FCaretPosition > 0) {
                result.erase(static_cast<size_t>(FCaretPosition - 1), 1);
                FCaretPosition -= 1;
            }
            SetText(result);
            break;
        }
        case pwkey::End:
            MoveCaret(Length(), Shift);
            break;
        case pwkey::Home:
            MoveCaret(0, Shift);
            break;
        case pwkey::Left:
            MoveCaret(Ctrl ? GetPrevWordPos(FCaretPosition) : FCaretPosition - 1, Shift);
            break;
        case pwkey::Right:
            MoveCaret(Ctrl ? GetNextWordPos(FCaretPosition) : FCaretPosition + 1, Shift);
            break;
        case pwkey::Insert:
            if (Shift && !Ctrl)
                PasteFromClipboard();
            break;
        case pwkey::V:
            if (Ctrl && !Shift)
                PasteFromClipboard();
            break;
        default:
            break;
    }
    SetCaretPosition(FCaretPosition);
}

void TbsPasswordModel::KeyPress(wchar_t Ch) {
    if (Ch >= 32 && !ReadOnly)
        InsertChar(Ch);
}

void TbsPasswordModel::MouseDown(bool LeftButton, int X) {
    if (!LeftButton)
        return;
    FLMouseSelecting = true;
    FSelLength = 0;
    SetCaretPosition(GetCharPosAt(X));
    Invalidate();
}

void TbsPasswordModel::MouseMove(int X) {
    if (!FLMouseSelecting)
        return;
    MoveCaret(GetCharPosAt(X) + (X > EditRect.Right ? 1 : 0), true);
}

void TbsPasswordModel::DblClick() {
    FLMouseSelecting = false;
    SelectWord();
}

int TbsPasswordModel::AlignShift() const {
    const int free = EditRect.Width() - Length() * CharWidth();
    if (free <= 0)
        return 0;
    if (Alignment == maRight)
        return free;
    if (Alignment == maCenter)
        return free / 2;
    return 0;
}

int TbsPasswordModel::GetCharX(int P) const {
    int x = EditRect.Left;
    if (P > 0)
        x += CharWidth() * (std::min(P, Length()) - FFVChar + 1);
    return x + AlignShift();
}

int TbsPasswordModel::GetCharPosAt(int X) const {
    if (FText.empty())
        return FFVChar - 1;
    X -= AlignShift();
    return std::clamp(FFVChar - 1 + (X - EditRect.Left) / CharWidth(), 0, Length());
}

void TbsPasswordModel::ScrollToCaret() {
    const int cell = CharWidth();
    if (FFVChar < FCaretPosition + 1) {
        while (EditRect.Width() < cell * (FCaretPosition - FFVChar + 1) && FFVChar < Length())
            ++FFVChar;
    } else {
        FFVChar = FCaretPosition == 0 ? 1 : FCaretPosition;
    }
    Invalidate();
}

TRect TbsPasswordModel::SelectionRect() const {
    TRect r = EditRect;
    r.Left = std::max(EditRect.Left, GetCharX(SelStart()));
    r.Right = std::min(EditRect.Right, GetCharX(SelStart() + SelLength()));
    return r.IsEmpty() ? TRect{} : r;
}

std::vector<TbsPasswordModel::TCell> TbsPasswordModel::VisibleCells() const {
    std::vector<TCell> cells;
    const int cell = CharWidth();
    const int x0 = GetCharX(0);
    for (int i = FFVChar - 1, k = 0; i < Length(); ++i, ++k) {
        const TRect r{x0 + k * cell, EditRect.Top, x0 + (k + 1) * cell, EditRect.Bottom};
        if (r.Right > EditRect.Right)
            break;
        cells.push_back({r, i});
    }
    return cells;
}
