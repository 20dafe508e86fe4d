#include "sqlcompiler/fake_odbc.h"

#include <cstring>

namespace morva::sql::testing {
namespace {

std::string Str(SQLCHAR* text, SQLSMALLINT length) {
    if (!text) return "<absent>";
    const char* p = reinterpret_cast<const char*>(text);
    return length == SQL_NTS ? std::string(p) : std::string(p, static_cast<size_t>(length));
}

int Id(void* handle) {
    return static_cast<int>(reinterpret_cast<intptr_t>(handle));
}
void* Handle(int id) {
    return reinterpret_cast<void*>(static_cast<intptr_t>(id));
}

}  // namespace

SQLRETURN FakeOdbc::AllocEnv(SQLHENV* env) {
    calls.push_back("AllocEnv");
    if (failAllocEnv) return SQL_ERROR;
    *env = Handle(++env_);
    return SQL_SUCCESS;
}

SQLRETURN FakeOdbc::AllocConnect(SQLHENV, SQLHDBC* dbc) {
    calls.push_back("AllocConnect");
    if (failAllocConnect) return SQL_ERROR;
    *dbc = Handle(100 + ++dbc_);
    return SQL_SUCCESS;
}

SQLRETURN FakeOdbc::SetConnectOption(SQLHDBC, SQLUSMALLINT option, SQLULEN value) {
    calls.push_back("SetConnectOption " + std::to_string(option) + "=" + std::to_string(value));
    return SQL_SUCCESS;
}

SQLRETURN FakeOdbc::Connect(SQLHDBC, SQLCHAR* dsn, SQLSMALLINT dsnLength, SQLCHAR* user,
                            SQLSMALLINT userLength, SQLCHAR* password, SQLSMALLINT passwordLength) {
    calls.push_back("Connect");
    connectedDsn = Str(dsn, dsnLength);
    connectedUser = Str(user, userLength);
    connectedPassword = Str(password, passwordLength);
    return connectResult;
}

SQLRETURN FakeOdbc::GetFunctions(SQLHDBC, SQLUSMALLINT function, SQLUSMALLINT* supported) {
    calls.push_back("GetFunctions " + std::to_string(function));
    for (int i = 0; i < 100; ++i) supported[i] = SQL_TRUE;
    supported[SQL_API_SQLPRIMARYKEYS] = supportsPrimaryKeys ? SQL_TRUE : SQL_FALSE;
    return SQL_SUCCESS;
}

SQLRETURN FakeOdbc::DataSources(SQLHENV, SQLUSMALLINT direction, SQLCHAR* name, SQLSMALLINT nameMax,
                                SQLSMALLINT* nameLength, SQLCHAR*, SQLSMALLINT, SQLSMALLINT*) {
    calls.push_back(direction == SQL_FETCH_FIRST ? "DataSources first" : "DataSources next");
    if (direction == SQL_FETCH_FIRST) nextDataSource_ = 0;
    if (nextDataSource_ >= dataSources.size()) return SQL_NO_DATA;
    const std::string& s = dataSources[nextDataSource_++];
    size_t n = std::min(s.size(), static_cast<size_t>(nameMax - 1));
    std::memcpy(name, s.data(), n);
    name[n] = '\0';
    *nameLength = static_cast<SQLSMALLINT>(s.size());
    return n < s.size() ? SQL_SUCCESS_WITH_INFO : SQL_SUCCESS;
}

SQLRETURN FakeOdbc::AllocStmt(SQLHDBC, SQLHSTMT* stmt) {
    calls.push_back("AllocStmt");
    if (statementsAllocated++ == failAllocStmtAt) return SQL_ERROR;
    int id = 1000 + nextStatement_++;
    statements_[id] = Statement{};
    ++statementsOpen;
    *stmt = Handle(id);
    return SQL_SUCCESS;
}

const FakeTable* FakeOdbc::Find(const std::string& name) const {
    for (const FakeTable& t : tables)
        if (t.name == name) return &t;  // catalogues here match names exactly
    return nullptr;
}

SQLRETURN FakeOdbc::Tables(SQLHSTMT stmt, SQLCHAR* catalog, SQLSMALLINT catalogLength,
                           SQLCHAR* schema, SQLSMALLINT schemaLength, SQLCHAR* table,
                           SQLSMALLINT tableLength, SQLCHAR* types, SQLSMALLINT typesLength) {
    calls.push_back("Tables " + Str(catalog, catalogLength) + " " + Str(schema, schemaLength) +
                    " " + Str(table, tableLength) + " " + Str(types, typesLength));
    Statement& s = statements_.at(Id(stmt));
    for (const FakeTable& t : tables) s.rows.push_back({{3, t.name}});
    return tablesResult;
}

SQLRETURN FakeOdbc::Columns(SQLHSTMT stmt, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT,
                            SQLCHAR* table, SQLSMALLINT tableLength, SQLCHAR* column, SQLSMALLINT) {
    std::string name = Str(table, tableLength);
    calls.push_back("Columns " + name + (column ? " with pattern" : ""));
    Statement& s = statements_.at(Id(stmt));
    if (const FakeTable* t = Find(name)) {
        for (const FakeColumn& c : t->columns) {
            Row row{{4, c.name},      {5, c.typeCode}, {6, c.typeName},
                    {7, c.precision}, {8, c.length},   {9, c.scale}};
            row[12] = c.remarks ? Value(*c.remarks) : Value();
            s.rows.push_back(row);
        }
    }
    return columnsResult;
}

SQLRETURN FakeOdbc::PrimaryKeys(SQLHSTMT stmt, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT,
                                SQLCHAR* table, SQLSMALLINT tableLength) {
    std::string name = Str(table, tableLength);
    calls.push_back("PrimaryKeys " + name);
    Statement& s = statements_.at(Id(stmt));
    s.rows.clear();
    s.next = 0;
    if (const FakeTable* t = Find(name))
        for (const std::string& c : t->primaryKey) s.rows.push_back({{3, name}, {4, c}});
    return SQL_SUCCESS;
}

SQLRETURN FakeOdbc::ForeignKeys(SQLHSTMT stmt, SQLCHAR* pkCatalog, SQLSMALLINT, SQLCHAR* pkSchema,
                                SQLSMALLINT, SQLCHAR* pkTable, SQLSMALLINT, SQLCHAR*, SQLSMALLINT,
                                SQLCHAR*, SQLSMALLINT, SQLCHAR* fkTable,
                                SQLSMALLINT fkTableLength) {
    std::string name = Str(fkTable, fkTableLength);
    calls.push_back("ForeignKeys " + name +
                    (pkCatalog || pkSchema || pkTable ? " with primary side" : ""));
    Statement& s = statements_.at(Id(stmt));
    s.rows.clear();
    s.next = 0;
    if (const FakeTable* t = Find(name))
        for (const FakeForeignKey& k : t->foreignKeys)
            s.rows.push_back(
                {{3, k.masterTable}, {4, k.masterColumn}, {7, name}, {8, k.localColumn}});
    return SQL_SUCCESS;
}

SQLRETURN FakeOdbc::BindCol(SQLHSTMT stmt, SQLUSMALLINT column, SQLSMALLINT targetType,
                            SQLPOINTER target, SQLLEN targetMax, SQLLEN* indicator) {
    calls.push_back("BindCol " + std::to_string(column) + " type " + std::to_string(targetType) +
                    " size " + std::to_string(targetMax));
    statements_.at(Id(stmt)).bindings[column] = {targetType, target, targetMax, indicator};
    return SQL_SUCCESS;
}

SQLRETURN FakeOdbc::Fetch(SQLHSTMT stmt) {
    Statement& s = statements_.at(Id(stmt));
    if (s.next >= s.rows.size()) return SQL_NO_DATA;
    const Row& row = s.rows[s.next++];
    for (auto& [column, b] : s.bindings) {
        auto it = row.find(column);
        if (it == row.end() || !it->second) {
            // As drivers do: a NULL value sets the indicator and leaves the buffer alone.
            if (b.indicator) *b.indicator = SQL_NULL_DATA;
            continue;
        }
        if (const auto* text = std::get_if<std::string>(&*it->second)) {
            size_t n = std::min(text->size(), static_cast<size_t>(b.max - 1));
            std::memcpy(b.target, text->data(), n);
            static_cast<char*>(b.target)[n] = '\0';
            if (b.indicator) *b.indicator = static_cast<SQLLEN>(text->size());
        } else {
            int32_t v = std::get<int32_t>(*it->second);
            if (b.type == SQL_C_SSHORT)
                *static_cast<int16_t*>(b.target) = static_cast<int16_t>(v);
            else
                *static_cast<int32_t*>(b.target) = v;
            if (b.indicator) *b.indicator = 0;
        }
    }
    return SQL_SUCCESS;
}

SQLRETURN FakeOdbc::FreeStmt(SQLHSTMT stmt, SQLUSMALLINT option) {
    calls.push_back(option == SQL_DROP ? "FreeStmt drop" : "FreeStmt close");
    if (option == SQL_DROP) {
        statements_.erase(Id(stmt));
        --statementsOpen;
    }
    return SQL_SUCCESS;
}

SQLRETURN FakeOdbc::Error(SQLHENV, SQLHDBC, SQLHSTMT, SQLCHAR* state, SQLINTEGER* nativeError,
                          SQLCHAR* message, SQLSMALLINT messageMax, SQLSMALLINT* messageLength) {
    calls.push_back("Error");
    std::memcpy(state, diagnosticState.c_str(), 6);
    *nativeError = 0;
    size_t n = std::min(diagnosticMessage.size(), static_cast<size_t>(messageMax - 1));
    std::memcpy(message, diagnosticMessage.data(), n);
    message[n] = '\0';
    *messageLength = static_cast<SQLSMALLINT>(n);
    return SQL_SUCCESS;
}

SQLRETURN FakeOdbc::Disconnect(SQLHDBC) {
    calls.push_back("Disconnect");
    return SQL_SUCCESS;
}

SQLRETURN FakeOdbc::FreeConnect(SQLHDBC) {
    calls.push_back("FreeConnect");
    return SQL_SUCCESS;
}

SQLRETURN FakeOdbc::FreeEnv(SQLHENV) {
    calls.push_back("FreeEnv");
    return SQL_SUCCESS;
}

}  // namespace morva::sql::testing
