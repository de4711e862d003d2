#include "skin/boxes/SkinOfficeListBox.h"

#include <algorithm>

#include "skin/controls/ControlSkinning.h"
#include "skin/controls/PopupFade.h"
#include "skin/core/GlyphPainters.h"
#include "skin/core/ResourceStrings.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinText.h"
#include "skin/core/SkinUtils.h"

namespace {

void Fill(TCanvas* C, const TRect& R, TColor Colour) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Colour);
    C->FillRect(R);
}

void HLine(TCanvas* C, const TRect& R, TColor Colour) {
    C->Pen()->SetColor(Colour);
    C->MoveTo(R.Left, R.Bottom - 1);
    C->LineTo(R.Right, R.Bottom - 1);
}

// One line of S vertically centred in R: centred, or left from Left.
void DrawLine(TCanvas* C, const std::wstring& S, const TRect& R, bool LeftAligned, int Left) {
    RECT r{LeftAligned ? Left : R.Left, R.Top, R.Right, R.Bottom};
    const UINT how = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | (LeftAligned ? DT_LEFT : DT_CENTER);
    DrawTextW(C->Handle(), S.c_str(), static_cast<int>(S.size()), &r, how);
}

}  // namespace

// ---- items ----------------------------------------------------------------------------------------------------------
TbsSkinOfficeItem::TbsSkinOfficeItem(TCollection* ACollection) : TCollectionItem(ACollection) {
    if (auto* items = dynamic_cast<TbsSkinOfficeItems*>(ACollection); items && items->OfficeListBox)
        Active = Index() == items->OfficeListBox->ItemIndex();
}

void TbsSkinOfficeItem::Assign(TPersistent* Source) {
    auto* s = dynamic_cast<TbsSkinOfficeItem*>(Source);
    if (!s) {
        TCollectionItem::Assign(Source);
        return;
    }
    FImageIndex = s->FImageIndex;
    FCaption = s->FCaption;
    FTitle = s->FTitle;
    FEnabled = s->FEnabled;
    FChecked = s->FChecked;
    FHeader = s->FHeader;
    Changed(false);
}

void TbsSkinOfficeItem::SetImageIndex(int Value) {
    FImageIndex = Value;
    Changed(false);
}

void TbsSkinOfficeItem::SetTitle(const std::wstring& Value) {
    FTitle = Value;
    Changed(false);
}

void TbsSkinOfficeItem::SetCaption(const std::wstring& Value) {
    FCaption = Value;
    Changed(false);
}

void TbsSkinOfficeItem::SetEnabled(bool Value) {
    FEnabled = Value;
    Changed(false);
}

void TbsSkinOfficeItem::SetHeader(bool Value) {
    FHeader = Value;
    Changed(false);
}

void TbsSkinOfficeItem::SetChecked(bool Value) {
    FChecked = Value;
    Changed(false);
}

TbsSkinOfficeItems::TbsSkinOfficeItems(TbsSkinOfficeListBox* AListBox)
    : TCollection([](TCollection* c) -> TCollectionItem* { return new TbsSkinOfficeItem(c); }),
      OfficeListBox(AListBox) {}

TPersistent* TbsSkinOfficeItems::GetOwner() {
    return OfficeListBox;
}

void TbsSkinOfficeItems::Update(TCollectionItem* /*Item*/) {
    if (OfficeListBox)
        OfficeListBox->ItemsChanged();
}

// ---- the list -------------------------------------------------------------------------------------------------------
TbsSkinOfficeListBox::TbsSkinOfficeListBox(TComponent* AOwner)
    : TbsSkinCustomControl(AOwner), FItems(std::make_unique<TbsSkinOfficeItems>(this)) {
    SetControlStyle(ControlStyle() + csAcceptsControls + csReplicatable);
    FSkinDataName = L"listbox";
    TbsSkinCustomControl::SetBounds(Left(), Top(), 150, 150);
}

TbsSkinOfficeListBox::~TbsSkinOfficeListBox() = default;

