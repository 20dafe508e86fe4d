#pragma once
// Compiling: the scanner and the parser run over the current control's script text and fill
// the emitter's program. Messages go to the log and are counted in the engine state.

namespace morva::tpx {

class CodeEmitter;

/// Compiles the current control's script into `emitter`, which must have been reset. The
/// engine state must have been prepared (EngineState::StartCompilation).
void Compile(CodeEmitter& emitter);

}  // namespace morva::tpx
