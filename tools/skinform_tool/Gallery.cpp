// skinform_tool gallery FAMILY OUT.png: one page per family of skinned controls, each control in each of its states,
// in the built-in look and in skins 23, 81 and 43 of the notifier's set, with Cyrillic captions. The controls paint
// themselves into memory bitmaps (PaintTo) over the skin's button-face colour; one line per control and skin says
// whether the control found its entry. Exit code 1 when a control misses an entry its skin has, 2 for an unknown
// family.
#include "Gallery.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/SkinLists.h"
#include "classlib/Forms.h"
#include "classlib/GdiHandles.h"
#include "classlib/ImgList.h"
#include "classlib/WicCodec.h"
#include "skin/boxes/SkinComboBox.h"
#include "skin/boxes/SkinDateEdit.h"
#include "skin/boxes/SkinEdit.h"
#include "skin/boxes/SkinListBox.h"
#include "skin/boxes/SkinOfficeComboBox.h"
#include "skin/boxes/SkinOfficeListBox.h"
#include "skin/boxes/SkinMemo.h"
#include "skin/boxes/SkinPasswordEdit.h"
#include "skin/boxes/SkinSpinEdit.h"
#include "skin/boxes/SkinUpDown.h"
#include "skin/controls/ButtonLabel.h"
#include "skin/controls/GraphicSkinControl.h"
#include "skin/controls/SkinBevel.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinCheckRadio.h"
#include "skin/controls/SkinLabels.h"
#include "skin/controls/SkinPanel.h"
#include "skin/controls/SkinScrollBar.h"
#include "skin/controls/SkinSpeedButton.h"
#include "skin/controls/SkinMenuButton.h"
#include "skin/controls/SkinMenuSpeedButton.h"
#include "skin/controls/SkinScrollPanel.h"
#include "skin/controls/SkinStatusBar.h"
#include "skin/controls/SkinToolBar.h"
#include "skin/core/SkinData.h"
#include "skin/views/SkinListView.h"
#include "skin/views/SkinTreeView.h"
#include "skin/pages/SkinPageControl.h"
#include "skin/pickers/SkinDirectoryListBox.h"
#include "skin/ribbon/AppMenu.h"
#include "skin/ribbon/Ribbon.h"
#include "skin/ribbon/RibbonPage.h"
#include "skin/pickers/SkinDriveComboBox.h"
#include "skin/pickers/SkinFileListBox.h"
#include "skin/pickers/SkinFilterComboBox.h"
#include "skin/shell/ShellComboBox.h"
#include "skin/shell/ShellListView.h"
#include "skin/shell/ShellTreeView.h"

namespace {

constexpr int kCellW = 230, kCellH = 40, kRowHead = 170, kColHead = 24;
constexpr int kSkins[] = {-1, 23, 81, 43};  // -1: the built-in look

// One control in one state: made for a container, painted into a cell.
struct TGalleryItem {
    std::wstring State;
    std::wstring Class;
    std::wstring Entry;
    int W = 200, H = 24;
    // Makes the control (owned by Owner) bound to Data, in its state.
    std::function<TControl*(TComponent* Owner, TbsSkinData* Data)> Make;
    // Its entry index after binding (-1: none).
    std::function<int(TControl*)> Index;
    std::function<void(TControl*, HDC, int, int)> Paint;
};

template <typename T>
TGalleryItem Item(const std::wstring& state, const std::wstring& cls, const std::wstring& entry, int w, int h,
                  std::function<void(T*)> setup) {
    TGalleryItem it;
    it.State = state;
    it.Class = cls;
    it.Entry = entry;
    it.W = w;
    it.H = h;
    it.Make = [setup, w, h](TComponent* owner, TbsSkinData* data) -> TControl* {
        auto* c = new T(owner);
        c->SetBounds(0, 0, w, h);
        setup(c);
        if (data)
            c->SetSkinData(data);
        return c;
    };
    it.Index = [](TControl* c) { return static_cast<T*>(c)->SkinIndex(); };
    it.Paint = [](TControl* c, HDC dc, int x, int y) { static_cast<T*>(c)->PaintTo(dc, x, y); };
    return it;
}

}  // namespace

void AddEnvelopePicture(TCustomImageList* List, COLORREF Colour, bool Flap) {
    TBitmap b(16, 16, pf24bit);
    HDC dc = b.Canvas()->Handle();
    HBRUSH back = CreateSolidBrush(RGB(255, 0, 255));
    RECT all{0, 0, 16, 16};
    FillRect(dc, &all, back);
    DeleteObject(back);
    HBRUSH brush = CreateSolidBrush(Colour);
    RECT body{1, 3, 15, 13};
    FillRect(dc, &body, brush);
    DeleteObject(brush);
    if (Flap) {
        HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
        HGDIOBJ old = SelectObject(dc, pen);
        MoveToEx(dc, 2, 4, nullptr);
        LineTo(dc, 8, 9);
        LineTo(dc, 15, 3);
        SelectObject(dc, old);
        DeleteObject(pen);
    }
    List->AddMasked(&b, RGB(255, 0, 255));
}

