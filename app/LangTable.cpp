// The three built-in language tables and the language procedure: file lines, checks, and the order in which the
// lines reach the window.
#include "app/LangTable.h"

#include <algorithm>

#include "app/FileNames.h"
#include "base/Files.h"
#include "base/Text.h"

namespace {

// Lines 3 to 13 describe our other products on the other-products page (WebLinks.h names them and their pages).
const TLangTable kRussian = {{
    L"Russian ( Русский )",  // 0
    L"Внимание",             // 1
    L"Наши программы",       // 2
    L"Заметки-наклейки на рабочем столе: напоминают о делах, прячутся в трей и хранят текст даже после перезагрузки "
    L"компьютера.",                                                                  // 3
    L"Настольные часы с будильниками, секундомером и мировым временем.",             // 4
    L"Снимки экрана, окна или области одним нажатием клавиши с сохранением в PNG.",  // 5
    L"Резервное копирование выбранных папок по расписанию со сжатием архивов.",      // 6
    L"Календарь с праздниками, заметками на каждый день и напоминаниями.",           // 7
    L"Хранилище паролей, зашифрованное одним главным паролем.",                      // 8
    L"Прогноз погоды для вашего города в области уведомлений.",                      // 9
    L"Простой проигрыватель музыки со списками воспроизведения и эквалайзером.",     // 10
    L"Таймер обратного отсчёта для работы, кухни и спорта.",                         // 11
    L"Наглядный анализ занятого места на дисках и поиск больших файлов.",            // 12
    L"Пакетное переименование файлов по шаблону с предварительным просмотром.",      // 13
    L"Почта",                                                                        // 14
    L"Настройки E-mail",                                                             // 15
    L"Домен",                                                                        // 16
    L"Хост IMAP",                                                                    // 17
    L"Порт IMAP",                                                                    // 18
    L"Логин",                                                                        // 19
    L"Пароль",                                                                       // 20
    L"Добавить",                                                                     // 21
    L"Редактировать",                                                                // 22
    L"Удалить",                                                                      // 23
    L"Выбор языка из файла",                                                         // 24
    L"Фаил",                                                                         // 25
    L"Проверять каждые, сек",                                                        // 26
    L"Проверить",                                                                    // 27
    L"Проверять всю почту сразу",                                                    // 28
    L"Поместить программу в автозагрузку",                                           // 29
    L"При запуске сворачиваться в трей",                                             // 30
    L"Отображать часть текста письма в сплывающем окне",                             // 31
    L"Время отображения всплывающего окна, сек",                                     // 32
    L"Использовать стандартный звук windows",                                        // 33
    L"Повторять звуковое уведомление, раз",                                          // 34
    L"Выбор скина",                                                                  // 35
    L"Применить / Сохранить",                                                        // 36
    L"Письма",                                                                       // 37
    L"Дата, Время",                                                                  // 38
    L"На E-mail",                                                                    // 39
    L"От кого",                                                                      // 40
    L"Тема",                                                                         // 41
    L"Непрочитанных сообщений",                                                      // 42
    L"уже существует в списке",                                                      // 43
    L"Вы действительно хотите удалить E-mail",                                       // 44
    L"Открыть файл языка",                                                           // 45
    L"Поблагодарить разработчиков",                                                  // 46
    L"Инструкция",                                                                   // 47
    L"URL входящих",                                                                 // 48
    L"Напоминания",                                                                  // 49
    L"Настройки событий",                                                            // 50
    L"Событие",                                                                      // 51
    L"Время",                                                                        // 52
    L"Дата",                                                                         // 53
    L"Пн",                                                                           // 54
    L"Вт",                                                                           // 55
    L"Ср",                                                                           // 56
    L"Чт",                                                                           // 57
    L"Пт",                                                                           // 58
    L"Сб",                                                                           // 59
    L"Вс",                                                                           // 60
    L"События",                                                                      // 61
    L"ПРЕДУПРЕЖДЕНИЕ",                                                               // 62
    L"Запускать программу только по паролю",                                         // 63
    L"ИЛИ",                                                                          // 64
    L"Удалять из списка события, которые прошли",                                    // 65
    L"Время, Дата",                                                                  // 66
    L"Осталось",                                                                     // 67
    L"Показать сегодняшние события, которые прошли",                                 // 68
    L"день",                                                                         // 69
    L"дня",                                                                          // 70
    L"дней",                                                                         // 71
    L"Вы действительно хотите удалить событие",                                      // 72
    L"За сколько минут предупредить",                                                // 73
    L"Открыть",                                                                      // 74
    L"Показать",                                                                     // 75
    L"Очистить сообщения",                                                           // 76
    L"Вы действительно хотите очистить список сообщений",                            // 77
    L"Выход",                                                                        // 78
    L"Сегодня",                                                                      // 79
    L"понедельник",                                                                  // 80
    L"вторник",                                                                      // 81
    L"среда",                                                                        // 82
    L"четверг",                                                                      // 83
    L"пятница",                                                                      // 84
    L"суббота",                                                                      // 85
    L"воскресенье",                                                                  // 86
    L"Введите пароль",                                                               // 87
}};

const TLangTable kBelarusian = {{
    L"Belarussian ( Беларускi )",  // 0
    L"Увага",                      // 1
    L"Нашы праграмы",              // 2
    L"Нататкі-налепкі на працоўным стале: нагадваюць пра справы, хаваюцца ў трэй і захоўваюць тэкст нават пасля "
    L"перазагрузкі камп'ютара.",                                                     // 3
    L"Настольны гадзіннік з будзільнікамі, секундамерам і сусветным часам.",         // 4
    L"Здымкі экрана, акна або вобласці адным націскам клавішы з захаваннем у PNG.",  // 5
    L"Рэзервовае капіраванне выбраных тэчак па раскладзе са сцісканнем архіваў.",    // 6
    L"Каляндар са святамі, нататкамі на кожны дзень і напамінкамі.",                 // 7
    L"Сховішча пароляў, зашыфраванае адным галоўным паролем.",                       // 8
    L"Прагноз надвор'я для вашага горада ў вобласці апавяшчэнняў.",                  // 9
    L"Просты прайгравальнік музыкі са спісамі прайгравання і эквалайзерам.",         // 10
    L"Таймер зваротнага адліку для працы, кухні і спорту.",                          // 11
    L"Наглядны аналіз занятага месца на дысках і пошук вялікіх файлаў.",             // 12
    L"Пакетнае перайменаванне файлаў па шаблоне з папярэднім праглядам.",            // 13
    L"Асноўныя",                                                                     // 14
    L"Налады E-mail",                                                                // 15
    L"Дамен",                                                                        // 16
    L"Хост IMAP",                                                                    // 17
    L"Порт IMAP",                                                                    // 18
    L"Лагін",                                                                        // 19
    L"Пароль",                                                                       // 20
    L"Дадаць",                                                                       // 21
    L"Рэдагаваць",                                                                   // 22
    L"Выдаліць",                                                                     // 23
    L"Выбар мовы з файла",                                                           // 24
    L"Фаіл",                                                                         // 25
    L"Правяраць кожныя, сек",                                                        // 26
    L"Праверыць",                                                                    // 27
    L"Правяраць ўсю пошту адразу",                                                   // 28
    L"Змясціць праграму ў аўтазагрузку",                                             // 29
    L"Пры запуску згортвацца ў трэй",                                                // 30
    L"Адлюстроўваць частку тэксту ліста ў сплывают акне",                            // 31
    L"Час адлюстравання ўсплывае акна, сек",                                         // 32
    L"Выкарыстоўваць стандартны гук windows",                                        // 33
    L"Паўтараць гукавое апавяшчэнне, раз",                                           // 34
    L"Выбар скіна",                                                                  // 35
    L"Прымяніць / Захаваць",                                                         // 36
    L"Лісты",                                                                        // 37
    L"Дата, Час",                                                                    // 38
    L"На E-mail",                                                                    // 39
    L"Ад каго",                                                                      // 40
    L"Тэма",                                                                         // 41
    L"Непрачытаных паведамленняў",                                                   // 42
    L"ўжо існуе ў спісе",                                                            // 43
    L"Вы сапраўды жадаеце выдаліць E-mail",                                          // 44
    L"Адкрыць файл мовы",                                                            // 45
    L"Падзякаваць распрацоўшчыкаў",                                                  // 46
    L"Iнструкцыя",                                                                   // 47
    L"URL уваходных",                                                                // 48
    L"Напамінкі",                                                                    // 49
    L"Налады падзей",                                                                // 50
    L"Падзея",                                                                       // 51
    L"Час",                                                                          // 52
    L"Дата",                                                                         // 53
    L"Пн",                                                                           // 54
    L"Вт",                                                                           // 55
    L"Ср",                                                                           // 56
    L"Чц",                                                                           // 57
    L"Пт",                                                                           // 58
    L"Сб",                                                                           // 59
    L"Нд",                                                                           // 60
    L"Падзеі",                                                                       // 61
    L"ПАПЯРЭДЖАННЕ",                                                                 // 62
    L"Запускаць праграму толькі па паролі",                                          // 63
    L"АБО",                                                                          // 64
    L"Выдаляць са спісу падзеі, якія прайшлі",                                       // 65
    L"Час, Дата",                                                                    // 66
    L"Засталося",                                                                    // 67
    L"Паказаць сённяшнія падзеі, якія прайшлі",                                      // 68
    L"дзень",                                                                        // 69
    L"дня",                                                                          // 70
    L"дзён",                                                                         // 71
    L"Вы сапраўды хочаце выдаліць падзею",                                           // 72
    L"За колькі хвілін папярэдзіць",                                                 // 73
    L"Адкрыць",                                                                      // 74
    L"Паказаць",                                                                     // 75
    L"Ачысціць паведамленні",                                                        // 76
    L"Вы сапраўды хочаце ачысціць спіс паведамленняў",                               // 77
    L"Вынахад",                                                                      // 78
    L"Сёння",                                                                        // 79
    L"панядзелак",                                                                   // 80
    L"аўторак",                                                                      // 81
    L"серада",                                                                       // 82
    L"чацвер",                                                                       // 83
    L"пятніца",                                                                      // 84
    L"субота",                                                                       // 85
    L"нядзеля",                                                                      // 86
    L"Увядзіце пароль",                                                              // 87
}};

const TLangTable kUkrainian = {{
    L"Ukraine ( Український )",  // 0
    L"Увага",                    // 1
    L"Наші програми",            // 2
    L"Нотатки-наліпки на робочому столі: нагадують про справи, ховаються в трей і зберігають текст навіть після "
    L"перезавантаження комп'ютера.",                                                      // 3
    L"Настільний годинник з будильниками, секундоміром і світовим часом.",                // 4
    L"Знімки екрана, вікна або області одним натисканням клавіші зі збереженням у PNG.",  // 5
    L"Резервне копіювання вибраних папок за розкладом зі стисненням архівів.",            // 6
    L"Календар зі святами, нотатками на кожен день і нагадуваннями.",                     // 7
    L"Сховище паролів, зашифроване одним головним паролем.",                              // 8
    L"Прогноз погоди для вашого міста в області сповіщень.",                              // 9
    L"Простий програвач музики зі списками відтворення та еквалайзером.",                 // 10
    L"Таймер зворотного відліку для роботи, кухні та спорту.",                            // 11
    L"Наочний аналіз зайнятого місця на дисках і пошук великих файлів.",                  // 12
    L"Пакетне перейменування файлів за шаблоном з попереднім переглядом.",                // 13
    L"Основні",                                                                           // 14
    L"Налаштування E-mail",                                                               // 15
    L"Домен",                                                                             // 16
    L"Хост IMAP",                                                                         // 17
    L"Порт IMAP",                                                                         // 18
    L"Логін",                                                                             // 19
    L"Пароль",                                                                            // 20
    L"Додати",                                                                            // 21
    L"Редагувати",                                                                        // 22
    L"Вилучити",                                                                          // 23
    L"Вибір мови з файлу",                                                                // 24
    L"Фаил",                                                                              // 25
    L"Перевіряти кожні, сек",                                                             // 26
    L"Перевірити",                                                                        // 27
    L"Перевіряти всю пошту відразу",                                                      // 28
    L"Помістити програму в автозавантаження",                                             // 29
    L"При запуску згортатися в трей",                                                     // 30
    L"Відображати частина тексту листа в спливающем вікні",                               // 31
    L"Час відображення спливаючого вікна, сек",                                           // 32
    L"Використовувати стандартний звук windows",                                          // 33
    L"Повторювати звукове повідомлення, раз",                                             // 34
    L"Вибір скіна",                                                                       // 35
    L"Застосувати / Зберегти",                                                            // 36
    L"Листи",                                                                             // 37
    L"Дата час",                                                                          // 38
    L"На E-mail",                                                                         // 39
    L"Від кого",                                                                          // 40
    L"Тема",                                                                              // 41
    L"Непрочитаних повідомлень",                                                          // 42
    L"вже існує в списку",                                                                // 43
    L"Ви дійсно хочете видалити E-mail",                                                  // 44
    L"Відкрити файл мови",                                                                // 45
    L"Подякувати розробників",                                                            // 46
    L"Інструкція",                                                                        // 47
    L"URL вхідних",                                                                       // 48
    L"Нагадування",                                                                       // 49
    L"Налаштування подій",                                                                // 50
    L"Подія",                                                                             // 51
    L"Час",                                                                               // 52
    L"Дата",                                                                              // 53
    L"Пн",                                                                                // 54
    L"Вт",                                                                                // 55
    L"Ср",                                                                                // 56
    L"Чт",                                                                                // 57
    L"Пт",                                                                                // 58
    L"Сб",                                                                                // 59
    L"Нд",                                                                                // 60
    L"Події",                                                                             // 61
    L"ПОПЕРЕДЖЕННЯ",                                                                      // 62
    L"Запускати програму лише за паролем",                                                // 63
    L"АБО",                                                                               // 64
    L"Видаляти зі списку події, що пройшли",                                              // 65
    L"Час, Дата",                                                                         // 66
    L"Залишилось",                                                                        // 67
    L"Показати сьогоднішні події, що пройшли",                                            // 68
    L"день",                                                                              // 69
    L"дня",                                                                               // 70
    L"днів",                                                                              // 71
    L"Ви дійсно хочете видалити подію",                                                   // 72
    L"За скільки хвилин попередити",                                                      // 73
    L"Відкрити",                                                                          // 74
    L"Показати",                                                                          // 75
    L"Очистити повідомлення",                                                             // 76
    L"Ви дійсно хочете очистити список повідомлень",                                      // 77
    L"Вихід",                                                                             // 78
    L"Сьогодні",                                                                          // 79
    L"понеділок",                                                                         // 80
    L"вівторок",                                                                          // 81
    L"середа",                                                                            // 82
    L"четвер",                                                                            // 83
    L"п'ятниця",                                                                          // 84
    L"субота",                                                                            // 85
    L"неділя",                                                                            // 86
    L"Введіть пароль",                                                                    // 87
}};
const std::wstring kEmpty;

}  // namespace

