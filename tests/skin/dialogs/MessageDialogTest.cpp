// The message box and the password dialog on real windows: found by caption and Name while modal, driven with
// button clicks and keys, measured against GDI, and captured.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "classlib/ImgList.h"
#include "SkinTestPaths.h"
#include "skin/boxes/SkinEdit.h"
#include "skin/boxes/SkinPasswordEdit.h"
#include "skin/core/ResourceStrings.h"
#include "skin/core/SkinControlRecords.h"
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
    const Windowless msg = FindWindowless(w, L"Message");
    if (msg.found) {
        l.message = msg.text;
        l.text = msg.rect;
    }
    for (const auto& n : names) {
        HWND b = FindByName(w, n);
        l.buttons.push_back(b ? TextOf(b) : L"<none>");
        if (b)
            l.buttonRects.push_back(RectIn(b, w));
    }
    const Windowless img = FindWindowless(w, L"Image");
    if (img.found) {
        l.hasImage = true;
        l.image = img.rect;
        l.imageCentre = ClientPixel(w, (img.rect.left + img.rect.right) / 2, (img.rect.top + img.rect.bottom) / 2);
    }
    return l;
}

// The box's layout: the label at (50, 15); the buttons 70 wide, 80 apart, centred, 10 above the bottom, each as high
// as B; the picture at the left, level with the label's middle.
void ExpectLayout(const BoxLook& l, int B, bool typeIcon = false) {
    EXPECT_EQ(l.text.left, 50);
    EXPECT_EQ(l.text.top, 15);
    ASSERT_FALSE(l.buttonRects.empty());
    const int n = static_cast<int>(l.buttonRects.size()), W = n * 80 - 10;
    for (int i = 0; i < n; ++i) {
        const RECT& r = l.buttonRects[static_cast<size_t>(i)];
        EXPECT_EQ(r.left, (l.client.right - W) / 2 + 80 * i) << i;
        EXPECT_EQ(r.right - r.left, 70) << i;
        EXPECT_EQ(r.bottom - r.top, B) << i;
        EXPECT_EQ(r.top, l.client.bottom - B - 10) << i;
    }
    if (l.hasImage) {
        const int middle = l.text.top + (l.text.bottom - l.text.top) / 2 - 16;
        EXPECT_EQ(l.image.left, 5);
        EXPECT_EQ(l.image.top, typeIcon ? std::max(10, middle) : middle);
    }
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
    ASSERT_EQ(look.buttonRects.size(), 2u);
    EXPECT_LT(look.buttonRects[0].right, look.buttonRects[1].left);  // Yes left of No
    ASSERT_TRUE(look.hasImage);
    EXPECT_EQ(look.imageCentre, RGB(30, 180, 60));
    EXPECT_EQ(look.image.right - look.image.left, 64);
    EXPECT_EQ(look.image.bottom - look.image.top, 64);
    // The label is as wide and high as GDI measures the one-line text (and the skinned label's two pixels for the
    // last glyph's ink); the client is 50 + that width + 40 wide and 25 + its height + 50 high.
    const SIZE t = MeasureTahoma13(kDeleteText);
    const int labelW = look.text.right - look.text.left;
    EXPECT_GE(labelW, t.cx);
    EXPECT_LE(labelW, t.cx + 2);
    EXPECT_EQ(look.text.bottom - look.text.top, t.cy);
    EXPECT_EQ(look.client.right, 50 + labelW + 40);
    EXPECT_EQ(look.client.bottom, 25 + t.cy + 50);
    ExpectLayout(look, 25);
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
        {{mbYes, mbNo, mbOK, mbCancel}, nullptr, VK_RETURN, mrDlgOk},
        {{mbYes, mbNo, mbOK, mbCancel}, nullptr, VK_ESCAPE, mrDlgCancel},
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
    // The question icon: 32 x 32, drawn (not the box's background at its middle).
    ASSERT_TRUE(look.hasImage);
    EXPECT_EQ(look.image.right - look.image.left, 32);
    ExpectLayout(look, 25, true);
    // Without the table: the English defaults.
    EXPECT_EQ(GetMsgCaption(mtConfirmation, nullptr), L"Confirm");
    EXPECT_EQ(GetMsgCaption(mtWarning, ru.data.get()), L"Warning");  // a key the table lacks
    EXPECT_EQ(GetButtonCaption(mbNoToAll, nullptr), L"N&oToAll");
    // The confirmation type without resource strings: "Confirm" and the question icon; the custom type: the
    // application's title and no picture.
    TbsSkinMessage plain(nullptr);
    Application->SetTitle(L"Trelm Mail");
    const struct {
        TbsSkinMessage* box;
        const wchar_t* caption;
        TMsgDlgType type;
        bool image;
    } plainCases[] = {{&plain, L"Confirm", mtConfirmation, true}, {&msg, L"Trelm Mail", mtCustom, false}};
    for (const auto& c : plainCases) {
        BoxLook l;
        ModalDriver dc(c.caption, [&](HWND w) {
            l = Look(w, {L"OK"});
            Click(w, L"OK");
        });
        EXPECT_EQ(c.box->MessageDlg(L"Sure?", c.type, {mbOK}, 0), mrDlgOk) << c.type;
        EXPECT_TRUE(l.ran) << c.type;
        EXPECT_EQ(l.hasImage, c.image) << c.type;
    }
}

