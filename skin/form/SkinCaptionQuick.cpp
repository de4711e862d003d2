// The caption text object's quick buttons: layout within the caption, drawing on the window frame and into the
// 32-bit top image of a layered border, hot tracking with hints, presses of plain, drop-down and sticky buttons, and
// the caption's mouse handlers that serve them.
#include <algorithm>

#include "classlib/ImgList.h"
#include "skin/core/GlyphPainters.h"
#include "skin/core/LayerWindow.h"
#include "skin/core/PixelRoutinesDC.h"
#include "skin/core/PngImageList.h"
#include "skin/core/SkinBitmap.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinText.h"
#include "skin/core/SkinUtils.h"
#include "skin/form/LayerBorder.h"
#include "skin/form/QuickButtons.h"
#include "skin/form/SkinForm.h"
#include "skin/form/SkinFormObjects.h"
#include "skin/form/SkinHint.h"
#include "skin/form/SkinMenu.h"
#include "skin/form/SkinPopupMenu.h"

namespace {

bool Has(const TRect& R) {
    return !IsNullRect(R);
}

bool Contains(const TRect& R, int X, int Y) {
    return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
}

TBitmap* PictureOf(TbsSkinData* SD, int Index) {
    if (!SD || Index < 0 || Index >= SD->ActivePictureCount())
        return nullptr;
    TBitmap* b = SD->GetActivePicture(Index);
    return (b && !b->Empty()) ? b : nullptr;
}

bool InPicture(const TRect& R, TBitmap* P) {
    return P && Has(R) && R.Left >= 0 && R.Top >= 0 && R.Right <= P->Width() && R.Bottom <= P->Height();
}

std::uint32_t PixelOf(COLORREF C) {
    return 0xFF000000u | (static_cast<std::uint32_t>(GetRValue(C)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(C)) << 8) | GetBValue(C);
}

// Src (0xAARRGGBB, straight alpha) over *Dst.
void BlendOver(std::uint32_t* Dst, std::uint32_t Src) {
    const std::uint32_t a = Src >> 24;
    if (a == 0)
        return;
    if (a == 255) {
        *Dst = Src;
        return;
    }
    const std::uint32_t d = *Dst;
    auto mix = [&](int Shift) {
        const std::uint32_t s = (Src >> Shift) & 0xFF, t = (d >> Shift) & 0xFF;
        return ((s * a + t * (255 - a)) / 255) << Shift;
    };
    const std::uint32_t da = d >> 24;
    const std::uint32_t outA = a + da * (255 - a) / 255;
    *Dst = (outA << 24) | mix(16) | mix(8) | mix(0);
}

// Every pixel of a GDI bitmap at (X, Y) of Target with alpha taken from AlphaOf (0: left alone).
template <typename AlphaFn>
void CopyInto(TbsBitmap* Target, TBitmap* B, int X, int Y, AlphaFn AlphaOf) {
    HDC dc = B->Canvas()->Handle();
    GdiFlush();
    for (int y = 0; y < B->Height(); ++y) {
        const int ty = Y + y;
        if (ty < 0 || ty >= Target->Height())
            continue;
        for (int x = 0; x < B->Width(); ++x) {
            const int tx = X + x;
            if (tx < 0 || tx >= Target->Width())
                continue;
            const COLORREF c = GetPixel(dc, x, y);
            const std::uint32_t a = AlphaOf(x, y, c);
            if (a == 0)
                continue;
            BlendOver(Target->GetPixelPtr(tx, ty), (PixelOf(c) & 0xFFFFFF) | (a << 24));
        }
    }
}

void SetQuickFont(TCanvas* C, const TbsDataSkinButtonControl* Look) {
    TFont* f = C->Font();
    f->SetName(Look->FontName.empty() ? L"Tahoma" : Look->FontName);
    f->SetStyle(ToFontStyles(Look->FontStyle));
    f->SetHeight(Look->FontHeight != 0 ? Look->FontHeight : 13);
}

}  // namespace

// ---- State ---------------------------------------------------------------------------------------------------------

bool TbsSkinCaptionObject::QuickButtonsShown() const {
    return Parent->QuickButtons()->Count() > 0 && Parent->QuickImageList();
}

