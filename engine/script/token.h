#pragma once
// The value of a token handed from the scanner to the parser, and the scanner's context.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace morva::tpx {

class CodeEmitter;
struct EngineState;

/// Where a token starts in the script: its line (from 1) and its byte offset.
struct SourcePlace {
    int32_t line = 0;
    size_t offset = 0;
};

/// A token's value. The parser's stack copies it as plain bytes, so the text of a TEXT or RUN
/// token lives in the scanner's text arena and the value only locates it.
struct TokenValue {
    int32_t number = 0;  // CHAR character, NUMBER value or SYMBOL index
    uint32_t offset = 0;
    uint32_t length = 0;
    SourcePlace place;  // of a tag
};

/// Watches the tokens of a compilation without changing them: what the scanner hands to the
/// parser, with where each starts in the script, and the comment lines it skips. Texts are
/// views into the script being compiled.
class TokenObserver {
  public:
    /// Token `code` with `value`, spelled `text` at byte `offset`; `scannerState` holds the
    /// scanner flags after the token.
    virtual void Token(int code, const TokenValue& value, std::string_view text, size_t offset,
                       int32_t scannerState) = 0;
    /// A comment line `text` (from "<COMMENT>" up to its line feed) at byte `offset`.
    virtual void Comment(std::string_view text, size_t offset) = 0;

  protected:
    ~TokenObserver() = default;
};

/// What the scanner needs: the engine state, the variable table (through the emitter) and the
/// arena that keeps the text of the last TEXT or RUN token. One token's text is enough: the
/// parser reduces such a token right after shifting it, before it asks for the next one (in
/// every state that shifts them the only action is a default reduction).
struct ScanContext {
    EngineState* engine = nullptr;
    CodeEmitter* emitter = nullptr;
    std::string arena;
    /// Bytes of the script the scanner has matched so far, and where its last match starts.
    size_t consumed = 0;
    size_t matchStart = 0;
    /// Sees every token and comment, or null.
    TokenObserver* observer = nullptr;
    /// The scanner, and whether it has handed over a token yet.
    void* scanner = nullptr;
    bool scanned = false;
    /// Whether the parser takes a run of plain body text as one token. Only while the emitter
    /// is in plain mode, where each word and character of text becomes its characters
    /// (elsewhere a word is an operand or an error of its own; the actions that change the
    /// mode all run before the parser asks for its next token), and only while the parser is
    /// not recovering from a syntax error (it reports the next error only after three more
    /// tokens, so the text must come in the same tokens as always).
    bool bodyTextRuns = false;

    TokenValue Keep(const char* text, size_t length) {
        TokenValue v;
        v.offset = static_cast<uint32_t>(arena.size());
        v.length = static_cast<uint32_t>(length);
        arena.append(text, length);
        return v;
    }
    std::string_view TextOf(const TokenValue& v) const {
        return std::string_view(arena).substr(v.offset, v.length);
    }
};

/// An internal failure of the generated scanner; the compilation reports it as a fatal error.
struct ScannerFailure {
    const char* message;
};

}  // namespace morva::tpx
