#include "skin/boxes/SkinOfficeComboBox.h"

#include <algorithm>

#include "skin/boxes/ComboLogic.h"
#include "skin/boxes/ComboPainting.h"
#include "skin/controls/ControlSkinning.h"
#include "skin/controls/PopupFade.h"
#include "skin/core/GlyphPainters.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinText.h"
#include "skin/core/SkinUtils.h"

// ---- the popup's showing (it needs its owner's transparency) --------------------------------------------------------
void TbsPopupOfficeListBox::WndProc(TMessage& Message) {
    if (PopupOwnMessage(Message, [this] {
            if (auto* combo = dynamic_cast<TbsSkinCustomOfficeComboBox*>(Owner()))
                combo->CloseUp(false);
            else
                Hide();
        }))
        return;
    TbsSkinOfficeListBox::WndProc(Message);
}

void TbsPopupOfficeListBox::Show(TPoint Origin) {
    FMouseActive = -1;
    auto* combo = dynamic_cast<TbsSkinCustomOfficeComboBox*>(Owner());
    HWND wnd = Handle();
    const bool fade = combo && FAlpha.Apply(wnd, combo->AlphaBlend, combo->AlphaBlendValue, combo->AlphaBlendAnimation);
    SetBounds(Origin.X, Origin.Y, Width(), Height());
    SetWindowPos(wnd, HWND_TOP, Origin.X, Origin.Y, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
    SetVisible(true);
    if (fade) {
        combo->FLBDown = false;
        FadeInPopup(wnd, combo->AlphaBlendValue);
    }
}

// ---- TbsSkinCustomOfficeComboBox ------------------------------------------------------------------------------------
TbsSkinCustomOfficeComboBox::TbsSkinCustomOfficeComboBox(TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
    SetControlStyle({csAcceptsControls, csCaptureMouse, csOpaque, csDoubleClicks, csReplicatable});
    SetTabStop(true);
    Font()->SetName(L"Tahoma");
    Font()->SetHeight(13);
    Font()->SetColor(clWindowText);
    FSkinDataName = L"combobox";
    TbsSkinCustomControl::SetBounds(Left(), Top(), 120, 41);
    FListBox = new TbsPopupOfficeListBox(this);
    FListBoxWindowProc = FListBox->WindowProc;
    FListBox->WindowProc = [this](TMessage& m) { ListBoxWindowProcHook(m); };
    FListBox->MouseMoveChangeIndex = true;
    CalcRects();
}

TbsSkinCustomOfficeComboBox::~TbsSkinCustomOfficeComboBox() = default;

void TbsSkinCustomOfficeComboBox::BeforeDestruction() {
    FTimer.reset();
    if (FListBox)
        FListBox->WindowProc = FListBoxWindowProc;
    TbsSkinCustomControl::BeforeDestruction();
}

void TbsSkinCustomOfficeComboBox::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FListBox)
        FListBox = nullptr;
}

void TbsSkinCustomOfficeComboBox::Invalidate() {
    TbsSkinCustomControl::Invalidate();
}

void TbsSkinCustomOfficeComboBox::Change() {
    if (OnChange)
        OnChange(this);
}

void TbsSkinCustomOfficeComboBox::SetItemIndex(int Value) {
    FListBox->SetItemIndex(Value);
    FOldItemIndex = FListBox->ItemIndex();
    Invalidate();
    if (OnClick)
        OnClick(this);
    Change();
}

void TbsSkinCustomOfficeComboBox::InitItemIndex(int Value) {
    FListBox->InitItemIndex(Value);
    FOldItemIndex = FListBox->ItemIndex();
    Invalidate();
}

void TbsSkinCustomOfficeComboBox::SetImages(TCustomImageList* Value) {
    FListBox->SetImages(Value);
    Invalidate();
}

void TbsSkinCustomOfficeComboBox::SetDropDownCount(int Value) {
    if (Value >= 0)
        FDropDownCount = Value;
}

