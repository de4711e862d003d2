#include "app/MainFormControls.h"

#include "classlib/GdiHandles.h"

int ControlTextWidth(TWinControl* control, const std::wstring& text) {
    // A control whose window is not made yet is measured in the font its window will be given: the layout can be
    // done before the windows exist, and they are made in their places once.
    const bool made = control->HandleAllocated();
    TClientDC dc(made ? control->Handle() : nullptr);
    HFONT font = made ? reinterpret_cast<HFONT>(SendMessageW(control->Handle(), WM_GETFONT, 0, 0))
                      : control->Font()->Handle();
    TSelectObjectGuard selected(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}
