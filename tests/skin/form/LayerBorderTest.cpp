// The layered border on real windows under Wine: a test skin built here (the colour-coded fixture plus a 420 x 340
// layer frame around the client (10, 30, 410, 330)), the windows' places, sizes and alpha read back through a recording
// seam on the layered-window update, moves without rebuilds, the inactive look, click-through, hit modes, sizing and
// moving by real mouse input, the full border's caption objects and its safety check, and pictures of the set's
// layer-frame skins (written when TRELM_SHOTS names a folder).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>

#include "WindowTestUtil.h"
#include "classlib/ImgList.h"
#include "classlib/StdCtrls.h"
#include "classlib/WicCodec.h"
#include "skin/core/SkinBitmap.h"
#include "skin/core/SkinUtils.h"
#include "skin/form/LayerBorder.h"
#include "skin/form/QuickButtons.h"
#include "SkinFormFixture.h"
#include "SkinTestPaths.h"
#include "skin/form/SkinForm.h"

namespace {

using skintest::FixtureFolder;
using skintest::SetSkin;
using skintest::Widen;

// ---- The recording seam
// -----------------------------------------------------------------------------------------------
struct LayeredCall {
    HWND wnd;
    int cx, cy, alpha;
};
std::vector<LayeredCall> gCalls;
decltype(TSystemBindings::UpdateLayeredWindow) gRealUpdate = nullptr;

BOOL WINAPI RecordUpdate(HWND wnd,
                         HDC dst,
                         POINT* pt,
                         SIZE* size,
                         HDC src,
                         POINT* srcPt,
                         COLORREF key,
                         BLENDFUNCTION* blend,
                         DWORD flags) {
    gCalls.push_back({wnd, size ? size->cx : 0, size ? size->cy : 0, blend ? blend->SourceConstantAlpha : -1});
    return gRealUpdate ? gRealUpdate(wnd, dst, pt, size, src, srcPt, key, blend, flags) : FALSE;
}

TSystemBindings Recording() {
    TSystemBindings b = SystemBindings();
    gRealUpdate = b.UpdateLayeredWindow;
    b.UpdateLayeredWindow = RecordUpdate;
    return b;
}

// ---- The test skin
// ----------------------------------------------------------------------------------------------------
void SaveBitmap(const std::wstring& file, int w, int h, const std::function<COLORREF(int, int)>& color) {
    TBitmap b(w, h);
    HDC dc = b.Canvas()->Handle();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            SetPixelV(dc, x, y, color(x, y));
    b.SaveToFile(file);
}

bool InRect(int x, int y, const TRect& r) {
    return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
}

// The colour-coded fixture with a layer frame; Overrides replace keys of [LAYERFRAME]. Returns the ini file.
std::wstring MakeSkin(const std::wstring& name, const std::map<std::wstring, std::wstring>& Overrides) {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    const std::wstring dir = std::wstring(tmp) + L"layerborder_" + name;
    CreateDirectoryW(dir.c_str(), nullptr);
    for (const wchar_t* f : {L"skin.ini", L"frame.bmp", L"frame_inactive.bmp", L"capbuttons.bmp", L"controls.bmp"})
        CopyFileW((FixtureFolder() + L"\\" + f).c_str(), (dir + L"\\" + f).c_str(), FALSE);
    const TRect border{4, 4, 416, 336}, soft{0, 0, 420, 340};
    SaveBitmap(dir + L"\\layer.bmp", 420, 340, [](int, int) { return RGB(200, 40, 40); });
    SaveBitmap(dir + L"\\layer_inactive.bmp", 420, 340, [](int, int) { return RGB(40, 40, 200); });
    // Opaque inside the border rectangle, a half-transparent rim outside it.
    SaveBitmap(dir + L"\\layermask.bmp", 420, 340, [&](int x, int y) {
        if (InRect(x, y, border))
            return RGB(255, 255, 255);
        return InRect(x, y, soft) ? RGB(128, 128, 128) : RGB(0, 0, 0);
    });
    std::map<std::wstring, std::wstring> keys = {
        {L"pictureindex", L"2"},
        {L"maskpictureindex", L"3"},
        {L"inactivepictureindex", L"4"},
        {L"inactivemaskpictureindex", L"3"},
        {L"lefttoppoint", L"30,30"},
        {L"righttoppoint", L"390,30"},
        {L"leftbottompoint", L"30,330"},
        {L"rightbottompoint", L"390,330"},
        {L"clientrect", L"10,30,410,330"},
        {L"alphablendvalue", L"200"},
        {L"inactivealphablendvalue", L"150"},
        {L"borderrect", L"4,4,416,336"},
        {L"hittestrect", L"2,2,418,338"},
        {L"hittestenable", L"1"},
        {L"fullborder", L"0"},
        {L"hittestsize", L"5"},
        {L"captionrect", L"10,4,300,30"},
        {L"hittestlefttoppoint", L"20,40"},
        {L"hittestrighttoppoint", L"400,40"},
        {L"hittestleftbottompoint", L"20,320"},
        {L"hittestrightbottompoint", L"400,320"},
    };
    for (const auto& [k, v] : Overrides)
        keys[k] = v;
    const std::wstring ini = dir + L"\\skin.ini";
    WritePrivateProfileStringW(L"PICTURES", L"activepicturescount", L"5", ini.c_str());
    WritePrivateProfileStringW(L"PICTURES", L"2", L"layer.bmp", ini.c_str());
    WritePrivateProfileStringW(L"PICTURES", L"3", L"layermask.bmp", ini.c_str());
    WritePrivateProfileStringW(L"PICTURES", L"4", L"layer_inactive.bmp", ini.c_str());
    for (const auto& [k, v] : keys)
        WritePrivateProfileStringW(L"LAYERFRAME", k.c_str(), v.c_str(), ini.c_str());
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, ini.c_str());
    return ini;
}

