// The skin container on real forms: the change broadcast and its order, loads that fail half-way, SkinIndex against a
// list of 87 skins, lookups, the property notices, and saving in every form.
#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "classlib/Forms.h"
#include "skin/core/SkinData.h"
#include "tests/TestFiles.h"
#include "tests/classlib/WindowTestUtil.h"
#include "tests/skin/core/SkinDataFixtures.h"

// The class name the broadcast leaves out (the layered border windows).
class TbsFormLayerWindow : public TForm {
  public:
    using TForm::TForm;
};

namespace {

using namespace skin_fixture;

struct Event {
    int form;  // index among the recorded forms; -1 for OnLoadData
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    bool changing;  // the container's ChangeSkinDataProcess when the message arrived
};

// Forms that record every container message they receive, in one sequence shared with OnLoadData.
class Recorder {
  public:
    explicit Recorder(int formCount) {
        for (int i = 0; i < formCount; ++i)
            Add(new TForm(nullptr));
    }
    ~Recorder() {
        for (TCustomForm* f : forms_)
            delete f;
    }
    void Add(TCustomForm* form) {
        const int index = static_cast<int>(forms_.size());
        forms_.push_back(form);
        TWndMethod old = form->WindowProc;
        form->WindowProc = [this, index, old](TMessage& m) {
            if ((m.Msg >= 1225 && m.Msg <= 1227) || m.Msg == 1274 || m.Msg == 1294 || m.Msg == 1427 || m.Msg == 1428)
                events.push_back({index, m.Msg, m.WParam, m.LParam, data ? data->ChangeSkinDataProcess : false});
            old(m);
        };
        form->HandleNeeded();
    }
    void Watch(TbsSkinData* d) {
        data = d;
        d->OnLoadData = [this](TObject*) { events.push_back({-1, 0, 0, 0, data->ChangeSkinDataProcess}); };
    }
    TCustomForm* Form(int i) const { return forms_[static_cast<size_t>(i)]; }
    // The messages in order, each as form*10000 + msg (OnLoadData as -1).
    std::vector<int> Sequence() const {
        std::vector<int> s;
        for (const auto& e : events)
            s.push_back(e.form < 0 ? -1 : e.form * 10000 + static_cast<int>(e.msg));
        return s;
    }
    std::vector<UINT> MessagesOf(int form) const {
        std::vector<UINT> s;
        for (const auto& e : events)
            if (e.form == form)
                s.push_back(e.msg);
        return s;
    }
    std::vector<Event> events;
    TbsSkinData* data = nullptr;

