#pragma once
// Interfaces of the small test component that the component layer tests create.

#include "component/connection_point.h"
#include "component/unknown.h"

namespace morva::com::testing {

inline constexpr Guid kCounterClsid{0x6D0A1F10, 0x1C2B, 0x4D3E, {0x9A, 0x01, 0, 0, 0, 0, 0, 0x01}};
inline constexpr Guid kCounterTypeLib{
    0x6D0A1F10, 0x1C2B, 0x4D3E, {0x9A, 0x01, 0, 0, 0, 0, 0, 0x02}};

class ICounterEvents : public IUnknown {
  public:
    static constexpr Guid kIid{0x6D0A1F10, 0x1C2B, 0x4D3E, {0x9A, 0x01, 0, 0, 0, 0, 0, 0x03}};
    virtual HRESULT OnChanged(int32_t value) = 0;
};

/// Dispatch ids: 1 Add(int), 2 Value() -> int.
class ICounter : public IDispatch {
  public:
    static constexpr Guid kIid{0x6D0A1F10, 0x1C2B, 0x4D3E, {0x9A, 0x01, 0, 0, 0, 0, 0, 0x04}};
    virtual HRESULT Add(int32_t amount) = 0;
    virtual HRESULT Value(int32_t* value) = 0;
};

}  // namespace morva::com::testing
