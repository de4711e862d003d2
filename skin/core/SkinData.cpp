// TbsSkinData (see SkinData.h).
#include "skin/core/SkinData.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "classlib/Forms.h"
#include "classlib/SysUtils.h"
#include "skin/core/SkinIniValues.h"

namespace {

const wchar_t kVersion[] = L"VERSION";
const wchar_t kPictures[] = L"PICTURES";
const wchar_t kFormInfo[] = L"FORMINFO";
const wchar_t kSkinObjects[] = L"SKINOBJECTS";
const wchar_t kSkinControls[] = L"SKINCONTROLS";

bool EndsWith(const wchar_t* name, const wchar_t* suffix) {
    std::wstring_view n(name), s(suffix);
    return n.size() >= s.size() && n.substr(n.size() - s.size()) == s;
}

std::uint32_t Le32(const std::string& b, size_t off) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(b.data()) + off;
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// Where the pixels of an uncompressed 24-bit BMP lie, from its headers (the first 54 bytes of head) and its size.
struct TPlain24Layout {
    std::int32_t Width = 0, Height = 0;  // Height < 0: rows stored from the top
    std::uint64_t Rows = 0, Stride = 0;
    std::uint32_t OffBits = 0;
};

std::optional<TPlain24Layout> Plain24Layout(const std::string& head, std::uint64_t size) {
    if (head.size() < 54 || Le32(head, 14) < 40)
        return std::nullopt;
    TPlain24Layout l;
    l.Width = static_cast<std::int32_t>(Le32(head, 18));
    l.Height = static_cast<std::int32_t>(Le32(head, 22));
    l.OffBits = Le32(head, 10);
    if (Le32(head, 26) != (1u | (24u << 16)) || Le32(head, 30) != 0 || l.Width <= 0 || l.Height == 0 ||
        l.Height == INT32_MIN || l.Width > 32768)
        return std::nullopt;
    l.Rows = static_cast<std::uint64_t>(l.Height < 0 ? -static_cast<std::int64_t>(l.Height) : l.Height);
    l.Stride = (static_cast<std::uint64_t>(l.Width) * 3 + 3) / 4 * 4;
    if (l.Rows > 32768 || l.OffBits > size || l.Stride * l.Rows > size - l.OffBits)
        return std::nullopt;
    return l;
}

// The rows of a new bitmap: the step between them is taken from the first and last scan line once (each ScanLine
// call flushes GDI).
struct TBitmapRows {
    std::uint8_t* First;
    std::ptrdiff_t Step;
    explicit TBitmapRows(TBitmap& bmp) : First(static_cast<std::uint8_t*>(bmp.ScanLine(0))), Step(0) {
        if (bmp.Height() > 1)
            Step = (static_cast<std::uint8_t*>(bmp.ScanLine(bmp.Height() - 1)) - First) / (bmp.Height() - 1);
    }
    std::uint8_t* Row(std::uint64_t y) const { return First + static_cast<std::ptrdiff_t>(y) * Step; }
};

// The common case of skin pictures, an uncompressed 24-bit BMP, copied row by row: several times faster than the
// general image decoder, which matters for a skin change. nullptr for every other kind of BMP.
std::unique_ptr<TBitmap> Bitmap24FromBytes(const std::string& b) {
    const std::optional<TPlain24Layout> l = Plain24Layout(b, b.size());
    if (!l)
        return nullptr;
    auto bmp = std::make_unique<TBitmap>(l->Width, static_cast<int>(l->Rows), pf24bit);
    const TBitmapRows rows(*bmp);
    for (std::uint64_t y = 0; y < l->Rows; ++y) {
        const std::uint64_t src = l->Height > 0 ? l->Rows - 1 - y : y;
        std::memcpy(rows.Row(y), b.data() + l->OffBits + src * l->Stride, static_cast<size_t>(l->Width) * 3);
    }
    return bmp;
}

constexpr size_t kFileHeader = 14;

// The file header of the next picture, checked; its bfSize.
std::uint32_t StreamedBitmapHeader(TbsInflateReader& r, std::string& head) {
    constexpr size_t kMinBmp = kFileHeader + 12;
    head.assign(kFileHeader, '\0');
    r.Read(head.data(), kFileHeader, L"a picture header");
    if (head[0] != 'B' || head[1] != 'M')
        throw EbsSkinFormatError(L"Compressed skin: a picture is not a BMP image");
    const std::uint32_t size = Le32(head, 2);
    if (size < kMinBmp)
        throw EbsSkinFormatError(L"Compressed skin: a picture has an impossible size");
    if (size - kFileHeader > r.Allowance())
        throw EbsSkinFormatError(L"Compressed skin: a picture runs past the end of the data");
    return size;
}

// A picture of a slot this reader drops: passed over undecoded.
void SkipStreamedBitmap(TbsInflateReader& r) {
    std::string head;
    const std::uint32_t size = StreamedBitmapHeader(r, head);
    r.Skip(size - kFileHeader, L"a picture");
}

// One BMP file image read from the inflating stream. A plain 24-bit picture is inflated row by row straight into
// its bitmap (the same pixels Bitmap24FromBytes gives, the rows' padding left as a new bitmap has it); any other
// picture is read whole and decoded by BitmapFromBytes.
std::unique_ptr<TBitmap> StreamedBitmap(TbsInflateReader& r) {
    constexpr size_t kInfoHeader = 40;
    std::string head;
    const std::uint32_t size = StreamedBitmapHeader(r, head);
    const size_t infoBytes = std::min<size_t>(kInfoHeader, size - kFileHeader);
    head.resize(kFileHeader + infoBytes);
    r.Read(head.data() + kFileHeader, infoBytes, L"a picture");
    std::optional<TPlain24Layout> l = Plain24Layout(head, size);
    // Pixels that begin inside the headers already read go the general way.
    if (!l || l->OffBits < head.size()) {
        head.resize(size);
        r.Read(head.data() + kFileHeader + infoBytes, size - kFileHeader - infoBytes, L"a picture");
        return BitmapFromBytes(head);
    }
    r.Skip(l->OffBits - head.size(), L"a picture");
    auto bmp = std::make_unique<TBitmap>(l->Width, static_cast<int>(l->Rows), pf24bit);
    const TBitmapRows rows(*bmp);
    const size_t rowBytes = static_cast<size_t>(l->Width) * 3;
    for (std::uint64_t i = 0; i < l->Rows; ++i) {
        // Stored row i is image row Rows-1-i (bottom-up) or i (top-down).
        r.Read(rows.Row(l->Height > 0 ? l->Rows - 1 - i : i), rowBytes, L"a picture");
        r.Skip(static_cast<size_t>(l->Stride) - rowBytes, L"a picture");
    }
    r.Skip(static_cast<size_t>(size - l->OffBits - l->Stride * l->Rows), L"a picture");
    return bmp;
}

// Uncompressed 1-, 4- and 8-bit pictures (the skins' masks and some of their art) through their palette into a
// 24-bit bitmap, as the general decoder gives them, without its codec set-up for every picture. nullptr for any
// other kind and for an index past the palette (the general decoder decides those).
std::unique_ptr<TBitmap> PaletteBitmapFromBytes(const std::string& b) {
    if (b.size() < 54 || Le32(b, 14) < 40)
        return nullptr;
    const std::uint32_t infoSize = Le32(b, 14);
    const std::int32_t w = static_cast<std::int32_t>(Le32(b, 18));
    const std::int32_t h = static_cast<std::int32_t>(Le32(b, 22));
    const std::uint32_t planes = Le32(b, 26) & 0xFFFF, bpp = Le32(b, 26) >> 16;
    const std::uint32_t compression = Le32(b, 30), offBits = Le32(b, 10), used = Le32(b, 46);
    if (planes != 1 || (bpp != 1 && bpp != 4 && bpp != 8) || compression != 0 || w <= 0 || h == 0 ||
        h == INT32_MIN || w > 32768)
        return nullptr;
    const std::uint32_t colours = used ? used : (1u << bpp);
    const std::uint64_t rows = static_cast<std::uint64_t>(h < 0 ? -static_cast<std::int64_t>(h) : h);
    const std::uint64_t stride = (static_cast<std::uint64_t>(w) * bpp + 31) / 32 * 4;
    const std::uint64_t paletteAt = 14ull + infoSize;
    if (colours > (1u << bpp) || rows > 32768 || paletteAt + 4ull * colours > offBits || offBits > b.size() ||
        stride * rows > b.size() - offBits)
        return nullptr;
    const auto* palette = reinterpret_cast<const std::uint8_t*>(b.data()) + paletteAt;
    auto bmp = std::make_unique<TBitmap>(w, static_cast<int>(rows), pf24bit);
    const TBitmapRows out(*bmp);
    const std::uint32_t perByte = 8 / bpp, mask = (1u << bpp) - 1;
    for (std::uint64_t y = 0; y < rows; ++y) {
        const std::uint64_t src = h > 0 ? rows - 1 - y : y;
        const auto* in = reinterpret_cast<const std::uint8_t*>(b.data()) + offBits + src * stride;
        std::uint8_t* px = out.Row(y);
        for (std::int32_t x = 0; x < w; ++x, px += 3) {
            const std::uint32_t shift = (perByte - 1 - static_cast<std::uint32_t>(x) % perByte) * bpp;
            const std::uint32_t index = (in[static_cast<std::uint32_t>(x) / perByte] >> shift) & mask;
            if (index >= colours)
                return nullptr;
            px[0] = palette[index * 4];
            px[1] = palette[index * 4 + 1];
            px[2] = palette[index * 4 + 2];
        }
    }
    return bmp;
}

}  // namespace