namespace {

std::unique_ptr<TImageList> GalleryImages() {
    auto list = std::make_unique<TImageList>(nullptr, 16, 16);
    for (COLORREF c : {RGB(40, 110, 200), RGB(230, 140, 30)})
        AddEnvelopePicture(list.get(), c, false);
    return list;
}

std::vector<TGalleryItem> LabelsFamily(TCustomImageList* images) {
    std::vector<TGalleryItem> items;
    using L = TbsSkinStdLabel;
    using K = TbsSkinLinkLabel;
    using B = TbsSkinButtonLabel;
    using V = TbsSkinBevel;
    items.push_back(Item<L>(L"обычная", L"TbsSkinStdLabel", L"stdlabel", 210, 18,
                            [](L* l) { l->SetCaption(L"Проверять почту каждые, сек:"); }));
    items.push_back(Item<L>(L"недоступна", L"TbsSkinStdLabel", L"stdlabel", 210, 18, [](L* l) {
        l->SetCaption(L"Повторять звук, раз:");
        l->SetEnabled(false);
    }));
    items.push_back(Item<L>(L"перенос строк", L"TbsSkinStdLabel", L"stdlabel", 210, 34, [](L* l) {
        l->SetAutoSize(false);
        l->SetWordWrap(true);
        l->SetCaption(L"Уведомления о новых письмах и напоминания о событиях");
    }));
    items.push_back(Item<K>(L"ссылка", L"TbsSkinLinkLabel", L"stdlabel", 210, 18,
                            [](K* l) { l->SetCaption(L"www.trelm.ru/почта"); }));
    items.push_back(Item<K>(L"ссылка, наведена", L"TbsSkinLinkLabel", L"stdlabel", 210, 18, [](K* l) {
        l->SetCaption(L"www.trelm.ru/почта");
        l->Perform(CM_MOUSEENTER);
    }));
    items.push_back(Item<K>(L"ссылка, свечение", L"TbsSkinLinkLabel", L"stdlabel", 210, 34, [](K* l) {
        l->SetCaption(L"Скачать обновление");
        l->SetGlowEffect(true);
        l->Perform(CM_MOUSEENTER);
    }));
    items.push_back(Item<K>(L"ссылка, недоступна", L"TbsSkinLinkLabel", L"stdlabel", 210, 18, [](K* l) {
        l->SetCaption(L"www.trelm.ru/почта");
        l->SetEnabled(false);
    }));
    auto button = [images](const std::wstring& state, std::function<void(B*)> extra) {
        return Item<B>(state, L"TbsSkinButtonLabel", L"stdlabel", 210, 24, [images, extra](B* b) {
            b->SetCaption(L"Почтовый клиент");
            b->SetImageList(images);
            b->SetImageIndex(0);
            b->SetActiveImageIndex(1);
            b->SetMargin(2);
            b->SetSpacing(6);
            extra(b);
        });
    };
    items.push_back(button(L"кнопка-метка", [](B*) {}));
    items.push_back(button(L"кнопка-метка, наведена", [](B* b) { b->Perform(CM_MOUSEENTER); }));
    items.push_back(button(L"веб-стиль, наведена", [](B* b) {
        b->SetWebStyle(true);
        b->Perform(CM_MOUSEENTER);
    }));
    items.push_back(button(L"свечение, наведена", [](B* b) {
        b->SetGlowEffect(true);
        b->SetGlowSize(5);
        b->Perform(CM_MOUSEENTER);
    }));
    items.push_back(button(L"кнопка-метка, недоступна", [](B* b) { b->SetEnabled(false); }));
    auto bevel = [](const std::wstring& state, TBevelShape shape, TBevelStyle style, bool divider) {
        return Item<V>(state, L"TbsSkinBevel", L"bevel", 200, 24, [shape, style, divider](V* v) {
            v->SetShape(shape);
            v->SetStyle(style);
            v->SetDividerMode(divider);
        });
    };
    items.push_back(bevel(L"рамка, утоплена", bsBox, bsLowered, false));
    items.push_back(bevel(L"рамка, выпукла", bsBox, bsRaised, false));
    items.push_back(bevel(L"двойная рамка", bsFrame, bsLowered, false));
    items.push_back(bevel(L"разделитель", bsTopLine, bsLowered, true));
    return items;
}

// An edit painted as it looks with Text, in the hot look when Hot (mouse over or focus).
TGalleryItem EditItem(const std::wstring& state, const std::wstring& entry, const std::wstring& text, bool hot,
                      std::function<void(TbsSkinEdit*)> setup) {
    TGalleryItem it;
    it.State = state;
    it.Class = L"TbsSkinEdit";
    it.Entry = entry;
    it.W = 200;
    it.H = 21;
    it.Make = [entry, setup](TComponent* owner, TbsSkinData* data) -> TControl* {
        auto* e = new TbsSkinEdit(owner);
        e->SetSkinDataName(entry);
        e->SetBounds(0, 0, 200, 21);
        setup(e);
        if (data)
            e->SetSkinData(data);
        return e;
    };
    it.Index = [](TControl* c) { return static_cast<TbsSkinEdit*>(c)->SkinIndex(); };
    it.Paint = [text, hot](TControl* c, HDC dc, int x, int y) {
        // The page's own text settings come back afterwards.
        const int saved = SaveDC(dc);
        TCanvas canvas;
        canvas.SetHandle(dc);
        static_cast<TbsSkinEdit*>(c)->PaintLookTo(&canvas, x, y, text, hot);
        canvas.SetHandle(nullptr);
        RestoreDC(dc, saved);
    };
    return it;
}

// A memo with its vertical bar on the hidden Parent (the native window paints the text), more lines than fit.
TGalleryItem MemoItem(TWinControl* parent) {
    TGalleryItem it;
    it.State = L"многострочное с полосой";
    it.Class = L"TbsSkinMemo2";
    it.Entry = L"memo";
    it.W = 200;
    it.H = 64;
    it.Make = [parent](TComponent* owner, TbsSkinData* data) -> TControl* {
        auto* bar = new TbsSkinScrollBar(owner);
        bar->SetParent(parent);
        bar->SetKind(sbVertical);
        bar->SetSkinDataName(L"vscrollbar");
        bar->SetDefaultWidth(19);
        bar->SetDefaultHeight(0);
        bar->SetBounds(181, 0, 19, 64);
        auto* m = new TbsSkinMemo2(owner);
        m->SetParent(parent);
        m->SetBounds(0, 0, 181, 64);
        m->Lines()->SetText(L"Лицензионное соглашение\r\nПрограмма распространяется бесплатно.\r\n"
                            L"Автор не отвечает за потерю писем.\r\nПочта проверяется по протоколу IMAP.\r\n"
                            L"Пароли хранятся зашифрованными.");
        if (data) {
            bar->SetSkinData(data);
            m->SetSkinData(data);
        }
        // The skin decides the bar's width; the memo takes the rest.
        m->SetBounds(0, 0, 200 - bar->Width(), 64);
        bar->SetBounds(m->Width(), 0, bar->Width(), 64);
        m->Handle();
        m->SetVScrollBar(bar);
        return m;
    };
    it.Index = [](TControl* c) { return static_cast<TbsSkinMemo2*>(c)->SkinIndex(); };
    it.Paint = [](TControl* c, HDC dc, int x, int y) {
        auto* m = static_cast<TbsSkinMemo2*>(c);
        const int saved = SaveDC(dc);
        SetViewportOrgEx(dc, x, y, nullptr);
        IntersectClipRect(dc, 0, 0, m->Width(), m->Height());
        SendMessageW(m->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        RestoreDC(dc, saved);
        if (TbsSkinScrollBar* bar = m->VScrollBar())
            bar->PaintTo(dc, x + m->Width(), y);
    };
    return it;
}

std::vector<TGalleryItem> EditsFamily(TCustomImageList* images, TWinControl* parent) {
    std::vector<TGalleryItem> items;
    const std::wstring login = L"иван.петров";
    items.push_back(EditItem(L"обычное", L"edit", login, false, [](TbsSkinEdit*) {}));
    items.push_back(EditItem(L"наведено", L"edit", login, true, [](TbsSkinEdit*) {}));
    items.push_back(EditItem(L"в фокусе", L"edit", L"imap.почта.рф", true, [](TbsSkinEdit*) {}));
    items.push_back(EditItem(L"только чтение", L"edit", L"C:\\Звуки\\Почта.wav", false,
                             [](TbsSkinEdit* e) { e->SetReadOnly(true); }));
    items.push_back(EditItem(L"длинный текст", L"edit",
                             L"C:\\Users\\Иван\\AppData\\Roaming\\Trelm Mail\\Звуки\\Новое письмо.wav", false,
                             [](TbsSkinEdit*) {}));
    items.push_back(EditItem(L"недоступно", L"edit", L"Напоминание", false,
                             [](TbsSkinEdit* e) { e->SetEnabled(false); }));
    items.push_back(EditItem(L"с кнопкой", L"buttonedit", L"Звук.wav", false, [images](TbsSkinEdit* e) {
        e->SetButtonMode(true);
        e->SetImages(images);
        e->SetButtonImageIndex(0);
    }));
    items.push_back(EditItem(L"время, по центру", L"edit", L"09:30", false,
                             [](TbsSkinEdit* e) { e->SetAlignment(taCenter); }));
    items.push_back(Item<TbsSkinPasswordEdit>(L"пароль с текстом", L"TbsSkinPasswordEdit", L"edit", 121, 21,
                                              [](TbsSkinPasswordEdit* p) { p->SetText(L"пароль"); }));
    items.push_back(MemoItem(parent));
    return items;
}

std::vector<TGalleryItem> PanelsFamily(TCustomImageList* images) {
    std::vector<TGalleryItem> items;
    using S = TbsSkinScrollBar;
    using P = TbsSkinPanel;
    using G = TbsSkinGroupBox;
    auto bar = [](const std::wstring& state, int w, int h, std::function<void(S*)> setup) {
        const bool vertical = h > w;
        return Item<S>(state, L"TbsSkinScrollBar", vertical ? L"vscrollbar" : L"hscrollbar", w, h,
                       [vertical, setup](S* b) {
                           if (vertical) {
                               b->SetKind(sbVertical);
                               b->SetSkinDataName(L"vscrollbar");
                               b->SetDefaultWidth(19);
                               b->SetDefaultHeight(0);
                           }
                           setup(b);
                       });
    };
    items.push_back(bar(L"полоса прокрутки", 200, 19, [](S*) {}));
    items.push_back(bar(L"страница, середина", 200, 19, [](S* b) { b->SetRange(0, 99, 20, 40); }));
    items.push_back(bar(L"стрелка наведена", 200, 19, [](S* b) { b->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(190, 9)); }));
    items.push_back(bar(L"бегунок наведён", 200, 19, [](S* b) { b->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(25, 9)); }));
    items.push_back(bar(L"недоступна", 200, 19, [](S* b) { b->SetEnabled(false); }));
    items.push_back(Item<S>(L"с углом (Both)", L"TbsSkinScrollBar", L"bothhscrollbar", 200, 19, [](S* b) {
        b->SetBothMarkerWidth(19);
        b->SetBoth(true);
    }));
    items.push_back(bar(L"вертикальная", 19, 120, [](S* b) { b->SetRange(0, 100, 30, 100); }));
    items.push_back(Item<P>(L"панель", L"TbsSkinPanel", L"panel", 200, 60, [](P*) {}));
    items.push_back(Item<P>(L"панель с заголовком", L"TbsSkinPanel", L"panel", 200, 60, [images](P* p) {
        p->SetCaption(L"Настройки почты");
        p->SetCaptionImageList(images);
        p->SetCaptionImageIndex(0);
        p->SetCaptionMode(true);
    }));
    items.push_back(Item<P>(L"панель без рамки", L"TbsSkinPanel", L"panel", 200, 60,
                            [](P* p) { p->SetBorderStyle(TbsPanelBorderStyle::bvNone); }));
    items.push_back(
        Item<P>(L"пустая отрисовка", L"TbsSkinPanel", L"panel", 200, 60, [](P* p) { p->SetEmptyDrawing(true); }));
    items.push_back(Item<G>(L"группа", L"TbsSkinGroupBox", L"groupbox", 200, 70,
                            [](G* g) { g->SetCaption(L"Параметры учётной записи"); }));
    items.push_back(Item<G>(L"группа с флажком", L"TbsSkinGroupBox", L"groupbox", 200, 70, [](G* g) {
        g->SetCaption(L"Напоминания");
        g->SetCheckedMode(true);
        g->SetChecked(true);
    }));
    items.push_back(Item<G>(L"группа, свёрнута", L"TbsSkinGroupBox", L"groupbox", 200, 70, [](G* g) {
        g->SetCaption(L"Письма");
        g->SetRollUpMode(true);
        g->SetRollUpState(true);
    }));
    items.push_back(Item<G>(L"заголовок по высоте", L"TbsSkinGroupBox", L"groupbox", 200, 70, [](G* g) {
        g->SetCaption(L"События");
        g->SetUseSkinSize(false);
    }));
    return items;
}

