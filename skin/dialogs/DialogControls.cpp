// The dialogs' shared text and picture windows and their measuring helpers.
#include "skin/dialogs/DialogControls.h"

#include <algorithm>

#include "classlib/GdiHandles.h"

namespace {

constexpr UINT kTextFlags = DT_LEFT | DT_NOPREFIX | DT_EXPANDTABS;

// A screen DC with Font selected for measuring; puts the old font back.
class MeasureDC {
  public:
    explicit MeasureDC(TFont* Font) : dc_(nullptr), font_(dc_, Font->Handle()) {}
    HDC dc() const { return dc_; }

  private:
    // The font goes back before the DC is released.
    TClientDC dc_;
    TSelectObjectGuard font_;
};

}  // namespace

TSize MeasureDlgText(TFont* Font, const std::wstring& Text, int MaxWidth, UINT ExtraFlags) {
    MeasureDC m(Font);
    RECT r{0, 0, MaxWidth > 0 ? MaxWidth : 0, 0};
    UINT flags = kTextFlags | DT_CALCRECT | ExtraFlags;
    if (MaxWidth > 0)
        flags |= DT_WORDBREAK;
    // An empty text still takes one line, so a box without message keeps its shape.
    const std::wstring s = Text.empty() ? L" " : Text;
    DrawTextW(m.dc(), s.c_str(), static_cast<int>(s.size()), &r, flags);
    return TSize{r.right - r.left, r.bottom - r.top};
}

TbsDialogUnits::TbsDialogUnits(TFont* Font) {
    static const wchar_t kLetters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    MeasureDC m(Font);
    SIZE s{};
    GetTextExtentPoint32W(m.dc(), kLetters, 52, &s);
    cx = s.cx / 52;
    cy = s.cy;
}

void SetDefaultDlgFont(TFont* Font) {
    Font->SetName(L"Tahoma");
    Font->SetHeight(13);
    Font->SetStyle({});
}

std::wstring DlgResText(TbsSkinData* SkinData, const std::wstring& Key, const std::wstring& Default) {
    if (!SkinData || !SkinData->ResourceStrData())
        return Default;
    std::wstring s = SkinData->ResourceStrData()->GetResStr(Key);
    return s.empty() ? Default : s;
}

// ---- TbsSkinDialogComponent ----------------------------------------------------------------------------------------

void TbsSkinDialogComponent::Link(TbsSkinData*& Field, TbsSkinData* Value) {
    if (Field == Value)
        return;
    // The old container's notice stays asked for: the other field may still point at it, and a notice about a
    // container no field holds changes nothing.
    Field = Value;
    if (Field)
        Field->FreeNotification(this);
}

void TbsSkinDialogComponent::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FSD)
        FSD = nullptr;
    if (AComponent == FCtrlFSD)
        FCtrlFSD = nullptr;
}

// ---- TbsDlgText -----------------------------------------------------------------------------------------------------

TbsDlgText::TbsDlgText(TComponent* AOwner) : TCustomControl(AOwner) {
    SetParentColor(true);
    SetTabStop(false);
}

void TbsDlgText::FitText(int MaxWidth) {
    const TSize s = MeasureDlgText(Font(), Text(), MaxWidth);
    SetBounds(Left(), Top(), s.cx, s.cy);
}

void TbsDlgText::WndProc(TMessage& Message) {
    if (Message.Msg == CM_TEXTCHANGED || Message.Msg == CM_FONTCHANGED)
        Invalidate();
    TCustomControl::WndProc(Message);
}

void TbsDlgText::Paint() {
    TCanvas* c = Canvas();
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
    c->SetFont(Font());
    c->Brush()->SetStyle(bsClear);
    TRect r = ClientRect();
    c->DrawText(Text(), r, kTextFlags | DT_WORDBREAK);
}

// ---- TbsDlgImage ----------------------------------------------------------------------------------------------------

TbsDlgImage::TbsDlgImage(TComponent* AOwner) : TGraphicControl(AOwner) {}

void TbsDlgImage::SetImage(TCustomImageList* Images, int Index) {
    if (images_ != Images) {
        if (images_)
            images_->RemoveFreeNotification(this);
        images_ = Images;
        if (images_)
            images_->FreeNotification(this);
    }
    imageIndex_ = Index;
    Invalidate();
}

void TbsDlgImage::SetIcon(HICON Icon) {
    icon_ = Icon;
    Invalidate();
}

void TbsDlgImage::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == images_)
        images_ = nullptr;
}

void TbsDlgImage::Paint() {
    TCanvas* c = Canvas();
    if (images_ && imageIndex_ >= 0 && imageIndex_ < images_->Count())
        images_->Draw(c->Handle(), 0, 0, imageIndex_);
    else if (icon_)
        DrawIconEx(c->Handle(), 0, 0, icon_, 32, 32, 0, nullptr, DI_NORMAL);
    else if (OnPaintPicture)
        OnPaintPicture(c, ClientRect());
}

