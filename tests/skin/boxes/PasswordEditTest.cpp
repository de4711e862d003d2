// The password edit's window on the host form: no window text, typing and paste through messages, the glyph cells
// of a 121 x 21 edit without a skin read back as pixels, the caret only while focused, and the skinned look.
#include <gtest/gtest.h>

#include "BoxTestSupport.h"
#include "ControlTestSupport.h"
#include "classlib/StdCtrls.h"
#include "skin/boxes/SkinPasswordEdit.h"

namespace {

using namespace boxtest;
using namespace ctltest;

HWND CaretWindow() {
    GUITHREADINFO gti{};
    gti.cbSize = sizeof(gti);
    GetGUIThreadInfo(GetCurrentThreadId(), &gti);
    return gti.hwndCaret;
}

struct PasswordOnHost {
    PasswordOnHost() {
        Host& h = SharedHost();
        e = new TbsSkinPasswordEdit(h.form);
        e->SetParent(h.form);
        e->SetSkinDataName(L"nosuchentry");
        e->SetBounds(20, 140, 121, 21);
        other = new TEdit(h.form);
        other->SetParent(h.form);
        other->SetBounds(200, 140, 60, 21);
        e->Handle();
        Pump(20);
    }
    ~PasswordOnHost() {
        delete e;
        delete other;
    }
    TbsSkinPasswordEdit* e;
    TEdit* other;
};

TEST(SkinPasswordEdit, HasNoWindowTextButTakesOne) {
    PasswordOnHost p;
    SendMessageW(p.e->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"s3cret"));
    EXPECT_EQ(p.e->Text(), L"s3cret");
    wchar_t buf[32] = L"untouched";
    EXPECT_EQ(SendMessageW(p.e->Handle(), WM_GETTEXT, 32, reinterpret_cast<LPARAM>(buf)), 0);
    EXPECT_STREQ(buf, L"");
    EXPECT_EQ(SendMessageW(p.e->Handle(), WM_GETTEXTLENGTH, 0, 0), 0);
}

TEST(SkinPasswordEdit, TypingPasteAndNoCopy) {
    PasswordOnHost p;
    int changes = 0;
    p.e->OnChange = [&](TObject*) { ++changes; };
    p.e->SetFocus();
    Pump(20);
    Type(p.e->Handle(), L"abef");
    EXPECT_EQ(p.e->Text(), L"abef");
    EXPECT_EQ(changes, 4);
    p.e->Model().SetCaretPosition(2);
    SetClipboardText(L"cd");
    SendMessageW(p.e->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(p.e->Text(), L"abcdef");
    // Nothing leaves the control: copy, cut and Ctrl+C keep the clipboard.
    SetClipboardText(L"keep");
    p.e->SelectAll();
    SendMessageW(p.e->Handle(), WM_COPY, 0, 0);
    SendMessageW(p.e->Handle(), WM_CUT, 0, 0);
    Type(p.e->Handle(), L"\x03");
    EXPECT_EQ(GetClipboardText(), L"keep");
    EXPECT_EQ(p.e->Text(), L"abcdef");
    p.e->SetReadOnly(true);
    SendMessageW(p.e->Handle(), WM_PASTE, 0, 0);
    Type(p.e->Handle(), L"x");
    EXPECT_EQ(p.e->Text(), L"abcdef");
}

TEST(SkinPasswordEdit, FocusSelectsAllAndOwnsTheCaret) {
    PasswordOnHost p;
    p.e->SetText(L"abc");
    p.e->SetFocus();
    Pump(20);
    EXPECT_EQ(p.e->SelStart(), 0);
    EXPECT_EQ(p.e->SelLength(), 3);
    EXPECT_EQ(CaretWindow(), p.e->Handle());
    p.other->SetFocus();
    Pump(20);
    EXPECT_NE(CaretWindow(), p.e->Handle());
}

TEST(SkinPasswordEdit, CellsOfA121By21EditWithoutASkin) {
    PasswordOnHost p;
    p.e->SetPasswordKind(pkRect);
    p.e->SetFocus();
    Pump(20);
    Type(p.e->Handle(), L"0123456789abcde");
    POINT caret{};
    GetCaretPos(&caret);
    EXPECT_LE(caret.x, 119);  // the caret stays in view
    EXPECT_GE(caret.x, 2);
    p.other->SetFocus();  // no selection colours
    Pump(20);
    const COLORREF glyph = static_cast<COLORREF>(ColorToRGB(p.e->DefaultFont()->Color()));
    auto b = PaintInto(121, 21, [&](HDC dc) { p.e->PaintTo(dc, 0, 0); });
    Shot(b.get(), L"password_cells");
    // Ten whole 11-pixel cells from x = 2; a square glyph is its cell less 2 pixels on each side.
    const int row = 10;
    for (int k = 0; k < 10; ++k) {
        const int left = 2 + 11 * k;
        EXPECT_NE(Px(b.get(), left + 1, row), glyph) << k;
        EXPECT_EQ(Px(b.get(), left + 2, row), glyph) << k;
        EXPECT_EQ(Px(b.get(), left + 8, row), glyph) << k;
        EXPECT_NE(Px(b.get(), left + 9, row), glyph) << k;
    }
    // No partial glyph between the last whole cell and the right edge.
    EXPECT_EQ(CountColour(b.get(), {112, 2, 119, 19}, glyph), 0);
    EXPECT_EQ(Px(b.get(), 0, 0), Sys(COLOR_BTNSHADOW));
}

TEST(SkinPasswordEdit, SkinnedLookTakesThePicturesHeight) {
    PasswordOnHost p;
    p.e->SetSkinDataName(L"edit");
    p.e->SetSkinData(SharedHost().data);
    p.e->SetBounds(20, 140, 121, 30);
    EXPECT_EQ(p.e->Height(), 20);
    p.e->SetText(L"ab");
    auto b = PaintInto(121, 20, [&](HDC dc) { p.e->PaintTo(dc, 0, 0); });
    EXPECT_EQ(Px(b.get(), 0, 0), RGB(30, 20, 120));
    // The glyphs take the entry's font colour (200, 0, 0) in the normal state.
    EXPECT_GT(CountColour(b.get(), {3, 3, 40, 17}, RGB(200, 0, 0)), 10);
}

}  // namespace