void TbsSkinOfficeListBox::BeforeDestruction() {
    FTimer.reset();
    if (FItems)
        FItems->OfficeListBox = nullptr;
    TbsSkinCustomControl::BeforeDestruction();
}

void TbsSkinOfficeListBox::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    ForgetRemoved(FImages, AComponent);
    if (AComponent == ScrollBar)
        ScrollBar = nullptr;
}

void TbsSkinOfficeListBox::ItemsChanged() {
    Invalidate();
    UpdateScrollInfo();
}

void TbsSkinOfficeListBox::SetItems(TbsSkinOfficeItems* Value) {
    FItems->Assign(Value);
    ItemsChanged();
}

void TbsSkinOfficeListBox::SetImages(TCustomImageList* Value) {
    SetBorrowed<TCustomImageList>(this, FImages, Value);
}

void TbsSkinOfficeListBox::SetItemHeight(int Value) {
    if (FItemHeight != Value) {
        FItemHeight = Value;
        Invalidate();
    }
}

void TbsSkinOfficeListBox::SetHeaderHeight(int Value) {
    if (FHeaderHeight != Value) {
        FHeaderHeight = Value;
        Invalidate();
    }
}

void TbsSkinOfficeListBox::SetShowItemTitles(bool Value) {
    if (FShowItemTitles != Value) {
        FShowItemTitles = Value;
        Invalidate();
    }
}

void TbsSkinOfficeListBox::SetShowCheckBoxes(bool Value) {
    if (FShowCheckBoxes != Value) {
        FShowCheckBoxes = Value;
        Invalidate();
    }
}

void TbsSkinOfficeListBox::SetShowLines(bool Value) {
    if (FShowLines != Value) {
        FShowLines = Value;
        Invalidate();
    }
}

void TbsSkinOfficeListBox::SetHeaderLeftAlignment(bool Value) {
    if (FHeaderLeftAlignment != Value) {
        FHeaderLeftAlignment = Value;
        Invalidate();
    }
}

void TbsSkinOfficeListBox::SetAlternateRow(bool Value) {
    FAlternateRow = Value;
    Invalidate();
}

bool TbsSkinOfficeListBox::Selectable(int Index) const {
    if (Index < 0 || Index >= FItems->Count())
        return false;
    const TbsSkinOfficeItem* it = FItems->GetItem(Index);
    return it->Enabled() && !it->Header();
}

// ---- layout and scrolling -------------------------------------------------------------------------------------------
int TbsSkinOfficeListBox::CalcHeight(int AItemCount) {
    const int n = std::max(0, std::min(AItemCount, FItems->Count()));
    GetSkinData();
    if (!HasSkin())
        return n * FItemHeight + 4;
    int w = Width(), h = Height();
    CalcSize(w, h);
    return n * FItemHeight + Height() - G.NewClRect.Height();
}

void TbsSkinOfficeListBox::CalcItemRects() {
    GetSkinData();
    FRealMax = 0;
    if (!HasSkin()) {
        FItemsRect = {2, 2, Width() - 2, Height() - 2};
    } else {
        int w = Width(), h = Height();
        CalcSize(w, h);
        FItemsRect = G.NewClRect;
    }
    if (ScrollBar)
        FItemsRect.Right -= ScrollBar->Width();
    int y = FItemsRect.Top;
    for (int i = 0; i < FItems->Count(); ++i) {
        TbsSkinOfficeItem* it = FItems->GetItem(i);
        const int h = it->Header() ? FHeaderHeight : FItemHeight;
        it->ItemRect = {FItemsRect.Left, y - FScrollOffset, FItemsRect.Right, y + h - FScrollOffset};
        const TRect& r = it->ItemRect;
        it->IsVisible = (r.Top >= FItemsRect.Top && r.Top < FItemsRect.Bottom) ||
                        (r.Bottom >= FItemsRect.Top && r.Bottom < FItemsRect.Bottom) ||
                        (r.Top < FItemsRect.Top && r.Bottom >= FItemsRect.Bottom);
        if (it->IsVisible)
            FRealMax = r.Bottom;
        y += h;
    }
    FMax = y;
}

