#pragma once
// The compiler component's interfaces as hosts see them: ISqlComp (methods, dispatch
// identifiers), its event interface, and the class and type library identifiers.

#include <cstdint>
#include <optional>
#include <string>

#include "component/connection_point.h"
#include "component/unknown.h"

namespace morva::sql {

using com::Guid;
using com::HRESULT;

/// An automation string: absent stands for a null string, which the compiler reads as empty.
using BStr = std::optional<std::string>;

inline constexpr Guid kSqlCompClsid{
    0x5C7D3B52, 0x8E2A, 0x4A61, {0x9F, 0x32, 0x6D, 0xA1, 0x2E, 0x55, 0xB1, 0x01}};
inline constexpr Guid kSqlCompilerTypeLib{
    0x5C7D3B52, 0x8E2A, 0x4A61, {0x9F, 0x32, 0x6D, 0xA1, 0x2E, 0x55, 0xB1, 0x02}};
/// File name of the compiler library, for hosts that fall back to the library beside them.
inline constexpr const char* kSqlCompilerLibrary = "libsqlcompiler.so";

/// Dispatch identifiers of ISqlComp.
enum SqlCompDispId : int32_t {
    kDispGenerateBy = 1,
    kDispGetDataSources = 2,
    kDispGenerateFromODBCBy = 3,
    kDispSetDialect = 4,
};

/// Dispatch identifiers of the events.
enum SqlCompEventDispId : int32_t {
    kDispOnError = 1,
    kDispOnWarning = 2,
    kDispOnFatal = 3,
    kDispOnBeforeCompile = 4,
    kDispOnAfterCompile = 5,
    kDispOnBeforeGenerateTable = 6,
    kDispOnAfterGenerateTable = 7,
};

/// Events of the compiler. Only OnError and OnWarning are raised; the others belong to the
/// interface, and their default implementations do nothing.
class ISqlCompEvents : public com::IUnknown {
  public:
    static constexpr Guid kIid{
        0x5C7D3B52, 0x8E2A, 0x4A61, {0x9F, 0x32, 0x6D, 0xA1, 0x2E, 0x55, 0xB1, 0x03}};
    /// One message line of the compiler, with the line counter of that moment.
    virtual HRESULT OnError(int32_t lineno, const BStr& errMsg) = 0;
    /// One data source name during GetDataSources; an empty text ends the list.
    virtual HRESULT OnWarning(const BStr& errMsg) = 0;
    virtual HRESULT OnFatal(const BStr& /*errMsg*/) { return com::S_OK; }
    virtual HRESULT OnBeforeCompile() { return com::S_OK; }
    virtual HRESULT OnAfterCompile(int32_t /*nTables*/) { return com::S_OK; }
    virtual HRESULT OnBeforeGenerateTable(const BStr& /*sName*/) { return com::S_OK; }
    virtual HRESULT OnAfterGenerateTable(int32_t /*result*/) { return com::S_OK; }
};

/// The compiler component. Every method returns S_OK whatever happens inside; problems are
/// reported through OnError lines and message boxes. The one exception: a generating method
/// called from inside an event of a running one returns E_UNEXPECTED and does nothing.
class ISqlComp : public com::IDispatch {
  public:
    static constexpr Guid kIid{
        0x5C7D3B52, 0x8E2A, 0x4A61, {0x9F, 0x32, 0x6D, 0xA1, 0x2E, 0x55, 0xB1, 0x04}};

    /// Compiles the script sqlPath and writes one table file per table into dbPath.
    virtual HRESULT GenerateBy(const BStr& dbPath, const BStr& sqlPath) = 0;
    /// Reports every ODBC data source name through OnWarning, then an empty text.
    virtual HRESULT GetDataSources() = 0;
    /// Reads the catalogue of the data source and writes one table file per table into dbPath.
    virtual HRESULT GenerateFromODBCBy(const BStr& DataSourceName, const BStr& UserID,
                                       const BStr& Passwd, const BStr& dbPath) = 0;
    /// Chooses the reader of later GenerateBy calls: "classic" (the default) or "auto", the
    /// tolerant reader of the common dialects; letter case is ignored. E_INVALIDARG for any
    /// other name, which leaves the choice as it was.
    virtual HRESULT SetDialect(const BStr& dialect) = 0;
};

}  // namespace morva::sql
