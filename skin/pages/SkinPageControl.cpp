#include "skin/pages/SkinPageControl.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "skin/controls/ControlGeometry.h"
#include "skin/controls/ControlSkinning.h"
#include "skin/boxes/SkinUpDown.h"
#include "skin/controls/SkinControl.h"
#include "skin/core/GlyphPainters.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinText.h"

namespace {

constexpr TColor kHotFill = 0xF3D4C1;
constexpr TColor kActiveFrame = 0xB76B3B;
constexpr TColor kFocusFill = 0xE4BCA2;

TRect OrElse(const TRect& R, const TRect& Fallback) {
    return R.IsEmpty() ? Fallback : R;
}

// The pixels of a 32-bit bitmap as top-down rows.
std::vector<std::uint32_t> ReadPixels(TBitmap* B) {
    B->SetPixelFormat(pf32bit);
    GdiFlush();
    std::vector<std::uint32_t> px(static_cast<size_t>(B->Width()) * B->Height());
    for (int y = 0; y < B->Height(); ++y)
        std::memcpy(&px[static_cast<size_t>(y) * B->Width()], B->ScanLine(y), static_cast<size_t>(B->Width()) * 4);
    return px;
}

void WritePixels(TBitmap* B, int W, int H, const std::vector<std::uint32_t>& px) {
    B->SetPixelFormat(pf32bit);
    B->SetSize(W, H);
    GdiFlush();
    for (int y = 0; y < H; ++y)
        std::memcpy(B->ScanLine(y), &px[static_cast<size_t>(y) * W], static_cast<size_t>(W) * 4);
}

// A quarter turn: counter-clockwise when Ccw, else clockwise.
void Turn(TBitmap* B, bool Ccw) {
    const int w = B->Width(), h = B->Height();
    if (w <= 0 || h <= 0)
        return;
    const std::vector<std::uint32_t> src = ReadPixels(B);
    std::vector<std::uint32_t> dst(src.size());
    // The turned image is h wide and w high.
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int nx = Ccw ? y : h - 1 - y;
            const int ny = Ccw ? w - 1 - x : x;
            dst[static_cast<size_t>(ny) * h + nx] = src[static_cast<size_t>(y) * w + x];
        }
    WritePixels(B, h, w, dst);
}

}  // namespace

void DrawRotate90_1_H(TBitmap* Bitmap) {
    Turn(Bitmap, true);
}

void DrawRotate90_2_H(TBitmap* Bitmap) {
    Turn(Bitmap, false);
}

void DrawRotate90_1(TCanvas* Canvas, TBitmap* Bitmap, int X, int Y) {
    TBitmap copy;
    copy.Assign(Bitmap);
    Turn(&copy, true);
    Canvas->Draw(X, Y, &copy);
}

void DrawRotate90_2(TCanvas* Canvas, TBitmap* Bitmap, int X, int Y) {
    TBitmap copy;
    copy.Assign(Bitmap);
    Turn(&copy, false);
    Canvas->Draw(X, Y, &copy);
}

void DrawFlipVert(TBitmap* Bitmap) {
    const int w = Bitmap->Width(), h = Bitmap->Height();
    if (w <= 0 || h <= 0)
        return;
    std::vector<std::uint32_t> px = ReadPixels(Bitmap);
    for (int y = 0; y < h / 2; ++y)
        std::swap_ranges(px.begin() + static_cast<std::ptrdiff_t>(y) * w,
                         px.begin() + static_cast<std::ptrdiff_t>(y + 1) * w,
                         px.begin() + static_cast<std::ptrdiff_t>(h - 1 - y) * w);
    WritePixels(Bitmap, w, h, px);
}

// ---- TbsSkinCustomTabSheet ------------------------------------------------------------------------------------------
TbsSkinCustomTabSheet::TbsSkinCustomTabSheet(TComponent* AOwner)
    : TTabSheet(AOwner), FWallPaper(std::make_unique<TBitmap>()) {
    // Every tab carries the private 1 x 1 image, so the tab control leaves room for glyph and close button.
    SetImageIndex(0);
}

TbsSkinCustomTabSheet::~TbsSkinCustomTabSheet() = default;

void TbsSkinCustomTabSheet::SetWallPaper(TBitmap* Value) {
    FWallPaper->Assign(Value);
    Invalidate();
}

TbsSkinPageControl* TbsSkinCustomTabSheet::SkinPageControl() const {
    return dynamic_cast<TbsSkinPageControl*>(PageControl());
}

TbsSkinData* TbsSkinCustomTabSheet::ControlSkinData() const {
    TbsSkinPageControl* pc = SkinPageControl();
    return pc ? pc->SkinData() : nullptr;
}

void TbsSkinCustomTabSheet::CreateParams(TCreateParams& Params) {
    TTabSheet::CreateParams(Params);
    Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TbsSkinCustomTabSheet::PaintBG(HDC DC) {
    if (!Parent() || Width() < 1 || Height() < 1)
        return;
    TCanvas c;
    c.SetHandle(DC);
    const TRect all{0, 0, Width(), Height()};
    TbsSkinPageControl* pc = SkinPageControl();
    TbsDataSkinTabControl* e = pc ? pc->TabEntry() : nullptr;
    if (!FWallPaper->Empty()) {
        DrawBackgroundPicture(&c, FWallPaper.get(), {0, 0, FWallPaper->Width(), FWallPaper->Height()}, all, false,
                              bsstFull);
    } else if (e && e->BGPictureIndex != -1 && SkinPictureAt(pc->SkinData(), e->BGPictureIndex)) {
        TBitmap* bg = SkinPictureAt(pc->SkinData(), e->BGPictureIndex);
        DrawBackgroundPicture(&c, bg, {0, 0, bg->Width(), bg->Height()}, all, e->StretchEffect, e->StretchType);
    } else if (e && pc->TabPicture()) {
        TRect src = e->ClRect;
        src.Offset(e->SkinRect.Left, e->SkinRect.Top);
        const TRect area = e->StretchEffect ? TRect{0, 0, pc->Width(), pc->Height()} : all;
        DrawBackgroundPicture(&c, pc->TabPicture(), src, area, e->StretchEffect, e->StretchType);
    } else {
        c.Brush()->SetColor(clBtnFace);
        c.Brush()->SetStyle(bsSolid);
        c.FillRect(all);
    }
    c.SetHandle(nullptr);
}

void TbsSkinCustomTabSheet::CheckControlsBackground() {
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* w = dynamic_cast<TWinControl*>(Controls(i)); w && w->HandleAllocated())
            SendMessageW(w->Handle(), WM_CHECKPARENTBG, 0, 0);
}

