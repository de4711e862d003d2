// The main menu bar: its objects, their layout and drawing, the mouse, the keyboard's menu mode, the scroll menu of
// the hidden entries, merging and the MDI buttons.
#include "skin/menubar/MainMenuBar.h"

#include <algorithm>

#include "skin/controls/ControlMorph.h"
#include "skin/controls/ControlSkinning.h"
#include "skin/core/GlyphPainters.h"
#include "skin/core/ResourceStrings.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinText.h"
#include "skin/core/SkinUtils.h"
#include "skin/form/SkinForm.h"
#include "skin/form/SkinMenu.h"
#include "skin/menubar/MenuBarLayout.h"

namespace {

bool Has(const TRect& R) {
    return !IsNullRect(R);
}

bool Contains(const TRect& R, int X, int Y) {
    return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
}

bool InPicture(const TRect& R, TBitmap* P) {
    return P && Has(R) && R.Left >= 0 && R.Top >= 0 && R.Right <= P->Width() && R.Bottom <= P->Height();
}

void FillFramed(TCanvas* C, const TRect& R, COLORREF Fill, bool Frame) {
    HDC dc = C->Handle();
    HBRUSH b = CreateSolidBrush(Fill);
    RECT r{R.Left, R.Top, R.Right, R.Bottom};
    FillRect(dc, &r, b);
    DeleteObject(b);
    if (Frame) {
        HBRUSH f = CreateSolidBrush(RGB(59, 107, 183));
        FrameRect(dc, &r, f);
        DeleteObject(f);
    }
}

// A button or panel entry composed nine-part at B's size from Src (the entry's own rectangle or one of its states).
void ComposeNinePart(const TbsDataSkinCustomControl* E, TBitmap* Pic, const TRect& Src, TBitmap* B) {
    const int w = B->Width(), h = B->Height();
    const int xo = w - Src.Width(), yo = h - Src.Height();
    const TRect& cl = E->ClRect;
    CreateSkinImage(E->LTPoint, E->RTPoint, E->LBPoint, E->RBPoint, cl, E->LTPoint,
                    TPoint{E->RTPoint.X + xo, E->RTPoint.Y}, TPoint{E->LBPoint.X, E->LBPoint.Y + yo},
                    TPoint{E->RBPoint.X + xo, E->RBPoint.Y + yo}, TRect{cl.Left, cl.Top, cl.Right + xo, cl.Bottom + yo},
                    B, Pic, Src, w, h, true, E->LeftStretch, E->TopStretch, E->RightStretch, E->BottomStretch,
                    E->StretchEffect, E->StretchType);
}

template <class T>
T* NamedEntry(TbsSkinData* SD, const wchar_t* Name) {
    return dynamic_cast<T*>(SkinEntryAt(SD, LookupSkinEntry(SD, Name)));
}

TRect ToScreen(TControl* C, const TRect& R) {
    POINT p{R.Left, R.Top};
    if (auto* w = dynamic_cast<TWinControl*>(C); w && w->HandleAllocated())
        ClientToScreen(w->Handle(), &p);
    return TRect{p.x, p.y, p.x + R.Width(), p.y + R.Height()};
}

}  // namespace

// ---- TbsMenuBarObject -------------------------------------------------------------------------------------------

TbsMenuBarObject::TbsMenuBarObject(TbsSkinMainMenuBar* AParent, TbsDataSkinObject* AData) : Parent(AParent) {
    if (!AData)
        return;
    IDName = AData->IDName;
    SkinRect = AData->SkinRect;
    ActiveSkinRect = AData->ActiveSkinRect;
    DownRect = AData->ActiveSkinRect;
    ObjectRect = AData->SkinRect;
    MorphKind = AData->MorphKind;
    // Without a highlighted image there is nothing to morph to.
    Morphing = AData->Morphing && Has(ActiveSkinRect);
    TbsSkinData* sd = AParent->SkinData();
    if (sd && AData->ActivePictureIndex >= 0 && AData->ActivePictureIndex < sd->ActivePictureCount())
        Picture = sd->GetActivePicture(AData->ActivePictureIndex);
}

void TbsMenuBarObject::Redraw() {
    if (EnableMorphing())
        Parent->MorphTimer->SetEnabled(true);
    else
        Parent->DrawSkinObject(this);
}

bool TbsMenuBarObject::EnableMorphing() const {
    TbsSkinData* sd = Parent->SkinData();
    return Morphing && sd && !sd->Empty && sd->EnableSkinEffects &&
           !(Parent->ToolBarMode() && Parent->ToolBarModeItemTransparent());
}

bool TbsMenuBarObject::CanMorphing() const {
    if (FDown && Has(DownRect))
        return false;
    return MorphInProgress();
}

bool TbsMenuBarObject::MorphInProgress() const {
    return (Active && FMorphKf < 1) || (!Active && FMorphKf > 0);
}

void TbsMenuBarObject::SetMorphKf(double Value) {
    // Five steps of 0.2 reach either end exactly, whatever the rounding of the sums.
    FMorphKf = Value < 1e-6 ? 0 : Value > 1 - 1e-6 ? 1 : Value;
}

void TbsMenuBarObject::DoMorphing() {
    SetMorphKf(Active ? FMorphKf + 0.2 : FMorphKf - 0.2);
}

void TbsMenuBarObject::MouseEnter() {
    FMouseIn = true;
    Active = true;
    Redraw();
}

void TbsMenuBarObject::MouseLeave() {
    FMouseIn = false;
    Active = false;
    Redraw();
}

// ---- Entries ----------------------------------------------------------------------------------------------------

TbsSkinMainMenuBarItem::TbsSkinMainMenuBarItem(TbsSkinMainMenuBar* AParent,
                                               TbsDataSkinMainMenuItem* AData,
                                               TMenuItem* AMenuItem)
    : TbsMenuBarObject(AParent, AData), MenuItem(AMenuItem), FSkinSupport(AData != nullptr), Data(AData) {
    if (AData) {
        DownRect = Has(AData->DownRect) ? AData->DownRect : (Has(ActiveSkinRect) ? ActiveSkinRect : SkinRect);
        if (!Picture)
            FSkinSupport = false;
    }
    IDName = AMenuItem->Name();
    Enabled = OldEnabled = AMenuItem->Enabled();
}

void TbsSkinMainMenuBarItem::SetFont(TCanvas* C) {
    TFont* f = C->Font();
    if (FSkinSupport && Parent->UseSkinFont) {
        f->SetName(Data->FontName.empty() ? L"Tahoma" : Data->FontName);
        f->SetStyle(ToFontStyles(Data->FontStyle));
        f->SetHeight(Data->FontHeight != 0 ? Data->FontHeight : 13);
    } else {
        f->Assign(Parent->DefItemFont());
    }
    TbsSkinData* sd = Parent->SkinData();
    if (sd && sd->ResourceStrData())
        f->SetCharset(sd->ResourceStrData()->CharSet);
}

