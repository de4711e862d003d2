#include "skin/views/SkinListView.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "base/Report.h"
#include "skin/controls/ControlSkinning.h"
#include "skin/controls/SkinScrollBar.h"
#include "skin/core/GlyphPainters.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinText.h"
#include "skin/core/SkinUtils.h"
#include "skin/views/ViewBars.h"

namespace {

constexpr UINT_PTR kHeaderSubclassId = 0x4C56;  // one subclass of ours per header
constexpr int kHeaderExtraWidth = 25;           // the header reaches past the view's right edge

TbsViewKind KindOf(TViewStyle Style) {
    switch (Style) {
        case vsIcon:
            return TbsViewKind::Icon;
        case vsSmallIcon:
            return TbsViewKind::SmallIcon;
        case vsList:
            return TbsViewKind::List;
        default:
            return TbsViewKind::Report;
    }
}

TRect ToRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

// The list-box entry that draws selected items, nullptr when absent, of another kind or without its picture.
TbsDataSkinListBox* ItemEntryOf(TbsSkinData* Data, const std::wstring& Name, TBitmap*& Picture) {
    auto* e = dynamic_cast<TbsDataSkinListBox*>(SkinEntryAt(Data, LookupSkinEntry(Data, Name)));
    Picture = e ? SkinPictureAt(Data, e->PictureIndex) : nullptr;
    if (!e || !RectInPicture(e->ActiveItemRect, Picture))
        return nullptr;
    return e;
}

}  // namespace

struct TbsSkinCustomListView::TItemGeometry {
    TRect Bounds, Label, Icon, Sel, TextRect;
    std::wstring Caption;
    bool WrapCentre = false;
    TCustomImageList* Images = nullptr;
    HIMAGELIST Third = nullptr;
    int ThirdW = 0, ThirdH = 0, ThirdCount = 0;
};

TbsSkinCustomListView::TbsSkinCustomListView(TComponent* AOwner)
    : TCustomListView(AOwner),
      FLineColor(clBtnFace),
      FDefaultFont(std::make_unique<TFont>()),
      FDefaultColor(clWindow),
      FSkinColor(clWindow),
      FSkinAlternateColor(clWindow) {
    FDefaultFont->SetName(L"Tahoma");
    FDefaultFont->SetHeight(13);
    FDefaultFont->SetStyle({});
    Font()->Assign(FDefaultFont.get());
}

TbsSkinCustomListView::~TbsSkinCustomListView() {
    ReleaseHeader();
}

// ---- Skin -----------------------------------------------------------------------------------------------------------

void TbsSkinCustomListView::SetSkinData(TbsSkinData* Value) {
    SetBorrowed(this, FSD, Value);
    if (FSD && !FSD->Empty)
        ChangeSkinData();
}

void TbsSkinCustomListView::ChangeSkinData() {
    if (ComponentState().Contains(csLoading))
        return;
    FIndex = LookupSkinEntry(FSD, FSkinDataName);
    FLineColor = clBtnFace;
    if (FIndex == -1) {
        SetColor(FDefaultColor);
        Font()->Assign(FDefaultFont.get());
        FSkinColor = FDefaultColor;
    } else if (auto* e = dynamic_cast<TbsDataSkinListView*>(SkinEntryAt(FSD, FIndex))) {
        ApplyEntryFont(Font(), FDefaultFont.get(), FUseSkinFont, e->FontName, e->FontStyle, e->FontHeight,
                       e->FontColor);
        SetColor(TColor(e->BGColor));
        FSkinColor = TColor(e->BGColor);
        FLineColor = TColor(ListGridColorOf(ColorToRGB(TColor(e->FontColor)) & 0xFFFFFF,
                                            ColorToRGB(TColor(e->BGColor)) & 0xFFFFFF));
    }
    FSkinAlternateColor = GetAlternateColor(FSkinColor);
    Font()->SetCharset(SkinFontCharset(FSD, FDefaultFont->Charset()));
    UpDateScrollBars();
    for (TbsSkinScrollBar* bar : {FVScrollBar, FHScrollBar})
        if (bar)
            bar->SetAlign(bar->Align());
    if (ViewStyle() == vsReport)
        InvalidateHeader(true);
}

void TbsSkinCustomListView::SetDefaultFont(TFont* Value) {
    FDefaultFont->Assign(Value);
    if (FIndex == -1)
        Font()->Assign(Value);
}

void TbsSkinCustomListView::SetDefaultColor(TColor Value) {
    FDefaultColor = Value;
    if (FIndex == -1)
        SetColor(Value);
}

void TbsSkinCustomListView::SetAlternateRow(bool Value) {
    if (FAlternateRow == Value)
        return;
    FAlternateRow = Value;
    if (FDrawSkin)
        Invalidate();
}

