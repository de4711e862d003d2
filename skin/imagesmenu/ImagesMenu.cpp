// The images menu and its popup window.
#include "skin/imagesmenu/ImagesMenu.h"

#include <windowsx.h>

#include <algorithm>

#include "classlib/Forms.h"
#include "skin/controls/ControlSkinning.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinText.h"
#include "skin/core/SkinUtils.h"
#include "skin/form/SkinHint.h"
#include "skin/form/SkinMenu.h"
#include "skin/imagesmenu/ImagesMenuLayout.h"

namespace {

bool Contains(const TRect& R, int X, int Y) {
    return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
}

void FillFramed(HDC DC, const TRect& R, COLORREF Fill, COLORREF Frame) {
    RECT r{R.Left, R.Top, R.Right, R.Bottom};
    HBRUSH b = CreateSolidBrush(Fill);
    FillRect(DC, &r, b);
    DeleteObject(b);
    HBRUSH f = CreateSolidBrush(Frame);
    FrameRect(DC, &r, f);
    DeleteObject(f);
}

// The messages that end the popup without a pick: those that close a skinned menu, but a left click (the capture
// brings those here), and the system keys.
bool ClosesPopup(UINT Msg) {
    return (CanMenuClose(Msg) && Msg != WM_LBUTTONDOWN) || Msg == WM_SYSKEYDOWN || Msg == WM_SYSCHAR;
}

}  // namespace

void TbsImagesMenuItem::Assign(TPersistent* Source) {
    auto* s = dynamic_cast<TbsImagesMenuItem*>(Source);
    if (!s) {
        TCollectionItem::Assign(Source);
        return;
    }
    ImageIndex = s->ImageIndex;
    Caption = s->Caption;
    Button = s->Button;
    Hint = s->Hint;
}

TbsImagesMenuItems::TbsImagesMenuItems(TbsSkinImagesMenu* AMenu)
    : TOwnedCollection(AMenu, [](TCollection* c) { return new TbsImagesMenuItem(c); }) {}

// ---- The popup window -------------------------------------------------------------------------------------------

TbsSkinImagesMenuPopupWindow::TbsSkinImagesMenuPopupWindow(TbsSkinImagesMenu* AMenu)
    : TCustomControl(nullptr), ImagesMenu(AMenu) {
    SetVisible(false);
}

TbsSkinImagesMenuPopupWindow::~TbsSkinImagesMenuPopupWindow() {
    UnHookApp();
    if (HandleAllocated() && GetCapture() == Handle())
        ReleaseCapture();
}

void TbsSkinImagesMenuPopupWindow::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP;
    Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    Params.WndParent = nullptr;
    Params.WindowClass.style |= CS_SAVEBITS;
    if (CheckWXP())
        Params.WindowClass.style |= CS_DROPSHADOW;
}

void TbsSkinImagesMenuPopupWindow::CreateMenu() {
    TCustomImageList* images = ImagesMenu->Images();
    TbsImagesMenuItems* items = ImagesMenu->ImagesItems();
    std::vector<TbsImagesMenuItemKind> kinds;
    for (int i = 0; i < items->Count(); ++i) {
        const TbsImagesMenuItem* it = items->Items(i);
        kinds.push_back(it->Header ? bsimHeader : it->Button ? bsimButton : bsimCell);
    }
    int headerH = 0;
    TbsSkinData* sd = ImagesMenu->SkinData();
    if (sd && !sd->Empty)
        if (TbsDataSkinControl* label = SkinEntryAt(sd, LookupSkinEntry(sd, L"label")))
            headerH = label->SkinRect.Height();
    const TbsDataSkinPopupWindow* pw = sd && !sd->Empty ? &sd->PopupWindow : nullptr;
    WindowPicture = pw ? SkinPictureAt(sd, pw->WindowPictureIndex) : nullptr;
    MaskPicture = WindowPicture ? SkinPictureAt(sd, pw->MaskPictureIndex) : nullptr;
    // A record whose window picture is missing cannot be sized: the built-in frame then.
    FSkinSupport = WindowPicture != nullptr;
    const TPoint start = FSkinSupport ? TPoint{pw->ItemsRect.Left, pw->ItemsRect.Top} : TPoint{5, 5};
    const TbsImagesMenuLayout l =
        LayoutImagesMenu(kinds, images->Width(), images->Height(), ImagesMenu->ColumnsCount(), start, headerH);
    for (int i = 0; i < items->Count(); ++i)
        items->Items(i)->ItemRect = l.ItemRects[static_cast<std::size_t>(i)];
    if (!FSkinSupport) {
        SetBounds(Left(), Top(), l.ContentWidth + 10, l.ContentHeight + 10);
        return;
    }
    const int pw_ = WindowPicture->Width(), ph = WindowPicture->Height();
    const int W = pw_ + l.ContentWidth - pw->ItemsRect.Width();
    const int H = ph + l.ContentHeight - pw->ItemsRect.Height();
    const TbsPopupFramePoints p = MovePopupFramePoints(*pw, pw_, ph, W, H);
    NewLTPoint = p.LT;
    NewRTPoint = p.RT;
    NewLBPoint = p.LB;
    NewRBPoint = p.RB;
    NewItemsRect = p.Items;
    SetBounds(Left(), Top(), W, H);
    if (MaskPicture)
        SetMenuWindowRegion();
}

