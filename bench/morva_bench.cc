// The speed table: template compile throughput, run throughput over growing schemas beside
// the same generation in Jinja2 and the time to copy the output, SQL compile throughput, the
// hand-over of a large schema through IMorva, reading a schema file with many references and
// saving many table files beside copying them, re-running a generator into an up-to-date
// folder beside copying its output, and the whole command line run as a process beside
// Jinja2 and cp -r, measured in one run and printed as one table.
// Every time is processor time (the save of table files excepted: it waits for the disk), the
// median of several repetitions; ratios stand beside the absolute figures because the machines
// are noisy.
//
//   morva_bench [--source DIR] [--quick]
//               [--only compile|run|engine|sql|handover|e2e|e2eN|e2esql|wide|schemaread|save|rerun]
//               [--baseline BIN] [--show TABLES]
//
// --quick measures the small sizes only; --only one kind of measurement (for profiling;
// "engine" is the run of the largest size without Jinja2 and the copy, "engineN" the run over
// N tables, repeated; "e2e" the whole command line as a process, "e2eN" over N tables only;
// "e2esql" morva-cli sql of a 10,000-table script; "wide" the peak memory of one huge table);
// --baseline names the bin folder of another build (its morva-cli and libraries): the process
// rows then also run that build's morva-cli, interleaved, for before and after figures;
// --show prints the generated units for a database of TABLES tables and exits.

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "bench/bench_database.h"
#include "bench/child_process.h"
#include "bench/generator.h"
#include "bench/sql_script.h"
#include "engine/host/cmorva.h"
#include "engine/script/script_api.h"
#include "sqlcompiler/compilation.h"
#include "sqlcompiler/testing/parse_script_text.h"
#include "workbench/schema/schema.h"

