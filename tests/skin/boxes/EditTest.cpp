// The skinned edits on real windows of one skinned host form (colour-coded fixture skin: "edit" frame 30,*,120 and
// hot 70,*,120, text area's middle 30,120,120; "buttonedit" with hot button 15,200,200): keys and clipboard as
// window messages, frame pixels through the frame-painting request into memory bitmaps, hover on the control seam.
#include <gtest/gtest.h>

#include <windowsx.h>

#include <memory>
#include <string>

#include "BoxTestSupport.h"
#include "ControlTestSupport.h"
#include "classlib/StdCtrls.h"
#include "classlib/SysUtils.h"
#include "skin/boxes/SkinEdit.h"
#include "skin/form/SkinMenu.h"
#include "skin/form/SkinPopupMenu.h"

namespace {

using namespace boxtest;
using namespace ctltest;

constexpr COLORREF kFrame = RGB(30, 20, 120), kHotFrame = RGB(70, 20, 120), kTextArea = RGB(30, 120, 120);

std::wstring WindowText(HWND w) {
    wchar_t buf[256] = {};
    SendMessageW(w, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(buf));
    return buf;
}

void KeyDown(HWND w, WORD Vk) {
    SendMessageW(w, WM_KEYDOWN, Vk, 1);
    SendMessageW(w, WM_KEYUP, Vk, 0xC0000001);
}

int TextMetricHeight(TFont* f) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, f->Handle());
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return tm.tmHeight;
}

// An edit on the host form; freed with the test.
template <class T>
struct OnHost {
    explicit OnHost(int Left = 20, int Top = 20, int Width = 120) {
        Host& h = SharedHost();
        e = new T(h.form);
        e->SetParent(h.form);
        e->SetBounds(Left, Top, Width, 20);
        e->Handle();
        Pump(20);
    }
    ~OnHost() { delete e; }
    T* operator->() { return e; }
    T* e;
};

// The native edit draws only its text into a DC it is given when its colour request answers a null brush and a
// transparent background: the edits' off-screen repaint stands on this.
class ProbeEdit : public TEdit {
  public:
    using TEdit::TEdit;
    void WndProc(TMessage& m) override {
        if (m.Msg == CN_CTLCOLOREDIT) {
            SetBkMode(reinterpret_cast<HDC>(m.WParam), TRANSPARENT);
            SetTextColor(reinterpret_cast<HDC>(m.WParam), RGB(0, 0, 0));
            m.Result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
            return;
        }
        TEdit::WndProc(m);
    }

  protected:
    void CreateParams(TCreateParams& p) override {
        TEdit::CreateParams(p);
        p.ExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
        p.Style |= ES_MULTILINE;
    }
};

TEST(SkinEdit, NativeEditDrawsItsTextTransparentlyIntoAMemoryDC) {
    OnHost<ProbeEdit> probe(20, 20, 120);
    probe->SetText(L"WWWW");
    const COLORREF fill = RGB(250, 10, 200);
    auto b = PaintInto(120, 20, [&](HDC dc) {
        SendMessageW(probe->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    }, fill);
    int text = 0, background = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 120; ++x) {
            const COLORREF c = Px(b.get(), x, y);
            text += GetRValue(c) < 100 && GetBValue(c) < 100;
            background += c == fill;
        }
    EXPECT_GT(text, 20);                 // the glyphs are there
    EXPECT_GT(background, 120 * 20 / 2);  // and the rest is untouched
}