void TbsSkinOfficeListBox::GetScrollInfo(int& AMin, int& AMax, int& APage, int& APosition) {
    CalcItemRects();
    AMin = 0;
    AMax = FMax - FItemsRect.Top;
    APage = FItemsRect.Height();
    if (AMax <= APage) {
        AMax = 0;
        APage = 0;
    }
    APosition = FScrollOffset;
}

void TbsSkinOfficeListBox::UpdateScrollInfo() {
    if (!HandleAllocated() || FInUpdateItems)
        return;
    int mn = 0, mx = 0, page = 0, pos = 0;
    GetScrollInfo(mn, mx, page, pos);
    if (mx != 0) {
        if (!ScrollBar) {
            ShowScrollbar();
            GetScrollInfo(mn, mx, page, pos);
        }
        ScrollBar->SetRange(mn, mx, page, pos);
        ScrollBar->SetLargeChange(page);
    } else if (ScrollBar) {
        HideScrollBar();
        Invalidate();
    }
}

void TbsSkinOfficeListBox::ShowScrollbar() {
    auto* bar = new TbsSkinScrollBar(this);
    bar->SetVisible(false);
    bar->SetParent(this);
    bar->SetDefaultHeight(0);
    bar->SetDefaultWidth(19);
    bar->SetSmallChange(FItemHeight);
    bar->SetLargeChange(FItemHeight);
    bar->SetSkinDataName(L"vscrollbar");
    bar->SetKind(sbVertical);
    bar->SetSkinData(FSD);
    bar->OnChange = [this](TObject*) {
        if (ScrollBar)
            Scroll(ScrollBar->Position());
    };
    ScrollBar = bar;
    AdjustScrollBar();
    bar->SetVisible(true);
    Invalidate();
}

void TbsSkinOfficeListBox::HideScrollBar() {
    TbsSkinScrollBar* bar = ScrollBar;
    ScrollBar = nullptr;
    if (bar) {
        bar->OnChange = nullptr;
        delete bar;
    }
}

void TbsSkinOfficeListBox::AdjustScrollBar() {
    if (!ScrollBar)
        return;
    GetSkinData();
    TRect area{1, 1, Width() - 1, Height() - 1};
    if (HasSkin()) {
        int w = Width(), h = Height();
        CalcSize(w, h);
        area = G.NewClRect;
    }
    ScrollBar->SetBounds(area.Right - ScrollBar->Width(), area.Top, ScrollBar->Width(), area.Height());
}

void TbsSkinOfficeListBox::Scroll(int AScrollOffset) {
    FScrollOffset = AScrollOffset;
    Invalidate();
    UpdateScrollInfo();
}

void TbsSkinOfficeListBox::ScrollToItem(int Index) {
    CalcItemRects();
    if (Index < 0 || Index >= FItems->Count()) {
        UpdateScrollInfo();
        return;
    }
    TRect r = FItems->GetItem(Index)->ItemRect;
    r.Offset(0, FScrollOffset);
    const int old = FScrollOffset;
    if (r.Top - FScrollOffset <= FItemsRect.Top) {
        if (Index == 1 && FItems->GetItem(0)->Header())
            FScrollOffset = 0;
        else
            FScrollOffset = r.Top - FItemsRect.Top;
    } else if (r.Bottom - FScrollOffset >= FItemsRect.Bottom) {
        FScrollOffset = r.Bottom + FItemsRect.Top - Height();
    }
    if (FScrollOffset != old) {
        CalcItemRects();
        Invalidate();
    }
    UpdateScrollInfo();
}

int TbsSkinOfficeListBox::ItemAtPos(int X, int Y) {
    for (int i = 0; i < FItems->Count(); ++i) {
        TbsSkinOfficeItem* it = FItems->GetItem(i);
        if (it->Enabled() && it->ItemRect.Contains({X, Y}))
            return i;
    }
    return -1;
}

void TbsSkinOfficeListBox::BeginUpdateItems() {
    FInUpdateItems = true;
    if (HandleAllocated())
        SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
}

void TbsSkinOfficeListBox::EndUpdateItems() {
    FInUpdateItems = false;
    if (HandleAllocated())
        SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
    Invalidate();
    UpdateScrollInfo();
}