void TbsSkinCustomOfficeComboBox::SetShowItemTitle(bool Value) {
    if (FShowItemTitle != Value) {
        FShowItemTitle = Value;
        Invalidate();
    }
}

void TbsSkinCustomOfficeComboBox::SetShowItemImage(bool Value) {
    if (FShowItemImage != Value) {
        FShowItemImage = Value;
        Invalidate();
    }
}

void TbsSkinCustomOfficeComboBox::SetShowItemText(bool Value) {
    if (FShowItemText != Value) {
        FShowItemText = Value;
        Invalidate();
    }
}

void TbsSkinCustomOfficeComboBox::SetUseSkinSize(bool Value) {
    FUseSkinSize = Value;
    if (FIndex != -1)
        ChangeSkinData();
}

void TbsSkinCustomOfficeComboBox::SetToolButtonStyle(bool Value) {
    FToolButtonStyle = Value;
    if (Value)
        FUseSkinSize = false;
    Invalidate();
}

void TbsSkinCustomOfficeComboBox::SetDefaultColor(TColor Value) {
    FDefaultColor = Value;
    if (FIndex == -1)
        Invalidate();
}

void TbsSkinCustomOfficeComboBox::SetListBoxSkinDataName(const std::wstring& Value) {
    FListBoxSkinDataName = Value;
    FListBox->SetSkinDataName(Value);
}

// ---- skin and layout ------------------------------------------------------------------------------------------------
void TbsSkinCustomOfficeComboBox::GetSkinData() {
    TbsSkinCustomControl::GetSkinData();
    if (auto* e = FIndex != -1 ? dynamic_cast<TbsDataSkinComboBox*>(Entry()) : nullptr)
        CopyComboEntry(*e);
}

void TbsSkinCustomOfficeComboBox::CalcRects() {
    GetSkinData();
    const TbsComboRects r = (!HasSkin() || FToolButtonStyle)
                                ? DefaultComboRects(Width(), Height())
                                : SkinComboRects(Width(), Height(), G.SkinRect, G.ClRect, ButtonRect, G.RTPt.X,
                                                 FUseSkinSize);
    Button.R = r.Button;
    CBItem.R = r.Item;
}

void TbsSkinCustomOfficeComboBox::CalcSize(int& W, int& H) {
    if (FUseSkinSize) {
        TbsSkinCustomControl::CalcSize(W, H);
        return;
    }
    G.NewLTPoint = G.LTPt;
    G.NewRTPoint = {G.RTPt.X + W - G.SkinRect.Width(), G.RTPt.Y};
    G.NewClRect = G.ClRect;
    G.NewClRect.Right += W - G.SkinRect.Width();
}

void TbsSkinCustomOfficeComboBox::SetControlRegion() {
    if (FUseSkinSize)
        TbsSkinCustomControl::SetControlRegion();
}

void TbsSkinCustomOfficeComboBox::DefaultFontChange() {
    Font()->Assign(DefaultFont());
}

void TbsSkinCustomOfficeComboBox::ChangeSkinData() {
    TbsSkinCustomControl::ChangeSkinData();
    CalcRects();
    Invalidate();
    // The list's entry name is kept: a later skin with a combo entry skins the list again.
    FListBox->SetSkinDataName(HasSkin() ? FListBoxSkinDataName : std::wstring());
    FListBox->SetSkinData(FSD);
    CalcRects();
}

TColor TbsSkinCustomOfficeComboBox::DisabledFontColor() {
    auto* e = dynamic_cast<TbsDataSkinEditControl*>(SkinEntryAt(FSD, LookupSkinEntry(FSD, L"edit")));
    return e ? static_cast<TColor>(e->DisabledFontColor) : clGrayText;
}

