#pragma once
// The interface through which tests read what a recording component was asked to do and set
// how it answers. The recording engine and compiler are loaded by class identifier like the
// real ones; tests reach this interface with QueryInterface on the run window's components.

#include <string>
#include <vector>

#include "component/unknown.h"

namespace morva::testing {

class IRecorder : public com::IUnknown {
  public:
    static constexpr com::Guid kIid{
        0x7E11D0C3, 0x4B6A, 0x4C2E, {0x91, 0x0F, 0x2A, 0x5B, 0x7C, 0x3D, 0x9E, 0x01}};
    /// Every method call so far, one line each: "Name(arg|arg...)".
    virtual std::vector<std::string> Calls() = 0;
    virtual void ForgetCalls() = 0;
    /// Sets a behaviour; see each component for the keys. Values of a key accumulate.
    virtual void Set(const std::string& key, const std::string& value) = 0;
};

}  // namespace morva::testing
