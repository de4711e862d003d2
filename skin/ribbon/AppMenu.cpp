#include "skin/ribbon/AppMenu.h"

#include <windowsx.h>

#include <algorithm>

#include "classlib/Forms.h"
#include "classlib/GdiHandles.h"
#include "skin/controls/ControlSkinning.h"
#include "skin/controls/SkinScrollBar.h"
#include "skin/core/GlyphPainters.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinText.h"
#include "skin/form/SkinForm.h"
#include "skin/ribbon/Ribbon.h"
#include "skin/ribbon/RibbonFrame.h"
#include "skin/ribbon/RibbonPage.h"

namespace {
constexpr int kMinItemWidth = 100;
constexpr int kBarWidth = 19;
constexpr int kGripperRoom = 20;
constexpr int kBandMargin = 30;  // a page item is kept this far inside the menu when scrolled to
constexpr int kBackButtonLeft = 23;

void Fill(TCanvas* C, const TRect& R, TColor Colour) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Colour);
    C->FillRect(R);
}

// Src of Picture over Dst: stretched, or tiled from Dst's top-left.
void SpreadPicture(TCanvas* C, TBitmap* Picture, const TRect& Src, const TRect& Dst, bool Stretch) {
    DrawBackgroundPicture(C, Picture, Src, Dst, Stretch, bsstFull);
}
}  // namespace

// ---- The application button -----------------------------------------------------------------------------------------
TbsAppButton::TbsAppButton(TComponent* AOwner) : TbsSkinMenuButton(AOwner) {}

bool TbsAppButton::CanMenuTrack(int X, int Y) {
    if (Ribbon && Ribbon->AppMenu())
        return true;
    return TbsSkinMenuButton::CanMenuTrack(X, Y);
}

void TbsAppButton::TrackMenu() {
    if (Ribbon && Ribbon->AppMenu()) {
        if (!Down())
            SetDown(true);
        Ribbon->ShowAppMenu();
        return;
    }
    TbsSkinMenuButton::TrackMenu();
}

void TbsAppButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft && Ribbon && Ribbon->AppMenuVisible()) {
        Ribbon->HideAppMenu(nullptr);
        return;
    }
    TbsSkinMenuButton::MouseDown(Button, Shift, X, Y);
}

void TbsAppButton::KeyDown(WORD& Key, TShiftState Shift) {
    TbsSkinMenuButton::KeyDown(Key, Shift);
    if ((Key == VK_DOWN || Key == VK_SPACE) && CanMenuTrack(0, 0))
        DropDown();
    else if ((Key == VK_LEFT || Key == VK_RIGHT || Key == VK_UP) && Ribbon)
        Ribbon->FocusRibbon();
}

void TbsAppButton::WndProc(TMessage& Message) {
    if (Message.Msg == WM_GETDLGCODE) {
        Message.Result = DLGC_WANTARROWS;
        return;
    }
    TbsSkinMenuButton::WndProc(Message);
    // The menu takes the focus when it opens: the button stays pressed while it is open.
    if (Message.Msg == WM_KILLFOCUS && MenuTracked() && !Down())
        SetDown(true);
    if (Message.Msg == WM_KEYUP && Message.WParam == VK_RETURN && CanMenuTrack(0, 0) && !MenuTracked())
        DropDown();
}

// ---- Items ----------------------------------------------------------------------------------------------------------
TbsAppMenuItem::TbsAppMenuItem(TCollection* Collection) : TCollectionItem(Collection) {
    FCaption = L"TbsAppMenuItem" + std::to_wstring(Index());
}

void TbsAppMenuItem::SetPage(TbsAppMenuPage* Value) {
    if (FPage == Value)
        return;
    FPage = Value;
    if (FPage && FPage->AppMenu)
        FPage->AppMenu->SetActivePage(FPage);
}

void TbsAppMenuItem::SetVisible(bool Value) {
    if (FVisible == Value)
        return;
    FVisible = Value;
    Changed(false);
}

void TbsAppMenuItem::SetEnabled(bool Value) {
    if (FEnabled == Value)
        return;
    FEnabled = Value;
    Changed(false);
}

void TbsAppMenuItem::SetImageIndex(int Value) {
    if (FImageIndex == Value)
        return;
    FImageIndex = Value;
    Changed(false);
}

void TbsAppMenuItem::SetCaption(const std::wstring& Value) {
    if (FCaption == Value)
        return;
    FCaption = Value;
    Changed(false);
}