RECT WindowRectOf(TWinControl* w) {
    RECT r{};
    GetWindowRect(w->Handle(), &r);
    return r;
}

// Real mouse input: the cursor to p, then the given button flags (0: just a move there).
void MouseAt(TPoint p, DWORD buttonFlags = 0) {
    SetCursorPos(p.X, p.Y);
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_MOVE;  // no distance: a WM_MOUSEMOVE where the cursor now is
    in[1].mi.dwFlags = buttonFlags;
    SendInput(buttonFlags ? 2 : 1, in, sizeof(INPUT));
    Pump(60);
}

// A drag by real input through the given points.
void Drag(std::initializer_list<TPoint> points) {
    auto it = points.begin();
    MouseAt(*it, MOUSEEVENTF_LEFTDOWN);
    for (++it; it != points.end(); ++it)
        MouseAt(*it);
    MouseAt(*(points.end() - 1), MOUSEEVENTF_LEFTUP);
}

class LayerBorderTest : public SkinFormFixture {
  protected:
    LayerBorderTest() : SkinFormFixture(200, 150, 400, 300, L"Layered border") {}
    void SetUp() override {
        gCalls.clear();
        SkinFormFixture::SetUp();
    }
    void ShowForm() {
        SkinFormFixture::ShowForm();
        Pump(50);  // the border's windows follow the form's first show
    }
    TbsFormLayerBorder* Border() { return skinForm_->BorderLayer(); }
    TbsFormLayerWindow* Win(TbsFormLayerBorderType t) { return Border()->Window(t); }
    int CallsFor(TbsFormLayerBorderType t) {
        int n = 0;
        for (const auto& c : gCalls)
            n += c.wnd == Win(t)->Handle();
        return n;
    }
    LayeredCall LastFor(TbsFormLayerBorderType t) {
        for (auto it = gCalls.rbegin(); it != gCalls.rend(); ++it)
            if (it->wnd == Win(t)->Handle())
                return *it;
        return LayeredCall{nullptr, 0, 0, -1};
    }
};

TEST_F(LayerBorderTest, NoLayerFrameShowsNoBorderWindow) {
    Load(FixtureFolder() + L"\\skin.ini");
    ShowForm();
    EXPECT_FALSE(Border()->Visible());
    EXPECT_TRUE(PumpUntil([] { return FindWindowW(L"TbsFormLayerWindow", nullptr) == nullptr; }));
}

