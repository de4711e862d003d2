// TCustomImageList: ImageList_* with copies of the caller's bitmaps, and the disabled look.
#include "classlib/ImgList.h"

#include <algorithm>

#include "classlib/WithUpdate_p.h"

namespace {

// A copy of the bitmap's pixels that is selected into no DC, as the image list functions require.
HBITMAP DetachedCopy(TBitmap* source, TBitmap& holder) {
    holder.Assign(source);
    return holder.Handle();
}

}  // namespace

TChangeLink::~TChangeLink() {
    if (Sender)
        Sender->UnRegisterChanges(this);
}

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::TCustomImageList(TComponent* AOwner, int AWidth, int AHeight)
    : TComponent(AOwner), width_(std::max(AWidth, 1)), height_(std::max(AHeight, 1)) {}

TCustomImageList::~TCustomImageList() {
    for (TChangeLink* link : links_)
        link->Sender = nullptr;
}

HIMAGELIST TCustomImageList::Handle() {
    if (!handle_) {
        UINT flags = ILC_COLOR32 | (Masked ? ILC_MASK : 0);
        handle_.Reset(::ImageList_Create(width_, height_, flags, 4, std::max(AllocBy, 1)));
        if (!handle_)
            throw EOutOfResources(L"Out of system resources");
        ::ImageList_SetBkColor(handle_.Get(), bkColor_ == clNone ? CLR_NONE : ColorToRGB(bkColor_) & 0xFFFFFF);
    }
    return handle_.Get();
}

void TCustomImageList::Assign(TPersistent* Source) {
    if (auto* src = dynamic_cast<TCustomImageList*>(Source)) {
        if (src == this)
            return;
        BeginUpdate();
        handle_.Reset();
        width_ = src->width_;
        height_ = src->height_;
        bkColor_ = src->bkColor_;
        Masked = src->Masked;
        DrawingStyle = src->DrawingStyle;
        AllocBy = src->AllocBy;
        if (src->HandleAllocated())
            handle_.Reset(::ImageList_Duplicate(src->handle_.Get()));
        changed_ = true;
        EndUpdate();
        return;
    }
    TComponent::Assign(Source);
}

void TCustomImageList::SetSize(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (width == width_ && height == height_)
        return;
    width_ = width;
    height_ = height;
    if (handle_)
        ::ImageList_SetIconSize(handle_.Get(), width_, height_);  // also removes all images
    Change();
}

int TCustomImageList::Count() {
    return handle_ ? ::ImageList_GetImageCount(handle_.Get()) : 0;
}

void TCustomImageList::SetBkColor(TColor value) {
    if (value == bkColor_)
        return;
    bkColor_ = value;
    if (handle_)
        ::ImageList_SetBkColor(handle_.Get(), value == clNone ? CLR_NONE : ColorToRGB(value) & 0xFFFFFF);
    Change();
}

int TCustomImageList::Add(TBitmap* image, TBitmap* mask) {
    if (!image || image->Empty())
        return -1;
    TBitmap imageCopy, maskCopy;
    HBITMAP hImage = DetachedCopy(image, imageCopy);
    HBITMAP hMask = mask && !mask->Empty() ? DetachedCopy(mask, maskCopy) : nullptr;
    int index = ::ImageList_Add(Handle(), hImage, hMask);
    if (index >= 0)
        Change();
    return index;
}

int TCustomImageList::AddMasked(TBitmap* image, TColor maskColor) {
    if (!image || image->Empty())
        return -1;
    if (maskColor == clDefault)
        maskColor = image->TransparentColor();
    TBitmap imageCopy;  // ImageList_AddMasked blackens the masked pixels of the bitmap it is given
    HBITMAP hImage = DetachedCopy(image, imageCopy);
    int index = ::ImageList_AddMasked(Handle(), hImage, ColorToRGB(maskColor) & 0xFFFFFF);
    if (index >= 0)
        Change();
    return index;
}

int TCustomImageList::AddIcon(TIcon* icon) {
    if (!icon || icon->Empty())
        return -1;
    int index = ::ImageList_ReplaceIcon(Handle(), -1, icon->Handle());
    if (index >= 0)
        Change();
    return index;
}

int TCustomImageList::AddIconResource(HMODULE module, const wchar_t* name) {
    auto bytesOf = [module](HRSRC res, DWORD& size) -> PBYTE {
        HGLOBAL data = res ? ::LoadResource(module, res) : nullptr;
        size = res ? ::SizeofResource(module, res) : 0;
        return data ? static_cast<PBYTE>(::LockResource(data)) : nullptr;
    };
    DWORD size = 0;
    PBYTE group = bytesOf(::FindResourceW(module, name, MAKEINTRESOURCEW(14)), size);  // RT_GROUP_ICON
    if (!group || size < 6)
        return -1;
    const int id = ::LookupIconIdFromDirectoryEx(group, TRUE, width_, height_, LR_DEFAULTCOLOR);
    PBYTE bits = id > 0 ? bytesOf(::FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(3)), size)  // RT_ICON
                        : nullptr;
    if (!bits)
        return -1;
    TIcon icon;
    icon.SetHandle(::CreateIconFromResourceEx(bits, size, TRUE, 0x00030000, width_, height_, LR_DEFAULTCOLOR));
    return AddIcon(&icon);
}

