#include "engine/host/cmorva.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "component/create.h"
#include "component/guid.h"
#include "component/module.h"
#include "component/registry.h"
#include "engine/store/store.h"

extern "C" morva::com::HRESULT DllRegisterServer();
extern "C" morva::com::HRESULT DllUnregisterServer();

namespace morva::tpx {
namespace {

namespace fs = std::filesystem;
using com::S_OK;

// A fresh folder for one test, entered when asked; the current folder comes back and the folder
// goes away however the test ends, so a failed assertion does not leave later tests elsewhere.
class WorkFolder {
  public:
    WorkFolder(const std::string& name, bool enter) {
        path_ = fs::temp_directory_path() / (name + "_" + std::to_string(getpid()));
        fs::remove_all(path_);
        fs::create_directories(path_);
        if (enter) fs::current_path(path_);
    }
    ~WorkFolder() {
        fs::current_path(home_);
        fs::remove_all(path_);
    }
    const fs::path& path() const { return path_; }

  private:
    fs::path home_ = fs::current_path();
    fs::path path_;
};

std::string Log(IMorva* m) {
    std::string log;
    m->GetLogText(&log);
    return log;
}

class LogCounter : public com::Object<IMorvaLogSink> {
  public:
    HRESULT OnLogChanged() override {
        ++changes;
        return S_OK;
    }
    int changes = 0;
};

class CloseRecorder : public com::Object<IMorvaEvents> {
  public:
    HRESULT OnCloseAsDFM(const BStr& filename) override {
        names.push_back(filename.value_or("~"));
        return S_OK;
    }
    std::vector<std::string> names;
};

// A sink that tries to change the control from inside the run that raised the event.
class MeddlingSink : public com::Object<IMorvaEvents> {
  public:
    explicit MeddlingSink(IMorva* morva) : morva_(morva) {}
    HRESULT OnCloseAsDFM(const BStr&) override {
        std::string s = "T";
        results = {morva_->SetScript(s, std::string("<TEXT>other</TEXT>")),
                   morva_->CreateDatabase(s, 0),
                   morva_->AddTable(s, s, s, 0, 0),
                   morva_->AddColumnIntoTable(s, s, s, s, s, 0, 0, 0, 0),
                   morva_->InitDatabase(),
                   morva_->CreateRefTable(s, s, 0),
                   morva_->AddRefColumn(s, s, s, s),
                   morva_->SetLookupTable(s, s, s, s, s),
                   morva_->SetLookupItem(s, s, s),
                   morva_->SetRoom(s, s, s),
                   morva_->SetSchema(s, s, s),
                   morva_->RunScript()};
        std::vector<LintFinding> findings;
        void* lint = nullptr;
        morva_->QueryInterface(IMorvaLint::kIid, &lint);
        results.push_back(static_cast<IMorvaLint*>(lint)->Lint(std::string("<COLUMS>"), &findings));
        static_cast<IMorvaLint*>(lint)->Release();
        return S_OK;
    }
    IMorva* morva_;
    std::vector<HRESULT> results;
};

TEST(CMorvaTest, ARunCannotBeChangedFromItsOwnEvents) {
    WorkFolder folder("tpx_meddling", true);
    const fs::path& work = folder.path();
    auto m = NewMorva();
    m->CreateDatabase(std::string("D"), 0);
    m->AddTable(std::string("A"), std::nullopt, std::nullopt, 0, 0);
    m->AddTable(std::string("B"), std::nullopt, std::nullopt, 0, 0);
    m->InitDatabase();
    m->SetScript(std::string("s.tpx"),
                 std::string("<TEXT><TABLES><CREATE><T>.txt</CREATE><T>\n<CLOSEASDFM></TABLES>"
                             "\n</TEXT>\n"));
    auto sink = com::MakeObject<MeddlingSink, IMorvaEvents>(m.get());
    uint32_t cookie = 0;
    ASSERT_EQ(m.As<com::IConnectionPoint>()->Advise(sink.get(), &cookie), S_OK);
    EXPECT_EQ(m->RunScript(), S_OK);
    auto* meddler = static_cast<MeddlingSink*>(sink.get());
    EXPECT_EQ(meddler->results, std::vector<HRESULT>(13, com::E_UNEXPECTED));
    // The run went on over the store and program it started with.
    EXPECT_NE(Log(m.get()).find("End script."), std::string::npos);
    EXPECT_TRUE(fs::exists(work / "A.txt"));
    EXPECT_TRUE(fs::exists(work / "B.txt"));
    // Once the run is over the control takes changes again.
    EXPECT_EQ(m->CreateDatabase(std::string("D"), 0), S_OK);
    m.As<com::IConnectionPoint>()->Unadvise(cookie);
}

// A host that chooses the output files gets the run's outcomes there; into memory nothing is
// written.
TEST(CMorvaTest, HostChoosesTheOutputFiles) {
    WorkFolder folder("tpx_output", false);
    const fs::path& work = folder.path();
    auto m = NewMorva();
    m->CreateDatabase(std::string("D"), 0);
    m->AddTable(std::string("A"), std::nullopt, std::nullopt, 0, 0);
    m->InitDatabase();
    m->SetScript(std::string("s.tpx"),
                 std::string("<TEXT><TABLES><CREATE><T>.txt</CREATE><T>\n</TABLES></TEXT>\n"));
    OutputFiles files({OutputTarget::Memory, work.string()});
    static_cast<CMorva*>(m.get())->SetOutputFiles(&files);
    EXPECT_EQ(m->RunScript(), S_OK);
    ASSERT_EQ(files.files().size(), 1u);
    EXPECT_EQ(files.files()[0].outcome, FileOutcome::Created);
    EXPECT_EQ(files.files()[0].after, "A\r\n");
    EXPECT_FALSE(fs::exists(work / "A.txt"));
    static_cast<CMorva*>(m.get())->SetOutputFiles(nullptr);
}

// A sink that converts each file closed as a form file the way a host does: the closed text,
// upper-cased, is put as "<name>.up" through the run's output files.
class FormPutter : public com::Object<IMorvaEvents> {
  public:
    explicit FormPutter(IMorva* morva) : morva_(morva) {}
    HRESULT OnCloseAsDFM(const BStr& filename) override {
        std::string text;
        closed = morva_->GetClosedText(filename, &text);
        for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        put = morva_->PutOutputFile(*filename + ".up", text, &error);
        return S_OK;
    }
    IMorva* morva_;
    HRESULT closed = com::E_FAIL, put = com::E_FAIL;
    int32_t error = -1;
};

// A host that names the output folder and the policy through IMorva: the folder is made or
// refused, the run writes there only what changed, keeps the record of generated files and
// tells what it did.
TEST(CMorvaTest, OutputFolderAndPolicyThroughTheInterface) {
    WorkFolder folder("tpx_folder", true);
    const fs::path& work = folder.path();
    auto m = NewMorva();
    using V = std::vector<com::Variant>;
    m->CreateDatabase(std::string("D"), 0);
    m->AddTable(std::string("A"), std::nullopt, std::nullopt, 0, 0);
    m->InitDatabase();
    const std::string script =
        "<TEXT><CREATE>a.txt</CREATE>a\n<CLOSE><CREATE>f.txt</CREATE>f\n<CLOSEASDFM></TEXT>\n";
    m->SetScript(std::string("s.tpx"), script);
    RunOutput out;
    EXPECT_EQ(m->GetRunOutput(&out), com::S_FALSE);  // no folder yet

    // A file where the folder should be: refused with the reason, and nothing runs.
    { std::ofstream("plain") << "x"; }
    std::string reason;
    EXPECT_EQ(m->SetOutputFolder(std::string("plain"), &reason), com::E_FAIL);
    EXPECT_EQ(reason, "it is not a folder");
    com::Variant result;
    EXPECT_EQ(m->Invoke(kDispSetOutputFolder, V{std::string("plain")}, &result), com::E_FAIL);
    EXPECT_EQ(result, com::Variant(std::string("it is not a folder")));
    m->Clear();
    EXPECT_EQ(m->RunScript(), com::E_FAIL);
    EXPECT_EQ(Log(m.get()), "");
    EXPECT_FALSE(fs::exists(work / "a.txt"));

    // A missing folder is made; the run writes there and converts through the output files.
    auto sink = com::MakeObject<FormPutter, IMorvaEvents>(m.get());
    auto* putter = static_cast<FormPutter*>(sink.get());
    uint32_t cookie = 0;
    ASSERT_EQ(m.As<com::IConnectionPoint>()->Advise(sink.get(), &cookie), S_OK);
    EXPECT_EQ(m->SetOutputFolder(std::string("out/gen"), &reason), S_OK);
    EXPECT_EQ(m->RunScript(), S_OK);
    EXPECT_EQ(putter->closed, S_OK);
    EXPECT_EQ(putter->put, S_OK);
    EXPECT_FALSE(fs::exists(work / "a.txt"));
    EXPECT_TRUE(fs::exists(work / "out/gen/a.txt"));
    EXPECT_TRUE(fs::exists(work / "out/gen/f.txt.up"));
    EXPECT_EQ(m->GetRunOutput(&out), S_OK);
    EXPECT_TRUE(out.completed);
    EXPECT_EQ(out.written, 3);
    EXPECT_TRUE(fs::exists(work / "out/gen/.morva/s.tpx.files"));

    // Unchanged the second time, the put file too; the summary comes late-bound as well.
    EXPECT_EQ(m->RunScript(), S_OK);
    EXPECT_EQ(m->Invoke(kDispGetRunSummary, V{}, &result), S_OK);
    EXPECT_EQ(result, com::Variant(std::string("0 files written, 3 unchanged, 0 pruned, 0 stale")));

    // Into memory nothing is written; a file no longer generated is stale and stays.
    EXPECT_EQ(m->Invoke(kDispSetOutputPolicy, V{int32_t{2}}, nullptr), com::E_INVALIDARG);
    EXPECT_EQ(m->Invoke(kDispSetOutputPolicy, V{int32_t{kOutputToMemory}}, nullptr), S_OK);
    m->SetScript(std::string("s.tpx"), std::string("<TEXT><CREATE>a.txt</CREATE>b\n</TEXT>\n"));
    EXPECT_EQ(m->RunScript(), S_OK);
    EXPECT_EQ(m->GetRunOutput(&out), S_OK);
    EXPECT_EQ(out.written, 1);
    EXPECT_EQ(out.stale, (std::vector<std::string>{"f.txt", "f.txt.up"}));
    std::ifstream a(work / "out/gen/a.txt");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(a), {}), "a\r\n");

