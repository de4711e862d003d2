// The skinned form on real windows under Wine (the session draws no native decorations, so the frame's own pixels
// read back from the screen): the take-over of the window procedure and its fixed answers, the client inset and hit
// codes from the skin, the window region from a mask, frame pixels active and inactive, the built-in frame, and the
// skin change walk over the form's controls.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "WindowTestUtil.h"
#include "classlib/WicCodec.h"
#include "SkinFormFixture.h"
#include "SkinTestPaths.h"
#include "skin/form/SkinForm.h"
#include "skin/form/SkinnedControl.h"

namespace {

using skintest::FixtureFolder;
using skintest::SetSkin;
using skintest::Widen;


std::wstring FixtureSkin() {
    return FixtureFolder() + L"\\skin.ini";
}

COLORREF PicturePixel(TBitmap* b, int x, int y) {
    return GetPixel(b->Canvas()->Handle(), x, y) & 0xFFFFFF;
}

// A control of the walk: counts its reloads.
class CountingControl : public TCustomControl, public IbsSkinnedControl {
  public:
    CountingControl(TComponent* owner, TbsSkinData* data) : TCustomControl(owner), data_(data) {}
    TbsSkinData* ControlSkinData() const override { return data_; }
    void BeforeChangeSkinData() override { ++before; }
    void ChangeSkinData() override { ++changes; }
    int before = 0, changes = 0;

