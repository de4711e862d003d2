#include "skin/boxes/SkinListBox.h"

#include <algorithm>

#include "base/Report.h"
#include "skin/boxes/ListBoxGeometry.h"
#include "skin/boxes/SkinEdit.h"
#include "skin/controls/ControlSkinning.h"
#include "skin/core/GlyphPainters.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinText.h"

namespace {

// Copies B to DC with B's top-left at (X, Y).
void BlitTo(HDC DC, int X, int Y, TBitmap* B) {
    BitBlt(DC, X, Y, B->Width(), B->Height(), B->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void FillWith(TCanvas* C, const TRect& R, TColor Color) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color);
    C->FillRect(R);
}

void FrameWith(TCanvas* C, const TRect& R, TColor Color) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color);
    C->FrameRect(R);
}

TRect OrEmpty(const TRect& R, const TRect& Fallback) {
    return R.IsEmpty() ? Fallback : R;
}

}  // namespace

// ---- TbsListBox -----------------------------------------------------------------------------------------------------
TbsListBox::TbsListBox(TComponent* AOwner) : TListBox(AOwner) {
    SetControlStyle({csCaptureMouse, csOpaque, csDoubleClicks});
    SetStyle(lbOwnerDrawFixed);
}

void TbsListBox::CreateParams(TCreateParams& Params) {
    TListBox::CreateParams(Params);
    Params.Style &= ~static_cast<DWORD>(WS_BORDER);
    Params.Style |= WS_TABSTOP | LBS_HASSTRINGS | LBS_NOTIFY;
    Params.ExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
    Params.WindowClass.style = CS_DBLCLKS;
}

void TbsListBox::CreateWnd() {
    TListBox::CreateWnd();
    if (SkinListBox) {
        SkinListBox->ListBoxCreateWnd();
        SkinListBox->UpDateScrollBar();
    }
}

void TbsListBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    const int oldWidth = Width();
    TListBox::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FHorizontalExtentValue >= 1 && oldWidth != AWidth) {
        FHorizontalExtentValue = std::max(0, FHorizontalExtentValue + oldWidth - AWidth);
        Invalidate();
    }
}

TOwnerDrawState TbsListBox::GetState(int Index) {
    TOwnerDrawState s;
    if (Index < 0 || Index >= Count())
        return s;
    if (Index == ItemIndex()) {
        s.Include(odSelected);
        if (Focused())
            s.Include(odFocused);
    } else if (SelCount() >= 1 && MultiSelect() && Selected(Index)) {
        s.Include(odSelected);
    }
    return s;
}

void TbsListBox::Click() {
    if (SkinListBox)
        SkinListBox->ListBoxClick();
    TListBox::Click();
}

void TbsListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (SkinListBox)
        SkinListBox->ListBoxMouseDown(Button, Shift, X, Y);
    TListBox::MouseDown(Button, Shift, X, Y);
}

void TbsListBox::MouseMove(TShiftState Shift, int X, int Y) {
    if (SkinListBox)
        SkinListBox->ListBoxMouseMove(Shift, X, Y);
    TListBox::MouseMove(Shift, X, Y);
}

void TbsListBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (SkinListBox)
        SkinListBox->ListBoxMouseUp(Button, Shift, X, Y);
    TListBox::MouseUp(Button, Shift, X, Y);
}

void TbsListBox::KeyDown(WORD& Key, TShiftState Shift) {
    if (SkinListBox) {
        SkinListBox->ListBoxKeyDown(Key, Shift);
        TbsSkinScrollBar* hb = SkinListBox->HScrollBar;
        if ((Key == VK_LEFT || Key == VK_RIGHT) && hb) {
            const int step = hb->SmallChange();
            hb->SetPosition(hb->Position() + (Key == VK_LEFT ? -step : step));
            Key = 0;
        }
    }
    TListBox::KeyDown(Key, Shift);
}

void TbsListBox::KeyUp(WORD& Key, TShiftState Shift) {
    // Key-up reaches the frame like the other keys.
    if (SkinListBox)
        SkinListBox->ListBoxKeyUp(Key, Shift);
    TListBox::KeyUp(Key, Shift);
}

void TbsListBox::KeyPress(wchar_t& Key) {
    if (SkinListBox)
        SkinListBox->ListBoxKeyPress(Key);
    TListBox::KeyPress(Key);
}

void TbsListBox::DoEnter() {
    if (SkinListBox)
        SkinListBox->ListBoxEnter();
    TListBox::DoEnter();
}

void TbsListBox::DoExit() {
    if (SkinListBox)
        SkinListBox->ListBoxExit();
    TListBox::DoExit();
}

