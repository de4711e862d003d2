// The caption objects of the skinned form on real windows under Wine, read back from the screen: a caption button's
// normal, hot, pressed and inactive pictures, its mask deciding the hit, the cross-fade reaching the hot picture
// for every transition kind, the caption text cut with "..." to its area, a frame strip without frames, and the
// objects painted into the top image of a full layered border.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <vector>

#include "SkinFormFixture.h"
#include "SkinTestPaths.h"
#include "WindowTestUtil.h"
#include "classlib/WicCodec.h"
#include "skin/core/SkinBitmap.h"
#include "skin/core/SkinUtils.h"
#include "skin/form/LayerBorder.h"
#include "skin/form/SkinForm.h"
#include "skin/form/SkinFormObjects.h"

namespace {

using skintest::FixtureFolder;
using skintest::Widen;

using TSections = std::map<std::wstring, std::map<std::wstring, std::wstring>>;

void WritePicture(const std::wstring& file, int w, int h, const std::function<COLORREF(int, int)>& color) {
    TBitmap b(w, h);
    HDC dc = b.Canvas()->Handle();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            SetPixelV(dc, x, y, color(x, y));
    b.SaveToFile(file);
}

// The colour-coded fixture in a folder of its own with Keys written over its ini (section -> key -> value).
std::wstring FixtureVariant(const std::wstring& name, const TSections& Keys) {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    const std::wstring dir = std::wstring(tmp) + L"captions_" + name;
    CreateDirectoryW(dir.c_str(), nullptr);
    for (const wchar_t* f : {L"skin.ini", L"frame.bmp", L"frame_inactive.bmp", L"capbuttons.bmp", L"controls.bmp"})
        CopyFileW((FixtureFolder() + L"\\" + f).c_str(), (dir + L"\\" + f).c_str(), FALSE);
    // Picture 2: a 16 x 16 mask, black (on the object) in its left half only.
    WritePicture(dir + L"\\halfmask.bmp", 16, 16, [](int x, int) { return x < 8 ? RGB(0, 0, 0) : RGB(255, 255, 255); });
    const std::wstring ini = dir + L"\\skin.ini";
    WritePrivateProfileStringW(L"PICTURES", L"activepicturescount", L"3", ini.c_str());
    WritePrivateProfileStringW(L"PICTURES", L"2", L"halfmask.bmp", ini.c_str());
    for (const auto& [section, keys] : Keys)
        for (const auto& [k, v] : keys)
            WritePrivateProfileStringW(section.c_str(), k.c_str(), v.c_str(), ini.c_str());
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, ini.c_str());
    return ini;
}

COLORREF PicturePixel(TBitmap* b, int x, int y) {
    return GetPixel(b->Canvas()->Handle(), x, y) & 0xFFFFFF;
}

class CaptionObjectsTest : public SkinFormFixture {
  protected:
    CaptionObjectsTest() : SkinFormFixture(80, 80, 320, 200, L"Caption objects") {}
    void ShowForm() {
        SkinFormFixture::ShowForm();
        SendMessageW(h(), WM_NCACTIVATE, TRUE, 0);
        Pump(30);
    }
    TPoint Centre(const std::wstring& name) {
        const TRect r = skinForm_->ObjectRect(name);
        return TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }
    // The cursor to frame point p and the frame's mouse move there.
    void HoverAt(TPoint p) {
        const RECT r = WindowRect();
        SetCursorPos(r.left + p.X, r.top + p.Y);
        SendMessageW(h(), WM_NCMOUSEMOVE, 19, MAKELPARAM(r.left + p.X, r.top + p.Y));
        Pump(30);
    }
    int Hit(TPoint p) {
        const RECT r = WindowRect();
        return static_cast<int>(SendMessageW(h(), WM_NCHITTEST, 0, MAKELPARAM(r.left + p.X, r.top + p.Y)));
    }
    TBitmap* Buttons() { return data_->GetActivePicture(0); }
};