TEST_F(LayerBorderTest, WindowsSitAroundTheFormWithTheFramesAlpha) {
    TSystemBindingsOverride seam(Recording());
    Load(MakeSkin(L"plain", {}));
    ShowForm();
    ASSERT_TRUE(Border()->Visible());
    EXPECT_NE(FindWindowW(L"TbsFormLayerWindow", nullptr), nullptr);
    const RECT top = WindowRectOf(Win(bsflTop));
    EXPECT_EQ(top.left, 190);
    EXPECT_EQ(top.top, 120);
    EXPECT_EQ(top.right - top.left, 420);
    EXPECT_EQ(WindowRectOf(Win(bsflBottom)).bottom, 460);
    EXPECT_EQ(WindowRectOf(Win(bsflRight)).right, 610);
    EXPECT_EQ(WindowRectOf(Win(bsflLeft)).left, 190);
    for (auto t : {bsflTop, bsflBottom, bsflLeft, bsflRight})
        EXPECT_TRUE(IsWindowVisible(Win(t)->Handle())) << int(t);
    const LayeredCall c = LastFor(bsflTop);
    EXPECT_EQ(c.cx, 420);
    EXPECT_EQ(c.cy, 30);
    EXPECT_EQ(c.alpha, 200);
    // The image carries the frame with the mask's alpha: opaque inside the border rectangle, half outside it.
    TbsBitmap* img = Border()->Image(bsflTop);
    EXPECT_EQ(img->GetPixel(20, 10) >> 24, 255u);
    EXPECT_NEAR(static_cast<int>(img->GetPixel(20, 1) >> 24), 128, 2);
    // The form fades to 128: the frame's 200 becomes 100.
    Border()->CheckFormAlpha(128, true);
    EXPECT_EQ(LastFor(bsflTop).alpha, 100);
    EXPECT_EQ(LastFor(bsflLeft).alpha, 100);
}

TEST_F(LayerBorderTest, AMoveMovesTheWindowsWithoutRebuilding) {
    TSystemBindingsOverride seam(Recording());
    Load(MakeSkin(L"plain", {}));
    ShowForm();
    const std::size_t before = gCalls.size();
    form_->SetBounds(230, 170, 400, 300);
    Pump(100);
    EXPECT_EQ(WindowRectOf(Win(bsflTop)).left, 220);
    EXPECT_EQ(WindowRectOf(Win(bsflTop)).top, 140);
    EXPECT_EQ(WindowRectOf(Win(bsflRight)).right, 640);
    EXPECT_EQ(WindowRectOf(Win(bsflBottom)).bottom, 480);
    EXPECT_EQ(gCalls.size(), before);
    // A new size rebuilds the images at the new width.
    form_->SetBounds(230, 170, 450, 300);
    Pump(100);
    EXPECT_GT(gCalls.size(), before);
    EXPECT_EQ(LastFor(bsflTop).cx, 470);
}

TEST_F(LayerBorderTest, DeactivationRebuildsFromTheInactivePicture) {
    TSystemBindingsOverride seam(Recording());
    Load(MakeSkin(L"plain", {}));
    ShowForm();
    EXPECT_EQ(Border()->Image(bsflTop)->GetPixel(20, 10) & 0xFFFFFF, 0xC82828u);  // red, active
    TForm other(nullptr);
    other.SetBounds(700, 500, 120, 80);
    other.Show();
    SetForegroundWindow(other.Handle());
    ASSERT_TRUE(PumpUntil([&] { return !Border()->Active(); }));
    EXPECT_EQ(Border()->Image(bsflTop)->GetPixel(20, 10) & 0xFFFFFF, 0x2828C8u);  // blue, inactive
    EXPECT_EQ(LastFor(bsflTop).alpha, 150);
    SetForegroundWindow(form_->Handle());
    ASSERT_TRUE(PumpUntil([&] { return Border()->Active(); }));
    EXPECT_EQ(LastFor(bsflTop).alpha, 200);
}