int TbsSkinMainMenuBarItem::LayoutWidth(TCanvas* Measure) {
    SetFont(Measure);
    RECT r{0, 0, 0, 0};
    const std::wstring& text = MenuItem->Caption();
    DrawTextW(Measure->Handle(), text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE);
    int w = r.right - r.left;
    if (FSkinSupport)
        w += SkinRect.Width() + Data->TextRct.Left - Data->TextRct.Right + 2;
    else
        w += 12;
    if (MenuItem->HasBitmap())
        w += MenuItem->Bitmap()->Width() + 5;
    return w;
}

void TbsSkinMainMenuBarItem::DrawCaption(TCanvas* C, TRect R, TColor Color) {
    C->Font()->SetColor(Color);
    C->Brush()->SetStyle(bsClear);
    SetBkMode(C->Handle(), TRANSPARENT);
    std::uint32_t flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    // Accelerators show only in menu mode (the caption without its markers otherwise: not every system honours
    // DT_HIDEPREFIX).
    std::wstring text = MenuItem->Caption();
    if (!Parent->MenuActive) {
        text = StripHotkey(text);
        flags |= DT_NOPREFIX;
    }
    RECT r{R.Left, R.Top, R.Right, R.Bottom};
    DrawTextW(C->Handle(), text.c_str(), static_cast<int>(text.size()), &r, flags);
}

TRect TbsSkinMainMenuBarItem::FrameRect(int Frame) const {
    const TRect& a = Data->AnimateSkinRect;
    const int n = std::max(1, Data->FrameCount);
    // Frames stacked when the strip is higher than one entry, else side by side.
    if (a.Height() > SkinRect.Height()) {
        const int fh = a.Height() / n;
        return TRect{a.Left, a.Top + (Frame - 1) * fh, a.Right, a.Top + Frame * fh};
    }
    const int fw = a.Width() / n;
    return TRect{a.Left + (Frame - 1) * fw, a.Top, a.Left + Frame * fw, a.Bottom};
}

void TbsSkinMainMenuBarItem::ItemImage(TBitmap* B, const TRect& Src, bool Highlighted, TCanvas* Bar) {
    const int w = B->Width(), h = B->Height();
    TbsDataSkinMainMenuBar* bar = Parent->FSkinSupport ? Parent->BarData() : nullptr;
    if (bar && bar->ItemTransparent && (Src == SkinRect || (!Parent->UseSkinSize && !Highlighted))) {
        BitBlt(B->Canvas()->Handle(), 0, 0, w, h, Bar->Handle(), ObjectRect.Left, ObjectRect.Top, SRCCOPY);
        return;
    }
    if (!InPicture(Src, Picture))
        return;
    if (!Parent->UseSkinSize) {
        const int q = Src.Height() / 4;
        CreateStretchImage(B, Picture, Src, TRect{Data->ItemLO, q, Src.Width() - Data->ItemRO, Src.Height() - q}, true);
        return;
    }
    TBitmap img;
    CreateHSkinImage(Data->ItemLO, Data->ItemRO, &img, Picture, Src, w, Src.Height(),
                     Highlighted && Data->StretchEffect);
    if (!img.Empty())
        BitBlt(B->Canvas()->Handle(), 0, 0, w, std::min(h, img.Height()), img.Canvas()->Handle(), 0, 0, SRCCOPY);
}

bool TbsSkinMainMenuBarItem::ToolBarItemImage(TBitmap* B, TCanvas* Bar, TRect& Text, TColor& Color) {
    TbsSkinData* sd = Parent->SkinData();
    auto* look = NamedEntry<TbsDataSkinButtonControl>(sd, L"resizetoolbutton");
    TBitmap* pic = look ? SkinPictureAt(sd, look->PictureIndex) : nullptr;
    if (!look || !InPicture(look->SkinRect, pic))
        return false;
    const TRect& sr = look->SkinRect;
    const TRect active = Has(look->ActiveSkinRect) ? look->ActiveSkinRect : sr;
    const TRect src = FDown ? (Has(look->DownSkinRect) ? look->DownSkinRect : active) : Active ? active : sr;
    const int w = B->Width(), h = B->Height();
    if (!FDown && !Active && Parent->ToolBarModeItemTransparent())
        BitBlt(B->Canvas()->Handle(), 0, 0, w, h, Bar->Handle(), ObjectRect.Left, ObjectRect.Top, SRCCOPY);
    else if (InPicture(src, pic))
        ComposeNinePart(look, pic, src, B);
    const TRect& cl = look->ClRect;
    Text = TRect{cl.Left, cl.Top, w - (sr.Width() - cl.Right), h - (sr.Height() - cl.Bottom)};
    Color = static_cast<TColor>(!MenuItem->Enabled() ? Data->UnEnabledFontColor
                                : FDown              ? look->DownFontColor
                                : Active             ? look->ActiveFontColor
                                                     : look->FontColor);
    return true;
}

void TbsSkinMainMenuBarItem::Draw(TCanvas* Cnvs) {
    if (!Fits)
        return;
    const TRect& o = ObjectRect;
    const int w = o.Width(), h = o.Height();
    if (w <= 0 || h <= 0)
        return;
    TBitmap b(w, h);
    TCanvas* c = b.Canvas();
    BitBlt(c->Handle(), 0, 0, w, h, Cnvs->Handle(), o.Left, o.Top, SRCCOPY);
    TRect text{0, 0, w, h};
    TColor color;
    const TbsDataSkinButtonControl* toolLook = nullptr;
    if (FSkinSupport && Parent->ToolBarMode()) {
        if (!ToolBarItemImage(&b, Cnvs, text, color))
            return;
        toolLook = NamedEntry<TbsDataSkinButtonControl>(Parent->SkinData(), L"resizetoolbutton");
    } else if (FSkinSupport && Has(SkinRect) && Has(Data->TextRct)) {
        const TRect hot = Has(ActiveSkinRect) ? ActiveSkinRect : SkinRect;
        if (FDown) {
            ItemImage(&b, DownRect, true, Cnvs);
        } else if (EnableAnimation() && CurrentFrame >= 1 && CurrentFrame <= Data->FrameCount) {
            ItemImage(&b, FrameRect(CurrentFrame), true, Cnvs);
        } else if (EnableMorphing() && MorphInProgress()) {
            TBitmap normal(w, h), lit(w, h);
            for (TBitmap* x : {&normal, &lit})
                BitBlt(x->Canvas()->Handle(), 0, 0, w, h, c->Handle(), 0, 0, SRCCOPY);
            ItemImage(&normal, SkinRect, false, Cnvs);
            ItemImage(&lit, hot, true, Cnvs);
            BlendMorph(&normal, &lit, MorphKind, FMorphKf, c->Handle());
        } else {
            ItemImage(&b, Active ? hot : SkinRect, Active, Cnvs);
        }
        text = TRect{Data->TextRct.Left, Data->TextRct.Top, w - (SkinRect.Width() - Data->TextRct.Right),
                     Data->TextRct.Bottom};
        color = static_cast<TColor>(!MenuItem->Enabled() ? Data->UnEnabledFontColor
                                    : FDown              ? Data->DownFontColor
                                    : Active             ? Data->ActiveFontColor
                                                         : Data->FontColor);
    } else {
        if (FDown)
            FillFramed(c, TRect{0, 0, w, h}, RGB(162, 188, 228), true);
        else if (Active)
            FillFramed(c, TRect{0, 0, w, h}, RGB(193, 212, 243), true);
        color = Parent->DefItemFont()->Color();
    }
    if (MenuItem->HasBitmap()) {
        TBitmap* bm = MenuItem->Bitmap();
        const int x = text.Left + 2;
        BitBlt(c->Handle(), x, h / 2 - bm->Height() / 2, bm->Width(), bm->Height(), bm->Canvas()->Handle(), 0, 0,
               SRCCOPY);
        text.Left += bm->Width() + 5;
    }
    SetFont(c);
    if (toolLook && Parent->UseSkinFont) {
        c->Font()->SetName(toolLook->FontName.empty() ? L"Tahoma" : toolLook->FontName);
        c->Font()->SetStyle(ToFontStyles(toolLook->FontStyle));
        c->Font()->SetHeight(toolLook->FontHeight != 0 ? toolLook->FontHeight : 13);
    }
    if (MenuItem->OnDrawItem) {
        // The built-in look hands over the whole entry, a skinned one its text rectangle.
        TbsSkinMainMenuBar::THandlerScope scope(Parent);
        MenuItem->OnDrawItem(this, c, (FSkinSupport || toolLook) ? text : TRect{0, 0, w, h}, Active);
    } else {
        DrawCaption(c, text, color);
    }
    BitBlt(Cnvs->Handle(), o.Left, o.Top, w, h, c->Handle(), 0, 0, SRCCOPY);
}

