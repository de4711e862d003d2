// Menu item trees, short-cut texts and caption accelerators.
#include "classlib/Menus.h"

#include <algorithm>
#include <set>

#include "classlib/Forms.h"

namespace {

struct KeyName {
    WORD key;
    const wchar_t* name;
};
constexpr KeyName kKeyNames[] = {
    {VK_BACK, L"BkSp"},  {VK_TAB, L"Tab"},     {VK_ESCAPE, L"Esc"}, {VK_RETURN, L"Enter"}, {VK_SPACE, L"Space"},
    {VK_PRIOR, L"PgUp"}, {VK_NEXT, L"PgDn"},   {VK_END, L"End"},    {VK_HOME, L"Home"},    {VK_LEFT, L"Left"},
    {VK_UP, L"Up"},      {VK_RIGHT, L"Right"}, {VK_DOWN, L"Down"},  {VK_INSERT, L"Ins"},   {VK_DELETE, L"Del"},
};

std::wstring KeyToText(WORD key) {
    for (const KeyName& k : kKeyNames)
        if (k.key == key)
            return k.name;
    if ((key >= L'0' && key <= L'9') || (key >= L'A' && key <= L'Z'))
        return std::wstring(1, static_cast<wchar_t>(key));
    if (key >= VK_F1 && key <= VK_F24)
        return L"F" + std::to_wstring(key - VK_F1 + 1);
    if (key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU || key == 0)
        return {};
    UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
    if (!scan)
        return {};
    wchar_t buffer[64] = {};
    if (GetKeyNameTextW(static_cast<LONG>(scan << 16), buffer, 64) <= 0)
        return {};
    return buffer;
}

wchar_t UpperChar(wchar_t c) {
    wchar_t s[2] = {c, 0};
    CharUpperBuffW(s, 1);
    return s[0];
}

bool StartsWithNoCase(const std::wstring& s, size_t pos, const wchar_t* prefix) {
    size_t n = wcslen(prefix);
    if (s.size() - pos < n)
        return false;
    for (size_t i = 0; i < n; ++i)
        if (UpperChar(s[pos + i]) != UpperChar(prefix[i]))
            return false;
    return true;
}

// Command numbers in use; an item keeps its number for life, so a stale command never reaches a new item.
std::set<WORD>& UsedCommands() {
    static auto* used = new std::set<WORD>;  // never freed: items may die at exit in any order
    return *used;
}

WORD AllocateCommand() {
    static WORD next = 0;
    auto& used = UsedCommands();
    if (used.size() >= 0xFFFF)
        return 0;
    do {
        ++next;
    } while (next == 0 || used.count(next));
    used.insert(next);
    return next;
}

}  // namespace

// ---- Short cuts ---------------------------------------------------------------------------------------------------
TShortCut ShortCut(WORD Key, TShiftState Shift) {
    if (Key & 0xFF00)
        return scNone;
    TShortCut sc = Key;
    if (Shift.Contains(ssShift))
        sc |= scShift;
    if (Shift.Contains(ssCtrl))
        sc |= scCtrl;
    if (Shift.Contains(ssAlt))
        sc |= scAlt;
    return sc;
}

void ShortCutToKey(TShortCut ShortCut, WORD& Key, TShiftState& Shift) {
    Key = ShortCut & 0xFF;
    Shift = {};
    if (ShortCut & scShift)
        Shift.Include(ssShift);
    if (ShortCut & scCtrl)
        Shift.Include(ssCtrl);
    if (ShortCut & scAlt)
        Shift.Include(ssAlt);
}

std::wstring ShortCutToText(TShortCut ShortCut) {
    std::wstring name = KeyToText(ShortCut & 0xFF);
    if (name.empty())
        return {};
    std::wstring text;
    if (ShortCut & scShift)
        text += L"Shift+";
    if (ShortCut & scCtrl)
        text += L"Ctrl+";
    if (ShortCut & scAlt)
        text += L"Alt+";
    return text + name;
}

