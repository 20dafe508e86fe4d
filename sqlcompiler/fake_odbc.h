#pragma once
// A scripted ODBC driver manager for tests: a catalogue of tables with columns and keys, and
// switches for failures that real drivers do not readily produce. It records the calls made.

#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "sqlcompiler/odbc_api.h"

namespace morva::sql::testing {

struct FakeColumn {
    FakeColumn(std::string n, int16_t code = SQL_INTEGER, std::string type = "INTEGER",
               int32_t p = 10, int32_t len = 4, int16_t sc = 0,
               std::optional<std::string> r = std::nullopt)
        : name(std::move(n)),
          typeCode(code),
          typeName(std::move(type)),
          precision(p),
          length(len),
          scale(sc),
          remarks(std::move(r)) {}
    std::string name;
    int16_t typeCode = SQL_INTEGER;
    std::string typeName = "INTEGER";
    int32_t precision = 10;
    int32_t length = 4;
    int16_t scale = 0;
    std::optional<std::string> remarks;  // absent: a NULL value
};

struct FakeForeignKey {
    std::string masterTable;
    std::string masterColumn;
    std::string localColumn;
};

struct FakeTable {
    std::string name;
    std::vector<FakeColumn> columns;
    std::vector<std::string> primaryKey;
    std::vector<FakeForeignKey> foreignKeys;
};

class FakeOdbc : public OdbcApi {
  public:
    // The catalogue and the switches; set them before the link is made.
    std::vector<FakeTable> tables;
    std::vector<std::string> dataSources;
    bool failAllocEnv = false;
    bool failAllocConnect = false;
    SQLRETURN connectResult = SQL_SUCCESS;
    SQLRETURN tablesResult = SQL_SUCCESS;
    SQLRETURN columnsResult = SQL_SUCCESS;
    int failAllocStmtAt = -1;  // the n-th statement allocation (from 0) fails
    bool supportsPrimaryKeys = true;
    std::string diagnosticState = "HY000";
    std::string diagnosticMessage = "fake failure";

    // What happened.
    std::vector<std::string> calls;
    std::string connectedDsn, connectedUser, connectedPassword;
    int statementsAllocated = 0;
    int statementsOpen = 0;

    SQLRETURN AllocEnv(SQLHENV* env) override;
    SQLRETURN AllocConnect(SQLHENV env, SQLHDBC* dbc) override;
    SQLRETURN SetConnectOption(SQLHDBC dbc, SQLUSMALLINT option, SQLULEN value) override;
    SQLRETURN Connect(SQLHDBC dbc, SQLCHAR* dsn, SQLSMALLINT dsnLength, SQLCHAR* user,
                      SQLSMALLINT userLength, SQLCHAR* password,
                      SQLSMALLINT passwordLength) override;
    SQLRETURN GetFunctions(SQLHDBC dbc, SQLUSMALLINT function, SQLUSMALLINT* supported) override;
    SQLRETURN DataSources(SQLHENV env, SQLUSMALLINT direction, SQLCHAR* name, SQLSMALLINT nameMax,
                          SQLSMALLINT* nameLength, SQLCHAR* description, SQLSMALLINT descriptionMax,
                          SQLSMALLINT* descriptionLength) override;
    SQLRETURN AllocStmt(SQLHDBC dbc, SQLHSTMT* stmt) override;
    SQLRETURN Tables(SQLHSTMT stmt, SQLCHAR* catalog, SQLSMALLINT catalogLength, SQLCHAR* schema,
                     SQLSMALLINT schemaLength, SQLCHAR* table, SQLSMALLINT tableLength,
                     SQLCHAR* types, SQLSMALLINT typesLength) override;
    SQLRETURN Columns(SQLHSTMT stmt, SQLCHAR* catalog, SQLSMALLINT catalogLength, SQLCHAR* schema,
                      SQLSMALLINT schemaLength, SQLCHAR* table, SQLSMALLINT tableLength,
                      SQLCHAR* column, SQLSMALLINT columnLength) override;
    SQLRETURN PrimaryKeys(SQLHSTMT stmt, SQLCHAR* catalog, SQLSMALLINT catalogLength,
                          SQLCHAR* schema, SQLSMALLINT schemaLength, SQLCHAR* table,
                          SQLSMALLINT tableLength) override;
    SQLRETURN ForeignKeys(SQLHSTMT stmt, SQLCHAR* pkCatalog, SQLSMALLINT pkCatalogLength,
                          SQLCHAR* pkSchema, SQLSMALLINT pkSchemaLength, SQLCHAR* pkTable,
                          SQLSMALLINT pkTableLength, SQLCHAR* fkCatalog,
                          SQLSMALLINT fkCatalogLength, SQLCHAR* fkSchema,
                          SQLSMALLINT fkSchemaLength, SQLCHAR* fkTable,
                          SQLSMALLINT fkTableLength) override;
    SQLRETURN BindCol(SQLHSTMT stmt, SQLUSMALLINT column, SQLSMALLINT targetType, SQLPOINTER target,
                      SQLLEN targetMax, SQLLEN* indicator) override;
    SQLRETURN Fetch(SQLHSTMT stmt) override;
    SQLRETURN FreeStmt(SQLHSTMT stmt, SQLUSMALLINT option) override;
    SQLRETURN Error(SQLHENV env, SQLHDBC dbc, SQLHSTMT stmt, SQLCHAR* state,
                    SQLINTEGER* nativeError, SQLCHAR* message, SQLSMALLINT messageMax,
                    SQLSMALLINT* messageLength) override;
    SQLRETURN Disconnect(SQLHDBC dbc) override;
    SQLRETURN FreeConnect(SQLHDBC dbc) override;
    SQLRETURN FreeEnv(SQLHENV env) override;

  private:
    using Value = std::optional<std::variant<std::string, int32_t>>;
    using Row = std::map<int, Value>;
    struct Binding {
        SQLSMALLINT type;
        SQLPOINTER target;
        SQLLEN max;
        SQLLEN* indicator;
    };
    struct Statement {
        std::vector<Row> rows;
        size_t next = 0;
        std::map<int, Binding> bindings;
    };
    const FakeTable* Find(const std::string& name) const;

    int env_ = 0, dbc_ = 0;
    std::map<int, Statement> statements_;
    int nextStatement_ = 1;
    size_t nextDataSource_ = 0;
};

}  // namespace morva::sql::testing