// Push, menu and check controls. Flat check boxes draw on their parent's background: a hidden form in the column's
// button-face colour stands behind them.
// The page control: tabs on each side, close buttons, a row too long for the control and the hidden mode.
std::vector<TGalleryItem> TabsFamily(TWinControl* backdrop, TCustomImageList* images) {
    using T = TbsSkinPageControl;
    auto pages = [backdrop](const std::wstring& state, int h, int count, std::function<void(T*)> extra) {
        return Item<T>(state, L"TbsSkinPageControl", L"tab", 206, h, [backdrop, count, extra](T* pc) {
            pc->SetParent(backdrop);
            const wchar_t* captions[] = {L"Почта", L"Напоминания", L"Другие", L"Папки", L"Журнал", L"Звуки",
                                         L"Вид", L"Сеть"};
            for (int i = 0; i < count; ++i) {
                auto* s = new TbsSkinTabSheet(nullptr);  // freed with its page control
                s->SetCaption(captions[i % 8]);
                s->SetPageControl(pc);
            }
            extra(pc);
            pc->HandleNeeded();
            pc->SetActivePageIndex(0);
        });
    };
    std::vector<TGalleryItem> items;
    items.push_back(pages(L"вкладки сверху", 80, 3, [](T*) {}));
    items.push_back(pages(L"вкладки снизу", 80, 3, [](T* pc) { pc->SetTabPosition(tpBottom); }));
    items.push_back(pages(L"вкладки слева", 110, 3, [](T* pc) { pc->SetTabPosition(tpLeft); }));
    items.push_back(pages(L"вкладки справа", 110, 3, [](T* pc) { pc->SetTabPosition(tpRight); }));
    items.push_back(pages(L"кнопки закрытия", 80, 2, [](T* pc) { pc->SetShowCloseButtons(true); }));
    items.push_back(pages(L"длинный ряд", 80, 8, [](T*) {}));
    items.push_back(pages(L"скрытый режим", 60, 2, [](T* pc) { pc->HideBorderAndTabs(); }));
    auto glyphs = [images](TbsButtonLayout layout) {
        return [images, layout](T* pc) {
            pc->SetTabImages(images);
            for (int i = 0; i < pc->PageCount(); ++i)
                pc->Pages(i)->SetImageIndex(i);
            pc->SetTabExtededDraw(true);
            pc->SetTabLayout(layout);
            pc->SetTabMargin(4);
            pc->SetTabSpacing(4);
        };
    };
    items.push_back(pages(L"значок слева", 80, 2, glyphs(blGlyphLeft)));
    items.push_back(pages(L"значок справа", 80, 2, glyphs(blGlyphRight)));
    return items;
}

std::vector<TGalleryItem> ButtonsFamily(TCustomImageList* images, TWinControl* backdrop) {
    std::vector<TGalleryItem> items;
    using P = TbsSkinButton;
    using M = TbsSkinMenuButton;
    using C = TbsSkinCheckRadioBox;
    auto push = [](const std::wstring& state, const std::wstring& caption, std::function<void(P*)> extra) {
        return Item<P>(state, L"TbsSkinButton", L"button", 110, 25, [caption, extra](P* b) {
            b->SetCaption(caption);
            extra(b);
        });
    };
    items.push_back(push(L"кнопка", L"Примен.", [](P*) {}));
    items.push_back(push(L"кнопка, наведена", L"Фаил", [](P* b) { b->Perform(CM_MOUSEENTER); }));
    items.push_back(push(L"кнопка, нажата", L"Скины", [](P* b) {
        b->Perform(CM_MOUSEENTER);
        b->SetDown(true);
    }));
    items.push_back(push(L"кнопка, недоступна", L"Фаил", [](P* b) { b->SetEnabled(false); }));
    items.push_back(push(L"кнопка с картинкой", L"Почта", [images](P* b) {
        b->SetImageList(images);
        b->SetImageIndex(0);
    }));
    auto menu = [](const std::wstring& state, std::function<void(M*)> extra) {
        return Item<M>(state, L"TbsSkinMenuButton", L"toolmenubutton", 130, 25, [extra](M* b) {
            b->SetCaption(L"Действия");
            extra(b);
        });
    };
    items.push_back(menu(L"меню-кнопка", [](M*) {}));
    items.push_back(menu(L"меню-кнопка, наведена", [](M* b) { b->Perform(CM_MOUSEENTER); }));
    items.push_back(menu(L"с частью меню", [](M* b) {
        b->SetTrackButtonMode(true);
        b->Perform(CM_MOUSEENTER);
    }));
    auto box = [backdrop](const std::wstring& state, const std::wstring& caption, bool radio,
                          std::function<void(C*)> extra) {
        return Item<C>(state, L"TbsSkinCheckRadioBox", radio ? L"radiobox" : L"checkbox", 210, 20,
                       [backdrop, caption, radio, extra](C* c) {
                           c->SetParent(backdrop);
                           c->SetCaption(caption);
                           if (radio) {
                               c->SetRadio(true);
                               c->SetSkinDataName(L"radiobox");
                               c->SetGroupIndex(1);
                           }
                           extra(c);
                       });
    };
    items.push_back(box(L"флажок", L"Использовать звук", false, [](C*) {}));
    items.push_back(box(L"флажок, установлен", L"Свернуть в трей", false, [](C* c) { c->SetChecked(true); }));
    items.push_back(box(L"флажок, наведён", L"Показывать текст письма", false, [](C* c) {
        c->SetChecked(true);
        c->Perform(CM_MOUSEENTER);
    }));
    items.push_back(box(L"флажок, серый", L"Повторять звук", false, [](C* c) { c->SetState(cbGrayed); }));
    items.push_back(box(L"флажок, недоступен", L"Проверять все сразу", false, [](C* c) {
        c->SetChecked(true);
        c->SetEnabled(false);
    }));
    items.push_back(box(L"переключатель", L"Русский", true, [](C*) {}));
    items.push_back(box(L"переключатель, выбран", L"Український", true, [](C* c) { c->SetChecked(true); }));
    items.push_back(box(L"переключатель, недоступен", L"Беларускі", true, [](C* c) {
        c->SetChecked(true);
        c->SetEnabled(false);
    }));
    return items;
}

// A scroll host as its window shows it: the arrows of its frame, its client image and its windowless children.
void PaintScrollHost(TbsSkinControl* host, TbsNcArrowScroller& arrows, HDC dc, int x, int y) {
    int saved = SaveDC(dc);
    OffsetViewportOrgEx(dc, x, y, nullptr);
    arrows.DrawButtons(dc);
    RestoreDC(dc, saved);
    const int left = arrows.Buttons[0].Visible && !arrows.Vertical ? kNcArrowSize : 0;
    const int top = arrows.Buttons[0].Visible && arrows.Vertical ? kNcArrowSize : 0;
    saved = SaveDC(dc);
    IntersectClipRect(dc, x + left, y + top, x + left + host->ClientWidth(), y + top + host->ClientHeight());
    host->PaintTo(dc, x + left, y + top);
    for (int i = 0; i < host->ControlCount(); ++i)
        if (auto* b = dynamic_cast<TbsGraphicSkinControl*>(host->Controls(i)); b && b->Visible())
            b->PaintTo(dc, x + left + b->Left(), y + top + b->Top());
    RestoreDC(dc, saved);
}

// A tool bar or scroll panel on the backdrop with a row of speed buttons (captions: each one's text).
template <typename T>
TGalleryItem ScrollHostItem(const std::wstring& state, const std::wstring& cls, const std::wstring& entry, int h,
                            TWinControl* backdrop, TCustomImageList* images, std::vector<std::wstring> captions,
                            int buttonW, std::function<void(T*)> setup) {
    TGalleryItem it = Item<T>(state, cls, entry, 206, h, [=](T* host) {
        host->SetParent(backdrop);
        int x = 0;
        for (size_t i = 0; i < captions.size(); ++i, x += buttonW) {
            auto* b = new TbsSkinSpeedButton(host);
            b->SetParent(host);
            b->SetBounds(x, (h - 24) / 2, buttonW, 24);
            b->SetImageList(images);
            b->SetImageIndex(static_cast<int>(i % 2));
            b->SetCaption(captions[i]);
            b->SetShowCaption(!captions[i].empty());
        }
        setup(host);
    });
    auto make = it.Make;
    it.Make = [make](TComponent* owner, TbsSkinData* data) -> TControl* {
        auto* host = static_cast<T*>(make(owner, data));
        for (int i = 0; i < host->ControlCount(); ++i)
            if (auto* b = dynamic_cast<TbsSkinSpeedButton*>(host->Controls(i)))
                b->SetSkinData(data);
        host->HandleNeeded();
        host->Realign();
        return host;
    };
    it.Paint = [](TControl* c, HDC dc, int x, int y) {
        auto* host = static_cast<T*>(c);
        PaintScrollHost(host, host->Scroller(), dc, x, y);
    };
    return it;
}