void TbsListBox::WheelStep(int Delta) {
    if (!SkinListBox)
        return;
    if (SkinListBox->ScrollBar) {
        SendMessageW(Handle(), WM_VSCROLL, Delta > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
        SkinListBox->UpDateScrollBar();
    } else if (TbsSkinScrollBar* hb = SkinListBox->HScrollBar) {
        hb->SetPosition(hb->Position() + (Delta > 0 ? -hb->SmallChange() : hb->SmallChange()));
    }
}

void TbsListBox::WndProc(TMessage& Message) {
    if (SkinListBox) {
        bool go = true;
        SkinListBox->ListBoxWProc(Message, go);
        if (!go)
            return;
    }
    switch (Message.Msg) {
        case WM_NCCALCSIZE:
            // No non-client area: the list's own scroll bars keep their values but never show.
            Message.Result = 0;
            return;
        case WM_NCPAINT:
            return;
        case WM_NCHITTEST:
            Message.Result = HTCLIENT;
            return;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(Handle(), &ps);
            PaintWindow(dc);
            EndPaint(Handle(), &ps);
            Message.Result = 0;
            return;
        }
        case WM_ERASEBKGND:
            Message.Result = 1;
            if (Width() > 0 && Height() > 0) {
                PaintClipBG(reinterpret_cast<HDC>(Message.WParam));
                if (SkinListBox)
                    SkinListBox->UpDateScrollBar();
            }
            return;
        case CN_DRAWITEM: {
            auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
            const TRect r{dis->rcItem.left, dis->rcItem.top, dis->rcItem.right, dis->rcItem.bottom};
            TCanvas c;
            c.SetHandle(dis->hDC);
            try {
                DrawItemAt(&c, static_cast<int>(dis->itemID), r, OwnerDrawStateOf(dis->itemState));
            } catch (...) {
                ReportCaught("TbsListBox: item painting");
            }
            c.SetHandle(nullptr);
            Message.Result = TRUE;
            return;
        }
        case CM_SENCPAINT:
            Message.Result = kSENCPaintResult;
            return;
        case CM_BENCPAINT:
            if (Message.LParam == kBENCPaintKey && Count() == 0) {
                if (Message.WParam) {
                    TCanvas c;
                    c.SetHandle(reinterpret_cast<HDC>(Message.WParam));
                    PaintBGWH(&c, 0, 0, Width(), Height());
                    c.SetHandle(nullptr);
                }
                Message.Result = kBENCPaintKey;
            }
            return;
        case WM_MOUSEWHEEL:
            // One line per wheel step through the frame's bar; the list's own wheel step would scroll again.
            WheelStep(static_cast<short>(HIWORD(Message.WParam)));
            Message.Result = 0;
            return;
        case CM_ENTER:
        case CM_EXIT:
            TListBox::WndProc(Message);
            Invalidate();
            return;
        case LB_ADDSTRING:
        case LB_INSERTSTRING:
        case LB_DELETESTRING:
            TListBox::WndProc(Message);
            if (SkinListBox)
                SkinListBox->UpDateScrollBar();
            return;
        case WM_LBUTTONDBLCLK:
            TListBox::WndProc(Message);
            if (SkinListBox)
                SkinListBox->ListBoxDblClick();
            return;
        default:
            break;
    }
    TListBox::WndProc(Message);
}

void TbsListBox::PaintWindow(HDC DC) {
    if (Width() <= 0 || Height() <= 0)
        return;
    const int saved = SaveDC(DC);
    TCanvas c;
    c.SetHandle(DC);
    try {
        PaintList(&c);
    } catch (...) {
        ReportCaught("TbsListBox: list painting");
    }
    c.SetHandle(nullptr);
    RestoreDC(DC, saved);
}

void TbsListBox::PaintList(TCanvas* C) {
    const int count = Count();
    const int ih = ItemHeight();
    int bottom = 0;
    if (count > 0) {
        const int top = TopIndex();
        const int last = LastVisibleItem(top, Height(), ih, count, SkinListBox ? SkinListBox->Columns() : 0);
        for (int i = top; i <= last; ++i) {
            const TRect r = ItemRect(i);
            if (r.IsEmpty())
                continue;
            DrawItemAt(C, i, r, GetState(i));
            bottom = std::max(bottom, r.Bottom);
        }
    }
    if (bottom < Height())
        PaintBGWH(C, 0, bottom, Width(), Height() - bottom);
}

void TbsListBox::PaintClipBG(HDC DC) {
    const int count = Count();
    const int ih = std::max(1, ItemHeight());
    const int columns = SkinListBox ? SkinListBox->Columns() : 0;
    TCanvas c;
    c.SetHandle(DC);
    if (columns > 0) {
        PaintBGWH(&c, 0, 0, Width(), Height());
    } else {
        int rows = 0;
        if (count > 0) {
            const int top = TopIndex();
            rows = LastVisibleItem(top, Height(), ih, count, 0) - top + 1;
        }
        const int y = rows * ih;
        if (y < Height()) {
            TCanvasClipGuard clip(&c);
            c.ClipTo({0, y, Width(), Height()});
            PaintBGWH(&c, 0, y, Width(), Height() - y);
        }
    }
    c.SetHandle(nullptr);
}

void TbsListBox::PaintBGWH(TCanvas* C, int X, int Y, int W, int H) {
    if (W <= 0 || H <= 0)
        return;
    TbsSkinCustomListBox* f = SkinListBox;
    if (f)
        f->GetSkinData();
    if (!f || !f->HasSkin()) {
        FillWith(C, {X, Y, X + W, Y + H}, clWindow);
        return;
    }
    const TRect& sr = f->G.SkinRect;
    const TRect& cl = f->G.ClRect;
    const TRect tile{sr.Left + cl.Left, sr.Top + cl.Top, sr.Left + cl.Right, sr.Top + cl.Bottom};
    // An empty client part (or one outside the picture) leaves the background undrawn.
    if (tile.IsEmpty() || !RectInPicture(tile, f->Picture))
        return;
    TBitmap b(W, H);
    for (int y = 0; y < H; y += tile.Height())
        for (int x = 0; x < W; x += tile.Width())
            b.Canvas()->CopyRect({x, y, x + tile.Width(), y + tile.Height()}, f->Picture->Canvas(), tile);
    C->Draw(X, Y, &b);
}

void TbsListBox::DrawItemAt(TCanvas* C, int Index, const TRect& R, TOwnerDrawState State) {
    if (Index < 0 || Index >= Count() || R.IsEmpty())
        return;
    TbsSkinCustomListBox* f = SkinListBox;
    if (f)
        f->GetSkinData();
    if (!f || !f->HasSkin())
        DrawDefaultItem(C, Index, R, State);
    else if (f->UseSkinItemHeight())
        DrawSkinItem(C, Index, R, State);
    else
        DrawStretchSkinItem(C, Index, R, State);
}

void TbsListBox::DrawDefaultItem(TCanvas* C, int Index, const TRect& R, TOwnerDrawState State) {
    TBitmap b(R.Width(), R.Height());
    TCanvas* bc = b.Canvas();
    TFont* src = SkinListBox ? SkinListBox->Font() : Font();
    bc->Font()->SetName(src->Name());
    bc->Font()->SetStyle(src->Style());
    bc->Font()->SetHeight(src->Height());
    if (SkinListBox)
        bc->Font()->SetCharset(SkinFontCharset(SkinListBox->FSD, SkinListBox->DefaultFont()->Charset()));
    const bool sel = State.Contains(odSelected);
    FillWith(bc, {0, 0, b.Width(), b.Height()}, sel ? clHighlight : clWindow);
    bc->Font()->SetColor(sel ? clHighlightText : src->Color());
    const TRect text{2, 0, b.Width() - 2, b.Height()};
    DrawContent(bc, Index, text, b.Width(), b.Height(), State);
    if (State.Contains(odFocused))
        bc->DrawFocusRect({0, 0, b.Width(), b.Height()});
    BlitTo(C->Handle(), R.Left, R.Top, &b);
}