// ---- opening and closing --------------------------------------------------------------------------------------------
void TbsSkinCustomOfficeComboBox::DropDown() {
    if (Items()->Count() == 0 || !Parent())
        return;
    WasInLB = false;
    StopTimer();
    if (OnDropDown)
        OnDropDown(this);
    const int w = ListBoxWidth > 0 ? ListBoxWidth : Width();
    FListBox->SetWidth(w);
    FListBox->OnDrawItem = OnDrawItem;
    FListBox->SetSkinData(FSD);
    // The height first: the above-or-below choice judges the height the list will have.
    if (ListBoxHeight > 0)
        FListBox->SetHeight(ListBoxHeight);
    else if (FDropDownCount > 0)
        FListBox->SetHeight(FListBox->CalcHeight(FDropDownCount));
    const TPoint below = Parent()->ClientToScreen({Left() + Width() - w, Top() + Height()});
    const TPoint at = PopupOrigin(below, Height(), FListBox->Height(), GetMonitorWorkArea(Handle(), true));
    FOldItemIndex = FListBox->ItemIndex();
    if (FOldItemIndex == 0 && Items()->Count() > 1) {
        FListBox->SetItemIndex(1);
        FListBox->SetItemIndex(0);
    }
    FDropDown = true;
    if (FToolButtonStyle)
        Invalidate();
    FListBox->Show(at);
}

void TbsSkinCustomOfficeComboBox::CloseUp(bool Value) {
    StopTimer();
    if (!IsPopupVisible())
        return;
    FListBox->Hide();
    const int i = FListBox->ItemIndex();
    const bool accepted = Value && i >= 0 && i < Items()->Count();
    if (accepted) {
        FOldItemIndex = i;
        Invalidate();
        if (OnClick)
            OnClick(this);
        Change();
    } else {
        FListBox->SetItemIndex(FOldItemIndex);
    }
    FDropDown = false;
    Invalidate();
    if (accepted && OnCloseUp)
        OnCloseUp(this);
}

void TbsSkinCustomOfficeComboBox::ListBoxWindowProcHook(TMessage& Message) {
    switch (Message.Msg) {
        case WM_LBUTTONDOWN:
            FLBDown = true;
            WasInLB = true;
            SetCapture(Handle());
            return;
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
            return;
        default:
            break;
    }
    if (FListBoxWindowProc)
        FListBoxWindowProc(Message);
}

void TbsSkinCustomOfficeComboBox::TrackList(TShiftState Shift, int X, int Y) {
    if (!FListBox->HandleAllocated())
        return;
    POINT p{X, Y};
    MapWindowPoints(Handle(), FListBox->Handle(), &p, 1);
    const bool bar = FListBox->ScrollBar != nullptr;
    int mode = TimerMode;
    if (p.y < 0 && bar && WasInLB) {
        mode = 1;
    } else if (p.y > FListBox->Height() && bar && WasInLB) {
        mode = 2;
    } else if (p.y >= 0 && p.y <= FListBox->Height()) {
        StopTimer();
        mode = 0;
        FListBox->MouseMoveAt(Shift, p.x, p.y);
        WasInLB = true;
        if (!FLBDown) {
            FLBDown = true;
            WasInLB = false;
        }
    }
    if (mode != TimerMode) {
        TimerMode = mode;
        if (mode != 0)
            StartTimer();
    }
}

void TbsSkinCustomOfficeComboBox::StartTimer() {
    if (!FTimer) {
        FTimer = ControlSeam().NewTimer();
        FTimer->OnTick = [this] {
            if (TimerMode == 1)
                FListBox->FindUp();
            else if (TimerMode == 2)
                FListBox->FindDown();
        };
    }
    FTimer->Stop();
    FTimer->Start(25);
}

void TbsSkinCustomOfficeComboBox::StopTimer() {
    TimerMode = 0;
    if (FTimer)
        FTimer->Stop();
}

// ---- mouse and keys -------------------------------------------------------------------------------------------------
void TbsSkinCustomOfficeComboBox::MouseDown(TMouseButton Btn, TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseDown(Btn, Shift, X, Y);
    if (CanFocus() && !Focused())
        SetFocus();
    if (Btn != mbLeft)
        return;
    Button.MouseIn = Button.R.Contains({X, Y});
    if (Button.MouseIn || CBItem.R.Contains({X, Y}) || FToolButtonStyle) {
        Button.Down = true;
        Invalidate();
        if (!IsPopupVisible()) {
            WasInLB = false;
            FLBDown = true;
            DropDown();
            return;
        }
    }
    if (IsPopupVisible())
        CloseUp(false);
}

