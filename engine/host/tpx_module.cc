// The engine library's class table and its four component entry points.
#include <array>

#include "component/module.h"
#include "engine/host/cmorva.h"

namespace morva::tpx {

namespace {

HRESULT CreateMorva(const com::Guid& iid, void** out) {
    auto morva = NewMorva();
    if (!morva) return com::E_OUTOFMEMORY;
    return morva->QueryInterface(iid, out);
}

std::span<const com::ClassInfo> Classes() {
    static const std::array<com::ClassInfo, 1> classes{{
        {kMorvaClsid, "Morva.Morva.1", "Morva.Morva", "Morva Class", kTpxTypeLib, "1.0", true,
         "131473", &CreateMorva},
    }};
    return classes;
}

}  // namespace

}  // namespace morva::tpx

MORVA_COMPONENT_ENTRY_POINTS(morva::tpx::Classes)
