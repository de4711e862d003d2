// Painting of a form with windowed and non-windowed controls, read back from the screen, and the parent
// background painted into a foreign device context.
#include <gtest/gtest.h>

#include <memory>

#include "classlib/Forms.h"
#include "tests/classlib/WindowTestUtil.h"

namespace {

class SolidBox : public TCustomControl {
  public:
    SolidBox(TComponent* owner, TColor c) : TCustomControl(owner), colour(c) {}
    TColor colour;
    int paints = 0;

  protected:
    void Paint() override {
        ++paints;
        Canvas()->Brush()->SetColor(colour);
        Canvas()->FillRect(ClientRect());
    }
};

// Opaque: fills its rectangle. Not opaque: draws a one-pixel frame and leaves the inside to the parent.
class SolidShape : public TGraphicControl {
  public:
    SolidShape(TComponent* owner, TColor c, bool opaque) : TGraphicControl(owner), colour(c) {
        TControlStyle s = ControlStyle();
        SetControlStyle(opaque ? s + csOpaque : s - csOpaque);
    }
    TColor colour;

  protected:
    void Paint() override {
        Canvas()->Brush()->SetColor(colour);
        if (ControlStyle().Contains(csOpaque))
            Canvas()->FillRect(ClientRect());
        else
            Canvas()->FrameRect(ClientRect());
    }
};

constexpr int kX = 300, kY = 250;

struct PaintForm {
    std::unique_ptr<TForm> form{new TForm(nullptr)};
    SolidShape* green;
    SolidShape* frame;
    SolidShape* yellow;
    SolidBox* navy;

    explicit PaintForm(bool doubleBuffered) {
        PlaceForm(form.get(), kX, kY, 200, 120);
        form->SetColor(clRed);
        form->SetDoubleBuffered(doubleBuffered);
        green = new SolidShape(form.get(), clLime, true);
        green->SetParent(form.get());
        green->SetBounds(10, 10, 40, 40);
        frame = new SolidShape(form.get(), clBlue, false);
        frame->SetParent(form.get());
        frame->SetBounds(60, 10, 40, 40);
        yellow = new SolidShape(form.get(), clYellow, true);
        yellow->SetParent(form.get());
        yellow->SetBounds(100, 30, 40, 40);
        navy = new SolidBox(form.get(), clNavy);
        navy->SetParent(form.get());
        navy->SetBounds(110, 10, 40, 40);  // a window: above every non-windowed control
        form->Show();
        Settle();
    }
    // Paints now and lets the system put the window's pixels on the screen.
    void Settle() {
        form->Update();
        Pump(80);
    }
};

TEST(FormPaint, WindowedAndNonWindowedControlsPaintInZOrder) {
    for (bool buffered : {false, true}) {
        PaintForm f(buffered);
        struct Probe {
            int x, y;
            TColor expected;
        } probes[] = {
            {5, 5, clRed},        // form background
            {30, 30, clLime},     // opaque shape
            {60, 30, clBlue},     // frame of the transparent shape
            {80, 30, clRed},      // inside the transparent shape: the form shows through
            {105, 60, clYellow},  // shape beside the window
            {120, 40, clNavy},    // where the window covers the shape
            {145, 20, clNavy},   {190, 110, clRed},
        };
        for (const Probe& p : probes)
            EXPECT_EQ(ScreenPixel(kX + p.x, kY + p.y), p.expected)
                << "buffered=" << buffered << " at " << p.x << "," << p.y;
        EXPECT_GT(f.navy->paints, 0);

        // Moving a shape repaints both places.
        f.green->SetLeft(20);
        f.Settle();
        EXPECT_EQ(ScreenPixel(kX + 12, kY + 30), clRed) << buffered;
        EXPECT_EQ(ScreenPixel(kX + 55, kY + 30), clLime) << buffered;
        f.green->SetVisible(false);
        f.Settle();
        EXPECT_EQ(ScreenPixel(kX + 30, kY + 30), clRed) << buffered;
    }
}

TEST(FormPaint, ParentBackgroundBehindAControlIntoAForeignDC) {
    PaintForm f(false);
    TMemoryDC dc(nullptr);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 40, -40, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    TGdiBitmap bmp(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    ASSERT_TRUE(bmp);
    dc.Select(bmp.Get());
    auto pixel = [&](int x, int y) { return GetPixel(dc, x, y); };

    // Behind the window: the form and every non-windowed control under it.
    f.form->PaintBackgroundBehind(f.navy, dc, Rect(0, 0, 40, 40));
    EXPECT_EQ(pixel(5, 25), clYellow);  // the yellow shape at (100..140, 30..70) seen from (110, 10)
    EXPECT_EQ(pixel(35, 5), clRed);
    EXPECT_EQ(pixel(25, 35), clYellow);
    EXPECT_EQ(pixel(35, 35), clRed);

    // Behind a non-windowed control: only what lies below it, not the control itself.
    HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    RECT all{0, 0, 40, 40};
    FillRect(dc, &all, white);
    f.form->PaintBackgroundBehind(f.yellow, dc, Rect(0, 0, 40, 40));
    EXPECT_EQ(pixel(5, 5), clRed);
    EXPECT_EQ(pixel(20, 20), clRed);

    // Only the asked part is painted, and the DC's origin and clipping come back unchanged.
    FillRect(dc, &all, white);
    f.form->PaintBackgroundBehind(f.navy, dc, Rect(0, 0, 10, 10));
    EXPECT_EQ(pixel(5, 5), clRed);
    EXPECT_EQ(pixel(20, 20), clWhite);
    POINT org;
    GetViewportOrgEx(dc, &org);
    EXPECT_EQ(org.x, 0);
    EXPECT_EQ(org.y, 0);
    dc.RestoreBitmap();
}

TEST(FormPaint, PaintingLeavesNoGdiHandlesBehind) {
    PaintForm f(true);
    const long before = LiveHandleCount();
    for (int i = 0; i < 20; ++i) {
        f.form->Repaint();
        f.navy->Repaint();
    }
    Pump(20);
    EXPECT_EQ(LiveHandleCount(), before);
}

}  // namespace
