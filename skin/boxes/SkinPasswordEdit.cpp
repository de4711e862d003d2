#include "skin/boxes/SkinPasswordEdit.h"

#include <algorithm>

#include "skin/boxes/EditClipboard.h"
#include "skin/controls/ControlSkinning.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinImages.h"

namespace {

TbsModelCharCase ModelCase(TEditCharCase c) {
    return c == ecUpperCase ? mcUpper : c == ecLowerCase ? mcLower : mcNormal;
}

}  // namespace

TbsSkinPasswordEdit::TbsSkinPasswordEdit(TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
    FSkinDataName = L"edit";
    SetTabStop(true);
    TControlStyle style = ControlStyle();
    style.Include(csCaptureMouse);
    SetControlStyle(style);
    SetCursor(crIBeam);
    SetBounds(Left(), Top(), 121, 21);
    M.OnChange = [this] { Change(); };
    M.OnInvalidate = [this] { Invalidate(); };
    M.OnCaretMoved = [this] { PlaceCaret(); };
    M.ClipboardText = [this] { return ReadClipboardText(HandleAllocated() ? Handle() : nullptr); };
}

void TbsSkinPasswordEdit::GetSkinData() {
    TbsSkinCustomControl::GetSkinData();
    if (auto* e = dynamic_cast<TbsDataSkinEditControl*>(Entry())) {
        SkinRect = e->SkinRect;
        ActiveSkinRect = e->ActiveSkinRect.IsEmpty() ? SkinRect : e->ActiveSkinRect;
        LOffset = e->LTPoint.X;
        ROffset = SkinRect.Width() - e->RTPoint.X;
        ClRect = e->ClRect;
        CharColor = static_cast<TColor>(e->FontColor);
        CharDisabledColor = static_cast<TColor>(e->DisabledFontColor);
        CharActiveColor = static_cast<TColor>(e->ActiveFontColor);
    }
}

void TbsSkinPasswordEdit::CalcSize(int& W, int& H) {
    const int h = H;
    TbsSkinCustomControl::CalcSize(W, H);
    // The skin font's height is the picture's; without it the height stays free.
    if (!FUseSkinFont)
        H = h;
    else if (SkinLookAvailable() && dynamic_cast<TbsDataSkinEditControl*>(Entry()))
        H = SkinRect.Height();
}

TRect TbsSkinPasswordEdit::GetEditRect() {
    GetSkinData();
    if (!SkinLookAvailable())
        return {2, 2, Width() - 2, Height() - 2};
    int w = Width(), h = Height();
    CalcSize(w, h);
    TRect r = G.NewClRect;
    r.Left += 2;
    if (!FUseSkinFont)
        r.Bottom += Height() - SkinRect.Height();
    return r;
}

TbsPasswordModel& TbsSkinPasswordEdit::Model() {
    M.EditRect = GetEditRect();
    return M;
}

void TbsSkinPasswordEdit::SetCharCase(TEditCharCase Value) {
    FCharCase = Value;
    M.SetCharCase(ModelCase(Value));
}

void TbsSkinPasswordEdit::SetHideSelection(bool Value) {
    if (FHideSelection == Value)
        return;
    FHideSelection = Value;
    Invalidate();
}

void TbsSkinPasswordEdit::SetPasswordKind(TbsPasswordKind Value) {
    if (FPasswordKind == Value)
        return;
    FPasswordKind = Value;
    Invalidate();
}

void TbsSkinPasswordEdit::SetTextAlignment(TAlignment Value) {
    if (FTextAlignment == Value)
        return;
    FTextAlignment = Value;
    M.Alignment = Value == taRightJustify ? maRight : Value == taCenter ? maCenter : maLeft;
    Invalidate();
}

void TbsSkinPasswordEdit::SetDefaultColor(TColor Value) {
    FDefaultColor = Value;
    GetSkinData();
    if (!SkinLookAvailable())
        Invalidate();
}

