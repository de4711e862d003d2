// A skinned menu level: building from the menu items, sizes, placement on the work area, showing with the optional
// fade-in, and painting from the skin's POPUPWINDOW record or in the default look.
#include <algorithm>

#include "skin/core/GlyphPainters.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinText.h"
#include "skin/core/SkinUtils.h"
#include "skin/form/MenuLevelProps.h"
#include "skin/form/SkinMenu.h"

namespace {
TBitmap* PictureAt(TbsSkinData* SD, int Index) {
    if (!SD || Index < 0 || Index >= SD->ActivePictureCount())
        return nullptr;
    return SD->GetActivePicture(Index);
}

void RemoveItemProps(HWND wnd) {
    const auto count = reinterpret_cast<UINT_PTR>(RemovePropW(wnd, kMenuItemCountProp));
    for (size_t i = 0; i < count; ++i)
        if (auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(RemovePropW(wnd, MenuItemPropName(i).c_str()))))
            GlobalDeleteAtom(atom);
}

void SetItemProps(HWND wnd, const std::vector<std::wstring>& captions) {
    RemoveItemProps(wnd);
    for (size_t i = 0; i < captions.size(); ++i) {
        // An atom holds at most 255 characters.
        const std::wstring text = captions[i].substr(0, 255);
        if (ATOM atom = GlobalAddAtomW(text.empty() ? L" " : text.c_str()))
            SetPropW(wnd, MenuItemPropName(i).c_str(), reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(atom)));
    }
    SetPropW(wnd, kMenuItemCountProp, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(captions.size())));
}
}  // namespace

TbsPopupFramePoints MovePopupFramePoints(const TbsDataSkinPopupWindow& PW, int PicW, int PicH, int W, int H) {
    TbsPopupFramePoints p;
    p.LT = PW.LTPoint;
    p.RT = {W + PW.RTPoint.X - PicW, PW.RTPoint.Y};
    p.LB = {PW.LBPoint.X, H + PW.LBPoint.Y - PicH};
    p.RB = {W + PW.RBPoint.X - PicW, H + PW.RBPoint.Y - PicH};
    p.Items = {PW.ItemsRect.Left, PW.ItemsRect.Top, W + PW.ItemsRect.Right - PicW, H + PW.ItemsRect.Bottom - PicH};
    return p;
}

TbsSkinPopupWindow::TbsSkinPopupWindow(TComponent* AOwner, TbsSkinMenu* AParentMenu, TbsDataSkinPopupWindow* AData)
    : TCustomControl(AOwner), ParentMenu(AParentMenu) {
    SetVisible(false);
    SetControlStyle({csOpaque});
    ItemFont = std::make_unique<TFont>();
    if (AData && AData->WindowPictureIndex != -1) {
        PW = AData;
        SD = ParentMenu->SkinData;
        WindowPicture = PictureAt(SD, PW->WindowPictureIndex);
        MaskPicture = PictureAt(SD, PW->MaskPictureIndex);
        // A record whose window picture is missing cannot be sized: the level takes the default look.
        if (!WindowPicture) {
            PW = nullptr;
            SD = nullptr;
            MaskPicture = nullptr;
        }
    }
    MouseTimer = std::make_unique<TTimer>(nullptr);
    MouseTimer->SetEnabled(false);
    MouseTimer->SetInterval(50);
    MouseTimer->OnTimer = [this](TObject*) {
        TbsSkinMenu::THandlerScope scope(ParentMenu);
        TestMouse();
    };
    MorphTimer = std::make_unique<TTimer>(nullptr);
    MorphTimer->SetEnabled(false);
    MorphTimer->SetInterval(20);
    MorphTimer->OnTimer = [this](TObject*) { TestMorph(); };
}

TbsSkinPopupWindow::~TbsSkinPopupWindow() {
    MouseTimer.reset();
    MorphTimer.reset();
    ItemList.clear();
    // The window goes in the base destructor, past this class's window procedure.
    if (HandleAllocated())
        RemoveItemProps(Handle());
}

void TbsSkinPopupWindow::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP;
    Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    Params.WndParent = nullptr;
    Params.WindowClass.style |= CS_SAVEBITS;
    if (CheckWXP())
        Params.WindowClass.style |= CS_DROPSHADOW;
}

