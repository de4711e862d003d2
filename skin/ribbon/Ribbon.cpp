#include "skin/ribbon/Ribbon.h"

#include <windowsx.h>

#include <algorithm>

#include "classlib/Forms.h"
#include "classlib/GdiHandles.h"
#include "classlib/Menus.h"
#include "classlib/SysUtils.h"
#include "skin/controls/ControlSkinning.h"
#include "skin/core/GlyphPainters.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinText.h"
#include "skin/form/SkinForm.h"
#include "skin/form/SkinHint.h"
#include "skin/form/SkinPopupMenu.h"
#include "skin/ribbon/AppMenu.h"
#include "skin/ribbon/RibbonFrame.h"
#include "skin/ribbon/RibbonLayout.h"
#include "skin/ribbon/RibbonPage.h"

namespace {
constexpr int kMinAppButtonWidth = 35;
constexpr int kDefRowHeight = 24;
constexpr int kDefMDIButtonSize = 22;

int TextWidth(TCanvas* C, const std::wstring& S) {
    TRect r{0, 0, 10, 10};
    C->DrawText(S, r, DT_CALCRECT | DT_SINGLELINE);
    return r.Width();
}

void FillRectWith(TCanvas* C, const TRect& R, TColor Colour) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Colour);
    C->FillRect(R);
}

// Part R of Picture at (X, Y) of C, with TransparentColour keyed out when Transparent.
void DrawPart(TCanvas* C, TBitmap* Picture, const TRect& R, int X, int Y, bool Transparent, int TransparentColour) {
    if (!Picture || R.IsEmpty() || !RectInPicture(R, Picture))
        return;
    if (Transparent)
        TransparentBlt(C->Handle(), X, Y, R.Width(), R.Height(), Picture->Canvas()->Handle(), R.Left, R.Top, R.Width(),
                       R.Height(), ColorToRGB(static_cast<TColor>(TransparentColour)) & 0xFFFFFF);
    else
        BitBlt(C->Handle(), X, Y, R.Width(), R.Height(), Picture->Canvas()->Handle(), R.Left, R.Top, SRCCOPY);
}
}  // namespace

std::wstring GetUniqueName(const std::wstring& Pattern, TComponent* Form) {
    for (int i = 1;; ++i) {
        const std::wstring name = Format(Pattern, i);
        if (!Form || !Form->FindComponent(name))
            return name;
    }
}

// ---- Tabs -----------------------------------------------------------------------------------------------------------
TbsRibbonTab::TbsRibbonTab(TCollection* Collection) : TCollectionItem(Collection) {}

TbsRibbon* TbsRibbonTab::Ribbon() const {
    auto* tabs = static_cast<TbsRibbonTabs*>(Collection());
    return tabs ? tabs->Ribbon : nullptr;
}

void TbsRibbonTab::SetPage(TbsRibbonPage* Value) {
    FPage = Value;
    if (FPage)
        if (TbsRibbon* r = Ribbon()) {
            FPage->Ribbon = r;
            FPage->FreeNotification(r);
        }
}

void TbsRibbonTab::Assign(TPersistent* Source) {
    if (auto* t = dynamic_cast<TbsRibbonTab*>(Source)) {
        SetPage(t->FPage);
        return;
    }
    TCollectionItem::Assign(Source);
}

void TbsRibbonTab::SetVisible(bool Value) {
    if (FVisible == Value)
        return;
    FVisible = Value;
    if (TbsRibbon* r = Ribbon())
        r->TabVisibilityChanged(this, Index());
}

TbsRibbonTabs::TbsRibbonTabs(TbsRibbon* ARibbon) : Ribbon(ARibbon) {}

TCollectionItem* TbsRibbonTabs::CreateItem() {
    auto* t = new TbsRibbonTab(this);
    return t;
}

TPersistent* TbsRibbonTabs::GetOwner() {
    return Ribbon;
}

TbsRibbonTab* TbsRibbonTabs::Add() {
    return WithPage(static_cast<TbsRibbonTab*>(TCollection::Add()));
}

TbsRibbonTab* TbsRibbonTabs::Insert(int Index) {
    return WithPage(static_cast<TbsRibbonTab*>(TCollection::Insert(Index)));
}

TbsRibbonTab* TbsRibbonTabs::WithPage(TbsRibbonTab* Tab) {
    // A tab added while the ribbon runs gets its page (a copied collection brings its own pages).
    if (Ribbon && !Ribbon->ComponentState().Contains(csLoading))
        Ribbon->CreatePageForItem(Tab);
    return Tab;
}

void TbsRibbonTabs::Delete(int Index) {
    if (Index >= 0 && Index < Count())
        if (TbsRibbonPage* p = Items(Index)->Page()) {
            Items(Index)->SetPage(nullptr);
            delete p;
        }
    TCollection::Delete(Index);
    if (Ribbon)
        Ribbon->TabDeleted(Index);
}

void TbsRibbonTabs::Update(TCollectionItem* Item) {
    TCollection::Update(Item);
    if (Ribbon && !Ribbon->ComponentState().Contains(csLoading))
        Ribbon->Invalidate();
}

// ---- Buttons --------------------------------------------------------------------------------------------------------
TbsRibbonButtonItem::TbsRibbonButtonItem(TCollection* Collection) : TCollectionItem(Collection) {}

TbsRibbonButtonItem::~TbsRibbonButtonItem() {
    if (FPopupMenu && Ribbon())
        FPopupMenu->RemoveFreeNotification(Ribbon());
}

TbsRibbon* TbsRibbonButtonItem::Ribbon() const {
    auto* items = static_cast<TbsRibbonButtonItems*>(Collection());
    return items ? items->Ribbon : nullptr;
}

void TbsRibbonButtonItem::SetImageIndex(int Value) {
    FImageIndex = Value;
    Changed(false);
}

void TbsRibbonButtonItem::SetEnabled(bool Value) {
    FEnabled = Value;
    Changed(false);
}

void TbsRibbonButtonItem::SetVisible(bool Value) {
    FVisible = Value;
    Changed(false);
}

void TbsRibbonButtonItem::SetPopupMenu(TbsSkinPopupMenu* Value) {
    if (FPopupMenu == Value)
        return;
    TbsRibbon* r = Ribbon();
    if (FPopupMenu && r)
        FPopupMenu->RemoveFreeNotification(r);
    FPopupMenu = Value;
    if (FPopupMenu && r)
        FPopupMenu->FreeNotification(r);
    Changed(false);
}

void TbsRibbonButtonItem::SetCaption(const std::wstring& Value) {
    if (FCaption == Value)
        return;
    FCaption = Value;
    Changed(false);
}