void TbsSkinImagesMenuPopupWindow::SetMenuWindowRegion() {
    const TbsDataSkinPopupWindow& pw = ImagesMenu->SkinData()->PopupWindow;
    TGdiRegion rgn;
    CreateSkinRegion(rgn, pw.LTPoint, pw.RTPoint, pw.LBPoint, pw.RBPoint, pw.ItemsRect, NewLTPoint, NewRTPoint,
                     NewLBPoint, NewRBPoint, NewItemsRect, MaskPicture, Width(), Height());
    // The system owns a region once it is set; one it refused is freed here.
    if (rgn && SetWindowRgn(Handle(), rgn.Get(), TRUE))
        (void)rgn.Detach();
}

void TbsSkinImagesMenuPopupWindow::Show(const TRect& PopupRect) {
    // The mask region needs the window.
    HandleNeeded();
    CreateMenu();
    TCustomForm* form = Screen->ActiveForm();
    if (!form && Application->MainForm() && Application->MainForm()->Visible())
        form = Application->MainForm();
    if (!form)
        form = dynamic_cast<TCustomForm*>(ImagesMenu->Owner());
    const TRect area = (form && form->HandleAllocated())
                           ? GetMonitorWorkArea(form->Handle(), true)
                           : GetMonitorWorkAreaFromPoint({PopupRect.Left, PopupRect.Top}, true);
    int x = PopupRect.Left, y = PopupRect.Bottom;
    if (y + Height() > area.Bottom)
        y = PopupRect.Top - Height();
    if (x + Width() > area.Right)
        x = area.Right - Width();
    x = std::max(x, area.Left);
    y = std::max(y, area.Top);
    const bool layered = CheckW2KWXP() && ImagesMenu->AlphaBlend;
    const bool fade = layered && ImagesMenu->AlphaBlendAnimation;
    if (layered) {
        SetWindowLongPtrW(Handle(), GWL_EXSTYLE, GetWindowLongPtrW(Handle(), GWL_EXSTYLE) | WS_EX_LAYERED);
        SetAlphaBlendTransparent(Handle(), fade ? 0 : ImagesMenu->AlphaBlendValue);
    }
    SetWindowPos(Handle(), HWND_TOPMOST, x, y, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
    SetBounds(x, y, Width(), Height());
    SetVisible(true);
    if (fade) {
        Application->ProcessMessages();
        TAlphaFade steps;
        steps.Target = ImagesMenu->AlphaBlendValue;
        steps.Step = 10;
        steps.IntervalMs = 5;
        RunAlphaFade(steps, ImagesMenu->FadeClock,
                     [this](int a) { SetAlphaBlendTransparent(Handle(), static_cast<std::uint8_t>(a)); });
    }
    HookApp();
    SetCapture(Handle());
}

void TbsSkinImagesMenuPopupWindow::Hide(bool AProcessEvents) {
    if (FClosed)
        return;
    FClosed = true;
    HideHint();
    if (HandleAllocated())
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    SetVisible(false);
    UnHookApp();
    if (HandleAllocated() && GetCapture() == Handle())
        ReleaseCapture();
    ImagesMenu->ProcessEvents(AProcessEvents);
}

void TbsSkinImagesMenuPopupWindow::HookApp() {
    if (FHook)
        return;
    FHook = Application->AddOnMessage([this](MSG& Msg, bool& Handled) {
        if (FClosed)
            return;
        if (Msg.message == WM_KEYDOWN) {
            const WPARAM key = Msg.wParam;
            Msg.message = WM_NULL;
            Handled = true;
            ProcessKey(key);
        } else if (Msg.message == WM_MOUSEWHEEL) {
            Msg.message = WM_NULL;
            Handled = true;
        } else if (ClosesPopup(Msg.message)) {
            Hide(false);
        }
    });
}

void TbsSkinImagesMenuPopupWindow::UnHookApp() {
    if (!FHook)
        return;
    Application->RemoveOnMessage(FHook);
    FHook = 0;
}

void TbsSkinImagesMenuPopupWindow::HideHint() {
    if (ImagesMenu->ShowHints && ImagesMenu->SkinHint())
        ImagesMenu->SkinHint()->HideHint();
}

int TbsSkinImagesMenuPopupWindow::GetItemFromPoint(int X, int Y) const {
    TbsImagesMenuItems* items = ImagesMenu->ImagesItems();
    for (int i = 0; i < items->Count(); ++i)
        if (!items->Items(i)->Header && Contains(items->Items(i)->ItemRect, X, Y))
            return i;
    return -1;
}

void TbsSkinImagesMenuPopupWindow::SetHot(int I) {
    if (I == MouseInItem)
        return;
    OldMouseInItem = MouseInItem;
    MouseInItem = I;
    Invalidate();
    if (ImagesMenu->ShowHints && ImagesMenu->SkinHint()) {
        ImagesMenu->SkinHint()->HideHint();
        TbsImagesMenuItems* items = ImagesMenu->ImagesItems();
        if (I >= 0 && I < items->Count() && !items->Items(I)->Hint.empty())
            ImagesMenu->SkinHint()->ActivateHint2(items->Items(I)->Hint);
    }
}

void TbsSkinImagesMenuPopupWindow::TestActive(int X, int Y) {
    const int i = GetItemFromPoint(X, Y);
    if (i == -1)
        HideHint();
    SetHot(i);
}

void TbsSkinImagesMenuPopupWindow::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    TestActive(X, Y);
}

