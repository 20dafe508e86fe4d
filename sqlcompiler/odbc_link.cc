#include "sqlcompiler/odbc_link.h"

#include <cstring>

#include "component/message_box.h"
#include "component/text_util.h"
#include "sqlcompiler/messages.h"

namespace morva::sql {
namespace {

// Buffer sizes; a driver cuts a longer value to the size less one.
constexpr SQLSMALLINT kDataSourceBytes = 32;
constexpr SQLSMALLINT kDescriptionBytes = 255;
constexpr SQLLEN kNameBytes = 129;
constexpr SQLLEN kKeyTableBytes = 35;
constexpr SQLLEN kKeyColumnBytes = 30;
constexpr SQLSMALLINT kDiagnosticBytes = 511;
constexpr SQLUSMALLINT kLoginTimeoutSeconds = 15;

void ShowOdbcBox(const std::string& text) {
    com::ShowMessageBox(text, msg::kOdbcCaption, com::MbIcon::Stop, com::MbButtons::Ok);
}

bool Succeeded(SQLRETURN r) {
    return r == SQL_SUCCESS || r == SQL_SUCCESS_WITH_INFO;
}

SQLCHAR* Text(std::string& s) {
    return reinterpret_cast<SQLCHAR*>(s.data());
}

std::string FromBuffer(const char* buffer) {
    return std::string(buffer);
}

}  // namespace

OdbcLink::OdbcLink(std::unique_ptr<OdbcApi> api) : api_(std::move(api)) {
    if (!Succeeded(api_->AllocEnv(&env_))) {
        env_ = SQL_NULL_HENV;
        return;
    }
    if (!Succeeded(api_->AllocConnect(env_, &dbc_))) {
        dbc_ = SQL_NULL_HDBC;
        api_->FreeEnv(env_);
        env_ = SQL_NULL_HENV;
        return;
    }
    api_->SetConnectOption(dbc_, SQL_LOGIN_TIMEOUT, kLoginTimeoutSeconds);
    available_ = true;
}

OdbcLink::~OdbcLink() {
    if (!available_) return;
    api_->FreeConnect(dbc_);
    api_->FreeEnv(env_);
}

void OdbcLink::ListDataSources() {
    dataSources_.clear();
    if (!available_) {
        ShowOdbcBox(msg::kOdbcNoDriver);
        return;
    }
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    for (;;) {
        char name[kDataSourceBytes] = {};
        char description[kDescriptionBytes] = {};
        SQLSMALLINT nameLength = 0, descriptionLength = 0;
        SQLRETURN r = api_->DataSources(
            env_, direction, reinterpret_cast<SQLCHAR*>(name), kDataSourceBytes, &nameLength,
            reinterpret_cast<SQLCHAR*>(description), kDescriptionBytes, &descriptionLength);
        if (r == SQL_ERROR || r == SQL_NO_DATA || r == SQL_INVALID_HANDLE) {
            if (direction == SQL_FETCH_FIRST) ShowOdbcBox(msg::kOdbcNoDataSources);
            return;
        }
        name[kDataSourceBytes - 1] = '\0';
        dataSources_.push_back(FromBuffer(name));
        direction = SQL_FETCH_NEXT;
    }
}

bool OdbcLink::ReadCatalogue(Compilation& compilation, const std::string& dataSource,
                             const std::string& user, const std::string& password) {
    if (!available_) {
        ShowOdbcBox(msg::kOdbcNotAvailable);
        return false;
    }
    dataSource_ = dataSource;
    // The password lives only in this local copy, which is wiped before it goes.
    std::string dsn = dataSource, uid = user, pwd = password;
    SQLRETURN r = api_->Connect(dbc_, Text(dsn), SQL_NTS, Text(uid), SQL_NTS, Text(pwd), SQL_NTS);
    std::memset(pwd.data(), 0, pwd.size());
    if (!Succeeded(r)) {
        ShowDiagnostic();
        return false;
    }
    SQLUSMALLINT functions[100] = {};
    api_->GetFunctions(dbc_, SQL_API_ALL_FUNCTIONS, functions);
    primaryKeysSupported_ = functions[SQL_API_SQLPRIMARYKEYS] != 0;

    bool ok = TablesStep(compilation);
    for (size_t i = 0; ok && i < compilation.model().tables.size(); ++i)
        ok = ColumnsStep(*compilation.model().tables[i]);
    if (ok && primaryKeysSupported_) {
        for (size_t i = 0; ok && i < compilation.model().tables.size(); ++i)
            ok = KeysStep(compilation, *compilation.model().tables[i]);
    }
    api_->Disconnect(dbc_);
    return ok;
}

bool OdbcLink::AllocStatement() {
    if (Succeeded(api_->AllocStmt(dbc_, &stmt_))) return true;
    stmt_ = SQL_NULL_HSTMT;
    ShowOdbcBox(msg::kOdbcNoStatement);
    return false;
}

void OdbcLink::DropStatement(bool reportFailure) {
    SQLRETURN r = api_->FreeStmt(stmt_, SQL_DROP);
    stmt_ = SQL_NULL_HSTMT;
    if (reportFailure && !Succeeded(r)) ShowOdbcBox(msg::kOdbcCannotClose);
}

void OdbcLink::ShowDiagnostic() {
    char state[6] = {};
    char message[kDiagnosticBytes] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    api_->Error(env_, dbc_, stmt_, reinterpret_cast<SQLCHAR*>(state), &native,
                reinterpret_cast<SQLCHAR*>(message), kDiagnosticBytes, &length);
    state[5] = '\0';
    message[kDiagnosticBytes - 1] = '\0';
    ShowOdbcBox(FromBuffer(state) + ": " + FromBuffer(message));
}

bool OdbcLink::TablesStep(Compilation& compilation) {
    if (dataSource_.empty()) return false;
    if (!AllocStatement()) return false;
    std::string types = "TABLE,VIEW";
    if (api_->Tables(stmt_, nullptr, 0, nullptr, 0, nullptr, 0, Text(types), SQL_NTS) !=
        SQL_SUCCESS) {
        ShowDiagnostic();
        DropStatement(false);
        return false;
    }
    char name[kNameBytes];
    SQLLEN nameIndicator = 0;
    api_->BindCol(stmt_, 3, SQL_C_CHAR, name, kNameBytes, &nameIndicator);
    for (;;) {
        // A NULL value leaves the buffer untouched: start every row from an empty one so that
        // no value of the previous row is taken again.
        name[0] = '\0';
        if (!Succeeded(api_->Fetch(stmt_))) break;
        name[kNameBytes - 1] = '\0';
        if (!compilation.AppendTable(name, name)) {
            ShowOdbcBox(msg::kMemoryText);
            break;
        }
    }
    DropStatement(true);
    return true;
}

bool OdbcLink::ColumnsStep(TableDef& table) {
    if (!AllocStatement()) return false;
    std::string tableName = table.name;
    if (api_->Columns(stmt_, nullptr, 0, nullptr, 0, Text(tableName), SQL_NTS, nullptr, 0) !=
        SQL_SUCCESS) {
        ShowDiagnostic();
        DropStatement(false);
        return false;
    }
    char name[kNameBytes], typeName[kNameBytes], remarks[kNameBytes];
    SQLSMALLINT typeCode = 0, scale = 0;
    SQLINTEGER precision = 0, length = 0;
    SQLLEN indicators[7] = {};
    api_->BindCol(stmt_, 4, SQL_C_CHAR, name, kNameBytes, &indicators[0]);
    api_->BindCol(stmt_, 5, SQL_C_SSHORT, &typeCode, 0, &indicators[1]);
    api_->BindCol(stmt_, 6, SQL_C_CHAR, typeName, kNameBytes, &indicators[2]);
    api_->BindCol(stmt_, 7, SQL_C_SLONG, &precision, 0, &indicators[3]);
    api_->BindCol(stmt_, 8, SQL_C_SLONG, &length, 0, &indicators[4]);
    api_->BindCol(stmt_, 9, SQL_C_SSHORT, &scale, 0, &indicators[5]);
    api_->BindCol(stmt_, 12, SQL_C_CHAR, remarks, kNameBytes, &indicators[6]);
    for (;;) {
        name[0] = typeName[0] = remarks[0] = '\0';
        typeCode = scale = 0;
        precision = length = 0;
        if (!Succeeded(api_->Fetch(stmt_))) break;
        name[kNameBytes - 1] = typeName[kNameBytes - 1] = remarks[kNameBytes - 1] = '\0';
        ColumnDef* column = nullptr;
        try {
            auto made = std::make_unique<ColumnDef>();
            column = made.get();
            table.columns.push_back(std::move(made));
        } catch (const std::bad_alloc&) {
            ShowOdbcBox(msg::kMemoryText);
            break;
        }
        column->name = com::ToUpperAscii(name);
        column->label = remarks[0] ? remarks : name;
        uint16_t code = static_cast<uint16_t>(typeCode);
        bool keepsScale = code == SQL_NUMERIC || code == SQL_DECIMAL || code == SQL_FLOAT ||
                          code == SQL_REAL || code == SQL_DOUBLE;
        column->dataType = typeName;
        column->length = length;
        column->precision = precision;
        column->scale = keepsScale ? scale : 0;
    }
    DropStatement(true);
    return true;
}

bool OdbcLink::KeysStep(Compilation& compilation, TableDef& table) {
    if (!AllocStatement()) return false;
    char masterTable[kKeyTableBytes], masterColumn[kKeyColumnBytes];
    char foreignTable[kKeyTableBytes], localColumn[kKeyColumnBytes];
    SQLLEN indicators[4] = {};
    api_->BindCol(stmt_, 3, SQL_C_CHAR, masterTable, kKeyTableBytes, &indicators[0]);
    api_->BindCol(stmt_, 4, SQL_C_CHAR, masterColumn, kKeyColumnBytes, &indicators[1]);
    api_->BindCol(stmt_, 7, SQL_C_CHAR, foreignTable, kKeyTableBytes, &indicators[2]);
    api_->BindCol(stmt_, 8, SQL_C_CHAR, localColumn, kKeyColumnBytes, &indicators[3]);
    auto clear = [&] {
        masterTable[0] = masterColumn[0] = foreignTable[0] = localColumn[0] = '\0';
    };
    auto terminate = [&] {
        masterTable[kKeyTableBytes - 1] = foreignTable[kKeyTableBytes - 1] = '\0';
        masterColumn[kKeyColumnBytes - 1] = localColumn[kKeyColumnBytes - 1] = '\0';
    };

    std::string tableName = table.name;
    if (Succeeded(api_->PrimaryKeys(stmt_, nullptr, 0, nullptr, 0, Text(tableName), SQL_NTS))) {
        for (clear(); Succeeded(api_->Fetch(stmt_)); clear()) {
            terminate();
            if (ColumnDef* column = table.FindColumn(masterColumn)) column->MarkKey();
        }
    }
    api_->FreeStmt(stmt_, SQL_CLOSE);
    if (Succeeded(api_->ForeignKeys(stmt_, nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0, nullptr,
                                    0, Text(tableName), SQL_NTS))) {
        for (clear(); Succeeded(api_->Fetch(stmt_)); clear()) {
            terminate();
            compilation.AddCatalogueReference(table, masterTable, masterColumn, localColumn);
        }
    }
    DropStatement(false);
    return true;
}

}  // namespace morva::sql
