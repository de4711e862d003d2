// A move-only owner of one COM interface pointer: Release on destruction, nothing else.
// Like the handle owners, it counts the pointers it holds (LiveComPointerCount) so that leak tests see them.
#pragma once

#include <utility>

// Interface pointers currently held by TComPtr owners.
long LiveComPointerCount();

namespace com_detail {
void CountComPointer(int delta);
}

template <typename T>
class TComPtr {
  public:
    TComPtr() = default;
    // Takes over a reference the caller already holds.
    explicit TComPtr(T* p) : p_(p) {
        if (p_)
            com_detail::CountComPointer(+1);
    }
    TComPtr(const TComPtr&) = delete;
    TComPtr& operator=(const TComPtr&) = delete;
    TComPtr(TComPtr&& o) noexcept : p_(o.Take()) {}
    TComPtr& operator=(TComPtr&& o) noexcept {
        if (this != &o) {
            T* p = o.Take();
            Reset();
            p_ = p;
        }
        return *this;
    }
    ~TComPtr() { Reset(); }

    T* Get() const {
        Settle();
        return p_;
    }
    T* operator->() const { return Get(); }
    explicit operator bool() const { return Get() != nullptr; }
    // For out-parameters (CoCreateInstance, QueryInterface): frees what is held first.
    T** Put() {
        Reset();
        written_ = true;
        return &p_;
    }
    void Reset(T* p = nullptr) {
        Settle();
        if (p_) {
            p_->Release();
            com_detail::CountComPointer(-1);
        }
        p_ = p;
        if (p_)
            com_detail::CountComPointer(+1);
    }
    [[nodiscard]] T* Detach() {
        T* p = Take();
        if (p)
            com_detail::CountComPointer(-1);
        return p;
    }

  private:
    // A pointer written through Put() is counted when it is next looked at.
    void Settle() const {
        if (written_) {
            written_ = false;
            if (p_)
                com_detail::CountComPointer(+1);
        }
    }
    // Hands over the (counted) pointer.
    T* Take() {
        Settle();
        return std::exchange(p_, nullptr);
    }
    T* p_ = nullptr;
    mutable bool written_ = false;
};