void TbsSkinCustomOfficeComboBox::MouseMove(TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseMove(Shift, X, Y);
    if (IsPopupVisible())
        TrackList(Shift, X, Y);
    const bool in = Button.R.Contains({X, Y});
    if (in != Button.MouseIn) {
        Button.MouseIn = in;
        Invalidate();
    }
}

void TbsSkinCustomOfficeComboBox::MouseUp(TMouseButton Btn, TShiftState Shift, int X, int Y) {
    if (FLBDown && WasInLB) {
        if (GetCapture() == Handle())
            ReleaseCapture();
        FLBDown = false;
        bool over = false;
        if (IsPopupVisible() && FListBox->HandleAllocated()) {
            POINT p{X, Y};
            MapWindowPoints(Handle(), FListBox->Handle(), &p, 1);
            over = p.x >= 0 && p.y >= 0 && p.x < FListBox->Width() && p.y < FListBox->Height();
        }
        CloseUp(over);
    } else {
        FLBDown = false;
    }
    TbsSkinCustomControl::MouseUp(Btn, Shift, X, Y);
    if (Button.Down) {
        Button.Down = false;
        Invalidate();
    }
}

void TbsSkinCustomOfficeComboBox::CommitListIndex() {
    SetItemIndex(FListBox->ItemIndex());
}

void TbsSkinCustomOfficeComboBox::KeyDown(WORD& Key, TShiftState Shift) {
    TbsSkinCustomControl::KeyDown(Key, Shift);
    const bool alt = Shift.Contains(ssAlt);
    switch (Key) {
        case VK_RETURN:
            CloseUp(true);
            break;
        case VK_ESCAPE:
            CloseUp(false);
            break;
        case VK_PRIOR:
            FListBox->FindPageUp();
            CommitListIndex();
            break;
        case VK_NEXT:
            FListBox->FindPageDown();
            CommitListIndex();
            break;
        case VK_LEFT:
        case VK_UP:
            if (alt) {
                CloseUp(false);
            } else {
                FListBox->FindUp();
                CommitListIndex();
            }
            break;
        case VK_RIGHT:
        case VK_DOWN:
            if (!alt) {
                FListBox->FindDown();
                CommitListIndex();
            } else if (!IsPopupVisible()) {
                DropDown();
            }
            break;
        default:
            break;
    }
}

void TbsSkinCustomOfficeComboBox::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case CB_GETCOUNT:
            Message.Result = Items()->Count();
            return;
        case CB_GETCURSEL:
            Message.Result = ItemIndex();
            return;
        case CB_SETCURSEL: {
            const int i = static_cast<int>(static_cast<INT_PTR>(Message.WParam));
            if (i < -1 || i >= Items()->Count()) {
                Message.Result = CB_ERR;
                return;
            }
            SetItemIndex(i);
            Message.Result = i == -1 ? CB_ERR : i;
            return;
        }
        case WM_GETDLGCODE:
            Message.Result = DLGC_WANTARROWS | (IsPopupVisible() ? DLGC_WANTALLKEYS : 0);
            return;
        case CM_WANTSPECIALKEY:
            switch (Message.WParam) {
                case VK_UP:
                case VK_DOWN:
                case VK_LEFT:
                case VK_RIGHT:
                    Message.Result = 1;
                    return;
                case VK_RETURN:
                case VK_ESCAPE:
                    Message.Result = IsPopupVisible() ? 1 : 0;
                    return;
                default:
                    break;
            }
            break;
        case WM_MOUSEWHEEL: {
            TbsSkinCustomControl::WndProc(Message);
            const bool hidden = !IsPopupVisible();
            if (static_cast<short>(HIWORD(Message.WParam)) <= 0)
                FListBox->FindDown();
            else
                FListBox->FindUp();
            if (hidden)
                CommitListIndex();
            return;
        }
        case WM_SETFOCUS:
            TbsSkinCustomControl::WndProc(Message);
            Invalidate();
            return;
        case WM_KILLFOCUS:
            TbsSkinCustomControl::WndProc(Message);
            CloseUp(false);
            Invalidate();
            return;
        case CM_CANCELMODE: {
            TbsSkinCustomControl::WndProc(Message);
            auto* sender = reinterpret_cast<TControl*>(Message.LParam);
            if (!sender || (sender != this && sender != FListBox && sender != FListBox->ScrollBar))
                CloseUp(false);
            return;
        }
        case CM_ENABLEDCHANGED:
            TbsSkinCustomControl::WndProc(Message);
            Invalidate();
            return;
        case CM_MOUSEENTER:
        case CM_MOUSELEAVE:
            TbsSkinCustomControl::WndProc(Message);
            FMouseIn = Message.Msg == CM_MOUSEENTER;
            if (!FMouseIn && Button.MouseIn) {
                Button.MouseIn = false;
                Invalidate();
            }
            if ((HasSkin() && !ActiveSkinRect.IsEmpty()) || FToolButtonStyle)
                Invalidate();
            return;
        case WM_SIZE:
            TbsSkinCustomControl::WndProc(Message);
            CalcRects();
            return;
        default:
            break;
    }
    TbsSkinCustomControl::WndProc(Message);
}