void TbsRibbonButtonItem::Assign(TPersistent* Source) {
    if (auto* b = dynamic_cast<TbsRibbonButtonItem*>(Source)) {
        FImageIndex = b->FImageIndex;
        Hint = b->Hint;
        FEnabled = b->FEnabled;
        FVisible = b->FVisible;
        SetPopupMenu(b->FPopupMenu);
        FCaption = b->FCaption;
        Changed(false);
        return;
    }
    TCollectionItem::Assign(Source);
}

TbsRibbonButtonItems::TbsRibbonButtonItems(TbsRibbon* ARibbon) : Ribbon(ARibbon) {}

TCollectionItem* TbsRibbonButtonItems::CreateItem() {
    return new TbsRibbonButtonItem(this);
}

TPersistent* TbsRibbonButtonItems::GetOwner() {
    return Ribbon;
}

void TbsRibbonButtonItems::Update(TCollectionItem* Item) {
    TCollection::Update(Item);
    if (Ribbon && !Ribbon->ComponentState().Contains(csLoading))
        Ribbon->Invalidate();
}

// ---- The ribbon -----------------------------------------------------------------------------------------------------
TbsRibbon::TbsRibbon(TComponent* AOwner)
    : TbsSkinControl(AOwner),
      FTabs(std::make_unique<TbsRibbonTabs>(this)),
      FButtons(std::make_unique<TbsRibbonButtonItems>(this)),
      FMDIButtons(std::make_unique<TbsRibbonButtonItems>(this)) {
    SetControlStyle(ControlStyle() + csAcceptsControls);
    FSkinDataName = L"officetab";
    SetHeight(115);
    SetAlign(alTop);
    ShowAppButton();
}

TbsRibbon::~TbsRibbon() {
    UnHookApp();
    // The pages belong to the form: they forget the ribbon.
    for (int i = 0; i < FTabs->Count(); ++i)
        if (TbsRibbonPage* p = FTabs->Items(i)->Page()) {
            p->Ribbon = nullptr;
            p->RemoveFreeNotification(this);
        }
    if (FAppMenu && FAppMenu->Ribbon == this)
        FAppMenu->Ribbon = nullptr;
}

void TbsRibbon::CreateParams(TCreateParams& Params) {
    TbsSkinControl::CreateParams(Params);
    Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TbsRibbon::SetTabs(TbsRibbonTabs* Value) {
    FTabs->Assign(Value);
    Invalidate();
}

void TbsRibbon::SetButtons(TbsRibbonButtonItems* Value) {
    FButtons->Assign(Value);
    Invalidate();
}

void TbsRibbon::SetTabBoldStyle(bool Value) {
    if (FTabBoldStyle == Value)
        return;
    FTabBoldStyle = Value;
    Invalidate();
}

void TbsRibbon::ShowAppButton() {
    delete FAppButton;
    FAppButton = new TbsAppButton(this);
    FAppButton->Ribbon = this;
    FAppButton->SetTabStop(false);
    FAppButton->SetBounds(0, 1, FAppButtonWidth, 24);
    FAppButton->SetParent(this);
    FAppButton->SetSkinDataName(L"officemenubutton");
    FAppButton->OnHideTrackMenu = [this](TObject*) { HideTrackMenu(); };
    if (FSD)
        FAppButton->SetSkinData(FSD);
    FLeftOffset = FAppButtonWidth + 3;
}

void TbsRibbon::SetAppButtonWidth(int Value) {
    if (Value < kMinAppButtonWidth || Value == FAppButtonWidth)
        return;
    FAppButtonWidth = Value;
    if (FAppButton)
        FAppButton->SetWidth(Value);
    FLeftOffset = Value + 3;
    Invalidate();
}

int TbsRibbon::AppButtonSpacing() const {
    return FAppButton ? FAppButton->Spacing() : 0;
}

void TbsRibbon::SetAppButtonSpacing(int Value) {
    if (FAppButton)
        FAppButton->SetSpacing(Value);
}

int TbsRibbon::AppButtonMargin() const {
    return FAppButton ? FAppButton->Margin() : 0;
}

void TbsRibbon::SetAppButtonMargin(int Value) {
    if (FAppButton)
        FAppButton->SetMargin(Value);
}

std::wstring TbsRibbon::AppButtonCaption() const {
    return FAppButton ? FAppButton->Caption() : std::wstring();
}

void TbsRibbon::SetAppButtonCaption(const std::wstring& Value) {
    if (FAppButton)
        FAppButton->SetCaption(Value);
}

void TbsRibbon::SetAppButtonImageList(TCustomImageList* Value) {
    SetBorrowed(this, FAppButtonImageList, Value);
    if (FAppButton)
        FAppButton->SetImageList(Value);
    Invalidate();
}

void TbsRibbon::SetAppButtonImageIndex(int Value) {
    FAppButtonImageIndex = std::max(Value, 0);
    if (FAppButton)
        FAppButton->SetImageIndex(FAppButtonImageIndex);
}

void TbsRibbon::SetAppButtonPopupMenu(TbsSkinPopupMenu* Value) {
    SetBorrowed(this, FAppButtonPopupMenu, Value);
    if (FAppButton)
        FAppButton->SetSkinPopupMenu(Value);
}

void TbsRibbon::SetButtonsImageList(TCustomImageList* Value) {
    SetBorrowed(this, FButtonsImageList, Value);
}

void TbsRibbon::SetSkinHint(TbsSkinHint* Value) {
    SetBorrowed(this, FSkinHint, Value);
}

void TbsRibbon::SetAppMenu(TbsAppMenu* Value) {
    SetBorrowed(this, FAppMenu, Value);
    if (FAppMenu) {
        FAppMenu->Ribbon = this;
        FAppMenu->Hide();
    }
}

void TbsRibbon::SetSkinData(TbsSkinData* Value) {
    TbsSkinControl::SetSkinData(Value);
    if (FAppButton)
        FAppButton->SetSkinData(Value);
}

void TbsRibbon::ChangeSkinData() {
    TbsSkinControl::ChangeSkinData();
    if (TbsRibbonPage* p = ActivePage())
        p->UpDateSize();
    if (FAppButton)
        FAppButton->SetBounds(0, 1, FAppButton->Width(), FAppButton->Height());
    if (FAppMenu && FAppMenu->Visible())
        PlaceAppMenu();
    Invalidate();
}

void TbsRibbon::Loaded() {
    TbsSkinControl::Loaded();
    for (int i = 0; i < FTabs->Count(); ++i)
        if (TbsRibbonPage* p = FTabs->Items(i)->Page()) {
            p->Ribbon = this;
            if (i != FTabIndex)
                p->Hide();
        }
    if (FAppMenu)
        FAppMenu->Ribbon = this;
}

void TbsRibbon::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FAppButton)
        FAppButton = nullptr;
    if (AComponent == FAppButtonPopupMenu) {
        FAppButtonPopupMenu = nullptr;
        if (FAppButton)
            FAppButton->SetSkinPopupMenu(nullptr);
    }
    if (AComponent == FAppButtonImageList) {
        FAppButtonImageList = nullptr;
        if (FAppButton)
            FAppButton->SetImageList(nullptr);
    }
    if (AComponent == FButtonsImageList)
        FButtonsImageList = nullptr;
    if (AComponent == FSkinHint)
        FSkinHint = nullptr;
    if (AComponent == FAppMenu) {
        UnHookApp();
        FAppMenu = nullptr;
    }
    for (int i = 0; i < FButtons->Count(); ++i)
        if (FButtons->Items(i)->PopupMenu() == AComponent)
            FButtons->Items(i)->SetPopupMenu(nullptr);
    if (auto* page = dynamic_cast<TbsRibbonPage*>(AComponent))
        PageDestroyed(page);
}

