#include "skin/mdi/SkinMDITabsBar.h"

#include <algorithm>

#include "classlib/GdiHandles.h"
#include "classlib/Menus.h"
#include "skin/controls/ControlSkinning.h"
#include "skin/controls/SkinMenuSpeedButton.h"
#include "skin/core/GlyphPainters.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinText.h"
#include "skin/form/SkinMenu.h"
#include "skin/form/SkinPopupMenu.h"

namespace {
constexpr TColor kHotTabColour = static_cast<TColor>(0xF3D4C1);
constexpr TColor kActiveTabColour = static_cast<TColor>(0xE4BCA2);
constexpr wchar_t kBarSuffix[] = L"_SKFCHILDITEMBAR";
constexpr wchar_t kHideSuffix[] = L"_SKFCHILDITEMBARHIDE";

bool Has(const TRect& R) {
    return !R.IsEmpty();
}

TRect OrElse(const TRect& R, const TRect& Fallback) {
    return Has(R) ? R : Fallback;
}

// Edges included, as the tab bar's hit test wants.
bool InClosed(const TRect& R, int X, int Y) {
    return X >= R.Left && X <= R.Right && Y >= R.Top && Y <= R.Bottom;
}

// The button entry's picture part Src composed nine-part at W x H into B.
void ComposeButtonEntry(TBitmap* B, TbsDataSkinButtonControl* e, TBitmap* Picture, const TRect& Src, int W, int H) {
    const int dw = W - Src.Width(), dh = H - Src.Height();
    CreateSkinImage(
        e->LTPoint, e->RTPoint, e->LBPoint, e->RBPoint, e->ClRect, e->LTPoint, {e->RTPoint.X + dw, e->RTPoint.Y},
        {e->LBPoint.X, e->LBPoint.Y + dh}, {e->RBPoint.X + dw, e->RBPoint.Y + dh},
        {e->ClRect.Left, e->ClRect.Top, e->ClRect.Right + dw, e->ClRect.Bottom + dh}, B, Picture, Src, W, H, true,
        e->LeftStretch, e->TopStretch, e->RightStretch, e->BottomStretch, e->StretchEffect, e->StretchType);
}

// The state's part of a button entry: pressed (falling back to hot, then normal), hot (falling back to normal).
TRect ButtonEntryPart(TbsDataSkinButtonControl* e, bool Pressed, bool Hot) {
    return Pressed ? OrElse(e->DownSkinRect, OrElse(e->ActiveSkinRect, e->SkinRect))
           : Hot   ? OrElse(e->ActiveSkinRect, e->SkinRect)
                   : e->SkinRect;
}

TColor ButtonEntryColour(TbsDataSkinButtonControl* e, bool Pressed, bool Hot) {
    return static_cast<TColor>(Pressed ? e->DownFontColor : Hot ? e->ActiveFontColor : e->FontColor);
}

TbsDataSkinButtonControl* ButtonEntry(TbsSkinData* Data, const wchar_t* Name, TBitmap*& Picture) {
    auto* e = dynamic_cast<TbsDataSkinButtonControl*>(SkinEntryAt(Data, LookupSkinEntry(Data, Name)));
    Picture = e ? SkinPictureAt(Data, e->PictureIndex) : nullptr;
    return Picture ? e : nullptr;
}

TCustomForm* MainForm() {
    TCustomForm* main = Application->MainForm();
    return main && main->FormStyle() == fsMDIForm ? main : nullptr;
}
}  // namespace

TbsSkinMDITabsBar::TbsSkinMDITabsBar(TComponent* AOwner) : TbsSkinControl(AOwner) {
    FSkinDataName = L"tab";
    SetBounds(0, 0, 150, 21);
    FDefaultFont = NewDefaultControlFont([this] { Invalidate(); });
    FListMenu = new TbsSkinPopupMenu(this);
    FHideListMenu = new TbsSkinPopupMenu(this);
}

TbsSkinMDITabsBar::~TbsSkinMDITabsBar() = default;

// ---- Tabs ----------------------------------------------------------------------------------------------------------

void TbsSkinMDITabsBar::AddTab(TCustomForm* Child) {
    if (!Child)
        return;
    for (const auto& t : ObjectList)
        if (t->Child == Child)
            return;
    auto tab = std::make_unique<TbsMDITab>();
    tab->TabsBar = this;
    tab->Child = Child;
    ObjectList.push_back(std::move(tab));
    Child->FreeNotification(this);
    if (ObjectList.size() == 1)
        CreateListButton();
    CheckActive();
    Invalidate();
}