void TbsListBox::DrawSkinItem(TCanvas* C, int Index, const TRect& R, TOwnerDrawState State) {
    TbsSkinCustomListBox* f = SkinListBox;
    TBitmap* pic = f->Picture;
    const int h = f->SItemRect.Height();
    if (!pic || h <= 0)
        return;
    const int w = R.Width();
    TBitmap b(w, h);
    const bool focused = State.Contains(odFocused), sel = State.Contains(odSelected);
    TRect src = f->SItemRect;
    bool stretch = f->G.StretchEffect;
    TColor colour = f->FontColor;
    if (focused && sel) {
        src = f->FocusItemRect;
        colour = f->FocusFontColor;
    } else if (sel) {
        src = f->ActiveItemRect;
        colour = f->ActiveFontColor;
    } else if (!focused) {
        stretch = false;
    }
    if (RectInPicture(src, pic))
        CreateHSkinImage(f->ItemLeftOffset, f->ItemRightOffset, &b, pic, src, w, h, stretch);
    if (focused && !sel)
        DrawSkinFocusRect(b.Canvas(), {0, 0, w, h});
    TRect text = f->ItemTextRect;
    text.Right += w - f->SItemRect.Width();
    f->SkinItemFont(b.Canvas()->Font());
    b.Canvas()->Font()->SetColor(colour);
    DrawContent(b.Canvas(), Index, text, w, h, State);
    BlitTo(C->Handle(), R.Left, R.Top, &b);
}

void TbsListBox::DrawStretchSkinItem(TCanvas* C, int Index, const TRect& R, TOwnerDrawState State) {
    TbsSkinCustomListBox* f = SkinListBox;
    TBitmap* pic = f->Picture;
    if (!pic)
        return;
    const int w = R.Width(), h = R.Height();
    TBitmap b(w, h);
    TRect src = f->SItemRect;
    TColor colour = f->FontColor;
    if (State.Contains(odFocused)) {
        src = f->FocusItemRect;
        colour = f->FocusFontColor;
    } else if (State.Contains(odSelected)) {
        src = f->ActiveItemRect;
        colour = f->ActiveFontColor;
    }
    if (RectInPicture(src, pic)) {
        TRect cl = f->ItemTextRect;
        cl.Inflate(-1, -1);
        CreateStretchImage(&b, pic, src, cl, true);
    }
    TRect text = f->ItemTextRect;
    text.Right += w - f->SItemRect.Width();
    text.Bottom += h - f->SItemRect.Height();
    f->SkinItemFont(b.Canvas()->Font());
    b.Canvas()->Font()->SetColor(colour);
    DrawContent(b.Canvas(), Index, text, w, f->SItemRect.Height(), State);
    BlitTo(C->Handle(), R.Left, R.Top, &b);
}

void TbsListBox::DrawContent(TCanvas* C, int Index, const TRect& TextRect, int W, int H, TOwnerDrawState State) {
    TbsSkinCustomListBox* f = SkinListBox;
    if (f && f->OnDrawItem) {
        f->OnDrawItem(C, Index, W, H, TextRect, State);
        return;
    }
    if (f && f->HasSkin() && State.Contains(odFocused) && f->ShowFocus)
        DrawSkinFocusRect(C, {0, 0, W, H});
    int offset = 0;
    if (f && f->Images()) {
        TCustomImageList* il = f->Images();
        const int index = f->ImageIndex() >= 0 ? f->ImageIndex() : Index;
        if (index >= 0 && index < il->Count()) {
            il->Draw(C, TextRect.Left - FHorizontalExtentValue,
                     TextRect.Top + (TextRect.Height() - il->Height()) / 2, index);
            offset = il->Width() + 2;
        }
    }
    const std::wstring s = Items()->Get(Index);
    C->Brush()->SetStyle(bsClear);
    TStrings* tabs = f ? f->TabWidths() : nullptr;
    if (tabs && tabs->Count() > 0 && f->Columns() == 0) {
        const int n = std::min(tabs->Count(), 10);
        int stops[10] = {};
        for (int i = 0; i < n; ++i)
            stops[i] = TabStopOf(tabs->Get(i));
        // Tabbed text scrolls with the horizontal offset like the images.
        const int x = TextRect.Left + offset + 2 - FHorizontalExtentValue;
        int y = TextRect.Top + (TextRect.Height() - C->TextHeight(s)) / 2;
        if (C->Font()->Height() % 2 != 0)
            --y;
        TCanvasClipGuard clip(C);
        C->ClipTo(TextRect);
        TabbedTextOutW(C->Handle(), x, y, s.c_str(), static_cast<int>(s.size()), n, stops, x);
    } else {
        BSDrawText3(C, s, TextRect, offset - FHorizontalExtentValue);
    }
}

// ---- TbsSkinCustomListBox -------------------------------------------------------------------------------------------
TbsSkinCustomListBox::TbsSkinCustomListBox(TComponent* AOwner)
    : TbsSkinCustomControl(AOwner),
      FTabWidths(std::make_unique<TStringList>()),
      FGlyph(std::make_unique<TBitmap>()),
      FDefaultCaptionFont(std::make_unique<TFont>()) {
    SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks, csReplicatable});
    FDefaultCaptionFont->SetName(L"Tahoma");
    FDefaultCaptionFont->SetHeight(13);
    FDefaultCaptionFont->OnChange = [this](TObject*) {
        if (FIndex == -1 && FCaptionMode)
            Invalidate();
    };
    Font()->SetName(L"Tahoma");
    Font()->SetHeight(13);
    Font()->SetColor(clWindowText);
    Font()->SetStyle({});
    FSkinDataName = L"listbox";
    FForceBackground = true;
    FDrawbackground = false;
    TbsSkinCustomControl::SetBounds(Left(), Top(), 120, 120);
    ListBox = new TbsListBox(this);
    ListBox->SkinListBox = this;
    ListBox->SetItemHeight(FDefaultItemHeight);
    ListBox->SetParent(this);
    CalcRects();
}

// The inner list and the bars are owned components: the tear-down frees them (Notification clears the fields).
TbsSkinCustomListBox::~TbsSkinCustomListBox() = default;