TbsSkinForm* AttachSkinFrame(TCustomForm* Form, TbsSkinData* SkinData) {
    if (!SkinData || SkinData->Empty)
        return nullptr;
    auto* skf = new TbsSkinForm(Form);
    skf->SetBorderIcons({});
    skf->SetSkinData(SkinData);
    return skf;
}

TButton* MakeDlgButton(TWinControl* Parent,
                       const std::wstring& Name,
                       const std::wstring& Caption,
                       TFont* Font,
                       int ModalResult,
                       int X,
                       int Y,
                       int MinWidth,
                       int Height) {
    std::wstring plain;  // the caption as drawn: "&&" is one ampersand, a single one marks the accelerator
    for (size_t i = 0; i < Caption.size(); ++i) {
        if (Caption[i] == L'&' && i + 1 < Caption.size())
            ++i;
        plain += Caption[i];
    }
    TComponent* owner = GetParentForm(Parent);
    auto* b = new TButton(owner ? owner : Parent);
    b->SetName(Name);
    b->SetCaption(Caption);
    b->Font()->Assign(Font);
    b->SetModalResult(ModalResult);
    b->SetParent(Parent);
    b->SetBounds(X, Y, std::max(MinWidth, MeasureDlgText(Font, plain).cx + 24), Height);
    return b;
}

// ---- TbsDlgGlyphButton ---------------------------------------------------------------------------------------------

TbsDlgGlyphButton::TbsDlgGlyphButton(TComponent* AOwner, TGlyph Glyph) : TCustomControl(AOwner), glyph_(Glyph) {
    SetTabStop(false);
}

void TbsDlgGlyphButton::WndProc(TMessage& Message) {
    if (Message.Msg == BM_CLICK) {
        Click();
        return;
    }
    if (Message.Msg == CM_ENABLEDCHANGED)
        Invalidate();
    TCustomControl::WndProc(Message);
}

void TbsDlgGlyphButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft) {
        down_ = true;
        Invalidate();
    }
}

void TbsDlgGlyphButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft && down_) {
        down_ = false;
        Invalidate();
    }
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TbsDlgGlyphButton::Paint() {
    TCanvas* c = Canvas();
    const TRect cr = ClientRect();
    RECT r{cr.Left, cr.Top, cr.Right, cr.Bottom};
    DrawFrameControl(c->Handle(), &r, DFC_BUTTON, DFCS_BUTTONPUSH | (down_ ? DFCS_PUSHED : 0));
    // The glyph: a square of about a third of the height, centred (one pixel lower and righter while pressed).
    const int s = std::max(6, Height() / 3), shift = down_ ? 1 : 0;
    const int x = (Width() - s) / 2 + shift, y = (Height() - s) / 2 + shift;
    const TColor ink = Enabled() ? TColor(clBtnText) : TColor(clGrayText);
    c->Pen()->SetColor(ink);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(ink);
    if (glyph_ == gPlay)
        c->Polygon({TPoint{x + 1, y - 1}, TPoint{x + s, y + s / 2}, TPoint{x + 1, y + s + 1 - (s % 2)}});
    else
        c->FillRect(TRect{x, y, x + s, y + s});
}

// ---- The key picture ------------------------------------------------------------------------------------------------

void PaintKeyPicture(TCanvas* Canvas, const TRect& R) {
    // A brass key lying diagonally: a ring at the top left, the shaft to the bottom right with two teeth.
    const int s = std::min(R.Width(), R.Height());
    auto P = [&](int x, int y) { return TPoint{R.Left + MulDiv(x, s, 32), R.Top + MulDiv(y, s, 32)}; };
    const TColor brass = RGB(214, 168, 52), edge = RGB(120, 84, 16);
    Canvas->Pen()->SetColor(edge);
    Canvas->Pen()->SetWidth(1);
    Canvas->Brush()->SetColor(brass);
    Canvas->Polygon({P(11, 15), P(15, 11), P(30, 26), P(26, 30)});
    Canvas->Polygon({P(21, 25), P(25, 21), P(28, 24), P(24, 28)});
    Canvas->Polygon({P(17, 21), P(21, 17), P(24, 20), P(20, 24)});
    Canvas->Ellipse(P(1, 1).X, P(1, 1).Y, P(17, 17).X, P(17, 17).Y);
    Canvas->Brush()->SetColor(RGB(250, 236, 190));
    Canvas->Ellipse(P(5, 5).X, P(5, 5).Y, P(10, 10).X, P(10, 10).Y);
}
