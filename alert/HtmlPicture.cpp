// Pictures drawn by the renderer: bytes kept as loaded, decoded through GDI+ for each size query and each draw.
#include "alert/HtmlPicture.h"

#include <objidl.h>

#include "alert/GdiPlus.h"
#include "base/ComPtr.h"
#include "base/Utf.h"
#include "classlib/SysUtils.h"

// ---- GIF frame blocks
// ------------------------------------------------------------------------------------------------
namespace {

std::uint16_t Le16(std::string_view d, std::size_t p) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(d[p]) | (static_cast<std::uint8_t>(d[p + 1]) << 8));
}

// Calls fn(info) for each frame in order until it returns false.
void ForEachGifFrame(std::string_view d, const std::function<bool(const TGifFrameInfo&)>& fn) {
    // Extension (8 bytes) then the whole ten-byte image descriptor: 18 bytes from p.
    for (std::size_t p = 0; p + 18 <= d.size(); ++p) {
        if (static_cast<std::uint8_t>(d[p]) != 0x21 || static_cast<std::uint8_t>(d[p + 1]) != 0xF9 || d[p + 2] != 4 ||
            static_cast<std::uint8_t>(d[p + 8]) != 0x2C)
            continue;
        TGifFrameInfo f;
        f.offset = p;
        f.delay = Le16(d, p + 4);
        f.left = Le16(d, p + 9);
        f.top = Le16(d, p + 11);
        f.width = Le16(d, p + 13);
        f.height = Le16(d, p + 15);
        if (!fn(f))
            return;
    }
}

}  // namespace

bool IsGifData(std::string_view data) {
    return data.size() >= 5 && data.substr(0, 4) == "GIF8";
}

int GifFrameCount(std::string_view data) {
    if (!IsGifData(data))
        return -1;
    int n = 0;
    ForEachGifFrame(data, [&](const TGifFrameInfo&) {
        ++n;
        return true;
    });
    return n;
}

bool GifFrameAt(std::string_view data, int n, TGifFrameInfo& info) {
    if (!IsGifData(data) || n < 1)
        return false;
    int i = 0;
    bool found = false;
    ForEachGifFrame(data, [&](const TGifFrameInfo& f) {
        if (++i == n) {
            info = f;
            found = true;
            return false;
        }
        return true;
    });
    return found;
}

bool IsLocalPictureSource(std::wstring_view path) {
    auto sep = [](wchar_t c) { return c == L'\\' || c == L'/'; };
    return !(path.size() >= 2 && sep(path[0]) && sep(path[1]));
}

// ---- GDI+ image over bytes
// ---------------------------------------------------------------------------------------------
namespace {

// A COM stream over a movable global copy of the bytes (freed with the stream); empty on failure.
TComPtr<IStream> StreamOnCopy(const std::string& bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.empty() ? 1 : bytes.size());
    if (!block)
        throw EOutOfMemory(L"Could not allocate memory for image");
    if (void* p = GlobalLock(block)) {
        memcpy(p, bytes.data(), bytes.size());
        GlobalUnlock(block);
    } else {
        GlobalFree(block);
        return {};
    }
    TComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(block, TRUE, stream.Put()))) {
        GlobalFree(block);
        return {};
    }
    return stream;
}

}  // namespace

// ---- THTMLPicture
// ------------------------------------------------------------------------------------------------------
THTMLPicture::THTMLPicture() = default;
THTMLPicture::~THTMLPicture() = default;

void THTMLPicture::Reset() {
    isEmpty_ = true;
    frameCount_ = nextCount_ = timerCount_ = -1;
    frame_ = 1;
}