void TbsRibbon::PageDestroyed(TbsRibbonPage* Page) {
    bool changed = false;
    for (int i = 0; i < FTabs->Count(); ++i)
        if (FTabs->Items(i)->Page() == Page) {
            FTabs->Items(i)->SetPage(nullptr);
            changed = true;
        }
    if (changed && !ComponentState().Contains(csDestroying))
        Invalidate();
}

// ---- Skin -----------------------------------------------------------------------------------------------------------
TbsDataSkinTabControl* TbsRibbon::TabEntry() {
    GetSkinData();
    auto* e = dynamic_cast<TbsDataSkinTabControl*>(Entry());
    // An entry whose picture is not loaded gives the built-in look.
    if (!e || !SkinPictureAt(FSD, e->PictureIndex) || !RectInPicture(e->SkinRect, SkinPictureAt(FSD, e->PictureIndex)))
        return nullptr;
    return e;
}

TBitmap* TbsRibbon::TabPicture() {
    TbsDataSkinTabControl* e = TabEntry();
    return e ? SkinPictureAt(FSD, e->PictureIndex) : nullptr;
}

TbsDataSkinButtonControl* TbsRibbon::ButtonEntry(TBitmap** Picture) {
    if (Picture)
        *Picture = nullptr;
    if (!TabEntry())
        return nullptr;
    int i = LookupSkinEntry(FSD, L"officeribbonbutton");
    if (i == -1)
        i = LookupSkinEntry(FSD, L"resizetoolbutton");
    auto* e = dynamic_cast<TbsDataSkinButtonControl*>(SkinEntryAt(FSD, i));
    if (e && Picture)
        *Picture = SkinPictureAt(FSD, e->PictureIndex);
    return e;
}

bool TbsRibbon::IsModernSkin() {
    // The skinned form of this code base has no modern-skin notion: the classic offsets hold.
    return false;
}

// ---- Geometry -------------------------------------------------------------------------------------------------------
int TbsRibbon::RibbonTopHeight() {
    TbsDataSkinTabControl* e = TabEntry();
    return e ? e->TabRect.Height() + 1 : kDefRowHeight;
}

TRect TbsRibbon::GetPageBoundsRect() {
    TbsDataSkinTabControl* e = TabEntry();
    return RibbonPageBounds(Width(), Height(), RibbonTopHeight(), e != nullptr, e ? e->SkinRect : TRect{},
                            e ? e->ClRect : TRect{});
}

void TbsRibbon::GetMDIButtonsSize(int& W, int& H) {
    TbsDataSkinTabControl* e = TabEntry();
    if (e && !e->MDICloseRect.IsEmpty()) {
        W = e->MDICloseRect.Width();
        H = e->MDICloseRect.Height();
    } else {
        W = H = kDefMDIButtonSize;
    }
}

bool TbsRibbon::ButtonsShown() const {
    return FButtons->Count() > 0 && FButtonsImageList;
}

void TbsRibbon::CalcItemRects(TCanvas* Canvas) {
    TbsDataSkinTabControl* e = TabEntry();
    const int top = RibbonTopHeight();
    if (ButtonsShown()) {
        TFont saved;
        saved.Assign(Canvas->Font());
        if (e) {
            TbsDataSkinButtonControl* b = ButtonEntry(nullptr);
            if (b) {
                Canvas->Font()->SetName(b->FontName);
                Canvas->Font()->SetStyle(ToFontStyles(b->FontStyle));
                Canvas->Font()->SetHeight(b->FontHeight);
            }
        } else {
            Canvas->Font()->Assign(Font());
        }
        std::vector<TbsRibbonButtonInfo> infos;
        for (int i = 0; i < FButtons->Count(); ++i) {
            TbsRibbonButtonItem* it = FButtons->Items(i);
            const bool measured = !e || ButtonEntry(nullptr);
            infos.push_back({it->Visible(), it->PopupMenu() != nullptr,
                             it->Caption().empty() ? 0 : (measured ? TextWidth(Canvas, it->Caption()) : 0)});
        }
        Canvas->Font()->Assign(&saved);
        const std::vector<TRect> r = RibbonButtonRects(infos, FButtonsImageList->Width(), top, Width(), FRightOffset);
        for (int i = 0; i < FButtons->Count(); ++i)
            FButtons->Items(i)->ItemRect = r[i];
    } else {
        FRightOffset = 5;
    }
    if (FMDIButtons->Count() > 0) {
        int w = 0, h = 0;
        GetMDIButtonsSize(w, h);
        int x = Width() - FRightOffset;
        for (int i = 0; i < FMDIButtons->Count(); ++i) {
            FMDIButtons->Items(i)->ItemRect = {x - w, 1, x, h + 1};
            x -= w;
        }
        FRightOffset = Width() - x + 2;
    }
    const bool modern = IsModernSkin();
    const int available = Width() - FLeftOffset - FRightOffset - (modern ? 3 : 0);
    std::vector<int> natural;
    std::vector<TbsRibbonTab*> paged;
    for (int i = 0; i < FTabs->Count(); ++i) {
        TbsRibbonTab* t = FTabs->Items(i);
        if (t->Visible() && t->Page()) {
            natural.push_back(TextWidth(Canvas, t->Page()->Caption()) + kRibbonTabPadding);
            paged.push_back(t);
        }
    }
    const std::vector<int> widths = RibbonTabWidths(natural, available, FShowDivider);
    for (size_t k = 0; k < paged.size(); ++k)
        paged[k]->Width = widths[k];
    int x = modern ? FLeftOffset - 3 : FLeftOffset;
    const int bottom = e ? e->TabRect.Height() + 1 : kDefRowHeight;
    for (int i = 0; i < FTabs->Count(); ++i) {
        TbsRibbonTab* t = FTabs->Items(i);
        if (!t->Visible())
            continue;
        t->ItemRect = {x, 1, x + t->Width, bottom};
        x += t->Width;
    }
}

