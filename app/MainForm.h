// TAAForm1: the notifier's main window. Three pages (mail, reminders, our other products) and two lists below them
// (letters, fired reminders), built from the layout table; the settings, the start-password gate, the account and
// reminder editors with their owner-data list views, the language, the sounds, the skin, and the tray icon it hides
// in. Index: TAAForm1 (lifecycle, apply, tray; editors and views; language sink), RunMainWindow.
//
// Ownership: every control, image list, menu, timer, the skin container, the skinned frame and the tray icon are
// components of the form; the seven lists own their records. GUI thread only.
#pragma once

#include <windows.h>

#include <future>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/DataModel.h"
#include "app/Editors.h"
#include "app/ImapList.h"
#include "app/LangTable.h"
#include "app/MainFormLayout.h"
#include "app/NotifierEngine.h"
#include "app/RunState.h"
#include "classlib/ComCtrls.h"
#include "classlib/Dialogs.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/ImgList.h"
#include "classlib/Mask.h"
#include "classlib/Menus.h"
#include "classlib/StdCtrls.h"
#include "skin/boxes/SkinComboBox.h"
#include "skin/boxes/SkinEdit.h"
#include "skin/boxes/SkinOfficeComboBox.h"
#include "skin/boxes/SkinPasswordEdit.h"
#include "skin/boxes/SkinSpinEdit.h"
#include "skin/controls/SkinCheckRadio.h"
#include "skin/views/SkinListView.h"
#include "skin/pages/SkinPageControl.h"

class TbsSkinData;
class TbsSkinButtonLabel;
class TbsSkinLinkLabel;
class TbsSkinStdLabel;
class TbsSkinForm;
class TbsTrayIcon;
class TbsSkinPopupMenu;
class TbsSkinHint;
class TbsCompressedSkinList;
class TbsResourceStrData;
class TNotifierEngine;
class TbsSkinMessage;
class TbsSkinPasswordDialog;
class TbsSelectSkinDialog;
class TbsSkinOpenSoundDialog;
class TbsSkinOpenDialog;

// Posted to the form when it starts hidden in the tray: the start work of the first paint runs without a paint.
inline constexpr UINT WM_FIRSTPAINT = WM_APP + 0x101;
// Posted by a minimise: the window goes to the tray once the minimising has finished.
inline constexpr UINT WM_TOTRAY = WM_APP + 0x102;
// Posted by the server-list download when the list has come (lParam: the list, see TImapListDownload::Take).
inline constexpr UINT WM_IMAPLIST = WM_APP + 0x103;
// Posted by a save that kept an unreadable settings file beside it: the notice is shown outside the save.
inline constexpr UINT WM_DAMAGEDKEPT = WM_APP + 0x104;

class TAAForm1 : public TForm, public TLanguageSink, public TNotifierWindow {
  public:
    explicit TAAForm1(TComponent* AOwner);
    ~TAAForm1() override;
    // The engine stops first, while the window and its controls still exist.
    void BeforeDestruction() override;
    // End of the message loop: the engine stops (a running check with it) and the tray icon goes.
    void Shutdown();

    // The control of that name (nullptr when there is none).
    TControl* FindCtl(const std::wstring& name) const;

    // Lifecycle.
    void FormCreate();
    void FormPaint();
    void SettingsToControls();
    void ControlsToSettings();
    void Button_PrimClick();
    void Button_SkinClick();
    void SkinForm1Minimize();
    void TrayIconDblClick();
    void ExitProgram();
    void PageControlChange();
    void UpdateFormHeight(int n) override;
    void Check_IspZvukClick();
    void Check_IspZvukNClick();
    void Okno_mbOK(const std::wstring& text, bool warning);
    bool Okno_mbYes_No(const std::wstring& text, bool warning);
    void ApplyLanguage();
    void RepaintAfterLanguage();

    // Editors and views.
    void Button_DobavClick();
    void Button_RedaktClick();
    void Button_UdalClick();
    void ListView_EmClick();
    void ListView_EmDblClick();
    void ListView_EmColumnClick(int column);
    void Combo_PNDomainCloseUp();
    void Button_DobavSobClick();
    void Button_RedaktSobClick();
    void Button_UdalSobClick();
    void ListView_SobClick();
    void ListView_SobColumnClick(int column);
    void ListView_PismDblClick();
    void Time_SobDblClick();
    void Date_SobDblClick();
    void SelectListItem(int index, TbsSkinListView* view, bool clearSelection);
    void AddViewBars(TbsSkinListView* View, TWinControl* Parent, const TCtlSpec& S);

    // Files, help and links.
    void Button_langClick();
    std::wstring PickSoundFile(const std::wstring& text);
    void Button_HelpClick();
    void PoblagodarClick();
    void ProductClick(int index);

    // TNotifierWindow.
    HWND NotifierOwner() override { return Handle(); }
    void LettersChanged() override;
    void EventsChanged() override;
    void EventsTicked() override;
    void FiredEventAdded() override;
    void SaveSettings() override;

    TNotifierEngine* Engine() const { return Engine_; }

    // TLanguageSink.
    void SetRussianResourceStrings(bool on) override;
    void ShowWarning(const std::wstring& text) override;
    void ApplyText(const TLangApplyEntry& entry, const std::wstring& text) override;

    TNotifierLists Lists;
    TSettings Settings;
    TPersistState State;
    TRunState Run;
    TLanguage Lang;
    TFormatSettings Fs;
    TSortState SortEm, SortSob;
    bool PervPaint = false;

  protected:
    void WndProc(TMessage& Message) override;

