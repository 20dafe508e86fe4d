#include "component/module.h"

#include <dlfcn.h>

#include <filesystem>

#include "component/registry.h"

namespace morva::com {

namespace {

// Keeps a library loaded while a host holds a lock on its class factory.
class ClassFactory : public Object<IClassFactory> {
  public:
    explicit ClassFactory(const ClassInfo& info) : info_(info) {}
    HRESULT CreateInstance(const Guid& iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        return info_.create(iid, out);
    }
    HRESULT LockServer(bool lock) override {
        if (lock)
            AddRef();
        else
            Release();
        return S_OK;
    }

  private:
    const ClassInfo& info_;
};

std::string ClsidKey(const ClassInfo& info) {
    return "CLSID\\" + ToString(info.clsid);
}

}  // namespace

void RegisterClass(Registry& r, const ClassInfo& info, const std::string& modulePath) {
    const std::string clsid = ToString(info.clsid);
    const std::string key = ClsidKey(info);
    r.Set(info.progId, "@", info.description);
    r.Set(std::string(info.progId) + "\\CLSID", "@", clsid);
    if (info.control) r.CreateKey(std::string(info.progId) + "\\Insertable");
    r.Set(info.versionIndependentProgId, "@", info.description);
    r.Set(std::string(info.versionIndependentProgId) + "\\CLSID", "@", clsid);
    r.Set(std::string(info.versionIndependentProgId) + "\\CurVer", "@", info.progId);
    r.Set(key, "@", info.description);
    r.Set(key + "\\ProgID", "@", info.progId);
    r.Set(key + "\\VersionIndependentProgID", "@", info.versionIndependentProgId);
    r.CreateKey(key + "\\Programmable");
    r.Set(key + "\\InprocServer32", "@", modulePath);
    r.Set(key + "\\InprocServer32", "ThreadingModel", "Apartment");
    if (info.control) {
        r.CreateKey(key + "\\Control");
        r.CreateKey(key + "\\Insertable");
        r.Set(key + "\\ToolboxBitmap32", "@", modulePath + ", 1");
        r.Set(key + "\\MiscStatus", "@", "0");
        r.Set(key + "\\MiscStatus\\1", "@", info.miscStatus1 ? info.miscStatus1 : "0");
    }
    r.Set(key + "\\TypeLib", "@", ToString(info.typeLib));
    r.Set(key + "\\Version", "@", info.version);
}

void UnregisterClass(Registry& r, const ClassInfo& info) {
    r.RemoveTree(info.progId);
    r.RemoveTree(info.versionIndependentProgId);
    r.RemoveTree(ClsidKey(info));
}

HRESULT ModuleGetClassObject(std::span<const ClassInfo> classes, const Guid* clsid, const Guid* iid,
                             void** out) {
    if (!clsid || !iid || !out) return E_POINTER;
    *out = nullptr;
    for (const ClassInfo& info : classes) {
        if (info.clsid == *clsid) {
            auto* factory = new ClassFactory(info);
            factory->AddRef();
            HRESULT hr = factory->QueryInterface(*iid, out);
            factory->Release();
            return hr;
        }
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT ModuleCanUnloadNow(long liveObjects) {
    return liveObjects == 0 ? S_OK : S_FALSE;
}

HRESULT ModuleRegisterServer(std::span<const ClassInfo> classes, const void* addressInModule) {
    Dl_info dl{};
    if (!dladdr(addressInModule, &dl) || !dl.dli_fname) return SELFREG_E_CLASS;
    std::error_code ec;
    std::string modulePath = std::filesystem::absolute(dl.dli_fname, ec).string();
    Registry registry(RegistryPath());
    for (const ClassInfo& info : classes) RegisterClass(registry, info, modulePath);
    return registry.Save(nullptr) ? S_OK : SELFREG_E_CLASS;
}

HRESULT ModuleUnregisterServer(std::span<const ClassInfo> classes) {
    Registry registry(RegistryPath());
    for (const ClassInfo& info : classes) UnregisterClass(registry, info);
    return registry.Save(nullptr) ? S_OK : SELFREG_E_CLASS;
}

}  // namespace morva::com
