// One entry of a skinned menu level: its state events, morphing and animation, and its drawing from the skin's menu
// item record or in the default look.
#include <algorithm>
#include <memory>

#include "skin/core/EffectBitmap.h"
#include "skin/core/GlyphPainters.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinText.h"
#include "skin/form/SkinMenu.h"

namespace {
bool IsNullRect(const TRect& R) {
    return R.Left == 0 && R.Top == 0 && R.Right == 0 && R.Bottom == 0;
}

// The round dot of a checked radio entry.
void DrawMenuRadioImage(TCanvas* C, int X, int Y, TColor Color) {
    C->Pen()->SetColor(Color);
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color);
    C->Ellipse(X, Y, X + 6, Y + 6);
    C->Brush()->SetStyle(bsClear);
}

// The submenu arrow: a right-pointing triangle 4 pixels wide and 7 high.
void DrawSubImage(TCanvas* C, int X, int Y, TColor Color) {
    C->Pen()->SetColor(Color);
    for (int i = 0; i < 4; ++i) {
        C->MoveTo(X + i, Y + i);
        C->LineTo(X + i, Y + 7 - i);
    }
}

// The glyph of the form's own system and tray menu entries (by name), false for other entries.
bool DrawSystemGlyph(TCanvas* C, const std::wstring& Name, int X, int Y, TColor Color) {
    if (Name == L"SKF_CLOSE" || Name == L"TRAY_SKF_CLOSE")
        DrawCloseImage(C, X, Y, Color);
    else if (Name == L"SKF_MINITEM")
        DrawMinimizeImage(C, X, Y, Color);
    else if (Name == L"SKF_MAXITEM")
        DrawMaximizeImage(C, X, Y, Color);
    else if (Name == L"SKF_RESTORE" || Name == L"TRAY_SKF_RESTORE")
        DrawRestoreImage(C, X, Y, Color);
    else if (Name == L"SKF_ROLLUP")
        DrawRollUpImage(C, X, Y, Color);
    else if (Name == L"SKF_MINTOTRAY")
        DrawMTImage(C, X, Y, Color);
    else
        return false;
    return true;
}
}  // namespace

TbsSkinMenuItem::TbsSkinMenuItem(TbsSkinPopupWindow* AParent, TMenuItem* AMenuItem, TbsDataSkinMenuItem* AData)
    : Parent(AParent), MI(AData), MenuItem(AMenuItem) {
    if (!MI)
        return;
    TbsSkinData* sd = Parent->SD;
    if (sd && MI->ActivePictureIndex >= 0 && MI->ActivePictureIndex < sd->ActivePictureCount()) {
        ActivePicture = sd->GetActivePicture(MI->ActivePictureIndex);
        skinRect_ = MI->SkinRect;
        activeSkinRect_ = MI->ActiveSkinRect;
    }
}

bool TbsSkinMenuItem::IsGroupCaption() const {
    const std::wstring& c = MenuItem->Caption();
    return !MenuItem->Enabled() && !IsSeparator() && !c.empty() && c.front() == L'-' && c.back() == L'-';
}

bool TbsSkinMenuItem::EnableMorphing() const {
    TbsSkinData* sd = Parent->SD;
    return MI && MI->Morphing && ActivePicture && sd && !sd->Empty && sd->EnableSkinEffects;
}

bool TbsSkinMenuItem::EnableAnimation() const {
    TbsSkinData* sd = Parent->SD;
    return MI && !IsNullRect(MI->AnimateSkinRect) && MI->FrameCount > 0 && ActivePicture && sd && !sd->Empty &&
           sd->EnableSkinEffects;
}

bool TbsSkinMenuItem::CanMorphing() {
    if (!FVisible) {
        if (FMorphKf != 0) {
            Active = Down = false;
            FMorphKf = 0;
        }
        return false;
    }
    return ((Active || Down) && FMorphKf < 1) || (!Active && !Down && FMorphKf > 0);
}

void TbsSkinMenuItem::SetMorphKf(double Value) {
    FMorphKf = std::clamp(Value, 0.0, 1.0);
}

void TbsSkinMenuItem::DoMorphing() {
    SetMorphKf(FMorphKf + ((Active || Down) ? 0.2 : -0.2));
    Parent->DrawItemNow(this);
}

