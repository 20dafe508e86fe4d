#pragma once
// The interface model shared by components and hosts: reference-counted objects that answer
// QueryInterface, dispatch callers through Invoke, class factories, and an owning pointer.

#include <atomic>
#include <cstdint>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "component/guid.h"
#include "component/hresult.h"

namespace morva::com {

/// An automation argument or result: nothing (also a null string), a 32-bit integer or a text.
using Variant = std::variant<std::monostate, int32_t, std::string>;

/// Base of every interface.
class IUnknown {
  public:
    static constexpr Guid kIid{0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
    /// Stores an added reference to the interface `iid` in `*out`, or E_NOINTERFACE.
    virtual HRESULT QueryInterface(const Guid& iid, void** out) = 0;
    virtual uint32_t AddRef() = 0;
    virtual uint32_t Release() = 0;

  protected:
    virtual ~IUnknown() = default;
};

/// Late-bound calls by dispatch identifier; arguments in call order.
class IDispatch : public IUnknown {
  public:
    static constexpr Guid kIid{0x00020400, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
    /// Calls the method `dispId` with `args`; `result` may be null. DISP_E_MEMBERNOTFOUND for an
    /// unknown identifier, DISP_E_BADPARAMCOUNT or DISP_E_TYPEMISMATCH for wrong arguments.
    virtual HRESULT Invoke(int32_t dispId, const std::vector<Variant>& args, Variant* result) = 0;
};

/// Creates objects of one class.
class IClassFactory : public IUnknown {
  public:
    static constexpr Guid kIid{0x00000001, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
    virtual HRESULT CreateInstance(const Guid& iid, void** out) = 0;
    /// Keeps the library loaded while locked.
    virtual HRESULT LockServer(bool lock) = 0;
};

/// Owning pointer to an interface: releases its reference when it goes.
template <class T>
class ComPtr {
  public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    /// Takes an added reference (as returned through QueryInterface) without adding another.
    static ComPtr Adopt(T* p) {
        ComPtr r;
        r.p_ = p;
        return r;
    }
    /// Shares `p`, adding a reference.
    static ComPtr Share(T* p) {
        if (p) p->AddRef();
        return Adopt(p);
    }
    ComPtr(const ComPtr& o) : p_(o.p_) {
        if (p_) p_->AddRef();
    }
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ComPtr& operator=(ComPtr o) noexcept {
        std::swap(p_, o.p_);
        return *this;
    }
    ~ComPtr() { reset(); }

    void reset() {
        if (T* p = std::exchange(p_, nullptr)) p->Release();
    }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    T& operator*() const { return *p_; }
    explicit operator bool() const { return p_ != nullptr; }
    /// For out parameters: releases the current pointer and exposes the slot.
    void** put() {
        reset();
        return reinterpret_cast<void**>(&p_);
    }

    /// Queries this object for interface U.
    template <class U>
    ComPtr<U> As() const {
        ComPtr<U> r;
        if (p_) p_->QueryInterface(U::kIid, r.put());
        return r;
    }

  private:
    T* p_ = nullptr;
};

/// Live objects and server locks of the library this header is compiled into. Each library
/// has its own count, which DllCanUnloadNow reads.
[[gnu::visibility("hidden")]] inline std::atomic<long>& ModuleObjectCount() {
    static std::atomic<long> count{0};
    return count;
}

/// Reference counting, QueryInterface over the listed interfaces, and the library's object
/// count for a component class. The first interface also answers for IUnknown and IDispatch
/// when it derives from them.
template <class First, class... Rest>
class Object : public First, public Rest... {
  public:
    Object() { ++ModuleObjectCount(); }
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    HRESULT QueryInterface(const Guid& iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (iid == IUnknown::kIid || iid == First::kIid) {
            *out = static_cast<First*>(this);
        } else if constexpr (std::is_base_of_v<IDispatch, First>) {
            if (iid == IDispatch::kIid) *out = static_cast<IDispatch*>(static_cast<First*>(this));
        }
        if (!*out) (void)((iid == Rest::kIid && (*out = static_cast<Rest*>(this))) || ...);
        if (!*out) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    uint32_t AddRef() override { return ++refs_; }
    uint32_t Release() override {
        uint32_t n = --refs_;
        if (n == 0) delete this;
        return n;
    }

  protected:
    ~Object() override { --ModuleObjectCount(); }

  private:
    std::atomic<uint32_t> refs_{0};
};

/// Creates a new object of class T and returns its interface I with one reference.
template <class T, class I = T, class... Args>
ComPtr<I> MakeObject(Args&&... args) {
    T* obj = new T(std::forward<Args>(args)...);
    ComPtr<I> r;
    obj->QueryInterface(I::kIid, r.put());
    return r;
}

}  // namespace morva::com