std::vector<TGalleryItem> BarsFamily(TCustomImageList* images, TWinControl* backdrop) {
    std::vector<TGalleryItem> items;
    using S = TbsSkinSpeedButton;
    using M = TbsSkinMenuSpeedButton;
    auto speed = [images](const std::wstring& state, const std::wstring& entry, bool flat,
                          std::function<void(S*)> extra) {
        return Item<S>(state, L"TbsSkinSpeedButton", entry, entry == L"toolbutton" ? 96 : 30,
                       entry == L"toolbutton" ? 25 : 30, [images, entry, flat, extra](S* b) {
                           b->SetSkinDataName(entry);
                           b->SetFlat(flat);
                           b->SetImageList(images);
                           b->SetImageIndex(0);
                           if (entry == L"toolbutton")
                               b->SetCaption(L"Почта");
                           extra(b);
                       });
    };
    auto hot = [](S* b) { b->Perform(CM_MOUSEENTER); };
    auto down = [](S* b) {
        b->SetGroupIndex(1);
        b->SetDown(true);
    };
    items.push_back(speed(L"кнопка панели", L"toolbutton", false, [](S*) {}));
    items.push_back(speed(L"кнопка панели, наведена", L"toolbutton", false, hot));
    items.push_back(speed(L"кнопка панели, нажата", L"toolbutton", false, down));
    items.push_back(speed(L"кнопка панели, недоступна", L"toolbutton", false, [](S* b) { b->SetEnabled(false); }));
    items.push_back(speed(L"плоская", L"toolbutton", true, [](S*) {}));
    items.push_back(speed(L"плоская, наведена", L"toolbutton", true, hot));
    items.push_back(speed(L"квадратная плоская", L"resizetoolbutton", true, [](S*) {}));
    items.push_back(speed(L"квадратная, наведена", L"resizetoolbutton", true, hot));
    items.push_back(speed(L"квадратная, нажата", L"resizetoolbutton", true, down));
    auto menu = [](const std::wstring& state, std::function<void(M*)> extra) {
        return Item<M>(state, L"TbsSkinMenuSpeedButton", L"toolmenubutton", 120, 25, [extra](M* b) {
            b->SetCaption(L"Действия");
            extra(b);
        });
    };
    items.push_back(menu(L"меню-кнопка панели", [](M*) {}));
    items.push_back(menu(L"меню-кнопка, наведена", [](M* b) { b->Perform(CM_MOUSEENTER); }));
    items.push_back(menu(L"с частью меню, наведена", [](M* b) {
        b->SetTrackButtonMode(true);
        b->Perform(CM_MOUSEENTER);
    }));
    items.push_back(
        Item<M>(L"новый вид, часть снизу", L"TbsSkinMenuSpeedButton", L"resizetoolbutton", 60, 45, [](M* b) {
            b->SetNewStyle(true);
            b->SetTrackPosition(bstpBottom);
            b->SetTrackButtonMode(true);
            b->SetCaption(L"Вид");
            b->Perform(CM_MOUSEENTER);
        }));
    items.push_back(Item<TbsSkinStatusBar>(L"строка состояния", L"TbsSkinStatusBar", L"statusbar", 200, 21,
                                           [](TbsSkinStatusBar* b) {
                                               b->SetAlign(alNone);
                                               b->SetSizeGrip(true);
                                               b->SetCaption(L"Писем: 3");
                                           }));
    using TB = TbsSkinToolBar;
    items.push_back(ScrollHostItem<TB>(L"панель инструментов", L"TbsSkinToolBar", L"toolpanel", 30, backdrop, images,
                                       {L"Почта", L"Ответ", L"Удалить"}, 66, [](TB* bar) { bar->SetFlat(true); }));
    items.push_back(ScrollHostItem<TB>(L"панель прокручена", L"TbsSkinToolBar", L"toolpanel", 30, backdrop, images,
                                       std::vector<std::wstring>(9), 30, [](TB* bar) {
                                           bar->SetCanScroll(true);
                                           bar->HandleNeeded();
                                           bar->Realign();
                                           bar->Scroller().ButtonClick(1);
                                       }));
    using SP = TbsSkinScrollPanel;
    items.push_back(ScrollHostItem<SP>(L"прокрутка, середина", L"TbsSkinScrollPanel", L"panel", 34, backdrop,
                                       images, {L"Входящие", L"Отправленные", L"Черновики", L"Корзина", L"Спам",
                                                L"Архив"},
                                       84, [](SP* p) {
                                           p->SetScrollOffset(120);
                                           p->HandleNeeded();
                                           p->UpDateSize();
                                           p->Scroller().ButtonClick(1);
                                       }));
    return items;
}

// A spin edit painted with its value's text.
TGalleryItem SpinItem(const std::wstring& state, std::function<void(TbsSkinSpinEdit*)> setup) {
    TGalleryItem it;
    it.State = state;
    it.Class = L"TbsSkinSpinEdit";
    it.Entry = L"spinedit";
    it.W = 90;
    it.H = 21;
    it.Make = [setup](TComponent* owner, TbsSkinData* data) -> TControl* {
        auto* e = new TbsSkinSpinEdit(owner);
        e->SetBounds(0, 0, 90, 21);
        e->SetMaxValue(99999);
        if (data)
            e->SetSkinData(data);
        setup(e);
        return e;
    };
    it.Index = [](TControl* c) { return static_cast<TbsSkinSpinEdit*>(c)->SkinIndex(); };
    it.Paint = [](TControl* c, HDC dc, int x, int y) {
        const int saved = SaveDC(dc);
        TCanvas canvas;
        canvas.SetHandle(dc);
        auto* e = static_cast<TbsSkinSpinEdit*>(c);
        e->PaintSkinTo(&canvas, x, y, e->Edit()->Text());
        canvas.SetHandle(nullptr);
        RestoreDC(dc, saved);
    };
    return it;
}

// Russian month and day names with a dotted day-month-year date.
TFormatSettings RussianDates() {
    TFormatSettings fs = TFormatSettings::Invariant();
    const wchar_t* months[] = {L"Январь", L"Февраль", L"Март",     L"Апрель",  L"Май",    L"Июнь",
                               L"Июль",   L"Август",  L"Сентябрь", L"Октябрь", L"Ноябрь", L"Декабрь"};
    const wchar_t* days[] = {L"Вс", L"Пн", L"Вт", L"Ср", L"Чт", L"Пт", L"Сб"};
    for (int i = 0; i < 12; ++i)
        fs.LongMonthNames[i] = months[i];
    for (int i = 0; i < 7; ++i)
        fs.ShortDayNames[i] = days[i];
    fs.DateSeparator = L'.';
    fs.ShortDateFormat = L"dd.MM.yyyy";
    return fs;
}

// A date edit as the notifier's reminder page holds it, closed or with its calendar painted below it.
TGalleryItem DateEditItem(const std::wstring& state, bool open) {
    TGalleryItem it;
    it.State = state;
    it.Class = L"TbsSkinDateEdit";
    it.Entry = L"buttonedit";
    it.W = 200;
    it.H = open ? 21 + 150 : 21;
    it.Make = [](TComponent* owner, TbsSkinData* data) -> TControl* {
        auto* e = new TbsSkinDateEdit(owner);
        e->SetBounds(0, 0, 90, 21);
        e->SetDateFormatSettings(RussianDates());
        e->SetFirstDayOfWeek(Mon);
        e->SetAlignment(taCenter);
        e->SetClock([] { return EncodeDate(2026, 6, 15); });
        if (data)
            e->SetSkinData(data);
        e->SetDate(EncodeDate(2026, 6, 19));
        e->Calendar()->SetSkinData(data);
        return e;
    };
    it.Index = [](TControl* c) { return static_cast<TbsSkinDateEdit*>(c)->SkinIndex(); };
    it.Paint = [open](TControl* c, HDC dc, int x, int y) {
        auto* e = static_cast<TbsSkinDateEdit*>(c);
        const int saved = SaveDC(dc);
        TCanvas canvas;
        canvas.SetHandle(dc);
        e->PaintSkinTo(&canvas, x, y, e->EditText());
        canvas.SetHandle(nullptr);
        RestoreDC(dc, saved);
        if (!open)
            return;
        TbsSkinPopupMonthCalendar* cal = e->Calendar();
        cal->PaintTo(dc, x, y + 21);
        for (int i = 0; i < 4; ++i)
            if (TbsSkinSpeedButton* b = cal->Button(i))
                b->PaintTo(dc, x + b->Left(), y + 21 + b->Top());
    };
    return it;
}

std::vector<TGalleryItem> SpinsFamily() {
    using U = TbsSkinUpDown;
    std::vector<TGalleryItem> items;
    items.push_back(SpinItem(L"число", [](TbsSkinSpinEdit* e) { e->SetValue(993); }));
    items.push_back(SpinItem(L"наведено", [](TbsSkinSpinEdit* e) {
        e->SetValue(86400);
        e->Perform(CM_MOUSEENTER);
    }));
    items.push_back(SpinItem(L"стрелка вверх наведена", [](TbsSkinSpinEdit* e) {
        e->SetValue(30);
        e->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(e->Button(0).R.Left + 3, e->Button(0).R.Top + 3));
    }));
    items.push_back(SpinItem(L"стрелка вниз наведена", [](TbsSkinSpinEdit* e) {
        e->SetValue(1);
        e->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(e->Button(1).R.Left + 3, e->Button(1).R.Top + 3));
    }));
    items.push_back(SpinItem(L"недоступно", [](TbsSkinSpinEdit* e) {
        e->SetValue(60);
        e->SetEnabled(false);
    }));
    auto updown = [](const std::wstring& state, TUDOrientation o, std::function<void(U*)> extra) {
        const bool vert = o == udVertical;
        return Item<U>(state, L"TbsSkinUpDown", vert ? L"vupdown" : L"hupdown", vert ? 17 : 34, vert ? 34 : 17,
                       [o, vert, extra](U* u) {
                           u->SetOrientation(o);
                           u->SetSkinDataName(vert ? L"vupdown" : L"hupdown");
                           extra(u);
                       });
    };
    items.push_back(updown(L"стрелки", udHorizontal, [](U*) {}));
    items.push_back(updown(L"правая наведена", udHorizontal,
                           [](U* u) { u->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(u->Button(0).R.Left + 2, 4)); }));
    items.push_back(updown(L"вертикальные", udVertical, [](U*) {}));
    items.push_back(updown(L"нижняя наведена", udVertical,
                           [](U* u) { u->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(4, u->Button(1).R.Top + 2)); }));
    items.push_back(updown(L"недоступны", udHorizontal, [](U* u) { u->SetEnabled(false); }));
    items.push_back(DateEditItem(L"дата", false));
    items.push_back(DateEditItem(L"дата, календарь открыт", true));
    return items;
}