  private:
    struct TSpin {
        TbsSkinSpinEdit* Edit = nullptr;
        int Min = 0, Max = 0;
    };
    struct TViewHint {
        int First = 0, Last = -1;
    };
    struct TProductRow {
        TbsSkinButtonLabel* Name = nullptr;
        TbsSkinStdLabel* Text = nullptr;
        TbsSkinLinkLabel* Link = nullptr;
    };

    void BuildImages();
    void FillImagesOnce(TImageList* list, int firstId, int count, int size);
    void BuildControls();
    void BuildProducts();
    void BuildViews();
    void BuildTray();
    void BindEvents();
    void ArrangeLayout();
    // Tab follows the reading order of each page and group.
    void ApplyTabOrder();
    // The products page's rows across the page's width.
    // The skinned labels and group boxes draw from the window's skin container.
    void BindSkinnedControls();
    void PlaceProducts();
    void PlaceBottomGroups();
    void FirstPaint();
    // The machine identity from its worker into State.IdKomp (once; later calls do nothing).
    void TakeMachineId();
    void SetFormWidth(int width);
    // Gives the window the client area that the system's single frame leaves inside width x height.
    void SetFormSize(int width, int height);
    void ImapListArrived(std::unique_ptr<TImapServerList> list);

    template <typename T>
    T* Ctl(const wchar_t* name) const {
        return dynamic_cast<T*>(FindCtl(name));
    }
    TCustomEdit* EditOf(const wchar_t* name) const { return Ctl<TCustomEdit>(name); }
    TbsSkinPasswordEdit* PasswordOf(const wchar_t* name) const { return Ctl<TbsSkinPasswordEdit>(name); }
    TCustomMaskEdit* MaskEditOf(const wchar_t* name) const { return Ctl<TCustomMaskEdit>(name); }
    TbsSkinCheckRadioBox* CheckOf(const wchar_t* name) const { return Ctl<TbsSkinCheckRadioBox>(name); }
    int SpinValue(const wchar_t* name) const;
    void SetSpinValue(const wchar_t* name, int value);
    TAccountEditor AccountEditor() const;
    TEventEditor EventEditor() const;
    void ZeroFillTimeSob();
    void FillRow(TbsSkinListView* view, TListItem* item);
    void RepaintViews();
    // The letters announced in this run, forgotten for an account when it is edited.
    TAnnouncedLetters* Announced();

    std::map<std::wstring, TControl*> controls_;
    std::map<std::wstring, TSpin> spins_;
    std::map<TbsSkinListView*, TViewHint> hints_;
    std::vector<TProductRow> products_;

    TbsSkinPageControl* PageControl = nullptr;
    TbsSkinListView* ListView_Em = nullptr;
    TbsSkinListView* ListView_Pism = nullptr;
    TbsSkinListView* ListView_Sob = nullptr;
    TbsSkinListView* ListView_Sobty = nullptr;
    TbsSkinOfficeComboBox* OfficeComboBox_lang = nullptr;
    // The language chooser's items carry their language index as their picture.
    int LangImageIndex() const;
    void SelectLangImage(int imageIndex);
    // The domain box's list closed on a pick (set by its OnClick, cleared when it opens): only then do host and
    // port follow the domain.
    bool domainPicked_ = false;
    TImageList* ImageList_KolEm = nullptr;
    TImageList* ImageList64 = nullptr;
    std::future<std::wstring> machineId_;
    TImageList* ImageList_Flags = nullptr;
    TImageList* ImageList_Menu = nullptr;
    // The square picture buttons' pictures.
    TImageList* ImageList_Glyphs = nullptr;
    TbsSkinPopupMenu* PopupMenu1 = nullptr;
    TMenuItem* ObnovProvEm = nullptr;
    TMenuItem* OtkrProg = nullptr;
    TMenuItem* PokazSoob = nullptr;
    TMenuItem* Clear_Soob = nullptr;
    TMenuItem* Vihod = nullptr;
    TbsSkinData* SkinData = nullptr;
    TbsSkinForm* SkinForm1 = nullptr;
    TbsTrayIcon* TrayIcon = nullptr;
    TbsSkinHint* SkinHint1 = nullptr;
    TbsCompressedSkinList* SkinList2 = nullptr;
    TbsResourceStrData* ResourceStrData_rus = nullptr;
    TbsSkinMessage* SkinMessage = nullptr;
    TbsSkinPasswordDialog* PasswordDialog = nullptr;
    TbsSelectSkinDialog* SelectSkinDialog1 = nullptr;
    TbsSkinOpenSoundDialog* OpenSoundDialog = nullptr;
    TbsSkinOpenDialog* OpenDialog = nullptr;
    TNotifierEngine* Engine_ = nullptr;
    TImapListDownload imapDownload_;

    std::wstring boxCaption_ = L"Внимание";  // the message-box caption (language line 1)
    std::wstring passwordCaption_ = L"Введите пароль";
    std::wstring passwordLabel_ = L"Пароль:";
    std::wstring langDialogTitle_;
    bool exiting_ = false;
    bool destroying_ = false;
    int formWidth_ = kFormWidthNarrow, formHeight_ = kFormHeightShort;
    // The settings file did not load but holds something: the first save keeps it as Posl.vkz.bad first.
    bool keepDamagedSettings_ = false;
    // While a language is applied: the message-box caption from before, for a warning about the file being applied.
    std::optional<std::wstring> captionBeforeApply_;
};

// The program body: the application, the main window, the message loop. Returns the exit code.
int RunMainWindow();