// ---- current item ---------------------------------------------------------------------------------------------------
void TbsSkinOfficeListBox::SetItemIndex(int Value) {
    FItemIndex = Value;
    if (Value < 0) {
        Invalidate();
        return;
    }
    // An index past the items changes nothing else.
    if (Value >= FItems->Count())
        return;
    for (int i = 0; i < FItems->Count(); ++i)
        FItems->GetItem(i)->Active = i == Value;
    Invalidate();
    ScrollToItem(Value);
    TbsSkinOfficeItem* it = FItems->GetItem(Value);
    if (it->OnClick)
        it->OnClick(this);
    if (OnItemClick)
        OnItemClick(this);
}

void TbsSkinOfficeListBox::InitItemIndex(int Value) {
    if (Value < 0) {
        if (FItemIndex >= 0 && FItemIndex < FItems->Count())
            FItems->GetItem(FItemIndex)->Active = false;
        FItemIndex = Value;
        return;
    }
    if (!Selectable(Value))
        return;
    FItemIndex = Value;
    for (int i = 0; i < FItems->Count(); ++i)
        FItems->GetItem(i)->Active = i == Value;
    ScrollToItem(Value);
}

void TbsSkinOfficeListBox::SetCurrentByMouse(int Index) {
    FItemIndex = Index;
    for (int i = 0; i < FItems->Count(); ++i)
        FItems->GetItem(i)->Active = i == Index;
    Invalidate();
    ScrollToItem(Index);
}

void TbsSkinOfficeListBox::FindUp() {
    if (FItemIndex <= 0)
        return;
    for (int i = FItemIndex - 1; i >= 0; --i)
        if (Selectable(i)) {
            SetItemIndex(i);
            return;
        }
}

void TbsSkinOfficeListBox::FindDown() {
    const int start = FItemIndex < 0 ? 0 : FItemIndex + 1;
    for (int i = start; i < FItems->Count(); ++i)
        if (Selectable(i)) {
            SetItemIndex(i);
            return;
        }
}

void TbsSkinOfficeListBox::FindPage(bool Up) {
    CalcItemRects();
    int page = FItemHeight > 0 ? FItemsRect.Height() / FItemHeight : 0;
    if (page == 0)
        page = 1;
    const int n = FItems->Count();
    if (n == 0 || (Up && FItemIndex <= 0))
        return;
    const int start = Up ? FItemIndex - 1 : (FItemIndex < 0 ? 0 : FItemIndex + 1);
    const int end = Up ? std::max(0, FItemIndex - page) : std::min(n - 1, (FItemIndex < 0 ? 0 : FItemIndex) + page);
    const int step = Up ? -1 : 1;
    int found = -1;
    bool pastHeader = false;
    for (int i = start; Up ? i >= end : i <= end; i += step) {
        if (i < 0 || i >= n)
            break;
        if (FItems->GetItem(i)->Header()) {
            pastHeader = true;
            continue;
        }
        if (!Selectable(i))
            continue;
        found = i;
        if (pastHeader)
            break;
    }
    if (found != -1)
        SetItemIndex(found);
}

void TbsSkinOfficeListBox::FindPageUp() {
    FindPage(true);
}

void TbsSkinOfficeListBox::FindPageDown() {
    FindPage(false);
}

// ---- skin -----------------------------------------------------------------------------------------------------------
void TbsSkinOfficeListBox::ChangeSkinData() {
    TbsSkinCustomControl::ChangeSkinData();
    if (auto* e = dynamic_cast<TbsDataSkinEditControl*>(SkinEntryAt(FSD, LookupSkinEntry(FSD, L"edit"))))
        FDisabledFontColor = static_cast<TColor>(e->DisabledFontColor);
    else if (FSD)
        FDisabledFontColor = static_cast<TColor>(FSD->SkinColors()->cBtnShadow);
    // Without a container the built-in disabled colour stays.
    if (ScrollBar) {
        ScrollBar->SetSkinData(FSD);
        AdjustScrollBar();
    }
    CalcItemRects();
    Invalidate();
}

