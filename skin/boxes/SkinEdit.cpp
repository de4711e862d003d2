#include "skin/boxes/SkinEdit.h"

#include <windowsx.h>

#include <algorithm>

#include "classlib/Forms.h"
#include "classlib/SysUtils.h"
#include "skin/boxes/EditClipboard.h"
#include "skin/boxes/EditMenu.h"
#include "skin/controls/ControlSeam.h"
#include "skin/controls/ControlSkinning.h"
#include "skin/core/GlyphPainters.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinText.h"
#include "skin/form/SkinMenu.h"
#include "skin/form/SkinPopupMenu.h"

// ---- TbsCustomEdit --------------------------------------------------------------------------------------------------
TbsCustomEdit::TbsCustomEdit(TComponent* AOwner)
    : TCustomMaskEdit(AOwner), TimeSeparator(FormatSettings.TimeSeparator), DateSeparator(FormatSettings.DateSeparator) {}

void TbsCustomEdit::SetEditMask(const std::wstring& Value) {
    TCustomMaskEdit::SetEditMask(LocaliseMask(Value, TimeSeparator, DateSeparator));
}

TbsCustomEdit::~TbsCustomEdit() = default;

void TbsCustomEdit::SetEditTransparent(bool Value) {
    FEditTransparent = Value;
    if (HandleAllocated())
        RecreateWnd();
}

bool TbsCustomEdit::IsSelected() {
    return SelLength() > 0;
}

bool TbsCustomEdit::IsFullSelected() {
    return SelStart() == 0 && SelLength() == static_cast<int>(EditText().size());
}

void TbsCustomEdit::CreateParams(TCreateParams& Params) {
    TCustomMaskEdit::CreateParams(Params);
    Params.Style &= ~static_cast<DWORD>(WS_BORDER | ES_READONLY);
    Params.ExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
    Params.Style |= PasswordChar() ? ES_PASSWORD : ES_MULTILINE;
}

void TbsCustomEdit::PaintSize(int& W, int& H) {
    W = Width();
    H = Height();
}

