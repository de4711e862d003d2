// The masked edit over the system EDIT: keys, paste and text conversion through TEditMask.
#include "classlib/Mask.h"

#include <algorithm>

TCustomMaskEdit::TCustomMaskEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

void TCustomMaskEdit::SetEditMask(const std::wstring& Value) {
    const std::wstring text = Text();
    editMask_ = Value;
    mask_ = TEditMask(Value);
    SetMaxLength(mask_.Length());
    SetText(text);
}

void TCustomMaskEdit::CreateWnd() {
    TCustomEdit::CreateWnd();
    if (IsMasked() && static_cast<int>(TCustomEdit::Text().size()) != mask_.Length())
        SetText(TCustomEdit::Text());
}

std::wstring TCustomMaskEdit::Text() {
    const std::wstring edit = TCustomEdit::Text();
    return IsMasked() ? mask_.TextFromEditText(edit) : edit;
}

void TCustomMaskEdit::SetText(const std::wstring& Value) {
    TCustomEdit::SetText(IsMasked() ? mask_.EditTextFromText(Value) : Value);
}

void TCustomMaskEdit::SetEditText(const std::wstring& Value) {
    if (!IsMasked()) {
        TCustomEdit::SetText(Value);
        return;
    }
    // Each character is checked against its position; the others become blanks.
    std::wstring edit = mask_.BlankEditText();
    for (int i = 0; i < mask_.Length() && static_cast<size_t>(i) < Value.size(); ++i)
        if (wchar_t c = mask_.Accept(i, Value[static_cast<size_t>(i)]))
            edit[static_cast<size_t>(i)] = c;
    TCustomEdit::SetText(edit);
}

void TCustomMaskEdit::ValidateEdit() {
    if (!IsMasked())
        return;
    const std::wstring edit = EditText();
    if (edit == mask_.BlankEditText())
        return;
    const int missing = mask_.FirstMissing(edit);
    if (missing < 0)
        return;
    // The entry is not left half done: the focus comes back, the caret to the first empty required position.
    if (HandleAllocated()) {
        if (GetFocus() != Handle() && CanFocus())
            SetFocus();
        SendMessageW(Handle(), EM_SETSEL, static_cast<WPARAM>(missing), missing);
    }
    MessageBeep(MB_OK);
    throw EMaskError(L"Invalid input value. Use escape key to abandon changes");
}

void TCustomMaskEdit::PutEditText(const std::wstring& text, int caret) {
    if (text != TCustomEdit::Text())
        TCustomEdit::SetText(text);
    SendMessageW(Handle(), EM_SETSEL, static_cast<WPARAM>(caret), caret);
}

void TCustomMaskEdit::ClearRange(int from, int to) {
    std::wstring edit = EditText();
    edit.resize(static_cast<size_t>(mask_.Length()), mask_.Blank());
    for (int i = std::max(0, from); i < to && i < mask_.Length(); ++i)
        if (!mask_.IsLiteral(i))
            edit[static_cast<size_t>(i)] = mask_.Blank();
    PutEditText(edit, from);
}

bool TCustomMaskEdit::InputChar(wchar_t ch) {
    const int start = SelStart(), length = SelLength();
    if (length > 1)
        ClearRange(start, start + length);
    int pos = start;
    // Typing a literal's own character steps over it.
    if (mask_.IsLiteral(pos) && mask_.Literal(pos) == ch) {
        PutEditText(EditText(), std::min(mask_.Length(), pos + 1));
        return true;
    }
    pos = mask_.NextEditable(pos);
    if (pos >= mask_.Length())
        return false;
    const wchar_t accepted = mask_.Accept(pos, ch);
    if (!accepted) {
        // A separator typed early jumps past the next literal that is that separator ("7:" in a time).
        for (int i = pos; i < mask_.Length(); ++i)
            if (mask_.IsLiteral(i) && mask_.Literal(i) == ch) {
                PutEditText(EditText(), i + 1);
                return true;
            }
        return false;
    }
    std::wstring edit = EditText();
    edit.resize(static_cast<size_t>(mask_.Length()), mask_.Blank());
    edit[static_cast<size_t>(pos)] = accepted;
    PutEditText(edit, mask_.NextEditable(pos + 1) < mask_.Length() ? mask_.NextEditable(pos + 1) : pos + 1);
    return true;
}

void TCustomMaskEdit::WndProc(TMessage& Message) {
    if (!IsMasked() || ReadOnly()) {
        TCustomEdit::WndProc(Message);
        return;
    }
    switch (Message.Msg) {
        case CM_EXIT:
            // Leaving validates; an incomplete entry throws (reported by the application) and keeps the focus.
            ValidateEdit();
            break;
        case WM_CHAR: {
            // The key events first (OnKeyPress may change or drop the key).
            if (DoKeyPress(Message))
                return;
            if (Message.WParam == 0)
                return;
            const auto ch = static_cast<wchar_t>(Message.WParam);
            if (ch == VK_BACK) {
                const int start = SelStart(), length = SelLength();
                if (length > 0) {
                    ClearRange(start, start + length);
                } else {
                    const int prev = mask_.PrevEditable(start);
                    if (prev >= 0)
                        ClearRange(prev, prev + 1);
                }
            } else if (ch >= 32) {
                if (!InputChar(ch))
                    MessageBeep(MB_OK);
            } else {
                break;  // Ctrl+C, Ctrl+V ... go to the system edit
            }
            Message.Result = 0;
            return;
        }
        case WM_KEYDOWN:
            if (Message.WParam == VK_DELETE) {
                if (DoKeyDown(Message))
                    return;
                const int start = SelStart(), length = SelLength();
                ClearRange(start, start + std::max(1, length));
                Message.Result = 0;
                return;
            }
            break;
        case WM_CUT: {
            // Copy, then blank the positions instead of removing them.
            TMessage copy{WM_COPY, 0, 0, 0};
            TCustomEdit::WndProc(copy);
            ClearRange(SelStart(), SelStart() + SelLength());
            return;
        }
        case WM_CLEAR:
            ClearRange(SelStart(), SelStart() + SelLength());
            return;
        case WM_PASTE: {
            std::wstring text;
            if (OpenClipboard(Handle())) {
                if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
                    if (auto* p = static_cast<const wchar_t*>(GlobalLock(data))) {
                        text = p;
                        GlobalUnlock(data);
                    }
                }
                CloseClipboard();
            }
            for (wchar_t c : text)
                if (!InputChar(c))
                    break;
            return;
        }
        default:
            break;
    }
    TCustomEdit::WndProc(Message);
}