// ---- painting -------------------------------------------------------------------------------------------------------
void TbsSkinOfficeListBox::CreateControlDefaultImage(TBitmap* B) {
    TCanvas* c = B->Canvas();
    Fill(c, {0, 0, B->Width(), B->Height()}, clWindow);
    c->Brush()->SetColor(clBtnShadow);
    c->FrameRect({0, 0, B->Width(), B->Height()});
    DrawItems(c);
}

void TbsSkinOfficeListBox::CreateControlSkinImage(TBitmap* B) {
    TbsSkinCustomControl::CreateControlSkinImage(B);
    DrawItems(B->Canvas());
}

void TbsSkinOfficeListBox::DrawItems(TCanvas* C) {
    CalcItemRects();
    TCanvasClipGuard clip(C);
    C->ClipTo(FItemsRect);
    bool alternate = false;
    for (int i = 0; i < FItems->Count(); ++i) {
        TbsSkinOfficeItem* it = FItems->GetItem(i);
        if (!it->IsVisible)
            continue;
        DrawItem(i, C, alternate);
        alternate = it->Header() ? false : !alternate;
    }
}

void TbsSkinOfficeListBox::DrawItem(int Index, TCanvas* Cnvs, bool AAlternateColor) {
    if (HasSkin())
        SkinDrawItem(Index, Cnvs, AAlternateColor);
    else
        DefaultDrawItem(Index, Cnvs, AAlternateColor);
}