const TLangTable* BuiltInLangTable(int index) {
    switch (index) {
        case 0:
            return &kRussian;
        case 1:
            return &kBelarusian;
        case 2:
            return &kUkrainian;
    }
    return nullptr;
}

const std::vector<TLangApplyEntry> kLangApplyOrder = {
    {1, 20, TLangUse::Text, L"caption"},
    {27, 40, TLangUse::Text, L"ObnovProvEm"},
    {74, 40, TLangUse::Text, L"OtkrProg"},
    {75, 40, TLangUse::Text, L"PokazSoob"},
    {76, 40, TLangUse::Text, L"Clear_Soob"},
    {78, 40, TLangUse::Text, L"Vihod"},
    {87, 40, TLangUse::Text, L"PasswordDialog"},
    {20, 20, TLangUse::Colon, L"PasswordDialog:label"},
    {14, 30, TLangUse::Centred, L"TabSheet_NOsn"},
    {15, 40, TLangUse::Text, L"GroupBox_NastrEm"},
    {16, 15, TLangUse::Text, L"Label_PNDomain ListView_Em:1"},
    {48, 15, TLangUse::Text, L"Label_UrlVhod"},
    {19, 15, TLangUse::Text, L"Label_PNLogin ListView_Em:0"},
    {20, 15, TLangUse::Text, L"Label_PNParol"},
    {17, 15, TLangUse::Text, L"Label_PNHostIMAP ListView_Em:2"},
    {18, 15, TLangUse::Text, L"Label_PNPortIMAP ListView_Em:3"},
    {21, 30, TLangUse::Hint, L"Button_Dobav Button_DobavSob"},
    {22, 30, TLangUse::Hint, L"Button_Redakt Button_RedaktSob"},
    {23, 30, TLangUse::Hint, L"Button_Udal Button_UdalSob"},
    {63, 70, TLangUse::Text, L"Check_ZapuskPass"},
    {24, 30, TLangUse::Text, L"LabelS_lang"},
    {25, 10, TLangUse::Text, L"Button_lang Button_FZvuk Button_FZvukN"},
    {26, 30, TLangUse::Text, L"Label_ProvEmSek"},
    {27, 50, TLangUse::Hint, L"Button_ProvEml"},
    {47, 50, TLangUse::Hint, L"Button_Help"},
    {46, 50, TLangUse::Hint, L"Poblagodar"},
    {28, 70, TLangUse::Text, L"Check_ProvVseSrazu"},
    {29, 70, TLangUse::Text, L"Check_AutoZagr"},
    {30, 70, TLangUse::Text, L"Check_VTray"},
    {31, 70, TLangUse::Text, L"Check_OtobrTextEm"},
    {32, 70, TLangUse::Text, L"Label_VremPokVspOkn"},
    {33, 70, TLangUse::Text, L"Check_IspZvuk Check_IspZvukN"},
    {34, 50, TLangUse::Text, L"Check_PovtorZvuk Check_PovtorZvukN"},
    {35, 20, TLangUse::Text, L"Button_Skin"},
    {36, 70, TLangUse::Text, L"Button_Prim Button_PrimN"},
    {37, 40, TLangUse::Text, L"GroupBox_Pism"},
    {38, 40, TLangUse::Text, L"ListView_Pism:0 ListView_Sobty:0"},
    {39, 40, TLangUse::Text, L"ListView_Pism:1"},
    {40, 40, TLangUse::Text, L"ListView_Pism:2"},
    {41, 40, TLangUse::Text, L"ListView_Pism:3"},
    {49, 30, TLangUse::Centred, L"TabSheet_Budilnik"},
    {50, 20, TLangUse::Text, L"GroupBox_NastrSob"},
    {66, 50, TLangUse::Text, L"ListView_Sob:0"},
    {51, 20, TLangUse::Text, L"Label_Sob ListView_Sob:1 ListView_Sobty:1"},
    {67, 50, TLangUse::Text, L"ListView_Sob:2"},
    {52, 20, TLangUse::Text, L"Label_TimeSob"},
    {53, 20, TLangUse::Text, L"Label_DateSob"},
    {54, 4, TLangUse::Text, L"Check_Pn"},
    {55, 4, TLangUse::Text, L"Check_Vt"},
    {56, 4, TLangUse::Text, L"Check_Sr"},
    {57, 4, TLangUse::Text, L"Check_Cht"},
    {58, 4, TLangUse::Text, L"Check_Pt"},
    {59, 4, TLangUse::Text, L"Check_Sb"},
    {60, 4, TLangUse::Text, L"Check_Vs"},
    {73, 50, TLangUse::Text, L"Label_ZaSkolkPredupr"},
    {68, 70, TLangUse::Text, L"Check_PokSegodSob"},
    {65, 70, TLangUse::Text, L"Check_UdalProshSob"},
    {64, 5, TLangUse::Text, L"Label_ILI"},
    {61, 50, TLangUse::Text, L"GroupBox_Sobty"},
    {2, 30, TLangUse::Centred, L"TabSheet_NNP"},
    {3, 210, TLangUse::Text, L"Product:0"},
    {4, 190, TLangUse::Text, L"Product:1"},
    {5, 190, TLangUse::Text, L"Product:2"},
    {6, 190, TLangUse::Text, L"Product:3"},
    {7, 190, TLangUse::Text, L"Product:4"},
    {8, 190, TLangUse::Text, L"Product:5"},
    {9, 190, TLangUse::Text, L"Product:6"},
    {10, 190, TLangUse::Text, L"Product:7"},
    {11, 190, TLangUse::Text, L"Product:8"},
    {12, 190, TLangUse::Text, L"Product:9"},
    {13, 190, TLangUse::Text, L"Product:10"},
};

