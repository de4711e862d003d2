// The main window: building it from the layout table, its lifecycle, apply, tray, language and the services.
// The editors and list views are in MainFormEditors.cpp.
#include "app/MainForm.h"

#include <objbase.h>
// After windows.h, which it needs.
#include <mmsystem.h>

#include <algorithm>
#include <cstdio>
#include <cmath>
#include <map>
#include <memory>
#include <utility>

#include "app/AppResources.h"
#include "app/Autostart.h"
#include "app/EventText.h"
#include "app/ImapList.h"
#include "app/MainFormControls.h"
#include "app/MessageWait.h"
#include "app/Reminders.h"
#include "app/SettingsFile.h"
#include "app/SettingsRecord.h"
#include "app/SkinLists.h"
#include "app/Sounds.h"
#include "app/WebLinks.h"
#include "base/Report.h"
#include "identity/MachineId.h"
#include "skin/controls/ButtonLabel.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinLabels.h"
#include "skin/controls/SkinPanel.h"
#include "skin/controls/SkinScrollBar.h"
#include "skin/controls/SkinSpeedButton.h"
#include "skin/core/CompressedSkin.h"
#include "skin/core/ResourceStrings.h"
#include "skin/core/SkinData.h"
#include "skin/dialogs/OpenDialog.h"
#include "skin/dialogs/OpenSoundDialog.h"
#include "skin/dialogs/PasswordDialog.h"
#include "skin/dialogs/SelectSkinDialog.h"
#include "skin/dialogs/SkinMessage.h"
#include "skin/form/QuickButtons.h"
#include "skin/form/SkinForm.h"
#include "skin/form/SkinHint.h"
#include "skin/form/SkinPopupMenu.h"
#include "skin/form/TrayIcon.h"
#include "skin/views/ViewBars.h"

namespace {

// The Russian texts of the skin engine, linked in as a resource from app/ResourceStrData_rus.txt (UTF-8).
constexpr const wchar_t* kRussianStringsResource = L"RESOURCESTRDATA_RUS";

std::wstring FromUtf8(const char* data, size_t size) {
    if (size == 0)
        return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, data, static_cast<int>(size), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, data, static_cast<int>(size), w.data(), n);
    return w;
}

void LoadRussianStrings(TbsResourceStrData* data) {
    HRSRC res = FindResourceW(nullptr, kRussianStringsResource, MAKEINTRESOURCEW(10));  // RT_RCDATA
    if (!res)
        return;
    HGLOBAL mem = LoadResource(nullptr, res);
    const char* bytes = mem ? static_cast<const char*>(LockResource(mem)) : nullptr;
    if (!bytes)
        return;
    const std::wstring text = FromUtf8(bytes, SizeofResource(nullptr, res));
    TStringList lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos)
            end = text.size();
        std::wstring line = text.substr(start, end - start);
        if (!line.empty() && line.back() == L'\r')
            line.pop_back();
        if (!line.empty() && line[0] != L'#')
            lines.Add(line);
        start = end + 1;
    }
    data->SetResStrs(&lines);
}

// The list's own size picks each icon's picture.
void AddIcons(TImageList* list, int firstId, int count, int /*size*/) {
    for (int i = 0; i < count; ++i)
        list->AddIconResource(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(firstId + i));
}

std::vector<std::wstring> Words(const wchar_t* text) {
    std::vector<std::wstring> out;
    std::wstring word;
    for (const wchar_t* p = text; p && *p; ++p) {
        if (*p == L' ') {
            if (!word.empty())
                out.push_back(word);
            word.clear();
        } else {
            word += *p;
        }
    }
    if (!word.empty())
        out.push_back(word);
    return out;
}

std::wstring Padded(const std::wstring& text) {
    const std::wstring pad(15, L' ');
    return pad + text + pad;
}

}  // namespace

TAAForm1::TAAForm1(TComponent* AOwner) : TForm(AOwner) {
    Fs = TFormatSettings::FromUserLocale();
    // The date editor's mask has two-digit day and month fields: the short date follows it.
    Fs.ShortDateFormat = std::wstring(L"dd") + Fs.DateSeparator + L"MM" + Fs.DateSeparator + L"yyyy";
    Fs.TimeSeparator = L':';
    // The machine identity takes its queries' time on a worker while the window is built; the first paint takes it.
    machineId_ = std::async(std::launch::async, [] { return GetMachineId(); });
    BeginLoading();
    SetName(L"AAForm1");
    SetCaption(L"Trelm Mail");
    SetBorderStyle(bsSingle);
    SetBorderIcons({});
    SetPosition(poDesktopCenter);
    SetScaled(false);
    Font()->SetName(kMainFormFontName);
    Font()->SetHeight(kMainFormFontHeight);
    SetBounds(0, 0, kFormWidthNarrow, kFormHeightShort);
    SetShowHint(true);

    BuildImages();
    BuildControls();
    BuildProducts();
    BuildViews();
    BuildTray();
    BindEvents();

    SkinList2 = new TbsCompressedSkinList(this);
    SkinList2->SetName(L"SkinList2");
    try {
        LoadNotifierSkinList(*SkinList2);
    } catch (...) {
        ReportCaught("TAAForm1: stored skin list");
        // No stored skins: the window keeps the built-in frame.
    }
    ResourceStrData_rus = new TbsResourceStrData(this);
    ResourceStrData_rus->SetName(L"ResourceStrData_rus");
    LoadRussianStrings(ResourceStrData_rus);
    SkinData = new TbsSkinData(this);
    SkinData->SetName(L"SkinData");
    // Every skinned window of the program fades in when it shows.
    SkinData->AnimationForAllWindows = true;
    BindSkinnedControls();
    SkinForm1 = new TbsSkinForm(this);
    SkinForm1->SetName(L"SkinForm1");
    // Nothing is laid out again at a skin change: every stored skin gives the labels one font (the skin generator's
    // rule), so the places found at the start hold in every skin.
    SkinForm1->SetBorderIcons(
        {TbsBorderIcon::biSystemMenu, TbsBorderIcon::biMinimize, TbsBorderIcon::biMinimizeToTray});
    // The caption's two quick buttons as the form keeps them. It has no image list for them and no handler, so
    // neither is drawn nor clickable; declaring them centres the title in every skin.
    TbsQuickButtonItem* save = SkinForm1->QuickButtons()->Add();
    save->SetImageIndex(8);
    save->Hint = L" Сохранить ";
    TbsQuickButtonItem* print = SkinForm1->QuickButtons()->Add();
    print->SetImageIndex(13);
    print->SetCaption(L"Печать");
    PopupMenu1->SetSkinData(SkinData);
    // Every hint of the application: skinned, translucent, "@" breaks a line.
    SkinHint1 = new TbsSkinHint(this);
    SkinHint1->SetName(L"SkinHint1");
    SkinHint1->SetSkinData(SkinData);
    SkinHint1->SetLineSeparator(L"@");
    SkinHint1->AlphaBlend = true;
    SkinHint1->AlphaBlendValue = 200;
    SkinHint1->AlphaBlendAnimation = true;
    SkinHint1->UseSkinFont = true;
    SkinHint1->DefaultFont()->SetName(L"MS Sans Serif");
    SkinHint1->DefaultFont()->SetHeight(-11);
    SkinHint1->DefaultFont()->SetColor(clWindowText);
    SkinHint1->SetActive(true);

    SkinMessage = new TbsSkinMessage(this);
    SkinMessage->SetName(L"SkinMessage");
    SkinMessage->SetSkinData(SkinData);
    SkinMessage->SetCtrlSkinData(SkinData);
    for (TFont* f : {SkinMessage->DefaultFont(), SkinMessage->DefaultButtonFont()}) {
        f->SetName(L"Arial");
        f->SetHeight(14);
    }
    PasswordDialog = new TbsSkinPasswordDialog(this);
    PasswordDialog->SetName(L"PasswordDialog");
    PasswordDialog->SetSkinData(SkinData);
    PasswordDialog->SetCtrlSkinData(SkinData);
    SelectSkinDialog1 = new TbsSelectSkinDialog(this);
    SelectSkinDialog1->SetName(L"SelectSkinDialog1");
    SelectSkinDialog1->SetSkinData(SkinData);
    SelectSkinDialog1->SetCtrlSkinData(SkinData);
    SelectSkinDialog1->SetSkinList(SkinList2);
    SelectSkinDialog1->Title = L"Выбор скина";
    OpenSoundDialog = new TbsSkinOpenSoundDialog(this);
    OpenSoundDialog->SetName(L"OpenSoundDialog");
    OpenSoundDialog->SetSkinData(SkinData);
    OpenSoundDialog->SetCtrlSkinData(SkinData);
    OpenSoundDialog->Title = L"Открыть фаил звука";
    OpenSoundDialog->Filter = L"WAV|*.wav|All files|*.*";
    // The play button previews the selected file on the GUI thread.
    OpenSoundDialog->OnPlayButtonClick = [this](TObject*) {
        const std::wstring file = OpenSoundDialog->GetSelectedFile();
        if (!file.empty())
            sndPlaySoundW(file.c_str(), SND_FILENAME);
    };
    OpenDialog = new TbsSkinOpenDialog(this);
    OpenDialog->SetName(L"OpenDialog");
    OpenDialog->SetSkinData(SkinData);
    OpenDialog->SetCtrlSkinData(SkinData);

    OnCreate = [this](TObject*) { FormCreate(); };
    OnPaint = [this](TObject*) { FormPaint(); };
    OnClose = [this](TObject*, TCloseAction& action) {
        action = caNone;
        ExitProgram();
    };
    EndLoading();
}