void TbsSkinImagesMenuPopupWindow::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    HideHint();
    FDown = true;
    FItemDown = GetItemFromPoint(X, Y) != -1;
    Invalidate();
}

void TbsSkinImagesMenuPopupWindow::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseUp(Button, Shift, X, Y);
    const bool wasDown = FDown;
    FDown = FItemDown = false;
    const int i = GetItemFromPoint(X, Y);
    if (wasDown && i != -1) {
        ImagesMenu->ItemIndex = i;
        Hide(true);
        return;
    }
    if (HandleAllocated()) {
        ReleaseCapture();
        SetCapture(Handle());
    }
}

void TbsSkinImagesMenuPopupWindow::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case WM_MOUSEACTIVATE:
            Message.Result = MA_NOACTIVATE;
            return;
        case WM_ERASEBKGND:
            Message.Result = 1;
            return;
        case CM_MOUSELEAVE:
            TCustomControl::WndProc(Message);
            HideHint();
            MouseInItem = OldMouseInItem = -1;
            Invalidate();
            return;
        default:
            break;
    }
    TCustomControl::WndProc(Message);
    if ((Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK) && !FClosed && HandleAllocated()) {
        // The capture brings clicks on other windows here: they end the popup.
        POINT p{};
        GetCursorPos(&p);
        if (WindowFromPoint(p) != Handle())
            Hide(false);
    }
}