std::unique_ptr<TBitmap> BitmapFromBytes(const std::string& bytes) {
    if (auto fast = Bitmap24FromBytes(bytes))
        return fast;
    if (auto fast = PaletteBitmapFromBytes(bytes))
        return fast;
    auto bmp = std::make_unique<TBitmap>();
    TMemoryStream ms;
    ms.WriteBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    ms.SetPosition(0);
    bmp->LoadFromStream(&ms);
    return bmp;
}

namespace {

std::string BitmapToBytes(TBitmap* bmp) {
    TMemoryStream ms;
    bmp->SaveToStream(&ms);
    return std::string(static_cast<const char*>(ms.Memory()), static_cast<size_t>(ms.Size()));
}

void ReadEntryList(TCustomIniFile* ini,
                   const wchar_t* section,
                   const std::function<void(const std::wstring&, const std::wstring&)>& add) {
    int count = ReadSkinInteger(ini, section, L"count", 0);
    for (int i = 0; i < count; ++i) {
        std::wstring id, kind;
        GetObjectTypeName(ini->ReadString(section, IntToStr(i), L""), id, kind);
        add(id, kind);
    }
}

}  // namespace

bool CheckSkinFile(TCustomIniFile* IniFile) {
    for (const wchar_t* s : {kVersion, kPictures, kFormInfo, kSkinObjects, kSkinControls})
        if (!IniFile->SectionExists(s))
            return false;
    return true;
}