// Row 0 of the button picture is the close button: normal, hot, pressed and inactive pictures from the left.
TEST_F(CaptionObjectsTest, CloseButtonNormalHotPressedInactive) {
    Load(FixtureFolder() + L"\\skin.ini");
    ShowForm();
    const TPoint c = Centre(L"closebutton");
    EXPECT_EQ(FramePixel(c.X, c.Y), PicturePixel(Buttons(), 8, 8));
    Shot(L"caption_buttons_normal");
    HoverAt(c);
    ASSERT_NE(skinForm_->ActiveObjectIndex(), -1);
    EXPECT_EQ(skinForm_->ObjectList[static_cast<std::size_t>(skinForm_->ActiveObjectIndex())]->IDName, L"closebutton");
    EXPECT_EQ(FramePixel(c.X, c.Y), PicturePixel(Buttons(), 24, 8));
    EXPECT_TRUE(skinForm_->MouseTimerOf()->Enabled());
    Shot(L"caption_buttons_hot");
    const RECT r = WindowRect();
    SendMessageW(h(), WM_NCLBUTTONDOWN, 19, MAKELPARAM(r.left + c.X, r.top + c.Y));
    Pump(30);
    EXPECT_EQ(FramePixel(c.X, c.Y), PicturePixel(Buttons(), 40, 8));
    Shot(L"caption_buttons_pressed");
    // Released off the button (the poll saw the cursor leave): no command, the normal picture again.
    SetCursorPos(r.left + 150, r.top + 120);
    ASSERT_TRUE(PumpUntil([&] { return skinForm_->ActiveObjectIndex() == -1; }));
    SendMessageW(h(), WM_LBUTTONUP, 0, 0);
    Pump(30);
    EXPECT_TRUE(IsWindowVisible(h()));
    EXPECT_EQ(skinForm_->MouseCaptureObjectIndex(), -1);
    EXPECT_EQ(FramePixel(c.X, c.Y), PicturePixel(Buttons(), 8, 8));
    SendMessageW(h(), WM_NCACTIVATE, FALSE, 0);
    Pump(30);
    EXPECT_EQ(FramePixel(c.X, c.Y), PicturePixel(Buttons(), 56, 8));
    Shot(L"caption_buttons_inactive");
}

TEST_F(CaptionObjectsTest, TheMaskDecidesTheHit) {
    Load(FixtureVariant(L"mask", {{L"closebutton", {{L"activemaskpictureindex", L"2"}}}}));
    ShowForm();
    const TRect r = skinForm_->ObjectRect(L"closebutton");
    ASSERT_EQ(r.Width(), 16);
    EXPECT_EQ(Hit({r.Left + 3, r.Top + 8}), 19);
    EXPECT_NE(Hit({r.Left + 12, r.Top + 8}), 19);
    auto hot = [&] {
        const int i = skinForm_->ActiveObjectIndex();
        return i == -1 ? std::wstring() : skinForm_->ObjectList[static_cast<std::size_t>(i)]->IDName;
    };
    HoverAt({r.Left + 12, r.Top + 8});
    EXPECT_NE(hot(), L"closebutton");
    HoverAt({r.Left + 3, r.Top + 8});
    EXPECT_EQ(hot(), L"closebutton");
}

