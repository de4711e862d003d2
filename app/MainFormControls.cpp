// The language combo box.
#include "app/MainFormControls.h"

#include <commctrl.h>

#include "classlib/GdiHandles.h"

namespace {
constexpr int kLangItemHeight = 18;
}

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

TLangComboBox::TLangComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {
    SetStyle(csDropDownList);
}

void TLangComboBox::AddItem(const std::wstring& caption, int imageIndex) {
    Items()->Add(caption);
    imageIndexes_.push_back(imageIndex);
}

int TLangComboBox::SelectedImageIndex() {
    const int i = ItemIndex();
    return i >= 0 && i < static_cast<int>(imageIndexes_.size()) ? imageIndexes_[static_cast<size_t>(i)] : -1;
}

bool TLangComboBox::SelectImageIndex(int imageIndex) {
    for (size_t i = 0; i < imageIndexes_.size(); ++i) {
        if (imageIndexes_[i] == imageIndex) {
            SetItemIndex(static_cast<int>(i));
            return true;
        }
    }
    return false;
}

void TLangComboBox::CreateParams(TCreateParams& Params) {
    TCustomComboBox::CreateParams(Params);
    Params.Style |= CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
}

void TLangComboBox::CreateWnd() {
    TCustomComboBox::CreateWnd();
    SendMessageW(Handle(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), kLangItemHeight);
    SendMessageW(Handle(), CB_SETITEMHEIGHT, 0, kLangItemHeight);
}

void TLangComboBox::WndProc(TMessage& Message) {
    if (Message.Msg == CN_DRAWITEM) {
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam));
        Message.Result = TRUE;
        return;
    }
    if (Message.Msg == CN_MEASUREITEM) {
        reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam)->itemHeight = kLangItemHeight;
        Message.Result = TRUE;
        return;
    }
    TCustomComboBox::WndProc(Message);
}

void TLangComboBox::DrawItem(const DRAWITEMSTRUCT& item) {
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const int index = static_cast<int>(item.itemID);
    if (index < 0 || index >= Items()->Count())
        return;
    const int image = imageIndexes_[static_cast<size_t>(index)];
    if (images_ && image >= 0 && image < images_->Count())
        ImageList_Draw(images_->Handle(), image, dc, r.left + 3, r.top + (r.bottom - r.top - 16) / 2, ILD_TRANSPARENT);
    const std::wstring text = Items()->Strings(index);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    RECT t = r;
    t.left += 22;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &t, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    SelectObject(dc, old);
    if (item.itemState & ODS_FOCUS)
        DrawFocusRect(dc, &r);
}
