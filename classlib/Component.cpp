// TComponent: the owner tree, free notification, names and the loading phase.
#include "classlib/Component.h"

#include <algorithm>

#include "base/Report.h"

void (*TComponent::ErrorHandler)(TObject* Sender) = nullptr;

namespace {

bool IsValidIdent(const std::wstring& s) {
    if (s.empty())
        return false;
    auto alpha = [](wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_'; };
    if (!alpha(s[0]))
        return false;
    return std::all_of(s.begin(), s.end(), [&](wchar_t c) { return alpha(c) || (c >= L'0' && c <= L'9'); });
}

}  // namespace

TComponent::TComponent(TComponent* AOwner) {
    if (AOwner) {
        if (AOwner->state_.Contains(csLoading))
            state_.Include(csLoading);
        AOwner->InsertComponent(this);
    }
}

TComponent::~TComponent() {
    // Stack objects and constructors that threw arrive here without the destroying delete: tear down now, with
    // the virtual calls of this level only.
    if (!tornDown_) {
        try {
            Destroying();
            TearDown();
        } catch (...) {
            if (ErrorHandler)
                ErrorHandler(this);
            else
                ReportCaught("TComponent::~TComponent");
        }
    }
}

void TComponent::operator delete(TComponent* p, std::destroying_delete_t) {
    void* memory = dynamic_cast<void*>(p);
    try {
        p->BeforeDestruction();
    } catch (...) {
        if (ErrorHandler)
            ErrorHandler(p);
        else
            ReportCaught("TComponent: BeforeDestruction");
    }
    try {
        p->TearDown();
    } catch (...) {
        if (ErrorHandler)
            ErrorHandler(p);
        else
            ReportCaught("TComponent: tear-down");
    }
    p->~TComponent();
    ::operator delete(memory);
}

void TComponent::BeforeDestruction() {
    Destroying();
}

void TComponent::Destroying() {
    if (state_.Contains(csDestroying))
        return;
    state_.Include(csDestroying);
    for (TComponent* c : components_)
        c->Destroying();
}

void TComponent::TearDown() {
    if (tornDown_)
        return;
    tornDown_ = true;
    state_.Include(csDestroying);
    RemoveFreeNotifications();
    DestroyComponents();
    if (owner_)
        owner_->RemoveComponent(this);
}

TComponent* TComponent::Components(int Index) const {
    if (Index < 0 || Index >= ComponentCount())
        RaiseListIndexError(Index);
    return components_[static_cast<size_t>(Index)];
}

int TComponent::ComponentIndex() const {
    if (!owner_)
        return -1;
    auto it = std::find(owner_->components_.begin(), owner_->components_.end(), this);
    return it == owner_->components_.end() ? -1 : static_cast<int>(it - owner_->components_.begin());
}

TComponent* TComponent::FindComponent(const std::wstring& AName) const {
    if (AName.empty())
        return nullptr;
    for (TComponent* c : components_)
        if (SameText(c->name_, AName))
            return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* AComponent) {
    if (!AComponent || AComponent->owner_ == this)
        return;
    if (!AComponent->name_.empty() && FindComponent(AComponent->name_))
        throw EComponentError(L"A component named " + AComponent->name_ + L" already exists");
    if (AComponent->owner_)
        AComponent->owner_->RemoveComponent(AComponent);
    components_.push_back(AComponent);
    AComponent->owner_ = this;
    Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
    if (!AComponent || AComponent->owner_ != this)
        return;
    Notification(AComponent, opRemove);
    auto it = std::find(components_.begin(), components_.end(), AComponent);
    if (it != components_.end())
        components_.erase(it);
    AComponent->owner_ = nullptr;
}

void TComponent::DestroyComponents() {
    while (!components_.empty()) {
        TComponent* c = components_.back();
        // Siblings hear of the removal while c is still whole; then it goes.
        RemoveComponent(c);
        delete c;
    }
}

void TComponent::FreeNotification(TComponent* AComponent) {
    if (!AComponent || AComponent == this)
        return;
    if (!owner_ || AComponent->owner_ != owner_) {
        if (std::find(freeNotifies_.begin(), freeNotifies_.end(), AComponent) == freeNotifies_.end())
            freeNotifies_.push_back(AComponent);
        if (std::find(AComponent->freeNotifies_.begin(), AComponent->freeNotifies_.end(), this) ==
            AComponent->freeNotifies_.end())
            AComponent->freeNotifies_.push_back(this);
    }
    state_.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
    if (!AComponent)
        return;
    EraseFreeNotify(AComponent);
    AComponent->EraseFreeNotify(this);
}

void TComponent::EraseFreeNotify(TComponent* AComponent) {
    auto it = std::find(freeNotifies_.begin(), freeNotifies_.end(), AComponent);
    if (it != freeNotifies_.end())
        freeNotifies_.erase(it);
}

void TComponent::RemoveFreeNotifications() {
    // Each entry is unlinked before its receiver is told, so an override that forgets the base class cannot make
    // this loop spin.
    while (!freeNotifies_.empty()) {
        TComponent* c = freeNotifies_.back();
        freeNotifies_.pop_back();
        c->EraseFreeNotify(this);
        c->Notification(this, opRemove);
    }
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == opRemove && AComponent)
        RemoveFreeNotification(AComponent);
    // Walk from the end and re-clamp: a receiver may free components of this list.
    int i = ComponentCount() - 1;
    while (i >= 0) {
        components_[static_cast<size_t>(i)]->Notification(AComponent, Operation);
        --i;
        if (i >= ComponentCount())
            i = ComponentCount() - 1;
    }
}

void TComponent::SetName(const std::wstring& NewName) {
    if (NewName == name_)
        return;
    if (!NewName.empty() && !IsValidIdent(NewName))
        throw EComponentError(L"'" + NewName + L"' is not a valid component name");
    if (owner_ && !NewName.empty()) {
        TComponent* other = owner_->FindComponent(NewName);
        if (other && other != this)
            throw EComponentError(L"A component named " + NewName + L" already exists");
    }
    name_ = NewName;
}

void TComponent::BeginLoading() {
    state_.Include(csLoading);
    state_.Include(csReading);
}

void TComponent::CollectLoading(std::vector<TComponent*>& out) {
    if (state_.Contains(csLoading))
        out.push_back(this);
    for (TComponent* c : components_)
        c->CollectLoading(out);
}

void TComponent::EndLoading() {
    std::vector<TComponent*> loading;
    CollectLoading(loading);
    for (TComponent* c : loading)
        c->state_.Exclude(csReading);
    for (TComponent* c : loading) {
        c->Loaded();
        c->state_.Exclude(csLoading);  // also when an override forgot the base class
    }
}

void TComponent::Loaded() {
    state_.Exclude(csLoading);
}