void TbsSkinCustomListBox::BeforeDestruction() {
    FTimer.reset();
    if (ListBox)
        ListBox->SkinListBox = nullptr;
    TbsSkinCustomControl::BeforeDestruction();
}

void TbsSkinCustomListBox::CreateParams(TCreateParams& Params) {
    TbsSkinCustomControl::CreateParams(Params);
    Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TbsSkinCustomListBox::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FImages)
        FImages = nullptr;
    if (AComponent == ListBox)
        ListBox = nullptr;
    if (AComponent == ScrollBar)
        ScrollBar = nullptr;
    if (AComponent == HScrollBar)
        HScrollBar = nullptr;
}

void TbsSkinCustomListBox::GetSkinData() {
    TbsSkinCustomControl::GetSkinData();
    auto* e = FIndex != -1 ? dynamic_cast<TbsDataSkinListBox*>(Entry()) : nullptr;
    if (!e)
        return;
    FontName = e->FontName;
    FontStyle = ToFontStyles(e->FontStyle);
    FontHeight = e->FontHeight;
    SItemRect = e->SItemRect;
    ActiveItemRect = OrEmpty(e->ActiveItemRect, SItemRect);
    FocusItemRect = OrEmpty(e->FocusItemRect, SItemRect);
    ItemLeftOffset = e->ItemLeftOffset;
    ItemRightOffset = e->ItemRightOffset;
    ItemTextRect = e->ItemTextRect;
    FontColor = static_cast<TColor>(e->FontColor);
    ActiveFontColor = static_cast<TColor>(e->ActiveFontColor);
    FocusFontColor = static_cast<TColor>(e->FocusFontColor);
    CaptionRect = e->CaptionRect;
    CaptionFontName = e->CaptionFontName;
    CaptionFontStyle = ToFontStyles(e->CaptionFontStyle);
    CaptionFontHeight = e->CaptionFontHeight;
    CaptionFontColor = static_cast<TColor>(e->CaptionFontColor);
    UpButtonRect = e->UpButtonRect;
    ActiveUpButtonRect = e->ActiveUpButtonRect;
    DownUpButtonRect = OrEmpty(e->DownUpButtonRect, ActiveUpButtonRect);
    DownButtonRect = e->DownButtonRect;
    ActiveDownButtonRect = e->ActiveDownButtonRect;
    DownDownButtonRect = OrEmpty(e->DownDownButtonRect, ActiveDownButtonRect);
    CheckButtonRect = e->CheckButtonRect;
    ActiveCheckButtonRect = e->ActiveCheckButtonRect;
    DownCheckButtonRect = OrEmpty(e->DownCheckButtonRect, ActiveCheckButtonRect);
    HScrollBarName = e->HScrollBarName;
    VScrollBarName = e->VScrollBarName;
    BothScrollBarName = e->BothScrollBarName;
    ShowFocus = e->ShowFocus;
    DisabledButtonsRect = e->DisabledButtonsRect;
    ButtonsArea = e->ButtonsArea;
}

void TbsSkinCustomListBox::SkinItemFont(TFont* F) {
    if (FUseSkinFont && HasSkin()) {
        F->SetName(FontName);
        F->SetStyle(FontStyle);
        F->SetHeight(FontHeight);
    } else {
        F->Assign(DefaultFont());
    }
    F->SetCharset(SkinFontCharset(FSD, DefaultFont()->Charset()));
}

void TbsSkinCustomListBox::CalcRects() {
    if (!ListBox)
        return;
    GetSkinData();
    TbsListLayoutInput in;
    in.Width = Width();
    in.Height = Height();
    in.HasEntry = HasSkin();
    if (in.HasEntry) {
        NewClRect = G.ClRect;
        NewClRect.Right += Width() - G.SkinRect.Width();
        NewClRect.Bottom += Height() - G.SkinRect.Height();
        in.NewClRect = NewClRect;
    }
    in.CaptionMode = FCaptionMode;
    in.DefaultCaptionHeight = FDefaultCaptionHeight;
    in.Columns = FColumns;
    in.HBar = HScrollBar && HScrollBar->Visible();
    in.HBarHeight = HScrollBar ? HScrollBar->Height() : 0;
    in.VBar = ScrollBar != nullptr;
    in.VBarWidth = ScrollBar ? ScrollBar->Width() : 0;
    in.VBarHeight = ScrollBar ? ScrollBar->Height() : 0;
    const TbsListLayout l = CalcListLayout(in);
    if (in.HBar)
        HScrollBar->SetBounds(l.HBar.Left, l.HBar.Top, l.HBar.Width(), l.HBar.Height());
    if (ScrollBar)
        ScrollBar->SetBounds(l.VBar.Left, l.VBar.Top, l.VBar.Width(), l.VBar.Height());
    ListRect = l.ListRect;
    ListBox->SetBounds(ListRect.Left, ListRect.Top, ListRect.Width(), ListRect.Height());
}

int TbsSkinCustomListBox::CalcHeight(int AItemsCount) {
    GetSkinData();
    return ListFrameHeight(AItemsCount, ListBox->ItemHeight(), HasSkin(), G.SkinRect.Height(), G.ClRect.Height(),
                           FCaptionMode, FDefaultCaptionHeight, HScrollBar ? HScrollBar->Height() : 0);
}

int TbsSkinCustomListBox::GetFullItemWidth(int Index, TCanvas* ACanvas) {
    return ACanvas->TextWidth(Items()->Get(Index));
}