void TbsSkinCustomListView::SetDrawSkin(bool Value) {
    FDrawSkin = Value;
    if (Value) {
        OnAdvancedCustomDrawItem = [this](TCustomListView* Sender, TListItem* Item, TCustomDrawState State,
                                          TCustomDrawStage Stage, bool& DefaultDraw) {
            NewAdvancedDrawItem(Sender, Item, State, Stage, DefaultDraw);
        };
        SetFullDrag(false);
    } else {
        // Whatever handler is installed goes, the application's too.
        OnAdvancedCustomDrawItem = nullptr;
    }
    if (HandleAllocated())
        Invalidate();
}

void TbsSkinCustomListView::Loaded() {
    {
        TbsFlagScope guard(FInCheckScrollBars);
        TCustomListView::Loaded();
    }
    ChangeSkinData();
}

void TbsSkinCustomListView::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomListView::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FSD)
        FSD = nullptr;
    if (AComponent == FVScrollBar)
        FVScrollBar = nullptr;
    if (AComponent == FHScrollBar)
        FHScrollBar = nullptr;
}

// ---- Window ---------------------------------------------------------------------------------------------------------

void TbsSkinCustomListView::CreateParams(TCreateParams& Params) {
    TCustomListView::CreateParams(Params);
    Params.Style &= ~static_cast<DWORD>(WS_HSCROLL | WS_VSCROLL);
}

void TbsSkinCustomListView::CreateWnd() {
    TCustomListView::CreateWnd();
    CheckHeaderSubclass();
}

void TbsSkinCustomListView::DestroyWnd() {
    ReleaseHeader();
    TCustomListView::DestroyWnd();
}

void TbsSkinCustomListView::Change() {
    if (!FInCheckScrollBars)
        UpDateScrollBars();
}

void TbsSkinCustomListView::InvalidateHeader(bool Erase) {
    if (FHeaderHandle)
        InvalidateRect(FHeaderHandle, nullptr, Erase ? TRUE : FALSE);
}

void TbsSkinCustomListView::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case WM_NCCALCSIZE:  // no non-client area: the native bars and the border get no room
        case WM_NCPAINT:
            Message.Result = 0;
            return;
        case WM_NCHITTEST:
            Message.Result = HTCLIENT;
            return;
        case CM_SENCPAINT: {
            if (HDC dc = reinterpret_cast<HDC>(Message.WParam)) {
                TCanvas c;
                c.SetHandle(dc);
                c.Brush()->SetColor(Color());
                c.FillRect({0, 0, Width(), Height()});
                c.SetHandle(nullptr);
            }
            Message.Result = 0x3233;
            return;
        }
        case CM_SEPAINT:
            if (FHeaderHandle && Message.WParam)
                PaintHeader(reinterpret_cast<HDC>(Message.WParam));
            Message.Result = 0;
            return;
        case CM_VISIBLECHANGED:
            TCustomListView::WndProc(Message);
            for (TbsSkinScrollBar* bar : {FVScrollBar, FHScrollBar})
                if (bar)
                    bar->SetVisible(Visible());
            return;
        case WM_PARENTNOTIFY:
            if (LOWORD(Message.WParam) == WM_CREATE && ShowColumnHeaders()) {
                const HWND child = reinterpret_cast<HWND>(Message.LParam);
                wchar_t name[81] = {};
                GetClassNameW(child, name, 81);
                if (lstrcmpW(name, WC_HEADERW) == 0)
                    SubclassHeader(child);
            }
            break;
        default:
            break;
    }
    TCustomListView::WndProc(Message);
    switch (Message.Msg) {
        case WM_SIZE:
            if (!FInCheckScrollBars && Items()->Count() > 0)
                UpDateScrollBars();
            if (ViewStyle() == vsReport)
                InvalidateHeader(false);
            break;
        case WM_PAINT:
            if (ViewStyle() == vsReport && !FHeaderHandle)
                CheckHeaderSubclass();
            if (!FInCheckScrollBars)
                UpDateScrollBars();
            if (ViewStyle() == vsReport && FHeaderHandle && (GridLines() || FDrawSkin) && HandleAllocated()) {
                RECT hr;
                GetWindowRect(FHeaderHandle, &hr);
                const int h = hr.bottom - hr.top;
                if (HDC dc = GetDC(Handle())) {
                    TCanvas c;
                    c.SetHandle(dc);
                    c.Brush()->SetColor(Color());
                    c.FillRect({0, h, Width(), h + 1});
                    c.SetHandle(nullptr);
                    ReleaseDC(Handle(), dc);
                }
            }
            break;
        case WM_KEYDOWN:
        case WM_LBUTTONUP:
            UpDateScrollBars();
            break;
        case CN_NOTIFY:
            if (reinterpret_cast<NMHDR*>(Message.LParam)->code == LVN_ITEMCHANGED)
                Change();
            break;
        default:
            break;
    }
}

// ---- Header ---------------------------------------------------------------------------------------------------------

void TbsSkinCustomListView::SubclassHeader(HWND Header) {
    if (!Header || Header == FHeaderHandle)
        return;
    ReleaseHeader();
    if (SetWindowSubclass(Header, HeaderSubclassProc, kHeaderSubclassId, reinterpret_cast<DWORD_PTR>(this)))
        FHeaderHandle = Header;
}

