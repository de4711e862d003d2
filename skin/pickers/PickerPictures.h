// The pickers' pictures, read from the program's bitmap resources "BS_FLOPPY" ... "BS_CURRENTFOLDER" (made by
// scripts/make-picker-images.py and linked into every program that links the pickers). The bottom-left pixel of
// each holds its transparent colour.
#pragma once

#include <memory>
#include <string>

class TBitmap;

// The named picture of the running program; an empty bitmap when the program carries none of that name.
std::unique_ptr<TBitmap> LoadPickerPicture(const std::wstring& Name);
