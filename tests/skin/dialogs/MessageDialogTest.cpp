// The message box and the password dialog on real windows: found by caption and Name while modal, driven with
// button clicks and keys, measured against GDI, and captured.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "classlib/ImgList.h"
#include "skin/core/ResourceStrings.h"
#include "skin/core/SkinData.h"
#include "skin/dialogs/PasswordDialog.h"
#include "skin/dialogs/SkinMessage.h"
#include "tests/skin/dialogs/DialogTestUtil.h"

namespace {

const std::wstring kCaption = L"Внимание";
const std::wstring kDeleteText = L"Вы действительно хотите удалить E-mail: ivan@mail.ru ?";

// Two 64 x 64 pictures of plain colours: 0 red, 1 green.
std::unique_ptr<TImageList> Pictures() {
    auto list = std::make_unique<TImageList>(nullptr);
    list->SetSize(64, 64);
    for (TColor c : {TColor(RGB(220, 30, 30)), TColor(RGB(30, 180, 60))}) {
        TBitmap bmp(64, 64, pf24bit);
        bmp.Canvas()->Brush()->SetColor(c);
        bmp.Canvas()->FillRect(TRect{0, 0, 64, 64});
        list->Add(&bmp, nullptr);
    }
    return list;
}

// A skin container carrying only resource strings (the notifier's Russian texts for the boxes).
struct RussianTexts {
    RussianTexts() : data(new TbsSkinData(nullptr)), strings(new TbsResourceStrData(nullptr)) {
        TStringList lines;
        for (const wchar_t* l : {L"MSG_BTN_YES=Да", L"MSG_BTN_NO=Нет", L"MSG_BTN_OK=ОК", L"MSG_BTN_CANCEL=Отмена",
                                 L"MSG_CAP_CONFIRM=Подтверждение", L"MSG_CAP_SHOWFLAG=Больше не показывать"})
            lines.Add(l);
        strings->SetResStrs(&lines);
        data->SetResourceStrData(strings.get());
    }
    std::unique_ptr<TbsSkinData> data;
    std::unique_ptr<TbsResourceStrData> strings;
};

// GDI's own measure of a one-line text in the box's default font.
SIZE MeasureTahoma13(const std::wstring& text) {
    HFONT f = CreateFontW(13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, f);
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(f);
    return SIZE{r.right, r.bottom};
}

bool Overlap(const RECT& a, const RECT& b) {
    RECT i;
    return IntersectRect(&i, &a, &b) != FALSE;
}

struct BoxLook {
    bool ran = false;
    std::wstring caption, message;
    std::vector<std::wstring> buttons;
    bool hasImage = false;
    COLORREF imageCentre = 0;
    RECT client{}, text{}, image{};
    std::vector<RECT> buttonRects;
};

// Reads what a box shows, for the button names given.
BoxLook Look(HWND w, const std::vector<std::wstring>& names) {
    BoxLook l;
    l.ran = true;
    l.caption = TextOf(w);
    GetClientRect(w, &l.client);
    HWND msg = FindByName(w, L"Message");
    if (msg) {
        l.message = TextOf(msg);
        l.text = RectIn(msg, w);
    }
    for (const auto& n : names) {
        HWND b = FindByName(w, n);
        l.buttons.push_back(b ? TextOf(b) : L"<none>");
        if (b)
            l.buttonRects.push_back(RectIn(b, w));
    }
    if (HWND img = FindByName(w, L"Image")) {
        l.hasImage = true;
        l.image = RectIn(img, w);
        RECT s{};
        GetWindowRect(img, &s);
        HDC dc = GetDC(nullptr);
        l.imageCentre = GetPixel(dc, (s.left + s.right) / 2, (s.top + s.bottom) / 2) & 0xFFFFFF;
        ReleaseDC(nullptr, dc);
    }
    return l;
}

void ExpectTidy(const BoxLook& l) {
    // Everything inside the client area, nothing over anything else, the button row centred.
    auto inside = [&](const RECT& r) {
        return r.left >= 8 && r.top >= 8 && r.right <= l.client.right - 8 && r.bottom <= l.client.bottom - 8;
    };
    EXPECT_TRUE(inside(l.text));
    if (l.hasImage) {
        EXPECT_TRUE(inside(l.image));
        EXPECT_FALSE(Overlap(l.image, l.text));
    }
    ASSERT_FALSE(l.buttonRects.empty());
    for (size_t i = 0; i < l.buttonRects.size(); ++i) {
        EXPECT_TRUE(inside(l.buttonRects[i]));
        EXPECT_GE(l.buttonRects[i].top, std::max(l.text.bottom, l.hasImage ? l.image.bottom : 0) + 8);
        if (i > 0) {
            EXPECT_EQ(l.buttonRects[i].top, l.buttonRects[0].top);
        }
    }
    const int leftGap = l.buttonRects.front().left, rightGap = l.client.right - l.buttonRects.back().right;
    EXPECT_LE(std::abs(leftGap - rightGap), 1);
}

TEST(SkinMessage, CustomBoxShowsCaptionTextPictureAndReturnsTheButtonPressed) {
    auto pictures = Pictures();
    TbsSkinMessage msg(nullptr);
    BoxLook look;
    ModalDriver d(kCaption, [&](HWND w) {
        look = Look(w, {L"Yes", L"No", L"OK"});
        Shot(w, L"message_yes_no_cyrillic");
        Click(w, L"No");
    });
    const int r = msg.CustomMessageDlg(kDeleteText, kCaption, pictures.get(), 1, {mbYes, mbNo}, 0);
    ASSERT_TRUE(look.ran);
    EXPECT_EQ(r, mrDlgNo);
    EXPECT_EQ(look.caption, kCaption);
    EXPECT_EQ(look.message, kDeleteText);
    EXPECT_EQ(look.buttons, (std::vector<std::wstring>{L"&Yes", L"&No", L"<none>"}));
    ASSERT_TRUE(look.hasImage);
    EXPECT_EQ(look.imageCentre, RGB(30, 180, 60));
    EXPECT_EQ(look.image.right - look.image.left, 64);
    // The text's window holds the whole one-line text as GDI measures it.
    const SIZE t = MeasureTahoma13(kDeleteText);
    EXPECT_GE(look.text.right - look.text.left, t.cx);
    EXPECT_GE(look.text.bottom - look.text.top, t.cy);
    ExpectTidy(look);
}

TEST(SkinMessage, EnterEscAndClicksGiveTheTableResults) {
    struct Case {
        TMsgDlgButtons buttons;
        const wchar_t* click;  // nullptr: a key
        WORD key;
        int result;
    };
    const Case cases[] = {
        {{mbOK}, nullptr, VK_RETURN, mrDlgOk},
        {{mbOK}, nullptr, VK_ESCAPE, mrDlgOk},
        {{mbYes, mbNo}, nullptr, VK_RETURN, mrDlgYes},
        {{mbYes, mbNo}, nullptr, VK_ESCAPE, mrDlgNo},
        {{mbOK, mbCancel}, nullptr, VK_ESCAPE, mrDlgCancel},
        {{mbYes, mbNo, mbCancel}, nullptr, VK_ESCAPE, mrDlgCancel},
        {{mbYes, mbNo}, L"Yes", 0, mrDlgYes},
        {{mbAbort, mbRetry, mbIgnore}, L"Ignore", 0, mrDlgIgnore},
        {{mbAll, mbNoToAll, mbYesToAll}, L"NoToAll", 0, mrDlgNoToAll},
        {{mbClose}, L"Close", 0, mrDlgClose},
    };
    auto pictures = Pictures();
    TbsSkinMessage msg(nullptr);
    int n = 0;
    for (const Case& c : cases) {
        const std::wstring caption = L"Case " + std::to_wstring(++n);
        ModalDriver d(caption, [&](HWND w) {
            if (c.click) {
                Click(w, c.click);
            } else {
                PostMessageW(GetFocus(), WM_KEYDOWN, c.key, 0);
                PostMessageW(GetFocus(), WM_KEYUP, c.key, 0);
            }
        });
        EXPECT_EQ(msg.CustomMessageDlg(L"Text", caption, pictures.get(), 0, c.buttons, 0), c.result) << n;
        EXPECT_TRUE(d.ran()) << n;
    }
}

TEST(SkinMessage, TextsComeFromTheControlSkinsResourceStrings) {
    RussianTexts ru;
    TbsSkinMessage msg(nullptr);
    msg.SetCtrlSkinData(ru.data.get());
    BoxLook look;
    ModalDriver d(L"Подтверждение", [&](HWND w) {
        look = Look(w, {L"Yes", L"No"});
        Shot(w, L"message_confirm_russian");
        Click(w, L"Yes");
    });
    EXPECT_EQ(msg.MessageDlg(kDeleteText, mtConfirmation, {mbYes, mbNo}, 0), mrDlgYes);
    ASSERT_TRUE(look.ran);
    EXPECT_EQ(look.buttons, (std::vector<std::wstring>{L"Да", L"Нет"}));
    EXPECT_TRUE(look.hasImage);  // the question icon
    ExpectTidy(look);
    // Without the table: the English defaults; the custom type has the application's title and no picture.
    EXPECT_EQ(GetMsgCaption(mtConfirmation, nullptr), L"Confirm");
    EXPECT_EQ(GetMsgCaption(mtWarning, ru.data.get()), L"Warning");  // a key the table lacks
    EXPECT_EQ(GetButtonCaption(mbNoToAll, nullptr), L"N&oToAll");
    Application->SetTitle(L"Trelm Mail");
    ModalDriver d2(L"Trelm Mail", [&](HWND w) {
        look = Look(w, {L"OK"});
        Click(w, L"OK");
    });
    EXPECT_EQ(msg.MessageDlg(L"Plain", mtCustom, {mbOK}, 0), mrDlgOk);
    EXPECT_TRUE(look.ran);
    EXPECT_FALSE(look.hasImage);
}

TEST(SkinMessage, LongCaptionsWidenTheirButtonsAndLongTextWraps) {
    RussianTexts ru;
    TStringList lines;
    lines.Add(L"MSG_BTN_CANCEL=Отменить всё и вернуться назад");
    ru.strings->SetResStrs(&lines);
    TbsSkinMessage msg(nullptr);
    msg.SetCtrlSkinData(ru.data.get());
    std::wstring longText;
    for (int i = 0; i < 12; ++i)
        longText += L"Почтовый ящик ivan@mail.ru недоступен, проверьте настройки сервера. ";
    BoxLook look;
    ModalDriver d(L"Длинный", [&](HWND w) {
        look = Look(w, {L"OK", L"Cancel"});
        Shot(w, L"message_long_wrapped");
        Click(w, L"Cancel");
    });
    EXPECT_EQ(msg.MessageDlg2(longText, L"Длинный", mtWarning, {mbOK, mbCancel}, 0), mrDlgCancel);
    ASSERT_TRUE(look.ran);
    const RECT& cancel = look.buttonRects[1];
    EXPECT_GE(cancel.right - cancel.left, MeasureTahoma13(L"Отменить всё и вернуться назад").cx + 8);
    EXPECT_EQ(look.buttonRects[0].right - look.buttonRects[0].left, 70);
    // Several lines, no wider than half the work area.
    RECT wa{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &wa, 0);
    EXPECT_LE(look.text.right - look.text.left, std::max(320L, (wa.right - wa.left) / 2));
    EXPECT_GE(look.text.bottom - look.text.top, 4 * MeasureTahoma13(L"Пп").cy);
    EXPECT_EQ(look.message, longText);
    ExpectTidy(look);
}

TEST(SkinMessage, FourShortButtonsSetTheWidth) {
    TbsSkinMessage msg(nullptr);
    BoxLook look;
    ModalDriver d(L"Four", [&](HWND w) {
        look = Look(w, {L"Yes", L"No", L"OK", L"Cancel"});
        Click(w, L"OK");
    });
    EXPECT_EQ(msg.MessageDlg2(L"x", L"Four", mtInformation, {mbYes, mbNo, mbOK, mbCancel}, 0), mrDlgOk);
    ASSERT_TRUE(look.ran);
    EXPECT_EQ(look.client.right, 4 * 70 + 3 * 10 + 40);
    ExpectTidy(look);
}

TEST(SkinMessage, ShowAgainCheckBoxReadsBack) {
    RussianTexts ru;
    TbsSkinMessage msg(nullptr);
    msg.SetCtrlSkinData(ru.data.get());
    msg.ShowAgainFlag = true;
    msg.ShowAgainFlagValue = false;
    bool startedChecked = false;
    std::wstring text;
    ModalDriver d(L"Флаг", [&](HWND w) {
        HWND cb = FindByName(w, L"checkbox");
        startedChecked = cb && SendMessageW(cb, BM_GETCHECK, 0, 0) == BST_CHECKED;
        text = cb ? TextOf(cb) : L"";
        Shot(w, L"message_show_again");
        SendMessageW(cb, BM_CLICK, 0, 0);
        Click(w, L"OK");
    });
    EXPECT_EQ(msg.MessageDlg2(kDeleteText, L"Флаг", mtInformation, {mbOK}, 0), mrDlgOk);
    EXPECT_TRUE(startedChecked);
    EXPECT_EQ(text, L"Больше не показывать");
    EXPECT_TRUE(msg.ShowAgainFlagValue);
}

TEST(SkinMessage, PositionVariantAsksTheOwnerAndBadIndexShowsNoPicture) {
    auto pictures = Pictures();
    TbsSkinMessage msg(nullptr);
    msg.OnSetShowPos = [](int& x, int& y, int w, int h) {
        EXPECT_GT(w, 0);
        EXPECT_GT(h, 0);
        x += 10;
        y += 20;
    };
    RECT r{};
    bool image = true;
    ModalDriver d(L"Pos", [&](HWND w) {
        GetWindowRect(w, &r);
        image = FindByName(w, L"Image") != nullptr;
        Click(w, L"OK");
    });
    EXPECT_EQ(msg.CustomMessageDlgPos(L"x", L"Pos", pictures.get(), 5, {mbOK}, 0, 100, 120), mrDlgOk);
    EXPECT_EQ(r.left, 110);
    EXPECT_EQ(r.top, 140);
    EXPECT_FALSE(image);
}

TEST(SkinMessage, ContainerReferencesClearWhenTheContainersGo) {
    TbsSkinMessage msg(nullptr);
    auto* a = new TbsSkinData(nullptr);
    auto* b = new TbsSkinData(nullptr);
    msg.SetSkinData(a);
    msg.SetCtrlSkinData(a);
    msg.SetCtrlSkinData(b);
    delete a;
    EXPECT_EQ(msg.SkinData(), nullptr);
    EXPECT_EQ(msg.CtrlSkinData(), b);
    delete b;
    EXPECT_EQ(msg.CtrlSkinData(), nullptr);
}

// ---- The password dialog --------------------------------------------------------------------------------------------

void TypeInto(HWND edit, const std::wstring& text) {
    for (wchar_t ch : text)
        SendMessageW(edit, WM_CHAR, ch, 0);
}

TEST(PasswordDialog, ReturnsTheTypedPasswordOnOk) {
    TbsSkinPasswordDialog dlg(nullptr);
    dlg.Caption = L"Введите пароль";
    dlg.PasswordCaption = L"Пароль:";
    dlg.Password = L"old";
    std::wstring label;
    DWORD selStart = 1, selEnd = 0;
    wchar_t mask = 0;
    LRESULT limit = 0;
    RECT client{}, edit{}, ok{}, cancel{}, key{};
    ModalDriver d(L"Введите пароль", [&](HWND w) {
        HWND e = FindByName(w, L"PasswordEdit");
        label = TextOf(FindByName(w, L"PasswordLabel"));
        SendMessageW(e, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart), reinterpret_cast<LPARAM>(&selEnd));
        mask = static_cast<wchar_t>(SendMessageW(e, EM_GETPASSWORDCHAR, 0, 0));
        limit = SendMessageW(e, EM_GETLIMITTEXT, 0, 0);
        GetClientRect(w, &client);
        edit = RectIn(e, w);
        ok = RectIn(FindByName(w, L"OKButton"), w);
        cancel = RectIn(FindByName(w, L"CancelButton"), w);
        key = RectIn(FindByName(w, L"KeyImage"), w);
        TypeInto(e, L"Пароль 1 ");
        Shot(w, L"password");
        Click(w, L"OKButton");
    });
    EXPECT_TRUE(dlg.Execute());
    ASSERT_TRUE(d.ran());
    EXPECT_EQ(dlg.Password, L"Пароль 1 ");  // typed over the selected old text, trailing blank kept
    EXPECT_EQ(label, L"Пароль:");
    EXPECT_EQ(selStart, 0u);
    EXPECT_EQ(selEnd, 3u);
    EXPECT_EQ(mask, L'\x25CF');
    EXPECT_EQ(limit, 255);
    // Buttons below the edit, side by side, ending at the edit's right edge; the key left of everything.
    EXPECT_GE(ok.top, edit.bottom + 10);
    EXPECT_LE(ok.right, cancel.left);
    EXPECT_EQ(cancel.right, edit.right);
    EXPECT_LE(key.right, edit.left);
    EXPECT_LE(cancel.bottom, client.bottom - 8);
    EXPECT_LE(edit.right, client.right - 8);
}