void TbsSkinMDITabsBar::RemoveTabAt(size_t Index) {
    TbsMDITab* tab = ObjectList[Index].get();
    if (ActiveTabIndex == static_cast<int>(Index)) {
        if (OnTabMouseLeave)
            OnTabMouseLeave(tab);
        ActiveTabIndex = OldTabIndex = -1;
    } else if (ActiveTabIndex > static_cast<int>(Index)) {
        --ActiveTabIndex;
    }
    // A drag of this tab or of one behind it ends: indexes would point elsewhere.
    if (DragIndex >= static_cast<int>(Index))
        ResetDrag();
    TCustomForm* child = tab->Child;
    // A menu closed since has left nothing to close.
    if (FMenuChild && !(SKF && SKF->SkinMenu() && SKF->SkinMenu()->Visible()))
        FMenuChild = nullptr;
    if (child == FMenuChild) {
        if (SKF && SKF->SkinMenu() && SKF->SkinMenu()->Visible()) {
            SKF->SkinMenu()->Hide();
            SKF->SkinMenuClose();
        }
        FMenuChild = nullptr;
    }
    ObjectList.erase(ObjectList.begin() + static_cast<std::ptrdiff_t>(Index));
    if (child &&
        std::none_of(ObjectList.begin(), ObjectList.end(), [child](const auto& t) { return t->Child == child; }))
        child->RemoveFreeNotification(this);
    if (ObjectList.empty()) {
        delete FListButton;
        FListButton = nullptr;
        ShowHideListButton(false);
    }
    Invalidate();
}

void TbsSkinMDITabsBar::DeleteTab(TCustomForm* Child) {
    for (size_t i = 0; i < ObjectList.size(); ++i)
        if (ObjectList[i]->Child == Child) {
            RemoveTabAt(i);
            return;
        }
}

void TbsSkinMDITabsBar::RefreshTab(TCustomForm* Child) {
    for (const auto& t : ObjectList)
        if (t->Child == Child && t->Visible)
            InvalidateRect(Handle(), AsRECT(t->ObjectRect), FALSE);
}

void TbsSkinMDITabsBar::CheckActive() {
    TCustomForm* main = MainForm();
    TCustomForm* active = main ? main->ActiveMDIChild() : nullptr;
    if (!active)
        return;
    for (const auto& t : ObjectList)
        t->Active = t->Child == active;
    Invalidate();
}

int TbsSkinMDITabsBar::GetTabIndex(int X, int Y) {
    for (size_t i = 0; i < ObjectList.size(); ++i)
        if (ObjectList[i]->Visible && InClosed(ObjectList[i]->ObjectRect, X, Y))
            return static_cast<int>(i);
    return -1;
}

TbsMDITab* TbsSkinMDITabsBar::GetTab(int X, int Y) {
    const int i = GetTabIndex(X, Y);
    return i < 0 ? nullptr : ObjectList[static_cast<size_t>(i)].get();
}

void TbsSkinMDITabsBar::DoClose(TbsMDITab* Tab) {
    if (Tab && Tab->Child)
        Tab->Child->Close();
}

void TbsSkinMDITabsBar::ResetDrag() {
    const bool was = IsDrag || FDown;
    IsDrag = false;
    FDown = false;
    DragIndex = -1;
    TabDX = 0;
    if (was && MouseCapture())
        SetMouseCapture(false);
}

// ---- Properties ----------------------------------------------------------------------------------------------------

void TbsSkinMDITabsBar::SetShowAddButton(bool Value) {
    if (FShowAddButton != Value) {
        FShowAddButton = Value;
        Invalidate();
    }
}

void TbsSkinMDITabsBar::SetShowCloseButtons(bool Value) {
    if (FShowCloseButtons != Value) {
        FShowCloseButtons = Value;
        Invalidate();
    }
}

void TbsSkinMDITabsBar::SetMinTabWidth(int Value) {
    FMinTabWidth = std::max(Value, 0);
    Invalidate();
}

void TbsSkinMDITabsBar::SetDefaultTabWidth(int Value) {
    FDefaultTabWidth = std::max(Value, 1);
    Invalidate();
}

void TbsSkinMDITabsBar::SetDefaultHeight(int Value) {
    FDefaultHeight = Value;
    if (FIndex == -1 && Value > 0)
        SetHeight(Value);
}

void TbsSkinMDITabsBar::SetTabKind(TbsSkinMDITabKind Value) {
    if (FTabKind == Value)
        return;
    FTabKind = Value;
    if (FIndex != -1)
        Invalidate();
}

void TbsSkinMDITabsBar::SetShowChildIcon(bool Value) {
    if (FShowChildIcon != Value) {
        FShowChildIcon = Value;
        Invalidate();
    }
}

void TbsSkinMDITabsBar::SetSkinForm(TbsSkinForm* Value) {
    SetBorrowed(static_cast<TComponent*>(this), SKF, Value);
}

