// Menus as data trees: the skin engine draws every popup from these items; the plain TPopupMenu shows them as a
// system menu built for the moment it is open.
// Index: TShortCut and its helpers (ShortCut, ShortCutToKey, ShortCutToText, TextToShortCut), the caption helpers
// (IsAccel, GetHotkey, StripHotkey), TMenuItem, TMenu, TPopupMenu, TMainMenu.
//
// Ownership: a menu owns its root item; an item owns the items added to it (freed with it, last first). Items are
// also components (for Name and Tag); the component owner of an item frees it too, whichever comes first, and the
// item leaves its parent item when freed. GUI thread only.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "classlib/Component.h"
#include "classlib/Controls.h"
#include "classlib/Graphics.h"

// ---- Short cuts: a virtual key in the low byte plus modifier bits ---------------------------------------------------
using TShortCut = WORD;
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0;

TShortCut ShortCut(WORD Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, WORD& Key, TShiftState& Shift);
// "Shift+Ctrl+Alt+<key>" with the key names "BkSp", "Tab", "Esc", "Enter", "Space", "PgUp", "PgDn", "End", "Home",
// "Left", "Up", "Right", "Down", "Ins", "Del", letters, digits, "F1".."F24"; other keys by the system's key name;
// "" when the key has no name.
std::wstring ShortCutToText(TShortCut ShortCut);
// The reverse of ShortCutToText (case-insensitive); 0 when the text names no key.
TShortCut TextToShortCut(const std::wstring& Text);

// Captions: "&x" marks the accelerator x, "&&" is a literal ampersand, "-" is a separator line.
constexpr wchar_t cHotkeyPrefix = L'&';
inline const std::wstring cLineCaption = L"-";
// The accelerator character of a caption, 0 when it has none.
wchar_t GetHotkey(const std::wstring& Text);
std::wstring StripHotkey(const std::wstring& Text);
// True when the caption's accelerator is the character of the virtual key VK (case-insensitive).
bool IsAccel(WORD VK, const std::wstring& Str);

class TMenu;

// ---- TMenuItem ------------------------------------------------------------------------------------------------------
class TMenuItem : public TComponent {
  public:
    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;

    const std::wstring& Caption() const { return caption_; }
    void SetCaption(const std::wstring& Value);
    const std::wstring& Hint() const { return hint_; }
    void SetHint(const std::wstring& Value) { hint_ = Value; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool Value);
    bool Visible() const { return visible_; }
    void SetVisible(bool Value);
    bool Checked() const { return checked_; }
    // Checking a radio item unchecks the radio items of the same group index under the same parent.
    void SetChecked(bool Value);
    bool RadioItem() const { return radioItem_; }
    void SetRadioItem(bool Value);
    bool AutoCheck() const { return autoCheck_; }
    void SetAutoCheck(bool Value) { autoCheck_ = Value; }
    bool Default() const { return default_; }
    // Only one default item per parent: setting one clears the others.
    void SetDefault(bool Value);
    BYTE GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(BYTE Value);
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut Value);
    // Owned, created on first use.
    TBitmap* Bitmap();
    void SetBitmap(TBitmap* Value);
    bool HasBitmap() const { return bitmap_ && !bitmap_->Empty(); }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int Value);
    // A number unique among the live items, for DispatchCommand.
    WORD Command() const { return command_; }
    bool IsLine() const { return caption_ == cLineCaption; }

    int Count() const { return static_cast<int>(items_.size()); }
    // Items[Index]; EListError outside 0 .. Count()-1.
    TMenuItem* Items(int Index) const;
    TMenuItem* operator[](int Index) const { return Items(Index); }
    void Add(TMenuItem* Item);
    void Insert(int Index, TMenuItem* Item);
    // Takes the item out (not freed: the caller owns it then).
    void Delete(int Index);
    void Remove(TMenuItem* Item);
    // Frees every child item.
    void Clear();
    int IndexOf(const TMenuItem* Item) const;
    TMenuItem* Parent() const { return parent_; }
    int MenuIndex() const;
    void SetMenuIndex(int Value);
    // The child whose caption without accelerator marks equals ACaption (case-insensitive), nullptr when none.
    TMenuItem* Find(const std::wstring& ACaption) const;
    // The menu whose tree holds this item, nullptr when none.
    TMenu* GetParentMenu() const;

    // Runs the item when it is enabled: AutoCheck toggles Checked, then OnClick.
    virtual void Click();
    TNotifyEvent OnClick;
    // Owner drawing: the skinned menus call it (sender: their entry for this item) instead of drawing the caption.
    std::function<void(TObject* Sender, TCanvas* ACanvas, const TRect& ARect, bool Selected)> OnDrawItem;

  private:
    friend class TMenu;
    void Changed();
    void TurnSiblingsOff();

    std::wstring caption_;
    std::wstring hint_;
    bool enabled_ = true;
    bool visible_ = true;
    bool checked_ = false;
    bool radioItem_ = false;
    bool autoCheck_ = false;
    bool default_ = false;
    BYTE groupIndex_ = 0;
    TShortCut shortCut_ = 0;
    std::unique_ptr<TBitmap> bitmap_;
    int imageIndex_ = -1;
    WORD command_ = 0;
    TMenuItem* parent_ = nullptr;    // borrowed: the parent lists and frees us
    TMenu* menu_ = nullptr;          // borrowed: set on the root item only
    std::vector<TMenuItem*> items_;  // owned
};

