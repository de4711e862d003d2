// The alert window's message collection.
#include "alert/MsgCollection.h"

TMsgCollectionItem::TMsgCollectionItem(TCollection* collection)
    : TCollectionItem(collection), text_(std::make_unique<TStringList>()) {
    text_->OnChange = [this](TObject*) { Changed_(); };
}

TMsgCollectionItem::~TMsgCollectionItem() {
    text_->OnChange = nullptr;
    if (auto* c = dynamic_cast<TMsgCollection*>(Collection()))
        if (c->OnDeleteItem)
            c->OnDeleteItem(c, Index());
}

void TMsgCollectionItem::Assign(TPersistent* Source) {
    if (auto* item = dynamic_cast<TMsgCollectionItem*>(Source)) {
        text_->Assign(item->text_.get());
        ImageIndex = item->ImageIndex;
        Tag = item->Tag;
        color_ = item->color_;
        colorTo_ = item->colorTo_;
        Changed_();
        return;
    }
    TCollectionItem::Assign(Source);
}

std::wstring TMsgCollectionItem::JoinedText() const {
    std::wstring s;
    for (int i = 0; i < text_->Count(); ++i)
        s += text_->Get(i);
    return s;
}

void TMsgCollectionItem::SetColor(TColor value) {
    color_ = value;
    Changed_();
}

void TMsgCollectionItem::SetColorTo(TColor value) {
    colorTo_ = value;
    Changed_();
}

void TMsgCollectionItem::Changed_() {
    if (auto* c = dynamic_cast<TMsgCollection*>(Collection()))
        if (c->OnChange)
            c->OnChange(c);
}

TMsgCollection::TMsgCollection(TPersistent* owner)
    : TCollection([](TCollection* c) { return new TMsgCollectionItem(c); }), owner_(owner) {}

void TMsgCollection::Update(TCollectionItem* item) {
    TCollection::Update(item);
    if (!item && Count() == 0 && OnChange)
        OnChange(this);
}