bool TbsSkinMainMenuBarItem::EnableAnimation() const {
    TbsSkinData* sd = Parent->SkinData();
    return FSkinSupport && Has(Data->AnimateSkinRect) && Data->FrameCount > 0 && sd && !sd->Empty &&
           !Parent->ToolBarMode() && sd->EnableSkinEffects;
}

bool TbsSkinMainMenuBarItem::StepAnimation() {
    if (Active && CurrentFrame <= Data->FrameCount)
        ++CurrentFrame;
    else if (!Active && CurrentFrame > 0)
        --CurrentFrame;
    else
        return false;
    return true;
}

void TbsSkinMainMenuBarItem::Redraw() {
    if (!EnableAnimation()) {
        TbsMenuBarObject::Redraw();
        return;
    }
    Parent->AnimateTimer->SetInterval(Data->AnimateInterval > 0 ? static_cast<UINT>(Data->AnimateInterval) : 25);
    Parent->AnimateTimer->SetEnabled(true);
}

TbsSkinMainMenuBarItem* TbsSkinMainMenuBarItem::SearchDown() {
    for (TbsSkinMainMenuBarItem* e : Parent->Entries())
        if (e != this && e->FDown)
            return e;
    return nullptr;
}

TbsSkinMainMenuBarItem* TbsSkinMainMenuBarItem::SearchActive() {
    for (TbsSkinMainMenuBarItem* e : Parent->Entries())
        if (e != this && e->Active)
            return e;
    return nullptr;
}

void TbsSkinMainMenuBarItem::MouseEnter() {
    TbsSkinMainMenuBar::THandlerScope scope(Parent);
    if (TbsSkinMainMenuBarItem* down = SearchDown()) {
        // The open drop-down moves over to this entry.
        down->SetDown(false);
        Active = FMouseIn = true;
        if (EnableMorphing())
            FMorphKf = 1;
        if (HasChildren() && MenuItem->OnClick)
            MenuItem->OnClick(Parent);
        if (HasChildren())
            SetDown(true);
        else
            Redraw();
        return;
    }
    if (TbsSkinMainMenuBarItem* other = SearchActive())
        other->MouseLeave();
    FMouseIn = Active = true;
    Redraw();
    if (Parent->OnItemMouseEnter)
        Parent->OnItemMouseEnter(MenuItem);
    if (Parent->Hint() != MenuItem->Hint())
        Parent->SetHint(MenuItem->Hint());
}

void TbsSkinMainMenuBarItem::MouseLeave() {
    Active = FMouseIn = false;
    if (EnableAnimation() && !Data->InActiveAnimation)
        CurrentFrame = 0;
    if (EnableMorphing() && FDown)
        FMorphKf = 0;
    Redraw();
    if (Parent->OnItemMouseLeave)
        Parent->OnItemMouseLeave(MenuItem);
}

void TbsSkinMainMenuBarItem::MouseDown(int, int, TMouseButton Button) {
    if (!Enabled || !Parent->SKF || Button != mbLeft)
        return;
    TbsSkinMainMenuBar::THandlerScope scope(Parent);
    if (HasChildren()) {
        Parent->MenuActive = true;
        Parent->RepaintBar();
        if (MenuItem->OnClick)
            MenuItem->OnClick(Parent);
        SetDown(true);
        return;
    }
    Parent->MenuActive = false;
    Redraw();
    if (TMenu* menu = MenuItem->GetParentMenu())
        menu->DispatchCommand(MenuItem->Command());
    else
        MenuItem->Click();
}

void TbsSkinMainMenuBarItem::SetDown(bool Value) {
    if (Value) {
        FDown = true;
        FMorphKf = 1;
        Parent->DrawSkinObject(this);
        TrackMenu();
        return;
    }
    FDown = false;
    Active = false;
    if (EnableAnimation()) {
        // Played back out from the last frame, or dropped at once.
        CurrentFrame = Data->InActiveAnimation ? Data->FrameCount + 1 : 0;
        if (Data->InActiveAnimation) {
            Redraw();
            return;
        }
    } else if (EnableMorphing()) {
        FMorphKf = 1;
        Redraw();
        return;
    }
    Parent->DrawSkinObject(this);
}

void TbsSkinMainMenuBarItem::TrackMenu() {
    TbsSkinForm* f = Parent->SKF;
    if (!f)
        return;
    const TRect r = ToScreen(Parent, ObjectRect);
    f->SkinMenuOpen();
    f->EnterMainMenu();
    TbsSkinData* sd = f->MenusSkinData() ? f->MenusSkinData() : Parent->SkinData();
    f->SkinMenu()->Popup(nullptr, sd, 0, r, MenuItem, Parent->PopupToUp);
    Parent->MouseTimer->SetEnabled(true);
}

// ---- MDI buttons ------------------------------------------------------------------------------------------------

TbsSkinMainMenuBarButton::TbsSkinMainMenuBarButton(TbsSkinMainMenuBar* AParent,
                                                   TbsDataSkinStdButton* AData,
                                                   TbsStdCommand ACommand)
    : TbsMenuBarObject(AParent, AData), FSkinSupport(AData != nullptr), Command(ACommand) {
    if (AData) {
        Command = AData->Command;
        DownRect = AData->DownRect;
    }
}

void TbsSkinMainMenuBarButton::MouseDown(int, int, TMouseButton Button) {
    if (!Enabled || Button != mbLeft || FDown)
        return;
    FDown = true;
    if (EnableMorphing() && Has(DownRect))
        FMorphKf = 1;
    Parent->DrawSkinObject(this);
    if (Command == cmSysMenu)
        DoCommand();
}

void TbsSkinMainMenuBarButton::MouseUp(int, int, TMouseButton Button) {
    if (!Enabled || Button != mbLeft)
        return;
    if (Command != cmSysMenu) {
        FDown = false;
        Parent->DrawSkinObject(this);
        if (EnableMorphing())
            Redraw();
    }
    if (Active && Command != cmSysMenu)
        DoCommand();
}

