#include "skin/controls/SkinLabels.h"

#include "skin/controls/ControlSeam.h"
#include "skin/controls/ControlSkinning.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinText.h"

// ---- TbsLabelSkinning -----------------------------------------------------------------------------------------------
void TbsLabelSkinning::Lookup() {
    FIndex = LookupSkinEntry(FSD, FSkinDataName);
    if (auto* e = dynamic_cast<TbsDataSkinStdLabelControl*>(SkinEntryAt(FSD, FIndex))) {
        FontName = e->FontName;
        FontStyle = ToFontStyles(e->FontStyle);
        FontHeight = e->FontHeight;
        FontColor = static_cast<TColor>(e->FontColor);
        ActiveFontColor = static_cast<TColor>(e->ActiveFontColor);
    }
}

void TbsLabelSkinning::ApplyFont(TFont* Target, bool UseSkinFont, TFont* Default, TFont* Own) const {
    if (!HasEntry()) {
        Target->Assign(UseSkinFont ? Default : Own);
    } else {
        Target->Assign(Own);
        if (UseSkinFont) {
            Target->SetName(FontName);
            Target->SetStyle(FontStyle);
            Target->SetHeight(FontHeight);
        }
    }
    Target->SetCharset(SkinFontCharset(FSD, Default->Charset()));
}

TColor TbsLabelSkinning::HighlightColor() const {
    return HasEntry() && FSD ? static_cast<TColor>(FSD->SkinColors()->cBtnHighLight) : clBtnHighlight;
}

TColor TbsLabelSkinning::ShadowColor() const {
    return HasEntry() && FSD ? static_cast<TColor>(FSD->SkinColors()->cBtnShadow) : clBtnShadow;
}

namespace {
// The measured text of an empty caption, or of a lone accelerator mark, is a blank: the label keeps a height.
std::wstring MeasuredText(std::wstring Text, UINT Flags, bool ShowAccelChar) {
    if ((Flags & DT_CALCRECT) && (Text.empty() || (ShowAccelChar && Text == L"&")))
        Text += L" ";
    return Text;
}

// A measured text gets two pixels more width: the last glyph's ink may reach past its advance (Wine draws a final
// Cyrillic letter wider than it measures), and the embossed copy sits one pixel to the right.
void WidenMeasure(TRect& R, UINT Flags) {
    if ((Flags & DT_CALCRECT) && !(Flags & DT_WORDBREAK))
        R.Right += 2;
}

// Disabled text: the highlight copy one pixel right and down, the shadow copy in place.
void DrawEmbossed(TCanvas* C, const std::wstring& Text, TRect& R, UINT Flags, TColor Highlight, TColor Shadow) {
    if (Flags & DT_CALCRECT) {
        C->DrawText(Text, R, Flags);
        return;
    }
    TRect moved = R;
    moved.Offset(1, 1);
    C->Font()->SetColor(Highlight);
    C->DrawText(Text, moved, Flags);
    C->Font()->SetColor(Shadow);
    C->DrawText(Text, R, Flags);
}
}  // namespace

// ---- TbsSkinLabelBase -----------------------------------------------------------------------------------------------
TbsSkinLabelBase::TbsSkinLabelBase(TComponent* AOwner) : TCustomLabel(AOwner), FDefaultFont(std::make_unique<TFont>()) {
    SetTransparent(true);
}

TbsSkinLabelBase::~TbsSkinLabelBase() = default;

void TbsSkinLabelBase::SetSkinData(TbsSkinData* Value) {
    if (S.FSD != Value)
        SetBorrowed(this, S.FSD, Value);
    if (Value)
        ChangeSkinData();
}

void TbsSkinLabelBase::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomLabel::Notification(AComponent, Operation);
    if (Operation == opRemove && ForgetRemoved(S.FSD, AComponent))
        S.FIndex = -1;
}

void TbsSkinLabelBase::PaintTo(HDC DC, int X, int Y) {
    PaintCanvasTo(Canvas(), DC, X, Y, [this] { Paint(); });
}

// ---- TbsSkinStdLabel ------------------------------------------------------------------------------------------------
TbsSkinStdLabel::TbsSkinStdLabel(TComponent* AOwner) : TbsSkinLabelBase(AOwner) {}

TbsSkinStdLabel::~TbsSkinStdLabel() = default;

void TbsSkinStdLabel::SetEllipsType(TbsEllipsType Value) {
    FEllipsType = Value;
    Invalidate();
}

void TbsSkinStdLabel::ChangeSkinData() {
    S.Lookup();
    if (AutoSize())
        AdjustBounds();
    Invalidate();
}