void Text(HDC dc, int x, int y, int w, const std::wstring& s, UINT align) {
    RECT r{x, y, x + w, y + 18};
    DrawTextW(dc, s.c_str(), static_cast<int>(s.size()), &r, align | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
}


// A report view with Cyrillic rows; the items come from the view itself (not owner data).
TbsSkinListView* MakeView(TComponent* Owner, TWinControl* Host, TbsSkinData* Data, int W, int H, TViewStyle Style,
                          bool DrawSkin) {
    auto* v = new TbsSkinListView(Owner);
    v->SetParent(Host);
    v->SetBounds(0, 0, W, H);
    v->SetViewStyle(Style);
    v->SetRowSelect(true);
    v->SetHideSelection(false);
    v->SetReadOnly(true);
    const wchar_t* heads[] = {L"Логин", L"Домен", L"Сервер"};
    const int widths[] = {80, 70, 90};
    for (int i = 0; i < 3; ++i) {
        TListColumn* c = v->Columns()->Add();
        c->SetCaption(heads[i]);
        c->SetWidth(widths[i]);
    }
    const wchar_t* rows[][3] = {{L"иван", L"почта.рф", L"imap.почта.рф"},
                                {L"анна", L"mail.ru", L"imap.mail.ru"},
                                {L"пётр", L"yandex.ru", L"imap.yandex.ru"},
                                {L"ольга", L"list.ru", L"imap.list.ru"}};
    for (const auto& r : rows) {
        TListItem* it = v->Items()->Add();
        it->SetCaption(r[0]);
        it->SubItems()->Add(r[1]);
        it->SubItems()->Add(r[2]);
    }
    v->SetItemSkinDataName(L"listbox");
    v->SetDrawSkin(DrawSkin);
    if (Data)
        v->SetSkinData(Data);
    v->HandleNeeded();
    v->Items()->Item(1)->SetSelected(true);
    return v;
}

// The view's header (painted by the view) and its rows (painted by the native control and the view's item drawing).
void PaintView(TControl* C, HDC DC, int X, int Y) {
    auto* v = static_cast<TbsSkinListView*>(C);
    SaveDC(DC);
    SetViewportOrgEx(DC, X, Y, nullptr);
    IntersectClipRect(DC, 0, 0, v->Width(), v->Height());
    SendMessageW(v->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(DC), PRF_CLIENT | PRF_ERASEBKGND);
    if (v->SubclassedHeader())
        v->PaintHeader(DC);
    RestoreDC(DC, -1);
}

TGalleryItem ViewItem(const std::wstring& State, TWinControl* Host, TViewStyle Style, bool DrawSkin,
                      std::function<void(TbsSkinListView*)> Setup = {}) {
    TGalleryItem it;
    it.State = State;
    it.Class = L"TbsSkinListView";
    it.Entry = L"listview";
    it.W = 210;
    it.H = 96;
    it.Make = [=](TComponent* Owner, TbsSkinData* Data) -> TControl* {
        TbsSkinListView* v = MakeView(Owner, Host, Data, 210, 96, Style, DrawSkin);
        if (Setup)
            Setup(v);
        return v;
    };
    it.Index = [](TControl* C) { return static_cast<TbsSkinListView*>(C)->SkinIndex(); };
    it.Paint = PaintView;
    return it;
}

// The skinned list and tree views, real windows on the hidden host: report and list style, with and without their own
// item drawing, a pressed header section, a tree.
std::vector<TGalleryItem> ViewsFamily(TWinControl* Host, TCustomImageList* Images) {
    std::vector<TGalleryItem> items;
    items.push_back(ViewItem(L"отчёт", Host, vsReport, false));
    items.push_back(ViewItem(L"отчёт, DrawSkin", Host, vsReport, true));
    items.push_back(ViewItem(L"DrawSkin, значки столбцов", Host, vsReport, true, [Images](TbsSkinListView* v) {
        v->SetSmallImages(Images);
        for (int i = 0; i < v->Items()->Count(); ++i)
            v->Items()->Item(i)->SetSubItemImages(0, i % 2);
    }));
    items.push_back(ViewItem(L"список", Host, vsList, false));
    items.push_back(ViewItem(L"список, DrawSkin", Host, vsList, true));
    for (bool drawSkin : {false, true}) {
        TGalleryItem tree;
        tree.State = drawSkin ? L"дерево, DrawSkin" : L"дерево";
        tree.Class = L"TbsSkinTreeView";
        tree.Entry = L"treeview";
        tree.W = 210;
        tree.H = 110;
        tree.Make = [Host, drawSkin](TComponent* Owner, TbsSkinData* Data) -> TControl* {
            auto* t = new TbsSkinTreeView(Owner);
            t->SetParent(Host);
            t->SetBounds(0, 0, 210, 110);
            const wchar_t* folders[] = {L"Входящие", L"Отправленные", L"Корзина"};
            for (const wchar_t* f : folders) {
                TTreeNode* top = t->Items()->Add(nullptr, f);
                t->Items()->AddChild(top, L"Письмо от Ивана");
                t->Items()->AddChild(top, L"Напоминание");
            }
            t->SetDrawSkin(drawSkin);
            if (Data)
                t->SetSkinData(Data);
            t->HandleNeeded();
            t->Items()->GetFirstNode()->Expand(false);
            t->SetSelected(t->Items()->GetFirstNode()->Item(0));
            return t;
        };
        tree.Index = [](TControl* C) { return static_cast<TbsSkinTreeView*>(C)->SkinIndex(); };
        tree.Paint = [](TControl* C, HDC DC, int X, int Y) {
            auto* t = static_cast<TbsSkinTreeView*>(C);
            SaveDC(DC);
            SetViewportOrgEx(DC, X, Y, nullptr);
            IntersectClipRect(DC, 0, 0, t->Width(), t->Height());
            SendMessageW(t->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(DC), PRF_CLIENT | PRF_ERASEBKGND);
            RestoreDC(DC, -1);
        };
        items.push_back(tree);
    }
    items.push_back(ViewItem(L"нажатый заголовок", Host, vsReport, false, [](TbsSkinListView* v) {
        // a press in the middle of the second section, as the mouse makes it
        if (HWND h = v->SubclassedHeader()) {
            SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(110, 6));
            ReleaseCapture();
        }
    }));
    return items;
}

// The skinned list box with its inner list and bar, at (X, Y) of DC.
void PaintListBox(TbsSkinCustomListBox* L, HDC DC, int X, int Y) {
    L->PaintTo(DC, X, Y);
    const TRect r = L->ListRectNow();
    SaveDC(DC);
    SetViewportOrgEx(DC, X + r.Left, Y + r.Top, nullptr);
    IntersectClipRect(DC, 0, 0, r.Width(), r.Height());
    L->ListBox->PaintTo(DC);
    RestoreDC(DC, -1);
    if (L->ScrollBar)
        L->ScrollBar->PaintTo(DC, X + L->ScrollBar->Left(), Y + L->ScrollBar->Top());
}

const wchar_t* const kListWords[] = {L"Входящие", L"Отправленные", L"Черновики", L"Корзина", L"Спам", L"Архив",
                                     L"Рассылки"};

// A list item of the family: the control made on the hidden host, painted by Paint.
template <typename T>
TGalleryItem HostedItem(const std::wstring& State, const std::wstring& Entry, int W, int H, TWinControl* Host,
                        int CtlW, int CtlH, std::function<void(T*)> Setup,
                        std::function<void(T*, HDC, int, int)> Paint) {
    TGalleryItem it;
    it.State = State;
    it.Entry = Entry;
    it.W = W;
    it.H = H;
    it.Make = [=](TComponent* Owner, TbsSkinData* Data) -> TControl* {
        auto* c = new T(Owner);
        c->SetParent(Host);
        c->SetBounds(0, 0, CtlW, CtlH);
        if (Data)
            c->SetSkinData(Data);
        c->HandleNeeded();
        Setup(c);
        c->ChangeSkinData();
        return c;
    };
    it.Index = [](TControl* C) { return static_cast<T*>(C)->SkinIndex(); };
    it.Paint = [Paint](TControl* C, HDC DC, int X, int Y) { Paint(static_cast<T*>(C), DC, X, Y); };
    return it;
}