void TbsSkinOfficeListBox::DrawContent(int Index, TCanvas* C, TRect T, bool Active) {
    TbsSkinOfficeItem* it = FItems->GetItem(Index);
    if (!it->Title().empty() && FShowItemTitles) {
        TFontStyles st = C->Font()->Style();
        C->Font()->SetStyle(st + fsBold);
        const int th = C->TextHeight(it->Title());
        RECT r{T.Left, T.Top, T.Right, T.Top + th};
        DrawTextW(C->Handle(), it->Title().c_str(), static_cast<int>(it->Title().size()), &r,
                  DT_SINGLELINE | DT_NOPREFIX | DT_LEFT | DT_END_ELLIPSIS);
        C->Font()->SetStyle(st);
        T.Top += th;
    }
    if (FImages && it->ImageIndex() >= 0 && it->ImageIndex() < FImages->Count()) {
        DrawImageAndTextLeft(C, T, 0, 5, blGlyphLeft, it->Caption(), it->ImageIndex(), FImages, false,
                             it->Enabled(), false, 0);
        return;
    }
    if (FShowItemTitles)
        T.Left += 10;
    RECT m{0, 0, std::max(0, T.Width()), 0};
    DrawTextW(C->Handle(), it->Caption().c_str(), static_cast<int>(it->Caption().size()), &m,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    const int h = m.bottom - m.top;
    const int top = std::max(T.Top, T.Top + (T.Height() - h) / 2);
    RECT r{T.Left, top, T.Left + (m.right - m.left), top + h};
    DrawTextW(C->Handle(), it->Caption().c_str(), static_cast<int>(it->Caption().size()), &r,
              DT_WORDBREAK | DT_NOPREFIX);
    (void)Active;
}

void TbsSkinOfficeListBox::DefaultDrawItem(int Index, TCanvas* Cnvs, bool AAlternateColor) {
    TbsSkinOfficeItem* it = FItems->GetItem(Index);
    const TRect& R = it->ItemRect;
    TCanvasClipGuard clip(Cnvs);
    Cnvs->ClipTo(R);
    TColor fill = clWindow, text = it->Enabled() ? clWindowText : static_cast<TColor>(0x808080);
    if (it->Header()) {
        fill = clBtnShadow;
        text = clBtnHighlight;
    } else if (it->Active) {
        fill = clHighlight;
        text = clHighlightText;
    } else if (FAlternateRow && AAlternateColor) {
        fill = GetAlternateColor(clWindow);
    }
    Cnvs->Font()->Assign(DefaultFont());
    Cnvs->Font()->SetColor(text);
    Fill(Cnvs, R, fill);
    Cnvs->Brush()->SetStyle(bsClear);
    TRect T = R;
    T.Inflate(-2, -2);
    if (it->Header()) {
        DrawLine(Cnvs, it->Caption(), T, FHeaderLeftAlignment, T.Left);
        return;
    }
    if (OnDrawItem) {
        OnDrawItem(Cnvs, Index, R);
    } else {
        if (FShowCheckBoxes) {
            T.Left += 16;
            FCheckOffset = 16;
        }
        DrawContent(Index, Cnvs, T, it->Active);
    }
    if (FShowLines)
        HLine(Cnvs, R, clBtnFace);
    if (FShowCheckBoxes) {
        const int mid = (R.Top + R.Bottom) / 2;
        const TRect box{R.Left + 3, mid - 5, R.Left + 16, mid + 8};
        Fill(Cnvs, box, clWindow);
        Cnvs->Brush()->SetColor(clBtnShadow);
        Cnvs->FrameRect(box);
        if (it->Checked())
            DrawCheckImage(Cnvs, R.Left + 6, mid - 3, clBlack);
    }
    if (it->Active && Focused()) {
        Cnvs->Font()->SetColor(clBlack);
        DrawSkinFocusRect(Cnvs, R);
    }
}

void TbsSkinOfficeListBox::SkinDrawHeaderItem(int Index, TCanvas* Cnvs) {
    TbsSkinOfficeItem* it = FItems->GetItem(Index);
    auto* e = dynamic_cast<TbsDataSkinLabelControl*>(SkinEntryAt(FSD, LookupSkinEntry(FSD, HeaderSkinDataName)));
    if (!e)
        e = dynamic_cast<TbsDataSkinLabelControl*>(SkinEntryAt(FSD, LookupSkinEntry(FSD, L"label")));
    TBitmap* pic = e ? SkinPictureAt(FSD, e->PictureIndex) : nullptr;
    const TRect& R = it->ItemRect;
    if (!e || !pic || !RectInPicture(e->SkinRect, pic) || R.IsEmpty())
        return;
    TBitmap b(R.Width(), R.Height());
    CreateStretchImage(&b, pic, e->SkinRect, e->ClRect, true);
    TCanvas* c = b.Canvas();
    c->Font()->SetName(e->FontName);
    c->Font()->SetColor(static_cast<TColor>(e->FontColor));
    c->Font()->SetHeight(e->FontHeight);
    c->Font()->SetStyle(ToFontStyles(e->FontStyle));
    c->Font()->SetCharset(SkinFontCharset(FSD, DefaultFont()->Charset()));
    c->Brush()->SetStyle(bsClear);
    DrawLine(c, it->Caption(), {1, 1, b.Width() - 1, b.Height() - 1}, FHeaderLeftAlignment, e->ClRect.Left);
    Cnvs->Draw(R.Left, R.Top, &b);
}

void TbsSkinOfficeListBox::SkinDrawItem(int Index, TCanvas* Cnvs, bool AAlternateColor) {
    TbsSkinOfficeItem* it = FItems->GetItem(Index);
    if (it->Header()) {
        SkinDrawHeaderItem(Index, Cnvs);
        return;
    }
    // An entry of another kind counts as missing.
    auto* e = dynamic_cast<TbsDataSkinListBox*>(SkinEntryAt(FSD, LookupSkinEntry(FSD, ItemSkinDataName)));
    if (!e)
        return;
    const TRect& R = it->ItemRect;
    const TbsSkinColors* colours = FSD->SkinColors();
    if (FAlternateRow && AAlternateColor)
        Fill(Cnvs, R, GetAlternateColor(static_cast<TColor>(colours->cWindow)));
    TRect T = R;
    T.Inflate(-2, -2);
    Cnvs->Brush()->SetStyle(bsClear);
    auto* check = FShowCheckBoxes
                      ? dynamic_cast<TbsDataSkinCheckListBox*>(SkinEntryAt(FSD, LookupSkinEntry(FSD, L"checklistbox")))
                      : nullptr;
    if (e->FontColor == FDisabledFontColor && FDisabledFontColor == 0)
        FDisabledFontColor = static_cast<TColor>(0x808080);
    auto setFont = [&](TCanvas* C, TColor Colour) {
        if (FUseSkinFont) {
            C->Font()->SetName(e->FontName);
            C->Font()->SetHeight(e->FontHeight);
            C->Font()->SetStyle(ToFontStyles(e->FontStyle));
        } else {
            C->Font()->Assign(DefaultFont());
        }
        C->Font()->SetColor(Colour);
        C->Font()->SetCharset(SkinFontCharset(FSD, DefaultFont()->Charset()));
    };
    const bool ownText = FSkinDataName == L"listbox" || FSkinDataName == L"memo" || FSkinDataName == L"menupagepanel";
    const TColor normal = it->Enabled() ? static_cast<TColor>(ownText ? e->FontColor : colours->cBtnText)
                                        : FDisabledFontColor;
    auto content = [&](TCanvas* C, TRect T2, bool Active) {
        if (OnDrawItem) {
            OnDrawItem(C, Index, T2);
            return;
        }
        if (FShowCheckBoxes) {
            TBitmap* pic = Picture;
            if (check) {
                const TRect src = it->Checked() ? check->CheckImageRect : check->UnCheckImageRect;
                if (RectInPicture(src, pic)) {
                    TBitmap m(src.Width(), src.Height());
                    m.Canvas()->CopyRect({0, 0, src.Width(), src.Height()}, pic->Canvas(), src);
                    m.SetTransparent(true);
                    C->Draw(T2.Left, T2.Top + T2.Height() / 2 - src.Height() / 2, &m);
                }
                T2.Left += check->CheckImageRect.Width() + 5;
                FCheckOffset = check->CheckImageRect.Width() + 5;
            } else {
                if (it->Checked())
                    DrawCheckImage(C, T2.Left + 2, T2.Top + T2.Height() / 2 - 5,
                                   static_cast<TColor>(Active ? e->ActiveFontColor : colours->cWindowText));
                T2.Left += 16;
                FCheckOffset = 16;
            }
        }
        DrawContent(Index, C, T2, Active);
    };
    if (it->Active && it->Enabled()) {
        TBitmap b(std::max(1, R.Width()), std::max(1, R.Height()));
        const TRect src = Focused() ? e->FocusItemRect : e->ActiveItemRect;
        if (RectInPicture(src, Picture))
            CreateStretchImage(&b, Picture, src, e->ItemTextRect, true);
        setFont(b.Canvas(), static_cast<TColor>(Focused() ? e->FocusFontColor : e->ActiveFontColor));
        b.Canvas()->Brush()->SetStyle(bsClear);
        content(b.Canvas(), {2, 2, b.Width() - 2, b.Height() - 2}, true);
        Cnvs->Draw(R.Left, R.Top, &b);
        return;
    }
    TCanvasClipGuard clip(Cnvs);
    Cnvs->ClipTo(R);
    setFont(Cnvs, normal);
    content(Cnvs, T, false);
    if (FShowLines)
        HLine(Cnvs, R, static_cast<TColor>(colours->cBtnShadow));
}

// ---- mouse, keys, messages ------------------------------------------------------------------------------------------
void TbsSkinOfficeListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
    const int i = ItemAtPos(X, Y);
    if (Button == mbLeft && Selectable(i)) {
        SetCurrentByMouse(i);
        FMouseDown = true;
        FMouseActive = i;
    }
}