void TbsSkinStdLabel::DrawLabelText(TCanvas* C, TRect& R, UINT Flags, std::wstring Text) {
    S.Lookup();
    Text = MeasuredText(std::move(Text), Flags, ShowAccelChar());
    if (!ShowAccelChar())
        Flags |= DT_NOPREFIX;
    if (FEllipsType == bsetEndEllips)
        Flags |= DT_END_ELLIPSIS;
    else if (FEllipsType == bsetPathEllips)
        Flags |= DT_PATH_ELLIPSIS;
    TFont* font = C->Font();
    S.ApplyFont(font, FUseSkinFont, FDefaultFont.get(), Font());
    font->SetColor(S.HasEntry() && FUseSkinColor ? S.FontColor : Font()->Color());
    C->Brush()->SetStyle(bsClear);
    if (Enabled())
        C->DrawText(Text, R, Flags);
    else
        DrawEmbossed(C, Text, R, Flags, S.HighlightColor(), S.ShadowColor());
    WidenMeasure(R, Flags);
}

void TbsSkinStdLabel::DoDrawText(TRect& R, UINT Flags) {
    DrawLabelText(Canvas(), R, Flags, GetLabelText());
}

void TbsSkinStdLabel::PaintSkinTo(TCanvas* C, int X, int Y, const std::wstring& AText) {
    TRect r = Bounds(X, Y, Width(), Height());
    if (!Transparent()) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(Color());
        C->FillRect(r);
    }
    const UINT flags = DrawTextFlags();
    if (Layout() != tlTop) {
        TRect calc = r;
        DrawLabelText(C, calc, flags | DT_CALCRECT, AText);
        const int dy = r.Height() - calc.Height();
        r.Top += Layout() == tlBottom ? dy : dy / 2;
    }
    DrawLabelText(C, r, flags, AText);
}

// ---- TbsSkinLinkLabel -----------------------------------------------------------------------------------------------
TbsSkinLinkLabel::TbsSkinLinkLabel(TComponent* AOwner) : TbsSkinLabelBase(AOwner) {
    FDefaultFont->SetName(L"Tahoma");
    FDefaultFont->SetHeight(13);
    FDefaultFont->SetStyle({fsUnderline});
    SetParentFont(false);
    Font()->Assign(FDefaultFont.get());
    SetCursor(crHandPoint);
}

TbsSkinLinkLabel::~TbsSkinLinkLabel() = default;

void TbsSkinLinkLabel::SetGlowEffect(bool Value) {
    FGlowEffect = Value;
    Invalidate();
}

void TbsSkinLinkLabel::SetGlowSize(int Value) {
    FGlowSize = Value;
    Invalidate();
}

void TbsSkinLinkLabel::SetUseUnderLine(bool Value) {
    if (FUseUnderLine == Value)
        return;
    FUseUnderLine = Value;
    Invalidate();
}

void TbsSkinLinkLabel::ChangeSkinData() {
    S.Lookup();
    Invalidate();
}

void TbsSkinLinkLabel::Click() {
    TCustomLabel::Click();
    if (!FURL.empty())
        ControlSeam().ShellOpen(FURL);
}

void TbsSkinLinkLabel::WndProc(TMessage& Message) {
    if (Message.Msg == CM_MOUSEENTER || Message.Msg == CM_MOUSELEAVE) {
        FMouseIn = Message.Msg == CM_MOUSEENTER;
        Invalidate();
    }
    TCustomLabel::WndProc(Message);
}

void TbsSkinLinkLabel::DoDrawText(TRect& R, UINT Flags) {
    S.Lookup();
    const std::wstring text = MeasuredText(GetLabelText(), Flags, ShowAccelChar());
    if (!ShowAccelChar())
        Flags |= DT_NOPREFIX;
    TCanvas* C = Canvas();
    TFont* font = C->Font();
    S.ApplyFont(font, FUseSkinFont, FDefaultFont.get(), Font());
    const bool hot = FMouseIn;
    TColor colour;
    if (!S.HasEntry())
        colour = hot ? FDefaultActiveFontColor : Font()->Color();
    else
        colour = hot && !FGlowEffect ? S.ActiveFontColor : S.FontColor;
    font->SetColor(colour);
    TFontStyles style = font->Style();
    if (FUseUnderLine)
        style.Include(fsUnderline);
    else
        style.Exclude(fsUnderline);
    font->SetStyle(style);
    // The glow needs room above the text: it sits GlowSize lower at all times.
    TRect r = R;
    if (FGlowEffect)
        r.Offset(0, FGlowSize);
    C->Brush()->SetStyle(bsClear);
    if (!Enabled()) {
        DrawEmbossed(C, text, r, Flags, S.HighlightColor(), S.ShadowColor());
    } else if (hot && FGlowEffect && !(Flags & DT_CALCRECT)) {
        DrawEffectText(C, r, text, FGlowSize, S.HasEntry() ? S.ActiveFontColor : FDefaultActiveFontColor, 0, Flags);
    } else {
        C->DrawText(text, r, Flags);
    }
    if (Flags & DT_CALCRECT) {
        WidenMeasure(r, Flags);
        R = r;
    }
}