std::wstring CenterText(const std::wstring& text, int width) {
    const int k = (width - static_cast<int>(text.size())) / 2;
    if (k < 0)
        return text;
    const std::wstring pad(static_cast<size_t>(k) + 1, L' ');
    return pad + text + pad;
}

std::wstring SpaceAround(const std::wstring& text) {
    return L" " + text + L" ";
}

std::wstring LangFileErrorText(int n) {
    const std::wstring number = std::to_wstring(n + 1);
    return L"Ошибка доступа к файлу. Строка " + number + L"\r" + std::wstring(15, L' ') +
           L"The error of the access to file. Line " + number;
}

std::wstring DamagedSettingsKeptText(uint8_t langIndex) {
    static const wchar_t* const kTexts[][2] = {
        {L"Файл настроек Posl.vkz не удалось прочитать.", L"Он сохранён как Posl.vkz.bad"},
        {L"Файл налад Posl.vkz не ўдалося прачытаць.", L"Ён захаваны як Posl.vkz.bad"},
        {L"Файл налаштувань Posl.vkz не вдалося прочитати.", L"Його збережено як Posl.vkz.bad"},
    };
    const auto& text = kTexts[langIndex <= kLangIndexMax ? langIndex : 0];
    return std::wstring(text[0]) + L"\r" + std::wstring(15, L' ') + text[1];
}