TEST(SkinMessage, LongTextSetsTheWidthButtonsKeepTheirsAndABareCrBreaksTheLine) {
    RussianTexts ru;
    TStringList lines;
    lines.Add(L"MSG_BTN_CANCEL=Отменить всё и вернуться назад");
    ru.strings->SetResStrs(&lines);
    TbsSkinMessage msg(nullptr);
    msg.SetCtrlSkinData(ru.data.get());
    const std::wstring longText = L"Почтовый ящик ivan@mail.ru недоступен, проверьте настройки сервера и пароль.";
    BoxLook look;
    ModalDriver d(L"Длинный", [&](HWND w) {
        look = Look(w, {L"OK", L"Cancel"});
        Shot(w, L"message_long");
        Click(w, L"Cancel");
    });
    EXPECT_EQ(msg.MessageDlg2(longText, L"Длинный", mtWarning, {mbOK, mbCancel}, 0), mrDlgCancel);
    ASSERT_TRUE(look.ran);
    const int labelW = look.text.right - look.text.left;
    EXPECT_GE(labelW, MeasureTahoma13(longText).cx);
    EXPECT_LE(labelW, MeasureTahoma13(longText).cx + 2);
    EXPECT_EQ(look.client.right, 50 + labelW + 40);
    EXPECT_EQ(look.message, longText);
    ExpectLayout(look, 25, true);

    // A bare CR (the language file's error, Setup's question) gives two lines, as wide as the longer one.
    const std::wstring first = L"Ошибка в файле языка:", second = L"строка 12 не прочитана, проверьте файл";
    ModalDriver d2(L"Две строки", [&](HWND w) {
        look = Look(w, {L"OK"});
        Shot(w, L"message_two_lines");
        Click(w, L"OK");
    });
    EXPECT_EQ(msg.MessageDlg2(first + L"\r" + second, L"Две строки", mtError, {mbOK}, 0), mrDlgOk);
    ASSERT_TRUE(look.ran);
    const SIZE one = MeasureTahoma13(first), two = MeasureTahoma13(second);
    EXPECT_EQ(look.text.bottom - look.text.top, one.cy + two.cy);
    EXPECT_GE(look.text.right - look.text.left, std::max(one.cx, two.cx));
    EXPECT_LE(look.text.right - look.text.left, std::max(one.cx, two.cx) + 2);
    EXPECT_EQ(look.client.bottom, 25 + one.cy + two.cy + 50);
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
    EXPECT_EQ(look.client.right, 4 * 80 - 10 + 40);
    ExpectLayout(look, 25, true);
}