void TbsSkinPopupWindow::WndProc(TMessage& Message) {
    TbsSkinMenu* menu = ParentMenu;
    switch (Message.Msg) {
        case WM_MOUSEACTIVATE:
            Message.Result = MA_NOACTIVATE;
            return;
        case WM_ERASEBKGND:
            Message.Result = 1;
            return;
        case WM_DESTROY:
            RemoveItemProps(Handle());
            break;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(Handle(), &ps);
            PaintMenu(dc);
            EndPaint(Handle(), &ps);
            Message.Result = 0;
            return;
        }
        case WM_LBUTTONUP:
        case WM_RBUTTONUP: {
            TbsSkinMenu::THandlerScope scope(menu);
            if (Message.Msg == WM_LBUTTONUP)
                MouseUp(static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam)));
            Message.Result = 0;
            return;
        }
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            // A level chooses on the release.
            Message.Result = 0;
            return;
        case WM_TIMER:
            if (Message.WParam == 1) {
                TbsSkinMenu::THandlerScope scope(menu);
                if (ScrollCode == 1 && CanScroll(1))
                    ScrollUp(false);
                else if (ScrollCode == 2 && CanScroll(2))
                    ScrollDown(false);
                else if (ScrollCode != 0)
                    StopScroll();
                Message.Result = 0;
                return;
            }
            break;
        default:
            break;
    }
    TCustomControl::WndProc(Message);
}

int TbsSkinPopupWindow::GetItemHeight() const {
    if (PW && DSMI && ParentMenu->FUseSkinSize)
        return DSMI->SkinRect.Height();
    return ParentMenu->FDefaultMenuItemHeight;
}

int TbsSkinPopupWindow::ItemHeight(const TbsSkinMenuItem* Item) const {
    if (DSMI) {
        if (Item->IsSeparator())
            return DSMI->DividerRect.Height();
        return GetItemHeight();
    }
    return Item->IsSeparator() ? 4 : ParentMenu->FDefaultMenuItemHeight;
}

int TbsSkinPopupWindow::CalcItemTextWidth(TCanvas* C, TbsSkinMenuItem* Item) {
    std::wstring text = Item->MenuItem->Caption();
    if (Item->MenuItem->ShortCut() != 0)
        text += L"  " + ShortCutToText(Item->MenuItem->ShortCut());
    TRect r{0, 0, 0, 0};
    C->DrawText(text, r, DT_CALCRECT | DT_SINGLELINE);
    return r.Width() + 2;
}

void TbsSkinPopupWindow::CreateMenu(TMenuItem* AItem, TMenuItem* AItem2, int StartIndex, bool Merged) {
    DSMI = nullptr;
    if (PW && SD) {
        for (const auto& rec : SD->ObjectList)
            if (auto* mi = dynamic_cast<TbsDataSkinMenuItem*>(rec.get())) {
                DSMI = mi;
                break;
            }
        // A skin with a window picture but no menu item record cannot be sized: the default look.
        if (!DSMI) {
            PW = nullptr;
            SD = nullptr;
            WindowPicture = MaskPicture = nullptr;
        }
    }
    if (PW && DSMI && ParentMenu->FUseSkinFont) {
        ItemFont->SetName(DSMI->FontName);
        ItemFont->SetHeight(DSMI->FontHeight);
        ItemFont->SetStyle(ToFontStyles(DSMI->FontStyle));
    } else {
        ItemFont->Assign(ParentMenu->FDefaultMenuItemFont.get());
    }
    TbsSkinData* skin = ParentMenu->SkinData;
    if (skin && skin->ResourceStrData())
        ItemFont->SetCharset(skin->ResourceStrData()->CharSet);
    else
        ItemFont->SetCharset(ParentMenu->FDefaultMenuItemFont->Charset());

    // Outside tools find a level by its window text: the caption of the entry it opened from, else "Menu".
    SetCaption(AItem->Caption().empty() ? std::wstring(L"Menu") : StripHotkey(AItem->Caption()));
    TMenu* owner = AItem->GetParentMenu();
    ImgL = owner ? dynamic_cast<TCustomImageList*>(owner->Images()) : nullptr;
    std::vector<TMenuItem*> children;
    if (!Merged) {
        for (int i = 0; i < AItem->Count(); ++i)
            children.push_back(AItem->Items(i));
    } else {
        for (int i = 0; i < AItem->Count(); ++i) {
            bool clash = false;
            for (int j = 0; AItem2 && j < AItem2->Count(); ++j)
                clash = clash || AItem2->Items(j)->GroupIndex() == AItem->Items(i)->GroupIndex();
            if (!clash)
                children.push_back(AItem->Items(i));
        }
        for (int j = 0; AItem2 && j < AItem2->Count(); ++j)
            children.push_back(AItem2->Items(j));
        std::stable_sort(children.begin(), children.end(),
                         [](TMenuItem* a, TMenuItem* b) { return a->GroupIndex() < b->GroupIndex(); });
    }
    ItemList.clear();
    for (size_t i = static_cast<size_t>(std::max(StartIndex, 0)); i < children.size(); ++i)
        if (children[i]->Visible())
            ItemList.push_back(std::make_unique<TbsSkinMenuItem>(this, children[i], DSMI));
    CalcSizes(Merged);
    const int W = Width(), H = Height();
    if (PW) {
        const TbsPopupFramePoints p = MovePopupFramePoints(*PW, WindowPicture->Width(), WindowPicture->Height(), W, H);
        NewLTPoint = p.LT;
        NewRTPoint = p.RT;
        NewLBPoint = p.LB;
        NewRBPoint = p.RB;
        NewItemsRect = p.Items;
    } else {
        NewItemsRect = {2, 2, W - 2, H - 2};
    }
    CalcItemRects();
    if (MaskPicture)
        SetMenuWindowRegion();
}

