// The windowed and windowless skinned control bases on real windows with the colour-coded fixture skin: the look per
// resize mode, the size rule through SetBounds and the skin change, the lookup by exact name, the window region from
// a mask, the forced background, the skin change walk over two forms and two containers, the centring in a host, and
// GDI handles after a create/paint/switch/destroy loop.
#include <gtest/gtest.h>

#include "ControlTestSupport.h"
#include "classlib/GdiHandles.h"
#include "skin/controls/ControlSkinning.h"
#include "skin/controls/GraphicSkinControl.h"
#include "skin/controls/SkinControl.h"

namespace {

using namespace ctltest;

// Colours of the fixture (legend.txt): slice i of an entry has green 20 + 25 i.
constexpr COLORREF Mode1(int slice) {
    return RGB(170, 20 + 25 * slice, 40);
}
enum { kLT, kTop, kRT, kLeft, kClient, kRight, kLB, kBottom, kRB };
constexpr COLORREF kMode0 = RGB(200, 120, 40);
constexpr COLORREF kMode2Left = RGB(140, 95, 40), kMode2Client = RGB(140, 120, 40), kMode2Right = RGB(140, 145, 40);
constexpr COLORREF kMode3Top = RGB(110, 45, 40), kMode3Client = RGB(110, 120, 40), kMode3Bottom = RGB(110, 195, 40);
constexpr COLORREF kMasked = RGB(90, 90, 40);

// The custom bases as a test sees them: counted reloads and the forced background switch.
class TProbe : public TbsSkinCustomControl {
  public:
    using TbsSkinCustomControl::TbsSkinCustomControl;
    void ChangeSkinData() override {
        ++changes;
        TbsSkinCustomControl::ChangeSkinData();
    }
    void ForceBackground(bool on) { FForceBackground = on; }
    bool emptyClient = false;
    int changes = 0;
    HRGN RegionHeld() const { return FRgn; }