void TbsCustomEdit::DrawEditBackground(HDC DC) {
    int w = 0, h = 0;
    PaintSize(w, h);
    if (w <= 0 || h <= 0)
        return;
    TBitmap b(w, h);
    GetParentImage(this, b.Canvas());
    BitBlt(DC, 0, 0, w, h, b.Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TbsCustomEdit::DoPaint() {
    if (!HandleAllocated())
        return;
    HDC dc = GetDC(Handle());
    DoPaint2(dc);
    ReleaseDC(Handle(), dc);
}

void TbsCustomEdit::DoPaint2(HDC DC) {
    int w = 0, h = 0;
    PaintSize(w, h);
    if (!HandleAllocated() || w <= 0 || h <= 0)
        return;
    FStopDraw = true;
    ::HideCaret(Handle());
    HDC mem = CreateCompatibleDC(DC);
    HBITMAP bmp = CreateCompatibleBitmap(DC, w + 1, h + 1);
    HGDIOBJ old = SelectObject(mem, bmp);
    TMessage erase{WM_ERASEBKGND, reinterpret_cast<WPARAM>(mem), 0, 0};
    WndProc(erase);
    if (!PaintOwnText(mem)) {
        // The window draws its text (and selection) over the background; its colours come from CN_CTLCOLOREDIT.
        TMessage paint{WM_PAINT, reinterpret_cast<WPARAM>(mem), 0, 0};
        DefaultHandler(paint);
    }
    BitBlt(DC, 0, 0, w, h, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ::ShowCaret(Handle());
    FStopDraw = false;
}

void TbsCustomEdit::Change() {
    TCustomMaskEdit::Change();
    if (FEditTransparent)
        DoPaint();
}

void TbsCustomEdit::PasteFirstLine() {
    if (!ClipboardHasText())
        return;
    const std::wstring text = FirstLineOf(ReadClipboardText(Handle()));
    SendMessageW(Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

TbsResourceStrData* TbsCustomEdit::FindResourceStrData() {
    TCustomForm* form = GetParentForm(this);
    TbsSkinForm* skf = form ? FindSKFComponent(form) : nullptr;
    TbsSkinData* data = skf ? skf->SkinData() : nullptr;
    return data ? data->ResourceStrData() : nullptr;
}

void TbsCustomEdit::ShowSysMenu(int X, int Y) {
    TbsEditMenuState state;
    state.CanUndo = CanUndo();
    state.Selected = IsSelected();
    state.ReadOnly = FReadOnly;
    state.CanPaste = ClipboardHasText();
    state.FullSelected = IsFullSelected();
    TbsEditMenuActions run;
    run.Undo = [this] { Perform(WM_UNDO); };
    run.Cut = [this] { Perform(WM_CUT); };
    run.Copy = [this] { CopyToClipboard(); };
    run.Paste = [this] { Perform(WM_PASTE); };
    run.Delete = [this] { Perform(WM_CLEAR); };
    run.SelectAll = [this] { SelectAll(); };
    ShowEditMenu(this, FSysPopupMenu, FindResourceStrData(), state, run, X, Y);
}

void TbsCustomEdit::WndProc(TMessage& Message) {
    if (EditMenuMessage(this, FSysPopupMenu, Message, [this](int X, int Y) { ShowSysMenu(X, Y); }))
        return;
    switch (Message.Msg) {
        case WM_CHAR: {
            const auto ch = static_cast<wchar_t>(Message.WParam);
            if (ch == 27 || ch == 13) {
                wchar_t key = ch;
                if (OnKeyPress)
                    OnKeyPress(this, key);
                if (TCustomForm* form = GetParentForm(this))
                    form->Perform(CM_DIALOGKEY, ch, Message.LParam);
                Message.Result = 0;
                return;
            }
            // Ctrl+Enter types a line feed: a one-line edit keeps none.
            if (ch == 10)
                return;
            if (FReadOnly && ch != 3)
                return;
            TCustomMaskEdit::WndProc(Message);
            if (FEditTransparent)
                DoPaint();
            return;
        }
        case WM_KEYDOWN:
            if (FReadOnly && Message.WParam == VK_DELETE)
                return;
            break;
        case WM_CUT:
        case WM_CLEAR:
        case WM_UNDO:
            if (FReadOnly)
                return;
            break;
        case WM_PASTE:
            if (FReadOnly)
                return;
            if (!IsMasked()) {
                PasteFirstLine();
                return;
            }
            break;
        case WM_SETFOCUS:
            TCustomMaskEdit::WndProc(Message);
            if (FEditTransparent)
                DoPaint();
            if (AutoSelect)
                SelectAll();
            return;
        case WM_KILLFOCUS:
            TCustomMaskEdit::WndProc(Message);
            if (FEditTransparent)
                DoPaint();
            return;
        case WM_LBUTTONDOWN:
            FDown = true;
            TCustomMaskEdit::WndProc(Message);
            if (FEditTransparent)
                DoPaint();
            return;
        case WM_LBUTTONUP:
            FDown = false;
            break;
        case WM_SETFONT:
            TCustomMaskEdit::WndProc(Message);
            SendMessageW(Handle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(2, 0));
            return;
        case CN_CTLCOLOREDIT:
        case CN_CTLCOLORSTATIC:
            if (!FEditTransparent )
                break;
            SetBkMode(reinterpret_cast<HDC>(Message.WParam), TRANSPARENT);
            SetTextColor(reinterpret_cast<HDC>(Message.WParam), static_cast<COLORREF>(ColorToRGB(Font()->Color())));
            Message.Result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
            return;
        case WM_PAINT: {
            if (FStopDraw || !FEditTransparent)
                break;
            PAINTSTRUCT ps{};
            HDC dc = Message.WParam ? reinterpret_cast<HDC>(Message.WParam) : BeginPaint(Handle(), &ps);
            DoPaint2(dc);
            if (!Message.WParam)
                EndPaint(Handle(), &ps);
            ::ShowCaret(Handle());
            Message.Result = 0;
            return;
        }
        case WM_ERASEBKGND:
            if (!FEditTransparent)
                break;
            if (FStopDraw)
                DrawEditBackground(reinterpret_cast<HDC>(Message.WParam));
            else
                DoPaint();
            Message.Result = 1;
            return;
        case CM_CANCELMODE:
            TCustomMaskEdit::WndProc(Message);
            if (OnEditCancelMode)
                OnEditCancelMode(reinterpret_cast<TControl*>(Message.LParam));
            return;
        default:
            break;
    }
    TCustomMaskEdit::WndProc(Message);
}

// ---- TbsSkinNumEdit -------------------------------------------------------------------------------------------------
TbsSkinNumEdit::TbsSkinNumEdit(TComponent* AOwner) : TbsCustomEdit(AOwner) {}

bool TbsSkinNumEdit::IsValidChar(wchar_t Key) {
    TbsNumInput in;
    in.Text = EditText();
    in.SelStart = SelStart();
    in.SelLength = SelLength();
    in.Float = Float;
    in.EditorEnabled = EditorEnabled;
    in.DecimalSeparator = FormatSettings.DecimalSeparator;
    return IsValidNumChar(in, Key);
}

void TbsSkinNumEdit::KeyDown(WORD& Key, TShiftState Shift) {
    if (Key == VK_UP) {
        if (OnUpClick)
            OnUpClick(this);
        Key = 0;
    } else if (Key == VK_DOWN) {
        if (OnDownClick)
            OnDownClick(this);
        Key = 0;
    }
    TbsCustomEdit::KeyDown(Key, Shift);
}

void TbsSkinNumEdit::KeyPress(wchar_t& Key) {
    TbsCustomEdit::KeyPress(Key);
    if (Key && !IsValidChar(Key)) {
        Key = 0;
        MessageBeep(0);
    }
}

void TbsSkinNumEdit::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case WM_MOUSEWHEEL:
            // Away from the user (a positive delta) steps down, as the spin edit expects.
            if (GET_WHEEL_DELTA_WPARAM(Message.WParam) > 0) {
                if (OnDownClick)
                    OnDownClick(this);
            } else if (OnUpClick) {
                OnUpClick(this);
            }
            Message.Result = 0;
            return;
        case CM_MOUSEENTER:
            TbsCustomEdit::WndProc(Message);
            if (OnMouseEnter)
                OnMouseEnter(this);
            return;
        case CM_MOUSELEAVE:
            TbsCustomEdit::WndProc(Message);
            if (OnMouseLeave)
                OnMouseLeave(this);
            return;
        default:
            TbsCustomEdit::WndProc(Message);
    }
}

// ---- TbsSkinCustomEdit ----------------------------------------------------------------------------------------------
TbsSkinCustomEdit::TbsSkinCustomEdit(TComponent* AOwner) : TbsCustomEdit(AOwner), FDefaultFont(std::make_unique<TFont>()) {
    FDefaultFont->SetName(L"Tahoma");
    FDefaultFont->SetHeight(13);
    FDefaultFont->SetColor(clBlack);
    SetAutoSize(false);
    SetBorderStyle(bsNoBorder);
    Font()->Assign(FDefaultFont.get());
    FEditTransparent = true;
    SetBounds(Left(), Top(), Width(), 20);
}

TbsSkinCustomEdit::~TbsSkinCustomEdit() {
    FHoverTimer.reset();
}

void TbsSkinCustomEdit::SetSkinData(TbsSkinData* Value) {
    if (FSD == Value)
        return;
    if (FSD)
        FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD) {
        FSD->FreeNotification(this);
        if (!FSD->Empty)
            ChangeSkinData();
    }
}

void TbsSkinCustomEdit::Notification(TComponent* AComponent, TOperation Operation) {
    TbsCustomEdit::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FSD) {
        FSD = nullptr;
        FIndex = -1;
        Picture = nullptr;
    }
    if (AComponent == FImages)
        FImages = nullptr;
}

void TbsSkinCustomEdit::GetSkinData() {
    FIndex = LookupSkinEntry(FSD, FSkinDataName);
    auto* e = dynamic_cast<TbsDataSkinEditControl*>(SkinEntryAt(FSD, FIndex));
    if (!e) {
        // An entry of another kind gives nothing to draw from: the built-in look.
        FIndex = -1;
        Picture = nullptr;
        return;
    }
    Picture = SkinPictureAt(FSD, e->PictureIndex);
    SkinRect = e->SkinRect;
    FOwnActiveRect = !e->ActiveSkinRect.IsEmpty();
    ActiveSkinRect = FOwnActiveRect ? e->ActiveSkinRect : SkinRect;
    LOffset = e->LTPoint.X;
    ROffset = SkinRect.Width() - e->RTPoint.X;
    ClRect = e->ClRect;
    FontName = e->FontName;
    FontStyle = ToFontStyles(e->FontStyle);
    FontHeight = e->FontHeight;
    FontColor = static_cast<TColor>(e->FontColor);
    DisabledFontColor = static_cast<TColor>(e->DisabledFontColor);
    ActiveFontColor = static_cast<TColor>(e->ActiveFontColor);
    SkinButtonRect = e->ButtonRect;
    ActiveButtonRect = e->ActiveButtonRect;
    DownButtonRect = e->DownButtonRect.IsEmpty() ? ActiveButtonRect : e->DownButtonRect;
    UnEnabledButtonRect = e->UnEnabledButtonRect;
    StretchEffect = e->StretchEffect;
}

TbsEditFrame TbsSkinCustomEdit::Frame() const {
    TbsEditFrame f;
    f.Skinned = HasEntry();
    f.SkinRect = SkinRect;
    f.ClRect = ClRect;
    f.ButtonRect = SkinButtonRect;
    f.ROffset = ROffset;
    f.UseSkinFont = FUseSkinFont;
    return f;
}

void TbsSkinCustomEdit::CalcRects() {
    const TbsEditRects r = CalcEditRects(Frame(), Width(), Height(), FButtonMode);
    FEditRect = r.Edit;
    FButtonRect = r.Button;
}

int TbsSkinCustomEdit::CalcEditHeight() {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return ::CalcEditHeight(Frame(), tm.tmHeight, FImages ? FImages->Height() : 0);
}

void TbsSkinCustomEdit::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    GetSkinData();
    const bool sizeChanged = AWidth != Width() || AHeight != Height();
    if (!HasEntry()) {
        const bool aligned = Align() == alClient || Align() == alLeft || Align() == alRight;
        if (!aligned || (sizeChanged && !FUseSkinFont))
            AHeight = CalcEditHeight();
    } else if (sizeChanged) {
        AHeight = FUseSkinFont ? SkinRect.Height() : CalcEditHeight();
    }
    if (Align() != alNone)
        HostCentredTop(this, AHeight, ATop);
    TbsCustomEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
    InvalidateNC();
}

