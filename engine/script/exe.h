#pragma once
// The script engine `Exe`: compiles a script into its program and runs the program.

#include <string>
#include <string_view>
#include <vector>

#include "engine/host/engine_state.h"
#include "engine/script/diagnostic.h"
#include "engine/script/emitter.h"
#include "engine/script/program.h"

namespace morva::tpx {

class CDatabase;

class Exe {
  public:
    /// Discards the compiled program with its variables, expressions and conditions.
    void Reset() { emitter_.Reset(); }
    /// Compiles the current control's script, whose text is `script` (the engine state must be
    /// prepared).
    void Compile(std::string_view script);
    const Program& program() const { return emitter_.program(); }
    /// The warnings of the last compilation that name a tag, with its line and column.
    const std::vector<Diagnostic>& diagnostics() const { return emitter_.diagnostics(); }
    /// Runs the compiled program over `database`, reporting opened files and form files to
    /// `control`, and returns the text written while no output file was open. Raises
    /// CFatalError or CBugError when the run fails.
    std::string Run(EngineControl& control, const CDatabase& database) const;
    /// Output files end their lines with a line feed only (default: carriage return and line
    /// feed).
    void SetLineFeedOnly(bool on) { lineFeedOnly_ = on; }

  private:
    CodeEmitter emitter_;
    bool lineFeedOnly_ = false;
};

}  // namespace morva::tpx