// ---- painting -------------------------------------------------------------------------------------------------------
int TbsSkinCustomOfficeComboBox::ShownIndex() const {
    return IsPopupVisible() ? FOldItemIndex : FListBox->ItemIndex();
}

TbsDataSkinButtonControl* TbsSkinCustomOfficeComboBox::ButtonRecord(std::initializer_list<const wchar_t*> Names,
                                                                    TBitmap*& Pic) {
    for (const wchar_t* name : Names) {
        if (auto* e = dynamic_cast<TbsDataSkinButtonControl*>(SkinEntryAt(FSD, LookupSkinEntry(FSD, name)))) {
            Pic = SkinPictureAt(FSD, e->PictureIndex);
            return e;
        }
    }
    Pic = nullptr;
    return nullptr;
}

void TbsSkinCustomOfficeComboBox::DrawItemContent(TCanvas* C, int Index, TRect T, bool Title,
                                                  const std::wstring* AText) {
    if (Index < 0 || Index >= Items()->Count())
        return;
    TbsSkinOfficeItem* it = Items()->GetItem(Index);
    const std::wstring caption = AText ? *AText : it->Caption();
    C->Brush()->SetStyle(bsClear);
    if (Title && FShowItemText && FShowItemTitle && !it->Title().empty()) {
        const TFontStyles st = C->Font()->Style();
        C->Font()->SetStyle(st + fsBold);
        const int th = C->TextHeight(it->Title());
        RECT r{T.Left, T.Top, T.Right, T.Top + th};
        DrawTextW(C->Handle(), it->Title().c_str(), static_cast<int>(it->Title().size()), &r,
                  DT_SINGLELINE | DT_NOPREFIX | DT_LEFT | DT_END_ELLIPSIS);
        C->Font()->SetStyle(st);
        T.Top += th - 2;
    }
    if (FShowItemImage && Images()) {
        DrawImageAndTextLeft(C, T, 0, 5, blGlyphLeft, FShowItemText ? caption : std::wstring(), it->ImageIndex(),
                             Images(), false, Enabled(), false, 0);
    } else if (FShowItemText) {
        BSDrawText2(C, caption, T);
    }
}

void TbsSkinCustomOfficeComboBox::DrawDefaultButton(TCanvas* C) {
    const TRect& r = Button.R;
    const bool down = Button.Down && Button.MouseIn;
    if (down)
        FillFramed(C, r, static_cast<TColor>(0xB76B3B), static_cast<TColor>(0xE4BCA2));
    else if (Button.MouseIn)
        FillFramed(C, r, static_cast<TColor>(0xB76B3B), static_cast<TColor>(0xF3D4C1));
    else
        FillFramed(C, r, clBtnShadow, clBtnFace);
    DrawArrowImage(C, r, Enabled() ? clBlack : clBtnShadow, 4);
}