void TbsSkinMDITabsBar::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == SKF)
        SKF = nullptr;
    if (AComponent == FListButton)
        FListButton = nullptr;
    if (AComponent == FHideListButton)
        FHideListButton = nullptr;
    if (AComponent == FListMenu)
        FListMenu = nullptr;
    if (AComponent == FHideListMenu)
        FHideListMenu = nullptr;
    // A child that goes takes its tab with it.
    for (size_t i = ObjectList.size(); i-- > 0;)
        if (i < ObjectList.size() && ObjectList[i]->Child == AComponent) {
            ObjectList[i]->Child = nullptr;
            if (FMenuChild == AComponent)
                ChildMenuClosed();
            RemoveTabAt(i);
        }
}

void TbsSkinMDITabsBar::ChildMenuClosed() {
    if (SKF && SKF->SkinMenu() && SKF->SkinMenu()->Visible()) {
        SKF->SkinMenu()->Hide();
        SKF->SkinMenuClose();
    }
    FMenuChild = nullptr;
}

// ---- Skin
// ------------------------------------------------------------------------------------------------------------

bool TbsSkinMDITabsBar::SkinnedLook() const {
    return FIndex != -1 && Picture;
}

void TbsSkinMDITabsBar::GetSkinData() {
    TbsSkinControl::GetSkinData();
    Picture = nullptr;
    auto* e = dynamic_cast<TbsDataSkinTabControl*>(Entry());
    if (!e) {
        FIndex = -1;
        return;
    }
    Picture = SkinPictureAt(FSD, e->PictureIndex);
    TabRect = e->TabRect;
    ActiveTabRect = OrElse(e->ActiveTabRect, e->TabRect);
    MouseInTabRect = OrElse(e->MouseInTabRect, e->TabRect);
    TabsBGRect = e->TabsBGRect;
    TabLeftOffset = e->TabLeftOffset;
    TabRightOffset = e->TabRightOffset;
    FontName = e->FontName;
    FontStyle = ToFontStyles(e->FontStyle);
    FontHeight = e->FontHeight;
    FontColor = static_cast<TColor>(e->FontColor);
    ActiveFontColor = static_cast<TColor>(e->FocusFontColor);
    MouseInFontColor = static_cast<TColor>(e->MouseInFontColor);
    TabStretchEffect = e->TabStretchEffect;
    CloseButtonRect = e->CloseButtonRect;
    ClosebuttonActiveRect = OrElse(e->CloseButtonActiveRect, e->CloseButtonRect);
    CloseButtonDownRect = OrElse(e->CloseButtonDownRect, ClosebuttonActiveRect);
    ButtonTransparent = e->ButtonTransparent;
    ButtonTransparentColor = static_cast<TColor>(e->ButtonTransparentColor);
    LTPoint = e->LTPoint;
    RTPoint = e->RTPoint;
    ClRect = e->ClRect;
    SkinRect = e->SkinRect;
    TopStretch = e->TopStretch;
    FBottomOffset = ClRect.Top;
    FActiveTabOffset = ActiveTabRect.Height() - TabRect.Height();
}

void TbsSkinMDITabsBar::ChangeSkinData() {
    TbsSkinControl::ChangeSkinData();
    GetSkinData();
    FCloseSize = SkinnedLook() && Has(CloseButtonRect) ? CloseButtonRect.Width() : 14;
    if (SkinnedLook() && UseSkinSize && Has(TabRect))
        SetHeight(TabRect.Height() + (FTabKind == bstkTab ? FBottomOffset : 0));
    else if (FDefaultHeight > 0)
        SetHeight(FDefaultHeight);
    for (TbsSkinMenuSpeedButton* b : {FListButton, FHideListButton})
        if (b)
            b->SetSkinData(FSD);
    Realign();
    Invalidate();
}

void TbsSkinMDITabsBar::AdjustClientRect(TRect& Rect) {
    if (SkinnedLook() && FTabKind == bstkTab)
        Rect.Bottom -= FBottomOffset;
}

// ---- Layout
// ----------------------------------------------------------------------------------------------------------

TbsMDITabsLayout TbsSkinMDITabsBar::Layout() {
    TbsMDITabsLayoutInput in;
    in.Count = TabCount();
    in.Width = Width();
    in.Height = Height();
    in.BottomOffset = SkinnedLook() && FTabKind == bstkTab ? FBottomOffset : 0;
    in.AddButton = FShowAddButton;
    in.DefaultTabWidth = FDefaultTabWidth;
    in.MinTabWidth = FMinTabWidth;
    in.DragIndex = IsDrag ? DragIndex : -1;
    in.TabDX = TabDX;
    return LayoutMDITabs(in);
}

