// The gallery pages of skinned forms' own parts and their shell-drivable hosts (FormGallery.cpp).
#pragma once

#include <string>

// The page of FAMILY ("quickbuttons") into FILE: 0 when every look laid its parts out, 1 when one did not or the
// file could not be written, 2 for an unknown family.
int FormGallery(const std::wstring& family, const std::wstring& file);

// The quick-button host form in skin INDEX (-1 the built-in look) until closed or QuitAfter ms (0: never).
int QuickHost(int Index, int QuitAfter);
