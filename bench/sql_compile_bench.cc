// Compile throughput of the SQL schema compiler over generated creation scripts: tables with
// runs of inserts between them, as real database dumps have. The cost should grow linearly.

#include <benchmark/benchmark.h>

#include <string>

#include "sqlcompiler/compilation.h"

namespace {

// About `megabytes` MB of script: tables of eight columns, each followed by twenty inserts.
std::string MakeScript(int megabytes) {
    std::string s;
    size_t target = static_cast<size_t>(megabytes) << 20;
    for (int t = 0; s.size() < target; ++t) {
        std::string name = "TABLE_" + std::to_string(t);
        s += "CREATE TABLE " + name + " ( /* Table " + std::to_string(t) + " */\n";
        s += "  ID INTEGER NOT NULL PRIMARY KEY,\n  NAME VARCHAR(40), /* Name */\n";
        s += "  PRICE NUMERIC(15,2) DEFAULT 0 CHECK (PRICE >= 0),\n  CREATED TIMESTAMP,\n";
        s += "  STATUS CHAR(1), /* Status\n    A=Active\n    I=Inactive */\n";
        s += "  NOTES BLOB SUB_TYPE TEXT SEGMENT SIZE 80,\n  PARENT_ID INTEGER,\n";
        s += "  TOTAL COMPUTED BY (PRICE * 2),\n";
        if (t > 0)
            s += "  FOREIGN KEY (PARENT_ID) REFERENCES TABLE_" + std::to_string(t - 1) + " (ID),\n";
        s += "  UNIQUE (NAME)\n);\n";
        for (int i = 0; i < 20; ++i)
            s += "INSERT INTO " + name + " (ID, NAME, PRICE) VALUES (" + std::to_string(i) +
                 ", 'Item number " + std::to_string(i) + "', 12.50);\n";
        s += "CREATE INDEX IX_" + name + " ON " + name + " (CREATED);\nCOMMIT;\n";
    }
    return s;
}

void BM_CompileScript(benchmark::State& state) {
    std::string script = MakeScript(static_cast<int>(state.range(0)));
    morva::sql::Compilation c;
    for (auto _ : state) {
        c.ResetCompilation("bench.sql");
        c.ParseText(script);
        if (c.errors() != 0) state.SkipWithError("the generated script has errors");
        benchmark::DoNotOptimize(c.model().tables.size());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(script.size()));
    state.counters["tables"] = static_cast<double>(c.model().tables.size());
    state.SetComplexityN(static_cast<int64_t>(script.size()));
}
BENCHMARK(BM_CompileScript)
    ->Arg(1)
    ->Arg(10)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