TShortCut TextToShortCut(const std::wstring& Text) {
    TShortCut modifiers = 0;
    size_t pos = 0;
    for (;;) {
        if (StartsWithNoCase(Text, pos, L"Shift+")) {
            modifiers |= scShift;
            pos += 6;
        } else if (StartsWithNoCase(Text, pos, L"Ctrl+")) {
            modifiers |= scCtrl;
            pos += 5;
        } else if (StartsWithNoCase(Text, pos, L"Alt+")) {
            modifiers |= scAlt;
            pos += 4;
        } else {
            break;
        }
    }
    const std::wstring rest = Text.substr(pos);
    if (rest.empty())
        return scNone;
    for (WORD key = 0x08; key <= 0xFF; ++key) {
        std::wstring name = KeyToText(key);
        if (!name.empty() && name.size() == rest.size() && StartsWithNoCase(rest, 0, name.c_str()))
            return static_cast<TShortCut>(key | modifiers);
    }
    return scNone;
}

wchar_t GetHotkey(const std::wstring& Text) {
    for (size_t i = 0; i + 1 < Text.size(); ++i) {
        if (Text[i] != cHotkeyPrefix)
            continue;
        if (Text[i + 1] == cHotkeyPrefix) {
            ++i;  // "&&" is a literal ampersand
            continue;
        }
        return Text[i + 1];
    }
    return 0;
}

std::wstring StripHotkey(const std::wstring& Text) {
    std::wstring out;
    out.reserve(Text.size());
    for (size_t i = 0; i < Text.size(); ++i) {
        if (Text[i] == cHotkeyPrefix) {
            if (i + 1 < Text.size() && Text[i + 1] == cHotkeyPrefix) {
                out += cHotkeyPrefix;
                ++i;
            }
            continue;
        }
        out += Text[i];
    }
    return out;
}

bool IsAccel(WORD VK, const std::wstring& Str) {
    wchar_t hot = GetHotkey(Str);
    return hot != 0 && VK != 0 && UpperChar(hot) == UpperChar(static_cast<wchar_t>(VK));
}

// ---- TMenuItem ------------------------------------------------------------------------------------------------------
TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), command_(AllocateCommand()) {}

TMenuItem::~TMenuItem() {
    Clear();
    if (parent_)
        parent_->Remove(this);
    if (command_)
        UsedCommands().erase(command_);
}

void TMenuItem::Changed() {
    if (ComponentState().Contains(csDestroying))
        return;
    if (TMenu* menu = GetParentMenu(); menu && menu->OnChange && !menu->ComponentState().Contains(csDestroying))
        menu->OnChange(menu);
}

void TMenuItem::SetCaption(const std::wstring& Value) {
    if (caption_ == Value)
        return;
    caption_ = Value;
    Changed();
}

void TMenuItem::SetEnabled(bool Value) {
    if (enabled_ == Value)
        return;
    enabled_ = Value;
    Changed();
}

void TMenuItem::SetVisible(bool Value) {
    if (visible_ == Value)
        return;
    visible_ = Value;
    Changed();
}

void TMenuItem::TurnSiblingsOff() {
    if (!parent_)
        return;
    for (TMenuItem* sibling : parent_->items_)
        if (sibling != this && sibling->radioItem_ && sibling->groupIndex_ == groupIndex_)
            sibling->checked_ = false;
}

void TMenuItem::SetChecked(bool Value) {
    if (checked_ == Value)
        return;
    checked_ = Value;
    if (Value && radioItem_)
        TurnSiblingsOff();
    Changed();
}

void TMenuItem::SetRadioItem(bool Value) {
    if (radioItem_ == Value)
        return;
    radioItem_ = Value;
    if (checked_ && Value)
        TurnSiblingsOff();
    Changed();
}

void TMenuItem::SetDefault(bool Value) {
    if (default_ == Value)
        return;
    if (Value && parent_)
        for (TMenuItem* sibling : parent_->items_)
            sibling->default_ = false;
    default_ = Value;
    Changed();
}

void TMenuItem::SetGroupIndex(BYTE Value) {
    if (groupIndex_ == Value)
        return;
    groupIndex_ = Value;
    if (checked_ && radioItem_)
        TurnSiblingsOff();
    Changed();
}

void TMenuItem::SetShortCut(TShortCut Value) {
    if (shortCut_ == Value)
        return;
    shortCut_ = Value;
    Changed();
}

TBitmap* TMenuItem::Bitmap() {
    if (!bitmap_)
        bitmap_ = std::make_unique<TBitmap>();
    return bitmap_.get();
}

void TMenuItem::SetBitmap(TBitmap* Value) {
    if (Value)
        Bitmap()->Assign(Value);
    else
        bitmap_.reset();
    Changed();
}

