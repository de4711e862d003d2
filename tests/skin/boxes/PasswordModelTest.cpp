// The password edit's window-free model: insertion against the length limit, the character case, the signed
// selection under Shift and Ctrl arrows, word selection, paste, and the cells of a 121 x 21 edit.
#include <gtest/gtest.h>

#include "skin/boxes/PasswordModel.h"

namespace {

struct Model {
    TbsPasswordModel m;
    int changes = 0;
    std::wstring clipboard;
    Model() {
        m.EditRect = {2, 2, 119, 19};  // a 121 x 21 edit without a skin
        m.OnChange = [this] { ++changes; };
        m.ClipboardText = [this] { return clipboard; };
    }
    void Type(const std::wstring& s) {
        for (wchar_t c : s)
            m.KeyPress(c);
    }
};

TEST(PasswordModel, InsertionAgainstMaxLength) {
    const struct {
        const char* what;
        const wchar_t* text;
        bool selectAll;
        wchar_t key;
        const wchar_t* result;
    } cases[] = {
        {"replace the whole selection", L"abc", true, L'x', L"x"},
        {"a fourth character refused", L"abc", false, L'd', L"abc"},
        {"below the limit", L"ab", false, L'c', L"abc"},
    };
    for (const auto& c : cases) {
        Model t;
        t.m.MaxLength = 3;
        t.m.SetText(c.text);
        t.m.SetCaretPosition(3);
        if (c.selectAll)
            t.m.SelectAll();
        t.m.KeyPress(c.key);
        EXPECT_EQ(t.m.Text(), c.result) << c.what;
        EXPECT_EQ(t.m.SelLength(), 0) << c.what;
    }
    Model t;
    t.m.MaxLength = 3;
    t.m.SetText(L"abcdef");  // the limit holds for typing only
    EXPECT_EQ(t.m.Text(), L"abcdef");
    // No room left: nothing is inserted (the room is never negative).
    t.m.InsertAfter(2, L"xy", true);
    EXPECT_EQ(t.m.Text(), L"abcdef");
    t.m.SetText(L"a");
    t.m.InsertAfter(1, L"xyz", true);
    EXPECT_EQ(t.m.Text(), L"axy");
    EXPECT_EQ(t.m.SelStart(), 1);
    EXPECT_EQ(t.m.SelLength(), 2);
}

TEST(PasswordModel, CharCase) {
    Model t;
    t.m.SetCharCase(mcUpper);
    t.m.SetText(L"secret");
    EXPECT_EQ(t.m.Text(), L"SECRET");
    t.m.SetCaretPosition(6);
    t.Type(L"x");
    EXPECT_EQ(t.m.Text(), L"SECRETX");
    t.m.SetCharCase(mcLower);
    EXPECT_EQ(t.m.Text(), L"secretx");
}

TEST(PasswordModel, DeletingAtTheEndsIsSilent) {
    Model t;
    t.m.SetText(L"ab");
    t.changes = 0;
    t.m.SetCaretPosition(0);
    t.m.KeyDown(pwkey::Back, false, false);
    t.m.SetCaretPosition(2);
    t.m.KeyDown(pwkey::Delete, false, false);
    EXPECT_EQ(t.m.Text(), L"ab");
    EXPECT_EQ(t.changes, 0);
    t.m.KeyDown(pwkey::Back, false, false);
    EXPECT_EQ(t.m.Text(), L"a");
    EXPECT_EQ(t.m.CaretPosition(), 1);
    EXPECT_EQ(t.changes, 1);
    t.m.KeyDown(pwkey::Back, true, true);  // Ctrl+Backspace types #127, which is inserted like any character
    t.m.KeyPress(127);
    EXPECT_EQ(t.m.Text(), L"\x7f");
}

TEST(PasswordModel, ArrowsOverWords) {
    // "ab cd  ef": words at 0, 3 and 7.
    const struct {
        int from;
        int key;
        bool shift, ctrl;
        int caret, selStart, selLength;
    } cases[] = {
        {3, pwkey::Right, true, false, 4, 3, 1},   // Shift+Right selects the fourth character
        {0, pwkey::Right, false, true, 3, 3, 0},   // Ctrl+Right to the next word
        {3, pwkey::Right, false, true, 7, 7, 0},   // past the two spaces
        {7, pwkey::Left, false, true, 3, 3, 0},    // Ctrl+Left to the start of the word on the left
        {9, pwkey::Left, true, true, 7, 7, 2},     // Shift+Ctrl+Left selects "ef"
        {3, pwkey::End, true, false, 9, 3, 6},
        {5, pwkey::Home, false, false, 0, 0, 0},
    };
    for (const auto& c : cases) {
        Model t;
        t.m.SetText(L"ab cd  ef");
        t.m.SetCaretPosition(c.from);
        t.m.KeyDown(c.key, c.shift, c.ctrl);
        EXPECT_EQ(t.m.CaretPosition(), c.caret) << c.from << " key " << c.key;
        EXPECT_EQ(t.m.SelStart(), c.selStart) << c.from << " key " << c.key;
        EXPECT_EQ(t.m.SelLength(), c.selLength) << c.from << " key " << c.key;
    }
    Model t;
    t.m.SetText(L"ab cd  ef");
    t.m.SetCaretPosition(3);
    t.m.KeyDown(pwkey::Right, true, false);
    t.m.KeyDown(pwkey::Left, true, false);  // back to no selection
    EXPECT_EQ(t.m.SelLength(), 0);
    EXPECT_EQ(t.m.CaretPosition(), 3);
    t.m.KeyDown(pwkey::Up, true, false);
    EXPECT_EQ(t.m.CaretPosition(), 3);
}

TEST(PasswordModel, DoubleClickSelectsTheWordAndItsSpaces) {
    Model t;
    t.m.SetText(L"ab cd  ef");
    const int cell = t.m.CharWidth();
    t.m.MouseDown(true, 2 + 4 * cell + 1);  // on "d"
    t.m.MouseUp();
    EXPECT_EQ(t.m.CaretPosition(), 4);
    t.m.DblClick();
    EXPECT_EQ(t.m.SelText(), L"cd  ");
    EXPECT_EQ(t.m.CaretPosition(), 7);
    // A drag from the start over two cells selects two characters.
    t.m.MouseDown(true, 2);
    t.m.MouseMove(2 + 2 * cell + 1);
    t.m.MouseUp();
    EXPECT_EQ(t.m.SelText(), L"ab");
}

TEST(PasswordModel, Paste) {
    Model t;
    t.m.SetText(L"abef");
    t.m.SetCaretPosition(2);
    t.clipboard = L"cd";
    t.m.KeyDown(pwkey::V, false, true);
    EXPECT_EQ(t.m.Text(), L"abcdef");
    EXPECT_EQ(t.m.CaretPosition(), 4);
    t.m.KeyDown(pwkey::Insert, true, false);
    EXPECT_EQ(t.m.Text(), L"abcdcdef");
    t.m.ReadOnly = true;
    t.m.PasteFromClipboard();
    t.Type(L"x");
    t.m.SelectAll();
    t.m.KeyDown(pwkey::Delete, false, false);
    EXPECT_EQ(t.m.Text(), L"abcdcdef");
}

TEST(PasswordModel, CellsOfA121By21Edit) {
    Model t;
    EXPECT_EQ(t.m.CharWidth(), 11);
    t.m.SetText(L"");
    t.Type(L"0123456789abcde");
    const auto cells = t.m.VisibleCells();
    ASSERT_FALSE(cells.empty());
    for (const auto& c : cells) {
        EXPECT_EQ(c.R.Width(), 11);
        EXPECT_LE(c.R.Right, 119);  // no glyph cut at the right edge
    }
    EXPECT_EQ(cells.back().Index, 14);  // the last character typed is shown
    EXPECT_LE(t.m.GetCharX(t.m.CaretPosition()), 119);
    EXPECT_GE(t.m.GetCharX(t.m.CaretPosition()), 2);
    t.m.KeyDown(pwkey::Home, false, false);
    EXPECT_EQ(t.m.FirstVisibleChar(), 1);
    EXPECT_EQ(t.m.VisibleCells().size(), 10u);  // 117 pixels hold ten whole cells
}

}  // namespace