namespace {

namespace fs = std::filesystem;
using morva::tpx::IMorva;

constexpr int kColumns = 20;
constexpr double kMB = 1024.0 * 1024.0;

double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The processor time (user and system) that `work` takes: on a shared machine the wall
// clock mostly measures the other processes.
double Seconds(const std::function<void()>& work) {
    double start = CpuSeconds();
    work();
    return CpuSeconds() - start;
}

// The median of `repeats` timings of `work`, after `prepare` before each.
double Median(
    int repeats, const std::function<void()>& work, const std::function<void()>& prepare = [] {}) {
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i) {
        prepare();
        times.push_back(Seconds(work));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Quote(const fs::path& path) {
    return "'" + path.string() + "'";
}

// ---------------------------------------------------------------------------------------------
// The table

struct Row {
    std::string measure;
    std::string size;
    std::string time;
    std::string throughput;
    std::string comparison;
};

std::string Format(const char* format, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

std::string Milliseconds(double seconds) {
    return Format(seconds < 0.01 ? "%.3f ms" : "%.1f ms", seconds * 1000);
}

std::string MBps(double bytes, double seconds) {
    return Format("%.1f MB/s", bytes / kMB / seconds);
}

std::string Size(double bytes) {
    return bytes >= kMB ? Format("%.1f MB", bytes / kMB) : Format("%.0f KB", bytes / 1024);
}

class Table {
  public:
    void Add(Row row) {
        std::fprintf(stderr, "   %s %s: %s\n", row.measure.c_str(), row.size.c_str(),
                     row.time.c_str());
        rows_.push_back(std::move(row));
    }
    void Print() const {
        Row head{"measure", "size", "CPU time", "throughput", "comparison"};
        size_t w[5] = {};
        for (const Row& r : rows_) Widen(w, r);
        Widen(w, head);
        PrintRow(w, head);
        std::string rule;
        for (size_t x : w) rule += std::string(x + 2, '-');
        std::printf("%s\n", rule.c_str());
        for (const Row& r : rows_) PrintRow(w, r);
    }

  private:
    static void Widen(size_t* w, const Row& r) {
        const std::string* cells[] = {&r.measure, &r.size, &r.time, &r.throughput, &r.comparison};
        for (int i = 0; i < 5; ++i) w[i] = std::max(w[i], cells[i]->size());
    }
    static void PrintRow(const size_t* w, const Row& r) {
        std::printf("%-*s  %-*s  %*s  %*s  %s\n", static_cast<int>(w[0]), r.measure.c_str(),
                    static_cast<int>(w[1]), r.size.c_str(), static_cast<int>(w[2]), r.time.c_str(),
                    static_cast<int>(w[3]), r.throughput.c_str(), r.comparison.c_str());
    }
    std::vector<Row> rows_;
};

// ---------------------------------------------------------------------------------------------
// The measurements

// A template script of about `megabytes` MB: the generator's unit loop over and over.
std::string LargeScript(int megabytes) {
    std::string script = "<TEXT><VAR> n </VAR>\n";
    size_t target = static_cast<size_t>(megabytes) << 20;
    while (script.size() < target) script += morva::bench::UnitLoop();
    return script + "</TEXT>\n";
}

void TemplateCompile(Table& table, int megabytes) {
    std::string script = LargeScript(megabytes);
    struct : morva::tpx::EngineControl {
        void WriteLog(std::string_view) override {}
        void CloseAsDfm(const std::string&) override {}
    } host;
    morva::tpx::Exe program;
    bool clean = false;
    double t = Median(
        3, [&] { clean = morva::tpx::CompileText(host, "bench.tpx", script, program).ok(); },
        [] {});
    table.Add({"template compile", Size(script.size()), Milliseconds(t), MBps(script.size(), t),
               clean ? "" : "COMPILE ERRORS"});
}

void SqlCompile(Table& table, int megabytes) {
    std::string script = morva::bench::SqlScript(megabytes);
    morva::sql::Compilation c;
    c.SetReporter([](int32_t, const std::string&) {});
    double t = Median(
        3, [&] { morva::sql::testing::ParseScriptText(c, script); },
        [&] { c.ResetCompilation("bench.sql"); });
    std::string note = std::to_string(c.model().tables.size()) + " tables";
    if (c.errors() != 0) note += ", COMPILE ERRORS";
    table.Add({"SQL compile", Size(script.size()), Milliseconds(t), MBps(script.size(), t), note});
}

// Fills the engine from a schema of every table of `db`, as the workbench hands it over.
void HandOver(IMorva& morva, const morva::schema::TDatabaseInfor& db) {
    auto schema = morva::schema::TSchema::CreateFromDatabase("Bench", "Units", "Benchmark", db);
    schema->SendToEngine(morva, db);
    morva.InitDatabase();
}

void HandOverLarge(Table& table, int tables) {
    auto db = morva::bench::MakeDatabase(tables, kColumns);
    auto morva = morva::tpx::NewMorva();
    double t = Median(3, [&] { HandOver(*morva, db); });
    table.Add({"schema hand-over (IMorva)", std::to_string(tables) + " tables", Milliseconds(t),
               Format("%.0f ns/column", t * 1e9 / (tables * kColumns)), ""});
}

// A schema of one table referring to `references` tables, each with one column pair: the
// reference block is most of the file, as in a large database where one table refers to all.
std::string ManyReferencesSchema(int references) {
    morva::schema::TSchema schema;
    schema.Name = "Bench";
    schema.DbName = "Bench";
    morva::schema::TSchemaInfor hub;
    hub.TableName = "HUB";
    for (int i = 0; i < references; ++i) {
        std::string name = "TABLE_" + std::to_string(i);
        hub.RefTables.AddTable(name);
        hub.RefTables.AddPair(name, "ID", "REF_" + std::to_string(i));
    }
    schema.Tables.push_back(std::move(hub));
    return schema.Encode();
}

// Reading a schema file must take time in proportion to its size: the larger row stands
// beside the smaller one, ten times fewer references.
void SchemaRead(Table& table, int small, int large) {
    double times[2] = {};
    for (int i = 0; i < 2; ++i) {
        int references = i == 0 ? small : large;
        std::string bytes = ManyReferencesSchema(references);
        times[i] = Median(3, [&] {
            morva::schema::TSchema schema;
            morva::schema::TSchema::Decode(bytes, &schema);
        });
        std::string note = i == 0 ? ""
                                  : Format("%.1fx the time of ", times[1] / times[0]) +
                                        std::to_string(small) +
                                        " (linear: " + std::to_string(large / small) + "x)";
        table.Add({"schema read", std::to_string(references) + " references, " + Size(bytes.size()),
                   Milliseconds(times[i]), Format("%.0f ns/reference", times[i] * 1e9 / references),
                   note});
    }
}

double WallSeconds(const std::function<void()>& work) {
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Saving database information: `tables` table files written as one save, beside copying the
// saved folder with cp -r. Wall-clock time, the median of three: a durable save mostly waits
// for the disk, which processor time does not see.
void TableFilesSave(Table& table, int tables, const fs::path& work) {
    morva::schema::TDatabaseInfor db = morva::bench::MakeDatabase(tables, kColumns);
    db.Name = "Bench";
    fs::path saved = work / "Database" / db.Name;
    fs::path copy = work / "copy";
    std::vector<double> saves, copies;
    bool ok = true;
    for (int i = 0; i < 3; ++i) {
        fs::remove_all(work / "Database");
        std::string error;
        saves.push_back(
            WallSeconds([&] { ok = db.SaveDatabase((work / "Database").string(), &error) && ok; }));
        fs::remove_all(copy);
        std::string command = "cp -r " + Quote(saved) + " " + Quote(copy);
        copies.push_back(WallSeconds([&] { ok = std::system(command.c_str()) == 0 && ok; }));
    }
    std::sort(saves.begin(), saves.end());
    std::sort(copies.begin(), copies.end());
    double bytes = 0;
    for (const auto& e : fs::directory_iterator(saved))
        if (e.is_regular_file()) bytes += static_cast<double>(e.file_size());
    std::string size = std::to_string(tables) + " tables, " + Size(bytes);
    table.Add({"table files save (wall)", size, Milliseconds(saves[1]), MBps(bytes, saves[1]),
               Format("save at %.1fx the copy", saves[1] / copies[1]) + (ok ? "" : ", FAILED")});
    table.Add({"  cp -r (wall)", size, Milliseconds(copies[1]), MBps(bytes, copies[1]), ""});
    fs::remove_all(work / "Database");
    fs::remove_all(copy);
}

struct RunResult {
    double seconds = 0;
    std::string output;
};

RunResult RunEngine(int tables, const fs::path& work, int repeats) {
    auto db = morva::bench::MakeDatabase(tables, kColumns);
    auto morva = morva::tpx::NewMorva();
    HandOver(*morva, db);
    morva->SetScript(std::string("units.tpx"), morva::bench::GeneratorScript());
    fs::path home = fs::current_path();
    fs::current_path(work);
    RunResult r;
    // Each repetition writes its output anew: an unchanged file would only be compared.
    r.seconds = Median(
        repeats, [&] { morva->RunScript(); },
        [&] {
            morva->Clear();
            fs::remove(work / morva::bench::kOutputName);
        });
    fs::current_path(home);
    r.output = ReadFile(work / morva::bench::kOutputName);
    return r;
}

// Runs the Jinja2 generator over the same database; its own median, or a negative time when
// Python or Jinja2 failed.
double RunJinja(int tables, const fs::path& source, const fs::path& work, int repeats,
                const fs::path& output) {
    WriteFile(work / "store.json",
              morva::bench::DatabaseJson(morva::bench::MakeDatabase(tables, kColumns)));
    fs::path timing = work / "jinja.time";
    std::string command = "python3 " + Quote(source / "bench/jinja_units.py") + " " +
                          Quote(work / "store.json") + " " + Quote(output) + " " +
                          std::to_string(repeats) + " > " + Quote(timing);
    if (std::system(command.c_str()) != 0) return -1;
    return std::atof(ReadFile(timing).c_str());
}

// Copies `from` to `to` the way cat does: a read and write loop over one buffer. Starting a
// process would cost more than copying the smaller outputs, so the loop runs in-process.
void Copy(const fs::path& from, const fs::path& to) {
    std::FILE* in = std::fopen(from.c_str(), "rb");
    std::FILE* out = std::fopen(to.c_str(), "wb");
    static char buffer[128 * 1024];
    for (size_t n; in && out && (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;)
        std::fwrite(buffer, 1, n, out);
    if (in) std::fclose(in);
    if (out) std::fclose(out);
}

double CopyFloor(const fs::path& from, const fs::path& to, int repeats) {
    return Median(repeats, [&] { Copy(from, to); });
}

void Run(Table& table, int tables, const fs::path& source, const fs::path& work) {
    int repeats = tables >= 10000 ? 3 : tables >= 1000 ? 5 : 11;
    RunResult engine = RunEngine(tables, work, repeats);
    double bytes = static_cast<double>(engine.output.size());
    std::string size = std::to_string(tables) + " tables";
    table.Add({"run", size + ", " + Size(bytes), Milliseconds(engine.seconds),
               MBps(bytes, engine.seconds),
               Format("%.1f ns/column", engine.seconds * 1e9 / (tables * kColumns))});

    fs::path jinjaOutput = work / "jinja.pas";
    double jinja = RunJinja(tables, source, work, repeats, jinjaOutput);
    if (jinja < 0) {
        table.Add({"  Jinja2", size, "-", "-", "python3-jinja2 failed"});
    } else {
        bool same = ReadFile(jinjaOutput) == engine.output;
        table.Add({"  Jinja2", size, Milliseconds(jinja), MBps(bytes, jinja),
                   Format("engine %.1fx faster", jinja / engine.seconds) +
                       (same ? ", same bytes" : ", OUTPUT DIFFERS")});
    }

    double floor = CopyFloor(work / morva::bench::kOutputName, work / "copy.pas", repeats);
    table.Add({"  copy floor (read/write)", size, Milliseconds(floor), MBps(bytes, floor),
               Format("engine at %.1fx the floor", engine.seconds / floor)});
}

// Re-running a generator of one file per table into a folder that is up to date: every file
// is compared and none written. Its processor time beside that of `cp -r` copying the same
// folder (the child's user and system time), one run each.
void UpToDateRerun(Table& table, int tables, const fs::path& work) {
    std::string script = "<TEXT><VAR> n </VAR>\n" + morva::bench::UnitLoop() + "</TEXT>\n";
    auto replace = [&](const std::string& from, const std::string& to) {
        script.replace(script.find(from), from.size(), to);
    };
    replace("<TABLES>\n", "<TABLES><CREATE>units/u<T>.pas</CREATE>\n");
    replace("</TABLES>\n", "<CLOSE>\n</TABLES>\n");
    auto db = morva::bench::MakeDatabase(tables, kColumns);
    auto morva = morva::tpx::NewMorva();
    HandOver(*morva, db);
    morva->SetScript(std::string("per_table.tpx"), script);
    auto* control = static_cast<morva::tpx::CMorva*>(morva.get());
    fs::path folder = work / "rerun";
    fs::remove_all(folder);
    fs::create_directories(folder);
    morva::tpx::OutputFiles first({morva::tpx::OutputTarget::Disk, folder.string()});
    control->SetOutputFiles(&first);
    morva->RunScript();
    morva::tpx::OutputFiles again({morva::tpx::OutputTarget::Disk, folder.string()});
    control->SetOutputFiles(&again);
    double rerun = Seconds([&] { morva->RunScript(); });
    control->SetOutputFiles(nullptr);
    size_t unchanged = 0;
    for (const auto& f : again.files())
        unchanged += f.outcome == morva::tpx::FileOutcome::Unchanged;
    double bytes = 0;
    for (const auto& e : fs::directory_iterator(folder / "units"))
        bytes += static_cast<double>(e.file_size());

    auto childSeconds = [] {
        rusage u{};
        getrusage(RUSAGE_CHILDREN, &u);
        return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
               static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) * 1e-6;
    };
    fs::path copy = work / "rerun_copy";
    fs::remove_all(copy);
    double before = childSeconds();
    std::string command = "cp -r " + Quote(folder / "units") + " " + Quote(copy);
    bool copied = std::system(command.c_str()) == 0;
    double cp = childSeconds() - before;
    std::string size = std::to_string(tables) + " files, " + Size(bytes);
    bool ok = unchanged == static_cast<size_t>(tables) && copied;
    table.Add({"re-run, up to date", size, Milliseconds(rerun), MBps(bytes, rerun),
               Format("at %.2fx cp -r", rerun / cp) + (ok ? "" : ", FILES REWRITTEN")});
    table.Add({"  cp -r (processor)", size, Milliseconds(cp), MBps(bytes, cp), ""});
    fs::remove_all(copy);
    fs::remove_all(folder);
}

// ---------------------------------------------------------------------------------------------
// End to end: the real command line as a child process, each output into a fresh folder

using morva::bench::ChildCost;
using morva::bench::RunChild;

// "total ms (user ms)": creating files is the kernel's work and on a shared disk it varies
// from run to run far more than the program's own part does.
std::string Cost(const ChildCost& c) {
    return Milliseconds(c.seconds) + " (user " + Milliseconds(c.user) + ")";
}

// One command of a comparison: what it runs and what is removed before each run.
struct Job {
    std::vector<std::string> argv;
    std::function<void()> prepare;
    std::vector<std::string> environment = {};
};

// Runs the jobs in turn, `repeats` rounds, and gives each job's median processor time: the
// rounds interleave so that a busy moment of the shared disk weighs on every job alike. The
// peak memory is the largest of a job's runs; ok holds only when every run succeeded.
std::vector<ChildCost> Interleaved(int repeats, const std::vector<Job>& jobs) {
    std::vector<std::vector<double>> times(jobs.size()), users(jobs.size());
    std::vector<ChildCost> results(jobs.size(), ChildCost{true, 0, 0, 0});
    for (int i = 0; i < repeats; ++i) {
        for (size_t j = 0; j < jobs.size(); ++j) {
            jobs[j].prepare();
            ChildCost c = RunChild(jobs[j].argv, "/dev/null", jobs[j].environment);
            results[j].ok = results[j].ok && c.ok;
            results[j].peakKB = std::max(results[j].peakKB, c.peakKB);
            times[j].push_back(c.seconds);
            users[j].push_back(c.user);
        }
    }
    for (size_t j = 0; j < jobs.size(); ++j) {
        std::sort(times[j].begin(), times[j].end());
        std::sort(users[j].begin(), users[j].end());
        results[j].seconds = times[j][times[j].size() / 2];
        results[j].user = users[j][users[j].size() / 2];
    }
    return results;
}

// The files of `folder` by name with their bytes.
std::vector<std::pair<std::string, std::string>> FolderFiles(const fs::path& folder) {
    std::vector<std::pair<std::string, std::string>> files;
    std::error_code ec;
    // Only the generated files: a run also keeps its record in a folder of its own.
    for (const auto& e : fs::directory_iterator(folder, ec))
        if (e.is_regular_file())
            files.emplace_back(e.path().filename().string(), ReadFile(e.path()));
    std::sort(files.begin(), files.end());
    return files;
}

double FolderBytes(const fs::path& folder) {
    double bytes = 0;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder, ec))
        if (e.is_regular_file()) bytes += static_cast<double>(e.file_size());
    return bytes;
}

struct EndToEndPaths {
    std::string cli;       // morva-cli
    std::string baseline;  // the bin folder of another build to compare with, or empty
    fs::path source;       // the source tree, for the Python generator
    fs::path work;
};

std::vector<std::string> Cli(const std::string& cli, const fs::path& databases,
                             const fs::path& output, std::vector<std::string> args) {
    std::vector<std::string> argv = {cli, "--database-dir", databases.string(), "--output-dir",
                                     output.string()};
    argv.insert(argv.end(), args.begin(), args.end());
    return argv;
}

// `morva-cli run` of the unit-per-table generator over `tables` table files, beside the
// same generation in Jinja2 reading the same files and `cp -r` of the output.
void EndToEndRun(Table& table, int tables, const EndToEndPaths& p) {
    fs::path home = p.work / "e2e";
    fs::remove_all(home);
    fs::create_directories(home / "Database");
    morva::schema::TDatabaseInfor db = morva::bench::MakeDatabase(tables, kColumns);
    std::string error;
    if (!db.SaveDatabase((home / "Database").string(), &error)) {
        table.Add({"morva-cli run", std::to_string(tables) + " tables", "-", "-", error});
        return;
    }
    WriteFile(home / "units.tpx", morva::bench::UnitFilesScript());
    fs::path out = home / "out", jinjaOut = home / "jinja", copy = home / "copy";
    int repeats = tables >= 3000 ? 3 : 5;
    auto fresh = [](const fs::path& folder) { return [folder] { fs::remove_all(folder); }; };
    std::vector<Job> jobs = {{Cli(p.cli, home / "Database", out,
                                  {"run", (home / "units.tpx").string(), "--db", db.Name}),
                              fresh(out)},
                             {{"cp", "-r", out.string(), copy.string()}, fresh(copy)},
                             {{"python3", (p.source / "bench/jinja_unit_files.py").string(),
                               (home / "Database" / db.Name).string(), jinjaOut.string()},
                              fresh(jinjaOut)}};
    fs::path baselineOut = home / "baseline";
    if (!p.baseline.empty())
        jobs.push_back({Cli(p.baseline + "/morva-cli", home / "Database", baselineOut,
                            {"run", (home / "units.tpx").string(), "--db", db.Name}),
                        fresh(baselineOut),
                        {"LD_LIBRARY_PATH=" + p.baseline}});
    std::vector<ChildCost> costs = Interleaved(repeats, jobs);
    const ChildCost &morva = costs[0], &cp = costs[1], &jinja = costs[2];
    double bytes = FolderBytes(out);
    auto files = FolderFiles(out);
    bool same = jinja.ok && files == FolderFiles(jinjaOut);
    std::string size = std::to_string(tables) + " tables";
    table.Add({"morva-cli run (process)",
               size + ", " + Size(bytes) + " in " + std::to_string(files.size()) + " files",
               Cost(morva), Format("%.0f ns/column", morva.seconds * 1e9 / (tables * kColumns)),
               Format("%.1fx faster than Jinja2, ", jinja.seconds / morva.seconds) +
                   Format("%.2fx the copy", morva.seconds / cp.seconds) +
                   (morva.ok ? "" : ", FAILED")});
    table.Add({"  Jinja2 (process)", size, Cost(jinja),
               Format("%.0f ns/column", jinja.seconds * 1e9 / (tables * kColumns)),
               jinja.ok ? (same ? "same bytes" : "OUTPUT DIFFERS") : "python3-jinja2 failed"});
    table.Add({"  cp -r of the output", size, Cost(cp),
               Format("%.0f ns/column", cp.seconds * 1e9 / (tables * kColumns)), ""});
    if (!p.baseline.empty()) {
        bool sameAsBaseline = files == FolderFiles(baselineOut);
        table.Add({"  baseline morva-cli run", size, Cost(costs[3]),
                   Format("%.0f ns/column", costs[3].seconds * 1e9 / (tables * kColumns)),
                   Format("%.2fx the time of this build", costs[3].seconds / morva.seconds) +
                       Format(" (user %.2fx)", costs[3].user / morva.user) +
                       (sameAsBaseline ? ", same bytes" : ", OUTPUT DIFFERS")});
    }
    fs::remove_all(home);
}

// `morva-cli sql` of a script of `tables` tables into a fresh database, beside `cp -r` of the
// folder it writes.
void EndToEndSql(Table& table, int tables, const EndToEndPaths& p) {
    fs::path home = p.work / "e2esql";
    fs::remove_all(home);
    fs::create_directories(home / "Database");
    std::string script = morva::bench::SqlScriptOfTables(tables);
    WriteFile(home / "tables.sql", script);
    fs::path db = home / "Database" / "SQLBENCH";
    auto sql = [&](const std::string& cli) {
        return Cli(cli, home / "Database", home,
                   {"sql", "SQLBENCH", (home / "tables.sql").string()});
    };
    std::vector<Job> jobs = {{sql(p.cli), [&] { fs::remove_all(db); }},
                             {{"cp", "-r", db.string(), (home / "copy").string()},
                              [&] { fs::remove_all(home / "copy"); }}};
    if (!p.baseline.empty())
        jobs.push_back({sql(p.baseline + "/morva-cli"),
                        [&] { fs::remove_all(db); },
                        {"LD_LIBRARY_PATH=" + p.baseline}});
    // The copy copies what the last run wrote: the baseline's run, when there is one, writes
    // the same files.
    std::vector<ChildCost> costs = Interleaved(3, jobs);
    std::string size = std::to_string(tables) + " tables, " + Size(script.size());
    table.Add({"morva-cli sql (process)", size, Cost(costs[0]),
               MBps(script.size(), costs[0].seconds),
               Format("%.2fx the copy", costs[0].seconds / costs[1].seconds) +
                   (costs[0].ok ? "" : ", FAILED")});
    table.Add({"  cp -r of the database", Size(FolderBytes(db)), Cost(costs[1]), "", ""});
    if (!p.baseline.empty())
        table.Add({"  baseline morva-cli sql", size, Cost(costs[2]),
                   MBps(script.size(), costs[2].seconds),
                   Format("%.2fx the time of this build", costs[2].seconds / costs[0].seconds) +
                       Format(" (user %.2fx)", costs[2].user / costs[0].user)});
    fs::remove_all(home);
}

// Peak memory of `morva-cli sql` of one table of `columns` columns, then of `morva-cli run` of
// the unit generator over it.
void WideTable(Table& table, int columns, const EndToEndPaths& p) {
    fs::path home = p.work / "wide";
    fs::remove_all(home);
    fs::create_directories(home / "Database");
    std::string script = morva::bench::WideTableScript(columns);
    WriteFile(home / "wide.sql", script);
    WriteFile(home / "units.tpx", morva::bench::UnitFilesScript());
    std::string size = std::to_string(columns) + " columns, " + Size(script.size());
    auto add = [&](const char* measure, const ChildCost& cost) {
        table.Add(
            {measure, size, Milliseconds(cost.seconds),
             Format("%.0f MB peak", static_cast<double>(cost.peakKB) / 1024.0),
             Format("%.0f bytes/column", static_cast<double>(cost.peakKB) * 1024.0 / columns) +
                 (cost.ok ? "" : ", FAILED")});
    };
    for (const std::string& cli : {p.cli, p.baseline}) {
        if (cli.empty()) continue;
        bool baseline = cli == p.baseline;
        std::vector<std::string> environment;
        if (baseline) environment.push_back("LD_LIBRARY_PATH=" + p.baseline);
        std::string program = baseline ? p.baseline + "/morva-cli" : cli;
        fs::remove_all(home / "Database" / "WIDE");
        fs::remove_all(home / "out");
        add(baseline ? "  baseline morva-cli sql, one table" : "morva-cli sql, one table (process)",
            RunChild(Cli(program, home / "Database", home,
                         {"sql", "WIDE", (home / "wide.sql").string()}),
                     "/dev/null", environment));
        add(baseline ? "  baseline morva-cli run, one table" : "morva-cli run, one table (process)",
            RunChild(Cli(program, home / "Database", home / "out",
                         {"run", (home / "units.tpx").string(), "--db", "WIDE"}),
                     "/dev/null", environment));
    }
    fs::remove_all(home);
}

int Show(int tables) {
    auto db = morva::bench::MakeDatabase(tables, kColumns);
    fs::path work = fs::temp_directory_path() / ("morva_bench_show." + std::to_string(getpid()));
    fs::create_directories(work);
    RunResult r = RunEngine(tables, work, 1);
    if (const char* json = std::getenv("MORVA_BENCH_JSON"))
        WriteFile(json, morva::bench::DatabaseJson(db));
    fs::remove_all(work);
    std::fwrite(r.output.data(), 1, r.output.size(), stdout);
    return r.output.empty() ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    fs::path source = fs::current_path();
    bool quick = false;
    std::string only, baseline;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--source" && i + 1 < argc) {
            source = argv[++i];
        } else if (arg == "--quick") {
            quick = true;
        } else if (arg == "--baseline" && i + 1 < argc) {
            baseline = fs::absolute(argv[++i]).string();
        } else if (arg == "--only" && i + 1 < argc) {
            only = argv[++i];
        } else if (arg == "--show" && i + 1 < argc) {
            return Show(std::atoi(argv[++i]));
        } else {
            std::fprintf(stderr,
                         "usage: morva_bench [--source DIR] [--quick] [--only WHAT] "
                         "[--baseline BIN] [--show TABLES]\n");
            return 2;
        }
    }
    source = fs::absolute(source);
    fs::path work = fs::temp_directory_path() / ("morva_bench." + std::to_string(getpid()));
    fs::create_directories(work);