void TbsSkinMDITabsBar::CalcObjectRects() {
    const TbsMDITabsLayout L = Layout();
    for (size_t i = 0; i < ObjectList.size(); ++i) {
        ObjectList[i]->ObjectRect = L.Tabs[i];
        ObjectList[i]->Visible = L.Visible[i];
    }
    FInVisibleCount = L.InVisibleCount;
    FAddButtonRect = L.AddButton;
}

// ---- Painting
// --------------------------------------------------------------------------------------------------------

void TbsSkinMDITabsBar::Paint() {
    TbsSkinControl::Paint();
    ShowHideListButton(FInVisibleCount > 0);
}

void TbsSkinMDITabsBar::CreateControlDefaultImage(TBitmap* B) {
    DrawBar(B);
}

void TbsSkinMDITabsBar::CreateControlSkinImage(TBitmap* B) {
    DrawBar(B);
}

void TbsSkinMDITabsBar::DrawBar(TBitmap* B) {
    GetSkinData();
    TCanvas* C = B->Canvas();
    const int W = B->Width(), H = B->Height();
    const int tabH = H - (SkinnedLook() && FTabKind == bstkTab ? FBottomOffset : 0);
    if (!SkinnedLook()) {
        C->Brush()->SetColor(clBtnFace);
        C->FillRect(TRect{0, 0, W, H});
    } else if (FSD->MDITabsTransparent) {
        GetParentImage(this, C);
    } else {
        C->Brush()->SetColor(clBtnFace);
        C->FillRect(TRect{0, 0, W, H});
        if (Has(TabsBGRect) && RectInPicture(TabsBGRect, Picture))
            for (int x = 0; x < W; x += TabsBGRect.Width())
                C->CopyRect(TRect{x, 0, x + TabsBGRect.Width(), tabH}, Picture->Canvas(), TabsBGRect);
        if (FTabKind == bstkTab && Has(SkinRect) && ClRect.Top > 0 && RectInPicture(SkinRect, Picture)) {
            const TRect strip{SkinRect.Left + LTPoint.X, SkinRect.Top, SkinRect.Left + RTPoint.X,
                              SkinRect.Top + ClRect.Top};
            if (strip.Width() > 0) {
                TBitmap s;
                CreateHSkinImage(0, 0, &s, Picture, strip, W, FBottomOffset, TopStretch);
                C->Draw(0, H - FBottomOffset, &s);
            }
        }
    }
    CalcObjectRects();
    DrawAddButton(C);
    for (int i = 0; i < TabCount(); ++i)
        if (!(IsDrag && i == DragIndex))
            DrawTab(C, Tabs(i));
    if (IsDrag && DragIndex >= 0 && DragIndex < TabCount()) {
        DrawTab(C, Tabs(DragIndex));
        DrawDropMarker(C);
    }
}

void TbsSkinMDITabsBar::DrawDropMarker(TCanvas* C) {
    const TbsMDITabsLayout L = Layout();
    const int to = MDITabDropIndex(L, DragIndex, TabDX);
    if (to < 0)
        return;
    const TRect& r = L.Tabs[static_cast<size_t>(to)];
    const int x = TabDX > 0 ? r.Right : r.Left;
    const int H = Height(), mid = H / 2;
    HDC dc = C->Handle();
    const int old = SetROP2(dc, R2_NOT);
    for (int dx = -1; dx <= 1; ++dx) {
        MoveToEx(dc, x + dx, 0, nullptr);
        LineTo(dc, x + dx, H);
    }
    SetROP2(dc, old);
    C->Pen()->SetColor(clBtnText);
    C->Brush()->SetColor(clBtnText);
    for (int side : {1, -1}) {
        const TPoint tri[3] = {{x + 2 * side, mid}, {x + 5 * side, mid - 3}, {x + 5 * side, mid + 3}};
        C->Polygon(tri, 3);
    }
}