void TbsSkinCustomEdit::CreateParams(TCreateParams& Params) {
    TbsCustomEdit::CreateParams(Params);
    Params.ExStyle &= ~static_cast<DWORD>(WS_EX_TRANSPARENT);
    Params.Style &= ~static_cast<DWORD>(ES_LEFT | ES_RIGHT | ES_CENTER);
    if (FAlignment == taRightJustify)
        Params.Style |= ES_RIGHT;
    else if (FAlignment == taCenter)
        Params.Style |= ES_CENTER;
}

void TbsSkinCustomEdit::CreateWnd() {
    TbsCustomEdit::CreateWnd();
    SendMessageW(Handle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(2, 0));
    AdjustTextRect(true);
}

void TbsSkinCustomEdit::PaintSize(int& W, int& H) {
    RECT r{};
    if (HandleAllocated())
        GetClientRect(Handle(), &r);
    W = r.right;
    H = r.bottom;
}

void TbsSkinCustomEdit::InvalidateNC() {
    if (!Parent() || ComponentState().Contains(csLoading) || !HandleAllocated())
        return;
    SendMessageW(Handle(), WM_NCPAINT, 0, 0);
    DoPaint();
}

void TbsSkinCustomEdit::AdjustTextRect(bool SetRect) {
    if (!HandleAllocated() || !FImages)
        return;
    RECT c{};
    GetClientRect(Handle(), &c);
    const TbsImageButtons b = LayoutImageButtons(TRect{c.left, c.top, c.right, c.bottom}, FImages->Width(),
                                                 FLeftImageIndex >= 0, FRightImageIndex >= 0);
    FLeftButton.R = b.Left;
    FRightButton.R = b.Right;
    if (SetRect) {
        RECT t{b.Text.Left, b.Text.Top, b.Text.Right, b.Text.Bottom};
        SendMessageW(Handle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&t));
    }
}

