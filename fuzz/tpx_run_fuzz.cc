// libFuzzer target: any bytes compiled as a template script and, when it compiles, run over a
// small fixed store. Output files go into a private temporary folder that is emptied after
// every run.

#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <string>

#include "engine/host/cmorva.h"
#include "fuzz/fuzz_support.h"

namespace {

namespace fs = std::filesystem;
using morva::tpx::IMorva;

// Two tables with a reference, a key, a computed column and lookups of both kinds.
void FillStore(IMorva& m) {
    m.CreateDatabase(std::string("Shop"), 2);
    m.AddTable(std::string("CUSTOMER"), std::string("Master"), std::string("Customers"), 3, 0);
    m.AddTable(std::string("ORDERS"), std::string("Sub"), std::nullopt, 3, 1);
    m.AddColumnIntoTable(std::string("CUSTOMER"), std::string("Key"), std::string("ID"),
                         std::string("Id"), std::string("INTEGER"), 4, 4 * 6 + 1, 0, 0);
    m.AddColumnIntoTable(std::string("CUSTOMER"), std::string("Normal"), std::string("NAME"),
                         std::nullopt, std::string("VARCHAR"), 40, 4 * 20, 0, 0);
    m.AddColumnIntoTable(std::string("CUSTOMER"), std::string("Normal"), std::string("KIND"),
                         std::string("Kind"), std::string("CHAR"), 1, 4 * 1, 0, 0);
    m.AddColumnIntoTable(std::string("ORDERS"), std::string("Key"), std::string("NO"), std::nullopt,
                         std::string("INTEGER"), 4, 4 * 8 + 1, 0, 0);
    m.AddColumnIntoTable(std::string("ORDERS"), std::string("RefTop"), std::string("CUST"),
                         std::string("Customer"), std::string("INTEGER"), 4, 4 * 8, 0, 0);
    m.AddColumnIntoTable(std::string("ORDERS"), std::string("Normal"), std::string("TOTAL"),
                         std::nullopt, std::string("NUMERIC"), 15, 4 * 12 + 2, 15, 2);
    m.CreateRefTable(std::string("ORDERS"), std::string("CUSTOMER"), 1);
    m.AddRefColumn(std::string("ORDERS"), std::string("CUSTOMER"), std::string("ID"),
                   std::string("CUST"));
    m.SetLookupItem(std::string("CUSTOMER"), std::string("KIND"), std::string("Private"));
    m.SetLookupItem(std::string("CUSTOMER"), std::string("KIND"), std::string("Business"));
    m.SetLookupTable(std::string("ORDERS"), std::string("CUST"), std::string("CUSTOMER"),
                     std::string("NAME"), std::string("ID"));
    m.InitDatabase();
    m.SetSchema(std::string("Orders"), std::string("Forms"), std::string("Order forms"));
}

bool StartsWithTag(std::string_view text, size_t at, std::string_view tag) {
    if (text.size() - at < tag.size()) return false;
    for (size_t i = 0; i < tag.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(text[at + i])) != tag[i]) return false;
    return true;
}

// Output file names are the text between <CREATE> and </CREATE>. The store's texts hold no
// slash, so a name can only leave the folder through a literal slash there: such inputs are
// not run. A slash that opens a closing tag emits nothing and is allowed.
bool NamesStayInFolder(std::string_view script) {
    bool inName = false;
    for (size_t i = 0; i < script.size(); ++i) {
        if (StartsWithTag(script, i, "<CREATE>")) inName = true;
        if (StartsWithTag(script, i, "</CREATE>")) inName = false;
        if (!inName || script[i] != '/') continue;
        if (i == 0 || script[i - 1] != '<' || (i >= 2 && script[i - 2] == '\\')) return false;
        size_t j = i + 1;
        while (j < script.size() &&
               (std::isalnum(static_cast<unsigned char>(script[j])) || script[j] == '_'))
            ++j;
        if (j == i + 1 || j >= script.size() || script[j] != '>') return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static fs::path work = fs::temp_directory_path() / ("tpx_run_fuzz." + std::to_string(getpid()));
    fs::create_directories(work);
    fs::current_path(work);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace morva;
    std::string_view script = fuzz::AsText(data, size);
    if (!NamesStayInFolder(script)) return -1;
    static com::ComPtr<IMorva> morva = [] {
        com::ComPtr<IMorva> m = tpx::NewMorva();
        FillStore(*m);
        return m;
    }();
    morva->Clear();
    morva->SetScript(std::string("fuzz.tpx"), std::string(script));
    if (tpx::AsCMorva(morva.get())->compiled()) morva->RunScript();
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(fs::current_path(), ignored))
        fs::remove_all(entry.path(), ignored);
    return 0;
}
