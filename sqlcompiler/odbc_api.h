#pragma once
// The ODBC 2 calls the compiler makes, behind an interface so that tests can stand in a fake
// driver manager for what real drivers cannot easily produce.

#include <sql.h>
#include <sqlext.h>

#include <memory>

namespace morva::sql {

class OdbcApi {
  public:
    virtual ~OdbcApi() = default;

    virtual SQLRETURN AllocEnv(SQLHENV* env) = 0;
    virtual SQLRETURN AllocConnect(SQLHENV env, SQLHDBC* dbc) = 0;
    virtual SQLRETURN SetConnectOption(SQLHDBC dbc, SQLUSMALLINT option, SQLULEN value) = 0;
    virtual SQLRETURN Connect(SQLHDBC dbc, SQLCHAR* dsn, SQLSMALLINT dsnLength, SQLCHAR* user,
                              SQLSMALLINT userLength, SQLCHAR* password,
                              SQLSMALLINT passwordLength) = 0;
    virtual SQLRETURN GetFunctions(SQLHDBC dbc, SQLUSMALLINT function, SQLUSMALLINT* supported) = 0;
    virtual SQLRETURN DataSources(SQLHENV env, SQLUSMALLINT direction, SQLCHAR* name,
                                  SQLSMALLINT nameMax, SQLSMALLINT* nameLength,
                                  SQLCHAR* description, SQLSMALLINT descriptionMax,
                                  SQLSMALLINT* descriptionLength) = 0;
    virtual SQLRETURN AllocStmt(SQLHDBC dbc, SQLHSTMT* stmt) = 0;
    virtual SQLRETURN Tables(SQLHSTMT stmt, SQLCHAR* catalog, SQLSMALLINT catalogLength,
                             SQLCHAR* schema, SQLSMALLINT schemaLength, SQLCHAR* table,
                             SQLSMALLINT tableLength, SQLCHAR* types, SQLSMALLINT typesLength) = 0;
    virtual SQLRETURN Columns(SQLHSTMT stmt, SQLCHAR* catalog, SQLSMALLINT catalogLength,
                              SQLCHAR* schema, SQLSMALLINT schemaLength, SQLCHAR* table,
                              SQLSMALLINT tableLength, SQLCHAR* column,
                              SQLSMALLINT columnLength) = 0;
    virtual SQLRETURN PrimaryKeys(SQLHSTMT stmt, SQLCHAR* catalog, SQLSMALLINT catalogLength,
                                  SQLCHAR* schema, SQLSMALLINT schemaLength, SQLCHAR* table,
                                  SQLSMALLINT tableLength) = 0;
    virtual SQLRETURN ForeignKeys(SQLHSTMT stmt, SQLCHAR* pkCatalog, SQLSMALLINT pkCatalogLength,
                                  SQLCHAR* pkSchema, SQLSMALLINT pkSchemaLength, SQLCHAR* pkTable,
                                  SQLSMALLINT pkTableLength, SQLCHAR* fkCatalog,
                                  SQLSMALLINT fkCatalogLength, SQLCHAR* fkSchema,
                                  SQLSMALLINT fkSchemaLength, SQLCHAR* fkTable,
                                  SQLSMALLINT fkTableLength) = 0;
    virtual SQLRETURN BindCol(SQLHSTMT stmt, SQLUSMALLINT column, SQLSMALLINT targetType,
                              SQLPOINTER target, SQLLEN targetMax, SQLLEN* indicator) = 0;
    virtual SQLRETURN Fetch(SQLHSTMT stmt) = 0;
    virtual SQLRETURN FreeStmt(SQLHSTMT stmt, SQLUSMALLINT option) = 0;
    virtual SQLRETURN Error(SQLHENV env, SQLHDBC dbc, SQLHSTMT stmt, SQLCHAR* state,
                            SQLINTEGER* nativeError, SQLCHAR* message, SQLSMALLINT messageMax,
                            SQLSMALLINT* messageLength) = 0;
    virtual SQLRETURN Disconnect(SQLHDBC dbc) = 0;
    virtual SQLRETURN FreeConnect(SQLHDBC dbc) = 0;
    virtual SQLRETURN FreeEnv(SQLHENV env) = 0;
};

/// The system's ODBC driver manager.
std::unique_ptr<OdbcApi> MakeDriverManagerApi();

}  // namespace morva::sql
