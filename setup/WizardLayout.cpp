// The wizard's components as one table, in creation order (a parent before its children). Bounds are in the
// parent's client coordinates; the pages fill the page control.
#include "setup/WizardForm.h"

using K = TWizardKind;

const std::vector<TWizardSpec> kWizardLayout = {
    // The title panel: a picture at each end, the page title between them.
    {L"Panel_verh", K::Panel, L"", 0, 0, 494, 60, L"panel", L"", 0, alTop},
    {L"Image1", K::Image, L"Panel_verh", 0, 0, 60, 60, L"", L"SETUP_IMAGE1", 0, alLeft},
    {L"Image2", K::Image, L"Panel_verh", 434, 0, 60, 60, L"", L"SETUP_IMAGE2", 0, alRight},
    {L"Label_verh", K::EffectLabel, L"Panel_verh", 60, 0, 374, 60, L"label", L"Описание Trelm Mail", 0, alClient},
    // The buttons' panel.
    {L"Panel_niz", K::Panel, L"", 0, 322, 494, 42, L"panel", L"frame", 0, alBottom},
    {L"Button_Back", K::Button, L"Panel_niz", 226, 9, 75, 25, L"button", L"< Назад"},
    {L"Button_Next", K::Button, L"Panel_niz", 314, 9, 75, 25, L"button", L"Далее >"},
    {L"Button_Cancel", K::Button, L"Panel_niz", 402, 9, 75, 25, L"button", L"Отмена"},
    {L"PageControl1", K::Pages, L"", 0, 60, 494, 262, L"tab", L"", 0, alClient},
    {L"TabSheet1", K::Page, L"PageControl1", 0, 0, 0, 0, L"", L""},
    {L"TabSheet2", K::Page, L"PageControl1", 0, 0, 0, 0, L"", L""},
    {L"TabSheet3", K::Page, L"PageControl1", 0, 0, 0, 0, L"", L""},
    {L"TabSheet4", K::Page, L"PageControl1", 0, 0, 0, 0, L"", L""},
    {L"TabSheet5", K::Page, L"PageControl1", 0, 0, 0, 0, L"", L""},
    {L"TabSheet6", K::Page, L"PageControl1", 0, 0, 0, 0, L"", L""},

    // Page 1: the description.
    {L"Label_Main1", K::StdLabel, L"TabSheet1", 40, 13, 0, 0, L"stdlabel",
     L"Обязательно прочтите. Для продолжения нажмите кнопку Далее."},
    {L"Panel1", K::Panel, L"TabSheet1", 40, 32, 409, 205, L"panel", L"frame"},
    {L"Memo1", K::Memo, L"Panel1", 1, 1, 388, 203, L"memo", L""},
    {L"ScrollBarV1", K::VScrollBar, L"Panel1", 389, 1, 19, 203, L"vscrollbar", L""},

    // Page 2: the terms of use.
    {L"Label_Main2", K::StdLabel, L"TabSheet2", 40, 13, 0, 0, L"stdlabel", L"Отнеситесь серьёзно."},
    {L"Panel2", K::Panel, L"TabSheet2", 40, 32, 409, 176, L"panel", L"frame"},
    {L"Memo2", K::Memo, L"Panel2", 1, 1, 388, 174, L"memo", L""},
    {L"ScrollBarV2", K::VScrollBar, L"Panel2", 389, 1, 19, 174, L"vscrollbar", L""},
    {L"Check2", K::CheckBox, L"TabSheet2", 40, 214, 449, 25, L"checkbox",
     L"Принимаю условия соглашения. Для продолжения нажмите кнопку Далее."},

    // Page 3: the target folder.
    {L"Label_Main3", K::StdLabel, L"TabSheet3", 40, 13, 0, 0, L"stdlabel", L"Каталог установки Trelm Mail"},
    {L"Edit3", K::Edit, L"TabSheet3", 40, 32, 409, 19, L"edit", L""},
    {L"DirectoryListBox", K::FolderList, L"TabSheet3", 40, 57, 409, 129, L"listbox", L""},
    {L"DriveComboBox", K::DriveBox, L"TabSheet3", 40, 192, 409, 20, L"combobox", L""},
    {L"Label_Main31", K::StdLabel, L"TabSheet3", 40, 218, 0, 0, L"stdlabel", L""},

    // Page 4: the Start-menu folder.
    {L"Label4", K::StdLabel, L"TabSheet4", 40, 13, 0, 0, L"stdlabel", L"Каталог установки Trelm Mail"},
    {L"Edit4", K::ReadOnlyEdit, L"TabSheet4", 40, 32, 409, 19, L"edit", L""},
    {L"Panel4", K::Panel, L"TabSheet4", 40, 57, 409, 151, L"panel", L"frame"},
    {L"ListView1", K::ListView, L"Panel4", 1, 1, 407, 149, L"listview", L""},
    {L"ScrollBarV4", K::VScrollBar, L"Panel4", 389, 1, 19, 149, L"vscrollbar", L""},
    {L"Check4", K::CheckBox, L"TabSheet4", 40, 214, 442, 25, L"checkbox", L"Прописать в Пуск -> программы."},

    // Page 5: the installation.
    {L"Label5", K::StdLabel, L"TabSheet5", 40, 13, 0, 0, L"stdlabel", L"Устанавливается в"},
    {L"Gauge5", K::Gauge, L"TabSheet5", 40, 48, 409, 20, L"gauge", L""},
    {L"Check5", K::CheckBox, L"TabSheet5", 40, 214, 442, 25, L"checkbox", L"Поместить иконку на рабочий стол."},

    // Page 6: the start language.
    {L"Label60", K::StdLabel, L"TabSheet6", 40, 4, 0, 0, L"stdlabel", L"Выберите язык для старта"},
    {L"Label62", K::StdLabel, L"TabSheet6", 40, 26, 0, 0, L"stdlabel", L"Абярыце мову для старту"},
    {L"Label63", K::StdLabel, L"TabSheet6", 40, 48, 0, 0, L"stdlabel", L"Виберіть мову для старту"},
    {L"Vbir_lang_rus", K::RadioButton, L"TabSheet6", 267, -1, 170, 25, L"radiobox", L"Русский", 0},
    {L"Vbir_lang_bel", K::RadioButton, L"TabSheet6", 267, 21, 170, 25, L"radiobox", L"Беларускi", 2},
    {L"Vbir_lang_ukr", K::RadioButton, L"TabSheet6", 267, 43, 170, 25, L"radiobox", L"Український", 3},
    {L"Check6", K::CheckBox, L"TabSheet6", 37, 217, 420, 25, L"checkbox", L"Запуск установленной программы."},
};
