// Compressed skins (see CompressedSkin.h).
#include "skin/core/CompressedSkin.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "skin/core/SkinIniValues.h"

namespace {

constexpr size_t kBufferSize = 8192;
constexpr size_t kOutputStep = 256 * 1024;
constexpr size_t kBmpFileHeaderSize = 14;
// A BMP file image holds at least its file header and the smallest (core) info header.
constexpr std::uint32_t kMinBmpSize = kBmpFileHeaderSize + 12;

std::uint32_t GetU32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

void PutI32(std::string& out, std::int32_t v) {
    auto u = static_cast<std::uint32_t>(v);
    char b[4] = {char(u & 0xFF), char((u >> 8) & 0xFF), char((u >> 16) & 0xFF), char((u >> 24) & 0xFF)};
    out.append(b, 4);
}

[[noreturn]] void Fail(const std::wstring& what) {
    throw EbsSkinFormatError(L"Compressed skin: " + what);
}

// Walks the content bytes with every read checked against the end; pictures and text come back as views into them.
class TContentReader {
  public:
    explicit TContentReader(std::string_view bytes)
        : p_(reinterpret_cast<const std::uint8_t*>(bytes.data())), size_(bytes.size()) {}
    size_t Remaining() const { return size_ - pos_; }
    std::int32_t Int32(const wchar_t* what) {
        if (Remaining() < 4)
            Fail(std::wstring(what) + L" runs past the end of the data");
        std::int32_t v = static_cast<std::int32_t>(GetU32(p_ + pos_));
        pos_ += 4;
        return v;
    }
    std::uint8_t Byte(const wchar_t* what) {
        if (Remaining() < 1)
            Fail(std::wstring(what) + L" runs past the end of the data");
        return p_[pos_++];
    }
    // One BMP file image, delimited by its bfSize.
    std::string_view Bitmap() {
        if (Remaining() < kBmpFileHeaderSize)
            Fail(L"a picture header runs past the end of the data");
        if (p_[pos_] != 'B' || p_[pos_ + 1] != 'M')
            Fail(L"a picture is not a BMP image");
        std::uint32_t size = GetU32(p_ + pos_ + 2);
        if (size < kMinBmpSize)
            Fail(L"a picture has an impossible size");
        if (size > Remaining())
            Fail(L"a picture runs past the end of the data");
        std::string_view bmp(reinterpret_cast<const char*>(p_ + pos_), size);
        pos_ += size;
        return bmp;
    }
    std::optional<std::string_view> Slot() {
        // Every flag other than 0 means an empty slot.
        if (Byte(L"a picture flag") != 0)
            return std::nullopt;
        return Bitmap();
    }
    std::string_view Rest() {
        std::string_view r(reinterpret_cast<const char*>(p_ + pos_), Remaining());
        pos_ = size_;
        return r;
    }

  private:
    const std::uint8_t* p_;
    size_t size_;
    size_t pos_ = 0;
};

// Progress, the stream's end and "no progress possible" (judged by the caller) are the only results a well-formed
// stream gives; anything else (a preset dictionary asked for, a damaged stream) would stall or corrupt the read.
void CheckInflate(int rc) {
    if (rc == Z_NEED_DICT)
        Fail(L"the compressed data asks for a preset dictionary");
    if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR)
        throw EDecompressionError(L"compression error");
}

}  // namespace

// ---- zlib ---------------------------------------------------------------------------------------------------------
void CompressStream(TStream* InStream, TStream* OutStream) {
    InStream->SetPosition(0);
    std::string in = InStream->ReadAll();
    std::string out = CompressBytes(in);
    OutStream->WriteBuffer(out.data(), static_cast<std::int32_t>(out.size()));
}