std::vector<std::wstring> SplitLangFile(std::string_view bytes) {
    std::wstring text;
    text.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        text.push_back(
            static_cast<wchar_t>(static_cast<uint8_t>(bytes[i]) | (static_cast<uint8_t>(bytes[i + 1]) << 8)));
    if (!text.empty() && text[0] == 0xFEFF)
        text.erase(0, 1);
    std::vector<std::wstring> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t end = text.find_first_of(L"\r\n", pos);
        if (end == std::wstring::npos) {
            lines.push_back(text.substr(pos));
            break;
        }
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 1;
        if (text[end] == L'\r' && pos < text.size() && text[pos] == L'\n')
            ++pos;
    }
    return lines;
}

int FirstBadLangLine(const std::vector<std::wstring>& lines) {
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty() || lines[i].size() > kLangFileLineMax)
            return static_cast<int>(i);
    }
    return -1;
}

std::optional<uint8_t> ReadStartLanguage(const std::wstring& path) {
    // Only the first byte counts; a larger file is read no further than the cap allows.
    const std::optional<std::string> data = ReadWholeFile(path, 1 << 16);
    if (!data || data->empty())
        return std::nullopt;
    const uint8_t first = static_cast<uint8_t>((*data)[0]);
    if (first > kLangIndexMax)
        return std::nullopt;
    return first;
}