    // Outside a run there are no output files to put into.
    int32_t error = 0;
    EXPECT_EQ(m->PutOutputFile(std::string("x"), "x", &error), com::E_UNEXPECTED);
    m.As<com::IConnectionPoint>()->Unadvise(cookie);
}

TEST(CMorvaTest, LogWritingAndClearing) {
    auto m = NewMorva();
    m->Write(std::string("a"));
    m->WriteLine(std::nullopt);
    m->WriteLine(std::string("b"));
    EXPECT_EQ(Log(m.get()), "a\r\nb\r\n");
    m->Clear();
    m->Write(std::string("a"));
    EXPECT_EQ(Log(m.get()), "a");
}

TEST(CMorvaTest, LogSinksAndEventSinksConnectSeparately) {
    auto m = NewMorva();
    auto counter = com::MakeObject<LogCounter, IMorvaLogSink>();
    auto recorder = com::MakeObject<CloseRecorder, IMorvaEvents>();
    auto point = m.As<com::IConnectionPoint>();
    uint32_t logCookie = 0, eventCookie = 0;
    ASSERT_EQ(point->Advise(counter.get(), &logCookie), S_OK);
    ASSERT_EQ(point->Advise(recorder.get(), &eventCookie), S_OK);
    EXPECT_NE(logCookie, eventCookie);
    m->Write(std::string("x"));
    m->Clear();
    auto* c = static_cast<LogCounter*>(counter.get());
    EXPECT_EQ(c->changes, 2);
    EXPECT_EQ(point->Unadvise(logCookie), S_OK);
    m->Write(std::string("y"));
    EXPECT_EQ(c->changes, 2);
    EXPECT_EQ(point->Unadvise(logCookie), com::CONNECT_E_NOCONNECTION);
    EXPECT_EQ(point->Unadvise(eventCookie), S_OK);
}