std::string CompressBytes(const std::string& data) {
    z_stream z{};
    if (deflateInit(&z, Z_BEST_COMPRESSION) != Z_OK)
        throw ECompressionError(L"error");
    std::string out;
    unsigned char buffer[kBufferSize];
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = static_cast<uInt>(data.size());
    int rc;
    do {
        z.next_out = buffer;
        z.avail_out = kBufferSize;
        rc = deflate(&z, Z_FINISH);
        if (rc == Z_STREAM_ERROR) {
            deflateEnd(&z);
            throw ECompressionError(L"error");
        }
        out.append(reinterpret_cast<char*>(buffer), kBufferSize - z.avail_out);
    } while (rc != Z_STREAM_END);
    deflateEnd(&z);
    return out;
}

std::string DecompressBytes(const void* data, size_t size, std::int64_t maxSize) {
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        throw EDecompressionError(L"compression error");
    // Inflated straight into the result, grown in large steps: zlib then copies little into its window.
    std::string out;
    size_t used = 0;
    z.next_in = static_cast<Bytef*>(const_cast<void*>(data));
    z.avail_in = static_cast<uInt>(size);
    int rc = Z_OK;
    try {
        while (rc != Z_STREAM_END) {
            if (static_cast<std::int64_t>(used) >= maxSize)
                Fail(L"the content is larger than any skin may be");
            const size_t step =
                std::min<size_t>(std::max<size_t>(used, kOutputStep), static_cast<size_t>(maxSize) - used);
            out.resize(used + step);
            z.next_out = reinterpret_cast<Bytef*>(out.data() + used);
            z.avail_out = static_cast<uInt>(step);
            rc = inflate(&z, Z_NO_FLUSH);
            CheckInflate(rc);
            const size_t produced = step - z.avail_out;
            used += produced;
            // No progress before the end of the zlib stream: the data was cut short. A skin cut inside its ini text
            // would otherwise load with sections silently missing.
            if (rc != Z_STREAM_END && produced == 0 && (z.avail_in == 0 || rc == Z_BUF_ERROR))
                Fail(L"the compressed data ends before the end of its zlib stream");
            // A full output with more to come past the limit is a zip bomb; the loop's first test refuses it.
        }
    } catch (...) {
        inflateEnd(&z);
        throw;
    }
    inflateEnd(&z);
    out.resize(used);
    return out;
}

// ---- TbsInflateReader ---------------------------------------------------------------------------------------------
struct TbsInflateReader::State {
    z_stream z{};
    std::uint64_t produced = 0;
    std::uint64_t maxSize = 0;
    bool ended = false;
};

TbsInflateReader::TbsInflateReader(const void* data, size_t size, std::int64_t maxSize)
    : z_(std::make_unique<State>()) {
    if (inflateInit(&z_->z) != Z_OK)
        throw EDecompressionError(L"compression error");
    z_->z.next_in = static_cast<Bytef*>(const_cast<void*>(data));
    z_->z.avail_in = static_cast<uInt>(size);
    z_->maxSize = maxSize > 0 ? static_cast<std::uint64_t>(maxSize) : 0;
}

TbsInflateReader::~TbsInflateReader() {
    inflateEnd(&z_->z);
}

std::uint64_t TbsInflateReader::Allowance() const {
    return z_->maxSize - z_->produced;
}

void TbsInflateReader::Read(void* dest, size_t n, const wchar_t* what) {
    if (n > Allowance())
        Fail(std::wstring(what) + L" runs past the end of the data");
    auto* out = static_cast<Bytef*>(dest);
    while (n > 0) {
        if (z_->ended)
            Fail(std::wstring(what) + L" runs past the end of the data");
        const uInt step = static_cast<uInt>(std::min<size_t>(n, 1u << 30));
        z_->z.next_out = out;
        z_->z.avail_out = step;
        const int rc = inflate(&z_->z, Z_NO_FLUSH);
        CheckInflate(rc);
        const size_t produced = step - z_->z.avail_out;
        z_->produced += produced;
        out += produced;
        n -= produced;
        if (rc == Z_STREAM_END)
            z_->ended = true;
        else if (produced == 0 && (z_->z.avail_in == 0 || rc == Z_BUF_ERROR))
            Fail(L"the compressed data ends before the end of its zlib stream");
    }
}