void TbsSkinPopupWindow::CalcSizes(bool Merged) {
    VisibleStartIndex = 0;
    VisibleCount = static_cast<int>(ItemList.size());
    Scroll = Scroll2 = false;
    GlyphWidth = ImgL ? ImgL->Width() + 5 : 19;
    TBitmap measure(1, 1);
    measure.Canvas()->SetFont(ItemFont.get());
    int textW = 0;
    for (auto& item : ItemList)
        textW = std::max(textW, CalcItemTextWidth(measure.Canvas(), item.get()));
    int W = textW + 19 + GlyphWidth;
    int margin = 0;
    if (PW) {
        const int pw = WindowPicture->Width(), ph = WindowPicture->Height();
        W += pw + DSMI->TextRct.Left + (DSMI->SkinRect.Width() - DSMI->TextRct.Right) + PW->ItemsRect.Left -
             PW->ItemsRect.Right;
        margin = ph + PW->ItemsRect.Top - PW->ItemsRect.Bottom;
    } else {
        W += 10;
        margin = Merged ? 6 : 4;
    }
    int H = margin;
    for (auto& item : ItemList)
        H += ItemHeight(item.get());
    const int maxItems = ParentMenu->MaxMenuItemsInWindow;
    if (maxItems != 0 && static_cast<int>(ItemList.size()) > maxItems) {
        H = maxItems * (PW ? GetItemHeight() : ParentMenu->FDefaultMenuItemHeight) + margin + 20;
        if (!Merged)
            Scroll = Scroll2 = true;
    }
    if (H > ParentMenu->WorkArea.Height()) {
        H = ParentMenu->WorkArea.Height();
        Scroll = true;
    }
    SetBounds(Left(), Top(), W, H);
}

void TbsSkinPopupWindow::CalcItemRects() {
    VisibleCount = 0;
    int y = NewItemsRect.Top + (Scroll ? 10 : 0);
    const int limit = Scroll ? NewItemsRect.Bottom - 10 : NewItemsRect.Bottom;
    int last = -1;
    for (int i = VisibleStartIndex; i < static_cast<int>(ItemList.size()); ++i) {
        TbsSkinMenuItem* item = ItemList[static_cast<size_t>(i)].get();
        const int h = ItemHeight(item);
        item->ObjectRect = {NewItemsRect.Left, y, NewItemsRect.Right, y + h};
        if (item->ObjectRect.Bottom > limit)
            break;
        item->FVisible = true;
        ++VisibleCount;
        last = i;
        y += h;
    }
    if (Scroll)
        for (int i = 0; i < static_cast<int>(ItemList.size()); ++i)
            if (i < VisibleStartIndex || i > last)
                ItemList[static_cast<size_t>(i)]->FVisible = false;
}

