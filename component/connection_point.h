#pragma once
// Event sinks connected to a source object with Advise/Unadvise.

#include <cstdint>
#include <vector>

#include "component/unknown.h"

namespace morva::com {

inline constexpr HRESULT CONNECT_E_CANNOTCONNECT = static_cast<HRESULT>(0x80040202u);

/// Objects that raise events offer this interface; the sink must answer the source's event
/// interface through QueryInterface.
class IConnectionPoint : public IUnknown {
  public:
    static constexpr Guid kIid{
        0xB196B286, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
    /// Connects `sink`; returns its cookie in `*cookie`.
    virtual HRESULT Advise(IUnknown* sink, uint32_t* cookie) = 0;
    /// Disconnects the sink of `cookie`; CONNECT_E_NOCONNECTION when there is none.
    virtual HRESULT Unadvise(uint32_t cookie) = 0;
};

/// The list of sinks of one event interface `Sink`, called synchronously in connection order.
template <class Sink>
class ConnectionPoint {
  public:
    HRESULT Advise(IUnknown* sink, uint32_t* cookie) {
        if (!sink || !cookie) return E_POINTER;
        ComPtr<Sink> typed;
        if (Failed(sink->QueryInterface(Sink::kIid, typed.put()))) return CONNECT_E_CANNOTCONNECT;
        *cookie = ++lastCookie_;
        sinks_.push_back({*cookie, std::move(typed)});
        return S_OK;
    }

    HRESULT Unadvise(uint32_t cookie) {
        for (auto it = sinks_.begin(); it != sinks_.end(); ++it) {
            if (it->cookie == cookie) {
                sinks_.erase(it);
                return S_OK;
            }
        }
        return CONNECT_E_NOCONNECTION;
    }

    /// Calls `call(sink)` for every sink connected when the event starts, in connection order.
    /// A sink may disconnect itself or others meanwhile.
    template <class F>
    void Fire(F&& call) {
        std::vector<ComPtr<Sink>> snapshot;
        snapshot.reserve(sinks_.size());
        for (const auto& e : sinks_) snapshot.push_back(e.sink);
        for (const auto& s : snapshot) call(*s);
    }

    size_t size() const { return sinks_.size(); }

  private:
    struct Entry {
        uint32_t cookie;
        ComPtr<Sink> sink;
    };
    std::vector<Entry> sinks_;
    uint32_t lastCookie_ = 0;
};

}  // namespace morva::com