void TbsSkinImagesMenuPopupWindow::ProcessKey(WPARAM Key) {
    switch (Key) {
        case VK_RETURN:
        case VK_SPACE:
            if (MouseInItem != -1)
                ImagesMenu->ItemIndex = MouseInItem;
            Hide(true);
            break;
        case VK_ESCAPE:
            Hide(false);
            break;
        case VK_LEFT:
            FindLeft();
            break;
        case VK_UP:
            FindUp();
            break;
        case VK_RIGHT:
            FindRight();
            break;
        case VK_DOWN:
            FindDown();
            break;
        default:
            break;
    }
}

void TbsSkinImagesMenuPopupWindow::FindRight() {
    TbsImagesMenuItems* items = ImagesMenu->ImagesItems();
    const int n = items->Count();
    if (n == 0)
        return;
    const int first = (items->Items(0)->Header && n > 1) ? 1 : 0;
    if (MouseInItem == -1 || MouseInItem == n - 1) {
        SetHot(first);
        return;
    }
    for (int i = MouseInItem + 1; i < n; ++i)
        if (!items->Items(i)->Header) {
            SetHot(i);
            return;
        }
}

void TbsSkinImagesMenuPopupWindow::FindLeft() {
    TbsImagesMenuItems* items = ImagesMenu->ImagesItems();
    const int n = items->Count();
    if (n == 0)
        return;
    const int first = (items->Items(0)->Header && n > 1) ? 1 : 0;
    if (MouseInItem == -1 || MouseInItem <= first) {
        SetHot(n - 1);
        return;
    }
    for (int i = MouseInItem - 1; i >= 0; --i)
        if (!items->Items(i)->Header) {
            SetHot(i);
            return;
        }
}

void TbsSkinImagesMenuPopupWindow::FindDown() {
    TbsImagesMenuItems* items = ImagesMenu->ImagesItems();
    const int n = items->Count();
    if (n == 0)
        return;
    if (MouseInItem == -1) {
        SetHot((items->Items(0)->Header && n > 1) ? 1 : 0);
        return;
    }
    const TRect cur = items->Items(MouseInItem)->ItemRect;
    for (int i = MouseInItem + 1; i < n; ++i) {
        const TbsImagesMenuItem* it = items->Items(i);
        if (!it->Header && it->ItemRect.Top > cur.Top && (it->Button || it->ItemRect.Left == cur.Left)) {
            SetHot(i);
            return;
        }
    }
}

void TbsSkinImagesMenuPopupWindow::FindUp() {
    TbsImagesMenuItems* items = ImagesMenu->ImagesItems();
    const int n = items->Count();
    if (n == 0)
        return;
    if (MouseInItem == -1) {
        SetHot(n - 1);
        return;
    }
    const TRect cur = items->Items(MouseInItem)->ItemRect;
    for (int i = MouseInItem - 1; i >= 0; --i) {
        const TbsImagesMenuItem* it = items->Items(i);
        if (!it->Header && it->ItemRect.Top < cur.Top && (it->Button || it->ItemRect.Left == cur.Left)) {
            SetHot(i);
            return;
        }
    }
}

void TbsSkinImagesMenuPopupWindow::DrawActiveItem(TCanvas* C, const TRect& R, bool Pressed) {
    TbsSkinData* sd = ImagesMenu->SkinData();
    if (sd && !sd->Empty) {
        int i = LookupSkinEntry(sd, L"menuitembutton");
        if (i == -1)
            i = LookupSkinEntry(sd, L"resizebutton");
        auto* b = dynamic_cast<TbsDataSkinButtonControl*>(SkinEntryAt(sd, i));
        TBitmap* pic = b ? SkinPictureAt(sd, b->PictureIndex) : nullptr;
        if (b && pic) {
            TRect src = Pressed && !IsNullRect(b->DownSkinRect) ? b->DownSkinRect : b->ActiveSkinRect;
            if (IsNullRect(src))
                src = b->SkinRect;
            if (RectInPicture(src, pic) && R.Width() > 0 && R.Height() > 0) {
                TBitmap img(R.Width(), R.Height());
                CreateStretchImage(&img, pic, src, b->ClRect, true);
                BitBlt(C->Handle(), R.Left, R.Top, R.Width(), R.Height(), img.Canvas()->Handle(), 0, 0, SRCCOPY);
                return;
            }
        }
    }
    FillFramed(C->Handle(), R, Pressed ? RGB(162, 188, 228) : RGB(193, 212, 243), RGB(59, 107, 183));
}