TEST(CMorvaTest, StoreMethodsWithoutDatabase) {
    auto m = NewMorva();
    std::string s = "T";
    EXPECT_EQ(m->AddTable(s, s, s, 0, 0), com::E_FAIL);
    EXPECT_EQ(m->AddColumnIntoTable(s, s, s, s, s, 0, 0, 0, 0), com::E_FAIL);
    EXPECT_EQ(m->CreateRefTable(s, s, 0), com::E_FAIL);
    EXPECT_EQ(m->AddRefColumn(s, s, s, s), com::E_FAIL);
    EXPECT_EQ(m->SetLookupTable(s, s, s, s, s), S_OK);
    EXPECT_EQ(m->SetLookupItem(s, s, s), S_OK);
    EXPECT_EQ(m->SetRoom(s, s, s), S_OK);
    EXPECT_EQ(m->SetSchema(s, s, s), S_OK);
    EXPECT_EQ(m->InitDatabase(), S_OK);
    EXPECT_EQ(m->RunScript(), S_OK);
    EXPECT_EQ(Log(m.get()), "");
}

TEST(CMorvaTest, ColumnsFindTheirTableIgnoringCase) {
    auto m = NewMorva();
    m->CreateDatabase(std::string("D"), 0);
    EXPECT_EQ(m->AddTable(std::string("Customer"), std::nullopt, std::nullopt, 0, 0), S_OK);
    EXPECT_EQ(m->AddColumnIntoTable(std::string("CUSTOMER"), std::nullopt, std::string("ID"),
                                    std::nullopt, std::nullopt, 4, 4 * 30 + 1, 0, 0),
              S_OK);
    EXPECT_EQ(m->AddColumnIntoTable(std::string("Other"), std::nullopt, std::string("ID"),
                                    std::nullopt, std::nullopt, 4, 0, 0, 0),
              com::E_FAIL);
    const CDatabase* db = AsCMorva(m.get())->database();
    ASSERT_NE(db, nullptr);
    EXPECT_EQ(db->TableAt(0)->ColumnAt(0)->DisplayWidth(), 30);
    m->CreateDatabase(std::string("E"), 0);
    EXPECT_EQ(AsCMorva(m.get())->database()->tables().count(), 0);
}