int TbsSkinCaptionObject::QuickButtonAt(int X, int Y) const {
    if (!QuickButtonsShown())
        return -1;
    TbsQuickButtonItems* items = Parent->QuickButtons();
    for (int i = 0; i < items->Count(); ++i) {
        const TbsQuickButtonItem* b = items->Items(i);
        if (b->Enabled() && b->Visible() && Contains(b->ItemRect, X, Y))
            return i;
    }
    return -1;
}

TbsDataSkinButtonControl* TbsSkinCaptionObject::QuickLook() const {
    if (!SD || SD->Empty)
        return nullptr;
    for (const wchar_t* name : {L"officequickbutton", L"resizetoolbutton"}) {
        const int i = SD->GetControlIndex(name);
        if (i >= 0 && i < static_cast<int>(SD->CtrlList.size()))
            if (auto* b = dynamic_cast<TbsDataSkinButtonControl*>(SD->CtrlList[static_cast<std::size_t>(i)].get()))
                return b;
    }
    return nullptr;
}

TColor TbsSkinCaptionObject::QuickTextColor(int Index) const {
    const TbsQuickButtonItem* b = Parent->QuickButtons()->Items(Index);
    const bool pressed = (b->Active && b->FDown) || (b->GroupIndex() > 0 && b->FDown);
    if (const TbsDataSkinButtonControl* look = QuickLook()) {
        if (pressed)
            return static_cast<TColor>(look->DownFontColor);
        if (b->Active)
            return static_cast<TColor>(look->ActiveFontColor);
    }
    return static_cast<TColor>(b->Enabled() ? Cap->ActiveFontColor : Cap->FontColor);
}

// ---- Layout and drawing --------------------------------------------------------------------------------------------