void TbsSkinCustomListView::ReleaseHeader() {
    if (!FHeaderHandle)
        return;
    if (IsWindow(FHeaderHandle))
        RemoveWindowSubclass(FHeaderHandle, HeaderSubclassProc, kHeaderSubclassId);
    FHeaderHandle = nullptr;
    FActiveSection = -1;
    FHeaderDown = FDevDown = false;
}

// A header the system made without telling us (created before we could listen) is taken over here.
void TbsSkinCustomListView::CheckHeaderSubclass() {
    if (!HandleAllocated() || !ShowColumnHeaders())
        return;
    const HWND header = reinterpret_cast<HWND>(SendMessageW(Handle(), LVM_GETHEADER, 0, 0));
    if (header && header != FHeaderHandle)
        SubclassHeader(header);
}

LRESULT CALLBACK TbsSkinCustomListView::HeaderSubclassProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam,
                                                           UINT_PTR, DWORD_PTR RefData) {
    auto* self = reinterpret_cast<TbsSkinCustomListView*>(RefData);
    if (Msg == WM_NCDESTROY) {
        RemoveWindowSubclass(Wnd, HeaderSubclassProc, kHeaderSubclassId);
        if (self->FHeaderHandle == Wnd) {
            self->FHeaderHandle = nullptr;
            self->FActiveSection = -1;
            self->FHeaderDown = self->FDevDown = false;
        }
        return DefSubclassProc(Wnd, Msg, WParam, LParam);
    }
    try {
        return self->HeaderWndProc(Wnd, Msg, WParam, LParam);
    } catch (...) {
        ReportCaught("list view header");
        return DefSubclassProc(Wnd, Msg, WParam, LParam);
    }
}

LRESULT TbsSkinCustomListView::HeaderWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    switch (Msg) {
        case WM_WINDOWPOSCHANGING: {
            auto* wp = reinterpret_cast<WINDOWPOS*>(LParam);
            if (!(wp->flags & SWP_NOSIZE))
                wp->cx += kHeaderExtraWidth;
            return 0;
        }
        case WM_PAINT:
            PaintHeader(reinterpret_cast<HDC>(WParam));
            return 0;
        case WM_ERASEBKGND:
            return 1;
        default:
            break;
    }
    const LRESULT result = DefSubclassProc(Wnd, Msg, WParam, LParam);
    switch (Msg) {
        case WM_LBUTTONDOWN: {
            const POINT pt{static_cast<short>(LOWORD(LParam)), static_cast<short>(HIWORD(LParam))};
            FActiveSection = -1;
            const int count = static_cast<int>(SendMessageW(Wnd, HDM_GETITEMCOUNT, 0, 0));
            std::vector<int> order(static_cast<size_t>(std::max(count, 0)));
            if (count > 0)
                SendMessageW(Wnd, HDM_GETORDERARRAY, static_cast<WPARAM>(count),
                             reinterpret_cast<LPARAM>(order.data()));
            for (int item : order) {
                RECT r{};
                SendMessageW(Wnd, HDM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&r));
                if (PtInRect(&r, pt)) {
                    FActiveSection = item;
                    break;
                }
            }
            HDHITTESTINFO hit{};
            hit.pt = pt;
            SendMessageW(Wnd, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
            FDevDown = hit.flags == HHT_ONDIVIDER;
            FHeaderDown = !FDevDown;
            InvalidateRect(Wnd, nullptr, FALSE);
            break;
        }
        case WM_LBUTTONUP:
            FHeaderDown = FDevDown = false;
            FActiveSection = -1;
            InvalidateRect(Wnd, nullptr, FALSE);
            break;
        case WM_MOUSEMOVE:
            if (FDevDown)
                InvalidateRect(Wnd, nullptr, FALSE);
            break;
        default:
            break;
    }
    return result;
}

TRect TbsSkinCustomListView::GetHeaderSectionRect(int Index) {
    RECT r{};
    SendMessageW(FHeaderHandle, HDM_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&r));
    return ToRect(r);
}

void TbsSkinCustomListView::HGetSkinData() {
    FHIndex = LookupSkinEntry(FSD, FHeaderSkinDataName);
    if (FHIndex == -1)
        FHIndex = LookupSkinEntry(FSD, L"resizetoolbutton");
    if (FHIndex == -1)
        return;
    auto* e = dynamic_cast<TbsDataSkinButtonControl*>(SkinEntryAt(FSD, FHIndex));
    HPicture = e ? SkinPictureAt(FSD, e->PictureIndex) : nullptr;
    // An entry of another kind, or one whose picture is missing, draws the built-in look.
    if (!e || !RectInPicture(e->SkinRect, HPicture)) {
        FHIndex = -1;
        HPicture = nullptr;
        return;
    }
    HLTPt = e->LTPoint;
    HRTPt = e->RTPoint;
    HLBPt = e->LBPoint;
    HRBPt = e->RBPoint;
    HSkinRect = e->SkinRect;
    HClRect = e->ClRect;
    HFontColor = TColor(e->FontColor);
    HDownFontColor = TColor(e->DownFontColor);
    HDownSkinRect = !e->DownSkinRect.IsEmpty() ? e->DownSkinRect : !e->ActiveSkinRect.IsEmpty() ? e->ActiveSkinRect
                                                                                                  : e->SkinRect;
    if (!RectInPicture(HDownSkinRect, HPicture))
        HDownSkinRect = HSkinRect;
    HStretchEffect = e->StretchEffect;
    HLeftStretch = e->LeftStretch;
    HTopStretch = e->TopStretch;
    HRightStretch = e->RightStretch;
    HBottomStretch = e->BottomStretch;
    HStretchType = e->StretchType;
}