void TbsSkinCustomListBox::UpDateScrollBar() {
    if (!ListBox || !ListBox->HandleAllocated())
        return;
    HWND lb = ListBox->Handle();
    if (FColumns < 1) {
        if (!FHorizontalExtent || FStopUpDateHScrollBar) {
            if (HScrollBar && HScrollBar->Visible())
                HideHScrollBar();
        } else {
            TBitmap measure(1, 1);
            TCanvas* c = measure.Canvas();
            GetSkinData();
            if (HasSkin() && FUseSkinFont)
                SkinItemFont(c->Font());
            else
                c->Font()->Assign(ListBox->Font());
            int widest = 0;
            for (int i = 0; i < ListBox->Count(); ++i)
                widest = std::max(widest, GetFullItemWidth(i, c));
            int page = HasSkin() ? ListBox->Width() - (SItemRect.Width() - ItemTextRect.Width()) : ListBox->Width() - 4;
            if (FImages)
                page -= FImages->Width() + 4;
            if (page < widest) {
                if (!HScrollBar)
                    ShowHScrollBar();
                const int step = c->TextWidth(L"0");
                HScrollBar->SetRange(0, widest, page, HScrollBar->Position());
                HScrollBar->SetSmallChange(step);
                HScrollBar->SetLargeChange(step);
            } else if (HScrollBar && HScrollBar->Visible()) {
                HideHScrollBar();
            }
        }
        const int count = ListBox->Count();
        if (FRowCount < 1 || FRowCount != count) {
            SCROLLINFO si{};
            si.cbSize = sizeof(si);
            si.fMask = SIF_RANGE | SIF_POS;
            GetScrollInfo(lb, SB_VERT, &si);
            const int ih = std::max(1, ListBox->ItemHeight());
            const int page = ListBox->Height() / ih;
            if (si.nMin < si.nMax && si.nMax >= si.nPos && page < count) {
                if (!ScrollBar)
                    ShowScrollBar();
                // The list may have moved its top for the new size: read the position again.
                GetScrollInfo(lb, SB_VERT, &si);
                ScrollBar->SetRange(si.nMin, si.nMax, page, si.nPos);
                ScrollBar->SetLargeChange(std::max(1, page));
                return;
            }
        }
        if (ScrollBar)
            HideScrollBar();
        return;
    }
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_POS;
    GetScrollInfo(lb, SB_HORZ, &si);
    const int ih = std::max(1, ListBox->ItemHeight());
    if (si.nMin < si.nMax && si.nMax >= si.nPos && si.nMax >= FColumns &&
        (ListBox->Height() / ih) * FColumns < ListBox->Count()) {
        if (!ScrollBar)
            ShowScrollBar();
        ScrollBar->SetRange(si.nMin, si.nMax, FColumns, si.nPos);
    } else if (ScrollBar) {
        HideScrollBar();
    }
}

void TbsSkinCustomListBox::BindBarSkins() {
    const bool skin = HasSkin();
    if (ScrollBar) {
        ScrollBar->SetSkinDataName(skin ? (FColumns > 0 ? HScrollBarName : VScrollBarName) : L"");
        ScrollBar->SetSkinData(FSD);
    }
    if (HScrollBar) {
        if (ScrollBar) {
            HScrollBar->SetBothFlag(true);
            if (skin) {
                HScrollBar->SetSkinDataName(BothScrollBarName);
                HScrollBar->SetBothSkinDataName(BothScrollBarName);
            } else {
                HScrollBar->SetSkinDataName(L"");
                HScrollBar->SetBothMarkerWidth(19);
            }
        } else {
            HScrollBar->SetBothFlag(false);
            HScrollBar->SetSkinDataName(skin ? HScrollBarName : L"");
            if (skin)
                HScrollBar->SetBothSkinDataName(BothScrollBarName);
        }
        HScrollBar->SetSkinData(FSD);
    }
}

void TbsSkinCustomListBox::ShowScrollBar() {
    ScrollBar = new TbsSkinScrollBar(this);
    ScrollBar->Hide();
    ScrollBar->SetKind(FColumns <= 0 ? sbVertical : sbHorizontal);
    ScrollBar->SetBounds(0, 0, 20, 100);
    ScrollBar->SetRange(0, ScrollBar->Max(), 0, 0);
    ScrollBar->OnChange = [this](TObject*) { SBChange(); };
    GetSkinData();
    BindBarSkins();
    CalcRects();
    ScrollBar->SetParent(this);
    ScrollBar->Show();
    Invalidate();
}

void TbsSkinCustomListBox::ShowHScrollBar() {
    HScrollBar = new TbsSkinScrollBar(this);
    HScrollBar->Hide();
    HScrollBar->SetKind(sbHorizontal);
    HScrollBar->SetBounds(0, 0, 100, 20);
    HScrollBar->SetRange(0, HScrollBar->Max(), 0, 0);
    HScrollBar->OnChange = [this](TObject*) { HSBChange(); };
    GetSkinData();
    BindBarSkins();
    HScrollBar->SetParent(this);
    HScrollBar->Show();
    CalcRects();
    Invalidate();
}

void TbsSkinCustomListBox::HideScrollBar() {
    if (!ScrollBar)
        return;
    TbsSkinScrollBar* bar = ScrollBar;
    ScrollBar = nullptr;
    bar->Hide();
    delete bar;
    if (HScrollBar)
        BindBarSkins();
    CalcRects();
}

void TbsSkinCustomListBox::HideHScrollBar() {
    if (!HScrollBar)
        return;
    TbsSkinScrollBar* bar = HScrollBar;
    HScrollBar = nullptr;
    bar->Hide();
    delete bar;
    ListBox->FHorizontalExtentValue = 0;
    ListBox->Invalidate();
    CalcRects();
}

void TbsSkinCustomListBox::SBChange() {
    if (!ScrollBar || !ListBox->HandleAllocated())
        return;
    const WPARAM w = MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(ScrollBar->Position()));
    SendMessageW(ListBox->Handle(), FColumns <= 0 ? WM_VSCROLL : WM_HSCROLL, w, 0);
}

void TbsSkinCustomListBox::HSBChange() {
    if (!HScrollBar)
        return;
    ListBox->FHorizontalExtentValue = HScrollBar->Position();
    ListBox->Invalidate();
}

void TbsSkinCustomListBox::ChangeSkinData() {
    FStopUpDateHScrollBar = true;
    TbsSkinCustomControl::ChangeSkinData();
    GetSkinData();
    if (!HasSkin()) {
        if (ListBox->ItemHeight() != FDefaultItemHeight)
            ListBox->SetItemHeight(FDefaultItemHeight);
        Font()->Assign(DefaultFont());
    } else if (FUseSkinItemHeight && SItemRect.Height() > 0 && ListBox->ItemHeight() != SItemRect.Height()) {
        ListBox->SetItemHeight(SItemRect.Height());
    }
    BindBarSkins();
    if (FRowCount != 0)
        SetHeight(CalcHeight(FRowCount));
    CalcRects();
    FStopUpDateHScrollBar = false;
    UpDateScrollBar();
    ListBox->Invalidate();
}