TEST(CMorvaTest, ScriptInputStopsAtTheEnd) {
    auto m = NewMorva();
    m->SetScript(std::string("s"), std::string("abc"));
    char buffer[8];
    EXPECT_EQ(Engine().ReadSource(buffer, sizeof buffer), 0u);  // the compilation let go of it
}

TEST(CMorvaTest, InvokeChecksArgumentsBeforeCalling) {
    auto m = NewMorva();
    using V = std::vector<com::Variant>;
    EXPECT_EQ(m->Invoke(99, {}, nullptr), com::DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(m->Invoke(kDispWrite, {}, nullptr), com::DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(m->Invoke(kDispWrite, V{int32_t{1}}, nullptr), com::DISP_E_TYPEMISMATCH);
    EXPECT_EQ(m->Invoke(kDispCreateDatabase, V{std::string("D"), std::string("x")}, nullptr),
              com::DISP_E_TYPEMISMATCH);
    EXPECT_EQ(AsCMorva(m.get())->database(), nullptr);
    EXPECT_EQ(m->Invoke(kDispWriteLine, V{std::monostate{}}, nullptr), S_OK);
    EXPECT_EQ(m->Invoke(kDispCreateDatabase, V{std::string("D"), int32_t{3}}, nullptr), S_OK);
    EXPECT_EQ(
        m->Invoke(kDispAddTable,
                  V{std::string("T"), std::monostate{}, std::monostate{}, int32_t{0}, int32_t{0}},
                  nullptr),
        S_OK);
    EXPECT_EQ(m->Invoke(kDispAddRefColumn,
                        V{std::string("T"), std::string("X"), std::string("A"), std::string("B")},
                        nullptr),
              S_OK);
    EXPECT_EQ(Log(m.get()), "\r\n");
}

TEST(CMorvaTest, TheLastControlConstructedReceivesMessages) {
    auto first = NewMorva();
    auto second = NewMorva();
    EXPECT_EQ(Engine().control, AsCMorva(second.get()));
    second.reset();
    EXPECT_EQ(Engine().control, nullptr);
}

// The lint reads another script between a compile and its run: the run still makes what the
// compiled script says, and the log shows only what the compile wrote.
TEST(CMorvaTest, LintLeavesTheCompiledScriptAndLogAlone) {
    WorkFolder folder("tpx_lint", true);
    const fs::path& work = folder.path();
    auto m = NewMorva();
    m->CreateDatabase(std::string("D"), 0);
    m->AddTable(std::string("A"), std::nullopt, std::nullopt, 0, 0);
    m->InitDatabase();
    m->SetScript(
        std::string("s.tpx"),
        std::string("<TEXT>\n<TABLES><CREATE><T>.txt</CREATE>kept\n<CLOSE></TABLES>\n</TEXT>\n"));
    const std::string compiledLog = Log(m.get());
    auto lint = m.As<IMorvaLint>();
    ASSERT_TRUE(lint);
    std::vector<LintFinding> findings{LintFinding{}};
    ASSERT_EQ(lint->Lint(std::string("<TEXT>\n<COLUMS>\n</TEXT>\n"), &findings), S_OK);
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].check, "near-miss-tag");
    EXPECT_EQ(findings[0].line, 2);
    EXPECT_EQ(lint->Lint(std::nullopt, &findings), S_OK);
    EXPECT_TRUE(findings.empty());
    EXPECT_EQ(lint->Lint(std::string("x"), nullptr), com::E_POINTER);
    EXPECT_EQ(Log(m.get()), compiledLog);
    EXPECT_TRUE(AsCMorva(m.get())->compiled());
    EXPECT_EQ(m->RunScript(), S_OK);
    std::ifstream out(work / "A.txt");
    std::string text((std::istreambuf_iterator<char>(out)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text.substr(0, 5), "kept\r");
}

class RegistrationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        registry_ =
            (fs::temp_directory_path() / ("tpx_reg_" + std::to_string(getpid()) + ".ini")).string();
        setenv("MORVA_COMPONENTS", registry_.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("MORVA_COMPONENTS");
        fs::remove(registry_);
    }
    std::string registry_;
};