void GetObjectTypeName(const std::wstring& Entry, std::wstring& IDName, std::wstring& Kind) {
    size_t colon = Entry.find(L':');
    if (colon == std::wstring::npos) {
        IDName.clear();
        Kind.clear();
        return;
    }
    IDName = Entry.substr(0, colon);
    Kind = Entry.substr(colon + 1);
}

// ---- Construction -------------------------------------------------------------------------------------------------
TbsSkinData::TbsSkinData(TComponent* AOwner)
    : TComponent(AOwner),
      FPicture(std::make_unique<TBitmap>()),
      FInActivePicture(std::make_unique<TBitmap>()),
      FMask(std::make_unique<TBitmap>()),
      FActivePicturesNames(std::make_unique<TStringList>()) {}

TbsSkinData::~TbsSkinData() {
    Empty = true;
    if (FChangeSystemColors && OnChangeSystemColors) {
        FChangeSystemColors = false;
        OnChangeSystemColors(this);
    }
    ClearObjects();
}

void TbsSkinData::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FCompressedSkinList)
        FCompressedSkinList = nullptr;
    if (AComponent == FCompressedStoredSkin)
        FCompressedStoredSkin = nullptr;
    if (AComponent == FResourceStrData)
        FResourceStrData = nullptr;
}

// ---- Field lists of the container's own sections ------------------------------------------------------------------
void TbsSkinData::VersionFields(TbsFieldSink& s) {
    s.Str(L"SkinName", SkinName);
    s.Str(L"SkinAuthor", SkinAuthor);
    s.Str(L"AuthorEmail", AuthorEmail);
    s.Str(L"AuthorURL", AuthorURL);
    s.Str(L"SkinComments", SkinComments);
}

void TbsSkinData::FormInfoFields1(TbsFieldSink& s) {
    s.Corners(LTPoint, RTPoint, LBPoint, RBPoint);
    s.Rect(L"ClRect", ClRect, L"clientrect");
    s.Int(L"BGPictureIndex", BGPictureIndex);
    s.Int(L"MDIBGPictureIndex", MDIBGPictureIndex);
    s.Bool(L"LeftStretch", LeftStretch);
    s.Bool(L"RightStretch", RightStretch);
    s.Bool(L"TopStretch", TopStretch);
    s.Bool(L"BottomStretch", BottomStretch);
    s.Bool(L"StretchEffect", StretchEffect);
    s.Stretch(L"StretchType", StretchType);
    s.Bool(L"MDIBGStretchEffect", MDIBGStretchEffect);
    s.Stretch(L"MDIBGStretchType", MDIBGStretchType);
    s.Rect(L"MaskRectArea", MaskRectArea);
    s.Point(L"HitTestLTPoint", HitTestLTPoint, L"hittestlefttoppoint");
    s.Point(L"HitTestRTPoint", HitTestRTPoint, L"hittestrighttoppoint");
    s.Point(L"HitTestLBPoint", HitTestLBPoint, L"hittestleftbottompoint");
    s.Point(L"HitTestRBPoint", HitTestRBPoint, L"hittestrightbottompoint");
}