// Every transition kind ends on the hot picture when hovered and back on the normal one when left.
TEST_F(CaptionObjectsTest, MorphReachesTheTargetPicture) {
    for (const wchar_t* kind : {L"mkdefault", L"mkgradient", L"mkleftgradient", L"mkrightgradient", L"mkleftslide",
                                L"mkrightslide", L"mkpush"}) {
        SCOPED_TRACE(kind);
        Load(FixtureVariant(std::wstring(L"morph_") + kind,
                            {{L"closebutton", {{L"morphing", L"1"}, {L"morphkind", kind}}}}));
        ShowForm();
        TbsActiveSkinObject* close = skinForm_->FindObject(L"closebutton");
        ASSERT_NE(close, nullptr);
        ASSERT_TRUE(close->EnableMorphing());
        const TPoint c = Centre(L"closebutton");
        HoverAt(c);
        // Under load the whole morph may run within the hover's own pumping: started is enough here.
        EXPECT_TRUE(PumpUntil([&] { return skinForm_->MorphTimerOf()->Enabled() || close->MorphKf() > 0; }));
        ASSERT_TRUE(PumpUntil([&] { return close->MorphKf() == 1 && !skinForm_->MorphTimerOf()->Enabled(); }));
        Pump(30);
        EXPECT_EQ(FramePixel(c.X, c.Y), PicturePixel(Buttons(), 24, 8));
        HoverAt({150, 120});
        ASSERT_TRUE(PumpUntil([&] { return close->MorphKf() == 0 && !skinForm_->MorphTimerOf()->Enabled(); }));
        Pump(30);
        EXPECT_EQ(FramePixel(c.X, c.Y), PicturePixel(Buttons(), 8, 8));
    }
}

TEST_F(CaptionObjectsTest, LongCaptionIsCutWithDotsToItsArea) {
    const std::wstring title = L"Входящие письма: проверка почтового ящика и напоминания на сегодня";
    form_->SetCaption(title);
    Load(FixtureFolder() + L"\\skin.ini");
    ShowForm();
    auto* cap = dynamic_cast<TbsSkinCaptionObject*>(skinForm_->FindObject(L"caption"));
    ASSERT_NE(cap, nullptr);
    SendMessageW(h(), WM_NCPAINT, 1, 0);
    const std::wstring& painted = cap->PaintedText();
    ASSERT_GT(painted.size(), 3u);
    EXPECT_EQ(painted.substr(painted.size() - 3), L"...");
    EXPECT_EQ(title.compare(0, painted.size() - 3, painted, 0, painted.size() - 3), 0);
    // The cut text fits the text area as the caption's own font measured it, and the whole title would not.
    EXPECT_GT(cap->PaintedArea(), 0);
    EXPECT_LE(cap->PaintedWidth(), cap->PaintedArea());
    EXPECT_GT(cap->PaintedArea(), cap->PaintedWidth() - 40);
    Shot(L"caption_text_cut_cyrillic");
    // Wide enough, the whole title shows.
    form_->SetCaption(L"Почта");
    SendMessageW(h(), WM_NCPAINT, 1, 0);
    EXPECT_EQ(cap->PaintedText(), L"Почта");
    Shot(L"caption_text_cyrillic");
}

// A maximise button on a maximised form shows its restore picture (here the tray row's) and the skin's restore hint
// (the form's default hints are off: they would replace it).
TEST_F(CaptionObjectsTest, MaximiseButtonShowsItsRestoreLookWhileMaximised) {
    skinForm_->UseDefaultObjectHint = false;
    Load(FixtureVariant(L"restore", {{L"maxbutton",
                                      {{L"restorerect", L"0,64,16,80"},
                                       {L"restoreactiverect", L"16,64,32,80"},
                                       {L"restorehint", L"restore"}}}}));
    ShowForm();
    TPoint c = Centre(L"maxbutton");
    EXPECT_EQ(FramePixel(c.X, c.Y), PicturePixel(Buttons(), 8, 24));
    ShowWindow(h(), SW_MAXIMIZE);
    Pump(100);
    SendMessageW(h(), WM_NCPAINT, 1, 0);
    c = Centre(L"maxbutton");
    EXPECT_EQ(FramePixel(c.X, c.Y), PicturePixel(Buttons(), 8, 72));
    HoverAt(c);
    TbsActiveSkinObject* max = skinForm_->FindObject(L"maxbutton");
    EXPECT_EQ(max->Hint, L"restore");
    EXPECT_EQ(FramePixel(c.X, c.Y), PicturePixel(Buttons(), 24, 72));
    ShowWindow(h(), SW_RESTORE);
    Pump(100);
}