TAAForm1::~TAAForm1() = default;

void TAAForm1::Shutdown() {
    destroying_ = true;
    imapDownload_.Cancel();
    delete Engine_;
    Engine_ = nullptr;
    if (TrayIcon)
        TrayIcon->SetIconVisible(false);
}

void TAAForm1::BeforeDestruction() {
    destroying_ = true;
    // The download hands nothing more to a window that is going. The engine stops while the window and the
    // controls it reports to still exist; the rest goes with the form.
    imapDownload_.Cancel();
    delete Engine_;
    Engine_ = nullptr;
    TForm::BeforeDestruction();
}

TControl* TAAForm1::FindCtl(const std::wstring& name) const {
    const auto it = controls_.find(name);
    return it == controls_.end() ? nullptr : it->second;
}

// ---- Building -------------------------------------------------------------------------------------------------------

void TAAForm1::BuildImages() {
    ImageList_KolEm = new TImageList(this);
    ImageList_KolEm->SetName(L"ImageList_KolEm");
    // The tray's images at the notification area's size: the icon files carry pictures drawn for it.
    const int traySize = std::max(GetSystemMetrics(SM_CXSMICON), 1);
    ImageList_KolEm->SetSize(traySize, traySize);
    AddIcons(ImageList_KolEm, IDI_TRAY_FIRST, IDI_TRAY_COUNT, traySize);
    ImageList64 = new TImageList(this);
    ImageList64->SetName(L"ImageList64");
    ImageList64->SetSize(64, 64);
    ImageList_Flags = new TImageList(this);
    ImageList_Flags->SetName(L"ImageList_Flags");
    ImageList_Flags->SetSize(16, 16);
    AddIcons(ImageList_Flags, IDI_FLAG_FIRST, IDI_FLAG_COUNT, 16);
    ImageList_Menu = new TImageList(this);
    ImageList_Menu->SetName(L"ImageList_Menu");
    ImageList_Menu->SetSize(16, 16);
    ImageList_Glyphs = new TImageList(this);
    ImageList_Glyphs->SetName(L"ImageList_Glyphs");
    ImageList_Glyphs->SetSize(16, 16);
    AddIcons(ImageList_Glyphs, IDI_GLYPH_FIRST, IDI_GLYPH_COUNT, 16);
}

// The pictures of the message boxes and of the tray menu are read when one first shows: the start does not wait for
// them.
void TAAForm1::FillImagesOnce(TImageList* list, int firstId, int count, int size) {
    if (list->Count() == 0)
        AddIcons(list, firstId, count, size);
}

void TAAForm1::BuildControls() {
    PageControl = new TbsSkinPageControl(this);
    PageControl->SetName(L"PageControl");
    PageControl->SetParent(this);
    controls_[L"PageControl"] = PageControl;

    for (const TCtlSpec& s : kMainFormLayout) {
        TWinControl* parent = this;
        if (s.Parent && *s.Parent)
            parent = dynamic_cast<TWinControl*>(FindCtl(s.Parent));
        TControl* c = nullptr;
        switch (s.Kind) {
            case TCtlKind::Page: {
                auto* page = new TbsSkinTabSheet(this);
                page->SetPageControl(PageControl);
                c = page;
                break;
            }
            case TCtlKind::Group:
                c = new TbsSkinGroupBox(this);
                break;
            case TCtlKind::Label: {
                auto* label = new TbsSkinStdLabel(this);
                label->SetAutoSize(true);
                c = label;
                break;
            }
            case TCtlKind::Edit: {
                auto* edit = new TbsSkinEdit(this);
                edit->SetMaxLength(s.A);
                c = edit;
                break;
            }
            case TCtlKind::Password: {
                auto* edit = new TbsSkinPasswordEdit(this);
                edit->SetMaxLength(s.A);
                c = edit;
                break;
            }
            case TCtlKind::TimeEdit: {
                auto* edit = new TbsSkinMaskEdit(this);
                edit->TimeSeparator = Fs.TimeSeparator;  // the separator the reminder's time is read with
                edit->SetEditMask(L"!90:00;1; ");
                edit->SetAlignment(taCenter);
                edit->SetMaxLength(5);
                c = edit;
                break;
            }
            case TCtlKind::DateEdit: {
                // Day, month and four-digit year with the window's separator; weeks start on Monday.
                auto* edit = new TbsSkinDateEdit(this);
                edit->SetDateFormatSettings(Fs);
                edit->SetFirstDayOfWeek(Mon);
                edit->SetCalendarWidth(200);
                edit->SetCalendarHeight(150);
                edit->SetCalendarSkinDataName(L"panel");
                edit->SetAlignment(taCenter);
                c = edit;
                break;
            }
            case TCtlKind::Spin: {
                auto* spin = new TbsSkinSpinEdit(this);
                spin->SetMaxLength(static_cast<int>(std::to_wstring(s.B).size()));
                spin->SetMinValue(s.A);
                spin->SetMaxValue(s.B);
                spins_[s.Name] = TSpin{spin, s.A, s.B};
                c = spin;
                break;
            }
            case TCtlKind::Check:
                c = new TbsSkinCheckRadioBox(this);
                break;
            case TCtlKind::Combo: {
                auto* combo = new TbsSkinComboBox(this);
                combo->SetStyle(bscbEditStyle);
                combo->SetDropDownCount(23);
                c = combo;
                break;
            }
            case TCtlKind::LangCombo: {
                OfficeComboBox_lang = new TbsSkinOfficeComboBox(this);
                OfficeComboBox_lang->SetImages(ImageList_Flags);
                OfficeComboBox_lang->SetUseSkinSize(false);
                OfficeComboBox_lang->SetDropDownCount(10);
                OfficeComboBox_lang->SetListBoxItemHeight(22);
                for (TFont* f : {OfficeComboBox_lang->Font(), OfficeComboBox_lang->DefaultFont()}) {
                    f->SetHeight(14);
                    f->SetStyle({fsBold});
                }
                OfficeComboBox_lang->SetListBoxDefaultFont(OfficeComboBox_lang->DefaultFont());
                OfficeComboBox_lang->SetListBoxShowItemTitles(false);
                c = OfficeComboBox_lang;
                break;
            }
            case TCtlKind::Button:
                c = new TbsSkinButton(this);
                break;
            case TCtlKind::Glyph: {
                auto* button = new TbsSkinSpeedButton(this);
                button->SetSkinDataName(L"resizetoolbutton");
                button->SetFlat(true);
                button->SetImageList(ImageList_Glyphs);
                button->SetImageIndex(s.A);
                c = button;
                break;
            }
            case TCtlKind::ListView: {
                auto* view = new TbsSkinListView(this);
                view->SetDrawSkin(false);
                view->SetViewStyle(vsReport);
                view->SetOwnerData(true);
                view->SetRowSelect(true);
                view->SetGridLines(true);
                view->SetHideSelection(false);
                view->SetReadOnly(true);
                c = view;
                break;
            }
        }
        c->SetName(s.Name);
        if (s.Kind != TCtlKind::Page) {
            c->SetParent(parent);
            c->SetBounds(s.Left, s.Top, s.Width, s.Height);
        }
        controls_[s.Name] = c;
        if (s.Kind == TCtlKind::ListView)
            AddViewBars(static_cast<TbsSkinListView*>(c), parent, s);
        if (s.Kind == TCtlKind::Spin) {
            SetSpinValue(s.Name, s.A);
        }
    }
    EditOf(L"Edit_PNHostIMAP")->SetMaxLength(99);
    SetSpinValue(L"Spin_PNPortIMAP", 993);
    // The language choice: three built-in languages, each item's picture its language index.
    const std::pair<const wchar_t*, int> languages[] = {{L"  Русский", 0}, {L"  Беларускi", 1}, {L"  Український", 2}};
    for (const auto& [caption, image] : languages) {
        TbsSkinOfficeItem* item = OfficeComboBox_lang->Items()->AddItem();
        item->SetCaption(caption);
        item->SetImageIndex(image);
    }
    OfficeComboBox_lang->InitItemIndex(0);
    for (const wchar_t* name : {L"Button_FZvuk", L"Button_FZvukN", L"Button_lang"})
        Ctl<TbsSkinButton>(name)->SetCaption(L"Фаил");
}