void TbsSkinCustomListView::PaintHeader(HDC DC) {
    if (!FHeaderHandle || FHeaderPainting)
        return;
    TbsFlagScope painting(FHeaderPainting);
    PAINTSTRUCT ps{};
    HDC dc = DC;
    const bool own = dc == nullptr;  // only a context we took ourselves is given back
    if (own)
        dc = BeginPaint(FHeaderHandle, &ps);
    if (!dc)
        return;
    {
        TCanvas canvas;
        canvas.SetHandle(dc);
        const int count = static_cast<int>(SendMessageW(FHeaderHandle, HDM_GETITEMCOUNT, 0, 0));
        int right = 0;
        for (int i = 0; i < count; ++i) {
            const TRect r = GetHeaderSectionRect(i);
            TListColumn* column = i < Columns()->Count() ? Columns()->Items(i) : nullptr;
            DrawHeaderSection(&canvas, column, i == FActiveSection && FHeaderDown, r);
            right = std::max(right, r.Right);
        }
        RECT client{};
        GetClientRect(FHeaderHandle, &client);
        const TRect rest{right, 0, client.right + 1, client.bottom};
        if (!rest.IsEmpty())
            DrawHeaderRest(&canvas, rest);
        canvas.SetHandle(nullptr);
    }
    if (own)
        EndPaint(FHeaderHandle, &ps);
}

void TbsSkinCustomListView::DrawHeaderRest(TCanvas* Cnvs, const TRect& R) {
    HGetSkinData();
    if (FHIndex == -1) {
        Cnvs->Brush()->SetStyle(bsSolid);
        Cnvs->Brush()->SetColor(clBtnFace);
        Cnvs->FillRect(R);
        Cnvs->Brush()->SetColor(clBtnShadow);
        Cnvs->FrameRect(R);
        return;
    }
    TBitmap b(R.Width(), R.Height());
    if ((HLBPt.X != 0 || HLBPt.Y != 0)) {
        const int dW = R.Width() - HSkinRect.Width(), dH = R.Height() - HSkinRect.Height();
        CreateSkinImage2(HLTPt, HRTPt, HLBPt, HRBPt, HClRect, HLTPt, {HRTPt.X + dW, HRTPt.Y},
                         {HLBPt.X, HLBPt.Y + dH}, {HRBPt.X + dW, HRBPt.Y + dH},
                         {HClRect.Left, HClRect.Top, HClRect.Right + dW, HClRect.Bottom + dH}, &b, HPicture,
                         HSkinRect, R.Width(), R.Height(), true, HLeftStretch, HTopStretch, HRightStretch,
                         HBottomStretch, HStretchEffect, HStretchType);
    } else {
        TBitmap work(R.Width(), HSkinRect.Height());
        CreateHSkinImage2(HLTPt.X, HSkinRect.Width() - HRTPt.X, &work, HPicture, HSkinRect, R.Width(),
                          HSkinRect.Height(), HStretchEffect);
        b.Canvas()->StretchDraw({0, 0, R.Width(), R.Height()}, &work);
    }
    Cnvs->Draw(R.Left, R.Top, &b);
}

