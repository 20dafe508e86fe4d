#include "engine/script/exe.h"

#include <new>

#include "engine/script/compiler.h"
#include "engine/script/run.h"

namespace morva::tpx {

void Exe::Compile(size_t scriptSize) {
    // A script never compiles to more words than it has bytes (a character is one word, a tag
    // of three bytes or more at most two, <ELSEIF> four), so the word array is allocated once
    // instead of growing through copies. Without the room it still grows as needed.
    try {
        emitter_.program().code.reserve(scriptSize);
    } catch (const std::bad_alloc&) {
    }
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