void TbsSkinImagesMenuPopupWindow::DrawItemCaption(TCanvas* C,
                                                   const std::wstring& Text,
                                                   const TRect& R,
                                                   bool Pressed,
                                                   bool Hot) {
    C->Font()->Assign(ImagesMenu->DefaultFont());
    C->Font()->SetColor(clWindowText);
    TbsSkinData* sd = ImagesMenu->SkinData();
    if (sd && !sd->Empty) {
        int i = LookupSkinEntry(sd, L"menuitembutton");
        if (i == -1)
            i = LookupSkinEntry(sd, L"resizebutton");
        if (auto* b = dynamic_cast<TbsDataSkinButtonControl*>(SkinEntryAt(sd, i))) {
            if (ImagesMenu->UseSkinFont) {
                C->Font()->SetName(b->FontName.empty() ? L"Tahoma" : b->FontName);
                C->Font()->SetHeight(b->FontHeight != 0 ? b->FontHeight : 13);
                C->Font()->SetStyle(ToFontStyles(b->FontStyle));
            }
            C->Font()->SetColor(static_cast<TColor>(Pressed ? b->DownFontColor
                                                    : Hot   ? b->ActiveFontColor
                                                            : b->FontColor));
        }
    }
    C->Brush()->SetStyle(bsClear);
    SetBkMode(C->Handle(), TRANSPARENT);
    RECT calc{0, 0, 0, 0};
    DrawTextW(C->Handle(), Text.c_str(), static_cast<int>(Text.size()), &calc, DT_CALCRECT | DT_SINGLELINE);
    RECT r{R.Left, R.Top, R.Right, R.Bottom};
    const UINT align = (calc.right - calc.left) <= R.Width() ? DT_CENTER : DT_LEFT;
    DrawTextW(C->Handle(), Text.c_str(), static_cast<int>(Text.size()), &r, DT_SINGLELINE | DT_VCENTER | align);
}

