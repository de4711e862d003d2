// A move-only owner of one COM interface pointer: Release on destruction, nothing else.
#pragma once

#include <utility>

template <typename T>
class TComPtr {
  public:
    TComPtr() = default;
    // Takes over a reference the caller already holds.
    explicit TComPtr(T* p) : p_(p) {}
    TComPtr(const TComPtr&) = delete;
    TComPtr& operator=(const TComPtr&) = delete;
    TComPtr(TComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    TComPtr& operator=(TComPtr&& o) noexcept {
        if (this != &o)
            Reset(std::exchange(o.p_, nullptr));
        return *this;
    }
    ~TComPtr() { Reset(); }

    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For out-parameters (CoCreateInstance, QueryInterface): frees what is held first.
    T** Put() {
        Reset();
        return &p_;
    }
    void Reset(T* p = nullptr) {
        if (p_)
            p_->Release();
        p_ = p;
    }
    [[nodiscard]] T* Detach() { return std::exchange(p_, nullptr); }

  private:
    T* p_ = nullptr;
};
