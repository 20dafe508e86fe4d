#pragma once
// Reading a data source's catalogue (tables and views, columns, primary and foreign keys)
// into the compiler's model, and listing the data sources the driver manager knows.

#include <memory>
#include <string>
#include <vector>

#include "sqlcompiler/compilation.h"
#include "sqlcompiler/odbc_api.h"

namespace morva::sql {

class OdbcLink {
  public:
    /// Allocates the environment and connection handles; the link is available when both
    /// succeed. Failures are reported only when the link is used.
    explicit OdbcLink(std::unique_ptr<OdbcApi> api);
    ~OdbcLink();
    OdbcLink(const OdbcLink&) = delete;
    OdbcLink& operator=(const OdbcLink&) = delete;

    bool available() const { return available_; }
    bool primaryKeysSupported() const { return primaryKeysSupported_; }
    const std::vector<std::string>& dataSources() const { return dataSources_; }

    /// Rebuilds the list of data source names; shows "ODBC Error!" boxes on failure.
    void ListDataSources();
    /// Connects, fills the table list of `compilation` (reset by the caller) and
    /// disconnects. False on failure, after its message box; the caller then writes nothing.
    bool ReadCatalogue(Compilation& compilation, const std::string& dataSource,
                       const std::string& user, const std::string& password);

  private:
    bool TablesStep(Compilation& compilation);
    bool ColumnsStep(TableDef& table);
    bool KeysStep(Compilation& compilation, TableDef& table);
    bool AllocStatement();
    void DropStatement(bool reportFailure);
    void ShowDiagnostic();

    std::unique_ptr<OdbcApi> api_;
    SQLHENV env_ = SQL_NULL_HENV;
    SQLHDBC dbc_ = SQL_NULL_HDBC;
    SQLHSTMT stmt_ = SQL_NULL_HSTMT;
    bool available_ = false;
    bool primaryKeysSupported_ = false;
    std::vector<std::string> dataSources_;
    std::string dataSource_;
};

}  // namespace morva::sql