void TbsSkinMDITabsBar::DrawTab(TCanvas* C, TbsMDITab* Tab) {
    const TRect& R = Tab->ObjectRect;
    if (!Tab->Visible || R.Width() <= 0 || R.Height() <= 0)
        return;
    const bool hot = Tab->MouseIn && !Tab->Active;
    int w = R.Width(), h = R.Height();
    TBitmap b(w, h);
    TCanvas* bc = b.Canvas();
    TRect text{2, 0, w - 2, h};
    TColor colour = FDefaultFont->Color();
    TbsDataSkinButtonControl* resize = nullptr;
    if (SkinnedLook() && FTabKind == bstkButton) {
        TBitmap* rp = nullptr;
        resize = ButtonEntry(FSD, L"resizebutton", rp);
        if (!resize)
            return;
        const TRect sr = ButtonEntryPart(resize, Tab->Active, hot || Tab->Active);
        if (RectInPicture(sr, rp))
            ComposeButtonEntry(&b, resize, rp, sr, w, h);
        text = TRect{resize->ClRect.Left, resize->ClRect.Top, resize->ClRect.Right + w - resize->SkinRect.Width(),
                     resize->ClRect.Bottom + h - resize->SkinRect.Height()};
        colour = ButtonEntryColour(resize, Tab->Active, hot);
        if (FShowCloseButtons)
            text.Right -= FCloseSize + 3;
    } else if (SkinnedLook()) {
        const TRect sr = hot && Has(MouseInTabRect) ? MouseInTabRect : Tab->Active ? ActiveTabRect : TabRect;
        if (RectInPicture(sr, Picture)) {
            if (!UseSkinSize) {
                if (Tab->Active)
                    h += FActiveTabOffset;
                b.SetSize(w, std::max(h, 1));
                const int q = TabRect.Height() / 4;
                CreateStretchImage(&b, Picture, sr, {TabLeftOffset, q, sr.Width() - TabRightOffset, sr.Height() - q},
                                   true);
                text = TRect{2, 1, w - 2, R.Height()};
            } else {
                CreateHSkinImage(TabLeftOffset, TabRightOffset, &b, Picture, sr, w, h, TabStretchEffect);
                text = TRect{TabLeftOffset, 1, w - TabRightOffset, h};
            }
        }
        colour = hot ? MouseInFontColor : Tab->Active ? ActiveFontColor : FontColor;
        if (FShowCloseButtons)
            text = TRect{2, 1, w - FCloseSize - 5, R.Height()};
    } else {
        bc->Brush()->SetColor(hot ? kHotTabColour : Tab->Active ? kActiveTabColour : clBtnFace);
        bc->FillRect(TRect{0, 0, w, h});
        if (FShowCloseButtons)
            text = TRect{2, 0, w - FCloseSize - 5, h};
    }
    if (FShowCloseButtons) {
        const int left = text.Right;
        DrawCloseButton(bc, Tab, TRect{left, 0, w, R.Height()});
    }
    // The child's icon in a 20-pixel box at the text's left.
    if (FShowChildIcon && Tab->Child) {
        HICON icon = Tab->Child->Icon()->Empty() ? nullptr : Tab->Child->Icon()->Handle();
        if (!icon && !Application->Icon()->Empty())
            icon = Application->Icon()->Handle();
        if (!icon)
            icon = LoadIconW(nullptr, IDI_APPLICATION);
        int sz = GetSystemMetrics(SM_CXSMICON);
        if (sz <= 0)
            sz = GetSystemMetrics(SM_CXSIZE);
        const int box = std::max(20, sz);
        DrawIconEx(bc->Handle(), text.Left + (box - sz) / 2, text.Top + (text.Height() - sz) / 2, icon, sz, sz, 0,
                   nullptr, DI_NORMAL);
        text.Left += box;
    }
    // The caption.
    TFont* f = bc->Font();
    const bool entryFont = SkinnedLook() && FTabKind == bstkTab;
    if (resize)
        PrepareSkinTextFont(f, FDefaultFont.get(), true, UseSkinFont, resize->FontName, resize->FontHeight,
                            ToFontStyles(resize->FontStyle), colour, FSD);
    else
        PrepareSkinTextFont(f, FDefaultFont.get(), entryFont, UseSkinFont, FontName, FontHeight, FontStyle, colour,
                            FSD);
    if (!SkinnedLook())
        f->SetColor(FDefaultFont->Color());
    std::wstring caption = Tab->Child ? Tab->Child->Caption() : std::wstring();
    if (OnTabGetDrawParamsEvent)
        OnTabGetDrawParamsEvent(Tab, bc);
    if (text.Width() > 0 && !caption.empty()) {
        RECT tr{text.Left, text.Top, text.Right, text.Bottom};
        SetBkMode(bc->Handle(), TRANSPARENT);
        SelectObject(bc->Handle(), f->Handle());
        SetTextColor(bc->Handle(), ColorToRGB(f->Color()) & 0xFFFFFF);
        DrawTextW(bc->Handle(), caption.c_str(), static_cast<int>(caption.size()), &tr,
                  DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    C->Draw(R.Left, R.Top, &b);
}

void TbsSkinMDITabsBar::DrawCloseButton(TCanvas* C, TbsMDITab* Tab, const TRect& R) {
    const bool pressed = Tab->ButtonMouseDown && Tab->ButtonMouseIn;
    if (SkinnedLook() && Has(CloseButtonRect)) {
        const TRect src = pressed ? CloseButtonDownRect : Tab->ButtonMouseIn ? ClosebuttonActiveRect : CloseButtonRect;
        const int top = R.Top + R.Height() / 2 - src.Height() / 2;
        const TRect dst{R.Left, top, R.Left + src.Width(), top + src.Height()};
        Tab->ButtonRect = dst;
        if (!RectInPicture(src, Picture))
            return;
        if (ButtonTransparent)
            TransparentBlt(C->Handle(), dst.Left, dst.Top, dst.Width(), dst.Height(), Picture->Canvas()->Handle(),
                           src.Left, src.Top, src.Width(), src.Height(),
                           static_cast<UINT>(ColorToRGB(ButtonTransparentColor) & 0xFFFFFF));
        else
            C->CopyRect(dst, Picture->Canvas(), src);
        return;
    }
    const int s = SkinnedLook() ? FCloseSize : 14;
    const int top = R.Top + R.Height() / 2 - s / 2;
    const TRect dst{R.Left, top, R.Left + s, top + s};
    Tab->ButtonRect = dst;
    if (SkinnedLook()) {
        TBitmap* p = nullptr;
        TbsDataSkinButtonControl* e = ButtonEntry(FSD, L"resizetoolbutton", p);
        if (!e)
            return;
        const TRect sr = ButtonEntryPart(e, pressed, Tab->ButtonMouseIn);
        if (RectInPicture(sr, p)) {
            TBitmap img(s, s);
            ComposeButtonEntry(&img, e, p, sr, s, s);
            C->Draw(dst.Left, dst.Top, &img);
        }
        const TColor col = ButtonEntryColour(e, pressed, Tab->ButtonMouseIn);
        DrawCloseImage(C, dst.Left + s / 2 - 5, dst.Top + s / 2 - 5, col);
        return;
    }
    if (Tab->ButtonMouseIn) {
        C->Brush()->SetColor(pressed ? kActiveTabColour : clBtnShadow);
        C->FillRect(dst);
    }
    DrawCloseImage(C, dst.Left + 2, dst.Top + 2, Tab->ButtonMouseIn ? clWhite : clBlack);
}

void TbsSkinMDITabsBar::DrawAddButton(TCanvas* C) {
    if (!FShowAddButton || FAddButtonRect.IsEmpty())
        return;
    const bool pressed = FAddButtonDown && FAddButtonActive;
    if (!SkinnedLook()) {
        C->Brush()->SetColor(FAddButtonActive ? kHotTabColour : clBtnFace);
        C->FillRect(FAddButtonRect);
        DrawArrowImage(C, FAddButtonRect, clBtnText, 5);
        return;
    }
    TBitmap* p = nullptr;
    TbsDataSkinButtonControl* e = ButtonEntry(FSD, L"resizetoolbutton", p);
    if (!e)
        return;
    const int w = FAddButtonRect.Width(), h = FAddButtonRect.Height();
    const TRect sr = ButtonEntryPart(e, pressed, FAddButtonActive);
    if (RectInPicture(sr, p)) {
        TBitmap img(w, h);
        ComposeButtonEntry(&img, e, p, sr, w, h);
        C->Draw(FAddButtonRect.Left, FAddButtonRect.Top, &img);
    }
    DrawArrowImage(C, FAddButtonRect, ButtonEntryColour(e, pressed, FAddButtonActive), 5);
}

// ---- Pointer
// ---------------------------------------------------------------------------------------------------------

void TbsSkinMDITabsBar::TestActive(int X, int Y) {
    const int hot = GetTabIndex(X, Y);
    bool repaint = false;
    if (hot != ActiveTabIndex) {
        OldTabIndex = ActiveTabIndex;
        ActiveTabIndex = hot;
        if (OldTabIndex >= 0 && OldTabIndex < TabCount()) {
            Tabs(OldTabIndex)->MouseIn = false;
            if (OnTabMouseLeave)
                OnTabMouseLeave(Tabs(OldTabIndex));
        }
        if (hot >= 0) {
            Tabs(hot)->MouseIn = true;
            if (OnTabMouseEnter)
                OnTabMouseEnter(Tabs(hot));
        }
        for (int i = 0; i < TabCount(); ++i)
            if (i != hot && (Tabs(i)->ButtonMouseIn || Tabs(i)->ButtonMouseDown)) {
                Tabs(i)->ButtonMouseIn = Tabs(i)->ButtonMouseDown = false;
            }
        repaint = true;
    }
    if (FShowCloseButtons && hot >= 0) {
        TbsMDITab* t = Tabs(hot);
        TRect b = t->ButtonRect;
        b.Offset(t->ObjectRect.Left, t->ObjectRect.Top);
        const bool in = b.Contains({X, Y});
        if (in != t->ButtonMouseIn) {
            t->ButtonMouseIn = in;
            if (!in)
                t->ButtonMouseDown = false;
            repaint = true;
        }
    }
    const bool addHot = FShowAddButton && FAddButtonRect.Contains({X, Y});
    if (addHot != FAddButtonActive) {
        FAddButtonActive = addHot;
        repaint = true;
    }
    if (repaint)
        Invalidate();
}

void TbsSkinMDITabsBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TbsSkinControl::MouseDown(Button, Shift, X, Y);
    const int index = GetTabIndex(X, Y);
    TbsMDITab* tab = index >= 0 ? Tabs(index) : nullptr;
    if (Button == mbLeft && FShowAddButton && FAddButtonActive && FAddButtonRect.Contains({X, Y})) {
        FAddButtonDown = true;
        Invalidate();
        return;
    }
    if (!tab || !tab->Child)
        return;
    TCustomForm* child = tab->Child;
    if (Button == mbLeft) {
        TbsSkinForm* childSkin = GetSkinFormComponent(child);
        if (childSkin && childSkin->WindowState() == wsMinimized)
            childSkin->SetWindowState(wsNormal);
        child->Show();
        if (TCustomForm* main = MainForm())
            SendMessageW(main->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child->Handle()), 0);
        FDown = true;
        DragIndex = MoveTabs ? index : -1;
        DX = X;
        TabDX = 0;
        if (Shift.Contains(ssDouble) && DblClickChildMove && childSkin && childSkin->WindowState() == wsNormal)
            child->SetBounds(0, 0, child->Width(), child->Height());
        if (OnTabMouseDown)
            OnTabMouseDown(Button, Shift, tab);
        if (FShowCloseButtons) {
            TRect b = tab->ButtonRect;
            b.Offset(tab->ObjectRect.Left, tab->ObjectRect.Top);
            if (b.Contains({X, Y})) {
                ResetDrag();
                tab->ButtonMouseIn = tab->ButtonMouseDown = true;
            } else {
                tab->ButtonMouseIn = tab->ButtonMouseDown = false;
            }
        }
        CheckActive();
        Invalidate();
        return;
    }
    if (Button == mbRight) {
        TbsSkinForm* childSkin = GetSkinFormComponent(child);
        if (SupportChildMenus && childSkin && SKF && SKF->SkinMenu()) {
            POINT p{X, Y};
            ::ClientToScreen(Handle(), &p);
            FMenuChild = child;
            TMenuItem* items = childSkin->GetSystemMenu();
            SKF->SkinMenuOpen();
            SKF->SkinMenu()->Popup(Parent(), SKF->MenusSkinData() ? SKF->MenusSkinData() : SKF->SkinData(), 0,
                                   TRect{p.x, p.y, p.x, p.y}, items, false);
            if (!SKF->SkinMenu()->Visible()) {
                SKF->SkinMenuClose();
                FMenuChild = nullptr;
            }
        }
        if (OnTabMouseDown && index < TabCount() && Tabs(index) == tab)
            OnTabMouseDown(Button, Shift, tab);
    }
}