void TbsSkinCustomTabSheet::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case WM_SKINPAGE_QUERY:
            Message.Result = SKINPAGE_QUERY_ANSWER;
            return;
        case WM_ERASEBKGND:
            PaintBG(reinterpret_cast<HDC>(Message.WParam));
            Message.Result = 1;
            return;
        case WM_SIZE: {
            TTabSheet::WndProc(Message);
            Invalidate();
            TbsSkinPageControl* pc = SkinPageControl();
            if (TbsDataSkinTabControl* e = pc ? pc->TabEntry() : nullptr; e && e->StretchEffect)
                CheckControlsBackground();
            return;
        }
        default:
            break;
    }
    TTabSheet::WndProc(Message);
}

// ---- TbsSkinPageControl: properties -------------------------------------------------------------------------------
TbsSkinPageControl::TbsSkinPageControl(TComponent* AOwner)
    : TPageControl(AOwner),
      FDefaultFont(std::make_unique<TFont>()),
      FPrivateImages(std::make_unique<TCustomImageList>(nullptr, 1, 1)) {
    FDefaultFont->SetName(L"Tahoma");
    FDefaultFont->SetHeight(13);
    FDefaultFont->SetColor(clBtnText);
    Font()->Assign(FDefaultFont.get());
    SetImages(FPrivateImages.get());
}

TbsSkinPageControl::~TbsSkinPageControl() {
    DestroyUpDown();
    SetImages(nullptr);
}

void TbsSkinPageControl::SetSkinData(TbsSkinData* Value) {
    SetBorrowed(this, FSD, Value);
    if (FSD && !FSD->Empty)
        ChangeSkinData();
}

void TbsSkinPageControl::SetSkinDataName(const std::wstring& Value) {
    FSkinDataName = Value;
    Invalidate();
}

void TbsSkinPageControl::Notification(TComponent* AComponent, TOperation Operation) {
    TPageControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FSD) {
        FSD = nullptr;
        FCacheData = nullptr;
    }
    if (AComponent == FImages) {
        FImages = nullptr;
        UpdatePrivateImages();
    }
}

void TbsSkinPageControl::SetDefaultItemHeight(int Value) {
    FDefaultItemHeight = Value;
    if (!TabEntry()) {
        SetItemSize();
        TestScroll();
        Realign();
    }
}

void TbsSkinPageControl::SetTabImages(TCustomImageList* Value) {
    SetBorrowed(this, FImages, Value);
    UpdatePrivateImages();
    Invalidate();
}

void TbsSkinPageControl::SetTabPosition(TTabPosition Value) {
    if (FTabPosition == Value)
        return;
    FTabPosition = Value;
    if (HandleAllocated())
        RecreateWnd();
    UpdatePrivateImages();
}

void TbsSkinPageControl::SetStyle(TTabStyle Value) {
    if (FStyle == Value)
        return;
    FStyle = Value;
    if (HandleAllocated())
        RecreateWnd();
}

void TbsSkinPageControl::SetTabHeight(int Value) {
    FTabHeight = Value;
    SetItemSize();
    Realign();
}

void TbsSkinPageControl::SetTabWidth(int Value) {
    if (FTabWidth == Value)
        return;
    FTabWidth = Value;
    if (FTabWidth == 0)
        FTabsInCenter = false;
    if (HandleAllocated())
        RecreateWnd();
}

void TbsSkinPageControl::SetTabsOffset(int Value) {
    FTabsOffset = Value;
    Invalidate();
}

void TbsSkinPageControl::SetTabsInCenter(bool Value) {
    if (Value && FTabWidth == 0)
        return;
    FTabsInCenter = Value;
    Invalidate();
}

void TbsSkinPageControl::SetTabsBGTransparent(bool Value) {
    FTabsBGTransparent = Value;
    Invalidate();
}

void TbsSkinPageControl::SetTextInHorizontal(bool Value) {
    FTextInHorizontal = Value;
    Invalidate();
}

void TbsSkinPageControl::SetTabExtededDraw(bool Value) {
    FTabExtededDraw = Value;
    Invalidate();
}

void TbsSkinPageControl::SetTabLayout(TbsButtonLayout Value) {
    if (FTabLayout == Value)
        return;
    FTabLayout = Value;
    Invalidate();
}

void TbsSkinPageControl::SetTabMargin(int Value) {
    if (Value < -1 || FTabMargin == Value)
        return;
    FTabMargin = Value;
    Invalidate();
}

void TbsSkinPageControl::SetTabSpacing(int Value) {
    if (FTabSpacing == Value)
        return;
    FTabSpacing = Value;
    Invalidate();
}

void TbsSkinPageControl::SetShowCloseButtons(bool Value) {
    FShowCloseButtons = Value;
    UpdatePrivateImages();
    Invalidate();
}

// The private list grows along the tab's length by the glyphs' width and the close button's size.
void TbsSkinPageControl::UpdatePrivateImages() {
    int extra = 1;
    if (FImages)
        extra += FImages->Width();
    if (FShowCloseButtons)
        extra += CloseSize() + 2;
    const bool lying = FTabPosition == tpLeft || FTabPosition == tpRight;
    const int w = lying ? 1 : extra, h = lying ? extra : 1;
    if (FPrivateImages->Width() != w || FPrivateImages->Height() != h) {
        FPrivateImages->SetSize(w, h);
        SetImages(FPrivateImages.get());
        if (HandleAllocated())
            Realign();
    }
}

// ---- Skin lookup ----------------------------------------------------------------------------------------------------
int TbsSkinPageControl::Lookup() {
    if (!FSD) {
        FCacheData = nullptr;
        return -1;
    }
    if (FCacheData != FSD || FCacheName != FSkinDataName || FCacheLoad != FSD->LoadCount()) {
        FCacheData = FSD;
        FCacheName = FSkinDataName;
        FCacheLoad = FSD->LoadCount();
        const int i = LookupSkinEntry(FSD, FSkinDataName);
        FCacheIndex = dynamic_cast<TbsDataSkinTabControl*>(SkinEntryAt(FSD, i)) ? i : -1;
    }
    return FCacheIndex;
}

TbsDataSkinTabControl* TbsSkinPageControl::TabEntry() {
    return dynamic_cast<TbsDataSkinTabControl*>(SkinEntryAt(FSD, Lookup()));
}

TBitmap* TbsSkinPageControl::TabPicture() {
    TbsDataSkinTabControl* e = TabEntry();
    return e ? SkinPictureAt(FSD, e->PictureIndex) : nullptr;
}

