#pragma once
// Compile-time message reporters. Each writes one log line naming the current file and line
// and counts it in the engine state.

#include <cstdint>

namespace morva::tpx {

/// Syntax error `code` (0 to 40), with an optional quoted argument. Counts an error.
void yySyntax(int32_t code, const char* text = nullptr);
/// Warning `code` (0 or 1), with an optional quoted argument. Counts a warning.
void yyWarning(int32_t code, const char* text = nullptr);
/// Fatal error `code` (0 to 2). Counts a fatal error; the compilation stops.
void yyFatal(int32_t code);
/// The parser's own error call: a full stack is the fatal stack overflow, anything else a
/// plain "syntax error".
void yyParserError(const char* message);
/// A fatal error with a text of its own (an internal scanner failure).
void yyFatalText(const char* text);

/// Fatal error codes.
enum FatalCode : int32_t { kFatalMemory = 0, kFatalStackOverflow = 1, kFatalIfStack = 2 };

}  // namespace morva::tpx
