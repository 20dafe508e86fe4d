#pragma once
// Creating a component object by class identifier, as a host does.

#include <string>
#include <string_view>

#include "component/unknown.h"

namespace morva::com {

/// Creates an object of class `clsid` and returns its interface `iid` in `*out`.
/// The library is the one registered for the class in the component registry; when the class
/// is not registered, or its library cannot be loaded, `fallbackLibrary` (a file name such as
/// "libtpx.so") is looked for beside the executable, in ../lib and in the installed library
/// folder (../lib/<arch>/morva or ../lib/morva, as the build was configured). On failure returns
/// the failing status and a reason naming the library in `*error`.
HRESULT CreateInstance(const Guid& clsid, const Guid& iid, void** out,
                       std::string_view fallbackLibrary, std::string* error);

/// Typed form of CreateInstance.
template <class I>
ComPtr<I> CreateInstance(const Guid& clsid, std::string_view fallbackLibrary, std::string* error,
                         HRESULT* status = nullptr) {
    ComPtr<I> r;
    HRESULT hr = CreateInstance(clsid, I::kIid, r.put(), fallbackLibrary, error);
    if (status) *status = hr;
    return r;
}

/// Folder of the running executable.
std::string ExecutableDirectory();

}  // namespace morva::com
