#include "skin/pickers/PickerPictures.h"

#include <windows.h>

#include "classlib/Graphics.h"

std::unique_ptr<TBitmap> LoadPickerPicture(const std::wstring& Name) {
    auto b = std::make_unique<TBitmap>();
    if (::FindResourceW(::GetModuleHandleW(nullptr), Name.c_str(), MAKEINTRESOURCEW(2) /* RT_BITMAP */))
        b->LoadFromResourceName(::GetModuleHandleW(nullptr), Name);
    return b;
}
