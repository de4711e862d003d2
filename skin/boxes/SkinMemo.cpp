#include "skin/boxes/SkinMemo.h"

#include <windowsx.h>

#include <algorithm>

#include "classlib/Forms.h"
#include "skin/boxes/EditClipboard.h"
#include "skin/boxes/EditMenu.h"
#include "skin/controls/ControlSkinning.h"
#include "skin/controls/SkinScrollBar.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinText.h"
#include "skin/form/SkinForm.h"
#include "skin/form/SkinMenu.h"
#include "skin/form/SkinPopupMenu.h"

TbsSkinMemo2::TbsSkinMemo2(TComponent* AOwner) : TMemo(AOwner), FDefaultFont(std::make_unique<TFont>()) {
    FDefaultFont->SetName(L"Tahoma");
    FDefaultFont->SetHeight(13);
    FDefaultFont->SetColor(clBlack);
    FDefaultFont->OnChange = [this](TObject*) {
        if (FIndex == -1)
            Font()->Assign(FDefaultFont.get());
    };
    SetAutoSize(false);
    Font()->Assign(FDefaultFont.get());
    SetScrollBars(ssBoth);
}

TbsSkinMemo2::~TbsSkinMemo2() {
    // The bars belong to the form and may outlive us: they must not call into a freed memo.
    SetVScrollBar(nullptr);
    SetHScrollBar(nullptr);
    FDefaultFont->OnChange = nullptr;
}

void TbsSkinMemo2::CreateParams(TCreateParams& Params) {
    TMemo::CreateParams(Params);
    Params.Style &= ~static_cast<DWORD>(WS_BORDER);
    Params.ExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
    Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TbsSkinMemo2::SetSkinData(TbsSkinData* Value) {
    if (FSD == Value)
        return;
    SetBorrowed(this, FSD, Value);
    if (FSD && !FSD->Empty)
        ChangeSkinData();
}

void TbsSkinMemo2::Notification(TComponent* AComponent, TOperation Operation) {
    TMemo::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FSD) {
        FSD = nullptr;
        FIndex = -1;
    }
    if (AComponent == FVScrollBar)
        FVScrollBar = nullptr;
    if (AComponent == FHScrollBar)
        FHScrollBar = nullptr;
}

void TbsSkinMemo2::GetSkinData() {
    FIndex = LookupSkinEntry(FSD, FSkinDataName);
    // An entry of another kind keeps the values copied before.
    if (auto* e = dynamic_cast<TbsDataSkinMemoControl*>(SkinEntryAt(FSD, FIndex))) {
        FontName = e->FontName;
        FontStyle = ToFontStyles(e->FontStyle);
        FontHeight = e->FontHeight;
        FontColor = static_cast<TColor>(e->FontColor);
        ActiveFontColor = static_cast<TColor>(e->ActiveFontColor);
        BGColor = static_cast<TColor>(e->BGColor);
        ActiveBGColor = static_cast<TColor>(e->ActiveBGColor);
    }
}

TColor TbsSkinMemo2::GetDisabledFontColor() {
    if (FIndex == -1)
        return clGrayText;
    auto* e = dynamic_cast<TbsDataSkinEditControl*>(SkinEntryAt(FSD, LookupSkinEntry(FSD, L"edit")));
    return e ? static_cast<TColor>(e->DisabledFontColor) : clGrayText;
}

void TbsSkinMemo2::ChangeSkinData() {
    GetSkinData();
    if (FIndex == -1) {
        const TColor keep = Font()->Color();
        Font()->Assign(FDefaultFont.get());
        Font()->SetColor(keep);
    } else {
        if (FUseSkinFont) {
            Font()->SetName(FontName);
            Font()->SetStyle(FontStyle);
            Font()->SetHeight(FontHeight);
        } else {
            const TColor keep = Font()->Color();
            Font()->Assign(FDefaultFont.get());
            Font()->SetColor(keep);
        }
        if (FUseSkinFontColor)
            Font()->SetColor(Focused() ? ActiveFontColor : FontColor);
        SetColor(BGColor);
    }
    Font()->SetCharset(SkinFontCharset(FSD, FDefaultFont->Charset()));
    UpDateScrollRange();
    // The bars take their places again.
    for (TbsSkinScrollBar* bar : {FVScrollBar, FHScrollBar})
        if (bar) {
            const TAlign a = bar->Align();
            bar->SetAlign(alNone);
            bar->SetAlign(a);
        }
}

