// libFuzzer target: any bytes compiled as a template script. Every problem must end as a log
// line; a script that compiles has a canonical dump.

#include <string>

#include "engine/host/cmorva.h"
#include "engine/script/exe.h"
#include "engine/script/program_dump.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace morva;
    static com::ComPtr<tpx::IMorva> morva = tpx::NewMorva();
    morva->Clear();
    morva->SetScript(std::string("fuzz.tpx"), std::string(fuzz::AsText(data, size)));
    tpx::CMorva* control = tpx::AsCMorva(morva.get());
    if (control->compiled()) fuzz::Require(!tpx::DumpProgram(control->exe()->program()).empty());
    return 0;
}
