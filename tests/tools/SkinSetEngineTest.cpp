// Every shipped skin (the notifier's list and the installer's) loaded through the engine: the compressed block into a
// TbsCompressedStoredSkin, that into a TbsSkinData on a real form, and the loaded records checked for what a painter
// would trip over: picture indices out of range, rectangles outside their picture, corner points out of order,
// negative values, names that refer to entries the skin lacks, and the entries the programs ask for.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/Files.h"
#include "base/Utf.h"
#include "classlib/Forms.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinListResource.h"
#include "tests/TestFiles.h"

namespace {

// The set the build drew (skinset), beside the program folder.
std::wstring SetFolder() {
    return ProgramFolder() + L"..\\skins\\";
}

struct ShippedSkin {
    std::wstring part;  // "notifier" or "setup"
    TbsSkinListRow row;
    std::wstring block() const { return SetFolder() + part + L"\\" + row.Folder + L".skn"; }
};

std::vector<ShippedSkin> ShippedSkins() {
    std::vector<ShippedSkin> all;
    for (const wchar_t* part : {L"notifier", L"setup"}) {
        std::string text = trelm_test::ReadFileString(SetFolder() + part + L"\\skins.lst");
        for (TbsSkinListRow& row : ParseSkinListText(text))
            all.push_back({part, std::move(row)});
    }
    return all;
}

// Control and object entries the notifier, the installer and their dialogs ask for by name.
const wchar_t* const kRequiredControls[] = {L"button",
                                            L"resizebutton",
                                            L"resizetoolbutton",
                                            L"toolbutton",
                                            L"toolmenubutton",
                                            L"officemenubutton",
                                            L"officequickbutton",
                                            L"menuitembutton",
                                            L"header",
                                            L"checkbox",
                                            L"radiobox",
                                            L"edit",
                                            L"buttonedit",
                                            L"spinedit",
                                            L"hupdown",
                                            L"vupdown",
                                            L"combobox",
                                            L"listbox",
                                            L"checklistbox",
                                            L"memo",
                                            L"hscrollbar",
                                            L"vscrollbar",
                                            L"bothhscrollbar",
                                            L"tab",
                                            L"officetab",
                                            L"panel",
                                            L"groupbox",
                                            L"toolpanel",
                                            L"resizetoolpanel",
                                            L"statusbar",
                                            L"menupagepanel",
                                            L"stdlabel",
                                            L"label",
                                            L"menuheader",
                                            L"gauge",
                                            L"bevel",
                                            L"listview",
                                            L"treeview",
                                            L"appmenu",
                                            L"mainmenubar",
                                            L"updown"};
const wchar_t* const kRequiredObjects[] = {L"caption", L"dialogclosebutton"};

// Rectangles that are places within an image of their own entry (key -> the rectangle whose size bounds them).
const std::map<std::wstring, std::wstring> kRelative = {
    {L"clientrect", L"skinrect"},     {L"textrect", L"skinrect"},        {L"trackarea", L"skinrect"},
    {L"progressarea", L"skinrect"},   {L"checkimagearea", L"skinrect"},  {L"textarea", L"skinrect"},
    {L"captionrect", L"skinrect"},    {L"trackbuttonrect", L"skinrect"}, {L"imagerect", L"skinrect"},
    {L"frametextrect", L"framerect"}, {L"buttonsarea", L"skinrect"},     {L"itemsrect", L"skinrect"},
    {L"framerect", L"skinrect"},      {L"itemtextrect", L"itemrect"},    {L"itemcheckrect", L"itemrect"}};
// Fields naming another control entry, and those naming an object entry.
const std::set<std::wstring> kControlRefs = {L"hscrollbarname", L"vscrollbarname", L"bothhscrollbarname",
                                             L"listboxname", L"updown"};
const std::set<std::wstring> kObjectRefs = {L"menubaritem", L"closebutton", L"maxbutton", L"minbutton",
                                            L"sysmenubutton"};

bool EndsWith(const std::wstring& s, const std::wstring& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

bool IsZero(const TRect& r) {
    return r.Left == 0 && r.Top == 0 && r.Right == 0 && r.Bottom == 0;
}

struct Size {
    int w = 0, h = 0;
};

// The checks of one loaded skin; every finding goes into errors.
class SkinChecker {
  public:
    SkinChecker(TbsSkinData* d, std::wstring name) : d_(d), name_(std::move(name)) {}

    std::vector<std::string> Run() {
        if (!d_->FPicture || d_->FPicture->Empty()) {
            Err(L"no frame picture");
            return errors_;
        }
        const Size main{d_->FPicture->Width(), d_->FPicture->Height()};
        for (TBitmap* other : {d_->FInActivePicture.get(), d_->FMask.get()})
            if (other && !other->Empty() && (other->Width() != main.w || other->Height() != main.h))
                Err(L"the inactive picture or the mask is not the size of the frame picture");
        Record(L"FORMINFO", [this](TbsFieldSink& s) {
            d_->FormInfoFields1(s);
            d_->FormInfoFields2(s);
        });
        for (const wchar_t* key : {L"clientrect", L"buttonsrect", L"captionrect", L"maskrectarea"})
            Inside(key, RectOf(key), main);
        Corners(main, RectOf(L"clientrect"), true);

        struct Window {
            const wchar_t* section;
            TbsFieldList fields;
            const wchar_t* pictureKey;
        };
        for (auto& w : {Window{L"POPUPWINDOW", d_->PopupWindow.Fields(), L"windowpictureindex"},
                        Window{L"HINTWINDOW", d_->HintWindow.Fields(), L"windowpictureindex"},
                        Window{L"LAYERFRAME", d_->LayerFrame.Fields(), L"pictureindex"}}) {
            Record(w.section, w.fields);
            const Size* size = Picture(IntOf(w.pictureKey));
            if (!size)
                continue;
            for (auto& [key, f] : fields_)
                if (f.Kind == TbsFieldKind::Rect)
                    Inside(key, RectOf(key), *size);
            Corners(*size, RectOf(L"clientrect"), false);
        }

        std::set<int> commands;
        for (auto& o : d_->ObjectList) {
            Record(o->IDName, o->Fields());
            const Size* active = Picture(o->ActivePictureIndex);
            const Size* own = o->SkinRectInAPicture ? active : &main;
            for (auto& [key, f] : fields_) {
                if (f.Kind != TbsFieldKind::Rect || key == L"textrect" || key == L"imagerect" ||
                    key == L"frametextrect")
                    continue;
                InsideOpt(key, RectOf(key), key == L"skinrect" ? own : active);
            }
            if (fields_.count(L"textrect"))
                Inside(L"textrect", RectOf(L"textrect"), SizeOf(o->SkinRect));
            if (fields_.count(L"command"))
                commands.insert(*static_cast<const TbsStdCommand*>(fields_.at(L"command").Ptr));
            RefsTo(kObjectRefs, true);
        }
        for (auto& c : d_->CtrlList) {
            Record(c->IDName, c->Fields());
            const Size* pic = Picture(c->PictureIndex);
            for (auto& [key, f] : fields_) {
                if (f.Kind != TbsFieldKind::Rect)
                    continue;
                auto rel = kRelative.find(key);
                if (rel != kRelative.end())
                    Inside(key, RectOf(key), SizeOf(RectOf(rel->second)));
                else
                    InsideOpt(key, RectOf(key), pic);
            }
            if (fields_.count(L"lefttoppoint"))
                Corners(SizeOf(c->SkinRect), fields_.count(L"clientrect") ? RectOf(L"clientrect") : TRect{}, false);
            RefsTo(kControlRefs, false);
            RefsTo(kObjectRefs, true);
        }
        section_ = L"(entries)";
        for (const wchar_t* n : kRequiredControls)
            if (d_->GetControlIndex(n) < 0)
                Err(L"control entry " + std::wstring(n) + L" missing");
        for (const wchar_t* n : kRequiredObjects)
            if (d_->GetIndex(n) < 0)
                Err(L"object entry " + std::wstring(n) + L" missing");
        if (d_->GetIndex(L"menuitem") < 0 && d_->GetIndex(L"MENUITEM") < 0)
            Err(L"no menu item object");
        for (TbsStdCommand cmd : {cmClose, cmMaximize, cmMinimize, cmSysMenu, cmMinimizeToTray, cmRollUp})
            if (!commands.count(cmd))
                Err(L"no standard button for command " + std::to_wstring(cmd));
        return errors_;
    }

  private:
    void Err(const std::wstring& what) { errors_.push_back(WideToUtf8(name_ + L" [" + section_ + L"] " + what)); }

    // Gathers the record's fields by ini key and checks indices and signs, which need no context.
    void Record(const std::wstring& section, const TbsFieldList& list) {
        section_ = section;
        fields_.clear();
        TbsFieldLambda sink([this](const TbsField& f) { fields_.emplace(f.Key, f); });
        list(sink);
        for (auto& [key, f] : fields_) {
            switch (f.Kind) {
                case TbsFieldKind::Integer: {
                    const int v = *static_cast<const int*>(f.Ptr);
                    if (EndsWith(key, L"pictureindex")) {
                        if (v != -1 && (v < 0 || v >= d_->ActivePictureCount()))
                            Err(key + L"=" + std::to_wstring(v) + L" out of range");
                    } else if (v < 0 && v != f.IntDefault) {
                        Err(key + L"=" + std::to_wstring(v) + L" is negative");
                    }
                    break;
                }
                case TbsFieldKind::Rect: {
                    const TRect& r = *static_cast<const TRect*>(f.Ptr);
                    if (r.Left < 0 || r.Top < 0 || r.Right < 0 || r.Bottom < 0)
                        Err(key + L" has a negative value");
                    break;
                }
                case TbsFieldKind::Point: {
                    const TPoint& p = *static_cast<const TPoint*>(f.Ptr);
                    if (p.X < 0 || p.Y < 0)
                        Err(key + L" has a negative value");
                    break;
                }
                default:
                    break;
            }
        }
    }

    int IntOf(const std::wstring& key) const {
        auto it = fields_.find(key);
        return it == fields_.end() ? -1 : *static_cast<const int*>(it->second.Ptr);
    }
    TRect RectOf(const std::wstring& key) const {
        auto it = fields_.find(key);
        return it == fields_.end() || it->second.Kind != TbsFieldKind::Rect
                   ? TRect{}
                   : *static_cast<const TRect*>(it->second.Ptr);
    }
    TPoint PointOf(const std::wstring& key) const {
        auto it = fields_.find(key);
        return it == fields_.end() ? TPoint{} : *static_cast<const TPoint*>(it->second.Ptr);
    }
    static Size SizeOf(const TRect& r) { return {r.Right - r.Left, r.Bottom - r.Top}; }

    const Size* Picture(int index) {
        if (index < 0 || index >= d_->ActivePictureCount())
            return nullptr;
        TBitmap* b = d_->GetActivePicture(index);
        sizes_[index] = {b->Width(), b->Height()};
        return &sizes_[index];
    }

    void Inside(const std::wstring& key, const TRect& r, const Size& size) { InsideOpt(key, r, &size); }
    void InsideOpt(const std::wstring& key, const TRect& r, const Size* size) {
        if (IsZero(r))
            return;
        if (r.Left > r.Right || r.Top > r.Bottom)
            Err(key + L" is not ordered");
        else if (!size)
            Err(key + L" names a place in a picture the skin lacks");
        else if (r.Right > size->w || r.Bottom > size->h)
            Err(key + L" lies outside its picture (" + std::to_wstring(size->w) + L"x" + std::to_wstring(size->h) +
                L")");
    }

    void Corners(const Size& size, const TRect& client, bool form) {
        const TPoint lt = PointOf(L"lefttoppoint"), rt = PointOf(L"righttoppoint"), lb = PointOf(L"leftbottompoint"),
                     rb = PointOf(L"rightbottompoint");
        if (!(lt.X <= rt.X && lb.X <= rb.X && lt.Y <= lb.Y && rt.Y <= rb.Y))
            Err(L"corner points not ordered");
        for (const TPoint& p : {lt, rt, lb, rb})
            if (p.X > size.w || p.Y > size.h)
                Err(L"a corner point lies outside its picture");
        if (form && (lt.X < client.Left || lt.Y < client.Top || rt.X > client.Right || lb.Y > client.Bottom ||
                     rb.X > client.Right || rb.Y > client.Bottom))
            Err(L"corner points outside the client rectangle");
    }

    void RefsTo(const std::set<std::wstring>& keys, bool objects) {
        for (const std::wstring& key : keys) {
            auto it = fields_.find(key);
            if (it == fields_.end() || it->second.Kind != TbsFieldKind::String)
                continue;
            const std::wstring& v = *static_cast<const std::wstring*>(it->second.Ptr);
            if (!v.empty() && (objects ? d_->GetIndex(v) : d_->GetControlIndex(v)) < 0)
                Err(key + L" names " + v + L", which the skin lacks");
        }
    }

    TbsSkinData* d_;
    std::wstring name_, section_;
    std::map<std::wstring, TbsField> fields_;
    std::map<int, Size> sizes_;
    std::vector<std::string> errors_;
};

// A form that counts the container's three change messages it receives from one container.
class ChangeCounter {
  public:
    explicit ChangeCounter(TbsSkinData* data) : form_(new TForm(nullptr)) {
        TWndMethod old = form_->WindowProc;
        form_->WindowProc = [this, data, old](TMessage& m) {
            if (m.Msg >= WM_BEFORECHANGESKINDATA && m.Msg <= WM_AFTERCHANGESKINDATA &&
                m.WParam == reinterpret_cast<WPARAM>(data) && m.LParam == kSkinDataMessageParam)
                seen.push_back(m.Msg);
            old(m);
        };
        form_->HandleNeeded();
    }
    ~ChangeCounter() { delete form_; }
    std::vector<UINT> seen;

  private:
    TCustomForm* form_;
};

TEST(SkinSetEngine, EveryShippedSkinLoadsWithConsistentRecords) {
    const std::vector<ShippedSkin> skins = ShippedSkins();
    ASSERT_EQ(skins.size(), 88u);  // the notifier's 87 and the installer's "Windows 8"
    TbsSkinData data(nullptr);
    ChangeCounter counter(&data);
    std::vector<std::string> errors;
    for (const ShippedSkin& s : skins) {
        SCOPED_TRACE(WideToUtf8(s.row.Folder));
        TbsCompressedStoredSkin stored(nullptr);
        ASSERT_NO_THROW(stored.LoadFromCompressFile(s.block()));
        ASSERT_FALSE(stored.Empty());
        counter.seen.clear();
        ASSERT_NO_THROW(data.SetCompressedStoredSkin(&stored));
        data.SetCompressedStoredSkin(nullptr);
        ASSERT_FALSE(data.Empty);
        EXPECT_EQ(counter.seen,
                  (std::vector<UINT>{WM_BEFORECHANGESKINDATA, WM_CHANGESKINDATA, WM_AFTERCHANGESKINDATA}));
        EXPECT_EQ(data.SkinName, s.row.Name);
        EXPECT_EQ(stored.DecompressContent().Version, s.row.BlockVersion);
        for (std::string& e : SkinChecker(&data, s.part + L"/" + s.row.Folder).Run())
            errors.push_back(std::move(e));
    }
    for (const std::string& e : errors)
        ADD_FAILURE() << e;
}

// The checker itself finds the faults it is there for: a loaded skin damaged in memory, one fault at a time.
TEST(SkinSetEngine, TheCheckerFindsDamagedRecords) {
    const std::vector<ShippedSkin> skins = ShippedSkins();
    ASSERT_FALSE(skins.empty());
    TbsCompressedStoredSkin stored(nullptr);
    stored.LoadFromCompressFile(skins.at(81).block());
    struct Case {
        const char* what;
        std::function<void(TbsSkinData&)> damage;
        const char* expected;
    };
    const Case cases[] = {
        {"picture index past the end", [](TbsSkinData& d) { d.CtrlList[0]->PictureIndex = d.ActivePictureCount(); },
         "out of range"},
        {"rectangle outside its picture", [](TbsSkinData& d) { d.ClRect.Right = d.FPicture->Width() + 1; },
         "outside its picture"},
        {"corner points swapped", [](TbsSkinData& d) { std::swap(d.LTPoint, d.RTPoint); }, "not ordered"},
        {"negative rectangle", [](TbsSkinData& d) { d.ButtonsRect.Left = -3; }, "negative"},
        {"scroll bar name unknown",
         [](TbsSkinData& d) {
             auto* lb = d.CtrlList[static_cast<size_t>(d.GetControlIndex(L"listbox"))].get();
             TbsFieldLambda sink([](const TbsField& f) {
                 if (std::wstring(f.Key) == L"vscrollbarname")
                     *static_cast<std::wstring*>(f.Ptr) = L"novscrollbar";
             });
             lb->EnumFields(sink);
         },
         "novscrollbar"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TbsSkinData data(nullptr);
        data.SetCompressedStoredSkin(&stored);
        data.SetCompressedStoredSkin(nullptr);
        ASSERT_TRUE(SkinChecker(&data, L"clean").Run().empty());
        c.damage(data);
        std::vector<std::string> found = SkinChecker(&data, L"damaged").Run();
        bool hit = false;
        for (const std::string& e : found)
            hit = hit || e.find(c.expected) != std::string::npos;
        EXPECT_TRUE(hit) << c.expected;
    }
}

}  // namespace