  private:
    std::vector<TCustomForm*> forms_;
};

// The screen's form order of the recorded forms (indexes into the recorder).
std::vector<int> ScreenOrder(const Recorder& r, int count) {
    std::vector<int> order;
    for (int i = 0; i < Screen->FormCount(); ++i)
        for (int k = 0; k < count; ++k)
            if (Screen->Forms(i) == r.Form(k))
                order.push_back(k);
    return order;
}

TEST(SkinData, ALoadSendsBeforeChangeAndAfterToEveryFormOwnerFirst) {
    trelm_test::TTempDir dir;
    const std::wstring ini = WriteSkinFolder(dir);
    Recorder rec(3);
    auto* data = new TbsSkinData(rec.Form(1));
    rec.Watch(data);
    data->SetShowLayeredBorders(false);
    rec.events.clear();
    data->LoadFromFile(ini);
    EXPECT_FALSE(data->Empty);
    // The owner first, then the others in the screen's order; OnLoadData after the reading, before 1226.
    ASSERT_EQ(ScreenOrder(rec, 3).size(), 3u);
    std::vector<int> others;
    for (int k : ScreenOrder(rec, 3))
        if (k != 1)
            others.push_back(k);
    std::vector<int> expected;
    for (UINT msg : {1225u, 1226u, 1227u}) {
        if (msg == 1226)
            expected.push_back(-1);
        expected.push_back(10000 + static_cast<int>(msg));
        for (int k : others)
            expected.push_back(k * 10000 + static_cast<int>(msg));
    }
    EXPECT_EQ(rec.Sequence(), expected);
    for (const Event& e : rec.events) {
        if (e.form < 0)
            continue;
        EXPECT_EQ(e.wParam, reinterpret_cast<WPARAM>(data));
        EXPECT_EQ(e.lParam, 1000);
        EXPECT_EQ(e.changing, e.msg != 1227);
    }
}

TEST(SkinData, WithLayeredBordersAndALayerFrameTheFormsAreServedBackwards) {
    trelm_test::TTempDir dir;
    const std::wstring ini = WriteSkinFolder(dir, SkinIni("Layered", 0));
    Recorder rec(3);
    rec.Add(new TbsFormLayerWindow(nullptr));
    auto* data = new TbsSkinData(rec.Form(0));
    rec.Watch(data);
    ASSERT_TRUE(data->ShowLayeredBorders());
    data->LoadFromFile(ini);  // from now on the skin has a layer frame picture
    rec.events.clear();
    data->LoadFromFile(ini);
    std::vector<int> backwards = ScreenOrder(rec, 3);
    ASSERT_EQ(backwards.size(), 3u);
    std::reverse(backwards.begin(), backwards.end());
    for (UINT msg : {1225u, 1226u, 1227u}) {
        std::vector<int> served;
        for (const Event& e : rec.events)
            if (e.msg == msg && e.form >= 0)
                served.push_back(e.form);
        EXPECT_EQ(served, backwards) << msg;  // the owner (form 0) at its place, once
    }
    EXPECT_TRUE(rec.MessagesOf(3).empty());  // the layer window class never hears of a change
}

TEST(SkinData, ASkinWithoutControlEntriesChangesNothingAndSendsNothing) {
    trelm_test::TTempDir dir;
    const std::wstring good = WriteSkinFolder(dir);
    std::string text = SkinIni("Broken");
    text = text.substr(0, text.find("[SKINCONTROLS]")) + "[SKINCONTROLS]\r\n";
    WriteText(dir.File(L"empty.ini"), text);
    Recorder rec(1);
    TbsSkinData data(nullptr);
    rec.Watch(&data);
    data.LoadFromFile(good);
    const std::uint32_t count = data.LoadCount();
    rec.events.clear();
    data.LoadFromFile(dir.File(L"empty.ini"));
    EXPECT_TRUE(rec.events.empty());
    EXPECT_EQ(data.LoadCount(), count);
    EXPECT_EQ(data.SkinName, L"Fixture Skin");
    EXPECT_FALSE(data.Empty);
}

TEST(SkinData, AFailedLoadStillEndsTheChangeAndReportsTheError) {
    trelm_test::TTempDir dir;
    const std::wstring ini = WriteSkinFolder(dir);
    std::string z = CompressBytes(BuildSkinContent(FixtureContent()));
    z[z.size() / 2] ^= 0x5A;
    z[z.size() / 2 + 1] ^= 0x5A;
    TbsCompressedStoredSkin damaged(nullptr);
    damaged.SetCompressedBytes(z);
    std::string badRect = SkinIni();
    badRect.replace(badRect.find("clientrect=-3,4,30,20"), 21, "clientrect=1,2,3");
    trelm_test::TTempDir dir2;
    const std::wstring badIni = WriteSkinFolder(dir2, badRect);
    trelm_test::TTempDir dir3;
    const std::wstring noPicture = WriteSkinFolder(dir3);
    DeleteFileW(dir3.File(L"btn.bmp").c_str());

    struct Case {
        const char* what;
        std::function<void(TbsSkinData&)> load;
    } cases[] = {
        {"damaged compressed skin", [&](TbsSkinData& d) { d.LoadCompressedStoredSkin(&damaged); }},
        {"malformed rectangle", [&](TbsSkinData& d) { d.LoadFromFile(badIni); }},
        {"missing picture file", [&](TbsSkinData& d) { d.LoadFromFile(noPicture); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Recorder rec(1);
        TbsSkinData data(nullptr);
        rec.Watch(&data);
        data.LoadFromFile(ini);
        rec.events.clear();
        EXPECT_THROW(c.load(data), Exception);
        EXPECT_EQ(rec.MessagesOf(0), (std::vector<UINT>{1225, 1226, 1227}));
        EXPECT_TRUE(data.Empty);
        EXPECT_FALSE(data.ChangeSkinDataProcess);
        EXPECT_TRUE(data.CtrlList.empty());
        EXPECT_EQ(data.GetControlIndex(L"button"), -1);
    }
}

TEST(SkinData, ANewerCompressedSkinIsRefusedBeforeAnyMessage) {
    std::string v4 = BuildSkinContent(FixtureContent());
    v4[0] = 4;
    TbsCompressedStoredSkin stored(nullptr);
    stored.SetCompressedBytes(CompressBytes(v4));
    Recorder rec(1);
    TbsSkinData data(nullptr);
    rec.Watch(&data);
    data.LoadCompressedStoredSkin(&stored);
    EXPECT_TRUE(rec.events.empty());
    EXPECT_TRUE(data.Empty);
}

// A list of 87 skins named "Skin 0" .. "Skin 86".
std::unique_ptr<TbsCompressedSkinList> ListOf87() {
    auto list = std::make_unique<TbsCompressedSkinList>(nullptr);
    for (int i = 0; i < 87; ++i) {
        TbsSkinListItem* item = list->Skins()->Add();
        item->Skin()->SetCompressedBytes(CompressBytes(BuildSkinContent(FixtureContent("Skin " + std::to_string(i)))));
    }
    return list;
}

int Count(const Recorder& rec, UINT msg) {
    return static_cast<int>(std::count_if(rec.events.begin(), rec.events.end(),
                                          [&](const Event& e) { return e.msg == msg && e.form == 0; }));
}

TEST(SkinData, SkinIndexSelectsAListEntryOnlyInsideTheList) {
    auto list = ListOf87();
    Recorder rec(1);
    TbsSkinData data(nullptr);
    rec.Watch(&data);
    data.SetSkinList(list.get());  // index 0 is inside: loads item 0
    EXPECT_EQ(data.SkinName, L"Skin 0");
    rec.events.clear();
    data.SetSkinIndex(200);
    data.SetSkinIndex(-1);
    EXPECT_EQ(data.SkinIndex(), 0);
    EXPECT_TRUE(rec.events.empty());
    data.SetSkinIndex(5);
    EXPECT_EQ(data.SkinIndex(), 5);
    EXPECT_EQ(data.SkinName, L"Skin 5");
    EXPECT_EQ(Count(rec, 1225), 1);
    EXPECT_EQ(Count(rec, 1227), 1);
    // The same index again does not reload, even after another skin came in through a stored skin.
    data.SetCompressedStoredSkin(list->Skins()->Items(9)->Skin());
    EXPECT_EQ(data.SkinName, L"Skin 9");
    rec.events.clear();
    data.SetSkinIndex(5);
    EXPECT_TRUE(rec.events.empty());
    EXPECT_EQ(data.SkinName, L"Skin 9");
    data.SetSkinIndex(86);
    EXPECT_EQ(data.SkinName, L"Skin 86");
}

TEST(SkinData, WithoutAListTheIndexIsStoredAndTheListThenLoadsItOnce) {
    auto list = ListOf87();
    Recorder rec(1);
    TbsSkinData data(nullptr);
    rec.Watch(&data);
    data.SetSkinIndex(5);
    EXPECT_EQ(data.SkinIndex(), 5);
    EXPECT_TRUE(rec.events.empty());
    EXPECT_TRUE(data.Empty);
    data.SetSkinList(list.get());
    EXPECT_EQ(data.SkinName, L"Skin 5");
    EXPECT_EQ(Count(rec, 1225), 1);
    EXPECT_EQ(Count(rec, 1226), 1);
    // The list goes: the reference is cleared, nothing reloads.
    list.reset();
    EXPECT_EQ(data.SkinList(), nullptr);
    EXPECT_FALSE(data.Empty);
}

TEST(SkinData, LookupsAreExactAndTheFirstOfEqualNamesWins) {
    std::string text = SkinIni();
    text.replace(text.find("count=3\r\n0=button:button"), 24, "count=4\r\n3=button:panel\r\n0=button:button");
    text.replace(text.find("count=2\r\n0=close:stdbutton"), 26, "count=3\r\n2=MENUITEM:menuitem\r\n0=close:stdbutton");
    trelm_test::TTempDir dir;
    TbsSkinData data(nullptr);
    data.FBuilderMode = true;
    data.LoadFromFile(WriteSkinFolder(dir, text));
    ASSERT_EQ(data.CtrlList.size(), 3u);  // the broken entry is skipped
    EXPECT_EQ(data.GetControlIndex(L"button"), 0);
    EXPECT_EQ(data.CtrlList[2]->KindWord(), std::wstring(L"panel"));
    EXPECT_EQ(data.GetControlIndex(L"Button"), -1);
    EXPECT_EQ(data.GetControlIndex(L"listbox"), 1);
    EXPECT_EQ(data.GetControlIndex(L"list"), -1);
    EXPECT_EQ(data.GetIndex(L"MENUITEM"), 2);
    EXPECT_EQ(data.GetIndex(L"menuitem"), -1);
    EXPECT_EQ(data.GetIndex(L"caption"), 1);
    const std::uint32_t count = data.LoadCount();
    data.ClearSkin();
    EXPECT_NE(data.LoadCount(), count);
    EXPECT_EQ(data.GetControlIndex(L"button"), -1);
}

TEST(SkinData, FormInfoCorrectionsAndSectionsAreRead) {
    trelm_test::TTempDir dir;
    TbsSkinData data(nullptr);
    data.FBuilderMode = true;
    data.LoadFromFile(WriteSkinFolder(dir, SkinIni("Layered", 0)));
    EXPECT_EQ(data.ClRect, (TRect{3, 4, 30, 20}));
    EXPECT_EQ(data.BorderW, 3);
    EXPECT_EQ(data.LTPoint, (TPoint{5, 5}));
    // Corner points moved into the client rectangle.
    EXPECT_EQ(data.RTPoint, (TPoint{0, 4}));
    EXPECT_EQ(data.LBPoint, (TPoint{3, 0}));
    EXPECT_EQ(data.RBPoint, (TPoint{25, 18}));
    EXPECT_TRUE(data.MaskRectArea.IsEmpty());  // no mask picture
    EXPECT_EQ(data.FPicture->Width(), 40);
    ASSERT_EQ(data.ActivePictureCount(), 2);
    EXPECT_EQ(data.GetActivePicture(1)->Height(), 10);
    EXPECT_THROW(data.GetActivePicture(2), EListError);
    EXPECT_EQ(data.SkinColors()->cBtnFace, 255);
    EXPECT_EQ(data.SkinColors()->cWindow, static_cast<int>(0xFF000005));
    EXPECT_NE(data.LayerFrame.FSourceBitmap, nullptr);
    auto* close = dynamic_cast<TbsDataSkinStdButton*>(data.ObjectList[0].get());
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->RestoreHint, L"Restore");
    ASSERT_NE(close->FAlphaNormalImage, nullptr);  // layer frame with full border and a valid active picture
    EXPECT_EQ(close->FAlphaActiveImage, nullptr);  // its rectangle is empty
}

TEST(SkinData, AMaskPictureWidensTheMaskAreaAndFillsHitTestPoints) {
    std::string text = SkinIni();
    text.replace(text.find("mask=\r\n"), 7, "mask=mask.bmp\r\n");
    trelm_test::TTempDir dir;
    TbsSkinData data(nullptr);
    data.FBuilderMode = true;
    data.LoadFromFile(WriteSkinFolder(dir, text));
    EXPECT_EQ(data.MaskRectArea, data.ClRect);
    EXPECT_EQ(data.HitTestLTPoint, (TPoint{5, 5}));
    EXPECT_EQ(data.FMask->Width(), 20);
}

TEST(SkinData, PropertyNoticesAreSentOnlyOnChange) {
    Recorder rec(1);
    TbsSkinData data(nullptr);
    rec.Watch(&data);
    data.SetSkinnableForm(true);
    data.SetAeroBlurEnabled(true);
    EXPECT_TRUE(rec.events.empty());
    data.SetSkinnableForm(false);
    data.SetShowLayeredBorders(false);
    data.SetAeroBlurEnabled(false);
    TbsResourceStrData strings(nullptr);
    data.SetResourceStrData(&strings);
    data.SetResourceStrData(nullptr);
    EXPECT_EQ(rec.MessagesOf(0), (std::vector<UINT>{1294, 1427, 1428, 1274, 1274}));
    data.ClearSkin();
    EXPECT_EQ(rec.MessagesOf(0).size(), 8u);
    data.FBuilderMode = true;
    data.ClearSkin();
    EXPECT_EQ(rec.MessagesOf(0).size(), 8u);
}

// Every field of every record and of the container's own sections, as text.
std::map<std::wstring, std::wstring> Snapshot(TbsSkinData& d) {
    std::map<std::wstring, std::wstring> m;
    auto take = [&](const std::wstring& prefix, const TbsFieldList& list) {
        TbsFieldLambda sink([&](const TbsField& f) { m[prefix + L"." + f.Name] = FieldValueText(f); });
        list(sink);
    };
    take(L"VERSION", [&](TbsFieldSink& s) { d.VersionFields(s); });
    take(L"FORMINFO", [&](TbsFieldSink& s) {
        d.FormInfoFields1(s);
        d.FormInfoFields2(s);
    });
    take(L"POPUPWINDOW", d.PopupWindow.Fields());
    take(L"LAYERFRAME", d.LayerFrame.Fields());
    take(L"HINTWINDOW", d.HintWindow.Fields());
    take(L"SKINCOLORS", d.SkinColors()->Fields());
    for (auto& o : d.ObjectList)
        take(L"o:" + o->IDName + L":" + o->KindWord(), o->Fields());
    for (auto& c : d.CtrlList)
        take(L"c:" + c->IDName + L":" + c->KindWord(), c->Fields());
    m[L"pictures"] = d.FPictureName + L"|" + d.FActivePicturesNames->CommaText();
    return m;
}

TEST(SkinData, SavingInEveryFormReadsBackTheSameSkin) {
    trelm_test::TTempDir dir;
    TbsSkinData data(nullptr);
    data.FBuilderMode = true;
    data.LoadFromFile(WriteSkinFolder(dir));
    const auto original = Snapshot(data);

    // SaveToFile into an existing file keeps its foreign sections.
    trelm_test::TTempDir out;
    WriteText(out.File(L"skin.ini"), "[FOREIGN]\r\nkeep=yes\r\n[VERSION]\r\nskinname=old\r\n");
    data.StoreToDisk(out.File(L"skin.ini"));
    TbsSkinData fromIni(nullptr);
    fromIni.FBuilderMode = true;
    fromIni.LoadFromFile(out.File(L"skin.ini"));
    EXPECT_EQ(Snapshot(fromIni), original);
    TIniFile check(out.File(L"skin.ini"));
    EXPECT_EQ(check.ReadString(L"FOREIGN", L"keep", L""), L"yes");
    EXPECT_EQ(fromIni.GetActivePicture(0)->Width(), 20);

    data.SaveToCompressedFile(out.File(L"skin.skn"));
    TbsSkinData fromBlock(nullptr);
    fromBlock.FBuilderMode = true;
    fromBlock.LoadFromCompressedFile(out.File(L"skin.skn"));
    EXPECT_EQ(Snapshot(fromBlock), original);
    EXPECT_EQ(fromBlock.FPicture->Width(), 40);
    EXPECT_EQ(fromBlock.FInActivePicture->Width(), 0);
}

TEST(SkinData, ARelativeFileNameIsTakenFromTheCurrentFolder) {
    trelm_test::TTempDir dir;
    WriteSkinFolder(dir);
    wchar_t old[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, old);
    SetCurrentDirectoryW(dir.Path().c_str());
    TbsSkinData data(nullptr);
    data.FBuilderMode = true;
    data.LoadFromFile(L"skin.ini");
    SetCurrentDirectoryW(old);
    EXPECT_FALSE(data.Empty);
    EXPECT_EQ(data.SkinName, L"Fixture Skin");
    EXPECT_EQ(data.FPicture->Height(), 30);
}

TEST(SkinData, ClearSkinSendsTheThreeMessagesEvenWithoutASkin) {
    Recorder rec(1);
    TbsSkinData data(nullptr);
    rec.Watch(&data);
    data.ClearSkin();
    EXPECT_EQ(rec.MessagesOf(0), (std::vector<UINT>{1225, 1226, 1227}));
    EXPECT_EQ(rec.Sequence().size(), 3u);  // OnLoadData does not run
}

}  // namespace

namespace {

// A 24-bit BMP of w x h distinct pixels; topDown stores the rows from the top (negative height).
std::string PatternBmp(int w, int h, bool topDown) {
    std::string b = skin_fixture::MakeBmp(w, h, 0);
    const int row = (w * 3 + 3) / 4 * 4;
    if (topDown) {
        const std::int32_t negative = -h;
        std::memcpy(&b[22], &negative, 4);
    }
    for (int y = 0; y < h; ++y) {
        const int stored = topDown ? y : h - 1 - y;  // image row y lies at this stored row
        for (int x = 0; x < w; ++x) {
            char* p = &b[54 + static_cast<size_t>(stored * row + x * 3)];
            p[0] = static_cast<char>(x * 40 + 1);  // blue
            p[1] = static_cast<char>(y * 60 + 2);  // green
            p[2] = static_cast<char>(x * y + 3);   // red
        }
    }
    return b;
}

// The general image decoder's reading of a BMP file image.
void LoadGenerally(TBitmap& bmp, const std::string& bytes) {
    TMemoryStream ms;
    ms.WriteBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    ms.SetPosition(0);
    bmp.LoadFromStream(&ms);
}

TEST(SkinData, PicturesDecodeAlikeOnTheFastAndTheGeneralPath) {
    for (bool topDown : {false, true}) {
        SCOPED_TRACE(topDown ? "top-down" : "bottom-up");
        const std::string bytes = PatternBmp(5, 3, topDown);
        std::unique_ptr<TBitmap> fast = BitmapFromBytes(bytes);
        TBitmap general;
        LoadGenerally(general, bytes);
        ASSERT_EQ(fast->Width(), 5);
        ASSERT_EQ(fast->Height(), 3);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) {
                const TColor expected = static_cast<TColor>((x * y + 3) | ((y * 60 + 2) << 8) | ((x * 40 + 1) << 16));
                EXPECT_EQ(fast->Canvas()->Pixels(x, y), expected) << x << "," << y;
                EXPECT_EQ(general.Canvas()->Pixels(x, y), expected) << x << "," << y;
            }
    }
    // A broken picture (pixel data cut short) goes to the general decoder, which reports it.
    std::string cut = PatternBmp(5, 3, false).substr(0, 60);
    EXPECT_THROW(BitmapFromBytes(cut), Exception);
}

// A palette BMP of bpp bits a pixel: pixel (x, y) takes palette entry (x + 2y) mod the palette's size; the entries
// are distinct colours whose fourth byte is reserved. Rows stored from the top when topDown.
std::string PaletteBmp(int w, int h, int bpp, bool topDown, char reserved) {
    const int colours = 1 << bpp, row = (w * bpp + 31) / 32 * 4;
    std::string b = skin_fixture::MakeBmp(1, 1, 0).substr(0, 54);
    const std::uint32_t off = 54 + 4u * static_cast<std::uint32_t>(colours),
                        size = off + static_cast<std::uint32_t>(row * h);
    const std::int32_t height = topDown ? -h : h;
    const std::uint16_t bits = static_cast<std::uint16_t>(bpp);
    const std::uint32_t used = static_cast<std::uint32_t>(colours);
    std::memcpy(&b[2], &size, 4);
    std::memcpy(&b[10], &off, 4);
    std::memcpy(&b[18], &w, 4);
    std::memcpy(&b[22], &height, 4);
    std::memcpy(&b[28], &bits, 2);
    std::memcpy(&b[46], &used, 4);
    for (int i = 0; i < colours; ++i)
        b += std::string{static_cast<char>(i * 37 + 5), static_cast<char>(255 - i * 11), static_cast<char>(i * 3 + 1),
                         reserved};
    for (int stored = 0; stored < h; ++stored) {
        const int y = topDown ? stored : h - 1 - stored;
        std::string line(static_cast<size_t>(row), '\0');
        for (int x = 0; x < w; ++x) {
            const int index = (x + 2 * y) % colours, bit = x * bpp;
            line[static_cast<size_t>(bit / 8)] |= static_cast<char>(index << (8 - bpp - bit % 8));
        }
        b += line;
    }
    return b;
}

// The palette pictures' own reading gives what the general decoder gives: format and every pixel.
TEST(SkinData, PalettePicturesDecodeAsTheGeneralDecoderDoes) {
    for (int bpp : {1, 4, 8})
        for (bool topDown : {false, true})
            for (char reserved : {'\0', '\xFF'}) {
                SCOPED_TRACE(std::to_string(bpp) + (topDown ? " bits, top-down" : " bits, bottom-up") +
                             (reserved ? ", reserved 255" : ", reserved 0"));
                const std::string bytes = PaletteBmp(7, 5, bpp, topDown, reserved);
                std::unique_ptr<TBitmap> fast = BitmapFromBytes(bytes);
                TBitmap general;
                LoadGenerally(general, bytes);
                ASSERT_EQ(fast->Width(), 7);
                ASSERT_EQ(fast->Height(), 5);
                EXPECT_EQ(fast->PixelFormat(), general.PixelFormat());
                for (int y = 0; y < 5; ++y)
                    for (int x = 0; x < 7; ++x) {
                        const int i = (x + 2 * y) % (1 << bpp);
                        const TColor expected = static_cast<TColor>(((i * 3 + 1) & 0xFF) | (((255 - i * 11) & 0xFF) << 8) |
                                                                    (((i * 37 + 5) & 0xFF) << 16));
                        EXPECT_EQ(fast->Canvas()->Pixels(x, y), expected) << x << "," << y;
                        EXPECT_EQ(general.Canvas()->Pixels(x, y), expected) << x << "," << y;
                    }
            }
}

// A 24-bit picture whose pixels start after a gap behind the headers and are followed by bytes its bfSize counts.
std::string GappedBmp() {
    std::string b = PatternBmp(3, 2, false);
    const std::string gap = "GAPGAP", tail = "TAIL";
    b.insert(54, gap);
    b += tail;
    const std::uint32_t off = 54 + static_cast<std::uint32_t>(gap.size()), size = static_cast<std::uint32_t>(b.size());
    std::memcpy(&b[2], &size, 4);
    std::memcpy(&b[10], &off, 4);
    return b;
}

void ExpectSamePicture(TBitmap* loaded, const std::string& bytes) {
    ASSERT_NE(loaded, nullptr);
    std::unique_ptr<TBitmap> expected = BitmapFromBytes(bytes);
    ASSERT_EQ(loaded->Width(), expected->Width());
    ASSERT_EQ(loaded->Height(), expected->Height());
    for (int y = 0; y < expected->Height(); ++y)
        for (int x = 0; x < expected->Width(); ++x)
            EXPECT_EQ(loaded->Canvas()->Pixels(x, y), expected->Canvas()->Pixels(x, y)) << x << "," << y;
}

// A stored skin is read as it inflates: every kind of picture comes out as the whole-picture decoder gives it.
TEST(SkinData, AStoredSkinsPicturesLoadAsTheirBytesDecode) {
    TbsSkinContent c = FixtureContent();
    c.Picture = PatternBmp(5, 3, false);  // rows with padding
    c.InActivePicture = PatternBmp(5, 3, true);
    c.Mask = PaletteBmp(6, 4, 1, false, '\0');
    c.ActivePictures = {GappedBmp(), PatternBmp(4, 2, false)};
    TbsCompressedStoredSkin stored(nullptr);
    stored.SetCompressedBytes(CompressBytes(BuildSkinContent(c)));
    TbsSkinData data(nullptr);
    data.FBuilderMode = true;
    data.LoadCompressedStoredSkin(&stored);
    ASSERT_FALSE(data.Empty);
    ExpectSamePicture(data.FPicture.get(), *c.Picture);
    ExpectSamePicture(data.FInActivePicture.get(), *c.InActivePicture);
    ExpectSamePicture(data.FMask.get(), *c.Mask);
    ASSERT_EQ(data.ActivePictureCount(), 2);
    ExpectSamePicture(data.GetActivePicture(0), c.ActivePictures[0]);
    ExpectSamePicture(data.GetActivePicture(1), c.ActivePictures[1]);
    EXPECT_EQ(data.SkinName, L"Fixture Skin");
    EXPECT_NE(data.GetControlIndex(L"button"), -1);

    // An older content's two further slots are passed over, whatever they hold.
    std::string v2 = BuildSkinContent(c);
    v2[0] = 2;
    size_t afterSlots = 4;
    for (const auto* slot : {&c.Picture, &c.InActivePicture, &c.Mask})
        afterSlots += 1 + (*slot)->size();
    v2.insert(afterSlots, std::string(1, '\0') + MakeBmp(2, 2, 0x010203) + std::string(1, '\1'));
    stored.SetCompressedBytes(CompressBytes(v2));
    data.LoadCompressedStoredSkin(&stored);
    ASSERT_FALSE(data.Empty);
    ExpectSamePicture(data.FMask.get(), *c.Mask);
    ASSERT_EQ(data.ActivePictureCount(), 2);
    ExpectSamePicture(data.GetActivePicture(0), c.ActivePictures[0]);
}

// Every damaged content ends the load with a class-library error and an empty container, never a crash.
TEST(SkinData, ADamagedStoredSkinFailsCleanlyWhileItInflates) {
    const std::string content = BuildSkinContent(FixtureContent());
    std::string badBfSize = content;
    badBfSize[5 + 2] = char(0xFF);
    badBfSize[5 + 3] = char(0xFF);
    badBfSize[5 + 4] = char(0x7F);
    std::string hugeCount = BuildSkinContent(TbsSkinContent{3, std::nullopt, std::nullopt, std::nullopt, {}, ""});
    std::memset(&hugeCount[7], 0x7F, 4);
    std::string notBmp = content;
    notBmp[5] = 'X';
    // The frame picture's rows end halfway: its header is whole and its bfSize claims them all.
    const std::string rowsCut = content.substr(0, 5 + 54 + 40 * 3 * 15);
    std::string z = CompressBytes(content);
    const std::string zlibCut = z.substr(0, z.size() / 2);
    struct Case {
        const char* what;
        std::string zlib;
    } cases[] = {
        {"bfSize past the end", CompressBytes(badBfSize)},
        {"picture count past the end", CompressBytes(hugeCount)},
        {"picture that is no BMP", CompressBytes(notBmp)},
        {"pixel rows cut short", CompressBytes(rowsCut)},
        {"zlib cut in the middle", zlibCut},
        // 100 MiB of ini text deflate to about 100 KiB.
        {"zip bomb", CompressBytes(BuildSkinContent(
                         TbsSkinContent{3, std::nullopt, std::nullopt, std::nullopt, {}, std::string(100u << 20, ' ')}))},
        {"only a version", CompressBytes(std::string("\3\0", 2))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TbsCompressedStoredSkin stored(nullptr);
        stored.SetCompressedBytes(c.zlib);
        TbsSkinData data(nullptr);
        data.FBuilderMode = true;
        EXPECT_THROW(data.LoadCompressedStoredSkin(&stored), Exception);
        EXPECT_TRUE(data.Empty);
        EXPECT_EQ(data.ActivePictureCount(), 0);
        EXPECT_TRUE(data.CtrlList.empty());
    }
}

}  // namespace

namespace {

TEST(SkinData, TheColourHooksHearOfEveryChangeOfTheirCondition) {
    trelm_test::TTempDir dir;
    const std::wstring ini = skin_fixture::WriteSkinFolder(dir);
    std::vector<std::pair<bool, bool>> seen;  // ChangeSystemColors, a skin loaded
    {
        TbsSkinData data(nullptr);
        data.FBuilderMode = true;
        data.OnChangeSystemColors = [&](TbsSkinData* d) { seen.push_back({d->ChangeSystemColors(), !d->Empty}); };
        data.SetChangeSystemColors(true);
        data.LoadFromFile(ini);
        data.ClearSkin();
        data.LoadFromFile(ini);
    }
    EXPECT_EQ(seen, (std::vector<std::pair<bool, bool>>{
                        {true, false}, {true, true}, {true, false}, {true, true}, {false, false}}));
}

}  // namespace