// Activation plays the caption's strip forwards once; with InActiveAnimation deactivation plays it back to none.
TEST_F(CaptionObjectsTest, CaptionStripPlaysOnActivation) {
    Load(FixtureVariant(L"strip", {{L"caption",
                                    {{L"activepictureindex", L"0"},
                                     {L"animateskinrect", L"0,0,64,16"},
                                     {L"framecount", L"4"},
                                     {L"animateinterval", L"50"},
                                     {L"inactiveanimation", L"1"}}}}));
    ShowForm();
    auto* cap = dynamic_cast<TbsSkinCaptionObject*>(skinForm_->FindObject(L"caption"));
    ASSERT_NE(cap, nullptr);
    ASSERT_TRUE(cap->EnableAnimation());
    EXPECT_EQ(cap->GetAnimationFrameRect(2), (TRect{16, 0, 32, 16}));
    SendMessageW(h(), WM_NCACTIVATE, FALSE, 0);
    ASSERT_TRUE(PumpUntil([&] { return !skinForm_->AnimateTimerOf()->Enabled(); }));
    EXPECT_EQ(cap->CurrentFrame, 0);
    SendMessageW(h(), WM_NCACTIVATE, TRUE, 0);
    EXPECT_TRUE(cap->Active);
    EXPECT_EQ(cap->CurrentFrame, 1);
    // The first frame is taken before the first pumping: under load a tick can be due by then, and the frame the
    // activation set would be missed.
    std::vector<int> seen{cap->CurrentFrame};
    ASSERT_TRUE(PumpUntil([&] {
        if (seen.empty() || seen.back() != cap->CurrentFrame)
            seen.push_back(cap->CurrentFrame);
        return !skinForm_->AnimateTimerOf()->Enabled();
    }));
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4, 5}));
    SendMessageW(h(), WM_NCACTIVATE, FALSE, 0);
    EXPECT_EQ(cap->CurrentFrame, 4);
    ASSERT_TRUE(PumpUntil([&] { return !skinForm_->AnimateTimerOf()->Enabled(); }));
    EXPECT_EQ(cap->CurrentFrame, 0);
}

// A frame strip of no frames (caption and animated button) neither divides by its count nor plays.
TEST_F(CaptionObjectsTest, StripsWithoutFramesDoNotPlay) {
    Load(FixtureVariant(L"noframes", {{L"SKINOBJECTS", {{L"count", L"8"}, {L"7", L"spinner:animate"}}},
                                      {L"spinner",
                                       {{L"skinrectinapicture", L"1"},
                                        {L"activepictureindex", L"0"},
                                        {L"skinrect", L"30,4,46,20"},
                                        {L"activeskinrect", L"0,96,64,112"},
                                        {L"countframes", L"0"},
                                        {L"buttonstyle", L"1"},
                                        {L"cycle", L"1"},
                                        {L"timerinterval", L"10"}}},
                                      {L"caption", {{L"animateskinrect", L"0,0,64,16"}, {L"framecount", L"0"}}}}));
    ShowForm();
    auto* spinner = dynamic_cast<TbsSkinAnimateObject*>(skinForm_->FindObject(L"spinner"));
    auto* cap = dynamic_cast<TbsSkinCaptionObject*>(skinForm_->FindObject(L"caption"));
    ASSERT_NE(spinner, nullptr);
    ASSERT_NE(cap, nullptr);
    EXPECT_EQ(spinner->TimerInterval, 25);
    EXPECT_FALSE(cap->EnableAnimation());
    EXPECT_TRUE(IsNullRect(cap->GetAnimationFrameRect(1)));
    EXPECT_TRUE(IsNullRect(spinner->FrameRect(1)));
    HoverAt(Centre(L"spinner"));
    EXPECT_TRUE(spinner->MouseIn());
    // Even a cycling strip stops at once: there is nothing to step through.
    ASSERT_TRUE(PumpUntil([&] { return !skinForm_->AnimateTimerOf()->Enabled(); }));
    EXPECT_FALSE(spinner->Active);
    SendMessageW(h(), WM_NCACTIVATE, FALSE, 0);
    SendMessageW(h(), WM_NCACTIVATE, TRUE, 0);
    Pump(100);
    EXPECT_EQ(cap->CurrentFrame, 0);
    EXPECT_TRUE(IsWindowVisible(h()));
}