void TbsSkinMainMenuBarButton::DblClick() {
    if (Command != cmSysMenu || !Parent->MaximizedChild)
        return;
    TCustomForm* child = Parent->MaximizedChild();
    if (!child)
        return;
    if (TbsSkinForm* f = Parent->SKF) {
        f->SkinMenu()->Hide();
        f->SkinMenuClose();
    }
    child->Close();
}

void TbsSkinMainMenuBarButton::DoCommand() {
    TCustomForm* child = Parent->MaximizedChild ? Parent->MaximizedChild() : nullptr;
    TbsSkinForm* childSkin = child ? GetSkinFormComponent(child) : nullptr;
    if (!child || !childSkin)
        return;
    switch (Command) {
        case cmClose:
            child->Close();
            break;
        case cmMaximize:
            childSkin->SetWindowState(wsNormal);
            break;
        case cmMinimize:
            childSkin->SetWindowState(wsMinimized);
            break;
        case cmSysMenu:
            if (TbsSkinForm* f = Parent->SKF) {
                Parent->RepaintBar();
                const TRect r = ToScreen(Parent, ObjectRect);
                f->SkinMenuOpen();
                f->SkinMenu()->Popup(Parent, f->MenusSkinData() ? f->MenusSkinData() : f->SkinData(), 0, r,
                                     childSkin->GetSystemMenu(), Parent->PopupToUp);
            }
            break;
        default:
            break;
    }
}

void TbsSkinMainMenuBarButton::DefaultDraw(TCanvas* Cnvs) {
    const TRect& o = ObjectRect;
    const bool pressed = FDown && Active;
    FillFramed(Cnvs, o,
               pressed  ? RGB(162, 188, 228)
               : Active ? RGB(193, 212, 243)
                        : ColorToRGB(clBtnFace),
               pressed || Active);
    const TColor c = Enabled ? clBtnText : clBtnShadow;
    const int x = o.Left + o.Width() / 2 - 5 + (pressed ? 1 : 0);
    const int y = o.Top + o.Height() / 2 - 4 + (pressed ? 1 : 0);
    switch (Command) {
        case cmClose:
            DrawCloseImage(Cnvs, x, y, c);
            break;
        case cmMaximize:
            DrawRestoreImage(Cnvs, x, y, c);
            break;
        case cmMinimize:
            DrawMinimizeImage(Cnvs, x, y, c);
            break;
        default:
            DrawSysMenuImage(Cnvs, x, y, c);
            break;
    }
}

void TbsSkinMainMenuBarButton::Draw(TCanvas* Cnvs) {
    if (!FSkinSupport || !Picture) {
        DefaultDraw(Cnvs);
        return;
    }
    const TRect src = (FDown && Active && Has(DownRect)) ? DownRect
                      : (Active && Has(ActiveSkinRect))  ? ActiveSkinRect
                                                         : SkinRect;
    if (!InPicture(src, Picture)) {
        DefaultDraw(Cnvs);
        return;
    }
    const TRect& o = ObjectRect;
    if (src != DownRect && EnableMorphing() && MorphInProgress() && InPicture(ActiveSkinRect, Picture) &&
        o.Width() > 0 && o.Height() > 0) {
        TBitmap normal(o.Width(), o.Height()), lit(o.Width(), o.Height());
        for (auto [b, r] : {std::pair{&normal, SkinRect}, std::pair{&lit, ActiveSkinRect}}) {
            SetStretchBltMode(b->Canvas()->Handle(), COLORONCOLOR);
            StretchBlt(b->Canvas()->Handle(), 0, 0, o.Width(), o.Height(), Picture->Canvas()->Handle(), r.Left, r.Top,
                       r.Width(), r.Height(), SRCCOPY);
        }
        TBitmap blend(o.Width(), o.Height());
        BlendMorph(&normal, &lit, MorphKind, FMorphKf, blend.Canvas()->Handle());
        BitBlt(Cnvs->Handle(), o.Left, o.Top, o.Width(), o.Height(), blend.Canvas()->Handle(), 0, 0, SRCCOPY);
        return;
    }
    SetStretchBltMode(Cnvs->Handle(), COLORONCOLOR);
    StretchBlt(Cnvs->Handle(), o.Left, o.Top, o.Width(), o.Height(), Picture->Canvas()->Handle(), src.Left, src.Top,
               src.Width(), src.Height(), SRCCOPY);
}

// ---- The bar ----------------------------------------------------------------------------------------------------

TbsSkinMainMenuBar::THandlerScope::~THandlerScope() {
    if (--bar->FHandlerDepth == 0)
        bar->FReleased.clear();
}

TbsSkinMainMenuBar::TbsSkinMainMenuBar(TComponent* AOwner) : TbsSkinControl(AOwner) {
    FDefItemFont = std::make_unique<TFont>();
    FDefItemFont->SetName(L"Tahoma");
    FDefItemFont->SetHeight(13);
    FDefItemFont->SetColor(clBtnText);
    MouseTimer = std::make_unique<TTimer>(nullptr);
    MouseTimer->SetEnabled(false);
    MouseTimer->SetInterval(50);
    MouseTimer->OnTimer = [this](TObject*) { TestMouse(); };
    MorphTimer = std::make_unique<TTimer>(nullptr);
    MorphTimer->SetEnabled(false);
    MorphTimer->SetInterval(25);
    MorphTimer->OnTimer = [this](TObject*) { TestMorph(); };
    AnimateTimer = std::make_unique<TTimer>(nullptr);
    AnimateTimer->SetEnabled(false);
    AnimateTimer->SetInterval(25);
    AnimateTimer->OnTimer = [this](TObject*) { TestAnimate(); };
    SetAlign(alTop);
    SetBounds(0, 0, 100, 22);
    SetSkinDataName(L"mainmenubar");
    MaximizedChild = [this]() -> TCustomForm* {
        TbsSkinForm* child = SKF ? SKF->GetMaximizeMDIChild() : nullptr;
        return child ? child->Form() : nullptr;
    };
}

TbsSkinMainMenuBar::~TbsSkinMainMenuBar() {
    // No tick may reach an object being freed.
    for (TTimer* t : {MouseTimer.get(), MorphTimer.get(), AnimateTimer.get()})
        t->SetEnabled(false);
    if (SKF && SKF->MainMenuBar() == this)
        SKF->SetMainMenuBar(nullptr);
    ObjectList.clear();
    FReleased.clear();
}

void TbsSkinMainMenuBar::SetToolBarMode(bool Value) {
    FToolBarMode = Value;
    RepaintBar();
}

void TbsSkinMainMenuBar::SetToolBarModeItemTransparent(bool Value) {
    FToolBarModeItemTransparent = Value;
    RepaintBar();
}

void TbsSkinMainMenuBar::TestMorph() {
    bool any = false;
    for (const auto& o : ObjectList)
        if (o->EnableMorphing() && o->CanMorphing()) {
            o->DoMorphing();
            any = true;
        }
    if (any)
        RepaintBar();
    else
        MorphTimer->SetEnabled(false);
}

