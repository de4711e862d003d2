// The edits' window-free rules: what a paste keeps, the number filter, the frame's rectangles and the height rule.
#include <gtest/gtest.h>

#include "skin/boxes/EditLogic.h"

namespace {

TEST(EditLogic, PasteKeepsTheFirstLine) {
    const struct {
        const wchar_t* in;
        const wchar_t* out;
    } cases[] = {{L"a\r\nb", L"a"}, {L"a\nb", L"a"}, {L"a\rb", L"a"}, {L"\r\nb", L""}, {L"host.example", L"host.example"}};
    for (const auto& c : cases)
        EXPECT_EQ(FirstLineOf(c.in), c.out) << c.in;
}

TEST(EditLogic, MaskSeparatorsAreTheLocales) {
    EXPECT_EQ(LocaliseMask(L"!90:00;1; ", L'.', L'-'), L"!90.00;1; ");
    EXPECT_EQ(LocaliseMask(L"99/99/9999;1;_", L':', L'.'), L"99.99.9999;1;_");
    EXPECT_EQ(LocaliseMask(L"99\\:99;0;:", L'.', L'/'), L"99\\:99;0;:");  // an escaped one and the blank stay
}

TEST(EditLogic, NumberFilter) {
    const struct {
        const wchar_t* text;
        int selStart, selLength;
        bool isFloat, editorEnabled;
        wchar_t key;
        bool valid;
    } cases[] = {
        {L"", 0, 0, false, true, L'-', true},       // a sign into an empty text
        {L"-", 1, 0, false, true, L'1', true},
        {L"-1", 2, 0, false, true, L'2', true},
        {L"-12", 3, 0, false, true, L'-', false},   // a second sign
        {L"12", 2, 0, false, true, L'-', false},    // a sign after a digit
        {L"-12", 0, 0, false, true, L'-', false},   // a sign before a sign
        {L"12", 0, 2, false, true, L'-', true},     // replaces the selected text
        {L"12", 0, 1, false, false, L'-', true},    // the selection rule overrides the disabled editor
        {L"1", 1, 0, false, true, L'a', false},
        {L"1", 1, 0, false, true, L',', false},     // no separator in an integer edit
        {L"1", 1, 0, true, true, L',', true},
        {L"1,5", 3, 0, true, true, L',', false},    // a second separator
        {L"1", 1, 0, true, true, L'.', false},      // the locale's separator only
        {L"1", 1, 0, false, true, 8, true},         // Backspace
        {L"1", 1, 0, false, true, 3, true},         // Ctrl+C
        {L"1", 1, 0, false, true, 13, false},
        {L"1", 1, 0, false, false, L'2', false},    // typing off
        {L"1", 1, 0, false, false, 8, false},
        {L"1", 1, 0, false, false, 3, true},
    };
    for (const auto& c : cases) {
        TbsNumInput in;
        in.Text = c.text;
        in.SelStart = c.selStart;
        in.SelLength = c.selLength;
        in.Float = c.isFloat;
        in.EditorEnabled = c.editorEnabled;
        in.DecimalSeparator = L',';
        EXPECT_EQ(IsValidNumChar(in, c.key), c.valid)
            << "text '" << testing::PrintToString(std::wstring(c.text)) << "' key " << int(c.key);
    }
}

TbsEditFrame ButtonEditFrame() {
    // 40 x 20 picture, text area (3, 3, 22, 17), button (24, 3, 37, 17) inside the right end of 18 pixels.
    TbsEditFrame f;
    f.Skinned = true;
    f.SkinRect = {0, 22, 40, 42};
    f.ClRect = {3, 3, 22, 17};
    f.ButtonRect = {24, 3, 37, 17};
    f.ROffset = 18;
    return f;
}

TEST(EditLogic, BuiltInFrameRectangles) {
    TbsEditFrame f;
    TbsEditRects r = CalcEditRects(f, 100, 20, true);
    EXPECT_EQ(r.Button, (TRect{80, 0, 100, 20}));
    EXPECT_EQ(r.Edit, (TRect{2, 2, 78, 18}));
    r = CalcEditRects(f, 100, 20, false);
    EXPECT_EQ(r.Edit, (TRect{2, 2, 98, 18}));
    // The client ends where the square button starts.
    EXPECT_EQ(NCClientRect(f, {10, 10, 110, 30}, true), (TRect{12, 12, 90, 28}));
    EXPECT_EQ(NCClientRect(f, {10, 10, 110, 30}, false), (TRect{12, 12, 108, 28}));
}

TEST(EditLogic, SkinnedFrameKeepsTheEndsAndMovesTheButton) {
    TbsEditFrame f = ButtonEditFrame();
    TbsEditRects r = CalcEditRects(f, 100, 20, true);
    EXPECT_EQ(r.Edit, (TRect{3, 3, 82, 17}));
    EXPECT_EQ(r.Button, (TRect{84, 3, 97, 17}));
    // A button left of the right end stays where the picture has it.
    f.ROffset = 3;
    r = CalcEditRects(f, 100, 20, true);
    EXPECT_EQ(r.Button, (TRect{24, 3, 37, 17}));
    // Without the skin font the height is free: the bottoms follow it.
    f.UseSkinFont = false;
    r = CalcEditRects(f, 100, 30, true);
    EXPECT_EQ(r.Edit.Bottom, 27);
    EXPECT_EQ(r.Button.Bottom, 27);
    EXPECT_EQ(NCClientRect(ButtonEditFrame(), {0, 0, 100, 20}, true), (TRect{3, 3, 82, 17}));
}

TEST(EditLogic, Height) {
    TbsEditFrame none;
    EXPECT_EQ(CalcEditHeight(none, 13, 0), 19);
    EXPECT_EQ(CalcEditHeight(none, 13, 20), 24);
    const TbsEditFrame skinned = ButtonEditFrame();
    EXPECT_EQ(CalcEditHeight(skinned, 14, 0), 20);
    EXPECT_EQ(CalcEditHeight(skinned, 16, 18), 24);
}

TEST(EditLogic, ImageButtons) {
    TbsImageButtons b = LayoutImageButtons({0, 0, 100, 14}, 16, true, false);
    EXPECT_EQ(b.Left, (TRect{0, 0, 16, 14}));
    EXPECT_TRUE(b.Right.IsEmpty());
    EXPECT_EQ(b.Text, (TRect{18, 0, 100, 14}));
    b = LayoutImageButtons({0, 0, 100, 14}, 16, true, true);
    EXPECT_EQ(b.Right, (TRect{84, 0, 100, 14}));
    EXPECT_EQ(b.Text, (TRect{18, 0, 82, 14}));
}

}  // namespace