void TbsSkinData::FormInfoFields2(TbsFieldSink& s) {
    s.Rect(L"ButtonsRect", ButtonsRect);
    s.Rect(L"CaptionRect", CaptionRect);
    s.Int(L"ButtonsOffset", ButtonsOffset);
    s.Bool(L"CapButtonsInLeft", CapButtonsInLeft, L"buttonsinleft");
    s.Bool(L"MainMenuPopupUp", MainMenuPopupUp);
    s.Int(L"BorderW", BorderW, L"borderwidth");
    s.Int(L"FormMinWidth", FormMinWidth);
    s.Int(L"FormMinHeight", FormMinHeight);
    s.Bool(L"MDITabsTransparent", MDITabsTransparent);
    s.Bool(L"MainMenuBarTransparent", MainMenuBarTransparent);
    s.Bool(L"AutoRenderingInActiveImage", AutoRenderingInActiveImage);
    s.InActive(L"InActiveEffect", InActiveEffect);
}

// ---- Reading ------------------------------------------------------------------------------------------------------
void TbsSkinData::ReadFormInfo(TCustomIniFile* IniFile) {
    ReadFieldList([this](TbsFieldSink& s) { FormInfoFields1(s); }, IniFile, kFormInfo);
    if (!FMaskName.empty()) {
        if (MaskRectArea.IsEmpty()) {
            MaskRectArea = ClRect;
        } else {
            MaskRectArea.Left = std::min(MaskRectArea.Left, ClRect.Left);
            MaskRectArea.Top = std::min(MaskRectArea.Top, ClRect.Top);
            MaskRectArea.Right = std::max(MaskRectArea.Right, ClRect.Right);
            MaskRectArea.Bottom = std::max(MaskRectArea.Bottom, ClRect.Bottom);
        }
        auto fill = [](TPoint& hit, const TPoint& corner) {
            if (hit.X == 0 || hit.Y == 0)
                hit = corner;
        };
        fill(HitTestLTPoint, LTPoint);
        fill(HitTestRTPoint, RTPoint);
        fill(HitTestLBPoint, LBPoint);
        fill(HitTestRBPoint, RBPoint);
    }
    ReadFieldList([this](TbsFieldSink& s) { FormInfoFields2(s); }, IniFile, kFormInfo);
    if (RBPoint.X != LTPoint.X && RBPoint.Y != LTPoint.Y) {
        LTPoint.X = std::max(LTPoint.X, ClRect.Left);
        LTPoint.Y = std::max(LTPoint.Y, ClRect.Top);
        RTPoint.X = std::min(RTPoint.X, ClRect.Right);
        RTPoint.Y = std::max(RTPoint.Y, ClRect.Top);
        LBPoint.X = std::max(LBPoint.X, ClRect.Left);
        LBPoint.Y = std::min(LBPoint.Y, ClRect.Bottom);
        RBPoint.X = std::min(RBPoint.X, ClRect.Right);
        RBPoint.Y = std::min(RBPoint.Y, ClRect.Bottom);
    }
}

void TbsSkinData::ReadObjects(TCustomIniFile* IniFile) {
    ReadEntryList(IniFile, kSkinObjects, [&](const std::wstring& id, const std::wstring& kind) {
        auto rec = CreateObjectRecord(kind, id);
        if (!rec)
            return;
        TbsDataSkinObject* r = rec.get();
        ObjectList.push_back(std::move(rec));
        r->LoadFromFile(IniFile);
        r->InitAlphaImages(this);
    });
}

void TbsSkinData::ReadCtrls(TCustomIniFile* IniFile) {
    ReadEntryList(IniFile, kSkinControls, [&](const std::wstring& id, const std::wstring& kind) {
        auto rec = CreateControlRecord(kind, id);
        if (!rec)
            return;
        TbsDataSkinControl* r = rec.get();
        CtrlList.push_back(std::move(rec));
        r->LoadFromFile(IniFile);
    });
}

void TbsSkinData::ReadActivePictures(TCustomIniFile* IniFile, const std::wstring& Folder) {
    ReadStrings1(IniFile, kPictures, L"activepictures", FActivePicturesNames.get());
    for (int i = 0; i < FActivePicturesNames->Count(); ++i) {
        FActivePictures.push_back(std::make_unique<TBitmap>());
        FActivePictures.back()->LoadFromFile(Folder + FActivePicturesNames->Get(i));
    }
}

void TbsSkinData::ReadVersionAndPictureNames(TCustomIniFile* IniFile) {
    ReadFieldList([this](TbsFieldSink& s) { VersionFields(s); }, IniFile, kVersion);
    FPictureName = IniFile->ReadString(kPictures, L"picture", L"");
    FInActivePictureName = IniFile->ReadString(kPictures, L"inactivepicture", L"");
    FMaskName = IniFile->ReadString(kPictures, L"mask", L"");
}