void TbsSkinMenuItem::Redraw() {
    if (MI && EnableAnimation()) {
        Parent->MorphTimer->SetInterval(static_cast<UINT>(std::max(1, MI->AnimateInterval)));
        if (MI->InActiveAnimation || Active) {
            Parent->MorphTimer->SetEnabled(true);
            return;
        }
        CurrentFrame = 0;
        Parent->DrawItemNow(this);
        return;
    }
    if (MI && EnableMorphing()) {
        Parent->MorphTimer->SetInterval(20);
        Parent->MorphTimer->SetEnabled(true);
        return;
    }
    Parent->DrawItemNow(this);
}

void TbsSkinMenuItem::MouseEnter(bool Kb) {
    Active = true;
    if (EnableAnimation())
        CurrentFrame = 0;
    for (auto& other : Parent->ItemList)
        if (other.get() != this && other->Down) {
            other->Down = false;
            other->Redraw();
        }
    TbsSkinMenu* menu = Parent->ParentMenu;
    if (WaitCommand && !Kb) {
        Redraw();
    } else if (Down) {
        const int index = menu->GetPWIndex(Parent);
        if (index + 2 < menu->LevelCount())
            menu->UpDatePW(menu->Level(index + 1));
    } else {
        Redraw();
        menu->CheckItem(Parent, this, false, Kb);
    }
    if (Parent->Hint() != MenuItem->Hint())
        Parent->SetHint(MenuItem->Hint());
}

void TbsSkinMenuItem::MouseLeave() {
    Active = false;
    if (EnableAnimation())
        CurrentFrame = MI->FrameCount + 1;
    WaitCommand = false;
    if (!Down)
        Redraw();
    TbsSkinMenu* menu = Parent->ParentMenu;
    if (menu->WItem == this) {
        menu->WaitTimer->SetEnabled(false);
        menu->WItem = nullptr;
    }
}

void TbsSkinMenuItem::MouseDown(int, int) {
    WaitCommand = false;
    if (!Down && MenuItem->Enabled())
        Parent->ParentMenu->CheckItem(Parent, this, true, false);
}

TRect TbsSkinMenuItem::FrameRect(int Frame) const {
    const TRect& A = MI->AnimateSkinRect;
    const int n = std::max(1, MI->FrameCount);
    if (A.Height() > skinRect_.Height()) {
        const int h = A.Height() / n;
        return {A.Left, A.Top + (Frame - 1) * h, A.Right, A.Top + Frame * h};
    }
    const int w = A.Width() / n;
    return {A.Left + (Frame - 1) * w, A.Top, A.Left + Frame * w, A.Bottom};
}

bool TbsSkinMenuItem::HasImage(int& W, int& H) const {
    if (MenuItem->HasBitmap()) {
        W = MenuItem->Bitmap()->Width();
        H = MenuItem->Bitmap()->Height();
        return true;
    }
    TCustomImageList* il = Parent->ImgL;
    if (il && MenuItem->ImageIndex() >= 0 && MenuItem->ImageIndex() < il->Count()) {
        W = il->Width();
        H = il->Height();
        return true;
    }
    return false;
}