// ---- Tab selection --------------------------------------------------------------------------------------------------
bool TbsRibbon::AnyTabVisible() const {
    for (int i = 0; i < FTabs->Count(); ++i)
        if (FTabs->Items(i)->Visible())
            return true;
    return false;
}

int TbsRibbon::TabFromPoint(TPoint P) const {
    for (int i = 0; i < FTabs->Count(); ++i)
        if (FTabs->Items(i)->Visible() && FTabs->Items(i)->ItemRect.Contains(P))
            return i;
    return -1;
}

int TbsRibbon::GetPageIndex(TbsRibbonPage* Page) const {
    for (int i = 0; i < FTabs->Count(); ++i)
        if (FTabs->Items(i)->Page() == Page)
            return i;
    return -1;
}

TbsRibbonPage* TbsRibbon::ActivePage() const {
    if (FTabIndex < 0 || FTabIndex >= FTabs->Count())
        return nullptr;
    return FTabs->Items(FTabIndex)->Page();
}

void TbsRibbon::SetActivePage(TbsRibbonPage* Page) {
    if (!Page || !AnyTabVisible())
        return;
    const int i = GetPageIndex(Page);
    if (i == -1)
        return;
    FTabs->Items(i)->SetVisible(true);
    SetTabIndex(i);
}

void TbsRibbon::SetTabIndex(int Value) {
    if ((FTabs->Count() == 0 || !AnyTabVisible()) && !FStopCheckTabIndex) {
        FTabIndex = -1;
        Invalidate();
        return;
    }
    if (Value < 0 || Value >= FTabs->Count())
        return;
    TbsRibbonTab* tab = FTabs->Items(Value);
    if (!tab->Visible()) {
        // Only the flag: the selection below shows it.
        TbsUpdateGuard guard(FStopCheckTabIndex);
        tab->SetVisible(true);
    }
    if (Value != FTabIndex) {
        if (OnChangingPage)
            OnChangingPage(this);
        const int old = FTabIndex;
        FTabIndex = Value;
        if (TbsRibbonPage* p = tab->Page()) {
            if (p->Parent() != this)
                p->SetParent(this);
            p->UpDateSize();
            p->Show();
            p->BringToFront();
        }
        if (old >= 0 && old < FTabs->Count())
            if (TbsRibbonPage* p = FTabs->Items(old)->Page())
                p->Hide();
        if (OnChangePage)
            OnChangePage(this);
    } else if (TbsRibbonPage* p = tab->Page(); p && !p->Visible()) {
        p->Show();
    }
    Invalidate();
}

void TbsRibbon::TabVisibilityChanged(TbsRibbonTab* Tab, int Index) {
    if (FStopCheckTabIndex)
        return;
    if (!Tab->Visible() && Tab->Page() && Tab->Page()->Visible())
        Tab->Page()->Hide();
    if (!Tab->Visible() && Index == FTabIndex) {
        for (int i = Index + 1; i < FTabs->Count(); ++i)
            if (FTabs->Items(i)->Visible()) {
                SetTabIndex(i);
                return;
            }
        for (int i = Index - 1; i >= 0; --i)
            if (FTabs->Items(i)->Visible()) {
                SetTabIndex(i);
                return;
            }
    }
    Invalidate();
}

void TbsRibbon::TabDeleted(int Index) {
    if (Index < FTabIndex) {
        --FTabIndex;
        Invalidate();
        return;
    }
    if (Index != FTabIndex)
        return;
    // The selected tab went: its neighbour to the right, else to the left, is selected and shows its page.
    FTabIndex = -1;
    for (int i = Index; i < FTabs->Count(); ++i)
        if (FTabs->Items(i)->Visible()) {
            SetTabIndex(i);
            return;
        }
    for (int i = std::min(Index, FTabs->Count()) - 1; i >= 0; --i)
        if (FTabs->Items(i)->Visible()) {
            SetTabIndex(i);
            return;
        }
    Invalidate();
}

void TbsRibbon::FindFirst() {
    for (int i = 0; i < FTabs->Count(); ++i)
        if (FTabs->Items(i)->Visible()) {
            SetTabIndex(i);
            return;
        }
}

void TbsRibbon::FindLast() {
    for (int i = FTabs->Count() - 1; i >= 0; --i)
        if (FTabs->Items(i)->Visible()) {
            SetTabIndex(i);
            return;
        }
}

void TbsRibbon::FindNextPage() {
    if (FTabIndex < 0)
        return;
    for (int i = FTabIndex + 1; i < FTabs->Count(); ++i)
        if (FTabs->Items(i)->Visible()) {
            SetTabIndex(i);
            return;
        }
}

void TbsRibbon::FindPriorPage(bool CanFocusAppButton) {
    if (FTabIndex == 0 && CanFocusAppButton) {
        if (FAppButton && FAppButton->CanFocus())
            FAppButton->SetFocus();
        return;
    }
    for (int i = FTabIndex - 1; i >= 0; --i)
        if (FTabs->Items(i)->Visible()) {
            SetTabIndex(i);
            return;
        }
}

void TbsRibbon::CreatePageForItem(TbsRibbonTab* Tab) {
    TComponent* form = GetParentForm(this);
    if (!form)
        form = Owner();
    auto* page = new TbsRibbonPage(form ? form : this);
    page->SetName(GetUniqueName(L"bsRibbonPage%d", form));
    page->SetCaption(page->Name());
    Tab->SetPage(page);
    page->SetParent(this);
    page->UpDateSize();
    {
        TbsUpdateGuard guard(FStopCheckTabIndex);
        SetTabIndex(Tab->Index());
    }
    Invalidate();
}

// ---- Painting -------------------------------------------------------------------------------------------------------
void TbsRibbon::Paint() {
    if (WMEraseReady && FInWMPaint) {
        WMEraseReady = false;
        return;
    }
    ++FPaintCount;
    PaintRibbon(Canvas());
}

void TbsRibbon::TabCaption(TCanvas* C, const std::wstring& Text, const TRect& R) {
    TRect r = R;
    const UINT align = TextWidth(C, Text) > R.Width() ? DT_LEFT : DT_CENTER;
    C->Brush()->SetStyle(bsClear);
    C->DrawText(Text, r, DT_SINGLELINE | DT_VCENTER | align);
}