void TbsSkinData::ReadSkinSections(TCustomIniFile* IniFile) {
    ReadFormInfo(IniFile);
    PopupWindow.LoadFromFile(IniFile);
    LayerFrame.LoadFromFile(IniFile);
    LayerFrame.InitAlphaImages(this);
    HintWindow.LoadFromFile(IniFile);
    FSkinColors.LoadFromFile(IniFile);
    ReadObjects(IniFile);
    ReadCtrls(IniFile);
}

// ---- The change protocol ------------------------------------------------------------------------------------------
void TbsSkinData::BeginChange() {
    Empty = true;
    ChangeSkinDataProcess = true;
    SendSkinDataMessage(WM_BEFORECHANGESKINDATA);
    ClearAll();
    ++loadCount_;
}

void TbsSkinData::EndChange() {
    RebuildIndexes();
    ++loadCount_;
    Empty = false;
    if (OnLoadData)
        OnLoadData(this);
    // Re-applied so that the colour redirection follows the new colours.
    if (OnChangeSystemColors)
        OnChangeSystemColors(this);
    SendSkinDataMessage(WM_CHANGESKINDATA);
    ChangeSkinDataProcess = false;
    SendSkinDataMessage(WM_AFTERCHANGESKINDATA);
}

void TbsSkinData::AbortChange() {
    ClearAll();
    RebuildIndexes();
    ++loadCount_;
    if (OnChangeSystemColors)
        OnChangeSystemColors(this);
    SendSkinDataMessage(WM_CHANGESKINDATA);
    ChangeSkinDataProcess = false;
    SendSkinDataMessage(WM_AFTERCHANGESKINDATA);
}

// ---- Loading ------------------------------------------------------------------------------------------------------
void TbsSkinData::LoadFromFile(const std::wstring& FileName) {
    // The private-profile functions look for a name without a folder in the Windows folder; the pictures are looked
    // for beside the file, so both must see the same full path.
    const std::wstring full = ExpandFileName(FileName);
    TIniFile ini(full);
    if (!CheckSkinFile(&ini))
        return;
    BeginChange();
    try {
        const std::wstring folder = ExtractFilePath(full);
        ReadVersionAndPictureNames(&ini);
        if (!FPictureName.empty())
            FPicture->LoadFromFile(folder + FPictureName);
        if (!FInActivePictureName.empty())
            FInActivePicture->LoadFromFile(folder + FInActivePictureName);
        if (!FMaskName.empty())
            FMask->LoadFromFile(folder + FMaskName);
        ReadActivePictures(&ini, folder);
        ReadSkinSections(&ini);
    } catch (...) {
        AbortChange();
        throw;
    }
    EndChange();
}

void TbsSkinData::LoadCompressedStoredSkin(TbsCompressedStoredSkin* AStoredSkin) {
    if (!AStoredSkin || AStoredSkin->GetEmpty())
        return;
    const std::string_view zl = AStoredSkin->CompressedView();
    // A newer content version is refused before any form hears of a change.
    if (auto version = PeekContentVersion(zl.data(), zl.size()); version && *version > kCompressedSkinVersion)
        return;
    BeginChange();
    try {
        // The content is walked as it inflates: pictures land in their bitmaps, only the ini text is kept whole.
        TbsInflateReader r(zl.data(), zl.size());
        const std::int32_t version = r.Int32(L"the version");
        if (version > kCompressedSkinVersion)
            throw EbsSkinFormatError(L"Compressed skin: version " + IntToStr(version) +
                                     L" is newer than this reader");
        auto slot = [&r](std::unique_ptr<TBitmap>& target) {
            // Every flag other than 0 means an empty slot.
            if (r.Byte(L"a picture flag") == 0)
                target = StreamedBitmap(r);
        };
        slot(FPicture);
        slot(FInActivePicture);
        slot(FMask);
        if (version == 2) {
            // Two further slots of older skins: read and dropped.
            for (int i = 0; i < 2; ++i)
                if (r.Byte(L"a picture flag") == 0)
                    SkipStreamedBitmap(r);
        }
        const std::int32_t count = r.Int32(L"the picture count");
        for (std::int32_t i = 0; i < count; ++i)
            FActivePictures.push_back(StreamedBitmap(r));
        const std::string iniText = r.Rest();
        TStringList lines;
        lines.LoadFromBytes(iniText.data(), iniText.size());
        TbsSkinMemIni ini(L"");
        ini.SetStrings(&lines);
        ReadVersionAndPictureNames(&ini);
        ReadStrings1(&ini, kPictures, L"activepictures", FActivePicturesNames.get());
        ReadSkinSections(&ini);
    } catch (...) {
        AbortChange();
        throw;
    }
    EndChange();
}

