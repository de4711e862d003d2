// The skin picker: a list of skins, a disabled child window that wears the skin under the cursor, OK and Cancel.
#include "skin/dialogs/SelectSkinDialog.h"

#include <algorithm>
#include <functional>

#include "classlib/ExtCtrls.h"
#include "skin/form/SkinForm.h"

// A sunken panel holding a small window framed by the preview container's skin, with one button on it. The window
// takes no input: it only shows how a window of that skin looks.
class TbsSkinPreview : public TPanel {
  public:
    TbsSkinPreview(TComponent* AOwner,
                   TWinControl* AParent,
                   TbsSkinData* PreviewData,
                   TbsSkinData* TextData,
                   TFont* Font)
        : TPanel(AOwner) {
        SetName(L"PreviewPanel");
        SetCaption(L"");
        SetBevelOuter(bvLowered);
        SetParent(AParent);
        PreviewForm = new TForm(AOwner);
        PreviewForm->SetName(L"PreviewForm");
        PreviewForm->SetBorderStyle(bsSingle);
        PreviewForm->SetBorderIcons({});
        PreviewForm->SetCaption(DlgResText(TextData, L"MSG_PREVIEWSKIN", L"Preview"));
        PreviewForm->Font()->Assign(Font);
        PreviewForm->SetParent(this);
        PreviewForm->SetEnabled(false);
        Frame = new TbsSkinForm(PreviewForm);
        Frame->SetBorderIcons({});
        Frame->SetSkinData(PreviewData);
        Button = MakeDlgButton(PreviewForm, L"PreviewButton", DlgResText(TextData, L"MSG_PREVIEWBUTTON", L"Button"),
                               Font, 0, 20, 20, 100, 25);
        Button->SetTabStop(false);
    }
    // Fits the window into the panel's inner area once the panel has its size.
    void Place() {
        const int b = BevelWidth() + 2;
        PreviewForm->SetBounds(b, b, Width() - 2 * b, Height() - 2 * b);
        PreviewForm->Show();
    }

    TForm* PreviewForm = nullptr;  // owned by the dialog form
    TbsSkinForm* Frame = nullptr;  // owned by PreviewForm
    TButton* Button = nullptr;     // owned by the dialog form
};

// The skin list. The system draws the vertical thumb in nearly the colour of its track; a face of the shadow colour
// is laid over it after every paint or scroll of the bar, so the place in the long list can be seen.
class TbsSkinPickList : public TListBox {
  public:
    using TListBox::TListBox;

  protected:
    void WndProc(TMessage& Message) override {
        TListBox::WndProc(Message);
        switch (Message.Msg) {
            case WM_NCPAINT:
            case WM_PAINT:
            case WM_SIZE:
            case WM_VSCROLL:
            case WM_MOUSEWHEEL:
            case WM_KEYDOWN:
            case WM_LBUTTONUP:
            case WM_NCLBUTTONDOWN:
            case WM_NCLBUTTONUP:
            case LB_SETTOPINDEX:
            case LB_SETCURSEL:
            case LB_ADDSTRING:
            case LB_DELETESTRING:
            case LB_RESETCONTENT:
                PaintThumb();
                break;
            default:
                break;
        }
    }

  private:
    void PaintThumb() {
        if (!HandleAllocated() || !IsWindowVisible(Handle()))
            return;
        SCROLLBARINFO info{};
        info.cbSize = sizeof info;
        if (!GetScrollBarInfo(Handle(), OBJID_VSCROLL, &info) ||
            (info.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_OFFSCREEN)))
            return;
        if (info.xyThumbBottom - info.xyThumbTop < 4)
            return;
        RECT win{};
        GetWindowRect(Handle(), &win);
        const RECT bar{info.rcScrollBar.left - win.left, info.rcScrollBar.top - win.top,
                       info.rcScrollBar.right - win.left, info.rcScrollBar.bottom - win.top};
        RECT thumb{bar.left + 1, bar.top + info.xyThumbTop, bar.right - 1, bar.top + info.xyThumbBottom};
        HDC dc = GetWindowDC(Handle());
        if (!dc)
            return;
        FillRect(dc, &thumb, GetSysColorBrush(COLOR_3DDKSHADOW));
        InflateRect(&thumb, -1, -1);
        FillRect(dc, &thumb, GetSysColorBrush(COLOR_BTNSHADOW));
        ReleaseDC(Handle(), dc);
    }
};