TEST(SkinEdit, EnterAndEscReachKeyPressThenTheDefaultAndCancelButtons) {
    Host& h = SharedHost();
    OnHost<TbsSkinEdit> e;
    auto* ok = new TButton(h.form);
    ok->SetParent(h.form);
    ok->SetBounds(300, 200, 60, 24);
    ok->SetDefault(true);
    auto* cancel = new TButton(h.form);
    cancel->SetParent(h.form);
    cancel->SetBounds(300, 230, 60, 24);
    cancel->SetCancel(true);
    int oks = 0, cancels = 0;
    ok->OnClick = [&](TObject*) { ++oks; };
    cancel->OnClick = [&](TObject*) { ++cancels; };
    std::wstring seen;
    e->OnKeyPress = [&](TObject*, wchar_t& k) { seen += k; };
    e->SetText(L"name");
    e->SetFocus();
    Pump(20);
    KeyDown(e->Handle(), VK_RETURN);
    Type(e->Handle(), L"\r");
    Type(e->Handle(), L"\x1b");
    EXPECT_EQ(e->Text(), L"name");
    EXPECT_EQ(seen, L"\r\x1b");
    EXPECT_EQ(oks, 1);
    EXPECT_EQ(cancels, 1);
    // Ctrl+Enter's line feed never enters the text.
    Type(e->Handle(), L"\n");
    EXPECT_EQ(e->Text(), L"name");
    // The buttons stay with the form (freed with it), out of the way of the other tests.
    ok->SetDefault(false);
    cancel->SetCancel(false);
    ok->OnClick = nullptr;
    cancel->OnClick = nullptr;
    ok->SetVisible(false);
    cancel->SetVisible(false);
}