void TbsRibbon::PaintBG(TCanvas* C, const TRect& R) {
    TbsDataSkinTabControl* e = TabEntry();
    if (!e || Width() < 1 || Height() < 1)
        return;
    TBitmap* pic = nullptr;
    TRect src;
    if (e->BGPictureIndex != -1 && (pic = SkinPictureAt(FSD, e->BGPictureIndex))) {
        src = {0, 0, pic->Width(), pic->Height()};
    } else {
        pic = TabPicture();
        src = e->ClRect;
        src.Offset(e->SkinRect.Left, e->SkinRect.Top);
    }
    DrawBackgroundPicture(C, pic, src, R, e->StretchEffect, e->StretchType);
}

void TbsRibbon::PaintRibbon(TCanvas* C) {
    const int W = Width(), H = Height();
    if (W < 1 || H < 1)
        return;
    TbsDataSkinTabControl* e = TabEntry();
    TBitmap* pic = e ? TabPicture() : nullptr;
    const int top = RibbonTopHeight();
    const TRect pb = GetPageBoundsRect();
    const TRect P{pb.Left, pb.Top, pb.Left + pb.Right, pb.Top + pb.Bottom};
    auto drawRow = [&](TBitmap* Row) {
        CalcItemRects(Row->Canvas());
        if (AnyTabVisible())
            for (int i = 0; i < FTabs->Count(); ++i)
                if (FTabs->Items(i)->Visible())
                    e ? DrawTab(Row->Canvas(), i) : DrawDefTab(Row->Canvas(), i);
        if (ButtonsShown())
            for (int i = 0; i < FButtons->Count(); ++i)
                if (FButtons->Items(i)->Visible())
                    DrawButton(Row->Canvas(), i);
        for (int i = 0; i < FMDIButtons->Count(); ++i)
            DrawMDIButton(Row->Canvas(), i);
    };
    if (!e) {
        FillRectWith(C, {0, top + 2, W, H}, clBtnShadow);
        TBitmap row(W, top + 2);
        FillRectWith(row.Canvas(), {0, 0, W, top + 2}, clBtnShadow);
        if (FTabs->Count() == 0)
            FillRectWith(C, P, clBtnFace);
        row.Canvas()->Font()->Assign(Font());
        drawRow(&row);
        C->Draw(0, 0, &row);
        return;
    }
    // The frame around the page area: the page bounds widened by the entry's client insets.
    TbsFrameParts fp;
    ComposeFrameParts(e, pic, P, fp);
    const TRect& F = fp.F;
    TBitmap &l = fp.Left, &t = fp.Top, &r = fp.Right, &b = fp.Bottom;
    TBitmap row(W, t.Height() + top);
    if (e->TabsBGRect.IsEmpty() || !RectInPicture(e->TabsBGRect, pic)) {
        FillRectWith(row.Canvas(), {0, 0, W, top}, static_cast<TColor>(FSD->SkinColors()->cBtnShadow));
    } else {
        SetStretchBltMode(row.Canvas()->Handle(), COLORONCOLOR);
        StretchBlt(row.Canvas()->Handle(), 0, 0, W, top, pic->Canvas()->Handle(), e->TabsBGRect.Left, e->TabsBGRect.Top,
                   e->TabsBGRect.Width(), e->TabsBGRect.Height(), SRCCOPY);
    }
    row.Canvas()->Draw(0, top, &t);
    if (UseSkinFont) {
        row.Canvas()->Font()->SetName(e->FontName);
        row.Canvas()->Font()->SetStyle(ToFontStyles(e->FontStyle));
        row.Canvas()->Font()->SetHeight(e->FontHeight);
        row.Canvas()->Font()->SetCharset(SkinFontCharset(FSD, Font()->Charset()));
    } else {
        row.Canvas()->Font()->Assign(Font());
    }
    drawRow(&row);
    C->Draw(F.Left, F.Top + t.Height(), &l);
    C->Draw(F.Right - r.Width(), F.Top + t.Height(), &r);
    C->Draw(F.Left, F.Bottom - b.Height(), &b);
    C->Draw(0, 0, &row);
    if (FTabs->Count() == 0 || !AnyTabVisible())
        PaintBG(C, P);
}

void TbsRibbon::DrawDefTab(TCanvas* C, int I) {
    TbsRibbonTab* tab = FTabs->Items(I);
    const TRect& R = tab->ItemRect;
    const std::wstring text = tab->Page() ? tab->Page()->Caption() : std::wstring();
    if (I == FTabIndex) {
        TBitmap b(std::max(R.Width(), 1), R.Height() + 2);
        FillRectWith(b.Canvas(), {0, 0, b.Width(), b.Height()}, clBtnFace);
        b.Canvas()->Font()->Assign(C->Font());
        b.Canvas()->Font()->SetColor(clBtnText);
        if (FTabBoldStyle)
            b.Canvas()->Font()->SetStyle(b.Canvas()->Font()->Style() + fsBold);
        TabCaption(b.Canvas(), text, {3, 0, b.Width() - 3, R.Height() - 1});
        C->Draw(R.Left, R.Top, &b);
        return;
    }
    C->Font()->SetColor(clBtnHighlight);
    TabCaption(C, text, {R.Left + 3, R.Top, R.Right - 3, R.Bottom});
    if (FShowDivider) {
        C->Pen()->SetColor(cl3DDkShadow);
        C->MoveTo(R.Right, R.Top);
        C->LineTo(R.Right, R.Bottom + 1);
    }
}