void TbsSkinPasswordEdit::Change() {
    if (Enabled() && HandleAllocated())
        PlaceCaret();
    if (OnChange)
        OnChange(this);
}

void TbsSkinPasswordEdit::PlaceCaret() {
    if (!FHasCaret || !HandleAllocated() || !Focused())
        return;
    const TRect r = GetEditRect();
    M.EditRect = r;
    SetCaretPos(M.GetCharX(M.CaretPosition()), r.Top);
}

void TbsSkinPasswordEdit::UpdateCaret() {
    if (!HandleAllocated())
        return;
    Model();  // the text area of the current size and skin
    int h = Height() - 4;
    if (SkinLookAvailable()) {
        h = G.NewClRect.Height();
        if (!FUseSkinFont)
            h += Height() - SkinRect.Height();
    }
    DestroyCaret();
    FHasCaret = CreateCaret(Handle(), nullptr, 0, std::max(1, h)) != 0;
    M.SetCaretPosition(M.CaretPosition());
    if (FHasCaret)
        ShowCaret(Handle());
}

void TbsSkinPasswordEdit::CreateControlDefaultImage(TBitmap* B) {
    TCanvas* c = B->Canvas();
    const TRect all{0, 0, B->Width(), B->Height()};
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(FDefaultColor);
    c->FillRect(all);
    c->Brush()->SetColor(clBtnShadow);
    c->FrameRect(all);
    PaintText(c);
}

void TbsSkinPasswordEdit::CreateControlSkinImage(TBitmap* B) {
    const TRect state = FMouseIn || Focused() ? ActiveSkinRect : SkinRect;
    if (Picture && RectInPicture(state, Picture)) {
        if (FUseSkinFont) {
            CreateHSkinImage(LOffset, ROffset, B, Picture, state, Width(), state.Height(), G.StretchEffect);
            if (B->Height() != Height())
                B->SetSize(Width(), Height());
        } else {
            TBitmap strip;
            CreateHSkinImage(LOffset, ROffset, &strip, Picture, state, Width(), state.Height(), G.StretchEffect);
            B->SetSize(Width(), Height());
            B->Canvas()->StretchDraw({0, 0, Width(), Height()}, &strip);
        }
    }
    PaintText(B->Canvas());
}

void TbsSkinPasswordEdit::PaintText(TCanvas* C) {
    TbsPasswordModel& m = Model();
    const bool showSelection = Focused() || !FHideSelection;
    if (showSelection && m.SelLength() > 0) {
        const TRect s = m.SelectionRect();
        if (!s.IsEmpty()) {
            C->Brush()->SetStyle(bsSolid);
            C->Brush()->SetColor(clHighlight);
            C->FillRect(s);
        }
    }
    const int selFrom = m.SelStart(), selTo = m.SelStart() + m.SelLength();
    for (const auto& cell : m.VisibleCells())
        DrawPasswordChar(C, cell.R, showSelection && cell.Index >= selFrom && cell.Index < selTo);
}

