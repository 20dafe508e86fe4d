#pragma once
// The script engine `Exe`: compiles a script into its program and runs the program.

#include <string>
#include <string_view>
#include <vector>

#include "engine/script/diagnostic.h"
#include "engine/script/diagnostics.h"
#include "engine/script/emitter.h"
#include "engine/script/program.h"
#include "engine/script/run.h"

namespace morva::tpx {

class CDatabase;

class Exe {
  public:
    /// Discards the compiled program with its variables, expressions and conditions.
    void Reset() { emitter_.Reset(); }
    /// Compiles the current control's script, whose text is `script` (the engine state must be
    /// prepared); `observer`, when not null, sees its tokens.
    void Compile(std::string_view script, TokenObserver* observer = nullptr);
    const Program& program() const { return emitter_.program(); }
    /// The warnings of the last compilation that name a tag, with its line and column.
    const std::vector<Diagnostic>& diagnostics() const { return emitter_.diagnostics(); }
    /// Runs the compiled program over `database`, reporting opened files and form files to
    /// `control`, with output files ending their lines in `lineEnd` and going through `files`
    /// (null: written to disk in the current folder), and returns the text written while no
    /// output file was open. Raises CFatalError or CBugError when the run fails.
    std::string Run(EngineControl& control, const CDatabase& database, LineEnd lineEnd,
                    OutputFiles* files = nullptr) const;

  private:
    CodeEmitter emitter_;
};

}  // namespace morva::tpx
