// Scripts made of random pieces of the language compile and, when they compile cleanly, run
// without crashing: every problem ends as a log line.

#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <random>

#include "engine/host/cmorva.h"
#include "engine/script/tags.h"

namespace morva::tpx {
namespace {

namespace fs = std::filesystem;

const char* const kPieces[] = {
    " ",    "\n",      "\r\n",    "x",        "12",  "a1",   "==",   "!=",
    "<",    ">",       "<=",      ">=",       "&&",  "||",   "(",    ")",
    "+",    "-",       "*",       "/",        "%",   "=",    ";",    ",",
    "++",   "--",      "+=",      "%=",       "\\<", "<$v>", "<$w>", "<COMMENT> c\n",
    "<IN>", "<NOTIN>", "<Bogus>", "\xC3\xA9", "0",
};

std::string RandomScript(std::mt19937& rng) {
    auto tags = TagTable();
    std::uniform_int_distribution<size_t> length(1, 60);
    std::uniform_int_distribution<size_t> pick(0, tags.size() + std::size(kPieces) - 1);
    std::string s = "<TEXT><VAR> v, w </VAR>";
    for (size_t n = length(rng); n > 0; --n) {
        size_t i = pick(rng);
        s += i < tags.size() ? std::string(tags[i].spelling) : kPieces[i - tags.size()];
        if (i < tags.size() && tags[i].code == tag::CREATE) s += "f.txt";
    }
    if (rng() % 2) s += "</TEXT>";
    return s;
}

TEST(RobustnessTest, RandomScriptsCompileAndRunWithoutCrashing) {
    fs::path work = fs::temp_directory_path() / ("tpx_random_" + std::to_string(getpid()));
    fs::create_directories(work);
    fs::path home = fs::current_path();
    fs::current_path(work);

    auto m = NewMorva();
    m->CreateDatabase(std::string("D"), 0);
    m->AddTable(std::string("T"), std::nullopt, std::nullopt, 0, 0);
    m->AddTable(std::string("U"), std::nullopt, std::nullopt, 0, 0);
    for (const char* c : {"A", "B"}) {
        m->AddColumnIntoTable(std::string("T"), std::nullopt, std::string(c), std::nullopt,
                              std::string("INTEGER"), 4, 1, 0, 0);
        m->AddColumnIntoTable(std::string("U"), std::nullopt, std::string(c), std::nullopt,
                              std::string("NUMERIC"), 4, 0, 0, 2);
    }
    m->CreateRefTable(std::string("U"), std::string("T"), 0);
    m->AddRefColumn(std::string("U"), std::string("T"), std::string("A"), std::string("B"));
    m->SetLookupItem(std::string("T"), std::string("A"), std::string("x"));
    m->InitDatabase();

    std::mt19937 rng(20261207);
    int compiled = 0;
    for (int i = 0; i < 3000; ++i) {
        m->Clear();
        m->SetScript(std::string("r.tpx"), RandomScript(rng));
        if (AsCMorva(m.get())->compiled()) {
            ++compiled;
            m->RunScript();
        }
    }
    fs::current_path(home);
    fs::remove_all(work);
    EXPECT_GT(compiled, 10);
}

}  // namespace
}  // namespace morva::tpx