TEST(PasswordDialog, CancelEscAndCloseLeaveThePassword) {
    enum How { kCancel, kEsc, kClose };
    for (How how : {kCancel, kEsc, kClose}) {
        TbsSkinPasswordDialog dlg(nullptr);
        dlg.Password = L"keep";
        ModalDriver d(L"Password", [&](HWND w) {
            HWND e = FindByName(w, L"PasswordEdit");
            TypeInto(e, L"new");
            if (how == kCancel) {
                Click(w, L"CancelButton");
            } else if (how == kEsc) {
                PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
                PostMessageW(GetFocus(), WM_KEYUP, VK_ESCAPE, 0);
            } else {
                PostMessageW(w, WM_CLOSE, 0, 0);
            }
        });
        EXPECT_FALSE(dlg.Execute()) << how;
        EXPECT_TRUE(d.ran()) << how;
        EXPECT_EQ(dlg.Password, L"keep") << how;
    }
}

TEST(PasswordDialog, EnterConfirmsAndLoginModeReturnsBoth) {
    RussianTexts ru;
    TbsSkinPasswordDialog dlg(nullptr);
    dlg.SetCtrlSkinData(ru.data.get());
    dlg.LoginMode = true;
    dlg.LoginCaption = L"Имя:";
    dlg.PasswordKind = pkRect;
    std::wstring okText, cancelText;
    ModalDriver d(L"Password", [&](HWND w) {
        okText = TextOf(FindByName(w, L"OKButton"));
        cancelText = TextOf(FindByName(w, L"CancelButton"));
        TypeInto(FindByName(w, L"LoginEdit"), L"ivan");
        TypeInto(FindByName(w, L"PasswordEdit"), L"x");
        Shot(w, L"password_login");
        HWND e = FindByName(w, L"PasswordEdit");
        PostMessageW(e, WM_KEYDOWN, VK_RETURN, 0);
        PostMessageW(e, WM_KEYUP, VK_RETURN, 0);
    });
    EXPECT_TRUE(dlg.Execute());
    EXPECT_EQ(dlg.Login, L"ivan");
    EXPECT_EQ(dlg.Password, L"x");
    EXPECT_EQ(okText, L"ОК");
    EXPECT_EQ(cancelText, L"Отмена");
    EXPECT_EQ(PasswordKindChar(pkRect), L'\x25A0');
}

}  // namespace