void TbsRibbon::DrawTab(TCanvas* C, int I) {
    TbsDataSkinTabControl* e = TabEntry();
    TBitmap* pic = TabPicture();
    TbsRibbonTab* tab = FTabs->Items(I);
    const TRect& R = tab->ItemRect;
    const std::wstring text = tab->Page() ? tab->Page()->Caption() : std::wstring();
    const bool menuHidden = !FAppMenu || !FAppMenu->Visible();
    auto stateTab = [&](const TRect& Src, int Colour, bool Bold, int TextBottomCut) {
        if (!RectInPicture(Src, pic) || R.Width() < 1)
            return;
        TBitmap b(R.Width(), Src.Height());
        CreateHSkinImage(e->TabLeftOffset, e->TabRightOffset, &b, pic, Src, R.Width(), Src.Height(),
                         e->TabStretchEffect);
        b.Canvas()->Font()->Assign(C->Font());
        b.Canvas()->Font()->SetColor(static_cast<TColor>(Colour));
        if (Bold)
            b.Canvas()->Font()->SetStyle(b.Canvas()->Font()->Style() + fsBold);
        TabCaption(b.Canvas(), text, {3, 0, b.Width() - 3, b.Height() - TextBottomCut});
        C->Draw(R.Left, R.Top, &b);
    };
    if (I == FTabIndex && Focused() && !e->FocusTabRect.IsEmpty() && menuHidden) {
        stateTab(e->FocusTabRect, e->FocusFontColor, FTabBoldStyle, 1);
    } else if (I == FTabIndex && !e->ActiveTabRect.IsEmpty() && menuHidden) {
        stateTab(e->ActiveTabRect, e->ActiveFontColor, FTabBoldStyle, 1);
    } else if (!tab->Active || e->MouseInTabRect.IsEmpty()) {
        C->Font()->SetColor(static_cast<TColor>(tab->Active ? e->MouseInFontColor : e->FontColor));
        TabCaption(C, text, {R.Left + 3, R.Top, R.Right - 3, R.Bottom});
        if (FShowDivider) {
            if (e->DividerRect.IsEmpty()) {
                C->Pen()->SetColor(static_cast<TColor>(FSD->SkinColors()->cBtnShadow));
                C->MoveTo(R.Right, R.Top);
                C->LineTo(R.Right, R.Bottom);
            } else {
                DrawPart(C, pic, e->DividerRect, R.Right - e->DividerRect.Width(), R.Bottom - e->DividerRect.Height(),
                         e->DividerTransparent, e->DividerTransparentColor);
            }
        }
    } else {
        stateTab(e->MouseInTabRect, e->MouseInFontColor, false, 0);
    }
}

void TbsRibbon::DrawButton(TCanvas* C, int I) {
    TbsRibbonButtonItem* it = FButtons->Items(I);
    const TRect& R = it->ItemRect;
    if (R.IsEmpty())
        return;
    const bool pressed = (it->Active && it->Down) || FPopupButton == I;
    TBitmap* bpic = nullptr;
    TbsDataSkinButtonControl* be = ButtonEntry(&bpic);
    TbsDataSkinTabControl* e = TabEntry();
    if (pressed || it->Active) {
        const TRect src = pressed ? be ? be->DownSkinRect : TRect{} : be ? be->ActiveSkinRect : TRect{};
        if (be && bpic && !src.IsEmpty() && RectInPicture(src, bpic)) {
            TBitmap b(R.Width(), R.Height());
            CreateStretchImage(&b, bpic, src, be->ClRect, true);
            C->Draw(R.Left, R.Top, &b);
        } else if (!e) {
            FillRectWith(C, R, pressed ? TColor(cl3DDkShadow) : TColor(clBtnFace));
        }
    }
    TColor colour;
    if (e)
        colour = static_cast<TColor>(pressed         ? (be ? be->DownFontColor : e->FontColor)
                                     : it->Active    ? (be ? be->ActiveFontColor : e->FontColor)
                                     : it->Enabled() ? e->FontColor
                                                     : FSD->SkinColors()->cBtnShadow);
    else
        colour = pressed || it->Active ? TColor(RGB(0, 0, 0))
                 : it->Enabled()       ? TColor(RGB(255, 255, 255))
                                       : TColor(RGB(192, 192, 192));
    const int iw = FButtonsImageList->Width(), ih = FButtonsImageList->Height();
    const bool popup = it->PopupMenu() != nullptr;
    int x = (R.Left + R.Right) / 2 - iw / 2 - (popup ? 3 : 0);
    if (!it->Caption().empty())
        x = R.Left + 3;
    const int y = (R.Top + R.Bottom) / 2 - ih / 2 + 1;
    if (it->ImageIndex() >= 0 && it->ImageIndex() < FButtonsImageList->Count())
        FButtonsImageList->Draw(C, x, y, it->ImageIndex(), it->Enabled());
    if (popup)
        DrawArrowImage3(
            C, e ? TRect{R.Right - 8, R.Top, R.Right - 3, R.Bottom} : TRect{R.Right - 7, R.Top, R.Right - 1, R.Bottom},
            colour, 4);
    if (!it->Caption().empty()) {
        TFont saved;
        saved.Assign(C->Font());
        if (be) {
            C->Font()->SetName(be->FontName);
            C->Font()->SetStyle(ToFontStyles(be->FontStyle));
            C->Font()->SetHeight(be->FontHeight);
        } else if (!e) {
            C->Font()->Assign(Font());
        }
        C->Font()->SetColor(colour);
        C->Brush()->SetStyle(bsClear);
        TRect r{R.Left + iw + 6, R.Top, R.Right, R.Bottom};
        C->DrawText(it->Caption(), r, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
        C->Font()->Assign(&saved);
    }
}

void TbsRibbon::DrawMDIButton(TCanvas* C, int I) {
    TbsRibbonButtonItem* it = FMDIButtons->Items(I);
    const TRect& R = it->ItemRect;
    TbsDataSkinTabControl* e = TabEntry();
    TRect normal, active, down;
    if (e) {
        const TRect* rects[3][3] = {{&e->MDICloseRect, &e->MDICloseActiveRect, &e->MDICloseDownRect},
                                    {&e->MDIRestoreRect, &e->MDIRestoreActiveRect, &e->MDIRestoreDownRect},
                                    {&e->MDIMinRect, &e->MDIMinActiveRect, &e->MDIMinDownRect}};
        const int k = std::clamp(it->Code, 1, 3) - 1;
        normal = *rects[k][0];
        active = rects[k][1]->IsEmpty() ? normal : *rects[k][1];
        down = rects[k][2]->IsEmpty() ? active : *rects[k][2];
    }
    // A skin without MDI button pictures shows the built-in glyphs.
    if (e && !normal.IsEmpty() && RectInPicture(normal, TabPicture())) {
        const TRect& src = it->Active && it->Down ? down : it->Active ? active : normal;
        DrawPart(C, TabPicture(), src, R.Left, R.Top, e->MDIButtonsTransparent, e->MDIButtonsTransparentColor);
        return;
    }
    const TColor colour = it->Active || it->Down ? TColor(clBtnHighlight) : TColor(clBtnText);
    const int x = (R.Left + R.Right) / 2 - 5, y = (R.Top + R.Bottom) / 2 - 4;
    if (it->Code == 1)
        DrawCloseImage(C, x, y, colour);
    else if (it->Code == 2)
        DrawRestoreImage(C, x, y, colour);
    else
        DrawMinimizeImage(C, x, y, colour);
}

// ---- Hover, mouse and keys ------------------------------------------------------------------------------------------
void TbsRibbon::TestActive(int X, int Y) {
    if (FTabs->Count() == 0)
        return;
    const TPoint p{X, Y};
    const int tab = TabFromPoint(p);
    if (tab != FTabActive) {
        if (FTabActive >= 0 && FTabActive < FTabs->Count())
            FTabs->Items(FTabActive)->Active = false;
        if (tab >= 0)
            FTabs->Items(tab)->Active = true;
        FTabActive = tab;
        Invalidate();
    }
    auto track = [&](TbsRibbonButtonItems* items, int& current, bool onlyUsable) {
        int hovered = -1;
        for (int i = 0; i < items->Count() && hovered == -1; ++i) {
            TbsRibbonButtonItem* it = items->Items(i);
            if ((!onlyUsable || (it->Enabled() && it->Visible())) && it->ItemRect.Contains(p))
                hovered = i;
        }
        bool changed = hovered != current;
        for (int i = 0; i < items->Count(); ++i) {
            TbsRibbonButtonItem* it = items->Items(i);
            if (it->Active != (i == hovered)) {
                it->Active = i == hovered;
                changed = true;
            }
        }
        const int old = current;
        current = hovered;
        if (changed)
            Invalidate();
        return std::make_pair(old, changed);
    };
    if (FMDIButtons->Count() > 0)
        track(FMDIButtons.get(), FMDIActiveButton, false);
    if (FButtons->Count() > 0) {
        const auto [old, changed] = track(FButtons.get(), FActiveButton, true);
        if (FActiveButton != -1 && FActiveButton != old && FSkinHint && ButtonsShowHint &&
            !FButtons->Items(FActiveButton)->Hint.empty())
            FSkinHint->ActivateHint2(FButtons->Items(FActiveButton)->Hint);
        else if (FActiveButton == -1 && changed && ButtonsShowHint && FSkinHint)
            FSkinHint->HideHint();
    }
}

void TbsRibbon::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TbsSkinControl::MouseDown(Button, Shift, X, Y);
    FMouseCaptureButton = FMouseCaptureMDIButton = -1;
    if (Button != mbLeft)
        return;
    TestActive(X, Y);
    if (FTabActive != -1) {
        if (AppMenuVisible())
            HideAppMenu(nullptr);
        if (FTabActive != FTabIndex)
            SetTabIndex(FTabActive);
        if (!Focused() && CanFocus())
            SetFocus();
    }
    auto press = [&](TbsRibbonButtonItems* items, int hovered, int& capture) {
        for (int i = 0; i < items->Count(); ++i) {
            items->Items(i)->Down = i == hovered;
            if (i != hovered)
                items->Items(i)->Active = false;
        }
        capture = hovered;
        Invalidate();
    };
    if (FMDIActiveButton != -1)
        press(FMDIButtons.get(), FMDIActiveButton, FMouseCaptureMDIButton);
    if (FActiveButton != -1) {
        press(FButtons.get(), FActiveButton, FMouseCaptureButton);
        TbsRibbonButtonItem* it = FButtons->Items(FActiveButton);
        if (it->PopupMenu()) {
            FPopupButton = FActiveButton;
            TrackMenu(it->ItemRect, it->PopupMenu());
        }
    }
    if (ButtonsShowHint && FSkinHint)
        FSkinHint->HideHint();
}