void TbsAppMenuItem::Assign(TPersistent* Source) {
    if (auto* m = dynamic_cast<TbsAppMenuItem*>(Source)) {
        FPage = m->FPage;
        FCaption = m->FCaption;
        FImageIndex = m->FImageIndex;
        FVisible = m->FVisible;
        FEnabled = m->FEnabled;
        Changed(false);
        return;
    }
    TCollectionItem::Assign(Source);
}

TbsAppMenuItems::TbsAppMenuItems(TbsAppMenu* AMenu) : AppMenu(AMenu) {}

TCollectionItem* TbsAppMenuItems::CreateItem() {
    return new TbsAppMenuItem(this);
}

TPersistent* TbsAppMenuItems::GetOwner() {
    return AppMenu;
}

void TbsAppMenuItems::Update(TCollectionItem* Item) {
    TCollection::Update(Item);
    if (!AppMenu || AppMenu->ComponentState().Contains(csDestroying))
        return;
    if (AppMenu->Visible())
        AppMenu->UpdateScrollInfo();
    AppMenu->Invalidate();
}

// ---- The menu -------------------------------------------------------------------------------------------------------
TbsAppMenu::TbsAppMenu(TComponent* AOwner) : TbsSkinControl(AOwner), FItems(std::make_unique<TbsAppMenuItems>(this)) {
    SetControlStyle(ControlStyle() + csAcceptsControls);
    FSkinDataName = L"appmenu";
    SetBounds(Left(), Top(), 250, 200);
    SetTabStop(false);
}

TbsAppMenu::~TbsAppMenu() {
    for (int i = 0; i < FItems->Count(); ++i)
        if (TbsAppMenuPage* p = FItems->Items(i)->Page(); p && p->AppMenu == this)
            p->AppMenu = nullptr;
    if (FActivePage && FActivePage->AppMenu == this)
        FActivePage->AppMenu = nullptr;
}

void TbsAppMenu::CreateParams(TCreateParams& Params) {
    TbsSkinControl::CreateParams(Params);
    Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TbsAppMenu::SetItems(TbsAppMenuItems* Value) {
    FItems->Assign(Value);
    Invalidate();
}

void TbsAppMenu::SetItemWidth(int Value) {
    FItemWidth = std::max(Value, kMinItemWidth);
    if (FActivePage)
        FActivePage->UpDateSize();
    Invalidate();
}

void TbsAppMenu::SetItemImageList(TCustomImageList* Value) {
    SetBorrowed(this, FItemImageList, Value);
    Invalidate();
}

void TbsAppMenu::SetItemPageImageList(TCustomImageList* Value) {
    SetBorrowed(this, FItemPageImageList, Value);
    Invalidate();
}

void TbsAppMenu::SetBackButtonImageList(TCustomImageList* Value) {
    SetBorrowed(this, FBackButtonImageList, Value);
}

void TbsAppMenu::Loaded() {
    TbsSkinControl::Loaded();
    for (int i = 0; i < FItems->Count(); ++i)
        if (TbsAppMenuPage* p = FItems->Items(i)->Page()) {
            p->AppMenu = this;
            p->SetVisible(p == FActivePage);
        }
}

void TbsAppMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    bool changed = false;
    for (int i = 0; i < FItems->Count(); ++i)
        if (FItems->Items(i)->Page() == AComponent) {
            FItems->Items(i)->SetPage(nullptr);
            changed = true;
        }
    if (AComponent == FActivePage) {
        FActivePage = nullptr;
        changed = true;
    }
    if (AComponent == FItemImageList)
        FItemImageList = nullptr;
    if (AComponent == FItemPageImageList)
        FItemPageImageList = nullptr;
    if (AComponent == FBackButtonImageList)
        FBackButtonImageList = nullptr;
    if (AComponent == FScrollBar)
        FScrollBar = nullptr;
    if (changed && !ComponentState().Contains(csDestroying))
        Invalidate();
}

TbsDataSkinAppMenu* TbsAppMenu::MenuEntry() {
    GetSkinData();
    auto* e = dynamic_cast<TbsDataSkinAppMenu*>(Entry());
    // An entry whose picture is not loaded gives the built-in look.
    return e && SkinPictureAt(FSD, e->PictureIndex) ? e : nullptr;
}