// The list box, the combo box (fixed and editable) and the office list and combo box, each closed and open (the
// popup painted under the box as it opens).
std::vector<TGalleryItem> ListsFamily(TCustomImageList* Images, TWinControl* Host) {
    std::vector<TGalleryItem> items;
    using LB = TbsSkinListBox;
    using CB = TbsSkinComboBox;
    using OL = TbsSkinOfficeListBox;
    using OC = TbsSkinOfficeComboBox;
    auto fillList = [](TStrings* s) {
        for (const wchar_t* w : kListWords)
            s->Add(w);
    };
    auto list = HostedItem<LB>(L"список", L"listbox", 210, 100, Host, 210, 100, [=](LB* l) {
        fillList(l->Items());
        l->SetItemIndex(1);
    }, [](LB* l, HDC dc, int x, int y) { PaintListBox(l, dc, x, y); });
    list.Class = L"TbsSkinListBox";
    items.push_back(list);
    auto paintCombo = [](CB* c, HDC dc, int x, int y) {
        c->PaintTo(dc, x, y);
        if (TbsCustomEdit* e = c->Edit()) {
            SaveDC(dc);
            SetViewportOrgEx(dc, x + e->Left(), y + e->Top(), nullptr);
            IntersectClipRect(dc, 0, 0, e->Width(), e->Height());
            e->DoPaint2(dc);
            RestoreDC(dc, -1);
        }
    };
    auto openCombo = [paintCombo](CB* c, HDC dc, int x, int y) {
        paintCombo(c, dc, x, y);
        TbsPopupListBox* l = c->ListBox();
        l->HandleNeeded();
        l->SetSkinDataName(c->SkinIndex() != -1 ? L"listbox" : L"");
        l->SetWidth(c->Width());
        l->SetRowCount(std::min(c->Items()->Count(), c->DropDownCount()));
        l->ChangeSkinData();  // lays the inner list out for the new size
        l->SetItemIndex(2);
        PaintListBox(l, dc, x, y + c->Height());
    };
    for (bool open : {false, true}) {
        for (bool edit : {false, true}) {
            auto it = HostedItem<CB>(std::wstring(edit ? L"с правкой" : L"выбор") + (open ? L", открыт" : L""),
                                     L"combobox", 180, open ? 22 + 112 : 22, Host, 180, 22, [=](CB* c) {
                                         if (edit)
                                             c->SetStyle(bscbEditStyle);
                                         fillList(c->Items());
                                         c->SetDropDownCount(5);
                                         c->SetItemIndex(0);
                                     }, open ? std::function<void(CB*, HDC, int, int)>(openCombo)
                                             : std::function<void(CB*, HDC, int, int)>(paintCombo));
            it.Class = L"TbsSkinComboBox";
            items.push_back(it);
        }
    }
    auto fillOffice = [Images](TbsSkinOfficeItems* items, bool header) {
        if (header)
            items->AddItem()->SetHeader(true), items->GetItem(0)->SetCaption(L"Язык");
        const wchar_t* langs[] = {L"  Русский", L"  Беларускi", L"  Український"};
        for (int i = 0; i < 3; ++i) {
            TbsSkinOfficeItem* it = items->AddItem();
            it->SetCaption(langs[i]);
            it->SetImageIndex(i % Images->Count());
        }
    };
    auto office = HostedItem<OL>(L"офисный список", L"listbox", 210, 100, Host, 210, 100, [=](OL* l) {
        l->SetImages(Images);
        l->SetItemHeight(22);
        l->SetShowItemTitles(false);
        fillOffice(l->Items(), true);
        l->Items()->GetItem(1)->SetTitle(L"");
        l->Items()->GetItem(3)->SetEnabled(false);
        l->SetItemIndex(2);
    }, [](OL* l, HDC dc, int x, int y) {
        l->PaintTo(dc, x, y);
        if (l->ScrollBar)
            l->ScrollBar->PaintTo(dc, x + l->ScrollBar->Left(), y + l->ScrollBar->Top());
    });
    office.Class = L"TbsSkinOfficeListBox";
    items.push_back(office);
    for (bool open : {false, true}) {
        auto it = HostedItem<OC>(open ? L"офисный, открыт" : L"офисный выбор", L"combobox", 180, open ? 22 + 74 : 22,
                                 Host, 180, 22, [=](OC* c) {
                                     c->SetImages(Images);
                                     c->SetUseSkinSize(false);
                                     c->SetListBoxItemHeight(22);
                                     c->SetListBoxShowItemTitles(false);
                                     for (TFont* f : {c->DefaultFont()}) {
                                         f->SetHeight(14);
                                         f->SetStyle({fsBold});
                                     }
                                     c->SetListBoxDefaultFont(c->DefaultFont());
                                     fillOffice(c->Items(), false);
                                     c->InitItemIndex(2);
                                 }, [open](OC* c, HDC dc, int x, int y) {
                                     c->PaintTo(dc, x, y);
                                     if (!open)
                                         return;
                                     TbsPopupOfficeListBox* l = c->ListBox();
                                     l->SetWidth(c->Width());
                                     l->SetHeight(l->CalcHeight(3));
                                     l->InitItemIndex(1);
                                     l->PaintTo(dc, x, y + c->Height());
                                 });
        it.Class = L"TbsSkinOfficeComboBox";
        items.push_back(it);
    }
    return items;
}

// The pickers, linked as a folder page links them, on a folder tree with Cyrillic names three levels below C:\ (made
// here when missing): the folder list in the current folder, the file list following it, the label showing it.
struct TPickerChain {
    TbsSkinDirectoryListBox* Folders = nullptr;
    TbsSkinFileListBox* Files = nullptr;
    TbsSkinStdLabel* Label = nullptr;
    TbsSkinDriveComboBox* Drives = nullptr;
    TbsSkinFilterComboBox* Filter = nullptr;
};

const wchar_t kPickerFolder[] = L"C:\\Почта\\Входящие\\Архив";

void MakePickerTree() {
    for (const wchar_t* d : {L"C:\\Почта", L"C:\\Почта\\Входящие", kPickerFolder, L"C:\\Почта\\Входящие\\Архив\\2026",
                             L"C:\\Почта\\Входящие\\Архив\\Важное", L"C:\\Почта\\Входящие\\Архив\\Черновики"})
        CreateDirectoryW(d, nullptr);
    for (const wchar_t* f : {L"письмо.eml", L"отчёт.txt", L"список.lng"}) {
        const std::wstring path = std::wstring(kPickerFolder) + L"\\" + f;
        CloseHandle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr));
    }
}

TPickerChain MakePickerChain(TComponent* Owner, TWinControl* Host, TbsSkinData* Data) {
    TPickerChain c;
    c.Files = new TbsSkinFileListBox(Owner);
    c.Folders = new TbsSkinDirectoryListBox(Owner);
    c.Label = new TbsSkinStdLabel(Owner);
    c.Drives = new TbsSkinDriveComboBox(Owner);
    c.Filter = new TbsSkinFilterComboBox(Owner);
    const std::pair<TbsSkinCustomControl*, int> placed[] = {{c.Files, 150}, {c.Folders, 150}, {c.Drives, 20},
                                                            {c.Filter, 20}};
    for (const auto& [b, h] : placed) {
        b->SetParent(Host);
        b->SetBounds(0, 0, 200, h);
        if (Data)
            b->SetSkinData(Data);
        b->HandleNeeded();
    }
    c.Label->SetParent(Host);
    c.Label->SetAutoSize(false);
    c.Label->SetBounds(0, 0, 200, 18);
    if (Data)
        c.Label->SetSkinData(Data);
    c.Drives->SetDirList(c.Folders);
    c.Filter->SetFileList(c.Files);
    c.Filter->SetFilter(L"Письма (*.eml)|*.eml|Отчёты (*.txt)|*.txt|Все файлы (*.*)|*.*");
    c.Folders->SetFileList(c.Files);
    c.Folders->SetDirLabel(c.Label);
    c.Folders->SetDirectory(kPickerFolder);
    c.Filter->SetItemIndex(2);
    return c;
}

// The ribbon: tabs with command buttons, a row shrunk with dividers, the MDI buttons, and the application menu open
// with a page shown. Each ribbon stands on a hidden form of its own, as the menu covers its form's client area.
TbsRibbon* GalleryRibbon(TComponent* Owner, TbsSkinData* Data, TCustomImageList* Images, int W, int Tabs) {
    auto* form = new TForm(Owner);
    form->SetBorderStyle(bsNone);
    form->SetBounds(0, 0, W, 330);
    auto* r = new TbsRibbon(form);
    r->SetParent(form);
    if (Data)
        r->SetSkinData(Data);
    const wchar_t* captions[] = {L"Главная", L"Вставка", L"Вид", L"Рецензирование", L"Разработчик", L"Справка"};
    for (int i = 0; i < Tabs; ++i)
        r->Tabs()->Add()->Page()->SetCaption(captions[i % 6]);
    r->SetAppButtonCaption(L"Файл");
    r->SetButtonsImageList(Images);
    r->Buttons()->Add()->SetImageIndex(0);
    TbsRibbonButtonItem* help = r->Buttons()->Add();
    help->SetImageIndex(1);
    help->SetCaption(L"Помощь");
    r->HandleNeeded();
    r->SetTabIndex(0);
    auto* b = new TbsSkinButton(form);
    b->SetParent(r->ActivePage());
    b->SetBounds(8, 8, 90, 60);
    b->SetCaption(L"Вставить");
    if (Data)
        b->SetSkinData(Data);
    return r;
}

// A page host's background (its erase) and its skinned buttons, its top-left at (X, Y).
void PaintPageAt(TWinControl* Page, HDC DC, int X, int Y) {
    {
        TSaveDCGuard saved(DC);
        SetViewportOrgEx(DC, X, Y, nullptr);
        SendMessageW(Page->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0);
    }
    for (int i = 0; i < Page->ControlCount(); ++i)
        if (auto* c = dynamic_cast<TbsSkinButton*>(Page->Controls(i)))
            c->PaintTo(DC, X + c->Left(), Y + c->Top());
}

// The ribbon, its application button and its active page painted at (X, Y).
void PaintRibbonWithPage(TbsRibbon* R, HDC DC, int X, int Y) {
    R->PaintTo(DC, X, Y);
    if (TbsRibbonPage* p = R->ActivePage())
        PaintPageAt(p, DC, X + p->Left(), Y + p->Top());
    R->GetAppButton()->PaintTo(DC, X + R->GetAppButton()->Left(), Y + R->GetAppButton()->Top());
}