void TbsSkinMainMenuBar::TestAnimate() {
    bool any = false;
    for (TbsSkinMainMenuBarItem* e : Entries())
        if (e->EnableAnimation() && e->StepAnimation())
            any = true;
    if (any)
        RepaintBar();
    else
        AnimateTimer->SetEnabled(false);
}

TbsDataSkinMainMenuBar* TbsSkinMainMenuBar::BarData() const {
    return dynamic_cast<TbsDataSkinMainMenuBar*>(Entry());
}

std::vector<TbsSkinMainMenuBarItem*> TbsSkinMainMenuBar::Entries() const {
    std::vector<TbsSkinMainMenuBarItem*> out;
    for (const auto& o : ObjectList)
        if (auto* e = dynamic_cast<TbsSkinMainMenuBarItem*>(o.get()))
            out.push_back(e);
    return out;
}

void TbsSkinMainMenuBar::SetMainMenu(TMainMenu* Value) {
    if (FMainMenu)
        FMainMenu->RemoveFreeNotification(this);
    FMainMenu = Value;
    if (Value)
        Value->FreeNotification(this);
    CreateMenu();
    RepaintBar();
}

void TbsSkinMainMenuBar::SetSkinForm(TbsSkinForm* Value) {
    if (SKF) {
        SKF->RemoveFreeNotification(this);
        if (SKF->MainMenuBar() == this)
            SKF->SetMainMenuBar(nullptr);
        if (SKF->MDIMenuBar() == this)
            SKF->SetMDIMenuBar(nullptr);
    }
    SKF = Value;
    if (Value) {
        Value->FreeNotification(this);
        Value->SetMainMenuBar(this);
        // The MDI coordination of the form tells this bar of its children.
        Value->SetMDIMenuBar(this);
    }
}

void TbsSkinMainMenuBar::CheckMDIMainMenu() {
    if (FChildMenuIn || (SKF && SKF->Form()->FormStyle() == fsMDIForm && GetChildMainMenu()))
        UpDateItems();
}

void TbsSkinMainMenuBar::Merge(TMainMenu* Value) {
    if (FMergeMenu)
        FMergeMenu->RemoveFreeNotification(this);
    FMergeMenu = Value;
    if (Value)
        Value->FreeNotification(this);
    UpDateItems();
}

void TbsSkinMainMenuBar::UnMerge() {
    Merge(nullptr);
}

void TbsSkinMainMenuBar::UpDateItems() {
    CreateMenu();
    RepaintBar();
    ActiveObject = OldActiveObject = -1;
    MouseTimer->SetEnabled(true);
}

void TbsSkinMainMenuBar::UpDateEnabledItems() {
    for (TbsSkinMainMenuBarItem* e : Entries())
        e->Enabled = e->OldEnabled = e->MenuItem->Enabled();
    RepaintBar();
}

TMainMenu* TbsSkinMainMenuBar::GetChildMainMenu() {
    if (FMergeMenu)
        return FMergeMenu;
    // The active MDI child's menu.
    TCustomForm* main = Application->MainForm();
    TCustomForm* child = main && main->FormStyle() == fsMDIForm ? main->ActiveMDIChild() : nullptr;
    // A child on its way out offers nothing to show.
    if (!child || child->ComponentState().Contains(csDestroying))
        return nullptr;
    for (int i = 0; i < child->ComponentCount(); ++i)
        if (auto* m = dynamic_cast<TMainMenu*>(child->Components(i)); m && !m->ComponentState().Contains(csDestroying))
            return m;
    return nullptr;
}

void TbsSkinMainMenuBar::ResetIndexes() {
    ActiveObject = OldActiveObject = MouseCaptureObject = -1;
}

void TbsSkinMainMenuBar::ClearObjects() {
    // An object whose own handler rebuilt the list lives until that handler has returned.
    if (FHandlerDepth > 0)
        for (auto& o : ObjectList)
            FReleased.push_back(std::move(o));
    ObjectList.clear();
    ButtonsCount = 0;
    ResetIndexes();
}

void TbsSkinMainMenuBar::CreateMenu() {
    ClearObjects();
    if (!FMainMenu)
        return;
    TMainMenu* merged =
        SKF && (FMergeMenu || (SKF->Form() && SKF->Form()->FormStyle() == fsMDIForm)) ? GetChildMainMenu() : nullptr;
    TbsDataSkinMainMenuItem* rec = nullptr;
    TbsSkinData* sd = SkinData();
    if (TbsDataSkinMainMenuBar* bar = BarData(); bar && sd && !sd->Empty) {
        const int i = sd->GetIndex(bar->MenuBarItem);
        if (i >= 0 && i < static_cast<int>(sd->ObjectList.size()))
            rec = dynamic_cast<TbsDataSkinMainMenuItem*>(sd->ObjectList[static_cast<std::size_t>(i)].get());
    }
    std::vector<TMenuItem*> items;
    TMenuItem* root = FMainMenu->Items();
    FChildMenuIn = merged != nullptr;
    // The entries point into a child's menu: its going rebuilds them.
    TMainMenu* tracked = merged && merged != FMergeMenu ? merged : nullptr;
    if (tracked != FChildMenu) {
        if (FChildMenu)
            FChildMenu->RemoveFreeNotification(this);
        FChildMenu = tracked;
        if (tracked)
            tracked->FreeNotification(this);
    }
    if (!merged) {
        for (int i = 0; i < root->Count(); ++i)
            items.push_back(root->Items(i));
    } else {
        TMenuItem* child = merged->Items();
        std::vector<int> pg, cg;
        for (int i = 0; i < root->Count(); ++i)
            pg.push_back(root->Items(i)->GroupIndex());
        for (int i = 0; i < child->Count(); ++i)
            cg.push_back(child->Items(i)->GroupIndex());
        for (const TbsMergedItem& m : MergeByGroupIndex(pg, cg))
            items.push_back(m.FromChild ? child->Items(m.Index) : root->Items(m.Index));
    }
    for (TMenuItem* mi : items)
        if (mi->Visible())
            ObjectList.push_back(std::make_unique<TbsSkinMainMenuBarItem>(this, rec, mi));
    if (FMDIChildMax) {
        AddButtons();
        CheckButtons(MaximizedChild ? MaximizedChild() : nullptr);
    }
}

void TbsSkinMainMenuBar::AddButtons() {
    TbsSkinData* sd = SkinData();
    TbsDataSkinMainMenuBar* bar = FSkinSupport ? BarData() : nullptr;
    struct B {
        const wchar_t* Name;
        std::wstring SkinName;
        TbsStdCommand Command;
    };
    const B order[4] = {{L"MinButton", bar ? bar->MinButton : L"", cmMinimize},
                        {L"MaxButton", bar ? bar->MaxButton : L"", cmMaximize},
                        {L"CloseButton", bar ? bar->CloseButton : L"", cmClose},
                        {L"SysMenuButton", bar ? bar->SysMenuButton : L"", cmSysMenu}};
    for (const B& b : order) {
        TbsDataSkinStdButton* rec = nullptr;
        if (bar && sd && !sd->Empty) {
            const int i = sd->GetIndex(b.SkinName);
            if (i >= 0 && i < static_cast<int>(sd->ObjectList.size()))
                rec = dynamic_cast<TbsDataSkinStdButton*>(sd->ObjectList[static_cast<std::size_t>(i)].get());
        }
        // Without a record a button acts by its role.
        auto o = std::make_unique<TbsSkinMainMenuBarButton>(this, rec, b.Command);
        o->IDName = rec ? b.SkinName : b.Name;
        ObjectList.insert(ObjectList.begin(), std::move(o));
        ++ButtonsCount;
    }
    ResetIndexes();
}

