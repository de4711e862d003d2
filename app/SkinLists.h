// The stored skin lists the programs carry as resources: the notifier's 87 skins (TrelmMail.exe) and the installer's
// one skin "Windows 8" (linked into the installer from the object library setup_skin_resources). The main window
// fills its list with these at start and the skin container then loads the stored index from it.
#pragma once

#include <windows.h>

#include "skin/core/CompressedSkin.h"

// Resource names of the two lists (see skin/core/SkinListResource.h).
constexpr const wchar_t* kNotifierSkinListName = L"NOTIFIERSKINS";
constexpr const wchar_t* kSetupSkinListName = L"SETUPSKINS";

// The notifier's list from AModule (nullptr: the running program). EbsSkinFormatError when it is missing or broken;
// the list is then empty and the program runs unskinned.
void LoadNotifierSkinList(TbsCompressedSkinList& AList, HMODULE AModule = nullptr);
// The installer's list, the same way.
void LoadSetupSkinList(TbsCompressedSkinList& AList, HMODULE AModule = nullptr);
