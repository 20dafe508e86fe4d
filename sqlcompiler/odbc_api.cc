#include "sqlcompiler/odbc_api.h"

namespace morva::sql {
namespace {

// Each call goes straight to the driver manager.
class DriverManagerApi : public OdbcApi {
  public:
    SQLRETURN AllocEnv(SQLHENV* env) override { return SQLAllocEnv(env); }
    SQLRETURN AllocConnect(SQLHENV env, SQLHDBC* dbc) override { return SQLAllocConnect(env, dbc); }
    SQLRETURN SetConnectOption(SQLHDBC dbc, SQLUSMALLINT option, SQLULEN value) override {
        return SQLSetConnectOption(dbc, option, value);
    }
    SQLRETURN Connect(SQLHDBC dbc, SQLCHAR* dsn, SQLSMALLINT dsnLength, SQLCHAR* user,
                      SQLSMALLINT userLength, SQLCHAR* password,
                      SQLSMALLINT passwordLength) override {
        return SQLConnect(dbc, dsn, dsnLength, user, userLength, password, passwordLength);
    }
    SQLRETURN GetFunctions(SQLHDBC dbc, SQLUSMALLINT function, SQLUSMALLINT* supported) override {
        return SQLGetFunctions(dbc, function, supported);
    }
    SQLRETURN DataSources(SQLHENV env, SQLUSMALLINT direction, SQLCHAR* name, SQLSMALLINT nameMax,
                          SQLSMALLINT* nameLength, SQLCHAR* description, SQLSMALLINT descriptionMax,
                          SQLSMALLINT* descriptionLength) override {
        return SQLDataSources(env, direction, name, nameMax, nameLength, description,
                              descriptionMax, descriptionLength);
    }
    SQLRETURN AllocStmt(SQLHDBC dbc, SQLHSTMT* stmt) override { return SQLAllocStmt(dbc, stmt); }
    SQLRETURN Tables(SQLHSTMT stmt, SQLCHAR* catalog, SQLSMALLINT catalogLength, SQLCHAR* schema,
                     SQLSMALLINT schemaLength, SQLCHAR* table, SQLSMALLINT tableLength,
                     SQLCHAR* types, SQLSMALLINT typesLength) override {
        return SQLTables(stmt, catalog, catalogLength, schema, schemaLength, table, tableLength,
                         types, typesLength);
    }
    SQLRETURN Columns(SQLHSTMT stmt, SQLCHAR* catalog, SQLSMALLINT catalogLength, SQLCHAR* schema,
                      SQLSMALLINT schemaLength, SQLCHAR* table, SQLSMALLINT tableLength,
                      SQLCHAR* column, SQLSMALLINT columnLength) override {
        return SQLColumns(stmt, catalog, catalogLength, schema, schemaLength, table, tableLength,
                          column, columnLength);
    }
    SQLRETURN PrimaryKeys(SQLHSTMT stmt, SQLCHAR* catalog, SQLSMALLINT catalogLength,
                          SQLCHAR* schema, SQLSMALLINT schemaLength, SQLCHAR* table,
                          SQLSMALLINT tableLength) override {
        return SQLPrimaryKeys(stmt, catalog, catalogLength, schema, schemaLength, table,
                              tableLength);
    }
    SQLRETURN ForeignKeys(SQLHSTMT stmt, SQLCHAR* pkCatalog, SQLSMALLINT pkCatalogLength,
                          SQLCHAR* pkSchema, SQLSMALLINT pkSchemaLength, SQLCHAR* pkTable,
                          SQLSMALLINT pkTableLength, SQLCHAR* fkCatalog,
                          SQLSMALLINT fkCatalogLength, SQLCHAR* fkSchema,
                          SQLSMALLINT fkSchemaLength, SQLCHAR* fkTable,
                          SQLSMALLINT fkTableLength) override {
        return SQLForeignKeys(stmt, pkCatalog, pkCatalogLength, pkSchema, pkSchemaLength, pkTable,
                              pkTableLength, fkCatalog, fkCatalogLength, fkSchema, fkSchemaLength,
                              fkTable, fkTableLength);
    }
    SQLRETURN BindCol(SQLHSTMT stmt, SQLUSMALLINT column, SQLSMALLINT targetType, SQLPOINTER target,
                      SQLLEN targetMax, SQLLEN* indicator) override {
        return SQLBindCol(stmt, column, targetType, target, targetMax, indicator);
    }
    SQLRETURN Fetch(SQLHSTMT stmt) override { return SQLFetch(stmt); }
    SQLRETURN FreeStmt(SQLHSTMT stmt, SQLUSMALLINT option) override {
        return SQLFreeStmt(stmt, option);
    }
    SQLRETURN Error(SQLHENV env, SQLHDBC dbc, SQLHSTMT stmt, SQLCHAR* state,
                    SQLINTEGER* nativeError, SQLCHAR* message, SQLSMALLINT messageMax,
                    SQLSMALLINT* messageLength) override {
        return SQLError(env, dbc, stmt, state, nativeError, message, messageMax, messageLength);
    }
    SQLRETURN Disconnect(SQLHDBC dbc) override { return SQLDisconnect(dbc); }
    SQLRETURN FreeConnect(SQLHDBC dbc) override { return SQLFreeConnect(dbc); }
    SQLRETURN FreeEnv(SQLHENV env) override { return SQLFreeEnv(env); }
};

}  // namespace

std::unique_ptr<OdbcApi> MakeDriverManagerApi() {
    return std::make_unique<DriverManagerApi>();
}

}  // namespace morva::sql