void TbsSkinImagesMenuPopupWindow::DrawHeader(TCanvas* C, const TRect& R, const std::wstring& Text) {
    TbsSkinData* sd = ImagesMenu->SkinData();
    auto* label = sd && !sd->Empty
                      ? dynamic_cast<TbsDataSkinLabelControl*>(SkinEntryAt(sd, LookupSkinEntry(sd, L"label")))
                      : nullptr;
    TBitmap* pic = label ? SkinPictureAt(sd, label->PictureIndex) : nullptr;
    C->Brush()->SetStyle(bsClear);
    SetBkMode(C->Handle(), TRANSPARENT);
    if (!label || !RectInPicture(label->SkinRect, pic) || R.Width() <= 0) {
        C->Font()->Assign(ImagesMenu->DefaultFont());
        RECT r{R.Left, R.Top, R.Right, R.Bottom};
        DrawTextW(C->Handle(), Text.c_str(), static_cast<int>(Text.size()), &r,
                  DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
        return;
    }
    const TRect& s = label->SkinRect;
    TBitmap hb;
    CreateHSkinImage(label->LTPoint.X, s.Width() - label->RTPoint.X, &hb, pic, s, R.Width(), s.Height(),
                     label->StretchEffect);
    if (hb.Empty())
        return;
    TCanvas* hc = hb.Canvas();
    hc->Font()->SetName(label->FontName.empty() ? L"Tahoma" : label->FontName);
    hc->Font()->SetHeight(label->FontHeight != 0 ? label->FontHeight : 13);
    hc->Font()->SetStyle(ToFontStyles(label->FontStyle));
    hc->Font()->SetColor(static_cast<TColor>(label->FontColor));
    hc->Font()->SetCharset(C->Font()->Charset());
    hc->Brush()->SetStyle(bsClear);
    SetBkMode(hc->Handle(), TRANSPARENT);
    RECT t{label->ClRect.Left, label->ClRect.Top, hb.Width() + label->ClRect.Right - s.Width(), hb.Height()};
    DrawTextW(hc->Handle(), Text.c_str(), static_cast<int>(Text.size()), &t,
              DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
    BitBlt(C->Handle(), R.Left, R.Top, hb.Width(), std::min(hb.Height(), R.Height()), hc->Handle(), 0, 0, SRCCOPY);
}

void TbsSkinImagesMenuPopupWindow::Paint() {
    const int w = Width(), h = Height();
    if (w <= 0 || h <= 0)
        return;
    TBitmap b(w, h);
    TCanvas* c = b.Canvas();
    if (FSkinSupport) {
        const TbsDataSkinPopupWindow& pw = ImagesMenu->SkinData()->PopupWindow;
        const TRect full{0, 0, WindowPicture->Width(), WindowPicture->Height()};
        CreateSkinImageBS(pw.LTPoint, pw.RTPoint, pw.LBPoint, pw.RBPoint, pw.ItemsRect, NewLTPoint, NewRTPoint,
                          NewLBPoint, NewRBPoint, NewItemsRect, &b, WindowPicture, full, w, h, true, pw.LeftStretch,
                          pw.TopStretch, pw.RightStretch, pw.BottomStretch, pw.StretchEffect, pw.StretchType);
        // The picture's client holds a menu's icon column; stretched across the cells it would cut through them, so
        // the cells lie on the client's plain colour (its bottom-right corner, past any column).
        const TRect& ir = pw.ItemsRect;
        const COLORREF plain = GetPixel(WindowPicture->Canvas()->Handle(), ir.Right - 2, ir.Bottom - 2);
        if (plain != CLR_INVALID && !IsNullRect(NewItemsRect)) {
            RECT r{NewItemsRect.Left, NewItemsRect.Top, NewItemsRect.Right, NewItemsRect.Bottom};
            HBRUSH br = CreateSolidBrush(plain & 0xFFFFFF);
            FillRect(c->Handle(), &r, br);
            DeleteObject(br);
        }
    } else {
        FillFramed(c->Handle(), TRect{0, 0, w, h}, ColorToRGB(clWindow), ColorToRGB(clBtnShadow));
    }
    TbsImagesMenuItems* items = ImagesMenu->ImagesItems();
    TCustomImageList* images = ImagesMenu->Images();
    const int selected = ImagesMenu->ShowSelectedItem ? ImagesMenu->ItemIndex : -1;
    for (int i = 0; i < items->Count(); ++i) {
        const TbsImagesMenuItem* it = items->Items(i);
        const TRect& r = it->ItemRect;
        if (it->Header) {
            DrawHeader(c, r, it->Caption);
            continue;
        }
        const bool isSelected = i == selected && !FItemDown;
        const bool hot = i == MouseInItem;
        if (isSelected)
            DrawActiveItem(c, r, true);
        else if (hot)
            DrawActiveItem(c, r, FDown && FItemDown);
        bool drawn = false;
        if (images && it->ImageIndex >= 0 && it->ImageIndex < images->Count()) {
            images->Draw(c, r.Left + 5, r.Top + 5, it->ImageIndex, true);
            drawn = true;
        }
        if (it->Button && !it->Caption.empty()) {
            TRect t = r;
            t.Left += drawn ? images->Width() + 10 : 5;
            DrawItemCaption(c, it->Caption, t, isSelected || (hot && FDown && FItemDown), hot && !isSelected);
        }
    }
    BitBlt(Canvas()->Handle(), 0, 0, w, h, c->Handle(), 0, 0, SRCCOPY);
}

// ---- The menu component -----------------------------------------------------------------------------------------

namespace {

// What a skinned button needs of the menu; the menu's internal events carry the button's side.
class TbsImagesMenuLink : public IbsImagesMenu {
  public:
    explicit TbsImagesMenuLink(TbsSkinImagesMenu* AMenu) : menu_(AMenu) {
        menu_->OnInternalChange = [this](TObject*) {
            if (OnChange)
                OnChange();
        };
        menu_->OnInternalMenuClose = [this](TObject*) {
            if (close_)
                close_();
        };
    }
    bool HasSelectedItem() const override { return menu_->GetSelectedItem() != nullptr; }
    TCustomImageList* SelectedImages() const override { return menu_->Images(); }
    int SelectedImageIndex() const override {
        const TbsImagesMenuItem* it = menu_->GetSelectedItem();
        return it ? it->ImageIndex : -1;
    }
    std::wstring SelectedCaption() const override {
        const TbsImagesMenuItem* it = menu_->GetSelectedItem();
        return it ? it->Caption : std::wstring{};
    }
    void PopupFromRect(const TRect& R, std::function<void()> OnClose) override {
        close_ = std::move(OnClose);
        menu_->PopupFromRect(R);
    }

  private:
    TbsSkinImagesMenu* menu_;
    std::function<void()> close_;
};

}  // namespace

TbsSkinImagesMenu::TbsSkinImagesMenu(TComponent* AOwner) : TComponent(AOwner) {
    FItems = std::make_unique<TbsImagesMenuItems>(this);
    FDefaultFont = std::make_unique<TFont>();
    FDefaultFont->SetName(L"Tahoma");
    FDefaultFont->SetHeight(13);
    FReleaseTimer = std::make_unique<TTimer>(nullptr);
    FReleaseTimer->SetEnabled(false);
    FReleaseTimer->SetInterval(1);
    FReleaseTimer->OnTimer = [this](TObject*) {
        FReleaseTimer->SetEnabled(false);
        FReleased.clear();
    };
    FLink = std::make_unique<TbsImagesMenuLink>(this);
}

TbsSkinImagesMenu::~TbsSkinImagesMenu() {
    FReleaseTimer->SetEnabled(false);
    FPopupWindow.reset();
    FReleased.clear();
}

void TbsSkinImagesMenu::SetColumnsCount(int Value) {
    if (Value >= 1 && Value <= 50)
        FColumnsCount = Value;
}

void TbsSkinImagesMenu::SetImages(TCustomImageList* Value) {
    if (FImages)
        FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TbsSkinImagesMenu::SetSkinData(TbsSkinData* Value) {
    if (FSD)
        FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TbsSkinImagesMenu::SetSkinHint(TbsSkinHint* Value) {
    if (FSkinHint)
        FSkinHint->RemoveFreeNotification(this);
    FSkinHint = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TbsSkinImagesMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FImages)
        FImages = nullptr;
    if (AComponent == FSD)
        FSD = nullptr;
    if (AComponent == FSkinHint)
        FSkinHint = nullptr;
}

TbsImagesMenuItem* TbsSkinImagesMenu::GetSelectedItem() {
    return ItemIndex >= 0 && ItemIndex < FItems->Count() ? FItems->Items(ItemIndex) : nullptr;
}

void TbsSkinImagesMenu::Popup(int X, int Y) {
    PopupFromRect(TRect{X, Y, X, Y});
}

void TbsSkinImagesMenu::PopupFromRect(const TRect& R) {
    Hide();
    if (OnMenuPopup)
        OnMenuPopup(this);
    // Nothing to pick from: no images, or no items to place.
    if (!FImages || FImages->Count() == 0 || FItems->Count() == 0)
        return;
    FOldItemIndex = ItemIndex;
    FPopupWindow = std::make_unique<TbsSkinImagesMenuPopupWindow>(this);
    FPopupWindow->Show(R);
}

void TbsSkinImagesMenu::Hide() {
    if (FPopupWindow)
        FPopupWindow->Hide(false);
}

void TbsSkinImagesMenu::ProcessEvents(bool AItemClick) {
    // The popup may be running one of its own handlers: it is freed once they have returned.
    if (FPopupWindow) {
        FReleased.push_back(std::move(FPopupWindow));
        FReleaseTimer->SetEnabled(true);
    }
    if (OnInternalMenuClose)
        OnInternalMenuClose(this);
    if (OnMenuClose)
        OnMenuClose(this);
    if (!AItemClick || ItemIndex == -1)
        return;
    if (TbsImagesMenuItem* it = GetSelectedItem(); it && it->OnClick)
        it->OnClick(this);
    if (OnItemClick)
        OnItemClick(this);
    if (ItemIndex != FOldItemIndex) {
        if (OnInternalChange)
            OnInternalChange(this);
        if (OnChange)
            OnChange(this);
    }
}