    Table table;
    auto wanted = [&](const char* what) { return only.empty() || only == what; };
    for (int mb : {1, 10}) {
        if (quick && mb > 1) break;
        if (wanted("compile")) TemplateCompile(table, mb);
    }
    for (int tables : {10, 100, 1000, 10000}) {
        if (quick && tables > 100) break;
        if (wanted("run")) Run(table, tables, source, work);
    }
    if (only.rfind("engine", 0) == 0) {
        int tables = only == "engine" ? 10000 : std::atoi(only.c_str() + 6);
        if (tables <= 0) tables = 10;
        RunResult r = RunEngine(tables, work, std::max(9, 20000 / tables));
        table.Add({"run", std::to_string(tables) + " tables", Milliseconds(r.seconds),
                   MBps(static_cast<double>(r.output.size()), r.seconds), ""});
    }
    for (int mb : {1, 10}) {
        if (quick && mb > 1) break;
        if (wanted("sql")) SqlCompile(table, mb);
    }
    for (int tables : {1000, 10000}) {
        if (quick && tables > 1000) break;
        if (wanted("handover")) HandOverLarge(table, tables);
    }
    EndToEndPaths paths{morva::bench::ProgramFolder() + "/morva-cli", baseline, source, work};
    for (int tables : {10, 100, 1000, 3000, 10000}) {
        if (quick && tables > 100) break;
        if (wanted("e2e") || only == "e2e" + std::to_string(tables))
            EndToEndRun(table, tables, paths);
    }
    if (wanted("e2esql")) EndToEndSql(table, quick ? 1000 : 10000, paths);
    if (wanted("wide")) WideTable(table, quick ? 200000 : 2000000, paths);
    if (wanted("schemaread")) SchemaRead(table, quick ? 400 : 4000, quick ? 4000 : 40000);
    if (wanted("save")) TableFilesSave(table, quick ? 1000 : 10000, work);
    if (wanted("rerun")) UpToDateRerun(table, quick ? 300 : 3000, work);
    table.Print();
    fs::remove_all(work);
    return 0;
}