// Each list's two skinned bars: the horizontal one below the list (carved out of its box), the vertical one at the
// box's right edge, shown only while the rows do not fit; the list gives it room exactly while it shows, so no
// column or row text lies under it. The view mirrors its scroll state into them. Three horizontal bars page by
// nearly their own width.
void TAAForm1::AddViewBars(TbsSkinListView* View, TWinControl* Parent, const TCtlSpec& S) {
    struct TBarNames {
        const wchar_t *View, *V, *H;
        bool WidePage;
    };
    static const TBarNames kNames[] = {
        {L"ListView_Em", L"ScrollBar_EmV", L"ScrollBar_EmH", false},
        {L"ListView_Pism", L"ScrollBarV_Pism", L"ScrollBarH_Pism", true},
        {L"ListView_Sob", L"ScrollBar_SobV", L"ScrollBar_SobH", true},
        {L"ListView_Sobty", L"ScrollBarV_Sobty", L"ScrollBarH_Sobty", true},
    };
    const TBarNames* names = nullptr;
    for (const TBarNames& n : kNames)
        if (std::wstring(n.View) == S.Name)
            names = &n;
    if (!names)
        return;
    auto* v = new TbsSkinScrollBar(this);
    v->SetName(names->V);
    v->SetKind(sbVertical);
    v->SetSkinDataName(L"vscrollbar");
    v->SetParent(Parent);
    auto* h = new TbsSkinScrollBar(this);
    h->SetName(names->H);
    h->SetKind(sbHorizontal);
    h->SetSkinDataName(L"hscrollbar");
    h->SetParent(Parent);
    if (names->WidePage)
        h->OnMouseDown = [h](TObject*, TMouseButton, TShiftState, int, int) { h->SetLargeChange(h->Width() - 5); };
    controls_[names->V] = v;
    controls_[names->H] = h;
    View->SetVScrollBar(v);
    View->SetHScrollBar(h);
    PlaceViewWithBars(View, S.Left, S.Top, S.Width, S.Height);
    // The vertical bar comes and goes inside the view's own bar update, which ignores the view's resizing while it
    // runs: the width follows once the view's message is done, and the bars are brought up to date for it.
    View->WindowProc = [View, base = View->WindowProc, busy = std::make_shared<bool>(false)](TMessage& Message) {
        base(Message);
        // The resizing sends the view messages of its own, which must not resize it again.
        if (*busy || View->ComponentState().Contains(csDestroying))
            return;
        TbsSkinScrollBar* vbar = View->VScrollBar();
        TbsSkinScrollBar* hbar = View->HScrollBar();
        if (!vbar || !hbar)
            return;
        const int width = ViewWidthBesideBar(hbar->Width(), vbar->Visible());
        if (View->Width() != width) {
            TbsFlagScope guard(*busy);
            View->SetBounds(View->Left(), View->Top(), width, View->Height());
            View->UpDateScrollBars();
        }
    };
}

int TAAForm1::ViewWidthBesideBar(int BoxWidth, bool BarShown) {
    return BoxWidth - (BarShown ? kViewBar : 0);
}

void TAAForm1::PlaceViewWithBars(TbsSkinListView* View, int Left, int Top, int Width, int Height) {
    TbsSkinScrollBar* v = View->VScrollBar();
    TbsSkinScrollBar* h = View->HScrollBar();
    h->SetBounds(Left, Top + Height - kViewBar, Width, kViewBar);
    v->SetBounds(Left + Width - kViewBar, Top, kViewBar, Height - kViewBar);
    View->SetBounds(Left, Top, ViewWidthBesideBar(Width, v->Visible()), Height - kViewBar);
}

void TAAForm1::BuildProducts() {
    auto* page = Ctl<TTabSheet>(L"TabSheet_NNP");
    const auto& list = OtherProducts();
    for (size_t i = 0; i < list.size(); ++i) {
        const int top = 10 + static_cast<int>(i) * 44;
        TProductRow row;
        row.Name = new TbsSkinButtonLabel(this);
        row.Text = new TbsSkinStdLabel(this);
        row.Link = new TbsSkinLinkLabel(this);
        row.Name->SetName(L"ButtonLabel_NP" + std::to_wstring(209 + i));
        row.Text->SetName(L"Label_NP" + std::to_wstring(209 + i));
        row.Link->SetName(L"LinkLabel_NP" + std::to_wstring(209 + i));
        for (TControl* l : std::initializer_list<TControl*>{row.Name, row.Text, row.Link}) {
            l->SetParent(page);
            l->SetCursor(crHandPoint);
            l->OnClick = [this, i](TObject*) { ProductClick(static_cast<int>(i)); };
        }
        // The name: bold, left aligned in its box.
        TFont bold;
        bold.SetStyle({fsBold});
        row.Name->SetDefaultFont(&bold);
        row.Name->SetUseSkinFont(false);
        row.Name->SetMargin(0);
        row.Name->SetBounds(12, top, 150, 18);
        row.Name->SetCaption(list[i].name);
        row.Text->SetAutoSize(false);
        row.Text->SetWordWrap(true);
        row.Text->SetBounds(170, top, 690, 40);
        // The link sizes itself to its text in the skin's font; PlaceProducts lines the links up.
        row.Link->SetFont(row.Link->DefaultFont());
        row.Link->Font()->SetColor(TColor(0x00C06000));
        row.Link->SetBounds(870, top, 200, 18);
        row.Link->SetCaption(MakerUrl(list[i].page));
        products_.push_back(row);
    }
}

namespace {
// Buttons and check boxes write in the window's font, whatever the skin's: the layout is measured in it.
void BindSkinnedControl(TbsSkinCustomControl* Control, TbsSkinData* Data, TFont* Font) {
    Control->SetDefaultFont(Font);
    Control->SetUseSkinFont(false);
    Control->SetSkinData(Data);
}
}  // namespace