void TbsInflateReader::Skip(size_t n, const wchar_t* what) {
    unsigned char buffer[kBufferSize];
    while (n > 0) {
        const size_t step = std::min(n, sizeof buffer);
        Read(buffer, step, what);
        n -= step;
    }
}

std::int32_t TbsInflateReader::Int32(const wchar_t* what) {
    unsigned char b[4];
    Read(b, 4, what);
    return static_cast<std::int32_t>(GetU32(b));
}

std::uint8_t TbsInflateReader::Byte(const wchar_t* what) {
    std::uint8_t b = 0;
    Read(&b, 1, what);
    return b;
}

std::string TbsInflateReader::Rest() {
    std::string out;
    size_t used = 0;
    while (!z_->ended) {
        if (Allowance() == 0)
            Fail(L"the content is larger than any skin may be");
        const size_t step = static_cast<size_t>(std::min<std::uint64_t>(std::max<size_t>(used, kBufferSize * 8), Allowance()));
        out.resize(used + step);
        z_->z.next_out = reinterpret_cast<Bytef*>(out.data() + used);
        z_->z.avail_out = static_cast<uInt>(step);
        const int rc = inflate(&z_->z, Z_NO_FLUSH);
        CheckInflate(rc);
        const size_t produced = step - z_->z.avail_out;
        used += produced;
        z_->produced += produced;
        if (rc == Z_STREAM_END)
            z_->ended = true;
        else if (produced == 0 && (z_->z.avail_in == 0 || rc == Z_BUF_ERROR))
            Fail(L"the compressed data ends before the end of its zlib stream");
    }
    out.resize(used);
    return out;
}

void DeCompressStream(TStream* OutStream, TStream* InStream, std::int64_t maxSize) {
    InStream->SetPosition(0);
    std::string in = InStream->ReadAll();
    std::string out = DecompressBytes(in.data(), in.size(), maxSize);
    OutStream->WriteBuffer(out.data(), static_cast<std::int32_t>(out.size()));
}

std::optional<std::int32_t> PeekContentVersion(const void* data, size_t size) {
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        return std::nullopt;
    unsigned char head[4];
    z.next_in = static_cast<Bytef*>(const_cast<void*>(data));
    z.avail_in = static_cast<uInt>(size);
    z.next_out = head;
    z.avail_out = sizeof head;
    int rc = Z_OK;
    while (z.avail_out > 0 && (rc == Z_OK)) {
        rc = inflate(&z, Z_NO_FLUSH);
        if (rc == Z_OK && z.avail_in == 0)
            break;
    }
    bool ok = z.avail_out == 0;
    inflateEnd(&z);
    if (!ok)
        return std::nullopt;
    return static_cast<std::int32_t>(GetU32(head));
}

// ---- Content layout -----------------------------------------------------------------------------------------------
TbsSkinContentView ParseSkinContentView(std::string_view bytes) {
    TContentReader r(bytes);
    TbsSkinContentView c;
    c.Version = r.Int32(L"the version");
    if (c.Version > kCompressedSkinVersion)
        return c;
    c.Picture = r.Slot();
    c.InActivePicture = r.Slot();
    c.Mask = r.Slot();
    if (c.Version == 2) {
        // Two further slots of older skins: read and dropped.
        r.Slot();
        r.Slot();
    }
    std::int32_t count = r.Int32(L"the picture count");
    if (count > 0) {
        if (static_cast<std::uint64_t>(count) * kMinBmpSize > r.Remaining())
            Fail(L"the picture count runs past the end of the data");
        c.ActivePictures.reserve(static_cast<size_t>(count));
        for (std::int32_t i = 0; i < count; ++i)
            c.ActivePictures.push_back(r.Bitmap());
    }
    c.IniText = r.Rest();
    return c;
}