TBitmap* TbsAppMenu::MenuPicture() {
    TbsDataSkinAppMenu* e = MenuEntry();
    return e ? SkinPictureAt(FSD, e->PictureIndex) : nullptr;
}

// ---- Selection and hover --------------------------------------------------------------------------------------------
bool TbsAppMenu::Usable(int I) const {
    return I >= 0 && I < FItems->Count() && FItems->Items(I)->Visible() && FItems->Items(I)->Enabled();
}

void TbsAppMenu::SetItemIndex(int Value) {
    FItemIndex = Value;
    if (Value >= 0 && Value < FItems->Count())
        if (TbsAppMenuPage* p = FItems->Items(Value)->Page(); p && p != FActivePage)
            SetActivePage(p);
    if (FScrollBar)
        ScrollToItem(Value);
    Invalidate();
}

void TbsAppMenu::FindNextItem() {
    if (FItemIndex < 0)
        return;
    for (int i = FItemIndex + 1; i < FItems->Count(); ++i)
        if (Usable(i)) {
            SetItemIndex(i);
            return;
        }
}

void TbsAppMenu::FindPriorItem() {
    for (int i = FItemIndex - 1; i >= 0; --i)
        if (Usable(i)) {
            SetItemIndex(i);
            return;
        }
}

void TbsAppMenu::FindFirstItem() {
    for (int i = 0; i < FItems->Count(); ++i)
        if (Usable(i)) {
            SetItemIndex(i);
            return;
        }
}

void TbsAppMenu::FindLastItem() {
    for (int i = FItems->Count() - 1; i >= 0; --i)
        if (Usable(i)) {
            SetItemIndex(i);
            return;
        }
}

int TbsAppMenu::ItemFromPoint(TPoint P) const {
    for (int i = 0; i < FItems->Count(); ++i)
        if (FItems->Items(i)->Visible() && FItems->Items(i)->ItemRect.Contains(P))
            return i;
    return -1;
}

void TbsAppMenu::TestActive(int X, int Y) {
    if (FItems->Count() == 0)
        return;
    const TPoint p{X, Y};
    const bool back = !FBackButtonRect.IsEmpty() && FBackButtonRect.Contains(p);
    if (back != FBackButtonActive) {
        FBackButtonActive = back;
        Invalidate();
    }
    int hovered = -1;
    for (int i = 0; i < FItems->Count() && hovered == -1; ++i)
        if (Usable(i) && FItems->Items(i)->ItemRect.Contains(p))
            hovered = i;
    if (hovered == FItemActive)
        return;
    if (FItemActive >= 0 && FItemActive < FItems->Count())
        FItems->Items(FItemActive)->Active = false;
    if (hovered >= 0)
        FItems->Items(hovered)->Active = true;
    FItemActive = hovered;
    Invalidate();
}

void TbsAppMenu::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TbsSkinControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    TestActive(X, Y);
    if (FItemActive != FItemIndex)
        SetItemIndex(FItemActive);
    if (CanFocus() && !Focused())
        SetFocus();
}

void TbsAppMenu::MouseMove(TShiftState Shift, int X, int Y) {
    TbsSkinControl::MouseMove(Shift, X, Y);
    TestActive(X, Y);
}

void TbsAppMenu::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TbsSkinControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    TestActive(X, Y);
    if (!Ribbon)
        return;
    if (FBackButtonActive) {
        Ribbon->HideAppMenu(nullptr);
        return;
    }
    if (FItemIndex >= 0 && FItemIndex < FItems->Count() && FItemIndex == FItemActive &&
        !FItems->Items(FItemIndex)->Page())
        Ribbon->HideAppMenu(FItems->Items(FItemIndex));
}

bool TbsAppMenu::ActOnItem(WORD Key) {
    if (FItemIndex < 0 || FItemIndex >= FItems->Count())
        return false;
    TbsAppMenuItem* it = FItems->Items(FItemIndex);
    if (TbsAppMenuPage* p = it->Page()) {
        TWinControl* c = p->FirstActiveControl();
        if (c && c->Parent() == p && c->Visible() && c->Enabled() && c->CanFocus()) {
            c->SetFocus();
            return true;
        }
        if (Key == VK_TAB)
            FindNextItem();
        return true;
    }
    if (!Ribbon)
        return false;
    if (Key == VK_TAB)
        FindNextItem();
    else
        Ribbon->HideAppMenu(it);
    return true;
}