void TAAForm1::BindSkinnedControls() {
    for (const TCtlSpec& s : kMainFormLayout) {
        TControl* c = FindCtl(s.Name);
        if (auto* label = dynamic_cast<TbsSkinStdLabel*>(c))
            label->SetSkinData(SkinData);
        else if (auto* edit = dynamic_cast<TbsSkinCustomEdit*>(c))
            edit->SetSkinData(SkinData);
        else if (auto* password = dynamic_cast<TbsSkinPasswordEdit*>(c))
            password->SetSkinData(SkinData);
        else if (auto* group = dynamic_cast<TbsSkinGroupBox*>(c))
            group->SetSkinData(SkinData);
        else if (auto* button = dynamic_cast<TbsSkinButton*>(c))
            BindSkinnedControl(button, SkinData, Font());
        else if (auto* box = dynamic_cast<TbsSkinCheckRadioBox*>(c))
            BindSkinnedControl(box, SkinData, Font());
        else if (auto* view = dynamic_cast<TbsSkinListView*>(c)) {
            // The columns are measured in the window's font too.
            view->SetDefaultFont(Font());
            view->SetUseSkinFont(false);
            view->SetSkinData(SkinData);
            for (TbsSkinScrollBar* bar : {view->VScrollBar(), view->HScrollBar()})
                if (bar)
                    bar->SetSkinData(SkinData);
        }
        else if (auto* speed = dynamic_cast<TbsSkinSpeedButton*>(c))
            speed->SetSkinData(SkinData);
        else if (auto* spin = dynamic_cast<TbsSkinSpinEdit*>(c))
            BindSkinnedControl(spin, SkinData, Font());
        else if (auto* combo = dynamic_cast<TbsSkinCustomComboBox*>(c))
            BindSkinnedControl(combo, SkinData, Font());
        else if (auto* office = dynamic_cast<TbsSkinCustomOfficeComboBox*>(c)) {
            // Its own bold font in every skin.
            office->SetUseSkinFont(false);
            office->SetListBoxUseSkinFont(false);
            office->SetSkinData(SkinData);
        }
    }
    for (const TProductRow& row : products_) {
        row.Name->SetSkinData(SkinData);
        row.Text->SetSkinData(SkinData);
        row.Link->SetSkinData(SkinData);
    }
    // The pages' controls inherit the page control's font: it stays the window's, in which the layout is measured.
    PageControl->DefaultFont()->Assign(Font());
    PageControl->UseSkinFont = false;
    PageControl->SetSkinData(SkinData);
}

void TAAForm1::PlaceProducts() {
    // The links keep their whole text at the page's right edge; the descriptions take the room left between.
    auto* page = Ctl<TTabSheet>(L"TabSheet_NNP");
    if (products_.empty() || !page->HandleAllocated())
        return;
    constexpr int kTextLeft = 170, kGap = 10;
    int linkWidth = 0;
    for (const TProductRow& row : products_) {
        // Measured in the font the link draws with (the skin's).
        row.Link->SetAutoSize(false);
        row.Link->SetAutoSize(true);
        linkWidth = std::max(linkWidth, row.Link->Width() + 2);
    }
    const int right = page->ClientWidth() - kGap;
    const int linkLeft = std::max(right - linkWidth, kTextLeft + 200);
    for (const TProductRow& row : products_) {
        row.Text->SetBounds(kTextLeft, row.Text->Top(), linkLeft - kGap - kTextLeft, row.Text->Height());
        row.Link->SetAutoSize(false);
        row.Link->SetBounds(linkLeft, row.Link->Top(), right - linkLeft, row.Link->Height());
    }
}

void TAAForm1::BuildViews() {
    ListView_Em = Ctl<TbsSkinListView>(L"ListView_Em");
    ListView_Pism = Ctl<TbsSkinListView>(L"ListView_Pism");
    ListView_Sob = Ctl<TbsSkinListView>(L"ListView_Sob");
    ListView_Sobty = Ctl<TbsSkinListView>(L"ListView_Sobty");
    const std::pair<TbsSkinListView*, std::vector<int>> columns[] = {
        {ListView_Em, {130, 120, 150, 72}},
        {ListView_Pism, {130, 150, 150, 220}},
        {ListView_Sob, {170, 200, 100}},
        {ListView_Sobty, {130, 260}},
    };
    for (const auto& [view, widths] : columns) {
        for (int w : widths)
            view->Columns()->Add()->SetWidth(w);
        hints_[view] = TViewHint{};
        view->OnDataHint = [this, view = view](TObject*, int first, int last) { hints_[view] = {first, last}; };
        view->OnData = [this, view = view](TObject*, TListItem* item) { FillRow(view, item); };
    }
}

void TAAForm1::BuildTray() {
    // Shown through the skinned form's menus, also while the window is hidden in the tray.
    PopupMenu1 = new TbsSkinPopupMenu(this);
    PopupMenu1->SetName(L"PopupMenu1");
    PopupMenu1->SetImages(ImageList_Menu);
    PopupMenu1->OnPopup = [this](TObject*) { FillImagesOnce(ImageList_Menu, IDI_MENU_FIRST, IDI_MENU_COUNT, 16); };
    auto add = [this](const wchar_t* name, std::function<void()> action) {
        auto* item = new TMenuItem(this);
        item->SetName(name);
        item->SetCaption(name);
        item->SetImageIndex(PopupMenu1->Items()->Count());
        item->OnClick = [action](TObject*) { action(); };
        PopupMenu1->Items()->Add(item);
        return item;
    };
    ObnovProvEm = add(L"ObnovProvEm", [this] { Engine_->CheckNow(); });
    OtkrProg = add(L"OtkrProg", [this] { TrayIconDblClick(); });
    PokazSoob = add(L"PokazSoob", [this] { Engine_->ShowMessages(); });
    Clear_Soob = add(L"Clear_Soob", [this] { Engine_->ClearMessages(); });
    Vihod = add(L"Vihod", [this] { ExitProgram(); });

    TrayIcon = new TbsTrayIcon(this);
    TrayIcon->SetName(L"TrayIcon");
    TrayIcon->SetIconList(ImageList_KolEm);
    TrayIcon->SetAnimateTimerInterval(0);
    TrayIcon->SetIconIndex(0);
    TrayIcon->SetHint(L"Trelm Mail");
    TrayIcon->SetPopupMenu(PopupMenu1);
    TrayIcon->SetIconVisible(false);
    TrayIcon->OnDblClick = [this](TObject*) { TrayIconDblClick(); };
    TrayIcon->OnClick = [this](TObject*) {
        if (Engine_)
            Engine_->TrayClick();
    };
}