enum TFindItemKind { fkCommand, fkShortCut };

// ---- TMenu ----------------------------------------------------------------------------------------------------------
class TMenu : public TComponent {
  public:
    explicit TMenu(TComponent* AOwner);
    ~TMenu() override;

    TMenuItem* Items() const { return items_; }
    // Runs the item with that command (see TMenuItem::Command); false when there is none.
    bool DispatchCommand(WORD ACommand);
    // Runs the enabled, visible item (with enabled, visible parents) whose short cut is the key of Message with
    // the shift keys now held (Alt from the key data); false when there is none.
    bool IsShortCut(TWMKey& Message);
    TMenuItem* FindItem(int Value, TFindItemKind Kind) const;

    // The image list items take their ImageIndex from (a TCustomImageList or any component); borrowed, cleared
    // when it is freed.
    TComponent* Images() const { return images_; }
    void SetImages(TComponent* Value);

    void Notification(TComponent* AComponent, TOperation Operation) override;

    // Raised after any change of an item of the tree (caption, state, children).
    TNotifyEvent OnChange;

  private:
    friend class TMenuItem;
    TMenuItem* items_;  // owned (freed in the destructor)
    TComponent* images_ = nullptr;
};

// ---- TPopupMenu -----------------------------------------------------------------------------------------------------
class TPopupMenu : public TMenu {
  public:
    explicit TPopupMenu(TComponent* AOwner);
    // Records the point, raises OnPopup and shows the visible items as a system menu built for this call at the
    // screen point (X, Y) (Alignment says which edge of the menu lies there); the chosen item runs through
    // DispatchCommand after the menu closed. Nothing is shown without a visible item. The skin engine's popup
    // menus override this and draw the items themselves.
    virtual void Popup(int X, int Y);
    enum TPopupAlignment { paLeft, paRight, paCenter };
    TPopupAlignment Alignment = paLeft;
    bool AutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool Value) { autoPopup_ = Value; }
    // The component that asked for the popup (a control's context menu sets itself); borrowed, cleared when freed.
    TComponent* PopupComponent() const { return popupComponent_; }
    void SetPopupComponent(TComponent* Value);
    TPoint PopupPoint() const { return popupPoint_; }
    void Notification(TComponent* AComponent, TOperation Operation) override;

    TNotifyEvent OnPopup;

  protected:
    TPoint popupPoint_{-1, -1};

  private:
    bool autoPopup_ = true;
    TComponent* popupComponent_ = nullptr;
};

class TMainMenu : public TMenu {
  public:
    using TMenu::TMenu;
};