void THTMLPicture::Assign(TPersistent* Source) {
    Reset();
    if (!Source) {
        data_.clear();
        width_ = height_ = 0;
        Changed();
        return;
    }
    if (auto* p = dynamic_cast<THTMLPicture*>(Source)) {
        Stretch = p->Stretch;
        frame_ = p->frame_;
        id_ = p->id_;
        data_ = p->data_;
        isEmpty_ = data_.empty();
        ReadPictureInfo();
        Changed();
        return;
    }
    TGraphic* g = dynamic_cast<TGraphic*>(Source);
    if (auto* holder = dynamic_cast<TPicture*>(Source))
        g = holder->Graphic();
    if (!g) {
        TGraphic::Assign(Source);
        return;
    }
    TMemoryStream ms;
    g->SaveToStream(&ms);
    ms.SetPosition(0);
    LoadFromStream(&ms);
}

void THTMLPicture::LoadFromBytes(std::string bytes) {
    data_ = std::move(bytes);
    isEmpty_ = data_.empty();
    frameCount_ = -1;
    ReadPictureInfo();
    Changed();
}

void THTMLPicture::LoadFromStream(TStream* stream) {
    if (!stream)
        return;
    stream->SetPosition(0);
    LoadFromBytes(stream->ReadAll());
}

void THTMLPicture::SaveToStream(TStream* stream) {
    if (stream && !data_.empty())
        stream->WriteBuffer(data_.data(), static_cast<std::int32_t>(data_.size()));
}

void THTMLPicture::LoadFromFile(const std::wstring& fileName) {
    try {
        LoadFromBytes(LoadBytesFromFile(fileName));
    } catch (const std::exception&) {
        Reset();
        data_.clear();
        width_ = height_ = 0;
    }
}

void THTMLPicture::LoadFromResourceName(HINSTANCE module, const std::wstring& name) {
    if (!FindResourceW(module, name.c_str(), reinterpret_cast<LPCWSTR>(RT_RCDATA)))
        return;
    TResourceStream rs(module, name.c_str(), reinterpret_cast<LPCWSTR>(RT_RCDATA));
    LoadFromStream(&rs);
}

void THTMLPicture::LoadFromResourceID(HINSTANCE module, int id) {
    TResourceStream rs(module, MAKEINTRESOURCEW(id), reinterpret_cast<LPCWSTR>(RT_RCDATA));
    LoadFromStream(&rs);
}

void THTMLPicture::LoadFromURL(const std::wstring& url) {
    const std::wstring upper = UpperCase(url);
    if (upper.rfind(L"RES://", 0) == 0) {
        id_ = url;
        LoadFromResourceName(GetModuleHandleW(nullptr), url.substr(6));
    } else if (upper.rfind(L"FILE://", 0) == 0) {
        id_ = url;
        const std::wstring path = url.substr(7);
        if (IsLocalPictureSource(path))
            LoadFromFile(path);
    } else {
        // Other schemes are never fetched: the picture stays empty.
        url_ = url;
        id_ = url;
        if (Asynch)
            threadBusy_ = true;
    }
}

void THTMLPicture::ReadPictureInfo() {
    width_ = height_ = 0;
    frameXPos_ = frameYPos_ = frameXSize_ = frameYSize_ = 0;
    animMaxX_ = animMaxY_ = 0;
    if (data_.empty())
        return;
    TGifFrameInfo f;
    if (IsGIF() && data_.size() >= 10 && GifFrameAt(data_, frame_, f)) {
        animMaxX_ = Le16(data_, 6);
        animMaxY_ = Le16(data_, 8);
        frameXPos_ = f.left;
        frameYPos_ = f.top;
        frameXSize_ = f.width;
        frameYSize_ = f.height;
    }
    const TComPtr<IStream> stream = StreamOnCopy(data_);
    if (!stream)
        return;
    TGPImage image(stream.Get());
    if (image.LoadStatus() == Gdiplus::Ok) {
        width_ = static_cast<int>(image.GetWidth());
        height_ = static_cast<int>(image.GetHeight());
    }
}

