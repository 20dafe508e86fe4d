#include "engine/script/exe.h"

#include "engine/script/compiler.h"
#include "engine/script/run.h"

namespace morva::tpx {

void Exe::Compile() {
    morva::tpx::Compile(emitter_);
}

}  // namespace morva::tpx

namespace morva::tpx {

std::string Exe::Run(EngineControl& control, const CDatabase& database) {
    Runner runner(emitter_.program(), control, database,
                  lineFeedOnly_ ? LineEnd::LineFeed : LineEnd::CarriageReturnLineFeed);
    return runner.Run();
}

}  // namespace morva::tpx