TEST(SkinEdit, PasteKeepsTheFirstLine) {
    OnHost<TbsSkinEdit> e;
    e->SetText(L"");
    SetClipboardText(L"a\r\nb");
    SendMessageW(e->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(e->Text(), L"a");
}

TEST(SkinEdit, ReadOnlyChangesNothingButCopies) {
    OnHost<TbsSkinEdit> e;
    e->SetText(L"secret");
    e->SetReadOnly(true);
    SetClipboardText(L"other");
    const struct {
        const char* what;
        std::function<void(HWND)> act;
    } cases[] = {
        {"typing", [](HWND w) { Type(w, L"x"); }},
        {"backspace", [](HWND w) { Type(w, L"\b"); }},
        {"delete", [](HWND w) { KeyDown(w, VK_DELETE); }},
        {"paste", [](HWND w) { SendMessageW(w, WM_PASTE, 0, 0); }},
        {"cut", [](HWND w) { SendMessageW(w, WM_CUT, 0, 0); }},
        {"clear", [](HWND w) { SendMessageW(w, WM_CLEAR, 0, 0); }},
        {"undo", [](HWND w) { SendMessageW(w, WM_UNDO, 0, 0); }},
    };
    for (const auto& c : cases) {
        e->SelectAll();
        c.act(e->Handle());
        EXPECT_EQ(e->Text(), L"secret") << c.what;
    }
    EXPECT_EQ(GetClipboardText(), L"other");
    e->SelectAll();
    Type(e->Handle(), L"\x03");  // Ctrl+C
    EXPECT_EQ(GetClipboardText(), L"secret");
}

TEST(SkinEdit, KeyboardMenuOpensAtTheCentreWithFixedCaptions) {
    OnHost<TbsSkinEdit> e(30, 40, 120);
    e->SetText(L"abc");
    e->SetReadOnly(true);
    e->SetFocus();
    e->SelectAll();
    SetClipboardText(L"x");
    SendMessageW(e->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(e->Handle()), MAKELPARAM(-1, -1));
    Pump(20);
    TbsSkinPopupMenu* m = e->SysPopupMenu();
    ASSERT_NE(m, nullptr);
    const TPoint o = e->ClientOrigin();
    EXPECT_EQ(m->PopupPoint(), (TPoint{o.X + e->Width() / 2, o.Y + e->Height() / 2}));
    const struct {
        const wchar_t* caption;
        bool enabled;
    } want[] = {{L"Undo", false}, {L"-", true},      {L"Cut", false}, {L"Copy", true},
                {L"Paste", false}, {L"Delete", false}, {L"-", true},   {L"Select All", false}};
    ASSERT_EQ(m->Items()->Count(), 8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(m->Items()->Items(i)->Caption(), want[i].caption) << i;
        if (want[i].caption[0] != L'-') {
            EXPECT_EQ(m->Items()->Items(i)->Enabled(), want[i].enabled) << i;
        }
    }
    // Copy runs from the menu; the skinned menu's after-run message frees it.
    m->Items()->Items(3)->Click();
    EXPECT_EQ(GetClipboardText(), L"abc");
    SendMessageW(e->Handle(), WM_AFTERDISPATCH, 0, 0);
    EXPECT_EQ(e->SysPopupMenu(), nullptr);
    Host& h = SharedHost();
    if (h.skinForm->SkinMenu()->Visible())
        h.skinForm->SkinMenuClose();
    Pump(20);
}

TEST(SkinEdit, BuiltInGeometry) {
    OnHost<TbsSkinEdit> e;
    e->SetSkinDataName(L"nosuchentry");
    e->SetBounds(20, 20, 100, 50);
    const int h = TextMetricHeight(e->Font()) + 6;
    EXPECT_EQ(e->Height(), h);
    e->SetButtonMode(true);
    e->Handle();
    e->SetBounds(20, 20, 100, 50);
    EXPECT_EQ(e->ButtonRect(), (TRect{100 - h, 0, 100, h}));
    EXPECT_EQ(e->EditRect(), (TRect{2, 2, 100 - h - 2, h - 2}));
    // The text answers as text, the button as the scroll-bar code the button presses arrive under.
    RECT wr;
    GetWindowRect(e->Handle(), &wr);
    EXPECT_EQ(SendMessageW(e->Handle(), WM_NCHITTEST, 0, MAKELPARAM(wr.left + 100 - h / 2, wr.top + h / 2)), HTHSCROLL);
    EXPECT_EQ(SendMessageW(e->Handle(), WM_NCHITTEST, 0, MAKELPARAM(wr.left + 20, wr.top + h / 2)), HTCLIENT);
}

TEST(SkinEdit, PushButtonClicksAtWidth100) {
    OnHost<TbsSkinEdit> e;
    e->SetSkinDataName(L"nosuchentry");
    e->SetButtonMode(true);
    e->SetBounds(20, 20, 100, 20);
    const int h = e->Height();
    EXPECT_EQ(e->ButtonRect(), (TRect{100 - h, 0, 100, h}));
    EXPECT_EQ(e->EditRect(), (TRect{2, 2, 100 - h - 2, h - 2}));
    int clicks = 0;
    e->OnButtonClick = [&](TObject*) { ++clicks; };
    SendMessageW(e->Handle(), WM_NCLBUTTONDOWN, HTHSCROLL, 0);
    EXPECT_TRUE(e->ButtonDown());
    SendMessageW(e->Handle(), WM_NCLBUTTONUP, HTHSCROLL, 0);
    EXPECT_FALSE(e->ButtonDown());
    EXPECT_EQ(clicks, 1);
}

TEST(SkinEdit, LeftImageMovesTheTextAndAnswersItsHitCode) {
    OnHost<TbsSkinEdit> e;
    RECT plain;
    SendMessageW(e->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&plain));
    TCustomImageList images(nullptr, 16, 16);
    TBitmap pic(16, 16);
    pic.Canvas()->Brush()->SetColor(clRed);
    pic.Canvas()->FillRect({0, 0, 16, 16});
    images.Add(&pic, nullptr);
    e->SetImages(&images);
    e->SetLeftImageIndex(0);
    RECT moved;
    SendMessageW(e->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&moved));
    EXPECT_EQ(moved.left - plain.left, 18);
    int clicks = 0;
    e->OnLeftButtonClick = [&](TObject*) { ++clicks; };
    POINT p{8, 5};
    ClientToScreen(e->Handle(), &p);
    EXPECT_EQ(SendMessageW(e->Handle(), WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)), kHitLeftImage);
    EXPECT_TRUE(e->LeftButton().MouseIn);
    SendMessageW(e->Handle(), WM_NCLBUTTONDOWN, kHitLeftImage, 0);
    SendMessageW(e->Handle(), WM_NCLBUTTONUP, kHitLeftImage, 0);
    EXPECT_EQ(clicks, 1);
    e->SetImages(nullptr);
}