  protected:
    void GetSkinData() override {
        TbsSkinCustomControl::GetSkinData();
        if (emptyClient)
            G.ClRect = {5, 5, 5, 15};  // no width: nothing to tile
    }
};

class TGraphicProbe : public TbsGraphicSkinCustomControl {
  public:
    using TbsGraphicSkinCustomControl::TbsGraphicSkinCustomControl;
    void ChangeSkinData() override {
        ++changes;
        TbsGraphicSkinCustomControl::ChangeSkinData();
    }
    int changes = 0;
};

// A parent that centres its children, as the skinned tool bar with AdjustControls does.
class TCentringHost : public TCustomControl, public IbsAdjustingHost {
  public:
    using TCustomControl::TCustomControl;
    bool AdjustsControls() const override { return true; }
    TRect SkinClientRect() const override { return {0, 0, 100, 25}; }
};

class SkinControlBases : public ::testing::Test {
  protected:
    void SetUp() override {
        host_ = &SharedHost();
        ReloadFixture();
    }
    template <typename T>
    T* Make(const wchar_t* name, int w, int h) {
        auto* c = new T(host_->form);
        c->SetParent(host_->form);
        c->SetSkinDataName(name);
        c->SetBounds(10, 10, w, h);
        c->SetSkinData(host_->data);
        owned_.push_back(c);
        return c;
    }
    void TearDown() override {
        for (TControl* c : owned_)
            delete c;
        owned_.clear();
    }
    template <typename T>
    std::unique_ptr<TBitmap> Paint(T* c) {
        return PaintInto(c->Width(), c->Height(), [c](HDC dc) { c->PaintTo(dc, 0, 0); });
    }
    Host* host_ = nullptr;
    std::vector<TControl*> owned_;
};

TEST_F(SkinControlBases, EachResizeModeDrawsAndSizesFromItsPicture) {
    auto* nine = Make<TProbe>(L"mode1", 60, 40);
    EXPECT_EQ(nine->ResizeMode(), rmBoth);
    EXPECT_EQ(TSize(nine->Width(), nine->Height()), TSize(60, 40));
    auto b = Paint(nine);
    const struct {
        int x, y, slice;
    } probes[] = {{1, 1, kLT},   {30, 2, kTop},      {58, 1, kRT},      {2, 20, kLeft}, {30, 20, kClient},
                  {58, 20, kRight}, {1, 38, kLB}, {30, 38, kBottom}, {58, 38, kRB}};
    for (const auto& p : probes)
        EXPECT_EQ(Px(b.get(), p.x, p.y), Mode1(p.slice)) << p.x << "," << p.y;
    EXPECT_EQ(nine->GetRealClientWidth(), 50);

    auto* across = Make<TProbe>(L"mode2", 60, 40);
    EXPECT_EQ(TSize(across->Width(), across->Height()), TSize(60, 12));
    b = Paint(across);
    EXPECT_EQ(Px(b.get(), 2, 6), kMode2Left);
    EXPECT_EQ(Px(b.get(), 30, 6), kMode2Client);
    EXPECT_EQ(Px(b.get(), 58, 6), kMode2Right);

    auto* down = Make<TGraphicProbe>(L"mode3", 60, 40);
    EXPECT_EQ(TSize(down->Width(), down->Height()), TSize(12, 40));
    b = Paint(down);
    EXPECT_EQ(Px(b.get(), 6, 2), kMode3Top);
    EXPECT_EQ(Px(b.get(), 6, 20), kMode3Client);
    EXPECT_EQ(Px(b.get(), 6, 38), kMode3Bottom);

    auto* fixed = Make<TGraphicProbe>(L"mode0", 60, 40);
    EXPECT_EQ(TSize(fixed->Width(), fixed->Height()), TSize(20, 10));
    fixed->SetBounds(0, 0, 300, 200);  // corrected back
    EXPECT_EQ(TSize(fixed->Width(), fixed->Height()), TSize(20, 10));
    b = Paint(fixed);
    EXPECT_EQ(CountColour(b.get(), {0, 0, 20, 10}, kMode0), 200);

    // No picture rectangle (mode -1): the size is left alone.
    auto* none = Make<TProbe>(L"modenone", 60, 40);
    EXPECT_EQ(none->ResizeMode(), rmNone);
    EXPECT_EQ(TSize(none->Width(), none->Height()), TSize(60, 40));
}

TEST_F(SkinControlBases, LookupIsExactAndNoEntryDrawsTheBuiltInLook) {
    // Only "Button" in the skin: a "button" control is unskinned and takes its default width at the skin change.
    TbsSkinData other(nullptr);
    other.LoadFromFile(FixtureVariant(L"capital", [](std::string& s) {
        ReplaceAll(s, "0=button:button", "0=Button:button");
        ReplaceAll(s, "[button]", "[Button]");
    }));
    ASSERT_FALSE(other.Empty);
    for (bool windowed : {true, false}) {
        SCOPED_TRACE(windowed ? "windowed" : "windowless");
        TControl* c = windowed ? static_cast<TControl*>(new TProbe(host_->form))
                               : static_cast<TControl*>(new TGraphicProbe(host_->form));
        owned_.push_back(c);
        c->SetParent(host_->form);
        c->SetBounds(10, 10, 40, 20);
        std::unique_ptr<TBitmap> b;
        if (auto* w = dynamic_cast<TProbe*>(c)) {
            w->SetSkinDataName(L"button");
            w->SetDefaultWidth(80);  // an entry-less control takes it at once
            w->SetSkinData(&other);
            EXPECT_EQ(w->SkinIndex(), -1);
            b = Paint(w);
        } else {
            auto* g = dynamic_cast<TGraphicProbe*>(c);
            g->SetSkinDataName(L"button");
            g->SetBounds(10, 10, 40, 20);
            g->SetDefaultWidth(80);
            g->SetSkinData(&other);
            EXPECT_EQ(g->SkinIndex(), -1);
            b = Paint(g);
        }
        EXPECT_EQ(c->Width(), 80);
        EXPECT_EQ(Px(b.get(), 20, 10), Sys(COLOR_BTNFACE));
        delete c;
        owned_.pop_back();
    }
}

TEST_F(SkinControlBases, ARenamedEntryShowsAtTheNextPaintAndTheSizeWaits) {
    auto* c = Make<TProbe>(L"mode1", 60, 40);
    c->SetSkinDataName(L"mode0");
    EXPECT_EQ(TSize(c->Width(), c->Height()), TSize(60, 40));
    auto b = Paint(c);
    EXPECT_EQ(Px(b.get(), 5, 5), kMode0);
    EXPECT_EQ(TSize(c->Width(), c->Height()), TSize(60, 40));
    c->ChangeSkinData();
    EXPECT_EQ(TSize(c->Width(), c->Height()), TSize(20, 10));
}

TEST_F(SkinControlBases, AnEntryOfAnotherKindDrawsTheBuiltInLookAndKeepsTheSize) {
    auto* c = Make<TProbe>(L"stdlabel", 60, 40);
    EXPECT_NE(c->SkinIndex(), -1);
    EXPECT_EQ(TSize(c->Width(), c->Height()), TSize(60, 40));
    c->SetBounds(0, 0, 70, 30);
    EXPECT_EQ(TSize(c->Width(), c->Height()), TSize(70, 30));
    auto b = Paint(c);
    EXPECT_EQ(Px(b.get(), 35, 15), Sys(COLOR_BTNFACE));
}

TEST_F(SkinControlBases, AMaskGivesARegionAndAnEntryWithoutOneRemovesIt) {
    auto* c = Make<TProbe>(L"masked", 60, 40);
    ASSERT_TRUE(c->HandleAllocated());
    EXPECT_EQ(TSize(c->Width(), c->Height()), TSize(20, 20));
    TGdiRegion rgn(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(c->Handle(), rgn.Get()), ERROR);
    EXPECT_FALSE(PtInRegion(rgn.Get(), 2, 2));  // white mask pixel
    EXPECT_FALSE(PtInRegion(rgn.Get(), 4, 4));
    EXPECT_TRUE(PtInRegion(rgn.Get(), 5, 2));
    EXPECT_TRUE(PtInRegion(rgn.Get(), 10, 10));
    EXPECT_TRUE(PtInRegion(rgn.Get(), 19, 19));
    // The same entry in a skin without the mask: the region goes.
    TbsSkinData plain(nullptr);
    plain.LoadFromFile(FixtureVariant(L"nomask", [](std::string& s) {
        ReplaceAll(s, "maskpictureindex=2", "maskpictureindex=-1");
    }));
    c->SetSkinData(&plain);
    EXPECT_EQ(GetWindowRgn(c->Handle(), rgn.Get()), ERROR);
    EXPECT_EQ(c->RegionHeld(), nullptr);
    c->SetSkinData(host_->data);
    EXPECT_NE(GetWindowRgn(c->Handle(), rgn.Get()), ERROR);
    // An out-of-range mask index is no mask.
    TbsSkinData broken(nullptr);
    broken.LoadFromFile(FixtureVariant(L"badmask", [](std::string& s) {
        ReplaceAll(s, "maskpictureindex=2", "maskpictureindex=99");
    }));
    c->SetSkinData(&broken);
    EXPECT_EQ(GetWindowRgn(c->Handle(), rgn.Get()), ERROR);
    c->SetSkinData(host_->data);
}

TEST_F(SkinControlBases, AWindowlessControlPaintsItsWholeRectangle) {
    auto* c = Make<TGraphicProbe>(L"masked", 60, 40);
    auto b = Paint(c);
    EXPECT_EQ(CountColour(b.get(), {0, 0, 20, 20}, kMasked), 400);
}

TEST_F(SkinControlBases, ForcedBackgroundTilesTheClientAndAnEmptyClientDrawsNone) {
    auto* c = new TProbe(host_->form);
    owned_.push_back(c);
    c->ForceBackground(true);
    c->SetParent(host_->form);
    c->SetSkinDataName(L"mode1");
    c->SetBounds(0, 0, 60, 40);
    c->SetSkinData(host_->data);
    auto b = Paint(c);
    EXPECT_EQ(Px(b.get(), 30, 20), Mode1(kClient));
    EXPECT_EQ(Px(b.get(), 54, 34), Mode1(kClient));  // the last tile, cut
    EXPECT_EQ(Px(b.get(), 1, 1), Mode1(kLT));
    EXPECT_EQ(Px(b.get(), 30, 2), Mode1(kTop));
    EXPECT_EQ(Px(b.get(), 58, 20), Mode1(kRight));
    EXPECT_EQ(Px(b.get(), 30, 38), Mode1(kBottom));
    c->emptyClient = true;
    b = Paint(c);
    EXPECT_EQ(Px(b.get(), 20, 20), RGB(1, 2, 3));
}

TEST_F(SkinControlBases, ASkinChangeReachesControlsOfItsContainerOnEveryForm) {
    // A second skinned form with a container of its own.
    TForm* second = new TForm(nullptr);
    second->SetBounds(480, 40, 200, 150);
    auto* secondSkin = new TbsSkinForm(second);
    auto* otherData = new TbsSkinData(second);
    otherData->LoadFromFile(FixtureSkin());
    secondSkin->SetSkinData(otherData);
    second->Show();
    Pump(50);
    auto mk = [](TWinControl* parent, TbsSkinData* data) {
        auto* p = new TProbe(parent);
        p->SetParent(parent);
        p->SetSkinDataName(L"mode1");
        p->SetSkinData(data);
        p->changes = 0;
        return p;
    };
    TProbe* a = mk(host_->form, host_->data);   // form 1, container 1
    TProbe* b = mk(host_->form, otherData);     // form 1, container 2
    TProbe* c = mk(second, host_->data);        // form 2, container 1
    auto* g = new TGraphicProbe(second);       // form 2, windowless, container 1
    g->SetParent(second);
    g->SetSkinDataName(L"mode1");
    g->SetSkinData(host_->data);
    g->changes = 0;
    host_->data->LoadFromFile(FixtureSkin());
    EXPECT_EQ(a->changes, 1);
    EXPECT_EQ(b->changes, 0);
    EXPECT_EQ(c->changes, 1);
    EXPECT_EQ(g->changes, 1);
    otherData->LoadFromFile(FixtureSkin());
    EXPECT_EQ(a->changes, 1);
    EXPECT_EQ(b->changes, 1);
    delete a;
    delete b;
    delete second;
    Pump(30);
}

TEST_F(SkinControlBases, AHostThatCentresPlacesTheControlInItsMiddle) {
    auto* hostCtl = new TCentringHost(host_->form);
    owned_.push_back(hostCtl);
    hostCtl->SetParent(host_->form);
    hostCtl->SetBounds(0, 100, 100, 25);
    auto* w = new TProbe(hostCtl);
    w->SetParent(hostCtl);
    w->SetBounds(5, 10, 30, 20);
    EXPECT_EQ(w->Top(), 2);
    auto* g = new TGraphicProbe(hostCtl);
    g->SetParent(hostCtl);
    g->SetBounds(40, 0, 30, 20);
    EXPECT_EQ(g->Top(), 2);
    // Elsewhere the top stays as given.
    auto* free = Make<TProbe>(L"mode1", 30, 20);
    free->SetBounds(5, 10, 30, 20);
    EXPECT_EQ(free->Top(), 10);
}

TEST_F(SkinControlBases, CreatePaintSwitchDestroyLeavesNoGdiHandles) {
    auto cycle = [this] {
        auto* c = Make<TProbe>(L"masked", 20, 20);
        auto* g = Make<TGraphicProbe>(L"mode1", 60, 40);
        c->Repaint();
        host_->form->Repaint();
        Paint(c);
        Paint(g);
        host_->data->LoadFromFile(FixtureSkin());
        c->Repaint();
        TearDown();
        Pump(10);
    };
    cycle();  // first use: lazily made system objects
    const long start = LiveHandleCount(THandleKind::Gdi);
    for (int i = 0; i < 5; ++i)
        cycle();
    EXPECT_EQ(LiveHandleCount(THandleKind::Gdi), start);
}

}  // namespace
