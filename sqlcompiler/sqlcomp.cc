#include "sqlcompiler/sqlcomp.h"

#include <new>

#include "component/message_box.h"
#include "component/text_util.h"
#include "sqlcompiler/messages.h"
#include "sqlcompiler/script_reader.h"
#include "sqlcompiler/table_writer.h"

namespace morva::sql {

ProcessState& Process() {
    static ProcessState state;
    return state;
}

// Records the component for the length of one method call and routes the compilation's
// message lines to its sinks; releases the model when the call ends.
class SqlComp::Running {
  public:
    explicit Running(SqlComp& component) : state_(Process()) {
        state_.running = &component;
        state_.compilation.SetReporter([&component](int32_t line, const std::string& text) {
            component.events_.Fire([&](ISqlCompEvents& sink) { sink.OnError(line, text); });
        });
    }
    ~Running() {
        state_.compilation.model().Clear();
        state_.compilation.SetReporter(nullptr);
        state_.running = nullptr;
    }

  private:
    ProcessState& state_;
};

SqlComp::SqlComp() : SqlComp(MakeDriverManagerApi()) {}

SqlComp::SqlComp(std::unique_ptr<OdbcApi> api) : link_(std::move(api)) {}

HRESULT SqlComp::GenerateBy(const BStr& dbPath, const BStr& sqlPath) {
    // A sink calling back from inside an event must not start a second run over the state.
    if (Process().running) return com::E_UNEXPECTED;
    Compilation& c = Process().compilation;
    c.ResetCompilation(sqlPath.value_or(""));
    c.dialect = dialect_;
    Running running(*this);
    try {
        if (CompileScript(c)) WriteTables(c, dbPath.value_or(""));
    } catch (const std::bad_alloc&) {
        c.ReportMemoryError();
    }
    return com::S_OK;
}

HRESULT SqlComp::GetDataSources() {
    link_.ListDataSources();
    for (const std::string& name : link_.dataSources())
        events_.Fire([&](ISqlCompEvents& sink) { sink.OnWarning(name); });
    events_.Fire([](ISqlCompEvents& sink) { sink.OnWarning(std::string()); });
    return com::S_OK;
}

HRESULT SqlComp::GenerateFromODBCBy(const BStr& DataSourceName, const BStr& UserID,
                                    const BStr& Passwd, const BStr& dbPath) {
    if (Process().running) return com::E_UNEXPECTED;
    Compilation& c = Process().compilation;
    c.ResetCompilation("");
    c.dialect = Dialect::kClassic;
    Running running(*this);
    std::string dsn = DataSourceName.value_or("");
    try {
        if (!link_.ReadCatalogue(c, dsn, UserID.value_or(""), Passwd.value_or("")))
            return com::S_OK;
        WriteTables(c, dbPath.value_or(""));
        int32_t count = static_cast<int32_t>(c.model().tables.size());
        std::string text = msg::kOdbcDone;
        text.replace(text.find("%s"), 2, dsn);
        text.replace(text.find("%d"), 2, std::to_string(count));
        com::ShowMessageBox(text, msg::kOdbcDoneCaption, com::MbIcon::None, com::MbButtons::Ok);
    } catch (const std::bad_alloc&) {
        c.ReportMemoryError();
    }
    return com::S_OK;
}

HRESULT SqlComp::SetDialect(const BStr& dialect) {
    std::string name = dialect.value_or("");
    if (com::EqualsIgnoreCase(name, "classic")) {
        dialect_ = Dialect::kClassic;
    } else if (com::EqualsIgnoreCase(name, "auto")) {
        dialect_ = Dialect::kAuto;
    } else {
        return com::E_INVALIDARG;
    }
    return com::S_OK;
}

void SqlComp::WriteTables(Compilation& c, const std::string& dbPath) {
    const auto& tables = c.model().tables;
    c.ReportLine(msg::kTablesDetected, static_cast<int>(tables.size()));
    // One batch, so that the files are synced once for the whole database, not once each.
    TableFileBatch batch(dbPath);
    std::string error;
    for (const auto& table : tables) {
        c.ReportLine(msg::kTableName, table->name.c_str());
        if (!batch.Add(table->name, EncodeTable(*table), &error)) c.ReportLine("%s", msg::kFail);
    }
    if (!batch.Commit(&error)) c.ReportLine("%s", msg::kFail);
}

HRESULT SqlComp::Invoke(int32_t dispId, const std::vector<com::Variant>& args,
                        com::Variant* result) {
    if (result) *result = std::monostate{};
    // Strings may arrive as null (nothing); anything else is a type mismatch.
    BStr texts[4];
    for (size_t i = 0; i < args.size() && i < 4; ++i) {
        if (const auto* s = std::get_if<std::string>(&args[i])) {
            texts[i] = *s;
        } else if (!std::holds_alternative<std::monostate>(args[i])) {
            return com::DISP_E_TYPEMISMATCH;
        }
    }
    switch (dispId) {
        case kDispGenerateBy:
            if (args.size() != 2) return com::DISP_E_BADPARAMCOUNT;
            return GenerateBy(texts[0], texts[1]);
        case kDispGetDataSources:
            if (!args.empty()) return com::DISP_E_BADPARAMCOUNT;
            return GetDataSources();
        case kDispGenerateFromODBCBy:
            if (args.size() != 4) return com::DISP_E_BADPARAMCOUNT;
            return GenerateFromODBCBy(texts[0], texts[1], texts[2], texts[3]);
        case kDispSetDialect:
            if (args.size() != 1) return com::DISP_E_BADPARAMCOUNT;
            return SetDialect(texts[0]);
    }
    return com::DISP_E_MEMBERNOTFOUND;
}

HRESULT SqlComp::Advise(com::IUnknown* sink, uint32_t* cookie) {
    return events_.Advise(sink, cookie);
}

HRESULT SqlComp::Unadvise(uint32_t cookie) {
    return events_.Unadvise(cookie);
}

}  // namespace morva::sql