TEST_F(LayerBorderTest, FadeInRaisesTheAlphaStepByStep) {
    TSystemBindingsOverride seam(Recording());
    Load(MakeSkin(L"plain", {}));
    ShowForm();
    Border()->Hide();
    DWORD now = 0;
    // A step at every other reading; the waits do not move the clock.
    Border()->FadeClock = {[&now] { return now += 3; }, [](std::uint32_t) {}};
    gCalls.clear();
    Border()->ShowWithFormAnimation();
    std::vector<int> alphas;
    for (const auto& c : gCalls)
        if (c.wnd == Win(bsflTop)->Handle())
            alphas.push_back(c.alpha);
    // Shown at 0, then 200 / 15 = 13 a step, the last step capped at 200.
    ASSERT_EQ(alphas.size(), 17u);
    EXPECT_EQ(alphas.front(), 0);
    EXPECT_EQ(alphas[1], 13);
    EXPECT_EQ(alphas[15], 195);
    EXPECT_EQ(alphas.back(), 200);
    EXPECT_EQ(Border()->CurrentAlpha(), 200);
}

TEST_F(LayerBorderTest, AFormShorterThanTheBandsHidesTheSides) {
    TSystemBindingsOverride seam(Recording());
    // Bands of 100 rows each, a form of 100: the whole border is 140 high.
    Load(MakeSkin(L"tall", {{L"lefttoppoint", L"30,100"},
                            {L"righttoppoint", L"390,100"},
                            {L"leftbottompoint", L"30,240"},
                            {L"rightbottompoint", L"390,240"}}));
    form_->SetBounds(200, 150, 400, 100);
    ShowForm();
    ASSERT_TRUE(Border()->Visible());
    ASSERT_EQ(WindowRect().bottom - WindowRect().top, 100);
    EXPECT_EQ(Border()->Image(bsflTop)->Height(), 100);
    EXPECT_EQ(Border()->Image(bsflBottom)->Height(), 40);
    EXPECT_EQ(LastFor(bsflBottom).cy, 40);
    EXPECT_FALSE(IsWindowVisible(Win(bsflLeft)->Handle()));
    EXPECT_FALSE(IsWindowVisible(Win(bsflRight)->Handle()));
    EXPECT_EQ(WindowRectOf(Win(bsflBottom)).bottom, 150 - 30 + 140);
}

TEST_F(LayerBorderTest, NullBorderAndHitRectanglesLetTheMouseThrough) {
    TForm below(nullptr);
    PlaceForm(&below, 150, 100, 500, 400);
    below.Show();
    Pump(50);
    Load(MakeSkin(L"through", {{L"borderrect", L"0,0,0,0"}, {L"hittestrect", L"0,0,0,0"}}));
    ShowForm();
    ASSERT_TRUE(Border()->Visible());
    const LONG_PTR ex = GetWindowLongPtrW(Win(bsflTop)->Handle(), GWL_EXSTYLE);
    EXPECT_TRUE(ex & WS_EX_TRANSPARENT);
    // An opaque point of the top window: the click goes to the window below.
    EXPECT_EQ(WindowFromPoint(POINT{300, 130}), below.Handle());
    EXPECT_EQ(WindowFromPoint(POINT{195, 300}), below.Handle());
    EXPECT_EQ(Border()->Sizes(), TbsLayerSizes{});
}

TEST_F(LayerBorderTest, HitTestingBorderWindowsTakeTheMouse) {
    Load(MakeSkin(L"plain", {}));
    ShowForm();
    EXPECT_EQ(WindowFromPoint(POINT{300, 130}), Win(bsflTop)->Handle());
    EXPECT_FALSE(GetWindowLongPtrW(Win(bsflTop)->Handle(), GWL_EXSTYLE) & WS_EX_TRANSPARENT);
    EXPECT_EQ(Win(bsflTop)->GetHitMode(300, 125), bsflhTop);
    EXPECT_EQ(Win(bsflTop)->GetHitMode(195, 130), bsflhTopLeft);
    EXPECT_EQ(Win(bsflBottom)->GetHitMode(600, 452), bsflhBottomRight);
    EXPECT_EQ(Win(bsflLeft)->GetHitMode(195, 300), bsflhLeft);
    EXPECT_EQ(Win(bsflRight)->GetHitMode(607, 300), bsflhNone);
}