int TbsSkinPageControl::CloseSize() {
    TbsDataSkinTabControl* e = TabEntry();
    return e && !e->CloseButtonRect.IsEmpty() ? e->CloseButtonRect.Width() : 14;
}

void TbsSkinPageControl::BeforeChangeSkinData() {
    FCacheData = nullptr;
    FCacheIndex = -1;
}

void TbsSkinPageControl::ApplyFont() {
    TbsDataSkinTabControl* e = TabEntry();
    if (!e) {
        Font()->Assign(FDefaultFont.get());
    } else {
        if (UseSkinFont) {
            Font()->SetName(e->FontName);
            Font()->SetHeight(e->FontHeight);
            Font()->SetStyle(ToFontStyles(e->FontStyle));
        } else {
            Font()->Assign(FDefaultFont.get());
        }
        Font()->SetColor(static_cast<TColor>(e->FontColor));
    }
    Font()->SetCharset(SkinFontCharset(FSD, FDefaultFont->Charset()));
}

void TbsSkinPageControl::ChangeSkinData() {
    FCacheData = nullptr;
    ApplyFont();
    UpdatePrivateImages();
    SetItemSize();
    Realign();
    DestroyUpDown();
    TestScroll();
    Invalidate();
    if (ActivePage())
        ActivePage()->Invalidate();
}

// ---- Layout ---------------------------------------------------------------------------------------------------------
void TbsSkinPageControl::CreateParams(TCreateParams& Params) {
    TPageControl::CreateParams(Params);
    switch (FTabPosition) {
        case tpTop: break;
        case tpBottom: Params.Style |= TCS_BOTTOM; break;
        case tpLeft: Params.Style |= TCS_VERTICAL | TCS_MULTILINE; break;
        case tpRight: Params.Style |= TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE; break;
    }
    if (FStyle == tsButtons)
        Params.Style |= TCS_BUTTONS;
    else if (FStyle == tsFlatButtons)
        Params.Style |= TCS_BUTTONS | TCS_FLATBUTTONS;
    if (FTabWidth > 0)
        Params.Style |= TCS_FIXEDWIDTH;
    Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TbsSkinPageControl::CreateWnd() {
    TPageControl::CreateWnd();
    SetItemSize();
    Realign();
}

void TbsSkinPageControl::SetItemSize() {
    if (!HandleAllocated())
        return;
    int h = FTabHeight;
    if (h <= 0) {
        TbsDataSkinTabControl* e = TabEntry();
        h = e ? e->TabRect.Height() : FDefaultItemHeight;
    }
    SendMessageW(Handle(), TCM_SETITEMSIZE, 0, MAKELPARAM(FTabWidth, std::max(h, 1)));
}

void TbsSkinPageControl::UpDateTabs() {
    SetItemSize();
    if (MultiLine())
        DestroyUpDown();
    Realign();
}

TRect TbsSkinPageControl::PageArea() {
    TRect r = ClientRect();
    AdjustClientRect(r);
    return r;
}

void TbsSkinPageControl::AdjustClientRect(TRect& Rect) {
    TPageControl::AdjustClientRect(Rect);
    TbsPageAreaState s;
    s.Position = FTabPosition;
    if (TbsDataSkinTabControl* e = TabEntry()) {
        s.Skinned = true;
        s.Offsets = TbsPageSkinOffsets::FromSkin(e->SkinRect, e->ClRect);
    }
    s.TabsHidden = FTabsHidden;
    s.BorderHidden = FBorderHidden;
    Rect = PageAreaOf(Rect, s, Width(), Height());
}

int TbsSkinPageControl::VisibleTabCount() const {
    int n = 0;
    for (int i = 0; i < PageCount(); ++i)
        n += Pages(i)->TabVisible();
    return n;
}

TTabSheet* TbsSkinPageControl::PageOfVisibleTab(int TabIndex) const {
    for (int i = 0; i < PageCount(); ++i)
        if (TabIndex >= 0 && Pages(i)->TabIndex() == TabIndex)
            return Pages(i);
    return nullptr;
}

int TbsSkinPageControl::ItemOffset() {
    if (FTabPosition != tpTop || (!FTabsInCenter && FTabsOffset <= 0))
        return 0;
    return TabRowOffset(FTabsOffset, FTabWidth, Width(), VisibleTabCount());
}

TRect TbsSkinPageControl::GetTabRect(int TabIndex) {
    return CorrectTabRect(TabRect(TabIndex), FTabPosition, FStyle, MultiLine(), ItemOffset());
}

int TbsSkinPageControl::HiddenTabsWithin(int Limit) {
    if (MultiLine() || FTabsHidden || !HandleAllocated())
        return 0;
    std::vector<TRect> rects;
    for (int i = 0; i < VisibleTabCount(); ++i)
        rects.push_back(TabRect(i));
    return HiddenTabCount(rects, Limit);
}

int TbsSkinPageControl::HiddenTabs() {
    return HiddenTabsWithin(WindowWidth() - 1);
}

// The window's own width: inside WM_SIZE the control's Width() may not have caught up yet.
int TbsSkinPageControl::WindowWidth() {
    RECT r{};
    if (!HandleAllocated() || !GetClientRect(Handle(), &r))
        return Width();
    return r.right;
}

// The tab control makes its own scroller whenever the row overflows; ours replaces it.
void TbsSkinPageControl::RemoveNativeScroller() {
    if (!HandleAllocated())
        return;
    while (HWND native = FindWindowExW(Handle(), nullptr, L"msctls_updown32", nullptr))
        if (!DestroyWindow(native))
            break;
}

void TbsSkinPageControl::DestroyUpDown() {
    delete FUpDown;
    FUpDown = nullptr;
}

void TbsSkinPageControl::PlaceUpDown() {
    if (!FUpDown)
        return;
    TbsDataSkinTabControl* e = TabEntry();
    const int w = FUpDown->Width(), h = FUpDown->Height();
    const int top = ScrollerTop(FTabPosition, e != nullptr, PageArea(), e ? e->SkinRect : TRect{},
                                e ? e->ClRect : TRect{}, Height(), h);
    FUpDown->SetBounds(WindowWidth() - w, top, w, h);
}

void TbsSkinPageControl::TestScroll() {
    if (!HandleAllocated())
        return;
    RemoveNativeScroller();
    // A row scrolled to the left that fits whole now goes back to its start (the tab control keeps it scrolled).
    const int n = VisibleTabCount();
    if (n > 0 && !MultiLine() && TabRect(0).Left < 0 && TabRect(n - 1).Right - TabRect(0).Left <= WindowWidth() - 1)
        for (int i = 0; i < n && TabRect(0).Left < 0; ++i)
            SendMessageW(Handle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0), 0);
    const int hidden = HiddenTabs();
    if (hidden == 0 || MultiLine() || FTabsHidden) {
        DestroyUpDown();
        return;
    }
    if (!FUpDown) {
        std::vector<TRect> rects;
        for (int i = 0; i < VisibleTabCount(); ++i)
            rects.push_back(TabRect(i));
        FUpDown = new TbsSkinUpDown(nullptr);
        FUpDown->SetParent(this);
        FUpDown->SetBounds(WindowWidth() - 2 * FDefaultItemHeight, 0, 2 * FDefaultItemHeight, FDefaultItemHeight);
        FUpDown->SetMin(0);
        FUpDown->SetMax(hidden);
        FUpDown->SetPosition(TabsScrolledOff(rects));
        FUpDown->SetIncrement(1);
        TbsDataSkinTabControl* e = TabEntry();
        FUpDown->SetSkinDataName(e && !e->UpDown.empty() ? e->UpDown : L"updown");
        FUpDown->SetSkinData(FSD);
        FUpDown->OnChange = [this](TObject*) { ScrollerChanged(); };
        FUpDown->SetVisible(true);
    }
    FInScrollerChange = true;
    FUpDown->SetMax(hidden);
    FInScrollerChange = false;
    PlaceUpDown();
}