void TbsSkinData::LoadFromCompressedFile(const std::wstring& FileName) {
    auto stored = std::make_unique<TbsCompressedStoredSkin>(nullptr);
    stored->LoadFromCompressFile(FileName);
    if (!stored->GetEmpty())
        LoadCompressedStoredSkin(stored.get());
}

void TbsSkinData::LoadListItem(int Index) {
    LoadCompressedStoredSkin(FCompressedSkinList->Skins()->Items(Index)->Skin());
}

// ---- Clearing -----------------------------------------------------------------------------------------------------
void TbsSkinData::ClearSkin() {
    // Forms hear of the change before the records they may still point into are freed.
    Empty = true;
    SendSkinDataMessage(WM_BEFORECHANGESKINDATA);
    ClearAll();
    RebuildIndexes();
    ++loadCount_;
    // Without a skin the colour redirection ends.
    if (OnChangeSystemColors)
        OnChangeSystemColors(this);
    SendSkinDataMessage(WM_CHANGESKINDATA);
    SendSkinDataMessage(WM_AFTERCHANGESKINDATA);
}

void TbsSkinData::ClearAll() {
    ClearObjects();
    FPicture = std::make_unique<TBitmap>();
    FInActivePicture = std::make_unique<TBitmap>();
    FMask = std::make_unique<TBitmap>();
    FPictureName.clear();
    FInActivePictureName.clear();
    FMaskName.clear();
    Empty = true;
}

void TbsSkinData::ClearObjects() {
    ObjectList.clear();
    CtrlList.clear();
    objectIndex_.clear();
    controlIndex_.clear();
    FActivePictures.clear();
    LayerFrame.PictureIndex = -1;
    LayerFrame.InActivePictureIndex = -1;
    LayerFrame.InitAlphaImages(this);
    PopupWindow.WindowPictureIndex = -1;
    HintWindow.WindowPictureIndex = -1;
    FActivePicturesNames->Clear();
    FSkinColors.SetColorsToDefault();
}

// ---- Lookups ------------------------------------------------------------------------------------------------------
void TbsSkinData::RebuildIndexes() {
    objectIndex_.clear();
    controlIndex_.clear();
    // emplace keeps the first of several equal names.
    for (size_t i = 0; i < ObjectList.size(); ++i)
        objectIndex_.emplace(ObjectList[i]->IDName, static_cast<int>(i));
    for (size_t i = 0; i < CtrlList.size(); ++i)
        controlIndex_.emplace(CtrlList[i]->IDName, static_cast<int>(i));
}

int TbsSkinData::GetIndex(const std::wstring& AIDName) const {
    auto it = objectIndex_.find(AIDName);
    return it == objectIndex_.end() ? -1 : it->second;
}

int TbsSkinData::GetControlIndex(const std::wstring& AIDName) const {
    auto it = controlIndex_.find(AIDName);
    return it == controlIndex_.end() ? -1 : it->second;
}

TBitmap* TbsSkinData::GetActivePicture(int Index) const {
    if (Index < 0 || Index >= ActivePictureCount())
        RaiseListIndexError(Index);
    return FActivePictures[static_cast<size_t>(Index)].get();
}

void TbsSkinData::AddBitMap(const std::wstring& FileName) {
    auto bmp = std::make_unique<TBitmap>();
    bmp->LoadFromFile(FileName);
    FActivePicturesNames->Add(ExtractFileName(FileName));
    FActivePictures.push_back(std::move(bmp));
}

void TbsSkinData::DeleteBitMap(int Index) {
    if (Index < 0 || Index >= ActivePictureCount() || Index >= FActivePicturesNames->Count())
        RaiseListIndexError(Index);
    FActivePicturesNames->Delete(Index);
    FActivePictures.erase(FActivePictures.begin() + Index);
}

// ---- Broadcast ----------------------------------------------------------------------------------------------------
void TbsSkinData::SendSkinDataMessage(UINT Msg) {
    if (FBuilderMode)
        return;
    const WPARAM wParam = reinterpret_cast<WPARAM>(this);
    // A form whose window is not made yet hears the change straight through its window procedure: making its
    // window (and every control's) only to tell it would cost a start every window before it is laid out.
    auto tell = [&](TCustomForm* form, HWND made) {
        if (made)
            ::SendMessageW(made, Msg, wParam, kSkinDataMessageParam);
        else
            form->Perform(Msg, wParam, kSkinDataMessageParam);
    };
    auto handleOf = [](TCustomForm* form) { return form->HandleAllocated() ? form->Handle() : nullptr; };
    TCustomForm* served = nullptr;
    if (auto* owner = dynamic_cast<TCustomForm*>(Owner()); owner && !FShowLayeredBorders) {
        served = owner;
        tell(owner, handleOf(owner));
    }
    std::vector<std::pair<TCustomForm*, HWND>> forms;
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TCustomForm* form = Screen->Forms(i);
        if (form == served || form->ClassName() == L"TbsFormLayerWindow")
            continue;
        forms.emplace_back(form, handleOf(form));
    }
    if (FShowLayeredBorders && LayerFrame.PictureIndex != -1)
        std::reverse(forms.begin(), forms.end());
    for (const auto& [form, made] : forms) {
        if (made) {
            tell(form, made);
            continue;
        }
        // A form told before may have freed this one: only a form still listed is called.
        for (int i = 0; i < Screen->FormCount(); ++i) {
            if (Screen->Forms(i) == form) {
                tell(form, nullptr);
                break;
            }
        }
    }
}

