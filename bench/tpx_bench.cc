// Template engine benchmarks: compiling and linting a 1 MB script, filling the store through
// IMorva, and running a realistic script over 10 to 10,000 tables of 20 columns. The run should
// grow linearly with the number of columns.

#include <benchmark/benchmark.h>

#include <string>

#include "engine/host/cmorva.h"
#include "engine/script/lint.h"

namespace {

using morva::tpx::IMorva;

const char kUnit[] =
    "<TABLES>\n"
    "unit u<T>;\n"
    "type\n"
    "  T<T>Record = record\n"
    "<COLUMNS>\n"
    "    <LEFT><C><NORMAL>: <LEFT><DASDELPHI><NORMAL>; { <L><IF> <ISKEY> == 1 <THEN>, key</IF> }\n"
    "</COLUMNS>\n"
    "  end;\n"
    "const\n"
    "  <T>Keys = '<COLUMNS><IF> <ISKEY> == 1 <THEN><C><ELC>;</ELC></IF></COLUMNS>';\n"
    "<REFTABLES>  { <REFT>: <REFCOLUMNS><FOREIGNKEY> = <REFC><ELRC>, </ELRC></REFCOLUMNS> }\n"
    "</REFTABLES>\n"
    "<COLUMNS><IF> <ISLOOKUPBYITEMS> > 0 <THEN>"
    "  <C>Items = (<LOOKUPITEMS>'<LOOKUPITEM>'<ELLI>, </ELLI></LOOKUPITEMS>);\n</IF></COLUMNS>\n"
    "<EXPR> <$n> += <COUNT>; </EXPR>"
    "</TABLES>\n";

std::string Script() {
    return std::string("<TEXT><VAR> n </VAR>\n") + kUnit + "<$n>\n</TEXT>\n";
}

void FillStore(IMorva& m, int tables, int columns) {
    m.CreateDatabase(std::string("Bench"), tables);
    for (int t = 0; t < tables; ++t) {
        std::string table = "TABLE_" + std::to_string(t);
        m.AddTable(table, std::string("Normal"), "Table " + std::to_string(t), columns, 1);
        for (int c = 0; c < columns; ++c) {
            std::string column = "COLUMN_" + std::to_string(c);
            m.AddColumnIntoTable(table, std::string(c == 0 ? "Key" : "Normal"), column,
                                 "Column " + std::to_string(c), std::string("VARCHAR"), 10 + c,
                                 (10 + c) * 4 + (c == 0 ? 1 : 0), 0, 0);
        }
        if (t > 0) {
            std::string previous = "TABLE_" + std::to_string(t - 1);
            m.CreateRefTable(table, previous, 1);
            m.AddRefColumn(table, previous, std::string("COLUMN_0"), std::string("COLUMN_1"));
        }
        m.SetLookupItem(table, std::string("COLUMN_2"), std::string("One"));
        m.SetLookupItem(table, std::string("COLUMN_2"), std::string("Two"));
    }
    m.InitDatabase();
}

void BM_Compile1MB(benchmark::State& state) {
    std::string script = "<TEXT><VAR> n </VAR>\n";
    while (script.size() < (1u << 20)) script += kUnit;
    script += "</TEXT>\n";
    auto m = morva::tpx::NewMorva();
    for (auto _ : state) {
        m->Clear();
        m->SetScript(std::string("bench.tpx"), script);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(script.size()));
}
BENCHMARK(BM_Compile1MB)->Unit(benchmark::kMillisecond);

// The editor lints after each pause in typing: a 1 MB script must take well under 100 ms.
void BM_Lint1MB(benchmark::State& state) {
    std::string script = "<TEXT><VAR> n </VAR>\n";
    while (script.size() < (1u << 20)) script += kUnit;
    script += "</TEXT>\n";
    for (auto _ : state) benchmark::DoNotOptimize(morva::tpx::LintScript(script));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(script.size()));
}
BENCHMARK(BM_Lint1MB)->Unit(benchmark::kMillisecond);

void BM_FillStore(benchmark::State& state) {
    auto m = morva::tpx::NewMorva();
    for (auto _ : state) FillStore(*m, static_cast<int>(state.range(0)), 50);
    state.SetComplexityN(state.range(0) * 50);
}
BENCHMARK(BM_FillStore)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void BM_Run(benchmark::State& state) {
    auto m = morva::tpx::NewMorva();
    FillStore(*m, static_cast<int>(state.range(0)), 20);
    m->SetScript(std::string("bench.tpx"), Script());
    for (auto _ : state) {
        m->Clear();
        m->RunScript();
    }
    state.SetComplexityN(state.range(0) * 20);
}
BENCHMARK(BM_Run)
    ->Arg(10)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(2500)
    ->Arg(5000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