void TbsSkinCustomEdit::DrawResizeButton(TCanvas* C, const TRect& R) {
    TbsDataSkinButtonControl* e = nullptr;
    for (const wchar_t* name : {L"editbutton", L"combobutton", L"resizebutton"}) {
        e = dynamic_cast<TbsDataSkinButtonControl*>(SkinEntryAt(FSD, LookupSkinEntry(FSD, name)));
        if (e)
            break;
    }
    if (!e || R.IsEmpty())
        return;
    TBitmap* pic = SkinPictureAt(FSD, e->PictureIndex);
    TRect src = e->SkinRect;
    const TRect active = e->ActiveSkinRect.IsEmpty() ? e->SkinRect : e->ActiveSkinRect;
    if (FButtonActive)
        src = FButtonDown ? (e->DownSkinRect.IsEmpty() ? active : e->DownSkinRect) : active;
    if (!pic || !RectInPicture(src, pic))
        return;
    TBitmap b(R.Width(), R.Height());
    const int dw = R.Width() - e->SkinRect.Width(), dh = R.Height() - e->SkinRect.Height();
    TRect cl = e->ClRect;
    cl.Right += dw;
    cl.Bottom += dh;
    CreateSkinImage(e->LTPoint, e->RTPoint, e->LBPoint, e->RBPoint, e->ClRect, e->LTPoint,
                    {e->RTPoint.X + dw, e->RTPoint.Y}, {e->LBPoint.X, e->LBPoint.Y + dh},
                    {e->RBPoint.X + dw, e->RBPoint.Y + dh}, cl, &b, pic, src, R.Width(), R.Height(), true, e->LeftStretch, e->TopStretch,
                    e->RightStretch, e->BottomStretch, e->StretchEffect, e->StretchType);
    if (FImages && FButtonImageIndex >= 0 && FButtonImageIndex < FImages->Count())
        FImages->Draw(b.Canvas(), R.Width() / 2 - FImages->Width() / 2, R.Height() / 2 - FImages->Height() / 2,
                      FButtonImageIndex, Enabled());
    C->Draw(R.Left, R.Top, &b);
}