TEST_F(LayerBorderTest, DraggingTheEdgesSizesTheForm) {
    Load(MakeSkin(L"plain", {}));
    ShowForm();
    Drag({{605, 300}, {615, 300}, {625, 300}});
    RECT r = WindowRect();
    EXPECT_EQ(r.right - r.left, 420);
    EXPECT_EQ(r.left, 200);
    EXPECT_EQ(WindowRectOf(Win(bsflRight)).right, 630);
    // The bottom edge down by 20.
    Drag({{400, 453}, {400, 463}, {400, 473}});
    r = WindowRect();
    EXPECT_EQ(r.bottom - r.top, 320);
    EXPECT_EQ(WindowRectOf(Win(bsflBottom)).bottom, 480);
    // A click on the border never takes the foreground from the form.
    MouseAt({195, 300}, MOUSEEVENTF_LEFTDOWN);
    MouseAt({195, 300}, MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(GetForegroundWindow(), form_->Handle());
    EXPECT_FALSE(skinForm_->FBorderLayerChangeSize);
}

TEST_F(LayerBorderTest, TheLeftEdgeAtMinimumWidthAndACornerBeyondItsBand) {
    Load(MakeSkin(L"plain", {}));
    const int minW = skinForm_->GetMinWidth();
    form_->SetBounds(200, 150, minW, 300);
    ShowForm();
    ASSERT_EQ(WindowRect().right - WindowRect().left, minW);
    // Inwards at the minimum: nothing changes.
    Drag({{196, 300}, {206, 300}, {216, 300}});
    RECT r = WindowRect();
    EXPECT_EQ(r.left, 200);
    EXPECT_EQ(r.right - r.left, minW);
    // The top-left corner: first right (the width cannot shrink), then up and left with the cursor beyond the left
    // band: only the height grows.
    Drag({{196, 126}, {236, 126}, {226, 116}});
    r = WindowRect();
    EXPECT_EQ(r.left, 200);
    EXPECT_EQ(r.right - r.left, minW);
    EXPECT_EQ(r.top, 140);
    EXPECT_EQ(r.bottom - r.top, 310);
}

// A visible form switched to a skin with a full border goes inside its old outer bounds (the border's frame where
// the old frame was, no strip of client added), and back again when the next skin has none.
TEST_F(LayerBorderTest, SwitchingToAndFromAFullBorderKeepsTheOuterBounds) {
    Load(FixtureFolder() + L"\\skin.ini");
    ShowForm();
    const RECT outer = WindowRect();
    Load(MakeSkin(L"full", {{L"fullborder", L"1"}}));
    Pump(100);
    ASSERT_TRUE(skinForm_->FullBorderShown());
    const TbsLayerSizes& s = Border()->Sizes();
    const RECT inner = WindowRect();
    EXPECT_EQ(inner.left, outer.left + s.LeftSize);
    EXPECT_EQ(inner.top, outer.top + s.TopSize);
    EXPECT_EQ(inner.right, outer.right - s.RightSize);
    EXPECT_EQ(inner.bottom, outer.bottom - s.BottomSize);
    Load(FixtureFolder() + L"\\skin.ini");
    Pump(100);
    ASSERT_FALSE(skinForm_->FullBorderShown());
    const RECT back = WindowRect();
    EXPECT_EQ(back.left, outer.left);
    EXPECT_EQ(back.top, outer.top);
    EXPECT_EQ(back.right, outer.right);
    EXPECT_EQ(back.bottom, outer.bottom);
}

TEST_F(LayerBorderTest, CaptionDragMovesAndRestoresAMaximisedFullBorderForm) {
    Load(MakeSkin(L"full", {{L"fullborder", L"1"}}));
    ShowForm();
    ASSERT_TRUE(skinForm_->FullBorderShown());
    // The form is only its client area; the caption is in the top window.
    EXPECT_EQ(SendMessageW(form_->Handle(), WM_NCHITTEST, 0, MAKELPARAM(300, 160)), HTCLIENT);
    Drag({{250, 135}, {260, 145}, {280, 155}});
    RECT r = WindowRect();
    EXPECT_EQ(r.left, 230);
    EXPECT_EQ(r.top, 170);
    EXPECT_EQ(WindowRectOf(Win(bsflTop)).left, 220);

    skinForm_->SetWindowState(wsMaximized);
    Pump(150);
    ASSERT_EQ(skinForm_->WindowState(), wsMaximized);
    const RECT top = WindowRectOf(Win(bsflTop));
    const TPoint press{(top.left + top.right) / 2 - 100, top.top + 18};
    Drag({press, {press.X, press.Y + 10}, {press.X, press.Y + 20}});
    EXPECT_EQ(skinForm_->WindowState(), wsNormal);
    r = WindowRect();
    EXPECT_EQ(r.right - r.left, 400);
    EXPECT_NEAR((r.left + r.right) / 2, press.X, 2);
}

TEST_F(LayerBorderTest, FullBorderObjectsHoverAndTheSafetyCheck) {
    Load(MakeSkin(L"full", {{L"fullborder", L"1"}}));
    ShowForm();
    ASSERT_TRUE(skinForm_->FullBorderShown());
    // The close button is the rightmost object of the top image.
    const auto& objs = Border()->LayerObjects();
    int close = -1;
    for (std::size_t i = 0; i < objs.size(); ++i)
        if (objs[i].Kind == fokStdButton && objs[i].Command == cmClose && objs[i].Visible)
            close = static_cast<int>(i);
    ASSERT_NE(close, -1);
    const RECT top = WindowRectOf(Win(bsflTop));
    const TRect cr = objs[static_cast<std::size_t>(close)].ObjectRect;
    MouseAt({top.left + (cr.Left + cr.Right) / 2, top.top + (cr.Top + cr.Bottom) / 2});
    EXPECT_EQ(Border()->ActiveObject, close);
    EXPECT_TRUE(Border()->MouseTimerOf()->Enabled());
    EXPECT_EQ(Border()->MouseTimerOf()->Interval(), 500u);
    // The mouse is elsewhere and no leave message came: the next tick deactivates the object.
    Border()->WindowUnderCursor = [] { return GetDesktopWindow(); };
    EXPECT_EQ(Border()->ActiveObject, close);
    Border()->MouseTimerOf()->OnTimer(nullptr);
    EXPECT_EQ(Border()->ActiveObject, -1);
    EXPECT_FALSE(Border()->MouseTimerOf()->Enabled());
}

// The close button's click closes the form from the top window's own handler: the window goes after it returns.
TEST_F(LayerBorderTest, ClickOnTheCloseButtonClosesTheFormFromTheBorder) {
    Load(MakeSkin(L"full", {{L"fullborder", L"1"}}));
    ShowForm();
    ASSERT_TRUE(skinForm_->FullBorderShown());
    const auto& objs = Border()->LayerObjects();
    int close = -1;
    for (std::size_t i = 0; i < objs.size(); ++i)
        if (objs[i].Kind == fokStdButton && objs[i].Command == cmClose && objs[i].Visible)
            close = static_cast<int>(i);
    ASSERT_NE(close, -1);
    const RECT top = WindowRectOf(Win(bsflTop));
    const TRect cr = objs[static_cast<std::size_t>(close)].ObjectRect;
    const TPoint p{top.left + (cr.Left + cr.Right) / 2, top.top + (cr.Top + cr.Bottom) / 2};
    MouseAt(p);
    MouseAt(p, MOUSEEVENTF_LEFTDOWN);
    MouseAt(p, MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(form_->Handle()); }));
    EXPECT_FALSE(Border()->Visible());
    EXPECT_TRUE(PumpUntil([] { return FindWindowW(L"TbsFormLayerWindow", nullptr) == nullptr; }));
}