TEST(SkinEdit, SkinnedFramePixelsAndHoverOnTheSeam) {
    FakeSeam seam;
    OnHost<TbsSkinEdit> e(20, 60, 100);
    e->SetSkinData(SharedHost().data);
    EXPECT_NE(e->SkinIndex(), -1);
    EXPECT_EQ(e->Height(), 20);  // the picture's height
    auto frame = [&] {
        return PaintInto(100, 20, [&](HDC dc) {
            EXPECT_EQ(SendMessageW(e->Handle(), CM_SENCPAINT, reinterpret_cast<WPARAM>(dc), 0), kSENCPaintResult);
        });
    };
    auto b = frame();
    EXPECT_EQ(Px(b.get(), 0, 0), kFrame);
    EXPECT_EQ(Px(b.get(), 99, 19), RGB(30, 220, 120));  // the right bottom corner stays at the end
    EXPECT_EQ(Px(b.get(), 50, 10), kTextArea);
    // Hover: the hit test enters, the poll on the seam leaves once the window is no longer under the cursor.
    seam.under = e->Handle();
    RECT wr;
    GetWindowRect(e->Handle(), &wr);
    SendMessageW(e->Handle(), WM_NCHITTEST, 0, MAKELPARAM(wr.left + 5, wr.top + 5));
    EXPECT_TRUE(e->MouseIn());
    EXPECT_EQ(Px(frame().get(), 0, 0), kHotFrame);
    EXPECT_EQ(e->Font()->Color(), static_cast<TColor>(RGB(0, 200, 0)));
    seam.Advance(300);
    EXPECT_TRUE(e->MouseIn());
    seam.under = nullptr;
    seam.Advance(100);
    EXPECT_FALSE(e->MouseIn());
    EXPECT_EQ(Px(frame().get(), 0, 0), kFrame);
    EXPECT_EQ(e->Font()->Color(), static_cast<TColor>(RGB(200, 0, 0)));
    // The client repaint puts the text area's picture under the text.
    auto client = PaintInto(e->ClientWidth(), e->ClientHeight(), [&](HDC dc) { e->DoPaint2(dc); });
    EXPECT_EQ(Px(client.get(), client->Width() - 1, client->Height() - 1), kTextArea);
    // CM_BENCPAINT answers only its key and leaves the text area out.
    auto bench = PaintInto(100, 20, [&](HDC dc) {
        EXPECT_EQ(SendMessageW(e->Handle(), CM_BENCPAINT, reinterpret_cast<WPARAM>(dc), kBENCPaintKey), kBENCPaintKey);
    });
    EXPECT_EQ(Px(bench.get(), 50, 10), RGB(1, 2, 3));
    EXPECT_EQ(Px(bench.get(), 0, 0), kFrame);
}

TEST(SkinEdit, SkinnedButtonMovesRightAndLightsWhenHot) {
    OnHost<TbsSkinEdit> e(20, 90, 100);
    e->SetSkinDataName(L"buttonedit");
    e->SetButtonMode(true);
    e->SetSkinData(SharedHost().data);
    e->SetBounds(20, 90, 100, 20);
    EXPECT_EQ(e->ButtonRect(), (TRect{84, 3, 97, 17}));
    EXPECT_EQ(e->EditRect(), (TRect{3, 3, 82, 17}));
    SendMessageW(e->Handle(), WM_NCMOUSEMOVE, HTHSCROLL, 0);
    EXPECT_TRUE(e->ButtonActive());
    auto b = PaintInto(100, 20, [&](HDC dc) { SendMessageW(e->Handle(), CM_SENCPAINT, reinterpret_cast<WPARAM>(dc), 0); });
    EXPECT_EQ(Px(b.get(), 90, 10), RGB(15, 200, 200));
    SendMessageW(e->Handle(), WM_NCLBUTTONDOWN, HTHSCROLL, 0);
    b = PaintInto(100, 20, [&](HDC dc) { SendMessageW(e->Handle(), CM_SENCPAINT, reinterpret_cast<WPARAM>(dc), 0); });
    EXPECT_EQ(Px(b.get(), 90, 10), RGB(15, 150, 200));
    SendMessageW(e->Handle(), WM_NCLBUTTONUP, HTHSCROLL, 0);
}