TEST(SkinMessage, ShowAgainCheckBoxMakesTheBoxTallerAndReadsBack) {
    RussianTexts ru;
    TbsSkinMessage msg(nullptr);
    msg.SetCtrlSkinData(ru.data.get());
    RECT without{};
    ModalDriver d0(L"Без флага", [&](HWND w) {
        GetClientRect(w, &without);
        Click(w, L"OK");
    });
    EXPECT_EQ(msg.MessageDlg2(kDeleteText, L"Без флага", mtInformation, {mbOK}, 0), mrDlgOk);

    msg.ShowAgainFlag = true;
    msg.ShowAgainFlagValue = false;
    bool startedChecked = false;
    std::wstring text;
    RECT client{}, box{}, ok{};
    ModalDriver d(L"Флаг", [&](HWND w) {
        HWND cb = FindByName(w, L"checkbox");
        startedChecked = cb && SendMessageW(cb, BM_GETCHECK, 0, 0) == BST_CHECKED;
        text = cb ? TextOf(cb) : L"";
        GetClientRect(w, &client);
        box = RectIn(cb, w);
        ok = RectIn(FindByName(w, L"OK"), w);
        Shot(w, L"message_show_again");
        SendMessageW(cb, BM_CLICK, 0, 0);
        Click(w, L"OK");
    });
    EXPECT_EQ(msg.MessageDlg2(kDeleteText, L"Флаг", mtInformation, {mbOK}, 0), mrDlgOk);
    EXPECT_TRUE(startedChecked);
    EXPECT_EQ(text, L"Больше не показывать");
    EXPECT_TRUE(msg.ShowAgainFlagValue);  // unchecked: show it again
    EXPECT_EQ(client.bottom, without.bottom + 40);
    EXPECT_EQ(client.right, without.right);  // the text is wider than the check box needs
    // (5, ch - B - 50, T + 55, 30), T the caption's width in the default font.
    EXPECT_EQ(box.left, 5);
    EXPECT_EQ(box.top, client.bottom - 25 - 50);
    EXPECT_EQ(box.right - box.left, MeasureTahoma13(L"Больше не показывать").cx + 55);
    EXPECT_EQ(box.bottom - box.top, 30);
    EXPECT_LE(box.bottom, ok.top);

    // Checked on the way out: not to be shown again. The wide variant has no check box.
    msg.ShowAgainFlagValue = false;
    ModalDriver d2(L"Флаг", [&](HWND w) { Click(w, L"OK"); });
    EXPECT_EQ(msg.MessageDlg2(L"x", L"Флаг", mtInformation, {mbOK}, 0), mrDlgOk);
    EXPECT_FALSE(msg.ShowAgainFlagValue);
    std::unique_ptr<TbsMessageForm> wide(CreateWideMessageDialog(&msg, L"x", mtInformation, {mbOK}));
    EXPECT_EQ(wide->DisplayCheckBox, nullptr);
}

