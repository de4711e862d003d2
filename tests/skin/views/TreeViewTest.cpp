// The skinned tree view on real windows under Wine with the colour-coded fixture skin: the external vertical bar
// mirrors and moves the native scroll state, the colours derived from the tree-view entry (and without one), the
// skin's button pictures, the view's own node drawing (pixels of the selected node, the lines, the button) and the
// node-drawing handler that DrawSkin installs and removes.
#include <gtest/gtest.h>

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <string>

#include "ControlTestSupport.h"
#include "skin/controls/SkinScrollBar.h"
#include "skin/views/SkinTreeView.h"
#include "skin/views/ViewGeometry.h"

namespace {

using namespace ctltest;

constexpr COLORREF kTreeBack = RGB(240, 230, 250);
constexpr COLORREF kItemActive = RGB(250, 120, 40), kItemFocus = RGB(40, 120, 250);
constexpr COLORREF kExpandPicture = RGB(0, 150, 150), kNoExpandPicture = RGB(150, 0, 150);

COLORREF Rgb(TColor c) {
    return ColorToRGB(c) & 0xFFFFFF;
}

class SkinTreeViewTest : public HostedControls {
  protected:
    // Five top nodes of six children each, the first expanded, on the host form with a vertical bar.
    TbsSkinTreeView* Tree() {
        auto* t = new TbsSkinTreeView(host_->form);
        owned_.push_back(t);
        t->SetParent(host_->form);
        t->SetBounds(10, 10, 200, 120);
        for (int i = 0; i < 5; ++i) {
            TTreeNode* top = t->Items()->Add(nullptr, L"Папка " + std::to_wstring(i));
            for (int j = 0; j < 6; ++j)
                t->Items()->AddChild(top, L"Письмо " + std::to_wstring(j));
        }
        t->SetSkinData(host_->data);
        t->HandleNeeded();
        t->Items()->GetFirstNode()->Expand(false);
        vbar_ = new TbsSkinScrollBar(host_->form);
        owned_.push_back(vbar_);
        vbar_->SetParent(host_->form);
        vbar_->SetKind(sbVertical);
        vbar_->SetSkinDataName(L"vscrollbar");
        vbar_->SetBounds(212, 10, 17, 120);
        vbar_->SetSkinData(host_->data);
        t->SetVScrollBar(vbar_);
        Pump(30);
        return t;
    }
    static int TopNode(TbsSkinTreeView* t) {
        const auto first = reinterpret_cast<HTREEITEM>(SendMessageW(t->Handle(), TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0));
        for (int i = 0; i < t->Items()->Count(); ++i)
            if (t->Items()->Item(i)->ItemId() == first)
                return t->Items()->Item(i)->AbsoluteIndex();
        return -1;
    }
    static std::unique_ptr<TBitmap> Client(TbsSkinTreeView* t) {
        return PaintInto(t->Width(), t->Height(), [t](HDC dc) {
            SendMessageW(t->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
        });
    }
    static TRect NodeRect(TbsSkinTreeView* t, TTreeNode* n, bool TextOnly) {
        return n->DisplayRect(TextOnly);
    }
    TbsSkinScrollBar* vbar_ = nullptr;
};

TEST_F(SkinTreeViewTest, VerticalBarShowsAndMovesTheTopNode) {
    TbsSkinTreeView* t = Tree();
    const int visible = static_cast<int>(SendMessageW(t->Handle(), TVM_GETVISIBLECOUNT, 0, 0));
    int nmin = 0, nmax = 0;
    GetScrollRange(t->Handle(), SB_VERT, &nmin, &nmax);
    ASSERT_TRUE(PumpUntil([&] { return vbar_->Visible(); }));
    EXPECT_EQ(vbar_->Max(), nmax);
    EXPECT_EQ(vbar_->PageSize(), visible);
    EXPECT_EQ(TopNode(t), 0);
    vbar_->SetPosition(3);
    EXPECT_EQ(TopNode(t), 3);
    EXPECT_EQ(GetScrollPos(t->Handle(), SB_VERT), 3);
    // collapsing every node leaves fewer lines than fit: the bar goes
    t->Items()->GetFirstNode()->Collapse(false);
    t->Invalidate();
    EXPECT_TRUE(PumpUntil([&] { return !vbar_->Visible(); }));
}

TEST_F(SkinTreeViewTest, ColoursFromTheEntryAndWithoutIt) {
    TbsSkinTreeView* t = Tree();
    EXPECT_EQ(Rgb(t->Color()), kTreeBack);
    EXPECT_EQ(Rgb(t->LineColor()), TreeLineColorOf(0, kTreeBack));
    EXPECT_EQ(Rgb(t->ButtonColor()), TreeButtonColorOf(0, kTreeBack));
    EXPECT_TRUE(t->HasButtonPictures());
    const std::wstring ini = FixtureVariant(L"tvwhite", [](std::string& s) {
        const size_t at = s.find("[treeview]");
        std::string tail = s.substr(at);
        ReplaceValue(tail, "bgcolor", "16777215");
        ReplaceValue(tail, "expandimagerect", "0,0,0,0");
        s = s.substr(0, at) + tail;
    });
    host_->data->LoadFromFile(ini);
    Pump(20);
    EXPECT_EQ(Rgb(t->LineColor()), 0xBFBFBFu);
    EXPECT_EQ(Rgb(t->ButtonColor()), 0x7F7F7Fu);
    EXPECT_FALSE(t->HasButtonPictures());  // one empty rectangle empties both
    t->SetSkinDataName(L"notree");
    t->SetDefaultColor(TColor(0x00345678));
    t->ChangeSkinData();
    EXPECT_EQ(Rgb(t->Color()), 0x345678u);
    EXPECT_EQ(Rgb(t->LineColor()), 0x808080u);
    EXPECT_EQ(Rgb(t->ButtonColor()), 0x7F7F7Fu);  // kept from the last entry
}

TEST_F(SkinTreeViewTest, DrawSkinDrawsNodesLinesAndButtons) {
    TbsSkinTreeView* t = Tree();
    t->SetItemSkinDataName(L"viewitem");
    t->SetDrawSkin(true);
    TTreeNode* first = t->Items()->GetFirstNode();
    TTreeNode* child = first->Item(1);
    t->SetSelected(child);
    Pump(30);
    auto img = Client(t);
    const TRect text = child->DisplayRect(true);
    EXPECT_EQ(Px(img.get(), text.Left + 1, text.Top + 1), t->Focused() ? kItemFocus : kItemActive);
    // the expanded top node shows the skin's expand picture over the built-in box
    const TRect row = first->DisplayRect(false);
    const int indent = t->Indent(), mid = row.Top + row.Height() / 2, x0 = row.Left + indent / 2;
    const int size = 13 / 2 - 2;
    EXPECT_EQ(Px(img.get(), x0 - size - 3 + 6, mid - size - 3 + 6), kExpandPicture);
    // a child's vertical line down to the next sibling, in the line colour
    const TRect crow = child->DisplayRect(false);
    const int cx0 = crow.Left + indent + indent / 2;
    EXPECT_EQ(Px(img.get(), cx0 - 1, crow.Bottom - 1), Rgb(t->LineColor()));
    // the collapsed second top node shows the other picture
    const TRect row2 = first->GetNextSibling()->DisplayRect(false);
    const int mid2 = row2.Top + row2.Height() / 2;
    EXPECT_EQ(Px(img.get(), x0 - size - 3 + 6, mid2 - size - 3 + 6), kNoExpandPicture);
}

TEST_F(SkinTreeViewTest, DrawSkinOffRemovesOnlyItsOwnHandler) {
    TbsSkinTreeView* t = Tree();
    t->SetDrawSkin(true);
    ASSERT_TRUE(t->OnAdvancedCustomDrawItem);
    t->SetDrawSkin(false);
    EXPECT_FALSE(t->OnAdvancedCustomDrawItem);
    t->SetDrawSkin(true);
    bool called = false;
    t->OnAdvancedCustomDrawItem = [&](TCustomTreeView*, TTreeNode*, TCustomDrawState, TCustomDrawStage, bool&,
                                      bool&) { called = true; };
    t->SetDrawSkin(false);
    ASSERT_TRUE(t->OnAdvancedCustomDrawItem);
    t->Invalidate();
    EXPECT_TRUE(PumpUntil([&] { return called; }));
}

}  // namespace
