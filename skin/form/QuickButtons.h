// The quick buttons of a skinned form's caption: small image buttons left of the title or at the caption's right
// end, plain, dropping a skinned popup menu, or sticky in a group. The form keeps them as its QuickButtons
// collection; the caption text object lays them out, draws them and runs them (SkinCaptionQuick.cpp).
//
// Index: TbsQuickButtonPos, TbsQuickButtonItem, TbsQuickButtonItems, TbsQuickLayoutInput, LayoutQuickButtons.
//
// Ownership: the collection owns its items; an item borrows its popup menu (the form hears of the menu's going).
// GUI thread only.
#pragma once

#include <string>
#include <vector>

#include "classlib/Classes.h"
#include "classlib/Types.h"

class TbsSkinForm;
class TbsSkinPopupMenu;

enum TbsQuickButtonPos { bsqbpLeft, bsqbpRight };

class TbsQuickButtonItems;

class TbsQuickButtonItem : public TCollectionItem {
  public:
    explicit TbsQuickButtonItem(TCollection* ACollection);

    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    const std::wstring& Caption() const { return FCaption; }
    void SetCaption(const std::wstring& Value);
    TbsQuickButtonPos Position() const { return FPosition; }
    void SetPosition(TbsQuickButtonPos Value);
    TbsSkinPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TbsSkinPopupMenu* Value);
    bool Down() const { return FDown; }
    // A change releases every other button of the same group (group 0 included) and repaints the caption.
    void SetDown(bool Value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value) { FGroupIndex = Value; }
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool Value) { FAllowAllUp = Value; }
    void Assign(TPersistent* Source) override;

    std::wstring Hint;
    TNotifyEvent OnClick;  // Sender: the caption object's form component
    // Where the button lies (coordinates of its caption object), set at each layout.
    TRect ItemRect{};
    bool Active = false;
    // The press in progress began on an already-down sticky button.
    bool FAllowAllUpCheck = false;
    // The down flag without a repaint or a group release (the caption's own state changes).
    bool FDown = false;

  private:
    TbsQuickButtonItems* Items() const;
    int FImageIndex = -1;
    bool FEnabled = true;
    bool FVisible = true;
    std::wstring FCaption;
    TbsQuickButtonPos FPosition = bsqbpLeft;
    TbsSkinPopupMenu* FPopupMenu = nullptr;
    int FGroupIndex = 0;
    bool FAllowAllUp = false;
};

class TbsQuickButtonItems : public TOwnedCollection {
  public:
    explicit TbsQuickButtonItems(TbsSkinForm* AForm);
    TbsQuickButtonItem* Items(int Index) const { return static_cast<TbsQuickButtonItem*>(TCollection::Items(Index)); }
    TbsQuickButtonItem* Add() { return static_cast<TbsQuickButtonItem*>(TCollection::Add()); }
    TbsQuickButtonItem* Insert(int Index) { return static_cast<TbsQuickButtonItem*>(TCollection::Insert(Index)); }
    TbsSkinForm* SKF;  // borrowed: the owning form component

  protected:
    TCollectionItem* CreateItem() override;
    void Update(TCollectionItem* Item) override;
};

// The layout of the quick buttons within a caption object (all in the object's coordinates).
struct TbsQuickLayoutInput {
    TRect ObjectRect;
    int ImageWidth = 16, ImageHeight = 16;
    // Width of the caption's divider rectangle (0 when it has none).
    int DividerWidth = 0;
    // The layered top image: margin 4, arrow room 7, group gap 5, right start 2 in.
    bool Layered = false;
    bool ModernSkin = false;
    struct Button {
        bool Visible = true;
        TbsQuickButtonPos Position = bsqbpLeft;
        bool HasMenu = false;
        int CaptionWidth = 0;  // 0 without a caption
    };
    std::vector<Button> Buttons;
};

struct TbsQuickLayout {
    std::vector<TRect> ItemRects;  // one per button; empty for an invisible one
    // How much the text area gives up on the left and on the right.
    int LeftTaken = 0, RightTaken = 0;
    int Margin = 4;
};

TbsQuickLayout LayoutQuickButtons(const TbsQuickLayoutInput& In);
