#include "app/SkinLists.h"

#include "skin/core/SkinListResource.h"

void LoadNotifierSkinList(TbsCompressedSkinList& AList, HMODULE AModule) {
    LoadSkinListFromResources(AModule, kNotifierSkinListName, AList);
}

void LoadSetupSkinList(TbsCompressedSkinList& AList, HMODULE AModule) {
    LoadSkinListFromResources(AModule, kSetupSkinListName, AList);
}