void TbsSkinCustomOfficeComboBox::DrawSkinButton(TCanvas* C) {
    const bool down = Button.Down && Button.MouseIn;
    TRect src;
    if (!Enabled() && !UnEnabledButtonRect.IsEmpty())
        src = UnEnabledButtonRect;
    else if (down)
        src = DownButtonRect;
    else if (Button.MouseIn)
        src = ActiveButtonRect;
    if (!src.IsEmpty() && RectInPicture(src, Picture))
        C->CopyRect(Button.R, Picture->Canvas(), src);
}

void TbsSkinCustomOfficeComboBox::DrawResizeButton(TCanvas* C) {
    TBitmap* pic = nullptr;
    TbsDataSkinButtonControl* e = ButtonRecord({L"combobutton", L"editbutton", L"resizebutton"}, pic);
    const TRect& r = Button.R;
    if (!e || !pic || r.IsEmpty())
        return;
    const bool down = Button.Down && Button.MouseIn;
    const TRect active = e->ActiveSkinRect.IsEmpty() ? e->SkinRect : e->ActiveSkinRect;
    const TRect src = down ? (e->DownSkinRect.IsEmpty() ? active : e->DownSkinRect)
                      : Button.MouseIn ? active
                                       : e->SkinRect;
    if (!RectInPicture(src, pic))
        return;
    TBitmap b(r.Width(), r.Height());
    ComposeButton(e, pic, src, &b);
    if (e->MenuMarkerRect.IsEmpty()) {
        if (Enabled())
            DrawArrowImage(b.Canvas(), {0, 0, b.Width(), b.Height()},
                           static_cast<TColor>(down ? e->DownFontColor : Button.MouseIn ? e->ActiveFontColor
                                                                                        : e->FontColor),
                           4);
    } else {
        DrawMarker(b.Canvas(), e, Picture, {0, 0, b.Width(), b.Height()}, Button.MouseIn, down);
    }
    C->Draw(r.Left, r.Top, &b);
}

void TbsSkinCustomOfficeComboBox::DrawDefaultItem(TCanvas* C) {
    const TRect& r = CBItem.R;
    if (r.Width() <= 0 || r.Height() <= 0)
        return;
    TBitmap b(r.Width(), r.Height());
    TCanvas* bc = b.Canvas();
    bc->Font()->SetName(Font()->Name());
    bc->Font()->SetStyle(Font()->Style());
    bc->Font()->SetHeight(Font()->Height());
    bc->Font()->SetCharset(SkinFontCharset(FSD, DefaultFont()->Charset()));
    const bool focused = Focused();
    bc->Brush()->SetStyle(bsSolid);
    bc->Brush()->SetColor(focused ? clHighlight : FDefaultColor);
    bc->FillRect({0, 0, b.Width(), b.Height()});
    bc->Font()->SetColor(focused ? clHighlightText : DefaultFont()->Color());
    CBItem.State = TOwnerDrawState();
    if (focused)
        CBItem.State.Include(odFocused);
    const int i = ShownIndex();
    const TRect t{2, 0, b.Width() - 2, b.Height()};
    if (i >= 0 && i < Items()->Count()) {
        bc->Brush()->SetStyle(bsClear);
        if (OnDrawItem)
            OnDrawItem(bc, i, t);
        else
            DrawItemContent(bc, i, t, true, nullptr);
    }
    C->Draw(r.Left, r.Top, &b);
}

