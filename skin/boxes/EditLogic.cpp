#include "skin/boxes/EditLogic.h"

#include <algorithm>

std::wstring FirstLineOf(const std::wstring& Text) {
    return Text.substr(0, Text.find_first_of(L"\r\n"));
}

std::wstring LocaliseMask(const std::wstring& Mask, wchar_t TimeSeparator, wchar_t DateSeparator) {
    std::wstring m = Mask;
    for (size_t i = 0; i < m.size(); ++i) {
        if (m[i] == L'\\') {
            ++i;  // the next character is a literal as it stands
        } else if (m[i] == L';') {
            break;  // the pattern ends
        } else if (m[i] == L':') {
            m[i] = TimeSeparator;
        } else if (m[i] == L'/') {
            m[i] = DateSeparator;
        }
    }
    return m;
}

bool IsValidNumChar(const TbsNumInput& In, wchar_t Key) {
    const bool digit = Key >= L'0' && Key <= L'9';
    const bool control = Key < 32 && Key != 13;
    bool valid = Key == L'-' || digit || control || (In.Float && Key == In.DecimalSeparator);
    if (!In.EditorEnabled && valid && (Key >= 32 || Key == 8))
        valid = false;
    if (Key == In.DecimalSeparator && In.Text.find(In.DecimalSeparator) != std::wstring::npos)
        return false;
    if (Key == L'-') {
        if (In.SelStart == 0 && In.SelLength >= 1)
            return true;
        if (In.SelStart != 0)
            return false;
        return valid && In.Text.find(L'-') == std::wstring::npos;
    }
    return valid;
}

TRect NCClientRect(const TbsEditFrame& F, const TRect& Window, bool ButtonMode) {
    TRect r = Window;
    if (!F.Skinned) {
        // With the button the client ends where the square button (the window's height) starts.
        r.Left += 2;
        r.Top += 2;
        r.Right -= ButtonMode ? Window.Height() : 2;
        r.Bottom -= 2;
        return r;
    }
    r.Left += F.ClRect.Left;
    r.Top += F.ClRect.Top;
    r.Right -= F.SkinRect.Width() - F.ClRect.Right;
    r.Bottom -= F.SkinRect.Height() - F.ClRect.Bottom;
    return r;
}

TbsEditRects CalcEditRects(const TbsEditFrame& F, int Width, int Height, bool ButtonMode) {
    TbsEditRects r;
    if (!F.Skinned) {
        if (ButtonMode) {
            r.Button = TRect{Width - Height, 0, Width, Height};
            r.Edit = TRect{2, 2, r.Button.Left - 2, Height - 2};
        } else {
            r.Edit = TRect{2, 2, Width - 2, Height - 2};
        }
        return r;
    }
    const int d = Width - F.SkinRect.Width();
    r.Edit = F.ClRect;
    r.Edit.Right += d;
    r.Button = F.ButtonRect;
    if (F.ButtonRect.Left >= F.SkinRect.Width() - F.ROffset) {
        r.Button.Left += d;
        r.Button.Right += d;
    }
    if (!F.UseSkinFont) {
        const int dh = Height - F.SkinRect.Height();
        r.Edit.Bottom += dh;
        r.Button.Bottom += dh;
    }
    return r;
}

int CalcEditHeight(const TbsEditFrame& F, int TextHeight, int ImageHeight) {
    if (!F.Skinned)
        return std::max(TextHeight + 2, ImageHeight) + 4;
    return std::max(TextHeight, ImageHeight) + F.SkinRect.Height() - F.ClRect.Height();
}

TbsImageButtons LayoutImageButtons(const TRect& Client, int ImageWidth, bool HasLeft, bool HasRight) {
    TbsImageButtons b;
    TRect r = Client;
    if (HasLeft) {
        b.Left = TRect{r.Left, r.Top, r.Left + ImageWidth, r.Bottom};
        r.Left += ImageWidth + 2;
    }
    if (HasRight) {
        b.Right = TRect{r.Right - ImageWidth, r.Top, r.Right, r.Bottom};
        r.Right -= ImageWidth + 2;
    }
    b.Text = r;
    return b;
}
