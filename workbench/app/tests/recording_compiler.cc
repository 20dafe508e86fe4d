// A stand-in for the compiler component that records its calls and raises the events a real
// compilation would. GenerateBy(db, file) reports, for the file's base name B: before compile,
// the error "error in B" (line 7), a warning, one table detected, table "T_B" generated, and
// "Fail" for it when B contains "badtable"; it returns E_FAIL when B contains "fail".
// GetDataSources reports every "source" value, the empty end mark, then one late warning.

#include <array>
#include <map>

#include "component/module.h"
#include "sqlcompiler/isqlcomp.h"
#include "workbench/app/tests/recorder.h"

namespace morva::testing {
namespace {

using com::HRESULT;
using sql::BStr;

std::string Text(const BStr& s) {
    return s ? *s : "<null>";
}

class RecordingCompiler : public com::Object<sql::ISqlComp, com::IConnectionPoint, IRecorder> {
  public:
    std::vector<std::string> Calls() override { return calls_; }
    void ForgetCalls() override { calls_.clear(); }
    void Set(const std::string& key, const std::string& value) override {
        settings_[key].push_back(value);
    }

    HRESULT GenerateBy(const BStr& dbPath, const BStr& sqlPath) override {
        calls_.push_back("GenerateBy(" + Text(dbPath) + "|" + Text(sqlPath) + ")");
        const std::string path = Text(sqlPath);
        const std::string base = path.substr(path.find_last_of('/') + 1);
        events_.Fire([&](sql::ISqlCompEvents& s) {
            s.OnBeforeCompile();
            s.OnError(7, "error in " + base);
            s.OnWarning(std::string("warning"));
            s.OnAfterCompile(1);
            s.OnBeforeGenerateTable("T_" + base);
            s.OnAfterGenerateTable(base.find("badtable") != std::string::npos ? 3 : 0);
        });
        return base.find("fail") != std::string::npos ? com::E_FAIL : com::S_OK;
    }
    HRESULT SetDialect(const BStr& dialect) override {
        calls_.push_back("SetDialect(" + Text(dialect) + ")");
        return com::S_OK;
    }
    HRESULT GetDataSources() override {
        calls_.push_back("GetDataSources()");
        events_.Fire([&](sql::ISqlCompEvents& s) {
            for (const std::string& name : settings_["source"]) s.OnWarning(name);
            s.OnWarning(std::string());
            s.OnWarning(std::string("late"));
        });
        return com::S_OK;
    }
    HRESULT GenerateFromODBCBy(const BStr& dsn, const BStr& user, const BStr& password,
                               const BStr& dbPath) override {
        calls_.push_back("GenerateFromODBCBy(" + Text(dsn) + "|" + Text(user) + "|" +
                         Text(password) + "|" + Text(dbPath) + ")");
        return com::S_OK;
    }
    HRESULT Invoke(int32_t, const std::vector<com::Variant>&, com::Variant*) override {
        return com::DISP_E_MEMBERNOTFOUND;
    }
    HRESULT Advise(com::IUnknown* sink, uint32_t* cookie) override {
        return events_.Advise(sink, cookie);
    }
    HRESULT Unadvise(uint32_t cookie) override { return events_.Unadvise(cookie); }

  private:
    std::vector<std::string> calls_;
    std::map<std::string, std::vector<std::string>> settings_;
    com::ConnectionPoint<sql::ISqlCompEvents> events_;
};

HRESULT Create(const com::Guid& iid, void** out) {
    auto* object = new RecordingCompiler;
    object->AddRef();
    HRESULT hr = object->QueryInterface(iid, out);
    object->Release();
    return hr;
}

std::span<const com::ClassInfo> Classes() {
    static const std::array<com::ClassInfo, 1> classes{
        {{sql::kSqlCompClsid, "SqlCompiler.Recording.1", "SqlCompiler.Recording",
          "Recording compiler", sql::kSqlCompilerTypeLib, "1.0", true, "131473", &Create}}};
    return classes;
}

}  // namespace
}  // namespace morva::testing

MORVA_COMPONENT_ENTRY_POINTS(morva::testing::Classes)
