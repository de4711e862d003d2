// The dialogs' shared picture control, texts, measuring helpers and frame.
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