void TMenuItem::SetImageIndex(int Value) {
    if (imageIndex_ == Value)
        return;
    imageIndex_ = Value;
    Changed();
}

TMenuItem* TMenuItem::Items(int Index) const {
    if (Index < 0 || Index >= Count())
        RaiseListIndexError(Index);
    return items_[static_cast<size_t>(Index)];
}

void TMenuItem::Add(TMenuItem* Item) {
    Insert(Count(), Item);
}

void TMenuItem::Insert(int Index, TMenuItem* Item) {
    if (!Item)
        return;
    if (Item->parent_)
        throw EInvalidOperation(L"Menu inserted twice");
    for (TMenuItem* p = this; p; p = p->parent_)
        if (p == Item)
            throw EInvalidOperation(L"A menu item cannot contain itself");
    if (Index < 0 || Index > Count())
        RaiseListIndexError(Index);
    items_.insert(items_.begin() + Index, Item);
    Item->parent_ = this;
    if (Item->checked_ && Item->radioItem_)
        Item->TurnSiblingsOff();
    Changed();
}

void TMenuItem::Delete(int Index) {
    TMenuItem* item = Items(Index);
    items_.erase(items_.begin() + Index);
    item->parent_ = nullptr;
    Changed();
}

void TMenuItem::Remove(TMenuItem* Item) {
    int i = IndexOf(Item);
    if (i >= 0)
        Delete(i);
}

void TMenuItem::Clear() {
    while (!items_.empty())
        delete items_.back();  // the item takes itself out of the list
}

int TMenuItem::IndexOf(const TMenuItem* Item) const {
    auto it = std::find(items_.begin(), items_.end(), Item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

int TMenuItem::MenuIndex() const {
    return parent_ ? parent_->IndexOf(this) : -1;
}

void TMenuItem::SetMenuIndex(int Value) {
    if (!parent_)
        return;
    TMenuItem* p = parent_;
    int current = p->IndexOf(this);
    Value = std::clamp(Value, 0, p->Count() - 1);
    if (Value == current)
        return;
    p->items_.erase(p->items_.begin() + current);
    p->items_.insert(p->items_.begin() + Value, this);
    Changed();
}

TMenuItem* TMenuItem::Find(const std::wstring& ACaption) const {
    const std::wstring wanted = StripHotkey(ACaption);
    for (TMenuItem* item : items_)
        if (AnsiSameText(StripHotkey(item->caption_), wanted))
            return item;
    return nullptr;
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* root = this;
    while (root->parent_)
        root = root->parent_;
    return root->menu_;
}

void TMenuItem::Click() {
    if (!enabled_)
        return;
    if (autoCheck_)
        SetChecked(!checked_);
    if (OnClick)
        OnClick(this);
}

// ---- TMenu ----------------------------------------------------------------------------------------------------------
TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), items_(new TMenuItem(nullptr)) {
    items_->menu_ = this;
}

TMenu::~TMenu() {
    items_->menu_ = nullptr;
    delete items_;
}

TMenuItem* TMenu::FindItem(int Value, TFindItemKind Kind) const {
    std::vector<TMenuItem*> stack{items_};
    while (!stack.empty()) {
        TMenuItem* item = stack.back();
        stack.pop_back();
        if (item != items_) {
            if (Kind == fkCommand && item->command_ == Value)
                return item;
            if (Kind == fkShortCut && item->shortCut_ != scNone && item->shortCut_ == Value)
                return item;
        }
        for (auto it = item->items_.rbegin(); it != item->items_.rend(); ++it)
            stack.push_back(*it);
    }
    return nullptr;
}

bool TMenu::DispatchCommand(WORD ACommand) {
    TMenuItem* item = ACommand ? FindItem(ACommand, fkCommand) : nullptr;
    if (!item)
        return false;
    item->Click();
    return true;
}

bool TMenu::IsShortCut(TWMKey& Message) {
    const WORD key = Message.CharCode;
    if (key == 0 || key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU)
        return false;
    TShiftState shift;
    if (GetKeyState(VK_SHIFT) < 0)
        shift.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0)
        shift.Include(ssCtrl);
    if (Message.KeyData & 0x20000000)
        shift.Include(ssAlt);
    const TShortCut sc = ::ShortCut(key, shift);
    if (sc == scNone)
        return false;
    // The first item with that short cut that can run: enabled and visible, and so are its parents.
    std::vector<TMenuItem*> stack{items_};
    while (!stack.empty()) {
        TMenuItem* item = stack.back();
        stack.pop_back();
        if (item != items_ && (!item->enabled_ || !item->visible_))
            continue;
        if (item != items_ && item->shortCut_ == sc) {
            item->Click();
            return true;
        }
        for (auto it = item->items_.rbegin(); it != item->items_.rend(); ++it)
            stack.push_back(*it);
    }
    return false;
}