// ---- TbsSelectSkinDlgForm -------------------------------------------------------------------------------------------

TbsSelectSkinDlgForm::TbsSelectSkinDlgForm(TComponent* AOwner,
                                           TbsSkinData* ACtrlSkinData,
                                           int SkinIndex,
                                           TbsCompressedSkinList* ASkinList,
                                           TFont* AFont)
    : TForm(AOwner), skinList_(ASkinList) {
    BuildLayout(ACtrlSkinData, AFont);
    if (skinList_) {
        for (int i = 0; i < skinList_->Skins()->Count(); ++i) {
            TbsSkinListItem* item = skinList_->Skins()->Items(i);
            ListBox->Items()->Add(item->Description.empty() ? item->Name : item->Description);
        }
    }
    ListBox->SetItemIndex(SkinIndex);
    // The index first, then the list: setting the list loads the skin at that index.
    PreviewSkinData->SetSkinIndex(SkinIndex);
    PreviewSkinData->SetSkinList(skinList_);
    ListBox->OnClick = [this](TObject*) { ListClick(); };
}

TbsSelectSkinDlgForm::TbsSelectSkinDlgForm(TComponent* AOwner,
                                           TbsSkinData* ACtrlSkinData,
                                           TbsCompressedStoredSkin* DefaultSkin,
                                           TComponent* AForm,
                                           TFont* AFont)
    : TForm(AOwner) {
    BuildLayout(ACtrlSkinData, AFont);
    if (AForm) {
        for (int i = 0; i < AForm->ComponentCount(); ++i)
            if (auto* s = dynamic_cast<TbsCompressedStoredSkin*>(AForm->Components(i))) {
                storedSkins_.push_back(s);
                ListBox->Items()->Add(s->Description.empty() ? s->Name() : s->Description);
            }
    }
    auto it = std::find(storedSkins_.begin(), storedSkins_.end(), DefaultSkin);
    const int index = it != storedSkins_.end() ? static_cast<int>(it - storedSkins_.begin()) : 0;
    if (!storedSkins_.empty()) {
        ListBox->SetItemIndex(index);
        PreviewSkinData->SetCompressedStoredSkin(storedSkins_[static_cast<size_t>(index)]);
    }
    ListBox->OnClick = [this](TObject*) { ListClick(); };
}

void TbsSelectSkinDlgForm::BuildLayout(TbsSkinData* ACtrlSkinData, TFont* AFont) {
    if (AFont)
        Font()->Assign(AFont);
    SetBorderStyle(bsSingle);
    SetBorderIcons({biSystemMenu});
    SetPosition(poScreenCenter);
    SetKeyPreview(true);
    HandleNeeded();  // the frame's real size, for the client size
    SetClientWidth(420);
    SetClientHeight(240);
    PreviewSkinData = new TbsSkinData(this);
    if (ACtrlSkinData)
        PreviewSkinData->SetResourceStrData(ACtrlSkinData->ResourceStrData());

    ListBox = new TbsSkinPickList(this);
    ListBox->SetName(L"SkinListBox");
    ListBox->SetParent(this);
    ListBox->SetBounds(10, 10, 170, 170);
    ListBox->OnDblClick = [this](TObject*) { SetModalResult(mrOk); };

    Preview = new TbsSkinPreview(this, this, PreviewSkinData, ACtrlSkinData, Font());
    Preview->SetBounds(190, 10, 220, 170);

    OKButton = MakeDlgButton(this, L"OKButton", DlgResText(ACtrlSkinData, L"MSG_BTN_OK", L"OK"), Font(), mrOk, 260, 200,
                             70, 25);
    OKButton->SetDefault(true);
    CancelButton = MakeDlgButton(this, L"CancelButton", DlgResText(ACtrlSkinData, L"MSG_BTN_CANCEL", L"Cancel"), Font(),
                                 mrCancel, 340, 200, 70, 25);
    CancelButton->SetCancel(true);
    SetActiveControl(ListBox);
}

