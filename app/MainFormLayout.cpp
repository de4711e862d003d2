// The main window's layout. Rows are 26 pixels apart; labels sit 4 pixels below the top of the field they name. The
// fields below the account list (and below the reminder list) form one column behind the widest text before them.
// Controls are as high as the largest picture of their entry over the stored skins (skinset/validate.py reports
// them: edits, combo and spin boxes 21, buttons 23, check boxes 20, picture buttons 24), so no skin changes a row.
#include "app/MainFormLayout.h"

#include <algorithm>

using K = TCtlKind;

// Glyph pictures (app/AppResources.h order): add, edit, delete, check now, help, thanks, apply, file, skin, sound.
namespace {
constexpr int gAdd = 0, gEdit = 1, gDelete = 2, gCheck = 3, gHelp = 4, gThanks = 5;
// The texts before the field columns of the two option areas.
constexpr const wchar_t* kMailOptionTexts =
    L"Label_VremPokVspOkn Check_IspZvuk Check_PovtorZvuk Check_ZapuskPass LabelS_lang";
constexpr const wchar_t* kReminderOptionTexts = L"Label_ZaSkolkPredupr Check_IspZvukN Check_PovtorZvukN";
}  // namespace

const std::vector<TCtlSpec> kMainFormLayout = {
    // Pages.
    {L"TabSheet_NOsn", K::Page, L"PageControl", 0, 0, 0, 0},
    {L"TabSheet_Budilnik", K::Page, L"PageControl", 0, 0, 0, 0},
    {L"TabSheet_NNP", K::Page, L"PageControl", 0, 0, 0, 0},

    // Mail page: the account editor.
    {L"GroupBox_NastrEm", K::Group, L"TabSheet_NOsn", 6, 4, 493, 128},
    {L"Label_PNDomain", K::Label, L"GroupBox_NastrEm", 10, 24, 0, 0},
    {L"Label_PNLogin", K::Label, L"GroupBox_NastrEm", 10, 50, 0, 0},
    {L"Label_PNHostIMAP", K::Label, L"GroupBox_NastrEm", 10, 76, 0, 0},
    {L"Combo_PNDomain", K::Combo, L"GroupBox_NastrEm", 80, 20, 146, 21, 0, 0,
     L"Label_PNDomain Label_PNLogin Label_PNHostIMAP"},
    {L"Edit_PNLogin", K::Edit, L"GroupBox_NastrEm", 80, 46, 146, 21, 99, 0,
     L"Label_PNDomain Label_PNLogin Label_PNHostIMAP"},
    {L"Edit_PNHostIMAP", K::Edit, L"GroupBox_NastrEm", 80, 72, 146, 21, 99, 0,
     L"Label_PNDomain Label_PNLogin Label_PNHostIMAP"},
    {L"Label_UrlVhod", K::Label, L"GroupBox_NastrEm", 236, 24, 0, 0},
    {L"Label_PNParol", K::Label, L"GroupBox_NastrEm", 236, 50, 0, 0},
    {L"Label_PNPortIMAP", K::Label, L"GroupBox_NastrEm", 236, 76, 0, 0},
    {L"Edit_UrlVhod", K::Edit, L"GroupBox_NastrEm", 320, 20, 130, 21, 0, 0,
     L"Label_UrlVhod Label_PNParol Label_PNPortIMAP"},
    {L"PasswordEdit_PNParol", K::Password, L"GroupBox_NastrEm", 320, 46, 130, 21, 99, 0,
     L"Label_UrlVhod Label_PNParol Label_PNPortIMAP"},
    {L"Spin_PNPortIMAP", K::Spin, L"GroupBox_NastrEm", 320, 72, 70, 21, 0, 99999,
     L"Label_UrlVhod Label_PNParol Label_PNPortIMAP", true},
    {L"Button_Dobav", K::Glyph, L"GroupBox_NastrEm", 460, 18, 24, 24, gAdd},
    {L"Button_Redakt", K::Glyph, L"GroupBox_NastrEm", 460, 44, 24, 24, gEdit},
    {L"Button_Udal", K::Glyph, L"GroupBox_NastrEm", 460, 70, 24, 24, gDelete},
    {L"Button_ProvEml", K::Glyph, L"GroupBox_NastrEm", 460, 98, 24, 24, gCheck},
    {L"ListView_Em", K::ListView, L"TabSheet_NOsn", 6, 138, 493, 104},

    // Mail page: options.
    {L"Label_ProvEmSek", K::Label, L"TabSheet_NOsn", 8, 254, 0, 0},
    {L"Spin_ProvEmSek", K::Spin, L"TabSheet_NOsn", 200, 250, 70, 21, 30, 86400, L"Label_ProvEmSek", true},
    {L"Check_ProvVseSrazu", K::Check, L"TabSheet_NOsn", 254, 250, 245, 20, 0, 0, L"Spin_ProvEmSek", true},
    {L"Check_AutoZagr", K::Check, L"TabSheet_NOsn", 8, 276, 491, 20},
    {L"Check_VTray", K::Check, L"TabSheet_NOsn", 8, 300, 491, 20},
    {L"Check_OtobrTextEm", K::Check, L"TabSheet_NOsn", 8, 324, 491, 20},
    {L"Label_VremPokVspOkn", K::Label, L"TabSheet_NOsn", 8, 354, 0, 0},
    {L"Spin_VremPokVspOkn", K::Spin, L"TabSheet_NOsn", 260, 350, 70, 21, 30, 86400, kMailOptionTexts, true},
    {L"Check_IspZvuk", K::Check, L"TabSheet_NOsn", 8, 378, 280, 20},
    {L"Check_PovtorZvuk", K::Check, L"TabSheet_NOsn", 8, 404, 280, 20},
    {L"Check_ZapuskPass", K::Check, L"TabSheet_NOsn", 8, 430, 280, 20},
    {L"Edit_FZvuk", K::Edit, L"TabSheet_NOsn", 290, 378, 136, 21, 299, 0, kMailOptionTexts},
    {L"Button_FZvuk", K::Button, L"TabSheet_NOsn", 430, 377, 69, 23},
    {L"Spin_PovtorZvukI", K::Spin, L"TabSheet_NOsn", 290, 404, 70, 21, 1, 999, kMailOptionTexts, true},
    {L"Edit_PassZapusk", K::Password, L"TabSheet_NOsn", 290, 430, 136, 21, 16, 0, kMailOptionTexts},
    {L"OfficeComboBox_lang", K::LangCombo, L"TabSheet_NOsn", 8, 458, 140, 22},
    {L"LabelS_lang", K::Label, L"TabSheet_NOsn", 160, 462, 0, 0},
    {L"Edit_lang", K::Edit, L"TabSheet_NOsn", 290, 458, 136, 21, 299, 0, kMailOptionTexts},
    {L"Button_lang", K::Button, L"TabSheet_NOsn", 430, 457, 69, 23},
    {L"Button_Skin", K::Button, L"TabSheet_NOsn", 8, 494, 130, 25},
    {L"Button_Help", K::Glyph, L"TabSheet_NOsn", 144, 494, 25, 25, gHelp},
    {L"Poblagodar", K::Glyph, L"TabSheet_NOsn", 173, 494, 25, 25, gThanks},
    {L"Button_Prim", K::Button, L"TabSheet_NOsn", 319, 494, 180, 25},

    // Reminders page: the reminder editor.
    {L"GroupBox_NastrSob", K::Group, L"TabSheet_Budilnik", 6, 4, 493, 104},
    {L"Label_Sob", K::Label, L"GroupBox_NastrSob", 10, 24, 0, 0},
    {L"Label_TimeSob", K::Label, L"GroupBox_NastrSob", 10, 50, 0, 0},
    {L"Edit_Sob", K::Edit, L"GroupBox_NastrSob", 80, 20, 370, 21, 99, 0, L"Label_Sob Label_TimeSob"},
    {L"Time_Sob", K::TimeEdit, L"GroupBox_NastrSob", 80, 46, 44, 21, 0, 0, L"Label_Sob Label_TimeSob", true},
    {L"Label_DateSob", K::Label, L"GroupBox_NastrSob", 140, 50, 0, 0, 0, 0, L"Time_Sob"},
    {L"Date_Sob", K::DateEdit, L"GroupBox_NastrSob", 190, 46, 96, 21, 0, 0, L"Label_DateSob", true},
    {L"Label_ILI", K::Label, L"GroupBox_NastrSob", 280, 50, 0, 0, 0, 0, L"Date_Sob"},
    {L"Check_Pn", K::Check, L"GroupBox_NastrSob", 10, 76, 50, 20},
    {L"Check_Vt", K::Check, L"GroupBox_NastrSob", 64, 76, 50, 20},
    {L"Check_Sr", K::Check, L"GroupBox_NastrSob", 118, 76, 50, 20},
    {L"Check_Cht", K::Check, L"GroupBox_NastrSob", 172, 76, 50, 20},
    {L"Check_Pt", K::Check, L"GroupBox_NastrSob", 226, 76, 50, 20},
    {L"Check_Sb", K::Check, L"GroupBox_NastrSob", 280, 76, 50, 20},
    {L"Check_Vs", K::Check, L"GroupBox_NastrSob", 334, 76, 50, 20},
    {L"Button_DobavSob", K::Glyph, L"GroupBox_NastrSob", 460, 18, 24, 24, gAdd},
    {L"Button_RedaktSob", K::Glyph, L"GroupBox_NastrSob", 460, 44, 24, 24, gEdit},
    {L"Button_UdalSob", K::Glyph, L"GroupBox_NastrSob", 460, 70, 24, 24, gDelete},
    {L"ListView_Sob", K::ListView, L"TabSheet_Budilnik", 6, 114, 493, 180},

    // Reminders page: options.
    {L"Label_ZaSkolkPredupr", K::Label, L"TabSheet_Budilnik", 8, 306, 0, 0},
    {L"Spin_ZaSkolkPredupr", K::Spin, L"TabSheet_Budilnik", 200, 302, 70, 21, 0, 60, kReminderOptionTexts, true},
    {L"Check_PokSegodSob", K::Check, L"TabSheet_Budilnik", 8, 328, 491, 20},
    {L"Check_UdalProshSob", K::Check, L"TabSheet_Budilnik", 8, 354, 491, 20},
    {L"Check_IspZvukN", K::Check, L"TabSheet_Budilnik", 8, 380, 280, 20},
    {L"Check_PovtorZvukN", K::Check, L"TabSheet_Budilnik", 8, 406, 280, 20},
    {L"Edit_FZvukN", K::Edit, L"TabSheet_Budilnik", 290, 380, 136, 21, 299, 0, kReminderOptionTexts},
    {L"Button_FZvukN", K::Button, L"TabSheet_Budilnik", 430, 379, 69, 23},
    {L"Spin_PovtorZvukIN", K::Spin, L"TabSheet_Budilnik", 290, 406, 70, 21, 1, 999, kReminderOptionTexts, true},
    {L"Button_PrimN", K::Button, L"TabSheet_Budilnik", 319, 494, 180, 25},

    // Below the pages: the letters and the fired reminders (placed by the window's width).
    {L"GroupBox_Pism", K::Group, L"", 0, 0, 300, 160},
    {L"ListView_Pism", K::ListView, L"GroupBox_Pism", 8, 18, 284, 134},
    {L"GroupBox_Sobty", K::Group, L"", 300, 0, 200, 160},
    {L"ListView_Sobty", K::ListView, L"GroupBox_Sobty", 8, 18, 184, 134},
};

std::vector<std::size_t> ReadingOrder(const std::vector<TBox>& boxes) {
    auto middle = [&](std::size_t i) { return boxes[i].Top * 2 + boxes[i].Height; };  // twice the middle
    std::vector<std::size_t> order(boxes.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return middle(a) < middle(b); });
    // Cut into rows, then each row from the left.
    auto rowStart = order.begin();
    while (rowStart != order.end()) {
        const int first = middle(*rowStart);
        auto rowEnd =
            std::find_if(rowStart, order.end(), [&](std::size_t i) { return middle(i) - first > 2 * kRowSlack; });
        std::stable_sort(rowStart, rowEnd, [&](std::size_t a, std::size_t b) { return boxes[a].Left < boxes[b].Left; });
        rowStart = rowEnd;
    }
    return order;
}