const std::wstring& TLanguage::LangLine(int n) const {
    if (n < 0 || static_cast<size_t>(n) >= lines_.size())
        return kEmpty;
    return lines_[static_cast<size_t>(n)];
}

bool TLanguage::LangLineMax(int n, int max, TLanguageSink& sink, std::wstring* text) const {
    const std::wstring& line = LangLine(n);
    if (line.empty() || line.size() > static_cast<size_t>(max)) {
        sink.ShowWarning(LangFileErrorText(n));
        return false;
    }
    *text = line;
    return true;
}

void TLanguage::Apply(TSettings& settings, const std::wstring& progDir, TLanguageSink& sink) {
    lines_.clear();
    std::wstring path;
    if (TrimText(settings.LangFile).empty())
        path = settings.LangFile;
    else
        path = InProgramFolder(settings.LangFile, progDir);

    bool loaded = false;
    if (!path.empty()) {
        // A language file holds 88 short lines; anything near this size is not one. What is read up to the cap is
        // checked all the same, so that an oversized file gets the line warning a small bad one gets: its first
        // bad line, or else the line the cap cuts.
        bool whole = true;
        const std::optional<std::string> data = ReadFilePrefix(path, kLangFileReadCap, &whole);
        if (!data) {
            settings.LangFile.clear();
        } else {
            lines_ = SplitLangFile(*data);
            int bad = FirstBadLangLine(lines_);
            if (!whole) {
                const size_t n = data->size();
                const bool endsWithBreak =
                    n >= 2 && ((*data)[n - 2] == '\r' || (*data)[n - 2] == '\n') && (*data)[n - 1] == 0;
                const int complete = std::max(0, static_cast<int>(lines_.size()) - (endsWithBreak ? 0 : 1));
                if (bad < 0 || bad >= complete)
                    bad = complete;
            }
            if (bad >= 0) {
                sink.ShowWarning(LangFileErrorText(bad));
                settings.LangFile.clear();
                lines_.clear();
            } else {
                loaded = true;
            }
        }
    }

    sink.SetRussianResourceStrings(false);
    if (!loaded) {
        const TLangTable* table = BuiltInLangTable(settings.LangIndex);
        if (!table)
            return;
        lines_.assign(table->begin(), table->end());
        sink.SetRussianResourceStrings(true);
    }

    for (const TLangApplyEntry& entry : kLangApplyOrder) {
        std::wstring text;
        if (!LangLineMax(entry.line, entry.max, sink, &text))
            return;
        switch (entry.use) {
            case TLangUse::Text:
                break;
            case TLangUse::Centred:
                text = CenterText(text, 20);
                break;
            case TLangUse::Hint:
                text = SpaceAround(text);
                break;
            case TLangUse::Colon:
                text += L":";
                break;
        }
        sink.ApplyText(entry, text);
    }
}