// ---- Properties ---------------------------------------------------------------------------------------------------
void TbsSkinData::SetSkinList(TbsCompressedSkinList* Value) {
    FCompressedSkinList = Value;
    if (!Value)
        return;
    FreeNotification(Value);
    if (FCompressedSkinIndex >= 0 && FCompressedSkinIndex < Value->Skins()->Count())
        LoadListItem(FCompressedSkinIndex);
}

void TbsSkinData::SetSkinIndex(int Value) {
    if (Value == FCompressedSkinIndex)
        return;
    if (!FCompressedSkinList) {
        FCompressedSkinIndex = Value;
        return;
    }
    if (Value < 0 || Value >= FCompressedSkinList->Skins()->Count())
        return;
    FCompressedSkinIndex = Value;
    LoadListItem(Value);
}

void TbsSkinData::SetCompressedStoredSkin(TbsCompressedStoredSkin* Value) {
    FCompressedStoredSkin = Value;
    if (!Value)
        return;
    FreeNotification(Value);
    LoadCompressedStoredSkin(Value);
}

void TbsSkinData::SetResourceStrData(TbsResourceStrData* Value) {
    FResourceStrData = Value;
    if (Value)
        FreeNotification(Value);
    SendSkinDataMessage(WM_CHANGERESOURCESTRDATA);
}

void TbsSkinData::SetSkinnableForm(bool Value) {
    if (Value == FSkinnableForm)
        return;
    FSkinnableForm = Value;
    if (!ComponentState().Contains(csLoading))
        SendSkinDataMessage(WM_CHANGESKINNABLEFORM);
}

void TbsSkinData::SetShowLayeredBorders(bool Value) {
    if (Value == FShowLayeredBorders)
        return;
    FShowLayeredBorders = Value;
    if (!ComponentState().Contains(csLoading))
        SendSkinDataMessage(WM_CHANGESHOWLAYEREDBORDERS);
}

void TbsSkinData::SetAeroBlurEnabled(bool Value) {
    if (Value == FAeroBlurEnabled)
        return;
    FAeroBlurEnabled = Value;
    if (!ComponentState().Contains(csLoading))
        SendSkinDataMessage(WM_CHANGEAEROBLURENABLED);
}

void TbsSkinData::SetChangeSystemColors(bool Value) {
    FChangeSystemColors = Value;
    if (OnChangeSystemColors)
        OnChangeSystemColors(this);
}

// ---- Fonts --------------------------------------------------------------------------------------------------------
void TbsSkinData::GlobalChangeFont(const std::wstring& ANewFontName, int AFontHeightCorrection) {
    // Every record with a text font names it in fields ending in "FontName" and "FontHeight" (the grid's fixed font
    // and the list box's caption font included); the application menu's page height is deliberately not among them.
    TbsFieldLambda change([&](const TbsField& f) {
        if (f.Kind == TbsFieldKind::String && EndsWith(f.Name, L"FontName"))
            *static_cast<std::wstring*>(f.Ptr) = ANewFontName;
        else if (f.Kind == TbsFieldKind::Integer && EndsWith(f.Name, L"FontHeight"))
            *static_cast<int*>(f.Ptr) += AFontHeightCorrection;
    });
    HintWindow.EnumFields(change);
    for (auto& o : ObjectList)
        o->EnumFields(change);
    for (auto& c : CtrlList)
        c->EnumFields(change);
}

// ---- Writing ------------------------------------------------------------------------------------------------------
void TbsSkinData::WriteFormInfo(TCustomIniFile* IniFile) {
    WriteFieldList([this](TbsFieldSink& s) { FormInfoFields1(s); }, IniFile, kFormInfo);
    WriteFieldList([this](TbsFieldSink& s) { FormInfoFields2(s); }, IniFile, kFormInfo);
}

void TbsSkinData::WriteActivePictures(TCustomIniFile* IniFile) {
    WriteStrings1(IniFile, kPictures, L"activepictures", FActivePicturesNames.get());
}