void TbsSkinMemo2::SetDefaultFont(TFont* Value) {
    FDefaultFont->Assign(Value);
}

void TbsSkinMemo2::SetActiveLook(bool Active) {
    if (FIndex == -1)
        return;
    if (FUseSkinFontColor)
        Font()->SetColor(Active ? ActiveFontColor : FontColor);
    SetColor(Active ? ActiveBGColor : BGColor);
}

void TbsSkinMemo2::BindBar(TbsSkinScrollBar*& Field, TbsSkinScrollBar* Value, bool Vertical) {
    if (Field == Value)
        return;
    if (Field)
        Field->OnChange = nullptr;
    SetBorrowed(this, Field, Value);
    if (Value) {
        Value->SetMin(0);
        Value->SetMax(0);
        Value->SetPosition(0);
        Value->OnChange = [this, Vertical](TObject*) { BarChanged(Vertical); };
    }
    UpDateScrollRange();
}

void TbsSkinMemo2::SetVScrollBar(TbsSkinScrollBar* Value) {
    BindBar(FVScrollBar, Value, true);
}

void TbsSkinMemo2::SetHScrollBar(TbsSkinScrollBar* Value) {
    BindBar(FHScrollBar, Value, false);
}

void TbsSkinMemo2::BarChanged(bool Vertical) {
    TbsSkinScrollBar* bar = Vertical ? FVScrollBar : FHScrollBar;
    if (!bar || !HandleAllocated())
        return;
    const int pos = bar->Position();
    if (Vertical && pos > 0xFFFF) {
        // The thumb position of WM_VSCROLL has 16 bits: a longer text scrolls by lines to the bar's line.
        const auto first = static_cast<int>(SendMessageW(Handle(), EM_GETFIRSTVISIBLELINE, 0, 0));
        SendMessageW(Handle(), EM_LINESCROLL, 0, pos - first);
    } else {
        Perform(Vertical ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, std::clamp(pos, 0, 0xFFFF)), 0);
    }
    Invalidate();
}