void TbsSkinCaptionObject::LayoutQuick(bool Layered, TRect& Area) {
    TbsQuickButtonItems* items = Parent->QuickButtons();
    TCustomImageList* images = Parent->QuickImageList();
    TbsQuickLayoutInput in;
    in.ObjectRect = ObjectRect;
    in.ImageWidth = images->Width();
    in.ImageHeight = images->Height();
    in.DividerWidth = Cap && Has(Cap->DividerRect) ? Cap->DividerRect.Width() : 0;
    in.Layered = Layered;
    in.ModernSkin = Parent->IsModernSkin();
    // Captions measure in the tool button's font; without that entry they take no room.
    const TbsDataSkinButtonControl* measureLook = nullptr;
    if (SD && !SD->Empty) {
        const int i = SD->GetControlIndex(L"resizetoolbutton");
        if (i >= 0 && i < static_cast<int>(SD->CtrlList.size()))
            measureLook = dynamic_cast<TbsDataSkinButtonControl*>(SD->CtrlList[static_cast<std::size_t>(i)].get());
    }
    TBitmap measure(1, 1);
    if (measureLook)
        SetQuickFont(measure.Canvas(), measureLook);
    for (int i = 0; i < items->Count(); ++i) {
        const TbsQuickButtonItem* b = items->Items(i);
        TbsQuickLayoutInput::Button q;
        q.Visible = b->Visible();
        q.Position = b->Position();
        q.HasMenu = b->PopupMenu() != nullptr;
        if (measureLook && !b->Caption().empty()) {
            RECT r{0, 0, 0, 0};
            DrawTextW(measure.Canvas()->Handle(), b->Caption().c_str(), static_cast<int>(b->Caption().size()), &r,
                      DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
            q.CaptionWidth = r.right - r.left;
        }
        in.Buttons.push_back(q);
    }
    const TbsQuickLayout out = LayoutQuickButtons(in);
    for (int i = 0; i < items->Count(); ++i)
        items->Items(i)->ItemRect = out.ItemRects[static_cast<std::size_t>(i)];
    Area.Left += out.LeftTaken;
    Area.Right -= out.RightTaken;
}

void TbsSkinCaptionObject::DrawDivider(TCanvas* Cnvs, TbsBitmap* Alpha) {
    if (!Cap || !ActivePicture)
        return;
    const TRect src = (Active || !Has(Cap->InActiveDividerRect)) ? Cap->DividerRect : Cap->InActiveDividerRect;
    if (!InPicture(src, ActivePicture))
        return;
    TBitmap d(src.Width(), src.Height());
    BitBlt(d.Canvas()->Handle(), 0, 0, src.Width(), src.Height(), ActivePicture->Canvas()->Handle(), src.Left,
           src.Top, SRCCOPY);
    const int x = ObjectRect.Left + 3;
    const int y = ObjectRect.Top + ObjectRect.Height() / 2 - d.Height() / 2;
    const COLORREF key = static_cast<COLORREF>(Cap->DividerTransparentColor) & 0xFFFFFF;
    const bool keyed = Cap->DividerTransparent;
    if (Alpha) {
        CopyInto(Alpha, &d, x, y, [&](int, int, COLORREF c) { return keyed && (c & 0xFFFFFF) == key ? 0u : 255u; });
        return;
    }
    if (!keyed) {
        BitBlt(Cnvs->Handle(), x, y, d.Width(), d.Height(), d.Canvas()->Handle(), 0, 0, SRCCOPY);
        return;
    }
    // A few pixels: the keyed ones are skipped one by one.
    HDC ddc = d.Canvas()->Handle();
    for (int yy = 0; yy < d.Height(); ++yy)
        for (int xx = 0; xx < d.Width(); ++xx) {
            const COLORREF c = GetPixel(ddc, xx, yy) & 0xFFFFFF;
            if (c != key)
                SetPixelV(Cnvs->Handle(), x + xx, y + yy, c);
        }
}

void TbsSkinCaptionObject::DrawQuickButtons(TCanvas* Cnvs, TRect& Area) {
    if (!QuickButtonsShown() || !Cap)
        return;
    const TRect src = (Active || !Has(Cap->InActiveDividerRect)) ? Cap->DividerRect : Cap->InActiveDividerRect;
    if (Has(src) && Parent->QuickButtonsShowDivider) {
        DrawDivider(Cnvs, nullptr);
        Area.Left += src.Width();
    }
    LayoutQuick(false, Area);
    for (int i = 0; i < Parent->QuickButtons()->Count(); ++i)
        DrawQuickButton(Cnvs, i);
}

void TbsSkinCaptionObject::DrawQuickButton(TCanvas* Cnvs, int Index) {
    const TbsQuickButtonItem* b = Parent->QuickButtons()->Items(Index);
    TCustomImageList* images = Parent->QuickImageList();
    if (!b->Visible() || b->ImageIndex() < 0 || !images)
        return;
    const TRect& r = b->ItemRect;
    const bool pressed = (b->Active && b->FDown) || (b->GroupIndex() > 0 && b->FDown);
    const TbsDataSkinButtonControl* look = QuickLook();
    TBitmap* pic = look ? PictureOf(SD, look->PictureIndex) : nullptr;
    const TRect bgSrc = !look ? TRect{} : pressed ? look->DownSkinRect : b->Active ? look->ActiveSkinRect : TRect{};
    if (InPicture(bgSrc, pic) && r.Width() > 0 && r.Height() > 0) {
        TBitmap bg(r.Width(), r.Height());
        CreateStretchImage(&bg, pic, bgSrc, look->ClRect, true);
        BitBlt(Cnvs->Handle(), r.Left, r.Top, r.Width(), r.Height(), bg.Canvas()->Handle(), 0, 0, SRCCOPY);
    }
    const int iw = images->Width(), ih = images->Height();
    int x = r.Left + r.Width() / 2 - iw / 2;
    if (b->PopupMenu())
        x -= 3;
    if (!b->Caption().empty())
        x = r.Left + 3;
    images->Draw(Cnvs, x, r.Top + r.Height() / 2 - ih / 2, b->ImageIndex(), b->Enabled());
    const TColor color = QuickTextColor(Index);
    if (b->PopupMenu())
        DrawArrowImage3(Cnvs, TRect{r.Right - 8, r.Top, r.Right - 1, r.Bottom}, color, 4);
    if (!b->Caption().empty() && look) {
        SetQuickFont(Cnvs, look);
        Cnvs->Font()->SetColor(color);
        Cnvs->Brush()->SetStyle(bsClear);
        SetBkMode(Cnvs->Handle(), TRANSPARENT);
        BSDrawText(Cnvs, b->Caption(), TRect{r.Left + iw + 6, r.Top, r.Right, r.Bottom});
    }
}

void TbsSkinCaptionObject::DrawQuickButtonsAlpha(TCanvas* Cnvs, TbsBitmap* B, TRect& Area) {
    if (!QuickButtonsShown() || !Cap)
        return;
    LayoutQuick(true, Area);
    for (int i = 0; i < Parent->QuickButtons()->Count(); ++i)
        DrawQuickButtonAlpha(Cnvs, B, i);
}

void TbsSkinCaptionObject::DrawQuickButtonAlpha(TCanvas* Cnvs, TbsBitmap* B, int Index) {
    const TbsQuickButtonItem* b = Parent->QuickButtons()->Items(Index);
    TCustomImageList* images = Parent->QuickImageList();
    if (!b->Visible() || b->ImageIndex() < 0 || !images)
        return;
    const TRect& r = b->ItemRect;
    const bool pressed = (b->Active && b->FDown) || (b->GroupIndex() > 0 && b->FDown);
    const TbsDataSkinButtonControl* look = QuickLook();
    TBitmap* pic = look ? PictureOf(SD, look->PictureIndex) : nullptr;
    const TRect bgSrc = !look ? TRect{} : pressed ? look->DownSkinRect : b->Active ? look->ActiveSkinRect : TRect{};
    if (InPicture(bgSrc, pic) && r.Width() > 0 && r.Height() > 0) {
        TBitmap bg(r.Width(), r.Height());
        CreateStretchImage(&bg, pic, bgSrc, look->ClRect, true);
        TBitmap* maskPic = PictureOf(SD, Cap->QuickButtonAlphaMaskPictureIndex);
        if (maskPic && AlphaBlendFunc != nullptr) {
            TBitmap mask(r.Width(), r.Height());
            CreateStretchImage(&mask, maskPic, TRect{0, 0, maskPic->Width(), maskPic->Height()}, look->ClRect, true);
            HDC mdc = mask.Canvas()->Handle();
            CopyInto(B, &bg, r.Left, r.Top, [&](int x, int y, COLORREF) {
                const COLORREF m = GetPixel(mdc, x, y);
                return static_cast<std::uint32_t>((GetRValue(m) + GetGValue(m) + GetBValue(m)) / 3);
            });
        } else {
            CopyInto(B, &bg, r.Left, r.Top, [](int, int, COLORREF) { return 255u; });
        }
    }
    const int iw = images->Width(), ih = images->Height();
    int x = r.Left + r.Width() / 2 - iw / 2;
    if (b->PopupMenu())
        x -= 3;
    if (!b->Caption().empty())
        x = r.Left + 3;
    const int y = r.Top + r.Height() / 2 - ih / 2;
    auto* png = dynamic_cast<TbsPngImageList*>(images);
    if (png && b->ImageIndex() < png->PngImages()->Count()) {
        TbsBitmap img;
        MakeCopyFromPng(&img, png->PngImages()->Items(b->ImageIndex())->PngImage());
        for (int yy = 0; yy < img.Height(); ++yy) {
            for (int xx = 0; xx < img.Width(); ++xx) {
                const int tx = x + xx, ty = y + yy;
                if (tx < 0 || ty < 0 || tx >= B->Width() || ty >= B->Height())
                    continue;
                std::uint32_t* d = B->GetPixelPtr(tx, ty);
                std::uint32_t s = img.GetScanLine(yy)[xx];
                if (!b->Enabled()) {
                    // Greyed, half strength, on the alpha that lies under it.
                    const std::uint32_t g = (((s >> 16) & 0xFF) + ((s >> 8) & 0xFF) + (s & 0xFF)) / 3;
                    const std::uint32_t da = *d & 0xFF000000u;
                    BlendOver(d, ((s >> 25) << 24) | (g << 16) | (g << 8) | g);
                    *d = (*d & 0xFFFFFF) | da;
                } else {
                    BlendOver(d, s);
                }
            }
        }
    } else {
        TBitmap img(iw, ih);
        constexpr COLORREF kKey = RGB(0x7F, 0x00, 0x7F);
        HBRUSH keyBrush = CreateSolidBrush(kKey);
        RECT all{0, 0, iw, ih};
        FillRect(img.Canvas()->Handle(), &all, keyBrush);
        DeleteObject(keyBrush);
        images->Draw(img.Canvas(), 0, 0, b->ImageIndex(), b->Enabled());
        CopyInto(B, &img, x, y, [&](int, int, COLORREF c) { return (c & 0xFFFFFF) == kKey ? 0u : 255u; });
    }
    const TColor color = QuickTextColor(Index);
    const COLORREF rgb = ColorToRGB(color);
    if (b->PopupMenu()) {
        // A 5 x 3 arrow with softened ends.
        static constexpr std::uint8_t kArrow[3][5] = {{255, 255, 255, 255, 255}, {40, 255, 255, 255, 40},
                                                      {0, 40, 255, 40, 0}};
        const int ax = r.Right - 7, ay = r.Top + r.Height() / 2 - 1;
        for (int yy = 0; yy < 3; ++yy)
            for (int xx = 0; xx < 5; ++xx) {
                const int tx = ax + xx, ty = ay + yy;
                if (kArrow[yy][xx] && tx >= 0 && ty >= 0 && tx < B->Width() && ty < B->Height())
                    BlendOver(B->GetPixelPtr(tx, ty), (PixelOf(rgb) & 0xFFFFFF) | (std::uint32_t{kArrow[yy][xx]} << 24));
            }
    }
    if (!b->Caption().empty() && look) {
        SetQuickFont(Cnvs, look);
        Cnvs->Font()->SetColor(color);
        const std::wstring text = b->Caption();
        const TRect tr{r.Left + iw + 6, r.Top - 1, r.Right, r.Bottom - 1};
        PaintKeepingAlpha(B, Cnvs->Font(), tr, 0, [&](TCanvas* c, int ox, int oy, bool mask) {
            c->Font()->SetColor(mask ? clWhite : color);
            BSDrawText(c, text, TRect{tr.Left + ox, tr.Top + oy, tr.Right + ox, tr.Bottom + oy});
        });
    }
}

// ---- Pointer ---------------------------------------------------------------------------------------------------

void TbsSkinCaptionObject::TestActive(int X, int Y) {
    TbsQuickButtonItems* items = Parent->QuickButtons();
    if (items->Count() == 0)
        return;
    OldActiveQuickButton = ActiveQuickButton;
    const int found = (X == -1 && Y == -1) ? -1 : QuickButtonAt(X, Y);
    bool changed = false;
    for (int i = 0; i < items->Count(); ++i) {
        if (i == PopupMenuQuickButton)
            continue;
        TbsQuickButtonItem* b = items->Items(i);
        if (b->Active != (i == found)) {
            b->Active = i == found;
            changed = true;
        }
    }
    ActiveQuickButton = found;
    if (found != OldActiveQuickButton || changed)
        UpdateNCForm();
    if (found == OldActiveQuickButton || !Parent->QuickButtonsShowHint || !Parent->SkinHint())
        return;
    if (found != -1 && !items->Items(found)->Hint.empty())
        Parent->SkinHint()->ActivateHint2(items->Items(found)->Hint);
    else if (found == -1)
        Parent->SkinHint()->HideHint();
}

void TbsSkinCaptionObject::TrackMenu(const TRect& R, TbsSkinPopupMenu* Menu) {
    if (!Menu)
        return;
    for (TbsLayerManager* m : {Parent->FLayerManager, Parent->FMenuLayerManager})
        if (m && m->IsVisible)
            m->Hide();
    Menu->PopupFromRect(ToScreen(R), false);
    // A menu that could not open leaves no button waiting for it.
    if (!Parent->SkinMenu()->Visible())
        QuickMenuClosed();
}

void TbsSkinCaptionObject::QuickMenuClosed() {
    TbsQuickButtonItems* items = Parent->QuickButtons();
    const int i = PopupMenuQuickButton;
    PopupMenuQuickButton = -1;
    if (i < 0 || i >= items->Count())
        return;
    items->Items(i)->FDown = false;
    items->Items(i)->Active = false;
    UpdateNCForm();
}

void TbsSkinCaptionObject::QuickDeactivate() {
    TbsQuickButtonItems* items = Parent->QuickButtons();
    for (int i = 0; i < items->Count(); ++i) {
        TbsQuickButtonItem* b = items->Items(i);
        if (b->GroupIndex() == 0)
            b->FDown = false;
        b->Active = false;
    }
    ActiveQuickButton = -1;
}

void TbsSkinCaptionObject::ReleaseQuickCapture() {
    MouseCaptureQuickButton = -1;
    if (Parent->FForm->HandleAllocated() && GetCapture() == Parent->FForm->Handle())
        ReleaseCapture();
}

void TbsSkinCaptionObject::MouseDown(int X, int Y, TMouseButton Button) {
    TbsActiveSkinObject::MouseDown(X, Y, Button);
    TbsQuickButtonItems* items = Parent->QuickButtons();
    if (Button == mbLeft && QuickButtonsShown()) {
        FDown = true;
        TestActive(X, Y);
        const int i = ActiveQuickButton;
        TbsQuickButtonItem* hot = (i >= 0 && i < items->Count()) ? items->Items(i) : nullptr;
        bool click = false, track = false;
        if (hot) {
            hot->FAllowAllUpCheck = false;
            if (hot->GroupIndex() > 0) {
                if (!hot->Down()) {
                    hot->SetDown(true);
                    click = true;
                } else if (hot->AllowAllUp()) {
                    hot->FAllowAllUpCheck = true;
                }
            } else {
                hot->FDown = true;
                if (hot->PopupMenu() && PopupMenuQuickButton != i) {
                    PopupMenuQuickButton = i;
                    MouseCaptureQuickButton = -1;
                    track = true;
                } else {
                    MouseCaptureQuickButton = i;
                }
            }
            // The release reaches the caption wherever it happens (a sticky button lifts on it).
            if (!track && Parent->FForm->HandleAllocated())
                SetCapture(Parent->FForm->Handle());
            for (int j = 0; j < items->Count(); ++j) {
                if (j == i)
                    continue;
                items->Items(j)->Active = false;
                if (items->Items(j)->GroupIndex() == 0)
                    items->Items(j)->FDown = false;
            }
        }
        UpdateNCForm();
        // The handlers run last: they may change the collection.
        if (click && hot->OnClick)
            hot->OnClick(Parent);
        else if (track)
            TrackMenu(hot->ItemRect, hot->PopupMenu());
    } else if (Button == mbLeft) {
        FDown = true;
    }
    if (Parent->QuickButtonsShowHint && Parent->SkinHint())
        Parent->SkinHint()->HideHint();
}

void TbsSkinCaptionObject::MouseUp(int X, int Y, TMouseButton Button) {
    TbsActiveSkinObject::MouseUp(X, Y, Button);
    if (Button == mbLeft)
        FDown = false;
    TbsQuickButtonItems* items = Parent->QuickButtons();
    if (items->Count() == 0) {
        ReleaseQuickCapture();
        return;
    }
    if (QuickButtonsShown())
        TestActive(X, Y);
    else
        ActiveQuickButton = -1;
    const int captured = MouseCaptureQuickButton;
    if (ActiveQuickButton == -1 && captured >= 0 && captured < items->Count()) {
        items->Items(captured)->FDown = false;
        items->Items(captured)->Active = false;
        UpdateNCForm();
    }
    ReleaseQuickCapture();
    const int i = ActiveQuickButton;
    if (Button != mbLeft || i < 0 || i >= items->Count())
        return;
    TbsQuickButtonItem* hot = items->Items(i);
    if (hot->GroupIndex() > 0) {
        if (hot->Down() && hot->FAllowAllUpCheck) {
            hot->FAllowAllUpCheck = false;
            hot->SetDown(false);
            if (hot->OnClick)
                hot->OnClick(Parent);
        }
        return;
    }
    const bool wasDown = hot->FDown;
    for (int j = 0; j < items->Count(); ++j) {
        TbsQuickButtonItem* b = items->Items(j);
        if ((j == i && PopupMenuQuickButton == i) || b->GroupIndex() > 0)
            continue;
        b->FDown = false;
    }
    UpdateNCForm();
    if (wasDown && hot->OnClick)
        hot->OnClick(Parent);
}

void TbsSkinCaptionObject::MouseMove(int X, int Y) {
    TbsActiveSkinObject::MouseMove(X, Y);
    if (QuickButtonsShown())
        TestActive(X, Y);
}

void TbsSkinCaptionObject::MouseLeave() {
    FMouseIn = false;
    Parent->MouseLeaveEvent(IDName);
    if (Parent->QuickButtons()->Count() == 0)
        return;
    TestActive(-1, -1);
    if (FDown) {
        FDown = false;
        Parent->MouseCaptureObject = -1;
        TbsQuickButtonItems* items = Parent->QuickButtons();
        const int c = MouseCaptureQuickButton;
        if (c >= 0 && c < items->Count()) {
            items->Items(c)->FDown = false;
            UpdateNCForm();
        }
        ReleaseQuickCapture();
    }
}
