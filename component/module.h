#pragma once
// What a component library declares (its class table) and the four entry points that the
// MORVA_COMPONENT_ENTRY_POINTS macro generates from it.

#include <span>
#include <string>

#include "component/unknown.h"

namespace morva::com {

/// Registration identity and factory of one creatable class.
struct ClassInfo {
    Guid clsid;
    const char* progId;                    // "Morva.Morva.1"
    const char* versionIndependentProgId;  // "Morva.Morva"
    const char* description;               // "Morva Class"
    Guid typeLib;
    const char* version;      // "1.0"
    bool control;             // registered with "Control", "Insertable", "MiscStatus", toolbox
    const char* miscStatus1;  // value of MiscStatus\1 for controls ("131473")
    /// Creates a new object and returns its interface `iid` with one reference.
    HRESULT (*create)(const Guid& iid, void** out);
};

/// The registry keys that registration of `info` writes, for a library at `modulePath`.
void RegisterClass(class Registry& registry, const ClassInfo& info, const std::string& modulePath);
/// Removes exactly the keys that RegisterClass wrote.
void UnregisterClass(class Registry& registry, const ClassInfo& info);

// Implementations behind the generated entry points.
HRESULT ModuleGetClassObject(std::span<const ClassInfo> classes, const Guid* clsid, const Guid* iid,
                             void** out);
HRESULT ModuleCanUnloadNow(long liveObjects);
HRESULT ModuleRegisterServer(std::span<const ClassInfo> classes, const void* addressInModule);
HRESULT ModuleUnregisterServer(std::span<const ClassInfo> classes);

/// Signatures of the entry points, for hosts that look them up with dlsym.
using DllGetClassObjectFn = HRESULT (*)(const Guid* clsid, const Guid* iid, void** out);
using DllCanUnloadNowFn = HRESULT (*)();
using DllRegisterServerFn = HRESULT (*)();

}  // namespace morva::com

/// Defines DllGetClassObject, DllCanUnloadNow, DllRegisterServer and DllUnregisterServer with C
/// linkage for a library whose classes `classTable()` returns (a std::span<const ClassInfo>).
#define MORVA_COMPONENT_ENTRY_POINTS(classTable)                                                  \
    extern "C" [[gnu::visibility("default")]] morva::com::HRESULT DllGetClassObject(              \
        const morva::com::Guid* clsid, const morva::com::Guid* iid, void** out) {                 \
        return morva::com::ModuleGetClassObject(classTable(), clsid, iid, out);                   \
    }                                                                                             \
    extern "C" [[gnu::visibility("default")]] morva::com::HRESULT DllCanUnloadNow() {             \
        return morva::com::ModuleCanUnloadNow(morva::com::ModuleObjectCount().load());            \
    }                                                                                             \
    extern "C" [[gnu::visibility("default")]] morva::com::HRESULT DllRegisterServer() {           \
        return morva::com::ModuleRegisterServer(classTable(),                                     \
                                                reinterpret_cast<const void*>(&DllCanUnloadNow)); \
    }                                                                                             \
    extern "C" [[gnu::visibility("default")]] morva::com::HRESULT DllUnregisterServer() {         \
        return morva::com::ModuleUnregisterServer(classTable());                                  \
    }