// A quick button in the top image: hot under the pointer, pressed and released over it it clicks; the caption
// around it still drags.
TEST_F(LayerBorderTest, QuickButtonInTheTopImageClicks) {
    TImageList images(nullptr, 16, 16);
    TBitmap glyph(16, 16);
    images.Add(&glyph, nullptr);
    skinForm_->SetQuickImageList(&images);
    TbsQuickButtonItem* b = skinForm_->QuickButtons()->Add();
    b->SetImageIndex(0);
    int clicks = 0;
    b->OnClick = [&clicks](TObject*) { ++clicks; };
    Load(MakeSkin(L"full", {{L"fullborder", L"1"}}));
    ShowForm();
    ASSERT_TRUE(skinForm_->FullBorderShown());
    Border()->UpdateBorder();
    Pump(40);
    ASSERT_FALSE(IsNullRect(b->ItemRect));
    const RECT top = WindowRectOf(Win(bsflTop));
    const TPoint p{top.left + (b->ItemRect.Left + b->ItemRect.Right) / 2,
                   top.top + (b->ItemRect.Top + b->ItemRect.Bottom) / 2};
    MouseAt(p);
    EXPECT_TRUE(b->Active);
    MouseAt(p, MOUSEEVENTF_LEFTDOWN);
    EXPECT_TRUE(b->FDown);
    MouseAt(p, MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(b->FDown);
    skinForm_->QuickButtons()->Clear();
    skinForm_->SetQuickImageList(nullptr);
}

TEST_F(LayerBorderTest, DoubleClickOnTheSystemButtonClosesTheForm) {
    Load(MakeSkin(L"full", {{L"fullborder", L"1"}}));
    ShowForm();
    ASSERT_TRUE(skinForm_->FullBorderShown());
    const auto& objs = Border()->LayerObjects();
    int sys = -1;
    for (std::size_t i = 0; i < objs.size(); ++i)
        if (objs[i].Kind == fokStdButton && objs[i].Command == cmSysMenu && objs[i].Visible)
            sys = static_cast<int>(i);
    ASSERT_NE(sys, -1);
    const RECT top = WindowRectOf(Win(bsflTop));
    const TRect sr = objs[static_cast<std::size_t>(sys)].ObjectRect;
    const TPoint p{top.left + (sr.Left + sr.Right) / 2, top.top + (sr.Top + sr.Bottom) / 2};
    MouseAt(p);
    MouseAt(p, MOUSEEVENTF_LEFTDOWN);
    MouseAt(p, MOUSEEVENTF_LEFTUP);
    MouseAt(p, MOUSEEVENTF_LEFTDOWN);
    MouseAt(p, MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(form_->Handle()); }));
    EXPECT_FALSE(Border()->Visible());
    EXPECT_TRUE(PumpUntil([] { return FindWindowW(L"TbsFormLayerWindow", nullptr) == nullptr; }));
}