void TAAForm1::BindEvents() {
    PageControl->OnChange = [this](TObject*) { PageControlChange(); };
    auto click = [this](const wchar_t* name, void (TAAForm1::*handler)()) {
        FindCtl(name)->OnClick = [this, handler](TObject*) { (this->*handler)(); };
    };
    click(L"Button_Prim", &TAAForm1::Button_PrimClick);
    click(L"Button_PrimN", &TAAForm1::Button_PrimClick);
    click(L"Button_Skin", &TAAForm1::Button_SkinClick);
    click(L"Check_IspZvuk", &TAAForm1::Check_IspZvukClick);
    click(L"Check_UdalProshSob", &TAAForm1::Check_IspZvukClick);
    click(L"Check_PokSegodSob", &TAAForm1::Check_IspZvukClick);
    click(L"Check_IspZvukN", &TAAForm1::Check_IspZvukNClick);
    click(L"Button_Dobav", &TAAForm1::Button_DobavClick);
    click(L"Button_Redakt", &TAAForm1::Button_RedaktClick);
    click(L"Button_Udal", &TAAForm1::Button_UdalClick);
    click(L"Button_DobavSob", &TAAForm1::Button_DobavSobClick);
    click(L"Button_RedaktSob", &TAAForm1::Button_RedaktSobClick);
    click(L"Button_UdalSob", &TAAForm1::Button_UdalSobClick);
    click(L"Button_lang", &TAAForm1::Button_langClick);
    click(L"Button_Help", &TAAForm1::Button_HelpClick);
    click(L"Poblagodar", &TAAForm1::PoblagodarClick);
    click(L"ListView_Em", &TAAForm1::ListView_EmClick);
    FindCtl(L"Button_ProvEml")->OnClick = [this](TObject*) { Engine_->CheckNow(); };
    click(L"ListView_Sob", &TAAForm1::ListView_SobClick);
    FindCtl(L"Button_FZvuk")->OnClick = [this](TObject*) {
        TCustomEdit* e = EditOf(L"Edit_FZvuk");
        e->SetText(PickSoundFile(e->Text()));
    };
    FindCtl(L"Button_FZvukN")->OnClick = [this](TObject*) {
        TCustomEdit* e = EditOf(L"Edit_FZvukN");
        e->SetText(PickSoundFile(e->Text()));
    };
    ListView_Em->OnDblClick = [this](TObject*) { ListView_EmDblClick(); };
    ListView_Pism->OnDblClick = [this](TObject*) { ListView_PismDblClick(); };
    FindCtl(L"Time_Sob")->OnDblClick = [this](TObject*) { Time_SobDblClick(); };
    FindCtl(L"Date_Sob")->OnDblClick = [this](TObject*) { Date_SobDblClick(); };
    ListView_Em->OnColumnClick = [this](TObject*, TListColumn* c) { ListView_EmColumnClick(c->Index()); };
    ListView_Sob->OnColumnClick = [this](TObject*, TListColumn* c) { ListView_SobColumnClick(c->Index()); };
    auto* domains = Ctl<TbsSkinComboBox>(L"Combo_PNDomain");
    domains->OnDropDown = [this](TObject*) { domainPicked_ = false; };
    domains->OnClick = [this](TObject*) { domainPicked_ = true; };
    domains->OnCloseUp = [this](TObject*) { Combo_PNDomainCloseUp(); };
    // Accounts are reordered by dragging a row within their own view.
    ListView_Em->SetDragMode(dmAutomatic);
    ListView_Em->OnDragOver = [this](TObject*, TObject* source, int, int, TDragState, bool& accept) {
        accept = source == ListView_Em;
    };
    ListView_Em->OnDragDrop = [this](TObject*, TObject*, int x, int y) {
        TListItem* target = ListView_Em->GetItemAt(x, y);
        if (!target || Lists.Accounts.size() < 2)
            return;
        const int to = target->Index();
        if (MoveEntry(Lists.Accounts, ListView_Em->ItemIndex(), to)) {
            ListView_Em->Repaint();
            SelectListItem(to, ListView_Em, true);
        }
    };
    ListView_Sob->OnCustomDrawItem = [this](TCustomListView* sender, TListItem* item, TCustomDrawState, bool&) {
        const int i = item->Index();
        if (i < 0 || i >= static_cast<int>(Lists.Events.size()))
            return;
        const double ostal = Lists.Events[static_cast<size_t>(i)]->Ostal;
        if (ostal >= 0 && ostal <= kLastHour)
            sender->Canvas()->Brush()->SetColor(TColor(11403159));
        else if (ostal < 0)
            sender->Canvas()->Brush()->SetColor(clRed);
    };
}

// After the texts change: check boxes as wide as their texts, and every field that follows labels or boxes starts
// a gap after the widest of them.
void TAAForm1::ArrangeLayout() {
    // The box, the gap before the text and a little room after it.
    const int checkBox = GetSystemMetrics(SM_CXMENUCHECK) + 28;
    constexpr int kGap = 8;
    // Labels are skinned and size themselves to their texts.
    for (const TCtlSpec& s : kMainFormLayout) {
        if (s.Kind != TCtlKind::Check)
            continue;
        auto* c = dynamic_cast<TWinControl*>(FindCtl(s.Name));
        c->SetWidth(ControlTextWidth(c, c->Caption()) + checkBox);
    }
    for (const TCtlSpec& s : kMainFormLayout) {
        if (!s.After)
            continue;
        int left = 0;
        for (const std::wstring& name : Words(s.After)) {
            TControl* before = FindCtl(name);
            left = std::max(left, before->Left() + before->Width() + kGap);
        }
        TControl* c = FindCtl(s.Name);
        const bool keep = s.KeepWidth || s.Kind == TCtlKind::Label;
        const int right = keep ? left + c->Width() : s.Left + s.Width;
        c->SetBounds(left, c->Top(), std::max(right - left, 20), c->Height());
    }
    ApplyTabOrder();
}

void TAAForm1::ApplyTabOrder() {
    std::map<TWinControl*, std::vector<TWinControl*>> byParent;
    byParent[this].push_back(PageControl);
    for (const TCtlSpec& s : kMainFormLayout) {
        auto* c = dynamic_cast<TWinControl*>(FindCtl(s.Name));
        if (!c || !c->Parent())
            continue;
        byParent[c->Parent()].push_back(c);
    }
    for (auto& [parent, list] : byParent) {
        std::vector<TBox> boxes;
        for (TWinControl* c : list)
            boxes.push_back(TBox{c->Left(), c->Top(), c->Width(), c->Height()});
        const std::vector<std::size_t> order = ReadingOrder(boxes);
        for (std::size_t i = 0; i < order.size(); ++i)
            list[order[i]]->SetTabOrder(static_cast<int>(i));
    }
}

void TAAForm1::PlaceBottomGroups() {
    auto* pism = FindCtl(L"GroupBox_Pism");
    auto* sobty = FindCtl(L"GroupBox_Sobty");
    const int top = PageControl->Top() + PageControl->Height() + 4;
    const int width = ClientWidth() - 8;
    const int height = std::max(ClientHeight() - top - 4, 40);
    const int left = width * 3 / 5;
    pism->SetBounds(4, top, left - 2, height);
    sobty->SetBounds(4 + left + 2, top, width - left - 2, height);
    PlaceViewWithBars(ListView_Pism, 8, 18, pism->Width() - 16, height - 26);
    PlaceViewWithBars(ListView_Sobty, 8, 18, sobty->Width() - 16, height - 26);
}

void TAAForm1::WndProc(TMessage& Message) {
    if (destroying_) {
        TForm::WndProc(Message);
        return;
    }
    switch (Message.Msg) {
        case WM_SIZE:
            TForm::WndProc(Message);
            if (Message.WParam == SIZE_MINIMIZED && !exiting_) {
                // Hidden once the minimising has finished.
                PostMessageW(Handle(), WM_TOTRAY, 0, 0);
            } else if (PageControl) {
                PageControl->SetBounds(4, 4, ClientWidth() - 8, PageControl->Height());
                PlaceBottomGroups();
            }
            return;
        case WM_FIRSTPAINT:
            FirstPaint();
            return;
        case WM_TOTRAY:
            SkinForm1Minimize();
            return;
        case WM_IMAPLIST:
            ImapListArrived(TImapListDownload::Take(Message.LParam));
            return;
        case WM_DAMAGEDKEPT:
            Okno_mbOK(DamagedSettingsKeptText(Settings.LangIndex), true);
            return;
        default:
            break;
    }
    TForm::WndProc(Message);
}

namespace {

// The window's sizes are those of a window with the system's single frame. A skin's frame is thinner or thicker,
// and a full layered border draws it outside the window altogether; the window keeps the client area of the system
// frame under every skin, so the pages fit and nothing is left empty below them.
SIZE FormClientFor(int width, int height) {
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, WS_CAPTION | WS_BORDER, FALSE, 0);
    return {width - (frame.right - frame.left), height - (frame.bottom - frame.top)};
}

}  // namespace

