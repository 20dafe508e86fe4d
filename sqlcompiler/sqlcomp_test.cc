#include "sqlcompiler/sqlcomp.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include <dlfcn.h>

#include "component/create.h"
#include "component/message_box.h"
#include "component/testing/message_box_recorder.h"
#include "component/module.h"
#include "component/registry.h"
#include "sqlcompiler/table_file.h"

namespace morva::sql {
namespace {

namespace fs = std::filesystem;

// Records every event as one line: "E line|text" for OnError, "W text" for OnWarning.
class RecordingSink : public com::Object<ISqlCompEvents> {
  public:
    std::vector<std::string> events;
    HRESULT OnError(int32_t lineno, const BStr& errMsg) override {
        events.push_back("E " + std::to_string(lineno) + "|" + errMsg.value_or("<null>"));
        return com::S_OK;
    }
    HRESULT OnWarning(const BStr& errMsg) override {
        events.push_back("W " + errMsg.value_or("<null>"));
        return com::S_OK;
    }
};

using BoxRecorder = com::testing::MessageBoxRecorder;

class TempDir {
  public:
    TempDir() {
        std::string templ = (fs::temp_directory_path() / "sqlcompXXXXXX").string();
        path = mkdtemp(templ.data());
    }
    ~TempDir() { fs::remove_all(path); }
    std::string Write(const std::string& name, const std::string& text) const {
        std::string file = path + "/" + name;
        std::ofstream(file, std::ios::binary) << text;
        return file;
    }
    std::string path;
};

struct Connected {
    com::ComPtr<ISqlComp> comp;
    com::ComPtr<RecordingSink> sink;
    uint32_t cookie = 0;
};

Connected Connect(com::ComPtr<ISqlComp> comp) {
    Connected c{comp, com::MakeObject<RecordingSink>(), 0};
    auto cp = comp.As<com::IConnectionPoint>();
    EXPECT_EQ(cp->Advise(c.sink.get(), &c.cookie), com::S_OK);
    return c;
}

TEST(SqlCompTest, GenerateByReportsInOrderAndWritesEveryTable) {
    TempDir dir;
    fs::create_directory(dir.path + "/db");
    std::string script = dir.Write("two.sql",
                                   "CREATE TABLE A (X INTEGER);\n"
                                   "CREATE TABLE B (Y ==);\n"
                                   "CREATE TABLE C (Z VARCHAR(40));\n");
    auto c = Connect(com::MakeObject<SqlComp, ISqlComp>(MakeDriverManagerApi()));
    EXPECT_EQ(c.comp->GenerateBy(dir.path + "/db", script), com::S_OK);
    EXPECT_EQ(c.sink->events, (std::vector<std::string>{
                                  "E 1|" + script + " compiling...",
                                  "E 2|" + script + "(2): syntax error",
                                  "E 4|1 Errors, 0 Warning",
                                  "E 4|3 table detected.",
                                  "E 4|\tA",
                                  "E 4|\tB",
                                  "E 4|\tC",
                              }));
    TableFile c3;
    std::string error;
    ASSERT_TRUE(ReadTableFile(dir.path + "/db/C", &c3, &error)) << error;
    ASSERT_EQ(c3.columns.size(), 1u);
    EXPECT_EQ(c3.columns[0].label, "Z");
    EXPECT_EQ(c3.columns[0].displayWidth, 40);
    EXPECT_TRUE(fs::exists(dir.path + "/db/B"));
    // The model is released after the call.
    EXPECT_TRUE(Process().compilation.model().tables.empty());
}

TEST(SqlCompTest, MissingScriptGivesOneLineAndWritesNothing) {
    TempDir dir;
    auto c = Connect(com::MakeObject<SqlComp, ISqlComp>(MakeDriverManagerApi()));
    EXPECT_EQ(c.comp->GenerateBy(dir.path, dir.path + "/none.sql"), com::S_OK);
    EXPECT_EQ(c.sink->events, std::vector<std::string>{"E 1|Fatal: Unable to open file " +
                                                       dir.path + "/none.sql\n"});
    EXPECT_TRUE(fs::is_empty(dir.path));
}

TEST(SqlCompTest, UnwritableTablesFailOneByOne) {
    TempDir dir;
    std::string script =
        dir.Write("s.sql", "CREATE TABLE A (X INTEGER); CREATE TABLE B (Y INTEGER);");
    auto c = Connect(com::MakeObject<SqlComp, ISqlComp>(MakeDriverManagerApi()));
    c.comp->GenerateBy(dir.path + "/missing", script);
    std::vector<std::string> tail(c.sink->events.end() - 5, c.sink->events.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"E 1|2 table detected.", "E 1|\tA",
                                              "E 1|*** Fail ***", "E 1|\tB", "E 1|*** Fail ***"}));
    EXPECT_FALSE(fs::exists(dir.path + "/missing"));
}

TEST(SqlCompTest, AFolderIsNoScript) {
    TempDir dir;
    auto c = Connect(com::MakeObject<SqlComp, ISqlComp>(MakeDriverManagerApi()));
    c.comp->GenerateBy(dir.path, dir.path);
    EXPECT_EQ(c.sink->events,
              std::vector<std::string>{"E 1|Fatal: Unable to open file " + dir.path + "\n"});
}

// A sink that calls back into the compiler from inside an event.
class ReentrantSink : public com::Object<ISqlCompEvents> {
  public:
    ISqlComp* comp = nullptr;
    std::vector<HRESULT> nested;
    HRESULT OnError(int32_t, const BStr&) override {
        nested.push_back(comp->GenerateBy(std::string("/tmp"), std::string("/nonexistent.sql")));
        return com::S_OK;
    }
    HRESULT OnWarning(const BStr&) override { return com::S_OK; }
};