void TbsSkinPasswordEdit::DrawPasswordChar(TCanvas* C, const TRect& Cell, bool Selected) {
    const bool skinned = SkinLookAvailable();
    TColor colour;
    if (!Enabled())
        colour = skinned ? CharDisabledColor : clGrayText;
    else if (Selected)
        colour = clHighlightText;
    else if (!skinned)
        colour = FDefaultFont->Color();
    else
        colour = FMouseIn || Focused() ? CharActiveColor : CharColor;
    const int dy = 2 - (Cell.Width() - Cell.Height()) / 2;
    const TRect g{Cell.Left + 2, Cell.Top + dy, Cell.Right - 2, Cell.Bottom - dy};
    C->Pen()->SetColor(colour);
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(colour);
    HDC dc = C->Handle();
    switch (FPasswordKind) {
        case pkRoundRect: {
            HGDIOBJ oldPen = SelectObject(dc, C->Pen()->Handle());
            HGDIOBJ oldBrush = SelectObject(dc, C->Brush()->Handle());
            RoundRect(dc, g.Left, g.Top + 1, g.Right, g.Bottom, g.Width() / 2, g.Width() / 2);
            SelectObject(dc, oldPen);
            SelectObject(dc, oldBrush);
            break;
        }
        case pkRect:
            C->FillRect(g);
            break;
        case pkTriangle: {
            int side = g.Width();
            if (side % 2 == 0)
                ++side;
            const int left = Cell.Left + (Cell.Width() - side) / 2, top = Cell.Top + (Cell.Height() - side) / 2;
            const POINT pts[3] = {{left + side / 2 + 1, top}, {left + side, top + side}, {left, top + side}};
            HGDIOBJ oldPen = SelectObject(dc, C->Pen()->Handle());
            HGDIOBJ oldBrush = SelectObject(dc, C->Brush()->Handle());
            Polygon(dc, pts, 3);
            SelectObject(dc, oldPen);
            SelectObject(dc, oldBrush);
            break;
        }
    }
}

void TbsSkinPasswordEdit::KeyDown(WORD& Key, TShiftState Shift) {
    TbsSkinCustomControl::KeyDown(Key, Shift);
    if (!Key)
        return;
    Model().KeyDown(Key, Shift.Contains(ssShift), Shift.Contains(ssCtrl));
}

void TbsSkinPasswordEdit::KeyPress(wchar_t& Key) {
    TbsSkinCustomControl::KeyPress(Key);
    if (Key)
        Model().KeyPress(Key);
}

void TbsSkinPasswordEdit::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
    if (CanFocus() && !Focused())
        SetFocus();
    Model().MouseDown(Button == mbLeft, X);
}

void TbsSkinPasswordEdit::MouseMove(TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseMove(Shift, X, Y);
    if (M.MouseSelecting())
        Model().MouseMove(X);
}

void TbsSkinPasswordEdit::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
    M.MouseUp();
}

void TbsSkinPasswordEdit::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case WM_GETDLGCODE:
            Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
            return;
        case WM_GETTEXT:
            // The password is never handed out as window text.
            if (Message.WParam > 0 && Message.LParam)
                reinterpret_cast<wchar_t*>(Message.LParam)[0] = L'\0';
            Message.Result = 0;
            return;
        case WM_GETTEXTLENGTH:
            Message.Result = 0;
            return;
        case WM_SETTEXT:
            SetText(Message.LParam ? reinterpret_cast<const wchar_t*>(Message.LParam) : L"");
            Message.Result = TRUE;
            return;
        case WM_COPY:
        case WM_CUT:
            return;
        case WM_PASTE:
            PasteFromClipboard();
            return;
        case WM_SETFOCUS:
            TbsSkinCustomControl::WndProc(Message);
            UpdateCaret();
            Model().SetCaretPosition(0);
            if (AutoSelect)
                M.SelectAll();
            Invalidate();
            return;
        case WM_KILLFOCUS:
            TbsSkinCustomControl::WndProc(Message);
            if (FHasCaret) {
                DestroyCaret();
                FHasCaret = false;
            }
            Invalidate();
            return;
        case WM_LBUTTONDBLCLK:
            TbsSkinCustomControl::WndProc(Message);
            Model().DblClick();
            return;
        case CM_FONTCHANGED:
            TbsSkinCustomControl::WndProc(Message);
            if (Focused())
                UpdateCaret();
            return;
        case CM_MOUSEENTER:
        case CM_MOUSELEAVE:
            TbsSkinCustomControl::WndProc(Message);
            FMouseIn = Message.Msg == CM_MOUSEENTER;
            if (!Focused())
                Invalidate();
            return;
        case CM_ENABLEDCHANGED:
            TbsSkinCustomControl::WndProc(Message);
            if (HandleAllocated())
                Invalidate();
            return;
        default:
            TbsSkinCustomControl::WndProc(Message);
    }
}
