// Compile throughput of the SQL schema compiler over generated creation scripts: tables with
// runs of inserts between them, as real database dumps have. The cost should grow linearly.

#include <benchmark/benchmark.h>

#include <string>

#include "bench/sql_script.h"
#include "sqlcompiler/compilation.h"
#include "sqlcompiler/testing/parse_script_text.h"

namespace {

// The classic reader, or the tolerant reader of the common dialects on the same script.
void CompileScript(benchmark::State& state, morva::sql::Dialect dialect) {
    std::string script = morva::bench::SqlScript(static_cast<int>(state.range(0)));
    morva::sql::Compilation c;
    c.dialect = dialect;
    for (auto _ : state) {
        c.ResetCompilation("bench.sql");
        morva::sql::testing::ParseScriptText(c, script);
        if (c.errors() != 0) state.SkipWithError("the generated script has errors");
        benchmark::DoNotOptimize(c.model().tables.size());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(script.size()));
    state.counters["tables"] = static_cast<double>(c.model().tables.size());
    state.SetComplexityN(static_cast<int64_t>(script.size()));
}

void BM_CompileScript(benchmark::State& state) {
    CompileScript(state, morva::sql::Dialect::kClassic);
}
BENCHMARK(BM_CompileScript)
    ->Arg(1)
    ->Arg(10)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void BM_CompileScriptAuto(benchmark::State& state) {
    CompileScript(state, morva::sql::Dialect::kAuto);
}
BENCHMARK(BM_CompileScriptAuto)
    ->Arg(1)
    ->Arg(10)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