void TbsSkinPageControl::ScrollerChanged() {
    if (FInScrollerChange || !FUpDown)
        return;
    FInScrollerChange = true;
    FUpDown->SetMax(HiddenTabsWithin(WindowWidth() - FUpDown->Width()));
    FInScrollerChange = false;
    SendMessageW(Handle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, FUpDown->Position()), 0);
}

// ---- Hiding ---------------------------------------------------------------------------------------------------------
void TbsSkinPageControl::HideTabs() {
    if (FTabsHidden || VisibleTabCount() == 0)
        return;
    FSavedPosition = FTabPosition;
    FSavedMultiLine = MultiLine();
    if (FTabPosition == tpLeft || FTabPosition == tpRight)
        SetTabPosition(tpTop);
    SetMultiLine(false);
    FSavedTabHeight = FTabHeight;
    FTabsHidden = true;
    SetTabHeight(1);
    DestroyUpDown();
}

void TbsSkinPageControl::ShowTabs() {
    if (!FTabsHidden)
        return;
    FTabsHidden = false;
    SetTabPosition(FSavedPosition);
    SetMultiLine(FSavedMultiLine);
    FTabHeight = FSavedTabHeight;
    FSavedTabHeight = -1;
    SetItemSize();
    Realign();
    if (!MultiLine())
        TestScroll();
    Invalidate();
}

void TbsSkinPageControl::HideBorder() {
    FBorderHidden = true;
    Realign();
    Invalidate();
}

void TbsSkinPageControl::ShowBorder() {
    FBorderHidden = false;
    Realign();
    Invalidate();
}

void TbsSkinPageControl::HideBorderAndTabs() {
    SetTabPosition(tpTop);
    HideTabs();
    FBorderHidden = true;
    DestroyUpDown();
    Realign();
    Invalidate();
}

void TbsSkinPageControl::ShowBorderAndTabs() {
    FBorderHidden = false;
    ShowTabs();
    Realign();
    Invalidate();
}

// ---- Painting -------------------------------------------------------------------------------------------------------
bool TbsSkinPageControl::Focused() {
    return HandleAllocated() && GetFocus() == Handle();
}

TRect TbsSkinPageControl::SelectedTabArea() {
    TTabSheet* a = ActivePage();
    if (!a || FTabsHidden || FStyle != tsTabs || a->TabIndex() < 0)
        return {};
    TRect r = GetTabRect(a->TabIndex());
    int grow = 0;
    if (TbsDataSkinTabControl* e = TabEntry())
        grow = std::max(0, OrElse(e->ActiveTabRect, e->TabRect).Height() - e->TabRect.Height());
    switch (FTabPosition) {
        case tpTop: r.Bottom += grow; break;
        case tpBottom: r.Top -= grow; break;
        case tpLeft: r.Right += grow; break;
        case tpRight: r.Left -= grow; break;
    }
    return r;
}

void TbsSkinPageControl::DrawEmptyBackground(TCanvas* C) {
    TbsDataSkinTabControl* e = TabEntry();
    const TRect all{0, 0, Width(), Height()};
    if (e && e->BGPictureIndex != -1 && SkinPictureAt(FSD, e->BGPictureIndex)) {
        TBitmap* bg = SkinPictureAt(FSD, e->BGPictureIndex);
        DrawBackgroundPicture(C, bg, {0, 0, bg->Width(), bg->Height()}, all, e->StretchEffect, e->StretchType);
        return;
    }
    if (e && TabPicture()) {
        TRect src = e->ClRect;
        src.Offset(e->SkinRect.Left, e->SkinRect.Top);
        DrawBackgroundPicture(C, TabPicture(), src, all, e->StretchEffect, e->StretchType);
        return;
    }
    C->Brush()->SetColor(clBtnFace);
    C->Brush()->SetStyle(bsSolid);
    C->FillRect(all);
}