// With a full layered border the caption objects live in the border's top image, with the frame's alpha around them.
TEST_F(CaptionObjectsTest, ObjectsArePaintedIntoTheLayeredTopImage) {
    TSections keys = {
        {L"PICTURES", {{L"activepicturescount", L"5"}, {L"3", L"layer.bmp"}, {L"4", L"layermask.bmp"}}}};
    const std::map<std::wstring, std::wstring> frame = {
        {L"pictureindex", L"3"},          {L"maskpictureindex", L"4"},      {L"inactivepictureindex", L"-1"},
        {L"lefttoppoint", L"30,30"},      {L"righttoppoint", L"390,30"},     {L"leftbottompoint", L"30,330"},
        {L"rightbottompoint", L"390,330"}, {L"clientrect", L"10,30,410,330"}, {L"alphablendvalue", L"255"},
        {L"borderrect", L"4,4,416,336"},  {L"hittestrect", L"2,2,418,338"},  {L"hittestenable", L"1"},
        {L"fullborder", L"1"},            {L"hittestsize", L"5"},            {L"captionrect", L"10,4,300,30"},
        {L"buttonsrect", L"330,6,410,26"}};
    keys[L"LAYERFRAME"] = frame;
    const std::wstring ini = FixtureVariant(L"layered", keys);
    const std::wstring dir = ini.substr(0, ini.rfind(L'\\'));
    WritePicture(dir + L"\\layer.bmp", 420, 340, [](int, int) { return RGB(200, 40, 40); });
    WritePicture(dir + L"\\layermask.bmp", 420, 340, [](int, int) { return RGB(255, 255, 255); });
    form_->SetBounds(200, 150, 400, 300);
    Load(ini);
    ShowForm();
    ASSERT_TRUE(skinForm_->FullBorderShown());
    TbsFormLayerBorder* border = skinForm_->BorderLayer();
    const auto& objs = border->LayerObjects();
    int close = -1, caption = -1;
    for (std::size_t i = 0; i < objs.size(); ++i) {
        if (objs[i].Kind == fokStdButton && objs[i].Command == cmClose && objs[i].Visible)
            close = static_cast<int>(i);
        if (objs[i].Kind == fokCaption)
            caption = static_cast<int>(i);
    }
    ASSERT_NE(close, -1);
    ASSERT_NE(caption, -1);
    auto topPixel = [&](int x, int y) {
        const std::uint32_t p = border->Image(bsflTop)->GetPixel(x, y);
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF) | (p & 0xFF000000u);
    };
    const TRect cr = objs[static_cast<std::size_t>(close)].ObjectRect;
    const int cx = (cr.Left + cr.Right) / 2, cy = (cr.Top + cr.Bottom) / 2;
    EXPECT_EQ(topPixel(cx, cy), PicturePixel(Buttons(), 8, 8) | 0xFF000000u);
    border->TestActive(cx, cy);
    EXPECT_EQ(topPixel(cx, cy), PicturePixel(Buttons(), 24, 8) | 0xFF000000u);
    // The caption text is in the image: some pixel of the caption differs from the bare frame and is opaque.
    const TRect tr = objs[static_cast<std::size_t>(caption)].ObjectRect;
    int text = 0;
    for (int y = tr.Top; y < tr.Bottom; ++y)
        for (int x = tr.Left; x < tr.Right; ++x)
            text += (topPixel(x, y) & 0xFFFFFF) != RGB(200, 40, 40) && (topPixel(x, y) >> 24) == 255;
    EXPECT_GT(text, 10);
    border->TestActive(-1, -1);
}

}  // namespace