void TbsAppMenu::KeyDown(WORD& Key, TShiftState Shift) {
    TbsSkinControl::KeyDown(Key, Shift);
    switch (Key) {
        case VK_RETURN:
        case VK_SPACE:
        case VK_TAB:
            ActOnItem(Key);
            break;
        case VK_NEXT:
            FindLastItem();
            break;
        case VK_PRIOR:
            FindFirstItem();
            break;
        case VK_LEFT:
        case VK_UP:
            FindPriorItem();
            break;
        case VK_RIGHT:
        case VK_DOWN:
            FindNextItem();
            break;
        default:
            break;
    }
}

// ---- Pages ----------------------------------------------------------------------------------------------------------
TRect TbsAppMenu::GetPageBoundsRect() {
    TbsDataSkinAppMenu* e = MenuEntry();
    const int offset = e ? e->PageOffset : 0;
    return {FItemWidth + offset, 25, Width() - FItemWidth - offset - 25, Height() - 50};
}

TRect TbsAppMenu::GetPageRect() const {
    if (!FActivePage)
        return {0, 0, 0, 0};
    return {FActivePage->Left(), FActivePage->Top(), FActivePage->Left() + FActivePage->Width(),
            FActivePage->Top() + FActivePage->Height()};
}

int TbsAppMenu::GetPageIndex(TbsAppMenuPage* Page) const {
    for (int i = 0; i < FItems->Count(); ++i)
        if (FItems->Items(i)->Page() == Page)
            return i;
    return -1;
}

void TbsAppMenu::SetActivePage(TbsAppMenuPage* Value) {
    TbsAppMenuPage* old = FActivePage;
    if (old && old != Value) {
        old->Hide();
        old->FStopScroll = true;
    }
    if (Value != old) {
        if (old)
            old->RemoveFreeNotification(this);
        if (Value)
            Value->FreeNotification(this);
    }
    FActivePage = Value;
    if (Value && !ComponentState().Contains(csLoading)) {
        Value->Hide();
        Value->AppMenu = this;
        if (Value->Parent() != this)
            Value->SetParent(this);
        Value->UpDateSize();
        Value->Show();
        Value->BringToFront();
        Value->FStopScroll = !Visible();
        if (Value->CanScroll())
            Value->GetScrollInfo();
    }
    if (Value != old && !ComponentState().Contains(csLoading) && OnChangePage)
        OnChangePage(this);
    Invalidate();
}

TbsAppMenuPage* TbsAppMenu::CreatePage() {
    TComponent* form = GetParentForm(this);
    if (!form)
        form = Owner();
    auto* page = new TbsAppMenuPage(form ? form : this);
    page->SetName(GetUniqueName(L"bsAppMenuPage%d", form));
    page->AppMenu = this;
    page->SetParent(this);
    page->UpDateSize();
    SetActivePage(page);
    Invalidate();
    return page;
}

// ---- Layout and scrolling -------------------------------------------------------------------------------------------
std::vector<TbsAppMenuItemInfo> TbsAppMenu::ItemInfos() const {
    std::vector<TbsAppMenuItemInfo> s;
    for (int i = 0; i < FItems->Count(); ++i)
        s.push_back({FItems->Items(i)->Visible(), FItems->Items(i)->Page() != nullptr});
    return s;
}

TbsAppMenuLook TbsAppMenu::Look(int* BackButtonHeight) {
    TbsAppMenuLook look;
    if (BackButtonHeight)
        *BackButtonHeight = 0;
    TbsDataSkinAppMenu* e = MenuEntry();
    FBackButtonRect = {};
    if (!e)
        return look;
    look.PageItemHeight = e->PageItemRect.Height();
    look.ItemHeight = e->ItemRect.Height();
    look.Uniform = e->ItemRect == e->PageItemRect;
    if (!e->BackButtonRect.IsEmpty()) {
        int w = e->BackButtonRect.Width(), h = e->BackButtonRect.Height();
        if (FBackButtonImageList && BackButtonImageIndex >= 0 && BackButtonImageIndex < FBackButtonImageList->Count()) {
            w = FBackButtonImageList->Width();
            h = FBackButtonImageList->Height();
        }
        look.TopReserve = h + 5;
        FBackButtonRect = CanDrawAppMenuCaption() ? TRect{kBackButtonLeft, 0, kBackButtonLeft + w, h}
                                                  : TRect{kBackButtonLeft, 3, kBackButtonLeft + w, h + 3};
        if (BackButtonHeight)
            *BackButtonHeight = e->BackButtonRect.Height();
    }
    return look;
}