void TbsSkinMainMenuBar::DeleteButtons() {
    const int n = std::min(ButtonsCount, static_cast<int>(ObjectList.size()));
    for (int i = 0; i < n; ++i) {
        if (FHandlerDepth > 0)
            FReleased.push_back(std::move(ObjectList[static_cast<std::size_t>(i)]));
    }
    ObjectList.erase(ObjectList.begin(), ObjectList.begin() + n);
    ButtonsCount = 0;
    ResetIndexes();
}

void TbsSkinMainMenuBar::CheckButtons(TCustomForm* Child) {
    TbsSkinForm* f = Child ? GetSkinFormComponent(Child) : nullptr;
    for (int i = 0; i < ButtonsCount && i < static_cast<int>(ObjectList.size()); ++i) {
        auto* b = static_cast<TbsSkinMainMenuBarButton*>(ObjectList[static_cast<std::size_t>(i)].get());
        b->Enabled = true;
        if (!f)
            continue;
        if (b->Command == cmMinimize && !f->BorderIcons().Contains(TbsBorderIcon::biMinimize))
            b->Enabled = false;
        if (b->Command == cmSysMenu && !f->BorderIcons().Contains(TbsBorderIcon::biSystemMenu))
            b->Enabled = false;
    }
}

void TbsSkinMainMenuBar::MDIChildMaximize() {
    if (FMDIChildMax)
        return;
    FMDIChildMax = true;
    ResetIndexes();
    AddButtons();
    CheckButtons(MaximizedChild ? MaximizedChild() : nullptr);
    RepaintBar();
}

void TbsSkinMainMenuBar::MDIChildRestore() {
    TCustomForm* child = MaximizedChild ? MaximizedChild() : nullptr;
    if (child) {
        CheckButtons(child);
        return;
    }
    if (!FMDIChildMax)
        return;
    FMDIChildMax = false;
    DeleteButtons();
    RepaintBar();
}

// ---- Geometry and painting --------------------------------------------------------------------------------------

void TbsSkinMainMenuBar::CalcRects(TCanvas* Measure) {
    TbsDataSkinMainMenuBar* bar = FSkinSupport ? BarData() : nullptr;
    if (bar) {
        const TRect& ir = bar->ItemsRect;
        NewItemsRect = TRect{ir.Left, ir.Top, Width() + ir.Right - bar->SkinRect.Width(), ir.Bottom};
        if (!UseSkinSize)
            NewItemsRect.Bottom = Height() + ir.Bottom - bar->SkinRect.Height();
    } else {
        NewItemsRect = TRect{2, 2, Width() - 2, Height() - 2};
    }
    if (FMDIChildMax && ButtonsCount == 4) {
        int widths[4], heights[4];
        for (int i = 0; i < 4; ++i) {
            auto* b = static_cast<TbsSkinMainMenuBarButton*>(ObjectList[static_cast<std::size_t>(i)].get());
            const bool rec = b->FSkinSupport && Has(b->SkinRect);
            widths[i] = rec ? b->SkinRect.Width() : 0;
            heights[i] = rec ? b->SkinRect.Height() : 0;
        }
        const TbsMenuBarButtonsLayout l = LayoutMDIButtons(NewItemsRect, widths, heights);
        for (int i = 0; i < 4; ++i)
            ObjectList[static_cast<std::size_t>(i)]->ObjectRect = l.Rects[i];
        NewItemsRect = l.Area;
    }
    std::vector<TbsSkinMainMenuBarItem*> entries = Entries();
    std::vector<TbsMenuBarEntryInput> in;
    for (TbsSkinMainMenuBarItem* e : entries) {
        TbsMenuBarEntryInput x;
        x.Width = e->LayoutWidth(Measure);
        if (e->FSkinSupport && UseSkinSize)
            x.Height = e->SkinRect.Height();
        in.push_back(x);
    }
    const std::vector<TbsMenuBarEntryPlace> places = LayoutMenuBarEntries(NewItemsRect, in, ScrollMenu, Scroll);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        TbsSkinMainMenuBarItem* e = entries[i];
        e->ObjectRect = places[i].Rect;
        if (!places[i].Shown && e->Fits) {
            e->OldEnabled = e->Enabled;
            e->Enabled = false;
        } else if (places[i].Shown && !e->Fits) {
            e->Enabled = e->OldEnabled;
        }
        e->Fits = places[i].Shown;
    }
}

TRect TbsSkinMainMenuBar::MarkerRect() const {
    return TRect{NewItemsRect.Right - 5, NewItemsRect.Top, NewItemsRect.Right, NewItemsRect.Bottom};
}

void TbsSkinMainMenuBar::DrawMarker(TCanvas* C) {
    TbsDataSkinMainMenuBar* bar = FSkinSupport ? BarData() : nullptr;
    const TColor color = bar ? static_cast<TColor>(MarkerActive ? bar->TrackMarkActiveColor : bar->TrackMarkColor)
                             : (MarkerActive ? clBtnText : clBtnShadow);
    DrawArrowImage(C, MarkerRect(), color, 2);
}

void TbsSkinMainMenuBar::PaintObjects(TBitmap* B) {
    CalcRects(B->Canvas());
    for (const auto& o : ObjectList)
        if (o->Visible)
            o->Draw(B->Canvas());
    if (Scroll && ScrollMenu)
        DrawMarker(B->Canvas());
}

void TbsSkinMainMenuBar::CreateControlDefaultImage(TBitmap* B) {
    FillFramed(B->Canvas(), TRect{0, 0, B->Width(), B->Height()}, ColorToRGB(clBtnFace), false);
    PaintObjects(B);
}

void TbsSkinMainMenuBar::CreateControlSkinImage(TBitmap* B) {
    TbsDataSkinMainMenuBar* bar = BarData();
    TBitmap* pic = bar ? SkinPictureAt(FSD, bar->PictureIndex) : nullptr;
    if (!bar || !InPicture(bar->SkinRect, pic)) {
        CreateControlDefaultImage(B);
        return;
    }
    const TRect& s = bar->SkinRect;
    if (ParentShowsThrough()) {
        GetParentImage(this, B->Canvas());
    } else if (UseSkinSize) {
        TBitmap bg;
        CreateHSkinImage(bar->ItemsRect.Left, s.Width() - bar->ItemsRect.Right, &bg, pic, s, B->Width(), s.Height(),
                         bar->StretchEffect);
        if (!bg.Empty()) {
            SetStretchBltMode(B->Canvas()->Handle(), COLORONCOLOR);
            StretchBlt(B->Canvas()->Handle(), 0, 0, B->Width(), B->Height(), bg.Canvas()->Handle(), 0, 0, bg.Width(),
                       bg.Height(), SRCCOPY);
        }
    } else if (FToolBarMode) {
        PaintToolPanel(B);
    } else {
        const int q = s.Height() / 4;
        CreateStretchImage(B, pic, s, TRect{bar->ItemsRect.Left, q, bar->ItemsRect.Right, s.Height() - q}, true);
    }
    PaintObjects(B);
}

