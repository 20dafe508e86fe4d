// libFuzzer target: any bytes linted as a template script. Every finding names a check and
// points inside the script, and the lint leaves the engine's state as it found it.

#include <string>

#include "engine/script/diagnostics.h"
#include "engine/script/lint.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace morva;
    std::string_view text = fuzz::AsText(data, size);
    tpx::Engine().fileName = "host.tpx";
    for (const tpx::LintFinding& f : tpx::LintScript(text)) {
        fuzz::Require(tpx::IsLintCheck(f.check) && !f.message.empty());
        fuzz::Require(f.line >= 1 && f.column >= 1);
        fuzz::Require(f.offset <= text.size() && f.length <= text.size() - f.offset);
    }
    fuzz::Require(tpx::Engine().fileName == "host.tpx");
    return 0;
}