void TbsSkinCustomListView::DrawHeaderSection(TCanvas* Cnvs, TListColumn* Column, bool Pressed, const TRect& R) {
    if (R.Width() <= 0 || R.Height() <= 0)
        return;
    TBitmap b(R.Width(), R.Height());
    TCanvas* c = b.Canvas();
    TRect B{0, 0, R.Width(), R.Height()};
    HGetSkinData();
    c->SetFont(Font());
    if (FHIndex == -1) {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(Pressed ? TColor(0xB76B3B) : clBtnShadow);
        c->FrameRect(B);
        B.Inflate(-1, -1);
        c->Brush()->SetColor(Pressed ? TColor(0xE4BCA2) : clBtnFace);
        c->FillRect(B);
        c->Font()->SetColor(clBtnText);
    } else {
        c->Font()->SetColor(Pressed ? HDownFontColor : HFontColor);
        const TRect& S = Pressed ? HDownSkinRect : HSkinRect;
        const int w = R.Width(), h = R.Height();
        if ((HLBPt.X != 0 || HLBPt.Y != 0)) {
            const int dW = w - HSkinRect.Width(), dH = h - HSkinRect.Height();
            CreateSkinImage(HLTPt, HRTPt, HLBPt, HRBPt, HClRect, HLTPt, {HRTPt.X + dW, HRTPt.Y},
                            {HLBPt.X, HLBPt.Y + dH}, {HRBPt.X + dW, HRBPt.Y + dH},
                            {HClRect.Left, HClRect.Top, HClRect.Right + dW, HClRect.Bottom + dH}, &b, HPicture, S, w,
                            h, true, HLeftStretch, HTopStretch, HRightStretch, HBottomStretch, HStretchEffect,
                            HStretchType);
        } else {
            TBitmap work(w, HSkinRect.Height());
            CreateHSkinImage(HLTPt.X, S.Width() - HRTPt.X, &work, HPicture, S, w, HSkinRect.Height(),
                             HStretchEffect);
            c->StretchDraw({0, 0, w, h}, &work);
        }
        B = {0, 0, w, h};
    }
    if (OnDrawHeaderSection) {
        OnDrawHeaderSection(c, Column, Pressed, {0, 0, R.Width(), R.Height()});
    } else if (Column) {
        c->Brush()->SetStyle(bsClear);
        const TRect box = HeaderContentBox(B);
        TCustomImageList* images = SmallImages();
        const bool hasImage = images && Column->ImageIndex() >= 0 && Column->ImageIndex() < images->Count();
        const int iw = hasImage ? images->Width() : 0, ih = hasImage ? images->Height() : 0;
        std::wstring text = Column->Caption();
        CorrectTextbyWidth(c, text, HeaderTextRoom(box, hasImage, iw));
        const bool shortened = text != Column->Caption();
        const TbsHeaderContent at = LayoutHeaderContent(box, Column->Alignment(), c->TextWidth(text),
                                                        c->TextHeight(text), c->Font()->Height(), hasImage, iw, ih,
                                                        shortened);
        if (hasImage)
            images->Draw(c, at.ImageX, at.ImageY, Column->ImageIndex(), true);
        c->TextRect(box, at.TextX, at.TextY, text);
    }
    Cnvs->Draw(R.Left, R.Top, &b);
}

// ---- Scroll bars ----------------------------------------------------------------------------------------------------

void TbsSkinCustomListView::SetVScrollBar(TbsSkinScrollBar* Value) {
    BindViewBar(this, FVScrollBar, Value, [this] { OnVScrollBarChange(); });
    UpDateScrollBars();
}

void TbsSkinCustomListView::SetHScrollBar(TbsSkinScrollBar* Value) {
    BindViewBar(this, FHScrollBar, Value, [this] { OnHScrollBarChange(); });
    UpDateScrollBars();
}

int TbsSkinCustomListView::Item0Height() {
    if (!HandleAllocated() || Items()->Count() == 0)
        return 0;  // no item 0: its height counts as 0
    RECT r{};
    r.left = LVIR_BOUNDS;
    if (!SendMessageW(Handle(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r)))
        return 0;
    return r.bottom - r.top;
}

int TbsSkinCustomListView::Item0Width() {
    if (!HandleAllocated() || Items()->Count() == 0)
        return 0;
    RECT r{};
    r.left = LVIR_BOUNDS;
    if (!SendMessageW(Handle(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r)))
        return 0;
    return r.right - r.left;
}

void TbsSkinCustomListView::UpDateScrollBars() {
    if (!HandleAllocated() || FromSB || Width() <= 5 || Height() <= 5)
        return;
    switch (ViewStyle()) {
        case vsIcon:
        case vsSmallIcon:
            UpDateScrollBars1();
            break;
        case vsList:
            UpDateScrollBars3();
            break;
        case vsReport:
            UpDateScrollBars2();
            break;
    }
}


void TbsSkinCustomListView::UpDateScrollBars1() {
    if (FInCheckScrollBars)
        return;
    const int step = Item0Height();
    ApplyBarPlans(PlanIconBar(NativeScrollOf(Handle(), SB_VERT), Height(), step, Visible()),
                  PlanIconBar(NativeScrollOf(Handle(), SB_HORZ), Width(), step, Visible()));
}

void TbsSkinCustomListView::UpDateScrollBars2() {
    if (FInCheckScrollBars)
        return;
    const int perPage = static_cast<int>(SendMessageW(Handle(), LVM_GETCOUNTPERPAGE, 0, 0));
    ApplyBarPlans(PlanReportVBar(NativeScrollOf(Handle(), SB_VERT), perPage, Visible()),
                  PlanWidthBar(NativeScrollOf(Handle(), SB_HORZ), Width(), Visible()));
}

void TbsSkinCustomListView::UpDateScrollBars3() {
    if (FInCheckScrollBars)
        return;
    const int perPage = static_cast<int>(SendMessageW(Handle(), LVM_GETCOUNTPERPAGE, 0, 0));
    TbsBarPlan hidden;  // a list-style view never shows its vertical bar
    ApplyBarPlans(hidden, PlanListHBar(NativeScrollOf(Handle(), SB_HORZ), Width(), Item0Width(), perPage,
                                       Items()->Count(), Visible()));
}