void TbsSkinPageControl::DrawFrame(TCanvas* C, const TRect& PageR) {
    TbsDataSkinTabControl* e = TabEntry();
    TBitmap* pic = TabPicture();
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clBtnFace);
    C->FillRect({0, 0, Width(), Height()});
    if (FBorderHidden)
        return;
    if (!e || !pic) {
        TRect f = PageR;
        f.Inflate(1, 1);
        C->Brush()->SetColor(clBtnShadow);
        C->FrameRect(f);
        return;
    }
    if (!RectInPicture(e->SkinRect, pic))
        return;
    const TbsPageSkinOffsets o = TbsPageSkinOffsets::FromSkin(e->SkinRect, e->ClRect);
    const TRect frame{PageR.Left - o.L, PageR.Top - o.T, PageR.Right + o.R, PageR.Bottom + o.B};
    const int dw = frame.Width() - e->SkinRect.Width(), dh = frame.Height() - e->SkinRect.Height();
    const TPoint nrt{e->RTPoint.X + dw, e->RTPoint.Y};
    const TPoint nlb{e->LBPoint.X, e->LBPoint.Y + dh};
    const TPoint nrb{e->RBPoint.X + dw, e->RBPoint.Y + dh};
    const TRect ncl{e->ClRect.Left, e->ClRect.Top, e->ClRect.Right + dw, e->ClRect.Bottom + dh};
    TBitmap l, t, r, b;
    CreateSkinBorderImages(e->LTPoint, e->RTPoint, e->LBPoint, e->RBPoint, e->ClRect, e->LTPoint, nrt, nlb, nrb, ncl,
                           &l, &t, &r, &b, pic, e->SkinRect, frame.Width(), frame.Height(), e->LeftStretch,
                           e->TopStretch, e->RightStretch, e->BottomStretch);
    TSaveDCGuard guard(C->Handle());
    const TRect sel = SelectedTabArea();
    if (!sel.IsEmpty())
        ExcludeClipRect(C->Handle(), sel.Left, sel.Top, sel.Right, sel.Bottom);
    C->Draw(frame.Left, frame.Top, &t);
    C->Draw(frame.Left, frame.Top + t.Height(), &l);
    C->Draw(frame.Right - r.Width(), frame.Top + t.Height(), &r);
    C->Draw(frame.Left, frame.Bottom - b.Height(), &b);
}

void TbsSkinPageControl::DrawTabs(TCanvas* C, const TRect& PageR) {
    if (FTabsHidden)
        return;
    TTabSheet* active = ActivePage();
    const int activeTab = active ? active->TabIndex() : -1;
    TbsDataSkinTabControl* e = TabEntry();
    TBitmap* pic = TabPicture();
    const int n = VisibleTabCount();
    if (!e || !pic) {
        for (int i = 0; i < n; ++i)
            DrawTab(C, i, GetTabRect(i), i == activeTab, i == FActiveTab);
        return;
    }
    TRect frame = PageR;
    if (!FBorderHidden) {
        const TbsPageSkinOffsets o = TbsPageSkinOffsets::FromSkin(e->SkinRect, e->ClRect);
        frame = {PageR.Left - o.L, PageR.Top - o.T, PageR.Right + o.R, PageR.Bottom + o.B};
    }
    TRect strip;
    switch (FTabPosition) {
        case tpTop: strip = {0, 0, Width(), frame.Top}; break;
        case tpBottom: strip = {0, frame.Bottom, Width(), Height()}; break;
        case tpLeft: strip = {0, 0, frame.Left, Height()}; break;
        case tpRight: strip = {frame.Right, 0, Width(), Height()}; break;
    }
    if (!strip.IsEmpty()) {
        TBitmap sb(strip.Width(), strip.Height(), pf32bit);
        if (FTabsBGTransparent) {
            GetParentImageRect(this, strip, sb.Canvas());
        } else {
            TRect src = e->TabsBGRect;
            if (src.IsEmpty()) {
                src = e->ClRect;
                src.Offset(e->SkinRect.Left, e->SkinRect.Top);
            }
            DrawBackgroundPicture(sb.Canvas(), pic, src, {0, 0, strip.Width(), strip.Height()}, false, bsstFull);
        }
        for (int i = 0; i < n; ++i) {
            if (i == activeTab)
                continue;
            TRect r = GetTabRect(i);
            if (FTabPosition == tpBottom || FTabPosition == tpRight)
                r.Offset(-strip.Left, -strip.Top);
            DrawTab(sb.Canvas(), i, r, false, i == FActiveTab);
        }
        TSaveDCGuard guard(C->Handle());
        const TRect sel = SelectedTabArea();
        if (!sel.IsEmpty())
            ExcludeClipRect(C->Handle(), sel.Left, sel.Top, sel.Right, sel.Bottom);
        C->Draw(strip.Left, strip.Top, &sb);
    }
    if (activeTab >= 0) {
        TRect r = GetTabRect(activeTab);
        if (FStyle == tsTabs && (FTabPosition == tpBottom || FTabPosition == tpRight)) {
            const int dh = std::max(0, OrElse(e->ActiveTabRect, e->TabRect).Height() - e->TabRect.Height());
            r.Offset(FTabPosition == tpRight ? dh : 0, FTabPosition == tpBottom ? dh : 0);
        }
        DrawTab(C, activeTab, r, true, activeTab == FActiveTab);
    }
}

