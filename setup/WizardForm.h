// TAForm1: the installer's wizard window "Установка - Trelm Mail": a title panel, six pages in a page control with
// hidden tabs (description, terms, target folder, Start-menu folder, installation, start language) and Back, Next
// and Cancel below them. Built from one table (kWizardLayout: component, class, parent, bounds, skin entry, text);
// the step machine behind Next and Back, the target-folder proposal, the folder page's refresh, the Programs list
// and the close question. Index: TWizardKind, TWizardSpec, kWizardLayout, TAForm1, RunWizard.
//
// Ownership: every control, image list, the skin container and the skinned frame are components of the form.
// GUI thread only.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "classlib/Forms.h"

class TbsSkinData;
class TbsSkinForm;
class TbsSkinMessage;
class TbsCompressedSkinList;
class TbsPngImageList;
class TImageList;
class TbsSkinLabel;
class TbsSkinButton;
class TbsSkinPageControl;
class TbsSkinCheckRadioBox;
class TbsSkinEdit;
class TbsSkinListView;
class TbsSkinGauge;
class TbsSkinStdLabel;
class TbsSkinDirectoryListBox;
class TbsSkinDriveComboBox;

enum class TWizardKind {
    Panel,        // skinned panel (Text: "frame" for a frame border)
    Image,        // 60 x 60 picture (Text: its resource name)
    EffectLabel,  // the title label
    Button,       // push button
    Pages,        // the page control
    Page,         // one of its pages
    StdLabel,     // page text
    Memo,         // memo with its scroll bar (the next row)
    VScrollBar,   // vertical scroll bar
    CheckBox,
    RadioButton,  // (Text: caption; picture index in A)
    Edit,
    ReadOnlyEdit,
    ListView,     // the Programs list
    FolderList,   // the folder list of the target folder
    DriveBox,     // its drive box
    Gauge,
};

struct TWizardSpec {
    const wchar_t* Name;
    TWizardKind Kind;
    const wchar_t* Parent;  // "" for the form
    int Left, Top, Width, Height;
    const wchar_t* Entry;  // skin entry ("" keeps the class's own)
    const wchar_t* Text;   // caption as the window shows it
    int A = 0;             // radio button: picture index
    TAlign Align = alNone;  // the panels and the page control share the client area whatever the frame leaves
};

extern const std::vector<TWizardSpec> kWizardLayout;

// The window's largest size; the table's bounds are laid out for a client area of 494 x 364 (the panels and the
// page control follow the client area the frame leaves).
inline constexpr int kWizardMaxWidth = 500;
inline constexpr int kWizardMaxHeight = 384;

// The two memo texts (description; terms of use).
extern const wchar_t* const kDescriptionText;
extern const wchar_t* const kTermsText;

class TAForm1 : public TForm {
  public:
    explicit TAForm1(TComponent* AOwner);
    ~TAForm1() override;

    TControl* FindCtl(const std::wstring& name) const;

    void FormCreate();
    void Button_NextClick() { Button_NextClik(); }
    void Button_BackClick();
    void Button_CancelClick();
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void Check2Click();
    void Check4Click();
    void DriveComboBoxChange() { Catal(); }
    void DirectoryListBoxListBoxMouseUp() { Catal(); }
    bool Okno_mbYes_No(const std::wstring& Msg, bool Warning);
    void Catal();
    void Button_NextClik();
    // The gauge after Copied of Total blocks, painted at once.
    void GaugeObnov(std::uint64_t Copied, std::uint64_t Total);
    // One warning in the skinned box "Внимание".
    void ShowWarning(const std::wstring& Msg);

    // Wizard state.
    int Step = 0;
    std::wstring ProgName = L"Trelm Mail";
    std::wstring FolderName = L"Trelm Mail";
    std::wstring InstallDir;
    std::wstring ProgPath;
    bool StartMenuFlag = true;
    bool DesktopFlag = true;

  private:
    void BuildImages();
    void BuildControls();
    // Puts the table's controls back at their places and sizes.
    void PlaceControls();
    void FillMemos();
    void StepActions();
    void ProgramsList();

    template <typename T>
    T* Ctl(const wchar_t* name) const {
        return dynamic_cast<T*>(FindCtl(name));
    }

    std::map<std::wstring, TControl*> controls_;

    TbsCompressedSkinList* SkinList = nullptr;
    TbsSkinData* SkinData = nullptr;
    TbsSkinForm* SkinForm1 = nullptr;
    TbsSkinMessage* SkinMessage = nullptr;
    TImageList* ImageList64 = nullptr;
    TbsPngImageList* PngImageList_lang = nullptr;
    TbsSkinLabel* Label_verh = nullptr;
    TbsSkinButton *Button_Back = nullptr, *Button_Next = nullptr, *Button_Cancel = nullptr;
    TbsSkinPageControl* PageControl1 = nullptr;
    TbsSkinCheckRadioBox *Check2 = nullptr, *Check4 = nullptr, *Check5 = nullptr, *Check6 = nullptr;
    TbsSkinEdit *Edit3 = nullptr, *Edit4 = nullptr;
    TbsSkinListView* ListView1 = nullptr;
    TbsSkinGauge* Gauge5 = nullptr;
    TbsSkinDirectoryListBox* DirectoryListBox = nullptr;
    TbsSkinDriveComboBox* DriveComboBox = nullptr;
    TbsSkinStdLabel *Label4 = nullptr, *Label5 = nullptr, *Label_Main31 = nullptr;
};

// The program body: the application, the wizard as its main window, the message loop.
int RunWizard();