void TbsSkinCustomListView::ApplyBarPlans(const TbsBarPlan& V, const TbsBarPlan& H) {
    bool changed = false;
    ApplyBarPlan(FVScrollBar, V, FOldVScrollBarPos, FInCheckScrollBars, changed);
    ApplyBarPlan(FHScrollBar, H, FOldHScrollBarPos, FInCheckScrollBars, changed);
    FinishBars(this, FVScrollBar, FHScrollBar, changed, FInCheckScrollBars);
}

void TbsSkinCustomListView::OnVScrollBarChange() {
    if (!FVScrollBar || !HandleAllocated())
        return;
    TbsFlagScope guard(FromSB);
    if (SendMessageW(Handle(), LVM_GETEDITCONTROL, 0, 0))
        SendMessageW(Handle(), LVM_CANCELEDITLABEL, 0, 0);
    int dy = FVScrollBar->Position() - FOldVScrollBarPos;
    if (ViewStyle() == vsList || ViewStyle() == vsReport)
        dy *= Item0Height();
    Scroll(0, dy);
    FOldVScrollBarPos = FVScrollBar->Position();
}

void TbsSkinCustomListView::OnHScrollBarChange() {
    if (!FHScrollBar || !HandleAllocated())
        return;
    TbsFlagScope guard(FromSB);
    if (SendMessageW(Handle(), LVM_GETEDITCONTROL, 0, 0))
        SendMessageW(Handle(), LVM_CANCELEDITLABEL, 0, 0);
    const int pos = FHScrollBar->Position();
    const int dx = pos - FOldHScrollBarPos;
    if (ViewStyle() == vsList) {
        // One column per step.
        const WPARAM code = dx < 0 ? SB_LINELEFT : SB_LINERIGHT;
        for (int i = 0; i < std::abs(dx); ++i)
            SendMessageW(Handle(), WM_HSCROLL, code, 0);
    } else {
        // The native horizontal range is in pixels in every other style.
        Scroll(dx, 0);
    }
    FOldHScrollBarPos = pos;
}

// ---- Item drawing ---------------------------------------------------------------------------------------------------

void TbsSkinCustomListView::NewAdvancedDrawItem(TCustomListView*, TListItem* Item, TCustomDrawState State,
                                                TCustomDrawStage Stage, bool& DefaultDraw) {
    if (Stage != cdPostPaint)
        return;
    DefaultDraw = false;
    NewDrawItem(Item, State);
}

void TbsSkinCustomListView::NewCustomDrawItem(TCustomListView*, TListItem* Item, TCustomDrawState State,
                                              bool& DefaultDraw) {
    DefaultDraw = false;
    NewDrawItem(Item, State);
}

void TbsSkinCustomListView::NewDrawItem(TListItem* Item, TCustomDrawState State) {
    if (!FSD || FSD->Empty) {
        NewDefaultDrawItem(Item, State);
        return;
    }
    DrawItem(Item, State, true);
}

void TbsSkinCustomListView::NewDefaultDrawItem(TListItem* Item, TCustomDrawState State) {
    DrawItem(Item, State, false);
}