void TbsAppMenu::CalcItemRects() {
    const std::vector<TRect> r = AppMenuItemRects(ItemInfos(), Look(nullptr), FItemWidth, FScrollOffset);
    for (int i = 0; i < FItems->Count(); ++i)
        FItems->Items(i)->ItemRect = r[i];
}

void TbsAppMenu::GetScrollInfo(int& Min, int& Max, int& Page) {
    int back = 0;
    const TbsAppMenuLook look = Look(&back);
    Min = 0;
    Page = Height();
    Max = AppMenuContentHeight(ItemInfos(), look, back) + 1;
}

void TbsAppMenu::UpdateScrollInfo() {
    int mn = 0, mx = 0, page = 0;
    GetScrollInfo(mn, mx, page);
    if (page < mx && !FScrollBar)
        ShowScrollbar();
    else if (page >= mx && FScrollBar)
        HideScrollBar();
    if (FScrollBar) {
        FScrollBar->SetRange(mn, mx, page, FScrollOffset);
        FScrollBar->SetLargeChange(page);
    }
}

void TbsAppMenu::ShowScrollbar() {
    FScrollBar = new TbsSkinScrollBar(this);
    FScrollBar->SetWidth(kBarWidth);
    FScrollBar->SetSmallChange(28);
    FScrollBar->SetLargeChange(28);
    FScrollBar->SetSkinDataName(L"vscrollbar");
    FScrollBar->SetKind(sbVertical);
    FScrollBar->SetSkinData(FSD);
    FScrollBar->OnChange = [this](TObject*) {
        if (FScrollBar)
            Scroll(FScrollBar->Position());
    };
    FScrollBar->SetParent(this);
    AdjustScrollBar();
    FScrollBar->Show();
    Invalidate();
}

void TbsAppMenu::HideScrollBar() {
    TbsSkinScrollBar* bar = FScrollBar;
    FScrollBar = nullptr;
    delete bar;
    Invalidate();
}

void TbsAppMenu::AdjustScrollBar() {
    if (FScrollBar)
        FScrollBar->SetBounds(Width() - kBarWidth, 0, kBarWidth, Height() - (CanShowGripper() ? kGripperRoom : 0));
}

void TbsAppMenu::Scroll(int Offset) {
    FScrollOffset = Offset;
    Invalidate();
}

void TbsAppMenu::ScrollToItem(int Index) {
    if (!FScrollBar || Index < 0 || Index >= FItems->Count())
        return;
    CalcItemRects();
    const TRect r = FItems->Items(Index)->ItemRect;
    const bool last = Index == FItems->Count() - 1;
    if (FScrollBar->Visible() && (r.Top < 0 || r.Bottom > Height())) {
        if (last)
            FScrollBar->SetPosition(FScrollBar->Max());
        else
            // Just enough to bring the item in: its rectangle is already in scrolled coordinates.
            FScrollBar->SetPosition(FScrollBar->Position() + (r.Top < 0 ? r.Top : r.Bottom - Height()));
    } else if (last && FScrollBar->Position() != FScrollBar->Max()) {
        FScrollBar->SetPosition(FScrollBar->Max());
    } else if (Index == 0 && FScrollBar->Position() != FScrollBar->Min()) {
        FScrollBar->SetPosition(FScrollBar->Min());
    }
    if (!FItems->Items(Index)->Page())
        return;
    // A page item is kept inside the band the page frame leaves.
    CalcItemRects();
    const TRect a = FItems->Items(Index)->ItemRect;
    if (a.Top < kBandMargin)
        FScrollBar->SetPosition(FScrollBar->Position() - (kBandMargin - a.Top));
    else if (a.Bottom > Height() - kBandMargin)
        FScrollBar->SetPosition(FScrollBar->Position() + (a.Bottom - (Height() - kBandMargin)));
}

// ---- Frame and caption ----------------------------------------------------------------------------------------------
bool TbsAppMenu::CanShowGripper() {
    TbsSkinForm* skf = Ribbon ? Ribbon->SkinForm() : nullptr;
    if (!skf || !skf->Form())
        return false;
    return skf->WindowState() != wsMaximized && skf->Form()->BorderStyle() != bsSingle && !skf->RollUpState();
}

