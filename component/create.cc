#include "component/create.h"

#include <dlfcn.h>

#include <filesystem>
#include <vector>

#include "component/module.h"
#include "component/registry.h"

namespace morva::com {

namespace {

#ifndef MORVA_INSTALL_LIBDIR
#define MORVA_INSTALL_LIBDIR "lib/morva"
#endif
/// Where `cmake --install` puts the component libraries, relative to the installation's root
/// (the executable's folder's parent).
constexpr const char* kInstalledLibraryFolder = MORVA_INSTALL_LIBDIR;

// Loads `path` and asks its class factory for an object. Libraries stay loaded for the life
// of the process, as objects and code from them may be anywhere in the host.
HRESULT CreateFrom(const std::string& path, const Guid& clsid, const Guid& iid, void** out,
                   std::string* reason) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* e = dlerror();
        *reason = e ? e : (path + ": cannot be loaded");
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    auto getClassObject = reinterpret_cast<DllGetClassObjectFn>(dlsym(handle, "DllGetClassObject"));
    if (!getClassObject) {
        *reason = path + ": not a component library (no DllGetClassObject)";
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    ComPtr<IClassFactory> factory;
    HRESULT hr = getClassObject(&clsid, &IClassFactory::kIid, factory.put());
    if (Failed(hr)) {
        *reason = path + ": " + StatusText(hr);
        return hr;
    }
    hr = factory->CreateInstance(iid, out);
    if (Failed(hr)) *reason = path + ": " + StatusText(hr);
    return hr;
}

}  // namespace

std::string ExecutableDirectory() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : exe.parent_path().string();
}

HRESULT CreateInstance(const Guid& clsid, const Guid& iid, void** out,
                       std::string_view fallbackLibrary, std::string* error) {
    if (!out) return E_POINTER;
    *out = nullptr;
    std::vector<std::string> tried;
    std::string reason;
    HRESULT hr = CLASS_E_CLASSNOTAVAILABLE;

    Registry registry(RegistryPath());
    if (auto path = registry.Get("CLSID\\" + ToString(clsid) + "\\InprocServer32")) {
        hr = CreateFrom(*path, clsid, iid, out, &reason);
        if (Succeeded(hr)) return hr;
        tried.push_back(reason);
    }
    if (!fallbackLibrary.empty()) {
        const std::string dir = ExecutableDirectory();
        for (const std::string& candidate :
             {dir + "/" + std::string(fallbackLibrary),
              dir + "/../lib/" + std::string(fallbackLibrary),
              dir + "/../" + kInstalledLibraryFolder + "/" + std::string(fallbackLibrary)}) {
            if (!std::filesystem::exists(candidate)) continue;
            hr = CreateFrom(candidate, clsid, iid, out, &reason);
            if (Succeeded(hr)) return hr;
            tried.push_back(reason);
        }
    }
    if (error) {
        std::string text = "Cannot create component " + ToString(clsid);
        if (tried.empty()) {
            text += ": class not registered";
            if (!fallbackLibrary.empty())
                text += " and " + std::string(fallbackLibrary) + " not found beside the program";
        } else {
            for (const auto& t : tried) text += "; " + t;
        }
        *error = text;
    }
    return Failed(hr) ? hr : CLASS_E_CLASSNOTAVAILABLE;
}

}  // namespace morva::com