TEST(SkinEdit, PaintSkinToDrawsTheTextInTheSkinFont) {
    OnHost<TbsSkinEdit> e(20, 60, 100);
    e->SetSkinData(SharedHost().data);
    auto b = PaintInto(100, 20, [&](HDC dc) {
        TCanvas c;
        c.SetHandle(dc);
        e->PaintSkinTo(&c, 0, 0, L"WWW");
        c.SetHandle(nullptr);
    });
    EXPECT_EQ(Px(b.get(), 0, 0), kFrame);
    int red = 0;
    for (int y = 3; y < 17; ++y)
        for (int x = 3; x < 60; ++x) {
            const COLORREF c = Px(b.get(), x, y);
            red += GetRValue(c) > 150 && GetGValue(c) < 80;
        }
    EXPECT_GT(red, 10);
}

TEST(SkinNumEdit, TypingFilterAndArrows) {
    OnHost<TbsSkinNumEdit> e;
    const wchar_t savedSep = FormatSettings.DecimalSeparator;
    FormatSettings.DecimalSeparator = L',';
    int ups = 0, downs = 0;
    e->OnUpClick = [&](TObject*) { ++ups; };
    e->OnDownClick = [&](TObject*) { ++downs; };
    e->SetFocus();
    e->SetText(L"");
    Type(e->Handle(), L"-12");
    EXPECT_EQ(e->Text(), L"-12");
    Type(e->Handle(), L"-");
    EXPECT_EQ(e->Text(), L"-12");
    e->SetText(L"12");
    e->SelectAll();
    Type(e->Handle(), L"-");
    EXPECT_EQ(e->Text(), L"-");
    e->Float = true;
    e->SetText(L"1,5");
    e->SetSelStart(3);
    Type(e->Handle(), L",a");
    EXPECT_EQ(e->Text(), L"1,5");
    Type(e->Handle(), L"7");
    EXPECT_EQ(e->Text(), L"1,57");
    // Up and down step the owner and never move the caret.
    e->SetSelStart(1);
    KeyDown(e->Handle(), VK_UP);
    KeyDown(e->Handle(), VK_DOWN);
    EXPECT_EQ(ups, 1);
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(e->SelStart(), 1);
    // The wheel away from the user steps down.
    SendMessageW(e->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(downs, 2);
    SendMessageW(e->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(ups, 2);
    FormatSettings.DecimalSeparator = savedSep;
}

TEST(SkinMaskEdit, TimeMaskWithTheLocalesSeparator) {
    OnHost<TbsSkinMaskEdit> e;
    e->SetAlignment(taCenter);
    e->SetMaxLength(5);
    e->TimeSeparator = L':';
    e->SetEditMask(L"!90:00;1; ");
    e->SetFocus();
    e->SetSelStart(0);
    Type(e->Handle(), L"0930");
    EXPECT_EQ(e->EditText(), L"09:30");
    EXPECT_EQ(static_cast<TCustomMaskEdit*>(e.e)->Text(), L"09:30");
    EXPECT_NE(GetWindowLongW(e->Handle(), GWL_STYLE) & ES_CENTER, 0);
    // Enter still goes to the form, not into the mask.
    Type(e->Handle(), L"\r");
    EXPECT_EQ(e->EditText(), L"09:30");
    e->TimeSeparator = L'.';
    e->SetEditMask(L"!90:00;1; ");
    e->SetEditText(L"07.15");
    EXPECT_EQ(e->EditText(), L"07.15");
}

TEST(SkinEdit, WindowTextRoundTrips) {
    OnHost<TbsSkinEdit> e;
    SendMessageW(e->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"imap.example.org"));
    EXPECT_EQ(e->Text(), L"imap.example.org");
    EXPECT_EQ(WindowText(e->Handle()), L"imap.example.org");
}

}  // namespace