bool TbsAppMenu::CanDrawAppMenuCaption() {
    TbsDataSkinAppMenu* e = MenuEntry();
    return e && !e->CaptionRect.IsEmpty();
}

int TbsAppMenu::GetAppMenuCaptionOffset() {
    TbsDataSkinAppMenu* e = MenuEntry();
    return FItemWidth + (e ? e->CaptionLeftOffset : 0);
}

void TbsAppMenu::DrawAppMenuCaption(TCanvas* Canvas, const TRect& R, const TRect& /*FR*/) {
    TbsDataSkinAppMenu* e = MenuEntry();
    TBitmap* pic = MenuPicture();
    if (!e || !pic || !RectInPicture(e->CaptionRect, pic))
        return;
    TRect d = R;
    d.Offset(e->CaptionLeftOffset, 0);
    d.Top = e->CaptionTopOffset;
    if (d.IsEmpty())
        return;
    SetStretchBltMode(Canvas->Handle(), COLORONCOLOR);
    StretchBlt(Canvas->Handle(), d.Left, d.Top, d.Width(), d.Height(), pic->Canvas()->Handle(), e->CaptionRect.Left,
               e->CaptionRect.Top, e->CaptionRect.Width(), e->CaptionRect.Height(), SRCCOPY);
}

// ---- Painting -------------------------------------------------------------------------------------------------------
void TbsAppMenu::Paint() {
    PaintAppMenu(Canvas());
}

bool TbsAppMenu::Highlighted(int I) const {
    TbsAppMenuItem* it = FItems->Items(I);
    return it->Active || (it->Page() && it->Page() == FActivePage) || (I == FItemIndex && it->Enabled());
}

void TbsAppMenu::ItemContent(TCanvas* C, int I, TRect R, bool Uniform, int Spacing) {
    TbsAppMenuItem* it = FItems->Items(I);
    TCustomImageList* images = it->Page() ? FItemPageImageList : FItemImageList;
    const bool image = images && it->ImageIndex() >= 0 && it->ImageIndex() < images->Count();
    if (image) {
        if (Uniform)
            R.Left = std::max(0, R.Left - images->Width() - Spacing);
        images->Draw(C, R.Left, (R.Top + R.Bottom) / 2 - images->Height() / 2, it->ImageIndex(), it->Enabled());
        R.Left += images->Width() + Spacing;
    }
    C->Brush()->SetStyle(bsClear);
    BSDrawText5(C, it->Caption(), R);
}

void TbsAppMenu::DrawDefItem(TCanvas* C, int I) {
    TbsAppMenuItem* it = FItems->Items(I);
    const TRect& R = it->ItemRect;
    const int indent = it->Page() ? 20 : 10;
    if (Highlighted(I)) {
        TBitmap b(std::max(R.Width(), 1), R.Height() + 2);
        Fill(b.Canvas(), {0, 0, b.Width(), b.Height()}, clBtnFace);
        b.Canvas()->Font()->Assign(C->Font());
        b.Canvas()->Font()->SetColor(clBtnText);
        if (!it->Page())
            Frm3D(b.Canvas(), {0, 0, b.Width(), R.Height()}, cl3DDkShadow, cl3DDkShadow);
        ItemContent(b.Canvas(), I, {indent, 0, b.Width(), R.Height()}, false, 5);
        if (it->Page() && it->Page() == FActivePage)
            DrawArrowImage2(b.Canvas(), {b.Width() - 5, 0, b.Width(), R.Height()}, clWindow, 1);
        C->Draw(R.Left, R.Top, &b);
        return;
    }
    C->Font()->SetColor(it->Enabled() ? TColor(clBtnHighlight) : TColor(cl3DDkShadow));
    ItemContent(C, I, {R.Left + indent, R.Top, R.Right, R.Bottom}, false, 5);
}