TEST(SkinMessage, FixtureButtonEntryGivesTheButtonsItsHeightAndLook) {
    TbsSkinData fixture(nullptr);
    fixture.LoadFromFile(skintest::FixtureFolder() + L"\\skin.ini");
    auto* entry = dynamic_cast<TbsDataSkinButtonControl*>(
        fixture.CtrlList[static_cast<size_t>(fixture.GetControlIndex(L"button"))].get());
    ASSERT_NE(entry, nullptr);
    const int B = entry->SkinRect.Height();
    ASSERT_NE(B, 25);
    const COLORREF face = RGB(30, 120, 60);  // the fixture's button client part (legend.txt)
    for (bool skinned : {true, false}) {
        TbsSkinMessage msg(nullptr);
        if (skinned)
            msg.SetCtrlSkinData(&fixture);
        BoxLook look;
        int faceNo = -1;
        ModalDriver d(L"Кнопки", [&](HWND w) {
            look = Look(w, {L"Yes", L"No"});
            HWND no = FindByName(w, L"No");
            RedrawWindow(no, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            faceNo = CountWindowColour(no, face);
            Shot(w, skinned ? L"message_fixture_buttons" : L"message_builtin_buttons");
            Click(w, L"No");
        });
        EXPECT_EQ(msg.MessageDlg2(L"Кнопки из скина", L"Кнопки", mtCustom, {mbYes, mbNo}, 0), mrDlgNo);
        ASSERT_TRUE(look.ran);
        ExpectLayout(look, skinned ? B : 25);
        if (skinned)
            EXPECT_GT(faceNo, 70 * B / 4) << "the button is drawn from the fixture's picture";
        else
            EXPECT_EQ(faceNo, 0);
    }
}

TEST(SkinMessage, TheFramesLimitsHoldTheWidth) {
    TbsSkinData frame(nullptr);
    frame.LoadFromFile(Widen(TRELM_SKINSET) + L"\\81_Trelm_Blue\\skin.ini");
    TbsSkinMessage msg(nullptr);
    msg.SetSkinData(&frame);
    std::wstring huge;
    for (int i = 0; i < 60; ++i)
        huge += L"очень длинное сообщение ";
    std::unique_ptr<TbsMessageForm> wide(CreateMessageDialog(&msg, huge, mtWarning, {mbOK}));
    ASSERT_NE(wide->SKF, nullptr);
    EXPECT_GT(50 + MeasureTahoma13(huge).cx + 40, wide->SKF->GetMaxWidth());
    EXPECT_EQ(wide->Width(), wide->SKF->GetMaxWidth());
    std::unique_ptr<TbsMessageForm> narrow(CreateMessageDialog(&msg, L"", mtCustom, {}));
    EXPECT_GE(narrow->Width(), narrow->SKF->GetMinWidth());
    EXPECT_LE(narrow->Width(), narrow->SKF->GetMaxWidth());
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
        image = FindWindowless(w, L"Image").found;
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

// The password edit keeps its text from other processes; inside this one the control tells its selection.
TbsSkinPasswordEdit* PasswordEditOf(HWND w) {
    return dynamic_cast<TbsSkinPasswordEdit*>(FindControl(FindByName(w, L"PasswordEdit")));
}

TEST(PasswordDialog, ReturnsTheTypedPasswordOnOkWithThePresetSelected) {
    TbsSkinPasswordDialog dlg(nullptr);
    dlg.Caption = L"Введите пароль";
    dlg.PasswordCaption = L"Пароль:";
    dlg.Password = L"old";
    Windowless label;
    int selStart = -1, selLength = -1, maxLength = 0;
    TbsPasswordKind kind = pkRect;
    RECT client{}, edit{}, ok{}, cancel{};
    Windowless key;
    ModalDriver d(L"Введите пароль", [&](HWND w) {
        HWND e = FindByName(w, L"PasswordEdit");
        label = FindWindowless(w, L"PasswordLabel");
        if (TbsSkinPasswordEdit* pe = PasswordEditOf(w)) {
            selStart = pe->SelStart();
            selLength = pe->SelLength();
            maxLength = pe->MaxLength();
            kind = pe->PasswordKind();
        }
        GetClientRect(w, &client);
        edit = RectIn(e, w);
        ok = RectIn(FindByName(w, L"OKButton"), w);
        cancel = RectIn(FindByName(w, L"CancelButton"), w);
        key = FindWindowless(w, L"KeyImage");
        TypeInto(e, L"abc");
        Shot(w, L"password");
        Click(w, L"OKButton");
    });
    EXPECT_TRUE(dlg.Execute());
    ASSERT_TRUE(d.ran());
    EXPECT_EQ(dlg.Password, L"abc");  // typed over the selected preset
    EXPECT_EQ(label.text, L"Пароль:");
    EXPECT_EQ(selStart, 0);
    EXPECT_EQ(selLength, 3);
    EXPECT_EQ(maxLength, 255);
    EXPECT_EQ(kind, pkRoundRect);
    // The label's left edge is the edit's; the buttons 15 below the edit, OK left of Cancel and as wide; the client
    // ends 13 below them; the key picture left of everything, centred vertically.
    EXPECT_EQ(label.rect.left, edit.left);
    EXPECT_EQ(ok.top, edit.bottom + 15);
    EXPECT_EQ(cancel.top, ok.top);
    EXPECT_LT(ok.right, cancel.left);
    EXPECT_EQ(ok.right - ok.left, cancel.right - cancel.left);
    EXPECT_EQ(client.bottom, cancel.bottom + 13);
    ASSERT_TRUE(key.found);
    EXPECT_LE(key.rect.right, edit.left);
    EXPECT_LE(std::abs((key.rect.top + key.rect.bottom) - client.bottom), 1);
    EXPECT_LE(edit.right, client.right - 8);
    EXPECT_LE(cancel.right, edit.right);
}

TEST(PasswordDialog, CancelEscAndCloseKeepPasswordAndLogin) {
    enum How { kCancel, kEsc, kClose };
    for (How how : {kCancel, kEsc, kClose}) {
        TbsSkinPasswordDialog dlg(nullptr);
        dlg.LoginMode = true;
        dlg.Password = L"keep";
        dlg.Login = L"user";
        ModalDriver d(L"Password", [&](HWND w) {
            TypeInto(FindByName(w, L"LoginEdit"), L"other");
            HWND e = FindByName(w, L"PasswordEdit");
            TypeInto(e, L"new");
            if (how == kCancel) {
                Click(w, L"CancelButton");
            } else if (how == kEsc) {
                PostMessageW(e, WM_KEYDOWN, VK_ESCAPE, 0);
                PostMessageW(e, WM_KEYUP, VK_ESCAPE, 0);
            } else {
                PostMessageW(w, WM_CLOSE, 0, 0);
            }
        });
        EXPECT_FALSE(dlg.Execute()) << how;
        EXPECT_TRUE(d.ran()) << how;
        EXPECT_EQ(dlg.Password, L"keep") << how;
        EXPECT_EQ(dlg.Login, L"user") << how;
    }
}

TEST(PasswordDialog, ThreeHundredTypedCharactersKeep255) {
    TbsSkinPasswordDialog dlg(nullptr);
    dlg.LoginMode = true;
    ModalDriver d(L"Password", [&](HWND w) {
        TypeInto(FindByName(w, L"LoginEdit"), std::wstring(300, L'л'));
        TypeInto(FindByName(w, L"PasswordEdit"), std::wstring(300, L'п'));
        Click(w, L"OKButton");
    });
    EXPECT_TRUE(dlg.Execute());
    EXPECT_EQ(dlg.Password, std::wstring(255, L'п'));
    EXPECT_EQ(dlg.Login, std::wstring(255, L'л'));
}

TEST(PasswordDialog, EnterConfirmsAndLoginModeReturnsBoth) {
    RussianTexts ru;
    TbsSkinPasswordDialog dlg(nullptr);
    dlg.SetCtrlSkinData(ru.data.get());
    dlg.LoginMode = true;
    dlg.LoginCaption = L"Имя:";
    dlg.Login = L"preset";
    dlg.PasswordKind = pkRect;
    std::wstring okText, cancelText, loginText;
    RECT login{}, password{};
    Windowless loginLabel, passwordLabel;
    TbsPasswordKind kind = pkRoundRect;
    ModalDriver d(L"Password", [&](HWND w) {
        okText = TextOf(FindByName(w, L"OKButton"));
        cancelText = TextOf(FindByName(w, L"CancelButton"));
        HWND le = FindByName(w, L"LoginEdit");
        loginText = TextOf(le);
        login = RectIn(le, w);
        password = RectIn(FindByName(w, L"PasswordEdit"), w);
        loginLabel = FindWindowless(w, L"LoginLabel");
        passwordLabel = FindWindowless(w, L"PasswordLabel");
        if (TbsSkinPasswordEdit* pe = PasswordEditOf(w))
            kind = pe->PasswordKind();
        TypeInto(le, L"ivan");  // over the selected preset
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
    EXPECT_EQ(loginText, L"preset");
    EXPECT_EQ(kind, pkRect);
    // Label, login edit, label, password edit from the top, 5 apart.
    EXPECT_EQ(loginLabel.text, L"Имя:");
    EXPECT_EQ(login.top, loginLabel.rect.bottom + 5);
    EXPECT_EQ(passwordLabel.rect.top, login.bottom + 5);
    EXPECT_EQ(password.top, passwordLabel.rect.bottom + 5);
}

}  // namespace