int TCustomImageList::AddImage(TCustomImageList* source, int index) {
    if (!source || index < 0 || index >= source->Count())
        return -1;
    TIconHandle icon(::ImageList_GetIcon(source->Handle(), index, ILD_NORMAL));
    if (!icon)
        return -1;
    int result = ::ImageList_ReplaceIcon(Handle(), -1, icon.Get());
    if (result >= 0)
        Change();
    return result;
}

void TCustomImageList::CheckIndex(int index) {
    if (index < 0 || index >= Count())
        throw EInvalidOperation(L"Image list index out of bounds");
}

void TCustomImageList::InsertAdded(int index, const std::function<int()>& add) {
    if (index < 0 || index > Count())
        throw EInvalidOperation(L"Image list index out of bounds");
    WithUpdate(*this, [&] {
        const int before = Count();
        if (add() < 0)
            return;
        const int added = Count() - before;
        for (int j = 0; j < added; ++j)
            Move(before + j, index + j);
    });
}

void TCustomImageList::Insert(int index, TBitmap* image, TBitmap* mask) {
    InsertAdded(index, [&] { return Add(image, mask); });
}

void TCustomImageList::InsertMasked(int index, TBitmap* image, TColor maskColor) {
    InsertAdded(index, [&] { return AddMasked(image, maskColor); });
}

void TCustomImageList::Replace(int index, TBitmap* image, TBitmap* mask) {
    CheckIndex(index);
    if (!image || image->Empty())
        return;
    TBitmap imageCopy, maskCopy;
    HBITMAP hImage = DetachedCopy(image, imageCopy);
    HBITMAP hMask = mask && !mask->Empty() ? DetachedCopy(mask, maskCopy) : nullptr;
    if (::ImageList_Replace(Handle(), index, hImage, hMask))
        Change();
}

void TCustomImageList::ReplaceMasked(int index, TBitmap* image, TColor maskColor) {
    CheckIndex(index);
    if (!image || image->Empty())
        return;
    if (maskColor == clDefault)
        maskColor = image->TransparentColor();
    // Build what ImageList_AddMasked would: a mask of the key colour and the image blackened under it.
    TBitmap imageCopy;
    imageCopy.Assign(image);
    const int w = imageCopy.Width(), h = imageCopy.Height();
    TGdiBitmap mask(::CreateBitmap(w, h, 1, 1, nullptr));
    if (!mask)
        throw EOutOfResources(L"Out of system resources");
    {
        TMemoryDC maskDC(nullptr);
        maskDC.Select(mask.Get());
        HDC imageDC = imageCopy.Canvas()->Handle();
        ::SetBkColor(imageDC, ColorToRGB(maskColor) & 0xFFFFFF);  // the key colour becomes 1: transparent
        ::BitBlt(maskDC, 0, 0, w, h, imageDC, 0, 0, SRCCOPY);
        ::SetTextColor(imageDC, RGB(0, 0, 0));
        ::SetBkColor(imageDC, RGB(255, 255, 255));
        constexpr DWORD kRopDSna = 0x00220326;  // destination AND NOT source
        ::BitBlt(imageDC, 0, 0, w, h, maskDC, 0, 0, kRopDSna);
    }
    TBitmap detached;
    HBITMAP hImage = DetachedCopy(&imageCopy, detached);
    if (::ImageList_Replace(Handle(), index, hImage, mask.Get()))
        Change();
}

void TCustomImageList::Delete(int index) {
    CheckIndex(index);
    if (::ImageList_Remove(Handle(), index))
        Change();
}

void TCustomImageList::Move(int curIndex, int newIndex) {
    if (curIndex == newIndex)
        return;
    CheckIndex(curIndex);
    CheckIndex(newIndex);
    // Images travel as icons (colour, mask and alpha together); the system's swap copy is not reliable
    // everywhere we run.
    HIMAGELIST h = Handle();
    TIconHandle moving(::ImageList_GetIcon(h, curIndex, ILD_NORMAL));
    if (!moving)
        throw EOutOfResources(L"Out of system resources");
    int step = newIndex > curIndex ? 1 : -1;
    for (int i = curIndex; i != newIndex; i += step) {
        TIconHandle next(::ImageList_GetIcon(h, i + step, ILD_NORMAL));
        if (!next || ::ImageList_ReplaceIcon(h, i, next.Get()) < 0)
            throw EOutOfResources(L"Out of system resources");
    }
    if (::ImageList_ReplaceIcon(h, newIndex, moving.Get()) < 0)
        throw EOutOfResources(L"Out of system resources");
    Change();
}

