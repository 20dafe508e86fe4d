// Real public creation scripts of every dialect (tests/corpus/<dialect>/<name>.sql), read by
// `morva-cli sql --dialect auto`: each must come through with exit status 0 and exactly the
// tables, columns, keys and references that the database itself makes of it. For SQLite and
// PostgreSQL scripts that is read from the engine's catalogue after loading the script; for
// the other dialects it is the hand-written <name>.expected beside the script.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

#include "sqlcompiler/tests/corpus_catalogue.h"
#include "sqlcompiler/tests/corpus_model.h"
#include "tests/support/postgres_server.h"

namespace morva::sql::corpus {
namespace {

namespace fs = std::filesystem;

constexpr const char* kCli = MORVA_CLI;
constexpr const char* kCorpusDir = CORPUS_DIR;
constexpr const char* kSamplesDir = SAMPLES_DIR;

struct Script {
    std::string dialect;  // the folder: postgresql, mysql, sqlite, oracle, sqlserver, firebird
    std::string path;
};

// Names the script in test output instead of dumping its bytes.
void PrintTo(const Script& script, std::ostream* out) {
    *out << script.dialect << "/" << fs::path(script.path).filename().string();
}

std::vector<Script> CorpusScripts() {
    std::vector<Script> scripts;
    std::error_code ec;
    for (const auto& dialect : fs::directory_iterator(kCorpusDir, ec)) {
        if (!dialect.is_directory()) continue;
        for (const auto& file : fs::directory_iterator(dialect.path()))
            if (file.path().extension() == ".sql")
                scripts.push_back({dialect.path().filename().string(), file.path().string()});
    }
    std::sort(scripts.begin(), scripts.end(),
              [](const Script& a, const Script& b) { return a.path < b.path; });
    return scripts;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string ShellQuote(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// Runs morva-cli with `args`; standard output and error together in `output`.
int RunCli(const std::vector<std::string>& args, std::string* output) {
    std::string command = ShellQuote(kCli);
    for (const std::string& a : args) command += " " + ShellQuote(a);
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return -1;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output->append(buffer, n);
    int status = ::pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class TempFolder {
  public:
    TempFolder() {
        std::string templ = (fs::temp_directory_path() / "morva-corpusXXXXXX").string();
        path_ = ::mkdtemp(templ.data()) ? templ : "";
    }
    ~TempFolder() {
        std::error_code ec;
        if (!path_.empty()) fs::remove_all(path_, ec);
    }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// Reads `script` with `morva-cli sql <readerArgs> DB script` into a fresh database folder and
// returns the compact text of `morva-cli dump DB --json`. False with the reason in `error`.
bool ReadWithMorva(const std::string& script, const std::vector<std::string>& readerArgs,
                   std::string* compact, std::string* error) {
    TempFolder folder;
    std::vector<std::string> args = {"--database-dir", folder.path(), "sql"};
    args.insert(args.end(), readerArgs.begin(), readerArgs.end());
    args.insert(args.end(), {"CORPUS", script});
    std::string log;
    int status = RunCli(args, &log);
    if (status != 0) {
        *error = "morva-cli sql exited with " + std::to_string(status) + ":\n" + log;
        return false;
    }
    std::string json;
    status = RunCli({"--database-dir", folder.path(), "dump", "CORPUS", "--json"}, &json);
    std::vector<Table> tables;
    if (status != 0 || !TablesFromDumpJson(json, &tables, error)) {
        *error = "morva-cli dump failed (" + std::to_string(status) + "): " + *error + "\n" + json;
        return false;
    }
    *compact = CompactText(tables);
    return true;
}

class CorpusScript : public ::testing::TestWithParam<Script> {
  protected:
    static void TearDownTestSuite() {
        delete server_;  // stops the server
        server_ = nullptr;
    }

    // The private PostgreSQL server, started at the first PostgreSQL script; null when it
    // cannot start (the reason is in why_).
    static testing::PostgresServer* Server() {
        if (!server_ && why_.empty()) {
            server_ = new testing::PostgresServer;
            if (!server_->Start(&why_)) {
                delete server_;
                server_ = nullptr;
            }
        }
        return server_;
    }

    // What the database makes of the script, or the hand-written expectation beside it.
    bool Expected(const Script& script, std::string* text, std::string* error) {
        std::vector<Table> tables;
        if (script.dialect == "sqlite") {
            if (!TablesFromSqlite(ReadFile(script.path), &tables, error)) return false;
        } else if (script.dialect == "postgresql") {
            std::string database = "corpus_" + std::to_string(++databases_);
            if (!TablesFromPostgres(*Server(), database, script.path, &tables, error)) return false;
        } else {
            std::string path = fs::path(script.path).replace_extension(".expected").string();
            if (!fs::exists(path)) {
                *error = "no " + path;
                return false;
            }
            if (!ParseCompactText(ReadFile(path), &tables, error)) {
                *error = path + ": " + *error;
                return false;
            }
        }
        *text = CompactText(tables);
        return true;
    }

    static testing::PostgresServer* server_;
    static std::string why_;
    static int databases_;
};
testing::PostgresServer* CorpusScript::server_ = nullptr;
std::string CorpusScript::why_;
int CorpusScript::databases_ = 0;

TEST_P(CorpusScript, GivesWhatTheDatabaseHas) {
    const Script& script = GetParam();
    if (script.dialect == "postgresql" && !Server())
        GTEST_SKIP() << "PostgreSQL cannot start: " << why_;
    std::string expected, actual, error;
    ASSERT_TRUE(Expected(script, &expected, &error)) << script.path << ": " << error;
    ASSERT_TRUE(ReadWithMorva(script.path, {"--dialect", "auto"}, &actual, &error))
        << script.path << ": " << error;
    EXPECT_EQ(actual, expected) << script.path << "\n--- morva-cli:\n"
                                << actual << "--- expected:\n"
                                << expected;
}

std::string ScriptName(const ::testing::TestParamInfo<Script>& info) {
    std::string name = info.param.dialect + "_" + fs::path(info.param.path).stem().string();
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(SqlCorpus, CorpusScript, ::testing::ValuesIn(CorpusScripts()), ScriptName);

// The comparison itself, on a script that the classic reader already reads completely: the
// classic reader's model and SQLite's catalogue of the same script must agree.
TEST(SqlCorpusHarness, ClassicReaderAgreesWithSqliteOnTheSample) {
    std::string path = std::string(kSamplesDir) + "/order_entry_sqlite.sql";
    std::vector<Table> tables;
    std::string error, actual;
    ASSERT_TRUE(TablesFromSqlite(ReadFile(path), &tables, &error)) << error;
    ASSERT_TRUE(ReadWithMorva(path, {}, &actual, &error)) << error;
    EXPECT_EQ(actual, CompactText(tables));
}

TEST(SqlCorpusHarness, EveryDialectHasTwoScriptsWithTheirSource) {
    std::map<std::string, int> counts;
    for (const Script& s : CorpusScripts()) ++counts[s.dialect];
    for (const char* dialect : {"postgresql", "mysql", "sqlite", "oracle", "sqlserver", "firebird"})
        EXPECT_GE(counts[dialect], 2) << dialect;
    std::string sources = ReadFile(std::string(kCorpusDir) + "/SOURCES.md");
    for (const Script& s : CorpusScripts()) {
        std::string entry = s.dialect + "/" + fs::path(s.path).filename().string();
        EXPECT_NE(sources.find(entry), std::string::npos) << entry << " is not in SOURCES.md";
    }
}

}  // namespace
}  // namespace morva::sql::corpus