void TbsSkinMainMenuBar::PaintToolPanel(TBitmap* B) {
    for (const wchar_t* name : {L"resizetoolpanel", L"panel"}) {
        auto* look = NamedEntry<TbsDataSkinCustomControl>(FSD, name);
        TBitmap* pic = look ? SkinPictureAt(FSD, look->PictureIndex) : nullptr;
        if (look && InPicture(look->SkinRect, pic)) {
            ComposeNinePart(look, pic, look->SkinRect, B);
            return;
        }
    }
}

bool TbsSkinMainMenuBar::ParentShowsThrough() const {
    return FSkinSupport && FSD && FSD->MainMenuBarTransparent && Parent();
}

void TbsSkinMainMenuBar::RepaintBar() {
    if (HandleAllocated())
        RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void TbsSkinMainMenuBar::DrawSkinObject(TbsMenuBarObject*) {
    // The bar is small: a whole repaint keeps transparent entries and their neighbours right.
    RepaintBar();
}

// ---- Mouse ------------------------------------------------------------------------------------------------------

void TbsSkinMainMenuBar::TestActive(int X, int Y) {
    if (ObjectList.empty())
        return;
    OldActiveObject = ActiveObject;
    int found = -1;
    for (std::size_t i = 0; i < ObjectList.size(); ++i) {
        TbsMenuBarObject* o = ObjectList[i].get();
        if (o->Enabled && Contains(o->ObjectRect, X, Y)) {
            found = static_cast<int>(i);
            break;
        }
    }
    if (found == -1 && MenuActive && ActiveObject >= ButtonsCount && ActiveObject < static_cast<int>(ObjectList.size()))
        found = ActiveObject;
    if (MouseCaptureObject != -1 && found != MouseCaptureObject)
        found = -1;
    ActiveObject = found;
    if (ActiveObject != OldActiveObject) {
        THandlerScope scope(this);
        const int n = static_cast<int>(ObjectList.size());
        if (OldActiveObject >= 0 && OldActiveObject < n) {
            TbsMenuBarObject* old = ObjectList[static_cast<std::size_t>(OldActiveObject)].get();
            if (old->Enabled)
                old->MouseLeave();
        }
        // The leave may have rebuilt the list.
        if (ActiveObject >= 0 && ActiveObject < static_cast<int>(ObjectList.size())) {
            TbsMenuBarObject* now = ObjectList[static_cast<std::size_t>(ActiveObject)].get();
            if (now->Enabled)
                now->MouseEnter();
        }
    }
    if (Scroll && ScrollMenu) {
        const bool on = Contains(MarkerRect(), X, Y);
        if (on != MarkerActive) {
            MarkerActive = on;
            RepaintBar();
        }
    }
}

void TbsSkinMainMenuBar::TestMouse() {
    if (!HandleAllocated())
        return;
    // A drop-down closed (by a pick, Esc or a click elsewhere): its entry comes up and menu mode ends.
    if (SKF && !SKF->SkinMenu()->Visible()) {
        for (TbsSkinMainMenuBarItem* e : Entries())
            if (e->FDown) {
                // Still in menu mode (Esc closed the drop-down): the entry stays lit.
                if (SKF->InMainMenu()) {
                    MenuClose();
                } else {
                    e->SetDown(false);
                    MenuActive = false;
                    RepaintBar();
                }
                break;
            }
    }
    POINT p{};
    GetCursorPos(&p);
    ::ScreenToClient(Handle(), &p);
    const bool down = std::any_of(ObjectList.begin(), ObjectList.end(), [](const auto& o) { return o->FDown; });
    if (p.x < 0 || p.y < 0 || p.x > Width() || p.y > Height()) {
        if (!down)
            MouseTimer->SetEnabled(false);
        TestActive(-1, -1);
        return;
    }
    TestActive(p.x, p.y);
}

void TbsSkinMainMenuBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TbsSkinControl::MouseDown(Button, Shift, X, Y);
    TestActive(X, Y);
    THandlerScope scope(this);
    if (ActiveObject >= 0 && ActiveObject < static_cast<int>(ObjectList.size())) {
        MouseCaptureObject = ActiveObject;
        TbsMenuBarObject* o = ObjectList[static_cast<std::size_t>(ActiveObject)].get();
        o->MouseDown(X, Y, Button);
        if (Shift.Contains(ssDouble))
            o->DblClick();
    } else if (Scroll && ScrollMenu && Contains(MarkerRect(), X, Y)) {
        TrackScrollMenu();
    }
}

void TbsSkinMainMenuBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    {
        THandlerScope scope(this);
        const int i = MouseCaptureObject;
        MouseCaptureObject = -1;
        if (i >= 0 && i < static_cast<int>(ObjectList.size()))
            ObjectList[static_cast<std::size_t>(i)]->MouseUp(X, Y, Button);
    }
    TbsSkinControl::MouseUp(Button, Shift, X, Y);
}

void TbsSkinMainMenuBar::MouseMove(TShiftState Shift, int X, int Y) {
    TbsSkinControl::MouseMove(Shift, X, Y);
    if (!MouseTimer->Enabled())
        MouseTimer->SetEnabled(true);
}

void TbsSkinMainMenuBar::TrackScrollMenu() {
    if (!SKF)
        return;
    const std::vector<TbsSkinMainMenuBarItem*> entries = Entries();
    const int shown = static_cast<int>(std::count_if(entries.begin(), entries.end(), [](auto* e) { return e->Fits; }));
    const TRect r = ToScreen(this, MarkerRect());
    SKF->SkinMenuOpen();
    TbsSkinData* sd = SKF->MenusSkinData() ? SKF->MenusSkinData() : SkinData();
    TMainMenu* merged =
        (FMergeMenu || (SKF->Form() && SKF->Form()->FormStyle() == fsMDIForm)) ? GetChildMainMenu() : nullptr;
    if (merged)
        SKF->SkinMenu()->Popup2(nullptr, sd, shown, r, FMainMenu->Items(), merged->Items(), false);
    else if (FMainMenu)
        SKF->SkinMenu()->Popup(nullptr, sd, shown, r, FMainMenu->Items(), false);
}

// ---- Keyboard ---------------------------------------------------------------------------------------------------

void TbsSkinMainMenuBar::MenuEnter() {
    FLastItemIndex = -1;
    MenuActive = true;
    RepaintBar();
    std::vector<TbsSkinMainMenuBarItem*> entries = Entries();
    if (entries.empty())
        return;
    auto it = std::find_if(entries.begin(), entries.end(), [](auto* e) { return e->Active; });
    (it != entries.end() ? *it : entries.front())->MouseEnter();
}

void TbsSkinMainMenuBar::MenuClose() {
    FLastItemIndex = -1;
    for (TbsSkinMainMenuBarItem* e : Entries())
        if (e->FDown) {
            e->FDown = false;
            e->Active = true;
            RepaintBar();
            break;
        }
}