void TbsSkinOfficeListBox::MouseMove(TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseMove(Shift, X, Y);
    CalcItemRects();
    if (FItemsRect.Contains({X, Y})) {
        StopScrollTimer();
        const int i = ItemAtPos(X, Y);
        if (Selectable(i) && i != FMouseActive && (FMouseDown || MouseMoveChangeIndex)) {
            SetCurrentByMouse(i);
            FMouseActive = i;
        }
    } else if (FMouseDown) {
        EnableScrollTimer(Y < FItemsRect.Top ? 1 : 2);
    }
}

void TbsSkinOfficeListBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
    FMouseDown = false;
    StopScrollTimer();
    const int i = ItemAtPos(X, Y);
    if (Button == mbLeft && Selectable(i))
        SetItemIndex(i);
    if (FShowCheckBoxes && i != -1 && i == FItemIndex && X < FItems->GetItem(i)->ItemRect.Left + FCheckOffset) {
        TbsSkinOfficeItem* it = FItems->GetItem(i);
        it->SetChecked(!it->Checked());
        if (OnItemCheckClick)
            OnItemCheckClick(this);
    }
}

void TbsSkinOfficeListBox::KeyDown(WORD& Key, TShiftState Shift) {
    TbsSkinCustomControl::KeyDown(Key, Shift);
    switch (Key) {
        case VK_PRIOR:
            FindPageUp();
            break;
        case VK_NEXT:
            FindPageDown();
            break;
        case VK_LEFT:
        case VK_UP:
            FindUp();
            break;
        case VK_RIGHT:
        case VK_DOWN:
            FindDown();
            break;
        default:
            break;
    }
}