void TbsSkinMDITabsBar::MouseMove(TShiftState Shift, int X, int Y) {
    TbsSkinControl::MouseMove(Shift, X, Y);
    if (FDown && DragIndex >= 0) {
        if (!IsDrag && X != DX)
            IsDrag = true;
        if (IsDrag) {
            TabDX = X - DX;
            Invalidate();
            return;
        }
    }
    TestActive(X, Y);
}

void TbsSkinMDITabsBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TbsSkinControl::MouseUp(Button, Shift, X, Y);
    FDown = false;
    if (IsDrag) {
        const int to = MDITabDropIndex(Layout(), DragIndex, TabDX);
        if (to >= 0 && to != DragIndex && DragIndex < TabCount()) {
            auto moved = std::move(ObjectList[static_cast<size_t>(DragIndex)]);
            ObjectList.erase(ObjectList.begin() + DragIndex);
            ObjectList.insert(ObjectList.begin() + to, std::move(moved));
            ActiveTabIndex = OldTabIndex = -1;
        }
        ResetDrag();
        Invalidate();
        return;
    }
    DragIndex = -1;
    if (FAddButtonDown) {
        const bool inside = FAddButtonRect.Contains({X, Y});
        FAddButtonDown = false;
        Invalidate();
        if (inside && OnAddButtonClick)
            OnAddButtonClick(this);
        return;
    }
    TbsMDITab* tab = GetTab(X, Y);
    if (!tab)
        return;
    if (OnTabMouseUp)
        OnTabMouseUp(Button, Shift, tab);
    tab = GetTab(X, Y);  // the handler may have closed a child
    if (!tab || !FShowCloseButtons || Button != mbLeft)
        return;
    TRect b = tab->ButtonRect;
    b.Offset(tab->ObjectRect.Left, tab->ObjectRect.Top);
    if (b.Contains({X, Y}) && tab->ButtonMouseDown) {
        tab->ButtonMouseIn = true;
        tab->ButtonMouseDown = false;
        Invalidate();
        DoClose(tab);
    } else {
        tab->ButtonMouseIn = tab->ButtonMouseDown = false;
        Invalidate();
    }
}

