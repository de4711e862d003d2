// The component model: an ownership tree with free notification and a loading phase.
// Index: TOperation, TComponentState, EComponentError, TComponent.
//
// Ownership: a component created with an owner is freed by that owner, owned components in reverse order of
// creation. Components live on the heap only (new, or a unique_ptr for a root without owner): `delete` runs
// BeforeDestruction() on the complete object first (forms fire OnDestroy there), then the teardown (free
// notification, owned components freed, removal from the owner), and only then the destructors. So by the time a
// destructor body runs, the component's owned components are gone: do not touch them there.
//
// Weak references: a component that keeps a pointer to a component of another owner calls FreeNotification(it) and
// clears the pointer in its Notification(it, opRemove) override (always call the base class there: it passes the
// notification on to the owned components). Siblings of one owner are told through the owner's broadcast, also
// while the owner itself is being destroyed.
//
// GUI thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <string>
#include <vector>

#include "classlib/Classes.h"
#include "classlib/SysUtils.h"
#include "classlib/Types.h"

// GCC 12 pairs a class's destroying operator delete with the global operator new of the new-expression and warns
// at every delete of a component, although both ends are the class's own (a known false positive). The warning is
// switched off for the files that use components; mismatches elsewhere are still reported by other compilers.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

TRELM_DECLARE_EXCEPTION(EComponentError, Exception);

enum TOperation { opInsert, opRemove };

// csLoading: between BeginLoading() of the root and the component's Loaded(); csDestroying: teardown has begun.
enum TComponentStateItem { csLoading, csReading, csDestroying, csUpdating, csFreeNotification };
using TComponentState = TSet<TComponentStateItem>;

class TComponent : public TPersistent {
  public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;

    // Destroying delete: runs BeforeDestruction() and the teardown on the complete object before any destructor.
    void operator delete(TComponent* p, std::destroying_delete_t);
    // The global allocation, declared here so that compilers pair it with the delete above; the plain delete
    // releases the memory when a constructor throws.
    static void* operator new(std::size_t size) { return ::operator new(size); }
    static void operator delete(void* p) noexcept { ::operator delete(p); }

    // ---- Ownership ----
    TComponent* Owner() const { return owner_; }
    TPersistent* GetOwner() override { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    // Components[Index]; EListError for an index outside 0 .. ComponentCount()-1.
    TComponent* Components(int Index) const;
    int ComponentIndex() const;  // position in the owner's list, -1 without owner
    // The owned component of that name (case-insensitive), nullptr when none.
    TComponent* FindComponent(const std::wstring& AName) const;
    // Moves AComponent into this component's list (from its current owner's, if any). The new owner broadcasts
    // opInsert to its components.
    void InsertComponent(TComponent* AComponent);
    // Takes AComponent out of this component's list after broadcasting opRemove; the component is not freed.
    void RemoveComponent(TComponent* AComponent);
    // Frees every owned component, the last created first.
    void DestroyComponents();

    // ---- Free notification ----
    // Ask to be told (Notification(AComponent, opRemove)) when AComponent is freed, and tell AComponent when this
    // one is. Siblings of one owner need not ask: the owner's broadcast reaches them.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);
    // Called for insertions into and removals from the owner's tree and for free notifications. The base passes
    // the call on to every owned component, so override it and call the base class.
    virtual void Notification(TComponent* AComponent, TOperation Operation);

    // ---- Identity ----
    const std::wstring& Name() const { return name_; }
    // Empty, or an identifier (letters, digits, '_', not starting with a digit) unique among the owner's
    // components (case-insensitive); EComponentError otherwise.
    virtual void SetName(const std::wstring& NewName);
    std::intptr_t Tag() const { return tag_; }
    void SetTag(std::intptr_t Value) { tag_ = Value; }
    TComponentState ComponentState() const { return state_; }

    // ---- Loading phase ----
    // A tree of components is built like a stored form: the root's BeginLoading(), then creation and property
    // setting (components created with a loading owner are loading too), then EndLoading(), which calls Loaded()
    // on every loading component of the tree, the root first and the others in order of creation.
    void BeginLoading();
    virtual void EndLoading();
    // Clears csLoading. Overrides call the base first, then act on the properties set while loading.
    virtual void Loaded();

    // First step of the destruction of a heap component, on the complete object. Overrides call the base last.
    virtual void BeforeDestruction();

    // Reports an exception caught at a boundary the component layer owns (teardown hooks). Forms installs the
    // application's handler; without one the exception is dropped.
    static void (*ErrorHandler)(TObject* Sender);

  protected:
    // Marks this component and its owned components as being destroyed.
    void Destroying();

  private:
    void TearDown();
    void RemoveFreeNotifications();
    void EraseFreeNotify(TComponent* AComponent);
    void CollectLoading(std::vector<TComponent*>& out);

    TComponent* owner_ = nullptr;            // borrowed: the owner frees us
    std::vector<TComponent*> components_;    // owned, in order of creation
    std::vector<TComponent*> freeNotifies_;  // borrowed, both ways
    std::wstring name_;
    std::intptr_t tag_ = 0;
    TComponentState state_;
    bool tornDown_ = false;
};