// ---- Lifecycle ------------------------------------------------------------------------------------------------------

void TAAForm1::FormCreate() {
    PageControl->SetActivePageIndex(0);
    // The page control keeps the height of the short window; the lists below it take what the tall one adds.
    const SIZE client = FormClientFor(kFormWidthNarrow, kFormHeightShort);
    PageControl->SetBounds(4, 4, client.cx - 8, client.cy - 8);
    UpdateFormHeight(static_cast<int>(Lists.Letters.size() + Lists.FiredEvents.size()));
    SetFormWidth(kFormWidthNarrow);
    State.ProgDir = GetProgramDir();
    // The window's thread uses COM (the autostart shortcut, the shell).
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ZeroFillTimeSob();
    const std::optional<uint8_t> start = ReadStartLanguage();
    if (start)
        Settings.LangIndex = *start;
    try {
        ApplyLanguage();
    } catch (...) {
        ReportCaught("TAAForm1::FormCreate: language");
    }
    try {
        RemoveStaleSaveFiles(State.ProgDir);
        keepDamagedSettings_ = !LoadSettings(Settings, Lists, State) && SettingsFilePresent(State.ProgDir);
        if (keepDamagedSettings_)
            ReportFailure("TAAForm1::FormCreate", "the settings file was refused; the defaults stay");
    } catch (...) {
        ReportCaught("TAAForm1::FormCreate: settings");
    }
    PervPaint = true;
    try {
        // The list comes after the index: only the chosen skin is ever unpacked.
        SkinData->SetSkinIndex(Settings.SkinIndex < SkinList2->Skins()->Count() ? Settings.SkinIndex : 0);
        SkinData->SetSkinList(SkinList2);
        SkinForm1->SetSkinData(SkinData);
        // The labels measured themselves in the skin's font: the fields behind them follow.
        ArrangeLayout();
    } catch (...) {
        ReportCaught("TAAForm1::FormCreate: skin");
    }
    Engine_ = new TNotifierEngine(this, Lists, Settings, State, Run, Lang, TrayIcon, *this);
    Engine_->SetName(L"NotifierEngine");
    Engine_->SetFormatSettings(Fs);
    Engine_->SetAlertStyle();
    if (Settings.LangIndex != start.value_or(0) || !Settings.LangFile.empty()) {
        try {
            ApplyLanguage();
        } catch (...) {
            ReportCaught("TAAForm1::FormCreate: language");
        }
    }
    // Starting in the tray: the window is never shown, and the first paint's work runs from the queue.
    if (Settings.VTray) {
        Application->SetShowMainForm(false);
        PostMessageW(Handle(), WM_FIRSTPAINT, 0, 0);
    }
}

void TAAForm1::FormPaint() {
    if (PervPaint)
        PostMessageW(Handle(), WM_FIRSTPAINT, 0, 0);
}

void TAAForm1::TakeMachineId() {
    if (!machineId_.valid())
        return;
    try {
        State.IdKomp = machineId_.get();
        if (State.IdKomp.empty())
            ReportFailure("TAAForm1::FirstPaint", "no source gave a machine identity");
    } catch (...) {
        ReportCaught("TAAForm1::FirstPaint: machine identity");
    }
}

void TAAForm1::FirstPaint() {
    if (!PervPaint)
        return;
    PervPaint = false;
    TakeMachineId();
    const bool locked = State.IdKompFile != State.IdKomp || Settings.ZapuskPass;
    if (locked && !Settings.PassZapusk.empty()) {
        InfoBeep();
        PasswordDialog->Caption = passwordCaption_;
        PasswordDialog->PasswordCaption = passwordLabel_;
        PasswordDialog->Password.clear();
        if (PasswordDialog->Execute())
            Run.ParolVvod = Trim(PasswordDialog->Password);
    }
    if (locked && Run.ParolVvod != Settings.PassZapusk) {
        exiting_ = true;
        Hide();
        FindCtl(L"Button_Prim")->SetEnabled(false);
        FindCtl(L"Button_PrimN")->SetEnabled(false);
        Lists.Accounts.clear();
        Lists.ImapServers.clear();
        Lists.Events.clear();
        Application->Terminate();
        return;
    }
    SettingsToControls();
    if (Settings.VTray) {
        TrayIcon->HideMainForm();
        TrayIcon->SetIconVisible(true);
    }
    Engine_->FirstPaint();
}

void TAAForm1::SettingsToControls() {
    ListView_Em->Items()->SetCount(static_cast<int>(Lists.Accounts.size()));
    ListView_Sob->Items()->SetCount(static_cast<int>(Lists.Events.size()));
    // An empty list is downloaded in the background; its domains join the box when it comes.
    if (Lists.ImapServers.empty())
        imapDownload_.Start(Handle(), WM_IMAPLIST);
    auto* domains = Ctl<TbsSkinComboBox>(L"Combo_PNDomain");
    for (const auto& server : Lists.ImapServers)
        domains->Items()->Add(server->Url);
    for (TbsSkinListView* view : {ListView_Em, ListView_Pism, ListView_Sob})
        view->SetDoubleBuffered(true);
    UpdateDaysLeft(Lists, Now());

    CheckOf(L"Check_ZapuskPass")->SetChecked(Settings.ZapuskPass);
    PasswordOf(L"Edit_PassZapusk")->SetText(Settings.PassZapusk);
    SelectLangImage(Settings.LangIndex);
    EditOf(L"Edit_lang")->SetText(Settings.LangFile);
    SetSpinValue(L"Spin_ProvEmSek", Settings.ProvEmSek);
    CheckOf(L"Check_ProvVseSrazu")->SetChecked(Settings.ProvVseSrazu);
    CheckOf(L"Check_ProvVseSrazu")->SetEnabled(Lists.Accounts.size() > 1);
    CheckOf(L"Check_AutoZagr")->SetChecked(Settings.AutoZagr);
    CheckOf(L"Check_VTray")->SetChecked(Settings.VTray);
    CheckOf(L"Check_OtobrTextEm")->SetChecked(Settings.OtobrTextEm);
    SetSpinValue(L"Spin_VremPokVspOkn", Settings.VremPokVspOkn);
    CheckOf(L"Check_IspZvuk")->SetChecked(Settings.IspZvuk);
    EditOf(L"Edit_FZvuk")->SetText(Settings.FZvuk);
    CheckOf(L"Check_PovtorZvuk")->SetChecked(Settings.PovtorZvuk);
    SetSpinValue(L"Spin_PovtorZvukI", Settings.PovtorZvukI);
    SetSpinValue(L"Spin_ZaSkolkPredupr", Settings.ZaSkolkPredupr);
    CheckOf(L"Check_PokSegodSob")->SetChecked(Settings.PokSegodSob);
    CheckOf(L"Check_UdalProshSob")->SetChecked(Settings.UdalProshSob);
    CheckOf(L"Check_IspZvukN")->SetChecked(Settings.IspZvukN);
    EditOf(L"Edit_FZvukN")->SetText(Settings.FZvukN);
    CheckOf(L"Check_PovtorZvukN")->SetChecked(Settings.PovtorZvukN);
    SetSpinValue(L"Spin_PovtorZvukIN", Settings.PovtorZvukIN);
    Check_IspZvukClick();
    Check_IspZvukNClick();
    TrayIcon->SetMinimizedOnStart(Settings.VTray);
    Run.LimitPotok = std::max(2, Settings.ProvEmSek / 20);
}

int TAAForm1::LangImageIndex() const {
    const int i = OfficeComboBox_lang->ItemIndex();
    if (i < 0 || i >= OfficeComboBox_lang->Items()->Count())
        return -1;
    return OfficeComboBox_lang->Items()->GetItem(i)->ImageIndex();
}

