#pragma once
// The compiler component: ISqlComp over the process's compilation and an ODBC link.

#include <memory>

#include "component/connection_point.h"
#include "sqlcompiler/compilation.h"
#include "sqlcompiler/isqlcomp.h"
#include "sqlcompiler/odbc_link.h"

namespace morva::sql {

class SqlComp;

/// The process-wide state of the compiler, in one place: the compilation (model, counters,
/// scanner and parser state) and the component whose method is running, null between calls.
/// One component's method runs at a time.
struct ProcessState {
    Compilation compilation;
    SqlComp* running = nullptr;
};
ProcessState& Process();

class SqlComp : public com::Object<ISqlComp, com::IConnectionPoint> {
  public:
    /// A component over the system's ODBC driver manager.
    SqlComp();
    /// A component over `api` (tests pass a fake).
    explicit SqlComp(std::unique_ptr<OdbcApi> api);

    HRESULT GenerateBy(const BStr& dbPath, const BStr& sqlPath) override;
    HRESULT GetDataSources() override;
    HRESULT GenerateFromODBCBy(const BStr& DataSourceName, const BStr& UserID, const BStr& Passwd,
                               const BStr& dbPath) override;
    HRESULT SetDialect(const BStr& dialect) override;
    HRESULT Invoke(int32_t dispId, const std::vector<com::Variant>& args,
                   com::Variant* result) override;
    HRESULT Advise(com::IUnknown* sink, uint32_t* cookie) override;
    HRESULT Unadvise(uint32_t cookie) override;

  private:
    /// Routes the compilation's message lines to this component's sinks while it lives.
    class Running;

    void WriteTables(Compilation& compilation, const std::string& dbPath);

    OdbcLink link_;
    Dialect dialect_ = Dialect::kClassic;
    com::ConnectionPoint<ISqlCompEvents> events_;
};

}  // namespace morva::sql