TbsSkinContent ParseSkinContent(const std::string& bytes) {
    const TbsSkinContentView v = ParseSkinContentView(bytes);
    auto own = [](const std::optional<std::string_view>& slot) -> std::optional<std::string> {
        if (!slot)
            return std::nullopt;
        return std::string(*slot);
    };
    TbsSkinContent c;
    c.Version = v.Version;
    c.Picture = own(v.Picture);
    c.InActivePicture = own(v.InActivePicture);
    c.Mask = own(v.Mask);
    c.ActivePictures.reserve(v.ActivePictures.size());
    for (std::string_view bmp : v.ActivePictures)
        c.ActivePictures.emplace_back(bmp);
    c.IniText = std::string(v.IniText);
    return c;
}

std::string BuildSkinContent(const TbsSkinContent& content) {
    std::string out;
    PutI32(out, kCompressedSkinVersion);
    for (const auto* slot : {&content.Picture, &content.InActivePicture, &content.Mask}) {
        if (slot->has_value() && !(*slot)->empty()) {
            out.push_back(0);
            out += **slot;
        } else {
            out.push_back(1);
        }
    }
    PutI32(out, static_cast<std::int32_t>(content.ActivePictures.size()));
    for (const auto& bmp : content.ActivePictures)
        out += bmp;
    out += content.IniText;
    return out;
}

// ---- TbsCompressedStoredSkin --------------------------------------------------------------------------------------
TbsCompressedStoredSkin::TbsCompressedStoredSkin(TComponent* AOwner) : TComponent(AOwner) {}
TbsCompressedStoredSkin::~TbsCompressedStoredSkin() = default;

bool TbsCompressedStoredSkin::GetEmpty() const {
    return CompressedView().empty();
}

void TbsCompressedStoredSkin::SetCompressedBytes(const std::string& zlibBytes) {
    FBorrowed = {};
    FOwned = zlibBytes;
}

void TbsCompressedStoredSkin::SetBorrowedCompressedBytes(std::string_view zlibBytes) {
    FOwned.clear();
    FOwned.shrink_to_fit();
    FBorrowed = zlibBytes;
}

std::string_view TbsCompressedStoredSkin::CompressedView() const {
    return FBorrowed.empty() ? std::string_view(FOwned) : FBorrowed;
}

std::string TbsCompressedStoredSkin::CompressedBytes() const {
    return std::string(CompressedView());
}

std::string TbsCompressedStoredSkin::CompressBlock() const {
    const std::string_view zl = CompressedView();
    std::string out;
    PutI32(out, kCompressedSkinVersion);
    PutI32(out, static_cast<std::int32_t>(zl.size()));
    out.append(zl);
    return out;
}

namespace {

// The zlib stream inside an outer block; nullopt for a version this reader does not take.
std::optional<std::string_view> BlockStream(std::string_view block) {
    if (block.size() < 4)
        Fail(L"the block is shorter than its header");
    std::int32_t version = static_cast<std::int32_t>(GetU32(reinterpret_cast<const std::uint8_t*>(block.data())));
    if (version > kCompressedSkinVersion)
        return std::nullopt;
    if (block.size() < 8)
        Fail(L"the block is shorter than its header");
    std::int32_t n = static_cast<std::int32_t>(GetU32(reinterpret_cast<const std::uint8_t*>(block.data()) + 4));
    if (n < 0 || static_cast<size_t>(n) > block.size() - 8)
        Fail(L"the stored length runs past the end of the block");
    return block.substr(8, static_cast<size_t>(n));
}

}  // namespace

void TbsCompressedStoredSkin::LoadFromCompressBytes(const std::string& block) {
    SetCompressedBytes({});
    if (std::optional<std::string_view> stream = BlockStream(block))
        SetCompressedBytes(std::string(*stream));
}

void TbsCompressedStoredSkin::LoadFromBorrowedCompressBlock(std::string_view block) {
    SetCompressedBytes({});
    if (std::optional<std::string_view> stream = BlockStream(block))
        SetBorrowedCompressedBytes(*stream);
}