void TbsSkinCustomEdit::DrawFrameImage(TBitmap* B, bool Hot, bool Plain) {
    const int w = Width(), h = Height();
    B->SetSize(w, h);
    TCanvas* c = B->Canvas();
    const bool imageOnButton = FImages && FButtonImageIndex >= 0 && FButtonImageIndex < FImages->Count();
    auto drawButtonImage = [&] {
        if (FButtonMode && imageOnButton)
            FImages->Draw(c, FButtonRect.Left + FButtonRect.Width() / 2 - FImages->Width() / 2,
                          FButtonRect.Top + FButtonRect.Height() / 2 - FImages->Height() / 2, FButtonImageIndex,
                          Enabled());
    };
    if (!HasEntry()) {
        const int a = FButtonMode ? w - FButtonRect.Left - (Plain ? 0 : 1) : 0;
        TRect r{0, 0, w - a, h};
        c->Brush()->SetColor(clBtnShadow);
        c->FrameRect(r);
        r.Inflate(-1, -1);
        c->Brush()->SetColor(Plain ? clBtnFace : Color());
        c->FrameRect(r);
        r.Inflate(-1, -1);
        c->Brush()->SetColor(FDefaultColor);
        c->FillRect(r);
        if (FButtonMode) {
            const bool hot = FButtonActive && !Plain;
            const bool down = hot && FButtonDown;
            c->Brush()->SetColor(hot ? static_cast<TColor>(RGB(59, 107, 183)) : clBtnShadow);
            c->FrameRect(FButtonRect);
            TRect in = FButtonRect;
            in.Inflate(-1, -1);
            c->Brush()->SetColor(down  ? static_cast<TColor>(RGB(162, 188, 228))
                                 : hot ? static_cast<TColor>(RGB(193, 212, 243))
                                       : clBtnFace);
            c->FillRect(in);
            drawButtonImage();
        }
        return;
    }
    const TRect state = Hot && !Plain ? ActiveSkinRect : SkinRect;
    if (!Picture || !RectInPicture(state, Picture))
        return;
    if (FUseSkinFont) {
        CreateHSkinImage(LOffset, ROffset, B, Picture, state, w, state.Height(), StretchEffect);
        if (B->Height() != h)
            B->SetSize(w, h);
        if (FButtonMode && !Plain) {
            TRect src{};
            if (!Enabled() && !UnEnabledButtonRect.IsEmpty())
                src = UnEnabledButtonRect;
            else if (FButtonDown && FButtonActive)
                src = DownButtonRect;
            else if (FButtonActive)
                src = ActiveButtonRect;
            if (!src.IsEmpty() && RectInPicture(src, Picture))
                BitBlt(c->Handle(), FButtonRect.Left, FButtonRect.Top, src.Width(), src.Height(),
                       Picture->Canvas()->Handle(), src.Left, src.Top, SRCCOPY);
        }
        drawButtonImage();
    } else {
        CreateStretchImage(B, Picture, state, ClRect, true);
        if (FButtonMode)
            DrawResizeButton(c, FButtonRect);
    }
}

void TbsSkinCustomEdit::PaintNC(HDC DC, bool ExcludeEdit) {
    GetSkinData();
    CalcRects();
    TBitmap b(Width(), Height());
    DrawFrameImage(&b, FMouseIn || Focused(), false);
    const int saved = SaveDC(DC);
    if (ExcludeEdit)
        ExcludeClipRect(DC, FEditRect.Left, FEditRect.Top, FEditRect.Right, FEditRect.Bottom);
    BitBlt(DC, 0, 0, Width(), Height(), b.Canvas()->Handle(), 0, 0, SRCCOPY);
    RestoreDC(DC, saved);
}

void TbsSkinCustomEdit::DrawEditBackground(HDC DC) {
    GetSkinData();
    CalcRects();
    int w = 0, h = 0;
    PaintSize(w, h);
    if (FEditRect.IsEmpty() || w <= 0 || h <= 0)
        return;
    DrawTextAreaBackground(DC, w, h, FMouseIn || Focused());
    DrawButtonImages(DC);
}

void TbsSkinCustomEdit::DrawTextAreaBackground(HDC DC, int W, int H, bool Hot) {
    if (!HasEntry()) {
        TBitmap b(W, H);
        b.Canvas()->Brush()->SetColor(FDefaultColor);
        b.Canvas()->FillRect({0, 0, W, H});
        BitBlt(DC, 0, 0, W, H, b.Canvas()->Handle(), 0, 0, SRCCOPY);
        return;
    }
    if (!Picture)
        return;
    const TRect state = Hot ? ActiveSkinRect : SkinRect;
    const TRect r{state.Left + ClRect.Left, state.Top + ClRect.Top, state.Left + ClRect.Right,
                  state.Top + ClRect.Bottom};
    if (!RectInPicture(r, Picture))
        return;
    TBitmap part;
    CreateHSkinImage(std::max(0, LOffset - ClRect.Left), std::max(0, ClRect.Right + ROffset - SkinRect.Width()), &part,
                     Picture, r, W, r.Height(), StretchEffect);
    if (FUseSkinFont)
        BitBlt(DC, 0, 0, part.Width(), part.Height(), part.Canvas()->Handle(), 0, 0, SRCCOPY);
    else
        StretchBlt(DC, 0, 0, W, H, part.Canvas()->Handle(), 0, 0, part.Width(), part.Height(), SRCCOPY);
}