TEST(SqlCompTest, NestedCallFromAnEventIsRefused) {
    TempDir dir;
    std::string script = dir.Write("s.sql", "CREATE TABLE T (A INTEGER);");
    auto comp = com::MakeObject<SqlComp, ISqlComp>(MakeDriverManagerApi());
    auto sink = com::MakeObject<ReentrantSink>();
    sink->comp = comp.get();
    uint32_t cookie = 0;
    comp.As<com::IConnectionPoint>()->Advise(sink.get(), &cookie);
    EXPECT_EQ(comp->GenerateBy(dir.path, script), com::S_OK);
    EXPECT_EQ(sink->nested, std::vector<HRESULT>(4, com::E_UNEXPECTED));
    EXPECT_TRUE(fs::exists(dir.path + "/T"));
    comp.As<com::IConnectionPoint>()->Unadvise(cookie);
}

TEST(SqlCompTest, LaterScriptReplacesTableOfSameName) {
    TempDir dir;
    std::string one = dir.Write("1.sql", "CREATE TABLE T (A INTEGER);");
    std::string two = dir.Write("2.sql", "CREATE TABLE t (B INTEGER, C INTEGER);");
    auto c = Connect(com::MakeObject<SqlComp, ISqlComp>(MakeDriverManagerApi()));
    c.comp->GenerateBy(dir.path, one);
    c.comp->GenerateBy(dir.path, two);
    TableFile t;
    std::string error;
    ASSERT_TRUE(ReadTableFile(dir.path + "/T", &t, &error)) << error;
    EXPECT_EQ(t.label, "t");
    EXPECT_EQ(t.columns.size(), 2u);
}

TEST(SqlCompTest, InvokeServesDispatchCallers) {
    TempDir dir;
    std::string script = dir.Write("s.sql", "CREATE TABLE T (A INTEGER);");
    auto c = Connect(com::MakeObject<SqlComp, ISqlComp>(MakeDriverManagerApi()));
    EXPECT_EQ(c.comp->Invoke(kDispGenerateBy, {dir.path, script}, nullptr), com::S_OK);
    EXPECT_TRUE(fs::exists(dir.path + "/T"));
    EXPECT_EQ(c.comp->Invoke(kDispGenerateBy, {dir.path}, nullptr), com::DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(c.comp->Invoke(kDispGenerateBy, {dir.path, int32_t{3}}, nullptr),
              com::DISP_E_TYPEMISMATCH);
    EXPECT_EQ(c.comp->Invoke(99, {}, nullptr), com::DISP_E_MEMBERNOTFOUND);
    // A null path is read as empty.
    c.sink->events.clear();
    EXPECT_EQ(c.comp->Invoke(kDispGenerateBy, {std::monostate{}, std::monostate{}}, nullptr),
              com::S_OK);
    EXPECT_EQ(c.sink->events, std::vector<std::string>{"E 1|Fatal: Unable to open file \n"});
}

TEST(SqlCompTest, LibraryCreatesTheClassByIdentifier) {
    std::string error;
    auto comp = com::CreateInstance<ISqlComp>(kSqlCompClsid, kSqlCompilerLibrary, &error);
    ASSERT_TRUE(comp) << error;
    auto c = Connect(comp);
    TempDir dir;
    std::string script = dir.Write("s.sql", "CREATE TABLE T (A INTEGER);");
    comp->GenerateBy(dir.path, script);
    EXPECT_EQ(c.sink->events.size(), 4u);
    EXPECT_TRUE(fs::exists(dir.path + "/T"));
}

TEST(SqlCompTest, RegistrationWritesTheIdentityAndUnregistrationRemovesIt) {
    TempDir dir;
    std::string registryFile = dir.path + "/components.ini";
    ::setenv("MORVA_COMPONENTS", registryFile.c_str(), 1);
    std::string library = com::ExecutableDirectory() + "/" + kSqlCompilerLibrary;
    void* handle = ::dlopen(library.c_str(), RTLD_NOW);
    ASSERT_NE(handle, nullptr) << ::dlerror();
    auto registerServer =
        reinterpret_cast<com::DllRegisterServerFn>(::dlsym(handle, "DllRegisterServer"));
    auto unregisterServer =
        reinterpret_cast<com::DllRegisterServerFn>(::dlsym(handle, "DllUnregisterServer"));
    ASSERT_TRUE(registerServer && unregisterServer);
    ASSERT_EQ(registerServer(), com::S_OK);
    {
        com::Registry r(registryFile);
        std::string key = "CLSID\\" + com::ToString(kSqlCompClsid);
        EXPECT_EQ(r.Get("SqlComp.SqlComp.1"), "SqlComp Class");
        EXPECT_EQ(r.Get("SqlComp.SqlComp\\CurVer"), "SqlComp.SqlComp.1");
        EXPECT_EQ(r.Get(key + "\\InprocServer32", "ThreadingModel"), "Apartment");
        EXPECT_EQ(r.Get(key + "\\MiscStatus"), "0");
        EXPECT_EQ(r.Get(key + "\\MiscStatus\\1"), "131473");
        EXPECT_EQ(r.Get(key + "\\TypeLib"), com::ToString(kSqlCompilerTypeLib));
        EXPECT_EQ(r.Get(key + "\\Version"), "1.0");
        EXPECT_TRUE(r.HasKey(key + "\\Insertable"));
        EXPECT_TRUE(r.HasKey(key + "\\Control"));
        EXPECT_TRUE(r.HasKey(key + "\\Programmable"));
    }
    ASSERT_EQ(unregisterServer(), com::S_OK);
    EXPECT_TRUE(com::Registry(registryFile).Keys().empty());
    ::unsetenv("MORVA_COMPONENTS");
    ::dlclose(handle);
}

}  // namespace
}  // namespace morva::sql