std::vector<TGalleryItem> RibbonFamily(TCustomImageList* Images) {
    std::vector<TGalleryItem> items;
    auto ribbon = [Images](const std::wstring& state, int w, int tabs, std::function<void(TbsRibbon*)> extra) {
        TGalleryItem it;
        it.State = state;
        it.Class = L"TbsRibbon";
        it.Entry = L"officetab";
        it.W = w;
        it.H = 115;
        it.Make = [Images, w, tabs, extra](TComponent* Owner, TbsSkinData* Data) -> TControl* {
            TbsRibbon* r = GalleryRibbon(Owner, Data, Images, w, tabs);
            extra(r);
            return r;
        };
        it.Index = [](TControl* C) { return static_cast<TbsRibbon*>(C)->SkinIndex(); };
        it.Paint = [](TControl* C, HDC DC, int X, int Y) {
            PaintRibbonWithPage(static_cast<TbsRibbon*>(C), DC, X, Y);
        };
        return it;
    };
    items.push_back(ribbon(L"вкладки и кнопки", 440, 3, [](TbsRibbon*) {}));
    items.push_back(ribbon(L"тесный ряд", 300, 6, [](TbsRibbon* r) { r->SetTabIndex(2); }));
    items.push_back(ribbon(L"кнопки MDI", 440, 2, [](TbsRibbon* r) { r->MDIChildMaximize(); }));
    TGalleryItem menu;
    menu.State = L"меню открыто";
    menu.Class = L"TbsAppMenu";
    menu.Entry = L"appmenu";
    menu.W = 440;
    menu.H = 330;
    menu.Make = [Images](TComponent* Owner, TbsSkinData* Data) -> TControl* {
        TbsRibbon* r = GalleryRibbon(Owner, Data, Images, 440, 3);
        auto* m = new TbsAppMenu(r->Owner());
        m->SetParent(r->Parent());
        if (Data)
            m->SetSkinData(Data);
        m->SetItemWidth(150);
        r->SetAppMenu(m);
        const wchar_t* commands[] = {L"Создать", L"Открыть", L"Сохранить"};
        for (const wchar_t* c : commands)
            m->Items()->Add()->SetCaption(c);
        TbsAppMenuItem* recent = m->Items()->Add();
        recent->SetCaption(L"Последние");
        TbsAppMenuItem* print = m->Items()->Add();
        print->SetCaption(L"Печать");
        print->SetEnabled(false);
        recent->SetPage(m->CreatePage());
        m->Items()->Add()->SetCaption(L"Выход");
        m->HandleNeeded();
        r->ShowAppMenu();
        m->SetItemIndex(3);
        auto* label = new TbsSkinButton(r->Owner());
        label->SetParent(m->ActivePage());
        label->SetBounds(10, 10, 150, 26);
        label->SetCaption(L"Отчёт за декабрь.txt");
        if (Data)
            label->SetSkinData(Data);
        return m;
    };
    menu.Index = [](TControl* C) { return static_cast<TbsAppMenu*>(C)->SkinIndex(); };
    menu.Paint = [](TControl* C, HDC DC, int X, int Y) {
        auto* m = static_cast<TbsAppMenu*>(C);
        PaintRibbonWithPage(m->Ribbon, DC, X, Y);
        m->PaintTo(DC, X + m->Left(), Y + m->Top());
        if (TbsAppMenuPage* p = m->ActivePage())
            PaintPageAt(p, DC, X + m->Left() + p->Left(), Y + m->Top() + p->Top());
    };
    items.push_back(menu);
    return items;
}

std::vector<TGalleryItem> PickersFamily(TWinControl* Host) {
    MakePickerTree();
    using TPaint = std::function<void(TControl*, HDC, int, int)>;
    using TIndex = std::function<int(TControl*)>;
    const TIndex controlIndex = [](TControl* C) { return static_cast<TbsSkinCustomControl*>(C)->SkinIndex(); };
    const TPaint paintList = [](TControl* C, HDC DC, int X, int Y) {
        PaintListBox(static_cast<TbsSkinCustomListBox*>(C), DC, X, Y);
    };
    // Each row makes the whole chain and paints one of its members.
    auto chainItem = [Host](const std::wstring& State, const std::wstring& Class, const std::wstring& Entry, int H,
                            std::function<TControl*(const TPickerChain&)> Pick, TIndex Index, TPaint Paint) {
        TGalleryItem it;
        it.State = State;
        it.Class = Class;
        it.Entry = Entry;
        it.W = 200;
        it.H = H;
        it.Make = [Host, Pick](TComponent* Owner, TbsSkinData* Data) { return Pick(MakePickerChain(Owner, Host, Data)); };
        it.Index = std::move(Index);
        it.Paint = std::move(Paint);
        return it;
    };
    std::vector<TGalleryItem> items;
    items.push_back(chainItem(L"папки, три уровня", L"TbsSkinDirectoryListBox", L"listbox", 150,
                              [](const TPickerChain& c) { return c.Folders; }, controlIndex, paintList));
    items.push_back(chainItem(L"файлы папки", L"TbsSkinFileListBox", L"listbox", 150,
                              [](const TPickerChain& c) { return c.Files; }, controlIndex, paintList));
    items.push_back(chainItem(
        L"диски, список открыт", L"TbsSkinDriveComboBox", L"combobox", 110,
        [](const TPickerChain& c) {
            c.Drives->DropDown();
            return c.Drives;
        },
        controlIndex,
        [](TControl* C, HDC DC, int X, int Y) {
            auto* box = static_cast<TbsSkinDriveComboBox*>(C);
            box->PaintTo(DC, X, Y);
            if (box->IsPopupVisible()) {
                PaintListBox(box->ListBox(), DC, X, Y + box->Height());
                box->CloseUp(false);
            }
        }));
    items.push_back(chainItem(L"фильтр файлов", L"TbsSkinFilterComboBox", L"combobox", 20,
                              [](const TPickerChain& c) { return c.Filter; }, controlIndex,
                              [](TControl* C, HDC DC, int X, int Y) {
                                  static_cast<TbsSkinCustomControl*>(C)->PaintTo(DC, X, Y);
                              }));
    items.push_back(chainItem(
        L"метка папки", L"TbsSkinStdLabel", L"stdlabel", 18, [](const TPickerChain& c) { return c.Label; },
        [](TControl* C) { return static_cast<TbsSkinStdLabel*>(C)->SkinIndex(); },
        [](TControl* C, HDC DC, int X, int Y) {
            auto* l = static_cast<TbsSkinStdLabel*>(C);
            TCanvas canvas;
            canvas.SetHandle(DC);
            l->PaintSkinTo(&canvas, X, Y, l->Caption());
            canvas.SetHandle(nullptr);
        }));
    return items;
}