void TbsSkinMemo2::UpDateScrollRange() {
    auto update = [this](TbsSkinScrollBar* bar, int which, int extra) {
        if (!bar)
            return;
        if (!Enabled()) {
            bar->SetEnabled(false);
            return;
        }
        SCROLLINFO si{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
        if (!HandleAllocated() || !GetScrollInfo(Handle(), which, &si))
            si = SCROLLINFO{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
        if (static_cast<long long>(si.nPage) < static_cast<long long>(si.nMax) + extra) {
            bar->SetRange(0, si.nMax, static_cast<int>(si.nPage), si.nPos);
            bar->SetEnabled(true);
        } else {
            bar->SetRange(0, 0, 0, 0);
            bar->SetEnabled(false);
        }
    };
    update(FVScrollBar, SB_VERT, 1);
    update(FHScrollBar, SB_HORZ, 0);
}

void TbsSkinMemo2::Change() {
    TMemo::Change();
    UpDateScrollRange();
}

int TbsSkinMemo2::GetVisibleLines() {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    SIZE s{};
    GetTextExtentPoint32W(dc, L"Wq", 2, &s);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return s.cy > 0 ? std::max(0, ClientHeight()) / s.cy : 1;
}

void TbsSkinMemo2::PaintDisabled(HDC DC) {
    TCanvas c;
    c.SetHandle(DC);
    // The window erases nothing of its own (its paint would): the background first, then the text.
    c.Brush()->SetColor(Color());
    c.FillRect({0, 0, ClientWidth(), ClientHeight()});
    if (FIndex != -1 && FUseSkinFont) {
        c.Font()->SetName(FontName);
        c.Font()->SetHeight(FontHeight);
        c.Font()->SetStyle(FontStyle);
        c.Font()->SetColor(GetDisabledFontColor());
    } else {
        c.Font()->Assign(FDefaultFont.get());
        c.Font()->SetColor(FIndex == -1 ? clGrayText : GetDisabledFontColor());
    }
    c.Font()->SetCharset(SkinFontCharset(FSD, FDefaultFont->Charset()));
    c.Brush()->SetStyle(bsClear);
    const int n = GetVisibleLines();
    const auto first = static_cast<int>(SendMessageW(Handle(), EM_GETFIRSTVISIBLELINE, 0, 0));
    RECT r{};
    SendMessageW(Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    UINT format = DT_LEFT;
    if (Alignment() == taRightJustify)
        format = DT_RIGHT;
    else if (Alignment() == taCenter)
        format = DT_CENTER;
    // One line fewer than fit: the last, partly visible line is left out.
    const int count = Lines()->Count();
    const int lineHeight = c.TextHeight(L"Wq");
    for (int i = first; i <= first + n - 2 && i < count; ++i) {
        std::wstring line = Lines()->Strings(i);
        DrawTextW(c.Handle(), line.c_str(), static_cast<int>(line.size()), &r, format | DT_NOPREFIX);
        r.top += lineHeight;
    }
    c.SetHandle(nullptr);
}

void TbsSkinMemo2::ShowSysMenu(int X, int Y) {
    TbsEditMenuState state;
    state.CanUndo = CanUndo();
    state.Selected = SelLength() > 0;
    state.ReadOnly = ReadOnly();
    state.CanPaste = ClipboardHasText();
    state.FullSelected = SelText() == Text();
    TbsEditMenuActions run;
    run.Undo = [this] { Undo(); };
    run.Cut = [this] { CutToClipboard(); };
    run.Copy = [this] { CopyToClipboard(); };
    run.Paste = [this] { PasteFromClipboard(); };
    run.Delete = [this] { ClearSelection(); };
    run.SelectAll = [this] { SelectAll(); };
    ShowEditMenu(this, FSysPopupMenu, FSD ? FSD->ResourceStrData() : nullptr, state, run, X, Y);
}

void TbsSkinMemo2::WndProc(TMessage& Message) {
    if (EditMenuMessage(this, FSysPopupMenu, Message, [this](int X, int Y) { ShowSysMenu(X, Y); }))
        return;
    switch (Message.Msg) {
        case WM_NCCALCSIZE:
            // The whole window is client area: the window's own bars keep the scroll state but never show.
            Message.Result = 0;
            return;
        case WM_NCHITTEST:
            Message.Result = HTCLIENT;
            return;
        case CM_SENCPAINT:
            Message.Result = 12851;
            return;
        case WM_PAINT: {
            if (Enabled())
                break;
            PAINTSTRUCT ps{};
            HDC dc = Message.WParam ? reinterpret_cast<HDC>(Message.WParam) : BeginPaint(Handle(), &ps);
            PaintDisabled(dc);
            if (!Message.WParam)
                EndPaint(Handle(), &ps);
            Message.Result = 0;
            return;
        }
        case WM_SETFOCUS:
            TMemo::WndProc(Message);
            if (!FMouseIn)
                SetActiveLook(true);
            return;
        case WM_KILLFOCUS:
            TMemo::WndProc(Message);
            if (!FMouseIn)
                SetActiveLook(false);
            return;
        case CM_MOUSEENTER:
            TMemo::WndProc(Message);
            FMouseIn = true;
            if (!Focused())
                SetActiveLook(true);
            if (OnMouseEnter)
                OnMouseEnter(this);
            return;
        case CM_MOUSELEAVE:
            TMemo::WndProc(Message);
            FMouseIn = false;
            if (!Focused())
                SetActiveLook(false);
            if (OnMouseLeave)
                OnMouseLeave(this);
            return;
        case WM_MOUSEWHEEL:
            Perform(WM_VSCROLL, GET_WHEEL_DELTA_WPARAM(Message.WParam) > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
            Message.Result = 0;
            return;
        case WM_SIZE:
        case WM_VSCROLL:
        case WM_HSCROLL:
        case WM_CHAR:
        case WM_KEYDOWN:
        case WM_SETTEXT:
        case WM_CUT:
        case WM_PASTE:
        case WM_CLEAR:
        case WM_UNDO:
            TMemo::WndProc(Message);
            UpDateScrollRange();
            return;
        case CN_COMMAND:
            TMemo::WndProc(Message);
            if (HIWORD(Message.WParam) == EN_HSCROLL || HIWORD(Message.WParam) == EN_VSCROLL)
                UpDateScrollRange();
            return;
        case CM_ENABLEDCHANGED:
            if (HandleAllocated())
                Perform(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0), 0);
            TMemo::WndProc(Message);
            UpDateScrollRange();
            return;
        default:
            break;
    }
    TMemo::WndProc(Message);
}
