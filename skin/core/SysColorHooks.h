// System colour redirection: while a skin container turns on its ChangeSystemColors, GetSysColor, GetSysColorBrush and
// CreatePen of the whole process answer some system colours with the skin's (the window pair 5 and 8, the highlight
// pair 13 and 14, as the container's SystemColorHooks select), so that controls the skin engine does not draw follow
// the skin. Neither program turns it on.
//
// The redirection swaps the entries of those functions in the import address tables of the modules loaded when it is
// installed (each swap one atomic pointer exchange) and puts them back on removal; the replacements call the saved
// originals directly. (Code patching is not used: a 5-byte relative jump cannot reach user32 from the program on
// 64-bit systems, and lifting the patch around each call races other threads.) Modules loaded later keep the system's
// functions; a function that already holds an import address in a register finishes with it. One container at a time
// owns the redirection. GUI thread only.
#pragma once

#include <windows.h>

#include "classlib/Graphics.h"
#include "skin/core/SkinTypes.h"

// What the redirection reads of its owner; the skin container implements it.
class ISkinColorSource {
  public:
    virtual ~ISkinColorSource() = default;
    // No skin loaded, or a load under way.
    virtual bool Empty() const = 0;
    virtual bool DesignTime() const { return false; }
    virtual TbsSystemColorHooks SystemColorHooks() const = 0;
    // The skin's colours (class-library colours; system colours allowed).
    virtual TColor cWindow() const = 0;
    virtual TColor cWindowText() const = 0;
    virtual TColor cHighLight() const = 0;
    virtual TColor cHighLightText() const = 0;
};

// The setter of a container's ChangeSystemColors (the container has stored Value already): installs the three
// redirections for a container with a skin when nobody owns them, reinstalls them for the owner, removes them when the
// owner turns the property off; otherwise nothing.
void SetChangeSystemColors(ISkinColorSource* Container, bool Value);
// ClearSkin and the destruction of a container: when it owns the redirection, removes it and clears the owner.
void ReleaseSystemColorHooks(ISkinColorSource* Container);

ISkinColorSource* SystemColorHookOwner();
bool IsGetSysColorHooked();
bool IsGetSysColorBrushHooked();
bool IsCreatePenHooked();

// The replacements (call-compatible with the system functions).
DWORD WINAPI NewGetSysColor(int Index);
HBRUSH WINAPI NewGetSysColorBrush(int Index);
HPEN WINAPI NewCreatePen(int Style, int Width, COLORREF Color);
