#pragma once
// The script engine `Exe`: compiles a script into its program and runs the program.

#include "engine/script/emitter.h"
#include "engine/script/program.h"

namespace morva::tpx {

class Exe {
  public:
    /// Discards the compiled program with its variables, expressions and conditions.
    void Reset() { emitter_.Reset(); }
    /// Compiles the current control's script (the engine state must be prepared).
    void Compile();
    const Program& program() const { return emitter_.program(); }

  private:
    CodeEmitter emitter_;
};

}  // namespace morva::tpx
