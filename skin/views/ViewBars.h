// What the list and tree views share: of their external scroll bars the binding, reading the native scroll numbers,
// showing a bar's plan (its visibility changed under the view's re-entry guard), the corner box of the horizontal bar
// and the parent's re-alignment after a visibility change; the font taken from a skin entry; a scope guard for the
// views' flags. GUI thread only.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "skin/core/SkinTypes.h"
#include "skin/views/ViewGeometry.h"

class TbsSkinScrollBar;
class TControl;
class TComponent;
class TFont;

// Sets a flag for a scope and clears it again, also when the scope is left by an exception.
class TbsFlagScope {
  public:
    explicit TbsFlagScope(bool& Flag) : flag_(Flag) { flag_ = true; }
    ~TbsFlagScope() { flag_ = false; }
    TbsFlagScope(const TbsFlagScope&) = delete;
    TbsFlagScope& operator=(const TbsFlagScope&) = delete;

  private:
    bool& flag_;
};

// GetScrollRange and GetScrollPos of one direction (SB_VERT, SB_HORZ); all 0 while the native control keeps that
// bar hidden (its range is then left from when it was shown).
TbsNativeScroll NativeScrollOf(HWND Wnd, int Bar);

// Shows Plan on Bar (nothing without a bar): the visibility under InCheck, the steps, the range; OldPos := the bar's
// position. Changed becomes true when the visibility changed.
void ApplyBarPlan(TbsSkinScrollBar* Bar, const TbsBarPlan& Plan, int& OldPos, bool& InCheck, bool& Changed);
// With both bars bound, the horizontal one shows its corner box exactly while the vertical one is visible; an aligned
// view's parent re-aligns its controls (under InCheck) after a visibility changed.
void FinishBars(TControl* View, TbsSkinScrollBar* V, TbsSkinScrollBar* H, bool Changed, bool& InCheck);

// Binds Value as the view's bar in Field (a bar replaced loses the view's handler): enabled, hidden until the next
// update, OnChange calling Moved.
void BindViewBar(TComponent* View, TbsSkinScrollBar*& Field, TbsSkinScrollBar* Value, std::function<void()> Moved);

// A view's font from its skin entry: the entry's face, style and height with UseSkinFont, else a copy of Default; the
// entry's colour either way.
void ApplyEntryFont(TFont* Font, TFont* Default, bool UseSkinFont, const std::wstring& Name, TbsFontStyles Styles,
                    int Height, int Color);