void TbsSkinMainMenuBar::MenuExit() {
    FLastItemIndex = -1;
    MenuActive = false;
    for (TbsSkinMainMenuBarItem* e : Entries())
        if (e->FDown || e->Active) {
            e->Active = e->FMouseIn = e->FDown = false;
            break;
        }
    ActiveObject = OldActiveObject = -1;
    RepaintBar();
}

std::vector<TbsSkinMainMenuBarItem*> TbsSkinMainMenuBar::ShownEntries() const {
    std::vector<TbsSkinMainMenuBarItem*> shown;
    for (TbsSkinMainMenuBarItem* e : Entries())
        if (e->Fits && e->Enabled)
            shown.push_back(e);
    return shown;
}

void TbsSkinMainMenuBar::NextMainMenuItem() {
    const std::vector<TbsSkinMainMenuBarItem*> shown = ShownEntries();
    if (shown.empty())
        return;
    THandlerScope scope(this);
    if (FLastItemIndex != -1) {
        FLastItemIndex = -1;
        if (SKF)
            SKF->SkinMenu()->Hide();
        TbsSkinMainMenuBarItem* t = shown.front();
        t->FDown = false;
        t->Active = true;
        t->MouseDown(0, 0, mbLeft);
        return;
    }
    auto it = std::find_if(shown.begin(), shown.end(), [](auto* e) { return e->Active || e->FDown; });
    if (it == shown.end()) {
        shown.front()->MouseEnter();
        return;
    }
    TbsSkinMainMenuBarItem* cur = *it;
    if (it + 1 == shown.end() && Scroll) {
        const bool wasDown = cur->FDown;
        cur->MouseLeave();
        cur->FDown = cur->FMouseIn = false;
        if (wasDown && SKF)
            SKF->SkinMenu()->Hide();
        RepaintBar();
        const std::vector<TbsSkinMainMenuBarItem*> all = Entries();
        FLastItemIndex = static_cast<int>(std::find(all.begin(), all.end(), cur) - all.begin());
        TrackScrollMenu();
        return;
    }
    TbsSkinMainMenuBarItem* next = (it + 1 == shown.end()) ? shown.front() : *(it + 1);
    if (!cur->FDown)
        cur->MouseLeave();
    next->MouseEnter();
}

void TbsSkinMainMenuBar::PriorMainMenuItem() {
    const std::vector<TbsSkinMainMenuBarItem*> shown = ShownEntries();
    if (shown.empty())
        return;
    THandlerScope scope(this);
    if (FLastItemIndex != -1) {
        FLastItemIndex = -1;
        if (SKF)
            SKF->SkinMenu()->Hide();
        shown.back()->MouseDown(0, 0, mbLeft);
        return;
    }
    auto it = std::find_if(shown.begin(), shown.end(), [](auto* e) { return e->Active || e->FDown; });
    if (it == shown.end()) {
        shown.back()->MouseEnter();
        return;
    }
    TbsSkinMainMenuBarItem* prev = (it == shown.begin()) ? shown.back() : *(it - 1);
    if (!(*it)->FDown)
        (*it)->MouseLeave();
    prev->MouseEnter();
}

bool TbsSkinMainMenuBar::CheckReturnKey() {
    THandlerScope scope(this);
    for (TbsSkinMainMenuBarItem* e : Entries())
        if ((e->FDown && !e->HasChildren()) || (e->Active && !(SKF && SKF->SkinMenu()->Visible()))) {
            e->Active = false;
            e->MouseDown(0, 0, mbLeft);
            return true;
        }
    return false;
}

bool TbsSkinMainMenuBar::FindHotKeyItem(WORD Key) {
    if (!SKF || ObjectList.empty() || !SKF->Form()->HandleAllocated() || !IsWindowVisible(SKF->Form()->Handle()))
        return false;
    THandlerScope scope(this);
    for (TbsSkinMainMenuBarItem* e : Entries()) {
        if (!e->Fits || !e->Enabled || !IsAccel(Key, e->MenuItem->Caption()))
            continue;
        e->MouseEnter();
        if (SKF->InMenu() && e->HasChildren())
            return true;
        e->MouseDown(0, 0, mbLeft);
        if (!e->HasChildren()) {
            e->Active = e->FDown = false;
            RepaintBar();
        }
        return true;
    }
    return false;
}

// ---- Skin, bounds, notifications --------------------------------------------------------------------------------

void TbsSkinMainMenuBar::BeforeChangeSkinData() {
    FSkinSupport = false;
    TbsSkinControl::BeforeChangeSkinData();
    ClearObjects();
}

void TbsSkinMainMenuBar::ChangeSkinData() {
    GetSkinData();
    FSkinSupport = BarData() != nullptr;
    CreateMenu();
    TbsDataSkinMainMenuBar* bar = BarData();
    if (FSkinSupport && UseSkinSize && bar->SkinRect.Height() > 0)
        TbsSkinControl::SetBounds(Left(), Top(), Width(), bar->SkinRect.Height());
    else if (DefaultHeight > 0)
        TbsSkinControl::SetBounds(Left(), Top(), Width(), DefaultHeight);
    RepaintBar();
}

void TbsSkinMainMenuBar::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (FSD) {
        GetSkinData();
        if (TbsDataSkinMainMenuBar* bar = BarData(); bar && UseSkinSize && bar->SkinRect.Height() > 0)
            AHeight = bar->SkinRect.Height();
    }
    TbsSkinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    RepaintBar();
}

void TbsSkinMainMenuBar::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == SKF)
        SKF = nullptr;
    if (AComponent == FMergeMenu) {
        FMergeMenu = nullptr;
        CreateMenu();
    }
    if (AComponent == FChildMenu) {
        FChildMenu = nullptr;
        CreateMenu();
        RepaintBar();
    }
    if (AComponent == FMainMenu) {
        FMainMenu = nullptr;
        CreateMenu();
    }
}

void TbsSkinMainMenuBar::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case WM_CLOSESKINMENU:
            // The system menu of the MDI child that the system-menu button opened.
            for (int i = 0; i < ButtonsCount && i < static_cast<int>(ObjectList.size()); ++i) {
                auto* b = static_cast<TbsSkinMainMenuBarButton*>(ObjectList[static_cast<std::size_t>(i)].get());
                if (b->Command == cmSysMenu && b->FDown) {
                    b->FDown = false;
                    if (i != ActiveObject)
                        b->Active = b->FMouseIn = false;
                    RepaintBar();
                }
            }
            Message.Result = 0;
            return;
        case CM_MOUSEENTER:
            TbsSkinControl::WndProc(Message);
            MouseTimer->SetEnabled(true);
            return;
        case WM_MOVE:
            TbsSkinControl::WndProc(Message);
            if (ParentShowsThrough() && Align() == alNone)
                RepaintBar();
            return;
        case WM_CHECKPARENTBG:
            TbsSkinControl::WndProc(Message);
            if (ParentShowsThrough())
                RepaintBar();
            return;
        case CM_MOUSELEAVE:
            TbsSkinControl::WndProc(Message);
            if (!std::any_of(ObjectList.begin(), ObjectList.end(), [](const auto& o) { return o->FDown; }))
                MouseTimer->SetEnabled(false);
            TestActive(-1, -1);
            return;
        default:
            TbsSkinControl::WndProc(Message);
    }
}
