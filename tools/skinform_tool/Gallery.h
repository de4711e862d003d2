// Handles the tool's messages for about Ms milliseconds (main.cpp).
void PumpFor(unsigned Ms);

// The gallery page of a family of skinned controls (see Gallery.cpp).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class TCustomImageList;

// A 16 x 16 envelope of Colour on the magenta mask colour added to List, with a white flap when Flap is set.
void AddEnvelopePicture(TCustomImageList* List, COLORREF Colour, bool Flap);

// Writes the page of FAMILY ("labels", "panels") to FILE; 0 when every control found the entries its skins have, 1
// when one missed an entry or the file could not be written, 2 for an unknown family.
int Gallery(const std::wstring& family, const std::wstring& file);

// The "dialogs" page: the message box, the password dialog and the skin dialog shown modally and captured from the
// screen (DialogGallery.cpp); 0 when every dialog showed.
int DialogGallery(const std::wstring& file);

// The "opendialogs" page: the open and the sound dialog in every view style over a folder of Cyrillic names, shown
// modally and captured (DialogGallery.cpp); 0 when every dialog showed.
int OpenDialogGallery(const std::wstring& file);
// A window read back from the screen: W x H pixels 0xAARRGGBB.
struct TShot {
    int W = 0, H = 0;
    std::vector<std::uint32_t> Px;
};

// A page of shots, one column per title (a look), rows as given (labelled by States when given), on the gallery's
// backdrop; 0 when written.
int WriteShotPage(const std::vector<std::vector<TShot>>& rows,
                  const std::vector<std::wstring>& titles,
                  const std::wstring& file,
                  const std::vector<std::wstring>& states = {});

// The "mdi" page: a skinned MDI main form with children, tab bar and scroll bars, and with a maximised child, in the
// built-in look and skins 23, 81 and 43 (MDIGallery.cpp); 0 when every shot was taken.
int MDIGallery(const std::wstring& file);

// A skinned MDI main form with Children children, its tab bar and window menu in skin Skin (-1: built-in), open
// until closed (or QuitAfter ms), for driving from a shell.
int MDIHost(int Skin, int Children, int QuitAfter);
