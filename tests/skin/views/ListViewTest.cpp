// The skinned list view on real windows under Wine with the colour-coded fixture skin: the native scroll state
// mirrored into external bars both ways (bar moves, the wheel, row count changes, list style, tiny views), the
// header (wider than the view, built-in and skinned looks, presses by real mouse input, a re-created header) and
// the view's own item drawing (pixels of a selected row, plain rectangles without an item entry).
#include <gtest/gtest.h>

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <memory>
#include <string>

#include "ControlTestSupport.h"
#include "skin/controls/SkinScrollBar.h"
#include "skin/core/SkinData.h"
#include "skin/views/SkinListView.h"

namespace {

using namespace ctltest;

constexpr COLORREF kListBack = RGB(230, 240, 200);
constexpr COLORREF kHeaderNormal = RGB(200, 180, 60), kHeaderDown = RGB(60, 180, 200);
constexpr COLORREF kItemActive = RGB(250, 120, 40), kItemFocus = RGB(40, 120, 250);
constexpr COLORREF kPressedFrame = RGB(59, 107, 183), kPressedFill = RGB(162, 188, 228);

COLORREF Rgb(TColor c) {
    return ColorToRGB(c) & 0xFFFFFF;
}

class SkinListViewTest : public HostedControls {
  protected:
    // An owner-data report view of Rows rows and three columns on the host form, with both external bars.
    TbsSkinListView* View(int Rows, bool Skinned = true) {
        auto* v = new TbsSkinListView(host_->form);
        owned_.push_back(v);
        v->SetParent(host_->form);
        v->SetViewStyle(vsReport);
        v->SetOwnerData(true);
        v->SetRowSelect(true);
        v->SetHideSelection(false);
        v->SetReadOnly(true);
        v->SetBounds(10, 10, 300, 200);
        for (int w : {100, 80, 60}) {
            TListColumn* c = v->Columns()->Add();
            c->SetWidth(w);
            c->SetCaption(L"Столбец " + std::to_wstring(v->Columns()->Count()));
        }
        v->OnData = [](TObject*, TListItem* item) {
            item->SetCaption(L"Строка " + std::to_wstring(item->Index()));
            item->SubItems()->Add(L"b" + std::to_wstring(item->Index()));
        };
        v->Items()->SetCount(Rows);
        if (Skinned)
            v->SetSkinData(host_->data);
        v->HandleNeeded();
        vbar_ = Bar(sbVertical);
        hbar_ = Bar(sbHorizontal);
        v->SetVScrollBar(vbar_);
        v->SetHScrollBar(hbar_);
        Pump(30);
        return v;
    }
    TbsSkinScrollBar* Bar(TScrollBarKind Kind) {
        auto* b = new TbsSkinScrollBar(host_->form);
        owned_.push_back(b);
        b->SetParent(host_->form);
        b->SetKind(Kind);
        if (Kind == sbVertical) {
            b->SetSkinDataName(L"vscrollbar");
            b->SetBounds(312, 10, 17, 200);
        } else {
            b->SetBounds(10, 212, 300, 17);
        }
        b->SetSkinData(host_->data);
        return b;
    }
    static int RowHeight(TbsSkinListView* v) {
        RECT r{};
        r.left = LVIR_BOUNDS;
        SendMessageW(v->Handle(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
        return r.bottom - r.top;
    }
    static int HeaderHeight(TbsSkinListView* v) {
        RECT r{};
        GetWindowRect(v->SubclassedHeader(), &r);
        return r.bottom - r.top;
    }
    // Sized from the measured row height to show about ten rows below the header.
    static void ShowTenRows(TbsSkinListView* v) {
        v->SetBounds(10, 10, 300, HeaderHeight(v) + 10 * RowHeight(v) + 3);
        Pump(30);
    }
    static int Top(TbsSkinListView* v) { return static_cast<int>(SendMessageW(v->Handle(), LVM_GETTOPINDEX, 0, 0)); }
    static std::unique_ptr<TBitmap> Client(TbsSkinListView* v) {
        return PaintInto(v->Width(), v->Height(), [v](HDC dc) {
            SendMessageW(v->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
        });
    }
    static std::unique_ptr<TBitmap> Header(TbsSkinListView* v) {
        RECT r{};
        GetClientRect(v->SubclassedHeader(), &r);
        return PaintInto(r.right, r.bottom, [v](HDC dc) { v->PaintHeader(dc); });
    }
    // A real left press (and release) at a point of the header.
    static void HeaderMouse(TbsSkinListView* v, int x, int y, DWORD flags) {
        POINT p{x, y};
        ClientToScreen(v->SubclassedHeader(), &p);
        SetCursorPos(p.x, p.y);
        Pump(20);
        INPUT in{};
        in.type = INPUT_MOUSE;
        in.mi.dwFlags = flags;
        SendInput(1, &in, sizeof(in));
    }
    TbsSkinScrollBar* vbar_ = nullptr;
    TbsSkinScrollBar* hbar_ = nullptr;
};

TEST_F(SkinListViewTest, VerticalBarMirrorsAndScrollsAReportView) {
    TbsSkinListView* v = View(100);
    ShowTenRows(v);
    const int perPage = static_cast<int>(SendMessageW(v->Handle(), LVM_GETCOUNTPERPAGE, 0, 0));
    ASSERT_GE(perPage, 9);
    ASSERT_LE(perPage, 11);
    int nmin = 0, nmax = 0;
    GetScrollRange(v->Handle(), SB_VERT, &nmin, &nmax);
    ASSERT_TRUE(PumpUntil([&] { return vbar_->Visible(); }));
    EXPECT_EQ(vbar_->Max(), nmax);
    EXPECT_EQ(nmax, 99);
    EXPECT_EQ(vbar_->PageSize(), perPage);
    EXPECT_EQ(vbar_->SmallChange(), 1);
    EXPECT_EQ(vbar_->LargeChange(), perPage);
    EXPECT_FALSE(hbar_->Visible());  // the columns fit the width
    // the bar moves the rows
    vbar_->SetPosition(vbar_->Position() + 3);
    EXPECT_EQ(Top(v), 3);
    EXPECT_EQ(GetScrollPos(v->Handle(), SB_VERT), 3);
    // the wheel moves the rows, and the bar follows
    SendMessageW(v->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(50, 50));
    ASSERT_TRUE(PumpUntil([&] { return Top(v) > 3 && vbar_->Position() == Top(v); }))
        << "top " << Top(v) << " bar " << vbar_->Position();
    EXPECT_EQ(vbar_->Position(), GetScrollPos(v->Handle(), SB_VERT));
    // keys move the rows, and the bar follows
    const int before = Top(v);
    v->SetFocus();
    SendMessageW(v->Handle(), WM_KEYDOWN, VK_END, 0);
    ASSERT_TRUE(PumpUntil([&] { return Top(v) > before && vbar_->Position() == Top(v); }));
    // rows removed until they fit hide the bar
    v->Items()->SetCount(perPage - 2);
    v->Invalidate();
    EXPECT_TRUE(PumpUntil([&] { return !vbar_->Visible(); }));
}

TEST_F(SkinListViewTest, ListStyleHidesTheVerticalBarAndTinyViewsNeverUpdate) {
    TbsSkinListView* v = View(300);
    v->SetViewStyle(vsList);
    Pump(50);
    v->UpDateScrollBars();
    EXPECT_FALSE(vbar_->Visible());
    EXPECT_TRUE(PumpUntil([&] { return hbar_->Visible(); }));
    EXPECT_EQ(hbar_->SmallChange(), 1);
    EXPECT_EQ(hbar_->LargeChange(), 1);
    // one column per step
    const int before = GetScrollPos(v->Handle(), SB_HORZ);
    hbar_->SetPosition(hbar_->Position() + 1);
    EXPECT_EQ(GetScrollPos(v->Handle(), SB_HORZ), before + 1);

    // a view 5 pixels high keeps its bars as they were, until it grows again
    TbsSkinListView* tiny = View(100);
    ASSERT_TRUE(vbar_->Visible());
    tiny->SetBounds(10, 10, 300, 5);
    tiny->Items()->SetCount(1);
    Pump(30);
    tiny->UpDateScrollBars();
    EXPECT_TRUE(vbar_->Visible());
    tiny->SetBounds(10, 10, 300, 200);
    EXPECT_TRUE(PumpUntil([&] { return !vbar_->Visible(); }));
}

TEST_F(SkinListViewTest, HeaderIsWiderAndPaintedFromTheSkin) {
    TbsSkinListView* v = View(5);
    ASSERT_NE(v->SubclassedHeader(), nullptr);
    EXPECT_EQ(v->SubclassedHeader(), reinterpret_cast<HWND>(SendMessageW(v->Handle(), LVM_GETHEADER, 0, 0)));
    RECT hr{};
    GetWindowRect(v->SubclassedHeader(), &hr);
    EXPECT_EQ(hr.right - hr.left, v->Width() + 25);
    auto img = Header(v);
    EXPECT_EQ(Px(img.get(), 50, 2), kHeaderNormal);
    EXPECT_EQ(Px(img.get(), 250, 2), kHeaderNormal);  // the rest area past the last section
    // the view's colours come from the list-view entry
    EXPECT_EQ(Rgb(v->Color()), kListBack);
    EXPECT_EQ(Rgb(v->LineColor()), (ListGridColorOf(0, kListBack)));
}

TEST_F(SkinListViewTest, HeaderFallsBackToResizeToolButton) {
    const std::wstring ini = FixtureVariant(L"rtb", [](std::string& s) {
        ReplaceAll(s, "=header:button", "=resizetoolbutton:button");
        ReplaceAll(s, "[header]", "[resizetoolbutton]");
    });
    host_->data->LoadFromFile(ini);
    Pump(20);
    TbsSkinListView* v = View(5);
    EXPECT_EQ(Px(Header(v).get(), 50, 2), kHeaderNormal);
}

TEST_F(SkinListViewTest, BuiltInHeaderAndPressesByMouse) {
    // Neither the named header entry nor the "resizetoolbutton" fallback exists.
    const std::wstring ini = FixtureVariant(L"nortb", [](std::string& s) {
        ReplaceAll(s, "=resizetoolbutton:button", "=otherbutton:button");
        ReplaceAll(s, "[resizetoolbutton]", "[otherbutton]");
    });
    host_->data->LoadFromFile(ini);
    Pump(20);
    TbsSkinListView* v = View(5);
    v->SetHeaderSkinDataName(L"noheader");
    v->Columns()->Items(0)->SetWidth(100);
    auto idle = Header(v);
    EXPECT_EQ(Px(idle.get(), 0, 5), Rgb(clBtnShadow));
    EXPECT_EQ(Px(idle.get(), 50, 1), Rgb(clBtnFace));
    EXPECT_EQ(Px(idle.get(), 250, 4), Rgb(clBtnFace));  // rest area

    // a press on a section shows it pressed until the button is released anywhere
    HeaderMouse(v, 130, 5, MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(PumpUntil([&] { return v->HeaderDown(); }));
    EXPECT_EQ(v->ActiveSection(), 1);
    EXPECT_FALSE(v->DividerDown());
    auto pressed = Header(v);
    EXPECT_EQ(Px(pressed.get(), 100, 5), kPressedFrame);
    EXPECT_EQ(Px(pressed.get(), 130, 1), kPressedFill);
    EXPECT_EQ(Px(pressed.get(), 50, 1), Rgb(clBtnFace));  // the other sections stay idle
    HeaderMouse(v, 330, 150, MOUSEEVENTF_MOVE);
    HeaderMouse(v, 330, 150, MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(PumpUntil([&] { return !v->HeaderDown(); }));
    EXPECT_EQ(v->ActiveSection(), -1);
    EXPECT_EQ(Px(Header(v).get(), 130, 1), Rgb(clBtnFace));

    // a press on a divider shows no section pressed
    HeaderMouse(v, 100, 5, MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(PumpUntil([&] { return v->DividerDown(); }));
    EXPECT_FALSE(v->HeaderDown());
    auto divider = Header(v);
    EXPECT_EQ(Px(divider.get(), 50, 1), Rgb(clBtnFace));
    EXPECT_EQ(Px(divider.get(), 130, 1), Rgb(clBtnFace));
    HeaderMouse(v, 100, 5, MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(PumpUntil([&] { return !v->DividerDown(); }));
    v->Columns()->Items(0)->SetWidth(100);
}

TEST_F(SkinListViewTest, SkinnedPressShowsTheDownPicture) {
    TbsSkinListView* v = View(5);
    HeaderMouse(v, 30, 5, MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(PumpUntil([&] { return v->HeaderDown(); }));
    auto img = Header(v);
    EXPECT_EQ(Px(img.get(), 30, 2), kHeaderDown);
    EXPECT_EQ(Px(img.get(), 150, 2), kHeaderNormal);
    HeaderMouse(v, 30, 5, MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(PumpUntil([&] { return !v->HeaderDown(); }));
}

TEST_F(SkinListViewTest, ReCreatedViewSubclassesItsNewHeader) {
    TbsSkinListView* v = View(5);
    const HWND old = v->SubclassedHeader();
    ASSERT_NE(old, nullptr);
    v->SetViewStyle(vsList);
    Pump(20);
    v->SetViewStyle(vsReport);
    Pump(20);
    const HWND now = reinterpret_cast<HWND>(SendMessageW(v->Handle(), LVM_GETHEADER, 0, 0));
    ASSERT_NE(now, nullptr);
    EXPECT_EQ(v->SubclassedHeader(), now);
    EXPECT_FALSE(IsWindow(old) && old != now);
    RECT hr{};
    GetWindowRect(now, &hr);
    EXPECT_EQ(hr.right - hr.left, v->Width() + 25);
    EXPECT_EQ(Px(Header(v).get(), 50, 2), kHeaderNormal);
}

TEST_F(SkinListViewTest, DrawSkinPaintsTheSelectedRowFromTheItemEntry) {
    TbsSkinListView* v = View(5);
    v->SetItemSkinDataName(L"viewitem");
    v->SetDrawSkin(true);
    v->SetItemIndex(1);
    Pump(20);
    const int rowH = RowHeight(v), top = HeaderHeight(v);
    auto img = Client(v);
    // row 1: the active item picture (the view has no focus); row 0: the view's colour
    EXPECT_EQ(Px(img.get(), 60, top + rowH + rowH / 2), kItemActive);
    EXPECT_EQ(Px(img.get(), 230, top + rowH + 1), kItemActive);  // row select reaches the last column
    EXPECT_EQ(Px(img.get(), 80, top + 1), kListBack);
    v->SetFocus();
    Pump(20);
    EXPECT_EQ(Px(Client(v).get(), 60, top + rowH + rowH / 2), kItemFocus);
}

TEST_F(SkinListViewTest, DrawSkinWithoutItemEntryDrawsPlainRectangles) {
    TbsSkinListView* v = View(5);
    v->SetItemSkinDataName(L"noitem");
    v->SetDrawSkin(true);
    v->SetItemIndex(1);
    Pump(20);
    const int rowH = RowHeight(v), top = HeaderHeight(v);
    auto img = Client(v);
    for (int row = 0; row < 3; ++row)
        for (int x = 0; x < 240; ++x)
            ASSERT_EQ(Px(img.get(), x, top + row * rowH + rowH / 2), kListBack) << row << "," << x;
}

// The view's own drawing puts a sub-item's small image at the left of its cell and the text after it, on an ordinary
// row as on the selected row's picture; an index outside the list, or none, draws no image.
TEST_F(SkinListViewTest, DrawSkinDrawsSubItemImages) {
    constexpr COLORREF kFirst = RGB(210, 20, 120), kSecond = RGB(20, 150, 90);
    TImageList images(nullptr, 16, 16);
    for (COLORREF c : {kFirst, kSecond}) {
        TBitmap pic(16, 16, pf24bit);
        HBRUSH brush = CreateSolidBrush(c);
        RECT r{0, 0, 16, 16};
        FillRect(pic.Canvas()->Handle(), &r, brush);
        DeleteObject(brush);
        images.Add(&pic, nullptr);
    }
    TbsSkinListView* v = View(5);
    const int imageOf[] = {0, 1, 7, -1, 1};  // row 2: beyond the list
    v->OnData = [&imageOf](TObject*, TListItem* item) {
        item->SetCaption(L"Строка " + std::to_wstring(item->Index()));
        item->SubItems()->Add(L"ящик");
        item->SetSubItemImages(0, imageOf[item->Index()]);
    };
    v->SetSmallImages(&images);
    v->SetItemSkinDataName(L"viewitem");
    v->SetDrawSkin(true);
    v->SetItemIndex(4);
    v->UpdateItems(0, 4);
    Pump(20);
    const int rowH = RowHeight(v), top = HeaderHeight(v);
    ASSERT_GE(rowH, 16);
    auto img = Client(v);
    Shot(img.get(), L"listview_subitem_images");
    const int cell = 100 + 3;  // the second column's cell, narrowed by 3
    const COLORREF expected[] = {kFirst, kSecond, 0, 0, kSecond};
    for (int row = 0; row < 5; ++row) {
        SCOPED_TRACE(row);
        const int y = top + row * rowH;
        const TRect image{cell, y, cell + 16, y + 16};
        if (expected[row]) {
            EXPECT_EQ(CountColour(img.get(), image, expected[row]), 16 * 16);
        } else {
            EXPECT_EQ(CountColour(img.get(), image, kFirst) + CountColour(img.get(), image, kSecond), 0);
        }
        // The text's ink starts after the image (and its gap of 3) or at the cell's left.
        const COLORREF back = Px(img.get(), 175, y + rowH / 2);
        int ink = -1;
        for (int x = cell; x < 175 && ink < 0; ++x)
            for (int yy = y + 1; yy < y + rowH - 1; ++yy) {
                const COLORREF c = Px(img.get(), x, yy);
                if (c != kFirst && c != kSecond && c != back) {
                    ink = x;
                    break;
                }
            }
        ASSERT_GE(ink, 0) << "the sub-item's text shows";
        if (expected[row])
            EXPECT_GE(ink, cell + 16 + 3);
        else
            EXPECT_LT(ink, cell + 16 + 3);
    }
    v->SetSmallImages(nullptr);  // the list goes before the view
}

TEST_F(SkinListViewTest, DrawSkinOffRemovesAnyItemHandler) {
    TbsSkinListView* v = View(5);
    v->OnAdvancedCustomDrawItem = [](TCustomListView*, TListItem*, TCustomDrawState, TCustomDrawStage, bool&) {};
    v->SetDrawSkin(false);
    EXPECT_FALSE(v->OnAdvancedCustomDrawItem);
    v->SetDrawSkin(true);
    EXPECT_TRUE(v->OnAdvancedCustomDrawItem);
}

TEST_F(SkinListViewTest, ColoursOfTheEntryAndWithoutIt) {
    const std::wstring ini = FixtureVariant(L"lvwhite", [](std::string& s) {
        const size_t at = s.find("[listview]");
        ASSERT_NE(at, std::string::npos);
        std::string tail = s.substr(at);
        ReplaceValue(tail, "bgcolor", "16777215");
        ReplaceValue(tail, "fontcolor", "0");
        s = s.substr(0, at) + tail;
    });
    host_->data->LoadFromFile(ini);
    Pump(20);
    TbsSkinListView* v = View(5);
    EXPECT_EQ(Rgb(v->LineColor()), 0xDFDFDFu);
    EXPECT_EQ(Rgb(v->Color()), 0xFFFFFFu);
    v->SetSkinDataName(L"nolistview");
    v->SetDefaultColor(TColor(0x123456));
    v->ChangeSkinData();
    EXPECT_EQ(Rgb(v->Color()), 0x123456u);
    EXPECT_EQ(v->LineColor(), clBtnFace);
    EXPECT_EQ(v->Font()->Name(), L"Tahoma");
}

TEST_F(SkinListViewTest, NoNonClientAreaAndAnswersTheFrameRequest) {
    TbsSkinListView* v = View(5);
    RECT client{}, window{};
    GetClientRect(v->Handle(), &client);
    GetWindowRect(v->Handle(), &window);
    EXPECT_EQ(client.right, window.right - window.left);
    EXPECT_EQ(client.bottom, window.bottom - window.top);
    auto img = PaintInto(v->Width(), v->Height(), [v](HDC dc) {
        EXPECT_EQ(SendMessageW(v->Handle(), CM_SENCPAINT, reinterpret_cast<WPARAM>(dc), 0), 0x3233);
    });
    EXPECT_EQ(Px(img.get(), 5, 5), kListBack);
}

}  // namespace

namespace {

TEST_F(SkinListViewTest, AClickOnTheHeaderStillReachesTheView) {
    TbsSkinListView* v = View(5);
    int clicked = -1;
    v->OnColumnClick = [&](TObject*, TListColumn* c) { clicked = c->Index(); };
    HeaderMouse(v, 130, 5, MOUSEEVENTF_LEFTDOWN);
    HeaderMouse(v, 130, 5, MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(PumpUntil([&] { return clicked == 1; })) << clicked;
}

}  // namespace