void TbsSkinMDITabsBar::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case CM_MOUSELEAVE:
            if (!FDown)
                TestActive(-1, -1);
            break;
        case WM_CHECKPARENTBG:
            if (SkinnedLook() && FSD->MDITabsTransparent)
                Invalidate();
            break;
        case WM_MOVE:
            if (Align() == alNone && SkinnedLook() && FSD->MDITabsTransparent)
                Invalidate();
            break;
        case WM_CLOSESKINMENU:
            FMenuChild = nullptr;
            break;
        default:
            break;
    }
    TbsSkinControl::WndProc(Message);
}

// ---- List menus
// ------------------------------------------------------------------------------------------------------

TbsSkinMenuSpeedButton* TbsSkinMDITabsBar::NewListButton(int Arrow,
                                                         TAlign Where,
                                                         TbsSkinPopupMenu* Menu,
                                                         TNotifyEvent BeforeDrop) {
    auto* b = new TbsSkinMenuSpeedButton(this);
    b->SetSkinDataName(L"resizetoolbutton");
    b->SetSkinData(FSD);
    b->FDrawStandardArrow = true;
    b->FArrowType = Arrow;
    b->SetWidth(15);
    b->SetAlign(Where);
    b->SetSkinPopupMenu(Menu);
    b->OnShowTrackMenu = std::move(BeforeDrop);
    b->SetParent(this);
    return b;
}