void TbsAppMenu::DrawItem(TCanvas* C, int I) {
    TbsDataSkinAppMenu* e = MenuEntry();
    TBitmap* pic = MenuPicture();
    TbsAppMenuItem* it = FItems->Items(I);
    const TRect& R = it->ItemRect;
    const bool uniform = e->ItemRect == e->PageItemRect;
    const bool page = it->Page() != nullptr;
    const TRect pr = GetPageRect();
    const bool inBand = !page || (R.Top >= kBandMargin && (!FActivePage || R.Bottom <= pr.Bottom - 5));
    const int indent = page || uniform ? 20 : 10;
    const int imageIndent = uniform && FItemImageList ? 3 : 0;
    auto setFont = [&](TCanvas* Cv, int Colour, int Height) {
        if (UseSkinFont) {
            Cv->Font()->SetName(e->FontName);
            Cv->Font()->SetStyle(ToFontStyles(e->FontStyle));
        } else {
            Cv->Font()->Assign(Font());
        }
        Cv->Font()->SetHeight(Height);
        Cv->Font()->SetColor(static_cast<TColor>(Colour));
        Cv->Font()->SetCharset(SkinFontCharset(FSD, Font()->Charset()));
    };
    if (inBand && Highlighted(I) && R.Width() > 0) {
        const bool own = page && it->Page() == FActivePage;
        const TRect src = page ? (own ? e->PageItemActiveRect : e->PageItemRect) : e->ItemRect;
        const int h = page ? (own ? e->PageItemActiveRect.Height() : R.Height()) : R.Height();
        if (RectInPicture(src, pic) && h > 0) {
            TBitmap b(R.Width(), h);
            if (page)
                CreateHSkinImage(e->PageItemOffset1, e->PageItemOffset2, &b, pic, src, R.Width(), h, true);
            else
                CreateHSkinImage(e->ItemOffset1, e->ItemOffset2, &b, pic, src, R.Width(), h, true);
            setFont(b.Canvas(), page ? e->ActiveFontPageColor : e->ActiveFontColor,
                    page ? e->FontPageHeight : e->FontHeight);
            const int th = page ? e->PageItemRect.Height() : h;
            ItemContent(b.Canvas(), I, {indent + imageIndent, 0, b.Width(), th}, uniform, 3);
            C->Draw(R.Left, R.Top, &b);
            return;
        }
    }
    setFont(C,
            !it->Enabled() ? e->DisabledFontColor
            : page         ? e->FontPageColor
                           : e->FontColor,
            page ? e->FontPageHeight : e->FontHeight);
    ItemContent(C, I, {R.Left + indent + imageIndent, R.Top, R.Right, R.Bottom}, uniform, 3);
}

void TbsAppMenu::PaintAppMenu(TCanvas* C) {
    const int W = Width(), H = Height();
    if (W < 1 || H < 1)
        return;
    TbsDataSkinAppMenu* e = MenuEntry();
    if (!e) {
        C->Font()->Assign(Font());
        Fill(C, {0, 0, W, H}, clBtnShadow);
        CalcItemRects();
        for (int i = 0; i < FItems->Count(); ++i)
            if (FItems->Items(i)->Visible())
                DrawDefItem(C, i);
        return;
    }
    TBitmap* pic = MenuPicture();
    TBitmap work(W, H);
    TCanvas* wc = work.Canvas();
    TBitmap* bg = e->BGPictureIndex != -1 ? SkinPictureAt(FSD, e->BGPictureIndex) : nullptr;
    TBitmap* pageBg = e->BGPagePictureIndex != -1 ? SkinPictureAt(FSD, e->BGPagePictureIndex) : nullptr;
    const TRect column = pageBg ? TRect{0, 0, FItemWidth, H} : TRect{0, 0, W, H};
    if (bg)
        SpreadPicture(wc, bg, {0, 0, bg->Width(), bg->Height()}, column, e->BGStretchEffect);
    else
        Fill(wc, column, static_cast<TColor>(FSD->SkinColors()->cBtnShadow));
    if (pageBg)
        SpreadPicture(wc, pageBg, {0, 0, pageBg->Width(), pageBg->Height()}, {FItemWidth, 0, W, H},
                      e->BGPageStretchEffect);
    if (FActivePage && RectInPicture(e->SkinRect, pic)) {
        TbsFrameParts fp;
        ComposeFrameParts(e, pic, GetPageRect(), fp);
        const TRect& F = fp.F;
        TBitmap &l = fp.Left, &t = fp.Top, &r = fp.Right, &b = fp.Bottom;
        wc->Draw(F.Left, F.Top, &t);
        wc->Draw(F.Left, F.Top + t.Height(), &l);
        wc->Draw(F.Right - r.Width(), F.Top + t.Height(), &r);
        wc->Draw(F.Left, F.Bottom - b.Height(), &b);
    }
    CalcItemRects();
    if (!FBackButtonRect.IsEmpty()) {
        const bool hotImage = FBackButtonActive && BackButtonHotImageIndex >= 0 && FBackButtonImageList &&
                              BackButtonHotImageIndex < FBackButtonImageList->Count();
        if (FBackButtonImageList && BackButtonImageIndex >= 0 && BackButtonImageIndex < FBackButtonImageList->Count()) {
            FBackButtonImageList->Draw(wc, FBackButtonRect.Left, FBackButtonRect.Top,
                                       hotImage ? BackButtonHotImageIndex : BackButtonImageIndex, true);
        } else {
            const TRect src =
                FBackButtonActive && !e->BackButtonActiveRect.IsEmpty() ? e->BackButtonActiveRect : e->BackButtonRect;
            if (RectInPicture(src, pic))
                BitBlt(wc->Handle(), FBackButtonRect.Left, FBackButtonRect.Top, src.Width(), src.Height(),
                       pic->Canvas()->Handle(), src.Left, src.Top, SRCCOPY);
        }
    }
    {
        TSaveDCGuard saved(wc->Handle());
        if (!FBackButtonRect.IsEmpty())
            ExcludeClipRect(wc->Handle(), 0, 0, FItemWidth, FBackButtonRect.Bottom + 2);
        for (int i = 0; i < FItems->Count(); ++i)
            if (FItems->Items(i)->Visible())
                DrawItem(wc, i);
    }
    if (!e->TopLineRect.IsEmpty() && RectInPicture(e->TopLineRect, pic)) {
        TBitmap line(W, e->TopLineRect.Height());
        CreateHSkinImage(e->TopLineOffset1, e->TopLineOffset2, &line, pic, e->TopLineRect, W, e->TopLineRect.Height(),
                         true);
        wc->Draw(0, 0, &line);
    }
    if (CanShowGripper() && RectInPicture(e->GripperRect, pic)) {
        const TRect& g = e->GripperRect;
        TransparentBlt(wc->Handle(), W - g.Width(), H - g.Height(), g.Width(), g.Height(), pic->Canvas()->Handle(),
                       g.Left, g.Top, g.Width(), g.Height(),
                       ColorToRGB(static_cast<TColor>(e->GripperTransparentColor)) & 0xFFFFFF);
    }
    C->Draw(0, 0, &work);
}