int TbsSkinPopupWindow::GetEndStartVisibleIndex() const {
    int budget = NewItemsRect.Bottom - 10;
    int taken = 0;
    for (int i = static_cast<int>(ItemList.size()) - 1; i >= 0; --i) {
        budget -= ItemHeight(ItemList[static_cast<size_t>(i)].get());
        if (budget < 10)
            break;
        ++taken;
    }
    return static_cast<int>(ItemList.size()) - taken;
}

void TbsSkinPopupWindow::CalcMenuPos(const TRect& R, bool PopupByItem, bool PopupUp) {
    const TRect WA = ParentMenu->WorkArea;
    const int W = Width(), H = Height();
    const int T = NewItemsRect.Top;
    const int Mid = WA.Top + WA.Height() / 2;
    bool shifted = false;
    int Y = 0;
    const bool cut = Scroll && !Scroll2;
    if (cut) {
        Y = WA.Top;
    } else if (PopupByItem) {
        if (R.Top - T + H <= WA.Bottom)
            Y = R.Top - T;
        else if (R.Top < Mid)
            Y = WA.Bottom - H;
        else
            Y = std::max(R.Bottom + T - H, WA.Top);
    } else if (PopupUp) {
        if (R.Top - H >= WA.Top) {
            Y = R.Top - H;
        } else if (R.Top < Mid) {
            if (R.Bottom + H <= WA.Bottom) {
                Y = R.Bottom;
            } else {
                Y = WA.Bottom - H;
                shifted = true;
            }
        } else {
            Y = WA.Top;
            shifted = true;
        }
    } else {
        if (R.Bottom + H <= WA.Bottom) {
            Y = R.Bottom;
        } else if (R.Top < Mid) {
            Y = WA.Bottom - H;
            shifted = true;
        } else if (R.Top - H >= WA.Top) {
            Y = R.Top - H;
        } else {
            Y = WA.Top;
            shifted = true;
        }
    }
    int X = 0;
    if (!PopupByItem && !cut && !shifted) {
        X = R.Left + W > WA.Right ? WA.Right - W : std::max(R.Left, WA.Left);
    } else {
        X = R.Right + W + 1 > WA.Right ? R.Left - W - 1 : R.Right + 1;
    }
    ShowX = X;
    ShowY = Y;
}

void TbsSkinPopupWindow::SetMenuWindowRegion() {
    CreateSkinRegion(FRgn, PW->LTPoint, PW->RTPoint, PW->LBPoint, PW->RBPoint, PW->ItemsRect, NewLTPoint, NewRTPoint,
                     NewLBPoint, NewRBPoint, NewItemsRect, MaskPicture, Width(), Height());
    // The system owns a region once it is set; one it refused is freed here.
    if (FRgn && SetWindowRgn(Handle(), FRgn.Get(), TRUE))
        (void)FRgn.Detach();
    FRgn.Reset();
}