void TbsSkinCustomEdit::DrawButtonImages(HDC DC) {
    if (!FImages)
        return;
    AdjustTextRect(false);
    const int n = FImages->Count();
    auto draw = [&](const TbsCBButtonX& btn, int normal, int hot, int down) {
        if (normal < 0 || normal >= n)
            return;
        int index = normal;
        if (btn.Down && btn.MouseIn && down >= 0 && down < n)
            index = down;
        else if (btn.MouseIn && hot >= 0 && hot < n)
            index = hot;
        const int y = std::max(btn.R.Top, btn.R.Top + btn.R.Height() / 2 - FImages->Height() / 2);
        FImages->Draw(DC, btn.R.Left, y, index, Enabled());
    };
    draw(FLeftButton, FLeftImageIndex, LeftImageHotIndex, LeftImageDownIndex);
    draw(FRightButton, FRightImageIndex, RightImageHotIndex, RightImageDownIndex);
}

void TbsSkinCustomEdit::SelectTextFont(TCanvas* C, bool Disabled) {
    if (HasEntry() && FUseSkinFont) {
        C->Font()->SetName(FontName);
        C->Font()->SetHeight(FontHeight);
        C->Font()->SetStyle(FontStyle);
        C->Font()->SetColor(Disabled ? DisabledFontColor : FontColor);
    } else {
        C->Font()->Assign(FDefaultFont.get());
        if (Disabled)
            C->Font()->SetColor(HasEntry() ? DisabledFontColor : clGrayText);
    }
    C->Font()->SetCharset(SkinFontCharset(FSD, FDefaultFont->Charset()));
}

bool TbsSkinCustomEdit::PaintOwnText(HDC DC) {
    if (Enabled())
        return false;
    TCanvas c;
    c.SetHandle(DC);
    SelectTextFont(&c, true);
    c.Brush()->SetStyle(bsClear);
    const std::wstring text = EditText();
    const TRect area{0, 0, FEditRect.Width(), FEditRect.Height()};
    const int tw = c.TextWidth(text);
    int x = area.Left + 2;
    if (FAlignment == taRightJustify)
        x = area.Right - tw - 1;
    else if (FAlignment == taCenter)
        x = area.Left + area.Width() / 2 - tw / 2;
    c.TextRect(area, x, 0, text);
    c.SetHandle(nullptr);
    return true;
}

void TbsSkinCustomEdit::PaintSkinTo(TCanvas* C, int X, int Y, const std::wstring& AText) {
    PaintLookTo(C, X, Y, AText, false);
}

void TbsSkinCustomEdit::PaintLookTo(TCanvas* C, int X, int Y, const std::wstring& AText, bool Hot) {
    GetSkinData();
    CalcRects();
    TBitmap b(Width(), Height());
    const bool savedActive = FButtonActive;
    FButtonActive = FButtonActive && Hot;
    DrawFrameImage(&b, Hot, !Hot);
    FButtonActive = savedActive;
    TCanvas* c = b.Canvas();
    if (HasEntry() && Picture && !FEditRect.IsEmpty()) {
        // The text area's background as the client paints it.
        HDC dc = c->Handle();
        const int saved = SaveDC(dc);
        SetViewportOrgEx(dc, FEditRect.Left, FEditRect.Top, nullptr);
        DrawTextAreaBackground(dc, FEditRect.Width(), FEditRect.Height(), Hot);
        RestoreDC(dc, saved);
    }
    SelectTextFont(c, !Enabled());
    if (Hot && Enabled() && HasEntry() && FUseSkinFont)
        c->Font()->SetColor(ActiveFontColor);
    c->Brush()->SetStyle(bsClear);
    TRect area = FEditRect;
    if (FImages) {
        if (FLeftImageIndex >= 0)
            area.Left += FImages->Width() + 2;
        if (FRightImageIndex >= 0)
            area.Right -= FImages->Width() + 2;
    }
    const int tw = c->TextWidth(AText);
    int x = area.Left + 2;
    if (FAlignment == taRightJustify)
        x = area.Right - tw;
    else if (FAlignment == taCenter)
        x = area.Left + area.Width() / 2 - tw / 2 + 1;
    c->TextRect(area, x, area.Top, AText);
    C->Draw(X, Y, &b);
}

void TbsSkinCustomEdit::ApplyFontColor() {
    if (!HasEntry())
        return;
    Font()->SetColor(Focused() || FMouseIn ? ActiveFontColor : FontColor);
}

bool TbsSkinCustomEdit::CheckActivation() const {
    return FButtonMode || FImages || (HasEntry() && (FOwnActiveRect || FontColor != ActiveFontColor));
}

void TbsSkinCustomEdit::MouseEnter() {
    FMouseIn = true;
    if (!Focused() && HasEntry()) {
        Font()->SetColor(ActiveFontColor);
        AdjustTextRect(false);
        InvalidateNC();
    }
    if (OnMouseEnter)
        OnMouseEnter(this);
    if (CheckActivation()) {
        if (!FHoverTimer) {
            FHoverTimer = ControlSeam().NewTimer();
            FHoverTimer->OnTick = [this] {
                if (HandleAllocated() && ControlSeam().WindowUnderCursor() == Handle())
                    return;
                FHoverTimer->Stop();
                MouseLeave();
            };
        }
        FHoverTimer->Start(100);
    }
}