void TbsSkinPageControl::DrawTab(TCanvas* C, int TabIndex, const TRect& Rct, bool Active, bool MouseIn) {
    if (FTabsHidden || Rct.IsEmpty())
        return;
    auto* page = PageOfVisibleTab(TabIndex);
    if (!page)
        return;
    auto* skinPage = dynamic_cast<TbsSkinCustomTabSheet*>(page);
    const bool lying = FTabPosition == tpLeft || FTabPosition == tpRight;
    int w = lying ? Rct.Height() : Rct.Width();
    int h = lying ? Rct.Width() : Rct.Height();
    const bool focused = Focused();
    TbsDataSkinTabControl* e = TabEntry();
    TBitmap* pic = TabPicture();
    const bool skin = e && pic;
    TBitmap B(w, h, pf32bit);
    TCanvas* bc = B.Canvas();
    TFont* font = bc->Font();
    font->Assign(Font());
    TRect content{0, 0, w, h};
    if (!skin) {
        bc->Brush()->SetStyle(bsSolid);
        if (MouseIn && !Active) {
            bc->Brush()->SetColor(kHotFill);
            bc->FillRect(content);
        } else if (!Active) {
            bc->Brush()->SetColor(clBtnFace);
            bc->FillRect(content);
        } else {
            bc->Brush()->SetColor(focused ? kFocusFill : kHotFill);
            bc->FillRect(content);
            bc->Brush()->SetColor(kActiveFrame);
            bc->FrameRect(content);
        }
    } else if (FStyle != tsTabs) {
        auto* be = dynamic_cast<TbsDataSkinButtonControl*>(SkinEntryAt(FSD, LookupSkinEntry(FSD, ButtonTabSkinDataName)));
        TBitmap* bp = be ? SkinPictureAt(FSD, be->PictureIndex) : nullptr;
        if (be && bp) {
            TRect sr = be->SkinRect;
            int col = be->FontColor;
            const TRect act = OrElse(be->ActiveSkinRect, be->SkinRect);
            if (Active) {
                sr = OrElse(be->DownSkinRect, act);
                col = be->DownFontColor;
            } else if (MouseIn) {
                sr = act;
                col = be->ActiveFontColor;
            }
            if (RectInPicture(sr, bp)) {
                const int dw = w - sr.Width(), dh = h - sr.Height();
                CreateSkinImage(be->LTPoint, be->RTPoint, be->LBPoint, be->RBPoint, be->ClRect, be->LTPoint,
                                {be->RTPoint.X + dw, be->RTPoint.Y}, {be->LBPoint.X, be->LBPoint.Y + dh},
                                {be->RBPoint.X + dw, be->RBPoint.Y + dh},
                                {be->ClRect.Left, be->ClRect.Top, be->ClRect.Right + dw, be->ClRect.Bottom + dh}, &B,
                                bp, sr, w, h, true, be->LeftStretch, be->TopStretch, be->RightStretch,
                                be->BottomStretch, be->StretchEffect, be->StretchType);
            }
            font->SetColor(static_cast<TColor>(col));
        }
    } else {
        const TRect activeR = OrElse(e->ActiveTabRect, e->TabRect);
        const TRect focusR = OrElse(e->FocusTabRect, activeR);
        TRect sr;
        int col;
        if (MouseIn && !Active && !e->MouseInTabRect.IsEmpty()) {
            sr = e->MouseInTabRect;
            col = e->MouseInFontColor;
        } else if (Active && focused) {
            sr = focusR;
            col = e->FocusFontColor;
        } else if (!Active) {
            sr = e->TabRect;
            col = e->FontColor;
        } else {
            sr = activeR;
            col = e->ActiveFontColor;
        }
        if (RectInPicture(sr, pic)) {
            if (FTabHeight > 0) {
                if (Active)
                    h += std::max(0, (focused ? focusR : activeR).Height() - e->TabRect.Height());
                B.SetSize(w, h);
                const int q = e->TabRect.Height() / 4;
                CreateStretchImage(&B, pic, sr, {e->TabLeftOffset, q, sr.Width() - e->TabRightOffset, sr.Height() - q},
                                   true);
            } else {
                h = sr.Height();
                B.SetSize(w, h);
                CreateHSkinImage(e->TabLeftOffset, e->TabRightOffset, &B, pic, sr, w, h, e->TabStretchEffect);
            }
            content = {0, 0, w, h};
            const TRect corner = focused ? OrElse(e->TabLeftBottomFocusRect, e->TabLeftBottomActiveRect)
                                         : e->TabLeftBottomActiveRect;
            if (Active && Rct.Left == 0 && !MultiLine() && (FTabPosition == tpTop || FTabPosition == tpBottom) &&
                !corner.IsEmpty() && RectInPicture(corner, pic))
                bc->CopyRect({0, h - corner.Height(), corner.Width(), h}, pic->Canvas(), corner);
        }
        if (FTabPosition == tpBottom)
            DrawFlipVert(&B);
        if (UseSkinFont) {
            font->SetName(e->FontName);
            font->SetHeight(e->FontHeight);
            font->SetStyle(ToFontStyles(e->FontStyle));
        }
        font->SetCharset(SkinFontCharset(FSD, Font()->Charset()));
        font->SetColor(static_cast<TColor>(col));
    }
    if (lying && FTextInHorizontal) {
        if (FTabPosition == tpLeft)
            DrawRotate90_1_H(&B);
        else
            DrawRotate90_2_H(&B);
        w = B.Width();
        h = B.Height();
        content = {0, 0, w, h};
    }
    bc = B.Canvas();
    if (skin && e->ShowFocus && focused && Active) {
        TRect fr = content;
        fr.Inflate(-e->FocusOffsetX, -e->FocusOffsetY);
        bc->Brush()->SetColor(FSD->SkinColors()->cBtnFace);
        DrawSkinFocusRect(bc, fr);
    }
    if (skin && FStyle == tsTabs && !Active && e->TabRect.Height() != OrElse(e->ActiveTabRect, e->TabRect).Height())
        content.Offset(0, (FTabPosition == tpTop || FTabPosition == tpLeft) ? 2 : -2);
    const int closeC = FShowCloseButtons ? CloseSize() + 2 : 0;
    const int closeCut = skin ? closeC + (closeC ? 3 : 0) : closeC;
    TCustomImageList* images = FImages;
    const bool glyph = images && page->ImageIndex() >= 0 && page->ImageIndex() < images->Count();
    bc->Brush()->SetStyle(bsClear);
    const std::wstring text = page->Caption();
    if (OnDrawSkinTab) {
        OnDrawSkinTab(TabIndex, {0, 0, w, h}, Active, MouseIn, bc);
    } else if (FTabExtededDraw) {
        TRect cr = content;
        cr.Right -= closeC;
        DrawImageAndText(bc, cr, FTabMargin, FTabSpacing, FTabLayout, text, page->ImageIndex(), images, false,
                         page->Enabled(), false, 0, false);
    } else if (glyph) {
        const TSize ts = text.empty() ? TSize{0, 0} : bc->TextExtent(text);
        const int tw = text.empty() ? 0 : ts.cx + 2;
        const int block = tw + images->Width() + 2;
        const int cw = w - closeC;
        const int x = cw / 2 - block / 2;
        images->Draw(bc, x, content.Top + content.Height() / 2 - images->Height() / 2, page->ImageIndex(),
                     page->Enabled());
        if (!text.empty())
            bc->TextOut(x + images->Width() + 2, content.Top + content.Height() / 2 - ts.cy / 2, text);
    } else {
        TRect tr = content;
        tr.Right -= closeCut;
        RECT wr{tr.Left, tr.Top, tr.Right, tr.Bottom};
        SetBkMode(bc->Handle(), TRANSPARENT);
        SetTextColor(bc->Handle(), ColorToRGB(font->Color()));
        SelectObject(bc->Handle(), font->Handle());
        DrawTextW(bc->Handle(), text.c_str(), static_cast<int>(text.size()), &wr,
                  DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
    }
    if (FShowCloseButtons && skinPage) {
        if (!MouseIn)
            skinPage->CloseMouseIn = false;
        TRect cr{content.Right - closeCut, 0, w, h};
        DrawCloseButton(bc, skinPage, cr);
        if (lying && !FTextInHorizontal) {
            // Into the turned tab's coordinates, where the mouse finds it.
            const TRect c = skinPage->CloseRect;
            skinPage->CloseRect = FTabPosition == tpLeft ? TRect{c.Top, w - c.Right, c.Bottom, w - c.Left}
                                                         : TRect{h - c.Bottom, c.Left, h - c.Top, c.Right};
        }
    }
    if (lying && !FTextInHorizontal) {
        if (FTabPosition == tpLeft)
            DrawRotate90_1(C, &B, Rct.Left, Rct.Top);
        else
            DrawRotate90_2(C, &B, Rct.Left, Rct.Top);
    } else {
        C->Draw(Rct.Left, Rct.Top, &B);
    }
}

void TbsSkinPageControl::DrawCloseButton(TCanvas* C, TbsSkinCustomTabSheet* Page, const TRect& Rct) {
    TbsDataSkinTabControl* e = TabEntry();
    TBitmap* pic = TabPicture();
    TRect button;
    if (!e || !pic) {
        button = {Rct.Left, Rct.Top + Rct.Height() / 2 - 7, Rct.Left + 14, Rct.Top + Rct.Height() / 2 + 7};
        DrawCloseImage(C, button.Left + 2, button.Top + 2, Page->CloseMouseIn ? clWhite : clBlack);
    } else if (e->CloseButtonRect.IsEmpty()) {
        auto* be =
            dynamic_cast<TbsDataSkinButtonControl*>(SkinEntryAt(FSD, LookupSkinEntry(FSD, L"resizetoolbutton")));
        TBitmap* bp = be ? SkinPictureAt(FSD, be->PictureIndex) : nullptr;
        if (!be || !bp)
            return;
        const int s = CloseSize();
        const TRect act = OrElse(be->ActiveSkinRect, be->SkinRect);
        TRect sr = be->SkinRect;
        int col = be->FontColor;
        if (Page->CloseMouseIn && Page->CloseMouseDown) {
            sr = OrElse(be->DownSkinRect, act);
            col = be->DownFontColor;
        } else if (Page->CloseMouseIn) {
            sr = act;
            col = be->ActiveFontColor;
        }
        if (!RectInPicture(sr, bp))
            return;
        TBitmap bb(s, s, pf32bit);
        const int dw = s - sr.Width(), dh = s - sr.Height();
        CreateSkinImage(be->LTPoint, be->RTPoint, be->LBPoint, be->RBPoint, be->ClRect, be->LTPoint,
                        {be->RTPoint.X + dw, be->RTPoint.Y}, {be->LBPoint.X, be->LBPoint.Y + dh},
                        {be->RBPoint.X + dw, be->RBPoint.Y + dh},
                        {be->ClRect.Left, be->ClRect.Top, be->ClRect.Right + dw, be->ClRect.Bottom + dh}, &bb, bp, sr,
                        s, s, true, be->LeftStretch, be->TopStretch, be->RightStretch, be->BottomStretch,
                        be->StretchEffect, be->StretchType);
        DrawCloseImage(bb.Canvas(), s / 2 - 5, s / 2 - 5, static_cast<TColor>(col));
        button = {Rct.Left, Rct.Top + Rct.Height() / 2 - s / 2, Rct.Left + s, Rct.Top + Rct.Height() / 2 - s / 2 + s};
        C->Draw(button.Left, button.Top, &bb);
    } else {
        const TRect act = OrElse(e->CloseButtonActiveRect, e->CloseButtonRect);
        TRect sr = e->CloseButtonRect;
        if (Page->CloseMouseIn && Page->CloseMouseDown)
            sr = OrElse(e->CloseButtonDownRect, act);
        else if (Page->CloseMouseIn)
            sr = act;
        if (!RectInPicture(sr, pic))
            return;
        button = {Rct.Left, Rct.Top + Rct.Height() / 2 - sr.Height() / 2, Rct.Left + sr.Width(),
                  Rct.Top + Rct.Height() / 2 - sr.Height() / 2 + sr.Height()};
        if (e->ButtonTransparent) {
            TransparentBlt(C->Handle(), button.Left, button.Top, sr.Width(), sr.Height(), pic->Canvas()->Handle(),
                           sr.Left, sr.Top, sr.Width(), sr.Height(),
                           ColorToRGB(static_cast<TColor>(e->ButtonTransparentColor)));
        } else {
            C->CopyRect(button, pic->Canvas(), sr);
        }
    }
    Page->CloseRect = button;
}

void TbsSkinPageControl::PaintControl(TCanvas* C) {
    if (Width() < 1 || Height() < 1)
        return;
    if (VisibleTabCount() == 0) {
        DrawEmptyBackground(C);
        return;
    }
    const TRect pageR = PageArea();
    DrawFrame(C, pageR);
    DrawTabs(C, pageR);
}

void TbsSkinPageControl::PaintTo(HDC DC, int X, int Y) {
    if (Width() < 1 || Height() < 1)
        return;
    TBitmap b(Width(), Height(), pf32bit);
    PaintControl(b.Canvas());
    if (auto* page = dynamic_cast<TbsSkinCustomTabSheet*>(ActivePage()); page && page->Visible()) {
        TSaveDCGuard saved(b.Canvas()->Handle());
        SetViewportOrgEx(b.Canvas()->Handle(), page->Left(), page->Top(), nullptr);
        IntersectClipRect(b.Canvas()->Handle(), 0, 0, page->Width(), page->Height());
        page->PaintBG(b.Canvas()->Handle());
    }
    if (FUpDown && FUpDown->Visible())
        FUpDown->PaintTo(b.Canvas()->Handle(), FUpDown->Left(), FUpDown->Top());
    BitBlt(DC, X, Y, Width(), Height(), b.Canvas()->Handle(), 0, 0, SRCCOPY);
}

// ---- Input ----------------------------------------------------------------------------------------------------------
void TbsSkinPageControl::TestActive(int X, int Y) {
    if (FTabsHidden)
        return;
    int hot = -1;
    const int n = VisibleTabCount();
    for (int i = 0; i < n && hot < 0; ++i)
        if (GetTabRect(i).Contains({X, Y}))
            hot = i;
    TTabSheet* active = ActivePage();
    const int activeTab = active ? active->TabIndex() : -1;
    if (hot != FActiveTab) {
        if (auto* old = dynamic_cast<TbsSkinCustomTabSheet*>(PageOfVisibleTab(FActiveTab)); old && FActiveTab != activeTab) {
            old->CloseMouseIn = false;
            old->CloseMouseDown = false;
        }
        FActiveTab = hot;
        FActiveTabIndex = hot >= 0 && PageOfVisibleTab(hot) ? PageOfVisibleTab(hot)->PageIndex() : -1;
        Invalidate();
    }
    if (FShowCloseButtons && hot >= 0) {
        if (auto* p = dynamic_cast<TbsSkinCustomTabSheet*>(PageOfVisibleTab(hot))) {
            TRect cr = p->CloseRect;
            const TRect tr = GetTabRect(hot);
            cr.Offset(tr.Left, tr.Top);
            const bool in = !p->CloseRect.IsEmpty() && cr.Contains({X, Y});
            if (in != p->CloseMouseIn) {
                p->CloseMouseIn = in;
                Invalidate();
            }
        }
    }
}

void TbsSkinPageControl::CloseActivePage() {
    TTabSheet* page = ActivePage();
    if (!page)
        return;
    bool canClose = true;
    if (OnClose)
        OnClose(page, canClose);
    auto* sp = dynamic_cast<TbsSkinCustomTabSheet*>(page);
    if (!canClose) {
        POINT pt;
        GetCursorPos(&pt);
        if (sp && WindowFromPoint(pt) != Handle()) {
            sp->CloseMouseIn = false;
            sp->CloseMouseDown = false;
            Invalidate();
        }
        return;
    }
    // Another visible page takes over: the next one, else the one before.
    const int idx = page->PageIndex();
    TTabSheet* next = nullptr;
    for (int i = idx + 1; i < PageCount() && !next; ++i)
        if (Pages(i)->TabVisible())
            next = Pages(i);
    for (int i = idx - 1; i >= 0 && !next; --i)
        if (Pages(i)->TabVisible())
            next = Pages(i);
    page->SetTabVisible(false);
    if (sp) {
        sp->CloseMouseIn = false;
        sp->CloseMouseDown = false;
    }
    SetActivePage(next);
    FActiveTab = -1;
    FActiveTabIndex = -1;
    if (FreeOnClose)
        delete page;
    Change();
    if (OnAfterClose)
        OnAfterClose(this);
}

void TbsSkinPageControl::Change() {
    TPageControl::Change();
    if (FUpDown) {
        std::vector<TRect> rects;
        for (int i = 0; i < VisibleTabCount(); ++i)
            rects.push_back(TabRect(i));
        FInScrollerChange = true;
        FUpDown->SetPosition(TabsScrolledOff(rects));
        FInScrollerChange = false;
    }
    Invalidate();
    if (ActivePage())
        ActivePage()->Invalidate();
}

void TbsSkinPageControl::WndProc(TMessage& Message) {
    const int offset = ItemOffset();
    switch (Message.Msg) {
        case WM_SKINPAGE_QUERY:
            Message.Result = SKINPAGE_QUERY_ANSWER;
            return;
        case WM_CHECKPARENTBG:
            if (FTabsBGTransparent)
                Invalidate();
            return;
        case WM_ERASEBKGND:
            if (VisibleTabCount() > 0) {
                Message.Result = 1;
                return;
            }
            if (TabEntry()) {
                TCanvas c;
                c.SetHandle(reinterpret_cast<HDC>(Message.WParam));
                DrawEmptyBackground(&c);
                c.SetHandle(nullptr);
                Message.Result = 1;
                return;
            }
            break;
        case WM_PAINT: {
            if (Message.WParam) {
                TCanvas c;
                c.SetHandle(reinterpret_cast<HDC>(Message.WParam));
                PaintControl(&c);
                c.SetHandle(nullptr);
                return;
            }
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(Handle(), &ps);
            if (Width() > 0 && Height() > 0) {
                TBitmap b(Width(), Height(), pf32bit);
                PaintControl(b.Canvas());
                BitBlt(dc, 0, 0, Width(), Height(), b.Canvas()->Handle(), 0, 0, SRCCOPY);
            }
            EndPaint(Handle(), &ps);
            Message.Result = 0;
            return;
        }
        case WM_SIZE:
            TPageControl::WndProc(Message);
            TestScroll();
            Invalidate();
            return;
        case WM_HSCROLL:
            TPageControl::WndProc(Message);
            Invalidate();
            return;
        case TCM_SETCURSEL:
            TPageControl::WndProc(Message);
            Invalidate();
            return;
        case TCM_INSERTITEMW:
        case TCM_DELETEITEM:
        case TCM_SETITEMSIZE:
            // The row changed: it may overflow now, or fit.
            TPageControl::WndProc(Message);
            TestScroll();
            return;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            TPageControl::WndProc(Message);
            Invalidate();
            return;
        case WM_MOUSEWHEEL:
            if (MouseWheelSupport && Focused()) {
                std::vector<bool> vis;
                for (int i = 0; i < PageCount(); ++i)
                    vis.push_back(Pages(i)->TabVisible());
                const int t = WheelTarget(vis, ActivePageIndex(), GET_WHEEL_DELTA_WPARAM(Message.WParam) < 0);
                if (t >= 0 && CanChange()) {
                    SetActivePageIndex(t);
                    Change();
                }
                Message.Result = 0;
                return;
            }
            break;
        case WM_MOUSELEAVE:
        case CM_MOUSELEAVE:
            TPageControl::WndProc(Message);
            TestActive(-1, -1);
            return;
        case WM_MOUSEMOVE:
            if (FTabsHidden) {
                Message.Result = 0;
                return;
            }
            TPageControl::WndProc(Message);
            TestActive(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
            return;
        case TCM_HITTEST:
            if (offset && Message.LParam)
                reinterpret_cast<TCHITTESTINFO*>(Message.LParam)->pt.x -= offset;
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK: {
            if (FTabsHidden) {
                Message.Result = 0;
                return;
            }
            const int x = GET_X_LPARAM(Message.LParam), y = GET_Y_LPARAM(Message.LParam);
            if (offset)
                Message.LParam = MAKELPARAM(x - offset, y);
            else if (Message.Msg != WM_LBUTTONDBLCLK)
                TestActive(x, y);
            auto* hot = dynamic_cast<TbsSkinCustomTabSheet*>(PageOfVisibleTab(FActiveTab));
            TRect cr;
            if (hot) {
                cr = hot->CloseRect;
                const TRect tr = GetTabRect(FActiveTab);
                cr.Offset(tr.Left, tr.Top);
            }
            const bool inClose = FShowCloseButtons && hot && !hot->CloseRect.IsEmpty() && cr.Contains({x, y});
            TPageControl::WndProc(Message);
            if (Message.Msg == WM_LBUTTONDOWN && inClose) {
                hot->CloseMouseIn = true;
                hot->CloseMouseDown = true;
                Invalidate();
            } else if (Message.Msg == WM_LBUTTONUP && hot) {
                const bool wasDown = hot->CloseMouseDown;
                hot->CloseMouseDown = false;
                hot->CloseMouseIn = inClose;
                Invalidate();
                if (inClose && wasDown)
                    CloseActivePage();
            }
            return;
        }
        default:
            break;
    }
    TPageControl::WndProc(Message);
}