void TbsSkinCustomListBox::DefaultFontChange() {
    if (FIndex == -1)
        Font()->Assign(DefaultFont());
}

void TbsSkinCustomListBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    const bool sized = AWidth != Width() || AHeight != Height();
    TbsSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    // The frame's WM_SIZE arrives before the control takes its new bounds (and not at all without a window): the
    // inner list and the bars take their places in the new frame here.
    if (sized) {
        CalcRects();
        UpDateScrollBar();
    }
    if (FIndex == -1)
        Invalidate();
}

void TbsSkinCustomListBox::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case LB_GETCOUNT:
        case LB_GETCURSEL:
            Message.Result = ListBox->HandleAllocated() ? SendMessageW(ListBox->Handle(), Message.Msg, 0, 0)
                             : Message.Msg == LB_GETCOUNT ? ListBox->Count()
                                                          : ListBox->ItemIndex();
            return;
        case WM_SIZE:
            TbsSkinCustomControl::WndProc(Message);
            CalcRects();
            UpDateScrollBar();
            if (ScrollBar)
                ScrollBar->Invalidate();
            return;
        case CM_MOUSEENTER:
            TbsSkinCustomControl::WndProc(Message);
            TestActive(-1, -1);
            return;
        case CM_MOUSELEAVE: {
            TbsSkinCustomControl::WndProc(Message);
            bool any = false;
            for (TbsCBButtonX& b : Buttons)
                if (b.MouseIn) {
                    b.MouseIn = false;
                    any = true;
                }
            ActiveButton = -1;
            if (any)
                Invalidate();
            return;
        }
        case CM_TEXTCHANGED:
            TbsSkinCustomControl::WndProc(Message);
            Invalidate();
            return;
        default:
            break;
    }
    TbsSkinCustomControl::WndProc(Message);
}

// ---- forwarded events -----------------------------------------------------------------------------------------------
void TbsSkinCustomListBox::ListBoxMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnListBoxMouseDown)
        OnListBoxMouseDown(this, Button, Shift, X, Y);
}

void TbsSkinCustomListBox::ListBoxMouseMove(TShiftState Shift, int X, int Y) {
    if (OnListBoxMouseMove)
        OnListBoxMouseMove(this, Shift, X, Y);
}

void TbsSkinCustomListBox::ListBoxMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnListBoxMouseUp)
        OnListBoxMouseUp(this, Button, Shift, X, Y);
}

void TbsSkinCustomListBox::ListBoxClick() {
    if (OnListBoxClick)
        OnListBoxClick(this);
}

void TbsSkinCustomListBox::ListBoxDblClick() {
    if (OnListBoxDblClick)
        OnListBoxDblClick(this);
}

void TbsSkinCustomListBox::ListBoxKeyDown(WORD& Key, TShiftState Shift) {
    if (OnListBoxKeyDown)
        OnListBoxKeyDown(this, Key, Shift);
}

void TbsSkinCustomListBox::ListBoxKeyUp(WORD& Key, TShiftState Shift) {
    if (OnListBoxKeyUp)
        OnListBoxKeyUp(this, Key, Shift);
}

void TbsSkinCustomListBox::ListBoxKeyPress(wchar_t& Key) {
    if (OnListBoxKeyPress)
        OnListBoxKeyPress(this, Key);
}

void TbsSkinCustomListBox::ListBoxWProc(TMessage& /*Message*/, bool& Continue) {
    Continue = true;
}

// ---- properties -----------------------------------------------------------------------------------------------------
void TbsSkinCustomListBox::SetItems(TStrings* Value) {
    ListBox->SetItems(Value);
    UpDateScrollBar();
}

void TbsSkinCustomListBox::Clear() {
    ListBox->Clear();
    UpDateScrollBar();
}

void TbsSkinCustomListBox::SetSorted(bool Value) {
    if (ScrollBar)
        HideScrollBar();
    ListBox->SetSorted(Value);
}

void TbsSkinCustomListBox::SetColumns(int Value) {
    if (FColumns == Value)
        return;
    FColumns = std::max(0, Value);
    if (ScrollBar)
        HideScrollBar();
    if (ListBox->HandleAllocated())
        SendMessageW(ListBox->Handle(), LB_SETCOLUMNWIDTH,
                     FColumns > 0 ? static_cast<WPARAM>(std::max(1, ListBox->Width() / FColumns)) : 0, 0);
    UpDateScrollBar();
}

void TbsSkinCustomListBox::SetRowCount(int Value) {
    FRowCount = Value;
    if (FRowCount != 0)
        SetHeight(CalcHeight(FRowCount));
    UpDateScrollBar();
}

void TbsSkinCustomListBox::SetHorizontalExtent(bool Value) {
    FHorizontalExtent = Value;
    UpDateScrollBar();
}

void TbsSkinCustomListBox::SetTabWidths(TStrings* Value) {
    FTabWidths->Assign(Value);
    if (FTabWidths->Count() > 0)
        ListBox->Invalidate();
}

void TbsSkinCustomListBox::SetDefaultItemHeight(int Value) {
    FDefaultItemHeight = Value;
    GetSkinData();
    if (!(HasSkin() && FUseSkinItemHeight) && ListBox->ItemHeight() != Value)
        ListBox->SetItemHeight(Value);
}

void TbsSkinCustomListBox::SetImages(TCustomImageList* Value) {
    SetBorrowed(this, FImages, Value);
    ListBox->Invalidate();
}

void TbsSkinCustomListBox::SetImageIndex(int Value) {
    FImageIndex = Value;
    ListBox->Invalidate();
}

void TbsSkinCustomListBox::SetGlyph(TBitmap* Value) {
    FGlyph->Assign(Value);
    Invalidate();
}

void TbsSkinCustomListBox::SetNumGlyphs(int Value) {
    FNumGlyphs = std::clamp(Value, 1, 2);
    Invalidate();
}

void TbsSkinCustomListBox::SetSpacing(int Value) {
    FSpacing = Value;
    Invalidate();
}