void TbsSkinOfficeListBox::KeyUp(WORD& Key, TShiftState Shift) {
    TbsSkinCustomControl::KeyUp(Key, Shift);
    if (FShowCheckBoxes && Key == VK_SPACE && FItemIndex >= 0 && FItemIndex < FItems->Count()) {
        TbsSkinOfficeItem* it = FItems->GetItem(FItemIndex);
        it->SetChecked(!it->Checked());
        if (OnItemCheckClick)
            OnItemCheckClick(this);
    }
}

void TbsSkinOfficeListBox::EnableScrollTimer(int Value) {
    FTimerMode = Value;
    if (FTimer && FTimer->Running())
        return;
    if (!FTimer) {
        FTimer = ControlSeam().NewTimer();
        FTimer->OnTick = [this] {
            if (FTimerMode == 1)
                FindUp();
            else if (FTimerMode == 2)
                FindDown();
        };
    }
    FTimer->Start(50);
}

void TbsSkinOfficeListBox::StopScrollTimer() {
    if (FTimer)
        FTimer->Stop();
    FTimerMode = 0;
}

void TbsSkinOfficeListBox::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (!Focused() && CanFocus() && !TakeFocusForClick(this, FClicksDisabled))
                return;
            break;
        case CN_COMMAND:
            if (FClicksDisabled)
                return;
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            TbsSkinCustomControl::WndProc(Message);
            Invalidate();
            return;
        case WM_GETDLGCODE:
            Message.Result = DLGC_WANTARROWS;
            return;
        case WM_SIZE:
            TbsSkinCustomControl::WndProc(Message);
            if (Height() != FOldHeight) {
                CalcItemRects();
                if (FItemsRect.Bottom >= FRealMax && FScrollOffset > 0) {
                    FScrollOffset = std::max(0, FScrollOffset - (FItemsRect.Bottom - FRealMax));
                    CalcItemRects();
                    Invalidate();
                }
            }
            AdjustScrollBar();
            UpdateScrollInfo();
            FOldHeight = Height();
            return;
        case WM_MOUSEWHEEL:
            TbsSkinCustomControl::WndProc(Message);
            if (ScrollBar) {
                const int d = static_cast<short>(HIWORD(Message.WParam));
                ScrollBar->SetPosition(ScrollBar->Position() +
                                       (d < 0 ? ScrollBar->SmallChange() : -ScrollBar->SmallChange()));
            }
            return;
        default:
            break;
    }
    TbsSkinCustomControl::WndProc(Message);
}

// ---- the popup ------------------------------------------------------------------------------------------------------
TbsPopupOfficeListBox::TbsPopupOfficeListBox(TComponent* AOwner) : TbsSkinOfficeListBox(AOwner) {
    SetVisible(false);
}

void TbsPopupOfficeListBox::CreateParams(TCreateParams& Params) {
    TbsSkinOfficeListBox::CreateParams(Params);
    PopupWindowParams(Params, Owner());
}

void TbsPopupOfficeListBox::Hide() {
    FMouseActive = -1;
    if (HandleAllocated())
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    SetVisible(false);
}