void TbsSkinCustomOfficeComboBox::DrawSkinItem(TCanvas* C, bool Strip) {
    const TRect& r = CBItem.R;
    if (r.Width() <= 0)
        return;
    const int w = r.Width();
    const bool focused = Focused();
    const bool hot = !focused && FMouseIn && !ActiveItemRect.IsEmpty() && !ActiveSkinRect.IsEmpty();
    int h = r.Height();
    if (Strip)
        h = !SItemRect.IsEmpty() ? SItemRect.Height() : !FocusItemRect.IsEmpty() ? FocusItemRect.Height() : r.Height();
    if (h <= 0)
        return;
    TBitmap b(w, h);
    // What lies under the item area, for an empty picture.
    b.Canvas()->CopyRect({0, 0, w, h}, C, {r.Left, r.Top, r.Left + w, r.Top + h});
    const TRect src = focused ? FocusItemRect : hot ? ActiveItemRect : SItemRect;
    if (!src.IsEmpty() && RectInPicture(src, Picture)) {
        if (Strip) {
            CreateHSkinImage(ItemLeftOffset, ItemRightOffset, &b, Picture, src, w, h,
                             focused ? FocusItemStretchEffect : ItemStretchEffect);
        } else if (!focused && !hot) {
            CreateStretchImage(&b, Picture, src, ItemTextRect, true);
        } else {
            TRect inner = ItemTextRect;
            inner.Inflate(-1, -1);
            if (SItemRect.Width() > src.Width())
                inner.Right -= SItemRect.Width() - src.Width();
            if (SItemRect.Height() > src.Height())
                inner.Top -= SItemRect.Height() - src.Height();
            CreateStretchImage(&b, Picture, src, inner, true);
        }
    }
    TRect t = ItemTextRect;
    t.Right += w - (SItemRect.IsEmpty() ? G.ClRect.Width() : SItemRect.Width());
    if (!Strip)
        t.Bottom += Height() - G.SkinRect.Height();
    TCanvas* bc = b.Canvas();
    ItemFont(bc->Font(), FUseSkinFont, DefaultFont(), SkinFontCharset(FSD, DefaultFont()->Charset()));
    TColor colour = focused ? FocusFontColor : (FMouseIn && !ActiveSkinRect.IsEmpty()) ? ActiveFontColor : FontColor;
    if (!Enabled())
        colour = DisabledFontColor();
    bc->Font()->SetColor(colour);
    bc->Brush()->SetStyle(bsClear);
    CBItem.State = TOwnerDrawState();
    if (focused)
        CBItem.State.Include(odFocused);
    const int i = ShownIndex();
    if (i >= 0 && i < Items()->Count()) {
        if (!Strip) {
            if (focused && ShowFocus) {
                bc->Brush()->SetColor(static_cast<TColor>(FSD->SkinColors()->cBtnFace));
                DrawSkinFocusRect(bc, {0, 0, w, h});
                bc->Brush()->SetStyle(bsClear);
            }
            t.Left += 1;
        }
        if (OnDrawItem)
            OnDrawItem(bc, i, t);
        else
            DrawItemContent(bc, i, t, !Strip, nullptr);
    }
    C->Draw(r.Left, r.Top, &b);
}

void TbsSkinCustomOfficeComboBox::DrawToolLook(TBitmap* B, const std::wstring* AText) {
    const int w = B->Width(), h = B->Height();
    TCanvas* c = B->Canvas();
    const TRect marker{w - 15, 0, w, h};
    TRect t{2, 2, w - 17, h - 2};
    TColor colour = DefaultFont()->Color();
    TbsDataSkinButtonControl* e = nullptr;
    TBitmap* pic = nullptr;
    if (HasSkin()) {
        e = ButtonRecord({L"resizetoolbutton", L"resizebutton"}, pic);
        if (!e || !pic)
            return;
        TRect src = FDropDown ? e->DownSkinRect : Hot() ? e->ActiveSkinRect : e->SkinRect;
        if (src.IsEmpty())
            src = e->SkinRect;
        if (!RectInPicture(src, pic))
            return;
        ComposeButton(e, pic, src, B);
        t = {3, 2, w - 17, h - 2};
        if (FUseSkinFont) {
            c->Font()->SetName(e->FontName);
            c->Font()->SetStyle(ToFontStyles(e->FontStyle));
            c->Font()->SetHeight(e->FontHeight);
        } else {
            c->Font()->Assign(DefaultFont());
        }
        colour = static_cast<TColor>(FDropDown ? e->DownFontColor : Hot() ? e->ActiveFontColor
                                                                 : Enabled() ? e->FontColor
                                                                             : e->DisabledFontColor);
    } else {
        if (FDropDown)
            FillFramed(c, {0, 0, w, h}, static_cast<TColor>(0xB76B3B), static_cast<TColor>(0xE4BCA2));
        else if (Hot())
            FillFramed(c, {0, 0, w, h}, static_cast<TColor>(0xB76B3B), static_cast<TColor>(0xF3D4C1));
        else
            FillFramed(c, {0, 0, w, h}, clBtnShadow, clBtnFace);
        c->Font()->Assign(DefaultFont());
    }
    c->Font()->SetColor(colour);
    DrawItemContent(c, ShownIndex(), t, true, AText);
    if (e && !e->MenuMarkerRect.IsEmpty())
        DrawMarker(c, e, Picture, marker, Hot(), FDropDown);
    else
        DrawTrackArrowImage(c, marker, e && FDropDown ? static_cast<TColor>(e->DownFontColor) : colour);
}