void TbsRibbon::MouseMove(TShiftState Shift, int X, int Y) {
    TbsSkinControl::MouseMove(Shift, X, Y);
    TestActive(X, Y);
}

void TbsRibbon::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TbsSkinControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    TestActive(X, Y);
    auto release = [&](TbsRibbonButtonItems* items, int hovered, int capture, bool keepPopup) {
        if (hovered != -1) {
            TbsRibbonButtonItem* it = items->Items(hovered);
            const bool wasDown = it->Down;
            for (int i = 0; i < items->Count(); ++i)
                if (!(keepPopup && i == FPopupButton))
                    items->Items(i)->Down = false;
            Invalidate();
            if (wasDown && it->OnClick && !(keepPopup && hovered == FPopupButton))
                it->OnClick(this);
        } else if (capture >= 0 && capture < items->Count() && !(keepPopup && capture == FPopupButton)) {
            items->Items(capture)->Down = false;
            items->Items(capture)->Active = false;
            Invalidate();
        }
    };
    release(FMDIButtons.get(), FMDIActiveButton, FMouseCaptureMDIButton, false);
    release(FButtons.get(), FActiveButton, FMouseCaptureButton, true);
    FMouseCaptureButton = FMouseCaptureMDIButton = -1;
}

void TbsRibbon::KeyDown(WORD& Key, TShiftState Shift) {
    TbsSkinControl::KeyDown(Key, Shift);
    switch (Key) {
        case VK_NEXT:
            FindLast();
            break;
        case VK_PRIOR:
            FindFirst();
            break;
        case VK_LEFT:
        case VK_UP:
            FindPriorPage(true);
            break;
        case VK_RIGHT:
        case VK_DOWN:
            FindNextPage();
            break;
        default:
            break;
    }
}

void TbsRibbon::TrackMenu(const TRect& R, TbsSkinPopupMenu* Menu) {
    const TPoint p = ClientToScreen({R.Left, R.Top});
    Menu->PopupFromRect2(this, {p.X, p.Y, p.X + R.Width(), p.Y + R.Height() + 1}, false);
}

void TbsRibbon::HideTrackMenu() {
    if (OnMenuClose)
        OnMenuClose(this);
}

void TbsRibbon::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case WM_ERASEBKGND: {
            // The whole control here; the paint that follows is skipped.
            if (!Message.WParam)
                break;
            TCanvas c;
            c.SetHandle(reinterpret_cast<HDC>(Message.WParam));
            c.Font()->Assign(Font());
            ++FPaintCount;
            PaintRibbon(&c);
            c.SetHandle(nullptr);
            WMEraseReady = true;
            Message.Result = 1;
            return;
        }
        case WM_PAINT: {
            TbsUpdateGuard guard(FInWMPaint);
            TbsSkinControl::WndProc(Message);
            WMEraseReady = false;
            return;
        }
        case WM_GETDLGCODE:
            Message.Result = DLGC_WANTARROWS;
            return;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_SIZE:
            TbsSkinControl::WndProc(Message);
            Invalidate();
            return;
        case WM_MOUSEWHEEL:
            if (Focused()) {
                if (GET_WHEEL_DELTA_WPARAM(Message.WParam) < 0)
                    FindNextPage();
                else
                    FindPriorPage(false);
                Message.Result = 0;
                return;
            }
            break;
        case CM_MOUSELEAVE:
            TestActive(-1, -1);
            break;
        case WM_CLOSESKINMENU:
            if (FPopupButton >= 0 && FPopupButton < FButtons->Count())
                FButtons->Items(FPopupButton)->Down = false;
            FPopupButton = -1;
            HideTrackMenu();
            Invalidate();
            Message.Result = 0;
            return;
        default:
            break;
    }
    TbsSkinControl::WndProc(Message);
}

