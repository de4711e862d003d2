// The quick buttons' places within a caption as data: start after the divider or 10 in, margin 4 (12 on a tall
// modern caption), room for the drop-down arrow and the caption text, the right group from the caption's end, and
// what the text area gives up; the layered top image's variant.
#include <gtest/gtest.h>

#include "skin/form/QuickButtons.h"

namespace {

using B = TbsQuickLayoutInput::Button;

TbsQuickLayoutInput Caption(int Height, std::vector<B> Buttons) {
    TbsQuickLayoutInput in;
    in.ObjectRect = TRect{100, 4, 300, 4 + Height};
    in.Buttons = std::move(Buttons);
    return in;
}

struct Case {
    const char* name;
    TbsQuickLayoutInput in;
    std::vector<TRect> rects;
    int leftTaken, rightTaken;
};

TEST(QuickButtonLayout, PlacesEachButtonByItsKind) {
    auto modern = Caption(30, {B{}, B{true, bsqbpLeft, true, 0}});
    modern.ModernSkin = true;
    auto modernLow = Caption(29, {B{}});
    modernLow.ModernSkin = true;
    auto divider = Caption(25, {B{}});
    divider.DividerWidth = 8;
    auto layered = Caption(25, {B{true, bsqbpLeft, true, 0}, B{true, bsqbpRight, false, 0}});
    layered.Layered = true;
    layered.ModernSkin = true;
    const Case cases[] = {
        // 25 high: y = 4 + 12 - 8 - 2.
        {"first left button", Caption(25, {B{}}), {{110, 6, 130, 26}}, 27, 0},
        {"drop-down adds the arrow", Caption(25, {B{true, bsqbpLeft, true, 0}}), {{110, 6, 137, 26}}, 34, 0},
        {"caption adds its width and 6", Caption(25, {B{true, bsqbpLeft, false, 30}, B{}}),
         {{110, 6, 166, 26}, {166, 6, 186, 26}}, 56 + 20 + 7, 0},
        {"invisible takes no room", Caption(25, {B{false, bsqbpLeft, false, 0}, B{}}), {{}, {110, 6, 130, 26}}, 27, 0},
        {"divider start", divider, {{114, 6, 134, 26}}, 27, 0},
        // 30 high and modern: margin 12, y = 4 + 15 - 8 - 6, arrow room 3.
        {"modern tall caption", modern, {{110, 5, 138, 33}, {138, 5, 169, 33}}, 28 + 31 + 7, 0},
        {"modern but 29 high", modernLow, {{110, 8, 130, 28}}, 27, 0},
        {"right group from the end", Caption(25, {B{true, bsqbpRight, false, 0}, B{true, bsqbpRight, true, 0}}),
         {{275, 6, 295, 26}, {248, 6, 275, 26}}, 0, 20 + 27 + 7},
        // Layered: margin 4 always, y = centre - 8 - 2, right from 2 in, gaps of 5.
        {"layered", layered, {{110, 6, 137, 26}, {278, 6, 298, 26}}, 27 + 5, 20 + 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TbsQuickLayout out = LayoutQuickButtons(c.in);
        ASSERT_EQ(out.ItemRects.size(), c.rects.size());
        for (std::size_t i = 0; i < c.rects.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(out.ItemRects[i].Left, c.rects[i].Left);
            EXPECT_EQ(out.ItemRects[i].Top, c.rects[i].Top);
            EXPECT_EQ(out.ItemRects[i].Right, c.rects[i].Right);
            EXPECT_EQ(out.ItemRects[i].Bottom, c.rects[i].Bottom);
        }
        EXPECT_EQ(out.LeftTaken, c.leftTaken);
        EXPECT_EQ(out.RightTaken, c.rightTaken);
    }
}

}  // namespace