void TAAForm1::SelectLangImage(int imageIndex) {
    TbsSkinOfficeItems* items = OfficeComboBox_lang->Items();
    for (int i = 0; i < items->Count(); ++i) {
        if (items->GetItem(i)->ImageIndex() == imageIndex) {
            OfficeComboBox_lang->SetItemIndex(i);
            return;
        }
    }
}

void TAAForm1::ImapListArrived(std::unique_ptr<TImapServerList> list) {
    if (!list || exiting_ || !Lists.ImapServers.empty())
        return;
    auto* domains = Ctl<TbsSkinComboBox>(L"Combo_PNDomain");
    for (auto& server : *list) {
        domains->Items()->Add(server->Url);
        Lists.ImapServers.push_back(std::move(server));
    }
}

void TAAForm1::ControlsToSettings() {
    Settings.ProvEmSek = SpinValue(L"Spin_ProvEmSek");
    Settings.ProvVseSrazu = CheckOf(L"Check_ProvVseSrazu")->Checked();
    Settings.AutoZagr = CheckOf(L"Check_AutoZagr")->Checked();
    Settings.VTray = CheckOf(L"Check_VTray")->Checked();
    Settings.OtobrTextEm = CheckOf(L"Check_OtobrTextEm")->Checked();
    Settings.VremPokVspOkn = SpinValue(L"Spin_VremPokVspOkn");
    Settings.IspZvuk = CheckOf(L"Check_IspZvuk")->Checked();
    Settings.FZvuk = Trim(EditOf(L"Edit_FZvuk")->Text());
    Settings.PovtorZvuk = CheckOf(L"Check_PovtorZvuk")->Checked();
    Settings.PovtorZvukI = SpinValue(L"Spin_PovtorZvukI");
    Settings.ZaSkolkPredupr = SpinValue(L"Spin_ZaSkolkPredupr");
    Settings.PokSegodSob = CheckOf(L"Check_PokSegodSob")->Checked();
    Settings.UdalProshSob = CheckOf(L"Check_UdalProshSob")->Checked();
    Settings.IspZvukN = CheckOf(L"Check_IspZvukN")->Checked();
    Settings.FZvukN = Trim(EditOf(L"Edit_FZvukN")->Text());
    Settings.PovtorZvukN = CheckOf(L"Check_PovtorZvukN")->Checked();
    Settings.PovtorZvukIN = SpinValue(L"Spin_PovtorZvukIN");
}

void TAAForm1::Button_PrimClick() {
    Engine_->ApplyStarting();
    const bool oldAsk = Settings.ZapuskPass;
    const std::wstring oldPassword = Settings.PassZapusk;
    Settings.ZapuskPass = CheckOf(L"Check_ZapuskPass")->Checked();
    Settings.PassZapusk = Trim(PasswordOf(L"Edit_PassZapusk")->Text());
    // A start password set here was typed by the user at hand: it counts as entered for this run.
    if (Settings.ZapuskPass != oldAsk || Settings.PassZapusk != oldPassword)
        Run.ParolVvod = Settings.PassZapusk;
    const int langIndex = LangImageIndex();
    const std::wstring langFile = EditOf(L"Edit_lang")->Text();
    if (langFile != Settings.LangFile || langIndex != Settings.LangIndex) {
        Settings.LangIndex = static_cast<uint8_t>(std::clamp(langIndex, 0, 255));
        Settings.LangFile = langFile;
        ApplyLanguage();
        RepaintAfterLanguage();
    }
    ControlsToSettings();
    Engine_->SetAlertStyle();
    SetAutostart(Settings.AutoZagr, State.ProgDir, Application->ExeName());
    // A failed save throws: the class library's error box reports it and the rest of this handler does not run, so
    // the mail-check timer stays off until the next successful apply or a check asked for.
    SaveSettings();
    TrayIcon->SetMinimizedOnStart(Settings.VTray);
    Engine_->Applied();
    InfoBeep();
}

void TAAForm1::Button_SkinClick() {
    InfoBeep();
    if (SelectSkinDialog1->Execute(SkinData->SkinIndex()))
        SkinData->SetSkinIndex(SelectSkinDialog1->SelectedSkinIndex);
    Settings.SkinIndex = static_cast<uint8_t>(SkinData->SkinIndex());
    InfoBeep();
}

void TAAForm1::SkinForm1Minimize() {
    TrayIcon->HideMainForm();
    ShowWindow(Handle(), SW_HIDE);
    ShowWindow(Application->Handle(), SW_HIDE);
    TrayIcon->SetIconVisible(true);
    Engine_->CheckMail(false);
}

void TAAForm1::TrayIconDblClick() {
    Run.TikPotok = 0;
    Engine_->StopCheck();
    WaitPumping(200, nullptr, nullptr);
    UpdateFormHeight(static_cast<int>(Lists.Letters.size() + Lists.FiredEvents.size()));
    WaitPumping(100, nullptr, nullptr);
    TrayIcon->SetIconVisible(false);
    TrayIcon->ShowMainForm();
    Show();
    if (IsIconic(Handle()))
        ShowWindow(Handle(), SW_RESTORE);
    SetForegroundWindow(Handle());
}

void TAAForm1::ExitProgram() {
    if (exiting_)
        return;
    exiting_ = true;
    if (Engine_)
        Engine_->StopCheck();
    WaitPumping(300, nullptr, nullptr);
    Application->Terminate();
    InfoBeep();
}

void TAAForm1::SetFormWidth(int width) {
    SetFormSize(width, formHeight_);
}

void TAAForm1::SetFormSize(int width, int height) {
    formWidth_ = width;
    formHeight_ = height;
    const SIZE client = FormClientFor(width, height);
    // The skinned frame puts this client size back after every skin change.
    SkinForm1->ClientWidth = client.cx;
    SkinForm1->ClientHeight = client.cy;
    // Before the window exists its frame is not known: the system frame's sizes stand until the skinned frame puts
    // the client size back when the window shows.
    const int outerWidth = HandleAllocated() ? Width() - ClientWidth() + client.cx : width;
    const int outerHeight = HandleAllocated() ? Height() - ClientHeight() + client.cy : height;
    // The window keeps its left edge but stays on the work area.
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    int left = Left();
    if (left + outerWidth > work.right)
        left = std::max<int>(work.left, work.right - outerWidth);
    SetBounds(left, Top(), outerWidth, outerHeight);
}

void TAAForm1::PageControlChange() {
    if (PageControl->ActivePageIndex() == 2) {
        SetFormWidth(kFormWidthWide);
        UpdateFormHeight(1);
        PlaceProducts();
    } else {
        SetFormWidth(kFormWidthNarrow);
        UpdateFormHeight(static_cast<int>(Lists.Letters.size() + Lists.FiredEvents.size()));
    }
}

void TAAForm1::UpdateFormHeight(int n) {
    if (destroying_)
        return;
    const bool tall = Lists.Letters.size() + Lists.FiredEvents.size() + static_cast<size_t>(std::max(n, 0)) > 0;
    FindCtl(L"GroupBox_Pism")->SetVisible(tall);
    FindCtl(L"GroupBox_Sobty")->SetVisible(tall);
    SetFormSize(formWidth_, tall ? kFormHeightTall : kFormHeightShort);
    PlaceBottomGroups();
}

void TAAForm1::LettersChanged() {
    if (destroying_)
        return;
    ListView_Pism->Items()->SetCount(static_cast<int>(Lists.Letters.size()));
    ListView_Pism->Repaint();
}

void TAAForm1::EventsChanged() {
    if (destroying_)
        return;
    ListView_Sob->Items()->SetCount(static_cast<int>(Lists.Events.size()));
    ListView_Sob->Repaint();
}

void TAAForm1::EventsTicked() {
    if (destroying_)
        return;
    if (PageControl->ActivePageIndex() == 1 && IsWindowVisible(Handle()))
        ListView_Sob->Repaint();
}

