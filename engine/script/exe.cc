#include "engine/script/exe.h"

#include <algorithm>
#include <cstdint>
#include <new>

#include "component/utf8.h"
#include "engine/script/compiler.h"
#include "engine/script/type_files.h"

namespace morva::tpx {

void Exe::Compile(std::string_view script, TokenObserver* observer) {
    // A script never compiles to more words than it has bytes (a character is one word, a tag
    // of three bytes or more at most two, <ELSEIF> four), so the word array is allocated once
    // instead of growing through copies. Without the room it still grows as needed.
    try {
        emitter_.program().code.reserve(script.size());
    } catch (const std::bad_alloc&) {
    }
    morva::tpx::Compile(emitter_, observer);
    // Only a script that uses a type tag looks for type files.
    if (emitter_.program().typeLanguagesUsed != 0 && Engine().fatalCount == 0)
        ReadTypeFiles(Engine().fileName, emitter_.program());
    // The scanner counts bytes; a column counts the characters before the tag on its line.
    for (Diagnostic& d : emitter_.diagnostics()) {
        size_t at = std::min(d.offset, script.size());
        size_t lineStart = script.substr(0, at).rfind('\n');
        lineStart = lineStart == std::string_view::npos ? 0 : lineStart + 1;
        size_t before = com::CountCodePoints(script.substr(lineStart, at - lineStart));
        d.column = static_cast<int32_t>(std::min<size_t>(before + 1, INT32_MAX));
    }
}

}  // namespace morva::tpx

namespace morva::tpx {

std::string Exe::Run(EngineControl& control, const CDatabase& database, LineEnd lineEnd,
                     OutputFiles* files) const {
    Runner runner(emitter_.program(), control, database, lineEnd, files);
    return runner.Run();
}

}  // namespace morva::tpx