// The shell list view and the shell combo box linked over a folder of Cyrillic names, in list, report and icon
// style, and the box open on its indented chain.
std::wstring ShellGalleryFolder() {
    wchar_t base[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, base);
    const std::wstring dir = std::wstring(base) + L"trelm-gallery-shell";
    CreateDirectoryW(dir.c_str(), nullptr);
    CreateDirectoryW((dir + L"\\Папка с письмами").c_str(), nullptr);
    CreateDirectoryW((dir + L"\\Папка с письмами\\Входящие").c_str(), nullptr);
    CreateDirectoryW((dir + L"\\Звуки").c_str(), nullptr);
    for (const wchar_t* name : {L"Отчёт за май.txt", L"Русский.lng", L"Звонок.wav", L"readme.txt"}) {
        HANDLE h = CreateFileW((dir + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            DWORD n = 0;
            WriteFile(h, "0123456789", 10, &n, nullptr);
            CloseHandle(h);
        }
    }
    return dir;
}

// The height a list of the folder needs in a style at a width (at least MinH): a view cut inside a row of items
// hides what that row holds.
int FittedListHeight(TWinControl* Host, const std::wstring& Folder, TViewStyle Style, int W, int MinH) {
    auto v = std::make_unique<TbsSkinFileListView>(nullptr);
    v->SetParent(Host);
    v->SetBounds(0, 0, W, MinH);
    v->SetViewStyle(Style);
    v->HandleNeeded();
    v->SetPath(Folder);
    const DWORD size = ListView_ApproximateViewRect(v->Handle(), W, MinH, -1);
    return std::max(MinH, static_cast<int>(HIWORD(size)));
}

std::vector<TGalleryItem> ShellFamily(TWinControl* Host) {
    const std::wstring folder = ShellGalleryFolder();
    std::vector<TGalleryItem> items;
    const struct {
        const wchar_t* State;
        TViewStyle Style;
        bool Open;
    } kinds[] = {{L"список + папки", vsList, false},
                 {L"отчёт", vsReport, false},
                 {L"значки", vsIcon, false},
                 {L"папки открыты", vsList, true}};
    for (const auto& k : kinds) {
        TGalleryItem it;
        it.State = k.State;
        it.Class = L"TbsSkinFileListView";
        it.Entry = L"listview";
        it.W = 210;
        const int listH = FittedListHeight(Host, folder, k.Style, 210, 120);
        it.H = k.Open ? 22 + 150 : 22 + 4 + listH;
        const TViewStyle style = k.Style;
        const bool open = k.Open;
        it.Make = [Host, folder, style, listH](TComponent* Owner, TbsSkinData* Data) -> TControl* {
            auto* combo = new TbsSkinShellComboBox(Owner);
            combo->SetParent(Host);
            combo->SetBounds(0, 0, 210, 22);
            auto* v = new TbsSkinFileListView(Owner);
            v->SetParent(Host);
            v->SetBounds(0, 26, 210, listH);
            v->SetViewStyle(style);
            if (Data) {
                combo->SetSkinData(Data);
                v->SetSkinData(Data);
            }
            combo->HandleNeeded();
            v->HandleNeeded();
            v->SetComboBox(combo);
            v->SetPath(folder);
            v->SetItemIndex(1);
            if (style == vsReport) {
                // Room for the name and the size in the narrow cell.
                v->Columns()->Items(0)->SetWidth(120);
                if (v->Columns()->Count() > 1)
                    v->Columns()->Items(1)->SetWidth(70);
            }
            return v;
        };
        it.Index = [](TControl* C) { return static_cast<TbsSkinFileListView*>(C)->SkinIndex(); };
        it.Paint = [open](TControl* C, HDC DC, int X, int Y) {
            auto* v = static_cast<TbsSkinFileListView*>(C);
            TbsCustomShellComboBox* c = v->ShellComboBox();
            if (!open)
                PaintView(v, DC, X, Y + 26);
            if (!c)
                return;
            c->PaintTo(DC, X, Y);
            if (!open)
                return;
            TbsPopupListBox* l = c->ListBox();
            l->HandleNeeded();
            l->SetSkinDataName(c->SkinIndex() != -1 ? L"listbox" : L"");
            l->SetWidth(c->Width());
            l->SetRowCount(std::min(c->Items()->Count(), 8));
            l->ChangeSkinData();
            l->SetItemIndex(c->ItemIndex());
            l->SetTopIndex(std::max(0, c->ItemIndex() - 7));
            PaintListBox(l, DC, X, Y + c->Height());
        };
        items.push_back(it);
    }
    // The tree over the same folder, linked with a box above it and a list below it: all three show the folder
    // selected in the tree.
    TGalleryItem tree;
    tree.State = L"дерево + список";
    tree.Class = L"TbsCustomShellTreeView";
    tree.Entry = L"treeview";
    tree.W = 210;
    tree.H = 22 + 4 + 110 + 4 + 90;
    tree.Make = [Host, folder](TComponent* Owner, TbsSkinData* Data) -> TControl* {
        auto* combo = new TbsSkinShellComboBox(Owner);
        combo->SetParent(Host);
        combo->SetBounds(0, 0, 210, 22);
        auto* t = new TbsCustomShellTreeView(Owner);
        t->SetParent(Host);
        t->SetBounds(0, 26, 210, 110);
        t->SetDrawSkin(true);
        auto* v = new TbsSkinFileListView(Owner);
        v->SetParent(Host);
        v->SetBounds(0, 140, 210, 90);
        v->SetViewStyle(vsList);
        if (Data) {
            combo->SetSkinData(Data);
            t->SetSkinData(Data);
            v->SetSkinData(Data);
        }
        combo->HandleNeeded();
        v->HandleNeeded();
        t->SetRoot(folder);
        t->HandleNeeded();
        t->SetListView(v);
        t->SetComboBox(combo);
        t->SetPath(folder + L"\\Папка с письмами\\Входящие");
        t->SetPath(folder);
        v->SetItemIndex(1);
        return t;
    };
    tree.Index = [](TControl* C) { return static_cast<TbsCustomShellTreeView*>(C)->SkinIndex(); };
    tree.Paint = [](TControl* C, HDC DC, int X, int Y) {
        auto* t = static_cast<TbsCustomShellTreeView*>(C);
        if (TbsCustomShellComboBox* c = t->ShellComboBox())
            c->PaintTo(DC, X, Y);
        SaveDC(DC);
        SetViewportOrgEx(DC, X, Y + 26, nullptr);
        IntersectClipRect(DC, 0, 0, t->Width(), t->Height());
        SendMessageW(t->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(DC), PRF_CLIENT | PRF_ERASEBKGND);
        RestoreDC(DC, -1);
        if (TbsCustomShellListView* v = t->ShellListView())
            PaintView(v, DC, X, Y + 140);
    };
    items.push_back(tree);
    return items;
}

}  // namespace

int Gallery(const std::wstring& family, const std::wstring& file) {
    if (family == L"mdi")
        return MDIGallery(file);
    if (family == L"dialogs")
        return DialogGallery(file);
    if (family == L"opendialogs")
        return OpenDialogGallery(file);
    // The shell views need the shell layer for as long as they live.
    std::unique_ptr<TbsShellUnit> shellUnit;
    if (family == L"shell")
        shellUnit = std::make_unique<TbsShellUnit>();
    auto owner = std::make_unique<TComponent>(nullptr);
    auto images = GalleryImages();
    std::vector<TGalleryItem> items;
    // The flat check boxes' parent: hidden, in the column's button-face colour.
    auto boxParent = std::make_unique<TForm>(nullptr);
    boxParent->SetBounds(0, 0, 400, 100);
    if (family == L"labels")
        items = LabelsFamily(images.get());
    else if (family == L"edits")
        items = EditsFamily(images.get(), boxParent.get());
    else if (family == L"panels")
        items = PanelsFamily(images.get());
    else if (family == L"buttons")
        items = ButtonsFamily(images.get(), boxParent.get());
    else if (family == L"views")
        items = ViewsFamily(boxParent.get(), images.get());
    else if (family == L"bars")
        items = BarsFamily(images.get(), boxParent.get());
    else if (family == L"spins")
        items = SpinsFamily();
    else if (family == L"tabs")
        items = TabsFamily(boxParent.get(), images.get());
    else if (family == L"lists")
        items = ListsFamily(images.get(), boxParent.get());
    else if (family == L"pickers")
        items = PickersFamily(boxParent.get());
    else if (family == L"shell")
        items = ShellFamily(boxParent.get());
    else if (family == L"ribbon")
        items = RibbonFamily(images.get());
    else
        return 2;
    auto list = std::make_unique<TbsCompressedSkinList>(nullptr);
    LoadNotifierSkinList(*list);
    const int cols = static_cast<int>(std::size(kSkins));
    int height = kColHead + 10;
    for (const TGalleryItem& it : items)
        height += std::max(kCellH, it.H + 12);
    // A column is as wide as its widest control needs.
    int cellW = kCellW;
    for (const TGalleryItem& it : items)
        cellW = std::max(cellW, it.W + 24);
    TBitmap page(kRowHead + cols * cellW, height, pf32bit);
    HDC dc = page.Canvas()->Handle();
    HBRUSH backdrop = CreateSolidBrush(RGB(0x8C, 0x82, 0x78));
    RECT all{0, 0, page.Width(), page.Height()};
    FillRect(dc, &all, backdrop);
    DeleteObject(backdrop);
    HFONT font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    int failed = 0;
    for (int col = 0; col < cols; ++col) {
        const int skin = kSkins[col];
        std::unique_ptr<TbsSkinData> data;
        std::wstring title = L"встроенный вид", printed = L"built-in";
        TColor face = clBtnFace;
        if (skin >= 0) {
            data = std::make_unique<TbsSkinData>(nullptr);
            data->SetSkinIndex(skin);
            data->SetSkinList(list.get());
            title = std::to_wstring(skin) + L" " + data->SkinName;
            printed = L"skin " + title;
            face = static_cast<TColor>(data->SkinColors()->cBtnFace);
        }
        boxParent->SetColor(face);
        const int x = kRowHead + col * cellW;
        int y = kColHead;
        HBRUSH brush = CreateSolidBrush(ColorToRGB(face) & 0xFFFFFF);
        RECT column{x + 4, y, x + cellW - 4, height - 4};
        FillRect(dc, &column, brush);
        DeleteObject(brush);
        HGDIOBJ oldFont = SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 255, 255));
        Text(dc, x, 3, cellW, title, DT_CENTER);
        SelectObject(dc, oldFont);
        std::vector<std::wstring> reported;
        for (const TGalleryItem& it : items) {
            TControl* c = it.Make(owner.get(), data.get());
            const int rowH = std::max(kCellH, it.H + 12);
            it.Paint(c, dc, x + 12, y + (rowH - it.H) / 2);
            if (col == 0) {
                oldFont = SelectObject(dc, font);
                SetTextColor(dc, RGB(255, 255, 255));
                Text(dc, 6, y + (rowH - 18) / 2, kRowHead - 10, it.State, DT_LEFT);
                SelectObject(dc, oldFont);
            }
            const std::wstring key = it.Class + L" " + it.Entry;
            if (std::find(reported.begin(), reported.end(), key) == reported.end()) {
                reported.push_back(key);
                const bool found = it.Index(c) != -1;
                const bool has = data && data->GetControlIndex(it.Entry) != -1;
                failed += has && !found;
                std::printf("%-30ls %-20ls %-10ls %s\n", printed.c_str(), it.Class.c_str(), it.Entry.c_str(),
                            !data ? "no skin" : found ? "found" : has ? "MISSED" : "not in the skin");
            }
            delete c;
            y += rowH;
        }
    }
    DeleteObject(font);
    GdiFlush();
    std::vector<std::uint32_t> px(static_cast<size_t>(page.Width()) * page.Height());
    for (int y = 0; y < page.Height(); ++y) {
        const auto* row = static_cast<const std::uint32_t*>(page.ScanLine(y));
        for (int x = 0; x < page.Width(); ++x)
            px[static_cast<size_t>(y) * page.Width() + x] = row[x] | 0xFF000000u;
    }
    std::ofstream out(file.c_str(), std::ios::binary);
    out << EncodePng(px.data(), page.Width(), page.Height());
    if (!out) {
        std::fprintf(stderr, "cannot write %ls\n", file.c_str());
        return 1;
    }
    std::printf("%zu controls in %d looks, %d missed entries\n", items.size(), cols, failed);
    return failed ? 1 : 0;
}