void TbsSkinData::WriteObjects(TCustomIniFile* IniFile) {
    IniFile->EraseSection(kSkinObjects);
    WriteSkinInteger(IniFile, kSkinObjects, L"count", static_cast<int>(ObjectList.size()));
    for (size_t i = 0; i < ObjectList.size(); ++i) {
        IniFile->WriteString(kSkinObjects, IntToStr(static_cast<long long>(i)),
                             ObjectList[i]->IDName + L":" + ObjectList[i]->KindWord());
        ObjectList[i]->SaveToFile(IniFile);
    }
}

void TbsSkinData::WriteCtrls(TCustomIniFile* IniFile) {
    IniFile->EraseSection(kSkinControls);
    WriteSkinInteger(IniFile, kSkinControls, L"count", static_cast<int>(CtrlList.size()));
    for (size_t i = 0; i < CtrlList.size(); ++i) {
        IniFile->WriteString(kSkinControls, IntToStr(static_cast<long long>(i)),
                             CtrlList[i]->IDName + L":" + CtrlList[i]->KindWord());
        CtrlList[i]->SaveToFile(IniFile);
    }
}

void TbsSkinData::SaveToCustomIniFile(TCustomIniFile* IniFile) {
    IniFile->EraseSection(kVersion);
    WriteSkinInteger(IniFile, kVersion, L"ver", 1);
    WriteFieldList([this](TbsFieldSink& s) { VersionFields(s); }, IniFile, kVersion);
    IniFile->EraseSection(kPictures);
    IniFile->WriteString(kPictures, L"picture", FPictureName);
    IniFile->WriteString(kPictures, L"inactivepicture", FInActivePictureName);
    IniFile->WriteString(kPictures, L"mask", FMaskName);
    WriteActivePictures(IniFile);
    IniFile->EraseSection(kFormInfo);
    WriteFormInfo(IniFile);
    PopupWindow.SaveToFile(IniFile);
    LayerFrame.SaveToFile(IniFile);
    HintWindow.SaveToFile(IniFile);
    FSkinColors.SaveToFile(IniFile);
    WriteObjects(IniFile);
    WriteCtrls(IniFile);
}

void TbsSkinData::SaveToFile(const std::wstring& FileName) {
    TbsSkinMemIni ini(ExpandFileName(FileName));
    SaveToCustomIniFile(&ini);
    ini.UpdateFile();
}

void TbsSkinData::StoreToDisk(const std::wstring& AFileName) {
    const std::wstring full = ExpandFileName(AFileName);
    SaveToFile(full);
    const std::wstring folder = ExtractFilePath(full);
    auto store = [&](TBitmap* bmp, const std::wstring& name) {
        if (!bmp->Empty() && !name.empty()) {
            std::string bytes = BitmapToBytes(bmp);
            SaveBytesToFileSafely(folder + name, bytes.data(), bytes.size());
        }
    };
    store(FPicture.get(), FPictureName);
    store(FInActivePicture.get(), FInActivePictureName);
    store(FMask.get(), FMaskName);
    for (int i = 0; i < ActivePictureCount() && i < FActivePicturesNames->Count(); ++i)
        store(FActivePictures[static_cast<size_t>(i)].get(), FActivePicturesNames->Get(i));
}

void TbsSkinData::SaveToCompressedFile(const std::wstring& FileName) {
    auto stored = std::make_unique<TbsCompressedStoredSkin>(nullptr);
    stored->LoadFromSkinData(this);
    stored->SaveToCompressFile(FileName);
}

// ---- TbsCompressedStoredSkin::LoadFromSkinData (needs the container) ------------------------------------------------
void TbsCompressedStoredSkin::LoadFromSkinData(TbsSkinData* ASkinData) {
    TbsSkinContent c;
    auto slot = [](TBitmap* bmp) -> std::optional<std::string> {
        if (bmp->Empty())
            return std::nullopt;
        return BitmapToBytes(bmp);
    };
    c.Picture = slot(ASkinData->FPicture.get());
    c.InActivePicture = slot(ASkinData->FInActivePicture.get());
    c.Mask = slot(ASkinData->FMask.get());
    for (auto& bmp : ASkinData->FActivePictures)
        c.ActivePictures.push_back(BitmapToBytes(bmp.get()));
    TbsSkinMemIni ini(L"");
    ASkinData->SaveToCustomIniFile(&ini);
    TStringList lines;
    ini.GetStrings(&lines);
    // The system code page when it holds every character, else UTF-8 with its mark (which every reader recognises).
    const std::wstring text = lines.Text();
    const bool ansiSafe = AnsiToWide(WideToAnsi(text)) == text;
    c.IniText = lines.ToBytes(ansiSafe ? TTextEncoding::Ansi : TTextEncoding::UTF8);
    SetCompressedBytes(CompressBytes(BuildSkinContent(c)));
}