void TbsSkinMDITabsBar::CreateListButton() {
    if (!FListButton)
        FListButton = NewListButton(4, alLeft, FListMenu, [this](TObject*) { UpdateListMenu(); });
}

void TbsSkinMDITabsBar::ShowHideListButton(bool Show) {
    if (Show && !FHideListButton) {
        FHideListButton = NewListButton(2, alRight, FHideListMenu, [this](TObject*) { UpdateHideListMenu(); });
    } else if (!Show && FHideListButton) {
        delete FHideListButton;
        FHideListButton = nullptr;
    }
}

void TbsSkinMDITabsBar::FillMenu(TbsSkinPopupMenu* Menu, const wchar_t* Suffix, bool HiddenOnly) {
    if (!Menu)
        return;
    TMenuItem* root = Menu->Items();
    while (root->Count() > 0) {
        TMenuItem* item = root->Items(0);
        root->Remove(item);
        delete item;
    }
    const std::wstring suffix = Suffix;
    for (const auto& t : ObjectList) {
        if (!t->Child || (HiddenOnly && t->Visible))
            continue;
        auto* item = new TMenuItem(Menu);
        item->SetName(t->Child->Name() + suffix);
        item->SetCaption(t->Child->Caption());
        item->SetRadioItem(true);
        item->SetGroupIndex(0);
        item->SetChecked(t->Active);
        item->OnClick = [this, suffix](TObject* Sender) { MenuItemClick(Sender, suffix); };
        root->Add(item);
    }
}

void TbsSkinMDITabsBar::UpdateListMenu() {
    FillMenu(FListMenu, kBarSuffix, false);
}

void TbsSkinMDITabsBar::UpdateHideListMenu() {
    CalcObjectRects();
    FillMenu(FHideListMenu, kHideSuffix, true);
}

void TbsSkinMDITabsBar::MenuItemClick(TObject* Sender, const std::wstring& Suffix) {
    auto* item = dynamic_cast<TMenuItem*>(Sender);
    if (!item || !SKF || SKF->Form()->FormStyle() != fsMDIForm)
        return;
    std::wstring name = item->Name();
    if (name.size() >= Suffix.size() && name.compare(name.size() - Suffix.size(), Suffix.size(), Suffix) == 0)
        name.resize(name.size() - Suffix.size());
    TCustomForm* main = SKF->Form();
    for (int i = 0; i < main->MDIChildCount(); ++i) {
        TCustomForm* child = main->MDIChildren(i);
        if (child->Name() != name)
            continue;
        if (TbsSkinForm* c = GetSkinFormComponent(child); c && c->WindowState() == wsMinimized)
            c->SetWindowState(wsNormal);
        child->Show();
        SendMessageW(main->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child->Handle()), 0);
        break;
    }
}