// The border as a compositing desktop shows it (Wine's screen does not blend layered windows): the four images blended
// over the backdrop colour at their places, the form's own pixels from the screen on top, as a PNG.
void ComposedShot(const std::wstring& name, TbsFormLayerBorder* B, TCustomForm* Form, const RECT& r, COLORREF back) {
    const char* dir = std::getenv("TRELM_SHOTS");
    if (!dir)
        return;
    TbsBitmap out;
    out.SetSize(r.right - r.left, r.bottom - r.top);
    out.Clear(0xFF000000u | (GetRValue(back) << 16) | (GetGValue(back) << 8) | GetBValue(back));
    B->DrawShown(&out, r.left, r.top);
    RECT f{};
    GetWindowRect(Form->Handle(), &f);
    HDC screen = GetDC(nullptr);
    BitBlt(out.DC(), f.left - r.left, f.top - r.top, f.right - f.left, f.bottom - f.top, screen, f.left, f.top,
           SRCCOPY);
    ReleaseDC(nullptr, screen);
    GdiFlush();
    std::vector<std::uint32_t> px(out.Bits(), out.Bits() + static_cast<size_t>(out.Width()) * out.Height());
    for (auto& p : px)
        p |= 0xFF000000u;
    std::ofstream((Widen(dir) + L"\\" + name + L".png").c_str(), std::ios::binary)
        << EncodePng(px.data(), out.Width(), out.Height());
}