  private:
    TbsSkinData* data_;
};

class SkinFormTest : public SkinFormFixture {
  protected:
    SkinFormTest() : SkinFormFixture(60, 60, 300, 200, L"Skinned form") {}
    int Hit(int x, int y) {
        const RECT r = WindowRect();
        return static_cast<int>(SendMessageW(h(), WM_NCHITTEST, 0, MAKELPARAM(r.left + x, r.top + y)));
    }
    TPoint ClientOrigin() {
        POINT p{0, 0};
        ClientToScreen(h(), &p);
        const RECT r = WindowRect();
        return TPoint{p.x - r.left, p.y - r.top};
    }
};

TEST_F(SkinFormTest, FixedAnswersAndNoNativeCaptionButtons) {
    Load(FixtureSkin());
    ShowForm();
    EXPECT_EQ(SendMessageW(h(), WM_QUERYSKINNEDFRAME, 0, 0), 12853);
    EXPECT_EQ(SendMessageW(h(), CM_BENCPAINT, 0, kBENCPaintKey), kBENCPaintKey);
    EXPECT_EQ(SendMessageW(h(), 1236, 0, 0), 0);
    const LONG_PTR style = GetWindowLongPtrW(h(), GWL_STYLE);
    EXPECT_EQ(style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    // Painting into a foreign DC answers with the frame's key.
    HDC mem = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SendMessageW(h(), CM_SENCPAINT, reinterpret_cast<WPARAM>(mem), 0), 12851);
    DeleteDC(mem);
}

TEST_F(SkinFormTest, WindowProcIsHandedBack) {
    TForm* other = new TForm(nullptr);
    int seen = 0;
    other->WindowProc = [other, &seen, base = other->WindowProc](TMessage& m) {
        if (m.Msg == WM_APP + 7)
            ++seen;
        base(m);
    };
    other->SetBounds(10, 10, 200, 120);
    auto* sf = new TbsSkinForm(other);
    EXPECT_EQ(SendMessageW(other->Handle(), WM_QUERYSKINNEDFRAME, 0, 0), 12853);
    SendMessageW(other->Handle(), WM_APP + 7, 0, 0);
    EXPECT_EQ(seen, 1);  // the form's own procedure still runs under the frame
    delete sf;
    EXPECT_EQ(SendMessageW(other->Handle(), WM_QUERYSKINNEDFRAME, 0, 0), 0);
    SendMessageW(other->Handle(), WM_APP + 7, 0, 0);
    EXPECT_EQ(seen, 2);
    delete other;
}

TEST_F(SkinFormTest, ClientInsetAndHitCodesFollowTheSkin) {
    Load(FixtureSkin());
    ShowForm();
    const TRect cl = data_->ClRect;
    const int pw = data_->FPicture->Width(), ph = data_->FPicture->Height();
    EXPECT_EQ(ClientOrigin(), (TPoint{cl.Left, cl.Top}));
    RECT cr{};
    GetClientRect(h(), &cr);
    EXPECT_EQ(cr.right, 300 - (pw - cl.Width()));
    EXPECT_EQ(cr.bottom, 200 - (ph - cl.Height()));
    EXPECT_EQ(Hit(150, 100), 1);
    EXPECT_EQ(Hit(40, 12), 2);
    const TRect close = skinForm_->ObjectRect(L"closebutton");
    ASSERT_GT(close.Width(), 0);
    EXPECT_GT(close.Left, 200);  // laid out at the right end of the wider window
    EXPECT_EQ(Hit(0, 0), 13);
    EXPECT_EQ(Hit(299, 199), 17);
    // A caption button lying over the caption text answers "object", not "caption".
    EXPECT_EQ(Hit((close.Left + close.Right) / 2, (close.Top + close.Bottom) / 2), 19);
}

TEST_F(SkinFormTest, CloseButtonPressAndRelease) {
    Load(FixtureSkin());
    ShowForm();
    TBitmap* buttons = data_->GetActivePicture(0);
    const TRect close = skinForm_->ObjectRect(L"closebutton");
    const int cx = (close.Left + close.Right) / 2, cy = (close.Top + close.Bottom) / 2;
    const RECT r = WindowRect();
    const LPARAM at = MAKELPARAM(r.left + cx, r.top + cy);
    // Close sits in row 0 of the button picture: normal, hot, pressed, inactive from the left, 16 pixels each.
    EXPECT_EQ(FramePixel(cx, cy), PicturePixel(buttons, 8, 8));

    // Press, move away past the poll, release elsewhere: nothing happens and the button looks normal again.
    SetCursorPos(r.left + cx, r.top + cy);
    SendMessageW(h(), WM_NCLBUTTONDOWN, 19, at);
    Pump(30);
    EXPECT_EQ(FramePixel(cx, cy), PicturePixel(buttons, 40, 8));
    SetCursorPos(r.left + 150, r.top + 120);
    Pump(150);
    SendMessageW(h(), WM_LBUTTONUP, 0, MAKELPARAM(150 - data_->ClRect.Left, 120 - data_->ClRect.Top));
    Pump(50);
    EXPECT_TRUE(IsWindowVisible(h()));
    EXPECT_EQ(FramePixel(cx, cy), PicturePixel(buttons, 8, 8));

    // Press and release on the button: the form closes.
    SetCursorPos(r.left + cx, r.top + cy);
    SendMessageW(h(), WM_NCLBUTTONDOWN, 19, at);
    SendMessageW(h(), WM_NCLBUTTONUP, 19, at);
    Pump(50);
    EXPECT_FALSE(IsWindowVisible(h()));
}

TEST_F(SkinFormTest, CaptionDoubleClickMaximisesToTheWorkAreaAndBack) {
    Load(FixtureSkin());
    ShowForm();
    const RECT before = WindowRect();
    const LPARAM at = MAKELPARAM(before.left + 40, before.top + 12);
    SendMessageW(h(), WM_NCLBUTTONDBLCLK, HTCAPTION, at);
    Pump(100);
    // The frame's own state: the window stays normal for the system and covers the work area.
    EXPECT_EQ(skinForm_->WindowState(), wsMaximized);
    EXPECT_FALSE(IsZoomed(h()));
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const RECT max = WindowRect();
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    // A work area as large as the screen leaves one pixel on every side.
    const int inset = EqualRect(&work, &screen) ? 1 : 0;
    EXPECT_EQ(max.left, work.left + inset);
    EXPECT_EQ(max.top, work.top + inset);
    EXPECT_EQ(max.right - max.left, work.right - work.left - 2 * inset);
    EXPECT_EQ(max.bottom - max.top, work.bottom - work.top - 2 * inset);
    // The maximised frame offers no sizing codes at its edges.
    EXPECT_EQ(Hit(0, 100), 19);
    const RECT r = WindowRect();
    SendMessageW(h(), WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(r.left + 40, r.top + 12));
    Pump(100);
    EXPECT_EQ(skinForm_->WindowState(), wsNormal);
    const RECT after = WindowRect();
    EXPECT_TRUE(EqualRect(&after, &before));
}

TEST_F(SkinFormTest, NotSizeableFormNeverAnswersSizingCodes) {
    form_->SetBorderStyle(bsSingle);
    Load(FixtureSkin());
    ShowForm();
    const RECT r = WindowRect();
    const int w = r.right - r.left, hgt = r.bottom - r.top;
    for (int x = 0; x < w; ++x)
        for (int y : {0, 1, 2, hgt - 3, hgt - 2, hgt - 1}) {
            const int code = Hit(x, y);
            ASSERT_TRUE(code < 10 || code > 17) << x << "," << y << " -> " << code;
        }
    for (int y = 0; y < hgt; ++y)
        for (int x : {0, 1, 2, w - 3, w - 2, w - 1}) {
            const int code = Hit(x, y);
            ASSERT_TRUE(code < 10 || code > 17) << x << "," << y << " -> " << code;
        }
}

TEST_F(SkinFormTest, FramePixelsActiveAndInactive) {
    Load(FixtureSkin());
    ShowForm();
    TBitmap* pic = data_->FPicture.get();
    TBitmap* inactive = data_->FInActivePicture.get();
    const int pw = pic->Width(), ph = pic->Height();
    EXPECT_EQ(SendMessageW(h(), WM_NCACTIVATE, TRUE, 0), 1);
    Pump(50);
    EXPECT_EQ(FramePixel(0, 0), PicturePixel(pic, 0, 0));
    EXPECT_EQ(FramePixel(299, 199), PicturePixel(pic, pw - 1, ph - 1));
    EXPECT_EQ(FramePixel(2, 100), PicturePixel(pic, 2, 50));  // the left edge
    EXPECT_EQ(SendMessageW(h(), WM_NCACTIVATE, FALSE, 0), 1);
    Pump(50);
    EXPECT_EQ(FramePixel(0, 0), PicturePixel(inactive, 0, 0));
    EXPECT_NE(PicturePixel(inactive, 0, 0), PicturePixel(pic, 0, 0));
    // The client background is the client part of the frame picture.
    EXPECT_EQ(FramePixel(150, 150), PicturePixel(pic, 50, 50));
}

// An activation change paints the new frame once, also when the caption's change of look has painted it already.
TEST_F(SkinFormTest, AnActivationChangePaintsTheFrameOnce) {
    Load(FixtureSkin());
    ShowForm();
    Pump(50);
    for (BOOL active : {FALSE, TRUE, FALSE, TRUE}) {
        SCOPED_TRACE(active ? "activated" : "deactivated");
        const std::uint64_t before = skinForm_->FramePaintCount();
        EXPECT_EQ(SendMessageW(h(), WM_NCACTIVATE, active, 0), 1);
        EXPECT_EQ(skinForm_->FramePaintCount(), before + 1);
        // The one paint is the new look.
        Pump(50);
        EXPECT_EQ(FramePixel(0, 0), PicturePixel(active ? data_->FPicture.get() : data_->FInActivePicture.get(), 0, 0));
    }
}

TEST_F(SkinFormTest, MaskedSkinShapesTheWindow) {
    Load(SetSkin(L"23_Trelm_Graphite"));
    ASSERT_TRUE(data_->FMask && !data_->FMask->Empty());
    ShowForm();
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(h(), rgn), COMPLEXREGION);
    const RECT r = WindowRect();
    const int w = r.right - r.left, hgt = r.bottom - r.top;
    EXPECT_FALSE(PtInRegion(rgn, 0, 0));
    EXPECT_FALSE(PtInRegion(rgn, w - 1, 0));
    EXPECT_TRUE(PtInRegion(rgn, w / 2, hgt / 2));
    DeleteObject(rgn);
    Shot(L"skinform_23");
}