// ---- Messages -------------------------------------------------------------------------------------------------------
void TbsAppMenu::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TbsSkinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    // A menu without a window yet gets no WM_SIZE: the size is followed here as well.
    SizeChanged();
}

void TbsAppMenu::SizeChanged() {
    const int w = Width(), h = Height();
    if (w == FOldWidth && h == FOldHeight)
        return;
    FOldWidth = w;
    if (FActivePage)
        FActivePage->UpDateSize();
    if (FOldHeight != -1 && h != FOldHeight) {
        if (FScrollOffset > 0)
            FScrollOffset = std::max(0, FScrollOffset + FOldHeight - h);
        UpdateScrollInfo();
    }
    FOldHeight = h;
    AdjustScrollBar();
    Invalidate();
}

void TbsAppMenu::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case WM_GETDLGCODE:
            Message.Result = DLGC_WANTARROWS | DLGC_WANTTAB;
            return;
        case CM_WANTSPECIALKEY:
            // Enter acts on the selected item rather than on the form's default button.
            if (Message.WParam == VK_RETURN) {
                Message.Result = 1;
                return;
            }
            break;
        case WM_ERASEBKGND:
            Message.Result = 1;
            return;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            TbsSkinControl::WndProc(Message);
            Invalidate();
            return;
        case WM_MOUSEWHEEL:
            if (Focused()) {
                if (ControlSeam().WindowUnderCursor() == Handle()) {
                    if (GET_WHEEL_DELTA_WPARAM(Message.WParam) < 0)
                        FindNextItem();
                    else
                        FindPriorItem();
                }
                Message.Result = 0;
                return;
            }
            break;
        case WM_NCHITTEST: {
            TbsSkinControl::WndProc(Message);
            const TPoint p = ScreenToClient({GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)});
            if (CanShowGripper() && GetGripRect().Contains(p))
                Message.Result = HTBOTTOMRIGHT;
            return;
        }
        case WM_SIZE:
            TbsSkinControl::WndProc(Message);
            SizeChanged();
            return;
        case CM_MOUSELEAVE:
            TestActive(-1, -1);
            break;
        default:
            break;
    }
    TbsSkinControl::WndProc(Message);
}