void TbsSkinCustomEdit::MouseLeave() {
    FMouseIn = false;
    if (!Focused() && HasEntry()) {
        Font()->SetColor(FontColor);
        AdjustTextRect(false);
        InvalidateNC();
    }
    if (FButtonDown || FButtonActive) {
        FButtonDown = false;
        FButtonActive = false;
        InvalidateNC();
    }
    if (FLeftButton.MouseIn || FRightButton.MouseIn) {
        FLeftButton.MouseIn = false;
        FRightButton.MouseIn = false;
        DoPaint();
    }
    if (OnMouseLeave)
        OnMouseLeave(this);
}

void TbsSkinCustomEdit::ChangeSkinData() {
    GetSkinData();
    if (!HasEntry()) {
        Font()->Assign(FDefaultFont.get());
        if (FDefaultWidth > 0)
            TbsCustomEdit::SetBounds(Left(), Top(), FDefaultWidth, Height());
        if (FDefaultHeight > 0)
            SetBounds(Left(), Top(), Width(), FDefaultHeight);
    } else if (FUseSkinFont) {
        Font()->SetName(FontName);
        Font()->SetStyle(FontStyle);
        Font()->SetHeight(FontHeight);
        TbsCustomEdit::SetBounds(Left(), Top(), Width(), SkinRect.Height());
    } else {
        Font()->Assign(FDefaultFont.get());
    }
    Font()->SetCharset(SkinFontCharset(FSD, FDefaultFont->Charset()));
    // The window's style does not depend on the skin and the font reached it as it changed: only the skin's frame
    // is measured again. Making the window anew would lose caret, selection and undo, and cost a window per edit.
    if (HandleAllocated()) {
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        AdjustTextRect(true);
    }
    if (!HasEntry())
        Font()->SetColor(FDefaultFont->Color());
    else
        Font()->SetColor(Focused() ? ActiveFontColor : FontColor);
    if (!HasEntry() || !FUseSkinFont)
        TbsCustomEdit::SetBounds(Left(), Top(), Width(), CalcEditHeight());
    InvalidateNC();
    if (FImages) {
        AdjustTextRect(true);
        Invalidate();
    }
}

void TbsSkinCustomEdit::SetDefaultFont(TFont* Value) {
    FDefaultFont->Assign(Value);
    GetSkinData();
    if (!HasEntry()) {
        Font()->Assign(Value);
        SetBounds(Left(), Top(), Width(), Height());
    }
}

void TbsSkinCustomEdit::SetDefaultColor(TColor Value) {
    FDefaultColor = Value;
    GetSkinData();
    if (!HasEntry())
        Invalidate();
}

void TbsSkinCustomEdit::SetDefaultWidth(int Value) {
    FDefaultWidth = Value;
    GetSkinData();
    if (!HasEntry() && Value > 0)
        SetBounds(Left(), Top(), Value, Height());
}

void TbsSkinCustomEdit::SetDefaultHeight(int Value) {
    FDefaultHeight = Value;
    GetSkinData();
    if (!HasEntry() && Value > 0 && FUseSkinFont)
        SetBounds(Left(), Top(), Width(), Value);
    else
        SetBounds(Left(), Top(), Width(), CalcEditHeight());
}

void TbsSkinCustomEdit::SetButtonMode(bool Value) {
    FButtonMode = Value;
    if (HandleAllocated())
        RecreateWnd();
    CalcRects();
}

void TbsSkinCustomEdit::SetAlignment(TAlignment Value) {
    if (FAlignment == Value)
        return;
    FAlignment = Value;
    if (HandleAllocated())
        RecreateWnd();
}

void TbsSkinCustomEdit::SetImages(TCustomImageList* Value) {
    if (FImages == Value)
        return;
    if (FImages)
        FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (FImages)
        FImages->FreeNotification(this);
    AdjustTextRect(true);
    GetSkinData();
    if (!(HasEntry() && FUseSkinFont))
        SetBounds(Left(), Top(), Width(), CalcEditHeight());
    Invalidate();
}

void TbsSkinCustomEdit::SetLeftImageIndex(int Value) {
    FLeftImageIndex = Value;
    AdjustTextRect(true);
    Invalidate();
}

void TbsSkinCustomEdit::SetRightImageIndex(int Value) {
    FRightImageIndex = Value;
    AdjustTextRect(true);
    Invalidate();
}

void TbsSkinCustomEdit::SetButtonImageIndex(int Value) {
    if (FButtonImageIndex == Value)
        return;
    FButtonImageIndex = Value;
    InvalidateNC();
}

