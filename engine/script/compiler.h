#pragma once
// Compiling: the scanner and the parser run over the current control's script text and fill
// the emitter's program. Messages go to the log and are counted in the engine state.

namespace morva::tpx {

class CodeEmitter;
class TokenObserver;

/// Compiles the current control's script into `emitter`, which must have been reset. The
/// engine state must have been prepared (EngineState::StartCompilation). `observer`, when not
/// null, sees every token the parser is handed and every comment line.
void Compile(CodeEmitter& emitter, TokenObserver* observer = nullptr);

}  // namespace morva::tpx
