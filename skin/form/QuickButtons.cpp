// The quick-button items and their layout in the caption.
#include "skin/form/QuickButtons.h"

#include "base/Report.h"
#include "skin/form/SkinForm.h"
#include "skin/form/SkinPopupMenu.h"

TbsQuickButtonItem::TbsQuickButtonItem(TCollection* ACollection) : TCollectionItem(ACollection) {}

TbsQuickButtonItems* TbsQuickButtonItem::Items() const {
    return static_cast<TbsQuickButtonItems*>(Collection());
}

void TbsQuickButtonItem::SetImageIndex(int Value) {
    FImageIndex = Value;
    Changed(false);
}

void TbsQuickButtonItem::SetEnabled(bool Value) {
    FEnabled = Value;
    Changed(false);
}

void TbsQuickButtonItem::SetVisible(bool Value) {
    FVisible = Value;
    Changed(false);
}

void TbsQuickButtonItem::SetCaption(const std::wstring& Value) {
    if (FCaption == Value)
        return;
    FCaption = Value;
    Changed(false);
}

void TbsQuickButtonItem::SetPosition(TbsQuickButtonPos Value) {
    if (FPosition == Value)
        return;
    FPosition = Value;
    Changed(false);
}

void TbsQuickButtonItem::SetPopupMenu(TbsSkinPopupMenu* Value) {
    TbsSkinForm* form = Items() ? Items()->SKF : nullptr;
    if (FPopupMenu && form)
        FPopupMenu->RemoveFreeNotification(form);
    FPopupMenu = Value;
    if (FPopupMenu && form)
        FPopupMenu->FreeNotification(form);
}

void TbsQuickButtonItem::SetDown(bool Value) {
    if (FDown == Value)
        return;
    FDown = Value;
    if (TbsQuickButtonItems* items = Items()) {
        for (int i = 0; i < items->Count(); ++i) {
            TbsQuickButtonItem* other = items->Items(i);
            if (other != this && other->FGroupIndex == FGroupIndex)
                other->FDown = false;
        }
    }
    Changed(false);
}

void TbsQuickButtonItem::Assign(TPersistent* Source) {
    auto* s = dynamic_cast<TbsQuickButtonItem*>(Source);
    if (!s) {
        TCollectionItem::Assign(Source);
        return;
    }
    FImageIndex = s->FImageIndex;
    Hint = s->Hint;
    FEnabled = s->FEnabled;
    FVisible = s->FVisible;
    SetPopupMenu(s->FPopupMenu);
    FCaption = s->FCaption;
    FPosition = s->FPosition;
    FGroupIndex = s->FGroupIndex;
    FAllowAllUp = s->FAllowAllUp;
}

TbsQuickButtonItems::TbsQuickButtonItems(TbsSkinForm* AForm)
    : TOwnedCollection(AForm, nullptr), SKF(AForm) {}

TCollectionItem* TbsQuickButtonItems::CreateItem() {
    // The base item joins the collection before this item is whole: no repaint may read it until then.
    BeginUpdate();
    TCollectionItem* item = nullptr;
    try {
        item = new TbsQuickButtonItem(this);
    } catch (...) {
        ReportCaught("TbsQuickButtonItems::CreateItem");
        EndUpdate();
        throw;
    }
    EndUpdate();
    return item;
}

void TbsQuickButtonItems::Update(TCollectionItem*) {
    if (!SKF || SKF->ComponentState().Contains(csLoading))
        return;
    SKF->UpDateFormNC();
}

TbsQuickLayout LayoutQuickButtons(const TbsQuickLayoutInput& In) {
    TbsQuickLayout out;
    const TRect& o = In.ObjectRect;
    const int iw = In.ImageWidth, ih = In.ImageHeight;
    const int p = In.Layered ? 4 : ((In.ModernSkin && o.Height() >= 30) ? 12 : 4);
    out.Margin = p;
    const int arrow = p == 12 ? 3 : 7;
    const int gap = In.Layered ? 5 : 7;
    const int centre = o.Top + o.Height() / 2;
    const int y = In.Layered ? centre - ih / 2 - 2 : centre - ih / 2 - p / 2;
    out.ItemRects.assign(In.Buttons.size(), TRect{});
    auto extra = [&](const TbsQuickLayoutInput::Button& b) {
        return (b.HasMenu ? arrow : 0) + (b.CaptionWidth > 0 ? b.CaptionWidth + 6 : 0);
    };
    int x = In.DividerWidth > 0 ? o.Left + In.DividerWidth + 6 : o.Left + 10;
    bool any = false;
    for (std::size_t i = 0; i < In.Buttons.size(); ++i) {
        const auto& b = In.Buttons[i];
        if (!b.Visible || b.Position != bsqbpLeft)
            continue;
        const TRect r{x, y, x + iw + p + extra(b), y + ih + p};
        out.ItemRects[i] = r;
        x += r.Width();
        out.LeftTaken += r.Width();
        any = true;
    }
    if (any)
        out.LeftTaken += gap;
    x = o.Right - (In.Layered ? 2 : 5);
    any = false;
    for (std::size_t i = 0; i < In.Buttons.size(); ++i) {
        const auto& b = In.Buttons[i];
        if (!b.Visible || b.Position != bsqbpRight)
            continue;
        const TRect r{x - iw - p - extra(b), y, x, y + ih + p};
        out.ItemRects[i] = r;
        x -= r.Width();
        out.RightTaken += r.Width();
        any = true;
    }
    if (any)
        out.RightTaken += gap;
    return out;
}