void TbsCompressedStoredSkin::LoadFromCompressStream(TStream* Stream) {
    Stream->SetPosition(0);
    LoadFromCompressBytes(Stream->ReadAll());
}

void TbsCompressedStoredSkin::LoadFromCompressFile(const std::wstring& AFileName) {
    SetCompressedBytes({});
    LoadFromCompressBytes(LoadBytesFromFile(AFileName));
}

void TbsCompressedStoredSkin::SaveToCompressStream(TStream* Stream) {
    std::string block = CompressBlock();
    Stream->WriteBuffer(block.data(), static_cast<std::int32_t>(block.size()));
}

void TbsCompressedStoredSkin::SaveToCompressFile(const std::wstring& AFileName) {
    if (GetEmpty())
        return;
    std::string block = CompressBlock();
    SaveBytesToFileSafely(AFileName, block.data(), block.size());
}

void TbsCompressedStoredSkin::DeCompressToStream(TStream* S) {
    const std::string_view zl = CompressedView();
    const std::string out = DecompressBytes(zl.data(), zl.size());
    S->WriteBuffer(out.data(), static_cast<std::int32_t>(out.size()));
}

TbsSkinContent TbsCompressedStoredSkin::DecompressContent() {
    const std::string_view zl = CompressedView();
    return ParseSkinContent(DecompressBytes(zl.data(), zl.size()));
}

namespace {

bool CheckSkinText(TCustomIniFile* ini) {
    for (const wchar_t* s : {L"VERSION", L"PICTURES", L"FORMINFO", L"SKINOBJECTS", L"SKINCONTROLS"})
        if (!ini->SectionExists(s))
            return false;
    return true;
}

}  // namespace

void TbsCompressedStoredSkin::LoadFromIniFile(const std::wstring& AFileName) {
    std::string text = LoadBytesFromFile(AFileName);
    TStringList lines;
    lines.LoadFromBytes(text.data(), text.size());
    TbsSkinMemIni ini(L"");
    ini.SetStrings(&lines);
    if (!CheckSkinText(&ini))
        return;
    const std::wstring folder = ExtractFilePath(AFileName);
    auto slot = [&](const wchar_t* key) -> std::optional<std::string> {
        std::wstring name = ini.ReadString(L"PICTURES", key, L"");
        if (name.empty())
            return std::nullopt;
        return LoadBytesFromFile(folder + name);
    };
    TbsSkinContent c;
    c.Picture = slot(L"picture");
    c.InActivePicture = slot(L"inactivepicture");
    c.Mask = slot(L"mask");
    TStringList names;
    ReadStrings1(&ini, L"PICTURES", L"activepictures", &names);
    for (int i = 0; i < names.Count(); ++i)
        c.ActivePictures.push_back(LoadBytesFromFile(folder + names[i]));
    // The file's own text as the string list read it (lines ending in CR LF, its code page or mark kept).
    c.IniText = lines.ToBytes(lines.Encoding);
    // Every picture must be a BMP that the reader will accept.
    std::string content = BuildSkinContent(c);
    ParseSkinContent(content);
    SetCompressedBytes(CompressBytes(content));
}

// ---- Skin list ----------------------------------------------------------------------------------------------------
TbsSkinListItem::TbsSkinListItem(TCollection* Collection)
    : TCollectionItem(Collection), FSkin(std::make_unique<TbsCompressedStoredSkin>(nullptr)) {
    Name = L"bsSkin" + IntToStr(Index());
}

TbsSkinListItem::~TbsSkinListItem() = default;

TbsSkinListItems::TbsSkinListItems(TbsCompressedSkinList* ASkinList)
    : TOwnedCollection(ASkinList, [](TCollection* c) -> TCollectionItem* { return new TbsSkinListItem(c); }) {}

TbsCompressedSkinList::TbsCompressedSkinList(TComponent* AOwner)
    : TComponent(AOwner), FSkins(std::make_unique<TbsSkinListItems>(this)) {}

TbsCompressedSkinList::~TbsCompressedSkinList() = default;