void TMenu::SetImages(TComponent* Value) {
    if (images_ == Value)
        return;
    if (images_)
        images_->RemoveFreeNotification(this);
    images_ = Value;
    if (Value)
        Value->FreeNotification(this);
    items_->Changed();
}

void TMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == images_)
        images_ = nullptr;
}

// ---- TPopupMenu -----------------------------------------------------------------------------------------------------
TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}

namespace {
// A system menu built from the visible items under parent; owned, destroyed with its submenus.
class TNativeMenu {
  public:
    explicit TNativeMenu(const TMenuItem* parent) : menu_(CreatePopupMenu()) {
        if (!menu_)
            throw EOutOfResources(L"Cannot create a popup menu");
        Fill(menu_, parent);
    }
    ~TNativeMenu() { DestroyMenu(menu_); }
    TNativeMenu(const TNativeMenu&) = delete;
    TNativeMenu& operator=(const TNativeMenu&) = delete;
    HMENU Get() const { return menu_; }
    int Count() const { return GetMenuItemCount(menu_); }

  private:
    static void Fill(HMENU menu, const TMenuItem* parent) {
        UINT pos = 0;
        for (int i = 0; i < parent->Count(); ++i) {
            const TMenuItem* item = parent->Items(i);
            if (!item->Visible())
                continue;
            std::wstring text = item->Caption();
            if (item->ShortCut())
                text += L"\t" + ShortCutToText(item->ShortCut());
            MENUITEMINFOW mi{};
            mi.cbSize = sizeof(mi);
            mi.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING;
            mi.fType = item->IsLine() ? MFT_SEPARATOR : item->RadioItem() ? MFT_RADIOCHECK : MFT_STRING;
            mi.fState = (item->Enabled() ? 0 : MFS_GRAYED) | (item->Checked() ? MFS_CHECKED : 0) |
                        (item->Default() ? MFS_DEFAULT : 0);
            mi.wID = item->Command();
            mi.dwTypeData = text.data();
            if (item->Count() > 0 && !item->IsLine()) {
                HMENU sub = CreatePopupMenu();
                if (sub) {
                    Fill(sub, item);
                    mi.fMask |= MIIM_SUBMENU;
                    mi.hSubMenu = sub;
                }
            }
            if (!InsertMenuItemW(menu, pos, TRUE, &mi)) {
                if (mi.hSubMenu)
                    DestroyMenu(mi.hSubMenu);
                continue;
            }
            ++pos;
        }
    }
    HMENU menu_;
};
}  // namespace

void TPopupMenu::Popup(int X, int Y) {
    popupPoint_ = {X, Y};
    if (OnPopup)
        OnPopup(this);
    TNativeMenu menu(Items());
    if (menu.Count() == 0)
        return;
    // The menu belongs to the window of the control that asked for it, else to the application's.
    HWND owner = nullptr;
    if (auto* control = dynamic_cast<TControl*>(popupComponent_))
        if (TCustomForm* form = GetParentForm(control); form && form->HandleAllocated())
            owner = form->Handle();
    if (!owner)
        owner = Application->Handle();
    // A menu opened for a window that is not in the foreground (a tray icon's) would not close when the user
    // clicks elsewhere.
    SetForegroundWindow(owner);
    const UINT align = Alignment == paRight ? TPM_RIGHTALIGN : Alignment == paCenter ? TPM_CENTERALIGN : TPM_LEFTALIGN;
    const auto command = static_cast<WORD>(
        TrackPopupMenu(menu.Get(), align | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, X, Y, 0, owner, nullptr));
    PostMessageW(owner, WM_NULL, 0, 0);
    if (command)
        DispatchCommand(command);
}

void TPopupMenu::SetPopupComponent(TComponent* Value) {
    if (popupComponent_ == Value)
        return;
    if (popupComponent_)
        popupComponent_->RemoveFreeNotification(this);
    popupComponent_ = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TMenu::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == popupComponent_)
        popupComponent_ = nullptr;
}