void THTMLPicture::Draw(TCanvas* canvas, const TRect& rect) {
    if (isEmpty_ || data_.empty())
        return;
    // The stream outlives the image read from it.
    const TComPtr<IStream> stream = StreamOnCopy(data_);
    if (!stream)
        return;
    {
        TGPImage image(stream.Get());
        if (image.LoadStatus() == Gdiplus::Ok) {
            if (image.GetFormat() == ifBMP) {
                // Bitmaps go through the class library: the bottom-left colour is transparent.
                TBitmap bmp;
                TMemoryStream ms;
                ms.WriteBuffer(data_.data(), static_cast<std::int32_t>(data_.size()));
                ms.SetPosition(0);
                try {
                    bmp.LoadFromStream(&ms);
                    bmp.SetTransparentMode(tmAuto);
                    bmp.SetTransparent(true);
                    canvas->StretchDraw(rect, &bmp);
                } catch (const std::exception&) {
                }
            } else {
                TGPGraphics g(canvas->Handle());
                g.DrawImageRect(&image, rect.Left, rect.Top, rect.Width(), rect.Height());
            }
        }
    }
}

void THTMLPicture::SetFrame(int n) {
    frame_ = n;
    if (!data_.empty()) {
        ReadPictureInfo();
        if (OnFrameChange)
            OnFrameChange(this);
    }
}

int THTMLPicture::FrameCount() {
    if (frameCount_ == -1)
        frameCount_ = GifFrameCount(data_);
    return frameCount_;
}

int THTMLPicture::FrameTime(int n) {
    TGifFrameInfo f;
    return GifFrameAt(data_, n, f) ? f.delay : -1;
}

void THTMLPicture::FrameNext() {
    SetFrame(frame_ >= FrameCount() ? 1 : frame_ + 1);
}

void THTMLPicture::FramePrev() {
    SetFrame(frame_ <= 1 ? std::max(1, FrameCount()) : frame_ - 1);
}

bool THTMLPicture::Step() {
    if (isEmpty_ || FrameCount() < 2)
        return false;
    bool changed = false;
    if (nextCount_ < 0)
        nextCount_ = FrameTime(frame_);
    if (timerCount_ * 10 >= nextCount_) {
        FrameNext();
        nextCount_ += std::max(0, FrameTime(frame_));
        changed = true;
    }
    ++timerCount_;
    return changed;
}

// ---- Container and cache
// ------------------------------------------------------------------------------------------------
TPictureItem::TPictureItem(TCollection* collection)
    : TCollectionItem(collection), picture_(std::make_unique<THTMLPicture>()) {}

TPictureItem::~TPictureItem() = default;

void TPictureItem::Assign(TPersistent* Source) {
    if (auto* item = dynamic_cast<TPictureItem*>(Source)) {
        Name = item->Name;
        Tag = item->Tag;
        picture_->Assign(item->picture_.get());
        return;
    }
    TCollectionItem::Assign(Source);
}

TPictureCollection::TPictureCollection(TPersistent* owner)
    : TOwnedCollection(owner, [](TCollection* c) { return new TPictureItem(c); }) {}

bool TPictureCollection::Animate() {
    bool any = false;
    for (int i = 0; i < Count(); ++i)
        any = Items(i)->Picture()->Step() || any;
    return any;
}

TPictureContainer::TPictureContainer(TComponent* owner)
    : TComponent(owner), items_(std::make_unique<TPictureCollection>(this)) {}

TPictureContainer::~TPictureContainer() = default;

THTMLPicture* TPictureContainer::FindPicture(const std::wstring& name) {
    const std::wstring key = UpperCase(name);
    for (int i = 0; i < items_->Count(); ++i)
        if (UpperCase(items_->Items(i)->Name) == key)
            return items_->Items(i)->Picture();
    return nullptr;
}

THTMLPicture* THTMLPictureCache::AddPicture() {
    pictures_.push_back(std::make_unique<THTMLPicture>());
    return pictures_.back().get();
}

THTMLPicture* THTMLPictureCache::FindPicture(const std::wstring& id) const {
    for (const auto& p : pictures_)
        if (p->ID() == id)
            return p.get();
    return nullptr;
}

bool THTMLPictureCache::Animate() {
    bool any = false;
    for (auto& p : pictures_)
        any = p->Step() || any;
    return any;
}