void TbsSkinCustomOfficeComboBox::CreateControlDefaultImage(TBitmap* B) {
    CalcRects();
    if (FToolButtonStyle) {
        DrawToolLook(B, nullptr);
        return;
    }
    TCanvas* c = B->Canvas();
    const TRect all{0, 0, B->Width(), B->Height()};
    FillFramed(c, all, clBtnShadow, FDefaultColor);
    DrawDefaultButton(c);
    DrawDefaultItem(c);
}

void TbsSkinCustomOfficeComboBox::DrawSkinBackground(TBitmap* B) {
    const bool active = !ActiveSkinRect.IsEmpty() && Hot() && RectInPicture(ActiveSkinRect, Picture);
    if (!FUseSkinSize) {
        const TRect src = active ? ActiveSkinRect : G.SkinRect;
        if (RectInPicture(src, Picture))
            CreateStretchImage(B, Picture, src, G.ClRect, true);
    } else if (active) {
        CreateHSkinImage(G.LTPt.X, ActiveSkinRect.Width() - G.RTPt.X, B, Picture, ActiveSkinRect, Width(),
                         ActiveSkinRect.Height(), G.StretchEffect);
    } else {
        TbsSkinCustomControl::CreateControlSkinImage(B);
    }
}

void TbsSkinCustomOfficeComboBox::CreateControlSkinImage(TBitmap* B) {
    CalcRects();
    if (FToolButtonStyle) {
        DrawToolLook(B, nullptr);
        return;
    }
    DrawSkinBackground(B);
    if (FUseSkinSize)
        DrawSkinButton(B->Canvas());
    else
        DrawResizeButton(B->Canvas());
    DrawSkinItem(B->Canvas(), FUseSkinSize);
}

void TbsSkinCustomOfficeComboBox::PaintSkinTo(TCanvas* C, int X, int Y, const std::wstring& AText) {
    const int w = Width(), h = Height();
    if (w <= 0 || h <= 0)
        return;
    GetSkinData();
    CalcRects();
    const std::wstring saved = Text();
    SetText(AText);
    TBitmap b(w, h);
    if (FToolButtonStyle) {
        DrawToolLook(&b, &AText);
    } else {
        TCanvas* c = b.Canvas();
        if (!HasSkin()) {
            FillFramed(c, {0, 0, w, h}, clBtnShadow, FDefaultColor);
            DrawDefaultButton(c);
            c->Font()->Assign(DefaultFont());
        } else {
            DrawSkinBackground(&b);
            if (FUseSkinSize)
                DrawSkinButton(c);
            else
                DrawResizeButton(c);
            c->Font()->SetStyle(FontStyle);
            c->Font()->SetColor(FontColor);
            c->Font()->SetHeight(FontHeight);
            c->Font()->SetName(FontName);
        }
        c->Brush()->SetStyle(bsClear);
        BSDrawText2(c, AText, CBItem.R);
    }
    C->Draw(X, Y, &b);
    SetText(saved);
}
