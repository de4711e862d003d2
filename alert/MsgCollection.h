// The alert window's messages: TMsgCollection of TMsgCollectionItem (text, image index, tag, colours).
// Changing an item's Text, Color or ColorTo raises the collection's OnChange at once; an item that is freed
// raises OnDeleteItem with its index before it leaves. GUI thread only.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "classlib/Classes.h"
#include "classlib/Graphics.h"

class TMsgCollection;

using TOnDeleteItemEvent = std::function<void(TObject* Sender, int Index)>;

class TMsgCollectionItem : public TCollectionItem {
  public:
    explicit TMsgCollectionItem(TCollection* collection);
    ~TMsgCollectionItem() override;
    void Assign(TPersistent* Source) override;

    TStringList* Text() { return text_.get(); }
    void SetText(TStrings* value) { text_->Assign(value); }
    // Sets the text from one string (lines split at CR LF, LF or CR).
    void SetTextString(const std::wstring& value) { text_->SetText(value); }
    // All lines joined with nothing between them: line breaks come from markup only.
    std::wstring JoinedText() const;
    int ImageIndex = 0;
    int Tag = 0;
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    TColor ColorTo() const { return colorTo_; }
    void SetColorTo(TColor value);

  private:
    void Changed_();
    std::unique_ptr<TStringList> text_;
    TColor color_ = clNone;
    TColor colorTo_ = clNone;
};

class TMsgCollection : public TCollection {
  public:
    explicit TMsgCollection(TPersistent* owner);
    TPersistent* GetOwner() override { return owner_; }
    TMsgCollectionItem* Add() { return static_cast<TMsgCollectionItem*>(TCollection::Add()); }
    TMsgCollectionItem* Insert(int index) { return static_cast<TMsgCollectionItem*>(TCollection::Insert(index)); }
    TMsgCollectionItem* Items(int index) const { return static_cast<TMsgCollectionItem*>(TCollection::Items(index)); }
    TNotifyEvent OnChange;
    TOnDeleteItemEvent OnDeleteItem;

  protected:
    void Update(TCollectionItem* item) override;

  private:
    friend class TMsgCollectionItem;
    TPersistent* owner_;
};