TEST_F(RegistrationTest, RegistersTheControlAndCreatesItByClassIdentifier) {
    ASSERT_EQ(DllRegisterServer(), S_OK);
    com::Registry reg(registry_);
    const std::string key = "CLSID\\" + com::ToString(kMorvaClsid);
    EXPECT_EQ(reg.Get(key), "Morva Class");
    EXPECT_EQ(reg.Get(key + "\\ProgID"), "Morva.Morva.1");
    EXPECT_EQ(reg.Get(key + "\\VersionIndependentProgID"), "Morva.Morva");
    EXPECT_EQ(reg.Get(key + "\\InprocServer32", "ThreadingModel"), "Apartment");
    EXPECT_EQ(reg.Get(key + "\\MiscStatus\\1"), "131473");
    EXPECT_EQ(reg.Get(key + "\\TypeLib"), com::ToString(kTpxTypeLib));
    EXPECT_EQ(reg.Get(key + "\\Version"), "1.0");
    EXPECT_EQ(reg.Get("Morva.Morva\\CurVer"), "Morva.Morva.1");

    std::string error;
    auto m = com::CreateInstance<IMorva>(kMorvaClsid, kTpxLibrary, &error);
    ASSERT_TRUE(m) << error;
    EXPECT_EQ(m->Write(std::string("hello")), S_OK);
    EXPECT_EQ(Log(m.get()), "hello");

    ASSERT_EQ(DllUnregisterServer(), S_OK);
    EXPECT_TRUE(com::Registry(registry_).Keys().empty());
}

}  // namespace
}  // namespace morva::tpx