// Each layer-frame skin of the set around a notifier-like form: the frame sits right around the form.
TEST_F(LayerBorderTest, SetSkinsShowTheirBorderAroundTheForm) {
    // A grey backdrop, so that the frame's soft edges show against something.
    TForm backdrop(nullptr);
    PlaceForm(&backdrop, 100, 60, 700, 560);
    backdrop.SetColor(static_cast<TColor>(RGB(120, 130, 140)));
    backdrop.Show();
    auto* label = new TLabel(form_);
    label->SetParent(form_);
    label->SetBounds(16, 16, 360, 20);
    label->SetCaption(L"Новых писем: 3 — Входящие (Inbox)");
    auto* check = new TButton(form_);
    check->SetParent(form_);
    check->SetBounds(16, 48, 140, 28);
    check->SetCaption(L"Проверить почту");
    form_->SetCaption(L"Trelm Mail — уведомления");
    const struct {
        const wchar_t* folder;
        const wchar_t* shot;
    } skins[] = {
        {L"23_Trelm_Graphite", L"23_graphite"}, {L"81_Trelm_Blue", L"81_blue"}, {L"31_Trelm_Teal", L"31_teal_full"}};
    // Takes the activation away from the form, clear of the picture.
    TForm other(nullptr);
    other.SetBounds(820, 640, 100, 60);
    bool first = true;
    for (const auto& s : skins) {
        data_->LoadFromFile(SetSkin(s.folder));
        ASSERT_FALSE(data_->Empty) << s.folder;
        if (first)
            skinForm_->SetSkinData(data_);
        first = false;
        form_->SetBounds(250, 180, 400, 260);
        ShowForm();
        ASSERT_TRUE(Border()->Visible()) << s.folder;
        const RECT f = WindowRect();
        const TRect o = LayerOuterRect(Border()->Geom(), TRect{f.left, f.top, f.right, f.bottom}, false);
        EXPECT_EQ(WindowRectOf(Win(bsflTop)).left, o.Left) << s.folder;
        EXPECT_EQ(WindowRectOf(Win(bsflTop)).top, o.Top) << s.folder;
        EXPECT_EQ(WindowRectOf(Win(bsflBottom)).bottom, o.Bottom) << s.folder;
        EXPECT_EQ(WindowRectOf(Win(bsflRight)).right, o.Right) << s.folder;
        EXPECT_EQ(Border()->FullBorder(), std::wstring(s.folder) == L"31_Trelm_Teal");
        Pump(200);
        const RECT around{o.Left - 12, o.Top - 12, o.Right + 12, o.Bottom + 12};
        ShotOfScreen(s.shot, around);
        ComposedShot(std::wstring(s.shot) + L"_composed", Border(), form_, around, RGB(120, 130, 140));
        // Inactive: the other picture and alpha; the form's own pixels stay its client's (no frame painted in it).
        const COLORREF corner = ScreenPixel(f.left + 3, f.top + 3);
        other.Show();
        SetForegroundWindow(other.Handle());
        EXPECT_TRUE(PumpUntil([&] { return !Border()->Active(); })) << s.folder;
        Pump(150);
        if (Border()->FullBorder())
            EXPECT_EQ(ScreenPixel(f.left + 3, f.top + 3), corner) << s.folder;
        ShotOfScreen(std::wstring(s.shot) + L"_inactive", around);
        ComposedShot(std::wstring(s.shot) + L"_inactive_composed", Border(), form_, around, RGB(120, 130, 140));
        other.Hide();
    }
    Load(MakeSkin(L"plain", {}));
    form_->SetBounds(200, 150, 400, 300);
    ShowForm();
    ShotOfScreen(L"testskin", RECT{178, 108, 622, 472});
}

}  // namespace