void TCustomImageList::Clear() {
    if (handle_ && ::ImageList_Remove(handle_.Get(), -1))
        Change();
}

UINT TCustomImageList::DrawingStyleFlags() const {
    switch (DrawingStyle) {
        case dsFocus:
            return ILD_FOCUS;
        case dsSelected:
            return ILD_SELECTED;
        case dsTransparent:
            return ILD_TRANSPARENT;
        default:
            return ILD_NORMAL;
    }
}

void TCustomImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled) {
    if (!canvas || !handle_ || index < 0 || index >= Count())
        return;
    DoDraw(index, canvas, x, y, DrawingStyleFlags(), enabled);
}

void TCustomImageList::Draw(HDC dc, int x, int y, int index, bool enabled) {
    if (!dc)
        return;
    const int saved = SaveDC(dc);
    TCanvas canvas;
    canvas.SetHandle(dc);
    try {
        Draw(&canvas, x, y, index, enabled);
    } catch (...) {
        canvas.SetHandle(nullptr);
        RestoreDC(dc, saved);
        throw;
    }
    canvas.SetHandle(nullptr);
    RestoreDC(dc, saved);
}

void TCustomImageList::DoDraw(int index, TCanvas* canvas, int x, int y, UINT style, bool enabled) {
    HDC dc = canvas->Handle();
    if (!dc)
        return;
    if (enabled) {
        ::ImageList_DrawEx(Handle(), index, dc, x, y, 0, 0, CLR_DEFAULT, CLR_DEFAULT, style);
        return;
    }
    // Disabled: the image's non-white pixels form a monochrome shape, stamped once in the highlight colour one
    // pixel right and down and once in the shadow colour in place.
    TBitmap colour(width_, height_, pf24bit);  // starts white
    ::ImageList_DrawEx(Handle(), index, colour.Canvas()->Handle(), 0, 0, 0, 0, CLR_NONE, CLR_NONE, ILD_NORMAL);
    TMemoryDC monoDC(nullptr);
    TGdiBitmap mono(::CreateBitmap(width_, height_, 1, 1, nullptr));
    if (!monoDC.Get() || !mono)
        throw EOutOfResources(L"Out of system resources");
    monoDC.Select(mono.Get());
    HDC colourDC = colour.Canvas()->Handle();
    // White pixels would become 1 in the mono copy; inverted, the image's shape is 1 and the rest 0.
    ::SetBkColor(colourDC, RGB(255, 255, 255));
    ::BitBlt(monoDC, 0, 0, width_, height_, colourDC, 0, 0, NOTSRCCOPY);

    constexpr DWORD kRopDSPDxax = 0x00E20746;  // the brush where the source is 1, the destination elsewhere
    TSaveDCGuard save(dc);
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::SetBkColor(dc, RGB(255, 255, 255));
    TGdiBrush highlight(::CreateSolidBrush(ColorToRGB(clBtnHighlight) & 0xFFFFFF));
    TGdiBrush shadow(::CreateSolidBrush(ColorToRGB(clBtnShadow) & 0xFFFFFF));
    {
        TSelectObjectGuard sel(dc, highlight.Get());
        ::BitBlt(dc, x + 1, y + 1, width_, height_, monoDC, 0, 0, kRopDSPDxax);
    }
    {
        TSelectObjectGuard sel(dc, shadow.Get());
        ::BitBlt(dc, x, y, width_, height_, monoDC, 0, 0, kRopDSPDxax);
    }
    canvas->Refresh();  // the guard restored the DC's original objects behind the canvas's back
}

void TCustomImageList::GetBitmap(int index, TBitmap* image) {
    if (!image || index < 0 || index >= Count())
        return;
    image->SetSize(width_, height_);
    Draw(image->Canvas(), 0, 0, index);
}

void TCustomImageList::GetIcon(int index, TIcon* icon) {
    if (!icon || index < 0 || index >= Count())
        return;
    icon->SetHandle(::ImageList_GetIcon(Handle(), index, ILD_NORMAL));
}

void TCustomImageList::RegisterChanges(TChangeLink* link) {
    if (!link)
        return;
    if (link->Sender && link->Sender != this)
        link->Sender->UnRegisterChanges(link);
    link->Sender = this;
    if (std::find(links_.begin(), links_.end(), link) == links_.end())
        links_.push_back(link);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* link) {
    std::erase(links_, link);
    if (link && link->Sender == this)
        link->Sender = nullptr;
}

void TCustomImageList::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0 && changed_)
        Change();
}

void TCustomImageList::Change() {
    if (updateCount_ > 0) {
        changed_ = true;
        return;
    }
    changed_ = false;
    // Links may unregister themselves from their handlers: walk a copy.
    std::vector<TChangeLink*> links = links_;
    for (TChangeLink* link : links)
        if (std::find(links_.begin(), links_.end(), link) != links_.end() && link->OnChange)
            link->OnChange(this);
    if (OnChange)
        OnChange(this);
}