void TbsSkinPopupWindow::ShowLevel(const TRect& R, bool PopupByItem, bool PopupUp) {
    TbsSkinMenu* m = ParentMenu;
    const bool layered = CheckW2KWXP() && m->AlphaBlend;
    const bool fade = layered && m->AlphaBlendAnimation && m->FFirst;
    CalcMenuPos(R, PopupByItem, PopupUp);
    std::vector<std::wstring> captions;
    for (const auto& item : ItemList)
        captions.push_back(item->IsSeparator() ? std::wstring(L"-") : StripHotkey(item->MenuItem->Caption()));
    SetItemProps(Handle(), captions);
    if (layered) {
        SetWindowLongPtrW(Handle(), GWL_EXSTYLE, GetWindowLongPtrW(Handle(), GWL_EXSTYLE) | WS_EX_LAYERED);
        SetAlphaBlendTransparent(Handle(), fade ? 0 : m->AlphaBlendValue);
    }
    SetWindowPos(Handle(), HWND_TOPMOST, ShowX, ShowY, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
    SetVisible(true);
    if (fade) {
        TAlphaFade steps;
        steps.Target = m->AlphaBlendValue;
        steps.Step = AlphaFadeStep(m->AlphaBlendValue, 15);
        steps.IntervalMs = 5;
        RunAlphaFade(steps, m->FadeClock,
                     [this](int a) { SetAlphaBlendTransparent(Handle(), static_cast<std::uint8_t>(a)); });
    }
    // The press that opened the menu is not a press outside it (reading the state also clears "pressed since").
    buttonsDown_ = false;
    for (int vk : {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON})
        buttonsDown_ = (GetAsyncKeyState(vk) & 0x8000) || buttonsDown_;
    MouseTimer->SetEnabled(true);
    ActiveItem = -1;
    for (size_t i = 0; i < ItemList.size(); ++i) {
        TbsSkinMenuItem* item = ItemList[i].get();
        if (item->Selectable()) {
            item->WaitCommand = true;
            ActiveItem = static_cast<int>(i);
            item->MouseEnter(true);
            break;
        }
    }
}

void TbsSkinPopupWindow::Show(const TRect& R, TMenuItem* AItem, int StartIndex, bool PopupByItem, bool PopupUp) {
    if (CheckW2KWXP() && ParentMenu->AlphaBlend && ParentMenu->AlphaBlendAnimation && ParentMenu->FFirst)
        Application->ProcessMessages();
    CreateMenu(AItem, nullptr, StartIndex, false);
    ShowLevel(R, PopupByItem, PopupUp);
}

void TbsSkinPopupWindow::Show2(const TRect& R,
                               TMenuItem* AItem,
                               TMenuItem* AItem2,
                               int StartIndex,
                               bool PopupByItem,
                               bool PopupUp) {
    if (CheckW2KWXP() && ParentMenu->AlphaBlend && ParentMenu->AlphaBlendAnimation && ParentMenu->FFirst)
        Application->ProcessMessages();
    CreateMenu(AItem, AItem2, StartIndex, true);
    ShowLevel(R, PopupByItem, PopupUp);
}

void TbsSkinPopupWindow::Hide() {
    MouseTimer->SetEnabled(false);
    MorphTimer->SetEnabled(false);
    if (HandleAllocated()) {
        KillTimer(Handle(), 1);
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    }
    SetVisible(false);
}

void TbsSkinPopupWindow::CreateRealImage(TBitmap* B, bool DrawClient) {
    const int W = Width(), H = Height();
    B->SetSize(W, H);
    if (PW) {
        const TRect full{0, 0, WindowPicture->Width(), WindowPicture->Height()};
        CreateSkinImageBS(PW->LTPoint, PW->RTPoint, PW->LBPoint, PW->RBPoint, PW->ItemsRect, NewLTPoint, NewRTPoint,
                          NewLBPoint, NewRBPoint, NewItemsRect, B, WindowPicture, full, W, H, DrawClient,
                          PW->LeftStretch, PW->TopStretch, PW->RightStretch, PW->BottomStretch, PW->StretchEffect,
                          PW->StretchType);
        return;
    }
    TCanvas* c = B->Canvas();
    const int C = ImgL ? GlyphWidth + 2 : 21;
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clBtnFace);
    c->FillRect({0, 0, C, H});
    c->Brush()->SetColor(clWindow);
    c->FillRect({C, 0, W, H});
    c->Brush()->SetColor(clBtnShadow);
    c->FrameRect({0, 0, W, H});
    c->Brush()->SetColor(clWindow);
    c->FrameRect({1, 1, W - 1, H - 1});
}

void TbsSkinPopupWindow::DrawScrollArea(TCanvas* C, const TRect& R) {
    if (!SD || R.Width() <= 0 || R.Height() <= 0)
        return;
    TbsDataSkinMenuItem* obj = nullptr;
    for (const wchar_t* name : {L"menuitem", L"MENUITEM"}) {
        for (const auto& rec : SD->ObjectList)
            if (rec->IDName == name) {
                obj = dynamic_cast<TbsDataSkinMenuItem*>(rec.get());
                break;
            }
        if (obj)
            break;
    }
    if (!obj)
        return;
    TBitmap b;
    if (obj->InActiveTransparent && FPaintBuffer) {
        b.SetSize(R.Width(), R.Height());
        b.Canvas()->CopyRect({0, 0, R.Width(), R.Height()}, FPaintBuffer->Canvas(), R);
    } else {
        TBitmap* pic = PictureAt(SD, obj->ActivePictureIndex);
        if (!pic || obj->SkinRect.Width() <= 0 || obj->SkinRect.Height() <= 0)
            return;
        b.SetSize(R.Width(), obj->SkinRect.Height());
        CreateHSkinImage(obj->ItemLO, obj->ItemRO, &b, pic, obj->SkinRect, R.Width(), obj->SkinRect.Height(),
                         obj->InActiveStretchEffect);
    }
    C->CopyRect(R, b.Canvas(), {0, 0, R.Width(), std::min(R.Height(), b.Height())});
}