void TbsSelectSkinDlgForm::ListClick() {
    const int i = ListBox->ItemIndex();
    if (i < 0)
        return;
    if (skinList_)
        PreviewSkinData->SetSkinIndex(i);
    else if (i < static_cast<int>(storedSkins_.size()))
        PreviewSkinData->SetCompressedStoredSkin(storedSkins_[static_cast<size_t>(i)]);
}

TbsCompressedStoredSkin* TbsSelectSkinDlgForm::GetSelectedSkin() const {
    return PreviewSkinData->CompressedStoredSkin();
}

int TbsSelectSkinDlgForm::GetSelectedSkinIndex() const {
    return PreviewSkinData->SkinIndex();
}

// ---- TbsSelectSkinDialog --------------------------------------------------------------------------------------------

TbsSelectSkinDialog::TbsSelectSkinDialog(TComponent* AOwner)
    : TbsSkinDialogComponent(AOwner), FDefaultFont(std::make_unique<TFont>()) {
    SetDefaultDlgFont(FDefaultFont.get());
}

TbsSelectSkinDialog::~TbsSelectSkinDialog() = default;

void TbsSelectSkinDialog::SetSkinList(TbsCompressedSkinList* Value) {
    FSkinList = Value;
    if (FSkinList)
        FSkinList->FreeNotification(this);
}

void TbsSelectSkinDialog::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinDialogComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FSkinList)
        FSkinList = nullptr;
    if (Operation == opRemove && AComponent == SelectedSkin)
        SelectedSkin = nullptr;
}

bool TbsSelectSkinDialog::Run(TbsSelectSkinDlgForm* Form, const std::function<void(TbsSelectSkinDlgForm*)>& OnOk) {
    std::unique_ptr<TbsSelectSkinDlgForm> form(Form);
    form->SetCaption(Title);
    if (TbsSkinForm* skf = AttachSkinFrame(form.get(), SkinData())) {
        form->SetClientWidth(std::max(420, skf->GetMinWidth()));
        form->SetClientHeight(std::max(240, skf->GetMinHeight()));
    }
    form->Preview->Place();
    if (form->ShowModal() != mrOk)
        return false;
    OnOk(form.get());
    return true;
}

bool TbsSelectSkinDialog::Execute(int SkinIndex) {
    if (!FSkinList)
        return false;
    SelectedSkinIndex = -1;
    SelectedSkin = nullptr;
    return Run(new TbsSelectSkinDlgForm(Application, CtrlSkinData(), SkinIndex, FSkinList, FDefaultFont.get()),
               [this](TbsSelectSkinDlgForm* f) { SelectedSkinIndex = f->GetSelectedSkinIndex(); });
}

bool TbsSelectSkinDialog::Execute(TbsCompressedStoredSkin* DefaultCompressedSkin) {
    SelectedSkinIndex = -1;
    SelectedSkin = nullptr;
    return Run(
        new TbsSelectSkinDlgForm(Application, CtrlSkinData(), DefaultCompressedSkin, Owner(), FDefaultFont.get()),
        [this](TbsSelectSkinDlgForm* f) {
            SelectedSkin = f->GetSelectedSkin();
            if (SelectedSkin)
                SelectedSkin->FreeNotification(this);
        });
}
