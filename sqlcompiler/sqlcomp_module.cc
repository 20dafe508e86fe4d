// The compiler library's class table and component entry points.

#include <array>

#include "component/module.h"
#include "sqlcompiler/sqlcomp.h"

namespace morva::sql {
namespace {

com::HRESULT CreateSqlComp(const com::Guid& iid, void** out) {
    try {
        auto* component = new SqlComp;
        component->AddRef();
        com::HRESULT hr = component->QueryInterface(iid, out);
        component->Release();
        return hr;
    } catch (const std::bad_alloc&) {
        return com::E_OUTOFMEMORY;
    }
}

std::span<const com::ClassInfo> Classes() {
    static const std::array<com::ClassInfo, 1> classes{
        {{kSqlCompClsid, "SqlComp.SqlComp.1", "SqlComp.SqlComp", "SqlComp Class",
          kSqlCompilerTypeLib, "1.0", true, "131473", &CreateSqlComp}}};
    return classes;
}

}  // namespace
}  // namespace morva::sql

MORVA_COMPONENT_ENTRY_POINTS(morva::sql::Classes)