TEST_F(SkinFormTest, SkinSwitchRelaysTheFrame) {
    Load(FixtureSkin());
    ShowForm();
    EXPECT_EQ(ClientOrigin(), (TPoint{data_->ClRect.Left, data_->ClRect.Top}));
    data_->LoadFromFile(SetSkin(L"81_Trelm_Blue"));
    Pump(100);
    ASSERT_FALSE(data_->Empty);
    EXPECT_EQ(ClientOrigin(), (TPoint{data_->ClRect.Left, data_->ClRect.Top}));
    EXPECT_EQ(Hit(150, 120), 1);
    Shot(L"skinform_81");
}

TEST_F(SkinFormTest, BuiltInFrameWithoutSkinData) {
    ShowForm();
    EXPECT_EQ(ClientOrigin(), (TPoint{3, 22}));
    EXPECT_EQ(Hit(1, 1), 13);
    EXPECT_EQ(Hit(150, 10), 2);
    EXPECT_EQ(Hit(150, 100), 1);
    MINMAXINFO mmi{};
    SendMessageW(h(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    EXPECT_EQ(mmi.ptMinTrackSize.x, 120);
    EXPECT_EQ(mmi.ptMinTrackSize.y, 25);
    EXPECT_EQ(FramePixel(0, 0), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(FramePixel(1, 100), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(FramePixel(2, 100), GetSysColor(COLOR_BTNFACE));
    Shot(L"skinform_builtin");
}

TEST_F(SkinFormTest, ChangeWalkReachesBoundControlsOnly) {
    Load(FixtureSkin());
    auto* foreign = new TbsSkinData(form_);
    auto* mine = new CountingControl(form_, data_);
    mine->SetParent(form_);
    auto* panel = new Box(form_);
    panel->SetParent(form_);
    auto* nested = new CountingControl(form_, data_);
    nested->SetParent(panel);
    auto* other = new CountingControl(form_, foreign);
    other->SetParent(form_);
    ShowForm();
    const TPoint origin = ClientOrigin();

    data_->LoadFromFile(FixtureSkin());
    Pump(50);
    EXPECT_EQ(mine->before, 1);
    EXPECT_EQ(mine->changes, 1);
    EXPECT_EQ(nested->changes, 1);
    EXPECT_EQ(other->changes, 0);

    // A change announced by a foreign container reaches its controls and leaves this frame alone.
    SendMessageW(h(), WM_CHANGESKINDATA, reinterpret_cast<WPARAM>(foreign), kSkinDataMessageParam);
    EXPECT_EQ(other->changes, 1);
    EXPECT_EQ(mine->changes, 1);
    EXPECT_TRUE(skinForm_->SkinSupport());
    EXPECT_EQ(ClientOrigin(), origin);

    // Without a container every skinned control is reloaded.
    TbsSkinForm::UpDateSkinControls(nullptr, form_);
    EXPECT_EQ(mine->changes, 2);
    EXPECT_EQ(other->changes, 2);
}

// A form whose window is not made yet follows a change of its container without having its window made for it: the
// change reaches its frame and its controls, and the window made later has the new skin's frame.
TEST_F(SkinFormTest, AFormWithoutAWindowFollowsAChangeWithoutMakingIt) {
    Load(FixtureSkin());
    auto* mine = new CountingControl(form_, data_);
    mine->SetParent(form_);
    ASSERT_FALSE(form_->HandleAllocated());
    data_->LoadFromFile(FixtureSkin());
    EXPECT_FALSE(form_->HandleAllocated());
    EXPECT_FALSE(mine->HandleAllocated());
    EXPECT_EQ(mine->before, 1);
    EXPECT_EQ(mine->changes, 1);
    EXPECT_TRUE(skinForm_->SkinSupport());
    EXPECT_FALSE(skinForm_->ObjectList.empty());
    ShowForm();
    if (!skinForm_->FullBorderShown())
        EXPECT_EQ(ClientOrigin(), (TPoint{data_->ClRect.Left, data_->ClRect.Top}));
    EXPECT_NE(SendMessageW(h(), WM_NCHITTEST, 0, MAKELPARAM(WindowRect().left + 5, WindowRect().top + 5)), HTCLIENT);
}

TEST_F(SkinFormTest, ClearingTheSkinGivesTheBuiltInFrame) {
    Load(FixtureSkin());
    ShowForm();
    data_->ClearSkin();
    Pump(50);
    EXPECT_FALSE(skinForm_->SkinSupport());
    EXPECT_EQ(ClientOrigin(), (TPoint{3, 22}));
}

}  // namespace
