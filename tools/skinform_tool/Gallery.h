// The gallery page of a family of skinned controls (see Gallery.cpp).
#pragma once

#include <string>

// Writes the page of FAMILY ("labels", "panels") to FILE; 0 when every control found the entries its skins have, 1
// when one missed an entry or the file could not be written, 2 for an unknown family.
int Gallery(const std::wstring& family, const std::wstring& file);

// The "dialogs" page: the message box, the password dialog and the skin dialog shown modally and captured from the
// screen (DialogGallery.cpp); 0 when every dialog showed.
int DialogGallery(const std::wstring& file);

// The "opendialogs" page: the open and the sound dialog in every view style over a folder of Cyrillic names, shown
// modally and captured (DialogGallery.cpp); 0 when every dialog showed.
int OpenDialogGallery(const std::wstring& file);