void TbsSkinPopupWindow::DrawUpMarker(TCanvas* C) {
    if (!Scroll)
        return;
    TRect r;
    TColor color;
    if (PW) {
        r = {NewItemsRect.Left, NewItemsRect.Top, NewItemsRect.Right, NewItemsRect.Top + 10};
        DrawScrollArea(C, r);
        color = static_cast<TColor>(ScrollCode == 1 ? PW->ScrollMarkerActiveColor : PW->ScrollMarkerColor);
    } else {
        r = {3, 3, Width() - 3, 13};
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(clWindow);
        C->FillRect(r);
        color = ScrollCode == 1 ? clBtnText : clBtnShadow;
    }
    DrawArrowImage(C, r, color, 3);
}

void TbsSkinPopupWindow::DrawDownMarker(TCanvas* C) {
    if (!Scroll)
        return;
    TRect r;
    TColor color;
    if (PW) {
        r = {NewItemsRect.Left, NewItemsRect.Bottom - 10, NewItemsRect.Right, NewItemsRect.Bottom};
        DrawScrollArea(C, r);
        color = static_cast<TColor>(ScrollCode == 2 ? PW->ScrollMarkerActiveColor : PW->ScrollMarkerColor);
    } else {
        r = {3, Height() - 13, Width() - 3, Height() - 3};
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(clWindow);
        C->FillRect(r);
        color = ScrollCode == 2 ? clBtnText : clBtnShadow;
    }
    DrawArrowImage(C, r, color, 4);
}

void TbsSkinPopupWindow::PaintMenu(HDC DC) {
    TBitmap b;
    CreateRealImage(&b, Scroll);
    if (PW && DSMI && DSMI->InActiveTransparent) {
        FPaintBuffer = std::make_unique<TBitmap>();
        CreateRealImage(FPaintBuffer.get(), true);
    }
    int lastBottom = NewItemsRect.Top + (Scroll ? 10 : 0);
    for (int i = VisibleStartIndex; i < VisibleStartIndex + VisibleCount && i < static_cast<int>(ItemList.size());
         ++i) {
        ItemList[static_cast<size_t>(i)]->Draw(b.Canvas());
        lastBottom = ItemList[static_cast<size_t>(i)]->ObjectRect.Bottom;
    }
    if (Scroll) {
        DrawUpMarker(b.Canvas());
        DrawDownMarker(b.Canvas());
        if (PW && lastBottom < NewItemsRect.Bottom - 10)
            DrawScrollArea(b.Canvas(), {NewItemsRect.Left, lastBottom, NewItemsRect.Right, NewItemsRect.Bottom - 10});
    }
    BitBlt(DC, 0, 0, b.Width(), b.Height(), b.Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TbsSkinPopupWindow::DrawNow(const std::function<void(TCanvas*)>& Draw) {
    TClientDC dc(Handle());
    TCanvas canvas;
    canvas.SetHandle(dc);
    Draw(&canvas);
    canvas.SetHandle(nullptr);
}

void TbsSkinPopupWindow::DrawMarkersNow() {
    DrawNow([this](TCanvas* C) {
        DrawUpMarker(C);
        DrawDownMarker(C);
    });
}

void TbsSkinPopupWindow::DrawItemNow(TbsSkinMenuItem* Item) {
    if (!HandleAllocated() || !IsWindowVisible(Handle()))
        return;
    DrawNow([Item](TCanvas* C) { Item->Draw(C); });
}

void TbsSkinPopupWindow::TestMorph() {
    bool changed = false;
    for (auto& item : ItemList) {
        if (item->EnableMorphing() && item->CanMorphing()) {
            item->DoMorphing();
            changed = true;
        } else if (item->EnableAnimation() && item->MI) {
            if (item->Active && item->CurrentFrame <= item->MI->FrameCount) {
                ++item->CurrentFrame;
                DrawItemNow(item.get());
                changed = true;
            } else if (!item->Active && item->CurrentFrame > 0) {
                --item->CurrentFrame;
                DrawItemNow(item.get());
                changed = true;
            }
        }
    }
    if (!changed)
        MorphTimer->SetEnabled(false);
}