void TbsSkinMenuItem::DrawCaptionAndShortCut(TCanvas* C, const TRect& T, int G, int RightGap, bool OddFix) {
    std::wstring caption = MenuItem->Caption();
    TRect cr{T.Left + G, 0, T.Right - RightGap, 0};
    BSDrawSkinText(C, caption, cr, DT_CALCRECT | DT_SINGLELINE);
    const int h = cr.Height();
    cr.Top = T.Top + (T.Height() - h) / 2;
    cr.Bottom = cr.Top + h;
    cr.Right += 2;
    if (OddFix && IsOddFontHeight(C)) {
        --cr.Top;
        --cr.Bottom;
    }
    // The rectangle is the text's own size, so the caption starts at the text column.
    BSDrawSkinText(C, caption, cr, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    if (MenuItem->ShortCut() != 0) {
        const std::wstring sc = ShortCutToText(MenuItem->ShortCut());
        TRect sr{0, 0, 0, 0};
        BSDrawSkinText(C, sc, sr, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        const int w = sr.Width();
        TRect r{T.Right - w - RightGap, cr.Top, T.Right - RightGap, cr.Bottom};
        BSDrawSkinText(C, sc, r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
}

void TbsSkinMenuItem::DrawSkinGlyph(TCanvas* Cnvs,
                                    const TRect& Normal,
                                    const TRect& ActiveR,
                                    const TRect& R,
                                    bool AActive) {
    const TRect src = AActive && !IsNullRect(ActiveR) ? ActiveR : Normal;
    if (!ActivePicture || src.Width() <= 0 || src.Height() <= 0)
        return;
    const int x = std::max(R.Left, R.Left + (R.Width() - src.Width()) / 2);
    const int y = std::max(R.Top, R.Top + (R.Height() - src.Height()) / 2);
    // Transparent by the picture part's bottom-left pixel, as the skins are drawn for.
    TBitmap part(src.Width(), src.Height());
    part.Canvas()->CopyRect({0, 0, src.Width(), src.Height()}, ActivePicture->Canvas(), src);
    part.SetTransparent(true);
    Cnvs->Draw(x, y, &part);
}

void TbsSkinMenuItem::DrawImageOrGlyph(TCanvas* C,
                                       const TRect& T,
                                       const TRect* ImageR,
                                       TColor GlyphColor,
                                       bool AActive,
                                       int HShift) {
    int iw = 0, ih = 0;
    if (HasImage(iw, ih)) {
        int x = T.Left + 2, y = T.Top + (T.Height() - ih) / 2;
        if (ImageR) {
            TRect ir = *ImageR;
            if (!MenuItem->HasBitmap())
                ir.Bottom += HShift;
            x = ir.Left + (ir.Width() - iw) / 2;
            y = ir.Top + (ir.Height() - ih) / 2;
        }
        if (MenuItem->Checked()) {
            C->Brush()->SetStyle(bsSolid);
            C->Brush()->SetColor(GlyphColor);
            C->FrameRect({x - 1, y - 1, x + iw + 1, y + ih + 1});
            C->Brush()->SetStyle(bsClear);
        }
        if (MenuItem->HasBitmap())
            C->Draw(x, y, MenuItem->Bitmap());
        else
            Parent->ImgL->Draw(C, x, y, MenuItem->ImageIndex(), MenuItem->Enabled());
        return;
    }
    TPoint P{T.Left + 2, T.Top + T.Height() / 2 - 4};
    TRect glyphR{};
    if (ImageR) {
        TRect ir = *ImageR;
        ir.Bottom += HShift;
        P = {ir.Left + ir.Width() / 2 - 4, ir.Top + ir.Height() / 2 - 4};
        glyphR = ir;
    } else if (MI) {
        glyphR = {MI->TextRct.Left + 2, T.Top, MI->TextRct.Left + 16, T.Bottom};
    }
    if (DrawSystemGlyph(C, MenuItem->Name(), P.X, P.Y, GlyphColor))
        return;
    if (!MenuItem->Checked())
        return;
    if (MenuItem->RadioItem()) {
        if (!MI || IsNullRect(MI->RadioImageRect))
            DrawMenuRadioImage(C, P.X, P.Y + 1, GlyphColor);
        else
            DrawSkinGlyph(C, MI->RadioImageRect, MI->ActiveRadioImageRect, glyphR, AActive);
    } else {
        if (!MI || IsNullRect(MI->CheckImageRect))
            DrawCheckImage(C, P.X, P.Y, GlyphColor);
        else
            DrawSkinGlyph(C, MI->CheckImageRect, MI->ActiveCheckImageRect, glyphR, AActive);
    }
}

void TbsSkinMenuItem::DrawGroupCaptionItem(TCanvas* Cnvs, const TRect& R, const std::wstring& Text, bool Resize) {
    TbsSkinData* sd = Parent->SD;
    if (!sd)
        return;
    TbsDataSkinLabelControl* label = nullptr;
    for (const wchar_t* name : {L"menuheader", L"label"}) {
        const int i = sd->GetControlIndex(name);
        if (i >= 0)
            label = dynamic_cast<TbsDataSkinLabelControl*>(sd->CtrlList[static_cast<size_t>(i)].get());
        if (label)
            break;
    }
    const std::wstring text = Text.size() >= 2 ? Text.substr(1, Text.size() - 2) : std::wstring();
    TBitmap* pic = label ? (label->PictureIndex >= 0 && label->PictureIndex < sd->ActivePictureCount()
                                ? sd->GetActivePicture(label->PictureIndex)
                                : nullptr)
                         : nullptr;
    if (!label || !pic || label->SkinRect.Width() <= 0 || label->SkinRect.Height() <= 0)
        return;
    const TRect& S = label->SkinRect;
    TBitmap b;
    if (Resize) {
        b.SetSize(R.Width(), R.Height());
        CreateStretchImage(&b, pic, S,
                           {label->LTPoint.X, S.Height() / 4, label->RTPoint.X, S.Height() - S.Height() / 4}, true);
    } else {
        b.SetSize(R.Width(), S.Height());
        CreateHSkinImage(label->LTPoint.X, S.Width() - label->RTPoint.X, &b, pic, S, R.Width(), S.Height(),
                         label->StretchEffect);
    }
    TCanvas* c = b.Canvas();
    c->Font()->SetName(label->FontName);
    c->Font()->SetHeight(label->FontHeight);
    c->Font()->SetStyle(ToFontStyles(label->FontStyle));
    c->Font()->SetColor(static_cast<TColor>(label->FontColor));
    c->Font()->SetCharset(Cnvs->Font()->Charset());
    c->Brush()->SetStyle(bsClear);
    TRect tr{label->ClRect.Left, label->ClRect.Top, b.Width() + label->ClRect.Right - S.Width(), b.Height()};
    if (IsOddFontHeight(c)) {
        --tr.Top;
        --tr.Bottom;
    }
    BSDrawSkinText(c, text, tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    const int y = Resize ? R.Top : R.Top + (R.Height() - b.Height()) / 2;
    Cnvs->Draw(R.Left, y, &b);
}

void TbsSkinMenuItem::CreateItemImage(TBitmap* B, bool AActive, bool Resize, int Frame) {
    const int W = ObjectRect.Width(), H = ObjectRect.Height();
    B->SetSize(W, H);
    TCanvas* C = B->Canvas();
    const TRect S = Frame > 0 ? FrameRect(Frame) : (AActive ? activeSkinRect_ : skinRect_);
    if (!AActive && MI->InActiveTransparent && Parent->FPaintBuffer) {
        C->CopyRect({0, 0, W, H}, Parent->FPaintBuffer->Canvas(), ObjectRect);
    } else if (ActivePicture && S.Width() > 0 && S.Height() > 0) {
        if (Resize) {
            CreateStretchImage(B, ActivePicture, S,
                               {MI->ItemLO, S.Height() / 4, S.Width() - MI->ItemRO, S.Height() - S.Height() / 4}, true);
        } else {
            const bool stretch = (AActive && MI->StretchEffect) || (!AActive && MI->InActiveStretchEffect) ||
                                 (!AActive && MI->StretchEffect && Frame > 0);
            CreateHSkinImage(MI->ItemLO, MI->ItemRO, B, ActivePicture, S, W, H, stretch);
        }
    }
    TRect T = MI->TextRct;
    T.Right += W - skinRect_.Width();
    if (Resize)
        T.Bottom += H - skinRect_.Height();
    const bool ownImageRect = !IsNullRect(MI->ImageRct);
    int G = Parent->ImgL ? Parent->GlyphWidth : 16;
    if (ownImageRect)
        G = 0;
    C->SetFont(Parent->ItemFont.get());
    C->Brush()->SetStyle(bsClear);
    TColor color = static_cast<TColor>(AActive               ? MI->ActiveFontColor
                                       : MenuItem->Enabled() ? MI->FontColor
                                                             : MI->UnEnabledFontColor);
    C->Font()->SetColor(color);
    if (IsGroupCaption()) {
        DrawGroupCaptionItem(C, {0, 0, W, H}, MenuItem->Caption(), Resize);
        return;
    }
    DrawCaptionAndShortCut(C, T, G, 16, true);
    if (MenuItem->Count() > 0) {
        if (IsNullRect(MI->ArrowImageRect))
            DrawSubImage(C, T.Right - 7, T.Top + T.Height() / 2 - 4, color);
        else
            DrawSkinGlyph(C, MI->ArrowImageRect, MI->ActiveArrowImageRect,
                          {T.Right - MI->ArrowImageRect.Width() - 5, T.Top, T.Right, T.Bottom}, AActive);
    }
    if (MI->UseImageColor)
        color = static_cast<TColor>(AActive ? MI->ActiveImageColor : MI->ImageColor);
    const TRect imageR = MI->ImageRct;
    DrawImageOrGlyph(C, T, ownImageRect ? &imageR : nullptr, color, AActive, H - skinRect_.Height());
}

void TbsSkinMenuItem::DefaultDraw(TCanvas* Cnvs) {
    const int W = ObjectRect.Width(), H = ObjectRect.Height();
    TBitmap b(W, H);
    TCanvas* C = b.Canvas();
    C->SetFont(Parent->ItemFont.get());
    const int G = Parent->ImgL ? Parent->GlyphWidth : 19;
    const TRect I{2, 2, W - 2, H - 2};
    TColor color = clWindowText;
    C->Brush()->SetStyle(bsSolid);
    if ((Active || Down) && !IsSeparator()) {
        C->Brush()->SetColor(RGB(193, 212, 243));
        C->FillRect({0, 0, W, H});
    } else {
        // The image column continues the level's button-face strip.
        C->Brush()->SetColor(clBtnFace);
        C->FillRect({0, 0, G, H});
        C->Brush()->SetColor(clWindow);
        C->FillRect({G, 0, W, H});
        if (!MenuItem->Enabled())
            color = clBtnShadow;
    }
    if (IsSeparator()) {
        C->Brush()->SetColor(clBtnShadow);
        C->FrameRect({G, H / 2, W, H / 2 + 1});
    } else if (IsGroupCaption()) {
        C->Brush()->SetColor(clBtnShadow);
        C->FillRect({0, 0, W, H});
        C->Brush()->SetStyle(bsClear);
        C->Font()->SetColor(clBtnHighlight);
        const std::wstring& cap = MenuItem->Caption();
        TRect r = I;
        BSDrawSkinText(C, cap.substr(1, cap.size() - 2), r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    } else {
        C->Brush()->SetStyle(bsClear);
        C->Font()->SetColor(color);
        DrawCaptionAndShortCut(C, I, G, 19, false);
        if (MenuItem->Count() > 0)
            DrawSubImage(C, I.Right - 7, I.Top + I.Height() / 2 - 4, color);
        int iw = 0, ih = 0;
        if (HasImage(iw, ih)) {
            DrawImageOrGlyph(C, I, nullptr, color, Active, 0);
        } else if (!DrawSystemGlyph(C, MenuItem->Name(), I.Left + 2, I.Top + I.Height() / 2 - 4, color) &&
                   MenuItem->Checked()) {
            if (MenuItem->RadioItem())
                DrawMenuRadioImage(C, I.Left + 3, I.Top + I.Height() / 2 - 3, color);
            else
                DrawCheckImage(C, I.Left + 3, I.Top + I.Height() / 2 - 4, color);
        }
    }
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &b);
}

void TbsSkinMenuItem::Draw(TCanvas* Cnvs) {
    if (!FVisible || ObjectRect.Width() <= 0 || ObjectRect.Height() <= 0)
        return;
    if (!MI || !ActivePicture) {
        DefaultDraw(Cnvs);
        return;
    }
    const bool resize = !Parent->ParentMenu->FUseSkinSize;
    const int W = ObjectRect.Width(), H = ObjectRect.Height();
    TBitmap b(W, H);
    if (IsSeparator()) {
        if (MI->DividerRect.Width() > 0 && MI->DividerRect.Height() > 0)
            CreateHSkinImage(MI->DividerLO, MI->DividerRO, &b, ActivePicture, MI->DividerRect, W, H,
                             MI->DividerStretchEffect);
    } else {
        const bool state = Active || Down;
        if (EnableAnimation() && CurrentFrame >= 1 && CurrentFrame <= MI->FrameCount) {
            CreateItemImage(&b, state, resize, CurrentFrame);
        } else if (EnableMorphing()) {
            if (state && FMorphKf >= 1) {
                CreateItemImage(&b, true, resize, 0);
            } else if (state || FMorphKf != 0) {
                TBitmap normal, active;
                CreateItemImage(&normal, false, resize, 0);
                CreateItemImage(&active, true, resize, 0);
                auto e1 = TbsEffectBmp::CreateFromhWnd(normal.Handle());
                auto e2 = TbsEffectBmp::CreateFromhWnd(active.Handle());
                if (e1 && e2) {
                    switch (MI->MorphKind) {
                        case mkGradient:
                            e1->MorphGrad(e2.get(), FMorphKf);
                            break;
                        case mkLeftGradient:
                            e1->MorphLeftGrad(e2.get(), FMorphKf);
                            break;
                        case mkRightGradient:
                            e1->MorphRightGrad(e2.get(), FMorphKf);
                            break;
                        case mkLeftSlide:
                            e1->MorphLeftSlide(e2.get(), FMorphKf);
                            break;
                        case mkRightSlide:
                            e1->MorphRightSlide(e2.get(), FMorphKf);
                            break;
                        case mkPush:
                            e1->MorphPush(e2.get(), FMorphKf);
                            break;
                        default:
                            e1->Morph(e2.get(), FMorphKf);
                            break;
                    }
                    e1->Draw(b.Canvas()->Handle(), 0, 0);
                } else {
                    CreateItemImage(&b, state, resize, 0);
                }
            } else {
                CreateItemImage(&b, false, resize, 0);
            }
        } else {
            CreateItemImage(&b, state, resize, 0);
        }
    }
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &b);
}