void TbsSkinCustomEdit::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case WM_NCCALCSIZE: {
            GetSkinData();
            RECT* r = Message.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(Message.LParam)->rgrc[0]
                                     : reinterpret_cast<RECT*>(Message.LParam);
            const TRect c = NCClientRect(Frame(), TRect{r->left, r->top, r->right, r->bottom}, FButtonMode);
            *r = RECT{c.Left, c.Top, std::max(c.Left, c.Right), std::max(c.Top, c.Bottom)};
            Message.Result = 0;
            return;
        }
        case WM_NCPAINT: {
            HDC dc = GetWindowDC(Handle());
            PaintNC(dc, true);
            ReleaseDC(Handle(), dc);
            DoPaint();
            Message.Result = 0;
            return;
        }
        case CM_SENCPAINT:
            if (!Message.WParam)
                break;
            PaintNC(reinterpret_cast<HDC>(Message.WParam), false);
            Message.Result = kSENCPaintResult;
            return;
        case CM_BENCPAINT:
            if (Message.LParam != kBENCPaintKey)
                break;
            PaintNC(reinterpret_cast<HDC>(Message.WParam), true);
            Message.Result = kBENCPaintKey;
            return;
        case WM_NCHITTEST: {
            if (!FMouseIn)
                MouseEnter();
            POINT p{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
            ::ScreenToClient(Handle(), &p);
            if (FImages) {
                AdjustTextRect(false);
                const TPoint pt{p.x, p.y};
                const bool inLeft = FLeftImageIndex >= 0 && FLeftButton.R.Contains(pt);
                const bool inRight = FRightImageIndex >= 0 && FRightButton.R.Contains(pt);
                if (inLeft != FLeftButton.MouseIn || inRight != FRightButton.MouseIn) {
                    FLeftButton.MouseIn = inLeft;
                    FRightButton.MouseIn = inRight;
                    Invalidate();
                }
                if (inLeft || inRight) {
                    Message.Result = inLeft ? kHitLeftImage : kHitRightImage;
                    return;
                }
            }
            if (FButtonMode) {
                GetSkinData();
                CalcRects();
                const TPoint w = HasEntry() ? TPoint{p.x + ClRect.Left, p.y + ClRect.Top} : TPoint{p.x + 2, p.y + 2};
                if (FButtonRect.Contains(w)) {
                    Message.Result = HTHSCROLL;
                    return;
                }
                if (!FEditRect.Contains(w)) {
                    Message.Result = HTVSCROLL;
                    return;
                }
            }
            break;
        }
        case WM_NCLBUTTONDOWN:
        case WM_NCLBUTTONDBLCLK:
            if (Message.WParam == kHitLeftImage || Message.WParam == kHitRightImage) {
                (Message.WParam == kHitLeftImage ? FLeftButton : FRightButton).Down = true;
                if (!Focused())
                    SetFocus();
                Invalidate();
                return;
            }
            if (Message.WParam == HTHSCROLL) {
                FButtonDown = true;
                InvalidateNC();
                return;
            }
            // The frame around the text answers as a scroll bar; it has none to track.
            if (Message.WParam == HTVSCROLL)
                return;
            break;
        case WM_NCLBUTTONUP:
            if (Message.WParam == kHitLeftImage || Message.WParam == kHitRightImage) {
                const bool left = Message.WParam == kHitLeftImage;
                TbsCBButtonX& b = left ? FLeftButton : FRightButton;
                if (b.Down) {
                    b.Down = false;
                    Invalidate();
                    const TNotifyEvent& ev = left ? OnLeftButtonClick : OnRightButtonClick;
                    if (ev)
                        ev(this);
                }
                return;
            }
            if (Message.WParam == HTHSCROLL) {
                FButtonDown = false;
                InvalidateNC();
                if (!Focused())
                    SetFocus();
                if (OnButtonClick)
                    OnButtonClick(this);
                return;
            }
            if (Message.WParam == HTVSCROLL)
                return;
            break;
        case WM_NCMOUSEMOVE:
            if (FButtonMode) {
                const bool active = Message.WParam == HTHSCROLL;
                if (active != FButtonActive) {
                    FButtonActive = active;
                    InvalidateNC();
                    Invalidate();
                }
                if (active)
                    return;
            }
            break;
        case WM_MOUSEMOVE:
            if (FButtonActive) {
                FButtonActive = false;
                InvalidateNC();
            }
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            TbsCustomEdit::WndProc(Message);
            GetSkinData();
            InvalidateNC();
            if (!FMouseIn)
                ApplyFontColor();
            if (FImages)
                AdjustTextRect(true);
            Invalidate();
            return;
        case WM_SIZE:
            TbsCustomEdit::WndProc(Message);
            AdjustTextRect(true);
            InvalidateNC();
            return;
        case WM_DESTROY:
            if (FHoverTimer)
                FHoverTimer->Stop();
            FMouseIn = false;
            break;
        case CM_ENABLEDCHANGED:
            TbsCustomEdit::WndProc(Message);
            Invalidate();
            InvalidateNC();
            return;
        case CM_FONTCHANGED:
            TbsCustomEdit::WndProc(Message);
            GetSkinData();
            if (!FUseSkinFont && !ComponentState().Contains(csLoading))
                TbsCustomEdit::SetBounds(Left(), Top(), Width(), CalcEditHeight());
            return;
        default:
            break;
    }
    TbsCustomEdit::WndProc(Message);
}