// ---- The application menu -------------------------------------------------------------------------------------------
void TbsRibbon::HookApp() {
    if (FAppHook)
        return;
    // Only the Escape that closes the menu is taken; the other filters go on receiving everything.
    FAppHook = Application->AddOnMessage([this](MSG& Msg, bool& Handled) {
        if (Msg.message == WM_KEYDOWN && LOWORD(Msg.wParam) == VK_ESCAPE && FAppMenu && FAppMenu->Visible() && SKF &&
            SKF->GetFormActive()) {
            HideAppMenu(nullptr);
            Msg.message = 0;
            Handled = true;
        }
    });
}

void TbsRibbon::UnHookApp() {
    if (!FAppHook)
        return;
    Application->RemoveOnMessage(FAppHook);
    FAppHook = 0;
}

void TbsRibbon::PlaceAppMenu() {
    TCustomForm* form = GetParentForm(this);
    if (!FAppMenu || !form || !FAppButton)
        return;
    int top = FAppButton->Top() + Top() + FAppButton->Height();
    int height = form->ClientHeight() - Top() + FAppButton->Top() - FAppButton->Height();
    if (TabEntry() && FAppMenu->MenuEntry() && !FAppMenu->MenuEntry()->BackButtonRect.IsEmpty()) {
        top = 0;
        height = form->ClientHeight();
    }
    FAppMenu->SetAnchors({});
    FAppMenu->SetBounds(0, top, form->ClientWidth(), height);
    FAppMenu->SetAnchors({akLeft, akTop, akRight, akBottom});
}

void TbsRibbon::ShowAppMenu() {
    if (!FAppMenu)
        return;
    if (FAppMenu->OnShowingMenu)
        FAppMenu->OnShowingMenu(this);
    HookApp();
    TCustomForm* form = GetParentForm(this);
    if (form && FAppMenu->Parent() != form)
        FAppMenu->SetParent(form);
    FAppMenu->Ribbon = this;
    PlaceAppMenu();
    const int index = FAppMenu->ActivePage() ? FAppMenu->GetPageIndex(FAppMenu->ActivePage()) : 0;
    FAppMenu->SetItemIndex(index);
    FAppMenu->Show();
    FAppMenu->BringToFront();
    if (FAppMenu->CanFocus())
        FAppMenu->SetFocus();
    if (index >= 0 && index < FAppMenu->Items()->Count() &&
        (!FAppMenu->Items()->Items(index)->Visible() || !FAppMenu->Items()->Items(index)->Enabled()))
        FAppMenu->FindNextItem();
    if (TbsAppMenuPage* p = FAppMenu->ActivePage()) {
        p->FStopScroll = false;
        p->UpDateSize();
        if (p->CanScroll())
            p->GetScrollInfo();
    }
    Invalidate();
    if (SKF)
        SKF->UpDateFormNC();
    if (FAppMenu->OnShowMenu)
        FAppMenu->OnShowMenu(this);
}

void TbsRibbon::HideAppMenu(TbsAppMenuItem* Item) {
    UnHookApp();
    if (!FAppMenu)
        return;
    if (FAppMenu->OnHidingMenu)
        FAppMenu->OnHidingMenu(this);
    FAppMenu->SetAnchors({});
    FAppMenu->Hide();
    Invalidate();
    if (FAppButton)
        FAppButton->MenuReleased();
    Application->ProcessMessages();
    if (OnMenuClose)
        OnMenuClose(this);
    if (SKF)
        SKF->UpDateFormNC();
    if (FAppMenu && FAppMenu->OnHideMenu)
        FAppMenu->OnHideMenu(this);
    if (Item && Item->OnClick)
        Item->OnClick(this);
}

bool TbsRibbon::AppMenuVisible() {
    return FAppMenu && FAppMenu->Visible();
}

void TbsRibbon::FocusRibbon() {
    if (CanFocus())
        SetFocus();
}

bool TbsRibbon::RibbonShortCut(TWMKey& Key) {
    if (Key.CharCode != 0 && FAppButtonPopupMenu && FAppButtonPopupMenu->IsShortCut(Key))
        return true;
    const bool alt = (Key.KeyData & 0x20000000) != 0 || GetKeyState(VK_MENU) < 0;
    if (!alt)
        return false;
    bool hit = false;
    for (int i = 0; i < FTabs->Count(); ++i)
        if (TbsRibbonPage* p = FTabs->Items(i)->Page(); p && IsAccel(Key.CharCode, p->Caption())) {
            SetActivePage(p);
            hit = true;
        }
    return hit;
}

bool TbsRibbon::CanDrawAppMenuCaption() {
    return FAppMenu && FAppMenu->Visible() && FAppMenu->CanDrawAppMenuCaption();
}

void TbsRibbon::DrawAppMenuCaption(TCanvas* Canvas, const TRect& R1, const TRect& R2) {
    if (FAppMenu)
        FAppMenu->DrawAppMenuCaption(Canvas, R1, R2);
}

int TbsRibbon::GetAppMenuCaptionOffset() {
    return FAppMenu ? FAppMenu->GetAppMenuCaptionOffset() : 0;
}

int TbsRibbon::AppMenuItemWidth() {
    return FAppMenu ? FAppMenu->ItemWidth() : 0;
}

// ---- MDI buttons ----------------------------------------------------------------------------------------------------
void TbsRibbon::MDIChildMaximize() {
    if (FMDIButtons->Count() == 0)
        ShowMDIButtons();
}

void TbsRibbon::MDIChildRestore() {
    if (FMDIButtons->Count() > 0 && !MaximizedMDIChild())
        HideMDIButtons();
}

TCustomForm* TbsRibbon::MaximizedMDIChild() const {
    // The class library has no MDI frames yet: no child is ever maximised.
    return nullptr;
}

void TbsRibbon::ShowMDIButtons() {
    if (FMDIButtons->Count() > 0)
        return;
    for (int code = 1; code <= 3; ++code) {
        TbsRibbonButtonItem* it = FMDIButtons->Add();
        it->Code = code;
        it->OnClick = [this, code](TObject*) { MDIClick(code); };
    }
    Invalidate();
}

void TbsRibbon::HideMDIButtons() {
    FMDIButtons->Clear();
    FMDIActiveButton = -1;
    Invalidate();
}

void TbsRibbon::MDIClick(int Code) {
    TCustomForm* child = MaximizedMDIChild();
    TbsSkinForm* skf = child ? FindSKFComponent(child) : nullptr;
    if (!skf)
        return;
    if (Code == 1)
        child->Close();
    else
        skf->SetWindowState(Code == 2 ? wsNormal : wsMinimized);
}