void TbsSkinCustomListBox::SetCaptionMode(bool Value) {
    FCaptionMode = Value;
    GetSkinData();
    if (!HasSkin()) {
        CalcRects();
        Invalidate();
    }
}

void TbsSkinCustomListBox::SetDefaultCaptionHeight(int Value) {
    FDefaultCaptionHeight = Value;
    GetSkinData();
    if (!HasSkin() && FCaptionMode) {
        CalcRects();
        Invalidate();
    }
}

void TbsSkinCustomListBox::SetAlignment(TAlignment Value) {
    if (FAlignment == Value)
        return;
    FAlignment = Value;
    if (FCaptionMode)
        Invalidate();
}

void TbsSkinCustomListBox::SetShowCaptionButtons(bool Value) {
    if (FShowCaptionButtons == Value)
        return;
    FShowCaptionButtons = Value;
    Invalidate();
}

// ---- frame painting -------------------------------------------------------------------------------------------------
int TbsSkinCustomListBox::GetGlyphTextWidth(TCanvas* C) {
    int w = C->TextWidth(Caption());
    if (!FGlyph->Empty())
        w += FGlyph->Width() / std::max(1, FNumGlyphs) + FSpacing;
    return w;
}

void TbsSkinCustomListBox::DrawCaption(TCanvas* C, const TRect& R, TFont* F, int Margin, int GlyphLift) {
    C->Font()->Assign(F);
    const int w = GetGlyphTextWidth(C);
    int x = R.Left + Margin;
    if (FAlignment == taRightJustify)
        x = R.Right - w - Margin;
    else if (FAlignment == taCenter)
        x = R.Left + Margin + R.Width() / 2 - w / 2;
    const std::wstring text = Caption();
    const int th = C->TextHeight(text.empty() ? L"0" : text);
    TCanvasClipGuard clip(C);
    C->ClipTo(R);
    if (!FGlyph->Empty()) {
        const int n = std::max(1, FNumGlyphs);
        const int gw = FGlyph->Width() / n;
        const int gy = R.Top + (R.Height() - FGlyph->Height()) / 2 - GlyphLift;
        DrawGlyph(C, x, gy, FGlyph.get(), n, !Enabled() && n == 2 ? 2 : 1);
        x += gw + FSpacing;
    }
    C->Brush()->SetStyle(bsClear);
    C->TextOut(x, R.Top + (R.Height() - th) / 2, text);
}

void TbsSkinCustomListBox::DrawButton(TCanvas* C, int I) {
    const TbsCBButtonX& b = Buttons[I];
    if (b.R.IsEmpty())
        return;
    if (!HasSkin()) {
        if (b.MouseIn && b.Down) {
            FillWith(C, b.R, 0xE4BCA2);
            FrameWith(C, b.R, 0xB76B3B);
        } else if (b.MouseIn) {
            FillWith(C, b.R, 0xF3D4C1);
            FrameWith(C, b.R, 0xB76B3B);
        } else {
            FillWith(C, b.R, clBtnShadow);
        }
        const TRect g{b.R.Left + 4, b.R.Top + 4, b.R.Right - 4, b.R.Bottom - 4};
        if (I == 2)
            DrawCheckImage(C, b.R.Left + 4, b.R.Top + 4, clBlack);
        else
            DrawArrowImage(C, g, clBlack, I == 0 ? 3 : 4);
        return;
    }
    const TRect normal[3] = {UpButtonRect, DownButtonRect, CheckButtonRect};
    const TRect hot[3] = {ActiveUpButtonRect, ActiveDownButtonRect, ActiveCheckButtonRect};
    const TRect down[3] = {DownUpButtonRect, DownDownButtonRect, DownCheckButtonRect};
    TRect src;
    if (b.MouseIn && b.Down)
        src = down[I];
    else if (b.MouseIn)
        src = hot[I];
    if (src.IsEmpty()) {
        src = normal[I];
        src.Offset(G.SkinRect.Left, G.SkinRect.Top);
    }
    if (RectInPicture(src, Picture))
        C->CopyRect(b.R, Picture->Canvas(), src);
}

void TbsSkinCustomListBox::CreateControlDefaultImage(TBitmap* B) {
    TCanvas* c = B->Canvas();
    const int w = Width(), h = Height();
    FillWith(c, {0, 0, w, h}, clBtnFace);
    const int s = std::min(FDefaultCaptionHeight - 3, 17);
    const bool buttons = FCaptionMode && FShowCaptionButtons;
    if (buttons) {
        Buttons[0].R = TRect{w - s - 2, 2, w - 2, s + 1};
        for (int i = 1; i < 3; ++i) {
            Buttons[i].R = Buttons[i - 1].R;
            Buttons[i].R.Offset(-s, 0);
        }
    } else {
        for (TbsCBButtonX& b : Buttons)
            b.R = {};
    }
    const int t = FCaptionMode ? FDefaultCaptionHeight : 1;
    FrameWith(c, {0, t - 1, w, h}, clBtnShadow);
    FrameWith(c, {1, t, w - 1, h - 1}, ListBox->Color());
    if (FCaptionMode) {
        FillWith(c, {0, 0, w, FDefaultCaptionHeight}, clBtnShadow);
        TFont f;
        f.Assign(FDefaultCaptionFont.get());
        f.SetCharset(SkinFontCharset(FSD, FDefaultCaptionFont->Charset()));
        const TRect r{3, 2, buttons ? w - 3 * s - 3 : w - 2, FDefaultCaptionHeight - 2};
        DrawCaption(c, r, &f, 0, 1);
        for (int i = 0; i < 3; ++i)
            DrawButton(c, i);
    }
}