void TAAForm1::FiredEventAdded() {
    if (destroying_)
        return;
    ListView_Sobty->Items()->SetCount(static_cast<int>(Lists.FiredEvents.size()));
    SelectListItem(static_cast<int>(Lists.FiredEvents.size()) - 1, ListView_Sobty, true);
}

void TAAForm1::SaveSettings() {
    TakeMachineId();
    // A file that did not load would be lost under the first save: it is kept beside it, or nothing is saved.
    if (keepDamagedSettings_) {
        KeepDamagedSettings(State.ProgDir);
        keepDamagedSettings_ = false;
        PostMessageW(Handle(), WM_DAMAGEDKEPT, 0, 0);
    }
    ::SaveSettings(Settings, Lists, State);
}

TAnnouncedLetters* TAAForm1::Announced() {
    return Engine_ ? &Engine_->Announced() : nullptr;
}

void TAAForm1::Check_IspZvukClick() {
    const bool on = !CheckOf(L"Check_IspZvuk")->Checked();
    FindCtl(L"Edit_FZvuk")->SetEnabled(on);
    FindCtl(L"Button_FZvuk")->SetEnabled(on);
}

void TAAForm1::Check_IspZvukNClick() {
    const bool on = !CheckOf(L"Check_IspZvukN")->Checked();
    FindCtl(L"Edit_FZvukN")->SetEnabled(on);
    FindCtl(L"Button_FZvukN")->SetEnabled(on);
}

void TAAForm1::Okno_mbOK(const std::wstring& text, bool warning) {
    MessageBeep(warning ? MB_ICONWARNING : MB_ICONINFORMATION);
    FillImagesOnce(ImageList64, IDI_MESSAGE_FIRST, IDI_MESSAGE_COUNT, 64);
    SkinMessage->CustomMessageDlg(Padded(text), boxCaption_, ImageList64, 0, {mbOK}, 0);
}

bool TAAForm1::Okno_mbYes_No(const std::wstring& text, bool warning) {
    MessageBeep(warning ? MB_ICONWARNING : MB_ICONINFORMATION);
    FillImagesOnce(ImageList64, IDI_MESSAGE_FIRST, IDI_MESSAGE_COUNT, 64);
    return SkinMessage->CustomMessageDlg(Padded(text), boxCaption_, ImageList64, 1, {mbYes, mbNo}, 0) == mrDlgYes;
}

// ---- Language -------------------------------------------------------------------------------------------------------

void TAAForm1::ApplyLanguage() {
    captionBeforeApply_ = boxCaption_;
    try {
        Lang.Apply(Settings, State.ProgDir, *this);
    } catch (...) {
        captionBeforeApply_.reset();
        throw;
    }
    captionBeforeApply_.reset();
    ArrangeLayout();
}

void TAAForm1::RepaintAfterLanguage() {
    // New texts move labels, fields and up-downs; the moved windows keep the copied old pixels (and a page repaint
    // alone stops at its children), so the whole window with every child is painted again now.
    if (HandleAllocated())
        RedrawWindow(Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASENOW);
}

void TAAForm1::SetRussianResourceStrings(bool on) {
    if (SkinData)
        SkinData->SetResourceStrData(on ? ResourceStrData_rus : nullptr);
}

void TAAForm1::ShowWarning(const std::wstring& text) {
    // A warning about the file being applied keeps the caption from before it: its line 1 may already be in place.
    if (!captionBeforeApply_) {
        Okno_mbOK(text, true);
        return;
    }
    const std::wstring current = std::exchange(boxCaption_, *captionBeforeApply_);
    try {
        Okno_mbOK(text, true);
    } catch (...) {
        boxCaption_ = current;
        throw;
    }
    boxCaption_ = current;
}

void TAAForm1::ApplyText(const TLangApplyEntry& entry, const std::wstring& text) {
    for (const std::wstring& target : Words(entry.targets)) {
        if (target == L"caption") {
            boxCaption_ = text;
            continue;
        }
        if (target == L"PasswordDialog") {
            passwordCaption_ = text;
            continue;
        }
        if (target == L"PasswordDialog:label") {
            passwordLabel_ = text;
            continue;
        }
        const size_t colon = target.find(L':');
        if (colon != std::wstring::npos) {
            const std::wstring owner = target.substr(0, colon);
            const int index = std::stoi(target.substr(colon + 1));
            if (owner == L"Product") {
                if (index >= 0 && index < static_cast<int>(products_.size()))
                    products_[static_cast<size_t>(index)].Text->SetCaption(text);
            } else if (auto* view = Ctl<TbsSkinListView>(owner.c_str())) {
                // Wine's header cuts a caption's last letter at the text's measured width (a final Cyrillic letter
                // loses its right stroke): a trailing blank is what it cuts instead.
                if (index < view->Columns()->Count())
                    view->Columns()->Items(index)->SetCaption(text + L" ");
            }
            continue;
        }
        for (TMenuItem* item : {ObnovProvEm, OtkrProg, PokazSoob, Clear_Soob, Vihod}) {
            if (item->Name() == target)
                item->SetCaption(text);
        }
        if (TControl* c = FindCtl(target)) {
            if (entry.use == TLangUse::Hint)
                c->SetHint(text);
            else
                c->SetCaption(text);
        }
    }
}

// ---- Files, help, links ---------------------------------------------------------------------------------------------

void TAAForm1::Button_langClick() {
    OpenDialog->Filter = L"Language|*.lng|All files|*.*";
    OpenDialog->Title = Lang.LangLine(45);
    const std::wstring current = EditOf(L"Edit_lang")->Text();
    const std::wstring folder = ExtractFileDir(current);
    OpenDialog->InitialDir = folder.empty() ? State.ProgDir : folder;
    OpenDialog->FileName = ExtractFileName(current);
    InfoBeep();
    const bool chosen = OpenDialog->Execute();
    InfoBeep();
    if (chosen && FileExists(OpenDialog->FileName))
        EditOf(L"Edit_lang")->SetText(StoredFileName(OpenDialog->FileName, State.ProgDir, true));
}

std::wstring TAAForm1::PickSoundFile(const std::wstring& text) {
    const std::wstring t = Trim(text);
    const std::wstring folder = ExtractFileDir(t);
    OpenSoundDialog->InitialDir = folder.empty() ? State.ProgDir : folder;
    OpenSoundDialog->FileName = ExtractFileName(t);
    OpenSoundDialog->DialogWidth = Settings.SoundDlgWidth;
    OpenSoundDialog->DialogHeight = Settings.SoundDlgHeight;
    OpenSoundDialog->ListViewStyle = static_cast<TbsShellListViewStyle>(ByteToViewStyle(Settings.SoundDlgStyle));
    if (!OpenSoundDialog->Execute() || !FileExists(OpenSoundDialog->FileName))
        return text;
    Settings.SoundDlgWidth = OpenSoundDialog->DialogWidth;
    Settings.SoundDlgHeight = OpenSoundDialog->DialogHeight;
    Settings.SoundDlgStyle = ViewStyleToByte(OpenSoundDialog->ListViewStyle);
    return StoredFileName(OpenSoundDialog->FileName, State.ProgDir, false);
}

void TAAForm1::Button_HelpClick() {
    OpenHelp(Handle());
    InfoBeep();
}

void TAAForm1::PoblagodarClick() {
    OpenWebPage(MakerUrl(kThanksPage));
    InfoBeep();
}

void TAAForm1::ProductClick(int index) {
    const auto& list = OtherProducts();
    if (index >= 0 && index < static_cast<int>(list.size()))
        OpenWebPage(MakerUrl(list[static_cast<size_t>(index)].page));
    InfoBeep();
}

// ---- Program body ---------------------------------------------------------------------------------------------------

int RunMainWindow() {
    Application->Initialize();
    Application->SetMainFormOnTaskBar(true);
    Application->SetTitle(L"Trelm Mail");
    auto* form = Application->CreateForm<TAAForm1>();
    Application->Run();
    form->Shutdown();
    delete form;
    return 0;
}
