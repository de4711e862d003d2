#include "skin/views/ViewBars.h"

#include "classlib/Controls.h"
#include "skin/controls/ControlSkinning.h"
#include "skin/controls/SkinScrollBar.h"
#include "skin/core/SkinText.h"

TbsNativeScroll NativeScrollOf(HWND Wnd, int Bar) {
    TbsNativeScroll s;
    // A bar the native control has hidden keeps its last range: it counts as none.
    const LONG_PTR style = GetWindowLongPtrW(Wnd, GWL_STYLE);
    if (!(style & (Bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL)))
        return s;
    GetScrollRange(Wnd, Bar, &s.Min, &s.Max);
    s.Pos = GetScrollPos(Wnd, Bar);
    return s;
}

void ApplyBarPlan(TbsSkinScrollBar* Bar, const TbsBarPlan& Plan, int& OldPos, bool& InCheck, bool& Changed) {
    if (!Bar)
        return;
    if (Bar->Visible() != Plan.Visible) {
        TbsFlagScope guard(InCheck);
        Bar->SetVisible(Plan.Visible);
        Changed = true;
    }
    if (!Plan.Visible)
        return;
    if (Plan.SetSteps) {
        Bar->SetSmallChange(Plan.SmallChange);
        Bar->SetLargeChange(Plan.LargeChange);
    }
    Bar->SetRange(Plan.Min, Plan.Max, Plan.Page, Plan.Pos);
    OldPos = Bar->Position();
}

void FinishBars(TControl* View, TbsSkinScrollBar* V, TbsSkinScrollBar* H, bool Changed, bool& InCheck) {
    if (V && H && H->Both() != V->Visible())
        H->SetBoth(V->Visible());
    if (Changed && View->Align() != alNone && View->Parent()) {
        TbsFlagScope guard(InCheck);
        View->Parent()->Realign();
    }
}

void BindViewBar(TComponent* View, TbsSkinScrollBar*& Field, TbsSkinScrollBar* Value, std::function<void()> Moved) {
    if (Field && Field != Value)
        Field->OnChange = nullptr;
    SetBorrowed(View, Field, Value);
    if (!Value)
        return;
    Value->SetEnabled(true);
    Value->SetVisible(false);
    Value->OnChange = [Moved = std::move(Moved)](TObject*) { Moved(); };
}

void ApplyEntryFont(TFont* Font, TFont* Default, bool UseSkinFont, const std::wstring& Name, TbsFontStyles Styles,
                    int Height, int Color) {
    // Put together first and given in one change: each change of a window's font re-lays the window out.
    TFont f;
    f.Assign(UseSkinFont ? Font : Default);
    if (UseSkinFont) {
        f.SetName(Name);
        f.SetStyle(ToFontStyles(Styles));
        f.SetHeight(Height);
    }
    f.SetColor(TColor(Color));
    Font->Assign(&f);
}