void TbsSkinCustomListBox::CreateControlSkinImage(TBitmap* B) {
    TbsSkinCustomControl::CreateControlSkinImage(B);
    if (!Picture)
        return;
    TCanvas* c = B->Canvas();
    const int dx = Width() - G.SkinRect.Width(), dy = Height() - G.SkinRect.Height();
    NewClRect = G.ClRect;
    if (!FShowCaptionButtons && !UpButtonRect.IsEmpty()) {
        if (DisabledButtonsRect.IsEmpty()) {
            const TRect from{G.NewLTPoint.X, 0, G.NewRTPoint.X, NewClRect.Top - 1};
            const TRect to{G.NewLTPoint.X, 0, Width() + UpButtonRect.Right - G.SkinRect.Width(), NewClRect.Top - 1};
            if (!from.IsEmpty() && !to.IsEmpty()) {
                TBitmap copy(from.Width(), from.Height());
                copy.Canvas()->CopyRect({0, 0, from.Width(), from.Height()}, c, from);
                c->CopyRect(to, copy.Canvas(), {0, 0, from.Width(), from.Height()});
            }
        } else if (RectInPicture(DisabledButtonsRect, Picture)) {
            TRect to = ButtonsArea;
            to.Offset(dx, 0);
            c->CopyRect({to.Left, to.Top, to.Left + DisabledButtonsRect.Width(), to.Top + DisabledButtonsRect.Height()},
                        Picture->Canvas(), DisabledButtonsRect);
        }
    }
    NewClRect.Right += dx;
    NewClRect.Bottom += dy;
    if (!FCaptionMode)
        return;
    NewCaptionRect = CaptionRect;
    auto calcBRect = [&](const TRect& R) {
        if (R.IsEmpty())
            return TRect{};
        TRect r = R;
        if (r.Top > G.LTPt.Y) {
            r.Offset(0, dy);
            if (r.Left > G.RBPt.X)
                r.Offset(dx, 0);
        } else if (r.Left > G.RTPt.X) {
            r.Offset(dx, 0);
        }
        return r;
    };
    if (FShowCaptionButtons) {
        if (CaptionRect.Right >= G.RTPt.X)
            NewCaptionRect.Right += dx;
        Buttons[0].R = calcBRect(UpButtonRect);
        Buttons[1].R = calcBRect(DownButtonRect);
        Buttons[2].R = calcBRect(CheckButtonRect);
    } else {
        NewCaptionRect.Right = Width() - CaptionRect.Left;
        for (TbsCBButtonX& b : Buttons)
            b.R = {};
    }
    if (!CaptionRect.IsEmpty()) {
        TFont f;
        f.SetName(CaptionFontName);
        f.SetHeight(CaptionFontHeight);
        f.SetColor(CaptionFontColor);
        f.SetStyle(CaptionFontStyle);
        f.SetCharset(SkinFontCharset(FSD, FDefaultCaptionFont->Charset()));
        DrawCaption(c, NewCaptionRect, &f, 2, 0);
    }
    if (FShowCaptionButtons)
        for (int i = 0; i < 3; ++i)
            DrawButton(c, i);
}

// ---- caption buttons ------------------------------------------------------------------------------------------------
bool TbsSkinCustomListBox::ButtonsActive() {
    if (!FCaptionMode || !FShowCaptionButtons)
        return false;
    return !HasSkin() || !UpButtonRect.IsEmpty() || !DownButtonRect.IsEmpty();
}

void TbsSkinCustomListBox::TestActive(int X, int Y) {
    if (!ButtonsActive())
        return;
    int found = -1;
    for (int i = 0; i < 3; ++i)
        if (Buttons[i].R.Contains({X, Y})) {
            found = i;
            break;
        }
    if (CaptureButton != -1 && found != CaptureButton)
        found = -1;
    OldActiveButton = ActiveButton;
    ActiveButton = found;
    if (OldActiveButton == ActiveButton)
        return;
    if (OldActiveButton != -1) {
        Buttons[OldActiveButton].MouseIn = false;
        if (Buttons[OldActiveButton].Down && TimerMode != 0)
            if (FTimer)
                FTimer->Stop();
    }
    if (ActiveButton != -1) {
        Buttons[ActiveButton].MouseIn = true;
        if (Buttons[ActiveButton].Down && TimerMode != 0)
            StartTimer(50);
    }
    Invalidate();
}

void TbsSkinCustomListBox::ButtonDown(int I) {
    CaptureButton = I;
    Buttons[I].MouseIn = true;
    Buttons[I].Down = true;
    Invalidate();
    const TNotifyEvent* ev[3] = {&OnUpButtonClick, &OnDownButtonClick, &OnCheckButtonClick};
    if (*ev[I] || I == 2)
        return;
    TimerMode = I == 0 ? 1 : 2;
    WaitMode = true;
    StartTimer(500);
}

void TbsSkinCustomListBox::ButtonUp(int I, int X, int Y) {
    CaptureButton = -1;
    Buttons[I].Down = false;
    if (ActiveButton != I)
        Buttons[I].MouseIn = false;
    Invalidate();
    const TNotifyEvent* ev[3] = {&OnUpButtonClick, &OnDownButtonClick, &OnCheckButtonClick};
    if (*ev[I] && Buttons[I].R.Contains({X, Y})) {
        (*ev[I])(this);
        return;
    }
    const int idx = ItemIndex();
    if (I == 0) {
        if (idx > 0)
            SetItemIndex(idx - 1);
    } else if (I == 1) {
        if (idx < ListBox->Count() - 1)
            SetItemIndex(idx + 1);
    } else {
        ListBox->Click();
    }
    StopTimer();
}

void TbsSkinCustomListBox::StartTimer(unsigned Ms) {
    if (!FTimer) {
        FTimer = ControlSeam().NewTimer();
        FTimer->OnTick = [this] { TimerTick(); };
    }
    FTimer->Start(Ms);
}

void TbsSkinCustomListBox::StopTimer() {
    if (FTimer)
        FTimer->Stop();
    TimerMode = 0;
}

void TbsSkinCustomListBox::TimerTick() {
    if (WaitMode) {
        WaitMode = false;
        StartTimer(100);
        return;
    }
    const int idx = ItemIndex();
    if (TimerMode == 1 && idx >= 1)
        SetItemIndex(idx - 1);
    else if (TimerMode == 2 && idx < ListBox->Count() - 1)
        SetItemIndex(idx + 1);
}

void TbsSkinCustomListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !ButtonsActive())
        return;
    TestActive(X, Y);
    if (ActiveButton != -1)
        ButtonDown(ActiveButton);
}

void TbsSkinCustomListBox::MouseMove(TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseMove(Shift, X, Y);
    TestActive(X, Y);
}

void TbsSkinCustomListBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
    if (Button == mbLeft && CaptureButton != -1) {
        const int i = CaptureButton;
        TestActive(X, Y);
        ButtonUp(i, X, Y);
    }
}