TbsSkinCustomListView::TItemGeometry TbsSkinCustomListView::ItemGeometry(TListItem* Item) {
    TItemGeometry g;
    TCanvas* c = Canvas();
    const TViewStyle style = ViewStyle();
    g.Bounds = Item->DisplayRect(drBounds);
    if (!SmallImages() && !LargeImages()) {
        g.Third = reinterpret_cast<HIMAGELIST>(
            SendMessageW(Handle(), LVM_GETIMAGELIST, style == vsIcon ? LVSIL_NORMAL : LVSIL_SMALL, 0));
        if (g.Third) {
            ImageList_GetIconSize(g.Third, &g.ThirdW, &g.ThirdH);
            g.ThirdCount = ImageList_GetImageCount(g.Third);
        }
    }
    const TRect nativeLabel = Item->DisplayRect(drLabel);
    g.Label = nativeLabel;
    if (style == vsList) {
        TRect calc{0, 0, 0, 0};
        c->DrawText(Item->Caption(), calc, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        g.Label.Right = ListLabelRight(g.Label.Left, calc.Width());
    }
    g.Icon = Item->DisplayRect(drIcon);
    if (style == vsIcon) {
        g.Label.Offset(2, 0);
        g.Images = LargeImages();
    } else {
        g.Images = SmallImages();
    }
    const TRect selectBounds = style == vsIcon ? nativeLabel : Item->DisplayRect(drSelectBounds);
    g.Sel = ItemSelectionRect(KindOf(style), nativeLabel, g.Label, selectBounds, Item->Caption().empty());
    // Whole-row selection reaches the row's end whatever the system reports as its select bounds.
    if (style == vsReport && RowSelect())
        g.Sel.Right = std::max(g.Sel.Right, g.Bounds.Right);
    g.Caption = Item->Caption();
    const int room = style == vsList && Item->Selected() ? g.Label.Width()
                     : style == vsReport                 ? g.Label.Width() - 3
                                                         : g.Label.Width() - 2;
    CorrectTextbyWidth(c, g.Caption, room);
    g.TextRect = g.Label;
    g.TextRect.Left += style == vsReport ? 3 : 2;
    // The list label is exactly as wide as its text plus the 2 it starts in: the text keeps all of it, and its
    // last glyph, which may reach past its advance, is not cut.
    if (style == vsList)
        g.TextRect.Right += 2;
    return g;
}

void TbsSkinCustomListView::DrawItem(TListItem* Item, TCustomDrawState State, bool Skinned) {
    TCanvas* c = Canvas();
    const TViewStyle style = ViewStyle();
    const TRect bounds = Item->DisplayRect(drBounds);
    if (Skinned && (bounds.Width() == 0 || bounds.Height() == 0))
        return;
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(bounds);
    TBitmap* picture = nullptr;
    TbsDataSkinListBox* entry = nullptr;
    if (Skinned) {
        entry = ItemEntryOf(FSD, FItemSkinDataName, picture);
        if (!entry)
            return;  // no item entry: a plain rectangle in Color
    }
    TItemGeometry g = ItemGeometry(Item);
    const bool alternate = FAlternateRow && style == vsReport;
    const TColor rowColor = Skinned ? (Item->Index() % 2 ? FSkinAlternateColor : FSkinColor)
                                    : (Item->Index() % 2 ? GetAlternateColor(Color()) : Color());
    const bool focused = Focused();
    if (Item->Selected() && g.Sel.Width() > 0 && g.Sel.Height() > 0) {
        TBitmap b(g.Sel.Width(), g.Sel.Height());
        TCanvas* bc = b.Canvas();
        bc->SetFont(Font());
        if (Skinned) {
            TRect src = focused && State.Contains(cdsFocused) ? entry->FocusItemRect : entry->ActiveItemRect;
            if (!RectInPicture(src, picture))
                src = entry->ActiveItemRect;
            CreateStretchImage(&b, picture, src, entry->ItemTextRect, true);
            bc->Font()->SetColor(TColor(focused ? entry->FocusFontColor : entry->ActiveFontColor));
        } else {
            bc->Brush()->SetColor(clHighlight);
            bc->FillRect({0, 0, b.Width(), b.Height()});
            if (focused && State.Contains(cdsFocused))
                bc->DrawFocusRect({0, 0, b.Width(), b.Height()});
            bc->Font()->SetColor(clHighlightText);
        }
        bc->Brush()->SetStyle(bsClear);
        TRect text = g.TextRect;
        text.Offset(-g.Sel.Left, -g.Sel.Top);
        BSDrawText(bc, g.Caption, text);
        if (style == vsReport && RowSelect() && Item->SubItems()->Count() > 0)
            DrawSubItems(Item, State, bc, bounds, g.Sel.Left, true, b.Height());
        c->Draw(g.Sel.Left, g.Sel.Top, &b);
        if (alternate) {
            c->Brush()->SetStyle(bsSolid);
            c->Brush()->SetColor(rowColor);
            c->FillRect({g.Sel.Right, g.Sel.Top, Width(), g.Sel.Bottom});
        }
    } else {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(alternate ? rowColor : Color());
        c->FillRect({bounds.Left, bounds.Top, alternate ? Width() : bounds.Right, bounds.Bottom - 1});
        c->Brush()->SetStyle(bsClear);
        c->SetFont(Font());
        BSDrawText(c, g.Caption, g.TextRect);
        if (style == vsReport && Item->SubItems()->Count() > 0 && !(Item->Selected() && RowSelect())) {
            c->Brush()->SetStyle(bsSolid);
            c->Brush()->SetColor(alternate ? rowColor : Color());
            DrawSubItems(Item, State, c, bounds, 0, false, 0);
        }
    }
    TRect icon = g.Icon;
    DrawItemImage(Item, g, icon);
    if (Checkboxes())
        DrawItemCheck(Item, g, icon, Skinned);
    if (FDrawSkinLines && style == vsReport)
        DrawGridLines(Item, bounds);
}

void TbsSkinCustomListView::DrawItemImage(TListItem* Item, const TItemGeometry& G, TRect& Icon) {
    TCanvas* c = Canvas();
    if (OnDrawItemImage) {
        OnDrawItemImage(Item, c, Icon);
        return;
    }
    const bool iconStyle = ViewStyle() == vsIcon;
    const int index = Item->ImageIndex();
    if (G.Third) {
        const int x = iconStyle ? Icon.Left + Icon.Width() / 2 - G.ThirdW / 2 : Icon.Left;
        const int y = iconStyle ? Icon.Top + 2 : Icon.Top;
        if (index >= 0 && index < G.ThirdCount) {
            c->FillRect({x, y, x + G.ThirdW, y + G.ThirdH});
            ImageList_DrawEx(G.Third, index, c->Handle(), x, y, 0, 0, CLR_NONE, CLR_NONE, ILD_NORMAL);
        }
        if (iconStyle && Checkboxes())
            Icon.Left = x;
    } else if (G.Images) {
        const int x = iconStyle ? Icon.Left + Icon.Width() / 2 - G.Images->Width() / 2 : Icon.Left;
        const int y = iconStyle ? Icon.Top + 2 : Icon.Top;
        if (index >= 0 && index < G.Images->Count())
            G.Images->Draw(c, x, y, index, true);
        if (iconStyle && Checkboxes())
            Icon.Left = x;
    }
}

void TbsSkinCustomListView::DrawItemCheck(TListItem* Item, const TItemGeometry& G, const TRect& Icon, bool Skinned) {
    std::unique_ptr<TBitmap> b;
    if (Skinned) {
        auto* e = dynamic_cast<TbsDataSkinCheckRadioControl*>(
            SkinEntryAt(FSD, LookupSkinEntry(FSD, FCheckSkinDataName)));
        TBitmap* picture = e ? SkinPictureAt(FSD, e->PictureIndex) : nullptr;
        if (!e)
            return;
        const TRect& src = Item->Checked() ? e->CheckImageRect : e->UnCheckImageRect;
        if (!RectInPicture(src, picture))
            return;  // a check picture outside the skin's picture counts as absent
        b = std::make_unique<TBitmap>(src.Width(), src.Height());
        b->Canvas()->CopyRect({0, 0, src.Width(), src.Height()}, picture->Canvas(), src);
        b->SetTransparent(true);
    } else {
        b = std::make_unique<TBitmap>(13, 13);
        TCanvas* bc = b->Canvas();
        bc->Brush()->SetColor(clWindow);
        bc->FillRect({0, 0, 13, 13});
        bc->Brush()->SetColor(clBtnShadow);
        bc->FrameRect({0, 0, 13, 13});
        if (Item->Checked())
            DrawCheckImage(bc, 7, 2, clBlack);
    }
    const int w = b->Width(), h = b->Height();
    const int x = Icon.Left - w - 1;
    int y = ViewStyle() == vsIcon ? Icon.Bottom - h - 1 : G.Bounds.Top + Icon.Height() / 2 - h / 2 - 1;
    y = std::max(y, G.Bounds.Top);
    Canvas()->Draw(x, y, b.get());
}

void TbsSkinCustomListView::DrawSubItems(TListItem* Item, TCustomDrawState State, TCanvas* C, const TRect& Bounds,
                                         int ShiftX, bool OnBitmap, int BitmapHeight) {
    int offset = static_cast<int>(SendMessageW(Handle(), LVM_GETCOLUMNWIDTH, 0, 0));
    const int columns = Columns()->Count();
    TStrings* subs = Item->SubItems();
    for (int r = 0; r + 1 < columns && r < subs->Count(); ++r) {
        const int w = static_cast<int>(SendMessageW(Handle(), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(r + 1), 0));
        TRect cell{Bounds.Left + offset, Bounds.Top, Bounds.Left + offset + w, Bounds.Bottom};
        if (OnBitmap) {
            cell.Offset(-ShiftX, 0);
            cell.Top = 0;
            cell.Bottom = BitmapHeight;
        } else {
            C->FillRect(cell);
        }
        cell.Left += 3;
        cell.Right -= 3;
        if (OnDrawSkinSubItem) {
            OnDrawSkinSubItem(this, Item, r, State, C, cell);
        } else {
            TCustomImageList* images = SmallImages();
            const int image = Item->SubItemImages(r);
            if (images && image >= 0 && image < images->Count()) {
                images->Draw(C, cell.Left, cell.Top, image, true);
                cell.Left += images->Width() + 3;
            }
            std::wstring text = subs->Get(r);
            CorrectTextbyWidth(C, text, cell.Width());
            if (OnBitmap && std::abs(C->Font()->Height()) % 2 == 1)
                cell.Offset(0, 1);
            const TBrushStyle brush = C->Brush()->Style();
            C->Brush()->SetStyle(bsClear);
            BSDrawTextAlignment(C, text, cell, Columns()->Items(r + 1)->Alignment());
            C->Brush()->SetStyle(brush);
        }
        offset += w;
    }
}

void TbsSkinCustomListView::DrawGridLines(TListItem* Item, const TRect& Bounds) {
    TCanvas* c = Canvas();
    c->Pen()->SetColor(FLineColor);
    int x = Bounds.Left;
    for (int col = 0; col < Columns()->Count(); ++col) {
        x += static_cast<int>(SendMessageW(Handle(), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(col), 0));
        c->MoveTo(x, Bounds.Top);
        c->LineTo(x, Bounds.Bottom);
    }
    c->MoveTo(Bounds.Left, Bounds.Bottom - 1);
    c->LineTo(Width(), Bounds.Bottom - 1);
    if (Item->Index() == 0) {
        c->MoveTo(Bounds.Left, Bounds.Top - 1);
        c->LineTo(Width(), Bounds.Top - 1);
    }
}
